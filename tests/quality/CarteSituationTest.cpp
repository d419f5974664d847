#include "quality/CarteSituation.h"
#include "db/BaseDonnees.h"
#include "schema/TableAnalyses.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

#include <QFile>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class CarteSituationTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesQualite();
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("B1")));
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("B2")));
        for (const char *sql : {
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, typeStation, type_FR) "
                 "VALUES (1, 'B1', 'Amont', '1', 4)",
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, typeStation, type_FR) "
                 "VALUES (2, 'B2', 'Aval', '1', 5)",
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (3, 'B3', "
                 "'Sans analyses')",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "dateDebut) VALUES (1, 0, #03/01/2021#)",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "dateDebut) VALUES (2, 0, #05/01/2021#)",
                 "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, "
                 "codeOperation) VALUES (0, 1, #03/01/2021#, 0)",
                 "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, "
                 "codeOperation) VALUES (0, 2, #05/01/2021#, 0)",
                 "INSERT INTO ANALYSES_B1 (NumAnalyse, NumPrelevement, CodeQualitometre, "
                 "CodeParametre, CodeUnite, Resultat, CodeRemarque) VALUES (0, 0, 1, '1340', "
                 "'162', 25, '1')",
                 "INSERT INTO ANALYSES_B2 (NumAnalyse, NumPrelevement, CodeQualitometre, "
                 "CodeParametre, CodeUnite, Resultat, CodeRemarque) VALUES (0, 0, 2, '1340', "
                 "'162', 150, '1')",
                 // Index 5910 of both stations, on their operations.
                 "INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, "
                 "codeOperation, codeParametre, resultat) VALUES (1, 0, 5910, 15)",
                 "INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, "
                 "codeOperation, codeParametre, resultat) VALUES (2, 0, 5910, 12)",
                 "INSERT INTO ANALYSES_SEUILS (typeSeuil, TypeListe, CodeParametre, CodeUnite, "
                 "Seuil1, Seuil2, Seuil3, Seuil4) VALUES (1, '0', '1340', '162', 10, 25, 50, 100)",
                 // The index: a general row, and a row of its own for rivers of national type 4.
                 "INSERT INTO ANALYSES_SEUILS (typeSeuil, TypeListe, CodeParametre, Seuil1, "
                 "Seuil2, Seuil3) VALUES (2, '2', '5910', 5, 10, 15)",
                 "INSERT INTO ANALYSES_SEUILS (typeSeuil, TypeListe, CodeParametre, Seuil1, "
                 "Seuil2, Seuil3, Seuil4, TypeStation, TypeFr) VALUES (2, '2', '5910', 17, 14, "
                 "11, 8, '1', 4)",
             })
            ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
    }

    ParametresCarte physicoChimie()
    {
        ParametresCarte p;
        p.support = "031";
        p.code = "1340";
        p.unite = "162";
        p.genre = "MAX";
        p.dateCalcul = "31/12/2021";
        p.seuil = "1";
        return p;
    }

    QStringList carte(const ParametresCarte &p, ResultatCarte *sortie = nullptr)
    {
        ResultatCarte r;
        EXPECT_EQ(calculerCarte(p, stationsCarte({"2", "1", "3", "99"}), r), "");
        QStringList lignes;
        for (const QStringList &l : lignesCarte(r))
            lignes << l.join(u'|');
        if (sortie) *sortie = r;
        return lignes;
    }
};

TEST_P(CarteSituationTest, ValeursClasseesParStation)
{
    ResultatCarte r;
    EXPECT_EQ(carte(physicoChimie(), &r),
              QStringList({"B2|Aval|01/05/2021|150|5||", "B1|Amont|01/03/2021|25|2||",
                           "B3|Sans analyses|||0||"}));
    EXPECT_EQ(r.legendes.size(), 5);
    // No set: "-1" for every station.
    ParametresCarte p = physicoChimie();
    p.seuil.clear();
    EXPECT_EQ(carte(p), QStringList({"B2|Aval|01/05/2021|150|-1||", "B1|Amont|01/03/2021|25|-1||",
                                     "B3|Sans analyses|||-1||"}));
}

TEST_P(CarteSituationTest, IndicesClassesSelonLeTypeDeLaStation)
{
    ParametresCarte p;
    p.support = "-1";
    p.code = "5910";
    p.dateCalcul = "31/12/2021";
    p.seuil = "2";
    // B1 (river of type 4) takes its own decreasing row, B2 the general row.
    EXPECT_EQ(carte(p), QStringList({"B2|Aval|01/05/2021|12|3||", "B1|Amont|01/03/2021|15|2||",
                                     "B3|Sans analyses|||0||"}));
}

TEST_P(CarteSituationTest, DateDeCalculRefuseeEtExport)
{
    ParametresCarte p = physicoChimie();
    ResultatCarte r;
    for (const char *date : {"", "31/02/2021", "demain"}) {
        p.dateCalcul = date;
        EXPECT_EQ(calculerCarte(p, stationsCarte({"1"}), r),
                  "La date de calcul est vide ou n'est pas correcte.");
        EXPECT_TRUE(r.lignes.isEmpty());
    }
    carte(physicoChimie(), &r);
    const QString csv = chemin("carte.csv");
    QString erreur;
    ASSERT_TRUE(exporterCarte(r, csv, &erreur)) << qPrintable(erreur);
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(),
              QStringLiteral("\uFEFFCode station;Nom;Date;Valeur;Classe;Référence;Tendance\r\n"
                             "B2;Aval;01/05/2021;150;5;;\r\nB1;Amont;01/03/2021;25;2;;\r\n"
                             "B3;Sans analyses;;;0;;\r\n")
                  .toUtf8());
}

VYK_SUR_LES_DEUX_MOTEURS(CarteSituationTest);

} // namespace
