#pragma once

// The series a chart of results draws, read from a station's analysis table: a parameter over
// time at one station, the same parameter at several stations, several parameters of one
// station grouped by unit, and the bands of a threshold set. No SQL is left to the screen.

#include "quality/Statistiques.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

#include <limits>

namespace vyk {

// Where a result below a limit (remarks 2 and 10) is drawn: at the stored limit, or at half of
// it as the statistics count it.
enum class TraceCensure
{
    Limite,
    DemiLimite
};

struct CriteresGraphique
{
    QString unite; // "" for every unit of the parameter (one series per unit)
    QDate debut;   // invalid for no lower bound
    QDate fin;     // invalid for no upper bound; the whole day counts
    TraceCensure trace = TraceCensure::Limite;
};

struct PointGraphique
{
    QDateTime date;          // the sample's date and start time
    double valeur = 0;       // as stored
    double valeurTracee = 0; // where the point is drawn
    QString remarque;
    qint64 prelevement = 0;
    bool censure = false; // below a limit
};

struct SerieGraphique
{
    QString codeBSS;
    QString parametre;
    QString nomParametre; // "" when the parameter is not in the referential
    QString unite;
    QString symbole;                // the unit's symbol, its code when it has none
    QVector<PointGraphique> points; // in date order
};

// The series drawn against one vertical axis.
struct AxeGraphique
{
    QString unite;
    QString symbole;
    QVector<SerieGraphique> series;
};

// One class band of a threshold set: values in (bas, haut], the outer bands open.
struct BandeSeuil
{
    int classe = 0;
    double bas = -std::numeric_limits<double>::infinity();
    double haut = std::numeric_limits<double>::infinity();
    QString legende;
};

// The results of the parameter at the station, one series per unit (the chosen one, or each
// unit found), oldest first. Empty results and analyses not done (remark 0) are left out.
// False, with the French reason, when the station has no analysis table of that name or a
// statement failed; true with no series when nothing matches.
bool seriesParametre(const StationCalcul &station, const QString &parametre,
                     const CriteresGraphique &criteres, QVector<SerieGraphique> &series,
                     QString *erreur = nullptr);

// The same parameter at several stations, in the order given; a station without results gives
// no series.
bool seriesStations(const QVector<StationCalcul> &stations, const QString &parametre,
                    const CriteresGraphique &criteres, QVector<SerieGraphique> &series,
                    QString *erreur = nullptr);

// Several parameters of one station, grouped by unit: one axis per unit, in the order the units
// first appear. More than two units cannot be drawn against two axes and are refused.
bool axesParametres(const StationCalcul &station, const QStringList &parametres,
                    const CriteresGraphique &criteres, QVector<AxeGraphique> &axes,
                    QString *erreur = nullptr);

// The bands of the physico-chemical threshold set `seuil` for the parameter and unit, in class
// order. False with the reason for a set number that is not one, a set without bounds for the
// parameter, or bounds that are not monotonic.
bool bandesSeuils(const QString &seuil, const QString &parametre, const QString &unite,
                  QVector<BandeSeuil> &bandes, QString *erreur = nullptr);

} // namespace vyk
