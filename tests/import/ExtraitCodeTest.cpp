// Coded national extracts: the loader's rules (records, header checks, rows kept out, limits),
// the conversions of their values, and their integration through the import road on both
// engines (stations and their description, points by support, operations, programmes, samples,
// analyses), each imported twice.

#include "import/ExtraitCode.h"
#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/Progression.h"
#include "import/ApercuImport.h"
#include "import/ChargementTexte.h"
#include "import/ExtraitCodeInterne.h"
#include "import/Importation.h"

#include "DonneesImport.h"
#include "MessagesSandre.h"
#include "app/ZipEcrit.h"

#include <QDir>
#include <QTemporaryDir>

using namespace vyk;

namespace {

class Messages : public Progression
{
  public:
    void message(const QString &m) override { recus << m; }
    QStringList recus;
};

TEST(ExtraitCode, EnTeteDuFichierEnregistrementsEtLignesEcartees)
{
    ExtraitCode e;
    const QByteArray texte = "<STQ.2.1997-1>;;ALQ.12;<ALQ.16.1997-1>\r\n"
                             "Station;Ignorée;Résultat;Commentaire\r\n"
                             "S1;x; 12\" ;\"avec ; et\r\nun retour\"\r\n"
                             "S2;x;3\r\n"
                             "\r\n"
                             "S3;y;4;fin\r\n";
    EXPECT_EQ(chargerExtraitCodeOctets(texte, e, progressionNulle(), EnTeteCode::Fichier),
              QString());
    EXPECT_EQ(e.codes, QStringList({"STQ.2", "", "ALQ.12", "ALQ.16"}));
    ASSERT_EQ(e.nombreLignes(), 2);
    EXPECT_EQ(valeurCode("ALQ", 12, e, 0), QStringLiteral("12"));
    EXPECT_EQ(valeurCode("ALQ", 16, e, 0), QStringLiteral("avec ; et\nun retour"));
    EXPECT_EQ(valeurCode("STQ", 2, e, 1), QStringLiteral("S3"));
    // A code without a column reads as empty.
    EXPECT_EQ(valeurCode("ALQ", 9, e, 0), QString());
    EXPECT_EQ(e.origine(0), QStringLiteral("ligne 3"));
    EXPECT_EQ(e.origine(1), QStringLiteral("ligne 7"));
    // The short line is a row in error, not a shift of the next ones.
    ASSERT_EQ(e.rejets.size(), 1);
    EXPECT_EQ(e.rejets[0].origine, QStringLiteral("ligne 5"));
    EXPECT_EQ(e.rejets[0].raison,
              QStringLiteral("la ligne compte 3 champs au lieu des 4 de l'en-tête"));
}

// Values repeated from one row to the next are read alike however they are written, and an
// empty cell stays empty after a filled one.
TEST(ExtraitCode, ValeursRepeteesDUneLigneALAutre)
{
    ExtraitCode e;
    const QByteArray texte = "<STQ.2.1997-1>;<ALQ.27.1997-1>;<ALQ.12.1997-1>\r\n"
                             "Station;Unité;Résultat\r\n"
                             "S1;162;1\r\n"
                             " S1 ;\"162\";1,5\r\n"
                             "S1;;2\r\n"
                             "S2;  ;2\r\n";
    ASSERT_EQ(chargerExtraitCodeOctets(texte, e, progressionNulle(), EnTeteCode::Fichier),
              QString());
    QStringList lues;
    for (int l = 0; l < e.nombreLignes(); ++l) {
        QStringList valeurs;
        for (int c = 0; c < e.largeur(); ++c)
            valeurs << e.valeur(l, c);
        lues << valeurs.join(u'|');
    }
    EXPECT_EQ(lues, QStringList({"S1|162|1", "S1|162|1,5", "S1||2", "S2||2"}));
}

// The import table's row made from an extract row is the same whichever rows were made
// before it: an error named at a station's end reads its row again after later ones.
TEST(ExtraitCode, LigneDeLaTableRefaiteALIdentique)
{
    ExtraitCode e;
    const QByteArray texte = "<STQ.2.1997-1>;<PRL.8.1997-1>;<PRL.9.1997-1>;<PAR.3.1997-1>;"
                             "<ALQ.12.1997-1>;<ALQ.13.1997-1>;<ALQ.19.1997-1>;<ALQ.18.1997-1>\r\n"
                             "Station;Date;Heure;Paramètre;Résultat;Remarque;Producteur;Qualif\r\n"
                             "0123x-0045;20120503;;1340;< 0,5;;12345678901234;CORRECTE\r\n"
                             "0123x-0045;03/05/2012 08:15;;1301;>7;2;SANDRE1;BRUTE\r\n"
                             "0999;2012-05-04;09:30;1340;3;;;4\r\n";
    ASSERT_EQ(chargerExtraitCodeOctets(texte, e, progressionNulle(), EnTeteCode::Fichier),
              QString());
    const auto lignes = lignesExtrait(e);
    ASSERT_EQ(lignes->nombreLignes(), 3);
    using C = ColonneImport;
    const C lues[] = {C::CodeStation,   C::TypeQualito,     C::DatePrelvt,     C::CodeParam,
                      C::Resultat,      C::RemarqueAnalyse, C::CodeProducteur, C::OrigineInterv,
                      C::Qualification, C::StatutMesure};
    auto cellules = [&](int l) {
        const QStringList &g = lignes->ligne(l);
        EXPECT_EQ(g.size(), NB_COLONNES_IMPORT);
        QStringList r;
        for (const C c : lues)
            r << g.value(int(c));
        return r.join(u'|');
    };
    const QString attendues[] = {
        "0123x0045|1|03/05/2012 00:00:00|1340|0,5|10|12345678901234||1|2",
        "0123x0045|1|03/05/2012 08:15:00|1301|7|2|SANDRE1|SANDRE|4|1",
        "0999|1|04/05/2012 09:30:00|1340|3||||4|",
    };
    for (const int l : {0, 1, 2, 0, 2, 1})
        EXPECT_EQ(cellules(l), attendues[l]) << l;
    EXPECT_EQ(lignes->origine(2), QStringLiteral("ligne 5"));
}

TEST(ExtraitCode, EnTeteFixeRefuseUnAutreNombreDeColonnes)
{
    const int n = int(enTeteCode(EnTeteCode::Naiades).split(u';').size());
    ExtraitCode e;
    QByteArray texte = QByteArray(n - 1, ';') + "\n" + "06000123" + QByteArray(n - 1, ';') + "\n";
    EXPECT_EQ(chargerExtraitCodeOctets(texte, e, progressionNulle(), EnTeteCode::Naiades),
              QString());
    EXPECT_EQ(valeurCode("ALQ", 3, e, 0), QStringLiteral("06000123"));
    texte = QByteArray(n + 1, ';') + "\n" + "06000123" + QByteArray(n + 1, ';') + "\n";
    EXPECT_EQ(chargerExtraitCodeOctets(texte, e, progressionNulle(), EnTeteCode::Naiades),
              QStringLiteral("La ligne d'en-tête du fichier compte %1 colonnes alors que le "
                             "format en attend %2 : le fichier n'a pas été chargé.")
                  .arg(n + 2)
                  .arg(n));
    EXPECT_EQ(e.nombreLignes(), 0);
}

TEST(ExtraitCode, DatesCodeesEtCles)
{
    bool heure = true;
    EXPECT_EQ(dateCode("12/05/98", &heure), QDateTime(QDate(1998, 5, 12), QTime(0, 0)));
    EXPECT_FALSE(heure);
    const int an = QDate::currentDate().year() % 100;
    auto deuxChiffres = [](int a) {
        return QStringLiteral("01/02/%1").arg(a, 2, 10, QLatin1Char('0'));
    };
    EXPECT_EQ(dateCode(deuxChiffres(an)).date().year(), QDate::currentDate().year());
    EXPECT_EQ(dateCode(deuxChiffres((an + 1) % 100)).date().year(),
              QDate::currentDate().year() - 99);
    EXPECT_EQ(dateCode("20120503"), QDateTime(QDate(2012, 5, 3), QTime(0, 0)));
    EXPECT_EQ(dateCode("2012-05-03 08:15:20", &heure),
              QDateTime(QDate(2012, 5, 3), QTime(8, 15, 20)));
    EXPECT_TRUE(heure);
    EXPECT_EQ(dateCode("03/05/2012 08:15"), QDateTime(QDate(2012, 5, 3), QTime(8, 15)));
    EXPECT_FALSE(dateCode("31/02/12").isValid());
    EXPECT_FALSE(dateCode("2012").isValid());
    EXPECT_EQ(cleStationCode(" 0123x-0045 "), QStringLiteral("0123x0045"));
    EXPECT_EQ(cleStationCode("04-12"), QStringLiteral("04-12"));
}

TEST(ExtraitCode, LimiteDesLignesDeChaqueChargeur)
{
    const QByteArray ligne = "S;01/01/2020\n";
    QByteArray texte = "a;b\nx;y\n";
    texte.reserve(texte.size() + ligne.size() * LIGNES_IMPORT_MAX);
    for (int i = 0; i < LIGNES_IMPORT_MAX; ++i)
        texte += ligne;
    ExtraitCode e;
    // The file's own header, loaded as the SEQEAU road does.
    EXPECT_EQ(chargerExtraitCodeOctets(texte, e, progressionNulle(), EnTeteCode::Fichier),
              QStringLiteral("Le fichier contient trop de données pour être importé "
                             "automatiquement.  Scinder le en plusieurs fichiers (moins de 250 000 "
                             "lignes par fichier) pour pouvoir importer toutes les données."));
    EXPECT_EQ(e.nombreLignes(), 0);
    // The fixed layouts, over a lowered limit: rows of their width.
    auto rangees = [](EnTeteCode entete) {
        const int n = int(enTeteCode(entete).split(u';').size());
        return QByteArray(n - 1, ';') + '\n' + ('S' + QByteArray(n - 1, ';') + '\n').repeated(10);
    };
    EXPECT_EQ(chargerExtraitCodeOctets(rangees(EnTeteCode::Naiades), e, progressionNulle(),
                                       EnTeteCode::Naiades, 10),
              QStringLiteral("Le fichier contient trop de données pour être importé "
                             "automatiquement.  Scinder le en plusieurs fichiers (moins de 250 000 "
                             "lignes par fichier) pour pouvoir importer toutes les données."));
    // The QUALIT'EAU and GDES loaders have their own wording.
    const QString mois =
        QStringLiteral("Le fichier contient trop de données pour être importé automatiquement.  "
                       "Scinder le en plusieurs fichiers (mois de 250000 lignes par fichier) pour "
                       "pouvoir importer toutes les données.");
    for (const EnTeteCode db : {EnTeteCode::QualiteauCourt, EnTeteCode::QualiteauExtraction}) {
        EXPECT_EQ(chargerExtraitCodeOctets(rangees(db), e, progressionNulle(), db, 10), mois);
        EXPECT_EQ(e.nombreLignes(), 0);
        EXPECT_EQ(chargerExtraitCodeOctets(rangees(db), e, progressionNulle(), db, 11), QString());
        EXPECT_EQ(e.nombreLignes(), 10);
    }
    GrilleImport g;
    Messages m;
    EXPECT_EQ(chargerTexte(texte, g, m, false, textesChargementGdes()), mois);
    EXPECT_EQ(g.nombreLignes(), 0);
    ASSERT_FALSE(m.recus.isEmpty());
    EXPECT_EQ(m.recus.first(), QStringLiteral("Chargement du fichier (ligne=100)"));
    // One row fewer goes in.
    texte.chop(ligne.size());
    EXPECT_EQ(chargerExtraitCodeOctets(texte, e, progressionNulle(), EnTeteCode::Fichier),
              QString());
    EXPECT_EQ(e.nombreLignes(), LIGNES_IMPORT_MAX - 1);
}

// --- through the import road, on both engines

class ImportExtraitCode : public test::BaseImport
{
  protected:
    ResultatImport importerModele(const QString &modele, const QString &chemin, bool remplacer)
    {
        OptionsImport options;
        options.remplacer = remplacer;
        options.creerIntervenants = true;
        return importer(modele, chemin, options, progressionNulle());
    }
    QString ecrire(const QString &nom, const QByteArray &contenu)
    {
        return test::ecrireFichier(m_dossier, nom, contenu);
    }
    QString zip(const QString &nom, const QVector<std::pair<QString, QByteArray>> &membres)
    {
        const QString chemin = m_dossier.filePath(nom);
        EXPECT_TRUE(test::ecrireZip(chemin, membres));
        return chemin;
    }
    // A line of a fixed layout: each code's value in its column.
    static QByteArray ligneFixe(EnTeteCode entete, const QHash<QString, QString> &valeurs)
    {
        QStringList champs = enTeteCode(entete).split(u';');
        for (QString &c : champs) {
            const QString code = c.mid(1).section(u'.', 0, 1);
            c = c.isEmpty() ? QString() : valeurs.value(code);
        }
        return champs.join(u';').toUtf8() + "\r\n";
    }
    // Rows of what the coded extracts write besides the import table's.
    QStringList etatCode(const QString &station)
    {
        // Each run marks the operations it touched with its own execution.
        EXPECT_TRUE(executer("UPDATE QUALITOMETRES_POINTS_OPERATIONS SET jobExecutionId=NULL"));
        QStringList r = etat({QStringLiteral("ANALYSES_") + station});
        for (const QString &t :
             {QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS_DISPOSITIFS"),
              QStringLiteral("LIEN_QUALITO_RESEAUX"), QStringLiteral("LIEN_QUALITO_MASSE_EAU"),
              QStringLiteral("MASSES_EAUX"), QStringLiteral("RESEAUX"), QStringLiteral("COMMUNES")})
            r << t + QStringLiteral(": ") + triees(t).join(u';');
        return r;
    }
    qint64 compter(const QString &table)
    {
        return valeur(QStringLiteral("SELECT count(*) FROM ") + table).toLongLong();
    }
    QTemporaryDir m_dossier;
};

const QByteArray SEQEAU =
    "<STQ.2.1997-1>;<STQ.3.1997-1>;<STQ.101.1997-1>;<STQ.102.1997-1>;<STQ.26.1997-1>;"
    "<STQ.100.1997-1>;<PRL.8.1997-1>;<PRL.9.1997-1>;<SUP.2.1997-1>;<ALQ.9.1997-1>;"
    "<ALQ.12.1997-1>;<ALQ.27.1997-1>;<ALQ.18.1997-1>;<ALQ.102.1997-1>;<OPP.4.1997-1>\r\n"
    "Station;Nom;Masse d'eau;Réseau;Commune;Nom commune;Date;Heure;Support;Paramètre;Résultat;"
    "Unité;Qualification;Programme;Fin\r\n"
    "0123X-0045;Puits d'Hères;R123;RES01;35238;Rennes;12/05/98;10:30;15;1340;\"<0,5\";162;BRUTE;"
    "PRG1;13/05/98\r\n"
    "0123X-0045;Puits;R123;RES01;35238;Rennes;12/05/98;10:30;15;1301\r\n"
    "0123X-0045;Puits;R123;RES01;35238;Rennes;12/05/98;10:30;15;1301;12,5;27;BRUTE;PRG2;\r\n";

TEST_P(ImportExtraitCode, SeqeauDescriptionPointsOperationsEtDeuxImports)
{
    // The water body is known only with its "FR" prefix.
    ASSERT_TRUE(
        executer("INSERT INTO MASSES_EAUX (Code_ME, Libelle) VALUES ('FRR123', 'Vilaine')"));
    const QString fichier = ecrire(QStringLiteral("seqeau.csv"), SEQEAU);
    QStringList premier;
    for (int passage = 0; passage < 2; ++passage) {
        const ResultatImport r = importerModele(QStringLiteral("ADES SEQEAU"), fichier, false);
        ASSERT_EQ(r.erreur, QString());
        ASSERT_EQ(r.fichiers.size(), 1);
        // The short line is reported by its line in the file; the others went in.
        EXPECT_EQ(
            r.fichiers[0].erreur,
            QStringLiteral("ligne 4 : la ligne compte 10 champs au lieu des 15 de l'en-tête"));
        EXPECT_EQ(r.fichiers[0].bilan.analysesEcrites(), 2);
        if (passage == 0) {
            premier = etatCode(QStringLiteral("0123X0045"));
            // The new table's index is made after its rows, but made.
            EXPECT_TRUE(bd().indexExiste(QStringLiteral("ind_analyses_0123X0045")));
            continue;
        }
        // Added twice: the same rows, the analyses rewritten in place.
        EXPECT_EQ(etatCode(QStringLiteral("0123X0045")), premier);
        EXPECT_EQ(r.fichiers[0].bilan.analysesReecrites, 2);
    }
    EXPECT_EQ(lignes("SELECT CodeBSS, Nom, CodeCommune FROM QUALITOMETRES"),
              QStringList({"0123X0045|Puits d'Hères|35238"}));
    EXPECT_EQ(lignes("SELECT CodeCommune, Nom FROM COMMUNES WHERE CodeCommune='35238'"),
              QStringList({"35238|Rennes"}));
    EXPECT_EQ(lignes("SELECT Code_ME FROM LIEN_QUALITO_MASSE_EAU"), QStringList({"FRR123"}));
    EXPECT_EQ(lignes("SELECT R.CodeSandre, R.Libelle, L.DateDebut FROM RESEAUX R INNER JOIN "
                     "LIEN_QUALITO_RESEAUX L ON L.CodeReseau = R.CodeReseau"),
              QStringList({"RES01|<RES01>|01/01/1900"}));
    EXPECT_EQ(lignes("SELECT identifiant, nom FROM QUALITOMETRES_POINTS"),
              QStringList({"151|Eaux interstitielles"}));
    // "BRUTE": qualification 4 and status 1; the two-digit year is of the last century.
    EXPECT_EQ(lignes("SELECT dateDebut, heureDebut, dateFin, qualification, statut FROM "
                     "QUALITOMETRES_POINTS_OPERATIONS"),
              QStringList({"12/05/1998|30/12/1899 10:30:00|13/05/1998|4|1"}));
    // The operation's programmes by named columns, numbered.
    EXPECT_EQ(lignes("SELECT indice, codeDispositif FROM "
                     "QUALITOMETRES_POINTS_OPERATIONS_DISPOSITIFS ORDER BY indice"),
              QStringList({"1|PRG1", "2|PRG2"}));
    EXPECT_EQ(lignes("SELECT CodeParametre, Resultat, CodeRemarque, CodeQualification, "
                     "StatutMesure FROM ANALYSES_0123X0045 ORDER BY CodeParametre"),
              QStringList({"1301|12.5||4|1", "1340|0.5|10|4|1"}));
}

TEST_P(ImportExtraitCode, RemplacementPurgeUneFoisEtGardeLesMemesComptes)
{
    const QString fichier = ecrire(QStringLiteral("seqeau.csv"), SEQEAU);
    // The replace mode stops at the first bad row: the short line keeps everything out.
    ResultatImport r = importerModele(QStringLiteral("ADES SEQEAU"), fichier, true);
    EXPECT_EQ(r.fichiers[0].erreur,
              QStringLiteral("ligne 4 : la ligne compte 10 champs au lieu des 15 de l'en-tête"));
    EXPECT_EQ(compter("QUALITOMETRES"), 0);
    QByteArray sain = SEQEAU;
    sain.replace("1301\r\n", "1301;7;162;;;\r\n");
    ecrire(QStringLiteral("seqeau.csv"), sain);
    QStringList comptes;
    for (int passage = 0; passage < 2; ++passage) {
        r = importerModele(QStringLiteral("ADES SEQEAU"), fichier, true);
        EXPECT_EQ(r.fichiers[0].erreur, QString()) << passage;
        const QStringList c = {
            QString::number(compter("QUALITOMETRES_POINTS_OPERATIONS")),
            QString::number(compter("PRELEVEMENTS")),
            QString::number(compter("ANALYSES_0123X0045")),
            QString::number(compter("QUALITOMETRES_POINTS_OPERATIONS_DISPOSITIFS")),
            QString::number(compter("LIEN_QUALITO_RESEAUX"))};
        if (passage == 0) comptes = c;
        EXPECT_EQ(c, comptes);
        EXPECT_EQ(r.fichiers[0].bilan.stationsPurgees, passage);
        if (passage == 0) {
            // What hangs on the operations goes with them.
            ASSERT_TRUE(
                executer("INSERT INTO QUALITOMETRES_POINTS_OPERATIONS_ENV "
                         "(codeQualitometre, codeOperation, codeCondition) VALUES (1, 0, 5)"));
            ASSERT_TRUE(
                executer("INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, "
                         "codeOperation, indice, codeParametre) VALUES (1, 0, 1, 5908)"));
        }
    }
    EXPECT_EQ(compter("QUALITOMETRES_POINTS_OPERATIONS_ENV"), 0);
    EXPECT_EQ(compter("QUALITOMETRES_OPERATIONS_RESULTATS"), 0);
    EXPECT_EQ(comptes, QStringList({"1", "1", "3", "2", "1"}));
}

TEST_P(ImportExtraitCode, StationAnnuleeNeLaissePasSaDescription)
{
    // The second row's result is not a number: in replace mode the station and its rows are
    // undone, and nothing its description would have made may stay behind.
    QByteArray fichierTexte = SEQEAU;
    fichierTexte.replace("1301\r\n", "1301;abc;162;;;\r\n");
    const QString fichier = ecrire(QStringLiteral("seqeau.csv"), fichierTexte);
    const ResultatImport r = importerModele(QStringLiteral("ADES SEQEAU"), fichier, true);
    ASSERT_EQ(r.fichiers.size(), 1);
    EXPECT_TRUE(r.fichiers[0].erreur.contains(QStringLiteral("n'est pas un nombre")))
        << r.fichiers[0].erreur.toStdString();
    EXPECT_EQ(compter("QUALITOMETRES"), 0);
    EXPECT_FALSE(bd().tableExiste(QStringLiteral("ANALYSES_0123X0045")));
    EXPECT_EQ(compter("COMMUNES WHERE CodeCommune='35238'"), 0);
    EXPECT_EQ(compter("RESEAUX"), 0);
    EXPECT_EQ(compter("LIEN_QUALITO_RESEAUX"), 0);
    EXPECT_EQ(compter("LIEN_QUALITO_MASSE_EAU"), 0);
}

TEST_P(ImportExtraitCode, EtatsNomsDeParametresValeursDePrelevementEtApercu)
{
    const QString fichier = ecrire(
        QStringLiteral("seqeau.csv"),
        "STQ.2;PRL.8;ALQ.9;PAR.3;PAR.100;ALQ.12;ALQ.11;PRL.2;ALQ.103;ALQ.104;ETA.1;ETA.2;ETA.3\n"
        "Station;Date;Code;Nom;Nom long;Résultat;Heure;Commentaire;Flacon;Réf. labo;Année;Etat;"
        "Valeur\n"
        "05001000;20210304;99123;Chlorure témoin;Chlorure long;4;14:05;Crue;F1;L-7;2019;3;2\n"
        "05001000;20210304;1301;Température;;9;;;F1;;2019;3;2\n");
    ASSERT_TRUE(
        executer("INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('1301', 'Temp. eau')"));
    for (int passage = 0; passage < 2; ++passage)
        EXPECT_EQ(importerModele(QStringLiteral("ADES SEQEAU"), fichier, false).fichiers[0].erreur,
                  QString());
    // Named after the file when created; a known parameter keeps its name.
    EXPECT_EQ(lignes("SELECT Code, Nom, LibelleLong FROM ANALYSES_PARAMETRES WHERE Code IN "
                     "('99123', '1301') ORDER BY Code"),
              QStringList({"1301|Temp. eau|", "99123|Chlorure témoin|Chlorure long"}));
    EXPECT_EQ(lignes("SELECT CodeEtat, DateDebut, valeur FROM LIEN_QUALITO_ETATS"),
              QStringList({"3|01/01/2019|2"}));
    EXPECT_EQ(lignes("SELECT CodeParametre, HeureAnalyse FROM ANALYSES_05001000 ORDER BY "
                     "CodeParametre"),
              QStringList({"1301|", "99123|30/12/1899 14:05:00"}));
    EXPECT_EQ(lignes("SELECT Commentaire FROM PRELEVEMENTS"), QStringList({"Crue"}));
    EXPECT_EQ(lignes("SELECT Reference, ReferenceLabo FROM PRELEVEMENTS_ECHANTILLONS"),
              QStringList({"F1|L-7"}));
    const ApercuImport apercu =
        apercuImport(QStringLiteral("ADES SEQEAU"), fichier, false, progressionNulle());
    EXPECT_EQ(apercu.erreur, QString());
    EXPECT_EQ(apercu.colonnes.mid(0, 4), QStringList({"STQ.2", "PRL.8", "ALQ.9", "PAR.3"}));
    ASSERT_EQ(apercu.lignes.size(), 2);
    EXPECT_EQ(apercu.lignes[1].mid(0, 3), QStringList({"05001000", "20210304", "1301"}));
}

// One code is enough for an operation's, a sample's or a sample part's values, and a group's
// value may come from a later row, after another group's rows.
TEST_P(ImportExtraitCode, ValeursDeGroupeDUnSeulCodeSurUneLigneEloignee)
{
    const QString fichier = ecrire(QStringLiteral("seqeau.csv"),
                                   "STQ.2;PRL.8;ALQ.9;ALQ.12;OPP.4;PRL.100;ALQ.103;ALQ.105\n"
                                   "Station;Date;Code;Résultat;Fin;Opérateur;Flacon;Commentaire\n"
                                   "05001000;20210304;1301;9;;;F1;\n"
                                   "05001000;20210310;1301;8;;Dupont;F2;Trouble\n"
                                   "05001000;20210304;1340;7;05/03/2021;;F1;Clair\n");
    for (int passage = 0; passage < 2; ++passage)
        EXPECT_EQ(importerModele(QStringLiteral("ADES SEQEAU"), fichier, false).fichiers[0].erreur,
                  QString());
    EXPECT_EQ(lignes("SELECT dateDebut, dateFin FROM QUALITOMETRES_POINTS_OPERATIONS ORDER BY "
                     "dateDebut"),
              QStringList({"04/03/2021|05/03/2021", "10/03/2021|"}));
    EXPECT_EQ(lignes("SELECT Operateur FROM PRELEVEMENTS ORDER BY NumPrelevement"),
              QStringList({"", "Dupont"}));
    EXPECT_EQ(lignes("SELECT Reference, Commentaire FROM PRELEVEMENTS_ECHANTILLONS ORDER BY "
                     "Reference"),
              QStringList({"F1|Clair", "F2|Trouble"}));
    EXPECT_EQ(compter("ANALYSES_05001000"), 3);
}

TEST_P(ImportExtraitCode, ArchiveNaiades)
{
    // Stations by position: 2 code, 3 name, 9 commune and 10 its name, 15 water body and 17 its
    // label, 24 creation date, 28 altitude.
    QStringList station(28);
    station[1] = QStringLiteral("06000123");
    station[2] = QStringLiteral("La Seine à Paris");
    station[8] = QStringLiteral("75056");
    station[9] = QStringLiteral("Paris");
    station[14] = QStringLiteral("R456");
    station[16] = QStringLiteral("La Seine");
    station[23] = QStringLiteral("1998-01-02");
    station[27] = QStringLiteral("31,5");
    const QByteArray stations = QStringList(28, QStringLiteral("titre")).join(u';').toUtf8() +
                                "\r\n" + station.join(u';').toUtf8() + "\r\n";
    const QByteArray entete = ligneFixe(EnTeteCode::Naiades, {}).replace(";", "x;");
    auto analyse = [&](const QString &parametre, const QString &resultat) {
        return ligneFixe(EnTeteCode::Naiades, {{"ALQ.3", "06000123"},
                                               {"PRL.8", "2012-05-03"},
                                               {"PAR.3", parametre},
                                               {"ALQ.12", resultat},
                                               {"ALQ.27", "162"},
                                               {"ALQ.18", "CORRECTE"}});
    };
    const QByteArray analyses = entete + analyse("1340", "1,5") + analyse("1301", "12");

    // The working folder of the setting, emptied of a previous run's files first.
    const QString travail = m_dossier.filePath(QStringLiteral("Travail"));
    ASSERT_TRUE(QDir().mkpath(travail + QStringLiteral("/NAIADES")));
    ecrire(QStringLiteral("Travail/NAIADES/ancien.csv"), "reste");
    ASSERT_TRUE(ecrireRegistre(reglage::CheminExport, travail));
    const QString sans = zip(QStringLiteral("sans.zip"), {{"Analyses.CSV", analyses}});
    ResultatImport r = importerModele(QStringLiteral("NAIADES_PC"), sans, false);
    EXPECT_EQ(r.fichiers[0].erreur,
              QStringLiteral("Impossible de récupérer le fichier contenant la description des "
                             "stations dans le fichier ZIP."));
    EXPECT_EQ(compter("QUALITOMETRES"), 0);
    EXPECT_EQ(QDir(travail + QStringLiteral("/NAIADES")).entryList(QDir::Files),
              QStringList({"Analyses.CSV"}));

    // Member names are matched without regard to case.
    const QString archive = zip(QStringLiteral("naiades.zip"),
                                {{"stations.csv", stations}, {"ANALYSES.csv", analyses}});
    QStringList premier;
    for (int passage = 0; passage < 2; ++passage) {
        r = importerModele(QStringLiteral("NAIADES_PC"), archive, false);
        ASSERT_EQ(r.fichiers.size(), 1);
        EXPECT_EQ(r.fichiers[0].erreur, QString()) << passage;
        if (passage == 0) premier = etatCode(QStringLiteral("06000123"));
    }
    // QUALITOMETRES carries the run's date: compared apart.
    QStringList second = etatCode(QStringLiteral("06000123"));
    EXPECT_EQ(second.mid(1), premier.mid(1));
    EXPECT_EQ(lignes("SELECT CodeBSS, Nom, CodeCommune, DateCreation, Altitude FROM QUALITOMETRES"),
              QStringList({"06000123|La Seine à Paris|75056|02/01/1998|31.5"}));
    EXPECT_EQ(lignes("SELECT CodeCommune, Nom FROM COMMUNES WHERE CodeCommune='75056'"),
              QStringList({"75056|Paris"}));
    // A water body unknown even with "FR" is added with its label.
    EXPECT_EQ(lignes("SELECT M.Code_ME, M.Libelle FROM MASSES_EAUX M INNER JOIN "
                     "LIEN_QUALITO_MASSE_EAU L ON L.Code_ME = M.Code_ME"),
              QStringList({"R456|La Seine"}));
    EXPECT_EQ(lignes("SELECT CodeParametre, Resultat, CodeQualification, StatutMesure FROM "
                     "ANALYSES_06000123 ORDER BY CodeParametre"),
              QStringList({"1301|12|1|2", "1340|1.5|1|2"}));
    r = importerModele(QStringLiteral("NAIADES_PC"), archive, true);
    EXPECT_EQ(r.fichiers[0].erreur, QString());
    EXPECT_EQ(compter("ANALYSES_06000123"), 2);
    EXPECT_EQ(compter("PRELEVEMENTS"), 1);
}

// New stations of one file: consecutive codes after the largest stored one; a municipality and
// a water body named on every line written once and linked to each station once, also the
// station that took the link over from the groundwater station of its code.
TEST_P(ImportExtraitCode, StationsNaiadesALaSuite)
{
    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (7, 'A')")));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO PIEZOMETRES (CodePiezometre, CodeBSS, Nom) VALUES (3, '06000203', 'P')")));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO LIEN_PIEZO_MASSE_EAU (CodePiezometre, Code_ME, Type) VALUES (3, 'R456', 1)")));
    QByteArray stations = QStringList(28, QStringLiteral("titre")).join(u';').toUtf8() + "\r\n";
    for (const char *code : {"06000201", "06000202", "06000203"}) {
        QStringList s(28);
        s[1] = QString::fromLatin1(code);
        s[8] = QStringLiteral("75056");
        s[9] = QStringLiteral("Paris");
        s[14] = QStringLiteral("R456");
        s[16] = QStringLiteral("La Seine");
        stations += s.join(u';').toUtf8() + "\r\n";
    }
    const QByteArray analyses = ligneFixe(EnTeteCode::Naiades, {}) +
                                ligneFixe(EnTeteCode::Naiades, {{"ALQ.3", "06000202"},
                                                                {"PRL.8", "2012-05-03"},
                                                                {"PAR.3", "1340"},
                                                                {"ALQ.12", "2"},
                                                                {"ALQ.27", "162"}}) +
                                ligneFixe(EnTeteCode::Naiades, {{"ALQ.3", "06000299"},
                                                                {"PRL.8", "2012-05-03"},
                                                                {"PAR.3", "1340"},
                                                                {"ALQ.12", "3"},
                                                                {"ALQ.27", "162"}});
    const QString archive = zip(QStringLiteral("naiades.zip"),
                                {{"Stations.CSV", stations}, {"Analyses.CSV", analyses}});
    const ResultatImport r = importerModele(QStringLiteral("NAIADES_PC"), archive, false);
    ASSERT_EQ(r.fichiers.size(), 1);
    EXPECT_EQ(r.fichiers[0].erreur, QString());
    // A station of both files is met once; one only in the analyses is made there.
    EXPECT_EQ(r.fichiers[0].bilan.stations, 4);
    EXPECT_EQ(r.fichiers[0].bilan.stationsCreees,
              QStringList({"06000201", "06000202", "06000203", "06000299"}));
    EXPECT_EQ(lignes("SELECT CodeQualitometre, CodeBSS, CodeCommune FROM QUALITOMETRES ORDER BY "
                     "CodeQualitometre"),
              QStringList({"7|A|", "8|06000201|75056", "9|06000202|75056", "10|06000203|75056",
                           "11|06000299|"}));
    EXPECT_EQ(lignes("SELECT CodeCommune, Nom FROM COMMUNES WHERE CodeCommune='75056'"),
              QStringList({"75056|Paris"}));
    EXPECT_EQ(
        lignes("SELECT L.CodeQualitometre, M.Code_ME FROM MASSES_EAUX M INNER JOIN "
               "LIEN_QUALITO_MASSE_EAU L ON L.Code_ME = M.Code_ME ORDER BY L.CodeQualitometre"),
        QStringList({"8|R456", "9|R456", "10|R456"}));
    EXPECT_EQ(compter("ANALYSES_06000202"), 1);
}

