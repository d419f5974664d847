// The KML of an export list of Lambert-93 stations (list read, positions read, converted to
// WGS84, file written) against one raw SELECT by the engine's API, proj_trans_generic on the
// coordinates and the same bytes written by hand.
// Usage: bench_ExportKml [stations]   (PostgreSQL from VYK_BENCH_PG_* or VYK_TEST_PG_*)

#include "carto/ExportKml.h"
#include "carto/ListesExport.h"
#include "db/BaseDonnees.h"
#include "db/InsertionMassive.h"
#include "db/Lot.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"
#include "support/Mesure.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <libpq-fe.h>
#include <proj.h>
#include <sqlite3.h>

#include <cstdio>
#include <vector>

using namespace vyk;
using namespace vyk::bench;

namespace {

constexpr int REPETITIONS = 3;

const char *const BRUT =
    "SELECT QUALITOMETRES.CodeBSS, QUALITOMETRES.Nom, QUALITOMETRE_LOCALISATIONS.X, "
    "QUALITOMETRE_LOCALISATIONS.Y, QUALITOMETRE_LOCALISATIONS.Z FROM (LISTES_EXPORT_QUALITE_SITES "
    "INNER JOIN QUALITOMETRES ON QUALITOMETRES.CodeQualitometre=LISTES_EXPORT_QUALITE_SITES.Code) "
    "INNER JOIN QUALITOMETRE_LOCALISATIONS ON "
    "(QUALITOMETRE_LOCALISATIONS.CodeQualitometre=QUALITOMETRES.CodeQualitometre AND "
    "QUALITOMETRE_LOCALISATIONS.CodeProjection=26) WHERE LISTES_EXPORT_QUALITE_SITES.CodeListe=1 "
    "ORDER BY LISTES_EXPORT_QUALITE_SITES.Ordre";

// n stations spread over mainland France in Lambert 93, all in list 1.
void remplir(int n)
{
    {
        Lot lot;
        InsertionMassive q(
            QStringLiteral("QUALITOMETRES"),
            {QStringLiteral("CodeQualitometre"), QStringLiteral("CodeBSS"), QStringLiteral("Nom")});
        InsertionMassive l(QStringLiteral("QUALITOMETRE_LOCALISATIONS"),
                           {QStringLiteral("CodeQualitometre"), QStringLiteral("CodeProjection"),
                            QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z")});
        for (int i = 1; i <= n; ++i) {
            q.ajouter({i, QStringLiteral("BSS%1").arg(i, 6, 10, QLatin1Char('0')),
                       QStringLiteral("Station %1").arg(i)});
            l.ajouter({i, 26, 200000.0 + (i * 7919 % 900000) + 0.25,
                       6200000.0 + (i * 104729 % 800000) + 0.5, double(i % 500)});
        }
        q.terminer();
        l.terminer();
        lot.terminer();
    }
    ListeExportQualite liste;
    liste.setTexte(QStringLiteral("Nom"), QStringLiteral("Banc"));
    liste.setTexte(QStringLiteral("CodeProjection"), QStringLiteral("26"));
    liste.setTexte(QStringLiteral("ExportKml"), QStringLiteral("1"));
    liste.setTexte(QStringLiteral("ExportSite"), QStringLiteral("1"));
    for (int i = 1; i <= n; ++i)
        liste.stations.append({i, {}, {}});
    QString erreur;
    if (!enregistrerListeExport(liste, &erreur)) afficher(QStringLiteral("Liste : ") + erreur);
}

// The program's road: the list read, then its KML written (positions, conversion, file); the web
// pages the same list asks for are left out.
QByteArray exporter(const QString &dossier)
{
    ListeExportQualite liste;
    chargerListeExport(1, liste);
    BilanExportKml bilan;
    QString erreur;
    if (!exporterKml(liste, dossier, bilan, &erreur))
        afficher(QStringLiteral("Export : ") + erreur);
    QFile f(bilan.fichier);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// The raw road's rows.
struct Lignes
{
    std::vector<std::string> noms;
    std::vector<double> x, y, z;
};

void nombre(std::string &s, double v)
{
    char tampon[64];
    std::snprintf(tampon, sizeof tampon, "%.7f", v);
    std::string t(tampon);
    while (!t.empty() && t.back() == '0')
        t.pop_back();
    if (!t.empty() && t.back() == '.') t.pop_back();
    s += t == "-0" ? "0" : t;
}

void echapper(std::string &s, const std::string &texte)
{
    for (char c : texte) {
        if (c == '&')
            s += "&amp;";
        else if (c == '<')
            s += "&lt;";
        else if (c == '>')
            s += "&gt;";
        else if (c == '"')
            s += "&quot;";
        else if (c == '\'')
            s += "&apos;";
        else
            s += c;
    }
}

// Converts, builds the same document and writes it.
void convertirEtEcrire(Lignes &l, const QString &fichier)
{
    PJ_CONTEXT *ctx = proj_context_create();
    proj_context_set_enable_network(ctx, 0);
    PJ *brute = proj_create_crs_to_crs(ctx, "EPSG:2154", "EPSG:4326", nullptr);
    PJ *pj = proj_normalize_for_visualization(ctx, brute);
    proj_trans_generic(pj, PJ_FWD, l.x.data(), sizeof(double), l.x.size(), l.y.data(),
                       sizeof(double), l.y.size(), nullptr, 0, 0, nullptr, 0, 0);
    proj_destroy(pj);
    proj_destroy(brute);
    proj_context_destroy(ctx);
    std::string s = documentKml({}, true).toStdString();
    const std::string fin = "  </Folder>\r\n  </Document>\r\n</kml>\r\n";
    s.resize(s.size() - fin.size());
    for (size_t i = 0; i < l.noms.size(); ++i) {
        s += "      <Placemark>\r\n        <name>";
        echapper(s, l.noms[i]);
        s += "</name>\r\n        <Point>\r\n          <coordinates>";
        nombre(s, l.x[i]);
        s += ',';
        nombre(s, l.y[i]);
        s += ',';
        nombre(s, l.z[i]);
        s += "</coordinates>\r\n        </Point>\r\n      </Placemark>\r\n";
    }
    s += fin;
    std::FILE *f = std::fopen(fichier.toLocal8Bit().constData(), "wb");
    std::fwrite(s.data(), 1, s.size(), f);
    std::fclose(f);
}

void rapport(const QString &moteur, int n, double objet, double brut)
{
    afficher(QStringLiteral("%1 | KML de %2 stations Lambert 93 | exporterKml %3 s | SELECT brut "
                            "+ proj_trans_generic + écriture %4 s | x%5")
                 .arg(moteur.leftJustified(10))
                 .arg(n)
                 .arg(objet, 0, 'f', 3)
                 .arg(brut, 0, 'f', 3)
                 .arg(objet / brut, 0, 'f', 2));
}

QByteArray lire(const QString &chemin)
{
    QFile f(chemin);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void comparer(const QByteArray &objet, const QString &brut)
{
    if (objet != lire(brut)) afficher(QStringLiteral("ATTENTION : fichiers différents"));
}

void benchSqlite(int n)
{
    QTemporaryDir dossier;
    const QString fichier = dossier.filePath(QStringLiteral("kml.db"));
    BaseDonnees::creerBaseBureau(fichier);
    bd().ouvrirBase(fichier, ACCESS, {}, {}, {});
    verifierVersionBase(versionProgramme());
    remplir(n);
    QByteArray kml;
    const double objet = chronometrer([&] { kml = exporter(dossier.path()); }, REPETITIONS);
    bd().fermerBase();
    const QString sortie = dossier.filePath(QStringLiteral("brut.kml"));
    sqlite3 *db = nullptr;
    sqlite3_open(fichier.toUtf8().constData(), &db);
    const double brut = chronometrer(
        [&] {
            Lignes l;
            sqlite3_stmt *st = nullptr;
            sqlite3_prepare_v2(db, BRUT, -1, &st, nullptr);
            while (sqlite3_step(st) == SQLITE_ROW) {
                l.noms.push_back(
                    std::string(reinterpret_cast<const char *>(sqlite3_column_text(st, 0))) +
                    " - " + reinterpret_cast<const char *>(sqlite3_column_text(st, 1)));
                l.x.push_back(sqlite3_column_double(st, 2));
                l.y.push_back(sqlite3_column_double(st, 3));
                l.z.push_back(sqlite3_column_double(st, 4));
            }
            sqlite3_finalize(st);
            convertirEtEcrire(l, sortie);
        },
        REPETITIONS);
    sqlite3_close(db);
    rapport(QStringLiteral("SQLite"), n, objet, brut);
    comparer(kml, sortie);
}

void benchPostgres(int n)
{
    const SchemaPostgres schema;
    if (!schema.estPret() || !schema.ouvrirBase()) return;
    verifierVersionBase(versionProgramme());
    remplir(n);
    bd().Execute(QStringLiteral("ANALYZE"));
    QTemporaryDir dossier;
    QByteArray kml;
    const double objet = chronometrer([&] { kml = exporter(dossier.path()); }, REPETITIONS);
    const QByteArray sql = bd().traduire(QString::fromLatin1(BRUT)).toUtf8();
    bd().fermerBase();
    const QString sortie = dossier.filePath(QStringLiteral("brut.kml"));
    const double brut = chronometrer(
        [&] {
            Lignes l;
            PGresult *r = PQexec(schema.connexion(), sql.constData());
            for (int i = 0; i < PQntuples(r); ++i) {
                l.noms.push_back(std::string(PQgetvalue(r, i, 0)) + " - " + PQgetvalue(r, i, 1));
                l.x.push_back(std::strtod(PQgetvalue(r, i, 2), nullptr));
                l.y.push_back(std::strtod(PQgetvalue(r, i, 3), nullptr));
                l.z.push_back(std::strtod(PQgetvalue(r, i, 4), nullptr));
            }
            PQclear(r);
            convertirEtEcrire(l, sortie);
        },
        REPETITIONS);
    rapport(QStringLiteral("PostgreSQL"), n, objet, brut);
    comparer(kml, sortie);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;
    afficher(QStringLiteral("Export KML : %1 stations en Lambert 93, meilleur de %2")
                 .arg(n)
                 .arg(REPETITIONS));
    benchSqlite(n);
    benchPostgres(n);
    return 0;
}
