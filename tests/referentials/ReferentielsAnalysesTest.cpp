#include "referentials/ReferentielsAnalyses.h"
#include "db/BaseDonnees.h"
#include "db/CompteRendu.h"
#include "db/Progression.h"
#include "db/Sql.h"
#include "referentials/ModeleReferentielAnalyses.h"
#include "schema/Catalogue.h"
#include "schema/TableAnalyses.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class ReferentielsAnalysesTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesQualite();
        for (const char *sql : {
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom, LibelleLong, codesInternes, "
                 "UniteReference1) "
                 "VALUES ('1340', 'Nitrates', 'Nitrates (NO3)', '12,34', '162')",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom, LibelleLong) VALUES ('1301', "
                 "'Température de l''Eau', 'T eau')",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('1302', 'Potentiel en "
                 "Hydrogène pH')",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom, UniteReference2) VALUES ('1303', "
                 "'Conductivité', '147')",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('X12', 'Local')",
                 "INSERT INTO ANALYSES_UNITES (Code, Symbole, Nom, codesInternes) VALUES ('162', "
                 "'mg(NO3)/L', "
                 "'milligramme de nitrates par litre', 'MGL;NO3L')",
                 "INSERT INTO ANALYSES_UNITES (Code, Symbole, Nom) VALUES ('27', '°C', 'degré "
                 "Celsius')",
                 "INSERT INTO ANALYSES_UNITES (Code, Symbole, Nom) VALUES ('147', 'µS/cm', "
                 "'microsiemens par cm')",
                 "INSERT INTO ANALYSES_UNITES (Code, Symbole, Nom) VALUES ('999', 'x', "
                 "'inutilisée')",
             })
            ASSERT_TRUE(executer(QString::fromUtf8(sql)))
                << sql << qPrintable(bd().derniereErreur());
    }

    // Two stations with their analysis tables.
    void creerStations()
    {
        ASSERT_TRUE(executer(QStringLiteral(
            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (1, 'BSS001')")));
        ASSERT_TRUE(executer(QStringLiteral(
            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (2, 'BSS002')")));
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("BSS001")));
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("BSS002")));
        ASSERT_TRUE(executer(sqlCreationTableListeTaxons(QStringLiteral("1"))));
        test::creerTablesCatalogue({"CAMPAGNES_PARAMETRES", "QUALITOMETRES_DEMANDES_PARAMETRES"});
    }

    long long nombre(const QString &sql) { return valeur(sql).toLongLong(); }
};

TEST_P(ReferentielsAnalysesTest, ParametreResoluParCodeNomLibelleEtCodesInternes)
{
    CacheResolution cache;
    EXPECT_EQ(resoudreParametre(cache, QStringLiteral("1340"), false), QStringLiteral("1340"));
    EXPECT_EQ(resoudreParametre(cache, QStringLiteral("\"1301\""), false), QStringLiteral("1301"));
    // The code read equals a name, not a code.
    EXPECT_EQ(resoudreParametre(cache, QStringLiteral("Nitrates"), false), QStringLiteral("1340"));
    EXPECT_EQ(resoudreParametre(cache, QStringLiteral("ZZ"), false,
                                QStringLiteral("Température de l'Eau")),
              QStringLiteral("1301"));
    EXPECT_EQ(resoudreParametre(cache, QStringLiteral("YY"), false, QStringLiteral("T eau")),
              QStringLiteral("1301"));
    EXPECT_EQ(resoudreParametre(cache, QStringLiteral("WW"), false,
                                QStringLiteral("Potentiel-en-Hydrogène-pH")),
              QStringLiteral("1302"));
    // Other codes, whichever place they hold in the list.
    EXPECT_EQ(resoudreParametre(cache, QStringLiteral("12"), false), QStringLiteral("1340"));
    EXPECT_EQ(resoudreParametre(cache, QStringLiteral("34"), false), QStringLiteral("1340"));
    EXPECT_EQ(resoudreParametre(cache, QStringLiteral("3"), false), QString());
    EXPECT_EQ(resoudreParametre(cache, QString(), false), QString());
    EXPECT_EQ(nombre(QStringLiteral("SELECT count(*) FROM ANALYSES_PARAMETRES")), 5);
    // A text that is one parameter's name and another's long label: the name wins.
    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO ANALYSES_PARAMETRES (Code, Nom, LibelleLong) VALUES ('1400', "
                       "'Conductivité à 20°C', 'Conductivité')")));
    CacheResolution autre;
    EXPECT_EQ(resoudreParametre(autre, QStringLiteral("VV"), false, QStringLiteral("Conductivité")),
              QStringLiteral("1303"));
    EXPECT_EQ(resoudreParametre(autre, QStringLiteral("Conductivité"), false),
              QStringLiteral("1303"));
}

