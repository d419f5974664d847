#include "app/Profils.h"
#include "app/Registre.h"
#include "app/Reglages.h"

#include "support/BaseTest.h"

using namespace vyk;
using vyk::test::BaseTest;
using vyk::test::SortieCli;

namespace {

SortieCli settings(const QStringList &arguments)
{
    return test::lancerCli(QStringList{QStringLiteral("settings")} + arguments);
}

TEST(CommandeSettings, NomsSansCasseValeurGardeeEtAbsentVide)
{
    test::EnvironnementTest env;
    EXPECT_EQ(settings({QStringLiteral("set"), QStringLiteral("affichageStatistiques"),
                        QStringLiteral("Oui")})
                  .code,
              0);
    EXPECT_EQ(settings({QStringLiteral("set"), QStringLiteral("CheminExport"),
                        QStringLiteral("  /données/export été ")})
                  .code,
              0);
    EXPECT_EQ(settings({QStringLiteral("get"), QStringLiteral("AffichageStatistiques")}).sortie,
              QStringLiteral("Oui\n"));
    // The store trims what it reads back; the case of the value is kept.
    EXPECT_EQ(settings({QStringLiteral("get"), QStringLiteral("CHEMINEXPORT")}).sortie,
              QStringLiteral("/données/export été\n"));
    const SortieCli absent = settings({QStringLiteral("get"), QStringLiteral("Absent")});
    EXPECT_EQ(absent.code, 0);
    EXPECT_EQ(absent.sortie, QStringLiteral("\n"));
    // Written under one spelling, replaced under another: still one setting.
    EXPECT_EQ(settings({QStringLiteral("set"), QStringLiteral("AFFICHAGESTATISTIQUES"),
                        QStringLiteral("Non")})
                  .code,
              0);
    const SortieCli liste = settings({QStringLiteral("list")});
    EXPECT_EQ(liste.code, 0);
    EXPECT_EQ(liste.sortie.count(QStringLiteral("=Non\n")), 1) << qPrintable(liste.sortie);
    EXPECT_FALSE(liste.sortie.contains(QStringLiteral("=Oui")));
    // Sorted without regard to case.
    EXPECT_LT(liste.sortie.indexOf(QStringLiteral("=Non\n")),
              liste.sortie.indexOf(QStringLiteral("CheminExport=")));
    EXPECT_EQ(settings({QStringLiteral("path")}).sortie,
              env.chemin(QStringLiteral("VYK6.ini")) + u'\n');

    const SortieCli vide =
        settings({QStringLiteral("set"), QStringLiteral(" "), QStringLiteral("x")});
    EXPECT_EQ(vide.code, 2);
    EXPECT_EQ(vide.erreurs, QStringLiteral("Le nom du paramètre est vide.\n"));
    EXPECT_EQ(settings({QStringLiteral("get")}).code, 2);
    EXPECT_EQ(settings({QStringLiteral("effacer"), QStringLiteral("x")}).code, 2);
}

TEST(CommandeSettings, LaListeMasqueLesSecrets)
{
    test::EnvironnementTest env;
    for (const char *nom : {"PassBase", "ftppassword", "JetonConnexion"})
        ASSERT_EQ(
            settings({QStringLiteral("set"), QString::fromLatin1(nom), QStringLiteral("s3cr3t")})
                .code,
            0);
    ASSERT_EQ(
        settings({QStringLiteral("set"), QStringLiteral("UserBase"), QStringLiteral("agent")}).code,
        0);
    const SortieCli liste = settings({QStringLiteral("list")});
    EXPECT_EQ(liste.code, 0);
    EXPECT_FALSE(liste.sortie.contains(QStringLiteral("s3cr3t"))) << qPrintable(liste.sortie);
    EXPECT_EQ(liste.sortie.count(QStringLiteral("=********\n")), 3) << qPrintable(liste.sortie);
    EXPECT_TRUE(liste.sortie.contains(QStringLiteral("UserBase=agent\n")));
    // Read one by one, for the scripts that need it.
    EXPECT_EQ(settings({QStringLiteral("get"), QStringLiteral("PassBase")}).sortie,
              QStringLiteral("s3cr3t\n"));
}

TEST(CommandeSettings, ConnexionImpossibleOuMalDemandeeDitPourquoi)
{
    test::EnvironnementTest env;
    const QStringList select = {QStringLiteral("sql"), QStringLiteral("SELECT 1")};
    SortieCli r = test::lancerCli(select);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs, QStringLiteral("Aucune base de données n'est paramétrée : indiquez --base "
                                        "(et --type pour un serveur).\n"));

