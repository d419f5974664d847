// The commands each card and list shows after the rights of the logged-in user.

#include "db/Session.h"
#include "ui/monitoring/FicheOperations.h"
#include "ui/monitoring/FichePrelevementPhysicoChmique.h"
#include "ui/monitoring/FicheQualitometre.h"
#include "ui/referentials/ListeCodes.h"
#include "ui/referentials/ListeReferentielAnalyses.h"
#include "ui/referentials/ListeTaxons.h"
#include "ui/referentials/ListeTraits.h"

#include "support/EcranTest.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>

using namespace vyk;
using namespace vyk::test;

namespace {

class DroitsEcransTest : public EcranTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_ECRAN();
        ASSERT_TRUE(executer("INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES "
                             "(1, 'V1', 'Source')"));
    }

    // A user holding only these rights (QUALITO_ALL: every station).
    static void connecter(const QStringList &droits, bool editionReferentiels = false)
    {
        Session &s = session();
        s.vider();
        s.login = QStringLiteral("LUCIE");
        s.habilitations =
            QStringLiteral(",QUALITO_ALL,") + droits.join(u',') + (droits.isEmpty() ? "" : ",");
        s.editionReferentiels = editionReferentiels;
    }

    static bool cache(QWidget *ecran, const char *nom)
    {
        return controle<QPushButton>(ecran, QString::fromLatin1(nom))->isHidden();
    }

    // The names of the buttons of a screen that the user sees.
    static QStringList boutonsVisibles(QWidget *ecran, const QString &prefixe)
    {
        QStringList noms;
        for (QPushButton *b : ecran->findChildren<QPushButton *>())
            if (b->objectName().startsWith(prefixe) && !b->isHidden()) noms << b->objectName();
        noms.sort();
        return noms;
    }
};

TEST_P(DroitsEcransTest, FicheDuQualitometre)
{
    connecter({QStringLiteral("QUALITO_FICHE_MODIF")});
    {
        FicheQualitometre fiche;
        EXPECT_FALSE(cache(&fiche, "CmdNouveau"));
        EXPECT_FALSE(cache(&fiche, "CmdEnregistrer"));
        EXPECT_TRUE(cache(&fiche, "CmdSupprimer"));
        EXPECT_TRUE(cache(&fiche, "CmdPoints"));
        EXPECT_TRUE(cache(&fiche, "CmdOperations"));
        EXPECT_TRUE(cache(&fiche, "CmdPrelevements"));
        // The satellite grids: add, delete and save lines together.
        EXPECT_TRUE(boutonsVisibles(&fiche, QStringLiteral("CmdSupprimer_"))
                        .contains(QStringLiteral("CmdSupprimer_reseaux")));
        EXPECT_TRUE(
            boutonsVisibles(&fiche, QStringLiteral("CmdEnregistrer_interventions")).isEmpty());
    }
    connecter({QStringLiteral("QUALITO_FICHE_SUPPR"), QStringLiteral("QUALITO_DATA_CONSULT")});
    {
        FicheQualitometre fiche;
        EXPECT_TRUE(cache(&fiche, "CmdNouveau"));
        EXPECT_TRUE(cache(&fiche, "CmdEnregistrer"));
        EXPECT_FALSE(cache(&fiche, "CmdSupprimer"));
        EXPECT_FALSE(cache(&fiche, "CmdPoints"));
        EXPECT_FALSE(cache(&fiche, "CmdOperations"));
        EXPECT_FALSE(cache(&fiche, "CmdPrelevements"));
        EXPECT_EQ(boutonsVisibles(&fiche, QStringLiteral("CmdAjouter_")), QStringList());
        EXPECT_EQ(boutonsVisibles(&fiche, QStringLiteral("CmdSupprimer_")), QStringList());
        EXPECT_EQ(boutonsVisibles(&fiche, QStringLiteral("CmdEnregistrer_")), QStringList());
    }
    connecter({QStringLiteral("QUALITO_FICHE_EVENEMENT")});
    FicheQualitometre fiche;
    EXPECT_EQ(boutonsVisibles(&fiche, QStringLiteral("Cmd")),
              QStringList({"CmdAjouter_interventions", "CmdEnregistrer_interventions",
                           "CmdPrecedent", "CmdSuivant", "CmdSupprimer_interventions"}));
}

TEST_P(DroitsEcransTest, FicheDesOperations)
{
    connecter({QStringLiteral("QUALITO_FICHE_MODIF")});
    {
        FicheOperations fiche(1);
        EXPECT_FALSE(controle<QPushButton>(&fiche, "CmdNouveau")->isHidden());
        EXPECT_FALSE(controle<QPushButton>(&fiche, "CmdEnregistrer")->isHidden());
        EXPECT_TRUE(controle<QPushButton>(&fiche, "CmdSupprimer")->isHidden());
        // The measures and taxa of the operation are data.
        EXPECT_EQ(boutonsVisibles(&fiche, QStringLiteral("CmdAjouter_")), QStringList());
        EXPECT_EQ(boutonsVisibles(&fiche, QStringLiteral("CmdSupprimer_")), QStringList());
        EXPECT_EQ(boutonsVisibles(&fiche, QStringLiteral("CmdEnregistrer_")), QStringList());
    }
    connecter({QStringLiteral("QUALITO_FICHE_SUPPR"), QStringLiteral("QUALITO_DATA_MODIF")});
    FicheOperations fiche(1);
    EXPECT_TRUE(controle<QPushButton>(&fiche, "CmdNouveau")->isHidden());
    EXPECT_TRUE(controle<QPushButton>(&fiche, "CmdEnregistrer")->isHidden());
    EXPECT_FALSE(controle<QPushButton>(&fiche, "CmdSupprimer")->isHidden());
    EXPECT_FALSE(boutonsVisibles(&fiche, QStringLiteral("CmdAjouter_")).isEmpty());
    EXPECT_EQ(boutonsVisibles(&fiche, QStringLiteral("CmdAjouter_")).size(),
              boutonsVisibles(&fiche, QStringLiteral("CmdSupprimer_")).size());
}

