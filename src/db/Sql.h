#pragma once

// The only ways a value or a name built from data reaches SQL text.

#include <QDateTime>
#include <QString>
#include <QVariant>

namespace vyk {

// 'text' with quotes doubled. A NUL or control character (other than tab and line breaks) is
// kept, and the database object then refuses the whole statement.
QString sqlTexte(const QString &valeur);
// NULL for an empty text, otherwise sqlTexte.
QString sqlTexteOuNull(const QString &valeur);
// A number with "." as decimal separator on every engine.
QString sqlNombre(double valeur);
// NULL, a number, a quoted text or a date literal, after the value's own type.
QString sqlValeur(const QVariant &valeur);

// A name that is safe as it stands, or quoted the same way on each engine (lower-cased on
// PostgreSQL, where unquoted names fold to lower case). Empty when the name cannot be one:
// empty, longer than 63 bytes, or holding a control character or a double quote.
QString identifiantSql(const QString &nom, bool *ok = nullptr);
// The text of `prefixe + suffixe` as a table name, with the reason when it cannot be one.
QString identifiantTable(const QString &prefixe, const QString &suffixe, QString *erreur = nullptr);

// Date literal of the current backend from a DD/MM/YYYY[ hh:mm:ss] text: #MM/DD/YYYY# on the
// desktop file, 'MM/DD/YYYY' on PostgreSQL, to_date('DD/MM/YYYY', ...) on Oracle. NULL when
// the text is not a date.
QString dateSQL(const QString &date, bool avecHeure = false);
QString dateSQL(const QString &date, bool avecHeure, const QString &typeBase);
QString dateSQL(const QDateTime &date, bool avecHeure = false);

} // namespace vyk
