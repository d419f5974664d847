#include "ClasseursTest.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "import/ApercuImport.h"
#include "import/classeurs/Rcs.h"

using namespace vyk;

namespace {

using Lignes = QVector<QVector<QVariant>>;

class RcsTest : public test::BaseClasseurs
{
  protected:
    void SetUp() override
    {
        BaseClasseurs::SetUp();
        executer("DELETE FROM ANALYSES_SUPPORTS WHERE Code IN ('10','13')");
        executer("DELETE FROM ANALYSES_PARAMETRES WHERE Code IN ('5856','1022','6951','1200')");
        for (const char *sql :
             {"INSERT INTO ANALYSES_SUPPORTS (Code, Nom) VALUES ('10', 'Diatomées benthiques')",
              "INSERT INTO ANALYSES_SUPPORTS (Code, Nom) VALUES ('13', 'Macro-invertébrés')",
              "INSERT INTO ANALYSES_PARAMETRES (Code, Nom, Actif, codeSupportDefault) VALUES "
              "('5856', 'IBD', '0', '10')",
              "INSERT INTO ANALYSES_PARAMETRES (Code, Nom, Actif, codeSupportDefault) VALUES "
              "('1022', 'IPS', '0', '10')",
              "INSERT INTO ANALYSES_PARAMETRES (Code, Nom, Actif, codeSupportDefault) VALUES "
              "('6951', 'I2M2', '0', '13')",
              "INSERT INTO ANALYSES_PARAMETRES (Code, Nom, Actif) VALUES ('1200', 'Sans "
              "support', '0')"})
            ASSERT_TRUE(executer(sql));
    }

    // The station block, then the table under its header.
    QString classeur(const QString &nom, const QString &titre, const Lignes &table,
                     const QString &feuille = QStringLiteral("Contrôle surveillance - RCS"),
                     const Lignes &bloc = {})
    {
        Lignes l = {{titre},
                    {"Code station", "04067000"},
                    {"Station", "Pont"},
                    {"Cours d'eau", "N.C."},
                    {"Date", QDate(2021, 6, 1)},
                    {"Accréditation", "oui"},
                    {"Agrément", "non"}};
        l += bloc;
        l += Lignes{{}, {"SANDRE", "paramètre", "COMMENTAIRE"}};
        l += table;
        const QString chemin = this->chemin(nom);
        EXPECT_TRUE(test::ecrireClasseur(chemin, {{"Notes", {{"SANDRE"}}}, {feuille, l}}));
        return chemin;
    }

