#include "db/BaseDonnees.h"
#include "db/Dialecte.h"
#include "db/InsertionMassive.h"
#include "db/Lot.h"
#include "db/Sql.h"

#include "support/BaseTest.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class BaseDonneesTest : public BaseTest
{
  protected:
    void creerStations()
    {
        ASSERT_TRUE(executer(
            QStringLiteral("CREATE TABLE STATIONS (Code Double, CodeBSS Text(17), Nom Text(70), "
                           "DateCreation DateTime, X Double, Commentaires Memo, Nb Short)")));
        const char *lignes[] = {
            "INSERT INTO STATIONS VALUES (1, 'BSS001', 'Aval', #03/05/2020#, 6800000.125, NULL, 3)",
            "INSERT INTO STATIONS VALUES (2, 'BSS002', 'amont', #12/31/2019 23:30:00#, 12.5, 'x', "
            "7)",
            "INSERT INTO STATIONS VALUES (3, '42', 'Écluse', #01/01/2021#, NULL, '', NULL)",
            "INSERT INTO STATIONS VALUES (4, 'abc', NULL, NULL, 3, NULL, 2)",
        };
        for (const char *l : lignes)
            ASSERT_TRUE(executer(QString::fromUtf8(l))) << qPrintable(bd().derniereErreur());
    }
};

TEST_P(BaseDonneesTest, ExtraireRecordsSansLigneEtNullGarde)
{
    creerStations();
    long nb = 99;
    Tableau t;
    ASSERT_TRUE(
        bd().ExtraireRecords(QStringLiteral("SELECT * FROM STATIONS WHERE Code = 99"), nb, t));
    EXPECT_EQ(nb, 0);
    EXPECT_EQ(t.nbLignes(), 0);

    ASSERT_TRUE(bd().ExtraireRecords(
        QStringLiteral("SELECT Nom, DateCreation, X, Nb FROM STATIONS WHERE Code = 4"), nb, t));
    ASSERT_EQ(nb, 1);
    EXPECT_TRUE(t(0, 0).isNull());
    EXPECT_TRUE(t(0, 1).isNull());
    EXPECT_EQ(t(0, 2).toDouble(), 3.0);
    EXPECT_EQ(t(0, 3).toLongLong(), 2);
    EXPECT_EQ(t.texte(0, 0), QString());

    // Typed values: a date is a date, a coordinate keeps its decimals on both engines.
    ASSERT_TRUE(bd().ExtraireRecords(
        QStringLiteral("SELECT DateCreation, X FROM STATIONS WHERE Code = 1"), nb, t));
    EXPECT_EQ(t(0, 0).toDateTime(), QDateTime(QDate(2020, 3, 5), QTime(0, 0)));
    EXPECT_DOUBLE_EQ(t(0, 1).toDouble(), 6800000.125);
    EXPECT_EQ(t.texte(0, "datecreation"), QStringLiteral("05/03/2020"));
}

// Rows repeating a date (a sample's on each analysis) read it once; a change, a NULL or the same
// date coming back after another are each read as they are, in both columns.
TEST_P(BaseDonneesTest, DatesRepeteesDeLigneEnLigne)
{
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE MESURES (Num INTEGER, Debut DATETIME, Fin "
                                        "DATETIME)")));
    const char *lignesInserees[][2] = {{"#01/02/2020 10:00:00#", "#01/03/2020#"},
                                       {"#01/02/2020 10:00:00#", "#01/02/2020 10:00:00#"},
                                       {"#01/02/2020 10:00:01#", "NULL"},
                                       {"NULL", "#01/03/2020#"},
                                       {"#01/02/2020 10:00:00#", "#01/03/2020#"}};
    int num = 0;
    for (const auto &l : lignesInserees)
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO MESURES VALUES (%1, %2, %3)")
                                 .arg(++num)
                                 .arg(QLatin1String(l[0]), QLatin1String(l[1]))));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Num, Debut, Fin FROM MESURES ORDER BY Num")),
              QStringList({"1|02/01/2020 10:00:00|03/01/2020",
                           "2|02/01/2020 10:00:00|02/01/2020 10:00:00", "3|02/01/2020 10:00:01|",
                           "4||03/01/2020", "5|02/01/2020 10:00:00|03/01/2020"}));
    const Tableau t = lire(QStringLiteral("SELECT Debut FROM MESURES ORDER BY Num"));
    EXPECT_EQ(t(4, 0).toDateTime(), QDateTime(QDate(2020, 1, 2), QTime(10, 0)));
    EXPECT_EQ(t(0, 0).typeId(), QMetaType::QDateTime);
}

