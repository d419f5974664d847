#include "db/BaseDonnees.h"
#include "db/Session.h"
#include "demandes/Messagerie.h"
#include "ui/demandes/FrmDemandePrelvement1.h"
#include "ui/widgets/Formulaire.h"
#include "ui/widgets/GrilleDonnees.h"

#include "support/EcranTest.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

using namespace vyk;
using namespace vyk::test;

namespace {

const QString QUESTION = QStringLiteral("QUESTION_ANNULER: Enregistrer les modifications ?");
const QString ENREGISTREE = QStringLiteral("AIDE: Enregistrement de la demande terminé.");

class MessagerieEnregistree : public Messagerie
{
  public:
    explicit MessagerieEnregistree(QStringList *appels) : m_appels(appels) {}
    bool composer(const QString &adresse, const QString &, const QString &fichier) override
    {
        *m_appels << adresse + u'|' + QFileInfo(fichier).fileName();
        return true;
    }

  private:
    QStringList *m_appels;
};

class DemandesGuiTest : public EcranTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_ECRAN();
        for (const char *sql : {
                 "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, SIRET, email) VALUES (10, "
                 "'Agence', '18000000000017', '')",
                 "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, CodeSandre, email) VALUES (20, "
                 "'Labo', 'L20', 'labo@exemple.fr')",
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, typeStation) VALUES "
                 "(1, 'V1', 'Source', '6')",
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, typeStation) VALUES "
                 "(2, 'V2', 'Aval', '1')",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom, Actif) VALUES ('99990', 'Essai', "
                 "'1')",
                 "INSERT INTO ANALYSES_UNITES (Code, Nom, Symbole) VALUES ('9999', 'Unité', 'u')",
                 "INSERT INTO ANALYSES_FRACTIONS (Code, Nom) VALUES ('998', 'Fraction d''essai')",
                 "INSERT INTO ANALYSES_SUPPORTS (Code, Nom) VALUES ('97', 'Support d''essai')",
             })
            ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
    }

    static void remplir(FrmDemandePrelvement1 &ecran)
    {
        qobject_cast<QLineEdit *>(ecran.champs[DemLibelle])->setText("Essai d'écran");
        qobject_cast<QLineEdit *>(ecran.champs[DemDebut])->setText("01/03/2026");
        qobject_cast<QLineEdit *>(ecran.champs[DemFin])->setText("03/03/2026");
        for (const auto &[champ, code] : {std::pair{DemType, "1"},
                                          {DemEmetteur, "10"},
                                          {DemPrestataire, "20"},
                                          {DemPreleveur, "20"},
                                          {DemSupport, "97"}})
            ASSERT_TRUE(qobject_cast<ComboCodee *>(ecran.champs[champ])->selectionnerCode(code))
                << code;
        for (const char *station : {"2", "1"}) {
            ASSERT_TRUE(ecran.CboStation->selectionnerCode(station));
            ecran.CmdAjouterStation->click();
        }
        ecran.CmdInsererParametre->click();
        saisir(ecran.SprParametres, 0, ParParametre, "99990");
        saisir(ecran.SprParametres, 0, ParUnite, "9999");
    }

    // Two stored requests, the screen showing the first one.
    void ouvrirPremiere(FrmDemandePrelvement1 &ecran)
    {
        ASSERT_TRUE(executer("INSERT INTO QUALITOMETRES_DEMANDES (codeDemande, libelle, "
                             "typeDemande) VALUES (1, 'Première', '1')"));
        ASSERT_TRUE(executer("INSERT INTO QUALITOMETRES_DEMANDES (codeDemande, libelle, "
                             "typeDemande) VALUES (2, 'Seconde', '1')"));
        ecran.chargerDemandes();
        ecran.SprDemandes->selectionnerLigne(ligneDemande(ecran, 1));
        ASSERT_EQ(libelle(ecran)->text(), "Première");
        ASSERT_FALSE(ecran.estModifiee());
    }

    static QLineEdit *libelle(FrmDemandePrelvement1 &ecran)
    {
        return qobject_cast<QLineEdit *>(ecran.champs[DemLibelle]);
    }

    static int ligneDemande(const FrmDemandePrelvement1 &ecran, int code)
    {
        for (int l = 0; l < ecran.SprDemandes->nbLignes(); ++l)
            if (ecran.SprDemandes->texte(l, 0).toInt() == code) return l;
        return -1;
    }

    QStringList demandes()
    {
        return lignes("SELECT d.codeDemande, d.libelle, COUNT(s.codeQualitometre) FROM "
                      "QUALITOMETRES_DEMANDES d LEFT JOIN QUALITOMETRES_DEMANDES_SITES s ON "
                      "s.codeDemande=d.codeDemande GROUP BY d.codeDemande, d.libelle ORDER BY 1");
    }
};

