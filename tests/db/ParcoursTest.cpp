#include "db/BaseDonnees.h"
#include "db/Lot.h"

#include "support/BaseTest.h"

#include <cmath>
#include <random>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class ParcoursTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(executer(
            QStringLiteral("CREATE TABLE MESURES (Num Long, Code Text(30), Valeur Double, Nb Long, "
                           "Prise DateTime, Note Memo)")));
        const char *lignes[] = {
            "INSERT INTO MESURES VALUES (1, 'Écluse à l''été', 12.5, 7, #03/05/2020#, 'ok')",
            "INSERT INTO MESURES VALUES (2, 'amont', -0.125, NULL, #12/31/2019 23:30:15#, NULL)",
            "INSERT INTO MESURES VALUES (3, NULL, NULL, -42, NULL, '2021-07-14 08:00:00')",
            "INSERT INTO MESURES VALUES (4, '007', 6800000.25, 0, #01/01/2021 00:00:01#, '')",
        };
        for (const char *l : lignes)
            ASSERT_TRUE(executer(QString::fromUtf8(l))) << qPrintable(bd().derniereErreur());
    }

    // Each row read through the typed accessors, "|" between the cells; columns by name.
    QStringList lus(const QString &sql, const QVector<QVariant> &parametres = {})
    {
        QStringList r;
        int num = -1, code = -1, valeur = -1, nb = -1, prise = -1;
        const bool ok = bd().parcourir(sql, parametres, [&](const Ligne &l) {
            if (l.premiere()) {
                num = l.colonne(u"num");
                code = l.colonne(u"CODE");
                valeur = l.colonne(u"Valeur");
                nb = l.colonne(u"Nb");
                prise = l.colonne(u"Prise");
            }
            const QDateTime d = l.date(prise);
            r << QStringList{QString::number(l.entier(num)),
                             l.estNul(code) ? QStringLiteral("NULL") : l.texte(code),
                             QString::fromUtf8(l.utf8(code)),
                             QString::number(l.reel(valeur), 'g', 17),
                             l.estNul(nb) ? QStringLiteral("NULL") : QString::number(l.entier(nb)),
                             d.isValid() ? d.toString(Qt::ISODate) : QStringLiteral("-")}
                     .join(u'|');
            return true;
        });
        EXPECT_TRUE(ok) << qPrintable(bd().derniereErreur());
        return r;
    }
};

TEST_P(ParcoursTest, CellulesTypeesNullsDatesEtAccents)
{
    EXPECT_EQ(lus(QStringLiteral("SELECT Num, Code, Valeur, Nb, Prise FROM MESURES ORDER BY Num")),
              QStringList({"1|Écluse à l'été|Écluse à l'été|12.5|7|2020-03-05T00:00:00",
                           "2|amont|amont|-0.125|NULL|2019-12-31T23:30:15", "3|NULL||0|-42|-",
                           "4|007|007|6800000.25|0|2021-01-01T00:00:01"}));
    // Parameters are bound as prepared statements take them.
    EXPECT_EQ(lus(QStringLiteral("SELECT Num, Code, Valeur, Nb, Prise FROM MESURES WHERE Num >= ? "
                                 "AND Code <> ? ORDER BY Num DESC"),
                  {2, QStringLiteral("007")}),
              QStringList({"2|amont|amont|-0.125|NULL|2019-12-31T23:30:15"}));
}

