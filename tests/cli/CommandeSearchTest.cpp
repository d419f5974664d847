#include "db/BaseDonnees.h"
#include "schema/MiseAJour.h"
#include "schema/TableAnalyses.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

// Stations S1 (7) and S2 (8); list LST of parameter 99001 (grid 10, 20 of threshold type 90)
// and 99002 (no grid).
class CommandeSearchTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(verifierVersionBase(versionProgramme()));
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("S1")));
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("S2")));
        const char *lignesSql[] = {
            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (7, 'S1', 'Amont')",
            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (8, 'S2', 'Aval')",
            "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('99001', 'Essai A')",
            "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('99002', 'Essai B')",
            "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS_TITRE (Code, Nom, TypeListe) VALUES "
            "('LST', 'Liste', 0)",
            "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, CodeParametre, TypeListe) "
            "VALUES ('LST', 1, '99001', 0)",
            "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, CodeParametre, TypeListe) "
            "VALUES ('LST', 2, '99002', 0)",
            "INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES ('SEUILS', 90, 'Essai')",
            "INSERT INTO ANALYSES_SEUILS (TypeListe, typeSeuil, CodeParametre, Seuil1, Seuil2) "
            "VALUES ('0', 90, '99001', 10, 20)",
            "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut) VALUES (1, 7, "
            "#03/01/2024#)",
            "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut) VALUES (2, 8, "
            "#03/02/2024#)",
            "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut) VALUES (3, 8, "
            "#04/01/2024#)",
            "INSERT INTO ANALYSES_S1 (NumAnalyse, NumPrelevement, CodeQualitometre, CodeParametre, "
            "Resultat) VALUES (1, 1, 7, '99001', 15)",
            "INSERT INTO ANALYSES_S2 (NumAnalyse, NumPrelevement, CodeQualitometre, CodeParametre, "
            "Resultat, CodeRemarque) VALUES (2, 2, 8, '99001', 4, '10')",
            // Dated on the end date: not returned.
            "INSERT INTO ANALYSES_S2 (NumAnalyse, NumPrelevement, CodeQualitometre, CodeParametre, "
            "Resultat) VALUES (3, 3, 8, '99001', 30)",
        };
        for (const char *l : lignesSql)
            ASSERT_TRUE(executer(QString::fromUtf8(l))) << l;
    }

    test::SortieCli chercher(const QStringList &autres)
    {
        return cli(QStringList{QStringLiteral("search"), QStringLiteral("--from"),
                               QStringLiteral("01/01/2024"), QStringLiteral("--to"),
                               QStringLiteral("01/04/2024"), QStringLiteral("--selection"),
                               QStringLiteral("LST")} +
                   autres);
    }
};

TEST_P(CommandeSearchTest, GrillesEnCsv)
{
    test::SortieCli r = chercher({QStringLiteral("--threshold-type"), QStringLiteral("90")});
    ASSERT_EQ(r.code, 0) << qPrintable(r.erreurs);
    const QStringList lignes = r.sortie.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lignes.size(), 3) << qPrintable(r.sortie);
    EXPECT_TRUE(lignes[0].startsWith(QStringLiteral("Prélèvement,Identifiant,Station,Analyse,")));
    EXPECT_TRUE(lignes[0].endsWith(QStringLiteral(",Projection,Classe,Couleur")));
    // 15 is past 10, not past 20 (the last bound): class 1, green; below the limit: blue.
    EXPECT_TRUE(lignes[1].startsWith(QStringLiteral("01/03/2024,S1,Amont,,,Essai A,15,,,10,20,")));
    EXPECT_TRUE(lignes[1].endsWith(QStringLiteral(",1,\"0,255,0\"")));
    EXPECT_TRUE(lignes[2].startsWith(QStringLiteral("02/03/2024,S2,Aval,,,Essai A,<4,,,10,20,")));
    EXPECT_TRUE(lignes[2].endsWith(QStringLiteral(",0,\"22,112,241\"")));

    r = chercher({QStringLiteral("--threshold-type"), QStringLiteral("90"),
                  QStringLiteral("--output"), QStringLiteral("indicators")});
    EXPECT_EQ(r.sortie.split(u'\n').mid(1).join(u'\n'),
              QStringLiteral("99001/,Essai A,2,1,1,1,0,0,0,50,1,50,15,4,9.5,15,4,15,15,99001,\n"
                             "99002/,Essai B,0,0,0,0,0,0,0,,0,,,,,,,,,99002,\n"));
    r = chercher({QStringLiteral("--threshold-type"), QStringLiteral("90"),
                  QStringLiteral("--output"), QStringLiteral("totals"),
                  QStringLiteral("--stations"), QStringLiteral("S2")});
    EXPECT_EQ(r.sortie.split(u'\n').mid(1).join(u'\n'),
              QStringLiteral("Total,,1,0,1,0,0,0,0,0,0,0,,,,\n"));
}