TEST_P(BaseDonneesTest, MemesLignesDuDialecteDeBureauSurLesDeuxMoteurs)
{
    creerStations();
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code, iif(Nb > 2, 'beaucoup', 'peu') FROM STATIONS "
                                    "WHERE Nb IS NOT NULL ORDER BY Code")),
              QStringList({"1|beaucoup", "2|beaucoup", "4|peu"}));
    EXPECT_EQ(
        lignes(QStringLiteral("SELECT cstr(Code) & '-' & CodeBSS FROM STATIONS ORDER BY Code")),
        QStringList({"1-BSS001", "2-BSS002", "3-42", "4-abc"}));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT Code FROM STATIONS WHERE isnumeric(CodeBSS) AND cdbl(CodeBSS) > 40")),
              QStringList({"3"}));
    EXPECT_EQ(
        lignes(QStringLiteral("SELECT max(cdbl(CodeBSS)) FROM STATIONS WHERE isnumeric(CodeBSS)")),
        QStringList({"42"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code, year(DateCreation) FROM STATIONS WHERE "
                                    "DateCreation IS NOT NULL ORDER BY Code")),
              QStringList({"1|2020", "2|2019", "3|2021"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code FROM STATIONS WHERE DateCreation >= #01/01/2020# "
                                    "AND DateCreation <= #03/05/2020# ORDER BY Code")),
              QStringList({"1"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code FROM STATIONS WHERE DateCreation > #12/31/2019 "
                                    "23:00:00# AND DateCreation < #12/31/2019 23:59:59#")),
              QStringList({"2"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code FROM STATIONS WHERE DateCreation = ") +
                     dateSQL(QStringLiteral("05/03/2020"), false, typeBase())),
              QStringList({"1"}));
    // LIKE ignores case, accents included, as on the desktop engine.
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code FROM STATIONS WHERE Nom LIKE 'a%' ORDER BY Code")),
              QStringList({"1", "2"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code FROM STATIONS WHERE Nom LIKE 'éc%'")),
              QStringList({"3"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT ucase(Nom) ") + bd().dialecte().concatenation() +
                     QStringLiteral(" CodeBSS FROM STATIONS WHERE Code = 2")),
              QStringList({"AMONTBSS002"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT mid(CodeBSS, 4), left(CodeBSS, 3), right(CodeBSS, 2), "
                                    "cint(X), Nb / 2 FROM STATIONS WHERE Code = 2")),
              QStringList({"002|BSS|02|12|3.5"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT TOP 2 Code FROM STATIONS ORDER BY Code DESC")),
              QStringList({"4", "3"}));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT format(DateCreation, 'dd/mm/yyyy') FROM STATIONS WHERE Code = 2")),
              QStringList({"31/12/2019"}));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT count(*) FROM STATIONS WHERE CVDate(DateCreation) < #01/01/2020#")),
              QStringList({"1"}));
}

TEST_P(BaseDonneesTest, NullsTriesCasseEtConversionsCommeLeMoteurDeBureau)
{
    creerStations();
    // NULLs come first in ascending order and last in descending order, key by key.
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code FROM STATIONS ORDER BY X")),
              QStringList({"3", "4", "2", "1"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code FROM STATIONS ORDER BY X DESC")),
              QStringList({"1", "2", "4", "3"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT TOP 2 Code FROM STATIONS ORDER BY Nb DESC, X")),
              QStringList({"2", "1"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code FROM STATIONS ORDER BY Nb, X DESC")),
              QStringList({"3", "4", "1", "2"}));
    // Accented letters change case too.
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT ucase(Nom), lcase(Nom), ucase(CodeBSS) FROM STATIONS WHERE Code = 3")),
              QStringList({"ÉCLUSE|écluse|42"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code FROM STATIONS WHERE ucase(Nom) = 'ÉCLUSE' OR "
                                    "lcase(Nom) = 'aval' ORDER BY Code")),
              QStringList({"1", "3"}));
    // A text that is no number converts to NULL instead of failing the whole statement.
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT Code, cdbl(CodeBSS), cint(CodeBSS) FROM STATIONS ORDER BY Code")),
              QStringList({"1||", "2||", "3|42|42", "4||"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT count(*) FROM STATIONS WHERE cdbl(CodeBSS) IS NULL")),
              QStringList({"3"}));
}

TEST_P(BaseDonneesTest, UneInstructionQuiEchoueLaisseLaSuivanteSExecuter)
{
    toleranceErreurs = true;
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE T (a Short)")));
    EXPECT_FALSE(executer(QStringLiteral("INSERT INTO TABLE_ABSENTE VALUES (1)")));
    EXPECT_FALSE(bd().derniereErreur().isEmpty());
    EXPECT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (1)")));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM T")).toInt(), 1);
    EXPECT_EQ(erreursBase.size(), 1);
}

TEST_P(BaseDonneesTest, DansUnLotUnEchecNAnnulePasSesVoisines)
{
    toleranceErreurs = true;
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE T (a Short)")));
    {
        Lot lot;
        ASSERT_TRUE(lot.estActif());
        EXPECT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (1)")));
        EXPECT_FALSE(executer(QStringLiteral("INSERT INTO T VALUES ('pas un nombre', 2)")));
        EXPECT_FALSE(lire(QStringLiteral("SELECT * FROM ABSENTE")).nbColonnes() > 0);
        EXPECT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (3)")));
        EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM T")).toInt(), 2);
        EXPECT_TRUE(lot.terminer());
    }
    EXPECT_FALSE(bd().enTransaction());
    EXPECT_EQ(lignes(QStringLiteral("SELECT a FROM T ORDER BY a")), QStringList({"1", "3"}));
}

TEST_P(BaseDonneesTest, LotValideParIntervallesEtTransactionAnnulee)
{
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE T (a Long)")));
    {
        Lot lot(bd(), 10);
        for (int i = 0; i < 35; ++i)
            ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (%1)").arg(i)));
    }
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM T")).toInt(), 35);
    {
        Transaction t;
        ASSERT_TRUE(t.estOuverte());
        ASSERT_TRUE(executer(QStringLiteral("DELETE FROM T")));
        {
            Transaction imbriquee;
            ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (100)")));
            EXPECT_TRUE(imbriquee.annuler());
        }
        EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM T")).toInt(), 0);
        // leaving the scope without valider() rolls back
    }
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM T")).toInt(), 35);
}

TEST_P(BaseDonneesTest, TexteDifficileFaitLAllerRetourExact)
{
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE T (k Short, v Memo)")));
    const QString difficile = QStringLiteral(
        "l'eau; \"trouble\" \\n \\ dé\r\nsuite\tà l’aval -- fin ' ; DROP TABLE T; --");
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (1, %1)").arg(sqlTexte(difficile))));
    EXPECT_EQ(lire(QStringLiteral("SELECT v FROM T WHERE k = 1"))(0, 0).toString(), difficile);
    EXPECT_EQ(valeur(QStringLiteral("SELECT k FROM T WHERE v = ") + sqlTexte(difficile)).toInt(),
              1);

    JeuEnregistrements jeu;
    bool trouve = false;
    ASSERT_TRUE(bd().AccesBase(QStringLiteral("SELECT * FROM T WHERE k = 2"), jeu, trouve));
    EXPECT_FALSE(trouve);
    jeu.addnew();
    jeu.fields("k") = 2;
    jeu.fields("V") = difficile + QStringLiteral("2");
    ASSERT_TRUE(jeu.Update()) << qPrintable(jeu.derniereErreur());
    jeu.Close();
    EXPECT_EQ(valeur(QStringLiteral("SELECT v FROM T WHERE k = 2")).toString(),
              difficile + QStringLiteral("2"));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM T")).toInt(), 2);
}

TEST_P(BaseDonneesTest, CodeMalveillantNeSExecuteJamais)
{
    toleranceErreurs = true;
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE QUALITOMETRES (CodeBSS Text(17))")));
    const QString code = QStringLiteral("X'; DROP TABLE QUALITOMETRES--");
    // As a value.
    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO QUALITOMETRES VALUES (%1)").arg(sqlTexte(code.left(17)))));
    EXPECT_EQ(lire(QStringLiteral("SELECT CodeBSS FROM QUALITOMETRES WHERE CodeBSS = ") +
                   sqlTexte(code.left(17)))
                  .nbLignes(),
              1);
    // As the suffix of a per-station table: quoted, it names a table and nothing else.
    const QString table = identifiantTable(QStringLiteral("ANALYSES_"), code);
    ASSERT_FALSE(table.isEmpty());
    ASSERT_TRUE(
        executer(QStringLiteral("CREATE TABLE ") + table + QStringLiteral(" (NumAnalyse Double)")));
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO ") + table + QStringLiteral(" VALUES (0)")));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM ") + table).toInt(), 1);
    // The table is found by its name in any case, the quoted one by its stored name; a quote
    // in the name asked reaches the catalogue as a value, and a view is no table.
    EXPECT_TRUE(bd().tableExiste(QStringLiteral("QUALITOMETRES")));
    EXPECT_TRUE(bd().tableExiste(QStringLiteral("qualitometres")));
    EXPECT_TRUE(bd().tableExiste(QStringLiteral("ANALYSES_") + code));
    EXPECT_FALSE(bd().tableExiste(QStringLiteral("ANALYSES_X")));
    EXPECT_FALSE(bd().tableExiste(QStringLiteral("x' OR '1'='1")));
    ASSERT_TRUE(bd().creerVue(QStringLiteral("VUE_QUALITO"),
                              QStringLiteral("SELECT CodeBSS FROM QUALITOMETRES")));
    EXPECT_FALSE(bd().tableExiste(QStringLiteral("VUE_QUALITO")));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES")).toInt(), 1);
    // A NUL cannot be stored: the statement is refused, with a reason.
    EXPECT_FALSE(
        executer(QStringLiteral("INSERT INTO QUALITOMETRES VALUES (%1)")
                     .arg(sqlTexte(QStringLiteral("a") + QChar(u'\0') + QStringLiteral("b")))));
    EXPECT_EQ(bd().derniereErreur(), QStringLiteral("Instruction refusée : elle contient un octet "
                                                    "nul, qu'aucune base ne peut enregistrer."));
    // Other control characters are stored as they are: a soft line break pasted into a text.
    const QString doux = QStringLiteral("ligne 1\x0Bligne 2\x01");
    ASSERT_TRUE(
        executer(QStringLiteral("INSERT INTO QUALITOMETRES VALUES (%1)").arg(sqlTexte(doux))));
    EXPECT_EQ(
        valeur(QStringLiteral("SELECT CodeBSS FROM QUALITOMETRES WHERE CodeBSS LIKE 'ligne%'"))
            .toString(),
        doux);
    ASSERT_TRUE(executer(QStringLiteral("DELETE FROM QUALITOMETRES WHERE CodeBSS LIKE 'ligne%'")));
    QString refus;
    EXPECT_TRUE(
        identifiantTable(QStringLiteral("ANALYSES_"), QStringLiteral("a\"b"), &refus).isEmpty());
    EXPECT_EQ(refus,
              QStringLiteral("Le code « a\"b » ne peut pas servir à nommer une table de la base."));
    EXPECT_TRUE(
        identifiantTable(QStringLiteral("ANALYSES_"), QStringLiteral(" "), &refus).isEmpty());
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES")).toInt(), 1);
}

TEST_P(BaseDonneesTest, JeuEnregistrementsInsereSiAbsentPuisMetAJourLaMemeLigne)
{
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE P (Module Text(100), Identifiant Text(100), "
                                        "DateCreation DateTime, Valeur Double)")));
    for (int passage = 0; passage < 2; ++passage) {
        JeuEnregistrements jeu;
        bool trouve = false;
        ASSERT_TRUE(bd().AccesBase(
            QStringLiteral("SELECT * FROM P WHERE Module = 'VYK' AND Identifiant = 'VERSION'"), jeu,
            trouve));
        EXPECT_EQ(trouve, passage == 1);
        if (!trouve) jeu.addnew();
        jeu.fields("Module") = "VYK";
        jeu.fields("Identifiant") = "VERSION";
        // Values typed as on the screen: a French date and a decimal comma.
        jeu.fields("DateCreation") = passage == 0 ? "05/03/2020" : "06/03/2020 10:11:12";
        jeu.fields("Valeur") = passage == 0 ? "3,5" : "4.25";
        ASSERT_TRUE(jeu.Update()) << qPrintable(jeu.derniereErreur());
        jeu.Close();
    }
    EXPECT_EQ(lignes(QStringLiteral("SELECT Module, Identifiant, DateCreation, Valeur FROM P")),
              QStringList({"VYK|VERSION|06/03/2020 10:11:12|4.25"}));

    // Walk and delete with MoveNext / Delete.
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(
            executer(QStringLiteral("INSERT INTO P (Module, Valeur) VALUES ('X', %1)").arg(i)));
    JeuEnregistrements jeu;
    bool trouve = false;
    ASSERT_TRUE(bd().AccesBase(QStringLiteral("SELECT * FROM P WHERE Module = 'X' ORDER BY Valeur"),
                               jeu, trouve));
    ASSERT_EQ(jeu.nbLignes(), 3);
    int vus = 0;
    while (!jeu.eof()) {
        if (jeu.fields("Valeur").valeur().toInt() == 1) {
            ASSERT_TRUE(jeu.Delete());
            continue;
        }
        jeu.fields("Module") = "Y";
        ASSERT_TRUE(jeu.Update());
        jeu.MoveNext();
        ++vus;
    }
    EXPECT_EQ(vus, 2);
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT Module, Valeur FROM P WHERE Module <> 'VYK' ORDER BY Valeur")),
              QStringList({"Y|0", "Y|2"}));
}

