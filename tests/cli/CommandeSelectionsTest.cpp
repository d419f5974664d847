#include "db/BaseDonnees.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

#include <QFile>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class CommandeSelectionsTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(mettreAJourBase(versionProgramme()));
        ASSERT_TRUE(executer("DELETE FROM ANALYSES_PARAMETRES_SELECTIONS"));
        ASSERT_TRUE(executer("DELETE FROM ANALYSES_PARAMETRES_SELECTIONS_TITRE"));
    }
};

TEST_P(CommandeSelectionsTest, ListesParDefautListeEtContenu)
{
    test::SortieCli r = cli({"selections", "install-defaults"});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, "11 liste(s) par défaut créée(s)\n");
    r = cli({"selections", "install-defaults"});
    EXPECT_EQ(r.sortie, "0 liste(s) par défaut créée(s)\n");
    r = cli({"selections", "show", "PHOS"});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, "num,codeParametre,codeUnite\n1,1350,177\n2,1433,176\n");
    r = cli({"selections", "show", "PHOS", "--type", "1"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.sortie, "");
    EXPECT_TRUE(r.erreurs.contains("La sélection PHOS n'existe pas pour le type 1."))
        << qPrintable(r.erreurs);
    r = cli({"selections", "show", "PHOS", "--type", "7"});
    EXPECT_EQ(r.code, 2);
    r = cli({"selections", "list"});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    const QStringList l = r.sortie.split('\n');
    ASSERT_EQ(l.size(), 13) << qPrintable(r.sortie);
    EXPECT_EQ(l[0], "TypeListe,Code,Nom,codeParent,Parent,Defaut");
    EXPECT_EQ(l[1], "0,AZOT,AZOT - Matières azotées hors nitrates,,,");
    EXPECT_EQ(l[11], "1,XPT90-388,Norme XPT90-388,,,");
}

TEST_P(CommandeSelectionsTest, ImportAvecUneLigneRefusee)
{
    for (const char *u : {"173", "169"})
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO ANALYSES_UNITES (Code, Nom) VALUES "
                                            "('%1', 'u%1')")
                                 .arg(u)));
    QFile f(chemin("listes.csv"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("1340;173;NUTR;Nutriments;;\n1234567;;NUTR;Nutriments;;\n1335;169;NUTR;N;AZ;Azote\n");
    f.close();
    test::SortieCli r = cli({"selections", "import", f.fileName()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.sortie, "listes.csv : 2 ligne(s) importée(s) dans 2 sélection(s)\n");
    EXPECT_TRUE(r.erreurs.contains("Ligne 2 non importée")) << qPrintable(r.erreurs);
    r = cli({"selections", "show", "AZ"});
    EXPECT_EQ(r.sortie, "num,codeParametre,codeUnite\n1,1335,169\n");
    r = cli({"selections", "import", chemin("absent.csv")});
    EXPECT_EQ(r.code, 1);
    r = cli({"selections", "remove", "NUTR"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(valeur("SELECT count(*) FROM ANALYSES_PARAMETRES_SELECTIONS").toInt(), 2);
}

VYK_SUR_LES_DEUX_MOTEURS(CommandeSelectionsTest);

} // namespace
