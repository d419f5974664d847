#include "support/BaseTest.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/Moteur.h"
#include "db/Session.h"
#include "db/Tableau.h"

#include <QCoreApplication>
#include <QProcess>
#include <QUuid>

#include <atomic>
#include <thread>

namespace vyk::test {

std::string nomMoteur(const ::testing::TestParamInfo<Moteur> &info)
{
    switch (info.param) {
    case Moteur::SQLite:
        return "SQLite";
    case Moteur::PostgreSQL:
        return "PostgreSQL";
    case Moteur::Odbc:
        break;
    }
    return "ODBC";
}

EnvironnementTest::EnvironnementTest()
{
    m_ancienReglages = qgetenv("VYK_SETTINGS");
    qputenv("VYK_SETTINGS", m_dossier.filePath(QStringLiteral("VYK6.ini")).toUtf8());
    m_sortie = std::make_unique<SortieMessagesTemporaire>(&messages);
}

EnvironnementTest::~EnvironnementTest()
{
    m_sortie.reset();
    if (m_ancienReglages.isNull())
        qunsetenv("VYK_SETTINGS");
    else
        qputenv("VYK_SETTINGS", m_ancienReglages);
}

ServeurTest serveurTest()
{
    ServeurTest s;
    s.hote = qEnvironmentVariable("VYK_TEST_PG_HOST");
    s.port = qEnvironmentVariable("VYK_TEST_PG_PORT");
    s.utilisateur = qEnvironmentVariable("VYK_TEST_PG_USER", QStringLiteral("postgres"));
    s.motDePasse = qEnvironmentVariable("VYK_TEST_PG_PASSWORD");
    s.base = qEnvironmentVariable("VYK_TEST_PG_BASE", QStringLiteral("vyk_test"));
    return s;
}

SortieCli lancerCli(const QStringList &arguments, const QByteArray &entree)
{
    QProcess p;
    p.start(QStringLiteral(VYK_CLI), arguments);
    if (!entree.isEmpty()) p.write(entree);
    p.closeWriteChannel();
    SortieCli r;
    const bool fini = p.waitForFinished(60000);
    EXPECT_TRUE(fini) << "vyk-cli ne s'est pas terminé : " << qPrintable(arguments.join(u' '));
    if (!fini) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.code = p.exitCode();
    r.sortie = QString::fromUtf8(p.readAllStandardOutput());
    r.erreurs = QString::fromUtf8(p.readAllStandardError());
    return r;
}

void BaseTest::SetUp()
{
    m_env = std::make_unique<EnvironnementTest>();
    bd().fermerBase();
    bd().setObservateurErreurs([this](const QString &sql, const QString &erreur) {
        erreursBase << erreur + QStringLiteral(" <- ") + sql.left(300);
    });
    if (estPostgres()) {
        const ServeurTest s = serveurTest();
        if (!s.disponible())
            GTEST_SKIP()
                << "Aucun serveur PostgreSQL de test (VYK_TEST_PG_HOST) : ./test.sh en démarre un.";
        if (estOdbc() && qEnvironmentVariableIsEmpty("VYK_TEST_ODBC_DSN"))
            GTEST_SKIP() << "Aucune source de données ODBC de test (VYK_TEST_ODBC_DSN) : ./test.sh "
                            "en écrit une sur son serveur PostgreSQL.";
        // Each test works in a schema of its own; PGOPTIONS reaches every connection the test
        // opens, including reconnections made by the code under test.
        m_schema = QStringLiteral("t_") + QUuid::createUuid().toString(QUuid::Id128).left(20);
        qputenv("PGOPTIONS", ("-c search_path=" + m_schema).toUtf8());
        ASSERT_TRUE(bd().ouvrirBase(s.base, POSTGRESQL, s.hote, s.utilisateur, s.motDePasse,
                                    QStringLiteral("VYK"), s.port))
            << qPrintable(bd().derniereErreur());
        ASSERT_TRUE(bd().Execute(QStringLiteral("CREATE SCHEMA ") + m_schema))
            << qPrintable(bd().derniereErreur());
        ASSERT_TRUE(rouvrir());
        m_emplacement = m_schema;
    } else {
        m_emplacement = chemin(QStringLiteral("test.db"));
        ASSERT_TRUE(BaseDonnees::creerBaseBureau(m_emplacement));
        ASSERT_TRUE(rouvrir());
    }
}

bool BaseTest::rouvrir()
{
    return ouvrirConnexion(bd());
}

bool BaseTest::ouvrirConnexion(BaseDonnees &base) const
{
    if (estOdbc()) {
        const ServeurTest s = serveurTest();
        return base.ouvrirBase(qEnvironmentVariable("VYK_TEST_ODBC_DSN"), ORACLE, {}, s.utilisateur,
                               s.motDePasse, QStringLiteral("VYK"), {});
    }
    if (estPostgres()) {
        const ServeurTest s = serveurTest();
        return base.ouvrirBase(s.base, POSTGRESQL, s.hote, s.utilisateur, s.motDePasse,
                               QStringLiteral("VYK"), s.port);
    }
    return base.ouvrirBase(m_emplacement, ACCESS, {}, {}, {}, QStringLiteral("VYK"), {});
}

void BaseTest::refuserLesCommits(BaseDonnees &lecteur, const QString &table)
{
    QString e;
    if (estPostgres()) {
        ASSERT_TRUE(bd().moteur()->executer(
            QStringLiteral("CREATE OR REPLACE FUNCTION refuser() RETURNS trigger LANGUAGE "
                           "plpgsql AS $$ BEGIN RAISE EXCEPTION 'refusé'; END $$"),
            nullptr, nullptr, e))
            << qPrintable(e);
        ASSERT_TRUE(bd().moteur()->executer(
            QStringLiteral("CREATE CONSTRAINT TRIGGER garde AFTER INSERT OR UPDATE OR DELETE ON ") +
                table +
                QStringLiteral(
                    " DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION refuser()"),
            nullptr, nullptr, e))
            << qPrintable(e);
        return;
    }
    ASSERT_TRUE(ouvrirConnexion(lecteur)) << qPrintable(lecteur.derniereErreur());
    ASSERT_TRUE(lecteur.moteur()->executer(QStringLiteral("BEGIN"), nullptr, nullptr, e));
    Tableau t;
    ASSERT_TRUE(
        lecteur.moteur()->executer(QStringLiteral("SELECT count(*) FROM ") + table, &t, nullptr, e))
        << qPrintable(e);
}

bool BaseTest::pendantUneEcritureConcurrente(const QString &table, const QString &ecriture,
                                             const std::function<void()> &pendant)
{
    std::atomic<bool> ecrit = false, valide = false;
    std::thread autrePoste([&] {
        BaseDonnees autre;
        const bool ok = ouvrirConnexion(autre) && autre.debutTransaction() &&
                        autre.verrouiller(table) && autre.Execute(ecriture);
        ecrit = true;
        if (!ok) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        valide = autre.finTransaction(false);
    });
    while (!ecrit)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    pendant();
    autrePoste.join();
    return valide;
}

void BaseTest::TearDown()
{
    session().vider();
    bd().setObservateurErreurs({});
    while (bd().enTransaction())
        bd().finTransaction(true);
    if (estPostgres() && !m_schema.isEmpty()) {
        qunsetenv("PGOPTIONS");
        const ServeurTest s = serveurTest();
        if (bd().ouvrirBase(s.base, POSTGRESQL, s.hote, s.utilisateur, s.motDePasse,
                            QStringLiteral("VYK"), s.port))
            bd().Execute(QStringLiteral("DROP SCHEMA ") + m_schema + QStringLiteral(" CASCADE"));
    }
    bd().fermerBase();
    if (!toleranceErreurs && !erreursBase.isEmpty())
        ADD_FAILURE() << "Erreurs de base inattendues :\n" << qPrintable(erreursBase.join(u'\n'));
    m_env.reset();
}

void BaseTest::connecterAdministrateur()
{
    session().vider();
    session().login = QStringLiteral("ADMIN");
    session().administrateur = true;
}

QStringList BaseTest::lignes(const QString &sql)
{
    const Tableau t = bd().extraire(sql);
    QStringList r;
    for (int l = 0; l < t.nbLignes(); ++l) {
        QStringList champs;
        for (int c = 0; c < t.nbColonnes(); ++c)
            champs << t.texte(l, c);
        r << champs.join(u'|');
    }
    return r;
}

QString BaseTest::dernier()
{
    return messages().messages().isEmpty() ? QString() : messages().messages().last().texte;
}

QStringList BaseTest::recus()
{
    QStringList r;
    for (const auto &m : messages().messages())
        r << m.genre.toUpper() + QStringLiteral(": ") + m.texte;
    messages().vider();
    return r;
}

QStringList BaseTest::connexionCli() const
{
    if (!estPostgres()) return {QStringLiteral("--base"), m_emplacement};
    const ServeurTest s = serveurTest();
    QStringList options = {
        QStringLiteral("--type"),   POSTGRESQL, QStringLiteral("--base"), s.base,
        QStringLiteral("--server"), s.hote,     QStringLiteral("--user"), s.utilisateur};
    if (!s.port.isEmpty()) options << QStringLiteral("--port") << s.port;
    if (!s.motDePasse.isEmpty()) options << QStringLiteral("--password") << s.motDePasse;
    return options;
}

SortieCli BaseTest::cli(const QStringList &arguments, const QByteArray &entree) const
{
    return lancerCli(connexionCli() + arguments, entree);
}

void BaseTest::ecrireReglagesBase() const
{
    using namespace reglage;
    if (estPostgres()) {
        const ServeurTest s = serveurTest();
        ecrireRegistre(TypeBase, POSTGRESQL);
        ecrireRegistre(Base, s.base);
        ecrireRegistre(ServeurBase, s.hote);
        ecrireRegistre(PortServeurBase, s.port);
        ecrireRegistre(UserBase, s.utilisateur);
        ecrireRegistre(PassBase, s.motDePasse);
    } else {
        ecrireRegistre(TypeBase, ACCESS);
        ecrireRegistre(Base, m_emplacement);
    }
}

QString BaseTest::libelleBase() const
{
    const ServeurTest s = serveurTest();
    return estPostgres() ? s.hote + u'/' + s.base : m_emplacement;
}

} // namespace vyk::test
