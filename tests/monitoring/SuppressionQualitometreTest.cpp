#include "monitoring/SuppressionQualitometre.h"
#include "db/Progression.h"
#include "db/Sql.h"
#include "schema/Catalogue.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class SuppressionQualitometreTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(verifierVersionBase(versionProgramme()));
    }

    // A station with a row in every table it owns, two points ("131" hydrobiological, "031"
    // physico-chemical) with one operation each, a sample per operation, its analysis and taxa
    // tables.
    void creerStation(int code, const QString &bss, bool avecTables = true)
    {
        const QString c = QString::number(code);
        for (const QString &table : tablesDeLaStation()) {
            const DefinitionTable *def = definitionTable(table);
            ASSERT_NE(def, nullptr) << qPrintable(table);
            if (table == QLatin1String("QUALITOMETRES") ||
                table.startsWith(QLatin1String("QUALITOMETRES_POINTS")) ||
                table.startsWith(QLatin1String("QUALITOMETRES_OPERATIONS")) ||
                table == QLatin1String("PRELEVEMENTS"))
                continue;
            ASSERT_TRUE(executer(QStringLiteral("INSERT INTO ") + table +
                                 QStringLiteral(" (CodeQualitometre) VALUES (") + c + u')'))
                << qPrintable(table);
        }
        ASSERT_TRUE(
            executer(QStringLiteral(
                         "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (%1, '%2')")
                         .arg(c, bss)));
        for (int p = 1; p <= 2; ++p) {
            const QString point = QString::number(p);
            const QString operation = QString::number(code * 10 + p);
            const QString prelevement = QString::number(code * 100 + p);
            ASSERT_TRUE(executer(
                QStringLiteral("INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, "
                               "identifiant) VALUES (%1, %2, '%3')")
                    .arg(c, point, p == 1 ? QStringLiteral("131") : QStringLiteral("031"))));
            ASSERT_TRUE(executer(QStringLiteral("INSERT INTO QUALITOMETRES_POINTS_OPERATIONS "
                                                "(codeQualitometre, codeOperation, codePoint) "
                                                "VALUES (%1, %2, %3)")
                                     .arg(c, operation, point)));
            for (const char *t :
                 {"QUALITOMETRES_OPERATIONS_LISTE", "QUALITOMETRES_OPERATIONS_PRELEVEMENTS",
                  "QUALITOMETRES_OPERATIONS_REC", "QUALITOMETRES_OPERATIONS_RESULTATS",
                  "QUALITOMETRES_OPERATIONS_UNITES", "QUALITOMETRES_POINTS_OPERATIONS_DISPOSITIFS",
                  "QUALITOMETRES_POINTS_OPERATIONS_ENV"})
                ASSERT_TRUE(
                    executer(QStringLiteral(
                                 "INSERT INTO %1 (codeQualitometre, codeOperation) VALUES (%2, %3)")
                                 .arg(QString::fromLatin1(t), c, operation)));
            ASSERT_TRUE(
                executer(QStringLiteral("INSERT INTO PRELEVEMENTS (NumPrelevement, "
                                        "CodeQualitometre, codeOperation) VALUES (%1, %2, %3)")
                             .arg(prelevement, c, operation)));
            for (const char *t :
                 {"PRELEVEMENTS_ECHANTILLONS", "PRELEVEMENTS_DOSSIERS", "PRELEVEMENTS_FINALITES"})
                ASSERT_TRUE(executer(
                    QStringLiteral(
                        "INSERT INTO %1 (NumPrelevement, CodeQualitometre) VALUES (%2, %3)")
                        .arg(QString::fromLatin1(t), prelevement, c)));
            if (avecTables) {
                if (p == 1) {
                    ASSERT_TRUE(executer(sqlCreationTableAnalyses(bss)));
                    ASSERT_TRUE(executer(sqlCreationTableListeTaxons(c)));
                }
                ASSERT_TRUE(executer(
                    QStringLiteral("INSERT INTO %1 (NumAnalyse, NumPrelevement, CodeQualitometre) "
                                   "VALUES (%2, %3, %4)")
                        .arg(identifiantTable(PREFIXE_ANALYSES, bss), point, prelevement, c)));
                ASSERT_TRUE(
                    executer(QStringLiteral("INSERT INTO QUALITOMETRES_LISTE_%1 (codeOperation, "
                                            "codeListe, indice) VALUES (%2, 1, 1)")
                                 .arg(c, operation)));
            }
        }
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO MAT_CAPTEURS_SITUATIONS (CodeCapteur, "
                                            "codeSite, TypeSite) VALUES (1, %1, 3)")
                                 .arg(c)));
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO MAT_CAPTEURS_SITUATIONS (CodeCapteur, "
                                            "codeSite, TypeSite) VALUES (2, %1, 1)")
                                 .arg(c)));
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO MAT_CENTRALES_SITUATIONS (CodeCentrale, "
                                            "codeSite, TypeSite) VALUES (1, %1, 3)")
                                 .arg(c)));
        ASSERT_TRUE(executer(
            QStringLiteral(
                "INSERT INTO UTILISATEURS_STATIONS VALUES ('JEAN', 'QUALITO', '%1', 'SINGLE')")
                .arg(c)));
    }

    // "table:count" of every table holding rows of the station.
    QStringList restes(int code)
    {
        QStringList r;
        const QString c = QString::number(code);
        for (const QString &table : tablesDeLaStation()) {
            const qint64 n = valeur(QStringLiteral("SELECT count(*) FROM ") + table +
                                    QStringLiteral(" WHERE CodeQualitometre=") + c)
                                 .toLongLong();
            if (n) r << table + u':' + QString::number(n);
        }
        for (const char *t :
             {"PRELEVEMENTS_ECHANTILLONS", "PRELEVEMENTS_DOSSIERS", "PRELEVEMENTS_FINALITES"}) {
            const qint64 n =
                valeur(QStringLiteral("SELECT count(*) FROM %1 WHERE NumPrelevement IN (%2, %3)")
                           .arg(QString::fromLatin1(t))
                           .arg(code * 100 + 1)
                           .arg(code * 100 + 2))
                    .toLongLong();
            if (n) r << QString::fromLatin1(t) + u':' + QString::number(n);
        }
        const qint64 mat =
            valeur(
                QStringLiteral(
                    "SELECT count(*) FROM MAT_CAPTEURS_SITUATIONS WHERE codeSite=%1 AND TypeSite=3")
                    .arg(c))
                .toLongLong() +
            valeur(QStringLiteral("SELECT count(*) FROM MAT_CENTRALES_SITUATIONS WHERE codeSite=%1")
                       .arg(c))
                .toLongLong();
        if (mat) r << QStringLiteral("MAT:") + QString::number(mat);
        if (valeur(
                QStringLiteral("SELECT count(*) FROM UTILISATEURS_STATIONS WHERE identifiant='%1'")
                    .arg(c))
                .toLongLong())
            r << QStringLiteral("UTILISATEURS_STATIONS");
        return r;
    }
};

