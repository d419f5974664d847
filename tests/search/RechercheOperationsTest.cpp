#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "schema/Catalogue.h"
#include "schema/TableAnalyses.h"
#include "search/Recherche.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

// Station 1 is a river of national type 10 in HER 5 and catchment 7; station 2 a lake. Each has
// an operation of 2024 (1: point "131", 2: no point) and one of 2023.
class RechercheOperationsTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesQualite();
        test::creerTablesCatalogue({"LIEN_QUALITO_MASSE_EAU", "TAXONS", "ETATS", "BASSINS_VERSANTS",
                                    "ANALYSES_PARAMETRES_SELECTIONS_TITRE"});
        ASSERT_TRUE(executer(sqlCreationTableListeTaxons(QStringLiteral("1"))));
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("BSS001")));
        for (const char *sql : {
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, her_niveau1, "
                 "codeBassinVersant, typeStation, type_fr) VALUES (1, 'BSS001', 'Amont', 5, 7, "
                 "'1', 10)",
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, typeStation) VALUES "
                 "(2, 'BSS002', 'Lac', '2')",
                 "INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES ('QUALITOMETRES.HER1', 5, "
                 "'Massif central sud')",
                 "INSERT INTO BASSINS_VERSANTS (codeBV, Code, Nom) VALUES (7, 'BV7', 'Haute "
                 "Loire')",
                 "INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, identifiant) "
                 "VALUES (1, 1, '131')",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "dateDebut, codePoint, statut) VALUES (1, 0, #05/10/2024#, 1, 2)",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "dateDebut) VALUES (1, 1, #05/10/2023#)",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "dateDebut) VALUES (2, 0, #06/11/2024#)",
                 // Index 5856 and state 3 at both stations; a below-limit index.
                 "INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, "
                 "codeOperation, codeParametre, resultat) VALUES (1, 0, 5856, 14)",
                 "INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, "
                 "codeOperation, codeParametre, resultat) VALUES (1, 1, 5856, 2)",
                 "INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, "
                 "codeOperation, codeParametre, resultat, codeRemarque) VALUES (2, 0, 5856, 3, 10)",
                 "INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, "
                 "codeOperation, codeParametre, resultat) VALUES (2, 0, 3, 4)",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('5856', 'IBGN')",
                 "INSERT INTO ETATS (CodeEtat, Libelle) VALUES (3, 'Physico-chimie')",
                 "INSERT INTO TAXONS (codeTaxon, nomLatin) VALUES ('807', 'Gammarus')",
                 "INSERT INTO TAXONS (codeTaxon, nomLatin) VALUES ('212', 'Baetis')",
                 "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, codeTaxon, "
                 "denombrementA, denombrementB, denombrementP3) VALUES (0, 1, '807', 40, 12, 3)",
                 "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, codeTaxon, "
                 "denombrementA) VALUES (0, 1, '212', 0)",
                 "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, codeTaxon, "
                 "denombrementA) VALUES (1, 1, '807', 9)",
                 // Threshold type 8: index grids for rivers of type 10 and a general one.
                 "INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES ('SEUILS', 8, 'DCE')",
                 "INSERT INTO ANALYSES_SEUILS (TypeListe, typeSeuil, CodeParametre, typeStation, "
                 "typeFR, Seuil1, Seuil2, Seuil3, Seuil4) VALUES ('2', 8, '5856', '1', '10', 16, "
                 "13, 9, 5)",
                 "INSERT INTO ANALYSES_SEUILS (TypeListe, typeSeuil, CodeParametre, Seuil1, "
                 "Seuil2, Seuil3, Seuil4) VALUES ('2', 8, '5856', 2, 4, 6, 8)",
                 "INSERT INTO ANALYSES_SEUILS (TypeListe, typeSeuil, Seuil1, Seuil2) VALUES ('4', "
                 "8, 1, 2)",
                 "INSERT INTO ANALYSES_SEUILS (TypeListe, typeSeuil, CodeParametre, Seuil1, "
                 "Seuil2, Seuil3) VALUES ('1', 8, '807', 10, 50, 100)",
             })
            executerOk(QString::fromUtf8(sql));
    }

    void executerOk(const QString &sql)
    {
        ASSERT_TRUE(executer(sql)) << qPrintable(sql) << qPrintable(bd().derniereErreur());
    }

    ResultatRecherche chercher(const QString &cle, const QString &typeSeuil = {})
    {
        CriteresRecherche c;
        c.dateDebut = QStringLiteral("01/01/2024");
        c.pointPrelevement = cle;
        c.typeSeuil = typeSeuil;
        return chercher(c);
    }

    ResultatRecherche chercher(const CriteresRecherche &c)
    {
        ResultatRecherche r;
        QString message;
        EXPECT_EQ(rechercherResultats(c, r, message), IssueRecherche::Trouve)
            << qPrintable(message);
        return r;
    }

    // "date|station|element|result|class|HER name|catchment name" of each row, the columns
    // found by their titles in the kind's grid.
    static QStringList lignes(const ResultatRecherche &r)
    {
        const QStringList titres = titresResultats(r.genre);
        QStringList sortie;
        for (const LigneResultat &l : r.lignes) {
            const QStringList c = celluleResultat(r, l);
            EXPECT_EQ(c.size(), titres.size());
            QStringList choisies = {c[0], c[1], c[5], c[COLONNE_RESULTAT_RECHERCHE]};
            for (const char *titre : {"Classe", "HER", "Bassin versant"})
                choisies << c.value(titres.indexOf(QString::fromUtf8(titre)));
            sortie << choisies.join(u'|');
        }
        return sortie;
    }

    static QStringList joindre(const GrilleTexte &g)
    {
        QStringList sortie;
        for (const QStringList &l : g.lignes)
            sortie << l.mid(0, 12).join(u'|');
        return sortie;
    }
};

