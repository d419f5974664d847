#include "classeur/Classeur.h"
#include "db/BaseDonnees.h"
#include "schema/TableAnalyses.h"
#include "ui/app/Application.h"
#include "ui/app/FenetrePrincipale.h"
#include "ui/quality/EditionGraphique.h"
#include "ui/search/FrmRechercheDetaillee.h"
#include "ui/search/FrmRecherches.h"
#include "ui/search/ModelesRecherche.h"

#include "support/EcranTest.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QUrl>

using namespace vyk;
using namespace vyk::test;

namespace {

// The cells of a model's row, "|"-joined.
QString rangee(const QAbstractItemModel &m, int ligne)
{
    QStringList c;
    for (int k = 0; k < m.columnCount(); ++k)
        c << m.index(ligne, k).data().toString();
    return c.join(u'|');
}

QString titres(const QAbstractItemModel &m)
{
    QStringList t;
    for (int k = 0; k < m.columnCount(); ++k)
        t << m.headerData(k, Qt::Horizontal).toString();
    return t.join(u'|');
}

// Stations BSS001 (with a WGS84 localisation) and BSS002, threshold type 5 with an ascending
// grid for nitrates and a descending one for oxygen; list NO3 holds nitrates.
class RecherchesGuiTest : public EcranTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_ECRAN();
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("BSS001")));
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("BSS002")));
        for (const char *sql : {
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, her_niveau1) VALUES "
                 "(1, 'BSS001', 'Amont', 5)",
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (2, "
                 "'BSS002', 'Aval')",
                 "INSERT INTO QUALITOMETRE_LOCALISATIONS (CodeQualitometre, CodeProjection, X, Y) "
                 "VALUES (1, 31, 1.5, 43.25)",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "dateDebut, jobExecutionId) VALUES (1, 0, #01/01/2024#, 77)",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "dateDebut) VALUES (2, 0, #01/01/2024#)",
                 "INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES ('SEUILS', 5, 'Usage')",
                 "INSERT INTO ANALYSES_SEUILS (TypeListe, typeSeuil, CodeParametre, CodeUnite, "
                 "Seuil1, Seuil2, Seuil3, Seuil4) VALUES ('0', 5, '1340', '162', 10, 25, 50, 100)",
                 "INSERT INTO ANALYSES_SEUILS (TypeListe, typeSeuil, CodeParametre, Seuil1, "
                 "Seuil2, Seuil3, Seuil4) VALUES ('0', 5, '1311', 8, 6, 4, 3)",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('1340', 'Nitrates')",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('1311', 'Oxygène dissous')",
                 "INSERT INTO ANALYSES_UNITES (Code, Symbole) VALUES ('162', 'mg/L')",
                 "INSERT INTO ANALYSES_SUPPORTS (Code, Nom) VALUES ('3', 'Eau')",
                 "INSERT INTO INTERVENANTS (CodeIntervenant, Nom) VALUES (9, 'Labo Est')",
                 "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS_TITRE (Code, Nom, TypeListe) VALUES "
                 "('NO3', 'Nitrates seuls', 0)",
                 "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, CodeParametre, "
                 "CodeUnite, TypeListe) VALUES ('NO3', 1, '1340', '162', 0)",
                 "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS_TITRE (Code, Nom, TypeListe) VALUES "
                 "('IBG', 'Indices biologiques', 2)",
             })
            ASSERT_TRUE(executer(QString::fromUtf8(sql)))
                << sql << qPrintable(bd().derniereErreur());
        mesure(1, 1, "01/02/2024", "1340", "30");
        mesure(1, 2, "02/02/2024", "1340", "200");
        mesure(1, 3, "03/02/2024", "1340", "0.5", "'10'");
        mesure(1, 4, "03/01/2024", "1311", "2");
        mesure(2, 5, "03/03/2024", "1340", "5");
        // On the end date: left out.
        mesure(2, 6, "12/31/2024", "1340", "99");
    }

    void TearDown() override
    {
        traiterEvenements();
        EcranTest::TearDown();
    }

    // One sample holding one analysis; date MM/DD/YYYY.
    void mesure(int station, int numero, const char *date, const char *parametre,
                const char *resultat, const char *remarque = "NULL")
    {
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO PRELEVEMENTS (NumPrelevement, "
                                            "CodeQualitometre, DateDebut, codeOperation) VALUES "
                                            "(%1, %2, #%3#, 0)")
                                 .arg(numero)
                                 .arg(station)
                                 .arg(QString::fromLatin1(date))));
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO ANALYSES_BSS00%1 (NumAnalyse, "
                                            "NumPrelevement, CodeQualitometre, CodeParametre, "
                                            "CodeUnite, Resultat, CodeRemarque, CodeLabo) VALUES "
                                            "(%2, %2, %1, '%3', '162', %4, %5, 9)")
                                 .arg(station)
                                 .arg(numero)
                                 .arg(QString::fromLatin1(parametre), QString::fromLatin1(resultat),
                                      QString::fromLatin1(remarque))));
    }

    // The screen set for 2024 with threshold type 5, any sampling point.
    static void preparer(FrmRecherches &ecran)
    {
        ecran.TxtDateDebut->setText(QStringLiteral("01/01/2024"));
        ecran.txtDateFin->setText(QStringLiteral("31/12/2024"));
        ASSERT_TRUE(ecran.cboSupports->selectionnerCode(QString()));
        ASSERT_TRUE(ecran.CboSelection->selectionnerCode(QString()));
        ASSERT_TRUE(ecran.CboTypeSeuil->selectionnerCode(QStringLiteral("5")));
    }
};

