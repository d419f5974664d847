#include "campagnes/SuiviCampagne.h"
#include "campagnes/ExportCampagne.h"

#include "classeur/Classeur.h"

#include "campagnes/DonneesCampagnes.h"
#include "support/BaseTest.h"

#include <QFile>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

// The month columns of a period, without a database.
TEST(MoisCampagne, ColumnsFromStartMonthToEndMonthTitledMonthYear)
{
    Campagne c;
    c.fiche.dateDebut = "15/01/2026";
    c.fiche.dateFin = "10/03/2026";
    QString erreur;
    const TableSuivi t = calculerSuivi(c, VueSuivi::Prelevements, false, erreur);
    EXPECT_EQ(erreur, "");
    EXPECT_EQ(t.titres, QStringList({"codeSite", "Identifiant", "Station", "Dernier Passage",
                                     "Interventions", "01/26", "02/26", "03/26"}));
    EXPECT_EQ(moisCampagne(QDate(2025, 11, 30), QDate(2026, 2, 1)).size(), 4);
    EXPECT_EQ(moisCampagne(QDate(2026, 5, 31), QDate(2026, 5, 1)).size(), 0);
    EXPECT_EQ(moisCampagne(QDate(2026, 5, 3), QDate(2026, 5, 3)).size(), 1);

    // An end before the start is refused, not a negative count of columns.
    c.fiche.dateFin = "14/01/2026";
    EXPECT_TRUE(calculerSuivi(c, VueSuivi::Demandes, false, erreur).titres.isEmpty());
    EXPECT_EQ(erreur, "La date de fin de la campagne est antérieure à sa date de début.");
    c.fiche.dateFin = "";
    calculerSuivi(c, VueSuivi::Interventions, false, erreur);
    EXPECT_EQ(erreur, "Merci de renseigner les dates de la campagne");
}

TEST(MoisCampagne, DatesReadAsDayMonthYearOnly)
{
    EXPECT_EQ(dateCampagne(" 05/03/2026 "), QDate(2026, 3, 5));
    EXPECT_EQ(dateCampagne("05/03/2026 10:30:00"), QDate(2026, 3, 5));
    for (const char *t :
         {"5/3/2026", "2026-03-05", "31/02/2026", "05/13/2026", "05/03/20x6", "", "05/03/2026x"})
        EXPECT_FALSE(dateCampagne(t).isValid()) << t;
}

TEST(MoisCampagne, HiddenColumnsAndWidthsPerView)
{
    Campagne c;
    c.fiche.dateDebut = "01/01/2026";
    c.fiche.dateFin = "28/02/2026";
    c.parametres = {test::parametre("1340", "162")};
    QString erreur;
    const auto largeurs = [&](VueSuivi vue) {
        return calculerSuivi(c, vue, false, erreur).largeurs.mid(3);
    };
    EXPECT_EQ(largeurs(VueSuivi::Analyses), QVector<int>({0, 0, 6}));
    EXPECT_EQ(largeurs(VueSuivi::Prelevements), QVector<int>({0, 0, 6, 6}));
    EXPECT_EQ(largeurs(VueSuivi::Demandes), QVector<int>({0, 0, 12, 12}));
    EXPECT_EQ(largeurs(VueSuivi::Interventions), QVector<int>({13, 12, 6, 6}));
    VueSuivi v{};
    EXPECT_TRUE(vueSuiviDeNom("Interventions", v));
    EXPECT_EQ(v, VueSuivi::Interventions);
    EXPECT_FALSE(vueSuiviDeNom("visites", v));
}

class SuiviCampagneTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesCampagnes();
        test::ajouterStation(1, "S1", "Amont", {}, 2.35, 48.85, 16, 12);
        test::ajouterStation(2, "S2", "Aval", "P", 650000, 6860000, 26, 4);
        test::ajouterStation(3, "S3", "Source");
        campagne.fiche.code = "1";
        campagne.fiche.libelle = "C";
        campagne.fiche.dateDebut = "15/01/2026";
        campagne.fiche.dateFin = "10/03/2026";
        campagne.stations = stationsCampagne({"1", "2", "3"}, {});
        campagne.parametres = {test::parametre("1340", "162"), test::parametre("1301", "")};
    }
    QStringList rangs(VueSuivi vue, bool gestion = false)
    {
        QString erreur;
        table = calculerSuivi(campagne, vue, gestion, erreur);
        EXPECT_EQ(erreur, "");
        QStringList r;
        for (const QStringList &l : table.lignes)
            r << l.join('|');
        return r;
    }
    Campagne campagne;
    TableSuivi table;
};

TEST_P(SuiviCampagneTest, AnalysesCountedPerWantedParameterWithinPeriodAndIssuer)
{
    test::ajouterPrelevement(1, 1, "15/01/2026", 9);
    test::ajouterPrelevement(1, 2, "10/03/2026 16:30:00", 9); // the last day counts whole
    test::ajouterPrelevement(1, 3, "11/03/2026", 9);          // after the period
    test::ajouterPrelevement(1, 4, "01/02/2026", 8);          // another producer
    test::ajouterAnalyse("S1", 1, 1, 1, "1340", "162");
    test::ajouterAnalyse("S1", 1, 1, 2, "1301", "27");
    test::ajouterAnalyse("S1", 1, 2, 3, "1340", "162");
    test::ajouterAnalyse("S1", 1, 2, 4, "1340", "169"); // another unit than wanted
    test::ajouterAnalyse("S1", 1, 2, 5, "1301", "25");
    test::ajouterAnalyse("S1", 1, 3, 6, "1340", "162");
    test::ajouterAnalyse("S1", 1, 4, 7, "1340", "162");
    // Station 2's sample 1 has the same number as station 1's: only its own analyses count.
    test::ajouterPrelevement(2, 1, "20/01/2026", 9);
    test::ajouterAnalyse("S2", 2, 1, 1, "1301", "27");

    EXPECT_EQ(rangs(VueSuivi::Analyses),
              QStringList({"1|S1|Amont|||3|2", "2|S2/P|Aval|||0|1", "3|S3|Source|||0|0"}));
    EXPECT_EQ(table.titres.mid(5), QStringList({"1340 (162)", "1301"}));
    EXPECT_EQ(table.etats[1][5], EtatCellule::Manquant);
    EXPECT_EQ(table.etats[1][6], EtatCellule::Complet);

    campagne.fiche.codeIntervenant = "9";
    EXPECT_EQ(rangs(VueSuivi::Analyses)[0], "1|S1|Amont|||2|2");
}

TEST_P(SuiviCampagneTest, SamplesCountedPerMonthCompleteWhenEveryWantedParameter)
{
    test::ajouterPrelevement(1, 1, "16/01/2026");
    test::ajouterPrelevement(1, 2, "28/01/2026");
    test::ajouterPrelevement(1, 3, "05/03/2026");
    test::ajouterPrelevement(1, 4, "06/03/2026"); // no wanted parameter
    test::ajouterAnalyse("S1", 1, 1, 1, "1340", "162");
    test::ajouterAnalyse("S1", 1, 1, 2, "1301", "27");
    test::ajouterAnalyse("S1", 1, 2, 3, "1340", "162");
    test::ajouterAnalyse("S1", 1, 3, 4, "1301", "27");
    test::ajouterAnalyse("S1", 1, 4, 5, "1302", "27");
    EXPECT_EQ(rangs(VueSuivi::Prelevements),
              QStringList({"1|S1|Amont|||2||1", "2|S2/P|Aval|||||", "3|S3|Source|||||"}));
    EXPECT_EQ(table.etats[0][5], EtatCellule::Complet);
    EXPECT_EQ(table.etats[0][7], EtatCellule::Partiel);
}

