#include "app/Registre.h"
#include "db/Journal.h"
#include "db/Session.h"
#include "users/Authentification.h"
#include "users/GestionUtilisateurs.h"
#include "users/Habilitations.h"
#include "users/TablesUtilisateurs.h"

#include "support/Affichage.h"
#include "support/BaseTest.h"
#include "support/CompteRenduTest.h"

#include <QRegularExpression>

using namespace vyk;
using vyk::test::BaseTest;
using vyk::test::vu;

namespace {

class LoginTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        if (IsSkipped()) return;
        ASSERT_TRUE(executer(QStringLiteral(
            "CREATE TABLE JOURNAL (dateEvt DateTime, niveau Text(1), Titre Text(125), "
            "utilisateur Text(50), contact Double, ip Text(50), projet Text(10), "
            "description Memo)")));
        definirNiveauJournal(2);
        ASSERT_TRUE(assurerTablesUtilisateurs());
        ASSERT_TRUE(executer(QStringLiteral(
            "INSERT INTO UTILISATEURS (login, password, isAdmin, nom, codeIntervenant, "
            "metadata, filtreQualito, codeContact) VALUES ('MARIE', 'Abc', '0', 'Marie "
            "Durand', 12, '1', 'F1', 4)")));
        ASSERT_TRUE(executer(QStringLiteral(
            "INSERT INTO UTILISATEURS_HABILITATIONS VALUES ('MARIE', 'QUALITO_IMPORT')")));
        ASSERT_TRUE(executer(QStringLiteral(
            "INSERT INTO UTILISATEURS_HABILITATIONS VALUES ('MARIE', 'MAT_MODEMS')")));
        ASSERT_TRUE(
            executer(QStringLiteral("CREATE TABLE CONTACTS (CodeContact Double, Nom Text(255))")));
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO CONTACTS VALUES (4, 'Marie D.')")));
        ASSERT_TRUE(executer(QStringLiteral("DELETE FROM JOURNAL")));
    }
    void TearDown() override
    {
        definirNiveauJournal(0);
        BaseTest::TearDown();
    }
    QStringList journal()
    {
        return lignes(
            QStringLiteral("SELECT Titre, utilisateur, contact FROM JOURNAL ORDER BY dateEvt"));
    }
};

TEST_P(LoginTest, RefusAvecLesMessagesEtSessionVide)
{
    QStringList refus;
    const auto refuse = [&refus](const QString &login, const QString &motDePasse,
                                 ResultatLogin attendu) {
        const ResultatLogin r = connecterUtilisateur(login, motDePasse);
        EXPECT_EQ(r, attendu);
        refus << vu(compteRenduLogin(r));
    };
    refuse(QStringLiteral("PERSONNE"), QStringLiteral("x"), ResultatLogin::UtilisateurInconnu);
    refuse(QStringLiteral("MARIE"), QStringLiteral("abd"), ResultatLogin::MotDePasseErrone);
    refuse(QStringLiteral("MARIE"), QString(), ResultatLogin::MotDePasseErrone);
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO UTILISATEURS_HABILITATIONS VALUES ('ADMIN', 'QUALITO_FORBIDEN')")));
    refuse(QStringLiteral("ADMIN"), QStringLiteral("KOBAL"), ResultatLogin::ModuleInterdit);
    EXPECT_EQ(refus, QStringList({"ERREUR: Utilisateur inconnu", "ERREUR: Mot de passe erronné",
                                  "ERREUR: Mot de passe erronné",
                                  "ERREUR: Vous ne disposez pas de droits suffisants pour "
                                  "accéder à ce module"}));
    EXPECT_TRUE(messages().messages().isEmpty());
    EXPECT_FALSE(session().estConnecte());
    EXPECT_FALSE(estHabilite(droit::QUALITO_IMPORT));
    EXPECT_TRUE(journal().isEmpty());
}

