#include "db/Progression.h"
#include "db/Session.h"
#include "monitoring/EditionQualitometre.h"
#include "monitoring/ListeStationsQualite.h"
#include "monitoring/Qualitometre.h"
#include "schema/Catalogue.h"
#include "schema/MiseAJour.h"
#include "schema/TableAnalyses.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class FicheQualitometreTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(verifierVersionBase(versionProgramme()));
        connecterAdministrateur();
    }

    // A user who sees only the stations granted to them.
    void utilisateurRestreint()
    {
        session().vider();
        session().login = QStringLiteral("JEAN");
        session().habilitations = QStringLiteral(",QUALITO_FICHE_MODIF,");
        ASSERT_TRUE(executer(
            "INSERT INTO UTILISATEURS (login, password, isAdmin) VALUES ('JEAN', 'X', '0')"));
        ASSERT_TRUE(executer("INSERT INTO UTILISATEURS_HABILITATIONS (login, habilitation) VALUES "
                             "('JEAN', 'QUALITO_FICHE_MODIF')"));
    }

    static void remplir(EditionQualitometre &fiche, const QString &type, const QString &code,
                        const QString &nom)
    {
        fiche.nouveau();
        fiche.definir(QStringLiteral("typeStation"), type);
        fiche.definir(type == QLatin1String("0") ? champFiche::NumeroBSS : champFiche::Identifiant,
                      code);
        fiche.definir(QStringLiteral("Nom"), nom);
    }

    QString dernierMessage()
    {
        return messages().messages().isEmpty() ? QString() : messages().messages().last().texte;
    }
    qint64 nbStations() { return valeur("SELECT count(*) FROM QUALITOMETRES").toLongLong(); }
};

