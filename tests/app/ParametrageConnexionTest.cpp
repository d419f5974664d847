#include "app/ParametrageConnexion.h"
#include "app/Demarrage.h"
#include "app/PaquetBase.h"
#include "app/Registre.h"
#include "app/Reglages.h"

#include "ZipEcrit.h"
#include "support/BaseTest.h"

#include <QDir>
#include <QFile>

using namespace vyk;
using vyk::test::BaseTest;

namespace {

QString lu(const QString &nom)
{
    return lireRegistre(nom, {}, true);
}

QString contenuFichier(const QString &chemin)
{
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

bool ecrireFichier(const QString &chemin, const QByteArray &octets)
{
    QFile f(chemin);
    return f.open(QIODevice::WriteOnly) && f.write(octets) == octets.size();
}

class ParametrageConnexionTest : public ::testing::Test
{
  protected:
    test::EnvironnementTest env;
    int changements = 0;
    ParametrageConnexion ecran{[this] {
        ++changements;
        return true;
    }};
    // The targets of these tests do not exist: every one is taken as reachable, and remembered.
    QStringList essais;
    void SetUp() override
    {
        ecran.essayerCible = [this](const QString &base, const QString &type,
                                    const QString &serveur, const QString &, const QString &,
                                    const QString &) {
            essais << type + u'|' + serveur + u'|' + base;
            return QString();
        };
    }

    void ecrireConnexionServeur()
    {
        using namespace reglage;
        ecrireRegistre(TypeBase, POSTGRESQL);
        ecrireRegistre(Base, QStringLiteral("qualite"));
        ecrireRegistre(ServeurBase, QStringLiteral("pg1"));
        ecrireRegistre(PortServeurBase, QStringLiteral("5433"));
        ecrireRegistre(UserBase, QStringLiteral("lecteur"));
        ecrireRegistre(PassBase, QStringLiteral("Secret"));
        ecrireRegistre(TypeBaseSav, ACCESS);
        ecrireRegistre(BaseSav, QStringLiteral("/Données/Base.mdb"));
    }
};

TEST_F(ParametrageConnexionTest, ChargementSelonLaBaseEnCours)
{
    ecrireConnexionServeur();
    ecran.charger();
    EXPECT_EQ(ecran.fichier, QStringLiteral("/Données/Base.mdb"));
    EXPECT_EQ(ecran.typeServeur, POSTGRESQL);
    EXPECT_EQ(ecran.base, QStringLiteral("qualite"));
    EXPECT_EQ(ecran.serveur, QStringLiteral("pg1"));
    EXPECT_EQ(ecran.port, QStringLiteral("5433"));
    EXPECT_EQ(ecran.utilisateur, QStringLiteral("lecteur"));
    EXPECT_EQ(ecran.motDePasse, QStringLiteral("Secret"));
    EXPECT_EQ(ecran.baseCourante(), QStringLiteral("qualite"));
    EXPECT_TRUE(ecran.nomsProfils().isEmpty());

    // A file is current: the server fields show the remembered server.
    ecrireRegistre(reglage::TypeBase, QStringLiteral("access"));
    ecrireRegistre(reglage::Base, QStringLiteral("/Données/Base.mdb"));
    ecrireRegistre(reglage::TypeBaseSav, QStringLiteral("Oracle"));
    ecrireRegistre(reglage::BaseSav, QStringLiteral("SERVICE"));
    const QString profils = env.chemin(QStringLiteral("Profils/databases.properties"));
    ASSERT_TRUE(QDir().mkpath(env.chemin(QStringLiteral("Profils"))));
    ASSERT_TRUE(ecrireFichier(profils, "Zeta=access@/z.mdb\nAlpha=postgres@h/b\nAlpha.user=u\n"));
    ecrireRegistre(reglage::FichierProfils, profils);
    ecran.charger();
    EXPECT_EQ(ecran.fichier, QStringLiteral("/Données/Base.mdb"));
    EXPECT_EQ(ecran.typeServeur, ORACLE);
    EXPECT_EQ(ecran.base, QStringLiteral("SERVICE"));
    EXPECT_EQ(ecran.baseCourante(), QStringLiteral("/Données/Base.mdb"));
    // The profile list in file order, from a path whose case matters.
    EXPECT_EQ(ecran.nomsProfils(), QStringList({QStringLiteral("Zeta"), QStringLiteral("Alpha")}));
    EXPECT_EQ(changements, 0);
}

TEST_F(ParametrageConnexionTest, ServeurIncompletRefuseSansRienStocker)
{
    ecrireConnexionServeur();
    ecrireRegistre(reglage::LastUser, QStringLiteral("jean"));
    const QString avant = contenuFichier(cheminRegistre());
    auto complet = [&] {
        ecran.typeServeur = POSTGRESQL;
        ecran.serveur = QStringLiteral("pg2");
        ecran.base = QStringLiteral("autre");
        ecran.utilisateur = QStringLiteral("u");
        ecran.motDePasse = QStringLiteral("p");
        ecran.fichier = QStringLiteral("/f.mdb");
    };
    const QVector<std::function<void()>> manques = {
        [&] { ecran.typeServeur.clear(); }, [&] { ecran.serveur = QStringLiteral("  "); },
        [&] { ecran.base.clear(); }, [&] { ecran.utilisateur.clear(); },
        [&] { ecran.motDePasse.clear(); }};
    QStringList refus;
    for (const auto &manque : manques) {
        complet();
        manque();
        const CompteRendu r = ecran.enregistrerServeur();
        EXPECT_FALSE(r.ok);
        refus << r.texte;
    }
    EXPECT_EQ(
        refus,
        QStringList(
            5, QStringLiteral(
                   "Certaines informations de connexion ne sont pas correctement renseignées.")));
    EXPECT_TRUE(env.messages.messages().isEmpty());
    EXPECT_EQ(contenuFichier(cheminRegistre()), avant);
    EXPECT_EQ(changements, 0);
}

// A target that does not open stores nothing and changes nothing; the engine's reason is shown.
TEST_F(ParametrageConnexionTest, CibleInjoignableRienNEstStocke)
{
    ecrireConnexionServeur();
    const QString avant = lu(reglage::Base);
    ecran.essayerCible = [](const QString &, const QString &, const QString &, const QString &,
                            const QString &, const QString &) {
        return QStringLiteral("Le fichier de base de données « /x.mdb » n'existe pas.");
    };
    ecran.fichier = QStringLiteral("/x.mdb");
    const CompteRendu r = ecran.changerFichier();
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(changements, 0);
    EXPECT_EQ(lu(reglage::Base), avant);
    EXPECT_EQ(lu(reglage::TypeBase), POSTGRESQL);
    EXPECT_EQ(
        r.texte,
        QStringLiteral(
            "La base de données (/x.mdb) ne peut pas être ouverte : Le fichier de base de données "
            "« /x.mdb » n'existe pas.\nLa base de données actuelle reste ouverte."));
    EXPECT_TRUE(env.messages.messages().isEmpty());
}

TEST_F(ParametrageConnexionTest, BasculesServeurEtFichierStockentLesDeuxCotes)
{
    ecran.typeServeur = POSTGRESQL;
    ecran.serveur = QStringLiteral("pg2");
    ecran.port = QString();
    ecran.base = QStringLiteral("autre");
    ecran.utilisateur = QStringLiteral("u");
    ecran.motDePasse = QStringLiteral("p");
    ecran.fichier = QStringLiteral("/f.mdb");
    EXPECT_TRUE(ecran.enregistrerServeur());
    EXPECT_EQ(changements, 1);
    using namespace reglage;
    EXPECT_EQ(lu(TypeBase), POSTGRESQL);
    EXPECT_EQ(lu(Base), QStringLiteral("autre"));
    EXPECT_EQ(lu(ServeurBase), QStringLiteral("pg2"));
    EXPECT_EQ(lu(PortServeurBase), QString());
    EXPECT_EQ(lu(UserBase), QStringLiteral("u"));
    EXPECT_EQ(lu(PassBase), QStringLiteral("p"));
    EXPECT_EQ(lu(TypeBaseSav), ACCESS);
    EXPECT_EQ(lu(BaseSav), QStringLiteral("/f.mdb"));

    // The desktop switch does nothing without a file.
    ecran.fichier.clear();
    EXPECT_FALSE(ecran.changerFichier());
    EXPECT_EQ(changements, 1);
    ecran.fichier = QStringLiteral("/g.mdb");
    EXPECT_TRUE(ecran.changerFichier());
    EXPECT_EQ(changements, 2);
    EXPECT_EQ(lu(TypeBase), ACCESS);
    EXPECT_EQ(lu(Base), QStringLiteral("/g.mdb"));
    EXPECT_EQ(lu(TypeBaseSav), POSTGRESQL);
    EXPECT_EQ(lu(BaseSav), QStringLiteral("autre"));
    EXPECT_EQ(lu(ServeurBase), QStringLiteral("pg2"));
    EXPECT_TRUE(env.messages.messages().isEmpty());
}

TEST_F(ParametrageConnexionTest, SelectionDeProfils)
{
    const QString profils = env.chemin(QStringLiteral("databases.properties"));
    ASSERT_TRUE(ecrireFichier(profils, "Bureau=ACCESS@/srv/bureau.mdb\r\n"
                                       "Pg=PostgreSQL@pg3:6543/eaux\r\nPg.user=admin\r\n"
                                       "Pg.pwd=0A0873237837\r\n"
                                       "SansPort=postgres@pg4/eaux\r\nSansPort.user=admin\r\n"));
    ecran.choisirFichierBases(profils);
    EXPECT_EQ(lu(reglage::FichierProfils), profils);
    EXPECT_EQ(ecran.nomsProfils(), QStringList({QStringLiteral("Bureau"), QStringLiteral("Pg"),
                                                QStringLiteral("SansPort")}));

    const CompteRendu inconnu = ecran.selectionnerProfil(QStringLiteral("pg"));
    EXPECT_FALSE(inconnu.ok);
    EXPECT_EQ(inconnu.texte, QStringLiteral("Impossible de retrouver le paramétrage de cette base. "
                                            "Merci de vérifier le fichier databases.properties"));
    EXPECT_EQ(changements, 0);

    EXPECT_TRUE(ecran.selectionnerProfil(QStringLiteral("Pg")));
    EXPECT_EQ(ecran.typeServeur, POSTGRESQL);
    EXPECT_EQ(lu(reglage::TypeBase), POSTGRESQL);
    EXPECT_EQ(lu(reglage::ServeurBase), QStringLiteral("pg3"));
    EXPECT_EQ(lu(reglage::PortServeurBase), QStringLiteral("6543"));
    EXPECT_EQ(lu(reglage::Base), QStringLiteral("eaux"));
    EXPECT_EQ(lu(reglage::UserBase), QStringLiteral("admin"));
    EXPECT_EQ(lu(reglage::PassBase), QStringLiteral("secret"));

    EXPECT_TRUE(ecran.selectionnerProfil(QStringLiteral("Bureau")));
    EXPECT_EQ(lu(reglage::TypeBase), ACCESS);
    EXPECT_EQ(lu(reglage::Base), QStringLiteral("/srv/bureau.mdb"));
    EXPECT_EQ(lu(reglage::BaseSav), QStringLiteral("eaux"));
    EXPECT_EQ(changements, 2);

    // A server profile without a password is incomplete for the server switch.
    const CompteRendu incomplet = ecran.selectionnerProfil(QStringLiteral("SansPort"));
    EXPECT_FALSE(incomplet.ok);
    EXPECT_EQ(ecran.serveur, QStringLiteral("pg4"));
    EXPECT_EQ(ecran.port, QString());
    EXPECT_EQ(incomplet.texte,
              QStringLiteral(
                  "Certaines informations de connexion ne sont pas correctement renseignées."));
    EXPECT_EQ(changements, 2);
    EXPECT_TRUE(env.messages.messages().isEmpty());
}

TEST_F(ParametrageConnexionTest, PaquetExtraitEnBASEIMPORT)
{
    const QString dossier = env.chemin(QStringLiteral("paquets"));
    ASSERT_TRUE(QDir().mkpath(dossier));
    const QString paquet = dossier + QStringLiteral("/export.vyk");
    ASSERT_TRUE(test::ecrireZip(paquet, {{QStringLiteral("LISEZMOI.txt"), "x"},
                                         {QStringLiteral("TMPBSBI.MDB"), "contenu de la base"}}));
    ASSERT_TRUE(ecrireFichier(dossier + QStringLiteral("/BASEIMPORT.MDB"), "ancienne"));
    EXPECT_TRUE(ecran.choisirFichier(paquet));
    EXPECT_EQ(ecran.fichier, dossier + QStringLiteral("/BASEIMPORT.MDB"));
    EXPECT_EQ(contenuFichier(ecran.fichier), QStringLiteral("contenu de la base"));
    EXPECT_EQ(QDir(dossier).entryList(QDir::Files, QDir::Name),
              QStringList({QStringLiteral("BASEIMPORT.MDB"), QStringLiteral("export.vyk")}));

    // Whatever its name, a file not ending in "mdb" is a package; the entry is found in any
    // case and any folder of the archive.
    const QString autre = dossier + QStringLiteral("/paquet.zip");
    ASSERT_TRUE(test::ecrireZip(autre, {{QStringLiteral("base/tmpbsbi.mdb"), "deuxième"}}));
    ecran.fichier.clear();
    EXPECT_TRUE(ecran.choisirFichier(autre));
    EXPECT_EQ(ecran.fichier, dossier + QStringLiteral("/BASEIMPORT.MDB"));
    EXPECT_EQ(contenuFichier(ecran.fichier), QStringLiteral("deuxième"));

    // A package without the database, or a file that is no package: the reason, and the
    // previous extraction stays.
    const QString sansBase = dossier + QStringLiteral("/vide.vyk");
    ASSERT_TRUE(test::ecrireZip(sansBase, {{QStringLiteral("autre.mdb"), "x"}}));
    ecran.fichier = QStringLiteral("/avant.mdb");
    QStringList refus;
    CompteRendu r = ecran.choisirFichier(sansBase);
    EXPECT_FALSE(r.ok);
    refus << r.texte;
    const QString pasZip = dossier + QStringLiteral("/texte.vyk");
    ASSERT_TRUE(ecrireFichier(pasZip, "ceci n'est pas une archive"));
    r = ecran.choisirFichier(pasZip);
    EXPECT_FALSE(r.ok);
    refus << r.texte;
    EXPECT_EQ(ecran.fichier, QStringLiteral("/avant.mdb"));
    EXPECT_EQ(contenuFichier(dossier + QStringLiteral("/BASEIMPORT.MDB")),
              QStringLiteral("deuxième"));
    EXPECT_TRUE(env.messages.messages().isEmpty());
    EXPECT_EQ(
        refus,
        QStringList(
            {QStringLiteral("Le paquet « %1 » ne contient pas de base de données TMPBSBI.MDB.")
                 .arg(sansBase),
             QStringLiteral("Le fichier « %1 » n'est pas un paquet d'échange lisible.")
                 .arg(pasZip)}));

    // A name ending in "mdb" is taken as it stands, as is a desktop database under another name.
    EXPECT_TRUE(ecran.choisirFichier(QStringLiteral("/srv/Base.Mdb")));
    EXPECT_EQ(ecran.fichier, QStringLiteral("/srv/Base.Mdb"));
    const QString sqlite = dossier + QStringLiteral("/base.sqlite");
    ASSERT_TRUE(BaseDonnees::creerBaseBureau(sqlite));
    EXPECT_TRUE(ecran.choisirFichier(sqlite));
    EXPECT_EQ(ecran.fichier, sqlite);
    EXPECT_EQ(changements, 0);
}

TEST_F(ParametrageConnexionTest, PaquetRefuseSurLaBaseOuverte)
{
    const QString cible = env.chemin(QStringLiteral("BASEIMPORT.MDB"));
    ASSERT_TRUE(BaseDonnees::creerBaseBureau(cible));
    ASSERT_TRUE(bd().ouvrirBase(cible, ACCESS, {}, {}, {}));
    const QString paquet = env.chemin(QStringLiteral("p.vyk"));
    ASSERT_TRUE(test::ecrireZip(paquet, {{QStringLiteral("TMPBSBI.MDB"), "x"}}));
    QString erreur;
    EXPECT_EQ(extrairePaquetBase(paquet, &erreur), QString());
    EXPECT_EQ(
        erreur,
        QStringLiteral(
            "La base « %1 » est celle qui est ouverte : ouvrez une autre base avant d'importer "
            "un nouveau paquet.")
            .arg(cible));
    bd().fermerBase();
    EXPECT_EQ(extrairePaquetBase(paquet, &erreur), cible);
    EXPECT_EQ(contenuFichier(cible), QStringLiteral("x"));
}

// Profiles of the test databases. The server requires a password on the connection screen;
// the test server trusts its clients and ignores it.
bool ecrireFichiersBases(const QString &chemin, const QString &fichier, const test::ServeurTest &s)
{
    return ecrireFichierBases(
        chemin, {{QStringLiteral("Bureau"), ACCESS, fichier, {}, {}, {}, {}},
                 {QStringLiteral("Serveur"), QStringLiteral("postgres"), s.hote, s.port, s.base,
                  s.utilisateur, s.motDePasse.isEmpty() ? QStringLiteral("x") : s.motDePasse}});
}

// Selecting a profile switches the database for real, and the login screen connects to it.
class BasculeProfilTest : public BaseTest
{
};

TEST_P(BasculeProfilTest, ProfilBureauPuisProfilServeur)
{
    const test::ServeurTest s = test::serveurTest();
    const QString autre = chemin(QStringLiteral("autre.mdb"));
    ASSERT_TRUE(BaseDonnees::creerBaseBureau(autre));
    const QString profils = chemin(QStringLiteral("databases.properties"));
    ASSERT_TRUE(ecrireFichiersBases(profils, autre, s));
    Demarrage demarrage;
    ParametrageConnexion ecran([&] { return demarrage.changementBase(true); });
    ecran.choisirFichierBases(profils);

    EXPECT_TRUE(ecran.selectionnerProfil(QStringLiteral("Bureau")));
    EXPECT_EQ(bd().typeBase(), ACCESS);
    EXPECT_EQ(bd().base(), autre);
    EXPECT_EQ(demarrage.libelleStatut(), autre);
    EXPECT_EQ(lu(reglage::ConnexionAutomatic), QStringLiteral("NON"));

    if (!s.disponible())
        GTEST_SKIP() << "Aucun serveur PostgreSQL de test pour la bascule vers un serveur.";
    EXPECT_TRUE(ecran.selectionnerProfil(QStringLiteral("Serveur")));
    EXPECT_EQ(bd().typeBase(), POSTGRESQL);
    EXPECT_EQ(bd().base(), s.base);
    EXPECT_EQ(demarrage.libelleStatut(), s.hote + u'/' + s.base);
    EXPECT_EQ(lu(reglage::BaseSav), autre);
    EXPECT_EQ(lu(reglage::TypeBaseSav), ACCESS);
    EXPECT_TRUE(messages().messages().isEmpty()) << qPrintable(messages().textes().join(u'\n'));
}

VYK_SUR_LES_DEUX_MOTEURS(BasculeProfilTest);

} // namespace
