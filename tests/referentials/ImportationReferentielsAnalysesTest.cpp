#include "referentials/ImportationReferentielsAnalyses.h"
#include "db/BaseDonnees.h"
#include "db/CompteRendu.h"
#include "db/Progression.h"
#include "referentials/ModeleReferentielAnalyses.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

QString donnee(const char *nom)
{
    return QDir(QStringLiteral(VYK_TEST_DATA "/referentiels-analyses"))
        .filePath(QString::fromLatin1(nom));
}

class ImportationReferentielsAnalysesTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesQualite();
    }
};

TEST(LectureReferentielsAnalyses, FichiersRefusesAvecUnMessage)
{
    FichierReferentielAnalyses f;
    QString erreur;
    EXPECT_FALSE(lireReferentielAnalyses(donnee("absent.xml"), Referentiel::Support, f, erreur));
    EXPECT_TRUE(erreur.startsWith(QStringLiteral("Impossible d'ouvrir le fichier ")));
    EXPECT_FALSE(lireReferentielAnalyses(donnee("incomplet.xml"), Referentiel::Support, f, erreur));
    EXPECT_TRUE(erreur.startsWith(
        QStringLiteral("Le fichier incomplet.xml n'est pas un fichier XML valide (ligne ")));
    EXPECT_TRUE(f.lignes.isEmpty());
    EXPECT_FALSE(lireReferentielAnalyses(donnee("vide.csv"), Referentiel::Unite, f, erreur));
    EXPECT_EQ(
        erreur,
        QStringLiteral("Le fichier vide.csv ne contient aucun élément du référentiel des unités."));
    // A parameter file read as supports holds no support.
    EXPECT_FALSE(
        lireReferentielAnalyses(donnee("parametres.xml"), Referentiel::Support, f, erreur));
}

TEST(LectureReferentielsAnalyses, ElementsTrouvesParLeurNom)
{
    FichierReferentielAnalyses f;
    QString erreur;
    ASSERT_TRUE(
        lireReferentielAnalyses(donnee("parametres.xml"), Referentiel::Parametre, f, erreur))
        << qPrintable(erreur);
    ASSERT_EQ(f.lignes.size(), 3);
    EXPECT_EQ(f.lignes[0].value(QStringLiteral("Code")), QStringLiteral("1340"));
    EXPECT_EQ(f.lignes[0].value(QStringLiteral("LibelleCourt")), QStringLiteral("NO3"));
    EXPECT_EQ(f.lignes[0].value(QStringLiteral("codeCAS")), QStringLiteral("14797-55-8"));
    EXPECT_EQ(colonnesLues(f),
              QStringList({"Code", "Nom", "LibelleCourt", "LibelleLong", "Statut", "Type",
                           "codeCAS", "Calcule", "DateCreation", "DateModification"}));

    // The support of a fraction, read under its own element, belongs to the fraction.
    ASSERT_TRUE(lireReferentielAnalyses(donnee("fractions.xml"), Referentiel::Fraction, f, erreur))
        << qPrintable(erreur);
    ASSERT_EQ(f.lignes.size(), 2);
    EXPECT_EQ(f.lignes[0].value(QStringLiteral("CodeSupport")), QStringLiteral("3"));
    EXPECT_EQ(f.lignes[1].value(QStringLiteral("Nom")),
              QStringLiteral("Phase aqueuse de l'eau (filtrée, centrifugée...)"));

    ASSERT_TRUE(lireReferentielAnalyses(donnee("unites.csv"), Referentiel::Unite, f, erreur))
        << qPrintable(erreur);
    ASSERT_EQ(f.lignes.size(), 2); // the line without code is not an entry
    EXPECT_EQ(f.lignes[1].value(QStringLiteral("Nom")),
              QStringLiteral("milligramme de nitrates; par litre"));
    EXPECT_EQ(f.lignes[1].value(QStringLiteral("codesInternes")), QStringLiteral("MGL"));
}

