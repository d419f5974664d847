#pragma once

// Names of the settings of the store (app/Registre.h) and what they hold. Every screen and
// every core function reads and writes them through these names, so that a setting written
// by one is found by another; the store compares names without regard to case anyway.
//
// Flags: "OUI"/"NON" where said below, otherwise "1"/"0" (check boxes). estActive() of
// app/Options.h reads both forms. A missing setting reads as "".

#include <QString>
#include <QStringList>

namespace vyk::reglage {

// --- Connection and login -----------------------------------------------------------------
// Backend code of the current database: "ACCESS", "POSTGRESQL", or "ORACLE" possibly followed
// by a suffix that the database object receives whole.
inline const QString TypeBase = QStringLiteral("TypeBase");
// "ACCESS": full path of the database file; server: the database (schema, service) name.
inline const QString Base = QStringLiteral("Base");
inline const QString ServeurBase = QStringLiteral("ServeurBase");         // server host
inline const QString PortServeurBase = QStringLiteral("PortServeurBase"); // port, may be empty
inline const QString UserBase = QStringLiteral("UserBase");               // server user
inline const QString PassBase = QStringLiteral("PassBase"); // server password, as typed
// The other kind's remembered backend code and database: with a file current, the last
// server type and database name; with a server current, "ACCESS" and the last file path.
inline const QString TypeBaseSav = QStringLiteral("TypeBaseSav");
inline const QString BaseSav = QStringLiteral("BaseSav");
// "OUI": the login screen logs the last user in without asking.
inline const QString ConnexionAutomatic = QStringLiteral("ConnexionAutomatic");
// Full path of the profile file; "" when none was chosen.
inline const QString FichierProfils = QStringLiteral("databases.properties");
inline const QString LastUser = QStringLiteral("LastUser"); // last login name
// Proof left by the last typed login when the automatic login is ticked: a salt and a digest of
// that user's login, password and database (src/users/Authentification.cpp). Without it, or
// once the password or the database changed, the automatic login opens nothing.
inline const QString JetonConnexion = QStringLiteral("JetonConnexion");

// --- Journal ------------------------------------------------------------------------------
inline const QString LogLevel = QStringLiteral("LogLevel"); // journal level 0..4
inline const QString TraceLog = QStringLiteral("TraceLog"); // "NON" switches the trace off

// --- Data domains (administration check boxes, read at login) -----------------------------
inline const QString donneesPhysicoChimique = QStringLiteral("donneesPhysicoChimique");
inline const QString donneesHydroBio = QStringLiteral("donneesHydroBio");
inline const QString ExploitationAEP = QStringLiteral("ExploitationAEP");
inline const QString ContexteInternational = QStringLiteral("ContexteInternational");

// --- Folders and files (administration path fields, read at login) ------------------------
// Folders written by the administration screen end with a separator: callers use them as
// prefixes.
inline const QString CheminEdition = QStringLiteral("CheminEdition"); // printed reports
inline const QString CheminModeles = QStringLiteral("CheminModeles"); // spreadsheet models (IBGN)
inline const QString CheminExport =
    QStringLiteral("CheminExport");                       // working folder of exports, ZIP imports
inline const QString CheminR = QStringLiteral("CheminR"); // root of the index calculators
// Longest wait for an index calculator, in seconds ("0": none; empty: one hour).
inline const QString DelaiCalculIndices = QStringLiteral("DelaiCalculIndices");
inline const QString CheminPhotos = QStringLiteral("CheminPhotos");
inline const QString CheminDocuments = QStringLiteral("CheminDocuments");
inline const QString FichierAide = QStringLiteral("FichierAide");
inline const QString FichierDonneesCR2M = QStringLiteral("FichierDonneesCR2M");
inline const QString FichierAppelCR2M = QStringLiteral("FichierAppelCR2M");
inline const QString BaseBrute = QStringLiteral("BaseBrute");
// Folders remembered by their own screens.
inline const QString RepertoireImportation = QStringLiteral("RepertoireImportation");
inline const QString RepertoireDemandesXML = QStringLiteral("RepertoireDemandesXML");
inline const QString RepertoireVYZCarteQualito = QStringLiteral("RepertoireVYZCarteQualito");
inline const QString RepertoireVYZCarteSituation = QStringLiteral("RepertoireVYZCarteSituation");

// --- Display and entry options ------------------------------------------------------------
// "NGF" (compared upper-cased): altitudes shown in the NGF reference.
inline const QString Affichage = QStringLiteral("Affichage");
inline const QString AffichageProfondeur =
    QStringLiteral("AffichageProfondeur"); // "1": depths shown
inline const QString AffichageMasseEau = QStringLiteral("AffichageMasseEau");
// "OUI": follow-up screens list dates from newest to oldest.
inline const QString AffichageChronologiqueInverse =
    QStringLiteral("AffichageChronologiqueInverse");
inline const QString AffichageStatistiques = QStringLiteral("AffichageStatistiques");
// Code of the projection in which coordinates are shown and exported.
inline const QString TypeProjection = QStringLiteral("TypeProjection");
// First month of the hydrological year, two digits; "" means "09" (moisDebutAnneeHydro()).
inline const QString MoisDebutAnneeHydro = QStringLiteral("MoisDebutAnneeHydro");
inline const QString Nommage_Fichier = QStringLiteral("Nommage_Fichier");
inline const QString Point_OK = QStringLiteral("Point_OK"); // "OUI" switches the option on
// Written by the laboratory request screen: station identifiers as codeBSS "/" designation.
inline const QString IdStationAvecDesignation = QStringLiteral("IdStationAvecDesignation");
inline const QString omnidia = QStringLiteral("omnidia");     // taxa by their diatom-software code
inline const QString refMuseum = QStringLiteral("refMuseum"); // museum reference of taxa shown
inline const QString modificationPhoto = QStringLiteral("modificationPhoto"); // photos may change
inline const QString EcranOperationSaisie = QStringLiteral("EcranOperationSaisie");
inline const QString SaisieMesures = QStringLiteral("SaisieMesures");
inline const QString LimiterChargementStatistiques =
    QStringLiteral("LimiterChargementStatistiques");
inline const QString CompensationMesureDefaut = QStringLiteral("CompensationMesureDefaut");
inline const QString naturePiezoDefaut = QStringLiteral("naturePiezoDefaut");

// --- Export formats offered by the result screens -----------------------------------------
inline const QString exportExcel = QStringLiteral("exportExcel");
inline const QString exportCalc = QStringLiteral("exportCalc");
inline const QString exportCSV = QStringLiteral("exportCSV");

// --- Defaults of a new hydrobiological operation (code of an entry of the list) -----------
inline const QString Producteur = QStringLiteral("Producteur");
inline const QString Preleveur = QStringLiteral("Preleveur");
inline const QString Determinateur = QStringLiteral("Determinateur");
inline const QString ContactPreleveur = QStringLiteral("ContactPreleveur");
inline const QString ContactDeterminateur = QStringLiteral("ContactDeterminateur");
inline const QString Laboratoire = QStringLiteral("Laboratoire");
inline const QString Qualification = QStringLiteral("Qualification");
inline const QString Statut = QStringLiteral("Statut");
inline const QString ProtocolePrelevement = QStringLiteral("ProtocolePrelevement");
inline const QString Support = QStringLiteral("Support");
inline const QString Accreditation = QStringLiteral("Accreditation");
inline const QString Agrement = QStringLiteral("Agrement");
inline const QString Saisonnalite = QStringLiteral("Saisonnalite");
inline const QString ModeConservation = QStringLiteral("ModeConservation");
inline const QString ModeConservationSecondaire = QStringLiteral("ModeConservationSecondaire");
inline const QString MaterielPrelevement = QStringLiteral("MaterielPrelevement");
inline const QString Colmatage = QStringLiteral("Colmatage");
inline const QString TypeColmatage = QStringLiteral("TypeColmatage");
inline const QString Confiance = QStringLiteral("Confiance");
inline const QString Developpement = QStringLiteral("Developpement");

// --- Imports ------------------------------------------------------------------------------
// "OUI": imports take over station descriptions and points without the matching checks.
inline const QString repriseSiteSansControle = QStringLiteral("repriseSiteSansControle");
inline const QString MargeIntegrationSite =
    QStringLiteral("MargeIntegrationSite");                                   // position tolerance
inline const QString ModeleImportation = QStringLiteral("ModeleImportation"); // import screen
inline const QString TypeImportation = QStringLiteral("TypeImportation");     // import screen

// --- Threshold types chosen by default (code of a threshold type, code list 'SEUILS') ------
inline const QString TypeSeuil = QStringLiteral("TypeSeuil");
inline const QString TypeSeuilEtats = QStringLiteral("TypeSeuilEtats");
inline const QString TypeSeuilResultats = QStringLiteral("TypeSeuilResultats");
inline const QString TypeSeuilTaxons = QStringLiteral("TypeSeuilTaxons");

// --- File transfer and web application ----------------------------------------------------
inline const QString FtpServer = QStringLiteral("FtpServer");
inline const QString FtpServerPort = QStringLiteral("FtpServerPort");
inline const QString FtpUsername = QStringLiteral("FtpUsername");
inline const QString FtpPassword = QStringLiteral("FtpPassword");
inline const QString FtpProxy = QStringLiteral("FtpProxy");
inline const QString FtpRemoteFolder = QStringLiteral("FtpRemoteFolder");
inline const QString FtpExport = QStringLiteral("FtpExport");
inline const QString WebApplication = QStringLiteral("WebApplication");

// --- Lists --------------------------------------------------------------------------------
// Sort column of the station list grid.
inline const QString Colonne_Tri_Qualito = QStringLiteral("Colonne_Tri_Qualito");
// "1": the station list shows the European code of the water bodies instead of their own code.
inline const QString CodeMasseEauEuropeen = QStringLiteral("CodeMasseEauEuropeen");

// --- Chart curves of the level-statistics graphs ------------------------------------------
// For each curve C: courbeDefaut(C) (shown by default) and courbeMotif(C) (line style).
inline const QStringList COURBES = {QStringLiteral("Min"),
                                    QStringLiteral("Moyenne"),
                                    QStringLiteral("Max"),
                                    QStringLiteral("Triennale humide"),
                                    QStringLiteral("Triennale sèche"),
                                    QStringLiteral("Quinquennale humide"),
                                    QStringLiteral("Quinquennale sèche"),
                                    QStringLiteral("Octennale humide"),
                                    QStringLiteral("Octennale sèche"),
                                    QStringLiteral("Decennale humide"),
                                    QStringLiteral("Decennale sèche"),
                                    QStringLiteral("Vicennale humide"),
                                    QStringLiteral("Vicennale sèche"),
                                    QStringLiteral("Cinquentennale humide"),
                                    QStringLiteral("Cinquentennale sèche"),
                                    QStringLiteral("Centennale humide"),
                                    QStringLiteral("Centennale sèche")};
inline QString courbeDefaut(const QString &courbe)
{
    return QStringLiteral("Courbe_") + courbe + QStringLiteral("_Default");
}
inline QString courbeMotif(const QString &courbe)
{
    return QStringLiteral("Courbe_") + courbe + QStringLiteral("_Pattern");
}

} // namespace vyk::reglage
