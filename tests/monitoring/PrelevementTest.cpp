#include "monitoring/Prelevement.h"
#include "db/BaseDonnees.h"
#include "db/InsertionMassive.h"
#include "db/Progression.h"
#include "db/Sql.h"
#include "monitoring/RattachementOperations.h"
#include "monitoring/ReglesAnalyses.h"
#include "schema/Catalogue.h"
#include "schema/TableAnalyses.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

TEST(RemarquesAnalyses, InferieureEtSuperieure)
{
    struct Cas
    {
        QVariant code;
        bool inferieure, superieure;
    };
    const Cas cas[] = {{QVariant(), false, false},
                       {QString(), false, false},
                       {QStringLiteral("x"), false, false},
                       {QStringLiteral("0"), false, false},
                       {QStringLiteral("1"), false, false},
                       {QStringLiteral("2"), true, false},
                       {QStringLiteral(" 10 "), true, false},
                       {9, true, false},
                       {QStringLiteral("3"), false, true},
                       {8.0, false, true},
                       {QStringLiteral("7"), false, false},
                       {QStringLiteral("2.5"), false, false}};
    for (const Cas &c : cas) {
        EXPECT_EQ(estRemarqueInferieure(c.code), c.inferieure) << qPrintable(c.code.toString());
        EXPECT_EQ(estRemarqueSuperieure(c.code), c.superieure) << qPrintable(c.code.toString());
    }
    EXPECT_EQ(texteResultat(0.1, QStringLiteral("10")), QStringLiteral("<0.1"));
    EXPECT_EQ(texteResultat(300, QStringLiteral("3")), QStringLiteral(">300"));
    EXPECT_EQ(texteResultat(12.5, QStringLiteral("1")), QStringLiteral("12.5"));
    EXPECT_EQ(texteResultat(12.5, QVariant()), QStringLiteral("12.5"));
    EXPECT_EQ(texteResultat(QVariant(), QStringLiteral("2")), QString());
}

class PrelevementTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesQualite();
        for (const char *sql : {
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (1, 'BSS001')",
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (2, 'BSS002')",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('1340', 'Nitrates')",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('1301', 'Température')",
                 "INSERT INTO ANALYSES_UNITES (Code, Symbole, Nom, Actif) VALUES ('162', "
                 "'mg(NO3)/L', 'mg/L', '1')",
                 "INSERT INTO FINALITES (Code, Libelle) VALUES ('1', 'Surveillance')",
                 "INSERT INTO FINALITES (Code, Libelle) VALUES ('2', 'Contrôle')",
                 "INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES ('ANALYSES.CODEREMARQUE', "
                 "10, 'Résultat < au seuil de quantification')",
             })
            ASSERT_TRUE(executer(QString::fromUtf8(sql)))
                << sql << qPrintable(bd().derniereErreur());
        e.definirStation(QStringLiteral("1"), QStringLiteral("BSS001"));
    }

    void nouveauPrelevement(const QString &date, const QString &heure = {})
    {
        e.nouveau();
        e.champs[QStringLiteral("DateDebut")] = date;
        e.champs[QStringLiteral("HeureDebut")] = heure;
        ASSERT_TRUE(rendu(e.enregistrer()));
    }

    static LignePrelevement analyse(const QString &parametre, const QString &resultat,
                                    const QString &remarque = {})
    {
        LignePrelevement l;
        for (const ColonneGrille &c : colonnesAnalyses())
            l.textes << (c.nature == NatureChamp::OuiNon ? QStringLiteral("0") : QString());
        l.textes[0] = parametre;
        l.textes[1] = resultat;
        l.textes[2] = QStringLiteral("162");
        l.textes[indexColonne(colonnesAnalyses(), QStringLiteral("CodeRemarque"))] = remarque;
        return l;
    }

    // The saves and deletions show nothing: what they report is kept here, the text of each.
    bool rendu(const CompteRendu &c)
    {
        rendus << c.texte;
        return c.ok;
    }
    void TearDown() override
    {
        EXPECT_EQ(messages().textes(), QStringList()) << "shown by the core";
        BaseTest::TearDown();
    }

    EditionPrelevement e;
    QStringList rendus;
};

