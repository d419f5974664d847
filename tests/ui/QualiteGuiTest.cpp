#include "db/BaseDonnees.h"
#include "schema/TableAnalyses.h"
#include "ui/monitoring/SuiviPhysicoChmique.h"
#include "ui/quality/FrmCarteSituationQualite.h"
#include "ui/quality/ImportationSeuils.h"
#include "ui/quality/ListeSeuils.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/CouleursClasses.h"
#include "ui/widgets/GrilleDonnees.h"
#include "ui/widgets/GrilleSaisie.h"

#include "support/EcranTest.h"

#include <QButtonGroup>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>

using namespace vyk;
using namespace vyk::test;

namespace {

class QualiteGuiTest : public EcranTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_ECRAN();
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("B1")));
        for (const char *sql : {
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (1, 'B1', "
                 "'Amont')",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "dateDebut) VALUES (1, 0, #03/01/2021#)",
                 "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, "
                 "codeOperation) VALUES (0, 1, #03/01/2021#, 0)",
                 "INSERT INTO ANALYSES_B1 (NumAnalyse, NumPrelevement, CodeQualitometre, "
                 "CodeParametre, CodeUnite, Resultat, CodeRemarque) VALUES (0, 0, 1, '1340', "
                 "'162', 30, '1')",
                 "INSERT INTO ANALYSES_SEUILS (typeSeuil, TypeListe, CodeParametre, CodeUnite, "
                 "Seuil1, Seuil2, Seuil3, Seuil4) VALUES (11, '0', '1340', '162', 10, 25, 50, 100)",
             })
            ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
    }
};

TEST_P(QualiteGuiTest, LeSuiviSeColoreSelonLesSeuilsChoisis)
{
    SuiviPhysicoChmique ecran(QStringLiteral("1"));
    ASSERT_TRUE(ecran.CboSeuil->selectionnerCode(QStringLiteral("11")));
    QAbstractItemModel *m = ecran.SprSuivi->model();
    ASSERT_EQ(m->rowCount(), 1);
    EXPECT_EQ(m->data(m->index(0, 2)).toString(), "30");
    EXPECT_EQ(m->data(m->index(0, 2), Qt::BackgroundRole).value<QColor>(), couleurClasse("3"));
    EXPECT_FALSE(m->data(m->index(0, 0), Qt::BackgroundRole).isValid());
    // A set without bounds for the parameter colours nothing.
    ASSERT_TRUE(ecran.CboSeuil->selectionnerCode(QStringLiteral("2")));
    EXPECT_FALSE(m->data(m->index(0, 2), Qt::BackgroundRole).isValid());
}

TEST_P(QualiteGuiTest, ListeSeuilsSaisieEnregistreeExporteeSupprimee)
{
    ListeSeuils ecran;
    ecran.CmdInserer->click();
    EXPECT_EQ(recus(), QStringList({"AIDE: Merci de sélectionner le type de liste avant de "
                                    "pouvoir insérer des éléments."}));
    ecran.exporter(chemin("rien.csv"));
    EXPECT_EQ(recus(), QStringList({"AIDE: Sélectionnez un seuil avant d'exporter la liste"}));
    ASSERT_TRUE(ecran.CboType->selectionnerCode(QStringLiteral("0")));
    EXPECT_EQ(ecran.LstSeuils->count(), 4); // the seeded sets
    ecran.CmdNouveau->click();
    ecran.TxtLibelle->setText(QStringLiteral("Nitrates"));
    ecran.CmdInserer->click();
    int i = 0;
    for (const char *texte : {"1340", "162", "", "50", "25", "10", ""})
        saisir(ecran.SprSeuils, 0, i++, QString::fromUtf8(texte));
    ecran.CmdEnregistrer->click();
    EXPECT_EQ(recus(), QStringList({"AIDE: La liste des seuils a été mise à jour."}));
    EXPECT_EQ(ecran.TxtCode->text(), "12");
    EXPECT_EQ(lignes("SELECT CodeParametre, CodeUnite, Seuil1, Seuil2, Seuil3, Seuil4 FROM "
                     "ANALYSES_SEUILS WHERE typeSeuil=12 AND TypeListe='0'"),
              QStringList({"1340|162|50|25|10|"}));
    EXPECT_EQ(ecran.LstSeuils->count(), 5);
    const QString fichier = chemin("nitrates.csv");
    ecran.exporter(fichier);
    EXPECT_TRUE(QFile::exists(fichier));
    ecran.CmdSupprimer->click();
    EXPECT_EQ(recus(), QStringList({"AIDE: Le seuil a été supprimé."}));
    EXPECT_EQ(valeur("SELECT count(*) FROM ANALYSES_SEUILS WHERE typeSeuil=12").toInt(), 0);
    EXPECT_EQ(ecran.LstSeuils->count(), 4);
}