TEST_P(ImportationReferentielsAnalysesTest, IntegrationPuisMiseAJour)
{
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO ANALYSES_PARAMETRES (Code, Nom, Commentaires) "
                                        "VALUES ('1302', 'pH', 'gardé')")));
    FichierReferentielAnalyses f;
    QString erreur;
    ASSERT_TRUE(
        lireReferentielAnalyses(donnee("parametres.xml"), Referentiel::Parametre, f, erreur));
    BilanReferentielAnalyses b = integrerReferentielAnalyses(f, progressionNulle());
    EXPECT_EQ(b.ajoutes, 1);
    EXPECT_EQ(b.modifies, 1);
    EXPECT_EQ(b.rejetes, 1);
    EXPECT_EQ(b.erreurs, QStringList({"Code 1234567 : code trop long (5 caractères au plus)"}));
    EXPECT_EQ(
        lignes(QStringLiteral("SELECT Code, Nom, Statut, DateCreation, DateModification, "
                              "LibelleCourt, Type, Calcule, "
                              "codeCAS, Commentaires FROM ANALYSES_PARAMETRES ORDER BY Code")),
        QStringList({"1302|Potentiel en Hydrogène (pH)|3||||0|||gardé",
                     "1340|Nitrates|2|01/01/1995|12/06/2019 10:15:00|NO3|0|0|14797-55-8|"}));
    // Again: the same rows, updated.
    b = integrerReferentielAnalyses(f, progressionNulle());
    EXPECT_EQ(b.ajoutes, 0);
    EXPECT_EQ(b.modifies, 2);
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM ANALYSES_PARAMETRES")).toInt(), 2);
    EXPECT_EQ(valeur(QStringLiteral(
                         "SELECT count(*) FROM JOURNAL WHERE Titre='Intégration du référentiel'"))
                  .toInt(),
              2);

    ASSERT_TRUE(lireReferentielAnalyses(donnee("unites.csv"), Referentiel::Unite, f, erreur));
    b = integrerReferentielAnalyses(f, progressionNulle());
    EXPECT_EQ(b.ajoutes, 2);
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code, Symbole, Statut, DateCreation, codesInternes "
                                    "FROM ANALYSES_UNITES ORDER BY Code")),
              QStringList({"162|mg(NO3)/L|2||MGL", "27|°C|2|01/01/1995|"}));

    ASSERT_TRUE(lireReferentielAnalyses(donnee("fractions.xml"), Referentiel::Fraction, f, erreur));
    EXPECT_EQ(integrerReferentielAnalyses(f, progressionNulle()).ajoutes, 2);
    EXPECT_EQ(
        lignes(QStringLiteral("SELECT Code, CodeSupport FROM ANALYSES_FRACTIONS ORDER BY Code")),
        QStringList({"23|3", "3|3"}));
}

// Writes a text file in the given encoding.
void ecrireFichier(const QString &chemin, const QString &texte, const char *codage = "UTF-8")
{
    QStringEncoder encodeur(codage);
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(encodeur(texte));
}

// A national file in a single-byte encoding, with prefixed names and blanks around the codes.
TEST(LectureReferentielsAnalyses, XmlEnWindows1252)
{
    QTemporaryDir dossier;
    ASSERT_TRUE(dossier.isValid());
    const QString xml = dossier.filePath(QStringLiteral("unites.xml"));
    ecrireFichier(
        xml,
        QStringLiteral("<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n"
                       "<sa:REFERENTIELS xmlns:sa=\"urn:exemple\"><sa:Referentiel>\r\n"
                       "<sa:UniteReference><sa:CdUniteReference> 133 </sa:CdUniteReference>"
                       "<sa:SymUniteReference>µg/L</sa:SymUniteReference>"
                       "<sa:LbUniteReference>microgramme par litre d’eau</sa:LbUniteReference>"
                       "<sa:StUniteReference>Validé</sa:StUniteReference>"
                       "</sa:UniteReference>\r\n"
                       "<sa:UniteReference><sa:CdUniteReference>27</sa:CdUniteReference>"
                       "<sa:SymUniteReference>°C</sa:SymUniteReference>"
                       "<sa:LbUniteReference>Degré Celsius</sa:LbUniteReference>"
                       "</sa:UniteReference></sa:Referentiel></sa:REFERENTIELS>\r\n"),
        "windows-1252");
    FichierReferentielAnalyses f;
    QString erreur;
    ASSERT_TRUE(lireReferentielAnalyses(xml, Referentiel::Unite, f, erreur)) << qPrintable(erreur);
    ASSERT_EQ(f.lignes.size(), 2);
    const LigneReferentiel attendue = {{"Code", "133"},
                                       {"Symbole", "µg/L"},
                                       {"Nom", "microgramme par litre d’eau"},
                                       {"Statut", "Validé"}};
    EXPECT_EQ(f.lignes[0], attendue);
    EXPECT_EQ(f.lignes[1].value(QStringLiteral("Nom")), QStringLiteral("Degré Celsius"));
}