TEST_P(RechercheOperationsTest, IndicesClassesSelonLeTypeDeStation)
{
    const ResultatRecherche r = chercher(QStringLiteral("-1"), QStringLiteral("8"));
    // The river of type 10 takes its descending grid; the lake's result is below its limit; the
    // 2023 operation is out of the period; the state, an index result too, has no grid there.
    EXPECT_EQ(lignes(r), QStringList({
                             "10/05/2024|BSS001|IBGN|14|1|Massif central sud|Haute Loire",
                             "11/06/2024|BSS002||4|0||",
                             "11/06/2024|BSS002|IBGN|<3|0||",
                         }));
    EXPECT_EQ(joindre(grilleIndicateurs(r)),
              QStringList({"5856/|IBGN|2|1|1|1|0|0|0|50|1|50", "3/||1|1|1|0|0|0|0|100|0|0"}));

    // States only: what the state table names.
    const ResultatRecherche etats = chercher(QStringLiteral("-2"), QStringLiteral("8"));
    EXPECT_EQ(lignes(etats), QStringList({"11/06/2024|BSS002|Physico-chimie|4|2||"}));
}

TEST_P(RechercheOperationsTest, TaxonsComptesDesListesDuPoint)
{
    const ResultatRecherche r = chercher(QStringLiteral("131"), QStringLiteral("8"));
    // The count adds the list's columns; a taxon counted 0 is searched, not detected.
    EXPECT_EQ(lignes(r), QStringList({
                             "10/05/2024|BSS001|Baetis|0|0|Massif central sud|Haute Loire",
                             "10/05/2024|BSS001|Gammarus|55|2|Massif central sud|Haute Loire",
                         }));
    EXPECT_EQ(
        joindre(grilleIndicateurs(r)),
        QStringList({"212/|Baetis|1|0|1|0|0|0|0|0|0|0", "807/|Gammarus|1|1|0|0|1|0|0|100|1|100"}));

    // A taxa list chosen: its taxa only, over every date, at the chosen point only.
    executerOk(QStringLiteral("INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, "
                              "CodeParametre, TypeListe) VALUES ('INV', 1, '212', 1)"));
    CriteresRecherche c;
    c.pointPrelevement = QStringLiteral("131");
    c.selections = {QStringLiteral("INV")};
    EXPECT_EQ(lignes(chercher(c)),
              QStringList({"10/05/2024|BSS001|Baetis|0|0|Massif central sud|Haute Loire"}));
}

