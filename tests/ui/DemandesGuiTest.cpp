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

using namespace vyk;
using namespace vyk::test;

namespace {

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
};

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
