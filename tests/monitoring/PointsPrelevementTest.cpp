#include "monitoring/PointsPrelevement.h"
#include "app/Registre.h"
#include "app/Reglages.h"

#include "DonneesOperations.h"

#include <QDir>
#include <QFile>

using namespace vyk;

namespace {

class PointsPrelevementTest : public test::BaseOperations
{
  protected:
    FichePoint fiche(const QString &identifiant, const QString &debut = {}, const QString &fin = {})
    {
        FichePoint p;
        p.station = 1;
        p.identifiant = identifiant;
        p.dateDebut = debut;
        p.dateFin = fin;
        return p;
    }
};

// Another workstation adding the station's first point and committing a little later: the new
// point's code is read once that one is written, and the two codes differ.
TEST_P(PointsPrelevementTest, DeuxPostesAjoutantUnPointObtiennentDeuxCodes)
{
    station(1, QStringLiteral("BSS1"));
    FichePoint p = fiche(QStringLiteral("031"));
    QString refus = QStringLiteral("pas encore enregistré");
    ASSERT_TRUE(pendantUneEcritureConcurrente(
        QStringLiteral("QUALITOMETRES_POINTS"),
        QStringLiteral("INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, "
                       "identifiant) VALUES (1, 0, '131')"),
        [&] { refus = enregistrerPoint(p); }));
    EXPECT_EQ(refus, QString());
    EXPECT_EQ(p.codePoint, QStringLiteral("1"));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT codePoint, identifiant FROM QUALITOMETRES_POINTS ORDER BY codePoint")),
              QStringList({"0|131", "1|031"}));
}

TEST_P(PointsPrelevementTest, PeriodesDisjointesSeulement)
{
    station(1, QStringLiteral("BSS1"));
    station(2, QStringLiteral("BSS2"));
    FichePoint a =
        fiche(QStringLiteral("131"), QStringLiteral("01/01/2001"), QStringLiteral("31/12/2005"));
    ASSERT_EQ(enregistrerPoint(a), QString());
    EXPECT_EQ(a.codePoint, QStringLiteral("0")) << "the station's first point";
    FichePoint b = fiche(QStringLiteral("131"), QStringLiteral("01/01/2006"));
    ASSERT_EQ(enregistrerPoint(b), QString());
    EXPECT_EQ(b.codePoint, QStringLiteral("1"));

    const QString refus = QStringLiteral("L'intervale de dates n'est pas cohérent avec une "
                                         "définition existente pour ce site.");
    FichePoint c = fiche(QStringLiteral("131"), QStringLiteral("01/01/2004"));
    EXPECT_EQ(enregistrerPoint(c), refus);
    EXPECT_TRUE(c.estNouveau());
    FichePoint sansDates = fiche(QStringLiteral("131"));
    EXPECT_EQ(enregistrerPoint(sansDates), refus);
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES_POINTS")).toInt(), 2);

    // Another identifier, or another station, does not conflict; a point may be saved again.
    FichePoint autre = fiche(QStringLiteral("031"));
    EXPECT_EQ(enregistrerPoint(autre), QString());
    sansDates.station = 2;
    EXPECT_EQ(enregistrerPoint(sansDates), QString());
    EXPECT_EQ(sansDates.codePoint, QStringLiteral("0"));
    a.nom = QStringLiteral("Radier amont");
    EXPECT_EQ(enregistrerPoint(a), QString());
    // An undated definition conflicts with every other of the same identifier.
    FichePoint d =
        fiche(QStringLiteral("131"), QStringLiteral("01/01/1950"), QStringLiteral("31/12/1950"));
    d.station = 2;
    EXPECT_EQ(enregistrerPoint(d), refus);
    EXPECT_TRUE(recus().isEmpty()) << "the core shows nothing";
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT codeQualitometre, codePoint, identifiant, nom, dateDebut, dateFin FROM "
                  "QUALITOMETRES_POINTS ORDER BY codeQualitometre, codePoint")),
              QStringList({"1|0|131|Radier amont|01/01/2001|31/12/2005", "1|1|131||01/01/2006|",
                           "1|2|031|||", "2|0|131|||"}));
}