TEST_P(RecherchesGuiTest, LesControlesFontLaDemande)
{
    FrmRecherches ecran;
    EXPECT_EQ(ecran.windowTitle(), QStringLiteral("Recherche de résultats"));
    EXPECT_EQ(ecran.cboSupports->codeSelectionne(), QStringLiteral("031"));
    EXPECT_EQ(ecran.CboSeuil->currentText(), QStringLiteral("Tout niveau"));
    ASSERT_EQ(ecran.LstStations->count(), 2);
    ecran.LstStations->item(1)->setSelected(true);
    ecran.TxtDateDebut->setText(QStringLiteral(" 01/01/2024 "));
    ASSERT_TRUE(ecran.CboSelection->selectionnerCode(QStringLiteral("NO3")));
    ASSERT_TRUE(ecran.CboParametres->selectionnerCode(QStringLiteral("1311")));
    ASSERT_TRUE(ecran.CboUnites->selectionnerCode(QStringLiteral("162")));
    ASSERT_TRUE(ecran.CboQualification->selectionnerCode(QStringLiteral("1")));
    ASSERT_TRUE(ecran.CboStatut->selectionnerCode(QStringLiteral("2")));
    ASSERT_TRUE(ecran.CboSupport->selectionnerCode(QStringLiteral("3")));
    ASSERT_TRUE(ecran.CboProducteur->selectionnerCode(QStringLiteral("9")));
    ASSERT_TRUE(ecran.CboTypeSeuil->selectionnerCode(QStringLiteral("5")));
    ecran.CboSeuil->setCurrentIndex(9);
    ecran.chkRechercheDetection->setChecked(true);
    const CriteresRecherche c = ecran.criteres();
    EXPECT_EQ(c.dateDebut, QStringLiteral("01/01/2024"));
    EXPECT_EQ(c.dateFin, QString());
    EXPECT_EQ(c.stations, QVector<qint64>({2}));
    EXPECT_EQ(c.selections, QStringList({"NO3"}));
    EXPECT_EQ(QStringList({c.parametre, c.unite, c.qualification, c.statut, c.support, c.producteur,
                           c.typeSeuil, c.pointPrelevement, c.jobExecution})
                  .join(u'|'),
              QStringLiteral("1311|162|1|2|3|9|5|031|"));
    EXPECT_EQ(c.filtreClasse, 9);
    EXPECT_TRUE(c.detectionsSeulement);

    // Index results search index lists; the physico-chemical list is no longer offered.
    ASSERT_TRUE(ecran.cboSupports->selectionnerCode(QStringLiteral("-1")));
    EXPECT_EQ(ecran.CboSelection->indexCode(QStringLiteral("NO3")), -1);
    ASSERT_TRUE(ecran.CboSelection->selectionnerCode(QStringLiteral("IBG")));
    EXPECT_EQ(ecran.criteres().pointPrelevement, QStringLiteral("-1"));
    EXPECT_NE(ecran.cboSupports->indexCode(QStringLiteral("-2")), -1);
}

