// A laboratory message through the whole import road: the head's organisations and stations,
// then the results; each sample keeps its own time and request code, the field measurement is an
// analysis of its sample, and a second import leaves the same rows.

#include "db/Progression.h"
#include "import/Importation.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "MessagesSandre.h"

using namespace vyk;

namespace {

class LaboIntegreTest : public test::BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(mettreAJourBase(versionProgramme()));
    }
    ResultatImport importerLabo(const QString &chemin)
    {
        OptionsImport options;
        options.creerIntervenants = true;
        return importer(QStringLiteral("EDILABO"), chemin, options, progressionNulle());
    }
    QStringList prelevements()
    {
        return lignes(QStringLiteral(
            "SELECT Q.CodeBSS, P.DateDebut, P.HeureDebut, P.CodeDemande FROM PRELEVEMENTS P "
            "INNER JOIN QUALITOMETRES Q ON Q.CodeQualitometre = P.CodeQualitometre ORDER BY "
            "Q.CodeBSS"));
    }
    QStringList analyses(const QString &station)
    {
        return lignes(QStringLiteral("SELECT CodeParametre, Resultat, CodeUnite, NumEchantillon, "
                                     "CodeLieu, LimiteQuantification FROM ANALYSES_") +
                      station + QStringLiteral(" ORDER BY CodeParametre"));
    }
    QTemporaryDir m_dossier;
};

TEST_P(LaboIntegreTest, ChaquePrelevementSaDemandeEtSesMesuresDeTerrain)
{
    const QString chemin = test::ecrireFichier(m_dossier, QStringLiteral("labo.xml"),
                                               test::messageSandre(QStringLiteral("labo.xml")));
    for (int passage = 0; passage < 2; ++passage) {
        const ResultatImport r = importerLabo(chemin);
        ASSERT_EQ(r.erreur, QString());
        ASSERT_EQ(r.fichiers.size(), 1);
        EXPECT_EQ(r.fichiers[0].erreur, QString()) << passage;
        EXPECT_EQ(lignes(QStringLiteral("SELECT CodeBSS, Designation, Nom FROM QUALITOMETRES "
                                        "ORDER BY CodeBSS")),
                  QStringList({"05001000|P1|La Rance au pont", "05002000||Le Couesnon"}));
        // Times are stored on the desktop engine's day zero; no time given is midnight.
        EXPECT_EQ(prelevements(), QStringList({"05001000|05/03/2024|30/12/1899 10:15:00|DEM-01",
                                               "05002000|06/03/2024|30/12/1899|DEM-02"}))
            << passage;
        // The field measurement is one more analysis of the sample, made on site.
        const QStringList a = analyses(QStringLiteral("05001000"));
        ASSERT_EQ(a.size(), 3) << qPrintable(a.join(u'\n'));
        EXPECT_TRUE(a[0].startsWith(QStringLiteral("1301|14.2|27|"))) << qPrintable(a[0]);
        EXPECT_TRUE(a[1].startsWith(QStringLiteral("1302|7.8|264|"))) << qPrintable(a[1]);
        EXPECT_TRUE(a[2].startsWith(QStringLiteral("1409|12.5|27||1|"))) << qPrintable(a[2]);
        EXPECT_EQ(analyses(QStringLiteral("05002000")).size(), 1);
    }
}

VYK_SUR_LES_DEUX_MOTEURS(LaboIntegreTest);

} // namespace
