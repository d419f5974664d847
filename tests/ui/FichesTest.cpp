// The life of a record on its card: the question before unsaved edits go, the window of each
// record, the keys of the card, dates and numbers as the user types and reads them.

#include "ui/app/Application.h"
#include "ui/app/FenetrePrincipale.h"
#include "ui/monitoring/FicheOperations.h"
#include "ui/monitoring/FichePrelevementPhysicoChmique.h"
#include "ui/monitoring/FicheQualitometre.h"
#include "ui/monitoring/FrmQualitometresPoints.h"
#include "ui/monitoring/ListeQualitometres.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/GrilleDonnees.h"

#include "support/EcranTest.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace vyk;
using namespace vyk::test;

namespace {

const QString QUESTION = QStringLiteral("QUESTION_ANNULER: Enregistrer les modifications ?");

class FichesTest : public EcranTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_ECRAN();
        ASSERT_TRUE(executer(
            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, typeStation, pente) "
            "VALUES (1, 'V1', 'Existante', '1', 12.5)"));
        ASSERT_TRUE(
            executer("INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, typeStation) "
                     "VALUES (2, 'V2', 'Voisine', '1')"));
    }

    QStringList stations()
    {
        return lignes(
            "SELECT CodeQualitometre, CodeBSS, Nom FROM QUALITOMETRES ORDER BY CodeQualitometre");
    }
    static QLineEdit *nom(FicheQualitometre &f)
    {
        return qobject_cast<QLineEdit *>(f.champ(QStringLiteral("Nom")));
    }
};

TEST_P(FichesTest, FermerUneFicheModifieeDemandeSiLOnEnregistre)
{
    FicheQualitometre fiche;
    ASSERT_TRUE(fiche.charger(1));
    fiche.show();
    recus();
    // Nothing changed: the card closes without a word.
    EXPECT_TRUE(fiche.close());
    EXPECT_TRUE(recus().isEmpty());

    ASSERT_TRUE(fiche.charger(1));
    fiche.show();
    nom(fiche)->setText(QStringLiteral("Renommée"));
    EXPECT_TRUE(fiche.estModifiee());
    // Cancel: the card stays with what was typed, nothing written.
    messages().repondre(BoutonAnnuler);
    EXPECT_FALSE(fiche.close());
    EXPECT_EQ(recus(), QStringList{QUESTION});
    EXPECT_TRUE(fiche.isVisible());
    EXPECT_EQ(nom(fiche)->text(), QStringLiteral("Renommée"));
    // Nobody answers (Escape): the same.
    EXPECT_FALSE(fiche.close());
    EXPECT_EQ(recus(), QStringList{QUESTION});
    EXPECT_EQ(stations(), QStringList({"1|V1|Existante", "2|V2|Voisine"}));
    // No: the card closes and the edits go.
    messages().repondre(BoutonNon);
    EXPECT_TRUE(fiche.close());
    EXPECT_EQ(recus(), QStringList{QUESTION});
    EXPECT_EQ(stations(), QStringList({"1|V1|Existante", "2|V2|Voisine"}));

    // Yes: saved, then closed.
    ASSERT_TRUE(fiche.charger(1));
    fiche.show();
    nom(fiche)->setText(QStringLiteral("Renommée"));
    messages().repondre(BoutonOui);
    EXPECT_TRUE(fiche.close());
    EXPECT_EQ(
        recus(),
        QStringList({QUESTION,
                     QStringLiteral("AIDE: Enregistrement de la fiche du qualitomètre terminé.")}));
    EXPECT_EQ(stations(), QStringList({"1|V1|Renommée", "2|V2|Voisine"}));
}