TEST_P(RecherchesGuiTest, ResultatsClassesEtGrilles)
{
    FrmRecherches ecran;
    EXPECT_FALSE(ecran.CmdExporterResultats->isEnabled());
    preparer(ecran);
    ecran.CmdRecherche->click();
    EXPECT_EQ(recus(), QStringList());
    ASSERT_NE(ecran.resultat(), nullptr);
    EXPECT_TRUE(ecran.CmdDetailHer->isEnabled());
    const ModeleResultats &m = ecran.modeleResultats();
    ASSERT_EQ(m.rowCount(), 5);
    ASSERT_EQ(m.columnCount(), 32);
    EXPECT_EQ(m.headerData(6, Qt::Horizontal).toString(), QStringLiteral("Résultat"));
    QStringList vus;
    for (int l = 0; l < m.rowCount(); ++l)
        vus << QStringList{m.index(l, 0).data().toString(),
                           m.index(l, 1).data().toString(),
                           m.index(l, 5).data().toString(),
                           m.index(l, 6).data().toString(),
                           m.index(l, 30).data().toString(),
                           m.index(l, 6).data(Qt::BackgroundRole).value<QColor>().name()}
                   .join(u'|');
    EXPECT_EQ(vus, QStringList({"02/01/2024|BSS001|Nitrates|30|2|#f3eb55",
                                "02/02/2024|BSS001|Nitrates|200|4|#ff0000",
                                "01/03/2024|BSS001|Oxygène dissous|2|4|#ff0000",
                                "02/03/2024|BSS001|Nitrates|<0.5|0|#1670f1",
                                "03/03/2024|BSS002|Nitrates|5|0|#1670f1"}));
    EXPECT_FALSE(m.index(0, 0).data(Qt::BackgroundRole).isValid());

    const ModeleTexteRecherche &ind = ecran.modele(FrmRecherches::Indicateurs);
    ASSERT_EQ(ind.rowCount(), 2);
    // Below-limit results enter the minimum and the mean with their stored value.
    EXPECT_EQ(rangee(ind, 0).section(u'|', 0, 11),
              QStringLiteral("1340/162|Nitrates|4|3|2|0|1|0|1|75|2|50"));
    EXPECT_EQ(rangee(ind, 0).section(u'|', 13, 15), QStringLiteral("0.5|58.875|200"));
    EXPECT_EQ(rangee(ind, 0).section(u'|', 19), QStringLiteral("1340|162"));
    EXPECT_EQ(rangee(ecran.modele(FrmRecherches::Totaux), 0),
              QStringLiteral("Total||5|4|2|0|1|0|2|80|3|60||||"));
    EXPECT_EQ(titres(ecran.modele(FrmRecherches::Repartitions)).section(u'|', 0, 4),
              QStringLiteral("Code|Element|Nb stations|Nb avec détection|% avec détection"));
    EXPECT_EQ(rangee(ecran.modele(FrmRecherches::Repartitions), 0).section(u'|', 0, 4),
              QStringLiteral("1340/162|Nitrates|2|2|100"));
    const ModeleTexteRecherche &stations = ecran.modele(FrmRecherches::Stations);
    ASSERT_EQ(stations.rowCount(), 2);
    EXPECT_EQ(rangee(stations, 0).section(u'|', 0, 3), QStringLiteral("1|BSS001|Amont|2"));
    EXPECT_EQ(rangee(stations, 1).section(u'|', 0, 3), QStringLiteral("2|BSS002|Aval|1"));
    EXPECT_EQ(ecran.modele(FrmRecherches::TotalStations).rowCount(), 1);

    // A search that finds nothing empties every grid and disables the commands.
    ecran.TxtDateDebut->setText(QStringLiteral("01/01/2030"));
    ecran.txtDateFin->setText(QStringLiteral("01/01/2031"));
    ecran.CmdRecherche->click();
    EXPECT_EQ(recus(), QStringList({"AIDE: Aucun résultat ne correspond à vos critères."}));
    EXPECT_EQ(m.rowCount(), 0);
    EXPECT_EQ(ecran.modele(FrmRecherches::Totaux).rowCount(), 0);
    EXPECT_EQ(ecran.modele(FrmRecherches::Indicateurs).rowCount(), 0);
    EXPECT_FALSE(ecran.CmdExporterResultats->isEnabled());
    ecran.txtDateFin->setText(QStringLiteral("31/02/2031"));
    ecran.CmdRecherche->click();
    EXPECT_EQ(recus(), QStringList({"AIDE: Renseignez les dates de chargement"}));
}

