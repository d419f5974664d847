#include "db/Progression.h"
#include "import/ChargementTexte.h"
#include "import/LigneCommande.h"
#include "import/ModelesImport.h"
#include "import/Zip.h"

#include "app/ZipEcrit.h"
#include "support/BaseTest.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>

using namespace vyk;

namespace {

class Annulation : public Progression
{
  public:
    explicit Annulation(int apres) : m_reste(apres) {}
    bool annule() const override { return --m_reste < 0; }

  private:
    mutable int m_reste;
};

TEST(ChargementTexte, EnteteOuNomsFixesEtDecodage)
{
    GrilleImport g;
    // Without the header option the first line is not data and the 42 names are set.
    EXPECT_EQ(chargerTexte("\xEF\xBB\xBFtitre\r\nA;01/02/2021;\r\n\r\nB;é\n", g, progressionNulle(),
                           false),
              QString());
    EXPECT_EQ(g.colonnes, nomsColonnesImport());
    ASSERT_EQ(g.nombreLignes(), 2);
    EXPECT_EQ(g.valeur(0, ColonneImport::TypeQualito), QStringLiteral("01/02/2021"));
    EXPECT_EQ(g.lignes[0].size(), 42);
    EXPECT_EQ(g.valeur(1, ColonneImport::TypeQualito), QStringLiteral("é"));
    EXPECT_EQ(g.origines, QStringList({"ligne 2", "ligne 4"}));
    // Windows-1252 bytes, header names kept and the line after them passed over.
    EXPECT_EQ(chargerTexte("Code;Libell\xE9\nunites;;\nX;caf\xE9\n", g, progressionNulle(), true),
              QString());
    EXPECT_EQ(g.colonnes, QStringList({"Code", "Libellé"}));
    ASSERT_EQ(g.nombreLignes(), 1);
    EXPECT_EQ(g.lignes[0][1], QStringLiteral("café"));
}

TEST(ChargementTexte, LimiteDesLignesEtAnnulationVident)
{
    QByteArray texte = "entete\n";
    for (int i = 0; i < LIGNES_IMPORT_MAX - 1; ++i)
        texte += "S;01/01/2020\n";
    GrilleImport g;
    EXPECT_EQ(chargerTexte(texte, g, progressionNulle(), false), QString());
    EXPECT_EQ(g.nombreLignes(), LIGNES_IMPORT_MAX - 1);
    texte += "S;01/01/2020\n";
    EXPECT_EQ(chargerTexte(texte, g, progressionNulle(), false),
              QStringLiteral("Le fichier contient trop de données pour être importé "
                             "automatiquement.  Scinder le en plusieurs fichiers (moins de 250 000 "
                             "lignes par fichier) pour pouvoir importer toutes les données."));
    EXPECT_EQ(g.nombreLignes(), 0);
    Annulation annulation(3);
    EXPECT_EQ(chargerTexte("e\na\nb\nc\nd\n", g, annulation, false), texteChargement::ANNULE);
    EXPECT_EQ(g.nombreLignes(), 0);
    EXPECT_EQ(chargerFichierTexte("/nexiste/pas.csv", g, progressionNulle(), false),
              QStringLiteral("Impossible d'ouvrir le fichier /nexiste/pas.csv."));
}

TEST(LigneCommande, OptionsEntieresSeulement)
{
    const QStringList args = {"vyk",
                              "/IMPORT",
                              "/folder=C:\\Données\\Import",
                              "2021",
                              "/EXTENSION:\"csv\"",
                              "/ajoutRefManquant=oui",
                              "/PasDeMesureIncorrecte=NON"};
    EXPECT_EQ(lireParametreLigneCommande(args, "FOLDER"),
              QStringLiteral("C:\\Données\\Import 2021"));
    EXPECT_EQ(lireParametreLigneCommande(args, "extension"), QStringLiteral("csv"));
    EXPECT_EQ(lireParametreLigneCommande(args, "ABSENT"), QString());
    const ImportLigneCommande i = lireImportLigneCommande(args);
    EXPECT_TRUE(i.demande);
    EXPECT_TRUE(i.options[5]);
    EXPECT_FALSE(i.options[3]);
    // A name inside a path or another option starts nothing.
    const QStringList piege = {"vyk", "/FOLDER=/srv/IMPORT", "/IMPORTS", "/x/IMPORT"};
    EXPECT_FALSE(lireImportLigneCommande(piege).demande);
    EXPECT_EQ(lireParametreLigneCommande(piege, "FOLDER"), QStringLiteral("/srv/IMPORT"));
}

TEST(Modeles, ListeEtRefus)
{
    ASSERT_EQ(modelesImport().size(), 21);
    EXPECT_EQ(modeleImport("ades csv")->route, RouteImport::AnalysesTexte);
    EXPECT_EQ(modeleImport("REPRISE_HISTO")->libelle, QStringLiteral("REPRISE_HISTO"));
    // Every model of the list is read now; a format added later without a reader is refused so.
    const ModeleImport futur{QStringLiteral("FUTUR"), QString(), RouteImport::AutreFormat};
    EXPECT_EQ(futur.refus(),
              QStringLiteral("Le modèle « FUTUR » [FUTUR] n'est pas encore pris en charge par "
                             "cette version de VYK : aucune donnée n'a été intégrée."));
    for (const char *code :
         {"CEMAGREF", "MACROPHYTES", "OMNIDIA", "ARS Excel", "XLS RCS", "REPRISE_HISTO"}) {
        EXPECT_EQ(modeleImport(code)->route, RouteImport::Classeur) << code;
        EXPECT_TRUE(modeleImport(code)->refus().isEmpty()) << code;
    }
    for (const char *code : {"OSUR WEB CSV", "OSUR XLS", "SANDRE_ADOUR_GARONNE"}) {
        EXPECT_EQ(modeleImport(code)->route, RouteImport::Regional) << code;
        EXPECT_TRUE(modeleImport(code)->refus().isEmpty()) << code;
    }
    for (const char *code : {"NAIADES_PC", "QUALITEAU_SN", "ADES SEQEAU"}) {
        EXPECT_EQ(modeleImport(code)->route, RouteImport::ExtraitCode) << code;
        EXPECT_TRUE(modeleImport(code)->refus().isEmpty()) << code;
    }
    EXPECT_TRUE(modeleImport("GDES")->refus().isEmpty());
    EXPECT_TRUE(modeleImport("GDES")->libelleListe().endsWith(QStringLiteral(" [GDES]")));
    EXPECT_EQ(modeleImport("X"), nullptr);
}

class ZipImport : public ::testing::Test
{
  protected:
    test::EnvironnementTest env;
    QString chemin(const QString &nom) const { return env.chemin(nom); }
};

TEST_F(ZipImport, ExtractionEtMauvaisCrc)
{
    const QString zip = chemin("a.zip");
    ASSERT_TRUE(test::ecrireZip(zip, {{"a.csv", "contenu a"}, {"sous/b.txt", "contenu b"}}));
    const QString dest = chemin("dest");
    EXPECT_EQ(decompresserZip(zip, "*.csv", dest), 0);
    EXPECT_EQ(QDir(dest).entryList(QDir::Files), QStringList({"a.csv"}));
    EXPECT_EQ(listerArchive(zip), QStringList({"a.csv", "sous/b.txt"}));
    // Members in a folder of the archive are files to integrate too, never left aside.
    const QString tout = chemin("tout");
    QHash<QString, QByteArray> membres;
    EXPECT_EQ(decompresserZip(zip, "", tout, &membres), 0);
    EXPECT_EQ(fichiersExtraits(tout), QStringList({"a.csv", "sous/b.txt"}));
    // The bytes written are handed over by the files' paths.
    ASSERT_EQ(membres.size(), 2);
    for (const QString &f : fichiersExtraits(tout)) {
        QFile ecrit(QDir(tout).absoluteFilePath(f));
        ASSERT_TRUE(ecrit.open(QIODevice::ReadOnly));
        EXPECT_EQ(membres.value(QDir::cleanPath(QDir(tout).absoluteFilePath(f))), ecrit.readAll())
            << f.toStdString();
    }
    EXPECT_EQ(membres.value(QDir(tout).absoluteFilePath("sous/b.txt")), "contenu b");
    // Unpacked again over its own files: each replaced, nothing else left in the folder.
    ASSERT_TRUE(test::ecrireZip(zip, {{"a.csv", "autre a"}, {"sous/b.txt", "contenu b"}}));
    EXPECT_EQ(decompresserZip(zip, "", tout), 0);
    EXPECT_EQ(fichiersExtraits(tout), QStringList({"a.csv", "sous/b.txt"}));
    QFile relu(QDir(tout).absoluteFilePath("a.csv"));
    ASSERT_TRUE(relu.open(QIODevice::ReadOnly));
    EXPECT_EQ(relu.readAll(), "autre a");
    relu.close();

    // One byte of a member changed: the CRC no longer matches, nothing is written.
    QFile f(zip);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray octets = f.readAll();
    const qsizetype i = octets.indexOf("contenu b");
    ASSERT_GT(i, 0);
    octets[i] = 'K';
    f.seek(0);
    f.write(octets);
    f.close();
    const QString dest2 = chemin("dest2");
    membres.clear();
    EXPECT_EQ(decompresserZip(zip, "", dest2, &membres), 39);
    EXPECT_TRUE(membres.isEmpty());
    EXPECT_EQ(erreurDecompression(39), QStringLiteral("Erreur de décompression: Mauvais CRC"));
    EXPECT_TRUE(env.messages.messages().isEmpty());
    EXPECT_FALSE(QDir(dest2).exists());
    EXPECT_EQ(decompresserZip(chemin("absent.zip"), "", dest2), 9);
}

TEST_F(ZipImport, RienEcritHorsDuDossier)
{
    const QString zip = chemin("piege.zip");
    ASSERT_TRUE(test::ecrireZip(zip, {{"ok.csv", "x"}, {"../evade.csv", "y"}}));
    EXPECT_EQ(decompresserZip(zip, "", chemin("dest")), codeZip::NOM_DANGEREUX);
    EXPECT_FALSE(QFile::exists(chemin("evade.csv")));
    EXPECT_FALSE(QFile::exists(chemin("dest/ok.csv")));
    ASSERT_TRUE(test::ecrireZip(zip, {{"/tmp/absolu.csv", "y"}}));
    EXPECT_EQ(decompresserZip(zip, "", chemin("dest")), codeZip::NOM_DANGEREUX);

    // A member whose name holds NUL bytes (found by fuzzing): refused before anything is written.
    const QString nul = QStringLiteral(VYK_TEST_DATA "/fuzz/fuzz_archive_zip/nom-avec-nul.zip");
    int code = -1;
    listerArchive(nul, &code);
    EXPECT_EQ(code, codeZip::NOM_DANGEREUX);
    EXPECT_EQ(decompresserZip(nul, "", chemin("dest3")), codeZip::NOM_DANGEREUX);
    EXPECT_FALSE(QDir(chemin("dest3")).exists());

    // Cleaning with no working folder set touches nothing (not the current folder).
    QFile garde(chemin("garde.csv"));
    ASSERT_TRUE(garde.open(QIODevice::WriteOnly));
    garde.close();
    const QString courant = QDir::currentPath();
    QDir::setCurrent(chemin(""));
    EXPECT_FALSE(viderDossierTravail("", {"*.csv"}));
    QDir::setCurrent(courant);
    EXPECT_TRUE(QFile::exists(chemin("garde.csv")));
    EXPECT_TRUE(viderDossierTravail(chemin(""), {"*.CSV"}));
    EXPECT_FALSE(QFile::exists(chemin("garde.csv")));
}

} // namespace
