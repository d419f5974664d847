// vyk-cli create, upgrade and journal, run as a user runs them.

#include "db/Journal.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

using test::lancerCli;
using test::SortieCli;

class CommandesSchemaTest : public BaseTest
{
};

TEST_P(CommandesSchemaTest, UpgradeAmeneLaBaseAuSchemaCourantPuisNeFaitPlusRien)
{
    SortieCli r = cli({"upgrade"});
    ASSERT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, "Base mise à jour (elle n'avait pas de version).\nVersion du schéma : " +
                            versionProgramme() + "\n");
    EXPECT_EQ(versionBase(), versionProgramme());
    EXPECT_TRUE(bd().tableExiste("QUALITOMETRES"));

    r = cli({"upgrade"});
    ASSERT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, "Version du schéma : " + versionProgramme() + "\n");

    ASSERT_TRUE(executer("UPDATE PARAMETRES SET Mac = '5.9.1' WHERE Identifiant = 'version'"));
    r = cli({"upgrade"});
    EXPECT_EQ(r.sortie, "Base mise à jour depuis la version 5.9.1.\nVersion du schéma : " +
                            versionProgramme() + "\n");
    EXPECT_EQ(cli({"upgrade", "de trop"}).code, 2);
}

TEST_P(CommandesSchemaTest, JournalEnCsvDepuisUneDate)
{
    ASSERT_TRUE(verifierVersionBase(versionProgramme()));
    ASSERT_TRUE(executer("DELETE FROM JOURNAL"));
    ASSERT_TRUE(executer(
        "INSERT INTO JOURNAL (dateEvt, niveau, Titre, utilisateur, projet, description) "
        "VALUES (#01/15/2024 08:30:00#, '0', 'Connexion', 'jdupont', 'VYK', 'ligne 1, ligne 2')"));
    ASSERT_TRUE(executer("INSERT INTO JOURNAL (dateEvt, niveau, Titre, utilisateur, projet) "
                         "VALUES (#03/01/2024 17:00:00#, '2', 'Logout', 'jdupont', 'VYK')"));
    SortieCli r = cli({"journal"});
    ASSERT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, "dateEvt,niveau,Titre,utilisateur,contact,ip,projet,description\n"
                        "15/01/2024 08:30:00,0,Connexion,jdupont,,,VYK,\"ligne 1, ligne 2\"\n"
                        "01/03/2024 17:00:00,2,Logout,jdupont,,,VYK,\n");
    r = cli({"journal", "--since", "01/02/2024"});
    EXPECT_EQ(r.sortie, "dateEvt,niveau,Titre,utilisateur,contact,ip,projet,description\n"
                        "01/03/2024 17:00:00,2,Logout,jdupont,,,VYK,\n");
    r = cli({"journal", "--since", "hier"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.erreurs,
              "Date incorrecte : « hier » (attendu JJ/MM/AAAA ou JJ/MM/AAAA hh:mm:ss).\n");
}

VYK_SUR_LES_DEUX_MOTEURS(CommandesSchemaTest);

TEST(CommandeCreate, NouveauFichierAuSchemaCourantEtFichierExistantRefuse)
{
    test::EnvironnementTest environnement;
    const QString fichier = environnement.chemin("donnees/vyk/nouvelle.db");
    SortieCli r = lancerCli({"create", fichier});
    ASSERT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie,
              "Base créée : " + fichier + "\nVersion du schéma : " + versionProgramme() + "\n");
    r = lancerCli(
        {"--base", fichier, "sql", "SELECT Mac FROM PARAMETRES WHERE Identifiant = 'version'"});
    EXPECT_EQ(r.sortie, "Mac\n" + versionProgramme() + "\n");
    r = lancerCli({"--base", fichier, "sql", "SELECT Titre FROM JOURNAL"});
    EXPECT_EQ(r.sortie, "Titre\nMise à jour de la version " + versionProgramme() + "\n");

    r = lancerCli({"create", fichier});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs, "Le fichier « " + fichier + " » existe déjà.\n");
    EXPECT_EQ(lancerCli({"create"}).code, 2);
}

} // namespace
