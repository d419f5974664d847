#include "demandes/Demandes.h"
#include "db/Session.h"

#include "DonneesDemandes.h"

using namespace vyk;
using vyk::test::DemandesTest;

namespace {

const char *SQL_SITES = "SELECT codeDemande, codeQualitometre FROM QUALITOMETRES_DEMANDES_SITES "
                        "ORDER BY codeDemande, codeQualitometre";
const char *SQL_PARAMETRES =
    "SELECT codeDemande, codeParametre, codeUnite, codeLieu, codeFraction, codeSupport, insitu "
    "FROM QUALITOMETRES_DEMANDES_PARAMETRES ORDER BY codeDemande, codeParametre";

TEST_P(DemandesTest, UnEnregistrementEcritLaDemandeSesStationsEtSesParametresNommes)
{
    FicheDemande f = demandeComplete();
    f.definir(DemReferenceMarche, QStringLiteral("M-2026'01"));
    const CompteRendu r = enregistrerDemande(f);
    ASSERT_TRUE(r.ok) << qPrintable(r.texte);
    EXPECT_EQ(r.texte, "Enregistrement de la demande terminé.");
    EXPECT_EQ(f.code, 1);
    EXPECT_EQ(lignes("SELECT codeDemande, libelle, dateDemande, dateDebutApplication, "
                     "dateFinApplication, typeDemande, codeIntervenant, codePrestataire, "
                     "codePreleveur, codeSupport, referenceMarche, contexteCodification, loginmaj "
                     "FROM QUALITOMETRES_DEMANDES"),
              QStringList{"1|Tournée mai|02/05/2026|04/05/2026|06/05/2026|3|10|20|20|3|M-2026'01|1|"
                          "ADMIN"});
    EXPECT_EQ(lignes(SQL_SITES), (QStringList{"1|1", "1|2"}));
    EXPECT_EQ(lignes(SQL_PARAMETRES), (QStringList{"1|1302|264|1|23|3|1", "1|1340|162|2|23|3|0"}));

    // Saving again rewrites the same rows; a second request takes the next number.
    f.stations = {2};
    ASSERT_TRUE(enregistrerDemande(f).ok);
    EXPECT_EQ(f.code, 1);
    EXPECT_EQ(lignes(SQL_SITES), QStringList{"1|2"});
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES_DEMANDES").toInt(), 1);
    FicheDemande g = demandeComplete();
    ASSERT_TRUE(enregistrerDemande(g).ok);
    EXPECT_EQ(g.code, 2);

    FicheDemande relue;
    ASSERT_TRUE(lireDemande(1, relue));
    EXPECT_EQ(relue.textes, f.textes);
    EXPECT_EQ(relue.stations, QVector<int>{2});
    EXPECT_EQ(textes(relue.parametres), (QStringList{"1302|264|1|23|3|1", "1340|162|2|23|3|0"}));
    EXPECT_FALSE(lireDemande(9, relue));
}

TEST_P(DemandesTest, UneLigneIncompleteOuUnChampIllisibleRefusentToutSansRienEcrire)
{
    FicheDemande f = demandeComplete();
    ASSERT_TRUE(enregistrerDemande(f).ok);
    const QStringList avant = lignes(SQL_PARAMETRES);
    for (const int colonne : {ParParametre, ParUnite, ParLieu, ParFraction}) {
        FicheDemande g = f;
        g.stations = {3};
        g.parametres[1][colonne] = QStringLiteral("  ");
        const CompteRendu r = enregistrerDemande(g);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.texte, "Certains paramètres ou leurs unités correspondantes ne sont pas "
                           "renseignés. Vous devez également renseigner les lieux et fractions "
                           "de prélèvements.");
    }
    FicheDemande g = f;
    g.definir(DemDebut, QStringLiteral("31/02/2026"));
    EXPECT_EQ(enregistrerDemande(g).texte,
              "La valeur de « Début de la relance » n'est pas correcte.");
    g = f;
    g.parametres[0][ParParametre] = QStringLiteral("1234567");
    EXPECT_EQ(enregistrerDemande(g).texte,
              "La valeur de « Paramètre » n'est pas correcte pour la ligne 1.");
    EXPECT_EQ(lignes(SQL_PARAMETRES), avant);
    EXPECT_EQ(lignes(SQL_SITES), (QStringList{"1|1", "1|2"}));
}

