#include "db/BaseDonnees.h"
#include "db/InstructionPreparee.h"
#include "db/Ligne.h"
#include "db/Sql.h"

#include "support/BaseTest.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class LiaisonsTest : public BaseTest
{
};

QVariant nulType(QMetaType type)
{
    return QVariant(type, nullptr);
}

// One prepared statement run again and again, as a bulk insertion does: each run stores its own
// values, whatever the run before it bound to the same parameter (a text where a NULL was, a NULL
// where a long accented text was, a typed null).
TEST_P(LiaisonsTest, ChaqueExecutionEcritExactementSesPropresValeurs)
{
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE L (k Long, t Memo, x Double, d DateTime)")));
    const QString accents = QStringLiteral("Écluse « amont » œ € \u00a0 𝄞 à l’aval");
    const QString longue = QString(3000, u'é') + QStringLiteral("fin");
    const QString difficile = QStringLiteral("l'eau\t\"trouble\"\r\n\\N ; -- C:\\eau");
    const QDateTime quand(QDate(2021, 3, 4), QTime(5, 6, 7));
    const QVector<QVector<QVariant>> ecrites = {
        {1, accents, 1.5, quand},
        {2, QVariant(), QVariant(), QVariant()},
        {3, QStringLiteral("ascii"), -0.25, QVariant()},
        {4, longue, QVariant(), quand.addYears(-30)},
        {5, difficile, 0.0, QVariant()},
        {6, QStringLiteral(""), nulType(QMetaType::fromType<double>()),
         nulType(QMetaType::fromType<QDateTime>())},
        {7, nulType(QMetaType::fromType<QString>()), 7, quand},
        {8, QStringLiteral("x"), nulType(QMetaType::fromType<qlonglong>()), QVariant()},
    };
    InstructionPreparee ins =
        bd().preparer(QStringLiteral("INSERT INTO L (k, t, x, d) VALUES (?, ?, ?, ?)"));
    ASSERT_TRUE(ins.estValide()) << qPrintable(ins.erreur());
    for (const QVector<QVariant> &l : ecrites)
        ASSERT_TRUE(ins.executer(l)) << qPrintable(ins.erreur());

    const Tableau t = lire(QStringLiteral("SELECT k, t, x, d FROM L ORDER BY k"));
    ASSERT_EQ(t.nbLignes(), ecrites.size());
    const QVariant textes[] = {accents,    QVariant(), QStringLiteral("ascii"),
                               longue,     difficile,  QStringLiteral(""),
                               QVariant(), "x"};
    const QVariant nombres[] = {1.5, QVariant(), -0.25, QVariant(),
                                0.0, QVariant(), 7.0,   QVariant()};
    const QVariant dates[] = {quand,      QVariant(), QVariant(), quand.addYears(-30),
                              QVariant(), QVariant(), quand,      QVariant()};
    for (int i = 0; i < t.nbLignes(); ++i) {
        EXPECT_EQ(t(i, 1).isNull(), textes[i].isNull()) << i;
        EXPECT_EQ(t(i, 1).toString(), textes[i].toString()) << i;
        EXPECT_EQ(t(i, 2).isNull(), nombres[i].isNull()) << i;
        EXPECT_DOUBLE_EQ(t(i, 2).toDouble(), nombres[i].toDouble()) << i;
        EXPECT_EQ(t(i, 3).isNull(), dates[i].isNull()) << i;
        EXPECT_EQ(t(i, 3).toDateTime(), dates[i].toDateTime()) << i;
    }
    // The same texts, bound in a condition, find their rows: the stored bytes are those bound.
    InstructionPreparee cherche = bd().preparer(QStringLiteral("SELECT k FROM L WHERE t = ?"));
    for (const auto &[texte, k] : {std::pair{accents, 1}, {longue, 4}, {difficile, 5}}) {
        Tableau r;
        ASSERT_TRUE(cherche.extraire(r, {texte}));
        ASSERT_EQ(r.nbLignes(), 1) << k;
        EXPECT_EQ(r(0, 0).toInt(), k);
    }
    int trouvee = -1;
    ASSERT_TRUE(bd().parcourir(QStringLiteral("SELECT k FROM L WHERE t = ? AND x IS NULL"),
                               {longue}, [&](const Ligne &r) {
                                   trouvee = int(r.entier(0));
                                   return true;
                               }));
    EXPECT_EQ(trouvee, 4);
}