TEST_P(PrelevementTest, CreationDeLaTableDAnalyses)
{
    QString erreur;
    EXPECT_FALSE(creerTableAnalyses(QStringLiteral("BSS 01\"x"), &erreur));
    EXPECT_FALSE(erreur.isEmpty());
    ASSERT_TRUE(creerTableAnalyses(QStringLiteral("BSS001")));
    ASSERT_TRUE(creerTableAnalyses(QStringLiteral("BSS001"))); // already there: nothing to do
    const QStringList colonnes = bd().colonnes(QStringLiteral("ANALYSES_BSS001"));
    ASSERT_EQ(colonnes.size(), 40);
    EXPECT_EQ(colonnes.first().toLower(), QStringLiteral("numanalyse"));
    EXPECT_EQ(colonnes.last().toLower(), QStringLiteral("proffin"));
    EXPECT_TRUE(bd().indexExiste(QStringLiteral("ind_analyses_BSS001")));
    const auto tables = tablesAnalysesStations();
    ASSERT_EQ(tables.size(), 1);
    EXPECT_EQ(tables[0].codeBSS, QStringLiteral("BSS001"));
}

TEST_P(PrelevementTest, NumerotationDesPrelevementsEtDesAnalyses)
{
    // Another station's samples do not count.
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre) VALUES (7, 2)")));
    e.nouveau();
    e.champs[QStringLiteral("DateDebut")] = QStringLiteral("31/13/2020");
    EXPECT_FALSE(rendu(e.enregistrer()));
    EXPECT_EQ(rendus, QStringList({"La date du prélèvement n'est pas correcte."}));
    // Every field refused at once, in the card's order.
    rendus.clear();
    e.champs[QStringLiteral("HeureDebut")] = QStringLiteral("9h75");
    e.champs[QStringLiteral("Operateur")] = QString(151, u'x');
    e.champs[QStringLiteral("profDebut")] = QStringLiteral("profond");
    EXPECT_EQ(colonnesRefusees(e.verifierFiche()),
              QStringList({"DateDebut", "HeureDebut", "Operateur", "profDebut"}));
    EXPECT_FALSE(rendu(e.enregistrer()));
    EXPECT_EQ(rendus, QStringList({"La date du prélèvement n'est pas correcte.\n"
                                   "L'heure du prélèvement n'est pas correcte.\n"
                                   "Le texte de « Opérateur » dépasse 150 caractères.\n"
                                   "La valeur de « Profondeur de début » n'est pas correcte."}));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM PRELEVEMENTS WHERE CodeQualitometre=1"))
                  .toInt(),
              0);
    e.champs.remove(QStringLiteral("HeureDebut"));
    e.champs.remove(QStringLiteral("Operateur"));
    e.champs.remove(QStringLiteral("profDebut"));
    EXPECT_FALSE(rendu(e.enregistrerAnalyses()));
    EXPECT_EQ(rendus.last(), QStringLiteral("Vous devez d'abord enregistrer le prélèvement."));
    rendus.clear();

    nouveauPrelevement(QStringLiteral("12/05/2021"), QStringLiteral("10:30"));
    EXPECT_EQ(e.numPrelevement(), QStringLiteral("0"));
    EXPECT_EQ(rendus, QStringList({"Enregistrement de la fiche du prélèvement terminé."}));
    nouveauPrelevement(QStringLiteral("13/05/2021"));
    EXPECT_EQ(e.numPrelevement(), QStringLiteral("1"));
    EXPECT_EQ(
        lignes(QStringLiteral("SELECT NumPrelevement, DateDebut, HeureDebut FROM PRELEVEMENTS "
                              "WHERE CodeQualitometre=1 ORDER BY NumPrelevement")),
        QStringList({"0|12/05/2021|30/12/1899 10:30:00", "1|13/05/2021|"}));

    e.analyses = {
        analyse(QStringLiteral("1340"), QStringLiteral("12,5")),
        analyse(QStringLiteral("Température [1301]"), QStringLiteral("0.1"), QStringLiteral("10"))};
    rendus.clear();
    ASSERT_TRUE(rendu(e.enregistrerAnalyses()));
    EXPECT_EQ(rendus, QStringList({"Enregistrement des analyses terminé."}));
    const QString sql = QStringLiteral(
        "SELECT NumAnalyse, NumPrelevement, CodeQualitometre, CodeParametre, Resultat, CodeUnite, "
        "CodeRemarque FROM ANALYSES_BSS001 ORDER BY NumPrelevement, NumAnalyse");
    const QStringList attendu = {"0|1|1|1340|12.5|162|", "1|1|1|1301|0.1|162|10"};
    EXPECT_EQ(lignes(sql), attendu);
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code, Actif FROM ANALYSES_PARAMETRES ORDER BY Code")),
              QStringList({"1301|1", "1340|1"}));
    // Twice: the same rows.
    ASSERT_TRUE(rendu(e.enregistrerAnalyses()));
    EXPECT_EQ(lignes(sql), attendu);

    // Loaded again with names and symbols.
    ASSERT_TRUE(e.charger(QStringLiteral("1")));
    ASSERT_EQ(e.analyses.size(), 2);
    EXPECT_EQ(codeEntree(e.analyses[1].textes[0]), QStringLiteral("1301"));
    EXPECT_EQ(libelleEntree(e.analyses[1].textes[0]), QStringLiteral("Température"));
    EXPECT_EQ(libelleEntree(e.analyses[1].textes[2]), QStringLiteral("mg(NO3)/L"));
    EXPECT_EQ(texteValeur(e.analyses[1].cle.value(0)), QStringLiteral("1"));
    EXPECT_EQ(e.champs.value(QStringLiteral("DateDebut")), QStringLiteral("13/05/2021"));
}

