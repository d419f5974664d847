#include "search/Selections.h"

#include "db/BaseDonnees.h"

#include "support/BaseTest.h"
#include "support/CompteRenduTest.h"
#include "support/TablesCatalogue.h"

using namespace vyk;
using vyk::test::BaseTest;
using vyk::test::vu;

namespace {

TEST(CodeDeCellule, LeCodeEstEntreLesDerniersCrochets)
{
    const std::pair<const char *, const char *> cas[] = {
        {"Nitrates [1340]", "1340"},
        {"1340", "1340"},
        {" 1340 ", "1340"},
        {"Azote Kjeldahl [NKJ] [1319]", "1319"},
        {"Sans fin [1340", "1340"},
        {"[]", ""},
        {"", ""},
    };
    for (const auto &[texte, code] : cas)
        EXPECT_EQ(codeDeCellule(QString::fromUtf8(texte)), QString::fromUtf8(code)) << texte;
}

class SelectionsTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesCatalogue(
            {"ANALYSES_PARAMETRES_SELECTIONS_TITRE", "ANALYSES_PARAMETRES_SELECTIONS"});
    }
    QStringList titres()
    {
        return lignes("SELECT TypeListe, Code, Nom, codeParent, defaut FROM "
                      "ANALYSES_PARAMETRES_SELECTIONS_TITRE ORDER BY TypeListe, Code");
    }
    QStringList rangs()
    {
        return lignes("SELECT TypeListe, Code, num, CodeParametre, CodeUnite FROM "
                      "ANALYSES_PARAMETRES_SELECTIONS ORDER BY TypeListe, Code, num");
    }
    bool enregistrer(int type, const QString &code, const QString &parent = {},
                     QVector<LigneGrilleSelection> lignes = {{"1340", "173"}}, bool defaut = false)
    {
        return enregistrerSelection({type, code, "Liste " + code, parent, defaut}, lignes).ok;
    }
    static QStringList codes(const QVector<TitreSelection> &t)
    {
        QStringList c;
        for (const TitreSelection &s : t)
            c << QString::number(s.typeListe) + u'/' + s.code + u'/' + s.codeParent + u'/' +
                     s.nomParent + (s.defaut ? "/X" : "");
        return c;
    }
};

TEST_P(SelectionsTest, EnregistrerPuisRemplacerUneListeParCodeEtType)
{
    const CompteRendu fait =
        enregistrerSelection({0, " MALISTE ", "Ma liste", "", false},
                             {{"Nitrates [1340]", "milligramme par litre [173]"},
                              {"", ""},
                              {"1335", "169"},
                              {"Azote Kjeldahl [NKJ] [1319]", ""}});
    ASSERT_TRUE(fait.ok);
    EXPECT_EQ(vu(fait), QStringLiteral("AIDE: Enregistrement de la sélection terminé."));
    EXPECT_TRUE(recus().isEmpty());
    EXPECT_EQ(titres(), QStringList({"0|MALISTE|Ma liste||"}));
    EXPECT_EQ(rangs(),
              QStringList({"0|MALISTE|1|1340|173", "0|MALISTE|2|1335|169", "0|MALISTE|3|1319|"}));
    // A taxa list of the same code is another list; its units are not kept.
    ASSERT_TRUE(enregistrer(1, "MALISTE", {}, {{"Baetis [363]", "173"}}));
    // Saved again with one line: the list is replaced whole, the taxa list is left alone.
    ASSERT_TRUE(enregistrerSelection({0, "MALISTE", "Ma liste modifiée", "", false},
                                     {{"", ""}, {"1319", "168"}}));
    EXPECT_EQ(titres(),
              QStringList({"0|MALISTE|Ma liste modifiée||", "1|MALISTE|Liste MALISTE||"}));
    EXPECT_EQ(rangs(), QStringList({"0|MALISTE|1|1319|168", "1|MALISTE|1|363|"}));
    const QVector<MembreSelection> m = membresSelection("MALISTE", 0);
    ASSERT_EQ(m.size(), 1);
    EXPECT_EQ(m[0].num, 1);
    EXPECT_EQ(m[0].codeParametre, "1319");
    EXPECT_EQ(m[0].codeUnite, "168");
    // A list without rows is a title alone and opens empty.
    ASSERT_TRUE(enregistrer(0, "VIDE", {}, {}));
    EXPECT_TRUE(membresSelection("VIDE", 0).isEmpty());
    ASSERT_TRUE(titreSelection("VIDE", 0).has_value());
    EXPECT_EQ(titreSelection("VIDE", 0)->nom, "Liste VIDE");
    EXPECT_FALSE(titreSelection("VIDE", 1).has_value());
}

