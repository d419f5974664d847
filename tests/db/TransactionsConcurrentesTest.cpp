// Transactions that meet another connection: a refused commit, a row changed meanwhile, a
// write lock taken before reading, and a closing with work still open.

#include "db/BaseDonnees.h"
#include "db/Lot.h"
#include "db/Moteur.h"

#include "support/BaseTest.h"

#include <QElapsedTimer>

#include <atomic>
#include <thread>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class TransactionsConcurrentesTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        toleranceErreurs = true;
        ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE T (a Short)")));
    }

    // A parent and a child whose link is checked only at COMMIT: a commit that fails on demand.
    void creerLienDiffere()
    {
        if (!estPostgres()) {
            ASSERT_TRUE(executer(QStringLiteral("PRAGMA foreign_keys=ON")));
        }
        ASSERT_TRUE(bd().moteur() != nullptr);
        QString e;
        ASSERT_TRUE(bd().moteur()->executer(
            QStringLiteral("CREATE TABLE PARENT (id INTEGER PRIMARY KEY)"), nullptr, nullptr, e))
            << qPrintable(e);
        ASSERT_TRUE(bd().moteur()->executer(
            QStringLiteral("CREATE TABLE ENFANT (id INTEGER, p INTEGER REFERENCES PARENT(id) "
                           "DEFERRABLE INITIALLY DEFERRED)"),
            nullptr, nullptr, e))
            << qPrintable(e);
    }
};

// The engine and the depth counter agree after a refused COMMIT: the work is gone, nothing
// later joins a transaction that can never commit, and the next write is kept.
TEST_P(TransactionsConcurrentesTest, CommitRefuseAnnuleLaTransactionEtLaSuiteEstEnregistree)
{
    BaseDonnees lecteur;
    if (estPostgres()) {
        creerLienDiffere();
        ASSERT_TRUE(bd().debutTransaction());
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (1)")));
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO ENFANT VALUES (1, 99)")));
    } else {
        // Another workstation reading the file holds its shared lock until its transaction ends.
        ASSERT_TRUE(ouvrirConnexion(lecteur)) << qPrintable(lecteur.derniereErreur());
        QString e;
        ASSERT_TRUE(lecteur.moteur()->executer(QStringLiteral("BEGIN"), nullptr, nullptr, e));
        Tableau t;
        ASSERT_TRUE(
            lecteur.moteur()->executer(QStringLiteral("SELECT count(*) FROM T"), &t, nullptr, e));
        ASSERT_TRUE(bd().debutTransaction());
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (1)")));
    }
    EXPECT_FALSE(bd().finTransaction(false));
    EXPECT_FALSE(bd().enTransaction());
    EXPECT_FALSE(bd().derniereErreur().isEmpty());
    lecteur.fermerBase();

    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (2)")));
    bd().fermerBase();
    ASSERT_TRUE(rouvrir());
    EXPECT_EQ(lignes(QStringLiteral("SELECT a FROM T")), QStringList({"2"}));
}

