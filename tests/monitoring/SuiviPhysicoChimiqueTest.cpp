#include "monitoring/SuiviPhysicoChimique.h"
#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "monitoring/ModeleSuivi.h"
#include "schema/TableAnalyses.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class SuiviPhysicoChimiqueTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesQualite();
        ASSERT_TRUE(creerTableAnalyses(QStringLiteral("BSS001")));
        for (const char *sql : {
                 "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (1, 'BSS001')",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('1340', 'Nitrates')",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom) VALUES ('1335', 'Ammonium')",
                 "INSERT INTO ANALYSES_PARAMETRES (Code, Nom, Calcule, codeParametresCalcul, "
                 "UniteReference1) VALUES ('7000', 'Azote', '1', '1340,1335', '162')",
                 "INSERT INTO ANALYSES_UNITES (Code, Symbole, Nom) VALUES ('162', 'mg/L', "
                 "'milligramme par litre')",
                 // Operation 0: status 2, qualification 1, producer 45. Operation 1: status 1.
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "dateDebut, statut, qualification, codeProducteur) VALUES (1, 0, #03/01/2021#, 2, "
                 "1, 45)",
                 "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
                 "dateDebut, statut, qualification) VALUES (1, 1, #06/01/2021#, 1, 1)",
                 "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, "
                 "codeOperation, CodeSupportPrincipal) VALUES (0, 1, #03/01/2021#, 0, '3')",
                 "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, "
                 "codeOperation) VALUES (1, 1, #06/01/2021#, 1)",
                 "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, "
                 "CodeSupportPrincipal) VALUES (2, 1, #01/15/2021#, '6')",
                 "INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, CodeQualitometre, "
                 "CodeParametre, CodeUnite, Resultat, CodeRemarque) VALUES (0, 0, 1, '1340', "
                 "'162', 12.5, '1')",
                 "INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, CodeQualitometre, "
                 "CodeParametre, CodeUnite, Resultat, CodeRemarque) VALUES (1, 0, 1, '1335', "
                 "'162', 0.1, '10')",
                 "INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, CodeQualitometre, "
                 "CodeParametre, CodeUnite, Resultat, CodeRemarque, StatutMesure) VALUES (0, 1, 1, "
                 "'1340', '162', 30, NULL, '4')",
                 "INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, CodeQualitometre, "
                 "CodeParametre, CodeUnite, Resultat, CodeRemarque, CodeSupport) VALUES (0, 2, 1, "
                 "'1335', '162', 300, '3', '3')",
             })
            ASSERT_TRUE(executer(QString::fromUtf8(sql)))
                << sql << qPrintable(bd().derniereErreur());
    }

    QStringList tableau(const FiltresSuivi &f)
    {
        TableauSuivi t;
        QString erreur;
        EXPECT_TRUE(chargerSuivi(QStringLiteral("1"), QStringLiteral("BSS001"), f, t, &erreur))
            << qPrintable(erreur);
        QStringList r = {entetesSuivi(t).join(u'|')};
        for (const LigneSuivi &l : t.lignes)
            r << l.codeParametre + u'|' + l.symbole + u'|' + l.valeurs.join(u'|');
        return r;
    }
};

TEST_P(SuiviPhysicoChimiqueTest, DatesEnColonnesParametresEnLignes)
{
    FiltresSuivi f;
    EXPECT_EQ(tableau(f),
              QStringList({"Paramètre|Unité|15/01/2021 (2)|01/03/2021 (0)|01/06/2021 (1)",
                           "1335|mg/L|>300|<0.1|", "1340|mg/L||12.5|30",
                           // Computed from its components: the quantified ones summed.
                           "7000|mg/L|>300|12.5|30"}));
    f.inverse = true;
    EXPECT_EQ(tableau(f).first(),
              QStringLiteral("Paramètre|Unité|01/06/2021 (1)|01/03/2021 (0)|15/01/2021 (2)"));
    // The display option gives the order by default.
    ecrireRegistre(reglage::AffichageChronologiqueInverse, QStringLiteral("OUI"));
    EXPECT_TRUE(filtresSuiviParDefaut().inverse);
    ecrireRegistre(reglage::AffichageChronologiqueInverse, QStringLiteral("NON"));
    EXPECT_FALSE(filtresSuiviParDefaut().inverse);
}

