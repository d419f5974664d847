// Tables of the quality data: stations and their satellites, sampling points, operations, samples,
// and the per-station tables.

#include "schema/CatalogueDonnees.h"

namespace vyk {

namespace {

using namespace typesCourts;

// One row per water-quality monitoring station; CodeQualitometre is the internal numeric key,
// CodeBSS the national station code (also the suffix of the per-station analysis tables).
// clang-format off
constexpr DefinitionColonne QUALITOMETRES[] = {
    {"CodeQualitometre", R}, {"CodeBSS", T, 17}, {"Nom", T, 70}, {"CodeNature", R},
    {"DateCreation", D}, {"DateFermeture", D}, {"X", R}, {"Y", R}, {"TypeProjection", R},
    {"Altitude", R}, {"Commentaires", M}, {"CodeCommune", R}, {"CodeContact", R},
    {"Designation", T, 6}, {"Localisation", M}, {"Prof_Debut", R}, {"Prof_Fin", R},
    {"Prof_Recommandee", R}, {"Finalite", T, 70}, {"Type_qualitometre", R}, {"TypePointEau", T, 2},
    {"classeCalcium", C}, {"typeStation", T, 1}, {"BassinVersant_Superficie", R},
    {"her_niveau1", R}, {"code_hydro", T, 100}, {"rang_strahler", R}, {"type_fr", R},
    {"canal", T, 1}, {"niveauTypologiqueTheo", R}, {"pk", R}, {"codeBassinVersant", R},
    {"codeBassinVersant2", R}, {"adresse", T, 255}, {"codeBassinVersant3", R},
    {"codeBassinVersant4", R}, {"pente", R}, {"codePiscicole", C}, {"valeur_strahler", C},
    {"her_niveau2", R}, {"riviere", T, 255}, {"nbTournees", C}, {"jobExecutionId", L},
    {"loginmaj", T, 50}, {"datemaj", D}, {"modeGisement", R}, {"codeEtat", R}, {"codeQualite", R},
    {"codeRepresentativite", R}, {"confidentiel", T, 1}, {"codePays", T, 2},
    {"codeQualitoInter", T, 20},
};
// clang-format on

// Geographic references of a station (maps, parcel).
// clang-format off
constexpr DefinitionColonne QUALITOMETRES_INFO_GEO[] = {
    {"codeQualitometre", R}, {"carteIGN", T, 50}, {"carteGeologique", T, 50}, {"parcelle", T, 255},
    {"section", T, 255},
};
// clang-format on

// Additional coordinates of a station, per projection.
constexpr DefinitionColonne QUALITOMETRE_LOCALISATIONS[] = {
    {"CodeQualitometre", R}, {"CodeProjection", R}, {"X", R}, {"Y", R}, {"Z", R}, {"Precision", R},
};

// Photographs and descriptive texts of a station.
// clang-format off
constexpr DefinitionColonne QUALITOMETRE_PHOTO[] = {
    {"CodeQualitometre", R}, {"PhotoSite", T, 255}, {"PhotoRepere", T, 255}, {"PhotoCarte", T, 255},
    {"stationAmont", T, 255}, {"stationAval", T, 255}, {"coupe", T, 255}, {"PhotoP1", T, 255},
    {"PhotoP2", T, 255}, {"PhotoP3", T, 255}, {"PhotoP4", T, 255}, {"PhotoP5", T, 255},
};
// clang-format on

// Documents attached to a station.
// clang-format off
constexpr DefinitionColonne QUALITOMETRE_DOCUMENTS[] = {
    {"CodeQualitometre", R}, {"CodeDocument", R}, {"Emplacement", T, 255}, {"MotCle", T, 24},
    {"Titre", T, 255},
};
// clang-format on

// Bulletins attached to a station.
// clang-format off
constexpr DefinitionColonne QUALITOMETRE_BULLETINS[] = {
    {"CodeQualitometre", R}, {"CodeBulletin", R}, {"Titre", M}, {"Chapitre", M},
    {"DatePublication", D}, {"Auteur", T, 50},
};
// clang-format on

// Structure (well, borehole) of a station.
// clang-format off
constexpr DefinitionColonne OUVRAGES_QUALITO[] = {
    {"CodeQualitometre", R}, {"TypeStation", T, 50}, {"TypeCapteur", T, 50},
    {"TelephoneStation", T, 20}, {"ProfondeurOuvrage", R}, {"profondeurCapteur", R},
    {"numSerie", T, 50}, {"diametreInterieur", T, 50}, {"diametreExterieur", T, 50},
    {"commentaires", M},
};
// clang-format on

// Screens of a station structure, by order.
// clang-format off
constexpr DefinitionColonne CREPINES_QUALITO[] = {
    {"CodeQualitometre", R}, {"Ordre", C}, {"ProfondeurDebut", R}, {"profondeurFin", R},
    {"codeAquifere", R}, {"toitAquifere", R}, {"fondAquifere", R},
};
// clang-format on

// Reference marks of a station.
// clang-format off
constexpr DefinitionColonne REPERES_QUALITO[] = {
    {"CodeQualitometre", R}, {"DateDebut", D}, {"DateFin", D}, {"Hauteur", R}, {"Origine", C},
    {"Commentaires", M},
};
// clang-format on

// Altimetric systems of a station.
// clang-format off
constexpr DefinitionColonne SYSTEMES_ALTIMETRIQUES_QUALITO[] = {
    {"CodeQualitometre", R}, {"CodeNature", C}, {"DateDebut", D}, {"DateFin", D}, {"Altitude", R},
    {"SystemeAltimetrique", C}, {"ModeObtention", C}, {"Commentaire", M},
};
// clang-format on

// Measurement modes of a station.
// clang-format off
constexpr DefinitionColonne MODES_MESURES_QUALITO[] = {
    {"CodeQualitometre", R}, {"DateDebut", D}, {"DateFin", D}, {"Methode", R}, {"Periodicite", R},
    {"Commentaires", M}, {"profondeurNappe", R}, {"compensationMesure", R},
};
// clang-format on

// Events recorded at a station, numbered per station.
// clang-format off
constexpr DefinitionColonne EVENEMENTS_QUALITO[] = {
    {"CodeQualitometre", R}, {"Numero", C}, {"DateEvenement", D}, {"Volt", R}, {"Commentaires", M},
    {"ChgtPiles", T, 1}, {"Graphique", T, 1}, {"exportBanque", T, 1}, {"type", T, 1},
    {"probleme", M}, {"solution", M}, {"heureEvenement", D}, {"razStation", T, 1},
    {"valeurCalee", R}, {"temperatureSonde", R}, {"temperatureCentrale", R}, {"codeContact", C},
    {"ns", R},
};
// clang-format on

// Membership of a station in a network over a period.
constexpr DefinitionColonne LIEN_QUALITO_RESEAUX[] = {
    {"CodeQualitometre", R},
    {"CodeReseau", C},
    {"DateDebut", D},
    {"DateFin", D},
};

// Organisations linked to a station over a period, by role.
// clang-format off
constexpr DefinitionColonne LIEN_QUALITO_INTERVENANTS[] = {
    {"CodeQualitometre", R}, {"CodeIntervenant", C}, {"DateDebut", D}, {"DateFin", D},
    {"ReferenceInterne", T, 50}, {"TypeIntervenant", C}, {"codeContact", R},
};
// clang-format on

// Stations followed by an organisation.
constexpr DefinitionColonne INTERVENANTS_LISTE_QUALITO[] = {
    {"CodeIntervenant", R},
    {"CodeQualitometre", R},
    {"Emails", M},
};

// Water bodies of a station.
constexpr DefinitionColonne LIEN_QUALITO_MASSE_EAU[] = {
    {"CodeQualitometre", R},
    {"Code_ME", T, 24},
    {"Type", R},
};

// Hydrogeological entities of a station.
constexpr DefinitionColonne LIEN_QUALITO_ENTITE_HYDRO[] = {
    {"CodeQualitometre", R},
    {"CodeEntiteHydro", R},
};

// Aquifers of a station.
constexpr DefinitionColonne LIEN_QUALITO_AQUIFERE[] = {
    {"CodeQualitometre", R},
    {"CodeAquifere", R},
};

// State assessments of a station by date.
constexpr DefinitionColonne LIEN_QUALITO_ETATS[] = {
    {"CodeQualitometre", R}, {"CodeEtat", R}, {"DateDebut", D}, {"valeur", R}, {"commentaire", M},
};

// Functions of a station.
// clang-format off
constexpr DefinitionColonne LIEN_QUALITO_FONCTIONS[] = {
    {"codeQualitometre", R}, {"DateDebut", D}, {"DateFin", D}, {"CodeFonction", R},
    {"Description", M},
};
// clang-format on

// Uses of a station.
constexpr DefinitionColonne LIEN_QUALITO_USAGES[] = {
    {"codeQualitometre", R}, {"DateDebut", D}, {"DateFin", D}, {"CodeUsage", R}, {"Description", M},
};

// Accessibility records of a station.
// clang-format off
constexpr DefinitionColonne LIEN_QUALITO_ACCESSIBILITES[] = {
    {"codeQualitometre", R}, {"DateDebut", D}, {"DateFin", D}, {"Description", M},
    {"CodeCondition", R}, {"CodeFermeture", R},
};
// clang-format on

// Developments (works) at a station.
// clang-format off
constexpr DefinitionColonne LIEN_QUALITO_AMENAGEMENTS[] = {
    {"codeQualitometre", R}, {"DateDebut", D}, {"DateFin", D}, {"Description", M}, {"valeur", R},
    {"typeAmenagement", R}, {"codeCle", R},
};
// clang-format on

// Lithology layers of a station.
constexpr DefinitionColonne LIEN_QUALITO_LITHOLOGIES[] = {
    {"CodeQualitometre", C},
    {"codeLithologie", C},
    {"Ordre", C},
    {"epaisseur", R},
};

// Lithological types of a station.
constexpr DefinitionColonne LIEN_QUALITO_TYPE_LITHOLOGIQUE[] = {
    {"CodeQualitometre", C},
    {"codeTypeLithologique", C},
};

// Sampling points of a station (key codeQualitometre and codePoint), with validity dates and
// upstream/downstream coordinates.
// clang-format off
constexpr DefinitionColonne QUALITOMETRES_POINTS[] = {
    {"codeQualitometre", R}, {"codePoint", R}, {"identifiant", T, 100}, {"nom", T, 100},
    {"dateDebut", D}, {"dateFin", D}, {"longeurTotale", R}, {"XAmont", R}, {"YAmont", R},
    {"XAval", R}, {"YAval", R}, {"objetPrincipal", M}, {"recommendation", M}, {"X", R}, {"Y", R},
    {"TypeProjection", R}, {"profondeurRecommandee", R}, {"Commentaires", M}, {"largeurDebit", R},
    {"codeSupportDefaut", R}, {"Photo1", M}, {"Photo2", M}, {"Photo3", M}, {"Photo4", M},
    {"Photo5", M}, {"Photo6", M}, {"profDebut", R}, {"profFin", R},
};
// clang-format on

// Field operations at a station (hydrobiological and physico-chemical); key codeQualitometre and
// codeOperation.
// clang-format off
constexpr DefinitionColonne QUALITOMETRES_POINTS_OPERATIONS[] = {
    {"codeQualitometre", R}, {"codeOperation", R}, {"dateDebut", D}, {"heureDebut", D},
    {"dateFin", D}, {"heureFin", D}, {"longeur", R}, {"largeurMoyenne", R}, {"interpretation", M},
    {"qualification", R}, {"statut", R}, {"Commentaires", M}, {"modeConservationPrincipal", R},
    {"modeConservationSecondaire", R}, {"superficieMouillee", R}, {"situationParticuliere", R},
    {"codePoint", R}, {"codeDeterminateur", R}, {"codeProducteur", R}, {"codePreleveur", R},
    {"supportBiologique", R}, {"protocoleBiologique", R}, {"vitesse", T, 2},
    {"ombrage", R, 0, false, true}, {"methodeAnalyse", L}, {"accreditation", T, 1},
    {"bancarisationautorise", T, 1}, {"codecampagne", R}, {"datemaj", D}, {"loginmaj", T, 50},
    {"Ombrag", R}, {"continu", T, 1}, {"commentaireResultat", M}, {"microPrelevement", T, 1},
    {"saisonnalite", R}, {"localisation", M}, {"contactProducteur", R}, {"contactPreleveur", R},
    {"contactDeterminateur", R}, {"jobExecutionId", L},
};
// clang-format on

// Environmental conditions measured during an operation.
// clang-format off
constexpr DefinitionColonne QUALITOMETRES_POINTS_OPERATIONS_ENV[] = {
    {"codeQualitometre", R}, {"codeOperation", R}, {"codeCondition", R}, {"dateMesure", D},
    {"heureMesure", D}, {"commentaires", M}, {"qualification", R}, {"statut", R}, {"methode", R},
    {"parametre", R}, {"unite", R}, {"mesure", R},
};
// clang-format on

// Monitoring programmes of an operation.
constexpr DefinitionColonne QUALITOMETRES_POINTS_OPERATIONS_DISPOSITIFS[] = {
    {"codeQualitometre", R},
    {"codeOperation", R},
    {"indice", R},
    {"codeDispositif", T, 10},
};

// Elementary samplings (phases, substrates, velocities) of a hydrobiological operation, by indice.
// clang-format off
constexpr DefinitionColonne QUALITOMETRES_OPERATIONS_PRELEVEMENTS[] = {
    {"codeQualitometre", R}, {"codeOperation", R}, {"indice", R}, {"codePrelevement", T, 10},
    {"phase", R}, {"codeSubstrat", T, 5}, {"codeSubstratSecondaire", T, 5}, {"classeVitesse", R},
    {"hauteurEau", R}, {"distanceBerge", R}, {"largeur", R}, {"surface", R}, {"volume", R},
    {"profondeur", R}, {"zoneVerticale", R}, {"colmatage", R}, {"classeColmatage", R},
    {"materiel", R}, {"vegetation", M}, {"commentaires", M}, {"diatomees", R},
    {"faciesSecondaire", R}, {"groupePrelevement", R}, {"vitesse", T, 2}, {"ombrage", R},
    {"typeColmatage", R}, {"lame", T, 12}, {"nbSupports", C},
};
// clang-format on

// Cover percentages of an operation, by indice and type.
// clang-format off
constexpr DefinitionColonne QUALITOMETRES_OPERATIONS_REC[] = {
    {"codeQualitometre", R}, {"codeOperation", R}, {"indice", R}, {"recouvrement", R},
    {"type", T, 1}, {"recouvrementBerge", R}, {"recouvrementIntermediaire", R},
    {"recouvrementChenal", R},
};
// clang-format on

// Taxa lists of an operation (key codeQualitometre, codeOperation, codeListe).
// clang-format off
constexpr DefinitionColonne QUALITOMETRES_OPERATIONS_LISTE[] = {
    {"codeQualitometre", R}, {"codeOperation", R}, {"codeListe", R}, {"nom", T, 255},
    {"Commentaires", M},
};
// clang-format on

// Index and other results of an operation (codeParametre, codeUnite, resultat, remark and
// accreditation codes), by indice.
// clang-format off
constexpr DefinitionColonne QUALITOMETRES_OPERATIONS_RESULTATS[] = {
    {"codeQualitometre", R}, {"codeOperation", R}, {"indice", R}, {"codeParametre", R},
    {"codeUnite", R}, {"resultat", R}, {"codeAccreditation", R}, {"codeRemarque", R},
    {"codeAgrement", R},
};
// clang-format on

// Counting units of an operation.
// clang-format off
constexpr DefinitionColonne QUALITOMETRES_OPERATIONS_UNITES[] = {
    {"CodeQualitometre", R}, {"codeOperation", R}, {"unite", C}, {"groupe", C}, {"sousGroupe", C},
    {"resultat", R},
};
// clang-format on

// Physico-chemical samples; NumPrelevement is the key; codeOperation links a sample to an
// operation of QUALITOMETRES_POINTS_OPERATIONS.
// clang-format off
constexpr DefinitionColonne PRELEVEMENTS[] = {
    {"NumPrelevement", R}, {"CodeQualitometre", R}, {"DateDebut", D}, {"HeureDebut", D},
    {"Commentaire", M}, {"InterpretationLabo", M}, {"CodeProducteurPrincipal", C},
    {"ReferenceProducteurPrincipal", T, 100}, {"NumLaboPrincipal", T, 20}, {"CodeLaboPrincipal", R},
    {"ReferenceLaboPrincipal", T, 100}, {"Accreditation", T, 1}, {"CodeLieuPrincipal", T, 1},
    {"CodeDifficultePrincipal", T, 1}, {"CodeFractionPrincipal", T, 3},
    {"CodeMethodeFractionPrincipal", T, 5}, {"CodeSupportPrincipal", T, 3}, {"NumOperation", T, 5},
    {"NiveauSoutirage", T, 5}, {"DebitSoutirage", T, 5}, {"VolumePompe", T, 5},
    {"VolumePurge", T, 5}, {"NiveauPiezoAvantPrelevement", T, 5}, {"Operateur", T, 150},
    {"Representativite", C}, {"CodeResponsablePrincipal", C}, {"codeOperation", R},
    {"profImmersionPompe", T, 50}, {"tempsPurge", T, 50}, {"ZoneVerticale", T, 2},
    {"codeDemande", T, 100}, {"profDebut", R}, {"profFin", R},
};
// clang-format on

// Sub-samples (sample bottles) of a sample.
// clang-format off
constexpr DefinitionColonne PRELEVEMENTS_ECHANTILLONS[] = {
    {"NumEchantillon", R}, {"NumPrelevement", R}, {"DateDebut", D}, {"HeureDebut", D},
    {"CodeProducteur", R}, {"Reference", T, 17}, {"Commentaire", M}, {"MethodePrelevement", T, 5},
    {"MethodeConservation", T, 5}, {"ReferenceLabo", T, 17}, {"methodeTransport", R},
    {"aspect", T, 255}, {"temperatureArrivee", R}, {"codeQualitometre", R},
};
// clang-format on

// Laboratory files of a sample.
// clang-format off
constexpr DefinitionColonne PRELEVEMENTS_DOSSIERS[] = {
    {"NumDossier", R}, {"NumPrelevement", R}, {"CodeProducteur", R},
    {"ReferenceProducteur", T, 100}, {"CodeLabo", R}, {"ReferenceLabo", T, 100},
    {"CodeOperation", T, 5}, {"Interpreation", M}, {"codeQualitometre", R},
};
// clang-format on

// Purposes of a sample (codes of FINALITES).
constexpr DefinitionColonne PRELEVEMENTS_FINALITES[] = {
    {"NumPrelevement", R},
    {"CodeFinalite", T, 10},
    {"codeQualitometre", R},
};

// Purposes of sampling.
constexpr DefinitionColonne FINALITES[] = {
    {"Code", T, 10},
    {"Libelle", T, 100},
    {"Mnemonique", T, 10},
    {"Definition", M},
};

// One row per result of the station's samples (ANALYSES_ + CodeBSS).
// clang-format off
constexpr DefinitionColonne ANALYSES[] = {
    {"NumAnalyse", R}, {"NumPrelevement", R}, {"CodeQualitometre", R}, {"DateAnalyse", D},
    {"HeureAnalyse", D}, {"CodeProducteur", R}, {"ReferenceProducteur", T, 100}, {"CodeLabo", R},
    {"NumLabo", T, 20}, {"ReferenceLabo", T, 100}, {"Accreditation", T, 1}, {"Resultat", R},
    {"CodeParametre", T, 5}, {"CodeUnite", T, 5}, {"CodeRemarque", T, 2}, {"CodeLieu", T, 1},
    {"CodeDifficulte", T, 1}, {"CodeQualification", T, 1}, {"CodeMethode", T, 5},
    {"CodeFraction", T, 5}, {"CodeMethodeFraction", T, 5}, {"CodeSupport", T, 5},
    {"StatutMesure", T, 1}, {"CommentaireAnalyse", M}, {"CommentaireResultat", M},
    {"NumEchantillon", C}, {"IncertitudeAnalytique", R}, {"CodeSolvant", T, 5},
    {"MethodeExtraction", T, 5}, {"RendementExtraction", R}, {"VolumeFiltre", R},
    {"CodeResponsable", C}, {"ResultatRef", R}, {"LimiteQuantification", R}, {"LimiteDetection", R},
    {"SeuilSaturation", R}, {"NumOperation", T, 5}, {"NumDossier", T, 5}, {"profDebut", R},
    {"profFin", R},
};
// clang-format on

// Taxa counts of the station's hydrobiological lists (QUALITOMETRES_LISTE_ + CodeQualitometre).
// clang-format off
constexpr DefinitionColonne QUALITOMETRES_LISTE[] = {
    {"codeOperation", R}, {"codeListe", R}, {"indice", R}, {"codeTaxon", T, 6},
    {"denombrementA", R}, {"pourcentageA", R}, {"denombrementB", R}, {"pourcentageB", R},
    {"denombrementC", R}, {"pourcentageC", R}, {"codeUnite", R}, {"codeDeveloppement", R},
    {"codeRemarque", R}, {"codeConfiance", R}, {"densite", R}, {"codeCalculIndice", R},
    {"denombrementP1", R}, {"denombrementP2", R}, {"denombrementP3", R}, {"denombrementP4", R},
    {"denombrementP5", R}, {"denombrementP6", R}, {"denombrementP7", R}, {"denombrementP8", R},
    {"denombrementP9", R}, {"denombrementP10", R}, {"denombrementP11", R}, {"denombrementP12", R},
};
// clang-format on

// clang-format off
constexpr DefinitionTable TABLES[] = {
    {"QUALITOMETRES", QUALITOMETRES},
    {"QUALITOMETRES_INFO_GEO", QUALITOMETRES_INFO_GEO},
    {"QUALITOMETRE_LOCALISATIONS", QUALITOMETRE_LOCALISATIONS},
    {"QUALITOMETRE_PHOTO", QUALITOMETRE_PHOTO},
    {"QUALITOMETRE_DOCUMENTS", QUALITOMETRE_DOCUMENTS},
    {"QUALITOMETRE_BULLETINS", QUALITOMETRE_BULLETINS},
    {"OUVRAGES_QUALITO", OUVRAGES_QUALITO},
    {"CREPINES_QUALITO", CREPINES_QUALITO},
    {"REPERES_QUALITO", REPERES_QUALITO},
    {"SYSTEMES_ALTIMETRIQUES_QUALITO", SYSTEMES_ALTIMETRIQUES_QUALITO},
    {"MODES_MESURES_QUALITO", MODES_MESURES_QUALITO},
    {"EVENEMENTS_QUALITO", EVENEMENTS_QUALITO},
    {"LIEN_QUALITO_RESEAUX", LIEN_QUALITO_RESEAUX},
    {"LIEN_QUALITO_INTERVENANTS", LIEN_QUALITO_INTERVENANTS},
    {"INTERVENANTS_LISTE_QUALITO", INTERVENANTS_LISTE_QUALITO},
    {"LIEN_QUALITO_MASSE_EAU", LIEN_QUALITO_MASSE_EAU},
    {"LIEN_QUALITO_ENTITE_HYDRO", LIEN_QUALITO_ENTITE_HYDRO},
    {"LIEN_QUALITO_AQUIFERE", LIEN_QUALITO_AQUIFERE},
    {"LIEN_QUALITO_ETATS", LIEN_QUALITO_ETATS},
    {"LIEN_QUALITO_FONCTIONS", LIEN_QUALITO_FONCTIONS},
    {"LIEN_QUALITO_USAGES", LIEN_QUALITO_USAGES},
    {"LIEN_QUALITO_ACCESSIBILITES", LIEN_QUALITO_ACCESSIBILITES},
    {"LIEN_QUALITO_AMENAGEMENTS", LIEN_QUALITO_AMENAGEMENTS},
    {"LIEN_QUALITO_LITHOLOGIES", LIEN_QUALITO_LITHOLOGIES},
    {"LIEN_QUALITO_TYPE_LITHOLOGIQUE", LIEN_QUALITO_TYPE_LITHOLOGIQUE},
    {"QUALITOMETRES_POINTS", QUALITOMETRES_POINTS},
    {"QUALITOMETRES_POINTS_OPERATIONS", QUALITOMETRES_POINTS_OPERATIONS},
    {"QUALITOMETRES_POINTS_OPERATIONS_ENV", QUALITOMETRES_POINTS_OPERATIONS_ENV},
    {"QUALITOMETRES_POINTS_OPERATIONS_DISPOSITIFS", QUALITOMETRES_POINTS_OPERATIONS_DISPOSITIFS},
    {"QUALITOMETRES_OPERATIONS_PRELEVEMENTS", QUALITOMETRES_OPERATIONS_PRELEVEMENTS},
    {"QUALITOMETRES_OPERATIONS_REC", QUALITOMETRES_OPERATIONS_REC},
    {"QUALITOMETRES_OPERATIONS_LISTE", QUALITOMETRES_OPERATIONS_LISTE},
    {"QUALITOMETRES_OPERATIONS_RESULTATS", QUALITOMETRES_OPERATIONS_RESULTATS},
    {"QUALITOMETRES_OPERATIONS_UNITES", QUALITOMETRES_OPERATIONS_UNITES, EtapeSchema::Unites},
    {"PRELEVEMENTS", PRELEVEMENTS},
    {"PRELEVEMENTS_ECHANTILLONS", PRELEVEMENTS_ECHANTILLONS},
    {"PRELEVEMENTS_DOSSIERS", PRELEVEMENTS_DOSSIERS},
    {"PRELEVEMENTS_FINALITES", PRELEVEMENTS_FINALITES},
    {"FINALITES", FINALITES},
};
// clang-format on

} // namespace

std::span<const DefinitionTable> tablesQualite()
{
    return TABLES;
}

const DefinitionTable &definitionAnalyses()
{
    static constexpr DefinitionTable table{"ANALYSES_", ANALYSES};
    return table;
}

const DefinitionTable &definitionListeTaxons()
{
    static constexpr DefinitionTable table{"QUALITOMETRES_LISTE_", QUALITOMETRES_LISTE};
    return table;
}

} // namespace vyk
