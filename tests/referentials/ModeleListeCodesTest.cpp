#include "referentials/ModeleListeCodes.h"

#include "classeur/Classeur.h"
#include "db/CompteRendu.h"
#include "db/Session.h"
#include "referentials/ListesCodees.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/Affichage.h"
#include "support/BaseTest.h"

#include <QFile>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class ModeleListeCodesTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(mettreAJourBase(versionProgramme()));
    }

    QStringList messagesRecus() const
    {
        QStringList r;
        for (const auto &m : const_cast<ModeleListeCodesTest *>(this)->messages().messages())
            r << m.genre.toUpper() + QStringLiteral(": ") + m.texte;
        return r;
    }

    ModeleListeCodes modele;
};

TEST_P(ModeleListeCodesTest, ChargementDUneListeEtDeToutes)
{
    const QStringList champs = modele.champs();
    EXPECT_TRUE(champs.contains(QStringLiteral("ANALYSES.CODEREMARQUE")));
    EXPECT_EQ(champs, [&] {
        QStringList c = champs;
        c.sort();
        return c;
    }());

    modele.choisirChamp(QStringLiteral("ANALYSES.LIEU"));
    ASSERT_TRUE(modele.charger());
    EXPECT_EQ(modele.grille().entetes,
              QStringList({"Code", "Type", "Libellé", "Commentaire", "Code Statut", "Date création",
                           "Date Modif", "Auteur", "Statut", "Projet", "Référence", "Mnémonique"}));
    ASSERT_EQ(modele.grille().nbLignes(), 3);
    EXPECT_EQ(modele.grille().lignes[1],
              QStringList({"1", "ANALYSES.LIEU", "In situ", "", "", "01/01/1999", "01/01/1999", "",
                           "", "VYK", "", ""}));

    ASSERT_TRUE(executer(
        QStringLiteral("UPDATE CODES_SANDRE SET Statut=2 WHERE Champ='ANALYSES.LIEU' AND Code=2")));
    modele.choisirChamp(codeEntree(TEXTE_TOUS));
    EXPECT_TRUE(modele.tousLesChamps());
    ASSERT_TRUE(modele.charger());
    EXPECT_EQ(modele.grille().nbLignes(),
              valeur(QStringLiteral("SELECT count(*) FROM CODES_SANDRE")).toInt());
    const int i = modele.ligne(QStringLiteral("analyses.lieu"), QStringLiteral("2"));
    ASSERT_GE(i, 0);
    EXPECT_EQ(modele.grille().lignes[i][4], QStringLiteral("2"));
    EXPECT_EQ(modele.grille().lignes[i][8], QStringLiteral("Validé"));
    EXPECT_EQ(modele.fiche(i).libelle, QStringLiteral("Laboratoire"));
    EXPECT_FALSE(modele.fiche(i).nouvelle);
}

TEST_P(ModeleListeCodesTest, EnregistrementRefuseToutesLesErreursDansUnMessage)
{
    FicheCode f = modele.nouvelleFiche(QStringLiteral("TEST.LISTE"));
    f.libelle = QStringLiteral("   ");
    f.dateCreation = QStringLiteral("31/02/2020");
    const long long avant =
        valeur(QStringLiteral("SELECT count(*) FROM CODES_SANDRE")).toLongLong();
    EXPECT_FALSE(montrer(modele.enregistrer(f)));
    EXPECT_EQ(
        messagesRecus(),
        QStringList(
            {"ERREUR: \nRenseignez le libellé du code.\nLa date de création du code n'est pas "
             "correcte."}));
    messages().vider();

    f = FicheCode{};
    f.code = QStringLiteral("x");
    f.dateModification = QStringLiteral("demain");
    f.statut = QStringLiteral("8");
    EXPECT_FALSE(montrer(modele.enregistrer(f)));
    EXPECT_EQ(messagesRecus(), QStringList({"ERREUR: \nRenseignez le libellé du code.\nRenseignez "
                                            "le type du code.\nLa date de modification "
                                            "du code n'est pas correcte.\nLe code doit être un "
                                            "nombre entier compris entre -32768 et 32767."
                                            "\nLe statut du code n'est pas correct."}));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM CODES_SANDRE")).toLongLong(), avant);
}