TEST_P(PointsPrelevementTest, ControlesDeLaFiche)
{
    station(1, QStringLiteral("BSS1"));
    struct Cas
    {
        FichePoint point;
        QString message;
    };
    FichePoint nombre = fiche(QStringLiteral("101"));
    nombre.x = QStringLiteral("12,5");
    nombre.y = QStringLiteral("abc");
    const Cas cas[] = {
        {fiche(QString()), QStringLiteral("Le site n'est pas renseigné.")},
        {fiche(QStringLiteral("101"), QStringLiteral("31/02/2020")),
         QStringLiteral("La date de début du point de prélèvement n'est pas correcte.")},
        {fiche(QStringLiteral("101"), {}, QStringLiteral("2020")),
         QStringLiteral("La date de fin du point de prélèvement n'est pas correcte.")},
        {fiche(QStringLiteral("101"), QStringLiteral("02/01/2020"), QStringLiteral("01/01/2020")),
         QStringLiteral("La date de fin du point de prélèvement précède sa date de début.")},
        {nombre, QStringLiteral("La valeur « abc » du champ Y n'est pas un nombre.")},
    };
    for (Cas c : cas)
        EXPECT_EQ(enregistrerPoint(c.point), c.message);
    // Every defect at once; a period is judged only between two readable dates.
    FichePoint tout = fiche(QString(), QStringLiteral("31/02/2020"), QStringLiteral("01/01/2019"));
    tout.xAmont = QStringLiteral("1 km");
    tout.y = QStringLiteral("abc");
    EXPECT_EQ(colonnesRefusees(verifierPoint(tout)),
              QStringList({"identifiant", "dateDebut", "XAmont", "Y"}));
    EXPECT_EQ(enregistrerPoint(tout),
              QStringLiteral("Le site n'est pas renseigné.\n"
                             "La date de début du point de prélèvement n'est pas correcte.\n"
                             "La valeur « 1 km » du champ X amont n'est pas un nombre.\n"
                             "La valeur « abc » du champ Y n'est pas un nombre."));
    EXPECT_TRUE(recus().isEmpty()) << "the core shows nothing";
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES_POINTS")).toInt(), 0);

    EXPECT_EQ(libellesPoint(QStringLiteral("031")).profFin, QStringLiteral("Prof fin (m)"));
    EXPECT_EQ(libellesPoint(QStringLiteral("131")).largeurDebit,
              QStringLiteral("Largeur au débit de plein bord (m)"));
    EXPECT_EQ(libellesPoint(QStringLiteral("271")).profFin,
              QStringLiteral("Largeur mouillée moyenne (m)"));
    EXPECT_TRUE(libellesPoint(QStringLiteral("271")).profDebut.isEmpty());
    EXPECT_EQ(libellesPoint(QStringLiteral("101")).profFin,
              QStringLiteral("Prof maxi observée (m)"));
}

