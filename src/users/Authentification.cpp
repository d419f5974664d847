#include "users/Authentification.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/Journal.h"
#include "db/Messages.h"
#include "db/Outils.h"
#include "db/Session.h"
#include "db/Sql.h"
#include "users/Habilitations.h"
#include "users/TablesUtilisateurs.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

namespace vyk {

namespace {

const QString &CONNEXION_AUTOMATIQUE = reglage::ConnexionAutomatic;
const QString &JETON_CONNEXION = reglage::JetonConnexion;

const QString COLONNES = QStringLiteral("login, password, CodeIntervenant, nom, isAdmin, metaData, "
                                        "filtrePiezo, filtreQualito, filtrePluvio, "
                                        "filtreHydro, codeContact");

QString identiteBase()
{
    return bd().typeBase() + u'|' + bd().serveur() + u'|' + bd().base();
}

QByteArray empreinte(const QByteArray &sel, const QString &login, const QString &motDePasse)
{
    QCryptographicHash h(QCryptographicHash::Sha256);
    h.addData(sel);
    h.addData((u'\n' + login + u'\n' + motDePasse.toUpper() + u'\n' + identiteBase()).toUtf8());
    return h.result();
}

void memoriserJeton(const QString &login, const QString &motDePasse)
{
    QByteArray sel(16, '\0');
    QRandomGenerator::system()->generate(sel.begin(), sel.end());
    ecrireRegistre(JETON_CONNEXION, QString::fromLatin1(sel.toHex() + ':' +
                                                        empreinte(sel, login, motDePasse).toHex()));
}

bool jetonValide(const QString &login, const QString &motDePasse)
{
    const QString jeton = lireRegistre(JETON_CONNEXION, {}, true);
    const qsizetype deuxPoints = jeton.indexOf(u':');
    if (deuxPoints <= 0) return false;
    const QByteArray sel = QByteArray::fromHex(jeton.left(deuxPoints).toLatin1());
    const QByteArray attendu = QByteArray::fromHex(jeton.mid(deuxPoints + 1).toLatin1());
    return !sel.isEmpty() && attendu == empreinte(sel, login, motDePasse);
}

// The user's row: the login as typed, or else the only login equal to it without regard to case
// (the desktop engine of the suite compares without case).
Tableau lireUtilisateur(const QString &login)
{
    Tableau t;
    InstructionPreparee exacte = bd().preparer(QStringLiteral("SELECT ") + COLONNES +
                                               QStringLiteral(" FROM Utilisateurs WHERE login=?"));
    if (exacte.extraire(t, {login}) && t.nbLignes() > 0) return t;
    InstructionPreparee sansCasse =
        bd().preparer(QStringLiteral("SELECT ") + COLONNES +
                      QStringLiteral(" FROM Utilisateurs WHERE ucase(login)=ucase(?)"));
    if (sansCasse.extraire(t, {login}) && t.nbLignes() == 1) return t;
    return {};
}

bool estInterdit(const QString &login)
{
    InstructionPreparee lecture = bd().preparer(QStringLiteral(
        "SELECT count(*) AS nb FROM Utilisateurs_habilitations WHERE login=? and habilitation=?"));
    Tableau t;
    return lecture.extraire(t, {login, droit::QUALITO_FORBIDEN}) && t.nbLignes() == 1 &&
           t.valeur(0, QStringLiteral("nb")).toLongLong() > 0;
}

QString nomContact(const QString &codeContact)
{
    const Nombre code = enNombre(codeContact);
    if (codeContact.isEmpty() || !code.estNombre() || !bd().tableExiste(QStringLiteral("CONTACTS")))
        return {};
    return bd()
        .valeur(QStringLiteral("SELECT nom FROM Contacts WHERE codeContact=") +
                sqlNombre(code.valeur))
        .toString()
        .trimmed();
}

} // namespace

ResultatLogin connecterUtilisateur(const QString &loginSaisi, const QString &motDePasse,
                                   bool automatique)
{
    session().vider();
    if (!bd().estOuverte()) return ResultatLogin::BaseFermee;
    assurerTablesUtilisateurs();

    const QString saisi = loginSaisi.trimmed();
    const Tableau ligne = saisi.isEmpty() ? Tableau() : lireUtilisateur(saisi);
    const QString login =
        ligne.estVide() ? saisi : ligne.texte(0, QStringLiteral("login")).trimmed();

    if (bd().typeBase() == POSTGRESQL)
        bd().Execute(QStringLiteral("set application_name = ") +
                     sqlTexte(bd().module().toUpper() + u'/' + login));

    if (!login.isEmpty() && estInterdit(login)) return ResultatLogin::ModuleInterdit;
    if (ligne.estVide())
        return automatique ? ResultatLogin::AutomatiqueRefuse : ResultatLogin::UtilisateurInconnu;
    const QString stocke = ligne.texte(0, QStringLiteral("password"));
    if (automatique) {
        if (!jetonValide(login, stocke)) return ResultatLogin::AutomatiqueRefuse;
    } else if (stocke.toUpper() != motDePasse.toUpper()) {
        return ResultatLogin::MotDePasseErrone;
    }

    Session &s = session();
    s.login = login;
    s.nom = ligne.texte(0, QStringLiteral("nom")).trimmed();
    s.codeIntervenant = ligne.texte(0, QStringLiteral("CodeIntervenant"));
    s.administrateur = ligne.texte(0, QStringLiteral("isAdmin")).trimmed() == QLatin1String("1");
    s.editionReferentiels =
        ligne.texte(0, QStringLiteral("metaData")).trimmed() == QLatin1String("1");
    s.filtrePiezo = ligne.texte(0, QStringLiteral("filtrePiezo")).trimmed();
    s.filtreQualito = ligne.texte(0, QStringLiteral("filtreQualito")).trimmed();
    s.filtrePluvio = ligne.texte(0, QStringLiteral("filtrePluvio")).trimmed();
    s.filtreHydro = ligne.texte(0, QStringLiteral("filtreHydro")).trimmed();
    s.codeContact = ligne.texte(0, QStringLiteral("codeContact"));
    s.nomContact = nomContact(s.codeContact);
    s.habilitations = lireHabilitations(login);

    journaliserInfo(QStringLiteral("Login"));
    return ResultatLogin::Accepte;
}

CompteRendu compteRenduLogin(ResultatLogin resultat)
{
    switch (resultat) {
    case ResultatLogin::Accepte:
        return reussite(motDePasseParDefautEnService() ? texteLogin::MOT_DE_PASSE_PAR_DEFAUT
                                                       : QString());
    case ResultatLogin::ModuleInterdit:
        return echec(texteLogin::MODULE_INTERDIT);
    case ResultatLogin::UtilisateurInconnu:
        return echec(texteLogin::UTILISATEUR_INCONNU);
    case ResultatLogin::MotDePasseErrone:
        return echec(texteLogin::MOT_DE_PASSE_ERRONE);
    default:
        return echec({});
    }
}

bool motDePasseParDefautEnService()
{
    const Session &s = session();
    if (!s.estConnecte() || s.login.compare(ADMIN_DEFAUT, Qt::CaseInsensitive) != 0 ||
        !bd().estOuverte())
        return false;
    InstructionPreparee lecture =
        bd().preparer(QStringLiteral("SELECT password FROM Utilisateurs WHERE login=?"));
    Tableau t;
    return lecture.extraire(t, {s.login}) && t.nbLignes() > 0 &&
           t.texte(0, QStringLiteral("password")).toUpper() == MOT_DE_PASSE_DEFAUT;
}

void retenirConnexionAutomatique(bool coche)
{
    const Session &s = session();
    if (!coche || !s.estConnecte() || !bd().estOuverte() ||
        !bd().tableExiste(QStringLiteral("UTILISATEURS"))) {
        ecrireRegistre(JETON_CONNEXION, {});
        return;
    }
    InstructionPreparee lecture =
        bd().preparer(QStringLiteral("SELECT password FROM Utilisateurs WHERE login=?"));
    Tableau t;
    if (lecture.extraire(t, {s.login}) && t.nbLignes() > 0)
        memoriserJeton(s.login, t.texte(0, QStringLiteral("password")));
    else
        ecrireRegistre(JETON_CONNEXION, {});
}

void preparerChangementUtilisateur()
{
    ecrireRegistre(CONNEXION_AUTOMATIQUE, QStringLiteral("NON"));
    ecrireRegistre(JETON_CONNEXION, {});
}

} // namespace vyk
