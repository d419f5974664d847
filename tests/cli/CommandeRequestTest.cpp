#include "db/BaseDonnees.h"
#include "demandes/Demandes.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

#include <QDir>
#include <QFile>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class CommandeRequestTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(mettreAJourBase(versionProgramme()));
        for (const char *sql : {
                 "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, SIRET) VALUES (10, 'Agence', "
                 "'18000000000017')",
                 "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, CodeSandre) VALUES (20, 'Labo, "
                 "Sud', 'L20')",
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, typeStation) VALUES "
                 "(1, 'V1', 'Source', '6')",
             })
            ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
        FicheDemande f = nouvelleDemande();
        const std::pair<ChampDemande, const char *> champs[] = {
            {DemLibelle, "Analyses/2026"}, {DemDate, "02/01/2026"}, {DemDebut, "05/01/2026"},
            {DemFin, "05/01/2026"},        {DemType, "2"},          {DemEmetteur, "10"},
            {DemPrestataire, "20"},        {DemSupport, "3"}};
        for (const auto &[champ, texte] : champs)
            f.definir(champ, QString::fromUtf8(texte));
        f.stations = {1};
        f.parametres = {{"1340", "162", "2", "23", "3", "0"}};
        ASSERT_TRUE(enregistrerDemande(f).ok);
        f.code = 0;
        f.definir(DemLibelle, QStringLiteral("Sans station"));
        f.stations.clear();
        ASSERT_TRUE(enregistrerDemande(f).ok);
    }
};

TEST_P(CommandeRequestTest, ListeEtGenerationAvecSesRefus)
{
    test::SortieCli r = cli({"request", "list"});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, "codeDemande,Nom,DateDemande,Debut,Fin,codeLabo,Laboratoire,Type,Campagne\n"
                        "2,Sans station,02/01/2026,05/01/2026,05/01/2026,20,\"Labo, Sud\",2,\n"
                        "1,Analyses/2026,02/01/2026,05/01/2026,05/01/2026,20,\"Labo, Sud\",2,\n");

    const QString dossier = chemin("sortie");
    ASSERT_TRUE(QDir().mkpath(dossier));
    r = cli({"request", "generate", "1", "--out", dossier});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    const QString fichier = QDir(dossier).filePath("Analyses_2026.xml");
    EXPECT_EQ(r.sortie, QDir::toNativeSeparators(fichier) + '\n');
    EXPECT_TRUE(QFile::exists(fichier));
    EXPECT_EQ(lignes("SELECT codeDemande, nomFichier FROM QUALITOMETRES_DEMANDES_HISTORIQUES"),
              QStringList{"1|Analyses_2026.xml"});

    r = cli({"request", "generate", "2", "--out", dossier});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.sortie, "");
    EXPECT_EQ(r.erreurs, "Aucune station n'a été ajoutée à la demande.\n");
    r = cli({"request", "generate", "9", "--out", dossier});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs, "La demande 9 n'existe pas.\n");
    r = cli({"request", "generate", "x1", "--out", dossier});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(QDir(dossier).entryList(QDir::Files), QStringList{"Analyses_2026.xml"});
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(CommandeRequestTest);