TEST_P(FicheQualitometreTest, PremiereStationCodeUnEtEcritureDeLaFiche)
{
    ASSERT_TRUE(executer("INSERT INTO AQUIFERES (CodeAquifere, libelle) VALUES (7, 'Alluvions')"));
    ASSERT_TRUE(
        executer("INSERT INTO MASSES_EAUX (Code_ME, Libelle) VALUES ('FRDG101', 'Calcaires')"));
    ASSERT_TRUE(executer("INSERT INTO ENTITES_HYDROGEOLOGIQUES (CodeEntiteHydro, Nom) VALUES (12, "
                         "'Nappe du Rhin')"));
    EditionQualitometre fiche;
    remplir(fiche, QStringLiteral("0"), QStringLiteral("06987X0012"),
            QStringLiteral("Puits du moulin"));
    fiche.definir(QStringLiteral("Designation"), QStringLiteral("F1"));
    fiche.definir(QStringLiteral("DateCreation"), QStringLiteral("15/03/2001"));
    fiche.definir(QStringLiteral("X"), QStringLiteral("871234,5"));
    fiche.definir(QStringLiteral("Y"), QStringLiteral("6412345.25"));
    fiche.definir(QStringLiteral("canal"), QStringLiteral("0"));
    fiche.definir(QStringLiteral("classeCalcium"), QStringLiteral("2"));
    fiche.definir(champFiche::Aquifere, QStringLiteral("7"));
    fiche.definir(champFiche::MasseEau, QStringLiteral("FRDG101"));
    fiche.definir(champFiche::EntiteHydro, QStringLiteral("12"));
    fiche.definir(champFiche::CarteIGN, QStringLiteral("3418 OT"));
    ASSERT_TRUE(montrer(fiche.enregistrer())) << qPrintable(dernierMessage());
    EXPECT_EQ(messages().messages().last().genre, QStringLiteral("AIDE"));
    EXPECT_EQ(dernierMessage(),
              QStringLiteral("Enregistrement de la fiche du qualitomètre terminé."));
    EXPECT_EQ(fiche.code(), QStringLiteral("1"));

    EXPECT_EQ(lignes("SELECT CodeQualitometre, CodeBSS, Designation, Nom, typeStation, X, Y, "
                     "canal, classeCalcium, loginmaj FROM QUALITOMETRES"),
              QStringList({"1|06987X0012|F1|Puits du moulin|0|871234.5|6412345.25|0|2|ADMIN"}));
    EXPECT_EQ(lignes("SELECT CodeAquifere FROM LIEN_QUALITO_AQUIFERE WHERE CodeQualitometre=1"),
              QStringList({"7"}));
    EXPECT_EQ(lignes("SELECT Code_ME, Type FROM LIEN_QUALITO_MASSE_EAU WHERE CodeQualitometre=1"),
              QStringList({"FRDG101|0"}));
    EXPECT_EQ(lignes("SELECT CodeEntiteHydro FROM LIEN_QUALITO_ENTITE_HYDRO"), QStringList({"12"}));
    EXPECT_EQ(
        lignes("SELECT carteIGN, parcelle FROM QUALITOMETRES_INFO_GEO WHERE codeQualitometre=1"),
        QStringList({"3418 OT|"}));
    EXPECT_EQ(lignes("SELECT Titre, description FROM JOURNAL WHERE Titre LIKE 'Date de cr%' OR "
                     "Titre LIKE 'Modification de la fiche%' ORDER BY Titre"),
              QStringList({"Date de création Qualito|Modification de la date de création du "
                           "qualitomètre (1) à la date du: 15/03/2001",
                           "Modification de la fiche du qualitomètre 06987X0012|"}));

    // The card reads back what it wrote; a second save updates the same rows.
    EditionQualitometre relue;
    ASSERT_TRUE(relue.charger(1));
    EXPECT_EQ(relue.valeur(champFiche::NumeroBSS), QStringLiteral("06987X0012"));
    EXPECT_EQ(relue.valeur(QStringLiteral("DateCreation")), QStringLiteral("15/03/2001"));
    EXPECT_EQ(relue.valeur(QStringLiteral("X")), QStringLiteral("871234.5"));
    EXPECT_EQ(relue.valeur(champFiche::MasseEau), QStringLiteral("FRDG101"));
    EXPECT_TRUE(relue.derniereModification().endsWith(QStringLiteral(" par ADMIN")));
    relue.definir(champFiche::Aquifere, QString());
    relue.definir(champFiche::MasseEau, QString());
    relue.definir(QStringLiteral("Nom"), QStringLiteral("Puits neuf"));
    ASSERT_TRUE(montrer(relue.enregistrer()));
    EXPECT_EQ(lignes("SELECT CodeQualitometre, Nom FROM QUALITOMETRES"),
              QStringList({"1|Puits neuf"}));
    EXPECT_EQ(valeur("SELECT count(*) FROM LIEN_QUALITO_AQUIFERE").toInt(), 0);
    EXPECT_EQ(valeur("SELECT count(*) FROM LIEN_QUALITO_MASSE_EAU").toInt(), 0);
    EXPECT_EQ(valeur("SELECT count(*) FROM LIEN_QUALITO_ENTITE_HYDRO").toInt(), 1);
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES_INFO_GEO").toInt(), 1);

    // The next station follows the highest code, even after a gap.
    ASSERT_TRUE(executer("UPDATE QUALITOMETRES SET CodeQualitometre = 40"));
    EXPECT_EQ(nouveauCodeQualitometre(), 41);
}

// Another workstation inserting the next station and committing a little later: the card's new
// code is read once that one is written, not before, and the two codes differ.
TEST_P(FicheQualitometreTest, DeuxPostesCreantUneStationObtiennentDeuxCodes)
{
    EditionQualitometre premiere;
    remplir(premiere, QStringLiteral("1"), QStringLiteral("RIV1"), QStringLiteral("Amont"));
    ASSERT_TRUE(montrer(premiere.enregistrer()));
    EditionQualitometre fiche;
    remplir(fiche, QStringLiteral("1"), QStringLiteral("RIV3"), QStringLiteral("Source"));
    bool enregistree = false;
    ASSERT_TRUE(pendantUneEcritureConcurrente(
        QStringLiteral("QUALITOMETRES"),
        QStringLiteral("INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, typeStation) "
                       "VALUES (2, 'RIV2', 'Aval', 1)"),
        [&] { enregistree = montrer(fiche.enregistrer()); }));
    EXPECT_TRUE(enregistree) << qPrintable(dernierMessage());
    EXPECT_EQ(fiche.code(), QStringLiteral("3"));
    EXPECT_EQ(
        lignes("SELECT CodeQualitometre, CodeBSS FROM QUALITOMETRES ORDER BY CodeQualitometre"),
        QStringList({"1|RIV1", "2|RIV2", "3|RIV3"}));
}

