#include "indices/ExportsIndices.h"

#include "db/Sql.h"
#include "db/Tableau.h"

namespace vyk {

namespace {

// A value of the frame: "." as the decimal separator, no trailing ".0".
QString nombreTrame(const QVariant &valeur)
{
    QString t = texteValeur(valeur).replace(u',', u'.');
    if (t.endsWith(QLatin1String(".0"))) t.chop(2);
    return t;
}

} // namespace

QString requeteTaxonsFloristiques(const QString &table, const QStringList &operations,
                                  const QString &colonnes, const QString &codeExterne,
                                  const QString &selection)
{
    QString sql = QStringLiteral("SELECT L.codeOperation, T.codeTaxon, %1, T.%2 FROM %3 L INNER "
                                 "JOIN TAXONS T ON L.codeTaxon = T.codeTaxon WHERE "
                                 "L.codeOperation IN (%4) AND L.codeListe = 0 AND T.%2 IS NOT "
                                 "NULL AND T.%2 <> ''")
                      .arg(colonnes, codeExterne, table, operations.join(u','));
    if (!selection.isEmpty())
        sql += QStringLiteral(" AND L.codeTaxon IN (SELECT codeParametre FROM "
                              "ANALYSES_PARAMETRES_SELECTIONS WHERE typeListe = 1 AND code = ") +
               sqlTexte(selection) + u')';
    return sql + QStringLiteral(" ORDER BY L.codeOperation, T.codeTaxon");
}

bool ExportFloristique::chargerOperations(qint64, const QString &table,
                                          const QStringList &operations)
{
    return m_taxons.lire(
        operations,
        [&](const QStringList &codes) {
            return requeteTaxonsFloristiques(table, codes, colonnesListe(), codeExterne(),
                                             filtres().selection);
        },
        [this](const QString &sql, Tableau &t) { return extraire(sql, t); });
}

LignesOperations::Plage ExportFloristique::taxons(const OperationExportee &op)
{
    const LignesOperations::Plage plage = m_taxons.lignes(op.code);
    if (plage.lignes.isEmpty()) addErreur(QStringLiteral("Aucun taxon trouvé pour ") + op.code);
    return plage;
}

QStringList ExportIBD::entete() const
{
    return {QStringLiteral("CODE_OPERATION"), QStringLiteral("CODE_STATION"),
            QStringLiteral("DATE"), QStringLiteral("CODE_TAXON"), QStringLiteral("RESULTAT")};
}

bool ExportIBD::ecrireOperation(const OperationExportee &op)
{
    const auto [t, lignes] = taxons(op);
    const QString code = codeOperationTrame(op);
    for (const int i : lignes)
        ecrire({code, codeBSS, op.date, t->texte(i, QStringLiteral("codeOmnidia")),
                nombreTrame(t->valeur(i, QStringLiteral("denombrementA")))});
    return true;
}

QStringList ExportIBMR::entete() const
{
    return {QStringLiteral("CODE_OPERATION"),
            QStringLiteral("CODE_STATION"),
            QStringLiteral("DATE"),
            QStringLiteral("CODE_TAXON"),
            QStringLiteral("UR"),
            QStringLiteral("POURCENTAGE_FACIES"),
            QStringLiteral("RESULTAT")};
}

// The facies share of each survey unit is its cover ("Recouvrement (%)", first line of the
// description group) in the operation's units; "0" when not given.
bool ExportIBMR::chargerOperations(qint64 station, const QString &table,
                                   const QStringList &operations)
{
    QStringList lot;
    const bool lues = m_unites.lire(
        operations,
        [&](const QStringList &codes) {
            lot = codes;
            return QStringLiteral(
                       "SELECT codeOperation, unite, resultat FROM QUALITOMETRES_OPERATIONS_UNITES "
                       "WHERE CodeQualitometre = %1 AND codeOperation IN (%2) AND groupe = 0 AND "
                       "sousGroupe = 0 AND unite IN (1, 2)")
                .arg(station)
                .arg(codes.join(u','));
        },
        [this](const QString &sql, Tableau &t) { return extraire(sql, t); });
    if (!lues) {
        addErreur(QStringLiteral("Impossible de lire les parts de faciès de l'opération ") +
                  lot.join(QStringLiteral(", ")));
        return false;
    }
    return ExportFloristique::chargerOperations(station, table, operations);
}

bool ExportIBMR::ecrireOperation(const OperationExportee &op)
{
    QString parts[2] = {QStringLiteral("0"), QStringLiteral("0")}; // F1, F2
    const auto [unites, lignesUnites] = m_unites.lignes(op.code);
    for (const int i : lignesUnites) {
        const QString part = nombreTrame(unites->valeur(i, QStringLiteral("resultat")));
        if (!part.isEmpty())
            parts[unites->valeur(i, QStringLiteral("unite")).toInt() == 2 ? 1 : 0] = part;
    }
    const auto [t, lignes] = taxons(op);
    const QString code = codeOperationTrame(op);
    for (const int i : lignes) {
        const QString taxon = t->texte(i, QStringLiteral("codeMacrophyte"));
        for (const auto &[unite, colonne, part] :
             {std::tuple{QStringLiteral("F1"), QStringLiteral("pourcentageA"), parts[0]},
              std::tuple{QStringLiteral("F2"), QStringLiteral("pourcentageB"), parts[1]}}) {
            const QVariant couverture = t->valeur(i, colonne);
            if (!couverture.isNull())
                ecrire({code, codeBSS, op.date, taxon, unite, part, nombreTrame(couverture)});
        }
    }
    return true;
}

} // namespace vyk
