#pragma once

// Import of selection lists from a file (search/ImportSelections.h): the columns the file must
// hold, the file and its preview, the import, and the built-in lists on request.

#include "search/ImportSelections.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vyk {

class GrilleDonnees;

class ImportationSelectionParametres : public QDialog
{
    Q_OBJECT
  public:
    explicit ImportationSelectionParametres(QWidget *parent = nullptr);

    // Reads the file into the preview; false (message shown) when refused.
    bool choisirFichier(const QString &chemin);
    // "Démarrer l'importation", the user's answers asked through message boxes.
    void demarrer();
    // Asks "Voulez créer les listes par défaut ?" and installs them on Yes.
    void creerListesParDefaut();

    QLabel *LblColonnes;
    QLineEdit *TxtFichier;
    QPushButton *CmdParcourir;
    GrilleDonnees *SprApercu;
    QPushButton *CmdDemarrer;
    QPushButton *CmdDefauts;
    QPushButton *CmdFermer;

  private:
    QVector<LigneFichierSelection> m_lignes;
};

} // namespace vyk
