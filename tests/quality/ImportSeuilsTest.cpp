#include "quality/ImportSeuils.h"
#include "classeur/Classeur.h"
#include "db/BaseDonnees.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

#include <QFile>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

const GenreSeuils &genre(const char *typeListe)
{
    return *genreSeuils(QString::fromLatin1(typeListe));
}

TEST(AnnonceSeuils, ColonnesSelonLeGenre)
{
    EXPECT_EQ(
        annonceColonnesSeuils(genre("1")).split(u'\n'),
        QStringList({"Le fichier doit être au format Excel ou CSV et comporter les colonnes "
                     "suivantes:",
                     "- Code Seuil", "- Libellé Seuil", "- Code param calculé (facultatif)",
                     "- Code thème (facultatif)", "- Libellé thème (facultatif)",
                     "- Code taxon (facultatif)", "- type station (facultatif)",
                     "- type fr (facultatif)", "- seuil 1 (facultatif)", "- seuil 2 (facultatif)",
                     "- seuil 3 (facultatif)", "- seuil 4 (facultatif)"}));
    EXPECT_EQ(entetesFichierSeuils(genre("0")),
              QStringList({"Code seuil", "Libellé seuil", "Code Sandre param calculé", "Code Thème",
                           "Libellé Thème", "Code paramètre", "Code unité", "Seuil1", "Seuil2",
                           "Seuil3", "Seuil4"}));
    EXPECT_EQ(entetesFichierSeuils(genre("4")).mid(5, 2), QStringList({"Code état", "Seuil1"}));
}

class ImportSeuilsTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesCatalogue({"ANALYSES_SEUILS", "CODES_SANDRE", "ANALYSES_UNITES"});
        for (const char *sql :
             {"INSERT INTO ANALYSES_UNITES (Code, Nom) VALUES ('162', 'mg/L')",
              "INSERT INTO ANALYSES_UNITES (Code, Nom) VALUES ('133', 'µg/L')",
              "INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES ('SEUILS', 1, "
              "'SEQ-Eaux souterraines')",
              "INSERT INTO CODES_SANDRE (Champ, Code, Libelle, codeReference) VALUES ('SEUILS', 4, "
              "'Ancien groupe', '1')",
              "INSERT INTO ANALYSES_SEUILS (typeSeuil, TypeListe, CodeParametre, CodeUnite, "
              "Seuil1) "
              "VALUES (1, '0', '1340', '162', 99)"})
            ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
    }

    QString ecrire(const QString &nom, const QString &texte)
    {
        QFile f(chemin(nom));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(texte.toUtf8());
        return f.fileName();
    }

    BilanImportSeuils importer(const char *typeListe, const QString &fichier)
    {
        FichierSeuils f;
        QString erreur;
        EXPECT_TRUE(lireFichierSeuils(fichier, genre(typeListe), f, erreur)) << qPrintable(erreur);
        return importerSeuils(genre(typeListe), f);
    }

    QStringList jeux()
    {
        return lignes(
            "SELECT Champ, Code, Libelle, codeReference FROM CODES_SANDRE ORDER BY Champ, "
            "Code");
    }
    QStringList bornes()
    {
        return lignes("SELECT typeSeuil, TypeListe, CodeParametre, CodeUnite, TypeStation, TypeFr, "
                      "codeElement, Seuil1, Seuil2, Seuil3, Seuil4 FROM ANALYSES_SEUILS ORDER BY "
                      "typeSeuil, CodeParametre, TypeStation");
    }
};

const QString FICHIER_PC = QStringLiteral(
    "Code seuil;Libellé seuil;Code param calculé;Code thème;Libellé thème;Paramètre;Unité;S1;S2;"
    "S3;S4\n"
    "1;SEQ-Eaux souterraines;;;;1340;162;10;25;50;100\n"
    "1;SEQ-Eaux souterraines;;N;Nitrates;1340;133;8,5;6;4;3\n"
    "1;SEQ-Eaux souterraines;;;;;;1;;;\n"
    "7;Nouveau seuil;5;;;1107;133;0.05;;0.1;\n");

TEST_P(ImportSeuilsTest, DeuxImportsDuMemeFichierLaissentUneLigneParElement)
{
    const QString fichier = ecrire("seuils.csv", FICHIER_PC);
    for (int fois = 0; fois < 2; ++fois) {
        const BilanImportSeuils b = importer("0", fichier);
        EXPECT_EQ(b.refus, "");
        EXPECT_TRUE(b.echecs.isEmpty()) << qPrintable(b.echecs.join(u'\n'));
        EXPECT_EQ(b.jeux, 3);
        EXPECT_EQ(b.lignes, 4);
        // The set found by its label keeps its code; the old group loses its reference, the
        // theme becomes a group of the main set; the new set takes the greatest code + 1.
        EXPECT_EQ(jeux(), QStringList({"SEUILS|1|SEQ-Eaux souterraines|", "SEUILS|4|Ancien groupe|",
                                       "SEUILS|5|Nitrates|1", "SEUILS|6|Nouveau seuil|"}))
            << fois;
        // Empty bounds stay empty; a decimal comma is read.
        EXPECT_EQ(bornes(),
                  QStringList({"1|0||||||1|||", "1|0|1340|162||||10|25|50|100",
                               "5|0|1340|133||||8.5|6|4|3", "6|0|1107|133|||5|0.05||0.1|"}))
            << fois;
    }
}

