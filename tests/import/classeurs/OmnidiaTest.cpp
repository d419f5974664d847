#include "ClasseursTest.h"

#include "import/ApercuImport.h"
#include "import/classeurs/Omnidia.h"

using namespace vyk;

namespace {

class OmnidiaTest : public test::BaseClasseurs
{
  protected:
    void SetUp() override
    {
        BaseClasseurs::SetUp();
        for (const char *sql :
             {"INSERT INTO TAXONS (codeTaxon, nomLatin, codeOmnidia) VALUES ('7001', "
              "'Achnanthes', 'ACHD')",
              "INSERT INTO TAXONS (codeTaxon, nomLatin, synonymeOmnidia) VALUES ('7002', "
              "'Navicula', 'NAVS')",
              "INSERT INTO TAXONS (codeTaxon, nomLatin, teraOmnidia) VALUES ('7003', "
              "'Nitzschia', 'NITT')"})
            ASSERT_TRUE(executer(sql));
    }

    QString classeur(const QString &ext)
    {
        const QString chemin = this->chemin(QStringLiteral("omnidia.") + ext);
        EXPECT_TRUE(test::ecrireClasseur(
            chemin, {{"Résultats",
                      {{"Relevés diatomiques"},
                       {"CODE HYDRO", "Cours d'eau", "Station", "DATE", "Commentaire", "IBD", "IPS",
                        "Taxons", "", "", "Opérateur"},
                       {"04067000", "N.C.", "Pont", QDate(2021, 6, 1), "", 14.2, "15,5", "ACHD*120",
                        "\"NAVS\"*,5", "XXXX*3", "Lab A"},
                       {"04067000", "Loire", "Pont", "15/09/2021", "crue", 12, 13, "NITT*40"}}}}));
        return chemin;
    }

