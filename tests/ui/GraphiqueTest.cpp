#include "ui/quality/Graphique.h"

#include <gtest/gtest.h>

#include <QChart>
#include <QScatterSeries>

#include <memory>

using namespace vyk;

namespace {

PointGraphique pointAu(int jour, double valeur, bool censure = false)
{
    PointGraphique p;
    p.date = QDateTime(QDate(2000, 1, 1).addDays(jour), QTime(12, 0));
    p.valeur = p.valeurTracee = valeur;
    p.censure = censure;
    return p;
}

TEST(PointsAffiches, PeuDePointsGardesLongueSerieReduiteSansPerdreLesExtremes)
{
    QVector<PointGraphique> points;
    for (int i = 0; i < 10; ++i)
        points << pointAu(i, i);
    EXPECT_EQ(pointsAffiches(points).size(), 10);

    points.clear();
    for (int i = 0; i < 100000; ++i)
        points << pointAu(i, i % 7);
    points[51234].valeurTracee = 500;
    points[77777].valeurTracee = -3;
    const QVector<PointGraphique> r = pointsAffiches(points);
    EXPECT_LE(r.size(), POINTS_MAX_TRACES + 2);
    EXPECT_GE(r.size(), POINTS_MAX_TRACES / 2);
    EXPECT_EQ(r.first().date, points.first().date);
    EXPECT_EQ(r.last().date, points.last().date);
    double haut = 0, bas = 0;
    for (int i = 0; i < r.size(); ++i) {
        haut = std::max(haut, r[i].valeurTracee);
        bas = std::min(bas, r[i].valeurTracee);
        if (i > 0) {
            EXPECT_LE(r[i - 1].date, r[i].date) << i;
        }
    }
    EXPECT_EQ(haut, 500);
    EXPECT_EQ(bas, -3);
}

TEST(ConstruireGraphique, CensuresCreuxDitsDansLaLegendeEtBandesCoupeesALEtendue)
{
    SerieGraphique s;
    s.codeBSS = QStringLiteral("S1");
    s.parametre = QStringLiteral("1340");
    s.nomParametre = QStringLiteral("Nitrates");
    s.unite = QStringLiteral("162");
    s.symbole = QStringLiteral("mg/L");
    s.points = {pointAu(0, 12), pointAu(10, 2, true), pointAu(20, 30)};
    QVector<BandeSeuil> bandes(4);
    const double bornes[] = {-std::numeric_limits<double>::infinity(), 10, 25, 50,
                             std::numeric_limits<double>::infinity()};
    for (int k = 0; k < 4; ++k)
        bandes[k] = {k + 1, bornes[k], bornes[k + 1], QString()};
    std::unique_ptr<QChart> g(construireGraphique({{s.unite, s.symbole, {s}}}, bandes,
                                                  TraceCensure::DemiLimite, QStringLiteral("T")));
    QStringList noms;
    int creux = 0;
    for (QAbstractSeries *serie : g->series()) {
        noms << serie->name();
        if (auto *sc = qobject_cast<QScatterSeries *>(serie)) {
            creux += sc->count();
            EXPECT_EQ(sc->brush().color(), QColor(Qt::white));
        }
    }
    // The band above 50 lies beyond the values: not drawn.
    EXPECT_EQ(noms,
              QStringList({QStringLiteral("Classe 1 : "), QStringLiteral("Classe 2 : "),
                           QStringLiteral("Classe 3 : "), QStringLiteral("S1 - Nitrates (mg/L)"),
                           QStringLiteral("S1 - Nitrates (mg/L) : < limite, tracé à la "
                                          "moitié")}));
    EXPECT_EQ(creux, 1);
}

} // namespace