TEST_P(RecherchesGuiTest, FiltreDeClasseEtDetections)
{
    FrmRecherches ecran;
    preparer(ecran);
    ecran.CboSeuil->setCurrentIndex(2); // "> seuil 2"
    ecran.CmdRecherche->click();
    ASSERT_EQ(ecran.modeleResultats().rowCount(), 3);
    EXPECT_EQ(ecran.modeleResultats().index(2, 6).data().toString(), QStringLiteral("2"));
    ecran.CboSeuil->setCurrentIndex(0);
    ecran.chkRechercheDetection->setChecked(true);
    ecran.CmdRecherche->click();
    EXPECT_EQ(ecran.modeleResultats().rowCount(), 4);
}

TEST_P(RecherchesGuiTest, ExportsDesGrillesEtDetails)
{
    FrmRecherches ecran;
    preparer(ecran);
    ecran.CmdRecherche->click();
    ASSERT_NE(ecran.resultat(), nullptr);
    const QString csv = chemin(QStringLiteral("resultats.csv"));
    ecran.exporter(FrmRecherches::Resultats, csv);
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray octets = f.readAll();
    EXPECT_TRUE(octets.startsWith("\xEF\xBB\xBF"));
    const QStringList lignes = QString::fromUtf8(octets.mid(3)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lignes.size(), 7); // titles, five rows, the last line break
    EXPECT_TRUE(lignes[0].startsWith(QStringLiteral("Prélèvement;Identifiant;Station;")));
    EXPECT_TRUE(lignes[2].startsWith(QStringLiteral("02/02/2024;BSS001;Amont;")));
    EXPECT_TRUE(lignes[2].endsWith(QStringLiteral(";4;255,0,0")));

    const QString xlsx = chemin(QStringLiteral("indicateurs.xlsx"));
    ecran.exporter(FrmRecherches::Indicateurs, xlsx);
    Classeur c;
    ASSERT_TRUE(c.ouvrir(xlsx)) << qPrintable(c.detail());
    const Feuille *feuille = c.feuille(1);
    ASSERT_NE(feuille, nullptr);
    EXPECT_EQ(feuille->nom(), QStringLiteral("Indicateurs"));
    EXPECT_EQ(feuille->derniereLigne(), 3);
    EXPECT_EQ(feuille->texte(1, 3), QStringLiteral("Nb recherches"));
    EXPECT_EQ(feuille->texte(2, 1), QStringLiteral("1340/162"));
    EXPECT_EQ(feuille->texte(3, 14), QStringLiteral("2"));

    const QString ods = chemin(QStringLiteral("stations.ods"));
    ecran.exporter(FrmRecherches::Stations, ods);
    ASSERT_TRUE(c.ouvrir(ods));
    EXPECT_EQ(c.feuille(1)->plage(2, 2, 3, 3),
              QVector<QStringList>({{"BSS001", "Amont"}, {"BSS002", "Aval"}}));

    FrmRechercheDetaillee *detail = ecran.ouvrirDetail(Regroupement::Station);
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->windowTitle(), QStringLiteral("Détail par station"));
    ASSERT_EQ(detail->modele().rowCount(), 3);
    EXPECT_EQ(rangee(detail->modele(), 0),
              QStringLiteral("BSS001|Amont|1340/162|Nitrates|3|2|4|0.5|76.8333333333333|200"));
    EXPECT_EQ(rangee(detail->modele(), 1),
              QStringLiteral("BSS001|Amont|1311/162|Oxygène dissous|1|1|4|2|2|2"));
    EXPECT_EQ(detail->modele().index(1, 6).data(Qt::BackgroundRole).value<QColor>().name(),
              QStringLiteral("#ff0000"));
    const QString fichier = chemin(QStringLiteral("detail.csv"));
    detail->exporter(fichier);
    EXPECT_TRUE(QFile::exists(fichier));
    detail->close();
    // An unwritable file is reported, not passed over.
    ecran.exporter(FrmRecherches::Totaux, chemin(QStringLiteral("absent/totaux.csv")));
    const QStringList messages = recus();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("ERREUR: Impossible d'écrire le fichier")));
}

