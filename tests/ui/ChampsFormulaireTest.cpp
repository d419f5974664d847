// The fields every card makes from its descriptions: one test for each kind of field, with the
// texts a user types and reads.

#include "ui/widgets/ChampsFormulaire.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/Fiche.h"
#include "ui/widgets/Formulaire.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace vyk;

namespace {

ChampDecrit decrit(const char *colonne, NatureChamp nature, int taille = 0)
{
    ChampDecrit c;
    c.colonne = QString::fromLatin1(colonne);
    c.libelle = QStringLiteral("Libellé de ") + c.colonne;
    c.nature = nature;
    c.taille = taille;
    return c;
}

const EntreesCodees LIEUX = {{QStringLiteral("1"), QStringLiteral("Surface"), 0},
                             {QStringLiteral("2"), QStringLiteral("Fond"), 0}};

class ChampsFormulaireTest : public ::testing::Test
{
  protected:
    QWidget *ajouter(const ChampDecrit &c, const OptionsChamp &options = {})
    {
        return m_champs.ajouter(m_disposition, c, options);
    }
    template <typename T> T *ajouterDe(const ChampDecrit &c, const OptionsChamp &options = {})
    {
        auto *w = qobject_cast<T *>(ajouter(c, options));
        EXPECT_NE(w, nullptr) << c.colonne.toStdString();
        return w;
    }

