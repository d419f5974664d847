// The index exchanges against the raw engine: the I2M2 frame of a station with many operations
// against one raw query over the same rows plus the writing of the same lines; the integration
// of a results file against a raw prepared INSERT of as many rows in one transaction.
// Usage: bench_Indices [operations] [taxa]   (PostgreSQL from VYK_BENCH_PG_* or VYK_TEST_PG_*)

#include "db/BaseDonnees.h"
#include "db/InsertionMassive.h"
#include "db/Lot.h"
#include "db/Progression.h"
#include "indices/DescriptionIndice.h"
#include "indices/ExportIndice.h"
#include "indices/ResultatsIndice.h"
#include "monitoring/ListeTaxonsOperation.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"
#include "support/Mesure.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <libpq-fe.h>
#include <sqlite3.h>

using namespace vyk;
using namespace vyk::bench;

namespace {

const QDate PREMIER_JOUR(2000, 1, 1);

// Station 01234567 (river, national type 12), point 131, `operations` operations a day apart,
// each with `taxons` taxa counted in the three phases.
void remplir(int operations, int taxons)
{
    for (const char *sql :
         {"INSERT INTO QUALITOMETRES (codeQualitometre, codeBSS, typeStation, type_fr) VALUES (1, "
          "'01234567', '1', 12)",
          "INSERT INTO CODES_SANDRE (champ, code, libelle) VALUES "
          "('QUALITOMETRES.TYPE_FR.RIVIERE', '12', 'P12')",
          "INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, identifiant) VALUES (1, "
          "1, '131')"})
        bd().Execute(QString::fromLatin1(sql));
    creerTableListeTaxons(1);
    Lot lot;
    InsertionMassive ops(QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS"),
                         {QStringLiteral("codeQualitometre"), QStringLiteral("codeOperation"),
                          QStringLiteral("codePoint"), QStringLiteral("dateDebut")});
    InsertionMassive liste(QStringLiteral("QUALITOMETRES_LISTE_1"),
                           {QStringLiteral("codeOperation"), QStringLiteral("codeListe"),
                            QStringLiteral("indice"), QStringLiteral("codeTaxon"),
                            QStringLiteral("denombrementA"), QStringLiteral("denombrementB"),
                            QStringLiteral("denombrementC")});
    for (int o = 0; o < operations; ++o) {
        ops.ajouter({1, o, 1, QDateTime(PREMIER_JOUR.addDays(o), QTime(10, 30))});
        for (int t = 0; t < taxons; ++t)
            liste.ajouter({o, 1, t + 1, QString::number(100 + (o * 7 + t * 13) % 900), t % 5,
                           (t + o) % 7, t % 3});
    }
    ops.terminer();
    liste.terminer();
}

// The same rows read raw: the operations of the station, then their lists.
const QByteArray SELECT_OPERATIONS =
    "SELECT codeOperation, dateDebut FROM QUALITOMETRES_POINTS_OPERATIONS WHERE "
    "codeQualitometre = 1 AND codePoint = 1";
const QByteArray SELECT_LISTES =
    "SELECT codeOperation, codeTaxon, denombrementA, denombrementB, denombrementC, codeRemarque "
    "FROM QUALITOMETRES_LISTE_1 WHERE codeListe = 1";

// The frame's own lines written again: what writing them costs without the program.
double ecrireLignes(const QByteArray &contenu, const QString &chemin)
{
    const QList<QByteArray> lignes = contenu.split('\n');
    return chronometrer(
        [&] {
            QFile f(chemin);
            f.open(QIODevice::WriteOnly);
            for (const QByteArray &l : lignes)
                f.write(l + '\n');
        },
        3);
}

QString fichierResultats(const QString &dossier, int operations)
{
    const QString chemin = QDir(dossier).filePath(QStringLiteral("resultats_I2M2_bench.csv"));
    QFile f(chemin);
    f.open(QIODevice::WriteOnly);
    f.write("CODE_STATION;DATE;CODE_PAR;LIB_PAR;RESULTAT\n");
    for (int o = 0; o < operations; ++o)
        for (const char *code : {"7613", "8054", "8055", "8056", "8057", "8058"})
            f.write(
                QStringLiteral("01234567;%1;%2;;0.%3\n")
                    .arg(PREMIER_JOUR.addDays(o).toString(Qt::ISODate), QString::fromLatin1(code))
                    .arg(o % 97)
                    .toUtf8());
    return chemin;
}

const char *const INSERT_BRUT =
    "INSERT INTO RESULTATS_BRUT (codeQualitometre, codeOperation, indice, codeParametre, "
    "resultat) VALUES ($1, $2, $3, $4, $5)";

double insertionBruteSqlite(const QString &fichier, int lignes)
{
    sqlite3 *db = nullptr;
    sqlite3_open(fichier.toUtf8().constData(), &db);
    sqlite3_exec(db, "DROP TABLE IF EXISTS RESULTATS_BRUT", nullptr, nullptr, nullptr);
    sqlite3_exec(db,
                 "CREATE TABLE RESULTATS_BRUT (codeQualitometre REAL, codeOperation REAL, indice "
                 "REAL, codeParametre REAL, resultat REAL)",
                 nullptr, nullptr, nullptr);
    const double t = chronometrer([&] {
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, INSERT_BRUT, -1, &st, nullptr);
        for (int i = 0; i < lignes; ++i) {
            sqlite3_bind_double(st, 1, 1);
            sqlite3_bind_double(st, 2, i / 6);
            sqlite3_bind_double(st, 3, i % 6 + 1);
            sqlite3_bind_double(st, 4, 7613 + i % 6);
            sqlite3_bind_double(st, 5, 0.5);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    });
    sqlite3_close(db);
    return t;
}

double insertionBrutePostgres(pg_conn *c, int lignes)
{
    PQclear(PQexec(c, "CREATE TABLE RESULTATS_BRUT (codeQualitometre double precision, "
                      "codeOperation double precision, indice double precision, codeParametre "
                      "double precision, resultat double precision)"));
    PQclear(PQprepare(c, "brut", INSERT_BRUT, 5, nullptr));
    return chronometrer([&] {
        PQclear(PQexec(c, "BEGIN"));
        for (int i = 0; i < lignes; ++i) {
            const QByteArray v[5] = {"1", QByteArray::number(i / 6), QByteArray::number(i % 6 + 1),
                                     QByteArray::number(7613 + i % 6), "0.5"};
            const char *valeurs[5] = {v[0].constData(), v[1].constData(), v[2].constData(),
                                      v[3].constData(), v[4].constData()};
            PQclear(PQexecPrepared(c, "brut", 5, valeurs, nullptr, nullptr, 0));
        }
        PQclear(PQexec(c, "COMMIT"));
    });
}

struct Mesures
{
    double trame = 0, trameBrute = 0, integration = 0, integrationBrute = 0;
    int lignesTrame = 0, resultats = 0;
};

Mesures mesurerProgramme(int operations)
{
    Mesures m;
    QTemporaryDir dossier;
    QDir(dossier.path()).mkpath(QStringLiteral("script"));
    const std::unique_ptr<ExportIndice> e = creerExport(indiceI2M2());
    e->codeBSS = QStringLiteral("01234567");
    m.trame = chronometrer(
        [&] {
            e->initTabErreur();
            e->configuration(dossier.path());
            FiltresExport f;
            f.point = QStringLiteral("131");
            e->demarreExport(f);
            if (!e->ecritTrameDebut()) e->ecritTrameListe(progressionNulle());
            e->ecritTrameFin();
        },
        3);
    if (!e->getTabErreurAsTab().isEmpty()) afficher(e->getTabErreur());
    QFile trame(e->cheminTrame());
    trame.open(QIODevice::ReadOnly);
    const QByteArray contenu = trame.readAll();
    m.lignesTrame = int(contenu.count('\n'));
    m.trameBrute = ecrireLignes(contenu, dossier.filePath(QStringLiteral("brut.txt")));

    LectureResultats lecture;
    lecture.codeStation = QStringLiteral("01234567");
    lecture.point = QStringLiteral("131");
    lecture.parametre = [](const QString &code, const QString &libelle) {
        return indiceI2M2().parametre(indiceI2M2(), code, libelle);
    };
    const QString fichier = fichierResultats(dossier.path(), operations);
    BilanResultats bilan;
    m.integration = chronometrer([&] { integrerResultats(fichier, lecture, bilan); });
    if (!bilan.erreur.isEmpty()) afficher(bilan.erreur);
    m.resultats = bilan.enregistres;
    return m;
}

void afficherMesures(const QString &moteur, const Mesures &m)
{
    afficher(QStringLiteral("%1 | trame I2M2 %2 lignes | programme %3 s | requête brute + "
                            "écriture %4 s | x%5")
                 .arg(moteur.leftJustified(10))
                 .arg(m.lignesTrame)
                 .arg(m.trame, 0, 'f', 3)
                 .arg(m.trameBrute, 0, 'f', 3)
                 .arg(m.trame / m.trameBrute, 0, 'f', 1));
    afficher(QStringLiteral("%1 | intégration de %2 résultats | programme %3 s | INSERT préparé "
                            "brut %4 s | x%5")
                 .arg(moteur.leftJustified(10))
                 .arg(m.resultats)
                 .arg(m.integration, 0, 'f', 3)
                 .arg(m.integrationBrute, 0, 'f', 3)
                 .arg(m.integration / m.integrationBrute, 0, 'f', 1));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int operations = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
    const int taxons = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 60;
    afficher(QStringLiteral("Indices : %1 opérations de %2 taxons, %3 résultats intégrés")
                 .arg(operations)
                 .arg(taxons)
                 .arg(operations * 6));
    {
        QTemporaryDir dossier;
        const QString fichier = dossier.filePath(QStringLiteral("indices.db"));
        BaseDonnees::creerBaseBureau(fichier);
        bd().ouvrirBase(fichier, ACCESS, {}, {}, {});
        verifierVersionBase(versionProgramme());
        remplir(operations, taxons);
        Mesures m = mesurerProgramme(operations);
        m.trameBrute += selectBrutSqlite(fichier, SELECT_OPERATIONS, 3) +
                        selectBrutSqlite(fichier, SELECT_LISTES, 3);
        m.integrationBrute = insertionBruteSqlite(fichier, operations * 6);
        afficherMesures(QStringLiteral("SQLite"), m);
        bd().fermerBase();
    }
    const SchemaPostgres schema;
    if (!schema.estPret() || !schema.ouvrirBase()) return 0;
    verifierVersionBase(versionProgramme());
    remplir(operations, taxons);
    Mesures m = mesurerProgramme(operations);
    m.trameBrute += selectBrutPostgres(schema.connexion(), SELECT_OPERATIONS, 3) +
                    selectBrutPostgres(schema.connexion(), SELECT_LISTES, 3);
    m.integrationBrute = insertionBrutePostgres(schema.connexion(), operations * 6);
    afficherMesures(QStringLiteral("PostgreSQL"), m);
    bd().fermerBase();
    return 0;
}