TEST_P(ReferentielsAnalysesTest, CreationDesParametresInconnus)
{
    CacheResolution cache;
    // Non-numeric codes above the largest numeric one (1340), from 99000.
    EXPECT_EQ(resoudreParametre(cache, QStringLiteral("NO3-X"), true,
                                QStringLiteral("Nitrates bis"), QStringLiteral("162")),
              QStringLiteral("99000"));
    EXPECT_EQ(resoudreParametre(cache, QStringLiteral("AB"), true), QStringLiteral("99001"));
    // The same unknown code met again: no second row.
    EXPECT_EQ(resoudreParametre(cache, QStringLiteral("AB"), true), QStringLiteral("99001"));
    // A numeric code is kept.
    EXPECT_EQ(resoudreParametre(cache, QStringLiteral("7073"), true, QStringLiteral("Fluorures")),
              QStringLiteral("7073"));
    EXPECT_EQ(nombre(QStringLiteral("SELECT count(*) FROM ANALYSES_PARAMETRES")), 8);
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT Code, Nom, Auteur, Statut, UniteReference1, Actif, codesInternes FROM "
                  "ANALYSES_PARAMETRES WHERE Code IN ('99000', '99001', '7073') ORDER BY Code")),
              QStringList({"7073|Fluorures|Intégration ADES|0||1|",
                           "99000|Nitrates bis|Intégration ADES|0|162|1|NO3-X",
                           "99001|AB|Intégration ADES|0||1|AB"}));
    EXPECT_EQ(cache.parametresCrees, QStringList({"99000", "99001", "7073"}));

    // The next import finds the created parameters again by the code it read.
    CacheResolution suivant;
    EXPECT_EQ(
        resoudreParametre(suivant, QStringLiteral("NO3-X"), true, QStringLiteral("Autre libellé")),
        QStringLiteral("99000"));
    EXPECT_EQ(nombre(QStringLiteral("SELECT count(*) FROM ANALYSES_PARAMETRES")), 8);
}

// A file may carry a numeric code of the created range (a parameter made by another base): the
// codes given afterwards to non-numeric ones never take it a second time.
TEST_P(ReferentielsAnalysesTest, CodesCreesJamaisEnDouble)
{
    CacheResolution cache;
    EXPECT_EQ(resoudreParametre(cache, QStringLiteral("AB"), true), QStringLiteral("99000"));
    EXPECT_EQ(resoudreParametre(cache, QStringLiteral("99001"), true), QStringLiteral("99001"));
    EXPECT_EQ(resoudreParametre(cache, QStringLiteral("99005"), true), QStringLiteral("99005"));
    EXPECT_EQ(resoudreParametre(cache, QStringLiteral("CD"), true), QStringLiteral("99006"));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code, count(*) FROM ANALYSES_PARAMETRES WHERE Code "
                                    "LIKE '99%' GROUP BY Code ORDER BY Code")),
              QStringList({"99000|1", "99001|1", "99005|1", "99006|1"}));
    EXPECT_EQ(resoudreParametre(cache, QStringLiteral("CD"), false), QStringLiteral("99006"));

    EXPECT_EQ(resoudreUnite(cache, QStringLiteral("u1"), true), QStringLiteral("1000"));
    EXPECT_EQ(resoudreUnite(cache, QStringLiteral("1001"), true), QStringLiteral("1001"));
    EXPECT_EQ(resoudreUnite(cache, QStringLiteral("u2"), true), QStringLiteral("1002"));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code, Symbole FROM ANALYSES_UNITES WHERE Code LIKE "
                                    "'100%' ORDER BY Code")),
              QStringList({"1000|u1", "1001|1001", "1002|u2"}));
}

