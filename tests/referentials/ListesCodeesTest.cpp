#include "referentials/ListesCodees.h"
#include "referentials/ClesListes.h"

#include "db/Sql.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/Affichage.h"
#include "support/BaseTest.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

TEST(ListesCodees, TexteDesEntreesEtCodeRelu)
{
    EXPECT_EQ(texteEntree(QStringLiteral("Bon"), QStringLiteral("4")), QStringLiteral("Bon [4]"));
    EXPECT_EQ(texteEntree(QStringLiteral("Bon"), QStringLiteral("4"), 8),
              QStringLiteral("Bon      [4]"));
    EXPECT_EQ(texteEntreeVide(), QStringLiteral("      []"));
    EXPECT_EQ((EntreeCodee{CODE_TOUS, QStringLiteral("Tous les éléments")}.texte()), TEXTE_TOUS);
    EXPECT_EQ((EntreeCodee{QStringLiteral("12"), QStringLiteral("Fils"), 1}.texte(12)),
              QStringLiteral("    Fils     [12]"));

    // The code is what stands between the last brackets, whatever the label holds.
    const struct
    {
        const char *texte, *code, *libelle;
    } cas[] = {
        {"Bon [4]", "4", "Bon"},
        {"Bon      [4]", "4", "Bon"},
        {"Bon[4]", "4", "Bon"},
        {"Classe [A] retenue [12]", "12", "Classe [A] retenue"},
        {"      []", "", ""},
        {"Tous les éléments [*]", "*", "Tous les éléments"},
        {"    Fils [ 3 ]", "3", "    Fils"},
        {"ANALYSES.CODEREMARQUE", "ANALYSES.CODEREMARQUE", "ANALYSES.CODEREMARQUE"},
        {"Ouvert [sans fin", "Ouvert [sans fin", "Ouvert [sans fin"},
    };
    for (const auto &c : cas) {
        EXPECT_EQ(codeEntree(QString::fromUtf8(c.texte)), QString::fromUtf8(c.code)) << c.texte;
        EXPECT_EQ(libelleEntree(QString::fromUtf8(c.texte)), QString::fromUtf8(c.libelle))
            << c.texte;
    }
    EXPECT_EQ(codePourLike(codeEntree(TEXTE_TOUS)), QStringLiteral("%"));
    EXPECT_EQ(codePourLike(QStringLiteral("3")), QStringLiteral("3"));
}

TEST(ListesCodees, HierarchieEnfantsApresLeurParentEtOrdreNumerique)
{
    const EntreesCodees r = trierHierarchie({
        {QStringLiteral("11"), QStringLiteral("SEQ-Eaux douce"), {}},
        {QStringLiteral("12"), QStringLiteral("Classe 2 de 1"), QStringLiteral("1")},
        {QStringLiteral("2"), QStringLiteral("Seuil AEP"), {}},
        {QStringLiteral("1"), QStringLiteral("SEQ-Eaux souterraines"), {}},
        {QStringLiteral("4"), QStringLiteral("Classe 1 de 1"), QStringLiteral("1")},
        {QStringLiteral("13"), QStringLiteral("Orphelin de 3"), QStringLiteral("3")},
        {QStringLiteral("20"), QStringLiteral("Fils de 11"), QStringLiteral("11")},
    });
    QStringList textes;
    for (const EntreeCodee &e : r)
        textes << e.texte();
    EXPECT_EQ(textes,
              QStringList({"SEQ-Eaux souterraines [1]", "    Classe 1 de 1 [4]",
                           "    Classe 2 de 1 [12]", "Seuil AEP [2]", "    Orphelin de 3 [13]",
                           "SEQ-Eaux douce [11]", "    Fils de 11 [20]"}));
    EXPECT_EQ(largeurEntrees(r), 22);
}

TEST(ListesCodees, StatutsDesReferentiels)
{
    QStringList textes;
    for (const EntreeCodee &e : entreesStatut())
        textes << e.texte();
    EXPECT_EQ(textes,
              QStringList({"Proposition [0]", "Provisoire [1]", "Validé [2]", "Code gelé [3]"}));
    EXPECT_EQ(libelleStatut(2), QStringLiteral("Validé"));
    EXPECT_EQ(libelleStatut(QVariant()), QString());
    EXPECT_EQ(libelleStatut(7), QString());
    const struct
    {
        const char *mot;
        int statut;
    } mots[] = {{"Proposition", 0}, {"provisoire", 1}, {"Validé", 2}, {"VALIDE", 2},
                {"Gelé", 3},        {"Code gelé", 3},  {"2", 2},      {"9", -1},
                {"", -1},           {"inconnu", -1}};
    for (const auto &m : mots)
        EXPECT_EQ(statutDepuisTexte(QString::fromUtf8(m.mot)), m.statut) << m.mot;
}

