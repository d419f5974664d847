#include "import/PaquetEchange.h"

#include "classeur/Formats.h"
#include "db/Progression.h"
#include "import/Importation.h"
#include "import/Zip.h"
#include "monitoring/ListeTaxonsOperation.h"
#include "schema/Version.h"

#include "DonneesImport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace vyk;
using C = vyk::ColonneImport;

namespace {

// Every row a station's package carries, table by table, sorted.
const QStringList TABLES_STATION = {"QUALITOMETRES",
                                    "QUALITOMETRES_INFO_GEO",
                                    "LIEN_QUALITO_INTERVENANTS",
                                    "QUALITOMETRES_POINTS",
                                    "QUALITOMETRES_POINTS_OPERATIONS",
                                    "QUALITOMETRES_OPERATIONS_LISTE",
                                    "PRELEVEMENTS",
                                    "PRELEVEMENTS_ECHANTILLONS",
                                    "PRELEVEMENTS_FINALITES",
                                    "ANALYSES_BSS001",
                                    "QUALITOMETRES_LISTE_1",
                                    "ANALYSES_PARAMETRES",
                                    "ANALYSES_UNITES",
                                    "INTERVENANTS",
                                    "TAXONS"};

class PaquetEchangeTest : public test::BaseImport
{
  protected:
    // Two samples of BSS001 with a sample part, an organisation, a station description, an
    // operation's taxa list; one sample of BSS002.
    void donnees()
    {
        GrilleImport g;
        ligne(g, "BSS001", "03/05/2021 10:30:00", "1340", "12,5", "162",
              {{C::ReferenceEch, "FLACON-1"}, {C::CodeLabo, "LABO1"}, {C::OrigineLabo, "2"}});
        ligne(g, "BSS001", "03/05/2021 10:30:00", "1301", "7.2", "27",
              {{C::ReferenceEch, "FLACON-1"}});
        ligne(g, "BSS001", "04/06/2021", "1340", "13", "162", {{C::RemarqueAnalyse, "10"}});
        ligne(g, "BSS002", "03/05/2021", "1340", "1");
        OptionsIntegration o;
        o.creerIntervenants = true;
        const BilanAnalyses b = integrerAnalyses(g, o, progressionNulle());
        ASSERT_TRUE(b.statut()) << qPrintable(b.erreur);
        ASSERT_TRUE(executer("INSERT INTO QUALITOMETRES_INFO_GEO (codeQualitometre, carteIGN) "
                             "VALUES (1, '2531 E')"));
        ASSERT_TRUE(executer("INSERT INTO LIEN_QUALITO_INTERVENANTS (CodeQualitometre, "
                             "CodeIntervenant, ReferenceInterne) VALUES (1, 1, 'R-17')"));
        ASSERT_TRUE(executer("INSERT INTO PRELEVEMENTS_FINALITES (NumPrelevement, CodeFinalite, "
                             "codeQualitometre) VALUES (0, 'F1', 1)"));
        ASSERT_TRUE(
            executer("INSERT INTO QUALITOMETRES_OPERATIONS_LISTE (codeQualitometre, "
                     "codeOperation, codeListe, nom) VALUES (1, 1, 0, 'Liste faunistique')"));
        ASSERT_TRUE(creerTableListeTaxons(1));
        ASSERT_TRUE(executer("INSERT INTO QUALITOMETRES_LISTE_1 (codeOperation, codeListe, "
                             "indice, codeTaxon, denombrementA) VALUES (1, 0, 0, '9794', 14)"));
        ASSERT_TRUE(executer("INSERT INTO TAXONS (codeTaxon, nomLatin) VALUES ('9794', "
                             "'Baetis rhodani')"));
    }

    QStringList etatStation()
    {
        QStringList r;
        for (const QString &t : TABLES_STATION) {
            if (!bd().tableExiste(t)) {
                r << t + QStringLiteral(": absente");
                continue;
            }
            QStringList l = lignes(QStringLiteral("SELECT * FROM ") + t);
            l.sort();
            r << t + QStringLiteral(": ") + l.join(u';');
        }
        return r;
    }

