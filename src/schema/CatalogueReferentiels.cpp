// Reference and support tables: analysis referentials, shared reference lists, administration,
// journal, jobs, requests, campaigns, exports and saved searches.

#include "schema/CatalogueDonnees.h"

namespace vyk {

namespace {

using namespace typesCourts;

// Parameters measured in analyses; Code is the SANDRE parameter code; Actif "1" marks parameters
// shown in lists.
// clang-format off
constexpr DefinitionColonne ANALYSES_PARAMETRES[] = {
    {"Code", T, 5}, {"Nom", T, 255}, {"Statut", T, 20}, {"DateCreation", D},
    {"DateModification", D}, {"Auteur", T, 50}, {"LibelleCourt", T, 10}, {"LibelleLong", T, 25},
    {"Definition", M}, {"Reference", M}, {"Commentaires", M}, {"NomInternational", T, 255},
    {"Calcule", T, 1}, {"Nature", T, 1}, {"Type", T, 1}, {"UniteReference1", T, 5},
    {"UniteReference2", T, 5}, {"UniteReference3", T, 5}, {"CodificationSubstanceChimique", T, 255},
    {"Actif", T, 1}, {"codeCAS", T, 20}, {"codesInternes", T, 255}, {"codeFraction", T, 5},
    {"codeSupportDefault", T, 5}, {"bancarise", T, 1}, {"codeParametresCalcul", M},
};
// clang-format on

// Measurement units.
// clang-format off
constexpr DefinitionColonne ANALYSES_UNITES[] = {
    {"Code", T, 5}, {"Nom", T, 255}, {"Symbole", T, 255}, {"Statut", T, 20}, {"DateCreation", D},
    {"DateModification", D}, {"Auteur", T, 50}, {"Commentaires", M}, {"NomInternational", T, 255},
    {"Actif", T, 1}, {"codesInternes", M},
};
// clang-format on

// Analysis, sampling, conservation and fractionation methods.
// clang-format off
constexpr DefinitionColonne METHODES[] = {
    {"Code", T, 5}, {"Nom", T, 255}, {"Statut", T, 20}, {"DateCreation", D},
    {"DateModification", D}, {"Auteur", T, 50}, {"Reference", M}, {"Commentaires", M},
    {"LibelleLong", T, 25}, {"NomInternational", T, 255}, {"Actif", T, 1},
};
// clang-format on

// Analysed fractions, each tied to a support.
// clang-format off
constexpr DefinitionColonne ANALYSES_FRACTIONS[] = {
    {"Code", T, 5}, {"Nom", T, 255}, {"Statut", T, 20}, {"DateCreation", D},
    {"DateModification", D}, {"Auteur", T, 50}, {"Commentaires", M}, {"NomInternational", T, 255},
    {"Nature", T, 1}, {"CodeSupport", T, 5},
};
// clang-format on

// Supports (water, sediment, biota ...).
// clang-format off
constexpr DefinitionColonne ANALYSES_SUPPORTS[] = {
    {"Code", T, 5}, {"Nom", T, 255}, {"Statut", T, 20}, {"DateCreation", D},
    {"DateModification", D}, {"Auteur", T, 50}, {"Commentaires", M}, {"NomInternational", T, 255},
};
// clang-format on

// Named selections of parameters, by list type, with an optional parent selection.
constexpr DefinitionColonne ANALYSES_PARAMETRES_SELECTIONS_TITRE[] = {
    {"Code", T, 17}, {"Nom", T, 255}, {"TypeListe", R}, {"codeParent", T, 17}, {"defaut", T, 1},
};

// Parameters (and units) of a named selection, in order num.
constexpr DefinitionColonne ANALYSES_PARAMETRES_SELECTIONS[] = {
    {"Code", T, 17}, {"num", C}, {"CodeParametre", T, 6}, {"CodeUnite", T, 5}, {"TypeListe", R},
};

// Thresholds of a parameter and unit for a threshold list.
// clang-format off
constexpr DefinitionColonne ANALYSES_SEUILS[] = {
    {"CodeParametre", T, 5}, {"CodeUnite", T, 5}, {"Seuil1", R}, {"Seuil2", R}, {"Seuil3", R},
    {"Seuil4", R}, {"typeSeuil", C}, {"TypeListe", T, 50}, {"codeElement", T, 50},
    {"TypeStation", T, 1}, {"TypeFr", R}, {"saisonnalite", R},
};
// clang-format on

// Kinds of state assessment.
// clang-format off
constexpr DefinitionColonne ETATS[] = {
    {"CodeEtat", R}, {"Libelle", T, 100}, {"Mnemonique", T, 10}, {"Finalite", T, 255},
    {"principal", T, 1}, {"commentaire", M}, {"CodeEtatCalcule", M}, {"OrdreEtat", R},
};
// clang-format on

// Taxa.
// clang-format off
constexpr DefinitionColonne TAXONS[] = {
    {"codeTaxon", T, 6}, {"nomLatin", T, 30}, {"statut", T, 20}, {"dateCreation", D},
    {"dateMiseAJour", D}, {"auteur", T, 50}, {"redacteur", T, 50}, {"nomCommun", T, 30},
    {"referenceBibliographique", M}, {"commentaire", M}, {"actif", T, 1}, {"elementDe", T, 6},
    {"theme", R}, {"niveau", R}, {"codeOmnidia", T, 6}, {"codeTaxonCalcul", M},
    {"synonymeOmnidia", T, 6}, {"teraOmnidia", T, 6}, {"refMuseum", T, 20}, {"basionyme", T, 100},
    {"synonymes", M}, {"caracteristiques", M}, {"morphologie", M}, {"ecologie", M}, {"noteIBD", R},
    {"noteIPS", R}, {"notes", M}, {"observations", M}, {"commentairesIntervenant", M},
    {"typeEspece", C}, {"statutEspece", C}, {"nePasConfondre", M}, {"aspectPopulation", M},
    {"floraison", M}, {"legendePhoto", M}, {"codeMacrophyte", T, 12},
};
// clang-format on

// Ecological traits of taxa.
// groupe: code of the list TAXONS.GROUPE, required by the traits screen.
constexpr DefinitionColonne TRAITS_ECOBIO[] = {
    {"codeTrait", C}, {"nom", T, 100}, {"commentaires", M}, {"referencesBiblio", M}, {"groupe", C},
};

// Modalities of an ecological trait.
// clang-format off
constexpr DefinitionColonne TRAITS_ECOBIO_MODALITES[] = {
    {"codeTrait", C}, {"codeModalite", C}, {"nom", T, 100}, {"commentaires", M},
    {"abbreviation", T, 20},
};
// clang-format on

// Trait modality values of taxa.
constexpr DefinitionColonne TRAITS_ECOBIO_TAXONS[] = {
    {"codeTrait", C},
    {"codeModalite", C},
    {"codeTaxon", T, 6},
};

// Substrates of hydrobiological samplings.
// clang-format off
constexpr DefinitionColonne SUBSTRATS[] = {
    {"CodeSubstrat", T, 5}, {"Nom", T, 255}, {"Statut", T, 20}, {"DateCreation", D},
    {"DateModification", D}, {"Auteur", T, 50}, {"Commentaires", M}, {"mnemonique", T, 15},
    {"Actif", T, 1},
};
// clang-format on

// Monitoring programmes.
// clang-format off
constexpr DefinitionColonne DISPOSITIFS[] = {
    {"codeDispositif", T, 10}, {"nom", T, 200}, {"mnemonique", T, 15}, {"dateCreation", D},
    {"contact", T, 100}, {"dateMiseAJour", D}, {"etat", T, 1}, {"metaDispositif", T, 1},
    {"typeReseau", T, 10}, {"finalites", M}, {"nbStations", R}, {"nbIndiciatifStations", R},
    {"empriseSpatial", T, 2}, {"empriseSpatialMilieu", T, 1}, {"nomProtocole", T, 255},
    {"localisationInternet", T, 250}, {"datePublication", D}, {"conditionsDiffusion", T, 1},
    {"commentaires", M}, {"donneesTelechargeables", T, 1}, {"dateFinExploitation", D},
    {"commentairesDescriptif", M},
};
// clang-format on

// Generic coded lists keyed by (Champ, Code); unique index PK_CODES_SANDRE on (Champ, Code).
// Libelle is wider than the 50 characters of older layouts: seeded and national labels are
// longer (the seed step widens it on older server databases).
// clang-format off
constexpr DefinitionColonne CODES_SANDRE[] = {
    {"Champ", T, 50}, {"Code", C}, {"Libelle", T, 255}, {"Commentaire", M}, {"Statut", C},
    {"DateCreation", D}, {"DateModification", D}, {"Auteur", T, 50}, {"Projet", T, 12},
    {"codeReference", T, 20}, {"mnemonique", T, 100},
};
// clang-format on

// Per coded list, the referential it follows and its last update.
// clang-format off
constexpr DefinitionColonne CODES_SANDRE_REFERENTIEL[] = {
    {"champ", T, 50}, {"code", C}, {"referentiel", T, 10}, {"dateMaj", D}, {"majSandre", T, 1},
    {"userMaj", T, 12},
};
// clang-format on

// Historical taxon codes and the SANDRE code each stands for (recovery of old workbooks).
constexpr DefinitionColonne TAXONS_CORRESP[] = {
    {"code", T, 20},
    {"Sandre", T, 6},
};

// Organisations (laboratories, producers, owners ...).
// clang-format off
constexpr DefinitionColonne INTERVENANTS[] = {
    {"CodeIntervenant", R}, {"SIRET", T, 14}, {"Nom", M}, {"Statut", T, 20}, {"DateCreation", D},
    {"DateMiseAJour", D}, {"Auteur", T, 50}, {"Mnemonique", T, 35}, {"BoiteLettre", T, 35},
    {"ComplementAdresse", T, 35}, {"Rue", T, 35}, {"LieuDit", T, 35}, {"Ville", T, 35},
    {"Departement", T, 35}, {"Commentaires", T, 255}, {"Domaines", C}, {"email", T, 100},
    {"Telephone", T, 50}, {"CodeSandre", T, 17}, {"Telephone2", T, 50}, {"Fax", T, 50},
    {"Portable", T, 50}, {"codeCommune", R}, {"codeCedex", R},
};
// clang-format on

// Persons.
// clang-format off
constexpr DefinitionColonne CONTACTS[] = {
    {"CodeContact", R}, {"Nom", T, 255}, {"Adresse", T, 255}, {"CodePostal", T, 5},
    {"CodeCommune", R}, {"Telephone", T, 20}, {"Fax", T, 50}, {"CompteBancaire", T, 50},
    {"TelBureau", T, 24}, {"TelPortable", T, 24}, {"Email", T, 255}, {"RaisonSocial", T, 255},
    {"Titre", T, 50}, {"telephone2", T, 50}, {"commentaire", M}, {"codeCedex", R},
};
// clang-format on

// Municipalities.
// clang-format off
constexpr DefinitionColonne COMMUNES[] = {
    {"CodeCommune", T, 12}, {"Nom", T, 35}, {"Situation", R}, {"NumDept", T, 3}, {"superficie", R},
    {"codePays", T, 2},
};
// clang-format on

// Postal CEDEX codes of municipalities.
constexpr DefinitionColonne COMMUNES_CEDEX[] = {
    {"codeCedex", R},
    {"codeCommune", T, 12},
    {"cedex", T, 10},
};

// Countries.
constexpr DefinitionColonne PAYS[] = {
    {"CodePays", T, 2},
    {"CodePaysNum", C},
    {"Nom", T, 70},
    {"NomInter", T, 70},
};

// Water bodies.
// clang-format off
constexpr DefinitionColonne MASSES_EAUX[] = {
    {"Code_ME", T, 22}, {"Code_Europeen", T, 24}, {"Libelle", T, 100}, {"Date_Insertion", D},
    {"Acronyme_Operateur", T, 15}, {"Annee_Rapportage", D}, {"Surface", R},
    {"Surface_sous_couverture", R}, {"Precision_SSC", T, 1}, {"Multi_bassin", T, 1},
    {"Multi_pays", T, 1}, {"Type_Souterrain", T, 2}, {"Ecoul_Libre_captif_dis", T, 1},
    {"Ecoul_Libre", T, 1}, {"Ecoul_captif", T, 1}, {"Ecoul_maj_libre", T, 1},
    {"Ecoul_maj_captif", T, 1}, {"Karstique", T, 1}, {"Frange_littorale", T, 1},
    {"Regroupees", T, 1}, {"Commentaire", T, 250}, {"Type", R},
};
// clang-format on

// Monitoring networks; DCE "1" marks networks of the water framework directive.
// clang-format off
constexpr DefinitionColonne RESEAUX[] = {
    {"CodeReseau", C}, {"Libelle", T, 110}, {"Mnemonique", T, 40}, {"Finalite", T, 80},
    {"DCE", T, 1}, {"Commentaire", M}, {"CodeSandre", T, 70}, {"aEditer", T, 1},
};
// clang-format on

// Aquifers.
constexpr DefinitionColonne AQUIFERES[] = {
    {"CodeAquifere", R},
    {"libelle", T, 150},
    {"CodeMargat", T, 17},
    {"Commentaire", M},
};

// Hydrogeological entities.
// clang-format off
constexpr DefinitionColonne ENTITES_HYDROGEOLOGIQUES[] = {
    {"CodeEntiteHydro", R}, {"Nom", T, 250}, {"Statut", C}, {"DateCreation", D},
    {"DateModification", D}, {"Auteur", T, 50}, {"Nature", C}, {"Etat", C}, {"Structure", C},
    {"Generalites", T, 255}, {"Denomination", T, 40}, {"TypeDominant", C},
    {"EpaisseurMouilleMoy", R}, {"EpaisseurMouilleMin", R}, {"EpaisseurMouilleMax", R},
    {"ProfondeurAccesMoy", R}, {"ProfondeurAccesMin", R}, {"ProfondeurAccesMax", R},
    {"TransmissiviteMoy", R}, {"TransmissiviteMin", R}, {"TransmissiviteMax", R},
    {"PermeabiliteMoy", R}, {"PermeabiliteMin", R}, {"PermeabiliteMax", R}, {"PorositeUtileMoy", R},
    {"PorositeUtileMin", R}, {"PorositeUtileMax", R}, {"CoeffEmmagasinementMoy", R},
    {"CoeffEmmagasinementMin", R}, {"CoeffEmmagasinementMax", R}, {"Superficie", R},
    {"Commentaires", M}, {"Nom_Strati_local", T, 50}, {"Type_Reservoir", R}, {"code_Sandre", T, 17},
};
// clang-format on

// Catchments.
// clang-format off
constexpr DefinitionColonne BASSINS_VERSANTS[] = {
    {"codeBV", R}, {"Code", T, 20}, {"Nom", M}, {"Superficie", R}, {"Commentaire", M},
    {"Parent", T, 20},
};
// clang-format on

// Hydrographic codes by type.
constexpr DefinitionColonne CODES_HYDRO[] = {
    {"TypeCode", R},
    {"code", T, 100},
    {"Libelle", T, 250},
    {"Description", M},
};

// Labels by field and code.
// clang-format off
constexpr DefinitionColonne LIBELLES[] = {
    {"Champ", T, 100}, {"Code", T, 50}, {"Mnemonique", T, 50}, {"Libelle", T, 50},
    {"Commentaire", T, 250}, {"Code_Sandre", T, 50}, {"pays_iso", T, 10},
};
// clang-format on

// Calendar periods of every day of a year.
// clang-format off
constexpr DefinitionColonne PERIODES[] = {
    {"Jour", T, 6}, {"Jour_inverse", T, 6}, {"Decade", T, 6}, {"Decade_inverse", T, 6},
    {"Mois", T, 6}, {"Mois_inverse", T, 6}, {"Trimestre", T, 6}, {"Trimestre_inverse", T, 6},
    {"Annee", T, 6}, {"Annee_inverse", T, 6}, {"Hydro", T, 6}, {"Hydro_inverse", T, 6},
};
// clang-format on

// Years.
constexpr DefinitionColonne ANNEES[] = {
    {"Num_Annee", T, 4},
};

// Key/value markers: one row per (Module, Identifiant); the schema version row and the upgrade
// markers live here. The column DateCreation was named Date in older databases.
constexpr DefinitionColonne PARAMETRES[] = {
    {"Module", T, 100},
    {"DateCreation", D},
    {"Mac", T, 100},
    {"Identifiant", T, 100},
};

// Settings of the suite by module and parameter name.
constexpr DefinitionColonne PARAMETRES_VYLEN[] = {
    {"Module", T, 100},
    {"parametre", T, 100},
    {"valeur", M},
};

// Data settings with a version number.
constexpr DefinitionColonne PARAMETRAGE_DATA[] = {
    {"id", R},
    {"libelle", T, 50},
    {"projet", T, 10},
    {"version", R},
};

// Per-user column widths of lists.
constexpr DefinitionColonne PARAMETRES_LISTE_QUALITO[] = {
    {"utilisateur", T, 12},
    {"indiceColonne", C},
    {"largeur", R},
};

// Users.
// clang-format off
constexpr DefinitionColonne UTILISATEURS[] = {
    {"login", T, 12}, {"password", T, 12}, {"isAdmin", T, 1}, {"nom", T, 255},
    {"codeIntervenant", R}, {"metadata", T, 1},
};
// clang-format on

// Rights of a user.
constexpr DefinitionColonne UTILISATEURS_HABILITATIONS[] = {
    {"login", T, 12},
    {"habilitation", T, 255},
};

// Stations a user may see or not.
constexpr DefinitionColonne UTILISATEURS_STATIONS[] = {
    {"login", T, 12},
    {"typeStation", T, 12},
    {"identifiant", T, 70},
    {"modeSelect", T, 20},
};

// Saved list settings of a user.
// clang-format off
constexpr DefinitionColonne UTILISATEURS_LISTES[] = {
    {"Nom", T, 12}, {"Module", T, 12}, {"CodeListe", T, 12}, {"LibelleListe", T, 40},
    {"Tri", T, 255}, {"Defaut", T, 1}, {"selectionFiltre", M}, {"formuleFiltre", M},
    {"requete", T, 1}, {"loginmaj", T, 50},
};
// clang-format on

// Journal of events.
// clang-format off
constexpr DefinitionColonne JOURNAL[] = {
    {"dateEvt", D}, {"niveau", T, 5}, {"Titre", T, 255}, {"utilisateur", T, 12}, {"contact", R},
    {"ip", T, 128}, {"projet", T, 12}, {"description", M},
};
// clang-format on

// Scheduled or recorded import jobs.
// clang-format off
constexpr DefinitionColonne JOBS[] = {
    {"id", A, 0, true}, {"nom", T, 255}, {"description", T, 255}, {"planification", T, 50},
    {"station_type", L}, {"format_donnees", L}, {"login", T, 255},
};
// clang-format on

// Runs of a job.
// clang-format off
constexpr DefinitionColonne JOBS_EXECUTION[] = {
    {"id", A, 0, true}, {"execution_timestamp", D}, {"duration", L}, {"statut", B}, {"job_id", L},
    {"stations_number", L}, {"stations_number_complete", L},
};
// clang-format on

// Messages of a job run.
// clang-format off
constexpr DefinitionColonne JOBS_JOURNAL[] = {
    {"id", A, 0, true}, {"commentaire", M}, {"valeur", M}, {"execution_timestamp", D},
    {"station", T, 255}, {"job_execution_id", L},
};
// clang-format on

// Properties file of a job.
constexpr DefinitionColonne JOBS_PROPERTIES[] = {
    {"id", L},
    {"chemin_properties", M},
};

// Web-service settings of a job.
constexpr DefinitionColonne JOBS_WS[] = {
    {"id", L},
    {"codes", M},
    {"reprise", T, 255},
    {"cumul", T, 255},
};

// Data formats of jobs.
constexpr DefinitionColonne FORMAT_DONNEES[] = {
    {"id", A, 0, true},
    {"code", T, 255},
    {"nom", T, 255},
};

// Station types of jobs.
constexpr DefinitionColonne STATION_TYPE[] = {
    {"id", A, 0, true},
    {"code", T, 255},
    {"nom", T, 255},
};

// Sampling requests.
// clang-format off
constexpr DefinitionColonne QUALITOMETRES_DEMANDES[] = {
    {"codeDemande", R}, {"codeDemandePrestataire", T, 100}, {"typeDemande", T, 1},
    {"contexteCodification", T, 1}, {"dateDemande", D}, {"libelle", T, 100},
    {"dateDebutApplication", D}, {"dateFinApplication", D}, {"referenceMarche", T, 50},
    {"commentaire", M}, {"codeIntervenant", T, 17}, {"nomContact", T, 115},
    {"codePrestataire", T, 17}, {"codePayeur", T, 17}, {"codePreleveur", T, 17},
    {"codeSupport", T, 5}, {"codeListeParametres", T, 17}, {"datemaj", D}, {"loginmaj", T, 50},
    {"codeCampagne", R},
};
// clang-format on

// Stations of a request.
constexpr DefinitionColonne QUALITOMETRES_DEMANDES_SITES[] = {
    {"codeDemande", R},
    {"codeQualitometre", R},
};

// Parameters of a request.
// clang-format off
constexpr DefinitionColonne QUALITOMETRES_DEMANDES_PARAMETRES[] = {
    {"codeDemande", R}, {"codeParametre", T, 5}, {"codeUnite", T, 5}, {"codeLieu", T, 1},
    {"codeFraction", T, 3}, {"codeSupport", T, 5}, {"insitu", T, 1},
};
// clang-format on

// Files generated for a request.
constexpr DefinitionColonne QUALITOMETRES_DEMANDES_HISTORIQUES[] = {
    {"codeDemande", R},
    {"nomFichier", T, 250},
    {"dateGeneration", D},
    {"heureGeneration", D},
};

// Sampling campaigns.
// clang-format off
constexpr DefinitionColonne CAMPAGNES[] = {
    {"codeCampagne", R}, {"typeDemande", T, 1}, {"contexteCodification", T, 1}, {"libelle", T, 100},
    {"dateDebutApplication", T, 10}, {"dateFinApplication", T, 10}, {"referenceMarche", T, 50},
    {"commentaire", M}, {"codeIntervenant", T, 17}, {"nomContact", T, 115},
    {"codePrestataire", T, 17}, {"codePayeur", T, 17}, {"codePreleveur", T, 17},
    {"codeSupport", T, 5}, {"codeListeParametres", T, 17}, {"typeCampagne", C},
    {"bancarisationautorise", T, 1},
};
// clang-format on

// Stations of a campaign.
constexpr DefinitionColonne CAMPAGNES_SITES[] = {
    {"codeCampagne", R},
    {"codeSite", R},
    {"ordrePassage", R},
    {"datePassage", D},
};

// Parameters of a campaign.
// clang-format off
constexpr DefinitionColonne CAMPAGNES_PARAMETRES[] = {
    {"codeCampagne", R}, {"codeParametre", T, 5}, {"codeUnite", T, 5}, {"codeLieu", T, 1},
    {"codeFraction", T, 3}, {"codeSupport", T, 5}, {"insitu", T, 1},
};
// clang-format on

// Export lists of this module (KML and site exports).
// clang-format off
constexpr DefinitionColonne LISTES_EXPORT_QUALITE[] = {
    {"CodeListe", R}, {"TypeListe", T, 1}, {"Nom", T, 100}, {"DateCreation", D}, {"DateCalcul", D},
    {"CodeProjection", T, 5}, {"ExportSite", T, 1}, {"ExportKml", T, 1},
    {"ExportGenericSites", T, 1}, {"cleeGoogle", T, 255}, {"Localisation", T, 1},
    {"DescriptionHydro", T, 1}, {"Contacts", T, 1}, {"Commentaires", T, 1}, {"Bulletins", T, 1},
    {"Interventions", T, 1}, {"PhotoSite", T, 1}, {"PhotoCarte", T, 1}, {"auteur", T, 250},
    {"ExportFicheOnly", T, 1}, {"zoom", R}, {"zoomSite", R}, {"commentaireExport", M},
    {"BulletinsGeneraux", T, 1}, {"Documents", T, 1}, {"Reseaux", T, 1},
    {"TypeProjectionLocalisation", R}, {"TypeAffichageInfo", T, 1}, {"DetailInterventions", T, 1},
    {"codeGestionnaire", T, 1}, {"CodeProprietaire", T, 1}, {"Impression", T, 1},
    {"exportMacroinvertebres", T, 1}, {"exportDiatomees", T, 1}, {"exportPC", T, 1},
    {"protocole", R}, {"qualificationMacroinvertebres", R}, {"statutMacroinvertebres", R},
    {"qualificationDiatomees", R}, {"statutDiatomees", R}, {"qualificationPC", R}, {"statutPC", R},
};
// clang-format on

// Stations of an export list, in order.
constexpr DefinitionColonne LISTES_EXPORT_QUALITE_SITES[] = {
    {"CodeListe", R},
    {"TypeListe", T, 1},
    {"Code", R},
    {"Ordre", R},
};

// Parameters of an export list.
constexpr DefinitionColonne LISTES_EXPORT_QUALITE_PARAM[] = {
    {"CodeListe", R}, {"TypeListe", T, 1}, {"Code", T, 20}, {"unite", T, 10}, {"site", R},
};

// Saved chart overlays.
// clang-format off
constexpr DefinitionColonne QUALITOMETRES_SUPERPOSITIONS[] = {
    {"TypeListe", R}, {"TypeSeuil", R}, {"TypeAffichage", R}, {"CategorieListe", R},
    {"TypeDonnees", R}, {"Seuil", R}, {"Selection", T, 17}, {"DonneeSupSeuil", T, 1}, {"Statut", R},
    {"Qualification", R}, {"Support", R}, {"Phase", R}, {"Protocole", R}, {"Producteur", R},
    {"loginmaj", T, 50}, {"datemaj", D},
};
// clang-format on

// Curves of a saved overlay.
// clang-format off
constexpr DefinitionColonne QUALITOMETRES_SUPERPOSITIONS_SELECTION[] = {
    {"TypeListe", R}, {"CodeListe", R}, {"indice", R}, {"selection", T, 1}, {"Titre", T, 100},
    {"cleSite", T, 100}, {"codeQualitometre", R}, {"couleur", T, 24}, {"NumBSS", T, 24},
    {"backColor", L}, {"foreColor", L},
};
// clang-format on

// Parameters of a saved overlay.
constexpr DefinitionColonne QUALITOMETRES_SUPERPOSITIONS_PARAMETRES[] = {
    {"TypeListe", R},
    {"CodeListe", R},
    {"Parametre", R},
    {"Unite", R},
};

// Reference curves of a station.
// clang-format off
constexpr DefinitionColonne COURBES_REFERENCES_QUALITO[] = {
    {"CodeCourbeReference", C}, {"LibelleCourbeReference", T, 50}, {"CodeQualitometre", C},
    {"Coefficient", R}, {"CodeParametre", T, 5}, {"CodeUnite", T, 5}, {"CodeBSS", T, 24},
    {"CodeBSSQualito", T, 24}, {"typeSeuil", T, 5}, {"calculAuto", T, 1},
};
// clang-format on

// Parameters of a reference curve.
constexpr DefinitionColonne COURBES_REFERENCES_QUALITO_PARAM[] = {
    {"CodeCourbeReference", C},
    {"CodeParametre", T, 5},
    {"CodeUnite", T, 5},
};

// Bulletins.
constexpr DefinitionColonne BULLETINS_QUALITO[] = {
    {"CodeBulletin", R}, {"Titre", M}, {"Chapitre", M}, {"DatePublication", D}, {"Auteur", T, 50},
};

// Stations of a bulletin.
constexpr DefinitionColonne BULLETINS_QUALITO_SELECTION[] = {
    {"CodeBulletin", R},
    {"CodeQualitometre", R},
};

// Saved searches. CodeListe holds a selection list's code, which is text ("MOOX").
// clang-format off
constexpr DefinitionColonne RESULT_RECH_VYK[] = {
    {"id", A, 0, true}, {"TypeListe", R}, {"CodeListe", T, 17}, {"typedonnees", T, 12},
    {"DateRecherche", D}, {"Intitule", T, 255},
};
// clang-format on

// The criteria of a saved search, one row per criterion that is set.
constexpr DefinitionColonne RESULT_RECH_CRITERES[] = {
    {"idResultRech", L, 0, true},
    {"critere", T, 30},
    {"valeur", M},
};

// Per-element results of a saved search.
// clang-format off
constexpr DefinitionColonne RESULT_INDIC[] = {
    {"id", A, 0, true}, {"idResultRech", C, 0, true}, {"code", T, 255}, {"Element", T, 255},
    {"NbRecherche", C}, {"nbDetection", C}, {"seuil1", C}, {"seuil1_2", C}, {"seuil2_3", C},
    {"seuil3_4", C}, {"seuil4", C}, {"tauxDetection", R}, {"nbDepassementSeuil1", C},
    {"TauxDepassement", R}, {"Centile90", R}, {"Mini", R}, {"Moyenne", R}, {"Maxi", R},
    {"Quartile1", R}, {"Mediane", R}, {"Quartile3", R},
};
// clang-format on

// Totals per element of a saved search.
// clang-format off
constexpr DefinitionColonne RESULT_TOT_INDIC[] = {
    {"id", A, 0, true}, {"idResultRech", C, 0, true}, {"code", T, 255}, {"Element", T, 255},
    {"NbRecherche", C}, {"nbDetection", C}, {"seuil1", C}, {"seuil1_2", C}, {"seuil2_3", C},
    {"seuil3_4", C}, {"seuil4", C}, {"tauxDetection", R}, {"nbDepassementSeuil1", C},
    {"TauxDepassement", R}, {"Centile90", R}, {"Mini", R}, {"Moyenne", R}, {"Maxi", R},
};
// clang-format on

// Distribution results of a saved search.
// clang-format off
constexpr DefinitionColonne RESULT_REPARTITION[] = {
    {"id", A, 0, true}, {"idResultRech", C, 0, true}, {"code", T, 255}, {"Element", T, 255},
    {"NbStations", C}, {"nbDetection", C}, {"pctDetection", R}, {"nbMasseEau", C},
    {"nbDetectionME", C}, {"pctDetectionME", R}, {"listeStations", M}, {"listeMassesEaux", M},
    {"listeHER", M}, {"NbHER", C}, {"nbDetectionHER", C}, {"pctDetectionHER", R}, {"listeBV", M},
    {"NbBV", C}, {"nbDetectionBV", C}, {"pctDetectionBV", R}, {"nbComptageBV", C},
    {"pctComptageBV", R},
};
// clang-format on

// Per-station results of a saved search.
// clang-format off
constexpr DefinitionColonne RESULT_PAR_STATION[] = {
    {"id", A, 0, true}, {"idResultRech", C, 0, true}, {"code", T, 255}, {"identifiant", T, 255},
    {"nom", T, 255}, {"nbElementDetecte", C}, {"listeElementDetecte", M}, {"nbPrelevement", C},
    {"nbPlvtAvecDetection", C}, {"pctDetection", R}, {"listePrelevement", M}, {"x", R}, {"y", R},
    {"TypeProjection", R},
};
// clang-format on

// Per-station totals of a saved search.
// clang-format off
constexpr DefinitionColonne RESULT_TOTAL_STATION[] = {
    {"id", A, 0, true}, {"idResultRech", C, 0, true}, {"code", T, 255}, {"nbStations", C},
    {"nbElement", C}, {"nbElementMoyen", R}, {"nbPrelevement", C}, {"nbDetection", C},
    {"detectionMoyenne", R},
};
// clang-format on

// Settings of exchanges with the national groundwater bank for this module.
constexpr DefinitionColonne ADES_PARAMETRAGE_QUALITE[] = {
    {"Trame", T, 10},
    {"Libelle", T, 150},
    {"Requete", M},
    {"Actif", T, 1},
};

// History of such exchanges per station.
// clang-format off
constexpr DefinitionColonne ADES_HISTORIQUE_QUALITE[] = {
    {"CodeBSS", T, 24}, {"num", R}, {"Date_Debut", D}, {"Date_Fin", D}, {"Date_integration", D},
    {"Date_envoi", D}, {"Date_annulation", D},
};
// clang-format on

// Log of such exchange frames.
// clang-format off
constexpr DefinitionColonne ADES_JOURNALISATION_QUALITE[] = {
    {"TypeMaj", T, 24}, {"TypeTrame", T, 10}, {"Identifiant", T, 50}, {"Trame", M},
    {"Date_Effet", D}, {"Date_envoi", D}, {"Date_integration", D}, {"DateCreation", D},
    {"Heure", D},
};
// clang-format on

// clang-format off
constexpr DefinitionTable TABLES[] = {
    {"ANALYSES_PARAMETRES", ANALYSES_PARAMETRES},
    {"ANALYSES_UNITES", ANALYSES_UNITES},
    {"METHODES", METHODES},
    {"ANALYSES_FRACTIONS", ANALYSES_FRACTIONS},
    {"ANALYSES_SUPPORTS", ANALYSES_SUPPORTS},
    {"ANALYSES_PARAMETRES_SELECTIONS_TITRE", ANALYSES_PARAMETRES_SELECTIONS_TITRE},
    {"ANALYSES_PARAMETRES_SELECTIONS", ANALYSES_PARAMETRES_SELECTIONS},
    {"ANALYSES_SEUILS", ANALYSES_SEUILS},
    {"ETATS", ETATS},
    {"TAXONS", TAXONS},
    {"TRAITS_ECOBIO", TRAITS_ECOBIO, EtapeSchema::Referentiels},
    {"TRAITS_ECOBIO_MODALITES", TRAITS_ECOBIO_MODALITES, EtapeSchema::Referentiels},
    {"TRAITS_ECOBIO_TAXONS", TRAITS_ECOBIO_TAXONS, EtapeSchema::Referentiels},
    {"TAXONS_CORRESP", TAXONS_CORRESP, EtapeSchema::Referentiels},
    {"SUBSTRATS", SUBSTRATS},
    {"DISPOSITIFS", DISPOSITIFS},
    {"CODES_SANDRE", CODES_SANDRE},
    {"CODES_SANDRE_REFERENTIEL", CODES_SANDRE_REFERENTIEL, EtapeSchema::Referentiels},
    {"INTERVENANTS", INTERVENANTS},
    {"CONTACTS", CONTACTS},
    {"COMMUNES", COMMUNES},
    {"COMMUNES_CEDEX", COMMUNES_CEDEX},
    {"PAYS", PAYS},
    {"MASSES_EAUX", MASSES_EAUX},
    {"RESEAUX", RESEAUX},
    {"AQUIFERES", AQUIFERES},
    {"ENTITES_HYDROGEOLOGIQUES", ENTITES_HYDROGEOLOGIQUES},
    {"BASSINS_VERSANTS", BASSINS_VERSANTS},
    {"CODES_HYDRO", CODES_HYDRO},
    {"LIBELLES", LIBELLES},
    {"PERIODES", PERIODES},
    {"ANNEES", ANNEES},
    {"PARAMETRES", PARAMETRES},
    {"PARAMETRES_VYLEN", PARAMETRES_VYLEN},
    {"PARAMETRAGE_DATA", PARAMETRAGE_DATA},
    {"PARAMETRES_LISTE_QUALITO", PARAMETRES_LISTE_QUALITO},
    {"UTILISATEURS", UTILISATEURS},
    {"UTILISATEURS_HABILITATIONS", UTILISATEURS_HABILITATIONS},
    {"UTILISATEURS_STATIONS", UTILISATEURS_STATIONS},
    {"UTILISATEURS_LISTES", UTILISATEURS_LISTES},
    {"JOURNAL", JOURNAL},
    {"JOBS", JOBS, EtapeSchema::Jobs},
    {"JOBS_EXECUTION", JOBS_EXECUTION, EtapeSchema::Jobs},
    {"JOBS_JOURNAL", JOBS_JOURNAL, EtapeSchema::Jobs},
    {"JOBS_PROPERTIES", JOBS_PROPERTIES, EtapeSchema::Jobs},
    {"JOBS_WS", JOBS_WS, EtapeSchema::Jobs},
    {"FORMAT_DONNEES", FORMAT_DONNEES, EtapeSchema::Jobs},
    {"STATION_TYPE", STATION_TYPE, EtapeSchema::Jobs},
    {"QUALITOMETRES_DEMANDES", QUALITOMETRES_DEMANDES},
    {"QUALITOMETRES_DEMANDES_SITES", QUALITOMETRES_DEMANDES_SITES},
    {"QUALITOMETRES_DEMANDES_PARAMETRES", QUALITOMETRES_DEMANDES_PARAMETRES},
    {"QUALITOMETRES_DEMANDES_HISTORIQUES", QUALITOMETRES_DEMANDES_HISTORIQUES},
    {"CAMPAGNES", CAMPAGNES},
    {"CAMPAGNES_SITES", CAMPAGNES_SITES},
    {"CAMPAGNES_PARAMETRES", CAMPAGNES_PARAMETRES},
    {"LISTES_EXPORT_QUALITE", LISTES_EXPORT_QUALITE},
    {"LISTES_EXPORT_QUALITE_SITES", LISTES_EXPORT_QUALITE_SITES},
    {"LISTES_EXPORT_QUALITE_PARAM", LISTES_EXPORT_QUALITE_PARAM},
    {"QUALITOMETRES_SUPERPOSITIONS", QUALITOMETRES_SUPERPOSITIONS},
    {"QUALITOMETRES_SUPERPOSITIONS_SELECTION", QUALITOMETRES_SUPERPOSITIONS_SELECTION},
    {"QUALITOMETRES_SUPERPOSITIONS_PARAMETRES", QUALITOMETRES_SUPERPOSITIONS_PARAMETRES},
    {"COURBES_REFERENCES_QUALITO", COURBES_REFERENCES_QUALITO},
    {"COURBES_REFERENCES_QUALITO_PARAM", COURBES_REFERENCES_QUALITO_PARAM},
    {"BULLETINS_QUALITO", BULLETINS_QUALITO},
    {"BULLETINS_QUALITO_SELECTION", BULLETINS_QUALITO_SELECTION},
    {"RESULT_RECH_VYK", RESULT_RECH_VYK, EtapeSchema::Recherche},
    {"RESULT_RECH_CRITERES", RESULT_RECH_CRITERES, EtapeSchema::Recherche},
    {"RESULT_INDIC", RESULT_INDIC, EtapeSchema::Recherche},
    {"RESULT_TOT_INDIC", RESULT_TOT_INDIC, EtapeSchema::Recherche},
    {"RESULT_REPARTITION", RESULT_REPARTITION, EtapeSchema::Recherche},
    {"RESULT_PAR_STATION", RESULT_PAR_STATION, EtapeSchema::Recherche},
    {"RESULT_TOTAL_STATION", RESULT_TOTAL_STATION, EtapeSchema::Recherche},
    {"ADES_PARAMETRAGE_QUALITE", ADES_PARAMETRAGE_QUALITE},
    {"ADES_HISTORIQUE_QUALITE", ADES_HISTORIQUE_QUALITE},
    {"ADES_JOURNALISATION_QUALITE", ADES_JOURNALISATION_QUALITE},
};
// clang-format on

} // namespace

std::span<const DefinitionTable> tablesReferentiels()
{
    return TABLES;
}

} // namespace vyk
