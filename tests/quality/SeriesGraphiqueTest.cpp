#include "quality/SeriesGraphique.h"
#include "db/BaseDonnees.h"
#include "schema/TableAnalyses.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

const StationCalcul STATION1{1, QStringLiteral("BSS001")};
const StationCalcul STATION2{2, QStringLiteral("BSS002")};

class SeriesGraphiqueTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesQualite();
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("BSS001")));
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("BSS002")));
        for (const char *sql :
             {"INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('1340', 'Nitrates')",
              "INSERT INTO ANALYSES_UNITES (Code, Nom, Symbole) VALUES ('162', "
              "'milligramme par litre', 'mg(NO3)/L')",
              "INSERT INTO ANALYSES_UNITES (Code, Nom, Symbole) VALUES ('133', "
              "'microgramme par litre', 'µg/L')"})
            executerOk(QString::fromUtf8(sql));
    }

    void executerOk(const QString &sql)
    {
        ASSERT_TRUE(executer(sql)) << qPrintable(sql) << qPrintable(bd().derniereErreur());
    }

    // A sample of the station holding one analysis. date: MM/DD/YYYY hh:mm:ss.
    void mesure(int station, int numero, const QString &date, const QString &parametre,
                const QString &unite, const QString &resultat, const QString &remarque)
    {
        executerOk(QStringLiteral("INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, "
                                  "DateDebut, HeureDebut) VALUES (%1, %2, #%3#, #%4#)")
                       .arg(numero)
                       .arg(station)
                       .arg(date.left(10), date));
        executerOk(QStringLiteral("INSERT INTO ANALYSES_BSS00%1 (NumAnalyse, NumPrelevement, "
                                  "CodeQualitometre, CodeParametre, CodeUnite, Resultat, "
                                  "CodeRemarque) VALUES (0, %2, %1, '%3', '%4', %5, %6)")
                       .arg(station)
                       .arg(numero)
                       .arg(parametre, unite, resultat, remarque));
    }

    // The usual data of station 1: nitrates in two units, with results below a limit, an
    // analysis not done and an empty result.
    void jeuStation1()
    {
        mesure(1, 0, QStringLiteral("03/01/2024 08:30:00"), QStringLiteral("1340"),
               QStringLiteral("162"), QStringLiteral("12.5"), QStringLiteral("'1'"));
        mesure(1, 1, QStringLiteral("01/15/2024 14:00:00"), QStringLiteral("1340"),
               QStringLiteral("162"), QStringLiteral("0.5"), QStringLiteral("'10'"));
        mesure(1, 2, QStringLiteral("02/01/2024 09:00:00"), QStringLiteral("1340"),
               QStringLiteral("162"), QStringLiteral("99"), QStringLiteral("'0'"));
        mesure(1, 3, QStringLiteral("02/02/2024 09:00:00"), QStringLiteral("1340"),
               QStringLiteral("162"), QStringLiteral("NULL"), QStringLiteral("'1'"));
        mesure(1, 4, QStringLiteral("04/10/2024 10:15:00"), QStringLiteral("1340"),
               QStringLiteral("162"), QStringLiteral("2"), QStringLiteral("'2'"));
        mesure(1, 5, QStringLiteral("02/20/2024 07:00:00"), QStringLiteral("1340"),
               QStringLiteral("133"), QStringLiteral("800"), QStringLiteral("NULL"));
    }

    // "date|stored|drawn|remark|sample|C or -" of every point.
    static QString texte(const SerieGraphique &s)
    {
        QStringList points;
        for (const PointGraphique &p : s.points)
            points << QStringLiteral("%1|%2|%3|%4|%5|%6")
                          .arg(p.date.toString(QStringLiteral("dd/MM/yyyy hh:mm")))
                          .arg(p.valeur)
                          .arg(p.valeurTracee)
                          .arg(p.remarque)
                          .arg(p.prelevement)
                          .arg(p.censure ? QStringLiteral("C") : QStringLiteral("-"));
        return s.codeBSS + u' ' + s.parametre + u' ' + s.nomParametre + u' ' + s.unite + u' ' +
               s.symbole + QStringLiteral(": ") + points.join(QStringLiteral("; "));
    }

    void inserSeuil(const QString &valeurs)
    {
        executerOk(QStringLiteral("INSERT INTO ANALYSES_SEUILS (typeSeuil, TypeListe, "
                                  "CodeParametre, CodeUnite, Seuil1, Seuil2, Seuil3, Seuil4) "
                                  "VALUES (") +
                   valeurs + u')');
    }

    static QString texte(const QVector<BandeSeuil> &bandes)
    {
        QStringList t;
        for (const BandeSeuil &b : bandes)
            t << QStringLiteral("%1:%2..%3 %4").arg(b.classe).arg(b.bas).arg(b.haut).arg(b.legende);
        return t.join(QStringLiteral("; "));
    }
};