TEST_P(FicheQualitometreTest, VerificationsRassembleesEtRienNEstEcrit)
{
    EditionQualitometre fiche;
    const QString entete = QStringLiteral(
        "Merci de corriger les erreurs suivantes pour pouvoir enregistrer le qualitomètre: ");
    for (const QString &bss : {QStringLiteral("0698 X0012"), QStringLiteral("   "), QString()}) {
        remplir(fiche, QStringLiteral("0"), bss, QStringLiteral("Puits"));
        fiche.definir(QStringLiteral("DateCreation"), QStringLiteral("31/02/2001"));
        fiche.definir(QStringLiteral("DateFermeture"), QStringLiteral("2001"));
        EXPECT_FALSE(montrer(fiche.enregistrer()));
        EXPECT_EQ(messages().messages().last().genre, QStringLiteral("ERREUR"));
        EXPECT_EQ(dernierMessage(),
                  entete + QStringLiteral("\nle numéro BSS est vide ou incorrect"
                                          "\nla date de création n'est pas au format jj/mm/yyyy"
                                          "\nla date de fermeture n'est pas au format jj/mm/yyyy"));
    }
    remplir(fiche, QStringLiteral("1"), QStringLiteral(" "), QStringLiteral("Rivière"));
    EXPECT_FALSE(montrer(fiche.enregistrer()));
    EXPECT_EQ(dernierMessage(), entete + QStringLiteral("\nl'identifiant est vide"));

    // Numbers and lengths the columns cannot hold, and a code that cannot name a table.
    remplir(fiche, QStringLiteral("1"), QStringLiteral("AB\"1"), QString(71, u'n'));
    fiche.definir(QStringLiteral("Altitude"), QStringLiteral("haut"));
    EXPECT_FALSE(montrer(fiche.enregistrer()));
    EXPECT_EQ(dernierMessage(),
              entete + QStringLiteral(
                           "\nLe code « AB\"1 » ne peut pas servir à nommer une table de la base."
                           "\nle texte de « Nom » dépasse 70 caractères"
                           "\nla valeur de « Altitude » n'est pas un nombre"));
    remplir(fiche, QStringLiteral("1"), QStringLiteral("IDENTIFIANT-TROP-LONG"),
            QStringLiteral("R"));
    EXPECT_FALSE(montrer(fiche.enregistrer()));
    EXPECT_EQ(dernierMessage(),
              entete + QStringLiteral("\nle texte de « Identifiant » dépasse 17 caractères"));
    EXPECT_EQ(nbStations(), 0);
    EXPECT_EQ(valeur("SELECT count(*) FROM JOURNAL WHERE Titre LIKE 'Modification%'").toInt(), 0);

    // A river identifier may hold a space: the analysis table name is quoted.
    remplir(fiche, QStringLiteral("1"), QStringLiteral("Le Rhône 2"), QStringLiteral("Rhône"));
    EXPECT_TRUE(montrer(fiche.enregistrer())) << qPrintable(dernierMessage());
}

// A station saved without a type is a river: its identifier is checked, it is stored as type "1".
TEST_P(FicheQualitometreTest, SansTypeUnCoursDEau)
{
    EditionQualitometre fiche;
    fiche.nouveau();
    fiche.definir(champFiche::NumeroBSS, QStringLiteral("06987X0012"));
    EXPECT_FALSE(montrer(fiche.enregistrer()));
    EXPECT_EQ(dernierMessage(),
              QStringLiteral("Merci de corriger les erreurs suivantes pour pouvoir enregistrer le "
                             "qualitomètre: \nl'identifiant est vide"));
    fiche.definir(champFiche::Identifiant, QStringLiteral("V7"));
    ASSERT_TRUE(montrer(fiche.enregistrer()));
    EXPECT_EQ(lignes("SELECT CodeBSS, typeStation, Designation FROM QUALITOMETRES"),
              QStringList({"V7|1|"}));
}