// Another workstation adding the station's first sample and committing a little later: the new
// sample's number is read once that one is written, and the two numbers differ.
TEST_P(PrelevementTest, DeuxPostesAjoutantUnPrelevementObtiennentDeuxNumeros)
{
    e.nouveau();
    e.champs[QStringLiteral("DateDebut")] = QStringLiteral("12/05/2021");
    bool enregistre = false;
    ASSERT_TRUE(pendantUneEcritureConcurrente(
        QStringLiteral("PRELEVEMENTS"),
        QStringLiteral("INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut) "
                       "VALUES (0, 1, NULL)"),
        [&] { enregistre = rendu(e.enregistrer()); }));
    EXPECT_TRUE(enregistre) << qPrintable(recus().join(u'\n'));
    EXPECT_EQ(e.numPrelevement(), QStringLiteral("1"));
    EXPECT_EQ(lignes(QStringLiteral("SELECT NumPrelevement, DateDebut FROM PRELEVEMENTS WHERE "
                                    "CodeQualitometre=1 ORDER BY NumPrelevement")),
              QStringList({"0|", "1|12/05/2021"}));
}

TEST_P(PrelevementTest, AnalysesRefuseesSansRienEcrire)
{
    nouveauPrelevement(QStringLiteral("12/05/2021"));
    e.analyses = {analyse(QStringLiteral("1340"), QStringLiteral("1"))};
    ASSERT_TRUE(rendu(e.enregistrerAnalyses()));
    rendus.clear();
    e.analyses = {analyse(QStringLiteral("1340"), QStringLiteral("2")),
                  analyse(QString(), QStringLiteral("3"))};
    EXPECT_FALSE(rendu(e.enregistrerAnalyses()));
    e.analyses = {analyse(QStringLiteral("1340"), QStringLiteral("2")),
                  analyse(QStringLiteral("9999"), QStringLiteral("3"))};
    EXPECT_FALSE(rendu(e.enregistrerAnalyses()));
    e.analyses = {analyse(QStringLiteral("1340"), QStringLiteral("deux"))};
    EXPECT_FALSE(rendu(e.enregistrerAnalyses()));
    EXPECT_EQ(rendus,
              QStringList(
                  {"Le paramètre pour la ligne 2 des analyses n'est pas renseigné.",
                   "Le paramètre 9999 pour la ligne 2 des analyses n'existe pas.",
                   "La valeur de « Résultat » pour la ligne 1 des analyses n'est pas correcte."}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Resultat FROM ANALYSES_BSS001")), QStringList({"1"}));
}

// Rows written by another program without the station's code: the card shows them, so its saves
// and deletions take them too (the table is the station's own).
TEST_P(PrelevementTest, AnalysesEcritesSansCodeDeStation)
{
    nouveauPrelevement(QStringLiteral("12/05/2021"));
    ASSERT_TRUE(creerTableAnalyses(QStringLiteral("BSS001")));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, CodeParametre, Resultat) "
        "VALUES (0, 0, '1340', 7), (1, 0, '1301', 8)")));
    ASSERT_TRUE(e.charger(QStringLiteral("0")));
    ASSERT_EQ(e.analyses.size(), 2);
    const QString sql = QStringLiteral("SELECT NumAnalyse, CodeQualitometre, CodeParametre, "
                                       "Resultat FROM ANALYSES_BSS001 ORDER BY NumAnalyse");
    for (int fois = 0; fois < 2; ++fois) {
        ASSERT_TRUE(rendu(e.enregistrerAnalyses()));
        EXPECT_EQ(lignes(sql), QStringList({"0|1|1340|7", "1|1|1301|8"}));
    }
    ASSERT_TRUE(executer(QStringLiteral("UPDATE ANALYSES_BSS001 SET CodeQualitometre=NULL")));
    ASSERT_TRUE(e.charger(QStringLiteral("0")));
    ASSERT_TRUE(rendu(e.supprimerAnalyse(1)));
    EXPECT_EQ(lignes(sql), QStringList({"0||1340|7"}));
}

