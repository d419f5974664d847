#pragma once

// The one cascade that deletes a water-quality station or its data: the station card, the
// imports (which empty a station before importing it again) and the purges call it.

#include <QString>
#include <QStringList>

namespace vyk {

class Progression;

struct ResultatSuppression
{
    bool effectuee =
        false; // false: nothing done (code not a number, database closed, batch not written)
    int instructions = 0; // statements sent
    QStringList echecs;   // statements that failed and were skipped
    QString echec;        // the batch could not be written (French reason): nothing was deleted
};

// Deletes, for the station `code` (CodeQualitometre as text) whose analysis table is
// "ANALYSES_" + codeBSS:
// - with supprimerStation, the station row and every row that describes it (links, satellites,
//   equipment placements, 'SINGLE' grants);
// - with supprimerDonnees and no points, every operation, sample and result of the station:
//   its analysis table is dropped, its taxa list table emptied (dropped too when the station
//   itself goes);
// - with supprimerDonnees and points ("031;061"), only what hangs on the points of those
//   identifiers; the taxa list and analysis tables are dropped when nothing is left in them.
// A statement that fails is skipped and the next one runs; missing tables (an analysis table
// never created) are passed over. Each statement advances the progression. When the batch cannot
// be committed (the file held by another program) everything is rolled back and `echec` says why.
ResultatSuppression supprimerQualitometre(const QString &code, const QString &codeBSS,
                                          Progression *progression = nullptr,
                                          bool supprimerStation = true,
                                          bool supprimerDonnees = true, const QString &points = {});

// Tables that hold rows of one station, by CodeQualitometre (the per-station tables aside):
// every one of them is emptied of the station by the full cascade.
const QStringList &tablesDeLaStation();

} // namespace vyk
