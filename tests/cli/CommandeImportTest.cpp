#include "db/BaseDonnees.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "app/ZipEcrit.h"
#include "support/BaseTest.h"

#include <QFile>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class CommandeImportTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(mettreAJourBase(versionProgramme()));
    }

    // A 42-column file: a first line that is not data, then one line per row.
    QString fichier(const QString &nom, const QStringList &lignes)
    {
        const QString chemin = this->chemin(nom);
        QFile f(chemin);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("entete ignoree\n");
        for (const QString &l : lignes) {
            QStringList champs(42);
            const QStringList donnees = l.split(u';');
            for (int i = 0; i < donnees.size(); ++i)
                champs[i] = donnees[i];
            f.write((champs.join(u';') + u'\n').toUtf8());
        }
        return chemin;
    }
};

TEST_P(CommandeImportTest, ImportControleEtJournalDesExecutions)
{
    const QString csv =
        fichier(QStringLiteral("analyses.csv"),
                {"BSS001;;03/05/2021;;;;1340;12,5;162", "BSS001;;pas une date;;;;1340;1;162",
                 "BSS002;;04/05/2021;;;;1301;3;27"});
    // A check writes nothing and says what would be created.
    test::SortieCli r = cli({"import", "ADES CSV", csv, "--controle"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.sortie,
              QStringLiteral("Contrôle sans écriture, analyses.csv : 3 ligne(s) lue(s), 2 "
                             "station(s) dont 2 créée(s), 2 opération(s) créée(s), 2 "
                             "prélèvement(s) créé(s), 2 analyse(s) écrite(s) (2 ajoutée(s), 0 "
                             "réécrite(s)), 1 ligne(s) en erreur\n"
                             "Stations à créer : BSS001, BSS002\n"
                             "Paramètres à créer : 1340, 1301\n"
                             "Unités à créer : 162, 27\n"
                             "Points à créer : 2, échantillons à créer : 0\n"));
    EXPECT_EQ(r.erreurs, QStringLiteral("analyses.csv : ligne 3 : Erreur ligne: codeBSS: BSS001 - "
                                        "Date: pas une date - Paramètre: 1340 : la date de "
                                        "prélèvement n'est pas une date\n"));
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES").toInt(), 0);
    EXPECT_EQ(valeur("SELECT count(*) FROM JOBS").toInt(), 0);

    r = cli({"import", "ADES CSV", csv});
    EXPECT_EQ(r.code, 1) << "a row in error fails the execution";
    EXPECT_EQ(valeur("SELECT count(*) FROM PRELEVEMENTS").toInt(), 2);
    EXPECT_EQ(lignes("SELECT j.nom, f.code, e.statut FROM (JOBS j INNER JOIN FORMAT_DONNEES f ON "
                     "f.id=j.format_donnees) INNER JOIN JOBS_EXECUTION e ON e.job_id=j.id"),
              QStringList({"Intégration ADES CSV [ADES CSV]|ADES CSV|0"}));
    r = cli({"jobs"});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_TRUE(r.sortie.contains(QStringLiteral("\tADES CSV\tERREUR\t")));
    EXPECT_TRUE(r.sortie.contains(QStringLiteral(" s\tIntégration ADES CSV [ADES CSV]\t")));
    EXPECT_TRUE(
        r.sortie.contains(QStringLiteral("    analyses.csv : Erreur ligne: codeBSS: BSS001")));
}

TEST_P(CommandeImportTest, ModelesFermesRefusesEtExecutionEchouee)
{
    const QString csv = fichier(QStringLiteral("a.csv"), {"BSS001;;03/05/2021;;;;1340;1;162"});
    const test::SortieCli r = cli({"import", "ADES_TRAMES", csv});
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(r.sortie.contains(QStringLiteral("Intégration terminée.")));
    EXPECT_EQ(r.erreurs, QStringLiteral("Le modèle « ADES Trames zippées » [ADES_TRAMES] passe par "
                                        "un composant d'import fermé de la suite, absent de VYK : "
                                        "ses fichiers ne peuvent pas être intégrés ici.\n"));
    EXPECT_EQ(lignes("SELECT statut FROM JOBS_EXECUTION"), QStringList({"0"}));
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES").toInt(), 0);

    const test::SortieCli ok = cli({"import", "GDES", csv, "--creer-intervenants"});
    EXPECT_EQ(ok.code, 0) << qPrintable(ok.erreurs);
    EXPECT_TRUE(ok.sortie.endsWith(QStringLiteral("Intégration terminée.\n")));

    const test::SortieCli liste = cli({"import", "--modeles"});
    EXPECT_EQ(liste.code, 0);
    EXPECT_TRUE(liste.sortie.startsWith(
        QStringLiteral("ADES_TRAMES\tADES Trames zippées\t(non disponible)\n")));
    EXPECT_TRUE(liste.sortie.contains(QStringLiteral("\nADES CSV\tADES CSV\n")));
    EXPECT_EQ(cli({"import", "INCONNU", csv}).code, 2);
}

// The national physico-chemistry CSV, columns by name: listed among the models and imported.
TEST_P(CommandeImportTest, ExtraitNationalAColonnesNommees)
{
    const QString csv = chemin(QStringLiteral("pc.csv"));
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("resultat;code_parametre;code_unite;date_prelevement;code_station;nom_reseau\n"
            "4,2;1340;162;2021-05-03;BSS001;RCS\n");
    f.close();
    const test::SortieCli r = cli({"import", "PC_CSV_NATIONAL", csv});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.erreurs, QStringLiteral("pc.csv : Éléments non repris : nom_reseau (1).\n"));
    EXPECT_EQ(lignes("SELECT CodeParametre, Resultat, CodeUnite FROM ANALYSES_BSS001"),
              QStringList({"1340|4.2|162"}));
    EXPECT_TRUE(cli({"import", "--modeles"})
                    .sortie.contains(QStringLiteral(
                        "\nPC_CSV_NATIONAL\tPhysico-chimie nationale CSV (colonnes nommées)\n")));
}

