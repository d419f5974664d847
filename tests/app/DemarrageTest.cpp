#include "app/Demarrage.h"
#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/Journal.h"
#include "db/Session.h"

#include "support/BaseTest.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

// Settings naming the test's own database, as the connection screen leaves them.
class DemarrageTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ecrireReglagesBase();
        ASSERT_TRUE(executer(
            QStringLiteral("CREATE TABLE JOURNAL (dateEvt DateTime, niveau Text(5), Titre "
                           "Text(255), utilisateur Text(12), "
                           "contact Double, ip Text(128), projet Text(12), description Memo)")));
        demarrage.afficherStatut = [this](const QString &t) { statuts << t; };
        // The users module is tested on its own: here any typed name gets in.
        demarrage.authentifier = [](const QString &login, const QString &, bool) {
            session().vider();
            session().login = login.trimmed();
            return true;
        };
    }
    void TearDown() override
    {
        definirNiveauJournal(0);
        BaseTest::TearDown();
    }
    QStringList journal()
    {
        return lignes(QStringLiteral("SELECT Titre, utilisateur, niveau, projet FROM JOURNAL"));
    }

    Demarrage demarrage;
    QStringList statuts;
};

TEST_P(DemarrageTest, ChargementConnecteEtLitLeNiveauDuJournal)
{
    bd().fermerBase();
    ecrireRegistre(reglage::LogLevel, QStringLiteral("2"));
    ASSERT_TRUE(demarrage.chargement()) << qPrintable(messages().textes().join(u'\n'));
    EXPECT_TRUE(bd().estOuverte());
    EXPECT_EQ(bd().typeBase(), typeBase());
    EXPECT_EQ(niveauJournal(), 2);
    EXPECT_EQ(demarrage.options().niveauJournal, 2);
    EXPECT_EQ(demarrage.parametres().typeBase, typeBase());
    EXPECT_EQ(statuts, QStringList{libelleBase()});
    EXPECT_TRUE(messages().messages().isEmpty());
    EXPECT_EQ(Demarrage::libelleVersion(),
              QStringLiteral("Version ") + QStringLiteral(VYK_VERSION));
}

TEST_P(DemarrageTest, BaseInjoignableMessageEtAucuneConnexion)
{
    const QString base = estPostgres() ? QStringLiteral("vyk_base_qui_n_existe_pas")
                                       : chemin(QStringLiteral("absente.mdb"));
    ecrireRegistre(reglage::Base, base);
    ASSERT_TRUE(bd().estOuverte());
    EXPECT_FALSE(demarrage.chargement());
    EXPECT_FALSE(bd().estOuverte());
    EXPECT_FALSE(demarrage.estConnecte());
    EXPECT_TRUE(messages().messages().isEmpty());
    EXPECT_EQ(demarrage.refus(),
              QStringLiteral("La connexion à la base de données (") + base +
                  QStringLiteral(") n'a pas fonctionné. Vérifiez le paramétrage dans "
                                 "l'administration du logiciel."));
    // Without a connection nobody logs in.
    EXPECT_EQ(demarrage.identifier(QStringLiteral("jean"), {}, false),
              Demarrage::Identification::Refusee);
    EXPECT_FALSE(session().estConnecte());
    ASSERT_TRUE(rouvrir());
}

