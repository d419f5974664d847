#include "search/Recherche.h"
#include "db/BaseDonnees.h"
#include "db/Session.h"
#include "quality/Seuils.h"
#include "schema/TableAnalyses.h"
#include "users/AccesStations.h"
#include "users/TablesUtilisateurs.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

QString classe(double v, const GrilleRecherche &g)
{
    const ClasseRecherche c = classerRecherche(v, &g);
    return QStringLiteral("%1/%2").arg(c.classe).arg(c.couleur);
}

GrilleRecherche grille(std::initializer_list<std::optional<double>> s)
{
    GrilleRecherche g;
    size_t k = 0;
    for (const auto &v : s)
        g.seuils[k++] = v;
    return g;
}

TEST(ClasseRecherche, GrillesMontantesDescendantesEtVides)
{
    const GrilleRecherche montante = grille({10, 25, 50, 100});
    EXPECT_EQ(classe(30, montante), QStringLiteral("2/2"));
    EXPECT_EQ(classe(200, montante), QStringLiteral("4/4"));
    EXPECT_EQ(classe(5, montante), QStringLiteral("0/0"));
    // A value equal to a bound is not past it.
    EXPECT_EQ(classe(25, montante), QStringLiteral("1/1"));
    EXPECT_EQ(classe(100, montante), QStringLiteral("3/3"));

    // Past the last set bound shows red whatever the class.
    const GrilleRecherche deux = grille({10, 25, std::nullopt, std::nullopt});
    EXPECT_EQ(classe(30, deux), QStringLiteral("2/4"));
    EXPECT_EQ(classe(5, deux), QStringLiteral("0/0"));
    // An empty bound keeps its place: past s3 is class 3.
    EXPECT_EQ(classe(60, grille({10, std::nullopt, 50, std::nullopt})), QStringLiteral("3/4"));

    const GrilleRecherche descendante = grille({8, 6, 4, 3});
    EXPECT_EQ(classe(2, descendante), QStringLiteral("4/4"));
    EXPECT_EQ(classe(5, descendante), QStringLiteral("2/2"));
    EXPECT_EQ(classe(7, descendante), QStringLiteral("1/1"));
    EXPECT_EQ(classe(9, descendante), QStringLiteral("0/0"));
    EXPECT_EQ(classe(4, descendante), QStringLiteral("3/3"));
    EXPECT_EQ(classe(8, descendante), QStringLiteral("1/1"));

    // No bound, no grid: class 0 in blue, never red.
    EXPECT_EQ(classe(30, GrilleRecherche{}), QStringLiteral("0/0"));
    const ClasseRecherche sans = classerRecherche(30, nullptr);
    EXPECT_EQ(sans.classe + sans.couleur, 0);
    const CouleurRgb rouge = couleursClasses()[4], bleu = couleursClasses()[0];
    EXPECT_EQ(QStringLiteral("%1,%2,%3|%4,%5,%6")
                  .arg(rouge.r)
                  .arg(rouge.g)
                  .arg(rouge.b)
                  .arg(bleu.r)
                  .arg(bleu.g)
                  .arg(bleu.b),
              QStringLiteral("255,0,0|22,112,241"));
}

