#include "CatalogueMoteur.h"

#include "db/Journal.h"
#include "schema/Catalogue.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

// Cancels the run at the n-th time it is asked (0: never); counts the questions.
class ProgressionCoupee : public Progression
{
  public:
    explicit ProgressionCoupee(int coupure = 0) : m_coupure(coupure) {}
    bool annule() const override { return ++m_questions >= m_coupure && m_coupure > 0; }
    void message(const QString &texte) override { messages << texte; }
    int questions() const { return m_questions; }
    mutable int m_questions = 0;
    QStringList messages;

  private:
    int m_coupure;
};

class MiseAJourTest : public BaseTest
{
  protected:
    const QString version = versionProgramme();

    void executerTout(const QStringList &instructions)
    {
        for (const QString &sql : instructions)
            ASSERT_TRUE(executer(sql))
                << qPrintable(sql) << " : " << qPrintable(bd().derniereErreur());
    }

    void viderBase()
    {
        for (const DefinitionVue &v : catalogueVues())
            executer(QStringLiteral("DROP VIEW IF EXISTS ") + v.nom);
        for (const QString &t : bd().tables()) {
            if (t.compare(QLatin1String("sqlite_sequence"), Qt::CaseInsensitive) != 0) {
                ASSERT_TRUE(executer(QStringLiteral("DROP TABLE ") + identifiantSqlTest(t)));
            }
        }
    }
    static QString identifiantSqlTest(const QString &t) { return u'"' + t + u'"'; }

    // A database written by older programs: renamed and missing columns, samples without
    // operations, narrow analysis tables, one station without its table, a journal without levels.
    void creerAncienneBase()
    {
        // float4 is a server word the dialect leaves alone: older server databases had such
        // columns.
        const QString reel = estPostgres() ? QStringLiteral("float4") : QStringLiteral("Double");
        executerTout({
            "CREATE TABLE PARAMETRES (Module Text(100), Date DateTime, Mac Text(100), Identifiant "
            "Text(100))",
            "INSERT INTO PARAMETRES VALUES ('VYLEN', #02/01/2019 10:00:00#, '5.2.0', 'version')",
            "INSERT INTO PARAMETRES VALUES ('VYK', #04/03/2018#, 'x', 'AUTRE')",
            "CREATE TABLE JOURNAL (dateEvt DateTime, Titre Text(255), utilisateur Text(12), "
            "contact Double, ip Text(128), "
            "projet Text(12), description Memo)",
            "INSERT INTO JOURNAL VALUES (#02/01/2019 10:00:00#, 'Connexion', 'jdupont', 3, "
            "'poste1', 'VYK', 'détail')",
            "INSERT INTO JOURNAL VALUES (#03/01/2019 11:00:00#, 'Logout', 'jdupont', NULL, NULL, "
            "'VYK', NULL)",
            "CREATE TABLE QUALITOMETRES (CodeQualitometre Double, CodeBSS Text(17), Nom Text(70), "
            "Y " +
                reel + ")",
            "INSERT INTO QUALITOMETRES VALUES (1, 'S1', 'Amont', 6812345.5)",
            "INSERT INTO QUALITOMETRES VALUES (2, 'S2', 'Sans analyses', NULL)",
            "INSERT INTO QUALITOMETRES VALUES (3, 'S3', 'Aval', NULL)",
            "CREATE TABLE ANALYSES_S1 (NumAnalyse Double, NumPrelevement Double, CodeQualitometre "
            "Double, CodeParametre Text(5), "
            "CodeUnite Text(5), Resultat " +
                reel + ", CodeFraction Text(3), CodeSupport Text(3))",
            "INSERT INTO ANALYSES_S1 VALUES (1, 1, 1, '1340', '162', 12.5, '23', '3')",
            "CREATE TABLE ANALYSES_S3 (NumAnalyse Double, NumPrelevement Double, CodeQualitometre "
            "Double, CodeParametre Text(5), "
            "CodeUnite Text(5), Resultat Double, CodeFraction Text(3), CodeSupport Text(3))",
            "CREATE TABLE PRELEVEMENTS (NumPrelevement Double, CodeQualitometre Double, DateDebut "
            "DateTime, HeureDebut DateTime, "
            "Commentaire Memo, NumLaboPrincipal Text(20))",
            "INSERT INTO PRELEVEMENTS VALUES (1, 1, #05/10/2020#, #12/30/1899 10:00:00#, 'a', "
            "'L1')",
            "INSERT INTO PRELEVEMENTS VALUES (2, 1, #05/10/2020#, #12/30/1899 10:00:00#, 'b', "
            "'L2')",
            "INSERT INTO PRELEVEMENTS VALUES (3, 1, #06/11/2020#, NULL, NULL, NULL)",
            "INSERT INTO PRELEVEMENTS VALUES (1, 2, #05/10/2020#, #12/30/1899 09:00:00#, NULL, "
            "'L9')",
            "CREATE TABLE QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre Double, codeOperation "
            "Double, dateDebut DateTime, "
            "heureDebut DateTime, Commentaires Memo, ombrage Double)",
            "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS VALUES (2, 5, #05/10/2020#, #12/30/1899 "
            "09:00:00#, 'op', 2)",
            "CREATE TABLE PRELEVEMENTS_DOSSIERS (NumDossier Double, NumPrelevement Double, "
            "ReferenceLabo Text(100))",
            "INSERT INTO PRELEVEMENTS_DOSSIERS VALUES (1, 3, 'R3')",
            "INSERT INTO PRELEVEMENTS_DOSSIERS VALUES (2, 1, 'R1')",
            "CREATE TABLE QUALITOMETRES_OPERATIONS (codeQualitometre Double, codeOperation Double)",
            "CREATE TABLE CODES_SANDRE (Champ Text(50), Code Short, Libelle Text(50), Commentaire "
            "Memo)",
            "INSERT INTO CODES_SANDRE VALUES ('ETATS', 7, 'Etat chimique', 'c')",
            "INSERT INTO CODES_SANDRE VALUES ('SEUILS', 1, 'Mon libellé', NULL)",
            "CREATE TABLE INTERVENANTS (CodeIntervenant Double, Nom Memo, Téléphone Text(50))",
            "INSERT INTO INTERVENANTS VALUES (1, 'Labo', '0102')",
            "CREATE TABLE JOBS_JOURNAL (commentaire Memo, valeur Memo, execution_timestamp "
            "DateTime, station Text(255), "
            "job_execution_id Long)",
            "INSERT INTO JOBS_JOURNAL VALUES ('ok', 'v', #01/01/2021#, 'S1', 4)",
            "CREATE TABLE PARAMETRAGE_DATA (id Double, libelle Text(50), projet Text(10))",
            "INSERT INTO PARAMETRAGE_DATA VALUES (1, 'Chronique mini', 'VYDA')",
            "CREATE TABLE QUALITOMETRES_POINTS (codeQualitometre Double, codePoint Double, "
            "identifiant Text(100))",
            "INSERT INTO QUALITOMETRES_POINTS VALUES (1, 0, '002')",
            "INSERT INTO QUALITOMETRES_POINTS VALUES (1, 1, '031')",
            "CREATE TABLE ANALYSES_SEUILS (CodeParametre Text(5), CodeUnite Text(5), Seuil1 "
            "Double)",
            "INSERT INTO ANALYSES_SEUILS VALUES ('1340', '173', 20)",
            "CREATE TABLE ANALYSES_PARAMETRES (Code Text(5), Nom Text(255), Actif Text(1))",
            "INSERT INTO ANALYSES_PARAMETRES VALUES ('1340', 'Nitrates', '0')",
            "INSERT INTO ANALYSES_PARAMETRES VALUES ('1301', 'Température', '0')",
        });
    }

