#pragma once

// Saved searches: the criteria of a search kept under a title (RESULT_RECH_VYK and its criteria
// rows), and the results memorised for one of them (indicators, totals, distributions, stations
// and their totals in the RESULT_ tables) so that they can be shown again without searching.
// Every save and deletion runs in one transaction: it is done whole or not at all.

#include "db/CompteRendu.h"
#include "search/Recherche.h"

#include <QDateTime>
#include <QString>
#include <QVector>

#include <optional>

namespace vyk {

namespace texteRecherches {
inline const QString SANS_INTITULE = QStringLiteral("Donnez un intitulé à la recherche.");
inline const QString TROP_LONG = QStringLiteral("%1 dépasse %2 caractères : %3");
inline const QString INCONNUE = QStringLiteral("La recherche %1 n'existe pas.");
inline const QString CRITERES_ENREGISTRES =
    QStringLiteral("Les critères de la recherche ont été enregistrés.");
inline const QString RESULTATS_ENREGISTRES =
    QStringLiteral("Les résultats de la recherche ont été enregistrés.");
inline const QString SUPPRIMEE = QStringLiteral("La recherche a été supprimée.");
inline const QString AUCUN_RESULTAT = QStringLiteral("Aucun résultat à enregistrer.");
inline const QString ECHEC = QStringLiteral("Echec de l'enregistrement de la recherche : %1");
inline const QString ECHEC_SUPPRESSION =
    QStringLiteral("Echec de la suppression de la recherche : %1");
} // namespace texteRecherches

// One saved search as the list of searches shows it.
struct RechercheEnregistree
{
    qint64 id = 0;
    QString intitule;
    QDateTime date;
    QString typeDonnees; // the result kind's key ("031", "-1"...)
    QString codeListe;   // the first selection list, "" for none
};

// The saved searches, newest first. Nothing when the statement failed.
std::optional<QVector<RechercheEnregistree>> recherchesEnregistrees();
// The same as a grid ("Numéro", "Intitulé", "Date", "Type de données", "Liste"), for the export.
GrilleTexte grilleRecherches(const QVector<RechercheEnregistree> &recherches);

// Saves the criteria under a title: a new search when id is 0 (id then gets its number),
// otherwise replaces the criteria and title of search id. Lengths are checked before anything
// is written.
CompteRendu enregistrerCriteres(const QString &intitule, const CriteresRecherche &criteres,
                                qint64 &id);
// The criteria of search id; a refusal when it does not exist.
CompteRendu chargerCriteres(qint64 id, CriteresRecherche &criteres);
// Deletes search id with its criteria and memorised results.
CompteRendu supprimerRecherche(qint64 id);

// The grids that memorised results bring back.
struct ResultatsMemorises
{
    GrilleTexte indicateurs, totaux, repartitions, stations, totalStations;
};
// Memorises the results of a search for search id, replacing the ones memorised before.
CompteRendu memoriserResultats(qint64 id, const ResultatRecherche &resultat);
// The memorised results of search id (empty grids when none were memorised). Nothing when a
// statement failed.
std::optional<ResultatsMemorises> resultatsMemorises(qint64 id);

} // namespace vyk
