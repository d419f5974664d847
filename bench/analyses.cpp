// Physico-chemical data, on SQLite and PostgreSQL, against the bare SELECTs the engine needs
// for the same data, run raw (sqlite3 / libpq) in the same program:
//  (a) opening the follow-up table of a station holding 200 samples of 50 parameters as the
//      screen does (chargerSuivi, the grid's model filled, every cell's text read once as a
//      paint of the whole grid would), against the raw SELECT of the same rows (same joins) read
//      to the last column;
//  (b) rattacherPrelevementsOperations over 100 000 samples without operation (1 000 stations,
//      two samples per date and time), against the raw SELECTs of the samples and operations.
// Data built with InsertionMassive. Usage: bench_analyses [samples]

#include "db/BaseDonnees.h"
#include "db/InsertionMassive.h"
#include "db/Lot.h"
#include "monitoring/ModeleSuivi.h"
#include "monitoring/RattachementOperations.h"
#include "monitoring/SuiviPhysicoChimique.h"
#include "schema/Catalogue.h"
#include "schema/TableAnalyses.h"
#include "support/Mesure.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <libpq-fe.h>
#include <sqlite3.h>

using namespace vyk;
using namespace vyk::bench;

namespace {

constexpr int PRELEVEMENTS_SUIVI = 200;
constexpr int PARAMETRES = 50;
constexpr int STATIONS = 1000;

// The follow-up query as the engines read it natively (no date literal, no dialect word).
const char *const SELECT_SUIVI =
    "SELECT A.NumPrelevement, PRELEVEMENTS.DateDebut, QUALITOMETRES_POINTS_OPERATIONS.dateDebut, "
    "A.CodeParametre, "
    "A.CodeUnite, A.Resultat, A.CodeRemarque, ANALYSES_PARAMETRES.Nom, ANALYSES_UNITES.Nom, "
    "ANALYSES_UNITES.Symbole "
    "FROM ANALYSES_BSS0 A LEFT JOIN PRELEVEMENTS ON "
    "(PRELEVEMENTS.codeQualitometre=A.codeQualitometre AND "
    "PRELEVEMENTS.NumPrelevement=A.NumPrelevement) LEFT JOIN QUALITOMETRES_POINTS_OPERATIONS ON "
    "(QUALITOMETRES_POINTS_OPERATIONS.codeQualitometre=PRELEVEMENTS.codeQualitometre AND "
    "QUALITOMETRES_POINTS_OPERATIONS.codeOperation=PRELEVEMENTS.codeOperation) LEFT JOIN "
    "ANALYSES_PARAMETRES ON "
    "ANALYSES_PARAMETRES.Code=A.CodeParametre LEFT JOIN ANALYSES_UNITES ON "
    "ANALYSES_UNITES.Code=A.CodeUnite "
    "WHERE A.codeParametre IS NOT NULL ORDER BY A.NumPrelevement, A.NumAnalyse";
const char *const SELECT_PRELEVEMENTS = "SELECT codeQualitometre, numPrelevement, dateDebut, "
                                        "heureDebut FROM PRELEVEMENTS WHERE codeOperation IS NULL "
                                        "ORDER BY codeQualitometre, numPrelevement";
const char *const SELECT_OPERATIONS = "SELECT codeQualitometre, codeOperation, dateDebut, "
                                      "heureDebut FROM QUALITOMETRES_POINTS_OPERATIONS WHERE "
                                      "codeQualitometre IN (SELECT DISTINCT codeQualitometre FROM "
                                      "PRELEVEMENTS WHERE codeOperation IS NULL) "
                                      "ORDER BY codeQualitometre, codeOperation";

void creerSchema()
{
    for (const char *t : {"QUALITOMETRES", "PRELEVEMENTS", "QUALITOMETRES_POINTS_OPERATIONS",
                          "ANALYSES_PARAMETRES", "ANALYSES_UNITES"})
        bd().Execute(sqlCreationTable(*definitionTable(QString::fromLatin1(t))));
    for (const DefinitionIndex &i : catalogueIndex()) {
        const QString table = QString::fromLatin1(i.table).toUpper();
        if (table == QLatin1String("PRELEVEMENTS") ||
            table == QLatin1String("QUALITOMETRES_POINTS_OPERATIONS") ||
            table == QLatin1String("QUALITOMETRES") ||
            table == QLatin1String("ANALYSES_PARAMETRES") ||
            table == QLatin1String("ANALYSES_UNITES"))
            bd().Execute(sqlCreationIndex(i));
    }
}

// Station 0: 200 samples with their operations and 50 analyses each. Stations 1..1000: the
// samples without operation that the attachment works on.
void remplir(int nbPrelevements)
{
    Lot lot;
    {
        InsertionMassive p(QStringLiteral("ANALYSES_PARAMETRES"),
                           {QStringLiteral("Code"), QStringLiteral("Nom")});
        for (int i = 0; i < PARAMETRES; ++i)
            p.ajouter({QString::number(1300 + i), QStringLiteral("Paramètre %1").arg(i)});
        InsertionMassive u(
            QStringLiteral("ANALYSES_UNITES"),
            {QStringLiteral("Code"), QStringLiteral("Symbole"), QStringLiteral("Nom")});
        u.ajouter({QStringLiteral("162"), QStringLiteral("mg/L"),
                   QStringLiteral("milligramme par litre")});
        InsertionMassive q(QStringLiteral("QUALITOMETRES"),
                           {QStringLiteral("CodeQualitometre"), QStringLiteral("CodeBSS")});
        for (int s = 0; s <= STATIONS; ++s)
            q.ajouter({s, QStringLiteral("BSS%1").arg(s)});
    }
    creerTableAnalyses(QStringLiteral("BSS0"));
    const QDateTime origine(QDate(2000, 1, 1), QTime(0, 0));
    {
        InsertionMassive p(QStringLiteral("PRELEVEMENTS"),
                           {QStringLiteral("NumPrelevement"), QStringLiteral("CodeQualitometre"),
                            QStringLiteral("DateDebut"), QStringLiteral("codeOperation")});
        InsertionMassive o(QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS"),
                           {QStringLiteral("codeQualitometre"), QStringLiteral("codeOperation"),
                            QStringLiteral("dateDebut"), QStringLiteral("statut")});
        InsertionMassive a(QStringLiteral("ANALYSES_BSS0"),
                           {QStringLiteral("NumAnalyse"), QStringLiteral("NumPrelevement"),
                            QStringLiteral("CodeQualitometre"), QStringLiteral("CodeParametre"),
                            QStringLiteral("CodeUnite"), QStringLiteral("Resultat"),
                            QStringLiteral("CodeRemarque")});
        for (int n = 0; n < PRELEVEMENTS_SUIVI; ++n) {
            const QDateTime date = origine.addDays(n * 7);
            p.ajouter({n, 0, date, n});
            o.ajouter({0, n, date, 1});
            for (int k = 0; k < PARAMETRES; ++k)
                a.ajouter({k, n, 0, QString::number(1300 + k), QStringLiteral("162"),
                           0.5 + k + n / 100.0,
                           k % 7 == 0 ? QStringLiteral("10") : QStringLiteral("1")});
        }
    }
    {
        InsertionMassive p(QStringLiteral("PRELEVEMENTS"),
                           {QStringLiteral("NumPrelevement"), QStringLiteral("CodeQualitometre"),
                            QStringLiteral("DateDebut"), QStringLiteral("HeureDebut")});
        const int parStation = std::max(1, nbPrelevements / STATIONS);
        for (int s = 1; s <= STATIONS; ++s)
            for (int n = 0; n < parStation; ++n)
                p.ajouter(
                    {n, s, origine.addDays(n / 2), QDateTime(QDate(1899, 12, 30), QTime(9, 30))});
    }
}

void rapport(const QString &moteur, const QString &cas, double secondes, double reference,
             const QString &nomReference)
{
    afficher(QStringLiteral("%1 | %2 | %3 s | x%4 face à %5")
                 .arg(moteur.leftJustified(10), cas.leftJustified(58))
                 .arg(secondes, 0, 'f', 4)
                 .arg(secondes / reference, 0, 'f', 2)
                 .arg(nomReference));
}

// Every column of every row read, as a grid fill needs them.
long long lireSqlite(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    long long n = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            if (sqlite3_column_type(st, c) != SQLITE_NULL) n += sqlite3_column_bytes(st, c) > 0;
        ++n;
    }
    sqlite3_finalize(st);
    return n;
}

