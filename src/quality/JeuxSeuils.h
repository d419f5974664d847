#pragma once

// Threshold sets as stored: the set's CODES_SANDRE row and its bound rows in ANALYSES_SEUILS,
// read, checked and written the same way by the list screen and the file import.

#include "db/ChampDecrit.h"
#include "quality/Seuils.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

// The fields of a bound row of the kind, in the grid's order: the element (parameter and unit,
// taxon, index or state), the station type and national type (taxa and indices), the computed
// parameter's code, then "Seuil1" to "Seuil4".
const ChampsDecrits &champsBornes(const GenreSeuils &genre);
// Position of the first bound among the fields.
int premiereBorne(const GenreSeuils &genre);

// One bound row as typed, with the line it comes from (grid row or file line, from 1).
struct LigneBornes
{
    qsizetype ligne = 0;
    QStringList textes; // in the order of champsBornes
};

// The filled bounds of a row, in order (texts that are no number are left out).
QVector<double> bornesSaisies(const GenreSeuils &genre, const QStringList &textes);

namespace texteSeuils {
// %1 line.
inline const QString NON_MONOTONES =
    QStringLiteral("Les seuils ne sont ni croissants ni décroissants pour la ligne %1.");
// %1 element, %2 line.
inline const QString EN_DOUBLE =
    QStringLiteral("L'élément %1 figure déjà dans ce seuil pour la ligne %2.");
} // namespace texteSeuils

// The first defect of the rows, as the message to show ("" when every row is right): a field
// that cannot be stored, bounds that are neither increasing nor decreasing, an element given
// twice (same code, unit and station types).
QString verifierBornes(const GenreSeuils &genre, const QVector<LigneBornes> &lignes);

// The set of the kind labelled so; -1 when there is none.
int codeJeuParLibelle(const GenreSeuils &genre, const QString &libelle);
// The bound rows of a set, ordered by element.
QVector<LigneBornes> lireBornes(const GenreSeuils &genre, int code);
// Replaces the bound rows of a set by these (already checked). Run inside the caller's
// transaction; false at the first failing statement.
bool ecrireBornes(const GenreSeuils &genre, int code, const QVector<LigneBornes> &lignes);
// A new set row of the kind, coded max + 1 of the champ; -1 on failure. Run inside the caller's
// transaction, the code-list table locked.
int creerJeu(const GenreSeuils &genre, const QString &libelle, const QString &commentaire = {},
             const QString &codeReference = {});

} // namespace vyk