TEST_P(DemandesTest, LaSuppressionDemandeConfirmationEtEmporteLHistorique)
{
    FicheDemande f = demandeComplete();
    ASSERT_TRUE(enregistrerDemande(f).ok);
    ASSERT_TRUE(executer("INSERT INTO QUALITOMETRES_DEMANDES_HISTORIQUES (codeDemande, "
                         "nomFichier) VALUES (1, 'Tournée mai.xml')"));
    test::Reponses reponses;
    CompteRendu r = supprimerDemande(1, reponses.fonction());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(reponses.questions, QStringList{"Supprimer la demande:Tournée mai ?"});
    EXPECT_EQ(valeur("SELECT count(*) FROM QUALITOMETRES_DEMANDES_PARAMETRES").toInt(), 2);

    reponses.reponse = true;
    r = supprimerDemande(1, reponses.fonction());
    ASSERT_TRUE(r.ok) << qPrintable(r.texte);
    for (const char *table :
         {"QUALITOMETRES_DEMANDES", "QUALITOMETRES_DEMANDES_SITES",
          "QUALITOMETRES_DEMANDES_PARAMETRES", "QUALITOMETRES_DEMANDES_HISTORIQUES"})
        EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM ") + table).toInt(), 0) << table;

    // The next request reuses number 1 and starts with an empty history.
    FicheDemande g = demandeComplete();
    ASSERT_TRUE(enregistrerDemande(g).ok);
    EXPECT_EQ(g.code, 1);
    EXPECT_TRUE(historiqueDemande(1).isEmpty());
    EXPECT_EQ(supprimerDemande(7, reponses.fonction()).texte, "La demande 7 n'existe pas.");
}

TEST_P(DemandesTest, LaListeMontreLesPlusRecentesDAbordAvecLaboEtCampagne)
{
    ASSERT_TRUE(executer("INSERT INTO CAMPAGNES (codeCampagne, libelle, typeCampagne) VALUES (5, "
                         "'Suivi 2026', 3)"));
    FicheDemande a = demandeComplete();
    ASSERT_TRUE(enregistrerDemande(a).ok);
    FicheDemande b = demandeComplete();
    b.definir(DemLibelle, QStringLiteral("Seconde"));
    b.definir(DemPrestataire, QString());
    b.definir(DemCampagne, QStringLiteral("5"));
    ASSERT_TRUE(enregistrerDemande(b).ok);
    const QVector<LigneListeDemande> l = listeDemandes();
    ASSERT_EQ(l.size(), 2);
    EXPECT_EQ(l[0].code, 2);
    EXPECT_EQ(l[0].libelle, "Seconde");
    EXPECT_EQ(l[0].laboratoire, "");
    EXPECT_EQ(l[0].campagne, "Suivi 2026");
    EXPECT_EQ(l[1].code, 1);
    EXPECT_EQ(l[1].libelle, "Tournée mai");
    EXPECT_EQ(l[1].dateDemande, "02/05/2026");
    EXPECT_EQ(l[1].debut, "04/05/2026");
    EXPECT_EQ(l[1].fin, "06/05/2026");
    EXPECT_EQ(l[1].codeLabo, "20");
    EXPECT_EQ(l[1].laboratoire, "Labo <Rivières>");
    EXPECT_EQ(l[1].typeDemande, "3");
    EXPECT_EQ(l[1].campagne, "");
}

TEST_P(DemandesTest, LesStationsSontDonneesParLeurCodeAvecIdentifiantEtNom)
{
    const QVector<StationDemande> s = stationsDemande({3, 9, 1});
    ASSERT_EQ(s.size(), 3);
    EXPECT_EQ(QStringList({QString::number(s[0].code), s[0].identifiant, s[0].nom}).join(u'|'),
              "3|MER03|Côte");
    // A code naming no station keeps its number and has no name.
    EXPECT_EQ(QStringList({QString::number(s[1].code), s[1].identifiant, s[1].nom}).join(u'|'),
              "9|9|");
    EXPECT_EQ(QStringList({QString::number(s[2].code), s[2].identifiant, s[2].nom}).join(u'|'),
              "1|05100000|La Garonne");

    // Without a signed-in user, every station is offered.
    session().vider();
    QStringList proposees;
    for (const EntreeCodee &e : stationsProposees())
        proposees << e.code + u'=' + e.libelle;
    EXPECT_EQ(proposees, (QStringList{"1=05100000 La Garonne", "2=BSS002 Forage", "3=MER03 Côte"}));
}

