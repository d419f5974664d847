#pragma once

// What the results search screen derives from a search's rows: the detailed views grouped by
// station, sample, water body, HER or catchment, and the web map of the found stations.

#include "search/Recherche.h"

#include <QUrl>

namespace vyk {

enum class Regroupement
{
    Station,
    Prelevement,
    MasseEau,
    Her,
    Bv
};

// A detailed view: one row per group and element, with the highest class found there.
struct GrilleDetaillee
{
    GrilleTexte grille;
    // Class colour of each row (index into couleursClasses()), -1 without any detection.
    QVector<int> couleurs;
};
// Titled "Détail par station" and so on.
QString titreDetail(Regroupement regroupement);
// Groups in their key order (a sample by station, date and number), elements in their indicator
// order. Rows whose group key is empty (a station without water body) are left out of the
// water body, HER and catchment views.
GrilleDetaillee grilleDetaillee(const ResultatRecherche &r, Regroupement regroupement);

struct PointWgs84
{
    QString identifiant;
    double longitude = 0, latitude = 0;
};
// The found stations (holding at least one row) with WGS84 coordinates: a localisation in
// projection 16, 31 or 40 first, else the station's own coordinates in one of them; X or Y at
// 0 counts as no coordinate. False when a query failed.
bool pointsWgs84(const ResultatRecherche &r, QVector<PointWgs84> &points);
inline const QString MESSAGE_SANS_WGS84 =
    QStringLiteral("Les stations ne possèdent pas de coordonnées en WGS84 pour pouvoir être "
                   "exportés vers Google Maps");
// The web map's address showing these points (latitude,longitude, "." decimals).
QUrl urlCarte(const QVector<PointWgs84> &points);

} // namespace vyk
