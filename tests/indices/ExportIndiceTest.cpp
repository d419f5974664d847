#include "app/Registre.h"
#include "app/Reglages.h"
#include "indices/ExportsIndices.h"
#include "monitoring/ListeTaxonsOperation.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

#include <QDate>
#include <QDir>
#include <QTemporaryDir>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

// Station 01234567 (code 1, river of national type 12): operation 10 (12/05/2023 10:30) and 13
// (13/05/2023) at point 131, 12 at point 101.
class ExportIndiceTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesQualite();
        ASSERT_TRUE(creerTableListeTaxons(1));
        for (const char *sql :
             {"INSERT INTO QUALITOMETRES (codeQualitometre, codeBSS, typeStation, type_fr) VALUES "
              "(1, '01234567', '3', 12)",
              "INSERT INTO CODES_SANDRE (champ, code, libelle) VALUES "
              "('QUALITOMETRES.TYPE_FR.RIVIERE', '12', 'P12')",
              "INSERT INTO CODES_SANDRE (champ, code, libelle) VALUES "
              "('QUALITOMETRES.TYPE_FR.PLAN', '12', 'Lac 12')",
              "INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, identifiant) VALUES "
              "(1, 1, '131')",
              "INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, identifiant) VALUES "
              "(1, 2, '101')",
              "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
              "codePoint, dateDebut) VALUES (1, 10, 1, #05/12/2023 10:30:00#)",
              "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
              "codePoint, dateDebut) VALUES (1, 13, 1, #05/13/2023#)",
              "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
              "codePoint, dateDebut) VALUES (1, 12, 2, #05/12/2023#)",
              // Phase total A wins over P1; B from P5 and P7; C from P9 only.
              "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, codeTaxon, "
              "denombrementA, denombrementP1, denombrementP5, denombrementP7) VALUES (10, 1, "
              "'1234', 3, 2, 1, 2)",
              "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, codeTaxon, "
              "denombrementP9, codeRemarque) VALUES (10, 1, '5678', 4, 2)",
              "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, codeTaxon, "
              "denombrementA) VALUES (10, 1, 'ND', 5)",
              "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, codeTaxon, "
              "denombrementB) VALUES (13, 1, '1234', 2.5)",
              "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, codeTaxon, "
              "denombrementA) VALUES (12, 1, '9999', 1)"})
            ASSERT_TRUE(executer(QString::fromLatin1(sql)))
                << sql << qPrintable(bd().derniereErreur());
    }

    QByteArray trame(const DescriptionIndice &indice, const QString &operation = {})
    {
        FiltresExport f;
        f.operation = operation;
        return trame(indice, f);
    }
    QByteArray trame(const DescriptionIndice &indice, FiltresExport f)
    {
        const auto e = creerExport(indice);
        e->codeBSS = QStringLiteral("01234567");
        EXPECT_TRUE(e->configuration(dossier.path())) << qPrintable(e->getTabErreur());
        e->demarreExport(f);
        EXPECT_FALSE(e->ecritTrameDebut());
        EXPECT_FALSE(e->ecritTrameListe(progressionNulle())) << qPrintable(e->getTabErreur());
        e->ecritTrameFin();
        QFile fichier(e->cheminTrame());
        return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray("<absent>");
    }

    QTemporaryDir dossier;
};