TEST_P(ImportSeuilsTest, UnFichierFautifNEcritRien)
{
    const QStringList avant = bornes(), jeuxAvant = jeux();
    struct Cas
    {
        QString fichier, refus, genre;
    };
    const QVector<Cas> cas = {
        {FICHIER_PC + "9;Autre;;;;1316;162;3;5;1;\n",
         "Les seuils ne sont ni croissants ni décroissants pour la ligne 6.", "ERREUR"},
        {FICHIER_PC + "9;Autre;;;;1316;162;3;x5;;\n",
         "La valeur de « Seuil2 » n'est pas un nombre pour la ligne 6.", "ERREUR"},
        {FICHIER_PC + "9;;;;;1316;162;3;;;\n", "Le libellé du seuil est vide pour la ligne 6.",
         "ERREUR"},
        {FICHIER_PC + "7;Nouveau seuil;;;;1107;133;1;;;\n",
         "L'élément 1107 figure déjà dans ce seuil pour la ligne 6.", "ERREUR"},
        {FICHIER_PC + "9;Autre;;;;131600;162;3;;;\n",
         "Le texte de « Code paramètre » dépasse 5 caractères pour la ligne 6.", "ERREUR"},
        {FICHIER_PC + "9;Autre;;;;1316;999;3;;;\n9;Autre;;;;1317;x'y;3;;;\n",
         "Les codes unités suivants n'existent pas : 999, x'y", "WARNING"},
    };
    for (const Cas &c : cas) {
        const BilanImportSeuils b = importer("0", ecrire("faux.csv", c.fichier));
        EXPECT_EQ(b.refus, c.refus);
        EXPECT_EQ(b.genreRefus, c.genre);
        EXPECT_EQ(b.jeux, 0);
        EXPECT_EQ(bornes(), avant);
        EXPECT_EQ(jeux(), jeuxAvant);
    }
}

TEST_P(ImportSeuilsTest, ClasseurDeTaxonsAvecTypesDeStation)
{
    const QString fichier = chemin("taxons.xlsx");
    ASSERT_TRUE(exporterClasseur(fichier, "Seuils", entetesFichierSeuils(genre("1")),
                                 {{"1", "IBGN", "", "", "", "T1", "1", "4", "20", "15", "10", "5"},
                                  {"1", "IBGN", "", "", "", "T1", "", "", "1", "2", "3", ""},
                                  {"", "", "", "", "", "", "", "", "", "", "", ""},
                                  {"1", "IBGN", "", "", "", "", "2", "1", "50", "60", "", ""}}));
    const BilanImportSeuils b = importer("1", fichier);
    EXPECT_EQ(b.refus, "");
    EXPECT_EQ(b.lignes, 3);
    EXPECT_EQ(jeux().last(), "SEUILS.TAXONS|1|IBGN|");
    EXPECT_EQ(lignes("SELECT CodeParametre, TypeStation, TypeFr, Seuil1, Seuil4 FROM "
                     "ANALYSES_SEUILS WHERE TypeListe='1' ORDER BY CodeParametre, TypeStation"),
              QStringList({"|2|1|50|", "T1|||1|", "T1|1|4|20|5"}));
    // The bounds read back as the map loads them.
    const auto s = chargerSeuils("1", "1", "T1");
    ASSERT_TRUE(s);
    EXPECT_EQ(getClasse("12", s->bornes, &s->types, "1", "4"), "3");
    EXPECT_EQ(getClasse("2.5", s->bornes, &s->types, "3", "4"), "3");
}

TEST(FichierSeuils, TropDeLignes)
{
    test::EnvironnementTest env;
    QByteArray texte;
    texte.reserve(250000 * 16);
    for (int i = 0; i < 250000; ++i)
        texte += "1;A;;;;" + QByteArray::number(i % 9999) + ";162;1\n";
    QFile f(env.chemin("gros.csv"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(texte);
    f.close();
    FichierSeuils fichier;
    QString erreur;
    EXPECT_FALSE(lireFichierSeuils(f.fileName(), genre("0"), fichier, erreur));
    EXPECT_EQ(erreur, "Le fichier contient trop de données pour être importé automatiquement. "
                      " Scinder le en plusieurs fichiers (moins de 250000 lignes par fichier) "
                      "pour pouvoir importer toutes les données.");
    EXPECT_TRUE(fichier.lignes.isEmpty());
}

VYK_SUR_LES_DEUX_MOTEURS(ImportSeuilsTest);

} // namespace
