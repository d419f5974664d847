#include "CatalogueMoteur.h"

#include "db/Sql.h"
#include "db/TraducteurSql.h"
#include "schema/Catalogue.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

#include <QSet>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class CatalogueTest : public BaseTest
{
  protected:
    QString typeAttendu(const DefinitionColonne &c) const
    {
        const bool pg = estPostgres();
        switch (c.type) {
        case TypeNeutre::Texte:
            return (pg ? QStringLiteral("character varying(%1)") : QStringLiteral("varchar(%1)"))
                .arg(c.taille);
        case TypeNeutre::Court:
            return pg ? QStringLiteral("integer") : QStringLiteral("smallint");
        case TypeNeutre::Long:
            return QStringLiteral("bigint");
        case TypeNeutre::Reel:
            return pg ? QStringLiteral("double precision") : QStringLiteral("double");
        case TypeNeutre::DateHeure:
            return pg ? QStringLiteral("timestamp with time zone") : QStringLiteral("datetime");
        case TypeNeutre::Memo:
            return QStringLiteral("text");
        case TypeNeutre::OuiNon:
            return QStringLiteral("boolean");
        case TypeNeutre::Auto:
            return QStringLiteral("integer");
        }
        return {};
    }
};

TEST_P(CatalogueTest, UneBaseVideRecoitToutLeCatalogueParLaMiseAJour)
{
    ASSERT_TRUE(verifierVersionBase(versionProgramme()));
    const test::CatalogueMoteur moteur = test::lireCatalogueMoteur();
    QSet<QString> attendues;
    for (const DefinitionTable &t : catalogueTables()) {
        const QString nom = QString::fromLatin1(t.nom).toLower();
        attendues << nom;
        ASSERT_TRUE(moteur.colonnes.contains(nom)) << t.nom;
        QStringList colonnes;
        for (const QString &c : t.nomsColonnes())
            colonnes << c.toLower();
        EXPECT_EQ(moteur.colonnes.value(nom), colonnes) << t.nom;
        for (const DefinitionColonne &c : t.colonnes) {
            if (c.obsolete) continue;
            EXPECT_EQ(test::typeMoteur(nom, QLatin1String(c.nom)), typeAttendu(c))
                << t.nom << '.' << c.nom;
        }
    }
    // Nothing beyond the catalogue (the engine's own bookkeeping table aside).
    for (const QString &t : moteur.colonnes.keys())
        EXPECT_TRUE(attendues.contains(t) || t == u"sqlite_sequence") << qPrintable(t);
    for (const DefinitionIndex &i : catalogueIndex())
        EXPECT_TRUE(moteur.index.contains(QString::fromLatin1(i.nom).toLower())) << i.nom;
    QStringList vues;
    for (const DefinitionVue &v : catalogueVues())
        vues << v.nom.toLower();
    vues.sort();
    EXPECT_EQ(moteur.vues, vues);
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT Module, Mac, Identifiant FROM PARAMETRES ORDER BY Module, Identifiant")),
              QStringList({"INDEX_QUALITO||1", "VYK||MODIFY_ANALYSES_PROF", "VYK||MODIFY_FRACTION",
                           "VYLEN|" + versionProgramme() + "|version"}));
}

TEST_P(CatalogueTest, LesCoordonneesEtLesResultatsGardentLeursDecimales)
{
    ASSERT_TRUE(verifierVersionBase(versionProgramme()));
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, X, "
                                        "Y) VALUES (1, 'S1', 652345.125, 6812345.678)")));
    EXPECT_EQ(
        valeur(QStringLiteral("SELECT Y FROM QUALITOMETRES WHERE CodeQualitometre = 1")).toDouble(),
        6812345.678);
    EXPECT_EQ(
        valeur(QStringLiteral("SELECT X FROM QUALITOMETRES WHERE CodeQualitometre = 1")).toDouble(),
        652345.125);
    ASSERT_TRUE(executer(sqlCreationTableAnalyses(QStringLiteral("S1"))));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO ANALYSES_S1 (NumAnalyse, Resultat) VALUES (1, 0.000123456789012)")));
    EXPECT_EQ(valeur(QStringLiteral("SELECT Resultat FROM ANALYSES_S1")).toDouble(),
              0.000123456789012);
}

