#include "ui/widgets/GrilleSaisie.h"

#include "ui/widgets/ChampsFormulaire.h"
#include "ui/widgets/ComboCodee.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>

namespace vyk {

namespace {

// Editors after the kind of the cell, made as the cards' fields are (numbers typed only as
// numbers, dates coloured at once when wrong); a coded cell is edited in a coded choice box.
class DelegueSaisie : public QStyledItemDelegate
{
  public:
    explicit DelegueSaisie(ModeleSaisie *modele, QObject *parent)
        : QStyledItemDelegate(parent), m_modele(modele)
    {
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        const ColonneSaisie &c = m_modele->genre(index.row(), index.column());
        if (c.lecture || c.nature == NatureChamp::OuiNon) return nullptr;
        ChampDecrit champ;
        champ.libelle = c.titre;
        // A cell holds one line: a memo is typed there as a text.
        champ.nature = c.nature == NatureChamp::Memo ? NatureChamp::Texte : c.nature;
        OptionsChamp options;
        options.entrees = c.entrees;
        QWidget *editeur = nouveauChampSaisie(champ, parent, options);
        if (auto *ligne = qobject_cast<QLineEdit *>(editeur)) {
            ligne->setFrame(
                ligne->style()->styleHint(QStyle::SH_ItemView_DrawDelegateFrame, &option, ligne));
            ligne->setAutoFillBackground(true); // a bad date's colour shows without a frame
        }
        return editeur;
    }

    // A line at least as wide as its text or its format, as the cell's default editor was.
    void updateEditorGeometry(QWidget *editeur, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override
    {
        QStyledItemDelegate::updateEditorGeometry(editeur, option, index);
        auto *ligne = qobject_cast<QLineEdit *>(editeur);
        if (!ligne) return;
        const QFontMetrics &mesure = ligne->fontMetrics();
        const int largeur = std::max(mesure.horizontalAdvance(ligne->text()),
                                     mesure.horizontalAdvance(ligne->placeholderText())) +
                            mesure.averageCharWidth() * 2;
        if (largeur > ligne->width()) ligne->resize(largeur, ligne->height());
    }

    void setEditorData(QWidget *editeur, const QModelIndex &index) const override
    {
        auto *choix = qobject_cast<ComboCodee *>(editeur);
        if (!choix) return QStyledItemDelegate::setEditorData(editeur, index);
        const QString code = m_modele->texte(index.row(), index.column());
        if (choix->selectionnerCode(code)) return;
        // A code its entries lack stays chosen (an inactive row): leaving the box keeps it.
        EntreesCodees avec = m_modele->genre(index.row(), index.column()).entrees;
        const QString affiche = m_modele->affiche(index.row(), index.column());
        const QString libelle = affiche.endsWith(QStringLiteral(" [") + code + u']')
                                    ? affiche.left(affiche.size() - code.size() - 3)
                                    : QString();
        avec.append({code, libelle});
        choix->definirEntrees(avec, ComboCodee::AvecVide);
        choix->selectionnerCode(code);
    }

    void setModelData(QWidget *editeur, QAbstractItemModel *modele,
                      const QModelIndex &index) const override
    {
        if (auto *choix = qobject_cast<ComboCodee *>(editeur)) {
            // An unchanged code keeps the label it was shown with.
            const QString code = choix->codeSelectionne();
            const bool meme = code == m_modele->texte(index.row(), index.column());
            modele->setData(index, meme ? m_modele->affiche(index.row(), index.column()) : code);
        } else if (auto *champ = qobject_cast<QLineEdit *>(editeur))
            modele->setData(index, champ->text());
    }

  private:
    ModeleSaisie *m_modele;
};

} // namespace

GrilleSaisie::GrilleSaisie(QWidget *parent) : QTableView(parent), m_modele(new ModeleSaisie(this))
{
    m_modele->definirFondLecture(palette().color(QPalette::Window));
    setModel(m_modele);
    setItemDelegate(new DelegueSaisie(m_modele, this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setAlternatingRowColors(true);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setHighlightSections(false);
    connect(m_modele, &ModeleSaisie::celluleModifiee, this, &GrilleSaisie::celluleModifiee);
}

void GrilleSaisie::definirColonnes(const QVector<Colonne> &colonnes)
{
    m_modele->definirColonnes(colonnes);
    for (int c = 0; c < colonnes.size(); ++c)
        setColumnWidth(c, std::max(70, fontMetrics().horizontalAdvance(colonnes[c].titre) + 24));
}

void GrilleSaisie::definirCellule(int ligne, int colonne, const Colonne &genre)
{
    m_modele->definirCellule(ligne, colonne, genre);
}

int GrilleSaisie::ajouterLigne()
{
    return m_modele->ajouterLigne();
}

void GrilleSaisie::definirNbLignes(int n)
{
    m_modele->definirNbLignes(n);
}

void GrilleSaisie::retirerLigne(int ligne)
{
    m_modele->retirerLigne(ligne);
}

void GrilleSaisie::remplir(const QVector<QStringList> &lignes)
{
    m_modele->remplir(lignes);
}

QVector<QStringList> GrilleSaisie::lignes() const
{
    QVector<QStringList> r;
    r.reserve(rowCount());
    for (int l = 0; l < rowCount(); ++l)
        r << textesLigne(l);
    return r;
}

QStringList GrilleSaisie::textesLigne(int ligne) const
{
    QStringList t;
    for (int c = 0; c < columnCount(); ++c)
        t << texte(ligne, c);
    return t;
}

void GrilleSaisie::definirTexte(int ligne, int colonne, const QString &texte)
{
    m_modele->ecrire(ligne, colonne, texte);
}

int GrilleSaisie::ligneCourante() const
{
    return currentIndex().row();
}

void GrilleSaisie::selectionnerLigne(int ligne)
{
    if (ligne < 0 || ligne >= rowCount()) {
        clearSelection();
        return;
    }
    setCurrentIndex(m_modele->index(ligne, 0));
    selectRow(ligne);
}

QWidget *GrilleSaisie::editerCellule(int ligne, int colonne)
{
    const QModelIndex i = m_modele->index(ligne, colonne);
    setCurrentIndex(i);
    edit(i);
    return indexWidget(i);
}

void GrilleSaisie::validerSaisie()
{
    if (state() != QAbstractItemView::EditingState) return;
    // The open editor of a cell is its index widget.
    if (QWidget *editeur = indexWidget(currentIndex())) {
        commitData(editeur);
        closeEditor(editeur, QAbstractItemDelegate::NoHint);
    }
}

void GrilleSaisie::definirModifiable(bool modifiable)
{
    if (modifiable == estModifiable()) return;
    validerSaisie();
    m_modele->definirModifiable(modifiable);
}

void GrilleSaisie::afficherColonnes(const QVector<bool> &visibles)
{
    for (int c = 0; c < columnCount(); ++c)
        setColumnHidden(c, c < visibles.size() && !visibles[c]);
}

void GrilleSaisie::ajusterLargeurs()
{
    resizeColumnsToContents();
    for (int c = 0; c < columnCount(); ++c) {
        const bool code = !colonnes()[c].lecture && colonnes()[c].nature == NatureChamp::Code;
        setColumnWidth(
            c, std::max(columnWidth(c), fontMetrics().averageCharWidth() * (code ? 24 : 10)));
    }
}

} // namespace vyk
