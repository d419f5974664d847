// Two workstations, or two scripts, writing to one database at the same moment: each write
// reads what decides it under the lock, so the result is the one of the two runs one after
// the other.

#include "db/BaseDonnees.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

#include <QFile>
#include <QProcess>

#include <memory>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class CourseEntrePostesTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(mettreAJourBase(versionProgramme()));
    }

    struct Fin
    {
        int code;
        QString sortie, erreurs;
    };

    // Runs the same command in two processes started together.
    std::pair<Fin, Fin> ensemble(const QStringList &premier, const QStringList &second)
    {
        std::unique_ptr<QProcess> p[2] = {std::make_unique<QProcess>(),
                                          std::make_unique<QProcess>()};
        p[0]->start(QStringLiteral(VYK_CLI), connexionCli() + premier);
        p[1]->start(QStringLiteral(VYK_CLI), connexionCli() + second);
        Fin fins[2];
        for (int i = 0; i < 2; ++i) {
            EXPECT_TRUE(p[i]->waitForFinished(60000));
            fins[i] = {p[i]->exitCode(), QString::fromUtf8(p[i]->readAllStandardOutput()),
                       QString::fromUtf8(p[i]->readAllStandardError())};
        }
        return {fins[0], fins[1]};
    }
};

// Two imports of one file: every taxon once, one run adding them and the other updating them.
TEST_P(CourseEntrePostesTest, DeuxImportsDUnMemeFichierNeDoublentAucunTaxon)
{
    const QString fichier = chemin(QStringLiteral("taxons.csv"));
    QFile f(fichier);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Code;Nom latin;Statut\n");
    for (int i = 1; i <= 300; ++i)
        f.write(QStringLiteral("%1;Taxon %1;2\n").arg(50000 + i).toUtf8());
    f.close();
    const QStringList import = {QStringLiteral("taxa"), QStringLiteral("import"), fichier,
                                QStringLiteral("--complete")};
    for (int tour = 0; tour < 3; ++tour) {
        SCOPED_TRACE(tour);
        ASSERT_TRUE(executer(QStringLiteral("DELETE FROM TAXONS")));
        const auto [a, b] = ensemble(import, import);
        EXPECT_EQ(a.code, 0) << qPrintable(a.erreurs);
        EXPECT_EQ(b.code, 0) << qPrintable(b.erreurs);
        const QString ajoute = QStringLiteral("300 ligne(s), 300 taxon(s) ajouté(s), 0 mis à jour");
        const QString misAJour =
            QStringLiteral("300 ligne(s), 0 taxon(s) ajouté(s), 300 mis à jour");
        EXPECT_TRUE((a.sortie.contains(ajoute) && b.sortie.contains(misAJour)) ||
                    (a.sortie.contains(misAJour) && b.sortie.contains(ajoute)))
            << qPrintable(a.sortie + b.sortie);
        EXPECT_EQ(lignes(QStringLiteral("SELECT count(*), count(DISTINCT codeTaxon) FROM TAXONS")),
                  QStringList({"300|300"}));
    }
}

// One login created twice at once makes one account and one refusal; two administrators
// deleted at once leave one.
TEST_P(CourseEntrePostesTest, ComptesCreesOuSupprimesEnMemeTemps)
{
    const QStringList ajout = {QStringLiteral("user"), QStringLiteral("add"),
                               QStringLiteral("agent"), QStringLiteral("--password"),
                               QStringLiteral("Secret9")};
    const auto [a, b] = ensemble(ajout, ajout);
    EXPECT_EQ(a.code + b.code, 1) << qPrintable(a.erreurs + b.erreurs);
    EXPECT_EQ((a.code ? a : b).erreurs, QStringLiteral("Un utilisateur « agent » existe déjà.\n"));
    EXPECT_EQ(lignes(QStringLiteral("SELECT count(*) FROM UTILISATEURS WHERE login = 'agent'")),
              QStringList({"1"}));

    ASSERT_EQ(
        cli({QStringLiteral("user"), QStringLiteral("add"), QStringLiteral("chef"),
             QStringLiteral("--password"), QStringLiteral("Secret9"), QStringLiteral("--admin")})
            .code,
        0);
    const auto [c, d] =
        ensemble({QStringLiteral("user"), QStringLiteral("delete"), QStringLiteral("ADMIN")},
                 {QStringLiteral("user"), QStringLiteral("delete"), QStringLiteral("chef")});
    EXPECT_EQ(c.code + d.code, 1) << qPrintable(c.erreurs + d.erreurs);
    EXPECT_EQ((c.code ? c : d).erreurs,
              QStringLiteral("Il doit rester au moins un administrateur.\n"));
    EXPECT_EQ(lignes(QStringLiteral("SELECT count(*) FROM UTILISATEURS WHERE isAdmin = '1'")),
              QStringList({"1"}));
}

// Keys already held twice by an older database are reported, not deleted, and the unique index
// waits for them to be sorted out.
TEST_P(CourseEntrePostesTest, DoublonsAnterieursSignalesAuJournalSansRienSupprimer)
{
    ASSERT_TRUE(executer(QStringLiteral("DROP INDEX ux_taxons_code")));
    for (const char *sql :
         {"INSERT INTO TAXONS (codeTaxon, nomLatin) VALUES ('9001', 'Gammaridae')",
          "INSERT INTO TAXONS (codeTaxon, nomLatin) VALUES ('9001', 'Gammarus')",
          "INSERT INTO TAXONS (codeTaxon, nomLatin) VALUES ('9002', 'Baetis')",
          "UPDATE PARAMETRES SET mac = '5.0.0' WHERE module = 'VYLEN' AND identifiant = 'version'"})
        ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql << qPrintable(bd().derniereErreur());
    toleranceErreurs = true;
    ASSERT_TRUE(mettreAJourBase(versionProgramme()));
    EXPECT_EQ(lignes(QStringLiteral("SELECT count(*) FROM TAXONS")), QStringList({"3"}));
    EXPECT_FALSE(bd().indexExiste(QStringLiteral("ux_taxons_code")));
    EXPECT_EQ(
        lignes(QStringLiteral(
            "SELECT Titre, description FROM JOURNAL WHERE Titre LIKE '%ux_taxons_code%'")),
        QStringList(
            {"Mise à jour du schéma : l'index unique ux_taxons_code n'est pas créé|"
             "Valeurs en double dans taxons (codeTaxon) : « 9001 » (2 fois). Aucune ligne n'a été "
             "supprimée ; l'index sera créé par une mise à jour qui suivra leur correction."}));
}

VYK_SUR_LES_DEUX_MOTEURS(CourseEntrePostesTest);

} // namespace
