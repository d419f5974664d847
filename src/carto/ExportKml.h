#pragma once

// The KML file of an export list: the stations' positions in WGS84 longitude and latitude,
// converted from the chosen projection, and the checks before writing it.

#include "carto/ListesExport.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace vyk {

namespace texteExportKml {
inline const QString NOM_VIDE =
    QStringLiteral("Le nom de l'export n'est pas renseigné. Merci de le compléter.");
inline const QString PROJECTION =
    QStringLiteral("Sélectionnez une projection pour pouvoir générer le fichier KML.");
inline const QString STATIONS = QStringLiteral(
    "Ajoutez au minimum une station à la liste pour pouvoir générer le fichier KML.");
inline const QString TERMINE = QStringLiteral("Exportation terminée");
// %1 the number of stations left out, then one line per station.
inline const QString TERMINE_AVEC_ABSENTS =
    QStringLiteral("Exportation terminée : %1 qualitomètre(s) non placé(s) sur la carte :");
// %1 the station (code - name), %2 the projection code.
inline const QString SANS_COORDONNEES =
    QStringLiteral("%1 : pas de coordonnées dans la projection %2.");
inline const QString ORIGINE =
    QStringLiteral("%1 : coordonnées 0, 0 (non renseignées), le qualitomètre n'est pas placé.");
// %1 the station, %2 why its position is refused.
inline const QString REFUSE = QStringLiteral("%1 : %2");
} // namespace texteExportKml

// The first of the checks before exporting that fails, "" when none does: name, projection,
// at least one station.
QString verifierExport(const ListeExportQualite &liste);

// One station as the KML places it.
struct PlacemarkKml
{
    QString nom; // "code - name", escaped when written
    double longitude = 0;
    double latitude = 0;
    std::optional<double> altitude;
};

// The KML document: header, the four polygon styles, and, with the station folder, one
// placemark per station in order. Lines end with CR LF.
QByteArray documentKml(const QVector<PlacemarkKml> &placemarks, bool dossierStations);

// A number as KML writes it: a point, fixed notation, no useless zero ("-1.5", "48.8566").
QString nombreKml(double valeur);

// What an export did.
struct BilanExportKml
{
    QString fichier;         // the KML file written, "" when none
    int places = 0;          // placemarks written
    QStringList absents;     // one line per station left out, and why
    QStringList pages;       // web pages written
    QString message() const; // "Exportation terminée", with the stations left out
};

// The positions of the list's stations in its projection, converted to WGS84: the placemarks
// in list order, the stations left out in bilan.absents. False when the positions could not be
// read.
bool placemarksListe(const ListeExportQualite &liste, QVector<PlacemarkKml> &placemarks,
                     BilanExportKml &bilan);

// Writes the KML file "Export_" + list number + ".kml" of the list into the existing folder
// `dossier` (the checks are the caller's): the station folder when "Export Site" is ticked.
bool exporterKml(const ListeExportQualite &liste, const QString &dossier, BilanExportKml &bilan,
                 QString *erreur);

// Runs the export of a list into `dossier`: the checks (refusal in *erreur, nothing written),
// the KML file "Export_" + list number + ".kml" when "Export KML" is ticked, the web pages when
// "Export Site" or "Export generic sites" is. False with *erreur when a check or a write failed.
bool exporterListe(const ListeExportQualite &liste, const QString &dossier, BilanExportKml &bilan,
                   QString *erreur);

} // namespace vyk
