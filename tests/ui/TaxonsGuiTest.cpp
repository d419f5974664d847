#include "db/Session.h"
#include "monitoring/ListeTaxonsOperation.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"
#include "ui/referentials/ImportationTaxons.h"
#include "ui/referentials/ListeTaxons.h"
#include "ui/referentials/ListeTraits.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/GrilleDonnees.h"
#include "ui/widgets/GrilleSaisie.h"

#include "support/EcranTest.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

using namespace vyk;
using namespace vyk::test;

namespace {

class TaxonsGuiTest : public EcranTest
{
};

TEST_P(TaxonsGuiTest, ImporterSaisirTraitsEtSupprimer)
{
    // Import of the XML referential, complete, with the automatic activation.
    ImportationTaxons importation;
    importation.show();
    auto *activer = controle<QCheckBox>(&importation, QStringLiteral("ChkActiver"));
    auto *apercu = controle<GrilleDonnees>(&importation, QStringLiteral("SprApercu"));
    auto *nbLignes = controle<QLabel>(&importation, QStringLiteral("LblNbLignes"));
    auto *complet = controle<QRadioButton>(&importation, QStringLiteral("OptComplet"));
    auto *demarrer = controle<QPushButton>(&importation, QStringLiteral("CmdDemarrer"));
    ASSERT_TRUE(activer && apercu && nbLignes && complet && demarrer);
    EXPECT_EQ(activer->text(), QStringLiteral("&Activer automatiquement les éléments"));
    ASSERT_TRUE(
        importation.choisirFichier(QStringLiteral(VYK_TEST_DATA "/taxons/taxons_sandre.xml")));
    EXPECT_EQ(apercu->nbLignes(), 3);
    EXPECT_EQ(nbLignes->text(), QStringLiteral("Nb Lignes : 3"));
    EXPECT_EQ(apercu->texte(1, 11), QStringLiteral("GAMPUL"));
    complet->setChecked(true);
    activer->setChecked(true);
    capturer(importation, QStringLiteral("ImportationTaxons"));
    demarrer->click();
    EXPECT_EQ(recus(), QStringList({"AIDE: Importation terminée : 3 taxon(s) ajouté(s), 0 mis à "
                                    "jour, 0 absent(s) du référentiel "
                                    "ignoré(s), 0 rejeté(s), 1 thème(s) ajouté(s)."}));
    EXPECT_EQ(importation.nbIntegres(), 3);
    EXPECT_FALSE(
        importation.choisirFichier(QStringLiteral(VYK_TEST_DATA "/taxons/sans_entete.csv")));
    EXPECT_EQ(recus(), QStringList({"ERREUR: Le fichier doit contenir les entêtes de colonnes."}));
    EXPECT_FALSE(demarrer->isEnabled());

    // A trait with two modalities.
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES "
                                        "('TAXONS.GROUPE', 1, 'Invertébrés')")));
    {
        ListeTraits traits;
        traits.show();
        auto *ajouterModalite =
            controle<QPushButton>(&traits, QStringLiteral("CmdAjouterModalite"));
        auto *modalites = controle<GrilleSaisie>(&traits, QStringLiteral("SprModalites"));
        ASSERT_TRUE(ajouterModalite && modalites);
        controle<QLineEdit>(&traits, QStringLiteral("TxtNom"))
            ->setText(QStringLiteral("Vitesse du courant"));
        controle<ComboCodee>(&traits, QStringLiteral("CboGroupe"))
            ->selectionnerCode(QStringLiteral("1"));
        ajouterModalite->click();
        modalites->definirTexte(0, 1, QStringLiteral("Lente"));
        ajouterModalite->click();
        modalites->definirTexte(1, 1, QStringLiteral("Rapide"));
        EXPECT_EQ(modalites->texte(1, 0), QStringLiteral("2"));
        traits.actionEnregistrer()->trigger();
        EXPECT_EQ(recus(), QStringList({"AIDE: Enregistrement du trait terminé."}));
        capturer(traits, QStringLiteral("ListeTraits"));
    }

    ListeTaxons ecran;
    ecran.resize(1150, 800);
    ecran.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ecran));
    EXPECT_EQ(ecran.grille()->nbLignes(), 3);
    EXPECT_EQ(ecran.actionOutils()->text(), QStringLiteral("Importer une liste de taxons"));
    controle<QLineEdit>(&ecran, "TxtFiltre")->setText(QStringLiteral("gamm"));
    QTest::keyClick(controle<QLineEdit>(&ecran, "TxtFiltre"), Qt::Key_Return);
    EXPECT_EQ(ecran.grille()->nbLignes(), 2);

    // A new taxon with a trait value.
    ecran.actionInserer()->trigger();
    QTest::keyClicks(controle<QLineEdit>(&ecran, "TxtCode"), QStringLiteral("9010"));
    QTest::keyClicks(controle<QLineEdit>(&ecran, "TxtNomLatin"), QStringLiteral("Echinogammarus"));
    ASSERT_TRUE(controle<ComboCodee>(&ecran, "CboTheme")->selectionnerCode(QStringLiteral("3")));
    ASSERT_EQ(controle<GrilleSaisie>(&ecran, "SprTraits")->rowCount(), 1);
    controle<GrilleSaisie>(&ecran, "SprTraits")->definirTexte(0, 2, QStringLiteral("2"));
    EXPECT_EQ(controle<GrilleSaisie>(&ecran, "SprTraits")->affiche(0, 2),
              QStringLiteral("Rapide [2]"));
    ecran.actionEnregistrer()->trigger();
    EXPECT_EQ(recus(), QStringList({"AIDE: Enregistrement de la fiche du taxon terminé."}));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT codeTaxon, nomLatin, theme, actif FROM TAXONS WHERE codeTaxon='9010'")),
              QStringList({"9010|Echinogammarus|3|1"}));
    EXPECT_EQ(
        lignes(QStringLiteral(
            "SELECT codeTrait, codeModalite FROM TRAITS_ECOBIO_TAXONS WHERE codeTaxon='9010'")),
        QStringList({"1|2"}));
    controle<QTabWidget>(&ecran, "OngletsFiche")->setCurrentIndex(2);
    capturer(ecran, QStringLiteral("ListeTaxons"));

    // Used at a station: it can be neither made inactive nor deleted.
    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (1, 'V1')")));
    LigneTaxonListe l;
    l.codeTaxon = QStringLiteral("9010");
    ASSERT_TRUE(ecrireTaxonListe(true, 1, 0, 1, 1, l));
    controle<ComboCodee>(&ecran, "CboActif")->selectionnerCode(QStringLiteral("0"));
    ecran.actionEnregistrer()->trigger();
    EXPECT_EQ(
        recus(),
        QStringList({"ERREUR: Le taxon est utilisé dans la base. Il ne peut être rendu inactif"}));
    ecran.actionSupprimer()->trigger();
    EXPECT_EQ(recus(), QStringList({"ERREUR: Attention, ce code est utilisé dans la base de "
                                    "données. Vous ne pouvez pas le supprimer."}));

    // The purge keeps it, and only it.
    messages().repondre(BoutonOui);
    controle<QAction>(&ecran, "ActionPurger")->trigger();
    EXPECT_EQ(recus().last(), QStringLiteral("AIDE: Les taxons ont été supprimés."));
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeTaxon FROM TAXONS")), QStringList({"9010"}));
    ASSERT_EQ(ecran.grille()->nbLignes(), 1);
    EXPECT_EQ(ecran.grille()->texte(0, 0), QStringLiteral("9010"));
}

VYK_SUR_LES_DEUX_MOTEURS(TaxonsGuiTest);

} // namespace