TEST_P(SuiviPhysicoChimiqueTest, FiltresAvecHeritage)
{
    FiltresSuivi f;
    f.quantifieesSeulement = true;
    EXPECT_EQ(tableau(f),
              QStringList({"Paramètre|Unité|15/01/2021 (2)|01/03/2021 (0)|01/06/2021 (1)",
                           "1335|mg/L|>300||", "1340|mg/L||12.5|30", "7000|mg/L|>300|12.5|30"}));
    // Status: the analysis's own, else its operation's.
    f = {};
    f.statut = QStringLiteral("2");
    EXPECT_EQ(tableau(f), QStringList({"Paramètre|Unité|01/03/2021 (0)", "1335|mg/L|<0.1",
                                       "1340|mg/L|12.5", "7000|mg/L|12.5"}));
    f.statut = QStringLiteral("4");
    EXPECT_EQ(tableau(f),
              QStringList({"Paramètre|Unité|01/06/2021 (1)", "1340|mg/L|30", "7000|mg/L|30"}));
    // Support: the analysis's own, else its sample's; unknown accepted.
    f = {};
    f.support = QStringLiteral("3");
    EXPECT_EQ(tableau(f).first(),
              QStringLiteral("Paramètre|Unité|15/01/2021 (2)|01/03/2021 (0)|01/06/2021 (1)"));
    f.support = QStringLiteral("6");
    EXPECT_EQ(tableau(f),
              QStringList({"Paramètre|Unité|01/06/2021 (1)", "1340|mg/L|30", "7000|mg/L|30"}));
    f = {};
    f.producteur = QStringLiteral("45");
    f.qualification = QStringLiteral("1");
    EXPECT_EQ(tableau(f).first(), QStringLiteral("Paramètre|Unité|01/03/2021 (0)"));
    f = {};
    f.dateDebut = QStringLiteral("01/02/2021");
    f.dateFin = QStringLiteral("01/03/2021");
    EXPECT_EQ(tableau(f).first(), QStringLiteral("Paramètre|Unité|01/03/2021 (0)"));
}

// Another station numbers its samples from 0 too: its sample 0, of another status and support,
// neither adds a column nor lends its status or support to this station's analyses.
TEST_P(SuiviPhysicoChimiqueTest, UneAutreStationDeMemeNumeroDePrelevementNeSeMelePas)
{
    for (const char *sql : {
             "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) VALUES (2, 'BSS002')",
             "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, "
             "dateDebut, statut) "
             "VALUES (2, 0, #02/02/2021#, 3)",
             "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, "
             "codeOperation, "
             "CodeSupportPrincipal) VALUES (0, 2, #02/02/2021#, 0, '13')",
         })
        ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql;
    FiltresSuivi f;
    EXPECT_EQ(tableau(f).first(),
              QStringLiteral("Paramètre|Unité|15/01/2021 (2)|01/03/2021 (0)|01/06/2021 (1)"));
    f.statut = QStringLiteral("3");
    EXPECT_EQ(tableau(f), QStringList({"Paramètre|Unité"}));
    f = {};
    f.support = QStringLiteral("13");
    EXPECT_EQ(tableau(f),
              QStringList({"Paramètre|Unité|01/06/2021 (1)", "1340|mg/L|30", "7000|mg/L|30"}));
}

