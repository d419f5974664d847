// The importers' records written: stations found or created, operations and taxa lists by their
// identity, analyses through the integration of the import table; the same records twice leave
// the same rows, completing never overwrites, numbers not given stay NULL.

#include "import/EcritureObjets.h"
#include "db/Lot.h"
#include "db/Progression.h"
#include "monitoring/Factory.h"

#include "DonneesImport.h"

using namespace vyk;

namespace {

const QDate JOUR(2021, 6, 15);

CleOperation cleIbg(const QTime &heure = QTime(9, 30))
{
    return {QStringLiteral("V001"), QStringLiteral("131"), JOUR, heure, 2};
}

class EcritureObjetsTest : public test::BaseImport
{
  protected:
    // One station's records, as a reader builds them.
    struct Jeu
    {
        PointEau point;
        QVector<Reseau> reseaux;
        MasseEau masse;
        Operation operation;
        QVector<TaxonDenombre> taxons;
        ResultatOperation resultat;
        PrelevementElementaire elementaire;
        Evenement evenement;
        QVector<Prelevement> prelevements;
        QVector<Analyse> analyses;
    };

    static Jeu jeu()
    {
        Jeu j;
        j.point = Factory::GetPointEau(QStringLiteral("V001"), QStringLiteral("La Loue à Ornans"),
                                       QString(), Factory::GetCoordonnee(925000.0, 2245000.5, 26),
                                       std::nullopt, QStringLiteral("25434"));
        // HER 0 and canal 0 are values; the Strahler rank is not given.
        j.point.infos =
            Factory::GetInfosStations(QStringLiteral("12/03/1971"), QStringLiteral("RCS"), 0,
                                      QStringLiteral("U2"), std::nullopt, 210.25, 4, 0);
        j.reseaux = {Factory::GetReseau(QStringLiteral("V001"), QStringLiteral("0600000011"),
                                        QStringLiteral("RCS Rhône"), QDate(2007, 1, 1)),
                     Factory::GetReseau(QStringLiteral("V001"), QStringLiteral("0600000099"))};
        j.masse = Factory::GetMasseEau(QStringLiteral("V001"), QStringLiteral("R123"));
        j.operation =
            Factory::GetOperation(cleIbg(), JOUR, QTime(11, 0), QStringLiteral("Eaux claires"));
        TaxonDenombre t1 = Factory::GetTaxonDenombre(cleIbg(), QStringLiteral("183"));
        t1.valeurs[DenombrementA] = 12;
        t1.valeurs[DenombrementB] = 0;
        TaxonDenombre t2 = Factory::GetTaxonDenombre(cleIbg(), QStringLiteral("069"));
        t2.valeurs[DenombrementP1] = 3;
        j.taxons = {t1, t2};
        j.resultat = Factory::GetResultatOperation(cleIbg(), 5910, 0, 14.0);
        j.elementaire = {cleIbg(), 3, QStringLiteral("P3"), 2, QStringLiteral("S24")};
        j.evenement = Factory::GetEvenement(QStringLiteral("V001"), JOUR, QTime(8, 0),
                                            QStringLiteral("Crue"));
        const ClePrelevement p{QStringLiteral("V001"), JOUR, QTime(10, 0), QStringLiteral("3")};
        j.prelevements = {Factory::GetPrelevement(p, 0.5, std::nullopt)};
        j.analyses = {Factory::GetAnalyse(p, QStringLiteral("1340"), 12.5, QStringLiteral("162")),
                      Factory::GetAnalyse(p, QStringLiteral("1301"), std::nullopt,
                                          QStringLiteral("27"), QStringLiteral("0"))};
        return j;
    }

