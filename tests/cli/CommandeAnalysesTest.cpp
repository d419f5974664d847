#include "db/BaseDonnees.h"
#include "schema/TableAnalyses.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class CommandeAnalysesTest : public BaseTest
{
};

TEST_P(CommandeAnalysesTest, AnalysesDUneStationEnCsv)
{
    test::creerTablesQualite();
    ASSERT_TRUE(creerTableAnalyses(QStringLiteral("BSS001")));
    for (const char *sql : {
             "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (1, 'BSS001')",
             "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('1340', 'Nitrates, totaux')",
             "INSERT INTO ANALYSES_UNITES (Code, Symbole) VALUES ('162', 'mg/L')",
             "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
             "statut) VALUES (1, 0, 2)",
             "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, HeureDebut, "
             "codeOperation, CodeSupportPrincipal) VALUES (0, 1, #03/01/2021#, #12/30/1899 "
             "10:30:00#, 0, '3')",
             "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut) VALUES (1, 1, "
             "#06/01/2021#)",
             "INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, CodeQualitometre, "
             "CodeParametre, CodeUnite, Resultat, CodeRemarque) VALUES (0, 0, 1, '1340', '162', "
             "0.5, '10')",
             "INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, CodeQualitometre, "
             "CodeParametre, CodeUnite, Resultat, StatutMesure) VALUES (0, 1, 1, '1340', '162', "
             "25, '4')",
         })
        ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
    bd().fermerBase();
    const QString entete = QStringLiteral(
        "NumPrelevement,DatePrelevement,HeurePrelevement,NumAnalyse,CodeParametre,NomParametre,"
        "Resultat,CodeRemarque,ResultatAffiche,CodeUnite,SymboleUnite,LimiteQuantification,"
        "CodeFraction,CodeSupport,StatutMesure,CodeQualification\n");
    test::SortieCli r =
        cli({QStringLiteral("analyses"), QStringLiteral("--station"), QStringLiteral("BSS001")});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie,
              entete +
                  QStringLiteral(
                      "0,01/03/2021,10:30,0,1340,\"Nitrates, totaux\",0.5,10,<0.5,162,mg/L,,,3,2,\n"
                      "1,01/06/2021,,0,1340,\"Nitrates, totaux\",25,,25,162,mg/L,,,,4,\n"));
    r = cli({QStringLiteral("analyses"), QStringLiteral("--station"), QStringLiteral("1"),
             QStringLiteral("--from"), QStringLiteral("01/04/2021")});
    EXPECT_EQ(r.sortie,
              entete + QStringLiteral(
                           "1,01/06/2021,,0,1340,\"Nitrates, totaux\",25,,25,162,mg/L,,,,4,\n"));
    r = cli({QStringLiteral("analyses"), QStringLiteral("--station"), QStringLiteral("BSS999")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.erreurs.contains(QStringLiteral("Le qualitomètre « BSS999 » n'existe pas.")));
    r = cli({QStringLiteral("analyses"), QStringLiteral("--station"), QStringLiteral("BSS001"),
             QStringLiteral("--to"), QStringLiteral("demain")});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(cli({QStringLiteral("analyses")}).code, 2);
    ASSERT_TRUE(rouvrir());
}

// Sample numbers are per station: another station's sample 0, with its own operation status and
// support, is neither shown nor inherited.
TEST_P(CommandeAnalysesTest, UneAutreStationDeMemeNumeroDePrelevementNeSeMelePas)
{
    test::creerTablesQualite();
    ASSERT_TRUE(creerTableAnalyses(QStringLiteral("A1")));
    for (
        const char *sql : {
            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (1, 'A1')",
            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (2, 'A2')",
            "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, statut) "
            "VALUES (1, 0, 2)",
            "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, statut) "
            "VALUES (2, 0, 3)",
            "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, codeOperation, "
            "CodeSupportPrincipal) VALUES (0, 1, #03/01/2021#, 0, '3')",
            "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, codeOperation, "
            "CodeSupportPrincipal) VALUES (0, 2, #02/02/2021#, 0, '6')",
            "INSERT INTO ANALYSES_A1 (NumAnalyse, NumPrelevement, CodeQualitometre, CodeParametre, "
            "Resultat) "
            "VALUES (0, 0, 1, '1340', 7)",
        })
        ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
    bd().fermerBase();
    const test::SortieCli r =
        cli({QStringLiteral("analyses"), QStringLiteral("--station"), QStringLiteral("A1")});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie,
              QStringLiteral(
                  "NumPrelevement,DatePrelevement,HeurePrelevement,NumAnalyse,CodeParametre,"
                  "NomParametre,Resultat,CodeRemarque,ResultatAffiche,CodeUnite,SymboleUnite,"
                  "LimiteQuantification,CodeFraction,CodeSupport,StatutMesure,CodeQualification\n"
                  "0,01/03/2021,,0,1340,,7,,7,,,,,3,2,\n"));
    ASSERT_TRUE(rouvrir());
}

