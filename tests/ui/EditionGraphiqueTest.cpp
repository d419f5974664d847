#include "ui/quality/EditionGraphique.h"
#include "db/BaseDonnees.h"
#include "schema/TableAnalyses.h"
#include "ui/import/FrmExportPaquet.h"
#include "ui/monitoring/SuiviPhysicoChmique.h"

#include "support/EcranTest.h"

#include <QChart>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>

using namespace vyk;
using namespace vyk::test;

namespace {

// The tooltip says where a point comes from; the nearest point in time is the one hovered.
TEST(InfoBulleGraphique, DateValeurRemarqueUnitePrelevement)
{
    SerieGraphique s;
    s.codeBSS = "B1";
    s.parametre = "1340";
    s.nomParametre = "Nitrates";
    s.unite = "162";
    s.symbole = "mg(NO3)/L";
    const QDateTime d1(QDate(2021, 3, 1), QTime(0, 0));
    const QDateTime d2(QDate(2021, 3, 10), QTime(9, 15));
    s.points = {{d1, 12.5, 12.5, "1", 4, false}, {d2, 2, 1, "10", 5, true}};
    EXPECT_EQ(texteInfoBulle(s, s.points[0]),
              "B1 - Nitrates\nDate : 01/03/2021\nValeur : 12.5 mg(NO3)/L\nRemarque : 1\n"
              "Unité : 162\nPrélèvement : 4");
    EXPECT_EQ(texteInfoBulle(s, s.points[1]),
              "B1 - Nitrates\nDate : 10/03/2021 09:15\nValeur : <2 mg(NO3)/L\nRemarque : 10\n"
              "Unité : 162\nPrélèvement : 5\nTracé à : 1");
    const qint64 t1 = d1.toMSecsSinceEpoch(), t2 = d2.toMSecsSinceEpoch();
    EXPECT_EQ(pointProche(s, t1 - 1000)->prelevement, 4);
    EXPECT_EQ(pointProche(s, t1 + (t2 - t1) / 3)->prelevement, 4);
    EXPECT_EQ(pointProche(s, t2 - (t2 - t1) / 3)->prelevement, 5);
    EXPECT_EQ(pointProche(s, t2 + 1)->prelevement, 5);
    EXPECT_EQ(pointProche(SerieGraphique{}, t1), nullptr);
}

// B1: nitrates (mg/L) and temperature (°C) on two dates, one nitrate below its limit; B2:
// nitrates once.
class EditionGraphiqueTest : public EcranTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_ECRAN();
        for (const char *s : {"B1", "B2"})
            ASSERT_TRUE(creerTableAnalyses(QString::fromLatin1(s)));
        for (const char *sql : {
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (1, 'B1', "
                 "'Amont')",
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (2, 'B2', "
                 "'Aval')",
                 "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut) VALUES "
                 "(0, 1, #03/01/2021#), (1, 1, #04/01/2021#), (2, 2, #03/15/2021#)",
                 "INSERT INTO ANALYSES_B1 (NumAnalyse, NumPrelevement, CodeQualitometre, "
                 "CodeParametre, CodeUnite, Resultat, CodeRemarque) VALUES (0, 0, 1, '1340', "
                 "'162', 30, '1'), (1, 0, 1, '1301', '27', 11, '1'), (0, 1, 1, '1340', '162', 2, "
                 "'10'), (1, 1, 1, '1301', '27', 14, '1')",
                 "INSERT INTO ANALYSES_B2 (NumAnalyse, NumPrelevement, CodeQualitometre, "
                 "CodeParametre, CodeUnite, Resultat, CodeRemarque) VALUES (0, 2, 2, '1340', "
                 "'162', 8, '1')",
             })
            ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
    }

    static qint64 ms(int mois, int jour)
    {
        return QDateTime(QDate(2021, mois, jour), QTime(0, 0)).toMSecsSinceEpoch();
    }
};

// One station, one parameter: the series the core hands, a tooltip on a hovered point and the
// chart exported at the size asked.
TEST_P(EditionGraphiqueTest, UnParametreInfoBulleEtExport)
{
    DemandeGraphique d;
    d.stations = {{1, "B1"}};
    d.parametres = {"1340"};
    EditionGraphique ecran(d);
    ASSERT_EQ(ecran.contenu().axes.size(), 1);
    const SerieGraphique &s = ecran.contenu().axes[0].series[0];
    ASSERT_EQ(s.points.size(), 2);
    EXPECT_FALSE(s.points[0].censure);
    EXPECT_TRUE(s.points[1].censure);
    EXPECT_EQ(ecran.contenu().titre, "B1 - 1340");
    ecran.survoler(0, 0, ms(4, 1) + 3600000, true);
    EXPECT_TRUE(ecran.infoBulle().contains("Date : 01/04/2021\nValeur : <2 "))
        << qPrintable(ecran.infoBulle());
    ecran.survoler(0, 0, ms(4, 1), false);
    EXPECT_EQ(ecran.infoBulle(), "");

    const QString png = chemin("graphique.png");
    ASSERT_TRUE(ecran.exporter(png, QSize(640, 480)));
    EXPECT_EQ(QImage(png).size(), QSize(640, 480));
    EXPECT_FALSE(ecran.exporter(chemin("graphique.bmp"), QSize(640, 480)));
    EXPECT_EQ(recus().size(), 1);
    EXPECT_FALSE(QFile::exists(chemin("graphique.bmp")));
}

// Several stations superposed on one axis; two parameters of other units on two axes; an
// unknown station or a bad date is refused with its message and the chart kept.
TEST_P(EditionGraphiqueTest, StationsSuperposeesEtDeuxAxes)
{
    EditionGraphique ecran;
    ecran.TxtStations->setText("B1, B2");
    ecran.TxtParametres->setText("1340");
    ASSERT_TRUE(ecran.tracer()) << qPrintable(recus().join('\n'));
    ASSERT_EQ(ecran.contenu().axes.size(), 1);
    ASSERT_EQ(ecran.contenu().axes[0].series.size(), 2);
    EXPECT_EQ(ecran.contenu().axes[0].series[1].codeBSS, "B2");
    EXPECT_EQ(ecran.contenu().titre, "B1, B2 - 1340");

    ecran.TxtStations->setText("B1");
    ecran.TxtParametres->setText("1340, 1301");
    ASSERT_TRUE(ecran.tracer());
    ASSERT_EQ(ecran.contenu().axes.size(), 2);
    EXPECT_EQ(ecran.contenu().axes[1].unite, "27");
    EXPECT_EQ(ecran.graphique()->axes(Qt::Vertical).size(), 2);

    ecran.TxtStations->setText("B1, NULLE");
    EXPECT_FALSE(ecran.tracer());
    ecran.TxtStations->setText("B1");
    ecran.TxtDateDebut->setText("31/02/2021");
    EXPECT_FALSE(ecran.tracer());
    EXPECT_EQ(recus(), QStringList({"ERREUR: La station « NULLE » n'existe pas.",
                                    "ERREUR: La date de début de la période n'est pas correcte."}));
    EXPECT_EQ(ecran.contenu().axes.size(), 2);
}

// The follow-up table charts the parameters of its selected rows over its period.
TEST_P(EditionGraphiqueTest, LeSuiviOuvreLeGraphiqueDesLignesChoisies)
{
    SuiviPhysicoChmique suivi("1");
    QTableView *grille = suivi.SprSuivi;
    ASSERT_EQ(grille->model()->rowCount(), 2);
    EXPECT_EQ(suivi.graphique(), nullptr);
    grille->selectRow(0);
    grille->selectionModel()->select(grille->model()->index(1, 0),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    std::unique_ptr<QWidget> fenetre(suivi.graphique());
    auto *graphique = qobject_cast<EditionGraphique *>(fenetre.get());
    ASSERT_NE(graphique, nullptr);
    EXPECT_EQ(graphique->contenu().axes.size(), 2);
    EXPECT_EQ(graphique->TxtStations->text(), "B1");
}

// The package screen writes the ticked stations; without a file it says so.
TEST_P(EditionGraphiqueTest, EcranExportPaquet)
{
    FrmExportPaquet ecran;
    ASSERT_EQ(ecran.SprStations->count(), 2);
    EXPECT_EQ(ecran.SprStations->item(0)->text(), "B1 - Amont");
    ecran.cocher({"B2"});
    EXPECT_EQ(ecran.stationsCochees(), QStringList({"B2"}));
    EXPECT_FALSE(ecran.exporter());
    EXPECT_EQ(recus(), QStringList({"AIDE: Choisissez le fichier du paquet."}));
    ecran.TxtFichier->setText(chemin("b2"));
    ASSERT_TRUE(ecran.exporter()) << qPrintable(recus().join('\n'));
    EXPECT_TRUE(QFile::exists(chemin("b2.vyk")));
    EXPECT_EQ(recus(), QStringList({"AIDE: Paquet écrit : 1 station(s), 1 prélèvement(s), 1 "
                                    "analyse(s), 0 ligne(s) de référentiel"}));
}

VYK_SUR_LES_DEUX_MOTEURS(EditionGraphiqueTest);

} // namespace