// A list saved by a spreadsheet: Windows-1252, CRLF, a definition on two lines and a ";" inside a
// quoted cell, a quote inside a plain cell, blank rows, a short row, an extra column, a code with
// blanks around it and given twice (its later cells win, an empty one erases nothing).
TEST_P(ImportationReferentielsAnalysesTest, CsvEnregistreParUnTableur)
{
    const QString csv = chemin(QStringLiteral("parametres.csv"));
    ecrireFichier(csv,
                  QStringLiteral("Code;Nom;Libellé long;Définition;Statut;\r\n"
                                 " 1340 ;Nitrates;NO3;\"Ion nitrate ;\nforme oxydée\";Validé;\r\n"
                                 "1302;Maille 2\" d'Œuf;;;2;\r\n"
                                 "\r\n"
                                 ";;;;;\r\n"
                                 "1303;Conductivité à 25°C\r\n"
                                 "1340;Nitrates;;;Gelé;;en trop\r\n"),
                  "windows-1252");
    FichierReferentielAnalyses f;
    QString erreur;
    ASSERT_TRUE(lireReferentielAnalyses(csv, Referentiel::Parametre, f, erreur))
        << qPrintable(erreur);
    ASSERT_EQ(f.lignes.size(), 4);
    const QString requete = QStringLiteral(
        "SELECT Code, Nom, LibelleLong, Definition, Statut FROM ANALYSES_PARAMETRES ORDER BY Code");
    const QStringList attendues = {"1302|Maille 2\" d'Œuf|||2", "1303|Conductivité à 25°C|||",
                                   "1340|Nitrates|NO3|Ion nitrate ;\nforme oxydée|3"};
    BilanReferentielAnalyses b = integrerReferentielAnalyses(f, progressionNulle());
    EXPECT_EQ(b.erreurs, QStringList());
    EXPECT_EQ(b.ajoutes, 3);
    EXPECT_EQ(b.modifies, 1);
    EXPECT_EQ(lignes(requete), attendues);
    // The same file again changes nothing.
    b = integrerReferentielAnalyses(f, progressionNulle());
    EXPECT_EQ(b.ajoutes, 0);
    EXPECT_EQ(b.modifies, 4);
    EXPECT_EQ(lignes(requete), attendues);

    // UTF-8 with a byte order mark: the first column is still Code.
    ecrireFichier(csv, QStringLiteral("\uFEFFCode;Symbole;Nom\r\n27;°C;degré Celsius\r\n"));
    ASSERT_TRUE(lireReferentielAnalyses(csv, Referentiel::Unite, f, erreur)) << qPrintable(erreur);
    EXPECT_EQ(integrerReferentielAnalyses(f, progressionNulle()).ajoutes, 1);
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code, Symbole, Nom FROM ANALYSES_UNITES")),
              QStringList({"27|°C|degré Celsius"}));
}