TEST_P(SeriesGraphiqueTest, UneSerieParUniteLesCensuresALaLimiteOuALaMoitie)
{
    jeuStation1();
    QVector<SerieGraphique> series;
    QString erreur;
    ASSERT_TRUE(seriesParametre(STATION1, QStringLiteral("1340"), {}, series, &erreur))
        << qPrintable(erreur);
    ASSERT_EQ(series.size(), 2);
    // Oldest first; the analysis not done and the empty result are not drawn.
    EXPECT_EQ(texte(series[0]),
              QStringLiteral("BSS001 1340 Nitrates 133 µg/L: 20/02/2024 07:00|800|800||5|-"));
    EXPECT_EQ(texte(series[1]), QStringLiteral("BSS001 1340 Nitrates 162 mg(NO3)/L: "
                                               "15/01/2024 14:00|0.5|0.5|10|1|C; "
                                               "01/03/2024 08:30|12.5|12.5|1|0|-; "
                                               "10/04/2024 10:15|2|2|2|4|C"));

    CriteresGraphique moitie;
    moitie.unite = QStringLiteral("162");
    moitie.trace = TraceCensure::DemiLimite;
    ASSERT_TRUE(seriesParametre(STATION1, QStringLiteral("1340"), moitie, series));
    ASSERT_EQ(series.size(), 1);
    EXPECT_EQ(texte(series[0]), QStringLiteral("BSS001 1340 Nitrates 162 mg(NO3)/L: "
                                               "15/01/2024 14:00|0.5|0.25|10|1|C; "
                                               "01/03/2024 08:30|12.5|12.5|1|0|-; "
                                               "10/04/2024 10:15|2|1|2|4|C"));
}

TEST_P(SeriesGraphiqueTest, PeriodeBornesComprisesEtJourEntier)
{
    jeuStation1();
    CriteresGraphique c;
    c.unite = QStringLiteral("162");
    c.debut = QDate(2024, 1, 15);
    c.fin = QDate(2024, 3, 1); // the sample of 08:30 that day is in
    QVector<SerieGraphique> series;
    ASSERT_TRUE(seriesParametre(STATION1, QStringLiteral("1340"), c, series));
    ASSERT_EQ(series.size(), 1);
    EXPECT_EQ(texte(series[0]), QStringLiteral("BSS001 1340 Nitrates 162 mg(NO3)/L: "
                                               "15/01/2024 14:00|0.5|0.5|10|1|C; "
                                               "01/03/2024 08:30|12.5|12.5|1|0|-"));
    c.debut = QDate(2024, 1, 16);
    c.fin = QDate(2024, 2, 29);
    ASSERT_TRUE(seriesParametre(STATION1, QStringLiteral("1340"), c, series));
    EXPECT_TRUE(series.isEmpty());
    // A parameter without results, or unknown to the referential: no series, no failure.
    ASSERT_TRUE(seriesParametre(STATION1, QStringLiteral("1301"), {}, series));
    EXPECT_TRUE(series.isEmpty());
}

TEST_P(SeriesGraphiqueTest, PlusieursStations)
{
    jeuStation1();
    mesure(2, 0, QStringLiteral("01/20/2024 11:00:00"), QStringLiteral("1340"),
           QStringLiteral("162"), QStringLiteral("30"), QStringLiteral("'1'"));
    CriteresGraphique c;
    c.unite = QStringLiteral("162");
    QVector<SerieGraphique> series;
    // Station 3 has no analysis table yet: no series for it.
    ASSERT_TRUE(seriesStations({STATION2, {3, QStringLiteral("BSS003")}, STATION1},
                               QStringLiteral("1340"), c, series));
    ASSERT_EQ(series.size(), 2);
    EXPECT_EQ(texte(series[0]), QStringLiteral("BSS002 1340 Nitrates 162 mg(NO3)/L: "
                                               "20/01/2024 11:00|30|30|1|0|-"));
    EXPECT_EQ(series[1].codeBSS, QStringLiteral("BSS001"));
    EXPECT_EQ(series[1].points.size(), 3);

    // A station without code names no table: refused, and nothing is handed back.
    QString erreur;
    EXPECT_FALSE(seriesStations({STATION1, {4, QStringLiteral("  ")}}, QStringLiteral("1340"), c,
                                series, &erreur));
    EXPECT_EQ(erreur, QStringLiteral("Le code «  » ne peut pas servir à nommer une table de la "
                                     "base."));
    EXPECT_TRUE(series.isEmpty());
}

