// The taxa referential against many station lists: the questions asked of every list (which
// taxa are used, is one taxon used) sent as UNION statements over groups of tables, against one
// statement per station's table, the way a per-station loop would ask; and the integration of a
// taxa file against the bare INSERT of the same rows by the engine.
// Usage: bench_Taxons [stations] [taxa]   (PostgreSQL from VYK_BENCH_PG_* or VYK_TEST_PG_*)

#include "db/BaseDonnees.h"
#include "db/InsertionMassive.h"
#include "db/Lot.h"
#include "monitoring/ListeTaxonsOperation.h"
#include "referentials/ImportTaxons.h"
#include "referentials/UsageTaxons.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"
#include "support/Mesure.h"

#include <QCoreApplication>
#include <QSet>
#include <QTemporaryDir>

#include <libpq-fe.h>

using namespace vyk;
using namespace vyk::bench;

namespace {

constexpr int LIGNES_PAR_LISTE = 20;

// n stations, each with a taxa table of LIGNES_PAR_LISTE lines.
void remplirListes(int n)
{
    Lot lot;
    InsertionMassive stations(QStringLiteral("QUALITOMETRES"),
                              {QStringLiteral("CodeQualitometre"), QStringLiteral("CodeBSS")});
    for (int s = 1; s <= n; ++s)
        stations.ajouter({s, QStringLiteral("S%1").arg(s)});
    stations.terminer();
    for (int s = 1; s <= n; ++s) {
        creerTableListeTaxons(s);
        InsertionMassive liste(QStringLiteral("QUALITOMETRES_LISTE_%1").arg(s),
                               {QStringLiteral("codeOperation"), QStringLiteral("codeListe"),
                                QStringLiteral("indice"), QStringLiteral("codeTaxon"),
                                QStringLiteral("denombrementA")});
        for (int i = 0; i < LIGNES_PAR_LISTE; ++i)
            liste.ajouter({0, 1, i + 1, QString::number(1000 + (s * 7 + i * 13) % 3000), i});
        liste.terminer();
    }
}

FichierTaxons fichierTaxons(int n)
{
    FichierTaxons f;
    f.chemin = QStringLiteral("genere.csv");
    f.lignes.reserve(n);
    for (int i = 0; i < n; ++i) {
        LigneImportTaxon l;
        l.code = QString::number(100000 + i);
        l.nomLatin = QStringLiteral("Taxon %1").arg(i);
        l.statut = QStringLiteral("2");
        l.dateCreation = QStringLiteral("01/02/2003");
        l.niveau = QString::number(10 + i % 12);
        l.theme = QString::number(i % 6);
        l.parent = i ? QString::number(100000 + i / 10) : QString();
        f.lignes.append(l);
    }
    return f;
}

void mesurer(const QString &moteur, int stations, int taxons)
{
    remplirListes(stations);
    const QVector<TableListeTaxons> tables = tablesListesTaxons();
    QSet<QString> union_, parTable;
    const double avecUnion = chronometrer([&] { union_ = taxonsUtilises(tables); }, 3);
    const double uneParTable = chronometrer(
        [&] {
            parTable.clear();
            for (const TableListeTaxons &t : tables) {
                const Tableau r =
                    bd().extraire(QStringLiteral("SELECT DISTINCT codeTaxon FROM ") + t.table);
                for (int i = 0; i < r.nbLignes(); ++i)
                    parTable.insert(r.texte(i, 0));
            }
        },
        3);
    afficher(QStringLiteral("%1 | taxons utilisés sur %2 listes (%3 codes) | UNION %4 s | une "
                            "requête par liste %5 s | x%6")
                 .arg(moteur.leftJustified(10))
                 .arg(tables.size())
                 .arg(union_.size())
                 .arg(avecUnion, 0, 'f', 3)
                 .arg(uneParTable, 0, 'f', 3)
                 .arg(uneParTable / avecUnion, 0, 'f', 1));
    if (union_ != parTable) afficher(QStringLiteral("ATTENTION : résultats différents"));
    const double unTaxon = chronometrer([&] { taxonUtilise(QStringLiteral("999999"), tables); }, 3);
    afficher(QStringLiteral("%1 | un taxon absent de toutes les listes : %2 s")
                 .arg(moteur.leftJustified(10))
                 .arg(unTaxon, 0, 'f', 3));

    const FichierTaxons f = fichierTaxons(taxons);
    BilanImportTaxons b;
    const double import = chronometrer(
        [&] { b = integrerTaxons(f, ModeImportTaxons::Complet, false, progressionNulle(), {}); });
    const double miseAJour = chronometrer(
        [&] { b = integrerTaxons(f, ModeImportTaxons::MiseAJour, false, progressionNulle(), {}); });
    bd().Execute(QStringLiteral("DELETE FROM TAXONS"));
    const double brut = chronometrer([&] {
        Lot lot;
        InsertionMassive insertion(QStringLiteral("TAXONS"),
                                   {QStringLiteral("codeTaxon"), QStringLiteral("nomLatin"),
                                    QStringLiteral("statut"), QStringLiteral("niveau"),
                                    QStringLiteral("theme"), QStringLiteral("elementDe")});
        for (const LigneImportTaxon &l : f.lignes)
            insertion.ajouter(
                {l.code, l.nomLatin, l.statut, l.niveau.toDouble(), l.theme.toDouble(), l.parent});
        insertion.terminer();
    });
    afficher(QStringLiteral("%1 | %2 taxons | import complet %3 s (%4 lignes/s) | mise à jour %5 s "
                            "| insertion en masse seule %6 s | x%7")
                 .arg(moteur.leftJustified(10))
                 .arg(taxons)
                 .arg(import, 0, 'f', 2)
                 .arg(int(taxons / import))
                 .arg(miseAJour, 0, 'f', 2)
                 .arg(brut, 0, 'f', 2)
                 .arg(import / brut, 0, 'f', 1));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int stations = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
    const int taxons = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 50000;
    afficher(QStringLiteral("Taxons : %1 listes de %2 lignes, %3 taxons importés")
                 .arg(stations)
                 .arg(LIGNES_PAR_LISTE)
                 .arg(taxons));
    {
        QTemporaryDir dossier;
        const QString fichier = dossier.filePath(QStringLiteral("taxons.db"));
        BaseDonnees::creerBaseBureau(fichier);
        bd().ouvrirBase(fichier, ACCESS, {}, {}, {});
        verifierVersionBase(versionProgramme());
        mesurer(QStringLiteral("SQLite"), stations, taxons);
        bd().fermerBase();
    }
    const SchemaPostgres schema;
    if (!schema.estPret() || !schema.ouvrirBase()) return 0;
    verifierVersionBase(versionProgramme());
    mesurer(QStringLiteral("PostgreSQL"), stations, taxons);
    bd().fermerBase();
    return 0;
}
