#pragma once

// The engine's own view of the schema, read without the code under test: tables and columns
// through the database object's catalogue, indexes and declared types from the engine's tables.

#include "db/BaseDonnees.h"
#include "support/Affichage.h"

#include <QMap>
#include <QStringList>

namespace vyk::test {

struct CatalogueMoteur
{
    QMap<QString, QStringList> colonnes; // lower-case table -> lower-case columns in order
    QStringList index;                   // lower case, sorted
    QStringList vues;                    // lower case, sorted
    bool operator==(const CatalogueMoteur &) const = default;
};

CatalogueMoteur lireCatalogueMoteur();
QStringList indexMoteur();
// Declared type (SQLite) or format_type (PostgreSQL) of a column, lower case.
QString typeMoteur(const QString &table, const QString &colonne);
// Readable difference for failure messages.
QString difference(const CatalogueMoteur &a, const CatalogueMoteur &b);

} // namespace vyk::test
