#pragma once

// Fixtures shared by every test that touches the database: each test runs on a fresh SQLite
// file and on a fresh PostgreSQL schema (server given by ./test.sh through VYK_TEST_PG_*),
// with its own settings file and a recorder of the messages shown to the user.

#include "db/BaseDonnees.h"
#include "db/Messages.h"

#include "support/Affichage.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace vyk::test {

enum class Moteur
{
    SQLite,
    PostgreSQL,
    Odbc // the test server through its ODBC data source (VYK_TEST_ODBC_DSN)
};

std::string nomMoteur(const ::testing::TestParamInfo<Moteur> &info);

// Settings file and message recorder of one test (for tests without a database).
class EnvironnementTest
{
  public:
    EnvironnementTest();
    ~EnvironnementTest();
    QString chemin(const QString &nom) const { return m_dossier.filePath(nom); }
    EnregistreurMessages messages;

  private:
    QTemporaryDir m_dossier;
    QByteArray m_ancienReglages;
    std::unique_ptr<SortieMessagesTemporaire> m_sortie;
};

// Parameters of the test server, from the environment; empty host when none was given.
struct ServeurTest
{
    QString hote, port, utilisateur, motDePasse, base;
    bool disponible() const { return !hote.isEmpty(); }
};
ServeurTest serveurTest();

// What vyk-cli returned and printed.
// The user's answers to the core's questions, given as a function: the questions put, and the
// answer to give (No unless set).
struct Reponses
{
    QStringList questions;
    bool reponse = false;
    Confirmation fonction()
    {
        return [this](const QString &question) {
            questions << question;
            return reponse;
        };
    }
};

struct SortieCli
{
    int code = -1; // -1 when it did not finish
    QString sortie, erreurs;
};
// Runs vyk-cli with these arguments (entree on its standard input) and waits for its end.
SortieCli lancerCli(const QStringList &arguments, const QByteArray &entree = {});

class BaseTest : public ::testing::TestWithParam<Moteur>
{
  protected:
    void SetUp() override;
    void TearDown() override;

    Moteur moteur() const { return GetParam(); }
    // The test server, spoken to directly or through ODBC.
    bool estPostgres() const { return GetParam() != Moteur::SQLite; }
    bool estOdbc() const { return GetParam() == Moteur::Odbc; }
    QString typeBase() const { return estPostgres() ? POSTGRESQL : ACCESS; }
    // Path of the test's SQLite file, or the schema on PostgreSQL.
    const QString &emplacement() const { return m_emplacement; }
    QString chemin(const QString &nom) const { return m_env->chemin(nom); }
    // Opens the test database again (after a test closed it).
    bool rouvrir();
    // Opens `base` on the test database: a second connection, as another workstation.
    bool ouvrirConnexion(BaseDonnees &base) const;
    // Makes the commits that change `table` fail: on SQLite `lecteur` reads the file and holds its
    // shared lock (another workstation) until it is closed; on the server a check run at commit
    // refuses any change of the table for the rest of the test.
    void refuserLesCommits(BaseDonnees &lecteur, const QString &table);
    // Another workstation locks `table`, runs `ecriture` and commits 400 ms later, in a thread;
    // `pendant` runs on this connection once the row is written, not yet committed. True when the
    // other workstation committed.
    bool pendantUneEcritureConcurrente(const QString &table, const QString &ecriture,
                                       const std::function<void()> &pendant);
    // The administrator "ADMIN" as the session's user (the session is emptied after each test).
    void connecterAdministrateur();

    // Database errors seen since the start of the test. Unless toleranceErreurs is set, any
    // error fails the test at its end: set it where failing statements are expected.
    QStringList erreursBase;
    bool toleranceErreurs = false;
    EnregistreurMessages &messages() { return m_env->messages; }
    // The last message shown, "" when none.
    QString dernier();
    // The messages shown since the last call, "KIND: text".
    QStringList recus();

    // Shortcuts.
    bool executer(const QString &sql) { return bd().Execute(sql); }
    Tableau lire(const QString &sql) { return bd().extraire(sql); }
    QVariant valeur(const QString &sql) { return bd().valeur(sql); }
    // Rows as text, "|" between columns, for exact comparisons.
    QStringList lignes(const QString &sql);

    // vyk-cli options naming the test database (the server schema travels in PGOPTIONS).
    QStringList connexionCli() const;
    // vyk-cli on the test database: its connection options, then the arguments.
    SortieCli cli(const QStringList &arguments, const QByteArray &entree = {}) const;
    // Settings naming the test database, as the connection screen leaves them.
    void ecrireReglagesBase() const;
    // How the start-up names the test database: the file, or "server/database".
    QString libelleBase() const;

  private:
    std::unique_ptr<EnvironnementTest> m_env;
    QString m_emplacement;
    QString m_schema;
};

} // namespace vyk::test

// For fixtures derived from BaseTest: call in SetUp() first. Stops the derived set-up when the
// engine is not available (skipped test) or the database could not be prepared.
#define VYK_SETUP_BASE()                                                                           \
    do {                                                                                           \
        ::vyk::test::BaseTest::SetUp();                                                            \
        if (IsSkipped() || HasFatalFailure()) return;                                              \
    } while (0)

// Runs a BaseTest suite of the database layer on both engines and through ODBC too.
#define VYK_SUR_LES_TROIS_MOTEURS(Suite)                                                           \
    INSTANTIATE_TEST_SUITE_P(Moteurs, Suite,                                                       \
                             ::testing::Values(::vyk::test::Moteur::SQLite,                        \
                                               ::vyk::test::Moteur::PostgreSQL,                    \
                                               ::vyk::test::Moteur::Odbc),                         \
                             ::vyk::test::nomMoteur)

// Runs a BaseTest suite on both engines.
#define VYK_SUR_LES_DEUX_MOTEURS(Suite)                                                            \
    INSTANTIATE_TEST_SUITE_P(                                                                      \
        Moteurs, Suite,                                                                            \
        ::testing::Values(::vyk::test::Moteur::SQLite, ::vyk::test::Moteur::PostgreSQL),           \
        ::vyk::test::nomMoteur)
