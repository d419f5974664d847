#pragma once

#include <QString>

namespace vyk {

// What a save or a deletion of the core reports instead of showing it: whether it was done, and
// the text for the user (the refusal or failure, or the notice of success; "" for nothing).
struct CompteRendu
{
    bool ok = false;
    QString texte;
    // The message kind when it is not the usual one (GENRE_AIDE when done, GENRE_ERREUR
    // otherwise), such as GENRE_INFO for a run the user cancelled.
    QString genre = {};
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
// Nothing done and nothing wrong: the user said No or cancelled; the text is a notice.
inline CompteRendu abandon(const QString &texte, const QString &genre)
{
    return {false, texte, genre};
}
// Shows the text, if any, in its kind (GENRE_AIDE when done and GENRE_ERREUR otherwise unless
// the report names one); gives ok.
bool montrer(const CompteRendu &compteRendu);

} // namespace vyk