    void verifierAncienneBaseMigree()
    {
        EXPECT_EQ(
            lignes("SELECT Module, DateCreation, Mac FROM PARAMETRES WHERE Identifiant = 'AUTRE'"),
            QStringList({"VYK|03/04/2018|x"}));
        EXPECT_EQ(
            lignes("SELECT Mac FROM PARAMETRES WHERE Module = 'VYLEN' AND Identifiant = 'version'"),
            QStringList({version}));
        EXPECT_EQ(lignes("SELECT dateEvt, niveau, Titre, utilisateur, contact, ip, projet, "
                         "description FROM JOURNAL "
                         "WHERE dateEvt < #01/01/2020# ORDER BY dateEvt"),
                  QStringList({"01/02/2019 10:00:00||Connexion|jdupont|3|poste1|VYK|détail",
                               "01/03/2019 11:00:00||Logout|jdupont|||VYK|"}));
        // Analysis tables: widened, with depths and index; the station without a table gets none.
        for (const char *table : {"ANALYSES_S1", "ANALYSES_S3"}) {
            EXPECT_EQ(test::typeMoteur(table, "CodeFraction"),
                      estPostgres() ? "character varying(5)" : "varchar(5)");
            EXPECT_EQ(test::typeMoteur(table, "CodeSupport"),
                      estPostgres() ? "character varying(5)" : "varchar(5)");
            EXPECT_TRUE(bd().colonneExiste(table, "profDebut") &&
                        bd().colonneExiste(table, "profFin"))
                << table;
        }
        EXPECT_EQ(lignes("SELECT NumAnalyse, Resultat, CodeFraction, profDebut FROM ANALYSES_S1"),
                  QStringList({"1|12.5|23|"}));
        EXPECT_TRUE(executer("INSERT INTO ANALYSES_S3 (NumAnalyse, CodeFraction, CodeSupport) "
                             "VALUES (9, '12345', '12345')"));
        const QStringList index = test::indexMoteur();
        EXPECT_TRUE(index.contains("ind_analyses_s1") && index.contains("ind_analyses_s3"));
        EXPECT_FALSE(bd().tableExiste("ANALYSES_S2"));
        EXPECT_FALSE(index.contains("ind_analyses_s2"));
        // Samples attached to operations of their station, found by date and time or created.
        EXPECT_EQ(lignes("SELECT NumPrelevement, CodeQualitometre, codeOperation, codeDemande FROM "
                         "PRELEVEMENTS "
                         "ORDER BY CodeQualitometre, NumPrelevement"),
                  QStringList({"1|1|0|L1", "2|1|0|L2", "3|1|1|", "1|2|5|L9"}));
        EXPECT_EQ(
            lignes("SELECT codeQualitometre, codeOperation, dateDebut, heureDebut, dateFin, "
                   "Commentaires, Ombrag "
                   "FROM QUALITOMETRES_POINTS_OPERATIONS ORDER BY codeQualitometre, codeOperation"),
            QStringList({"1|0|10/05/2020|30/12/1899 10:00:00|10/05/2020|a|",
                         "1|1|11/06/2020||11/06/2020||",
                         "2|5|10/05/2020|30/12/1899 09:00:00||op|2"}));
        EXPECT_FALSE(bd().colonneExiste("QUALITOMETRES_POINTS_OPERATIONS", "ombrage"));
        // A file of sample 1 cannot tell which station's sample 1 it belongs to.
        EXPECT_EQ(lignes("SELECT NumDossier, codeQualitometre FROM PRELEVEMENTS_DOSSIERS ORDER BY "
                         "NumDossier"),
                  QStringList({"1|1", "2|"}));
        EXPECT_FALSE(bd().tableExiste("QUALITOMETRES_OPERATIONS"));
        EXPECT_EQ(lignes("SELECT codeEtat, Libelle, commentaire FROM ETATS"),
                  QStringList({"7|Etat chimique|c"}));
        // The threshold list existed: it is not completed, and its entry 1 takes its current name.
        EXPECT_EQ(lignes("SELECT Champ, Code, Libelle FROM CODES_SANDRE WHERE Champ = 'SEUILS'"),
                  QStringList({"SEUILS|1|SEQ-Eaux souterraines"}));
        EXPECT_EQ(lignes("SELECT CodeIntervenant, Telephone FROM INTERVENANTS"),
                  QStringList({"1|0102"}));
        EXPECT_EQ(lignes("SELECT id, commentaire, station, job_execution_id FROM JOBS_JOURNAL"),
                  QStringList({"1|ok|S1|4"}));
        // The row that was there gets its version; the seed rows of the sibling modules join it.
        EXPECT_EQ(
            lignes("SELECT projet, id, libelle, version FROM PARAMETRAGE_DATA ORDER BY projet, id"),
            QStringList({"VYDA|1|Chronique mini|1", "VYDA|2|Chronique moyenne|",
                         "VYDA|3|Brute modifiée|", "VYW|1|Niveau mini|", "VYW|2|Niveau moyen|",
                         "VYW|3|Brute supprimée|"}));
        EXPECT_EQ(lignes("SELECT codePoint, identifiant, profDebut FROM QUALITOMETRES_POINTS ORDER "
                         "BY codePoint"),
                  QStringList({"0|131|", "1|031|"}));
        EXPECT_EQ(lignes("SELECT Code, Actif FROM ANALYSES_PARAMETRES ORDER BY Code"),
                  QStringList({"1301|0", "1340|1"}));
        // Floating columns are double precision on the server: a Lambert-93 Y keeps its decimals.
        if (estPostgres()) {
            EXPECT_EQ(test::typeMoteur("qualitometres", "y"), "double precision");
            EXPECT_EQ(test::typeMoteur("analyses_s1", "resultat"), "double precision");
        }
        EXPECT_TRUE(
            executer("UPDATE QUALITOMETRES SET Y = 6812345.678 WHERE CodeQualitometre = 3"));
        EXPECT_EQ(valeur("SELECT Y FROM QUALITOMETRES WHERE CodeQualitometre = 3").toDouble(),
                  6812345.678);
        EXPECT_TRUE(executer("UPDATE QUALITOMETRES SET Y = NULL WHERE CodeQualitometre = 3"));
        EXPECT_TRUE(executer("DELETE FROM ANALYSES_S3 WHERE NumAnalyse = 9"));
    }