// The search and the maps class by one rule: over full grids the search's class is the maps'
// class minus one, bounds equal to the value included, both orientations.
TEST(ClasseRecherche, UneSeuleRegleAvecLesCartes)
{
    const QVector<QVector<double>> grilles = {
        {10, 25, 50, 100}, {8, 6, 4, 3}, {10, 25, 50}, {8, 6}, {10}, {10, 5, 20}};
    const QVector<double> valeurs = {0, 3, 3.5, 5, 6, 7, 8, 9, 10, 10.0001, 25, 30, 100, 150};
    QStringList ecarts;
    for (const QVector<double> &b : grilles) {
        GrilleRecherche g;
        for (qsizetype k = 0; k < b.size(); ++k)
            g.seuils[size_t(k)] = b[k];
        for (double v : valeurs) {
            const int carte = getClasse(QString::number(v), b).toInt();
            const int recherche = classerRecherche(v, &g).classe;
            if (carte - 1 != recherche && !(carte == 0 && recherche == 0))
                ecarts << QStringLiteral("%1 sur %2 : %3 / %4")
                              .arg(v)
                              .arg(b.size())
                              .arg(carte)
                              .arg(recherche);
        }
    }
    EXPECT_TRUE(ecarts.isEmpty()) << qPrintable(ecarts.join(u'\n'));
    // Two bounds are increasing, as on the maps: 8 then 6 leaves 7 unclassed and 9 past both.
    EXPECT_EQ(classe(7, grille({8, 6, std::nullopt, std::nullopt})), QStringLiteral("0/0"));
    EXPECT_EQ(classe(9, grille({8, 6, std::nullopt, std::nullopt})), QStringLiteral("2/4"));
    // Bounds going down then up class nothing.
    EXPECT_EQ(classe(30, grille({10, 5, 20, std::nullopt})), QStringLiteral("0/0"));
    // The places of the bounds stay: past s1 and s3 of a grid without s2 and s4 is class 3.
    const std::array<std::optional<double>, 4> trous = {8.0, std::nullopt, 4.0, std::nullopt};
    EXPECT_EQ(bornePassee(4, trous, true), 3);
    EXPECT_EQ(bornePassee(5, trous, true), 1);
    EXPECT_EQ(bornePassee(9, trous, true), 0);
}

TEST(ClasseRecherche, FiltreDesClasses)
{
    const ClasseRecherche c0{0, 0}, c2{2, 2}, c2rouge{2, 4}, c4{4, 4};
    QStringList garde;
    for (int f = 0; f <= 9; ++f) {
        QString g;
        for (const ClasseRecherche &c : {c0, c2, c2rouge, c4})
            g += classeRetenue(c, f) ? u'x' : u'.';
        garde << g;
    }
    EXPECT_EQ(garde, QStringList({"xxxx", ".xxx", ".xxx", "...x", "...x", "x...", "x...", "xxx.",
                                  "xxx.", "x.xx"}));
    EXPECT_EQ(libellesFiltreClasse().size(), 10);
    EXPECT_EQ(libellesFiltreClasse().last(), QStringLiteral("<= seuil 1 et > seuil max"));
}