TEST_P(DemandesGuiTest, UneAutreDemandeChoisieProposeDEnregistrerLesModifications)
{
    FrmDemandePrelvement1 ecran;
    ouvrirPremiere(ecran);
    EXPECT_EQ(recus(), QStringList{});
    const QStringList stockees{"1|Première|0", "2|Seconde|0"};

    // Cancel: the edits of the form and of the stations stay, the list goes back.
    libelle(ecran)->setText("Première revue");
    ASSERT_TRUE(ecran.CboStation->selectionnerCode("2"));
    ecran.CmdAjouterStation->click();
    messages().repondre(BoutonAnnuler);
    ecran.SprDemandes->selectionnerLigne(ligneDemande(ecran, 2));
    EXPECT_EQ(recus(), QStringList{QUESTION});
    EXPECT_EQ(libelle(ecran)->text(), "Première revue");
    EXPECT_EQ(ecran.SprStations->nbLignes(), 1);
    EXPECT_EQ(ecran.SprDemandes->ligneCourante(), ligneDemande(ecran, 1));
    EXPECT_EQ(demandes(), stockees);

    // No: the edits go, the chosen request is shown.
    messages().repondre(BoutonNon);
    ecran.SprDemandes->selectionnerLigne(ligneDemande(ecran, 2));
    EXPECT_EQ(recus(), QStringList{QUESTION});
    EXPECT_EQ(libelle(ecran)->text(), "Seconde");
    EXPECT_EQ(demandes(), stockees);
    ecran.SprDemandes->selectionnerLigne(ligneDemande(ecran, 1));
    EXPECT_EQ(recus(), QStringList{});
    EXPECT_EQ(ecran.SprStations->nbLignes(), 0);

    // A parameter row counts; Yes with a refused save stays on the request.
    ecran.CmdInsererParametre->click();
    messages().repondre(BoutonOui);
    ecran.SprDemandes->selectionnerLigne(ligneDemande(ecran, 2));
    EXPECT_EQ(recus(), QStringList({QUESTION, "ERREUR: Certains paramètres ou leurs unités "
                                              "correspondantes ne sont pas renseignés. Vous devez "
                                              "également renseigner les lieux et fractions de "
                                              "prélèvements."}));
    EXPECT_EQ(libelle(ecran)->text(), "Première");
    EXPECT_EQ(ecran.SprParametres->rowCount(), 1);
    EXPECT_EQ(ecran.SprDemandes->ligneCourante(), ligneDemande(ecran, 1));
    EXPECT_EQ(demandes(), stockees);

    // Yes: saved, then the chosen request.
    ecran.CmdRetirerParametre->click();
    libelle(ecran)->setText("Première revue");
    ecran.CmdAjouterStation->click();
    messages().repondre(BoutonOui);
    ecran.SprDemandes->selectionnerLigne(ligneDemande(ecran, 2));
    EXPECT_EQ(recus(), QStringList({QUESTION, ENREGISTREE}));
    EXPECT_EQ(libelle(ecran)->text(), "Seconde");
    EXPECT_EQ(ecran.SprDemandes->ligneCourante(), ligneDemande(ecran, 2));
    EXPECT_EQ(demandes(), QStringList({"1|Première revue|1", "2|Seconde|0"}));
    EXPECT_EQ(lignes("SELECT codeQualitometre FROM QUALITOMETRES_DEMANDES_SITES"),
              QStringList{"2"});
}

