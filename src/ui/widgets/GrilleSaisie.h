#pragma once

// An editable grid of described columns (NatureChamp), for the child grids of the cards: texts,
// numbers, dates, times, coded lists (edited in a coded choice box, shown by label, read back as
// code), check boxes and read-only cells. A cell may take another kind than its column (grids of
// fixed lines such as the survey units). Cells are read and written as the texts the core classes
// use; a coded cell also takes the entry text "label [code]" and shows that label when its code is
// not among its entries (inactive rows of a list).

#include "db/ChampDecrit.h"
#include "referentials/ListesCodees.h"

#include <QTableWidget>
#include <QVector>

namespace vyk {

class GrilleSaisie : public QTableWidget
{
    Q_OBJECT
  public:
    struct Colonne
    {
        QString titre;
        NatureChamp nature = NatureChamp::Texte;
        EntreesCodees entrees; // Code
        bool lecture = false;  // shown, not edited
    };

    explicit GrilleSaisie(QWidget *parent = nullptr);

    void definirColonnes(const QVector<Colonne> &colonnes);
    const QVector<Colonne> &colonnes() const { return m_colonnes; }
    // A cell of another kind than its column.
    void definirCellule(int ligne, int colonne, const Colonne &genre);

    // A new empty line at the end; its index.
    int ajouterLigne();
    void definirNbLignes(int n);
    void retirerLigne(int ligne);
    // Every line at once, and back, as texts in the columns' order.
    void remplir(const QVector<QStringList> &lignes);
    QVector<QStringList> lignes() const;
    // The cell's text: the code for coded cells, "1"/"0" for check boxes.
    QString texte(int ligne, int colonne) const;
    QStringList textesLigne(int ligne) const;
    void definirTexte(int ligne, int colonne, const QString &texte);
    // The label a coded cell shows.
    QString affiche(int ligne, int colonne) const;
    int ligneCourante() const;
    void selectionnerLigne(int ligne);
    // Finishes an edit in progress so that its text is read.
    void validerSaisie();

    // A read-only grid keeps every cell as it is (the analyses until the modification box is
    // ticked).
    void definirModifiable(bool modifiable);
    bool estModifiable() const { return m_modifiable; }
    // Columns shown; the others stay in the lines.
    void afficherColonnes(const QVector<bool> &visibles);
    // Widths after the contents, with room for a label and its code in coded columns and for a
    // date or a number in the others.
    void ajusterLargeurs();

  signals:
    // The user changed a cell.
    void celluleModifiee(int ligne, int colonne);

  private:
    const Colonne &genreCellule(int ligne, int colonne) const;
    friend class DelegueSaisie;
    void ecrireCellule(int ligne, int colonne, const QString &texte);
    Qt::ItemFlags drapeaux(const Colonne &colonne) const;

    QVector<Colonne> m_colonnes;
    QHash<quint64, Colonne> m_cellules;          // (line << 32 | column) -> kind
    QVector<QHash<QString, QString>> m_libelles; // per column: code -> label shown
    bool m_remplissage = false;
    bool m_modifiable = true;
};

} // namespace vyk
