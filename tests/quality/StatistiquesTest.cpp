#include "quality/Statistiques.h"
#include "db/BaseDonnees.h"
#include "monitoring/ListeTaxonsOperation.h"
#include "schema/TableAnalyses.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

const StationCalcul STATION{1, QStringLiteral("BSS001")};

// Station 1 and station 2 (whose samples are numbered like station 1's), operation 0 of each
// with status 1 and qualification 2.
class StatistiquesTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesQualite();
        test::creerTablesCatalogue({"TAXONS"});
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("BSS001")));
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("BSS002")));
        for (const char *sql :
             {"INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (1, 'BSS001')",
              "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (2, 'BSS002')",
              "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
              "dateDebut, statut, qualification) VALUES (1, 0, #01/01/2024#, 1, 2)",
              "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
              "dateDebut, statut, qualification) VALUES (2, 0, #01/01/2024#, 1, 2)"})
            executerOk(QString::fromUtf8(sql));
    }

    void executerOk(const QString &sql)
    {
        ASSERT_TRUE(executer(sql)) << qPrintable(sql) << qPrintable(bd().derniereErreur());
    }

    // A sample of station 1 (operation 0) holding one analysis. date: MM/DD/YYYY[ hh:mm:ss].
    void mesure(int numero, const QString &date, const QString &parametre, const QString &resultat,
                const QString &remarque, const QString &statut = QStringLiteral("NULL"))
    {
        executerOk(QStringLiteral("INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, "
                                  "DateDebut, codeOperation) VALUES (%1, 1, #%2#, 0)")
                       .arg(numero)
                       .arg(date));
        executerOk(QStringLiteral("INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, "
                                  "CodeQualitometre, CodeParametre, CodeUnite, Resultat, "
                                  "CodeRemarque, StatutMesure) VALUES (0, %1, 1, '%2', '162', "
                                  "%3, %4, %5)")
                       .arg(numero)
                       .arg(parametre, resultat, remarque, statut));
    }

    // "date|shown|value" of a statistic over the 60 days up to 15/02/2024, or "none".
    QString stat(const QString &genre, const QString &parametre = QStringLiteral("1340"),
                 const QString &unite = QStringLiteral("162"), int periode = 60)
    {
        CriteresCalcul c;
        c.dateCalcul = QDate(2024, 2, 15);
        c.periode = periode;
        ValeurCalculee v;
        v.valeur = QStringLiteral("stale");
        const bool trouve = calculStatistiqueAnalyses(STATION, parametre, unite, c, genre, v);
        EXPECT_EQ(v.classe, QStringLiteral("0"));
        if (!trouve) {
            EXPECT_EQ(v.valeur + v.date + v.valeurAffichee, QString()) << qPrintable(genre);
            return QStringLiteral("none");
        }
        return v.date + u'|' + v.valeurAffichee + u'|' + v.valeur;
    }
};

TEST_P(StatistiquesTest, ResultatSousLimiteCompteMoitie)
{
    mesure(0, QStringLiteral("02/01/2024"), QStringLiteral("1340"), QStringLiteral("0.5"),
           QStringLiteral("'10'"));
    EXPECT_EQ(stat(QStringLiteral("MIN")), QStringLiteral("01/02/2024|0.25|0.25"));
    EXPECT_EQ(stat(QStringLiteral("MAX")), QStringLiteral("01/02/2024|0.25|0.25"));
    EXPECT_EQ(stat(QStringLiteral("AVG")), QStringLiteral("|0.25|0.25"));
    EXPECT_EQ(stat(QStringLiteral("SUM")), QStringLiteral("01/02/2024|0.25|0.25"));
    EXPECT_EQ(stat(QStringLiteral("P90")), QStringLiteral("15/02/2024|0.25|0.25"));
    EXPECT_EQ(stat(QString()), QStringLiteral("01/02/2024|<0.5|0.5"));
    // The reference-year mean counts it as 0.
    ComparaisonReference r;
    EXPECT_TRUE(comparerAnneeReference(STATION, QStringLiteral("1340"), QStringLiteral("162"),
                                       QStringLiteral("2024"), {}, {}, 10, QStringLiteral("1"), r));
    EXPECT_EQ(r.reference + u'|' + r.tendance, QStringLiteral("0|3"));
}

