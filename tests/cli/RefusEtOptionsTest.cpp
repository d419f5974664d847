// What vyk-cli refuses, and how it says so: options out of place or out of range, files that are
// no VYK database, a database held by another program. Nothing is written in any of these.

#include "db/BaseDonnees.h"
#include "db/Moteur.h"
#include "schema/TableAnalyses.h"
#include "users/AccesStations.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <sys/stat.h>

using namespace vyk;
using vyk::test::BaseTest;
using vyk::test::lancerCli;
using vyk::test::SortieCli;

namespace {

class RefusEtOptionsTest : public BaseTest
{
  protected:
    // vyk-cli run by the shell, which can hand it bytes that are no UTF-8 ("$@": the arguments).
    static SortieCli lancerShell(const QString &script, const QStringList &arguments)
    {
        QProcess p;
        p.start(QStringLiteral("/bin/sh"),
                QStringList{QStringLiteral("-c"), script, QStringLiteral("sh"),
                            QStringLiteral(VYK_CLI)} +
                    arguments);
        p.waitForFinished(60000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }

    QStringList utilisateurs()
    {
        return lignes(QStringLiteral("SELECT login, password FROM UTILISATEURS ORDER BY login"));
    }
};

// "-h" and "--help" are the help only right after the command or its sub-command; elsewhere they
// are values like others. A password that looks like an option is taken as it is.
TEST_P(RefusEtOptionsTest, AideSeulementApresLaCommandeEtMotsDePasseCommeDesOptions)
{
    ASSERT_EQ(cli({QStringLiteral("user"), QStringLiteral("add"), QStringLiteral("agent"),
                   QStringLiteral("--password"), QStringLiteral("Depart1")})
                  .code,
              0);
    SortieCli r = cli({QStringLiteral("user"), QStringLiteral("passwd"), QStringLiteral("agent"),
                       QStringLiteral("--Secret9")});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    r = cli({QStringLiteral("user"), QStringLiteral("passwd"), QStringLiteral("agent"),
             QStringLiteral("-h")});
    EXPECT_FALSE(r.sortie.startsWith(QStringLiteral("Usage"))) << qPrintable(r.sortie);
    EXPECT_EQ(utilisateurs(),
              QStringList({"ADMIN|KOBAL", r.code == 0 ? "agent|-h" : "agent|--Secret9"}));

    // Mis-encoded bytes, on the command line or on standard input, are refused, not turned into
    // replacement characters that would make two different passwords equal.
    const QStringList arguments =
        connexionCli() +
        QStringList{QStringLiteral("user"), QStringLiteral("passwd"), QStringLiteral("agent")};
    r = lancerShell(QStringLiteral("exec \"$@\" \"$(printf 'Secr\\351t9')\""), arguments);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(
        r.erreurs,
        QStringLiteral("L'argument n° %1 n'est pas du texte UTF-8 valide : rien n'a été fait.\n")
            .arg(arguments.size() + 1));
    const QByteArray invalide = "Secr\xE9t9\n";
    r = cli({QStringLiteral("user"), QStringLiteral("passwd"), QStringLiteral("agent"),
             QStringLiteral("-")},
            invalide);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs, QStringLiteral("Le mot de passe contient un caractère non permis.\n"));