    // Every column of the catalogue is there, in the catalogue's order for tables made from it.
    void verifierCatalogueComplet()
    {
        for (const DefinitionTable &t : catalogueTables()) {
            ASSERT_TRUE(bd().tableExiste(QLatin1String(t.nom))) << t.nom;
            for (const QString &c : t.nomsColonnes())
                EXPECT_TRUE(bd().colonneExiste(QLatin1String(t.nom), c))
                    << t.nom << '.' << qPrintable(c);
        }
        for (const DefinitionIndex &i : catalogueIndex())
            EXPECT_TRUE(test::indexMoteur().contains(QString::fromLatin1(i.nom).toLower()))
                << i.nom;
    }
};

TEST_P(MiseAJourTest, UneBaseAJourNEstPasTouchee)
{
    ASSERT_TRUE(verifierVersionBase(version));
    const long long avant = bd().compteurInstructions();
    EXPECT_TRUE(verifierVersionBase(version));
    EXPECT_EQ(bd().compteurInstructions() - avant, 1);
    // Spaces around the stored text do not make it another version.
    ASSERT_TRUE(executer("UPDATE PARAMETRES SET Mac = ' " + version +
                         " ' WHERE Module = 'VYLEN' AND Identifiant = 'version'"));
    const long long ensuite = bd().compteurInstructions();
    EXPECT_TRUE(verifierVersionBase(version));
    EXPECT_EQ(bd().compteurInstructions() - ensuite, 1);
    EXPECT_EQ(versionBase(), version);
}

