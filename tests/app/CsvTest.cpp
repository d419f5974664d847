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

// Records of every width, their fields of every length and their separators, quotes and line
// breaks at every place in a run of characters, read back as they were written, each on its
// starting line; with a tab separator and, for the plain records, the Windows line ends.
TEST(LectureCsv, EnregistrementsDeToutesFormesRelusALIdentique)
{
    const QString morceaux[] = {QString(),
                                QStringLiteral("a"),
                                QStringLiteral("Nitrates"),
                                QStringLiteral("ab\"c"),
                                QStringLiteral("x;y"),
                                QStringLiteral("un\ndeux"),
                                QStringLiteral(" é "),
                                QStringLiteral("0123456789abcdef")};
    for (const QChar separateur : {QChar(u';'), QChar(u'\t')}) {
        QString texte;
        QStringList attendu;
        qsizetype ligne = 1;
        quint32 graine = 17;
        for (int r = 0; r < 60; ++r) {
            QStringList champs;
            // Widths grow past the reader's first array, then shrink, then grow again.
            const int largeur = 1 + (r * 7) % 40;
            for (int c = 0; c < largeur; ++c) {
                graine = graine * 1103515245u + 12345u;
                champs << morceaux[(graine >> 16) % 8].repeated(1 + int(graine >> 29) % 2);
            }
            // A record of one empty field is an empty line, read as such.
            texte += ligneCsv(champs, separateur) +
                     (r % 3 == 0 ? QStringLiteral("\r\n") : QStringLiteral("\n"));
            attendu << QString::number(ligne) + u':' + champs.join(u'|');
            ligne += 1 + champs.join(QString()).count(u'\n');
        }
        EXPECT_EQ(enregistrements(texte, separateur), attendu);
    }
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