TEST_P(ModeleListeCodesTest, NouveauCodeEnregistreModifieEtDoublonRefuse)
{
    session().login = QStringLiteral("jdupont");
    session().editionReferentiels = true; // may edit the lists
    modele.choisirChamp(QStringLiteral("test.liste"));
    ASSERT_TRUE(modele.charger());
    FicheCode f = modele.nouvelleFiche();
    // A new entry in an empty list gets code 1.
    EXPECT_EQ(f.code, QStringLiteral("1"));
    EXPECT_EQ(f.champ, QStringLiteral("TEST.LISTE"));
    EXPECT_EQ(f.auteur, QStringLiteral("jdupont"));
    f.libelle = QStringLiteral("Rive d'amont");
    f.statut = QStringLiteral("1");
    f.dateCreation = QStringLiteral("05/03/2021");
    f.mnemonique = QStringLiteral("AMONT");
    ASSERT_TRUE(montrer(modele.enregistrer(f)));
    EXPECT_EQ(messagesRecus(),
              QStringList({"AIDE: Enregistrement de la fiche du code SANDRE terminé."}));
    EXPECT_EQ(
        lignes(QStringLiteral(
            "SELECT Champ, Code, Libelle, Statut, DateCreation, DateModification, Auteur, Projet, "
            "mnemonique, Commentaire FROM CODES_SANDRE WHERE Champ='TEST.LISTE'")),
        QStringList({"TEST.LISTE|1|Rive d'amont|1|05/03/2021||jdupont|VYK|AMONT|"}));
    ASSERT_EQ(modele.grille().nbLignes(), 1);
    EXPECT_EQ(modele.grille().lignes[0][2], QStringLiteral("Rive d'amont"));
    EXPECT_EQ(modele.grille().lignes[0][8], QStringLiteral("Provisoire"));
    EXPECT_FALSE(f.nouvelle);

    // The next one takes max + 1; the saved one is edited in place.
    EXPECT_EQ(modele.nouvelleFiche().code, QStringLiteral("2"));
    f.libelle = QStringLiteral("Rive amont");
    f.statut.clear();
    ASSERT_TRUE(montrer(modele.enregistrer(f)));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT Code, Libelle, Statut FROM CODES_SANDRE WHERE Champ='TEST.LISTE'")),
              QStringList({"1|Rive amont|"}));
    EXPECT_EQ(modele.grille().nbLignes(), 1);

    // A new entry may not overwrite an existing one.
    messages().vider();
    FicheCode doublon = modele.nouvelleFiche();
    doublon.code = QStringLiteral("1");
    doublon.libelle = QStringLiteral("Autre");
    EXPECT_FALSE(montrer(modele.enregistrer(doublon)));
    EXPECT_EQ(messagesRecus(), QStringList({"ERREUR: \nLe code 1 existe déjà pour TEST.LISTE."}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Libelle FROM CODES_SANDRE WHERE Champ='TEST.LISTE'")),
              QStringList({"Rive amont"}));
}

// The answer comes from the function the caller gives: no message box is asked.
TEST_P(ModeleListeCodesTest, LaReponseVientDeLaFonctionDonnee)
{
    modele.choisirChamp(QStringLiteral("ANALYSES.CODEREMARQUE"));
    ASSERT_TRUE(modele.charger());
    const int ligne = modele.ligne(QStringLiteral("ANALYSES.CODEREMARQUE"), QStringLiteral("8"));
    ASSERT_GE(ligne, 0);
    QStringList questions;
    bool reponse = false;
    modele.confirmer = [&](const QString &q) {
        questions << q;
        return reponse;
    };
    const QString compte = QStringLiteral(
        "SELECT count(*) FROM CODES_SANDRE WHERE Champ='ANALYSES.CODEREMARQUE' AND Code=8");
    EXPECT_FALSE(montrer(modele.supprimer(modele.fiche(ligne))));
    EXPECT_EQ(valeur(compte).toInt(), 1);
    reponse = true;
    EXPECT_TRUE(montrer(modele.supprimer(modele.fiche(ligne))));
    EXPECT_EQ(valeur(compte).toInt(), 0);
    EXPECT_EQ(questions, QStringList({"Supprimer le code 8 pour ANALYSES.CODEREMARQUE ?",
                                      "Supprimer le code 8 pour ANALYSES.CODEREMARQUE ?"}));
    EXPECT_EQ(messagesRecus(), QStringList({"AIDE: Le code a été supprimé."}));
}

