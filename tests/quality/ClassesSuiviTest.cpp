#include "quality/ClassesSuivi.h"
#include "db/BaseDonnees.h"
#include "schema/TableAnalyses.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class ClassesSuiviTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesQualite();
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("B1")));
        QStringList sql = {
            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (1, 'B1')",
            "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
            "dateDebut) VALUES (1, 0, #03/01/2021#)",
            "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, codeOperation) "
            "VALUES (0, 1, #03/01/2021#, 0)",
            "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, codeOperation) "
            "VALUES (1, 1, #04/01/2021#, 0)",
            "INSERT INTO ANALYSES_SEUILS (typeSeuil, TypeListe, CodeParametre, CodeUnite, Seuil1, "
            "Seuil2, Seuil3, Seuil4) VALUES (1, '0', '1340', '162', 10, 25, 50, 100)",
            "INSERT INTO ANALYSES_SEUILS (typeSeuil, TypeListe, CodeParametre, CodeUnite, Seuil1, "
            "Seuil2, Seuil3) VALUES (1, '0', '1316', '162', 3, 5, 1)",
        };
        int n = 0;
        // Nitrates 10 and 150, ammonium below the limit at 0.1 then 300 above saturation; a
        // parameter of bounds that are not monotonic; a parameter without bounds.
        for (const auto &[num, param, resultat, remarque] :
             {std::tuple{0, "1340", "10", "1"}, std::tuple{1, "1340", "150", "1"},
              std::tuple{0, "1335", "0.1", "10"}, std::tuple{1, "1335", "300", "3"},
              std::tuple{0, "1316", "2", "1"}, std::tuple{0, "1301", "7", "1"}})
            sql << QStringLiteral("INSERT INTO ANALYSES_B1 (NumAnalyse, NumPrelevement, "
                                  "CodeQualitometre, CodeParametre, CodeUnite, Resultat, "
                                  "CodeRemarque) VALUES (%1, %2, 1, '%3', '162', %4, '%5')")
                       .arg(n++)
                       .arg(num)
                       .arg(QString::fromLatin1(param), QString::fromLatin1(resultat),
                            QString::fromLatin1(remarque));
        sql << "INSERT INTO ANALYSES_SEUILS (typeSeuil, TypeListe, CodeParametre, CodeUnite, "
               "Seuil1, Seuil2) VALUES (1, '0', '1335', '162', 0.5, 100)";
        for (const QString &s : sql)
            ASSERT_TRUE(executer(s)) << qPrintable(s);
    }

    QStringList classes(const QString &seuil)
    {
        TableauSuivi t;
        EXPECT_TRUE(chargerSuivi("1", "B1", FiltresSuivi{}, t));
        classerSuivi(t, seuil);
        QStringList r;
        for (const LigneSuivi &l : t.lignes)
            r << l.codeParametre + u':' + l.valeurs.join(u',') + u'=' + l.classes.join(u',');
        return r;
    }
};

TEST_P(ClassesSuiviTest, ChaqueResultatPrendLaClasseDeSonParametre)
{
    EXPECT_EQ(classes("1"),
              QStringList({"1301:7,=,", "1316:2,=,", "1335:<0.1,>300=1,3", "1340:10,150=1,5"}));
    EXPECT_EQ(classes(""),
              QStringList({"1301:7,=,", "1316:2,=,", "1335:<0.1,>300=,", "1340:10,150=,"}));
    EXPECT_EQ(classes("2"),
              QStringList({"1301:7,=,", "1316:2,=,", "1335:<0.1,>300=,", "1340:10,150=,"}));
}

VYK_SUR_LES_DEUX_MOTEURS(ClassesSuiviTest);

} // namespace
