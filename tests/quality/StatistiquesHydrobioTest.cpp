#include "db/BaseDonnees.h"
#include "monitoring/ListeTaxonsOperation.h"
#include "quality/Statistiques.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

// Station 1: operations 1 (10/03/2022), 2 (20/06/2023), 3 and 4 (both 05/09/2023), 5 (after
// the calculation date); station 2: operation 9 on the same day as 3 and 4.
class StatistiquesHydrobioTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesQualite();
        test::creerTablesCatalogue({"TAXONS"});
        ASSERT_TRUE(creerTableListeTaxons(1));
        const char *operations[][3] = {{"1", "1", "03/10/2022"}, {"1", "2", "06/20/2023"},
                                       {"1", "3", "09/05/2023"}, {"1", "4", "09/05/2023"},
                                       {"1", "5", "01/10/2024"}, {"2", "9", "09/05/2023"}};
        for (const auto &o : operations)
            executerOk(QStringLiteral("INSERT INTO QUALITOMETRES_POINTS_OPERATIONS "
                                      "(codeQualitometre, codeOperation, dateDebut, statut, "
                                      "qualification) VALUES (%1, %2, #%3#, 1, 2)")
                           .arg(QLatin1String(o[0]), QLatin1String(o[1]), QLatin1String(o[2])));
    }

    void executerOk(const QString &sql)
    {
        ASSERT_TRUE(executer(sql)) << qPrintable(sql) << qPrintable(bd().derniereErreur());
    }

    void indice(int station, int operation, const QString &resultat)
    {
        executerOk(QStringLiteral("INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS "
                                  "(codeQualitometre, codeOperation, codeParametre, resultat) "
                                  "VALUES (%1, %2, 5856, %3)")
                       .arg(station)
                       .arg(operation)
                       .arg(resultat));
    }

    void taxon(int operation, const QString &code, const QString &a, const QString &b,
               const QString &p3 = QStringLiteral("NULL"))
    {
        executerOk(QStringLiteral("INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, "
                                  "codeTaxon, denombrementA, denombrementB, denombrementP3) "
                                  "VALUES (%1, 1, '%2', %3, %4, %5)")
                       .arg(operation)
                       .arg(code, a, b, p3));
    }

    static CriteresCalcul criteres()
    {
        CriteresCalcul c;
        c.dateCalcul = QDate(2023, 12, 31);
        c.periode = 100;
        c.ageLimite = 365;
        return c;
    }

    static QString texte(bool trouve, const ValeurCalculee &v)
    {
        if (!trouve) return QStringLiteral("none|") + v.valeur + v.date;
        return v.date + u'|' + v.valeurAffichee + u'|' + v.valeur + u'|' +
               QString::number(v.plusAncienQuePeriode) + QString::number(v.plusAncienQueLimite);
    }
};

TEST_P(StatistiquesHydrobioTest, DernierIndiceSansBorneBasse)
{
    indice(1, 1, QStringLiteral("12.5"));
    indice(1, 3, QStringLiteral("14"));
    indice(1, 4, QStringLiteral("15.25"));
    indice(1, 5, QStringLiteral("20"));
    indice(2, 9, QStringLiteral("3"));
    ValeurCalculee v;
    // Two operations of one day: the higher code; later ones and station 2's are not seen.
    EXPECT_EQ(texte(dernierResultatOperation(1, QStringLiteral("5856"), criteres(), v), v),
              QStringLiteral("05/09/2023|15.25|15.25|10"));
    // However old, marked twice.
    CriteresCalcul c = criteres();
    c.dateCalcul = QDate(2023, 6, 1);
    EXPECT_EQ(texte(dernierResultatOperation(1, QStringLiteral("5856"), c, v), v),
              QStringLiteral("10/03/2022|12.5|12.5|11"));
    c.statut = QStringLiteral("2");
    EXPECT_EQ(texte(dernierResultatOperation(1, QStringLiteral("5856"), c, v), v),
              QStringLiteral("none|"));
    EXPECT_EQ(texte(dernierResultatOperation(1, QStringLiteral("abc"), criteres(), v), v),
              QStringLiteral("none|"));
}

