#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/CompteRendu.h"
#include "db/Lot.h"
#include "referentials/ChoixTaxons.h"
#include "referentials/ModeleListeTaxons.h"
#include "referentials/PresenceTaxon.h"
#include "referentials/UsageTaxons.h"

#include "DonneesTaxons.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace vyk;

namespace {

// A purge as the screen runs it: its message shown; the number deleted, -1 when none was.
int purgerTaxons(ModeleListeTaxons &modele)
{
    int n = -1;
    return montrer(modele.purger(progressionNulle(), &n)) ? n : -1;
}

class TaxonsTest : public test::BaseTaxons
{
  protected:
    // Two stations with lists, a third without; taxa 100 (used at station 2 only), 200 (used at
    // both), 300 and 400 (unused).
    void referentiel()
    {
        station(1, QStringLiteral("BSS001"));
        station(2, QStringLiteral("BSS002"));
        station(3, QStringLiteral("BSS003"));
        taxon(QStringLiteral("100"), QStringLiteral("Baetis"));
        taxon(QStringLiteral("200"), QStringLiteral("Gammarus"));
        taxon(QStringLiteral("300"), QStringLiteral("Asellus"));
        taxon(QStringLiteral("400"), QStringLiteral("Caenis"), QStringLiteral("0"));
        ligneListe(1, 0, 1, QStringLiteral("200"));
        ligneListe(2, 0, 1, QStringLiteral("200"), 7);
        ligneListe(2, 1, 1, QStringLiteral("100"));
        ligneListe(2, 1, 2, QStringLiteral("200"));
    }

    ModeleListeTaxons modele;
};

TEST_P(TaxonsTest, UsageSurToutesLesListesEnPeuDeRequetes)
{
    referentiel();
    // A table left by a station that no longer exists is not a list of the base.
    ASSERT_TRUE(creerTableListeTaxons(9));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO QUALITOMETRES_LISTE_9 (codeOperation, codeListe, indice, codeTaxon) "
        "VALUES (0, 1, 1, '300')")));
    const auto tables = tablesListesTaxons();
    ASSERT_EQ(tables.size(), 2);
    EXPECT_EQ(tables[0].station, 1);
    EXPECT_EQ(tables[1].codeBSS, QStringLiteral("BSS002"));

    const long long avant = bd().compteurInstructions();
    EXPECT_EQ(taxonsUtilises(tables), QSet<QString>({"100", "200"}));
    EXPECT_TRUE(taxonUtilise(QStringLiteral("100"), tables));
    EXPECT_FALSE(taxonUtilise(QStringLiteral("300"), tables));
    EXPECT_EQ(presenceTaxonParStation(QStringLiteral("200"), tables),
              (QHash<qint64, long long>{{1, 1}, {2, 2}}));
    EXPECT_EQ(bd().compteurInstructions() - avant, 4)
        << "one statement per question, not one per station";
}

TEST_P(TaxonsTest, UsageAuDelaDUnGroupeDeTables)
{
    {
        Lot lot;
        for (int s = 1; s <= TABLES_PAR_REQUETE + 5; ++s) {
            station(s, QStringLiteral("S") + QString::number(s));
            ASSERT_TRUE(creerTableListeTaxons(s));
        }
    }
    taxon(QStringLiteral("100"), QStringLiteral("Baetis"), QStringLiteral("0"));
    ligneListe(TABLES_PAR_REQUETE + 5, 0, 1, QStringLiteral("100"));
    EXPECT_TRUE(taxonUtilise(QStringLiteral("100")));
    EXPECT_EQ(taxonsUtilises(), QSet<QString>({"100"}));
    EXPECT_EQ(presenceTaxonParStation(QStringLiteral("100")).value(TABLES_PAR_REQUETE + 5), 1);
    EXPECT_EQ(activerTaxonsUtilises(), 1);
    EXPECT_EQ(valeur(QStringLiteral("SELECT actif FROM TAXONS WHERE codeTaxon='100'")).toString(),
              QStringLiteral("1"));
}