// Index results (key -1) print their own columns: the operation's sampler, the index's code and
// name, and calculations instead of detections.
TEST_P(CommandeSearchTest, IndicesAvecLeursColonnes)
{
    for (const char *sql : {
             "INSERT INTO INTERVENANTS (CodeIntervenant, Nom) VALUES (44, 'Hydrobio Conseil')",
             "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('5856', 'IBGN')",
             "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS_TITRE (Code, Nom, TypeListe) VALUES "
             "('IND', 'Indices', 2)",
             "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, CodeParametre, TypeListe) "
             "VALUES ('IND', 1, '5856', 2)",
             "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
             "dateDebut, codePreleveur, statut) VALUES (7, 3, #02/15/2024#, 44, 2)",
             "INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, codeOperation, "
             "codeParametre, resultat) VALUES (7, 3, 5856, 14)",
         })
        ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
    const QStringList base = {
        QStringLiteral("search"), QStringLiteral("--from"),     QStringLiteral("01/01/2024"),
        QStringLiteral("--to"),   QStringLiteral("01/04/2024"), QStringLiteral("--selection"),
        QStringLiteral("IND"),    QStringLiteral("--point"),    QStringLiteral("-1")};
    test::SortieCli r = cli(base);
    ASSERT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie,
              QStringLiteral("Prélèvement,Identifiant,Station,Préleveur,Code,Paramètre,Résultat,"
                             "Seuil1,Seuil2,Seuil3,Seuil4,Qualitomètre,Qualification,Statut,"
                             "codeQualitometre,Operation,Code HER,HER,Code BV,Bassin versant,X,Y,"
                             "Projection,Classe,Couleur\n"
                             "15/02/2024,S1,Amont,Hydrobio Conseil,5856,IBGN,14,,,,,S1,,2,7,3,,,,,"
                             ",,,0,\"22,112,241\"\n"));
    r = cli(base + QStringList{QStringLiteral("--output"), QStringLiteral("indicators")});
    EXPECT_TRUE(r.sortie.startsWith(QStringLiteral("Code,Element,Nb recherches,Nb calcul,")))
        << qPrintable(r.sortie);
    EXPECT_TRUE(r.sortie.endsWith(QStringLiteral("\n5856/,IBGN,1,1,1,0,0,0,0,100,0,0,14,14,14,14,"
                                                 "14,14,14,5856,\n")))
        << qPrintable(r.sortie);
}

TEST_P(CommandeSearchTest, RefusEtAucunResultat)
{
    test::SortieCli r =
        cli({QStringLiteral("search"), QStringLiteral("--from"), QStringLiteral("31/02/2024"),
             QStringLiteral("--to"), QStringLiteral("01/04/2024"), QStringLiteral("--selection"),
             QStringLiteral("LST")});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.erreurs.startsWith(QStringLiteral("Renseignez les dates de chargement")))
        << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, QString());

    r = chercher({QStringLiteral("--output"), QStringLiteral("tout")});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.erreurs.startsWith(QStringLiteral("Sortie inconnue : « tout »")));
    r = chercher({QStringLiteral("--all"), QStringLiteral("--stations"), QStringLiteral("S1")});
    EXPECT_EQ(r.code, 2);
    r = chercher({QStringLiteral("--threshold-type"), QStringLiteral("9;0")});
    EXPECT_EQ(r.code, 2);
    r = chercher({QStringLiteral("--stations"), QStringLiteral("S9")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs, QStringLiteral("Le qualitomètre « S9 » n'existe pas.\n"));

    r = cli({QStringLiteral("search"), QStringLiteral("--from"), QStringLiteral("01/01/2020"),
             QStringLiteral("--to"), QStringLiteral("01/01/2021"), QStringLiteral("--selection"),
             QStringLiteral("LST"), QStringLiteral("--output"), QStringLiteral("indicators")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.erreurs, QStringLiteral("Aucun résultat ne correspond à vos critères.\n"));
    EXPECT_EQ(r.sortie.count(u'\n'), 1);
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(CommandeSearchTest);
