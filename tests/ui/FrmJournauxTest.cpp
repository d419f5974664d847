#include "ui/monitoring/FrmJournaux.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class FrmJournauxTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        if (IsSkipped()) return;
        ASSERT_TRUE(verifierVersionBase(versionProgramme()));
        const char *lignes[] = {
            "INSERT INTO COMMUNES (CodeCommune, Nom) VALUES ('01004', 'Ambérieu')",
            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, CodeCommune) VALUES (1, "
            "'S1', 'Amont', 1004)",
            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (2, 'S2', 'Aval')",
            "INSERT INTO CONTACTS (CodeContact, Nom) VALUES (5, 'Martin')",
            "INSERT INTO EVENEMENTS_QUALITO (CodeQualitometre, Numero, DateEvenement, "
            "heureEvenement, type, probleme, Volt, codeContact) "
            "VALUES (1, 1, #03/10/2021#, #12/30/1899 09:15:00#, 'G', 'fuite', 12.6, 5)",
            "INSERT INTO EVENEMENTS_QUALITO (CodeQualitometre, Numero, DateEvenement, type) VALUES "
            "(1, 2, #06/15/2021#, 'M')",
            "INSERT INTO EVENEMENTS_QUALITO (CodeQualitometre, Numero, DateEvenement, type, "
            "codeContact) VALUES (2, 1, #05/20/2021#, 'G', 5)",
        };
        for (const char *l : lignes)
            ASSERT_TRUE(executer(QString::fromUtf8(l))) << l;
        ecran = std::make_unique<FrmJournaux>();
        ecran->show();
    }
    void TearDown() override
    {
        ecran.reset();
        BaseTest::TearDown();
    }
    template <typename T> T *controle(const char *nom)
    {
        T *c = ecran->findChild<T *>(QString::fromLatin1(nom));
        EXPECT_NE(c, nullptr) << nom;
        return c;
    }
    void cocher(const QString &codeBSS)
    {
        auto *spr = controle<QTableWidget>("SprStations");
        for (int l = 0; l < spr->rowCount(); ++l)
            if (spr->item(l, 0)->text() == codeBSS) spr->item(l, 0)->setCheckState(Qt::Checked);
    }
    QStringList grille()
    {
        auto *spr = controle<QTableWidget>("SprEvenements");
        QStringList r;
        for (int l = 0; l < spr->rowCount(); ++l)
            r << spr->item(l, 0)->text() + u' ' + spr->item(l, 3)->text() + u' ' +
                     spr->item(l, 5)->text();
        return r;
    }
    std::unique_ptr<FrmJournaux> ecran;
};

TEST_P(FrmJournauxTest, ChargementDesEvenementsDesStationsCochees)
{
    controle<QPushButton>("CmdCharger")->click();
    ASSERT_EQ(messages().messages().size(), 1);
    EXPECT_EQ(messages().messages()[0].genre, QStringLiteral("ERREUR"));
    EXPECT_EQ(messages().messages()[0].texte,
              QStringLiteral("Sélectionnez au moins un qualitomètre."));

    auto *contacts = controle<QComboBox>("CboContact");
    ASSERT_EQ(contacts->count(), 2);
    EXPECT_EQ(contacts->itemText(0), QStringLiteral("Tous les éléments [*]"));
    EXPECT_EQ(contacts->itemText(1), QStringLiteral("Martin [5]"));

    cocher("S1");
    cocher("S2");
    controle<QPushButton>("CmdCharger")->click();
    EXPECT_EQ(grille(), QStringList({"S1 15/06/2021 Maintenance", "S1 10/03/2021 Gestion",
                                     "S2 20/05/2021 Gestion"}));
    EXPECT_EQ(controle<QLabel>("LblNombre")->text(), QStringLiteral("3 événement(s)"));
    auto *spr = controle<QTableWidget>("SprEvenements");
    EXPECT_EQ(spr->horizontalHeaderItem(19)->text(), QStringLiteral("Référent"));
    EXPECT_EQ(spr->item(1, 2)->text(), QStringLiteral("Ambérieu"));
    EXPECT_EQ(spr->item(1, 4)->text(), QStringLiteral("09:15"));
    EXPECT_EQ(spr->item(1, 19)->text(), QStringLiteral("Martin"));

    controle<QCheckBox>("ChkGestion")->setChecked(true);
    contacts->setCurrentIndex(1);
    controle<QLineEdit>("TxtDateDebut")->setText("01/04/2021");
    controle<QPushButton>("CmdCharger")->click();
    EXPECT_EQ(grille(), QStringList({"S2 20/05/2021 Gestion"}));

    controle<QLineEdit>("TxtDateFin")->setText("32/13/2021");
    controle<QPushButton>("CmdCharger")->click();
    EXPECT_EQ(messages().messages().last().texte,
              QStringLiteral("La date de fin n'est pas au format jj/mm/aaaa."));
    EXPECT_EQ(grille(), QStringList({"S2 20/05/2021 Gestion"}));

    if (qEnvironmentVariableIsSet("VYK_CAPTURES")) {
        controle<QLineEdit>("TxtDateFin")->clear();
        controle<QLineEdit>("TxtDateDebut")->clear();
        controle<QCheckBox>("ChkGestion")->setChecked(false);
        contacts->setCurrentIndex(0);
        controle<QPushButton>("CmdCharger")->click();
        ecran->grab().save(QDir(qEnvironmentVariable("VYK_CAPTURES")).filePath("FrmJournaux.png"));
    }
}

TEST_P(FrmJournauxTest, FiltreDesStationsEtExport)
{
    controle<QLineEdit>("TxtFiltre")->setText("aval");
    controle<QPushButton>("CmdToutes")->click();
    controle<QLineEdit>("TxtFiltre")->clear();
    EXPECT_EQ(ecran->criteres().stations, QStringList({"2"}));

    controle<QPushButton>("CmdExporter")->click();
    EXPECT_EQ(messages().messages().last().texte, QStringLiteral("Aucun événement à exporter."));

    controle<QPushButton>("CmdCharger")->click();
    ASSERT_EQ(ecran->nbEvenements(), 1);
    const QString fichier = chemin("Liste_des_interventions.csv");
    ASSERT_TRUE(ecran->exporter(fichier));
    EXPECT_EQ(messages().messages().last().genre, QStringLiteral("AIDE"));
    EXPECT_EQ(messages().messages().last().texte, "Export terminé : " + fichier);
    QFile f(fichier);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lignes = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
    EXPECT_TRUE(
        lignes[0].startsWith(QStringLiteral("Identifiant;Station;Commune;Date;Heure;Tournée;")));
    EXPECT_EQ(lignes[1], QStringLiteral("S2;Aval;;20/05/2021;;Gestion;;;;;;;;;;;;;;Martin"));
}

VYK_SUR_LES_DEUX_MOTEURS(FrmJournauxTest);

} // namespace