TEST_P(BaseDonneesTest, JeuEnregistrementsRelitLaCleAutomatique)
{
    ASSERT_TRUE(
        executer(QStringLiteral("CREATE TABLE JOBS (id AUTOINCREMENT NOT NULL, nom Text(255))")));
    JeuEnregistrements jeu;
    bool trouve = false;
    ASSERT_TRUE(bd().AccesBase(QStringLiteral("SELECT * FROM JOBS WHERE id IS NULL"), jeu, trouve));
    for (const char *nom : {"a", "b"}) {
        jeu.addnew();
        jeu.fields("nom") = nom;
        ASSERT_TRUE(jeu.Update());
    }
    EXPECT_EQ(jeu.fields("id").valeur().toInt(), 2);
    EXPECT_EQ(lignes(QStringLiteral("SELECT id, nom FROM JOBS ORDER BY id")),
              QStringList({"1|a", "2|b"}));
}

TEST_P(BaseDonneesTest, InstructionPrepareeEtInsertionMassiveGardentLesBonnesLignes)
{
    toleranceErreurs = true;
    ASSERT_TRUE(
        executer(QStringLiteral("CREATE TABLE A (n Long, t Text(5), d DateTime, x Double)")));
    {
        Lot lot;
        InsertionMassive insertion(QStringLiteral("A"), {QStringLiteral("n"), QStringLiteral("t"),
                                                         QStringLiteral("d"), QStringLiteral("x")});
        ASSERT_TRUE(insertion.estValide()) << qPrintable(insertion.erreur());
        for (int i = 0; i < 1200; ++i)
            insertion.ajouter({i, QStringLiteral("v\t%1").arg(i % 10),
                               QDateTime(QDate(2020, 1, 1), QTime(0, 0)).addDays(i), i * 0.5});
        // Too long for text(5) on the server; SQLite does not check lengths.
        insertion.ajouter({9999, QStringLiteral("beaucoup trop long"), QVariant(), QVariant()});
        insertion.ajouter({10000, QString(), QVariant(), QVariant()});
        ASSERT_TRUE(insertion.terminer() || estPostgres());
        EXPECT_EQ(insertion.erreurs().size(), estPostgres() ? 1 : 0);
    }
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM A")).toInt(),
              estPostgres() ? 1201 : 1202);
    EXPECT_EQ(lignes(QStringLiteral("SELECT n, t, d, x FROM A WHERE n = 1001")),
              QStringList({"1001|v\t1|28/09/2022|500.5"}));

    InstructionPreparee lecture =
        bd().preparer(QStringLiteral("SELECT count(*) FROM A WHERE n >= ? AND d < ?"));
    ASSERT_TRUE(lecture.estValide()) << qPrintable(lecture.erreur());
    Tableau t;
    ASSERT_TRUE(lecture.extraire(t, {100, QDateTime(QDate(2020, 1, 1), QTime(0, 0)).addDays(200)}));
    EXPECT_EQ(t(0, 0).toInt(), 100);
    InstructionPreparee maj = bd().preparer(QStringLiteral("UPDATE A SET t = ? WHERE n < ?"));
    ASSERT_TRUE(maj.executer({QStringLiteral("l'a"), 10}));
    EXPECT_EQ(maj.lignesModifiees(), 10);
}

