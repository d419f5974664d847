#include "app/Profils.h"
#include "app/Registre.h"

#include "support/BaseTest.h"

#include <QDir>
#include <QFile>

using namespace vyk;

namespace {

ProfilConnexion profil(const char *nom, const char *type, const char *cible, const char *base = "",
                       const char *utilisateur = "", const char *motDePasse = "")
{
    return {QString::fromUtf8(nom),  QString::fromUtf8(type),        QString::fromUtf8(cible),
            QString::fromUtf8(base), QString::fromUtf8(utilisateur), QString::fromUtf8(motDePasse)};
}

// Vectors computed once, outside this program, from the cipher as described: key
// "QoMertyLavun", key schedule then stream, a byte equal to its key byte kept.
TEST(BrouillageTest, VecteursConnusEtAllerRetour)
{
    EXPECT_EQ(brouillerMotDePasse(QStringLiteral("secret")), QStringLiteral("0A0873237837"));
    EXPECT_EQ(brouillerMotDePasse(QStringLiteral("Mot2Passe!")),
              QStringLiteral("340264634D22C0A2FAA5"));
    EXPECT_EQ(brouillerMotDePasse(QStringLiteral("a")), QStringLiteral("18"));
    // "y", "m" and "Q" fall on their own key bytes (0x79, 0x6D, 0x51 at positions 1, 2, 4).
    EXPECT_EQ(brouillerMotDePasse(QStringLiteral("ymAQ")), QStringLiteral("796D5151"));
    // Accented characters are taken in the suite's 8-bit code page.
    EXPECT_EQ(brouillerMotDePasse(QStringLiteral("été")), QStringLiteral("9019F9"));
    EXPECT_EQ(brouillerMotDePasse(QString()), QString());

    for (const QString &mdp :
         {QStringLiteral("secret"), QStringLiteral("ymAQ"), QStringLiteral("été €uro"),
          QStringLiteral("日本語 mixte"), QString(300, u'z'), QStringLiteral(" espaces ")})
        EXPECT_EQ(debrouillerMotDePasse(brouillerMotDePasse(mdp)), mdp) << qPrintable(mdp);
    // Read back from the file: trimmed, line breaks removed, lower-case digits accepted.
    EXPECT_EQ(debrouillerMotDePasse(QStringLiteral(" 0a0873\r\n237837 ")),
              QStringLiteral("secret"));
    EXPECT_EQ(debrouillerMotDePasse(QStringLiteral("zz")), QString());
    EXPECT_EQ(brouiller(brouiller(QByteArray("\x01\x02\xff", 3))), QByteArray("\x01\x02\xff", 3));
}

TEST(ProfilsTest, ProfilsUtilisateursEtMotsDePasse)
{
    const QString texte = QStringLiteral("orphelin.user=personne\r\n"
                                         "\r\n"
                                         "Local=access@C:\\Données\\base.mdb\r\n"
                                         "Serveur=postgres@pg.exemple.fr:5433/qualite\r\n"
                                         "Serveur.user=lecteur\r\n"
                                         "Serveur.pwd=0A0873237837\r\n"
                                         "# commentaire\n"
                                         "Ora=oracle@ora1/SERVICE\n"
                                         "Autre.user=utilisateur d'Ora\n"
                                         "x.pwd.user=encore Ora\n"
                                         "Sans=PostgreSQL@hote\n"
                                         "profil.user.bis=access@ailleurs\n"
                                         "Egal=access@/srv/a=b@c.mdb\n"
                                         "SansArobase=access\n");
    const QVector<ProfilConnexion> profils = lireProfils(texte);
    ASSERT_EQ(profils.size(), 6);
    EXPECT_EQ(profils[0], profil("Local", "access", "C:\\Données\\base.mdb"));
    EXPECT_EQ(profils[1],
              profil("Serveur", "postgres", "pg.exemple.fr:5433", "qualite", "lecteur", "secret"));
    // User lines attach to the profile read last, whatever their name; a name holding
    // ".user" is a user line (even with ".pwd" in it), and the last one wins.
    EXPECT_EQ(profils[2], profil("Ora", "oracle", "ora1", "SERVICE", "encore Ora"));
    // No "/": the target is taken whole, even for a server. A profile whose name holds
    // ".user" is read as a user line of the profile before it.
    EXPECT_EQ(profils[3], profil("Sans", "PostgreSQL", "hote", "", "access@ailleurs"));
    // A desktop path keeps its "/", "=" and "@".
    EXPECT_EQ(profils[4], profil("Egal", "access", "/srv/a=b@c.mdb"));
    EXPECT_EQ(profils[5], profil("SansArobase", "access", ""));
}

TEST(ProfilsTest, ChoixDuProfilSelectionne)
{
    for (const char *mot : {"postgres", "POSTGRES", "PostgreSQL", "postgresql"})
        EXPECT_EQ(codeTypeProfil(QString::fromUtf8(mot)), QStringLiteral("POSTGRESQL")) << mot;
    EXPECT_EQ(codeTypeProfil(QStringLiteral("Access")), QStringLiteral("ACCESS"));
    EXPECT_EQ(codeTypeProfil(QStringLiteral("oracle")), QStringLiteral("ORACLE"));

    ChoixProfil c =
        resoudreProfil(profil("S", "postgres", "pg.exemple.fr:5433", "qualite", "u", "p"));
    EXPECT_FALSE(c.bureau);
    EXPECT_EQ(c.type, QStringLiteral("POSTGRESQL"));
    EXPECT_EQ(c.serveur, QStringLiteral("pg.exemple.fr"));
    EXPECT_EQ(c.port, QStringLiteral("5433"));
    EXPECT_EQ(c.base, QStringLiteral("qualite"));
    EXPECT_EQ(c.utilisateur, QStringLiteral("u"));
    EXPECT_EQ(c.motDePasse, QStringLiteral("p"));
    c = resoudreProfil(profil("S", "oracle", "ora1", "SERVICE"));
    EXPECT_EQ(c.serveur, QStringLiteral("ora1"));
    EXPECT_EQ(c.port, QString());
    c = resoudreProfil(profil("L", "ACCESS", "/srv/base.mdb"));
    EXPECT_TRUE(c.bureau);
    EXPECT_EQ(c.fichier, QStringLiteral("/srv/base.mdb"));

    const QVector<ProfilConnexion> profils = {profil("Base", "access", "/a"),
                                              profil("base", "access", "/b"),
                                              profil("Base", "access", "/c")};
    ASSERT_NE(trouverProfil(profils, QStringLiteral("base")), nullptr);
    EXPECT_EQ(trouverProfil(profils, QStringLiteral("base"))->cible, QStringLiteral("/b"));
    EXPECT_EQ(trouverProfil(profils, QStringLiteral("Base"))->cible, QStringLiteral("/a"));
    EXPECT_EQ(trouverProfil(profils, QStringLiteral("BASE")), nullptr);
}

TEST(ProfilsTest, FichierEcritPuisRelu)
{
    test::EnvironnementTest env;
    const QVector<LigneProfil> lignes = {
        {QStringLiteral("Bureau"),
         QStringLiteral("ACCESS"),
         QStringLiteral("/données/base été.mdb"),
         {},
         {},
         {},
         {}},
        {QStringLiteral("Incomplet"), QStringLiteral("POSTGRESQL"), QString(), {}, {}, {}, {}},
        {QStringLiteral("Pg"), QStringLiteral("POSTGRESQL"), QStringLiteral("pg1"),
         QStringLiteral("5433"), QStringLiteral("qualite"), QStringLiteral("lecteur"),
         QStringLiteral("secret")},
        {QStringLiteral("Ora"),
         QStringLiteral("ORACLE"),
         QStringLiteral("ora1"),
         {},
         QStringLiteral("SERVICE"),
         QStringLiteral("u"),
         QString()},
    };
    EXPECT_EQ(texteFichierBases(lignes), QStringLiteral("Bureau=access@/données/base été.mdb\r\n"
                                                        "Pg=postgres@pg1:5433/qualite\r\n"
                                                        "Pg.user=lecteur\r\n"
                                                        "Pg.pwd=0A0873237837\r\n"
                                                        "Ora=oracle@ora1/SERVICE\r\n"
                                                        "Ora.user=u\r\n"
                                                        "Ora.pwd=\r\n"));
    const QString chemin = env.chemin(QStringLiteral("databases.properties"));
    ASSERT_TRUE(ecrireFichierBases(chemin, lignes));
    // The suite's 8-bit code page when the text fits it.
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("Bureau=access@/donn\xe9"
                                       "es/base \xe9t\xe9.mdb\r\n"));
    f.close();
    const QVector<LigneProfil> relues = lignesProfils(lireFichierBases(chemin));
    ASSERT_EQ(relues.size(), 3);
    EXPECT_EQ(relues[0], lignes[0]);
    EXPECT_EQ(relues[1], lignes[2]);
    EXPECT_EQ(relues[2], lignes[3]);
    // Rewriting what was read gives the same file.
    EXPECT_EQ(texteFichierBases(relues), texteFichierBases(lignes));

