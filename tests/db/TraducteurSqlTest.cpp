#include "db/TraducteurSql.h"

#include <gtest/gtest.h>

using namespace vyk;

namespace {

struct Cas
{
    const char *entree;
    const char *sqlite;
    const char *postgres;
};

class Traduction : public ::testing::TestWithParam<Cas>
{
};

TEST_P(Traduction, DonneLeTexteAttenduSurChaqueMoteur)
{
    const Cas &c = GetParam();
    EXPECT_EQ(traduireSql(QString::fromUtf8(c.entree), Cible::Sqlite).toStdString(), c.sqlite);
    EXPECT_EQ(traduireSql(QString::fromUtf8(c.entree), Cible::Postgres).toStdString(), c.postgres);
}

INSTANTIATE_TEST_SUITE_P(
    Dialecte, Traduction,
    ::testing::Values(
        // Nothing to translate: the text comes back as it is.
        Cas{"INSERT INTO T (a, b) VALUES (1, 'x')", "INSERT INTO T (a, b) VALUES (1, 'x')",
            "INSERT INTO T (a, b) VALUES (1, 'x')"},
        // Date literals, month first, stored as ISO text.
        Cas{"SELECT * FROM T WHERE d >= #03/05/2020# AND d < #12/31/2020 23:59:59#",
            "SELECT * FROM T WHERE d >= '2020-03-05 00:00:00' AND d < '2020-12-31 23:59:59'",
            "SELECT * FROM T WHERE d >= '2020-03-05 00:00:00' AND d < '2020-12-31 23:59:59'"},
        // & and + next to a text are concatenations; + between numbers stays an addition.
        Cas{"SELECT a & '-' & b, 'x' + c, n + 1 FROM T",
            "SELECT a || '-' || b, 'x' || c, n + 1 FROM T",
            "SELECT a || '-' || b, 'x' || c, n + 1 FROM T"},
        // Literals and comments are never touched.
        Cas{"SELECT 'iif(a,b,c) & #01/01/2000#' -- cstr(x) & y\nFROM T",
            "SELECT 'iif(a,b,c) & #01/01/2000#' -- cstr(x) & y\nFROM T",
            "SELECT 'iif(a,b,c) & #01/01/2000#' -- cstr(x) & y\nFROM T"},
        Cas{"SELECT iif(a > 1, 'o''k', 'non') FROM T", "SELECT iif(a > 1, 'o''k', 'non') FROM T",
            "SELECT (CASE WHEN a > 1 THEN 'o''k' ELSE 'non' END) FROM T"},
        // Nested calls are translated from the inside out.
        Cas{"SELECT iif(isnumeric(code), cdbl(code), 0) FROM T",
            "SELECT iif(isnumeric(code), cdbl(code), 0) FROM T",
            "SELECT (CASE WHEN coalesce(cast(code as text) ~ "
            "'^\\s*[-+]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)([eE][-+]?[0-9]+)?\\s*$', false) "
            "THEN (CASE WHEN coalesce(cast(code as text) ~ "
            "'^\\s*[-+]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)([eE][-+]?[0-9]+)?\\s*$', false) "
            "THEN cast(replace(cast(code as text), ',', '.') as double precision) END) ELSE 0 END) "
            "FROM T"},
        Cas{"SELECT year(DateDebut), ucase(nom), lcase(nom), mid(nom, 2, 3), left(nom, 2), "
            "right(nom, 2) FROM T",
            "SELECT year(DateDebut), upper(nom), lower(nom), substr(nom, 2, 3), substr(nom, 1, 2), "
            "vyk_right(nom, 2) FROM T",
            "SELECT cast(extract(year from cast(DateDebut as timestamp)) as integer), upper(nom), "
            "lower(nom), "
            "substr(nom, 2, 3), substr(nom, 1, 2), right(nom, 2) FROM T"},
        Cas{"SELECT nom FROM T WHERE nom LIKE 'ab%'", "SELECT nom FROM T WHERE nom LIKE 'ab%'",
            "SELECT nom FROM T WHERE nom ILIKE 'ab%'"},
        Cas{"SELECT TOP 3 nom FROM T ORDER BY nom", "SELECT nom FROM T ORDER BY nom LIMIT 3",
            "SELECT nom FROM T ORDER BY nom NULLS FIRST LIMIT 3"},
        // NULLs first in ascending order, last in descending order, key by key; a key that
        // says where its NULLs go, a comment and a translated call are left as they are.
        Cas{"SELECT a FROM T ORDER BY a DESC, ucase(b) , c NULLS LAST -- fin",
            "SELECT a FROM T ORDER BY a DESC, upper(b) , c NULLS LAST -- fin",
            "SELECT a FROM T ORDER BY a DESC NULLS LAST, upper(b) NULLS FIRST , c NULLS LAST -- "
            "fin"},
        Cas{"SELECT * FROM (SELECT a, row_number() OVER (ORDER BY d DESC) FROM T ORDER BY a) s "
            "ORDER BY 1\nLIMIT 5",
            "SELECT * FROM (SELECT a, row_number() OVER (ORDER BY d DESC) FROM T ORDER BY a) s "
            "ORDER BY 1\nLIMIT 5",
            "SELECT * FROM (SELECT a, row_number() OVER (ORDER BY d DESC NULLS LAST) FROM T ORDER "
            "BY a NULLS FIRST) s "
            "ORDER BY 1 NULLS FIRST\nLIMIT 5"},
        Cas{"SELECT a FROM T ORDER BY (SELECT max(b) FROM U ORDER BY 1), a",
            "SELECT a FROM T ORDER BY (SELECT max(b) FROM U ORDER BY 1), a",
            "SELECT a FROM T ORDER BY (SELECT max(b) FROM U ORDER BY 1 NULLS FIRST) NULLS FIRST, a "
            "NULLS FIRST"},
        // "/" divides as floating numbers, as the desktop engine does.
        Cas{"SELECT a / b FROM T", "SELECT a * 1.0 / b FROM T", "SELECT a * 1.0 / b FROM T"},
        Cas{"SELECT [Code BSS] FROM [T]", "SELECT \"Code BSS\" FROM T",
            "SELECT \"code bss\" FROM T"},
        Cas{"SELECT format(d, 'dd/mm/yyyy'), now() FROM T",
            "SELECT vyk_format(d, 'dd/mm/yyyy'), vyk_now() FROM T",
            "SELECT to_char(d, 'DD/MM/YYYY'), clock_timestamp() FROM T"},
        // Type words of the desktop dialect in table definitions.
        Cas{"CREATE TABLE T (Nom Text(70), X Double, N Short, L Long, C Memo, D DateTime, B YESNO, "
            "id AUTOINCREMENT NOT NULL)",
            "CREATE TABLE T (Nom VARCHAR(70), X DOUBLE, N SMALLINT, L BIGINT, C TEXT, D DATETIME, "
            "B BOOLEAN, "
            "id INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL)",
            "CREATE TABLE T (Nom varchar(70), X double precision, N integer, L bigint, C text, "
            "D timestamp with time zone, B boolean, id serial NOT NULL)"},
        // A column named like a type keeps its name; "real" becomes a double on the server.
        Cas{"CREATE TABLE T (Date Date, Text Text(5), Y real)",
            "CREATE TABLE T (Date DATETIME, Text VARCHAR(5), Y DOUBLE)",
            "CREATE TABLE T (Date timestamp with time zone, Text varchar(5), Y double precision)"},
        Cas{"ALTER TABLE T ADD profDebut Double", "ALTER TABLE T ADD profDebut DOUBLE",
            "ALTER TABLE T ADD profDebut double precision"},
        Cas{"ALTER TABLE T ALTER COLUMN CodeFraction Text(10)",
            "ALTER TABLE T ALTER COLUMN CodeFraction VARCHAR(10)",
            "ALTER TABLE T ALTER COLUMN CodeFraction TYPE varchar(10) USING cast(CodeFraction as "
            "varchar(10))"},
        // Statements written for the server alone pass through.
        Cas{"SELECT max(cast(code as double)) FROM U where code ~ '^[0-9]+$'",
            "SELECT max(cast(code AS DOUBLE)) FROM U where code ~ '^[0-9]+$'",
            "SELECT max(cast(code AS double precision)) FROM U where code ~ '^[0-9]+$'"},
        Cas{"SELECT max(cast(code as double precision)), cast(n AS Text(5)) FROM U",
            "SELECT max(cast(code AS double precision)), cast(n AS VARCHAR(5)) FROM U",
            "SELECT max(cast(code AS double precision)), cast(n AS varchar(5)) FROM U"},
        Cas{"SELECT x::text FROM T WHERE a <> 1 AND b <= 2",
            "SELECT x::text FROM T WHERE a <> 1 AND b <= 2",
            "SELECT x::text FROM T WHERE a <> 1 AND b <= 2"}));

TEST(TraductionParametres, NumeroteLesMarquesPourLeServeur)
{
    const QString sql = QStringLiteral("UPDATE T SET a = ?, b = '?' WHERE c = ?");
    EXPECT_EQ(traduireSql(sql, Cible::Postgres, true),
              QStringLiteral("UPDATE T SET a = $1, b = '?' WHERE c = $2"));
    EXPECT_EQ(traduireSql(sql, Cible::Sqlite, false), sql);
}

TEST(TraductionOracle, DatesJoursEtTypes)
{
    EXPECT_EQ(
        traduireSql(QStringLiteral("SELECT * FROM T WHERE d = #03/05/2020#"), Cible::Oracle),
        QStringLiteral(
            "SELECT * FROM T WHERE d = to_date('2020-03-05 00:00:00', 'YYYY-MM-DD HH24:MI:SS')"));
    EXPECT_EQ(traduireSql(QStringLiteral("CREATE TABLE T (Nom Text(70), C Memo)"), Cible::Oracle),
              QStringLiteral("CREATE TABLE T (Nom varchar2(70), C varchar2(4000))"));
    EXPECT_EQ(traduireSql(QStringLiteral("ALTER TABLE T ALTER COLUMN c Text(10)"), Cible::Oracle),
              QStringLiteral("ALTER TABLE T MODIFY (c varchar2(10))"));
}

// The statements Oracle receives, written out: no Oracle server takes part in the tests.
TEST(TraductionOracle, TextesAttendus)
{
    const struct
    {
        const char *entree, *oracle;
    } cas[] = {
        {"SELECT * FROM T WHERE d >= #03/05/2020# AND d < #12/31/2020 23:59:59#",
         "SELECT * FROM T WHERE d >= to_date('2020-03-05 00:00:00', 'YYYY-MM-DD HH24:MI:SS') AND "
         "d < to_date('2020-12-31 23:59:59', 'YYYY-MM-DD HH24:MI:SS')"},
        // Oracle adds numbers only with "+": text next to it is joined with "||".
        {"SELECT a & '-' & b, 'x' + c, n + 1 FROM T",
         "SELECT a || '-' || b, 'x' || c, n + 1 FROM T"},
        {"SELECT TOP 3 nom FROM T ORDER BY nom",
         "SELECT nom FROM T ORDER BY nom NULLS FIRST FETCH FIRST 3 ROWS ONLY"},
        {"SELECT iif(a > 1, 'o''k', 'non') FROM T",
         "SELECT (CASE WHEN a > 1 THEN 'o''k' ELSE 'non' END) FROM T"},
        {"SELECT year(DateDebut), ucase(nom), mid(nom, 2, 3), left(nom, 2), right(nom, 2), nz(a, "
         "0), now() FROM T",
         "SELECT extract(year from DateDebut), upper(nom), substr(nom, 2, 3), substr(nom, 1, 2), "
         "substr(nom, -(2)), "
         "nvl(a, 0), SYSDATE FROM T"},
        // Type words; an auto-numbered key is an identity column (its own sequence).
        {"CREATE TABLE T (Nom Text(70), X Double, N Short, L Long, C Memo, D DateTime, B YESNO, id "
         "AUTOINCREMENT NOT NULL)",
         "CREATE TABLE T (Nom varchar2(70), X Number, N Number, L Number, C varchar2(4000), D "
         "timestamp, B number(1), "
         "id number generated by default as identity NOT NULL)"},
        {"SELECT a / b FROM T WHERE c LIKE 'ab%'", "SELECT a * 1.0 / b FROM T WHERE c LIKE 'ab%'"},
        {"SELECT [Code BSS] FROM [T]", "SELECT \"CODE BSS\" FROM T"},
        // No "%" operator: the remainder is a function call.
        {"SELECT n MOD 2, CodeX Mod ?, 7 mod n FROM T WHERE n MOD 10 = 0",
         "SELECT MOD(n, 2), MOD(CodeX, ?), MOD(7, n) FROM T WHERE MOD(n, 10) = 0"},
        // Shapes it does not rewrite keep "%", which Oracle refuses instead of misreading.
        {"SELECT T.n MOD 2, n MOD (m + 1), a * n MOD 2 FROM T",
         "SELECT T.n % 2, n % (m + 1), a * n % 2 FROM T"},
    };
    for (const auto &c : cas)
        EXPECT_EQ(traduireSql(QString::fromUtf8(c.entree), Cible::Oracle).toStdString(), c.oracle)
            << c.entree;
}

// Every function of the dialect once per engine, the calls left as written (another number of
// arguments, a format that is not a literal), and a "%" inside an argument kept as it is.
TEST(TraductionFonctions, ChaqueFonctionSurChaqueMoteur)
{
    const QString sql = QStringLiteral(
        "SELECT cstr(a), cint(b), clng(c), cvdate(d), cdate(d), nz(e), nz(e, 0), chr(65), "
        "instr(f, 'x'), len(f), second(d), isnumeric(g), cdbl(g), right(f, 2) FROM T");
    EXPECT_EQ(
        traduireSql(sql, Cible::Sqlite),
        QStringLiteral("SELECT cstr(a), cint(b), clng(c), cvdate(d), cvdate(d), "
                       "coalesce(e, ''), coalesce(e, 0), char(65), instr(f, 'x'), "
                       "length(f), second(d), isnumeric(g), cdbl(g), vyk_right(f, 2) FROM T"));
    const QString num = QStringLiteral(
        "coalesce(cast(%1 as text) ~ '^\\s*[-+]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)([eE][-+]?[0-9]+)?"
        "\\s*$', false)");
    EXPECT_EQ(
        traduireSql(sql, Cible::Postgres),
        QStringLiteral("SELECT cast(a as text), (CASE WHEN ") + num.arg(QStringLiteral("b")) +
            QStringLiteral(" THEN cast(round(cast(replace(cast(b as text), ',', '.') as double "
                           "precision)) as integer) END), (CASE WHEN ") +
            num.arg(QStringLiteral("c")) +
            QStringLiteral(" THEN cast(round(cast(replace(cast(c as text), ',', '.') as double "
                           "precision)) as bigint) END), cast(d as timestamp), cast(d as "
                           "timestamp), coalesce(cast(e as text), ''), coalesce(e, 0), chr(65), "
                           "strpos(f, 'x'), length(f), cast(extract(second from cast(d as "
                           "timestamp)) as integer), ") +
            num.arg(QStringLiteral("g")) + QStringLiteral(", (CASE WHEN ") +
            num.arg(QStringLiteral("g")) +
            QStringLiteral(" THEN cast(replace(cast(g as text), ',', '.') as double precision) "
                           "END), right(f, 2) FROM T"));
    EXPECT_EQ(traduireSql(sql, Cible::Oracle),
              QStringLiteral(
                  "SELECT to_char(a), round(b), round(c), cast(d as date), cast(d as date), "
                  "coalesce(e, ''), nvl(e, 0), chr(65), instr(f, 'x'), length(f), extract(second "
                  "from d), (CASE WHEN regexp_like(g, '^\\s*[-+]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)"
                  "\\s*$') THEN 1 ELSE 0 END), to_number(g), substr(f, -(2)) FROM T"));

    const QString tel = QStringLiteral("SELECT iif(a, b), left(f), format(d, m), now(1) FROM T");
    EXPECT_EQ(traduireSql(tel, Cible::Postgres), tel);
    EXPECT_EQ(traduireSql(QStringLiteral("SELECT format(d, 'hh:nn'), format(d, '') FROM T"),
                          Cible::Oracle),
              QStringLiteral("SELECT to_char(d, 'HH24:MI'), to_char(d, '') FROM T"));
    EXPECT_EQ(
        traduireSql(QStringLiteral("SELECT iif(a LIKE '%1%*', '%2', ucase('%F')) FROM T"),
                    Cible::Postgres),
        QStringLiteral("SELECT (CASE WHEN a ILIKE '%1%*' THEN '%2' ELSE upper('%F') END) FROM T"));
}

TEST(IdentifiantSimple, RefuseCeQuiDevraitEtreQuote)
{
    EXPECT_TRUE(estIdentifiantSimple(u"ANALYSES_BSS001"));
    EXPECT_TRUE(estIdentifiantSimple(u"_x1"));
    EXPECT_FALSE(estIdentifiantSimple(u"1abc"));
    EXPECT_FALSE(estIdentifiantSimple(u"ANALYSES_06123X0045/P1"));
    EXPECT_FALSE(estIdentifiantSimple(u"ANALYSES_X'; DROP TABLE QUALITOMETRES--"));
    EXPECT_FALSE(estIdentifiantSimple(u"été"));
    EXPECT_FALSE(estIdentifiantSimple(QString(64, u'a')));
}

} // namespace
