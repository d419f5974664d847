#pragma once

// The three user tables, shared with the other modules of the suite.

#include <QString>

namespace vyk {

inline const QString ADMIN_DEFAUT = QStringLiteral("ADMIN");
inline const QString MOT_DE_PASSE_DEFAUT = QStringLiteral("KOBAL");

// Widths of the key and password columns (the other modules read the same table).
inline constexpr int LONGUEUR_LOGIN = 12;
inline constexpr int LONGUEUR_MOT_DE_PASSE = 12;

// Makes the user tables usable before a login: creates what is missing (tables and the columns
// added over the versions), keeps every account of an older users table, widens a station-grant
// mode column too narrow for the network grants, and adds the default administrator
// ("ADMIN" / "KOBAL") when the users table has no row (nobody could log in otherwise).
// Failing statements are skipped; false when the users table is still unusable.
bool assurerTablesUtilisateurs();

} // namespace vyk
