#pragma once

// The station card without its window: loads a station into fields of text, checks them, gives
// a new station its code, saves the row, its links and its geographic information, deletes the
// station through the cascade. The screen (ui/monitoring/FicheQualitometre) shows the fields and
// calls these operations; tests call them directly.

#include "db/ChampDecrit.h"
#include "db/CompteRendu.h"
#include "db/Messages.h"
#include "referentials/ListesCodees.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

class Progression;

namespace texteFiche {
inline const QString CHARGEMENT_IMPOSSIBLE = QStringLiteral("Impossible de charger la fiche.");
inline const QString ENREGISTREMENT_TERMINE =
    QStringLiteral("Enregistrement de la fiche du qualitomètre terminé.");
inline const QString CORRIGER = QStringLiteral(
    "Merci de corriger les erreurs suivantes pour pouvoir enregistrer le qualitomètre: ");
inline const QString BSS_INCORRECT = QStringLiteral("le numéro BSS est vide ou incorrect");
inline const QString IDENTIFIANT_VIDE = QStringLiteral("l'identifiant est vide");
inline const QString DATE_CREATION =
    QStringLiteral("la date de création n'est pas au format jj/mm/yyyy");
inline const QString DATE_FERMETURE =
    QStringLiteral("la date de fermeture n'est pas au format jj/mm/yyyy");
inline const QString PAS_UN_NOMBRE = QStringLiteral("la valeur de « %1 » n'est pas un nombre");
inline const QString TROP_LONG = QStringLiteral("le texte de « %1 » dépasse %2 caractères");
// %1 code, %2 name of the other station.
inline const QString BSS_UTILISE =
    QStringLiteral("Une station ( %1-%2) utilise déjà ce numéro BSS. Saisissez un nouveau numéro "
                   "BSS avant d'enregistrer.");
inline const QString BSS_UTILISE_SANS_DROITS =
    QStringLiteral("Un site ( %1-%2) utilise déjà ce numéro BSS mais vous ne disposez pas des "
                   "droits nécessaires pour le "
                   "consulter. Merci de contacter votre administrateur.");
inline const QString IDENTIFIANT_UTILISE =
    QStringLiteral("Une station (%1-%2) utilise déjà cet identifiant. Saisissez un nouvel "
                   "identifiant avant d'enregistrer.");
// %1 new code, %2 stored code.
inline const QString TABLE_ANALYSES_EXISTANTE = QStringLiteral(
    "Une table d'analyses existe déjà pour le code %1 : le qualitomètre garde son code %2.");
inline const QString ECHEC_ENREGISTREMENT =
    QStringLiteral("L'enregistrement du qualitomètre a échoué : %1");
inline const QString JOURNAL_MODIFICATION =
    QStringLiteral("Modification de la fiche du qualitomètre ");
inline const QString JOURNAL_DATE_CREATION = QStringLiteral("Date de création Qualito");
// %1 code, %2 date.
inline const QString DETAIL_DATE_CREATION =
    QStringLiteral("Modification de la date de création du qualitomètre (%1) à la date du: %2");
inline const QString CODE_GELE = QStringLiteral(" - (code gelé)");
inline const QString ENREGISTRER_AVANT_FICHE =
    QStringLiteral("Vous devez d'abord enregistrer le qualitomètre afin d'accéder à sa fiche");
// Deletion: %1 name, %2 code.
inline const QString CONFIRMER_SUPPRESSION = QStringLiteral(
    "Etes vous sur de vouloir supprimer la station %1 et toutes les mesures qu'elle possède ?");
inline const QString CODE_CHANGE =
    QStringLiteral("Attention, l'identifiant de la station a change. Voulez vous supprimer la "
                   "station %1 avec le code %2 ?");
inline const QString CONFIRMER_SUPPRESSION_CODE_CHANGE = QStringLiteral(
    "Etes vous sur de vouloir supprimer la station %1 et toutes les mesures qu'il possède ?");
inline const QString TITRE_SUPPRESSION = QStringLiteral("Suppression du qualitomètre");
inline const QString JOURNAL_SUPPRESSION = QStringLiteral("Suppression du qualitomètre ");
inline const QString SUPPRESSION_TERMINEE = QStringLiteral("Le qualitomètre a été supprimé.");
} // namespace texteFiche

// Fields of the card that are not columns of Qualitometres.
namespace champFiche {
inline const QString NumeroBSS = QStringLiteral("NumeroBSS");     // CodeBSS of a type "0" station
inline const QString Identifiant = QStringLiteral("Identifiant"); // CodeBSS of the other types
inline const QString EntiteHydro = QStringLiteral("CodeEntiteHydro");
inline const QString Aquifere = QStringLiteral("CodeAquifere");
inline const QString MasseEau = QStringLiteral("Code_ME");
inline const QString CarteIGN = QStringLiteral("carteIGN");
inline const QString CarteGeologique = QStringLiteral("carteGeologique");
inline const QString Parcelle = QStringLiteral("parcelle");
inline const QString Section = QStringLiteral("section");
} // namespace champFiche

