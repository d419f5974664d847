#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/Session.h"
#include "monitoring/Prelevement.h"
#include "schema/MiseAJour.h"
#include "schema/TableAnalyses.h"
#include "schema/Version.h"
#include "ui/monitoring/FichePrelevementPhysicoChmique.h"
#include "ui/monitoring/SuiviPhysicoChmique.h"
#include "ui/referentials/ListeReferentielAnalyses.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/GrilleDonnees.h"
#include "ui/widgets/GrilleSaisie.h"

#include "support/EcranTest.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

using namespace vyk;
using namespace vyk::test;

namespace {

class PrelevementSuiviEcranTest : public EcranTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_ECRAN();
        for (const char *sql : {
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (1, 'BSS001', "
                 "'Source du Lez')",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('1340', 'Nitrates')",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('1335', 'Ammonium')",
                 "INSERT INTO ANALYSES_UNITES (Code, Symbole, Nom, Actif) VALUES ('162', 'mg/L', "
                 "'milligramme par litre', '1')",
             })
            ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
    }
};

TEST_P(PrelevementSuiviEcranTest, PrelevementSaisiPuisVuDansLeSuivi)
{
    {
        FichePrelevementPhysicoChmique fiche(QStringLiteral("1"), QStringLiteral("BSS001"));
        fiche.resize(1200, 700);
        fiche.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&fiche));
        EXPECT_EQ(controle<QLabel>(&fiche, "LblEntete")->text(),
                  QStringLiteral("Qualitomètre BSS001 - nouveau prélèvement"));
        // Analyses before the sample exists: refused.
        controle<QPushButton>(&fiche, "CmdEnregistrerAnalyses")->click();
        EXPECT_EQ(messages().textes(),
                  QStringList({"Vous devez d'abord enregistrer le prélèvement."}));
        messages().vider();

        auto *date = qobject_cast<QLineEdit *>(fiche.champ(QStringLiteral("DateDebut")));
        ASSERT_NE(date, nullptr);
        QTest::keyClicks(date, QStringLiteral("12/05/2021"));
        QTest::keyClicks(qobject_cast<QLineEdit *>(fiche.champ(QStringLiteral("HeureDebut"))),
                         QStringLiteral("09:45"));
        controle<QAction>(&fiche, "CmdEnregistrer")->trigger();
        EXPECT_EQ(messages().textes(),
                  QStringList({"Enregistrement de la fiche du prélèvement terminé."}));
        EXPECT_EQ(controle<QLabel>(&fiche, "LblEntete")->text(),
                  QStringLiteral("Qualitomètre BSS001 - prélèvement n° 0"));
        capturer(fiche, QStringLiteral("FichePrelevementPhysicoChmique_fiche"));
        messages().vider();

        controle<QTabWidget>(&fiche, "Onglets")->setCurrentIndex(4);
        GrilleSaisie *analyses = controle<GrilleSaisie>(&fiche, "SprAnalyses");
        ASSERT_NE(analyses, nullptr);
        // The grid is read-only until the modification box is ticked.
        controle<QPushButton>(&fiche, "CmdAjouterAnalyse")->click();
        EXPECT_EQ(analyses->rowCount(), 0);
        controle<QCheckBox>(&fiche, "ChkModification")->click();
        controle<QPushButton>(&fiche, "CmdAjouterAnalyse")->click();
        controle<QPushButton>(&fiche, "CmdAjouterAnalyse")->click();
        ASSERT_EQ(analyses->rowCount(), 2);
        saisir(analyses, 0, 0, QStringLiteral("1340"));
        saisir(analyses, 0, 1, QStringLiteral("12,5"));
        saisir(analyses, 0, 2, QStringLiteral("162"));
        saisir(analyses, 1, 0, QStringLiteral("1335"));
        saisir(analyses, 1, 1, QStringLiteral("0.1"));
        saisir(analyses, 1, 2, QStringLiteral("162"));
        saisir(analyses, 1, 7, QStringLiteral("10"));
        EXPECT_EQ(codeEntree(analyses->texte(1, 7)), QStringLiteral("10"));
        EXPECT_EQ(codeEntree(analyses->texte(0, 0)), QStringLiteral("1340"));
        EXPECT_EQ(libelleEntree(analyses->affiche(0, 0)), QStringLiteral("Nitrates"));
        capturer(fiche, QStringLiteral("FichePrelevementPhysicoChmique"));
        controle<QPushButton>(&fiche, "CmdEnregistrerAnalyses")->click();
        EXPECT_EQ(messages().textes(), QStringList({"Enregistrement des analyses terminé."}));
        EXPECT_EQ(lignes(QStringLiteral("SELECT NumAnalyse, CodeParametre, Resultat, CodeUnite, "
                                        "CodeRemarque FROM ANALYSES_BSS001 ORDER BY NumAnalyse")),
                  QStringList({"0|1340|12.5|162|", "1|1335|0.1|162|10"}));
    }
    // Opened again: the sample and its two analyses.
    {
        FichePrelevementPhysicoChmique fiche(QStringLiteral("1"), QStringLiteral("BSS001"),
                                             QStringLiteral("0"));
        EXPECT_EQ(qobject_cast<QLineEdit *>(fiche.champ(QStringLiteral("HeureDebut")))->text(),
                  QStringLiteral("09:45"));
        GrilleSaisie *analyses = controle<GrilleSaisie>(&fiche, "SprAnalyses");
        ASSERT_NE(analyses, nullptr);
        ASSERT_EQ(analyses->rowCount(), 2);
        EXPECT_EQ(analyses->affiche(1, 0),
                  texteEntree(QStringLiteral("Ammonium"), QStringLiteral("1335")));
        EXPECT_EQ(analyses->affiche(1, 2),
                  texteEntree(QStringLiteral("mg/L"), QStringLiteral("162")));
        // The detailed view shows every column.
        EXPECT_TRUE(analyses->isColumnHidden(20));
        controle<QCheckBox>(&fiche, "ChkAffichageDetail")->click();
        EXPECT_FALSE(analyses->isColumnHidden(20));
    }
    SuiviPhysicoChmique suivi(QStringLiteral("1"));
    suivi.resize(900, 500);
    suivi.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&suivi));
    EXPECT_EQ(suivi.CboStation->codeSelectionne(), QStringLiteral("1"));
    const QAbstractItemModel *grille = suivi.SprSuivi->model();
    auto cellule = [grille](int l, int c) { return grille->index(l, c).data().toString(); };
    ASSERT_EQ(grille->columnCount(), 3);
    EXPECT_EQ(grille->headerData(2, Qt::Horizontal).toString(), QStringLiteral("12/05/2021 (0)"));
    ASSERT_EQ(grille->rowCount(), 2);
    EXPECT_EQ(cellule(0, 0), QStringLiteral("Ammonium [1335]"));
    EXPECT_EQ(cellule(0, 2), QStringLiteral("<0.1"));
    EXPECT_EQ(grille->index(0, 2).data(Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_EQ(cellule(1, 1), QStringLiteral("mg/L"));
    EXPECT_EQ(cellule(1, 2), QStringLiteral("12.5"));
    capturer(suivi, QStringLiteral("SuiviPhysicoChmique"));
    // Values above the quantification limit only.
    suivi.ChkQuantification->click();
    ASSERT_EQ(grille->rowCount(), 1);
    EXPECT_EQ(cellule(0, 2), QStringLiteral("12.5"));
    // A column opens its sample.
    std::unique_ptr<QWidget> fiche(suivi.ouvrirFiche(0));
    auto *carte = qobject_cast<FichePrelevementPhysicoChmique *>(fiche.get());
    ASSERT_NE(carte, nullptr);
    EXPECT_EQ(carte->edition().numPrelevement(), QStringLiteral("0"));
    EXPECT_EQ(carte->cleFenetre(), QStringLiteral("FichePrelevementPhysicoChmique_1_0"));
    // "Nouveau prélèvement" asks for a blank card of its own; the open one keeps its sample.
    QWidget *demandee = nullptr;
    QObject::connect(&suivi, &SuiviPhysicoChmique::ouvrirPrelevement,
                     [&demandee](QWidget *f) { demandee = f; });
    controle<QAction>(carte, "CmdInsertion")->trigger();
    std::unique_ptr<QWidget> nouvelle(demandee);
    auto *vierge = qobject_cast<FichePrelevementPhysicoChmique *>(nouvelle.get());
    ASSERT_NE(vierge, nullptr);
    EXPECT_FALSE(vierge->edition().estEnregistre());
    EXPECT_TRUE(vierge->cleFenetre().isEmpty());
    EXPECT_EQ(controle<QLabel>(vierge, "LblEntete")->text(),
              QStringLiteral("Qualitomètre BSS001 - nouveau prélèvement"));
    EXPECT_EQ(carte->edition().numPrelevement(), QStringLiteral("0"));
}

// A sample saved before its analyses has no column in the table: the station's list of samples
// still offers it, and opens it.
TEST_P(PrelevementSuiviEcranTest, PrelevementSansAnalysesOuvertDepuisLaListe)
{
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut) VALUES "
        "(0, 1, #05/12/2021#)")));
    SuiviPhysicoChmique suivi(QStringLiteral("1"));
    EXPECT_EQ(suivi.SprSuivi->model()->columnCount(), 2);
    ASSERT_EQ(suivi.CboPrelevements->count(), 1);
    EXPECT_TRUE(suivi.CboPrelevements->itemText(0).contains(
        QStringLiteral("0 - 12/05/2021 (0 analyse(s))")))
        << qPrintable(suivi.CboPrelevements->itemText(0));
    ASSERT_TRUE(suivi.CmdOuvrirPrelevement->isEnabled());
    std::unique_ptr<QWidget> ouverte;
    QObject::connect(&suivi, &SuiviPhysicoChmique::ouvrirPrelevement,
                     [&ouverte](QWidget *w) { ouverte.reset(w); });
    suivi.CboPrelevements->selectionnerCode(QStringLiteral("0"));
    suivi.CmdOuvrirPrelevement->click();
    auto *carte = qobject_cast<FichePrelevementPhysicoChmique *>(ouverte.get());
    ASSERT_NE(carte, nullptr);
    EXPECT_EQ(carte->edition().numPrelevement(), QStringLiteral("0"));
    EXPECT_TRUE(messages().textes().isEmpty()) << qPrintable(messages().textes().join(u'\n'));
}

