#pragma once

// Threshold sets and quality classes. A set is a CODES_SANDRE row of its kind's champ; its
// bounds (up to four per parameter, taxon, index or state) are rows of ANALYSES_SEUILS. A value
// is cut into classes 1 to n + 1 by n bounds; "0" means not classed and "-1" that no set was
// chosen.

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>
#include <span>

namespace vyk {

// The kinds of sets: the screen's label, the code-list champ and the typeListe of the bounds.
struct GenreSeuils
{
    QString libelle;
    QString champ;
    QString typeListe;
    // The element of a bound row has a unit (physico-chemistry only).
    bool avecUnite() const { return typeListe == QLatin1String("0"); }
    // The bound rows may be restricted to a station type (taxa and indices).
    bool avecTypes() const
    {
        return typeListe == QLatin1String("1") || typeListe == QLatin1String("2");
    }
};
const QVector<GenreSeuils> &genresSeuils();
// The kind of a champ ("SEUILS", "SEUILS.TAXONS"...) or of a typeListe ('0', '1', '2', '4');
// nullptr when it is neither.
const GenreSeuils *genreSeuils(const QString &champOuTypeListe);
// typeListe of a champ: '3' for any champ other than the four kinds.
QString typeListeDuChamp(const QString &champ);

// A row of the type table: its own bounds, valid for one station type and national type,
// for one element or for every element (codeParametre empty).
struct LigneTypeSeuils
{
    QVector<double> seuils; // the filled bounds, in order
    QString typeStation;
    QString typeFr;
    QString codeParametre;
};

// Orientation of a bound list: with three bounds or more, decreasing when the first is greater
// than the second; one or two bounds are always taken as increasing.
bool bornesDecroissantes(const QVector<double> &bornes);
// True when the list keeps its orientation from one bound to the next (equal neighbours
// allowed). A list of one or two bounds always does.
bool bornesMonotones(const QVector<double> &bornes);

// The one classing rule of bounds, shared by getClasse and the results search. Going along the
// bounds in order (an empty bound skipped, the others keeping their places 1 to n), a value
// passes an increasing bound when it is above it and a decreasing one when it is at or below it;
// the walk stops at the first bound not passed. The result is the place of the last bound passed,
// 0 when none: a value equal to a bound stays in the class that the bound closes.
int bornePassee(double valeur, std::span<const std::optional<double>> bornes, bool decroissantes);

// Class of a value as text: "0" for an empty value, a value that is no number, a set without
// bounds or a bound list that is not monotonic; otherwise 1 to n + 1, a value equal to a bound
// belonging to the class that the bound closes from above. With a type table, its first row
// for the station's types (rows of the element before those for every element) is used instead
// of the bound list; "" when that row's bounds are decreasing and the value is at or below all
// of them.
QString getClasse(const QString &valeur, const QVector<double> &bornes,
                  const QVector<LigneTypeSeuils> *types = nullptr, const QString &typeStation = {},
                  const QString &typeFr = {});

// The legend of each class of a bound list, in class order.
QStringList legendesClasses(const QVector<double> &bornes);

// The bounds of a set for one element.
struct SeuilsCharges
{
    QVector<double> bornes;
    QVector<LigneTypeSeuils> types; // taxa and indices only
    QStringList legendes;
    // The bound list, or a row of the type table, is not monotonic: its values are not classed.
    bool incoherent = false;
};

// Loads the bounds of set `seuil` of the kind `typeListe` for a parameter (and unit), taxon,
// index or state: the element's own row, or the set's default row when the element has none;
// the type table for taxa and indices. A list that is not monotonic is written to the journal.
// Nothing when the statement failed.
std::optional<SeuilsCharges> chargerSeuils(const QString &seuil, const QString &typeListe,
                                           const QString &code, const QString &unite = {});

} // namespace vyk
