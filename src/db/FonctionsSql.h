#pragma once

// The functions of the desktop dialect and what each engine writes for them: one row per
// function and number of arguments (private to db/, used by TraducteurSql).

#include "db/TraducteurSql.h"

#include <QString>
#include <QStringList>

#include <string_view>

namespace vyk::fonctionsSql {

// True for a name the translator rewrites when a "(" follows it (CAST included).
bool estFonctionDialecte(std::string_view nomMajuscule);

// The call for the engine from its arguments already translated; formatLitteral is the text of
// the second argument when it is a string literal (Format needs it), nullptr otherwise. A null
// result leaves the call as written (unknown name, other number of arguments, format not given
// as a literal).
QString traduireAppel(std::string_view nomMajuscule, const QStringList &arguments,
                      const QString *formatLitteral, Cible cible);

// Desktop date format words ("dd/mm/yyyy", "hh:nn") to a to_char mask.
QString masqueToChar(const QString &format);

} // namespace vyk::fonctionsSql
