#include "db/BaseDonnees.h"
#include "schema/MiseAJour.h"
#include "schema/TableAnalyses.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

#include <QFile>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

// Station S1 with two results of one sample.
class CommandePackageTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(verifierVersionBase(versionProgramme()));
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("S1")));
        ASSERT_TRUE(executer("INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES "
                             "(7, 'S1', 'Amont')"));
        ASSERT_TRUE(executer("INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, "
                             "DateDebut) VALUES (4, 7, #10/01/2024#)"));
        ASSERT_TRUE(executer("INSERT INTO ANALYSES_S1 (NumAnalyse, NumPrelevement, "
                             "CodeQualitometre, CodeParametre, CodeUnite, Resultat) VALUES (0, 4, "
                             "7, '1340', '162', 12), (1, 4, 7, '1301', '27', 9.5)"));
    }
};

// The package written by the command goes back in through the VYLEN model: the station is
// already here with the same rows, so nothing is added; an unknown station writes no file.
TEST_P(CommandePackageTest, ExportPuisImportParLeModeleVylen)
{
    const QString fichier = chemin("s1.vyk");
    const test::SortieCli inconnue =
        cli({"package", "export", "--stations", "S1,NULLE", "--out", fichier});
    EXPECT_EQ(inconnue.code, 1);
    EXPECT_TRUE(inconnue.erreurs.contains("Le qualitomètre « NULLE » n'existe pas."))
        << qPrintable(inconnue.erreurs);
    EXPECT_FALSE(QFile::exists(fichier));

    const test::SortieCli e = cli({"package", "export", "--stations", "S1", "--out", fichier});
    ASSERT_EQ(e.code, 0) << qPrintable(e.erreurs);
    EXPECT_EQ(e.sortie.trimmed(), fichier + " : 1 station(s), 1 prélèvement(s), 2 analyse(s), 0 "
                                            "ligne(s) de référentiel");

    const test::SortieCli i = cli({"import", "VYLEN", fichier});
    ASSERT_EQ(i.code, 0) << qPrintable(i.erreurs);
    EXPECT_TRUE(i.sortie.contains("2 ligne(s) lue(s)")) << qPrintable(i.sortie);
    EXPECT_EQ(lignes("SELECT NumPrelevement, NumAnalyse, CodeParametre, Resultat FROM ANALYSES_S1 "
                     "ORDER BY NumAnalyse"),
              QStringList({"4|0|1340|12", "4|1|1301|9.5"}));

    const test::SortieCli usage = cli({"package", "export", "--out", fichier});
    EXPECT_EQ(usage.code, 2);
}

VYK_SUR_LES_DEUX_MOTEURS(CommandePackageTest);

} // namespace
