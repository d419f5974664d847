#include "db/BaseDonnees.h"
#include "schema/MiseAJour.h"
#include "schema/TableAnalyses.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

#include <QFile>
#include <QRegularExpression>
#include <QSize>
#include <QTemporaryDir>
#include <QtEndian>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

// Width and height of a PNG file, read from its header chunk.
QSize taillePng(const QByteArray &png)
{
    if (png.size() < 24 || !png.startsWith("\x89PNG\r\n\x1a\n") || png.mid(12, 4) != "IHDR")
        return {};
    return QSize(int(qFromBigEndian<quint32>(png.constData() + 16)),
                 int(qFromBigEndian<quint32>(png.constData() + 20)));
}

// Station S1: nitrates in mg/L, one of them below the quantification limit.
class CommandeChartTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(verifierVersionBase(versionProgramme()));
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("S1")));
        ASSERT_TRUE(dossier.isValid());
        ASSERT_TRUE(executer(QStringLiteral(
            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (7, 'S1')")));
        const char *dates[] = {"01/10/2024", "02/10/2024", "03/10/2024", "04/10/2024"};
        const char *resultats[] = {"12, '1'", "3, '10'", "40, '1'", "18, NULL"};
        for (int i = 0; i < 4; ++i) {
            ASSERT_TRUE(executer(QStringLiteral("INSERT INTO PRELEVEMENTS (NumPrelevement, "
                                                "CodeQualitometre, DateDebut) VALUES (%1, 7, #%2#)")
                                     .arg(i)
                                     .arg(QLatin1String(dates[i]))));
            ASSERT_TRUE(executer(QStringLiteral("INSERT INTO ANALYSES_S1 (NumAnalyse, "
                                                "NumPrelevement, CodeQualitometre, CodeParametre, "
                                                "CodeUnite, Resultat, CodeRemarque) VALUES (0, %1, "
                                                "7, '1340', '162', %2)")
                                     .arg(i)
                                     .arg(QLatin1String(resultats[i]))));
        }
        ASSERT_TRUE(executer(QStringLiteral(
            "INSERT INTO ANALYSES_SEUILS (typeSeuil, TypeListe, CodeParametre, CodeUnite, Seuil1, "
            "Seuil2, Seuil3) VALUES (1, '0', '1340', '162', 10, 25, 50)")));
    }

    test::SortieCli graphique(const QString &fichier, const QStringList &plus = {})
    {
        return cli(QStringList{
                       QStringLiteral("chart"), QStringLiteral("--station"), QStringLiteral("S1"),
                       QStringLiteral("--parameter"), QStringLiteral("1340"),
                       QStringLiteral("--width"), QStringLiteral("640"), QStringLiteral("--height"),
                       QStringLiteral("480"), QStringLiteral("--out"), dossier.filePath(fichier)} +
                   plus);
    }

    QByteArray lire(const QString &fichier)
    {
        QFile f(dossier.filePath(fichier));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dossier;
};

TEST_P(CommandeChartTest, FichiersEcritsALaTailleDemandee)
{
    const test::SortieCli png = graphique(
        QStringLiteral("g.png"), {QStringLiteral("--threshold-type"), QStringLiteral("1")});
    ASSERT_EQ(png.code, 0) << qPrintable(png.erreurs);
    EXPECT_EQ(png.sortie, QStringLiteral("4 résultat(s) tracé(s) dans %1\n")
                              .arg(dossier.filePath(QStringLiteral("g.png"))));
    EXPECT_EQ(taillePng(lire(QStringLiteral("g.png"))), QSize(640, 480));

    ASSERT_EQ(graphique(QStringLiteral("g.svg"), {QStringLiteral("--half")}).code, 0);
    const QByteArray svg = lire(QStringLiteral("g.svg"));
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 640 480\"")) << svg.left(400).constData();
    EXPECT_TRUE(svg.contains("<path")) << "the chart is drawn";

    ASSERT_EQ(
        graphique(QStringLiteral("g.pdf"), {QStringLiteral("--from"), QStringLiteral("01/02/2024")})
            .code,
        0);
    const QByteArray pdf = lire(QStringLiteral("g.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    const QRegularExpressionMatch page =
        QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"))
            .match(QString::fromLatin1(pdf));
    ASSERT_TRUE(page.hasMatch());
    EXPECT_EQ(page.captured(1).toDouble(), 640);
    EXPECT_EQ(page.captured(2).toDouble(), 480);
}

TEST_P(CommandeChartTest, RefusClairsEtAucunFichier)
{
    test::SortieCli r = graphique(QStringLiteral("g.gif"));
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.erreurs.contains(QStringLiteral("Format de fichier inconnu")))
        << qPrintable(r.erreurs);

    r = graphique(QStringLiteral("g.png"),
                  {QStringLiteral("--from"), QStringLiteral("32/01/2024")});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.erreurs.contains(QStringLiteral("Date incorrecte pour --from : « 32/01/2024 »")))
        << qPrintable(r.erreurs);

    r = graphique(QStringLiteral("g.png"),
                  {QStringLiteral("--from"), QStringLiteral("01/01/2025")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.erreurs.contains(QStringLiteral(
        "Aucun résultat du paramètre 1340 au qualitomètre S1 sur la période : aucun graphique "
        "n'a été écrit.")))
        << qPrintable(r.erreurs);

    r = graphique(QStringLiteral("g.png"),
                  {QStringLiteral("--threshold-type"), QStringLiteral("9")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.erreurs.contains(
        QStringLiteral("Le seuil 9 n'a aucune borne pour le paramètre 1340 (unité 162).")))
        << qPrintable(r.erreurs);
    EXPECT_FALSE(QFile::exists(dossier.filePath(QStringLiteral("g.png"))));
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(CommandeChartTest);
