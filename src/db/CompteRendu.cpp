#include "db/CompteRendu.h"

#include "db/Messages.h"

namespace vyk {

bool montrer(const CompteRendu &compteRendu)
{
    if (!compteRendu.texte.isEmpty())
        afficherMessage(!compteRendu.genre.isEmpty() ? compteRendu.genre
                        : compteRendu.ok             ? GENRE_AIDE
                                                     : GENRE_ERREUR,
                        compteRendu.texte);
    return compteRendu.ok;
}

} // namespace vyk
