#include "app/Csv.h"

#include "support/Affichage.h"

#include <QDateTime>

#include <gtest/gtest.h>

using namespace vyk;

namespace {

// Each record as "line:field|field", for exact comparisons.
QStringList enregistrements(const QString &texte, QChar separateur = u';')
{
    QVector<EnregistrementCsv> lus;
    QString erreur;
    EXPECT_TRUE(lireCsv(texte, separateur, lus, erreur)) << qPrintable(erreur);
    QStringList r;
    for (const EnregistrementCsv &e : lus)
        r << QString::number(e.ligne) + u':' + e.champs.join(u'|');
    return r;
}

TEST(LectureCsv, EnregistrementsEtGuillemets)
{
    using L = QStringList;
    const struct
    {
        QString texte;
        L attendu;
    } cas[] = {
        // CRLF and LF lines, a last line without its end, trailing separators kept as fields.
        {QStringLiteral("a;b\r\nc;d;\ne"), L{"1:a|b", "2:c|d|", "3:e"}},
        // An empty line is a record of one empty field.
        {QStringLiteral("a\r\n\r\nb\n"), L{"1:a", "2:", "3:b"}},
        // Separator, doubled quotes and line breaks inside a quoted field (each becomes a LF);
        // the next record is numbered by the file's lines.
        {QStringLiteral("1;\"x ; \"\"y\"\"\r\nz\r\";2\r\n3"), L{"1:1|x ; \"y\"\nz\n|2", "4:3"}},
        // Blanks before an opening quote are dropped; a quote inside a plain field stays.
        {QStringLiteral("1;  \"a;b\";2\" pouces;l'\"x\""), L{"1:1|a;b|2\" pouces|l'\"x\""}},
        // Lines ended by a lone CR, as old spreadsheet exports write them.
        {QStringLiteral("Code;Nom\r1;Aval\r2;Amont\r"), L{"1:Code|Nom", "2:1|Aval", "3:2|Amont"}},
        // Several quoted fields in one record, the last empty, each kept apart.
        {QStringLiteral("\"a\";\"b\"\"\";c;\"d\r\ne\";\"\"\n\"f\""), L{"1:a|b\"|c|d\ne|", "3:f"}},
        // Mixed ends: each counts one line.
        {QStringLiteral("a\rb\nc\r\nd"), L{"1:a", "2:b", "3:c", "4:d"}},
    };
    for (const auto &c : cas)
        EXPECT_EQ(enregistrements(c.texte), c.attendu) << qPrintable(c.texte);
    // A separator below the quote (tab): the other one is plain text, and so are accents.
    EXPECT_EQ(enregistrements(QStringLiteral("a b\t \"c\td\"\té;x\r\n\t"), u'\t'),
              L({"1:a b|c\td|é;x", "2:|"}));

    // A quote never closed would swallow every line after it: the text is refused, the line named.
    QVector<EnregistrementCsv> lus;
    QString erreur;
    EXPECT_FALSE(lireCsv(QStringLiteral("Code;Nom\r\n1;Aval\r\n2;\"Amont;x\r\n3;Source\r\n"), u';',
                         lus, erreur));
    EXPECT_EQ(erreur,
              QStringLiteral(
                  "Ligne 3 : un guillemet ouvert n'est jamais refermé ; le fichier n'est pas lu."));
    EXPECT_TRUE(lus.isEmpty());

    EXPECT_TRUE(
        enregistrementVide({QStringLiteral(""), QStringLiteral(" "), QStringLiteral("\t")}));
    EXPECT_FALSE(enregistrementVide({QStringLiteral(""), QStringLiteral("0")}));
}

// A field is quoted only when it must be, and whatever is written reads back as it was.
TEST(EcritureCsv, ChampsCitesSeulementQuandIlLeFautEtRelusALIdentique)
{
    const struct
    {
        QString texte, attendu;
    } cas[] = {
        {QStringLiteral("Nitrates"), QStringLiteral("Nitrates")},
        {QString(), QString()},
        {QStringLiteral("a,b"), QStringLiteral("\"a,b\"")},
        {QStringLiteral("2\" pouces"), QStringLiteral("\"2\"\" pouces\"")},
        {QStringLiteral("ligne 1\nligne 2"), QStringLiteral("\"ligne 1\nligne 2\"")},
        {QStringLiteral("retour\r"), QStringLiteral("\"retour\r\"")},
        // Only the separator in use counts.
        {QStringLiteral("a;b"), QStringLiteral("a;b")},
    };
    for (const auto &c : cas)
        EXPECT_EQ(champCsv(c.texte), c.attendu) << qPrintable(c.texte);
    EXPECT_EQ(champCsv(QStringLiteral("a;b"), u';'), QStringLiteral("\"a;b\""));

    const QStringList champs = {QStringLiteral("1"), QStringLiteral("x ; \"y\""),
                                QStringLiteral("a\nb"), QString(), QStringLiteral("l'eau")};
    const QString ligne = ligneCsv(champs, u';');
    EXPECT_EQ(ligne, QStringLiteral("1;\"x ; \"\"y\"\"\";\"a\nb\";;l'eau"));
    EXPECT_EQ(enregistrements(ligne), QStringList({QStringLiteral("1:") + champs.join(u'|')}));

    EXPECT_EQ(texteExport(QVariant()), QString());
    EXPECT_EQ(texteExport(QDateTime(QDate(2021, 3, 1), QTime(10, 30))),
              QStringLiteral("01/03/2021 10:30:00"));
    EXPECT_EQ(texteExport(12.5), QStringLiteral("12.5"));
    EXPECT_EQ(texteExport(true), QStringLiteral("1"));
}

} // namespace