TEST_P(SuppressionQualitometreTest, CascadeCompleteSansRienLaisser)
{
    creerStation(1, QStringLiteral("06987X0012"));
    creerStation(2, QStringLiteral("Le Rhône"));
    const QStringList autre = restes(2);
    ASSERT_FALSE(restes(1).isEmpty());

    const ResultatSuppression r =
        supprimerQualitometre(QStringLiteral("1"), QStringLiteral("06987X0012"));
    EXPECT_TRUE(r.effectuee);
    EXPECT_TRUE(r.echecs.isEmpty()) << qPrintable(r.echecs.join(u'\n'));
    EXPECT_EQ(restes(1), QStringList());
    EXPECT_FALSE(bd().tableExiste(QStringLiteral("ANALYSES_06987X0012")));
    EXPECT_FALSE(bd().tableExiste(QStringLiteral("QUALITOMETRES_LISTE_1")));
    // Equipment of another kind of site with the same code stays.
    EXPECT_EQ(valeur("SELECT count(*) FROM MAT_CAPTEURS_SITUATIONS WHERE codeSite=1").toInt(), 1);
    // The other station is untouched, its quoted analysis table too.
    EXPECT_EQ(restes(2), autre);
    EXPECT_TRUE(bd().tableExiste(QStringLiteral("ANALYSES_Le Rhône")));

    // Running it again finds nothing left and fails nowhere.
    const ResultatSuppression encore =
        supprimerQualitometre(QStringLiteral("1"), QStringLiteral("06987X0012"));
    EXPECT_TRUE(encore.echecs.isEmpty());
    EXPECT_TRUE(
        supprimerQualitometre(QStringLiteral("2"), QStringLiteral("Le Rhône")).echecs.isEmpty());
    EXPECT_EQ(restes(2), QStringList());
    EXPECT_FALSE(bd().tableExiste(QStringLiteral("ANALYSES_Le Rhône")));

    EXPECT_FALSE(
        supprimerQualitometre(QStringLiteral("1; DROP TABLE QUALITOMETRES"), QString()).effectuee);
    EXPECT_TRUE(bd().tableExiste(QStringLiteral("QUALITOMETRES")));
}

