#include "ui/widgets/CadreEcran.h"

#include <QMdiSubWindow>

namespace vyk {

void fermerEcran(QWidget *ecran)
{
    if (auto *cadre = qobject_cast<QMdiSubWindow *>(ecran->parentWidget()))
        cadre->close();
    else
        ecran->close();
}

} // namespace vyk
