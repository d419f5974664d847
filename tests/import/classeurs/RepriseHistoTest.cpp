// The historical workbook: the frame written beside it (exact records, "|" escaped, never a silent
// overwrite), its integration by the frame's road, and the refusals that write nothing.

#include "ClasseursTest.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "import/ApercuImport.h"
#include "import/ChampsTrame.h"
#include "import/classeurs/RepriseHisto.h"

#include <QFile>

using namespace vyk;

namespace {

using Lignes = QVector<QVector<QVariant>>;

const QVector<QVariant> EN_TETE = {"Code station", "Station",   "LIEUDIT",    "Date",
                                   "Heure",        "Protocole", "Préleveur",  "Déterminateur",
                                   "Observation",  "Substrat",  "Code taxon", "Effectif",
                                   "P1",           "P5",        "P9"};

// Two rows of one operation (the second repeats only the station and the date), a second
// station without organisations.
Lignes lignesHisto()
{
    return {{"Reprise des relevés anciens"},
            EN_TETE,
            {"V001", "La Loue", "Ornans", QDate(2021, 6, 15), "09:30", 2, 7, 8,
             "Eaux | claires\nen amont", "S24", "H183", 12, 3, 9},
            {"V001", "", "", QDate(2021, 6, 15), "09:30", 2, "", "", "", "", "069", 4, "", "", 4},
            {"V002", "Le Doubs", "", "02/09/2020", "", "", "", "", "", "", "183", 1}};
}

class RepriseHistoTest : public test::BaseClasseurs
{
  protected:
    void SetUp() override
    {
        BaseClasseurs::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        for (const char *sql :
             {"INSERT INTO INTERVENANTS (CodeIntervenant, Nom, SIRET) VALUES (7, 'Bureau "
              "Hydro', '12345678901234')",
              "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, CodeSandre) VALUES (8, "
              "'Laboratoire Est', 'S0008')",
              "INSERT INTO INTERVENANTS (CodeIntervenant, Nom) VALUES (9, 'Sans code')",
              "INSERT INTO TAXONS_CORRESP (code, Sandre) VALUES ('H183', '183')"})
            ASSERT_TRUE(executer(sql));
        ecrireRegistre(reglage::Producteur, QStringLiteral("8"));
    }

    QString classeur(const Lignes &l, const QString &extension = QStringLiteral("xlsx"))
    {
        const QString c = chemin(QStringLiteral("releves.") + extension);
        EXPECT_TRUE(test::ecrireClasseur(c, {{"Notes", {{"à lire"}}}, {"Relevés", l}}));
        return c;
    }

