#include "campagnes/Campagnes.h"

#include "campagnes/DonneesCampagnes.h"
#include "support/BaseTest.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class CampagnesTest : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesCampagnes();
        test::ajouterStation(7, "BSS7", "Amont", "P1");
        test::ajouterStation(3, "BSS3", "Aval");
        test::ajouterStation(12, "BSS12", "Source");
        ASSERT_TRUE(executer("INSERT INTO INTERVENANTS (CodeIntervenant, Nom) VALUES (44, "
                             "'Laboratoire des eaux')"));
    }

    Campagne campagneComplete()
    {
        Campagne c;
        c.fiche.libelle = "Rivières 2026";
        c.fiche.dateDebut = "15/01/2026";
        c.fiche.dateFin = "10/03/2026";
        c.fiche.codePrestataire = "44";
        c.fiche.codePreleveur = "44";
        c.fiche.typeDemande = "3";
        c.fiche.codeIntervenant = "9";
        c.fiche.bancarisationAutorisee = true;
        c.stations = {test::station("7", "20/01/2026"), test::station("3"),
                      test::station("12", "02/03/2026")};
        c.parametres = {test::parametre("1340", "162"), test::parametre("1301", "27")};
        return c;
    }
    QStringList sites()
    {
        return lignes("SELECT codeCampagne, codeSite, ordrePassage, datePassage FROM "
                      "CAMPAGNES_SITES ORDER BY codeCampagne, ordrePassage");
    }
    QStringList parametresEnBase()
    {
        return lignes("SELECT codeCampagne, codeParametre, codeUnite, codeLieu, codeFraction, "
                      "codeSupport, insitu FROM CAMPAGNES_PARAMETRES ORDER BY codeParametre");
    }
};

TEST_P(CampagnesTest, SaveKeepsStationsVisitDatesAndParametersAndIsIdempotent)
{
    Campagne c = campagneComplete();
    const CompteRendu r = enregistrerCampagne(c);
    ASSERT_TRUE(r.ok) << qPrintable(r.texte);
    EXPECT_EQ(r.texte, "Enregistrement de la campagne terminé.");
    EXPECT_EQ(c.fiche.code, "1");
    const QStringList attendus = {"1|7|1|20/01/2026", "1|3|2|", "1|12|3|02/03/2026"};
    EXPECT_EQ(sites(), attendus);
    EXPECT_EQ(parametresEnBase(), QStringList({"1|1301|27|1|23|3|0", "1|1340|162|1|23|3|0"}));
    EXPECT_EQ(lignes("SELECT codeCampagne, libelle, dateDebutApplication, dateFinApplication, "
                     "typeCampagne, bancarisationAutorise FROM CAMPAGNES"),
              QStringList({"1|Rivières 2026|15/01/2026|10/03/2026|3|1"}));

    // Saved again as loaded: the same rows, not an empty campaign nor a second one.
    std::optional<Campagne> lue = chargerCampagne("1");
    ASSERT_TRUE(lue);
    ASSERT_EQ(lue->stations.size(), 3);
    EXPECT_EQ(lue->stations[0].identifiant(), "BSS7/P1");
    EXPECT_EQ(lue->stations[0].datePassage, "20/01/2026");
    EXPECT_EQ(lue->stations[1].nom, "Aval");
    EXPECT_TRUE(lue->fiche.bancarisationAutorisee);
    ASSERT_TRUE(enregistrerCampagne(*lue).ok);
    EXPECT_EQ(lue->fiche.code, "1");
    EXPECT_EQ(sites(), attendus);
    EXPECT_EQ(parametresEnBase(), QStringList({"1|1301|27|1|23|3|0", "1|1340|162|1|23|3|0"}));
    EXPECT_EQ(valeur("SELECT count(*) FROM CAMPAGNES").toInt(), 1);

    // A second campaign takes the next code; reordered stations are written in their new order.
    Campagne d = campagneComplete();
    d.stations = {test::station("12"), test::station("7")};
    ASSERT_TRUE(enregistrerCampagne(d).ok);
    EXPECT_EQ(d.fiche.code, "2");
    EXPECT_EQ(lignes("SELECT codeSite, ordrePassage FROM CAMPAGNES_SITES WHERE codeCampagne=2 "
                     "ORDER BY ordrePassage"),
              QStringList({"12|1", "7|2"}));
}

