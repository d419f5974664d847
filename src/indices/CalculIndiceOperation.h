#pragma once

// The index commands of the operation card: the whole road from the operation's taxa list to
// its results stored (or the calculator's documents left for the user), with the messages the
// card shows.

#include "indices/DescriptionIndice.h"
#include "indices/ExportIndice.h"

#include "db/Progression.h"

namespace vyk {

namespace texteCalculIndice {
// The faunal list's and the end's messages are the IBGN's (texteIbgn).
inline const QString LISTE_FLORE_VIDE =
    QStringLiteral("La liste floristique de cette opération est vide. Vous ne pouvez pas "
                   "calculer l'indice correspondant.");
} // namespace texteCalculIndice

struct IssueCalculIndice
{
    QString genre; // GENRE_INFO or GENRE_ERREUR; "" when nothing is to be said (cancelled)
    QString message;
    bool resultats = false; // results stored: the card reads the operation again
    QString documents;      // the folder of the documents to show, for the diagnostic tool
};

// Runs the calculator of `indice` on operation `operation` of the station (its numeric code and
// public code), the calculators' root taken from the settings. `progression` goes through 10,
// 20, 60, 70 and 100 per cent; its cancel stops the wait and nothing is stored.
IssueCalculIndice calculerIndiceOperation(const DescriptionIndice &indice, qint64 station,
                                          const QString &codeBSS, const QString &operation,
                                          Progression &progression);

// The same road from the calculator's folder on, for any export and filters.
IssueCalculIndice lancerExport(const DescriptionIndice &indice, const QString &codeBSS,
                               const FiltresExport &filtres, Progression &progression);

// HYPE on the station's analyses (of the parameter selection `selection` when set) and water
// levels, dates DD/MM/YYYY ("" for none, the upper one excluded); its PDF reports are left in
// its "script" folder.
IssueCalculIndice calculerTendancesHype(const QString &codeBSS, const QString &selection,
                                        const QString &dateMinimum, const QString &dateMaximum,
                                        Progression &progression);

// True when the operation has no line in the index's list (faunal or floral).
bool listeIndiceVide(const DescriptionIndice &indice, qint64 station, const QString &operation);

} // namespace vyk
