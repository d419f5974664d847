// Water-point messages: the preview read from the message, then the stations written from it;
// an empty cell leaves the stored value, a water body given replaces the links.

#include "import/PointsEauXml.h"
#include "import/LectureSandre.h"

#include "MessagesSandre.h"

using namespace vyk;

namespace {

class PointsEauXmlTest : public test::BaseMessagesSandre
{
  protected:
    QVector<QStringList> apercu(const QByteArray &contenu, ElementsIgnores *ignores = nullptr)
    {
        QVector<QStringList> a;
        EXPECT_EQ(
            listerPointsEauXml(fichier(contenu, QStringLiteral("points.xml")), a, nullptr, ignores),
            QString());
        return a;
    }
    QStringList stations()
    {
        return lignes(QStringLiteral(
            "SELECT CodeQualitometre, CodeBSS, Designation, Nom, Altitude, adresse, X, Y, "
            "TypeProjection, Commentaires, CodeNature, CodeCommune, typeStation, loginmaj FROM "
            "QUALITOMETRES ORDER BY CodeQualitometre"));
    }
};

TEST_P(PointsEauXmlTest, ApercuPuisStationsEtSecondPassage)
{
    const QByteArray message = test::messageSandre(QStringLiteral("points-eau.xml"));
    ElementsIgnores ignores;
    const QVector<QStringList> a = apercu(message, &ignores);
    EXPECT_EQ(a, QVector<QStringList>(
                     {{"03456X0012/F1", "Forage du bourg", "45.5", "Route de la gare", "350000",
                       "6790000", "26", "Captage AEP", "6", "35238", "4015"},
                      {"03457X0001", "Source", "", "", "", "", "", "", "", "2A004", ""}}));
    EXPECT_TRUE(ignores.estVide()) << qPrintable(ignores.texte());
    EXPECT_EQ(apercu(test::enMajuscules(message)), a);

    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO MASSES_EAUX (Code_ME, Code_Europeen) VALUES "
                                        "('FRG015', '4015')")));
    QStringList avertissements;
    EXPECT_EQ(integrerPointsEau(false, a, nullptr, &avertissements), QString());
    EXPECT_EQ(avertissements,
              QStringList({"Station 03457X0001 : la commune « 2A004 » n'est pas reprise, le code "
                           "commune d'une station est numérique."}));
    const QStringList attendu = {
        "1|03456X0012|F1|Forage du bourg|45.5|Route de la gare|350000|6790000|26|Captage AEP|6|"
        "35238|0|",
        "2|03457X0001||Source|||||||||0|"};
    EXPECT_EQ(stations(), attendu);
    EXPECT_EQ(
        lignes(QStringLiteral("SELECT CodeQualitometre, Code_ME FROM LIEN_QUALITO_MASSE_EAU")),
        QStringList({"1|FRG015"}));

    // Empty cells leave the stored values; nothing is created twice.
    QVector<QStringList> reduit = a;
    for (int c = 1; c < reduit[0].size(); ++c)
        reduit[0][c].clear();
    EXPECT_EQ(integrerPointsEau(false, reduit), QString());
    EXPECT_EQ(stations(), attendu);
    EXPECT_EQ(
        lignes(QStringLiteral("SELECT CodeQualitometre, Code_ME FROM LIEN_QUALITO_MASSE_EAU")),
        QStringList({"1|FRG015"}));
}

// A row refused (a number that is not one, a code too long for its column) is named; the
// others are written.
TEST_P(PointsEauXmlTest, LigneRefuseeNommeeLesAutresEcrites)
{
    const QVector<QStringList> a = {
        {"P1", "Puits", "haut"},
        {"123456789012345678"},
        {"P2", "Puits 2"},
    };
    EXPECT_EQ(integrerPointsEau(false, a),
              QStringLiteral("Erreur intégration station P1 : la valeur « haut » de Altitude "
                             "n'est pas un nombre\nErreur intégration station 123456789012345678 "
                             ": le code « 123456789012345678 » dépasse 17 caractères"));
    EXPECT_EQ(lignes(QStringLiteral("SELECT CodeQualitometre, CodeBSS, Nom FROM QUALITOMETRES")),
              QStringList({"1|P2|Puits 2"}));
}

TEST_P(PointsEauXmlTest, MessageIllisibleSansApercu)
{
    QVector<QStringList> a = {{"ancien"}};
    const QString chemin =
        fichier("<QESOUT><PointEau><CdNationalPointEau>X</PointEau>", QStringLiteral("casse.xml"));
    EXPECT_TRUE(listerPointsEauXml(chemin, a).startsWith(
        QStringLiteral("Impossible de charger le fichier ") + chemin));
    EXPECT_TRUE(a.isEmpty());
}

VYK_SUR_LES_DEUX_MOTEURS(PointsEauXmlTest);

} // namespace