TEST_P(FicheQualitometreTest, CodePublicUniqueSelonLesDroits)
{
    EditionQualitometre fiche;
    remplir(fiche, QStringLiteral("0"), QStringLiteral("06987X0012"), QStringLiteral("Puits"));
    ASSERT_TRUE(montrer(fiche.enregistrer()));

    // Type "1" identifiers and BSS numbers share CodeBSS.
    remplir(fiche, QStringLiteral("1"), QStringLiteral("06987X0012"), QStringLiteral("Rivière"));
    EXPECT_FALSE(montrer(fiche.enregistrer()));
    EXPECT_EQ(messages().messages().last().genre, QStringLiteral("ERREUR"));
    EXPECT_EQ(dernierMessage(),
              QStringLiteral("Une station (1-Puits) utilise déjà cet identifiant. Saisissez un "
                             "nouvel identifiant avant d'enregistrer."));
    // Codes differing by case would share one analysis table.
    remplir(fiche, QStringLiteral("0"), QStringLiteral("06987x0012"), QStringLiteral("Autre"));
    EXPECT_FALSE(montrer(fiche.enregistrer()));
    EXPECT_EQ(
        dernierMessage(),
        QStringLiteral(
            "Une station ( 1-Puits) utilise déjà ce numéro BSS. Saisissez un nouveau numéro BSS "
            "avant d'enregistrer."));

    utilisateurRestreint();
    remplir(fiche, QStringLiteral("0"), QStringLiteral("06987X0012"), QStringLiteral("Autre"));
    EXPECT_FALSE(montrer(fiche.enregistrer()));
    EXPECT_EQ(
        dernierMessage(),
        QStringLiteral(
            "Un site ( 1-Puits) utilise déjà ce numéro BSS mais vous ne disposez pas des droits "
            "nécessaires pour le consulter. Merci de contacter votre administrateur."));
    ASSERT_TRUE(
        executer("INSERT INTO UTILISATEURS_STATIONS VALUES ('JEAN', 'QUALITO', '1', 'SINGLE')"));
    EXPECT_FALSE(montrer(fiche.enregistrer()));
    EXPECT_EQ(
        dernierMessage(),
        QStringLiteral(
            "Une station ( 1-Puits) utilise déjà ce numéro BSS. Saisissez un nouveau numéro BSS "
            "avant d'enregistrer."));
    EXPECT_EQ(nbStations(), 1);
}

TEST_P(FicheQualitometreTest, UtilisateurRestreintVoitLaStationQuIlCree)
{
    EditionQualitometre admin;
    remplir(admin, QStringLiteral("1"), QStringLiteral("R1"), QStringLiteral("Autre rivière"));
    ASSERT_TRUE(montrer(admin.enregistrer()));

    utilisateurRestreint();
    EXPECT_TRUE(chargerListeQualitometres(false).lignes.isEmpty());
    EditionQualitometre fiche;
    remplir(fiche, QStringLiteral("1"), QStringLiteral("R2"), QStringLiteral("Ma rivière"));
    ASSERT_TRUE(montrer(fiche.enregistrer())) << qPrintable(dernierMessage());
    EXPECT_EQ(
        lignes("SELECT login, typeStation, identifiant, modeSelect FROM UTILISATEURS_STATIONS"),
        QStringList({"JEAN|QUALITO|2|SINGLE"}));
    const ListeStations liste = chargerListeQualitometres(false);
    EXPECT_EQ(liste.codes, QStringList({"2"}));
    // Saving again keeps one grant.
    ASSERT_TRUE(montrer(fiche.enregistrer()));
    EXPECT_EQ(valeur("SELECT count(*) FROM UTILISATEURS_STATIONS").toInt(), 1);
}

