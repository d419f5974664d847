#pragma once

// Commands shown or hidden after the rights of the logged-in user (estHabilite: an
// administrator sees everything).

#include <QString>

class QAction;
class QWidget;

namespace vyk {

// Shows the command when the user holds the right ("*" for a prefix: "MAT_*"), hides it
// otherwise. For the commands of a screen (buttons, menus, tabs' contents), not for windows.
// Returns whether the right is held.
bool appliquerDroit(QWidget *commande, const QString &droit);
bool appliquerDroit(QAction *commande, const QString &droit);

} // namespace vyk