// Stations 1 (BSS001) and 2 (BSS002), operation 0 of each written by import job 77, status 1.
// Threshold type 5 and its child 6: nitrates ascending, oxygen descending, a default grid.
class RechercheTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesQualite();
        test::creerTablesCatalogue({"LIEN_QUALITO_MASSE_EAU", "LIEN_QUALITO_RESEAUX",
                                    "BASSINS_VERSANTS", "ANALYSES_PARAMETRES_SELECTIONS_TITRE"});
        ASSERT_TRUE(assurerTablesUtilisateurs());
        connecterAdministrateur();
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("BSS001")));
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("BSS002")));
        for (const char *sql : {
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, her_niveau1, "
                 "codeBassinVersant) VALUES (1, 'BSS001', 'Amont', 5, 7)",
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, her_niveau1) "
                 "VALUES (2, 'BSS002', 'Aval', 5)",
                 "INSERT INTO LIEN_QUALITO_MASSE_EAU (CodeQualitometre, Code_ME) VALUES (1, 'ME1')",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "dateDebut, statut, qualification, jobExecutionId) VALUES (1, 0, #01/01/2024#, "
                 "1, 2, 77)",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "dateDebut, statut, qualification, jobExecutionId) VALUES (2, 0, #01/01/2024#, "
                 "1, 2, 77)",
                 "INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES ('SEUILS', 5, 'Usage')",
                 "INSERT INTO CODES_SANDRE (Champ, Code, Libelle, codeReference) VALUES "
                 "('SEUILS', 6, 'Usage fin', '5')",
                 "INSERT INTO ANALYSES_SEUILS (TypeListe, typeSeuil, CodeParametre, CodeUnite, "
                 "Seuil1, Seuil2, Seuil3, Seuil4) VALUES ('0', 6, '1340', '162', 10, 25, 50, 100)",
                 "INSERT INTO ANALYSES_SEUILS (TypeListe, typeSeuil, CodeParametre, Seuil1, "
                 "Seuil2, Seuil3, Seuil4) VALUES ('0', 5, '1311', 8, 6, 4, 3)",
                 "INSERT INTO ANALYSES_SEUILS (TypeListe, typeSeuil, Seuil1) VALUES ('0', 5, 1000)",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('1340', 'Nitrates')",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('1311', 'Oxygène dissous')",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('1399', 'Sans résultat')",
                 "INSERT INTO ANALYSES_UNITES (Code, Symbole) VALUES ('162', 'mg/L')",
                 "INSERT INTO INTERVENANTS (CodeIntervenant, Nom) VALUES (9, 'Labo Est')",
             })
            executerOk(QString::fromUtf8(sql));
    }

    void executerOk(const QString &sql)
    {
        ASSERT_TRUE(executer(sql)) << qPrintable(sql) << qPrintable(bd().derniereErreur());
    }

    // One sample (numbered like the analysis) holding one analysis. date: MM/DD/YYYY.
    void mesure(int station, int numero, const QString &date, const QString &parametre,
                const QString &resultat, const QString &remarque = QStringLiteral("NULL"),
                const QString &statut = QStringLiteral("NULL"))
    {
        executerOk(QStringLiteral("INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, "
                                  "DateDebut, codeOperation) VALUES (%1, %2, #%3#, 0)")
                       .arg(numero)
                       .arg(station)
                       .arg(date));
        executerOk(QStringLiteral("INSERT INTO ANALYSES_BSS00%1 (NumAnalyse, NumPrelevement, "
                                  "CodeQualitometre, CodeParametre, CodeUnite, Resultat, "
                                  "CodeRemarque, StatutMesure, CodeLabo) VALUES (%2, %2, %1, "
                                  "'%3', '162', %4, %5, %6, 9)")
                       .arg(station)
                       .arg(numero)
                       .arg(parametre, resultat, remarque, statut));
    }

    CriteresRecherche criteres2024()
    {
        CriteresRecherche c;
        c.dateDebut = QStringLiteral("01/01/2024");
        c.dateFin = QStringLiteral("31/12/2024");
        return c;
    }

    // "date|station|parameter|result|unit|lab|class|colour" of each result row.
    QStringList lignes(const ResultatRecherche &r)
    {
        QStringList sortie;
        for (const LigneResultat &l : r.lignes) {
            const QStringList c = celluleResultat(r, l);
            sortie << QStringList{c[0], c[1], c[5], c[6], c[7], c[8], c[30], c[31]}.join(u'|');
        }
        return sortie;
    }

    static QStringList joindre(const GrilleTexte &g)
    {
        QStringList sortie;
        for (const QStringList &l : g.lignes)
            sortie << l.join(u'|');
        return sortie;
    }

    ResultatRecherche chercher(const CriteresRecherche &c, IssueRecherche attendue)
    {
        ResultatRecherche r;
        QString message;
        EXPECT_EQ(int(rechercherResultats(c, r, message)), int(attendue)) << qPrintable(message);
        return r;
    }
};