TEST_P(PrelevementTest, SuppressionDUneLigneEtDuPrelevement)
{
    nouveauPrelevement(QStringLiteral("12/05/2021"));
    e.analyses = {analyse(QStringLiteral("1340"), QStringLiteral("1")),
                  analyse(QStringLiteral("1301"), QStringLiteral("2"))};
    ASSERT_TRUE(rendu(e.enregistrerAnalyses()));
    e.finalites = {{{QStringLiteral("Surveillance [1]")}, {}}};
    ASSERT_TRUE(rendu(e.enregistrerFinalites()));
    nouveauPrelevement(QStringLiteral("13/05/2021"));
    e.analyses = {analyse(QStringLiteral("1340"), QStringLiteral("3")),
                  analyse(QStringLiteral("1301"), QStringLiteral("4"))};
    ASSERT_TRUE(rendu(e.enregistrerAnalyses()));
    e.finalites = {{{QStringLiteral("1")}, {}}, {{QStringLiteral("2")}, {}}};
    ASSERT_TRUE(rendu(e.enregistrerFinalites()));
    rendus.clear();

    // Analysis 0 of sample 1 only, not analysis 0 of sample 0.
    ASSERT_TRUE(rendu(e.supprimerAnalyse(0)));
    EXPECT_EQ(lignes(QStringLiteral("SELECT NumPrelevement, NumAnalyse, Resultat FROM "
                                    "ANALYSES_BSS001 ORDER BY NumPrelevement, NumAnalyse")),
              QStringList({"0|0|1", "0|1|2", "1|1|4"}));
    ASSERT_TRUE(rendu(e.supprimerFinalite(1)));
    EXPECT_EQ(rendus, QStringList({"L'analyse a été supprimé.",
                                   "Le lien entre le prélèvement et la finalité a été supprimé."}));
    EXPECT_EQ(
        lignes(QStringLiteral("SELECT NumPrelevement, CodeFinalite FROM PRELEVEMENTS_FINALITES "
                              "ORDER BY NumPrelevement, CodeFinalite")),
        QStringList({"0|1", "1|1"}));

    // The sample goes with everything it holds; the other one stays.
    // The question goes to the card's function, never to a box.
    rendus.clear();
    test::Reponses reponses;
    e.confirmer = reponses.fonction();
    EXPECT_FALSE(rendu(e.supprimer()));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM PRELEVEMENTS")).toInt(), 2);
    reponses.reponse = true;
    ASSERT_TRUE(rendu(e.supprimer()));
    EXPECT_EQ(reponses.questions, QStringList(2, "Etes vous sur de vouloir supprimer le "
                                                 "prélèvement 1 et toutes les informations "
                                                 "qu'il possède ?"));
    EXPECT_EQ(rendus, QStringList({"", "Le prélèvement a été supprimé."}))
        << "the user said No: nothing more to show";
    EXPECT_EQ(lignes(QStringLiteral("SELECT NumPrelevement FROM PRELEVEMENTS")),
              QStringList({"0"}));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT NumPrelevement, NumAnalyse FROM ANALYSES_BSS001 ORDER BY NumAnalyse")),
              QStringList({"0|0", "0|1"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT NumPrelevement FROM PRELEVEMENTS_FINALITES")),
              QStringList({"0"}));
    EXPECT_FALSE(e.estEnregistre());
}

TEST_P(PrelevementTest, FinalitesDossiersEtEchantillons)
{
    e.finalites = {{{QStringLiteral("1")}, {}}};
    EXPECT_FALSE(rendu(e.enregistrerFinalites()));
    nouveauPrelevement(QStringLiteral("12/05/2021"));
    rendus.clear();
    e.finalites = {{{QStringLiteral("1")}, {}}, {{QStringLiteral("Inconnue [9]")}, {}}};
    EXPECT_FALSE(rendu(e.enregistrerFinalites()));
    auto dossier = [](const QString &reference) {
        LignePrelevement l;
        for (int i = 0; i < colonnesDossiers().size(); ++i)
            l.textes << QString();
        l.textes[0] = reference;
        return l;
    };
    e.dossiers = {dossier(QStringLiteral("D1")), dossier(QString())};
    e.dossiers[1].textes[4] = QStringLiteral("réf");
    EXPECT_FALSE(rendu(e.enregistrerDossiers()));
    auto echantillon = [](const QString &reference, const QString &date, const QString &heure) {
        LignePrelevement l;
        for (int i = 0; i < colonnesEchantillons().size(); ++i)
            l.textes << QString();
        l.textes[0] = reference;
        l.textes[2] = date;
        l.textes[3] = heure;
        return l;
    };
    e.echantillons = {
        echantillon(QStringLiteral("E1"), QStringLiteral("12/05/2021"), QStringLiteral("10:00")),
        echantillon(QStringLiteral("E2"), QStringLiteral("12/05"), {})};
    EXPECT_FALSE(rendu(e.enregistrerEchantillons()));
    e.echantillons[1].textes[2] = QString();
    e.echantillons[1].textes[3] = QStringLiteral("25:00");
    EXPECT_FALSE(rendu(e.enregistrerEchantillons()));
    EXPECT_EQ(rendus,
              QStringList(
                  {"La finalité pour la ligne 2 des prélèvements n'est pas correcte.",
                   "La référence du producteur du dossier pour la ligne 2 n'est pas renseignée.",
                   "La date de début pour la ligne numéro 2 des opérations n'est pas correcte.",
                   "L'heure de début pour la ligne numéro 2 des opérations n'est pas correcte."}));
    rendus.clear();

    e.dossiers = {dossier(QStringLiteral("D1")), dossier(QStringLiteral("D2"))};
    ASSERT_TRUE(rendu(e.enregistrerDossiers()));
    e.echantillons[1].textes[3] = QStringLiteral("11:15");
    ASSERT_TRUE(rendu(e.enregistrerEchantillons()));
    EXPECT_EQ(rendus, QStringList({"Enregistrement des dossiers terminé.",
                                   "Enregistrement des échantillons terminé."}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT NumDossier, ReferenceProducteur FROM "
                                    "PRELEVEMENTS_DOSSIERS ORDER BY NumDossier")),
              QStringList({"0|D1", "1|D2"}));
    // A deleted line leaves the others their numbers; a new line takes the next one.
    ASSERT_TRUE(rendu(e.supprimerDossier(0)));
    e.dossiers.append(dossier(QStringLiteral("D3")));
    ASSERT_TRUE(rendu(e.enregistrerDossiers()));
    EXPECT_EQ(lignes(QStringLiteral("SELECT NumDossier, ReferenceProducteur FROM "
                                    "PRELEVEMENTS_DOSSIERS ORDER BY NumDossier")),
              QStringList({"1|D2", "2|D3"}));
    ASSERT_TRUE(rendu(e.supprimerEchantillon(1)));
    EXPECT_EQ(lignes(QStringLiteral("SELECT NumEchantillon, Reference, DateDebut, HeureDebut FROM "
                                    "PRELEVEMENTS_ECHANTILLONS")),
              QStringList({"0|E1|12/05/2021|30/12/1899 10:00:00"}));
    EXPECT_EQ(rendus.at(2), QStringLiteral("Le dossier a été supprimé."));
    EXPECT_EQ(rendus.last(), QStringLiteral("L'echantillon a été supprimé."));
}