// Both bounds are inclusive days; a remark that is not a below or above code adds no sign.
TEST_P(CommandeAnalysesTest, PeriodeEtRemarquesSansSigne)
{
    test::creerTablesQualite();
    ASSERT_TRUE(creerTableAnalyses(QStringLiteral("V1")));
    for (const char *sql : {
             "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (3, 'V1')",
             "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, HeureDebut) "
             "VALUES (0, 3, #03/01/2021#, #12/30/1899 23:30:00#)",
             "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut) VALUES (1, 3, "
             "#06/01/2021#)",
             "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut) VALUES (2, 3, "
             "#01/15/2021#)",
             "INSERT INTO ANALYSES_V1 (NumAnalyse, NumPrelevement, CodeQualitometre, "
             "CodeParametre, Resultat, CodeRemarque) VALUES (0, 0, 3, '1340', 0.5, '')",
             "INSERT INTO ANALYSES_V1 (NumAnalyse, NumPrelevement, CodeQualitometre, "
             "CodeParametre, Resultat, CodeRemarque) VALUES (1, 0, 3, '1340', 2, 'x')",
             "INSERT INTO ANALYSES_V1 (NumAnalyse, NumPrelevement, CodeQualitometre, "
             "CodeParametre, Resultat, CodeRemarque) VALUES (0, 1, 3, '1340', 300, '8')",
             "INSERT INTO ANALYSES_V1 (NumAnalyse, NumPrelevement, CodeQualitometre, "
             "CodeParametre, Resultat, CodeRemarque) VALUES (0, 2, 3, '1340', 4, '9')",
         })
        ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
    bd().fermerBase();
    auto analyses = [this](const QStringList &bornes) {
        const test::SortieCli r =
            cli(QStringList{QStringLiteral("analyses"), QStringLiteral("--station"),
                            QStringLiteral("V1")} +
                bornes);
        EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
        QStringList l = r.sortie.split(u'\n', Qt::SkipEmptyParts);
        if (!l.isEmpty()) l.removeFirst();
        // NumPrelevement, NumAnalyse, CodeRemarque, ResultatAffiche
        QStringList r2;
        for (const QString &ligne : std::as_const(l)) {
            const QStringList c = ligne.split(u',');
            r2 << c[0] + u'|' + c[3] + u'|' + c[7] + u'|' + c[8];
        }
        return r2;
    };
    EXPECT_EQ(analyses({}), QStringList({"2|0|9|<4", "0|0||0.5", "0|1|x|2", "1|0|8|>300"}));
    EXPECT_EQ(analyses({QStringLiteral("--from"), QStringLiteral("01/03/2021"),
                        QStringLiteral("--to"), QStringLiteral("01/03/2021")}),
              QStringList({"0|0||0.5", "0|1|x|2"}));
    EXPECT_EQ(analyses({QStringLiteral("--to"), QStringLiteral("28/02/2021")}),
              QStringList({"2|0|9|<4"}));
    EXPECT_EQ(analyses({QStringLiteral("--from"), QStringLiteral("02/03/2021"),
                        QStringLiteral("--to"), QStringLiteral("31/05/2021")}),
              QStringList());
    ASSERT_TRUE(rouvrir());
}

VYK_SUR_LES_DEUX_MOTEURS(CommandeAnalysesTest);

} // namespace