TEST_P(FicheQualitometreTest, EntiteGeleeAfficheeEtGardee)
{
    ASSERT_TRUE(executer("INSERT INTO ENTITES_HYDROGEOLOGIQUES (CodeEntiteHydro, Nom, Statut) "
                         "VALUES (5, 'Craie', 2)"));
    ASSERT_TRUE(executer("INSERT INTO ENTITES_HYDROGEOLOGIQUES (CodeEntiteHydro, Nom, Statut) "
                         "VALUES (9, 'Sables anciens', 4)"));
    ASSERT_TRUE(executer("INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, typeStation) "
                         "VALUES (3, 'B3', 'Forage', '0')"));
    ASSERT_TRUE(executer("INSERT INTO LIEN_QUALITO_ENTITE_HYDRO VALUES (3, 9)"));
    EditionQualitometre fiche;
    ASSERT_TRUE(fiche.charger(3));
    const EntreesCodees entites = fiche.entreesEntites();
    ASSERT_EQ(entites.size(), 2);
    EXPECT_EQ(entites[0].texte(), QStringLiteral("Craie [5]"));
    EXPECT_EQ(entites[1].texte(), QStringLiteral("Sables anciens - (code gelé) [9]"));
    EXPECT_EQ(fiche.valeur(champFiche::EntiteHydro), QStringLiteral("9"));
    ASSERT_TRUE(montrer(fiche.enregistrer()));
    EXPECT_EQ(lignes("SELECT CodeQualitometre, CodeEntiteHydro FROM LIEN_QUALITO_ENTITE_HYDRO"),
              QStringList({"3|9"}));
    // A station of another entity is offered the active ones only.
    EditionQualitometre nouvelle;
    nouvelle.nouveau();
    EXPECT_EQ(nouvelle.entreesEntites().size(), 1);
}

// The card's lists and header: station types, catchments level by level, the network joined
// last and the water-framework period of the DCE networks.
TEST_P(FicheQualitometreTest, ListesEtEnTeteDeLaFiche)
{
    QStringList types;
    for (const EntreeCodee &e : EditionQualitometre::entreesChamp(QStringLiteral("typeStation")))
        types << e.texte();
    EXPECT_EQ(types, QStringList({"Point eau souterraine [0]", "Cours d'eau [1]", "Plan d'eau [2]",
                                  "Grand cours d'eau [3]", "Milieu marin [4]",
                                  "Autres cours d'eau et ravines [5]", "Source [6]"}));

    const char *lignesSql[] = {
        "INSERT INTO BASSINS_VERSANTS (codeBV, Code, Nom) VALUES (1, 'RM', 'Rhône')",
        "INSERT INTO BASSINS_VERSANTS (codeBV, Code, Nom) VALUES (4, 'LB', 'Loire')",
        "INSERT INTO BASSINS_VERSANTS (codeBV, Code, Nom, Parent) VALUES (2, 'AIN', 'Ain', 'RM')",
        "INSERT INTO BASSINS_VERSANTS (codeBV, Code, Nom, Parent) VALUES (5, 'ARV', 'Arve', 'RM')",
        "INSERT INTO BASSINS_VERSANTS (codeBV, Code, Nom, Parent) VALUES (3, 'SUR', 'Suran', "
        "'AIN')",
        "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, typeStation) VALUES (5, 'V5', "
        "'Ain à Pont', '1')",
        "INSERT INTO RESEAUX (CodeReseau, Libelle, DCE) VALUES (3, 'RCS', '1')",
        "INSERT INTO RESEAUX (CodeReseau, Libelle, DCE) VALUES (4, 'Local', '0')",
        "INSERT INTO RESEAUX (CodeReseau, Libelle, DCE) VALUES (6, 'RCO', '1')",
        "INSERT INTO LIEN_QUALITO_RESEAUX VALUES (5, 3, #01/01/2007#, #12/31/2012#)",
        "INSERT INTO LIEN_QUALITO_RESEAUX VALUES (5, 4, #01/01/2015#, NULL)",
    };
    for (const char *l : lignesSql)
        ASSERT_TRUE(executer(QString::fromUtf8(l))) << l;
    auto noms = [](const EntreesCodees &e) {
        QStringList r;
        for (const EntreeCodee &x : e)
            r << x.texte();
        return r;
    };
    EXPECT_EQ(noms(EditionQualitometre::entreesChamp(QStringLiteral("codeBassinVersant"))),
              QStringList({"Loire [4]", "Rhône [1]"}));
    EXPECT_EQ(noms(EditionQualitometre::entreesBassins(2, QStringLiteral("1"))),
              QStringList({"Ain [2]", "Arve [5]"}));
    EXPECT_EQ(noms(EditionQualitometre::entreesBassins(3, QStringLiteral("2"))),
              QStringList({"Suran [3]"}));
    EXPECT_TRUE(EditionQualitometre::entreesBassins(2, QStringLiteral("4")).isEmpty());
    EXPECT_TRUE(EditionQualitometre::entreesBassins(2, QString()).isEmpty());

    EditionQualitometre fiche;
    ASSERT_TRUE(fiche.charger(5));
    EXPECT_EQ(fiche.entete().reseau, QStringLiteral("Local"));
    EXPECT_TRUE(fiche.entete().dce);
    EXPECT_EQ(fiche.entete().dceDebut + u'-' + fiche.entete().dceFin,
              QStringLiteral("01/01/2007-31/12/2012"));
    // Still in a DCE network: the period stays open.
    ASSERT_TRUE(executer("INSERT INTO LIEN_QUALITO_RESEAUX VALUES (5, 6, #01/01/2013#, NULL)"));
    ASSERT_TRUE(fiche.charger(5));
    EXPECT_EQ(fiche.entete().dceDebut + u'-' + fiche.entete().dceFin,
              QStringLiteral("01/01/2007-"));
    ASSERT_TRUE(executer("DELETE FROM LIEN_QUALITO_RESEAUX WHERE CodeReseau<>4"));
    ASSERT_TRUE(fiche.charger(5));
    EXPECT_FALSE(fiche.entete().dce);
    EXPECT_EQ(fiche.entete().reseau, QStringLiteral("Local"));
}

