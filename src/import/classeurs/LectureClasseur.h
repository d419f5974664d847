#pragma once

// What every workbook model reads first: one sheet of a workbook, found by name or chosen by the
// user, with its cells as text; the header rows looked up by name.

#include "classeur/Classeur.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace vyk {

// The user's choice of a sheet among the workbook's sheets, in their order; "" for none.
using ChoixFeuille = std::function<QString(const QStringList &feuilles)>;

namespace texteClasseurs {
inline const QString ILLISIBLE = MESSAGE_CLASSEUR_ILLISIBLE;
inline const QString CHOIX = QStringLiteral("Sélectionnez le classeur à importer");
inline QString feuilleAbsente(const QString &chemin)
{
    return QStringLiteral("Impossible de trouver le classeur de données ") + chemin;
}
inline QString feuilleRcsAbsente(const QString &chemin)
{
    return QStringLiteral(
               "Impossible de trouver le classeur 'Contrôle surveillance - RCS' dans le fichier ") +
           chemin;
}
} // namespace texteClasseurs

// A sheet name compared as the templates write it: without case, accents, surrounding or doubled
// blanks, typographic apostrophes read as "'".
QString cleNom(const QString &nom);
// "-", "N.C.", "N.C" and "NC" stand for an empty cell in the templates.
bool estNonCommunique(const QString &texte);
// The cell's text, trimmed, "" for the values above.
QString texteUtile(const Feuille &feuille, int ligne, int colonne);

// Why a cell is refused: "Feuille « nom », cellule M24 (quoi) : raison".
QString refusCellule(const QString &feuille, int ligne, int colonne, const QString &quoi,
                     const QString &raison);

// Opens the workbook; on failure erreur holds "Impossible d'ouvrir le fichier Excel.".
std::optional<Classeur> ouvrirClasseur(const QString &chemin, QString &erreur);

// The sheet of that name (exact, then by cleNom); otherwise the one the user chooses when
// `choisir` is given; otherwise null with erreur = the missing-sheet message.
const Feuille *feuilleDe(const Classeur &classeur, const QString &nom, const ChoixFeuille &choisir,
                         QString &erreur, const QString &message = {});

// The sheet's cells as text, from the workbook at `chemin`: the sheet `feuille` (or the user's
// choice when absent; the first sheet when `feuille` is empty and nothing is asked). Empty with
// the error text when the workbook or the sheet is missing.
std::optional<Feuille> lireClasseur(const QString &chemin, const QString &feuille,
                                    const ChoixFeuille &choisir, QString &erreur);

// The header row of a table: the first row (of `lignesMax` from `ligneDebut`) holding all of
// `requis`; names compared by cleColonne (letters and digits, without case or accents).
struct EnTete
{
    int ligne = 0; // 0: not found
    QHash<QString, int> colonnes;
    QStringList noms; // the header's cells as written, by column from 1 (index 0 unused)

    // The column of the first of the names present, 0 when none.
    int colonne(std::initializer_list<const char *> noms) const;
};
EnTete chercherEnTete(const Feuille &feuille, const QStringList &requis, int lignesMax = 30,
                      int ligneDebut = 1);

} // namespace vyk
