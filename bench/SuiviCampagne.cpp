// The follow-up table of a campaign, view by view, against the grouped SELECTs that read the
// same data run raw by the engine's own API: the per-station analysis tables united in one
// statement for the analyses and samples views, one grouped SELECT over the requests or the
// events for the two others.
// Usage: bench_SuiviCampagne [stations] [months]   (PostgreSQL from VYK_BENCH_PG_* or
// VYK_TEST_PG_*)

#include "campagnes/SuiviCampagne.h"
#include "db/BaseDonnees.h"
#include "db/InsertionMassive.h"
#include "db/Lot.h"
#include "db/Sql.h"
#include "schema/MiseAJour.h"
#include "schema/TableAnalyses.h"
#include "schema/Version.h"
#include "support/Mesure.h"

#include <QCoreApplication>
#include <QDate>
#include <QTemporaryDir>

#include <libpq-fe.h>
#include <sqlite3.h>

using namespace vyk;
using namespace vyk::bench;

namespace {

constexpr int REPETITIONS = 5;
constexpr int PARAMETRES = 10;
const QDate DEBUT(2024, 1, 1);

QString codeBSS(int s)
{
    return QStringLiteral("C%1").arg(s, 5, 10, QLatin1Char('0'));
}

QString codeParametre(int p)
{
    return QString::number(1300 + p);
}

void remplirStations(int stations, int mois)
{
    InsertionMassive q(QStringLiteral("QUALITOMETRES"),
                       {QStringLiteral("CodeQualitometre"), QStringLiteral("CodeBSS"),
                        QStringLiteral("Nom"), QStringLiteral("nbTournees")});
    InsertionMassive p(QStringLiteral("PRELEVEMENTS"),
                       {QStringLiteral("NumPrelevement"), QStringLiteral("CodeQualitometre"),
                        QStringLiteral("DateDebut"), QStringLiteral("CodeProducteurPrincipal")});
    InsertionMassive e(QStringLiteral("EVENEMENTS_QUALITO"),
                       {QStringLiteral("CodeQualitometre"), QStringLiteral("Numero"),
                        QStringLiteral("DateEvenement"), QStringLiteral("type")});
    for (int s = 1; s <= stations; ++s) {
        q.ajouter({s, codeBSS(s), QStringLiteral("Station %1").arg(s), 12});
        for (int m = 0; m < mois; ++m) {
            const QDate jour = DEBUT.addMonths(m).addDays(s % 27);
            p.ajouter({m, s, QDateTime(jour, QTime(9, 0)), 1});
            e.ajouter({s, 2 * m, QDateTime(jour, QTime(0, 0)), QStringLiteral("G")});
            e.ajouter({s, 2 * m + 1, QDateTime(jour.addDays(1), QTime(0, 0)), QStringLiteral("T")});
        }
    }
    q.terminer();
    p.terminer();
    e.terminer();
}

// One sample a month per station, with the wanted parameters (one in seven left out).
void remplirAnalyses(int stations, int mois)
{
    for (int s = 1; s <= stations; ++s) {
        creerTableAnalyses(codeBSS(s));
        InsertionMassive a(QStringLiteral("ANALYSES_") + codeBSS(s),
                           {QStringLiteral("NumAnalyse"), QStringLiteral("NumPrelevement"),
                            QStringLiteral("CodeQualitometre"), QStringLiteral("CodeParametre"),
                            QStringLiteral("CodeUnite")});
        for (int m = 0; m < mois; ++m)
            for (int p = 0; p < PARAMETRES; ++p)
                if ((s + m + p) % 7 != 0)
                    a.ajouter({p, m, s, codeParametre(p), QStringLiteral("162")});
        a.terminer();
    }
}

// A request of three months for every 10 stations, one after the other.
void remplirDemandes(int stations, int mois)
{
    InsertionMassive d(QStringLiteral("QUALITOMETRES_DEMANDES"),
                       {QStringLiteral("codeDemande"), QStringLiteral("libelle"),
                        QStringLiteral("dateDebutApplication"),
                        QStringLiteral("dateFinApplication")});
    InsertionMassive ds(QStringLiteral("QUALITOMETRES_DEMANDES_SITES"),
                        {QStringLiteral("codeDemande"), QStringLiteral("codeQualitometre")});
    int code = 0;
    for (int m = 0; m < mois; m += 3)
        for (int s = 1; s <= stations; s += 10) {
            ++code;
            d.ajouter({code, QStringLiteral("D%1").arg(code),
                       QDateTime(DEBUT.addMonths(m), QTime(0, 0)),
                       QDateTime(DEBUT.addMonths(m + 3).addDays(-1), QTime(0, 0))});
            for (int k = s; k < s + 10 && k <= stations; ++k)
                ds.ajouter({code, k});
        }
    d.terminer();
    ds.terminer();
}

Campagne campagne(int stations, int mois)
{
    Campagne c;
    c.fiche.code = QStringLiteral("1");
    c.fiche.dateDebut = DEBUT.toString(QStringLiteral("dd/MM/yyyy"));
    c.fiche.dateFin = DEBUT.addMonths(mois).addDays(-1).toString(QStringLiteral("dd/MM/yyyy"));
    c.fiche.codeIntervenant = QStringLiteral("1");
    QStringList codes;
    for (int s = 1; s <= stations; ++s)
        codes << QString::number(s);
    c.stations = stationsCampagne(codes, {});
    for (int p = 0; p < PARAMETRES; ++p)
        c.parametres.append({codeParametre(p),
                             QStringLiteral("162"),
                             QStringLiteral("1"),
                             QStringLiteral("23"),
                             QStringLiteral("3"),
                             {}});
    return c;
}

// The grouped SELECTs of each view, written by hand.
QByteArray selectBrut(VueSuivi vue, const Campagne &c, int stations)
{
    const QDate debut = dateCampagne(c.fiche.dateDebut);
    const QDate finExclue = dateCampagne(c.fiche.dateFin).addDays(1);
    const QString periode = QStringLiteral(" AND P.DateDebut>=") + dateSQL(debut.startOfDay()) +
                            QStringLiteral(" AND P.DateDebut<") + dateSQL(finExclue.startOfDay()) +
                            QStringLiteral(" AND P.CodeProducteurPrincipal=1");
    QStringList liste;
    for (int s = 1; s <= stations; ++s)
        liste << QString::number(s);
    QStringList selects;
    switch (vue) {
    case VueSuivi::Analyses:
    case VueSuivi::Prelevements:
        for (int s = 1; s <= stations; ++s) {
            const QString t = tableAnalyses(codeBSS(s));
            selects << (vue == VueSuivi::Analyses
                            ? QStringLiteral("SELECT %1, A.CodeParametre, A.CodeUnite, count(*) ")
                            : QStringLiteral("SELECT %1, P.NumPrelevement, P.DateDebut, "
                                             "count(DISTINCT A.CodeParametre) "))
                               .arg(s) +
                           QStringLiteral("FROM ") + t +
                           QStringLiteral(" A INNER JOIN PRELEVEMENTS P ON "
                                          "A.NumPrelevement=P.NumPrelevement WHERE "
                                          "P.CodeQualitometre=%1")
                               .arg(s) +
                           periode +
                           (vue == VueSuivi::Analyses
                                ? QStringLiteral(" GROUP BY A.CodeParametre, A.CodeUnite")
                                : QStringLiteral(" GROUP BY P.NumPrelevement, P.DateDebut"));
        }
        return bd().traduire(selects.join(QStringLiteral(" UNION ALL "))).toUtf8();
    case VueSuivi::Demandes:
        return bd()
            .traduire(QStringLiteral("SELECT S.codeQualitometre, D.dateDebutApplication, "
                                     "D.dateFinApplication, D.libelle FROM QUALITOMETRES_DEMANDES "
                                     "D INNER JOIN QUALITOMETRES_DEMANDES_SITES S ON "
                                     "D.codeDemande=S.codeDemande WHERE D.dateDebutApplication<") +
                      dateSQL(finExclue.startOfDay()) +
                      QStringLiteral(" AND D.dateFinApplication>=") + dateSQL(debut.startOfDay()) +
                      QStringLiteral(" AND S.codeQualitometre IN (") + liste.join(u',') +
                      QStringLiteral(") ORDER BY D.dateDebutApplication, D.codeDemande"))
            .toUtf8();
    case VueSuivi::Interventions:
        return bd()
            .traduire(QStringLiteral("SELECT CodeQualitometre, DateEvenement, count(*) FROM "
                                     "EVENEMENTS_QUALITO WHERE CodeQualitometre IN (") +
                      liste.join(u',') + QStringLiteral(") AND DateEvenement>=") +
                      dateSQL(debut.startOfDay()) + QStringLiteral(" AND DateEvenement<") +
                      dateSQL(finExclue.startOfDay()) +
                      QStringLiteral(" GROUP BY CodeQualitometre, DateEvenement ORDER BY "
                                     "CodeQualitometre, DateEvenement"))
            .toUtf8();
    }
    return {};
}

constexpr VueSuivi VUES[] = {VueSuivi::Analyses, VueSuivi::Prelevements, VueSuivi::Demandes,
                             VueSuivi::Interventions};

struct Mesures
{
    double objet[4] = {};
    int cellules[4] = {};
    QByteArray sql[4];
};

Mesures mesurer(int stations, int mois)
{
    Mesures m;
    const Campagne c = campagne(stations, mois);
    for (int v = 0; v < 4; ++v) {
        m.objet[v] = chronometrer(
            [&] {
                QString erreur;
                const TableSuivi t = calculerSuivi(c, VUES[v], false, erreur);
                if (!erreur.isEmpty()) afficher(erreur);
                m.cellules[v] = 0;
                for (const QStringList &l : t.lignes)
                    for (int k = COLONNES_FIXES_SUIVI; k < l.size(); ++k)
                        m.cellules[v] += !l[k].isEmpty() && l[k] != u"0";
            },
            REPETITIONS);
        m.sql[v] = selectBrut(VUES[v], c, stations);
    }
    return m;
}

void rapport(const QString &moteur, const Mesures &m, const std::function<double(int)> &brut)
{
    for (int v = 0; v < 4; ++v) {
        const double b = brut(v);
        afficher(QStringLiteral("%1 | %2 | %3 cellules | calculerSuivi %4 s | SELECT brut %5 s | "
                                "x%6")
                     .arg(moteur.leftJustified(10), libelleVueSuivi(VUES[v]).leftJustified(24))
                     .arg(m.cellules[v])
                     .arg(m.objet[v], 0, 'f', 3)
                     .arg(b, 0, 'f', 3)
                     .arg(m.objet[v] / b, 0, 'f', 2));
    }
}

void remplir(int stations, int mois)
{
    Lot lot;
    remplirStations(stations, mois);
    remplirAnalyses(stations, mois);
    remplirDemandes(stations, mois);
    lot.terminer();
}

void benchSqlite(int stations, int mois)
{
    QTemporaryDir dossier;
    const QString fichier = dossier.filePath(QStringLiteral("suivi.db"));
    BaseDonnees::creerBaseBureau(fichier);
    bd().ouvrirBase(fichier, ACCESS, {}, {}, {});
    verifierVersionBase(versionProgramme());
    remplir(stations, mois);
    const Mesures m = mesurer(stations, mois);
    bd().fermerBase();
    rapport(QStringLiteral("SQLite"), m,
            [&](int v) { return selectBrutSqlite(fichier, m.sql[v], REPETITIONS); });
}

void benchPostgres(int stations, int mois)
{
    const SchemaPostgres schema;
    if (!schema.estPret() || !schema.ouvrirBase()) return;
    verifierVersionBase(versionProgramme());
    remplir(stations, mois);
    bd().Execute(QStringLiteral("ANALYZE"));
    const Mesures m = mesurer(stations, mois);
    bd().fermerBase();
    rapport(QStringLiteral("PostgreSQL"), m,
            [&](int v) { return selectBrutPostgres(schema.connexion(), m.sql[v], REPETITIONS); });
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int stations = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 500;
    const int mois = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 24;
    afficher(QStringLiteral("Suivi de campagne : %1 stations x %2 mois, %3 paramètres, meilleur "
                            "de %4")
                 .arg(stations)
                 .arg(mois)
                 .arg(PARAMETRES)
                 .arg(REPETITIONS));
    benchSqlite(stations, mois);
    benchPostgres(stations, mois);
    return 0;
}