// A stored code the lists no longer hold stays on the card and in the row after a save; numbers
// are shown with a comma and typed only as numbers.
TEST_P(PrelevementSuiviEcranTest, UnCodeInconnuDesListesResteApresEnregistrement)
{
    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, "
                       "CodeProducteurPrincipal, CodeLieuPrincipal, profDebut) VALUES "
                       "(0, 1, #05/12/2021#, 4242, 'Z', 12.5)")));
    FichePrelevementPhysicoChmique fiche(QStringLiteral("1"), QStringLiteral("BSS001"),
                                         QStringLiteral("0"));
    auto *producteur =
        qobject_cast<ComboCodee *>(fiche.champ(QStringLiteral("CodeProducteurPrincipal")));
    auto *lieu = qobject_cast<ComboCodee *>(fiche.champ(QStringLiteral("CodeLieuPrincipal")));
    auto *profondeur = qobject_cast<QLineEdit *>(fiche.champ(QStringLiteral("profDebut")));
    ASSERT_TRUE(producteur && lieu && profondeur);
    EXPECT_EQ(producteur->codeSelectionne(), QStringLiteral("4242"));
    EXPECT_EQ(lieu->codeSelectionne(), QStringLiteral("Z"));
    EXPECT_EQ(profondeur->text(), QStringLiteral("12,5"));
    EXPECT_FALSE(fiche.estModifiee());

    profondeur->clear();
    QTest::keyClicks(profondeur, QStringLiteral("7,x25"));
    qobject_cast<QLineEdit *>(fiche.champ(QStringLiteral("Operateur")))->setText("Paul");
    EXPECT_TRUE(fiche.estModifiee());
    controle<QAction>(&fiche, "CmdEnregistrer")->trigger();
    EXPECT_EQ(messages().textes(),
              QStringList({"Enregistrement de la fiche du prélèvement terminé."}));
    EXPECT_EQ(lignes("SELECT CodeProducteurPrincipal, CodeLieuPrincipal, Operateur, profDebut "
                     "FROM PRELEVEMENTS"),
              QStringList({"4242|Z|Paul|7.25"}));
    EXPECT_EQ(profondeur->text(), QStringLiteral("7,25"));
    EXPECT_FALSE(fiche.estModifiee());
}