TEST_P(ReferentielsAnalysesTest, UniteResolueEtCreee)
{
    CacheResolution cache;
    EXPECT_EQ(resoudreUnite(cache, QString(), true, QString()), QString());
    EXPECT_EQ(resoudreUnite(cache, QStringLiteral("27"), false), QStringLiteral("27"));
    EXPECT_EQ(resoudreUnite(cache, QStringLiteral("C"), false, QStringLiteral("°C")),
              QStringLiteral("27"));
    EXPECT_EQ(resoudreUnite(cache, QString(), false, QStringLiteral("microsiemens par cm")),
              QStringLiteral("147"));
    EXPECT_EQ(resoudreUnite(cache, QStringLiteral("NO3L"), false), QStringLiteral("162"));
    EXPECT_EQ(resoudreUnite(cache, QStringLiteral("MGL"), false), QStringLiteral("162"));
    EXPECT_EQ(resoudreUnite(cache, QStringLiteral("mg/kg"), false), QString());
    EXPECT_EQ(resoudreUnite(cache, QStringLiteral("mg/kg"), true, QStringLiteral("mg/kg MS")),
              QString());
    // The cache remembers that it could not be resolved; a new run creates it.
    CacheResolution creation;
    EXPECT_EQ(resoudreUnite(creation, QStringLiteral("mg/kg"), true, QStringLiteral("mg/kg MS")),
              QStringLiteral("1000"));
    EXPECT_EQ(resoudreUnite(creation, QStringLiteral("mg/kg"), true), QStringLiteral("1000"));
    EXPECT_EQ(resoudreUnite(creation, QStringLiteral("318"), true), QStringLiteral("318"));
    EXPECT_EQ(
        lignes(QStringLiteral(
            "SELECT Code, Symbole, Nom, Auteur, Commentaires, codesInternes FROM ANALYSES_UNITES "
            "WHERE Code IN ('1000', '318') ORDER BY Code")),
        QStringList({"1000|mg/kg MS|mg/kg MS|NORVALE|Intégration ADES |mg/kg",
                     "318|318|318|NORVALE|Intégration ADES |"}));
}

TEST_P(ReferentielsAnalysesTest, UnitesDeReferenceEtActivation)
{
    const auto u = unitesReference(QStringLiteral("1303"));
    EXPECT_EQ(u[0], QString());
    EXPECT_EQ(u[1], QStringLiteral("147"));
    EXPECT_EQ(unitesReference(QStringLiteral("1340"))[0], QStringLiteral("162"));
    EXPECT_EQ(unitesReference(QStringLiteral("absent"))[0], QString());

    ASSERT_TRUE(activerParametres({QStringLiteral("1340"), QStringLiteral("X12")}));
    ASSERT_TRUE(activerUnites({QStringLiteral("27")}));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT Code FROM ANALYSES_PARAMETRES WHERE Actif='1' ORDER BY Code")),
              QStringList({"1340", "X12"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code FROM ANALYSES_UNITES WHERE Actif='1'")),
              QStringList({"27"}));
}

TEST_P(ReferentielsAnalysesTest, SuppressionRefuseeQuandLeCodeEstUtilise)
{
    creerStations();
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO ANALYSES_BSS002 (NumAnalyse, NumPrelevement, CodeQualitometre, "
        "CodeParametre, CodeUnite, CodeMethodeFraction) VALUES (0, 0, 2, '1301', '27', '22')")));
    ASSERT_TRUE(
        executer(QStringLiteral("INSERT INTO METHODES (Code, Nom) VALUES ('22', 'Filtration')")));
    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO METHODES (Code, Nom) VALUES ('23', 'Centrifugation')")));
    ASSERT_TRUE(
        executer(QStringLiteral("INSERT INTO ANALYSES_SUPPORTS (Code, Nom) VALUES ('3', 'Eau')")));
    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO ANALYSES_SUPPORTS (Code, Nom) VALUES ('6', 'Sédiments')")));
    ASSERT_TRUE(
        executer(QStringLiteral("INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, "
                                "CodeSupportPrincipal) VALUES (0, 1, '3')")));
    ASSERT_TRUE(
        executer(QStringLiteral("INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, "
                                "codeOperation, codeParametre) VALUES (1, 0, 1302)")));

    EXPECT_TRUE(estUtilise(Referentiel::Parametre, QStringLiteral("1301")));
    EXPECT_TRUE(estUtilise(Referentiel::Parametre, QStringLiteral("1302")));
    EXPECT_FALSE(estUtilise(Referentiel::Parametre, QStringLiteral("1340")));
    EXPECT_FALSE(estUtilise(Referentiel::Parametre, QStringLiteral("X12")));
    EXPECT_TRUE(estUtilise(Referentiel::Unite, QStringLiteral("27")));
    EXPECT_TRUE(estUtilise(Referentiel::Methode, QStringLiteral("22")));
    EXPECT_FALSE(estUtilise(Referentiel::Methode, QStringLiteral("23")));
    EXPECT_TRUE(estUtilise(Referentiel::Support, QStringLiteral("3")));

    // A unit that is only a parameter's second reference unit.
    ModeleReferentielAnalyses unites(Referentiel::Unite);
    ASSERT_TRUE(unites.charger());
    const int ligne = unites.ligne(QStringLiteral("147"));
    ASSERT_GE(ligne, 0);
    messages().repondre(BoutonOui);
    EXPECT_FALSE(montrer(unites.supprimer(unites.fiche(ligne))));
    ASSERT_EQ(messages().textes(),
              QStringList({"Attention, ce code est utilisé dans la base de données. Vous ne pouvez "
                           "pas le supprimer."}));
    EXPECT_EQ(nombre(QStringLiteral("SELECT count(*) FROM ANALYSES_UNITES WHERE Code='147'")), 1);

    // An unused one is deleted after the question.
    messages().vider();
    messages().repondre(BoutonOui);
    EXPECT_TRUE(montrer(unites.supprimer(unites.fiche(unites.ligne(QStringLiteral("999"))))));
    EXPECT_EQ(messages().textes(),
              QStringList({"Voulez vous supprimer l'unité 999 ?", "L'unité a été supprimée."}));
    EXPECT_EQ(unites.ligne(QStringLiteral("999")), -1);
    EXPECT_EQ(nombre(QStringLiteral("SELECT count(*) FROM ANALYSES_UNITES WHERE Code='999'")), 0);

    ModeleReferentielAnalyses supports(Referentiel::Support);
    ASSERT_TRUE(supports.charger());
    messages().vider();
    messages().repondre(BoutonOui);
    EXPECT_FALSE(montrer(supports.supprimer(supports.fiche(supports.ligne(QStringLiteral("3"))))));
    messages().repondre(BoutonOui);
    EXPECT_TRUE(montrer(supports.supprimer(supports.fiche(supports.ligne(QStringLiteral("6"))))));
    EXPECT_EQ(messages().textes().last(), QStringLiteral("Le support a été supprimé."));
}