TEST_P(SuiviCampagneTest, RequestsInForceMarkTheirMonthsAcrossAYearBoundary)
{
    campagne.fiche.dateDebut = "15/11/2025";
    campagne.fiche.dateFin = "20/02/2026";
    test::ajouterDemande(1, "Hiver", "10/12/2025", "15/01/2026", {1, 2});
    test::ajouterDemande(2, "Février", "01/02/2026", "28/02/2026", {1});
    test::ajouterDemande(3, "Ancienne", "01/01/2025", "31/10/2025", {1});
    test::ajouterDemande(4, "Printemps", "01/03/2026", "31/05/2026", {1});
    EXPECT_EQ(rangs(VueSuivi::Demandes),
              QStringList({"1|S1|Amont||||Hiver|Hiver|Février", "2|S2/P|Aval||||Hiver|Hiver|",
                           "3|S3|Source||||||"}));
    EXPECT_EQ(table.titres.mid(5), QStringList({"11/25", "12/25", "01/26", "02/26"}));
}

// Requests in force in one month share its cell, by start date then number; a label met twice in
// a cell (two requests of one name, a station listed twice in a request) is written once; a
// station listed twice in the campaign gets its labels on both rows.
TEST_P(SuiviCampagneTest, RequestsOfAMonthListedOnceEachByStartDate)
{
    campagne.fiche.dateDebut = "01/01/2026";
    campagne.fiche.dateFin = "28/02/2026";
    campagne.stations = stationsCampagne({"1", "2", "3", "1"}, {});
    test::ajouterDemande(7, "Tardive", "20/01/2026", "10/02/2026", {1});
    test::ajouterDemande(5, "Mensuelle", "01/01/2026", "31/01/2026", {1, 1, 2});
    test::ajouterDemande(9, "Ponctuelle", "15/01/2026", "16/01/2026", {1});
    test::ajouterDemande(6, "Ponctuelle", "01/01/2026", "05/01/2026", {1});
    test::ajouterDemande(8, "Mensuelle", "01/02/2026", "28/02/2026", {1});
    const QString station1 = "1|S1|Amont|||Mensuelle, Ponctuelle, Tardive|Tardive, Mensuelle";
    EXPECT_EQ(rangs(VueSuivi::Demandes),
              QStringList({station1, "2|S2/P|Aval|||Mensuelle|", "3|S3|Source||||", station1}));
    EXPECT_EQ(table.etats[3][5], EtatCellule::Complet);
    EXPECT_EQ(table.etats[2][5], EtatCellule::Neutre);
}

TEST_P(SuiviCampagneTest, InterventionsCountVisitsAndPlannedToursOfThePeriod)
{
    test::ajouterEvenement(1, 1, "03/02/2026", "G");
    test::ajouterEvenement(1, 2, "20/02/2026");
    test::ajouterEvenement(1, 3, "05/04/2026"); // after the period
    test::ajouterEvenement(2, 1, "16/01/2026", "G");
    test::ajouterEvenement(2, 2, "16/01/2026", "G");
    EXPECT_EQ(rangs(VueSuivi::Interventions),
              QStringList({"1|S1|Amont|20/02/2026|2||1|", "2|S2/P|Aval|16/01/2026|2|2||",
                           "3|S3|Source||0|||"}));
    // 12 tours a year over three months: 3 planned; 4 a year: 1.
    EXPECT_EQ(table.toursPrevus, QVector<int>({3, 1, 0}));
    EXPECT_EQ(table.etats[0][4], EtatCellule::Partiel);
    EXPECT_EQ(table.etats[1][4], EtatCellule::Complet);
    EXPECT_EQ(table.etats[2][4], EtatCellule::Neutre);

    EXPECT_EQ(rangs(VueSuivi::Interventions, true),
              QStringList({"1|S1|Amont|03/02/2026|1||1|", "2|S2/P|Aval|16/01/2026|2|2||",
                           "3|S3|Source||0|||"}));
}

