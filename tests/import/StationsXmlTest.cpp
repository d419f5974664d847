// Station description messages written to the database: water bodies by their own, European or
// "FR" code, open network ends, points matched by identifier on a second import, absent elements
// leaving stored values alone, one refused station not stopping the others.

#include "import/StationsXml.h"
#include "import/LectureSandre.h"

#include "MessagesSandre.h"

using namespace vyk;

namespace {

class StationsXmlTest : public test::BaseMessagesSandre
{
  protected:
    void SetUp() override
    {
        BaseMessagesSandre::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        // GR0012 is stored with its "FR" prefix, GR0013 only as a European code.
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO MASSES_EAUX (Code_ME, Libelle) VALUES "
                                            "('FRGR0012', 'La Rance')")));
        ASSERT_TRUE(executer(QStringLiteral("INSERT INTO MASSES_EAUX (Code_ME, Code_Europeen, "
                                            "Libelle) VALUES ('ME13', 'GR0013', 'Le Léguer')")));
    }
    QString integrer(const QByteArray &contenu, bool remplacer = false,
                     BilanStationsXml *bilan = nullptr)
    {
        return integrerStationsXml(fichier(contenu, QStringLiteral("stations.xml")), remplacer,
                                   nullptr, bilan);
    }
    QStringList stations()
    {
        return lignes(QStringLiteral(
            "SELECT CodeQualitometre, CodeBSS, Nom, Localisation, Finalite, X, Y, TypeProjection, "
            "pk, DateCreation, code_hydro, riviere, CodeCommune, typeStation, codeBassinVersant "
            "FROM QUALITOMETRES ORDER BY CodeQualitometre"));
    }
    QStringList points()
    {
        return lignes(QStringLiteral("SELECT codeQualitometre, codePoint, identifiant, nom, "
                                     "dateDebut, dateFin, X, Y, TypeProjection, Commentaires FROM "
                                     "QUALITOMETRES_POINTS ORDER BY codeQualitometre, codePoint"));
    }
    QStringList liens()
    {
        return lignes(QStringLiteral("SELECT CodeQualitometre, Code_ME FROM LIEN_QUALITO_MASSE_EAU "
                                     "ORDER BY CodeQualitometre")) +
               lignes(QStringLiteral("SELECT L.CodeQualitometre, R.CodeSandre, L.DateDebut, "
                                     "L.DateFin FROM LIEN_QUALITO_RESEAUX L INNER JOIN RESEAUX R "
                                     "ON R.CodeReseau = L.CodeReseau ORDER BY R.CodeSandre"));
    }
    const QStringList STATIONS = {
        "1|05001000|La Rance à Dinan|Rive gauche|Surveillance|330000.5|6830000|26|12.5|"
        "01/05/1990|J01-0400|La Rance|22050|1|1",
        "2|05003000|Le Léguer||||||||||22113|1|"};
    const QStringList POINTS = {"1|0|031|Eaux|01/01/2007||330010|6830010|26|Prise en berge",
                                "1|1|131|Macro-invertébrés benthiques||||||"};
    const QStringList LIENS = {"1|FRGR0012", "2|ME13", "1|0400000001|01/01/2007|",
                               "1|0400000002|01/01/2000|30/06/2010"};
};

