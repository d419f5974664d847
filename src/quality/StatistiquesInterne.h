#pragma once

// Helpers shared by the statistics files; not part of the module's interface.

#include "quality/Statistiques.h"

#include "db/Sql.h"
#include "db/Tableau.h"

#include <QDate>
#include <QString>

#include <cmath>

namespace vyk::statistiques {

inline double arrondi3(double v)
{
    return std::round(v * 1000.0) / 1000.0;
}

inline QString texteNombre(double v)
{
    return texteValeur(QVariant(v));
}

inline QString jour(const QDate &d)
{
    return d.toString(QStringLiteral("dd/MM/yyyy"));
}

// Upper bound of a period: the whole last day counts, not only its midnight.
QString finDeJour(const QDate &d);

// The two marks of a value older than the period or the age limit.
void marquerAge(const QDate &dateValeur, const CriteresCalcul &c, ValeurCalculee &v);

// Trend of x against a reference r with a margin of |x x marge / 100|, bounds included in the
// middle code: `au dessus` above r + m, `au dessous` below r - m, "2" in between.
QString tendance(double x, double r, double margePourcent, const QString &auDessus,
                 const QString &auDessous);

} // namespace vyk::statistiques