TEST_P(StatistiquesHydrobioTest, ClasseDeLAnneeReference)
{
    indice(1, 2, QStringLiteral("9"));
    indice(1, 3, QStringLiteral("13"));
    indice(1, 1, QStringLiteral("17"));
    QStringList classes;
    const Classement classer = [&](const QString &valeur) {
        classes << valeur;
        const double v = valeur.toDouble();
        return v >= 16 ? QStringLiteral("1") : v >= 12 ? QStringLiteral("2") : QStringLiteral("4");
    };
    auto comparer = [&](const QString &annee, const QString &courante, double marge) {
        ComparaisonReference r;
        const bool ok = comparerClasseAnneeReference(1, annee, QStringLiteral("5856"), {}, {},
                                                     marge, courante, classer, r);
        return QString::number(ok) + u'|' + r.reference + u'|' + r.tendance;
    };
    // 2023: the latest result of the year (13) is classed.
    EXPECT_EQ(comparer(QStringLiteral("2023"), QStringLiteral("4"), 0), QStringLiteral("1|2|1"));
    EXPECT_EQ(classes, QStringList{QStringLiteral("13")});
    EXPECT_EQ(comparer(QStringLiteral("2023"), QStringLiteral("1"), 0), QStringLiteral("1|2|3"));
    // 4 - 50 % = 2: bound included.
    EXPECT_EQ(comparer(QStringLiteral("2023"), QStringLiteral("4"), 50), QStringLiteral("1|2|2"));
    EXPECT_EQ(comparer(QStringLiteral("2022"), QStringLiteral("1"), 0), QStringLiteral("1|1|2"));
    EXPECT_EQ(comparer(QStringLiteral("2021"), QStringLiteral("1"), 0), QStringLiteral("0|0|"));
    // No class for the reference result: "0" and no trend.
    const Classement sansClasse = [](const QString &) { return QStringLiteral("-1"); };
    ComparaisonReference r;
    EXPECT_TRUE(comparerClasseAnneeReference(1, QStringLiteral("2023"), QStringLiteral("5856"), {},
                                             {}, 0, QStringLiteral("2"), sansClasse, r));
    EXPECT_EQ(r.reference + u'|' + r.tendance, QStringLiteral("0|"));
}

TEST_P(StatistiquesHydrobioTest, DenombrementDuTaxonEtDesTaxonsAssocies)
{
    executerOk(QStringLiteral("INSERT INTO TAXONS (codeTaxon, nomLatin, codeTaxonCalcul) VALUES "
                              "('100', 'Groupe', '101;102')"));
    executerOk(QStringLiteral("INSERT INTO TAXONS (codeTaxon, nomLatin) VALUES ('101', 'A')"));
    taxon(1, QStringLiteral("101"), QStringLiteral("3"), QStringLiteral("NULL"),
          QStringLiteral("2"));
    taxon(2, QStringLiteral("101"), QStringLiteral("4"), QStringLiteral("1"));
    taxon(2, QStringLiteral("102"), QStringLiteral("10"), QStringLiteral("NULL"));
    // Operation 3 (same day as 4, lower code) counts 101 alone; operation 1 is older.
    taxon(3, QStringLiteral("101"), QStringLiteral("6"), QStringLiteral("NULL"));
    taxon(4, QStringLiteral("102"), QStringLiteral("1"), QStringLiteral("NULL"));
    taxon(5, QStringLiteral("101"), QStringLiteral("50"), QStringLiteral("NULL"));
    ValeurCalculee v;
    // One taxon: its latest list on or before the date; the day's higher operation code.
    EXPECT_EQ(texte(calculDenombrementTaxon(1, 1, QStringLiteral("101"), criteres(), v), v),
              QStringLiteral("05/09/2023|6|6|10"));
    CriteresCalcul c = criteres();
    c.dateCalcul = QDate(2022, 3, 10);
    // A + P3, the empty B adding nothing.
    EXPECT_EQ(texte(calculDenombrementTaxon(1, 1, QStringLiteral("101"), c, v), v),
              QStringLiteral("10/03/2022|5|5|00"));
    // The set 101;102: the operation with the highest code (4), its counts summed.
    EXPECT_EQ(texte(calculDenombrementTaxon(1, 1, QStringLiteral("100"), criteres(), v), v),
              QStringLiteral("05/09/2023|1|1|10"));
    c.dateCalcul = QDate(2023, 6, 30);
    EXPECT_EQ(texte(calculDenombrementTaxon(1, 1, QStringLiteral("100"), c, v), v),
              QStringLiteral("20/06/2023|15|15|00"));
    // Another kind of list, a station without a list table: nothing.
    EXPECT_EQ(texte(calculDenombrementTaxon(1, 0, QStringLiteral("101"), criteres(), v), v),
              QStringLiteral("none|"));
    EXPECT_EQ(texte(calculDenombrementTaxon(2, 1, QStringLiteral("101"), criteres(), v), v),
              QStringLiteral("none|"));
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(StatistiquesHydrobioTest);