    QStringList resultats()
    {
        return lignes("SELECT p.identifiant, o.supportBiologique, o.protocoleBiologique, "
                      "o.commentaires, r.indice, r.codeParametre, r.resultat, "
                      "r.codeAccreditation, r.codeAgrement FROM "
                      "QUALITOMETRES_OPERATIONS_RESULTATS r INNER JOIN "
                      "QUALITOMETRES_POINTS_OPERATIONS o ON o.codeQualitometre="
                      "r.codeQualitometre AND o.codeOperation=r.codeOperation INNER JOIN "
                      "QUALITOMETRES_POINTS p ON p.codeQualitometre=o.codeQualitometre AND "
                      "p.codePoint=o.codePoint ORDER BY 1, 5");
    }
    QStringList actifs()
    {
        return lignes("SELECT Code, Actif FROM ANALYSES_PARAMETRES WHERE Code IN "
                      "('5856','1022','6951','1200') ORDER BY Code");
    }
    void vider()
    {
        for (const char *t :
             {"QUALITOMETRES_OPERATIONS_RESULTATS", "QUALITOMETRES_POINTS_OPERATIONS",
              "QUALITOMETRES_POINTS", "QUALITOMETRES"})
            executer(QStringLiteral("DELETE FROM ") + t);
        executer("UPDATE ANALYSES_PARAMETRES SET Actif='0' WHERE Code IN "
                 "('5856','1022','6951','1200')");
    }
    const QStringList tables = {QStringLiteral("QUALITOMETRES_OPERATIONS_RESULTATS")};
};

// Each parameter goes to the point of its support with the sheet's accreditation and approval;
// the comments land on the operation; the parameters used, 1022 and 5856 become active; a
// second run leaves the same rows and replace mode the same counts.
TEST_P(RcsTest, DeuxFoisLesMemesLignes)
{
    for (const QString &ext : extensions()) {
        SCOPED_TRACE(ext.toStdString());
        const QString chemin = classeur("rcs." + ext, "Diatomées RCS",
                                        {{"5856", "14,2", "IBD valide"},
                                         {1022, 15.5, "N.C."},
                                         {"", "7", "sans code : laissé"},
                                         {"6951", "0,6", ""}});
        const ResultatImport r = importerModele("XLS RCS", chemin);
        ASSERT_EQ(r.fichiers.size(), 1);
        EXPECT_EQ(r.fichiers.at(0).erreur, QString());
        const QStringList attendu = {"101|10||5856 : IBD valide|1|5856|14.2|1|2",
                                     "101|10||5856 : IBD valide|2|1022|15.5|1|2",
                                     "131|13|||1|6951|0.6|1|2"};
        EXPECT_EQ(resultats(), attendu);
        EXPECT_EQ(lignes("SELECT CodeBSS, Nom, riviere FROM QUALITOMETRES"),
                  QStringList({"04067000|Pont|"}));
        EXPECT_EQ(actifs(), QStringList({"1022|1", "1200|0", "5856|1", "6951|1"}));

        const QStringList avant = etatStable(tables);
        importerModele("XLS RCS", chemin);
        EXPECT_EQ(etatStable(tables), avant);
        const ResultatImport remplace = importerModele("XLS RCS", chemin, true);
        EXPECT_EQ(remplace.total().stationsPurgees, 1);
        EXPECT_EQ(remplace.total().operationsCreees, 2);
        EXPECT_EQ(resultats(), attendu);
        vider();
    }
}

// An invertebrate workbook puts every result on the invertebrate point with the RCS protocol,
// the deep-river one when the title says so.
TEST_P(RcsTest, ClasseurInvertebres)
{
    importerModele("XLS RCS", classeur("inv.xlsx", "RCS INVERT", {{"1022", "3", ""}}));
    EXPECT_EQ(resultats(), QStringList({"131|13|598||1|1022|3|1|2"}));
    vider();
    importerModele("XLS RCS", classeur("prof.ods", "RCS invertébrés CE PROFOND", {{"1022", "3"}}));
    EXPECT_EQ(resultats(), QStringList({"131|13|726||1|1022|3|1|2"}));
}

// A parameter without default support and a value that is no number are errors of their rows;
// replace mode stops at the first and writes nothing; add mode writes the other rows.
TEST_P(RcsTest, LignesEnErreur)
{
    const QString chemin =
        classeur("err.xlsx", "RCS", {{"1200", "4", ""}, {"5856", "beaucoup", ""}, {"1022", "2"}});
    const QStringList avant = etatStable(tables);
    const ResultatImport remplace = importerModele("XLS RCS", chemin, true);
    ASSERT_EQ(remplace.fichiers.size(), 1);
    EXPECT_EQ(remplace.fichiers.at(0).erreur,
              "Erreur ligne: codeBSS: 04067000 - Date: 01/06/2021 - Paramètre:  : le paramètre "
              "1200 n'a pas de support par défaut");
    EXPECT_EQ(etatStable(tables), avant);
    importerModele("XLS RCS", chemin);
    EXPECT_EQ(resultats(), QStringList({"101|10|||1|1022|2|1|2"}));
}

// The environmental parameters are conditions of every operation the workbook writes (not
// results), replacing the operations' former ones; the openness of the site and the setting
// "Accreditation" land on each operation; a second run leaves the same rows.
TEST_P(RcsTest, ConditionsEtOuverture)
{
    ASSERT_TRUE(ecrireRegistre(reglage::Accreditation, "2"));
    const Lignes table = {{"1725", "2", "basses eaux"},
                          {"5856", "14,2", "IBD valide"},
                          {"6951", "0,6", ""},
                          {"1425", 1, ""}};
    const QString chemin =
        classeur("cond.xlsx", "RCS", table, texteRcs::FEUILLE, {{"Ouverture du site", "Fermé"}});
    const ResultatImport r = importerModele("XLS RCS", chemin);
    ASSERT_EQ(r.fichiers.size(), 1);
    EXPECT_EQ(r.fichiers.at(0).erreur, QString());
    EXPECT_EQ(resultats(), QStringList({"101|10||5856 : IBD valide|1|5856|14.2|1|2",
                                        "131|13|||1|6951|0.6|1|2"}));
    const QString requete =
        "SELECT p.identifiant, o.Ombrag, o.accreditation, e.codeCondition, e.parametre, "
        "e.mesure, e.dateMesure, e.commentaires FROM QUALITOMETRES_POINTS_OPERATIONS_ENV e "
        "INNER JOIN QUALITOMETRES_POINTS_OPERATIONS o ON o.codeQualitometre=e.codeQualitometre "
        "AND o.codeOperation=e.codeOperation INNER JOIN QUALITOMETRES_POINTS p ON "
        "p.codeQualitometre=o.codeQualitometre AND p.codePoint=o.codePoint ORDER BY 1, 4";
    const QStringList conditions = {
        "101|3|2|1|1725|2|01/06/2021|basses eaux", "101|3|2|2|1425|1|01/06/2021|",
        "131|3|2|1|1725|2|01/06/2021|basses eaux", "131|3|2|2|1425|1|01/06/2021|"};
    EXPECT_EQ(lignes(requete), conditions);

    ASSERT_TRUE(executer("UPDATE QUALITOMETRES_POINTS_OPERATIONS_ENV SET parametre=1301"));
    const QStringList env = {QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS_ENV")};
    importerModele("XLS RCS", chemin);
    EXPECT_EQ(lignes(requete), conditions);
    const QStringList avant = etatStable(tables + env);
    importerModele("XLS RCS", chemin);
    EXPECT_EQ(etatStable(tables + env), avant);

    // Conditions alone in an invertebrate workbook go to its point; elsewhere no result names
    // the operation they belong to.
    vider();
    executer("DELETE FROM QUALITOMETRES_POINTS_OPERATIONS_ENV");
    importerModele("XLS RCS", classeur("inv.ods", "RCS INVERT", {{"1725", "3"}}));
    EXPECT_EQ(lignes(requete), QStringList({"131||2|1|1725|3|01/06/2021|"}));
    vider();
    const ResultatImport seules =
        importerModele("XLS RCS", classeur("seules.xlsx", "RCS", {{"1725", "3"}}));
    ASSERT_EQ(seules.fichiers.size(), 1);
    EXPECT_EQ(seules.fichiers.at(0).erreur,
              "Erreur ligne: codeBSS: 04067000 - Date: 01/06/2021 - Paramètre:  : la condition "
              "1725 n'a pas d'opération : aucun résultat du classeur ne désigne un point");
}

// An openness the program does not know refuses the workbook with its cell: nothing written.
TEST_P(RcsTest, OuvertureInconnue)
{
    const QString chemin = classeur("ouv.ods", "RCS", {{"5856", "1"}}, texteRcs::FEUILLE,
                                    {{"Ouverture du site", "mi-clos"}});
    const QStringList avant = etatStable(tables);
    const ResultatImport r = importerModele("XLS RCS", chemin);
    ASSERT_EQ(r.fichiers.size(), 1);
    EXPECT_EQ(r.fichiers.at(0).erreur,
              "Feuille « Contrôle surveillance - RCS », cellule B8 (ouverture du site) : "
              "« mi-clos » n'est ni OUVERT, ni SEMI-OUVERT, ni FERMÉ.");
    EXPECT_EQ(etatStable(tables), avant);
}

// The preview: one row per parameter, the support's label or "Inconnu".
TEST_P(RcsTest, Apercu)
{
    const ApercuImport a = apercuImport(
        "XLS RCS", classeur("ap.ods", "RCS", {{"5856", "14,2", "ok"}, {"1200", "", ""}}), false,
        progressionNulle());
    EXPECT_EQ(a.erreur, QString());
    EXPECT_EQ(a.colonnes, QStringList({"Identifiant", "Station", "Date", "Paramètre", "Support",
                                       "Valeur", "Commentaire"}));
    EXPECT_EQ(a.lignes,
              QVector<QStringList>(
                  {{"04067000", "Pont", "01/06/2021", "5856", "Diatomées benthiques", "14,2", "ok"},
                   {"04067000", "Pont", "01/06/2021", "1200", "Inconnu", "", ""}}));
}

// Without the RCS sheet, or with a corrupt workbook, the run writes nothing; a chosen sheet is
// read.
TEST_P(RcsTest, FeuilleAbsente)
{
    const QString chemin = classeur("autre.xlsx", "RCS", {{"5856", "1"}}, "Feuil2");
    const QStringList avant = etatStable(tables);
    ResultatImport r = importerModele("XLS RCS", chemin);
    ASSERT_EQ(r.fichiers.size(), 1);
    EXPECT_EQ(r.fichiers.at(0).erreur,
              "Impossible de trouver le classeur 'Contrôle surveillance - RCS' dans le fichier " +
                  chemin);
    const QString corrompu = this->chemin("corrompu.xlsx");
    QFile f(corrompu);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("PK\x03\x04 pas un classeur");
    f.close();
    r = importerModele("XLS RCS", corrompu);
    ASSERT_EQ(r.fichiers.size(), 1);
    EXPECT_EQ(r.fichiers.at(0).erreur, "Impossible d'ouvrir le fichier Excel.");
    EXPECT_EQ(etatStable(tables), avant);

    ReponsesIntegration reponses;
    QStringList proposees;
    reponses.choisirFeuille = [&](const QStringList &feuilles) {
        proposees = feuilles;
        return QStringLiteral("Feuil2");
    };
    r = importerModele("XLS RCS", chemin, false, reponses);
    EXPECT_EQ(proposees, QStringList({"Notes", "Feuil2"}));
    EXPECT_EQ(resultats(), QStringList({"101|10|||1|5856|1|1|2"}));
}

VYK_SUR_LES_DEUX_MOTEURS(RcsTest);

} // namespace
