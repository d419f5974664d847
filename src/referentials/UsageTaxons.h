#pragma once

// Where taxa are used: the per-station taxa list tables (QUALITOMETRES_LISTE_ + station code).
// A database holds one such table per station that has lists, so every question asked of "all
// the lists" is sent as a few UNION statements over groups of tables, never one statement per
// taxon or per station.

#include "db/Progression.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

// One station's taxa list table, as it exists in the database.
struct TableListeTaxons
{
    qint64 station = 0; // CodeQualitometre
    QString codeBSS;
    QString table; // SQL name, safe to put in a statement
};

// The list tables of the stored stations, in station order (a station without a table is left
// out: it has no list). One catalogue read and one query.
QVector<TableListeTaxons> tablesListesTaxons();

// Distinct taxon codes held by any list; *ok false when a list could not be read (the set is then
// incomplete and must not decide a deletion).
QSet<QString> taxonsUtilises(const QVector<TableListeTaxons> &tables = tablesListesTaxons(),
                             bool *ok = nullptr);
// True when a list of any station holds the taxon, or when a list cannot be read.
bool taxonUtilise(const QString &codeTaxon,
                  const QVector<TableListeTaxons> &tables = tablesListesTaxons());
// Lines holding the taxon, by station (stations without any are left out).
QHash<qint64, long long>
presenceTaxonParStation(const QString &codeTaxon,
                        const QVector<TableListeTaxons> &tables = tablesListesTaxons());

// Sets actif='1' on every taxon that a list holds; the number of statements that failed is
// returned in echecs. Progress message "Activation des taxons".
int activerTaxonsUtilises(Progression &progression = progressionNulle(), int *echecs = nullptr);

// Tables per UNION statement (SQLite allows 500 terms in a compound SELECT).
inline constexpr int TABLES_PAR_REQUETE = 200;

} // namespace vyk