// Each cell's text and value are those of ExtraireRecords's table, whatever its kind (an
// expression, a date kept in a text column, a number read as text).
TEST_P(ParcoursTest, MemesCellulesQueLeTableau)
{
    const QString sql = QStringLiteral(
        "SELECT Num, Code, Valeur, Nb, Prise, Note, Valeur * 2 AS Double, Num + 1 AS Suivant "
        "FROM MESURES ORDER BY Num");
    const Tableau t = lire(sql);
    ASSERT_EQ(t.nbLignes(), 4);
    // Stepped or received whole, the same cells.
    for (const bool enBloc : {false, true}) {
        int n = 0;
        const FonctionLigne lecture = [&](const Ligne &l) {
            EXPECT_EQ(l.colonnes(), t.colonnes());
            for (int c = 0; c < t.nbColonnes(); ++c) {
                EXPECT_EQ(l.texte(c), t.texte(n, c)) << n << " " << c << " " << enBloc;
                EXPECT_EQ(QString::fromUtf8(l.utf8(c)), t.texte(n, c)) << n << " " << c;
                EXPECT_EQ(l.valeur(c), t(n, c)) << n << " " << c;
                EXPECT_EQ(l.reel(c), t(n, c).toDouble()) << n << " " << c;
                EXPECT_EQ(l.estNul(c), t(n, c).isNull());
                QDate jour;
                QTime heure;
                const bool date = l.jourHeure(c, jour, heure);
                EXPECT_EQ(date, l.date(c).isValid()) << n << " " << c;
                if (date) {
                    EXPECT_EQ(QDateTime(jour, heure), l.date(c)) << n << " " << c;
                }
            }
            EXPECT_EQ(l.numero(), n++);
            return true;
        };
        ASSERT_TRUE(enBloc ? bd().parcourirEnBloc(sql, lecture) : bd().parcourir(sql, lecture));
        EXPECT_EQ(n, 4);
    }
    // A text in the stored date form reads as a date; any other text does not.
    QStringList notes;
    ASSERT_TRUE(bd().parcourir(QStringLiteral("SELECT Note FROM MESURES ORDER BY Num"),
                               [&](const Ligne &l) {
                                   QDate jour;
                                   QTime heure;
                                   if (l.jourHeure(0, jour, heure)) {
                                       EXPECT_EQ(QDateTime(jour, heure), l.date(0));
                                   }
                                   notes << l.date(0).toString(Qt::ISODate);
                                   return true;
                               }));
    EXPECT_EQ(notes, QStringList({"", "", "2021-07-14T08:00:00", ""}));
}

TEST_P(ParcoursTest, ResultatVideEtArretDemande)
{
    int vues = 0;
    EXPECT_TRUE(bd().parcourir(QStringLiteral("SELECT Num FROM MESURES WHERE Num > 99"),
                               [&](const Ligne &) { return ++vues, true; }));
    EXPECT_EQ(vues, 0);

    QList<qint64> nums;
    EXPECT_TRUE(
        bd().parcourir(QStringLiteral("SELECT Num FROM MESURES ORDER BY Num"), [&](const Ligne &l) {
            nums << l.entier(0);
            return nums.size() < 2;
        }));
    EXPECT_EQ(nums, QList<qint64>({1, 2}));
    // The connection is free again at once.
    EXPECT_TRUE(executer(QStringLiteral("UPDATE MESURES SET Nb = 8 WHERE Num = 1")));
    EXPECT_EQ(valeur(QStringLiteral("SELECT Nb FROM MESURES WHERE Num = 1")).toInt(), 8);
    // The same when the rows came whole.
    nums.clear();
    EXPECT_TRUE(bd().parcourirEnBloc(QStringLiteral("SELECT Num FROM MESURES ORDER BY Num"),
                                     [&](const Ligne &l) {
                                         nums << l.entier(0);
                                         return nums.size() < 3;
                                     }));
    EXPECT_EQ(nums, QList<qint64>({1, 2, 3}));
    EXPECT_TRUE(executer(QStringLiteral("UPDATE MESURES SET Nb = 9 WHERE Num = 1")));
    EXPECT_EQ(valeur(QStringLiteral("SELECT Nb FROM MESURES WHERE Num = 1")).toInt(), 9);
}

// A failure after some rows: the read fails with the message ExtraireRecords gives for the same
// statement, the rows already seen were the first ones, and the next statement runs.
TEST_P(ParcoursTest, ErreurEnCoursDeLecture)
{
    toleranceErreurs = true;
    const QString sql =
        QStringLiteral("SELECT Num, abs(CASE WHEN Num = 3 THEN -9223372036854775807 - 1 ELSE Num "
                       "END) AS A FROM MESURES");
    long nb = 0;
    Tableau t;
    ASSERT_FALSE(bd().ExtraireRecords(sql, nb, t));
    const QString attendue = bd().derniereErreur();
    ASSERT_FALSE(attendue.isEmpty());

    QList<qint64> nums;
    EXPECT_FALSE(bd().parcourir(sql, [&](const Ligne &l) {
        nums << l.entier(0);
        return true;
    }));
    EXPECT_EQ(bd().derniereErreur(), attendue);
    // An ODBC driver may fetch every row before handing the first.
    if (!estOdbc()) {
        EXPECT_EQ(nums, QList<qint64>({1, 2}));
    }

    EXPECT_FALSE(bd().parcourirEnBloc(sql, [&](const Ligne &) { return true; }));
    EXPECT_EQ(bd().derniereErreur(), attendue);

    EXPECT_FALSE(bd().parcourir(QStringLiteral("SELECT Inconnue FROM MESURES"),
                                [&](const Ligne &) { return ADD_FAILURE(), false; }));
    EXPECT_FALSE(bd().derniereErreur().isEmpty());
    EXPECT_EQ(lignes(QStringLiteral("SELECT count(*) FROM MESURES")), QStringList({"4"}));
}

