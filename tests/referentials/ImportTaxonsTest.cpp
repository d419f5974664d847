#include "referentials/ImportTaxons.h"

#include "DonneesTaxons.h"

#include <QFile>
#include <QStringEncoder>

using namespace vyk;

namespace {

TEST(ImportTaxonsTexte, StatutEtAccents)
{
    struct Cas
    {
        const char *texte;
        const char *statut;
    } cas[] = {{"Validé", "2"},        {"Proposition validée", "2"},
               {"code VALIDE", "2"},   {"en cours de validation", "2"},
               {"Proposition", "0"},   {"PROVISOIRE", "1"},
               {"Gelé", "3"},          {"2", "2"},
               {"inconnu", "inconnu"}, {"", ""}};
    for (const Cas &c : cas)
        EXPECT_EQ(statutAppelTaxon(QString::fromUtf8(c.texte)), QString::fromUtf8(c.statut))
            << c.texte;

    EXPECT_EQ(reparerAccents(QStringLiteral("Ã©tÃ© Ã¨ Ã‰ 10 Âµm Ã  20Â°C")),
              QStringLiteral("été è É 10 µm Ã  20°C"));
    EXPECT_EQ(reparerAccents(QStringLiteral("Déjà bon, Ã seul")),
              QStringLiteral("Déjà bon, Ã seul"));
    // Letters of authors' names and typographic signs that arrive the same way.
    EXPECT_EQ(reparerAccents(QStringLiteral("Å\u0081ukasz, Ä\u008Dern â€™ â€“ Ã‰tÃ©")),
              QStringLiteral("Łukasz, čern ’ – Été"));
    // The same text once read as ISO-8859-1: the capitals' second bytes are control characters.
    EXPECT_EQ(reparerAccents(QStringLiteral("Ã\u0089tang Ã\u0080 l'Ã\u008Ele, Ã\u0087a")),
              QStringLiteral("Étang À l'Île, Ça"));
    // French text read right: an accented letter before a non-breaking space and a closing
    // guillemet, a colon or an ellipsis is no UTF-8 sequence to repair.
    const QString juste =
        QStringLiteral("Espèce « protégé\u00A0» ; NOTÉ\u00A0: à\u00A0« ÉTÉ… » Ç\u00A0; È\u00A0±2");
    EXPECT_EQ(reparerAccents(juste), juste);
}

class ImportTaxonsTest : public test::BaseTaxons
{
  protected:
    FichierTaxons lire(const QString &nom)
    {
        FichierTaxons f;
        QString erreur;
        EXPECT_TRUE(lireFichierTaxons(donnees(nom), f, erreur)) << qPrintable(erreur);
        return f;
    }

