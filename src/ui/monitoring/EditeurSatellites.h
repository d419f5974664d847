#pragma once

#include "monitoring/GrillesSatellites.h"

#include <QWidget>

#include <functional>

class QLineEdit;
class QPushButton;

namespace vyk {

class GrilleSaisie;

// The grids of one save button of a card, built from their definitions: an editable grid per
// grid (coded columns chosen in a list, check boxes, typed texts, numbers given by the save
// shown only), or a form for a one-row grid; commands to add and delete a line and to save. The
// parent's code is asked when needed.
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

    GrilleSaisie *table(const QString &grille) const;
    QLineEdit *champTournees() const { return TxtTournees; }
    void definirTournees(const QString &texte);

  private:
    struct Grille
    {
        const DefinitionGrille *def;
        GrilleSaisie *table = nullptr;   // several lines
        QVector<QLineEdit *> champs;     // one-row form
        QVector<QVector<QVariant>> cles; // stored key of each line (the form's only)
    };
    GrilleSaisie *construireTable(const DefinitionGrille &def, QWidget *parent) const;
    LignesGrille lire(const Grille &g) const;
    void afficher(Grille &g, const LignesGrille &lignes);

    const DefinitionSauvegarde &m_sauvegarde;
    std::function<QString()> m_codeParent;
    QVector<Grille> m_grilles;
    QLineEdit *TxtTournees = nullptr;
    QPushButton *CmdEnregistrer = nullptr;
};

} // namespace vyk
