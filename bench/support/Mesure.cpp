#include "support/Mesure.h"

#include "db/BaseDonnees.h"

#include <QFile>
#include <QUuid>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <cstdio>
#include <limits>

namespace vyk::bench {

double chronometrer(const std::function<void()> &f, int repetitions)
{
    double meilleur = std::numeric_limits<double>::max();
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        meilleur = std::min(meilleur, double(t.nsecsElapsed()) / 1e9);
    }
    return meilleur;
}

ServeurBench serveurBench()
{
    auto lire = [](const char *bench, const char *test, const QString &defaut = {}) {
        QString v = qEnvironmentVariable(bench);
        if (v.isEmpty()) v = qEnvironmentVariable(test);
        return v.isEmpty() ? defaut : v;
    };
    ServeurBench s;
    s.hote = lire("VYK_BENCH_PG_HOST", "VYK_TEST_PG_HOST");
    s.port = lire("VYK_BENCH_PG_PORT", "VYK_TEST_PG_PORT", QStringLiteral("5432"));
    s.utilisateur = lire("VYK_BENCH_PG_USER", "VYK_TEST_PG_USER", QStringLiteral("postgres"));
    s.motDePasse = lire("VYK_BENCH_PG_PASSWORD", "VYK_TEST_PG_PASSWORD");
    s.base = lire("VYK_BENCH_PG_BASE", "VYK_TEST_PG_BASE", QStringLiteral("vyk_test"));
    return s;
}

QByteArray ServeurBench::chaineConnexion() const
{
    QByteArray c = "host=" + hote.toUtf8() + " port=" + port.toUtf8() +
                   " user=" + utilisateur.toUtf8() + " dbname=" + base.toUtf8();
    if (!motDePasse.isEmpty()) c += " password=" + motDePasse.toUtf8();
    return c;
}

long long picMemoireMo()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray &l : f.readAll().split('\n'))
        if (l.startsWith("VmHWM:"))
            return l.mid(6).trimmed().split(' ').first().toLongLong() / 1024;
    return -1;
}

void afficher(const QString &ligne)
{
    std::printf("%s\n", qUtf8Printable(ligne));
    std::fflush(stdout);
}

double selectBrutSqlite(const QString &fichier, const QByteArray &sql, int repetitions, int *lignes)
{
    sqlite3 *db = nullptr;
    sqlite3_open(fichier.toUtf8().constData(), &db);
    const double t = chronometrer(
        [&] {
            sqlite3_stmt *st = nullptr;
            if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK) {
                afficher(QStringLiteral("SQLite brut : ") + QString::fromUtf8(sqlite3_errmsg(db)));
                return;
            }
            int n = 0;
            while (sqlite3_step(st) == SQLITE_ROW) {
                for (int c = 0; c < sqlite3_column_count(st); ++c)
                    sqlite3_column_text(st, c);
                ++n;
            }
            sqlite3_finalize(st);
            if (lignes) *lignes = n;
        },
        repetitions);
    sqlite3_close(db);
    return t;
}

double selectBrutPostgres(pg_conn *connexion, const QByteArray &sql, int repetitions, int *lignes)
{
    return chronometrer(
        [&] {
            PGresult *r = PQexec(connexion, sql.constData());
            if (PQresultStatus(r) != PGRES_TUPLES_OK)
                afficher(QStringLiteral("PostgreSQL brut : ") +
                         QString::fromUtf8(PQresultErrorMessage(r)));
            if (lignes) *lignes = PQntuples(r);
            PQclear(r);
        },
        repetitions);
}

SchemaPostgres::SchemaPostgres() : m_serveur(serveurBench())
{
    if (!m_serveur.disponible()) {
        afficher(QStringLiteral(
            "PostgreSQL : aucun serveur (VYK_BENCH_PG_HOST ou VYK_TEST_PG_HOST), mesure sautée."));
        return;
    }
    PGconn *c = PQconnectdb(m_serveur.chaineConnexion().constData());
    if (PQstatus(c) != CONNECTION_OK) {
        afficher(QStringLiteral("PostgreSQL : connexion impossible : ") +
                 QString::fromUtf8(PQerrorMessage(c)));
        PQfinish(c);
        return;
    }
    PQsetNoticeProcessor(
        c, [](void *, const char *) {}, nullptr);
    m_connexion = c;
    m_schema = "bench_" + QUuid::createUuid().toString(QUuid::Id128).left(12).toUtf8();
    PQclear(PQexec(c, ("CREATE SCHEMA " + m_schema).constData()));
    PQclear(PQexec(c, ("SET search_path = " + m_schema).constData()));
    qputenv("PGOPTIONS", "-c search_path=" + m_schema);
}

SchemaPostgres::~SchemaPostgres()
{
    if (!m_connexion) return;
    qunsetenv("PGOPTIONS");
    PQclear(PQexec(m_connexion, "SET search_path = public"));
    PQclear(PQexec(m_connexion, ("DROP SCHEMA " + m_schema + " CASCADE").constData()));
    PQfinish(m_connexion);
}

bool SchemaPostgres::ouvrirBase() const
{
    if (bd().ouvrirBase(m_serveur.base, POSTGRESQL, m_serveur.hote, m_serveur.utilisateur,
                        m_serveur.motDePasse, QStringLiteral("VYK"), m_serveur.port))
        return true;
    afficher(QStringLiteral("PostgreSQL : ouverture impossible : ") + bd().derniereErreur());
    return false;
}

} // namespace vyk::bench
