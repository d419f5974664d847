#include "monitoring/EvenementsQualito.h"
#include "classeur/Classeur.h"
#include "db/Session.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

#include <QFile>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class EvenementsQualitoTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        if (IsSkipped()) return;
        ASSERT_TRUE(verifierVersionBase(versionProgramme()));
        const char *lignes[] = {
            "INSERT INTO COMMUNES (CodeCommune, Nom) VALUES ('01004', 'Ambérieu')",
            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, CodeCommune) VALUES (1, "
            "'S1', 'Amont', 1004)",
            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (2, 'S2', 'Aval')",
            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (3, 'A0')",
            "INSERT INTO CONTACTS (CodeContact, Nom) VALUES (5, 'Martin')",
            "INSERT INTO CONTACTS (CodeContact, RaisonSocial) VALUES (6, 'Hydro SA')",
            "INSERT INTO CONTACTS (CodeContact, CodeCommune) VALUES (7, 1004)",
            "INSERT INTO CONTACTS (CodeContact, Nom) VALUES (8, 'Sans événement')",
            "INSERT INTO EVENEMENTS_QUALITO VALUES (1, 1, #03/10/2021#, 12.6, 'RAS; rien', '1', "
            "'1', '0', 'G', 'fuite', "
            "'joint changé', #12/30/1899 09:15:00#, '0', 1.5, 11.2, 20.1, 5, 3)",
            "INSERT INTO EVENEMENTS_QUALITO (CodeQualitometre, Numero, DateEvenement, type, "
            "Graphique, exportBanque, codeContact) "
            "VALUES (1, 2, #06/15/2021#, 'M', '0', '1', 6)",
            "INSERT INTO EVENEMENTS_QUALITO (CodeQualitometre, Numero, DateEvenement, codeContact) "
            "VALUES (1, 3, #01/01/2020#, 7)",
            "INSERT INTO EVENEMENTS_QUALITO (CodeQualitometre, Numero, DateEvenement, type, "
            "codeContact) "
            "VALUES (2, 1, #05/20/2021#, 'G', 5)",
        };
        for (const char *l : lignes)
            ASSERT_TRUE(executer(QString::fromUtf8(l))) << l << qPrintable(bd().derniereErreur());
    }

    // "station date" of each row, in grid order.
    QStringList resume(const CriteresEvenements &criteres)
    {
        EvenementsQualito e;
        const Tableau t = e.charger(criteres);
        QStringList r;
        for (int l = 0; l < t.nbLignes(); ++l) {
            const QStringList textes = EvenementsQualito::texteLigne(t, l);
            r << textes[0] + u' ' + textes[3];
        }
        return r;
    }
};

TEST_P(EvenementsQualitoTest, StationParStationLesPlusRecentsDAbord)
{
    CriteresEvenements c;
    c.stations = {"2", "1", "3"};
    EXPECT_EQ(resume(c),
              QStringList({"S2 20/05/2021", "S1 15/06/2021", "S1 10/03/2021", "S1 01/01/2020"}));
    EvenementsQualito e;
    const Tableau t = e.charger(c);
    ASSERT_EQ(t.nbColonnes(), EvenementsQualito::titresColonnes().size());
    EXPECT_EQ(
        EvenementsQualito::texteLigne(t, 2),
        QStringList({"S1",           "Amont", "Ambérieu", "10/03/2021", "09:15", "Gestion", "fuite",
                     "joint changé", "3",     "",         "1.5",        "Oui",   "12.6",    "Non",
                     "RAS; rien",    "Oui",   "Non",      "20.1",       "11.2",  "Martin"}));
    EXPECT_EQ(EvenementsQualito::texteLigne(t, 1)[5], QStringLiteral("Maintenance"));
    EXPECT_TRUE(e.stationsEnEchec().isEmpty());
}