TEST_P(SuppressionQualitometreTest, StationSansTableDAnalysesSupprimee)
{
    creerStation(3, QStringLiteral("B3"), false);
    class Compteur : public Progression
    {
      public:
        void position(long long valeur, long long maximum) override
        {
            dernier = valeur;
            max = maximum;
        }
        long long dernier = 0, max = 0;
    } progression;
    const ResultatSuppression r =
        supprimerQualitometre(QStringLiteral("3"), QStringLiteral("B3"), &progression);
    EXPECT_TRUE(r.effectuee);
    EXPECT_TRUE(r.echecs.isEmpty());
    EXPECT_EQ(restes(3), QStringList());
    EXPECT_GT(progression.max, 30);
    EXPECT_EQ(progression.dernier, progression.max);
}

TEST_P(SuppressionQualitometreTest, DonneesSeulesPourLesImports)
{
    creerStation(4, QStringLiteral("B4"));
    const ResultatSuppression r =
        supprimerQualitometre(QStringLiteral("4"), QStringLiteral("B4"), nullptr, false, true);
    EXPECT_TRUE(r.echecs.isEmpty());
    // The station and its description stay; its data go, the taxa table stays empty.
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES WHERE CodeQualitometre=4").toInt(), 1);
    EXPECT_EQ(valeur("SELECT count(*) FROM LIEN_QUALITO_RESEAUX WHERE CodeQualitometre=4").toInt(),
              1);
    EXPECT_EQ(valeur("SELECT count(*) FROM PRELEVEMENTS WHERE CodeQualitometre=4").toInt(), 0);
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES_POINTS WHERE CodeQualitometre=4").toInt(),
              0);
    EXPECT_EQ(valeur("SELECT count(*) FROM LIEN_QUALITO_ETATS WHERE CodeQualitometre=4").toInt(),
              0);
    EXPECT_FALSE(bd().tableExiste(QStringLiteral("ANALYSES_B4")));
    EXPECT_TRUE(bd().tableExiste(QStringLiteral("QUALITOMETRES_LISTE_4")));
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES_LISTE_4").toInt(), 0);
    EXPECT_EQ(valeur("SELECT count(*) FROM UTILISATEURS_STATIONS").toInt(), 1);
}

