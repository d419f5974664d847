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

QString requeteTaxonsFloristiques(const QString &table, const QString &operation,
                                  const QString &colonnes, const QString &codeExterne,
                                  const QString &selection)
{
    QString sql = QStringLiteral("SELECT T.codeTaxon, %1, T.%2 FROM %3 L INNER JOIN TAXONS T ON "
                                 "L.codeTaxon = T.codeTaxon WHERE L.codeOperation = %4 AND "
                                 "L.codeListe = 0 AND T.%2 IS NOT NULL AND T.%2 <> ''")
                      .arg(colonnes, codeExterne, table, operation);
    if (!selection.isEmpty())
        sql += QStringLiteral(" AND L.codeTaxon IN (SELECT codeParametre FROM "
                              "ANALYSES_PARAMETRES_SELECTIONS WHERE typeListe = 1 AND code = ") +
               sqlTexte(selection) + u')';
    return sql + QStringLiteral(" ORDER BY T.codeTaxon");
}

QStringList ExportIBD::entete() const
{
    return {QStringLiteral("CODE_OPERATION"), QStringLiteral("CODE_STATION"),
            QStringLiteral("DATE"), QStringLiteral("CODE_TAXON"), QStringLiteral("RESULTAT")};
}

bool ExportIBD::ecrireOperation(const OperationExportee &op)
{
    Tableau t;
    if (!extraire(requeteTaxonsFloristiques(op.table, op.code, QStringLiteral("L.denombrementA"),
                                            QStringLiteral("codeOmnidia"), filtres().selection),
                  t))
        return false;
    if (t.estVide()) addErreur(QStringLiteral("Aucun taxon trouvé pour ") + op.code);
    const QString code = codeOperationTrame(op);
    for (int i = 0; i < t.nbLignes(); ++i)
        ecrire({code, codeBSS, op.date, t.texte(i, QStringLiteral("codeOmnidia")),
                nombreTrame(t.valeur(i, QStringLiteral("denombrementA")))});
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
bool ExportIBMR::partsFacies(const OperationExportee &op, QString &f1, QString &f2)
{
    Tableau t;
    if (!extraire(QStringLiteral("SELECT unite, resultat FROM QUALITOMETRES_OPERATIONS_UNITES "
                                 "WHERE CodeQualitometre = %1 AND codeOperation = %2 AND groupe = "
                                 "0 AND sousGroupe = 0 AND unite IN (1, 2)")
                      .arg(op.station)
                      .arg(op.code),
                  t)) {
        addErreur(QStringLiteral("Impossible de lire les parts de faciès de l'opération ") +
                  op.code);
        return false;
    }
    f1 = f2 = QStringLiteral("0");
    for (int i = 0; i < t.nbLignes(); ++i) {
        const QString part = nombreTrame(t.valeur(i, QStringLiteral("resultat")));
        if (part.isEmpty()) continue;
        (t.valeur(i, QStringLiteral("unite")).toInt() == 2 ? f2 : f1) = part;
    }
    return true;
}

bool ExportIBMR::ecrireOperation(const OperationExportee &op)
{
    QString f1, f2;
    if (!partsFacies(op, f1, f2)) return false;
    Tableau t;
    if (!extraire(requeteTaxonsFloristiques(op.table, op.code,
                                            QStringLiteral("L.pourcentageA, L.pourcentageB"),
                                            QStringLiteral("codeMacrophyte"), filtres().selection),
                  t))
        return false;
    if (t.estVide()) addErreur(QStringLiteral("Aucun taxon trouvé pour ") + op.code);
    const QString code = codeOperationTrame(op);
    for (int i = 0; i < t.nbLignes(); ++i) {
        const QString taxon = t.texte(i, QStringLiteral("codeMacrophyte"));
        for (const auto &[unite, colonne, part] :
             {std::tuple{QStringLiteral("F1"), QStringLiteral("pourcentageA"), f1},
              std::tuple{QStringLiteral("F2"), QStringLiteral("pourcentageB"), f2}}) {
            const QVariant couverture = t.valeur(i, colonne);
            if (!couverture.isNull())
                ecrire({code, codeBSS, op.date, taxon, unite, part, nombreTrame(couverture)});
        }
    }
    return true;
}

} // namespace vyk