// Each referential: its code required, its end message, every place of use refusing the
// deletion (the row stays), then the deletion once nothing uses it.
TEST_P(ReferentielsAnalysesTest, FicheEtSuppressionDeChaqueReferentiel)
{
    creerStations();
    const struct
    {
        Referentiel referentiel;
        const char *codeVide, *enregistre, *question, *supprime;
        QStringList usages; // statements that make code 77 used, each undone by the next DELETE
    } cas[] = {
        {Referentiel::Parametre,
         "Renseignez le code du paramètre.",
         "Enregistrement de la fiche du paramètre terminé.",
         "Voulez vous supprimer le paramètre 77 ?",
         "Le paramètre a été supprimé.",
         {"INSERT INTO ANALYSES_BSS002 (NumAnalyse, NumPrelevement, CodeParametre) VALUES (0, 0, "
          "'77')",
          "INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, codeOperation, "
          "codeParametre) VALUES (1, 0, 77)",
          "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS_ENV (codeQualitometre, codeOperation, "
          "parametre) VALUES (1, 0, 77)"}},
        {Referentiel::Unite,
         "Renseignez le code de l'unité.",
         "Enregistrement de la fiche de l'unité terminé.",
         "Voulez vous supprimer l'unité 77 ?",
         "L'unité a été supprimée.",
         {"INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, CodeUnite) VALUES (0, 0, '77')",
          "INSERT INTO ANALYSES_PARAMETRES (Code, UniteReference1) VALUES ('P77', '77')",
          "INSERT INTO ANALYSES_PARAMETRES (Code, UniteReference3) VALUES ('P77', '77')",
          "INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, codeOperation, "
          "codeUnite) VALUES (1, 0, 77)",
          "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS_ENV (codeQualitometre, codeOperation, "
          "unite) VALUES (1, 0, 77)",
          "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeTaxon, codeUnite) VALUES (0, '1', "
          "77)",
          "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, CodeParametre, CodeUnite, "
          "TypeListe) VALUES ('S', 1, '1301', '77', 0)",
          "INSERT INTO ANALYSES_SEUILS (CodeParametre, CodeUnite) VALUES ('1301', '77')",
          "INSERT INTO CAMPAGNES_PARAMETRES (codeCampagne, codeParametre, codeUnite) VALUES (1, "
          "'1301', '77')",
          "INSERT INTO QUALITOMETRES_DEMANDES_PARAMETRES (codeDemande, codeParametre, codeUnite) "
          "VALUES (1, '1301', '77')"}},
        {Referentiel::Methode,
         "Renseignez le code de la méthode.",
         "Enregistrement de la fiche de la méthode terminé.",
         "Voulez vous supprimer la méthode 77 ?",
         "La méthode a été supprimée.",
         {"INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, CodeMethode) VALUES (0, 0, "
          "'77')",
          "INSERT INTO ANALYSES_BSS002 (NumAnalyse, NumPrelevement, CodeMethodeFraction) VALUES "
          "(0, 0, '77')",
          "INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, MethodeExtraction) VALUES (0, "
          "0, '77')",
          "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, "
          "CodeMethodeFractionPrincipal) VALUES (0, 1, '77')",
          "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
          "methodeAnalyse) VALUES (1, 0, 77)",
          "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS_ENV (codeQualitometre, codeOperation, "
          "methode) VALUES (1, 0, 77)"}},
        {Referentiel::Fraction,
         "Renseignez le code de la fraction.",
         "Enregistrement de la fiche de la fraction terminé.",
         "Voulez vous supprimer la fraction 77 ?",
         "La fraction a été supprimée.",
         {"INSERT INTO ANALYSES_BSS002 (NumAnalyse, NumPrelevement, CodeFraction) VALUES (0, 0, "
          "'77')"}},
        {Referentiel::Support,
         "Renseignez le code du support.",
         "Enregistrement de la fiche du support terminé.",
         "Voulez vous supprimer le support 77 ?",
         "Le support a été supprimé.",
         {"INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, CodeSupport) VALUES (0, 0, "
          "'77')",
          "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, CodeSupportPrincipal) "
          "VALUES (0, 1, '77')",
          "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
          "supportBiologique) VALUES (1, 0, 77)"}},
    };
    for (const auto &c : cas) {
        ModeleReferentielAnalyses modele(c.referentiel);
        ASSERT_TRUE(modele.charger());
        const QString table = tableReferentiel(c.referentiel);
        FicheReferentiel f = modele.nouvelleFiche();
        EXPECT_FALSE(montrer(modele.enregistrer(f)));
        EXPECT_EQ(recus(),
                  QStringList({QStringLiteral("ERREUR: \n") + QString::fromUtf8(c.codeVide)}));
        f.valeurs[QStringLiteral("Code")] = QStringLiteral("77");
        ASSERT_TRUE(montrer(modele.enregistrer(f)));
        EXPECT_EQ(recus(),
                  QStringList({QStringLiteral("AIDE: ") + QString::fromUtf8(c.enregistre)}));
        for (const QString &usage : c.usages) {
            ASSERT_TRUE(executer(usage)) << qPrintable(usage);
            messages().repondre(BoutonOui);
            EXPECT_FALSE(
                montrer(modele.supprimer(modele.fiche(modele.ligne(QStringLiteral("77"))))))
                << qPrintable(usage);
            EXPECT_EQ(recus(), QStringList({"ERREUR: Attention, ce code est utilisé dans la base "
                                            "de données. Vous ne pouvez pas le "
                                            "supprimer."}))
                << qPrintable(usage);
            // The purge reads the same places.
            EXPECT_TRUE(codesUtilises(c.referentiel).contains(QStringLiteral("77")))
                << qPrintable(usage);
            const QString nomTable = usage.section(u' ', 2, 2);
            ASSERT_TRUE(executer(QStringLiteral("DELETE FROM ") + nomTable +
                                 (nomTable == QLatin1String("ANALYSES_PARAMETRES")
                                      ? QStringLiteral(" WHERE Code='P77'")
                                      : QString())));
        }
        EXPECT_EQ(nombre(QStringLiteral("SELECT count(*) FROM ") + table +
                         QStringLiteral(" WHERE Code='77'")),
                  1);
        messages().repondre(BoutonOui);
        EXPECT_TRUE(montrer(modele.supprimer(modele.fiche(modele.ligne(QStringLiteral("77"))))));
        EXPECT_EQ(recus(),
                  QStringList({QStringLiteral("QUESTION: ") + QString::fromUtf8(c.question),
                               QStringLiteral("AIDE: ") + QString::fromUtf8(c.supprime)}));
        EXPECT_EQ(nombre(QStringLiteral("SELECT count(*) FROM ") + table +
                         QStringLiteral(" WHERE Code='77'")),
                  0);
        EXPECT_EQ(modele.ligne(QStringLiteral("77")), -1);
    }
}

