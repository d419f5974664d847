#include "ui/widgets/GrilleTextes.h"

#include "ui/widgets/ComboCodee.h"

#include <QHeaderView>
#include <QStyledItemDelegate>

namespace vyk {

namespace {

// Coded columns are edited in a coded box holding the grid's entries.
class DelegueCode : public QStyledItemDelegate
{
  public:
    explicit DelegueCode(GrilleTextes *grille) : QStyledItemDelegate(grille), m_grille(grille) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        const EntreesCodees &entrees = m_grille->entrees(index.column());
        if (entrees.isEmpty()) return QStyledItemDelegate::createEditor(parent, option, index);
        auto *boite = new ComboCodee(parent);
        boite->definirEntrees(entrees, ComboCodee::AvecVide);
        return boite;
    }
    void setEditorData(QWidget *editeur, const QModelIndex &index) const override
    {
        if (auto *boite = qobject_cast<ComboCodee *>(editeur)) {
            boite->selectionnerCode(codeEntree(index.data(Qt::EditRole).toString()));
            return;
        }
        QStyledItemDelegate::setEditorData(editeur, index);
    }
    void setModelData(QWidget *editeur, QAbstractItemModel *modele,
                      const QModelIndex &index) const override
    {
        if (auto *boite = qobject_cast<ComboCodee *>(editeur)) {
            modele->setData(index, boite->codeSelectionne().isEmpty() ? QString()
                                                                      : boite->texteSelectionne());
            return;
        }
        QStyledItemDelegate::setModelData(editeur, modele, index);
    }

  private:
    GrilleTextes *m_grille;
};

} // namespace

GrilleTextes::GrilleTextes(QWidget *parent) : QTableWidget(parent)
{
    setItemDelegate(new DelegueCode(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAlternatingRowColors(true);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
}

void GrilleTextes::definirColonnes(const QStringList &titres, const QVector<EntreesCodees> &entrees)
{
    m_entrees = entrees;
    m_entrees.resize(titres.size());
    m_figees = QVector<bool>(titres.size(), false);
    setColumnCount(int(titres.size()));
    setHorizontalHeaderLabels(titres);
}

const EntreesCodees &GrilleTextes::entrees(int colonne) const
{
    static const EntreesCodees aucune;
    return colonne >= 0 && colonne < m_entrees.size() ? m_entrees[colonne] : aucune;
}

void GrilleTextes::remplir(const QVector<QStringList> &lignes)
{
    setRowCount(0);
    setRowCount(int(lignes.size()));
    for (int l = 0; l < lignes.size(); ++l)
        for (int c = 0; c < columnCount(); ++c)
            definirTexte(l, c, c < lignes[l].size() ? lignes[l][c] : QString());
    resizeColumnsToContents();
    // Room for a label and its code in coded columns, for a date or a number elsewhere.
    for (int c = 0; c < columnCount(); ++c)
        setColumnWidth(c, std::max(columnWidth(c), fontMetrics().averageCharWidth() *
                                                       (m_entrees.value(c).isEmpty() ? 10 : 24)));
}

QVector<QStringList> GrilleTextes::lignes() const
{
    QVector<QStringList> r;
    for (int l = 0; l < rowCount(); ++l) {
        QStringList ligne;
        for (int c = 0; c < columnCount(); ++c)
            ligne << texte(l, c);
        r << ligne;
    }
    return r;
}

int GrilleTextes::ajouterLigne()
{
    const int l = rowCount();
    insertRow(l);
    for (int c = 0; c < columnCount(); ++c)
        definirTexte(l, c, QString());
    setCurrentCell(l, 0);
    return l;
}

int GrilleTextes::ligneCourante() const
{
    return currentRow();
}

void GrilleTextes::retirerLigne(int ligne)
{
    if (ligne >= 0 && ligne < rowCount()) removeRow(ligne);
}

void GrilleTextes::definirTexte(int ligne, int colonne, const QString &texte)
{
    auto *cellule = new QTableWidgetItem(texte);
    Qt::ItemFlags drapeaux = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (m_modifiable && !(colonne < m_figees.size() && m_figees[colonne]))
        drapeaux |= Qt::ItemIsEditable;
    cellule->setFlags(drapeaux);
    setItem(ligne, colonne, cellule);
}

QString GrilleTextes::texte(int ligne, int colonne) const
{
    const QTableWidgetItem *i = item(ligne, colonne);
    return i ? i->text() : QString();
}

void GrilleTextes::definirModifiable(bool modifiable)
{
    m_modifiable = modifiable;
    remplir(lignes());
}

void GrilleTextes::afficherColonnes(const QVector<bool> &visibles)
{
    for (int c = 0; c < columnCount(); ++c)
        setColumnHidden(c, c < visibles.size() && !visibles[c]);
}

void GrilleTextes::definirColonneFigee(int colonne, bool figee)
{
    if (colonne >= 0 && colonne < m_figees.size()) m_figees[colonne] = figee;
}

} // namespace vyk
