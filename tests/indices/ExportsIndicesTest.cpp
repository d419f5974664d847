#include "indices/ExportsIndices.h"
#include "app/Registre.h"
#include "app/Reglages.h"
#include "monitoring/ListeTaxonsOperation.h"
#include "schema/TableAnalyses.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

#include <QDir>
#include <QTemporaryDir>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

// Station 01234567 (code 1): diatoms at point 101 (operation 30, 12/05/2023 09:15), macrophytes
// at point 271 (operation 40, 14/06/2023), macroinvertebrates at point 131 (operations 10 and
// 11).
class ExportsIndicesTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesQualite();
        test::creerTablesCatalogue({"TAXONS", "QUALITOMETRES_OPERATIONS_UNITES"});
        ASSERT_TRUE(creerTableListeTaxons(1));
        for (const char *sql : {
                 "INSERT INTO QUALITOMETRES (codeQualitometre, codeBSS, typeStation) VALUES "
                 "(1, '01234567', '1')",
                 "INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, identifiant) "
                 "VALUES (1, 1, '131')",
                 "INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, identifiant) "
                 "VALUES (1, 2, '101')",
                 "INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, identifiant) "
                 "VALUES (1, 3, '271')",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "codePoint, dateDebut) VALUES (1, 30, 2, #05/12/2023 09:15:00#)",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "codePoint, dateDebut) VALUES (1, 40, 3, #06/14/2023#)",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "codePoint, dateDebut) VALUES (1, 10, 1, #05/12/2023#)",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "codePoint, dateDebut) VALUES (1, 11, 1, #07/02/2023#)",
                 // Diatoms: 7001 and 7003 have a diatom code, 7002 none.
                 "INSERT INTO TAXONS (codeTaxon, nomLatin, codeOmnidia) VALUES ('7001', 'A', "
                 "'ADMI')",
                 "INSERT INTO TAXONS (codeTaxon, nomLatin) VALUES ('7002', 'B')",
                 "INSERT INTO TAXONS (codeTaxon, nomLatin, codeOmnidia) VALUES ('7003', 'C', "
                 "'NPAL')",
                 "INSERT INTO TAXONS (codeTaxon, nomLatin, codeMacrophyte) VALUES ('1100', "
                 "'Ranunculus', 'RANFLU')",
                 "INSERT INTO TAXONS (codeTaxon, nomLatin, codeMacrophyte) VALUES ('1200', "
                 "'Lemna', 'LEMMIN')",
                 "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, codeTaxon, "
                 "denombrementA) VALUES (30, 0, '7001', 120)",
                 "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, codeTaxon, "
                 "denombrementA) VALUES (30, 0, '7002', 40)",
                 "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, codeTaxon, "
                 "denombrementA) VALUES (30, 0, '7003', 12.5)",
                 // Lemna is only covered in the second unit.
                 "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, codeTaxon, "
                 "pourcentageA, pourcentageB) VALUES (40, 0, '1100', 2.5, 1)",
                 "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, codeTaxon, "
                 "pourcentageB) VALUES (40, 0, '1200', 0.1)",
                 "INSERT INTO QUALITOMETRES_OPERATIONS_UNITES (CodeQualitometre, codeOperation, "
                 "unite, groupe, sousGroupe, resultat) VALUES (1, 40, 1, 0, 0, 60)",
                 "INSERT INTO QUALITOMETRES_OPERATIONS_UNITES (CodeQualitometre, codeOperation, "
                 "unite, groupe, sousGroupe, resultat) VALUES (1, 40, 2, 0, 0, 40)",
                 // Another characteristic of the unit is no facies share.
                 "INSERT INTO QUALITOMETRES_OPERATIONS_UNITES (CodeQualitometre, codeOperation, "
                 "unite, groupe, sousGroupe, resultat) VALUES (1, 40, 1, 1, 0, 3)",
                 // Faunal lists: micro-samples only in operation 10, a phase total in 11.
                 "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, codeTaxon, "
                 "denombrementP1, denombrementP5, denombrementP9) VALUES (10, 1, '363', 2, 3, 4)",
                 "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, codeTaxon, "
                 "denombrementA) VALUES (10, 1, 'ND', 9)",
                 "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, codeTaxon, "
                 "denombrementB) VALUES (11, 1, '892', 7)",
             })
            ASSERT_TRUE(executer(QString::fromLatin1(sql)))
                << sql << qPrintable(bd().derniereErreur());
    }

    // The frame of `indice` for the station, with its errors.
    QByteArray trame(const DescriptionIndice &indice, QStringList *erreurs = nullptr,
                     const QString &operation = {})
    {
        const auto e = creerExport(indice);
        e->codeBSS = QStringLiteral("01234567");
        EXPECT_TRUE(e->configuration(dossier.path())) << qPrintable(e->getTabErreur());
        FiltresExport f;
        f.operation = operation;
        e->demarreExport(f);
        EXPECT_FALSE(e->ecritTrameDebut());
        const bool echec = e->ecritTrameListe(progressionNulle());
        e->ecritTrameFin();
        if (erreurs)
            *erreurs = e->getTabErreurAsTab();
        else
            EXPECT_FALSE(echec) << qPrintable(e->getTabErreur());
        QFile fichier(e->cheminTrame());
        return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray("<absent>");
    }

    QTemporaryDir dossier;
};