TEST_P(FichesTest, UnEnregistrementRefuseGardeLaFicheEtMontreLesErreurs)
{
    FicheQualitometre fiche;
    ASSERT_TRUE(fiche.charger(1));
    fiche.show();
    auto *date = controle<QLineEdit>(&fiche, "TxtDateCreation");
    auto *pente = controle<QLineEdit>(&fiche, "Txtpente");
    // A bad date shows as soon as it is whole, before any save; corrected, it shows no more.
    QTest::keyClicks(date, QStringLiteral("31/02/20"));
    EXPECT_FALSE(dateSignalee(date));
    QTest::keyClicks(date, QStringLiteral("21"));
    EXPECT_TRUE(dateSignalee(date));
    EXPECT_EQ(date->toolTip(), QStringLiteral("Date incorrecte : jj/mm/aaaa attendu"));
    date->setText(QStringLiteral("28/02/2021"));
    EXPECT_FALSE(dateSignalee(date));
    date->setText(QStringLiteral("3/2"));
    emit date->editingFinished();
    EXPECT_TRUE(dateSignalee(date));

    // Every refusal at once, the focus on the first refused field; Yes on closing keeps the card.
    pente->setText(QStringLiteral("raide"));
    nom(fiche)->setFocus();
    recus();
    messages().repondre(BoutonOui);
    EXPECT_FALSE(fiche.close());
    EXPECT_EQ(
        recus(),
        QStringList(
            {QUESTION,
             QStringLiteral(
                 "ERREUR: Merci de corriger les erreurs suivantes pour pouvoir enregistrer le "
                 "qualitomètre: \nla date de création n'est pas au format jj/mm/yyyy\n"
                 "la valeur de « Pente » n'est pas un nombre")}));
    EXPECT_TRUE(fiche.isVisible());
    EXPECT_EQ(fiche.focusWidget(), date);
    EXPECT_EQ(lignes("SELECT Nom, pente, DateCreation FROM QUALITOMETRES WHERE CodeQualitometre=1"),
              QStringList{"Existante|12.5|"});
}

// The other cards refuse a save the same way: every refusal in one message, the focus on the
// first refused field, nothing written.
TEST_P(FichesTest, ChaqueFicheListeTousSesRefusEtMontreLePremierChamp)
{
    auto texte = [](Fiche &f, const char *colonne, const QString &valeur) {
        auto *ligne = qobject_cast<QLineEdit *>(f.champ(QLatin1String(colonne)));
        ASSERT_NE(ligne, nullptr) << colonne;
        ligne->setText(valeur);
    };
    FrmQualitometresPoints points(1);
    points.show();
    texte(points, "dateDebut", QStringLiteral("31/02/2020"));
    texte(points, "Y", QStringLiteral("abc"));
    texte(points, "nom", QStringLiteral("Radier"));
    points.champ(QStringLiteral("nom"))->setFocus();
    recus();
    EXPECT_FALSE(points.enregistrer());
    EXPECT_EQ(recus(), QStringList({"ERREUR: Le site n'est pas renseigné.\n"
                                    "La date de début du point de prélèvement n'est pas correcte.\n"
                                    "La valeur « abc » du champ Y n'est pas un nombre."}));
    EXPECT_EQ(points.focusWidget(), points.champ(QStringLiteral("identifiant")));
    EXPECT_EQ(lignes("SELECT count(*) FROM QUALITOMETRES_POINTS"), QStringList{"0"});

    FicheOperations operation(1);
    operation.show();
    texte(operation, "dateDebut", QString());
    texte(operation, "heureDebut", QStringLiteral("7h99"));
    texte(operation, "dateFin", QStringLiteral("01/13/2020"));
    operation.champ(QStringLiteral("heureDebut"))->setFocus();
    recus();
    EXPECT_FALSE(operation.enregistrer());
    EXPECT_EQ(recus(), QStringList({"ERREUR: La date de début de l'opération n'est pas correcte.\n"
                                    "La valeur « 7h99 » du champ Heure n'est pas correcte.\n"
                                    "La date de fin de l'opération n'est pas correcte."}));
    EXPECT_EQ(operation.focusWidget(), operation.champ(QStringLiteral("dateDebut")));
    EXPECT_EQ(lignes("SELECT count(*) FROM QUALITOMETRES_POINTS_OPERATIONS"), QStringList{"0"});

    FichePrelevementPhysicoChmique prelevement(QStringLiteral("1"), QStringLiteral("V1"));
    prelevement.show();
    texte(prelevement, "DateDebut", QStringLiteral("12/05/2021"));
    texte(prelevement, "HeureDebut", QStringLiteral("25:10"));
    texte(prelevement, "profDebut", QStringLiteral("profond"));
    recus();
    EXPECT_FALSE(prelevement.enregistrerFiche());
    EXPECT_EQ(recus(), QStringList({"ERREUR: L'heure du prélèvement n'est pas correcte.\n"
                                    "La valeur de « Profondeur de début » n'est pas correcte."}));
    EXPECT_EQ(prelevement.focusWidget(), prelevement.champ(QStringLiteral("HeureDebut")));
    EXPECT_EQ(lignes("SELECT count(*) FROM PRELEVEMENTS"), QStringList{"0"});
}

