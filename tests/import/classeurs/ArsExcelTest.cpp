#include "ClasseursTest.h"

#include "import/ApercuImport.h"
#include "import/classeurs/LectureClasseur.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

using namespace vyk;

namespace {

class ArsExcelTest : public test::BaseClasseurs
{
  protected:
    QString classeurArs(const QString &ext, const QString &feuille = "Feuil1")
    {
        const QString chemin = this->chemin(QStringLiteral("ars.") + ext);
        EXPECT_TRUE(
            test::ecrireClasseur(chemin, {{"Notice", {{"Extraction du 01/06/2021"}}},
                                          {feuille,
                                           {{"Code_Station", "Date_Prelvt", "code_param",
                                             "Résultat", "Code_unite", "Colonne du laboratoire"},
                                            {"BSS001", QDate(2021, 5, 3), "1340", 12.5, "162", "x"},
                                            {},
                                            {"BSS001", QDate(2021, 5, 3), "1301", "7,2", "27", ""},
                                            {"BSS002", "04/05/2021", "1340", 1, "162", "y"}}}}));
        return chemin;
    }
    QStringList analyses()
    {
        QStringList r;
        for (const char *t : {"ANALYSES_BSS001", "ANALYSES_BSS002"})
            r += lignes(QStringLiteral("SELECT NumPrelevement, NumAnalyse, CodeParametre, "
                                       "CodeUnite, Resultat FROM ") +
                        t + QStringLiteral(" ORDER BY 1, 2"));
        return r;
    }
};

// Columns by name (case and accents aside), the unknown one left aside and counted, empty rows
// passed over; a second run in add mode leaves the same rows, replace mode the same counts.
TEST_P(ArsExcelTest, DeuxFoisLesMemesLignesSurLesDeuxFormats)
{
    for (const QString &ext : extensions()) {
        SCOPED_TRACE(ext.toStdString());
        ASSERT_TRUE(executer("DELETE FROM QUALITOMETRES"));
        const QString chemin = classeurArs(ext);
        const ResultatImport r = importerModele("ARS Excel", chemin);
        ASSERT_TRUE(r.statut()) << qPrintable(r.messages().join('\n'));
        const QStringList attendu = {"0|0|1340|162|12.5", "0|1|1301|27|7.2", "1|0|1340|162|1"};
        EXPECT_EQ(analyses(), attendu);
        EXPECT_EQ(r.fichiers.at(0).remarques, "Éléments non repris : Colonne du laboratoire (2).");
        const QStringList avant = etatStable({"ANALYSES_BSS001", "ANALYSES_BSS002"});
        ASSERT_TRUE(importerModele("ARS Excel", chemin).statut());
        EXPECT_EQ(etatStable({"ANALYSES_BSS001", "ANALYSES_BSS002"}), avant);
        const ResultatImport remplace = importerModele("ARS Excel", chemin, true);
        ASSERT_TRUE(remplace.statut()) << qPrintable(remplace.messages().join('\n'));
        EXPECT_EQ(remplace.total().analysesAjoutees, 3);
        EXPECT_EQ(analyses().size(), 3);
        executer("DROP TABLE ANALYSES_BSS001");
        executer("DROP TABLE ANALYSES_BSS002");
        executer("DELETE FROM PRELEVEMENTS");
        executer("DELETE FROM QUALITOMETRES_POINTS_OPERATIONS");
        executer("DELETE FROM QUALITOMETRES_POINTS");
    }
}

// Without "Feuil1" nothing is written and the message names the file; the user's choice of a
// sheet is read instead when the screen asks.
TEST_P(ArsExcelTest, FeuilleAbsenteOuChoisie)
{
    const QString chemin = classeurArs("xlsx", "Résultats d'été");
    const QStringList avant = etatStable();
    const ResultatImport r = importerModele("ARS Excel", chemin);
    ASSERT_EQ(r.fichiers.size(), 1);
    EXPECT_EQ(r.fichiers.at(0).erreur, "Impossible de trouver le classeur de données " + chemin);
    EXPECT_EQ(etatStable(), avant);

    QStringList proposees;
    ReponsesIntegration reponses;
    reponses.choisirFeuille = [&](const QStringList &feuilles) {
        proposees = feuilles;
        return QStringLiteral("Résultats d'été");
    };
    const ResultatImport choisi = importerModele("ARS Excel", chemin, false, reponses);
    EXPECT_TRUE(choisi.statut()) << qPrintable(choisi.messages().join('\n'));
    EXPECT_EQ(proposees, QStringList({"Notice", "Résultats d'été"}));
    EXPECT_EQ(analyses().size(), 3);
}

// A file that is no workbook: the one message, nothing written; the preview says the same.
TEST_P(ArsExcelTest, ClasseurCorrompu)
{
    const QString chemin = this->chemin("abime.xlsx");
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("PK\x03\x04 pas un classeur");
    f.close();
    const QStringList avant = etatStable();
    const ResultatImport r = importerModele("ARS Excel", chemin);
    ASSERT_EQ(r.fichiers.size(), 1);
    EXPECT_EQ(r.fichiers.at(0).erreur, "Impossible d'ouvrir le fichier Excel.");
    EXPECT_EQ(etatStable(), avant);
    EXPECT_EQ(apercuImport("ARS Excel", chemin, false, progressionNulle()).erreur,
              "Impossible d'ouvrir le fichier Excel.");
}

// The preview shows the 42 columns of the import table and one row per analysis.
TEST_P(ArsExcelTest, Apercu)
{
    const ApercuImport a = apercuImport("ARS Excel", classeurArs("ods"), false, progressionNulle());
    EXPECT_EQ(a.erreur, QString());
    EXPECT_EQ(a.colonnes, nomsColonnesImport());
    ASSERT_EQ(a.lignes.size(), 3);
    EXPECT_EQ(a.lignes.at(1).mid(0, 9),
              QStringList({"BSS001", "", "03/05/2021", "", "", "", "1301", "7,2", "27"}));
}

// A real .xls (the same workbook saved by LibreOffice, when it is installed) reads to the same
// analyses.
TEST_P(ArsExcelTest, ClasseurXls)
{
    QString soffice = QStandardPaths::findExecutable("soffice");
    if (soffice.isEmpty()) soffice = QStandardPaths::findExecutable("libreoffice");
    if (soffice.isEmpty()) GTEST_SKIP() << "LibreOffice absent: pas de fichier .xls à produire";
    const QString xlsx = classeurArs("xlsx");
    QProcess p;
    p.start(soffice,
            {"--headless", "--convert-to", "xls", "--outdir", QFileInfo(xlsx).path(), xlsx});
    ASSERT_TRUE(p.waitForFinished(120000));
    const QString xls = QFileInfo(xlsx).path() + "/ars.xls";
    ASSERT_TRUE(QFileInfo::exists(xls));
    const ResultatImport r = importerModele("ARS Excel", xls);
    ASSERT_TRUE(r.statut()) << qPrintable(r.messages().join('\n'));
    EXPECT_EQ(analyses(), QStringList({"0|0|1340|162|12.5", "0|1|1301|27|7.2", "1|0|1340|162|1"}));
}

VYK_SUR_LES_DEUX_MOTEURS(ArsExcelTest);

} // namespace
