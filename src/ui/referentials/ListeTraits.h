#pragma once

// The ecological traits of taxa: the list, the record of a trait with its group and its
// modalities.

#include "referentials/ModeleTraits.h"
#include "ui/widgets/EcranListeReference.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vyk {

class ComboCodee;
class GrilleSaisie;

class ListeTraits : public EcranListeReference
{
    Q_OBJECT
  public:
    explicit ListeTraits(QWidget *parent = nullptr);

    ModeleTraits &modele() { return m_modele; }
    FicheTrait ficheFormulaire() const;

  public slots:
    void declencheInserer() override;
    void DeclencheSupprimer() override;
    void declencheEnregistrer() override;
    void ajouterModalite();
    void supprimerModalite();

  protected:
    void afficherLigne(int ligne) override;

  private:
    QLineEdit *TxtCode;
    QLineEdit *TxtNom;
    ComboCodee *CboGroupe;
    QPlainTextEdit *TxtCommentaires;
    QPlainTextEdit *TxtReferences;
    GrilleSaisie *SprModalites;
    QPushButton *CmdAjouterModalite;
    QPushButton *CmdSupprimerModalite;

    void afficherFiche(const FicheTrait &f);

    ModeleTraits m_modele;
    FicheTrait m_fiche;
};

} // namespace vyk