long long lirePostgres(PGconn *c, const char *sql)
{
    PGresult *r = PQexec(c, sql);
    long long n = 0;
    for (int l = 0; l < PQntuples(r); ++l)
        for (int k = 0; k < PQnfields(r); ++k)
            n += PQgetisnull(r, l, k) ? 0 : PQgetlength(r, l, k) > 0;
    PQclear(r);
    return n;
}

struct Mesures
{
    double suivi = 0, suiviBrut = 0, rattachement = 0, rattachementBrut = 0;
    long long lignesSuivi = 0, rattaches = 0;
};

Mesures mesurer(const std::function<long long(const char *)> &brut)
{
    Mesures m;
    ModeleSuivi modele;
    long long textes = 0;
    m.suivi = chronometrer(
        [&] {
            TableauSuivi t;
            chargerSuivi(QStringLiteral("0"), QStringLiteral("BSS0"), {}, t);
            modele.remplir(std::move(t));
            for (int l = 0; l < modele.rowCount(); ++l)
                for (int c = 0; c < modele.columnCount(); ++c)
                    textes += modele.data(modele.index(l, c)).toString().size();
        },
        5);
    m.lignesSuivi = modele.tableau().nbAnalyses;
    if (textes == 0) afficher(QStringLiteral("ATTENTION : grille du suivi vide"));
    m.suiviBrut = chronometrer([&] { brut(SELECT_SUIVI); }, 5);
    m.rattachementBrut = chronometrer(
        [&] {
            brut(SELECT_PRELEVEMENTS);
            brut(SELECT_OPERATIONS);
        },
        3);
    m.rattachement =
        chronometrer([&] { m.rattaches = rattacherPrelevementsOperations().prelevements; });
    return m;
}

