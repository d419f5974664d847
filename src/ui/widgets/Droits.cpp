#include "ui/widgets/Droits.h"

#include "users/Habilitations.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace vyk {

bool appliquerDroit(QWidget *commande, const QString &droit)
{
    const bool habilite = estHabilite(droit);
    if (commande) commande->setHidden(!habilite);
    return habilite;
}

bool appliquerDroit(QAction *commande, const QString &droit)
{
    const bool habilite = estHabilite(droit);
    if (commande) {
        commande->setVisible(habilite);
        // A menu behind the action is closed along with it.
        if (QMenu *menu = commande->menu()) menu->setEnabled(habilite);
    }
    return habilite;
}

} // namespace vyk
