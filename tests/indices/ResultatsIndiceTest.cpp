#include "indices/ResultatsIndice.h"
#include "app/Registre.h"
#include "app/Reglages.h"
#include "indices/DescriptionIndice.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

#include <QFile>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

// Station 01234567 (code 1): operations 10 (protocol 707) and 11 (protocol 1) the same day at
// point 131, 12 the same day at another point, 13 the next day; station 07654321 (code 2).
class ResultatsIndiceTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesQualite();
        for (const char *sql :
             {"INSERT INTO QUALITOMETRES (codeQualitometre, codeBSS) VALUES (1, '01234567')",
              "INSERT INTO QUALITOMETRES (codeQualitometre, codeBSS) VALUES (2, '07654321')",
              "INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, identifiant) VALUES "
              "(1, 1, '131')",
              "INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, identifiant) VALUES "
              "(1, 2, '101')",
              "INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, identifiant) VALUES "
              "(2, 1, '131')"})
            ASSERT_TRUE(executer(QString::fromLatin1(sql))) << sql;
        operation(1, 10, 1, QStringLiteral("05/12/2023 10:30:00"), QStringLiteral("707"));
        operation(1, 11, 1, QStringLiteral("05/12/2023 14:00:00"), QStringLiteral("1"));
        operation(1, 12, 2, QStringLiteral("05/12/2023"), QStringLiteral("707"));
        operation(1, 13, 1, QStringLiteral("05/13/2023"), QStringLiteral("707"));
        operation(2, 20, 1, QStringLiteral("05/12/2023"), QStringLiteral("707"));
        lecture.codeStation = QStringLiteral("01234567");
        lecture.point = QStringLiteral("131");
        lecture.protocolesPreferes = indiceI2M2().protocolesPreferes;
        lecture.parametre = [](const QString &code, const QString &libelle) {
            return indiceI2M2().parametre(indiceI2M2(), code, libelle);
        };
    }

    void operation(int station, int code, int point, const QString &date, const QString &protocole)
    {
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO QUALITOMETRES_POINTS_OPERATIONS "
                                            "(codeQualitometre, codeOperation, codePoint, "
                                            "dateDebut, protocoleBiologique) VALUES (%1, %2, %3, "
                                            "#%4#, '%5')")
                                 .arg(station)
                                 .arg(code)
                                 .arg(point)
                                 .arg(date, protocole)))
            << qPrintable(bd().derniereErreur());
    }

    QString fichier(const QByteArray &texte)
    {
        const QString nom = chemin(QStringLiteral("resultats_I2M2_1.csv"));
        QFile f(nom);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(texte);
        return nom;
    }

    QStringList resultats()
    {
        return lignes(QStringLiteral(
            "SELECT codeQualitometre, codeOperation, indice, codeParametre, resultat, "
            "codeAccreditation, codeAgrement FROM QUALITOMETRES_OPERATIONS_RESULTATS ORDER BY "
            "codeOperation, indice"));
    }

    LectureResultats lecture;
    BilanResultats bilan;
};

// A banner, unquoted headers, the code before the label, a decimal comma, NA, a foreign station.
const QByteArray FICHIER =
    "Calcul I2M2 v1.3.0 du 2023-06-01\n"
    "CODE_OPERATION;CODE_STATION;DATE;CODE_PAR;LIB_PAR;RESULTAT\n"
    "\"1234567*2023-05-12*I\";\"1234567\";\"2023-05-12\";\"7613\";\"I2M2\";\"0,6543\"\n"
    "1234567*2023-05-12*I;1234567;2023-05-12;;Indice de Shannon;NA\n"
    "1234567*2023-05-12*I;1234567;2023-05-12;;ASPT;0.91\n"
    "1234567*2023-05-12*I;1234567;2023-05-12;;Autre metrique;0.5\n"
    "07654321*2023-05-12*I;07654321;2023-05-12;7613;I2M2;0.2\n"
    "01234567*2023-05-13*I;01234567;2023-05-13;8054;Richesse;0.33\n"
    "01234567*2023-05-14*I;01234567;2023-05-14;8054;Richesse;0.4\n";

