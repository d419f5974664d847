#pragma once

#include <QString>

namespace vyk {

// A column name as compared: letters and digits only, lower case, without accents, so that
// "CD_PARAMETRE", "CdParametre" and "Code paramètre" meet their column whatever the spelling.
QString cleColonne(const QString &nom);

} // namespace vyk
