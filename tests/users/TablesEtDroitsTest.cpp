#include "db/Session.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"
#include "users/AccesStations.h"
#include "users/GestionUtilisateurs.h"
#include "users/Habilitations.h"
#include "users/TablesUtilisateurs.h"

#include "support/Affichage.h"
#include "support/BaseTest.h"

#include <QDate>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class TablesEtDroitsTest : public BaseTest
{
  protected:
    void ouvrirSession(const QString &login, bool admin = false)
    {
        session().vider();
        session().login = login;
        session().administrateur = admin;
    }
    void accorder(const QString &login, const QString &droit)
    {
        ASSERT_TRUE(
            executer(QStringLiteral(
                         "INSERT INTO UTILISATEURS_HABILITATIONS (login, habilitation) VALUES ('") +
                     login + QStringLiteral("', '") + droit + QStringLiteral("')")));
    }
    // Stations and network memberships: today is the reference date of the grants.
    void creerReseaux()
    {
        ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE QUALITOMETRES (CodeQualitometre Double, "
                                            "CodeBSS Text(17), Nom Text(70))")));
        ASSERT_TRUE(executer(QStringLiteral(
            "CREATE TABLE LIEN_QUALITO_RESEAUX (CodeQualitometre Double, CodeReseau Short, "
            "DateDebut DateTime, DateFin DateTime)")));
        for (int code = 1; code <= 7; ++code)
            ASSERT_TRUE(executer(
                QStringLiteral("INSERT INTO QUALITOMETRES VALUES (%1, 'S%1', 'Station %1')")
                    .arg(code)));
        const QDate j = QDate::currentDate();
        const auto d = [](QDate date) {
            return QStringLiteral("#%1#").arg(date.toString(QStringLiteral("MM/dd/yyyy")));
        };
        const QString lignes[] = {
            QStringLiteral("1, 10, %1, NULL").arg(d(j.addYears(-2))), // open membership
            QStringLiteral("2, 10, %1, %2")
                .arg(d(j.addYears(-2)), d(j.addDays(-1))), // left yesterday
            QStringLiteral("3, 10, %1, %2")
                .arg(d(j.addYears(-2)), d(j.addDays(1))),             // leaves tomorrow
            QStringLiteral("4, 10, %1, NULL").arg(d(j.addDays(1))),   // joins tomorrow
            QStringLiteral("5, 20, NULL, NULL"),                      // start unknown
            QStringLiteral("1, 20, %1, NULL").arg(d(j.addYears(-1))), // in both networks
            QStringLiteral("6, 30, %1, NULL").arg(d(j.addYears(-1))), // network not granted
        };
        for (const QString &l : lignes)
            ASSERT_TRUE(
                executer(QStringLiteral("INSERT INTO LIEN_QUALITO_RESEAUX VALUES (") + l + u')'));
    }
    QStringList stationsVisibles()
    {
        QString sql = QStringLiteral("SELECT Qualitometres.CodeQualitometre FROM Qualitometres");
        const QString condition = conditionAccesStations();
        if (!condition.isEmpty()) sql += QStringLiteral(" WHERE ") + condition;
        return lignes(sql + QStringLiteral(" ORDER BY Qualitometres.CodeQualitometre"));
    }
    QStringList grants(const QString &login)
    {
        return lignes(QStringLiteral("SELECT identifiant, typeStation, modeSelect FROM "
                                     "UTILISATEURS_STATIONS WHERE login='") +
                      login + QStringLiteral("' ORDER BY modeSelect, cint(identifiant)"));
    }
};

TEST_P(TablesEtDroitsTest, CreationDesTablesEtAdministrateurParDefautUneSeuleFois)
{
    ASSERT_TRUE(assurerTablesUtilisateurs());
    ASSERT_TRUE(assurerTablesUtilisateurs());
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT login, password, isAdmin, nom, codeIntervenant, metadata, filtrePiezo, "
                  "filtreQualito, filtrePluvio, filtreHydro, codeContact FROM UTILISATEURS")),
              QStringList({"ADMIN|KOBAL|1|Administrateur||1|||||"}));
    for (const char *c : {"login", "habilitation"})
        EXPECT_TRUE(bd().colonneExiste(QStringLiteral("UTILISATEURS_HABILITATIONS"),
                                       QString::fromLatin1(c)));
    EXPECT_EQ(bd().colonnes(QStringLiteral("UTILISATEURS_STATIONS")).join(u',').toLower(),
              QStringLiteral("login,typestation,identifiant,modeselect"));

    // A table emptied by hand would lock everyone out: the default administrator comes back.
    ASSERT_TRUE(executer(QStringLiteral("DELETE FROM UTILISATEURS")));
    ASSERT_TRUE(assurerTablesUtilisateurs());
    EXPECT_EQ(lignes(QStringLiteral("SELECT login FROM UTILISATEURS")), QStringList({"ADMIN"}));
}

