#include "support/BaseTest.h"

#include <QProcess>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

struct Resultat
{
    int code;
    QString sortie;
    QString erreurs;
};

class CommandeSqlTest : public BaseTest
{
protected:
    // Runs vyk-cli on the test's database with the given arguments.
    Resultat cli(const QStringList &arguments)
    {
        QStringList tout;
        if (estPostgres()) {
            const auto s = test::serveurTest();
            tout << QStringLiteral("--type") << POSTGRESQL << QStringLiteral("--base") << s.base
                 << QStringLiteral("--server") << s.hote << QStringLiteral("--port") << s.port
                 << QStringLiteral("--user") << s.utilisateur;
        } else {
            tout << QStringLiteral("--base") << emplacement();
        }
        tout << arguments;
        QProcess p;
        p.start(QStringLiteral(VYK_CLI), tout);
        EXPECT_TRUE(p.waitForFinished(60000));
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }
};

TEST_P(CommandeSqlTest, SelectEnCsvEtCodesDeSortie)
{
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE T (n Long, t Text(50), d DateTime, x Double)")));
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (1, 'a,b \"c\"', #03/05/2020 14:05:06#, 6812345.678)")));
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (2, NULL, NULL, 0.5)")));

    const Resultat r = cli({QStringLiteral("sql"), QStringLiteral("SELECT n, t, d, x FROM T ORDER BY n")});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, QStringLiteral("n,t,d,x\n1,\"a,b \"\"c\"\"\",05/03/2020 14:05:06,6812345.678\n2,,,0.5\n"));

    const Resultat ecriture = cli({QStringLiteral("sql"), QStringLiteral("UPDATE T SET t = 'l''eau' WHERE n = 2")});
    EXPECT_EQ(ecriture.code, 0);
    EXPECT_TRUE(ecriture.sortie.isEmpty());
    EXPECT_EQ(valeur(QStringLiteral("SELECT t FROM T WHERE n = 2")).toString(), QStringLiteral("l'eau"));

    const Resultat echec = cli({QStringLiteral("sql"), QStringLiteral("SELECT * FROM ABSENTE")});
    EXPECT_EQ(echec.code, 1);
    EXPECT_FALSE(echec.erreurs.trimmed().isEmpty());
    EXPECT_TRUE(echec.sortie.isEmpty());

    EXPECT_EQ(cli({QStringLiteral("sql")}).code, 2);
    EXPECT_EQ(cli({QStringLiteral("inconnue")}).code, 2);
}

VYK_SUR_LES_DEUX_MOTEURS(CommandeSqlTest);

TEST(CommandeVersion, AfficheLaVersion)
{
    QProcess p;
    p.start(QStringLiteral(VYK_CLI), {QStringLiteral("--version")});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()), QStringLiteral("vyk-cli " VYK_VERSION "\n"));
}

TEST(CommandeSql, BaseAbsenteEchoueAvecMessage)
{
    test::EnvironnementTest env;
    QProcess p;
    p.start(QStringLiteral(VYK_CLI), {QStringLiteral("--base"), env.chemin(QStringLiteral("absent.db")), QStringLiteral("sql"),
                                      QStringLiteral("SELECT 1")});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(QStringLiteral("n'existe pas")));
}

} // namespace