TEST_P(FichesTest, NombresEnFrancaisEtToucheDEnregistrement)
{
    FicheQualitometre fiche;
    ASSERT_TRUE(fiche.charger(1));
    fiche.show();
    auto *pente = controle<QLineEdit>(&fiche, "Txtpente");
    EXPECT_EQ(pente->text(), QStringLiteral("12,5"));
    EXPECT_FALSE(fiche.estModifiee());

    // Ctrl+S saves from any field; what is read back is a number, shown with a comma.
    pente->setText(QStringLiteral("7,25"));
    fiche.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fiche));
    pente->setFocus();
    QTest::keyClick(pente, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dernier(), QStringLiteral("Enregistrement de la fiche du qualitomètre terminé."));
    EXPECT_EQ(lignes("SELECT pente FROM QUALITOMETRES WHERE CodeQualitometre=1"),
              QStringList{"7.25"});
    EXPECT_EQ(pente->text(), QStringLiteral("7,25"));
    EXPECT_FALSE(fiche.estModifiee());

    // Enter in a field does what the default command says: save.
    ASSERT_EQ(fiche.boutonParDefaut(), controle<QPushButton>(&fiche, "CmdEnregistrer"));
    nom(fiche)->setText(QStringLiteral("Par Entrée"));
    QTest::keyClick(nom(fiche), Qt::Key_Return);
    EXPECT_EQ(dernier(), QStringLiteral("Enregistrement de la fiche du qualitomètre terminé."));
    EXPECT_EQ(stations(), QStringList({"1|V1|Par Entrée", "2|V2|Voisine"}));
}

TEST_P(FichesTest, PasserAUneAutreStationDemandeSiLOnEnregistre)
{
    FicheQualitometre fiche;
    ASSERT_TRUE(fiche.charger(1));
    fiche.definirNavigation([] { return QStringList({"1", "2"}); });
    fiche.show();
    auto *suivant = controle<QPushButton>(&fiche, "CmdSuivant");
    auto *precedent = controle<QPushButton>(&fiche, "CmdPrecedent");
    recus();

    nom(fiche)->setText(QStringLiteral("Renommée"));
    messages().repondre(BoutonAnnuler);
    suivant->click();
    EXPECT_EQ(recus(), QStringList{QUESTION});
    EXPECT_EQ(fiche.edition().code(), QStringLiteral("1"));
    EXPECT_EQ(nom(fiche)->text(), QStringLiteral("Renommée"));

    messages().repondre(BoutonNon);
    suivant->click();
    EXPECT_EQ(recus(), QStringList{QUESTION});
    EXPECT_EQ(fiche.edition().code(), QStringLiteral("2"));
    EXPECT_EQ(nom(fiche)->text(), QStringLiteral("Voisine"));
    EXPECT_EQ(stations(), QStringList({"1|V1|Existante", "2|V2|Voisine"}));

    nom(fiche)->setText(QStringLiteral("Voisine renommée"));
    messages().repondre(BoutonOui);
    precedent->click();
    EXPECT_EQ(
        recus(),
        QStringList({QUESTION,
                     QStringLiteral("AIDE: Enregistrement de la fiche du qualitomètre terminé.")}));
    EXPECT_EQ(fiche.edition().code(), QStringLiteral("1"));
    EXPECT_EQ(stations(), QStringList({"1|V1|Existante", "2|V2|Voisine renommée"}));
    // Unchanged, it moves without a question.
    suivant->click();
    EXPECT_TRUE(recus().isEmpty());
    EXPECT_EQ(fiche.edition().code(), QStringLiteral("2"));
}

// The main window with the station menu, as after a login.
class FenetresFichesTest : public FichesTest
{
  protected:
    void TearDown() override
    {
        fenetre.reset();
        traiterEvenements();
        FichesTest::TearDown();
    }
    void ouvrirFenetre()
    {
        fenetre = std::make_unique<FenetrePrincipale>(application);
        fenetre->show();
    }
    QList<FicheQualitometre *> fiches() const
    {
        QList<FicheQualitometre *> f;
        for (QWidget *e : fenetre->ecrans())
            if (auto *fiche = qobject_cast<FicheQualitometre *>(e)) f << fiche;
        return f;
    }
    ListeQualitometres *ouvrirListe()
    {
        fenetre->findChild<QAction *>(QStringLiteral("ActionListeQualitometres"))->trigger();
        for (QWidget *e : fenetre->ecrans())
            if (auto *liste = qobject_cast<ListeQualitometres *>(e)) return liste;
        return nullptr;
    }
    // Double-click on the row of a station in the list.
    static void ouvrirStation(ListeQualitometres *liste, const QString &code)
    {
        for (int l = 0; l < liste->nbLignesAffichees(); ++l)
            if (liste->grille()->texte(l, 0) == code) {
                liste->grille()->selectionnerLigne(l);
                QMetaObject::invokeMethod(
                    liste->findChild<QPushButton *>(QStringLiteral("CmdOuvrir")), "click");
                return;
            }
        ADD_FAILURE() << qPrintable(code);
    }