TEST_P(LoginTest, ConnexionRemplitLaSessionEtJournaliseSansMotDePasse)
{
    // The same password whatever its case, as the other modules compare it.
    ASSERT_EQ(connecterUtilisateur(QStringLiteral("MARIE"), QStringLiteral("ABC")),
              ResultatLogin::Accepte);
    const Session &s = session();
    EXPECT_EQ(s.login, QStringLiteral("MARIE"));
    EXPECT_EQ(s.nom, QStringLiteral("Marie Durand"));
    EXPECT_FALSE(s.administrateur);
    EXPECT_TRUE(s.editionReferentiels);
    EXPECT_EQ(s.codeIntervenant, QStringLiteral("12"));
    EXPECT_EQ(s.codeContact, QStringLiteral("4"));
    EXPECT_EQ(s.nomContact, QStringLiteral("Marie D."));
    EXPECT_EQ(s.filtreQualito, QStringLiteral("F1"));
    EXPECT_EQ(s.habilitations, QStringLiteral(",MAT_MODEMS,QUALITO_IMPORT,"));
    EXPECT_TRUE(estHabilite(QStringLiteral("MAT_*")));
    EXPECT_FALSE(estHabilite(droit::QUALITO_EXPORT));
    EXPECT_TRUE(messages().textes().isEmpty());
    EXPECT_EQ(journal(), QStringList({"Login|MARIE|4"}));

    if (estPostgres()) {
        EXPECT_EQ(valeur(QStringLiteral("SHOW application_name")).toString(),
                  QStringLiteral("VYK/MARIE"));
    }

    // A login typed in another case finds its only account.
    ASSERT_EQ(connecterUtilisateur(QStringLiteral("marie "), QStringLiteral("abc")),
              ResultatLogin::Accepte);
    EXPECT_EQ(session().login, QStringLiteral("MARIE"));

    // No password anywhere in the journal.
    GestionUtilisateurs gestion;
    ASSERT_TRUE(gestion.changerMotDePasse(QStringLiteral("MARIE"), QStringLiteral("Zq9!x")));
    EXPECT_TRUE(
        lignes(QStringLiteral(
                   "SELECT Titre FROM JOURNAL WHERE Titre LIKE '%Zq9%' OR description LIKE '%Zq9%' "
                   "OR Titre LIKE '%abc%' OR description LIKE '%abc%'"))
            .isEmpty());
}

TEST_P(LoginTest, MotDePasseParDefautSignale)
{
    ASSERT_EQ(connecterUtilisateur(QStringLiteral("ADMIN"), QStringLiteral("kobal")),
              ResultatLogin::Accepte);
    EXPECT_TRUE(session().administrateur);
    EXPECT_TRUE(estHabilite(droit::QUALITO_FICHE_SUPPR));
    const CompteRendu avis = compteRenduLogin(ResultatLogin::Accepte);
    EXPECT_TRUE(avis.ok);
    EXPECT_EQ(
        vu(avis),
        QStringLiteral(
            "AIDE: Vous êtes connecté avec le mot de passe par défaut de l'administrateur.\n"
            "Pour protéger la base, changez-le dès maintenant dans la gestion des utilisateurs "
            "(menu Fichier, « Gestion des utilisateurs... »)."));
    EXPECT_FALSE(avis.texte.contains(QStringLiteral("KOBAL"), Qt::CaseInsensitive));
    EXPECT_TRUE(messages().messages().isEmpty());

    GestionUtilisateurs gestion;
    ASSERT_TRUE(gestion.changerMotDePasse(QStringLiteral("ADMIN"), QStringLiteral("Nouveau1")));
    ASSERT_EQ(connecterUtilisateur(QStringLiteral("ADMIN"), QStringLiteral("NOUVEAU1")),
              ResultatLogin::Accepte);
    EXPECT_EQ(vu(compteRenduLogin(ResultatLogin::Accepte)), QString());
    // An automatic login refused says nothing.
    EXPECT_EQ(vu(compteRenduLogin(ResultatLogin::AutomatiqueRefuse)), QString());
    EXPECT_TRUE(messages().textes().isEmpty());
}

