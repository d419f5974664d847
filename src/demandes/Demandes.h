#pragma once

// Laboratory requests (FrmDemandePrelvement1): a request row, its stations and its parameter
// rows, kept in QUALITOMETRES_DEMANDES and its three satellite tables. Saves and deletions are
// one transaction each and return their report; nothing here shows a dialog.

#include "db/ChampDecrit.h"
#include "db/CompteRendu.h"
#include "db/Messages.h"
#include "referentials/ListesCodees.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

namespace texteDemandes {
inline const QString PARAMETRES_INCOMPLETS =
    QStringLiteral("Certains paramètres ou leurs unités correspondantes ne sont pas renseignés. "
                   "Vous devez également renseigner les lieux et fractions de prélèvements.");
inline const QString ENREGISTREE = QStringLiteral("Enregistrement de la demande terminé.");
// Followed by the request's name and " ?".
inline const QString SUPPRIMER = QStringLiteral("Supprimer la demande:");
inline const QString SUPPRIMEE = QStringLiteral("Suppression de la demande terminée.");
inline const QString SANS_CODE_SANDRE =
    QStringLiteral("Les intervenants suivants n'ont pas pu être initialisés car ils ne possèdent "
                   "pas de code Sandre:");
// %1 the request's code.
inline const QString INCONNUE = QStringLiteral("La demande %1 n'existe pas.");
// %1 the campaign's code.
inline const QString CAMPAGNE_INCONNUE = QStringLiteral("La campagne %1 n'existe pas.");
// %1 the database's error.
inline const QString ECHEC = QStringLiteral("La demande n'a pas été enregistrée : %1");
inline const QString ECHEC_SUPPRESSION = QStringLiteral("La demande n'a pas été supprimée : %1");
// Added to the name of a duplicated request.
inline const QString SUFFIXE_COPIE = QStringLiteral(" (copie)");
} // namespace texteDemandes

// Request types as the type list shows them.
EntreesCodees typesDemande();
// The organisations offered as issuer, laboratory, payer and sampler: those with a SANDRE code
// or a SIRET, by name.
EntreesCodees intervenantsDemande();

// The fields of the request row, in the order of FicheDemande::textes.
enum ChampDemande : int
{
    DemLibelle,
    DemDate,
    DemDebut,
    DemFin,
    DemPrestataire,
    DemCodePrestataire,
    DemType,
    DemContexte,
    DemReferenceMarche,
    DemCommentaire,
    DemEmetteur,
    DemContact,
    DemPayeur,
    DemPreleveur,
    DemSupport,
    DemListeParametres,
    DemCampagne,
    NB_CHAMPS_DEMANDE
};
const ChampsDecrits &champsDemande();

// The columns of a parameter row, in the order of its texts. The place defines the groups of
// the message.
enum ColonneParametre : int
{
    ParParametre,
    ParUnite,
    ParLieu,
    ParFraction,
    ParSupport,
    ParInsitu,
    NB_COLONNES_PARAMETRE
};
const ChampsDecrits &champsParametresDemande();

struct FicheDemande
{
    int code = 0; // 0 until saved
    QStringList textes = QStringList(NB_CHAMPS_DEMANDE, QString());
    QVector<int> stations;           // codeQualitometre, in the request's order
    QVector<QStringList> parametres; // texts in ColonneParametre order

    QString texte(ChampDemande champ) const { return textes.value(champ).trimmed(); }
    void definir(ChampDemande champ, const QString &texte) { textes[champ] = texte; }
};

// A new request: today's date, coding context "1".
FicheDemande nouvelleDemande();

struct LigneListeDemande
{
    int code = 0;
    QString libelle;
    QString dateDemande; // DD/MM/YYYY
    QString debut, fin;
    QString codeLabo, laboratoire;
    QString typeDemande;
    QString campagne; // the campaign's label
};
// The requests, newest first.
QVector<LigneListeDemande> listeDemandes();

// The stored request; false when it does not exist.
bool lireDemande(int code, FicheDemande &fiche);

// Checks the form and the rows, then writes the request, its stations and its parameters in
// one transaction. A new request takes the next number, given back in fiche.code.
CompteRendu enregistrerDemande(FicheDemande &fiche);

// Asks "Supprimer la demande:" name " ?", then deletes the parameters, the stations, the
// generation history and the request, in one transaction.
CompteRendu supprimerDemande(int code, const Confirmation &confirmer = confirmerParMessage);

// A copy of the request to be saved as a new one: same fields, stations and parameters, the
// name followed by " (copie)", no history.
FicheDemande dupliquerDemande(const FicheDemande &fiche);

// Sets one column (place, fraction or support) of every parameter row.
void modifierParametres(QVector<QStringList> &parametres, ColonneParametre colonne,
                        const QString &code);

struct LigneHistorique
{
    QString fichier;
    QString date;  // DD/MM/YYYY
    QString heure; // hh:mm:ss
};
// The files generated for the request, oldest first.
QVector<LigneHistorique> historiqueDemande(int code);

struct StationDemande
{
    int code = 0;
    QString identifiant; // CodeBSS
    QString nom;
};
// The stations of these codes, in the order given; a code naming no station keeps its number
// as identifier and an empty name.
QVector<StationDemande> stationsDemande(const QVector<int> &codes);
// The stations offered for a request, by identifier: those the user may see.
EntreesCodees stationsProposees();

// --- Campaigns -------------------------------------------------------------------------------

struct InitialisationCampagne
{
    bool trouvee = false;
    FicheDemande fiche;
    // Names of the campaign's organisations that could not be copied (no code to identify
    // them in a message).
    QStringList sansCode;
    // The notice listing them, "" when every organisation was copied.
    QString message() const;
};
// The campaigns a request may be initialised from (hydrobiological and physico-chemical).
EntreesCodees campagnesProposees();
// A new request initialised from the campaign: its fields, its stations in visiting order and
// its parameters.
InitialisationCampagne demandeDepuisCampagne(int codeCampagne);
// Creates and saves the request of a campaign at once (the campaign screen's command when it
// does not open the request screen); the new code in *code.
CompteRendu creerDemandeDepuisCampagne(int codeCampagne, int *code = nullptr);

} // namespace vyk