TEST_P(CampagnesTest, ChecksRefuseInOrderAndWriteNothing)
{
    Campagne nouvelle = campagneComplete();
    ASSERT_TRUE(enregistrerCampagne(nouvelle).ok);
    const Campagne existante = *chargerCampagne(nouvelle.fiche.code);
    const QStringList avant = sites();

    struct Cas
    {
        std::function<void(Campagne &)> changer;
        QString message;
    };
    const QVector<Cas> cas = {
        {[](Campagne &c) {
             c.fiche.libelle = "  ";
             c.fiche.dateDebut = "xx";
         },
         "Le nom de la campagne n'est pas renseigné."},
        {[](Campagne &c) { c.fiche.dateDebut = "31/02/2026"; },
         "La date de début ou de fin de la période n'est pas correcte."},
        {[](Campagne &c) { c.fiche.dateFin = "14/01/2026"; },
         "La date de début ou de fin de la période n'est pas correcte."},
        {[](Campagne &c) {
             c.fiche.codePreleveur = "45";
             c.parametres[0].codeUnite.clear();
         },
         "Lors d'une campagne mixte, le preleveur et le laboratoire doivent être le même "
         "organisme."},
        {[](Campagne &c) { c.parametres[1].codeFraction = " "; },
         "Certains paramètres ne sont pas renseignés."},
        {[](Campagne &c) { c.stations[2].datePassage = "32/01/2026"; },
         "La date de passage de la station BSS12 n'est pas correcte."},
    };
    for (const Cas &k : cas) {
        Campagne c = existante;
        c.fiche.libelle = "Changée";
        k.changer(c);
        const CompteRendu r = enregistrerCampagne(c);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.texte, k.message);
    }
    EXPECT_EQ(sites(), avant);
    EXPECT_EQ(lignes("SELECT libelle FROM CAMPAGNES"), QStringList({"Rivières 2026"}));

    // Mixed type with one organisation, and a request type other than mixed, are accepted.
    Campagne c = campagneComplete();
    c.fiche.typeDemande = "1";
    c.fiche.codePreleveur = "45";
    EXPECT_TRUE(enregistrerCampagne(c).ok);
}

TEST_P(CampagnesTest, FailedSaveLosesNothing)
{
    Campagne c = campagneComplete();
    ASSERT_TRUE(enregistrerCampagne(c).ok);
    const QStringList avant = sites();
    // The parameters can no longer be written: the stations already rewritten must come back.
    toleranceErreurs = true;
    ASSERT_TRUE(executer("DROP TABLE CAMPAGNES_PARAMETRES"));
    c.fiche.libelle = "Autre nom";
    c.stations = {test::station("3")};
    const CompteRendu r = enregistrerCampagne(c);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.texte.startsWith("La campagne n'a pas été enregistrée : "))
        << qPrintable(r.texte);
    EXPECT_EQ(sites(), avant);
    EXPECT_EQ(lignes("SELECT libelle FROM CAMPAGNES"), QStringList({"Rivières 2026"}));

    // A new campaign that fails keeps no code.
    Campagne n = campagneComplete();
    EXPECT_FALSE(enregistrerCampagne(n).ok);
    EXPECT_TRUE(n.fiche.code.isEmpty());
}

TEST_P(CampagnesTest, DeleteAsksThenRemovesEverythingAndUnlinksItsRequests)
{
    Campagne c = campagneComplete();
    ASSERT_TRUE(enregistrerCampagne(c).ok);
    Campagne autre = campagneComplete();
    ASSERT_TRUE(enregistrerCampagne(autre).ok);
    test::ajouterDemande(5, "D5", "01/02/2026", "28/02/2026", {7}, "1");
    EXPECT_TRUE(demandeExistePourCampagne("1"));
    EXPECT_FALSE(demandeExistePourCampagne("2"));

    test::Reponses non;
    EXPECT_FALSE(supprimerCampagne("1", "Rivières 2026", non.fonction()).ok);
    EXPECT_EQ(non.questions, QStringList({"Supprimer la campagne:Rivières 2026 ?"}));
    EXPECT_EQ(valeur("SELECT count(*) FROM CAMPAGNES_SITES WHERE codeCampagne=1").toInt(), 3);

    test::Reponses oui;
    oui.reponse = true;
    const CompteRendu r = supprimerCampagne("1", "Rivières 2026", oui.fonction());
    ASSERT_TRUE(r.ok) << qPrintable(r.texte);
    for (const char *table : {"CAMPAGNES", "CAMPAGNES_SITES", "CAMPAGNES_PARAMETRES"})
        EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM %1 WHERE codeCampagne=1").arg(table))
                      .toInt(),
                  0)
            << table;
    EXPECT_EQ(valeur("SELECT count(*) FROM CAMPAGNES_SITES WHERE codeCampagne=2").toInt(), 3);
    // The request stays, without a link to a campaign that is gone.
    EXPECT_EQ(lignes("SELECT codeDemande, libelle, codeCampagne FROM QUALITOMETRES_DEMANDES"),
              QStringList({"5|D5|"}));
    EXPECT_FALSE(demandeExistePourCampagne("1"));
}