TEST_P(ExportsIndicesTest, TrameIBDSansLesDiatomeesSansCode)
{
    EXPECT_EQ(trame(indiceIBD()), QByteArray("CODE_OPERATION\tCODE_STATION\tDATE\tCODE_TAXON\t"
                                             "RESULTAT\r\n"
                                             "01234567*2023-05-12*I\t01234567\t2023-05-12\tADMI\t"
                                             "120\r\n"
                                             "01234567*2023-05-12*I\t01234567\t2023-05-12\tNPAL\t"
                                             "12.5\r\n"));
}

TEST_P(ExportsIndicesTest, TrameIBMRParUniteAvecLesPartsDeFacies)
{
    EXPECT_EQ(trame(indiceIBMR()),
              QByteArray("CODE_OPERATION\tCODE_STATION\tDATE\tCODE_TAXON\tUR\tPOURCENTAGE_FACIES\t"
                         "RESULTAT\r\n"
                         "01234567*2023-06-14*I\t01234567\t2023-06-14\tRANFLU\tF1\t60\t2.5\r\n"
                         "01234567*2023-06-14*I\t01234567\t2023-06-14\tRANFLU\tF2\t40\t1\r\n"
                         "01234567*2023-06-14*I\t01234567\t2023-06-14\tLEMMIN\tF2\t40\t0.1\r\n"));
    // Without the units, each share is 0.
    ASSERT_TRUE(executer(QStringLiteral("DELETE FROM QUALITOMETRES_OPERATIONS_UNITES")));
    EXPECT_TRUE(trame(indiceIBMR()).contains("RANFLU\tF1\t0\t2.5\r\n"));
}

// Several operations read together: each keeps its own taxa and facies shares, the frame goes
// by date whatever the operation codes.
TEST_P(ExportsIndicesTest, TramesFloristiquesDePlusieursOperations)
{
    for (const char *sql : {
             "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
             "codePoint, dateDebut) VALUES (1, 29, 2, #08/01/2023#)",
             "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
             "codePoint, dateDebut) VALUES (1, 39, 3, #09/03/2023#)",
             "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, codeTaxon, "
             "denombrementA) VALUES (29, 0, '7003', 3)",
             "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, codeTaxon, "
             "pourcentageA) VALUES (39, 0, '1200', 7)",
             "INSERT INTO QUALITOMETRES_OPERATIONS_UNITES (CodeQualitometre, codeOperation, "
             "unite, groupe, sousGroupe, resultat) VALUES (1, 39, 1, 0, 0, 100)",
         })
        ASSERT_TRUE(executer(QString::fromLatin1(sql))) << sql;
    EXPECT_EQ(trame(indiceIBD()), QByteArray("CODE_OPERATION\tCODE_STATION\tDATE\tCODE_TAXON\t"
                                             "RESULTAT\r\n"
                                             "01234567*2023-05-12*I\t01234567\t2023-05-12\tADMI\t"
                                             "120\r\n"
                                             "01234567*2023-05-12*I\t01234567\t2023-05-12\tNPAL\t"
                                             "12.5\r\n"
                                             "01234567*2023-08-01*I\t01234567\t2023-08-01\tNPAL\t"
                                             "3\r\n"));
    EXPECT_EQ(trame(indiceIBMR()),
              QByteArray("CODE_OPERATION\tCODE_STATION\tDATE\tCODE_TAXON\tUR\tPOURCENTAGE_FACIES\t"
                         "RESULTAT\r\n"
                         "01234567*2023-06-14*I\t01234567\t2023-06-14\tRANFLU\tF1\t60\t2.5\r\n"
                         "01234567*2023-06-14*I\t01234567\t2023-06-14\tRANFLU\tF2\t40\t1\r\n"
                         "01234567*2023-06-14*I\t01234567\t2023-06-14\tLEMMIN\tF2\t40\t0.1\r\n"
                         "01234567*2023-09-03*I\t01234567\t2023-09-03\tLEMMIN\tF1\t100\t7\r\n"));
    // One operation without any taxon of the index is named, the others still written.
    ASSERT_TRUE(executer(QStringLiteral("DELETE FROM QUALITOMETRES_LISTE_1 WHERE codeOperation = "
                                        "29 OR codeTaxon = '7003'")));
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, "
                                        "codeListe, codeTaxon, denombrementA) VALUES (29, 0, "
                                        "'7002', 5)")));
    QStringList erreurs;
    EXPECT_TRUE(trame(indiceIBD(), &erreurs).endsWith("\tADMI\t120\r\n"));
    EXPECT_EQ(erreurs, QStringList{QStringLiteral("Aucun taxon trouvé pour 29")});
}