TEST_P(RechercheTest, ClassesIndicateursEtTotaux)
{
    mesure(1, 1, QStringLiteral("02/01/2024"), QStringLiteral("1340"), QStringLiteral("30"));
    mesure(1, 2, QStringLiteral("02/02/2024"), QStringLiteral("1340"), QStringLiteral("200"));
    mesure(1, 3, QStringLiteral("02/03/2024"), QStringLiteral("1340"), QStringLiteral("5"));
    mesure(1, 4, QStringLiteral("02/04/2024"), QStringLiteral("1340"), QStringLiteral("25"));
    mesure(1, 5, QStringLiteral("02/05/2024"), QStringLiteral("1340"), QStringLiteral("0.5"),
           QStringLiteral("'10'"));
    mesure(1, 6, QStringLiteral("02/06/2024"), QStringLiteral("1340"), QStringLiteral("3.5"),
           QStringLiteral("'9'"));
    // Dated on the end date: left out.
    mesure(1, 7, QStringLiteral("12/31/2024"), QStringLiteral("1340"), QStringLiteral("99"));
    mesure(1, 8, QStringLiteral("03/01/2024"), QStringLiteral("1311"), QStringLiteral("2"));
    mesure(1, 9, QStringLiteral("03/02/2024"), QStringLiteral("1311"), QStringLiteral("7"));
    // A parameter missing from the referential still comes, under the default grid.
    mesure(1, 10, QStringLiteral("03/03/2024"), QStringLiteral("1335"), QStringLiteral("3"));

    CriteresRecherche c = criteres2024();
    c.stations = {1};
    c.typeSeuil = QStringLiteral("5");
    const ResultatRecherche r = chercher(c, IssueRecherche::Trouve);
    EXPECT_EQ(lignes(r), QStringList({
                             "01/02/2024|BSS001|Nitrates|30|mg/L|Labo Est|2|243,235,85",
                             "02/02/2024|BSS001|Nitrates|200|mg/L|Labo Est|4|255,0,0",
                             "03/02/2024|BSS001|Nitrates|5|mg/L|Labo Est|0|22,112,241",
                             "04/02/2024|BSS001|Nitrates|25|mg/L|Labo Est|1|0,255,0",
                             "05/02/2024|BSS001|Nitrates|<0.5|mg/L|Labo Est|0|22,112,241",
                             "06/02/2024|BSS001|Nitrates|<3.5|mg/L|Labo Est|0|22,112,241",
                             "01/03/2024|BSS001|Oxygène dissous|2|mg/L|Labo Est|4|255,0,0",
                             "02/03/2024|BSS001|Oxygène dissous|7|mg/L|Labo Est|1|0,255,0",
                             "03/03/2024|BSS001||3|mg/L|Labo Est|0|22,112,241",
                         }));
    EXPECT_EQ(joindre(grilleIndicateurs(r)),
              QStringList({
                  "1340/162|Nitrates|6|4|3|1|1|0|1|66.7|3|50|200|0.5|44|200|3.5|25|30|1340|162",
                  "1311/162|Oxygène dissous|2|2|0|1|0|0|1|100|2|100|7|2|4.5|7|2|7|7|1311|162",
                  "1335/162||1|1|1|0|0|0|0|100|0|0|3|3|3|3|3|3|3|1335|162",
              }));
    EXPECT_EQ(joindre(grilleTotaux(r)), QStringList({"Total||9|7|4|2|1|0|2|77.8|5|55.6||||"}));
    EXPECT_EQ(joindre(grilleRepartitions(r)),
              QStringList({"1340/162|Nitrates|1|1|100|1|1|100|1|1|100|1|1|100",
                           "1311/162|Oxygène dissous|1|1|100|1|1|100|1|1|100|1|1|100",
                           "1335/162||1|1|100|1|1|100|1|1|100|1|1|100"}));

    // The class filter keeps the rows, not the counts; a second run gives the same.
    c.filtreClasse = 2;
    const ResultatRecherche filtre = chercher(c, IssueRecherche::Trouve);
    EXPECT_EQ(lignes(filtre).size(), 3);
    EXPECT_EQ(joindre(grilleIndicateurs(filtre)), joindre(grilleIndicateurs(r)));
}

TEST_P(RechercheTest, SelectionSousListesEtParametreSansResultat)
{
    for (const char *sql : {
             "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS_TITRE (Code, Nom, TypeListe) VALUES "
             "('MOOX', 'Matières oxydables', 0)",
             "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS_TITRE (Code, Nom, TypeListe, codeParent) "
             "VALUES ('MOOX-A', 'Annexe', 0, 'MOOX')",
             // A taxa list of the same code is not searched.
             "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, CodeParametre, TypeListe) "
             "VALUES ('MOOX', 1, '1311', 1)",
             "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, CodeParametre, CodeUnite, "
             "TypeListe) VALUES ('MOOX', 1, '1340', '162', 0)",
             "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, CodeParametre, TypeListe) "
             "VALUES ('MOOX', 2, '1399', 0)",
             "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, CodeParametre, TypeListe) "
             "VALUES ('MOOX-A', 1, '1335', 0)",
         })
        executerOk(QString::fromUtf8(sql));
    mesure(1, 1, QStringLiteral("02/01/2024"), QStringLiteral("1340"), QStringLiteral("12.5"));
    mesure(1, 2, QStringLiteral("02/02/2024"), QStringLiteral("1311"), QStringLiteral("4"));
    mesure(2, 3, QStringLiteral("02/03/2024"), QStringLiteral("1335"), QStringLiteral("1.5"),
           QStringLiteral("'2'"));

    CriteresRecherche c = criteres2024();
    c.selections = {QStringLiteral("MOOX")};
    const ResultatRecherche r = chercher(c, IssueRecherche::Trouve);
    // One value is its own percentile, quartiles, minimum, mean and maximum; a parameter
    // without result has empty rates and statistics, not 0 / 0.
    EXPECT_EQ(joindre(grilleIndicateurs(r)),
              QStringList({
                  "1340/162|Nitrates|1|1|1|0|0|0|0|100|0|0|12.5|12.5|12.5|12.5|12.5|12.5|12.5|"
                  "1340|162",
                  "1399/|Sans résultat|0|0|0|0|0|0|0||0|||||||||1399|",
                  "1335/||1|0|1|0|0|0|0|0|0|0|1.5|1.5|1.5|1.5|1.5|1.5|1.5|1335|",
              }));
    EXPECT_EQ(
        joindre(grilleRepartitions(r)),
        QStringList({"1340/162|Nitrates|1|1|100|1|1|100|1|1|100|1|1|100",
                     "1399/|Sans résultat|0|0||0|0||0|0||0|0|", "1335/||1|0|0|0|0||1|0|0|0|0|"}));
}

