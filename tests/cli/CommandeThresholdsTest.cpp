#include "db/BaseDonnees.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

#include <QFile>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class CommandeThresholdsTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(mettreAJourBase(versionProgramme()));
    }

    QString fichier(const QString &nom, const QByteArray &texte)
    {
        QFile f(chemin(nom));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(texte);
        return f.fileName();
    }
};

TEST_P(CommandeThresholdsTest, ClassesDuJeuSemeEtLignesNonMonotones)
{
    test::SortieCli r = cli({"thresholds", "class", "--set", "1", "--parameter", "1107", "--unit",
                             "133", "0.05", "0,06", "3", ""});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, "classe 1 : <= 0.05\nclasse 2 : > 0.05 et <= 0.1\nclasse 3 : > 0.1 et <= "
                        "2\nclasse 4 : > 2\n0.05,1\n\"0,06\",2\n3,4\n,0\n");
    // A seeded row that is neither increasing nor decreasing classes nothing, and says so.
    r = cli(
        {"thresholds", "class", "--set", "1", "--parameter", "1340", "--unit", "173", "4", "-1"});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_TRUE(r.sortie.endsWith("\n4,0\n-1,0\n")) << qPrintable(r.sortie);
    EXPECT_EQ(lignes("SELECT Titre, description FROM JOURNAL WHERE Titre LIKE 'Seuils%'"),
              QStringList({"Seuils non monotones : valeurs non classées|Seuil 1, élément 1340 : "
                           "20, 5, 100"}));
}

TEST_P(CommandeThresholdsTest, ImportDeuxFoisPuisListe)
{
    const QString csv = fichier("taxons.csv", "1;Indices diatomées;;;;T1;1;4;20;15;10;5\n"
                                              "1;Indices diatomées;;;;T1;;;1;2;3;\n");
    for (int fois = 0; fois < 2; ++fois) {
        const test::SortieCli r = cli({"thresholds", "import", csv, "--kind", "SEUILS.TAXONS"});
        EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
        EXPECT_EQ(r.sortie, "taxons.csv : 1 seuil(s), 2 ligne(s) de seuils intégrés\n");
    }
    EXPECT_EQ(valeur("SELECT count(*) FROM ANALYSES_SEUILS WHERE TypeListe='1'").toInt(), 2);
    test::SortieCli r = cli({"thresholds", "list", "--kind", "1"});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, "Champ,Code,Libelle,Commentaire,codeReference\n"
                        "SEUILS.TAXONS,1,Indices diatomées,,\n");
    r = cli({"thresholds", "class", "--set", "1", "--kind", "SEUILS.TAXONS", "--parameter", "T1",
             "--station-type", "1", "--fr-type", "4", "12", "5"});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_TRUE(r.sortie.endsWith("\n12,3\n5,\n")) << qPrintable(r.sortie);
}

TEST_P(CommandeThresholdsTest, RefusEtUsage)
{
    const int avant = valeur("SELECT count(*) FROM ANALYSES_SEUILS").toInt();
    const QString csv = fichier("faux.csv", "1;Nouveau;;;;1340;162;1;2;3\n"
                                            "1;Nouveau;;;;1341;162;3;5;1\n");
    test::SortieCli r = cli({"thresholds", "import", csv, "--kind", "SEUILS"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(
        r.erreurs.contains("Les seuils ne sont ni croissants ni décroissants pour la ligne 2."))
        << qPrintable(r.erreurs);
    EXPECT_EQ(valeur("SELECT count(*) FROM ANALYSES_SEUILS").toInt(), avant);
    EXPECT_EQ(valeur("SELECT count(*) FROM CODES_SANDRE WHERE Libelle='Nouveau'").toInt(), 0);
    r = cli({"thresholds", "import", csv, "--kind", "SEUILS.AUTRES"});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.erreurs.contains("Genre de seuils inconnu : SEUILS.AUTRES"));
    r = cli({"thresholds", "import", csv});
    EXPECT_EQ(r.code, 2);
    r = cli({"thresholds", "class", "--set", "1", "3"});
    EXPECT_EQ(r.code, 2);
}

VYK_SUR_LES_DEUX_MOTEURS(CommandeThresholdsTest);

} // namespace