TEST_P(SuppressionQualitometreTest, ListeDePointsPuisTablesSupprimeesUneFoisVides)
{
    creerStation(5, QStringLiteral("B5"));
    ResultatSuppression r = supprimerQualitometre(QStringLiteral("5"), QStringLiteral("B5"),
                                                  nullptr, false, true, QStringLiteral("131;"));
    EXPECT_TRUE(r.echecs.isEmpty()) << qPrintable(r.echecs.join(u'\n'));
    // Only what hangs on point "131" (operation 51, sample 501) is gone.
    EXPECT_EQ(
        lignes("SELECT codePoint, identifiant FROM QUALITOMETRES_POINTS WHERE CodeQualitometre=5"),
        QStringList({"2|031"}));
    EXPECT_EQ(
        lignes(
            "SELECT codeOperation FROM QUALITOMETRES_POINTS_OPERATIONS WHERE CodeQualitometre=5"),
        QStringList({"52"}));
    for (const char *t :
         {"QUALITOMETRES_OPERATIONS_LISTE", "QUALITOMETRES_OPERATIONS_RESULTATS",
          "QUALITOMETRES_OPERATIONS_UNITES", "QUALITOMETRES_POINTS_OPERATIONS_DISPOSITIFS",
          "QUALITOMETRES_POINTS_OPERATIONS_ENV"})
        EXPECT_EQ(lignes(QStringLiteral("SELECT codeOperation FROM %1 WHERE CodeQualitometre=5")
                             .arg(QString::fromLatin1(t))),
                  QStringList({"52"}))
            << t;
    EXPECT_EQ(lignes("SELECT NumPrelevement FROM PRELEVEMENTS WHERE CodeQualitometre=5"),
              QStringList({"502"}));
    EXPECT_EQ(lignes("SELECT NumPrelevement FROM PRELEVEMENTS_ECHANTILLONS WHERE NumPrelevement IN "
                     "(501, 502)"),
              QStringList({"502"}));
    EXPECT_EQ(lignes("SELECT NumPrelevement FROM ANALYSES_B5"), QStringList({"502"}));
    EXPECT_EQ(lignes("SELECT codeOperation FROM QUALITOMETRES_LISTE_5"), QStringList({"52"}));
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES WHERE CodeQualitometre=5").toInt(), 1);

    // The last point emptied, both per-station tables go.
    r = supprimerQualitometre(QStringLiteral("5"), QStringLiteral("B5"), nullptr, false, true,
                              QStringLiteral("031"));
    EXPECT_TRUE(r.echecs.isEmpty());
    EXPECT_FALSE(bd().tableExiste(QStringLiteral("ANALYSES_B5")));
    EXPECT_FALSE(bd().tableExiste(QStringLiteral("QUALITOMETRES_LISTE_5")));
    EXPECT_EQ(valeur("SELECT count(*) FROM PRELEVEMENTS WHERE CodeQualitometre=5").toInt(), 0);
}