TEST_P(MiseAJourTest, SansLigneDeVersionOuAvecUneAutreLaMiseAJourEnLaisseUneSeule)
{
    executerTout({"CREATE TABLE PARAMETRES (Module Text(100), DateCreation DateTime, Mac "
                  "Text(100), Identifiant Text(100))",
                  "INSERT INTO PARAMETRES VALUES ('VYLEN', NULL, '5.0.0', 'version')",
                  "INSERT INTO PARAMETRES VALUES ('VYLEN', NULL, '5.1.0', 'version')"});
    EXPECT_EQ(versionBase(), "5.0.0");
    ProgressionCoupee progression;
    ASSERT_TRUE(verifierVersionBase(version, progression));
    EXPECT_EQ(lignes("SELECT Mac FROM PARAMETRES WHERE module='VYLEN' and identifiant='version'"),
              QStringList({version}));
    const QDateTime date =
        valeur("SELECT DateCreation FROM PARAMETRES WHERE identifiant='version'").toDateTime();
    EXPECT_LE(std::abs(date.secsTo(QDateTime::currentDateTime())), 120);
    EXPECT_TRUE(progression.messages.contains("Création des index de données"));
    EXPECT_EQ(lignes("SELECT Titre, niveau, utilisateur FROM JOURNAL"),
              QStringList({"Mise à jour de la version " + version + "|0|AUTO"}));
    verifierCatalogueComplet();
}

TEST_P(MiseAJourTest, DeuxMisesAJourDeSuiteLaissentLeMemeCatalogue)
{
    ASSERT_TRUE(mettreAJourBase(version));
    const test::CatalogueMoteur premier = test::lireCatalogueMoteur();
    ASSERT_TRUE(mettreAJourBase(version));
    const test::CatalogueMoteur second = test::lireCatalogueMoteur();
    EXPECT_TRUE(premier == second) << qPrintable(test::difference(premier, second));
    EXPECT_EQ(lignes("SELECT Module, Identifiant, count(*) FROM PARAMETRES GROUP BY Module, "
                     "Identifiant ORDER BY Module, Identifiant"),
              QStringList({"INDEX_QUALITO|1|1", "VYK|MODIFY_ANALYSES_PROF|1",
                           "VYK|MODIFY_FRACTION|1", "VYLEN|version|1"}));
    EXPECT_EQ(valeur("SELECT count(*) FROM JOURNAL WHERE Titre = 'Mise à jour de la version " +
                     version + "'")
                  .toInt(),
              2);
}

TEST_P(MiseAJourTest, UneAncienneBaseEstMiseAJourSansPerteEtUneSecondeFoisSansDoublon)
{
    creerAncienneBase();
    EXPECT_EQ(versionBase(), "5.2.0");
    ASSERT_TRUE(verifierVersionBase(version));
    verifierCatalogueComplet();
    verifierAncienneBaseMigree();
    const test::CatalogueMoteur premier = test::lireCatalogueMoteur();

    ASSERT_TRUE(executer("DELETE FROM PARAMETRES WHERE Identifiant = 'version'"));
    ASSERT_TRUE(verifierVersionBase(version));
    EXPECT_TRUE(premier == test::lireCatalogueMoteur())
        << qPrintable(test::difference(premier, test::lireCatalogueMoteur()));
    verifierAncienneBaseMigree();
    EXPECT_EQ(valeur("SELECT count(*) FROM PARAMETRES WHERE Identifiant IN ('MODIFY_FRACTION', "
                     "'MODIFY_ANALYSES_PROF', '1')")
                  .toInt(),
              3);
}

TEST_P(MiseAJourTest, LaCopieDuJournalLaisseeParUneReconstructionInterrompueEstRecuperee)
{
    executerTout(
        {"CREATE TABLE JOURNAL_SAV (dateEvt DateTime, Titre Text(255), utilisateur Text(12), "
         "contact Double)",
         "INSERT INTO JOURNAL_SAV VALUES (#02/01/2019 10:00:00#, 'Connexion', 'jdupont', 3)"});
    ASSERT_TRUE(verifierVersionBase(version));
    EXPECT_FALSE(bd().tableExiste("JOURNAL_SAV"));
    EXPECT_EQ(
        lignes("SELECT Titre, utilisateur, contact FROM JOURNAL ORDER BY dateEvt"),
        QStringList({"Connexion|jdupont|3", "Mise à jour de la version " + version + "|AUTO|"}));
}

