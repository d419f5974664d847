#include "app/ParametresAdministration.h"
#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/Journal.h"

#include "support/BaseTest.h"
#include "support/CompteRenduTest.h"

#include <QDir>
#include <QFile>
#include <QSet>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

const DefinitionReglage &definition(const QString &nom)
{
    const DefinitionReglage *d = definitionReglage(nom);
    if (!d) throw std::runtime_error(("réglage absent : " + nom).toStdString());
    return *d;
}

TEST(AdministrationTest, ReglagesDecritsUneFoisChacun)
{
    QSet<QString> noms;
    for (const DefinitionReglage &d : reglagesAdministration()) {
        EXPECT_FALSE(noms.contains(d.nom.toUpper())) << qPrintable(d.nom);
        noms.insert(d.nom.toUpper());
        EXPECT_FALSE(d.libelle.isEmpty()) << qPrintable(d.nom);
        EXPECT_EQ(d.genre == GenreReglage::Liste, d.listeExterne || !d.entrees.isEmpty())
            << qPrintable(d.nom);
    }
    using namespace reglage;
    // The groups that later parts read are all on the screen.
    for (const QString &nom : {donneesPhysicoChimique,
                               donneesHydroBio,
                               ExploitationAEP,
                               ContexteInternational,
                               CheminEdition,
                               CheminModeles,
                               CheminExport,
                               CheminR,
                               CheminPhotos,
                               CheminDocuments,
                               FichierAide,
                               Affichage,
                               AffichageProfondeur,
                               AffichageChronologiqueInverse,
                               AffichageStatistiques,
                               TypeProjection,
                               MoisDebutAnneeHydro,
                               Point_OK,
                               omnidia,
                               refMuseum,
                               modificationPhoto,
                               Producteur,
                               Preleveur,
                               Determinateur,
                               ContactPreleveur,
                               ContactDeterminateur,
                               Laboratoire,
                               Qualification,
                               Statut,
                               ProtocolePrelevement,
                               Support,
                               Accreditation,
                               Agrement,
                               Saisonnalite,
                               ModeConservation,
                               ModeConservationSecondaire,
                               MaterielPrelevement,
                               Colmatage,
                               TypeColmatage,
                               Confiance,
                               Developpement,
                               repriseSiteSansControle,
                               MargeIntegrationSite,
                               TypeSeuil,
                               TypeSeuilEtats,
                               TypeSeuilResultats,
                               TypeSeuilTaxons,
                               LogLevel})
        EXPECT_TRUE(noms.contains(nom.toUpper())) << qPrintable(nom);
    EXPECT_EQ(ongletsAdministration().first(), QStringLiteral("Données"));
}