// Every table of the schema that holds station rows, read from the catalogue rather than from the
// cascade's own list; sample numbers are per station, so both stations have a sample 0.
TEST_P(SuppressionQualitometreTest, ChaqueTableDuSchemaVideeDeLaStationSeule)
{
    // Records of other subsystems that name a station and outlive it.
    const QStringList gardees = {"COURBES_REFERENCES_QUALITO", "QUALITOMETRES_DEMANDES_SITES"};
    QStringList tables;
    for (const DefinitionTable &t : catalogueTables())
        if (t.colonne(u"CodeQualitometre") && !gardees.contains(QLatin1String(t.nom)))
            tables << QLatin1String(t.nom);
    ASSERT_GE(tables.size(), 40);
    for (int station : {1, 2}) {
        for (const QString &table : tables) {
            const DefinitionTable *def = definitionTable(table);
            QString colonnes = QStringLiteral("CodeQualitometre");
            QString valeurs = QString::number(station);
            for (const char *c : {"NumPrelevement", "codeOperation", "codePoint"})
                if (def->colonne(QString::fromLatin1(c))) {
                    colonnes += u',' + QString::fromLatin1(c);
                    valeurs += QStringLiteral(",0");
                }
            if (table == QLatin1String("QUALITOMETRES"))
                colonnes += QStringLiteral(", CodeBSS"),
                    valeurs += QStringLiteral(", 'B") + QString::number(station) + u'\'';
            if (table == QLatin1String("QUALITOMETRES_POINTS"))
                colonnes += QStringLiteral(", identifiant"), valeurs += QStringLiteral(", '131'");
            ASSERT_TRUE(executer(
                QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, colonnes, valeurs)))
                << qPrintable(table);
        }
        ASSERT_TRUE(
            executer(sqlCreationTableAnalyses(QStringLiteral("B") + QString::number(station))));
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO ANALYSES_B%1 (NumAnalyse, NumPrelevement, "
                                            "CodeQualitometre) VALUES (0, 0, %1)")
                                 .arg(station)));
    }
    auto compte = [&](const QString &table, int station) {
        return valeur(QStringLiteral("SELECT count(*) FROM %1 WHERE CodeQualitometre=%2")
                          .arg(table)
                          .arg(station))
            .toInt();
    };

    // The data of point "131" only: station 2's sample 0 keeps its children.
    ResultatSuppression r = supprimerQualitometre(QStringLiteral("1"), QStringLiteral("B1"),
                                                  nullptr, false, true, QStringLiteral("131"));
    EXPECT_TRUE(r.echecs.isEmpty()) << qPrintable(r.echecs.join(u'\n'));
    for (const char *t : {"PRELEVEMENTS", "PRELEVEMENTS_ECHANTILLONS", "PRELEVEMENTS_DOSSIERS",
                          "PRELEVEMENTS_FINALITES"}) {
        EXPECT_EQ(compte(QString::fromLatin1(t), 1), 0) << t;
        EXPECT_EQ(compte(QString::fromLatin1(t), 2), 1) << t;
    }
    EXPECT_FALSE(bd().tableExiste(QStringLiteral("ANALYSES_B1")));

    r = supprimerQualitometre(QStringLiteral("1"), QStringLiteral("B1"));
    EXPECT_TRUE(r.echecs.isEmpty()) << qPrintable(r.echecs.join(u'\n'));
    for (const QString &table : tables) {
        EXPECT_EQ(compte(table, 1), 0) << qPrintable(table);
        EXPECT_EQ(compte(table, 2), 1) << qPrintable(table);
    }
    EXPECT_EQ(lignes("SELECT NumPrelevement FROM ANALYSES_B2"), QStringList({"0"}));
}

// A deletion whose commit is refused (SQLite: another workstation reading the file; the server:
// a check run at commit) keeps the whole station and says so.
TEST_P(SuppressionQualitometreTest, CommitRefuseGardeLaStationEtLeDit)
{
    toleranceErreurs = true;
    creerStation(1, QStringLiteral("B1"));
    const QStringList avant = restes(1);
    BaseDonnees lecteur;
    refuserLesCommits(lecteur, QStringLiteral("QUALITOMETRES"));

    const ResultatSuppression r = supprimerQualitometre(QStringLiteral("1"), QStringLiteral("B1"));
    lecteur.fermerBase();
    EXPECT_FALSE(r.effectuee);
    if (estPostgres())
        EXPECT_TRUE(r.echec.startsWith(QStringLiteral("Rien n'a été enregistré : ")))
            << qPrintable(r.echec);
    else
        EXPECT_EQ(r.echec,
                  QStringLiteral(
                      "Rien n'a été enregistré : la base est utilisée par un autre programme."));
    EXPECT_FALSE(bd().enTransaction());
    EXPECT_EQ(restes(1), avant);
    EXPECT_TRUE(bd().tableExiste(QStringLiteral("ANALYSES_B1")));
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(SuppressionQualitometreTest);
