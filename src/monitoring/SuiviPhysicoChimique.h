#pragma once

// The physico-chemical follow-up table of a station (SuiviPhysicoChmique): one column per sample
// (date and number), one line per parameter and unit, results shown with the "<" and ">" of
// their remark, filtered with the inheritance rules of status, qualification and support.
// Filled from one query per station.

#include "referentials/ListesCodees.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

struct FiltresSuivi
{
    QString dateDebut;     // DD/MM/YYYY, "" for 01/01/1900
    QString dateFin;       // DD/MM/YYYY, "" for 31/12/2050
    QString producteur;    // code of the operation's producer, "" or "*" for every one
    QString support;       // "" or "*" for every one
    QString statut;        // idem
    QString qualification; // idem
    // "Ne rechercher que les données supérieures au seuil de quantification".
    bool quantifieesSeulement = false;
    // Newest first; the option AffichageChronologiqueInverse by default.
    bool inverse = false;
};
// The filters with the user's display option.
FiltresSuivi filtresSuiviParDefaut();

struct ColonneSuivi
{
    QDateTime date; // the operation's date, or the sample's when it has no operation
    QString numPrelevement;
    QString entete; // "DD/MM/YYYY" and the sample number
};

struct LigneSuivi
{
    QString codeParametre;
    QString codeUnite;
    QString nomParametre;
    QString nomUnite;
    QString symbole;
    bool calcule = false; // computed from its component parameters
    QStringList valeurs;  // one per column: "", "12.5", "<0.1", ">300"
    // The quality class of each value against the chosen thresholds ("" when not classed).
    QStringList classes;
};

struct TableauSuivi
{
    QVector<ColonneSuivi> colonnes;
    QVector<LigneSuivi> lignes;
    int nbAnalyses = 0;
};

namespace texteSuivi {
inline const QString DATE_DEBUT =
    QStringLiteral("La date de début de la période n'est pas correcte.");
inline const QString DATE_FIN = QStringLiteral("La date de fin de la période n'est pas correcte.");
} // namespace texteSuivi

// The table of the station. False, with the reason, when a date of the period is not a date,
// the code cannot name a table or the query failed; a station without analysis table gives an
// empty table.
bool chargerSuivi(const QString &codeQualitometre, const QString &codeBSS,
                  const FiltresSuivi &filtres, TableauSuivi &tableau, QString *erreur = nullptr);

// The stations the user may see, "CodeBSS - Nom" by CodeQualitometre, ordered by CodeBSS.
EntreesCodees stationsSuivi();
// The CodeBSS of a station; "" when there is none.
QString codeBSSStation(const QString &codeQualitometre);

// Headers of the grid: "Paramètre", "Unité", then the columns' headers.
QStringList entetesSuivi(const TableauSuivi &tableau);

} // namespace vyk