    for (const QStringList &aide :
         {QStringList{QStringLiteral("user"), QStringLiteral("--help")},
          QStringList{QStringLiteral("user"), QStringLiteral("passwd"), QStringLiteral("-h")},
          QStringList{QStringLiteral("codes"), QStringLiteral("-h")}}) {
        r = cli(aide);
        EXPECT_EQ(r.code, 0) << qPrintable(aide.join(u' '));
        EXPECT_TRUE(r.sortie.startsWith(QStringLiteral("Usage : vyk-cli"))) << qPrintable(r.sortie);
    }
}

// A password given as "-" is read from standard input, for the connection as for an account:
// the first line is the connection's, the second the account's.
TEST_P(RefusEtOptionsTest, MotDePasseDeConnexionLuSurLEntreeStandard)
{
    QStringList connexion = connexionCli();
    const qsizetype i = connexion.indexOf(QStringLiteral("--password"));
    QByteArray entree = "ignore\n";
    if (i >= 0) {
        entree = connexion[i + 1].toUtf8() + '\n';
        connexion[i + 1] = QStringLiteral("-");
    } else {
        connexion << QStringLiteral("--password") << QStringLiteral("-");
    }
    const SortieCli r =
        lancerCli(connexion + QStringList{QStringLiteral("user"), QStringLiteral("add"),
                                          QStringLiteral("agent"), QStringLiteral("--password"),
                                          QStringLiteral("-")},
                  entree + "Secret9\n");
    ASSERT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(utilisateurs(), QStringList({"ADMIN|KOBAL", "agent|Secret9"}));
}

// Options that would silently mean something else are refused before the database is touched.
TEST_P(RefusEtOptionsTest, PortDatesEtLoginHorsDePlaceRefuses)
{
    for (const char *port : {"abc", "70000", "0", "54 32"}) {
        const SortieCli r = lancerCli(
            {QStringLiteral("--type"), POSTGRESQL, QStringLiteral("--server"),
             QStringLiteral("127.0.0.1"), QStringLiteral("--base"), QStringLiteral("x"),
             QStringLiteral("--port"), QString::fromLatin1(port), QStringLiteral("journal")});
        EXPECT_EQ(r.code, 1) << port;
        EXPECT_EQ(r.erreurs,
                  QStringLiteral("Le port « %1 » n'est pas un numéro de port (1 à 65535).\n")
                      .arg(QLatin1String(port)));
    }
    SortieCli r = cli({QStringLiteral("journal"), QStringLiteral("--since"),
                       QStringLiteral("01/02/2020 demain")});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.erreurs, QStringLiteral("Date incorrecte : « 01/02/2020 demain » (attendu "
                                        "JJ/MM/AAAA ou JJ/MM/AAAA hh:mm:ss).\n"));
    test::creerTablesCatalogue({"JOURNAL"});
    r = cli({QStringLiteral("journal"), QStringLiteral("--since"),
             QStringLiteral("01/02/2020 10:30:00")});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    r = cli({QStringLiteral("analyses"), QStringLiteral("--station"), QStringLiteral("X"),
             QStringLiteral("--from"), QStringLiteral("31/12/2020x")});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.erreurs,
              QStringLiteral("Date incorrecte : « 31/12/2020x » (attendu JJ/MM/AAAA).\n"));
}

// Two stations whose codes differ only by case share one analysis table on the desktop file:
// each shows its own analyses, and a user shown only one station reads only that one.
TEST_P(RefusEtOptionsTest, AnalysesFiltreesParStationEtParUtilisateur)
{
    test::creerTablesQualite();
    // One table for both: names are read without regard to case by both engines.
    ASSERT_TRUE(creerTableAnalyses(QStringLiteral("bss9")));
    for (const char *sql :
         {"INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (1, 'bss9')",
          "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (2, 'BSS9')",
          "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut) VALUES (1, 1, "
          "#01/02/2021#)",
          "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut) VALUES (1, 2, "
          "#01/03/2021#)",
          "INSERT INTO ANALYSES_bss9 (CodeQualitometre, NumPrelevement, NumAnalyse, CodeParametre, "
          "Resultat) VALUES (1, 1, 0, '1340', 11)",
          "INSERT INTO ANALYSES_bss9 (CodeQualitometre, NumPrelevement, NumAnalyse, CodeParametre, "
          "Resultat) VALUES (2, 1, 0, '1340', 22)"})
        ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql << qPrintable(bd().derniereErreur());
    auto resultats = [&](const QStringList &avant, const char *station) {
        const SortieCli r =
            lancerCli(connexionCli() + avant +
                      QStringList{QStringLiteral("analyses"), QStringLiteral("--station"),
                                  QString::fromLatin1(station)});
        QStringList r6;
        for (const QString &l : r.sortie.split(u'\n', Qt::SkipEmptyParts).mid(1))
            r6 << l.section(u',', 1, 1) + u'=' + l.section(u',', 6, 6);
        return QString::number(r.code) + u':' + r6.join(u' ') + r.erreurs.trimmed();
    };
    EXPECT_EQ(resultats({}, "bss9"), QStringLiteral("0:02/01/2021=11"));
    EXPECT_EQ(resultats({}, "BSS9"), QStringLiteral("0:03/01/2021=22"));

    ASSERT_EQ(cli({QStringLiteral("user"), QStringLiteral("add"), QStringLiteral("agent"),
                   QStringLiteral("--password"), QStringLiteral("Secret9")})
                  .code,
              0);
    ASSERT_TRUE(accorderStation(QStringLiteral("agent"), 1)) << qPrintable(bd().derniereErreur());
    const QStringList agent = {QStringLiteral("--login"), QStringLiteral("agent")};
    EXPECT_EQ(resultats(agent, "bss9"), QStringLiteral("0:02/01/2021=11"));
    EXPECT_EQ(resultats(agent, "BSS9"),
              QStringLiteral("1:L'utilisateur agent n'a pas accès au qualitomètre « BSS9 »."));
}

