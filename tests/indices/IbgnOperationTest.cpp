#include "app/Registre.h"
#include "app/Reglages.h"
#include "indices/ClasseurLibreOffice.h"
#include "indices/Ibgn.h"
#include "monitoring/ListeTaxonsOperation.h"

#include "ModeleIbgnTest.h"
#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

#include <QTemporaryDir>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

// Station 01234567 (code 1), operation 10 of point 131 (protocol 704) with a list of three
// rows; results 5910 = 12 and 6951 = 7 already stored; the parameters inactive.
class IbgnOperationTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesQualite();
        ASSERT_TRUE(creerTableListeTaxons(1));
        for (const char *sql :
             {"INSERT INTO QUALITOMETRES (codeQualitometre, codeBSS) VALUES (1, '01234567')",
              "INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, identifiant) VALUES "
              "(1, 1, '131')",
              "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
              "codePoint, dateDebut, protocoleBiologique) VALUES (1, 10, 1, #05/12/2023#, 704)",
              "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, indice, codeTaxon, "
              "denombrementA, denombrementB, denombrementC) VALUES (10, 1, 1, '1234', 2, 3, 4)",
              "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, indice, codeTaxon, "
              "denombrementA) VALUES (10, 1, 2, '5678', 1.5)",
              "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, indice, codeTaxon, "
              "denombrementA) VALUES (10, 2, 1, '9999', 8)",
              "INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, codeOperation, "
              "indice, codeParametre, resultat) VALUES (1, 10, 1, 5910, 12)",
              "INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, codeOperation, "
              "indice, codeParametre, resultat) VALUES (1, 10, 2, 6951, 7)",
              "INSERT INTO ANALYSES_PARAMETRES (code, nom, actif) VALUES ('5910', 'IBGN', '0')",
              "INSERT INTO ANALYSES_PARAMETRES (code, nom, actif) VALUES ('6951', 'GFI', '0')",
              "INSERT INTO ANALYSES_PARAMETRES (code, nom, actif) VALUES ('6034', 'Variété', "
              "'0')"})
            ASSERT_TRUE(executer(QString::fromLatin1(sql)))
                << sql << qPrintable(bd().derniereErreur());
        ecrireRegistre(reglage::Accreditation, QStringLiteral("1"));
        ecrireRegistre(reglage::Agrement, QString());
    }

    QStringList resultats()
    {
        return lignes(QStringLiteral(
            "SELECT indice, codeParametre, resultat, codeAccreditation, codeAgrement FROM "
            "QUALITOMETRES_OPERATIONS_RESULTATS ORDER BY indice"));
    }
    QStringList actifs()
    {
        return lignes(QStringLiteral("SELECT code FROM ANALYSES_PARAMETRES WHERE actif = '1' "
                                     "ORDER BY code"));
    }

    const QVector<ResultatModele> calcules = {{QStringLiteral("5910"), 19, QStringLiteral("19")},
                                              {QStringLiteral("6951"), 7, QStringLiteral("7,0")},
                                              {QStringLiteral("6034"), 2.5, QStringLiteral("2,5")}};
};

TEST_P(IbgnOperationTest, ValeurDifferenteGardeeSurNonRemplaceeSurOui)
{
    test::Reponses non;
    BilanIbgn bilan;
    ASSERT_TRUE(integrerIbgn(1, QStringLiteral("10"), calcules, non.fonction(), bilan))
        << qPrintable(bilan.erreur);
    EXPECT_EQ(non.questions,
              QStringList{QStringLiteral("L'indice 5910 est déjà enregistré pour cette opération. "
                                         "Voulez vous remplacer la valeur existante 12 par la "
                                         "valeur calculée: 19")});
    EXPECT_EQ(bilan.gardes, QStringList{QStringLiteral("5910")});
    EXPECT_EQ(bilan.enregistres, (QStringList{QStringLiteral("6951"), QStringLiteral("6034")}));
    EXPECT_EQ(resultats(),
              (QStringList{QStringLiteral("1|5910|12||"), QStringLiteral("2|6951|7|1|"),
                           QStringLiteral("3|6034|2.5|1|")}));
    // The kept result's code is not made active by this calculation.
    EXPECT_EQ(actifs(), (QStringList{QStringLiteral("6034"), QStringLiteral("6951")}));

    test::Reponses oui;
    oui.reponse = true;
    ASSERT_TRUE(integrerIbgn(1, QStringLiteral("10"), calcules, oui.fonction(), bilan));
    EXPECT_EQ(oui.questions.size(), 1);
    EXPECT_EQ(resultats(),
              (QStringList{QStringLiteral("4|5910|19|1|"), QStringLiteral("5|6951|7|1|"),
                           QStringLiteral("6|6034|2.5|1|")}));
    EXPECT_EQ(actifs().size(), 3);

    // Once stored, the same results ask nothing and leave one row per parameter.
    test::Reponses encore;
    ASSERT_TRUE(integrerIbgn(1, QStringLiteral("10"), calcules, encore.fonction(), bilan));
    EXPECT_TRUE(encore.questions.isEmpty());
    EXPECT_EQ(
        valeur(QStringLiteral("SELECT COUNT(*) FROM QUALITOMETRES_OPERATIONS_RESULTATS")).toInt(),
        3);
}

