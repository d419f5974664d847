#pragma once

// The search screens' grids as models over the search's rows: a million results open at once,
// each cell made when the view shows it (no item, no copy of the rows).

#include "search/Recherche.h"

#include <QAbstractTableModel>

class QTableView;

#include <functional>
#include <memory>

namespace vyk {

// The results grid: the columns of titresResultats() for the rows' kind; the result and class
// cells take the class colour.
class ModeleResultats : public QAbstractTableModel
{
    Q_OBJECT
  public:
    explicit ModeleResultats(QObject *parent = nullptr);
    // null empties the grid.
    void definir(std::shared_ptr<const ResultatRecherche> resultat);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Every row as text, for the exports.
    GrilleTexte grille() const;

  private:
    const QStringList &cellules(int ligne) const;

    std::shared_ptr<const ResultatRecherche> m_resultat;
    QStringList m_titres; // those of the rows' kind
    // A view asks for the cells of one row after the other: the row's texts are made once.
    mutable int m_ligneCache = -1;
    mutable QStringList m_cache;
};

// A grid of text (indicators, totals, distributions, stations, detailed views). fond gives a
// cell's background colour (an invalid QColor for none).
class ModeleTexteRecherche : public QAbstractTableModel
{
    Q_OBJECT
  public:
    using Fond = std::function<QColor(int ligne, int colonne)>;
    explicit ModeleTexteRecherche(QObject *parent = nullptr);
    void definir(GrilleTexte grille, Fond fond = {});
    const GrilleTexte &grille() const { return m_grille; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    GrilleTexte m_grille;
    Fond m_fond;
};

// The fixed colour of a class colour index (0 blue to 4 red).
QColor couleurRecherche(int couleur);

// The view of a search grid: rows of one height, so that the view never measures a row it does
// not show.
QTableView *creerVueRecherche(QWidget *parent, QAbstractItemModel *modele);

} // namespace vyk
