#pragma once

// What every part of the program knows of a water-quality station (QUALITOMETRES): its types,
// the code shown for it, and the lookups that imports, searches and screens share.

#include "referentials/ListesCodees.h"

#include <QString>
#include <QVector>

#include <optional>

namespace vyk {

// Station types (typeStation).
struct TypeStation
{
    QString code;
    QString libelleFiche; // label of the card's type list, without the code
    QString libelleListe; // label of the station list ("" for none)
};
const QVector<TypeStation> &typesStation();
// The card's type entries: "Point eau souterraine [0]" ...
EntreesCodees entreesTypesStation();
// The station list's label of a type code ("" when it has none).
QString libelleListeTypeStation(const QString &code);
// A station saved with no type is a river station.
inline const QString TYPE_STATION_DEFAUT = QStringLiteral("1");
inline const QString TYPE_STATION_EAU_SOUTERRAINE = QStringLiteral("0");

// The code shown for a station: CodeBSS + "/" + designation, or CodeBSS alone.
QString codeAffiche(const QString &codeBSS, const QString &designation);
// The same as a desktop-dialect SQL expression over the columns of Qualitometres.
QString sqlCodeAffiche();

// A stored station, as lookups return it.
struct StationQualite
{
    qint64 code = 0; // CodeQualitometre
    QString codeBSS;
    QString designation;
    QString nom;
    QString typeStation;
};
// The station of a CodeQualitometre, or nothing.
std::optional<StationQualite> trouverQualitometre(qint64 code);
// The station whose public code is codeBSS (exact text), or nothing.
std::optional<StationQualite> trouverQualitometreParCode(const QString &codeBSS);

// The code a new station gets: the highest CodeQualitometre + 1, 1 for the first station. Not
// reserved: read it in the transaction that inserts the station, after locking QUALITOMETRES.
qint64 nouveauCodeQualitometre();

// "" when the public code can name the station's analysis table ("ANALYSES_" + code), else the
// French reason to show.
QString verifierCodeTable(const QString &codeBSS);

} // namespace vyk