// Tables rebuilt in the current layout (a journal without levels, jobs without their numbered
// key) keep the columns a site added, with their values; a second run changes nothing.
TEST_P(MiseAJourTest, UneTableReconstruiteGardeLesColonnesAjouteesParLeSite)
{
    executerTout({
        "CREATE TABLE JOURNAL (dateEvt DateTime, Titre Text(255), utilisateur Text(12), contact "
        "Double, ip Text(128), "
        "projet Text(12), description Memo, Service Text(40), gravite Short, Montant Double, VuLe "
        "DateTime, notes Memo)",
        "INSERT INTO JOURNAL VALUES (#02/01/2019 10:00:00#, 'Connexion', 'jdupont', 3, 'poste1', "
        "'VYK', 'détail', "
        "'Laboratoire', 2, 12.5, #03/01/2019 08:30:00#, 'à revoir')",
        "INSERT INTO JOURNAL VALUES (#03/01/2019 11:00:00#, 'Logout', 'jdupont', NULL, NULL, "
        "'VYK', NULL, NULL, NULL, "
        "NULL, NULL, NULL)",
        "CREATE TABLE JOBS (nom Text(255), description Text(255), planification Text(50), "
        "responsable Text(50))",
        "INSERT INTO JOBS VALUES ('Import EDI', 'labo', 'quotidien', 'M. Martin')",
        "INSERT INTO JOBS VALUES ('Import ADES', NULL, NULL, NULL)",
    });
    const QStringList journal = {
        "01/02/2019 10:00:00|Connexion|jdupont|détail|Laboratoire|2|12.5|01/03/2019 08:30:00|à "
        "revoir",
        "01/03/2019 11:00:00|Logout|jdupont||||||"};
    const QString lectureJournal =
        "SELECT dateEvt, Titre, utilisateur, description, Service, gravite, Montant, VuLe, notes "
        "FROM JOURNAL WHERE dateEvt < #01/01/2020# ORDER BY dateEvt";
    const QStringList jobs = {"Import ADES|||", "Import EDI|labo|quotidien|M. Martin"};
    const QString lectureJobs =
        "SELECT nom, description, planification, responsable FROM JOBS ORDER BY nom";
    for (int passage = 1; passage <= 2; ++passage) {
        SCOPED_TRACE(passage);
        if (passage == 2) {
            ASSERT_TRUE(executer("DELETE FROM PARAMETRES WHERE Identifiant = 'version'"));
        }
        ASSERT_TRUE(verifierVersionBase(version));
        EXPECT_TRUE(bd().colonneExiste("JOURNAL", "niveau"));
        EXPECT_EQ(lignes(lectureJournal), journal);
        EXPECT_EQ(lignes(lectureJobs), jobs);
        EXPECT_EQ(valeur("SELECT count(DISTINCT id) FROM JOBS").toInt(), 2);
        EXPECT_FALSE(bd().tableExiste("JOURNAL_SAV") || bd().tableExiste("JOBS_SAV"));
    }
    // The column types allow what they allowed before.
    EXPECT_TRUE(executer("UPDATE JOURNAL SET Montant = 0.25, gravite = 3, VuLe = #12/31/2020 "
                         "23:59:00# WHERE Titre = 'Logout'"));
    EXPECT_EQ(lignes("SELECT Montant, gravite, VuLe FROM JOURNAL WHERE Titre = 'Logout'"),
              QStringList({"0.25|3|31/12/2020 23:59:00"}));
}

// A copy left by a rebuild that stopped before it was dropped holds rows the table has already:
// they are not added twice, and the rows only the copy holds come back.
TEST_P(MiseAJourTest, UneCopieDuJournalDejaRecopieeNeDoublePasLesLignes)
{
    const QString ancien =
        "CREATE TABLE %1 (dateEvt DateTime, Titre Text(255), utilisateur Text(12), contact Double, "
        "ip Text(128), projet Text(12), description Memo)";
    const QStringList lignesAnciennes = {
        "VALUES (#02/01/2019 10:00:00#, 'Connexion', 'jdupont', 3, 'poste1', 'VYK', 'détail')",
        "VALUES (#03/01/2019 11:00:00#, 'Logout', 'jdupont', NULL, NULL, 'VYK', NULL)",
    };
    const QStringList attendu = {"01/02/2019 10:00:00|Connexion|jdupont|3|détail",
                                 "01/03/2019 11:00:00|Logout|jdupont||"};
    const QString lecture = "SELECT dateEvt, Titre, utilisateur, contact, description FROM JOURNAL "
                            "WHERE dateEvt < #01/01/2020# "
                            "ORDER BY dateEvt";

    // Stopped after the copy was made: the old table is still there with the same rows.
    executerTout({ancien.arg("JOURNAL"), ancien.arg("JOURNAL_SAV")});
    for (const QString &l : lignesAnciennes)
        executerTout({"INSERT INTO JOURNAL " + l, "INSERT INTO JOURNAL_SAV " + l});
    ASSERT_TRUE(verifierVersionBase(version));
    EXPECT_EQ(lignes(lecture), attendu);
    EXPECT_FALSE(bd().tableExiste("JOURNAL_SAV"));

    // Stopped before the copy was dropped, after one row came back and a new entry was written.
    viderBase();
    executerTout(
        {sqlCreationTable(*definitionTable(u"JOURNAL")), ancien.arg("JOURNAL_SAV"),
         "INSERT INTO JOURNAL (dateEvt, Titre, utilisateur, contact, ip, projet, description) " +
             lignesAnciennes[0],
         "INSERT INTO JOURNAL (dateEvt, niveau, Titre, utilisateur, projet) VALUES (#04/01/2019 "
         "09:00:00#, '2', "
         "'Login', 'jdupont', 'VYK')"});
    for (const QString &l : lignesAnciennes)
        executerTout({"INSERT INTO JOURNAL_SAV " + l});
    ASSERT_TRUE(verifierVersionBase(version));
    EXPECT_EQ(lignes(lecture), attendu + QStringList({"01/04/2019 09:00:00|Login|jdupont||"}));
    EXPECT_FALSE(bd().tableExiste("JOURNAL_SAV"));
}

