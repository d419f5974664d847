#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/Session.h"
#include "ui/app/Application.h"
#include "ui/app/FenetrePrincipale.h"
#include "ui/app/FrmIdentification.h"
#include "ui/users/FrmUtilisateurs.h"
#include "users/Authentification.h"
#include "users/GestionUtilisateurs.h"

#include "support/EcranTest.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace vyk;
using vyk::test::BaseTest;
using vyk::test::traiterEvenements;

namespace {

// The whole program on the test's database: the real login, then the real schema check.
class LoginEcranTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ecrireReglagesBase();
        GestionUtilisateurs gestion;
        FicheUtilisateur agent;
        agent.login = QStringLiteral("AGENT");
        ASSERT_TRUE(gestion.creer(agent, QStringLiteral("Abc")));
        ASSERT_TRUE(gestion.accorder(QStringLiteral("AGENT"), QStringLiteral("QUALITO_EXPORT")));
        FicheUtilisateur interdit;
        interdit.login = QStringLiteral("PIEZO");
        ASSERT_TRUE(gestion.creer(interdit, QStringLiteral("p")));
        ASSERT_TRUE(gestion.accorder(QStringLiteral("PIEZO"), QStringLiteral("QUALITO_FORBIDEN")));
    }
    void TearDown() override
    {
        if (application) delete application->fenetrePrincipale();
        application.reset();
        traiterEvenements();
        BaseTest::TearDown();
    }
    void demarrer()
    {
        application = std::make_unique<Application>();
        application->demarrer();
        traiterEvenements();
    }
    FrmIdentification *ecran() { return application->ecranIdentification(); }
    FenetrePrincipale *seConnecter(const QString &login, const QString &motDePasse,
                                   bool automatique = false)
    {
        ecran()->TxtLogin->setText(login);
        ecran()->TxtMotDePasse->setText(motDePasse);
        ecran()->ChkConnexionAutomatique->setChecked(automatique);
        ecran()->CmdConnexion->click();
        traiterEvenements();
        return application->fenetrePrincipale();
    }
    QAction *action(FenetrePrincipale *f, const char *nom)
    {
        return f->findChild<QAction *>(QString::fromLatin1(nom));
    }

    std::unique_ptr<Application> application;
};

TEST_P(LoginEcranTest, MotDePasseErroneVideLeChampPuisLeBonOuvreLaFenetre)
{
    demarrer();
    ASSERT_TRUE(ecran()->CmdConnexion->isEnabled());

    EXPECT_EQ(seConnecter(QStringLiteral("AGENT"), QStringLiteral("abd")), nullptr);
    EXPECT_EQ(messages().textes(), QStringList{QStringLiteral("Mot de passe erronné")});
    EXPECT_TRUE(ecran()->TxtMotDePasse->text().isEmpty());
    EXPECT_EQ(ecran()->TxtLogin->text(), QStringLiteral("AGENT"));
    EXPECT_TRUE(ecran()->isVisible());

    messages().vider();
    EXPECT_EQ(seConnecter(QStringLiteral("INCONNU"), QStringLiteral("x")), nullptr);
    EXPECT_EQ(seConnecter(QStringLiteral("PIEZO"), QStringLiteral("p")), nullptr);
    EXPECT_EQ(
        messages().textes(),
        QStringList({QStringLiteral("Utilisateur inconnu"),
                     QStringLiteral(
                         "Vous ne disposez pas de droits suffisants pour accéder à ce module")}));
    EXPECT_TRUE(ecran()->isVisible());
    EXPECT_FALSE(session().estConnecte());

    // The password in another case: the main window, with the commands of the user's rights.
    messages().vider();
    FenetrePrincipale *fenetre = seConnecter(QStringLiteral("AGENT"), QStringLiteral("ABC"));
    ASSERT_NE(fenetre, nullptr);
    EXPECT_TRUE(fenetre->isVisible());
    EXPECT_FALSE(ecran()->isVisible());
    EXPECT_TRUE(messages().textes().isEmpty()) << qPrintable(messages().textes().join(u'\n'));
    EXPECT_EQ(session().login, QStringLiteral("AGENT"));
    EXPECT_EQ(lireRegistre(reglage::LastUser, {}, true), QStringLiteral("AGENT"));
    EXPECT_EQ(lireRegistre(reglage::ConnexionAutomatic), QStringLiteral("NON"));
    EXPECT_FALSE(action(fenetre, "ActionUtilisateurs")->isVisible());
    // The schema was brought up to date on the way.
    EXPECT_TRUE(bd().tableExiste(QStringLiteral("QUALITOMETRES")));
}