    // A fresh desktop database, upgraded, as the open database.
    void ouvrirBaseBureau(const QString &nom)
    {
        bd().fermerBase();
        const QString chemin = this->chemin(nom);
        ASSERT_TRUE(BaseDonnees::creerBaseBureau(chemin));
        ASSERT_TRUE(bd().ouvrirBase(chemin, ACCESS, {}, {}, {}));
        ASSERT_TRUE(mettreAJourBase(versionProgramme()));
    }

    BilanExportPaquet exporter(const QStringList &codes, const QString &fichier)
    {
        return exporterPaquet(codes, fichier, progressionNulle());
    }
    BilanAnalyses importer(const QString &fichier)
    {
        return importerPaquet(fichier, -1, progressionNulle());
    }
    // What the check without writing of the import screen finds the package would create.
    BilanAnalyses controler(const QString &fichier)
    {
        OptionsImport options;
        options.controle = true;
        const ResultatImport r = vyk::importer("VYLEN", fichier, options, progressionNulle());
        EXPECT_TRUE(r.statut()) << qPrintable(r.messages().join('\n'));
        return r.total();
    }

    // The package's database changed by `sql`, then packed again under `sortie`.
    void modifierPaquet(const QString &paquet, const QStringList &instructions,
                        const QString &sortie)
    {
        QTemporaryDir dossier;
        ASSERT_EQ(decompresserZip(paquet, {}, dossier.path()), codeZip::SUCCES);
        const QString base = dossier.filePath("TMPBSBI.MDB");
        {
            BaseDonnees p;
            ASSERT_TRUE(p.ouvrirBase(base, ACCESS, {}, {}, {}));
            for (const QString &sql : instructions)
                ASSERT_TRUE(p.Execute(sql)) << qPrintable(sql) << qPrintable(p.derniereErreur());
            p.fermerBase();
        }
        QFile f(base);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QString detail;
        ASSERT_TRUE(classeur::ecrirePaquet(sortie, {{"TMPBSBI.MDB", f.readAll()}}, 0, detail));
    }
};

// Stations made in a desktop file go into this engine's database with every row the same, and
// back again into another desktop file; a second import of the same package changes nothing.
TEST_P(PaquetEchangeTest, AllerRetourEntreLesMoteursDonneLesMemesLignes)
{
    ouvrirBaseBureau("source.db");
    donnees();
    if (HasFatalFailure()) return;
    const QStringList source = etatStation();
    const QString p1 = chemin("stations.vyk");
    const BilanExportPaquet e = exporter({"BSS001", "BSS002"}, p1);
    ASSERT_TRUE(e.erreur.isEmpty()) << qPrintable(e.erreur);
    EXPECT_EQ(e.resume(),
              "2 station(s), 3 prélèvement(s), 4 analyse(s), 6 ligne(s) de référentiel");

    ASSERT_TRUE(rouvrir());
    const BilanAnalyses b = importer(p1);
    ASSERT_TRUE(b.erreur.isEmpty()) << qPrintable(b.erreur);
    EXPECT_EQ(b.stationsCreees, QStringList({"BSS001", "BSS002"}));
    EXPECT_EQ(b.analysesAjoutees, 4);
    EXPECT_EQ(b.echantillonsCrees, 1);
    EXPECT_EQ(etatStation(), source);
    EXPECT_EQ(lignes("SELECT NumPrelevement, DateDebut, HeureDebut FROM PRELEVEMENTS WHERE "
                     "CodeQualitometre=2"),
              QStringList({"2|03/05/2021|30/12/1899"}));

    const BilanAnalyses encore = importer(p1);
    EXPECT_TRUE(encore.erreur.isEmpty()) << qPrintable(encore.erreur);
    EXPECT_EQ(encore.analysesAjoutees + encore.prelevementsCrees + encore.operationsCreees +
                  encore.pointsCrees + encore.echantillonsCrees +
                  int(encore.stationsCreees.size() + encore.parametresCrees.size()),
              0);
    EXPECT_EQ(encore.lignesLues, 4);
    EXPECT_EQ(etatStation(), source);

    const QString p2 = chemin("retour.vyk");
    ASSERT_TRUE(exporter({"BSS001", "BSS002"}, p2).erreur.isEmpty());
    ouvrirBaseBureau("retour.db");
    ASSERT_TRUE(importer(p2).erreur.isEmpty());
    EXPECT_EQ(etatStation(), source);
    ASSERT_TRUE(rouvrir());
}

// Organisations numbered otherwise in each database: the package's rows name the organisation of
// the same SANDRE code, else SIRET number, else the same number and name; the others are created
// once for all the stations, and the check without writing names them first. A number that no
// organisation of the package describes is not carried over.
TEST_P(PaquetEchangeTest, IntervenantsRapprochesParLeursCodesPublics)
{
    ouvrirBaseBureau("source.db");
    donnees();
    if (HasFatalFailure()) return;
    for (const char *sql :
         {"DELETE FROM INTERVENANTS",
          "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, CodeSandre) VALUES (1, 'Labo Alpha', "
          "'11111111')",
          "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, SIRET) VALUES (2, 'Producteur Beta', "
          "'22222222200017')",
          "INSERT INTO INTERVENANTS (CodeIntervenant, Nom) VALUES (3, 'Mairie')",
          "INSERT INTO INTERVENANTS (CodeIntervenant, Nom) VALUES (4, 'Syndicat')",
          "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, CodeSandre) VALUES (8, 'Labo Gamma', "
          "'88888888')",
          "UPDATE ANALYSES_BSS001 SET CodeProducteur=2, CodeLabo=1",
          "UPDATE ANALYSES_BSS002 SET CodeProducteur=9, CodeLabo=8",
          "UPDATE PRELEVEMENTS SET CodeProducteurPrincipal=3, CodeLaboPrincipal=1",
          "UPDATE QUALITOMETRES_POINTS_OPERATIONS SET codeProducteur=4, codePreleveur=2, "
          "codeDeterminateur=1",
          "UPDATE LIEN_QUALITO_INTERVENANTS SET CodeIntervenant=3"})
        ASSERT_TRUE(executer(sql)) << sql;
    const QString p = chemin("stations.vyk");
    ASSERT_TRUE(exporter({"BSS001", "BSS002"}, p).erreur.isEmpty());

    ASSERT_TRUE(rouvrir());
    for (const char *sql :
         {"DELETE FROM INTERVENANTS",
          "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, SIRET) VALUES (1, 'Producteur Beta', "
          "'22222222200017')",
          "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, CodeSandre) VALUES (2, 'Labo Alpha', "
          "'11111111')",
          "INSERT INTO INTERVENANTS (CodeIntervenant, Nom) VALUES (3, 'Mairie')",
          "INSERT INTO INTERVENANTS (CodeIntervenant, Nom) VALUES (4, 'Autre syndicat')"})
        ASSERT_TRUE(executer(sql)) << sql;
    const char *annuaire = "SELECT CodeIntervenant, Nom, CodeSandre, SIRET FROM INTERVENANTS "
                           "ORDER BY CodeIntervenant";
    const QStringList avant = lignes(annuaire);

    const BilanAnalyses controle = controler(p);
    EXPECT_EQ(controle.intervenantsCrees, QStringList({"Syndicat", "88888888"}));
    EXPECT_TRUE(controle.aCreer().contains("Intervenants à créer : Syndicat, 88888888"));
    EXPECT_EQ(lignes(annuaire), avant);

    const BilanAnalyses b = importer(p);
    ASSERT_TRUE(b.erreur.isEmpty()) << qPrintable(b.erreur);
    EXPECT_EQ(b.intervenantsCrees, QStringList({"Syndicat", "88888888"}));
    EXPECT_EQ(
        lignes(annuaire),
        QStringList({"1|Producteur Beta||22222222200017", "2|Labo Alpha|11111111|", "3|Mairie||",
                     "4|Autre syndicat||", "5|Syndicat||", "8|Labo Gamma|88888888|"}));
    const QStringList attendu = {
        "ANALYSES_BSS001: 1|2;1|2;1|2", "ANALYSES_BSS002: |8",
        "PRELEVEMENTS: 3|2;3|2;3|2",    "QUALITOMETRES_POINTS_OPERATIONS: 5|1|2;5|1|2;5|1|2",
        "LIEN_QUALITO_INTERVENANTS: 3",
    };
    const auto organisations = [&] {
        return QStringList{
            "ANALYSES_BSS001: " +
                lignes("SELECT CodeProducteur, CodeLabo FROM ANALYSES_BSS001").join(';'),
            "ANALYSES_BSS002: " +
                lignes("SELECT CodeProducteur, CodeLabo FROM ANALYSES_BSS002").join(';'),
            "PRELEVEMENTS: " +
                lignes("SELECT CodeProducteurPrincipal, CodeLaboPrincipal FROM PRELEVEMENTS")
                    .join(';'),
            "QUALITOMETRES_POINTS_OPERATIONS: " +
                lignes("SELECT codeProducteur, codePreleveur, codeDeterminateur FROM "
                       "QUALITOMETRES_POINTS_OPERATIONS")
                    .join(';'),
            "LIEN_QUALITO_INTERVENANTS: " +
                lignes("SELECT CodeIntervenant FROM LIEN_QUALITO_INTERVENANTS").join(';')};
    };
    EXPECT_EQ(organisations(), attendu);

    const QStringList etat = etatStation();
    const BilanAnalyses encore = importer(p);
    EXPECT_TRUE(encore.erreur.isEmpty()) << qPrintable(encore.erreur);
    EXPECT_TRUE(encore.intervenantsCrees.isEmpty());
    EXPECT_EQ(lignes(annuaire).size(), 6);
    EXPECT_EQ(etatStation(), etat);

    // Back into a desktop file numbered a third way.
    const QString retour = chemin("retour.vyk");
    ASSERT_TRUE(exporter({"BSS001", "BSS002"}, retour).erreur.isEmpty());
    ouvrirBaseBureau("retour.db");
    for (const char *sql :
         {"DELETE FROM INTERVENANTS",
          "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, CodeSandre) VALUES (1, 'Gamma', "
          "'88888888')",
          "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, SIRET) VALUES (2, 'Beta', "
          "'22222222200017')",
          "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, CodeSandre) VALUES (3, 'Alpha', "
          "'11111111')"})
        ASSERT_TRUE(executer(sql)) << sql;
    const BilanAnalyses r = importer(retour);
    ASSERT_TRUE(r.erreur.isEmpty()) << qPrintable(r.erreur);
    EXPECT_EQ(r.intervenantsCrees, QStringList({"Mairie", "Syndicat"}));
    EXPECT_EQ(organisations(), QStringList({"ANALYSES_BSS001: 2|3;2|3;2|3", "ANALYSES_BSS002: |1",
                                            "PRELEVEMENTS: 4|3;4|3;4|3",
                                            "QUALITOMETRES_POINTS_OPERATIONS: 5|2|3;5|2|3;5|2|3",
                                            "LIEN_QUALITO_INTERVENANTS: 4"}));
    EXPECT_EQ(lignes("SELECT CodeIntervenant, Nom FROM INTERVENANTS WHERE CodeIntervenant > 3 "
                     "ORDER BY CodeIntervenant"),
              QStringList({"4|Mairie", "5|Syndicat"}));
    ASSERT_TRUE(rouvrir());
}

// Persons numbered otherwise in each database: every person column of the package's rows names
// the person of the same name here (case and spacing aside) unless both give different
// addresses; a person with neither name nor address is the same only when every column agrees.
// The others are created once; a second import creates and changes nothing.
TEST_P(PaquetEchangeTest, ContactsRapprochesParLeurIdentite)
{
    ouvrirBaseBureau("source.db");
    donnees();
    if (HasFatalFailure()) return;
    for (const char *sql :
         {"INSERT INTO CONTACTS (CodeContact, Nom, Email) VALUES (1, 'Jean Martin', 'jm@x.fr')",
          "INSERT INTO CONTACTS (CodeContact, Nom) VALUES (2, 'Claire Dubois')",
          "INSERT INTO CONTACTS (CodeContact, Nom, Email) VALUES (3, 'Paul Roy', 'p.roy@a.fr')",
          "INSERT INTO CONTACTS (CodeContact, Telephone) VALUES (4, '0102030405')",
          "INSERT INTO CONTACTS (CodeContact, RaisonSocial) VALUES (5, 'Bureau Eaux')",
          "UPDATE QUALITOMETRES SET CodeContact=1",
          "INSERT INTO EVENEMENTS_QUALITO (CodeQualitometre, Numero, codeContact) VALUES (1, 1, 2)",
          "UPDATE LIEN_QUALITO_INTERVENANTS SET codeContact=3",
          "UPDATE QUALITOMETRES_POINTS_OPERATIONS SET contactProducteur=1, contactPreleveur=2, "
          "contactDeterminateur=4",
          "UPDATE PRELEVEMENTS SET CodeResponsablePrincipal=5",
          "UPDATE ANALYSES_BSS001 SET CodeResponsable=3",
          "UPDATE ANALYSES_BSS002 SET CodeResponsable=7"})
        ASSERT_TRUE(executer(sql)) << sql;
    const QString p = chemin("stations.vyk");
    ASSERT_TRUE(exporter({"BSS001", "BSS002"}, p).erreur.isEmpty());

    ASSERT_TRUE(rouvrir());
    for (const char *sql :
         {"INSERT INTO CONTACTS (CodeContact, Nom, Email) VALUES (1, ' claire  DUBOIS', "
          "'c.d@x.fr')",
          "INSERT INTO CONTACTS (CodeContact, Nom, Email) VALUES (2, 'Jean Martin', 'JM@x.fr')",
          "INSERT INTO CONTACTS (CodeContact, Nom, Email) VALUES (3, 'Paul Roy', 'paul@b.fr')",
          "INSERT INTO CONTACTS (CodeContact, Nom) VALUES (5, 'Autre')"})
        ASSERT_TRUE(executer(sql)) << sql;
    const char *repertoire = "SELECT CodeContact, Nom, RaisonSocial, Email, Telephone FROM "
                             "CONTACTS ORDER BY CodeContact";
    const QStringList avant = lignes(repertoire);

    const BilanAnalyses controle = controler(p);
    EXPECT_TRUE(controle.aCreer().contains("Contacts à créer : Paul Roy, n° 4, Bureau Eaux"))
        << qPrintable(controle.aCreer().join('\n'));
    EXPECT_EQ(lignes(repertoire), avant);

    const BilanAnalyses b = importer(p);
    ASSERT_TRUE(b.erreur.isEmpty()) << qPrintable(b.erreur);
    EXPECT_EQ(b.contactsCrees, QStringList({"Paul Roy", "n° 4", "Bureau Eaux"}));
    EXPECT_EQ(lignes(repertoire),
              QStringList({"1| claire  DUBOIS||c.d@x.fr|", "2|Jean Martin||JM@x.fr|",
                           "3|Paul Roy||paul@b.fr|", "4||||0102030405", "5|Autre|||",
                           "6|Paul Roy||p.roy@a.fr|", "7||Bureau Eaux||"}));
    const auto personnes = [&] {
        const QStringList requetes = {
            "SELECT CodeBSS, CodeContact FROM QUALITOMETRES ORDER BY CodeBSS",
            "SELECT codeContact FROM EVENEMENTS_QUALITO",
            "SELECT codeContact FROM LIEN_QUALITO_INTERVENANTS",
            "SELECT contactProducteur, contactPreleveur, contactDeterminateur FROM "
            "QUALITOMETRES_POINTS_OPERATIONS ORDER BY codeQualitometre, codeOperation",
            "SELECT CodeResponsablePrincipal FROM PRELEVEMENTS ORDER BY NumPrelevement",
            "SELECT DISTINCT CodeResponsable FROM ANALYSES_BSS001",
            "SELECT DISTINCT CodeResponsable FROM ANALYSES_BSS002"};
        QStringList r;
        for (const QString &sql : requetes)
            r << lignes(sql).join(';');
        return r;
    };
    EXPECT_EQ(personnes(),
              QStringList({"BSS001|2;BSS002|2", "1", "6", "2|1|4;2|1|4;2|1|4", "7;7;7", "6", ""}));

    const QStringList etat = etatStation();
    const BilanAnalyses encore = importer(p);
    EXPECT_TRUE(encore.erreur.isEmpty()) << qPrintable(encore.erreur);
    EXPECT_TRUE(encore.contactsCrees.isEmpty()) << qPrintable(encore.contactsCrees.join(", "));
    EXPECT_EQ(lignes(repertoire).size(), 7);
    EXPECT_EQ(etatStation(), etat);
    EXPECT_EQ(lignes("SELECT codeContact FROM EVENEMENTS_QUALITO"), QStringList({"1"}));

    // Back into a desktop file that knows two of them under other numbers.
    const QString retour = chemin("retour.vyk");
    ASSERT_TRUE(exporter({"BSS001", "BSS002"}, retour).erreur.isEmpty());
    ouvrirBaseBureau("retour.db");
    for (const char *sql :
         {"INSERT INTO CONTACTS (CodeContact, RaisonSocial) VALUES (1, 'BUREAU EAUX')",
          "INSERT INTO CONTACTS (CodeContact, Telephone) VALUES (2, '0102030405')",
          "INSERT INTO CONTACTS (CodeContact, Nom, Telephone) VALUES (4, 'Homonyme', "
          "'0102030405')"})
        ASSERT_TRUE(executer(sql)) << sql;
    const BilanAnalyses r = importer(retour);
    ASSERT_TRUE(r.erreur.isEmpty()) << qPrintable(r.erreur);
    EXPECT_EQ(r.contactsCrees, QStringList({"claire  DUBOIS", "Jean Martin", "Paul Roy"}));
    EXPECT_EQ(personnes(),
              QStringList({"BSS001|6;BSS002|6", "5", "7", "6|5|2;6|5|2;6|5|2", "1;1;1", "7", ""}));
    ASSERT_TRUE(rouvrir());
}

// A station already here with other analyses keeps its own rows and values; the package adds
// only its new analyses, numbered after the sample's own, and its new sample.
TEST_P(PaquetEchangeTest, StationExistanteNeRecoitQueLesNouvellesAnalyses)
{
    donnees();
    if (HasFatalFailure()) return;
    const QString p = chemin("bss001.vyk");
    ASSERT_TRUE(executer("UPDATE ANALYSES_BSS001 SET Resultat=99 WHERE CodeParametre='1340'"));
    ASSERT_TRUE(executer("INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, "
                         "CodeQualitometre, CodeParametre, CodeUnite, Resultat) VALUES (2, 0, 1, "
                         "'1302', '162', 3)"));
    ASSERT_TRUE(exporter({"BSS001"}, p).erreur.isEmpty());
    // Here: the first sample without 1302 and with its own 1340; no second sample.
    ASSERT_TRUE(executer("DELETE FROM ANALYSES_BSS001 WHERE NumAnalyse=2 OR NumPrelevement=1"));
    ASSERT_TRUE(executer("DELETE FROM PRELEVEMENTS WHERE NumPrelevement=1"));
    ASSERT_TRUE(executer("UPDATE ANALYSES_BSS001 SET Resultat=5 WHERE CodeParametre='1340'"));

    const BilanAnalyses b = importer(p);
    ASSERT_TRUE(b.erreur.isEmpty()) << qPrintable(b.erreur);
    EXPECT_TRUE(b.stationsCreees.isEmpty());
    EXPECT_EQ(b.analysesAjoutees, 2);
    EXPECT_EQ(b.prelevementsCrees, 1);
    EXPECT_EQ(b.operationsCreees, 0);
    EXPECT_EQ(lignes("SELECT NumPrelevement, NumAnalyse, CodeParametre, CodeUnite, Resultat, "
                     "CodeRemarque FROM ANALYSES_BSS001 ORDER BY NumPrelevement, NumAnalyse"),
              QStringList({"0|0|1340|162|5|", "0|1|1301|27|7.2|", "0|2|1302|162|3|",
                           "3|0|1340|162|99|10"}));
    EXPECT_EQ(lignes("SELECT NumPrelevement, CodeQualitometre, codeOperation FROM PRELEVEMENTS "
                     "ORDER BY NumPrelevement"),
              QStringList({"0|1|0", "2|2|0", "3|1|1"}));
    EXPECT_EQ(valeur("SELECT COUNT(*) FROM QUALITOMETRES").toInt(), 2);
}

// A package of a newer schema, a truncated archive, an archive without the database and a
// database that is no database are refused before anything is written.
TEST_P(PaquetEchangeTest, PaquetRefuseSansRienEcrire)
{
    donnees();
    if (HasFatalFailure()) return;
    const QString bon = chemin("bon.vyk");
    ASSERT_TRUE(exporter({"BSS001"}, bon).erreur.isEmpty());
    ASSERT_TRUE(executer("DELETE FROM ANALYSES_BSS001"));
    ASSERT_TRUE(executer("DELETE FROM ANALYSES_PARAMETRES WHERE Code='1301'"));
    const QStringList avant = etatStation();

    const QString recent = chemin("recent.vyk");
    modifierPaquet(bon, {"UPDATE PARAMETRES SET mac='99.0' WHERE identifiant='version'"}, recent);
    EXPECT_EQ(importer(recent).erreur, textePaquet::versionRecente(QDir::toNativeSeparators(recent),
                                                                   "99.0", versionProgramme()));
    EXPECT_EQ(importer(recent).erreur,
              "Le paquet « " + QDir::toNativeSeparators(recent) +
                  " » vient d'une version plus récente de VYK (schéma 99.0, ce programme " +
                  versionProgramme() + ") : mettez VYK à jour avant de l'importer.");

    QFile f(bon);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray octets = f.readAll();
    const QString tronque = chemin("tronque.vyk");
    QFile t(tronque);
    ASSERT_TRUE(t.open(QIODevice::WriteOnly));
    t.write(octets.left(octets.size() / 2));
    t.close();
    EXPECT_TRUE(importer(tronque).erreur.startsWith("Le paquet « " +
                                                    QDir::toNativeSeparators(tronque) +
                                                    " » est endommagé (Erreur de "
                                                    "décompression: "));

    QString detail;
    const QString vide = chemin("vide.vyk");
    ASSERT_TRUE(classeur::ecrirePaquet(vide, {{"LISEZMOI.txt", "rien"}}, 0, detail));
    EXPECT_EQ(importer(vide).erreur, "Le paquet « " + QDir::toNativeSeparators(vide) +
                                         " » ne contient pas de base de données TMPBSBI.MDB.");

    const QString illisible = chemin("illisible.vyk");
    ASSERT_TRUE(
        classeur::ecrirePaquet(illisible, {{"TMPBSBI.MDB", QByteArray(8192, 'x')}}, 0, detail));
    EXPECT_TRUE(importer(illisible).erreur.startsWith(
        "Le paquet « " + QDir::toNativeSeparators(illisible) + " » est endommagé ("));

    // An index whose entries no longer match its table: the file opens and its pages read
    // well, only the full check of the package finds it.
    const QString index = chemin("index.vyk");
    modifierPaquet(bon,
                   {"PRAGMA writable_schema=ON",
                    "UPDATE sqlite_master SET sql='CREATE INDEX ind_analyses_BSS001 ON "
                    "ANALYSES_BSS001 (codeUnite,codeParametre,numPrelevement,codeQualitometre)' "
                    "WHERE name='ind_analyses_BSS001'"},
                   index);
    EXPECT_EQ(importer(index).erreur, "Le paquet « " + QDir::toNativeSeparators(index) +
                                          " » est endommagé (base de données illisible) : aucune "
                                          "donnée n'a été intégrée.");
    EXPECT_EQ(etatStation(), avant);
}

// Through the import road: the check without writing says what would come and leaves the
// database as it was, without a job; the real run records its execution on the operations it
// creates, and a refused package closes its execution in error with the reason in its journal.
TEST_P(PaquetEchangeTest, ImportDuModeleVylenControleEtJournal)
{
    donnees();
    if (HasFatalFailure()) return;
    const QString p = chemin("bss002.vyk");
    ASSERT_TRUE(exporter({"BSS002"}, p).erreur.isEmpty());
    ASSERT_TRUE(executer("DELETE FROM ANALYSES_BSS002"));
    ASSERT_TRUE(executer("DELETE FROM PRELEVEMENTS WHERE CodeQualitometre=2"));
    ASSERT_TRUE(executer("DELETE FROM QUALITOMETRES_POINTS_OPERATIONS WHERE codeQualitometre=2"));
    const QStringList avant = etatStation();

    OptionsImport options;
    options.controle = true;
    const ResultatImport controle = vyk::importer("VYLEN", p, options, progressionNulle());
    ASSERT_TRUE(controle.statut()) << qPrintable(controle.messages().join('\n'));
    EXPECT_EQ(controle.total().prelevementsCrees, 1);
    EXPECT_EQ(controle.total().analysesAjoutees, 1);
    EXPECT_EQ(etatStation(), avant);
    EXPECT_EQ(lignes("SELECT codeOperation FROM QUALITOMETRES_POINTS_OPERATIONS WHERE "
                     "codeQualitometre=2"),
              QStringList());
    EXPECT_EQ(valeur("SELECT COUNT(*) FROM JOBS_EXECUTION").toInt(), 0);

    const ResultatImport r = vyk::importer("VYLEN", p, OptionsImport{}, progressionNulle());
    ASSERT_TRUE(r.statut()) << qPrintable(r.messages().join('\n'));
    EXPECT_EQ(lignes("SELECT codeOperation, jobExecutionId FROM QUALITOMETRES_POINTS_OPERATIONS "
                     "WHERE codeQualitometre=2"),
              QStringList({"0|" + QString::number(r.execution)}));
    EXPECT_EQ(lignes("SELECT a.NumPrelevement, a.Resultat FROM ANALYSES_BSS002 a"),
              QStringList({"2|1"}));
    EXPECT_EQ(valeur("SELECT statut FROM JOBS_EXECUTION WHERE id=" + QString::number(r.execution))
                  .toBool(),
              true);

    toleranceErreurs = true;
    const QString faux = chemin("faux.vyk");
    QFile f(faux);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("pas une archive");
    f.close();
    const ResultatImport refus = vyk::importer("VYLEN", faux, OptionsImport{}, progressionNulle());
    EXPECT_FALSE(refus.statut());
    EXPECT_FALSE(
        valeur("SELECT statut FROM JOBS_EXECUTION WHERE id=" + QString::number(refus.execution))
            .toBool());
    EXPECT_TRUE(valeur("SELECT commentaire FROM JOBS_JOURNAL WHERE job_execution_id=" +
                       QString::number(refus.execution))
                    .toString()
                    .startsWith("faux.vyk : Le paquet « "));
}

// Unknown stations refuse the export, and an existing package is left as it was.
TEST_P(PaquetEchangeTest, ExportRefuseUneStationInconnue)
{
    donnees();
    if (HasFatalFailure()) return;
    const QString p = chemin("garde.vyk");
    ASSERT_TRUE(exporter({"BSS001"}, p).erreur.isEmpty());
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray avant = f.readAll();
    f.close();
    EXPECT_EQ(exporter({"BSS001", "INCONNUE"}, p).erreur,
              "La station « INCONNUE » n'existe pas dans la base : aucun paquet n'a été écrit.");
    EXPECT_EQ(exporter({" "}, p).erreur,
              "Aucune station n'a été choisie : aucun paquet n'a été écrit.");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), avant);
}

VYK_SUR_LES_DEUX_MOTEURS(PaquetEchangeTest);

} // namespace
