#include "indices/Calculateur.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace vyk;

namespace {

// A calculator root of the test's own, with fake calculators written as shell scripts.
class CalculateurTest : public ::testing::Test
{
  protected:
    QTemporaryDir racine;

    QString dossier(const QString &nom)
    {
        QDir(racine.path()).mkpath(nom + QStringLiteral("/script"));
        return racine.filePath(nom) + u'/';
    }
    QString calculateur(const QByteArray &script)
    {
        const QString d = dossier(QStringLiteral("I2M2"));
        ecrire(d + SCRIPT_DEMARRAGE, script);
        return d;
    }
    static void ecrire(const QString &chemin, const QByteArray &texte)
    {
        QFile f(chemin);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(texte);
    }
    static QByteArray lireFichier(const QString &chemin)
    {
        QFile f(chemin);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
    }
    // A process is gone when /proc no longer lists it or lists it as a zombie.
    static bool vivant(const QString &fichierPid)
    {
        const QByteArray pid = lireFichier(fichierPid).trimmed();
        QFile stat(QStringLiteral("/proc/") + QString::fromLatin1(pid) + QStringLiteral("/stat"));
        if (pid.isEmpty() || !stat.open(QIODevice::ReadOnly)) return false;
        const QByteArray ligne = stat.readAll();
        return ligne.mid(ligne.lastIndexOf(')') + 2, 1) != "Z";
    }
    // A killed process dies when the kernel next schedules it: on a loaded machine that is not
    // at once, so give it a few seconds (a process left running stays alive far longer).
    static bool survit(const QString &fichierPid)
    {
        for (int i = 0; i < 100 && vivant(fichierPid); ++i)
            QThread::msleep(50);
        return vivant(fichierPid);
    }
    ExecutionCalcul lancer(const QString &d, int delai, Progression &p = progressionNulle())
    {
        return lancerCalculateur(d, indice, QStringLiteral("l'I2M2"), delai, p);
    }
    const SortiesCalculateur indice{{QStringLiteral("resultats_I2M2_*.csv")}};
};

// Waits, when first asked, until the script started its child (so that the group is whole
// when it is stopped), then cancels or lets the wait go on to its time limit.
class AttenteEnfant : public Progression
{
  public:
    AttenteEnfant(const QString &fichier, bool annuler) : m_fichier(fichier), m_annuler(annuler) {}
    bool annule() const override
    {
        for (int i = 0; i < 200 && !QFile::exists(m_fichier); ++i)
            QThread::msleep(50);
        return m_annuler;
    }

