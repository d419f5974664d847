#pragma once

namespace vyk {

// The journal level of the run, read from the LogLevel setting at start-up: a value that does
// not read as a number gives 0 (only application entries and errors are written).
int chargerNiveauJournal();
// Choice in the options: the level holds for the rest of the run, is stored in LogLevel and is
// handed to the database object.
void changerNiveauJournal(int niveau);

} // namespace vyk
