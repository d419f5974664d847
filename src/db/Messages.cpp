#include "db/Messages.h"

#include <cstdio>

namespace vyk {

namespace {
SortieMessages *g_sortie = nullptr;

bool estQuestion(const QString &genre)
{
    return genre == GENRE_QUESTION || genre == GENRE_QUESTION_ANNULER;
}

int reponseParDefaut(const QString &genre)
{
    if (genre == GENRE_QUESTION_ANNULER) return BoutonAnnuler;
    return genre == GENRE_QUESTION ? BoutonNon : BoutonOK;
}
} // namespace

int afficherMessage(const QString &genre, const QString &texte)
{
    return sortieMessages()->afficher(genre.trimmed().toUpper(), texte);
}

bool confirmerParMessage(const QString &question)
{
    return afficherMessage(GENRE_QUESTION, question) == BoutonOui;
}

void installerSortieMessages(SortieMessages *sortie)
{
    g_sortie = sortie;
}

SortieMessages *sortieMessages()
{
    static MessagesSilencieux silencieux;
    return g_sortie ? g_sortie : &silencieux;
}

int EnregistreurMessages::afficher(const QString &genre, const QString &texte)
{
    m_messages.append({genre, texte});
    if (!m_reponses.isEmpty() && estQuestion(genre)) return m_reponses.takeFirst();
    return reponseParDefaut(genre);
}

QStringList EnregistreurMessages::textes() const
{
    QStringList r;
    for (const Message &m : m_messages)
        r << m.texte;
    return r;
}

int MessagesSilencieux::afficher(const QString &genre, const QString &texte)
{
    std::fprintf(stderr, "%s : %s\n", qUtf8Printable(genre.isEmpty() ? GENRE_INFO : genre),
                 qUtf8Printable(texte));
    if (journal) journal(genre, texte);
    return reponseParDefaut(genre);
}

} // namespace vyk
