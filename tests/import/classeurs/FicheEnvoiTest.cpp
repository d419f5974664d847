#include "ClasseursTest.h"

#include "import/ApercuImport.h"

using namespace vyk;

namespace {

class FicheEnvoiTest : public test::BaseClasseurs
{
  protected:
    void SetUp() override
    {
        BaseClasseurs::SetUp();
        for (const char *sql :
             {"INSERT INTO TAXONS (codeTaxon, nomLatin) VALUES ('183', 'Baetis')",
              "INSERT INTO TAXONS (codeTaxon, nomLatin) VALUES ('212', 'Gammarus')",
              "INSERT INTO COMMUNES (CodeCommune, Nom) VALUES ('85113', 'L''Île-d''Yeu')",
              "DELETE FROM METHODES WHERE Code='707'"})
            ASSERT_TRUE(executer(sql));
    }

    // A station sheet: the station's cells, then the taxa list under its header at row 30.
    static test::FeuilleEcrite station(const QString &nom, const QString &code,
                                       const QString &commune, const QVariant &date,
                                       const QVector<QVector<QVariant>> &taxons,
                                       const QStringList &comptes = {"A", "B", "C"})
    {
        test::FeuilleEcrite f{nom, QVector<QVector<QVariant>>(30)};
        auto cellule = [&](int l, int c, const QVariant &v) {
            QVector<QVariant> &ligne = f.lignes[l - 1];
            if (ligne.size() < c) ligne.resize(c);
            ligne[c - 1] = v;
        };
        cellule(20, 1, code);
        cellule(20, 4, "La Vie");
        cellule(20, 8, "Pont de " + nom);
        cellule(22, 3, "N.C.");
        cellule(23, 3, commune);
        cellule(23, 11, 6620000.5);
        cellule(23, 12, 320000);
        cellule(23, 13, "12");
        cellule(23, 14, "M");
        cellule(24, 11, date);
        cellule(24, 12, "11,5");
        QVector<QVariant> entete{"Code", "Taxon"};
        for (const QString &c : comptes)
            entete << c;
        entete << "Remarque";
        f.lignes.append(entete);
        f.lignes += taxons;
        return f;
    }

    QString classeur(const QString &ext)
    {
        const QString chemin = this->chemin("cemagref." + ext);
        EXPECT_TRUE(test::ecrireClasseur(
            chemin, {{"SAISIE", {{"Mode d'emploi"}}},
                     station("Amont", "04100001", "L\u2019Île-d'Yeu", QDate(2021, 7, 2),
                             {{"183", "Baetis", 12, 3, "", "vu"}, {"999", "?", 1}}),
                     station("Aval", "04100002", "L'Île-d'Yeu", "03/07/2021",
                             {{"212", "Gammarus", 40, "", 2}}),
                     {"LEGENDE", {{"A : phase A"}}}}));
        return chemin;
    }

