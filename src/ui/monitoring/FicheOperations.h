#pragma once

// The operation card of a station: the operations (of one point or all), newest first; the form
// of one operation; and its child grids, each with its own save: elementary samples, habitat
// covers, environmental conditions, devices, results, survey units (macrophytes) and taxa lists.

#include "indices/ClasseurModele.h"
#include "indices/DescriptionIndice.h"
#include "monitoring/GrillesOperation.h"
#include "monitoring/ListeTaxonsOperation.h"
#include "monitoring/OperationsHydrobio.h"
#include "ui/widgets/ChampsFormulaire.h"
#include "ui/widgets/Fiche.h"

#include <QHash>
#include <QPointer>

#include <functional>
#include <memory>

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace vyk {

class ComboCodee;
class FicheSelectionTaxons;
class GrilleDonnees;
class GrilleSaisie;

class FicheOperations : public Fiche
{
    Q_OBJECT
  public:
    // codePoint >= 0: the operations of that point only (the filter may be changed).
    explicit FicheOperations(qint64 station, qint64 codePoint = -1, QWidget *parent = nullptr);

    // One window per station.
    QString cleFenetre() const override { return objectName(); }
    bool enregistrerFiche() override { return enregistrer(); }

    qint64 station() const { return m_station; }
    // Reads the operation list again and shows the operation of this code ("" for a new one).
    void chargerListe(const QString &aSelectionner = {});
    void nouvelle();
    void afficherOperation(const QString &code);
    bool enregistrer();
    bool supprimer();
    FicheOperation operationFormulaire() const;
    QString codeOperation() const { return m_operation.code; }
    // The identifier of the point of the operation shown ("" when none).
    QString identifiantPoint() const;

    // Child grids: "prelevements", "conditions", "dispositifs", "resultats".
    GrilleSaisie *grille(const QString &nom) const { return m_grilles.value(nom).table; }
    int ajouterLigne(const QString &nom);
    bool supprimerLigne(const QString &nom);
    bool enregistrerGrille(const QString &nom);
    bool enregistrerRecouvrements();
    bool enregistrerUnites();
    // Taxa of the list shown.
    bool enregistrerTaxons();
    bool supprimerTaxon();
    // Opens the taxa picker; the chosen taxa join the grid when it is validated.
    void DeclencheAjoutTaxons();
    FicheSelectionTaxons *selectionTaxons() const;
    int codeListe() const;

    // The IBGN of the list shown by the site's workbook model, its results stored with the
    // operation; the engine is LibreOffice unless replaced (tests).
    bool calculIBGN();
    std::function<std::unique_ptr<ClasseurModele>()> moteurIbgn;

    QWidget *champ(const QString &colonne) const override { return m_formulaire.champ(colonne); }

    // Index commands: the operation's list sent to an external calculator, its results stored
    // with the operation (the diagnostic tool leaves documents, whose folder is opened).
    void cmdCalculI2M2_Click();
    void cmdCalculIBGDCE_Click();
    // IBMR for a macrophyte point ("271"), IBD otherwise.
    void cmdCalculFloristique_Click();
    void cmdCalculDiagnostique_Click();
    // Shows a folder of documents (the file explorer; tests replace it).
    std::function<void(const QString &dossier)> ouvrirDossier;

  signals:
    // The sample card of an operation of the station (the main window opens it).
    void prelevementDemande(qint64 station, const QString &codeOperation);

  private:
    struct Grille
    {
        const DefinitionGrille *def = nullptr;
        GrilleSaisie *table = nullptr;
        QVector<QVector<QVariant>> cles; // stored key of each line
    };

    QLayout *construireCommandesIndices();
    void calculerIndice(const DescriptionIndice &indice);
    void construireFormulaire(QWidget *page);
    void construireCommandeIbgn(QHBoxLayout *barre);
    void pointChoisi();
    void ligneChoisie(int ligne);
    int ligneOperation(const QString &code) const;
    void construireGrilles();
    QWidget *pageGrille(const QString &titre, GrilleSaisie *table,
                        const std::function<void()> &ajouter,
                        const std::function<void()> &supprimer,
                        const std::function<void()> &enregistrer, QWidget *enTete = nullptr);
    void afficherFormulaire(const FicheOperation &f);
    void chargerGrilles();
    void chargerTaxons();
    void afficherTaxons();
    void recueillirTaxons();
    QString valeurChamp(const QString &colonne) const;

    // Controls, named as on every screen (tests find them by these names).
    QLabel *LblStation = nullptr;
    ComboCodee *CboPoint = nullptr;
    GrilleDonnees *SprOperations = nullptr;
    QTabWidget *Onglets = nullptr;
    QPushButton *CmdNouveau = nullptr, *CmdEnregistrer = nullptr, *CmdSupprimer = nullptr;
    // The physico-chemical sample of the operation shown (a saved one, analyses or not).
    QPushButton *CmdPrelevement = nullptr;
    QPushButton *CmdCalculIBGN = nullptr;
    QPushButton *CmdCalculI2M2 = nullptr, *CmdCalculIBGDCE = nullptr;
    QPushButton *CmdCalculFloristique = nullptr, *CmdCalculDiagnostique = nullptr;
    GrilleSaisie *SprRecouvrements = nullptr;
    GrilleSaisie *SprUnites = nullptr;
    GrilleSaisie *SprTaxons = nullptr;
    QPlainTextEdit *TxtCommentaireResultat = nullptr;
    ComboCodee *CboListe = nullptr;
    QLineEdit *TxtNomListe = nullptr;
    QPlainTextEdit *TxtCommentaireListe = nullptr;
    QCheckBox *ChkMicroPrelevement = nullptr;

    qint64 m_station;
    QString m_pointFiltre; // the point of the list shown
    bool m_retourLigne = false;
    QHash<QString, QString> m_identifiants; // codePoint -> identifiant
    FicheOperation m_operation;
    ChampsFormulaire m_formulaire;
    QHash<QString, Grille> m_grilles;
    std::unique_ptr<ListeTaxonsOperation> m_taxons;
    QPointer<FicheSelectionTaxons> m_selection;
    QWidget *m_ongletUnites = nullptr;
};

} // namespace vyk