TEST_P(TaxonsTest, UnTaxonDUneListeNePeutNiDevenirInactifNiEtreSupprime)
{
    referentiel();
    ASSERT_TRUE(modele.charger());
    FicheTaxon f = ModeleListeTaxons::lireTaxon(QStringLiteral("100"));
    ASSERT_EQ(f.codeOrigine, QStringLiteral("100"));
    f.actif = QStringLiteral("0");
    f.nomLatin = QStringLiteral("Baetis modifié");
    EXPECT_FALSE(montrer(modele.enregistrer(f)));
    EXPECT_EQ(
        recus(),
        QStringList({"ERREUR: Le taxon est utilisé dans la base. Il ne peut être rendu inactif"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT nomLatin, actif FROM TAXONS WHERE codeTaxon='100'")),
              QStringList({"Baetis|1"}));

    messages().repondre(BoutonOui);
    EXPECT_FALSE(montrer(modele.supprimer(ModeleListeTaxons::lireTaxon(QStringLiteral("100")))));
    EXPECT_EQ(recus(), QStringList({"ERREUR: Attention, ce code est utilisé dans la base de "
                                    "données. Vous ne pouvez pas le "
                                    "supprimer."}));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM TAXONS WHERE codeTaxon='100'")).toInt(),
              1);

    // An unused taxon goes, with its trait values and its taxa selections; a parameter selection
    // of the same number stays.
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO TRAITS_ECOBIO_TAXONS (codeTrait, "
                                        "codeModalite, codeTaxon) VALUES (1, 1, '300')")));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, CodeParametre, TypeListe) VALUES "
        "('S1', 1, '300', 1), ('S2', 1, '300', 0)")));
    messages().repondre(BoutonNon);
    EXPECT_FALSE(montrer(modele.supprimer(ModeleListeTaxons::lireTaxon(QStringLiteral("300")))));
    EXPECT_EQ(recus(), QStringList({"QUESTION: Supprimer le taxon Asellus ?"}));
    messages().repondre(BoutonOui);
    EXPECT_TRUE(montrer(modele.supprimer(ModeleListeTaxons::lireTaxon(QStringLiteral("300")))));
    EXPECT_EQ(recus(), QStringList({"QUESTION: Supprimer le taxon Asellus ?",
                                    "AIDE: Le taxon a été supprimé."}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeTaxon FROM TAXONS ORDER BY codeTaxon")),
              QStringList({"100", "200", "400"}));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM TRAITS_ECOBIO_TAXONS")).toInt(), 0);
    EXPECT_EQ(lignes(QStringLiteral("SELECT Code FROM ANALYSES_PARAMETRES_SELECTIONS")),
              QStringList({"S2"}));
    EXPECT_EQ(modele.grille().chercher(QStringLiteral("300")), -1);

    // An unused taxon may become inactive.
    f = ModeleListeTaxons::lireTaxon(QStringLiteral("400"));
    f.actif = QStringLiteral("0");
    f.nomCommun = QStringLiteral("Caenis commun");
    EXPECT_TRUE(montrer(modele.enregistrer(f)));
    EXPECT_EQ(recus(), QStringList({"AIDE: Enregistrement de la fiche du taxon terminé."}));
}

