#include "ui/referentials/ListeCodes.h"
#include "db/Session.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"
#include "ui/referentials/ImportationCodesSandre.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/GrilleDonnees.h"

#include "support/EcranTest.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace vyk;
using namespace vyk::test;

namespace {

class ListeCodesEcranTest : public EcranTest
{
};

TEST_P(ListeCodesEcranTest, SaisirEnregistrerRetrouverSupprimer)
{
    session().login = QStringLiteral("jdupont");
    ListeCodes ecran(QStringLiteral("analyses.lieu"));
    ecran.resize(1100, 700);
    ecran.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ecran));
    EXPECT_EQ(controle<ComboCodee>(&ecran, "CboChamp")->codeSelectionne(),
              QStringLiteral("ANALYSES.LIEU"));
    EXPECT_EQ(controle<ComboCodee>(&ecran, "CboChamp")->texteEntree(0),
              QStringLiteral("Tous les éléments [*]"));
    // The key is named in French first.
    EXPECT_EQ(libelleEntree(controle<ComboCodee>(&ecran, "CboChamp")->texteSelectionne()),
              QStringLiteral("Analyses : lieu d'analyse"));
    EXPECT_EQ(ecran.grille()->nbLignes(), 3);
    EXPECT_TRUE(controle<QLabel>(&ecran, "LblReferentiel")->text().contains(QStringLiteral("156")));
    EXPECT_TRUE(controle<QLabel>(&ecran, "LblLien")
                    ->text()
                    .contains(QStringLiteral("code:156:::referentiel:3.1:html")));
    EXPECT_EQ(ecran.actionInserer()->text(), QStringLiteral("Saisir un nouveau code"));
    EXPECT_EQ(ecran.actionSupprimer()->text(), QStringLiteral("Supprimer le code"));
    EXPECT_EQ(ecran.actionEnregistrer()->text(), QStringLiteral("Enregistrer la fiche"));
    EXPECT_EQ(ecran.actionOutils()->text(), QStringLiteral("Importer un fichier de référentiel"));

    // A new entry: the next code of the list, the form's checks in one message.
    ecran.actionInserer()->trigger();
    EXPECT_EQ(controle<QLineEdit>(&ecran, "TxtType")->text(), QStringLiteral("ANALYSES.LIEU"));
    EXPECT_EQ(controle<QLineEdit>(&ecran, "TxtCode")->text(), QStringLiteral("3"));
    EXPECT_FALSE(controle<QLineEdit>(&ecran, "TxtCode")->isReadOnly());
    controle<QLineEdit>(&ecran, "TxtDateCreation")->clear();
    QTest::keyClicks(controle<QLineEdit>(&ecran, "TxtDateCreation"), QStringLiteral("32/13/2020"));
    ecran.actionEnregistrer()->trigger();
    EXPECT_EQ(recus(), QStringList({"ERREUR: \nRenseignez le libellé du code.\nLa date de création "
                                    "du code n'est pas correcte."}));
    EXPECT_EQ(ecran.grille()->nbLignes(), 3);

    controle<QLineEdit>(&ecran, "TxtDateCreation")->clear();
    QTest::keyClicks(controle<QLineEdit>(&ecran, "TxtDateCreation"), QStringLiteral("02/03/2021"));
    QTest::keyClicks(controle<QLineEdit>(&ecran, "TxtLibelle"), QStringLiteral("Sur le terrain"));
    controle<QPlainTextEdit>(&ecran, "TxtCommentaire")
        ->insertPlainText(QStringLiteral("Mesure faite à l'arrivée."));
    ASSERT_TRUE(controle<ComboCodee>(&ecran, "CboStatut")->selectionnerCode(QStringLiteral("2")));
    ecran.actionEnregistrer()->trigger();
    EXPECT_EQ(recus(), QStringList({"AIDE: Enregistrement de la fiche du code SANDRE terminé."}));
    EXPECT_EQ(
        lignes(QStringLiteral("SELECT Champ, Code, Libelle, Statut, DateCreation, Auteur, "
                              "Commentaire FROM CODES_SANDRE "
                              "WHERE Champ='ANALYSES.LIEU' AND Code=3")),
        QStringList(
            {"ANALYSES.LIEU|3|Sur le terrain|2|02/03/2021|jdupont|Mesure faite à l'arrivée."}));
    EXPECT_EQ(ecran.grille()->nbLignes(), 4);
    EXPECT_TRUE(controle<QLineEdit>(&ecran, "TxtCode")->isReadOnly());
    capturer(ecran, QStringLiteral("ListeCodes"));

    // Found by its code, shown in the form.
    ecran.actionInserer()->trigger();
    EXPECT_EQ(controle<QLineEdit>(&ecran, "TxtLibelle")->text(), QString());
    QTest::keyClicks(ecran.champRecherche(), QStringLiteral("3"));
    QTest::keyClick(ecran.champRecherche(), Qt::Key_Return);
    const int ligne = ecran.grille()->ligneCourante();
    ASSERT_GE(ligne, 0);
    EXPECT_EQ(ecran.grille()->texte(ligne, 2), QStringLiteral("Sur le terrain"));
    EXPECT_EQ(ecran.grille()->texte(ligne, 8), QStringLiteral("Validé"));
    EXPECT_EQ(controle<QLineEdit>(&ecran, "TxtLibelle")->text(), QStringLiteral("Sur le terrain"));
    EXPECT_EQ(controle<ComboCodee>(&ecran, "CboStatut")->codeSelectionne(), QStringLiteral("2"));
    EXPECT_TRUE(recus().isEmpty());
    ecran.champRecherche()->clear();
    QTest::keyClicks(ecran.champRecherche(), QStringLiteral("77"));
    QTest::keyClick(ecran.champRecherche(), Qt::Key_Return);
    EXPECT_EQ(recus(),
              QStringList({"ERREUR: Impossible de retrouver l'élément possédant le code 77"}));

    // Deleted after the question; the form is ready for a new entry.
    messages().repondre(BoutonOui);
    ecran.actionSupprimer()->trigger();
    EXPECT_EQ(recus(), QStringList({"QUESTION: Supprimer le code 3 pour ANALYSES.LIEU ?",
                                    "AIDE: Le code a été supprimé."}));
    EXPECT_EQ(
        valeur(QStringLiteral("SELECT count(*) FROM CODES_SANDRE WHERE Champ='ANALYSES.LIEU'"))
            .toInt(),
        3);
    EXPECT_EQ(ecran.grille()->nbLignes(), 3);
    EXPECT_EQ(controle<QLineEdit>(&ecran, "TxtCode")->text(), QStringLiteral("3"));
    EXPECT_TRUE(controle<QLineEdit>(&ecran, "TxtLibelle")->text().isEmpty());
    EXPECT_FALSE(ecran.actionSupprimer()->isEnabled());

    // Every list at once.
    ASSERT_TRUE(controle<ComboCodee>(&ecran, "CboChamp")->selectionnerCode(QStringLiteral("*")));
    EXPECT_EQ(ecran.grille()->nbLignes(),
              valeur(QStringLiteral("SELECT count(*) FROM CODES_SANDRE")).toInt());
    EXPECT_TRUE(controle<QLabel>(&ecran, "LblReferentiel")->text().isEmpty());
    ASSERT_TRUE(ecran.exporterVers(chemin(QStringLiteral("Liste_des_Codes.csv"))));
    EXPECT_TRUE(QFileInfo::exists(chemin(QStringLiteral("Liste_des_Codes.csv"))));

    // A new list typed in the form: its first code, and it joins the list box once saved.
    ecran.actionInserer()->trigger();
    QTest::keyClicks(controle<QLineEdit>(&ecran, "TxtType"), QStringLiteral("analyses.lieu"));
    QTest::keyClick(controle<QLineEdit>(&ecran, "TxtType"), Qt::Key_Return);
    EXPECT_EQ(controle<QLineEdit>(&ecran, "TxtCode")->text(), QStringLiteral("3"));
    controle<QLineEdit>(&ecran, "TxtType")->clear();
    QTest::keyClicks(controle<QLineEdit>(&ecran, "TxtType"), QStringLiteral("test.nouvelle"));
    QTest::keyClick(controle<QLineEdit>(&ecran, "TxtType"), Qt::Key_Return);
    EXPECT_EQ(controle<QLineEdit>(&ecran, "TxtType")->text(), QStringLiteral("TEST.NOUVELLE"));
    EXPECT_EQ(controle<QLineEdit>(&ecran, "TxtCode")->text(), QStringLiteral("1"));
    QTest::keyClicks(controle<QLineEdit>(&ecran, "TxtLibelle"), QStringLiteral("Premier"));
    ecran.actionEnregistrer()->trigger();
    EXPECT_EQ(recus(), QStringList({"AIDE: Enregistrement de la fiche du code SANDRE terminé."}));
    EXPECT_GE(controle<ComboCodee>(&ecran, "CboChamp")->indexCode(QStringLiteral("TEST.NOUVELLE")),
              0);
    EXPECT_EQ(controle<ComboCodee>(&ecran, "CboChamp")->codeSelectionne(), QStringLiteral("*"));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT Code, Libelle FROM CODES_SANDRE WHERE Champ='TEST.NOUVELLE'")),
              QStringList({"1|Premier"}));
}

