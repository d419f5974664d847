// The regional archives (OSUR web extracts and workbook, Adour-Garonne): files told apart by
// name, columns by header name; twice in add mode the same rows, replace mode the same counts,
// no station file refused, nothing written outside the working folder.

#include "app/Registre.h"
#include "app/ZipEcrit.h"
#include "classeur/Classeur.h"
#include "db/Progression.h"
#include "import/ApercuImport.h"
#include "import/Importation.h"

#include "DonneesImport.h"

#include <QDir>
#include <QFile>

using namespace vyk;

namespace {

using Membres = QVector<std::pair<QString, QByteArray>>;

// One archive of every OSUR kind: mixed case and accents in the names, CRLF, a member name in
// lower case, an unknown column, a line of the analyses with too few fields.
Membres membresOsur()
{
    return {
        {"EXPOSUR_STATION_2024.txt",
         "CODE_STATION;Libell\xC3\xA9 station;X;Y;Projection;Code commune;Nom commune;Altitude;"
         "HER1;Rang Strahler;Colonne inconnue\r\n"
         "04001000;La Loire \xC3\xA0 Blois;572000;6720000;26;41018;Blois;70;0;3;xx\r\n"
         "04002000;Le Cher;;;;37261;;;;;\r\n"},
        {"exposur_reso_2024.TXT", "code_station;code_reseau;libelle_reseau;date_debut\r\n"
                                  "04001000;0400000001;RCS Loire;01/01/2007\r\n"},
        {"EXPOSUR_SITE_2024.txt", "code_station;code_support;libelle_site;date_debut\r\n"
                                  "04001000;13;Radier amont;01/01/2010\r\n"},
        {"EXPOSUR_CEBIO_2024.txt",
         "code_station;code_support;date_prelevement;heure_prelevement;commentaire;"
         "code_preleveur;code_parametre;resultat;code_unite\r\n"
         "04001000;13;12/06/2024;10:00;D\xC3\xA9"
         "bit moyen;PREL1;1409;21,5;27\r\n"
         "04001000;13;12/06/2024;10:00;D\xC3\xA9"
         "bit moyen;PREL1;1726;2;\r\n"},
        {"EXPOSUR_CEPC_2024.txt",
         "code_station;code_support;date_prelevement;heure_prelevement;code_parametre;resultat;"
         "code_unite\r\n"
         "04001000;3;12/06/2024;09:00;1301;18,5;27\r\n"},
        {"EXPOSUR_2024_BIO_LISTE.txt",
         "code_station;code_support;date_prelevement;heure_prelevement;code_taxon;denombrement;"
         "code_parametre;resultat\r\n"
         "04001000;13;12/06/2024;10:00;807;12;;\r\n"
         "04001000;13;12/06/2024;10:00;;;5910;14\r\n"},
        {"EXPOSUR_2024_PC_ANALYSES.txt",
         "code_station;date_prelevement;heure_prelevement;code_parametre;resultat;code_unite;"
         "code_remarque\r\n"
         "04001000;12/06/2024;09:00;1340;12,5;162;1\r\n"
         "04002000;13/06/24;;1340;3;162;1\r\n"
         "04001000;bad;;1;2\r\n"},
    };
}

const QString LIGNE_CASSEE = QStringLiteral(
    "EXPOSUR_2024_PC_ANALYSES.txt, ligne 4 : 5 champ(s) au lieu des 7 de la ligne d'en-tête");

Membres sans(Membres m, const QString &nom)
{
    m.erase(std::remove_if(m.begin(), m.end(), [&](const auto &e) { return e.first == nom; }),
            m.end());
    return m;
}

class ImportRegionauxTest : public test::BaseImport
{
  protected:
    void SetUp() override
    {
        test::BaseImport::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        m_travail = m_dossier.filePath(QStringLiteral("travail"));
        ASSERT_TRUE(ecrireRegistre(QStringLiteral("CheminExport"), m_travail));
    }
    ResultatImport importerArchive(const QString &modele, const Membres &membres,
                                   bool remplacer = false)
    {
        const QString zip = m_dossier.filePath(QStringLiteral("archive.zip"));
        EXPECT_TRUE(test::ecrireZip(zip, membres));
        return importerFichier(modele, zip, remplacer);
    }
    ResultatImport importerFichier(const QString &modele, const QString &chemin,
                                   bool remplacer = false)
    {
        OptionsImport options;
        options.creerIntervenants = true;
        options.remplacer = remplacer;
        return importer(modele, chemin, options, progressionNulle());
    }
    // Every table an archive writes, the operations' execution left out.
    QStringList tout(const QStringList &stations)
    {
        EXPECT_TRUE(executer("UPDATE QUALITOMETRES_POINTS_OPERATIONS SET jobExecutionId=NULL"));
        EXPECT_TRUE(executer("UPDATE QUALITOMETRES SET jobExecutionId=NULL, datemaj=NULL"));
        QStringList tables;
        for (const QString &s : stations)
            tables << QStringLiteral("ANALYSES_") + s;
        QStringList r = etat(tables);
        for (const char *t :
             {"RESEAUX", "LIEN_QUALITO_RESEAUX", "COMMUNES", "QUALITOMETRES_OPERATIONS_RESULTATS",
              "QUALITOMETRES_OPERATIONS_LISTE", "LIEN_QUALITO_ETATS",
              "QUALITOMETRES_POINTS_OPERATIONS_ENV"})
            r << QString::fromUtf8(t) + QStringLiteral(": ") +
                     triees(QString::fromUtf8(t)).join(u';');
        for (const QString &code :
             lignes("SELECT CodeQualitometre FROM QUALITOMETRES ORDER BY CodeQualitometre")) {
            const QString liste = QStringLiteral("QUALITOMETRES_LISTE_") + code;
            if (bd().tableExiste(liste))
                r << liste + QStringLiteral(": ") + triees(liste).join(u';');
        }
        return r;
    }
    QTemporaryDir m_dossier;
    QString m_travail;
};

TEST_P(ImportRegionauxTest, OsurDeuxFoisLesMemesLignes)
{
    QStringList avant;
    for (int passage = 0; passage < 2; ++passage) {
        const ResultatImport r = importerArchive(QStringLiteral("OSUR WEB CSV"), membresOsur());
        ASSERT_EQ(r.erreur, QString());
        ASSERT_EQ(r.fichiers.size(), 1);
        EXPECT_EQ(r.fichiers[0].erreur, LIGNE_CASSEE);
        EXPECT_EQ(r.fichiers[0].remarques,
                  QStringLiteral("Éléments non repris : EXPOSUR_STATION_2024.txt/Colonne "
                                 "inconnue (1)."));
        EXPECT_EQ(lignes("SELECT CodeBSS, Nom, X, Y, CodeCommune, Altitude, her_niveau1, "
                         "rang_strahler FROM QUALITOMETRES ORDER BY CodeBSS"),
                  QStringList({"04001000|La Loire à Blois|572000|6720000|41018|70|0|3",
                               "04002000|Le Cher|||37261|||"}));
        EXPECT_EQ(lignes("SELECT CodeCommune, Nom FROM COMMUNES ORDER BY CodeCommune"),
                  QStringList({"37261|<37261>", "41018|Blois"}));
        EXPECT_EQ(lignes("SELECT R.CodeSandre, R.Libelle, L.DateDebut FROM RESEAUX R INNER JOIN "
                         "LIEN_QUALITO_RESEAUX L ON L.CodeReseau = R.CodeReseau"),
                  QStringList({"0400000001|RCS Loire|01/01/2007"}));
        EXPECT_EQ(lignes("SELECT Q.CodeBSS, P.identifiant, P.nom FROM QUALITOMETRES_POINTS P "
                         "INNER JOIN QUALITOMETRES Q ON Q.CodeQualitometre = P.CodeQualitometre "
                         "ORDER BY Q.CodeBSS, P.identifiant"),
                  QStringList({"04001000|031|", "04001000|131|Radier amont", "04002000|031|"}));
        EXPECT_EQ(lignes("SELECT Q.CodeBSS, P.identifiant, O.dateDebut, O.heureDebut, "
                         "O.commentaires FROM (QUALITOMETRES_POINTS_OPERATIONS O INNER JOIN "
                         "QUALITOMETRES Q ON Q.CodeQualitometre = O.CodeQualitometre) INNER JOIN "
                         "QUALITOMETRES_POINTS P ON P.CodeQualitometre = O.CodeQualitometre AND "
                         "P.CodePoint = O.CodePoint ORDER BY Q.CodeBSS, P.identifiant"),
                  QStringList({"04001000|031|12/06/2024|30/12/1899 09:00:00|",
                               "04001000|131|12/06/2024|30/12/1899 10:00:00|Débit moyen",
                               "04002000|031|13/06/2024||"}));
        // The field measure and the analysis of the same sample.
        EXPECT_EQ(lignes("SELECT NumPrelevement, CodeParametre, Resultat, CodeUnite FROM "
                         "ANALYSES_04001000 ORDER BY CodeParametre"),
                  QStringList({"0|1301|18.5|27", "0|1340|12.5|162"}));
        EXPECT_EQ(lignes("SELECT CodeParametre, Resultat FROM ANALYSES_04002000"),
                  QStringList({"1340|3"}));
        // The sampler's national code resolved (created once, without asking here).
        EXPECT_EQ(lignes("SELECT I.CodeSandre FROM QUALITOMETRES_POINTS_OPERATIONS O INNER JOIN "
                         "INTERVENANTS I ON I.CodeIntervenant = O.codePreleveur"),
                  QStringList({"PREL1"}));
        EXPECT_EQ(valeur("SELECT count(*) FROM INTERVENANTS").toInt(), 1);
        EXPECT_EQ(lignes("SELECT codeParametre, resultat FROM QUALITOMETRES_OPERATIONS_RESULTATS"),
                  QStringList({"5910|14"}));
        // The hydrobiological operation's environment measures, dated like it.
        EXPECT_EQ(lignes("SELECT E.codeCondition, E.parametre, E.mesure, E.unite, E.dateMesure, "
                         "E.heureMesure, O.commentaires FROM QUALITOMETRES_POINTS_OPERATIONS_ENV E "
                         "INNER JOIN QUALITOMETRES_POINTS_OPERATIONS O ON O.codeQualitometre = "
                         "E.codeQualitometre AND O.codeOperation = E.codeOperation ORDER BY "
                         "E.codeCondition"),
                  QStringList({"1|1409|21.5|27|12/06/2024|30/12/1899 10:00:00|Débit moyen",
                               "2|1726|2||12/06/2024|30/12/1899 10:00:00|Débit moyen"}));
        const QString station = valeur("SELECT CodeQualitometre FROM QUALITOMETRES WHERE "
                                       "CodeBSS='04001000'")
                                    .toString();
        EXPECT_EQ(lignes(QStringLiteral("SELECT codeTaxon, DenombrementA FROM "
                                        "QUALITOMETRES_LISTE_") +
                         station),
                  QStringList({"807|12"}));
        const QStringList apres = tout({"04001000", "04002000"});
        if (passage == 1) {
            EXPECT_EQ(apres, avant);
        }
        avant = apres;
    }
    // The archive went into the working folder of the setting, nowhere else.
    EXPECT_TRUE(QFile::exists(QDir(m_travail).filePath("OSUR_CSV/EXPOSUR_SITE_2024.txt")));
}

TEST_P(ImportRegionauxTest, IntervenantRefuseArreteSansRienEcrire)
{
    const QString zip = m_dossier.filePath(QStringLiteral("archive.zip"));
    ASSERT_TRUE(test::ecrireZip(zip, membresOsur()));
    OptionsImport options; // missing organisations not created, and every question answered No
    const ResultatImport r =
        importer(QStringLiteral("OSUR WEB CSV"), zip, options, progressionNulle());
    ASSERT_EQ(r.fichiers.size(), 1);
    EXPECT_TRUE(r.fichiers[0].bilan.interrompu);
    EXPECT_EQ(
        r.fichiers[0].erreur,
        LIGNE_CASSEE +
            QStringLiteral("\nEXPOSUR_CEBIO_2024.txt, ligne 2 : L'intégration va être arretée."));
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES").toInt(), 0);
    EXPECT_EQ(valeur("SELECT count(*) FROM INTERVENANTS").toInt(), 0);
}

TEST_P(ImportRegionauxTest, OsurRemplacementMemesComptes)
{
    // A broken line refuses the archive before any station is purged or written.
    const ResultatImport casse =
        importerArchive(QStringLiteral("OSUR WEB CSV"), membresOsur(), true);
    ASSERT_EQ(casse.fichiers.size(), 1);
    EXPECT_EQ(casse.fichiers[0].erreur, LIGNE_CASSEE);
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES").toInt(), 0);
    const Membres sain = sans(membresOsur(), QStringLiteral("EXPOSUR_2024_PC_ANALYSES.txt"));
    QStringList comptes;
    for (int passage = 0; passage < 2; ++passage) {
        const ResultatImport r = importerArchive(QStringLiteral("OSUR WEB CSV"), sain, true);
        EXPECT_TRUE(r.statut()) << qPrintable(r.messages().join(u'\n'));
        QStringList n;
        for (const char *t :
             {"QUALITOMETRES", "QUALITOMETRES_POINTS", "QUALITOMETRES_POINTS_OPERATIONS",
              "PRELEVEMENTS", "QUALITOMETRES_OPERATIONS_RESULTATS", "ANALYSES_04001000",
              "QUALITOMETRES_POINTS_OPERATIONS_ENV"})
            n << valeur(QStringLiteral("SELECT count(*) FROM ") + QString::fromUtf8(t)).toString();
        EXPECT_EQ(n, QStringList({"2", "2", "2", "1", "1", "1", "2"}));
        if (passage == 1) {
            EXPECT_EQ(n, comptes);
        }
        comptes = n;
    }
}

// Environment measures are found again by operation and parameter: a second row of the same
// parameter rewrites it, a later import with another value updates it; a parameter that is no
// code or a measure that is no number refuses its row and nothing else.
TEST_P(ImportRegionauxTest, OsurMesuresEnvironnementParOperationEtParametre)
{
    const QByteArray entete = "code_station;code_support;date_prelevement;heure_prelevement;"
                              "code_parametre;resultat;code_unite;code_methode\r\n";
    auto archive = [&](const QByteArray &temperature) -> Membres {
        return {{"EXPOSUR_STATION.txt", "code_station\r\n04001000\r\n"},
                {"EXPOSUR_CEBIO.txt", entete +
                                          "04001000;13;12/06/2024;10:00;1409;21,5;27;\r\n"
                                          "04001000;13;12/06/2024;10:00;1409;" +
                                          temperature +
                                          ";27;12\r\n"
                                          "04001000;13;12/06/2024;10:00;T;3;;\r\n"
                                          "04001000;13;12/06/2024;10:00;1726;chaud;;\r\n"
                                          "04001000;13;13/06/2024;;1726;;;\r\n"}};
    };
    const QString refus =
        QStringLiteral("EXPOSUR_CEBIO.txt, ligne 4 : le paramètre « T » n'est pas un code\n"
                       "EXPOSUR_CEBIO.txt, ligne 5 : la mesure « chaud » n'est pas un nombre");
    const QString requete = QStringLiteral(
        "SELECT O.dateDebut, O.heureDebut, E.codeCondition, E.parametre, E.mesure, E.unite, "
        "E.methode, E.dateMesure FROM QUALITOMETRES_POINTS_OPERATIONS_ENV E INNER JOIN "
        "QUALITOMETRES_POINTS_OPERATIONS O ON O.codeQualitometre = E.codeQualitometre AND "
        "O.codeOperation = E.codeOperation ORDER BY O.codeOperation, E.codeCondition");
    const QStringList attendu = {"12/06/2024|30/12/1899 10:00:00|1|1409|22|27|12|12/06/2024",
                                 "13/06/2024||1|1726||||13/06/2024"};
    for (int passage = 0; passage < 2; ++passage) {
        const ResultatImport r = importerArchive(QStringLiteral("OSUR WEB CSV"), archive("22"));
        ASSERT_EQ(r.fichiers.size(), 1);
        EXPECT_EQ(r.fichiers[0].erreur, refus);
        EXPECT_EQ(lignes(requete), attendu);
        // The refused rows still found their operation: it was written before the measure.
        EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES_POINTS_OPERATIONS").toInt(), 2);
    }
    const ResultatImport r = importerArchive(QStringLiteral("OSUR WEB CSV"), archive("23,5"));
    EXPECT_EQ(r.fichiers[0].erreur, refus);
    QStringList modifie = attendu;
    modifie[0] = QStringLiteral("12/06/2024|30/12/1899 10:00:00|1|1409|23.5|27|12|12/06/2024");
    EXPECT_EQ(lignes(requete), modifie);
}

TEST_P(ImportRegionauxTest, SansFichierDesStationsRienNEstEcrit)
{
    const QString attendu =
        QStringLiteral("Impossible de récupérer le fichier contenant la description des stations "
                       "dans le fichier ZIP.");
    ResultatImport r =
        importerArchive(QStringLiteral("OSUR WEB CSV"),
                        sans(membresOsur(), QStringLiteral("EXPOSUR_STATION_2024.txt")));
    ASSERT_EQ(r.fichiers.size(), 1);
    EXPECT_EQ(r.fichiers[0].erreur, attendu);
    r = importerArchive(QStringLiteral("SANDRE_ADOUR_GARONNE"),
                        {{"analyse_2024.csv", "code_station;date_prelevement;code_parametre\n"
                                              "05001000;2024-01-01;1340\n"}});
    ASSERT_EQ(r.fichiers.size(), 1);
    EXPECT_EQ(r.fichiers[0].erreur, attendu);
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES").toInt(), 0);
    EXPECT_EQ(valeur("SELECT count(*) FROM PRELEVEMENTS").toInt(), 0);
}

TEST_P(ImportRegionauxTest, RestesEffacesEtRienHorsDuDossier)
{
    // A file a previous run left is removed before the archive is unpacked.
    ASSERT_TRUE(QDir().mkpath(QDir(m_travail).filePath("OSUR_CSV")));
    const QString reste = QDir(m_travail).filePath("OSUR_CSV/EXPOSUR_2023_PC_ANCIEN.txt");
    {
        QFile f(reste);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("code_station;date_prelevement;code_parametre;resultat\n09999999;2023-01-01;1;1\n");
    }
    ResultatImport r = importerArchive(QStringLiteral("OSUR WEB CSV"),
                                       sans(membresOsur(), "EXPOSUR_2024_PC_ANALYSES.txt"));
    EXPECT_TRUE(r.statut()) << qPrintable(r.messages().join(u'\n'));
    EXPECT_FALSE(QFile::exists(reste));
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES WHERE CodeBSS='09999999'").toInt(), 0);
    // A member climbing out of the folder refuses the archive before anything is written.
    Membres piege = membresOsur();
    piege.append(std::pair<QString, QByteArray>("../../evade.txt", "x"));
    r = importerArchive(QStringLiteral("OSUR WEB CSV"), piege);
    ASSERT_EQ(r.fichiers.size(), 1);
    EXPECT_EQ(r.fichiers[0].erreur,
              QStringLiteral("Erreur de décompression: Structure invalide du fichier ZIP"));
    EXPECT_FALSE(QFile::exists(m_dossier.filePath("evade.txt")));
    EXPECT_FALSE(QFile::exists(QDir(m_travail).filePath("evade.txt")));
}

TEST_P(ImportRegionauxTest, OsurClasseurUneFeuilleParFichier)
{
    Classeur c;
    Feuille *stations = c.ajouterFeuille(QStringLiteral("EXPOSUR_STATION"));
    const QStringList entete = {"Code station", "Libellé station", "Altitude"};
    for (int i = 0; i < entete.size(); ++i)
        stations->ecrire(1, i + 1, entete[i]);
    stations->ecrire(2, 1, QStringLiteral("04001000"));
    stations->ecrire(2, 2, QStringLiteral("La Loire"));
    stations->ecrire(2, 3, 70.5);
    Feuille *pc = c.ajouterFeuille(QStringLiteral("PC"));
    const QStringList colonnes = {"code_station", "date_prelevement", "code_parametre", "resultat",
                                  "code_unite"};
    for (int i = 0; i < colonnes.size(); ++i)
        pc->ecrire(1, i + 1, colonnes[i]);
    const QStringList valeurs = {"04001000", "12/06/2024", "1340", "12,5", "162"};
    for (int i = 0; i < valeurs.size(); ++i)
        pc->ecrire(2, i + 1, valeurs[i]);
    c.ajouterFeuille(QStringLiteral("Notice"))->ecrire(1, 1, QStringLiteral("lisez-moi"));
    const QString xlsx = m_dossier.filePath(QStringLiteral("osur.xlsx"));
    ASSERT_TRUE(c.enregistrer(xlsx)) << qPrintable(c.erreur());
    for (int passage = 0; passage < 2; ++passage) {
        const ResultatImport r = importerFichier(QStringLiteral("OSUR XLS"), xlsx);
        EXPECT_TRUE(r.statut()) << qPrintable(r.messages().join(u'\n'));
        EXPECT_EQ(lignes("SELECT CodeBSS, Nom, Altitude FROM QUALITOMETRES"),
                  QStringList({"04001000|La Loire|70.5"}));
        EXPECT_EQ(lignes("SELECT CodeParametre, Resultat, CodeUnite FROM ANALYSES_04001000"),
                  QStringList({"1340|12.5|162"}));
    }
}

TEST_P(ImportRegionauxTest, AdourGaronneEtatsApresLesPrelevements)
{
    const Membres membres = {
        {"Stations_STQ_2024.CSV",
         "code_station;libelle_station;code_commune\r\n05001000;La Garonne;31555\r\n"},
        {"analyse_2024.csv", "CdStationMesureEauxSurface;DatePrel;HeurePrel;CdParametre;RsAna;"
                             "CdUniteMesure;CdRqAna\r\n"
                             "05001000;2024-03-05;10:15:00;1340;4,2;162;1\r\n"},
        {"hydrobio_2024.csv",
         "code_station;code_support;date_prelevement;code_taxon;denombrement\r\n"
         "05001000;13;2024-06-01;807;5\r\n"},
        {"cep_2024.csv", "code_station;code_support;date_prelevement;heure_prelevement;"
                         "code_parametre;resultat;code_unite\r\n"
                         "05001000;3;2024-03-05;10:15:00;1301;11;27\r\n"},
        {"etats_2024.csv", "code_station;code_etat;annee;valeur;commentaire\r\n"
                           "05001000;2;2023;3;moyen\r\n"},
        {"lisezmoi.txt", "rien"},
    };
    QStringList avant;
    for (int passage = 0; passage < 2; ++passage) {
        const ResultatImport r = importerArchive(QStringLiteral("SANDRE_ADOUR_GARONNE"), membres);
        EXPECT_TRUE(r.statut()) << qPrintable(r.messages().join(u'\n'));
        EXPECT_EQ(lignes("SELECT CodeBSS, Nom, CodeCommune FROM QUALITOMETRES"),
                  QStringList({"05001000|La Garonne|31555"}));
        EXPECT_EQ(lignes("SELECT NumPrelevement, CodeParametre, Resultat FROM ANALYSES_05001000 "
                         "ORDER BY CodeParametre"),
                  QStringList({"0|1301|11", "0|1340|4.2"}));
        EXPECT_EQ(lignes("SELECT E.CodeEtat, E.DateDebut, E.valeur, E.commentaire FROM "
                         "LIEN_QUALITO_ETATS E"),
                  QStringList({"2|01/01/2023|3|moyen"}));
        // The sample hangs on its operation.
        EXPECT_EQ(valeur("SELECT count(*) FROM PRELEVEMENTS WHERE CodeOperation IS NULL").toInt(),
                  0);
        const QStringList apres = tout({"05001000"});
        if (passage == 1) {
            EXPECT_EQ(apres, avant);
        }
        avant = apres;
    }
    EXPECT_TRUE(QFile::exists(QDir(m_travail).filePath("AG/etats_2024.csv")));
}

// The screen's preview: the archive's stations, station file first; nothing written.
TEST_P(ImportRegionauxTest, ApercuDesStations)
{
    const QString zip = m_dossier.filePath(QStringLiteral("apercu.zip"));
    ASSERT_TRUE(test::ecrireZip(zip, membresOsur()));
    const ApercuImport a =
        apercuImport(QStringLiteral("OSUR WEB CSV"), zip, false, progressionNulle());
    EXPECT_EQ(a.erreur, QString());
    EXPECT_EQ(a.colonnes, QStringList({"Code"}));
    EXPECT_EQ(a.lignes, QVector<QStringList>({{"04001000"}, {"04002000"}}));
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES").toInt(), 0);
}

VYK_SUR_LES_DEUX_MOTEURS(ImportRegionauxTest);

} // namespace
