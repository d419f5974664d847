#include "ui/users/FrmUtilisateurs.h"
#include "db/Session.h"
#include "ui/widgets/Droits.h"
#include "users/TablesUtilisateurs.h"

#include "support/BaseTest.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class FrmUtilisateursTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(assurerTablesUtilisateurs());
        ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE QUALITOMETRES (CodeQualitometre Double, "
                                            "CodeBSS Text(17), Nom Text(70))")));
        ASSERT_TRUE(executer(
            QStringLiteral("INSERT INTO QUALITOMETRES VALUES (5, '0601X0005', 'Source du Var')")));
        ASSERT_TRUE(
            executer(QStringLiteral("INSERT INTO QUALITOMETRES VALUES (6, '0601X0006', 'Lac')")));
        connecterAdministrateur();
    }
    static QTreeWidgetItem *droit(QTreeWidget *arbre, const QString &code)
    {
        const auto trouves = arbre->findItems(code, Qt::MatchExactly | Qt::MatchRecursive, 1);
        return trouves.isEmpty() ? nullptr : trouves.first();
    }
};

TEST_P(FrmUtilisateursTest, CreerAccorderEtSupprimerDepuisLEcran)
{
    FrmUtilisateurs f;
    ASSERT_EQ(f.SprUtilisateurs->rowCount(), 1);
    EXPECT_EQ(f.loginCourant(), QStringLiteral("ADMIN"));
    EXPECT_TRUE(f.TxtLogin->isReadOnly());

    f.CmdNouveau->click();
    EXPECT_FALSE(f.TxtLogin->isReadOnly());
    f.TxtLogin->setText(QStringLiteral("AGENT"));
    f.TxtNom->setText(QStringLiteral("Agent de terrain"));
    f.TxtMotDePasse->setText(QStringLiteral("pw1"));
    f.TxtConfirmation->setText(QStringLiteral("pw2"));
    f.ChkReferentiels->setChecked(true);
    droit(f.SprHabilitations, QStringLiteral("QUALITO_FICHE_MODIF"))->setCheckState(0, Qt::Checked);
    droit(f.SprHabilitations, QStringLiteral("MAT_MODEMS"))->setCheckState(0, Qt::Checked);
    f.CmdEnregistrer->click();
    EXPECT_EQ(messages().textes(),
              QStringList({QStringLiteral("Les deux mots de passe saisis sont différents.")}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT count(*) FROM UTILISATEURS")), QStringList({"1"}));

    messages().vider();
    f.TxtConfirmation->setText(QStringLiteral("pw1"));
    f.CmdEnregistrer->click();
    EXPECT_TRUE(messages().textes().isEmpty()) << qPrintable(messages().textes().join(u'\n'));
    EXPECT_EQ(lignes(QStringLiteral("SELECT login, password, isAdmin, nom, metadata FROM "
                                    "UTILISATEURS WHERE login='AGENT'")),
              QStringList({"AGENT|pw1|0|Agent de terrain|1"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT habilitation FROM UTILISATEURS_HABILITATIONS WHERE "
                                    "login='AGENT' ORDER BY habilitation")),
              QStringList({"MAT_MODEMS", "QUALITO_FICHE_MODIF"}));
    EXPECT_EQ(f.loginCourant(), QStringLiteral("AGENT"));
    EXPECT_EQ(f.SprUtilisateurs->rowCount(), 2);
    EXPECT_TRUE(f.TxtMotDePasse->text().isEmpty());
    EXPECT_EQ(f.LblEtat->text(), QStringLiteral("Utilisateur AGENT enregistré."));

    // Stations granted one by one, filtered by name.
    f.TxtFiltreStations->setText(QStringLiteral("var"));
    ASSERT_TRUE(f.LstStationsDisponibles->item(1)->isHidden());
    f.LstStationsDisponibles->setCurrentRow(0);
    f.CmdAjouterStation->click();
    ASSERT_EQ(f.LstStations->count(), 1);
    EXPECT_EQ(f.LstStations->item(0)->text(), QStringLiteral("0601X0005 - Source du Var"));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT login, typeStation, identifiant, modeSelect FROM UTILISATEURS_STATIONS")),
              QStringList({"AGENT|QUALITO|5|SINGLE"}));

    // Leaving unsaved changes asks first; "Non" keeps the user being edited.
    f.TxtNom->setText(QStringLiteral("Autre nom"));
    emit f.TxtNom->textEdited(f.TxtNom->text());
    f.SprUtilisateurs->selectRow(0);
    EXPECT_EQ(f.loginCourant(), QStringLiteral("AGENT"));
    EXPECT_EQ(messages().messages().last().genre, QStringLiteral("QUESTION"));

    // The password is changed only when typed; rights unchecked are withdrawn.
    droit(f.SprHabilitations, QStringLiteral("MAT_MODEMS"))->setCheckState(0, Qt::Unchecked);
    f.CmdEnregistrer->click();
    EXPECT_EQ(lignes(QStringLiteral("SELECT password, nom FROM UTILISATEURS WHERE login='AGENT'")),
              QStringList({"pw1|Autre nom"}));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT habilitation FROM UTILISATEURS_HABILITATIONS WHERE login='AGENT'")),
              QStringList({"QUALITO_FICHE_MODIF"}));

    messages().vider();
    messages().repondre(BoutonOui);
    f.CmdSupprimer->click();
    EXPECT_EQ(messages().textes(),
              QStringList({QStringLiteral(
                  "Supprimer l'utilisateur AGENT, ses habilitations et ses stations ?")}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT login FROM UTILISATEURS")), QStringList({"ADMIN"}));
    EXPECT_TRUE(lignes(QStringLiteral("SELECT * FROM UTILISATEURS_STATIONS")).isEmpty());
    EXPECT_EQ(f.loginCourant(), QStringLiteral("ADMIN"));

    // The last administrator stays, with the reason.
    messages().vider();
    messages().repondre(BoutonOui);
    f.CmdSupprimer->click();
    EXPECT_EQ(messages().textes().last(),
              QStringLiteral(
                  "Vous ne pouvez pas supprimer l'utilisateur avec lequel vous êtes connecté."));
    EXPECT_EQ(lignes(QStringLiteral("SELECT login FROM UTILISATEURS")), QStringList({"ADMIN"}));
}

// A new user whose login is taken: the save is refused, what was typed stays on the screen and
// the account that holds the login is left as it was.
TEST_P(FrmUtilisateursTest, CreationRefuseeLoginPrisGardeLaSaisie)
{
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO UTILISATEURS (login, password, isAdmin, nom, "
                                        "metadata) VALUES ('DUPONT', 'secret', '0', "
                                        "'Jean Dupont', '0')")));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO UTILISATEURS_HABILITATIONS VALUES ('DUPONT', 'QUALITO_EXPORT')")));
    const QStringList dupont = {"DUPONT|secret|0|Jean Dupont|0"};
    const auto compteDupont = [this] {
        return lignes(QStringLiteral("SELECT login, password, isAdmin, nom, metadata FROM "
                                     "UTILISATEURS WHERE login='DUPONT'"));
    };
    const auto droitsDupont = [this] {
        return lignes(QStringLiteral(
            "SELECT habilitation FROM UTILISATEURS_HABILITATIONS WHERE login='DUPONT'"));
    };

    FrmUtilisateurs f;
    for (const QString &login : {QStringLiteral("DUPONT"), QStringLiteral("dupont")}) {
        SCOPED_TRACE(qPrintable(login));
        messages().repondre(BoutonOui); // leaves the card of the previous round
        f.CmdNouveau->click();
        messages().vider();
        f.TxtLogin->setText(login);
        f.TxtNom->setText(QStringLiteral("Marie Martin"));
        f.TxtMotDePasse->setText(QStringLiteral("mm1"));
        f.TxtConfirmation->setText(QStringLiteral("mm1"));
        droit(f.SprHabilitations, QStringLiteral("QUALITO_FICHE_MODIF"))
            ->setCheckState(0, Qt::Checked);
        emit f.TxtNom->textEdited(f.TxtNom->text());
        EXPECT_FALSE(f.enregistrer());
        EXPECT_EQ(messages().textes(),
                  QStringList({QStringLiteral("Un utilisateur « %1 » existe déjà.").arg(login)}));
        EXPECT_TRUE(f.loginCourant().isEmpty());
        EXPECT_FALSE(f.TxtLogin->isReadOnly());
        EXPECT_EQ(f.TxtLogin->text(), login);
        EXPECT_EQ(f.TxtNom->text(), QStringLiteral("Marie Martin"));
        EXPECT_EQ(f.TxtMotDePasse->text(), QStringLiteral("mm1"));
        EXPECT_EQ(droit(f.SprHabilitations, QStringLiteral("QUALITO_FICHE_MODIF"))->checkState(0),
                  Qt::Checked);
        EXPECT_EQ(compteDupont(), dupont);
        EXPECT_EQ(droitsDupont(), QStringList({"QUALITO_EXPORT"}));
        // The unsaved card is still guarded.
        messages().repondre(BoutonNon);
        f.CmdNouveau->click();
        EXPECT_EQ(f.TxtNom->text(), QStringLiteral("Marie Martin"));
    }

    // Another login, and the same save goes through with what was typed.
    messages().vider();
    f.TxtLogin->setText(QStringLiteral("MMARTIN"));
    EXPECT_TRUE(f.enregistrer());
    EXPECT_TRUE(messages().textes().isEmpty()) << qPrintable(messages().textes().join(u'\n'));
    EXPECT_EQ(lignes(QStringLiteral("SELECT login, password, nom FROM UTILISATEURS WHERE "
                                    "login='MMARTIN'")),
              QStringList({"MMARTIN|mm1|Marie Martin"}));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT habilitation FROM UTILISATEURS_HABILITATIONS WHERE login='MMARTIN'")),
              QStringList({"QUALITO_FICHE_MODIF"}));
    EXPECT_EQ(compteDupont(), dupont);
    EXPECT_EQ(droitsDupont(), QStringList({"QUALITO_EXPORT"}));
}