TEST_P(StationsXmlTest, PremierImportEtStationRefuseeNommee)
{
    BilanStationsXml bilan;
    ElementsIgnores ignores;
    const QByteArray message = test::messageSandre(QStringLiteral("stations.xml"));
    EXPECT_EQ(integrerStationsXml(fichier(message, QStringLiteral("s.xml")), false, nullptr, &bilan,
                                  &ignores),
              QStringLiteral("Erreur intégration station 05002000 : la valeur « pas un nombre » "
                             "de CoordXStationMesureEauxSurface n'est pas un nombre"));
    EXPECT_EQ(bilan.integrees, 2);
    EXPECT_TRUE(ignores.estVide()) << qPrintable(ignores.texte());
    EXPECT_EQ(stations(), STATIONS);
    EXPECT_EQ(points(), POINTS);
    EXPECT_EQ(liens(), LIENS);
    EXPECT_EQ(lignes(QStringLiteral("SELECT codeBV, Code, Nom FROM BASSINS_VERSANTS")),
              QStringList({"1|J01-0400|<J01-0400>"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT CodeCommune FROM COMMUNES ORDER BY CodeCommune")),
              QStringList({"22050", "22113"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT code FROM CODES_HYDRO")), QStringList({"J01-0400"}));
    // No water body was added: each code found its stored body.
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM MASSES_EAUX")).toInt(), 2);

    QVector<QStringList> apercu;
    EXPECT_EQ(
        listerStationsXml(fichier(test::avecPrefixe(message), QStringLiteral("p.xml")), apercu),
        QString());
    EXPECT_EQ(apercu, QVector<QStringList>({{"05001000", "La Rance à Dinan", "22050"},
                                            {"05002000", "Le Couesnon", ""},
                                            {"05003000", "Le Léguer", "22113"}}));
}

// A second import keeps the points' codes (operations stay on their point), drops a point no
// operation uses, keeps a used one the message no longer lists, and rebuilds the same links.
TEST_P(StationsXmlTest, SecondImportGardeLesPointsEtLesLiens)
{
    const QByteArray message = test::messageSandre(QStringLiteral("stations.xml"));
    integrer(message);
    ASSERT_TRUE(
        executer(QStringLiteral("INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, "
                                "codePoint, identifiant) VALUES (1, 5, '061'), (1, 6, '101')")));
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO QUALITOMETRES_POINTS_OPERATIONS "
                                        "(codeQualitometre, codeOperation, codePoint) VALUES "
                                        "(1, 0, 1), (1, 1, 6)")));
    integrer(message);
    integrer(message);
    EXPECT_EQ(stations(), STATIONS);
    EXPECT_EQ(points(), POINTS + QStringList({"1|6|101|||||||"}));
    EXPECT_EQ(liens(), LIENS);
}

// Replace mode empties a stored station of its measurement data before describing it again.
TEST_P(StationsXmlTest, RemplacementPurgeLesDonneesDeLaStation)
{
    const QByteArray message = test::messageSandre(QStringLiteral("stations.xml"));
    const QString erreur = integrer(message);
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO QUALITOMETRES_POINTS_OPERATIONS "
                                        "(codeQualitometre, codeOperation, codePoint) VALUES "
                                        "(1, 0, 1), (9, 0, 0)")));
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO PRELEVEMENTS (NumPrelevement, "
                                        "CodeQualitometre, CodeOperation) VALUES (0, 1, 0)")));
    EXPECT_EQ(integrer(message, true), erreur);
    EXPECT_EQ(
        lignes(QStringLiteral("SELECT codeQualitometre FROM QUALITOMETRES_POINTS_OPERATIONS")),
        QStringList({"9"})); // a station the message does not name keeps its data
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM PRELEVEMENTS")).toInt(), 0);
    EXPECT_EQ(stations(), STATIONS);
    EXPECT_EQ(points(), POINTS);
}

