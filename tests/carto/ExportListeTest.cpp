#include "carto/ExportKml.h"
#include "carto/ListesExport.h"
#include "carto/SiteWeb.h"
#include "db/BaseDonnees.h"
#include "monitoring/ListeTaxonsOperation.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

// Stations 1 "S1" (Paris, in Lambert 93 and in WGS84), 2 "S2" (WGS84 only), 3 "S3" (no
// position), 4 "S4" (0, 0 in WGS84), 5 "S5" (Lambert 93 figures of another projection).
class ExportListeTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesQualite();
        test::creerTablesCatalogue({"TAXONS", "COMMUNES", "QUALITOMETRE_LOCALISATIONS",
                                    "LISTES_EXPORT_QUALITE", "LISTES_EXPORT_QUALITE_SITES",
                                    "LISTES_EXPORT_QUALITE_PARAM"});
        for (const char *sql : {
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, CodeCommune) VALUES "
                 "(1, 'S1', 'Seine & Marne', 75056)",
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (2, 'S2', "
                 "'Loire')",
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (3, 'S3', "
                 "'Sans position')",
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (4, 'S4', "
                 "'Origine')",
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (5, 'S5', "
                 "'Hors zone')",
                 "INSERT INTO COMMUNES (CodeCommune, Nom, NumDept) VALUES ('75056', 'Paris', "
                 "'75')",
                 "INSERT INTO QUALITOMETRE_LOCALISATIONS (CodeQualitometre, CodeProjection, X, Y, "
                 "Z) VALUES (1, 26, 652469.02, 6862035.26, 35)",
                 "INSERT INTO QUALITOMETRE_LOCALISATIONS (CodeQualitometre, CodeProjection, X, Y, "
                 "Z) VALUES (1, 16, 2.35, 48.85, 35)",
                 "INSERT INTO QUALITOMETRE_LOCALISATIONS (CodeQualitometre, CodeProjection, X, Y, "
                 "Z) VALUES (2, 16, -1.5, 47.2, 0)",
                 "INSERT INTO QUALITOMETRE_LOCALISATIONS (CodeQualitometre, CodeProjection, X, Y) "
                 "VALUES (4, 16, 0, 0)",
                 "INSERT INTO QUALITOMETRE_LOCALISATIONS (CodeQualitometre, CodeProjection, X, Y) "
                 "VALUES (5, 26, 600000, 2428000)",
                 "INSERT INTO TAXONS (codeTaxon, nomLatin) VALUES ('212', 'Baetis')",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('1340', 'Nitrates')",
             })
            ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
    }

    ListeExportQualite liste(const QString &projection, const QStringList &codes)
    {
        ListeExportQualite l;
        l.setTexte(QStringLiteral("Nom"), QStringLiteral("Réseau & rivières"));
        l.setTexte(QStringLiteral("CodeProjection"), projection);
        l.setTexte(QStringLiteral("ExportKml"), QStringLiteral("1"));
        l.setTexte(QStringLiteral("ExportSite"), QStringLiteral("1"));
        l.stations = stationsExport(codes);
        return l;
    }

    QByteArray lireFichier(const QString &chemin)
    {
        QFile f(chemin);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(chemin);
        return f.readAll();
    }

    QTemporaryDir dossier;
};

TEST_P(ExportListeTest, EnregistrementRelectureEtIdempotence)
{
    ListeExportQualite l = liste(QStringLiteral("26"), {"S2", "S1", "S3"});
    l.setTexte(QStringLiteral("DateCalcul"), QStringLiteral("15/02/2024"));
    l.setTexte(QStringLiteral("zoom"), QStringLiteral("7,5"));
    l.setTexte(QStringLiteral("cleeGoogle"), QStringLiteral("clé ' \"x\""));
    l.elements = {
        {GenreElementExport::Macroinvertebres, QStringLiteral("212"), {}, {}},
        {GenreElementExport::PhysicoChimie, QStringLiteral("1340"), QStringLiteral("162"), {}}};
    QString erreur;
    ASSERT_TRUE(enregistrerListeExport(l, &erreur)) << qPrintable(erreur);
    EXPECT_EQ(l.code, 1);
    ASSERT_TRUE(enregistrerListeExport(l, &erreur)) << qPrintable(erreur);
    EXPECT_EQ(l.code, 1);
    EXPECT_EQ(lignes(QStringLiteral("SELECT CodeListe, TypeListe, Code, Ordre FROM "
                                    "LISTES_EXPORT_QUALITE_SITES ORDER BY Ordre")),
              QStringList({"1|1|2|1", "1|1|1|2", "1|1|3|3"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT CodeListe, TypeListe, Code, unite, site FROM "
                                    "LISTES_EXPORT_QUALITE_PARAM ORDER BY site")),
              QStringList({"1|1|212||1", "1|1|1340|162|3"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT CodeListe, Nom, CodeProjection, zoom, cleeGoogle, "
                                    "ExportKml, ExportGenericSites FROM LISTES_EXPORT_QUALITE")),
              QStringList({"1|Réseau & rivières|26|7.5|clé ' \"x\"|1|0"}));

    ListeExportQualite lue;
    ASSERT_TRUE(chargerListeExport(1, lue));
    // Every field as typed, the decimal comma read as a number.
    EXPECT_EQ(lue.texte(QStringLiteral("zoom")), QStringLiteral("7.5"));
    l.setTexte(QStringLiteral("zoom"), QStringLiteral("7.5"));
    EXPECT_EQ(lue.textes, l.textes);
    ASSERT_EQ(lue.stations.size(), 3);
    EXPECT_EQ(lue.stations[0].codeBSS + lue.stations[1].codeBSS + lue.stations[2].codeBSS,
              QStringLiteral("S2S1S3"));
    ASSERT_EQ(lue.elements.size(), 2);
    EXPECT_EQ(lue.elements[0].libelle + u'|' + lue.elements[1].libelle + u'|' +
                  lue.elements[1].unite,
              QStringLiteral("Baetis|Nitrates|162"));
    EXPECT_EQ(listesExport(),
              (QVector<QPair<qint64, QString>>{{1, QStringLiteral("Réseau & rivières")}}));

    // A second list takes the next number; deleting it leaves the first whole.
    ListeExportQualite autre = liste(QStringLiteral("16"), {"S4"});
    ASSERT_TRUE(enregistrerListeExport(autre, &erreur));
    EXPECT_EQ(autre.code, 2);
    ASSERT_TRUE(supprimerListeExport(2));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM LISTES_EXPORT_QUALITE_SITES")).toInt(),
              3);
    EXPECT_FALSE(chargerListeExport(2, lue));
}