TEST_P(CampagnesTest, ListShowsFollowedCampaignsByStartDateAcrossYears)
{
    const auto ajouter = [this](int code, const char *nom, const char *debut, const char *fin,
                                int type, const char *bancarisation) {
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO CAMPAGNES (codeCampagne, libelle, "
                                            "dateDebutApplication, dateFinApplication, "
                                            "codePrestataire, typeCampagne, bancarisationAutorise) "
                                            "VALUES (%1, '%2', %3, %4, '44', %5, '%6')")
                                 .arg(code)
                                 .arg(nom)
                                 .arg(sqlTexteOuNull(debut), sqlTexteOuNull(fin))
                                 .arg(type)
                                 .arg(bancarisation)));
    };
    ajouter(1, "Hiver", "20/12/2025", "", 3, "0");
    ajouter(2, "Printemps", "01/02/2026", "30/04/2026", 2, "1");
    ajouter(3, "Nappe", "01/06/2026", "30/06/2026", 1, "1");
    ajouter(4, "Sans date", "", "", 3, "");
    ajouter(5, "Eté 2025", "15/07/2025", "31/08/2025", 3, "0");
    ajouter(6, "Hiver court", "20/12/2025", "31/12/2025", 3, "0");
    QStringList vues;
    for (const LigneCampagne &l : listerCampagnes())
        vues << l.fiche.code + '|' + l.fiche.libelle + '|' + l.laboratoire + '|' +
                    libelleTypeCampagne(l.fiche.typeCampagne) + '|' + l.bancarisation();
    EXPECT_EQ(vues, QStringList({"2|Printemps|Laboratoire des eaux|Hydrobio|oui",
                                 "1|Hiver|Laboratoire des eaux|Physicochimique|non",
                                 "6|Hiver court|Laboratoire des eaux|Physicochimique|non",
                                 "5|Eté 2025|Laboratoire des eaux|Physicochimique|non",
                                 "4|Sans date|Laboratoire des eaux|Physicochimique|oui"}));
}

TEST_P(CampagnesTest, StationGridShowsTheLaboratorysLatestReference)
{
    ASSERT_TRUE(executer("INSERT INTO LIEN_QUALITO_INTERVENANTS (CodeQualitometre, "
                         "CodeIntervenant, DateDebut, ReferenceInterne) VALUES (7, 44, " +
                         dateSQL("01/01/2020") + ", 'ANCIENNE')"));
    ASSERT_TRUE(executer("INSERT INTO LIEN_QUALITO_INTERVENANTS (CodeQualitometre, "
                         "CodeIntervenant, DateDebut, ReferenceInterne) VALUES (7, 44, " +
                         dateSQL("01/01/2024") + ", 'R-7')"));
    ASSERT_TRUE(executer("INSERT INTO LIEN_QUALITO_INTERVENANTS (CodeQualitometre, "
                         "CodeIntervenant, DateDebut, ReferenceInterne) VALUES (3, 45, " +
                         dateSQL("01/01/2024") + ", 'AUTRE LABO')"));
    const QVector<StationCampagne> s = stationsCampagne({"3", "7", "99"}, "44");
    ASSERT_EQ(s.size(), 3);
    EXPECT_EQ(s[0].codeBSS, "BSS3");
    EXPECT_EQ(s[0].referenceInterne, "");
    EXPECT_EQ(s[1].referenceInterne, "R-7");
    EXPECT_EQ(s[1].identifiant(), "BSS7/P1");
    EXPECT_EQ(s[2].codeSite, "99");
    EXPECT_EQ(s[2].codeBSS, "");
    // Each column of the station reaches its own field.
    test::ajouterStation(8, "BSS8", "Puits", "F2", 574000.5, 6279000.25, 26);
    const QVector<StationCampagne> p = stationsCampagne({"8"}, "44");
    ASSERT_EQ(p.size(), 1);
    EXPECT_EQ(QStringList({p[0].codeSite, p[0].codeBSS, p[0].nom, p[0].designation, p[0].x, p[0].y,
                           p[0].typeProjection})
                  .join(u'|'),
              "8|BSS8|Puits|F2|574000.5|6279000.25|26");
    EXPECT_FALSE(chargerCampagne("42"));
    EXPECT_FALSE(chargerCampagne("x"));
}

VYK_SUR_LES_DEUX_MOTEURS(CampagnesTest);

} // namespace