TEST_P(FicheQualitometreTest, ChargementAltitudeLienEtResume)
{
    EditionQualitometre fiche;
    const CompteRendu absente = fiche.charger(99);
    EXPECT_FALSE(absente.ok);
    EXPECT_EQ(absente.texte, QStringLiteral("Impossible de charger la fiche."));
    EXPECT_TRUE(messages().messages().isEmpty());

    const char *lignesSql[] = {
        "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom, typeStation, Altitude) VALUES "
        "(4, 'P4', 'Puits', '0', 10)",
        "INSERT INTO PIEZOMETRES (CodePiezometre, CodeBSS) VALUES (77, 'P4')",
        "INSERT INTO QUALITOMETRE_LOCALISATIONS (CodeQualitometre, CodeProjection, Z) VALUES (4, "
        "26, 123.5)",
        "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut) VALUES (1, 4, "
        "#05/02/2010#)",
        "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut) VALUES (2, 4, "
        "#07/14/2012#)",
        "INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, identifiant) VALUES (4, 1, "
        "'131')",
        "INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, identifiant) VALUES (4, 2, "
        "'031')",
        "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, codePoint, "
        "dateDebut, statut) "
        "VALUES (4, 1, 1, #06/01/2011#, 2)",
        "INSERT INTO QUALITOMETRES_POINTS_OPERATIONS (codeQualitometre, codeOperation, codePoint, "
        "dateDebut) VALUES (4, 2, 2, #06/01/2013#)",
        "INSERT INTO QUALITOMETRES_OPERATIONS_RESULTATS (codeQualitometre, codeOperation, indice, "
        "resultat) VALUES (4, 1, 1, 14)",
        // Benthic invertebrates (support 13) stay out of the sample summary.
        "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut, "
        "codeSupportPrincipal) VALUES (3, 4, #03/03/2014#, '13')",
        // Another station numbers its samples from 1 too.
        "INSERT INTO PRELEVEMENTS (NumPrelevement, CodeQualitometre, DateDebut) VALUES (1, 5, "
        "#09/09/2015#)",
    };
    for (const char *l : lignesSql)
        ASSERT_TRUE(executer(QString::fromUtf8(l))) << l;
    ASSERT_TRUE(executer(sqlCreationTableAnalyses(QStringLiteral("P4"))));
    ASSERT_TRUE(executer(
        "INSERT INTO ANALYSES_P4 (NumAnalyse, NumPrelevement, StatutMesure) VALUES (1, 2, '2')"));
    ASSERT_TRUE(executer(
        "INSERT INTO ANALYSES_P4 (NumAnalyse, NumPrelevement, StatutMesure) VALUES (2, 1, '3')"));
    ASSERT_TRUE(executer(
        "INSERT INTO ANALYSES_P4 (NumAnalyse, NumPrelevement, StatutMesure) VALUES (3, 3, '2')"));
    ASSERT_TRUE(fiche.charger(4));
    // Without an altimetric system, the first Z of the localisations.
    EXPECT_EQ(fiche.altitudeAffichee(), QStringLiteral("123.5"));
    EXPECT_EQ(fiche.codePiezometre(), QStringLiteral("77"));
    const ResumeDonnees &r = fiche.resume();
    ASSERT_EQ(r.lignes.size(), 4);
    EXPECT_EQ(r.lignes[0].premiere + u' ' + r.lignes[0].derniere,
              QStringLiteral("02/05/2010 14/07/2012"));
    EXPECT_EQ(r.lignes[0].nombre, 2);
    EXPECT_EQ(r.lignes[1].nombre,
              1); // the physico-chemical point's operation is not hydrobiological
    EXPECT_EQ(r.lignes[2].nombre, 1);
    EXPECT_EQ(r.derniereMesureStatut2, QStringLiteral("14/07/2012"));
    EXPECT_EQ(r.derniereMesureStatut3, QStringLiteral("02/05/2010"));
    EXPECT_EQ(r.derniereOperationStatut2, QStringLiteral("01/06/2011"));

    ASSERT_TRUE(executer("INSERT INTO SYSTEMES_ALTIMETRIQUES_QUALITO (CodeQualitometre, DateDebut, "
                         "Altitude) VALUES (4, #01/01/2000#, 98)"));
    ASSERT_TRUE(executer("INSERT INTO SYSTEMES_ALTIMETRIQUES_QUALITO (CodeQualitometre, DateDebut, "
                         "Altitude) VALUES (4, #01/01/2015#, 99.5)"));
    ASSERT_TRUE(fiche.charger(4));
    EXPECT_EQ(fiche.altitudeAffichee(), QStringLiteral("99.5"));
}

