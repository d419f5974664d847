#include "app/Profils.h"
#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/Journal.h"
#include "db/Session.h"
#include "ui/app/Administration.h"
#include "ui/app/Application.h"
#include "ui/app/FenetrePrincipale.h"
#include "ui/app/FrmConnexion.h"
#include "ui/app/FrmIdentification.h"

#include "support/EcranTest.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>

using namespace vyk;
using vyk::test::BaseTest;
using vyk::test::traiterEvenements;

namespace {

// The user picks the next entry of a list with the keyboard.
void choisirSuivant(QComboBox *liste)
{
    QKeyEvent bas(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(liste, &bas);
}

void declencher(QWidget *fenetre, const char *action)
{
    auto *a = fenetre->findChild<QAction *>(QString::fromLatin1(action));
    ASSERT_NE(a, nullptr) << action;
    a->trigger();
}

QString contenu(const QString &chemin)
{
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// The program on the test's database: settings naming it, a journal table, the login screen.
class EcransConnexionTest : public BaseTest
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
        QObject::connect(&application, &Application::fin, [this] { ++fins; });
        // These tests are about the screens: any login is accepted and the schema is taken as
        // current (the real login and check are tested in tests/ui/users and tests/schema).
        application.demarrage().authentifier = [](const QString &login, const QString &, bool) {
            session().vider();
            session().login = login.trimmed();
            return true;
        };
        application.demarrage().verifierVersionBase = [](const QString &) { return true; };
    }
    void TearDown() override
    {
        delete application.fenetrePrincipale();
        traiterEvenements();
        definirNiveauJournal(0);
        BaseTest::TearDown();
    }
    FrmIdentification *identification() { return application.ecranIdentification(); }
    // Logs in from the login screen; the main window opens.
    FenetrePrincipale *seConnecter(const QString &login)
    {
        identification()->TxtLogin->setText(login);
        identification()->CmdConnexion->click();
        traiterEvenements();
        return application.fenetrePrincipale();
    }

    Application application;
    int fins = 0;
};

TEST_P(EcransConnexionTest, ProfilChoisiBasculeLaBaseEtRedemandeLIdentification)
{
    const test::ServeurTest s = test::serveurTest();
    // From the server, to a desktop file; from a desktop file, to the server.
    const QString autre = chemin(QStringLiteral("autre.mdb"));
    if (estPostgres()) {
        ASSERT_TRUE(BaseDonnees::creerBaseBureau(autre));
    } else if (!s.disponible()) {
        GTEST_SKIP() << "Aucun serveur PostgreSQL de test pour la bascule vers un serveur.";
    }
    const QString profils = chemin(QStringLiteral("databases.properties"));
    const LigneProfil ligne =
        estPostgres()
            ? LigneProfil{QStringLiteral("Autre"), ACCESS, autre, {}, {}, {}, {}}
            : LigneProfil{QStringLiteral("Autre"), POSTGRESQL,         s.hote, s.port, s.base,
                          s.utilisateur,           QStringLiteral("x")};
    ASSERT_TRUE(ecrireFichierBases(profils, {ligne}));
    ecrireRegistre(reglage::FichierProfils, profils);
    ecrireRegistre(reglage::LogLevel, QStringLiteral("2"));

    application.demarrer();
    ASSERT_TRUE(identification()->isVisible());
    EXPECT_EQ(identification()->LblStatut->text(), libelleBase());
    EXPECT_EQ(identification()->LblVersion->text(),
              QStringLiteral("Version ") + QStringLiteral(VYK_VERSION));
    FenetrePrincipale *fenetre = seConnecter(QStringLiteral("jean"));
    ASSERT_NE(fenetre, nullptr);
    EXPECT_TRUE(fenetre->isVisible());
    EXPECT_FALSE(identification()->isVisible());
    EXPECT_EQ(session().login, QStringLiteral("jean"));

    declencher(fenetre, "ActionConnexion");
    auto *ecran = fenetre->findChild<FrmConnexion *>();
    ASSERT_NE(ecran, nullptr);
    ASSERT_EQ(ecran->CboBases->count(), 1);
    EXPECT_EQ(ecran->CboBases->itemText(0), QStringLiteral("Autre"));
    choisirSuivant(ecran->CboBases);
    traiterEvenements();

    // The main window is gone, the login screen is back on the other database.
    EXPECT_EQ(application.fenetrePrincipale(), nullptr);
    EXPECT_TRUE(identification()->isVisible());
    EXPECT_TRUE(bd().estOuverte());
    EXPECT_EQ(bd().typeBase(), estPostgres() ? ACCESS : POSTGRESQL);
    const QString attendu = estPostgres() ? autre : s.hote + u'/' + s.base;
    EXPECT_EQ(identification()->LblStatut->text(), attendu);
    EXPECT_EQ(identification()->TxtLogin->text(), QStringLiteral("jean"));
    EXPECT_FALSE(identification()->ChkConnexionAutomatique->isChecked());
    EXPECT_TRUE(identification()->CmdConnexion->isEnabled());
    EXPECT_FALSE(session().estConnecte());
    EXPECT_EQ(fins, 0);
    EXPECT_TRUE(messages().messages().isEmpty()) << qPrintable(messages().textes().join(u'\n'));

    // A new login opens the main window on the new database.
    fenetre = seConnecter(QStringLiteral("jean"));
    ASSERT_NE(fenetre, nullptr);
    EXPECT_EQ(fenetre->findChild<QLabel *>(QStringLiteral("LblBase"))->text(), attendu);

    // The user logged out of the database he left.
    ASSERT_TRUE(rouvrir());
    EXPECT_EQ(lignes(QStringLiteral("SELECT Titre, utilisateur FROM JOURNAL")),
              QStringList{QStringLiteral("Logout|jean")});
}

TEST_P(EcransConnexionTest, ServeurIncompletRefuseSansRienStocker)
{
    application.demarrer();
    identification()->CmdBase->click();
    auto *ecran = identification()->findChild<FrmConnexion *>();
    ASSERT_NE(ecran, nullptr);
    EXPECT_TRUE(ecran->isVisible());
    const QString avant = contenu(cheminRegistre());
    ecran->CboTypeServeur->setCurrentIndex(1);
    ecran->TxtServeur->setText(QStringLiteral("pg.exemple.fr"));
    ecran->TxtBase->setText(QStringLiteral("eaux"));
    ecran->TxtUtilisateur->setText(QStringLiteral("lecteur"));
    ecran->TxtMotDePasse->clear();
    ecran->CmdEnregistrer->click();
    traiterEvenements();
    ASSERT_EQ(messages().messages().size(), 1);
    EXPECT_EQ(messages().messages()[0].genre, QStringLiteral("ERREUR"));
    EXPECT_EQ(messages().messages()[0].texte,
              QStringLiteral(
                  "Certaines informations de connexion ne sont pas correctement renseignées."));
    EXPECT_EQ(contenu(cheminRegistre()), avant);
    EXPECT_TRUE(ecran->isVisible());
    EXPECT_EQ(bd().typeBase(), typeBase());
    EXPECT_EQ(identification()->LblStatut->text(), libelleBase());
    ecran->CmdFermer->click();
    traiterEvenements();
    EXPECT_EQ(identification()->findChild<FrmConnexion *>(), nullptr);
}

TEST_P(EcransConnexionTest, BaseInjoignableErreurSurLEcranDIdentification)
{
    const QString absente =
        estPostgres() ? QStringLiteral("vyk_base_absente") : chemin(QStringLiteral("absente.mdb"));
    ecrireRegistre(reglage::Base, absente);
    ecrireRegistre(reglage::LastUser, QStringLiteral("marie"));
    ecrireRegistre(reglage::ConnexionAutomatic, QStringLiteral("OUI"));
    application.demarrer();
    traiterEvenements();
    EXPECT_TRUE(identification()->ChkConnexionAutomatique->isChecked());
    ASSERT_EQ(messages().messages().size(), 1);
    EXPECT_EQ(messages().messages()[0].genre, QStringLiteral("ERREUR"));
    EXPECT_EQ(messages().messages()[0].texte,
              QStringLiteral("La connexion à la base de données (") + absente +
                  QStringLiteral(") n'a pas fonctionné. Vérifiez le paramétrage dans "
                                 "l'administration du logiciel."));
    EXPECT_FALSE(bd().estOuverte());
    EXPECT_TRUE(identification()->isVisible());
    EXPECT_FALSE(identification()->CmdConnexion->isEnabled());
    EXPECT_EQ(identification()->TxtLogin->text(), QStringLiteral("marie"));
    identification()->connexion();
    EXPECT_EQ(application.fenetrePrincipale(), nullptr);

    // Back on a database that opens, from the connection screen.
    identification()->CmdBase->click();
    auto *ecran = identification()->findChild<FrmConnexion *>();
    ASSERT_NE(ecran, nullptr);
    if (estPostgres()) {
        EXPECT_EQ(ecran->TxtBase->text(), absente);
        ecran->TxtBase->setText(test::serveurTest().base);
        if (ecran->TxtMotDePasse->text().isEmpty())
            ecran->TxtMotDePasse->setText(QStringLiteral("x"));
        ecran->CmdEnregistrer->click();
    } else {
        EXPECT_EQ(ecran->TxtFichier->text(), absente);
        ecran->TxtFichier->setText(emplacement());
        ecran->CmdChangementBase->click();
    }
    traiterEvenements();
    EXPECT_EQ(messages().messages().size(), 1);
    EXPECT_TRUE(bd().estOuverte());
    EXPECT_EQ(identification()->findChild<FrmConnexion *>(), nullptr);
    EXPECT_TRUE(identification()->CmdConnexion->isEnabled());
    EXPECT_EQ(identification()->LblStatut->text(), libelleBase());
    // The new database asks for the login: no automatic login, the box unticked.
    EXPECT_FALSE(identification()->ChkConnexionAutomatique->isChecked());
    EXPECT_EQ(application.fenetrePrincipale(), nullptr);
}

TEST_P(EcransConnexionTest, FermetureDeLaFenetrePrincipale)
{
    ecrireRegistre(reglage::LogLevel, QStringLiteral("2"));
    application.demarrer();
    FenetrePrincipale *fenetre = seConnecter(QStringLiteral("jean"));
    ASSERT_NE(fenetre, nullptr);
    EXPECT_EQ(fenetre->windowTitle(),
              QStringLiteral("VYK - ") + libelleBase() + QStringLiteral(" - jean"));

    declencher(fenetre, "ActionQuitter");
    traiterEvenements();
    ASSERT_EQ(messages().textes(),
              QStringList{QStringLiteral("Etes vous sûr de vouloir quitter VYK ?")});
    EXPECT_EQ(application.fenetrePrincipale(), fenetre);
    EXPECT_TRUE(fenetre->isVisible());
    EXPECT_TRUE(lignes(QStringLiteral("SELECT Titre FROM JOURNAL")).isEmpty());

    messages().repondre(BoutonOui);
    declencher(fenetre, "ActionQuitter");
    traiterEvenements();
    EXPECT_EQ(application.fenetrePrincipale(), nullptr);
    EXPECT_EQ(fins, 1);
    EXPECT_FALSE(bd().estOuverte());
    ASSERT_TRUE(rouvrir());
    EXPECT_EQ(lignes(QStringLiteral("SELECT Titre, utilisateur, niveau FROM JOURNAL")),
              QStringList{QStringLiteral("Logout|jean|2")});
}

TEST_P(EcransConnexionTest, ChangementDUtilisateurEtAdministration)
{
    application.demarrer();
    // The administration (profiles, settings of the workstation) is for administrators only.
    FenetrePrincipale *fenetre = seConnecter(QStringLiteral("paul"));
    ASSERT_NE(fenetre, nullptr);
    EXPECT_FALSE(
        fenetre->findChild<QAction *>(QStringLiteral("ActionAdministration"))->isVisible());
    messages().repondre(BoutonOui);
    declencher(fenetre, "ActionChangerUtilisateur");
    traiterEvenements();
    application.demarrage().authentifier = [](const QString &login, const QString &, bool) {
        session().vider();
        session().login = login.trimmed();
        session().nom = QStringLiteral("Jean Dupont");
        session().administrateur = true;
        return true;
    };
    fenetre = seConnecter(QStringLiteral("jean"));
    ASSERT_NE(fenetre, nullptr);
    EXPECT_EQ(fenetre->windowTitle(),
              QStringLiteral("VYK - ") + libelleBase() + QStringLiteral(" - Jean Dupont (jean)"));
    EXPECT_TRUE(fenetre->findChild<QAction *>(QStringLiteral("ActionAdministration"))->isVisible());
    declencher(fenetre, "ActionAdministration");
    declencher(fenetre, "ActionAdministration");
    ASSERT_EQ(fenetre->ecrans().size(), 1);
    auto *administration = qobject_cast<Administration *>(fenetre->ecrans().first());
    ASSERT_NE(administration, nullptr);
    auto *omnidia = administration->findChild<QCheckBox *>(QStringLiteral("Chkomnidia"));
    ASSERT_NE(omnidia, nullptr);
    omnidia->click();
    EXPECT_EQ(lireRegistre(reglage::omnidia), QStringLiteral("1"));

    declencher(fenetre, "ActionChangerUtilisateur");
    traiterEvenements();
    EXPECT_EQ(application.fenetrePrincipale(), nullptr);
    EXPECT_TRUE(identification()->isVisible());
    EXPECT_TRUE(bd().estOuverte());
    EXPECT_TRUE(messages().messages().isEmpty());
    EXPECT_FALSE(session().estConnecte());
    EXPECT_EQ(fins, 0);
    EXPECT_NE(seConnecter(QStringLiteral("paul")), nullptr);
    EXPECT_EQ(session().login, QStringLiteral("paul"));
}

TEST_P(EcransConnexionTest, EcransAPleineTailleDansLaFenetreEtUnSeulParNom)
{
    application.demarrer();
    FenetrePrincipale *fenetre = seConnecter(QStringLiteral("jean"));
    ASSERT_NE(fenetre, nullptr);
    auto *zone = fenetre->findChild<QMdiArea *>();
    ASSERT_NE(zone, nullptr);
    const QSize place = zone->viewport()->size();
    auto ecranDeTaille = [](const char *nom, QSize taille) {
        auto *e = new QWidget;
        e->setObjectName(QString::fromLatin1(nom));
        e->setMinimumSize(100, 80);
        e->resize(taille);
        return e;
    };
    // Wider and taller than the area: as large as the area allows, not shrunk to its minimum.
    QWidget *grand = fenetre->ouvrirEcran(ecranDeTaille("Grand", place + QSize(300, 300)));
    const QRect cadreGrand = grand->parentWidget()->geometry();
    EXPECT_TRUE(QRect(QPoint(0, 0), place).contains(cadreGrand))
        << cadreGrand.x() << ',' << cadreGrand.y();
    EXPECT_GT(cadreGrand.width(), place.width() * 3 / 4);
    EXPECT_GT(cadreGrand.height(), place.height() * 3 / 4);
    // Smaller than the area: the size asked for.
    QWidget *petit = fenetre->ouvrirEcran(ecranDeTaille("Petit", QSize(420, 260)));
    EXPECT_EQ(petit->size(), QSize(420, 260));
    // A second screen of the same name brings the first forward.
    EXPECT_EQ(fenetre->ouvrirEcran(ecranDeTaille("Petit", QSize(500, 300))), petit);
    EXPECT_EQ(fenetre->ecrans().size(), 2);
}

// A mistyped file from the main window: nothing is stored, the screens and the user stay.
TEST_P(EcransConnexionTest, BaseMalSaisieDepuisLaFenetreNeChangeRien)
{
    application.demarrer();
    FenetrePrincipale *fenetre = seConnecter(QStringLiteral("jean"));
    ASSERT_NE(fenetre, nullptr);
    QWidget *ecran = fenetre->ouvrirEcran(new QWidget);
    ecran->setObjectName(QStringLiteral("EcranOuvert"));
    const QString avant = contenu(cheminRegistre());
    declencher(fenetre, "ActionConnexion");
    auto *connexion = fenetre->findChild<FrmConnexion *>();
    ASSERT_NE(connexion, nullptr);
    const QString absente = chemin(QStringLiteral("sous-dossier/absente.mdb"));
    connexion->TxtFichier->setText(absente);
    connexion->CmdChangementBase->click();
    traiterEvenements();

    ASSERT_EQ(messages().messages().size(), 1);
    EXPECT_EQ(messages().messages()[0].genre, QStringLiteral("ERREUR"));
    EXPECT_EQ(messages().messages()[0].texte,
              QStringLiteral("La base de données (") + absente +
                  QStringLiteral(") ne peut pas être ouverte : ") +
                  QStringLiteral("Le fichier de base de données « ") + absente +
                  QStringLiteral(" » n'existe pas.") +
                  QStringLiteral("\nLa base de données actuelle reste ouverte."));
    EXPECT_EQ(contenu(cheminRegistre()), avant);
    EXPECT_EQ(application.fenetrePrincipale(), fenetre);
    EXPECT_EQ(fenetre->ecrans(), QList<QWidget *>{ecran});
    EXPECT_TRUE(connexion->isVisible());
    EXPECT_EQ(session().login, QStringLiteral("jean"));
    EXPECT_TRUE(bd().estOuverte());
    EXPECT_EQ(bd().typeBase(), typeBase());
    ASSERT_TRUE(rouvrir());
    EXPECT_TRUE(lignes(QStringLiteral("SELECT Titre FROM JOURNAL WHERE Titre='Logout'")).isEmpty());
}

// The Fenêtre menu lists the open screens and brings the chosen one forward; "À propos" names
// the version, the database and the user.
TEST_P(EcransConnexionTest, MenuFenetreEtAPropos)
{
    application.demarrer();
    FenetrePrincipale *fenetre = seConnecter(QStringLiteral("jean"));
    ASSERT_NE(fenetre, nullptr);
    auto ecranNomme = [](const char *nom) {
        auto *e = new QWidget;
        e->setObjectName(QString::fromLatin1(nom));
        e->setWindowTitle(QString::fromLatin1(nom));
        e->resize(300, 200);
        return e;
    };
    QWidget *premier = fenetre->ouvrirEcran(ecranNomme("Premier"));
    fenetre->ouvrirEcran(ecranNomme("Second"));
    auto *menu = fenetre->findChild<QMenu *>(QStringLiteral("MenuFenetre"));
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    QStringList textes;
    QAction *choix = nullptr;
    for (QAction *a : menu->actions())
        if (!a->isSeparator()) {
            textes << a->text();
            if (a->text().endsWith(QLatin1String("Premier"))) choix = a;
        }
    EXPECT_EQ(textes, QStringList({"&Cascade", "&Mosaïque", "&Fermer toutes les fenêtres",
                                   "&1 Premier", "&2 Second"}));
    ASSERT_NE(choix, nullptr);
    choix->trigger();
    EXPECT_EQ(fenetre->zone()->activeSubWindow()->widget(), premier);
    emit menu->aboutToShow();
    EXPECT_EQ(menu->actions().size(), 6);

    declencher(fenetre, "ActionAPropos");
    auto *boite = fenetre->findChild<QMessageBox *>(QStringLiteral("BoiteAPropos"));
    ASSERT_NE(boite, nullptr);
    EXPECT_TRUE(boite->text().contains(QStringLiteral("Version ") + QStringLiteral(VYK_VERSION)));
    EXPECT_TRUE(boite->text().contains(QStringLiteral("Base de données : ") +
                                       libelleBase().toHtmlEscaped()));
    EXPECT_TRUE(boite->text().contains(QStringLiteral("Utilisateur : jean")));
    boite->close();
}

TEST_P(EcransConnexionTest, ConnexionAutomatiqueAuDemarrageSeulement)
{
    ecrireRegistre(reglage::LastUser, QStringLiteral("jean"));
    ecrireRegistre(reglage::ConnexionAutomatic, QStringLiteral("OUI"));
    application.demarrer();
    EXPECT_TRUE(identification()->ChkConnexionAutomatique->isChecked());
    traiterEvenements();
    FenetrePrincipale *fenetre = application.fenetrePrincipale();
    ASSERT_NE(fenetre, nullptr);
    EXPECT_EQ(session().login, QStringLiteral("jean"));
    EXPECT_FALSE(identification()->isVisible());

    // Changing user brings the login screen back, and it waits for the new user: the automatic
    // login is switched off.
    declencher(fenetre, "ActionChangerUtilisateur");
    traiterEvenements();
    EXPECT_EQ(application.fenetrePrincipale(), nullptr);
    EXPECT_TRUE(identification()->isVisible());
    EXPECT_FALSE(identification()->ChkConnexionAutomatique->isChecked());
    EXPECT_EQ(lireRegistre(reglage::ConnexionAutomatic), QStringLiteral("NON"));
    EXPECT_FALSE(session().estConnecte());
}

VYK_SUR_LES_DEUX_MOTEURS(EcransConnexionTest);

TEST(AdministrationEcranTest, ReglagesEcritsAuChangementEtGrilleDesBases)
{
    test::EnvironnementTest env;
    ecrireRegistre(reglage::ExploitationAEP, QStringLiteral("1"));
    ecrireRegistre(reglage::CheminR, QStringLiteral("/opt/calculateurs/"));
    ASSERT_TRUE(ecrireFichierBases(
        env.chemin(QStringLiteral("databases.properties")),
        {{QStringLiteral("Locale"), ACCESS, QStringLiteral("/srv/a.mdb"), {}, {}, {}, {}}}));
    ecrireRegistre(reglage::FichierProfils, env.chemin(QStringLiteral("databases.properties")));
    Administration ecran;
    ecran.show();

    // Controls show the stored values.
    EXPECT_TRUE(ecran.findChild<QCheckBox *>(QStringLiteral("ChkExploitationAEP"))->isChecked());
    EXPECT_EQ(ecran.findChild<QLineEdit *>(QStringLiteral("TxtCheminR"))->text(),
              QStringLiteral("/opt/calculateurs/"));
    auto *mois = ecran.findChild<QComboBox *>(QStringLiteral("CboMoisDebutAnneeHydro"));
    EXPECT_EQ(mois->currentText(), QStringLiteral("Septembre"));
    ASSERT_EQ(ecran.sprBases->rowCount(), 1);
    EXPECT_EQ(ecran.sprBases->item(0, 2)->text(), QStringLiteral("/srv/a.mdb"));

    // Each change is written at once.
    ecran.findChild<QCheckBox *>(QStringLiteral("ChkAffichageChronologiqueInverse"))->click();
    EXPECT_EQ(lireRegistre(reglage::AffichageChronologiqueInverse), QStringLiteral("OUI"));
    ecran.findChild<QCheckBox *>(QStringLiteral("ChkExploitationAEP"))->click();
    EXPECT_EQ(lireRegistre(reglage::ExploitationAEP), QStringLiteral("0"));
    ecran.findChild<QLineEdit *>(QStringLiteral("TxtCheminExport"))
        ->setText(QStringLiteral("/srv/export"));
    EXPECT_EQ(lireRegistre(reglage::CheminExport, {}, true), QStringLiteral("/srv/export/"));
    auto *niveau = ecran.findChild<QComboBox *>(QStringLiteral("CboLogLevel"));
    ASSERT_EQ(niveau->count(), 5);
    EXPECT_EQ(niveau->itemText(1), QStringLiteral("DEBUGGAGE   [1]"));
    EXPECT_EQ(niveau->currentIndex(), -1);
    choisirSuivant(niveau);
    choisirSuivant(niveau);
    choisirSuivant(niveau);
    EXPECT_EQ(niveau->currentText(), QStringLiteral("INFORMATION [2]"));
    EXPECT_EQ(lireRegistre(reglage::LogLevel), QStringLiteral("2"));
    EXPECT_EQ(niveauJournal(), 2);
    definirNiveauJournal(0);
    choisirSuivant(mois);
    EXPECT_EQ(lireRegistre(reglage::MoisDebutAnneeHydro), QStringLiteral("10"));
    // A list of defaults from code lists not yet there still writes under its name.
    auto *producteur = ecran.findChild<QComboBox *>(QStringLiteral("CboProducteur"));
    ASSERT_NE(producteur, nullptr);
    EXPECT_EQ(producteur->count(), 1);

    // The grid: a server row added, the file written.
    ecran.ajouterLigneBase({QStringLiteral("Serveur"), POSTGRESQL, QStringLiteral("pg1"),
                            QStringLiteral("5432"), QStringLiteral("eaux"),
                            QStringLiteral("lecteur"), QStringLiteral("secret")});
    ecran.CmdEnregistrerBases->click();
    EXPECT_EQ(env.messages.textes(),
              QStringList{QStringLiteral("Vos bases par défaut ont bien été enregistrées.")});
    EXPECT_EQ(
        contenu(env.chemin(QStringLiteral("databases.properties"))),
        QStringLiteral(
            "Locale=access@/srv/a.mdb\r\nServeur=postgres@pg1:5432/eaux\r\nServeur.user=lecteur\r\n"
            "Serveur.pwd=0A0873237837\r\n"));
    ecran.sprBases->setCurrentCell(0, 0);
    ecran.CmdSupprimerBase->click();
    ecran.CmdEnregistrerBases->click();
    EXPECT_EQ(ProfilsAdministration::charger().size(), 1);
}

} // namespace
