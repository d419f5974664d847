// The national physico-chemistry CSV: columns found by name whatever their order, case and
// accents; a broken line reported on its own; the same file twice leaves the same rows.

#include "import/AnalysesNommees.h"
#include "db/Progression.h"
#include "import/ColonnesNommees.h"
#include "import/Importation.h"
#include "import/LectureSandre.h"

#include "DonneesImport.h"
#include "MessagesSandre.h"

using namespace vyk;

namespace {

// Columns in an order of their own, named in three spellings; a comment holding ";" and a line
// break; CRLF; line 5 has three fields.
const QByteArray EXTRAIT =
    "\xEF\xBB\xBFlibelle_station;R\xC3\xA9sultat;CODE_PARAM\xC3\x88TRE;Code_Station;"
    "DATE_PR\xC3\x89L\xC3\x88VEMENT;heure_prelevement;code_unite;Code Remarque;code_fraction;"
    "Laboratoire;commentaires_analyse\r\n"
    "La Rance;12,5;1340;05001000;2024-03-05;10:15:00;162;1;23;LAB1;\"nitrates; \xC3\xA0 "
    "revoir\r\nsecond avis\"\r\n"
    "La Rance;0,02;1335;05001000;05/03/24;10:15:00;162;10;23;LAB1;\r\n"
    "X;1;2\r\n"
    "Le Couesnon;7;1301;05002000;06/03/2024;;27;1;23;LAB1;\r\n";

TEST(AnalysesNommees, ColonnesParNomEtLigneRefusee)
{
    GrilleImport g;
    ChargementNomme c;
    ElementsIgnores ignores;
    ASSERT_EQ(chargerAnalysesNommees(EXTRAIT, g, c, progressionNulle(), &ignores), QString());
    ASSERT_EQ(g.nombreLignes(), 3);
    EXPECT_EQ(g.origines, QStringList({"ligne 2", "ligne 4", "ligne 6"}));
    using C = ColonneImport;
    EXPECT_EQ(g.valeur(0, C::CodeStation), QStringLiteral("05001000"));
    EXPECT_EQ(g.valeur(0, C::DatePrelvt), QStringLiteral("2024-03-05 10:15:00"));
    EXPECT_EQ(g.valeur(0, C::CommentAnalyse), QStringLiteral("nitrates; à revoir\nsecond avis"));
    EXPECT_EQ(g.valeur(0, C::CodeLabo), QStringLiteral("LAB1"));
    EXPECT_EQ(g.valeur(0, C::OrigineLabo), QStringLiteral("SANDRE"));
    EXPECT_EQ(g.valeur(0, C::OrigineInterv), QString()) << "no producer code, no scheme";
    EXPECT_EQ(g.valeur(1, C::DatePrelvt), QStringLiteral("05/03/2024 10:15:00"));
    EXPECT_EQ(g.valeur(1, C::RemarqueAnalyse), QStringLiteral("10"));
    EXPECT_EQ(g.valeur(2, C::DatePrelvt), QStringLiteral("06/03/2024"));
    EXPECT_EQ(g.valeur(2, C::CodeFraction), QStringLiteral("23"));
    ASSERT_EQ(c.lignesEnErreur.size(), 1);
    EXPECT_EQ(texteColonnesNommees::ligneRefusee(c.lignesEnErreur[0]),
              QStringLiteral("ligne 5 : 3 champ(s) au lieu des 11 de la ligne d'en-tête"));
    EXPECT_EQ(ignores.texte(), QString()) << "the station name is taken";
    EXPECT_EQ(c.nomsStations.value("05001000"), QStringLiteral("La Rance"));
    EXPECT_EQ(c.nomsStations.value("05002000"), QStringLiteral("Le Couesnon"));
}

TEST(AnalysesNommees, ColonneRequiseAbsenteEtSeparateurs)
{
    GrilleImport g;
    ChargementNomme c;
    EXPECT_EQ(chargerAnalysesNommees("code_station;date_prelevement;resultat\nA;2024-01-01;1\n", g,
                                     c, progressionNulle()),
              QStringLiteral("Le fichier n'a pas de colonne « code paramètre »."));
    EXPECT_EQ(g.nombreLignes(), 0);
    // Tabs and a Windows-1252 header.
    ASSERT_EQ(chargerAnalysesNommees("Code station\tDate pr\xE9l\xE8vement\tCode param\xE8tre\n"
                                     "A\t2024-01-01\t1340\n",
                                     g, c, progressionNulle()),
              QString());
    ASSERT_EQ(g.nombreLignes(), 1);
    EXPECT_EQ(g.valeur(0, ColonneImport::CodeParam), QStringLiteral("1340"));
    EXPECT_EQ(chargerAnalysesNommees("\r\n\r\n", g, c, progressionNulle()),
              QStringLiteral("Le fichier ne contient aucune ligne d'en-tête."));
}

TEST(AnalysesNommees, AnneeSurDeuxChiffres)
{
    EXPECT_EQ(dateSiecle(QStringLiteral("12/05/98"), 2026), QStringLiteral("12/05/1998"));
    EXPECT_EQ(dateSiecle(QStringLiteral("12/05/26 10:00"), 2026),
              QStringLiteral("12/05/2026 10:00"));
    EXPECT_EQ(dateSiecle(QStringLiteral("1.5.27"), 2026), QStringLiteral("1.5.1927"));
    EXPECT_EQ(dateSiecle(QStringLiteral("12/05/1998"), 2026), QStringLiteral("12/05/1998"));
    EXPECT_EQ(dateSiecle(QStringLiteral("2024-03-05"), 2026), QStringLiteral("2024-03-05"));
}

class AnalysesNommeesTest : public test::BaseImport
{
  protected:
    ResultatImport importerExtrait(const QByteArray &contenu, bool remplacer = false)
    {
        const QString chemin = test::ecrireFichier(m_dossier, QStringLiteral("pc.csv"), contenu);
        OptionsImport options;
        options.creerIntervenants = true;
        options.remplacer = remplacer;
        return importer(QStringLiteral("pc_csv_national"), chemin, options, progressionNulle());
    }
    QStringList analyses(const QString &station)
    {
        return lignes(QStringLiteral("SELECT P.DateDebut, P.HeureDebut, A.CodeParametre, "
                                     "A.Resultat, A.CodeUnite, A.CodeRemarque, A.CodeFraction, "
                                     "I.CodeSandre, A.CommentaireAnalyse FROM (ANALYSES_") +
                      station +
                      QStringLiteral(" A INNER JOIN PRELEVEMENTS P ON P.NumPrelevement = "
                                     "A.NumPrelevement) LEFT JOIN INTERVENANTS I ON "
                                     "I.CodeIntervenant = A.CodeLabo ORDER BY A.CodeParametre"));
    }
    QTemporaryDir m_dossier;
};

TEST_P(AnalysesNommeesTest, DeuxFoisLesMemesLignesEtLaLigneCasseeSignalee)
{
    QStringList avant;
    for (int passage = 0; passage < 2; ++passage) {
        const ResultatImport r = importerExtrait(EXTRAIT);
        ASSERT_EQ(r.erreur, QString());
        ASSERT_EQ(r.fichiers.size(), 1);
        EXPECT_EQ(r.fichiers[0].erreur,
                  QStringLiteral("ligne 5 : 3 champ(s) au lieu des 11 de la ligne d'en-tête"));
        EXPECT_EQ(r.fichiers[0].remarques, QString());
        EXPECT_EQ(r.fichiers[0].bilan.lignesLues, 4);
        EXPECT_EQ(r.fichiers[0].bilan.analysesEcrites(), 3);
        ASSERT_EQ(r.fichiers[0].bilan.lignesEnErreur.size(), 1);
        EXPECT_EQ(r.fichiers[0].bilan.lignesEnErreur[0].origine, QStringLiteral("ligne 5"));
        EXPECT_FALSE(r.statut());
        EXPECT_EQ(analyses(QStringLiteral("05001000")),
                  QStringList({"05/03/2024|30/12/1899 10:15:00|1335|0.02|162|10|23|LAB1|",
                               "05/03/2024|30/12/1899 10:15:00|1340|12.5|162|1|23|LAB1|"
                               "nitrates; à revoir\nsecond avis"}));
        EXPECT_EQ(analyses(QStringLiteral("05002000")),
                  QStringList({"06/03/2024|30/12/1899|1301|7|27|1|23|LAB1|"}));
        // Each run writes its execution on the operations it touched.
        EXPECT_EQ(lignes("SELECT DISTINCT jobExecutionId FROM QUALITOMETRES_POINTS_OPERATIONS"),
                  QStringList({QString::number(r.execution)}));
        ASSERT_TRUE(executer("UPDATE QUALITOMETRES_POINTS_OPERATIONS SET jobExecutionId=NULL"));
        const QStringList apres = etat({"ANALYSES_05001000", "ANALYSES_05002000"});
        if (passage == 1) {
            EXPECT_EQ(apres, avant);
        }
        avant = apres;
    }
    // A name typed by the user is kept by the next run; an empty one takes the file's again.
    ASSERT_TRUE(executer("UPDATE QUALITOMETRES SET Nom='Nom saisi' WHERE CodeBSS='05002000'"));
    ASSERT_TRUE(executer("UPDATE QUALITOMETRES SET Nom=NULL WHERE CodeBSS='05001000'"));
    importerExtrait(EXTRAIT);
    EXPECT_EQ(lignes("SELECT CodeBSS, Nom FROM QUALITOMETRES ORDER BY CodeBSS"),
              QStringList({"05001000|La Rance", "05002000|Nom saisi"}));
    EXPECT_EQ(valeur("SELECT count(*) FROM PRELEVEMENTS").toInt(), 2);
    // The parameters created carry today's date on both engines, not a day and month swapped.
    EXPECT_EQ(lignes("SELECT DISTINCT DateCreation FROM ANALYSES_PARAMETRES"),
              QStringList({QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"))}));
}

TEST_P(AnalysesNommeesTest, RemplacementRefuseLeFichierAvantToutEcrit)
{
    const ResultatImport r = importerExtrait(EXTRAIT, true);
    ASSERT_EQ(r.fichiers.size(), 1);
    EXPECT_EQ(r.fichiers[0].erreur,
              QStringLiteral("ligne 5 : 3 champ(s) au lieu des 11 de la ligne d'en-tête"));
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES").toInt(), 0);
    EXPECT_EQ(valeur("SELECT count(*) FROM PRELEVEMENTS").toInt(), 0);
    // Without the broken line the replace mode gives the same counts twice.
    QByteArray sain = EXTRAIT;
    sain.replace("X;1;2\r\n", "");
    for (int passage = 0; passage < 2; ++passage) {
        const ResultatImport ok = importerExtrait(sain, true);
        EXPECT_TRUE(ok.statut()) << qPrintable(ok.messages().join(u'\n'));
        EXPECT_EQ(valeur("SELECT count(*) FROM PRELEVEMENTS").toInt(), 2);
        EXPECT_EQ(valeur("SELECT count(*) FROM ANALYSES_05001000").toInt(), 2);
        EXPECT_EQ(valeur("SELECT count(*) FROM ANALYSES_05002000").toInt(), 1);
    }
}

VYK_SUR_LES_DEUX_MOTEURS(AnalysesNommeesTest);

} // namespace
