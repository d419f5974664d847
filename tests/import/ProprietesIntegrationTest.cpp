// The file that drives an automatic integration: keys in any case, thresholds split at ";",
// files paired with stations, masks, lines that mean nothing reported, never a path outside the
// folder; and the folder listing with and without it.

#include "import/ProprietesIntegration.h"

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

#include <QFile>
#include <QTemporaryDir>

using namespace vyk;

namespace {

TEST(ProprietesIntegration, ClesSeuilsFichiersEtMasques)
{
    const ProprietesIntegration p =
        lireProprietesIntegration(QStringLiteral("\xFEFF#modele=EDILABO\r\n"
                                                 "#SEUIL=<; 3 ;>\r\n"
                                                 "#CAMPAGNE=Campagne 2026\r\n"
                                                 "#FTP=ftp.exemple.fr;21;depot\r\n"
                                                 "\r\n"
                                                 "*.XML\r\n"
                                                 "resultats_a.xml = 05001000 \r\n"
                                                 "resultats_b.xml\r\n"
                                                 "#COMMENTAIRE libre\r\n"
                                                 "../hors.xml=05001000\r\n"
                                                 "sous/dossier.xml\r\n"));
    EXPECT_EQ(p.modele, "EDILABO");
    EXPECT_EQ(p.typeSeuil, "3");
    EXPECT_TRUE(p.invalideSiInferieurSeuil1);
    EXPECT_TRUE(p.invalideSiSuperieurMax);
    EXPECT_EQ(p.campagne, "Campagne 2026");
    EXPECT_EQ(p.transfert, (QStringList{"ftp.exemple.fr", "21", "depot"}));
    EXPECT_EQ(p.masques, QStringList{"*.XML"});
    ASSERT_EQ(p.fichiers.size(), 2);
    EXPECT_EQ(p.fichiers[0].fichier, "resultats_a.xml");
    EXPECT_EQ(p.fichiers[0].station, "05001000");
    EXPECT_EQ(p.fichiers[1].fichier, "resultats_b.xml");
    EXPECT_EQ(p.fichiers[1].station, "");
    EXPECT_EQ(p.lignesIgnorees,
              (QStringList{"ligne 9 : #COMMENTAIRE libre", "ligne 10 : ../hors.xml=05001000",
                           "ligne 11 : sous/dossier.xml"}));
}

TEST(ProprietesIntegration, SeuilSansTypeNiCase)
{
    const ProprietesIntegration p = lireProprietesIntegration(QStringLiteral("#SEUIL=>\n"));
    EXPECT_EQ(p.typeSeuil, "");
    EXPECT_TRUE(p.invalideSiSuperieurMax);
    EXPECT_FALSE(p.invalideSiInferieurSeuil1);
    EXPECT_TRUE(lireProprietesIntegration(QString()).fichiers.isEmpty());
}

void creer(const QTemporaryDir &d, const QString &nom, const QByteArray &contenu = "x")
{
    QFile f(d.filePath(nom));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(contenu);
}

QStringList noms(const QVector<FichierIntegration> &fichiers)
{
    QStringList n;
    for (const auto &f : fichiers)
        n.append(f.station.isEmpty() ? f.fichier : f.fichier + u'=' + f.station);
    return n;
}

TEST(ProprietesIntegration, ListeDuDossier)
{
    QTemporaryDir d;
    ASSERT_TRUE(d.isValid());
    for (const char *nom : {"b.csv", "a.CSV", "c.txt", "d.xml"})
        creer(d, QString::fromUtf8(nom));
    ProprietesIntegration absent;
    EXPECT_FALSE(chargerProprietesIntegration(d.path(), absent));

    // Without the properties: the extension, in any of its spellings and any case.
    EXPECT_EQ(noms(listerFichiersIntegration(d.path(), QStringLiteral("csv"), nullptr)),
              (QStringList{"a.CSV", "b.csv"}));
    EXPECT_EQ(noms(listerFichiersIntegration(d.path(), QStringLiteral("*.txt"), nullptr)),
              QStringList{"c.txt"});
    EXPECT_EQ(noms(listerFichiersIntegration(d.path(), QString(), nullptr)),
              (QStringList{"a.CSV", "b.csv", "c.txt", "d.xml"}));

    // With them: the named files first, then the masked ones not already named; the properties
    // file itself is never a file to integrate.
    creer(d, FICHIER_PROPRIETES_INTEGRATION, "#MODELE=ADES CSV\nb.csv=05001000\n*.csv\n*.prop*\n");
    ProprietesIntegration p;
    ASSERT_TRUE(chargerProprietesIntegration(d.path(), p));
    EXPECT_EQ(p.modele, "ADES CSV");
    EXPECT_EQ(noms(listerFichiersIntegration(d.path(), QStringLiteral("xml"), &p)),
              (QStringList{"b.csv=05001000", "a.CSV"}));
}

class NomsStationsTest : public test::BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        test::creerTablesCatalogue({"QUALITOMETRES"});
    }
};

TEST_P(NomsStationsTest, NomDeLaStationAppariee)
{
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO QUALITOMETRES (CodeQualitometre, CodeBSS, Nom) VALUES (1, '05001000', "
        "'La Rance à Dinan')")));
    QVector<FichierIntegration> f{{QStringLiteral("a.xml"), QStringLiteral("05001000"), {}},
                                  {QStringLiteral("b.xml"), QStringLiteral("0500'X"), {}},
                                  {QStringLiteral("c.xml"), {}, {}}};
    completerNomsStations(f);
    EXPECT_EQ(f[0].nomStation, "La Rance à Dinan");
    EXPECT_EQ(f[1].nomStation, "");
    EXPECT_EQ(f[2].nomStation, "");
}

VYK_SUR_LES_DEUX_MOTEURS(NomsStationsTest);

} // namespace
