#pragma once

// The taxa picker of the operation card: a theme, a family and a text; the active taxa found;
// the chosen ones gathered on the right and returned to the card's grid.

#include "monitoring/ListeTaxonsOperation.h"
#include "referentials/ChoixTaxons.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vyk {

class ComboCodee;
class GrilleDonnees;

class FicheSelectionTaxons : public QDialog
{
    Q_OBJECT
  public:
    explicit FicheSelectionTaxons(QWidget *parent = nullptr);
    ~FicheSelectionTaxons() override;

    // Runs the search of the criteria typed; false when refused.
    bool rechercher();
    // Adds the taxon of a result row to the chosen ones (once).
    void ajouter(int ligne);
    void retirer(int ligne);
    QVector<ListeTaxonsOperation::Ligne> taxonsChoisis() const { return m_choisis; }

  private:
    ComboCodee *CboTheme;
    ComboCodee *CboFamille;
    QLineEdit *TxtRecherche;
    QPushButton *CmdRechercher;
    GrilleDonnees *SprResultats;
    QLabel *LblNombre;
    QPushButton *CmdAjouter;
    QPushButton *CmdRetirer;
    QListWidget *LstChoisis;
    QPushButton *CmdValider;
    QPushButton *CmdAnnuler;

    SelectionTaxons m_selection;
    QVector<ListeTaxonsOperation::Ligne> m_choisis;
};

} // namespace vyk
