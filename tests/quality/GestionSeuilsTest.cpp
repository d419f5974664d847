#include "quality/GestionSeuils.h"
#include "db/BaseDonnees.h"
#include "quality/ImportSeuils.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class GestionSeuilsTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesCatalogue({"ANALYSES_SEUILS", "CODES_SANDRE", "ANALYSES_UNITES"});
        ASSERT_TRUE(executer("INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES "
                             "('SEUILS.RESULTATS', 3, 'Existant')"));
        ASSERT_TRUE(executer("INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES "
                             "('SEUILS', 9, 'Autre genre')"));
    }
    const GenreSeuils &indices() { return *genreSeuils("2"); }
    QStringList bornes()
    {
        return lignes("SELECT typeSeuil, TypeListe, CodeParametre, TypeStation, TypeFr, "
                      "codeElement, Seuil1, Seuil2, Seuil3, Seuil4 FROM ANALYSES_SEUILS ORDER BY "
                      "typeSeuil, CodeParametre, TypeStation");
    }
    // Code, type station, type FR, computed parameter, four bounds.
    QVector<LigneBornes> grille()
    {
        return {{1, {"5910", "", "", "", "5", "10", "15", ""}},
                {2, {"5910", "1", "4", "", "17", "14", "11", "8"}},
                {3, {"", "", "", "", "1", "", "", ""}}};
    }
};

TEST_P(GestionSeuilsTest, EnregistrerRemplacerSupprimer)
{
    FicheJeuSeuils f{"", "IBGN rivières", "Commentaire", ""};
    ASSERT_TRUE(montrer(enregistrerJeuSeuils(indices(), f, grille())));
    EXPECT_EQ(recus(), QStringList({"AIDE: La liste des seuils a été mise à jour."}));
    EXPECT_EQ(f.code, "4");
    EXPECT_EQ(lignes("SELECT Champ, Code, Libelle, Commentaire, Projet FROM CODES_SANDRE WHERE "
                     "Code=4"),
              QStringList({"SEUILS.RESULTATS|4|IBGN rivières|Commentaire|VYK"}));
    EXPECT_EQ(bornes(),
              QStringList({"4|2|||||1|||", "4|2|5910||||5|10|15|", "4|2|5910|1|4||17|14|11|8"}));
    ASSERT_TRUE(executer("UPDATE CODES_SANDRE SET codeReference='R4' WHERE Code=4"));
    QStringList jeux;
    for (const FicheJeuSeuils &j : jeuxSeuils(indices()))
        jeux << QStringList{j.code, j.libelle, j.commentaire, j.codeReference}.join(u'|');
    EXPECT_EQ(jeux, QStringList({"3|Existant||", "4|IBGN rivières|Commentaire|R4"}));
    // Saved again: the rows are replaced, not added.
    QVector<LigneBornes> g = grille();
    g.removeLast();
    f.libelle = "IBGN";
    ASSERT_TRUE(montrer(enregistrerJeuSeuils(indices(), f, g)));
    EXPECT_EQ(bornes(), QStringList({"4|2|5910||||5|10|15|", "4|2|5910|1|4||17|14|11|8"}));
    EXPECT_EQ(valeur("SELECT Libelle FROM CODES_SANDRE WHERE Champ='SEUILS.RESULTATS' AND "
                     "Code=4")
                  .toString(),
              "IBGN");
    recus();
    ASSERT_TRUE(montrer(supprimerJeuSeuils(indices(), "4")));
    EXPECT_EQ(recus(), QStringList({"AIDE: Le seuil a été supprimé."}));
    EXPECT_TRUE(bornes().isEmpty());
    EXPECT_EQ(lignes("SELECT Champ, Code FROM CODES_SANDRE ORDER BY Champ"),
              QStringList({"SEUILS|9", "SEUILS.RESULTATS|3"}));
}

TEST_P(GestionSeuilsTest, UneLigneFautiveNEcritRien)
{
    FicheJeuSeuils f{"3", "Existant", "", ""};
    ASSERT_TRUE(montrer(enregistrerJeuSeuils(indices(), f, grille())));
    recus();
    const QStringList avant = bornes();
    QVector<LigneBornes> g = grille();
    g[1].textes[5] = "20"; // 17, 20, 11, 8
    EXPECT_FALSE(montrer(enregistrerJeuSeuils(indices(), f, g)));
    g = grille();
    g[2].textes[0] = "5910"; // the same element as the first line
    EXPECT_FALSE(montrer(enregistrerJeuSeuils(indices(), f, g)));
    g = grille();
    g[0].textes[2] = "quatre";
    EXPECT_FALSE(montrer(enregistrerJeuSeuils(indices(), f, g)));
    FicheJeuSeuils sansLibelle{"3", " ", "", ""};
    EXPECT_FALSE(montrer(enregistrerJeuSeuils(indices(), sansLibelle, grille())));
    EXPECT_EQ(recus(),
              QStringList({"ERREUR: Les seuils ne sont ni croissants ni décroissants pour la "
                           "ligne 2.",
                           "ERREUR: L'élément 5910 figure déjà dans ce seuil pour la ligne 3.",
                           "ERREUR: La valeur de « Type FR » n'est pas un nombre pour la ligne 1.",
                           "ERREUR: Le libellé du seuil n'est pas renseigné."}));
    EXPECT_EQ(bornes(), avant);
    EXPECT_FALSE(montrer(peutInsererBornes(nullptr)));
    EXPECT_TRUE(montrer(peutInsererBornes(&indices())));
    EXPECT_EQ(dernier(), "Merci de sélectionner le type de liste avant de pouvoir insérer des "
                         "éléments.");
}

TEST_P(GestionSeuilsTest, ExportPuisImportRedonneLesMemesLignes)
{
    FicheJeuSeuils f{"3", "Existant", "", ""};
    ASSERT_TRUE(montrer(enregistrerJeuSeuils(indices(), f, grille())));
    recus();
    EXPECT_FALSE(montrer(exporterJeuSeuils(indices(), FicheJeuSeuils{}, chemin("rien.csv"))));
    EXPECT_EQ(recus(), QStringList({"AIDE: Sélectionnez un seuil avant d'exporter la liste"}));
    const QStringList avant = bornes();
    for (const char *nom : {"seuils.csv", "seuils.xlsx"}) {
        const QString fichier = chemin(nom);
        ASSERT_TRUE(montrer(exporterJeuSeuils(indices(), f, fichier)));
        ASSERT_TRUE(executer("DELETE FROM ANALYSES_SEUILS"));
        FichierSeuils lu;
        QString erreur;
        ASSERT_TRUE(lireFichierSeuils(fichier, indices(), lu, erreur)) << qPrintable(erreur);
        const BilanImportSeuils b = importerSeuils(indices(), lu);
        EXPECT_EQ(b.refus, "") << nom;
        EXPECT_EQ(bornes(), avant) << nom;
    }
}

VYK_SUR_LES_DEUX_MOTEURS(GestionSeuilsTest);

} // namespace