// An analysis table of an older layout (no MethodeExtraction) cannot answer: the method it or
// another table uses is neither deleted nor purged.
TEST_P(ReferentielsAnalysesTest, TableAncienneIllisibleRienNEstSupprime)
{
    creerStations();
    ASSERT_TRUE(executer(QStringLiteral("DROP TABLE ANALYSES_BSS002")));
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE ANALYSES_BSS002 (NumAnalyse Double, "
                                        "NumPrelevement Double, CodeMethode Text(5))")));
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, "
                                        "CodeMethode) VALUES (0, 0, '22')")));
    ASSERT_TRUE(
        executer(QStringLiteral("INSERT INTO METHODES (Code, Nom) VALUES ('22', 'Filtration'), "
                                "('23', 'Centrifugation')")));
    toleranceErreurs = true;
    ModeleReferentielAnalyses methodes(Referentiel::Methode);
    ASSERT_TRUE(methodes.charger());
    messages().repondre(BoutonOui);
    EXPECT_FALSE(montrer(methodes.supprimer(methodes.fiche(methodes.ligne(QStringLiteral("22"))))));
    EXPECT_EQ(recus(), QStringList({"ERREUR: Attention, ce code est utilisé dans la base de "
                                    "données. Vous ne pouvez pas le supprimer."}));
    EXPECT_EQ(purgerNonUtilises(Referentiel::Methode, progressionNulle()), -1);
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code FROM METHODES ORDER BY Code")),
              QStringList({"22", "23"}));
    EXPECT_FALSE(bd().enTransaction());
}

