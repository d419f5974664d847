#include "monitoring/GrilleEditable.h"
#include "db/BaseDonnees.h"

#include "support/BaseTest.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

using N = NatureChamp;

ColonneGrille colonne(const char *nom, N nature, int taille = 0, bool numerique = false)
{
    ColonneGrille c;
    c.colonne = QString::fromLatin1(nom);
    c.libelle = QString::fromLatin1(nom);
    c.nature = nature;
    c.taille = taille;
    c.numerique = numerique;
    return c;
}

// A grid of every kind, keyed by (Station, Fiche), numbered by its hidden column Num.
class GrilleEditableTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(executer("CREATE TABLE MESURES (Station Long, Fiche Long, Num Long, "
                             "Libelle Text(6), Valeur Double, Jour DateTime, Instant DateTime, "
                             "Heure DateTime, Annee DateTime, Vu Long, Lieu Text(2), Note Memo)"));
        def.nom = QStringLiteral("mesures");
        def.table = QStringLiteral("MESURES");
        def.colonnesParent = {QStringLiteral("Station"), QStringLiteral("Fiche")};
        def.colonneNumero = QStringLiteral("Num");
        def.ordre = QStringLiteral("Num");
        def.colonnes = {colonne("Libelle", N::Texte, 6),   colonne("Valeur", N::Nombre),
                        colonne("Jour", N::Date),          colonne("Instant", N::DateHeure),
                        colonne("Heure", N::Heure),        colonne("Annee", N::Annee),
                        colonne("Vu", N::OuiNon, 0, true), colonne("Lieu", N::Code, 2),
                        colonne("Note", N::Memo)};
        def.colonnes[1].obligatoire = true;
        def.message = [](const DefinitionGrille &, const ColonneGrille &c, DefautSaisie d, int n,
                         const QString &texte) {
            return QStringLiteral("%1 « %2 » pour la ligne %3 (%4)")
                .arg(c.libelle, texte)
                .arg(n)
                .arg(int(d));
        };
    }
    static LigneGrille ligne(const QStringList &textes) { return {textes, {}}; }
    DefinitionGrille def;
    const QVector<QVariant> parent{8.0, 1.0};
};

TEST_P(GrilleEditableTest, ChaqueNatureEcriteEtRelue)
{
    const GrilleEditable grille(def);
    LignesGrille l{
        ligne({"Aube", "12,5", "05/03/2020", "05/03/2020 10:07", "9h05", "1998", "oui", "Eau [E1]",
               "un long commentaire"}),
        ligne({"", "", "", "", "", "", "1", "", ""}), // only a ticked box: an empty line
        ligne({"Seine", "-3", "", "", "", "", "0", "", ""}),
    };
    EXPECT_TRUE(grille.verifier(l).estVide());
    QString erreur;
    ASSERT_TRUE(
        executer("INSERT INTO MESURES (Station, Fiche, Num, Libelle) VALUES (8, 1, 4, 'x')"));
    ASSERT_TRUE(
        executer("INSERT INTO MESURES (Station, Fiche, Num, Libelle) VALUES (8, 2, 9, 'autre')"));
    ASSERT_TRUE(grille.remplacer(parent, l, erreur)) << qPrintable(erreur);
    ASSERT_EQ(l.size(), 2);
    EXPECT_EQ(l[0].cle, QVector<QVariant>({5.0})) << "numbers follow the highest stored one";
    EXPECT_EQ(lignes("SELECT Station, Fiche, Num, Libelle, Valeur, Vu, Lieu FROM MESURES "
                     "ORDER BY Fiche, Num"),
              QStringList({"8|1|5|Aube|12.5|1|E1", "8|1|6|Seine|-3|0|", "8|2|9|autre|||"}));

    const LignesGrille relues = grille.charger(parent);
    ASSERT_EQ(relues.size(), 2);
    EXPECT_EQ(relues[0].textes, QStringList({"Aube", "12.5", "05/03/2020", "05/03/2020 10:07:00",
                                             "09:05", "1998", "1", "E1", "un long commentaire"}));
    EXPECT_EQ(relues[1].textes, QStringList({"Seine", "-3", "", "", "", "", "0", "", ""}));
    EXPECT_EQ(relues[1].cle.value(0).toInt(), 6);

    // Saving the lines read back changes nothing.
    LignesGrille encore = relues;
    ASSERT_TRUE(grille.remplacer(parent, encore, erreur));
    EXPECT_EQ(grille.charger(parent)[0].textes, relues[0].textes);
    EXPECT_EQ(lignes("SELECT Num FROM MESURES WHERE Fiche=1 ORDER BY Num"),
              QStringList({"5", "6"}));

    // One line deleted by its key; a line never saved deletes nothing.
    ASSERT_TRUE(grille.supprimerLigne(parent, relues[0], erreur));
    ASSERT_TRUE(grille.supprimerLigne(parent, ligne({"Aube"}), erreur));
    EXPECT_EQ(lignes("SELECT Fiche, Num FROM MESURES ORDER BY Fiche, Num"),
              QStringList({"1|6", "2|9"}));
}

