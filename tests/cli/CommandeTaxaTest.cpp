#include "db/BaseDonnees.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

#include <QFile>
#include <QStringEncoder>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class CommandeTaxaTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(mettreAJourBase(versionProgramme()));
    }

    static QString donnees(const QString &nom)
    {
        return QStringLiteral(VYK_TEST_DATA "/taxons/") + nom;
    }
};

TEST_P(CommandeTaxaTest, ImportDuReferentielEnLigneDeCommande)
{
    // Update mode: the file's taxa are not in the base yet.
    test::SortieCli r = cli({QStringLiteral("taxa"), QStringLiteral("import"),
                             donnees(QStringLiteral("taxons_sandre.xml"))});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, QStringLiteral("taxons_sandre.xml : 3 ligne(s), 0 taxon(s) ajouté(s), 0 "
                                       "mis à jour, 3 ignoré(s), 0 rejeté(s), "
                                       "0 thème(s) ajouté(s)\n"));

    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (4, 'B4')")));
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE QUALITOMETRES_LISTE_4 (codeOperation Double, "
                                        "codeListe Double, indice Double, "
                                        "codeTaxon Text(6))")));
    ASSERT_TRUE(
        executer(QStringLiteral("INSERT INTO QUALITOMETRES_LISTE_4 VALUES (0, 1, 1, 'X1')")));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO TAXONS (codeTaxon, nomLatin, actif) VALUES ('X1', 'Ancien', '0')")));
    r = cli({QStringLiteral("taxa"), QStringLiteral("import"),
             donnees(QStringLiteral("taxons_sandre.xml")), QStringLiteral("--complete"),
             QStringLiteral("--activate")});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.sortie, QStringLiteral("taxons_sandre.xml : 3 ligne(s), 3 taxon(s) ajouté(s), 0 "
                                       "mis à jour, 0 ignoré(s), 0 rejeté(s), "
                                       "1 thème(s) ajouté(s), 1 taxon(s) utilisé(s) activé(s)\n"));
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeTaxon, actif FROM TAXONS ORDER BY codeTaxon")),
              QStringList({"9001|1", "9002|1", "9003|1", "X1|1"}));
}

TEST_P(CommandeTaxaTest, RefusEtLignesRejetees)
{
    test::SortieCli r = cli({QStringLiteral("taxa"), QStringLiteral("import")});
    EXPECT_EQ(r.code, 2);
    r = cli({QStringLiteral("taxa"), QStringLiteral("import"),
             donnees(QStringLiteral("taxons.csv")), QStringLiteral("--tout")});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.erreurs.contains(QStringLiteral("Option inconnue : --tout")))
        << qPrintable(r.erreurs);
    r = cli({QStringLiteral("taxa"), QStringLiteral("import"),
             donnees(QStringLiteral("sans_entete.csv"))});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(
        r.erreurs.contains(QStringLiteral("Le fichier doit contenir les entêtes de colonnes.")))
        << qPrintable(r.erreurs);
    r = cli(
        {QStringLiteral("taxa"), QStringLiteral("import"), donnees(QStringLiteral("absent.csv"))});
    EXPECT_EQ(r.code, 1);
    r = cli({QStringLiteral("taxa"), QStringLiteral("--help")});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.sortie.startsWith(
        QStringLiteral("Usage : vyk-cli [options de connexion] taxa import FICHIER")));

    // A row that cannot be written is reported, the others go in.
    const QString csv = chemin(QStringLiteral("long.csv"));
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Code;Nom latin;Statut\n1;Court;2\n2;");
    f.write(QByteArray(40, 'x'));
    f.write(";2\n3;Autre;Validé\n");
    f.close();
    r = cli({QStringLiteral("taxa"), QStringLiteral("import"), csv, QStringLiteral("--complete")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.sortie.contains(QStringLiteral("2 taxon(s) ajouté(s)"))) << qPrintable(r.sortie);
    // The line of the file, its header counted.
    EXPECT_TRUE(r.erreurs.startsWith(QStringLiteral("long.csv : Ligne 3 (2) : « xxxx")))
        << qPrintable(r.erreurs);
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeTaxon, statut FROM TAXONS ORDER BY codeTaxon")),
              QStringList({"1|2", "3|2"}));
}

// A file saved by a spreadsheet (Windows-1252, CRLF, rows of empty cells) goes in without a
// refusal; a file of another kind is refused with its message and writes nothing.
TEST_P(CommandeTaxaTest, FichierDeTableurEtFichierDUneAutreSorte)
{
    const QString csv = chemin(QStringLiteral("tableur.csv"));
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QStringEncoder("windows-1252")(
        QStringLiteral("Code;Nom latin;Statut\r\n1;Gammarus;Validé\r\n;;\r\n2;Asellus;Gelé;\r\n"
                       ";;\r\n")));
    f.close();
    test::SortieCli r =
        cli({QStringLiteral("taxa"), QStringLiteral("import"), csv, QStringLiteral("--complete")});
    EXPECT_EQ(r.code, 0) << qPrintable(r.erreurs);
    EXPECT_EQ(r.erreurs, QString());
    EXPECT_EQ(r.sortie, QStringLiteral("tableur.csv : 2 ligne(s), 2 taxon(s) ajouté(s), 0 mis à "
                                       "jour, 0 ignoré(s), 0 rejeté(s), 0 thème(s) ajouté(s)\n"));
    EXPECT_EQ(
        lignes(QStringLiteral("SELECT codeTaxon, nomLatin, statut FROM TAXONS ORDER BY codeTaxon")),
        QStringList({"1|Gammarus|2", "2|Asellus|3"}));

    // A nomenclature of the code lists is no taxa referential.
    r = cli({QStringLiteral("taxa"), QStringLiteral("import"),
             QStringLiteral(VYK_TEST_DATA "/referentiels/nsa_155.xml"),
             QStringLiteral("--complete")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.sortie, QString());
    EXPECT_EQ(r.erreurs.trimmed(),
              QStringLiteral("Aucune donnée ne peut être importée de ce fichier"));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM TAXONS")).toInt(), 2);
}

VYK_SUR_LES_DEUX_MOTEURS(CommandeTaxaTest);

} // namespace