TEST_P(BaseDonneesTest, InsertionMassiveGardeLesTextesExactsEtNumeroteLesLignesRefusees)
{
    toleranceErreurs = true;
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE B (n Long NOT NULL, t Memo, x Double)")));
    // Texts that the bulk path must escape, an empty text that must not become NULL, and a
    // text spelling the server's own NULL marker.
    const QStringList textes = {QStringLiteral("C:\\eau\\n°1"),
                                QStringLiteral("l'aval\r\nsuite\tfin"), QStringLiteral(""),
                                QStringLiteral("\\N"), QStringLiteral("Écluse « amont » ; --")};
    {
        Lot lot;
        InsertionMassive insertion(QStringLiteral("B"),
                                   {QStringLiteral("n"), QStringLiteral("t"), QStringLiteral("x")});
        ASSERT_TRUE(insertion.estValide()) << qPrintable(insertion.erreur());
        for (int i = 0; i < textes.size(); ++i)
            insertion.ajouter({i, textes[i], -6812345.678 + i});
        insertion.ajouter({QVariant(), QStringLiteral("refusée"), 0}); // row 6: n is required
        insertion.ajouter({6, QVariant(), QVariant()});
        insertion.terminer();
        ASSERT_EQ(insertion.erreurs().size(), 1);
        EXPECT_EQ(insertion.erreurs()[0].numero, 6);
    }
    const Tableau t = lire(QStringLiteral("SELECT n, t, x FROM B ORDER BY n"));
    ASSERT_EQ(t.nbLignes(), 6);
    for (int i = 0; i < textes.size(); ++i) {
        EXPECT_EQ(t(i, 1).toString(), textes[i]) << i;
        EXPECT_FALSE(t(i, 1).isNull()) << i;
        EXPECT_DOUBLE_EQ(t(i, 2).toDouble(), -6812345.678 + i);
    }
    EXPECT_TRUE(t(5, 1).isNull());
    EXPECT_TRUE(t(5, 2).isNull());
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM B WHERE t = ''")).toInt(), 1);
}

