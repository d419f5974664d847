#pragma once

// The 42-column text road: a ";"-separated file brought into the import table.

#include "import/GrilleImport.h"

#include <QString>

namespace vyk {

class Progression;

namespace texteChargement {
inline const QString TROP_DE_LIGNES =
    QStringLiteral("Le fichier contient trop de données pour être importé automatiquement. ") +
    QStringLiteral(" Scinder le en plusieurs fichiers (moins de 250 000 lignes par fichier) pour "
                   "pouvoir importer toutes les données.");
inline const QString ANNULE = QStringLiteral("Chargement du fichier annulé.");
inline QString illisible(const QString &chemin)
{
    return QStringLiteral("Impossible d'ouvrir le fichier ") + chemin + u'.';
}
// The GDES and QUALIT'EAU ("DB_") loaders' own wording.
inline const QString TROP_DE_LIGNES_GDES =
    QStringLiteral("Le fichier contient trop de données pour être importé automatiquement. ") +
    QStringLiteral(" Scinder le en plusieurs fichiers (mois de 250000 lignes par fichier) pour "
                   "pouvoir importer toutes les données.");
} // namespace texteChargement

// The wordings of a loader: its refusal at the row limit and its progress message every 100 rows.
struct TextesChargement
{
    QString trop = texteChargement::TROP_DE_LIGNES;
    QString avantNombre = QStringLiteral("Chargement ligne ");
    QString apresNombre;
};
// The GDES loader's: "Chargement du fichier (ligne=" n ")" and its own refusal.
TextesChargement textesChargementGdes();

// Loads a text file into the table. The first line is never data: with `entete` it gives the
// column names (and the line after it is passed over too), otherwise the 42 names are set.
// Every further non-empty line is split at ";" into one row (at least 42 fields). The bytes are
// decoded once: UTF-8 (a byte-order mark dropped) or Windows-1252 when not valid UTF-8.
// Returns "" or the error text; on any error, or when cancelled, the table is emptied. The
// table reaching LIGNES_IMPORT_MAX rows is an error. Each row's origin is "ligne " + its line
// number in the file.
QString chargerFichierTexte(const QString &chemin, GrilleImport &grille, Progression &progression,
                            bool entete, const TextesChargement &textes = {});
// The same over bytes already read (the fuzz target and the tests of the rules).
QString chargerTexte(const QByteArray &octets, GrilleImport &grille, Progression &progression,
                     bool entete, const TextesChargement &textes = {});

} // namespace vyk
