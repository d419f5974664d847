#pragma once

// The station list without its window: one query (or the site's own QUALITOMETRES_FILTRE table)
// limited to the user's stations, the texts of its columns, the text filter, the per-user column
// layout and sort column, and the user's default selection list. The list screen, vyk-cli
// stations and the card's previous/next navigation use it.

#include "db/Tableau.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

namespace texteListe {
// %1 shown, %2 total.
inline const QString COMPTE = QStringLiteral("%1 / %2 stations(s)");
inline const QString TITRE = QStringLiteral("Liste des qualitomètres");
inline const QString JOURNAL_ECHEC =
    QStringLiteral("Chargement de la liste des qualitomètres impossible");
} // namespace texteListe

struct ListeStations
{
    QStringList titres;
    QVector<QStringList> lignes; // cell texts, one line per row of the query
    QStringList codes;         // CodeQualitometre of each line ("" when the filter table has none)
    bool depuisFiltre = false; // built from QUALITOMETRES_FILTRE
    bool echec = false;        // the query failed three times: the list is empty
};

// Column titles of the standard list.
const QStringList &titresListeQualitometres();
// Index of the code column ("Num") and of the displayed code ("Identifiant") in the standard list.
inline constexpr int COLONNE_CODE = 0;
inline constexpr int COLONNE_IDENTIFIANT = 1;

// The standard query; conditionAcces is added as its WHERE clause when not empty.
QString requeteListeQualitometres(bool codeEuropeen, const QString &conditionAcces = {});

// Builds and runs the list: QUALITOMETRES_FILTRE when the site defined one, the standard query
// otherwise; limited to the stations of the session's user when their access is restricted (an
// unattended run without a user sees every station). A query that fails is tried three times;
// after the third failure the schema version marker is removed, so that the next start upgrades
// the database, and the list is empty. codeEuropeen: the setting CodeMasseEauEuropeen when not
// given.
ListeStations chargerListeQualitometres();
ListeStations chargerListeQualitometres(bool codeEuropeen);

// True when a cell of the line holds the text (without regard to case); an empty text matches.
bool ligneCorrespond(const QStringList &ligne, const QString &filtre);
// shown + " / " + total + " stations(s)".
QString texteCompte(int affichees, int total);

// Column widths of the list per user (PARAMETRES_LISTE_QUALITO): by column index, 0 for a hidden
// column; empty when the user has none.
QVector<double> lireLargeursColonnes(const QString &utilisateur);
bool enregistrerLargeursColonnes(const QString &utilisateur, const QVector<double> &largeurs);
// The sort column kept in the settings (-1 when none).
int lireColonneTri();
void ecrireColonneTri(int colonne);

// The code of the user's default selection list of this module ("" when none).
QString listeSelectionDefaut(const QString &login);
// The selection lists offered to the user: code and label.
struct ListeSelection
{
    QString code;
    QString libelle;
};
QVector<ListeSelection> listesSelection(const QString &login);

} // namespace vyk
