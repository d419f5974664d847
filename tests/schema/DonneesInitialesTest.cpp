#include "schema/DonneesInitiales.h"

#include "app/Options.h"
#include "app/Registre.h"
#include "referentials/ReferentielCodes.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "CatalogueMoteur.h"
#include "support/BaseTest.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class DonneesInitialesTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(mettreAJourBase(versionProgramme()));
    }

    // Every seeded row, as text, to compare two runs.
    QStringList instantane()
    {
        QStringList r;
        for (const char *requete :
             {"SELECT Champ, Code, Libelle, Commentaire, Statut, DateCreation, Projet FROM "
              "CODES_SANDRE ORDER BY Champ, Code",
              "SELECT champ, code, referentiel FROM CODES_SANDRE_REFERENTIEL ORDER BY champ",
              "SELECT Code, Libelle, Mnemonique FROM FINALITES ORDER BY Code",
              "SELECT CodeEtat, Libelle, Mnemonique, Finalite, principal FROM ETATS ORDER BY "
              "CodeEtat",
              "SELECT CodeParametre, CodeUnite, Seuil1, Seuil2, Seuil3, Seuil4, typeSeuil, "
              "TypeListe FROM ANALYSES_SEUILS "
              "ORDER BY CodeParametre",
              "SELECT id, code, nom FROM STATION_TYPE ORDER BY id",
              "SELECT projet, id, libelle FROM PARAMETRAGE_DATA ORDER BY projet, id",
              "SELECT id, code, nom FROM FORMAT_DONNEES ORDER BY id",
              "SELECT Jour, Jour_inverse, Decade, Mois, Trimestre, Annee, Hydro, Hydro_inverse "
              "FROM PERIODES ORDER BY "
              "Jour_inverse"})
            r << lignes(QString::fromUtf8(requete)) << QStringLiteral("--");
        return r;
    }
};

TEST_P(DonneesInitialesTest, ListesEcritesTellesQuellesEtReferentiels)
{
    int total = 0;
    for (const ListeInitiale &l : listesInitiales())
        total += int(l.entrees.size());
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM CODES_SANDRE")).toInt(), total);
    EXPECT_EQ(total, 163);
    // The projections, so that the map export's projection box is never empty.
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code, Libelle FROM CODES_SANDRE WHERE "
                                    "Champ='PIEZOMETRES.TYPEPROJECTION' AND Code IN (5, 16, 26) "
                                    "ORDER BY Code")),
              QStringList({"5|Lambert II Etendu", "16|WGS84", "26|RGF93 / Lambert 93"}));
    // Labels with quotes and with more than 50 characters, the order of extended lists.
    EXPECT_EQ(
        lignes(QStringLiteral(
            "SELECT Code, Libelle, Commentaire, Statut, DateCreation, DateModification, Auteur, "
            "Projet "
            "FROM CODES_SANDRE WHERE Champ='QUALITOMETRES.CODEREPRESENTATIVITE' ORDER BY Code")),
        QStringList({"0|Inconnu|||01/01/1999|01/01/1999||VYK",
                     "1|Interne au point d'eau|||01/01/1999|01/01/1999||VYK",
                     "2|Locale au point d'eau|||01/01/1999|01/01/1999||VYK",
                     "3|Générale au point d'eau|||01/01/1999|01/01/1999||VYK"}));
    EXPECT_EQ(
        valeur(
            QStringLiteral(
                "SELECT Libelle FROM CODES_SANDRE WHERE Champ='ANALYSES.CALCUL_INDICE' AND Code=2"))
            .toString(),
        QStringLiteral(
            "Cité dans la norme mais effectif insuffisant pour prise en compte dans le calcul"));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code, Libelle, Commentaire FROM CODES_SANDRE WHERE "
                                    "Champ='SEUILS' ORDER BY Code")),
              QStringList({"1|SEQ-Eaux souterraines|Eaux souterraines", "2|Seuil AEP|",
                           "3|Seuil DCE|", "11|SEQ-Eaux douce|"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code, Libelle FROM CODES_SANDRE WHERE "
                                    "Champ='PRELEVEMENTS.VITESSE' ORDER BY Code")),
              QStringList({"0|Inconnue", "1|N1 - v < 5", "2|N2 - v >= 150", "3|N3 - 5 <= v < 25",
                           "4|N4 - 75 < v < 150", "5|N5 - 25 <= v < 75", "6|N6 - 75 <= v"}));
    EXPECT_EQ(
        lignes(QStringLiteral(
            "SELECT champ, code, referentiel FROM CODES_SANDRE_REFERENTIEL WHERE champ IN "
            "('ANALYSES.CODEREMARQUE', 'PRELEVEMENTS.VITESSE.MACROPHYTES', "
            "'QUALITOMETRES.CODEQUALITE') "
            "ORDER BY champ")),
        QStringList({"ANALYSES.CODEREMARQUE|155|3.1", "PRELEVEMENTS.VITESSE.MACROPHYTES|278|3.1",
                     "QUALITOMETRES.CODEQUALITE||"}));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM CODES_SANDRE_REFERENTIEL")).toInt(), 52);
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM CODES_SANDRE_REFERENTIEL WHERE code IS "
                                    "NULL AND referentiel IS NULL"))
                  .toInt(),
              12);
}

