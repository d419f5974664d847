// vyk-cli create, upgrade and journal, run as a user runs them.

#include "db/Journal.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

using namespace vyk;
using vyk::test::BaseTest;

inline void PrintTo(const QString &texte, std::ostream *sortie) { *sortie << '"' << qPrintable(texte) << '"'; }

namespace {

struct Resultat
{
    int code = -1;
    QString sortie;
    QString erreurs;
};

QString programme() { return QCoreApplication::applicationDirPath() + QStringLiteral("/../src/vyk-cli"); }

Resultat lancer(const QStringList &arguments)
{
    QProcess p;
    p.start(programme(), arguments);
    Resultat r;
    if (!p.waitForFinished(60000))
        return r;
    r.code = p.exitCode();
    r.sortie = QString::fromUtf8(p.readAllStandardOutput());
    r.erreurs = QString::fromUtf8(p.readAllStandardError());
    return r;
}

class CommandesSchemaTest : public BaseTest
{
protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        if (!IsSkipped() && !QFileInfo::exists(programme()))
            GTEST_SKIP() << "vyk-cli n'est pas construit.";
    }
    // Connection options of the test database (the server schema travels in PGOPTIONS).
    QStringList connexion() const
    {
        if (!estPostgres())
            return {"--base", emplacement()};
        const test::ServeurTest s = test::serveurTest();
        QStringList options = {"--type", "POSTGRESQL", "--base", s.base, "--server", s.hote, "--user", s.utilisateur};
        if (!s.port.isEmpty())
            options << "--port" << s.port;
        if (!s.motDePasse.isEmpty())
            options << "--password" << s.motDePasse;
        return options;
    }
};

TEST_P(CommandesSchemaTest, UpgradeAmeneLaBaseAuSchemaCourantPuisNeFaitPlusRien)
{
    Resultat r = lancer(connexion() << "upgrade");
    ASSERT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, "Base mise à jour (elle n'avait pas de version).\nVersion du schéma : " + versionProgramme() + "\n");
    EXPECT_EQ(versionBase(), versionProgramme());
    EXPECT_TRUE(bd().tableExiste("QUALITOMETRES"));

    r = lancer(connexion() << "upgrade");
    ASSERT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, "Version du schéma : " + versionProgramme() + "\n");

    ASSERT_TRUE(executer("UPDATE PARAMETRES SET Mac = '5.9.1' WHERE Identifiant = 'version'"));
    r = lancer(connexion() << "upgrade");
    EXPECT_EQ(r.sortie, "Base mise à jour depuis la version 5.9.1.\nVersion du schéma : " + versionProgramme() + "\n");
    EXPECT_EQ(lancer(connexion() << "upgrade" << "de trop").code, 2);
}

TEST_P(CommandesSchemaTest, JournalEnCsvDepuisUneDate)
{
    ASSERT_TRUE(verifierVersionBase(versionProgramme()));
    ASSERT_TRUE(executer("DELETE FROM JOURNAL"));
    ASSERT_TRUE(executer("INSERT INTO JOURNAL (dateEvt, niveau, Titre, utilisateur, projet, description) "
                         "VALUES (#01/15/2024 08:30:00#, '0', 'Connexion', 'jdupont', 'VYK', 'ligne 1, ligne 2')"));
    ASSERT_TRUE(executer("INSERT INTO JOURNAL (dateEvt, niveau, Titre, utilisateur, projet) "
                         "VALUES (#03/01/2024 17:00:00#, '2', 'Logout', 'jdupont', 'VYK')"));
    Resultat r = lancer(connexion() << "journal");
    ASSERT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, "dateEvt,niveau,Titre,utilisateur,contact,ip,projet,description\n"
                        "15/01/2024 08:30:00,0,Connexion,jdupont,,,VYK,\"ligne 1, ligne 2\"\n"
                        "01/03/2024 17:00:00,2,Logout,jdupont,,,VYK,\n");
    r = lancer(connexion() << "journal" << "--since" << "01/02/2024");
    EXPECT_EQ(r.sortie, "dateEvt,niveau,Titre,utilisateur,contact,ip,projet,description\n"
                        "01/03/2024 17:00:00,2,Logout,jdupont,,,VYK,\n");
    r = lancer(connexion() << "journal" << "--since" << "hier");
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.erreurs, "Date incorrecte : « hier » (attendu JJ/MM/AAAA ou JJ/MM/AAAA hh:mm:ss).\n");
}

VYK_SUR_LES_DEUX_MOTEURS(CommandesSchemaTest);

TEST(CommandeCreate, NouveauFichierAuSchemaCourantEtFichierExistantRefuse)
{
    if (!QFileInfo::exists(programme()))
        GTEST_SKIP() << "vyk-cli n'est pas construit.";
    test::EnvironnementTest environnement;
    const QString fichier = environnement.chemin("donnees/vyk/nouvelle.db");
    Resultat r = lancer({"create", fichier});
    ASSERT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, "Base créée : " + fichier + "\nVersion du schéma : " + versionProgramme() + "\n");
    r = lancer({"--base", fichier, "sql", "SELECT Mac FROM PARAMETRES WHERE Identifiant = 'version'"});
    EXPECT_EQ(r.sortie, "Mac\n" + versionProgramme() + "\n");
    r = lancer({"--base", fichier, "sql", "SELECT Titre FROM JOURNAL"});
    EXPECT_EQ(r.sortie, "Titre\nMise à jour de la version " + versionProgramme() + "\n");

    r = lancer({"create", fichier});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs, "Le fichier « " + fichier + " » existe déjà.\n");
    EXPECT_EQ(lancer({"create"}).code, 2);
}

} // namespace
