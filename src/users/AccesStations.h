#pragma once

// Which stations the logged-in user may see. A user holding the module's "_ALL" right sees every
// station; any other user sees only the stations of UTILISATEURS_STATIONS: the ones granted one
// by one ('SINGLE', kept until removed) and the ones derived from the network rights
// ('QUALITO_NETWORK', rebuilt at every test from the memberships valid today).

#include <QString>

namespace vyk {

inline const QString MODULE_QUALITE = QStringLiteral("VYK");

// True when the user's station access in the module ("VYK", or a sibling's code "VYDA", "VYR",
// "VYW") is restricted: neither an administrator nor a holder of the module's "_ALL" right.
// Rebuilds the user's network-derived rows on the way. contourner: false at once, nothing
// rebuilt.
bool estAccesRestreint(bool contourner = false, const QString &module = MODULE_QUALITE);

// The condition that limits a station query to the user's stations, to be added to a WHERE
// clause ("colonne in (select ... from utilisateurs_stations ...)"); "" when the user sees every
// station. Runs estAccesRestreint, so the network rows are current.
QString
conditionAccesStations(const QString &colonne = QStringLiteral("Qualitometres.CodeQualitometre"));

// True when the station is among the user's stations (any mode); the caller knows access is
// restricted.
bool stationAccordee(qint64 codeQualitometre);

// Grants a station to the session's user one by one ('SINGLE'), as after the user created or
// saved it with a restricted access. Idempotent.
bool accorderStation(qint64 codeQualitometre);
// Same for any login (user administration).
bool accorderStation(const QString &login, qint64 codeQualitometre);
// Withdraws a 'SINGLE' grant of one login; retirees receives how many rows went.
bool retirerStation(const QString &login, qint64 codeQualitometre, long long *retirees = nullptr);
// A station is deleted: its 'SINGLE' grants go, for every user.
bool retirerStationSupprimee(qint64 codeQualitometre);

} // namespace vyk
