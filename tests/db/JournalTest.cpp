#include "db/Journal.h"
#include "app/OptionsJournal.h"
#include "app/Registre.h"
#include "db/Session.h"
#include "schema/Catalogue.h"

#include "support/BaseTest.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class JournalTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        if (IsSkipped()) return;
        ASSERT_TRUE(executer(sqlCreationTable(*definitionTable(u"JOURNAL"))));
        session().vider();
        niveauAvant = niveauJournal();
    }
    void TearDown() override
    {
        definirNiveauJournal(niveauAvant);
        BaseTest::TearDown();
    }
    QStringList titres()
    {
        return lignes(QStringLiteral("SELECT Titre, niveau FROM JOURNAL ORDER BY niveau, Titre"));
    }
    int niveauAvant = 0;
};

TEST_P(JournalTest, LeNiveauChoisiFiltreDebogageEtInformation)
{
    auto ecrireLesQuatre = [] {
        journaliser(QStringLiteral("Application"));
        journaliserDebug(QStringLiteral("Debogage"));
        journaliserInfo(QStringLiteral("Logout"));
        journaliserErreur(QStringLiteral("Erreur"));
    };
    definirNiveauJournal(0);
    ecrireLesQuatre();
    EXPECT_EQ(titres(), QStringList({"Application|0", "Erreur|4"}));

    ASSERT_TRUE(executer(QStringLiteral("DELETE FROM JOURNAL")));
    definirNiveauJournal(2);
    ecrireLesQuatre();
    EXPECT_EQ(titres(), QStringList({"Application|0", "Logout|2", "Erreur|4"}));

    ASSERT_TRUE(executer(QStringLiteral("DELETE FROM JOURNAL")));
    definirNiveauJournal(1);
    ecrireLesQuatre();
    EXPECT_EQ(titres(), QStringList({"Application|0", "Debogage|1", "Logout|2", "Erreur|4"}));
}

TEST_P(JournalTest, EntreeSansConnexionTitreCoupeEtDetail)
{
    const QString titre = QString(200, u'é');
    journaliser(titre, QStringLiteral("le détail"));
    journaliser(QString());
    QStringList lues = lignes(
        QStringLiteral("SELECT Titre, utilisateur, contact, projet, description FROM JOURNAL"));
    lues.sort();
    EXPECT_EQ(lues, QStringList({QStringLiteral("|AUTO||VYK|"),
                                 QString(125, u'é') + QStringLiteral("|AUTO||VYK|le détail")}));
    const QDateTime date = valeur(QStringLiteral("SELECT max(dateEvt) FROM JOURNAL")).toDateTime();
    EXPECT_LE(std::abs(date.secsTo(QDateTime::currentDateTime())), 5);
    EXPECT_EQ(date.time().msec(), 0);
}

// The cut counts characters: one outside the basic plane (two UTF-16 units) at the 125th place
// is kept whole, never halved into an invalid text.
TEST_P(JournalTest, TitreCoupeSansCouperUnCaractere)
{
    const QString emoji = QStringLiteral("\U0001F600");
    journaliser(QString(124, u'é') + emoji + QStringLiteral("fin"));
    journaliser(QString(123, u'a') + emoji + emoji + QStringLiteral("fin"));
    QStringList lues = lignes(QStringLiteral("SELECT Titre FROM JOURNAL"));
    lues.sort();
    EXPECT_EQ(lues, QStringList({QString(123, u'a') + emoji + emoji, QString(124, u'é') + emoji}));
}

TEST_P(JournalTest, EntreeDUnUtilisateurConnecte)
{
    session().login = QStringLiteral("jdupont");
    session().codeContact = QStringLiteral("12");
    session().poste = QStringLiteral("PC-ACCUEIL");
    journaliserErreur(QStringLiteral("Import"), QStringLiteral("fichier illisible"));
    session().codeContact = QStringLiteral("pas un code");
    journaliser(QStringLiteral("Suite"));
    EXPECT_EQ(lignes(QStringLiteral("SELECT niveau, Titre, utilisateur, contact, ip, description "
                                    "FROM JOURNAL ORDER BY niveau")),
              QStringList({"0|Suite|jdupont||PC-ACCUEIL|",
                           "4|Import|jdupont|12|PC-ACCUEIL|fichier illisible"}));
}

