// Schema upgrade: a full upgrade of an empty database and the version check on a current one,
// on SQLite and PostgreSQL, each against the same work sent raw to the engine (sqlite3_exec,
// libpq) in the same run.

#include "support/Mesure.h"

#include "db/BaseDonnees.h"
#include "db/TraducteurSql.h"
#include "schema/Catalogue.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QUuid>

#include <functional>

#include <libpq-fe.h>
#include <sqlite3.h>

using namespace vyk;
using namespace vyk::bench;

namespace {

const char *const REQUETE_VERSION =
    "SELECT mac from PARAMETRES WHERE module='VYLEN' and identifiant='version'";

// The DDL of the catalogue and its views, as the engine receives it.
QStringList ddlMoteur(Cible cible)
{
    QStringList sql;
    for (const QString &s : sqlCreationCatalogue())
        sql << traduireSql(s, cible);
    for (const DefinitionVue &v : catalogueVues())
        sql << QStringLiteral("CREATE VIEW ") + v.nom + QStringLiteral(" AS ") +
                   traduireSql(v.select, cible);
    return sql;
}

void ligne(const QString &quoi, double vyk, double brut)
{
    afficher(QStringLiteral("%1 : %2 ms (moteur brut %3 ms, rapport %4)")
                 .arg(quoi.leftJustified(44))
                 .arg(vyk * 1000, 0, 'f', 3)
                 .arg(brut * 1000, 0, 'f', 3)
                 .arg(brut > 0 ? vyk / brut : 0, 0, 'f', 2));
}

// Best time of the timed part of each repetition; preparer() runs untimed before it.
double meilleur(int repetitions, const std::function<void()> &preparer,
                const std::function<void()> &mesurer)
{
    double t = 1e9;
    for (int i = 0; i < repetitions; ++i) {
        preparer();
        t = std::min(t, chronometrer(mesurer));
    }
    return t;
}

void sqlite(int repetitions, int verifications)
{
    // Both sides start from an empty file already open.
    QTemporaryDir dossier;
    int n = 0;
    const double miseAJour = meilleur(
        repetitions,
        [&] {
            const QString chemin = dossier.filePath(QStringLiteral("b%1.db").arg(n++));
            BaseDonnees::creerBaseBureau(chemin);
            bd().ouvrirBase(chemin, ACCESS, {}, {}, {});
        },
        [&] {
            if (!verifierVersionBase(versionProgramme()))
                afficher(QStringLiteral("échec de la mise à jour : ") + bd().derniereErreur());
        });
    const QStringList ddl = ddlMoteur(Cible::Sqlite);
    sqlite3 *db = nullptr;
    const double brut = meilleur(
        repetitions,
        [&] {
            sqlite3_close(db);
            sqlite3_open(
                dossier.filePath(QStringLiteral("brut%1.db").arg(n++)).toUtf8().constData(), &db);
        },
        [&] {
            sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
            for (const QString &s : ddl)
                if (sqlite3_exec(db, s.toUtf8().constData(), nullptr, nullptr, nullptr) !=
                    SQLITE_OK)
                    afficher(QStringLiteral("brut : ") + QString::fromUtf8(sqlite3_errmsg(db)));
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        });
    sqlite3_close(db);
    ligne(QStringLiteral("SQLite, mise à jour complète d'une base vide"), miseAJour, brut);

    const double verification = chronometrer(
                                    [&] {
                                        for (int i = 0; i < verifications; ++i)
                                            verifierVersionBase(versionProgramme());
                                    },
                                    3) /
                                verifications;
    const QString chemin = bd().base();
    bd().fermerBase();
    sqlite3_open(chemin.toUtf8().constData(), &db);
    const double verificationBrute =
        chronometrer(
            [&] {
                for (int i = 0; i < verifications; ++i) {
                    sqlite3_stmt *st = nullptr;
                    sqlite3_prepare_v2(db, REQUETE_VERSION, -1, &st, nullptr);
                    while (sqlite3_step(st) == SQLITE_ROW)
                        (void)sqlite3_column_text(st, 0);
                    sqlite3_finalize(st);
                }
            },
            3) /
        verifications;
    sqlite3_close(db);
    ligne(QStringLiteral("SQLite, vérification d'une base à jour"), verification,
          verificationBrute);
}

bool executerPg(PGconn *c, const QString &sql)
{
    PGresult *r = PQexec(c, sql.toUtf8().constData());
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK || PQresultStatus(r) == PGRES_TUPLES_OK;
    if (!ok) afficher(QStringLiteral("brut : ") + QString::fromUtf8(PQerrorMessage(c)));
    PQclear(r);
    return ok;
}

void postgres(const ServeurBench &serveur, int repetitions, int verifications)
{
    PGconn *admin = PQconnectdb(serveur.chaineConnexion().constData());
    PQsetNoticeProcessor(
        admin, [](void *, const char *) {}, nullptr);
    if (PQstatus(admin) != CONNECTION_OK) {
        afficher(QStringLiteral("PostgreSQL injoignable : ") +
                 QString::fromUtf8(PQerrorMessage(admin)));
        PQfinish(admin);
        return;
    }
    QStringList schemas;
    auto nouveauSchema = [&] {
        const QString s =
            QStringLiteral("bench_") + QUuid::createUuid().toString(QUuid::Id128).left(16);
        executerPg(admin, QStringLiteral("CREATE SCHEMA ") + s);
        schemas << s;
        return s;
    };
    QString dernier;
    const double miseAJour = meilleur(
        repetitions,
        [&] {
            dernier = nouveauSchema();
            qputenv("PGOPTIONS", ("-c search_path=" + dernier).toUtf8());
            bd().ouvrirBase(serveur.base, POSTGRESQL, serveur.hote, serveur.utilisateur,
                            serveur.motDePasse, QStringLiteral("VYK"), serveur.port);
        },
        [&] {
            if (!verifierVersionBase(versionProgramme()))
                afficher(QStringLiteral("échec de la mise à jour : ") + bd().derniereErreur());
        });
    const double verification = chronometrer(
                                    [&] {
                                        for (int i = 0; i < verifications; ++i)
                                            verifierVersionBase(versionProgramme());
                                    },
                                    3) /
                                verifications;
    bd().fermerBase();
    qunsetenv("PGOPTIONS");

    const QStringList ddl = ddlMoteur(Cible::Postgres);
    PGconn *brut = nullptr;
    const double miseAJourBrute = meilleur(
        repetitions,
        [&] { executerPg(admin, QStringLiteral("SET search_path = ") + nouveauSchema()); },
        [&] {
            executerPg(admin, QStringLiteral("BEGIN"));
            for (const QString &instruction : ddl)
                executerPg(admin, instruction);
            executerPg(admin, QStringLiteral("COMMIT"));
        });
    brut = admin;
    executerPg(brut, QStringLiteral("SET search_path = ") + dernier);
    const double verificationBrute = chronometrer(
                                         [&] {
                                             for (int i = 0; i < verifications; ++i)
                                                 PQclear(PQexec(brut, REQUETE_VERSION));
                                         },
                                         3) /
                                     verifications;
    ligne(QStringLiteral("PostgreSQL, mise à jour complète d'une base vide"), miseAJour,
          miseAJourBrute);
    ligne(QStringLiteral("PostgreSQL, vérification d'une base à jour"), verification,
          verificationBrute);
    executerPg(admin, QStringLiteral("SET search_path = public"));
    for (const QString &s : schemas)
        executerPg(admin, QStringLiteral("DROP SCHEMA ") + s + QStringLiteral(" CASCADE"));
    PQfinish(admin);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    afficher(QStringLiteral("Mise à jour du schéma (%1 tables, %2 index, %3 vues)")
                 .arg(catalogueTables().size())
                 .arg(catalogueIndex().size())
                 .arg(catalogueVues().size()));
    sqlite(5, 2000);
    const ServeurBench serveur = serveurBench();
    if (serveur.disponible())
        postgres(serveur, 5, 500);
    else
        afficher(QStringLiteral("PostgreSQL : aucun serveur (VYK_BENCH_PG_* ou VYK_TEST_PG_*)."));
    return 0;
}
