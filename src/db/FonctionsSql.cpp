#include "db/FonctionsSql.h"

#include <array>

namespace vyk::fonctionsSql {

namespace {

// Models: %1..%3 an argument, %* every argument separated by ", ", %F the to_char mask of the
// literal format. The test of a number that a text holds, on PostgreSQL, is %N1 (of %1).
struct Traduction
{
    std::string_view nom;
    int minimum, maximum; // arguments
    const char *sqlite, *postgres, *oracle;
};

#define VYK_NUM_PG                                                                                 \
    "coalesce(cast(%1 as text) ~ "                                                                 \
    "'^\\s*[-+]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)([eE][-+]?[0-9]+)?\\s*$', "                        \
    "false)"
#define VYK_PARTIE_DATE(nom, partie)                                                               \
    {                                                                                              \
        nom, 1, 1, partie "(%1)",                                                                  \
            "cast(extract(" partie " from cast(%1 as timestamp)) as integer)",                     \
            "extract(" partie " from %1)"                                                          \
    }

// clang-format off
constexpr Traduction TRADUCTIONS[] = {
    {"IIF", 3, 3, "iif(%*)", "(CASE WHEN %1 THEN %2 ELSE %3 END)", "(CASE WHEN %1 THEN %2 ELSE %3 END)"},
    {"CSTR", 1, 1, "cstr(%*)", "cast(%1 as text)", "to_char(%1)"},
    {"CDBL", 1, 1, "cdbl(%*)",
     "(CASE WHEN " VYK_NUM_PG " THEN cast(replace(cast(%1 as text), ',', '.') as double precision) END)",
     "to_number(%1)"},
    {"CINT", 1, 1, "cint(%*)",
     "(CASE WHEN " VYK_NUM_PG " THEN cast(round(cast(replace(cast(%1 as text), ',', '.') as double precision)) as integer) END)",
     "round(%1)"},
    {"CLNG", 1, 1, "clng(%*)",
     "(CASE WHEN " VYK_NUM_PG " THEN cast(round(cast(replace(cast(%1 as text), ',', '.') as double precision)) as bigint) END)",
     "round(%1)"},
    {"ISNUMERIC", 1, 1, "isnumeric(%*)", VYK_NUM_PG,
     "(CASE WHEN regexp_like(%1, '^\\s*[-+]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)\\s*$') THEN 1 ELSE 0 END)"},
    VYK_PARTIE_DATE("YEAR", "year"),
    VYK_PARTIE_DATE("MONTH", "month"),
    VYK_PARTIE_DATE("DAY", "day"),
    VYK_PARTIE_DATE("HOUR", "hour"),
    VYK_PARTIE_DATE("MINUTE", "minute"),
    VYK_PARTIE_DATE("SECOND", "second"),
    {"CVDATE", 1, 1, "cvdate(%*)", "cast(%1 as timestamp)", "cast(%1 as date)"},
    {"CDATE", 1, 1, "cvdate(%*)", "cast(%1 as timestamp)", "cast(%1 as date)"},
    {"FORMAT", 2, 2, "vyk_format(%*)", "to_char(%1, %F)", "to_char(%1, %F)"},
    {"NOW", 0, 0, "vyk_now()", "clock_timestamp()", "SYSDATE"},
    {"UCASE", 1, 1, "upper(%*)", "upper(%*)", "upper(%*)"},
    {"LCASE", 1, 1, "lower(%*)", "lower(%*)", "lower(%*)"},
    {"MID", 2, 3, "substr(%*)", "substr(%*)", "substr(%*)"},
    {"LEFT", 2, 2, "substr(%1, 1, %2)", "substr(%1, 1, %2)", "substr(%1, 1, %2)"},
    {"RIGHT", 2, 2, "vyk_right(%*)", "right(%*)", "substr(%1, -(%2))"},
    {"LEN", 1, 1, "length(%*)", "length(%*)", "length(%*)"},
    {"NZ", 1, 1, "coalesce(%1, '')", "coalesce(cast(%1 as text), '')", "coalesce(%1, '')"},
    {"NZ", 2, 2, "coalesce(%*)", "coalesce(%*)", "nvl(%*)"},
    {"CHR", 1, 1, "char(%*)", "chr(%*)", "chr(%*)"},
    {"INSTR", 2, 2, "instr(%*)", "strpos(%*)", "instr(%*)"},
};
// clang-format on

#undef VYK_NUM_PG
#undef VYK_PARTIE_DATE

QString chaineSql(const QString &t)
{
    QString r = t;
    r.replace(u'\'', QStringLiteral("''"));
    return u'\'' + r + u'\'';
}

// One pass over the model, so that a "%" inside an argument is never read as a marker.
QString developper(const char *modele, const QStringList &arguments, const QString &format)
{
    const QString m = QString::fromLatin1(modele);
    QString r;
    r.reserve(m.size() + 16 * arguments.size());
    for (int i = 0; i < m.size(); ++i) {
        if (m[i] != u'%' || i + 1 == m.size()) {
            r += m[i];
            continue;
        }
        const QChar c = m[++i];
        if (c == u'*')
            r += arguments.join(QStringLiteral(", "));
        else if (c == u'F')
            r += chaineSql(masqueToChar(format));
        else
            r += arguments.value(c.digitValue() - 1);
    }
    return r;
}

} // namespace

bool estFonctionDialecte(std::string_view nom)
{
    if (nom == "CAST") return true;
    for (const Traduction &t : TRADUCTIONS)
        if (t.nom == nom) return true;
    return false;
}

QString traduireAppel(std::string_view nom, const QStringList &arguments,
                      const QString *formatLitteral, Cible cible)
{
    const int n = int(arguments.size());
    for (const Traduction &t : TRADUCTIONS) {
        if (t.nom != nom || n < t.minimum || n > t.maximum) continue;
        const char *modele = cible == Cible::Sqlite     ? t.sqlite
                             : cible == Cible::Postgres ? t.postgres
                                                        : t.oracle;
        if (std::string_view(modele).find("%F") != std::string_view::npos && !formatLitteral)
            return {};
        return developper(modele, arguments, formatLitteral ? *formatLitteral : QString());
    }
    return {};
}

QString masqueToChar(const QString &format)
{
    QString r;
    const QString &f = format;
    int i = 0;
    auto suite = [&](QChar c) {
        int k = i;
        while (k < f.size() && f[k].toLower() == c)
            ++k;
        return k - i;
    };
    while (i < f.size()) {
        const QChar c = f[i].toLower();
        int k = suite(c);
        if (c == u'y') {
            r += k >= 4 ? QStringLiteral("YYYY") : QStringLiteral("YY");
        } else if (c == u'm') {
            r += k >= 4   ? QStringLiteral("FMMonth")
                 : k == 3 ? QStringLiteral("Mon")
                          : QStringLiteral("MM");
        } else if (c == u'd') {
            r += k >= 3 ? QStringLiteral("Dy") : QStringLiteral("DD");
        } else if (c == u'h') {
            r += QStringLiteral("HH24");
        } else if (c == u'n') {
            r += QStringLiteral("MI");
        } else if (c == u's') {
            r += QStringLiteral("SS");
        } else if (c == u'0' || c == u'#') {
            r += QString(k, c == u'0' ? QChar(u'0') : QChar(u'9'));
        } else {
            k = 1;
            r += f[i];
        }
        i += k;
    }
    return r;
}

} // namespace vyk::fonctionsSql
