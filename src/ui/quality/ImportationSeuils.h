#pragma once

// Import of a threshold file: the kind, the columns the file must hold, the file and its
// preview, then the integration (quality/ImportSeuils.h).

#include "quality/ImportSeuils.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vyk {

class ComboCodee;
class GrilleDonnees;

class ImportationSeuils : public QDialog
{
    Q_OBJECT
  public:
    explicit ImportationSeuils(const GenreSeuils *genre = nullptr, QWidget *parent = nullptr);

    // Reads the file into the preview; false (message shown) when refused.
    bool choisirFichier(const QString &chemin);
    // "Démarrer l'importation".
    void demarrer();
    // Sets written since the window opened.
    int nbJeux() const { return m_jeux; }
    const FichierSeuils &fichier() const { return m_fichier; }

    ComboCodee *CboType;
    QLabel *LblColonnes;
    QLineEdit *TxtFichier;
    QPushButton *CmdParcourir;
    GrilleDonnees *SprApercu;
    QPushButton *CmdDemarrer;
    QPushButton *CmdFermer;

  private:
    const GenreSeuils *genre() const;
    void majGenre();

    FichierSeuils m_fichier;
    int m_jeux = 0;
};

} // namespace vyk