TEST_P(DonneesInitialesTest, FinalitesEtatsSeuilsTypesEtParametrages)
{
    const QStringList finalites = lignes(QStringLiteral(
        "SELECT Code, Libelle, Mnemonique, Definition FROM FINALITES ORDER BY Code"));
    ASSERT_EQ(finalites.size(), 10);
    EXPECT_EQ(finalites[1],
              QStringLiteral("ESO.1.2|Connaissance générale / Contrôle de Surveillance |ESO.1.2|"));
    EXPECT_EQ(finalites[9], QStringLiteral("ESO.3.5|Impact / Autre|ESO.3.5|"));

    const QStringList etats = lignes(
        QStringLiteral("SELECT CodeEtat, Libelle, Mnemonique, Finalite, principal, commentaire, "
                       "CodeEtatCalcule, OrdreEtat FROM ETATS ORDER BY CodeEtat"));
    ASSERT_EQ(etats.size(), 7);
    EXPECT_EQ(etats[0], QStringLiteral("0|Etat écologique - Invertébrés|||0|||"));
    EXPECT_EQ(
        etats[6],
        QStringLiteral("6|Etat écologique - Paramètres physico-chimiques (plans d'eau)|||0|||"));

    const QStringList seuils =
        lignes(QStringLiteral("SELECT CodeParametre, CodeUnite, Seuil1, Seuil2, Seuil3, Seuil4, "
                              "typeSeuil, TypeListe, codeElement, TypeStation FROM ANALYSES_SEUILS "
                              "ORDER BY CodeParametre"));
    ASSERT_EQ(seuils.size(), 14);
    EXPECT_EQ(seuils[0], QStringLiteral("1107|133|0.05|0.1|2||1|0||"));
    EXPECT_TRUE(seuils.contains(QStringLiteral("1295|0|1.2|2|3750||1|0||")));
    EXPECT_TRUE(seuils.contains(QStringLiteral("1305|162|3.5|5|5000||1|0||")));

    EXPECT_EQ(lignes(QStringLiteral("SELECT code, nom FROM STATION_TYPE ORDER BY id")),
              QStringList({"QUALITOMETER|Qualitomètre", "PIEZOMETER|Piézomètre",
                           "PLUVIOMETER|Pluviomètre"}));
    EXPECT_EQ(
        lignes(
            QStringLiteral("SELECT projet, id, libelle FROM PARAMETRAGE_DATA ORDER BY projet, id")),
        QStringList({"VYDA|1|Chronique mini", "VYDA|2|Chronique moyenne", "VYDA|3|Brute modifiée",
                     "VYW|1|Niveau mini", "VYW|2|Niveau moyen", "VYW|3|Brute supprimée"}));
    // Import models as job formats: the codes the runs record, each with its label.
    const QStringList formats =
        lignes(QStringLiteral("SELECT code, nom FROM FORMAT_DONNEES ORDER BY id"));
    ASSERT_EQ(formats.size(), 21);
    EXPECT_EQ(formats.first(), QStringLiteral("ADES_TRAMES|ADES Trames zippées"));
    EXPECT_TRUE(formats.contains(QStringLiteral("EDILABO|EDI LABO")));
    EXPECT_EQ(formats.last(), QStringLiteral("REPRISE_HISTO|REPRISE_HISTO"));
    // A database older than a model gets it on its next upgrade; one made when the historical
    // recovery had no label gets its label, a label an administrator wrote stays.
    ASSERT_TRUE(
        executer(QStringLiteral("DELETE FROM FORMAT_DONNEES WHERE code='PC_CSV_NATIONAL'")));
    ASSERT_TRUE(
        executer(QStringLiteral("UPDATE FORMAT_DONNEES SET nom=NULL WHERE code='REPRISE_HISTO'")));
    ASSERT_TRUE(
        executer(QStringLiteral("UPDATE FORMAT_DONNEES SET nom='Mon EDI' WHERE code='EDILABO'")));

    // Parameters and units of the thresholds become active on the next run; the older row 3
    // of the data settings is replaced.
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO ANALYSES_PARAMETRES (Code, Nom, Actif) VALUES ('1340', 'Nitrates', '0')")));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO ANALYSES_PARAMETRES (Code, Nom, Actif) VALUES ('9999', 'Autre', '0')")));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO ANALYSES_UNITES (Code, Nom, Actif) VALUES ('173', 'mg(NO3)/L', NULL)")));
    ASSERT_TRUE(executer(QStringLiteral(
        "UPDATE PARAMETRAGE_DATA SET libelle='Brute supprimée' WHERE projet='VYDA' AND id=3")));
    ASSERT_TRUE(mettreAJourBase(versionProgramme()));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code, Actif FROM ANALYSES_PARAMETRES ORDER BY Code")),
              QStringList({"1340|1", "9999|0"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code, Actif FROM ANALYSES_UNITES")),
              QStringList({"173|1"}));
    EXPECT_EQ(
        lignes(QStringLiteral("SELECT libelle FROM PARAMETRAGE_DATA WHERE projet='VYDA' AND id=3")),
        QStringList({"Brute modifiée"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT nom FROM FORMAT_DONNEES WHERE code='PC_CSV_NATIONAL'")),
              QStringList({"Physico-chimie nationale CSV (colonnes nommées)"}));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT code, nom FROM FORMAT_DONNEES WHERE code IN ('REPRISE_HISTO', "
                  "'EDILABO') ORDER BY code")),
              QStringList({"EDILABO|Mon EDI", "REPRISE_HISTO|REPRISE_HISTO"}));
    const QStringList apres = lignes(QStringLiteral("SELECT id, code, nom FROM FORMAT_DONNEES"));
    EXPECT_EQ(semerFormatsDonnees(), 0);
    EXPECT_EQ(lignes(QStringLiteral("SELECT id, code, nom FROM FORMAT_DONNEES")), apres);
}

