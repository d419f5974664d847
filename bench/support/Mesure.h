#pragma once

#include <QElapsedTimer>
#include <QString>

#include <functional>

struct pg_conn;

namespace vyk::bench {

// Seconds taken by f, best of `repetitions` runs.
double chronometrer(const std::function<void()> &f, int repetitions = 1);

// The PostgreSQL server given in VYK_BENCH_PG_* or VYK_TEST_PG_* (host empty when none).
struct ServeurBench
{
    QString hote, port, utilisateur, motDePasse, base;
    bool disponible() const { return !hote.isEmpty(); }
    QByteArray chaineConnexion() const;
};
ServeurBench serveurBench();

void afficher(const QString &ligne);
// The process's peak resident memory (VmHWM) in MB; -1 where the system does not say.
long long picMemoireMo();

// One SELECT run raw, best of `repetitions`: through sqlite3 on the file (every cell read as
// text), or through libpq on the connection. lignes receives the row count.
double selectBrutSqlite(const QString &fichier, const QByteArray &sql, int repetitions,
                        int *lignes = nullptr);
double selectBrutPostgres(pg_conn *connexion, const QByteArray &sql, int repetitions,
                          int *lignes = nullptr);

// A schema of its own on the bench server for one measurement: a raw connection whose
// search_path is that schema, and PGOPTIONS set so that bd() opened on the server lands there
// too. The schema and the connection go with the object. Without a server or a connection it
// says why and estPret() is false.
class SchemaPostgres
{
  public:
    SchemaPostgres();
    ~SchemaPostgres();
    SchemaPostgres(const SchemaPostgres &) = delete;
    SchemaPostgres &operator=(const SchemaPostgres &) = delete;

    bool estPret() const { return m_connexion != nullptr; }
    pg_conn *connexion() const { return m_connexion; }
    // Opens bd() on the schema; false (said) when it cannot.
    bool ouvrirBase() const;

  private:
    ServeurBench m_serveur;
    QByteArray m_schema;
    pg_conn *m_connexion = nullptr;
};

} // namespace vyk::bench
