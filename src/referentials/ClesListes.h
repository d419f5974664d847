#pragma once

// French names of the code-list keys (CODES_SANDRE.Champ), for the boxes that offer the lists:
// a key is a table and a column of the schema, which a user does not read as such.

#include "referentials/ListesCodees.h"

#include <QStringList>

namespace vyk {

// The French name of a list key, whatever its case; "" for a key it does not know. The lists of
// a parameter's values ("PARAMETRE.1340") are named after the parameter's code.
QString libelleCleListe(const QString &cle);

// Entries of these keys, in their order, each code being the key and the label its French name
// (the key itself when it has none).
EntreesCodees entreesClesListes(const QStringList &cles);

} // namespace vyk