TEST_P(ExportsIndicesTest, UnitesIllisiblesSignalees)
{
    ASSERT_TRUE(executer(QStringLiteral("DROP TABLE QUALITOMETRES_OPERATIONS_UNITES")));
    toleranceErreurs = true;
    QStringList erreurs;
    trame(indiceIBMR(), &erreurs);
    ASSERT_EQ(erreurs.size(), 2);
    EXPECT_TRUE(erreurs[0].startsWith(QStringLiteral("erreur lors de l'exécution de \r")));
    EXPECT_EQ(erreurs[1],
              QStringLiteral("Impossible de lire les parts de faciès de l'opération 40"));
}

TEST_P(ExportsIndicesTest, TrameDiagnosticDeuxLignesParOperation)
{
    // A+B then C per operation; one column per taxon of any operation, "ND" left out.
    EXPECT_EQ(trame(indiceDiagnostic()), QByteArray("CODE_OPERATION;363;892\r\n"
                                                    "01234567_20230512_1;5;0\r\n"
                                                    "01234567_20230512_2;4;0\r\n"
                                                    "01234567_20230702_1;0;7\r\n"
                                                    "01234567_20230702_2;0;0\r\n"));
    EXPECT_TRUE(QFile::exists(dossier.filePath(QStringLiteral("nom_de_fichier.csv"))));
}

TEST_P(ExportsIndicesTest, OperationSansTaxonOuHorsDuPoint)
{
    ASSERT_TRUE(executer(QStringLiteral("DELETE FROM QUALITOMETRES_LISTE_1 WHERE codeTaxon IN "
                                        "('7001', '7003')")));
    QStringList erreurs;
    trame(indiceIBD(), &erreurs);
    EXPECT_EQ(erreurs, QStringList{QStringLiteral("Aucun taxon trouvé pour 30")});
    // The operation asked is not one of the index's point.
    trame(indiceIBMR(), &erreurs, QStringLiteral("30"));
    EXPECT_EQ(erreurs, QStringList{QStringLiteral(
                           "Aucune opération du point 271 à exporter pour 01234567")});
}

// Each calculator removes its own earlier outputs, HYPE's reports and logs among them, and
// leaves its scripts alone.
TEST_P(ExportsIndicesTest, ChaqueCalculateurNettoieSesSorties)
{
    const QDir d(dossier.path());
    ASSERT_TRUE(d.mkpath(QStringLiteral("script/scriptsR")));
    const QStringList fichiers = {QStringLiteral("EXPORT_ADES.txt"),
                                  QStringLiteral("script/rapport.pdf"),
                                  QStringLiteral("script/scriptsR/tendances.Rout"),
                                  QStringLiteral("script/scriptsR/tendances.R"),
                                  QStringLiteral("script/resultats_IBD_1.csv")};
    for (const QString &f : fichiers) {
        QFile fichier(d.filePath(f));
        ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
    }
    const auto hype = creerExport(indiceHype());
    ASSERT_TRUE(hype->configuration(dossier.path())) << qPrintable(hype->getTabErreur());
    QStringList restent;
    for (const QString &f : fichiers)
        if (d.exists(f)) restent << f;
    EXPECT_EQ(restent, (QStringList{QStringLiteral("script/scriptsR/tendances.R"),
                                    QStringLiteral("script/resultats_IBD_1.csv")}));
    const auto ibd = creerExport(indiceIBD());
    ASSERT_TRUE(ibd->configuration(dossier.path()));
    EXPECT_FALSE(d.exists(QStringLiteral("script/resultats_IBD_1.csv")));
    EXPECT_EQ(
        lignes(QStringLiteral("SELECT code, nom, actif FROM ANALYSES_PARAMETRES ORDER BY "
                              "code")),
        (QStringList{QStringLiteral("5856|IBD|1"), QStringLiteral("8059|Nb Unité Diatomique|1"),
                     QStringLiteral("8060|Nb Taxons IBD contributifs|1")}));
}