// A name longer than its column is refused alike on every engine, the other rows go in.
TEST_P(ImportationReferentielsAnalysesTest, TexteTropLongRefuseSurChaqueMoteur)
{
    const QString csv = chemin(QStringLiteral("supports.csv"));
    ecrireFichier(csv, QStringLiteral("Code;Nom\n3;Eau\n4;") + QString(256, u'x') +
                           QStringLiteral("\n6;Sédiments\n"));
    FichierReferentielAnalyses f;
    QString erreur;
    ASSERT_TRUE(lireReferentielAnalyses(csv, Referentiel::Support, f, erreur))
        << qPrintable(erreur);
    const BilanReferentielAnalyses b = integrerReferentielAnalyses(f, progressionNulle());
    EXPECT_EQ(b.ajoutes, 2);
    EXPECT_EQ(b.erreurs, QStringList({"Code 4 : le champ « Nom » est trop long"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code, Nom FROM ANALYSES_SUPPORTS ORDER BY Code")),
              QStringList({"3|Eau", "6|Sédiments"}));
}

// A NUL in a field is refused with its code and field on every engine (one would cut the text,
// another refuse the statement); a soft line break is stored; the other rows go in.
TEST_P(ImportationReferentielsAnalysesTest, OctetNulRefuseAvecSonCode)
{
    const QString csv = chemin(QStringLiteral("supports.csv"));
    ecrireFichier(csv, QStringLiteral("Code;Nom\n3;Eau\n4;Ea") + QChar(u'\0') +
                           QStringLiteral("u brute\n6;Sédiments\vfins\n"));
    FichierReferentielAnalyses f;
    QString erreur;
    ASSERT_TRUE(lireReferentielAnalyses(csv, Referentiel::Support, f, erreur))
        << qPrintable(erreur);
    const BilanReferentielAnalyses b = integrerReferentielAnalyses(f, progressionNulle());
    EXPECT_EQ(b.ajoutes, 2);
    EXPECT_EQ(b.erreurs, QStringList({"Code 4 : le champ « Nom » contient un octet nul, qu'aucune "
                                      "base ne peut enregistrer"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code, Nom FROM ANALYSES_SUPPORTS ORDER BY Code")),
              QStringList({"3|Eau", "6|Sédiments\vfins"}));
}

// A code another program stored with blanks around it is the file's code: its row is updated
// (and counted so only because it was), no second row is added.
TEST_P(ImportationReferentielsAnalysesTest, CodeEntoureDeBlancsMisAJourSansDoublon)
{
    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO ANALYSES_SUPPORTS (Code, Nom) VALUES (' 7 ', 'Ancien')")));
    const QString csv = chemin(QStringLiteral("supports.csv"));
    ecrireFichier(csv, QStringLiteral("Code;Nom\n7;Eau de pluie\n"));
    FichierReferentielAnalyses f;
    QString erreur;
    ASSERT_TRUE(lireReferentielAnalyses(csv, Referentiel::Support, f, erreur))
        << qPrintable(erreur);
    const BilanReferentielAnalyses b = integrerReferentielAnalyses(f, progressionNulle());
    EXPECT_EQ(b.erreurs, QStringList());
    EXPECT_EQ(b.ajoutes, 0);
    EXPECT_EQ(b.modifies, 1);
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code, Nom FROM ANALYSES_SUPPORTS")),
              QStringList({" 7 |Eau de pluie"}));
}

// The list exported by its screen reads back as it was: every exported column is recognised by
// its header and its text (status label, yes/no, dates) gives the stored value again.
TEST_P(ImportationReferentielsAnalysesTest, ListeExporteeReimporteeALIdentique)
{
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO ANALYSES_PARAMETRES (Code, Nom, LibelleLong, Statut, Type, codeCAS, "
        "UniteReference1, codesInternes, DateCreation, DateModification, Actif) VALUES "
        "('1340', 'Nitrates \"totaux\"; dissous', 'NO3 ; total', '2', '0', '14797-55-8', '162', "
        "'12,34', #01/15/1995#, #06/12/2019 10:15:00#, '1'), "
        "('1302', 'pH', NULL, '3', '1', NULL, NULL, NULL, NULL, NULL, '0')")));
    const QString requete = QStringLiteral(
        "SELECT Code, Nom, LibelleLong, Statut, Type, codeCAS, UniteReference1, codesInternes, "
        "DateCreation, DateModification, Actif FROM ANALYSES_PARAMETRES ORDER BY Code");
    const QStringList avant = lignes(requete);
    ModeleReferentielAnalyses modele(Referentiel::Parametre);
    ASSERT_TRUE(modele.charger());
    const QString csv = chemin(QStringLiteral("Liste_des_Parametres.csv"));
    ASSERT_TRUE(montrer(modele.exporter(csv)));

    ASSERT_TRUE(executer(QStringLiteral("DELETE FROM ANALYSES_PARAMETRES")));
    FichierReferentielAnalyses f;
    QString erreur;
    ASSERT_TRUE(lireReferentielAnalyses(csv, Referentiel::Parametre, f, erreur))
        << qPrintable(erreur);
    const BilanReferentielAnalyses b = integrerReferentielAnalyses(f, progressionNulle());
    EXPECT_EQ(b.erreurs, QStringList());
    EXPECT_EQ(b.ajoutes, 2);
    EXPECT_EQ(lignes(requete), avant);
}

// National extracts name their columns in their own way: any case, underscores, accents,
// "Code du paramètre". A file whose columns are not those of the list is refused, never read.
TEST_P(ImportationReferentielsAnalysesTest, ColonnesDesExtraitsNationauxReconnuesOuFichierRefuse)
{
    const QString csv = chemin(QStringLiteral("extrait.csv"));
    FichierReferentielAnalyses f;
    QString erreur;
    for (const char *entete : {"CD_PARAMETRE;NOM_PARAMETRE;ST_PARAMETRE;LB_COURT_PARAMETRE;"
                               "LbLongParametre;CdUniteReference",
                               "Code du paramètre;Nom du paramètre;Statut du paramètre;Libellé "
                               "court;Libellé long;code_unite"}) {
        SCOPED_TRACE(entete);
        ecrireFichier(csv, QString::fromUtf8(entete) +
                               QStringLiteral("\n1340;Nitrates;Validé;NO3;Nitrates (NO3);162\n"));
        ASSERT_TRUE(lireReferentielAnalyses(csv, Referentiel::Parametre, f, erreur))
            << qPrintable(erreur);
        ASSERT_EQ(f.lignes.size(), 1);
        const LigneReferentiel attendue = {{"Code", "1340"},
                                           {"Nom", "Nitrates"},
                                           {"Statut", "Validé"},
                                           {"LibelleCourt", "NO3"},
                                           {"LibelleLong", "Nitrates (NO3)"},
                                           {"UniteReference1", "162"}};
        EXPECT_EQ(f.lignes[0], attendue);
    }
    ecrireFichier(csv, QStringLiteral("cdsupport;LbSupport\n3;Eau\n"));
    ASSERT_TRUE(lireReferentielAnalyses(csv, Referentiel::Support, f, erreur))
        << qPrintable(erreur);
    EXPECT_EQ(f.lignes[0].value(QStringLiteral("Nom")), QStringLiteral("Eau"));

    // A taxa list given to the parameters, or supports without names: refused, with the columns
    // expected, and nothing written.
    EXPECT_FALSE(lireReferentielAnalyses(QStringLiteral(VYK_TEST_DATA "/taxons/taxons.csv"),
                                         Referentiel::Parametre, f, erreur));
    EXPECT_TRUE(erreur.startsWith(
        QStringLiteral("Les colonnes du fichier taxons.csv ne sont pas celles d'une liste des "
                       "paramètres : il faut au moins le code et le "
                       "nom. Colonnes attendues : Code, Nom, LibelleCourt, LibelleLong, "
                       "NomInternational, Statut, Type, ")))
        << qPrintable(erreur);
    EXPECT_TRUE(f.lignes.isEmpty());
    ecrireFichier(csv, QStringLiteral("Code;Statut\n3;Validé\n"));
    EXPECT_FALSE(lireReferentielAnalyses(csv, Referentiel::Support, f, erreur));
    EXPECT_EQ(
        erreur,
        QStringLiteral(
            "Les colonnes du fichier extrait.csv ne sont pas celles d'une liste des supports : il "
            "faut au moins le code et le nom. Colonnes attendues : Code, Nom, NomInternational, "
            "Statut, Commentaires, DateCreation, DateModification, Auteur (ou les noms du "
            "référentiel national, tels CdSupport, NomSupport, StSupport)."));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM ANALYSES_PARAMETRES")).toInt(), 0);
}

VYK_SUR_LES_DEUX_MOTEURS(ImportationReferentielsAnalysesTest);

} // namespace