// The national list of the level-1 hydro-ecoregions: its 22 codes, accented labels whole; a
// database whose list a user filled keeps its own entries.
TEST_P(DonneesInitialesTest, HydroecoregionsDeNiveau1)
{
    const QString requete = QStringLiteral(
        "SELECT Code, Libelle FROM CODES_SANDRE WHERE Champ='QUALITOMETRES.HER1' ORDER BY Code");
    const QStringList her = lignes(requete);
    ASSERT_EQ(her.size(), 22);
    EXPECT_EQ(her.first(), QStringLiteral("1|Pyrénées"));
    EXPECT_EQ(her[4], QStringLiteral("5|Jura ― Préalpes Nord"));
    EXPECT_EQ(her[19], QStringLiteral("20|Dépôts argilo-sableux"));
    EXPECT_EQ(her.last(), QStringLiteral("22|Ardennes"));
    EXPECT_FALSE(listesNomenclatureVides().contains(QStringLiteral("QUALITOMETRES.HER1")));

    ASSERT_TRUE(executer(QStringLiteral("DELETE FROM CODES_SANDRE WHERE Champ='QUALITOMETRES.HER1' "
                                        "AND Code <> 3")));
    ASSERT_TRUE(executer(QStringLiteral("UPDATE CODES_SANDRE SET Libelle='Massif Central (Sud)' "
                                        "WHERE Champ='QUALITOMETRES.HER1'")));
    EXPECT_EQ(ecrireDonneesInitiales(), 0);
    EXPECT_EQ(lignes(requete), QStringList({"3|Massif Central (Sud)"}));
}

