#include "ui/widgets/GrilleDonnees.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QHeaderView>
#include <QSortFilterProxyModel>

namespace vyk {

class ModeleGrilleTexte : public QAbstractTableModel
{
  public:
    using QAbstractTableModel::QAbstractTableModel;

    static constexpr int ROLE_TRI = Qt::UserRole;

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_lignes.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_entetes.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid()) return {};
        const QString t = texte(index.row(), index.column());
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return role == Qt::ToolTipRole && t.size() < 40 ? QVariant() : QVariant(t);
        if (role == ROLE_TRI) return cleTri(t);
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole) return {};
        if (orientation == Qt::Horizontal)
            return section < m_entetes.size() ? m_entetes[section] : QVariant();
        return section + 1;
    }

    QString texte(int ligne, int colonne) const
    {
        if (ligne < 0 || ligne >= m_lignes.size()) return {};
        const QStringList &l = m_lignes[ligne];
        return colonne >= 0 && colonne < l.size() ? l[colonne] : QString();
    }

    void remplir(const QStringList &entetes, const QVector<QStringList> &lignes)
    {
        beginResetModel();
        m_entetes = entetes;
        m_lignes = lignes;
        endResetModel();
    }

    int majLigne(int ligne, const QStringList &textes)
    {
        if (ligne < 0 || ligne >= m_lignes.size()) {
            beginInsertRows({}, int(m_lignes.size()), int(m_lignes.size()));
            m_lignes.append(textes);
            endInsertRows();
            return int(m_lignes.size()) - 1;
        }
        m_lignes[ligne] = textes;
        emit dataChanged(index(ligne, 0), index(ligne, columnCount() - 1));
        return ligne;
    }

    void retirerLigne(int ligne)
    {
        if (ligne < 0 || ligne >= m_lignes.size()) return;
        beginRemoveRows({}, ligne, ligne);
        m_lignes.removeAt(ligne);
        endRemoveRows();
    }

    const QStringList &ligne(int i) const { return m_lignes[i]; }

  private:
    // Numbers sort as numbers, day-first dates as dates, the rest as texts without case.
    static QVariant cleTri(const QString &t)
    {
        bool ok = false;
        const double n = t.toDouble(&ok);
        if (ok) return n;
        if (t.size() >= 10 && t[2] == u'/' && t[5] == u'/') {
            const QDate d = QDate::fromString(t.left(10), QStringLiteral("dd/MM/yyyy"));
            if (d.isValid()) return QVariant(d.toString(Qt::ISODate) + t.mid(10));
        }
        return t.toLower();
    }

    QStringList m_entetes;
    QVector<QStringList> m_lignes;
};

GrilleDonnees::GrilleDonnees(QWidget *parent)
    : QTableView(parent), m_modele(new ModeleGrilleTexte(this)),
      m_tri(new QSortFilterProxyModel(this))
{
    m_tri->setSourceModel(m_modele);
    m_tri->setSortRole(ModeleGrilleTexte::ROLE_TRI);
    setModel(m_tri);
    setSortingEnabled(true);
    sortByColumn(-1, Qt::AscendingOrder);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &) { emit ligneChoisie(ligneCourante()); });
}

void GrilleDonnees::remplir(const QStringList &entetes, const QVector<QStringList> &lignes)
{
    m_modele->remplir(entetes, lignes);
    resizeColumnsToContents();
    // Long comments should not push every other column out of sight.
    for (int c = 0; c < m_modele->columnCount(); ++c)
        if (columnWidth(c) > 320) setColumnWidth(c, 320);
}

void GrilleDonnees::vider()
{
    m_modele->remplir({}, {});
}

int GrilleDonnees::nbLignes() const
{
    return m_modele->rowCount();
}

QString GrilleDonnees::texte(int ligne, int colonne) const
{
    return m_modele->texte(ligne, colonne);
}

QStringList GrilleDonnees::ligne(int ligne) const
{
    return ligne >= 0 && ligne < nbLignes() ? m_modele->ligne(ligne) : QStringList();
}

int GrilleDonnees::majLigne(int ligne, const QStringList &textes)
{
    return m_modele->majLigne(ligne, textes);
}

void GrilleDonnees::retirerLigne(int ligne)
{
    m_modele->retirerLigne(ligne);
}

int GrilleDonnees::ligneCourante() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? m_tri->mapToSource(i).row() : -1;
}

void GrilleDonnees::selectionnerLigne(int ligne)
{
    if (ligne < 0 || ligne >= nbLignes()) {
        clearSelection();
        setCurrentIndex({});
        return;
    }
    // One change of the current row, so that the choice is reported once.
    const QModelIndex i = m_tri->mapFromSource(m_modele->index(ligne, 0));
    selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect |
                                             QItemSelectionModel::Rows);
    scrollTo(i, QAbstractItemView::PositionAtCenter);
}

} // namespace vyk
