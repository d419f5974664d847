#include "campagnes/ChoixCampagne.h"

#include "db/Session.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class ChoixCampagneTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(verifierVersionBase(versionProgramme()));
        for (const char *sql :
             {"INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (1, 'B1', 'Un')",
              "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (2, 'A2', 'Deux')",
              "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, CodeSandre) VALUES (5, 'Labo S', "
              "'55')",
              "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, SIRET) VALUES (6, 'Agence', "
              "'12345678900011')",
              "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, CodeSandre, SIRET) VALUES (7, "
              "'Sans code', '', '')"})
            ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
    }
    static QStringList textes(const EntreesCodees &entrees)
    {
        QStringList t;
        for (const EntreeCodee &e : entrees)
            t << e.code + '=' + e.libelle;
        return t;
    }
};

TEST_P(ChoixCampagneTest, OrganisationsWithACodeAndStationsOfTheUser)
{
    EXPECT_EQ(textes(choixOrganisations()), QStringList({"6=Agence", "5=Labo S"}));
    EXPECT_EQ(textes(choixStations()), QStringList({"2=A2 - Deux", "1=B1 - Un"}));

    // A user granted station 1 only is not offered station 2.
    Session &s = session();
    s.login = QStringLiteral("PAUL");
    s.habilitations = QStringLiteral(",QUALITO_DEMANDES,");
    ASSERT_TRUE(
        executer("INSERT INTO UTILISATEURS_STATIONS VALUES ('PAUL', 'QUALITO', '1', 'SINGLE')"));
    EXPECT_EQ(textes(choixStations()), QStringList({"1=B1 - Un"}));
}

VYK_SUR_LES_DEUX_MOTEURS(ChoixCampagneTest);

} // namespace
