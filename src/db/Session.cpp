#include "db/Session.h"

#include <QSysInfo>

namespace vyk {

Session &session()
{
    static Session s = [] {
        Session init;
        init.poste = QSysInfo::machineHostName();
        return init;
    }();
    return s;
}

} // namespace vyk
