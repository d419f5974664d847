#pragma once

// Tokens of an SQL statement, as the desktop-dialect translation and the record sets read it:
// string literals, quoted names, comments and #date# literals are single tokens.

#include <QString>
#include <QStringView>
#include <QVarLengthArray>

#include <array>
#include <string_view>

namespace vyk::lexique {

enum class Genre : unsigned char
{
    Espace,
    Commentaire,
    Ident,
    IdentQuote, // "name", [name] or `name`
    Chaine,     // 'text'
    Date,       // #...#
    Nombre,
    Param, // ?
    Op
};

struct Jeton
{
    Genre genre;
    int debut;
    int longueur;
    char16_t c0 = 0; // first character of an operator, to compare without building views
    char16_t c1 = 0;
};

using Jetons = QVarLengthArray<Jeton, 256>;

void decouper(QStringView s, Jetons &jetons);

// Upper-cased ASCII copy of a short word; empty when the word is too long or not ASCII.
std::string_view majuscules(QStringView mot, std::array<char, 24> &tampon);

// "YYYY-MM-DD HH:MM:SS" from the content of a #date# literal (month first, or ISO); ok false
// when it is not a date.
QString texteDateIso(QStringView contenu, bool *ok);

} // namespace vyk::lexique
