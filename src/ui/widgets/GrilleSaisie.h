#pragma once

// An editable grid of typed columns, for the child grids of the cards: texts, numbers, dates,
// times, coded lists (edited in a coded choice box, shown by label, read back as code), check
// boxes and read-only cells. A cell may take another kind than its column (grids of fixed lines
// such as the survey units). Cells are read and written as the texts the core classes use.

#include "referentials/ListesCodees.h"

#include <QTableWidget>
#include <QVector>

namespace vyk {

class GrilleSaisie : public QTableWidget
{
    Q_OBJECT
  public:
    enum class Genre
    {
        Texte,
        Nombre,
        Date,
        Heure,
        Code,
        Case,
        Lecture // shown, not edited
    };
    struct Colonne
    {
        QString titre;
        Genre genre = Genre::Texte;
        EntreesCodees entrees; // Code
    };

    explicit GrilleSaisie(QWidget *parent = nullptr);

    void definirColonnes(const QVector<Colonne> &colonnes);
    const QVector<Colonne> &colonnes() const { return m_colonnes; }
    // A cell of another kind than its column.
    void definirCellule(int ligne, int colonne, const Colonne &genre);

    // A new empty line at the end; its index.
    int ajouterLigne();
    void definirNbLignes(int n);
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

  signals:
    // The user changed a cell.
    void celluleModifiee(int ligne, int colonne);

  private:
    const Colonne &genreCellule(int ligne, int colonne) const;
    friend class DelegueSaisie;
    void ecrireCellule(int ligne, int colonne, const QString &texte);

    QVector<Colonne> m_colonnes;
    QHash<quint64, Colonne> m_cellules; // (line << 32 | column) -> kind
    bool m_remplissage = false;
};

} // namespace vyk
