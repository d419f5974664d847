#pragma once

// The lines of an editable grid as a model: one object for the whole grid, cells kept as the
// texts the core classes use (the code of a coded cell, "1"/"0" for a check box) beside what a
// coded cell shows. A cell may take another kind than its column; that kind moves with its line.

#include "db/ChampDecrit.h"
#include "referentials/ListesCodees.h"

#include <QAbstractTableModel>
#include <QBrush>
#include <QColor>
#include <QHash>
#include <QVector>

#include <memory>

namespace vyk {

// The background of a typed value the save would refuse (a bad date, a number that is not one).
inline QColor fondSaisieIncorrecte()
{
    return QColor(255, 210, 210);
}

struct ColonneSaisie
{
    QString titre;
    NatureChamp nature = NatureChamp::Texte;
    EntreesCodees entrees; // Code
    bool lecture = false;  // shown, not edited
};

class ModeleSaisie : public QAbstractTableModel
{
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void definirColonnes(const QVector<ColonneSaisie> &colonnes);
    const QVector<ColonneSaisie> &colonnes() const { return m_colonnes; }
    const ColonneSaisie &genre(int ligne, int colonne) const;
    void definirCellule(int ligne, int colonne, const ColonneSaisie &genre);

    int ajouterLigne();
    void definirNbLignes(int n);
    void retirerLigne(int ligne);
    void remplir(const QVector<QStringList> &lignes);

    // The cell's text: the code of a coded cell, "1"/"0" for a check box.
    QString texte(int ligne, int colonne) const;
    // What the cell shows: the label of a coded cell ("mg/L [162]").
    QString affiche(int ligne, int colonne) const;
    // A text typed by the program (no signal); an entry text "label [code]" for a coded cell.
    void ecrire(int ligne, int colonne, const QString &texte);

    void definirModifiable(bool modifiable);
    bool estModifiable() const { return m_modifiable; }
    void definirFondLecture(const QBrush &fond) { m_fondLecture = fond; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // The user's edits; they are announced by celluleModifiee.
    bool setData(const QModelIndex &index, const QVariant &valeur,
                 int role = Qt::EditRole) override;

  signals:
    void celluleModifiee(int ligne, int colonne);

  private:
    struct Genre
    {
        ColonneSaisie colonne;
        QHash<QString, QString> libelles; // Code: code -> label shown
    };
    struct Cellule
    {
        QString valeur;
        QString affiche; // Code only
    };
    struct Ligne
    {
        QVector<Cellule> cellules;
        QHash<int, std::shared_ptr<const Genre>> propres; // column -> kind of its own
    };
    static std::shared_ptr<const Genre> genreDe(const ColonneSaisie &colonne);
    const Genre &genreCellule(int ligne, int colonne) const;
    Cellule cellule(const Genre &genre, const QString &brut) const;
    Ligne ligneVide() const;
    bool existe(int ligne, int colonne) const;

    QVector<ColonneSaisie> m_colonnes;
    QVector<std::shared_ptr<const Genre>> m_genres;
    QVector<Ligne> m_lignes;
    bool m_modifiable = true;
    QBrush m_fondLecture;
};

} // namespace vyk