TEST_P(SelectionsTest, UnFormulaireFautifNEcritRien)
{
    ASSERT_TRUE(enregistrer(0, "GARDEE"));
    recus();
    const QStringList avantT = titres(), avantR = rangs();
    QStringList refus;
    const auto refuse = [&refus](const FicheSelection &f, const QVector<LigneGrilleSelection> &l) {
        const CompteRendu r = enregistrerSelection(f, l);
        EXPECT_FALSE(r.ok);
        refus << vu(r);
    };
    refuse({-1, "", "", "", false}, {});
    refuse({0, " ", "", "", false}, {});
    refuse({0, "GARDEE", " ", "", false}, {});
    refuse({0, "CODEBEAUCOUPTROPLONG", "L", "", false}, {});
    // The second kept line holds a code too long: the list keeps its old rows.
    refuse({0, "GARDEE", "L", "", false}, {{"1340", ""}, {"", ""}, {"Trop [123456]", ""}});
    refuse({0, "GARDEE", "L", "", false}, {{"1340", "123456"}});
    refuse({0, "GARDEE", "L", "INCONNUE", false}, {});
    EXPECT_TRUE(recus().isEmpty());
    EXPECT_EQ(refus,
              QStringList({"ERREUR: Le type de liste n'est pas renseigné.",
                           "ERREUR: Le code de la sélection n'est pas renseigné.",
                           "ERREUR: Le libellé de la sélection n'est pas renseigné.",
                           "ERREUR: Le code de la sélection ne doit pas dépasser 17 caractères.",
                           "ERREUR: Le code 123456 dépasse 5 caractères pour la ligne 2.",
                           "ERREUR: Le code 123456 dépasse 5 caractères pour la ligne 1.",
                           "ERREUR: La sélection parente n'est pas une liste principale de ce "
                           "type."}));
    EXPECT_EQ(titres(), avantT);
    EXPECT_EQ(rangs(), avantR);
}

TEST_P(SelectionsTest, UnSeulDefautParType)
{
    ASSERT_TRUE(enregistrer(0, "A", {}, {}, true));
    ASSERT_TRUE(enregistrer(1, "T", {}, {}, true));
    ASSERT_TRUE(enregistrer(0, "B", {}, {}, true));
    EXPECT_EQ(titres(), QStringList({"0|A|Liste A||", "0|B|Liste B||X", "1|T|Liste T||X"}));
    ASSERT_TRUE(selectionParDefaut(0).has_value());
    EXPECT_EQ(selectionParDefaut(0)->code, "B");
    EXPECT_EQ(selectionParDefaut(1)->code, "T");
    EXPECT_FALSE(selectionParDefaut(2).has_value());
}