TEST(AdministrationTest, EcritureSelonLeGenreDuControle)
{
    test::EnvironnementTest env;
    using namespace reglage;
    const DefinitionReglage &niveau = definition(LogLevel);
    QStringList libelles;
    for (const EntreeListe &e : entreesListe(niveau))
        libelles << e.libelle + u'=' + e.code;
    EXPECT_EQ(libelles,
              QStringList({QStringLiteral("APPLICATION [0]=0"), QStringLiteral("DEBUGGAGE   [1]=1"),
                           QStringLiteral("INFORMATION [2]=2"), QStringLiteral("WARNING     [3]=3"),
                           QStringLiteral("ERROR       [4]=4")}));
    EXPECT_TRUE(ecrireReglage(niveau, QStringLiteral("1")));
    EXPECT_EQ(lireRegistre(LogLevel), QStringLiteral("1"));
    EXPECT_EQ(niveauJournal(), 1);
    EXPECT_TRUE(ecrireReglage(niveau, QStringLiteral("0")));
    EXPECT_EQ(niveauJournal(), 0);

    EXPECT_TRUE(ecrireReglage(definition(CheminModeles), QStringLiteral(" /srv/modèles ")));
    EXPECT_EQ(lireRegistre(CheminModeles, {}, true), QStringLiteral("/srv/modèles/"));
    EXPECT_TRUE(ecrireReglage(definition(CheminExport), QString()));
    EXPECT_EQ(lireRegistre(CheminExport, {}, true), QString());

    EXPECT_TRUE(ecrireReglage(definition(MargeIntegrationSite), QStringLiteral("12,5")));
    EXPECT_FALSE(ecrireReglage(definition(MargeIntegrationSite), QStringLiteral("douze")));
    EXPECT_EQ(lireRegistre(MargeIntegrationSite), QStringLiteral("12,5"));

    // Check boxes: "OUI"/"NON" where readers compare with "OUI", "1"/"0" otherwise.
    EXPECT_EQ(valeurCase(definition(AffichageChronologiqueInverse), true), QStringLiteral("OUI"));
    EXPECT_EQ(valeurCase(definition(repriseSiteSansControle), false), QStringLiteral("NON"));
    EXPECT_EQ(valeurCase(definition(omnidia), true), QStringLiteral("1"));
    EXPECT_TRUE(caseCochee(QStringLiteral("OUI")));
    EXPECT_TRUE(caseCochee(QStringLiteral("1")));
    EXPECT_FALSE(caseCochee(QStringLiteral("0")));
    EXPECT_FALSE(caseCochee(QString()));

    // The month list shows September when nothing is stored.
    EXPECT_EQ(valeurReglage(definition(MoisDebutAnneeHydro)), QStringLiteral("09"));
    EXPECT_TRUE(ecrireReglage(definition(MoisDebutAnneeHydro), QStringLiteral("10")));
    EXPECT_EQ(valeurReglage(definition(MoisDebutAnneeHydro)), QStringLiteral("10"));
    EXPECT_EQ(entreesListe(definition(MoisDebutAnneeHydro)).size(), 12);
}

class ListesAdministrationTest : public BaseTest
{
};

TEST_P(ListesAdministrationTest, ListesDesCodesEtSources)
{
    using namespace reglage;
    // Before the code lists exist, a default list offers only "no default" and the stored code.
    EXPECT_EQ(entreesListe(definition(Qualification)), QVector<EntreeListe>{EntreeListe{}});
    ecrireRegistre(Statut, QStringLiteral("7"));
    EXPECT_EQ(entreesListe(definition(Statut)),
              (QVector<EntreeListe>{{}, {QStringLiteral("[7]"), QStringLiteral("7")}}));

    ASSERT_TRUE(executer(QStringLiteral(
        "CREATE TABLE CODES_SANDRE (Champ Text(100), Code Text(50), Libelle Text(255))")));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO CODES_SANDRE VALUES ('ANALYSES.QUALIFICATION', '1', 'Correcte')")));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO CODES_SANDRE VALUES ('ANALYSES.QUALIFICATION', '2', 'Incorrecte')")));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO CODES_SANDRE VALUES ('ANALYSES.QUALIFICATION', '0', 'Non définissable')")));
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO CODES_SANDRE VALUES ('ANALYSES.STATUT', '1', 'Donnée brute')")));
    EXPECT_EQ(entreesListe(definition(Qualification)),
              (QVector<EntreeListe>{{},
                                    {QStringLiteral("Correcte"), QStringLiteral("1")},
                                    {QStringLiteral("Incorrecte"), QStringLiteral("2")},
                                    {QStringLiteral("Non définissable"), QStringLiteral("0")}}));

    definirSourceListe(Producteur, [] {
        return QVector<EntreeListe>{{QStringLiteral("Agence"), QStringLiteral("42")}};
    });
    EXPECT_EQ(entreesListe(definition(Producteur)),
              (QVector<EntreeListe>{{}, {QStringLiteral("Agence"), QStringLiteral("42")}}));
    definirSourceListe(Producteur, {});
    EXPECT_EQ(entreesListe(definition(Producteur)), QVector<EntreeListe>{EntreeListe{}});

    // A chosen default is written under its name and read back by later screens.
    EXPECT_TRUE(ecrireReglage(definition(Qualification), QStringLiteral("2")));
    EXPECT_EQ(lireRegistre(QStringLiteral("qualification")), QStringLiteral("2"));
    EXPECT_TRUE(ecrireReglage(definition(Qualification), QString()));
    EXPECT_EQ(lireRegistre(Qualification), QString());
}

