#pragma once

#include <QList>
#include <QString>
#include <QVector>

#include <functional>

namespace vyk {

// Kinds of message given to afficherMessage.
inline const QString GENRE_ERREUR = QStringLiteral("ERREUR");     // error icon, OK
inline const QString GENRE_AIDE = QStringLiteral("AIDE");         // information icon, OK
inline const QString GENRE_QUESTION = QStringLiteral("QUESTION"); // Yes / No, No by default
// Yes / No / Cancel, Cancel when nobody answers (nothing is lost).
inline const QString GENRE_QUESTION_ANNULER = QStringLiteral("QUESTION_ANNULER");
inline const QString GENRE_INFO = QStringLiteral("INFO");       // OK, no icon
inline const QString GENRE_WARNING = QStringLiteral("WARNING"); // OK, no icon

// Buttons returned by afficherMessage.
enum Bouton
{
    BoutonOK = 1,
    BoutonAnnuler = 2,
    BoutonOui = 6,
    BoutonNon = 7
};

// Where messages to the user go: message boxes in the GUI, a recorder in tests, standard error
// and the journal in unattended runs.
class SortieMessages
{
  public:
    virtual ~SortieMessages() = default;
    // genre already upper-cased: one of the GENRE_ kinds or anything else.
    virtual int afficher(const QString &genre, const QString &texte) = 0;
};

// A GENRE_ kind; anything else is shown as GENRE_INFO. The kind is compared upper-cased.
int afficherMessage(const QString &genre, const QString &texte);

// The user's answer to a question an operation of the core needs (true for Yes): the core takes
// it as a function instead of showing a box in the middle of its work.
using Confirmation = std::function<bool(const QString &question)>;
// The answer asked through afficherMessage (a Yes / No box in the program, No by default).
bool confirmerParMessage(const QString &question);

// Installs the output (not owned); nullptr restores the silent one.
void installerSortieMessages(SortieMessages *sortie);
SortieMessages *sortieMessages();

// Records messages and answers questions from a script (tests). Without a scripted answer a
// question gets No, the default button, and a question with Cancel gets Cancel.
class EnregistreurMessages : public SortieMessages
{
  public:
    struct Message
    {
        QString genre;
        QString texte;
    };
    int afficher(const QString &genre, const QString &texte) override;

    void repondre(int bouton) { m_reponses.append(bouton); }
    const QVector<Message> &messages() const { return m_messages; }
    QStringList textes() const;
    void vider()
    {
        m_messages.clear();
        m_reponses.clear();
    }

  private:
    QVector<Message> m_messages;
    QList<int> m_reponses;
};

// Unattended runs: the message goes to standard error and to the journal hook; a question
// gets No.
class MessagesSilencieux : public SortieMessages
{
  public:
    int afficher(const QString &genre, const QString &texte) override;
    std::function<void(const QString &genre, const QString &texte)> journal;
};

// Installs a sortie for the lifetime of a scope.
class SortieMessagesTemporaire
{
  public:
    explicit SortieMessagesTemporaire(SortieMessages *sortie) : m_avant(sortieMessages())
    {
        installerSortieMessages(sortie);
    }
    ~SortieMessagesTemporaire() { installerSortieMessages(m_avant); }
    SortieMessagesTemporaire(const SortieMessagesTemporaire &) = delete;
    SortieMessagesTemporaire &operator=(const SortieMessagesTemporaire &) = delete;

  private:
    SortieMessages *m_avant;
};

} // namespace vyk