TEST_P(StatistiquesTest, RemarquesExclusEtResultatsVidesIgnores)
{
    mesure(0, QStringLiteral("01/10/2024"), QStringLiteral("1340"), QStringLiteral("2"),
           QStringLiteral("'1'"));
    mesure(1, QStringLiteral("01/20/2024"), QStringLiteral("1340"), QStringLiteral("4"),
           QStringLiteral("NULL"));
    mesure(2, QStringLiteral("02/01/2024"), QStringLiteral("1340"), QStringLiteral("100"),
           QStringLiteral("'3'"));
    mesure(3, QStringLiteral("02/10/2024"), QStringLiteral("1340"), QStringLiteral("0.1"),
           QStringLiteral("'0'"));
    // An empty result is no 0: it would pull the minimum and the mean down.
    mesure(4, QStringLiteral("02/12/2024"), QStringLiteral("1340"), QStringLiteral("NULL"),
           QStringLiteral("'1'"));
    EXPECT_EQ(stat(QStringLiteral("MIN")), QStringLiteral("10/01/2024|2|2"));
    EXPECT_EQ(stat(QStringLiteral("MAX")), QStringLiteral("20/01/2024|4|4"));
    EXPECT_EQ(stat(QStringLiteral("SUM")), QStringLiteral("20/01/2024|6|6"));
    // Left-out remarks still count in the divisor: (2 + 4) / 4 groups.
    EXPECT_EQ(stat(QStringLiteral("AVG")), QStringLiteral("|1.5|1.5"));
    EXPECT_EQ(stat(QStringLiteral("P90")), QStringLiteral("15/02/2024|4|4"));
    // The latest row has remark 0: no value, older rows are not consulted.
    EXPECT_EQ(stat(QString()), QStringLiteral("none"));
    // A kind the map never passes is refused.
    EXPECT_EQ(stat(QStringLiteral("MEDIAN")), QStringLiteral("none"));
}

TEST_P(StatistiquesTest, MoinsUnEstUneValeur)
{
    mesure(0, QStringLiteral("01/10/2024"), QStringLiteral("1302"), QStringLiteral("-1"),
           QStringLiteral("'1'"));
    mesure(1, QStringLiteral("01/20/2024"), QStringLiteral("1302"), QStringLiteral("-0.5"),
           QStringLiteral("'1'"));
    EXPECT_EQ(stat(QStringLiteral("MIN"), QStringLiteral("1302")),
              QStringLiteral("10/01/2024|-1|-1"));
    EXPECT_EQ(stat(QStringLiteral("MAX"), QStringLiteral("1302")),
              QStringLiteral("20/01/2024|-0.5|-0.5"));
    EXPECT_EQ(stat(QStringLiteral("SUM"), QStringLiteral("1302")),
              QStringLiteral("20/01/2024|-1.5|-1.5"));
    EXPECT_EQ(stat(QStringLiteral("P90"), QStringLiteral("1302")),
              QStringLiteral("15/02/2024|-0.5|-0.5"));
    // No unit: every unit of the parameter; another unit: nothing.
    EXPECT_EQ(stat(QStringLiteral("MIN"), QStringLiteral("1302"), QString()),
              QStringLiteral("10/01/2024|-1|-1"));
    EXPECT_EQ(stat(QStringLiteral("MIN"), QStringLiteral("1302"), QStringLiteral("27")),
              QStringLiteral("none"));
}

TEST_P(StatistiquesTest, PeriodeJourneeEntiereEtStationPropre)
{
    // Exactly 30 days before, at midnight: in. The day before: out.
    mesure(0, QStringLiteral("01/16/2024"), QStringLiteral("1340"), QStringLiteral("7"),
           QStringLiteral("'1'"));
    mesure(1, QStringLiteral("01/15/2024 23:00:00"), QStringLiteral("1340"), QStringLiteral("1"),
           QStringLiteral("'1'"));
    // Later on the calculation day: in.
    mesure(2, QStringLiteral("02/15/2024 16:30:00"), QStringLiteral("1340"), QStringLiteral("9"),
           QStringLiteral("'1'"));
    // Station 2's sample 5 falls in the period; station 1's sample 5 does not.
    mesure(5, QStringLiteral("01/01/2020"), QStringLiteral("1340"), QStringLiteral("1000"),
           QStringLiteral("'1'"));
    executerOk(QStringLiteral("INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, "
                              "DateDebut, codeOperation) VALUES (5, 2, #02/01/2024#, 0)"));
    EXPECT_EQ(stat(QStringLiteral("MIN"), QStringLiteral("1340"), QStringLiteral("162"), 30),
              QStringLiteral("16/01/2024|7|7"));
    EXPECT_EQ(stat(QStringLiteral("MAX"), QStringLiteral("1340"), QStringLiteral("162"), 30),
              QStringLiteral("15/02/2024|9|9"));
    EXPECT_EQ(stat(QStringLiteral("SUM"), QStringLiteral("1340"), QStringLiteral("162"), 30),
              QStringLiteral("15/02/2024|16|16"));
    EXPECT_EQ(stat(QString(), QStringLiteral("1340"), QStringLiteral("162"), 30),
              QStringLiteral("15/02/2024|9|9"));
}

