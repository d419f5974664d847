// The whole results search without the screen (rows, classing, indicators with their four
// percentiles, distributions) against the bare per-station SELECTs stepping the same rows by the
// engine's own API, in the same run, with the process's peak memory.
// Usage: bench_Recherche [stations] [analyses per station]   (PostgreSQL from VYK_BENCH_PG_* or
// VYK_TEST_PG_*)

#include "search/Recherche.h"
#include "db/BaseDonnees.h"
#include "db/InsertionMassive.h"
#include "db/Lot.h"
#include "schema/MiseAJour.h"
#include "schema/TableAnalyses.h"
#include "schema/Version.h"
#include "support/Mesure.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <libpq-fe.h>
#include <sqlite3.h>

using namespace vyk;
using namespace vyk::bench;

namespace {

constexpr int PARAMETRES = 10;

QString parametre(int p)
{
    return QString::number(99000 + p);
}

// Ten parameters in list BENCH, five with an ascending grid and five with a descending one; each
// station holds `analyses` results over samples of ten parameters, one in five below the limit.
void remplir(int stations, int analyses)
{
    Lot lot;
    bd().Execute(QStringLiteral("INSERT INTO ANALYSES_PARAMETRES_SELECTIONS_TITRE (Code, Nom, "
                                "TypeListe) VALUES ('BENCH', 'Banc', 0)"));
    bd().Execute(QStringLiteral("INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES "
                                "('SEUILS', 95, 'Banc')"));
    for (int p = 0; p < PARAMETRES; ++p) {
        bd().Execute(QStringLiteral("INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('%1', "
                                    "'Paramètre %2')")
                         .arg(parametre(p))
                         .arg(p));
        bd().Execute(QStringLiteral("INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, "
                                    "CodeParametre, TypeListe) VALUES ('BENCH', %1, '%2', 0)")
                         .arg(p + 1)
                         .arg(parametre(p)));
        bd().Execute(
            QStringLiteral("INSERT INTO ANALYSES_SEUILS (TypeListe, typeSeuil, "
                           "CodeParametre, Seuil1, Seuil2, Seuil3, Seuil4) VALUES ('0', "
                           "95, '%1', %2)")
                .arg(parametre(p))
                .arg(p < 5 ? QStringLiteral("10, 25, 50, 100") : QStringLiteral("80, 60, 40, 30")));
    }
    const int prelevements = std::max(1, analyses / PARAMETRES);
    InsertionMassive q(QStringLiteral("QUALITOMETRES"),
                       {QStringLiteral("CodeQualitometre"), QStringLiteral("CodeBSS"),
                        QStringLiteral("Nom"), QStringLiteral("her_niveau1")});
    InsertionMassive pr(QStringLiteral("PRELEVEMENTS"),
                        {QStringLiteral("NumPrelevement"), QStringLiteral("CodeQualitometre"),
                         QStringLiteral("DateDebut")});
    for (int s = 1; s <= stations; ++s) {
        q.ajouter({s, QStringLiteral("B%1").arg(s), QStringLiteral("Station %1").arg(s), s % 20});
        for (int n = 0; n < prelevements; ++n)
            pr.ajouter({n, s, QDateTime(QDate(2020, 1, 1).addDays(n * 7), QTime(0, 0))});
    }
    q.terminer();
    pr.terminer();
    const QStringList colonnes = {
        QStringLiteral("NumAnalyse"),       QStringLiteral("NumPrelevement"),
        QStringLiteral("CodeQualitometre"), QStringLiteral("CodeParametre"),
        QStringLiteral("Resultat"),         QStringLiteral("CodeRemarque")};
    for (int s = 1; s <= stations; ++s) {
        creerTableAnalyses(QStringLiteral("B%1").arg(s));
        InsertionMassive a(QStringLiteral("ANALYSES_B%1").arg(s), colonnes);
        for (int i = 0; i < analyses; ++i) {
            const int p = i % PARAMETRES;
            a.ajouter({i, i / PARAMETRES, s, parametre(p), double((i * 37 + s) % 120) + 0.5,
                       i % 5 == 0 ? QVariant(QStringLiteral("10")) : QVariant()});
        }
        a.terminer();
    }
}

CriteresRecherche criteres()
{
    CriteresRecherche c;
    c.dateDebut = QStringLiteral("01/01/2000");
    c.dateFin = QStringLiteral("01/01/2040");
    c.selections = {QStringLiteral("BENCH")};
    c.typeSeuil = QStringLiteral("95");
    return c;
}

// The search and every grid built from it; the rows found.
long long rechercheComplete()
{
    ResultatRecherche r;
    QString message;
    rechercherResultats(criteres(), r, message);
    const long long n = r.lignes.size();
    long long cellules = 0;
    for (const GrilleTexte &g : {grilleIndicateurs(r), grilleTotaux(r), grilleRepartitions(r)})
        cellules += g.lignes.size();
    return cellules > 0 ? n : 0;
}

// The bare statement of one station: the same rows, joins and order.
QByteArray selectBrut(int station)
{
    const QString t = QStringLiteral("ANALYSES_B%1").arg(station);
    return bd()
        .traduire(QStringLiteral("SELECT A.NumAnalyse, A.DateAnalyse, P.Nom, U.Symbole, "
                                 "A.Resultat, A.NumLabo, PRELEVEMENTS.DateDebut, A.CodeRemarque, "
                                 "A.CodeParametre, A.CodeQualification, A.StatutMesure, "
                                 "A.CodeSupport, A.NumPrelevement, A.CodeUnite FROM ") +
                  t +
                  QStringLiteral(" A LEFT JOIN PRELEVEMENTS ON (PRELEVEMENTS.codeQualitometre="
                                 "A.codeQualitometre AND PRELEVEMENTS.NumPrelevement="
                                 "A.NumPrelevement) LEFT JOIN ANALYSES_PARAMETRES P ON "
                                 "(P.Code=A.CodeParametre) LEFT JOIN ANALYSES_UNITES U ON "
                                 "(U.Code=A.CodeUnite) WHERE A.CodeQualitometre=") +
                  QString::number(station) +
                  QStringLiteral(" AND PRELEVEMENTS.DateDebut >= #01/01/2000# ORDER BY "
                                 "PRELEVEMENTS.DateDebut, A.NumPrelevement, A.NumAnalyse"))
        .toUtf8();
}

void rapport(const QString &moteur, long long lignes, double objet, double brut)
{
    afficher(QStringLiteral("%1 | %2 résultats | recherche complète %3 s | SELECT bruts %4 s | "
                            "x%5 | pic mémoire %6 Mo")
                 .arg(moteur.leftJustified(10))
                 .arg(lignes)
                 .arg(objet, 0, 'f', 3)
                 .arg(brut, 0, 'f', 3)
                 .arg(objet / brut, 0, 'f', 2)
                 .arg(picMemoireMo()));
}

void benchSqlite(int stations, int analyses)
{
    QTemporaryDir dossier;
    const QString fichier = dossier.filePath(QStringLiteral("recherche.db"));
    BaseDonnees::creerBaseBureau(fichier);
    bd().ouvrirBase(fichier, ACCESS, {}, {}, {});
    verifierVersionBase(versionProgramme());
    remplir(stations, analyses);
    long long lignes = 0;
    const double objet = chronometrer([&] { lignes = rechercheComplete(); }, 3);
    QVector<QByteArray> sql;
    for (int s = 1; s <= stations; ++s)
        sql << selectBrut(s);
    bd().fermerBase();

    sqlite3 *db = nullptr;
    sqlite3_open(fichier.toUtf8().constData(), &db);
    const double brut = chronometrer(
        [&] {
            for (const QByteArray &texte : sql) {
                sqlite3_stmt *st = nullptr;
                sqlite3_prepare_v2(db, texte.constData(), -1, &st, nullptr);
                while (sqlite3_step(st) == SQLITE_ROW)
                    for (int c = 0; c < sqlite3_column_count(st); ++c)
                        sqlite3_column_text(st, c);
                sqlite3_finalize(st);
            }
        },
        3);
    sqlite3_close(db);
    rapport(QStringLiteral("SQLite"), lignes, objet, brut);
}

void benchPostgres(int stations, int analyses)
{
    const SchemaPostgres schema;
    if (!schema.estPret() || !schema.ouvrirBase()) return;
    verifierVersionBase(versionProgramme());
    remplir(stations, analyses);
    bd().Execute(QStringLiteral("ANALYZE"));
    long long lignes = 0;
    const double objet = chronometrer([&] { lignes = rechercheComplete(); }, 3);
    QVector<QByteArray> sql;
    for (int s = 1; s <= stations; ++s)
        sql << selectBrut(s);
    bd().fermerBase();
    const double brut = chronometrer(
        [&] {
            for (const QByteArray &texte : sql) {
                PGresult *r = PQexec(schema.connexion(), texte.constData());
                for (int l = 0; l < PQntuples(r); ++l)
                    for (int c = 0; c < PQnfields(r); ++c)
                        PQgetvalue(r, l, c);
                PQclear(r);
            }
        },
        3);
    rapport(QStringLiteral("PostgreSQL"), lignes, objet, brut);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int stations = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
    const int analyses = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 1000;
    afficher(QStringLiteral("Recherche de résultats : %1 stations x %2 analyses, meilleur de 3")
                 .arg(stations)
                 .arg(analyses));
    benchSqlite(stations, analyses);
    benchPostgres(stations, analyses);
    return 0;
}
