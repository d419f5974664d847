// The quality situation map (one average per station, classed against a set) against the same
// SELECTs run raw by the engine's own API: the stations with their types, then one statistic
// per station.
// Usage: bench_CarteSituation [stations] [samples]   (PostgreSQL from VYK_BENCH_PG_* or
// VYK_TEST_PG_*)

#include "quality/CarteSituation.h"
#include "db/BaseDonnees.h"
#include "db/InsertionMassive.h"
#include "db/Lot.h"
#include "db/Outils.h"
#include "db/Sql.h"
#include "monitoring/ReglesAnalyses.h"
#include "schema/MiseAJour.h"
#include "schema/TableAnalyses.h"
#include "schema/Version.h"
#include "support/Mesure.h"

#include <QCoreApplication>
#include <QDate>
#include <QTemporaryDir>

#include <libpq-fe.h>
#include <sqlite3.h>

using namespace vyk;
using namespace vyk::bench;

namespace {

constexpr int REPETITIONS = 3;
const QDate DEBUT(2000, 1, 1);

QString codeBSS(int s)
{
    return QStringLiteral("S%1").arg(s, 5, 10, QLatin1Char('0'));
}

// `stations` stations, each with `prelevements` monthly samples of one operation each and two
// analyses per sample (nitrates, the parameter mapped, and ammonium).
void remplir(int stations, int prelevements)
{
    Lot lot;
    InsertionMassive q(QStringLiteral("QUALITOMETRES"),
                       {QStringLiteral("CodeQualitometre"), QStringLiteral("CodeBSS"),
                        QStringLiteral("Nom"), QStringLiteral("typeStation"),
                        QStringLiteral("type_FR")});
    for (int s = 1; s <= stations; ++s)
        q.ajouter(
            {s, codeBSS(s), QStringLiteral("Station %1").arg(s), QString::number(s % 7), s % 5});
    q.terminer();
    InsertionMassive o(QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS"),
                       {QStringLiteral("codeQualitometre"), QStringLiteral("codeOperation"),
                        QStringLiteral("dateDebut")});
    InsertionMassive p(QStringLiteral("PRELEVEMENTS"),
                       {QStringLiteral("NumPrelevement"), QStringLiteral("CodeQualitometre"),
                        QStringLiteral("DateDebut"), QStringLiteral("codeOperation")});
    for (int s = 1; s <= stations; ++s)
        for (int n = 0; n < prelevements; ++n) {
            const QDateTime date(DEBUT.addMonths(n), QTime(0, 0));
            o.ajouter({s, n, date});
            p.ajouter({n, s, date, n});
        }
    o.terminer();
    p.terminer();
    for (int s = 1; s <= stations; ++s) {
        creerTableAnalyses(codeBSS(s));
        InsertionMassive a(QStringLiteral("ANALYSES_") + codeBSS(s),
                           {QStringLiteral("NumAnalyse"), QStringLiteral("NumPrelevement"),
                            QStringLiteral("CodeQualitometre"), QStringLiteral("CodeParametre"),
                            QStringLiteral("CodeUnite"), QStringLiteral("Resultat"),
                            QStringLiteral("CodeRemarque")});
        for (int n = 0; n < prelevements; ++n) {
            a.ajouter({0, n, s, QStringLiteral("1340"), QStringLiteral("162"),
                       double((s * 7 + n * 13) % 120),
                       n % 17 ? QStringLiteral("1") : QStringLiteral("10")});
            a.ajouter({1, n, s, QStringLiteral("1335"), QStringLiteral("162"), 0.1 * (n % 9),
                       QStringLiteral("1")});
        }
        a.terminer();
    }
    bd().Execute(QStringLiteral("INSERT INTO ANALYSES_SEUILS (typeSeuil, TypeListe, CodeParametre, "
                                "CodeUnite, Seuil1, Seuil2, Seuil3, Seuil4) VALUES (11, '0', "
                                "'1340', '162', 10, 25, 50, 100)"));
}

ParametresCarte parametres(int prelevements)
{
    ParametresCarte p;
    p.support = QStringLiteral("031");
    p.code = QStringLiteral("1340");
    p.unite = QStringLiteral("162");
    p.genre = QStringLiteral("AVG");
    const QDate fin = DEBUT.addMonths(prelevements - 1);
    p.dateCalcul = fin.toString(QStringLiteral("dd/MM/yyyy"));
    p.periode = int(DEBUT.daysTo(fin));
    p.seuil = QStringLiteral("11");
    return p;
}

QStringList codes(int stations)
{
    QStringList c;
    for (int s = 1; s <= stations; ++s)
        c << QString::number(s);
    return c;
}

// The statements the map sends, written by hand: the stations, then the average of each.
QList<QByteArray> selectsBruts(int stations, const ParametresCarte &p)
{
    const QDate calcul = lireDate(p.dateCalcul).date();
    QList<QByteArray> sql = {
        bd().traduire(QStringLiteral("SELECT CodeQualitometre, CodeBSS, Nom, typeStation, type_FR "
                                     "FROM QUALITOMETRES WHERE CodeQualitometre in (") +
                      codes(stations).join(u',') + u')')
            .toUtf8()};
    for (int s = 1; s <= stations; ++s) {
        const QString t = QStringLiteral("ANALYSES_") + codeBSS(s);
        const QString demi = QStringLiteral("iif(%1.coderemarque='2' or %1.coderemarque='10',(%1."
                                            "Resultat/2),%1.Resultat)")
                                 .arg(t);
        sql << bd().traduire(
                       QStringLiteral("SELECT AVG(") + demi +
                       QStringLiteral(") AS valeur, PRELEVEMENTS.dateDebut AS dateDebut, ") + t +
                       QStringLiteral(".codeRemarque AS codeRemarque FROM ") + jointureAnalyses(t) +
                       QStringLiteral(" WHERE ") + t +
                       QStringLiteral(".codeQualitometre=%1 AND ").arg(s) + t +
                       QStringLiteral(".CodeParametre='1340' AND ") + t +
                       QStringLiteral(".CodeUnite='162' AND ") + t +
                       QStringLiteral(".Resultat is not null AND PRELEVEMENTS.DateDebut <=") +
                       dateSQL(calcul.toString(QStringLiteral("dd/MM/yyyy")) + FIN_DE_JOURNEE,
                               true) +
                       QStringLiteral(" AND PRELEVEMENTS.DateDebut >=") +
                       dateSQL(calcul.addDays(-p.periode).toString(QStringLiteral("dd/MM/yyyy"))) +
                       QStringLiteral(" GROUP BY PRELEVEMENTS.dateDebut, ") + t +
                       QStringLiteral(".codeRemarque ORDER BY PRELEVEMENTS.dateDebut DESC, ") + t +
                       QStringLiteral(".codeRemarque DESC"))
                   .toUtf8();
    }
    return sql;
}

double brutSqlite(const QString &fichier, const QList<QByteArray> &sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open(fichier.toUtf8().constData(), &db);
    const double t = chronometrer(
        [&] {
            for (const QByteArray &s : sql) {
                sqlite3_stmt *st = nullptr;
                if (sqlite3_prepare_v2(db, s.constData(), -1, &st, nullptr) != SQLITE_OK) {
                    afficher(QStringLiteral("SQLite brut : ") +
                             QString::fromUtf8(sqlite3_errmsg(db)));
                    return;
                }
                while (sqlite3_step(st) == SQLITE_ROW)
                    for (int c = 0; c < sqlite3_column_count(st); ++c)
                        sqlite3_column_text(st, c);
                sqlite3_finalize(st);
            }
        },
        REPETITIONS);
    sqlite3_close(db);
    return t;
}

double brutPostgres(pg_conn *connexion, const QList<QByteArray> &sql)
{
    return chronometrer(
        [&] {
            for (const QByteArray &s : sql) {
                PGresult *r = PQexec(connexion, s.constData());
                if (PQresultStatus(r) != PGRES_TUPLES_OK)
                    afficher(QStringLiteral("PostgreSQL brut : ") +
                             QString::fromUtf8(PQresultErrorMessage(r)));
                PQclear(r);
            }
        },
        REPETITIONS);
}

double carte(int stations, const ParametresCarte &p, int &classees)
{
    return chronometrer(
        [&] {
            ResultatCarte r;
            const QString erreur = calculerCarte(p, stationsCarte(codes(stations)), r);
            if (!erreur.isEmpty()) afficher(erreur);
            classees = 0;
            for (const LigneCarte &l : r.lignes)
                classees += l.valeur.classe.toInt() > 0;
        },
        REPETITIONS);
}

void rapport(const QString &moteur, int classees, double objet, double brut)
{
    afficher(QStringLiteral("%1 | %2 stations classées | calculerCarte %3 s | SELECT bruts %4 s | "
                            "x%5")
                 .arg(moteur.leftJustified(10))
                 .arg(classees)
                 .arg(objet, 0, 'f', 3)
                 .arg(brut, 0, 'f', 3)
                 .arg(objet / brut, 0, 'f', 2));
}

void benchSqlite(int stations, int prelevements)
{
    QTemporaryDir dossier;
    const QString fichier = dossier.filePath(QStringLiteral("carte.db"));
    BaseDonnees::creerBaseBureau(fichier);
    bd().ouvrirBase(fichier, ACCESS, {}, {}, {});
    verifierVersionBase(versionProgramme());
    remplir(stations, prelevements);
    const ParametresCarte p = parametres(prelevements);
    int classees = 0;
    const double objet = carte(stations, p, classees);
    const QList<QByteArray> sql = selectsBruts(stations, p);
    bd().fermerBase();
    rapport(QStringLiteral("SQLite"), classees, objet, brutSqlite(fichier, sql));
}

void benchPostgres(int stations, int prelevements)
{
    const SchemaPostgres schema;
    if (!schema.estPret() || !schema.ouvrirBase()) return;
    verifierVersionBase(versionProgramme());
    remplir(stations, prelevements);
    bd().Execute(QStringLiteral("ANALYZE"));
    const ParametresCarte p = parametres(prelevements);
    int classees = 0;
    const double objet = carte(stations, p, classees);
    const QList<QByteArray> sql = selectsBruts(stations, p);
    bd().fermerBase();
    rapport(QStringLiteral("PostgreSQL"), classees, objet, brutPostgres(schema.connexion(), sql));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int stations = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
    const int prelevements = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 240;
    afficher(QStringLiteral("Carte de situation : %1 stations x %2 prélèvements, meilleur de %3")
                 .arg(stations)
                 .arg(prelevements)
                 .arg(REPETITIONS));
    benchSqlite(stations, prelevements);
    benchPostgres(stations, prelevements);
    return 0;
}