TEST_P(EvenementsQualitoTest, FiltresDePeriodeTourneeMarquesEtContact)
{
    CriteresEvenements c;
    c.stations = {"1", "2"};
    c.dateDebut = "01/01/2021";
    c.dateFin = "31/05/2021";
    EXPECT_EQ(resume(c), QStringList({"S1 10/03/2021", "S2 20/05/2021"}));

    c = {};
    c.stations = {"1"};
    c.tourneeGestion = true;
    c.tourneeAutre = true;
    EXPECT_EQ(resume(c), QStringList({"S1 10/03/2021", "S1 01/01/2020"}));
    c.tourneeGestion = c.tourneeAutre = false;
    c.tourneeMaintenance = true;
    EXPECT_EQ(resume(c), QStringList({"S1 15/06/2021"}));

    c = {};
    c.stations = {"1", "2"};
    c.graphiqueSeulement = true;
    EXPECT_EQ(resume(c), QStringList({"S1 10/03/2021"}));
    c.graphiqueSeulement = false;
    c.exportBanqueSeulement = true;
    EXPECT_EQ(resume(c), QStringList({"S1 15/06/2021"}));
    c.exportBanqueSeulement = false;
    c.contact = "5";
    EXPECT_EQ(resume(c), QStringList({"S1 10/03/2021", "S2 20/05/2021"}));
}

TEST_P(EvenementsQualitoTest, ListesDesStationsEtDesContacts)
{
    QStringList stations, contacts;
    for (const StationEvenements &s : EvenementsQualito::stations())
        stations << s.code + '|' + s.codeBSS + '|' + s.nom;
    for (const ChoixListe &s : EvenementsQualito::contacts())
        contacts << s.texte();
    EXPECT_EQ(stations, QStringList({"3|A0|", "1|S1|Amont", "2|S2|Aval"}));
    EXPECT_EQ(contacts, QStringList({"Ambérieu [7]", "Hydro SA [6]", "Martin [5]"}));
}

TEST_P(EvenementsQualitoTest, ColonneNCDesAnciennesBasesEtRequeteEnEchec)
{
    ASSERT_TRUE(executer("ALTER TABLE EVENEMENTS_QUALITO ADD COLUMN NC Double"));
    ASSERT_TRUE(
        executer("UPDATE EVENEMENTS_QUALITO SET NC = 4 WHERE Numero = 1 AND CodeQualitometre = 1"));
    CriteresEvenements c;
    c.stations = {"1"};
    EvenementsQualito e;
    Tableau t = e.charger(c);
    ASSERT_EQ(t.nbLignes(), 3);
    EXPECT_EQ(EvenementsQualito::texteLigne(t, 1)[9], QStringLiteral("4"));

    toleranceErreurs = true;
    ASSERT_TRUE(executer("DROP TABLE CONTACTS"));
    t = e.charger(c);
    EXPECT_EQ(t.nbLignes(), 0);
    EXPECT_EQ(e.stationsEnEchec(), QStringList({"1"}));
}

TEST_P(EvenementsQualitoTest, ChoixRefusesEtExport)
{
    CriteresEvenements c;
    EXPECT_EQ(EvenementsQualito::verifier(c), EvenementsQualito::MESSAGE_AUCUNE_STATION);
    c.stations = {"1"};
    EXPECT_EQ(EvenementsQualito::verifier(c), QString());
    c.dateDebut = "31/02/2021";
    EXPECT_EQ(EvenementsQualito::verifier(c),
              QStringLiteral("La date de début n'est pas au format jj/mm/aaaa."));
    c.dateDebut = "01/06/2021";
    c.dateFin = "2021";
    EXPECT_EQ(EvenementsQualito::verifier(c),
              QStringLiteral("La date de fin n'est pas au format jj/mm/aaaa."));
    c.dateFin = "01/05/2021";
    EXPECT_EQ(EvenementsQualito::verifier(c),
              QStringLiteral("La date de fin est antérieure à la date de début."));

    const QString fichier = chemin(EvenementsQualito::NOM_EXPORT + ".csv");
    ASSERT_TRUE(EvenementsQualito::exporter({"Identifiant", "Commentaires"},
                                            {{"S1", "RAS; rien"}, {"S2", "dit \"ok\""}}, fichier));
    QFile f(fichier);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    // The byte order mark makes spreadsheets read the file as UTF-8.
    EXPECT_EQ(f.readAll(), QByteArray("\xEF\xBB\xBFIdentifiant;Commentaires\r\nS1;\"RAS; "
                                      "rien\"\r\nS2;\"dit \"\"ok\"\"\"\r\n"));
    QString erreur;
    EXPECT_FALSE(EvenementsQualito::exporter({"a"}, {}, fichier + "/impossible/x.csv", &erreur));
    EXPECT_TRUE(
        erreur.startsWith("Impossible d'écrire le fichier " + fichier + "/impossible/x.csv : "))
        << qPrintable(erreur);
}

