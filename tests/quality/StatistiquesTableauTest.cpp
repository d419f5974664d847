#include "quality/StatistiquesTableau.h"
#include "db/BaseDonnees.h"
#include "monitoring/ListeTaxonsOperation.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

// Station 1, points 1 ("P-AMONT") and 2 ("P-AVAL"). Operations at P-AMONT: 1 (02/05/2022,
// protocol 3), 2 (12/09/2022), 3 and 4 (both 20/06/2023, 4 with status 2); operation 5 at
// P-AVAL (01/07/2023). Station 2 has an operation 1 too.
class StatistiquesTableauTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesQualite();
        test::creerTablesCatalogue({"TAXONS"});
        ASSERT_TRUE(creerTableListeTaxons(1));
        ASSERT_TRUE(creerTableListeTaxons(2));
        for (const char *sql : {
                 "INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, identifiant) "
                 "VALUES (1, 1, 'P-AMONT')",
                 "INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, identifiant) "
                 "VALUES (1, 2, 'P-AVAL')",
                 "INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, identifiant) "
                 "VALUES (2, 1, 'P-AMONT')",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "codePoint, dateDebut, statut, protocoleBiologique) VALUES (1, 1, 1, "
                 "#05/02/2022#, 1, 3)",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "codePoint, dateDebut, statut) VALUES (1, 2, 1, #09/12/2022#, 1)",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "codePoint, dateDebut, statut) VALUES (1, 3, 1, #06/20/2023#, 1)",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "codePoint, dateDebut, statut) VALUES (1, 4, 1, #06/20/2023#, 2)",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "codePoint, dateDebut, statut) VALUES (1, 5, 2, #07/01/2023#, 1)",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "codePoint, dateDebut, statut) VALUES (2, 1, 1, #03/03/2023#, 1)",
                 "INSERT INTO TAXONS (codeTaxon, nomLatin, nomCommun, codeOmnidia, "
                 "codeTaxonCalcul) VALUES ('200', 'Baetidae', 'Éphémères', 'BAET', '212;213')",
                 "INSERT INTO TAXONS (codeTaxon, nomLatin, codeOmnidia) VALUES ('212', 'Baetis', "
                 "'BAES')",
                 "INSERT INTO TAXONS (codeTaxon, nomLatin) VALUES ('213', 'Cloeon')",
                 "INSERT INTO TAXONS (codeTaxon, nomLatin) VALUES ('69', 'Gammarus')",
                 "INSERT INTO TAXONS (codeTaxon, nomLatin) VALUES ('9', 'Nul')",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom, LibelleLong) VALUES ('5856', "
                 "'IBGN', 'Indice biologique global')",
             })
            executerOk(QString::fromUtf8(sql));
    }

    void executerOk(const QString &sql)
    {
        ASSERT_TRUE(executer(sql)) << qPrintable(sql) << qPrintable(bd().derniereErreur());
    }

    // A line of station `station`'s list: A, B, C (or cover A, B), remark, P5.
    void ligne(int station, int operation, const char *taxon, const char *a, const char *b,
               const char *c, const char *remarque, const char *p5 = "NULL")
    {
        executerOk(QStringLiteral("INSERT INTO QUALITOMETRES_LISTE_%1 (codeOperation, codeListe, "
                                  "codeTaxon, denombrementA, denombrementB, denombrementC, "
                                  "codeRemarque, denombrementP5, pourcentageA, pourcentageB) "
                                  "VALUES (%2, 1, '%3', %4, %5, %6, %7, %8, %4, %5)")
                       .arg(station)
                       .arg(operation)
                       .arg(QLatin1String(taxon), QLatin1String(a), QLatin1String(b),
                            QLatin1String(c), QLatin1String(remarque), QLatin1String(p5)));
    }

    QStringList matrice(const FiltresTableauHydrobio &f)
    {
        TableauHydrobiologique t;
        EXPECT_TRUE(getTableauHydrobiologique(1, f, t)) << qPrintable(bd().derniereErreur());
        QStringList r;
        for (const QStringList &l : t.texte(f.genre == GENRE_INDICES))
            r << l.join(u'|');
        return r;
    }
};

