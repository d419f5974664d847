#include "db/BaseDonnees.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

#include <QDir>
#include <QFile>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class CommandeReferentielTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(mettreAJourBase(versionProgramme()));
    }

    QString fichier(const QString &nom, const QString &texte) const
    {
        const QString c = chemin(nom);
        QFile f(c);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(texte.toUtf8());
        return c;
    }

    test::SortieCli importer(const char *liste, const QString &fichier) const
    {
        return cli({QStringLiteral("referentiel"), QStringLiteral("import"),
                    QString::fromLatin1(liste), fichier});
    }
};

TEST_P(CommandeReferentielTest, ImportPourLesScriptsUneLigneDeBilanEtLesRejets)
{
    const QString csv =
        fichier(QStringLiteral("supports.csv"),
                QStringLiteral("CD_SUPPORT;NOM_SUPPORT\n901;Eau de nappe\n123456;Trop long\n"));
    test::SortieCli r = importer("supports", csv);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.sortie,
              QStringLiteral(
                  "supports.csv : 2 ligne(s), 1 ajoutée(s), 0 mise(s) à jour, 1 rejetée(s)\n"));
    EXPECT_EQ(
        r.erreurs,
        QStringLiteral("supports.csv : Code 123456 : code trop long (5 caractères au plus)\n"));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT Code, Nom FROM ANALYSES_SUPPORTS WHERE Code IN ('901', '123456')")),
              QStringList({"901|Eau de nappe"}));

    // Again with a new name: updated, nothing added twice.
    fichier(QStringLiteral("supports.csv"), QStringLiteral("Code;Nom\n901;Eau souterraine\n"));
    r = importer("SUPPORTS", csv);
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie,
              QStringLiteral(
                  "supports.csv : 1 ligne(s), 0 ajoutée(s), 1 mise(s) à jour, 0 rejetée(s)\n"));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code, Nom FROM ANALYSES_SUPPORTS WHERE Code = '901'")),
              QStringList({"901|Eau souterraine"}));
}

TEST_P(CommandeReferentielTest, FichierOuListeRefusesSansRienEcrire)
{
    const QString avant =
        valeur(QStringLiteral("SELECT count(*) FROM ANALYSES_PARAMETRES")).toString();
    test::SortieCli r = importer("parametres", QStringLiteral(VYK_TEST_DATA "/taxons/taxons.csv"));
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.erreurs.startsWith(
        QStringLiteral("Les colonnes du fichier taxons.csv ne sont pas celles d'une "
                       "liste des paramètres")))
        << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, QString());
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM ANALYSES_PARAMETRES")).toString(), avant);

    r = importer("parametres", chemin(QStringLiteral("absent.csv")));
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.erreurs.endsWith(QStringLiteral("absent.csv n'existe pas.\n")))
        << qPrintable(r.erreurs);
    // A folder is named as such, for the parameters as for the taxa, and nothing is read.
    const QString dossier = QDir::toNativeSeparators(QStringLiteral(VYK_TEST_DATA "/taxons"));
    r = importer("parametres", QStringLiteral(VYK_TEST_DATA "/taxons"));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs, QStringLiteral("« %1 » est un dossier, pas un fichier.\n").arg(dossier));
    r = cli({QStringLiteral("taxa"), QStringLiteral("import"),
             QStringLiteral(VYK_TEST_DATA "/taxons")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs, QStringLiteral("« %1 » est un dossier, pas un fichier.\n").arg(dossier));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM ANALYSES_PARAMETRES")).toString(), avant);
    r = importer("taxons", QStringLiteral(VYK_TEST_DATA "/taxons/taxons.csv"));
    EXPECT_EQ(r.code, 2);
    r = cli({QStringLiteral("referentiel"), QStringLiteral("import"), QStringLiteral("unites")});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.erreurs.contains(
        QStringLiteral("referentiel import parametres|unites|methodes|fractions|supports FICHIER")))
        << qPrintable(r.erreurs);
}

VYK_SUR_LES_DEUX_MOTEURS(CommandeReferentielTest);

} // namespace
