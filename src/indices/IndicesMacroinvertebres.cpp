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

ColonnesSommes::ColonnesSommes(const Tableau &t)
    : parametre(t.indexColonne(QStringLiteral("codeParametre"))),
      remarque(t.indexColonne(QStringLiteral("codeRemarque")))
{
    for (int phase = 0; phase < 3; ++phase)
        totaux[phase] = t.indexColonne(QStringLiteral("tt") + QChar(u'A' + phase));
    for (int p = 0; p < 12; ++p)
        echantillons[p] = t.indexColonne(QStringLiteral("ttP%1").arg(p + 1));
}

double ColonnesSommes::phase(const Tableau &t, int ligne, int phase) const
{
    const QVariant &total = t(ligne, totaux[phase]);
    if (!total.isNull()) return total.toDouble();
    double somme = 0;
    for (int p = phase * 4; p < phase * 4 + 4; ++p)
        somme += t(ligne, echantillons[p]).toDouble();
    return somme;
}

QString requeteTaxonsSommes(const QString &table, const QStringList &operations,
                            const QString &selection)
{
    const QString totaux =
        QStringLiteral("(SELECT codeOperation, codeTaxon, ") + sommes() +
        QStringLiteral(", codeRemarque FROM ") + table +
        QStringLiteral(" WHERE codeOperation IN (") + operations.join(u',') +
        QStringLiteral(
            ") AND codeListe = 1 GROUP BY codeOperation, codeTaxon, codeRemarque) totaux");
    QString colonnes = QStringLiteral("ttA, ttB, ttC, codeRemarque");
    for (int p = 1; p <= 12; ++p)
        colonnes += QStringLiteral(", ttP%1").arg(p);
    if (selection.isEmpty())
        return QStringLiteral("SELECT codeOperation, codeTaxon AS codeParametre, ") + colonnes +
               QStringLiteral(" FROM ") + totaux +
               QStringLiteral(" ORDER BY codeOperation, codeTaxon");
    // Every taxon of the selection for every operation, counted or not.
    return QStringLiteral("SELECT operations.codeOperation, selections.codeParametre, ") +
           colonnes +
           QStringLiteral(
               " FROM (SELECT DISTINCT codeParametre FROM ANALYSES_PARAMETRES_SELECTIONS "
               "WHERE typeListe = 1 AND code = ") +
           sqlTexte(selection) +
           QStringLiteral(") selections CROSS JOIN (SELECT DISTINCT codeOperation FROM ") + table +
           QStringLiteral(" WHERE codeOperation IN (") + operations.join(u',') +
           QStringLiteral(")) operations LEFT JOIN ") + totaux +
           QStringLiteral(" ON totaux.codeOperation = operations.codeOperation AND "
                          "selections.codeParametre = totaux.codeTaxon ORDER BY "
                          "operations.codeOperation, selections.codeParametre");
}

bool ExportTaxonsSommes::chargerOperations(const QString &table, const QStringList &operations)
{
    m_lots.clear();
    m_lignes.clear();
    // A few hundred operations per statement: some servers cap the length of an IN list.
    constexpr int PAR_REQUETE = 500;
    for (int debut = 0; debut < operations.size(); debut += PAR_REQUETE) {
        Tableau t;
        if (!extraire(
                requeteTaxonsSommes(table, operations.mid(debut, PAR_REQUETE), filtres().selection),
                t))
            return false;
        const Lot &lot = m_lots.emplace_back(std::move(t));
        const int colonne = lot.tableau.indexColonne(QStringLiteral("codeOperation"));
        for (int i = 0; i < lot.tableau.nbLignes(); ++i) {
            Lignes &l = m_lignes[lot.tableau(i, colonne).toDouble()];
            if (!l.lot) l = {&lot, i, i};
            l.fin = i + 1;
        }
    }
    return true;
}

ExportTaxonsSommes::Lignes ExportTaxonsSommes::taxons(const OperationExportee &operation) const
{
    static const Lot aucun{Tableau()};
    const Lignes l = m_lignes.value(operation.code.toDouble());
    return l.lot ? l : Lignes{&aucun, 0, 0};
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
    const auto [lot, debut, fin] = taxons(op);
    const Tableau &t = lot->tableau;
    if (debut == fin) addErreur(QStringLiteral("Aucun taxon trouvé pour ") + op.code);
    const QString code = codeOperationTrame(op);
    for (int i = debut; i < fin; ++i) {
        const QString taxon = t.texte(i, lot->colonnes.parametre);
        if (!estEntier(taxon)) continue;
        QString remarque = t.texte(i, lot->colonnes.remarque);
        if (remarque.isEmpty()) remarque = QStringLiteral("1");
        for (int phase = 0; phase < 3; ++phase) {
            QStringList champs = {code,    codeBSS,
                                  op.date, QString(QChar(u'A' + phase)),
                                  taxon,   texteValeur(lot->colonnes.phase(t, i, phase)),
                                  remarque};
            if (m_indice.typeNational) champs << m_type;
            ecrire(champs);
        }
    }
    return true;
}

bool ExportDiagnostic::ecrireOperation(const OperationExportee &op)
{
    const auto [lot, debut, fin] = taxons(op);
    const Tableau &t = lot->tableau;
    Comptes c;
    c.identifiant = codeBSS + u'_' + QString(op.date).remove(u'-');
    for (int i = debut; i < fin; ++i) {
        const QString taxon = t.texte(i, lot->colonnes.parametre);
        if (!estEntier(taxon)) continue; // "ND" and other non-codes
        c.phasesAB[taxon] += lot->colonnes.phase(t, i, 0) + lot->colonnes.phase(t, i, 1);
        c.phaseC[taxon] += lot->colonnes.phase(t, i, 2);
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
