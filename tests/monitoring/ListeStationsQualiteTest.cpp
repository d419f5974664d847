#include "monitoring/ListeStationsQualite.h"
#include "db/Session.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class ListeStationsQualiteTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(verifierVersionBase(versionProgramme()));
        session().vider();
        const char *lignesSql[] = {
            "INSERT INTO COMMUNES (CodeCommune, Nom, NumDept) VALUES ('01004', 'Ambérieu', '01')",
            "INSERT INTO AQUIFERES (CodeAquifere, libelle) VALUES (7, 'Alluvions')",
            "INSERT INTO MASSES_EAUX (Code_ME, Code_Europeen, Libelle) VALUES ('FRDG101', "
            "'FR_DG_101', 'Calcaires')",
            "INSERT INTO RESEAUX (CodeReseau, Libelle, DCE) VALUES (3, 'RCS', '1')",
            "INSERT INTO RESEAUX (CodeReseau, Libelle, DCE) VALUES (4, 'Local', '0')",
            "INSERT INTO INTERVENANTS (CodeIntervenant, Nom) VALUES (20, 'Syndicat')",
            "INSERT INTO BASSINS_VERSANTS (codeBV, Code, Nom) VALUES (1, 'RM', 'Rhône')",
            "INSERT INTO BASSINS_VERSANTS (codeBV, Code, Nom, Parent) VALUES (2, 'AIN', 'Ain', "
            "'RM')",
            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Designation, Nom, CodeCommune, "
            "Altitude, typeStation, DateCreation, "
            "her_niveau1, codeBassinVersant, codeBassinVersant2) VALUES (1, '06987X0012', 'F1', "
            "'Puits', 1004, 251.5, '0', #03/15/2001#, 3, 1, 2)",
            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, typeStation, "
            "DateFermeture) VALUES (2, 'V1', 'Rivière', '1', #12/31/2020#)",
            "INSERT INTO LIEN_QUALITO_AQUIFERE VALUES (1, 7)",
            "INSERT INTO LIEN_QUALITO_MASSE_EAU VALUES (1, 'FRDG101', 0)",
            "INSERT INTO LIEN_QUALITO_RESEAUX VALUES (1, 3, #01/01/2007#, NULL)",
            "INSERT INTO LIEN_QUALITO_RESEAUX VALUES (2, 4, #01/01/2010#, #12/31/2012#)",
            "INSERT INTO LIEN_QUALITO_INTERVENANTS (CodeQualitometre, CodeIntervenant, DateDebut, "
            "TypeIntervenant) VALUES (1, 20, #01/01/2000#, 1)",
        };
        for (const char *l : lignesSql)
            ASSERT_TRUE(executer(QString::fromUtf8(l))) << l;
    }
};

TEST_P(ListeStationsQualiteTest, ColonnesDeLaListeStandard)
{
    ListeStations liste = chargerListeQualitometres(false);
    EXPECT_FALSE(liste.depuisFiltre);
    ASSERT_EQ(liste.titres.size(), 25);
    EXPECT_EQ(liste.codes, QStringList({"1", "2"}));
    EXPECT_EQ(liste.lignes[0].join(u'|'),
              QStringLiteral("1|06987X0012/F1|01|Ambérieu|Puits|Alluvions|251.5|1|01/01/2007 - "
                             "|Syndicat||X|FRDG101|Calcaires|"
                             "15/03/2001||3||RCS|Rhône|0|Piézomètre|Ain||"));
    EXPECT_EQ(liste.lignes[1].join(u'|'),
              QStringLiteral("2|V1|||Rivière|||2||||||||31/12/2020|||Local||1|Cours d'eau|||"));
    liste = chargerListeQualitometres(true);
    EXPECT_EQ(liste.lignes[0][12], QStringLiteral("FR_DG_101"));

    EXPECT_TRUE(ligneCorrespond(liste.lignes[1], QStringLiteral("rivi")));
    EXPECT_FALSE(ligneCorrespond(liste.lignes[1], QStringLiteral("Puits")));
    EXPECT_EQ(texteCompte(1, 2), QStringLiteral("1 / 2 stations(s)"));
}

