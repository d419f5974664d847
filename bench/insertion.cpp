// Rate of inserting analysis-like rows (40 columns) through the database object, against the
// raw engine measured in the same run:
//  (a) SQL text through Execute inside a batch, against sqlite3_exec / PQexec of the same text;
//  (b) the bulk path of the imports (InsertionMassive) inside a batch, against a raw sqlite3
//      prepared insert in one transaction / a raw COPY.
// Usage: bench_insertion [rows]   (PostgreSQL from VYK_BENCH_PG_* or VYK_TEST_PG_*)

#include "db/BaseDonnees.h"
#include "db/InsertionMassive.h"
#include "db/Lot.h"
#include "db/Sql.h"
#include "support/Mesure.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <libpq-fe.h>
#include <sqlite3.h>

using namespace vyk;
using namespace vyk::bench;

namespace {

constexpr int NB_COLONNES = 40;

QStringList nomsColonnes()
{
    QStringList r;
    for (int c = 0; c < NB_COLONNES; ++c)
        r << QStringLiteral("c%1").arg(c);
    return r;
}

// Columns 0-19 numbers, 20-34 texts, 35-39 dates, as in a per-station analysis table.
QString ddl(const QString &table)
{
    QStringList cols;
    for (int c = 0; c < NB_COLONNES; ++c)
        cols << QStringLiteral("c%1 %2").arg(c).arg(c < 20   ? QStringLiteral("Double")
                                                    : c < 35 ? QStringLiteral("Text(30)")
                                                             : QStringLiteral("DateTime"));
    return QStringLiteral("CREATE TABLE ") + table + QStringLiteral(" (") +
           cols.join(QStringLiteral(", ")) + u')';
}

QVector<QVariant> ligne(int i)
{
    QVector<QVariant> r;
    r.reserve(NB_COLONNES);
    for (int c = 0; c < NB_COLONNES; ++c) {
        if (c < 20)
            r << QVariant(i * 1.25 + c);
        else if (c < 35)
            r << QVariant(QStringLiteral("val%1_%2").arg(i).arg(c));
        else
            r << QVariant(QDateTime(QDate(2020, 1, 1), QTime(0, 0)).addSecs(qint64(i) * 60 + c));
    }
    return r;
}

// INSERT text of a row in the desktop dialect (dates as #MM/DD/YYYY hh:nn:ss#).
QString texteDesktop(const QString &table, const QVector<QVariant> &l)
{
    QStringList v;
    for (const QVariant &x : l)
        v << (x.typeId() == QMetaType::QDateTime
                  ? u'#' + x.toDateTime().toString(QStringLiteral("MM/dd/yyyy HH:mm:ss")) + u'#'
                  : sqlValeur(x));
    return QStringLiteral("INSERT INTO ") + table + QStringLiteral(" VALUES (") +
           v.join(QStringLiteral(", ")) + u')';
}

// The same row as the engine reads it natively (ISO dates).
QString texteNatif(const QString &table, const QVector<QVariant> &l)
{
    QStringList v;
    for (const QVariant &x : l)
        v << (x.typeId() == QMetaType::QDateTime
                  ? u'\'' + x.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + u'\''
                  : sqlValeur(x));
    return QStringLiteral("INSERT INTO ") + table + QStringLiteral(" VALUES (") +
           v.join(QStringLiteral(", ")) + u')';
}

void rapport(const QString &moteur, const QString &cas, int n, double secondes, double reference,
             const QString &nomReference)
{
    afficher(QStringLiteral("%1 | %2 | %3 lignes/s | %4 s | x%5 face à %6")
                 .arg(moteur.leftJustified(10), cas.leftJustified(42))
                 .arg(qRound64(n / secondes), 8)
                 .arg(secondes, 0, 'f', 3)
                 .arg(secondes / reference, 0, 'f', 2)
                 .arg(nomReference));
}

void benchSqlite(int n, const QVector<QVector<QVariant>> &lignes)
{
    QTemporaryDir dossier;
    const QString fichier = dossier.filePath(QStringLiteral("bench.db"));
    BaseDonnees::creerBaseBureau(fichier);
    QStringList textesDesktop, textesNatifs;
    for (const auto &l : lignes) {
        textesDesktop << texteDesktop(QStringLiteral("A_OBJET"), l);
        textesNatifs << texteNatif(QStringLiteral("A_BRUT"), l);
    }
    QVector<QByteArray> natifs;
    for (const QString &t : textesNatifs)
        natifs << t.toUtf8();

    // Raw engine: its own connection on the same file.
    sqlite3 *db = nullptr;
    sqlite3_open(fichier.toUtf8().constData(), &db);
    auto exec = [&](const char *sql) { sqlite3_exec(db, sql, nullptr, nullptr, nullptr); };
    exec("CREATE TABLE A_BRUT (c0 DOUBLE)");
    exec("DROP TABLE A_BRUT");
    {
        QString d = ddl(QStringLiteral("A_BRUT"));
        d.replace(QStringLiteral("Double"), QStringLiteral("DOUBLE"))
            .replace(QStringLiteral("Text(30)"), QStringLiteral("VARCHAR(30)"));
        exec(d.toUtf8().constData());
        QString d2 = d;
        d2.replace(QStringLiteral("A_BRUT"), QStringLiteral("A_PREP"));
        exec(d2.toUtf8().constData());
    }
    const double brutTexte = chronometrer([&] {
        exec("BEGIN");
        for (const QByteArray &t : natifs)
            exec(t.constData());
        exec("COMMIT");
    });
    const double brutPrepare = chronometrer([&] {
        exec("BEGIN");
        QString sql = QStringLiteral("INSERT INTO A_PREP VALUES (");
        for (int c = 0; c < NB_COLONNES; ++c)
            sql += c ? QStringLiteral(", ?") : QStringLiteral("?");
        sql += u')';
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr);
        for (const auto &l : lignes) {
            for (int c = 0; c < NB_COLONNES; ++c) {
                const QVariant &v = l[c];
                if (c < 20) {
                    sqlite3_bind_double(st, c + 1, v.toDouble());
                } else {
                    const QByteArray t = c < 35
                                             ? v.toString().toUtf8()
                                             : v.toDateTime()
                                                   .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                                   .toUtf8();
                    sqlite3_bind_text(st, c + 1, t.constData(), int(t.size()), SQLITE_TRANSIENT);
                }
            }
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        exec("COMMIT");
    });
    sqlite3_close(db);

    bd().ouvrirBase(fichier, ACCESS, {}, {}, {});
    bd().Execute(ddl(QStringLiteral("A_OBJET")));
    bd().Execute(ddl(QStringLiteral("A_MASSE")));
    const double objetTexte = chronometrer([&] {
        Lot lot;
        for (const QString &t : textesDesktop)
            bd().Execute(t);
    });
    const double objetMasse = chronometrer([&] {
        Lot lot;
        InsertionMassive insertion(QStringLiteral("A_MASSE"), nomsColonnes());
        for (const auto &l : lignes)
            insertion.ajouter(l);
        insertion.terminer();
    });
    const long long verif =
        bd().valeur(QStringLiteral("SELECT count(*) FROM A_MASSE")).toLongLong() +
        bd().valeur(QStringLiteral("SELECT count(*) FROM A_OBJET")).toLongLong();
    bd().fermerBase();
    rapport(QStringLiteral("SQLite"), QStringLiteral("brut : sqlite3_exec du texte"), n, brutTexte,
            brutTexte, QStringLiteral("lui-même"));
    rapport(QStringLiteral("SQLite"), QStringLiteral("brut : insertion préparée, une transaction"),
            n, brutPrepare, brutPrepare, QStringLiteral("lui-même"));
    rapport(QStringLiteral("SQLite"), QStringLiteral("(a) Execute du texte dans un lot"), n,
            objetTexte, brutTexte, QStringLiteral("sqlite3_exec"));
    rapport(QStringLiteral("SQLite"), QStringLiteral("(b) InsertionMassive dans un lot"), n,
            objetMasse, brutPrepare, QStringLiteral("préparée brute"));
    if (verif != 2LL * n)
        afficher(
            QStringLiteral("ATTENTION : %1 lignes écrites au lieu de %2").arg(verif).arg(2 * n));
}

void benchPostgres(int n, const QVector<QVector<QVariant>> &lignes)
{
    const SchemaPostgres schema;
    if (!schema.estPret()) return;
    PGconn *c = schema.connexion();
    auto exec = [&](const QByteArray &sql) { PQclear(PQexec(c, sql.constData())); };
    QString d = ddl(QStringLiteral("A_BRUT"));
    d.replace(QStringLiteral("Double"), QStringLiteral("double precision"))
        .replace(QStringLiteral("Text(30)"), QStringLiteral("varchar(30)"))
        .replace(QStringLiteral("DateTime"), QStringLiteral("timestamp with time zone"));
    exec(d.toUtf8());
    exec(QString(d).replace(QStringLiteral("A_BRUT"), QStringLiteral("A_COPY")).toUtf8());
    QVector<QByteArray> natifs;
    QStringList textesDesktop;
    for (const auto &l : lignes) {
        natifs << texteNatif(QStringLiteral("A_BRUT"), l).toUtf8();
        textesDesktop << texteDesktop(QStringLiteral("A_OBJET"), l);
    }
    // One round trip per row is slow: the text comparison runs on a tenth of the rows.
    const int nTexte = std::max(1, n / 10);
    const double brutTexte = chronometrer([&] {
        exec("BEGIN");
        for (int i = 0; i < nTexte; ++i)
            exec(natifs[i]);
        exec("COMMIT");
    });
    const double brutCopie = chronometrer([&] {
        QByteArray tampon;
        for (const auto &l : lignes) {
            for (int col = 0; col < NB_COLONNES; ++col) {
                if (col) tampon += '\t';
                const QVariant &v = l[col];
                tampon +=
                    col < 20 ? QByteArray::number(v.toDouble(), 'g', 17)
                    : col < 35
                        ? v.toString().toUtf8()
                        : v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
            }
            tampon += '\n';
        }
        PQclear(PQexec(c, "COPY A_COPY FROM STDIN"));
        PQputCopyData(c, tampon.constData(), int(tampon.size()));
        PQputCopyEnd(c, nullptr);
        while (PGresult *r = PQgetResult(c))
            PQclear(r);
    });

    if (!schema.ouvrirBase()) return;
    bd().Execute(ddl(QStringLiteral("A_OBJET")));
    bd().Execute(ddl(QStringLiteral("A_MASSE")));
    const double objetTexte = chronometrer([&] {
        Lot lot;
        for (int i = 0; i < nTexte; ++i)
            bd().Execute(textesDesktop[i]);
    });
    const double objetMasse = chronometrer([&] {
        Lot lot;
        InsertionMassive insertion(QStringLiteral("A_MASSE"), nomsColonnes());
        for (const auto &l : lignes)
            insertion.ajouter(l);
        insertion.terminer();
    });
    const long long verif =
        bd().valeur(QStringLiteral("SELECT count(*) FROM A_MASSE")).toLongLong();
    bd().fermerBase();
    rapport(QStringLiteral("PostgreSQL"),
            QStringLiteral("brut : PQexec du texte (%1 lignes)").arg(nTexte), nTexte, brutTexte,
            brutTexte, QStringLiteral("lui-même"));
    rapport(QStringLiteral("PostgreSQL"), QStringLiteral("brut : COPY"), n, brutCopie, brutCopie,
            QStringLiteral("lui-même"));
    rapport(QStringLiteral("PostgreSQL"),
            QStringLiteral("(a) Execute du texte dans un lot (%1)").arg(nTexte), nTexte, objetTexte,
            brutTexte, QStringLiteral("PQexec"));
    rapport(QStringLiteral("PostgreSQL"), QStringLiteral("(b) InsertionMassive dans un lot"), n,
            objetMasse, brutCopie, QStringLiteral("COPY brut"));
    if (verif != n)
        afficher(QStringLiteral("ATTENTION : %1 lignes écrites au lieu de %2").arg(verif).arg(n));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    afficher(QStringLiteral("Insertion de %1 lignes de %2 colonnes").arg(n).arg(NB_COLONNES));
    QVector<QVector<QVariant>> lignes;
    lignes.reserve(n);
    for (int i = 0; i < n; ++i)
        lignes << ligne(i);
    benchSqlite(n, lignes);
    benchPostgres(n, lignes);
    return 0;
}
