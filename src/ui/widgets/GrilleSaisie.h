#pragma once

// An editable grid of described columns (NatureChamp), for the child grids of the cards: texts,
// numbers, dates, times, coded lists (edited in a coded choice box, shown by label, read back as
// code), check boxes and read-only cells. A view over its lines (ModeleSaisie), no item per
// cell. Cells are read and written as the texts the core classes use; a coded cell also takes
// the entry text "label [code]" and shows that label when its code is not among its entries
// (inactive rows of a list).

#include "ui/widgets/ModeleSaisie.h"

#include <QTableView>

namespace vyk {

class GrilleSaisie : public QTableView
{
    Q_OBJECT
  public:
    using Colonne = ColonneSaisie;

    explicit GrilleSaisie(QWidget *parent = nullptr);

    void definirColonnes(const QVector<Colonne> &colonnes);
    const QVector<Colonne> &colonnes() const { return m_modele->colonnes(); }
    // A cell of another kind than its column.
    void definirCellule(int ligne, int colonne, const Colonne &genre);

    // A new empty line at the end; its index.
    int ajouterLigne();
    void definirNbLignes(int n);
    void retirerLigne(int ligne);
    int rowCount() const { return m_modele->rowCount(); }
    int columnCount() const { return m_modele->columnCount(); }
    // Every line at once, and back, as texts in the columns' order.
    void remplir(const QVector<QStringList> &lignes);
    QVector<QStringList> lignes() const;
    // The cell's text: the code for coded cells, "1"/"0" for check boxes.
    QString texte(int ligne, int colonne) const { return m_modele->texte(ligne, colonne); }
    QStringList textesLigne(int ligne) const;
    void definirTexte(int ligne, int colonne, const QString &texte);
    // The label a coded cell shows.
    QString affiche(int ligne, int colonne) const { return m_modele->affiche(ligne, colonne); }
    int ligneCourante() const;
    void selectionnerLigne(int ligne);
    // Opens the cell's editor, as a key typed on it does.
    QWidget *editerCellule(int ligne, int colonne);
    // Finishes an edit in progress so that its text is read.
    void validerSaisie();
    ModeleSaisie *modele() const { return m_modele; }

    // A read-only grid keeps every cell as it is (the analyses until the modification box is
    // ticked).
    void definirModifiable(bool modifiable);
    bool estModifiable() const { return m_modele->estModifiable(); }
    // Columns shown; the others stay in the lines.
    void afficherColonnes(const QVector<bool> &visibles);
    // Widths after the contents, with room for a label and its code in coded columns and for a
    // date or a number in the others.
    void ajusterLargeurs();

  signals:
    // The user changed a cell.
    void celluleModifiee(int ligne, int colonne);

  private:
    ModeleSaisie *m_modele;
};

} // namespace vyk
