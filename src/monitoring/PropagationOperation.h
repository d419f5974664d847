#pragma once

// What an operation passes on to the analyses of its samples.

#include <QtGlobal>

namespace vyk {

// Gives every analysis of the operation's samples (PRELEVEMENTS of the station with this
// codeOperation, rows of the station's "ANALYSES_" + CodeBSS table) the operation's
// qualification (CodeQualification) and status (StatutMesure); an operation without them
// empties them. One statement per column. True when nothing failed (a station without an
// analysis table has nothing to update).
bool propagerQualificationStatut(qint64 codeQualitometre, qint64 codeOperation);

} // namespace vyk