TEST_P(ExportIndiceTest, TrameI2M2)
{
    EXPECT_EQ(trame(indiceI2M2()),
              QByteArray("CODE_OPERATION\tCODE_STATION\tDATE\tCODE_PHASE\tCODE_TAXON\tRESULTAT\t"
                         "CODE_REMARQUE\tTYPO_NATIONALE\r\n"
                         "01234567*2023-05-12*I\t01234567\t2023-05-12\tA\t1234\t3\t1\tP12\r\n"
                         "01234567*2023-05-12*I\t01234567\t2023-05-12\tB\t1234\t3\t1\tP12\r\n"
                         "01234567*2023-05-12*I\t01234567\t2023-05-12\tC\t1234\t0\t1\tP12\r\n"
                         "01234567*2023-05-12*I\t01234567\t2023-05-12\tA\t5678\t0\t2\tP12\r\n"
                         "01234567*2023-05-12*I\t01234567\t2023-05-12\tB\t5678\t0\t2\tP12\r\n"
                         "01234567*2023-05-12*I\t01234567\t2023-05-12\tC\t5678\t4\t2\tP12\r\n"
                         "01234567*2023-05-13*I\t01234567\t2023-05-13\tA\t1234\t0\t1\tP12\r\n"
                         "01234567*2023-05-13*I\t01234567\t2023-05-13\tB\t1234\t2.5\t1\tP12\r\n"
                         "01234567*2023-05-13*I\t01234567\t2023-05-13\tC\t1234\t0\t1\tP12\r\n"));
}

TEST_P(ExportIndiceTest, TrameIBGDCEDUneOperation)
{
    EXPECT_EQ(trame(indiceIBGDCE(), QStringLiteral("13")),
              QByteArray("CODE_OPERATION\tCODE_STATION\tDATE\tCODE_PHASE\tCODE_TAXON\tRESULTAT\t"
                         "CODE_REMARQUE\r\n"
                         "01234567*2023-05-13*I\t01234567\t2023-05-13\tA\t1234\t0\t1\r\n"
                         "01234567*2023-05-13*I\t01234567\t2023-05-13\tB\t1234\t2.5\t1\r\n"
                         "01234567*2023-05-13*I\t01234567\t2023-05-13\tC\t1234\t0\t1\r\n"));
}

TEST_P(ExportIndiceTest, SelectionEtDates)
{
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (code, num, "
                                        "codeParametre, typeListe) VALUES ('S1', 1, '4321', 1)")));
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (code, num, "
                                        "codeParametre, typeListe) VALUES ('S1', 2, '1234', 1)")));
    // From the 13th on: operation 13 only; every selected taxon, 0 where it is missing.
    FiltresExport f;
    f.selection = QStringLiteral("S1");
    f.dateMinimum = QStringLiteral("13/05/2023");
    const QByteArray entete = "CODE_OPERATION\tCODE_STATION\tDATE\tCODE_PHASE\tCODE_TAXON\t"
                              "RESULTAT\tCODE_REMARQUE\r\n";
    EXPECT_EQ(trame(indiceIBGDCE(), f),
              entete + "01234567*2023-05-13*I\t01234567\t2023-05-13\tA\t1234\t0\t1\r\n"
                       "01234567*2023-05-13*I\t01234567\t2023-05-13\tB\t1234\t2.5\t1\r\n"
                       "01234567*2023-05-13*I\t01234567\t2023-05-13\tC\t1234\t0\t1\r\n"
                       "01234567*2023-05-13*I\t01234567\t2023-05-13\tA\t4321\t0\t1\r\n"
                       "01234567*2023-05-13*I\t01234567\t2023-05-13\tB\t4321\t0\t1\r\n"
                       "01234567*2023-05-13*I\t01234567\t2023-05-13\tC\t4321\t0\t1\r\n");
    // The upper bound is excluded: before the 13th, operation 10 (12/05 10:30) only.
    f.dateMinimum.clear();
    f.dateMaximum = QStringLiteral("13/05/2023");
    EXPECT_TRUE(trame(indiceIBGDCE(), f).contains("2023-05-12*I"));
    EXPECT_FALSE(trame(indiceIBGDCE(), f).contains("2023-05-13"));
}

