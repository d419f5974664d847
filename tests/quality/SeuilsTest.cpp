#include "quality/Seuils.h"
#include "db/BaseDonnees.h"
#include "schema/DonneesInitiales.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

QStringList classes(const QStringList &valeurs, const QVector<double> &bornes)
{
    QStringList r;
    for (const QString &v : valeurs)
        r << getClasse(v, bornes);
    return r;
}

TEST(Classes, UneValeurEgaleAUneBorneVaALaClasseQueLaBorneFermeParLeHaut)
{
    EXPECT_EQ(classes({"10", "10.0001", "100", "150", "-3", "25"}, {10, 25, 50, 100}),
              QStringList({"1", "2", "4", "5", "1", "2"}));
    // Decreasing bounds close their classes from below.
    EXPECT_EQ(classes({"9", "8", "3.5", "3", "2", "6"}, {8, 6, 4, 3}),
              QStringList({"1", "2", "4", "5", "5", "3"}));
    // One or two bounds are always increasing.
    EXPECT_EQ(classes({"7", "9", "6"}, {8, 6}), QStringList({"1", "3", "1"}));
    EXPECT_EQ(classes({"7", "9"}, {8}), QStringList({"1", "2"}));
    // A decimal comma is read like a point.
    EXPECT_EQ(getClasse(QStringLiteral("10,0001"), {10, 25, 50, 100}), QStringLiteral("2"));
}

TEST(Classes, CeQuiNeSeClassePasDonneZero)
{
    EXPECT_EQ(classes({"", "  ", "abc"}, {10, 25}), QStringList({"0", "0", "0"}));
    EXPECT_EQ(getClasse(QStringLiteral("5"), {}), QStringLiteral("0"));
    // Neither increasing nor decreasing: no confident class for any value.
    EXPECT_EQ(classes({"0", "4", "100"}, {3, 5, 1}), QStringList({"0", "0", "0"}));
    EXPECT_EQ(classes({"0", "30"}, {20, 5, 100}), QStringList({"0", "0"}));
    EXPECT_FALSE(bornesMonotones({3, 5, 1}));
    EXPECT_TRUE(bornesMonotones({8, 6, 6, 3}));
    EXPECT_TRUE(bornesMonotones({8, 6}));
}

TEST(Classes, LaLigneDuTypeDeStationPasseAvantLaListe)
{
    const QVector<LigneTypeSeuils> types = {
        {{1, 2, 3, 4}, "1", "2", ""},      // every taxon, river of national type 2
        {{20, 15, 10, 5}, "1", "2", "T1"}, // the taxon itself: searched first
        {{100, 200}, "2", "5", ""},
    };
    // The taxon's own row, decreasing.
    EXPECT_EQ(getClasse("16", {1000}, &types, "1", "2"), "2");
    EXPECT_EQ(getClasse("20", {1000}, &types, "1", "2"), "2");
    // At or below every decreasing bound of a type row: no class.
    EXPECT_EQ(getClasse("5", {1000}, &types, "1", "2"), "");
    EXPECT_EQ(getClasse("150", {1000}, &types, "2", "5"), "2");
    // No row for the station's types: the bound list.
    EXPECT_EQ(getClasse("150", {1000}, &types, "2", "1"), "1");
    EXPECT_EQ(getClasse("", {1000}, &types, "1", "2"), "0");
}

TEST(Classes, LegendesSelonLOrientation)
{
    EXPECT_EQ(legendesClasses({10, 25.5, 50}),
              QStringList({"<= 10", "> 10 et <= 25.5", "> 25.5 et <= 50", "> 50"}));
    EXPECT_EQ(legendesClasses({8, 6, 4}),
              QStringList({"> 8", "<= 8 et > 6", "<= 6 et > 4", "<= 4"}));
    EXPECT_TRUE(legendesClasses({}).isEmpty());
}

TEST(Classes, GenresDeSeuils)
{
    EXPECT_EQ(typeListeDuChamp("SEUILS"), "0");
    EXPECT_EQ(typeListeDuChamp("seuils.taxons"), "1");
    EXPECT_EQ(typeListeDuChamp("SEUILS.RESULTATS"), "2");
    EXPECT_EQ(typeListeDuChamp("SEUILS.ETATS"), "4");
    EXPECT_EQ(typeListeDuChamp("SEUILS.AUTRES"), "3");
    EXPECT_EQ(typeListeDuChamp("1"), "3");
    ASSERT_NE(genreSeuils("2"), nullptr);
    EXPECT_EQ(genreSeuils("2")->libelle, "Indices");
}

class ChargementSeuilsTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesCatalogue({"ANALYSES_SEUILS", "JOURNAL"});
        ASSERT_EQ(semerSeuils(), 14);
    }
    void inserer(const QString &valeurs)
    {
        ASSERT_TRUE(executer("INSERT INTO ANALYSES_SEUILS (typeSeuil, TypeListe, CodeParametre, "
                             "CodeUnite, Seuil1, Seuil2, Seuil3, Seuil4, TypeStation, TypeFr) "
                             "VALUES (" +
                             valeurs + ")"))
            << qPrintable(bd().derniereErreur());
    }
    QString classe(const SeuilsCharges &s, const QString &v, const QString &ts = {},
                   const QString &tf = {})
    {
        return getClasse(v, s.bornes, s.types.isEmpty() ? nullptr : &s.types, ts, tf);
    }
};

TEST_P(ChargementSeuilsTest, ParametreDuJeuPuisLigneParDefaut)
{
    auto s = chargerSeuils("1", "0", "1107", "133");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->bornes, QVector<double>({0.05, 0.1, 2}));
    EXPECT_EQ(s->legendes, QStringList({"<= 0.05", "> 0.05 et <= 0.1", "> 0.1 et <= 2", "> 2"}));
    EXPECT_FALSE(s->incoherent);
    EXPECT_EQ(classe(*s, "0.1"), "2");
    // Another unit is another element: without a default row, nothing to class with.
    s = chargerSeuils("1", "0", "1107", "162");
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->bornes.isEmpty());
    EXPECT_EQ(classe(*s, "0.1"), "0");
    // The set's default row serves every parameter without its own row.
    inserer("1, '0', NULL, NULL, 10, 25, 50, 100, NULL, NULL");
    s = chargerSeuils("1", "0", "9999", "162");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->bornes, QVector<double>({10, 25, 50, 100}));
    EXPECT_EQ(classe(*s, "10.0001"), "2");
    // Another set does not see it.
    s = chargerSeuils("2", "0", "9999", "162");
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->bornes.isEmpty());
    EXPECT_TRUE(lignes("SELECT Titre FROM JOURNAL").isEmpty());
}

TEST_P(ChargementSeuilsTest, LesLignesSemeesNonMonotonesNeClassentRienEtLeJournalLeDit)
{
    for (const char *parametre : {"1316", "1340"}) {
        const QString unite = QString::fromLatin1(parametre) == "1316" ? "175" : "173";
        const auto s = chargerSeuils("1", "0", parametre, unite);
        ASSERT_TRUE(s);
        EXPECT_TRUE(s->incoherent) << parametre;
        EXPECT_EQ(classe(*s, "4"), "0") << parametre;
    }
    EXPECT_EQ(lignes("SELECT Titre, Description FROM JOURNAL ORDER BY Description"),
              QStringList({"Seuils non monotones : valeurs non classées|Seuil 1, élément 1316 : "
                           "3, 5, 1",
                           "Seuils non monotones : valeurs non classées|Seuil 1, élément 1340 : "
                           "20, 5, 100"}));
}

TEST_P(ChargementSeuilsTest, LaLigneDuTypeDeStationPasseAvantLaLigneGenerale)
{
    inserer("5, '1', 'T1', NULL, 10, 20, 30, NULL, NULL, NULL"); // the taxon, every type
    inserer("5, '1', NULL, NULL, 1, 2, 3, 4, NULL, NULL");       // the set's default
    inserer("5, '1', 'T1', NULL, 100, 200, 300, NULL, '1', 4");  // the taxon, rivers of type 4
    inserer("5, '1', NULL, NULL, 50, 60, NULL, NULL, '2', 1");   // every taxon, lakes of type 1
    inserer("5, '2', 'T1', NULL, 7, 8, 9, NULL, '1', 4");        // an index: another kind
    auto s = chargerSeuils("5", "1", "T1");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->bornes, QVector<double>({10, 20, 30}));
    ASSERT_EQ(s->types.size(), 2);
    EXPECT_EQ(classe(*s, "150", "1", "4"), "2");
    EXPECT_EQ(classe(*s, "150", "1", "5"), "4");
    EXPECT_EQ(classe(*s, "55", "2", "1"), "2");
    // A taxon without its own rows: the default row and the rows for every taxon.
    s = chargerSeuils("5", "1", "T2");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->bornes, QVector<double>({1, 2, 3, 4}));
    EXPECT_EQ(classe(*s, "150", "1", "4"), "5");
    EXPECT_EQ(classe(*s, "55", "2", "1"), "2");
    // Indices read their own kind.
    s = chargerSeuils("5", "2", "T1");
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->bornes.isEmpty());
    EXPECT_EQ(classe(*s, "8", "1", "4"), "2");
}

TEST_P(ChargementSeuilsTest, UnCodeAvecApostropheNeCassePasLaRequete)
{
    const auto s = chargerSeuils("1", "1", "T'1");
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->bornes.isEmpty());
    EXPECT_FALSE(chargerSeuils("x", "0", "1107", "133"));
}

VYK_SUR_LES_DEUX_MOTEURS(ChargementSeuilsTest);

} // namespace
