#include "ui/app/MenuCartographie.h"

#include "ui/app/FenetrePrincipale.h"
#include "ui/carto/FrmExportKMLQualite.h"
#include "ui/widgets/Droits.h"
#include "users/Habilitations.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace vyk {

void creerMenuCartographie(FenetrePrincipale &fenetre)
{
    QMenu *menu = fenetre.menuBar()->addMenu(QStringLiteral("&Cartographie"));
    menu->setObjectName(QStringLiteral("MenuCartographie"));
    QAction *kml = menu->addAction(QStringLiteral("&Export KML et site web…"));
    kml->setObjectName(QStringLiteral("ActionExportKml"));
    QObject::connect(kml, &QAction::triggered, &fenetre,
                     [&fenetre] { fenetre.ouvrirEcran(new FrmExportKMLQualite); });
    appliquerDroit(kml, droit::CARTO_QUALITO_HTML);
}

} // namespace vyk