// Each operation gets its own taxa and every selected taxon, even when the taxa of all the
// operations are read together.
TEST_P(ExportIndiceTest, SelectionSurPlusieursOperations)
{
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (code, num, "
                                        "codeParametre, typeListe) VALUES ('S1', 1, '5678', 1)")));
    FiltresExport f;
    f.selection = QStringLiteral("S1");
    EXPECT_EQ(trame(indiceIBGDCE(), f),
              QByteArray("CODE_OPERATION\tCODE_STATION\tDATE\tCODE_PHASE\tCODE_TAXON\t"
                         "RESULTAT\tCODE_REMARQUE\r\n"
                         "01234567*2023-05-12*I\t01234567\t2023-05-12\tA\t5678\t0\t2\r\n"
                         "01234567*2023-05-12*I\t01234567\t2023-05-12\tB\t5678\t0\t2\r\n"
                         "01234567*2023-05-12*I\t01234567\t2023-05-12\tC\t5678\t4\t2\r\n"
                         "01234567*2023-05-13*I\t01234567\t2023-05-13\tA\t5678\t0\t1\r\n"
                         "01234567*2023-05-13*I\t01234567\t2023-05-13\tB\t5678\t0\t1\r\n"
                         "01234567*2023-05-13*I\t01234567\t2023-05-13\tC\t5678\t0\t1\r\n"));
}

// More operations than one statement reads: none lost, none given another's taxa. Operation
// 100 + n is on day n from 01/01/2030 with taxon 100 + n.
TEST_P(ExportIndiceTest, TrameDeNombreusesOperations)
{
    const QDate premier(2030, 1, 1);
    ASSERT_TRUE(bd().debutTransaction());
    for (int o = 100; o < 1300; ++o)
        ASSERT_TRUE(
            executer(QStringLiteral("INSERT INTO QUALITOMETRES_POINTS_OPERATIONS "
                                    "(codeQualitometre, codeOperation, codePoint, dateDebut) "
                                    "VALUES (1, %1, 1, #%2#)")
                         .arg(o)
                         .arg(premier.addDays(o - 100).toString(QStringLiteral("MM/dd/yyyy")))) &&
            executer(QStringLiteral("INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, "
                                    "codeListe, codeTaxon, denombrementA) VALUES (%1, 1, '%1', 1)")
                         .arg(o)));
    ASSERT_TRUE(bd().finTransaction(false));
    const QList<QByteArray> lignes = trame(indiceIBGDCE()).split('\n');
    int justes = 0;
    for (const QByteArray &l : lignes) {
        const QList<QByteArray> champs = l.split('\t');
        const QDate jour = QDate::fromString(QString::fromLatin1(champs.value(2)), Qt::ISODate);
        if (jour.year() >= 2030 && champs[3] == "A")
            justes += champs[4].toInt() == 100 + premier.daysTo(jour) && champs[5] == "1";
    }
    EXPECT_EQ(justes, 1200);
    // The header, the two first operations' 9 lines, 3 per new operation, the last newline.
    EXPECT_EQ(lignes.size(), 1 + 9 + 3 * 1200 + 1);
}

TEST_P(ExportIndiceTest, ConfigurationEnregistreLesParametres)
{
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO ANALYSES_PARAMETRES (code, nom, type, actif) "
                                        "VALUES ('7613', 'Ancien', '3', '0')")));
    QDir(dossier.path()).mkpath(QStringLiteral("script"));
    QFile vieux(dossier.filePath(QStringLiteral("script/resultats_I2M2_1.csv")));
    ASSERT_TRUE(vieux.open(QIODevice::WriteOnly));
    vieux.close();
    for (int fois = 0; fois < 2; ++fois) {
        const auto e = creerExport(indiceI2M2());
        ASSERT_TRUE(e->configuration(dossier.path())) << qPrintable(e->getTabErreur());
        EXPECT_EQ(e->repLocal(), dossier.path() + u'/');
    }
    EXPECT_FALSE(vieux.exists());
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT code, nom, type, actif FROM ANALYSES_PARAMETRES ORDER BY code")),
              (QStringList{QStringLiteral("7613|Ancien|3|1"),
                           QStringLiteral("8054|Métrique Richesse Taxonomique de l'I2M2|3|1"),
                           QStringLiteral("8055|Métrique Ovoviviparite de l'I2M2|3|1"),
                           QStringLiteral("8056|Métrique Polyvoltinisme de l'I2M2|3|1"),
                           QStringLiteral("8057|Métrique ASPT de l'I2M2|3|1"),
                           QStringLiteral("8058|Métrique Indice de Shannon de l'I2M2|3|1")}));
}