TEST_P(PrelevementTest, RattachementAuxOperations)
{
    for (const char *sql : {
             "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
             "dateDebut, heureDebut) VALUES (1, 4, #05/12/2021#, #12/30/1899 10:30:00#)",
             "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, HeureDebut) "
             "VALUES (0, 1, #05/12/2021#, #12/30/1899 10:30:00#)",
             "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, HeureDebut) "
             "VALUES (1, 1, #05/13/2021#, #12/30/1899 08:00:00#)",
             "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, HeureDebut) "
             "VALUES (2, 1, #05/13/2021#, #12/30/1899 08:00:00#)",
             "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, HeureDebut, "
             "codeOperation) VALUES (3, 1, #05/14/2021#, NULL, 4)",
             "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, HeureDebut) "
             "VALUES (0, 2, #05/13/2021#, #12/30/1899 08:00:00#)",
         })
        ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
    BilanRattachement b = rattacherPrelevementsOperations(QStringLiteral("1"));
    ASSERT_TRUE(b.reussi);
    EXPECT_EQ(b.prelevements, 3);
    EXPECT_EQ(b.operationsCreees, 1);
    // The two samples of the same date and time share one new operation.
    EXPECT_EQ(lignes(QStringLiteral("SELECT CodeQualitometre, NumPrelevement, codeOperation FROM "
                                    "PRELEVEMENTS ORDER BY CodeQualitometre, NumPrelevement")),
              QStringList({"1|0|4", "1|1|5", "1|2|5", "1|3|4", "2|0|"}));
    EXPECT_EQ(
        lignes(QStringLiteral(
            "SELECT codeQualitometre, codeOperation, dateDebut, heureDebut FROM "
            "QUALITOMETRES_POINTS_OPERATIONS ORDER BY codeQualitometre, codeOperation")),
        QStringList({"1|4|12/05/2021|30/12/1899 10:30:00", "1|5|13/05/2021|30/12/1899 08:00:00"}));
    // Every station: the first operation of a station without any is 0.
    b = rattacherPrelevementsOperations();
    EXPECT_EQ(b.prelevements, 1);
    EXPECT_EQ(
        lignes(QStringLiteral("SELECT codeOperation FROM PRELEVEMENTS WHERE CodeQualitometre=2")),
        QStringList({"0"}));
    b = rattacherPrelevementsOperations();
    EXPECT_TRUE(b.reussi);
    EXPECT_EQ(b.prelevements, 0);
}

