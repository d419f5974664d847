#pragma once

// Sampling campaigns (CAMPAGNES, CAMPAGNES_SITES, CAMPAGNES_PARAMETRES): the list of the
// hydrobiological and physico-chemical campaigns, one campaign as its screen holds it, its save
// with its checks and its deletion. Dates travel as DD/MM/YYYY texts, as the screens show them.

#include "db/CompteRendu.h"
#include "db/Messages.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace vyk {

namespace texteCampagnes {
inline const QString TITRE = QStringLiteral("Campagnes de suivi");
inline const QString NOM_ABSENT = QStringLiteral("Le nom de la campagne n'est pas renseigné.");
inline const QString DATES =
    QStringLiteral("La date de début ou de fin de la période n'est pas correcte.");
inline const QString MIXTE = QStringLiteral("Lors d'une campagne mixte, le preleveur et le "
                                            "laboratoire doivent être le même organisme.");
inline const QString PARAMETRES = QStringLiteral("Certains paramètres ne sont pas renseignés.");
// %1 the station's identifier.
inline const QString DATE_PASSAGE =
    QStringLiteral("La date de passage de la station %1 n'est pas correcte.");
inline const QString ENREGISTREE = QStringLiteral("Enregistrement de la campagne terminé.");
// Followed by the campaign's name and " ?".
inline const QString SUPPRIMER = QStringLiteral("Supprimer la campagne:");
inline const QString SUPPRIMEE = QStringLiteral("Suppression de la campagne terminée.");
inline const QString VIDER_PARAMETRES =
    QStringLiteral("Voulez-vous supprimer tous les paramètres ?");
inline const QString VIDER_STATIONS = QStringLiteral("Voulez-vous supprimer toutes les stations ?");
inline const QString DEMANDE_EXISTE = QStringLiteral(
    "Une demande existe déjà pour cette campagne. Voulez vous créer une nouvelle demande ?");
inline const QString ENREGISTRER_AVANT_DEMANDE =
    QStringLiteral("Merci d'enregistrer la campagne avant de générer la demande EDILABO "
                   "correspondante.");
// %1 the database's error.
inline const QString ECHEC = QStringLiteral("La campagne n'a pas été enregistrée : %1");
inline const QString ECHEC_SUPPRESSION = QStringLiteral("La campagne n'a pas été supprimée : %1");
} // namespace texteCampagnes

// Campaign types (typeCampagne); this module lists the hydrobiological and physico-chemical ones.
inline const QString CAMPAGNE_PIEZOMETRIE = QStringLiteral("1");
inline const QString CAMPAGNE_HYDROBIO = QStringLiteral("2");
inline const QString CAMPAGNE_PHYSICOCHIMIQUE = QStringLiteral("3");
// "Piézométrie", "Hydrobio", "Physicochimique"; "" for any other code.
QString libelleTypeCampagne(const QString &type);
// The request type of a mixed campaign: sampler and laboratory must be one organisation.
inline const QString DEMANDE_MIXTE = QStringLiteral("3");

// One campaign's fields, as the form holds them. code "" for a campaign not saved yet.
struct FicheCampagne
{
    QString code;
    QString libelle;
    QString dateDebut; // DD/MM/YYYY
    QString dateFin;
    QString codePrestataire; // laboratory
    QString typeDemande;
    QString contexteCodification = QStringLiteral("1");
    QString referenceMarche;
    QString commentaire;
    QString codeIntervenant; // issuer
    QString nomContact;
    QString codePayeur;
    QString codePreleveur;
    QString codeSupport;
    QString codeListeParametres;
    QString typeCampagne = CAMPAGNE_PHYSICOCHIMIQUE;
    bool bancarisationAutorisee = false;
};

// One row of the campaign list.
struct LigneCampagne
{
    FicheCampagne fiche;
    QString laboratoire; // the laboratory's name
    // "oui" unless bancarisationAutorise is "0".
    QString bancarisation() const;
};

// One station of a campaign, in visiting order.
struct StationCampagne
{
    QString codeSite;    // CodeQualitometre
    QString datePassage; // DD/MM/YYYY, "" when not planned
    // Shown only, read from the station and the laboratory's reference of it.
    QString codeBSS;
    QString nom;
    QString designation;
    QString x, y, typeProjection;
    QString referenceInterne;
    // CodeBSS, followed by "/" and the designation when there is one.
    QString identifiant() const;
};

// One wanted parameter; every field is required.
struct ParametreCampagne
{
    QString codeParametre;
    QString codeUnite;
    QString codeLieu;
    QString codeFraction;
    QString codeSupport;
    QString insitu; // "1" measured on site, "0" or "" in the laboratory
    bool estComplet() const;
};

struct Campagne
{
    FicheCampagne fiche;
    QVector<StationCampagne> stations;
    QVector<ParametreCampagne> parametres;
};

// A DD/MM/YYYY text as a date; invalid otherwise.
QDate dateCampagne(const QString &texte);

// The hydrobiological and physico-chemical campaigns, latest start first (compared as dates: an
// empty start counts as 01/01/1800 and an empty end as 31/12/3000), with their laboratory's name.
QVector<LigneCampagne> listerCampagnes();
// One campaign with its stations (by visiting order) and its parameters (by parameter code).
std::optional<Campagne> chargerCampagne(const QString &code);
// The stations of these codes as a station grid shows them (one query for the lot; a code
// without a station keeps its code only), with the laboratory's own reference of each.
QVector<StationCampagne> stationsCampagne(const QStringList &codesSites,
                                          const QString &codePrestataire);

// The first check of a save that fails, "" when the campaign may be saved.
QString verifierCampagne(const Campagne &campagne);
// Checks, then writes the campaign, its stations and its parameters in one transaction. A new
// campaign gets the largest code + 1 (1 for the first), given back in campagne.fiche.code.
CompteRendu enregistrerCampagne(Campagne &campagne, const QString &login = {});
// Asks "Supprimer la campagne:" name " ?", then deletes its parameters, its stations, and the
// campaign row, in that order and in one transaction; its requests lose their link to it.
CompteRendu supprimerCampagne(const QString &code, const QString &libelle,
                              const Confirmation &confirmer = confirmerParMessage);

// Whether a laboratory request was made from this campaign.
bool demandeExistePourCampagne(const QString &code);

} // namespace vyk
