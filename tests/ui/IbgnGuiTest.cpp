#include "app/Registre.h"
#include "app/Reglages.h"
#include "indices/Ibgn.h"
#include "monitoring/ListeTaxonsOperation.h"
#include "ui/monitoring/FicheOperations.h"
#include "ui/widgets/GrilleSaisie.h"

#include "support/EcranTest.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

using namespace vyk;
using namespace vyk::test;
namespace m = vyk::modeleIbgn;

namespace {

// A model of two taxon rows (363, 892): Z2 the total of the counts under code 5910, Z3 the
// protocol under 6951.
Feuille modeleDeux()
{
    Feuille f;
    f.ecrire(m::PREMIERE_LIGNE, m::COLONNE_SUITE, QStringLiteral("Baetis"));
    f.ecrire(m::PREMIERE_LIGNE, m::COLONNE_TAXON, QStringLiteral("363"));
    f.ecrire(m::PREMIERE_LIGNE + 1, m::COLONNE_SUITE, QStringLiteral("Gammarus"));
    f.ecrire(m::PREMIERE_LIGNE + 1, m::COLONNE_TAXON, QStringLiteral("892"));
    f.ecrire(2, m::COLONNE_CODE, QStringLiteral("5910"));
    f.ecrire(3, m::COLONNE_CODE, QStringLiteral("6951"));
    return f;
}

bool recalculDeux(Feuille &f, QString &)
{
    double total = 0;
    for (int r = m::PREMIERE_LIGNE; r <= m::PREMIERE_LIGNE + 1; ++r)
        for (int c : {m::COLONNE_A, m::COLONNE_B, m::COLONNE_C})
            total += f.valeur(r, c).toDouble();
    f.ecrire(2, m::COLONNE_VALEUR, total);
    f.ecrire(3, m::COLONNE_VALEUR, f.valeur(m::LIGNE_PROTOCOLE, m::COLONNE_PROTOCOLE));
    return true;
}

// Station 1, point 131, operation 0 of protocol 704 with Baetis (A 14, C 2), Gammarus (B 3)
// and an unknown taxon 999; result 5910 = 12 already stored.
class IbgnGuiTest : public EcranTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_ECRAN();
        ASSERT_TRUE(creerTableListeTaxons(1));
        for (const char *sql :
             {"INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, typeStation) VALUES (1, "
              "'V1', 'La Vienne', '1')",
              "INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, identifiant) VALUES "
              "(1, 0, '131')",
              "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
              "codePoint, dateDebut, protocoleBiologique) VALUES (1, 0, 0, #06/15/2021#, 704)",
              "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, indice, codeTaxon, "
              "denombrementA, denombrementC) VALUES (0, 1, 1, '363', 14, 2)",
              "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, indice, codeTaxon, "
              "denombrementB) VALUES (0, 1, 2, '892', 3)",
              "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, indice, codeTaxon, "
              "denombrementA) VALUES (0, 1, 3, '999', 1)",
              "INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, codeOperation, "
              "indice, codeParametre, resultat) VALUES (1, 0, 1, 5910, 12)"})
            ASSERT_TRUE(executer(QString::fromLatin1(sql)))
                << sql << qPrintable(bd().derniereErreur());
        ASSERT_TRUE(modeles.isValid());
        QFile f(modeles.filePath(QStringLiteral("IBGN.XLS")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("modèle");
        ecrireRegistre(reglage::CheminModeles, modeles.path());
    }

    void ouvrir(FicheOperations &fiche, ClasseurMemoire::Recalcul recalcul = recalculDeux)
    {
        fiche.moteurIbgn = [recalcul] {
            return std::make_unique<ClasseurMemoire>(modeleDeux(), recalcul);
        };
        fiche.afficherOperation(QStringLiteral("0"));
        ASSERT_EQ(fiche.codeOperation(), QStringLiteral("0"));
    }

    // The user's click on the card's IBGN command.
    static void calculer(FicheOperations &fiche)
    {
        if (auto *commande = controle<QPushButton>(&fiche, "CmdCalculIBGN")) commande->click();
    }

    QStringList resultats()
    {
        return lignes(QStringLiteral("SELECT codeParametre, resultat FROM "
                                     "QUALITOMETRES_OPERATIONS_RESULTATS ORDER BY codeParametre"));
    }

    QTemporaryDir modeles;
};

TEST_P(IbgnGuiTest, CalculQuestionEtResultatsDeLaFiche)
{
    FicheOperations fiche(1);
    ouvrir(fiche);
    recus();
    messages().repondre(BoutonNon);
    calculer(fiche);
    EXPECT_EQ(recus(),
              (QStringList{QStringLiteral("AIDE: Attention, les taxons suivants n'ont pas été pris "
                                          "en compte dans le caclul:\r999\rMerci de vérifier le "
                                          "paramétrage de la macro IBGN"),
                           QStringLiteral("QUESTION: L'indice 5910 est déjà enregistré pour cette "
                                          "opération. Voulez vous remplacer la valeur existante "
                                          "12 par la valeur calculée: 19"),
                           QStringLiteral("INFO: Le calcul des indices est terminé.")}));
    EXPECT_EQ(resultats(), (QStringList{QStringLiteral("5910|12"), QStringLiteral("6951|704")}));
    GrilleSaisie *grille = fiche.grille(QStringLiteral("resultats"));
    ASSERT_EQ(grille->rowCount(), 2);

    messages().repondre(BoutonOui);
    calculer(fiche);
    EXPECT_EQ(resultats(), (QStringList{QStringLiteral("5910|19"), QStringLiteral("6951|704")}));
    EXPECT_EQ(dernier(), QStringLiteral("Le calcul des indices est terminé."));
}

TEST_P(IbgnGuiTest, MoteurEnEchecPasDeTermine)
{
    FicheOperations fiche(1);
    ouvrir(fiche, [](Feuille &, QString &erreur) {
        erreur = QStringLiteral("LibreOffice n'a pas démarré");
        return false;
    });
    recus();
    calculer(fiche);
    EXPECT_EQ(recus(), QStringList{QStringLiteral("ERREUR: Le calcul du modèle ") +
                                   modeles.filePath(QStringLiteral("IBGN.XLS")) +
                                   QStringLiteral(" a échoué : LibreOffice n'a pas démarré")});
    EXPECT_EQ(resultats(), QStringList{QStringLiteral("5910|12")});

    ASSERT_TRUE(executer(QStringLiteral("DELETE FROM QUALITOMETRES_LISTE_1")));
    fiche.afficherOperation(QStringLiteral("0"));
    calculer(fiche);
    EXPECT_EQ(recus(), QStringList{QStringLiteral("INFO: La liste faunistique de cette opération "
                                                  "est vide. Vous ne pouvez pas calculer l'indice "
                                                  "correspondant.")});
}

// The IBG-DCE command sends a list of protocol 704 (three phases) to the workbook, and refuses
// an empty list of another protocol before any calculator is looked for.
TEST_P(IbgnGuiTest, CommandeIbgDceSelonLeModeDeListe)
{
    FicheOperations fiche(1);
    ouvrir(fiche);
    recus();
    messages().repondre(BoutonOui);
    if (auto *commande = controle<QPushButton>(&fiche, "CmdCalculIBGDCE")) commande->click();
    EXPECT_EQ(resultats(), (QStringList{QStringLiteral("5910|19"), QStringLiteral("6951|704")}));
    EXPECT_EQ(dernier(), QStringLiteral("Le calcul des indices est terminé."));

    ASSERT_TRUE(executer(QStringLiteral("DELETE FROM QUALITOMETRES_LISTE_1")));
    ASSERT_TRUE(executer(
        QStringLiteral("UPDATE QUALITOMETRES_POINTS_OPERATIONS SET protocoleBiologique = 701")));
    fiche.afficherOperation(QStringLiteral("0"));
    recus();
    if (auto *commande = controle<QPushButton>(&fiche, "CmdCalculIBGDCE")) commande->click();
    EXPECT_EQ(recus(), QStringList{QStringLiteral("INFO: La liste faunistique de cette opération "
                                                  "est vide. Vous ne pouvez pas calculer l'indice "
                                                  "correspondant.")});
}

VYK_SUR_LES_DEUX_MOTEURS(IbgnGuiTest);

} // namespace
