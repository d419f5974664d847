// SANDRE 1997 hydrobiology frames through the import run: stations, networks, operations and
// faunal lists written, the same frame twice leaving the same rows, replace mode the same
// counts, records that are not read reported, the results' parameters made active.

#include "import/ImportSandre1997.h"
#include "db/Progression.h"
#include "import/ApercuImport.h"
#include "import/Importation.h"

#include "DonneesImport.h"
#include "MessagesSandre.h"

using namespace vyk;

namespace {

class Messages : public Progression
{
  public:
    void message(const QString &texte) override { recus << texte; }
    QStringList recus;
};

// Two stations: the first with a network, an operation and its faunal list, the second renamed
// and known only by its operation.
const QByteArray TRAME = "DEB|SANDRE|1997\r\n"
                         "RSX|0600000011|RCS Rhône\r\n"
                         "COM|25434|Ornans\r\n"
                         "STQ|V001|La Loue|925000|2245000,5|26|25434|U2|12/03/71|RCS|0||210.25\r\n"
                         "HBR|V001|0600000011|01/01/2007|31/12/2020\r\n"
                         "OPH|V001|131|15/06/2021|09:30|2|15/06/2021|11:00||||Eaux claires\r\n"
                         "LIF|V001|131|15/06/2021|09:30|2|1|Liste IBG\r\n"
                         "TXD|V001|131|15/06/2021|09:30|2|1|183|12||||0\r\n"
                         "TXD|V001|131|15/06/2021|09:30|2|1|069|||||||||||||3\r\n"
                         "PRE|V001|131|15/06/2021|09:30|2|3|P3|2|S24||0.5\r\n"
                         "RHB|V001|131|15/06/2021|09:30|2|5910|14|0|\r\n"
                         "ETH|V002|Le Doubs à Besançon\r\n"
                         "OPH|V002|101|02/09/2020||\r\n"
                         "FIN|\r\n";

class ImportSandre1997Test : public test::BaseImport
{
  protected:
    void SetUp() override
    {
        BaseImport::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_TRUE(executer(QStringLiteral(
            "INSERT INTO ANALYSES_PARAMETRES (Code, Nom, Actif) VALUES ('5910', 'IBG', '0')")));
    }

    ResultatImport importer(const QByteArray &trame, bool remplacer = false,
                            Progression &progression = progressionNulle(),
                            const ReponsesIntegration &reponses = {})
    {
        OptionsImport o;
        o.remplacer = remplacer;
        return vyk::importer(QStringLiteral("SANDRE_TRAME_1997"),
                             test::ecrireFichier(m_dossier, QStringLiteral("trame.txt"), trame), o,
                             progression, reponses);
    }

    QStringList rangees()
    {
        QStringList r;
        for (const char *sql :
             {"SELECT CodeQualitometre, CodeBSS, Nom, X, Y, TypeProjection, CodeCommune, "
              "code_hydro, DateCreation, Finalite, her_niveau1, rang_strahler, "
              "BassinVersant_Superficie FROM QUALITOMETRES ORDER BY 1",
              "SELECT codeQualitometre, codePoint, identifiant, dateDebut FROM "
              "QUALITOMETRES_POINTS ORDER BY 1, 2",
              "SELECT codeQualitometre, codeOperation, codePoint, dateDebut, heureDebut, "
              "protocoleBiologique, dateFin, heureFin, Commentaires, microPrelevement FROM "
              "QUALITOMETRES_POINTS_OPERATIONS ORDER BY 1, 2",
              "SELECT codeQualitometre, codeOperation, codeListe, nom FROM "
              "QUALITOMETRES_OPERATIONS_LISTE",
              "SELECT codeOperation, codeListe, indice, codeTaxon, denombrementA, "
              "denombrementC, denombrementP1 FROM QUALITOMETRES_LISTE_1 ORDER BY indice",
              "SELECT codeOperation, indice, codePrelevement, phase, codeSubstrat, hauteurEau "
              "FROM QUALITOMETRES_OPERATIONS_PRELEVEMENTS",
              "SELECT codeOperation, indice, codeParametre, codeUnite, resultat, codeRemarque "
              "FROM QUALITOMETRES_OPERATIONS_RESULTATS",
              "SELECT CodeReseau, Libelle, CodeSandre FROM RESEAUX",
              "SELECT CodeQualitometre, CodeReseau, DateDebut, DateFin FROM "
              "LIEN_QUALITO_RESEAUX",
              "SELECT CodeCommune, Nom FROM COMMUNES WHERE CodeCommune = '25434'",
              // Sample numbers run over the whole table: compared apart.
              "SELECT CodeQualitometre, DateDebut, HeureDebut, codeOperation FROM PRELEVEMENTS "
              "ORDER BY 1, 2"})
            r << lignes(QString::fromLatin1(sql)).join(u';');
        return r;
    }