// The analysis table is named after the code: a new code takes the station's analyses with it.
TEST_P(FicheQualitometreTest, NouvelIdentifiantGardeLesAnalyses)
{
    EditionQualitometre fiche;
    remplir(fiche, QStringLiteral("1"), QStringLiteral("R1"), QStringLiteral("Ma rivière"));
    ASSERT_TRUE(montrer(fiche.enregistrer()));
    ASSERT_TRUE(creerTableAnalyses(QStringLiteral("R1")));
    ASSERT_TRUE(executer("INSERT INTO ANALYSES_R1 (NumAnalyse, NumPrelevement, CodeQualitometre, "
                         "Resultat) VALUES (0, 0, 1, 7.5)"));
    fiche.definir(champFiche::Identifiant, QStringLiteral("La Vézère 2"));
    ASSERT_TRUE(montrer(fiche.enregistrer())) << qPrintable(dernierMessage());
    EXPECT_FALSE(bd().tableExiste(QStringLiteral("ANALYSES_R1")));
    EXPECT_EQ(lignes(QStringLiteral("SELECT NumAnalyse, Resultat FROM ") +
                     tableAnalyses(QStringLiteral("La Vézère 2"))),
              QStringList({"0|7.5"}));
    EXPECT_TRUE(bd().indexExiste(QStringLiteral("ind_analyses_La Vézère 2")));
    EXPECT_FALSE(bd().indexExiste(QStringLiteral("ind_analyses_R1")));
    EXPECT_EQ(fiche.codeStocke(), QStringLiteral("La Vézère 2"));
    // A station created later with the old code starts with an empty table of its own.
    EditionQualitometre autre;
    remplir(autre, QStringLiteral("1"), QStringLiteral("R1"), QStringLiteral("Autre"));
    ASSERT_TRUE(montrer(autre.enregistrer()));
    ASSERT_TRUE(creerTableAnalyses(QStringLiteral("R1")));
    EXPECT_EQ(valeur("SELECT count(*) FROM ANALYSES_R1").toInt(), 0);
    EXPECT_TRUE(bd().indexExiste(QStringLiteral("ind_analyses_R1")));

    // A table of the new code left from elsewhere: refused, nothing changes.
    ASSERT_TRUE(creerTableAnalyses(QStringLiteral("R9")));
    fiche.definir(champFiche::Identifiant, QStringLiteral("R9"));
    fiche.definir(QStringLiteral("Nom"), QStringLiteral("Renommée"));
    EXPECT_FALSE(montrer(fiche.enregistrer()));
    EXPECT_EQ(messages().messages().last().genre, QStringLiteral("ERREUR"));
    EXPECT_EQ(dernierMessage(), QStringLiteral("Une table d'analyses existe déjà pour le code R9 : "
                                               "le qualitomètre garde son code La Vézère 2."));
    EXPECT_EQ(lignes("SELECT CodeBSS, Nom FROM QUALITOMETRES WHERE CodeQualitometre=1"),
              QStringList({"La Vézère 2|Ma rivière"}));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM ") +
                     tableAnalyses(QStringLiteral("La Vézère 2")))
                  .toInt(),
              1);
}