TEST_P(DonneesInitialesTest, SecondeMiseAJourNAjouteRienEtGardeLesLibellesDesUtilisateurs)
{
    const QStringList avant = instantane();
    const long long instructions = bd().compteurInstructions();
    EXPECT_EQ(ecrireDonneesInitiales(), 0);
    // One read per seed and the few set-based statements, never one per row.
    EXPECT_LT(bd().compteurInstructions() - instructions, 30);
    ASSERT_TRUE(mettreAJourBase(versionProgramme()));
    EXPECT_EQ(instantane(), avant);

    // Labels changed by users stay; entry 1 of the threshold lists takes its name again; a list
    // a user emptied of one entry stays so, a list completed entry by entry gets it back.
    ASSERT_TRUE(executer(QStringLiteral(
        "UPDATE CODES_SANDRE SET Libelle='Présent / absent' WHERE Champ='ANALYSES.CODEREMARQUE' "
        "AND Code=4")));
    ASSERT_TRUE(executer(QStringLiteral(
        "UPDATE CODES_SANDRE SET Libelle='Très bon état' WHERE Champ='ETATS.VALEURS' AND Code=1")));
    ASSERT_TRUE(executer(QStringLiteral("UPDATE CODES_SANDRE SET Libelle='Nappes', Commentaire='x' "
                                        "WHERE Champ='SEUILS' AND Code=1")));
    ASSERT_TRUE(
        executer(QStringLiteral("UPDATE FINALITES SET Libelle='Autres' WHERE Code='ESO.1.1'")));
    ASSERT_TRUE(
        executer(QStringLiteral("UPDATE ETATS SET Libelle='Invertébrés' WHERE CodeEtat=0")));
    ASSERT_TRUE(executer(
        QStringLiteral("DELETE FROM CODES_SANDRE WHERE Champ='ANALYSES.LIEU' AND Code=2")));
    ASSERT_TRUE(executer(
        QStringLiteral("DELETE FROM CODES_SANDRE WHERE Champ='PRELEVEMENTS.VITESSE' AND Code=4")));
    ASSERT_TRUE(executer(QStringLiteral("DELETE FROM ANALYSES_SEUILS WHERE CodeParametre='1316'")));
    ASSERT_TRUE(mettreAJourBase(versionProgramme()));
    EXPECT_EQ(
        valeur(
            QStringLiteral(
                "SELECT Libelle FROM CODES_SANDRE WHERE Champ='ANALYSES.CODEREMARQUE' AND Code=4"))
            .toString(),
        QStringLiteral("Présent / absent"));
    EXPECT_EQ(valeur(QStringLiteral(
                         "SELECT Libelle FROM CODES_SANDRE WHERE Champ='ETATS.VALEURS' AND Code=1"))
                  .toString(),
              QStringLiteral("Très bon état"));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT Libelle, Commentaire FROM CODES_SANDRE WHERE Champ='SEUILS' AND Code=1")),
              QStringList({"SEQ-Eaux souterraines|Eaux souterraines"}));
    EXPECT_EQ(
        valeur(QStringLiteral("SELECT Libelle FROM FINALITES WHERE Code='ESO.1.1'")).toString(),
        QStringLiteral("Autres"));
    EXPECT_EQ(valeur(QStringLiteral("SELECT Libelle FROM ETATS WHERE CodeEtat=0")).toString(),
              QStringLiteral("Invertébrés"));
    EXPECT_EQ(
        valeur(QStringLiteral("SELECT count(*) FROM CODES_SANDRE WHERE Champ='ANALYSES.LIEU'"))
            .toInt(),
        2);
    EXPECT_EQ(valeur(QStringLiteral(
                         "SELECT count(*) FROM CODES_SANDRE WHERE Champ='PRELEVEMENTS.VITESSE'"))
                  .toInt(),
              7);
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM ANALYSES_SEUILS")).toInt(), 13);
}

