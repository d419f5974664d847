#include "db/ChampDecrit.h"
#include "db/Sql.h"

#include "support/BaseTest.h"

#include <gtest/gtest.h>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

using N = NatureChamp;

ChampDecrit champ(N nature, int taille = 0, bool numerique = false, bool obligatoire = false)
{
    ChampDecrit c;
    c.colonne = QStringLiteral("C");
    c.libelle = QStringLiteral("Valeur");
    c.nature = nature;
    c.taille = taille;
    c.numerique = numerique;
    c.obligatoire = obligatoire;
    return c;
}

// Typed text -> defect, and the text the stored value is shown as ("" when stored as null).
struct Cas
{
    const char *nom;
    ChampDecrit champ;
    const char *saisi;
    DefautSaisie defaut;
    const char *relu;
};

TEST(ChampDecrit, ChaqueNatureLitEtRelitSaSaisie)
{
    const Cas cas[] = {
        {"texte", champ(N::Texte, 5), " abc ", DefautSaisie::Aucun, " abc "},
        {"texte trop long", champ(N::Texte, 5), "abcdef", DefautSaisie::TropLong, "abcdef"},
        {"texte de blancs", champ(N::Texte, 5), "   ", DefautSaisie::Aucun, ""},
        {"memo sans limite", champ(N::Memo), "un long texte", DefautSaisie::Aucun, "un long texte"},
        {"nombre à virgule", champ(N::Nombre), "12,5", DefautSaisie::Aucun, "12.5"},
        {"pas un nombre", champ(N::Nombre), "12a", DefautSaisie::PasUnNombre, ""},
        {"date", champ(N::Date), "05/03/2020", DefautSaisie::Aucun, "05/03/2020"},
        {"date impossible", champ(N::Date), "31/02/2020", DefautSaisie::Illisible, ""},
        {"date avec une heure", champ(N::Date), "05/03/2020 10:00", DefautSaisie::Illisible, ""},
        {"date et heure", champ(N::DateHeure), "05/03/2020 10:07", DefautSaisie::Aucun,
         "05/03/2020 10:07:00"},
        {"heure", champ(N::Heure), "9h05", DefautSaisie::Aucun, "09:05"},
        {"heure avec secondes", champ(N::Heure), "09:05:30", DefautSaisie::Aucun, "09:05:30"},
        {"heure impossible", champ(N::Heure), "25:00", DefautSaisie::Illisible, ""},
        {"année", champ(N::Annee), "1998", DefautSaisie::Aucun, "1998"},
        {"année à deux chiffres", champ(N::Annee), "98", DefautSaisie::Illisible, ""},
        {"case cochée", champ(N::OuiNon), "1", DefautSaisie::Aucun, "1"},
        {"case oui", champ(N::OuiNon), "Oui", DefautSaisie::Aucun, "1"},
        {"case vide", champ(N::OuiNon), "", DefautSaisie::Aucun, "0"},
        {"case numérique", champ(N::OuiNon, 0, true), "oui", DefautSaisie::Aucun, "1"},
        {"code d'une entrée", champ(N::Code, 2), "Eau [E1]", DefautSaisie::Aucun, "E1"},
        {"code trop long", champ(N::Code, 2), "Eau [E12]", DefautSaisie::Illisible, ""},
        {"code numérique", champ(N::Code, 0, true), "Rivière [12]", DefautSaisie::Aucun, "12"},
        {"code numérique illisible", champ(N::Code, 0, true), "R1", DefautSaisie::Illisible, ""},
        {"code absent", champ(N::Code, 0, false, true), "Rien []", DefautSaisie::Absent, ""},
        {"nombre absent", champ(N::Nombre, 0, false, true), " ", DefautSaisie::Absent, ""},
    };
    for (const Cas &c : cas) {
        SCOPED_TRACE(c.nom);
        const QString saisi = QString::fromUtf8(c.saisi);
        EXPECT_EQ(c.champ.defaut(saisi), c.defaut);
        EXPECT_EQ(c.champ.texte(c.champ.valeur(saisi)), QString::fromUtf8(c.relu));
    }
    // Stored values: numbers and yes/no of a numeric column as numbers, times on the day of times.
    EXPECT_EQ(champ(N::OuiNon, 0, true).valeur(QStringLiteral("oui")), QVariant(1.0));
    EXPECT_EQ(champ(N::OuiNon).valeur(QStringLiteral("non")), QVariant(QStringLiteral("0")));
    EXPECT_EQ(champ(N::Heure).valeur(QStringLiteral("7:30")),
              QVariant(QDateTime(QDate(1899, 12, 30), QTime(7, 30))));
    EXPECT_EQ(champ(N::Annee).valeur(QStringLiteral("2004")),
              QVariant(QDateTime(QDate(2004, 1, 1), QTime(0, 0))));
    EXPECT_EQ(champ(N::Code, 0, true).valeur(QStringLiteral("12")), QVariant(12.0));
}