TEST_P(PointsPrelevementTest, DateDeCreationReculeeEtJournalisee)
{
    station(1, QStringLiteral("BSS1"), QStringLiteral("15/06/2010"));
    FichePoint p = fiche(QStringLiteral("131"), QStringLiteral("03/04/2008"));
    p.x = QStringLiteral("401234,5");
    p.photos[2] = QStringLiteral("amont.jpg");
    ASSERT_EQ(enregistrerPoint(p), QString());
    EXPECT_EQ(lignes(QStringLiteral("SELECT dateCreation FROM QUALITOMETRES")),
              QStringList({"03/04/2008"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT X, Photo3 FROM QUALITOMETRES_POINTS")),
              QStringList({"401234.5|amont.jpg"}));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT Titre, description FROM JOURNAL WHERE Titre='Date de création Qualito'")),
              QStringList({"Date de création Qualito|Saisie manuel d'un site de mesure - "
                           "Modification de la date de création du "
                           "qualitomètre (1) à la date du: 03/04/2008"}));
    // A later point changes nothing.
    FichePoint q = fiche(QStringLiteral("031"), QStringLiteral("01/01/2012"));
    ASSERT_EQ(enregistrerPoint(q), QString());
    // Nor does one of the creation's own day, whatever its time of day.
    ASSERT_TRUE(bd().preparer(QStringLiteral("UPDATE QUALITOMETRES SET dateCreation=?"))
                    .executer({QDateTime(QDate(2008, 4, 3), QTime(10, 30))}));
    FichePoint r = fiche(QStringLiteral("271"), QStringLiteral("03/04/2008"));
    ASSERT_EQ(enregistrerPoint(r), QString());
    EXPECT_EQ(lignes(QStringLiteral("SELECT dateCreation FROM QUALITOMETRES")),
              QStringList({"03/04/2008 10:30:00"}));
    ASSERT_TRUE(executer(QStringLiteral("UPDATE QUALITOMETRES SET dateCreation=#04/03/2008#")));
    EXPECT_EQ(lignes(QStringLiteral("SELECT dateCreation FROM QUALITOMETRES")),
              QStringList({"03/04/2008"}));
    EXPECT_EQ(valeur(QStringLiteral(
                         "SELECT count(*) FROM JOURNAL WHERE Titre='Date de création Qualito'"))
                  .toInt(),
              1);
}

TEST_P(PointsPrelevementTest, SuppressionRefuseeAvecUneOperation)
{
    station(1, QStringLiteral("BSS1"));
    point(1, 0, QStringLiteral("131"));
    point(1, 1, QStringLiteral("101"));
    operation(1, 0, 0, QStringLiteral("01/06/2020"));
    // The question goes to the function given, never to a message box.
    QStringList questions;
    bool reponse = true;
    const Confirmation confirmer = [&](const QString &q) {
        questions << q;
        return reponse;
    };
    QString refus;
    EXPECT_FALSE(supprimerPoint(1, QStringLiteral("0"), QStringLiteral("BSS1"), confirmer, refus));
    EXPECT_EQ(refus, QStringLiteral("le site possède des opérations qui lui sont "
                                    "rattachés. Vous ne pouvez pas le supprimer. "
                                    "Supprimer les opérations concernées au préalable. Merci"));
    EXPECT_FALSE(supprimerPoint(1, QString(), QStringLiteral("BSS1"), confirmer, refus));
    EXPECT_EQ(refus, QStringLiteral("Sélectionnez d'abord le point de prélèvement dans la liste."));
    EXPECT_TRUE(questions.isEmpty()) << "a refusal asks nothing";
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES_POINTS")).toInt(), 2);

    reponse = false;
    EXPECT_FALSE(supprimerPoint(1, QStringLiteral("1"), QStringLiteral("BSS1"), confirmer, refus));
    EXPECT_EQ(refus, QString()) << "No is no refusal";
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES_POINTS")).toInt(), 2);
    reponse = true;
    EXPECT_TRUE(supprimerPoint(1, QStringLiteral("1"), QStringLiteral("BSS1"), confirmer, refus));
    const QString question = QStringLiteral("Etes vous sur de vouloir supprimer le point de "
                                            "prélèvement de la station BSS1 et toutes "
                                            "les informations qu'il possède ?");
    EXPECT_EQ(questions, QStringList({question, question}));
    EXPECT_TRUE(recus().isEmpty()) << "the core shows nothing";
    EXPECT_EQ(lignes(QStringLiteral("SELECT codePoint FROM QUALITOMETRES_POINTS")),
              QStringList({"0"}));
}

// Another import creating the measurement's point and committing a little later: the point is
// looked for once that one is written, found, and not created a second time.
TEST_P(PointsPrelevementTest, UnPointCreeParUnAutrePosteEstRetrouve)
{
    station(1, QStringLiteral("BSS1"), QStringLiteral("01/01/2005"));
    qint64 code = -2;
    QString refus;
    ASSERT_TRUE(pendantUneEcritureConcurrente(
        QStringLiteral("QUALITOMETRES_POINTS"),
        QStringLiteral("INSERT INTO QUALITOMETRES_POINTS (codeQualitometre, codePoint, "
                       "identifiant) VALUES (1, 0, '131')"),
        [&] {
            code = trouverPointPrelevement(1, QStringLiteral("131"), QDate(2008, 5, 1), {}, {}, {},
                                           &refus);
        }));
    EXPECT_EQ(code, 0) << qPrintable(refus);
    EXPECT_EQ(refus, QString());
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT codePoint, identifiant FROM QUALITOMETRES_POINTS ORDER BY codePoint")),
              QStringList({"0|131"}));
}