// A site's own backup of a table, named as the rebuild names its copies, is no leftover of the
// upgrade: it stays as it is and the table keeps its rows.
TEST_P(MiseAJourTest, UneSauvegardeDuSiteNommeeCommeUneCopieResteIntacte)
{
    ASSERT_TRUE(verifierVersionBase(version));
    executerTout(
        {"INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (1, 'S1', 'Amont "
         "renommée')",
         "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (3, 'S3', 'Aval')",
         "CREATE TABLE QUALITOMETRES_SAV (CodeQualitometre Double, CodeBSS Text(17), Nom Text(70))",
         "INSERT INTO QUALITOMETRES_SAV VALUES (1, 'S1', 'Amont')",
         "INSERT INTO QUALITOMETRES_SAV VALUES (2, 'S2', 'Supprimée depuis')",
         "DELETE FROM PARAMETRES WHERE Identifiant = 'version'"});
    ASSERT_TRUE(verifierVersionBase(version));
    EXPECT_EQ(
        lignes(
            "SELECT CodeQualitometre, CodeBSS, Nom FROM QUALITOMETRES ORDER BY CodeQualitometre"),
        QStringList({"1|S1|Amont renommée", "3|S3|Aval"}));
    EXPECT_EQ(lignes("SELECT CodeQualitometre, CodeBSS, Nom FROM QUALITOMETRES_SAV ORDER BY "
                     "CodeQualitometre"),
              QStringList({"1|S1|Amont", "2|S2|Supprimée depuis"}));
}

TEST_P(MiseAJourTest, UneMiseAJourInterrompueSAcheveALaSuivante)
{
    creerAncienneBase();
    ProgressionCoupee comptage;
    ASSERT_TRUE(mettreAJourBase(version, comptage));
    const test::CatalogueMoteur reference = test::lireCatalogueMoteur();
    const int questions = comptage.questions();
    ASSERT_GT(questions, 10);
    for (const int coupure : {1, questions / 4, questions / 2, 3 * questions / 4, questions - 1}) {
        SCOPED_TRACE(coupure);
        viderBase();
        creerAncienneBase();
        ProgressionCoupee coupee(coupure);
        EXPECT_FALSE(verifierVersionBase(version, coupee));
        EXPECT_EQ(versionBase(), "5.2.0");
        ASSERT_TRUE(verifierVersionBase(version));
        EXPECT_TRUE(reference == test::lireCatalogueMoteur())
            << qPrintable(test::difference(reference, test::lireCatalogueMoteur()));
        verifierAncienneBaseMigree();
    }
}

// A state whose code ETATS already holds under another label, or without code, is not moved:
// it stays in the code list instead of being lost.
TEST_P(MiseAJourTest, LesEtatsNonDeplacesRestentDansLaListeDesCodes)
{
    executerTout({"CREATE TABLE CODES_SANDRE (Champ Text(50), Code Short, Libelle Text(50), "
                  "Commentaire Memo)",
                  "INSERT INTO CODES_SANDRE VALUES ('ETATS', 7, 'Etat chimique', 'c')",
                  "INSERT INTO CODES_SANDRE VALUES ('ETATS', 8, 'Etat écologique', NULL)",
                  "INSERT INTO CODES_SANDRE VALUES ('ETATS', NULL, 'Sans code', NULL)",
                  "CREATE TABLE ETATS (CodeEtat Double, Libelle Text(100), commentaire Memo)",
                  "INSERT INTO ETATS VALUES (7, 'Chimie (local)', NULL)"});
    ASSERT_TRUE(verifierVersionBase(version)) << qPrintable(raisonEchecMiseAJour());
    EXPECT_EQ(lignes("SELECT CodeEtat, Libelle FROM ETATS ORDER BY CodeEtat"),
              QStringList({"7|Chimie (local)", "8|Etat écologique"}));
    EXPECT_EQ(
        lignes("SELECT Code, Libelle FROM CODES_SANDRE WHERE Champ = 'ETATS' ORDER BY Libelle"),
        QStringList({"7|Etat chimique", "|Sans code"}));
    // A second run moves nothing more and loses nothing.
    ASSERT_TRUE(executer("DELETE FROM PARAMETRES WHERE Identifiant = 'version'"));
    ASSERT_TRUE(verifierVersionBase(version));
    EXPECT_EQ(valeur("SELECT count(*) FROM ETATS").toInt(), 2);
    EXPECT_EQ(valeur("SELECT count(*) FROM CODES_SANDRE WHERE Champ = 'ETATS'").toInt(), 2);
}