// Every cell of the grid as the model shows it: names with their code, the unit's symbol or else
// its code, several results of one sample joined once each, a sample without operation dated by
// itself and one without sample undated, a computed parameter of limits only.
TEST_P(SuiviPhysicoChimiqueTest, CellulesDeLaGrille)
{
    for (const char *sql : {
             "INSERT INTO ANALYSES_UNITES (Code, Nom) VALUES ('168', 'sans symbole')",
             "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut) VALUES (3, "
             "1, #09/01/2021#)",
             "INSERT INTO ANALYSES_BSS001 (NumAnalyse, NumPrelevement, CodeQualitometre, "
             "CodeParametre, CodeUnite, Resultat, CodeRemarque) VALUES (2, 0, 1, '1340', '162', "
             "14, '1'), (3, 0, 1, '1340 ', '162', 12.5, ' 1'), (1, 1, 1, '1340', '168', 55.2, "
             "NULL), (1, 2, 1, '1340', '162', NULL, NULL), (0, 3, 1, '1335', '162', 0.05, '2'), "
             "(1, 3, 1, '1340', '162', 0.2, '10'), (0, 9, 1, '1335', '162', 1, 'x')",
         })
        ASSERT_TRUE(executer(QString::fromUtf8(sql))) << sql << qPrintable(bd().derniereErreur());
    const auto grille = [] {
        TableauSuivi t;
        EXPECT_TRUE(chargerSuivi(QStringLiteral("1"), QStringLiteral("BSS001"), {}, t));
        ModeleSuivi modele;
        modele.remplir(std::move(t));
        QStringList r;
        for (int c = 0; c < modele.columnCount(); ++c)
            r << modele.headerData(c, Qt::Horizontal).toString();
        QStringList lignes = {r.join(u'|')};
        for (int l = 0; l < modele.rowCount(); ++l) {
            r.clear();
            for (int c = 0; c < modele.columnCount(); ++c)
                r << modele.data(modele.index(l, c)).toString();
            lignes << r.join(u'|');
        }
        const TableauSuivi &lu = modele.tableau();
        lignes << QString::number(lu.nbAnalyses);
        for (const LigneSuivi &l : lu.lignes)
            lignes << l.codeParametre + u'|' + l.codeUnite + u'|' + l.nomUnite;
        return lignes;
    };
    const QStringList attendu = {
        "Paramètre|Unité|(sans date) (9)|15/01/2021 (2)|01/03/2021 (0)|01/06/2021 (1)|01/09/2021 "
        "(3)",
        "Ammonium [1335]|mg/L|1|>300|<0.1||<0.05",
        "Nitrates [1340]|mg/L|||12.5 ; 14|30|<0.2",
        "Nitrates [1340]|168||||55.2|",
        "Azote [7000] (calculé)|mg/L|1|>300|39|85.2|<0.2",
        "11",
        "1335|162|milligramme par litre",
        "1340|162|milligramme par litre",
        "1340|168|sans symbole",
        "7000|162|milligramme par litre",
    };
    EXPECT_EQ(grille(), attendu);
    // Read again, the same grid.
    EXPECT_EQ(grille(), attendu);
}

// A period typed wrongly is refused, rather than read as no period at all.
TEST_P(SuiviPhysicoChimiqueTest, PeriodeIncorrecteRefusee)
{
    const struct
    {
        const char *debut, *fin, *message;
    } cas[] = {{"32/01/2021", "", "La date de début de la période n'est pas correcte."},
               {"", "2021", "La date de fin de la période n'est pas correcte."}};
    for (const auto &c : cas) {
        FiltresSuivi f;
        f.dateDebut = QString::fromLatin1(c.debut);
        f.dateFin = QString::fromLatin1(c.fin);
        TableauSuivi t;
        QString erreur;
        EXPECT_FALSE(chargerSuivi(QStringLiteral("1"), QStringLiteral("BSS001"), f, t, &erreur));
        EXPECT_EQ(erreur, QString::fromUtf8(c.message));
        EXPECT_TRUE(t.colonnes.isEmpty());
    }
    // Both bounds are inclusive days.
    FiltresSuivi f;
    f.dateDebut = QStringLiteral("15/01/2021");
    f.dateFin = QStringLiteral("01/06/2021");
    EXPECT_EQ(tableau(f).first(),
              QStringLiteral("Paramètre|Unité|15/01/2021 (2)|01/03/2021 (0)|01/06/2021 (1)"));
}

TEST_P(SuiviPhysicoChimiqueTest, StationSansTableDAnalyses)
{
    TableauSuivi t;
    EXPECT_TRUE(chargerSuivi(QStringLiteral("2"), QStringLiteral("BSS002"), {}, t));
    EXPECT_TRUE(t.lignes.isEmpty());
    QString erreur;
    EXPECT_FALSE(chargerSuivi(QStringLiteral("2"), QString(), {}, t, &erreur));
    EXPECT_FALSE(erreur.isEmpty());
}

TEST_P(SuiviPhysicoChimiqueTest, StationsAuCodeBSSRenseigne)
{
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (2, 'BSS000', ' Lac '), "
        "(3, NULL, 'Sans code')")));
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE UTILISATEURS_STATIONS (login Text(50), "
                                        "typeStation Text(20), identifiant Text(50), "
                                        "modeSelect Text(20))")));
    connecterAdministrateur();
    QStringList entrees;
    for (const EntreeCodee &e : stationsSuivi())
        entrees << e.code + u'|' + e.libelle;
    EXPECT_EQ(entrees, QStringList({"2|BSS000 - Lac", "1|BSS001"}));
}

VYK_SUR_LES_DEUX_MOTEURS(SuiviPhysicoChimiqueTest);

} // namespace