TEST_P(GrilleEditableTest, PremiereLigneFautiveEtRienDEcrit)
{
    const GrilleEditable grille(def);
    const QStringList bonne = {"a", "1", "", "", "", "", "0", "", ""};
    const struct
    {
        int colonne;
        const char *texte;
        const char *message;
    } cas[] = {
        {0, "abcdefg", "Libelle « abcdefg » pour la ligne 3 (4)"},
        {1, "", "Valeur «  » pour la ligne 3 (1)"},
        {1, "douze", "Valeur « douze » pour la ligne 3 (3)"},
        {2, "05/03/2020 10:00", "Jour « 05/03/2020 10:00 » pour la ligne 3 (2)"},
        {3, "32/01/2020 10:00", "Instant « 32/01/2020 10:00 » pour la ligne 3 (2)"},
        {4, "24:10", "Heure « 24:10 » pour la ligne 3 (2)"},
        {5, "98", "Annee « 98 » pour la ligne 3 (2)"},
        {7, "Eau [E12]", "Lieu « Eau [E12] » pour la ligne 3 (2)"},
    };
    ASSERT_TRUE(
        executer("INSERT INTO MESURES (Station, Fiche, Num, Libelle) VALUES (8, 1, 1, 'gardé')"));
    for (const auto &c : cas) {
        QStringList fautive = bonne;
        fautive[c.colonne] = QString::fromUtf8(c.texte);
        LignesGrille l{ligne(bonne), ligne(QStringList(9)), ligne(fautive), ligne({"", "x"})};
        const RefusGrille refus = grille.verifier(l);
        EXPECT_EQ(refus.ligne, 2);
        EXPECT_EQ(refus.message, QString::fromUtf8(c.message));
    }
    // Required cells first, then the columns in order.
    def.verification = OrdreVerification::ObligatoiresDabord;
    const GrilleEditable obligatoires(def);
    EXPECT_EQ(obligatoires.verifier({ligne({"abcdefg", ""})}).message,
              QStringLiteral("Valeur «  » pour la ligne 1 (1)"));
    // Dates first, then the columns in order.
    def.verification = OrdreVerification::DatesDabord;
    const GrilleEditable dates(def);
    EXPECT_EQ(dates.verifier({ligne({"abcdefg", "1", "", "", "", "98"})}).message,
              QStringLiteral("Annee « 98 » pour la ligne 1 (2)"));
    EXPECT_EQ(lignes("SELECT Num, Libelle FROM MESURES"), QStringList({"1|gardé"}));
}

TEST_P(GrilleEditableTest, UnEchecDInsertionNeDonneAucuneLigneEcrite)
{
    toleranceErreurs = true;
    def.table = QStringLiteral("MESURES_ABSENTES");
    const GrilleEditable grille(def);
    LignesGrille l{ligne({"a", "1"})};
    QString erreur;
    EXPECT_FALSE(grille.remplacer(parent, l, erreur));
    EXPECT_FALSE(erreur.isEmpty());
    EXPECT_EQ(l.size(), 1);
    EXPECT_TRUE(l[0].cle.isEmpty()) << "the lines are left as typed";
}

// A number shown among the columns, rows found by the sample alone, codes shown with their label.
TEST_P(GrilleEditableTest, NumeroVisibleParentEcritEtLibelles)
{
    ASSERT_TRUE(executer("CREATE TABLE LIEUX (Code Text(2), Libelle Text(20), Actif Text(1))"));
    ASSERT_TRUE(executer("INSERT INTO LIEUX VALUES ('E1', 'Eau', '0'), ('S2', 'Sol', '1')"));
    ASSERT_TRUE(executer("INSERT INTO MESURES (Station, Fiche, Num, Libelle, Lieu) "
                         "VALUES (NULL, 1, 4, 'ancien', 'E1')"));
    DefinitionGrille d;
    d.table = QStringLiteral("MESURES");
    d.colonnesParent = {QStringLiteral("Station"), QStringLiteral("Fiche")};
    d.parentsEcritsSeulement = 1;
    d.colonneNumero = QStringLiteral("Num");
    d.premierNumero = 0;
    d.ordre = QStringLiteral("Num");
    d.libellesCodes = true;
    d.colonnes = {colonne("Num", N::Nombre), colonne("Libelle", N::Texte, 6),
                  colonne("Lieu", N::Code, 2)};
    d.colonnes[2].liste = QStringLiteral("SELECT Libelle, Code FROM LIEUX WHERE Actif='1'");
    const GrilleEditable grille(d);

    LignesGrille l = grille.charger(parent);
    ASSERT_EQ(l.size(), 1);
    EXPECT_EQ(l[0].textes, QStringList({"4", "ancien", "Eau [E1]"}));
    l << ligne({"99", "neuf", "S2"}); // a typed number is not the line's number
    QString erreur;
    ASSERT_TRUE(grille.remplacer(parent, l, erreur)) << qPrintable(erreur);
    EXPECT_EQ(lignes("SELECT Station, Fiche, Num, Libelle, Lieu FROM MESURES ORDER BY Num"),
              QStringList({"8|1|4|ancien|E1", "8|1|5|neuf|S2"}));
    EXPECT_EQ(l[1].textes[0], QStringLiteral("5"));

    // Numbered again from the first number at each save.
    d.renumeroter = true;
    l.removeFirst();
    ASSERT_TRUE(GrilleEditable(d).remplacer(parent, l, erreur));
    EXPECT_EQ(lignes("SELECT Num, Libelle FROM MESURES"), QStringList({"0|neuf"}));
    EXPECT_EQ(l[0].cle, QVector<QVariant>({0.0}));
}

VYK_SUR_LES_DEUX_MOTEURS(GrilleEditableTest);

} // namespace
