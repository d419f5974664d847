#include "schema/TableAnalyses.h"

#include "db/BaseDonnees.h"
#include "db/Outils.h"
#include "db/Sql.h"
#include "schema/Catalogue.h"

#include <QSet>

#include <algorithm>
#include <numeric>

namespace vyk {

namespace {
// Tables joined by one UNION: far below the engines' limits on compound selects (SQLite: 500).
constexpr int TABLES_PAR_REQUETE = 200;
} // namespace

QString tableAnalyses(const QString &codeBSS, QString *erreur)
{
    return identifiantTable(PREFIXE_ANALYSES, codeBSS.trimmed(), erreur);
}

bool creerTableAnalyses(const QString &codeBSS, QString *erreur, bool *indexDiffere)
{
    if (indexDiffere) *indexDiffere = false;
    QString raison;
    const QString code = codeBSS.trimmed();
    // The table's text (forty columns) is made only when the table is missing: an import asks for
    // every station it meets.
    auto refus = [&] {
        if (erreur) *erreur = raison;
        return false;
    };
    if (tableAnalyses(code, &raison).isEmpty()) return refus();
    if (bd().tableExiste(PREFIXE_ANALYSES + code)) return true;
    const QString creation = sqlCreationTableAnalyses(code, &raison);
    if (creation.isEmpty()) return refus();
    if (!bd().Execute(creation)) {
        // Another session may have created it in the meantime.
        if (bd().tableExiste(PREFIXE_ANALYSES + code)) return true;
        if (erreur) *erreur = bd().derniereErreur();
        return false;
    }
    if (indexDiffere) {
        *indexDiffere = true;
        return true;
    }
    creerIndexTableAnalyses(code);
    return true;
}

bool creerIndexTableAnalyses(const QString &codeBSS)
{
    const QString index = sqlIndexTableAnalyses(codeBSS.trimmed());
    return !index.isEmpty() && bd().ExecuteDDL(index);
}

bool renommageTableAnalysesNecessaire(const QString &ancienCodeBSS, const QString &nouveauCodeBSS)
{
    const QString ancien = ancienCodeBSS.trimmed(), nouveau = nouveauCodeBSS.trimmed();
    return !ancien.isEmpty() && !nouveau.isEmpty() &&
           ancien.compare(nouveau, Qt::CaseInsensitive) != 0 &&
           bd().tableExiste(PREFIXE_ANALYSES + ancien);
}

bool renommerTableAnalyses(const QString &ancienCodeBSS, const QString &nouveauCodeBSS,
                           QString *erreur)
{
    const QString ancien = ancienCodeBSS.trimmed(), nouveau = nouveauCodeBSS.trimmed();
    if (!renommageTableAnalysesNecessaire(ancien, nouveau)) return true;
    QString raison;
    const QString table = tableAnalyses(ancien, &raison);
    const QString cible = table.isEmpty() ? QString() : tableAnalyses(nouveau, &raison);
    if (cible.isEmpty()) {
        if (erreur) *erreur = raison;
        return false;
    }
    // The index keeps the old name on a rename: it goes, and the new name's is created, so that
    // a later station of the old code gets an index of its own.
    const QString index = identifiantTable(PREFIXE_INDEX_ANALYSES, ancien);
    const bool ok = bd().Execute(QStringLiteral("ALTER TABLE ") + table +
                                 QStringLiteral(" RENAME TO ") + cible) &&
                    (index.isEmpty() || !bd().indexExiste(PREFIXE_INDEX_ANALYSES + ancien) ||
                     bd().Execute(QStringLiteral("DROP INDEX ") + index)) &&
                    bd().Execute(sqlIndexTableAnalyses(nouveau));
    if (!ok && erreur) *erreur = bd().derniereErreur();
    return ok;
}

QVector<TableAnalysesStation> tablesAnalysesStations()
{
    QVector<TableAnalysesStation> r;
    QSet<QString> existantes;
    for (const QString &t : bd().tables())
        existantes.insert(t.toUpper());
    const Tableau t = bd().extraire(QStringLiteral(
        "SELECT CodeQualitometre, CodeBSS FROM QUALITOMETRES WHERE CodeBSS IS NOT NULL "
        "ORDER BY CodeQualitometre"));
    QSet<QString> vues;
    for (int i = 0; i < t.nbLignes(); ++i) {
        const QString code = t.texte(i, QStringLiteral("CodeBSS")).trimmed();
        const QString nom = (PREFIXE_ANALYSES + code).toUpper();
        if (code.isEmpty() || !existantes.contains(nom) || vues.contains(nom)) continue;
        const QString table = tableAnalyses(code);
        if (table.isEmpty()) continue;
        vues.insert(nom);
        r.append({t.valeur(i, QStringLiteral("CodeQualitometre")).toDouble(), code, table});
    }
    return r;
}

bool parcourirAnalyses(const QVector<TableAnalysesStation> &tables,
                       const std::function<QString(const QString &)> &selectTable,
                       const std::function<bool(const Tableau &, int)> &chaqueLigne, bool distincte)
{
    const QString lien = distincte ? QStringLiteral(" UNION ") : QStringLiteral(" UNION ALL ");
    for (qsizetype debut = 0; debut < tables.size(); debut += TABLES_PAR_REQUETE) {
        QStringList selects;
        for (qsizetype i = debut; i < std::min(tables.size(), debut + TABLES_PAR_REQUETE); ++i)
            selects << selectTable(tables[i].table);
        long nb = 0;
        Tableau t;
        if (!bd().ExtraireRecords(selects.join(lien), nb, t)) return false;
        for (int l = 0; l < t.nbLignes(); ++l)
            if (!chaqueLigne(t, l)) return true;
    }
    return true;
}

QString PrelevementStation::libelle() const
{
    return numero + (date.isEmpty() ? QString() : QStringLiteral(" - ") + date) +
           QStringLiteral(" (") + QString::number(nbAnalyses) + QStringLiteral(" analyse(s))");
}

QVector<PrelevementStation> prelevementsStation(const QString &codeQualitometre,
                                                const QString &codeBSS)
{
    QVector<PrelevementStation> r;
    const Nombre station = enNombre(codeQualitometre.trimmed());
    if (!station.estNombre()) return r;
    const QString table = tableAnalyses(codeBSS);
    const bool avecTable =
        !table.isEmpty() && bd().tableExiste(PREFIXE_ANALYSES + codeBSS.trimmed());
    const QString nombre = avecTable
                               ? QStringLiteral("(SELECT count(*) FROM ") + table +
                                     QStringLiteral(" A WHERE A.NumPrelevement = P.NumPrelevement)")
                               : QStringLiteral("0");
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT P.NumPrelevement AS numero, P.DateDebut AS debut, "
                       "P.codeOperation AS operation, ") +
        nombre + QStringLiteral(" AS analyses FROM PRELEVEMENTS P WHERE P.CodeQualitometre=") +
        sqlNombre(station.valeur) + QStringLiteral(" AND P.NumPrelevement IS NOT NULL"));
    // Sorted here: the engines do not place the samples without date alike (last here).
    QVector<int> ordre(t.nbLignes());
    std::iota(ordre.begin(), ordre.end(), 0);
    const int numero = t.indexColonne(QStringLiteral("numero"));
    const int debut = t.indexColonne(QStringLiteral("debut"));
    std::stable_sort(ordre.begin(), ordre.end(), [&](int a, int b) {
        const QDateTime da = t(a, debut).toDateTime(), db = t(b, debut).toDateTime();
        if (da.isValid() != db.isValid()) return da.isValid();
        if (da != db) return da < db;
        return t(a, numero).toDouble() < t(b, numero).toDouble();
    });
    r.reserve(t.nbLignes());
    for (int l : std::as_const(ordre))
        r.append({t.texte(l, numero), texteDate(t(l, debut).toDateTime()),
                  t.texte(l, QStringLiteral("operation")),
                  t.valeur(l, QStringLiteral("analyses")).toLongLong()});
    return r;
}

} // namespace vyk
