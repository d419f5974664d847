#include "db/Session.h"
#include "monitoring/ListeTaxonsOperation.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"
#include "ui/monitoring/FicheOperations.h"
#include "ui/monitoring/FicheQualitometre.h"
#include "ui/monitoring/FicheSelectionTaxons.h"
#include "ui/monitoring/FrmQualitometresPoints.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/GrilleDonnees.h"
#include "ui/widgets/GrilleSaisie.h"

#include "support/EcranTest.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

using namespace vyk;
using namespace vyk::test;

namespace {

class OperationsHydrobioGuiTest : public EcranTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_ECRAN();
        ASSERT_TRUE(executer(QStringLiteral(
            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, DateCreation, typeStation) "
            "VALUES (1, 'V1', 'La Vienne à Lussac', #05/01/2012#, '1')")));
        for (const char *t : {"INSERT INTO TAXONS (codeTaxon, nomLatin, nomCommun, actif, theme) "
                              "VALUES ('363', 'Baetis', 'Éphémère', "
                              "'1', 3)",
                              "INSERT INTO TAXONS (codeTaxon, nomLatin, actif, theme) VALUES "
                              "('364', 'Baetis rhodani', '1', 3)",
                              "INSERT INTO TAXONS (codeTaxon, nomLatin, actif, theme) VALUES "
                              "('892', 'Gammarus', '1', 3)"})
            ASSERT_TRUE(executer(QString::fromUtf8(t)));
    }
};

