// Exchange packages and chart series, against the raw road measured in the same run:
//  (a) export of S stations x A analyses into a package, and its import into an empty database,
//      against InsertionMassive of the same rows (stations, points, operations, samples,
//      analyses) inside a batch;
//  (b) the series of a chart of N points (seriesParametre) against the bare SELECT of the same
//      rows through sqlite3 / libpq.
// Usage: bench_paquet [stations] [analyses per station] [chart points]
//        (PostgreSQL from VYK_BENCH_PG_* or VYK_TEST_PG_*)

#include "db/BaseDonnees.h"
#include "db/InsertionMassive.h"
#include "db/Lot.h"
#include "db/Progression.h"
#include "import/PaquetEchange.h"
#include "quality/SeriesGraphique.h"
#include "schema/MiseAJour.h"
#include "schema/TableAnalyses.h"
#include "schema/Version.h"
#include "support/Mesure.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <libpq-fe.h>

using namespace vyk;
using namespace vyk::bench;

namespace {

constexpr int ANALYSES_PAR_PRELEVEMENT = 20;

struct Taille
{
    int stations = 100;
    int analyses = 10000;
    int points = 100000;
};

const QDateTime ORIGINE(QDate(2000, 1, 1), QTime(0, 0));

// Every row of the stations through the bulk path, in one batch: the raw road of a package.
void remplir(const Taille &t)
{
    Lot lot;
    InsertionMassive stations(
        QStringLiteral("QUALITOMETRES"),
        {QStringLiteral("CodeQualitometre"), QStringLiteral("CodeBSS"), QStringLiteral("Nom")});
    InsertionMassive points(QStringLiteral("QUALITOMETRES_POINTS"),
                            {QStringLiteral("codeQualitometre"), QStringLiteral("codePoint"),
                             QStringLiteral("identifiant"), QStringLiteral("dateDebut")});
    InsertionMassive operations(QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS"),
                                {QStringLiteral("codeQualitometre"),
                                 QStringLiteral("codeOperation"), QStringLiteral("codePoint"),
                                 QStringLiteral("dateDebut")});
    InsertionMassive prelevements(QStringLiteral("PRELEVEMENTS"),
                                  {QStringLiteral("NumPrelevement"),
                                   QStringLiteral("CodeQualitometre"), QStringLiteral("DateDebut"),
                                   QStringLiteral("codeOperation")});
    qint64 numero = 0;
    for (int s = 1; s <= t.stations; ++s) {
        const QString bss = QStringLiteral("S%1").arg(s, 4, 10, QLatin1Char('0'));
        stations.ajouter({double(s), bss, QStringLiteral("Station ") + bss});
        points.ajouter({double(s), 0.0, QStringLiteral("031"), ORIGINE});
        creerTableAnalyses(bss);
        InsertionMassive analyses(QStringLiteral("ANALYSES_") + bss,
                                  {QStringLiteral("NumAnalyse"), QStringLiteral("NumPrelevement"),
                                   QStringLiteral("CodeQualitometre"),
                                   QStringLiteral("CodeParametre"), QStringLiteral("CodeUnite"),
                                   QStringLiteral("Resultat"), QStringLiteral("CodeRemarque")});
        for (int a = 0; a < t.analyses; ++a) {
            const int k = a / ANALYSES_PAR_PRELEVEMENT;
            if (a % ANALYSES_PAR_PRELEVEMENT == 0) {
                const QDateTime date = ORIGINE.addDays(k);
                operations.ajouter({double(s), double(k), 0.0, date});
                prelevements.ajouter({double(numero + k), double(s), date, double(k)});
            }
            analyses.ajouter({double(a % ANALYSES_PAR_PRELEVEMENT), double(numero + k), double(s),
                              QString::number(1300 + a % ANALYSES_PAR_PRELEVEMENT),
                              QStringLiteral("162"), a * 0.5, QStringLiteral("1")});
        }
        numero += (t.analyses + ANALYSES_PAR_PRELEVEMENT - 1) / ANALYSES_PAR_PRELEVEMENT;
    }
    lot.terminer();
}

// One station of N results of one parameter, one sample each, for the chart.
void remplirGraphique(int n)
{
    Lot lot;
    creerTableAnalyses(QStringLiteral("G1"));
    bd().Execute(QStringLiteral(
        "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (9999, 'G1')"));
    InsertionMassive prelevements(QStringLiteral("PRELEVEMENTS"),
                                  {QStringLiteral("NumPrelevement"),
                                   QStringLiteral("CodeQualitometre"),
                                   QStringLiteral("DateDebut")});
    InsertionMassive analyses(QStringLiteral("ANALYSES_G1"),
                              {QStringLiteral("NumAnalyse"), QStringLiteral("NumPrelevement"),
                               QStringLiteral("CodeQualitometre"), QStringLiteral("CodeParametre"),
                               QStringLiteral("CodeUnite"), QStringLiteral("Resultat"),
                               QStringLiteral("CodeRemarque")});
    for (int i = 0; i < n; ++i) {
        prelevements.ajouter({double(10000000 + i), 9999.0, ORIGINE.addSecs(qint64(i) * 3600)});
        analyses.ajouter({0.0, double(10000000 + i), 9999.0, QStringLiteral("1340"),
                          QStringLiteral("162"), 10 + (i % 97) * 0.25,
                          i % 10 == 0 ? QStringLiteral("10") : QStringLiteral("1")});
    }
    lot.terminer();
}

const QByteArray SELECT_GRAPHIQUE =
    "SELECT p.DateDebut, p.HeureDebut, a.Resultat, a.CodeRemarque, a.CodeUnite, a.NumPrelevement "
    "FROM ANALYSES_G1 a INNER JOIN PRELEVEMENTS p ON p.NumPrelevement=a.NumPrelevement WHERE "
    "a.CodeQualitometre=9999 AND a.CodeParametre='1340' ORDER BY a.CodeUnite, p.DateDebut, "
    "p.HeureDebut, a.NumPrelevement, a.NumAnalyse";

void rapport(const QString &moteur, const QString &quoi, double s, double brut)
{
    afficher(QStringLiteral("%1 | %2 | %3 s | x%4 face à %5 s")
                 .arg(moteur.leftJustified(10), quoi)
                 .arg(s, 0, 'f', 3)
                 .arg(brut > 0 ? s / brut : 0, 0, 'f', 2)
                 .arg(brut, 0, 'f', 3));
}

struct Mesures
{
    double insertion = 0, exportation = 0, importation = 0;
    long long importees = 0;
};

// Fills the open database, exports every station; `ouvrirCible` opens the empty database the
// package goes into.
Mesures mesurerPaquet(const Taille &t, const QString &paquet,
                      const std::function<bool()> &ouvrirCible)
{
    Mesures m;
    m.insertion = chronometrer([&] { remplir(t); });
    QStringList codes;
    for (int s = 1; s <= t.stations; ++s)
        codes << QStringLiteral("S%1").arg(s, 4, 10, QLatin1Char('0'));
    m.exportation = chronometrer([&] {
        const BilanExportPaquet b = exporterPaquet(codes, paquet, progressionNulle());
        if (!b.erreur.isEmpty()) afficher(QStringLiteral("ATTENTION : ") + b.erreur);
    });
    bd().fermerBase();
    if (!ouvrirCible() || !mettreAJourBase(versionProgramme())) return m;
    m.importation = chronometrer([&] {
        const BilanAnalyses b = importerPaquet(paquet, -1, progressionNulle());
        if (!b.erreur.isEmpty()) afficher(QStringLiteral("ATTENTION : ") + b.erreur);
        m.importees = b.analysesAjoutees;
    });
    return m;
}

void imprimerPaquet(const QString &moteur, const Taille &t, const Mesures &m)
{
    const QString quoi =
        QStringLiteral("%1 stations x %2 analyses").arg(t.stations).arg(t.analyses);
    rapport(moteur, QStringLiteral("(a) export du paquet, ") + quoi, m.exportation, m.insertion);
    rapport(moteur, QStringLiteral("(a) import du paquet, ") + quoi, m.importation, m.insertion);
    if (m.importees != qint64(t.stations) * t.analyses)
        afficher(QStringLiteral("ATTENTION : %1 analyses importées").arg(m.importees));
}

double mesurerSeries(int points, const std::function<double()> &brut)
{
    QVector<SerieGraphique> series;
    const double s = chronometrer(
        [&] {
            series.clear();
            seriesParametre({9999, QStringLiteral("G1")}, QStringLiteral("1340"), {}, series);
        },
        3);
    if (series.isEmpty() || series.first().points.size() != points)
        afficher(QStringLiteral("ATTENTION : série incomplète"));
    return s / brut();
}

void benchSqlite(const Taille &t)
{
    QTemporaryDir dossier;
    const QString source = dossier.filePath(QStringLiteral("source.db"));
    const QString cible = dossier.filePath(QStringLiteral("cible.db"));
    BaseDonnees::creerBaseBureau(source);
    bd().ouvrirBase(source, ACCESS, {}, {}, {});
    mettreAJourBase(versionProgramme());
    const Mesures m = mesurerPaquet(t, dossier.filePath(QStringLiteral("p.vyk")), [&] {
        return BaseDonnees::creerBaseBureau(cible) && bd().ouvrirBase(cible, ACCESS, {}, {}, {});
    });
    imprimerPaquet(QStringLiteral("SQLite"), t, m);
    remplirGraphique(t.points);
    double brut = 0;
    const double ratio = mesurerSeries(
        t.points, [&] { return brut = selectBrutSqlite(cible, SELECT_GRAPHIQUE, 3); });
    rapport(QStringLiteral("SQLite"),
            QStringLiteral("(b) série de %1 points (seriesParametre)").arg(t.points), ratio * brut,
            brut);
    bd().fermerBase();
}

void benchPostgres(const Taille &t)
{
    QTemporaryDir dossier;
    Mesures m;
    {
        auto source = std::make_unique<SchemaPostgres>();
        if (!source->estPret() || !source->ouvrirBase()) return;
        mettreAJourBase(versionProgramme());
        std::unique_ptr<SchemaPostgres> cible;
        m = mesurerPaquet(t, dossier.filePath(QStringLiteral("p.vyk")), [&] {
            cible = std::make_unique<SchemaPostgres>();
            return cible->estPret() && cible->ouvrirBase();
        });
        imprimerPaquet(QStringLiteral("PostgreSQL"), t, m);
        if (!cible) return;
        remplirGraphique(t.points);
        PQclear(PQexec(cible->connexion(), "ANALYZE"));
        double brut = 0;
        const double ratio = mesurerSeries(t.points, [&] {
            return brut = selectBrutPostgres(cible->connexion(), SELECT_GRAPHIQUE, 3);
        });
        rapport(QStringLiteral("PostgreSQL"),
                QStringLiteral("(b) série de %1 points (seriesParametre)").arg(t.points),
                ratio * brut, brut);
        bd().fermerBase();
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Taille t;
    if (argc > 1) t.stations = std::max(1, QByteArray(argv[1]).toInt());
    if (argc > 2) t.analyses = std::max(ANALYSES_PAR_PRELEVEMENT, QByteArray(argv[2]).toInt());
    if (argc > 3) t.points = std::max(10, QByteArray(argv[3]).toInt());
    afficher(QStringLiteral("Paquets d'échange et séries de graphique"));
    benchSqlite(t);
    benchPostgres(t);
    return 0;
}
