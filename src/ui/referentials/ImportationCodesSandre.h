#pragma once

// Import of national referential files into the code lists: a folder, its XML files, the
// preview of one file, and its integration.

#include "referentials/ReferentielCodes.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vyk {

class GrilleDonnees;

class ImportationCodesSandre : public QDialog
{
    Q_OBJECT
  public:
    explicit ImportationCodesSandre(QWidget *parent = nullptr);
    ~ImportationCodesSandre() override;

    // Lists the XML files of the folder (the last folder used is kept in the settings).
    void choisirDossier(const QString &dossier);
    // Reads the file of the list's row into the preview; false (message shown) when refused.
    bool choisirFichier(int ligne);
    // "Démarrer l'importation": integrates the previewed file.
    void demarrer();
    // Entries integrated (added or updated) since the window opened.
    int nbIntegres() const { return m_integres; }
    const FichierReferentiel &fichier() const { return m_fichier; }

  private:
    QLineEdit *TxtDossier;
    QPushButton *CmdParcourir;
    QListWidget *LstFichiers;
    GrilleDonnees *SprApercu;
    QLabel *LblInformation;
    QPushButton *CmdDemarrer;
    QPushButton *CmdFermer;

    QString m_dossier;
    FichierReferentiel m_fichier;
    int m_integres = 0;
};

} // namespace vyk
