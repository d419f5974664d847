#include "ui/app/MenuStations.h"

#include "ui/app/FenetrePrincipale.h"
#include "ui/monitoring/FrmJournaux.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace vyk {

void creerMenuStations(FenetrePrincipale &fenetre)
{
    QMenu *menu = fenetre.menuBar()->addMenu(QStringLiteral("&Qualitomètres"));
    menu->setObjectName(QStringLiteral("MenuStations"));

    QAction *evenements = menu->addAction(QStringLiteral("&Événements des qualitomètres"));
    evenements->setObjectName(QStringLiteral("ActionEvenements"));
    QObject::connect(evenements, &QAction::triggered, &fenetre, [&fenetre] { fenetre.ouvrirEcran(new FrmJournaux); });
}

} // namespace vyk
