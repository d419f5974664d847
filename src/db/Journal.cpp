#include "db/Journal.h"

#include "db/BaseDonnees.h"
#include "db/Session.h"

#include <QDateTime>

namespace vyk {

int niveauJournal() { return bd().niveauJournal(); }

void definirNiveauJournal(int niveau) { bd().setNiveauJournal(niveau); }

void ecrireJournal(const QString &titre, const QString &detail, int niveau)
{
    const int configure = niveauJournal();
    const bool ecrire = niveau == JournalApplication || niveau == JournalErreur ||
                        (niveau == JournalDebug && configure == 1) ||
                        (niveau == JournalInfo && (configure == 1 || configure == 2));
    if (!ecrire || !bd().estOuverte())
        return;
    BaseDonnees::Discretion discretion(bd());
    const Session &s = session();
    InstructionPreparee insertion = bd().preparer(QStringLiteral(
        "INSERT INTO JOURNAL (dateEvt, niveau, Titre, utilisateur, contact, ip, projet, description) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    const QDateTime maintenant = QDateTime::currentDateTime();
    insertion.executer({QDateTime(maintenant.date(), QTime(maintenant.time().hour(), maintenant.time().minute(),
                                                          maintenant.time().second())),
                        QString::number(niveau),
                        titre.isEmpty() ? QVariant() : QVariant(titre.left(125)),
                        s.login.isEmpty() ? QStringLiteral("AUTO") : s.login,
                        s.codeContact.isEmpty() ? QVariant() : QVariant(s.codeContact.toDouble()),
                        s.poste.isEmpty() ? QVariant() : QVariant(s.poste),
                        QStringLiteral("VYK"),
                        detail.isEmpty() ? QVariant() : QVariant(detail)});
}

void journaliser(const QString &titre, const QString &detail) { ecrireJournal(titre, detail, JournalApplication); }
void journaliserDebug(const QString &titre, const QString &detail) { ecrireJournal(titre, detail, JournalDebug); }
void journaliserInfo(const QString &titre, const QString &detail) { ecrireJournal(titre, detail, JournalInfo); }
void journaliserErreur(const QString &titre, const QString &detail) { ecrireJournal(titre, detail, JournalErreur); }

} // namespace vyk
