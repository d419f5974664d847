#pragma once

// Options of the running program, read once at login from the settings store (the screens
// that need others read them when they open, through app/Reglages.h names).

#include <QString>

namespace vyk {

// True for a flag that is on: "OUI", "O", "1", "VRAI" or "TRUE" (any case).
bool estActive(const QString &valeur);
// The setting, read as a flag.
bool reglageActif(const QString &nom);
// First month of the hydrological year, two digits: the setting, or "09" when it is empty.
QString moisDebutAnneeHydro();
// The same as a month, 1 to 12 (9 when the setting is empty or not a month).
int moisHydrologique();

struct OptionsProgramme
{
    // Journal.
    int niveauJournal = 0; // LogLevel through enNombre, 0 when unreadable
    bool trace = true;     // TraceLog is not "NON"
    // Data domains.
    bool donneesPhysicoChimique = false;
    bool donneesHydroBio = false;
    bool exploitationAEP = false;
    bool contexteInternational = false;
    // Display.
    bool affichageNGF = false;        // Affichage is "NGF"
    bool affichageProfondeur = false; // AffichageProfondeur is "1"
    bool pointOk = false;             // Point_OK is "OUI"
    bool idStationAvecDesignation = false;
    QString moisDebutAnneeHydro = QStringLiteral("09");
    // Folders and files, as stored.
    QString cheminEdition, cheminModeles, cheminExport, cheminR, cheminPhotos, cheminDocuments;
    QString fichierAide, fichierDonneesCR2M, fichierAppelCR2M, baseBrute;
};

OptionsProgramme lireOptions();

// Journal level of a LogLevel text: enNombre, 0 when it does not read as a number.
int niveauJournalDe(const QString &texte);

} // namespace vyk