// On a server the tables of another schema (another database of the same server, another
// test) are not this database's, whichever road reaches it.
TEST_P(BaseDonneesTest, LesTablesDUnAutreSchemaNeSontPasLesSiennes)
{
    if (!estPostgres()) GTEST_SKIP() << "Un fichier de bureau n'a qu'un schéma.";
    const QString autre = emplacement() + QStringLiteral("_autre");
    ASSERT_TRUE(executer(QStringLiteral("CREATE SCHEMA ") + autre));
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE ") + autre +
                         QStringLiteral(".AILLEURS (a integer, b integer)")));
    ASSERT_TRUE(executer(QStringLiteral("CREATE INDEX ind_ailleurs ON ") + autre +
                         QStringLiteral(".AILLEURS (a)")));
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE ICI (c integer)")));
    // Nor are this schema's indexes, sequences and materialized views.
    ASSERT_TRUE(executer(QStringLiteral("CREATE INDEX IND_ICI ON ICI (c)")));
    ASSERT_TRUE(executer(QStringLiteral("CREATE SEQUENCE SEQ_ICI")));
    ASSERT_TRUE(executer(QStringLiteral("CREATE MATERIALIZED VIEW VM_ICI AS SELECT c FROM ICI")));
    EXPECT_FALSE(bd().tableExiste(QStringLiteral("AILLEURS")));
    EXPECT_TRUE(bd().tableExiste(QStringLiteral("ici")));
    for (const char *autreObjet : {"IND_ICI", "seq_ici", "VM_ICI"})
        EXPECT_FALSE(bd().tableExiste(QLatin1String(autreObjet))) << autreObjet;
    EXPECT_EQ(bd().tables(), QStringList({"ici"}));
    EXPECT_EQ(bd().colonnes(QStringLiteral("AILLEURS")), QStringList());
    EXPECT_EQ(bd().colonnes(QStringLiteral("ICI")), QStringList({"c"}));
    EXPECT_FALSE(bd().indexExiste(QStringLiteral("ind_ailleurs")));
    EXPECT_TRUE(executer(QStringLiteral("DROP SCHEMA ") + autre + QStringLiteral(" CASCADE")));
}