class ListesCodeesBase : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(mettreAJourBase(versionProgramme()));
    }
};

// Every list a new database holds or follows is offered under a French name, the key after it;
// a key it does not know keeps its own text.
TEST_P(ListesCodeesBase, ChaqueCleDeListeAUnNomFrancais)
{
    QStringList sansNom;
    for (const QString &cle :
         lignes(QStringLiteral("SELECT DISTINCT Champ FROM CODES_SANDRE UNION SELECT champ FROM "
                               "CODES_SANDRE_REFERENTIEL")))
        if (libelleCleListe(cle).isEmpty()) sansNom << cle;
    EXPECT_EQ(sansNom, QStringList());
    EXPECT_EQ(libelleCleListe(QStringLiteral(" prelevements.facies ")),
              QStringLiteral("Prélèvements : faciès"));
    EXPECT_EQ(libelleCleListe(QStringLiteral("PARAMETRE.1340")),
              QStringLiteral("Valeurs du paramètre 1340"));
    EXPECT_EQ(libelleCleListe(QStringLiteral("PARAMETRE.")), QString());
    EXPECT_EQ(libelleCleListe(QStringLiteral("SITE.PROPRE")), QString());
    QStringList textes;
    for (const EntreeCodee &e :
         entreesClesListes({QStringLiteral("TAXONS.THEME"), QStringLiteral("SITE.PROPRE")}))
        textes << e.texte();
    EXPECT_EQ(textes, QStringList({"Taxons : thème [TAXONS.THEME]", "SITE.PROPRE [SITE.PROPRE]"}));
}

TEST_P(ListesCodeesBase, RemplissageLibellesEtHierarchieDepuisLaBase)
{
    QStringList textes;
    for (const EntreeCodee &e : entreesListe(QStringLiteral("ANALYSES.LIEU")))
        textes << e.texte();
    EXPECT_EQ(textes, QStringList({"In situ [1]", "Laboratoire [2]", "Localisation inconnue [0]"}));
    textes.clear();
    for (const EntreeCodee &e : entreesListe(QStringLiteral("ANALYSES.LIEU"), OrdreEntrees::Code))
        textes << e.code;
    EXPECT_EQ(textes, QStringList({"0", "1", "2"}));
    EXPECT_TRUE(entreesListe(QStringLiteral("ABSENTE")).isEmpty());

    EXPECT_EQ(libelleCode(QStringLiteral("ANALYSES.CODEREMARQUE"), 10),
              QStringLiteral("Résultat < au seuil de quantification"));
    EXPECT_EQ(libelleCode(QStringLiteral("ANALYSES.CODEREMARQUE"), QStringLiteral("2")),
              QStringLiteral("< seuil de détection"));
    EXPECT_EQ(libelleCode(QStringLiteral("ANALYSES.CODEREMARQUE"), 99), QString());
    EXPECT_EQ(libelleCode(QStringLiteral("ANALYSES.CODEREMARQUE"), QStringLiteral("x'; DROP")),
              QString());
    EXPECT_EQ(libellesListe(QStringLiteral("ANALYSES.CONFIANCE")).value(QStringLiteral("1")),
              QStringLiteral("Fort"));

    // A threshold group under list 1, and a list of another kind.
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO CODES_SANDRE (Champ, Code, Libelle, "
                                        "codeReference) VALUES ('SEUILS', 21, 'Groupe', '1')")));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES ('SEUILS.TAXONS', 1, 'Taxons')")));
    textes.clear();
    for (const EntreeCodee &e : entreesHierarchiques(QStringLiteral("SEUILS")))
        textes << e.texte();
    EXPECT_EQ(textes, QStringList({"SEQ-Eaux souterraines [1]", "    Groupe [21]", "Seuil AEP [2]",
                                   "Seuil DCE [3]", "SEQ-Eaux douce [11]"}));
    EXPECT_EQ(entreesHierarchiques(QStringLiteral("SEUILS%")).size(), 6);
    // The SQL sort key reads on both engines.
    EXPECT_EQ(
        lignes(QStringLiteral("SELECT ") + cleTriHierarchique() +
               QStringLiteral(
                   " FROM CODES_SANDRE WHERE Champ='SEUILS' AND Code IN (2, 21) ORDER BY Code")),
        QStringList({"2_", "1_21"}));
}

VYK_SUR_LES_DEUX_MOTEURS(ListesCodeesBase);

} // namespace
