#pragma once

#include <QString>
#include <QStringList>

class QDateTime;

namespace vyk {

class Tableau;

// Levels of journal entries.
enum NiveauJournal
{
    JournalApplication = 0,
    JournalDebug = 1,
    JournalInfo = 2,
    JournalWarning = 3,
    JournalErreur = 4
};

// Entries of the JOURNAL table: date, level, title (cut to 125 characters), login ("AUTO"
// without a login), contact, workstation, module "VYK", detail. Levels 0 and 4 are always
// written, 1 only at journal level 1, 2 at journal levels 1 and 2. A failure to write is
// ignored: logging never interrupts the caller.
void journaliser(const QString &titre, const QString &detail = {});
void journaliserDebug(const QString &titre, const QString &detail = {});
void journaliserInfo(const QString &titre, const QString &detail = {});
void journaliserErreur(const QString &titre, const QString &detail = {});
void ecrireJournal(const QString &titre, const QString &detail, int niveau);

// Reads the entries of the JOURNAL table dated from depuis on (an invalid date: every entry),
// oldest first or newest first, with the columns asked for. False when it cannot be read.
bool lireJournal(const QStringList &colonnes, const QDateTime &depuis, bool recentesDabord,
                 Tableau &entrees);

// The journal level of the run (from the LogLevel setting); kept by the database object.
int niveauJournal();
void definirNiveauJournal(int niveau);

// The level list of the options: "APPLICATION [0]" to "ERROR       [4]", in level order.
QStringList libellesNiveauxJournal();
// The number in brackets of a label of that list; -1 when there is none.
int niveauDuLibelle(const QString &libelle);
// Lengths of the columns the writer fills.
inline constexpr int LONGUEUR_TITRE_JOURNAL = 125;

} // namespace vyk