TEST_P(RechercheTest, HeritageDetectionsEtProducteur)
{
    // Status: the analysis's own, else its operation's (1).
    mesure(1, 1, QStringLiteral("02/01/2024"), QStringLiteral("1340"), QStringLiteral("11"));
    mesure(1, 2, QStringLiteral("02/02/2024"), QStringLiteral("1340"), QStringLiteral("12"),
           QStringLiteral("NULL"), QStringLiteral("'2'"));
    mesure(1, 3, QStringLiteral("02/03/2024"), QStringLiteral("1340"), QStringLiteral("13"),
           QStringLiteral("'2'"));
    mesure(1, 4, QStringLiteral("02/04/2024"), QStringLiteral("1340"), QStringLiteral("14"),
           QStringLiteral("'9'"));
    mesure(1, 5, QStringLiteral("02/05/2024"), QStringLiteral("1340"), QStringLiteral("15"),
           QStringLiteral("'10'"));
    mesure(1, 6, QStringLiteral("02/06/2024"), QStringLiteral("1340"), QStringLiteral("16"),
           QStringLiteral("'1'"));

    CriteresRecherche c = criteres2024();
    c.statut = QStringLiteral("1");
    QStringList resultats;
    ResultatRecherche r = chercher(c, IssueRecherche::Trouve);
    for (const LigneResultat &l : r.lignes)
        resultats << r.resultat(l) + u'/' + r.texte(l.statut);
    EXPECT_EQ(resultats, QStringList({"11/1", "<13/1", "<14/1", "<15/1", "16/1"}));

    c.statut.clear();
    c.detectionsSeulement = true;
    resultats.clear();
    r = chercher(c, IssueRecherche::Trouve);
    for (const LigneResultat &l : r.lignes)
        resultats << r.resultat(l);
    EXPECT_EQ(resultats, QStringList({"11", "12", "16"}));

    c.producteur = QStringLiteral("55");
    chercher(c, IssueRecherche::AucunResultat);
    executerOk(QStringLiteral("UPDATE QUALITOMETRES_POINTS_OPERATIONS SET codeProducteur=55"));
    EXPECT_EQ(chercher(c, IssueRecherche::Trouve).lignes.size(), 3);
}

TEST_P(RechercheTest, UtilisateurRestreintEtTravailImport)
{
    mesure(1, 1, QStringLiteral("02/01/2024"), QStringLiteral("1340"), QStringLiteral("11"));
    mesure(2, 2, QStringLiteral("02/02/2024"), QStringLiteral("1340"), QStringLiteral("12"));
    CriteresRecherche c = criteres2024();
    c.jobExecution = QStringLiteral("77");
    EXPECT_EQ(lignes(chercher(c, IssueRecherche::Trouve)).size(), 2);

    session().vider();
    session().login = QStringLiteral("AGENT");
    ASSERT_TRUE(accorderStation(1));
    const QStringList vues = lignes(chercher(c, IssueRecherche::Trouve));
    ASSERT_EQ(vues.size(), 1);
    EXPECT_TRUE(vues[0].startsWith(QStringLiteral("01/02/2024|BSS001|")));
    // Naming the other station does not open it either.
    c.stations = {2};
    chercher(c, IssueRecherche::AucunResultat);
    // A job that is no number is refused before any statement.
    c.jobExecution = QStringLiteral("77 OR 1=1");
    chercher(c, IssueRecherche::DatesInvalides);
}

