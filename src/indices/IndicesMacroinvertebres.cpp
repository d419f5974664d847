#include "indices/ExportsIndices.h"

#include "db/BaseDonnees.h"
#include "db/Sql.h"
#include "db/Tableau.h"

namespace vyk {

namespace {

QString sommes()
{
    QString s = QStringLiteral("sum(denombrementA) as ttA, sum(denombrementB) as ttB, "
                               "sum(denombrementC) as ttC");
    for (int p = 1; p <= 12; ++p)
        s += QStringLiteral(", sum(denombrementP%1) as ttP%1").arg(p);
    return s;
}

} // namespace

double comptePhase(const Tableau &t, int ligne, int phase)
{
    const QVariant total = t.valeur(ligne, QStringLiteral("tt") + QChar(u'A' + phase));
    if (!total.isNull()) return total.toDouble();
    double somme = 0;
    for (int p = phase * 4 + 1; p <= phase * 4 + 4; ++p)
        somme += t.valeur(ligne, QStringLiteral("ttP%1").arg(p)).toDouble();
    return somme;
}

QString requeteTaxonsSommes(const QString &table, const QString &operation,
                            const QString &selection)
{
    const QString totaux =
        QStringLiteral("(SELECT codeTaxon, ") + sommes() + QStringLiteral(", codeRemarque FROM ") +
        table + QStringLiteral(" WHERE codeOperation = ") + operation +
        QStringLiteral(" AND codeListe = 1 GROUP BY codeTaxon, codeRemarque) totaux");
    QString colonnes = QStringLiteral("ttA, ttB, ttC, codeRemarque");
    for (int p = 1; p <= 12; ++p)
        colonnes += QStringLiteral(", ttP%1").arg(p);
    if (selection.isEmpty())
        return QStringLiteral("SELECT codeTaxon AS codeParametre, ") + colonnes +
               QStringLiteral(" FROM ") + totaux + QStringLiteral(" ORDER BY codeTaxon");
    return QStringLiteral("SELECT selections.codeParametre, ") + colonnes +
           QStringLiteral(
               " FROM (SELECT DISTINCT codeParametre FROM ANALYSES_PARAMETRES_SELECTIONS "
               "WHERE typeListe = 1 AND code = ") +
           sqlTexte(selection) + QStringLiteral(") selections LEFT JOIN ") + totaux +
           QStringLiteral(
               " ON selections.codeParametre = totaux.codeTaxon ORDER BY selections.codeParametre");
}

QStringList ExportMacroinvertebres::entete() const
{
    QStringList entete = {QStringLiteral("CODE_OPERATION"), QStringLiteral("CODE_STATION"),
                          QStringLiteral("DATE"),           QStringLiteral("CODE_PHASE"),
                          QStringLiteral("CODE_TAXON"),     QStringLiteral("RESULTAT"),
                          QStringLiteral("CODE_REMARQUE")};
    if (m_indice.typeNational) entete << QStringLiteral("TYPO_NATIONALE");
    return entete;
}

bool ExportMacroinvertebres::preparer(qint64)
{
    if (!m_indice.typeNational) return true;
    const Tableau t = bd().extraire(
        QStringLiteral("SELECT typeStation, type_fr FROM QUALITOMETRES WHERE codeBSS = ") +
        sqlTexte(codeBSS));
    const QString type = t.estVide() ? QString() : t.texte(0, QStringLiteral("type_fr"));
    m_type.clear();
    if (!type.isEmpty()) {
        // Stream stations: rivers, large rivers and other rivers.
        const bool riviere =
            QStringList{QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("5")}.contains(
                t.texte(0, QStringLiteral("typeStation")));
        m_type = texteValeur(bd().valeur(
            QStringLiteral("SELECT libelle FROM CODES_SANDRE WHERE champ = %1 AND code = %2")
                .arg(sqlTexte(riviere ? QStringLiteral("QUALITOMETRES.TYPE_FR.RIVIERE")
                                      : QStringLiteral("QUALITOMETRES.TYPE_FR.PLAN")),
                     sqlTexte(type))));
    }
    if (m_type.isEmpty())
        addErreur(QStringLiteral("Impossible de trouver le typeFR pour ") + codeBSS);
    // The lines are still written so that every error of the frame is reported at once.
    return true;
}

bool ExportMacroinvertebres::ecrireOperation(const OperationExportee &op)
{
    Tableau t;
    if (!extraire(requeteTaxonsSommes(op.table, op.code, filtres().selection), t)) return false;
    if (t.estVide()) addErreur(QStringLiteral("Aucun taxon trouvé pour ") + op.code);
    const QString code = codeOperationTrame(op);
    for (int i = 0; i < t.nbLignes(); ++i) {
        const QString taxon = t.texte(i, QStringLiteral("codeParametre"));
        if (!estEntier(taxon)) continue;
        QString remarque = t.texte(i, QStringLiteral("codeRemarque"));
        if (remarque.isEmpty()) remarque = QStringLiteral("1");
        for (int phase = 0; phase < 3; ++phase) {
            QStringList champs = {code,    codeBSS,
                                  op.date, QString(QChar(u'A' + phase)),
                                  taxon,   texteValeur(comptePhase(t, i, phase)),
                                  remarque};
            if (m_indice.typeNational) champs << m_type;
            ecrire(champs);
        }
    }
    return true;
}

bool ExportDiagnostic::ecrireOperation(const OperationExportee &op)
{
    Tableau t;
    if (!extraire(requeteTaxonsSommes(op.table, op.code, filtres().selection), t)) return false;
    Comptes c;
    c.identifiant = codeBSS + u'_' + QString(op.date).remove(u'-');
    for (int i = 0; i < t.nbLignes(); ++i) {
        const QString taxon = t.texte(i, QStringLiteral("codeParametre"));
        if (!estEntier(taxon)) continue; // "ND" and other non-codes
        c.phasesAB[taxon] += comptePhase(t, i, 0) + comptePhase(t, i, 1);
        c.phaseC[taxon] += comptePhase(t, i, 2);
    }
    if (c.phasesAB.isEmpty()) addErreur(QStringLiteral("Aucun taxon trouvé pour ") + op.code);
    m_operations << c;
    return true;
}

void ExportDiagnostic::terminerListe()
{
    QMap<QString, bool> taxons; // every taxon met, in code order
    for (const Comptes &c : std::as_const(m_operations))
        for (auto it = c.phasesAB.cbegin(); it != c.phasesAB.cend(); ++it)
            taxons.insert(it.key(), true);
    ecrire(QStringList{QStringLiteral("CODE_OPERATION")} + taxons.keys());
    for (const Comptes &c : std::as_const(m_operations))
        for (const auto &[suffixe, comptes] : {std::pair{QStringLiteral("_1"), &c.phasesAB},
                                               std::pair{QStringLiteral("_2"), &c.phaseC}}) {
            QStringList ligne{c.identifiant + suffixe};
            for (auto it = taxons.cbegin(); it != taxons.cend(); ++it)
                ligne << texteValeur(comptes->value(it.key()));
            ecrire(ligne);
        }
    m_operations.clear();
}

} // namespace vyk
