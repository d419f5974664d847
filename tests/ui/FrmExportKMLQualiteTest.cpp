#include "ui/carto/FrmExportKMLQualite.h"
#include "carto/ExportKml.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"
#include "ui/widgets/ComboCodee.h"

#include "support/BaseTest.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class FrmExportKMLQualiteTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(verifierVersionBase(versionProgramme()));
        for (const char *sql : {
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (1, 'S1', "
                 "'Paris')",
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (2, 'S2', "
                 "'Nantes')",
                 "INSERT INTO QUALITOMETRE_LOCALISATIONS (CodeQualitometre, CodeProjection, X, Y) "
                 "VALUES (1, 26, 652469.02, 6862035.26)",
             })
            ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
        ecran = std::make_unique<FrmExportKMLQualite>();
        ecran->show();
    }
    void TearDown() override
    {
        ecran.reset();
        BaseTest::TearDown();
    }
    template <typename T> T *controle(const QString &nom)
    {
        T *c = ecran->findChild<T *>(nom);
        EXPECT_NE(c, nullptr) << qPrintable(nom);
        return c;
    }
    void cliquer(const char *nom) { controle<QPushButton>(QString::fromLatin1(nom))->click(); }
    std::unique_ptr<FrmExportKMLQualite> ecran;
    QTemporaryDir dossier;
};

TEST_P(FrmExportKMLQualiteTest, ControlesPuisExportEtEnregistrement)
{
    auto *projection = controle<ComboCodee>(QStringLiteral("ChampCodeProjection"));
    // Seeded on a new database: never an empty box.
    EXPECT_GE(projection->indexCode(QStringLiteral("26")), 1);
    cliquer("CmdExporter");
    EXPECT_EQ(recus(), QStringList{"AIDE: Le nom de l'export n'est pas renseigné. Merci de le "
                                   "compléter."});
    controle<QLineEdit>(QStringLiteral("ChampNom"))->setText(QStringLiteral("Bassin"));
    cliquer("CmdExporter");
    EXPECT_EQ(recus(), QStringList{"AIDE: Sélectionnez une projection pour pouvoir générer le "
                                   "fichier KML."});
    ASSERT_TRUE(projection->selectionnerCode(QStringLiteral("26")));
    cliquer("CmdExporter");
    EXPECT_EQ(recus(), QStringList{"AIDE: Ajoutez au minimum une station à la liste pour pouvoir "
                                   "générer le fichier KML."});

    controle<QLineEdit>(QStringLiteral("TxtStations"))->setText(QStringLiteral("S2, S9 S1"));
    cliquer("CmdAjouterStations");
    EXPECT_EQ(recus(), QStringList{"AIDE: Le qualitomètre S9 n'existe pas."});
    auto *stations = controle<QTableWidget>(QStringLiteral("SprStations"));
    ASSERT_EQ(stations->rowCount(), 2);
    // S1 first.
    stations->selectRow(1);
    cliquer("CmdMonter");
    EXPECT_EQ(stations->item(0, 0)->text() + stations->item(1, 0)->text(), QStringLiteral("S1S2"));

    controle<QCheckBox>(QStringLiteral("ChampExportKml"))->setChecked(true);
    controle<QCheckBox>(QStringLiteral("ChampExportSite"))->setChecked(true);
    controle<QLineEdit>(QStringLiteral("TxtDossier"))->setText(dossier.path());
    cliquer("CmdEnregistrer");
    EXPECT_EQ(recus(), QStringList{"AIDE: La liste d'export a été enregistrée."});
    auto *listes = controle<QListWidget>(QStringLiteral("LstListes"));
    ASSERT_EQ(listes->count(), 1);
    EXPECT_EQ(listes->item(0)->text(), QStringLiteral("1 - Bassin"));

    cliquer("CmdExporter");
    EXPECT_EQ(recus(),
              QStringList{"AIDE: Exportation terminée : 1 qualitomètre(s) non placé(s) sur la "
                          "carte :\nS2 - Nantes : pas de coordonnées dans la projection 26."});
    QFile f(dossier.filePath(QStringLiteral("Export_1.kml")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray kml = f.readAll();
    EXPECT_TRUE(kml.contains("<name>S1 - Paris</name>"));
    // The Lambert-93 figures of 2.3522 E, 48.8566 N, to the centimetre.
    EXPECT_TRUE(kml.contains("<coordinates>2.3522,48.8566</coordinates>")) << kml.constData();

    // A new list, then the saved one again, as it was saved.
    cliquer("CmdNouvelle");
    EXPECT_EQ(controle<QLineEdit>(QStringLiteral("ChampNom"))->text(), QString());
    listes->setCurrentRow(-1);
    listes->setCurrentRow(0);
    EXPECT_EQ(controle<QLineEdit>(QStringLiteral("ChampNom"))->text(), QStringLiteral("Bassin"));
    EXPECT_EQ(stations->rowCount(), 2);
    cliquer("CmdSupprimer");
    EXPECT_EQ(recus(), QStringList{"AIDE: La liste d'export a été supprimée."});
    EXPECT_EQ(listes->count(), 0);
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(FrmExportKMLQualiteTest);
