// The typed grid on its own: coded cells, lines as texts, read-only mode, cells of their own kind.

#include "ui/widgets/GrilleSaisie.h"

#include "ui/widgets/ComboCodee.h"

#include "support/Affichage.h"
#include "support/EcranTest.h"

#include "ui/widgets/Fiche.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace vyk;

namespace {

using G = NatureChamp;

const EntreesCodees UNITES = {{QStringLiteral("162"), QStringLiteral("mg/L"), 0},
                              {QStringLiteral("48"), QString(), 0}};

TEST(GrilleSaisie, LignesEnTextesEtCellulesCodees)
{
    GrilleSaisie grille;
    grille.definirColonnes({{QStringLiteral("Paramètre"), G::Texte, {}},
                            {QStringLiteral("Unité"), G::Code, UNITES},
                            {QStringLiteral("Validé"), G::OuiNon, {}}});
    // A coded cell takes the code or the entry text; a code its entries lack keeps the label the
    // text gave (an inactive unit), a bare unknown code shows itself.
    grille.remplir({{QStringLiteral("Nitrates"), QStringLiteral("162"), QStringLiteral("1")},
                    {QStringLiteral("Ammonium"), QStringLiteral("Ancienne [7]")},
                    {QStringLiteral("Fer"), QStringLiteral("9"), QStringLiteral("0")},
                    {QStringLiteral("Zinc"), QStringLiteral("48")}});
    ASSERT_EQ(grille.rowCount(), 4);
    EXPECT_EQ(grille.affiche(0, 1), QStringLiteral("mg/L [162]"));
    EXPECT_EQ(grille.affiche(1, 1), QStringLiteral("Ancienne [7]"));
    EXPECT_EQ(grille.affiche(2, 1), QStringLiteral("9"));
    EXPECT_EQ(grille.affiche(3, 1), QStringLiteral("48"));
    EXPECT_EQ(grille.lignes(), QVector<QStringList>({{"Nitrates", "162", "1"},
                                                     {"Ammonium", "7", "0"},
                                                     {"Fer", "9", "0"},
                                                     {"Zinc", "48", "0"}}));

    grille.retirerLigne(1);
    EXPECT_EQ(grille.textesLigne(1), QStringList({"Fer", "9", "0"}));
    grille.retirerLigne(7);
    EXPECT_EQ(grille.rowCount(), 3);
}

TEST(GrilleSaisie, LectureSeuleEtRetourALaSaisie)
{
    GrilleSaisie grille;
    grille.definirColonnes({{QStringLiteral("Texte"), G::Texte, {}},
                            {QStringLiteral("Case"), G::OuiNon, {}},
                            {QStringLiteral("Numéro"), G::Texte, {}, true}});
    grille.remplir({{QStringLiteral("a"), QStringLiteral("1"), QStringLiteral("3")}});
    auto drapeaux = [&](int c) { return grille.modele()->flags(grille.modele()->index(0, c)); };
    EXPECT_TRUE(drapeaux(0) & Qt::ItemIsEditable);
    EXPECT_TRUE(drapeaux(1) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(drapeaux(2) & Qt::ItemIsEditable);

    grille.definirModifiable(false);
    EXPECT_FALSE(grille.estModifiable());
    EXPECT_FALSE(drapeaux(0) & Qt::ItemIsEditable);
    EXPECT_FALSE(drapeaux(1) & Qt::ItemIsUserCheckable);
    // Lines added while read-only are read-only too; the texts stay.
    grille.ajouterLigne();
    EXPECT_FALSE(grille.modele()->flags(grille.modele()->index(1, 0)) & Qt::ItemIsEditable);
    EXPECT_EQ(grille.textesLigne(0), QStringList({"a", "1", "3"}));

    grille.definirModifiable(true);
    EXPECT_TRUE(drapeaux(0) & Qt::ItemIsEditable);
    EXPECT_TRUE(drapeaux(1) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(drapeaux(2) & Qt::ItemIsEditable);

    grille.afficherColonnes({true, false});
    EXPECT_FALSE(grille.isColumnHidden(0));
    EXPECT_TRUE(grille.isColumnHidden(1));
    EXPECT_FALSE(grille.isColumnHidden(2));
}

TEST(GrilleSaisie, UneCelluleDeSonGenreSuitSaLigne)
{
    GrilleSaisie grille;
    grille.definirColonnes({{QStringLiteral("Libellé"), G::Texte, {}, true},
                            {QStringLiteral("Valeur"), G::Nombre, {}}});
    grille.definirNbLignes(3);
    grille.definirCellule(2, 1, {{}, G::Code, UNITES});
    grille.definirTexte(2, 1, QStringLiteral("162"));
    grille.retirerLigne(0);
    EXPECT_EQ(grille.affiche(1, 1), QStringLiteral("mg/L [162]"));
    EXPECT_EQ(grille.texte(1, 1), QStringLiteral("162"));
    // The line that moved up into its place takes its column's kind again.
    grille.definirTexte(0, 1, QStringLiteral("162"));
    EXPECT_EQ(grille.affiche(0, 1), QStringLiteral("162"));
}

// One column of each kind: what a cell shows, what it gives back, how it is edited.
TEST(GrilleSaisie, ChaqueGenreDeColonne)
{
    GrilleSaisie grille;
    grille.definirColonnes({{QStringLiteral("Nom"), G::Texte, {}},
                            {QStringLiteral("Résultat"), G::Nombre, {}},
                            {QStringLiteral("Date"), G::Date, {}},
                            {QStringLiteral("Heure"), G::Heure, {}},
                            {QStringLiteral("Unité"), G::Code, UNITES},
                            {QStringLiteral("Validé"), G::OuiNon, {}},
                            {QStringLiteral("Indice"), G::Nombre, {}, true}});
    grille.remplir({{QStringLiteral(" Puits "), QStringLiteral("12,5"),
                     QStringLiteral("03/02/2020"), QStringLiteral("08:30"),
                     QStringLiteral("mg/L [162]"), QStringLiteral(" 1 "), QStringLiteral("4")}});
    const ModeleSaisie &m = *grille.modele();
    auto donnee = [&](int c, int role) { return m.data(m.index(0, c), role); };
    // Texts are kept as typed; a coded cell gives its code and shows its label; a check box
    // gives "1" or "0" and shows no text.
    EXPECT_EQ(grille.textesLigne(0),
              QStringList({" Puits ", "12,5", "03/02/2020", "08:30", "162", "1", "4"}));
    EXPECT_EQ(donnee(0, Qt::DisplayRole).toString(), QStringLiteral(" Puits "));
    EXPECT_EQ(donnee(4, Qt::DisplayRole).toString(), QStringLiteral("mg/L [162]"));
    EXPECT_EQ(donnee(5, Qt::DisplayRole).toString(), QString());
    EXPECT_EQ(donnee(5, Qt::CheckStateRole).toInt(), int(Qt::Checked));
    EXPECT_FALSE(donnee(0, Qt::CheckStateRole).isValid());
    // Numbers to the right, read-only cells on the window's colour.
    EXPECT_EQ(donnee(1, Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_FALSE(donnee(0, Qt::TextAlignmentRole).isValid());
    EXPECT_TRUE(donnee(6, Qt::BackgroundRole).isValid());
    EXPECT_FALSE(donnee(1, Qt::BackgroundRole).isValid());
    EXPECT_EQ(m.headerData(4, Qt::Horizontal).toString(), QStringLiteral("Unité"));

    // Editors: a line with a hint for dates and times, a coded box, none for check boxes and
    // read-only cells.
    auto indice = [](QWidget *e) { return qobject_cast<QLineEdit *>(e)->placeholderText(); };
    EXPECT_EQ(indice(grille.editerCellule(0, 2)), QStringLiteral("jj/mm/aaaa"));
    grille.validerSaisie();
    EXPECT_EQ(indice(grille.editerCellule(0, 3)), QStringLiteral("hh:mm"));
    grille.validerSaisie();
    EXPECT_EQ(indice(grille.editerCellule(0, 1)), QString());
    grille.validerSaisie();
    auto *boite = qobject_cast<ComboCodee *>(grille.editerCellule(0, 4));
    ASSERT_NE(boite, nullptr);
    EXPECT_EQ(boite->codeSelectionne(), QStringLiteral("162"));
    grille.validerSaisie();
    EXPECT_EQ(grille.editerCellule(0, 5), nullptr);
    EXPECT_EQ(grille.editerCellule(0, 6), nullptr);
}

// A cell's editor is typed into as the card's field of its kind: what the user's keys leave in it,
// and what the cell keeps.
class EditeurCellule : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        grille.definirColonnes({{QStringLiteral("Résultat"), G::Nombre, {}},
                                {QStringLiteral("Date"), G::Date, {}},
                                {QStringLiteral("Prélevé le"), G::DateHeure, {}},
                                {QStringLiteral("Année"), G::Annee, {}},
                                {QStringLiteral("Remarque"), G::Memo, {}}});
        grille.definirNbLignes(1);
        grille.resize(640, 160);
        grille.show();
    }

    // The cell's editor after these keys, pictured when VYK_CAPTURES is set.
    QLineEdit *taper(int colonne, const QString &touches, const QString &capture)
    {
        auto *ligne = qobject_cast<QLineEdit *>(grille.editerCellule(0, colonne));
        if (!ligne) return nullptr;
        ligne->selectAll();
        QTest::keyClicks(ligne, touches);
        test::capturer(grille, capture);
        return ligne;
    }

    GrilleSaisie grille;
};

TEST_F(EditeurCellule, UnNombreNePrendQueDesChiffres)
{
    QLineEdit *ligne = taper(0, QStringLiteral("1a2,5 mg"), QStringLiteral("CelluleNombre"));
    ASSERT_NE(ligne, nullptr);
    EXPECT_EQ(ligne->text(), QStringLiteral("12,5"));
    grille.validerSaisie();
    EXPECT_EQ(grille.texte(0, 0), QStringLiteral("12,5"));
    // An exponent is a number too.
    ligne = taper(0, QStringLiteral("-1.5E-05"), QStringLiteral("CelluleExposant"));
    ASSERT_NE(ligne, nullptr);
    grille.validerSaisie();
    EXPECT_EQ(grille.texte(0, 0), QStringLiteral("-1.5E-05"));
}

TEST_F(EditeurCellule, UneDateFausseSeVoitAussitot)
{
    QLineEdit *ligne = taper(1, QString(), QStringLiteral("CelluleDateVide"));
    ASSERT_NE(ligne, nullptr);
    EXPECT_EQ(ligne->placeholderText(), QStringLiteral("jj/mm/aaaa"));
    QTest::keyClicks(ligne, QStringLiteral("31/02/2026"));
    test::capturer(grille, QStringLiteral("CelluleDateFausse"));
    EXPECT_TRUE(dateSignalee(ligne));
    EXPECT_EQ(ligne->toolTip(), QStringLiteral("Date incorrecte : jj/mm/aaaa attendu"));
    ligne->selectAll();
    QTest::keyClicks(ligne, QStringLiteral("28/02/2026"));
    EXPECT_FALSE(dateSignalee(ligne));
    grille.validerSaisie();
    EXPECT_EQ(grille.texte(0, 1), QStringLiteral("28/02/2026"));
}

// Once its editor has closed, a cell the save would refuse still shows it, with the message the
// save gives; a readable one, an empty one and a read-only one do not.
TEST(GrilleSaisie, UneCelluleRefuseeLeResteHorsDeSonEditeur)
{
    GrilleSaisie grille;
    grille.definirColonnes({{QStringLiteral("Date"), G::Date, {}},
                            {QStringLiteral("Résultat"), G::Nombre, {}},
                            {QStringLiteral("Année"), G::Annee, {}},
                            {QStringLiteral("Nom"), G::Texte, {}},
                            {QStringLiteral("Relevé le"), G::Date, {}, true}});
    grille.remplir({{QStringLiteral("31/02/2026"), QStringLiteral("douze"), QStringLiteral("20x6"),
                     QStringLiteral("31/02/2026"), QStringLiteral("31/02/2026")},
                    {QStringLiteral("28/02/2026"), QStringLiteral("12,5"), QStringLiteral("2026"),
                     QString(), QString()},
                    {QString(), QString(), QString(), QString(), QString()}});
    const ModeleSaisie &m = *grille.modele();
    auto infobulle = [&](int l, int c) { return m.data(m.index(l, c), Qt::ToolTipRole); };
    auto fond = [&](int l, int c) { return m.data(m.index(l, c), Qt::BackgroundRole); };
    EXPECT_EQ(infobulle(0, 0).toString(),
              QStringLiteral("La valeur de « Date » n'est pas correcte."));
    EXPECT_EQ(infobulle(0, 1).toString(),
              QStringLiteral("La valeur de « Résultat » n'est pas un nombre."));
    EXPECT_EQ(infobulle(0, 2).toString(),
              QStringLiteral("La valeur de « Année » n'est pas correcte."));
    for (int c : {0, 1, 2})
        EXPECT_EQ(fond(0, c).value<QColor>(), fondSaisieIncorrecte()) << c;
    for (int l : {1, 2})
        for (int c : {0, 1, 2, 3}) {
            EXPECT_FALSE(infobulle(l, c).isValid()) << l << c;
            EXPECT_FALSE(fond(l, c).isValid()) << l << c;
        }
    // Free text is never refused; a read-only cell keeps its own background and no message.
    EXPECT_FALSE(infobulle(0, 3).isValid());
    EXPECT_FALSE(infobulle(0, 4).isValid());
    EXPECT_NE(fond(0, 4).value<QColor>(), fondSaisieIncorrecte());

    // Mended, the cell is plain again.
    grille.definirTexte(0, 0, QStringLiteral("28/02/2026"));
    EXPECT_FALSE(fond(0, 0).isValid());
}

TEST_F(EditeurCellule, FormatsMontresEtMemoSurUneLigne)
{
    QLineEdit *moment = taper(2, QString(), QStringLiteral("CelluleDateHeure"));
    ASSERT_NE(moment, nullptr);
    EXPECT_EQ(moment->placeholderText(), QStringLiteral("jj/mm/aaaa hh:mm"));
    grille.validerSaisie();
    QLineEdit *annee = taper(3, QString(), QStringLiteral("CelluleAnnee"));
    ASSERT_NE(annee, nullptr);
    EXPECT_EQ(annee->placeholderText(), QStringLiteral("aaaa"));
    grille.validerSaisie();
    QLineEdit *memo = taper(4, QStringLiteral("Eau trouble"), QStringLiteral("CelluleMemo"));
    ASSERT_NE(memo, nullptr);
    grille.validerSaisie();
    EXPECT_EQ(grille.textesLigne(0), QStringList({"", "", "", "", "Eau trouble"}));
}

// The user's edits are announced with their cell; the program's own writes are not; a
// read-only grid takes nothing.
TEST(GrilleSaisie, SaisiesDeLUtilisateur)
{
    GrilleSaisie grille;
    grille.definirColonnes({{QStringLiteral("Nom"), G::Texte, {}},
                            {QStringLiteral("Validé"), G::OuiNon, {}},
                            {QStringLiteral("Indice"), G::Texte, {}, true}});
    grille.remplir({{QStringLiteral("a"), QStringLiteral("0"), QStringLiteral("1")}});
    QSignalSpy modifiees(&grille, &GrilleSaisie::celluleModifiee);
    ModeleSaisie &m = *grille.modele();
    grille.definirTexte(0, 0, QStringLiteral("b"));
    EXPECT_EQ(modifiees.count(), 0);

    EXPECT_TRUE(m.setData(m.index(0, 1), int(Qt::Checked), Qt::CheckStateRole));
    EXPECT_TRUE(m.setData(m.index(0, 0), QStringLiteral("Forage"), Qt::EditRole));
    ASSERT_EQ(modifiees.count(), 2);
    EXPECT_EQ(modifiees[0], QVariantList({0, 1}));
    EXPECT_EQ(modifiees[1], QVariantList({0, 0}));
    EXPECT_FALSE(m.setData(m.index(0, 2), QStringLiteral("9"), Qt::EditRole));
    EXPECT_EQ(grille.textesLigne(0), QStringList({"Forage", "1", "1"}));

    grille.definirModifiable(false);
    EXPECT_FALSE(m.setData(m.index(0, 0), QStringLiteral("Source"), Qt::EditRole));
    EXPECT_FALSE(m.setData(m.index(0, 1), int(Qt::Unchecked), Qt::CheckStateRole));
    EXPECT_EQ(grille.textesLigne(0), QStringList({"Forage", "1", "1"}));
    EXPECT_EQ(modifiees.count(), 2);
}

// A code its entries lack (an inactive unit) survives its cell's editor being opened and left.
TEST(GrilleSaisie, UnCodeHorsDeLaListeResteChoisi)
{
    GrilleSaisie grille;
    grille.definirColonnes({{QStringLiteral("Unité"), G::Code, UNITES}});
    grille.remplir({{QStringLiteral("Ancienne [7]")}, {QStringLiteral("9")}});
    for (int l = 0; l < 2; ++l) {
        auto *boite = qobject_cast<ComboCodee *>(grille.editerCellule(l, 0));
        ASSERT_NE(boite, nullptr);
        EXPECT_EQ(boite->currentText().trimmed(),
                  l == 0 ? QStringLiteral("Ancienne [7]") : QStringLiteral("[9]"));
        grille.validerSaisie();
    }
    EXPECT_EQ(grille.lignes(), QVector<QStringList>({{"7"}, {"9"}}));
    EXPECT_EQ(grille.affiche(0, 0), QStringLiteral("Ancienne [7]"));
}

} // namespace