  private:
    QString m_fichier;
    bool m_annuler;
};

// The script starts a child and both sleep: their ids are left in the folder.
const QByteArray DORMEUR = "echo $$ > pid\nsleep 60 &\necho $! > enfant\nwait\n";

TEST_F(CalculateurTest, DossierChoisiParVersion)
{
    dossier(QStringLiteral("I2M2"));
    EXPECT_EQ(dossierCalculateur(racine.path() + u'/', QStringLiteral("I2M2")),
              QStringLiteral("I2M2"));
    dossier(QStringLiteral("I2M2_2.0"));
    dossier(QStringLiteral("I2M2_1.2.10"));
    EXPECT_EQ(dossierCalculateur(racine.path() + u'/', QStringLiteral("I2M2")),
              QStringLiteral("I2M2_1.2.10"));
    dossier(QStringLiteral("I2M2_1.3.0"));
    EXPECT_EQ(dossierCalculateur(racine.path() + u'/', QStringLiteral("I2M2")),
              QStringLiteral("I2M2_1.3.0"));
    // 1.10.0 against 2.0.0: the numbers as a tuple, not a sum of weighted digits.
    dossier(QStringLiteral("I2M2_1.10.0"));
    dossier(QStringLiteral("I2M2_2.0.0"));
    EXPECT_EQ(dossierCalculateur(racine.path() + u'/', QStringLiteral("I2M2")),
              QStringLiteral("I2M2_2.0.0"));
    // On a tie the first listed stays.
    dossier(QStringLiteral("I2M2_2.0.0.1"));
    EXPECT_EQ(dossierCalculateur(racine.path() + u'/', QStringLiteral("I2M2")),
              QStringLiteral("I2M2_2.0.0"));
    EXPECT_EQ(dossierCalculateur(racine.path() + u'/', QStringLiteral("IBD")), QString());
}

TEST_F(CalculateurTest, NettoyageDesSortiesPrecedentes)
{
    const QString d = dossier(QStringLiteral("I2M2"));
    const QStringList vieux = {
        QStringLiteral("entreeVYK.txt"), QStringLiteral("script/resultats_I2M2_1.csv"),
        QStringLiteral("script/erreur.Rout"), QStringLiteral("script/") + JOURNAL_EXECUTION};
    const QStringList gardes = {QStringLiteral("run.sh"), QStringLiteral("script/calcul.R"),
                                QStringLiteral("script/resultats_IBD_1.csv")};
    for (const QString &f : vieux + gardes)
        ecrire(d + f, "x");
    QString erreur;
    ASSERT_TRUE(nettoyerCalculateur(d, indice, erreur));
    EXPECT_EQ(erreur, QString());
    for (const QString &f : vieux)
        EXPECT_FALSE(QFile::exists(d + f)) << qPrintable(f);
    for (const QString &f : gardes)
        EXPECT_TRUE(QFile::exists(d + f)) << qPrintable(f);
}

TEST_F(CalculateurTest, ScriptAbsent)
{
    const QString d = dossier(QStringLiteral("I2M2_1.0.0"));
    const ExecutionCalcul e = lancer(d, 5);
    EXPECT_EQ(e.fin, FinCalcul::ScriptAbsent);
    EXPECT_EQ(e.message, QStringLiteral("Impossible de trouver le fichier de démarrage: ") +
                             racine.path() + QStringLiteral("/I2M2_1.0.0/run.sh"));
    EXPECT_EQ(messageScriptAbsent(QStringLiteral("C:\\Calculateurs\\I2M2\\")),
              QStringLiteral("Impossible de trouver le fichier de démarrage: "
                             "C:\\Calculateurs\\I2M2\\run.bat"));
}

TEST_F(CalculateurTest, ResultatsEtJournal)
{
    const QString d = calculateur("echo calcul en cours\n"
                                  "printf 'a;b\\n' > script/resultats_I2M2_x.csv\n");
    const ExecutionCalcul e = lancer(d, 30);
    EXPECT_EQ(e.fin, FinCalcul::Resultats);
    EXPECT_EQ(e.message, QString());
    EXPECT_EQ(fichiersScript(d, indice.resultats),
              QStringList{QStringLiteral("resultats_I2M2_x.csv")});
    EXPECT_EQ(lireFichier(d + QStringLiteral("script/") + JOURNAL_EXECUTION), "calcul en cours\n");
}

TEST_F(CalculateurTest, JournalSeulOuFinSansSortie)
{
    const QString attendu = QStringLiteral("Impossible de calculer l'I2M2. Merci de consulter le "
                                           "fichier d'erreur dans le répertoire\r") +
                            racine.path() + QStringLiteral("/I2M2/script");
    QString d = calculateur("echo 'Error in x' > script/calcul.Rout\nsleep 30\n");
    ExecutionCalcul e = lancer(d, 30);
    EXPECT_EQ(e.fin, FinCalcul::JournalErreur);
    EXPECT_EQ(e.message, attendu);
    // A calculator that fails without any file: its output is kept for the user.
    QString erreur;
    ASSERT_TRUE(nettoyerCalculateur(d, indice, erreur));
    d = calculateur("echo 'paquet manquant' >&2\nexit 3\n");
    e = lancer(d, 30);
    EXPECT_EQ(e.fin, FinCalcul::SortieSansResultat);
    EXPECT_EQ(e.message, attendu);
    EXPECT_EQ(lireFichier(d + QStringLiteral("script/") + JOURNAL_EXECUTION), "paquet manquant\n");
}

TEST_F(CalculateurTest, AnnulationEtDelaiArretentLeGroupe)
{
    const QString d = calculateur(DORMEUR);
    AttenteEnfant annulation(d + QStringLiteral("enfant"), true);
    ExecutionCalcul e = lancer(d, 0, annulation);
    EXPECT_EQ(e.fin, FinCalcul::Annule);
    EXPECT_TRUE(QFile::exists(d + QStringLiteral("enfant")));
    EXPECT_FALSE(survit(d + QStringLiteral("pid")));
    EXPECT_FALSE(survit(d + QStringLiteral("enfant")));

    QFile::remove(d + QStringLiteral("enfant"));
    AttenteEnfant attente(d + QStringLiteral("enfant"), false);
    e = lancer(d, 1, attente);
    EXPECT_EQ(e.fin, FinCalcul::DelaiDepasse);
    EXPECT_EQ(
        e.message,
        QStringLiteral("Le calcul de l'I2M2 n'a pas abouti en 1 secondes : il a été arrêté."));
    EXPECT_TRUE(QFile::exists(d + QStringLiteral("enfant")));
    EXPECT_FALSE(survit(d + QStringLiteral("pid")));
    EXPECT_FALSE(survit(d + QStringLiteral("enfant")));
}

TEST_F(CalculateurTest, UnSeulCalculParDossier)
{
    const QString d = calculateur("printf 'a\\n' > script/resultats_I2M2_x.csv\n");
    {
        QLockFile autre(d + QStringLiteral("calcul.lock"));
        ASSERT_TRUE(autre.tryLock(0));
        const ExecutionCalcul e = lancer(d, 5);
        EXPECT_EQ(e.fin, FinCalcul::DejaEnCours);
        EXPECT_EQ(e.message, QStringLiteral("Un calcul est déjà en cours dans le répertoire ") + d);
        EXPECT_TRUE(fichiersScript(d, indice.resultats).isEmpty());
    }
    EXPECT_EQ(lancer(d, 5).fin, FinCalcul::Resultats);
}

} // namespace
