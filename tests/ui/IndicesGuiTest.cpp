#include "app/Registre.h"
#include "app/Reglages.h"
#include "monitoring/ListeTaxonsOperation.h"
#include "ui/monitoring/FicheOperations.h"
#include "ui/widgets/GrilleSaisie.h"

#include "support/EcranTest.h"

#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

using namespace vyk;
using namespace vyk::test;

namespace {

// Station 01234567 (code 1, river of national type 12): operation 10 at point 131 with a faunal
// list, 11 at point 131 without any, 40 at point 271 with a floral list. The calculators are
// shell scripts written under a root of the test's own.
class IndicesGuiTest : public EcranTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_ECRAN();
        ASSERT_TRUE(creerTableListeTaxons(1));
        for (const char *sql : {
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, typeStation, "
                 "type_fr) VALUES (1, '01234567', 'La Vienne', '1', 12)",
                 "INSERT INTO CODES_SANDRE (champ, code, libelle) VALUES "
                 "('QUALITOMETRES.TYPE_FR.RIVIERE', '12', 'P12')",
                 "INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, identifiant) "
                 "VALUES (1, 1, '131')",
                 "INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, identifiant) "
                 "VALUES (1, 3, '271')",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "codePoint, dateDebut) VALUES (1, 10, 1, #05/12/2023 10:30:00#)",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "codePoint, dateDebut) VALUES (1, 11, 1, #06/12/2023#)",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "codePoint, dateDebut) VALUES (1, 40, 3, #06/14/2023#)",
                 "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, codeTaxon, "
                 "denombrementA) VALUES (10, 1, '363', 3)",
                 "INSERT INTO TAXONS (codeTaxon, nomLatin, codeMacrophyte) VALUES ('1100', "
                 "'Ranunculus', 'RANFLU')",
                 "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, codeTaxon, "
                 "pourcentageA) VALUES (40, 0, '1100', 2.5)",
             })
            ASSERT_TRUE(executer(QString::fromLatin1(sql)))
                << sql << qPrintable(bd().derniereErreur());
        ecrireRegistre(reglage::CheminR, racine.path());
        fiche = std::make_unique<FicheOperations>(1);
        fiche->ouvrirDossier = [this](const QString &d) { dossiersOuverts << d; };
    }

    // A calculator folder under the root, with its start script when given.
    QString calculateur(const QString &nom, const QByteArray &script = {})
    {
        const QString d = racine.filePath(nom);
        EXPECT_TRUE(QDir().mkpath(d + QStringLiteral("/script")));
        if (!script.isEmpty()) {
            QFile f(d + QStringLiteral("/run.sh"));
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(script);
        }
        return d;
    }

    QString calculer(const QString &operation, const char *commande)
    {
        messages().vider();
        fiche->afficherOperation(operation);
        controle<QPushButton>(fiche.get(), QLatin1String(commande))->click();
        return messages().textes().join(QStringLiteral(" | "));
    }

    QStringList resultats()
    {
        return lignes(QStringLiteral("SELECT codeOperation, indice, codeParametre, resultat FROM "
                                     "QUALITOMETRES_OPERATIONS_RESULTATS ORDER BY codeOperation, "
                                     "codeParametre"));
    }

    QTemporaryDir racine;
    std::unique_ptr<FicheOperations> fiche;
    QStringList dossiersOuverts;
};

// Answers the I2M2 of the frame's first line, written whole once computed.
const QByteArray I2M2_FACTICE =
    "awk -F'\\t' 'NR==2{print \"CODE_STATION;DATE;CODE_PAR;LIB_PAR;RESULTAT\"; "
    "print $2\";\"$3\";7613;I2M2;0,61\"; print $2\";\"$3\";8057;ASPT;NA\"}' entreeVYK.txt "
    "> script/calcul.tmp && mv script/calcul.tmp script/resultats_I2M2_1.csv\n";

TEST_P(IndicesGuiTest, ListesVidesEtCalculateursIntrouvables)
{
    EXPECT_EQ(calculer(QStringLiteral("11"), "CmdCalculI2M2"),
              QStringLiteral("La liste faunistique de cette opération est vide. Vous ne pouvez "
                             "pas calculer l'indice correspondant."));
    // Point 131 has no floral list: the IBD is asked, and refused.
    EXPECT_EQ(calculer(QStringLiteral("10"), "CmdCalculFloristique"),
              QStringLiteral("La liste floristique de cette opération est vide. Vous ne pouvez "
                             "pas calculer l'indice correspondant."));
    EXPECT_EQ(messages().messages().value(0).genre, GENRE_INFO);
    EXPECT_EQ(calculer(QStringLiteral("10"), "CmdCalculIBGDCE"),
              QStringLiteral("Impossible de trouver le répertoire pour le calcul de l'IBGDCE"));
    EXPECT_EQ(messages().messages().value(0).genre, GENRE_ERREUR);
    EXPECT_EQ(calculer(QStringLiteral("10"), "CmdCalculDiagnostique"),
              QStringLiteral("Impossible de trouver le répertoire pour le calcul des "
                             "diagnostiques"));
    EXPECT_EQ(calculer(QStringLiteral("40"), "CmdCalculFloristique"),
              QStringLiteral("Impossible de trouver le répertoire pour le calcul de l'indice "
                             "correspondant"));
    // A versioned folder without its start script.
    const QString d = calculateur(QStringLiteral("I2M2_1.2.10"));
    EXPECT_EQ(calculer(QStringLiteral("10"), "CmdCalculI2M2"),
              QStringLiteral("Impossible de trouver le fichier de démarrage: ") + d +
                  QStringLiteral("/run.sh"));
    EXPECT_TRUE(resultats().isEmpty());
}