// The same export as a workbook of either format: one sheet, every cell as shown.
TEST_P(EvenementsQualitoTest, ExportEnClasseur)
{
    const QVector<QStringList> lignes = {{"06000123", "RAS; « rien »"},
                                         {"S2", "dit \"ok\" & <fin>"}};
    for (const QString &extension : {QStringLiteral(".xlsx"), QStringLiteral(".ods")}) {
        const QString fichier = chemin(EvenementsQualito::NOM_EXPORT + extension);
        ASSERT_TRUE(EvenementsQualito::exporter({"Identifiant", "Commentaires"}, lignes, fichier));
        Classeur c;
        ASSERT_TRUE(c.ouvrir(fichier)) << qPrintable(c.detail());
        EXPECT_EQ(c.feuilles(), QStringList({EvenementsQualito::NOM_EXPORT}));
        EXPECT_EQ(c.feuille(1)->plage(1, 1, c.feuille(1)->derniereLigne(),
                                      c.feuille(1)->derniereColonne()),
                  QVector<QStringList>({{"Identifiant", "Commentaires"}, lignes[0], lignes[1]}));
        QString erreur;
        EXPECT_FALSE(
            EvenementsQualito::exporter({"a"}, {}, chemin("absent/x" + extension), &erreur));
        EXPECT_TRUE(erreur.startsWith("Impossible d'enregistrer le fichier "))
            << qPrintable(erreur);
    }
}

// The events follow the journals right and the station list's access.
TEST_P(EvenementsQualitoTest, DroitDesJournauxEtStationsDeLUtilisateur)
{
    CriteresEvenements c;
    c.stations = {QStringLiteral("1"), QStringLiteral("2")};
    Session &s = session();
    s.login = QStringLiteral("PAUL");
    s.habilitations = QStringLiteral(",QUALITO_FICHE_MODIF,");
    EXPECT_FALSE(EvenementsQualito::estAutorise());
    EXPECT_EQ(EvenementsQualito::verifier(c),
              QStringLiteral("Vous ne disposez pas de droits suffisants pour consulter les "
                             "événements des qualitomètres."));
    EXPECT_TRUE(resume(c).isEmpty());

    // Station 2 only, granted one by one: the other is neither offered nor read.
    s.habilitations = QStringLiteral(",QUALITO_JOURNAUX,");
    ASSERT_TRUE(
        executer("INSERT INTO UTILISATEURS_STATIONS VALUES ('PAUL', 'QUALITO', '2', 'SINGLE')"));
    QStringList offertes;
    for (const StationEvenements &st : EvenementsQualito::stations())
        offertes << st.code;
    EXPECT_EQ(offertes, QStringList{QStringLiteral("2")});
    EXPECT_EQ(resume(c), QStringList{QStringLiteral("S2 20/05/2021")});

    ASSERT_TRUE(executer("INSERT INTO UTILISATEURS_HABILITATIONS (login, habilitation) VALUES "
                         "('PAUL', 'QUALITO_ALL')"));
    EXPECT_EQ(EvenementsQualito::stations().size(), 3);
    EXPECT_EQ(resume(c).size(), 4);
    EXPECT_TRUE(EvenementsQualito::verifier(c).isEmpty());
    EXPECT_TRUE(messages().messages().isEmpty());
}

VYK_SUR_LES_DEUX_MOTEURS(EvenementsQualitoTest);

} // namespace
