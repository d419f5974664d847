#include "ui/monitoring/FicheQualitometre.h"
#include "db/Session.h"
#include "schema/MiseAJour.h"
#include "schema/TableAnalyses.h"
#include "schema/Version.h"
#include "ui/monitoring/EditeurSatellites.h"
#include "ui/monitoring/ListeQualitometres.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/GrilleDonnees.h"

#include "support/EcranTest.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace vyk;
using namespace vyk::test;

namespace {

class FicheQualitometreGuiTest : public EcranTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_ECRAN();
        ASSERT_TRUE(
            executer("INSERT INTO RESEAUX (CodeReseau, Libelle, DCE) VALUES (3, 'RCS', '1')"));
        ASSERT_TRUE(executer("INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, "
                             "typeStation) VALUES (1, 'V1', 'Existante', '1')"));
    }
};

TEST_P(FicheQualitometreGuiTest, CreerRetrouverLierSupprimer)
{
    FicheQualitometre fiche;
    fiche.show();
    // A new card: the satellites refuse to save.
    controle<QPushButton>(&fiche, "CmdEnregistrer_reseaux")->click();
    EXPECT_EQ(dernier(), QStringLiteral("Vous devez d'abord enregistrer le qualitomètre afin de le "
                                        "créer (icone disquette dans la barre du haut)."));

    ASSERT_TRUE(controle<ComboCodee>(&fiche, "CbotypeStation")->selectionnerCode("0"));
    EXPECT_FALSE(controle<QLineEdit>(&fiche, "TxtIdentifiant")->isVisibleTo(&fiche));
    controle<QLineEdit>(&fiche, "TxtNumeroBSS")->setText("06987X0012");
    controle<QLineEdit>(&fiche, "TxtNom")->setText("Puits du moulin");
    controle<QLineEdit>(&fiche, "TxtDateCreation")->setText("15/03/2001");
    controle<QPushButton>(&fiche, "CmdEnregistrer")->click();
    EXPECT_EQ(dernier(), QStringLiteral("Enregistrement de la fiche du qualitomètre terminé."));
    EXPECT_EQ(fiche.edition().code(), QStringLiteral("2"));
    EXPECT_EQ(lignes("SELECT CodeQualitometre, CodeBSS, Nom, typeStation FROM QUALITOMETRES WHERE "
                     "CodeQualitometre=2"),
              QStringList({"2|06987X0012|Puits du moulin|0"}));

    ListeQualitometres liste;
    liste.show();
    EXPECT_EQ(liste.texteCompte(), QStringLiteral("2 / 2 stations(s)"));
    controle<QLineEdit>(&liste, "TxtFiltre")->setText("moulin");
    EXPECT_EQ(liste.nbLignesAffichees(), 1);
    EXPECT_EQ(controle<QLabel>(&liste, "LblCompte")->text(), QStringLiteral("1 / 2 stations(s)"));
    EXPECT_EQ(liste.grille()->texte(0, 1), QStringLiteral("06987X0012"));
    QString ouverte = QStringLiteral("-");
    QObject::connect(&liste, &ListeQualitometres::ouvrirFiche,
                     [&ouverte](const QString &code) { ouverte = code; });
    liste.grille()->selectionnerLigne(0);
    controle<QPushButton>(&liste, "CmdOuvrir")->click();
    EXPECT_EQ(ouverte, QStringLiteral("2"));
    controle<QLineEdit>(&liste, "TxtFiltre")->clear();
    fiche.definirNavigation([&liste] { return liste.codesVisibles(); });
    controle<QPushButton>(&fiche, "CmdSuivant")->click();
    EXPECT_EQ(fiche.edition().code(), QStringLiteral("1"));
    controle<QPushButton>(&fiche, "CmdPrecedent")->click();
    EXPECT_EQ(fiche.edition().code(), QStringLiteral("2"));

    // A stored station opens its points, operations and samples.
    qint64 prelevements = -1;
    QObject::connect(&fiche, &FicheQualitometre::prelevementsDemandes,
                     [&prelevements](qint64 code) { prelevements = code; });
    ASSERT_TRUE(controle<QPushButton>(&fiche, "CmdPrelevements")->isEnabled());
    controle<QPushButton>(&fiche, "CmdPrelevements")->click();
    EXPECT_EQ(prelevements, 2);

    // A network line, saved by its own command.
    controle<QPushButton>(&fiche, "CmdAjouter_reseaux")->click();
    auto *reseaux = controle<GrilleSaisie>(&fiche, "Spr_reseaux");
    ASSERT_EQ(reseaux->rowCount(), 1);
    saisir(reseaux, 0, 0, QStringLiteral("3"));
    saisir(reseaux, 0, 1, QStringLiteral("01/01/2015"));
    controle<QPushButton>(&fiche, "CmdEnregistrer_reseaux")->click();
    EXPECT_EQ(dernier(), QStringLiteral("Enregistrement des réseaux terminé."));
    EXPECT_EQ(lignes("SELECT CodeQualitometre, CodeReseau, DateDebut FROM LIEN_QUALITO_RESEAUX"),
              QStringList({"2|3|01/01/2015"}));
    fiche.charger(2);
    EXPECT_EQ(controle<QLabel>(&fiche, "LblEntete")->text(),
              QStringLiteral("Réseau : RCS  —  DCE"));
    liste.charger();
    EXPECT_EQ(liste.grille()->texte(1, 18), QStringLiteral("RCS"));

    if (qEnvironmentVariableIsSet("VYK_CAPTURES")) {
        fiche.resize(1100, 700);
        fiche.grab().save(
            QDir(qEnvironmentVariable("VYK_CAPTURES")).filePath("FicheQualitometre.png"));
        auto *onglets = fiche.findChild<QTabWidget *>(QStringLiteral("Onglets"));
        onglets->setCurrentIndex(onglets->indexOf(fiche.editeur(QStringLiteral("reseaux"))));
        fiche.grab().save(
            QDir(qEnvironmentVariable("VYK_CAPTURES")).filePath("FicheQualitometreReseaux.png"));
        liste.grab().save(
            QDir(qEnvironmentVariable("VYK_CAPTURES")).filePath("ListeQualitometres.png"));
        // Every page of the form, for a groundwater station and a surface one.
        FicheQualitometre surface;
        surface.charger(1);
        surface.resize(1100, 700);
        for (FicheQualitometre *f : {&fiche, &surface}) {
            f->show();
            auto *pages = f->findChild<QTabWidget *>(QStringLiteral("Onglets"));
            for (int i = 0; i < 4; ++i) {
                if (!pages->isTabVisible(i)) continue;
                pages->setCurrentIndex(i);
                f->grab().save(QDir(qEnvironmentVariable("VYK_CAPTURES"))
                                   .filePath(QStringLiteral("FicheQualitometre_%1_%2.png")
                                                 .arg(f->edition().code())
                                                 .arg(i)));
            }
        }
    }

    // Deletion: refused answer, then confirmed.
    controle<QPushButton>(&fiche, "CmdSupprimer")->click();
    EXPECT_EQ(dernier(), QStringLiteral("Etes vous sur de vouloir supprimer la station Puits du "
                                        "moulin et toutes les mesures qu'elle possède ?"));
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES").toInt(), 2);
    messages().repondre(BoutonOui);
    controle<QPushButton>(&fiche, "CmdSupprimer")->click();
    EXPECT_EQ(dernier(), QStringLiteral("Le qualitomètre a été supprimé."));
    EXPECT_EQ(lignes("SELECT CodeQualitometre FROM QUALITOMETRES"), QStringList({"1"}));
    EXPECT_EQ(valeur("SELECT count(*) FROM LIEN_QUALITO_RESEAUX").toInt(), 0);
    EXPECT_EQ(
        valeur("SELECT count(*) FROM JOURNAL WHERE Titre='Suppression du qualitomètre 06987X0012'")
            .toInt(),
        1);
    liste.charger();
    EXPECT_EQ(liste.texteCompte(), QStringLiteral("1 / 1 stations(s)"));
}