// A fake calculator under the root of the settings, answering `reponse` in script/`sortie`.
void calculateur(const QString &racine, const QString &nom, const QByteArray &reponse,
                 const QString &sortie)
{
    const QString d = racine + u'/' + nom;
    ASSERT_TRUE(QDir().mkpath(d + QStringLiteral("/script")));
    QFile script(d + QStringLiteral("/run.sh"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("cat > script/sortie.tmp <<'FIN'\n" + reponse +
                 "FIN\nmv script/sortie.tmp 'script/" + sortie.toUtf8() + "'\n");
}

// The IBMR keeps the index's own line, not its robust variant written after it.
TEST_P(ExportsIndicesTest, LigneDeCommandeIBDEtIBMR)
{
    ecrireRegistre(reglage::CheminR, dossier.path());
    calculateur(dossier.path(), QStringLiteral("IBD_2.1.0"),
                "CODE_STATION;DATE;CODE_PAR;LIB_PAR;RESULTAT\n"
                "1234567;2023-05-12;5856;IBD;14,2\n"
                "1234567;2023-05-12;8060;Nb Taxons IBD contributifs;NA\n",
                QStringLiteral("resultats_IBD_1.csv"));
    test::SortieCli s =
        cli({QStringLiteral("indices"), QStringLiteral("lancer"), QStringLiteral("IBD"),
             QStringLiteral("--station"), QStringLiteral("01234567"), QStringLiteral("--operation"),
             QStringLiteral("30")});
    EXPECT_EQ(s.code, 0) << qPrintable(s.erreurs);
    EXPECT_EQ(s.sortie, QStringLiteral("Ligne 3 : valeur « NA » du paramètre 8060 ignorée\n"
                                       "1 résultat(s) enregistré(s)\n"));
    const QString fichier = chemin(QStringLiteral("resultats_IBMR_1.csv"));
    QFile f(fichier);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Calcul de l'IBMR\n\"CODE_STATION\";\"DATE\";\"CODE_PAR\";\"LIB_PAR\";\"RESULTAT\"\n"
            "\"01234567\";\"2023-06-14\";\"7973\";\"IBMR\";\"9,75\"\n"
            "\"01234567\";\"2023-06-14\";\"\";\"IBMR robuste\";\"8,1\"\n");
    f.close();
    for (int fois = 0; fois < 2; ++fois) {
        s = cli({QStringLiteral("indices"), QStringLiteral("integrer"), QStringLiteral("ibmr"),
                 fichier, QStringLiteral("--station"), QStringLiteral("01234567")});
        EXPECT_EQ(s.code, 0) << qPrintable(s.erreurs);
    }
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeOperation, indice, codeParametre, resultat FROM "
                                    "QUALITOMETRES_OPERATIONS_RESULTATS ORDER BY codeOperation")),
              (QStringList{QStringLiteral("30|1|5856|14.2"), QStringLiteral("40|1|7973|9.75")}));
}