TEST_P(IndicesGuiTest, CalculI2M2EnregistreEtRelitLOperation)
{
    calculateur(QStringLiteral("I2M2_1.2.10"), "exit 1\n");
    const QString d = calculateur(QStringLiteral("I2M2_1.3.0"), I2M2_FACTICE);
    for (int fois = 0; fois < 2; ++fois) {
        EXPECT_EQ(calculer(QStringLiteral("10"), "CmdCalculI2M2"),
                  QStringLiteral("Le calcul des indices est terminé.\rLigne 3 : valeur « NA » du "
                                 "paramètre 8057 ignorée"));
        // The second run replaces the result.
        EXPECT_EQ(resultats(), QStringList{QStringLiteral("10|1|7613|0.61")});
    }
    GrilleSaisie *grille = fiche->grille(QStringLiteral("resultats"));
    ASSERT_NE(grille, nullptr);
    bool affiche = false;
    for (int l = 0; l < grille->rowCount(); ++l)
        for (int c = 0; c < grille->columnCount(); ++c)
            affiche = affiche || grille->texte(l, c).startsWith(QStringLiteral("7613"));
    EXPECT_TRUE(affiche);
    EXPECT_TRUE(QFile::exists(d + QStringLiteral("/entreeVYK.txt")));
    EXPECT_EQ(lignes(QStringLiteral("SELECT actif FROM ANALYSES_PARAMETRES WHERE code = '7613'")),
              QStringList{QStringLiteral("1")});
}

TEST_P(IndicesGuiTest, JournalDErreurEtErreursDeTrame)
{
    const QString d =
        calculateur(QStringLiteral("IBG-DCE"), "echo 'Error in read.table' > script/calcul.Rout\n");
    EXPECT_EQ(calculer(QStringLiteral("10"), "CmdCalculIBGDCE"),
              QStringLiteral("Impossible de calculer l'IBGDCE. Merci de consulter le fichier "
                             "d'erreur dans le répertoire\r") +
                  d + QStringLiteral("/script"));
    EXPECT_EQ(messages().messages().value(0).genre, GENRE_ERREUR);
    // Without the national type the frame is refused before the calculator runs.
    ASSERT_TRUE(executer(QStringLiteral("DELETE FROM CODES_SANDRE")));
    const QString i2m2 = calculateur(QStringLiteral("I2M2"), "touch lance\n" + I2M2_FACTICE);
    EXPECT_EQ(calculer(QStringLiteral("10"), "CmdCalculI2M2"),
              QStringLiteral("Impossible de trouver le typeFR pour 01234567\r"));
    EXPECT_FALSE(QFile::exists(i2m2 + QStringLiteral("/lance")));
    EXPECT_TRUE(resultats().isEmpty());
}

// Cancelling in the progress window stops the run: no process behind, nothing stored, nothing
// said.
TEST_P(IndicesGuiTest, AnnulerArreteLeCalcul)
{
    const QString d = calculateur(QStringLiteral("IBMR"),
                                  "echo $$ > pid\nsleep 60 &\necho $! > enfant\nwait\n" +
                                      QByteArray("echo x > script/resultats_IBMR_1.csv\n"));
    QString titre;
    QTimer annulation;
    annulation.setInterval(200);
    QObject::connect(&annulation, &QTimer::timeout, [&] {
        auto *dialogue = fiche->findChild<QProgressDialog *>();
        if (!dialogue || !QFile::exists(d + QStringLiteral("/enfant"))) return;
        titre = dialogue->windowTitle();
        dialogue->cancel();
    });
    annulation.start();
    EXPECT_EQ(calculer(QStringLiteral("40"), "CmdCalculFloristique"), QString());
    annulation.stop();
    EXPECT_EQ(titre, QStringLiteral("Calcul de l'indice"));
    EXPECT_TRUE(resultats().isEmpty());
    for (const char *fichier : {"/pid", "/enfant"}) {
        QFile f(d + QLatin1String(fichier));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray pid = f.readAll().trimmed();
        QFile stat(QStringLiteral("/proc/") + QString::fromLatin1(pid) + QStringLiteral("/stat"));
        const bool vivant = stat.open(QIODevice::ReadOnly) &&
                            stat.readAll().split(')').value(1).trimmed().left(1) != "Z";
        EXPECT_FALSE(vivant) << fichier;
    }
}

TEST_P(IndicesGuiTest, DiagnostiqueOuvreLeDossierDesDocuments)
{
    const QString d = calculateur(QStringLiteral("OutilDiagnostiqueMacroinvertebresV2_2.0.1"),
                                  "echo '%PDF' > script/diagnostic.pdf\n");
    EXPECT_EQ(calculer(QStringLiteral("10"), "CmdCalculDiagnostique"),
              QStringLiteral("L'exportation des données est terminée. Vous pouvez consulter les "
                             "documents dans le répertoire de sortie."));
    EXPECT_EQ(dossiersOuverts, QStringList{d + QStringLiteral("/script")});
    QFile trame(d + QStringLiteral("/nom_de_fichier.csv"));
    ASSERT_TRUE(trame.open(QIODevice::ReadOnly));
    EXPECT_EQ(trame.readAll(), QByteArray("CODE_OPERATION;363\r\n01234567_20230512_1;3\r\n"
                                          "01234567_20230512_2;0\r\n"));
    EXPECT_TRUE(resultats().isEmpty());
}

VYK_SUR_LES_DEUX_MOTEURS(IndicesGuiTest);

} // namespace