TEST_P(ListeCodesEcranTest, ImportationDUnFichierDeReferentiel)
{
    ImportationCodesSandre importation;
    importation.show();
    auto *information = controle<QLabel>(&importation, QStringLiteral("LblInformation"));
    auto *fichiers = controle<QListWidget>(&importation, QStringLiteral("LstFichiers"));
    auto *apercu = controle<GrilleDonnees>(&importation, QStringLiteral("SprApercu"));
    auto *demarrer = controle<QPushButton>(&importation, QStringLiteral("CmdDemarrer"));
    ASSERT_TRUE(information && fichiers && apercu && demarrer);
    EXPECT_TRUE(information->text().startsWith(QStringLiteral(
        "Les fichiers à importer doivent être des fichiers XML. Ces fichiers sont disponibles en "
        "téléchargement sur le site")));
    importation.choisirDossier(QStringLiteral(VYK_TEST_DATA "/referentiels"));
    ASSERT_EQ(fichiers->count(), 4);
    EXPECT_FALSE(demarrer->isEnabled());

    fichiers->setCurrentRow(0); // mal_forme.xml
    ASSERT_EQ(messages().messages().size(), 1);
    EXPECT_TRUE(recus()[0].startsWith(
        QStringLiteral("ERREUR: Le fichier mal_forme.xml n'est pas un fichier XML valide")));
    EXPECT_FALSE(demarrer->isEnabled());

    fichiers->setCurrentRow(1); // nsa_155.xml
    ASSERT_EQ(apercu->nbLignes(), 3);
    EXPECT_EQ(apercu->ligne(1),
              QStringList({"155", "12", "Nouveau code", "", "Proposition", "", "", ""}));
    ASSERT_TRUE(demarrer->isEnabled());
    capturer(importation, QStringLiteral("ImportationCodesSandre"));
    QTest::mouseClick(demarrer, Qt::LeftButton);
    EXPECT_EQ(
        recus(),
        QStringList(
            {"AIDE: Importation terminée : 1 code(s) ajouté(s), 2 mis à jour, 0 rejeté(s)."}));
    EXPECT_EQ(importation.nbIntegres(), 3);
    EXPECT_EQ(
        valeur(
            QStringLiteral(
                "SELECT Libelle FROM CODES_SANDRE WHERE Champ='ANALYSES.CODEREMARQUE' AND Code=12"))
            .toString(),
        QStringLiteral("Nouveau code"));

    // The folder is offered again next time.
    ImportationCodesSandre suivante;
    EXPECT_EQ(controle<QListWidget>(&suivante, QStringLiteral("LstFichiers"))->count(), 4);
}

VYK_SUR_LES_DEUX_MOTEURS(ListeCodesEcranTest);

} // namespace
