#pragma once

#include <QString>

namespace vyk {

// The program's version, the one the upgrade writes in the version row of PARAMETRES. A
// database is current when that row's text is exactly this one (spaces around it ignored).
inline QString versionProgramme()
{
    return QStringLiteral(VYK_VERSION);
}

} // namespace vyk
