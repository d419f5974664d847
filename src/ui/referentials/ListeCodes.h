#pragma once

// The code-list screen: the entries of CODES_SANDRE list by list, their form, and the import of
// the national referential files. The pattern of the reference-list screens.

#include "referentials/ModeleListeCodes.h"
#include "ui/widgets/EcranListeReference.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace vyk {

class ComboCodee;

class ListeCodes : public EcranListeReference
{
    Q_OBJECT
  public:
    // champ: the list shown at opening ("" for every list).
    explicit ListeCodes(const QString &champ = {}, QWidget *parent = nullptr);

    ModeleListeCodes &modele() { return m_modele; }
    // The entry the form shows, as it would be saved.
    FicheCode ficheFormulaire() const;

  public slots:
    // Reads the list keys and the grid of the chosen list again.
    void RempliSprCodes();
    void declencheInserer() override;
    void DeclencheSupprimer() override;
    void declencheEnregistrer() override;
    void DeclencheOutils() override;

  protected:
    void afficherLigne(int ligne) override;

  private:
    void construireFiltres();
    void construireFiche();
    void remplirChamps(const QString &aSelectionner);
    void afficherFiche(const FicheCode &fiche);
    void afficherReferentiel();

    // Controls, named as on every screen (tests find them by these names).
    ComboCodee *CboChamp;
    QLabel *LblReferentiel;
    QLabel *LblLien;
    QLineEdit *TxtType;
    QLineEdit *TxtCode;
    QLineEdit *TxtLibelle;
    QLineEdit *TxtMnemonique;
    QLineEdit *TxtReference;
    ComboCodee *CboStatut;
    QLineEdit *TxtDateCreation;
    QLineEdit *TxtDateModification;
    QLineEdit *TxtAuteur;
    QLineEdit *TxtProjet;
    QPlainTextEdit *TxtCommentaire;

    ModeleListeCodes m_modele;
    FicheCode m_fiche;
};

} // namespace vyk
