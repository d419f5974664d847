#include "db/Dialecte.h"

#include "db/BaseDonnees.h"

namespace vyk {

const Dialecte &Dialecte::pour(const QString &typeBase)
{
    static const Dialecte access(ACCESS), postgres(POSTGRESQL), oracle(ORACLE);
    if (typeBase == POSTGRESQL) return postgres;
    if (typeBase.startsWith(ORACLE)) return oracle;
    return access;
}

QString Dialecte::motType(TypeNeutre type, int taille) const
{
    const bool pg = m_type == POSTGRESQL;
    const bool ora = m_type == ORACLE;
    switch (type) {
    case TypeNeutre::Texte:
        return (pg    ? QStringLiteral("character varying(")
                : ora ? QStringLiteral("varchar2(")
                      : QStringLiteral("TEXT(")) +
               QString::number(taille) + u')';
    case TypeNeutre::Court:
        return pg    ? QStringLiteral("integer")
               : ora ? QStringLiteral("Number")
                     : QStringLiteral("SHORT");
    case TypeNeutre::Long:
        return pg    ? QStringLiteral("bigint")
               : ora ? QStringLiteral("Number")
                     : QStringLiteral("Long");
    case TypeNeutre::Reel:
        // double precision, not real: real keeps about seven digits and would round
        // Lambert-93 coordinates and results.
        return pg    ? QStringLiteral("double precision")
               : ora ? QStringLiteral("Number")
                     : QStringLiteral("Double");
    case TypeNeutre::DateHeure:
        return pg    ? QStringLiteral("timestamp with time zone")
               : ora ? QStringLiteral("timestamp")
                     : QStringLiteral("DateTime");
    case TypeNeutre::Memo:
        return pg    ? QStringLiteral("text")
               : ora ? QStringLiteral("varchar2(4000)")
                     : QStringLiteral("Memo");
    case TypeNeutre::OuiNon:
        return pg || ora ? QStringLiteral("boolean") : QStringLiteral("YESNO");
    case TypeNeutre::Auto:
        return pg || ora ? QStringLiteral("serial") : QStringLiteral("AUTOINCREMENT");
    }
    return {};
}

// The desktop file is a SQLite database, where "+" between two columns would add them.
QString Dialecte::concatenation() const
{
    return QStringLiteral(" || ");
}

QString Dialecte::fonctionFormatDate() const
{
    return m_type == ACCESS ? QStringLiteral("format") : QStringLiteral("to_char");
}

QString Dialecte::maintenant() const
{
    return m_type == POSTGRESQL ? QStringLiteral("clock_timestamp()")
           : m_type == ORACLE   ? QStringLiteral("SYSDATE")
                                : QStringLiteral("now()");
}

QString Dialecte::codeNumeriqueMax(const QString &table, const QString &colonne) const
{
    if (m_type == POSTGRESQL)
        return QStringLiteral(
                   "SELECT max(cast(%2 as double precision)) FROM %1 where %2 ~ '^[0-9]+$'")
            .arg(table, colonne);
    if (m_type == ORACLE) return QStringLiteral("SELECT max(%2) FROM %1").arg(table, colonne);
    return QStringLiteral("SELECT max(cdbl(%2)) FROM %1 where isnumeric(%2)").arg(table, colonne);
}

} // namespace vyk
