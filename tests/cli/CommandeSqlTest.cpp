#include "support/BaseTest.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class CommandeSqlTest : public BaseTest
{
};

TEST_P(CommandeSqlTest, SelectEnCsvEtCodesDeSortie)
{
    ASSERT_TRUE(
        executer(QStringLiteral("CREATE TABLE T (n Long, t Text(50), d DateTime, x Double)")));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO T VALUES (1, 'a,b \"c\"', #03/05/2020 14:05:06#, 6812345.678)")));
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (2, NULL, NULL, 0.5)")));

    const test::SortieCli r =
        cli({QStringLiteral("sql"), QStringLiteral("SELECT n, t, d, x FROM T ORDER BY n")});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(
        r.sortie,
        QStringLiteral("n,t,d,x\n1,\"a,b \"\"c\"\"\",05/03/2020 14:05:06,6812345.678\n2,,,0.5\n"));

    const test::SortieCli ecriture =
        cli({QStringLiteral("sql"), QStringLiteral("UPDATE T SET t = 'l''eau' WHERE n = 2")});
    EXPECT_EQ(ecriture.code, 0);
    EXPECT_TRUE(ecriture.sortie.isEmpty());
    EXPECT_EQ(valeur(QStringLiteral("SELECT t FROM T WHERE n = 2")).toString(),
              QStringLiteral("l'eau"));

    const test::SortieCli echec =
        cli({QStringLiteral("sql"), QStringLiteral("SELECT * FROM ABSENTE")});
    EXPECT_EQ(echec.code, 1);
    EXPECT_FALSE(echec.erreurs.trimmed().isEmpty());
    EXPECT_TRUE(echec.sortie.isEmpty());

    EXPECT_EQ(cli({QStringLiteral("sql")}).code, 2);
    EXPECT_EQ(cli({QStringLiteral("inconnue")}).code, 2);
}

VYK_SUR_LES_DEUX_MOTEURS(CommandeSqlTest);

TEST(CommandeVersion, AfficheLaVersion)
{
    const test::SortieCli r = test::lancerCli({QStringLiteral("--version")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.sortie, QStringLiteral("vyk-cli " VYK_VERSION "\n"));
}

TEST(CommandeSql, BaseAbsenteEchoueAvecMessage)
{
    test::EnvironnementTest env;
    const test::SortieCli r =
        test::lancerCli({QStringLiteral("--base"), env.chemin(QStringLiteral("absent.db")),
                         QStringLiteral("sql"), QStringLiteral("SELECT 1")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.erreurs.contains(QStringLiteral("n'existe pas")));
}

} // namespace