VYK_SUR_LES_DEUX_MOTEURS(RefusEtOptionsTest);

// Files that are no VYK database: named for what they are, and left as they were.
class FichiersRefusesTest : public ::testing::Test
{
  protected:
    QString chemin(const QString &nom) const { return m_env.chemin(nom); }
    static SortieCli lister(const QString &base)
    {
        return lancerCli(
            {QStringLiteral("--base"), base, QStringLiteral("user"), QStringLiteral("list")});
    }
    test::EnvironnementTest m_env;
};

TEST_F(FichiersRefusesTest, FichierVideEtrangerDossierEtTubeNommesPourCeQuIlsSont)
{
    const QString vide = chemin(QStringLiteral("vide.mdb"));
    QFile(vide).open(QIODevice::WriteOnly);
    SortieCli r = lister(vide);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs,
              QStringLiteral(
                  "« %1 » n'est pas une base de données VYK (le fichier est vide) : rien n'y a été "
                  "écrit. "
                  "vyk-cli create FICHIER crée une base, vyk-cli upgrade met une base au schéma.\n")
                  .arg(vide));
    EXPECT_EQ(QFileInfo(vide).size(), 0);

    // Another program's database keeps its tables and gets no account table.
    const QString etrangere = chemin(QStringLiteral("autre.db"));
    ASSERT_TRUE(BaseDonnees::creerBaseBureau(etrangere));
    {
        BaseDonnees autre;
        ASSERT_TRUE(autre.ouvrirBase(etrangere, ACCESS, {}, {}, {}));
        ASSERT_TRUE(autre.Execute(QStringLiteral("CREATE TABLE COMMANDES (n Long)")));
    }
    r = lister(etrangere);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.erreurs.contains(
        QStringLiteral("(ses tables ne sont pas celles de VYK) : rien n'y a été écrit.")))
        << qPrintable(r.erreurs);
    {
        BaseDonnees autre;
        ASSERT_TRUE(autre.ouvrirBase(etrangere, ACCESS, {}, {}, {}));
        EXPECT_EQ(autre.tables().join(u','), QStringLiteral("COMMANDES"));
    }

    r = lister(m_env.chemin({}));
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(
        r.erreurs.contains(QStringLiteral("» est un dossier, pas un fichier de base de données.")))
        << qPrintable(r.erreurs);

    const QString tube = chemin(QStringLiteral("tube"));
    ASSERT_EQ(mkfifo(tube.toLocal8Bit().constData(), 0600), 0);
    r = lister(tube);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.erreurs.contains(
        QStringLiteral("n'est pas un fichier ordinaire (périphérique, tube ou socket)")))
        << qPrintable(r.erreurs);

    // The upgrade brings an empty file to the schema.
    r = lancerCli({QStringLiteral("--base"), vide, QStringLiteral("upgrade")});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(lister(vide).code, 0);
}

// A damaged file is refused before anything is written to it.
TEST_F(FichiersRefusesTest, FichierEndommageRefuseAvantToutEcriture)
{
    const QString base = chemin(QStringLiteral("abime.mdb"));
    ASSERT_TRUE(BaseDonnees::creerBaseBureau(base));
    {
        BaseDonnees b;
        ASSERT_TRUE(b.ouvrirBase(base, ACCESS, {}, {}, {}));
        ASSERT_TRUE(b.Execute(
            QStringLiteral("CREATE TABLE TAXONS (codeTaxon Text(20), nomLatin Text(255))")));
        ASSERT_TRUE(b.Execute(QStringLiteral("CREATE INDEX ind_taxons ON TAXONS (codeTaxon)")));
        for (int i = 0; i < 2000; ++i)
            ASSERT_TRUE(b.Execute(
                QStringLiteral("INSERT INTO TAXONS VALUES ('%1', 'Taxon numéro %1')").arg(i)));
    }
    QFile f(base);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const qint64 taille = f.size();
    f.seek(taille / 2);
    f.write(QByteArray(4096, '\x5A'));
    f.close();
    const SortieCli r = lister(base);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.erreurs.startsWith(
        QStringLiteral(
            "La connexion à la base de données (%1) n'a pas fonctionné : Le fichier « %1 » ")
            .arg(base)))
        << qPrintable(r.erreurs);
    EXPECT_TRUE(r.erreurs.contains(QStringLiteral("endommagé"))) << qPrintable(r.erreurs);
    EXPECT_EQ(QFileInfo(base).size(), taille);
}

