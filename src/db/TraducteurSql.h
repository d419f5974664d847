#pragma once

#include <QString>
#include <QStringView>

namespace vyk {

enum class Cible
{
    Sqlite,
    Postgres,
    Oracle
};

// Rewrites a statement of the desktop dialect for an engine: #date# literals, & and + between
// texts, iif/cstr/cdbl/cint/isnumeric/year/CVDate/format/now/ucase/lcase/mid/left/right/len/
// Nz/chr/instr, TOP n, MOD, [bracketed] names, "/" as a floating division, LIKE without regard
// to case, the desktop type words in CREATE and ALTER TABLE, ALTER col type. String literals
// and comments are never touched. With numeroterParametres, "?" become $1, $2... (PostgreSQL).
// Returns the text unchanged (no copy) when nothing needs rewriting.
QString traduireSql(const QString &sql, Cible cible, bool numeroterParametres = false);

// The engine word of a desktop type word (Text, Double, Short, Long, Memo, Date, DateTime,
// YESNO, AUTOINCREMENT...) or "" when the word is not one; taille < 0 when absent.
QString motTypeCible(QStringView mot, Cible cible, int taille = -1);

// A name that can stand unquoted in SQL on every engine: ASCII letter or "_" first, then
// ASCII letters, digits and "_", at most 63 characters.
bool estIdentifiantSimple(QStringView nom);

} // namespace vyk
