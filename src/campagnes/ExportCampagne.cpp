#include "campagnes/ExportCampagne.h"

#include "app/Csv.h"
#include "carto/Projections.h"
#include "carto/SiteWeb.h"
#include "db/BaseDonnees.h"
#include "db/Sql.h"

#include <QHash>

namespace vyk {

namespace {

struct Position
{
    double x = 0, y = 0;
};

bool positionPlacee(double x, double y, int projection)
{
    return x != 0 && y != 0 && estProjectionGeographique(projection);
}

// The first geographic localisation of each station.
QHash<QString, Position> localisationsWgs84(const QStringList &codes)
{
    QHash<QString, Position> positions;
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT CodeQualitometre, CodeProjection, X, Y FROM "
                       "QUALITOMETRE_LOCALISATIONS WHERE CodeQualitometre IN (") +
        codes.join(u',') + QStringLiteral(") ORDER BY CodeQualitometre, CodeProjection"));
    for (int l = 0; l < t.nbLignes(); ++l) {
        const QString station =
            QString::number(t.valeur(l, QStringLiteral("CodeQualitometre")).toDouble(), 'g', 15);
        const double x = t.valeur(l, QStringLiteral("X")).toDouble();
        const double y = t.valeur(l, QStringLiteral("Y")).toDouble();
        if (!positions.contains(station) &&
            positionPlacee(x, y, t.valeur(l, QStringLiteral("CodeProjection")).toInt()))
            positions.insert(station, {x, y});
    }
    return positions;
}

} // namespace

void colonnesMontrees(const TableSuivi &table, QStringList &titres, QVector<QStringList> &lignes)
{
    QList<int> montrees;
    for (int c = 0; c < table.titres.size(); ++c)
        if (table.largeurs.value(c) > 0) montrees << c;
    titres.clear();
    for (int c : montrees)
        titres << table.titres[c];
    lignes.clear();
    lignes.reserve(table.lignes.size());
    for (const QStringList &ligne : table.lignes) {
        QStringList l;
        for (int c : montrees)
            l << ligne.value(c);
        lignes << l;
    }
}

bool exporterSuivi(const TableSuivi &table, const QString &chemin, QString *erreur)
{
    QStringList titres;
    QVector<QStringList> lignes;
    colonnesMontrees(table, titres, lignes);
    return exporterGrilleFichier(chemin, texteExportCampagne::FEUILLE_SUIVI, titres, lignes,
                                 erreur);
}

QVector<PlacemarkKml> stationsWgs84(const Campagne &campagne)
{
    QVector<PlacemarkKml> placemarks;
    QStringList codes;
    for (const StationCampagne &s : campagne.stations)
        codes << sqlNombre(s.codeSite.toDouble());
    if (codes.isEmpty()) return placemarks;
    const QHash<QString, Position> localisations = localisationsWgs84(codes);
    for (const StationCampagne &s : campagne.stations) {
        const QString code = QString::number(s.codeSite.toDouble(), 'g', 15);
        Position p;
        if (localisations.contains(code)) {
            p = localisations.value(code);
        } else if (positionPlacee(s.x.toDouble(), s.y.toDouble(), s.typeProjection.toInt())) {
            p = {s.x.toDouble(), s.y.toDouble()};
        } else {
            continue;
        }
        placemarks.append({s.identifiant() + QStringLiteral(" - ") + s.nom, p.x, p.y, {}});
    }
    return placemarks;
}

bool exporterStationsCarte(const Campagne &campagne, const QString &chemin, QString *erreur)
{
    if (campagne.fiche.code.trimmed().isEmpty() || campagne.stations.isEmpty()) {
        if (erreur) *erreur = texteExportCampagne::STATIONS_ABSENTES;
        return false;
    }
    const QVector<PlacemarkKml> placemarks = stationsWgs84(campagne);
    if (placemarks.isEmpty()) {
        if (erreur) *erreur = texteExportCampagne::SANS_WGS84;
        return false;
    }
    return ecrireFichierEntier(chemin, documentKml(placemarks, true), erreur);
}

} // namespace vyk