TEST_P(DemarrageTest, IdentificationPuisVerificationDeLaBase)
{
    ASSERT_TRUE(demarrage.chargement());
    EXPECT_EQ(demarrage.dernierUtilisateur(), QString());
    EXPECT_FALSE(demarrage.connexionAutomatique());
    QStringList versions;
    demarrage.verifierVersionBase = [&](const QString &v) {
        versions << v;
        // The check runs on the open database, once the status says so.
        EXPECT_TRUE(bd().estOuverte());
        EXPECT_EQ(statuts.last(), QStringLiteral("Vérification de la base de données"));
        return true;
    };
    EXPECT_EQ(demarrage.identifier(QStringLiteral(" jean "), QStringLiteral("x"), true),
              Demarrage::Identification::Ouverte);
    EXPECT_EQ(versions, QStringList{QStringLiteral(VYK_VERSION)});
    EXPECT_EQ(session().login, QStringLiteral("jean"));
    EXPECT_EQ(lireRegistre(reglage::LastUser, {}, true), QStringLiteral("jean"));
    EXPECT_EQ(lireRegistre(reglage::ConnexionAutomatic), QStringLiteral("OUI"));
    EXPECT_TRUE(demarrage.connexionAutomatique());
    EXPECT_EQ(demarrage.dernierUtilisateur(), QStringLiteral("jean"));
    EXPECT_EQ(statuts.last(), libelleBase());

    // A refused authentication stores nothing and runs no check.
    demarrage.authentifier = [](const QString &, const QString &, bool) { return false; };
    EXPECT_EQ(demarrage.identifier(QStringLiteral("paul"), {}, false),
              Demarrage::Identification::Refusee);
    EXPECT_EQ(lireRegistre(reglage::LastUser, {}, true), QStringLiteral("jean"));
    EXPECT_EQ(versions.size(), 1);

    // A database that fails its check opens nothing.
    demarrage.authentifier = [](const QString &login, const QString &, bool) {
        session().login = login;
        return true;
    };
    demarrage.verifierVersionBase = [](const QString &) { return false; };
    demarrage.raisonRefusBase = [] {
        return QStringLiteral("La mise à jour a été interrompue avant son terme.");
    };
    messages().vider();
    EXPECT_EQ(demarrage.identifier(QStringLiteral("paul"), {}, false),
              Demarrage::Identification::BaseRefusee);
    EXPECT_FALSE(session().estConnecte());
    // Given to the screen, and journalled.
    EXPECT_TRUE(messages().messages().isEmpty());
    const QString texte = QStringLiteral(
        "La base de données n'a pas pu être mise à jour : la connexion est refusée.\n"
        "La mise à jour a été interrompue avant son terme.");
    EXPECT_EQ(demarrage.refus(), texte);
    EXPECT_EQ(
        lignes(QStringLiteral("SELECT description FROM JOURNAL WHERE Titre = 'Connexion refusée'")),
        QStringList({QStringLiteral("paul : ") + texte}));
    EXPECT_EQ(lireRegistre(reglage::ConnexionAutomatic), QStringLiteral("NON"));
}

TEST_P(DemarrageTest, FermetureDemandeeEtLogoutJournalise)
{
    ecrireRegistre(reglage::LogLevel, QStringLiteral("2"));
    ASSERT_TRUE(demarrage.chargement());
    ASSERT_EQ(demarrage.identifier(QStringLiteral("jean"), {}, false),
              Demarrage::Identification::Ouverte);

    // "Non" keeps the window and writes nothing; the question goes to the function given.
    test::Reponses reponses;
    EXPECT_FALSE(demarrage.demanderFermeture(QStringLiteral("VYK 6"), reponses.fonction()));
    EXPECT_EQ(reponses.questions, QStringList({"Etes vous sûr de vouloir quitter VYK 6 ?"}));
    EXPECT_TRUE(messages().messages().isEmpty());
    EXPECT_TRUE(journal().isEmpty());

    reponses.reponse = true;
    EXPECT_TRUE(demarrage.demanderFermeture(QStringLiteral("VYK 6"), reponses.fonction()));
    EXPECT_EQ(reponses.questions.size(), 2);
    EXPECT_EQ(journal(), QStringList{QStringLiteral("Logout|jean|2|VYK")});
    EXPECT_TRUE(demarrage.dechargement());
    EXPECT_FALSE(bd().estOuverte());
    EXPECT_FALSE(session().estConnecte());
    ASSERT_TRUE(rouvrir());
}

TEST_P(DemarrageTest, LogoutNonEcritAuNiveauZero)
{
    ASSERT_TRUE(demarrage.chargement());
    ASSERT_EQ(demarrage.identifier(QStringLiteral("jean"), {}, false),
              Demarrage::Identification::Ouverte);
    messages().repondre(BoutonOui);
    EXPECT_TRUE(demarrage.demanderFermeture(QStringLiteral("VYK")));
    EXPECT_TRUE(journal().isEmpty());
}

TEST_P(DemarrageTest, ChangementDeBaseDepuisLEcranDeConnexion)
{
    const QString autre = chemin(QStringLiteral("autre.mdb"));
    ASSERT_TRUE(BaseDonnees::creerBaseBureau(autre));
    ASSERT_TRUE(demarrage.chargement());
    ecrireRegistre(reglage::ConnexionAutomatic, QStringLiteral("OUI"));
    ecrireRegistre(reglage::TypeBase, ACCESS);
    ecrireRegistre(reglage::Base, autre);
    statuts.clear();
    EXPECT_TRUE(demarrage.changementBase(true));
    EXPECT_EQ(bd().typeBase(), ACCESS);
    EXPECT_EQ(bd().base(), autre);
    EXPECT_EQ(lireRegistre(reglage::ConnexionAutomatic), QStringLiteral("NON"));
    EXPECT_EQ(statuts, QStringList{autre});
    EXPECT_FALSE(demarrage.changementBaseEnCours());

    // Back to a database that cannot be opened: the error, and nothing open.
    ecrireRegistre(reglage::Base, chemin(QStringLiteral("absente.mdb")));
    EXPECT_FALSE(demarrage.changementBase(true));
    EXPECT_FALSE(bd().estOuverte());
    EXPECT_EQ(demarrage.refus(), QStringLiteral("La connexion à la base de données (") +
                                     chemin(QStringLiteral("absente.mdb")) +
                                     QStringLiteral(") n'a pas fonctionné. Vérifiez le paramétrage "
                                                    "dans l'administration du logiciel."));
    EXPECT_TRUE(messages().messages().isEmpty());
    ASSERT_TRUE(rouvrir());
}

