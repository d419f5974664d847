#include "ui/widgets/Ecran.h"

namespace vyk {

void nommerControles(std::initializer_list<std::pair<QObject *, const char *>> controles)
{
    for (const auto &[controle, nom] : controles)
        controle->setObjectName(QLatin1String(nom));
}

Ecran::~Ecran()
{
    for (QObject *enfant : findChildren<QObject *>())
        QObject::disconnect(enfant, nullptr, this, nullptr);
}

} // namespace vyk
