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
// A grid written after the name's extension: a workbook of one sheet for .xlsx and .ods, else a
// ";" text (UTF-8 with its mark, CRLF); written whole or not at all. False with the reason.
bool exporterGrilleFichier(const QString &chemin, const QString &feuille, const QStringList &titres,
                           const QVector<QStringList> &lignes, QString *erreur = nullptr);

// One record of a separated text: its fields and the file's line where it starts (from 1).
struct EnregistrementCsv
{
    QStringList champs;
    qsizetype ligne = 0;
};

// The records of a separated text. A quote opening a field lets it hold the separator, doubled
// quotes and line breaks (a line break there becomes a LF); a quote inside an unquoted field is
// kept as it is. Lines end with CRLF, LF or a lone CR. An empty line is a record of one empty
// field. False, with no record and the line named in erreur, when a quote is never closed.
bool lireCsv(const QString &texte, QChar separateur, QVector<EnregistrementCsv> &enregistrements,
             QString &erreur);
// True when every field is blank (an empty line, or a spreadsheet row of empty cells).
bool enregistrementVide(const QStringList &champs);

} // namespace vyk