TEST_P(SuiviCampagneTest, FollowUpExportedAsTextAndWorkbookWithoutHiddenColumns)
{
    test::ajouterDemande(1, "A;B \"1\"", "01/01/2026", "31/01/2026", {1});
    rangs(VueSuivi::Demandes);
    const QString csv = chemin("suivi.csv");
    QString erreur;
    ASSERT_TRUE(exporterSuivi(table, csv, &erreur)) << qPrintable(erreur);
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QStringLiteral("\uFEFFcodeSite;Identifiant;Station;01/26;02/26;03/26\r\n"
                                          "1;S1;Amont;\"A;B \"\"1\"\"\";;\r\n2;S2/P;Aval;;;\r\n"
                                          "3;S3;Source;;;\r\n")
                               .toUtf8());

    const QString ods = chemin(texteExportCampagne::FICHIER_SUIVI);
    ASSERT_TRUE(exporterSuivi(table, ods, &erreur)) << qPrintable(erreur);
    Classeur classeur;
    ASSERT_TRUE(classeur.ouvrir(ods)) << qPrintable(classeur.detail());
    EXPECT_EQ(classeur.format(), FormatClasseur::Ods);
    const Feuille *feuille = classeur.feuille(1);
    ASSERT_NE(feuille, nullptr);
    EXPECT_EQ(
        feuille->plage(1, 1, 2, 6),
        QVector<QStringList>({{"codeSite", "Identifiant", "Station", "01/26", "02/26", "03/26"},
                              {"1", "S1", "Amont", "A;B \"1\"", "", ""}}));
    EXPECT_EQ(feuille->derniereLigne(), 4);
}

TEST_P(SuiviCampagneTest, StationsExportedToTheMapOnlyWithWgs84Coordinates)
{
    // Station 2 is in Lambert 93 but has a WGS84 localisation; station 3 has nothing.
    ASSERT_TRUE(executer("INSERT INTO QUALITOMETRE_LOCALISATIONS (CodeQualitometre, "
                         "CodeProjection, X, Y) VALUES (2, 31, 2.5, 48.5)"));
    ASSERT_TRUE(executer("INSERT INTO QUALITOMETRE_LOCALISATIONS (CodeQualitometre, "
                         "CodeProjection, X, Y) VALUES (3, 40, 0, 45)"));
    const QVector<PlacemarkKml> p = stationsWgs84(campagne);
    ASSERT_EQ(p.size(), 2);
    EXPECT_EQ(p[0].nom, "S1 - Amont");
    EXPECT_DOUBLE_EQ(p[0].longitude, 2.35);
    EXPECT_EQ(p[1].nom, "S2/P - Aval");
    EXPECT_DOUBLE_EQ(p[1].latitude, 48.5);

    QString erreur;
    const QString kml = chemin("campagne.kml");
    ASSERT_TRUE(exporterStationsCarte(campagne, kml, &erreur)) << qPrintable(erreur);
    QFile f(kml);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray texte = f.readAll();
    EXPECT_TRUE(texte.contains("<coordinates>2.35,48.85</coordinates>"));
    EXPECT_FALSE(texte.contains("S3"));

    Campagne sansPosition = campagne;
    sansPosition.stations = stationsCampagne({"3"}, {});
    EXPECT_FALSE(exporterStationsCarte(sansPosition, kml, &erreur));
    EXPECT_EQ(erreur, "Les stations ne possèdent pas de coordonnées en WGS84 pour pouvoir être "
                      "exportés vers Google Maps");
    Campagne nonEnregistree = campagne;
    nonEnregistree.fiche.code.clear();
    EXPECT_FALSE(exporterStationsCarte(nonEnregistree, kml, &erreur));
    EXPECT_EQ(erreur, "Merci d'enregistrer votre campagne et d'insérer au minimum une station "
                      "avec d'exporter la liste.");
}

VYK_SUR_LES_DEUX_MOTEURS(SuiviCampagneTest);

} // namespace