// Nothing else may reach the database during the read: refused, with nothing written.
TEST_P(ParcoursTest, InstructionPendantLaLectureRefusee)
{
    toleranceErreurs = true;
    int vues = 0;
    ASSERT_TRUE(
        bd().parcourir(QStringLiteral("SELECT Num FROM MESURES ORDER BY Num"), [&](const Ligne &l) {
            ++vues;
            EXPECT_TRUE(bd().enLecture());
            EXPECT_FALSE(
                executer(QStringLiteral("DELETE FROM MESURES WHERE Num = %1").arg(l.entier(0))));
            EXPECT_EQ(bd().derniereErreur(), messageLectureEnCours());
            EXPECT_TRUE(lire(QStringLiteral("SELECT 1")).estVide());
            EXPECT_FALSE(
                bd().parcourir(QStringLiteral("SELECT 1"), [](const Ligne &) { return true; }));
            return true;
        }));
    EXPECT_EQ(vues, 4);
    EXPECT_FALSE(bd().enLecture());
    EXPECT_EQ(lignes(QStringLiteral("SELECT count(*) FROM MESURES")), QStringList({"4"}));
}

// Inside a transaction a failed or stopped read leaves the transaction going: the writes around
// it are committed together, and the read sees the rows written before it.
TEST_P(ParcoursTest, DansUneTransaction)
{
    toleranceErreurs = true;
    Transaction tr;
    ASSERT_TRUE(tr.estOuverte());
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO MESURES (Num, Code) VALUES (5, 'cinq')")));
    EXPECT_FALSE(bd().parcourir(QStringLiteral("SELECT Absente FROM MESURES"),
                                [](const Ligne &) { return true; }));
    QStringList codes;
    EXPECT_TRUE(bd().parcourir(QStringLiteral("SELECT Code FROM MESURES WHERE Num >= 4 ORDER BY "
                                              "Num DESC"),
                               [&](const Ligne &l) {
                                   codes << l.texte(0);
                                   return false;
                               }));
    EXPECT_EQ(codes, QStringList({"cinq"}));
    // A stop before a failing row: the failure the server meets later is undone with it (an
    // ODBC driver, which fetches every row first, fails before the first).
    const bool arretee = bd().parcourir(
        QStringLiteral("SELECT Num, abs(CASE WHEN Num = 3 THEN -9223372036854775807 - 1 ELSE Num "
                       "END) AS A FROM MESURES"),
        [](const Ligne &) { return false; });
    EXPECT_EQ(arretee, !estOdbc());
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO MESURES (Num, Code) VALUES (6, 'six')")));
    ASSERT_TRUE(tr.valider()) << qPrintable(bd().derniereErreur());
    EXPECT_EQ(lignes(QStringLiteral("SELECT Num, Code FROM MESURES WHERE Num > 4 ORDER BY Num")),
              QStringList({"5|cinq", "6|six"}));
}

TEST_P(ParcoursTest, BaseFermeeOuPlusieursInstructions)
{
    toleranceErreurs = true;
    if (!estOdbc()) {
        // A second statement would be read by no one: refused before anything runs.
        EXPECT_FALSE(bd().parcourir(QStringLiteral("SELECT Num FROM MESURES; DELETE FROM MESURES"),
                                    [](const Ligne &) { return true; }));
        EXPECT_EQ(lignes(QStringLiteral("SELECT count(*) FROM MESURES")), QStringList({"4"}));
    }
    bd().fermerBase();
    EXPECT_FALSE(bd().parcourir(QStringLiteral("SELECT 1"), [](const Ligne &) { return true; }));
    EXPECT_EQ(bd().derniereErreur(), QStringLiteral("Aucune base de données n'est ouverte."));
    EXPECT_TRUE(rouvrir());
}

