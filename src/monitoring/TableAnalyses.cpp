#include "monitoring/TableAnalyses.h"

#include "db/BaseDonnees.h"
#include "db/Sql.h"
#include "schema/Catalogue.h"

#include <QSet>

namespace vyk {

namespace {
// Tables joined by one UNION: far below the engines' limits on compound selects (SQLite: 500).
constexpr int TABLES_PAR_REQUETE = 200;
} // namespace

QString tableAnalyses(const QString &codeBSS, QString *erreur)
{
    return identifiantTable(PREFIXE_ANALYSES, codeBSS.trimmed(), erreur);
}

bool creerTableAnalyses(const QString &codeBSS, QString *erreur)
{
    QString raison;
    const QString code = codeBSS.trimmed();
    const QString creation = sqlCreationTableAnalyses(code, &raison);
    if (creation.isEmpty()) {
        if (erreur) *erreur = raison;
        return false;
    }
    if (bd().tableExiste(PREFIXE_ANALYSES + code)) return true;
    if (!bd().Execute(creation)) {
        // Another session may have created it in the meantime.
        if (bd().tableExiste(PREFIXE_ANALYSES + code)) return true;
        if (erreur) *erreur = bd().derniereErreur();
        return false;
    }
    const QString index = sqlIndexTableAnalyses(code);
    if (!index.isEmpty()) bd().ExecuteDDL(index);
    return true;
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
        const QString code = t.texte(i, 1).trimmed();
        const QString nom = (PREFIXE_ANALYSES + code).toUpper();
        if (code.isEmpty() || !existantes.contains(nom) || vues.contains(nom)) continue;
        const QString table = tableAnalyses(code);
        if (table.isEmpty()) continue;
        vues.insert(nom);
        r.append({t(i, 0).toDouble(), code, table});
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

} // namespace vyk