    QTemporaryDir m_dossier;
};

TEST_P(ImportSandre1997Test, DeuxFoisEnAjoutLesMemesLignes)
{
    Messages progression;
    const ResultatImport r = importer(TRAME, false, progression);
    ASSERT_TRUE(r.statut()) << qPrintable(r.messages().join(u'\n'));
    const BilanAnalyses b = r.total();
    EXPECT_EQ(b.lignesLues, 14);
    EXPECT_EQ(b.stations, 2);
    EXPECT_EQ(b.stationsCreees, QStringList({"V001", "V002"}));
    EXPECT_EQ(b.operationsCreees, 2);
    EXPECT_EQ(b.prelevementsCrees, 2);
    EXPECT_TRUE(r.messages().isEmpty()) << qPrintable(r.messages().join(u'\n'));

    const QStringList premier = rangees();
    EXPECT_EQ(premier,
              QStringList({// "71" is 1971; HER 0 kept, the Strahler rank not given stays NULL.
                           "1|V001|La Loue|925000|2245000.5|26|25434|U2|12/03/1971|RCS|0||210.25;"
                           "2|V002|Le Doubs à Besançon||||||||||",
                           "1|0|131|15/06/2021;2|0|101|02/09/2020",
                           "1|0|0|15/06/2021|30/12/1899 09:30:00|2|15/06/2021|30/12/1899 "
                           "11:00:00|Eaux claires|1;2|0|0|02/09/2020||||||",
                           "1|0|1|Liste IBG", "0|1|1|183|12|0|;0|1|2|069|||3", "0|3|P3|2|S24|0.5",
                           "0|1|5910|0|14|", "1|RCS Rhône|0600000011",
                           // The 31/12/2020 end is an open membership.
                           "1|1|01/01/2007|", "25434|Ornans",
                           // Each operation has its sample.
                           "1|15/06/2021|30/12/1899 09:30:00|0;2|02/09/2020||0"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT NumPrelevement, CodeQualitometre FROM PRELEVEMENTS "
                                    "ORDER BY 1")),
              QStringList({"0|1", "1|2"}));
    EXPECT_EQ(valeur(QStringLiteral("SELECT Actif FROM ANALYSES_PARAMETRES WHERE Code = '5910'"))
                  .toString(),
              QStringLiteral("1"));
    // The road's steps, in their order.
    const QStringList attendus = {texteSandre1997::STATIONS,
                                  texteSandre1997::RESEAUX,
                                  texteSandre1997::STATION + "V001",
                                  texteSandre1997::OPERATIONS + texteSandre1997::LIGNE + "6",
                                  texteSandre1997::PRELEVEMENTS,
                                  texteSandre1997::NOMS,
                                  texteSandre1997::MAJ_PRELEVEMENTS,
                                  texteSandre1997::PARAMETRES + "5910",
                                  texteSandre1997::LISTE_STATIONS,
                                  texteSandre1997::TERMINE};
    qsizetype depuis = 0;
    for (const QString &a : attendus) {
        const qsizetype i = progression.recus.indexOf(a, depuis);
        EXPECT_GE(i, depuis) << qPrintable(a);
        depuis = i < 0 ? depuis : i;
    }

    const ResultatImport second = importer(TRAME);
    ASSERT_TRUE(second.statut()) << qPrintable(second.messages().join(u'\n'));
    EXPECT_TRUE(second.total().stationsCreees.isEmpty());
    EXPECT_EQ(second.total().operationsCreees, 0);
    EXPECT_EQ(second.total().prelevementsCrees, 0);
    EXPECT_EQ(rangees(), premier);
}

// Replace mode purges each station's data once and writes the frame again: the same rows, an
// operation the frame does not give gone.
TEST_P(ImportSandre1997Test, RemplacerDonneLesMemesComptes)
{
    ASSERT_TRUE(importer(TRAME).statut());
    const QStringList premier = rangees();
    QByteArray autre = TRAME;
    autre.replace("OPH|V002|101|02/09/2020||", "OPH|V002|101|03/09/2020||");
    ASSERT_TRUE(importer(autre).statut());
    EXPECT_EQ(
        valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES_POINTS_OPERATIONS")).toInt(), 3);

    const ResultatImport r = importer(TRAME, true);
    ASSERT_TRUE(r.statut()) << qPrintable(r.messages().join(u'\n'));
    EXPECT_EQ(r.total().stationsPurgees, 2);
    EXPECT_EQ(rangees(), premier);
}

// A record whose type is not known, a referential record and fields beyond a record's last are
// reported; a short record and a value that does not read are errors of their line, and the
// other records still go in (add mode).
TEST_P(ImportSandre1997Test, CeQuiNEstPasLuEstSignale)
{
    const QByteArray trame = "XYZ|V001|1\n"
                             "TRO|V001|troncon\n"
                             "STQ|V001|La Loue|925000|2245000|26||||||||||||en trop|encore\n"
                             "STQ\n"
                             "OPH|V001|131|15/06/2021|9h30\n"
                             "OPH|V001|131|16/06/2021\n"
                             "OPH||131|16/06/2021\n";
    const ResultatImport r = importer(trame);
    EXPECT_FALSE(r.statut());
    EXPECT_EQ(r.messages(),
              QStringList(
                  {"trame.txt : ligne 4 : l'enregistrement STQ a 1 champ(s), 2 au moins attendus\n"
                   "ligne 5 : la valeur « 9h30 » du champ 5 de l'enregistrement OPH n'est pas une "
                   "heure\nligne 7 : l'enregistrement OPH n'a pas de station",
                   "trame.txt : Éléments non repris : STQ : champs au-delà du 17e (2), "
                   "enregistrement TRO (1), enregistrement de type inconnu XYZ (1)."}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT CodeBSS, Nom FROM QUALITOMETRES")),
              QStringList({"V001|La Loue"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeOperation, dateDebut FROM "
                                    "QUALITOMETRES_POINTS_OPERATIONS")),
              QStringList({"0|16/06/2021"}));
    const QVector<LigneEnErreur> enErreur = r.total().lignesEnErreur;
    ASSERT_EQ(enErreur.size(), 3);
    EXPECT_EQ(enErreur[1].origine, QStringLiteral("ligne 5"));
}

// Replace mode: a refused record undoes its station and stops the run.
TEST_P(ImportSandre1997Test, RemplacerArreteALaPremiereErreur)
{
    ASSERT_TRUE(importer(TRAME).statut());
    const QStringList avant = rangees();
    QByteArray faute = TRAME;
    faute.replace("TXD|V001|131|15/06/2021|09:30|2|1|183|12",
                  "TXD|V001|131|15/06/2021|09:30|2|1|183|douze");
    const ResultatImport r = importer(faute, true);
    EXPECT_FALSE(r.statut());
    EXPECT_TRUE(r.total().interrompu);
    EXPECT_EQ(rangees(), avant);
}

// The operations' organisations: a known SANDRE code is used, a missing one created after the
// question, or the run stopped when the user refuses.
TEST_P(ImportSandre1997Test, IntervenantsDesOperations)
{
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO INTERVENANTS (CodeIntervenant, Nom, CodeSandre) VALUES (7, 'Labo', '222')")));
    const QByteArray trame = "OPH|V001|131|15/06/2021|09:30|2||||222|333\n";
    test::Reponses non;
    ResultatImport r = importer(trame, false, progressionNulle(), {non.fonction(), non.fonction()});
    EXPECT_FALSE(r.statut());
    EXPECT_EQ(non.questions, QStringList({texteIntegration::QUESTION_TOUS,
                                          texteIntegration::questionIntervenant("333")}));
    EXPECT_EQ(r.messages(), QStringList({"trame.txt : ligne 1 : L'intégration va être arretée."}));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES")).toInt(), 0);

    test::Reponses oui;
    oui.reponse = true;
    r = importer(trame, false, progressionNulle(), {oui.fonction(), oui.fonction()});
    ASSERT_TRUE(r.statut()) << qPrintable(r.messages().join(u'\n'));
    EXPECT_EQ(oui.questions, QStringList({texteIntegration::QUESTION_TOUS}));
    EXPECT_EQ(r.total().intervenantsCrees, QStringList({"333"}));
    EXPECT_EQ(r.total().messageIntervenants,
              texteIntegration::INTERVENANTS_CREES + QStringLiteral(" 333"));
    EXPECT_EQ(lignes(QStringLiteral("SELECT o.codePreleveur, i.CodeSandre FROM "
                                    "QUALITOMETRES_POINTS_OPERATIONS o INNER JOIN INTERVENANTS i "
                                    "ON i.CodeIntervenant = o.codeDeterminateur")),
              QStringList({"7|333"}));
}

TEST_P(ImportSandre1997Test, ApercuDesStations)
{
    const ApercuImport a =
        apercuImport(QStringLiteral("SANDRE_TRAME_1997"),
                     test::ecrireFichier(m_dossier, QStringLiteral("trame.txt"), TRAME), false,
                     progressionNulle());
    EXPECT_EQ(a.erreur, QString());
    EXPECT_EQ(a.colonnes, QStringList({"Code"}));
    EXPECT_EQ(a.lignes, QVector<QStringList>({{"V001"}, {"V002"}}));
}

VYK_SUR_LES_DEUX_MOTEURS(ImportSandre1997Test);

} // namespace