    // Continues after every refused row, never undoes.
    static DecisionsImportTaxons toujoursContinuer()
    {
        return {[](const QString &) { return true; }, [] { return false; }};
    }
};

TEST_P(ImportTaxonsTest, LectureDuCsvEtRefus)
{
    const FichierTaxons f = lire(QStringLiteral("taxons.csv"));
    ASSERT_EQ(f.lignes.size(), 4);
    EXPECT_EQ(f.lignes[0].textes(),
              QStringList({"5001", "Baetidae", "2", "01/02/2003", "15/06/2010", "SANDRE",
                           "Ephémères", "Leach, 1815", "10", "3", "", "", "", "", "", ""}));
    EXPECT_EQ(f.lignes[2].nomLatin, QStringLiteral("Baetis rhodani; forme A"));
    EXPECT_EQ(f.lignes[2].nomCommun, QStringLiteral("Ephémère \"brune\""));
    EXPECT_EQ(f.lignes[2].statut, QStringLiteral("0"));
    EXPECT_EQ(f.lignes[2].dateCreation, QStringLiteral("06/05/2004"));
    EXPECT_EQ(f.lignes[3].omnidia, QStringLiteral("ADMI"));
    EXPECT_EQ(entetesImportTaxons().size(), 16);

    FichierTaxons vide;
    QString erreur;
    EXPECT_FALSE(lireFichierTaxons(donnees(QStringLiteral("sans_entete.csv")), vide, erreur));
    EXPECT_EQ(erreur, QStringLiteral("Le fichier doit contenir les entêtes de colonnes."));
    EXPECT_FALSE(lireFichierTaxons(donnees(QStringLiteral("tabulations.csv")), vide, erreur));
    EXPECT_EQ(
        erreur,
        QStringLiteral(
            "Les fichiers à importer doivent être des fichiers textes de type CSV (extension .csv) "
            "utilisant le caractère ; comme séparateur."));
    EXPECT_FALSE(lireFichierTaxons(donnees(QStringLiteral("taxons.txt")), vide, erreur));
    EXPECT_EQ(
        erreur,
        QStringLiteral(
            "Les fichiers à importer doivent être des fichiers textes de type CSV (extension .csv) "
            "utilisant le caractère ; comme séparateur."));
    EXPECT_FALSE(lireFichierTaxons(donnees(QStringLiteral("sans_taxon.xml")), vide, erreur));
    EXPECT_EQ(erreur, QStringLiteral("Aucune donnée ne peut être importée de ce fichier"));
    const QString casse = chemin(QStringLiteral("casse.xml"));
    QFile x(casse);
    ASSERT_TRUE(x.open(QIODevice::WriteOnly));
    x.write("<Referentiel><AppelTaxon><CdAppelTaxon>1</CdAppelTaxon></Referentiel>");
    x.close();
    EXPECT_FALSE(lireFichierTaxons(casse, vide, erreur));
    EXPECT_EQ(
        erreur,
        QStringLiteral("Le fichier casse.xml n'est pas un fichier XML valide (ligne 1 : une balise "
                       "fermante ne correspond pas à la balise ouverte)."));
}

TEST_P(ImportTaxonsTest, LectureDuReferentielXml)
{
    const FichierTaxons f = lire(QStringLiteral("taxons_sandre.xml"));
    ASSERT_EQ(f.lignes.size(), 3);
    EXPECT_EQ(
        f.lignes[0].textes(),
        QStringList({"9001", "Gammaridae", "2", "04/03/2001", "01/12/2015", "SANDRE", "",
                     "Leach, 1814", "10", "3", "", "", "", "", "Invertébrés benthiques", ""}));
    EXPECT_EQ(f.lignes[1].textes(),
              QStringList({"9002", "Gammarus pulex", "1", "", "", "", "", "", "21", "3", "9001",
                           "GAMPUL", "189780", "Crevette été > 10 µm, 20°C", "", ""}));
    EXPECT_EQ(f.lignes[2].statut, QStringLiteral("3"));
    EXPECT_EQ(f.lignes[2].macrophytes, QStringLiteral("NITFLE"));
    EXPECT_EQ(f.lignes[2].libelleTheme, QStringLiteral("Characées"));
}

TEST_P(ImportTaxonsTest, MiseAJourPuisImportCompletAvecActivationEtThemes)
{
    taxon(QStringLiteral("9001"), QStringLiteral("Ancien nom"), QStringLiteral("0"));
    ASSERT_TRUE(executer(QStringLiteral(
        "UPDATE TAXONS SET codeOmnidia='GARDE', nomCommun='Gammares' WHERE codeTaxon='9001'")));
    const FichierTaxons f = lire(QStringLiteral("taxons_sandre.xml"));

    BilanImportTaxons b = integrerTaxons(f, ModeImportTaxons::MiseAJour, false, progressionNulle(),
                                         toujoursContinuer());
    EXPECT_EQ(b.modifies, 1);
    EXPECT_EQ(b.ajoutes, 0);
    EXPECT_EQ(b.ignores, 2);
    // An empty cell keeps the stored value; without the tick the taxon keeps its activity.
    EXPECT_EQ(
        lignes(QStringLiteral(
            "SELECT codeTaxon, nomLatin, statut, dateCreation, auteur, niveau, theme, codeOmnidia, "
            "nomCommun, actif FROM TAXONS")),
        QStringList({"9001|Gammaridae|2|04/03/2001|Leach, 1814|10|3|GARDE|Gammares|0"}));

    // Station 1 lists the taxon 9003, inactive after the import: the automatic activation takes it.
    station(1, QStringLiteral("BSS1"));
    ligneListe(1, 0, 1, QStringLiteral("9003"));
    b = integrerTaxons(f, ModeImportTaxons::Complet, true, progressionNulle(), toujoursContinuer());
    EXPECT_EQ(b.modifies, 1);
    EXPECT_EQ(b.ajoutes, 2);
    EXPECT_EQ(b.themesAjoutes, 1);
    EXPECT_EQ(b.activesUtilises, 0) << "the import activated them already";
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeTaxon, elementDe, codeOmnidia, refMuseum, "
                                    "codeMacrophyte, redacteur, actif, "
                                    "commentaire FROM TAXONS ORDER BY codeTaxon")),
              QStringList({"9001||GARDE|||SANDRE|1|",
                           "9002|9001|GAMPUL|189780||VYDA|1|Crevette été > 10 µm, 20°C",
                           "9003||||NITFLE|VYDA|1|"}));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT Code, Libelle FROM CODES_SANDRE WHERE Champ='TAXONS.THEME' AND Code=8")),
              QStringList({"8|Characées"}));
    // Again: the same rows, nothing added.
    b = integrerTaxons(f, ModeImportTaxons::Complet, false, progressionNulle(),
                       toujoursContinuer());
    EXPECT_EQ(b.ajoutes, 0);
    EXPECT_EQ(b.modifies, 3);
    EXPECT_EQ(b.themesAjoutes, 0);
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM TAXONS")).toInt(), 3);
}