// Every station at once: the progress line every 100 samples; a cancel writes nothing.
TEST_P(PrelevementTest, RattachementDeToutesLesStationsAvecSaProgression)
{
    {
        InsertionMassive insertion(QStringLiteral("PRELEVEMENTS"),
                                   {QStringLiteral("NumPrelevement"),
                                    QStringLiteral("CodeQualitometre"), QStringLiteral("DateDebut"),
                                    QStringLiteral("HeureDebut")});
        for (int n = 0; n < 250; ++n)
            insertion.ajouter({n, 1, QDateTime(QDate(2021, 5, 12 + n % 2), QTime(0, 0)),
                               QDateTime(QDate(1899, 12, 30), QTime(10, 30))});
        insertion.ajouter({0, 2, QDateTime(QDate(2021, 5, 12), QTime(0, 0)), QVariant()});
        ASSERT_TRUE(insertion.terminer());
    }
    struct Suivi : Progression
    {
        QStringList messages;
        bool arret = false;
        void message(const QString &m) override { messages << m; }
        bool annule() const override { return arret; }
    } suivi;
    suivi.arret = true;
    EXPECT_FALSE(rattacherPrelevementsOperations({}, &suivi).reussi);
    EXPECT_EQ(
        valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES_POINTS_OPERATIONS")).toInt(), 0);
    EXPECT_EQ(
        valeur(QStringLiteral("SELECT count(*) FROM PRELEVEMENTS WHERE codeOperation IS NOT NULL"))
            .toInt(),
        0);

    suivi.arret = false;
    suivi.messages.clear();
    const BilanRattachement b = rattacherPrelevementsOperations({}, &suivi);
    ASSERT_TRUE(b.reussi);
    EXPECT_EQ(b.prelevements, 251);
    EXPECT_EQ(b.operationsCreees, 3);
    EXPECT_EQ(suivi.messages, QStringList({"Mise à jour des prélèvements: 0/251",
                                           "Mise à jour des prélèvements: 100/251",
                                           "Mise à jour des prélèvements: 200/251"}));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT codeQualitometre, codeOperation, dateDebut, count(*) FROM PRELEVEMENTS "
                  "GROUP BY codeQualitometre, codeOperation, dateDebut ORDER BY codeQualitometre, "
                  "codeOperation")),
              QStringList({"1|0|12/05/2021|125", "1|1|13/05/2021|125", "2|0|12/05/2021|1"}));
}