TEST_P(DroitsEcransTest, FicheDuPrelevement)
{
    connecter({QStringLiteral("QUALITO_FICHE_MODIF")});
    {
        FichePrelevementPhysicoChmique fiche(QStringLiteral("1"), QStringLiteral("V1"));
        EXPECT_TRUE(controle<QAction>(&fiche, "CmdInsertion")->isVisible());
        EXPECT_TRUE(controle<QAction>(&fiche, "CmdEnregistrer")->isVisible());
        EXPECT_FALSE(controle<QAction>(&fiche, "CmdSupprimer")->isVisible());
        EXPECT_FALSE(controle<QPushButton>(&fiche, "CmdEnregistrerFinalites")->isHidden());
        EXPECT_TRUE(controle<QPushButton>(&fiche, "CmdEnregistrerAnalyses")->isHidden());
        EXPECT_TRUE(controle<QPushButton>(&fiche, "CmdAjouterAnalyse")->isHidden());
        EXPECT_TRUE(controle<QPushButton>(&fiche, "CmdStatut")->isHidden());
        EXPECT_TRUE(controle<QCheckBox>(&fiche, "ChkModification")->isHidden());
    }
    connecter({QStringLiteral("QUALITO_FICHE_SUPPR"), QStringLiteral("QUALITO_DATA_MODIF")});
    FichePrelevementPhysicoChmique fiche(QStringLiteral("1"), QStringLiteral("V1"));
    EXPECT_FALSE(controle<QAction>(&fiche, "CmdInsertion")->isVisible());
    EXPECT_TRUE(controle<QAction>(&fiche, "CmdSupprimer")->isVisible());
    EXPECT_TRUE(controle<QPushButton>(&fiche, "CmdEnregistrerFinalites")->isHidden());
    EXPECT_FALSE(controle<QPushButton>(&fiche, "CmdEnregistrerAnalyses")->isHidden());
    // Lines are added only once the analyses are open to editing.
    EXPECT_FALSE(controle<QPushButton>(&fiche, "CmdAjouterAnalyse")->isEnabled());
    EXPECT_FALSE(controle<QPushButton>(&fiche, "CmdSupprimerAnalyse")->isEnabled());
    controle<QCheckBox>(&fiche, "ChkModification")->click();
    EXPECT_TRUE(controle<QPushButton>(&fiche, "CmdAjouterAnalyse")->isEnabled());
    EXPECT_TRUE(controle<QPushButton>(&fiche, "CmdAjouterSelection")->isEnabled());
    controle<QCheckBox>(&fiche, "ChkModification")->click();
    EXPECT_FALSE(controle<QPushButton>(&fiche, "CmdAjouterAnalyse")->isEnabled());
}

TEST_P(DroitsEcransTest, ListesDeReferenceEnLectureSeule)
{
    const auto commandes = [](EcranListeReference &e) {
        QStringList visibles;
        for (QToolBar *barre : e.findChildren<QToolBar *>(Qt::FindDirectChildrenOnly))
            for (QAction *a : barre->actions())
                if (a->isVisible() && !a->isSeparator() && !a->text().isEmpty())
                    visibles << a->text();
        return visibles;
    };
    connecter({QStringLiteral("QUALITO_FICHE_MODIF"), QStringLiteral("QUALITO_FICHE_SUPPR")});
    ListeCodes codes;
    EXPECT_EQ(commandes(codes), QStringList({"Exporter la liste", "Aide"}));
    ListeReferentielAnalyses parametres(Referentiel::Parametre);
    EXPECT_EQ(commandes(parametres), QStringList({"Exporter la liste", "Aide"}));
    ListeTaxons taxons;
    EXPECT_EQ(commandes(taxons), QStringList({"Exporter la liste", "Aide", "Présence du taxon",
                                              "Traits écologiques", "Photos du taxon"}));
    ListeTraits traits;
    EXPECT_EQ(boutonsVisibles(&traits, QString()), QStringList());

    connecter({}, true);
    ListeReferentielAnalyses unites(Referentiel::Unite);
    EXPECT_TRUE(unites.actionInserer()->isVisible());
    EXPECT_TRUE(unites.actionEnregistrer()->isVisible());
    EXPECT_TRUE(unites.actionSupprimer()->isVisible());
    EXPECT_TRUE(unites.actionOutils()->isVisible());
    ASSERT_NE(unites.actionPurger(), nullptr);
    EXPECT_TRUE(unites.actionPurger()->isVisible());
}

VYK_SUR_LES_DEUX_MOTEURS(DroitsEcransTest);

} // namespace
