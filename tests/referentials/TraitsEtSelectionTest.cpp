#include "app/Registre.h"
#include "app/Reglages.h"
#include "referentials/ChoixTaxons.h"
#include "referentials/ModeleTraits.h"

#include "DonneesTaxons.h"

using namespace vyk;

namespace {

class TraitsEtSelectionTest : public test::BaseTaxons
{
  protected:
    ModeleTraits traits;

    FicheTrait trait(const QString &nom)
    {
        FicheTrait f = traits.nouvelleFiche();
        f.nom = nom;
        f.groupe = QStringLiteral("1");
        f.modalites = {{QStringLiteral("1"), QStringLiteral("Faible"), {}, QStringLiteral("F")},
                       {QStringLiteral("2"), QStringLiteral("Forte"),
                        QStringLiteral("Au-delà de 1 m/s"), QStringLiteral("FO")}};
        return f;
    }
};

TEST_P(TraitsEtSelectionTest, TraitAvecSesModalites)
{
    ASSERT_TRUE(traits.charger());
    FicheTrait f = traits.nouvelleFiche();
    EXPECT_EQ(f.code, QStringLiteral("1"));
    f.modalites = {{QStringLiteral("x"), QStringLiteral("A")}, {QStringLiteral("1"), {}}};
    EXPECT_FALSE(montrer(traits.enregistrer(f)));
    EXPECT_EQ(recus(), QStringList({"ERREUR: \nRenseignez le nom du trait.\nRenseignez le groupe "
                                    "du trait.\nLe code de la modalité "
                                    "de la ligne 1 doit être un nombre entier compris entre 1 et "
                                    "32767.\nRenseignez le nom de la "
                                    "modalité de la ligne 2."}));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM TRAITS_ECOBIO")).toInt(), 0);

    f = trait(QStringLiteral("Courant"));
    ASSERT_TRUE(montrer(traits.enregistrer(f)));
    EXPECT_EQ(recus(), QStringList({"AIDE: Enregistrement du trait terminé."}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeTrait, nom, groupe FROM TRAITS_ECOBIO")),
              QStringList({"1|Courant|1"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeModalite, nom, commentaires, abbreviation FROM "
                                    "TRAITS_ECOBIO_MODALITES ORDER BY "
                                    "codeModalite")),
              QStringList({"1|Faible||F", "2|Forte|Au-delà de 1 m/s|FO"}));
    EXPECT_EQ(traits.grille().lignes, QVector<QStringList>({{"1", "Courant", "1", "2"}}));
    const QVector<TraitDisponible> disponibles = traitsDisponibles();
    ASSERT_EQ(disponibles.size(), 1);
    EXPECT_EQ(disponibles[0].modalites[1].texte(), QStringLiteral("Forte [2]"));

    // A new trait may not reuse a code.
    FicheTrait double_ = trait(QStringLiteral("Autre"));
    double_.code = QStringLiteral("1");
    EXPECT_FALSE(montrer(traits.enregistrer(double_)));
    EXPECT_EQ(recus(), QStringList({"ERREUR: \nLe trait 1 existe déjà."}));
}

TEST_P(TraitsEtSelectionTest, SuppressionsDeModaliteEtDeTraitUtilises)
{
    FicheTrait f = trait(QStringLiteral("Courant"));
    ASSERT_TRUE(montrer(traits.enregistrer(f)));
    ASSERT_TRUE(traits.charger());
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO TRAITS_ECOBIO_TAXONS (codeTrait, "
                                        "codeModalite, codeTaxon) VALUES (1, 2, 'T1')")));
    recus();

    // An unused modality goes without a question.
    EXPECT_TRUE(montrer(traits.supprimerModalite(QStringLiteral("1"), QStringLiteral("1"),
                                                 QStringLiteral("Faible"))));
    EXPECT_EQ(recus(), QStringList({"AIDE: La modalité est supprimée."}));
    messages().repondre(BoutonNon);
    EXPECT_FALSE(montrer(traits.supprimerModalite(QStringLiteral("1"), QStringLiteral("2"),
                                                  QStringLiteral("Forte"))));
    EXPECT_EQ(recus(), QStringList({"QUESTION: Voulez vous supprimer la modalité Forte du trait "
                                    "car celle-ci est actuellement "
                                    "utilisée ?"}));
    messages().repondre(BoutonOui);
    EXPECT_TRUE(montrer(traits.supprimerModalite(QStringLiteral("1"), QStringLiteral("2"),
                                                 QStringLiteral("Forte"))));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM TRAITS_ECOBIO_MODALITES")).toInt(), 0);
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeTaxon, codeModalite FROM TRAITS_ECOBIO_TAXONS")),
              QStringList({"T1|"}));
    EXPECT_EQ(traits.grille().lignes[0][3], QStringLiteral("0"));
    recus();

    f = ModeleTraits::lireTrait(QStringLiteral("1"));
    messages().repondre(BoutonOui);
    messages().repondre(BoutonNon);
    EXPECT_FALSE(montrer(traits.supprimer(f)));
    EXPECT_EQ(recus(),
              QStringList({"QUESTION: Supprimer le trait Courant ?",
                           "QUESTION: Attention, ce trait est utilisée par certains taxons. Etes "
                           "vous sur de vouloir le "
                           "supprimer ainsi que sa référence dans les taxons concernés ?"}));
    messages().repondre(BoutonOui);
    messages().repondre(BoutonOui);
    EXPECT_TRUE(montrer(traits.supprimer(f)));
    EXPECT_EQ(recus().last(), QStringLiteral("AIDE: Le trait a été supprimé."));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM TRAITS_ECOBIO")).toInt(), 0);
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM TRAITS_ECOBIO_TAXONS")).toInt(), 0);
    EXPECT_EQ(traits.grille().nbLignes(), 0);
}