    r = test::lancerCli(QStringList{QStringLiteral("--type"), QStringLiteral("mysql"),
                                    QStringLiteral("--base"), QStringLiteral("x")} +
                        select);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs,
              QStringLiteral("Type de base inconnu : MYSQL (ACCESS, POSTGRESQL ou ORACLE).\n"));

    r = test::lancerCli(
        {QStringLiteral("sql"), QStringLiteral("SELECT 1"), QStringLiteral("--base")});
    EXPECT_EQ(r.code, 2);
    r = test::lancerCli({QStringLiteral("--base")});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.erreurs, QStringLiteral("L'option --base attend une valeur.\n"));
    r = test::lancerCli(QStringList{QStringLiteral("--serveur"), QStringLiteral("h")} + select);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.erreurs, QStringLiteral("Option inconnue : --serveur (vyk-cli --help)\n"));

    r = test::lancerCli(QStringList{QStringLiteral("--profile"), QStringLiteral("Pg")} + select);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs, QStringLiteral("Aucun fichier databases.properties n'est paramétré.\n"));
}

class CommandeConnexionTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE T (n Long)")));
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (7)")));
    }
};

TEST_P(CommandeConnexionTest, ParLesReglagesPuisParUnProfilDuFichierDesBases)
{
    const QStringList select = {QStringLiteral("sql"), QStringLiteral("SELECT n FROM T")};
    // Without options: the database the connection screen left in the settings.
    ecrireReglagesBase();
    SortieCli r = test::lancerCli(select);
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, QStringLiteral("n\n7\n"));

    // A profile of databases.properties wins over the settings, which name nothing usable now.
    const test::ServeurTest s = test::serveurTest();
    const LigneProfil ligne =
        estPostgres() ? LigneProfil{QStringLiteral("Ici"), POSTGRESQL,  s.hote, s.port, s.base,
                                    s.utilisateur,         s.motDePasse}
                      : LigneProfil{QStringLiteral("Ici"), ACCESS, emplacement(), {}, {}, {}, {}};
    const QString fichier = chemin(QStringLiteral("databases.properties"));
    ASSERT_TRUE(ecrireFichierBases(fichier, {ligne}));
    ASSERT_TRUE(ecrireRegistre(reglage::FichierProfils, fichier));
    ASSERT_TRUE(ecrireRegistre(reglage::TypeBase, ACCESS));
    ASSERT_TRUE(ecrireRegistre(reglage::Base, chemin(QStringLiteral("absente.mdb"))));
    r = test::lancerCli(QStringList{QStringLiteral("--profile"), QStringLiteral("Ici")} + select);
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, QStringLiteral("n\n7\n"));

    r = test::lancerCli(QStringList{QStringLiteral("--profile"), QStringLiteral("Ailleurs")} +
                        select);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(
        r.erreurs,
        QStringLiteral("Impossible de retrouver le paramétrage de cette base. Merci de vérifier le "
                       "fichier databases.properties (%1).\n")
            .arg(fichier));
    EXPECT_TRUE(r.sortie.isEmpty());

    // The settings' own database is missing: said, and nothing created in its place.
    r = test::lancerCli(select);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.erreurs.startsWith(QStringLiteral("La connexion à la base de données (") +
                                     chemin(QStringLiteral("absente.mdb")) +
                                     QStringLiteral(") n'a pas fonctionné : ")))
        << qPrintable(r.erreurs);
    EXPECT_FALSE(QFile::exists(chemin(QStringLiteral("absente.mdb"))));
}

VYK_SUR_LES_DEUX_MOTEURS(CommandeConnexionTest);

} // namespace
