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

// The RCS workbook through the command line: its own missing-sheet message, then the sheet
// given by --feuille; a second run changes no row.
TEST_P(CommandeImportClasseurTest, ClasseurRcs)
{
    executer("DELETE FROM ANALYSES_PARAMETRES WHERE Code='5856'");
    executer("DELETE FROM ANALYSES_SUPPORTS WHERE Code='10'");
    ASSERT_TRUE(executer("INSERT INTO ANALYSES_SUPPORTS (Code, Nom) VALUES ('10', 'Diatomées')"));
    ASSERT_TRUE(executer("INSERT INTO ANALYSES_PARAMETRES (Code, Nom, codeSupportDefault) VALUES "
                         "('5856', 'IBD', '10')"));
    const QString chemin = this->chemin("rcs.ods");
    Classeur c;
    Feuille *f = c.ajouterFeuille("RCS 2021");
    f->ecrire(1, 1, "Code station");
    f->ecrire(1, 2, "BSS002");
    f->ecrire(2, 1, "Date");
    f->ecrire(2, 2, "07/07/2021");
    const QStringList entete = {"SANDRE", "PARAMETRE", "COMMENTAIRE"};
    for (int i = 0; i < entete.size(); ++i)
        f->ecrire(3, i + 1, entete.at(i));
    f->ecrire(4, 1, "5856");
    f->ecrire(4, 2, "11,5");
    ASSERT_TRUE(c.enregistrer(chemin));

    test::SortieCli r = cli({"import", "XLS RCS", chemin});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs, "rcs.ods : Impossible de trouver le classeur 'Contrôle surveillance - "
                         "RCS' dans le fichier " +
                             chemin + "\n");
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES").toInt(), 0);
    const QString sql = "SELECT codeOperation, codeParametre, resultat FROM "
                        "QUALITOMETRES_OPERATIONS_RESULTATS";
    for (int fois = 0; fois < 2; ++fois) {
        r = cli({"import", "XLS RCS", chemin, "--feuille", "RCS 2021"});
        EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
        EXPECT_EQ(lignes(sql), QStringList({"0|5856|11.5"}));
    }
}

// The historical workbook through the command line: its frame written beside it, kept when it
// differs from a later workbook's unless --ecraser is given.
TEST_P(CommandeImportClasseurTest, RepriseHistorique)
{
    const QString chemin = this->chemin("histo.xlsx");
    const auto ecrire = [&](const QString &effectif) {
        Classeur c;
        Feuille *f = c.ajouterFeuille("Relevés");
        const QStringList cellules[] = {{"CODE STATION", "DATE", "CODE TAXON", "EFFECTIF"},
                                        {"H01", "04/08/1999", "212", effectif}};
        for (int l = 0; l < 2; ++l)
            for (int i = 0; i < cellules[l].size(); ++i)
                f->ecrire(l + 1, i + 1, cellules[l].at(i));
        return c.enregistrer(chemin);
    };
    ASSERT_TRUE(ecrire("7"));
    test::SortieCli r = cli({"import", "REPRISE_HISTO", chemin});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    const QString sql = "SELECT codeTaxon, denombrementA FROM QUALITOMETRES_LISTE_1";
    EXPECT_EQ(lignes(sql), QStringList({"212|7"}));

    ASSERT_TRUE(ecrire("9"));
    const QString txt = this->chemin("histo.txt");
    r = cli({"import", "REPRISE_HISTO", chemin});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs, "histo.xlsx : Le fichier " + txt +
                             " existe déjà : il n'a pas été remplacé et aucune donnée n'a été "
                             "intégrée.\n");
    EXPECT_EQ(lignes(sql), QStringList({"212|7"}));
    r = cli({"import", "REPRISE_HISTO", chemin, "--ecraser"});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(lignes(sql), QStringList({"212|9"}));
}

VYK_SUR_LES_DEUX_MOTEURS(CommandeImportClasseurTest);

} // namespace
