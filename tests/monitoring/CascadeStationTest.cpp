#include "monitoring/GrillesOperation.h"
#include "monitoring/ListeTaxonsOperation.h"
#include "monitoring/OperationsHydrobio.h"
#include "monitoring/PointsPrelevement.h"
#include "monitoring/SuppressionQualitometre.h"

#include "DonneesOperations.h"

using namespace vyk;

namespace {

// What the points, operations and their grids write hangs on the station: its cascade takes it
// all, and a new station that gets the same code finds nothing of it.
class CascadeStationTest : public test::BaseOperations
{
};

TEST_P(CascadeStationTest, LaStationSupprimeeEmporteSesPointsEtOperations)
{
    station(1, QStringLiteral("BSS1"));
    station(2, QStringLiteral("BSS2"));
    for (qint64 s : {1, 2}) {
        FichePoint p;
        p.station = s;
        p.identifiant = QStringLiteral("131");
        ASSERT_EQ(enregistrerPoint(p), QString());
        FicheOperation f = nouvelleOperation(s, 0);
        ASSERT_TRUE(enregistrerOperation(f));
        LignesGrille l{{{QStringLiteral("P1")}, {}}};
        ASSERT_TRUE(GrilleOperation(*grilleOperation(QStringLiteral("prelevements")))
                        .enregistrer(s, f.code, l));
        QVector<LigneRecouvrement> r(supportsRecouvrement().size());
        r[0].recouvrement = QStringLiteral("100");
        ASSERT_TRUE(enregistrerRecouvrements(s, f.code, r));
        ValeursUnites u{QStringList(caracteristiquesUnites().size()),
                        QStringList(caracteristiquesUnites().size())};
        u.ur1[0] = QStringLiteral("50");
        ASSERT_TRUE(enregistrerUnites(s, f.code, u));
        ListeTaxonsOperation liste(s, QStringLiteral("131"));
        ListeTaxonsOperation::Ligne t;
        t.codeTaxon = QStringLiteral("5001");
        t.valeurs[DenombrementA] = QStringLiteral("4");
        liste.ajouterTaxons({t});
        ASSERT_TRUE(
            executer(QStringLiteral("DELETE FROM TAXONS WHERE codeTaxon='5001'")) &&
            executer(QStringLiteral("INSERT INTO TAXONS (codeTaxon, actif) VALUES ('5001', '1')")));
        ASSERT_TRUE(liste.enregistrer(f.code, 1));
    }
    const ResultatSuppression r =
        supprimerQualitometre(QStringLiteral("1"), QStringLiteral("BSS1"));
    EXPECT_TRUE(r.effectuee);
    EXPECT_TRUE(r.echecs.isEmpty()) << qPrintable(r.echecs.join(u'\n'));
    for (const char *table :
         {"QUALITOMETRES_POINTS", "QUALITOMETRES_POINTS_OPERATIONS",
          "QUALITOMETRES_OPERATIONS_PRELEVEMENTS", "QUALITOMETRES_OPERATIONS_REC",
          "QUALITOMETRES_OPERATIONS_UNITES", "QUALITOMETRES_OPERATIONS_LISTE"})
        EXPECT_EQ(
            lignes(QStringLiteral("SELECT DISTINCT codeQualitometre FROM ") + QLatin1String(table)),
            QStringList({"2"}))
            << table;
    EXPECT_FALSE(bd().tableExiste(QStringLiteral("QUALITOMETRES_LISTE_1")));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES_LISTE_2")).toInt(), 1);
}

// The per-operation taxa rows of older databases go with their operation, whichever way it goes.
TEST_P(CascadeStationTest, AnciennesListesParOperationEmporteesAussi)
{
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE QUALITOMETRES_OPERATIONS_TAXONS "
                                        "(codeQualitometre Double, codeOperation Double, "
                                        "codeListe Double, codeTaxon Text(6))")));
    station(1, QStringLiteral("BSS1"));
    station(2, QStringLiteral("BSS2"));
    point(1, 0, QStringLiteral("131"));
    point(1, 1, QStringLiteral("101"));
    point(2, 0, QStringLiteral("131"));
    operation(1, 0, 0, QStringLiteral("01/06/2020"));
    operation(1, 1, 1, QStringLiteral("01/06/2020"));
    operation(2, 0, 0, QStringLiteral("01/06/2020"));
    for (const char *v : {"(1, 0, 1, '5001')", "(1, 1, 1, '5002')", "(2, 0, 1, '5001')"})
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO QUALITOMETRES_OPERATIONS_TAXONS VALUES ") +
                             QLatin1String(v)));
    const QString reste = QStringLiteral(
        "SELECT codeQualitometre, codeOperation FROM QUALITOMETRES_OPERATIONS_TAXONS "
        "ORDER BY codeQualitometre, codeOperation");

    ResultatSuppression r = supprimerQualitometre(QStringLiteral("1"), QStringLiteral("BSS1"),
                                                  nullptr, false, true, QStringLiteral("131"));
    EXPECT_TRUE(r.echecs.isEmpty()) << qPrintable(r.echecs.join(u'\n'));
    EXPECT_EQ(lignes(reste), QStringList({"1|1", "2|0"}));
    r = supprimerQualitometre(QStringLiteral("1"), QStringLiteral("BSS1"));
    EXPECT_TRUE(r.echecs.isEmpty()) << qPrintable(r.echecs.join(u'\n'));
    EXPECT_EQ(lignes(reste), QStringList({"2|0"}));
}

VYK_SUR_LES_DEUX_MOTEURS(CascadeStationTest);

} // namespace