TEST_P(ExportListeTest, SaisieRefuseeRienNEstPerdu)
{
    ListeExportQualite l = liste(QStringLiteral("26"), {"S1", "S2"});
    QString erreur;
    ASSERT_TRUE(enregistrerListeExport(l, &erreur));
    l.stations = stationsExport({"S3"});
    l.setTexte(QStringLiteral("zoom"), QStringLiteral("abc"));
    EXPECT_FALSE(enregistrerListeExport(l, &erreur));
    EXPECT_EQ(erreur, QStringLiteral("La valeur de « Zoom » n'est pas un nombre."));
    // A save whose commit fails leaves the saved list as it was.
    l.setTexte(QStringLiteral("zoom"), QString());
    l.elements = {{GenreElementExport::PhysicoChimie, QStringLiteral("1340"), {}, {}}};
    toleranceErreurs = true;
    {
        BaseDonnees lecteur;
        refuserLesCommits(lecteur, QStringLiteral("LISTES_EXPORT_QUALITE_SITES"));
        EXPECT_FALSE(enregistrerListeExport(l, &erreur));
    }
    EXPECT_TRUE(
        erreur.startsWith(QStringLiteral("La liste d'export n'a pas pu être enregistrée : ")))
        << qPrintable(erreur);
    EXPECT_EQ(l.code, 1);
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code FROM LISTES_EXPORT_QUALITE_SITES ORDER BY Ordre")),
              QStringList({"1", "2"}));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM LISTES_EXPORT_QUALITE_PARAM")).toInt(),
              0);
    QStringList inconnus;
    EXPECT_EQ(stationsExport({"S9", "2"}, &inconnus).size(), 1);
    EXPECT_EQ(inconnus, QStringList{"S9"});
}

