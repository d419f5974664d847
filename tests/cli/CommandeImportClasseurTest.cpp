#include "classeur/Classeur.h"
#include "db/BaseDonnees.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class CommandeImportClasseurTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(mettreAJourBase(versionProgramme()));
    }
};

// A workbook whose data sheet has another name: refused with the message, read with --feuille.
TEST_P(CommandeImportClasseurTest, FeuilleDonneeSurLaLigneDeCommande)
{
    const QString chemin = this->chemin("extrait.xlsx");
    Classeur c;
    Feuille *f = c.ajouterFeuille("Données");
    const QStringList entete = {"Code_Station", "Date_Prelvt", "Code_Param", "Resultat",
                                "Code_unite"};
    const QStringList ligne = {"BSS001", "03/05/2021", "1340", "12,5", "162"};
    for (int i = 0; i < entete.size(); ++i) {
        f->ecrire(1, i + 1, entete.at(i));
        f->ecrire(2, i + 1, ligne.at(i));
    }
    ASSERT_TRUE(c.enregistrer(chemin));

    test::SortieCli r = cli({"import", "ARS Excel", chemin});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs,
              "extrait.xlsx : Impossible de trouver le classeur de données " + chemin + "\n");
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES").toInt(), 0);

    r = cli({"import", "ARS Excel", chemin, "--feuille", "Données"});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(lignes("SELECT CodeParametre, Resultat FROM ANALYSES_BSS001"),
              QStringList({"1340|12.5"}));
}

VYK_SUR_LES_DEUX_MOTEURS(CommandeImportClasseurTest);

} // namespace