TEST_P(RecherchesGuiTest, RecherchesEnregistreesEtResultatsMemorises)
{
    FrmRecherches ecran;
    EXPECT_EQ(ecran.modeleRecherches().rowCount(), 0);
    preparer(ecran);
    ecran.LstStations->item(0)->setSelected(true);
    ecran.CmdEnregistrerCriteres->click();
    EXPECT_EQ(recus(), QStringList({"ERREUR: Donnez un intitulé à la recherche."}));
    EXPECT_EQ(ecran.modeleRecherches().rowCount(), 0);
    ecran.TxtIntitule->setText(QStringLiteral("Nitrates amont"));
    ecran.CmdEnregistrerCriteres->click();
    EXPECT_EQ(recus(), QStringList({"AIDE: Les critères de la recherche ont été enregistrés."}));
    ASSERT_EQ(ecran.modeleRecherches().rowCount(), 1);
    const qint64 id = ecran.rechercheCourante();
    ASSERT_NE(id, 0);
    EXPECT_EQ(ecran.modeleRecherches().index(0, 1).data().toString(),
              QStringLiteral("Nitrates amont"));

    ecran.CmdRecherche->click();
    ASSERT_EQ(ecran.modeleResultats().rowCount(), 4);
    ecran.CmdEnregistrerResultats->click();
    EXPECT_EQ(recus(), QStringList({"AIDE: Les résultats de la recherche ont été enregistrés."}));

    // A blank search, then the saved one brought back with its memorised grids.
    ecran.CmdNouvelleRecherche->click();
    EXPECT_EQ(ecran.rechercheCourante(), 0);
    EXPECT_EQ(ecran.criteres().typeSeuil, QString());
    EXPECT_TRUE(ecran.criteres().stations.isEmpty());
    EXPECT_EQ(ecran.modele(FrmRecherches::Indicateurs).rowCount(), 0);
    ecran.SprRecherches->setCurrentIndex(ecran.modeleRecherches().index(0, 0));
    EXPECT_EQ(ecran.rechercheCourante(), id);
    const CriteresRecherche c = ecran.criteres();
    EXPECT_EQ(c.stations, QVector<qint64>({1}));
    EXPECT_EQ(QStringList({c.dateDebut, c.dateFin, c.typeSeuil, c.pointPrelevement}).join(u'|'),
              QStringLiteral("01/01/2024|31/12/2024|5|"));
    EXPECT_EQ(ecran.modeleResultats().rowCount(), 0);
    const ModeleTexteRecherche &ind = ecran.modele(FrmRecherches::Indicateurs);
    ASSERT_EQ(ind.rowCount(), 2);
    EXPECT_EQ(rangee(ind, 0).section(u'|', 0, 3), QStringLiteral("1340/162|Nitrates|3|2"));
    EXPECT_TRUE(ecran.CmdExporterIndicateurs->isEnabled());
    EXPECT_FALSE(ecran.CmdExporterResultats->isEnabled());
    const QString liste = chemin(QStringLiteral("recherches.csv"));
    ecran.exporterRecherches(liste);
    QFile f(liste);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains(QStringLiteral("Nitrates amont").toUtf8()));

    messages().repondre(BoutonNon);
    ecran.CmdSupprimerRecherche->click();
    EXPECT_EQ(recus(), QStringList({"QUESTION: Etes vous sur de vouloir supprimer cette "
                                    "recherche ?"}));
    EXPECT_EQ(ecran.modeleRecherches().rowCount(), 1);
    messages().repondre(BoutonOui);
    ecran.CmdSupprimerRecherche->click();
    EXPECT_EQ(recus(), QStringList({"QUESTION: Etes vous sur de vouloir supprimer cette "
                                    "recherche ?",
                                    "AIDE: La recherche a été supprimée."}));
    EXPECT_EQ(ecran.modeleRecherches().rowCount(), 0);
    EXPECT_EQ(ecran.rechercheCourante(), 0);
}