TEST_P(SeriesGraphiqueTest, ParametresGroupesParUniteDeuxAxesAuPlus)
{
    jeuStation1();
    mesure(1, 6, QStringLiteral("03/05/2024 08:00:00"), QStringLiteral("1335"),
           QStringLiteral("162"), QStringLiteral("0.2"), QStringLiteral("'1'"));
    QVector<AxeGraphique> axes;
    QString erreur;
    CriteresGraphique c;
    ASSERT_TRUE(axesParametres(STATION1, {QStringLiteral("1335"), QStringLiteral("1340")}, c, axes,
                               &erreur))
        << qPrintable(erreur);
    ASSERT_EQ(axes.size(), 2);
    EXPECT_EQ(axes[0].unite, QStringLiteral("162"));
    EXPECT_EQ(axes[0].symbole, QStringLiteral("mg(NO3)/L"));
    ASSERT_EQ(axes[0].series.size(), 2);
    EXPECT_EQ(axes[0].series[0].parametre, QStringLiteral("1335"));
    EXPECT_EQ(axes[0].series[1].parametre, QStringLiteral("1340"));
    EXPECT_EQ(axes[0].series[1].points.size(), 3);
    EXPECT_EQ(axes[1].unite, QStringLiteral("133"));
    ASSERT_EQ(axes[1].series.size(), 1);
    EXPECT_EQ(axes[1].series[0].points.size(), 1);

    mesure(1, 7, QStringLiteral("03/06/2024 08:00:00"), QStringLiteral("1301"),
           QStringLiteral("27"), QStringLiteral("11"), QStringLiteral("'1'"));
    EXPECT_FALSE(axesParametres(
        STATION1, {QStringLiteral("1335"), QStringLiteral("1340"), QStringLiteral("1301")}, c, axes,
        &erreur));
    EXPECT_EQ(erreur, QStringLiteral("Les paramètres choisis sont exprimés en 3 unités "
                                     "(mg(NO3)/L, µg/L, 27) : un graphique n'a que deux axes."));
    EXPECT_TRUE(axes.isEmpty());
}

TEST_P(SeriesGraphiqueTest, ChampsDuPointTelsQuEnregistres)
{
    // No start time: midnight. A remark stored with a space, a value of many digits, a sample
    // number beyond 32 bits, a parameter unknown to the referential.
    executerOk(QStringLiteral("INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, "
                              "DateDebut) VALUES (4294967301, 1, #06/05/2024#)"));
    mesure(1, 8, QStringLiteral("06/04/2024 23:59:59"), QStringLiteral("1999"),
           QStringLiteral("133"), QStringLiteral("1"), QStringLiteral("'1'"));
    executerOk(QStringLiteral("INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, "
                              "CodeQualitometre, CodeParametre, CodeUnite, Resultat, "
                              "CodeRemarque) VALUES (0, 4294967301, 1, '1999', '133', "
                              "0.123456789012, ' 2')"));
    QVector<SerieGraphique> series;
    ASSERT_TRUE(seriesParametre(STATION1, QStringLiteral(" 1999 "), {}, series));
    ASSERT_EQ(series.size(), 1);
    const SerieGraphique &s = series[0];
    EXPECT_EQ(s.parametre, QStringLiteral("1999"));
    EXPECT_EQ(s.nomParametre, QString());
    EXPECT_EQ(s.symbole, QStringLiteral("µg/L"));
    ASSERT_EQ(s.points.size(), 2);
    EXPECT_EQ(s.points[0].date, QDateTime(QDate(2024, 6, 4), QTime(23, 59, 59)));
    EXPECT_EQ(s.points[1].date, QDateTime(QDate(2024, 6, 5), QTime(0, 0)));
    EXPECT_EQ(s.points[1].valeur, 0.123456789012);
    EXPECT_EQ(s.points[1].remarque, QStringLiteral("2"));
    EXPECT_TRUE(s.points[1].censure);
    EXPECT_EQ(s.points[1].prelevement, 4294967301LL);
    EXPECT_FALSE(s.points[0].censure);
}