TEST_P(DemarrageTest, ChangementDeBaseDepuisLaFenetrePrincipale)
{
    ecrireRegistre(reglage::LogLevel, QStringLiteral("2"));
    ASSERT_TRUE(demarrage.chargement());
    ASSERT_EQ(demarrage.identifier(QStringLiteral("jean"), {}, false),
              Demarrage::Identification::Ouverte);
    const QString autre = chemin(QStringLiteral("autre.mdb"));
    ASSERT_TRUE(BaseDonnees::creerBaseBureau(autre));
    ecrireRegistre(reglage::TypeBase, ACCESS);
    ecrireRegistre(reglage::Base, autre);

    EXPECT_FALSE(demarrage.changementBase(false));
    EXPECT_FALSE(bd().estOuverte());
    EXPECT_TRUE(demarrage.changementBaseEnCours());
    // The main window then closes without a question, and the login screen comes back.
    EXPECT_TRUE(demarrage.demanderFermeture(QStringLiteral("VYK")));
    EXPECT_TRUE(messages().messages().isEmpty());
    EXPECT_FALSE(demarrage.dechargement());
    EXPECT_FALSE(demarrage.changementBaseEnCours());
    EXPECT_FALSE(session().estConnecte());
    ASSERT_TRUE(demarrage.chargement());
    EXPECT_EQ(bd().base(), autre);

    // The user logged out of the database he left.
    ASSERT_TRUE(rouvrir());
    EXPECT_EQ(journal(), QStringList{QStringLiteral("Logout|jean|2|VYK")});
}

TEST_P(DemarrageTest, ChangementDUtilisateur)
{
    ecrireRegistre(reglage::LogLevel, QStringLiteral("2"));
    ASSERT_TRUE(demarrage.chargement());
    ASSERT_EQ(demarrage.identifier(QStringLiteral("jean"), {}, false),
              Demarrage::Identification::Ouverte);
    demarrage.changementUtilisateur();
    EXPECT_EQ(journal(), QStringList{QStringLiteral("Logout|jean|2|VYK")});
    EXPECT_TRUE(demarrage.demanderFermeture(QStringLiteral("VYK")));
    EXPECT_FALSE(demarrage.dechargement());
    ASSERT_TRUE(demarrage.chargement());
    EXPECT_EQ(journal().size(), 1);
}

VYK_SUR_LES_DEUX_MOTEURS(DemarrageTest);

// The type stored for Oracle may carry a suffix for the driver: it reaches the database
// object whole, and the backend code in use is "ORACLE".
TEST(ConnexionOracleTest, SuffixeTransmisEtCodeORACLE)
{
    test::EnvironnementTest env;
    ecrireRegistre(reglage::TypeBase, QStringLiteral("Oracle_OCI"));
    ecrireRegistre(reglage::Base, QStringLiteral("SERVICE"));
    ecrireRegistre(reglage::ServeurBase, QStringLiteral("ora1"));
    ecrireRegistre(reglage::PortServeurBase, QStringLiteral("1521"));
    ecrireRegistre(reglage::UserBase, QStringLiteral("u"));
    ecrireRegistre(reglage::PassBase, QStringLiteral("p"));
    QStringList recus;
    Demarrage d;
    d.ouvrir = [&](const QString &base, const QString &type, const QString &serveur,
                   const QString &utilisateur, const QString &motDePasse, const QString &module,
                   const QString &port) {
        recus << QStringList{base, type, serveur, utilisateur, motDePasse, module, port}.join(u'|');
        return true;
    };
    ASSERT_TRUE(d.chargement());
    EXPECT_EQ(d.parametres().typeBase, QStringLiteral("ORACLE"));
    EXPECT_EQ(d.libelleStatut(), QStringLiteral("ora1/SERVICE"));
    ASSERT_TRUE(d.connexionbase());
    EXPECT_EQ(recus, QStringList({QStringLiteral("SERVICE|Oracle_OCI|ora1|u|p|VYK|1521"),
                                  QStringLiteral("SERVICE|Oracle_OCI|ora1|u|p|VYK|1521")}));
    EXPECT_EQ(d.parametres().typeBase, QStringLiteral("ORACLE"));
}

} // namespace
