#include "app/Csv.h"

#include "support/Affichage.h"

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

} // namespace
