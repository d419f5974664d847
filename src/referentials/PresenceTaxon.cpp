#include "referentials/PresenceTaxon.h"

#include "db/BaseDonnees.h"
#include "db/Messages.h"
#include "referentials/UsageTaxons.h"

#include <QHash>
#include <QStringList>

namespace vyk {

bool estProjectionWgs84(const QVariant &codeProjection)
{
    if (codeProjection.isNull()) return false;
    const int p = codeProjection.toInt();
    return p == 16 || p == 31 || p == 40;
}

QVector<StationPresence> presenceTaxon(const QString &codeTaxon)
{
    QVector<StationPresence> stations;
    if (codeTaxon.trimmed().isEmpty()) {
        afficherMessage(GENRE_AIDE, textePresence::AUCUN_TAXON);
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
            if (!loc(i, 1).isNull() && !loc(i, 2).isNull() && loc(i, 1).toDouble() != 0 &&
                loc(i, 2).toDouble() != 0)
                localisations.insert(qint64(loc(i, 0).toDouble()),
                                     {loc(i, 1).toDouble(), loc(i, 2).toDouble()});
        for (int i = 0; i < t.nbLignes(); ++i) {
            StationPresence s;
            s.station = qint64(t(i, 0).toDouble());
            s.codeBSS = t.texte(i, 1);
            s.nom = t.texte(i, 5);
            s.nbLignes = presence.value(s.station);
            const double x = t(i, 2).toDouble(), y = t(i, 3).toDouble();
            if (estProjectionWgs84(t(i, 4)) && !t(i, 2).isNull() && !t(i, 3).isNull() && x != 0 &&
                y != 0) {
                s.longitude = x;
                s.latitude = y;
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
    if (!placee) afficherMessage(GENRE_INFO, textePresence::AUCUNE_STATION);
    return stations;
}

} // namespace vyk
