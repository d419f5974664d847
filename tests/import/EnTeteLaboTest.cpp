// The head of a laboratory message written to the database: organisations by their scheme,
// stations matched or created, nothing blanked by a second message, nothing written from an
// unreadable one.

#include "import/EnTeteLabo.h"
#include "import/ResultatsLabo.h"

#include "MessagesSandre.h"

using namespace vyk;

namespace {

class EnTeteLaboTest : public test::BaseMessagesSandre
{
  protected:
    QString fichier(const QByteArray &contenu)
    {
        return BaseMessagesSandre::fichier(contenu, QStringLiteral("labo.xml"));
    }
    QStringList intervenants()
    {
        return lignes(QStringLiteral("SELECT CodeIntervenant, SIRET, CodeSandre, Nom, Ville FROM "
                                     "INTERVENANTS ORDER BY CodeIntervenant"));
    }
    QStringList stations()
    {
        return lignes(QStringLiteral("SELECT CodeQualitometre, CodeBSS, Designation, Nom, "
                                     "typeStation FROM QUALITOMETRES ORDER BY CodeQualitometre"));
    }
};

TEST_P(EnTeteLaboTest, IntervenantsPuisStationsEtSecondPassageIdentique)
{
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, "
                                        "Nom, typeStation) VALUES (7, '05001000', 'Rance', '2')")));
    const QString chemin = fichier(test::messageSandre(QStringLiteral("labo.xml")));
    ASSERT_EQ(integrerEnTeteLabo(chemin), QString());
    const QStringList attendusIntervenants = {"1|12345678900011||Laboratoire des Eaux|Rennes",
                                              "2||AGENCE1|Agence de l'eau|"};
    // "05001000/P1" is the stored station of that code; "05002000" is new, a river station.
    const QStringList attenduesStations = {"7|05001000||Rance|2", "8|05002000||Le Couesnon|1"};
    EXPECT_EQ(intervenants(), attendusIntervenants);
    EXPECT_EQ(stations(), attenduesStations);

    ASSERT_EQ(integrerEnTeteLabo(chemin), QString());
    EXPECT_EQ(intervenants(), attendusIntervenants);
    EXPECT_EQ(stations(), attenduesStations);
}

TEST_P(EnTeteLaboTest, NomEtVilleAbsentsLaissentLesValeursEnregistrees)
{
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO INTERVENANTS (CodeIntervenant, CodeSandre, "
                                        "Nom, Ville) VALUES (4, 'AGENCE1', 'Agence', 'Orléans')")));
    QString erreur;
    EXPECT_EQ(integrerIntervenant({QStringLiteral("AGENCE1"), QStringLiteral("SANDRE"), {}, {}, {}},
                                  erreur),
              4);
    EXPECT_EQ(erreur, QString());
    EXPECT_EQ(intervenants(), QStringList({"4||AGENCE1|Agence|Orléans"}));
    EXPECT_EQ(integrerIntervenant({QStringLiteral("AGENCE1"),
                                   {},
                                   QStringLiteral("Agence de l'eau"),
                                   QStringLiteral("Tours"),
                                   {}},
                                  erreur),
              4);
    EXPECT_EQ(intervenants(), QStringList({"4||AGENCE1|Agence de l'eau|Tours"}));
    // A new organisation without name is named after its code; a SIRET too long for its column
    // is refused the same way on both engines, and nothing is written.
    EXPECT_EQ(
        integrerIntervenant({QStringLiteral("99"), QStringLiteral("siret"), {}, {}, {}}, erreur),
        5);
    EXPECT_EQ(integrerIntervenant(
                  {QStringLiteral("123456789000111"), QStringLiteral("SIRET"), {}, {}, {}}, erreur),
              -1);
    EXPECT_EQ(erreur, QStringLiteral("la valeur « 123456789000111 » de CdIntervenant dépasse 14 "
                                     "caractères"));
    EXPECT_EQ(intervenants(), QStringList({"4||AGENCE1|Agence de l'eau|Tours", "5|99||99|"}));
}

TEST_P(EnTeteLaboTest, StationParCodeParReferenceInterneOuCreee)
{
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS) "
                                        "VALUES (3, 'BSS003')")));
    ASSERT_TRUE(
        executer(QStringLiteral("INSERT INTO LIEN_QUALITO_INTERVENANTS (CodeQualitometre, "
                                "CodeIntervenant, ReferenceInterne) VALUES (3, 1, 'REF-LABO')")));
    QString erreur;
    EXPECT_EQ(integrerStationLabo({QStringLiteral("BSS003/XYZ"), {}}, erreur), 3);
    EXPECT_EQ(integrerStationLabo({QStringLiteral("REF-LABO"), {}}, erreur), 3);
    // A groundwater point code (an "X" and a designation) makes a groundwater station.
    EXPECT_EQ(integrerStationLabo({QStringLiteral("03456X0012/F1234567"), QStringLiteral("Forage")},
                                  erreur),
              4);
    EXPECT_EQ(erreur, QString());
    EXPECT_EQ(integrerStationLabo({QStringLiteral("123456789012345678"), {}}, erreur), -1);
    EXPECT_EQ(erreur, QStringLiteral("le code « 123456789012345678 » dépasse 17 caractères"));
    EXPECT_EQ(stations(), QStringList({"3|BSS003|||", "4|03456X0012|F12345|Forage|0"}));
}

TEST_P(EnTeteLaboTest, MessageIllisibleNeRienEcrire)
{
    const QByteArray original = test::messageSandre(QStringLiteral("labo.xml"));
    const QString chemin = fichier(original.left(original.indexOf("<Demande>") + 200));
    const QString erreur = integrerEnTeteLabo(chemin);
    EXPECT_TRUE(erreur.startsWith(QStringLiteral("Impossible de charger le fichier ") + chemin +
                                  QStringLiteral(". Vérifier le format du fichier.")))
        << qPrintable(erreur);
    EXPECT_EQ(intervenants(), QStringList());
    EXPECT_EQ(stations(), QStringList());
}

// What the readers leave aside also reaches the journal, where an unattended run is read.
TEST_P(EnTeteLaboTest, ElementsNonReprisJournalises)
{
    GrilleImport g;
    ASSERT_EQ(chargerResultatsLabo(fichier(test::messageSandre(QStringLiteral("labo.xml"))), g),
              QString());
    EXPECT_EQ(lignes(QStringLiteral("SELECT niveau, Titre, description FROM JOURNAL")),
              QStringList({"0|Import SANDRE : éléments non repris|labo.xml : Éléments non repris : "
                           "Emetteur/CPIntervenant (1), Prelevement/Echantillon/Analyse/"
                           "AnaInconnue (1), Prelevement/Echantillon/Analyse/Parametre/"
                           "LbParametre (1), Scenario/CodeScenario (1)."}));
}

VYK_SUR_LES_DEUX_MOTEURS(EnTeteLaboTest);

} // namespace