TEST_P(DemandesGuiTest, NouvelleFermetureEtTouchesDEnregistrement)
{
    FrmDemandePrelvement1 ecran;
    ouvrirPremiere(ecran);
    ecran.show();
    libelle(ecran)->setText("Renommée");
    // Nobody answers (Escape): the edits stay.
    ecran.CmdNouveau->click();
    EXPECT_EQ(recus(), QStringList{QUESTION});
    EXPECT_EQ(libelle(ecran)->text(), "Renommée");
    messages().repondre(BoutonNon);
    ecran.CmdNouveau->click();
    EXPECT_EQ(recus(), QStringList{QUESTION});
    EXPECT_EQ(libelle(ecran)->text(), "");
    EXPECT_EQ(ecran.SprDemandes->ligneCourante(), -1);

    // A new request typed: closing asks, Cancel keeps the window.
    libelle(ecran)->setText("Nouvelle");
    ASSERT_TRUE(qobject_cast<ComboCodee *>(ecran.champs[DemType])->selectionnerCode("1"));
    EXPECT_FALSE(ecran.close());
    EXPECT_EQ(recus(), QStringList{QUESTION});
    EXPECT_TRUE(ecran.isVisible());

    // Ctrl+S saves from a field; Enter clicks the default command, which saves.
    ecran.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&ecran));
    libelle(ecran)->setFocus();
    QTest::keyClick(libelle(ecran), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(recus(), QStringList{ENREGISTREE});
    EXPECT_FALSE(ecran.estModifiee());
    EXPECT_EQ(ecran.SprDemandes->ligneCourante(), ligneDemande(ecran, 3));
    ASSERT_EQ(ecran.boutonParDefaut(), ecran.CmdEnregistrer);
    libelle(ecran)->setText("Par Entrée");
    QTest::keyClick(libelle(ecran), Qt::Key_Return);
    EXPECT_EQ(recus(), QStringList{ENREGISTREE});
    EXPECT_EQ(demandes(), QStringList({"1|Première|0", "2|Seconde|0", "3|Par Entrée|0"}));

    // A copy is not stored until saved: closing asks, No drops it.
    ecran.CmdDupliquer->click();
    EXPECT_TRUE(ecran.estModifiee());
    messages().repondre(BoutonNon);
    EXPECT_TRUE(ecran.close());
    EXPECT_EQ(recus(), QStringList{QUESTION});
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES_DEMANDES").toInt(), 3);
}

TEST_P(DemandesGuiTest, SaisieEnregistreeGenereeEnvoyeeEtSupprimee)
{
    FrmDemandePrelvement1 ecran;
    QStringList appels;
    ecran.definirMessagerie(std::make_unique<MessagerieEnregistree>(&appels));
    ecran.definirDossier(chemin("sortie"));
    QDir().mkpath(chemin("sortie"));
    remplir(ecran);
    ecran.CmdEnregistrer->click();
    EXPECT_EQ(recus(), QStringList{"ERREUR: Certains paramètres ou leurs unités correspondantes "
                                   "ne sont pas renseignés. Vous devez également renseigner les "
                                   "lieux et fractions de prélèvements."});
    // The bulk edits fill the place and the fraction of every row.
    ASSERT_TRUE(ecran.CboLieux->selectionnerCode("2"));
    ecran.CmdModifierLieux->click();
    ASSERT_TRUE(ecran.CboFractions->selectionnerCode("998"));
    ecran.CmdModifierFractions->click();
    EXPECT_EQ(ecran.SprParametres->affiche(0, ParFraction), "Fraction d'essai [998]");
    ecran.CmdEnregistrer->click();
    EXPECT_EQ(recus(), QStringList{"AIDE: Enregistrement de la demande terminé."});
    EXPECT_EQ(lignes("SELECT codeDemande, libelle, typeDemande, codePrestataire FROM "
                     "QUALITOMETRES_DEMANDES"),
              QStringList{"1|Essai d'écran|1|20"});
    EXPECT_EQ(lignes("SELECT codeQualitometre FROM QUALITOMETRES_DEMANDES_SITES ORDER BY 1"),
              (QStringList{"1", "2"}));
    EXPECT_EQ(lignes("SELECT codeParametre, codeUnite, codeLieu, codeFraction, insitu FROM "
                     "QUALITOMETRES_DEMANDES_PARAMETRES"),
              QStringList{"99990|9999|2|998|0"});
    ASSERT_EQ(ecran.SprDemandes->nbLignes(), 1);
    EXPECT_EQ(ecran.SprDemandes->texte(0, 5), "Labo");

    ecran.CmdGenerer->click();
    EXPECT_EQ(recus(), QStringList{});
    EXPECT_EQ(appels, QStringList{"labo@exemple.fr|Essai d'écran.xml"});
    EXPECT_TRUE(QFile::exists(QDir(chemin("sortie")).filePath("Essai d'écran.xml")));
    ASSERT_EQ(ecran.SprHistorique->nbLignes(), 1);
    EXPECT_EQ(ecran.SprHistorique->texte(0, 0), "Essai d'écran.xml");

    ecran.CmdDupliquer->click();
    EXPECT_EQ(valeurChamp(ecran.champs[DemLibelle]), "Essai d'écran (copie)");
    EXPECT_EQ(ecran.SprHistorique->nbLignes(), 0);
    ecran.CmdEnregistrer->click();
    EXPECT_EQ(recus(), QStringList{"AIDE: Enregistrement de la demande terminé."});
    EXPECT_EQ(ecran.SprDemandes->texte(0, 1), "Essai d'écran (copie)"); // newest first

    ecran.SprDemandes->selectionnerLigne(1);
    EXPECT_EQ(valeurChamp(ecran.champs[DemLibelle]), "Essai d'écran");
    messages().repondre(BoutonOui);
    ecran.CmdSupprimer->click();
    EXPECT_EQ(recus(), (QStringList{"QUESTION: Supprimer la demande:Essai d'écran ?",
                                    "AIDE: Suppression de la demande terminée."}));
    EXPECT_EQ(lignes("SELECT codeDemande FROM QUALITOMETRES_DEMANDES"), QStringList{"2"});
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES_DEMANDES_HISTORIQUES").toInt(), 0);
    EXPECT_EQ(ecran.SprDemandes->nbLignes(), 1);
}

