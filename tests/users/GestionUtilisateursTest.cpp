#include "users/GestionUtilisateurs.h"
#include "db/Session.h"

#include "support/Affichage.h"
#include "support/BaseTest.h"

using namespace vyk;
using vyk::test::BaseTest;

namespace {

class GestionUtilisateursTest : public BaseTest
{
  protected:
    QStringList utilisateurs()
    {
        return lignes(QStringLiteral(
            "SELECT login, password, isAdmin, nom, codeIntervenant, metadata, codeContact "
            "FROM UTILISATEURS ORDER BY login"));
    }
    FicheUtilisateur fiche(const QString &login, const QString &nom = {}, bool admin = false)
    {
        FicheUtilisateur f;
        f.login = login;
        f.nom = nom;
        f.administrateur = admin;
        return f;
    }
};

TEST_P(GestionUtilisateursTest, CreationControleeSansRienPerdre)
{
    GestionUtilisateurs g;
    FicheUtilisateur f = fiche(QStringLiteral("JDUPONT"), QStringLiteral("Jean d'Ormesson"));
    f.codeIntervenant = QStringLiteral("31");
    f.editionReferentiels = true;
    ASSERT_TRUE(g.creer(f, QStringLiteral("O'Brien")));
    EXPECT_EQ(utilisateurs(), QStringList({"ADMIN|KOBAL|1|Administrateur||1|",
                                           "JDUPONT|O'Brien|0|Jean d'Ormesson|31|1|"}));

    const struct
    {
        QString login, motDePasse, message;
    } refus[] = {
        {QString(), QStringLiteral("x"), QStringLiteral("Le nom de connexion est obligatoire.")},
        {QStringLiteral("TROPLONGLOGIN"), QStringLiteral("x"),
         QStringLiteral("Le nom de connexion ne peut dépasser 12 caractères.")},
        {QStringLiteral("A'B"), QStringLiteral("x"),
         QStringLiteral("Le nom de connexion ne peut contenir que des lettres sans accent, des "
                        "chiffres et les caractères . _ - @")},
        {QStringLiteral("NOUVEAU"), QString(), QStringLiteral("Le mot de passe est obligatoire.")},
        {QStringLiteral("NOUVEAU"), QStringLiteral("1234567890123"),
         QStringLiteral("Le mot de passe ne peut dépasser 12 caractères.")},
        {QStringLiteral("jdupont"), QStringLiteral("x"),
         QStringLiteral("Un utilisateur « jdupont » existe déjà.")},
    };
    for (const auto &r : refus) {
        EXPECT_FALSE(g.creer(fiche(r.login), r.motDePasse)) << qPrintable(r.login);
        EXPECT_EQ(g.erreur(), r.message);
    }
    EXPECT_EQ(utilisateurs().size(), 2);

    // A user who is not an administrator makes no administrator.
    session().login = QStringLiteral("JDUPONT");
    EXPECT_FALSE(g.creer(fiche(QStringLiteral("PIRATE"), {}, true), QStringLiteral("x")));
    EXPECT_EQ(g.erreur(), QStringLiteral("Seul un administrateur peut créer un administrateur."));
    EXPECT_EQ(utilisateurs().size(), 2);
}

TEST_P(GestionUtilisateursTest, ModificationEtDernierAdministrateur)
{
    GestionUtilisateurs g;
    ASSERT_TRUE(
        g.creer(fiche(QStringLiteral("CHEF"), QStringLiteral("Chef"), true), QStringLiteral("c")));
    FicheUtilisateur f = *g.utilisateur(QStringLiteral("CHEF"));
    EXPECT_TRUE(f.administrateur);
    f.nom = QStringLiteral("Cheffe");
    f.codeContact = QStringLiteral("7");
    f.administrateur = false;
    ASSERT_TRUE(g.modifier(f));
    EXPECT_EQ(utilisateurs().last(), QStringLiteral("CHEF|c|0|Cheffe||0|7"));

    FicheUtilisateur admin = *g.utilisateur(QStringLiteral("ADMIN"));
    admin.administrateur = false;
    EXPECT_FALSE(g.modifier(admin));
    EXPECT_EQ(g.erreur(), QStringLiteral("Il doit rester au moins un administrateur."));
    EXPECT_FALSE(g.supprimer(QStringLiteral("ADMIN")));
    EXPECT_EQ(g.erreur(), QStringLiteral("Il doit rester au moins un administrateur."));
    EXPECT_FALSE(g.modifier(fiche(QStringLiteral("ABSENT"))));
    EXPECT_EQ(g.erreur(), QStringLiteral("L'utilisateur « ABSENT » n'existe pas."));

    // With another administrator, ADMIN may go, but not the one logged in.
    f.administrateur = true;
    ASSERT_TRUE(g.modifier(f));
    session().login = QStringLiteral("CHEF");
    session().administrateur = true;
    EXPECT_FALSE(g.supprimer(QStringLiteral("CHEF")));
    EXPECT_EQ(g.erreur(),
              QStringLiteral(
                  "Vous ne pouvez pas supprimer l'utilisateur avec lequel vous êtes connecté."));
    EXPECT_TRUE(g.supprimer(QStringLiteral("ADMIN")));
    EXPECT_EQ(lignes(QStringLiteral("SELECT login FROM UTILISATEURS")), QStringList({"CHEF"}));
}

TEST_P(GestionUtilisateursTest, HabilitationsEtStations)
{
    GestionUtilisateurs g;
    ASSERT_TRUE(g.creer(fiche(QStringLiteral("AGENT")), QStringLiteral("a")));
    ASSERT_TRUE(g.accorder(QStringLiteral("AGENT"), QStringLiteral("qualito_fiche_modif")));
    ASSERT_TRUE(g.accorder(QStringLiteral("AGENT"), QStringLiteral("QUALITO_FICHE_MODIF")));
    ASSERT_TRUE(g.accorder(QStringLiteral("AGENT"), QStringLiteral("QUALITO_NETWORK_12")));
    EXPECT_FALSE(g.accorder(QStringLiteral("AGENT"), QStringLiteral("QUALITO_TOUT")));
    EXPECT_EQ(g.erreur(), QStringLiteral("Habilitation inconnue : QUALITO_TOUT"));
    EXPECT_FALSE(g.accorder(QStringLiteral("ABSENT"), QStringLiteral("QUALITO_ALL")));
    EXPECT_EQ(g.habilitations(QStringLiteral("AGENT")),
              QStringList({"QUALITO_FICHE_MODIF", "QUALITO_NETWORK_12"}));

    ASSERT_TRUE(g.retirer(QStringLiteral("AGENT"), QStringLiteral("QUALITO_NETWORK_12")));
    EXPECT_FALSE(g.retirer(QStringLiteral("AGENT"), QStringLiteral("QUALITO_NETWORK_12")));
    EXPECT_EQ(g.erreur(),
              QStringLiteral(
                  "L'utilisateur « AGENT » ne détient pas l'habilitation QUALITO_NETWORK_12."));

    // The screen's save replaces the set, keeping a right this program does not know.
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO UTILISATEURS_HABILITATIONS VALUES ('AGENT', 'HYDRO_ECHELLES')")));
    ASSERT_TRUE(
        g.definirHabilitations(QStringLiteral("AGENT"),
                               {QStringLiteral("HYDRO_ECHELLES"), QStringLiteral("QUALITO_EXPORT"),
                                QStringLiteral("QUALITO_EXPORT"), QStringLiteral(" ")}));
    EXPECT_EQ(g.habilitations(QStringLiteral("AGENT")),
              QStringList({"HYDRO_ECHELLES", "QUALITO_EXPORT"}));
    EXPECT_EQ(g.toutesHabilitations().value(QStringLiteral("AGENT")),
              QStringList({"HYDRO_ECHELLES", "QUALITO_EXPORT"}));

    ASSERT_TRUE(executer(QStringLiteral(
        "CREATE TABLE QUALITOMETRES (CodeQualitometre Double, CodeBSS Text(17), Nom Text(70))")));
    ASSERT_TRUE(
        executer(QStringLiteral("INSERT INTO QUALITOMETRES VALUES (3, '0601X0001', 'Source')")));
    ASSERT_TRUE(
        executer(QStringLiteral("INSERT INTO QUALITOMETRES VALUES (12, '0601X0002', 'Lac')")));
    const QVector<StationAccordee> disponibles = g.stationsDisponibles();
    ASSERT_EQ(disponibles.size(), 2);
    EXPECT_EQ(disponibles[1].code, 12);
    EXPECT_EQ(disponibles[1].libelle(), QStringLiteral("0601X0002 - Lac"));
    ASSERT_TRUE(g.accorderStation(QStringLiteral("AGENT"), 12));
    ASSERT_TRUE(g.accorderStation(QStringLiteral("AGENT"), 12));
    ASSERT_TRUE(
        g.accorderStation(QStringLiteral("AGENT"), 99)); // a station deleted since stays removable
    ASSERT_TRUE(executer(QStringLiteral(
        "INSERT INTO UTILISATEURS_STATIONS VALUES ('AGENT', 'QUALITO', '3', 'QUALITO_NETWORK')")));
    const QVector<StationAccordee> s = g.stations(QStringLiteral("AGENT"));
    ASSERT_EQ(s.size(), 2);
    EXPECT_EQ(s[0].libelle(), QStringLiteral("99"));
    EXPECT_EQ(s[1].libelle(), QStringLiteral("0601X0002 - Lac"));
    ASSERT_TRUE(g.retirerStation(QStringLiteral("AGENT"), 99));
    EXPECT_EQ(g.stations(QStringLiteral("AGENT")).size(), 1);
    // Not (or no longer) granted: said so.
    EXPECT_FALSE(g.retirerStation(QStringLiteral("AGENT"), 99));
    EXPECT_EQ(g.erreur(),
              QStringLiteral("La station 99 n'est pas accordée à AGENT : rien n'a été retiré."));
    EXPECT_EQ(g.stations(QStringLiteral("AGENT")).size(), 1);

    // Deleting the user takes its rights and grants along; nobody else's.
    ASSERT_TRUE(g.accorder(QStringLiteral("ADMIN"), QStringLiteral("QUALITO_ALL")));
    ASSERT_TRUE(g.supprimer(QStringLiteral("AGENT")));
    EXPECT_EQ(lignes(QStringLiteral("SELECT login, habilitation FROM UTILISATEURS_HABILITATIONS")),
              QStringList({"ADMIN|QUALITO_ALL"}));
    EXPECT_TRUE(lignes(QStringLiteral("SELECT * FROM UTILISATEURS_STATIONS")).isEmpty());
}

TEST_P(GestionUtilisateursTest, OrganismesEtContactsParNom)
{
    GestionUtilisateurs g;
    EXPECT_TRUE(g.organismes().isEmpty()); // no table yet: an empty list, no error
    ASSERT_TRUE(executer(QStringLiteral("CREATE TABLE INTERVENANTS (Mnemo Text(20), Nom Text(70), "
                                        "CodeIntervenant Text(17))")));
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO INTERVENANTS VALUES ('LAB', 'Laboratoire  ', "
                                        "'1234'), ('AG', 'Agence', '7')")));
    ASSERT_TRUE(
        executer(QStringLiteral("CREATE TABLE CONTACTS (Nom Text(255), CodeContact Double)")));
    ASSERT_TRUE(executer(QStringLiteral("INSERT INTO CONTACTS VALUES ('Marie D.', 4)")));
    const QVector<ElementListe> organismes = g.organismes();
    ASSERT_EQ(organismes.size(), 2);
    EXPECT_EQ(organismes[0].code + u'|' + organismes[0].libelle, QStringLiteral("7|Agence"));
    EXPECT_EQ(organismes[1].code + u'|' + organismes[1].libelle,
              QStringLiteral("1234|Laboratoire"));
    const QVector<ElementListe> contacts = g.contacts();
    ASSERT_EQ(contacts.size(), 1);
    EXPECT_EQ(contacts[0].code + u'|' + contacts[0].libelle, QStringLiteral("4|Marie D."));
}

VYK_SUR_LES_DEUX_MOTEURS(GestionUtilisateursTest);

} // namespace
