// The COM_LABO message of a mixed request (stations x parameters): the request read, the message
// composed, checked well-formed and written with its history row, against the same rows read by
// raw SELECTs through the engine's API and the same elements written by hand with fwrite, doing
// the same work as the program: the well-formedness check on the bytes, the file synced to disk
// and the history row inserted.
// Usage: bench_DemandesComLabo [stations] [parameters]   (PostgreSQL from VYK_BENCH_PG_* or
// VYK_TEST_PG_*)

#include "db/BaseDonnees.h"
#include "db/InsertionMassive.h"
#include "db/Lot.h"
#include "demandes/Demandes.h"
#include "demandes/MessageComLabo.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"
#include "support/Mesure.h"
#include "xml/ControleXml.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

using namespace vyk;
using namespace vyk::bench;

namespace {

constexpr int REPETITIONS = 3;

const char *const SITES = "(SELECT codeQualitometre FROM QUALITOMETRES_DEMANDES_SITES WHERE "
                          "codeDemande=1)";

void inserer(const QString &table, const QStringList &colonnes,
             const std::function<void(InsertionMassive &)> &lignes)
{
    InsertionMassive q(table, colonnes);
    lignes(q);
    q.terminer();
}

void remplir(int stations, int parametres)
{
    {
        Lot lot;
        bd().Execute(
            QStringLiteral("INSERT INTO INTERVENANTS (CodeIntervenant, Nom, SIRET, "
                           "CodeSandre) VALUES (10, 'Agence & co', '18000000000017', '')"));
        bd().Execute(QStringLiteral("INSERT INTO INTERVENANTS (CodeIntervenant, Nom, SIRET, "
                                    "CodeSandre) VALUES (20, 'Laboratoire', '', 'L20')"));
        bd().Execute(QStringLiteral("INSERT INTO COMMUNES (CodeCommune, Nom) VALUES ('31555', "
                                    "'Toulouse')"));
        bd().Execute(QStringLiteral("INSERT INTO ANALYSES_FRACTIONS (Code, Nom) VALUES ('23', "
                                    "'Eau brute')"));
        bd().Execute(
            QStringLiteral("INSERT INTO ANALYSES_SUPPORTS (Code, Nom) VALUES ('3', 'Eau')"));
        inserer(QStringLiteral("QUALITOMETRES"),
                {"CodeQualitometre", "CodeBSS", "Nom", "CodeCommune", "typeStation", "X", "Y",
                 "TypeProjection"},
                [&](InsertionMassive &q) {
                    for (int i = 1; i <= stations; ++i)
                        q.ajouter({i, QStringLiteral("0510%1").arg(i, 6, 10, QLatin1Char('0')),
                                   QStringLiteral("Station <%1> & rivière").arg(i), 31555,
                                   QString::number(i % 7), 500000.5 + i, 6200000.25 + i, 26});
                });
        inserer(QStringLiteral("QUALITOMETRES_POINTS"),
                {"codeQualitometre", "codePoint", "identifiant", "nom", "x", "y", "typeprojection"},
                [&](InsertionMassive &q) {
                    for (int i = 1; i <= stations; ++i)
                        q.ajouter({i, 1, QStringLiteral("031"), QStringLiteral("Point %1").arg(i),
                                   1.5, 43.25, 31});
                });
        inserer(QStringLiteral("ANALYSES_PARAMETRES"), {"Code", "Nom", "Actif"},
                [&](InsertionMassive &q) {
                    for (int p = 1; p <= parametres; ++p)
                        q.ajouter({QString::number(1000 + p), QStringLiteral("Paramètre %1").arg(p),
                                   QStringLiteral("1")});
                });
        inserer(QStringLiteral("ANALYSES_UNITES"), {"Code", "Nom", "Symbole"},
                [&](InsertionMassive &q) {
                    for (int p = 1; p <= parametres; ++p)
                        q.ajouter({QString::number(p), QStringLiteral("Unité %1").arg(p),
                                   QStringLiteral("u%1").arg(p)});
                });
        lot.terminer();
    }
    FicheDemande f = nouvelleDemande();
    const std::pair<ChampDemande, const char *> champs[] = {
        {DemLibelle, "Banc mixte"}, {DemDebut, "04/05/2026"},
        {DemFin, "06/05/2026"},     {DemType, "3"},
        {DemEmetteur, "10"},        {DemPrestataire, "20"},
        {DemPreleveur, "20"},       {DemSupport, "3"}};
    for (const auto &[champ, texte] : champs)
        f.definir(champ, QString::fromUtf8(texte));
    for (int i = 1; i <= stations; ++i)
        f.stations << i;
    for (int p = 1; p <= parametres; ++p)
        f.parametres.append({QString::number(1000 + p), QString::number(p),
                             p % 4 == 0 ? QStringLiteral("1") : QStringLiteral("2"),
                             QStringLiteral("23"), QStringLiteral("3"),
                             p % 4 == 0 ? QStringLiteral("1") : QStringLiteral("0")});
    const CompteRendu r = enregistrerDemande(f);
    if (!r.ok) afficher(QStringLiteral("Demande : ") + r.texte);
}

// The program's road, as `vyk-cli request generate` takes it.
qint64 generer(const QString &dossier)
{
    FicheDemande f;
    lireDemande(1, f);
    OptionsComLabo o;
    o.dossier = dossier;
    const ResultatComLabo r = genererComLabo(f, o);
    if (!r.compteRendu.ok) afficher(QStringLiteral("Génération : ") + r.compteRendu.texte);
    return QFile(r.chemin).size();
}

// --- The raw road ------------------------------------------------------------------------------

using Ligne = std::vector<std::string>;

std::string echapper(const std::string &t)
{
    std::string s;
    s.reserve(t.size());
    for (const char c : t) {
        if (c == '&')
            s += "&amp;";
        else if (c == '<')
            s += "&lt;";
        else if (c == '>')
            s += "&gt;";
        else if (c == '"')
            s += "&quot;";
        else
            s += c;
    }
    return s;
}

void element(std::string &s, int retrait, const char *nom, const std::string &valeur)
{
    s.append(size_t(retrait), ' ');
    s += '<';
    s += nom;
    s += '>';
    s += echapper(valeur);
    s += "</";
    s += nom;
    s += ">\r";
}

// The same elements, written by hand from the raw rows.
qint64 ecrireBrut(const std::vector<Ligne> &stations, const std::vector<Ligne> &points,
                  const std::vector<Ligne> &parametres, const QString &fichier)
{
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r<COM_LABO>\r";
    for (size_t i = 0; i < stations.size(); ++i) {
        const Ligne &l = stations[i];
        s += " <StationPrelevement>\r";
        element(s, 3, "CdStationPrelevement", l[1]);
        element(s, 3, "LbStationPrelevement", l[4] + " (" + l[2] + ")");
        element(s, 3, "CoordXStationPrelevement", l[6]);
        element(s, 3, "CoordYStationPrelevement", l[7]);
        element(s, 3, "ProjectStationPrelevement", l[8]);
        if (i < points.size()) {
            s += "   <LocalPrelevement>\r";
            element(s, 4, "CdLocalPrelevement", "031");
            element(s, 4, "LbLocalPrelevement", points[i][1]);
            element(s, 4, "CoordXLocalPrelevement", points[i][2]);
            element(s, 4, "CoordYLocalPrelevement", points[i][3]);
            element(s, 4, "ProjLocalPrelevement", points[i][4]);
            s += "   </LocalPrelevement>\r";
        }
        s += " </StationPrelevement>\r";
    }
    for (const char *groupe : {"2", "1"}) {
        s += " <GroupeParametres>\r";
        element(s, 3, "CdGroupeParametres", std::string("Banc mixte_") + groupe);
        element(s, 3, "LbGroupeParametres", "Banc mixte");
        for (const Ligne &p : parametres) {
            if (p[5] != groupe) continue;
            s += "   <Analyse>\r";
            element(s, 4, "InsituAna", p[6] == "1" ? "1" : "2");
            s += "    <Parametre>\r";
            element(s, 5, "CdParametre", p[0]);
            element(s, 5, "NomParametre", p[1]);
            s += "    </Parametre>\r    <FractionAnalysee>\r";
            element(s, 5, "CdFractionAnalysee", "23");
            element(s, 5, "LbFractionAnalysee", p[4]);
            s += "    </FractionAnalysee>\r    <UniteReference>\r";
            element(s, 5, "CdUniteReference", p[7]);
            element(s, 5, "LbUniteReference", p[2]);
            element(s, 5, "SymUniteReference", p[3]);
            s += "    </UniteReference>\r   </Analyse>\r";
        }
        s += " </GroupeParametres>\r";
    }
    for (size_t i = 0; i < stations.size(); ++i) {
        s += "    <Prelevement>\r";
        element(s, 7, "CdPrelevement", stations[i][1] + "_2026-05-04_" + std::to_string(i + 1));
        element(s, 7, "DatePrel", "2026-05-04");
        element(s, 7, "DelaiPrel", "3");
        s += "       <StationPrelevement>\r";
        element(s, 8, "CdStationPrelevement", stations[i][1]);
        s += "       </StationPrelevement>\r       <LocalPrelevement>\r";
        element(s, 8, "CdLocalPrelevement", "031");
        s += "       </LocalPrelevement>\r       <Support>\r";
        element(s, 8, "CdSupport", "3");
        element(s, 8, "LbSupport", "Eau");
        s += "       </Support>\r       <Preleveur>\r";
        element(s, 7, "CdIntervenant", "L20");
        s += "       </Preleveur>\r       <Echantillon>\r";
        for (const char *groupe : {"Banc mixte_2", "Banc mixte_1"}) {
            s += "        <GroupeParametres>\r";
            element(s, 9, "CdGroupeParametres", groupe);
            s += "        </GroupeParametres>\r";
        }
        s += "        <Laboratoire>\r";
        element(s, 7, "CdIntervenant", "L20");
        s += "        </Laboratoire>\r       </Echantillon>\r    </Prelevement>\r";
    }
    s += "</COM_LABO>\r";
    if (const QString m = defautXmlOctets(QByteArrayView(s.data(), qsizetype(s.size())));
        !m.isEmpty())
        afficher(QStringLiteral("Brut : ") + m);
    // On disk before it counts as written, as the program's file is.
    std::FILE *f = std::fopen(fichier.toLocal8Bit().constData(), "wb");
    std::fwrite(s.data(), 1, s.size(), f);
    std::fflush(f);
    fsync(fileno(f));
    std::fclose(f);
    return qint64(s.size());
}

std::string requeteStations(const std::string &jointure)
{
    return "SELECT Q.codeQualitometre, Q.codeBSS, C.nom, Q.typeStation, Q.nom, Q.Designation, "
           "Q.X, Q.Y, Q.TypeProjection FROM QUALITOMETRES Q LEFT JOIN COMMUNES C ON " +
           jointure + " WHERE Q.codeQualitometre IN " + SITES + " ORDER BY Q.codeQualitometre";
}

const std::string POINTS = std::string("SELECT codeQualitometre, nom, x, y, typeprojection FROM "
                                       "qualitometres_points WHERE identifiant='031' AND "
                                       "codeQualitometre IN ") +
                           SITES + " ORDER BY codeQualitometre";
const std::string PARAMETRES =
    "SELECT P.codeParametre, A.Nom, U.Nom, U.Symbole, F.Nom, P.codeLieu, P.insitu, P.codeUnite "
    "FROM "
    "QUALITOMETRES_DEMANDES_PARAMETRES P LEFT JOIN ANALYSES_PARAMETRES A ON A.Code=P.codeParametre "
    "LEFT JOIN ANALYSES_UNITES U ON U.Code=P.codeUnite LEFT JOIN ANALYSES_FRACTIONS F ON "
    "F.Code=P.codeFraction WHERE P.codeDemande=1 ORDER BY P.codeParametre";

// The history row the program adds after each file.
const char *const HISTORIQUE = "INSERT INTO QUALITOMETRES_DEMANDES_HISTORIQUES (codeDemande, "
                               "nomFichier, dateGeneration, heureGeneration) VALUES (1, "
                               "'brut.xml', '2026-05-03 00:00:00', '1899-12-30 14:05:09')";

std::vector<Ligne> lireSqlite(sqlite3 *db, const std::string &sql)
{
    std::vector<Ligne> lignes;
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) {
        Ligne l;
        for (int c = 0; c < sqlite3_column_count(st); ++c) {
            const unsigned char *t = sqlite3_column_text(st, c);
            l.emplace_back(t ? reinterpret_cast<const char *>(t) : "");
        }
        lignes.push_back(std::move(l));
    }
    sqlite3_finalize(st);
    return lignes;
}

