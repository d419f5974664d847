#include "ui/app/MenuStations.h"

#include "ui/app/FenetrePrincipale.h"
#include "ui/monitoring/FrmJournaux.h"
#include "ui/monitoring/SuiviPhysicoChmique.h"

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

    QAction *suivi = menu->addAction(QStringLiteral("&Suivi physico-chimique"));
    suivi->setObjectName(QStringLiteral("ActionSuiviPhysicoChimique"));
    QObject::connect(suivi, &QAction::triggered, &fenetre, [&fenetre] {
        auto *ecran = new SuiviPhysicoChmique;
        QObject::connect(ecran, &SuiviPhysicoChmique::ouvrirPrelevement, &fenetre,
                         [&fenetre](QWidget *fiche) { fenetre.ouvrirEcran(fiche); });
        fenetre.ouvrirEcran(ecran);
    });
}

} // namespace vyk