// A date and time is stored to the second by the native engines, whatever its century:
// milliseconds are dropped, a year before 1900 or 1000 keeps its four digits, and each reads
// back as it was written.
TEST_P(LiaisonsTest, DatesEtHeuresReluesALaSecondePres)
{
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE D (k Long, d DateTime)")));
    const QVector<std::pair<QDateTime, QString>> cas = {
        {QDateTime(QDate(2021, 3, 4), QTime(5, 6, 7, 891)), "2021-03-04 05:06:07"},
        {QDateTime(QDate(1899, 12, 30), QTime(23, 59, 59, 999)), "1899-12-30 23:59:59"},
        {QDateTime(QDate(1850, 1, 1), QTime(0, 0)), "1850-01-01 00:00:00"},
        {QDateTime(QDate(999, 7, 14), QTime(12, 0, 1)), "0999-07-14 12:00:01"},
        {QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59)), "9999-12-31 23:59:59"},
    };
    InstructionPreparee ins = bd().preparer(QStringLiteral("INSERT INTO D (k, d) VALUES (?, ?)"));
    for (int i = 0; i < cas.size(); ++i)
        ASSERT_TRUE(ins.executer({i, cas[i].first})) << qPrintable(ins.erreur());
    const Tableau t = lire(QStringLiteral("SELECT k, d FROM D ORDER BY k"));
    ASSERT_EQ(t.nbLignes(), cas.size());
    for (int i = 0; i < t.nbLignes(); ++i) {
        const QDateTime ecrite = cas[i].first;
        const QTime h = ecrite.time();
        // Through ODBC the driver is handed the whole time, its milliseconds with it.
        EXPECT_EQ(t(i, 1).toDateTime(),
                  estOdbc() ? ecrite
                            : QDateTime(ecrite.date(), QTime(h.hour(), h.minute(), h.second())))
            << i;
    }
    if (estPostgres()) return;
    // The desktop file holds the text itself (prefixed here, so that it is not read as a date).
    const Tableau textes = lire(QStringLiteral("SELECT '=' || d FROM D ORDER BY k"));
    ASSERT_EQ(textes.nbLignes(), cas.size());
    for (int i = 0; i < textes.nbLignes(); ++i)
        EXPECT_EQ(textes(i, 0).toString(), u'=' + cas[i].second) << i;
}

// A table is found whatever the case of its name; a view or the engine's own bookkeeping is no
// table; what another workstation creates or drops is seen at once.
TEST_P(LiaisonsTest, ExistenceDesTablesVueDesAutresPostes)
{
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE Station_A (a Long)")));
    ASSERT_TRUE(bd().creerVue(QStringLiteral("VUE_A"), QStringLiteral("SELECT a FROM Station_A")));
    EXPECT_TRUE(bd().tableExiste(QStringLiteral("STATION_A")));
    EXPECT_TRUE(bd().tableExiste(QStringLiteral("station_a")));
    EXPECT_FALSE(bd().tableExiste(QStringLiteral("STATION_")));
    EXPECT_FALSE(bd().tableExiste(QStringLiteral("VUE_A")));
    EXPECT_FALSE(bd().tableExiste(QString()));
    if (!estPostgres()) {
        ASSERT_TRUE(
            executer(QStringLiteral("CREATE TABLE C (n INTEGER PRIMARY KEY AUTOINCREMENT)")));
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO C DEFAULT VALUES")));
        EXPECT_FALSE(bd().tableExiste(QStringLiteral("sqlite_sequence")));
        EXPECT_FALSE(bd().tableExiste(QStringLiteral("SQLITE_MASTER")));
    }
    const QString accentuee = identifiantSql(QStringLiteral("ANALYSES_Le Rhône"));
    ASSERT_TRUE(
        executer(QStringLiteral("CREATE TABLE ") + accentuee + QStringLiteral(" (a Long)")));
    EXPECT_TRUE(bd().tableExiste(QStringLiteral("ANALYSES_Le Rhône")));
    EXPECT_FALSE(bd().tableExiste(QStringLiteral("ANALYSES_Le Rhone")));

    BaseDonnees autre;
    ASSERT_TRUE(ouvrirConnexion(autre)) << qPrintable(autre.derniereErreur());
    EXPECT_FALSE(bd().tableExiste(QStringLiteral("CREEE_AILLEURS")));
    ASSERT_TRUE(autre.Execute(QStringLiteral("CREATE TABLE CREEE_AILLEURS (a Long)")));
    EXPECT_TRUE(bd().tableExiste(QStringLiteral("creee_ailleurs")));
    ASSERT_TRUE(autre.Execute(QStringLiteral("DROP TABLE CREEE_AILLEURS")));
    EXPECT_FALSE(bd().tableExiste(QStringLiteral("CREEE_AILLEURS")));
    autre.fermerBase();
}

} // namespace

VYK_SUR_LES_TROIS_MOTEURS(LiaisonsTest);
