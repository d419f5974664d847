#include "ui/widgets/GrilleSaisie.h"

#include "ui/widgets/ComboCodee.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>

namespace vyk {

namespace {
constexpr int ROLE_CODE = Qt::UserRole;
quint64 cle(int ligne, int colonne)
{
    return (quint64(quint32(ligne)) << 32) | quint32(colonne);
}
// What a coded cell shows for each code: "label [code]", or the code when it has no label.
QHash<QString, QString> libellesEntrees(const EntreesCodees &entrees)
{
    QHash<QString, QString> r;
    r.reserve(entrees.size());
    for (const EntreeCodee &e : entrees)
        if (!r.contains(e.code))
            r.insert(e.code, e.libelle.isEmpty() ? e.code : texteEntree(e.libelle, e.code));
    return r;
}
} // namespace

// Editors after the kind of the cell; coded cells keep their code beside the label shown.
// A read-only cell shows its text as it is, whatever its column's kind.
NatureChamp natureDe(const GrilleSaisie::Colonne &c)
{
    return c.lecture ? NatureChamp::Texte : c.nature;
}

class DelegueSaisie : public QStyledItemDelegate
{
  public:
    explicit DelegueSaisie(GrilleSaisie *grille) : QStyledItemDelegate(grille), m_grille(grille) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        const GrilleSaisie::Colonne &c = m_grille->genreCellule(index.row(), index.column());
        if (c.lecture) return nullptr;
        switch (c.nature) {
        case NatureChamp::Code: {
            auto *choix = new ComboCodee(parent);
            choix->definirEntrees(c.entrees, ComboCodee::AvecVide);
            return choix;
        }
        case NatureChamp::OuiNon:
            return nullptr;
        default: {
            auto *champ =
                qobject_cast<QLineEdit *>(QStyledItemDelegate::createEditor(parent, option, index));
            if (champ && c.nature == NatureChamp::Date)
                champ->setPlaceholderText(QStringLiteral("JJ/MM/AAAA"));
            if (champ && c.nature == NatureChamp::Heure)
                champ->setPlaceholderText(QStringLiteral("hh:mm"));
            return champ;
        }
        }
    }

    void setEditorData(QWidget *editeur, const QModelIndex &index) const override
    {
        if (auto *choix = qobject_cast<ComboCodee *>(editeur)) {
            if (!choix->selectionnerCode(index.data(ROLE_CODE).toString()))
                choix->selectionnerCode(QString());
            return;
        }
        QStyledItemDelegate::setEditorData(editeur, index);
    }

    void setModelData(QWidget *editeur, QAbstractItemModel *,
                      const QModelIndex &index) const override
    {
        if (auto *choix = qobject_cast<ComboCodee *>(editeur)) {
            m_grille->ecrireCellule(index.row(), index.column(), choix->codeSelectionne());
        } else if (auto *champ = qobject_cast<QLineEdit *>(editeur)) {
            m_grille->ecrireCellule(index.row(), index.column(), champ->text());
        }
        emit m_grille->celluleModifiee(index.row(), index.column());
    }

  private:
    GrilleSaisie *m_grille;
};

GrilleSaisie::GrilleSaisie(QWidget *parent) : QTableWidget(parent)
{
    setItemDelegate(new DelegueSaisie(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setAlternatingRowColors(true);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setHighlightSections(false);
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        // Check boxes change through their state.
        if (m_remplissage ||
            natureDe(genreCellule(item->row(), item->column())) != NatureChamp::OuiNon)
            return;
        emit celluleModifiee(item->row(), item->column());
    });
}

void GrilleSaisie::definirColonnes(const QVector<Colonne> &colonnes)
{
    m_colonnes = colonnes;
    m_cellules.clear();
    m_libelles.clear();
    for (const Colonne &c : colonnes)
        m_libelles.append(c.nature == NatureChamp::Code ? libellesEntrees(c.entrees)
                                                        : QHash<QString, QString>());
    setRowCount(0);
    setColumnCount(int(colonnes.size()));
    QStringList titres;
    for (const Colonne &c : colonnes)
        titres << c.titre;
    setHorizontalHeaderLabels(titres);
    for (int c = 0; c < colonnes.size(); ++c)
        setColumnWidth(c, std::max(70, fontMetrics().horizontalAdvance(colonnes[c].titre) + 24));
}

const GrilleSaisie::Colonne &GrilleSaisie::genreCellule(int ligne, int colonne) const
{
    const auto it = m_cellules.constFind(cle(ligne, colonne));
    if (it != m_cellules.constEnd()) return *it;
    static const Colonne aucune;
    return colonne >= 0 && colonne < m_colonnes.size() ? m_colonnes[colonne] : aucune;
}

void GrilleSaisie::definirCellule(int ligne, int colonne, const Colonne &genre)
{
    const QString avant = texte(ligne, colonne);
    m_cellules.insert(cle(ligne, colonne), genre);
    ecrireCellule(ligne, colonne, avant);
}