std::vector<Ligne> lirePostgres(pg_conn *connexion, const std::string &sql)
{
    std::vector<Ligne> lignes;
    PGresult *r = PQexec(connexion, sql.c_str());
    for (int i = 0; i < PQntuples(r); ++i) {
        Ligne l;
        for (int c = 0; c < PQnfields(r); ++c)
            l.emplace_back(PQgetvalue(r, i, c));
        lignes.push_back(std::move(l));
    }
    PQclear(r);
    return lignes;
}

void rapport(const QString &moteur, int stations, int parametres, double objet, double brut,
             qint64 octetsObjet, qint64 octetsBrut)
{
    afficher(QStringLiteral("%1 | demande mixte %2 stations x %3 paramètres | genererComLabo %4 s "
                            "(%5 Ko) | SELECT bruts + écriture à la main %6 s (%7 Ko) | x%8")
                 .arg(moteur.leftJustified(10))
                 .arg(stations)
                 .arg(parametres)
                 .arg(objet, 0, 'f', 3)
                 .arg(octetsObjet / 1024)
                 .arg(brut, 0, 'f', 3)
                 .arg(octetsBrut / 1024)
                 .arg(objet / brut, 0, 'f', 2));
}

void benchSqlite(int stations, int parametres)
{
    QTemporaryDir dossier;
    const QString fichier = dossier.filePath(QStringLiteral("demandes.db"));
    BaseDonnees::creerBaseBureau(fichier);
    bd().ouvrirBase(fichier, ACCESS, {}, {}, {});
    verifierVersionBase(versionProgramme());
    remplir(stations, parametres);
    qint64 octetsObjet = 0;
    const double objet = chronometrer([&] { octetsObjet = generer(dossier.path()); }, REPETITIONS);
    bd().fermerBase();
    sqlite3 *db = nullptr;
    sqlite3_open(fichier.toUtf8().constData(), &db);
    qint64 octetsBrut = 0;
    const double brut = chronometrer(
        [&] {
            octetsBrut = ecrireBrut(lireSqlite(db, requeteStations("Q.codeCommune=C.CodeCommune")),
                                    lireSqlite(db, POINTS), lireSqlite(db, PARAMETRES),
                                    dossier.filePath(QStringLiteral("brut.xml")));
            if (sqlite3_exec(db, HISTORIQUE, nullptr, nullptr, nullptr) != SQLITE_OK)
                afficher(QString::fromUtf8(sqlite3_errmsg(db)));
        },
        REPETITIONS);
    sqlite3_close(db);
    rapport(QStringLiteral("SQLite"), stations, parametres, objet, brut, octetsObjet, octetsBrut);
}

