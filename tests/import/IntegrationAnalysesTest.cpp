#include "import/IntegrationAnalyses.h"
#include "app/Registre.h"
#include "db/Progression.h"

#include "DonneesImport.h"

using namespace vyk;
using C = vyk::ColonneImport;

namespace {

class IntegrationAnalysesTest : public test::BaseImport
{
  protected:
    BilanAnalyses integrer(const GrilleImport &g, bool remplacer = false,
                           const ReponsesIntegration &reponses = {})
    {
        OptionsIntegration o;
        o.remplacer = remplacer;
        o.arretPremiereErreur = remplacer;
        o.creerIntervenants = true;
        return integrerAnalyses(g, o, progressionNulle(), reponses);
    }

    QStringList analyses(const QString &codeBSS)
    {
        return lignes(
            QStringLiteral("SELECT p.CodeQualitometre, a.NumPrelevement, a.NumAnalyse, "
                           "a.CodeParametre, a.CodeUnite, a.CodeFraction, a.Resultat FROM "
                           "ANALYSES_") +
            codeBSS +
            QStringLiteral(" a INNER JOIN PRELEVEMENTS p ON p.NumPrelevement="
                           "a.NumPrelevement ORDER BY a.NumPrelevement, a.NumAnalyse"));
    }
};

// New stations are created, points, operations and samples numbered from 0; a second run of the
// same file rewrites every analysis in place and adds nothing.
TEST_P(IntegrationAnalysesTest, LeMemeFichierDeuxFoisLaisseLesMemesLignes)
{
    GrilleImport g;
    ligne(g, "BSS001", "03/05/2021", "1340", "12,5");
    ligne(g, "BSS001", "03/05/2021", "1301", "7.2", "27");
    ligne(g, "BSS001", "04/05/2021", "1340", "13");
    ligne(g, "BSS002", "03/05/2021", "1340", "1");
    const BilanAnalyses b = integrer(g);
    EXPECT_TRUE(b.statut()) << qPrintable(b.erreur);
    EXPECT_EQ(b.stationsCreees, QStringList({"BSS001", "BSS002"}));
    EXPECT_EQ(b.prelevementsCrees, 3);
    EXPECT_EQ(b.operationsCreees, 3);
    EXPECT_EQ(b.analysesAjoutees, 4);
    const QStringList attendu1 = {"1|0|0|1340|162||12.5", "1|0|1|1301|27||7.2",
                                  "1|1|0|1340|162||13"};
    EXPECT_EQ(analyses("BSS001"), attendu1);
    EXPECT_EQ(analyses("BSS002"), QStringList({"2|2|0|1340|162||1"}));
    EXPECT_EQ(lignes("SELECT codeQualitometre, codePoint, identifiant FROM QUALITOMETRES_POINTS "
                     "ORDER BY 1, 2"),
              QStringList({"1|0|031", "2|0|031"}));
    const QStringList avant = etat({"ANALYSES_BSS001", "ANALYSES_BSS002"});

    const BilanAnalyses b2 = integrer(g);
    EXPECT_TRUE(b2.statut()) << qPrintable(b2.erreur);
    EXPECT_EQ(b2.analysesReecrites, 4);
    EXPECT_EQ(b2.analysesAjoutees + b2.prelevementsCrees + b2.operationsCreees +
                  int(b2.stationsCreees.size()) + b2.pointsCrees,
              0);
    EXPECT_EQ(etat({"ANALYSES_BSS001", "ANALYSES_BSS002"}), avant);
}

// A later file with part of a sample's analyses rewrites those and keeps the others, with the
// columns an import does not carry; a stored analysis named twice is rewritten once, with the
// last row's values.
TEST_P(IntegrationAnalysesTest, ReecriturePartielleGardeLesAutresAnalyses)
{
    GrilleImport g;
    ligne(g, "BSS001", "03/05/2021", "1340", "1");
    ligne(g, "BSS001", "03/05/2021", "1301", "2", "27");
    ASSERT_TRUE(integrer(g).statut());
    ASSERT_TRUE(executer("UPDATE ANALYSES_BSS001 SET NumDossier='D7'"));
    GrilleImport suite;
    ligne(suite, "BSS001", "03/05/2021", "1301", "5", "27");
    ligne(suite, "BSS001", "03/05/2021", "1301", "6", "27");
    const BilanAnalyses b = integrer(suite);
    EXPECT_TRUE(b.statut()) << qPrintable(b.erreur);
    EXPECT_EQ(b.analysesReecrites, 1);
    EXPECT_EQ(b.analysesAjoutees, 0);
    EXPECT_EQ(lignes("SELECT NumAnalyse, CodeParametre, Resultat, NumDossier FROM ANALYSES_BSS001 "
                     "ORDER BY 1"),
              QStringList({"0|1340|1|D7", "1|1301|6|D7"}));
}

// A station imported again in part keeps the rows of its other samples; imported again whole,
// it keeps a row that no sample of its own names (left by another program).
TEST_P(IntegrationAnalysesTest, ReecritureDUneStationGardeCeQueLeFichierNeNommePas)
{
    GrilleImport g;
    ligne(g, "BSS001", "03/05/2021", "1340", "1");
    ligne(g, "BSS001", "03/05/2021", "1301", "2", "27");
    ligne(g, "BSS001", "04/05/2021", "1340", "3");
    ASSERT_TRUE(integrer(g).statut());
    const QString requete = QStringLiteral(
        "SELECT NumPrelevement, NumAnalyse, CodeParametre, Resultat FROM ANALYSES_BSS001 ORDER "
        "BY 1, 2");
    GrilleImport premier;
    ligne(premier, "BSS001", "03/05/2021", "1340", "10");
    ligne(premier, "BSS001", "03/05/2021", "1301", "20", "27");
    BilanAnalyses b = integrer(premier);
    EXPECT_TRUE(b.statut()) << qPrintable(b.erreur);
    EXPECT_EQ(b.analysesReecrites, 2);
    EXPECT_EQ(lignes(requete), QStringList({"0|0|1340|10", "0|1|1301|20", "1|0|1340|3"}));

    ASSERT_TRUE(executer("INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, "
                         "CodeQualitometre, CodeParametre, Resultat) VALUES (0, 99, 1, '1340', "
                         "42)"));
    b = integrer(g);
    EXPECT_TRUE(b.statut()) << qPrintable(b.erreur);
    EXPECT_EQ(b.analysesReecrites, 3);
    EXPECT_EQ(b.analysesAjoutees, 0);
    EXPECT_EQ(lignes(requete),
              QStringList({"0|0|1340|1", "0|1|1301|2", "1|0|1340|3", "99|0|1340|42"}));
}

// Stored analyses are found by their codes without surrounding blanks, plain or accented: a
// rewrite keeps each number and adds nothing.
TEST_P(IntegrationAnalysesTest, ReecritureRetrouveLesCodesStockesEntoures)
{
    GrilleImport g;
    ligne(g, "BSS001", "03/05/2021", "1340", "1");
    ligne(g, "BSS001", "03/05/2021", "1301", "2", "27", {{C::CodeFraction, "é3"}});
    ASSERT_TRUE(integrer(g).statut());
    ASSERT_TRUE(executer("UPDATE ANALYSES_BSS001 SET CodeParametre='1340\t' WHERE NumAnalyse=0"));
    ASSERT_TRUE(executer("UPDATE ANALYSES_BSS001 SET CodeFraction=' é3 ' WHERE NumAnalyse=1"));
    GrilleImport suite;
    ligne(suite, "BSS001", "03/05/2021", "1340", "5");
    ligne(suite, "BSS001", "03/05/2021", "1301", "6", "27", {{C::CodeFraction, "é3"}});
    const BilanAnalyses b = integrer(suite);
    EXPECT_TRUE(b.statut()) << qPrintable(b.erreur);
    EXPECT_EQ(b.analysesReecrites, 2);
    EXPECT_EQ(b.analysesAjoutees, 0);
    EXPECT_EQ(lignes("SELECT NumAnalyse, CodeParametre, CodeFraction, Resultat FROM "
                     "ANALYSES_BSS001 ORDER BY 1"),
              QStringList({"0|1340||5", "1|1301|é3|6"}));
}

// Identity of samples and analyses: the time of the sample and the fraction of the analysis
// separate rows; the same parameter and unit twice in a sample ends as one analysis holding the
// last row's values.
TEST_P(IntegrationAnalysesTest, HeureEtFractionSeparentLeReste)
{
    GrilleImport g;
    ligne(g, "BSS001", "03/05/2021 08:00:00", "1340", "1");
    ligne(g, "BSS001", "03/05/2021 08:00:00", "1340", "2", "162", {{C::CodeFraction, "23"}});
    ligne(g, "BSS001", "03/05/2021 14:30:00", "1340", "3");
    ligne(g, "BSS001", "03/05/2021 14:30:00", "1340", "4");
    const BilanAnalyses b = integrer(g);
    EXPECT_TRUE(b.statut()) << qPrintable(b.erreur);
    EXPECT_EQ(analyses("BSS001"),
              QStringList({"1|0|0|1340|162||1", "1|0|1|1340|162|23|2", "1|1|0|1340|162||4"}));
    EXPECT_EQ(lignes("SELECT NumPrelevement, codeOperation FROM PRELEVEMENTS ORDER BY 1"),
              QStringList({"0|0", "1|0"}))
        << "two samples of one operation";
    const Tableau t = lire("SELECT HeureDebut FROM PRELEVEMENTS ORDER BY NumPrelevement");
    ASSERT_EQ(t.nbLignes(), 2);
    EXPECT_EQ(t(1, 0).toDateTime().time(), QTime(14, 30));
}

// Rows that repeat their neighbours' codes: a code with blanks is the code; a blank unit is no
// unit; one organisation code read under two schemes names two organisations; a row with no
// time goes to the day's first sample, not to the midnight sample met just before, and rewrites
// the analysis of the same identity there.
TEST_P(IntegrationAnalysesTest, CodesRepetesDUneLigneALAutre)
{
    ASSERT_TRUE(executer("INSERT INTO INTERVENANTS (CodeIntervenant, Nom, SIRET, CodeSandre) "
                         "VALUES (5, 'Par Sandre', '111', 'X1'), (6, 'Par SIRET', 'X1', 'Y6')"));
    GrilleImport g;
    ligne(g, "BSS001", "03/05/2021 08:00:00", "1340", "1", "162",
          {{C::CodeProducteur, "X1"}, {C::OrigineInterv, "2"}});
    ligne(g, "BSS001", "03/05/2021 00:00:00", " 1340 ", "2", " ",
          {{C::CodeProducteur, "X1"}, {C::OrigineInterv, "1"}});
    ligne(g, "BSS001", "03/05/2021", "1301", "3", "27",
          {{C::CodeProducteur, "X1"}, {C::OrigineInterv, " 1"}});
    ligne(g, "BSS001", "03/05/2021", "1340", "4", "162",
          {{C::CodeProducteur, "X1"}, {C::OrigineInterv, "2"}});
    const BilanAnalyses b = integrer(g);
    EXPECT_TRUE(b.statut()) << qPrintable(b.erreur);
    EXPECT_EQ(b.prelevementsCrees, 2);
    EXPECT_EQ(lignes("SELECT NumPrelevement, NumAnalyse, CodeParametre, CodeUnite, CodeProducteur, "
                     "Resultat FROM ANALYSES_BSS001 ORDER BY 1, 2"),
              QStringList({"0|0|1340|162|5|4", "0|1|1301|27|6|3", "1|0|1340||6|2"}));
}

// Without creation, an unknown parameter or unit refuses its row each time it is met, named
// without its blanks; the rows around it are kept and no referential row is added.
TEST_P(IntegrationAnalysesTest, CodesInconnusSansCreation)
{
    ASSERT_TRUE(executer("INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('1340', 'Nitrates'), "
                         "('1301', 'Température')"));
    ASSERT_TRUE(executer("INSERT INTO ANALYSES_UNITES (Code, Symbole) VALUES ('162', 'mg/L'), "
                         "('27', '°C')"));
    GrilleImport g;
    ligne(g, "BSS001", "03/05/2021", "ZZZ", "1");
    ligne(g, "BSS001", "03/05/2021", " ZZZ ", "2");
    ligne(g, "BSS001", "03/05/2021", "1340", "3", "U9");
    ligne(g, "BSS001", "03/05/2021", "1301", "4", "27");
    OptionsIntegration o;
    o.creerReferentiels = false;
    o.creerIntervenants = true;
    const BilanAnalyses b = integrerAnalyses(g, o, progressionNulle(), {});
    QStringList raisons;
    for (const LigneEnErreur &e : b.lignesEnErreur)
        raisons << e.raison.section(QStringLiteral(" : "), 1);
    EXPECT_EQ(raisons,
              QStringList({"le paramètre « ZZZ » est inconnu", "le paramètre « ZZZ » est inconnu",
                           "l'unité « U9 » est inconnue"}));
    EXPECT_EQ(analyses("BSS001"), QStringList({"1|0|0|1301|27||4"}));
    EXPECT_EQ(lignes("SELECT Code FROM ANALYSES_PARAMETRES ORDER BY 1"),
              QStringList({"1301", "1340"}));
    EXPECT_EQ(lignes("SELECT Code FROM ANALYSES_UNITES ORDER BY 1"), QStringList({"162", "27"}));
}

// A station met again after another is read again: its rows join its own operation and sample,
// not those of the station read in between (whose point and operation have the same numbers).
TEST_P(IntegrationAnalysesTest, StationRetrouveeApresUneAutre)
{
    GrilleImport g;
    ligne(g, "BSS001", "03/05/2021", "1340", "1");
    ligne(g, "BSS002", "03/05/2021", "1340", "2");
    ligne(g, "BSS001", "03/05/2021", "1301", "3", "27");
    const BilanAnalyses b = integrer(g);
    EXPECT_TRUE(b.statut()) << qPrintable(b.erreur);
    EXPECT_EQ(b.operationsCreees, 2);
    EXPECT_EQ(b.prelevementsCrees, 2);
    EXPECT_EQ(analyses("BSS001"), QStringList({"1|0|0|1340|162||1", "1|0|1|1301|27||3"}));
    EXPECT_EQ(analyses("BSS002"), QStringList({"2|1|0|1340|162||2"}));
    EXPECT_EQ(lignes("SELECT NumPrelevement, CodeQualitometre, codeOperation FROM PRELEVEMENTS "
                     "ORDER BY 1"),
              QStringList({"0|1|0", "1|2|0"}));
}

// Support 6 lands on point "061"; an empty PRELEVEMENTS gives sample 0; a key with a
// designation unknown in full matches its code; an organisation's internal reference matches.
TEST_P(IntegrationAnalysesTest, CorrespondanceDesStationsEtDesPoints)
{
    station(7, "BSS007");
    station(8, "BSS008");
    ASSERT_TRUE(executer("INSERT INTO LIEN_QUALITO_INTERVENANTS (CodeQualitometre, "
                         "CodeIntervenant, ReferenceInterne) VALUES (8, 1, 'REF-LABO-8')"));
    GrilleImport g;
    ligne(g, "BSS007/ZZ", "03/05/2021", "1340", "1", "162", {{C::CodeSupport, "6"}});
    ligne(g, "REF-LABO-8", "03/05/2021", "1340", "2");
    const BilanAnalyses b = integrer(g);
    EXPECT_TRUE(b.statut()) << qPrintable(b.erreur);
    EXPECT_TRUE(b.stationsCreees.isEmpty());
    EXPECT_EQ(lignes("SELECT codeQualitometre, identifiant FROM QUALITOMETRES_POINTS ORDER BY 1"),
              QStringList({"7|061", "8|031"}));
    EXPECT_EQ(analyses("BSS007"), QStringList({"7|0|0|1340|162||1"}));
    EXPECT_EQ(analyses("BSS008"), QStringList({"8|1|0|1340|162||2"}));
    EXPECT_EQ(lire("SELECT CodeSupport FROM ANALYSES_BSS007").texte(0, 0), QStringLiteral("6"));
}

// A new station takes the description and links of the groundwater station of the same code;
// a groundwater code with a designation gives a groundwater point.
TEST_P(IntegrationAnalysesTest, NouvelleStationCopieLePiezometre)
{
    ASSERT_TRUE(executer("INSERT INTO PIEZOMETRES (CodePiezometre, CodeBSS, Nom, X, Y) VALUES "
                         "(40, '0123X0001', 'Forage du moulin', 650000, 6800000)"));
    ASSERT_TRUE(executer("INSERT INTO LIEN_PIEZO_MASSE_EAU (CodePiezometre, Code_ME, Type) "
                         "VALUES (40, 'FRGG001', 1)"));
    GrilleImport g;
    ligne(g, "0123X0001/F", "03/05/2021", "1340", "1", "162", {{C::TypeQualito, "2"}});
    const BilanAnalyses b = integrer(g);
    EXPECT_TRUE(b.statut()) << qPrintable(b.erreur);
    EXPECT_EQ(lignes("SELECT CodeQualitometre, CodeBSS, Designation, Nom, X, Type_qualitometre, "
                     "typeStation FROM QUALITOMETRES"),
              QStringList({"1|0123X0001|F|Forage du moulin|650000|2|0"}));
    EXPECT_EQ(lignes("SELECT CodeQualitometre, Code_ME, Type FROM LIEN_QUALITO_MASSE_EAU"),
              QStringList({"1|FRGG001|1"}));
    // Met again by its full key: the same station.
    EXPECT_TRUE(integrer(g).stationsCreees.isEmpty());
}

// Replace mode: rows alternating between two stations purge each once, at its first row; the
// old data of both go, every row of the file stays.
TEST_P(IntegrationAnalysesTest, RemplacementPurgeChaqueStationUneFois)
{
    GrilleImport ancien;
    ligne(ancien, "BSS001", "01/01/2020", "1340", "99");
    ligne(ancien, "BSS002", "01/01/2020", "1340", "98");
    ASSERT_TRUE(integrer(ancien).statut());
    GrilleImport g;
    ligne(g, "BSS001", "03/05/2021", "1340", "1");
    ligne(g, "BSS002", "03/05/2021", "1340", "2");
    ligne(g, "BSS001", "04/05/2021", "1340", "3");
    const BilanAnalyses b = integrer(g, true);
    EXPECT_TRUE(b.statut()) << qPrintable(b.erreur);
    EXPECT_EQ(b.stationsPurgees, 2);
    EXPECT_EQ(lignes("SELECT a.Resultat FROM ANALYSES_BSS001 a ORDER BY a.Resultat"),
              QStringList({"1", "3"}));
    EXPECT_EQ(lignes("SELECT a.Resultat FROM ANALYSES_BSS002 a"), QStringList({"2"}));
    EXPECT_EQ(valeur("SELECT count(*) FROM PRELEVEMENTS").toInt(), 3);
}

// Replace mode stops at a bad row: the station's purge and its rows are undone, its old data
// are all there.
TEST_P(IntegrationAnalysesTest, LigneFausseEnRemplacementGardeLesAnciennesDonnees)
{
    GrilleImport ancien;
    ligne(ancien, "BSS001", "01/01/2020", "1340", "99");
    ligne(ancien, "BSS001", "02/01/2020", "1301", "98", "27");
    ASSERT_TRUE(integrer(ancien).statut());
    const QStringList avant = etat({"ANALYSES_BSS001"});
    GrilleImport g;
    ligne(g, "BSS001", "03/05/2021", "1340", "1");
    ligne(g, "BSS001", "31/02/2021", "1340", "2");
    ligne(g, "BSS001", "05/05/2021", "1340", "3");
    const BilanAnalyses b = integrer(g, true);
    EXPECT_FALSE(b.statut());
    EXPECT_TRUE(b.interrompu);
    EXPECT_EQ(b.erreur,
              QStringLiteral("Erreur ligne: codeBSS: BSS001 - Date: 31/02/2021 - "
                             "Paramètre: 1340 : la date de prélèvement n'est pas une date"));
    EXPECT_EQ(etat({"ANALYSES_BSS001"}), avant);
}

// Add mode: bad rows are skipped and reported with where they came from, the others go in; a
// value longer than its column is refused alike on both engines.
TEST_P(IntegrationAnalysesTest, LignesFaussesSignaleesEtSautees)
{
    GrilleImport g;
    ligne(g, "BSS001", "pas une date", "1340", "1");
    ligne(g, "BSS001", "03/05/2021", "1340", "abc");
    ligne(g, "BSS001", "03/05/2021", "1340", "2", "162",
          {{C::NumeroAnalyse, "NUMERO-LABO-TROP-LONG-25"}});
    ligne(g, "BSS001", "03/05/2021", "1301", "3", "27");
    const BilanAnalyses b = integrer(g);
    EXPECT_FALSE(b.statut());
    EXPECT_EQ(b.analysesAjoutees, 1);
    ASSERT_EQ(b.lignesEnErreur.size(), 3);
    EXPECT_EQ(b.lignesEnErreur[0].origine, QStringLiteral("ligne 2"));
    EXPECT_EQ(b.lignesEnErreur[0].raison,
              QStringLiteral("Erreur ligne: codeBSS: BSS001 - Date: pas une date - Paramètre: "
                             "1340 : la date de prélèvement n'est pas une date"));
    EXPECT_TRUE(b.lignesEnErreur[1].raison.endsWith(
        QStringLiteral("la valeur « abc » de la colonne Resultat n'est pas un nombre")));
    EXPECT_TRUE(b.lignesEnErreur[2].raison.endsWith(
        QStringLiteral("la valeur « NUMERO-LABO-TROP-LONG-25 » dépasse la taille de la colonne "
                       "NumLabo (20 caractères)")));
    EXPECT_EQ(b.erreur, b.lignesEnErreur[0].raison + " (et 2 autre(s) ligne(s) en erreur)");
    EXPECT_EQ(analyses("BSS001"), QStringList({"1|0|0|1301|27||3"}));
}

// The analysis date is read on each row: a text met again gives the same verdict, and each good
// date goes in as its own.
TEST_P(IntegrationAnalysesTest, DateDAnalyseLueSurChaqueLigne)
{
    GrilleImport g;
    for (const auto &[parametre, date] : {std::pair{"1340", "32/05/2021"},
                                          {"1301", "32/05/2021"},
                                          {"1302", "04/05/2021"},
                                          {"1303", "32/05/2021"},
                                          {"1304", "05/05/2021"}})
        ligne(g, "BSS001", "03/05/2021", parametre, "1", "162", {{C::DateAnalyse, date}});
    const BilanAnalyses b = integrer(g);
    EXPECT_EQ(b.analysesAjoutees, 2);
    QStringList raisons;
    for (const LigneEnErreur &e : b.lignesEnErreur)
        raisons << e.origine + " " + e.raison;
    auto raison = [](int ligne, const char *parametre) {
        return QStringLiteral("ligne %1 Erreur ligne: codeBSS: BSS001 - Date: 03/05/2021 - "
                              "Paramètre: %2 : la date « 32/05/2021 » de la colonne DateAnalyse "
                              "n'est pas une date")
            .arg(ligne)
            .arg(QString::fromLatin1(parametre));
    };
    EXPECT_EQ(raisons, QStringList({raison(2, "1340"), raison(3, "1301"), raison(5, "1303")}));
    EXPECT_EQ(lignes("SELECT CodeParametre, DateAnalyse FROM ANALYSES_BSS001 ORDER BY "
                     "CodeParametre"),
              QStringList({"1302|04/05/2021", "1304|05/05/2021"}));
}

// A check runs everything and leaves every table as it was, with what it would have created.
TEST_P(IntegrationAnalysesTest, ControleSansEcriture)
{
    station(1, "BSS001");
    const QStringList avant = etat({"ANALYSES_BSS001", "ANALYSES_BSS009"});
    const QStringList tables = bd().tables();
    GrilleImport g;
    ligne(g, "BSS001", "03/05/2021", "1340", "1", "162", {{C::CodeLabo, "LABO-NOUVEAU"}});
    ligne(g, "BSS009", "03/05/2021", "1340", "2");
    OptionsIntegration o;
    o.controle = true;
    o.creerIntervenants = true;
    const BilanAnalyses b = integrerAnalyses(g, o, progressionNulle());
    EXPECT_TRUE(b.statut()) << qPrintable(b.erreur);
    EXPECT_EQ(b.stationsCreees, QStringList({"BSS009"}));
    EXPECT_EQ(b.analysesAjoutees, 2);
    EXPECT_EQ(b.prelevementsCrees, 2);
    EXPECT_EQ(b.intervenantsCrees, QStringList({"LABO-NOUVEAU"}));
    EXPECT_EQ(b.parametresCrees, QStringList({"1340"}));
    EXPECT_EQ(etat({"ANALYSES_BSS001", "ANALYSES_BSS009"}), avant);
    EXPECT_EQ(bd().tables(), tables);
}

// Missing organisations: the questions are asked through the functions given; No to all then
// Yes to one creates it and lists it; a later refusal stops the run.
TEST_P(IntegrationAnalysesTest, IntervenantsManquantsSelonLesReponses)
{
    ASSERT_TRUE(executer("INSERT INTO INTERVENANTS (CodeIntervenant, Nom, SIRET, CodeSandre) "
                         "VALUES (5, 'Labo connu', '12345678900011', 'S5')"));
    GrilleImport g;
    ligne(g, "BSS001", "03/05/2021", "1340", "1", "162",
          {{C::CodeLabo, "12345678900011"}, {C::CodeProducteur, "S5"}, {C::OrigineInterv, "2"}});
    ligne(g, "BSS001", "03/05/2021", "1301", "2", "27", {{C::CodeLabo, "\"NOUVEAU 1\""}});
    ligne(g, "BSS001", "03/05/2021", "1302", "3", "27", {{C::CodeLabo, "NOUVEAU2"}});
    QStringList questions;
    ReponsesIntegration r;
    r.creerTousIntervenants = [&](const QString &q) {
        questions << q;
        return false;
    };
    r.creerIntervenant = [&](const QString &q) {
        questions << q;
        return questions.size() < 3;
    };
    OptionsIntegration o;
    const BilanAnalyses b = integrerAnalyses(g, o, progressionNulle(), r);
    EXPECT_EQ(questions,
              QStringList({"Voulez vous intégrer automatiquement tous les intervenants manquants ?",
                           "Le code NOUVEAU1 n'a pas été trouvé. Voulez vous l'ajouter comme "
                           "intervenant ?",
                           "Le code NOUVEAU2 n'a pas été trouvé. Voulez vous l'ajouter comme "
                           "intervenant ?"}));
    EXPECT_TRUE(b.interrompu);
    EXPECT_EQ(b.erreur, QStringLiteral("L'intégration va être arretée."));
    EXPECT_EQ(b.intervenantsCrees, QStringList({"NOUVEAU1"}));
    EXPECT_EQ(b.messageIntervenants,
              QStringLiteral("Les intervenants suivants ont été automatiquement créés: NOUVEAU1"));
    EXPECT_EQ(lignes("SELECT CodeIntervenant, Nom, SIRET FROM INTERVENANTS ORDER BY 1"),
              QStringList({"5|Labo connu|12345678900011", "6|NOUVEAU1|NOUVEAU1"}));
    EXPECT_EQ(lignes("SELECT CodeParametre, CodeLabo, CodeProducteur FROM ANALYSES_BSS001 ORDER "
                     "BY 1"),
              QStringList({"1301|6|", "1340|5|5"}));
}

// Laboratory messages: each sample takes its own request code, the argument is the fallback;
// the sample's main columns come from its analyses when they all agree; operations carry the
// execution.
TEST_P(IntegrationAnalysesTest, DemandeParPrelevementEtColonnesPrincipales)
{
    GrilleImport g;
    ligne(g, "BSS001", "03/05/2021", "1340", "1", "162",
          {{C::NumeroAnalyse, "DEM-A"}, {C::ReferenceLabo, "R1"}, {C::CodeFraction, "23"}});
    ligne(g, "BSS001", "03/05/2021", "1301", "2", "27",
          {{C::ReferenceLabo, "R1"}, {C::CodeFraction, "3"}});
    ligne(g, "BSS001", "04/05/2021", "1340", "3");
    OptionsIntegration o;
    o.demandeParLigne = true;
    o.codeDemande = "DEM-DEFAUT";
    o.execution = 42;
    const BilanAnalyses b = integrerAnalyses(g, o, progressionNulle());
    EXPECT_TRUE(b.statut()) << qPrintable(b.erreur);
    EXPECT_EQ(lignes("SELECT NumPrelevement, codeDemande, ReferenceLaboPrincipal, "
                     "CodeFractionPrincipal FROM PRELEVEMENTS ORDER BY 1"),
              QStringList({"0|DEM-A|R1|", "1|DEM-DEFAUT||"}));
    EXPECT_EQ(lignes("SELECT codeOperation, jobExecutionId FROM QUALITOMETRES_POINTS_OPERATIONS "
                     "ORDER BY 1"),
              QStringList({"0|42", "1|42"}));
    EXPECT_EQ(lignes("SELECT NumLabo FROM ANALYSES_BSS001 WHERE NumLabo IS NOT NULL"),
              QStringList());
    EXPECT_EQ(lignes("SELECT code, actif FROM ANALYSES_PARAMETRES ORDER BY 1"),
              QStringList({"1301|1", "1340|1"}));
}

// A stored sample takes its main columns again from all its analyses, whether the file rewrites
// every one of them or only some; where they disagree, the stored value stays. The operation
// follows its samples. A second run of the same file changes nothing.
TEST_P(IntegrationAnalysesTest, ColonnesPrincipalesDesPrelevementsDejaStockes)
{
    GrilleImport g;
    for (const char *jour : {"03/05/2021", "04/05/2021", "05/05/2021"})
        for (const char *parametre : {"1340", "1301"})
            ligne(g, "BSS001", jour, parametre, "1", "162",
                  {{C::ReferenceLabo, "R1"}, {C::NumeroAnalyse, "N1"}});
    ASSERT_TRUE(integrer(g).statut());
    ASSERT_TRUE(executer("UPDATE PRELEVEMENTS SET ReferenceLaboPrincipal='avant', "
                         "NumLaboPrincipal='avant'"));
    ASSERT_TRUE(executer("UPDATE QUALITOMETRES_POINTS_OPERATIONS SET qualification=9"));

    GrilleImport suite; // the first and third samples whole, one analysis of the second
    for (const char *jour : {"03/05/2021", "05/05/2021"}) {
        ligne(suite, "BSS001", jour, "1340", "2", "162",
              {{C::ReferenceLabo, "R9"}, {C::NumeroAnalyse, "N9"}, {C::Qualification, "3"}});
        ligne(suite, "BSS001", jour, "1301", "2", "162",
              {{C::ReferenceLabo, "R9"}, {C::NumeroAnalyse, "N8"}, {C::Qualification, "3"}});
    }
    ligne(suite, "BSS001", "04/05/2021", "1340", "2", "162",
          {{C::ReferenceLabo, "R3"}, {C::NumeroAnalyse, "N1"}, {C::Qualification, "4"}});
    OptionsIntegration o;
    o.creerIntervenants = true;
    o.execution = 7;
    const BilanAnalyses b = integrerAnalyses(suite, o, progressionNulle());
    EXPECT_TRUE(b.statut()) << qPrintable(b.erreur);
    EXPECT_EQ(b.analysesReecrites, 5);
    const QString prelevements = QStringLiteral(
        "SELECT NumPrelevement, ReferenceLaboPrincipal, NumLaboPrincipal FROM PRELEVEMENTS ORDER "
        "BY 1");
    const QString operations =
        QStringLiteral("SELECT codeOperation, qualification, jobExecutionId FROM "
                       "QUALITOMETRES_POINTS_OPERATIONS ORDER BY 1");
    EXPECT_EQ(lignes(prelevements), QStringList({"0|R9|avant", "1|avant|N1", "2|R9|avant"}));
    EXPECT_EQ(lignes(operations), QStringList({"0|3|7", "1|9|7", "2|3|7"}));
    const QStringList avant = etat({"ANALYSES_BSS001"});

    EXPECT_TRUE(integrerAnalyses(suite, o, progressionNulle()).statut());
    EXPECT_EQ(lignes(prelevements), QStringList({"0|R9|avant", "1|avant|N1", "2|R9|avant"}));
    EXPECT_EQ(etat({"ANALYSES_BSS001"}), avant);
}

// The same file again puts back every main column that differs from what its analyses agree on,
// however slightly (case, a trailing blank, a NULL where a value is due), and leaves the others
// as they are.
TEST_P(IntegrationAnalysesTest, ColonnesPrincipalesRemisesAuPresQuePres)
{
    GrilleImport g;
    for (const char *jour : {"03/05/2021", "04/05/2021", "05/05/2021"})
        for (const char *parametre : {"1340", "1301"})
            ligne(g, "BSS001", jour, parametre, "1", "162",
                  {{C::ReferenceLabo, jour[1] == '5' ? "R2" : "R1"}, {C::CodeFraction, "23"}});
    OptionsIntegration o;
    o.creerIntervenants = true;
    o.execution = 7;
    ASSERT_TRUE(integrerAnalyses(g, o, progressionNulle()).statut());
    ASSERT_TRUE(executer("UPDATE PRELEVEMENTS SET ReferenceLaboPrincipal='r1' WHERE "
                         "NumPrelevement=0"));
    ASSERT_TRUE(executer("UPDATE PRELEVEMENTS SET ReferenceLaboPrincipal='R1 ', "
                         "CodeFractionPrincipal=NULL WHERE NumPrelevement=1"));
    ASSERT_TRUE(executer("UPDATE QUALITOMETRES_POINTS_OPERATIONS SET jobExecutionId=NULL WHERE "
                         "codeOperation=0"));
    ASSERT_TRUE(executer("UPDATE QUALITOMETRES_POINTS_OPERATIONS SET jobExecutionId=8 WHERE "
                         "codeOperation=2"));
    const QString prelevements =
        QStringLiteral("SELECT NumPrelevement, '[' || ReferenceLaboPrincipal || ']', "
                       "CodeFractionPrincipal FROM PRELEVEMENTS ORDER BY 1");
    const QString operations = QStringLiteral(
        "SELECT codeOperation, jobExecutionId FROM QUALITOMETRES_POINTS_OPERATIONS ORDER BY 1");
    ASSERT_EQ(lignes(prelevements), QStringList({"0|[r1]|23", "1|[R1 ]|", "2|[R2]|23"}));

    const BilanAnalyses b = integrerAnalyses(g, o, progressionNulle());
    EXPECT_TRUE(b.statut()) << qPrintable(b.erreur);
    EXPECT_EQ(b.analysesReecrites, 6);
    EXPECT_EQ(lignes(prelevements), QStringList({"0|[R1]|23", "1|[R1]|23", "2|[R2]|23"}));
    EXPECT_EQ(lignes(operations), QStringList({"0|7", "1|7", "2|7"}));
}

// A main column is set only when every analysis of the sample carries the same value: one that
// differs, or carries none, leaves it empty, however many columns part at the same analysis.
TEST_P(IntegrationAnalysesTest, ColonnesPrincipalesSeulementQuandToutesLesAnalysesSAccordent)
{
    GrilleImport g;
    ligne(g, "BSS001", "03/05/2021", "1340", "1", "162",
          {{C::ReferenceLabo, "R1"}, {C::CodeFraction, "23"}, {C::NumeroAnalyse, "N1"}});
    ligne(g, "BSS001", "03/05/2021", "1301", "2", "162",
          {{C::ReferenceLabo, "R1"}, {C::CodeFraction, "3"}});
    ligne(g, "BSS001", "03/05/2021", "1302", "3", "162",
          {{C::ReferenceLabo, "R1"}, {C::CodeFraction, "23"}, {C::NumeroAnalyse, "N1"}});
    ligne(g, "BSS001", "04/05/2021", "1340", "4", "162",
          {{C::CodeFraction, "23"}, {C::NumeroAnalyse, "N2"}});
    ligne(g, "BSS001", "04/05/2021", "1301", "5", "162",
          {{C::ReferenceLabo, "R2"}, {C::CodeFraction, "23"}, {C::NumeroAnalyse, "N2"}});
    const BilanAnalyses b = integrer(g);
    EXPECT_TRUE(b.statut()) << qPrintable(b.erreur);
    const QString prelevements =
        QStringLiteral("SELECT NumPrelevement, ReferenceLaboPrincipal, CodeFractionPrincipal, "
                       "NumLaboPrincipal FROM PRELEVEMENTS ORDER BY 1");
    EXPECT_EQ(lignes(prelevements), QStringList({"0|R1||", "1||23|N2"}));
    // The same file again rewrites every analysis: the stored samples come out the same.
    EXPECT_TRUE(integrer(g).statut());
    EXPECT_EQ(lignes(prelevements), QStringList({"0|R1||", "1||23|N2"}));
}

// Samples and operations the file does not name keep their main columns, even numbered between
// runs of those it names.
TEST_P(IntegrationAnalysesTest, ClotureLimiteeAuxPrelevementsDuFichier)
{
    auto fichier = [this](const QList<int> &jours, const char *reference, const char *qualif) {
        GrilleImport g;
        for (const int jour : jours)
            ligne(g, "BSS001", QStringLiteral("%1/05/2021").arg(jour, 2, 10, QChar(u'0')), "1340",
                  "1", "162", {{C::ReferenceLabo, reference}, {C::Qualification, qualif}});
        return g;
    };
    ASSERT_TRUE(integrer(fichier({3, 4, 5, 6, 7, 8, 9, 10}, "R1", "2")).statut());
    const BilanAnalyses b = integrer(fichier({3, 4, 5, 7, 8, 9, 10}, "R9", "3"));
    EXPECT_TRUE(b.statut()) << qPrintable(b.erreur);
    EXPECT_EQ(b.analysesReecrites, 7);
    EXPECT_EQ(lignes("SELECT NumPrelevement, ReferenceLaboPrincipal FROM PRELEVEMENTS ORDER BY 1"),
              QStringList({"0|R9", "1|R9", "2|R9", "3|R1", "4|R9", "5|R9", "6|R9", "7|R9"}));
    EXPECT_EQ(lignes("SELECT codeOperation, qualification FROM QUALITOMETRES_POINTS_OPERATIONS "
                     "ORDER BY 1"),
              QStringList({"0|3", "1|3", "2|3", "3|2", "4|3", "5|3", "6|3", "7|3"}));
}

VYK_SUR_LES_DEUX_MOTEURS(IntegrationAnalysesTest);

} // namespace
