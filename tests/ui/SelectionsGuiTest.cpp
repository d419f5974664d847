#include "db/BaseDonnees.h"
#include "ui/search/ImportationSelectionParametres.h"
#include "ui/search/ListeSelections.h"
#include "ui/widgets/GrilleDonnees.h"

#include "support/EcranTest.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>

using namespace vyk;
using namespace vyk::test;

namespace {

class SelectionsGuiTest : public EcranTest
{
  protected:
    void SetUp() override
    {
        EcranTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        for (const char *sql :
             {"DELETE FROM ANALYSES_PARAMETRES_SELECTIONS",
              "DELETE FROM ANALYSES_PARAMETRES_SELECTIONS_TITRE",
              "INSERT INTO ANALYSES_PARAMETRES (Code, Nom, Actif, Type) VALUES ('99990', "
              "'Paramètre d''essai', '1', '0')",
              "INSERT INTO ANALYSES_UNITES (Code, Nom, Actif) VALUES ('9999', 'Unité d''essai', "
              "'1')"})
            ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
    }
    QStringList rangs()
    {
        return lignes("SELECT TypeListe, Code, num, CodeParametre, CodeUnite FROM "
                      "ANALYSES_PARAMETRES_SELECTIONS ORDER BY TypeListe, Code, num");
    }
};

TEST_P(SelectionsGuiTest, SaisieEnregistreeRouverteEtSupprimee)
{
    ListeSelections ecran;
    ecran.CmdEnregistrer->click();
    EXPECT_EQ(recus(), QStringList({"ERREUR: Le type de liste n'est pas renseigné."}));
    ASSERT_TRUE(ecran.CboType->selectionnerCode("4"));
    EXPECT_EQ(ecran.SprParametres->colonnes().first().titre, "Etat");
    ASSERT_TRUE(ecran.CboType->selectionnerCode("1"));
    EXPECT_EQ(ecran.SprParametres->columnCount(), 1);
    ASSERT_TRUE(ecran.CboType->selectionnerCode("0"));
    ASSERT_EQ(ecran.SprParametres->columnCount(), 2);
    EXPECT_EQ(ecran.SprParametres->colonnes().first().titre, "Paramètre");
    ecran.TxtCode->setText("MA");
    ecran.TxtLibelle->setText("Ma liste");
    ecran.ChkDefaut->setChecked(true);
    ecran.CmdInserer->click();
    saisir(ecran.SprParametres, 0, 0, "99990");
    saisir(ecran.SprParametres, 0, 1, "9999");
    ecran.CmdInserer->click(); // left empty: not saved
    ecran.CmdEnregistrer->click();
    EXPECT_EQ(recus(), QStringList({"AIDE: Enregistrement de la sélection terminé."}));
    EXPECT_EQ(rangs(), QStringList({"0|MA|1|99990|9999"}));
    ASSERT_EQ(ecran.SprListes->nbLignes(), 1);
    EXPECT_EQ(ecran.SprListes->ligne(0),
              QStringList({"Paramètres physico-chimiques", "MA", "Ma liste", "0", "", "", "X"}));

    ecran.nouvelle();
    EXPECT_EQ(ecran.TxtCode->text(), "");
    EXPECT_EQ(ecran.SprParametres->rowCount(), 0);
    ecran.SprListes->selectionnerLigne(0);
    EXPECT_EQ(ecran.TxtLibelle->text(), "Ma liste");
    EXPECT_TRUE(ecran.ChkDefaut->isChecked());
    ASSERT_EQ(ecran.SprParametres->rowCount(), 1);
    EXPECT_EQ(ecran.SprParametres->texte(0, 0), "99990");
    EXPECT_EQ(ecran.SprParametres->affiche(0, 0), "Paramètre d'essai [99990]");

    messages().repondre(BoutonOui);
    ecran.CmdSupprimer->click();
    EXPECT_EQ(recus(), QStringList({"QUESTION: Etes vous sur de vouloir supprimer cette "
                                    "sélection ?",
                                    "AIDE: Suppression de la sélection terminée."}));
    EXPECT_TRUE(rangs().isEmpty());
    EXPECT_EQ(ecran.SprListes->nbLignes(), 0);
    EXPECT_EQ(ecran.TxtCode->text(), "");
}

TEST_P(SelectionsGuiTest, ImportDUnFichierEtListesParDefaut)
{
    ImportationSelectionParametres dialogue;
    EXPECT_FALSE(dialogue.choisirFichier(chemin("absent.csv")));
    EXPECT_FALSE(dialogue.CmdDemarrer->isEnabled());
    recus();
    QFile f(chemin("listes.csv"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Code parametre;Code unité;Code sélection;Libellé sélection\n"
            "99990;9999;ESSAI;Essai\n");
    f.close();
    ASSERT_TRUE(dialogue.choisirFichier(f.fileName()));
    EXPECT_EQ(dialogue.SprApercu->ligne(0),
              QStringList({"99990", "9999", "ESSAI", "Essai", "", ""}));
    dialogue.CmdDemarrer->click();
    EXPECT_EQ(recus(), QStringList({"AIDE: 1 ligne(s) importée(s) dans 1 sélection(s)."}));
    EXPECT_EQ(rangs(), QStringList({"0|ESSAI|1|99990|9999"}));
    EXPECT_FALSE(dialogue.CmdDemarrer->isEnabled());

    dialogue.CmdDefauts->click(); // No: nothing
    EXPECT_EQ(recus(), QStringList({"QUESTION: Voulez créer les listes par défaut ?"}));
    EXPECT_EQ(rangs().size(), 1);
    messages().repondre(BoutonOui);
    dialogue.CmdDefauts->click();
    EXPECT_EQ(recus(), QStringList({"QUESTION: Voulez créer les listes par défaut ?",
                                    "INFO: 11 liste(s) par défaut créée(s)"}));
    EXPECT_EQ(rangs().size(), 20);
}

VYK_SUR_LES_DEUX_MOTEURS(SelectionsGuiTest);

} // namespace
