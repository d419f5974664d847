#include "indices/ExportsIndices.h"

#include "db/BaseDonnees.h"
#include "db/Sql.h"
#include "db/Tableau.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>

namespace vyk {

namespace {

// Each row's counts: the three phase totals, then each phase's micro-samples summed (0 for
// none), in no order; the sums per taxon are made here rather than by a GROUP BY of fifteen
// SUMs.
QString requeteListes(const QString &table, const QStringList &operations)
{
    QString sql = QStringLiteral("SELECT codeOperation, codeTaxon, codeRemarque, denombrementA "
                                 "AS ttA, denombrementB AS ttB, denombrementC AS ttC");
    for (int phase = 0; phase < 3; ++phase) {
        QStringList echantillons;
        for (int p = phase * 4 + 1; p <= phase * 4 + 4; ++p)
            echantillons << QStringLiteral("COALESCE(denombrementP%1, 0)").arg(p);
        sql += QStringLiteral(", ") + echantillons.join(QStringLiteral(" + ")) +
               QStringLiteral(" AS ech") + QChar(u'A' + phase);
    }
    return sql + QStringLiteral(" FROM ") + table + QStringLiteral(" WHERE codeOperation IN (") +
           operations.join(u',') + QStringLiteral(") AND codeListe = 1");
}

// Column positions of that query's rows, found on the first row.
struct ColonnesListe
{
    explicit ColonnesListe(const Ligne &l)
        : operation(l.colonne(u"codeOperation")), taxon(l.colonne(u"codeTaxon")),
          remarque(l.colonne(u"codeRemarque"))
    {
        for (int phase = 0; phase < 3; ++phase) {
            totaux[phase] = l.colonne(QStringLiteral("tt") + QChar(u'A' + phase));
            echantillons[phase] = l.colonne(QStringLiteral("ech") + QChar(u'A' + phase));
        }
    }
    int operation, taxon, remarque;
    int totaux[3] = {}, echantillons[3] = {};
};

} // namespace

void ExportTaxonsSommes::Cumul::ajouter(const Ligne &l, const int colonnesTotaux[3],
                                        const int colonnesEchantillons[3])
{
    for (int phase = 0; phase < 3; ++phase) {
        if (!l.estNul(colonnesTotaux[phase])) {
            totalDonne[phase] = true;
            totaux[phase] += l.reel(colonnesTotaux[phase]);
        }
        echantillons[phase] += l.reel(colonnesEchantillons[phase]);
    }
}

namespace {

// An operation's sums, by taxon then remark.
QVector<SommeTaxon>
sommes(const std::map<std::pair<QString, QString>, ExportTaxonsSommes::Cumul> &cumuls)
{
    QVector<SommeTaxon> sommes;
    sommes.reserve(qsizetype(cumuls.size()));
    for (const auto &[cle, cumul] : cumuls) {
        SommeTaxon &s = sommes.emplaceBack(SommeTaxon{cle.first, cle.second, {}});
        for (int phase = 0; phase < 3; ++phase)
            s.phases[phase] =
                cumul.totalDonne[phase] ? cumul.totaux[phase] : cumul.echantillons[phase];
    }
    return sommes;
}

// Every taxon of the selection, in its order: the operation's sums of it, else one of zeros.
QVector<SommeTaxon> selectionner(const QVector<SommeTaxon> &sommes, const QStringList &selection)
{
    QVector<SommeTaxon> retenues;
    for (const QString &taxon : selection) {
        const auto premiere = std::lower_bound(
            sommes.cbegin(), sommes.cend(), taxon,
            [](const SommeTaxon &s, const QString &code) { return s.taxon < code; });
        auto fin = premiere;
        while (fin != sommes.cend() && fin->taxon == taxon)
            ++fin;
        if (premiere == fin)
            retenues.append(SommeTaxon{taxon, {}, {}});
        else
            retenues.append(QVector<SommeTaxon>(premiere, fin));
    }
    return retenues;
}

// Appends a count as the frame writes it: whole numbers without a decimal part, others with up
// to 15 significant digits.
void ajouterNombre(QByteArray &ligne, double valeur)
{
    if (valeur == std::trunc(valeur) && std::fabs(valeur) < 1e15 && !std::signbit(valeur)) {
        char chiffres[24];
        const auto fin = std::to_chars(chiffres, chiffres + sizeof chiffres, qint64(valeur)).ptr;
        ligne.append(chiffres, fin - chiffres);
    } else {
        ligne.append(texteValeur(valeur).toUtf8());
    }
}

} // namespace

bool LignesOperations::lire(const QStringList &operations,
                            const std::function<QString(const QStringList &)> &requete,
                            const std::function<bool(const QString &, Tableau &)> &extraire)
{
    m_lots.clear();
    m_plages.clear();
    constexpr int PAR_REQUETE = 500;
    for (int debut = 0; debut < operations.size(); debut += PAR_REQUETE) {
        Tableau t;
        if (!extraire(requete(operations.mid(debut, PAR_REQUETE)), t)) return false;
        const Tableau &lot = m_lots.emplace_back(std::move(t));
        const int colonne = lot.indexColonne(QStringLiteral("codeOperation"));
        for (int i = 0; i < lot.nbLignes(); ++i) {
            Plage &p = m_plages[lot(i, colonne).toDouble()];
            p.tableau = &lot;
            p.lignes.append(i);
        }
    }
    return true;
}

LignesOperations::Plage LignesOperations::lignes(const QString &operation) const
{
    return m_plages.value(operation.toDouble());
}

bool ExportTaxonsSommes::chargerOperations(qint64, const QString &table,
                                           const QStringList &operations)
{
    m_selection.reset();
    if (!filtres().selection.isEmpty()) {
        Tableau t;
        if (!extraire(QStringLiteral("SELECT DISTINCT codeParametre FROM "
                                     "ANALYSES_PARAMETRES_SELECTIONS WHERE typeListe = 1 AND "
                                     "code = ") +
                          sqlTexte(filtres().selection),
                      t))
            return false;
        QStringList taxons;
        for (int i = 0; i < t.nbLignes(); ++i)
            if (!t(i, 0).isNull()) taxons << t.texte(i, 0);
        taxons.sort();
        m_selection = taxons;
    }
    m_cumuls.clear();
    // A few hundred operations per statement (some servers cap an IN list), each row added to
    // its operation's sums as it is read.
    constexpr int PAR_REQUETE = 500;
    for (int debut = 0; debut < operations.size(); debut += PAR_REQUETE) {
        std::optional<ColonnesListe> c;
        const bool lu = parcourir(
            requeteListes(table, operations.mid(debut, PAR_REQUETE)), [&](const Ligne &l) {
                if (!c) c.emplace(l);
                m_cumuls[l.reel(c->operation)][{l.texte(c->taxon), l.texte(c->remarque)}].ajouter(
                    l, c->totaux, c->echantillons);
                return true;
            });
        if (!lu) return false;
    }
    return true;
}

QVector<SommeTaxon> ExportTaxonsSommes::taxons(const OperationExportee &operation) const
{
    const auto cumuls = m_cumuls.constFind(operation.code.toDouble());
    const QVector<SommeTaxon> s =
        cumuls == m_cumuls.cend() ? QVector<SommeTaxon>() : sommes(*cumuls);
    return m_selection ? selectionner(s, *m_selection) : s;
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
    const QVector<SommeTaxon> sommes = taxons(op);
    if (sommes.isEmpty()) addErreur(QStringLiteral("Aucun taxon trouvé pour ") + op.code);
    const QByteArray separateur = QString(m_indice.separateur).toUtf8();
    QByteArray ligne = (codeOperationTrame(op) + m_indice.separateur + codeBSS +
                        m_indice.separateur + op.date + m_indice.separateur)
                           .toUtf8();
    const qsizetype debut = ligne.size();
    const QByteArray type = m_indice.typeNational ? separateur + m_type.toUtf8() : QByteArray();
    for (const SommeTaxon &s : sommes) {
        if (!estEntier(s.taxon)) continue;
        const QByteArray taxon = separateur + s.taxon.toUtf8() + separateur;
        const QByteArray remarque =
            separateur + (s.remarque.isEmpty() ? QByteArray("1") : s.remarque.toUtf8()) + type;
        for (int phase = 0; phase < 3; ++phase) {
            ligne.resize(debut); // the operation's fields stay
            ligne.append(char('A' + phase)).append(taxon);
            ajouterNombre(ligne, s.phases[phase]);
            ecrire(QByteArrayView(ligne.append(remarque)));
        }
    }
    return true;
}

bool ExportDiagnostic::ecrireOperation(const OperationExportee &op)
{
    Comptes c;
    c.identifiant = codeBSS + u'_' + QString(op.date).remove(u'-');
    for (const SommeTaxon &s : taxons(op)) {
        if (!estEntier(s.taxon)) continue; // "ND" and other non-codes
        c.phasesAB[s.taxon] += s.phases[0] + s.phases[1];
        c.phaseC[s.taxon] += s.phases[2];
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
