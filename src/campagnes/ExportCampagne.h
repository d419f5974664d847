#pragma once

// What a campaign exports: its follow-up table as a workbook or a separated text, and its
// stations with WGS84 coordinates as a map layer.

#include "campagnes/SuiviCampagne.h"
#include "carto/ExportKml.h"

#include <QString>
#include <QVector>

namespace vyk {

namespace texteExportCampagne {
inline const QString FICHIER_SUIVI = QStringLiteral("suivi_campagne.ods");
inline const QString FEUILLE_SUIVI = QStringLiteral("Suivi");
inline const QString STATIONS_ABSENTES =
    QStringLiteral("Merci d'enregistrer votre campagne et d'insérer au minimum une station avec "
                   "d'exporter la liste.");
inline const QString SANS_WGS84 =
    QStringLiteral("Les stations ne possèdent pas de coordonnées en WGS84 pour pouvoir être "
                   "exportés vers Google Maps");
} // namespace texteExportCampagne

// The follow-up's shown columns (those of width 0 left out): their titles and the lines.
void colonnesMontrees(const TableSuivi &table, QStringList &titres, QVector<QStringList> &lignes);

// The follow-up's shown columns (hidden ones left out) written to `chemin`: a workbook for .ods
// or .xlsx, else a ";" text. Written whole or not at all; false with the reason.
bool exporterSuivi(const TableSuivi &table, const QString &chemin, QString *erreur = nullptr);

// The campaign's stations placed in WGS84: a localisation of the station in a geographic
// projection first, else its own coordinates when they are geographic; X or Y 0 does not place
// a station. In the campaign's order, named "identifier - name".
QVector<PlacemarkKml> stationsWgs84(const Campagne &campagne);

// Checks the campaign (saved, with stations, some of them placed) and writes the map layer of
// its placed stations to `chemin` (KML). False with the refusal or the failure in *erreur.
bool exporterStationsCarte(const Campagne &campagne, const QString &chemin, QString *erreur);

} // namespace vyk
