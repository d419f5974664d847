#pragma once

#include "db/Tableau.h"

#include <QString>
#include <QStringList>
#include <QVector>

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

// The records of a separated text, each as its fields. A quote opening a field lets it hold the
// separator, doubled quotes and line breaks (a CRLF in a cell becomes a LF); a quote inside an
// unquoted field is kept as it is. A quote left open at the end of the text runs to the end of
// its line only. An empty line is a record of one empty field.
QVector<QStringList> lireEnregistrementsCsv(const QString &texte, QChar separateur = u';');
// True when every field is blank (an empty line, or a spreadsheet row of empty cells).
bool enregistrementVide(const QStringList &champs);

} // namespace vyk