TEST_P(ReferentielsAnalysesTest, PurgeDesParametresNonUtilises)
{
    creerStations();
    ASSERT_TRUE(
        executer(QStringLiteral("INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, "
                                "CodeQualitometre, CodeParametre) VALUES (0, 0, 1, '1340')")));
    ASSERT_TRUE(
        executer(QStringLiteral("INSERT INTO ANALYSES_BSS002 (NumAnalyse, NumPrelevement, "
                                "CodeQualitometre, CodeParametre) VALUES (0, 0, 2, 'X12')")));
    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO QUALITOMETRES_POINTS_OPERATIONS_ENV (codeQualitometre, "
                       "codeOperation, parametre) VALUES (1, 0, 1303)")));
    ModeleReferentielAnalyses modele(Referentiel::Parametre);
    ASSERT_TRUE(modele.charger());

    // Refused: nothing deleted.
    EXPECT_FALSE(montrer(modele.purger(progressionNulle())));
    EXPECT_EQ(messages().textes(),
              QStringList({"Voulez vous purger tous les paramètres non utilisés ?",
                           "L'opération a été annulée. Aucun paramètre n'a été supprimé"}));
    EXPECT_EQ(nombre(QStringLiteral("SELECT count(*) FROM ANALYSES_PARAMETRES")), 5);

    messages().vider();
    messages().repondre(BoutonOui);
    EXPECT_TRUE(montrer(modele.purger(progressionNulle())));
    EXPECT_EQ(messages().textes().last(), QStringLiteral("Les paramètres ont été supprimés."));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code FROM ANALYSES_PARAMETRES ORDER BY Code")),
              QStringList({"1303", "1340", "X12"}));
    EXPECT_EQ(modele.grille().nbLignes(), 3);
    // Units: the reference units of the parameters left count as used.
    EXPECT_EQ(purgerNonUtilises(Referentiel::Unite, progressionNulle()), 2);
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code FROM ANALYSES_UNITES ORDER BY Code")),
              QStringList({"147", "162"}));
}