TEST_P(MiseAJourTest, LesSelectionsSansTypeOuSansDefautSontMarquees)
{
    executerTout({"CREATE TABLE ANALYSES_PARAMETRES_SELECTIONS_TITRE (Code Text(17), Nom "
                  "Text(255), TypeListe Double)",
                  "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS_TITRE VALUES ('A', 'a', NULL)",
                  "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS_TITRE VALUES ('B', 'b', NULL)",
                  "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS_TITRE VALUES ('T1', 't', 1)",
                  "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS_TITRE VALUES ('Z', 'z', 1)",
                  "CREATE TABLE ANALYSES_PARAMETRES_SELECTIONS (Code Text(17), num Long, "
                  "CodeParametre Text(6), CodeUnite Text(5), TypeListe Double)",
                  "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS VALUES ('A', 1, '1340', '', NULL)"});
    ASSERT_TRUE(verifierVersionBase(version)) << qPrintable(raisonEchecMiseAJour());
    const char *titres = "SELECT TypeListe, Code, defaut FROM ANALYSES_PARAMETRES_SELECTIONS_TITRE "
                         "ORDER BY TypeListe, Code";
    // Z is the greatest code of its type only: B stays the physico-chemical default.
    EXPECT_EQ(lignes(titres), QStringList({"0|A|", "0|B|X", "1|T1|", "1|Z|X"}));
    EXPECT_EQ(lignes("SELECT TypeListe FROM ANALYSES_PARAMETRES_SELECTIONS"), QStringList({"0"}));
    // A type with a default keeps it at the next upgrade.
    executerTout({"UPDATE ANALYSES_PARAMETRES_SELECTIONS_TITRE SET defaut=NULL WHERE code='Z'",
                  "UPDATE ANALYSES_PARAMETRES_SELECTIONS_TITRE SET defaut='X' WHERE code='T1'",
                  "DELETE FROM PARAMETRES WHERE Identifiant = 'version'"});
    ASSERT_TRUE(verifierVersionBase(version));
    EXPECT_EQ(lignes(titres), QStringList({"0|A|", "0|B|X", "1|T1|X", "1|Z|"}));
}

// A saved search's list code was a number: it becomes text, each code kept, once.
TEST_P(MiseAJourTest, LeCodeDeListeDesRecherchesDevientUnTexte)
{
    executerTout({"CREATE TABLE RESULT_RECH_VYK (id AUTOINCREMENT, TypeListe Double, CodeListe "
                  "Double, typedonnees Text(12), DateRecherche DateTime, Intitule Text(255))",
                  "INSERT INTO RESULT_RECH_VYK (TypeListe, CodeListe, Intitule) VALUES (0, 12, "
                  "'douze')",
                  "INSERT INTO RESULT_RECH_VYK (TypeListe, CodeListe, Intitule) VALUES (0, NULL, "
                  "'aucune')"});
    ASSERT_TRUE(verifierVersionBase(version)) << qPrintable(raisonEchecMiseAJour());
    const char *codes = "SELECT id, CodeListe, Intitule FROM RESULT_RECH_VYK ORDER BY id";
    EXPECT_EQ(lignes(codes), QStringList({"1|12|douze", "2||aucune"}));
    // SQLite would take any value in any column: the stored value itself is text now.
    if (!estPostgres()) {
        EXPECT_EQ(lignes("SELECT typeof(CodeListe) FROM RESULT_RECH_VYK WHERE id=1"),
                  QStringList({"text"}));
    }
    // A list code that is text now fits, and the next upgrade leaves it.
    executerTout({"INSERT INTO RESULT_RECH_VYK (TypeListe, CodeListe, Intitule) VALUES (0, "
                  "'MOOX', 'moox')",
                  "DELETE FROM PARAMETRES WHERE Identifiant = 'version'"});
    ASSERT_TRUE(verifierVersionBase(version));
    EXPECT_EQ(lignes(codes), QStringList({"1|12|douze", "2||aucune", "3|MOOX|moox"}));
}

// A site's column whose name needs quotes (space, accent) comes through a rebuild with its values.
TEST_P(MiseAJourTest, UneColonneDuSiteAuNomComposeEstReconstruite)
{
    executerTout({"CREATE TABLE JOURNAL (dateEvt DateTime, Titre Text(255), description Memo, \"Vu "
                  "par\" Text(40), "
                  "\"Échéance\" DateTime)",
                  "INSERT INTO JOURNAL VALUES (#02/01/2019 10:00:00#, 'Connexion', 'détail', 'M. "
                  "Martin', #03/01/2019#)"});
    ASSERT_TRUE(verifierVersionBase(version)) << qPrintable(raisonEchecMiseAJour());
    EXPECT_TRUE(bd().colonneExiste("JOURNAL", "niveau"));
    EXPECT_EQ(lignes("SELECT Titre, description, \"Vu par\", \"Échéance\" FROM JOURNAL WHERE Titre "
                     "= 'Connexion'"),
              QStringList({"Connexion|détail|M. Martin|01/03/2019"}));
    EXPECT_EQ(raisonEchecMiseAJour(), QString());
}