TEST_P(ImportTaxonsTest, LigneRefuseeQuestionEtAnnulation)
{
    FichierTaxons f = lire(QStringLiteral("taxons.csv"));
    f.lignes[1].nomLatin = QString(40, u'n'); // longer than the column
    f.lignes[2].dateCreation = QStringLiteral("32/01/2004");

    // Continue after the first refusal, stop at the second and keep what was written.
    messages().repondre(BoutonOui);
    messages().repondre(BoutonNon);
    messages().repondre(BoutonNon);
    BilanImportTaxons b = integrerTaxons(f, ModeImportTaxons::Complet, false);
    const QStringList r = recus();
    ASSERT_EQ(r.size(), 3);
    EXPECT_EQ(
        r[0],
        QStringLiteral("QUESTION: Impossible d'importer la ligne contenant les informations "
                       "suivantes:\n5002 ; ") +
            QString(40, u'n') +
            QStringLiteral(
                " ; 2 ; 01/02/2003 ;  ; SANDRE ;  ; Leach, 1815 ; 14 ; 3 ; 5001 ;  ;  ;  ;  ; \n"
                "Désirez vous continuer l'importation ?"));
    EXPECT_EQ(r[2], QStringLiteral("QUESTION: Voulez vous annuler l'importation de toutes les "
                                   "lignes éventuellement importées "
                                   "pendant le traitement ?"));
    EXPECT_TRUE(b.interrompu);
    EXPECT_FALSE(b.defait);
    EXPECT_EQ(b.rejetes, 2);
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeTaxon FROM TAXONS ORDER BY codeTaxon")),
              QStringList({"5001"}));

    // Stop at the first refusal and undo.
    ASSERT_TRUE(executer(QStringLiteral("DELETE FROM TAXONS")));
    messages().repondre(BoutonNon);
    messages().repondre(BoutonOui);
    b = integrerTaxons(f, ModeImportTaxons::Complet, true);
    EXPECT_TRUE(b.defait);
    EXPECT_EQ(b.ajoutes, 0);
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM TAXONS")).toInt(), 0);
    EXPECT_EQ(recus().size(), 2);
}

// A list saved by a spreadsheet in Windows-1252: CRLF, a comment on two lines holding a ";", a
// code with blanks around it, rows of empty cells and trailing separators, which are no taxa.
// A NUL in a cell cannot be stored by any engine: its row is refused, named by its file line and
// its column, the NUL not echoed; a soft line break pasted into a name is stored as it is.
TEST_P(ImportTaxonsTest, OctetNulRefuseAvecSaLigneEtSaColonne)
{
    const QString csv = chemin(QStringLiteral("nul.csv"));
    {
        QFile f(csv);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const QByteArray nul(1, '\0');
        f.write("Code;Nom latin;Statut;Création;Modification;Rédacteur;Nom commun\n"
                "5001;Baetidae;Validé;;;;\n50" +
                nul +
                "02;Baetis;Validé;;;;\n5003;Caenis;Validé;;;;Caenis\x0b"
                "des mares\n5004;Ephemera;Validé;;;;Éphé" +
                nul + "mère\n");
    }
    FichierTaxons f;
    QString erreur;
    ASSERT_TRUE(lireFichierTaxons(csv, f, erreur)) << qPrintable(erreur);
    const BilanImportTaxons b = integrerTaxons(f, ModeImportTaxons::Complet, false,
                                               progressionNulle(), toujoursContinuer());
    EXPECT_EQ(b.erreurs, QStringList({"Ligne 3 (50?02) : le champ « Code » contient un octet nul, "
                                      "qu'aucune base ne peut enregistrer",
                                      "Ligne 5 (5004) : le champ « Nom commun » contient un octet "
                                      "nul, qu'aucune base ne peut enregistrer"}));
    EXPECT_EQ(b.ajoutes, 2);
    EXPECT_EQ(b.rejetes, 2);
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT codeTaxon, nomLatin, nomCommun FROM TAXONS ORDER BY codeTaxon")),
              QStringList({"5001|Baetidae|", "5003|Caenis|Caenis\vdes mares"}));
}

