#pragma once

#include "monitoring/GrillesSatellites.h"

#include <QWidget>

#include <functional>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace vyk {

// The grids of one save button of a card, built from their definitions: a table per grid (coded
// columns as choice boxes, check boxes, typed texts), or a form for a one-row grid; commands to
// add and delete a line and to save. The parent's code is asked when needed.
class EditeurSatellites : public QWidget
{
    Q_OBJECT
  public:
    EditeurSatellites(const DefinitionSauvegarde &sauvegarde, std::function<QString()> codeParent,
                      QWidget *parent = nullptr);

    // Fills the grids with the parent's rows (empty for a new parent).
    void charger();
    bool enregistrer();
    // Deletes the current line of a grid after the confirmation.
    bool supprimerLigne(const QString &grille);
    int ajouterLigne(const QString &grille);

    QTableWidget *table(const QString &grille) const;
    QLineEdit *champTournees() const { return TxtTournees; }
    void definirTournees(const QString &texte);

  private:
    struct Grille
    {
        const DefinitionGrille *def;
        QTableWidget *table = nullptr; // several lines
        QVector<QLineEdit *> champs;   // one-row form
        QVector<QVariant> cleFormulaire;
        QVector<EntreesCodees> entrees; // per column
    };
    void remplirLigne(Grille &g, int ligne, const LigneGrille &l);
    LignesGrille lire(const Grille &g) const;
    void afficher(Grille &g, const LignesGrille &lignes);

    const DefinitionSauvegarde &m_sauvegarde;
    std::function<QString()> m_codeParent;
    QVector<Grille> m_grilles;
    QLineEdit *TxtTournees = nullptr;
    QPushButton *CmdEnregistrer = nullptr;
};

} // namespace vyk