TEST_P(BaseDonneesTest, TypesDuDialecteEtModificationDeColonne)
{
    ASSERT_TRUE(executer(
        QStringLiteral("CREATE TABLE ANALYSES_X (CodeFraction Text(3), Resultat Double)")));
    ASSERT_TRUE(executer(QStringLiteral("CREATE INDEX ind_x ON ANALYSES_X (CodeFraction)")));
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO ANALYSES_X VALUES ('23', 6812345.678)")));
    ASSERT_TRUE(executer(QStringLiteral("ALTER TABLE ANALYSES_X ADD profDebut Double")));
    ASSERT_TRUE(
        executer(QStringLiteral("ALTER TABLE ANALYSES_X ALTER COLUMN CodeFraction Text(10)")))
        << qPrintable(bd().derniereErreur());
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO ANALYSES_X VALUES ('1234567890', 1, 2)")));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT CodeFraction, Resultat, profDebut FROM ANALYSES_X ORDER BY Resultat")),
              QStringList({"1234567890|1|2", "23|6812345.678|"}));
    EXPECT_TRUE(bd().indexExiste(QStringLiteral("ind_x")));
    EXPECT_EQ(bd().colonnes(QStringLiteral("ANALYSES_X")).join(u',').toLower(),
              QStringLiteral("codefraction,resultat,profdebut"));
    EXPECT_TRUE(bd().renommerColonne(QStringLiteral("ANALYSES_X"), QStringLiteral("profDebut"),
                                     QStringLiteral("profFin")));
    EXPECT_TRUE(bd().colonneExiste(QStringLiteral("analyses_x"), QStringLiteral("PROFFIN")));
    ASSERT_TRUE(bd().creerVue(QStringLiteral("V_X"),
                              QStringLiteral("SELECT CodeFraction FROM ANALYSES_X")));
    ASSERT_TRUE(
        bd().creerVue(QStringLiteral("V_X"), QStringLiteral("SELECT Resultat FROM ANALYSES_X")));
    EXPECT_TRUE(bd().vueExiste(QStringLiteral("v_x")));
    EXPECT_EQ(lire(QStringLiteral("SELECT * FROM V_X")).colonnes().join(u',').toLower(),
              QStringLiteral("resultat"));
}

