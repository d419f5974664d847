#include "ClasseursTest.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "import/ApercuImport.h"

using namespace vyk;

namespace {

// Cells of a sheet: row, column, value.
using Cellules = QVector<std::tuple<int, int, QVariant>>;

// The conditions of the upstream sheet: hydrological situation, weather, turbidity and
// periphyton (visibility "N.C."), openness, two elementary samplings.
const Cellules CONDITIONS = {{24, 13, 2},   {24, 14, "1"},  {39, 4, "N.C."},
                             {39, 5, 3},    {40, 5, "0,5"}, {23, 16, "Semi ouvert"},
                             {33, 2, "P1"}, {33, 3, "S1"},  {33, 4, 5},
                             {34, 2, "P2"}, {34, 3, "-"}};

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

    // A station sheet: the station's cells, the conditions given (row, column, value), then the
    // taxa list under its header at row 41.
    static test::FeuilleEcrite station(const QString &nom, const QString &code,
                                       const QString &commune, const QVariant &date,
                                       const QVector<QVector<QVariant>> &taxons,
                                       const QStringList &comptes = {"A", "B", "C"},
                                       const Cellules &conditions = {})
    {
        test::FeuilleEcrite f{nom, QVector<QVector<QVariant>>(40)};
        auto cellule = [&](int l, int c, const QVariant &v) {
            QVector<QVariant> &ligne = f.lignes[l - 1];
            if (ligne.size() < c) ligne.resize(c);
            ligne[c - 1] = v;
        };
        for (const auto &[l, c, v] : conditions)
            cellule(l, c, v);
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

    QString classeur(const QString &ext, const Cellules &conditions = CONDITIONS)
    {
        const QString chemin = this->chemin("cemagref." + ext);
        EXPECT_TRUE(test::ecrireClasseur(
            chemin, {{"SAISIE", {{"Mode d'emploi"}}},
                     station("Amont", "04100001", "L\u2019Île-d'Yeu", QDate(2021, 7, 2),
                             {{"183", "Baetis", 12, 3, "", "vu"}, {"999", "?", 1}}, {"A", "B", "C"},
                             conditions),
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

    QStringList conditions()
    {
        return lignes("SELECT codeQualitometre, codeOperation, codeCondition, parametre, mesure, "
                      "dateMesure, qualification, statut, unite FROM "
                      "QUALITOMETRES_POINTS_OPERATIONS_ENV ORDER BY 1, 2, 3");
    }
    QStringList prelevements()
    {
        return lignes("SELECT codeQualitometre, codeOperation, indice, codePrelevement, "
                      "codeSubstrat, classeVitesse FROM QUALITOMETRES_OPERATIONS_PRELEVEMENTS "
                      "ORDER BY 1, 2, 3");
    }
    const QStringList tables = {QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS_ENV"),
                                QStringLiteral("QUALITOMETRES_OPERATIONS_PRELEVEMENTS")};
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

// The sheet's environmental conditions and elementary samplings replace the operation's (rows
// entered since are dropped), the openness of the site and the settings' accreditation, season
// and conservation mode land on the operation; a second run leaves the same rows.
TEST_P(FicheEnvoiTest, ConditionsEtPrelevementsElementaires)
{
    for (const auto &[cle, valeur] : {std::pair{reglage::Accreditation, "1"},
                                      {reglage::Saisonnalite, "3"},
                                      {reglage::ModeConservation, "4"},
                                      {reglage::Qualification, "1"},
                                      {reglage::Statut, "2"}})
        ASSERT_TRUE(ecrireRegistre(cle, QString::fromLatin1(valeur)));
    const QString chemin = classeur("ods");
    importerModele("CEMAGREF", chemin);
    const QStringList attendues = {"1|0|1|1725|2|02/07/2021|1|2|", "1|0|2|1425|1|02/07/2021|1|2|",
                                   "1|0|3|6498|3|02/07/2021|1|2|",
                                   "1|0|4|6499|0.5|02/07/2021|1|2|"};
    EXPECT_EQ(conditions(), attendues);
    const QStringList elementaires = {"1|0|1|P1|S1|5", "1|0|2|P2||"};
    EXPECT_EQ(prelevements(), elementaires);
    const QStringList operations = {"1|2|1|3|4|1|2", "2||1|3|4|1|2"};
    const QString requete = "SELECT codeQualitometre, Ombrag, accreditation, saisonnalite, "
                            "modeConservationPrincipal, qualification, statut FROM "
                            "QUALITOMETRES_POINTS_OPERATIONS ORDER BY 1";
    EXPECT_EQ(lignes(requete), operations);

    ASSERT_TRUE(executer("INSERT INTO QUALITOMETRES_POINTS_OPERATIONS_ENV (codeQualitometre, "
                         "codeOperation, codeCondition, parametre, mesure) VALUES (1, 0, 9, "
                         "1301, 12)"));
    ASSERT_TRUE(executer("INSERT INTO QUALITOMETRES_OPERATIONS_PRELEVEMENTS (codeQualitometre, "
                         "codeOperation, indice, codePrelevement) VALUES (1, 0, 7, 'P7')"));
    ASSERT_TRUE(executer("UPDATE QUALITOMETRES_POINTS_OPERATIONS_ENV SET mesure=4 WHERE "
                         "parametre=1725"));
    importerModele("CEMAGREF", chemin);
    EXPECT_EQ(conditions(), attendues);
    EXPECT_EQ(prelevements(), elementaires);
    EXPECT_EQ(lignes(requete), operations);
    const QStringList avant = etatStable(tables);
    importerModele("CEMAGREF", chemin);
    EXPECT_EQ(etatStable(tables), avant);
}

// A cell that does not read refuses the workbook with its message: nothing is written, not even
// the other sheet's station.
TEST_P(FicheEnvoiTest, CelluleRefusee)
{
    const struct
    {
        int ligne, colonne;
        QVariant valeur;
        const char *message;
    } cas[] = {
        {24, 13, "basses eaux",
         "Feuille « Amont », cellule M24 (situation hydrologique) : « basses eaux » n'est pas un "
         "nombre."},
        {40, 5, "oui",
         "Feuille « Amont », cellule E40 (périphyton) : « oui » n'est pas un nombre."},
        {23, 16, "Ombragé",
         "Feuille « Amont », cellule P23 (ouverture du site) : « Ombragé » n'est ni OUVERT, ni "
         "SEMI-OUVERT, ni FERMÉ."},
        {33, 2, "N.C.",
         "Feuille « Amont », cellule B33 (prélèvement élémentaire) : Le code du prélèvement n'est "
         "pas renseigné."},
        {33, 2, "P1-TROP-LONG",
         "Feuille « Amont », cellule B33 (prélèvement élémentaire) : « P1-TROP-LONG » dépasse 10 "
         "caractères."},
        {33, 3, "SUBSTR",
         "Feuille « Amont », cellule C33 (substrat) : « SUBSTR » dépasse 5 caractères."},
        {33, 4, "2,5",
         "Feuille « Amont », cellule D33 (classe de vitesse) : « 2,5 » n'est pas un code."},
    };
    const QStringList avant = etatStable(tables);
    for (const auto &c : cas) {
        SCOPED_TRACE(c.message);
        Cellules cellules = CONDITIONS;
        cellules << std::tuple{c.ligne, c.colonne, c.valeur};
        const ResultatImport r = importerModele("CEMAGREF", classeur("xlsx", cellules), true);
        ASSERT_EQ(r.fichiers.size(), 1);
        EXPECT_EQ(r.fichiers.at(0).erreur, QString::fromUtf8(c.message));
        EXPECT_EQ(etatStable(tables), avant);
    }
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