TEST_P(LoginTest, ConnexionAutomatiqueSeulementApresUnLoginSaisi)
{
    // The settings alone open nothing.
    ecrireRegistre(QStringLiteral("LastUser"), QStringLiteral("ADMIN"));
    ecrireRegistre(QStringLiteral("ConnexionAutomatic"), QStringLiteral("OUI"));
    EXPECT_EQ(connecterUtilisateur(QStringLiteral("ADMIN"), {}, true),
              ResultatLogin::AutomatiqueRefuse);
    EXPECT_EQ(connecterUtilisateur(QStringLiteral("PERSONNE"), {}, true),
              ResultatLogin::AutomatiqueRefuse);
    EXPECT_TRUE(messages().textes().isEmpty());
    EXPECT_FALSE(session().estConnecte());

    // A typed login with the box ticked: the next start logs the same user in.
    ASSERT_EQ(connecterUtilisateur(QStringLiteral("MARIE"), QStringLiteral("abc")),
              ResultatLogin::Accepte);
    retenirConnexionAutomatique(true);
    // A salt and a digest, not the password.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9a-f]{32}:[0-9a-f]{64}$"))
                    .match(lireRegistre(QStringLiteral("JetonConnexion"), {}, true))
                    .hasMatch());
    session().vider();
    ASSERT_EQ(connecterUtilisateur(QStringLiteral("MARIE"), {}, true), ResultatLogin::Accepte);
    EXPECT_EQ(session().login, QStringLiteral("MARIE"));
    EXPECT_EQ(connecterUtilisateur(QStringLiteral("ADMIN"), {}, true),
              ResultatLogin::AutomatiqueRefuse);

    // A new password ends it, and so does a typed login without the box.
    GestionUtilisateurs gestion;
    ASSERT_TRUE(gestion.changerMotDePasse(QStringLiteral("MARIE"), QStringLiteral("autre")));
    EXPECT_EQ(connecterUtilisateur(QStringLiteral("MARIE"), {}, true),
              ResultatLogin::AutomatiqueRefuse);
    ASSERT_EQ(connecterUtilisateur(QStringLiteral("MARIE"), QStringLiteral("AUTRE")),
              ResultatLogin::Accepte);
    retenirConnexionAutomatique(true);
    ASSERT_EQ(connecterUtilisateur(QStringLiteral("MARIE"), {}, true), ResultatLogin::Accepte);
    preparerChangementUtilisateur();
    EXPECT_EQ(lireRegistre(QStringLiteral("ConnexionAutomatic")), QStringLiteral("NON"));
    EXPECT_EQ(connecterUtilisateur(QStringLiteral("MARIE"), {}, true),
              ResultatLogin::AutomatiqueRefuse);
    ASSERT_EQ(connecterUtilisateur(QStringLiteral("MARIE"), QStringLiteral("autre")),
              ResultatLogin::Accepte);
    retenirConnexionAutomatique(true);
    ASSERT_EQ(connecterUtilisateur(QStringLiteral("MARIE"), {}, true), ResultatLogin::Accepte);
    retenirConnexionAutomatique(false);
    EXPECT_EQ(connecterUtilisateur(QStringLiteral("MARIE"), {}, true),
              ResultatLogin::AutomatiqueRefuse);
    EXPECT_TRUE(messages().textes().isEmpty());
}

TEST_P(LoginTest, TablesAssureesAvantLeLogin)
{
    ASSERT_TRUE(executer(QStringLiteral("DROP TABLE UTILISATEURS_HABILITATIONS")));
    ASSERT_TRUE(executer(QStringLiteral("DROP TABLE UTILISATEURS_STATIONS")));
    ASSERT_TRUE(executer(QStringLiteral("DROP TABLE UTILISATEURS")));
    ASSERT_EQ(connecterUtilisateur(QStringLiteral("ADMIN"), QStringLiteral("KOBAL")),
              ResultatLogin::Accepte);
    EXPECT_TRUE(bd().tableExiste(QStringLiteral("UTILISATEURS_STATIONS")));
}

VYK_SUR_LES_DEUX_MOTEURS(LoginTest);

} // namespace
