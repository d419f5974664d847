#pragma once

// The physico-chemical sample card: the sample's fields, its purposes, lab files, sub-samples
// and analyses. The work is done by EditionPrelevement (monitoring/Prelevement.h).

#include "monitoring/Prelevement.h"
#include "ui/widgets/ChampsFormulaire.h"
#include "ui/widgets/Fiche.h"

#include <QHash>

class QAction;
class QCheckBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QToolBar;

namespace vyk {

class ComboCodee;
class GrilleSaisie;

class FichePrelevementPhysicoChmique : public Fiche
{
    Q_OBJECT
  public:
    // The card of a station (its code and the CodeBSS of its analysis table): a stored sample by
    // number, or a new one (attached to codeOperation when given).
    FichePrelevementPhysicoChmique(const QString &codeQualitometre, const QString &codeBSS,
                                   const QString &numPrelevement = {},
                                   const QString &codeOperation = {}, QWidget *parent = nullptr);

    QString cleFenetre() const override;
    bool enregistrerFiche() override { return enregistrer(); }

    EditionPrelevement &edition() { return m_edition; }
    // The field of a column of PRELEVEMENTS (QLineEdit, QPlainTextEdit, ComboCodee, QCheckBox).
    QWidget *champ(const QString &colonne) const override { return m_formulaire.champ(colonne); }

  signals:
    // "Nouveau prélèvement": a blank card is wanted beside this one, attached to the operation
    // this one shows ("" when none).
    void nouveauDemande(const QString &codeOperation);
    // A save or a deletion changed the station's samples.
    void prelevementModifie();

  public slots:
    bool enregistrer();
    void supprimer();
    void enregistrerAnalyses();

  private:
    void construireFiche(QWidget *onglet);
    // figee: the column numbered by the save, shown and not typed.
    QWidget *construireGrille(GrilleSaisie *&grille, const QVector<ColonneGrille> &colonnes,
                              const QString &enregistrer, QPushButton *&cmdEnregistrer,
                              const QString &figee = {}, QPushButton **cmdAjouter = nullptr,
                              QPushButton **cmdSupprimer = nullptr);
    void afficher();
    void lireChamps();
    void afficherGrilles();
    void majColonnesAnalyses();
    void chargerAnalyses();

    // Controls, named as on every screen (tests find them by these names).
    QLabel *LblEntete;
    QTabWidget *Onglets;
    QAction *CmdInsertion;
    QAction *CmdEnregistrer;
    QAction *CmdSupprimer;
    GrilleSaisie *SprFinalites;
    GrilleSaisie *SprDossiers;
    GrilleSaisie *SprEchantillons;
    GrilleSaisie *SprAnalyses;
    QPushButton *CmdEnregistrerFinalites;
    QPushButton *CmdEnregistrerDossiers;
    QPushButton *CmdEnregistrerEchantillons;
    QPushButton *CmdEnregistrerAnalyses;
    QPushButton *CmdAjouterAnalyse;
    QPushButton *CmdSupprimerAnalyse;
    QCheckBox *ChkModification;
    QCheckBox *ChkAffichageDetail;
    ComboCodee *CboStatut;
    ComboCodee *CboQualification;
    QPushButton *CmdStatut;
    QPushButton *CmdQualification;
    ComboCodee *CboSelection;
    QPushButton *CmdAjouterSelection;

    EditionPrelevement m_edition;
    ChampsFormulaire m_formulaire{QStringLiteral("Champ")};
    ComboCodee *m_operation = nullptr;
    QString m_station;
};

} // namespace vyk