// The diagnostic tool's documents are left to the user: their folder is given.
TEST_P(ExportsIndicesTest, LigneDeCommandeDiagnostic)
{
    ecrireRegistre(reglage::CheminR, dossier.path());
    calculateur(dossier.path(), QStringLiteral("OutilDiagnostiqueMacroinvertebresV2"), "%PDF\n",
                QStringLiteral("diagnostic.pdf"));
    const test::SortieCli s =
        cli({QStringLiteral("indices"), QStringLiteral("lancer"), QStringLiteral("Diagnostic"),
             QStringLiteral("--station"), QStringLiteral("01234567"), QStringLiteral("--operation"),
             QStringLiteral("11")});
    EXPECT_EQ(s.code, 0) << qPrintable(s.erreurs);
    const QString d = dossier.filePath(QStringLiteral("OutilDiagnostiqueMacroinvertebresV2"));
    EXPECT_EQ(s.sortie, d + QStringLiteral("/script\n"));
    QFile trame(d + QStringLiteral("/nom_de_fichier.csv"));
    ASSERT_TRUE(trame.open(QIODevice::ReadOnly));
    EXPECT_EQ(trame.readAll(), QByteArray("CODE_OPERATION;892\r\n01234567_20230702_1;7\r\n"
                                          "01234567_20230702_2;0\r\n"));
    EXPECT_EQ(lignes(QStringLiteral("SELECT COUNT(*) FROM QUALITOMETRES_OPERATIONS_RESULTATS")),
              QStringList{QStringLiteral("0")});
}

// HYPE gets the station's analyses of the selection's parameters and leaves its reports.
TEST_P(ExportsIndicesTest, LigneDeCommandeHype)
{
    test::creerTablesCatalogue({"QUALITOMETRE_LOCALISATIONS", "PIEZOMETRES"});
    ecrireRegistre(reglage::CheminR, dossier.path());
    calculateur(dossier.path(), QStringLiteral("Hype"), "%PDF\n", QStringLiteral("tendances.pdf"));
    const QStringList commande = {QStringLiteral("indices"),     QStringLiteral("hype"),
                                  QStringLiteral("--station"),   QStringLiteral("01234567"),
                                  QStringLiteral("--selection"), QStringLiteral("NITRATES")};
    test::SortieCli s = cli(commande);
    EXPECT_EQ(s.code, 1);
    EXPECT_EQ(s.erreurs.trimmed(), QStringLiteral("Aucune analyse pour 01234567"));
    ASSERT_TRUE(creerTableAnalyses(QStringLiteral("01234567")));
    for (const char *sql : {
             "INSERT INTO QUALITOMETRE_LOCALISATIONS (CodeQualitometre, CodeProjection, X, Y) "
             "VALUES (1, 16, 0.5, 46.25)",
             "INSERT INTO ANALYSES_PARAMETRES (code, nom) VALUES ('1340', 'Nitrates')",
             "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (code, num, codeParametre, typeListe) "
             "VALUES ('NITRATES', 1, '1340', 0)",
             "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut) VALUES (5, 1, "
             "#03/02/2021#)",
             "INSERT INTO ANALYSES_01234567 (NumAnalyse, NumPrelevement, CodeQualitometre, "
             "CodeProducteur, CodeResponsable, Resultat, CodeParametre, CodeUnite, CodeRemarque, "
             "CodeQualification) VALUES (0, 5, 1, 123, 77, 31.5, '1340', '162', '1', '2')",
             // Not in the selection.
             "INSERT INTO ANALYSES_01234567 (NumAnalyse, NumPrelevement, CodeQualitometre, "
             "Resultat, CodeParametre) VALUES (1, 5, 1, 7.2, '1302')",
         })
        ASSERT_TRUE(executer(QString::fromLatin1(sql))) << sql << qPrintable(bd().derniereErreur());
    s = cli(commande);
    EXPECT_EQ(s.code, 0) << qPrintable(s.erreurs);
    const QString d = dossier.filePath(QStringLiteral("Hype"));
    EXPECT_EQ(s.sortie, d + QStringLiteral("/script\n"));
    QFile trame(d + QStringLiteral("/EXPORT_ADES.txt"));
    ASSERT_TRUE(trame.open(QIODevice::ReadOnly));
    EXPECT_EQ(
        QString::fromUtf8(trame.readAll()),
        QStringLiteral("Numéro de prélèvement|Producteur de données|Organisme valideur|Code "
                       "BSS|X_WGS84|Y_WGS84|Date de prélèvement|Heure de prélèvement|Code "
                       "paramètre|Nom paramètre|Résultat|Code remarque|Code unité|Code "
                       "qualification\r\n"
                       "5|123|77|01234567|0.5|46.25|02/03/2021||1340|Nitrates|31.5|1|162|2\r\n"));
}

VYK_SUR_LES_DEUX_MOTEURS(ExportsIndicesTest);

} // namespace