TEST_P(SelectionsTest, ParentsSousListesEtAffichageParDomaine)
{
    ASSERT_TRUE(enregistrer(0, "P"));
    ASSERT_TRUE(enregistrer(0, "S1", "P"));
    ASSERT_TRUE(enregistrer(0, "S2", "P"));
    ASSERT_TRUE(enregistrer(1, "P"));
    ASSERT_TRUE(enregistrer(4, "E"));
    // A taxa list may not take a parameter list as parent.
    ASSERT_TRUE(executer("DELETE FROM ANALYSES_PARAMETRES_SELECTIONS_TITRE WHERE TypeListe=1"));
    EXPECT_FALSE(enregistrer(1, "T", "P"));
    ASSERT_TRUE(enregistrer(1, "P"));
    ASSERT_TRUE(enregistrer(1, "T", "P"));
    EXPECT_EQ(codes(parentsPossibles(0, "S1")), QStringList({"0/P//"}));
    EXPECT_EQ(codes(parentsPossibles(0, "P")), QStringList());
    EXPECT_EQ(codesAvecSousListes("P", 0), QStringList({"P", "S1", "S2"}));
    EXPECT_EQ(codesAvecSousListes("P", 1), QStringList({"P", "T"}));
    EXPECT_EQ(membresSelections({"P", "S1"}, 0).size(), 2);
    EXPECT_EQ(codes(titresSelections(true, true)),
              QStringList({"0/P//", "0/S1/P/Liste P", "0/S2/P/Liste P", "1/P//", "1/T/P/Liste P",
                           "4/E//"}));
    EXPECT_EQ(codes(titresSelections(false, false)), QStringList({"4/E//"}));
    EXPECT_EQ(codes(titresSelections(false, true)).size(), 3);
}

TEST_P(SelectionsTest, SupprimerSansOuAvecSesSousListes)
{
    for (const char *code : {"P", "S1", "S2"})
        ASSERT_TRUE(enregistrer(0, code, QString(code) == "P" ? "" : "P"));
    ASSERT_TRUE(enregistrer(1, "P"));
    ASSERT_TRUE(enregistrer(1, "T", "P"));
    recus();
    test::Reponses non;
    const CompteRendu refusee = supprimerSelection(0, "P", non.fonction());
    EXPECT_FALSE(refusee.ok);
    EXPECT_EQ(vu(refusee), QString());
    EXPECT_EQ(non.questions, QStringList({"Etes vous sur de vouloir supprimer cette sélection ?"}));
    EXPECT_EQ(titres().size(), 5);

    // Yes, then No to the sub-lists: they become top-level lists of their type.
    int question = 0;
    QStringList posees;
    const Confirmation ouiPuisNon = [&](const QString &q) {
        posees << q;
        return question++ == 0;
    };
    const CompteRendu supprimee = supprimerSelection(0, "P", ouiPuisNon);
    ASSERT_TRUE(supprimee.ok);
    EXPECT_EQ(posees, QStringList({"Etes vous sur de vouloir supprimer cette sélection ?",
                                   "Voulez vous supprimer les sous groupes de cette liste ?"}));
    EXPECT_EQ(vu(supprimee), QStringLiteral("AIDE: Suppression de la sélection terminée."));
    EXPECT_TRUE(recus().isEmpty());
    EXPECT_EQ(titres(), QStringList({"0|S1|Liste S1||", "0|S2|Liste S2||", "1|P|Liste P||",
                                     "1|T|Liste T|P|"}));
    EXPECT_EQ(rangs(),
              QStringList({"0|S1|1|1340|173", "0|S2|1|1340|173", "1|P|1|1340|", "1|T|1|1340|"}));

    // Yes to both: the taxa list and its sub-list go, the parameter lists stay.
    test::Reponses oui;
    oui.reponse = true;
    ASSERT_TRUE(supprimerSelection(1, "P", oui.fonction()));
    EXPECT_EQ(oui.questions.size(), 2);
    EXPECT_EQ(titres(), QStringList({"0|S1|Liste S1||", "0|S2|Liste S2||"}));
    EXPECT_EQ(rangs(), QStringList({"0|S1|1|1340|173", "0|S2|1|1340|173"}));
    // Without sub-lists the second question is not asked.
    test::Reponses seule;
    seule.reponse = true;
    ASSERT_TRUE(supprimerSelection(0, "S1", seule.fonction()));
    EXPECT_EQ(seule.questions.size(), 1);
    EXPECT_EQ(titres(), QStringList({"0|S2|Liste S2||"}));
}

VYK_SUR_LES_DEUX_MOTEURS(SelectionsTest);

} // namespace