TEST_P(CatalogueTest, ClesAutomatiquesIndexUniqueEtColonnesObligatoires)
{
    toleranceErreurs = true;
    ASSERT_TRUE(verifierVersionBase(versionProgramme()));
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO JOBS (nom) VALUES ('a')")));
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO JOBS (nom) VALUES ('b')")));
    EXPECT_EQ(lignes(QStringLiteral("SELECT id, nom FROM JOBS ORDER BY id")),
              QStringList({"1|a", "2|b"}));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES ('TEST.LISTE', 1, 'x')")));
    EXPECT_FALSE(executer(QStringLiteral(
        "INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES ('TEST.LISTE', 1, 'y')")));
    EXPECT_TRUE(executer(QStringLiteral(
        "INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES ('TEST.LISTE', 2, 'y')")));
    EXPECT_FALSE(executer(QStringLiteral("INSERT INTO RESULT_INDIC (code) VALUES ('x')")));
    EXPECT_TRUE(
        executer(QStringLiteral("INSERT INTO RESULT_INDIC (idResultRech, code) VALUES (1, 'x')")));
}

TEST_P(CatalogueTest, TablesDesStationsAuNomQuelconque)
{
    ASSERT_TRUE(verifierVersionBase(versionProgramme()));
    // A code that is not a plain name is quoted the same way by every statement.
    const QString code = QStringLiteral("06A-12/P1");
    ASSERT_TRUE(executer(sqlCreationTableAnalyses(code))) << qPrintable(bd().derniereErreur());
    ASSERT_TRUE(executer(sqlIndexTableAnalyses(code))) << qPrintable(bd().derniereErreur());
    const QString table = identifiantTable(PREFIXE_ANALYSES, code);
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO ") + table +
                         QStringLiteral(" (NumAnalyse, CodeFraction) VALUES (1, '23456')")));
    EXPECT_EQ(valeur(QStringLiteral("SELECT CodeFraction FROM ") + table).toString(),
              QStringLiteral("23456"));
    EXPECT_TRUE(test::indexMoteur().contains((PREFIXE_INDEX_ANALYSES + code).toLower()));

    QString erreur;
    EXPECT_TRUE(sqlCreationTableAnalyses(QStringLiteral(" S1"), &erreur).isEmpty());
    EXPECT_EQ(erreur,
              QStringLiteral("Le code «  S1 » ne peut pas servir à nommer une table de la base."));
    EXPECT_TRUE(sqlCreationTableListeTaxons(QString(), &erreur).isEmpty());

    // A taxa list made by its first statement gets its counting columns one by one.
    const auto colonnes = definitionListeTaxons().colonnes.first(NB_COLONNES_INITIALES_LISTE);
    const DefinitionTable premiere{"QUALITOMETRES_LISTE_7", colonnes};
    ASSERT_TRUE(executer(sqlCreationTable(premiere)));
    for (const QString &sql : sqlColonnesAjouteesListeTaxons(QStringLiteral("7")))
        ASSERT_TRUE(executer(sql)) << qPrintable(sql);
    QStringList attendues;
    for (const QString &c : definitionListeTaxons().nomsColonnes())
        attendues << c.toLower();
    QStringList lues;
    for (const QString &c : bd().colonnes(QStringLiteral("QUALITOMETRES_LISTE_7")))
        lues << c.toLower();
    EXPECT_EQ(lues, attendues);
    EXPECT_EQ(attendues.size(), 28);
}

TEST_P(CatalogueTest, CodeCommuneNumeriqueRejointLeCodeTexte)
{
    ASSERT_TRUE(verifierVersionBase(versionProgramme()));
    for (const char *sql : {"INSERT INTO COMMUNES (CodeCommune, Nom) VALUES ('01004', 'Ambérieu')",
                            "INSERT INTO COMMUNES (CodeCommune, Nom) VALUES ('2A004', 'Ajaccio')",
                            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, CodeCommune) "
                            "VALUES (1, 'S1', 1004)",
                            "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, CodeCommune) "
                            "VALUES (2, 'S2', 99)"})
        ASSERT_TRUE(executer(QString::fromUtf8(sql)));
    EXPECT_EQ(lignes(QStringLiteral("SELECT QUALITOMETRES.CodeBSS, COMMUNES.Nom FROM QUALITOMETRES "
                                    "LEFT JOIN COMMUNES ON ") +
                     conditionCodeCommune(QStringLiteral("QUALITOMETRES.CodeCommune"),
                                          QStringLiteral("COMMUNES.CodeCommune")) +
                     QStringLiteral(" ORDER BY QUALITOMETRES.CodeBSS")),
              QStringList({QStringLiteral("S1|Ambérieu"), QStringLiteral("S2|")}));
}

