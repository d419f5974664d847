#pragma once

// The laboratory request screen: the requests (newest first), the chosen request's form, its
// stations, its parameter rows with their bulk edits, its generation history, and the commands
// new, initialise from a campaign, save, delete, "Dupliquer la demande" and the generation of
// the COM_LABO message. Everything is done by demandes/Demandes.h and
// demandes/MessageComLabo.h. Unsaved edits (form, stations, parameters) are offered for saving
// before another request replaces them or the screen closes.

#include "demandes/Demandes.h"
#include "demandes/Messagerie.h"

#include "ui/widgets/ChampsFormulaire.h"
#include "ui/widgets/Fiche.h"

#include <QHash>

#include <memory>

class QPushButton;

namespace vyk {

class ComboCodee;
class GrilleDonnees;
class GrilleSaisie;

class FrmDemandePrelvement1 : public Fiche
{
    Q_OBJECT
  public:
    explicit FrmDemandePrelvement1(QWidget *parent = nullptr);

    QString cleFenetre() const override { return objectName(); }
    bool enregistrerFiche() override { return enregistrer(); }

    // The request as the form holds it.
    FicheDemande fiche() const;
    void afficher(const FicheDemande &fiche);
    // Shows the stored request (a row of the list).
    bool ouvrir(int code);
    // A new request initialised from the campaign (the campaign screen's road).
    bool ouvrirDepuisCampagne(int codeCampagne);
    // Mail through another program (tests record it); the screen keeps it.
    void definirMessagerie(std::unique_ptr<Messagerie> messagerie);
    // The output folder used instead of the setting (tests, or after the user chose one).
    void definirDossier(const QString &dossier) { m_dossier = dossier; }

    GrilleDonnees *SprDemandes;
    QHash<int, QWidget *> champs; // by ChampDemande
    ComboCodee *CboStation;
    GrilleDonnees *SprStations;
    GrilleSaisie *SprParametres;
    ComboCodee *CboLieux;
    ComboCodee *CboFractions;
    ComboCodee *CboSupports;
    ComboCodee *CboCampagne;
    GrilleDonnees *SprHistorique;
    QPushButton *CmdNouveau;
    QPushButton *CmdCampagne;
    QPushButton *CmdEnregistrer;
    QPushButton *CmdSupprimer;
    QPushButton *CmdDupliquer;
    QPushButton *CmdGenerer;
    QPushButton *CmdAjouterStation;
    QPushButton *CmdRetirerStation;
    QPushButton *CmdInsererParametre;
    QPushButton *CmdRetirerParametre;
    QPushButton *CmdChargerListe;
    QPushButton *CmdModifierLieux;
    QPushButton *CmdModifierFractions;
    QPushButton *CmdModifierSupports;

  public slots:
    void chargerDemandes();
    void nouvelle();
    void initialiserDepuisCampagne();
    bool enregistrer();
    void supprimer();
    void dupliquer();
    void generer();
    void ajouterStation();
    void chargerListe();

  private:
    QWidget *creerFormulaire();
    QWidget *creerStations();
    QWidget *creerParametres();
    void afficherStations(const QVector<int> &stations);
    void afficherHistorique();
    void modifierColonne(ColonneParametre colonne, const ComboCodee *choix);
    bool enregistrerSansMessage();
    void demandeChoisie(int ligne);
    // The list shows the request of the form as its current row (none for a new one).
    void selectionnerDemandeAffichee();

    int m_code = 0;
    ChampsFormulaire m_formulaire;
    QVector<int> m_stations;
    QString m_dossier;
    std::unique_ptr<Messagerie> m_messagerie;
};

} // namespace vyk
