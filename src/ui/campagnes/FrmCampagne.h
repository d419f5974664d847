#pragma once

// "Campagnes de suivi": the campaigns of hydrobiological and physico-chemical field work, one
// campaign's form with its stations and wanted parameters, and its follow-up table. Everything
// it does goes through campagnes/. Unsaved edits of the form and its grids are offered for
// saving before another campaign replaces them or the screen closes.

#include "campagnes/Campagnes.h"
#include "campagnes/SuiviCampagne.h"

#include "ui/widgets/Fiche.h"

#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace vyk {

class ComboCodee;
class GrilleDonnees;
class GrilleSaisie;

class FrmCampagne : public Fiche
{
    Q_OBJECT
  public:
    explicit FrmCampagne(QWidget *parent = nullptr);

    QString cleFenetre() const override { return objectName(); }
    bool enregistrerFiche() override { return enregistrer(); }

    // The campaign as the form and its grids hold it.
    Campagne campagne() const;
    // Opens the request screen initialised from a saved campaign (set by the main window).
    std::function<void(const QString &codeCampagne)> ouvrirDemande;

    GrilleDonnees *SprCampagnes;
    QLineEdit *TxtCode, *TxtNom, *TxtDateDebut, *TxtDateFin, *TxtContexte, *TxtReferenceMarche,
        *TxtCommentaire, *TxtContact;
    ComboCodee *CboLaboratoire, *CboTypeDemande, *CboEmetteur, *CboPayeur, *CboPreleveur,
        *CboSupport, *CboListeParametres, *CboTypeCampagne;
    QCheckBox *ChkBancarisation;
    GrilleSaisie *SprStations, *SprParametres;
    QPushButton *CmdNouveau, *CmdEnregistrer, *CmdSupprimer, *CmdGenererDemande, *CmdExporterCarte;
    QPushButton *CmdAjouterStation, *CmdRetirerStation, *CmdViderStations, *CmdAjouterParametre,
        *CmdRetirerParametre, *CmdViderParametres;
    QRadioButton *OptAnalyses, *OptPrelevements, *OptDemandes, *OptInterventions;
    QCheckBox *ChkTourneeGestion;
    QPushButton *CmdAfficherSuivi, *CmdExporterSuivi;
    QTableWidget *SprSuivi;

  public slots:
    void chargerCampagnes();
    // Shows the campaign of this code, or an empty form for "".
    void choisirCampagne(const QString &code);
    void nouvelle() { choisirCampagne({}); }
    bool enregistrer();
    void supprimer();
    void viderStations();
    void viderParametres();
    void genererDemande();
    // Writes the stations' map layer to this file (asked for when empty) and opens it.
    void exporterCarte(const QString &chemin = {});
    void afficherSuivi();
    // Writes the follow-up table to this file (asked for when empty).
    void exporterSuivi(const QString &chemin = {});

  private:
    QWidget *creerFormulaire();
    QWidget *creerGrilles();
    QWidget *creerSuivi();
    void definirColonnes();
    void remplirFiche(const FicheCampagne &fiche);
    void remplirStations(const QVector<StationCampagne> &stations);
    void completerStation(int ligne);
    void campagneChoisie(int ligne);
    // The list shows the campaign of the form as its current row (none for a new one).
    void selectionnerCampagneAffichee();
    VueSuivi vueChoisie() const;
    void montrerSuivi(const TableSuivi &table);

    QVector<LigneCampagne> m_campagnes;
    TableSuivi m_suivi;
};

} // namespace vyk