TEST_P(PointsPrelevementTest, TrouverOuCreerLePointDUneMesure)
{
    station(1, QStringLiteral("BSS1"), QStringLiteral("01/01/2005"));
    point(1, 0, QStringLiteral("131"), QStringLiteral("01/01/2006"), QStringLiteral("31/12/2010"));
    point(1, 1, QStringLiteral("131"), QStringLiteral("01/01/2011"));
    point(1, 2, QStringLiteral("031"));
    IssuePoint issue;
    EXPECT_EQ(trouverPointPrelevement(1, QStringLiteral("131"), QDate(2008, 5, 1), {}, {}, {},
                                      nullptr, &issue),
              0);
    EXPECT_FALSE(issue.cree);
    EXPECT_EQ(issue.definitions, 2);
    EXPECT_EQ(trouverPointPrelevement(1, QStringLiteral("131"), QDate(2011, 1, 1)), 1);
    EXPECT_EQ(trouverPointPrelevement(1, QStringLiteral("131"), QDate(2003, 1, 1)), 0)
        << "the nearest later point";
    EXPECT_EQ(trouverPointPrelevement(1, QStringLiteral("131")), 1) << "without date, the newest";
    EXPECT_EQ(trouverPointPrelevement(1, QStringLiteral("031"), QDate(1990, 1, 1)), 2)
        << "an undated point is always valid";
    EXPECT_EQ(trouverPointPrelevement(99, QStringLiteral("131"), QDate(2008, 5, 1)), -1);
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES_POINTS")).toInt(), 3);

    // A new identifier creates its point, the station's creation date follows it back.
    EXPECT_EQ(trouverPointPrelevement(1, QStringLiteral("101"), QDate(2004, 2, 3), 1.5, {}, {},
                                      nullptr, &issue),
              3);
    EXPECT_TRUE(issue.cree);
    EXPECT_EQ(issue.definitions, 1);
    EXPECT_EQ(lignes(QStringLiteral("SELECT identifiant, dateDebut, profondeurRecommandee FROM "
                                    "QUALITOMETRES_POINTS WHERE codePoint=3")),
              QStringList({"101|03/02/2004|1.5"}));
    EXPECT_EQ(lignes(QStringLiteral("SELECT dateCreation FROM QUALITOMETRES")),
              QStringList({"03/02/2004"}));
    EXPECT_EQ(lignes(QStringLiteral(
                  "SELECT description FROM JOURNAL WHERE Titre='Date de création Qualito'")),
              QStringList({"Création d'un site de mesure - Modification de la date de création du "
                           "qualitomètre (1) à la date du: "
                           "03/02/2004"}));
    // The depth is part of the match.
    EXPECT_EQ(trouverPointPrelevement(1, QStringLiteral("101"), QDate(2005, 1, 1), 1.5), 3);
    EXPECT_EQ(trouverPointPrelevement(1, QStringLiteral("101"), QDate(2005, 1, 1), 4.0), 4);

    // Tolerance on the coordinates of the matched point.
    ASSERT_TRUE(executer(
        QStringLiteral("UPDATE QUALITOMETRES_POINTS SET X=1000, Y=2000 WHERE codePoint=2")));
    EXPECT_EQ(
        trouverPointPrelevement(1, QStringLiteral("031"), QDate(2020, 1, 1), {}, 1500.0, 2000.0), 2)
        << "no tolerance set";
    ecrireRegistre(reglage::MargeIntegrationSite, QStringLiteral("100"));
    EXPECT_EQ(
        trouverPointPrelevement(1, QStringLiteral("031"), QDate(2020, 1, 1), {}, 1050.0, 1950.0),
        2);
    EXPECT_EQ(
        trouverPointPrelevement(1, QStringLiteral("031"), QDate(2020, 1, 1), {}, 1500.0, 2000.0),
        5);
    EXPECT_EQ(lignes(QStringLiteral("SELECT X, Y FROM QUALITOMETRES_POINTS WHERE codePoint=5")),
              QStringList({"1500|2000"}));
    // The point turned down ends the day before: the two definitions do not overlap.
    const QString periodes = QStringLiteral(
        "SELECT codePoint, dateDebut, dateFin FROM QUALITOMETRES_POINTS WHERE identifiant='031' "
        "ORDER BY codePoint");
    EXPECT_EQ(lignes(periodes), QStringList({"2||31/12/2019", "5|01/01/2020|"}));
    // Between the two, at a third position: the older is cut again, the new one ends before the
    // later one starts.
    EXPECT_EQ(
        trouverPointPrelevement(1, QStringLiteral("031"), QDate(2019, 6, 1), {}, 3000.0, 3000.0),
        6);
    EXPECT_EQ(lignes(periodes),
              QStringList({"2||31/05/2019", "5|01/01/2020|", "6|01/06/2019|31/12/2019"}));
    EXPECT_EQ(
        lignes(QStringLiteral("SELECT description FROM JOURNAL WHERE "
                              "Titre='Fermeture d''un site de mesure' ORDER BY description DESC")),
        QStringList({"Le point 2 (031) du qualitomètre 1 est fermé au 31/12/2019 : une "
                     "mesure le situe à une autre position.",
                     "Le point 2 (031) du qualitomètre 1 est fermé au 31/05/2019 : une "
                     "mesure le situe à une autre position."}));
    for (const FichePoint &p : chargerPoints(1))
        if (p.identifiant == QLatin1String("031")) {
            EXPECT_FALSE(chevauchePoint(p)) << qPrintable(p.codePoint);
        }
    // Same start day, or no date: nothing can be split, the measurement is refused.
    QString refus;
    EXPECT_EQ(trouverPointPrelevement(1, QStringLiteral("031"), QDate(2020, 1, 1), {}, 9000.0,
                                      9000.0, &refus),
              -1);
    EXPECT_EQ(refus, QStringLiteral("Le point de prélèvement « 031 » du qualitomètre 1 est défini "
                                    "à une autre position à cette date et sa définition ne peut "
                                    "pas être fermée : corrigez-la avant d'intégrer la mesure."));
    refus.clear();
    EXPECT_EQ(trouverPointPrelevement(1, QStringLiteral("031"), {}, {}, 9000.0, 9000.0, &refus),
              -1);
    EXPECT_FALSE(refus.isEmpty());
    EXPECT_EQ(valeur(QStringLiteral("SELECT count(*) FROM QUALITOMETRES_POINTS")).toInt(), 7);
    ecrireRegistre(reglage::repriseSiteSansControle, QStringLiteral("OUI"));
    EXPECT_EQ(
        trouverPointPrelevement(1, QStringLiteral("031"), QDate(2020, 1, 1), {}, 9000.0, 9000.0),
        5);
}