// Each kind shows its own columns: the sampler of the operation, the element's code and name, and
// a count or a result; the indicator and distribution titles speak of counts or calculations.
TEST_P(RechercheOperationsTest, ColonnesPropresAChaqueGenre)
{
    executerOk(QStringLiteral("INSERT INTO INTERVENANTS (CodeIntervenant, Nom) VALUES (44, "
                              "'Hydrobio Conseil')"));
    executerOk(QStringLiteral("UPDATE QUALITOMETRES_POINTS_OPERATIONS SET codePreleveur=44 WHERE "
                              "codeQualitometre=1 AND codeOperation=0"));
    const ResultatRecherche taxa = chercher(QStringLiteral("131"), QStringLiteral("8"));
    EXPECT_EQ(titresResultats(taxa.genre).join(u'|'),
              QStringLiteral("Prélèvement|Identifiant|Station|Préleveur|Code|Taxon|Comptage|"
                             "Seuil1|Seuil2|Seuil3|Seuil4|Qualitomètre|Qualification|Statut|code "
                             "Taxon|codeQualitometre|Operation|Code HER|HER|Code BV|Bassin "
                             "versant|X|Y|Projection|Classe|Couleur"));
    ASSERT_EQ(taxa.lignes.size(), 2);
    EXPECT_EQ(
        celluleResultat(taxa, taxa.lignes[1]).join(u'|'),
        QStringLiteral("10/05/2024|BSS001|Amont|Hydrobio Conseil|807|Gammarus|55|10|50|100||"
                       "BSS001||2|807|1|0|5|Massif central sud|7|Haute Loire||||2|243,235,85"));
    const QStringList indicateurs = grilleIndicateurs(taxa).titres;
    EXPECT_EQ(indicateurs.mid(2, 2), QStringList({"Nb recherches", "Comptage"}));
    EXPECT_EQ(indicateurs[9], QStringLiteral("Fréq. occurence"));
    EXPECT_EQ(grilleTotaux(taxa).titres.mid(3, 7).join(u'|'),
              QStringLiteral("Comptage|< seuil 1|> seuil 1 et < seuil 2|> seuil 2 et < seuil 3|> "
                             "seuil 3 et < seuil 4|> seuil 4|Fréq. occurence"));
    EXPECT_EQ(grilleRepartitions(taxa).titres.mid(2, 3),
              QStringList({"Nb stations", "Nb avec comptage", "% avec comptage"}));

    // Surveys: the same search, counted as surveys.
    ResultatRecherche releves = taxa;
    releves.genre = genreRecherche(QStringLiteral("271"));
    EXPECT_EQ(titresResultats(releves.genre)[COLONNE_RESULTAT_RECHERCHE],
              QStringLiteral("Relevés"));
    EXPECT_EQ(grilleIndicateurs(releves).titres[3], QStringLiteral("Relevé"));
    EXPECT_EQ(celluleResultat(releves, releves.lignes[1])[COLONNE_RESULTAT_RECHERCHE],
              QStringLiteral("55"));

    const ResultatRecherche indices = chercher(QStringLiteral("-1"), QStringLiteral("8"));
    EXPECT_EQ(titresResultats(indices.genre).join(u'|'),
              QStringLiteral("Prélèvement|Identifiant|Station|Préleveur|Code|Paramètre|Résultat|"
                             "Seuil1|Seuil2|Seuil3|Seuil4|Qualitomètre|Qualification|Statut|"
                             "codeQualitometre|Operation|Code HER|HER|Code BV|Bassin "
                             "versant|X|Y|Projection|Classe|Couleur"));
    EXPECT_EQ(celluleResultat(indices, indices.lignes[0]).join(u'|'),
              QStringLiteral("10/05/2024|BSS001|Amont|Hydrobio Conseil|5856|IBGN|14|16|13|9|5|"
                             "BSS001||2|1|0|5|Massif central sud|7|Haute Loire||||1|0,255,0"));
    EXPECT_EQ(grilleIndicateurs(indices).titres.mid(2, 2),
              QStringList({"Nb recherches", "Nb calcul"}));
    EXPECT_EQ(grilleIndicateurs(indices).titres[9], QStringLiteral("taux détection"));
    EXPECT_EQ(grilleRepartitions(indices).titres.mid(8, 3),
              QStringList({"Nb HER", "Nb avec calcul", "% avec calcul"}));

    const ResultatRecherche etats = chercher(QStringLiteral("-2"), QStringLiteral("8"));
    EXPECT_EQ(titresResultats(etats.genre)[5], QStringLiteral("Etat"));
    EXPECT_EQ(grilleTotaux(etats).titres[3], QStringLiteral("Nb calcul"));
    // The analyses keep theirs.
    EXPECT_EQ(grilleIndicateurs(ResultatRecherche{}).titres[3], QStringLiteral("nb détections"));
}