TEST_P(ReferentielsAnalysesTest, EnregistrementDUneFiche)
{
    ModeleReferentielAnalyses modele(Referentiel::Unite);
    ASSERT_TRUE(modele.charger());
    EXPECT_EQ(modele.grille().entetes,
              QStringList({"Code", "Symbole", "Nom", "Statut", "Codes internes", "Date création",
                           "Date Modif", "Actif"}));
    FicheReferentiel f = modele.nouvelleFiche();
    f.valeurs[QStringLiteral("DateCreation")] = QStringLiteral("31/02/2020");
    f.valeurs[QStringLiteral("DateModification")] = QStringLiteral("hier");
    EXPECT_FALSE(montrer(modele.enregistrer(f)));
    EXPECT_EQ(messages().textes(), QStringList({"\nRenseignez le code de l'unité.\nLa date de "
                                                "création du code n'est pas correcte.\nLa date de "
                                                "modification du code n'est pas correcte."}));
    messages().vider();
    f.valeurs[QStringLiteral("Code")] = QStringLiteral("27");
    f.valeurs[QStringLiteral("DateCreation")] = QStringLiteral("01/02/2020");
    f.valeurs[QStringLiteral("DateModification")] = QString();
    EXPECT_FALSE(montrer(modele.enregistrer(f)));
    EXPECT_EQ(messages().textes(), QStringList({"\nLe code 27 existe déjà."}));
    messages().vider();
    f.valeurs[QStringLiteral("Code")] = QStringLiteral("48");
    f.valeurs[QStringLiteral("Symbole")] = QStringLiteral("mg/L");
    f.valeurs[QStringLiteral("Statut")] = QStringLiteral("2");
    EXPECT_TRUE(montrer(modele.enregistrer(f)));
    EXPECT_EQ(messages().textes(), QStringList({"Enregistrement de la fiche de l'unité terminé."}));
    EXPECT_FALSE(f.nouvelle);
    const int ligne = modele.ligne(QStringLiteral("48"));
    ASSERT_GE(ligne, 0);
    EXPECT_EQ(modele.grille().lignes[ligne],
              QStringList({"48", "mg/L", "", "Validé", "", "01/02/2020", "", "Oui"}));
    // Numeric codes in numeric order.
    EXPECT_EQ(modele.grille().lignes[ligne - 1][0], QStringLiteral("27"));
    EXPECT_EQ(
        lignes(QStringLiteral(
            "SELECT Code, Symbole, Statut, DateCreation FROM ANALYSES_UNITES WHERE Code='48'")),
        QStringList({"48|mg/L|2|01/02/2020"}));
    // Modified, not duplicated.
    f.valeurs[QStringLiteral("Nom")] = QStringLiteral("milligramme par litre");
    EXPECT_TRUE(montrer(modele.enregistrer(f)));
    EXPECT_EQ(nombre(QStringLiteral("SELECT count(*) FROM ANALYSES_UNITES WHERE Code='48'")), 1);
    EXPECT_EQ(modele.rechercherElement(QStringLiteral("48")), ligne);
}