// The code on screen differs from the stored one: two questions, then the stored station goes.
TEST_P(FicheQualitometreTest, SuppressionApresChangementDIdentifiant)
{
    EditionQualitometre fiche;
    remplir(fiche, QStringLiteral("1"), QStringLiteral("R1"), QStringLiteral("Ma rivière"));
    ASSERT_TRUE(montrer(fiche.enregistrer()));
    ASSERT_TRUE(executer(sqlCreationTableAnalyses(QStringLiteral("R1"))));
    fiche.definir(champFiche::Identifiant, QStringLiteral("R2"));
    recus();
    const QString question = QStringLiteral(
        "QUESTION: Attention, l'identifiant de la station a change. Voulez vous supprimer la "
        "station Ma rivière avec le code R1 ?");
    const QString confirmation =
        QStringLiteral("QUESTION: Etes vous sur de vouloir supprimer la station Ma rivière et "
                       "toutes les mesures qu'il possède ?");
    EXPECT_FALSE(montrer(fiche.supprimer(progressionNulle())));
    messages().repondre(BoutonOui);
    messages().repondre(BoutonNon);
    EXPECT_FALSE(montrer(fiche.supprimer(progressionNulle())));
    EXPECT_EQ(recus(), QStringList({question, question, confirmation}));
    EXPECT_EQ(nbStations(), 1);
    EXPECT_TRUE(bd().tableExiste(QStringLiteral("ANALYSES_R1")));

    messages().repondre(BoutonOui);
    messages().repondre(BoutonOui);
    EXPECT_TRUE(montrer(fiche.supprimer(progressionNulle())));
    EXPECT_EQ(recus(), QStringList({question, confirmation,
                                    QStringLiteral("AIDE: Le qualitomètre a été supprimé.")}));
    EXPECT_EQ(nbStations(), 0);
    EXPECT_FALSE(bd().tableExiste(QStringLiteral("ANALYSES_R1")));
    EXPECT_EQ(lignes("SELECT Titre FROM JOURNAL WHERE Titre LIKE 'Suppression%'"),
              QStringList({"Suppression du qualitomètre R1"}));
    EXPECT_TRUE(fiche.estNouvelle());
}

TEST_P(FicheQualitometreTest, NavigationSurLesLignesVisibles)
{
    const QStringList visibles = {"3", "7", "9"};
    EXPECT_EQ(EditionQualitometre::codeVoisin(visibles, "9", 1), QStringLiteral("3"));
    EXPECT_EQ(EditionQualitometre::codeVoisin(visibles, "3", -1), QStringLiteral("9"));
    EXPECT_EQ(EditionQualitometre::codeVoisin(visibles, "3", 1), QStringLiteral("7"));
    EXPECT_EQ(EditionQualitometre::codeVoisin(visibles, "5", -1),
              QStringLiteral("9")); // hidden by the filter
    EXPECT_EQ(EditionQualitometre::codeVoisin({}, "5", 1), QString());
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(FicheQualitometreTest);
