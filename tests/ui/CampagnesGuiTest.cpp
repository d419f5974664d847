#include "db/BaseDonnees.h"
#include "db/Sql.h"
#include "ui/campagnes/FrmCampagne.h"
#include "ui/widgets/GrilleDonnees.h"

#include "support/EcranTest.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

using namespace vyk;
using namespace vyk::test;

namespace {

class CampagnesGuiTest : public EcranTest
{
  protected:
    void SetUp() override
    {
        EcranTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        for (const char *sql :
             {"INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, nbTournees) VALUES "
              "(501, 'ST501', 'Amont', 12)",
              "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (502, 'ST502', "
              "'Aval')",
              "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, CodeSandre) VALUES (8801, "
              "'Labo d''essai', '8801')",
              "INSERT INTO ANALYSES_PARAMETRES (Code, Nom, Actif, Type) VALUES ('99990', "
              "'Paramètre d''essai', '1', '0')",
              "INSERT INTO ANALYSES_UNITES (Code, Nom, Actif) VALUES ('9999', 'Unité d''essai', "
              "'1')"})
            ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
    }

    // Two campaigns saved through the screen, which then shows the first one.
    void enregistrerDeux(FrmCampagne &ecran)
    {
        for (const char *nom : {"Hiver", "Printemps"}) {
            ecran.nouvelle();
            ecran.TxtNom->setText(QString::fromUtf8(nom));
            ecran.TxtDateDebut->setText("01/01/2026");
            ecran.TxtDateFin->setText("31/12/2026");
            ASSERT_TRUE(ecran.enregistrer());
        }
        ASSERT_EQ(recus().size(), 2);
        ecran.SprCampagnes->selectionnerLigne(ligneCampagne(ecran, "Hiver"));
        ASSERT_EQ(ecran.TxtNom->text(), "Hiver");
    }

    static int ligneCampagne(const FrmCampagne &ecran, const QString &nom)
    {
        for (int l = 0; l < ecran.SprCampagnes->nbLignes(); ++l)
            if (ecran.SprCampagnes->texte(l, 1) == nom) return l;
        return -1;
    }

    QStringList campagnes()
    {
        return lignes("SELECT c.libelle, c.nomContact, COUNT(s.codeSite) FROM CAMPAGNES c LEFT "
                      "JOIN CAMPAGNES_SITES s ON s.codeCampagne=c.codeCampagne GROUP BY "
                      "c.libelle, c.nomContact ORDER BY 1");
    }
};

const QString QUESTION = QStringLiteral("QUESTION_ANNULER: Enregistrer les modifications ?");

TEST_P(CampagnesGuiTest, UneAutreCampagneChoisieProposeDEnregistrerLesModifications)
{
    FrmCampagne ecran;
    enregistrerDeux(ecran);
    const QStringList stockees{"Hiver||0", "Printemps||0"};

    // Cancel: the station typed stays, the list goes back to the campaign shown.
    ecran.CmdAjouterStation->click();
    saisir(ecran.SprStations, 0, 0, "501");
    messages().repondre(BoutonAnnuler);
    ecran.SprCampagnes->selectionnerLigne(ligneCampagne(ecran, "Printemps"));
    EXPECT_EQ(recus(), QStringList{QUESTION});
    EXPECT_EQ(ecran.TxtNom->text(), "Hiver");
    EXPECT_EQ(ecran.SprStations->rowCount(), 1);
    EXPECT_EQ(ecran.SprCampagnes->ligneCourante(), ligneCampagne(ecran, "Hiver"));
    EXPECT_EQ(campagnes(), stockees);

    // No: dropped, the chosen campaign shown.
    messages().repondre(BoutonNon);
    ecran.SprCampagnes->selectionnerLigne(ligneCampagne(ecran, "Printemps"));
    EXPECT_EQ(recus(), QStringList{QUESTION});
    EXPECT_EQ(ecran.TxtNom->text(), "Printemps");
    EXPECT_EQ(campagnes(), stockees);

    // Yes: saved (a refused save would have kept the campaign), then the chosen one.
    ecran.TxtContact->setText("M. Durand");
    ecran.CmdAjouterParametre->click();
    messages().repondre(BoutonOui);
    ecran.SprCampagnes->selectionnerLigne(ligneCampagne(ecran, "Hiver"));
    EXPECT_EQ(recus(),
              QStringList({QUESTION, "ERREUR: Certains paramètres ne sont pas renseignés."}));
    EXPECT_EQ(ecran.TxtNom->text(), "Printemps");
    EXPECT_EQ(ecran.SprCampagnes->ligneCourante(), ligneCampagne(ecran, "Printemps"));
    ecran.CmdRetirerParametre->click();
    messages().repondre(BoutonOui);
    ecran.SprCampagnes->selectionnerLigne(ligneCampagne(ecran, "Hiver"));
    EXPECT_EQ(recus(), QStringList({QUESTION, "AIDE: Enregistrement de la campagne terminé."}));
    EXPECT_EQ(ecran.TxtNom->text(), "Hiver");
    EXPECT_EQ(campagnes(), QStringList({"Hiver||0", "Printemps|M. Durand|0"}));
}

TEST_P(CampagnesGuiTest, NouvelleFermetureEtTouchesDEnregistrement)
{
    FrmCampagne ecran;
    enregistrerDeux(ecran);
    ecran.show();
    ecran.TxtReferenceMarche->setText("M-1");
    ecran.CmdNouveau->click();
    EXPECT_EQ(recus(), QStringList{QUESTION});
    EXPECT_EQ(ecran.TxtNom->text(), "Hiver");
    EXPECT_FALSE(ecran.close());
    EXPECT_EQ(recus(), QStringList{QUESTION});
    EXPECT_TRUE(ecran.isVisible());

    // Ctrl+S saves; Enter in a field clicks the default command.
    ecran.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&ecran));
    ecran.TxtNom->setFocus();
    QTest::keyClick(ecran.TxtNom, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(recus(), QStringList{"AIDE: Enregistrement de la campagne terminé."});
    EXPECT_EQ(lignes("SELECT referenceMarche FROM CAMPAGNES WHERE libelle='Hiver'"),
              QStringList{"M-1"});
    ASSERT_EQ(ecran.boutonParDefaut(), ecran.CmdEnregistrer);
    ecran.TxtContact->setText("Par Entrée");
    QTest::keyClick(ecran.TxtContact, Qt::Key_Return);
    EXPECT_EQ(recus(), QStringList{"AIDE: Enregistrement de la campagne terminé."});
    EXPECT_EQ(campagnes(), QStringList({"Hiver|Par Entrée|0", "Printemps||0"}));

    ecran.CmdNouveau->click();
    EXPECT_EQ(ecran.TxtNom->text(), "");
    EXPECT_EQ(ecran.SprCampagnes->ligneCourante(), -1);
    EXPECT_TRUE(ecran.close());
    EXPECT_EQ(recus(), QStringList{});
}

