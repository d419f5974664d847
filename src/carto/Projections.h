#pragma once

// Stored coordinates to WGS84 longitude and latitude (the KML convention), with PROJ, offline.
// A station's position is stored in a national projection code (coded list
// "PIEZOMETRES.TYPEPROJECTION"); each code names one EPSG system.

#include <QString>
#include <QVector>

#include <memory>
#include <span>

namespace vyk {

// EPSG code of the system a national projection code names; 0 when none is known.
int epsgProjection(int codeProjection);
// True for the codes whose coordinates are already WGS84 longitude and latitude.
bool estProjectionGeographique(int codeProjection);

namespace texteProjections {
// %1 the projection code.
inline const QString INCONNUE = QStringLiteral(
    "La projection %1 n'a pas d'équivalent connu : ses coordonnées ne peuvent pas être converties "
    "en longitude et latitude.");
// %1 the projection code, %2 the reason given by the conversion library.
inline const QString IMPOSSIBLE =
    QStringLiteral("La conversion depuis la projection %1 est impossible : %2");
// %1 X, %2 Y, %3 the projection code.
inline const QString HORS_EMPRISE =
    QStringLiteral("Les coordonnées (%1, %2) sont en dehors du domaine de la projection %3.");
} // namespace texteProjections

// Conversions to WGS84 (and on to another projection), one PROJ context for the object's life and
// one transformation per source projection, made on first need. Network access stays off: only the
// grids installed with the library are used.
class ConversionWgs84
{
  public:
    ConversionWgs84();
    ~ConversionWgs84();
    ConversionWgs84(const ConversionWgs84 &) = delete;
    ConversionWgs84 &operator=(const ConversionWgs84 &) = delete;

    // Converts the points in place: x becomes the longitude, y the latitude (degrees). refus[i]
    // is "" for a converted point, or why it is refused (outside the projection's area, or not
    // convertible); a refused point's x and y are left as they were. False, with the reason, when
    // the projection itself cannot be used (every point refused with that reason).
    bool convertir(int codeProjection, std::span<double> x, std::span<double> y,
                   QVector<QString> &refus, QString *erreur = nullptr);
    // From projection source to projection cible through WGS84, each point checked against both
    // areas; same contract as convertir (a refused point keeps its coordinates).
    bool changer(int source, int cible, std::span<double> x, std::span<double> y,
                 QVector<QString> &refus, QString *erreur = nullptr);

  private:
    struct Prive;
    std::unique_ptr<Prive> d;
};

} // namespace vyk