TEST_P(ResultatsIndiceTest, LectureParNomsDeColonnes)
{
    ecrireRegistre(reglage::Accreditation, QStringLiteral("1"));
    ecrireRegistre(reglage::Agrement, QString());
    ASSERT_TRUE(integrerResultats(fichier(FICHIER), lecture, bilan)) << qPrintable(bilan.erreur);
    EXPECT_EQ(bilan.enregistres, 3);
    EXPECT_EQ(bilan.ignores,
              (QStringList{QStringLiteral("Ligne 4 : valeur « NA » du paramètre 8058 ignorée"),
                           QStringLiteral("Ligne 7 : station 07654321 étrangère à ce calcul"),
                           QStringLiteral("Ligne 9 : aucune opération de la station 01234567 le "
                                          "2023-05-14")}));
    // The day's operation of protocol 707 at point 131, though 11 is newer.
    EXPECT_EQ(resultats(), (QStringList{QStringLiteral("1|10|1|7613|0.6543|1|"),
                                        QStringLiteral("1|10|2|8057|0.91|1|"),
                                        QStringLiteral("1|13|1|8054|0.33|1|")}));
}

TEST_P(ResultatsIndiceTest, UnSecondCalculRemplaceChaqueIndice)
{
    ASSERT_TRUE(integrerResultats(fichier(FICHIER), lecture, bilan)) << qPrintable(bilan.erreur);
    ASSERT_TRUE(integrerResultats(fichier("CODE_STATION;DATE;CODE_PAR;LIB_PAR;RESULTAT\n"
                                          "01234567;2023-05-12;7613;I2M2;0.7\n"),
                                  lecture, bilan))
        << qPrintable(bilan.erreur);
    EXPECT_EQ(resultats(), (QStringList{QStringLiteral("1|10|2|8057|0.91||"),
                                        QStringLiteral("1|10|3|7613|0.7||"),
                                        QStringLiteral("1|13|1|8054|0.33||")}));
    // Without a preferred protocol the newest operation of the day takes it.
    lecture.protocolesPreferes.clear();
    ASSERT_TRUE(integrerResultats(fichier("CODE_STATION;DATE;CODE_PAR;LIB_PAR;RESULTAT\n"
                                          "01234567;2023-05-12;7613;I2M2;0.8\n"),
                                  lecture, bilan));
    EXPECT_EQ(resultats().at(2), QStringLiteral("1|11|1|7613|0.8||"));
}

// Numbers follow what is left after each replacement: the highest one deleted is given again,
// a parameter twice in a file keeps its last value, a value stored without a number is replaced
// too; the same file integrated again keeps the same values, numbered after the highest.
TEST_P(ResultatsIndiceTest, NumerotationDesValeursRestantes)
{
    for (const char *sql : {"(1, 10, 1, 7613, 0.1)", "(1, 10, 5, 8057, 0.2)",
                            "(1, 10, NULL, 8054, 0.3)", "(1, 13, 2, 7613, 0.4)"})
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS "
                                            "(codeQualitometre, codeOperation, indice, "
                                            "codeParametre, resultat) VALUES ") +
                             QLatin1String(sql)));
    const QByteArray texte = "CODE_STATION;DATE;CODE_PAR;RESULTAT\n"
                             "01234567;2023-05-12;8057;0.5\n"
                             "01234567;2023-05-12;7613;0.6\n"
                             "01234567;2023-05-12;7613;0.7\n"
                             "01234567;2023-05-12;8054;0.8\n";
    const QStringList attendus = {
        QStringLiteral("1|10|2|8057|0.5||"), QStringLiteral("1|10|3|7613|0.7||"),
        QStringLiteral("1|10|4|8054|0.8||"), QStringLiteral("1|13|2|7613|0.4||")};
    ASSERT_TRUE(integrerResultats(fichier(texte), lecture, bilan)) << qPrintable(bilan.erreur);
    EXPECT_EQ(bilan.enregistres, 4);
    EXPECT_EQ(resultats(), attendus);
    // Again: each value replaced by itself, under the next number then left.
    ASSERT_TRUE(integrerResultats(fichier(texte), lecture, bilan)) << qPrintable(bilan.erreur);
    EXPECT_EQ(
        resultats(),
        (QStringList{QStringLiteral("1|10|5|8057|0.5||"), QStringLiteral("1|10|6|7613|0.7||"),
                     QStringLiteral("1|10|7|8054|0.8||"), QStringLiteral("1|13|2|7613|0.4||")}));
}

