#pragma once

// The table catalogue of the shared schema, written once as data: every table, column, index and
// per-station table that the upgrade creates, in the neutral type notation. SQL is built from it
// in the desktop dialect; the database layer translates it for each engine.

#include "db/Dialecte.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

#include <span>

namespace vyk {

struct DefinitionColonne
{
    const char *nom;
    TypeNeutre type;
    int taille = 0; // texts
    bool nonNul = false;
    bool obsolete = false; // kept by older layouts only: the upgrade drops it, creation skips it
};

// Which upgrade step creates and completes a table, in the order the steps run.
enum class EtapeSchema : unsigned char
{
    SchemaCommun, // stations, samples, referentials, administration, sibling modules' tables
    Unites,       // counting units of operations
    Referentiels, // coded-list referentials, ecological traits
    Jobs,         // import jobs
    Recherche     // saved searches
};

struct DefinitionTable
{
    const char *nom;
    std::span<const DefinitionColonne> colonnes;
    EtapeSchema etape = EtapeSchema::SchemaCommun;

    // Columns that a new table gets (obsolete ones left out).
    QStringList nomsColonnes() const;
    const DefinitionColonne *colonne(QStringView nom) const;
    bool aColonneAuto() const;
};

struct DefinitionIndex
{
    const char *nom;
    const char *table;
    const char *colonnes; // "a, b"
    bool unique = false;
};

// Every table of the shared schema in creation order: stations and their data, reference and
// administration tables, then the few tables of the sibling modules that this module reads.
std::span<const DefinitionTable> catalogueTables();
// Case-insensitive lookup; nullptr when the name is not in the catalogue.
const DefinitionTable *definitionTable(QStringView nom);
// The length of a text column of the catalogue; 0 for another type or an unknown column.
int tailleTexte(QStringView table, QStringView colonne);
// Indexes created by the upgrade on the catalogue tables (per-station indexes excepted).
std::span<const DefinitionIndex> catalogueIndex();

struct DefinitionVue
{
    QString nom;
    QString select; // desktop dialect
};
// Views read by the station list and card, created by every upgrade.
QVector<DefinitionVue> catalogueVues();

// Per-station tables: ANALYSES_ + CodeBSS and QUALITOMETRES_LISTE_ + CodeQualitometre.
const DefinitionTable &definitionAnalyses();
const DefinitionTable &definitionListeTaxons();
inline const QString PREFIXE_ANALYSES = QStringLiteral("ANALYSES_");
inline const QString PREFIXE_LISTE_TAXONS = QStringLiteral("QUALITOMETRES_LISTE_");
inline const QString PREFIXE_INDEX_ANALYSES = QStringLiteral("ind_analyses_");
// Number of columns of the first statement of a taxa list table; the others are added one by one.
inline constexpr int NB_COLONNES_INITIALES_LISTE = 16;

// Desktop-dialect SQL built from the catalogue.
QString motTypeBureau(TypeNeutre type, int taille = 0);
// "nom Type" as in CREATE TABLE; avecNonNul false for ALTER TABLE ... ADD on a filled table.
QString sqlColonne(const DefinitionColonne &colonne, bool avecNonNul = true);
// CREATE TABLE with every non-obsolete column; nom replaces the definition's name (per-station
// tables, where it is already a safe identifier).
QString sqlCreationTable(const DefinitionTable &table, const QString &nom = {});
QString sqlAjoutColonne(const QString &table, const DefinitionColonne &colonne);
QString sqlCreationIndex(const DefinitionIndex &index);
// Every CREATE TABLE and CREATE INDEX of the catalogue, in creation order (benchmarks, Oracle
// scripts: translate with traduireSql).
QStringList sqlCreationCatalogue();

// The statements of one station's tables; "" (and the reason) when the code cannot make a
// table name.
QString sqlCreationTableAnalyses(const QString &codeBSS, QString *erreur = nullptr);
QString sqlIndexTableAnalyses(const QString &codeBSS, QString *erreur = nullptr);
QString sqlCreationTableListeTaxons(const QString &codeQualitometre, QString *erreur = nullptr);
// The twelve "add column denombrementP<n>" statements sent after the first statement of an older
// taxa list table; each may fail on its own.
QStringList sqlColonnesAjouteesListeTaxons(const QString &codeQualitometre);

// Join condition between a numeric commune code (QUALITOMETRES, CONTACTS, INTERVENANTS) and the
// text code of COMMUNES: the text is compared as a number when it reads as one, so that the
// join works on every engine (a server refuses double = varchar) and codes such as "2A004"
// simply do not match.
QString conditionCodeCommune(const QString &colonneNumerique, const QString &colonneTexte);

} // namespace vyk