// The options of the follow-up table as the user sets them: the newest-first order (from the
// display setting, then the box), values below quantification left out, a wrong period refused.
TEST_P(PrelevementSuiviEcranTest, SuiviOptionsEtPeriode)
{
    ASSERT_TRUE(creerTableAnalyses(QStringLiteral("BSS001")));
    for (const char *sql : {
             "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut) VALUES (0, 1, "
             "#03/01/2021#)",
             "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut) VALUES (1, 1, "
             "#06/01/2021#)",
             "INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, CodeQualitometre, "
             "CodeParametre, CodeUnite, Resultat, CodeRemarque) VALUES (0, 0, 1, '1340', '162', "
             "0.5, '10')",
             "INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, CodeQualitometre, "
             "CodeParametre, CodeUnite, Resultat, CodeRemarque) VALUES (0, 1, 1, '1340', '162', "
             "300, '3')",
         })
        ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
    ecrireRegistre(reglage::AffichageChronologiqueInverse, QStringLiteral("OUI"));
    SuiviPhysicoChmique suivi(QStringLiteral("1"));
    suivi.resize(900, 500);
    suivi.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&suivi));
    auto colonnes = [&suivi] {
        QStringList r;
        const QAbstractItemModel *grille = suivi.SprSuivi->model();
        for (int c = 2; c < grille->columnCount(); ++c)
            r << grille->headerData(c, Qt::Horizontal).toString() + u'=' +
                     grille->index(0, c).data().toString();
        return r;
    };
    EXPECT_TRUE(suivi.ChkInverse->isChecked());
    EXPECT_EQ(colonnes(), QStringList({"01/06/2021 (1)=>300", "01/03/2021 (0)=<0.5"}));
    capturer(suivi, QStringLiteral("SuiviPhysicoChmique_inverse"));
    suivi.ChkInverse->click();
    EXPECT_EQ(colonnes(), QStringList({"01/03/2021 (0)=<0.5", "01/06/2021 (1)=>300"}));
    suivi.ChkQuantification->click();
    EXPECT_EQ(colonnes(), QStringList({"01/06/2021 (1)=>300"}));
    suivi.ChkQuantification->click();

    QTest::keyClicks(suivi.TxtDateFin, QStringLiteral("31/04/2021"));
    suivi.CmdActualiser->click();
    EXPECT_EQ(recus(), QStringList({"ERREUR: La date de fin de la période n'est pas correcte."}));
    EXPECT_EQ(suivi.SprSuivi->model()->columnCount(), 2);
    suivi.TxtDateFin->clear();
    QTest::keyClicks(suivi.TxtDateFin, QStringLiteral("30/04/2021"));
    suivi.CmdActualiser->click();
    EXPECT_TRUE(recus().isEmpty());
    EXPECT_EQ(colonnes(), QStringList({"01/03/2021 (0)=<0.5"}));
}

