#pragma once

// Values typed in the cards and grids of the monitoring screens, as they are stored and read
// back: one rule for every field of the operation card and of its grids.

#include "db/ChampDecrit.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

namespace vyk {

enum class GenreChamp
{
    Texte,
    Memo,
    Nombre,
    Date,  // DD/MM/YYYY
    Heure, // hh:mm, stored on the day 30/12/1899
    Code,  // a coded list: the value is the code
    Case   // "1" ticked, "0" not
};

// The stored value of a text: null for an empty text; numbers through enNombre; codes as numbers
// when the column is numeric; a check box "1" or "0".
QVariant valeurSaisie(GenreChamp genre, const QString &texte, bool colonneNumerique);
// The text of a stored value, as the screens show and read it.
QString texteSaisi(GenreChamp genre, const QVariant &valeur);
// True when the text is empty or reads as its kind asks.
bool saisieCorrecte(GenreChamp genre, const QString &texte, bool colonneNumerique);

} // namespace vyk