void GrilleSaisie::ecrireCellule(int ligne, int colonne, const QString &brut)
{
    const bool remplissage = m_remplissage;
    m_remplissage = true;
    QTableWidgetItem *item = this->item(ligne, colonne);
    if (!item) {
        item = new QTableWidgetItem;
        setItem(ligne, colonne, item);
    }
    const Colonne &c = genreCellule(ligne, colonne);
    const QString texte = brut.trimmed();
    if (c.lecture) {
        item->setText(brut);
        // Read-only cells stay readable; their background tells they are not typed.
        item->setBackground(palette().color(QPalette::Window));
    }
    switch (natureDe(c)) {
    case NatureChamp::OuiNon:
        item->setText({});
        item->setCheckState(texte == QLatin1String("1") ? Qt::Checked : Qt::Unchecked);
        break;
    case NatureChamp::Code: {
        const QString code = codeEntree(texte);
        item->setData(ROLE_CODE, code);
        const bool propre = m_cellules.contains(cle(ligne, colonne));
        QString libelle =
            (propre ? libellesEntrees(c.entrees) : m_libelles.value(colonne)).value(code);
        if (libelle.isEmpty()) libelle = code.isEmpty() ? QString() : texte;
        item->setText(libelle);
        break;
    }
    default:
        item->setText(brut);
        break;
    }
    if (natureDe(c) == NatureChamp::Nombre)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    item->setFlags(drapeaux(c));
    m_remplissage = remplissage;
}

Qt::ItemFlags GrilleSaisie::drapeaux(const Colonne &colonne) const
{
    Qt::ItemFlags d = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!m_modifiable || colonne.lecture) return d;
    return d |
           (colonne.nature == NatureChamp::OuiNon ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable);
}

int GrilleSaisie::ajouterLigne()
{
    const int l = rowCount();
    setRowCount(l + 1);
    for (int c = 0; c < columnCount(); ++c)
        ecrireCellule(l, c, {});
    return l;
}

void GrilleSaisie::definirNbLignes(int n)
{
    m_cellules.clear();
    setRowCount(0);
    for (int i = 0; i < n; ++i)
        ajouterLigne();
}

void GrilleSaisie::retirerLigne(int ligne)
{
    if (ligne < 0 || ligne >= rowCount()) return;
    removeRow(ligne);
    // Cells of their own kind below move up with their line.
    QHash<quint64, Colonne> cellules;
    for (auto it = m_cellules.cbegin(); it != m_cellules.cend(); ++it) {
        const int l = int(it.key() >> 32);
        const int c = int(quint32(it.key()));
        if (l != ligne) cellules.insert(cle(l > ligne ? l - 1 : l, c), it.value());
    }
    m_cellules = cellules;
}

void GrilleSaisie::remplir(const QVector<QStringList> &lignes)
{
    definirNbLignes(int(lignes.size()));
    for (int l = 0; l < lignes.size(); ++l)
        for (int c = 0; c < columnCount() && c < lignes[l].size(); ++c)
            ecrireCellule(l, c, lignes[l][c]);
}

QVector<QStringList> GrilleSaisie::lignes() const
{
    QVector<QStringList> r;
    r.reserve(rowCount());
    for (int l = 0; l < rowCount(); ++l)
        r << textesLigne(l);
    return r;
}

QString GrilleSaisie::texte(int ligne, int colonne) const
{
    const QTableWidgetItem *i = item(ligne, colonne);
    if (!i) return {};
    switch (natureDe(genreCellule(ligne, colonne))) {
    case NatureChamp::OuiNon:
        return i->checkState() == Qt::Checked ? QStringLiteral("1") : QStringLiteral("0");
    case NatureChamp::Code:
        return i->data(ROLE_CODE).toString();
    default:
        return i->text();
    }
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
    if (ligne < 0 || ligne >= rowCount() || colonne < 0 || colonne >= columnCount()) return;
    ecrireCellule(ligne, colonne, texte);
}

QString GrilleSaisie::affiche(int ligne, int colonne) const
{
    const QTableWidgetItem *i = item(ligne, colonne);
    return i ? i->text() : QString();
}

int GrilleSaisie::ligneCourante() const
{
    return currentRow();
}

void GrilleSaisie::selectionnerLigne(int ligne)
{
    if (ligne < 0 || ligne >= rowCount()) {
        clearSelection();
        return;
    }
    setCurrentCell(ligne, 0);
    selectRow(ligne);
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
    if (modifiable == m_modifiable) return;
    validerSaisie();
    m_modifiable = modifiable;
    const bool remplissage = m_remplissage;
    m_remplissage = true;
    for (int l = 0; l < rowCount(); ++l)
        for (int c = 0; c < columnCount(); ++c)
            if (QTableWidgetItem *i = item(l, c)) i->setFlags(drapeaux(genreCellule(l, c)));
    m_remplissage = remplissage;
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
        const bool code = c < m_colonnes.size() && natureDe(m_colonnes[c]) == NatureChamp::Code;
        setColumnWidth(
            c, std::max(columnWidth(c), fontMetrics().averageCharWidth() * (code ? 24 : 10)));
    }
}

} // namespace vyk
