#pragma once

#include <span>

// One value per station out of its stored data: a statistic of a physico-chemical parameter
// over a period, the latest index result of its hydrobiological operations, the abundance of a
// taxon, and their comparison with a reference year. Nothing is written to the database; the
// caller (the situation map, the command line) shows, classes and exports the figures.

#include <QDate>
#include <QString>

#include <functional>

namespace vyk {

// The station a figure is computed for: its number and its public code (which names its
// analysis table).
struct StationCalcul
{
    qint64 codeQualitometre = 0;
    QString codeBSS;
    // Set by a caller that read the catalogue once for many stations: the analysis table is
    // known to exist, and is not looked up again.
    bool tableVerifiee = false;
};

// What every single-value operation shares.
struct CriteresCalcul
{
    QDate dateCalcul;
    int periode = 0;       // days before the calculation date
    int ageLimite = 0;     // days; 0 for none
    QString statut;        // "" for any
    QString qualification; // "" for any
};

// Kinds of statistic as the map passes them: "MIN", "AVG", "MAX", "SUM", "P90", "" (latest).
inline const QStringList GENRES_STATISTIQUE = {QStringLiteral("MIN"), QStringLiteral("AVG"),
                                               QStringLiteral("MAX"), QStringLiteral("SUM"),
                                               QStringLiteral("P90"), QString()};

// The cells a computation fills in the caller's row.
struct ValeurCalculee
{
    QString date;           // DD/MM/YYYY of the value, "" for an average or no value
    QString valeurAffichee; // with "<" or ">" for a latest value below or above a limit
    QString valeur;         // the number rounded to 3 decimals, what the classes read
    QString classe = QStringLiteral("0");
    // Latest values only: older than the period, older than the age limit.
    bool plusAncienQuePeriode = false;
    bool plusAncienQueLimite = false;
};

// Statistic `genre` of the parameter (and unit, when given) over the samples dated from
// dateCalcul - periode to the end of dateCalcul. Results below a limit (remarks 2 and 10) count
// for half their value; remarks 0 and 3 are left out, empty results too. False, with empty
// cells, when no usable value was found or a statement failed.
bool calculStatistiqueAnalyses(const StationCalcul &station, const QString &parametre,
                               const QString &unite, const CriteresCalcul &criteres,
                               const QString &genre, ValeurCalculee &valeur);

// Value at rank round-half-even(n x fraction + 0.5) of the ascending values of a "|"-separated
// list (a trailing "|" allowed); "" for an empty list or an empty or missing cell at that rank.
QString calculPercentile(const QString &liste, double fraction);
// The same rank rule over values already sorted ascending, without going through text.
QString percentileTrie(std::span<const double> triees, double fraction);

// A reference year and the trend of the current figure against it.
struct ComparaisonReference
{
    QString reference = QStringLiteral("0");
    QString tendance; // "1", "2", "3" or "" when there is nothing to compare
};

// Mean of the parameter over the year (on the analysis date, else the sample date; results
// below a limit count as 0) against the current value: trend 3 above the mean + margin, 1 below
// the mean - margin, 2 in between (bounds included). False when no mean could be computed.
bool comparerAnneeReference(const StationCalcul &station, const QString &parametre,
                            const QString &unite, const QString &annee, const QString &statut,
                            const QString &qualification, double margePourcent,
                            const QString &valeurCourante, ComparaisonReference &comparaison);

// Latest result of the index `parametre` on or before the calculation date, however old.
bool dernierResultatOperation(qint64 codeQualitometre, const QString &parametre,
                              const CriteresCalcul &criteres, ValeurCalculee &valeur);

// The class of an index result, by the caller's thresholds; "" or "-1" for none.
using Classement = std::function<QString(const QString &valeur)>;

// Class of the latest index result of the reference year against the current class: trend 1
// when the current class is above the reference + margin (worse), 3 below, 2 in between.
bool comparerClasseAnneeReference(qint64 codeQualitometre, const QString &annee,
                                  const QString &parametre, const QString &statut,
                                  const QString &qualification, double margePourcent,
                                  const QString &classeCourante, const Classement &classer,
                                  ComparaisonReference &comparaison);

// Abundance of the taxon (and of the taxa counted with it) in the latest taxa list of the kind
// codeListe (0 or 1) on or before the calculation date.
bool calculDenombrementTaxon(qint64 codeQualitometre, int codeListe, const QString &taxon,
                             const CriteresCalcul &criteres, ValeurCalculee &valeur);

} // namespace vyk
