#pragma once

// Water-point messages ("QESOUT_XML"): groundwater points read into a preview table, then
// written from that table.

#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

class ElementsIgnores;
class Progression;

// "Code", "Nom", "Altitude", "Adresse", "X", "Y", "Projection", "Commentaire", "Nature",
// "Commune", "Masse d'eau".
const QStringList &colonnesPointsEau();

// One row per PointEau, in the columns above. "" when read, else the load message (no row).
QString listerPointsEauXml(const QString &chemin, QVector<QStringList> &apercu,
                           Progression *progression = nullptr, ElementsIgnores *ignores = nullptr);

// Writes each row in its own transaction: the station of "Code" (code "/" designation) found by
// its code or created as a groundwater point; each value given is written, an empty one leaves
// the stored value; the water body given replaces the station's links. With `remplacer`, a stored
// station's measurement data are purged first. One line per row refused ("Erreur intégration
// station " code " : " reason), "" when all were written; values kept out are told in
// `avertissements`.
QString integrerPointsEau(bool remplacer, const QVector<QStringList> &apercu,
                          Progression *progression = nullptr,
                          QStringList *avertissements = nullptr);

} // namespace vyk
