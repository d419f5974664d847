// A NAIADES archive of 100 stations x 50 samples x 20 parameters (100 000 analyses) through the
// whole road, on SQLite and PostgreSQL: unpacked, "Stations.CSV" integrated, "Analyses.CSV"
// loaded under its fixed header and integrated. Against InsertionMassive of the same analysis
// rows into per-station tables, run in the same program (rows only: no lookup, nothing else
// created, tables created beforehand).
// Usage: bench_naiades [stations]

#include "classeur/Formats.h"
#include "db/BaseDonnees.h"
#include "db/InsertionMassive.h"
#include "db/Lot.h"
#include "db/Progression.h"
#include "import/ExtraitCode.h"
#include "schema/MiseAJour.h"
#include "schema/TableAnalyses.h"
#include "schema/Version.h"
#include "support/Mesure.h"

#include <QCoreApplication>
#include <QDate>
#include <QTemporaryDir>

using namespace vyk;
using namespace vyk::bench;

namespace {

constexpr int PRELEVEMENTS = 50;
constexpr int PARAMETRES = 20;

QString codeStation(int s)
{
    return QStringLiteral("0600%1").arg(s, 4, 10, QLatin1Char('0'));
}

QDate datePrelevement(int p)
{
    return QDate(2015, 1, 5).addDays(7 * p);
}

QByteArray stationsCsv(int stations)
{
    QByteArray t = QStringList(28, QStringLiteral("titre")).join(u';').toUtf8() + "\r\n";
    for (int s = 0; s < stations; ++s) {
        QStringList l(28);
        l[1] = codeStation(s);
        l[2] = QStringLiteral("Station %1").arg(s);
        l[4] = QString::number(600000 + s);
        l[5] = QString::number(6800000 + s);
        l[8] = QString::number(35000 + s % 10);
        l[9] = QStringLiteral("Commune %1").arg(s % 10);
        l[14] = QStringLiteral("R%1").arg(s % 5);
        l[23] = QStringLiteral("2001-01-01");
        t += l.join(u';').toUtf8() + "\r\n";
    }
    return t;
}

QByteArray analysesCsv(int stations)
{
    const QStringList entete = enTeteCode(EnTeteCode::Naiades).split(u';');
    auto position = [&](const char *code) {
        for (int i = 0; i < entete.size(); ++i)
            if (entete[i].startsWith(u'<' + QString::fromLatin1(code) + u'.')) return i;
        return -1;
    };
    const int station = position("ALQ.3"), date = position("PRL.8"), parametre = position("PAR.3"),
              resultat = position("ALQ.12"), unite = position("ALQ.27"),
              remarque = position("ALQ.13"), fraction = position("ALQ.22"),
              qualification = position("ALQ.18"), limite = position("ALQ.100");
    QByteArray t =
        QStringList(int(entete.size()), QStringLiteral("t")).join(u';').toUtf8() + "\r\n";
    t.reserve(stations * PRELEVEMENTS * PARAMETRES * 90);
    for (int s = 0; s < stations; ++s)
        for (int p = 0; p < PRELEVEMENTS; ++p)
            for (int k = 0; k < PARAMETRES; ++k) {
                QStringList l(entete.size());
                l[station] = codeStation(s);
                l[date] = datePrelevement(p).toString(Qt::ISODate);
                l[parametre] = QString::number(1300 + k);
                l[resultat] = QString::number((s + p + k) % 97 + 0.25, 'f', 2).replace(u'.', u',');
                l[unite] = QStringLiteral("162");
                l[remarque] = QStringLiteral("1");
                l[fraction] = QStringLiteral("23");
                l[qualification] = QStringLiteral("CORRECTE");
                l[limite] = QStringLiteral("<0,5");
                t += l.join(u';').toUtf8() + "\r\n";
            }
    return t;
}

// The reference: the same analyses, already resolved, written by InsertionMassive per station.
double inserer(int stations)
{
    const QStringList colonnes = {"NumAnalyse",    "NumPrelevement",      "CodeQualitometre",
                                  "CodeParametre", "CodeUnite",           "Resultat",
                                  "CodeRemarque",  "CodeFraction",        "CodeQualification",
                                  "StatutMesure",  "LimiteQuantification"};
    for (int s = 0; s < stations; ++s)
        creerTableAnalyses(QStringLiteral("REF%1").arg(s, 4, 10, QLatin1Char('0')));
    return chronometrer([&] {
        Lot lot;
        for (int s = 0; s < stations; ++s) {
            InsertionMassive insertion(
                tableAnalyses(QStringLiteral("REF%1").arg(s, 4, 10, QLatin1Char('0'))), colonnes);
            for (int p = 0; p < PRELEVEMENTS; ++p)
                for (int k = 0; k < PARAMETRES; ++k)
                    insertion.ajouter({k, s * PRELEVEMENTS + p, s + 1, QString::number(1300 + k),
                                       QStringLiteral("162"), (s + p + k) % 97 + 0.25,
                                       QStringLiteral("1"), QStringLiteral("23"),
                                       QStringLiteral("1"), QStringLiteral("2"), 0.5});
            insertion.terminer();
        }
        lot.terminer();
    });
}

void mesurer(const QString &moteur, const QString &archive, int stations)
{
    if (!mettreAJourBase(versionProgramme())) {
        afficher(moteur + QStringLiteral(" : mise à jour impossible : ") + bd().derniereErreur());
        return;
    }
    const int n = stations * PRELEVEMENTS * PARAMETRES;
    const double reference = inserer(stations);
    BilanAnalyses premier, second;
    QString e1, e2;
    OptionsIntegration o;
    o.creerIntervenants = true;
    const double t1 =
        chronometrer([&] { e1 = importerNaiades(archive, o, progressionNulle(), {}, premier); });
    const double t2 =
        chronometrer([&] { e2 = importerNaiades(archive, o, progressionNulle(), {}, second); });
    auto rapport = [&](const QString &cas, double secondes) {
        afficher(QStringLiteral("%1 | %2 | %3 s | %4 analyses/s | x%5 face à InsertionMassive "
                                "(%6 s)")
                     .arg(moteur.leftJustified(10), cas.leftJustified(30))
                     .arg(secondes, 0, 'f', 3)
                     .arg(qRound(n / secondes))
                     .arg(secondes / reference, 0, 'f', 2)
                     .arg(reference, 0, 'f', 3));
    };
    rapport(QStringLiteral("(a) archive, ajout"), t1);
    rapport(QStringLiteral("(b) même archive, réécriture"), t2);
    if (premier.analysesAjoutees != n || second.analysesReecrites != n || !e1.isEmpty() ||
        !e2.isEmpty())
        afficher(QStringLiteral("ATTENTION : %1 ajoutées, %2 réécrites pour %3 lignes (%4 %5)")
                     .arg(premier.analysesAjoutees)
                     .arg(second.analysesReecrites)
                     .arg(n)
                     .arg(e1, e2));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dossier;
    // Settings of the run's own: no working folder, the archive unpacked in a temporary one.
    qputenv("VYK_SETTINGS", dossier.filePath(QStringLiteral("reglages.ini")).toLocal8Bit());
    const int stations = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 100;
    afficher(QStringLiteral("Archive NAIADES de %1 analyses (%2 stations x %3 prélèvements x %4 "
                            "paramètres) : décompression, chargement, intégration")
                 .arg(stations * PRELEVEMENTS * PARAMETRES)
                 .arg(stations)
                 .arg(PRELEVEMENTS)
                 .arg(PARAMETRES));
    const QString archive = dossier.filePath(QStringLiteral("naiades.zip"));
    QString detail;
    if (!classeur::ecrirePaquet(archive,
                                {{QStringLiteral("Stations.CSV"), stationsCsv(stations)},
                                 {QStringLiteral("Analyses.CSV"), analysesCsv(stations)}},
                                0, detail)) {
        afficher(QStringLiteral("Archive non écrite : ") + detail);
        return 1;
    }
    {
        const QString fichier = dossier.filePath(QStringLiteral("bench.db"));
        BaseDonnees::creerBaseBureau(fichier);
        bd().ouvrirBase(fichier, ACCESS, {}, {}, {});
        mesurer(QStringLiteral("SQLite"), archive, stations);
        bd().fermerBase();
    }
    const SchemaPostgres schema;
    if (schema.estPret() && schema.ouvrirBase()) {
        mesurer(QStringLiteral("PostgreSQL"), archive, stations);
        bd().fermerBase();
    }
    return 0;
}