// A file another program holds: the commands say so in French, and write nothing.
TEST_F(FichiersRefusesTest, FichierTenuParUnAutreProgramme)
{
    const QString base = chemin(QStringLiteral("tenu.mdb"));
    ASSERT_TRUE(BaseDonnees::creerBaseBureau(base));
    ASSERT_EQ(
        lancerCli({QStringLiteral("--base"), base, QStringLiteral("user"), QStringLiteral("list")})
            .code,
        0);
    BaseDonnees autre;
    ASSERT_TRUE(autre.ouvrirBase(base, ACCESS, {}, {}, {}));
    QString e;
    // Held for writing: the opening itself cannot read the file.
    ASSERT_TRUE(autre.moteur()->executer(QStringLiteral("BEGIN EXCLUSIVE"), nullptr, nullptr, e))
        << qPrintable(e);
    SortieCli r = lister(base);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(
        r.erreurs,
        QStringLiteral(
            "La connexion à la base de données (%1) n'a pas fonctionné : Le fichier « %1 » est "
            "utilisé par un autre programme : rien n'a été écrit.\n")
            .arg(base));
    ASSERT_TRUE(autre.moteur()->executer(QStringLiteral("ROLLBACK"), nullptr, nullptr, e));

    // Read by another program: the writes wait, then give up at the commit, and nothing stays.
    ASSERT_TRUE(autre.moteur()->executer(QStringLiteral("BEGIN"), nullptr, nullptr, e));
    Tableau t;
    ASSERT_TRUE(autre.moteur()->executer(QStringLiteral("SELECT count(*) FROM UTILISATEURS"), &t,
                                         nullptr, e));
    r = lancerCli({QStringLiteral("--base"), base, QStringLiteral("user"), QStringLiteral("add"),
                   QStringLiteral("agent"), QStringLiteral("--password"),
                   QStringLiteral("Secret9")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(
        r.erreurs,
        QStringLiteral("L'utilisateur n'a pas pu être créé : Rien n'a été enregistré : la base est "
                       "utilisée par un autre programme.\n"));
    r = lancerCli({QStringLiteral("--base"), base, QStringLiteral("upgrade")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.sortie, QString());
    EXPECT_EQ(r.erreurs,
              QStringLiteral(
                  "La mise à jour de la base n'est pas allée à son terme : la base est utilisée "
                  "par un autre programme\n"));
    autre.moteur()->executer(QStringLiteral("ROLLBACK"), nullptr, nullptr, e);

    // Once upgraded, a nomenclature import said done while nothing was written.
    ASSERT_EQ(lancerCli({QStringLiteral("--base"), base, QStringLiteral("upgrade")}).code, 0);
    ASSERT_TRUE(autre.moteur()->executer(QStringLiteral("BEGIN"), nullptr, nullptr, e));
    ASSERT_TRUE(autre.moteur()->executer(QStringLiteral("SELECT count(*) FROM CODES_SANDRE"), &t,
                                         nullptr, e));
    const QString avant =
        autre.valeur(QStringLiteral("SELECT count(*) FROM CODES_SANDRE")).toString();
    r = lancerCli({QStringLiteral("--base"), base, QStringLiteral("codes"),
                   QStringLiteral("import"),
                   QStringLiteral(VYK_TEST_DATA "/referentiels/nsa_155.xml")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.sortie, QString());
    EXPECT_EQ(
        r.erreurs,
        QStringLiteral("nsa_155.xml : Rien n'a été enregistré : la base est utilisée par un autre "
                       "programme.\n"));
    autre.fermerBase();
    r = lancerCli({QStringLiteral("--base"), base, QStringLiteral("user"), QStringLiteral("list")});
    EXPECT_FALSE(r.sortie.contains(QStringLiteral("agent"))) << qPrintable(r.sortie);
    r = lancerCli({QStringLiteral("--base"), base, QStringLiteral("sql"),
                   QStringLiteral("SELECT count(*) FROM CODES_SANDRE")});
    EXPECT_EQ(r.sortie.section(u'\n', 1, 1), avant);
}

} // namespace