TEST_P(StatistiquesTest, DerniereValeurDUneJourneeEtAge)
{
    // Two samples of one day: the higher sample number is the latest on every engine.
    mesure(8, QStringLiteral("01/20/2024"), QStringLiteral("1340"), QStringLiteral("6"),
           QStringLiteral("'8'"));
    mesure(7, QStringLiteral("01/20/2024"), QStringLiteral("1340"), QStringLiteral("5"),
           QStringLiteral("'1'"));
    CriteresCalcul c;
    c.dateCalcul = QDate(2024, 2, 15);
    c.periode = 60;
    c.ageLimite = 20;
    ValeurCalculee v;
    ASSERT_TRUE(calculStatistiqueAnalyses(STATION, QStringLiteral("1340"), QStringLiteral("162"), c,
                                          QString(), v));
    EXPECT_EQ(v.date + u'|' + v.valeurAffichee + u'|' + v.valeur,
              QStringLiteral("20/01/2024|>6|6"));
    // 26 days old: within the period, beyond the age limit.
    EXPECT_FALSE(v.plusAncienQuePeriode);
    EXPECT_TRUE(v.plusAncienQueLimite);
}

TEST_P(StatistiquesTest, FiltresStatutEtQualificationHerites)
{
    // The analysis's own status wins; without one, the operation's (1) stands in.
    mesure(0, QStringLiteral("01/10/2024"), QStringLiteral("1340"), QStringLiteral("3"),
           QStringLiteral("'1'"), QStringLiteral("'4'"));
    mesure(1, QStringLiteral("01/20/2024"), QStringLiteral("1340"), QStringLiteral("8"),
           QStringLiteral("'1'"));
    CriteresCalcul c;
    c.dateCalcul = QDate(2024, 2, 15);
    c.periode = 60;
    ValeurCalculee v;
    auto somme = [&](const QString &statut, const QString &qualification) {
        c.statut = statut;
        c.qualification = qualification;
        return calculStatistiqueAnalyses(STATION, QStringLiteral("1340"), {}, c,
                                         QStringLiteral("SUM"), v)
                   ? v.valeur
                   : QStringLiteral("none");
    };
    EXPECT_EQ(somme({}, {}), QStringLiteral("11"));
    EXPECT_EQ(somme(QStringLiteral("4"), {}), QStringLiteral("3"));
    EXPECT_EQ(somme(QStringLiteral("1"), {}), QStringLiteral("8"));
    EXPECT_EQ(somme(QStringLiteral("1"), QStringLiteral("2")), QStringLiteral("8"));
    EXPECT_EQ(somme({}, QStringLiteral("3")), QStringLiteral("none"));
    // A status that is no number matches nothing, and breaks no statement.
    EXPECT_EQ(somme(QStringLiteral("1' or '1'='1"), {}), QStringLiteral("none"));
}

TEST_P(StatistiquesTest, RangsDuPercentile)
{
    // 20 values 1..20 stored in a shuffled order; 10 of them are another parameter.
    for (int i = 0; i < 20; ++i) {
        const int valeur = (i * 7) % 20 + 1;
        mesure(i, QStringLiteral("01/%1/2024").arg(i + 1, 2, 10, QLatin1Char('0')),
               QStringLiteral("1301"), QString::number(valeur), QStringLiteral("'1'"));
    }
    for (int i = 0; i < 10; ++i)
        mesure(20 + i, QStringLiteral("02/%1/2024").arg(i + 1, 2, 10, QLatin1Char('0')),
               QStringLiteral("1303"), QString::number(10 - i), QStringLiteral("'1'"));
    mesure(40, QStringLiteral("02/11/2024"), QStringLiteral("1304"), QStringLiteral("42.5"),
           QStringLiteral("'1'"));
    // 18.5 rounds to 18; 9.5 to 10; a single value is itself.
    EXPECT_EQ(stat(QStringLiteral("P90"), QStringLiteral("1301")),
              QStringLiteral("15/02/2024|18|18"));
    EXPECT_EQ(stat(QStringLiteral("P90"), QStringLiteral("1303")),
              QStringLiteral("15/02/2024|10|10"));
    EXPECT_EQ(stat(QStringLiteral("P90"), QStringLiteral("1304")),
              QStringLiteral("15/02/2024|42.5|42.5"));
}