TEST_P(RecherchesGuiTest, CarteWebDesStationsTrouvees)
{
    FrmRecherches ecran;
    QList<QUrl> ouvertes;
    ecran.definirOuvreurUrl([&ouvertes](const QUrl &url) {
        ouvertes << url;
        return true;
    });
    preparer(ecran);
    ecran.LstStations->item(1)->setSelected(true); // BSS002: no WGS84 coordinates
    ecran.CmdRecherche->click();
    ecran.CmdCarte->click();
    EXPECT_EQ(recus(), QStringList({"INFO: Les stations ne possèdent pas de coordonnées en WGS84 "
                                    "pour pouvoir être exportés vers Google Maps"}));
    EXPECT_TRUE(ouvertes.isEmpty());
    ecran.LstStations->item(0)->setSelected(true);
    ecran.CmdRecherche->click();
    ecran.CmdCarte->click();
    EXPECT_EQ(recus(), QStringList());
    EXPECT_EQ(
        ouvertes,
        QList<QUrl>({QUrl(QStringLiteral("https://www.google.com/maps/dir/43.250000,1.500000/"))}));
}

// The chart of the chosen rows: the first row's parameter and unit at each of their stations,
// over the search's period (its end date left out as by the search), with the threshold bands.
TEST_P(RecherchesGuiTest, GraphiqueDesLignesChoisies)
{
    FrmRecherches ecran;
    EXPECT_FALSE(ecran.CmdGraphique->isEnabled());
    preparer(ecran);
    ecran.CmdRecherche->click();
    ASSERT_EQ(ecran.modeleResultats().rowCount(), 5);
    EXPECT_EQ(ecran.ouvrirGraphique(), nullptr);
    ecran.SprAnalyses->selectRow(0);
    ecran.SprAnalyses->selectionModel()->select(ecran.SprAnalyses->model()->index(4, 0),
                                                QItemSelectionModel::Select |
                                                    QItemSelectionModel::Rows);
    std::unique_ptr<EditionGraphique> g(ecran.ouvrirGraphique());
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->TxtStations->text(), "BSS001, BSS002");
    EXPECT_EQ(g->TxtParametres->text(), "1340");
    EXPECT_EQ(g->TxtDateFin->text(), "30/12/2024");
    ASSERT_EQ(g->contenu().axes.size(), 1);
    ASSERT_EQ(g->contenu().axes[0].series.size(), 2);
    EXPECT_EQ(g->contenu().axes[0].series[0].points.size(), 3);
    EXPECT_EQ(g->contenu().axes[0].series[1].points.size(), 1);
    EXPECT_EQ(g->contenu().bandes.size(), 5);
    EXPECT_EQ(recus(), QStringList());
}

TEST_P(RecherchesGuiTest, DroitDesRecherches)
{
    Application application;
    {
        FenetrePrincipale fenetre(application);
        auto *action = fenetre.findChild<QAction *>(QStringLiteral("ActionRecherches"));
        ASSERT_NE(action, nullptr);
        EXPECT_TRUE(action->isVisible());
    }
    Session &s = session();
    s.vider();
    s.login = QStringLiteral("LUCIE");
    s.habilitations = QStringLiteral(",QUALITO_ALL,QUALITO_SEUILS,");
    {
        FenetrePrincipale fenetre(application);
        EXPECT_FALSE(fenetre.findChild<QAction *>(QStringLiteral("ActionRecherches"))->isVisible());
    }
    FrmRecherches ecran;
    EXPECT_TRUE(ecran.CmdRecherche->isHidden());
    preparer(ecran);
    ecran.rechercher();
    EXPECT_EQ(recus(), QStringList({"ERREUR: Vous ne disposez pas de droits suffisants pour "
                                    "effectuer des recherches."}));
    EXPECT_EQ(ecran.modeleResultats().rowCount(), 0);
    s.habilitations = QStringLiteral(",QUALITO_ALL,QUALITO_RECHERCHES,");
    FrmRecherches permis;
    EXPECT_FALSE(permis.CmdRecherche->isHidden());
}

