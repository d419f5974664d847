#include "referentials/PresenceTaxon.h"

#include "db/BaseDonnees.h"
#include "db/Messages.h"
#include "referentials/UsageTaxons.h"

#include <QHash>
#include <QStringList>

#include <optional>

namespace vyk {

namespace {

// The point of a row's X and Y, when both are given and neither is 0 (a placeholder).
std::optional<std::pair<double, double>> pointLu(const Tableau &t, int ligne)
{
    const QVariant &x = t.valeur(ligne, QStringLiteral("X"));
    const QVariant &y = t.valeur(ligne, QStringLiteral("Y"));
    if (x.isNull() || y.isNull() || x.toDouble() == 0 || y.toDouble() == 0) return std::nullopt;
    return std::pair{x.toDouble(), y.toDouble()};
}

qint64 station(const Tableau &t, int ligne)
{
    return qint64(t.valeur(ligne, QStringLiteral("codeQualitometre")).toDouble());
}

} // namespace

bool estProjectionWgs84(const QVariant &codeProjection)
{
    if (codeProjection.isNull()) return false;
    const int p = codeProjection.toInt();
    return p == 16 || p == 31 || p == 40;
}

QVector<StationPresence> presenceTaxon(const QString &codeTaxon, CompteRendu &avis)
{
    QVector<StationPresence> stations;
    if (codeTaxon.trimmed().isEmpty()) {
        avis = abandon(textePresence::AUCUN_TAXON, GENRE_AIDE);
        return stations;
    }
    const QHash<qint64, long long> presence = presenceTaxonParStation(codeTaxon);
    if (!presence.isEmpty()) {
        QStringList codes;
        for (auto it = presence.constBegin(); it != presence.constEnd(); ++it)
            codes << QString::number(it.key());
        const QString liste = codes.join(QStringLiteral(", "));
        const Tableau t = bd().extraire(
            QStringLiteral(
                "SELECT codeQualitometre, codeBSS, X, Y, typeProjection, nom FROM QUALITOMETRES "
                "WHERE codeQualitometre IN (") +
            liste + QStringLiteral(") ORDER BY codeQualitometre"));
        const Tableau loc = bd().extraire(
            QStringLiteral(
                "SELECT CodeQualitometre, X, Y, CodeProjection FROM QUALITOMETRE_LOCALISATIONS "
                "WHERE CodeProjection IN (16, 31, 40) AND CodeQualitometre IN (") +
            liste + u')');
        QHash<qint64, std::pair<double, double>> localisations;
        for (int i = 0; i < loc.nbLignes(); ++i)
            if (const auto point = pointLu(loc, i)) localisations.insert(station(loc, i), *point);
        for (int i = 0; i < t.nbLignes(); ++i) {
            StationPresence s;
            s.station = station(t, i);
            s.codeBSS = t.texte(i, QStringLiteral("codeBSS"));
            s.nom = t.texte(i, QStringLiteral("nom"));
            s.nbLignes = presence.value(s.station);
            const auto point = pointLu(t, i);
            if (point && estProjectionWgs84(t.valeur(i, QStringLiteral("typeProjection")))) {
                s.longitude = point->first;
                s.latitude = point->second;
            } else if (const auto it = localisations.constFind(s.station);
                       it != localisations.constEnd()) {
                s.longitude = it->first;
                s.latitude = it->second;
            }
            stations.append(s);
        }
    }
    bool placee = false;
    for (const StationPresence &s : std::as_const(stations))
        placee = placee || s.estPlacee();
    avis = placee ? reussite() : CompteRendu{true, textePresence::AUCUNE_STATION, GENRE_INFO};
    return stations;
}

} // namespace vyk