TEST_P(PrelevementSuiviEcranTest, ListeDesUnites)
{
    ListeReferentielAnalyses ecran(Referentiel::Unite);
    ecran.resize(1000, 650);
    ecran.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ecran));
    EXPECT_EQ(ecran.actionOutils()->text(), QStringLiteral("Importer une liste d'unités"));
    ASSERT_NE(ecran.actionPurger(), nullptr);
    EXPECT_EQ(ecran.actionRemplacer(), nullptr);
    const int avant = ecran.grille()->nbLignes();
    ecran.actionInserer()->trigger();
    auto *code = qobject_cast<QLineEdit *>(ecran.controle(QStringLiteral("Code")));
    ASSERT_NE(code, nullptr);
    QTest::keyClicks(code, QStringLiteral("48"));
    QTest::keyClicks(qobject_cast<QLineEdit *>(ecran.controle(QStringLiteral("Symbole"))),
                     QStringLiteral("µg/L"));
    qobject_cast<ComboCodee *>(ecran.controle(QStringLiteral("Statut")))
        ->selectionnerCode(QStringLiteral("2"));
    ecran.actionEnregistrer()->trigger();
    EXPECT_EQ(messages().textes(), QStringList({"Enregistrement de la fiche de l'unité terminé."}));
    EXPECT_EQ(ecran.grille()->nbLignes(), avant + 1);
    EXPECT_TRUE(code->isReadOnly());
    EXPECT_EQ(lignes(QStringLiteral("SELECT Symbole, Statut FROM ANALYSES_UNITES WHERE Code='48'")),
              QStringList({"µg/L|2"}));
    capturer(ecran, QStringLiteral("ListeUnites"));
    messages().vider();
    messages().repondre(BoutonOui);
    ecran.actionSupprimer()->trigger();
    EXPECT_EQ(messages().textes(),
              QStringList({"Voulez vous supprimer l'unité 48 ?", "L'unité a été supprimée."}));
    EXPECT_EQ(ecran.grille()->nbLignes(), avant);
}

VYK_SUR_LES_DEUX_MOTEURS(PrelevementSuiviEcranTest);

} // namespace