VYK_SUR_LES_DEUX_MOTEURS(RecherchesGuiTest);

// The grid takes the columns of its rows' kind, and colours their count and class.
TEST(ModeleResultatsGenres, ColonnesEtCouleursDuGenre)
{
    auto r = std::make_shared<ResultatRecherche>();
    r->genre = GenreRecherche::TaxonsReleves;
    r->stations << StationRecherche{1, QStringLiteral("BSS001"), QStringLiteral("Amont")};
    r->grilles << GrilleRecherche{{10.0, 50.0, std::nullopt, std::nullopt}};
    LigneResultat l;
    l.parametre = l.numAnalyse = r->cellule(QStringLiteral("807"));
    l.nomParametre = r->cellule(QStringLiteral("Gammarus"));
    l.definirValeur(55);
    l.grille = 0;
    l.detection = true;
    l.classe = classerRecherche(55, &r->grilles[0]);
    r->lignes << l;
    ModeleResultats modele;
    modele.definir(r);
    EXPECT_EQ(modele.columnCount(), titresResultats(GenreRecherche::TaxonsReleves).size());
    EXPECT_EQ(modele.headerData(6, Qt::Horizontal).toString(), QStringLiteral("Relevés"));
    EXPECT_EQ(modele.headerData(14, Qt::Horizontal).toString(), QStringLiteral("code Taxon"));
    const int classe = modele.columnCount() - 2;
    EXPECT_EQ(modele.headerData(classe, Qt::Horizontal).toString(), QStringLiteral("Classe"));
    EXPECT_EQ(modele.index(0, classe).data().toString(), QStringLiteral("2"));
    // Past the last bound set: red, on the count and on the class.
    for (int colonne : {6, classe})
        EXPECT_EQ(modele.index(0, colonne).data(Qt::BackgroundRole).value<QColor>().name(),
                  QStringLiteral("#ff0000"));
    EXPECT_FALSE(modele.index(0, 5).data(Qt::BackgroundRole).isValid());
    // Emptied, it shows the analyses' columns again.
    modele.definir(nullptr);
    EXPECT_EQ(modele.headerData(3, Qt::Horizontal).toString(), QStringLiteral("Analyse"));
    EXPECT_EQ(modele.columnCount(), titresResultats().size());
}

// A large result opens at once: the view asks only for the rows it shows.
TEST(ModeleResultatsGrand, VingtMilleLignesOuvertesSansCopie)
{
    auto r = std::make_shared<ResultatRecherche>();
    r->stations << StationRecherche{1, QStringLiteral("BSS001"), QStringLiteral("Amont")};
    r->grilles << GrilleRecherche{{10.0, 25.0, 50.0, 100.0}};
    const int n = 20000;
    r->lignes.resize(n);
    for (int l = 0; l < n; ++l) {
        LigneResultat &x = r->lignes[l];
        x.definirValeur(l % 150);
        x.grille = 0;
        x.detection = true;
        x.classe = classerRecherche(l % 150, &r->grilles[0]);
    }
    QElapsedTimer chrono;
    chrono.start();
    ModeleResultats modele;
    modele.definir(r);
    QTableView vue;
    vue.setModel(&modele);
    vue.resize(800, 400);
    vue.show();
    QCoreApplication::processEvents();
    EXPECT_LT(chrono.elapsed(), 1000);
    EXPECT_EQ(modele.rowCount(), n);
    EXPECT_EQ(modele.index(n - 1, 6).data().toString(), QStringLiteral("49"));
    EXPECT_EQ(modele.index(n - 1, 9).data().toString(), QStringLiteral("10"));
    EXPECT_EQ(modele.index(n - 1, 30).data().toString(), QStringLiteral("2"));
    EXPECT_EQ(modele.index(n - 2, 6).data(Qt::BackgroundRole).value<QColor>().name(),
              QStringLiteral("#f3eb55"));
    vue.scrollToBottom();
    QCoreApplication::processEvents();
    EXPECT_EQ(modele.grille().lignes.size(), n);
}

} // namespace