TEST(Percentile, RangArrondiAuPair)
{
    EXPECT_EQ(calculPercentile({}, 0.9), QString());
    EXPECT_EQ(calculPercentile(QStringLiteral("|"), 0.9), QString());
    EXPECT_EQ(calculPercentile(QStringLiteral("3,5|"), 0.9), QStringLiteral("3.5"));
    EXPECT_EQ(calculPercentile(QStringLiteral("5|1|4|2|3|"), 0.9), QStringLiteral("5"));
    EXPECT_EQ(calculPercentile(QStringLiteral("10|9|8|7|6|5|4|3|2|1|"), 0.9), QStringLiteral("10"));
    // Ascending numeric order, not text order: 10 after 9.
    EXPECT_EQ(calculPercentile(QStringLiteral("9|10|-2|"), 0.5), QStringLiteral("9"));
    // n = 2 and 0.75: 2 rounds to 2; n = 3 and 0.5: 2.0 gives 2.
    EXPECT_EQ(calculPercentile(QStringLiteral("1|2|"), 0.75), QStringLiteral("2"));
    EXPECT_EQ(calculPercentile(QStringLiteral("1|2|3|"), 0.5), QStringLiteral("2"));
    // Rank beyond the list (n = 1, fraction 1: 1.5 rounds to 2) or on an empty cell: nothing.
    EXPECT_EQ(calculPercentile(QStringLiteral("7|"), 1.0), QString());
    EXPECT_EQ(calculPercentile(QStringLiteral("|4|"), 0.25), QString());
    EXPECT_EQ(calculPercentile(QStringLiteral("|4|"), 0.5), QStringLiteral("4"));
}

TEST_P(StatistiquesTest, TendanceContreAnneeReference)
{
    // 2023: 10, 20 and a result below the limit counting 0: mean 10. The third analysis is
    // dated by its own date (late on the year's last day), not its sample's.
    mesure(0, QStringLiteral("03/01/2023"), QStringLiteral("1340"), QStringLiteral("10"),
           QStringLiteral("'1'"));
    mesure(1, QStringLiteral("06/01/2023"), QStringLiteral("1340"), QStringLiteral("20"),
           QStringLiteral("'1'"));
    mesure(2, QStringLiteral("01/05/2024"), QStringLiteral("1340"), QStringLiteral("6"),
           QStringLiteral("'10'"));
    executerOk(QStringLiteral("UPDATE ANALYSES_BSS001 SET DateAnalyse=#12/31/2023 18:00:00# "
                              "WHERE NumPrelevement=2"));
    mesure(3, QStringLiteral("06/01/2022"), QStringLiteral("1340"), QStringLiteral("500"),
           QStringLiteral("'1'"));
    auto comparer = [&](const QString &x, double marge) {
        ComparaisonReference r;
        EXPECT_TRUE(comparerAnneeReference(STATION, QStringLiteral("1340"), QStringLiteral("162"),
                                           QStringLiteral("2023"), {}, {}, marge, x, r));
        return r.reference + u'|' + r.tendance;
    };
    EXPECT_EQ(comparer(QStringLiteral("12"), 10), QStringLiteral("10|3"));
    EXPECT_EQ(comparer(QStringLiteral("8"), 10), QStringLiteral("10|1"));
    // Bounds included: 20 - 50 % = 10 and 5 + 100 % = 10.
    EXPECT_EQ(comparer(QStringLiteral("20"), 50), QStringLiteral("10|2"));
    EXPECT_EQ(comparer(QStringLiteral("5"), 100), QStringLiteral("10|2"));
    // No current value: nothing to compare with.
    EXPECT_EQ(comparer(QString(), 10), QStringLiteral("10|"));
    ComparaisonReference r;
    EXPECT_FALSE(comparerAnneeReference(STATION, QStringLiteral("1340"), QStringLiteral("162"),
                                        QStringLiteral("2019"), {}, {}, 10, QStringLiteral("3"),
                                        r));
    EXPECT_EQ(r.reference + u'|' + r.tendance, QStringLiteral("0|"));
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(StatistiquesTest);

// The percentile over sorted numbers gives what the text list gives, ranks halving to even.
TEST(PercentileTrie, MemeRangQueLaListeTexte)
{
    QStringList ecarts;
    for (int n = 0; n <= 41; ++n) {
        std::vector<double> valeurs;
        QString liste;
        for (int k = 0; k < n; ++k) {
            valeurs.push_back(double((k * 37) % 23) + 0.25 * (k % 4));
            liste += QString::number(valeurs.back()) + u'|';
        }
        std::sort(valeurs.begin(), valeurs.end());
        for (double f : {0.25, 0.5, 0.75, 0.9})
            if (percentileTrie(valeurs, f) != calculPercentile(liste, f))
                ecarts << QStringLiteral("%1 valeurs, %2 : %3 / %4")
                              .arg(n)
                              .arg(f)
                              .arg(percentileTrie(valeurs, f), calculPercentile(liste, f));
    }
    EXPECT_TRUE(ecarts.isEmpty()) << qPrintable(ecarts.join(u'\n'));
    EXPECT_EQ(percentileTrie(std::vector<double>{4.5}, 0.9), QStringLiteral("4.5"));
    EXPECT_EQ(percentileTrie(std::vector<double>{}, 0.5), QString());
}
