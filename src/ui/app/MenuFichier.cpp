#include "ui/app/MenuFichier.h"

#include "ui/app/Administration.h"
#include "ui/app/Application.h"
#include "ui/app/FenetrePrincipale.h"

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

    // The users module will show its own change of user here; until then, back to the login.
    QAction *utilisateur = menu->addAction(QStringLiteral("&Changer d'utilisateur"));
    utilisateur->setObjectName(QStringLiteral("ActionChangerUtilisateur"));
    QObject::connect(utilisateur, &QAction::triggered, &fenetre, [&fenetre] {
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
