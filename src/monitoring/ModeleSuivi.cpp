#include "monitoring/ModeleSuivi.h"

namespace vyk {

void ModeleSuivi::remplir(TableauSuivi tableau)
{
    beginResetModel();
    m_tableau = std::move(tableau);
    endResetModel();
}

int ModeleSuivi::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_tableau.lignes.size());
}

int ModeleSuivi::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2 + int(m_tableau.colonnes.size());
}

QString ModeleSuivi::texte(int ligne, int colonne) const
{
    if (ligne < 0 || ligne >= m_tableau.lignes.size()) return {};
    const LigneSuivi &l = m_tableau.lignes[ligne];
    if (colonne == 0) {
        const QString nom = l.nomParametre.isEmpty()
                                ? l.codeParametre
                                : l.nomParametre + QStringLiteral(" [") + l.codeParametre + u']';
        return l.calcule ? nom + QStringLiteral(" (calculé)") : nom;
    }
    if (colonne == 1) return l.symbole.isEmpty() ? l.codeUnite : l.symbole;
    return l.valeurs.value(colonne - 2);
}

QVariant ModeleSuivi::data(const QModelIndex &index, int role) const
{
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) return texte(index.row(), index.column());
    if (role == Qt::TextAlignmentRole && index.column() >= 2)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant ModeleSuivi::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section == 0) return QStringLiteral("Paramètre");
    if (section == 1) return QStringLiteral("Unité");
    return section - 2 < m_tableau.colonnes.size() ? m_tableau.colonnes[section - 2].entete
                                                   : QVariant();
}

} // namespace vyk