TEST_P(TablesEtDroitsTest, AncienneTableSansMetadataGardeSesComptes)
{
    ASSERT_TRUE(executer(QStringLiteral(
        "CREATE TABLE UTILISATEURS (login Text(12), password Text(12), isAdmin Text(1), "
        "nom Text(255), codeIntervenant Double)")));
    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO UTILISATEURS VALUES ('CHEF', 'secret', '1', 'Chef', 3)")));
    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO UTILISATEURS VALUES ('AGENT', 'x1', '0', 'Agent', NULL)")));
    ASSERT_TRUE(executer(
        QStringLiteral("CREATE TABLE UTILISATEURS_STATIONS (login Text(12), typeStation Text(12), "
                       "identifiant Text(70))")));
    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO UTILISATEURS_STATIONS VALUES ('AGENT', 'QUALITO', '8')")));
    // A mode column too narrow for 'QUALITO_NETWORK' (the servers enforce the width).
    ASSERT_TRUE(
        executer(QStringLiteral("ALTER TABLE UTILISATEURS_STATIONS ADD modeSelect Text(10)")));
    ASSERT_TRUE(executer(QStringLiteral("UPDATE UTILISATEURS_STATIONS SET modeSelect = 'SINGLE'")));

    ASSERT_TRUE(assurerTablesUtilisateurs());
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT login, password, isAdmin, nom, codeIntervenant, metadata, filtreQualito, "
                  "codeContact FROM UTILISATEURS ORDER BY login")),
              QStringList({"AGENT|x1|0|Agent||||", "CHEF|secret|1|Chef|3|1||"}));
    EXPECT_TRUE(bd().tableExiste(QStringLiteral("UTILISATEURS_HABILITATIONS")));
    EXPECT_EQ(grants(QStringLiteral("AGENT")), QStringList({"8|QUALITO|SINGLE"}));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO UTILISATEURS_STATIONS VALUES ('AGENT', 'QUALITO', '9', 'QUALITO_NETWORK')")));
}

// The same older tables brought up to date by an upgrade run before any login (vyk-cli
// upgrade, an unattended import): the stations granted one by one stay 'SINGLE' grants that the
// administration lists and removes, and the administrators keep the reference editing.
TEST_P(TablesEtDroitsTest, UneMiseAJourAvantToutLoginGardeLesStationsAccordees)
{
    for (const char *sql :
         {"CREATE TABLE UTILISATEURS (login Text(12), password Text(12), isAdmin Text(1), "
          "nom Text(255), codeIntervenant Double)",
          "INSERT INTO UTILISATEURS VALUES ('CHEF', 'secret', '1', 'Chef', 3)",
          "INSERT INTO UTILISATEURS VALUES ('AGENT', 'x1', '0', 'Agent', NULL)",
          "CREATE TABLE UTILISATEURS_STATIONS (login Text(12), typeStation Text(12), "
          "identifiant Text(70))",
          "INSERT INTO UTILISATEURS_STATIONS VALUES ('AGENT', 'QUALITO', '8')",
          "INSERT INTO UTILISATEURS_STATIONS VALUES ('AGENT', 'QUALITO', '9')",
          "INSERT INTO UTILISATEURS_STATIONS VALUES ('AGENT', 'PIEZO', '8')"})
        ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;

    ASSERT_TRUE(mettreAJourBase(versionProgramme()));
    ASSERT_TRUE(assurerTablesUtilisateurs());
    EXPECT_EQ(lignes(QStringLiteral("SELECT login, isAdmin, metadata FROM UTILISATEURS ORDER BY "
                                    "login")),
              QStringList({"AGENT|0|", "CHEF|1|1"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT identifiant, typeStation, modeSelect FROM "
                                    "UTILISATEURS_STATIONS ORDER BY typeStation, identifiant")),
              QStringList({"8|PIEZO|SINGLE", "8|QUALITO|SINGLE", "9|QUALITO|SINGLE"}));

    GestionUtilisateurs gestion;
    QList<qint64> codes;
    for (const StationAccordee &s : gestion.stations(QStringLiteral("AGENT")))
        codes << s.code;
    EXPECT_EQ(codes, QList<qint64>({8, 9}));
    ASSERT_TRUE(gestion.retirerStation(QStringLiteral("AGENT"), 8));
    ASSERT_TRUE(retirerStationSupprimee(9));
    EXPECT_EQ(grants(QStringLiteral("AGENT")), QStringList({"8|PIEZO|SINGLE"}));

    // A second upgrade leaves the grants as they are.
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO UTILISATEURS_STATIONS VALUES ('AGENT', 'QUALITO', '3', 'QUALITO_NETWORK')")));
    ASSERT_TRUE(mettreAJourBase(versionProgramme()));
    EXPECT_EQ(grants(QStringLiteral("AGENT")),
              QStringList({"3|QUALITO|QUALITO_NETWORK", "8|PIEZO|SINGLE"}));
}