TEST_P(ListeStationsQualiteTest, UtilisateurRestreintEtFiltreDuSite)
{
    session().login = QStringLiteral("JEAN");
    ASSERT_TRUE(executer("INSERT INTO UTILISATEURS_HABILITATIONS (login, habilitation) VALUES "
                         "('JEAN', 'QUALITO_NETWORK_4')"));
    // Network 4 ended in 2012: no station today.
    EXPECT_TRUE(chargerListeQualitometres(false).lignes.isEmpty());
    ASSERT_TRUE(
        executer("INSERT INTO UTILISATEURS_STATIONS VALUES ('JEAN', 'QUALITO', '1', 'SINGLE')"));
    EXPECT_EQ(chargerListeQualitometres(false).codes, QStringList({"1"}));
    ASSERT_TRUE(executer("INSERT INTO UTILISATEURS_HABILITATIONS (login, habilitation) VALUES "
                         "('JEAN', 'QUALITO_ALL')"));
    EXPECT_EQ(chargerListeQualitometres(false).codes, QStringList({"1", "2"}));
    ASSERT_TRUE(
        executer("DELETE FROM UTILISATEURS_HABILITATIONS WHERE habilitation='QUALITO_ALL'"));

    // The site's own list, still limited to the user's stations.
    ASSERT_TRUE(executer("CREATE TABLE QUALITOMETRES_FILTRE (CodeQualitometre Double, Libelle "
                         "Text(50), DateVisite DateTime)"));
    ASSERT_TRUE(executer("INSERT INTO QUALITOMETRES_FILTRE VALUES (1, 'Puits', #06/30/2020#)"));
    ASSERT_TRUE(executer("INSERT INTO QUALITOMETRES_FILTRE VALUES (2, 'Rivière', NULL)"));
    ListeStations liste = chargerListeQualitometres(false);
    EXPECT_TRUE(liste.depuisFiltre);
    EXPECT_EQ(liste.titres.size(), 3);
    ASSERT_EQ(liste.lignes.size(), 1);
    EXPECT_EQ(liste.lignes[0], QStringList({"1", "Puits", "30/06/2020"}));

    // A site's list without the station column cannot be limited: the standard list instead.
    ASSERT_TRUE(executer("DROP TABLE QUALITOMETRES_FILTRE"));
    ASSERT_TRUE(executer("CREATE TABLE QUALITOMETRES_FILTRE (Libelle Text(50))"));
    ASSERT_TRUE(executer("INSERT INTO QUALITOMETRES_FILTRE VALUES ('Puits')"));
    ASSERT_TRUE(executer("INSERT INTO QUALITOMETRES_FILTRE VALUES ('Rivière')"));
    liste = chargerListeQualitometres(false);
    EXPECT_FALSE(liste.depuisFiltre);
    EXPECT_EQ(liste.codes, QStringList({"1"}));
    session().vider();
    liste = chargerListeQualitometres(false);
    EXPECT_TRUE(liste.depuisFiltre);
    EXPECT_EQ(liste.lignes, QVector<QStringList>({{"Puits"}, {"Rivière"}}));
}

TEST_P(ListeStationsQualiteTest, EchecsRepetesReinitialisentLaVersion)
{
    toleranceErreurs = true;
    ASSERT_TRUE(executer("DROP VIEW QUALITO_DCE"));
    ASSERT_EQ(
        valeur("SELECT count(*) FROM PARAMETRES WHERE module='VYLEN' and identifiant='version'")
            .toInt(),
        1);
    const ListeStations liste = chargerListeQualitometres(false);
    EXPECT_TRUE(liste.echec);
    EXPECT_TRUE(liste.lignes.isEmpty());
    EXPECT_EQ(liste.titres.size(), 25);
    EXPECT_EQ(
        valeur("SELECT count(*) FROM PARAMETRES WHERE module='VYLEN' and identifiant='version'")
            .toInt(),
        0);
    // The next check upgrades again and the list comes back.
    ASSERT_TRUE(verifierVersionBase(versionProgramme()));
    EXPECT_EQ(chargerListeQualitometres(false).lignes.size(), 2);
}

TEST_P(ListeStationsQualiteTest, DispositionParUtilisateurEtListeParDefaut)
{
    EXPECT_TRUE(lireLargeursColonnes(QStringLiteral("JEAN")).isEmpty());
    ASSERT_TRUE(enregistrerLargeursColonnes(QStringLiteral("JEAN"), {60, 0, 120.5}));
    ASSERT_TRUE(enregistrerLargeursColonnes(QStringLiteral("PAUL"), {10}));
    ASSERT_TRUE(enregistrerLargeursColonnes(QStringLiteral("JEAN"), {60, 0, 130}));
    EXPECT_EQ(lireLargeursColonnes(QStringLiteral("JEAN")), QVector<double>({60, 0, 130}));
    EXPECT_EQ(valeur("SELECT count(*) FROM PARAMETRES_LISTE_QUALITO").toInt(), 4);
    ecrireColonneTri(4);
    EXPECT_EQ(lireColonneTri(), 4);

    EXPECT_EQ(listeSelectionDefaut(QStringLiteral("JEAN")), QString());
    ASSERT_TRUE(executer("INSERT INTO UTILISATEURS_LISTES (CodeListe, LibelleListe, Module, "
                         "Defaut, loginmaj) VALUES ('L1', 'Mes puits', 'VYK', 'O', 'JEAN')"));
    ASSERT_TRUE(executer("INSERT INTO UTILISATEURS_LISTES (CodeListe, LibelleListe, Module, "
                         "Defaut, loginmaj) VALUES ('L2', 'Autre', 'VYK', 'O', 'PAUL')"));
    ASSERT_TRUE(executer("INSERT INTO UTILISATEURS_LISTES (CodeListe, LibelleListe, Module, "
                         "Defaut) VALUES ('L3', 'Piézo', 'VYDA', 'O')"));
    EXPECT_EQ(listeSelectionDefaut(QStringLiteral("JEAN")), QStringLiteral("L1"));
    EXPECT_EQ(listesSelection(QStringLiteral("JEAN")).size(), 1);
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(ListeStationsQualiteTest);
