#pragma once

// The selection list screen: every list (by type then label), the chosen list's code, label,
// type, parent and default mark, and the grid of its members. Saving, deleting and importing go
// through search/Selections.h and search/ImportSelections.h.

#include "search/Selections.h"

#include "ui/widgets/Ecran.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace vyk {

class ComboCodee;
class GrilleDonnees;
class GrilleSaisie;

class ListeSelections : public Ecran
{
    Q_OBJECT
  public:
    explicit ListeSelections(QWidget *parent = nullptr);

    FicheSelection fiche() const;
    QVector<LigneGrilleSelection> lignes() const;
    // Opens the list of this code and type (a row of the list grid), or a new one.
    void ouvrir(const QString &code, int typeListe);
    const QVector<TitreSelection> &titres() const { return m_titres; }

    GrilleDonnees *SprListes;
    ComboCodee *CboType;
    QLineEdit *TxtCode;
    QLineEdit *TxtLibelle;
    ComboCodee *CboParent;
    QCheckBox *ChkDefaut;
    GrilleSaisie *SprParametres;
    QPushButton *CmdNouveau;
    QPushButton *CmdSupprimer;
    QPushButton *CmdEnregistrer;
    QPushButton *CmdImporter;
    QPushButton *CmdInserer;
    QPushButton *CmdRetirer;

  public slots:
    void chargerListes();
    void nouvelle();
    void enregistrer();
    void supprimer();
    void importer();

  private:
    int type() const;
    void majType();

    QVector<TitreSelection> m_titres;
};

} // namespace vyk