TEST_P(ResultatsIndiceTest, FichierSansLigneUtilisableRefuse)
{
    ASSERT_TRUE(integrerResultats(fichier(FICHIER), lecture, bilan));
    const QStringList avant = resultats();
    const QString f = fichier("Calcul I2M2\nCODE_STATION;DATE;LIB_PAR;RESULTAT\n"
                              "01234567;2023-05-12;I2M2;NA\n");
    EXPECT_FALSE(integrerResultats(f, lecture, bilan));
    EXPECT_EQ(bilan.erreur, QStringLiteral("Aucun résultat utilisable dans le fichier ") + f);
    EXPECT_EQ(bilan.ignores,
              QStringList{QStringLiteral("Ligne 3 : valeur « NA » du paramètre 7613 ignorée")});
    EXPECT_FALSE(integrerResultats(fichier("STATION;VALEUR\n01234567;1\n"), lecture, bilan));
    EXPECT_EQ(bilan.erreur, QStringLiteral("Colonnes CODE_STATION et RESULTAT introuvables dans "
                                           "le fichier ") +
                                f);
    EXPECT_EQ(resultats(), avant);
}

TEST_P(ResultatsIndiceTest, FichierStockeEnEntierOuPasDuTout)
{
    ASSERT_TRUE(integrerResultats(fichier(FICHIER), lecture, bilan));
    const QStringList avant = resultats();
    // Values that are no finite number never reach the statement.
    EXPECT_FALSE(integrerResultats(fichier("CODE_STATION;DATE;CODE_PAR;RESULTAT\n"
                                           "01234567;2023-05-12;7613;nan\n"
                                           "01234567;2023-05-12;8057;1e999\n"),
                                   lecture, bilan));
    EXPECT_EQ(bilan.ignores.size(), 2);
    // Another workstation keeps the commit from happening: the deletions are undone too.
    toleranceErreurs = true;
    {
        BaseDonnees lecteur;
        refuserLesCommits(lecteur, QStringLiteral("QUALITOMETRES_OPERATIONS_RESULTATS"));
        EXPECT_FALSE(integrerResultats(fichier("CODE_STATION;DATE;CODE_PAR;RESULTAT\n"
                                               "01234567;2023-05-12;7613;0.1\n"
                                               "01234567;2023-05-12;8057;0.2\n"),
                                       lecture, bilan));
        EXPECT_NE(bilan.erreur, QString());
    }
    EXPECT_EQ(resultats(), avant);
}

TEST(CodeStationResultat, SeptChiffresSeulement)
{
    EXPECT_EQ(codeStationResultat(QStringLiteral("1234567")), QStringLiteral("01234567"));
    EXPECT_EQ(codeStationResultat(QStringLiteral("01234567")), QStringLiteral("01234567"));
    EXPECT_EQ(codeStationResultat(QStringLiteral("123456")), QStringLiteral("123456"));
    EXPECT_EQ(codeStationResultat(QStringLiteral("BSS00123")), QStringLiteral("BSS00123"));
    EXPECT_EQ(codeStationResultat(QStringLiteral("A123456")), QStringLiteral("A123456"));
}

VYK_SUR_LES_DEUX_MOTEURS(ResultatsIndiceTest);

} // namespace