TEST_P(TablesEtDroitsTest, HabilitationsExactesEtPrefixes)
{
    ASSERT_TRUE(assurerTablesUtilisateurs());
    accorder(QStringLiteral("TECH"), QStringLiteral("MAT_MODEMS"));
    accorder(QStringLiteral("TECH"), QStringLiteral("QUALITO_FICHE_MODIF"));
    accorder(QStringLiteral("MAGA"), QStringLiteral("MAT_CLES"));

    ouvrirSession(QStringLiteral("TECH"));
    EXPECT_TRUE(estHabilite(QStringLiteral("MAT_*")));
    EXPECT_TRUE(estHabilite(droit::QUALITO_FICHE_MODIF));
    EXPECT_FALSE(estHabilite(droit::QUALITO_FICHE_SUPPR));
    EXPECT_FALSE(
        estHabilite(QStringLiteral("QUALITO_FICHE"))); // a right is not a prefix of another
    EXPECT_EQ(session().habilitations, QStringLiteral(",MAT_MODEMS,QUALITO_FICHE_MODIF,"));

    ouvrirSession(QStringLiteral("MAGA"));
    EXPECT_FALSE(possedeHabilitation(QStringLiteral("MAT_CLE")));
    EXPECT_TRUE(possedeHabilitation(QStringLiteral("MAT_CLES")));
    EXPECT_TRUE(possedeHabilitation(QStringLiteral("MAT_CLE*")));
    EXPECT_FALSE(possedeHabilitation(QStringLiteral("CARTO_*")));

    // Read once: a right granted afterwards counts only after a new reading.
    accorder(QStringLiteral("MAGA"), QStringLiteral("CARTO_QUALITO"));
    EXPECT_FALSE(estHabilite(droit::CARTO_QUALITO));
    rechargerHabilitations();
    EXPECT_TRUE(estHabilite(droit::CARTO_QUALITO));

    // A prefix matches from the start of a right, never inside one.
    accorder(QStringLiteral("CARTO"), QStringLiteral("CARTO_PIEZO"));
    ouvrirSession(QStringLiteral("CARTO"));
    EXPECT_FALSE(possedeHabilitation(QStringLiteral("PIEZO_*")));
    EXPECT_FALSE(estHabilite(QStringLiteral("PIEZO_*")));
    EXPECT_TRUE(possedeHabilitation(QStringLiteral("CARTO_*")));

    // The administrator passes every test; nobody passes before a login.
    ouvrirSession(QStringLiteral("ADMIN"), true);
    EXPECT_TRUE(estHabilite(droit::QUALITO_FICHE_SUPPR));
    EXPECT_FALSE(possedeHabilitation(droit::QUALITO_FICHE_SUPPR));
    session().vider();
    EXPECT_FALSE(estHabilite(droit::QUALITO_FICHE_MODIF));

    EXPECT_TRUE(estHabilitationConnue(QStringLiteral("QUALITO_NETWORK_12")));
    EXPECT_TRUE(estHabilitationConnue(QStringLiteral("PIEZO_AEP")));
    EXPECT_FALSE(estHabilitationConnue(QStringLiteral("QUALITO_NETWORK_X")));
    EXPECT_FALSE(estHabilitationConnue(QStringLiteral("QUALITO_TOUT")));
}