TEST_P(ModeleListeCodesTest, SuppressionApresConfirmationEtCodesProteges)
{
    // No table ANALYSES: the code is not in use; the question decides.
    modele.choisirChamp(QStringLiteral("ANALYSES.CODEREMARQUE"));
    ASSERT_TRUE(modele.charger());
    const FicheCode f =
        modele.fiche(modele.ligne(QStringLiteral("ANALYSES.CODEREMARQUE"), QStringLiteral("7")));
    ASSERT_EQ(f.code, QStringLiteral("7"));
    messages().repondre(BoutonNon);
    EXPECT_FALSE(montrer(modele.supprimer(f)));
    EXPECT_EQ(
        valeur(
            QStringLiteral(
                "SELECT count(*) FROM CODES_SANDRE WHERE Champ='ANALYSES.CODEREMARQUE' AND Code=7"))
            .toInt(),
        1);
    messages().repondre(BoutonOui);
    EXPECT_TRUE(montrer(modele.supprimer(f)));
    EXPECT_EQ(messagesRecus(),
              QStringList({"QUESTION: Supprimer le code 7 pour ANALYSES.CODEREMARQUE ?",
                           "QUESTION: Supprimer le code 7 pour ANALYSES.CODEREMARQUE ?",
                           "AIDE: Le code a été supprimé."}));
    EXPECT_EQ(
        valeur(
            QStringLiteral(
                "SELECT count(*) FROM CODES_SANDRE WHERE Champ='ANALYSES.CODEREMARQUE' AND Code=7"))
            .toInt(),
        0);
    EXPECT_EQ(modele.grille().nbLignes(), 10);
    EXPECT_EQ(modele.ligne(QStringLiteral("ANALYSES.CODEREMARQUE"), QStringLiteral("7")), -1);

    // A code used by a station cannot go.
    messages().vider();
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, CodeEtat) VALUES (1, 'S1', 3)")));
    modele.choisirChamp(QStringLiteral("QUALITOMETRES.CODEETAT"));
    ASSERT_TRUE(modele.charger());
    EXPECT_TRUE(ModeleListeCodes::estUtilise(QStringLiteral("QUALITOMETRES.CODEETAT"),
                                             QStringLiteral("3")));
    EXPECT_FALSE(ModeleListeCodes::estUtilise(QStringLiteral("QUALITOMETRES.CODEETAT"),
                                              QStringLiteral("2")));
    EXPECT_FALSE(montrer(modele.supprimer(modele.fiche(
        modele.ligne(QStringLiteral("QUALITOMETRES.CODEETAT"), QStringLiteral("3"))))));
    EXPECT_EQ(messagesRecus(), QStringList({"ERREUR: Attention, ce code est utilisé dans la base "
                                            "de données. Vous ne pouvez pas le supprimer."}));
    // Sub-lists look in their column (TYPE_FR for TYPE_FR.RIVIERE); bare keys have no column.
    ASSERT_TRUE(executer(QStringLiteral("UPDATE QUALITOMETRES SET Type_Fr = 12")));
    EXPECT_TRUE(ModeleListeCodes::estUtilise(QStringLiteral("QUALITOMETRES.TYPE_FR.RIVIERE"),
                                             QStringLiteral("12")));
    EXPECT_FALSE(ModeleListeCodes::estUtilise(QStringLiteral("SEUILS"), QStringLiteral("1")));
    EXPECT_FALSE(
        ModeleListeCodes::estUtilise(QStringLiteral("ANALYSES.CODEREMARQUE"), QStringLiteral("2")));
    EXPECT_FALSE(
        ModeleListeCodes::estUtilise(QStringLiteral("QUALITOMETRES.ABSENTE"), QStringLiteral("2")));
    EXPECT_FALSE(
        ModeleListeCodes::estUtilise(QStringLiteral("QUALITO\"METRES.X"), QStringLiteral("2")));

    // Time series codes are kept for the loaders.
    messages().vider();
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES "
                                        "('CHRONIQUE.VALIDITE', 1, 'Valide')")));
    FicheCode chronique;
    chronique.champ = QStringLiteral("CHRONIQUE.VALIDITE");
    chronique.code = QStringLiteral("1");
    chronique.nouvelle = false;
    EXPECT_FALSE(montrer(modele.supprimer(chronique)));
    EXPECT_EQ(
        messagesRecus(),
        QStringList(
            {"ERREUR: Les codes concernant les chroniques ne peuvent pas être supprimés car ils "
             "sont utilisés par VYK pour les chargements de données."}));
    // An entry not yet saved is not deleted.
    messages().vider();
    EXPECT_FALSE(montrer(modele.supprimer(modele.nouvelleFiche())));
    EXPECT_EQ(messagesRecus(),
              QStringList({"ERREUR: Sélectionnez d'abord le code à supprimer dans la liste."}));
}

