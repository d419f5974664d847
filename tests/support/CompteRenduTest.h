#pragma once

// A report of the core written as the screen shows it, to compare with literal texts.

#include "db/CompteRendu.h"
#include "db/Messages.h"

namespace vyk::test {

// "KIND: text" as recus() writes a message shown; "" for a report that shows nothing.
inline QString vu(const CompteRendu &compteRendu)
{
    if (compteRendu.texte.isEmpty()) return {};
    const QString genre = !compteRendu.genre.isEmpty() ? compteRendu.genre
                          : compteRendu.ok             ? GENRE_AIDE
                                                       : GENRE_ERREUR;
    return genre.toUpper() + QStringLiteral(": ") + compteRendu.texte;
}

} // namespace vyk::test
