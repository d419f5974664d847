// The station-by-date matrix of taxa counts (the hydrobiological follow-up and the map export's
// pages) against one raw SELECT of the same cells by the engine's own API.
// Usage: bench_StatistiquesTableau [taxa] [dates]   (PostgreSQL from VYK_BENCH_PG_* or
// VYK_TEST_PG_*)

#include "quality/StatistiquesTableau.h"
#include "db/BaseDonnees.h"
#include "db/InsertionMassive.h"
#include "db/Lot.h"
#include "monitoring/ListeTaxonsOperation.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"
#include "support/Mesure.h"

#include <QCoreApplication>
#include <QDate>
#include <QTemporaryDir>

using namespace vyk;
using namespace vyk::bench;

namespace {

constexpr int REPETITIONS = 5;

// The cells with their taxa's names, by taxon and date, as one hand-written query would give them.
const QString BRUT = QStringLiteral(
    "SELECT TAXONS.codeTaxon, TAXONS.nomLatin, QUALITOMETRES_POINTS_OPERATIONS.dateDebut, "
    "denombrementA, denombrementB, denombrementC, QUALITOMETRES_LISTE_1.codeRemarque FROM "
    "QUALITOMETRES_LISTE_1, QUALITOMETRES_POINTS_OPERATIONS, TAXONS WHERE "
    "QUALITOMETRES_POINTS_OPERATIONS.codeQualitometre=1 AND "
    "QUALITOMETRES_POINTS_OPERATIONS.codeOperation=QUALITOMETRES_LISTE_1.codeOperation AND "
    "TAXONS.codeTaxon=QUALITOMETRES_LISTE_1.codeTaxon ORDER BY TAXONS.codeTaxon, "
    "QUALITOMETRES_POINTS_OPERATIONS.dateDebut");

// Station 1, one point, `dates` operations each listing every one of `taxons` taxa; one taxon in
// thirty counts the next two with it.
void remplir(int taxons, int dates)
{
    Lot lot;
    bd().Execute(QStringLiteral("INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (1, "
                                "'S1')"));
    bd().Execute(QStringLiteral("INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, "
                                "identifiant) VALUES (1, 1, 'P1')"));
    InsertionMassive t(QStringLiteral("TAXONS"),
                       {QStringLiteral("codeTaxon"), QStringLiteral("nomLatin"),
                        QStringLiteral("codeTaxonCalcul")});
    for (int i = 0; i < taxons; ++i)
        t.ajouter(
            {QString::number(1000 + i), QStringLiteral("Taxon %1").arg(i),
             i % 30 ? QVariant() : QVariant(QStringLiteral("%1;%2").arg(1001 + i).arg(1002 + i))});
    t.terminer();
    InsertionMassive o(QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS"),
                       {QStringLiteral("codeQualitometre"), QStringLiteral("codeOperation"),
                        QStringLiteral("codePoint"), QStringLiteral("dateDebut")});
    for (int d = 0; d < dates; ++d)
        o.ajouter({1, d, 1, QDateTime(QDate(2000, 1, 1).addDays(d * 30), QTime(0, 0))});
    o.terminer();
    creerTableListeTaxons(1);
    InsertionMassive l(QStringLiteral("QUALITOMETRES_LISTE_1"),
                       {QStringLiteral("codeOperation"), QStringLiteral("codeListe"),
                        QStringLiteral("indice"), QStringLiteral("codeTaxon"),
                        QStringLiteral("denombrementA"), QStringLiteral("denombrementB"),
                        QStringLiteral("codeRemarque")});
    for (int d = 0; d < dates; ++d)
        for (int i = 0; i < taxons; ++i)
            l.ajouter({d, 1, i, QString::number(1000 + i), (d + i) % 7, i % 3,
                       i % 11 ? QVariant() : QVariant(10)});
    l.terminer();
}

int matrice()
{
    TableauHydrobiologique t;
    getTableauHydrobiologique(1, {}, t);
    return int(t.lignes.size() * t.dates.size());
}

void rapport(const QString &moteur, int cellules, double objet, double brut)
{
    afficher(QStringLiteral("%1 | tableau de %2 cellules | getTableauHydrobiologique %3 s | SELECT "
                            "brut %4 s | x%5")
                 .arg(moteur.leftJustified(10))
                 .arg(cellules)
                 .arg(objet, 0, 'f', 3)
                 .arg(brut, 0, 'f', 3)
                 .arg(objet / brut, 0, 'f', 2));
}

void benchSqlite(int taxons, int dates)
{
    QTemporaryDir dossier;
    const QString fichier = dossier.filePath(QStringLiteral("tableau.db"));
    BaseDonnees::creerBaseBureau(fichier);
    bd().ouvrirBase(fichier, ACCESS, {}, {}, {});
    verifierVersionBase(versionProgramme());
    remplir(taxons, dates);
    int cellules = 0;
    const double objet = chronometrer([&] { cellules = matrice(); }, REPETITIONS);
    const QByteArray texte = bd().traduire(BRUT).toUtf8();
    bd().fermerBase();

    const double brut = selectBrutSqlite(fichier, texte, REPETITIONS);
    rapport(QStringLiteral("SQLite"), cellules, objet, brut);
}

void benchPostgres(int taxons, int dates)
{
    const SchemaPostgres schema;
    if (!schema.estPret() || !schema.ouvrirBase()) return;
    verifierVersionBase(versionProgramme());
    remplir(taxons, dates);
    bd().Execute(QStringLiteral("ANALYZE"));
    int cellules = 0;
    const double objet = chronometrer([&] { cellules = matrice(); }, REPETITIONS);
    const QByteArray sql = bd().traduire(BRUT).toUtf8();
    bd().fermerBase();
    const double brut = selectBrutPostgres(schema.connexion(), sql, REPETITIONS);
    rapport(QStringLiteral("PostgreSQL"), cellules, objet, brut);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int taxons = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 300;
    const int dates = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 100;
    afficher(QStringLiteral("Tableau hydrobiologique : %1 taxons x %2 dates, meilleur de %3")
                 .arg(taxons)
                 .arg(dates)
                 .arg(REPETITIONS));
    benchSqlite(taxons, dates);
    benchPostgres(taxons, dates);
    return 0;
}