TEST_P(ModeleListeCodesTest, RechercheReferentielEtExport)
{
    modele.choisirChamp(QStringLiteral("ANALYSES.CODEREMARQUE"));
    ASSERT_TRUE(modele.charger());
    EXPECT_EQ(modele.rechercherElement(QStringLiteral("10")), 10);
    EXPECT_TRUE(messages().messages().isEmpty());
    EXPECT_EQ(modele.rechercherElement(QStringLiteral("42")), -1);
    EXPECT_EQ(ModeleListeReference::texteIntrouvable(QStringLiteral("42")),
              QStringLiteral("Impossible de retrouver l'élément possédant le code 42"));

    EXPECT_EQ(modele.referentiel().numero, QStringLiteral("155"));
    EXPECT_EQ(modele.referentiel().version, QStringLiteral("3.1"));
    EXPECT_EQ(
        modele.lienReferentiel(),
        QStringLiteral("https://www.sandre.eaufrance.fr/"
                       "urn.php?urn=urn:sandre:donnees:NSA:FRA:code:155:::referentiel:3.1:html"));
    // A list whose referential row has no number shows none.
    modele.choisirChamp(QStringLiteral("PRELEVEMENTS.GROUPE"));
    EXPECT_FALSE(modele.referentiel().existe());
    EXPECT_TRUE(modele.lienReferentiel().isEmpty());

    modele.choisirChamp(QStringLiteral("ANALYSES.ACCREDITATION"));
    ASSERT_TRUE(modele.charger());
    const QString fichierCsv = chemin(QStringLiteral("Liste_des_Codes.csv"));
    ASSERT_TRUE(montrer(modele.exporter(fichierCsv)));
    QFile f(fichierCsv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(),
              QByteArray("\xEF\xBB\xBF") +
                  QStringLiteral(
                      "Code;Type;Libellé;Commentaire;Code Statut;Date création;Date "
                      "Modif;Auteur;Statut;Projet;"
                      "Référence;Mnémonique\r\n"
                      "1;ANALYSES.ACCREDITATION;Accrédité;;;01/01/1999;01/01/1999;;;VYK;;\r\n"
                      "2;ANALYSES.ACCREDITATION;Non accrédité;;;01/01/1999;01/01/1999;;;VYK;;\r\n")
                      .toUtf8());
    EXPECT_EQ(modele.nomExport(), QStringLiteral("Liste_des_Codes"));
    // The same grid as workbooks: the codes stay texts, the sheet is named after the export.
    for (const QString &nom :
         {QStringLiteral("Liste_des_Codes.xlsx"), QStringLiteral("Liste_des_Codes.ods")}) {
        ASSERT_TRUE(montrer(modele.exporter(chemin(nom))));
        Classeur c;
        ASSERT_TRUE(c.ouvrir(chemin(nom))) << qPrintable(c.detail());
        EXPECT_EQ(c.feuilles(), QStringList({QStringLiteral("Liste_des_Codes")}));
        const QVector<QStringList> lu = c.feuille(1)->plage(1, 1, 3, 12);
        ASSERT_EQ(lu.size(), 3);
        EXPECT_EQ(lu[0].join(u';'),
                  QStringLiteral("Code;Type;Libellé;Commentaire;Code Statut;Date création;Date "
                                 "Modif;Auteur;Statut;Projet;Référence;Mnémonique"));
        EXPECT_EQ(lu[2].join(u';'),
                  QStringLiteral(
                      "2;ANALYSES.ACCREDITATION;Non accrédité;;;01/01/1999;01/01/1999;;;VYK;;"));
        EXPECT_EQ(c.feuille(1)->valeur(2, 1), QVariant(QStringLiteral("1")));
    }
    messages().vider();
    EXPECT_FALSE(montrer(modele.exporter(chemin(QStringLiteral("absent/Liste.ods")))));
    ASSERT_EQ(messages().messages().size(), 1);
    EXPECT_TRUE(messages().messages()[0].texte.startsWith(
        QStringLiteral("Impossible d'enregistrer le fichier ")));
    // A file that cannot be written is reported.
    messages().vider();
    EXPECT_FALSE(montrer(modele.exporter(chemin(QStringLiteral("absent/sous/dossier.csv")))));
    ASSERT_EQ(messages().messages().size(), 1);
    EXPECT_EQ(messages().messages()[0].genre.toUpper(), QStringLiteral("ERREUR"));
}

VYK_SUR_LES_DEUX_MOTEURS(ModeleListeCodesTest);

} // namespace