// A seed whose batch cannot be written keeps nothing and says so; the seeds after it wait.
TEST_P(DonneesInitialesTest, SemenceNonEnregistreeNeGardeRienEtLeDit)
{
    toleranceErreurs = true;
    ASSERT_TRUE(executer(QStringLiteral("DELETE FROM ETATS")));
    ASSERT_TRUE(executer(QStringLiteral("DELETE FROM FINALITES")));
    BaseDonnees lecteur;
    refuserLesCommits(lecteur, QStringLiteral("FINALITES"));
    EXPECT_EQ(semerFinalites(bd()), -1);
    EXPECT_FALSE(bd().enTransaction());
    EXPECT_EQ(ecrireDonneesInitiales(bd()), -1);
    lecteur.fermerBase();
    EXPECT_EQ(lignes(QStringLiteral("SELECT count(*) FROM FINALITES")), QStringList({"0"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT count(*) FROM ETATS")), QStringList({"0"}));
    if (!estPostgres()) { // once the other workstation is gone
        EXPECT_EQ(semerFinalites(bd()), 10);
    }
}

TEST_P(DonneesInitialesTest, AncienneEchelleDesEtatsRemplacee)
{
    ASSERT_TRUE(executer(QStringLiteral("DELETE FROM CODES_SANDRE WHERE Champ='ETATS.VALEURS'")));
    for (const char *sql :
         {"INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES ('ETATS.VALEURS', 1, 'Bon')",
          "INSERT INTO CODES_SANDRE (Champ, Code, Libelle) VALUES ('ETATS.VALEURS', 2, 'Mauvais')"})
        ASSERT_TRUE(executer(QString::fromUtf8(sql)));
    semerListesCodees();
    EXPECT_EQ(
        lignes(QStringLiteral(
            "SELECT Code, Libelle FROM CODES_SANDRE WHERE Champ='ETATS.VALEURS' ORDER BY Code")),
        QStringList({"0|Inconnu", "1|Très bon", "2|Bon", "3|Moyen", "4|Médiocre", "5|Mauvais"}));
}

TEST_P(DonneesInitialesTest, CalendrierDesPeriodesEtAnneeHydrologique)
{
    const QString requete = QStringLiteral(
        "SELECT Jour, Jour_inverse, Decade, Decade_inverse, Mois, Mois_inverse, Trimestre, "
        "Trimestre_inverse, Annee, Annee_inverse, Hydro, Hydro_inverse FROM PERIODES WHERE "
        "Jour IN ('29/02/', '11/08/', '21/09/', '01/01/', '31/12/') ORDER BY Jour_inverse");
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM PERIODES")).toInt(), 366);
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(DISTINCT Jour) FROM PERIODES")).toInt(), 366);
    EXPECT_EQ(
        lignes(requete),
        QStringList(
            {"01/01/|01/01/|05/01/|01/05/|15/01/|01/15/|15/02/|02/15/|01/07/|07/01/|01/01/|01/01/",
             "29/02/|02/29/|25/02/|02/25/|15/02/|02/15/|15/02/|02/15/|01/07/|07/01/|01/01/|01/01/",
             "11/08/|08/11/|15/08/|08/15/|15/08/|08/15/|15/08/|08/15/|01/07/|07/01/|01/01/|01/01/",
             "21/09/|09/21/|25/09/|09/25/|15/09/|09/15/|15/08/|08/15/|01/07/|07/01/|01/02/|02/01/",
             "31/12/|12/31/|25/12/|12/25/|15/12/|12/15/|15/11/|11/15/|01/07/|07/01/|01/02/|02/"
             "01/"}));

    // The hydrological year now starts in October; the calendar seed follows the setting.
    ASSERT_TRUE(recalculerPeriodesHydro(10));
    EXPECT_EQ(lignes(QStringLiteral("SELECT Hydro, Hydro_inverse, count(*) FROM PERIODES GROUP BY "
                                    "Hydro, Hydro_inverse ORDER BY "
                                    "Hydro")),
              QStringList({"01/01/|01/01/|274", "01/02/|02/01/|92"}));
    EXPECT_EQ(valeur(QStringLiteral("SELECT Hydro FROM PERIODES WHERE Jour='30/09/'")).toString(),
              QStringLiteral("01/01/"));
    EXPECT_EQ(valeur(QStringLiteral("SELECT Hydro FROM PERIODES WHERE Jour='01/10/'")).toString(),
              QStringLiteral("01/02/"));
    ASSERT_TRUE(ecrireRegistre(QStringLiteral("MoisDebutAnneeHydro"), QStringLiteral("10")));
    EXPECT_EQ(moisHydrologique(), 10);
    EXPECT_EQ(semerPeriodes(bd(), moisHydrologique()), 0);
    ASSERT_TRUE(ecrireRegistre(QStringLiteral("MoisDebutAnneeHydro"), QStringLiteral("09")));
    EXPECT_EQ(semerPeriodes(bd(), moisHydrologique()), 366);
    EXPECT_EQ(valeur(QStringLiteral("SELECT Hydro FROM PERIODES WHERE Jour='01/09/'")).toString(),
              QStringLiteral("01/02/"));
    // A month out of the year changes nothing.
    EXPECT_FALSE(recalculerPeriodesHydro(13));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM PERIODES WHERE Hydro='01/02/'")).toInt(),
              122);
}

VYK_SUR_LES_DEUX_MOTEURS(DonneesInitialesTest);

} // namespace
