#pragma once

#include "db/Tableau.h"

#include <QString>
#include <QStringList>

class QTextStream;

namespace vyk {

// One CSV field (RFC 4180): quoted when it holds the separator, a quote or a line break.
QString champCsv(const QString &texte, QChar separateur = u',');
// A value as exported: NULL empty, dates DD/MM/YYYY hh:mm:ss, numbers with ".".
QString texteExport(const QVariant &valeur);
// Header line of column names (entetes, or the table's own names when empty), then one line per
// row, lines ended by CRLF.
void ecrireCsv(const Tableau &tableau, QTextStream &sortie, QChar separateur = u',',
               const QString &finLigne = QStringLiteral("\r\n"), const QStringList &entetes = {});
QString ligneCsv(const QStringList &champs, QChar separateur = u',');

} // namespace vyk
