#pragma once

// Presence of a taxon over the stations: the stations whose lists hold it, with their WGS84
// position when they have one (the map of the taxa screen).

#include "db/CompteRendu.h"

#include <QString>
#include <QVector>

#include <optional>

namespace vyk {

struct StationPresence
{
    qint64 station = 0;
    QString codeBSS;
    QString nom;
    long long nbLignes = 0;                    // lines of the station's lists holding the taxon
    std::optional<double> longitude, latitude; // WGS84, when known
    bool estPlacee() const { return longitude && latitude; }
};

namespace textePresence {
inline const QString AUCUN_TAXON =
    QStringLiteral("Sélectionnez un taxon pour pouvoir calculer sa présence");
inline const QString AUCUNE_STATION =
    QStringLiteral("Le taxon n'a pas pu être identifié sur l'ensemble des stations ou les stations "
                   "ne possèdent pas de coordonnées "
                   "en WGS84");
} // namespace textePresence

// Projection codes of WGS84 coordinates.
bool estProjectionWgs84(const QVariant &codeProjection);

// The stations holding the taxon, in station order; their position comes from the station when
// its projection is WGS84, else from its WGS84 localisation. avis receives the notices above
// when no taxon is given or when no station can be placed (the stations are returned all the
// same).
QVector<StationPresence> presenceTaxon(const QString &codeTaxon, CompteRendu &avis);

} // namespace vyk