VYK_SUR_LES_DEUX_MOTEURS(CatalogueTest);

TEST(CatalogueOracle, LeCatalogueSEcritDansLeDialecteOracle)
{
    const QStringList sql = sqlCreationCatalogue();
    ASSERT_EQ(sql.size(), qsizetype(catalogueTables().size() + catalogueIndex().size()));
    for (const QString &s : sql) {
        const QString oracle = traduireSql(s, Cible::Oracle);
        for (const char *mot :
             {"Text(", " Double", " Short", " Long", " Memo", "DateTime", "AUTOINCREMENT", "YESNO"})
            EXPECT_FALSE(oracle.contains(QLatin1String(mot))) << qPrintable(oracle);
    }
    const QString qualitometres =
        traduireSql(sqlCreationTable(*definitionTable(u"qualitometres")), Cible::Oracle);
    EXPECT_TRUE(qualitometres.startsWith(QStringLiteral(
        "CREATE TABLE QUALITOMETRES (CodeQualitometre Number, CodeBSS varchar2(17), ")))
        << qPrintable(qualitometres);
    EXPECT_TRUE(qualitometres.contains(QStringLiteral("Commentaires varchar2(4000)")));
    EXPECT_TRUE(qualitometres.contains(QStringLiteral("DateCreation timestamp")));
    EXPECT_TRUE(
        traduireSql(sqlCreationTable(*definitionTable(u"JOBS")), Cible::Oracle)
            .startsWith(QStringLiteral(
                "CREATE TABLE JOBS (id number generated by default as identity NOT NULL, ")));
}

TEST(CatalogueOracle, CatalogueTranscrit)
{
    // A few anchors of the transcription: counts and the first and last columns of long tables.
    EXPECT_EQ(catalogueTables().size(), 123u);
    EXPECT_EQ(definitionTable(u"QUALITOMETRES")->colonnes.size(), 52u);
    EXPECT_EQ(definitionTable(u"QUALITOMETRES_POINTS_OPERATIONS")->nomsColonnes().size(), 39);
    EXPECT_NE(definitionTable(u"QUALITOMETRES_POINTS_OPERATIONS")->colonne(u"jobExecutionId"),
              nullptr);
    EXPECT_TRUE(definitionTable(u"QUALITOMETRES_POINTS_OPERATIONS")->colonne(u"ombrage")->obsolete);
    EXPECT_EQ(definitionTable(u"LISTES_EXPORT_QUALITE")->colonnes.size(), 42u);
    EXPECT_EQ(definitionAnalyses().colonnes.size(), 40u);
    EXPECT_EQ(QLatin1String(definitionAnalyses().colonnes.back().nom), QLatin1String("profFin"));
    EXPECT_EQ(definitionTable(u"journal")->nomsColonnes(),
              QStringList({"dateEvt", "niveau", "Titre", "utilisateur", "contact", "ip", "projet",
                           "description"}));
    EXPECT_EQ(definitionTable(u"ANALYSES_PARAMETRES")->etape, EtapeSchema::SchemaCommun);
    EXPECT_EQ(definitionTable(u"RESULT_INDIC")->etape, EtapeSchema::Recherche);
    EXPECT_EQ(definitionTable(u"JOBS_JOURNAL")->etape, EtapeSchema::Jobs);
    EXPECT_EQ(definitionTable(u"QUALITOMETRES_OPERATIONS_UNITES")->etape, EtapeSchema::Unites);
    EXPECT_EQ(definitionTable(u"TRAITS_ECOBIO_TAXONS")->etape, EtapeSchema::Referentiels);
    EXPECT_EQ(definitionTable(u"TAXONS_CORRESP")->nomsColonnes(), QStringList({"code", "Sandre"}));
    EXPECT_EQ(definitionTable(u"NOPE"), nullptr);
}

} // namespace