    QStringList listes()
    {
        QStringList r;
        for (const char *t : {"QUALITOMETRES_LISTE_1", "QUALITOMETRES_LISTE_2"})
            if (bd().tableExiste(t))
                r += lignes(QStringLiteral("SELECT codeOperation, codeListe, codeTaxon, "
                                           "DenombrementA, DenombrementB, DenombrementC, "
                                           "PourcentageA, PourcentageB FROM ") +
                            t + QStringLiteral(" ORDER BY indice"));
        return r;
    }
};

// Each station sheet gives a station (commune found by its name, apostrophes and all), the
// invertebrate point, an operation on its date and its taxa list; method 707 is inserted active;
// the same workbook twice leaves the same rows, replace mode the same counts.
TEST_P(FicheEnvoiTest, CemagrefDeuxFois)
{
    const QString chemin = classeur("xlsx");
    const ResultatImport r = importerModele("CEMAGREF", chemin);
    ASSERT_EQ(r.fichiers.size(), 1);
    EXPECT_EQ(r.fichiers.at(0).erreur,
              "Certains codes n'ont pas été trouvé dans la liste des taxons: 999");
    EXPECT_EQ(r.fichiers.at(0).remarques, "Éléments non repris : Remarque (1), Taxon (3).");
    EXPECT_EQ(
        lignes("SELECT CodeBSS, Nom, riviere, CodeCommune FROM QUALITOMETRES ORDER BY 1"),
        QStringList({"04100001|Pont de Amont|La Vie|85113", "04100002|Pont de Aval|La Vie|85113"}));
    EXPECT_EQ(lignes("SELECT o.codeQualitometre, o.codeOperation, p.identifiant, o.dateDebut, "
                     "o.supportBiologique FROM QUALITOMETRES_POINTS_OPERATIONS o INNER JOIN "
                     "QUALITOMETRES_POINTS p ON p.codeQualitometre=o.codeQualitometre AND "
                     "p.codePoint=o.codePoint ORDER BY 1"),
              QStringList({"1|0|131|02/07/2021|13", "2|0|131|03/07/2021|13"}));
    const QStringList taxons = {"0|1|183|12|3|||", "0|1|212|40||2||"};
    EXPECT_EQ(listes(), taxons);
    EXPECT_EQ(lignes("SELECT CodeProjection, X, Y, Z FROM QUALITOMETRE_LOCALISATIONS WHERE "
                     "CodeQualitometre=1"),
              QStringList({"26|320000|6620000.5|12"}));
    EXPECT_EQ(lignes("SELECT Actif FROM METHODES WHERE Code='707'"), QStringList({"1"}));

    const QStringList avant = etatStable();
    importerModele("CEMAGREF", chemin);
    EXPECT_EQ(etatStable(), avant);
    EXPECT_EQ(listes(), taxons);
    const ResultatImport remplace = importerModele("CEMAGREF", chemin, true);
    EXPECT_EQ(remplace.total().stationsPurgees, 2);
    EXPECT_EQ(remplace.total().operationsCreees, 2);
    EXPECT_EQ(listes(), taxons);
}

// The preview: one row per station sheet, the template's sheets left out, "N.C." empty.
TEST_P(FicheEnvoiTest, Apercu)
{
    const ApercuImport a = apercuImport("CEMAGREF", classeur("ods"), false, progressionNulle());
    EXPECT_EQ(a.erreur, QString());
    EXPECT_EQ(a.colonnes,
              QStringList({"Identifiant", "Cours d'eau", "Station", "code insee", "Commune",
                           "latitude", "longitude", "altitude", "type cours d'eau", "classeur"}));
    EXPECT_EQ(a.lignes,
              QVector<QStringList>({{"04100001", "La Vie", "Pont de Amont", "", "L\u2019Île-d'Yeu",
                                     "6620000.5", "320000", "12", "M", "Amont"},
                                    {"04100002", "La Vie", "Pont de Aval", "", "L'Île-d'Yeu",
                                     "6620000.5", "320000", "12", "M", "Aval"}}));
}

// Macrophytes: the covers of the two survey units, the IBMR, the point "271"; a workbook of
// template sheets only writes nothing.
TEST_P(FicheEnvoiTest, Macrophytes)
{
    const QString chemin = this->chemin("macrophytes.xlsx");
    ASSERT_TRUE(
        test::ecrireClasseur(chemin, {{"accueil", {{"x"}}},
                                      {"notice", {{"y"}}},
                                      station("Bief", "04100003", "L'Île-d'Yeu", "05/08/2021",
                                              {{"183", "Baetis", "2,5", 10}}, {"UR1", "UR2"})}));
    const ResultatImport r = importerModele("MACROPHYTES", chemin);
    EXPECT_TRUE(r.statut()) << qPrintable(r.messages().join('\n'));
    EXPECT_EQ(listes(), QStringList({"0|1|183||||2.5|10"}));
    EXPECT_EQ(lignes("SELECT codeParametre, resultat FROM QUALITOMETRES_OPERATIONS_RESULTATS"),
              QStringList({"2928|11.5"}));
    EXPECT_EQ(lignes("SELECT identifiant FROM QUALITOMETRES_POINTS"), QStringList({"271"}));
    EXPECT_EQ(valeur("SELECT count(*) FROM ANALYSES_PARAMETRES WHERE Code IN ('1079','1425',"
                     "'1725','2928','5473','6350','6498','6499') AND Actif='1'")
                  .toInt(),
              8);

    const QString vide = this->chemin("modele.xlsx");
    ASSERT_TRUE(test::ecrireClasseur(vide, {{"accueil", {{"x"}}}, {"Modèle", {{"y"}}}}));
    const QStringList avant = etatStable();
    const ResultatImport refus = importerModele("MACROPHYTES", vide);
    ASSERT_EQ(refus.fichiers.size(), 1);
    EXPECT_EQ(refus.fichiers.at(0).erreur, "Impossible de trouver le classeur de données " + vide);
    EXPECT_EQ(etatStable(), avant);
}

VYK_SUR_LES_DEUX_MOTEURS(FicheEnvoiTest);

} // namespace
