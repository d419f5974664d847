// The typed grid on its own: coded cells, lines as texts, read-only mode, cells of their own kind.

#include "ui/widgets/GrilleSaisie.h"

#include "support/Affichage.h"

#include <gtest/gtest.h>

using namespace vyk;

namespace {

using G = NatureChamp;

const EntreesCodees UNITES = {{QStringLiteral("162"), QStringLiteral("mg/L"), 0},
                              {QStringLiteral("48"), QString(), 0}};

TEST(GrilleSaisie, LignesEnTextesEtCellulesCodees)
{
    GrilleSaisie grille;
    grille.definirColonnes({{QStringLiteral("Paramètre"), G::Texte, {}},
                            {QStringLiteral("Unité"), G::Code, UNITES},
                            {QStringLiteral("Validé"), G::OuiNon, {}}});
    // A coded cell takes the code or the entry text; a code its entries lack keeps the label the
    // text gave (an inactive unit), a bare unknown code shows itself.
    grille.remplir({{QStringLiteral("Nitrates"), QStringLiteral("162"), QStringLiteral("1")},
                    {QStringLiteral("Ammonium"), QStringLiteral("Ancienne [7]")},
                    {QStringLiteral("Fer"), QStringLiteral("9"), QStringLiteral("0")},
                    {QStringLiteral("Zinc"), QStringLiteral("48")}});
    ASSERT_EQ(grille.rowCount(), 4);
    EXPECT_EQ(grille.affiche(0, 1), QStringLiteral("mg/L [162]"));
    EXPECT_EQ(grille.affiche(1, 1), QStringLiteral("Ancienne [7]"));
    EXPECT_EQ(grille.affiche(2, 1), QStringLiteral("9"));
    EXPECT_EQ(grille.affiche(3, 1), QStringLiteral("48"));
    EXPECT_EQ(grille.lignes(), QVector<QStringList>({{"Nitrates", "162", "1"},
                                                     {"Ammonium", "7", "0"},
                                                     {"Fer", "9", "0"},
                                                     {"Zinc", "48", "0"}}));

    grille.retirerLigne(1);
    EXPECT_EQ(grille.textesLigne(1), QStringList({"Fer", "9", "0"}));
    grille.retirerLigne(7);
    EXPECT_EQ(grille.rowCount(), 3);
}

TEST(GrilleSaisie, LectureSeuleEtRetourALaSaisie)
{
    GrilleSaisie grille;
    grille.definirColonnes({{QStringLiteral("Texte"), G::Texte, {}},
                            {QStringLiteral("Case"), G::OuiNon, {}},
                            {QStringLiteral("Numéro"), G::Texte, {}, true}});
    grille.remplir({{QStringLiteral("a"), QStringLiteral("1"), QStringLiteral("3")}});
    auto drapeaux = [&](int c) { return grille.modele()->flags(grille.modele()->index(0, c)); };
    EXPECT_TRUE(drapeaux(0) & Qt::ItemIsEditable);
    EXPECT_TRUE(drapeaux(1) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(drapeaux(2) & Qt::ItemIsEditable);

    grille.definirModifiable(false);
    EXPECT_FALSE(grille.estModifiable());
    EXPECT_FALSE(drapeaux(0) & Qt::ItemIsEditable);
    EXPECT_FALSE(drapeaux(1) & Qt::ItemIsUserCheckable);
    // Lines added while read-only are read-only too; the texts stay.
    grille.ajouterLigne();
    EXPECT_FALSE(grille.modele()->flags(grille.modele()->index(1, 0)) & Qt::ItemIsEditable);
    EXPECT_EQ(grille.textesLigne(0), QStringList({"a", "1", "3"}));

    grille.definirModifiable(true);
    EXPECT_TRUE(drapeaux(0) & Qt::ItemIsEditable);
    EXPECT_TRUE(drapeaux(1) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(drapeaux(2) & Qt::ItemIsEditable);

    grille.afficherColonnes({true, false});
    EXPECT_FALSE(grille.isColumnHidden(0));
    EXPECT_TRUE(grille.isColumnHidden(1));
    EXPECT_FALSE(grille.isColumnHidden(2));
}

TEST(GrilleSaisie, UneCelluleDeSonGenreSuitSaLigne)
{
    GrilleSaisie grille;
    grille.definirColonnes({{QStringLiteral("Libellé"), G::Texte, {}, true},
                            {QStringLiteral("Valeur"), G::Nombre, {}}});
    grille.definirNbLignes(3);
    grille.definirCellule(2, 1, {{}, G::Code, UNITES});
    grille.definirTexte(2, 1, QStringLiteral("162"));
    grille.retirerLigne(0);
    EXPECT_EQ(grille.affiche(1, 1), QStringLiteral("mg/L [162]"));
    EXPECT_EQ(grille.texte(1, 1), QStringLiteral("162"));
    // The line that moved up into its place takes its column's kind again.
    grille.definirTexte(0, 1, QStringLiteral("162"));
    EXPECT_EQ(grille.affiche(0, 1), QStringLiteral("162"));
}

} // namespace
