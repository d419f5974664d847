#include "app/Registre.h"
#include "app/Options.h"
#include "app/Reglages.h"

#include "support/BaseTest.h"

#include <QFile>
#include <QSettings>

using namespace vyk;

namespace {

class RegistreTest : public ::testing::Test
{
  protected:
    test::EnvironnementTest env;
    QString contenu() const
    {
        QFile f(cheminRegistre());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
};

TEST_F(RegistreTest, NomsSansEgardALaCasseEtUneSeuleValeurStockee)
{
    ASSERT_TRUE(ecrireRegistre(QStringLiteral("affichageStatistiques"), QStringLiteral("1")));
    EXPECT_EQ(lireRegistre(QStringLiteral("AffichageStatistiques")), QStringLiteral("1"));
    ASSERT_TRUE(ecrireRegistre(QStringLiteral("Point_Ok"), QStringLiteral("oui")));
    EXPECT_EQ(lireRegistre(reglage::Point_OK), QStringLiteral("OUI"));
    // A second spelling updates the stored value instead of adding another one.
    ASSERT_TRUE(ecrireRegistre(QStringLiteral("AFFICHAGESTATISTIQUES"), QStringLiteral("0")));
    EXPECT_EQ(lireRegistre(QStringLiteral("affichagestatistiques")), QStringLiteral("0"));
    EXPECT_EQ(contenu().count(QStringLiteral("ffichage"), Qt::CaseInsensitive), 1)
        << qPrintable(contenu());
    EXPECT_EQ(nomsRegistre().size(), 2);
}

TEST_F(RegistreTest, LectureCoupeeNettoyeeEtMajusculesSaufCasseGardee)
{
    ASSERT_TRUE(ecrireRegistre(reglage::Base, QStringLiteral("  /données/Base Test.mdb \t")));
    EXPECT_EQ(lireRegistre(reglage::Base), QStringLiteral("/DONNÉES/BASE TEST.MDB"));
    EXPECT_EQ(lireRegistre(reglage::Base, {}, true), QStringLiteral("/données/Base Test.mdb"));

    ASSERT_TRUE(ecrireRegistre(QStringLiteral("Long"), QString(1500, u'a') + u'b'));
    EXPECT_EQ(lireRegistre(QStringLiteral("Long"), {}, true), QString(1024, u'a'));
    ASSERT_TRUE(ecrireRegistre(QStringLiteral("Nul"),
                               QStringLiteral("avant") + QChar(u'\0') + QStringLiteral("après")));
    EXPECT_EQ(lireRegistre(QStringLiteral("Nul"), {}, true), QStringLiteral("avant"));

    // An empty text is stored as one blank and reads back as "".
    ASSERT_TRUE(ecrireRegistre(reglage::PassBase, QString()));
    EXPECT_TRUE(contenu().contains(QStringLiteral("PassBase=\" \""))) << qPrintable(contenu());
    EXPECT_EQ(lireRegistre(reglage::PassBase, {}, true), QString());

    EXPECT_EQ(lireRegistre(QStringLiteral("Absente")), QString());
    EXPECT_EQ(lireRegistre(reglage::Base, QStringLiteral("CleAbsente")), QString());
}

TEST_F(RegistreTest, SousClesEtCleDuProgrammeNommeeEnEntier)
{
    ASSERT_TRUE(ecrireRegistre(reglage::Colonne_Tri_Qualito, QStringLiteral("3"),
                               QStringLiteral("SOFTWARE\\NORVALE\\VYK6")));
    EXPECT_EQ(lireRegistre(reglage::Colonne_Tri_Qualito), QStringLiteral("3"));
    ASSERT_TRUE(ecrireRegistre(QStringLiteral("Largeur"), QStringLiteral("120"),
                               QStringLiteral("Listes\\Stations")));
    EXPECT_EQ(lireRegistre(QStringLiteral("largeur"),
                           QStringLiteral("software\\norvale\\vyk6\\LISTES\\stations")),
              QStringLiteral("120"));
    EXPECT_EQ(lireRegistre(QStringLiteral("Largeur")), QString());
    ASSERT_TRUE(ecrireRegistre(QStringLiteral("LARGEUR"), QStringLiteral("90"),
                               QStringLiteral("listes\\STATIONS")));
    EXPECT_EQ(lireRegistre(QStringLiteral("Largeur"), QStringLiteral("Listes\\Stations")),
              QStringLiteral("90"));
    EXPECT_EQ(nomsRegistre(QStringLiteral("Listes\\Stations")),
              QStringList{QStringLiteral("Largeur")});
}

TEST_F(RegistreTest, VYK_SETTINGSDeplaceLeMagasin)
{
    const QString autre = env.chemin(QStringLiteral("autre/reglages.ini"));
    ASSERT_TRUE(ecrireRegistre(reglage::TypeBase, QStringLiteral("ACCESS")));
    const QByteArray avant = qgetenv("VYK_SETTINGS");
    qputenv("VYK_SETTINGS", autre.toUtf8());
    EXPECT_EQ(cheminRegistre(), autre);
    EXPECT_EQ(lireRegistre(reglage::TypeBase), QString());
    ASSERT_TRUE(ecrireRegistre(reglage::TypeBase, QStringLiteral("POSTGRESQL")));
    EXPECT_TRUE(QFile::exists(autre));
    // The server password lives in the store: a file it creates is its owner's only.
    EXPECT_EQ(QFile::permissions(autre) & (QFile::ReadGroup | QFile::ReadOther),
              QFile::Permissions());
    qputenv("VYK_SETTINGS", avant);
    EXPECT_EQ(lireRegistre(reglage::TypeBase), QStringLiteral("ACCESS"));
}

TEST_F(RegistreTest, EcritureImpossibleRendFaux)
{
    QFile obstacle(env.chemin(QStringLiteral("fichier")));
    ASSERT_TRUE(obstacle.open(QIODevice::WriteOnly));
    obstacle.close();
    qputenv("VYK_SETTINGS", env.chemin(QStringLiteral("fichier/VYK6.ini")).toUtf8());
    EXPECT_FALSE(ecrireRegistre(reglage::Base, QStringLiteral("x")));
    EXPECT_EQ(lireRegistre(reglage::Base), QString());
}

TEST_F(RegistreTest, ValeursEcritesALaMain)
{
    QFile f(cheminRegistre());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[General]\nTypeBase=access\nBase=/srv/eau, rivieres/base.mdb\nLogLevel=2\n");
    f.close();
    EXPECT_EQ(lireRegistre(reglage::TypeBase), QStringLiteral("ACCESS"));
    EXPECT_EQ(lireRegistre(reglage::Base, {}, true), QStringLiteral("/srv/eau, rivieres/base.mdb"));
    EXPECT_EQ(lireOptions().niveauJournal, 2);
}

TEST_F(RegistreTest, OptionsLuesALaConnexion)
{
    EXPECT_EQ(moisDebutAnneeHydro(), QStringLiteral("09"));
    OptionsProgramme o = lireOptions();
    EXPECT_EQ(o.moisDebutAnneeHydro, QStringLiteral("09"));
    EXPECT_EQ(o.niveauJournal, 0);
    EXPECT_TRUE(o.trace);
    EXPECT_FALSE(o.affichageNGF);

    ecrireRegistre(reglage::MoisDebutAnneeHydro, QString());
    EXPECT_EQ(moisDebutAnneeHydro(), QStringLiteral("09"));
    ecrireRegistre(reglage::MoisDebutAnneeHydro, QStringLiteral("10"));
    ecrireRegistre(reglage::LogLevel, QStringLiteral("pas un nombre"));
    ecrireRegistre(reglage::TraceLog, QStringLiteral("non"));
    ecrireRegistre(reglage::Affichage, QStringLiteral("ngf"));
    ecrireRegistre(reglage::AffichageProfondeur, QStringLiteral("1"));
    ecrireRegistre(QStringLiteral("point_ok"), QStringLiteral("OUI"));
    ecrireRegistre(reglage::donneesHydroBio, QStringLiteral("1"));
    ecrireRegistre(reglage::ExploitationAEP, QStringLiteral("0"));
    ecrireRegistre(reglage::CheminModeles, QStringLiteral("/Modeles/"));
    o = lireOptions();
    EXPECT_EQ(o.moisDebutAnneeHydro, QStringLiteral("10"));
    EXPECT_EQ(o.niveauJournal, 0);
    EXPECT_FALSE(o.trace);
    EXPECT_TRUE(o.affichageNGF);
    EXPECT_TRUE(o.affichageProfondeur);
    EXPECT_TRUE(o.pointOk);
    EXPECT_TRUE(o.donneesHydroBio);
    EXPECT_FALSE(o.exploitationAEP);
    EXPECT_FALSE(o.donneesPhysicoChimique);
    EXPECT_EQ(o.cheminModeles, QStringLiteral("/Modeles/"));
    EXPECT_EQ(niveauJournalDe(QStringLiteral("2,0")), 2);
    EXPECT_EQ(niveauJournalDe(QString()), 0);
}

} // namespace