VYK_SUR_LES_DEUX_MOTEURS(ListesAdministrationTest);

TEST(ProfilsAdministrationTest, EnregistrementDuFichierDesBases)
{
    test::EnvironnementTest env;
    const QVector<LigneProfil> lignes = {
        {QStringLiteral("Bureau"), ACCESS, QStringLiteral("/srv/b.mdb"), {}, {}, {}, {}},
        {QStringLiteral("Pg"), POSTGRESQL, QStringLiteral("pg1"), QStringLiteral("5432"),
         QStringLiteral("eaux"), QStringLiteral("u"), QStringLiteral("secret")},
        {QString(), ACCESS, QStringLiteral("/ignorée.mdb"), {}, {}, {}, {}}};

    // No stored file: the user is asked for a folder; cancelling writes nothing.
    int demandes = 0;
    const CompteRendu annule = ProfilsAdministration::enregistrer(lignes, [&demandes] {
        ++demandes;
        return QString();
    });
    EXPECT_EQ(demandes, 1);
    EXPECT_FALSE(annule.ok);
    EXPECT_EQ(test::vu(annule), QString());
    EXPECT_EQ(lireRegistre(reglage::FichierProfils), QString());

    const QString dossier = env.chemin(QStringLiteral("Config"));
    ASSERT_TRUE(QDir().mkpath(dossier));
    const CompteRendu fait = ProfilsAdministration::enregistrer(lignes, [&] { return dossier; });
    EXPECT_TRUE(fait.ok);
    EXPECT_EQ(test::vu(fait),
              QStringLiteral("AIDE: Vos bases par défaut ont bien été enregistrées."));
    const QString chemin = dossier + QStringLiteral("/databases.properties");
    EXPECT_EQ(lireRegistre(reglage::FichierProfils, {}, true), chemin);
    EXPECT_EQ(ProfilsAdministration::charger(), lignes.mid(0, 2));

    // The stored file is rewritten without asking again.
    EXPECT_TRUE(ProfilsAdministration::enregistrer(lignes.mid(1), [] {
                    ADD_FAILURE() << "dossier demandé";
                    return QString();
                }).ok);
    EXPECT_EQ(ProfilsAdministration::charger(), lignes.mid(1, 1));

    // A row that would be misread is refused before anything is written.
    QVector<LigneProfil> mauvaises = lignes;
    mauvaises[1].nom = QStringLiteral("Pg.user");
    const CompteRendu refus = ProfilsAdministration::enregistrer(mauvaises, {});
    EXPECT_FALSE(refus.ok);
    EXPECT_EQ(refus.texte, QStringLiteral("Le nom « Pg.user » ne peut contenir ni « = », ni "
                                          "« .user », ni « .pwd », ni commencer par « # »."));
    EXPECT_EQ(ProfilsAdministration::charger(), lignes.mid(1, 1));

    // A file that cannot be written: the error, the old file kept.
    ecrireRegistre(reglage::FichierProfils,
                   env.chemin(QStringLiteral("absent/databases.properties")));
    EXPECT_EQ(test::vu(ProfilsAdministration::enregistrer(lignes, {})),
              QStringLiteral("ERREUR: Le fichier n'a pas pu être enregistré. Merci de vérifier "
                             "vos droits d'écriture"));
    EXPECT_TRUE(env.messages.messages().isEmpty());
}

} // namespace