TEST_P(OperationsHydrobioGuiTest, PointOperationEtListeDeTaxonsParLeSelecteur)
{
    // The station card leads to its points.
    FicheQualitometre carte;
    ASSERT_TRUE(carte.charger(1));
    QSignalSpy points(&carte, &FicheQualitometre::pointsDemandes);
    controle<QPushButton>(&carte, QStringLiteral("CmdPoints"))->click();
    ASSERT_EQ(points.size(), 1);
    EXPECT_EQ(points[0][0].toLongLong(), 1);

    // A point "131", dated before the station: its captions follow the identifier.
    FrmQualitometresPoints ecranPoints(1);
    ecranPoints.resize(1000, 700);
    ecranPoints.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ecranPoints));
    auto champPoint = [&ecranPoints](const char *colonne) {
        return ecranPoints.champ(QLatin1String(colonne));
    };
    auto *site = qobject_cast<ComboCodee *>(champPoint("identifiant"));
    ASSERT_NE(site, nullptr);
    ASSERT_TRUE(site->selectionnerCode(QStringLiteral("131")));
    ASSERT_NE(ecranPoints.libelle(QStringLiteral("largeurDebit")), nullptr);
    EXPECT_EQ(ecranPoints.libelle(QStringLiteral("largeurDebit"))->text(),
              QStringLiteral("Largeur au débit de plein bord (m) :"));
    EXPECT_FALSE(champPoint("profDebut")->isVisible());
    QTest::keyClicks(champPoint("nom"), QStringLiteral("Radier du moulin"));
    QTest::keyClicks(champPoint("dateDebut"), QStringLiteral("01/04/2010"));
    QTest::keyClicks(champPoint("largeurDebit"), QStringLiteral("12,5"));
    controle<QPushButton>(&ecranPoints, QStringLiteral("CmdEnregistrer"))->click();
    EXPECT_EQ(dernier(),
              QStringLiteral("Enregistrement de la fiche du point de prélèvement terminé."));
    EXPECT_EQ(ecranPoints.grillePoints()->nbLignes(), 1);
    EXPECT_EQ(lignes(QStringLiteral("SELECT codePoint, identifiant, nom, dateDebut, largeurDebit "
                                    "FROM QUALITOMETRES_POINTS")),
              QStringList({"0|131|Radier du moulin|01/04/2010|12.5"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT dateCreation FROM QUALITOMETRES")),
              QStringList({"01/04/2010"}));
    capturer(ecranPoints, QStringLiteral("frmQualitometresPoints"));
    QSignalSpy operations(&ecranPoints, &FrmQualitometresPoints::operationsDemandees);
    controle<QPushButton>(&ecranPoints, QStringLiteral("CmdOperations"))->click();
    ASSERT_EQ(operations.size(), 1);
    EXPECT_EQ(operations[0][1].toLongLong(), 0);

    // An operation at that point.
    FicheOperations fiche(1, 0);
    fiche.resize(1150, 800);
    fiche.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fiche));
    auto *grilleOperations = controle<GrilleDonnees>(&fiche, "SprOperations");
    auto *cmdPrelevement = controle<QPushButton>(&fiche, "CmdPrelevement");
    auto *onglets = controle<QTabWidget>(&fiche, "Onglets");
    auto *recouvrements = controle<GrilleSaisie>(&fiche, "SprRecouvrements");
    auto *taxons = controle<GrilleSaisie>(&fiche, "SprTaxons");
    ASSERT_TRUE(grilleOperations && cmdPrelevement && onglets && recouvrements && taxons);
    EXPECT_EQ(grilleOperations->nbLignes(), 0);
    EXPECT_FALSE(cmdPrelevement->isEnabled()); // no operation saved yet
    controle<QPushButton>(&fiche, QStringLiteral("CmdEnregistrer_taxons"))->click();
    EXPECT_EQ(
        dernier(),
        QStringLiteral(
            "Vous devez d'abord enregistrer l'opération ou sélectionner une opération existante."));
    auto *date = qobject_cast<QLineEdit *>(fiche.champ(QStringLiteral("dateDebut")));
    ASSERT_NE(date, nullptr);
    date->clear();
    QTest::keyClicks(date, QStringLiteral("15/06/2021"));
    QTest::keyClicks(qobject_cast<QLineEdit *>(fiche.champ(QStringLiteral("heureDebut"))),
                     QStringLiteral("10:30"));
    EXPECT_EQ(
        qobject_cast<ComboCodee *>(fiche.champ(QStringLiteral("codePoint")))->codeSelectionne(),
        QStringLiteral("0"));
    controle<QPushButton>(&fiche, "CmdEnregistrer")->click();
    EXPECT_EQ(dernier(), QStringLiteral("Enregistrement de l'opération terminé."));
    ASSERT_EQ(grilleOperations->nbLignes(), 1);
    EXPECT_EQ(fiche.codeOperation(), QStringLiteral("0"));
    capturer(fiche, QStringLiteral("FicheOperations"));
    // Its sample opens from here, analyses or not.
    QSignalSpy prelevement(&fiche, &FicheOperations::prelevementDemande);
    ASSERT_TRUE(cmdPrelevement->isEnabled());
    cmdPrelevement->click();
    ASSERT_EQ(prelevement.size(), 1);
    EXPECT_EQ(prelevement[0][0].toLongLong(), 1);
    EXPECT_EQ(prelevement[0][1].toString(), QStringLiteral("0"));

    // Covers of 99 % are refused, then corrected.
    onglets->setCurrentIndex(onglets->indexOf(recouvrements->parentWidget()));
    saisir(recouvrements, 0, 2, QStringLiteral("60"));
    saisir(recouvrements, 4, 2, QStringLiteral("39"));
    controle<QPushButton>(&fiche, QStringLiteral("CmdEnregistrer_recouvrements"))->click();
    EXPECT_EQ(dernier(), QStringLiteral("Le total des recouvrements n'est pas égal à 100%."));
    saisir(recouvrements, 4, 2, QStringLiteral("40"));
    controle<QPushButton>(&fiche, QStringLiteral("CmdEnregistrer_recouvrements"))->click();
    EXPECT_EQ(dernier(), QStringLiteral("Enregistrement des recouvrements terminé."));
    capturer(fiche, QStringLiteral("FicheOperations_recouvrements"));

    // The taxa list through the picker.
    onglets->setCurrentIndex(onglets->indexOf(taxons->parentWidget()));
    controle<QPushButton>(&fiche, QStringLiteral("CmdAjouter_taxons"))->click();
    FicheSelectionTaxons *selection = fiche.selectionTaxons();
    ASSERT_NE(selection, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(selection));
    auto *rechercher = controle<QPushButton>(selection, QStringLiteral("CmdRechercher"));
    auto *ajouter = controle<QPushButton>(selection, QStringLiteral("CmdAjouter"));
    auto *resultats = controle<GrilleDonnees>(selection, QStringLiteral("SprResultats"));
    ASSERT_TRUE(rechercher && ajouter && resultats);
    rechercher->click();
    EXPECT_EQ(dernier(), QStringLiteral("Merci de renseigner au minimum le thème ainsi que le nom "
                                        "ou la famille avant de lancer la "
                                        "recherche"));
    ASSERT_TRUE(controle<ComboCodee>(selection, QStringLiteral("CboTheme"))
                    ->selectionnerCode(QStringLiteral("3")));
    QTest::keyClicks(controle<QLineEdit>(selection, QStringLiteral("TxtRecherche")),
                     QStringLiteral("baetis|gamm"));
    rechercher->click();
    ASSERT_EQ(resultats->nbLignes(), 3);
    capturer(*selection, QStringLiteral("FicheSelectionTaxons"));
    for (int l = 0; l < 3; ++l) {
        if (resultats->texte(l, 1) == QLatin1String("Baetis rhodani")) continue;
        resultats->selectionnerLigne(l);
        ajouter->click();
    }
    ajouter->click(); // the same taxon twice is kept once
    EXPECT_EQ(controle<QListWidget>(selection, QStringLiteral("LstChoisis"))->count(), 2);
    controle<QPushButton>(selection, QStringLiteral("CmdValider"))->click();
    ASSERT_EQ(taxons->rowCount(), 2);
    QStringList codes{taxons->texte(0, 1), taxons->texte(1, 1)};
    codes.sort();
    EXPECT_EQ(codes, QStringList({"363", "892"}));
    EXPECT_EQ(taxons->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("A"));
    const int gammarus = taxons->texte(0, 1) == QLatin1String("892") ? 0 : 1;
    saisir(taxons, 1 - gammarus, 2, QStringLiteral("14"));
    saisir(taxons, gammarus, 3, QStringLiteral("3"));
    controle<QLineEdit>(&fiche, "TxtNomListe")->setText(QStringLiteral("Liste faunistique"));
    controle<QCheckBox>(&fiche, "ChkMicroPrelevement")->setChecked(true);
    capturer(fiche, QStringLiteral("FicheOperations_taxons"));
    controle<QPushButton>(&fiche, QStringLiteral("CmdEnregistrer_taxons"))->click();
    EXPECT_EQ(dernier(), QStringLiteral("Enregistrement des taxons terminé."));
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeTaxon, denombrementA, denombrementB FROM "
                                    "QUALITOMETRES_LISTE_1 ORDER BY codeTaxon")),
              QStringList({"363|14|", "892||3"}));

    // Read back by a new card.
    FicheOperations relue(1);
    relue.show();
    auto *operationsRelues = controle<GrilleDonnees>(&relue, "SprOperations");
    auto *taxonsRelus = controle<GrilleSaisie>(&relue, "SprTaxons");
    ASSERT_TRUE(operationsRelues && taxonsRelus);
    ASSERT_EQ(operationsRelues->nbLignes(), 1);
    operationsRelues->selectionnerLigne(0);
    EXPECT_EQ(relue.codeOperation(), QStringLiteral("0"));
    EXPECT_EQ(qobject_cast<QLineEdit *>(relue.champ(QStringLiteral("heureDebut")))->text(),
              QStringLiteral("10:30"));
    ASSERT_EQ(taxonsRelus->rowCount(), 2);
    EXPECT_EQ(controle<QLineEdit>(&relue, "TxtNomListe")->text(),
              QStringLiteral("Liste faunistique"));
    EXPECT_TRUE(controle<QCheckBox>(&relue, "ChkMicroPrelevement")->isChecked());
    QStringList lues;
    for (int l = 0; l < 2; ++l)
        lues << taxonsRelus->texte(l, 0) + u'|' + taxonsRelus->texte(l, 2) + u'|' +
                    taxonsRelus->texte(l, 3);
    lues.sort();
    EXPECT_EQ(lues, QStringList({"Baetis|14|", "Gammarus||3"}));
    EXPECT_EQ(controle<GrilleSaisie>(&relue, "SprRecouvrements")->texte(4, 2),
              QStringLiteral("40"));

    // The point now has an operation: it stays.
    ecranPoints.grillePoints()->selectionnerLigne(0);
    controle<QPushButton>(&ecranPoints, QStringLiteral("CmdSupprimer"))->click();
    EXPECT_TRUE(dernier().startsWith(QStringLiteral("le site possède des opérations")));
}

VYK_SUR_LES_DEUX_MOTEURS(OperationsHydrobioGuiTest);

} // namespace
