#pragma once

#include <QString>

namespace vyk {

// Levels of journal entries.
enum NiveauJournal { JournalApplication = 0, JournalDebug = 1, JournalInfo = 2, JournalWarning = 3, JournalErreur = 4 };

// Entries of the JOURNAL table: date, level, title (cut to 125 characters), login ("AUTO"
// without a login), contact, workstation, module "VYK", detail. Levels 0 and 4 are always
// written, 1 only at journal level 1, 2 at journal levels 1 and 2. A failure to write is
// ignored: logging never interrupts the caller.
void journaliser(const QString &titre, const QString &detail = {});
void journaliserDebug(const QString &titre, const QString &detail = {});
void journaliserInfo(const QString &titre, const QString &detail = {});
void journaliserErreur(const QString &titre, const QString &detail = {});
void ecrireJournal(const QString &titre, const QString &detail, int niveau);

// The journal level of the run (from the LogLevel setting); kept by the database object.
int niveauJournal();
void definirNiveauJournal(int niveau);

} // namespace vyk
