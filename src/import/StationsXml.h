#pragma once

// Station description messages ("SANDRE_REFERENTIEL_XML"): surface-water stations with their
// catchment, water bodies, commune, networks and sampling points.

#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

class ElementsIgnores;
class Progression;

// One preview row per station: code, label, commune. "" when read, else the load message.
QString listerStationsXml(const QString &chemin, QVector<QStringList> &apercu,
                          Progression *progression = nullptr);

// What an integration did besides failing.
struct BilanStationsXml
{
    int integrees = 0;          // stations written
    QStringList avertissements; // values kept out (a commune code that is not a number ...)
};

// Writes every station of the message, each in its own transaction: a station refused is named
// in the error text ("Erreur intégration station " code " : " reason, one line each) and the
// others are written. An element absent from the message leaves its stored value as it is;
// present and empty, it empties it. Sampling points are matched by identifier (updated, added;
// those absent from the message go unless an operation uses them). With `remplacer`, a stored
// station's measurement data are purged first. A file that cannot be read writes nothing.
QString integrerStationsXml(const QString &chemin, bool remplacer,
                            Progression *progression = nullptr, BilanStationsXml *bilan = nullptr,
                            ElementsIgnores *ignores = nullptr);

// The label of a sampling point after its identifier ("031" -> "Eaux", ...).
QString libellePointSandre(const QString &identifiant);

} // namespace vyk