    QWidget m_formulaire;
    DispositionFormulaire m_disposition{&m_formulaire};
    ChampsFormulaire m_champs{QStringLiteral("Champ")};
};

TEST_F(ChampsFormulaireTest, UnTexteGardeSaTailleEtSonLibelle)
{
    auto *nom = ajouterDe<QLineEdit>(decrit("nom", NatureChamp::Texte, 5));
    ASSERT_NE(nom, nullptr);
    EXPECT_EQ(nom->objectName(), QStringLiteral("Champnom"));
    EXPECT_EQ(nom->maxLength(), 5);
    const auto etiquettes = m_formulaire.findChildren<QLabel *>();
    ASSERT_EQ(etiquettes.size(), 1);
    EXPECT_EQ(etiquettes[0]->text(), QStringLiteral("Libellé de nom :"));
    EXPECT_EQ(etiquettes[0]->buddy(), nom);

    QTest::keyClicks(nom, QStringLiteral("Riviera"));
    EXPECT_EQ(m_champs.valeur(QStringLiteral("nom")), QStringLiteral("Rivie"));
    m_champs.afficher(QStringLiteral("nom"), QStringLiteral("12.5"));
    EXPECT_EQ(nom->text(), QStringLiteral("12.5")); // a text is never read as a number
    EXPECT_EQ(m_champs.champ(QStringLiteral("absent")), nullptr);
}

TEST_F(ChampsFormulaireTest, UnNombreSeLitEnFrancaisEtRefuseLesLettres)
{
    auto *largeur = ajouterDe<QLineEdit>(decrit("largeur", NatureChamp::Nombre));
    ASSERT_NE(largeur, nullptr);
    m_champs.afficher(QStringLiteral("largeur"), QStringLiteral("12.5"));
    EXPECT_EQ(largeur->text(), QStringLiteral("12,5"));
    m_champs.afficher(QStringLiteral("largeur"), QStringLiteral("1.5E-05"));
    EXPECT_EQ(largeur->text(), QStringLiteral("1,5E-05"));

    largeur->clear();
    QTest::keyClicks(largeur, QStringLiteral("-7a,2x5,"));
    EXPECT_EQ(m_champs.valeur(QStringLiteral("largeur")), QStringLiteral("-7,25"));
    EXPECT_EQ(decrit("largeur", NatureChamp::Nombre).valeur(largeur->text()), QVariant(-7.25));
    largeur->clear();
    QTest::keyClicks(largeur, QStringLiteral("3.5"));
    EXPECT_EQ(largeur->text(), QStringLiteral("3.5"));
}

TEST_F(ChampsFormulaireTest, UneDateIncorrecteEstSignaleeDesQuOnLaQuitte)
{
    auto *date = ajouterDe<QLineEdit>(decrit("dateDebut", NatureChamp::Date));
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(date->placeholderText(), QStringLiteral("jj/mm/aaaa"));

    QTest::keyClicks(date, QStringLiteral("31/02"));
    EXPECT_FALSE(dateSignalee(date)); // still being typed
    QTest::keyClicks(date, QStringLiteral("/2026"));
    EXPECT_TRUE(dateSignalee(date)); // a whole date that does not exist
    EXPECT_EQ(date->toolTip(), QStringLiteral("Date incorrecte : jj/mm/aaaa attendu"));

    m_champs.afficher(QStringLiteral("dateDebut"), QStringLiteral("28/02/2026"));
    EXPECT_FALSE(dateSignalee(date));
    EXPECT_TRUE(date->toolTip().isEmpty());
    EXPECT_EQ(m_champs.valeur(QStringLiteral("dateDebut")), QStringLiteral("28/02/2026"));

    date->setText(QStringLiteral("3/14"));
    emit date->editingFinished();
    EXPECT_TRUE(dateSignalee(date)); // left short
}

TEST_F(ChampsFormulaireTest, DateEtHeureHeureEtAnneeMontrentLeurFormat)
{
    auto *moment = ajouterDe<QLineEdit>(decrit("moment", NatureChamp::DateHeure));
    auto *heure = ajouterDe<QLineEdit>(decrit("heure", NatureChamp::Heure));
    auto *annee = ajouterDe<QLineEdit>(decrit("annee", NatureChamp::Annee));
    ASSERT_TRUE(moment && heure && annee);
    EXPECT_EQ(moment->placeholderText(), QStringLiteral("jj/mm/aaaa hh:mm"));
    EXPECT_EQ(heure->placeholderText(), QStringLiteral("hh:mm"));
    EXPECT_EQ(annee->placeholderText(), QStringLiteral("aaaa"));

    QTest::keyClicks(moment, QStringLiteral("01/03/2026 10:30"));
    EXPECT_FALSE(dateSignalee(moment));
    moment->clear();
    QTest::keyClicks(moment, QStringLiteral("32/01/2026 10:30"));
    EXPECT_TRUE(dateSignalee(moment));

    m_champs.afficher(QStringLiteral("heure"), QStringLiteral("08:15"));
    EXPECT_EQ(m_champs.valeur(QStringLiteral("heure")), QStringLiteral("08:15"));
}

TEST_F(ChampsFormulaireTest, OuiNonCocheParUnOuOui)
{
    auto *continu = ajouterDe<QCheckBox>(decrit("continu", NatureChamp::OuiNon));
    ASSERT_NE(continu, nullptr);
    const auto coche = [&](const char *texte) {
        m_champs.afficher(QStringLiteral("continu"), QString::fromUtf8(texte));
        return continu->isChecked();
    };
    EXPECT_TRUE(coche("1"));
    EXPECT_FALSE(coche("0"));
    EXPECT_TRUE(coche("Oui"));
    EXPECT_FALSE(coche(""));
    EXPECT_FALSE(coche("non"));
    EXPECT_EQ(m_champs.valeur(QStringLiteral("continu")), QStringLiteral("0"));
    continu->click();
    EXPECT_EQ(m_champs.valeur(QStringLiteral("continu")), QStringLiteral("1"));
}

TEST_F(ChampsFormulaireTest, UneListeCodeeGardeUnCodeQuElleNeConnaitPas)
{
    auto *lieu = ajouterDe<ComboCodee>(decrit("lieu", NatureChamp::Code), {LIEUX, false, 24});
    ASSERT_NE(lieu, nullptr);
    EXPECT_EQ(lieu->count(), 3); // the empty entry first
    EXPECT_EQ(lieu->minimumContentsLength(), 24);
    EXPECT_EQ(m_champs.valeur(QStringLiteral("lieu")), QString());

    m_champs.afficher(QStringLiteral("lieu"), QStringLiteral("Fond [2]"));
    EXPECT_EQ(m_champs.valeur(QStringLiteral("lieu")), QStringLiteral("2"));
    m_champs.afficher(QStringLiteral("lieu"), QStringLiteral("1"));
    EXPECT_EQ(lieu->currentText(), QStringLiteral("Surface [1]"));

    // A stored code the list lost is shown and read back, once, and the box can still be emptied.
    m_champs.afficher(QStringLiteral("lieu"), QStringLiteral("9"));
    EXPECT_EQ(m_champs.valeur(QStringLiteral("lieu")), QStringLiteral("9"));
    m_champs.afficher(QStringLiteral("lieu"), QStringLiteral("Ancien [9]"));
    EXPECT_EQ(lieu->count(), 4);
    m_champs.afficher(QStringLiteral("lieu"), QString());
    EXPECT_EQ(m_champs.valeur(QStringLiteral("lieu")), QString());

    auto *type = ajouterDe<ComboCodee>(decrit("type", NatureChamp::Code), {LIEUX, true});
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->count(), 2); // a required list has no empty entry
    EXPECT_EQ(m_champs.valeur(QStringLiteral("type")), QStringLiteral("1"));
}

TEST_F(ChampsFormulaireTest, UnMemoPrendToutUneLigneEtTabLeQuitte)
{
    ajouter(decrit("avant", NatureChamp::Texte));
    auto *memo = ajouterDe<QPlainTextEdit>(decrit("commentaire", NatureChamp::Memo));
    ASSERT_NE(memo, nullptr);
    EXPECT_TRUE(memo->tabChangesFocus());
    // Under the text, across both columns of fields.
    auto *grille = qobject_cast<QGridLayout *>(m_formulaire.layout());
    ASSERT_NE(grille, nullptr);
    int ligne = -1, colonne = -1, hauteur = 0, largeur = 0;
    grille->getItemPosition(grille->indexOf(memo), &ligne, &colonne, &hauteur, &largeur);
    EXPECT_EQ(std::tuple(ligne, colonne, largeur), std::tuple(1, 1, 3));
    m_champs.afficher(QStringLiteral("commentaire"), QStringLiteral("ligne 1\nligne 2"));
    EXPECT_EQ(m_champs.valeur(QStringLiteral("commentaire")), QStringLiteral("ligne 1\nligne 2"));
    // Tab follows the fields in the order they were added.
    EXPECT_EQ(m_champs.ordre(), QList<QWidget *>({m_champs.champ(QStringLiteral("avant")), memo}));
}

} // namespace