TEST_P(BaseDonneesTest, FermetureEtErreursDOuverture)
{
    toleranceErreurs = true;
    InstructionPreparee i = bd().preparer(QStringLiteral("SELECT 1"));
    ASSERT_TRUE(i.estValide());
    bd().fermerBase();
    EXPECT_FALSE(bd().estOuverte());
    EXPECT_FALSE(executer(QStringLiteral("SELECT 1")));
    EXPECT_EQ(bd().derniereErreur(), QStringLiteral("Aucune base de données n'est ouverte."));
    EXPECT_FALSE(i.executer());
    EXPECT_FALSE(bd().ouvrirBase(chemin(QStringLiteral("absent.db")), ACCESS, {}, {}, {}));
    EXPECT_TRUE(bd().derniereErreur().contains(QStringLiteral("n'existe pas")));
    EXPECT_FALSE(bd().ouvrirBase(QStringLiteral("DSN_ABSENT"), QStringLiteral("ORACLE_TEST"), {},
                                 QStringLiteral("u"), QStringLiteral("p")));
    EXPECT_TRUE(bd().derniereErreur().contains(QStringLiteral("ODBC")))
        << qPrintable(bd().derniereErreur());
    EXPECT_FALSE(bd().estOuverte());
    EXPECT_TRUE(rouvrir());
}