TEST_P(ImportExtraitCode, ArchiveQualiteauEtSonNom)
{
    const QByteArray ligne = ligneFixe(EnTeteCode::QualiteauExtraction, {{"ALQ.3", "03000456"},
                                                                         {"STQ.3", "L'Oise"},
                                                                         {"PRL.8", "04/06/2013"},
                                                                         {"PAR.3", "1340"},
                                                                         {"ALQ.12", "2"},
                                                                         {"ALQ.27", "162"},
                                                                         {"ALQ.102", "RCS"}});
    const QByteArray extraction = ligneFixe(EnTeteCode::QualiteauExtraction, {}) + ligne;
    // The archive's name lost its accent on the way: refused, nothing written.
    const QString change = zip(QStringLiteral("DB_Extraction_Rivière.zip"),
                               {{"DB_Extraction_Riviere.csv", extraction}});
    ResultatImport r = importerModele(QStringLiteral("QUALITEAU_SN"), change, false);
    EXPECT_EQ(r.fichiers[0].erreur,
              QStringLiteral("Le nom de fichier extrait ne correspond pas au nom du zip. Vérifiez "
                             "le nom du zip notamment au niveau des accents."));
    EXPECT_EQ(compter("QUALITOMETRES"), 0);

    const QString bon =
        zip(QStringLiteral("DB_Extraction_Oise.zip"), {{"DB_Extraction_Oise.csv", extraction}});
    for (int passage = 0; passage < 2; ++passage) {
        r = importerModele(QStringLiteral("QUALITEAU_SN"), bon, false);
        EXPECT_EQ(r.fichiers[0].erreur, QString());
    }
    EXPECT_EQ(lignes("SELECT CodeBSS, Nom FROM QUALITOMETRES"), QStringList({"03000456|L'Oise"}));
    EXPECT_EQ(lignes("SELECT indice, codeDispositif FROM "
                     "QUALITOMETRES_POINTS_OPERATIONS_DISPOSITIFS"),
              QStringList({"1|RCS"}));
    EXPECT_EQ(compter("ANALYSES_03000456"), 1);
    // Replaced: the same counts, the programme numbered again from 1.
    r = importerModele(QStringLiteral("QUALITEAU_SN"), bon, true);
    EXPECT_EQ(r.fichiers[0].erreur, QString());
    EXPECT_EQ(r.fichiers[0].bilan.stationsPurgees, 1);
    EXPECT_EQ(compter("ANALYSES_03000456"), 1);
    EXPECT_EQ(compter("PRELEVEMENTS"), 1);
    EXPECT_EQ(lignes("SELECT indice, codeDispositif FROM "
                     "QUALITOMETRES_POINTS_OPERATIONS_DISPOSITIFS"),
              QStringList({"1|RCS"}));

    // The other "DB_" files take the shorter layout; any other name is not of the model.
    const QByteArray court =
        ligneFixe(EnTeteCode::QualiteauCourt, {}) +
        ligneFixe(
            EnTeteCode::QualiteauCourt,
            {{"ALQ.3", "03000456"}, {"PRL.8", "05/06/2013"}, {"PAR.3", "1301"}, {"ALQ.12", "9"}});
    r = importerModele(QStringLiteral("QUALITEAU_SN"), ecrire("DB_Resultats.csv", court), false);
    EXPECT_EQ(r.fichiers[0].erreur, QString());
    EXPECT_EQ(compter("ANALYSES_03000456"), 2);
    r = importerModele(QStringLiteral("QUALITEAU_SN"), ecrire("autre.csv", court), false);
    EXPECT_EQ(
        r.fichiers[0].erreur,
        QStringLiteral("Le fichier autre.csv n'est pas une extraction QUALIT'EAU (DB_*.csv)."));
}

VYK_SUR_LES_DEUX_MOTEURS(ImportExtraitCode);

} // namespace