    // Every record of the set, one transaction for the station; the first refusal fails the test.
    BilanObjets ecrire(const Jeu &j, bool remplacer, BilanAnalyses *analyses = nullptr)
    {
        EcritureObjets e(remplacer);
        QString erreur;
        {
            Transaction t;
            EXPECT_GE(e.ecrirePointEau(j.point, erreur), 1) << qPrintable(erreur);
            for (const Reseau &r : j.reseaux)
                EXPECT_GE(e.ecrireReseau(r, erreur), 1) << qPrintable(erreur);
            EXPECT_TRUE(e.ecrireMasseEau(j.masse, erreur)) << qPrintable(erreur);
            EXPECT_GE(e.ecrireOperation(j.operation, erreur), 0) << qPrintable(erreur);
            for (const TaxonDenombre &x : j.taxons)
                EXPECT_TRUE(e.ecrireTaxon(x, erreur)) << qPrintable(erreur);
            EXPECT_TRUE(e.ecrireResultatOperation(j.resultat, erreur)) << qPrintable(erreur);
            EXPECT_TRUE(e.ecrirePrelevementElementaire(j.elementaire, erreur))
                << qPrintable(erreur);
            EXPECT_TRUE(e.ecrireEvenement(j.evenement, erreur)) << qPrintable(erreur);
            EXPECT_TRUE(t.valider());
        }
        OptionsIntegration o;
        o.creerIntervenants = true;
        const BilanAnalyses b = e.ecrireAnalyses(j.prelevements, j.analyses, o, progressionNulle());
        EXPECT_TRUE(b.statut()) << qPrintable(b.erreur);
        if (analyses) *analyses = b;
        return e.bilan();
    }

    QStringList stationLue()
    {
        return lignes(QStringLiteral(
            "SELECT CodeQualitometre, CodeBSS, Nom, typeStation, X, Y, TypeProjection, Altitude, "
            "CodeCommune, Finalite, her_niveau1, code_hydro, rang_strahler, "
            "BassinVersant_Superficie, type_fr, canal FROM QUALITOMETRES"));
    }

