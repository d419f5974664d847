#pragma once

// Import of a taxa referential file (CSV or SANDRE XML): the file, its preview, the mode
// (update of the existing taxa or complete import), the automatic activation, the integration,
// and the activation of the taxa the lists use.

#include "referentials/ImportTaxons.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vyk {

class GrilleDonnees;

class ImportationTaxons : public QDialog
{
    Q_OBJECT
  public:
    explicit ImportationTaxons(QWidget *parent = nullptr);

    // Reads the file into the preview; false (message shown) when refused.
    bool choisirFichier(const QString &chemin);
    // "Démarrer l'importation".
    void demarrer();
    // "Activer les taxons".
    void activer();
    // Taxa added or updated since the window opened.
    int nbIntegres() const { return m_integres; }
    const FichierTaxons &fichier() const { return m_fichier; }
    const BilanImportTaxons &bilan() const { return m_bilan; }

  private:
    QLabel *LblInformation;
    QLineEdit *TxtFichier;
    QPushButton *CmdParcourir;
    GrilleDonnees *SprApercu;
    QLabel *LblNbLignes;
    QCheckBox *ChkActiver;
    QRadioButton *OptMiseAJour;
    QRadioButton *OptComplet;
    QPushButton *CmdDemarrer;
    QPushButton *CmdActiver;
    QPushButton *CmdFermer;

    FichierTaxons m_fichier;
    BilanImportTaxons m_bilan;
    int m_integres = 0;
};

} // namespace vyk
