#include "ui/search/ModelesRecherche.h"

#include <QColor>
#include <QHeaderView>
#include <QTableView>

namespace vyk {

QColor couleurRecherche(int couleur)
{
    if (couleur < 0 || couleur >= int(couleursClasses().size())) return {};
    const CouleurRgb c = couleursClasses()[size_t(couleur)];
    return QColor(c.r, c.g, c.b);
}

QTableView *creerVueRecherche(QWidget *parent, QAbstractItemModel *modele)
{
    auto *vue = new QTableView(parent);
    vue->setModel(modele);
    vue->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    vue->verticalHeader()->setDefaultSectionSize(vue->fontMetrics().height() + 6);
    vue->horizontalHeader()->setDefaultSectionSize(110);
    vue->setSelectionBehavior(QAbstractItemView::SelectRows);
    return vue;
}

ModeleResultats::ModeleResultats(QObject *parent)
    : QAbstractTableModel(parent), m_titres(titresResultats())
{
}

void ModeleResultats::definir(std::shared_ptr<const ResultatRecherche> resultat)
{
    beginResetModel();
    m_resultat = std::move(resultat);
    m_titres = titresResultats(m_resultat ? m_resultat->genre : GenreRecherche::Analyses);
    m_ligneCache = -1;
    m_cache.clear();
    endResetModel();
}

int ModeleResultats::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_resultat ? 0 : int(m_resultat->lignes.size());
}

int ModeleResultats::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_titres.size());
}

const QStringList &ModeleResultats::cellules(int ligne) const
{
    if (ligne != m_ligneCache) {
        m_cache = celluleResultat(*m_resultat, m_resultat->lignes[ligne]);
        m_ligneCache = ligne;
    }
    return m_cache;
}

QVariant ModeleResultats::data(const QModelIndex &index, int role) const
{
    if (!m_resultat || !index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::DisplayRole) return cellules(index.row()).value(index.column());
    // The class stands before its colour, in the last columns.
    if (role == Qt::BackgroundRole &&
        (index.column() == COLONNE_RESULTAT_RECHERCHE || index.column() == m_titres.size() - 2))
        return couleurRecherche(m_resultat->lignes[index.row()].classe.couleur);
    return {};
}

QVariant ModeleResultats::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return m_titres.value(section);
}

GrilleTexte ModeleResultats::grille() const
{
    GrilleTexte g;
    g.titres = m_titres;
    if (!m_resultat) return g;
    g.lignes.reserve(m_resultat->lignes.size());
    for (const LigneResultat &l : m_resultat->lignes)
        g.lignes << celluleResultat(*m_resultat, l);
    return g;
}

ModeleTexteRecherche::ModeleTexteRecherche(QObject *parent) : QAbstractTableModel(parent) {}

void ModeleTexteRecherche::definir(GrilleTexte grille, Fond fond)
{
    beginResetModel();
    m_grille = std::move(grille);
    m_fond = std::move(fond);
    endResetModel();
}

int ModeleTexteRecherche::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_grille.lignes.size());
}

int ModeleTexteRecherche::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_grille.titres.size());
}

QVariant ModeleTexteRecherche::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::DisplayRole) return m_grille.lignes[index.row()].value(index.column());
    if (role == Qt::BackgroundRole && m_fond) {
        const QColor c = m_fond(index.row(), index.column());
        if (c.isValid()) return c;
    }
    return {};
}

QVariant ModeleTexteRecherche::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return m_grille.titres.value(section);
}

} // namespace vyk
