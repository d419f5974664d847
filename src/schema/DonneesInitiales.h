#pragma once

namespace vyk {

class MiseAJour;

// The reference rows of a database (coded lists, purposes of sampling, kinds of state
// assessment, threshold lists and first thresholds, periods of the year, station types of jobs,
// data settings of the sibling modules), written by the upgrade once every table and column
// exists, just before the parameters and units that have thresholds are marked active.
// Each seed is guarded by a query on its key, so that a second run adds nothing; helpers of the
// run: miseAJour.sql(), miseAJour.lire(), miseAJour.etat(), miseAJour.progression(),
// miseAJour.annule().
void ecrireDonneesInitiales(MiseAJour &miseAJour);

} // namespace vyk
