#include "support/BaseTest.h"

#include <QProcess>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

struct Sortie
{
    int code;
    QString sortie;
    QString erreurs;
};

class CommandeUserTest : public BaseTest
{
  protected:
    Sortie cli(const QStringList &arguments, const QByteArray &entree = {})
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
        tout << QStringLiteral("user") << arguments;
        QProcess p;
        p.start(QStringLiteral(VYK_CLI), tout);
        p.write(entree);
        p.closeWriteChannel();
        EXPECT_TRUE(p.waitForFinished(60000));
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
};

TEST_P(CommandeUserTest, ComptesDeBoutEnBout)
{
    // The tables are made on first use, with the default administrator.
    Sortie r = cli({QStringLiteral("list")});
    ASSERT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(
        r.sortie,
        QStringLiteral(
            "login,nom,administrateur,referentiels,habilitations\nADMIN,Administrateur,1,1,\n"));

    r = cli({QStringLiteral("add"), QStringLiteral("agent"), QStringLiteral("--password"),
             QStringLiteral("Pw1"), QStringLiteral("--name"), QStringLiteral("Agent, terrain")});
    ASSERT_EQ(r.code, 0) << qPrintable(r.erreurs);
    ASSERT_EQ(cli({QStringLiteral("grant"), QStringLiteral("agent"),
                   QStringLiteral("qualito_fiche_modif")})
                  .code,
              0);
    ASSERT_EQ(
        cli({QStringLiteral("grant"), QStringLiteral("agent"), QStringLiteral("MAT_MODEMS")}).code,
        0);
    ASSERT_EQ(
        cli({QStringLiteral("passwd"), QStringLiteral("agent"), QStringLiteral("-")}, "Secret9\n")
            .code,
        0);
    EXPECT_EQ(lignes(QStringLiteral("SELECT password FROM UTILISATEURS WHERE login='agent'")),
              QStringList({"Secret9"}));

    r = cli({QStringLiteral("list")});
    EXPECT_EQ(r.sortie,
              QStringLiteral("login,nom,administrateur,referentiels,habilitations\n"
                             "ADMIN,Administrateur,1,1,\n"
                             "agent,\"Agent, terrain\",0,0,MAT_MODEMS QUALITO_FICHE_MODIF\n"));
    EXPECT_FALSE(r.sortie.contains(QStringLiteral("KOBAL")));

    r = cli({QStringLiteral("grant"), QStringLiteral("agent"), QStringLiteral("TOUT")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs, QStringLiteral("Habilitation inconnue : TOUT\n"));
    r = cli({QStringLiteral("add"), QStringLiteral("AGENT"), QStringLiteral("--password"),
             QStringLiteral("x")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs, QStringLiteral("Un utilisateur « AGENT » existe déjà.\n"));

    ASSERT_EQ(
        cli({QStringLiteral("revoke"), QStringLiteral("agent"), QStringLiteral("MAT_MODEMS")}).code,
        0);
    EXPECT_EQ(lignes(QStringLiteral("SELECT habilitation FROM UTILISATEURS_HABILITATIONS")),
              QStringList({"QUALITO_FICHE_MODIF"}));
    ASSERT_EQ(cli({QStringLiteral("delete"), QStringLiteral("agent")}).code, 0);
    EXPECT_EQ(lignes(QStringLiteral("SELECT login FROM UTILISATEURS")), QStringList({"ADMIN"}));
    EXPECT_TRUE(lignes(QStringLiteral("SELECT * FROM UTILISATEURS_HABILITATIONS")).isEmpty());
    r = cli({QStringLiteral("delete"), QStringLiteral("ADMIN")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs, QStringLiteral("Il doit rester au moins un administrateur.\n"));

    // Usage errors touch nothing.
    EXPECT_EQ(cli({QStringLiteral("add"), QStringLiteral("X")}).code, 2);
    EXPECT_EQ(cli({QStringLiteral("passwd"), QStringLiteral("ADMIN")}).code, 2);
    EXPECT_EQ(cli({QStringLiteral("grant"), QStringLiteral("ADMIN"), QStringLiteral("QUALITO_ALL"),
                   QStringLiteral("--admin")})
                  .code,
              2);
    EXPECT_EQ(cli({QStringLiteral("renommer")}).code, 2);
    EXPECT_EQ(lignes(QStringLiteral("SELECT login FROM UTILISATEURS")), QStringList({"ADMIN"}));
}

VYK_SUR_LES_DEUX_MOTEURS(CommandeUserTest);

} // namespace