TEST_P(ExportIndiceTest, ErreursDeTrame)
{
    ASSERT_TRUE(executer(QStringLiteral("DELETE FROM CODES_SANDRE")));
    const auto e = creerExport(indiceI2M2());
    e->codeBSS = QStringLiteral("01234567");
    ASSERT_TRUE(e->configuration(dossier.path()));
    FiltresExport f;
    f.operation = QStringLiteral("10 OR 1=1");
    e->demarreExport(f);
    EXPECT_FALSE(e->ecritTrameDebut());
    EXPECT_TRUE(e->ecritTrameListe(progressionNulle()));
    EXPECT_EQ(e->getTabErreur(), QStringLiteral("Code invalide : 10 OR 1=1\r"));
    e->initTabErreur();
    f.operation.clear();
    e->demarreExport(f);
    EXPECT_TRUE(e->ecritTrameListe(progressionNulle()));
    EXPECT_EQ(e->getTabErreurAsTab(),
              QStringList{QStringLiteral("Impossible de trouver le typeFR pour 01234567")});
    e->ecritTrameFin();
}

// The command line runs a fake calculator that answers from the frame it was given.
TEST_P(ExportIndiceTest, LigneDeCommande)
{
    const QString dossierCalc = dossier.filePath(QStringLiteral("I2M2_1.0.0"));
    ASSERT_TRUE(QDir().mkpath(dossierCalc + QStringLiteral("/script")));
    QFile script(dossierCalc + QStringLiteral("/run.sh"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(
        "awk -F'\\t' 'NR==2{print \"Calculateur factice\"; "
        "print \"CODE_STATION;DATE;CODE_PAR;LIB_PAR;RESULTAT\"; "
        "print $2\";\"$3\";7613;I2M2;0,61\"}' entreeVYK.txt > script/resultats_I2M2_1.csv\n");
    script.close();
    ecrireRegistre(reglage::CheminR, dossier.path());
    test::SortieCli s = cli({QStringLiteral("indices"), QStringLiteral("calculateurs")});
    EXPECT_EQ(s.sortie,
              QStringLiteral("I2M2 : ") + dossierCalc +
                  QStringLiteral("\nIBG-DCE : aucun\nIBD : aucun\nIBMR : aucun\nDiagnostic : "
                                 "aucun\nHype : aucun\n"));
    s = cli({QStringLiteral("indices"), QStringLiteral("lancer"), QStringLiteral("I2M2"),
             QStringLiteral("--station"), QStringLiteral("01234567"), QStringLiteral("--operation"),
             QStringLiteral("10")});
    EXPECT_EQ(s.code, 0) << qPrintable(s.erreurs);
    EXPECT_EQ(s.sortie, QStringLiteral("1 résultat(s) enregistré(s)\n"));
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeOperation, indice, codeParametre, resultat FROM "
                                    "QUALITOMETRES_OPERATIONS_RESULTATS")),
              QStringList{QStringLiteral("10|1|7613|0.61")});
    s = cli({QStringLiteral("indices"), QStringLiteral("lancer"), QStringLiteral("IBGDCE"),
             QStringLiteral("--station"), QStringLiteral("01234567"), QStringLiteral("--operation"),
             QStringLiteral("10")});
    EXPECT_EQ(s.code, 1);
    EXPECT_EQ(s.erreurs.trimmed(),
              QStringLiteral("Impossible de trouver le répertoire pour le calcul de l'IBGDCE"));
    s = cli({QStringLiteral("indices"), QStringLiteral("integrer"), QStringLiteral("I2M2"),
             dossierCalc + QStringLiteral("/script/resultats_I2M2_1.csv"),
             QStringLiteral("--station"), QStringLiteral("01234567")});
    EXPECT_EQ(s.code, 0) << qPrintable(s.erreurs);
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeOperation, indice, codeParametre, resultat FROM "
                                    "QUALITOMETRES_OPERATIONS_RESULTATS")),
              QStringList{QStringLiteral("10|1|7613|0.61")});
}

VYK_SUR_LES_DEUX_MOTEURS(ExportIndiceTest);

} // namespace