VYK_SUR_LES_TROIS_MOTEURS(BaseDonneesTest);

} // namespace

namespace {

class TransactionTest : public BaseTest
{
};

// A statement that fails to prepare inside a transaction (a journal write before its table
// exists) must neither lose its neighbours nor let the commit report a success it did not have.
TEST_P(TransactionTest, EchecDePreparationNAnnulePasLaTransaction)
{
    toleranceErreurs = true;
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE T (a Short)")));
    Transaction t;
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (1)")));
    InstructionPreparee absente = bd().preparer(QStringLiteral("INSERT INTO ABSENTE VALUES (?)"));
    // An ODBC driver may send the statement only at its execution, which then fails.
    if (!estOdbc()) {
        EXPECT_FALSE(absente.estValide());
    }
    EXPECT_FALSE(absente.executer({1}));
    JeuEnregistrements jeu;
    bool trouve = false;
    EXPECT_FALSE(bd().AccesBase(QStringLiteral("SELECT * FROM ABSENTE2"), jeu, trouve));
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (2)")));
    ASSERT_TRUE(t.valider());
    EXPECT_EQ(lignes(QStringLiteral("SELECT a FROM T ORDER BY a")), QStringList({"1", "2"}));
}

// Statements the cache lets go are deallocated on the server with a later preparation; a failed
// preparation keeps them for the next one and leaves the transaction going on.
TEST_P(TransactionTest, InstructionsLibereesAvecUnePreparationSuivante)
{
    toleranceErreurs = true;
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE T (a Short)")));
    auto surLeServeur = [&] {
        return estPostgres() && !estOdbc()
                   ? valeur(QStringLiteral("SELECT count(*) FROM pg_prepared_statements")).toInt()
                   : -1;
    };
    const int avant = surLeServeur();
    Transaction t;
    // One more than the cache holds: the cache is emptied, its statements released.
    for (int i = 0; i < 129; ++i)
        ASSERT_TRUE(bd().preparer(QStringLiteral("INSERT INTO T VALUES (%1)").arg(i)).executer());
    EXPECT_FALSE(bd().preparer(QStringLiteral("INSERT INTO ABSENTE VALUES (1)")).executer());
    if (avant >= 0) {
        EXPECT_EQ(surLeServeur(), avant + 129);
    }
    ASSERT_TRUE(bd().preparer(QStringLiteral("INSERT INTO T VALUES (8)")).executer());
    if (avant >= 0) {
        EXPECT_EQ(surLeServeur(), avant + 2);
    }
    ASSERT_TRUE(t.valider());
    EXPECT_EQ(lignes(QStringLiteral("SELECT count(*), sum(a) FROM T")), QStringList({"130|8264"}));
}

VYK_SUR_LES_TROIS_MOTEURS(TransactionTest);

} // namespace

namespace {

class DialecteBaseTest : public BaseTest
{
};

TEST_P(DialecteBaseTest, PlusGrandCodeNumeriqueIgnoreLesCodesTexteEtVides)
{
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE Analyses_Unites (code Text(10))")));
    for (const char *code : {"1340", "99", "abc", "", "12a"})
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO Analyses_Unites VALUES (%1)")
                                 .arg(sqlTexte(QString::fromUtf8(code)))));
    EXPECT_EQ(
        valeur(bd().dialecte().codeNumeriqueMax(QStringLiteral("Analyses_Unites"))).toDouble(),
        1340.0);
}

VYK_SUR_LES_TROIS_MOTEURS(DialecteBaseTest);

} // namespace
