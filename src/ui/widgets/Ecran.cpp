#include "ui/widgets/Ecran.h"

namespace vyk {

Ecran::~Ecran()
{
    for (QObject *enfant : findChildren<QObject *>())
        QObject::disconnect(enfant, nullptr, this, nullptr);
}

} // namespace vyk
