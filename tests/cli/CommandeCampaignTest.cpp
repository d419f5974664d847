#include "campagnes/Campagnes.h"
#include "db/BaseDonnees.h"
#include "db/Sql.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

#include <QFile>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class CommandeCampaignTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(mettreAJourBase(versionProgramme()));
        ASSERT_TRUE(executer("INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, "
                             "nbTournees) VALUES (71, 'Q71', 'Le pont', 12)"));
        ASSERT_TRUE(executer("INSERT INTO EVENEMENTS_QUALITO (CodeQualitometre, Numero, "
                             "DateEvenement, type) VALUES (71, 1, " +
                             dateSQL("03/02/2026") + ", 'G')"));
        ASSERT_TRUE(executer("INSERT INTO EVENEMENTS_QUALITO (CodeQualitometre, Numero, "
                             "DateEvenement, type) VALUES (71, 2, " +
                             dateSQL("20/02/2026") + ", 'T')"));
        Campagne c;
        c.fiche.libelle = "Hiver, 2026";
        c.fiche.dateDebut = "15/01/2026";
        c.fiche.dateFin = "10/03/2026";
        StationCampagne s;
        s.codeSite = "71";
        c.stations = {s};
        ASSERT_TRUE(enregistrerCampagne(c).ok);
        code = c.fiche.code;
    }
    QString code;
};

TEST_P(CommandeCampaignTest, ListAndFollowUpPrintedOrWritten)
{
    test::SortieCli r = cli({"campaign", "list"});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, "codeCampagne,Libelle,dateDebut,dateFin,codeLabo,Laboratoire,"
                        "typeCampagne,TypeDeCampagne,Bancarisation\n" +
                            code +
                            ",\"Hiver, 2026\",15/01/2026,10/03/2026,,,3,Physicochimique,non\n");

    r = cli({"campaign", "followup", code, "--view", "interventions"});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, "codeSite,Identifiant,Station,Dernier Passage,Interventions,01/26,02/26,"
                        "03/26\n71,Q71,Le pont,20/02/2026,2,,1,\n");
    r = cli({"campaign", "followup", code, "--view", "interventions", "--management"});
    EXPECT_EQ(r.sortie, "codeSite,Identifiant,Station,Dernier Passage,Interventions,01/26,02/26,"
                        "03/26\n71,Q71,Le pont,03/02/2026,1,,1,\n");

    const QString fichier = chemin("suivi_campagne.ods");
    r = cli({"campaign", "followup", code, "--view", "demandes", "--out", fichier});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, fichier + "\n");
    EXPECT_TRUE(QFile::exists(fichier));
}

TEST_P(CommandeCampaignTest, RefusalsExitWithTheirMessage)
{
    test::SortieCli r = cli({"campaign", "followup", code, "--view", "visites"});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.erreurs.contains("Vue inconnue : visites")) << qPrintable(r.erreurs);
    r = cli({"campaign", "followup", "999", "--view", "analyses"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.erreurs.contains("La campagne 999 n'existe pas.")) << qPrintable(r.erreurs);
    // A period stored by an older version with its end before its start.
    ASSERT_TRUE(executer("UPDATE CAMPAGNES SET dateFinApplication='01/01/2026'"));
    r = cli({"campaign", "followup", code, "--view", "demandes"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.sortie, "");
    EXPECT_TRUE(r.erreurs.contains("La date de fin de la campagne est antérieure à sa date de "
                                   "début."))
        << qPrintable(r.erreurs);
    r = cli({"campaign", "followup", code});
    EXPECT_EQ(r.code, 2);
}

VYK_SUR_LES_DEUX_MOTEURS(CommandeCampaignTest);

} // namespace
