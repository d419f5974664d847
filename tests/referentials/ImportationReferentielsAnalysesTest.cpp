#include "referentials/ImportationReferentielsAnalyses.h"
#include "db/BaseDonnees.h"
#include "db/Progression.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

#include <QDir>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

QString donnee(const char *nom)
{
    return QDir(QStringLiteral(VYK_TEST_DATA "/referentiels-analyses"))
        .filePath(QString::fromLatin1(nom));
}

class ImportationReferentielsAnalysesTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesQualite();
    }
};

TEST(LectureReferentielsAnalyses, FichiersRefusesAvecUnMessage)
{
    FichierReferentielAnalyses f;
    QString erreur;
    EXPECT_FALSE(lireReferentielAnalyses(donnee("absent.xml"), Referentiel::Support, f, erreur));
    EXPECT_TRUE(erreur.startsWith(QStringLiteral("Impossible d'ouvrir le fichier ")));
    EXPECT_FALSE(lireReferentielAnalyses(donnee("incomplet.xml"), Referentiel::Support, f, erreur));
    EXPECT_TRUE(erreur.startsWith(
        QStringLiteral("Le fichier incomplet.xml n'est pas un fichier XML valide (ligne ")));
    EXPECT_TRUE(f.lignes.isEmpty());
    EXPECT_FALSE(lireReferentielAnalyses(donnee("vide.csv"), Referentiel::Unite, f, erreur));
    EXPECT_EQ(
        erreur,
        QStringLiteral("Le fichier vide.csv ne contient aucun élément du référentiel des unités."));
    // A parameter file read as supports holds no support.
    EXPECT_FALSE(
        lireReferentielAnalyses(donnee("parametres.xml"), Referentiel::Support, f, erreur));
}

TEST(LectureReferentielsAnalyses, ElementsTrouvesParLeurNom)
{
    FichierReferentielAnalyses f;
    QString erreur;
    ASSERT_TRUE(
        lireReferentielAnalyses(donnee("parametres.xml"), Referentiel::Parametre, f, erreur))
        << qPrintable(erreur);
    ASSERT_EQ(f.lignes.size(), 3);
    EXPECT_EQ(f.lignes[0].value(QStringLiteral("Code")), QStringLiteral("1340"));
    EXPECT_EQ(f.lignes[0].value(QStringLiteral("LibelleCourt")), QStringLiteral("NO3"));
    EXPECT_EQ(f.lignes[0].value(QStringLiteral("codeCAS")), QStringLiteral("14797-55-8"));
    EXPECT_EQ(colonnesLues(f),
              QStringList({"Code", "Nom", "LibelleCourt", "LibelleLong", "Statut", "Type",
                           "codeCAS", "Calcule", "DateCreation", "DateModification"}));

    // The support of a fraction, read under its own element, belongs to the fraction.
    ASSERT_TRUE(lireReferentielAnalyses(donnee("fractions.xml"), Referentiel::Fraction, f, erreur))
        << qPrintable(erreur);
    ASSERT_EQ(f.lignes.size(), 2);
    EXPECT_EQ(f.lignes[0].value(QStringLiteral("CodeSupport")), QStringLiteral("3"));
    EXPECT_EQ(f.lignes[1].value(QStringLiteral("Nom")),
              QStringLiteral("Phase aqueuse de l'eau (filtrée, centrifugée...)"));

    ASSERT_TRUE(lireReferentielAnalyses(donnee("unites.csv"), Referentiel::Unite, f, erreur))
        << qPrintable(erreur);
    ASSERT_EQ(f.lignes.size(), 2); // the line without code is not an entry
    EXPECT_EQ(f.lignes[1].value(QStringLiteral("Nom")),
              QStringLiteral("milligramme de nitrates; par litre"));
    EXPECT_EQ(f.lignes[1].value(QStringLiteral("codesInternes")), QStringLiteral("MGL"));
}

TEST_P(ImportationReferentielsAnalysesTest, IntegrationPuisMiseAJour)
{
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO ANALYSES_PARAMETRES (Code, Nom, Commentaires) "
                                        "VALUES ('1302', 'pH', 'gardé')")));
    FichierReferentielAnalyses f;
    QString erreur;
    ASSERT_TRUE(
        lireReferentielAnalyses(donnee("parametres.xml"), Referentiel::Parametre, f, erreur));
    BilanReferentielAnalyses b = integrerReferentielAnalyses(f, progressionNulle());
    EXPECT_EQ(b.ajoutes, 1);
    EXPECT_EQ(b.modifies, 1);
    EXPECT_EQ(b.rejetes, 1);
    EXPECT_EQ(b.erreurs, QStringList({"Code 1234567 : code trop long (5 caractères au plus)"}));
    EXPECT_EQ(
        lignes(QStringLiteral("SELECT Code, Nom, Statut, DateCreation, DateModification, "
                              "LibelleCourt, Type, Calcule, "
                              "codeCAS, Commentaires FROM ANALYSES_PARAMETRES ORDER BY Code")),
        QStringList({"1302|Potentiel en Hydrogène (pH)|3||||0|||gardé",
                     "1340|Nitrates|2|01/01/1995|12/06/2019 10:15:00|NO3|0|0|14797-55-8|"}));
    // Again: the same rows, updated.
    b = integrerReferentielAnalyses(f, progressionNulle());
    EXPECT_EQ(b.ajoutes, 0);
    EXPECT_EQ(b.modifies, 2);
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM ANALYSES_PARAMETRES")).toInt(), 2);
    EXPECT_EQ(valeur(QStringLiteral(
                         "SELECT count(*) FROM JOURNAL WHERE Titre='Intégration du référentiel'"))
                  .toInt(),
              2);

    ASSERT_TRUE(lireReferentielAnalyses(donnee("unites.csv"), Referentiel::Unite, f, erreur));
    b = integrerReferentielAnalyses(f, progressionNulle());
    EXPECT_EQ(b.ajoutes, 2);
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code, Symbole, Statut, DateCreation, codesInternes "
                                    "FROM ANALYSES_UNITES ORDER BY Code")),
              QStringList({"162|mg(NO3)/L|2||MGL", "27|°C|2|01/01/1995|"}));

    ASSERT_TRUE(lireReferentielAnalyses(donnee("fractions.xml"), Referentiel::Fraction, f, erreur));
    EXPECT_EQ(integrerReferentielAnalyses(f, progressionNulle()).ajoutes, 2);
    EXPECT_EQ(
        lignes(QStringLiteral("SELECT Code, CodeSupport FROM ANALYSES_FRACTIONS ORDER BY Code")),
        QStringList({"23|3", "3|3"}));
}

VYK_SUR_LES_DEUX_MOTEURS(ImportationReferentielsAnalysesTest);

} // namespace
