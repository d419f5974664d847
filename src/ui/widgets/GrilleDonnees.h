#pragma once

// The grid of the list screens: rows of texts filled in one go, sorted by a click on a header
// (numbers as numbers, DD/MM/YYYY dates as dates), rows addressed by their index in the filled
// order whatever the sort.

#include <QStringList>
#include <QTableView>
#include <QVector>

class QSortFilterProxyModel;

namespace vyk {

class ModeleGrilleTexte;

class GrilleDonnees : public QTableView
{
    Q_OBJECT
public:
    explicit GrilleDonnees(QWidget *parent = nullptr);

    void remplir(const QStringList &entetes, const QVector<QStringList> &lignes);
    void vider();
    int nbLignes() const;
    QString texte(int ligne, int colonne) const;
    QStringList ligne(int ligne) const;
    // Replaces a row (appends it when ligne is -1 or past the end); its index.
    int majLigne(int ligne, const QStringList &textes);
    void retirerLigne(int ligne);

    // The current row, -1 when none; selecting scrolls it into view.
    int ligneCourante() const;
    void selectionnerLigne(int ligne);

signals:
    // The user (or selectionnerLigne) made this row current; -1 when none.
    void ligneChoisie(int ligne);

private:
    ModeleGrilleTexte *m_modele;
    QSortFilterProxyModel *m_tri;
};

} // namespace vyk