TEST_P(ReferentielsAnalysesTest, RemplacementDeLHistorique)
{
    creerStations();
    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, CodeQualitometre, "
                       "CodeParametre, CodeUnite) VALUES (0, 0, 1, '1301', '27')")));
    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO ANALYSES_BSS002 (NumAnalyse, NumPrelevement, CodeQualitometre, "
                       "CodeParametre, CodeUnite) VALUES (0, 0, 2, '1301', '27')")));
    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO ANALYSES_BSS002 (NumAnalyse, NumPrelevement, CodeQualitometre, "
                       "CodeParametre, CodeUnite) VALUES (1, 0, 2, '1302', '27')")));
    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, CodeParametre, "
                       "CodeUnite, TypeListe) VALUES ('S1', 1, '1301', '27', 0)")));
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO ANALYSES_SEUILS (CodeParametre, CodeUnite, "
                                        "TypeListe) VALUES ('1301', '27', '0')")));
    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, "
                       "codeOperation, codeParametre, codeUnite) VALUES (1, 0, 1301, 27)")));
    ModeleReferentielAnalyses modele(Referentiel::Parametre);
    ASSERT_TRUE(modele.charger());

    EXPECT_FALSE(montrer(modele.remplacerHistorique(QStringLiteral("1301"), QStringLiteral("4242"),
                                                    progressionNulle())));
    EXPECT_EQ(messages().textes(),
              QStringList({"Le code de remplacement n'existe pas. Merci de le créer avant "
                           "d'effectuer les modifications"}));
    messages().vider();
    messages().repondre(BoutonOui);
    EXPECT_TRUE(montrer(modele.remplacerHistorique(QStringLiteral("1301"), QStringLiteral("1340"),
                                                   progressionNulle())));
    EXPECT_EQ(
        messages().textes().first(),
        QStringLiteral(
            "Merci de confirmer que nous allons remplacer l'historique des résultats du code 1301 "
            "par le "
            "code 1340\nLes unités seront remplacées par l'unité par défaut du nouveau code: 162"));
    EXPECT_EQ(lignes(QStringLiteral("SELECT CodeParametre, CodeUnite FROM ANALYSES_BSS001")),
              QStringList({"1340|162"}));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT CodeParametre, CodeUnite FROM ANALYSES_BSS002 ORDER BY NumAnalyse")),
              QStringList({"1340|162", "1302|27"}));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT CodeParametre, CodeUnite FROM ANALYSES_PARAMETRES_SELECTIONS")),
              QStringList({"1340|162"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT CodeParametre, CodeUnite FROM ANALYSES_SEUILS")),
              QStringList({"1340|162"}));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT codeParametre, codeUnite FROM QUALITOMETRES_OPERATIONS_RESULTATS")),
              QStringList({"1340|162"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Actif FROM ANALYSES_PARAMETRES WHERE Code='1340'")),
              QStringList({"1"}));

    // Saved charts: reference curves and overlays of parameters follow; a taxa overlay of the
    // same number is another thing and stays.
    for (const char *sql :
         {"INSERT INTO COURBES_REFERENCES_QUALITO (CodeCourbeReference, CodeParametre, CodeUnite) "
          "VALUES (1, '1303', '147')",
          "INSERT INTO COURBES_REFERENCES_QUALITO_PARAM (CodeCourbeReference, CodeParametre, "
          "CodeUnite) VALUES (1, '1303', '147')",
          "INSERT INTO QUALITOMETRES_SUPERPOSITIONS_PARAMETRES (TypeListe, CodeListe, Parametre, "
          "Unite) VALUES (0, 1, 1303, 147), (1, 1, 1303, NULL)"})
        ASSERT_TRUE(executer(QString::fromLatin1(sql))) << sql;
    messages().repondre(BoutonOui);
    EXPECT_TRUE(montrer(modele.remplacerHistorique(QStringLiteral("1303"), QStringLiteral("1340"),
                                                   progressionNulle())));
    EXPECT_EQ(
        lignes(QStringLiteral("SELECT CodeParametre, CodeUnite FROM COURBES_REFERENCES_QUALITO")),
        QStringList({"1340|162"}));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT CodeParametre, CodeUnite FROM COURBES_REFERENCES_QUALITO_PARAM")),
              QStringList({"1340|162"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT TypeListe, Parametre, Unite FROM "
                                    "QUALITOMETRES_SUPERPOSITIONS_PARAMETRES ORDER BY TypeListe")),
              QStringList({"0|1340|162", "1|1303|"}));

    // A new code without reference unit empties the units.
    messages().vider();
    messages().repondre(BoutonOui);
    EXPECT_TRUE(montrer(modele.remplacerHistorique(QStringLiteral("1302"), QStringLiteral("X12"),
                                                   progressionNulle())));
    EXPECT_TRUE(messages().textes().first().endsWith(
        QStringLiteral("Ce code n'a pas d'unité par défaut. Toutes les unités seront donc "
                       "renseignées à une valeur vide pour les remplacements.")));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT CodeParametre, CodeUnite FROM ANALYSES_BSS002 ORDER BY NumAnalyse")),
              QStringList({"1340|162", "X12|"}));
}

// A replacement whose batch cannot be written changes nothing and says why.
TEST_P(ReferentielsAnalysesTest, RemplacementNonEnregistreNeChangeRien)
{
    toleranceErreurs = true;
    creerStations();
    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, CodeQualitometre, "
                       "CodeParametre, CodeUnite) VALUES (0, 0, 1, '1301', '27')")));
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO ANALYSES_SEUILS (CodeParametre, CodeUnite, "
                                        "TypeListe) VALUES ('1301', '27', '0')")));
    ModeleReferentielAnalyses modele(Referentiel::Parametre);
    ASSERT_TRUE(modele.charger());
    BaseDonnees lecteur;
    refuserLesCommits(lecteur, QStringLiteral("ANALYSES_SEUILS"));
    messages().repondre(BoutonOui);
    EXPECT_FALSE(montrer(modele.remplacerHistorique(QStringLiteral("1301"), QStringLiteral("1340"),
                                                    progressionNulle())));
    lecteur.fermerBase();
    const QString debut = QStringLiteral("Le remplacement de l'historique du paramètre 1301 par le "
                                         "code 1340 n'a pas pu être achevé : ");
    if (estPostgres())
        EXPECT_TRUE(messages().textes().last().startsWith(debut))
            << qPrintable(messages().textes().last());
    else
        EXPECT_EQ(messages().textes().last(),
                  debut + QStringLiteral("la base est utilisée par un autre programme"));
    EXPECT_EQ(lignes(QStringLiteral("SELECT CodeParametre, CodeUnite FROM ANALYSES_BSS001")),
              QStringList({"1301|27"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT CodeParametre, CodeUnite FROM ANALYSES_SEUILS")),
              QStringList({"1301|27"}));
}

VYK_SUR_LES_DEUX_MOTEURS(ReferentielsAnalysesTest);

} // namespace