TEST_P(ExportListeTest, ControlesAvantExport)
{
    BilanExportKml bilan;
    QString erreur;
    ListeExportQualite l = liste(QString(), {});
    l.setTexte(QStringLiteral("Nom"), QStringLiteral("  "));
    EXPECT_FALSE(exporterListe(l, dossier.path(), bilan, &erreur));
    EXPECT_EQ(erreur,
              QStringLiteral("Le nom de l'export n'est pas renseigné. Merci de le compléter."));
    l.setTexte(QStringLiteral("Nom"), QStringLiteral("Export"));
    EXPECT_FALSE(exporterListe(l, dossier.path(), bilan, &erreur));
    EXPECT_EQ(erreur,
              QStringLiteral("Sélectionnez une projection pour pouvoir générer le fichier KML."));
    l.setTexte(QStringLiteral("CodeProjection"), QStringLiteral("Lambert 93 [26]"));
    EXPECT_FALSE(exporterListe(l, dossier.path(), bilan, &erreur));
    EXPECT_EQ(erreur, QStringLiteral("Ajoutez au minimum une station à la liste pour pouvoir "
                                     "générer le fichier KML."));
    EXPECT_EQ(QDir(dossier.path()).entryList(QDir::Files), QStringList());
}

TEST_P(ExportListeTest, KmlDesPositionsStockeesEnWgs84)
{
    ListeExportQualite l = liste(QStringLiteral("16"), {"S1", "S2", "S3", "S4"});
    QString erreur;
    ASSERT_TRUE(enregistrerListeExport(l, &erreur));
    l.setTexte(QStringLiteral("ExportSite"), QStringLiteral("0"));
    BilanExportKml bilan;
    ASSERT_TRUE(exporterListe(l, dossier.path(), bilan, &erreur)) << qPrintable(erreur);
    // Without the station folder: the styles alone, no page.
    QByteArray attendu = documentKml({}, false);
    EXPECT_EQ(lireFichier(dossier.filePath(QStringLiteral("Export_1.kml"))), attendu);
    EXPECT_EQ(bilan.message(), QStringLiteral("Exportation terminée"));

    l.setTexte(QStringLiteral("ExportSite"), QStringLiteral("1"));
    ASSERT_TRUE(exporterListe(l, dossier.path(), bilan, &erreur)) << qPrintable(erreur);
    const QByteArray kml = lireFichier(bilan.fichier);
    attendu = documentKml({{QStringLiteral("S1 - Seine & Marne"), 2.35, 48.85, 35},
                           {QStringLiteral("S2 - Loire"), -1.5, 47.2, 0}},
                          true);
    EXPECT_EQ(kml, attendu);
    EXPECT_TRUE(kml.contains("<name>S1 - Seine &amp; Marne</name>"));
    EXPECT_TRUE(kml.contains("<coordinates>-1.5,47.2,0</coordinates>"));
    EXPECT_EQ(bilan.places, 2);
    EXPECT_EQ(
        bilan.message(),
        QStringLiteral("Exportation terminée : 2 qualitomètre(s) non placé(s) sur la carte :\n"
                       "S3 - Sans position : pas de coordonnées dans la projection 16.\n"
                       "S4 - Origine : coordonnées 0, 0 (non renseignées), le qualitomètre "
                       "n'est pas placé."));
}