// A searched taxon counts, per operation, its own rows and those of the taxa its codeTaxonCalcul
// names, as one result; a taxon of the group searched itself keeps its own count too.
TEST_P(RechercheOperationsTest, TaxonsComptesSousLeurTaxonDeCalcul)
{
    for (const char *sql : {
             "INSERT INTO TAXONS (codeTaxon, nomLatin, codeTaxonCalcul) VALUES ('800', "
             "'Gammaridae', '807; 809;')",
             "INSERT INTO TAXONS (codeTaxon, nomLatin) VALUES ('809', 'Echinogammarus')",
             "UPDATE QUALITOMETRES_POINTS_OPERATIONS SET codePoint=1 WHERE codeQualitometre=1",
             "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, codeTaxon, "
             "denombrementA) VALUES (0, 1, '809', 5)",
             "INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, codeTaxon, "
             "denombrementB) VALUES (1, 2, '809', 4)",
             "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, CodeParametre, TypeListe) "
             "VALUES ('GAM', 1, '800', 1)",
             "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, CodeParametre, TypeListe) "
             "VALUES ('GAM', 2, '809', 1)",
             "INSERT INTO ANALYSES_SEUILS (TypeListe, typeSeuil, CodeParametre, Seuil1, Seuil2) "
             "VALUES ('1', 8, '800', 20, 50)",
         })
        executerOk(QString::fromUtf8(sql));
    CriteresRecherche c;
    c.pointPrelevement = QStringLiteral("131");
    c.selections = {QStringLiteral("GAM")};
    c.typeSeuil = QStringLiteral("8");
    const ResultatRecherche r = chercher(c);
    // 2023: 9 Gammarus + 4 Echinogammarus; 2024: 55 + 5. Baetis is in no group.
    EXPECT_EQ(lignes(r), QStringList({
                             "10/05/2023|BSS001|Gammaridae|13|0|Massif central sud|Haute Loire",
                             "10/05/2023|BSS001|Echinogammarus|4|0|Massif central sud|Haute Loire",
                             "10/05/2024|BSS001|Gammaridae|60|2|Massif central sud|Haute Loire",
                             "10/05/2024|BSS001|Echinogammarus|5|0|Massif central sud|Haute Loire",
                         }));
    const int codes = int(titresResultats(r.genre).indexOf(QStringLiteral("code Taxon")));
    QStringList comptes;
    for (const LigneResultat &l : r.lignes)
        comptes << celluleResultat(r, l)[4] + u'=' + celluleResultat(r, l)[codes];
    EXPECT_EQ(comptes, QStringList({"800=807;809", "809=809", "800=807;809", "809=809"}));
    const GrilleTexte indicateurs = grilleIndicateurs(r);
    EXPECT_EQ(joindre(indicateurs), QStringList({"800/|Gammaridae|2|2|1|0|1|0|0|100|1|50",
                                                 "809/|Echinogammarus|2|2|2|0|0|0|0|100|0|0"}));
    EXPECT_EQ(indicateurs.lignes[0].mid(13, 3), QStringList({"13", "36.5", "60"}));

    // One taxon chosen by its code: the same groups; detections only drop nothing counted.
    CriteresRecherche seul;
    seul.pointPrelevement = QStringLiteral("131");
    seul.parametre = QStringLiteral("800");
    seul.detectionsSeulement = true;
    EXPECT_EQ(lignes(chercher(seul)),
              QStringList({"10/05/2023|BSS001|Gammaridae|13|0|Massif central sud|Haute Loire",
                           "10/05/2024|BSS001|Gammaridae|60|0|Massif central sud|Haute Loire"}));
}