TEST_P(RechercheTest, RapportDesSeuilsDUnImport)
{
    mesure(1, 1, QStringLiteral("02/01/2024"), QStringLiteral("1340"), QStringLiteral("5"));
    mesure(1, 2, QStringLiteral("02/02/2024"), QStringLiteral("1340"), QStringLiteral("30"));
    mesure(1, 3, QStringLiteral("02/03/2024"), QStringLiteral("1340"), QStringLiteral("200"));
    mesure(2, 4, QStringLiteral("02/04/2024"), QStringLiteral("1340"), QStringLiteral("3.5"),
           QStringLiteral("'10'"));
    // Without a grid there is no anomaly; another job's results are not in the report.
    executerOk(QStringLiteral("DELETE FROM ANALYSES_SEUILS WHERE CodeParametre IS NULL"));
    mesure(1, 5, QStringLiteral("02/05/2024"), QStringLiteral("1335"), QStringLiteral("1"));
    executerOk(QStringLiteral("INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, "
                              "codeOperation, dateDebut, jobExecutionId) VALUES (1, 1, "
                              "#01/01/2024#, 78)"));
    executerOk(QStringLiteral("INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, "
                              "DateDebut, codeOperation) VALUES (6, 1, #02/06/2024#, 1)"));
    executerOk(QStringLiteral("INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, "
                              "CodeQualitometre, CodeParametre, CodeUnite, Resultat) VALUES (6, "
                              "6, 1, '1340', '162', 500)"));
    const auto rapport = [&](bool sous, bool audela) {
        ResultatRecherche r;
        QString message;
        EXPECT_EQ(rapportSeuils(77, QStringLiteral("5"), sous, audela, r, message),
                  IssueRecherche::Trouve)
            << qPrintable(message);
        EXPECT_EQ(r.total.recherches, 5);
        QStringList sortie;
        for (const LigneResultat &l : r.lignes)
            sortie << r.resultat(l);
        return sortie;
    };
    EXPECT_EQ(rapport(true, false), QStringList({"5", "<3.5"}));
    EXPECT_EQ(rapport(false, true), QStringList({"200"}));
    EXPECT_EQ(rapport(true, true), QStringList({"5", "200", "<3.5"}));
    EXPECT_EQ(MESSAGE_ANOMALIES_SEUILS,
              QStringLiteral("Intégration terminée. Certaines anomalies ont été notifiées dans le "
                             "rapport de recherche selon le seuil"));
}

class Annulation : public Progression
{
  public:
    bool annule() const override { return true; }
};

TEST_P(RechercheTest, DatesAucunResultatEtAnnulation)
{
    mesure(1, 1, QStringLiteral("02/01/2024"), QStringLiteral("1340"), QStringLiteral("11"));
    CriteresRecherche c = criteres2024();
    ResultatRecherche r;
    QString message;
    c.dateFin = QStringLiteral("31/02/2024");
    EXPECT_EQ(rechercherResultats(c, r, message), IssueRecherche::DatesInvalides);
    EXPECT_EQ(message, QStringLiteral("Renseignez les dates de chargement"));

    // Empty dates take 01/01/1900 and 31/12/2050.
    c.dateDebut.clear();
    c.dateFin.clear();
    EXPECT_EQ(rechercherResultats(c, r, message), IssueRecherche::Trouve);
    EXPECT_EQ(r.lignes.size(), 1);

    c.parametre = QStringLiteral("1311");
    EXPECT_EQ(rechercherResultats(c, r, message), IssueRecherche::AucunResultat);
    EXPECT_EQ(message, QStringLiteral("Aucun résultat ne correspond à vos critères."));
    EXPECT_TRUE(r.lignes.isEmpty() && r.indicateurs.isEmpty() && r.stations.isEmpty());

    c.parametre.clear();
    Annulation annulation;
    EXPECT_EQ(rechercherResultats(c, r, message, annulation), IssueRecherche::Annulee);
    EXPECT_TRUE(r.lignes.isEmpty() && r.indicateurs.isEmpty());
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(RechercheTest);