// A rebuild that cannot be done leaves the table as it was and the version unwritten: the next
// login tries again, and says why it is refused.
TEST_P(MiseAJourTest, UneReconstructionImpossibleNEcritPasLaVersion)
{
    // No engine name may be this long: the desktop file keeps it, a server cuts it.
    const QString longue = QString(70, u'n');
    executerTout({"CREATE TABLE JOURNAL (dateEvt DateTime, Titre Text(255), " + longue + " Memo)",
                  "INSERT INTO JOURNAL VALUES (#02/01/2019 10:00:00#, 'Connexion', 'note')"});
    if (estPostgres()) {
        EXPECT_TRUE(verifierVersionBase(version)) << qPrintable(raisonEchecMiseAJour());
        return;
    }
    EXPECT_FALSE(verifierVersionBase(version));
    EXPECT_EQ(
        raisonEchecMiseAJour(),
        "La mise à jour n'a pas abouti, elle sera reprise à la prochaine connexion : la table "
        "JOURNAL n'a pas pu être reconstruite.");
    EXPECT_EQ(versionBase(), QString());
    EXPECT_EQ(lignes("SELECT Titre, " + longue + " FROM JOURNAL WHERE Titre = 'Connexion'"),
              QStringList({"Connexion|note"}));
    EXPECT_FALSE(bd().tableExiste("JOURNAL_SAV"));
    // The run completed the table column by column: the next one has nothing to rebuild.
    ASSERT_TRUE(verifierVersionBase(version)) << qPrintable(raisonEchecMiseAJour());
    EXPECT_EQ(lignes("SELECT Titre, " + longue + " FROM JOURNAL WHERE Titre = 'Connexion'"),
              QStringList({"Connexion|note"}));
}

TEST_P(MiseAJourTest, LesVuesDonnentLeReseauDCEGestionnaireEtAgence)
{
    ASSERT_TRUE(verifierVersionBase(version));
    executerTout({
        "INSERT INTO RESEAUX (CodeReseau, Libelle, DCE) VALUES (1, 'Contrôle de surveillance', "
        "'1')",
        "INSERT INTO RESEAUX (CodeReseau, Libelle, DCE) VALUES (2, 'Réseau départemental', '0')",
        "INSERT INTO LIEN_QUALITO_RESEAUX VALUES (10, 1, #01/01/2008#, #12/31/2015#)",
        "INSERT INTO LIEN_QUALITO_RESEAUX VALUES (10, 1, #01/01/2018#, NULL)",
        "INSERT INTO LIEN_QUALITO_RESEAUX VALUES (10, 2, #01/01/2012#, NULL)",
        "INSERT INTO LIEN_QUALITO_RESEAUX VALUES (11, 1, #01/01/2010#, #12/31/2012#)",
        "INSERT INTO LIEN_QUALITO_RESEAUX VALUES (12, 2, NULL, NULL)",
        "INSERT INTO INTERVENANTS (CodeIntervenant, Nom) VALUES (1, 'Syndicat de rivière')",
        "INSERT INTO INTERVENANTS (CodeIntervenant, Nom) VALUES (2, 'Agence de l''eau Rhône')",
        "INSERT INTO INTERVENANTS (CodeIntervenant, Nom) VALUES (3, 'Ancien gestionnaire')",
        "INSERT INTO LIEN_QUALITO_INTERVENANTS (CodeQualitometre, CodeIntervenant, DateDebut, "
        "TypeIntervenant) VALUES (10, 3, #01/01/2000#, 1)",
        "INSERT INTO LIEN_QUALITO_INTERVENANTS (CodeQualitometre, CodeIntervenant, DateDebut, "
        "TypeIntervenant) VALUES (10, 1, #01/01/2010#, 1)",
        "INSERT INTO LIEN_QUALITO_INTERVENANTS (CodeQualitometre, CodeIntervenant, DateDebut, "
        "TypeIntervenant) VALUES (10, 2, #01/01/2001#, 2)",
    });
    EXPECT_EQ(lignes("SELECT CodeQualitometre, dateDebut, dateFin FROM QUALITO_DCE ORDER BY "
                     "CodeQualitometre"),
              QStringList({"10|01/01/2008|", "11|01/01/2010|31/12/2012"}));
    EXPECT_EQ(lignes("SELECT CodeQualitometre, Libelle FROM QUALITO_RESEAU_PRINCIPAL ORDER BY "
                     "CodeQualitometre"),
              QStringList({"10|Contrôle de surveillance", "11|Contrôle de surveillance",
                           "12|Réseau départemental"}));
    EXPECT_EQ(lignes("SELECT CodeQualitometre, Nom FROM LIEN_QUALITOMETRE_GESTIONNAIRE"),
              QStringList({"10|Syndicat de rivière"}));
    EXPECT_EQ(lignes("SELECT CodeQualitometre, Nom FROM LIEN_QUALITOMETRE_AGENCE"),
              QStringList({"10|Agence de l'eau Rhône"}));
}

VYK_SUR_LES_DEUX_MOTEURS(MiseAJourTest);

} // namespace
