#pragma once

// Threshold files (ImportationSeuils): a workbook or a ";"-separated text, one bound row per
// line under the set's label and, optionally, a theme: a group set that refers to the main
// set. The whole file is checked before anything is written; each main set and its groups are
// then written in one transaction.

#include "app/Csv.h"
#include "db/Progression.h"
#include "quality/JeuxSeuils.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

namespace texteImportSeuils {
inline const QString ANNONCE = QStringLiteral(
    "Le fichier doit être au format Excel ou CSV et comporter les colonnes suivantes:");
inline const QString TROP_DE_LIGNES =
    QStringLiteral("Le fichier contient trop de données pour être importé automatiquement. ") +
    QStringLiteral(" Scinder le en plusieurs fichiers (moins de 250000 lignes par fichier) pour "
                   "pouvoir importer toutes les données.");
inline const QString UNITES_INCONNUES =
    QStringLiteral("Les codes unités suivants n'existent pas : ");
inline const QString LIBELLE_VIDE = QStringLiteral("Le libellé du seuil est vide");
inline const QString FICHIER_VIDE = QStringLiteral("Le fichier ne contient aucun seuil.");
inline const QString INTEGRATION = QStringLiteral("Intégration seuils");
inline const QString SEUILS_PRINCIPAUX = QStringLiteral("Initialisation des seuils principaux");
inline const QString GROUPES = QStringLiteral("Initialisation des groupes");
inline const QString ANNULE = QStringLiteral("Import des seuils annulé.");
inline QString illisible(const QString &chemin)
{
    return QStringLiteral("Impossible d'ouvrir le fichier ") + chemin + u'.';
}
} // namespace texteImportSeuils

// Files of this many lines or more are refused.
inline constexpr qsizetype LIGNES_SEUILS_MAX = 250000;

// The records of a workbook's first sheet or of a ";"-separated text, refused from
// LIGNES_SEUILS_MAX lines on.
bool lireEnregistrements(const QString &chemin, QVector<EnregistrementCsv> &lignes,
                         QString &erreur);

// The announcement of the columns a file of this kind must hold, one per line.
QString annonceColonnesSeuils(const GenreSeuils &genre);
// Headers of the grid of a loaded file.
QStringList entetesFichierSeuils(const GenreSeuils &genre);

struct LigneFichierSeuils
{
    qsizetype ligne = 0; // of the file, from 1
    QString codeSeuil;
    QString libelleSeuil;
    QString codeTheme;
    QString libelleTheme;
    QStringList bornes; // in the order of champsBornes (the computed parameter among them)
};

struct FichierSeuils
{
    QString chemin;
    QVector<LigneFichierSeuils> lignes;
    // The lines in the order of entetesFichierSeuils.
    QVector<QStringList> grille(const GenreSeuils &genre) const;
};

// Reads a workbook (told by its first bytes) or a ";"-separated text. A first line whose bounds
// are not numbers, or that names its columns, is a header. False with the message otherwise.
bool lireFichierSeuils(const QString &chemin, const GenreSeuils &genre, FichierSeuils &fichier,
                       QString &erreur);

// Unit codes of the file unknown to the unit referential, in the file's order, each once.
QStringList unitesInconnues(const FichierSeuils &fichier);
// The codes (distinct) missing from the unit referential, in the order given.
QStringList unitesAbsentes(const QStringList &codes);

struct BilanImportSeuils
{
    QString refus; // why nothing was written; "" when the file was taken
    QString genreRefus;
    int jeux = 0;       // sets written, groups included
    int lignes = 0;     // bound rows written
    QStringList echecs; // sets whose writing failed (rolled back), with the reason
    bool annule = false;
};

// Checks the whole file (labels, fields, monotonic bounds, elements given twice in a set, unit
// codes), then writes each main set with its groups in one transaction: a set found by its
// label keeps its code, the sets that referred to it lose that reference, its bound rows are
// replaced; a new set takes the champ's greatest code + 1.
BilanImportSeuils importerSeuils(const GenreSeuils &genre, const FichierSeuils &fichier,
                                 Progression &progression = progressionNulle());

} // namespace vyk