TEST_P(QualiteGuiTest, CarteCalculeeEtColoree)
{
    FrmCarteSituationQualite ecran;
    ecran.TxtParametre->setText("1340");
    ecran.TxtUnite->setText("162");
    ecran.TxtDateCalcul->setText("31/13/2021");
    ecran.LstStations->selectAll();
    ecran.CmdCalculer->click();
    EXPECT_EQ(recus(), QStringList({"ERREUR: La date de calcul est vide ou n'est pas correcte."}));
    ecran.TxtDateCalcul->setText("31/12/2021");
    ASSERT_TRUE(ecran.CboSeuil->selectionnerCode("11"));
    ecran.OptRegroupement->button(2)->click(); // MAX
    ecran.CmdCalculer->click();
    EXPECT_EQ(recus(), QStringList());
    ASSERT_EQ(ecran.SprCarte->rowCount(), 1);
    EXPECT_EQ(ecran.SprCarte->item(0, 3)->text(), "30");
    EXPECT_EQ(ecran.SprCarte->item(0, 4)->text(), "3");
    EXPECT_EQ(ecran.SprCarte->item(0, 4)->background().color(), couleurClasse("3"));
    EXPECT_EQ(ecran.SprCarte->item(0, 0)->toolTip(), "");
    // The latest value, older than the age limit: the row is marked.
    ecran.OptRegroupement->button(5)->click();
    ecran.TxtAgeLimite->setText("30");
    ecran.CmdCalculer->click();
    ASSERT_EQ(ecran.SprCarte->rowCount(), 1);
    EXPECT_EQ(ecran.SprCarte->item(0, 2)->text(), "01/03/2021");
    EXPECT_EQ(ecran.SprCarte->item(0, 0)->toolTip(), "Valeur plus ancienne que l'âge limite");
}

TEST_P(QualiteGuiTest, ImportDeSeuilsDepuisLaFenetre)
{
    if (valeur("SELECT count(*) FROM ANALYSES_UNITES WHERE Code='162'").toInt() == 0) {
        ASSERT_TRUE(executer("INSERT INTO ANALYSES_UNITES (Code, Nom) VALUES ('162', 'mg/L')"));
    }
    QFile f(chemin("seuils.csv"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("1;Nitrates;;;;1340;162;10;25;50;100\n1;Nitrates;;;;1335;999;1;;;\n");
    f.close();
    ImportationSeuils dialogue(genreSeuils("0"));
    EXPECT_TRUE(dialogue.LblColonnes->text().startsWith(
        "Le fichier doit être au format Excel ou CSV et comporter les colonnes suivantes:\n- "
        "Code Seuil\n"));
    ASSERT_TRUE(dialogue.choisirFichier(f.fileName()));
    EXPECT_EQ(dialogue.SprApercu->ligne(0),
              QStringList({"1", "Nitrates", "", "", "", "1340", "162", "10", "25", "50", "100"}));
    dialogue.CmdDemarrer->click();
    EXPECT_EQ(recus(), QStringList({"WARNING: Les codes unités suivants n'existent pas : 999"}));
    EXPECT_EQ(dialogue.nbJeux(), 0);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("1;Nitrates;;;;1340;162;10;25;50;100\n");
    f.close();
    ASSERT_TRUE(dialogue.choisirFichier(f.fileName()));
    dialogue.CmdDemarrer->click();
    EXPECT_EQ(recus(),
              QStringList({"INFO: Import terminé : 1 seuil(s), 1 ligne(s) de seuils intégrés."}));
    EXPECT_EQ(dialogue.nbJeux(), 1);
    EXPECT_EQ(lignes("SELECT c.Code, s.Seuil4 FROM CODES_SANDRE c, ANALYSES_SEUILS s WHERE "
                     "c.Champ='SEUILS' AND c.Libelle='Nitrates' AND s.typeSeuil=c.Code AND "
                     "s.TypeListe='0'"),
              QStringList({"12|100"}));
}

VYK_SUR_LES_DEUX_MOTEURS(QualiteGuiTest);

} // namespace
