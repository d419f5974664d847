#include "search/RechercheVues.h"
#include "db/BaseDonnees.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

QStringList joindre(const GrilleTexte &g)
{
    QStringList sortie;
    for (const QStringList &l : g.lignes)
        sortie << l.join(u'|');
    return sortie;
}

// A row of r, its result given as shown.
LigneResultat ligne(ResultatRecherche &r, int station, const QString &jour, const QString &numero,
                    const QString &parametre, const QString &resultat, int classe,
                    bool detection = true)
{
    LigneResultat l;
    l.station = station;
    l.definirPrelevement(
        QDateTime(QDate::fromString(jour, QStringLiteral("dd/MM/yyyy")), QTime(0, 0)));
    l.numPrelevement = r.cellule(numero);
    l.parametre = r.cellule(parametre);
    l.unite = r.cellule(QStringLiteral("162"));
    l.nomParametre =
        r.cellule(parametre == QLatin1String("1340") ? QStringLiteral("Nitrates")
                                                     : QStringLiteral("Oxygène dissous"));
    l.forme = FormeResultat::Texte;
    l.texteResultat = r.cellule(resultat);
    l.classe = {classe, classe};
    l.detection = detection;
    return l;
}

Indicateur indicateur(const QString &parametre, const QString &nom,
                      std::initializer_list<std::pair<const char *, bool>> stations)
{
    Indicateur i;
    i.parametre = parametre;
    i.unite = QStringLiteral("162");
    i.code = parametre + QStringLiteral("/162");
    i.element = nom;
    for (const auto &[s, d] : stations)
        i.lieux[0].insert(QString::fromLatin1(s), d);
    return i;
}

// Three stations, two of them in water body ME1 and HER 5; oxygen listed before nitrates.
ResultatRecherche resultat()
{
    ResultatRecherche r;
    r.stations = {{1, "BSS001", "Amont", {}, "ME1", "5", "7", {}, {}, {}},
                  {2, "BSS002", "Aval", {}, "ME1", "5", {}, {}, {}, {}},
                  {3, "BSS003", "Source", {}, {}, "9", {}, {}, {}, {}}};
    r.indicateurs = {
        indicateur("1311", "Oxygène dissous", {{"BSS002", true}}),
        indicateur("1340", "Nitrates", {{"BSS003", false}, {"BSS002", true}, {"BSS001", true}}),
        indicateur("1399", "Sans résultat", {})};
    r.lignes = {ligne(r, 1, "02/01/2024", "1", "1340", "30", 2),
                ligne(r, 0, "02/02/2024", "3", "1340", "200", 4),
                ligne(r, 0, "02/02/2024", "3", "1311", "7", 1),
                ligne(r, 0, "02/01/2024", "2", "1340", "<0.5", 0, false),
                ligne(r, 2, "02/01/2024", "10", "1340", "<3.5", 0, false),
                ligne(r, 0, "02/01/2024", "2", "1340", "25", 1)};
    return r;
}

TEST(RechercheVues, DetailParStationEtParPrelevement)
{
    const ResultatRecherche r = resultat();
    const GrilleDetaillee station = grilleDetaillee(r, Regroupement::Station);
    EXPECT_EQ(station.grille.titres.join(u'|'),
              QStringLiteral("Identifiant|Station|Code|Element|Nb recherches|nb détections|"
                             "Classe max|Mini|Moyenne|Maxi"));
    // Below-limit results count as searched, not detected, and their value enters the figures.
    EXPECT_EQ(joindre(station.grille),
              QStringList({"BSS001|Amont|1311/162|Oxygène dissous|1|1|1|7|7|7",
                           "BSS001|Amont|1340/162|Nitrates|3|2|4|0.5|75.1666666666667|200",
                           "BSS002|Aval|1340/162|Nitrates|1|1|2|30|30|30",
                           "BSS003|Source|1340/162|Nitrates|1|0||3.5|3.5|3.5"}));
    EXPECT_EQ(station.couleurs, QVector<int>({1, 4, 2, -1}));

    const GrilleDetaillee prelevement = grilleDetaillee(r, Regroupement::Prelevement);
    EXPECT_EQ(joindre(prelevement.grille),
              QStringList({"BSS001|Amont|02/01/2024|2|1340/162|Nitrates|2|1|1|0.5|12.75|25",
                           "BSS001|Amont|02/02/2024|3|1311/162|Oxygène dissous|1|1|1|7|7|7",
                           "BSS001|Amont|02/02/2024|3|1340/162|Nitrates|1|1|4|200|200|200",
                           "BSS002|Aval|02/01/2024|1|1340/162|Nitrates|1|1|2|30|30|30",
                           "BSS003|Source|02/01/2024|10|1340/162|Nitrates|1|0||3.5|3.5|3.5"}));
}

