#pragma once

#include <QString>

namespace vyk {

// The French reason of an engine's error text, for the user; the engine's own text goes to the
// journal. A text that is not one of the engines' known failures is given back as it is (the
// program's own messages are French already).
QString raisonMoteur(const QString &erreurMoteur);

// True for the failures that are not a statement's own and end the work (a full disk, a file
// held by another program, a lost connection, a transaction the server has aborted).
bool erreurFatale(const QString &erreurMoteur);

// "Rien n'a été enregistré : " followed by the French reason (a refused commit, a batch undone).
QString rienEnregistre(const QString &erreurMoteur);

} // namespace vyk
