#pragma once

// What an exchange package carries, table by table, and the row copying that its export and
// import share.

#include "db/BaseDonnees.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk::paquet {

inline const QString ENTREE = QStringLiteral("TMPBSBI.MDB");

// Description tables of a station, keyed by its CodeQualitometre alone.
const QStringList &tablesDescription();
// Tables hanging from an operation: (CodeQualitometre, codeOperation).
const QStringList &tablesOperation();
// Tables hanging from a sample, besides its parts: NumPrelevement.
const QStringList &tablesPrelevement();

// A referential table, its key column, and the columns of the package's data that name it.
struct Referentiel
{
    QString table;
    QString cle;
    // (table, column); "ANALYSES_*" and "QUALITOMETRES_LISTE_*" stand for every per-station
    // table of that kind.
    QVector<QPair<QString, QString>> usages;
    // Numbered by each database on its own: the import matches the rows by identity and
    // rewrites the usages, instead of adding the rows missing by key.
    bool numeroLocal = false;
};
const QVector<Referentiel> &referentiels();

// Columns copied for a table: those of the catalogue (auto-numbered ones left out) that both
// databases hold. The per-station tables take the catalogue of their kind.
class Colonnes
{
  public:
    Colonnes(BaseDonnees &source, BaseDonnees &cible) : m_source(source), m_cible(cible) {}
    // `cible`: the table's name in the other database when it differs (a taxa list of a station
    // numbered otherwise there).
    const QStringList &de(const QString &table, const QString &cible = {});

  private:
    BaseDonnees &m_source;
    BaseDonnees &m_cible;
    QHash<QString, QStringList> m_cache;
};

// "SELECT a, b FROM table"
QString selectColonnes(const QStringList &colonnes, const QString &table);
// Index of a column in the list, without regard to case; -1 when absent.
int indexDe(const QStringList &colonnes, const QString &colonne);
// The key text of a value, the same on every engine: "" for NULL, dates DD/MM/YYYY[ hh:mm:ss].
QString cle(const QVariant &valeur);
// The codes of a set as a SQL list of texts or numbers ("'a','b'" or "1,2").
QString listeSql(const QSet<QString> &codes, bool numerique);

// Appends rows to a table of `base` (bulk insert); "" when every row went in, the first
// failure's reason otherwise.
QString inserer(BaseDonnees &base, const QString &table, const QStringList &colonnes,
                const QVector<QVector<QVariant>> &lignes);

// The schema version recorded in a database ("" when none).
QString versionSchema(BaseDonnees &base);
// Writes the version row into the package's PARAMETRES.
bool ecrireVersion(BaseDonnees &base, const QString &version);

} // namespace vyk::paquet
