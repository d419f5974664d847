#pragma once

// The threshold colouring of the physico-chemical follow-up table: each result classed against
// the bounds of its parameter and unit in a set.

#include "monitoring/SuiviPhysicoChimique.h"

namespace vyk {

// Fills the classes of every line: the class of the stored number (without its "<" or ">"),
// "" for an empty cell, a line without bounds in the set or bounds that are not monotonic.
// An empty set empties the classes.
void classerSuivi(TableauSuivi &tableau, const QString &seuil);

} // namespace vyk