TEST_P(StatistiquesTableauTest, DenombrementsParTaxonEtDate)
{
    ligne(1, 1, "212", "3", "2", "NULL", "NULL");
    ligne(1, 1, "213", "1", "NULL", "NULL", "4");
    ligne(1, 2, "213", "7", "NULL", "NULL", "10");
    ligne(1, 2, "69", "0", "0", "0", "NULL", "4"); // counted in P5 only: a row, cell 0
    ligne(1, 3, "212", "1", "NULL", "NULL", "NULL");
    ligne(1, 4, "212", "5", "NULL", "NULL", "NULL"); // same day, higher operation: stays
    ligne(1, 3, "213", "2", "NULL", "NULL", "4");
    ligne(1, 3, "9", "0", "NULL", "NULL", "NULL"); // no positive count: no row
    ligne(1, 5, "200", "40", "NULL", "NULL", "NULL");
    ligne(2, 1, "69", "99", "NULL", "NULL", "NULL");
    FiltresTableauHydrobio f;
    f.identifiantPoint = QStringLiteral("P-AMONT");
    EXPECT_EQ(matrice(f),
              QStringList({"code Taxon|Taxon|Omnidia|02/05/2022|12/09/2022|20/06/2023",
                           "212|Baetis|BAES|5||5", "213|Cloeon||P|<7|A", "69|Gammarus|||0|"}));
    // Every point: 200 appears, and receives 212 and 213 date by date (numbers summed, its empty
    // cells taking theirs).
    f.identifiantPoint.clear();
    EXPECT_EQ(matrice(f),
              QStringList({"code Taxon|Taxon|Omnidia|02/05/2022|12/09/2022|20/06/2023|01/07/2023",
                           "200|Baetidae|BAET|5|<7|5|40", "212|Baetis|BAES|5||5|",
                           "213|Cloeon||P|<7|A|", "69|Gammarus|||0||"}));
    // Filters: a period (its last day whole), a protocol, a status.
    f.dateDebut = QStringLiteral("12/09/2022");
    f.dateFin = QStringLiteral("20/06/2023");
    f.statut = QStringLiteral("2");
    EXPECT_EQ(matrice(f),
              QStringList({"code Taxon|Taxon|Omnidia|20/06/2023", "212|Baetis|BAES|5"}));
    f = {};
    f.protocole = QStringLiteral("3");
    f.statut = QStringLiteral("-1");
    EXPECT_EQ(matrice(f), QStringList({"code Taxon|Taxon|Omnidia|02/05/2022", "212|Baetis|BAES|5",
                                       "213|Cloeon||P"}));
}

TEST_P(StatistiquesTableauTest, RecouvrementsEtIndices)
{
    ligne(1, 1, "212", "12.5", "NULL", "NULL", "NULL");
    ligne(1, 2, "213", "NULL", "3", "NULL", "NULL");
    ligne(1, 2, "9", "NULL", "NULL", "8", "NULL"); // cover C only: no row
    FiltresTableauHydrobio f;
    f.genre = GENRE_RECOUVREMENTS;
    EXPECT_EQ(matrice(f), QStringList({"code Taxon|Taxon|Omnidia|02/05/2022|12/09/2022",
                                       "212|Baetis|BAES|12.5 | |", "213|Cloeon||| | 3"}));

    executerOk(QStringLiteral("INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, "
                              "codeOperation, codeParametre, resultat) VALUES (1, 2, 5856, 14)"));
    executerOk(QStringLiteral("INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, "
                              "codeOperation, codeParametre, resultat) VALUES (1, 5, 5856, 11.5)"));
    executerOk(QStringLiteral("INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, "
                              "codeOperation, codeParametre, resultat) VALUES (2, 1, 5856, 3)"));
    f.genre = GENRE_INDICES;
    EXPECT_EQ(matrice(f), QStringList({"Code|Paramètre|Nom|02/05/2022|12/09/2022|20/06/2023|"
                                       "01/07/2023",
                                       "5856|Indice biologique global|IBGN||14||11.5"}));
}

TEST_P(StatistiquesTableauTest, StationSansListe)
{
    executerOk(QStringLiteral("DROP TABLE QUALITOMETRES_LISTE_1"));
    FiltresTableauHydrobio f;
    EXPECT_EQ(matrice(f), QStringList({"code Taxon|Taxon|Omnidia"}));
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(StatistiquesTableauTest);
