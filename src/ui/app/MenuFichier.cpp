#include "ui/app/MenuFichier.h"

#include "db/Session.h"
#include "ui/app/Administration.h"
#include "ui/app/Application.h"
#include "ui/app/ConsultationJournal.h"
#include "ui/app/FenetrePrincipale.h"
#include "ui/users/FrmUtilisateurs.h"
#include "ui/widgets/Droits.h"
#include "users/Authentification.h"
#include "users/Habilitations.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace vyk {

void creerMenuFichier(FenetrePrincipale &fenetre)
{
    QMenu *menu = fenetre.menuBar()->addMenu(QStringLiteral("&Fichier"));
    menu->setObjectName(QStringLiteral("MenuFichier"));

    QAction *connexion = menu->addAction(QStringLiteral("&Base de données…"));
    connexion->setObjectName(QStringLiteral("ActionConnexion"));
    QObject::connect(connexion, &QAction::triggered, &fenetre,
                     [&fenetre] { fenetre.application().ouvrirConnexion(&fenetre); });

    QAction *administration = menu->addAction(QStringLiteral("&Administration"));
    administration->setObjectName(QStringLiteral("ActionAdministration"));
    QObject::connect(administration, &QAction::triggered, &fenetre,
                     [&fenetre] { fenetre.ouvrirEcran(new Administration); });
    // Profiles and settings of the workstation: administrators only.
    administration->setVisible(session().administrateur);

    QAction *journal = menu->addAction(QStringLiteral("&Journal de la base…"));
    journal->setObjectName(QStringLiteral("ActionJournal"));
    QObject::connect(journal, &QAction::triggered, &fenetre,
                     [&fenetre] { fenetre.ouvrirEcran(new ConsultationJournal); });
    appliquerDroit(journal, droit::QUALITO_JOURNAUX);

    QAction *utilisateurs = menu->addAction(QStringLiteral("&Gestion des utilisateurs…"));
    utilisateurs->setObjectName(QStringLiteral("ActionUtilisateurs"));
    QObject::connect(utilisateurs, &QAction::triggered, &fenetre,
                     [&fenetre] { fenetre.ouvrirEcran(new FrmUtilisateurs); });
    appliquerDroit(utilisateurs, droit::ADMIN_USER);

    // Back to the login screen, which then asks for the login (no automatic login).
    QAction *utilisateur = menu->addAction(QStringLiteral("&Changer d'utilisateur"));
    utilisateur->setObjectName(QStringLiteral("ActionChangerUtilisateur"));
    QObject::connect(utilisateur, &QAction::triggered, &fenetre, [&fenetre] {
        preparerChangementUtilisateur();
        fenetre.application().demarrage().changementUtilisateur();
        fenetre.close();
    });

    menu->addSeparator();
    QAction *quitter = menu->addAction(QStringLiteral("&Quitter"));
    quitter->setObjectName(QStringLiteral("ActionQuitter"));
    quitter->setShortcut(QKeySequence::Quit);
    QObject::connect(quitter, &QAction::triggered, &fenetre, &QWidget::close);
}

} // namespace vyk
