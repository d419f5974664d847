#pragma once

// The taxa screen: the referential filtered by theme, activity and name; the taxon record with
// its description and trait values; delete, purge, replace history, activation, presence over
// the stations, the traits screen and the import of a taxa file.

#include "referentials/ModeleListeTaxons.h"
#include "ui/widgets/EcranListeReference.h"

class QAction;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;

namespace vyk {

class ComboCodee;
class GrilleSaisie;

class ListeTaxons : public EcranListeReference
{
    Q_OBJECT
  public:
    explicit ListeTaxons(QWidget *parent = nullptr);

    ModeleListeTaxons &modele() { return m_modele; }
    // The taxon the form shows, as it would be saved.
    FicheTaxon ficheFormulaire() const;
    void afficherFiche(const FicheTaxon &fiche);

  public slots:
    void RempliSprTaxons();
    void declencheInserer() override;
    void DeclencheSupprimer() override;
    void declencheEnregistrer() override;
    // "Importer une liste de taxons".
    void DeclencheOutils() override;
    void DeclenchePurge();
    void DeclencheRemplacement();
    void DeclenchePresence();
    void DeclencheActivation();
    void DeclencheTraits();
    void DeclenchePhotos();

  protected:
    void afficherLigne(int ligne) override;

  private:
    void construireFiltres();
    void construireFiche();
    void remplirTraits(const FicheTaxon &fiche);

    // Controls, named as on every screen (tests find them by these names). Filters.
    ComboCodee *CboFiltreTheme;
    ComboCodee *CboFiltreActif;
    QLineEdit *TxtFiltre;
    // Record.
    QTabWidget *OngletsFiche;
    QLineEdit *TxtCode, *TxtNomLatin, *TxtNomCommun, *TxtDateCreation, *TxtDateMiseAJour,
        *TxtAuteur, *TxtRedacteur;
    QLineEdit *TxtParent, *TxtOmnidia, *TxtMuseum, *TxtMacrophyte, *TxtTaxonCalcul;
    ComboCodee *CboStatut, *CboActif, *CboNiveau, *CboTheme, *CboTypeEspece, *CboStatutEspece;
    QPlainTextEdit *TxtReference, *TxtCommentaire;
    QHash<QString, QPlainTextEdit *> TxtTextes; // column of textesTaxon()
    GrilleSaisie *SprTraits;
    QAction *ActionPurger, *ActionRemplacer, *ActionPresence, *ActionActiver, *ActionTraits,
        *ActionPhotos;

    ModeleListeTaxons m_modele;
    FicheTaxon m_fiche;
    QVector<QString> m_traits; // codeTrait of each row of SprTraits
};

} // namespace vyk