TEST_P(DemandesGuiTest, LaGenerationRefuseeLeDitSansRienEcrire)
{
    FrmDemandePrelvement1 ecran;
    QStringList appels;
    ecran.definirMessagerie(std::make_unique<MessagerieEnregistree>(&appels));
    ecran.definirDossier(chemin("sortie"));
    remplir(ecran);
    ASSERT_TRUE(ecran.CboLieux->selectionnerCode("1"));
    ecran.CmdModifierLieux->click();
    ASSERT_TRUE(ecran.CboFractions->selectionnerCode("998"));
    ecran.CmdModifierFractions->click();
    ASSERT_TRUE(qobject_cast<ComboCodee *>(ecran.champs[DemPreleveur])->selectionnerCode(""));
    ecran.CmdGenerer->click();
    EXPECT_EQ(recus(), QStringList{"ERREUR: Le préleveur n'est pas renseigné."});
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES_DEMANDES").toInt(), 0);
    EXPECT_TRUE(appels.isEmpty());
}

TEST_P(DemandesGuiTest, SansLeDroitLesCommandesSontCachees)
{
    Session &s = session();
    s.vider();
    s.login = QStringLiteral("LUCIE");
    s.habilitations = QStringLiteral(",QUALITO_ALL,");
    {
        FrmDemandePrelvement1 ecran;
        for (QPushButton *b : ecran.findChildren<QPushButton *>())
            EXPECT_TRUE(b->isHidden()) << qPrintable(b->objectName());
    }
    s.habilitations = QStringLiteral(",QUALITO_ALL,QUALITO_DEMANDES,");
    // Station access reads the stored rights.
    ASSERT_TRUE(executer("INSERT INTO UTILISATEURS_HABILITATIONS (login, habilitation) VALUES "
                         "('LUCIE', 'QUALITO_ALL')"));
    {
        FrmDemandePrelvement1 ecran;
        EXPECT_FALSE(ecran.CmdGenerer->isHidden());
        EXPECT_FALSE(ecran.CmdDupliquer->isHidden());
        EXPECT_GE(ecran.CboStation->indexCode("1"), 0);
        EXPECT_GE(ecran.CboStation->indexCode("2"), 0);
    }
    // Restricted to station 2: the other one is not offered.
    s.habilitations = QStringLiteral(",QUALITO_DEMANDES,");
    ASSERT_TRUE(executer("DELETE FROM UTILISATEURS_HABILITATIONS WHERE login='LUCIE'"));
    ASSERT_TRUE(executer("INSERT INTO UTILISATEURS_STATIONS (login, typeStation, identifiant, "
                         "modeSelect) VALUES ('LUCIE', 'QUALITO', '2', 'SINGLE')"));
    FrmDemandePrelvement1 ecran;
    EXPECT_LT(ecran.CboStation->indexCode("1"), 0);
    EXPECT_GE(ecran.CboStation->indexCode("2"), 0);
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(DemandesGuiTest);
