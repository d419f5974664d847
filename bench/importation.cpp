// Integration of the import table, on SQLite and PostgreSQL, against InsertionMassive of the same
// analysis rows into the same per-station tables, run in the same program:
//  (a) a first import in add mode: 100 stations x 50 samples x 20 parameters (100 000 analyses),
//      stations, points, operations, samples and referential rows created on the way;
//  (b) the same table imported again: every analysis found and rewritten in place.
// The reference writes the rows only (no lookup, nothing else created), in one batch.
// Usage: bench_importation [stations]

#include "db/BaseDonnees.h"
#include "db/InsertionMassive.h"
#include "db/Lot.h"
#include "db/Progression.h"
#include "import/IntegrationAnalyses.h"
#include "schema/Catalogue.h"
#include "schema/MiseAJour.h"
#include "schema/TableAnalyses.h"
#include "schema/Version.h"
#include "support/Mesure.h"

#include <QCoreApplication>
#include <QDate>
#include <QTemporaryDir>

#include <libpq-fe.h>

using namespace vyk;
using namespace vyk::bench;

namespace {

constexpr int PRELEVEMENTS = 50;
constexpr int PARAMETRES = 20;

using C = ColonneImport;

GrilleImport genererGrille(int stations)
{
    GrilleImport g;
    g.lignes.reserve(stations * PRELEVEMENTS * PARAMETRES);
    const QDate debut(2015, 1, 5);
    for (int s = 0; s < stations; ++s)
        for (int p = 0; p < PRELEVEMENTS; ++p)
            for (int k = 0; k < PARAMETRES; ++k) {
                QStringList &l = g.ajouterLigne();
                l[int(C::CodeStation)] = QStringLiteral("BSS%1").arg(s, 4, 10, QLatin1Char('0'));
                l[int(C::DatePrelvt)] =
                    debut.addDays(7 * p).toString(QStringLiteral("dd/MM/yyyy")) +
                    QStringLiteral(" 10:30:00");
                l[int(C::CodeParam)] = QString::number(1300 + k);
                l[int(C::Resultat)] = QString::number((s + p + k) % 97 + 0.25, 'f', 2);
                l[int(C::CodeUnite)] = QStringLiteral("162");
                l[int(C::RemarqueAnalyse)] = QStringLiteral("1");
                l[int(C::NumeroAnalyse)] = QStringLiteral("L%1-%2").arg(s).arg(p);
                l[int(C::ReferenceLabo)] = QStringLiteral("R%1").arg(p);
                l[int(C::DateAnalyse)] =
                    debut.addDays(7 * p + 1).toString(QStringLiteral("dd/MM/yyyy"));
                l[int(C::Qualification)] = QStringLiteral("1");
                l[int(C::StatutMesure)] = QStringLiteral("2");
                l[int(C::CodeFraction)] = QStringLiteral("23");
                l[int(C::CodeSupport)] = QStringLiteral("3");
                l[int(C::LimiteQuantification)] = QStringLiteral("0,5");
                l[int(C::CodeMethode)] = QStringLiteral("1234");
            }
    return g;
}

// The reference: the same rows, already resolved, written by InsertionMassive per station.
double inserer(const GrilleImport &g, int stations, double &creation)
{
    const QStringList colonnes = {
        "NumAnalyse",    "NumPrelevement", "CodeQualitometre",     "CodeParametre",
        "CodeUnite",     "Resultat",       "CodeRemarque",         "NumLabo",
        "ReferenceLabo", "DateAnalyse",    "CodeQualification",    "StatutMesure",
        "CodeFraction",  "CodeSupport",    "LimiteQuantification", "CodeMethode"};
    // Creating the tables is timed apart: the first import creates its stations' tables too.
    creation = chronometrer([&] {
        for (int s = 0; s < stations; ++s)
            creerTableAnalyses(QStringLiteral("REF%1").arg(s, 4, 10, QLatin1Char('0')));
    });
    return chronometrer([&] {
        Lot lot;
        int ligne = 0;
        for (int s = 0; s < stations; ++s) {
            InsertionMassive insertion(
                tableAnalyses(QStringLiteral("REF%1").arg(s, 4, 10, QLatin1Char('0'))), colonnes);
            for (int n = 0; n < PRELEVEMENTS * PARAMETRES; ++n, ++ligne) {
                const QStringList &l = g.lignes[ligne];
                insertion.ajouter(
                    {n % PARAMETRES, s * PRELEVEMENTS + n / PARAMETRES, s + 1, l[int(C::CodeParam)],
                     l[int(C::CodeUnite)], l[int(C::Resultat)].toDouble(),
                     l[int(C::RemarqueAnalyse)], l[int(C::NumeroAnalyse)], l[int(C::ReferenceLabo)],
                     QDateTime(
                         QDate::fromString(l[int(C::DateAnalyse)], QStringLiteral("dd/MM/yyyy")),
                         QTime(0, 0)),
                     l[int(C::Qualification)], l[int(C::StatutMesure)], l[int(C::CodeFraction)],
                     l[int(C::CodeSupport)], 0.5, l[int(C::CodeMethode)]});
            }
            insertion.terminer();
        }
        lot.terminer();
    });
}

void rapport(const QString &moteur, const QString &cas, double secondes, int analyses,
             double reference)
{
    afficher(QStringLiteral("%1 | %2 | %3 s | %4 analyses/s | x%5 face à InsertionMassive (%6 s)")
                 .arg(moteur.leftJustified(10), cas.leftJustified(34))
                 .arg(secondes, 0, 'f', 3)
                 .arg(qRound(analyses / secondes))
                 .arg(secondes / reference, 0, 'f', 2)
                 .arg(reference, 0, 'f', 3));
}

void mesurer(const QString &moteur, int stations)
{
    if (!mettreAJourBase(versionProgramme())) {
        afficher(moteur + QStringLiteral(" : mise à jour impossible : ") + bd().derniereErreur());
        return;
    }
    const GrilleImport g = genererGrille(stations);
    const int n = g.nombreLignes();
    double creation = 0;
    const double reference = inserer(g, stations, creation);
    BilanAnalyses premier, second;
    OptionsIntegration o;
    o.creerIntervenants = true;
    const double t1 = chronometrer([&] { premier = integrerAnalyses(g, o, progressionNulle()); });
    const double t2 = chronometrer([&] { second = integrerAnalyses(g, o, progressionNulle()); });
    rapport(moteur, QStringLiteral("(a) import, ajout"), t1, premier.analysesAjoutees, reference);
    rapport(moteur, QStringLiteral("(b) même import, réécriture"), t2, second.analysesReecrites,
            reference);
    afficher(QStringLiteral("%1 | (a) comprend la création des %2 tables d'analyses : %3 s hors "
                            "référence")
                 .arg(moteur.leftJustified(10))
                 .arg(stations)
                 .arg(creation, 0, 'f', 3));
    if (premier.analysesAjoutees != n || second.analysesReecrites != n || !premier.statut() ||
        !second.statut())
        afficher(QStringLiteral("ATTENTION : %1 ajoutées, %2 réécrites pour %3 lignes (%4)")
                     .arg(premier.analysesAjoutees)
                     .arg(second.analysesReecrites)
                     .arg(n)
                     .arg(premier.erreur + second.erreur));
}

void benchSqlite(int stations)
{
    QTemporaryDir dossier;
    const QString fichier = dossier.filePath(QStringLiteral("bench.db"));
    BaseDonnees::creerBaseBureau(fichier);
    bd().ouvrirBase(fichier, ACCESS, {}, {}, {});
    mesurer(QStringLiteral("SQLite"), stations);
    bd().fermerBase();
}

void benchPostgres(int stations)
{
    const SchemaPostgres schema;
    if (!schema.estPret() || !schema.ouvrirBase()) return;
    mesurer(QStringLiteral("PostgreSQL"), stations);
    bd().fermerBase();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int stations = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 100;
    afficher(QStringLiteral("Intégration de %1 analyses (%2 stations x %3 prélèvements x %4 "
                            "paramètres)")
                 .arg(stations * PRELEVEMENTS * PARAMETRES)
                 .arg(stations)
                 .arg(PRELEVEMENTS)
                 .arg(PARAMETRES));
    benchSqlite(stations);
    benchPostgres(stations);
    return 0;
}
