// Who may change the reference lists: an administrator or a user with the reference-editing
// flag. The refusal comes from the core operations, so scripts and screens meet the same one.

#include "db/CompteRendu.h"
#include "db/Messages.h"
#include "db/Session.h"
#include "referentials/ImportTaxons.h"
#include "referentials/ImportationReferentielsAnalyses.h"
#include "referentials/ModeleListeCodes.h"
#include "referentials/ModeleListeTaxons.h"
#include "referentials/ModeleReferentielAnalyses.h"
#include "referentials/ModeleTraits.h"
#include "referentials/ReferentielCodes.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include "support/BaseTest.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

const QString REFUS = QStringLiteral(
    "Vous ne disposez pas de droits suffisants pour modifier les listes de référence.");

class DroitsReferentielsTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        ASSERT_TRUE(mettreAJourBase(versionProgramme()));
        ASSERT_TRUE(executer(QStringLiteral(
            "INSERT INTO TAXONS (codeTaxon, NomLatin, actif) VALUES ('9001', 'Baetis', '0')")));
        ASSERT_TRUE(executer(QStringLiteral(
            "INSERT INTO ANALYSES_UNITES (Code, Nom) VALUES ('U99', 'unité inutilisée')")));
    }

    void connecter(bool administrateur, bool editionReferentiels)
    {
        Session &s = session();
        s.vider();
        s.login = QStringLiteral("LUCIE");
        s.habilitations = QStringLiteral(",QUALITO_ALL,QUALITO_FICHE_MODIF,QUALITO_FICHE_SUPPR,");
        s.administrateur = administrateur;
        s.editionReferentiels = editionReferentiels;
    }

    // A new entry of the ANALYSES.LIEU list, its grid loaded.
    static FicheCode nouveauLieu(ModeleListeCodes &codes)
    {
        codes.choisirChamp(QStringLiteral("ANALYSES.LIEU"));
        EXPECT_TRUE(codes.charger());
        FicheCode nouveau = codes.nouvelleFiche(QStringLiteral("ANALYSES.LIEU"));
        nouveau.libelle = QStringLiteral("Sur le terrain");
        return nouveau;
    }

    // Everything a reference-list operation could have changed.
    QStringList etat()
    {
        return lignes(QStringLiteral(
                   "SELECT Champ, Code, Libelle FROM CODES_SANDRE ORDER BY Champ, Code")) +
               lignes(QStringLiteral(
                   "SELECT codeTaxon, NomLatin, actif FROM TAXONS ORDER BY codeTaxon")) +
               lignes(QStringLiteral("SELECT Code, Nom FROM ANALYSES_UNITES ORDER BY Code")) +
               lignes(QStringLiteral("SELECT Code FROM ANALYSES_PARAMETRES ORDER BY Code"));
    }
};

TEST_P(DroitsReferentielsTest, SansDroitDEditionToutEstRefuseSansRienChanger)
{
    connecter(false, false);
    const QStringList avant = etat();

    ModeleListeCodes codes;
    FicheCode nouveau = nouveauLieu(codes);
    EXPECT_FALSE(montrer(codes.enregistrer(nouveau)));
    FicheCode existant = codes.fiche(1);
    existant.libelle = QStringLiteral("Renommé");
    EXPECT_FALSE(montrer(codes.enregistrer(existant)));
    messages().repondre(BoutonOui);
    EXPECT_FALSE(montrer(codes.supprimer(existant)));

    ModeleReferentielAnalyses unites(Referentiel::Unite);
    messages().repondre(BoutonOui);
    EXPECT_FALSE(montrer(unites.purger(progressionNulle())));
    ModeleReferentielAnalyses parametres(Referentiel::Parametre);
    EXPECT_FALSE(montrer(parametres.confirmerRemplacement(QStringLiteral("1301"))));
    messages().repondre(BoutonOui);
    EXPECT_FALSE(montrer(parametres.remplacerHistorique(
        QStringLiteral("1301"), QStringLiteral("1302"), progressionNulle())));

    ModeleListeTaxons taxons;
    messages().repondre(BoutonOui);
    EXPECT_FALSE(montrer(taxons.purger()));
    EXPECT_FALSE(montrer(taxons.activerTaxons()));
    EXPECT_FALSE(montrer(taxons.demanderRemplacement(QStringLiteral("9001"))));
    ModeleTraits traits;
    FicheTrait trait = traits.nouvelleFiche();
    trait.nom = QStringLiteral("Taille");
    EXPECT_FALSE(montrer(traits.enregistrer(trait)));

    // The three imports: nothing read is written.
    const BilanIntegration bilanCodes =
        integrerReferentiel({{QStringLiteral("155"), QStringLiteral("4"), QStringLiteral("Berge")}},
                            progressionNulle());
    EXPECT_TRUE(bilanCodes.annule);
    EXPECT_EQ(bilanCodes.ajoutes + bilanCodes.modifies, 0);
    FichierReferentielAnalyses fichierParametres;
    fichierParametres.lignes.append({{QStringLiteral("Code"), QStringLiteral("7777")},
                                     {QStringLiteral("Nom"), QStringLiteral("Essai")}});
    const BilanReferentielAnalyses bilanParametres =
        integrerReferentielAnalyses(fichierParametres, progressionNulle());
    EXPECT_TRUE(bilanParametres.annule);
    EXPECT_EQ(bilanParametres.ajoutes, 0);
    FichierTaxons fichierTaxons;
    LigneImportTaxon t;
    t.code = QStringLiteral("9002");
    t.nomLatin = QStringLiteral("Caenis");
    fichierTaxons.lignes << t;
    const BilanImportTaxons bilanTaxons =
        integrerTaxons(fichierTaxons, ModeImportTaxons::Complet, true);
    EXPECT_TRUE(bilanTaxons.interrompu);
    EXPECT_EQ(bilanTaxons.ajoutes, 0);

    // One refusal per attempt, no question asked first, and nothing changed.
    for (const auto &m : messages().messages()) {
        EXPECT_EQ(m.genre.toUpper(), QStringLiteral("ERREUR"));
        EXPECT_EQ(m.texte, REFUS);
    }
    EXPECT_EQ(messages().messages().size(), 13);
    EXPECT_EQ(etat(), avant);
}

TEST_P(DroitsReferentielsTest, LeDroitDEditionOuLAdministrationSuffisent)
{
    connecter(false, true);
    ModeleListeCodes codes;
    FicheCode nouveau = nouveauLieu(codes);
    EXPECT_TRUE(montrer(codes.enregistrer(nouveau)));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT Libelle FROM CODES_SANDRE WHERE Champ='ANALYSES.LIEU' AND Code=3")),
              QStringList{QStringLiteral("Sur le terrain")});

    connecter(true, false);
    ModeleListeTaxons taxons;
    messages().repondre(BoutonOui);
    int nbPurges = 0;
    EXPECT_TRUE(montrer(taxons.purger(progressionNulle(), &nbPurges)));
    EXPECT_EQ(nbPurges, 1);
    EXPECT_TRUE(
        lignes(QStringLiteral("SELECT codeTaxon FROM TAXONS WHERE codeTaxon='9001'")).isEmpty());
    for (const auto &m : messages().messages())
        EXPECT_NE(m.texte, REFUS);
}

VYK_SUR_LES_DEUX_MOTEURS(DroitsReferentielsTest);

} // namespace
