#pragma once

// The fields of a "|"-separated frame record. A field text holding "|" or "\" has a backslash
// written before it, so that a record never splits inside a field; a frame without any
// backslash reads as it always did.

#include <QString>
#include <QStringList>

namespace vyk {

// The field as written in a record: "\" and "|" escaped, line breaks turned into blanks (a
// record is one line).
QString echapperChampTrame(const QString &texte);
// The fields, escaped, joined by "|".
QString enregistrementTrame(const QStringList &champs);
// The fields of one record: split at each "|" not escaped, "\|" read as "|" and "\\" as "\"; any
// other backslash is kept as written.
QStringList decouperEnregistrementTrame(const QString &ligne);

} // namespace vyk