TEST_P(TraitsEtSelectionTest, RechercheDuSelecteurDeTaxons)
{
    taxon(QStringLiteral("10"), QStringLiteral("Baetidae"), QStringLiteral("1"),
          QStringLiteral("3"), QStringLiteral("10"));
    taxon(QStringLiteral("11"), QStringLiteral("Baetis"), QStringLiteral("1"), QStringLiteral("3"),
          QStringLiteral("14"), QStringLiteral("10"));
    taxon(QStringLiteral("12"), QStringLiteral("Baetis rhodani"), QStringLiteral("1"),
          QStringLiteral("3"), QStringLiteral("21"), QStringLiteral("11"));
    taxon(QStringLiteral("13"), QStringLiteral("Baetis muticus"), QStringLiteral("0"),
          QStringLiteral("3"), QStringLiteral("21"), QStringLiteral("11"));
    taxon(QStringLiteral("20"), QStringLiteral("Gammaridae"), QStringLiteral("1"),
          QStringLiteral("3"), QStringLiteral("10"));
    taxon(QStringLiteral("21"), QStringLiteral("Gammarus"), QStringLiteral("1"),
          QStringLiteral("NULL"), QStringLiteral("14"), QStringLiteral("20"));
    taxon(QStringLiteral("30"), QStringLiteral("O'Neil's taxon"), QStringLiteral("1"),
          QStringLiteral("0"));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES ('TAXONS.NIVEAUX', 10, 'Famille'), "
        "('TAXONS.NIVEAUX', 21, 'Espèce'), ('TAXONS.GROUPE', 21, 'Autre liste')")));

    SelectionTaxons s;
    EXPECT_FALSE(montrer(s.rechercher({QStringLiteral("3"), {}, QStringLiteral("  ")})));
    EXPECT_EQ(recus(), QStringList({"AIDE: Merci de renseigner au minimum le thème ainsi que le "
                                    "nom ou la famille avant de lancer "
                                    "la recherche"}));

    ASSERT_TRUE(
        montrer(s.rechercher({QStringLiteral("3"), {}, QStringLiteral("rhodani|muticus|2")})));
    QStringList codes;
    for (int i = 0; i < s.resultats().nbLignes(); ++i)
        codes << s.code(i);
    // The inactive taxon never appears; "2" finds the codes holding it.
    EXPECT_EQ(codes, QStringList({"12", "20"}));
    const int rhodani = codes.indexOf(QStringLiteral("12"));
    EXPECT_EQ(s.nomLatin(rhodani), QStringLiteral("Baetis rhodani"));
    EXPECT_EQ(s.resultats().lignes[rhodani].mid(
                  s.resultats().entetes.indexOf(QStringLiteral("Code Thème"))),
              QStringList({"3", "21", "Invertébrés benthiques", "Espèce"}));

    // The family takes every taxon below it, whatever its level.
    ASSERT_TRUE(montrer(s.rechercher({CODE_TOUS, QStringLiteral("10"), {}})));
    codes.clear();
    for (int i = 0; i < s.resultats().nbLignes(); ++i)
        codes << s.code(i);
    codes.sort();
    EXPECT_EQ(codes, QStringList({"10", "11", "12"}));
    EXPECT_EQ(SelectionTaxons::familles(QStringLiteral("3")).size(), 2);

    // Theme 0 is also the taxa without theme; quotes in the text are data.
    ASSERT_TRUE(
        montrer(s.rechercher({QStringLiteral("0"), {}, QStringLiteral("o'neil|gammarus")})));
    codes.clear();
    for (int i = 0; i < s.resultats().nbLignes(); ++i)
        codes << s.code(i);
    codes.sort();
    EXPECT_EQ(codes, QStringList({"21", "30"}));

    ecrireRegistre(reglage::omnidia, QStringLiteral("OUI"));
    ASSERT_TRUE(
        executer(QStringLiteral("UPDATE TAXONS SET codeOmnidia='BRHO' WHERE codeTaxon='12'")));
    ASSERT_TRUE(montrer(s.rechercher({CODE_TOUS, {}, QStringLiteral("BRH")})));
    ASSERT_EQ(s.resultats().nbLignes(), 1);
    EXPECT_EQ(s.resultats().entetes.mid(0, 3), QStringList({"Code", "Omnidia", "Nom Latin"}));
    EXPECT_EQ(s.codeOmnidia(0), QStringLiteral("BRHO"));
    EXPECT_EQ(s.nomLatin(0), QStringLiteral("Baetis rhodani"));
}

VYK_SUR_LES_DEUX_MOTEURS(TraitsEtSelectionTest);

} // namespace