    // A write that cannot happen leaves the old file whole.
    EXPECT_FALSE(
        ecrireFichierBases(env.chemin(QStringLiteral("absent/databases.properties")), lignes));
    EXPECT_TRUE(
        lireFichierBases(env.chemin(QStringLiteral("absent/databases.properties"))).isEmpty());
    EXPECT_TRUE(lireFichierBases(QString()).isEmpty());
}

// vyk-cli --profile: the profile file of the settings.
TEST(ProfilsTest, ProfilDesReglages)
{
    test::EnvironnementTest env;
    ChoixProfil choix;
    QString erreur;
    EXPECT_FALSE(profilDesReglages(QStringLiteral("Pg"), choix, &erreur));
    EXPECT_EQ(erreur, QStringLiteral("Aucun fichier databases.properties n'est paramétré."));
    const QString chemin = env.chemin(QStringLiteral("Bases/databases.properties"));
    ASSERT_TRUE(QDir().mkpath(env.chemin(QStringLiteral("Bases"))));
    ASSERT_TRUE(ecrireFichierBases(
        chemin, {{QStringLiteral("Pg"), QStringLiteral("POSTGRESQL"), QStringLiteral("pg1"),
                  QStringLiteral("5433"), QStringLiteral("eaux"), QStringLiteral("u"),
                  QStringLiteral("mdp")}}));
    ecrireRegistre(QStringLiteral("databases.properties"), chemin);
    EXPECT_FALSE(profilDesReglages(QStringLiteral("pg"), choix, &erreur));
    EXPECT_EQ(
        erreur,
        QStringLiteral(
            "Impossible de retrouver le paramétrage de cette base. Merci de vérifier le fichier "
            "databases.properties (%1).")
            .arg(chemin));
    ASSERT_TRUE(profilDesReglages(QStringLiteral("Pg"), choix, &erreur));
    EXPECT_EQ(choix.type, QStringLiteral("POSTGRESQL"));
    EXPECT_EQ(choix.serveur, QStringLiteral("pg1"));
    EXPECT_EQ(choix.port, QStringLiteral("5433"));
    EXPECT_EQ(choix.base, QStringLiteral("eaux"));
    EXPECT_EQ(choix.motDePasse, QStringLiteral("mdp"));
}

TEST(ProfilsTest, LignesQuiNeSeReliraientPasRefusees)
{
    auto erreur = [](const char *nom, const char *type, const char *serveur) {
        return erreurLigneProfil({QString::fromUtf8(nom),
                                  QString::fromUtf8(type),
                                  QString::fromUtf8(serveur),
                                  {},
                                  {},
                                  {},
                                  {}});
    };
    EXPECT_EQ(erreur("Bonne", "ACCESS", "/a/b:c.mdb"), QString());
    EXPECT_EQ(erreur("a.user", "ACCESS", "/a"),
              QStringLiteral("Le nom « a.user » ne peut contenir ni « = », ni « .user », ni « .pwd "
                             "», ni commencer par « # »."));
    EXPECT_FALSE(erreur("a=b", "ACCESS", "/a").isEmpty());
    EXPECT_FALSE(erreur("x.pwd", "ORACLE", "h").isEmpty());
    EXPECT_FALSE(erreur("Pg", "POSTGRESQL", "hote:5432").isEmpty());
    EXPECT_FALSE(erreur("Pg", "POSTGRESQL", "hote/base").isEmpty());
}

} // namespace
