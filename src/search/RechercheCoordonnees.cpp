// The found stations' coordinates as the user shows them: in the projection the settings choose.

#include "search/RechercheInterne.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "carto/Projections.h"
#include "db/BaseDonnees.h"
#include "db/Tableau.h"

#include <cmath>

namespace vyk::detail {

namespace {

// Degrees to seven decimals, metres to the centimetre.
QString coordonnee(double v, bool geographique)
{
    const double echelle = geographique ? 1e7 : 100;
    return texteValeur(QVariant(std::round(v * echelle) / echelle));
}

// The stations placed by a localisation in the projection.
bool lireLocalisations(QVector<StationRecherche> &stations, int cible, QVector<bool> &placees)
{
    QHash<qint64, int> index;
    for (qsizetype i = 0; i < stations.size(); ++i)
        index.insert(stations[i].code, int(i));
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(QStringLiteral("SELECT CodeQualitometre, X, Y FROM "
                                             "QUALITOMETRE_LOCALISATIONS WHERE CodeProjection=") +
                                  QString::number(cible) +
                                  QStringLiteral(" AND X IS NOT NULL AND Y IS NOT NULL"),
                              nb, t))
        return false;
    for (int l = 0; l < t.nbLignes(); ++l) {
        const int i = index.value(t(l, 0).toLongLong(), -1);
        if (i < 0 || placees[i]) continue;
        stations[i].x = texteValeur(t(l, 1));
        stations[i].y = texteValeur(t(l, 2));
        stations[i].projection = QString::number(cible);
        placees[i] = true;
    }
    return true;
}

} // namespace

bool coordonneesAffichage(QVector<StationRecherche> &stations)
{
    bool ok = false;
    const int cible = lireRegistre(reglage::TypeProjection).trimmed().toInt(&ok);
    if (!ok || stations.isEmpty()) return true;
    QVector<bool> placees(stations.size(), false);
    if (!lireLocalisations(stations, cible, placees)) return false;
    // The others' own coordinates, converted projection by projection.
    QHash<int, QVector<int>> parProjection;
    for (qsizetype i = 0; i < stations.size(); ++i) {
        const StationRecherche &s = stations[i];
        bool xOk = false, yOk = false, pOk = false;
        s.x.toDouble(&xOk);
        s.y.toDouble(&yOk);
        const int source = s.projection.toInt(&pOk);
        if (!placees[i] && xOk && yOk && pOk && source != cible) parProjection[source] << int(i);
    }
    ConversionWgs84 conversion;
    const bool geographique = estProjectionGeographique(cible);
    for (auto it = parProjection.cbegin(); it != parProjection.cend(); ++it) {
        std::vector<double> x, y;
        for (int i : it.value()) {
            x.push_back(stations[i].x.toDouble());
            y.push_back(stations[i].y.toDouble());
        }
        QVector<QString> refus;
        conversion.changer(it.key(), cible, x, y, refus);
        for (size_t k = 0; k < x.size(); ++k) {
            if (!refus[qsizetype(k)].isEmpty()) continue;
            StationRecherche &s = stations[it.value()[qsizetype(k)]];
            s.x = coordonnee(x[k], geographique);
            s.y = coordonnee(y[k], geographique);
            s.projection = QString::number(cible);
        }
    }
    return true;
}

} // namespace vyk::detail