TEST_P(TablesEtDroitsTest, AccesParReseauxDuJour)
{
    ASSERT_TRUE(assurerTablesUtilisateurs());
    creerReseaux();
    accorder(QStringLiteral("AGENT"), QStringLiteral("QUALITO_NETWORK_10"));
    accorder(QStringLiteral("AGENT"), QStringLiteral("QUALITO_NETWORK_20"));
    ouvrirSession(QStringLiteral("AGENT"));

    ASSERT_TRUE(accorderStation(7));
    ASSERT_TRUE(accorderStation(7)); // idempotent
    EXPECT_TRUE(estAccesRestreint());
    // 1 (twice a member, once granted), 3 (leaves tomorrow), 5 (start unknown); not 2 (left
    // yesterday), 4 (joins tomorrow), 6 (network not granted); 7 by hand.
    EXPECT_EQ(grants(QStringLiteral("AGENT")),
              QStringList({"1|QUALITO|QUALITO_NETWORK", "3|QUALITO|QUALITO_NETWORK",
                           "5|QUALITO|QUALITO_NETWORK", "7|QUALITO|SINGLE"}));
    EXPECT_EQ(stationsVisibles(), QStringList({"1", "3", "5", "7"}));
    EXPECT_TRUE(stationAccordee(7));
    EXPECT_FALSE(stationAccordee(2));

    // Network rows follow the memberships at the next test; the single grant stays.
    ASSERT_TRUE(executer(QStringLiteral("DELETE FROM LIEN_QUALITO_RESEAUX WHERE CodeReseau = 20")));
    EXPECT_EQ(stationsVisibles(), QStringList({"1", "3", "7"}));
    // Bypassed: full access at once, nothing rebuilt.
    ASSERT_TRUE(executer(QStringLiteral("DELETE FROM LIEN_QUALITO_RESEAUX")));
    EXPECT_FALSE(estAccesRestreint(true));
    EXPECT_EQ(grants(QStringLiteral("AGENT")).size(), 3);

    // The station is deleted: its single grants go for every user, derived rows stay.
    ASSERT_TRUE(accorderStation(QStringLiteral("AUTRE"), 7));
    ASSERT_TRUE(retirerStationSupprimee(7));
    EXPECT_TRUE(grants(QStringLiteral("AUTRE")).isEmpty());
    EXPECT_EQ(grants(QStringLiteral("AGENT")),
              QStringList({"1|QUALITO|QUALITO_NETWORK", "3|QUALITO|QUALITO_NETWORK"}));
}

TEST_P(TablesEtDroitsTest, AccesCompletEtAucunDroit)
{
    ASSERT_TRUE(assurerTablesUtilisateurs());
    creerReseaux();
    // Full access wins over the network rights and leaves no network row.
    accorder(QStringLiteral("CHEF"), QStringLiteral("QUALITO_ALL"));
    accorder(QStringLiteral("CHEF"), QStringLiteral("QUALITO_NETWORK_10"));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO UTILISATEURS_STATIONS VALUES ('CHEF', 'QUALITO', '2', 'QUALITO_NETWORK')")));
    ouvrirSession(QStringLiteral("CHEF"));
    EXPECT_FALSE(estAccesRestreint());
    EXPECT_TRUE(grants(QStringLiteral("CHEF")).isEmpty());
    EXPECT_TRUE(conditionAccesStations().isEmpty());
    EXPECT_EQ(stationsVisibles().size(), 7);

    // An administrator sees every station without any right.
    ouvrirSession(QStringLiteral("ADMIN"), true);
    EXPECT_FALSE(estAccesRestreint());
    EXPECT_EQ(stationsVisibles().size(), 7);

    // No right at all: an empty list.
    ouvrirSession(QStringLiteral("NOUVEAU"));
    EXPECT_TRUE(estAccesRestreint());
    EXPECT_TRUE(stationsVisibles().isEmpty());

    // A network right that is not a number reaches no statement; the others still count.
    accorder(QStringLiteral("MALIN"), QStringLiteral("QUALITO_NETWORK_10 OR 1=1"));
    accorder(QStringLiteral("MALIN"), QStringLiteral("QUALITO_NETWORK_20"));
    ouvrirSession(QStringLiteral("MALIN"));
    EXPECT_EQ(stationsVisibles(), QStringList({"1", "5"}));

    // Other modules: their own words, their own rows.
    accorder(QStringLiteral("MALIN"), QStringLiteral("PIEZO_ALL"));
    EXPECT_FALSE(estAccesRestreint(false, QStringLiteral("VYDA")));
    EXPECT_TRUE(estAccesRestreint(false, QStringLiteral("VYR")));
    EXPECT_EQ(grants(QStringLiteral("MALIN")).size(), 2);
}

VYK_SUR_LES_DEUX_MOTEURS(TablesEtDroitsTest);

} // namespace