TEST_P(FrmUtilisateursTest, CommandesSelonLesDroits)
{
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO UTILISATEURS_HABILITATIONS VALUES ('AGENT', 'QUALITO_EXPORT')")));
    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO UTILISATEURS_HABILITATIONS VALUES ('AGENT', 'MAT_CLES')")));
    session().vider();
    session().login = QStringLiteral("AGENT");

    QWidget fenetre;
    auto *exporter = new QPushButton(QStringLiteral("Exporter"), &fenetre);
    auto *importer = new QPushButton(QStringLiteral("Importer"), &fenetre);
    QAction materiel(QStringLiteral("Matériel"));
    QAction utilisateurs(QStringLiteral("Utilisateurs"));
    EXPECT_TRUE(appliquerDroit(exporter, QStringLiteral("QUALITO_EXPORT")));
    EXPECT_FALSE(appliquerDroit(importer, QStringLiteral("QUALITO_IMPORT")));
    EXPECT_TRUE(appliquerDroit(&materiel, QStringLiteral("MAT_*")));
    EXPECT_FALSE(appliquerDroit(&utilisateurs, QStringLiteral("ADMIN_USER")));
    fenetre.show();
    EXPECT_TRUE(exporter->isVisible());
    EXPECT_FALSE(importer->isVisible());
    EXPECT_TRUE(materiel.isVisible());
    EXPECT_FALSE(utilisateurs.isVisible());

    // The administrator sees every command.
    session().administrateur = true;
    EXPECT_TRUE(appliquerDroit(importer, QStringLiteral("QUALITO_IMPORT")));
    EXPECT_TRUE(importer->isVisible());
}

VYK_SUR_LES_DEUX_MOTEURS(FrmUtilisateursTest);

} // namespace