TEST_P(CampagnesGuiTest, CampaignTypedSavedReopenedFollowedAndDeleted)
{
    FrmCampagne ecran;
    ecran.CmdGenererDemande->click();
    EXPECT_EQ(recus(), QStringList({"AIDE: Merci d'enregistrer la campagne avant de générer la "
                                    "demande EDILABO correspondante."}));
    ecran.CmdEnregistrer->click();
    EXPECT_EQ(recus(), QStringList({"ERREUR: Le nom de la campagne n'est pas renseigné."}));

    ecran.TxtNom->setText("Tournée d'hiver");
    ecran.TxtDateDebut->setText("15/01/2026");
    ecran.TxtDateFin->setText("10/03/2026");
    ASSERT_TRUE(ecran.CboLaboratoire->selectionnerCode("8801"));
    ecran.TxtContact->setText("M. Durand");
    ecran.TxtReferenceMarche->setText("M-2026-04");
    ecran.ChkBancarisation->setChecked(true);
    ecran.CmdAjouterStation->click();
    saisir(ecran.SprStations, 0, 0, "502");
    saisir(ecran.SprStations, 0, 1, "20/01/2026");
    EXPECT_EQ(ecran.SprStations->texte(0, 2), "ST502");
    ecran.CmdAjouterStation->click();
    saisir(ecran.SprStations, 1, 0, "501");
    ecran.CmdAjouterParametre->click();
    saisir(ecran.SprParametres, 0, 0, "99990");
    ecran.CmdEnregistrer->click();
    EXPECT_EQ(recus(), QStringList({"ERREUR: Certains paramètres ne sont pas renseignés."}));
    ecran.SprParametres->retirerLigne(0);
    ecran.CmdEnregistrer->click();
    EXPECT_EQ(recus(), QStringList({"AIDE: Enregistrement de la campagne terminé."}));
    const QString code = ecran.TxtCode->text();
    ASSERT_FALSE(code.isEmpty());
    EXPECT_EQ(lignes("SELECT codeSite, ordrePassage, datePassage FROM CAMPAGNES_SITES WHERE "
                     "codeCampagne=" +
                     code + " ORDER BY ordrePassage"),
              QStringList({"502|1|20/01/2026", "501|2|"}));
    ASSERT_EQ(ecran.SprCampagnes->nbLignes(), 1);
    EXPECT_EQ(ecran.SprCampagnes->ligne(0),
              QStringList({code, "Tournée d'hiver", "8801", "Labo d'essai", "15/01/2026",
                           "10/03/2026", "", "1", "M-2026-04", "", "", "M. Durand", "", "", "", "",
                           "3", "Physicochimique", "oui"}));

    // Generating the request: asked first when one was already made from the campaign.
    QStringList ouvertes;
    ecran.ouvrirDemande = [&ouvertes](const QString &c) { ouvertes << c; };
    ecran.CmdGenererDemande->click();
    EXPECT_EQ(ouvertes, QStringList({code}));
    ASSERT_TRUE(executer("INSERT INTO QUALITOMETRES_DEMANDES (codeDemande, libelle, codeCampagne) "
                         "VALUES (1, 'D1', " +
                         code + ")"));
    ecran.CmdGenererDemande->click();
    EXPECT_EQ(ouvertes.size(), 1);
    messages().repondre(BoutonOui);
    ecran.CmdGenererDemande->click();
    EXPECT_EQ(ouvertes, QStringList({code, code}));
    const QString question = "QUESTION: Une demande existe déjà pour cette campagne. Voulez vous "
                             "créer une nouvelle demande ?";
    EXPECT_EQ(recus(), QStringList({question, question}));

    ecran.nouvelle();
    EXPECT_EQ(ecran.SprStations->rowCount(), 0);
    ecran.SprCampagnes->selectionnerLigne(0);
    EXPECT_EQ(ecran.TxtNom->text(), "Tournée d'hiver");
    ASSERT_EQ(ecran.SprStations->rowCount(), 2);
    EXPECT_EQ(ecran.SprStations->texte(0, 1), "20/01/2026");

    // The interventions view: three month columns, the visits of February.
    ASSERT_TRUE(executer("INSERT INTO EVENEMENTS_QUALITO (CodeQualitometre, Numero, "
                         "DateEvenement, type) VALUES (501, 1, " +
                         dateSQL("03/02/2026") + ", 'G')"));
    ecran.OptInterventions->setChecked(true);
    ecran.CmdAfficherSuivi->click();
    EXPECT_EQ(recus(), QStringList());
    ASSERT_EQ(ecran.SprSuivi->columnCount(), 8);
    EXPECT_FALSE(ecran.SprSuivi->isColumnHidden(3));
    EXPECT_EQ(ecran.SprSuivi->horizontalHeaderItem(6)->text(), "02/26");
    EXPECT_EQ(ecran.SprSuivi->item(1, 4)->text(), "1");
    EXPECT_EQ(ecran.SprSuivi->item(1, 6)->text(), "1");
    ecran.OptDemandes->setChecked(true);
    ecran.CmdAfficherSuivi->click();
    EXPECT_TRUE(ecran.SprSuivi->isColumnHidden(3));
    const QString ods = chemin("suivi_campagne.ods");
    ecran.exporterSuivi(ods);
    EXPECT_TRUE(QFile::exists(ods));
    ecran.TxtDateFin->setText("01/01/2026");
    ecran.CmdAfficherSuivi->click();
    EXPECT_EQ(recus(),
              QStringList({"INFO: La date de fin de la campagne est antérieure à sa date de "
                           "début."}));

    // Emptying the grids asks first.
    ecran.CmdViderStations->click();
    EXPECT_EQ(ecran.SprStations->rowCount(), 2);
    messages().repondre(BoutonOui);
    ecran.CmdViderStations->click();
    EXPECT_EQ(ecran.SprStations->rowCount(), 0);
    EXPECT_EQ(recus(), QStringList({"QUESTION: Voulez-vous supprimer toutes les stations ?",
                                    "QUESTION: Voulez-vous supprimer toutes les stations ?"}));

    ecran.SprCampagnes->selectionnerLigne(0);
    messages().repondre(BoutonOui);
    ecran.CmdSupprimer->click();
    EXPECT_EQ(recus(), QStringList({"QUESTION: Supprimer la campagne:Tournée d'hiver ?",
                                    "AIDE: Suppression de la campagne terminée."}));
    EXPECT_EQ(ecran.SprCampagnes->nbLignes(), 0);
    EXPECT_EQ(valeur("SELECT count(*) FROM CAMPAGNES_SITES").toInt(), 0);
}

VYK_SUR_LES_DEUX_MOTEURS(CampagnesGuiTest);

} // namespace
