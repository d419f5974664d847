#pragma once

#include <QList>
#include <QString>
#include <QVector>

#include <functional>

namespace vyk {

// Buttons returned by afficherMessage.
enum Bouton { BoutonOK = 1, BoutonAnnuler = 2, BoutonOui = 6, BoutonNon = 7 };

// Where messages to the user go: message boxes in the GUI, a recorder in tests, standard error
// and the journal in unattended runs.
class SortieMessages
{
public:
    virtual ~SortieMessages() = default;
    // genre already upper-cased: "ERREUR", "AIDE", "QUESTION" or anything else.
    virtual int afficher(const QString &genre, const QString &texte) = 0;
};

// Kind "ERREUR": error, OK. "AIDE": information, OK. "QUESTION": Yes/No, No by default.
// "QUESTION_ANNULER": Yes/No/Cancel, Cancel when nobody answers (nothing is lost).
// Anything else: OK, no icon. The kind is compared upper-cased.
int afficherMessage(const QString &genre, const QString &texte);

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
    void vider() { m_messages.clear(); m_reponses.clear(); }

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
    explicit SortieMessagesTemporaire(SortieMessages *sortie) : m_avant(sortieMessages()) { installerSortieMessages(sortie); }
    ~SortieMessagesTemporaire() { installerSortieMessages(m_avant); }
    SortieMessagesTemporaire(const SortieMessagesTemporaire &) = delete;
    SortieMessagesTemporaire &operator=(const SortieMessagesTemporaire &) = delete;

private:
    SortieMessages *m_avant;
};

} // namespace vyk