void benchPostgres(int stations, int parametres)
{
    const SchemaPostgres schema;
    if (!schema.estPret() || !schema.ouvrirBase()) return;
    verifierVersionBase(versionProgramme());
    remplir(stations, parametres);
    bd().Execute(QStringLiteral("ANALYZE"));
    QTemporaryDir dossier;
    qint64 octetsObjet = 0;
    const double objet = chronometrer([&] { octetsObjet = generer(dossier.path()); }, REPETITIONS);
    bd().fermerBase();
    qint64 octetsBrut = 0;
    const std::string jointure = "C.CodeCommune=CAST(CAST(Q.codeCommune AS BIGINT) AS TEXT)";
    const double brut = chronometrer(
        [&] {
            octetsBrut = ecrireBrut(lirePostgres(schema.connexion(), requeteStations(jointure)),
                                    lirePostgres(schema.connexion(), POINTS),
                                    lirePostgres(schema.connexion(), PARAMETRES),
                                    dossier.filePath(QStringLiteral("brut.xml")));
            PGresult *r = PQexec(schema.connexion(), HISTORIQUE);
            if (PQresultStatus(r) != PGRES_COMMAND_OK)
                afficher(QString::fromUtf8(PQerrorMessage(schema.connexion())));
            PQclear(r);
        },
        REPETITIONS);
    rapport(QStringLiteral("PostgreSQL"), stations, parametres, objet, brut, octetsObjet,
            octetsBrut);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int stations = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
    const int parametres = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 200;
    afficher(QStringLiteral("Message COM_LABO : %1 stations x %2 paramètres, meilleur de %3")
                 .arg(stations)
                 .arg(parametres)
                 .arg(REPETITIONS));
    benchSqlite(stations, parametres);
    benchPostgres(stations, parametres);
    return 0;
}