TEST_P(ImportTaxonsTest, CsvEnregistreParUnTableur)
{
    const QString csv = chemin(QStringLiteral("tableur.csv"));
    {
        QFile f(csv);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringEncoder("windows-1252")(QStringLiteral(
            "Code;Nom latin;Statut;Création;Modification;Rédacteur;Nom commun;Auteur;Niveau;Thème;"
            "Parent;Omnidia;Museum;Commentaire\r\n"
            " 5001 ;Baetidae;Validé;01/02/2003;;SANDRE;Éphémères;Leach, 1815;10;3;;;;\"Larves ; "
            "nymphes\nvoir la clé\"\r\n"
            ";;;;;;;;;;;;;\r\n"
            "\r\n"
            "5002;Baetis;Code gelé;;;;Éphémère d’été;;14;3;5001;;;;\r\n"
            " ; ; \r\n")));
    }
    FichierTaxons f;
    QString erreur;
    ASSERT_TRUE(lireFichierTaxons(csv, f, erreur)) << qPrintable(erreur);
    EXPECT_EQ(f.lignes.size(), 2);
    const QString requete =
        QStringLiteral("SELECT codeTaxon, nomLatin, statut, nomCommun, elementDe, commentaire FROM "
                       "TAXONS ORDER BY codeTaxon");
    const QStringList attendues = {"5001|Baetidae|2|Éphémères||Larves ; nymphes\nvoir la clé",
                                   "5002|Baetis|3|Éphémère d’été|5001|"};
    BilanImportTaxons b = integrerTaxons(f, ModeImportTaxons::Complet, false, progressionNulle(),
                                         toujoursContinuer());
    EXPECT_EQ(b.erreurs, QStringList());
    EXPECT_EQ(b.ajoutes, 2);
    EXPECT_EQ(b.rejetes, 0);
    EXPECT_EQ(lignes(requete), attendues);
    b = integrerTaxons(f, ModeImportTaxons::Complet, false, progressionNulle(),
                       toujoursContinuer());
    EXPECT_EQ(b.ajoutes, 0);
    EXPECT_EQ(b.modifies, 2);
    EXPECT_EQ(lignes(requete), attendues);
}

// Loading stopped by the user gives no rows and says so, rather than a part of the file that
// looks whole; a CSV is checked at each row, an XML file every 500 taxa.
TEST(LectureTaxons, ChargementInterrompuNeRetientAucuneLigne)
{
    test::EnvironnementTest env;
    auto chemin = [&env](const QString &nom) { return env.chemin(nom); };
    struct Arret : Progression
    {
        bool annule() const override { return true; }
    } arret;
    const QString csv = chemin(QStringLiteral("taxons.csv"));
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><REFERENTIEL>");
    {
        QFile f(csv);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Code;Nom latin\n5001;Baetidae\n5002;Baetis\n");
    }
    for (int i = 0; i < 600; ++i)
        xml += QStringLiteral("<AppelTaxon><CdAppelTaxon>%1</CdAppelTaxon><NomLatinAppelTaxon>T%1"
                              "</NomLatinAppelTaxon></AppelTaxon>")
                   .arg(10000 + i);
    {
        QFile f(chemin(QStringLiteral("taxons.xml")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write((xml + QStringLiteral("</REFERENTIEL>")).toUtf8());
    }
    for (const QString &nom : {csv, chemin(QStringLiteral("taxons.xml"))}) {
        FichierTaxons f;
        QString erreur;
        ASSERT_TRUE(lireFichierTaxons(nom, f, erreur)) << qPrintable(erreur);
        EXPECT_FALSE(f.lignes.isEmpty());
        EXPECT_FALSE(lireFichierTaxons(nom, f, erreur, arret)) << qPrintable(nom);
        EXPECT_EQ(erreur,
                  QStringLiteral("Chargement du fichier interrompu : aucune ligne n'est retenue."));
        EXPECT_TRUE(f.lignes.isEmpty());
    }
}

// A code another program stored with blanks around it is the file's code: the update reaches
// its row, and the complete import adds no second taxon.
TEST_P(ImportTaxonsTest, CodeEntoureDeBlancsMisAJourSansDoublon)
{
    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO TAXONS (codeTaxon, nomLatin) VALUES (' 5001', 'Ancien')")));
    const QString csv = chemin(QStringLiteral("taxons.csv"));
    {
        QFile f(csv);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Code;Nom latin\n5001;Baetidae\n");
    }
    FichierTaxons f;
    QString erreur;
    ASSERT_TRUE(lireFichierTaxons(csv, f, erreur)) << qPrintable(erreur);
    for (const ModeImportTaxons mode : {ModeImportTaxons::MiseAJour, ModeImportTaxons::Complet}) {
        const BilanImportTaxons b =
            integrerTaxons(f, mode, false, progressionNulle(), toujoursContinuer());
        EXPECT_EQ(b.erreurs, QStringList());
        EXPECT_EQ(b.ajoutes, 0);
        EXPECT_EQ(b.modifies, 1);
        EXPECT_EQ(lignes(QStringLiteral("SELECT codeTaxon, nomLatin FROM TAXONS")),
                  QStringList({" 5001|Baetidae"}));
    }
}

VYK_SUR_LES_DEUX_MOTEURS(ImportTaxonsTest);

} // namespace
