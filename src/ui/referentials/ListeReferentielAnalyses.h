#pragma once

// The list screens of the analysis referentials: parameters (ListeParametres), units
// (ListeUnites), methods (ListeMethodes), fractions (ListeFractions) and supports
// (ListeSupports). One screen built from the referential's description; the core model does
// the work.

#include "referentials/ModeleReferentielAnalyses.h"
#include "ui/widgets/EcranListeReference.h"

#include <QHash>

class QAction;

namespace vyk {

class ListeReferentielAnalyses : public EcranListeReference
{
    Q_OBJECT
  public:
    explicit ListeReferentielAnalyses(Referentiel referentiel, QWidget *parent = nullptr);

    ModeleReferentielAnalyses &modele() { return m_modele; }
    // The entry the form shows, as it would be saved.
    FicheReferentiel ficheFormulaire() const;
    // The control of a column (QLineEdit, QPlainTextEdit, ComboCodee or QCheckBox).
    QWidget *controle(const QString &colonne) const { return m_controles.value(colonne); }
    QAction *actionPurger() const { return m_purger; }
    QAction *actionRemplacer() const { return m_remplacer; }

  public slots:
    void RempliSprReferentiel();
    void declencheInserer() override;
    void DeclencheSupprimer() override;
    void declencheEnregistrer() override;
    // "Importer une liste de ..." from a national XML file or a CSV file.
    void DeclencheOutils() override;
    void DeclenchePurger();
    void DeclencheRemplacer();

  protected:
    void afficherLigne(int ligne) override;

  private:
    void construireFiche();
    void afficherFiche(const FicheReferentiel &fiche);

    ModeleReferentielAnalyses m_modele;
    FicheReferentiel m_fiche;
    QHash<QString, QWidget *> m_controles;
    QAction *m_purger = nullptr;
    QAction *m_remplacer = nullptr;
};

} // namespace vyk