// A refused save keeps the card as typed; a new identifier saved from the card keeps the
// station's analyses.
TEST_P(FicheQualitometreGuiTest, RefusGardeLaSaisieEtNouvelIdentifiant)
{
    FicheQualitometre fiche;
    fiche.show();
    ASSERT_TRUE(controle<ComboCodee>(&fiche, "CbotypeStation")->selectionnerCode("0"));
    controle<QLineEdit>(&fiche, "TxtNumeroBSS")->setText("0698 X0012");
    controle<QLineEdit>(&fiche, "TxtNom")->setText("Puits");
    controle<QLineEdit>(&fiche, "TxtDateCreation")->setText("31/02/2001");
    controle<QPushButton>(&fiche, "CmdEnregistrer")->click();
    EXPECT_EQ(
        dernier(),
        QStringLiteral(
            "Merci de corriger les erreurs suivantes pour pouvoir enregistrer le qualitomètre: "
            "\nle numéro BSS est vide ou incorrect\nla date de création n'est pas au format "
            "jj/mm/yyyy"));
    EXPECT_EQ(controle<QLineEdit>(&fiche, "TxtNumeroBSS")->text(), QStringLiteral("0698 X0012"));
    EXPECT_EQ(controle<QLineEdit>(&fiche, "TxtDateCreation")->text(), QStringLiteral("31/02/2001"));
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES").toInt(), 1);

    ASSERT_TRUE(creerTableAnalyses(QStringLiteral("V1")));
    ASSERT_TRUE(executer(
        "INSERT INTO ANALYSES_V1 (NumAnalyse, NumPrelevement, CodeQualitometre) VALUES (0, 0, 1)"));
    fiche.charger(1);
    EXPECT_EQ(controle<QLineEdit>(&fiche, "TxtIdentifiant")->text(), QStringLiteral("V1"));
    controle<QLineEdit>(&fiche, "TxtIdentifiant")->setText("V1-AMONT");
    controle<QPushButton>(&fiche, "CmdEnregistrer")->click();
    EXPECT_EQ(dernier(), QStringLiteral("Enregistrement de la fiche du qualitomètre terminé."));
    EXPECT_EQ(lignes("SELECT CodeBSS FROM QUALITOMETRES WHERE CodeQualitometre=1"),
              QStringList({"V1-AMONT"}));
    EXPECT_EQ(
        valeur(QStringLiteral("SELECT count(*) FROM ") + tableAnalyses(QStringLiteral("V1-AMONT")))
            .toInt(),
        1);
    EXPECT_FALSE(bd().tableExiste(QStringLiteral("ANALYSES_V1")));
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(FicheQualitometreGuiTest);