// Elements absent leave the stored values; an element present and empty empties its column.
TEST_P(StationsXmlTest, ElementAbsentLaisseLaValeurEnregistree)
{
    integrer(test::messageSandre(QStringLiteral("stations.xml")));
    const QByteArray reduit =
        "<Stations><StationMesureEauxSurface>"
        "<CdStationMesureEauxSurface>05001000</CdStationMesureEauxSurface>"
        "<LocPreciseStationMesureEauxSurface/>"
        "<CoordYStationMesureEauxSurface>6830001</CoordYStationMesureEauxSurface>"
        "<AltiStationMesureEauxSurface>12</AltiStationMesureEauxSurface>"
        "</StationMesureEauxSurface></Stations>";
    ElementsIgnores ignores;
    EXPECT_EQ(integrerStationsXml(fichier(reduit, QStringLiteral("r.xml")), false, nullptr, nullptr,
                                  &ignores),
              QString());
    EXPECT_EQ(ignores.texte(), QStringLiteral("Éléments non repris : StationMesureEauxSurface/"
                                              "AltiStationMesureEauxSurface (1)."));
    QStringList attendu = STATIONS;
    attendu[0].replace(QStringLiteral("|Rive gauche|"), QStringLiteral("||"));
    attendu[0].replace(QStringLiteral("|6830000|"), QStringLiteral("|6830001|"));
    EXPECT_EQ(stations(), attendu);
    EXPECT_EQ(points(), POINTS);
    EXPECT_EQ(liens(), LIENS);
}

// A lake keeps its type; a Corsican commune code is kept out of the numeric column and said;
// a text too long for its column is refused the same way on both engines, nothing of the
// station written.
TEST_P(StationsXmlTest, TypeCommuneNonNumeriqueEtTexteTropLong)
{
    ASSERT_TRUE(
        executer(QStringLiteral("INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, "
                                "typeStation, CodeCommune) VALUES (4, 'LAC1', '2', 2004)")));
    const QByteArray message =
        "<S><StationMesureEauxSurface><CdStationMesureEauxSurface>LAC1</CdStationMesureEauxSurface>"
        "<StationSitueeCommune><CdCommune>2A004</CdCommune></StationSitueeCommune>"
        "</StationMesureEauxSurface><StationMesureEauxSurface>"
        "<CdStationMesureEauxSurface>LONG1</"
        "CdStationMesureEauxSurface><FinaliteStationMesureEauxSurface>" +
        QByteArray(71, 'f') + "</FinaliteStationMesureEauxSurface></StationMesureEauxSurface></S>";
    BilanStationsXml bilan;
    EXPECT_EQ(integrer(message, false, &bilan),
              QStringLiteral("Erreur intégration station LONG1 : la valeur « %1 » de "
                             "FinaliteStationMesureEauxSurface dépasse 70 caractères")
                  .arg(QString(71, u'f')));
    EXPECT_EQ(bilan.avertissements,
              QStringList({"Station LAC1 : la commune « 2A004 » n'est pas reprise, le code "
                           "commune d'une station est numérique."}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT CodeBSS, typeStation, CodeCommune FROM QUALITOMETRES")),
              QStringList({"LAC1|2|2004"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT CodeCommune FROM COMMUNES")), QStringList({"2A004"}));
}

TEST_P(StationsXmlTest, MessageIllisibleNeRienEcrire)
{
    const QByteArray message = test::messageSandre(QStringLiteral("stations.xml"));
    const QString erreur = integrer(message.left(message.size() - 30));
    EXPECT_TRUE(erreur.startsWith(QStringLiteral("Impossible de charger le fichier ")))
        << qPrintable(erreur);
    EXPECT_EQ(stations(), QStringList());
    EXPECT_EQ(liens(), QStringList());
}

TEST(LibellesPoints, LibelleSelonIdentifiant)
{
    EXPECT_EQ(libellePointSandre(QStringLiteral("272")), QStringLiteral("Eaux"));
    EXPECT_EQ(libellePointSandre(QStringLiteral("002")), QStringLiteral("Poissons"));
    EXPECT_EQ(libellePointSandre(QStringLiteral("071")),
              QStringLiteral("Matières en suspension (M.E.S.)"));
    EXPECT_EQ(libellePointSandre(QStringLiteral("03")), QStringLiteral("Non renseigné"));
    EXPECT_EQ(libellePointSandre(QStringLiteral("999")), QStringLiteral("Non renseigné"));
}

VYK_SUR_LES_DEUX_MOTEURS(StationsXmlTest);

} // namespace