    QStringList resultats()
    {
        return lignes("SELECT o.codeOperation, o.codePoint, p.identifiant, r.indice, "
                      "r.codeParametre, r.resultat FROM QUALITOMETRES_OPERATIONS_RESULTATS r "
                      "INNER JOIN QUALITOMETRES_POINTS_OPERATIONS o ON o.codeQualitometre="
                      "r.codeQualitometre AND o.codeOperation=r.codeOperation INNER JOIN "
                      "QUALITOMETRES_POINTS p ON p.codeQualitometre=o.codeQualitometre AND "
                      "p.codePoint=o.codePoint ORDER BY 1, 4");
    }
};

// Each row becomes an operation of the diatom point with one IBD and one IPS; the floristic
// list resolves codes by their own column, their synonym or their tera code; the unknown code
// is reported once; a second run leaves the same rows and replace mode the same counts.
TEST_P(OmnidiaTest, DeuxFoisUnIbdEtUnIpsParOperation)
{
    for (const QString &ext : extensions()) {
        SCOPED_TRACE(ext.toStdString());
        const QString chemin = classeur(ext);
        const ResultatImport r = importerModele("OMNIDIA", chemin);
        ASSERT_EQ(r.fichiers.size(), 1);
        EXPECT_EQ(r.fichiers.at(0).erreur,
                  "Certains codes n'ont pas été trouvé dans la liste des taxons: XXXX");
        EXPECT_EQ(r.fichiers.at(0).remarques, "Éléments non repris : Opérateur (1).");
        const QStringList attendu = {"0|0|101|1|5856|14.2", "0|0|101|2|1022|15.5",
                                     "1|0|101|1|5856|12", "1|0|101|2|1022|13"};
        EXPECT_EQ(resultats(), attendu);
        const QString liste = "SELECT codeOperation, codeListe, indice, codeTaxon, "
                              "DenombrementA FROM QUALITOMETRES_LISTE_1 ORDER BY 1, 3";
        const QStringList taxons = {"0|1|1|7001|120", "0|1|2|7002|0.5", "1|1|1|7003|40"};
        EXPECT_EQ(lignes(liste), taxons);
        EXPECT_EQ(lignes("SELECT CodeBSS, Nom, riviere FROM QUALITOMETRES"),
                  QStringList({"04067000|Pont|"}));

        const QStringList avant = etatStable();
        importerModele("OMNIDIA", chemin);
        EXPECT_EQ(etatStable(), avant);
        EXPECT_EQ(resultats(), attendu);
        EXPECT_EQ(lignes(liste), taxons);
        const ResultatImport remplace = importerModele("OMNIDIA", chemin, true);
        EXPECT_EQ(remplace.total().stationsPurgees, 1);
        EXPECT_EQ(remplace.total().operationsCreees, 2);
        EXPECT_EQ(resultats().size(), 4);
        EXPECT_EQ(lignes(liste), taxons);
        executer("DROP TABLE QUALITOMETRES_LISTE_1");
        for (const char *t :
             {"QUALITOMETRES_OPERATIONS_RESULTATS", "QUALITOMETRES_POINTS_OPERATIONS",
              "QUALITOMETRES_POINTS", "QUALITOMETRES"})
            executer(QStringLiteral("DELETE FROM ") + t);
    }
}

// A later file without IPS for the operation leaves only its IBD.
TEST_P(OmnidiaTest, ResultatsRemplaces)
{
    ASSERT_FALSE(importerModele("OMNIDIA", classeur("xlsx")).fichiers.isEmpty());
    const QString chemin = this->chemin("suite.xlsx");
    ASSERT_TRUE(test::ecrireClasseur(
        chemin,
        {{"Feuil1", {{"CODE HYDRO", "DATE", "IBD", "IPS"}, {"04067000", "01/06/2021", "9", ""}}}}));
    const ResultatImport r = importerModele("OMNIDIA", chemin);
    EXPECT_TRUE(r.statut()) << qPrintable(r.messages().join('\n'));
    EXPECT_EQ(resultats(),
              QStringList({"0|0|101|1|5856|9", "1|0|101|1|5856|12", "1|0|101|2|1022|13"}));
}

// The preview's columns and rows; "N.C." reads as empty.
TEST_P(OmnidiaTest, Apercu)
{
    const ApercuImport a = apercuImport("OMNIDIA", classeur("ods"), false, progressionNulle());
    EXPECT_EQ(a.erreur, QString());
    EXPECT_EQ(a.colonnes, QStringList({"Identifiant", "Cours d'eau", "Station", "Date",
                                       "Commentaire", "IBD", "IPS"}));
    EXPECT_EQ(a.lignes, QVector<QStringList>(
                            {{"04067000", "", "Pont", "01/06/2021", "", "14.2", "15,5"},
                             {"04067000", "Loire", "Pont", "15/09/2021", "crue", "12", "13"}}));
}

// A workbook without the results table: the missing-sheet message, nothing written.
TEST_P(OmnidiaTest, TableauAbsent)
{
    const QString chemin = this->chemin("vide.xlsx");
    ASSERT_TRUE(test::ecrireClasseur(chemin, {{"Feuil1", {{"Station", "Date"}}}}));
    const QStringList avant = etatStable();
    const ResultatImport r = importerModele("OMNIDIA", chemin);
    ASSERT_EQ(r.fichiers.size(), 1);
    EXPECT_EQ(r.fichiers.at(0).erreur, "Impossible de trouver le classeur de données " + chemin);
    EXPECT_EQ(etatStable(), avant);
}

TEST(LectureTaxonOmnidia, CodeEtNombre)
{
    QString code;
    double n = 0;
    EXPECT_TRUE(lireTaxonOmnidia("\"ACHD\"*,5", code, n));
    EXPECT_EQ(code, "ACHD");
    EXPECT_DOUBLE_EQ(n, 0.5);
    EXPECT_TRUE(lireTaxonOmnidia("NAVS * 12,25", code, n));
    EXPECT_DOUBLE_EQ(n, 12.25);
    EXPECT_FALSE(lireTaxonOmnidia("*3", code, n));
    EXPECT_FALSE(lireTaxonOmnidia("ACHD*beaucoup", code, n));
}

VYK_SUR_LES_DEUX_MOTEURS(OmnidiaTest);

} // namespace