// Opened from an operation: its sample, or a new one attached to it; the point shown; the bulk
// change of status applies to the sample's analyses only.
TEST_P(PrelevementTest, FicheOuverteParSonOperation)
{
    for (const char *sql : {
             "INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, identifiant, nom) "
             "VALUES (1, 0, '031', 'Source')",
             "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
             "codePoint, dateDebut) VALUES (1, 4, 0, #05/12/2021#)",
             "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
             "codePoint, dateDebut) VALUES (1, 6, 0, #06/15/2021#)",
             "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
             "dateDebut) VALUES (2, 7, #06/15/2021#)",
             "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, "
             "codeOperation) VALUES (3, 1, #05/12/2021#, 4)",
             "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut) VALUES (2, 1, "
             "#05/01/2021#)",
         })
        ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
    ASSERT_TRUE(creerTableAnalyses(QStringLiteral("BSS001")));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, CodeQualitometre, StatutMesure) "
        "VALUES (0, 3, 1, '1'), (1, 3, 1, NULL), (0, 2, 1, '1')")));

    const CompteRendu absent = e.charger(QStringLiteral(" 9"));
    EXPECT_FALSE(absent.ok);
    EXPECT_EQ(absent.texte, QStringLiteral("Impossible de retrouver le prélèvement 9."));
    ASSERT_TRUE(e.chargerOperation(QStringLiteral("4")));
    EXPECT_EQ(e.numPrelevement(), QStringLiteral("3"));
    EXPECT_EQ(e.point, QStringLiteral("031 - Source"));
    EXPECT_EQ(e.analyses.size(), 2);
    QStringList operations;
    for (const EntreeCodee &o : e.operations())
        operations << o.texte();
    EXPECT_EQ(operations, QStringList({"15/06/2021 [6]", "12/05/2021 [4]"}));

    EXPECT_FALSE(rendu(e.changerStatutAnalyses(QString())));
    ASSERT_TRUE(rendu(e.changerStatutAnalyses(QStringLiteral("Validée [3]"))));
    EXPECT_EQ(rendus, QStringList({"Choisissez d'abord la valeur à appliquer.",
                                   "Le statut des analyses du prélèvement a été modifié."}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT NumPrelevement, NumAnalyse, StatutMesure FROM "
                                    "ANALYSES_BSS001 ORDER BY NumPrelevement, NumAnalyse")),
              QStringList({"2|0|1", "3|0|3", "3|1|3"}));

    // An operation without sample: a new sample of that operation, numbered for the station.
    ASSERT_TRUE(e.chargerOperation(QStringLiteral("6")));
    EXPECT_FALSE(e.estEnregistre());
    EXPECT_TRUE(e.analyses.isEmpty());
    e.champs[QStringLiteral("DateDebut")] = QStringLiteral("15/06/2021");
    ASSERT_TRUE(rendu(e.enregistrer()));
    EXPECT_EQ(lignes(QStringLiteral("SELECT NumPrelevement, codeOperation FROM PRELEVEMENTS WHERE "
                                    "CodeQualitometre=1 ORDER BY NumPrelevement")),
              QStringList({"2|", "3|4", "4|6"}));
}

TEST_P(PrelevementTest, ChangementDeColonnes)
{
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO PRELEVEMENTS (NumPrelevement, "
                                        "CodeQualitometre, codeOperation) VALUES (0, 1, 3)")));
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO PRELEVEMENTS (NumPrelevement, "
                                        "CodeQualitometre, codeOperation) VALUES (1, 1, 4)")));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre) VALUES (0, 2)")));
    ASSERT_TRUE(creerTableAnalyses(QStringLiteral("BSS001")));
    for (const char *sql : {"INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, "
                            "CodeQualitometre, StatutMesure) VALUES (0, 0, 1, '1')",
                            "INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, "
                            "CodeQualitometre, StatutMesure) VALUES (1, 0, 1, '2')",
                            "INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, "
                            "CodeQualitometre, StatutMesure) VALUES (0, 1, 1, '1')",
                            // Written by another program without the station: the card shows it.
                            "INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, "
                            "StatutMesure) VALUES (1, 1, '1')"})
        ASSERT_TRUE(executer(QString::fromLatin1(sql)));
    QStringList anciennes;
    ASSERT_TRUE(majColonneAnalyses(QStringLiteral("1"), QStringLiteral("BSS001"),
                                   QStringLiteral("StatutMesure"), QStringLiteral("3"),
                                   QStringLiteral("3"), {}, &anciennes));
    anciennes.sort();
    EXPECT_EQ(anciennes, QStringList({"1", "2"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT NumPrelevement, StatutMesure FROM ANALYSES_BSS001 "
                                    "ORDER BY NumPrelevement, NumAnalyse")),
              QStringList({"0|3", "0|3", "1|1", "1|1"}));
    QString erreur;
    EXPECT_FALSE(majColonneAnalyses(QStringLiteral("1"), QStringLiteral("BSS001"),
                                    QStringLiteral("Inconnue; DROP"), 1, {}, QStringLiteral("0"),
                                    nullptr, &erreur));
    EXPECT_FALSE(erreur.isEmpty());

    // The sample of one station only.
    ASSERT_TRUE(majColonnePrelevement(QStringLiteral("1"), QStringLiteral("0"),
                                      QStringLiteral("Commentaire"), QStringLiteral("l'eau")));
    EXPECT_EQ(lignes(QStringLiteral("SELECT CodeQualitometre, Commentaire FROM PRELEVEMENTS WHERE "
                                    "NumPrelevement=0 ORDER BY CodeQualitometre")),
              QStringList({"1|l'eau", "2|"}));

    // From the card: every analysis of the sample.
    ASSERT_TRUE(e.charger(QStringLiteral("1")));
    EXPECT_EQ(e.analyses.size(), 2);
    rendus.clear();
    ASSERT_TRUE(rendu(e.changerQualificationAnalyses(QStringLiteral("Correcte [1]"))));
    EXPECT_EQ(rendus,
              QStringList({"La qualification des analyses du prélèvement a été modifiée."}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT NumPrelevement, CodeQualification FROM ANALYSES_BSS001 "
                                    "ORDER BY NumPrelevement, NumAnalyse")),
              QStringList({"0|", "0|", "1|1", "1|1"}));
}

