// The import screen as a user drives it: a model and a file, the preview, the check that writes
// nothing, the integration and its messages; a folder with its properties file and the result of
// each file; a closed component's model refused as a failed run.

#include "ui/import/Importation.h"
#include "ui/widgets/GrilleDonnees.h"

#include "support/EcranTest.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

using namespace vyk;
using namespace vyk::test;

namespace {

// A 42-column row: station, date, parameter, result, unit; the rest empty.
QByteArray ligne(const char *station, const char *date, const char *parametre, const char *resultat,
                 const char *unite)
{
    QList<QByteArray> champs(42);
    champs[0] = station;
    champs[2] = date;
    champs[6] = parametre;
    champs[7] = resultat;
    champs[8] = unite;
    return champs.join(';') + "\r\n";
}

class ImportationGuiTest : public EcranTest
{
  protected:
    QString ecrire(const QString &nom, const QByteArray &contenu)
    {
        QFile f(m_dossier.filePath(nom));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contenu);
        return f.fileName();
    }
    int analyses() { return valeur(QStringLiteral("SELECT COUNT(*) FROM PRELEVEMENTS")).toInt(); }

    QTemporaryDir m_dossier;
    const QByteArray FICHIER = "entete ignoree\r\n" +
                               ligne("05001000", "12/03/2026", "1340", "12.5", "162") +
                               ligne("05001000", "12/03/2026", "1335", "0.3", "162");
};

TEST_P(ImportationGuiTest, FichierAperçuControleEtIntegration)
{
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO CAMPAGNES (codeCampagne, libelle) VALUES (7, 'Campagne de printemps')")));
    Importation ecran;
    ecran.show();
    auto *modeles = controle<QComboBox>(&ecran, QStringLiteral("CboModele"));
    ASSERT_NE(modeles, nullptr);
    EXPECT_EQ(ecran.windowTitle(), "Importation de données");
    EXPECT_GE(modeles->findData(QStringLiteral("EDILABO")), 1);
    // Every model is offered, the historical recovery under its code.
    EXPECT_EQ(modeles->count(), 22); // the empty choice first
    const int histo = modeles->findData(QStringLiteral("REPRISE_HISTO"));
    ASSERT_GE(histo, 1);
    EXPECT_EQ(modeles->itemText(histo),
              QStringLiteral("REPRISE_HISTO").leftJustified(45) + "[REPRISE_HISTO]");

    ecran.choisirModele({});
    ecran.demarrer();
    EXPECT_EQ(recus(), QStringList{"AIDE: Sélectionnez un modèle avant de démarrer l'importation "
                                   "automatique."});

    ecran.choisirModele(QStringLiteral("ADES CSV"));
    ASSERT_TRUE(ecran.choisirFichier(ecrire(QStringLiteral("analyses.csv"), FICHIER)));
    EXPECT_EQ(ecran.apercu()->nbLignes(), 2);
    EXPECT_EQ(ecran.apercu()->texte(1, 6), "1335");
    capturer(ecran, QStringLiteral("Importation"));

    // The check integrates everything, then undoes it.
    ecran.controler();
    EXPECT_TRUE(ecran.rapportControle().startsWith(
        "Contrôle sans écriture : rien n'a été enregistré.\n2 ligne(s) lue(s), 1 station(s) dont "
        "1 créée(s), 1 opération(s) créée(s), 1 prélèvement(s) créé(s), 2 analyse(s) écrite(s) "
        "(2 ajoutée(s), 0 réécrite(s)), 0 ligne(s) en erreur\nStations à créer : 05001000"))
        << qPrintable(ecran.rapportControle());
    EXPECT_EQ(valeur(QStringLiteral("SELECT COUNT(*) FROM QUALITOMETRES")).toInt(), 0);
    EXPECT_EQ(analyses(), 0);
    EXPECT_EQ(valeur(QStringLiteral("SELECT COUNT(*) FROM JOBS_EXECUTION")).toInt(), 0);

    // The operations created take the campaign chosen.
    ecran.campagnes()->setCurrentIndex(ecran.campagnes()->findText("Campagne de printemps"));
    ecran.demarrer();
    EXPECT_EQ(recus(), QStringList{"AIDE: Intégration terminée."});
    EXPECT_EQ(analyses(), 1);
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeCampagne FROM QUALITOMETRES_POINTS_OPERATIONS")),
              QStringList{"7"});
    EXPECT_EQ(lignes(QStringLiteral("SELECT statut FROM JOBS_EXECUTION")).size(), 1);

    // Replace mode asks first; No leaves everything as it was.
    ecran.choisirRemplacement(true);
    ecran.demarrer();
    EXPECT_EQ(recus(), QStringList{"QUESTION: Etes vous sur de vouloir supprimer toutes les "
                                   "donnés pour cette station ?"});
    EXPECT_EQ(valeur(QStringLiteral("SELECT COUNT(*) FROM JOBS_EXECUTION")).toInt(), 1);
}

TEST_P(ImportationGuiTest, DossierAvecSesProprietesEtResultatParFichier)
{
    ecrire(QStringLiteral("integrationVYK.properties"),
           "#MODELE=ADES CSV\r\nbon.csv=05001000\r\nmauvais.csv\r\n");
    ecrire(QStringLiteral("bon.csv"), FICHIER);
    ecrire(QStringLiteral("mauvais.csv"),
           "entete\r\n" + ligne("05001000", "pas une date", "1340", "1", "162"));
    ecrire(QStringLiteral("ignore.csv"), FICHIER);

    Importation ecran;
    ecran.show();
    ecran.choisirIntegrationAutomatique(true);
    ecran.choisirDossier(m_dossier.path());
    EXPECT_EQ(ecran.modele(), "ADES CSV");
    ASSERT_EQ(ecran.listeFichiers()->nbLignes(), 2);
    EXPECT_EQ(ecran.listeFichiers()->ligne(0), (QStringList{"bon.csv", "05001000", "", ""}));
    ecran.demarrer();
    EXPECT_EQ(ecran.listeFichiers()->texte(0, 3), "OK");
    EXPECT_TRUE(ecran.listeFichiers()->texte(1, 3).startsWith("ERROR : "))
        << qPrintable(ecran.listeFichiers()->texte(1, 3));
    const QStringList messages = recus();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("ERREUR: mauvais.csv : ")) << qPrintable(messages[0]);
    EXPECT_EQ(analyses(), 1);
    // The failed file fails the run.
    EXPECT_EQ(lignes(QStringLiteral("SELECT statut FROM JOBS_EXECUTION")), QStringList{"0"});
}

TEST_P(ImportationGuiTest, ComposantFermeRefuseEnEchec)
{
    Importation ecran;
    ecran.choisirModele(QStringLiteral("ADES_TRAMES"));
    EXPECT_TRUE(ecran.information()->text().contains("composant d'import fermé"));
    ecran.choisirFichier(ecrire(QStringLiteral("trames.zip"), "PK"));
    recus();
    ecran.demarrer();
    const QStringList messages = recus();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("ERREUR: Le modèle « ADES Trames zippées » [ADES_TRAMES]"))
        << qPrintable(messages[0]);
    EXPECT_EQ(valeur(QStringLiteral("SELECT COUNT(*) FROM JOBS_EXECUTION")).toInt(), 1);
}

VYK_SUR_LES_DEUX_MOTEURS(ImportationGuiTest);

} // namespace