// A list that cannot be read (a table of another layout) may hold any taxon: none is deleted
// or made inactive on the strength of a failed read.
TEST_P(TaxonsTest, ListeIllisiblePasDeSuppressionAveugle)
{
    referentiel();
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE QUALITOMETRES_LISTE_3 (codeOperation "
                                        "Double, codeListe Double, indice Double)")));
    toleranceErreurs = true;
    ASSERT_TRUE(modele.charger());
    messages().repondre(BoutonOui);
    EXPECT_FALSE(montrer(modele.supprimer(ModeleListeTaxons::lireTaxon(QStringLiteral("100")))));
    EXPECT_EQ(recus(), QStringList({"ERREUR: Attention, ce code est utilisé dans la base de "
                                    "données. Vous ne pouvez pas le supprimer."}));
    FicheTaxon f = ModeleListeTaxons::lireTaxon(QStringLiteral("200"));
    f.actif = QStringLiteral("0");
    EXPECT_FALSE(montrer(modele.enregistrer(f)));
    EXPECT_EQ(
        recus(),
        QStringList({"ERREUR: Le taxon est utilisé dans la base. Il ne peut être rendu inactif"}));

    messages().repondre(BoutonOui);
    EXPECT_EQ(purgerTaxons(modele), -1);
    const QStringList r = recus();
    ASSERT_EQ(r.size(), 2);
    EXPECT_TRUE(r[1].startsWith(
        QStringLiteral("ERREUR: La suppression a échoué, rien n'a été supprimé :\n")))
        << qPrintable(r[1]);
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeTaxon, actif FROM TAXONS ORDER BY codeTaxon")),
              QStringList({"100|1", "200|1", "300|1", "400|0"}));
    EXPECT_FALSE(bd().enTransaction());
}

TEST_P(TaxonsTest, FicheVerifieeEtEcriteAvecSesTraits)
{
    referentiel();
    ASSERT_TRUE(modele.charger());
    FicheTaxon f = modele.nouvelleFiche();
    f.dateCreation = QStringLiteral("31/02/2020");
    f.dateMiseAJour = QStringLiteral("hier");
    f.nomLatin = QString(31, u'x');
    EXPECT_FALSE(montrer(modele.enregistrer(f)));
    EXPECT_EQ(recus(), QStringList({"ERREUR: \nRenseignez le code du taxon.\nLa date de création "
                                    "du code n'est pas correcte.\n"
                                    "La date de modification du code n'est pas correcte.\nLe nom "
                                    "latin ne doit pas dépasser 30 "
                                    "caractères."}));
    f.code = QStringLiteral("200");
    f.dateCreation = QStringLiteral("02/03/2020");
    f.dateMiseAJour.clear();
    f.nomLatin = QStringLiteral("Ecdyonurus");
    EXPECT_FALSE(montrer(modele.enregistrer(f)));
    EXPECT_EQ(recus(), QStringList({"ERREUR: \nLe taxon 200 existe déjà."}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT nomLatin FROM TAXONS WHERE codeTaxon='200'")),
              QStringList({"Gammarus"}));

    f.code = QStringLiteral("500");
    f.theme = QStringLiteral("3");
    f.statut = QStringLiteral("2");
    f.textes[QStringLiteral("ecologie")] = QStringLiteral("Eaux courantes");
    f.traits = {{QStringLiteral("1"), QStringLiteral("2")}, {QStringLiteral("3"), QString()}};
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO TRAITS_ECOBIO_TAXONS (codeTrait, "
                                        "codeModalite, codeTaxon) VALUES (3, 1, '500')")));
    EXPECT_TRUE(montrer(modele.enregistrer(f)));
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeTaxon, nomLatin, statut, dateCreation, actif, "
                                    "theme, ecologie FROM TAXONS WHERE "
                                    "codeTaxon='500'")),
              QStringList({"500|Ecdyonurus|2|02/03/2020|1|3|Eaux courantes"}));
    EXPECT_EQ(
        lignes(QStringLiteral(
            "SELECT codeTrait, codeModalite FROM TRAITS_ECOBIO_TAXONS WHERE codeTaxon='500'")),
        QStringList({"1|2"}));
    const int l = modele.grille().chercher(QStringLiteral("500"));
    ASSERT_GE(l, 0);
    EXPECT_EQ(modele.grille().lignes[l].mid(0, 5),
              QStringList({"500", "Ecdyonurus", "", "Validé", "Oui"}));
    EXPECT_EQ(modele.fiche(l).traits.value(QStringLiteral("1")), QStringLiteral("2"));
}

