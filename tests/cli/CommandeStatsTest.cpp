#include "db/BaseDonnees.h"
#include "schema/MiseAJour.h"
#include "schema/TableAnalyses.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

// Station S1: nitrates 12 on 01/03/2024 at 15:00, 3 below the quantification limit on
// 20/02/2024, 40 with remark 3 on 10/02/2024.
class CommandeStatsTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(verifierVersionBase(versionProgramme()));
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("S1")));
        const char *lignesSql[] = {
            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (7, 'S1')",
            "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut) VALUES (0, 7, "
            "#03/01/2024 15:00:00#)",
            "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut) VALUES (1, 7, "
            "#02/20/2024#)",
            "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut) VALUES (2, 7, "
            "#02/10/2024#)",
            "INSERT INTO ANALYSES_S1 (NumAnalyse, NumPrelevement, CodeQualitometre, CodeParametre, "
            "CodeUnite, Resultat, CodeRemarque) VALUES (0, 0, 7, '1340', '162', 12, '1')",
            "INSERT INTO ANALYSES_S1 (NumAnalyse, NumPrelevement, CodeQualitometre, CodeParametre, "
            "CodeUnite, Resultat, CodeRemarque) VALUES (0, 1, 7, '1340', '162', 3, '10')",
            "INSERT INTO ANALYSES_S1 (NumAnalyse, NumPrelevement, CodeQualitometre, CodeParametre, "
            "CodeUnite, Resultat, CodeRemarque) VALUES (0, 2, 7, '1340', '162', 40, '3')",
        };
        for (const char *l : lignesSql)
            ASSERT_TRUE(executer(QString::fromUtf8(l))) << l;
    }

    test::SortieCli stats(const QString &genre, const QString &station = QStringLiteral("S1"),
                          const QString &periode = QStringLiteral("30"))
    {
        return cli({QStringLiteral("stats"), QStringLiteral("--station"), station,
                    QStringLiteral("--parameter"), QStringLiteral("1340"), QStringLiteral("--unit"),
                    QStringLiteral("162"), QStringLiteral("--kind"), genre,
                    QStringLiteral("--date"), QStringLiteral("01/03/2024"),
                    QStringLiteral("--period"), periode});
    }
};

const QString ENTETE = QStringLiteral("DateValeur,Valeur,ValeurNumerique\n");

TEST_P(CommandeStatsTest, UneLigneParStatistique)
{
    const std::pair<const char *, const char *> attendus[] = {
        {"MIN", "20/02/2024,1.5,1.5\n"},   {"MAX", "01/03/2024,12,12\n"},
        {"SUM", "01/03/2024,13.5,13.5\n"}, {"AVG", ",4.5,4.5\n"},
        {"P90", "01/03/2024,12,12\n"},     {"last", "01/03/2024,12,12\n"}};
    for (const auto &[genre, ligne] : attendus) {
        const test::SortieCli r = stats(QString::fromLatin1(genre));
        EXPECT_EQ(r.code, 0) << genre << qPrintable(r.erreurs);
        EXPECT_EQ(r.sortie, ENTETE + QString::fromLatin1(ligne)) << genre;
    }
    // By the station's number too; nothing usable in the period: the header alone.
    EXPECT_EQ(stats(QStringLiteral("MAX"), QStringLiteral("7")).sortie,
              ENTETE + QStringLiteral("01/03/2024,12,12\n"));
    EXPECT_EQ(stats(QStringLiteral("MAX"), QStringLiteral("S1"), QStringLiteral("0")).sortie,
              ENTETE + QStringLiteral("01/03/2024,12,12\n"));
    const test::SortieCli vide =
        cli({QStringLiteral("stats"), QStringLiteral("--station"), QStringLiteral("S1"),
             QStringLiteral("--parameter"), QStringLiteral("1301"), QStringLiteral("--kind"),
             QStringLiteral("MIN"), QStringLiteral("--date"), QStringLiteral("01/03/2024"),
             QStringLiteral("--period"), QStringLiteral("30")});
    EXPECT_EQ(vide.code, 0);
    EXPECT_EQ(vide.sortie, ENTETE);
}

TEST_P(CommandeStatsTest, ArgumentsRefuses)
{
    test::SortieCli r = stats(QStringLiteral("MEDIAN"));
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.sortie, QString());
    EXPECT_TRUE(r.erreurs.startsWith(
        QStringLiteral("Statistique inconnue : « MEDIAN » (MIN, AVG, MAX, SUM, P90 ou LAST).")))
        << qPrintable(r.erreurs);
    r = stats(QStringLiteral("MIN"), QStringLiteral("S1"), QStringLiteral("-3"));
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(
        r.erreurs.startsWith(QStringLiteral("Période incorrecte : « -3 » (un nombre de jours).")))
        << qPrintable(r.erreurs);
    r = stats(QStringLiteral("MIN"), QStringLiteral("S9"));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs, QStringLiteral("Le qualitomètre « S9 » n'existe pas.\n"));
    r = cli({QStringLiteral("stats"), QStringLiteral("--station"), QStringLiteral("S1"),
             QStringLiteral("--parameter"), QStringLiteral("1340"), QStringLiteral("--kind"),
             QStringLiteral("MIN"), QStringLiteral("--date"), QStringLiteral("31/02/2024"),
             QStringLiteral("--period"), QStringLiteral("30")});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(
        r.erreurs.startsWith(QStringLiteral("La date de calcul est vide ou n'est pas correcte.")))
        << qPrintable(r.erreurs);
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(CommandeStatsTest);