TEST_P(LoginEcranTest, AdministrateurParDefautInviteAChangerSonMotDePasse)
{
    demarrer();
    FenetrePrincipale *fenetre = seConnecter(QStringLiteral("ADMIN"), QStringLiteral("kobal"));
    ASSERT_NE(fenetre, nullptr);
    ASSERT_EQ(messages().messages().size(), 1);
    EXPECT_EQ(messages().messages()[0].genre, QStringLiteral("AIDE"));
    EXPECT_EQ(
        messages().messages()[0].texte,
        QStringLiteral(
            "Vous êtes connecté avec le mot de passe par défaut de l'administrateur.\n"
            "Pour protéger la base, changez-le dès maintenant dans la gestion des utilisateurs "
            "(menu Fichier, « Gestion des utilisateurs... »)."));

    // The administrator reaches the user administration from the main window.
    QAction *utilisateurs = action(fenetre, "ActionUtilisateurs");
    ASSERT_NE(utilisateurs, nullptr);
    EXPECT_TRUE(utilisateurs->isVisible());
    utilisateurs->trigger();
    ASSERT_EQ(fenetre->ecrans().size(), 1);
    EXPECT_NE(qobject_cast<FrmUtilisateurs *>(fenetre->ecrans().first()), nullptr);
}

TEST_P(LoginEcranTest, ConnexionAutomatiqueAuDemarrageSuivantEtChangementDUtilisateur)
{
    demarrer();
    ASSERT_NE(seConnecter(QStringLiteral("AGENT"), QStringLiteral("abc"), true), nullptr);
    EXPECT_EQ(lireRegistre(reglage::ConnexionAutomatic), QStringLiteral("OUI"));

    // Next start: the same user without typing anything, journalled.
    delete application->fenetrePrincipale();
    application.reset();
    traiterEvenements();
    session().vider();
    ecrireRegistre(reglage::LogLevel, QStringLiteral("2"));
    demarrer();
    ASSERT_NE(application->fenetrePrincipale(), nullptr);
    EXPECT_EQ(session().login, QStringLiteral("AGENT"));
    EXPECT_TRUE(messages().textes().isEmpty());
    EXPECT_EQ(lignes(QStringLiteral("SELECT Titre, utilisateur FROM JOURNAL WHERE Titre='Login'")),
              QStringList{QStringLiteral("Login|AGENT")});

    // Changing user: the login screen waits, the automatic login is off.
    action(application->fenetrePrincipale(), "ActionChangerUtilisateur")->trigger();
    traiterEvenements();
    EXPECT_EQ(application->fenetrePrincipale(), nullptr);
    EXPECT_TRUE(ecran()->isVisible());
    EXPECT_FALSE(ecran()->ChkConnexionAutomatique->isChecked());
    EXPECT_FALSE(session().estConnecte());
    EXPECT_EQ(ecran()->TxtLogin->text(), QStringLiteral("AGENT"));

    // Settings edited by hand open nobody's account.
    ecrireRegistre(reglage::ConnexionAutomatic, QStringLiteral("OUI"));
    ecrireRegistre(reglage::LastUser, QStringLiteral("ADMIN"));
    application.reset();
    traiterEvenements();
    demarrer();
    EXPECT_EQ(application->fenetrePrincipale(), nullptr);
    EXPECT_TRUE(ecran()->isVisible());
    EXPECT_TRUE(messages().textes().isEmpty());
}

VYK_SUR_LES_DEUX_MOTEURS(LoginEcranTest);

} // namespace
