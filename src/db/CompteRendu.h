#pragma once

#include <QString>

namespace vyk {

// What a save or a deletion of the core reports instead of showing it: whether it was done, and
// the text for the user (the refusal or failure, or the notice of success; "" for nothing).
struct CompteRendu
{
    bool ok = false;
    QString texte;
    explicit operator bool() const { return ok; }
};
inline CompteRendu reussite(const QString &texte = {})
{
    return {true, texte};
}
inline CompteRendu echec(const QString &texte)
{
    return {false, texte};
}
// Shows the text, if any, as GENRE_AIDE when done and GENRE_ERREUR otherwise; gives ok.
bool montrer(const CompteRendu &compteRendu);

} // namespace vyk