// A batch whose intermediate commit fails keeps nothing and says so, instead of a hole in
// the middle of an import reported as done.
TEST_P(TransactionsConcurrentesTest, LotDontUnCommitIntermediaireEchoueNeGardeRienEtLeDit)
{
    creerLienDiffere();
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO PARENT VALUES (1)")));
    bool termine = true;
    {
        Lot lot(bd(), 2);
        ASSERT_TRUE(lot.estActif());
        executer(QStringLiteral("INSERT INTO ENFANT VALUES (1, 99)"));
        executer(QStringLiteral("INSERT INTO T VALUES (1)")); // second statement: the commit fails
        EXPECT_TRUE(bd().enTransaction());
        executer(QStringLiteral("INSERT INTO T VALUES (2)"));
        executer(QStringLiteral("INSERT INTO ENFANT VALUES (2, 1)"));
        termine = lot.terminer();
    }
    EXPECT_FALSE(termine);
    EXPECT_FALSE(bd().enTransaction());
    EXPECT_EQ(lignes(QStringLiteral("SELECT count(*) FROM T")), QStringList({"0"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT count(*) FROM ENFANT")), QStringList({"0"}));

    // The next batch starts clean.
    Lot suivant(bd(), 2);
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (3)")));
    EXPECT_TRUE(suivant.terminer());
    EXPECT_EQ(lignes(QStringLiteral("SELECT a FROM T")), QStringList({"3"}));
}

// Closing the database with a transaction open keeps none of it.
TEST_P(TransactionsConcurrentesTest, FermerLaBaseAnnuleLaTransactionOuverte)
{
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (1)")));
    ASSERT_TRUE(bd().debutTransaction());
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (2)")));
    ASSERT_TRUE(executer(QStringLiteral("DELETE FROM T WHERE a = 1")));
    bd().fermerBase();
    ASSERT_TRUE(rouvrir());
    EXPECT_FALSE(bd().enTransaction());
    EXPECT_EQ(lignes(QStringLiteral("SELECT a FROM T")), QStringList({"1"}));
}

// A row deleted by another workstation after it was read: the update says so.
TEST_P(TransactionsConcurrentesTest, MiseAJourDUneLigneDisparueEstUnEchec)
{
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (1)")));
    JeuEnregistrements jeu;
    bool trouve = false;
    ASSERT_TRUE(bd().AccesBase(QStringLiteral("SELECT * FROM T WHERE a = 1"), jeu, trouve));
    ASSERT_TRUE(trouve);
    BaseDonnees autre;
    ASSERT_TRUE(ouvrirConnexion(autre)) << qPrintable(autre.derniereErreur());
    ASSERT_TRUE(autre.Execute(QStringLiteral("DELETE FROM T")));
    autre.fermerBase();
    jeu.fields("a") = 5;
    EXPECT_FALSE(jeu.Update());
    EXPECT_EQ(
        jeu.derniereErreur(),
        QStringLiteral(
            "L'enregistrement a été modifié ou supprimé entre-temps : rien n'a été enregistré."));
    EXPECT_TRUE(lignes(QStringLiteral("SELECT a FROM T")).isEmpty());
}

// While one transaction holds the write lock of a table, another workstation's write waits for
// its end instead of slipping between its read and its write.
TEST_P(TransactionsConcurrentesTest, VerrouFaitAttendreLEcritureDUnAutrePoste)
{
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (1)")));
    ASSERT_TRUE(bd().debutTransaction());
    ASSERT_TRUE(bd().verrouiller(QStringLiteral("T")));
    const int max = valeur(QStringLiteral("SELECT max(a) FROM T")).toInt();

    std::atomic<bool> ecrit = false;
    std::atomic<bool> ok = false;
    std::thread autrePoste([&] {
        BaseDonnees autre;
        if (!ouvrirConnexion(autre)) return;
        if (autre.debutTransaction()) {
            autre.verrouiller(QStringLiteral("T"));
            const int sonMax = autre.valeur(QStringLiteral("SELECT max(a) FROM T")).toInt();
            ok = autre.Execute(QStringLiteral("INSERT INTO T VALUES (%1)").arg(sonMax + 1)) &&
                 autre.finTransaction(false);
        }
        ecrit = true;
    });
    QElapsedTimer attente;
    attente.start();
    while (attente.elapsed() < 400 && !ecrit)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(ecrit) << "the other workstation wrote while the lock was held";
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (%1)").arg(max + 1)));
    ASSERT_TRUE(bd().finTransaction(false));
    autrePoste.join();
    EXPECT_TRUE(ok);
    EXPECT_EQ(lignes(QStringLiteral("SELECT a FROM T ORDER BY a")), QStringList({"1", "2", "3"}));
}

// A lock the transaction holds is not asked again; one given up (savepoint rolled back, commit)
// is asked again, and a batch's intermediate commit takes back every lock of the batch. The
// server's own lock table says what is held; the desktop file needs no statement at all.
TEST_P(TransactionsConcurrentesTest, VerrouDejaTenuNEstPasRedemande)
{
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE U (a Short)")));
    auto tenus = [&] {
        return estPostgres()
                   ? lignes(QStringLiteral(
                         "SELECT c.relname FROM pg_locks l JOIN pg_class c ON c.oid = l.relation "
                         "WHERE l.pid = pg_backend_pid() AND l.mode = 'ExclusiveLock' "
                         "AND c.relname IN ('t', 'u') ORDER BY 1"))
                   : QStringList();
    };
    auto envoyes = [&](const QString &table) {
        const long long avant = bd().compteurInstructions();
        EXPECT_TRUE(bd().verrouiller(table)) << qPrintable(table);
        return bd().compteurInstructions() - avant;
    };
    const long long un = estPostgres() ? 1 : 0;
    const QStringList aucun, t = estPostgres() ? QStringList{"t"} : aucun,
                             tu = estPostgres() ? QStringList{"t", "u"} : aucun;

    ASSERT_TRUE(bd().debutTransaction());
    EXPECT_EQ(envoyes(QStringLiteral("T")), un);
    EXPECT_EQ(envoyes(QStringLiteral("t")), 0);
    EXPECT_EQ(tenus(), t);

    // Taken inside a savepoint: released with it to the transaction, or given up with it.
    ASSERT_TRUE(bd().debutTransaction());
    EXPECT_EQ(envoyes(QStringLiteral("U")), un);
    EXPECT_EQ(envoyes(QStringLiteral("T")), 0);
    ASSERT_TRUE(bd().finTransaction(true));
    EXPECT_EQ(tenus(), t);
    ASSERT_TRUE(bd().debutTransaction());
    ASSERT_TRUE(bd().debutTransaction());
    EXPECT_EQ(envoyes(QStringLiteral("U")), un);
    ASSERT_TRUE(bd().finTransaction(false));
    ASSERT_TRUE(bd().finTransaction(false));
    EXPECT_EQ(tenus(), tu);
    EXPECT_EQ(envoyes(QStringLiteral("U")), 0);
    ASSERT_TRUE(bd().finTransaction(false));
    EXPECT_EQ(tenus(), aucun);

    ASSERT_TRUE(bd().debutTransaction());
    EXPECT_EQ(envoyes(QStringLiteral("U")), un);
    ASSERT_TRUE(bd().finTransaction(true));

    {
        Lot lot(bd(), 3);
        EXPECT_EQ(envoyes(QStringLiteral("T")), un);
        EXPECT_EQ(envoyes(QStringLiteral("U")), un);
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (1)")));
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (2)")));
        const long long avant = bd().compteurInstructions();
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (3)"))); // commits the batch
        EXPECT_EQ(bd().compteurInstructions() - avant, 1 + un) << "both locks in one statement";
        EXPECT_EQ(tenus(), tu);
        EXPECT_EQ(envoyes(QStringLiteral("T")), 0);
        EXPECT_EQ(envoyes(QStringLiteral("U")), 0);
        EXPECT_TRUE(lot.terminer());
    }
    EXPECT_EQ(tenus(), aucun);
    EXPECT_EQ(lignes(QStringLiteral("SELECT a FROM T ORDER BY a")), QStringList({"1", "2", "3"}));
}

VYK_SUR_LES_TROIS_MOTEURS(TransactionsConcurrentesTest);

} // namespace
