// vyk-cli import of a SANDRE 1997 frame: a check writes nothing, a run writes the stations and
// operations and records its execution.

#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

#include <QFile>

using namespace vyk;

namespace {

class CommandeImportSandre1997Test : public test::BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(mettreAJourBase(versionProgramme()));
    }
};

TEST_P(CommandeImportSandre1997Test, ControlePuisImport)
{
    const QString chemin = this->chemin(QStringLiteral("trame.txt"));
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("STQ|V001|La Loue\nOPH|V001|131|15/06/2021|09:30|2\nTXD|V001|131|15/06/2021|09:30|2|1|"
            "183|12\nQQQ|V001\n");
    f.close();

    test::SortieCli r = cli({"import", "SANDRE_TRAME_1997", chemin, "--controle"});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES").toInt(), 0);
    EXPECT_EQ(valeur("SELECT count(*) FROM JOBS").toInt(), 0);

    r = cli({"import", "SANDRE_TRAME_1997", chemin});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_TRUE(r.sortie.startsWith(QStringLiteral("trame.txt : 4 ligne(s) lue(s), 1 station(s) "
                                                   "dont 1 créée(s)")))
        << qPrintable(r.sortie);
    EXPECT_TRUE(r.erreurs.contains(QStringLiteral(
        "trame.txt : Éléments non repris : enregistrement de type inconnu QQQ (1).")))
        << qPrintable(r.erreurs);
    EXPECT_EQ(lignes("SELECT CodeBSS, Nom FROM QUALITOMETRES"), QStringList({"V001|La Loue"}));
    EXPECT_EQ(lignes("SELECT codeTaxon, denombrementA FROM QUALITOMETRES_LISTE_1"),
              QStringList({"183|12"}));
    EXPECT_EQ(lignes("SELECT f.code, e.statut FROM (JOBS j INNER JOIN FORMAT_DONNEES f ON "
                     "f.id=j.format_donnees) INNER JOIN JOBS_EXECUTION e ON e.job_id=j.id"),
              QStringList({"SANDRE_TRAME_1997|1"}));
}

VYK_SUR_LES_DEUX_MOTEURS(CommandeImportSandre1997Test);

} // namespace