TEST_P(ExportListeTest, KmlConvertiDepuisLambert93)
{
    ListeExportQualite l = liste(QStringLiteral("RGF93 / Lambert 93 [26]"), {"S5", "S1", "S2"});
    l.code = 7;
    BilanExportKml bilan;
    QString erreur;
    ASSERT_TRUE(exporterListe(l, dossier.path(), bilan, &erreur)) << qPrintable(erreur);
    EXPECT_EQ(bilan.fichier, dossier.filePath(QStringLiteral("Export_7.kml")));
    const QByteArray kml = lireFichier(bilan.fichier);
    const qsizetype debut = kml.indexOf("<coordinates>") + 13;
    const QList<QByteArray> c = kml.mid(debut, kml.indexOf("</coordinates>") - debut).split(',');
    ASSERT_EQ(c.size(), 3) << kml.constData();
    EXPECT_NEAR(c[0].toDouble(), 2.3522, 1e-4);
    EXPECT_NEAR(c[1].toDouble(), 48.8566, 1e-4);
    EXPECT_EQ(c[2], "35");
    EXPECT_EQ(kml.count("<Placemark>"), 1);
    EXPECT_EQ(
        bilan.message(),
        QStringLiteral("Exportation terminée : 2 qualitomètre(s) non placé(s) sur la carte :\n"
                       "S2 - Loire : pas de coordonnées dans la projection 26.\n"
                       "S5 - Hors zone : Les coordonnées (600000, 2428000) sont en dehors "
                       "du domaine de la projection 26."));
}

TEST_P(ExportListeTest, PagesWebDansLeDossier)
{
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (6, '../x', 'Ruse')")));
    ASSERT_TRUE(creerTableListeTaxons(6));
    for (const char *sql :
         {"INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, identifiant) VALUES (6, "
          "1, '131')",
          "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
          "codePoint, dateDebut) VALUES (6, 1, 1, #02/01/2023#)",
          "INSERT INTO QUALITOMETRES_LISTE_6 (codeOperation, codeListe, codeTaxon, denombrementA) "
          "VALUES (1, 1, '212', 4)"})
        ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
    ListeExportQualite l = liste(QStringLiteral("16"), {"S1", "../x"});
    l.setTexte(QStringLiteral("ExportKml"), QStringLiteral("0"));
    BilanExportKml bilan;
    QString erreur;
    ASSERT_TRUE(exporterListe(l, dossier.path(), bilan, &erreur)) << qPrintable(erreur);
    EXPECT_EQ(bilan.fichier, QString());
    EXPECT_EQ(bilan.pages,
              QStringList({"stylesheets.css", "index.html", "site_S1.html", "site_.._x.html",
                           "liste_faunistique_.._x_01_02_2023.csv"}));
    EXPECT_EQ(QDir(dossier.path()).entryList(QDir::Files, QDir::Name),
              QStringList({"index.html", "liste_faunistique_.._x_01_02_2023.csv", "site_.._x.html",
                           "site_S1.html", "stylesheets.css"}));
    const QString index = QString::fromUtf8(lireFichier(dossier.filePath("index.html")));
    EXPECT_TRUE(index.contains(QStringLiteral(
        "<tr><td><a href=\"site_S1.html\">S1</a></td><td>75</td><td>Paris</td><td>Seine &amp; "
        "Marne</td><td></td><td></td></tr>")))
        << qPrintable(index);
    EXPECT_EQ(lireFichier(dossier.filePath("liste_faunistique_.._x_01_02_2023.csv")),
              QByteArray("code Taxon;Taxon;Dénombrement\r\n212;Baetis;4\r\n"));
    EXPECT_EQ(nomFichierSur({QStringLiteral("..")}, QStringLiteral("html")), QString());
    EXPECT_EQ(nomFichierSur({QStringLiteral("a/b\\c:d")}, QStringLiteral("csv")),
              QStringLiteral("a_b_c_d.csv"));
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(ExportListeTest);
