#pragma once

// The threshold list screen: a kind, its sets (groups under their main set), the chosen set's
// label, comment and reference, and the grid of its bounds. Saving, deleting and exporting go
// through quality/GestionSeuils.h.

#include "quality/GestionSeuils.h"

#include "ui/widgets/Ecran.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace vyk {

class ComboCodee;
class GrilleSaisie;

class ListeSeuils : public Ecran
{
    Q_OBJECT
  public:
    explicit ListeSeuils(QWidget *parent = nullptr);

    // The chosen kind (nullptr when none) and set.
    const GenreSeuils *genre() const;
    FicheJeuSeuils fiche() const;
    // Shows the set of this code (one of the list), or a new one for "".
    void choisirJeu(const QString &code);

    ComboCodee *CboType;
    QListWidget *LstSeuils;
    QLineEdit *TxtCode;
    QLineEdit *TxtLibelle;
    QLineEdit *TxtCommentaire;
    ComboCodee *CboReference;
    GrilleSaisie *SprSeuils;
    QPushButton *CmdNouveau;
    QPushButton *CmdInserer;
    QPushButton *CmdRetirer;
    QPushButton *CmdEnregistrer;
    QPushButton *CmdSupprimer;
    QPushButton *CmdExporter;
    QPushButton *CmdImporter;

  public slots:
    void chargerJeux();
    void inserer();
    void enregistrer();
    void supprimer();
    // Exports the chosen set to this file (asked for when empty).
    void exporter(const QString &chemin = {});
    void importer();

  private:
    void definirColonnes();
    QVector<LigneBornes> lignes() const;

    QVector<FicheJeuSeuils> m_jeux;
};

} // namespace vyk