TEST_P(TaxonsTest, ChangementDeCodeSuiviParLesReferences)
{
    referentiel();
    ASSERT_TRUE(executer(
        QStringLiteral("UPDATE TAXONS SET noteIBD=4.5, codeOmnidia='GAM' WHERE codeTaxon='200'")));
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO TRAITS_ECOBIO_TAXONS (codeTrait, "
                                        "codeModalite, codeTaxon) VALUES (1, 1, '200')")));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, CodeParametre, TypeListe) VALUES "
        "('T', 1, '200', 1), ('P', 1, '200', 0)")));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO ANALYSES_SEUILS (CodeParametre, Seuil1, typeSeuil, TypeListe) VALUES "
        "('200', 1, 1, '1')")));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO QUALITOMETRES_SUPERPOSITIONS_PARAMETRES (TypeListe, CodeListe, Parametre) "
        "VALUES (1, 1, 200), (0, 1, 200)")));
    taxon(QStringLiteral("210"), QStringLiteral("Gammarus pulex"), QStringLiteral("1"),
          QStringLiteral("3"), QStringLiteral("NULL"), QStringLiteral("200"));
    ASSERT_TRUE(modele.charger());
    FicheTaxon f = ModeleListeTaxons::lireTaxon(QStringLiteral("200"));
    f.code = QStringLiteral("201");
    ASSERT_TRUE(montrer(modele.enregistrer(f)));
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeTaxon, nomLatin, noteIBD, codeOmnidia FROM TAXONS "
                                    "WHERE codeTaxon IN ('200', '201')")),
              QStringList({"201|Gammarus|4.5|GAM"}));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT codeTaxon FROM QUALITOMETRES_LISTE_2 ORDER BY codeOperation, indice")),
              QStringList({"201", "100", "201"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeTaxon FROM QUALITOMETRES_LISTE_1")),
              QStringList({"201"}));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT Code, CodeParametre FROM ANALYSES_PARAMETRES_SELECTIONS ORDER BY Code")),
              QStringList({"P|200", "T|201"}));
    EXPECT_EQ(
        lignes(QStringLiteral("SELECT CodeParametre FROM ANALYSES_SEUILS WHERE TypeListe='1'")),
        QStringList({"201"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT TypeListe, Parametre FROM "
                                    "QUALITOMETRES_SUPERPOSITIONS_PARAMETRES ORDER BY TypeListe")),
              QStringList({"0|200", "1|201"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeTaxon FROM TRAITS_ECOBIO_TAXONS")),
              QStringList({"201"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT elementDe FROM TAXONS WHERE codeTaxon='210'")),
              QStringList({"201"}));
    EXPECT_EQ(modele.grille().chercher(QStringLiteral("200")), -1);
    EXPECT_GE(modele.grille().chercher(QStringLiteral("201")), 0);
}

TEST_P(TaxonsTest, PurgeDansUneTransactionGardeTousLesTaxonsUtilises)
{
    referentiel();
    messages().repondre(BoutonNon);
    EXPECT_EQ(purgerTaxons(modele), -1);
    EXPECT_EQ(recus(),
              QStringList({"QUESTION: Voulez vous purger tous les taxons non utilisés ?",
                           "AIDE: L'opération a été annulée. Aucun taxon n'a été supprimé"}));
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM TAXONS")).toInt(), 4);

    messages().repondre(BoutonOui);
    EXPECT_EQ(purgerTaxons(modele), 2);
    EXPECT_EQ(recus(), QStringList({"QUESTION: Voulez vous purger tous les taxons non utilisés ?",
                                    "AIDE: Les taxons ont été supprimés."}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeTaxon FROM TAXONS ORDER BY codeTaxon")),
              QStringList({"100", "200"}));
    EXPECT_FALSE(bd().enTransaction());
    // Again: nothing left to purge.
    messages().repondre(BoutonOui);
    EXPECT_EQ(purgerTaxons(modele), 0);
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM TAXONS")).toInt(), 2);
}

TEST_P(TaxonsTest, RemplacementDeLHistoriqueDansToutesLesListes)
{
    referentiel();
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO ANALYSES_PARAMETRES_SELECTIONS (Code, num, CodeParametre, TypeListe) VALUES "
        "('T', 1, '200', 1), ('P', 1, '200', 0)")));
    messages().repondre(BoutonOui);
    EXPECT_TRUE(montrer(modele.demanderRemplacement(QStringLiteral("200"))));
    EXPECT_FALSE(montrer(modele.remplacerHistorique(QStringLiteral("200"), QStringLiteral("999"))));
    EXPECT_EQ(recus(), QStringList({"QUESTION: Voulez vous remplacer l'historique des données du "
                                    "taxon 200 par un nouveau code ?",
                                    "ERREUR: Le code de remplacement n'existe pas. Merci de le "
                                    "créer avant d'effectuer les "
                                    "modifications"}));
    messages().repondre(BoutonNon);
    EXPECT_FALSE(montrer(modele.remplacerHistorique(QStringLiteral("200"), QStringLiteral("400"))));
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeTaxon FROM QUALITOMETRES_LISTE_1")),
              QStringList({"200"}));
    recus();

    messages().repondre(BoutonOui);
    EXPECT_TRUE(montrer(modele.remplacerHistorique(QStringLiteral("200"), QStringLiteral("400"))));
    EXPECT_EQ(recus(),
              QStringList({"QUESTION: Merci de confirmer que nous allons remplacer l'historique "
                           "des détermination du "
                           "code 200 par le code 400",
                           "AIDE: Le remplacement de l'historique du taxon est terminé."}));
    EXPECT_EQ(
        lignes(QStringLiteral(
            "SELECT codeOperation, codeTaxon, denombrementA FROM QUALITOMETRES_LISTE_2 ORDER BY "
            "codeOperation, indice")),
        QStringList({"0|400|7", "1|100|3", "1|400|3"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeTaxon FROM QUALITOMETRES_LISTE_1")),
              QStringList({"400"}));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT Code, CodeParametre FROM ANALYSES_PARAMETRES_SELECTIONS ORDER BY Code")),
              QStringList({"P|200", "T|400"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeTaxon, actif FROM TAXONS WHERE codeTaxon IN "
                                    "('200', '400') ORDER BY codeTaxon")),
              QStringList({"200|1", "400|1"}));
}

TEST_P(TaxonsTest, ActivationDesTaxonsUtilises)
{
    referentiel();
    ASSERT_TRUE(executer(QStringLiteral("UPDATE TAXONS SET actif='0'")));
    EXPECT_TRUE(montrer(modele.activerTaxons()));
    EXPECT_EQ(recus(), QStringList({"AIDE: 2 taxon(s) activé(s)."}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeTaxon, actif FROM TAXONS ORDER BY codeTaxon")),
              QStringList({"100|1", "200|1", "300|0", "400|0"}));
}

TEST_P(TaxonsTest, ChoixDesTaxonsParFamilleDeThemes)
{
    taxon(QStringLiteral("1"), QStringLiteral("Navicula"), QStringLiteral("1"),
          QStringLiteral("5"));
    taxon(QStringLiteral("2"), QStringLiteral("Amphora"), QStringLiteral("0"), QStringLiteral("5"));
    taxon(QStringLiteral("3"), QStringLiteral("Elodea"), QStringLiteral("1"), QStringLiteral("2"));
    taxon(QStringLiteral("4"), QStringLiteral("Baetis"), QStringLiteral("1"), QStringLiteral("3"));
    taxon(QStringLiteral("5"), QStringLiteral("Sans thème"), QStringLiteral("1"),
          QStringLiteral("NULL"));
    ASSERT_TRUE(executer(QStringLiteral(
        "UPDATE TAXONS SET codeOmnidia='NAVI', refMuseum='M1' WHERE codeTaxon='1'")));
    const EntreesCodees plantes = chargerListeTaxons(true);
    ASSERT_EQ(plantes.size(), 4);
    EXPECT_TRUE(plantes[0].estVide());
    EXPECT_EQ(plantes[1].texte(), QStringLiteral("Elodea [3]"));
    EXPECT_EQ(plantes[2].texte(), QStringLiteral("Navicula [1]"));
    EXPECT_EQ(plantes[3].code, QStringLiteral("5"));
    const EntreesCodees autres = chargerListeTaxons(false);
    ASSERT_EQ(autres.size(), 3);
    EXPECT_EQ(autres[1].code, QStringLiteral("4"));
    EXPECT_EQ(autres[2].code, QStringLiteral("5"));

    ecrireRegistre(reglage::omnidia, QStringLiteral("OUI"));
    ecrireRegistre(reglage::refMuseum, QStringLiteral("OUI"));
    EXPECT_EQ(chargerListeTaxons(true)[2].texte(), QStringLiteral("Navicula - NAVI - M1 [1]"));
}

TEST_P(TaxonsTest, PresenceSurLesStationsPlacees)
{
    referentiel();
    CompteRendu avis;
    EXPECT_TRUE(presenceTaxon(QString(), avis).isEmpty());
    montrer(avis);
    EXPECT_EQ(recus(),
              QStringList({"AIDE: Sélectionnez un taxon pour pouvoir calculer sa présence"}));

    QVector<StationPresence> p = presenceTaxon(QStringLiteral("200"), avis);
    ASSERT_EQ(p.size(), 2);
    EXPECT_FALSE(p[0].estPlacee());
    montrer(avis);
    EXPECT_EQ(recus(), QStringList({"INFO: Le taxon n'a pas pu être identifié sur l'ensemble des "
                                    "stations ou les stations ne "
                                    "possèdent pas de coordonnées en WGS84"}));

    ASSERT_TRUE(executer(QStringLiteral(
        "UPDATE QUALITOMETRES SET X=-1.5, Y=47.25, TypeProjection=16 WHERE CodeQualitometre=1")));
    ASSERT_TRUE(executer(QStringLiteral("UPDATE QUALITOMETRES SET X=400000, Y=6700000, "
                                        "TypeProjection=26 WHERE CodeQualitometre=2")));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO QUALITOMETRE_LOCALISATIONS (CodeQualitometre, CodeProjection, X, Y) VALUES "
        "(2, 31, 2.25, 48.5)")));
    p = presenceTaxon(QStringLiteral("200"), avis);
    ASSERT_EQ(p.size(), 2);
    EXPECT_EQ(p[0].codeBSS, QStringLiteral("BSS001"));
    EXPECT_EQ(p[0].station, 1);
    EXPECT_EQ(*p[0].longitude, -1.5);
    EXPECT_EQ(*p[0].latitude, 47.25);
    // Station 2 is in another projection: its WGS84 location is taken instead.
    EXPECT_EQ(p[1].station, 2);
    EXPECT_EQ(p[1].nbLignes, 2);
    EXPECT_EQ(*p[1].longitude, 2.25);
    EXPECT_EQ(*p[1].latitude, 48.5);
    EXPECT_TRUE(recus().isEmpty());
}

TEST(PhotosTaxon, FichiersNommesDApresLeCode)
{
    QTemporaryDir dossier;
    for (const char *nom : {"363.jpg", "363_carte.png", "363_2.jpg", "3630.jpg", "364_carte.png"}) {
        QFile f(dossier.filePath(QString::fromLatin1(nom)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QStringList noms;
    for (const QString &c : ModeleListeTaxons::photosTaxon(QStringLiteral("363"), dossier.path()))
        noms << QFileInfo(c).fileName();
    noms.sort();
    EXPECT_EQ(noms, QStringList({"363.jpg", "363_2.jpg", "363_carte.png"}));
    EXPECT_TRUE(ModeleListeTaxons::photosTaxon(QStringLiteral("*"), dossier.path()).isEmpty());
    EXPECT_TRUE(ModeleListeTaxons::photosTaxon(QStringLiteral("363"), QString()).isEmpty());
}

VYK_SUR_LES_DEUX_MOTEURS(TaxonsTest);

} // namespace
