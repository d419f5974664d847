// The importers' records: values land in their members in the order given, values left out stay
// "not given", and completing a stored water point never replaces one of its values.

#include "monitoring/Factory.h"

#include <gtest/gtest.h>

using namespace vyk;

namespace {

TEST(Factory, ValeursDansLOrdreEtNonDonneesVides)
{
    const InfosStation i =
        Factory::GetInfosStations(QStringLiteral("01/02/1990"), QStringLiteral("RCS"), 0,
                                  QStringLiteral("V21"), std::nullopt, 12.5, 3, 0);
    EXPECT_EQ(i.dateCreation, QStringLiteral("01/02/1990"));
    EXPECT_EQ(i.finalite, QStringLiteral("RCS"));
    // 0 is a real HER: it is kept, not taken for "not given".
    ASSERT_TRUE(i.HER1.has_value());
    EXPECT_EQ(*i.HER1, 0);
    EXPECT_EQ(i.codeHydro, QStringLiteral("V21"));
    EXPECT_FALSE(i.rangStrahler.has_value());
    EXPECT_EQ(i.superficieBassinVersant, 12.5);
    EXPECT_EQ(i.typeFR, 3);
    EXPECT_EQ(i.canal, 0);

    const Analyse a = Factory::GetAnalyse(
        ClePrelevement{QStringLiteral("S1"), QDate(2021, 5, 3), QTime(10, 30), QStringLiteral("3")},
        QStringLiteral("1340"), std::nullopt, QStringLiteral("162"), QStringLiteral("10"));
    EXPECT_EQ(a.prelevement.codeStation, QStringLiteral("S1"));
    EXPECT_EQ(a.prelevement.heure, QTime(10, 30));
    EXPECT_EQ(a.codeParametre, QStringLiteral("1340"));
    EXPECT_FALSE(a.resultat.has_value());
    EXPECT_EQ(a.codeUnite, QStringLiteral("162"));
    EXPECT_EQ(a.codeRemarque, QStringLiteral("10"));
    EXPECT_TRUE(a.codeFraction.isEmpty());
    EXPECT_FALSE(a.dateAnalyse.isValid());
    EXPECT_FALSE(a.limiteQuantification.has_value());

    const TaxonDenombre t =
        Factory::GetTaxonDenombre(CleOperation{QStringLiteral("S1")}, QStringLiteral("069"));
    EXPECT_EQ(t.codeListe, 1);
    for (const NombreLu &v : t.valeurs)
        EXPECT_FALSE(v.has_value());

    const Reseau r = Factory::GetReseau(QStringLiteral("S1"), QStringLiteral("0400000001"),
                                        QString(), QDate(2001, 1, 1));
    EXPECT_EQ(r.codeSandre, QStringLiteral("0400000001"));
    EXPECT_EQ(r.dateDebut, QDate(2001, 1, 1));
    EXPECT_FALSE(r.dateFin.isValid());
}

TEST(Factory, CompleterGardeLesValeursStockees)
{
    PointEau stocke;
    stocke.code = QStringLiteral("S1");
    stocke.nom = QStringLiteral("Pont de pierre");
    stocke.coordonnee.x = 0; // a stored 0 is a value
    stocke.infos.HER1 = 0;
    PointEau lu =
        Factory::GetPointEau(QStringLiteral("S1"), QStringLiteral("Autre nom"), QStringLiteral("2"),
                             Factory::GetCoordonnee(10.0, 20.0, 26), 150.0);
    lu.infos = Factory::GetInfosStations(QStringLiteral("01/01/1980"), {}, 9, {}, 4);
    lu.dateFermeture = QDate(2020, 1, 1);

    const PointEau c = Factory::commpletePointEau(stocke, lu);
    EXPECT_EQ(c.nom, QStringLiteral("Pont de pierre"));
    EXPECT_EQ(c.typeStation, QStringLiteral("2"));
    EXPECT_EQ(c.coordonnee.x, 0.0);
    EXPECT_EQ(c.coordonnee.y, 20.0);
    EXPECT_EQ(c.coordonnee.projection, 26);
    EXPECT_EQ(c.altitude, 150.0);
    EXPECT_EQ(c.dateFermeture, QDate(2020, 1, 1));
    EXPECT_EQ(c.infos.HER1, 0);
    EXPECT_EQ(c.infos.rangStrahler, 4);
    EXPECT_EQ(c.infos.dateCreation, QStringLiteral("01/01/1980"));
    // Nothing given on either side stays not given.
    EXPECT_FALSE(c.infos.typeFR.has_value());
    EXPECT_TRUE(c.localisation.isEmpty());
}

} // namespace