TEST_P(IbgnOperationTest, CommitRefuseRienNEstPerdu)
{
    const QStringList avant = resultats();
    toleranceErreurs = true;
    {
        BaseDonnees lecteur;
        refuserLesCommits(lecteur, QStringLiteral("QUALITOMETRES_OPERATIONS_RESULTATS"));
        test::Reponses oui;
        oui.reponse = true;
        BilanIbgn bilan;
        EXPECT_FALSE(integrerIbgn(1, QStringLiteral("10"), calcules, oui.fonction(), bilan));
        EXPECT_NE(bilan.erreur, QString());
        EXPECT_TRUE(bilan.enregistres.isEmpty());
    }
    EXPECT_EQ(resultats(), avant);
    EXPECT_TRUE(actifs().isEmpty());
}

TEST_P(IbgnOperationTest, OperationEtListeLues)
{
    OperationIbgn op;
    QString erreur;
    ASSERT_TRUE(chargerOperationIbgn(QStringLiteral("01234567"), QStringLiteral("10"), op, erreur))
        << qPrintable(erreur);
    EXPECT_EQ(op.station, 1);
    EXPECT_EQ(op.protocole, QStringLiteral("704"));
    EXPECT_EQ(op.point, QStringLiteral("131"));
    ASSERT_EQ(op.liste.size(), 2); // list 1 only
    EXPECT_EQ(op.liste[0].codeTaxon, QStringLiteral("1234"));
    EXPECT_EQ(op.liste[0].c, QStringLiteral("4"));
    EXPECT_EQ(op.liste[1].a, QStringLiteral("1.5"));
    for (const char *numero : {"11", "10 OR 1=1"}) {
        EXPECT_FALSE(chargerOperationIbgn(QStringLiteral("01234567"), QString::fromLatin1(numero),
                                          op, erreur));
        EXPECT_EQ(erreur, QStringLiteral("Aucune opération %1 pour la station 01234567.")
                              .arg(QString::fromLatin1(numero)));
    }
}

TEST_P(IbgnOperationTest, CommandeIbgn)
{
    const QStringList arguments = {QStringLiteral("indices"),     QStringLiteral("ibgn"),
                                   QStringLiteral("--station"),   QStringLiteral("01234567"),
                                   QStringLiteral("--operation"), QStringLiteral("10")};
    ecrireRegistre(reglage::CheminModeles, chemin(QStringLiteral("absent")));
    test::SortieCli s = cli(arguments);
    EXPECT_EQ(s.code, 1);
    EXPECT_EQ(s.erreurs.trimmed(), texteIbgn::CHEMIN_MODELES);
    EXPECT_EQ(resultats().size(), 2);

    const QString raison = ClasseurLibreOffice::indisponible();
    if (!raison.isEmpty()) GTEST_SKIP() << qPrintable(raison);
    QTemporaryDir modeles;
    ASSERT_TRUE(test::ecrireModeleIbgn(modeles.filePath(QStringLiteral("IBGN.xls"))));
    ecrireRegistre(reglage::CheminModeles, modeles.path());
    s = cli(arguments);
    EXPECT_EQ(s.code, 0) << qPrintable(s.erreurs);
    EXPECT_EQ(s.sortie, QStringLiteral("La cellule ligne 3, colonne 26 du modèle ne contient pas "
                                       "une valeur : « #N/A ».\n"
                                       "5910 : 10.5 (valeur enregistrée différente, gardée)\n"
                                       "6034 : 1408\n"
                                       "Le calcul des indices est terminé.\n"));
    EXPECT_EQ(resultats(), (QStringList{QStringLiteral("1|5910|12||"), QStringLiteral("2|6951|7||"),
                                        QStringLiteral("3|6034|1408|1|")}));
}

VYK_SUR_LES_DEUX_MOTEURS(IbgnOperationTest);

} // namespace