    // The rows the records write (update stamps aside).
    QStringList rangees()
    {
        QStringList r = stationLue();
        for (const char *sql :
             {"SELECT codePoint, identifiant FROM QUALITOMETRES_POINTS ORDER BY codePoint",
              "SELECT codeOperation, codePoint, heureDebut, protocoleBiologique, dateFin, "
              "Commentaires, microPrelevement FROM QUALITOMETRES_POINTS_OPERATIONS ORDER BY "
              "codeOperation",
              "SELECT codeOperation, codeListe FROM QUALITOMETRES_OPERATIONS_LISTE",
              "SELECT codeOperation, codeListe, indice, codeTaxon, denombrementA, "
              "denombrementB, denombrementC, denombrementP1 FROM QUALITOMETRES_LISTE_1 ORDER "
              "BY indice",
              "SELECT codeOperation, indice, codeParametre, codeUnite, resultat, codeRemarque "
              "FROM QUALITOMETRES_OPERATIONS_RESULTATS",
              "SELECT codeOperation, indice, codePrelevement, phase, codeSubstrat, hauteurEau "
              "FROM QUALITOMETRES_OPERATIONS_PRELEVEMENTS",
              "SELECT Numero, heureEvenement, Commentaires FROM EVENEMENTS_QUALITO",
              "SELECT CodeReseau, Libelle, CodeSandre FROM RESEAUX ORDER BY CodeReseau",
              "SELECT CodeReseau, DateDebut, DateFin FROM LIEN_QUALITO_RESEAUX ORDER BY 1",
              "SELECT CodeCommune, Nom FROM COMMUNES WHERE CodeCommune = '25434'",
              "SELECT Code_ME FROM LIEN_QUALITO_MASSE_EAU",
              "SELECT NumPrelevement, codeOperation, profDebut, profFin FROM PRELEVEMENTS",
              "SELECT NumAnalyse, CodeParametre, CodeUnite, Resultat, CodeRemarque FROM "
              "ANALYSES_V001 ORDER BY NumAnalyse"})
            r << lignes(QString::fromLatin1(sql)).join(u';');
        return r;
    }
};

TEST_P(EcritureObjetsTest, LesMemesObjetsDeuxFoisLaissentLesMemesLignes)
{
    ASSERT_TRUE(executer(
        QStringLiteral("INSERT INTO MASSES_EAUX (Code_ME, Libelle) VALUES ('FRR123', 'Loue')")));
    const Jeu j = jeu();
    BilanAnalyses analyses;
    const BilanObjets b = ecrire(j, false, &analyses);
    EXPECT_EQ(b.stationsCreees, QStringList({"V001"}));
    EXPECT_EQ(b.operationsCreees, 1);
    EXPECT_EQ(b.taxonsAjoutes, 2);
    EXPECT_EQ(b.reseauxCrees, 2);
    EXPECT_EQ(b.communesAjoutees, 1);
    EXPECT_EQ(analyses.analysesAjoutees, 2);

    const QStringList premier = rangees();
    // HER 0 and canal 0 written as such; the Strahler rank not given stays NULL.
    EXPECT_EQ(premier[0], QStringLiteral("1|V001|La Loue à Ornans|1|925000|2245000.5|26||25434|"
                                         "RCS|0|U2||210.25|4|0"));
    EXPECT_EQ(lignes(QStringLiteral("SELECT rang_strahler FROM QUALITOMETRES WHERE "
                                    "rang_strahler IS NULL")),
              QStringList({""}));
    // The hydrobiological operation with its time, protocol and list flag; the analyses' own
    // operation on the water point.
    EXPECT_EQ(
        premier.mid(1, 5),
        QStringList({"0|131;1|031", "0|0|30/12/1899 09:30:00|2|15/06/2021|Eaux claires|1;1|1|||||",
                     "0|1", "0|1|1|183|12|0||;0|1|2|069||||3", "0|1|5910|0|14|"}));
    EXPECT_EQ(premier[6], QStringLiteral("0|3|P3|2|S24|"));
    EXPECT_EQ(premier.mid(8, 6), QStringList({"1|RCS Rhône|0600000011;2|<0600000099>|0600000099",
                                              premier[9], "25434|<25434>", "FRR123", "0|1|0.5|",
                                              "0|1340|162|12.5|;1|1301|27||0"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT CodeReseau FROM LIEN_QUALITO_RESEAUX WHERE DateFin "
                                    "IS NULL ORDER BY 1")),
              QStringList({"1", "2"}));
    // The analysis without result is NULL, not 0.
    EXPECT_EQ(
        lignes(QStringLiteral("SELECT CodeParametre FROM ANALYSES_V001 WHERE Resultat IS NULL")),
        QStringList({"1301"}));

    const BilanObjets second = ecrire(j, false, &analyses);
    EXPECT_TRUE(second.stationsCreees.isEmpty());
    EXPECT_EQ(second.operationsCreees, 0);
    EXPECT_EQ(second.pointsCrees, 0);
    EXPECT_EQ(second.taxonsAjoutes, 0);
    EXPECT_EQ(second.taxonsReecrits, 2);
    EXPECT_EQ(second.reseauxCrees, 0);
    EXPECT_EQ(analyses.analysesAjoutees, 0);
    EXPECT_EQ(analyses.analysesReecrites, 2);
    EXPECT_EQ(rangees(), premier);
}

// Replace mode purges the station's data once, at its first water point, and writes the same
// rows again: the same counts as the first run.
TEST_P(EcritureObjetsTest, RemplacerPurgeUneFoisEtRedonneLesMemesComptes)
{
    const Jeu j = jeu();
    ecrire(j, false);
    const QStringList premier = rangees();
    // A taxon of an earlier list, left by another file: the purge takes it away.
    Jeu plus = j;
    plus.taxons.append(Factory::GetTaxonDenombre(cleIbg(QTime(7, 0)), QStringLiteral("212")));
    ecrire(plus, false);
    ASSERT_EQ(
        valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES_POINTS_OPERATIONS")).toInt(), 3);

    EcritureObjets e(true);
    QString erreur;
    Transaction t;
    ASSERT_EQ(e.ecrirePointEau(j.point, erreur), 1) << qPrintable(erreur);
    // The second water point of the same station in the run purges nothing more.
    ASSERT_TRUE(e.ecrireTaxon(j.taxons[0], erreur)) << qPrintable(erreur);
    ASSERT_EQ(e.ecrirePointEau(j.point, erreur), 1) << qPrintable(erreur);
    EXPECT_EQ(e.bilan().stationsPurgees, 1);
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES_LISTE_1")).toInt(), 1);
    ASSERT_TRUE(t.valider());

    ecrire(j, true);
    EXPECT_EQ(rangees(), premier);
}

TEST_P(EcritureObjetsTest, CompleterNeRemplacePasEtNeCreeRien)
{
    station(1, QStringLiteral("V001"));
    ASSERT_TRUE(executer(QStringLiteral("UPDATE QUALITOMETRES SET Nom = 'Ancien nom', "
                                        "her_niveau1 = 0, code_hydro = '' WHERE "
                                        "CodeQualitometre = 1")));
    EcritureObjets e(false);
    QString erreur;
    const Jeu j = jeu();
    ASSERT_TRUE(e.commpletePointEau(j.point, erreur)) << qPrintable(erreur);
    // Stored name and HER kept; the empty hydrographic code and the missing values filled; the
    // Strahler rank given by nobody stays NULL; the commune is not added (nothing is created).
    EXPECT_EQ(stationLue(), QStringList({"1|V001|Ancien nom||925000|2245000.5|26||25434|RCS|0|U2||"
                                         "210.25|4|0"}));
    EXPECT_EQ(
        valeur(QStringLiteral("SELECT count(*) FROM COMMUNES WHERE CodeCommune = '25434'")).toInt(),
        0);

    PointEau inconnu = j.point;
    inconnu.code = QStringLiteral("V002");
    EXPECT_FALSE(e.commpletePointEau(inconnu, erreur));
    EXPECT_EQ(erreur, QStringLiteral("la station « V002 » n'existe pas"));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES")).toInt(), 1);
}

// Date, time and protocol are each part of an operation's identity.
TEST_P(EcritureObjetsTest, OperationParDateHeureEtProtocole)
{
    EcritureObjets e(false);
    QString erreur;
    Transaction t;
    ASSERT_EQ(e.ecrirePointEau(Factory::GetPointEau(QStringLiteral("V001")), erreur), 1);
    CleOperation sansHeure = cleIbg(QTime());
    CleOperation autreProtocole = cleIbg();
    autreProtocole.protocoleBiologique = 5;
    CleOperation sansProtocole = cleIbg();
    sansProtocole.protocoleBiologique.reset();
    const QVector<CleOperation> cles = {cleIbg(), sansHeure, autreProtocole, sansProtocole,
                                        cleIbg(QTime(9, 31))};
    for (int i = 0; i < cles.size(); ++i)
        EXPECT_EQ(e.ecrireOperation(Operation{cles[i]}, erreur), i) << qPrintable(erreur);
    ASSERT_TRUE(t.valider());

    // Found again by a new run (nothing cached).
    EcritureObjets autre(false);
    for (int i = cles.size() - 1; i >= 0; --i)
        EXPECT_EQ(autre.ecrireOperation(Operation{cles[i]}, erreur), i);
    EXPECT_EQ(autre.bilan().operationsCreees, 0);

    Operation orpheline{cleIbg()};
    orpheline.cle.codeStation = QStringLiteral("V404");
    EXPECT_EQ(autre.ecrireOperation(orpheline, erreur), -1);
    EXPECT_EQ(erreur, QStringLiteral("la station « V404 » n'existe pas"));
    PrelevementElementaire hors{cleIbg(), 13};
    EXPECT_FALSE(autre.ecrirePrelevementElementaire(hors, erreur));
    EXPECT_EQ(erreur,
              QStringLiteral("le prélèvement élémentaire 13 n'est pas compris entre 1 et 12"));
}

// A station whose transaction the caller undid is read again, not taken from the run's memory:
// its old number may now belong to another station.
TEST_P(EcritureObjetsTest, StationDefaiteOubliee)
{
    EcritureObjets e(false);
    QString erreur;
    {
        Transaction t;
        ASSERT_EQ(e.ecrirePointEau(Factory::GetPointEau(QStringLiteral("V001")), erreur), 1);
        ASSERT_EQ(e.ecrireOperation(Operation{cleIbg()}, erreur), 0);
        ASSERT_TRUE(t.annuler());
    }
    e.oublierStation(QStringLiteral("V001"));
    station(1, QStringLiteral("V000"));
    EXPECT_EQ(e.station(QStringLiteral("V001")), -1);
    Transaction t;
    ASSERT_EQ(e.ecrirePointEau(Factory::GetPointEau(QStringLiteral("V001")), erreur), 2);
    ASSERT_EQ(e.ecrireOperation(Operation{cleIbg()}, erreur), 0) << qPrintable(erreur);
    ASSERT_TRUE(t.valider());
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeQualitometre, codeOperation FROM "
                                    "QUALITOMETRES_POINTS_OPERATIONS")),
              QStringList({"2|0"}));
}

TEST_P(EcritureObjetsTest, PrelevementSansAnalyseSignale)
{
    EcritureObjets e(false);
    const ClePrelevement seul{QStringLiteral("V001"), JOUR, {}, QStringLiteral("3")};
    OptionsIntegration o;
    const BilanAnalyses b = e.ecrireAnalyses({Prelevement{seul}}, {}, o, progressionNulle());
    EXPECT_EQ(b.lignesLues, 0);
    EXPECT_EQ(e.bilan().avertissements,
              QStringList({"Prélèvement sans analyse non repris : station V001 du 15/06/2021"}));
}

VYK_SUR_LES_DEUX_MOTEURS(EcritureObjetsTest);

} // namespace