    Application application;
    std::unique_ptr<FenetrePrincipale> fenetre;
};

// A new database: the status bar names the empty code lists with the link to their import, and
// the empty lists of places with what fills them.
TEST_P(FenetresFichesTest, PremierLancementIndiqueLesListesVides)
{
    ASSERT_TRUE(executer("INSERT INTO PAYS (CodePays, Nom) VALUES ('FR', 'France')"));
    ouvrirFenetre();
    auto *indication = fenetre->findChild<QLabel *>(QStringLiteral("LblListesVides"));
    ASSERT_NE(indication, nullptr);
    EXPECT_TRUE(indication->isVisible());
    const QString texte = indication->text();
    EXPECT_TRUE(texte.contains(
        QStringLiteral("<a href=\"importer\">importer les nomenclatures du référentiel…</a>")))
        << qPrintable(texte);
    EXPECT_TRUE(
        texte.endsWith(QStringLiteral(" — Aucune entrée dans : Communes, Bassins versants.")))
        << qPrintable(texte);
    EXPECT_TRUE(indication->toolTip().endsWith(
        QStringLiteral("\n\nLes imports de stations ajoutent les communes et les bassins versants "
                       "qu'ils citent ; aucun import ne remplit les pays.")))
        << qPrintable(indication->toolTip());
}

TEST_P(FenetresFichesTest, ChaqueStationASaFenetreEtUneNouvelleUneFicheVierge)
{
    ouvrirFenetre();
    ListeQualitometres *liste = ouvrirListe();
    ASSERT_NE(liste, nullptr);
    ASSERT_EQ(liste->grille()->texte(0, 0).isEmpty(), false);
    ouvrirStation(liste, QStringLiteral("1"));
    ouvrirStation(liste, QStringLiteral("2"));
    ASSERT_EQ(fiches().size(), 2);
    EXPECT_EQ(fiches()[0]->edition().code(), QStringLiteral("1"));
    EXPECT_EQ(fiches()[1]->edition().code(), QStringLiteral("2"));
    EXPECT_EQ(fiches()[0]->windowTitle(), QStringLiteral("Fiche du qualitomètre V1"));
    EXPECT_EQ(fiches()[1]->windowTitle(), QStringLiteral("Fiche du qualitomètre V2"));
    // The first one again: its own window comes forward, no third one.
    ouvrirStation(liste, QStringLiteral("1"));
    EXPECT_EQ(fiches().size(), 2);

    // "Nouveau" on a card, the menu, the list's button: each a blank card of its own.
    FicheQualitometre *premiere = fiches()[0];
    nom(*premiere)->setText(QStringLiteral("En cours"));
    premiere->findChild<QPushButton *>(QStringLiteral("CmdNouveau"))->click();
    fenetre->findChild<QAction *>(QStringLiteral("ActionNouveauQualitometre"))->trigger();
    liste->findChild<QPushButton *>(QStringLiteral("CmdNouveau"))->click();
    ASSERT_EQ(fiches().size(), 5);
    EXPECT_EQ(nom(*premiere)->text(), QStringLiteral("En cours"));
    FicheQualitometre *nouvelle = fiches()[2];
    EXPECT_TRUE(nouvelle->edition().estNouvelle());
    EXPECT_TRUE(nom(*nouvelle)->text().isEmpty());
    EXPECT_EQ(nouvelle->windowTitle(), QStringLiteral("Fiche du qualitomètre"));

    // Saving the new card creates a station and leaves the open ones as they were.
    qobject_cast<QLineEdit *>(nouvelle->champ(QStringLiteral("Identifiant")))
        ->setText(QStringLiteral("V3"));
    nom(*nouvelle)->setText(QStringLiteral("Créée"));
    ASSERT_TRUE(nouvelle->enregistrer());
    EXPECT_EQ(stations(), QStringList({"1|V1|Existante", "2|V2|Voisine", "3|V3|Créée"}));
    EXPECT_EQ(premiere->edition().code(), QStringLiteral("1"));
    EXPECT_EQ(nom(*premiere)->text(), QStringLiteral("En cours"));
    // The saved station now has its window: opening it from the list brings that one forward.
    ouvrirStation(liste, QStringLiteral("3"));
    EXPECT_EQ(fiches().size(), 5);

    // Quitting: the card with unsaved edits asks, and Cancel keeps it and the main window.
    recus();
    messages().repondre(BoutonOui);
    messages().repondre(BoutonAnnuler);
    EXPECT_FALSE(fenetre->close());
    EXPECT_EQ(recus(),
              QStringList(
                  {QStringLiteral("QUESTION: Etes vous sûr de vouloir quitter VYK ?"), QUESTION}));
    EXPECT_TRUE(fenetre->isVisible());
    ASSERT_EQ(fiches().size(), 1);
    EXPECT_EQ(nom(*fiches()[0])->text(), QStringLiteral("En cours"));
    EXPECT_EQ(stations(), QStringList({"1|V1|Existante", "2|V2|Voisine", "3|V3|Créée"}));
}