// A sample saved before any analysis is found again: from its operation, and in the list of the
// station's samples, which shows the other station's sample of the same number nowhere.
TEST_P(PrelevementTest, UnPrelevementSansAnalysesSeRetrouve)
{
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
        "dateDebut) VALUES (1, 7, #03/02/2021#)")));
    ASSERT_TRUE(e.chargerOperation(QStringLiteral("7")));
    e.champs[QStringLiteral("DateDebut")] = QStringLiteral("02/03/2021");
    ASSERT_TRUE(rendu(e.enregistrer()));
    EditionPrelevement rouvert;
    rouvert.definirStation(QStringLiteral("1"), QStringLiteral("BSS001"));
    ASSERT_TRUE(rouvert.chargerOperation(QStringLiteral("7")));
    EXPECT_TRUE(rouvert.estEnregistre());
    EXPECT_EQ(rouvert.numPrelevement(), e.numPrelevement());

    const auto libelles = [](const QString &station, const QString &bss) {
        QStringList r;
        for (const PrelevementStation &p : prelevementsStation(station, bss))
            r << p.libelle() + QStringLiteral(" op ") + p.operation;
        return r;
    };
    // No analysis table yet.
    EXPECT_EQ(libelles(QStringLiteral("1"), QStringLiteral("BSS001")),
              QStringList({"0 - 02/03/2021 (0 analyse(s)) op 7"}));
    nouveauPrelevement(QStringLiteral("01/01/2021"));
    ASSERT_TRUE(creerTableAnalyses(QStringLiteral("BSS001")));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, CodeQualitometre) VALUES "
        "(0, 1, 1), (1, 1, 1)")));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre) VALUES (0, 2), (5, 1)")));
    EXPECT_EQ(libelles(QStringLiteral("1"), QStringLiteral("BSS001")),
              QStringList({"1 - 01/01/2021 (2 analyse(s)) op ",
                           "0 - 02/03/2021 (0 analyse(s)) op 7", "5 (0 analyse(s)) op "}));
    EXPECT_EQ(libelles(QStringLiteral("2"), QStringLiteral("BSS002")),
              QStringList({"0 (0 analyse(s)) op "}));
    EXPECT_TRUE(prelevementsStation(QStringLiteral("x"), QStringLiteral("BSS001")).isEmpty());
}

TEST_P(PrelevementTest, ParametresDUneSelection)
{
    for (const char *sql : {"INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, CodeParametre, "
                            "CodeUnite, TypeListe) VALUES ('S1', 2, '1340', '162', 0)",
                            "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, CodeParametre, "
                            "CodeUnite, TypeListe) VALUES ('S1', 1, '1301', NULL, 0)",
                            "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, CodeParametre, "
                            "CodeUnite, TypeListe) VALUES ('S1', 3, '1335', NULL, 1)"})
        ASSERT_TRUE(executer(QString::fromLatin1(sql)));
    const LignesPrelevement l = EditionPrelevement::lignesSelection(QStringLiteral("S1"));
    ASSERT_EQ(l.size(), 2);
    EXPECT_EQ(codeEntree(l[0].textes[0]), QStringLiteral("1301"));
    EXPECT_EQ(l[0].textes[2], QString());
    EXPECT_EQ(codeEntree(l[1].textes[0]), QStringLiteral("1340"));
    EXPECT_EQ(codeEntree(l[1].textes[2]), QStringLiteral("162"));
    EXPECT_EQ(l[1].textes.size(), colonnesAnalyses().size());
}

VYK_SUR_LES_DEUX_MOTEURS(PrelevementTest);

} // namespace
