#include "carto/ExportKml.h"
#include "carto/ListesExport.h"
#include "db/BaseDonnees.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class CommandeKmlTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(verifierVersionBase(versionProgramme()));
        for (const char *sql : {
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (1, 'S1', "
                 "'Paris')",
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (2, 'S2', "
                 "'Sans position')",
                 "INSERT INTO QUALITOMETRE_LOCALISATIONS (CodeQualitometre, CodeProjection, X, Y) "
                 "VALUES (1, 16, 2.35, 48.85)",
             })
            ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
        ListeExportQualite l;
        l.setTexte(QStringLiteral("Nom"), QStringLiteral("Réseau nord"));
        l.setTexte(QStringLiteral("CodeProjection"), QStringLiteral("16"));
        l.setTexte(QStringLiteral("ExportKml"), QStringLiteral("1"));
        l.setTexte(QStringLiteral("ExportSite"), QStringLiteral("1"));
        l.stations = stationsExport({"S1", "S2"});
        QString erreur;
        ASSERT_TRUE(enregistrerListeExport(l, &erreur)) << qPrintable(erreur);
        // A list without a projection.
        l.code = -1;
        l.setTexte(QStringLiteral("Nom"), QStringLiteral("Sans projection"));
        l.setTexte(QStringLiteral("CodeProjection"), QString());
        ASSERT_TRUE(enregistrerListeExport(l, &erreur)) << qPrintable(erreur);
    }
    QTemporaryDir dossier;
};

TEST_P(CommandeKmlTest, ExportDUneListeParSonNomOuSonNumero)
{
    const QString sortie = dossier.filePath(QStringLiteral("carte"));
    test::SortieCli r = cli(
        {QStringLiteral("kml"), QStringLiteral("Réseau nord"), QStringLiteral("--out"), sortie});
    ASSERT_EQ(r.code, 0) << qPrintable(r.erreurs);
    const QString fichier = QDir(sortie).filePath(QStringLiteral("Export_1.kml"));
    EXPECT_EQ(r.sortie,
              fichier + u'\n' + QDir(sortie).filePath(QStringLiteral("stylesheets.css")) + u'\n' +
                  QDir(sortie).filePath(QStringLiteral("index.html")) + u'\n' +
                  QDir(sortie).filePath(QStringLiteral("site_S1.html")) + u'\n' +
                  QDir(sortie).filePath(QStringLiteral("site_S2.html")) + u'\n' +
                  QStringLiteral("Exportation terminée : 1 qualitomètre(s) non placé(s) sur la "
                                 "carte :\nS2 - Sans position : pas de coordonnées dans la "
                                 "projection 16.\n"));
    QFile f(fichier);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), documentKml({{QStringLiteral("S1 - Paris"), 2.35, 48.85, {}}}, true));
    // Again, by its number: the same file.
    r = cli({QStringLiteral("kml"), QStringLiteral("1"), QStringLiteral("--out"), sortie});
    EXPECT_EQ(r.code, 0);
}

TEST_P(CommandeKmlTest, RefusAvecLeMessageDeLEcran)
{
    test::SortieCli r = cli({QStringLiteral("kml"), QStringLiteral("Sans projection"),
                             QStringLiteral("--out"), dossier.path()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs,
              QStringLiteral("Sélectionnez une projection pour pouvoir générer le fichier KML.\n"));
    EXPECT_EQ(QDir(dossier.path()).entryList(QDir::Files), QStringList());
    r = cli({QStringLiteral("kml"), QStringLiteral("Inconnue"), QStringLiteral("--out"),
             dossier.path()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.erreurs, QStringLiteral("La liste d'export « Inconnue » n'existe pas.\n"));
    r = cli({QStringLiteral("kml"), QStringLiteral("1")});
    EXPECT_EQ(r.code, 2);
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(CommandeKmlTest);
