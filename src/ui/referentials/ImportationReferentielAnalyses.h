#pragma once

// "Importer une liste de paramètres" (and of units, methods, fractions, supports): a national
// XML file or a ";"-separated CSV file, its preview, and its integration.

#include "referentials/ImportationReferentielsAnalyses.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vyk {

class GrilleDonnees;

class ImportationReferentielAnalyses : public QDialog
{
    Q_OBJECT
  public:
    explicit ImportationReferentielAnalyses(Referentiel referentiel, QWidget *parent = nullptr);

    // Reads the file into the preview; false (message shown) when refused.
    bool choisirFichier(const QString &chemin);
    // "Démarrer l'importation".
    void demarrer();
    int nbIntegres() const { return m_integres; }

  private:
    QLineEdit *TxtFichier;
    QPushButton *CmdParcourir;
    GrilleDonnees *SprApercu;
    QLabel *LblInformation;
    QPushButton *CmdDemarrer;
    QPushButton *CmdFermer;

    Referentiel m_referentiel;
    FichierReferentielAnalyses m_fichier;
    int m_integres = 0;
};

} // namespace vyk
