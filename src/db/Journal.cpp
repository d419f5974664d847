#include "db/Journal.h"

#include "db/BaseDonnees.h"
#include "db/Outils.h"
#include "db/Session.h"
#include "db/Sql.h"
#include "db/Tableau.h"

#include <QDateTime>
#include <QRegularExpression>

namespace vyk {

int niveauJournal()
{
    return bd().niveauJournal();
}

void definirNiveauJournal(int niveau)
{
    bd().setNiveauJournal(niveau);
}

QStringList libellesNiveauxJournal()
{
    return {QStringLiteral("APPLICATION [0]"), QStringLiteral("DEBUGGAGE   [1]"),
            QStringLiteral("INFORMATION [2]"), QStringLiteral("WARNING     [3]"),
            QStringLiteral("ERROR       [4]")};
}

int niveauDuLibelle(const QString &libelle)
{
    static const QRegularExpression crochets(QStringLiteral("\\[\\s*(\\d+)\\s*\\]\\s*$"));
    const auto m = crochets.match(libelle);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

namespace {

// The first n characters of a text; a character outside the basic plane (two UTF-16 units) is
// kept or left out whole, never cut in half.
QString debut(const QString &texte, int n)
{
    qsizetype i = 0;
    for (int lus = 0; lus < n && i < texte.size(); ++lus)
        i += texte[i].isHighSurrogate() && i + 1 < texte.size() && texte[i + 1].isLowSurrogate()
                 ? 2
                 : 1;
    return texte.left(i);
}

} // namespace

void ecrireJournal(const QString &titre, const QString &detail, int niveau)
{
    const int configure = niveauJournal();
    const bool ecrire = niveau == JournalApplication || niveau == JournalErreur ||
                        (niveau == JournalDebug && configure == 1) ||
                        (niveau == JournalInfo && (configure == 1 || configure == 2));
    if (!ecrire || !bd().estOuverte()) return;
    // Logging never disturbs the caller: a failure is neither reported nor kept as the last error.
    BaseDonnees::Discretion discretion(bd());
    const Session &s = session();
    InstructionPreparee insertion =
        bd().preparer(QStringLiteral("INSERT INTO JOURNAL (dateEvt, niveau, Titre, utilisateur, "
                                     "contact, ip, projet, description) "
                                     "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    const QDateTime maintenant = QDateTime::currentDateTime();
    const QDateTime aLaSeconde(
        maintenant.date(),
        QTime(maintenant.time().hour(), maintenant.time().minute(), maintenant.time().second()));
    // Texts are cut to their columns so that a long login or host name does not lose the entry.
    insertion.executer(
        {aLaSeconde, QString::number(niveau),
         titre.isEmpty() ? QVariant() : QVariant(debut(titre, LONGUEUR_TITRE_JOURNAL)),
         s.login.isEmpty() ? QStringLiteral("AUTO") : s.login.left(12),
         enNombre(s.codeContact, true).variant(),
         s.poste.isEmpty() ? QVariant() : QVariant(s.poste.left(128)), QStringLiteral("VYK"),
         detail.isEmpty() ? QVariant() : QVariant(detail)});
}

void journaliser(const QString &titre, const QString &detail)
{
    ecrireJournal(titre, detail, JournalApplication);
}
void journaliserDebug(const QString &titre, const QString &detail)
{
    ecrireJournal(titre, detail, JournalDebug);
}
void journaliserInfo(const QString &titre, const QString &detail)
{
    ecrireJournal(titre, detail, JournalInfo);
}
void journaliserErreur(const QString &titre, const QString &detail)
{
    ecrireJournal(titre, detail, JournalErreur);
}

bool lireJournal(const QStringList &colonnes, const QDateTime &depuis, bool recentesDabord,
                 Tableau &entrees)
{
    QString sql = QStringLiteral("SELECT ") + colonnes.join(QStringLiteral(", ")) +
                  QStringLiteral(" FROM JOURNAL");
    if (depuis.isValid()) sql += QStringLiteral(" WHERE dateEvt >= ") + dateSQL(depuis, true);
    sql += recentesDabord ? QStringLiteral(" ORDER BY dateEvt DESC")
                          : QStringLiteral(" ORDER BY dateEvt");
    long nb = 0;
    return bd().ExtraireRecords(sql, nb, entrees);
}

} // namespace vyk