TEST(ChampDecrit, MessagesDuFormulaireEtTousLesDefauts)
{
    ChampsDecrits champs = {champ(N::Nombre), champ(N::Texte, 3), champ(N::Code, 0, false, true)};
    champs[0].libelle = QStringLiteral("Profondeur");
    champs[1].libelle = QStringLiteral("Niveau");
    champs[2].libelle = QStringLiteral("Support");
    champs[0].colonne = QStringLiteral("prof");
    champs[1].colonne = QStringLiteral("niv");
    champs[2].colonne = QStringLiteral("sup");
    EXPECT_EQ(verifierSaisie(champs, {"1,5", "abc", "S [3]"}), QString());
    EXPECT_TRUE(refusSaisie(champs, {"1,5", "abc", "S [3]"}).isEmpty());
    // Every defect at once, in the fields' order.
    const ListeRefus refus = refusSaisie(champs, {"x", "abcd", ""});
    EXPECT_EQ(colonnesRefusees(refus), QStringList({"prof", "niv", "sup"}));
    EXPECT_EQ(messageRefus(refus),
              QStringLiteral("La valeur de « Profondeur » n'est pas un nombre.\n"
                             "Le texte de « Niveau » dépasse 3 caractères.\n"
                             "La valeur de « Support » n'est pas renseignée."));
    EXPECT_EQ(verifierSaisie(champs, {"", "abcd", "S"}),
              QStringLiteral("Le texte de « Niveau » dépasse 3 caractères."));
    EXPECT_EQ(messageSaisie(champ(N::Date), DefautSaisie::Illisible),
              QStringLiteral("La valeur de « Valeur » n'est pas correcte."));
}

TEST(ChampDecrit, CodeDUneEntree)
{
    EXPECT_EQ(codeSaisi(QStringLiteral("Eau [de surface] [E1] ")), QStringLiteral("E1"));
    EXPECT_EQ(codeSaisi(QStringLiteral(" E1 ")), QStringLiteral("E1"));
    EXPECT_EQ(codeSaisi(QStringLiteral("Eau [E1")), QStringLiteral("Eau [E1"));
}

class ChampDecritBaseTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(executer("CREATE TABLE FICHE (Num Long, Nom Text(10), Mesure Double, "
                             "Jour DateTime, Instant DateTime, Heure DateTime, Annee DateTime, "
                             "Actif Long, Lieu Text(3), Note Memo)"));
        champs = {
            {"Nom", "Nom", N::Texte, 10},
            {"Mesure", "Mesure", N::Nombre},
            {"Jour", "Jour", N::Date},
            {"Instant", "Instant", N::DateHeure},
            {"Heure", "Heure", N::Heure},
            {"Annee", "Année", N::Annee},
            {"Actif", "Actif", N::OuiNon, 0, {}, false, true},
            {"Lieu", "Lieu", N::Code, 3, "ANALYSES.LIEU"},
            {"Note", "Note", N::Memo},
        };
    }
    ChampsDecrits champs;
};

TEST_P(ChampDecritBaseTest, EcritEtRelitChaqueNatureParSonNom)
{
    const QStringList saisie = {"l'Aube", "12,5", "05/03/2020", "05/03/2020 10:07",
                                "9h05",   "1998", "oui",        "Laboratoire [2]",
                                "long"};
    ASSERT_TRUE(executer(sqlInsertion(QStringLiteral("FICHE"), champs, saisie)));
    InstructionPreparee ajout =
        bd().preparer(insertionLiee(QStringLiteral("FICHE"), champs, {QStringLiteral("Num")}));
    ASSERT_TRUE(ajout.executer(QVector<QVariant>{2.0} +
                               valeursSaisies(champs, {"", "", "", "", "", "", "non", "", ""})));
    ASSERT_TRUE(executer(sqlMiseAJour(QStringLiteral("FICHE"), champs.mid(0, 2), {"Seine", "-3"},
                                      QStringLiteral("WHERE Num=2"))));

    const Tableau t = lire(QStringLiteral("SELECT Num, ") + listeColonnes(champs) +
                           QStringLiteral(" FROM FICHE ORDER BY Num"));
    ASSERT_EQ(t.nbLignes(), 2);
    EXPECT_EQ(lireTextes(t, 0, champs),
              QStringList({"l'Aube", "12.5", "05/03/2020", "05/03/2020 10:07:00", "09:05", "1998",
                           "1", "2", "long"}));
    EXPECT_EQ(lireTextes(t, 1, champs), QStringList({"Seine", "-3", "", "", "", "", "0", "", ""}));
    EXPECT_EQ(lignes("SELECT Num, Actif FROM FICHE WHERE Jour IS NULL"), QStringList({"2|0"}));
}

VYK_SUR_LES_DEUX_MOTEURS(ChampDecritBaseTest);

} // namespace