TEST_P(FichesTest, ChoisirUnAutrePointDemandeSiLOnEnregistre)
{
    ASSERT_TRUE(executer("INSERT INTO QUALITOMETRES_POINTS (CodeQualitometre, CodePoint, "
                         "identifiant, Nom, X) VALUES (1, 1, '031', 'Amont', 1.5)"));
    ASSERT_TRUE(executer("INSERT INTO QUALITOMETRES_POINTS (CodeQualitometre, CodePoint, "
                         "identifiant, Nom) VALUES (1, 2, '101', 'Aval')"));
    FrmQualitometresPoints points(1);
    points.show();
    ASSERT_EQ(points.nbPoints(), 2);
    GrilleDonnees *liste = points.grillePoints();
    auto *nom = qobject_cast<QLineEdit *>(points.champ(QStringLiteral("nom")));
    auto *site = qobject_cast<ComboCodee *>(points.champ(QStringLiteral("identifiant")));
    auto *nouveau = controle<QPushButton>(&points, QStringLiteral("CmdNouveau"));
    ASSERT_TRUE(nom && site && nouveau);
    liste->selectionnerLigne(0);
    EXPECT_EQ(nom->text(), QStringLiteral("Amont"));
    EXPECT_EQ(qobject_cast<QLineEdit *>(points.champ(QStringLiteral("X")))->text(),
              QStringLiteral("1,5"));
    recus();

    nom->setText(QStringLiteral("Amont modifié"));
    messages().repondre(BoutonAnnuler);
    liste->selectionnerLigne(1);
    EXPECT_EQ(recus(), QStringList{QUESTION});
    EXPECT_EQ(nom->text(), QStringLiteral("Amont modifié"));
    EXPECT_EQ(liste->ligneCourante(), 0);

    messages().repondre(BoutonNon);
    liste->selectionnerLigne(1);
    EXPECT_EQ(recus(), QStringList{QUESTION});
    EXPECT_EQ(nom->text(), QStringLiteral("Aval"));
    EXPECT_EQ(lignes("SELECT CodePoint, Nom FROM QUALITOMETRES_POINTS ORDER BY CodePoint"),
              QStringList({"1|Amont", "2|Aval"}));

    // Yes with a save refused: the form stays as typed.
    nom->setText(QStringLiteral("Aval modifié"));
    site->selectionnerCode(QString());
    messages().repondre(BoutonOui);
    nouveau->click();
    EXPECT_EQ(recus(),
              QStringList({QUESTION, QStringLiteral("ERREUR: Le site n'est pas renseigné.")}));
    EXPECT_EQ(nom->text(), QStringLiteral("Aval modifié"));
    site->selectionnerCode(QStringLiteral("101"));
    messages().repondre(BoutonOui);
    nouveau->click();
    EXPECT_EQ(
        recus(),
        QStringList(
            {QUESTION,
             QStringLiteral("AIDE: Enregistrement de la fiche du point de prélèvement terminé.")}));
    EXPECT_TRUE(nom->text().isEmpty());
    EXPECT_EQ(lignes("SELECT CodePoint, Nom FROM QUALITOMETRES_POINTS ORDER BY CodePoint"),
              QStringList({"1|Amont", "2|Aval modifié"}));
}

VYK_SUR_LES_DEUX_MOTEURS(FichesTest);
VYK_SUR_LES_DEUX_MOTEURS(FenetresFichesTest);

} // namespace