// Columns of Qualitometres read by the card, in the order of its SELECT.
const QStringList &colonnesFiche();

// A page of the card's form: its title and its fields in the order of its rows. The fields are
// columns of Qualitometres, the links and the geographic information (champFiche), each with the
// size of the column that holds it.
struct PageFiche
{
    QString titre;
    ChampsDecrits champs;
};
const QVector<PageFiche> &pagesFiche();
// The description of a field of the card (any case); nullptr when the form has none.
const ChampDecrit *champDecritFiche(const QString &champ);

// One line of the data summary: first and last date (DD/MM/YYYY) and count.
struct LigneResume
{
    QString libelle;
    QString premiere;
    QString derniere;
    long long nombre = 0;
};
struct ResumeDonnees
{
    QVector<LigneResume>
        lignes; // samples, hydrobiological operations, operations with indices, states
    QString derniereMesureStatut2, derniereMesureStatut3;
    QString derniereOperationStatut2, derniereOperationStatut3;
};

// The network and water-framework header of the card.
struct EnteteStation
{
    QString reseau; // the network the station joined last
    bool dce = false;
    QString dceDebut, dceFin;
};

class EditionQualitometre
{
  public:
    // Loads the station; refused with CHARGEMENT_IMPOSSIBLE when it cannot be read.
    CompteRendu charger(qint64 code);
    // An empty card: no code until the first save.
    void nouveau();

    // The station's code, "" for a new card.
    QString code() const { return m_code; }
    bool estNouvelle() const { return m_code.isEmpty(); }

    // Field texts as the card shows them: dates DD/MM/YYYY, numbers with ".", codes of the
    // coded lists, check boxes "1"/"0". Names are the columns (colonnesFiche) or champFiche.
    QString valeur(const QString &champ) const;
    void definir(const QString &champ, const QString &texte);
    QString typeStation() const;
    // The code the card shows: the BSS number for type "0", the identifier otherwise.
    QString codeSaisi() const;
    // The stored CodeBSS and name (deletion, journal).
    QString codeStocke() const { return m_codeStocke; }
    QString nomStocke() const { return m_nomStocke; }

    // Shown beside the fields after a load.
    QString altitudeAffichee() const { return m_altitude; }
    QString codePiezometre() const
    {
        return m_codePiezometre;
    }                                     // groundwater station of the same BSS number
    QString derniereModification() const; // date + " par " + login
    const ResumeDonnees &resume() const { return m_resume; }
    const EnteteStation &entete() const { return m_entete; }

    // Checks without writing: "" when the card can be saved, otherwise the whole message.
    QString verifier() const;
    // The fields the last check refused, in the order of its message.
    const QStringList &champsRefuses() const { return m_champsRefuses; }
    // Checks, then writes the station, its links and geographic information; reloads the card.
    // The report holds the refusal, the failure or the notice of the end.
    CompteRendu enregistrer();
    // Confirmations, then the cascade; done when the station was deleted.
    CompteRendu supprimer(Progression &progression);

    // Entries of the card's coded lists.
    static EntreesCodees entreesChamp(const QString &champ);
    // Hydrogeological entities (frozen ones left out), plus the station's own when frozen.
    EntreesCodees entreesEntites() const;
    // Catchments of a level (1 to 4) under the chosen catchment of the level above.
    static EntreesCodees entreesBassins(int niveau, const QString &codeParent = {});
    // The code of the CODES_SANDRE list of a column ("" when the column has none).
    static QString champCodes(const QString &colonne);

    // The visible station after (sens 1) or before (sens -1) the current one, wrapping round;
    // the first (or last) when the current one is not among them; "" when there is none.
    static QString codeVoisin(const QStringList &codesVisibles, const QString &codeCourant,
                              int sens);

    // The user's answer to the questions of the deletion: a Yes / No box unless the caller
    // gives its own.
    Confirmation confirmer = confirmerParMessage;

  private:
    bool lireStation(qint64 code);
    void lireLiens();
    void lireAltitude();
    void lireResume();
    void lireEntete();
    bool ecrireStation(const QString &code, QString &erreur);
    void ecrireLiens(const QString &code);
    QString verifierUnicite(const QString &code) const;

    QString m_code;
    QString m_codeStocke;
    QString m_nomStocke;
    QHash<QString, QString> m_champs; // keys in lower case
    QString m_altitude;
    QString m_codePiezometre;
    ResumeDonnees m_resume;
    EnteteStation m_entete;
    mutable QStringList m_champsRefuses;
};

} // namespace vyk