TEST_P(DemandesTest, LaCopieEstUneNouvelleDemandeEtLOriginalReste)
{
    FicheDemande f = demandeComplete();
    ASSERT_TRUE(enregistrerDemande(f).ok);
    FicheDemande copie = dupliquerDemande(f);
    EXPECT_EQ(copie.code, 0);
    EXPECT_EQ(copie.texte(DemLibelle), "Tournée mai (copie)");
    modifierParametres(copie.parametres, ParFraction, QStringLiteral("Eau filtrée [3]"));
    modifierParametres(copie.parametres, ParLieu, QStringLiteral("1"));
    EXPECT_EQ(textes(copie.parametres), (QStringList{"1340|162|1|3|3|0", "1302|264|1|3|3|1"}));
    ASSERT_TRUE(enregistrerDemande(copie).ok);
    EXPECT_EQ(copie.code, 2);
    EXPECT_EQ(lignes(SQL_PARAMETRES), (QStringList{"1|1302|264|1|23|3|1", "1|1340|162|2|23|3|0",
                                                   "2|1302|264|1|3|3|1", "2|1340|162|1|3|3|0"}));
    FicheDemande longue = f;
    longue.definir(DemLibelle, QString(100, u'x'));
    EXPECT_EQ(dupliquerDemande(longue).texte(DemLibelle).size(), 100);
}

TEST_P(DemandesTest, LaCampagneDonneSesChampsSesStationsDansLOrdreDePassageEtSesParametres)
{
    const char *campagne[] = {
        "INSERT INTO CAMPAGNES (codeCampagne, libelle, dateDebutApplication, dateFinApplication, "
        "typeDemande, contexteCodification, codeIntervenant, codePrestataire, codePayeur, "
        "codePreleveur, codeSupport, referenceMarche, commentaire, nomContact, "
        "codeListeParametres, typeCampagne) VALUES (7, 'Campagne été', '15/06/2026', "
        "'10/08/2026', '3', '1', '10', '20', '40', '20', '3', 'M-2026-4', 'Deux passages', "
        "'J. Martin', 'L12', 3)",
        "INSERT INTO CAMPAGNES_SITES (codeCampagne, codeSite, ordrePassage) VALUES (7, 3, 1)",
        "INSERT INTO CAMPAGNES_SITES (codeCampagne, codeSite, ordrePassage) VALUES (7, 1, 2)",
        "INSERT INTO CAMPAGNES_PARAMETRES (codeCampagne, codeParametre, codeUnite, codeLieu, "
        "codeFraction, codeSupport) VALUES (7, '1340', '162', '2', '23', '3')",
        "INSERT INTO CAMPAGNES_PARAMETRES (codeCampagne, codeParametre, codeUnite, codeLieu, "
        "codeFraction, codeSupport) VALUES (7, '1302', '264', '1', '23', '3')",
    };
    for (const char *sql : campagne)
        ASSERT_TRUE(executer(sql)) << sql;
    const InitialisationCampagne init = demandeDepuisCampagne(7);
    ASSERT_TRUE(init.trouvee);
    const FicheDemande &f = init.fiche;
    EXPECT_EQ(f.code, 0);
    EXPECT_EQ(f.texte(DemLibelle), "Campagne été");
    EXPECT_EQ(f.texte(DemDebut), "15/06/2026");
    EXPECT_EQ(f.texte(DemFin), "10/08/2026");
    EXPECT_EQ(f.texte(DemEmetteur), "10");
    EXPECT_EQ(f.texte(DemPrestataire), "20");
    EXPECT_EQ(f.texte(DemPayeur), "");
    EXPECT_EQ(f.texte(DemPreleveur), "20");
    EXPECT_EQ(f.texte(DemType), "3");
    EXPECT_EQ(f.texte(DemContexte), "1");
    EXPECT_EQ(f.texte(DemSupport), "3");
    EXPECT_EQ(f.texte(DemReferenceMarche), "M-2026-4");
    EXPECT_EQ(f.texte(DemCommentaire), "Deux passages");
    EXPECT_EQ(f.texte(DemContact), "J. Martin");
    EXPECT_EQ(f.texte(DemListeParametres), "L12");
    EXPECT_EQ(f.texte(DemCampagne), "7");
    EXPECT_EQ(f.stations, (QVector<int>{3, 1}));
    EXPECT_EQ(textes(f.parametres), (QStringList{"1302|264|1|23|3|0", "1340|162|2|23|3|0"}));
    EXPECT_EQ(init.message(), "Les intervenants suivants n'ont pas pu être initialisés car ils "
                              "ne possèdent pas de code Sandre:\nBureau sans code");

    int code = 0;
    const CompteRendu r = creerDemandeDepuisCampagne(7, &code);
    ASSERT_TRUE(r.ok) << qPrintable(r.texte);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(lignes("SELECT codeCampagne, libelle FROM QUALITOMETRES_DEMANDES"),
              QStringList{"7|Campagne été"});
    EXPECT_FALSE(demandeDepuisCampagne(8).trouvee);
    EXPECT_EQ(creerDemandeDepuisCampagne(8).texte, "La campagne 8 n'existe pas.");
}

} // namespace

VYK_SUR_LES_DEUX_MOTEURS(DemandesTest);