void imprimer(const QString &moteur, const Mesures &m, int nb)
{
    rapport(moteur,
            QStringLiteral("(a) suivi et sa grille : %1 prélèvements x %2 paramètres (%3 analyses)")
                .arg(PRELEVEMENTS_SUIVI)
                .arg(PARAMETRES)
                .arg(m.lignesSuivi),
            m.suivi, m.suiviBrut, QStringLiteral("SELECT brut (%1 s)").arg(m.suiviBrut, 0, 'f', 4));
    rapport(
        moteur,
        QStringLiteral("(b) rattacherPrelevementsOperations : %1 prélèvements").arg(m.rattaches),
        m.rattachement, m.rattachementBrut,
        QStringLiteral("SELECT bruts (%1 s)").arg(m.rattachementBrut, 0, 'f', 4));
    if (m.rattaches != nb)
        afficher(QStringLiteral("ATTENTION : %1 prélèvements rattachés au lieu de %2")
                     .arg(m.rattaches)
                     .arg(nb));
}

void benchSqlite(int nb)
{
    QTemporaryDir dossier;
    const QString fichier = dossier.filePath(QStringLiteral("bench.db"));
    BaseDonnees::creerBaseBureau(fichier);
    bd().ouvrirBase(fichier, ACCESS, {}, {}, {});
    creerSchema();
    remplir(nb);
    sqlite3 *db = nullptr;
    sqlite3_open(fichier.toUtf8().constData(), &db);
    const Mesures m = mesurer([&](const char *sql) { return lireSqlite(db, sql); });
    sqlite3_close(db);
    const long long operations =
        bd().valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES_POINTS_OPERATIONS"))
            .toLongLong();
    bd().fermerBase();
    imprimer(QStringLiteral("SQLite"), m, nb);
    afficher(QStringLiteral("SQLite     | opérations après rattachement : %1").arg(operations));
}

void benchPostgres(int nb)
{
    const SchemaPostgres schema;
    if (!schema.estPret() || !schema.ouvrirBase()) return;
    PGconn *c = schema.connexion();
    creerSchema();
    remplir(nb);
    PQclear(PQexec(c, "ANALYZE"));
    const Mesures m = mesurer([&](const char *sql) { return lirePostgres(c, sql); });
    bd().fermerBase();
    imprimer(QStringLiteral("PostgreSQL"), m, nb);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int nb =
        argc > 1 ? std::max(STATIONS, QByteArray(argv[1]).toInt()) / STATIONS * STATIONS : 100000;
    afficher(QStringLiteral("Suivi physico-chimique et rattachement de %1 prélèvements").arg(nb));
    benchSqlite(nb);
    benchPostgres(nb);
    return 0;
}
