#pragma once

// The unattended import a start-up may be asked for: "/IMPORT /FOLDER=... /EXTENSION=...".

#include "import/Importation.h"

#include <QStringList>

namespace vyk {

class Progression;

// Setting that answers, in an unattended import, the question of the organisations missing
// from the database: "OUI" creates them, anything else leaves the files that need them in error.
inline const QString REGLAGE_INTERVENANTS_AUTOMATIQUE =
    QStringLiteral("CreationIntervenantsImportAutomatique");

namespace texteImportAutomatique {
inline const QString TITRE = QStringLiteral("Importation automatique");
inline const QString SANS_DROIT =
    QStringLiteral("Importation automatique refusée : l'utilisateur ne dispose pas du droit "
                   "d'importer des données (QUALITO_IMPORT).");
inline const QString SANS_DOSSIER = QStringLiteral(
    "Importation automatique refusée : le dossier à importer (/FOLDER) n'existe pas : ");
inline const QString INTERVENANTS_NON =
    QStringLiteral("Les intervenants absents de la base ne sont pas créés lors d'une importation "
                   "automatique (réglage CreationIntervenantsImportAutomatique différent de OUI).");
} // namespace texteImportAutomatique

struct ImportAutomatique
{
    bool demande = false; // "/IMPORT" was on the command line
    QString refus;        // why nothing ran ("" when it ran)
    ResultatImport resultat;
};

// Runs the import the program's arguments ask for, for the logged-in user, without any box: the
// model comes from the folder's properties file, else from the screen's remembered model; the
// outcome and every file in error go to the journal. Nothing happens without "/IMPORT".
ImportAutomatique lancerImportAutomatique(const QStringList &arguments, Progression &progression);

} // namespace vyk
