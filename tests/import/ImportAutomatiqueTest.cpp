// The unattended import of a start-up: only for a user allowed to import, never a box, the
// organisation question answered by the setting, the outcome in the journal.

#include "import/ImportAutomatique.h"

#include "app/Registre.h"
#include "db/Progression.h"
#include "db/Session.h"

#include "DonneesImport.h"

#include <QFile>
#include <QTemporaryDir>

using namespace vyk;

namespace {

class ImportAutomatiqueTest : public test::BaseImport
{
  protected:
    void SetUp() override
    {
        BaseImport::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        // A laboratory unknown to the database, given by its SIRET number.
        QList<QByteArray> champs(42);
        champs[0] = "05001000";
        champs[2] = "12/03/2026";
        champs[6] = "1340";
        champs[7] = "12.5";
        champs[8] = "162";
        champs[10] = "12345678900017";
        QFile f(m_dossier.filePath(QStringLiteral("resultats.csv")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("entete\r\n" + champs.join(';') + "\r\n");
        f.close();
        connecterAdministrateur();
        m_arguments = {QStringLiteral("vyk"), QStringLiteral("/import"),
                       QStringLiteral("/FOLDER=") + m_dossier.path(),
                       QStringLiteral("/EXTENSION=csv")};
        ecrireRegistre(QStringLiteral("ModeleImportation"), QStringLiteral("ADES CSV"));
    }
    int analyses() { return valeur(QStringLiteral("SELECT COUNT(*) FROM PRELEVEMENTS")).toInt(); }
    QStringList journal()
    {
        return lignes(QStringLiteral("SELECT Titre, description FROM JOURNAL WHERE Titre = "
                                     "'Importation automatique'"));
    }

    QTemporaryDir m_dossier;
    QStringList m_arguments;
};

TEST_P(ImportAutomatiqueTest, SansImportRienNiSansDroit)
{
    EXPECT_FALSE(lancerImportAutomatique({QStringLiteral("vyk"), QStringLiteral("/FOLDER=x")},
                                         progressionNulle())
                     .demande);

    session().administrateur = false;
    session().habilitations = QStringLiteral(",QUALITO_EXPORT,");
    const ImportAutomatique a = lancerImportAutomatique(m_arguments, progressionNulle());
    EXPECT_TRUE(a.demande);
    EXPECT_EQ(a.refus, "Importation automatique refusée : l'utilisateur ne dispose pas du droit "
                       "d'importer des données (QUALITO_IMPORT).");
    EXPECT_EQ(analyses(), 0);
    EXPECT_EQ(journal(), QStringList{"Importation automatique|Importation automatique refusée : "
                                     "l'utilisateur ne dispose pas du droit d'importer des données "
                                     "(QUALITO_IMPORT)."});
}

TEST_P(ImportAutomatiqueTest, IntervenantsSelonLeReglage)
{
    // Without the setting the file stays out, and the journal says why: no silent No.
    ImportAutomatique a = lancerImportAutomatique(m_arguments, progressionNulle());
    EXPECT_EQ(a.refus, "");
    EXPECT_FALSE(a.resultat.statut());
    EXPECT_EQ(analyses(), 0);
    ASSERT_EQ(journal().size(), 1);
    EXPECT_TRUE(journal()[0].endsWith(
        "Les intervenants absents de la base ne sont pas créés lors d'une importation "
        "automatique (réglage CreationIntervenantsImportAutomatique différent de OUI)."))
        << qPrintable(journal()[0]);

    ecrireRegistre(REGLAGE_INTERVENANTS_AUTOMATIQUE, QStringLiteral("OUI"));
    a = lancerImportAutomatique(m_arguments, progressionNulle());
    EXPECT_TRUE(a.resultat.statut()) << qPrintable(a.resultat.total().erreur);
    EXPECT_EQ(analyses(), 1);
    EXPECT_EQ(lignes(QStringLiteral("SELECT SIRET FROM INTERVENANTS")),
              QStringList{"12345678900017"});
    EXPECT_EQ(journal().last(),
              // The station was created by the first run, whose row stopped at the laboratory.
              "Importation automatique|1 fichier(s) : 1 ligne(s) lue(s), 1 station(s) dont 0 "
              "créée(s), 1 opération(s) créée(s), 1 prélèvement(s) créé(s), 1 analyse(s) "
              "écrite(s) (1 ajoutée(s), 0 réécrite(s)), 0 ligne(s) en erreur.");
}

VYK_SUR_LES_DEUX_MOTEURS(ImportAutomatiqueTest);

} // namespace
