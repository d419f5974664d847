#include "classeur/Classeur.h"

#include "support/BaseTest.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>

using namespace vyk;

namespace {

class CommandeSheetTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        Classeur c;
        Feuille *f = c.ajouterFeuille(QStringLiteral("Résumé"));
        f->ecrire(1, 1, QStringLiteral("seule"));
        f = c.ajouterFeuille(QStringLiteral("Relevé d'été"));
        f->ecrire(1, 1, QStringLiteral("Station"));
        f->ecrire(1, 2, QStringLiteral("Note; \"bis\""));
        f->ecrire(1, 3, QStringLiteral("Date"));
        f->ecrire(2, 1, QStringLiteral("06000123"));
        f->ecrire(2, 2, 4.25);
        f->ecrire(2, 3, QDate(2023, 7, 14));
        f->ecrire(4, 2, QStringLiteral("deux\nlignes"));
        for (const QString &nom : {QStringLiteral("c.xlsx"), QStringLiteral("c.ods")})
            ASSERT_TRUE(c.enregistrer(dossier.filePath(nom))) << qPrintable(c.detail());
    }

    QTemporaryDir dossier;
};

TEST_F(CommandeSheetTest, FeuillesEtCellules)
{
    for (const QString &nom : {QStringLiteral("c.xlsx"), QStringLiteral("c.ods")}) {
        const QString chemin = dossier.filePath(nom);
        test::SortieCli r =
            test::lancerCli({QStringLiteral("sheet"), QStringLiteral("sheets"), chemin});
        EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
        EXPECT_EQ(r.sortie, QStringLiteral("Résumé\nRelevé d'été\n"));
        r = test::lancerCli({QStringLiteral("sheet"), QStringLiteral("dump"), chemin,
                             QStringLiteral("--sheet"), QStringLiteral("Relevé d'été")});
        EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
        EXPECT_EQ(r.sortie, QStringLiteral("Station;\"Note; \"\"bis\"\"\";Date\n"
                                           "06000123;4.25;14/07/2023\n"
                                           ";;\n"
                                           ";\"deux\nlignes\";\n"));
        r = test::lancerCli({QStringLiteral("sheet"), QStringLiteral("dump"), chemin});
        EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
        EXPECT_EQ(r.sortie, QStringLiteral("seule\n"));
    }
}

TEST_F(CommandeSheetTest, RefusNommes)
{
    const QString chemin = dossier.filePath(QStringLiteral("c.ods"));
    test::SortieCli r = test::lancerCli({QStringLiteral("sheet"), QStringLiteral("dump"), chemin,
                                         QStringLiteral("--sheet"), QStringLiteral("Absente")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.sortie, QString());
    EXPECT_EQ(r.erreurs, QStringLiteral("La feuille « Absente » n'existe pas dans le classeur.\n"));

    const QString faux = dossier.filePath(QStringLiteral("faux.xlsx"));
    QFile f(faux);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("PK\x03\x04 pas un classeur");
    f.close();
    r = test::lancerCli({QStringLiteral("sheet"), QStringLiteral("sheets"), faux});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.sortie, QString());
    EXPECT_EQ(
        r.erreurs,
        QStringLiteral("Impossible d'ouvrir le fichier Excel. (format de classeur inconnu)\n"));

    r = test::lancerCli({QStringLiteral("sheet"), QStringLiteral("dump")});
    EXPECT_EQ(r.code, 2);
    r = test::lancerCli({QStringLiteral("sheet"), QStringLiteral("sheets"), chemin,
                         QStringLiteral("--sheet"), QStringLiteral("x")});
    EXPECT_EQ(r.code, 2);
}

} // namespace