TEST_P(JournalTest, UneEcritureImpossibleNeDerangePasLAppelant)
{
    ASSERT_TRUE(executer(QStringLiteral("DROP TABLE JOURNAL")));
    EXPECT_FALSE(executer(QStringLiteral("SELECT * FROM TABLE_ABSENTE")));
    const QString erreur = bd().derniereErreur();
    erreursBase.clear();
    journaliser(QStringLiteral("Perdu"));
    journaliserErreur(QStringLiteral("Perdu aussi"));
    EXPECT_TRUE(erreursBase.isEmpty()) << qPrintable(erreursBase.join(u'\n'));
    EXPECT_EQ(bd().derniereErreur(), erreur);
    // Inside a batch on a server the failed entry must not spoil the transaction either.
    ASSERT_TRUE(executer(sqlCreationTable(*definitionTable(u"JOURNAL"))));
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE T (a Short)")));
    ASSERT_TRUE(bd().debutTransaction());
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (1)")));
    session().poste = QString(300, u'x');
    session().login = QStringLiteral("utilisateur_au_nom_long");
    journaliser(QStringLiteral("Poste au nom long"));
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (2)")));
    ASSERT_TRUE(bd().finTransaction(false));
    EXPECT_EQ(lignes(QStringLiteral("SELECT count(*) FROM T")), QStringList({"2"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT utilisateur, ip FROM JOURNAL")),
              QStringList({QStringLiteral("utilisateur_|") + QString(128, u'x')}));
}

// An entry the table refuses (a column a site made compulsory), written in the middle of a
// caller's transaction: the entry is lost, the caller's statements before and after it are
// committed, and the caller's last error is not replaced.
TEST_P(JournalTest, UneEntreeRefuseeDansUneTransactionNeLaDefaitPas)
{
    ASSERT_TRUE(executer(QStringLiteral("DROP TABLE JOURNAL")));
    ASSERT_TRUE(executer(QStringLiteral(
        "CREATE TABLE JOURNAL (dateEvt DateTime, niveau Text(5), Titre Text(255), utilisateur "
        "Text(12), contact Double, ip Text(128), projet Text(12), description Memo, "
        "service Text(20) NOT NULL)")));
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE T (a Short)")));
    erreursBase.clear();
    for (const bool annuler : {false, true}) {
        SCOPED_TRACE(annuler);
        ASSERT_TRUE(executer(QStringLiteral("DELETE FROM T")));
        ASSERT_TRUE(bd().debutTransaction());
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (1)")));
        journaliser(QStringLiteral("Refusée"), QStringLiteral("détail"));
        journaliserErreur(QStringLiteral("Refusée aussi"));
        EXPECT_TRUE(erreursBase.isEmpty()) << qPrintable(erreursBase.join(u'\n'));
        EXPECT_TRUE(executer(QStringLiteral("INSERT INTO T VALUES (2)")));
        ASSERT_TRUE(bd().finTransaction(annuler));
        EXPECT_EQ(lignes(QStringLiteral("SELECT a FROM T ORDER BY a")),
                  annuler ? QStringList() : QStringList({"1", "2"}));
    }
    EXPECT_TRUE(lignes(QStringLiteral("SELECT * FROM JOURNAL")).isEmpty());
}

VYK_SUR_LES_DEUX_MOTEURS(JournalTest);

TEST(NiveauxJournal, ListeDesOptionsEtReglageLogLevel)
{
    test::EnvironnementTest environnement;
    EXPECT_EQ(libellesNiveauxJournal(),
              QStringList({"APPLICATION [0]", "DEBUGGAGE   [1]", "INFORMATION [2]",
                           "WARNING     [3]", "ERROR       [4]"}));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(niveauDuLibelle(libellesNiveauxJournal()[i]), i);
    EXPECT_EQ(niveauDuLibelle(QStringLiteral("APPLICATION")), -1);

    const int avant = niveauJournal();
    EXPECT_EQ(chargerNiveauJournal(), 0); // nothing stored
    ecrireRegistre(QStringLiteral("LogLevel"), QStringLiteral("2"));
    EXPECT_EQ(chargerNiveauJournal(), 2);
    EXPECT_EQ(niveauJournal(), 2);
    ecrireRegistre(QStringLiteral("LogLevel"), QStringLiteral("deux"));
    EXPECT_EQ(chargerNiveauJournal(), 0);
    changerNiveauJournal(1);
    EXPECT_EQ(niveauJournal(), 1);
    EXPECT_EQ(lireRegistre(QStringLiteral("loglevel")), QStringLiteral("1"));
    definirNiveauJournal(avant);
}

} // namespace
