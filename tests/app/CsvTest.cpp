#include "app/Csv.h"

#include "support/Affichage.h"

#include <QDateTime>

#include <gtest/gtest.h>

using namespace vyk;

namespace {

TEST(LectureCsv, EnregistrementsEtGuillemets)
{
    using E = QVector<QStringList>;
    const struct
    {
        QString texte;
        E attendu;
    } cas[] = {
        // CRLF and LF lines, a last line without its end, trailing separators kept as fields.
        {QStringLiteral("a;b\r\nc;d;\ne"), E{{"a", "b"}, {"c", "d", ""}, {"e"}}},
        // An empty line is a record of one empty field.
        {QStringLiteral("a\r\n\r\nb\n"), E{{"a"}, {""}, {"b"}}},
        // Separator, doubled quotes and line breaks inside a quoted field; a CRLF there is a LF.
        {QStringLiteral("1;\"x ; \"\"y\"\"\r\nz\";2\r\n3"), E{{"1", "x ; \"y\"\nz", "2"}, {"3"}}},
        // Blanks before an opening quote are dropped; a quote inside a plain field stays.
        {QStringLiteral("1;  \"a;b\";2\" pouces;l'\"x\""),
         E{{"1", "a;b", "2\" pouces", "l'\"x\""}}},
        // A quote never closed runs to the end of its line only: the next lines stay records.
        {QStringLiteral("1;\"ouvert;2\r\n3;4\r\n"), E{{"1", "ouvert;2"}, {"3", "4"}}},
    };
    for (const auto &c : cas)
        EXPECT_EQ(lireEnregistrementsCsv(c.texte, u';'), c.attendu) << qPrintable(c.texte);

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

    const QStringList champs = {QStringLiteral("1"), QStringLiteral("x ; \"y\""), QStringLiteral("a\nb"),
                                QString(), QStringLiteral("l'eau")};
    const QString ligne = ligneCsv(champs, u';');
    EXPECT_EQ(ligne, QStringLiteral("1;\"x ; \"\"y\"\"\";\"a\nb\";;l'eau"));
    EXPECT_EQ(lireEnregistrementsCsv(ligne, u';'), QVector<QStringList>({champs}));

    EXPECT_EQ(texteExport(QVariant()), QString());
    EXPECT_EQ(texteExport(QDateTime(QDate(2021, 3, 1), QTime(10, 30))), QStringLiteral("01/03/2021 10:30:00"));
    EXPECT_EQ(texteExport(12.5), QStringLiteral("12.5"));
    EXPECT_EQ(texteExport(true), QStringLiteral("1"));
}

} // namespace