// Whole numbers are written straight from the engine's number: the same text as the table's,
// in integer and real columns and in expressions, near the 1e15 limit and below zero.
TEST_P(ParcoursTest, ChiffresDesNombresEntiersCommeLeTableau)
{
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE CHIFFRES (Num Long, Reel Double)")));
    for (const char *valeurs : {"1, 3", "-42, -0.0", "2147483647, 999999999999999", "NULL, 1e15",
                                "0, 123456789012345.5", "7, -12.0"})
        ASSERT_TRUE(executer(
            QStringLiteral("INSERT INTO CHIFFRES VALUES (%1)").arg(QString::fromLatin1(valeurs))));
    const QString sql = QStringLiteral("SELECT Num, Reel, Num * 1000000 AS Grand, Reel * 2 AS "
                                       "Double FROM CHIFFRES ORDER BY Reel");
    const Tableau t = lire(sql);
    ASSERT_EQ(t.nbLignes(), 6);
    int n = 0;
    ASSERT_TRUE(bd().parcourir(sql, [&](const Ligne &l) {
        for (int c = 0; c < t.nbColonnes(); ++c)
            EXPECT_EQ(QString::fromUtf8(l.utf8(c)), t.texte(n, c)) << n << " " << c;
        ++n;
        return true;
    }));
    EXPECT_EQ(n, 6);
}

VYK_SUR_LES_TROIS_MOTEURS(ParcoursTest);

TEST(TexteValeur, NombresReelsEntiersOuNon)
{
    const QList<double> valeurs = {12345.0, -7.0,  0.0,         -0.0, 999999999999999.0, 1e15,
                                   0.5,     -2.25, 6800000.125, 1e-7, 123456789012345.6};
    QStringList textes;
    for (double d : valeurs)
        textes << texteValeur(QVariant(d));
    EXPECT_EQ(textes, QStringList({"12345", "-7", "0", "0", "999999999999999", "1e+15", "0.5",
                                   "-2.25", "6800000.125", "1e-07", "123456789012346"}));
}

// Reals are read and written through short ways when they are plain decimals: the texts and
// values must be those of the general parser and formatter, to the bit.
TEST(TexteValeur, ReelsDecimauxCommeLeFormateurGeneral)
{
    std::mt19937_64 alea(13);
    QList<double> valeurs = {
        1e-4, 9.99999999999999e-5, 0.1 + 0.2, 999999999999999.9, 123456789012345.6,
        1e-7, 0.30000000000000004, 5e-324};
    for (int i = 0; i < 20000; ++i) {
        const double d = double(qint64(alea() % 1000000000000000ULL) >> (alea() % 50)) /
                         std::pow(10.0, double(alea() % 10));
        valeurs << d << -d << std::nextafter(d, 1e300) << d / 3;
    }
    for (double d : valeurs) {
        const QString attendu = d == std::trunc(d) && std::abs(d) < 1e15
                                    ? QString::number(qint64(d))
                                    : QString::number(d, 'g', 15);
        ASSERT_EQ(texteReel(d), attendu) << qPrintable(QString::number(d, 'g', 17));
    }
    for (int i = 0; i < 20000; ++i) {
        QByteArray texte = QByteArray::number(alea() % 1000000000000000ULL >> (alea() % 50));
        if (const int point = int(alea() % 8); point > 0 && point < texte.size())
            texte.insert(texte.size() - point, '.');
        if (alea() % 2) texte.prepend('-');
        double d = 1;
        ASSERT_TRUE(reelDecimal(texte, d)) << texte.constData();
        const double attendu = texte.toDouble();
        ASSERT_TRUE(d == attendu && std::signbit(d) == std::signbit(attendu)) << texte.constData();
    }
    for (const char *texte : {"", "-", ".5", "5.", "1.2.3", "1e5", "+1", " 1", "0x10",
                              "1234567890123456", "12345678.12345678"}) {
        double d = 0;
        EXPECT_FALSE(reelDecimal(texte, d)) << texte;
    }
    double d = 0;
    EXPECT_TRUE(reelDecimal("-0.0", d));
    EXPECT_TRUE(d == 0 && std::signbit(d));
}

} // namespace