// A SEQEAU extract (dictionary codes on its first line), alone and in an archive; its short line
// is a row in error named by its line, the others go in.
TEST_P(CommandeImportTest, ExtraitCodeSeqeau)
{
    const QByteArray texte = "<STQ.2.1997-1>;<PRL.8.1997-1>;<ALQ.9.1997-1>;<ALQ.12.1997-1>\n"
                             "Station;Date;Paramètre;Résultat\n"
                             "BSS001;03/05/21;1340;4,2\n"
                             "BSS001;03/05/21\n";
    const QString csv = chemin(QStringLiteral("seqeau.csv"));
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(texte);
    f.close();
    test::SortieCli r = cli({"import", "ADES SEQEAU", csv});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.erreurs.contains(QStringLiteral(
        "seqeau.csv : ligne 4 : la ligne compte 2 champs au lieu des 4 de l'en-tête")))
        << qPrintable(r.erreurs);
    EXPECT_EQ(lignes("SELECT CodeParametre, Resultat FROM ANALYSES_BSS001"),
              QStringList({"1340|4.2"}));
    const QString zip = chemin(QStringLiteral("seqeau.zip"));
    ASSERT_TRUE(test::ecrireZip(zip, {{"a.csv", texte.left(texte.lastIndexOf("BSS001"))}}));
    r = cli({"import", "ADES SEQEAU", zip});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(lignes("SELECT CodeParametre, Resultat FROM ANALYSES_BSS001"),
              QStringList({"1340|4.2"}));
}

// A laboratory message: its organisations and stations first, each sample with its own request
// code; the same message again rewrites and adds nothing.
TEST_P(CommandeImportTest, MessageLaboDeuxFois)
{
    const QString labo = QStringLiteral(VYK_TEST_DATA "/sandre/labo.xml");
    test::SortieCli r = cli({"import", "EDILABO", labo, "--creer-intervenants"});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_TRUE(
        r.sortie.contains(QStringLiteral("4 analyse(s) écrite(s) (4 ajoutée(s), 0 réécrite(s))")))
        << qPrintable(r.sortie);
    // What nothing reads is told on standard error, the run still succeeding.
    EXPECT_TRUE(r.erreurs.contains(
        QStringLiteral("labo.xml : Éléments non repris : Emetteur/CPIntervenant (1)")))
        << qPrintable(r.erreurs);
    const QStringList prelevements =
        lignes("SELECT NumPrelevement, codeDemande FROM PRELEVEMENTS ORDER BY 1");
    EXPECT_EQ(prelevements, QStringList({"0|DEM-01", "1|DEM-02"}));
    r = cli({"import", "EDILABO", labo, "--creer-intervenants"});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_TRUE(r.sortie.contains(QStringLiteral("0 prélèvement(s) créé(s), 4 analyse(s) écrite(s) "
                                                 "(0 ajoutée(s), 4 réécrite(s))")))
        << qPrintable(r.sortie);
    EXPECT_EQ(lignes("SELECT NumPrelevement, codeDemande FROM PRELEVEMENTS ORDER BY 1"),
              prelevements);
}

VYK_SUR_LES_DEUX_MOTEURS(CommandeImportTest);

} // namespace