TEST_P(SeriesGraphiqueTest, LectureEnEchecRienNestRendu)
{
    jeuStation1();
    QVector<SerieGraphique> series;
    ASSERT_TRUE(seriesParametre(STATION1, QStringLiteral("1340"), {}, series));
    ASSERT_FALSE(series.isEmpty());
    // A caller that vouched for a table that is not there: the read fails and says so.
    QString erreur;
    EXPECT_FALSE(seriesParametre({3, QStringLiteral("BSS003"), true}, QStringLiteral("1340"), {},
                                 series, &erreur));
    EXPECT_TRUE(erreur.startsWith(
        QStringLiteral("Lecture des résultats du qualitomètre BSS003 impossible : ")))
        << qPrintable(erreur);
    EXPECT_TRUE(series.isEmpty());
    // The engine's reason closes the message: the one failed statement.
    ASSERT_EQ(erreursBase.size(), 1);
    EXPECT_TRUE(erreur.endsWith(bd().derniereErreur())) << qPrintable(erreur);
    EXPECT_FALSE(bd().derniereErreur().isEmpty());
    erreursBase.clear();
}

TEST_P(SeriesGraphiqueTest, BandesDesClasses)
{
    inserSeuil(QStringLiteral("1, '0', '1340', '162', 10, 25, 50, NULL"));
    inserSeuil(QStringLiteral("2, '0', '1340', '162', 8, 6, 4, 3"));
    inserSeuil(QStringLiteral("2, '0', NULL, NULL, 1, 2, NULL, NULL"));
    inserSeuil(QStringLiteral("3, '0', '1340', '162', 10, 50, 25, NULL"));
    QVector<BandeSeuil> bandes;
    QString erreur;
    ASSERT_TRUE(bandesSeuils(QStringLiteral("1"), QStringLiteral("1340"), QStringLiteral("162"),
                             bandes, &erreur))
        << qPrintable(erreur);
    EXPECT_EQ(texte(bandes), QStringLiteral("1:-inf..10 <= 10; 2:10..25 > 10 et <= 25; "
                                            "3:25..50 > 25 et <= 50; 4:50..inf > 50"));
    // Decreasing bounds: the best class is at the top.
    ASSERT_TRUE(
        bandesSeuils(QStringLiteral("2"), QStringLiteral("1340"), QStringLiteral("162"), bandes));
    EXPECT_EQ(texte(bandes), QStringLiteral("1:8..inf > 8; 2:6..8 <= 8 et > 6; 3:4..6 <= 6 et > 4; "
                                            "4:3..4 <= 4 et > 3; 5:-inf..3 <= 3"));
    // A parameter without its own row takes the set's default row.
    ASSERT_TRUE(
        bandesSeuils(QStringLiteral("2"), QStringLiteral("1335"), QStringLiteral("162"), bandes));
    EXPECT_EQ(texte(bandes), QStringLiteral("1:-inf..1 <= 1; 2:1..2 > 1 et <= 2; 3:2..inf > 2"));

    EXPECT_FALSE(bandesSeuils(QStringLiteral("x"), QStringLiteral("1340"), QStringLiteral("162"),
                              bandes, &erreur));
    EXPECT_EQ(erreur, QStringLiteral("Le type de seuil « x » n'est pas un numéro."));
    EXPECT_TRUE(bandes.isEmpty());
    EXPECT_FALSE(bandesSeuils(QStringLiteral("1"), QStringLiteral("1335"), QStringLiteral("162"),
                              bandes, &erreur));
    EXPECT_EQ(erreur, QStringLiteral("Le seuil 1 n'a aucune borne pour le paramètre 1335 (unité "
                                     "162)."));
    EXPECT_FALSE(bandesSeuils(QStringLiteral("3"), QStringLiteral("1340"), QStringLiteral("162"),
                              bandes, &erreur));
    EXPECT_EQ(erreur, QStringLiteral("Les bornes du seuil 3 pour le paramètre 1340 ne sont pas "
                                     "ordonnées."));
    EXPECT_TRUE(bandes.isEmpty());
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(SeriesGraphiqueTest);
