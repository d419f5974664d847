#include "support/BaseTest.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class CommandeUserTest : public BaseTest
{
  protected:
    test::SortieCli user(const QStringList &arguments, const QByteArray &entree = {}) const
    {
        return cli(QStringList{QStringLiteral("user")} + arguments, entree);
    }
};

TEST_P(CommandeUserTest, ComptesDeBoutEnBout)
{
    // The tables are made on first use, with the default administrator.
    test::SortieCli r = user({QStringLiteral("list")});
    ASSERT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(
        r.sortie,
        QStringLiteral(
            "login,nom,administrateur,referentiels,habilitations\nADMIN,Administrateur,1,1,\n"));

    r = user({QStringLiteral("add"), QStringLiteral("agent"), QStringLiteral("--password"),
              QStringLiteral("Pw1"), QStringLiteral("--name"), QStringLiteral("Agent, terrain")});
    ASSERT_EQ(r.code, 0) << qPrintable(r.erreurs);
    ASSERT_EQ(user({QStringLiteral("grant"), QStringLiteral("agent"),
                    QStringLiteral("qualito_fiche_modif")})
                  .code,
              0);
    ASSERT_EQ(
        user({QStringLiteral("grant"), QStringLiteral("agent"), QStringLiteral("MAT_MODEMS")}).code,
        0);
    ASSERT_EQ(
        user({QStringLiteral("passwd"), QStringLiteral("agent"), QStringLiteral("-")}, "Secret9\n")
            .code,
        0);
    EXPECT_EQ(lignes(QStringLiteral("SELECT password FROM UTILISATEURS WHERE login='agent'")),
              QStringList({"Secret9"}));

    r = user({QStringLiteral("list")});
    EXPECT_EQ(r.sortie,
              QStringLiteral("login,nom,administrateur,referentiels,habilitations\n"
                             "ADMIN,Administrateur,1,1,\n"
                             "agent,\"Agent, terrain\",0,0,MAT_MODEMS QUALITO_FICHE_MODIF\n"));
    EXPECT_FALSE(r.sortie.contains(QStringLiteral("KOBAL")));

    r = user({QStringLiteral("grant"), QStringLiteral("agent"), QStringLiteral("TOUT")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs, QStringLiteral("Habilitation inconnue : TOUT\n"));
    r = user({QStringLiteral("add"), QStringLiteral("AGENT"), QStringLiteral("--password"),
              QStringLiteral("x")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs, QStringLiteral("Un utilisateur « AGENT » existe déjà.\n"));

    ASSERT_EQ(
        user({QStringLiteral("revoke"), QStringLiteral("agent"), QStringLiteral("MAT_MODEMS")})
            .code,
        0);
    EXPECT_EQ(lignes(QStringLiteral("SELECT habilitation FROM UTILISATEURS_HABILITATIONS")),
              QStringList({"QUALITO_FICHE_MODIF"}));
    ASSERT_EQ(user({QStringLiteral("delete"), QStringLiteral("agent")}).code, 0);
    EXPECT_EQ(lignes(QStringLiteral("SELECT login FROM UTILISATEURS")), QStringList({"ADMIN"}));
    EXPECT_TRUE(lignes(QStringLiteral("SELECT * FROM UTILISATEURS_HABILITATIONS")).isEmpty());
    r = user({QStringLiteral("delete"), QStringLiteral("ADMIN")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs, QStringLiteral("Il doit rester au moins un administrateur.\n"));

    // Usage errors touch nothing.
    EXPECT_EQ(user({QStringLiteral("add"), QStringLiteral("X")}).code, 2);
    EXPECT_EQ(user({QStringLiteral("passwd"), QStringLiteral("ADMIN")}).code, 2);
    EXPECT_EQ(user({QStringLiteral("grant"), QStringLiteral("ADMIN"), QStringLiteral("QUALITO_ALL"),
                    QStringLiteral("--admin")})
                  .code,
              2);
    EXPECT_EQ(user({QStringLiteral("renommer")}).code, 2);
    EXPECT_EQ(lignes(QStringLiteral("SELECT login FROM UTILISATEURS")), QStringList({"ADMIN"}));
}

// A password the database refuses (here a rule a site added to its users table): the command
// fails with the database's reason, which never shows the password, and nothing is written.
// Quotes and accents are stored as typed.
TEST_P(CommandeUserTest, MotDePasseRefuseParLaBaseJamaisAffiche)
{
    ASSERT_TRUE(executer(QStringLiteral(
        "CREATE TABLE UTILISATEURS (login Text(12), password Text(12) CHECK (len(password) >= 6), "
        "isAdmin Text(1), nom Text(255), codeIntervenant Double, metadata Text(1))")));
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO UTILISATEURS (login, password, isAdmin, nom, "
                                        "metadata) VALUES ('ADMIN', 'Kobal99', '1', "
                                        "'Administrateur', '1')")));

    test::SortieCli r = user({QStringLiteral("add"), QStringLiteral("agent"),
                              QStringLiteral("--password"), QStringLiteral("Zq7")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.erreurs.startsWith(QStringLiteral("L'utilisateur n'a pas pu être créé : ")))
        << qPrintable(r.erreurs);
    EXPECT_FALSE(r.erreurs.contains(QStringLiteral("Zq7"))) << qPrintable(r.erreurs);
    EXPECT_FALSE(r.sortie.contains(QStringLiteral("Zq7")));

    r = user({QStringLiteral("passwd"), QStringLiteral("ADMIN"), QStringLiteral("-")}, "Zq8\n");
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.erreurs.startsWith(QStringLiteral("Le mot de passe n'a pas pu être changé : ")))
        << qPrintable(r.erreurs);
    EXPECT_FALSE(r.erreurs.contains(QStringLiteral("Zq8"))) << qPrintable(r.erreurs);
    EXPECT_FALSE(r.erreurs.contains(QStringLiteral("Kobal99"))) << qPrintable(r.erreurs);
    EXPECT_EQ(lignes(QStringLiteral("SELECT login, password FROM UTILISATEURS")),
              QStringList({"ADMIN|Kobal99"}));

    const QString motDePasse = QStringLiteral("l'été\"9,x");
    r = user({QStringLiteral("passwd"), QStringLiteral("ADMIN"), QStringLiteral("-")},
             motDePasse.toUtf8() + "\n");
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_FALSE(r.sortie.contains(motDePasse) || r.erreurs.contains(motDePasse));
    EXPECT_EQ(lignes(QStringLiteral("SELECT password FROM UTILISATEURS WHERE login='ADMIN'")),
              QStringList({motDePasse}));
}

VYK_SUR_LES_DEUX_MOTEURS(CommandeUserTest);

} // namespace