TEST(RechercheVues, DetailParMasseEauHerEtBv)
{
    const ResultatRecherche r = resultat();
    // The station without water body is left out of the water body view.
    EXPECT_EQ(joindre(grilleDetaillee(r, Regroupement::MasseEau).grille),
              QStringList({"ME1|1311/162|Oxygène dissous|1|1|1|7|7|7",
                           "ME1|1340/162|Nitrates|4|3|4|0.5|63.875|200"}));
    EXPECT_EQ(joindre(grilleDetaillee(r, Regroupement::Her).grille),
              QStringList({"5|1311/162|Oxygène dissous|1|1|1|7|7|7",
                           "5|1340/162|Nitrates|4|3|4|0.5|63.875|200",
                           "9|1340/162|Nitrates|1|0||3.5|3.5|3.5"}));
    EXPECT_EQ(joindre(grilleDetaillee(r, Regroupement::Bv).grille),
              QStringList({"7|1311/162|Oxygène dissous|1|1|1|7|7|7",
                           "7|1340/162|Nitrates|3|2|4|0.5|75.1666666666667|200"}));
    EXPECT_EQ(titreDetail(Regroupement::MasseEau), QStringLiteral("Détail par masses d'eaux"));
    EXPECT_TRUE(
        grilleDetaillee(ResultatRecherche{}, Regroupement::Station).grille.lignes.isEmpty());
}

TEST(RechercheVues, AdresseDeLaCarte)
{
    const QUrl url = urlCarte({{QStringLiteral("A"), 1.5, 43.25}, {QStringLiteral("B"), -0.5, 44}});
    EXPECT_EQ(url.toString(), QStringLiteral("https://www.google.com/maps/dir/43.250000,1.500000/"
                                             "44.000000,-0.500000/"));
}

class PointsWgs84Test : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesCatalogue({"QUALITOMETRES", "QUALITOMETRE_LOCALISATIONS"});
    }
};

TEST_P(PointsWgs84Test, LocalisationPuisCoordonneesDeLaStation)
{
    for (const char *sql :
         {// 1: a Lambert localisation and a WGS84 one; its own coordinates in Lambert.
          "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, X, Y, TypeProjection) VALUES "
          "(1, 'BSS001', 650000, 6200000, 26)",
          "INSERT INTO QUALITOMETRE_LOCALISATIONS (CodeQualitometre, CodeProjection, X, Y) "
          "VALUES (1, 26, 650000, 6200000)",
          "INSERT INTO QUALITOMETRE_LOCALISATIONS (CodeQualitometre, CodeProjection, X, Y) "
          "VALUES (1, 31, 1.5, 43.25)",
          // 2: its own coordinates in WGS84, a localisation at 0 that does not count.
          "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, X, Y, TypeProjection) VALUES "
          "(2, 'BSS002', -0.5, 44, 16)",
          "INSERT INTO QUALITOMETRE_LOCALISATIONS (CodeQualitometre, CodeProjection, X, Y) "
          "VALUES (2, 40, 0, 44)",
          // 3: nothing in WGS84; 4: in WGS84 but no result found there.
          "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, X, Y, TypeProjection) VALUES "
          "(3, 'BSS003', 650000, 6200000, 26)",
          "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, X, Y, TypeProjection) VALUES "
          "(4, 'BSS004', 2, 45, 16)"})
        ASSERT_TRUE(executer(QString::fromLatin1(sql))) << sql;
    ResultatRecherche r;
    for (qint64 c = 1; c <= 4; ++c)
        r.stations << StationRecherche{c, QStringLiteral("BSS00%1").arg(c)};
    for (int s : {0, 1, 2, 0})
        r.lignes << ligne(r, s, QStringLiteral("02/01/2024"), QStringLiteral("1"),
                          QStringLiteral("1340"), QStringLiteral("3"), 0);
    QVector<PointWgs84> points;
    ASSERT_TRUE(pointsWgs84(r, points));
    QStringList vus;
    for (const PointWgs84 &p : points)
        vus << QStringLiteral("%1 %2 %3").arg(p.identifiant).arg(p.longitude).arg(p.latitude);
    EXPECT_EQ(vus, QStringList({"BSS001 1.5 43.25", "BSS002 -0.5 44"}));

    r.lignes = {ligne(r, 2, QStringLiteral("02/01/2024"), QStringLiteral("1"),
                      QStringLiteral("1340"), QStringLiteral("3"), 0)};
    ASSERT_TRUE(pointsWgs84(r, points));
    EXPECT_TRUE(points.isEmpty());
}

VYK_SUR_LES_DEUX_MOTEURS(PointsWgs84Test);

} // namespace