// Coordinates in the projection the settings choose: a localisation in it first, else the
// station's own converted; kept as stored when they cannot be converted.
TEST_P(RechercheOperationsTest, CoordonneesDansLaProjectionAffichee)
{
    test::creerTablesCatalogue({"QUALITOMETRE_LOCALISATIONS"});
    for (const char *sql : {
             "UPDATE QUALITOMETRES SET X=2.3522, Y=48.8566, TypeProjection=16 WHERE "
             "CodeQualitometre=1",
             "UPDATE QUALITOMETRES SET X=-1.5, Y=47.2, TypeProjection=16 WHERE CodeQualitometre=2",
             "INSERT INTO QUALITOMETRE_LOCALISATIONS (CodeQualitometre, CodeProjection, X, Y) "
             "VALUES (2, 26, 700000.5, 6600000)",
         })
        executerOk(QString::fromUtf8(sql));
    const auto coordonnees = [](const ResultatRecherche &r) {
        QStringList c;
        for (const QStringList &l : grilleStations(r).lignes)
            c << l[1] + u' ' + l.mid(9).join(u' ');
        return c;
    };
    // No projection chosen: as stored.
    EXPECT_EQ(coordonnees(chercher(QStringLiteral("-1"))),
              QStringList({"BSS001 2.3522 48.8566 16", "BSS002 -1.5 47.2 16"}));

    ecrireRegistre(reglage::TypeProjection, QStringLiteral("26"));
    const ResultatRecherche r = chercher(QStringLiteral("-1"));
    ASSERT_EQ(r.stations.size(), 2);
    EXPECT_NEAR(r.stations[0].x.toDouble(), 652469.02, 15);
    EXPECT_NEAR(r.stations[0].y.toDouble(), 6862035.26, 15);
    EXPECT_EQ(coordonnees(r)[1], QStringLiteral("BSS002 700000.5 6600000 26"));
    // The results grid shows the same.
    const QStringList titres = titresResultats(r.genre);
    const QStringList cellules = celluleResultat(r, r.lignes[0]);
    EXPECT_EQ(cellules[titres.indexOf(QStringLiteral("X"))], r.stations[0].x);
    EXPECT_EQ(cellules[titres.indexOf(QStringLiteral("Projection"))], QStringLiteral("26"));

    executerOk(QStringLiteral("UPDATE QUALITOMETRES SET TypeProjection=99 WHERE "
                              "CodeQualitometre=1"));
    EXPECT_EQ(coordonnees(chercher(QStringLiteral("-1")))[0],
              QStringLiteral("BSS001 2.3522 48.8566 99"));
}

TEST_P(RechercheOperationsTest, ParametreCalculeTotaliseSesComposantsParPrelevement)
{
    for (const char *sql : {
             "INSERT INTO ANALYSES_PARAMETRES (Code, Nom, Calcule, codeParametresCalcul) VALUES "
             "('6000', 'Somme des nitrates et nitrites', '1', '1340;1339')",
             "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('1340', 'Nitrates')",
             "INSERT INTO ANALYSES_UNITES (Code, Symbole) VALUES ('162', 'mg/L')",
             "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, CodeParametre, CodeUnite, "
             "TypeListe) VALUES ('AZOTE', 1, '6000', '162', 0)",
             "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, CodeParametre, CodeUnite, "
             "TypeListe) VALUES ('AZOTE', 2, '1340', '162', 0)",
             "INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES ('SEUILS', 9, 'Azote')",
             "INSERT INTO ANALYSES_SEUILS (TypeListe, typeSeuil, CodeParametre, CodeUnite, "
             "Seuil1, Seuil2) VALUES ('0', 9, '6000', '162', 10, 50)",
             "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, "
             "codeOperation) VALUES (1, 1, #03/01/2024#, 0)",
             "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, "
             "codeOperation) VALUES (2, 1, #04/01/2024#, 0)",
             "INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, CodeQualitometre, "
             "CodeParametre, CodeUnite, Resultat) VALUES (1, 1, 1, '1340', '162', 30)",
             "INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, CodeQualitometre, "
             "CodeParametre, CodeUnite, Resultat) VALUES (2, 1, 1, '1339', '162', 25.5)",
             "INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, CodeQualitometre, "
             "CodeParametre, CodeUnite, Resultat, CodeRemarque) VALUES (3, 2, 1, '1339', '162', "
             "0.5, '10')",
         })
        executerOk(QString::fromUtf8(sql));
    CriteresRecherche c;
    c.selections = {QStringLiteral("AZOTE")};
    c.typeSeuil = QStringLiteral("9");
    const ResultatRecherche r = chercher(c);
    // Nitrites are searched for the total only; a sample whose components are all below their
    // limit gives a total that is no detection.
    EXPECT_EQ(lignes(r), QStringList({
                             "01/03/2024|BSS001|Nitrates|30|0|Massif central sud|Haute Loire",
                             "01/03/2024|BSS001|Somme des nitrates et nitrites|55.5|2|Massif "
                             "central sud|Haute Loire",
                             "01/04/2024|BSS001|Somme des nitrates et nitrites|0|0|Massif central "
                             "sud|Haute Loire",
                         }));
    EXPECT_EQ(celluleResultat(r, r.lignes[1])[7], QStringLiteral("mg/L"));
    EXPECT_EQ(joindre(grilleIndicateurs(r)),
              QStringList({"6000/162|Somme des nitrates et nitrites|2|1|1|0|1|0|0|50|1|50",
                           "1340/162|Nitrates|1|1|1|0|0|0|0|100|0|0"}));
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(RechercheOperationsTest);
