#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class CommandeStationsTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(verifierVersionBase(versionProgramme()));
        const char *lignesSql[] = {
            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, typeStation) VALUES (1, "
            "'P1', 'Puits, nord', '0')",
            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, typeStation) VALUES (2, "
            "'V1', 'Rivière', '1')",
            "INSERT INTO UTILISATEURS (login, password, isAdmin) VALUES ('JEAN', 'X', '0')",
            "INSERT INTO UTILISATEURS (login, password, isAdmin) VALUES ('CHEF', 'X', '1')",
            "INSERT INTO UTILISATEURS_STATIONS VALUES ('JEAN', 'QUALITO', '2', 'SINGLE')",
        };
        for (const char *l : lignesSql)
            ASSERT_TRUE(executer(QString::fromUtf8(l))) << l;
    }

    // Exit code, standard output and error of vyk-cli stations on the test's database.
    std::tuple<int, QString, QString> cli(const QStringList &avant,
                                          const QStringList &arguments) const
    {
        const test::SortieCli r =
            BaseTest::cli(avant + QStringList{QStringLiteral("stations")} + arguments);
        return {r.code, r.sortie, r.erreurs};
    }
};

const QString ENTETE = QStringLiteral(
    "Num,Identifiant,Dépt,Commune,Nom station,Aquifère,Altitude,Num,Durée chronique,Gestionnaire,"
    "Agence de l'eau,DCE,Code ME,Masse d'eau,Création,Fermeture,HER,Type_fr,Réseau,Bassin versant,"
    "code type station,Type station,Bassin versant NV2,Bassin versant NV3,Bassin versant NV4\n");

TEST_P(CommandeStationsTest, ListeEnCsvSelonLUtilisateur)
{
    auto [code, sortie, erreurs] = cli({}, {});
    ASSERT_EQ(code, 0) << qPrintable(erreurs);
    EXPECT_EQ(sortie,
              ENTETE + QStringLiteral("1,P1,,,\"Puits, nord\",,,1,,,,,,,,,,,,,0,Piézomètre,,,\n"
                                      "2,V1,,,Rivière,,,2,,,,,,,,,,,,,1,Cours d'eau,,,\n"));

    std::tie(code, sortie, erreurs) = cli({}, {QStringLiteral("--filter"), QStringLiteral("NORD")});
    EXPECT_EQ(sortie,
              ENTETE + QStringLiteral("1,P1,,,\"Puits, nord\",,,1,,,,,,,,,,,,,0,Piézomètre,,,\n"));

    // A user sees the stations granted to them, exactly as in the list screen.
    std::tie(code, sortie, erreurs) = cli({QStringLiteral("--login"), QStringLiteral("JEAN")}, {});
    ASSERT_EQ(code, 0) << qPrintable(erreurs);
    EXPECT_EQ(sortie, ENTETE + QStringLiteral("2,V1,,,Rivière,,,1,,,,,,,,,,,,,1,Cours d'eau,,,\n"));
    std::tie(code, sortie, erreurs) = cli({QStringLiteral("--login"), QStringLiteral("CHEF")}, {});
    EXPECT_EQ(sortie.count(u'\n'), 3);

    std::tie(code, sortie, erreurs) =
        cli({QStringLiteral("--login"), QStringLiteral("PERSONNE")}, {});
    EXPECT_EQ(code, 1);
    EXPECT_EQ(erreurs.trimmed(), QStringLiteral("Utilisateur inconnu : PERSONNE"));
    EXPECT_TRUE(sortie.isEmpty());
    std::tie(code, sortie, erreurs) = cli({}, {QStringLiteral("inutile")});
    EXPECT_EQ(code, 2);
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(CommandeStationsTest);
