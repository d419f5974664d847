// Time to load the station list (chargerListeQualitometres: the query with its joins and views,
// and the texts of its 25 columns) for 10 000 stations with networks, water bodies, aquifers,
// communes and organisations, against the bare SELECT of the same query run by the engine
// (sqlite3 / libpq on their own connection, rows stepped through without conversion).
// Usage: bench_ListeQualitometres [stations]   (PostgreSQL from VYK_BENCH_PG_* or VYK_TEST_PG_*)

#include "db/BaseDonnees.h"
#include "db/InsertionMassive.h"
#include "db/Lot.h"
#include "monitoring/ListeStationsQualite.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"
#include "support/Mesure.h"

#include <QCoreApplication>
#include <QTemporaryDir>

using namespace vyk;
using namespace vyk::bench;

namespace {

constexpr int REPETITIONS = 5;

// Stations and what the list joins to them, through the bulk path of the imports.
void remplir(int n)
{
    Lot lot;
    auto inserer = [](const QString &table, const QStringList &colonnes,
                      const std::function<QVector<QVariant>(int)> &ligne, int nb) {
        InsertionMassive insertion(table, colonnes);
        for (int i = 0; i < nb; ++i)
            insertion.ajouter(ligne(i));
        insertion.terminer();
    };
    const int communes = 500, masses = 50;
    inserer(
        QStringLiteral("COMMUNES"),
        {QStringLiteral("CodeCommune"), QStringLiteral("Nom"), QStringLiteral("NumDept")},
        [](int i) {
            return QVector<QVariant>{QStringLiteral("%1").arg(1000 + i, 5, 10, QLatin1Char('0')),
                                     QStringLiteral("Commune %1").arg(i),
                                     QStringLiteral("%1").arg(i % 95 + 1, 2, 10, QLatin1Char('0'))};
        },
        communes);
    inserer(
        QStringLiteral("MASSES_EAUX"),
        {QStringLiteral("Code_ME"), QStringLiteral("Code_Europeen"), QStringLiteral("Libelle")},
        [](int i) {
            return QVector<QVariant>{QStringLiteral("FRDG%1").arg(i),
                                     QStringLiteral("FR_DG_%1").arg(i),
                                     QStringLiteral("Masse %1").arg(i)};
        },
        masses);
    inserer(
        QStringLiteral("RESEAUX"),
        {QStringLiteral("CodeReseau"), QStringLiteral("Libelle"), QStringLiteral("DCE")},
        [](int i) {
            return QVector<QVariant>{i, QStringLiteral("Réseau %1").arg(i),
                                     i % 2 ? QStringLiteral("1") : QStringLiteral("0")};
        },
        10);
    inserer(
        QStringLiteral("AQUIFERES"), {QStringLiteral("CodeAquifere"), QStringLiteral("libelle")},
        [](int i) {
            return QVector<QVariant>{i, QStringLiteral("Aquifère %1").arg(i)};
        },
        20);
    inserer(
        QStringLiteral("INTERVENANTS"), {QStringLiteral("CodeIntervenant"), QStringLiteral("Nom")},
        [](int i) {
            return QVector<QVariant>{i, QStringLiteral("Organisme %1").arg(i)};
        },
        30);
    inserer(
        QStringLiteral("BASSINS_VERSANTS"),
        {QStringLiteral("codeBV"), QStringLiteral("Code"), QStringLiteral("Nom")},
        [](int i) {
            return QVector<QVariant>{i, QStringLiteral("BV%1").arg(i),
                                     QStringLiteral("Bassin %1").arg(i)};
        },
        40);
    const QDateTime debut(QDate(2000, 1, 1), QTime(0, 0));
    inserer(
        QStringLiteral("QUALITOMETRES"),
        {QStringLiteral("CodeQualitometre"), QStringLiteral("CodeBSS"),
         QStringLiteral("Designation"), QStringLiteral("Nom"), QStringLiteral("CodeCommune"),
         QStringLiteral("Altitude"), QStringLiteral("typeStation"), QStringLiteral("DateCreation"),
         QStringLiteral("her_niveau1"), QStringLiteral("codeBassinVersant"),
         QStringLiteral("codeBassinVersant2"), QStringLiteral("riviere")},
        [&](int i) {
            return QVector<QVariant>{i + 1,
                                     QStringLiteral("%1X%2")
                                         .arg(i / 100, 5, 10, QLatin1Char('0'))
                                         .arg(i % 100, 4, 10, QLatin1Char('0')),
                                     i % 3 ? QVariant() : QVariant(QStringLiteral("F1")),
                                     QStringLiteral("Station %1").arg(i),
                                     1000 + i % communes,
                                     100.0 + i % 700 / 3.0,
                                     QString::number(i % 6),
                                     debut.addDays(i % 5000),
                                     i % 22,
                                     i % 40,
                                     (i + 7) % 40,
                                     QStringLiteral("Rivière %1").arg(i % 200)};
        },
        n);
    inserer(
        QStringLiteral("LIEN_QUALITO_RESEAUX"),
        {QStringLiteral("CodeQualitometre"), QStringLiteral("CodeReseau"),
         QStringLiteral("DateDebut"), QStringLiteral("DateFin")},
        [&](int i) {
            const int station = i / 2 + 1;
            return QVector<QVariant>{station, (station + i) % 10, debut.addDays(i % 3000),
                                     i % 4 ? QVariant() : QVariant(debut.addDays(6000))};
        },
        2 * n);
    inserer(
        QStringLiteral("LIEN_QUALITO_MASSE_EAU"),
        {QStringLiteral("CodeQualitometre"), QStringLiteral("Code_ME"), QStringLiteral("Type")},
        [&](int i) {
            return QVector<QVariant>{i + 1, QStringLiteral("FRDG%1").arg(i % masses), i % 6};
        },
        n);
    inserer(
        QStringLiteral("LIEN_QUALITO_AQUIFERE"),
        {QStringLiteral("CodeQualitometre"), QStringLiteral("CodeAquifere")},
        [](int i) {
            return QVector<QVariant>{i + 1, i % 20};
        },
        n / 2);
    inserer(
        QStringLiteral("LIEN_QUALITO_INTERVENANTS"),
        {QStringLiteral("CodeQualitometre"), QStringLiteral("CodeIntervenant"),
         QStringLiteral("DateDebut"), QStringLiteral("TypeIntervenant")},
        [&](int i) {
            return QVector<QVariant>{i / 2 + 1, i % 30, debut, i % 2 + 1};
        },
        2 * n);
}

void rapport(const QString &moteur, int lignes, double objet, double brut)
{
    afficher(
        QStringLiteral(
            "%1 | liste de %2 lignes | chargerListeQualitometres %3 s | SELECT brut %4 s | x%5")
            .arg(moteur.leftJustified(10))
            .arg(lignes)
            .arg(objet, 0, 'f', 3)
            .arg(brut, 0, 'f', 3)
            .arg(objet / brut, 0, 'f', 2));
}

void benchSqlite(int n)
{
    QTemporaryDir dossier;
    const QString fichier = dossier.filePath(QStringLiteral("liste.db"));
    BaseDonnees::creerBaseBureau(fichier);
    bd().ouvrirBase(fichier, ACCESS, {}, {}, {});
    verifierVersionBase(versionProgramme());
    remplir(n);
    const QString sql = bd().traduire(requeteListeQualitometres(false));
    int lignes = 0;
    const double objet = chronometrer(
        [&] { lignes = int(chargerListeQualitometres(false).lignes.size()); }, REPETITIONS);
    bd().fermerBase();

    // The desktop dialect's functions are not used by the translated list query.
    int lignesBrutes = 0;
    const double brut = selectBrutSqlite(fichier, sql.toUtf8(), REPETITIONS, &lignesBrutes);
    rapport(QStringLiteral("SQLite"), lignes, objet, brut);
    if (lignes != lignesBrutes)
        afficher(QStringLiteral("ATTENTION : %1 lignes brutes").arg(lignesBrutes));
}

void benchPostgres(int n)
{
    const SchemaPostgres schema;
    if (!schema.estPret() || !schema.ouvrirBase()) return;
    pg_conn *c = schema.connexion();
    verifierVersionBase(versionProgramme());
    remplir(n);
    bd().Execute(QStringLiteral("ANALYZE"));
    const QByteArray sql = bd().traduire(requeteListeQualitometres(false)).toUtf8();
    int lignes = 0;
    const double objet = chronometrer(
        [&] { lignes = int(chargerListeQualitometres(false).lignes.size()); }, REPETITIONS);
    bd().fermerBase();

    int lignesBrutes = 0;
    const double brut = selectBrutPostgres(c, sql, REPETITIONS, &lignesBrutes);
    rapport(QStringLiteral("PostgreSQL"), lignes, objet, brut);
    if (lignes != lignesBrutes)
        afficher(QStringLiteral("ATTENTION : %1 lignes brutes").arg(lignesBrutes));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;
    afficher(QStringLiteral("Liste des qualitomètres : %1 stations, meilleur de %2 chargements")
                 .arg(n)
                 .arg(REPETITIONS));
    benchSqlite(n);
    benchPostgres(n);
    return 0;
}
