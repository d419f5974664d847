#pragma once

// An editable grid of texts for the sub-grids of a card: coded columns are edited with a coded
// choice box and hold the convention text "label [code]"; the others are typed. Lines are read
// back as texts, in the columns' order.

#include "referentials/ListesCodees.h"

#include <QStringList>
#include <QTableWidget>
#include <QVector>

namespace vyk {

class GrilleTextes : public QTableWidget
{
    Q_OBJECT
  public:
    explicit GrilleTextes(QWidget *parent = nullptr);

    // Headers, and for each column its entries (empty: a typed column).
    void definirColonnes(const QStringList &titres, const QVector<EntreesCodees> &entrees);
    void remplir(const QVector<QStringList> &lignes);
    QVector<QStringList> lignes() const;
    // An empty line at the end; its index.
    int ajouterLigne();
    int ligneCourante() const;
    void retirerLigne(int ligne);
    void definirTexte(int ligne, int colonne, const QString &texte);
    QString texte(int ligne, int colonne) const;
    // Read-only grids cannot be edited (the analyses until the modification box is ticked).
    void definirModifiable(bool modifiable);
    bool estModifiable() const { return m_modifiable; }
    // Columns shown; the others stay in the lines.
    void afficherColonnes(const QVector<bool> &visibles);
    // Columns the user may not type in (numbers given by the save).
    void definirColonneFigee(int colonne, bool figee);

    const EntreesCodees &entrees(int colonne) const;

  private:
    QVector<EntreesCodees> m_entrees;
    QVector<bool> m_figees;
    bool m_modifiable = true;
};

} // namespace vyk