    static QByteArray lire(const QString &chemin)
    {
        QFile f(chemin);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Every row the frame's road writes, each run's stamps aside.
    QStringList tout()
    {
        QStringList r = etatStable();
        for (const char *sql :
             {"SELECT codeQualitometre, codeOperation, dateDebut, protocoleBiologique, "
              "codePreleveur, codeDeterminateur, codeProducteur, Commentaires FROM "
              "QUALITOMETRES_POINTS_OPERATIONS ORDER BY 1, 2",
              "SELECT codeQualitometre, codeOperation, indice, codePrelevement, phase FROM "
              "QUALITOMETRES_OPERATIONS_PRELEVEMENTS ORDER BY 1, 2, 3"})
            r << lignes(QString::fromLatin1(sql)).join(u';');
        for (const char *table : {"QUALITOMETRES_LISTE_1", "QUALITOMETRES_LISTE_2"})
            if (bd().tableExiste(QString::fromLatin1(table)))
                r << lignes(QStringLiteral("SELECT codeOperation, indice, codeTaxon, "
                                           "denombrementA, denombrementP1, denombrementP5, "
                                           "denombrementP9 FROM ") +
                            QString::fromLatin1(table) + QStringLiteral(" ORDER BY indice"))
                         .join(u';');
        return r;
    }

    // A refused workbook leaves the database and the folder as they were.
    void refuse(const Lignes &l, const QString &attendu)
    {
        const QString c = classeur(l);
        const QStringList avant = tout();
        const ResultatImport r = importerModele("REPRISE_HISTO", c);
        ASSERT_EQ(r.fichiers.size(), 1);
        EXPECT_EQ(r.fichiers.at(0).erreur, attendu);
        EXPECT_EQ(tout(), avant);
        EXPECT_FALSE(QFile::exists(cheminTrame(c)));
    }
};

const QByteArray TRAME_ATTENDUE =
    "DEC|VYK|REPRISE_HISTO\r\n"
    "DEB|GDES\r\n"
    "STQ|V001|La Loue à Ornans\r\n"
    "OPH|V001|131|15/06/2021|09:30:00|2||||12345678901234|S0008|Observation: Eaux \\| claires "
    "en amont ; SUBSTRAT: S24|S0008\r\n"
    "PRE|V001|131|15/06/2021|09:30:00|2|1|M|1\r\n"
    "PRE|V001|131|15/06/2021|09:30:00|2|5|N|2\r\n"
    "PRE|V001|131|15/06/2021|09:30:00|2|9|N|3\r\n"
    "TXD|V001|131|15/06/2021|09:30:00|2|1|183|12||||||||||||3||||9\r\n"
    "TXD|V001|131|15/06/2021|09:30:00|2|1|069|4||||||||||||||||||||4\r\n"
    "STQ|V002|Le Doubs\r\n"
    "OPH|V002|131|02/09/2020|||||||||S0008\r\n"
    "TXD|V002|131|02/09/2020|||1|183|1\r\n"
    "FIN|GDES\r\n";

// The frame beside the workbook, then its rows: the "|" of a comment kept inside its field, the
// organisation known by its SIRET alone found again by it, the historical code translated.
TEST_P(RepriseHistoTest, TrameEtLignes)
{
    for (const QString &extension : extensions()) {
        SCOPED_TRACE(extension.toStdString());
        const QString c = classeur(lignesHisto(), extension);
        const ResultatImport r = importerModele("REPRISE_HISTO", c);
        ASSERT_TRUE(r.statut()) << qPrintable(r.messages().join(u'\n'));
        EXPECT_EQ(lire(cheminTrame(c)), TRAME_ATTENDUE);
        EXPECT_EQ(r.total().stationsCreees, QStringList({"V001", "V002"}));
        EXPECT_EQ(r.total().intervenantsCrees, QStringList());
        EXPECT_EQ(lignes("SELECT CodeBSS, Nom FROM QUALITOMETRES ORDER BY 1"),
                  QStringList({"V001|La Loue à Ornans", "V002|Le Doubs"}));
        const QStringList t = tout();
        EXPECT_EQ(t.at(t.size() - 4),
                  "1|0|15/06/2021|2|7|8|8|Observation: Eaux | claires en amont ; SUBSTRAT: S24;"
                  "2|0|02/09/2020||||8|");
        EXPECT_EQ(t.at(t.size() - 3), "1|0|1|M|1;1|0|5|N|2;1|0|9|N|3");
        EXPECT_EQ(t.at(t.size() - 2), "0|1|183|12|3|9|;0|2|069|4|||4");
        EXPECT_EQ(t.last(), "0|1|183|1|||");
        executer("DELETE FROM QUALITOMETRES");
        executer("DELETE FROM QUALITOMETRES_POINTS");
        executer("DELETE FROM QUALITOMETRES_POINTS_OPERATIONS");
        executer("DELETE FROM QUALITOMETRES_OPERATIONS_PRELEVEMENTS");
        executer("DELETE FROM PRELEVEMENTS");
        executer("DROP TABLE QUALITOMETRES_LISTE_1");
        executer("DROP TABLE QUALITOMETRES_LISTE_2");
    }
}

// A second run finds its own frame unchanged: nothing is asked, the rows stay the same; replace
// mode gives the same rows again.
TEST_P(RepriseHistoTest, DeuxFoisLesMemesLignes)
{
    const QString c = classeur(lignesHisto());
    ASSERT_TRUE(importerModele("REPRISE_HISTO", c).statut());
    const QStringList premier = tout();
    int questions = 0;
    ReponsesIntegration reponses;
    reponses.remplacerFichier = [&](const QString &) { return ++questions, true; };
    ASSERT_TRUE(importerModele("REPRISE_HISTO", c, false, reponses).statut());
    EXPECT_EQ(tout(), premier);
    const ResultatImport r = importerModele("REPRISE_HISTO", c, true, reponses);
    ASSERT_TRUE(r.statut()) << qPrintable(r.messages().join(u'\n'));
    EXPECT_EQ(r.total().stationsPurgees, 2);
    // New samples are numbered over the whole table: their numbers are compared apart.
    const auto sansPrelevements = [](QStringList t) {
        t.removeIf([](const QString &l) { return l.startsWith("PRELEVEMENTS:"); });
        return t;
    };
    EXPECT_EQ(sansPrelevements(tout()), sansPrelevements(premier));
    EXPECT_EQ(lignes("SELECT CodeQualitometre, DateDebut FROM PRELEVEMENTS ORDER BY 1"),
              QStringList({"1|15/06/2021", "2|02/09/2020"}));
    EXPECT_EQ(questions, 0);
    EXPECT_EQ(lire(cheminTrame(c)), TRAME_ATTENDUE);
}

// Another file of the frame's name is replaced only when the user says so; otherwise it stays
// byte for byte and nothing is integrated.
TEST_P(RepriseHistoTest, FichierExistantJamaisEcraseEnSilence)
{
    const QString c = classeur(lignesHisto());
    const QString txt = cheminTrame(c);
    {
        QFile f(txt);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("notes de terrain\n");
    }
    const QStringList avant = tout();
    QStringList questions;
    ReponsesIntegration non;
    non.remplacerFichier = [&](const QString &q) { return questions << q, false; };
    for (const ReponsesIntegration &r : {ReponsesIntegration{}, non}) {
        const ResultatImport res = importerModele("REPRISE_HISTO", c, false, r);
        ASSERT_EQ(res.fichiers.size(), 1);
        EXPECT_EQ(res.fichiers.at(0).erreur, texteRepriseHisto::fichierConserve(txt));
        EXPECT_EQ(lire(txt), QByteArray("notes de terrain\n"));
        EXPECT_EQ(tout(), avant);
    }
    EXPECT_EQ(questions, QStringList({"Le fichier " + txt +
                                      " existe déjà et diffère de la trame de ce classeur. "
                                      "Voulez-vous le remplacer ?"}));
    ReponsesIntegration oui;
    oui.remplacerFichier = [](const QString &) { return true; };
    ASSERT_TRUE(importerModele("REPRISE_HISTO", c, false, oui).statut());
    EXPECT_EQ(lire(txt), TRAME_ATTENDUE);
    EXPECT_EQ(lignes("SELECT CodeBSS FROM QUALITOMETRES ORDER BY 1"),
              QStringList({"V001", "V002"}));
}

// A check run integrates nothing and leaves no frame behind.
TEST_P(RepriseHistoTest, ControleSansFichier)
{
    const QString c = classeur(lignesHisto());
    const QStringList avant = tout();
    OptionsImport o;
    o.controle = true;
    const ResultatImport r = importer(QStringLiteral("REPRISE_HISTO"), c, o, progressionNulle());
    ASSERT_TRUE(r.statut()) << qPrintable(r.messages().join(u'\n'));
    EXPECT_EQ(r.total().stationsCreees, QStringList({"V001", "V002"}));
    EXPECT_EQ(tout(), avant);
    EXPECT_FALSE(QFile::exists(cheminTrame(c)));
}

// Bad rows, unknown organisations, a taxon twice in one operation, a missing sheet and a corrupt
// workbook: the exact reason, no frame, no row.
TEST_P(RepriseHistoTest, RefusSansRienEcrire)
{
    Lignes l = lignesHisto();
    l[3][3] = "31/02/2021";
    refuse(l, "ligne 4 : la valeur « 31/02/2021 » de la colonne « DATE » n'est pas une date");
    l = lignesHisto();
    l[4][11] = "beaucoup";
    refuse(l, "ligne 5 : la valeur « beaucoup » de la colonne « EFFECTIF » n'est pas un nombre");
    l = lignesHisto();
    l[2][4] = "9h30";
    refuse(l, "ligne 3 : la valeur « 9h30 » de la colonne « HEURE » n'est pas une heure");
    l = lignesHisto();
    l[3][10] = "183"; // H183 is 183 too
    refuse(l, "ligne 4 : le taxon 183 figure déjà ligne 3 pour cette opération");
    l = lignesHisto();
    l[2][6] = 9;
    refuse(l, "ligne 3 : l'intervenant « 9 » (PRELEVEUR) n'existe pas ou n'a ni code SANDRE ni "
              "SIRET");
    ecrireRegistre(reglage::Producteur, QStringLiteral("404"));
    refuse(lignesHisto(), "ligne 3 : l'intervenant « 404 » (PRODUCTEUR) n'existe pas ou n'a ni "
                          "code SANDRE ni SIRET");
    l = lignesHisto();
    l[1][0] = "Station";
    const QString sansEnTete = chemin(QStringLiteral("releves.xlsx"));
    refuse(l, "Impossible de trouver le classeur de données " + sansEnTete);

    const QString corrompu = chemin(QStringLiteral("abime.xlsx"));
    {
        QFile f(corrompu);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("PK\x03\x04 pas un classeur");
    }
    const QStringList avant = tout();
    const ResultatImport r = importerModele("REPRISE_HISTO", corrompu);
    ASSERT_EQ(r.fichiers.size(), 1);
    EXPECT_EQ(r.fichiers.at(0).erreur, "Impossible d'ouvrir le fichier Excel.");
    EXPECT_EQ(tout(), avant);
    EXPECT_FALSE(QFile::exists(cheminTrame(corrompu)));
}

// Of two sheets holding the header, the user's choice is read (the first when nobody is asked);
// the preview shows one row per row of the sheet.
TEST_P(RepriseHistoTest, FeuilleChoisieEtApercu)
{
    const Lignes ancien = {
        EN_TETE, {"V009", "Le Lison", "", "01/07/1998", "", "", "", "", "", "", "H183", 5}};
    const QString c = chemin(QStringLiteral("deux.xlsx"));
    ASSERT_TRUE(test::ecrireClasseur(
        c, {{"Notes", {{"à lire"}}}, {"1998", ancien}, {"Relevés d'été", lignesHisto()}}));
    QStringList proposees;
    const auto choisir = [&](const QStringList &f) {
        return proposees = f, QStringLiteral("Relevés d'été");
    };
    const ApercuImport a = apercuImport("REPRISE_HISTO", c, false, progressionNulle(), choisir);
    EXPECT_EQ(a.erreur, QString());
    EXPECT_EQ(proposees, QStringList({"1998", "Relevés d'été"}));
    EXPECT_EQ(a.colonnes,
              QStringList({"Ligne", "Identifiant", "Station", "Date", "Code taxon", "Effectif"}));
    EXPECT_EQ(a.lignes,
              QVector<QStringList>({{"3", "V001", "La Loue à Ornans", "15/06/2021", "H183", "12"},
                                    {"4", "V001", "", "15/06/2021", "069", "4"},
                                    {"5", "V002", "Le Doubs", "02/09/2020", "183", "1"}}));
    EXPECT_EQ(apercuImport("REPRISE_HISTO", c, false, progressionNulle()).lignes,
              QVector<QStringList>({{"2", "V009", "Le Lison", "01/07/1998", "H183", "5"}}));
    const auto aucune = [](const QStringList &) { return QString(); };
    EXPECT_EQ(apercuImport("REPRISE_HISTO", c, false, progressionNulle(), aucune).erreur,
              "Impossible de trouver le classeur de données " + c);
}

VYK_SUR_LES_DEUX_MOTEURS(RepriseHistoTest);

// Field texts with separators and backslashes come back whole; frames written before escapes
// existed read as they always did.
TEST(ChampsTrame, EchappementAllerRetour)
{
    const QStringList champs = {"TXD", "a|b", "c\\", "\\|", "", "d\\e"};
    const QString ligne = enregistrementTrame(champs);
    EXPECT_EQ(ligne, "TXD|a\\|b|c\\\\|\\\\\\||"
                     "|d\\\\e");
    EXPECT_EQ(decouperEnregistrementTrame(ligne), champs);
    EXPECT_EQ(decouperEnregistrementTrame("OPH|C:\\eaux|x"), QStringList({"OPH", "C:\\eaux", "x"}));
    EXPECT_EQ(echapperChampTrame("un\r\ndeux\ntrois"), "un deux trois");
}

} // namespace