TEST_P(PointsPrelevementTest, PhotosDuPoint)
{
    const QString dossier = chemin(QStringLiteral("photos"));
    ASSERT_TRUE(QDir().mkpath(dossier));
    for (const char *nom :
         {"BSS1_carte1.jpg", "BSS1_131_site.png", "BSS1_IBD_amont.jpg", "BSS1_scan_IBD.pdf",
          "BSS2_carte.jpg", "BSS1_autre.jpg", "propre.jpg"}) {
        QFile f(QDir(dossier).filePath(QString::fromLatin1(nom)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    FichePoint p;
    p.identifiant = QStringLiteral("131");
    p.photos[0] = QStringLiteral("propre.jpg");
    p.photos[1] = QStringLiteral("absente.jpg");
    QStringList noms;
    for (const QString &c : photosPoint(p, QStringLiteral("BSS1"), dossier))
        noms << QFileInfo(c).fileName();
    ASSERT_EQ(noms.size(), 5);
    EXPECT_EQ(noms.takeLast(), QStringLiteral("propre.jpg")) << "the point's own photos come last";
    noms.sort();
    EXPECT_EQ(noms, QStringList({"BSS1_131_site.png", "BSS1_IBD_amont.jpg", "BSS1_carte1.jpg",
                                 "BSS1_scan_IBD.pdf"}));
}

VYK_SUR_LES_DEUX_MOTEURS(PointsPrelevementTest);

} // namespace
