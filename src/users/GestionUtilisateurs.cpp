#include "users/GestionUtilisateurs.h"

#include "db/BaseDonnees.h"
#include "db/Journal.h"
#include "db/Lot.h"
#include "db/Outils.h"
#include "db/RaisonsMoteur.h"
#include "db/Session.h"
#include "users/AccesStations.h"
#include "users/Habilitations.h"
#include "users/TablesUtilisateurs.h"

#include <QRegularExpression>

#include <algorithm>

namespace vyk {

namespace {

QString guillemets(const QString &texte)
{
    return QStringLiteral("« ") + texte + QStringLiteral(" »");
}

QVariant nombreOuNul(const QString &texte)
{
    const Nombre n = enNombre(texte, true);
    return n.variant();
}

// Control characters, and the replacement character that mis-encoded bytes become: two
// different mis-encoded passwords must not end equal.
bool contientControle(const QString &texte)
{
    return std::any_of(texte.begin(), texte.end(), [](QChar c) {
        return c.unicode() < 0x20 || c.unicode() == 0x7f || c == QChar::ReplacementCharacter;
    });
}

QVector<ElementListe> lireListe(const QString &table, const QString &sql)
{
    QVector<ElementListe> liste;
    if (!bd().tableExiste(table)) return liste;
    const Tableau t = bd().extraire(sql);
    for (int l = 0; l < t.nbLignes(); ++l)
        liste.append(
            {t.texte(l, QStringLiteral("code")), t.texte(l, QStringLiteral("nom")).trimmed()});
    return liste;
}

FicheUtilisateur lireFiche(const Tableau &t, int l)
{
    FicheUtilisateur f;
    auto v = [&](const char *c) { return t.texte(l, QLatin1String(c)); };
    f.login = v("login").trimmed();
    f.nom = v("nom").trimmed();
    f.administrateur = v("isAdmin").trimmed() == QLatin1String("1");
    f.editionReferentiels = v("metadata").trimmed() == QLatin1String("1");
    f.codeIntervenant = v("codeIntervenant");
    f.codeContact = v("codeContact");
    return f;
}

// The database's reason for refusing a statement that carried a password. A server quotes the
// refused row in the lines after its message: only the first line is kept, and not even that
// one when it holds the password.
QString raisonSansMotDePasse(const QString &motDePasse)
{
    const QString premiere = bd().derniereErreur().section(u'\n', 0, 0).trimmed();
    return !motDePasse.isEmpty() && premiere.contains(motDePasse)
               ? QStringLiteral("refus de la base")
               : premiere;
}

const QString SELECT_FICHE = QStringLiteral(
    "SELECT login, nom, isAdmin, metadata, codeIntervenant, codeContact FROM UTILISATEURS");

} // namespace

QString StationAccordee::libelle() const
{
    if (codeBSS.isEmpty() && nom.isEmpty()) return QString::number(code);
    return nom.isEmpty() ? codeBSS : codeBSS + QStringLiteral(" - ") + nom;
}

GestionUtilisateurs::GestionUtilisateurs()
{
    assurerTablesUtilisateurs();
}

bool GestionUtilisateurs::refuser(const QString &message)
{
    m_erreur = message;
    return false;
}

QString GestionUtilisateurs::verifierLogin(const QString &login)
{
    static const QRegularExpression permis(QStringLiteral("^[A-Za-z0-9._@-]+$"));
    if (login.isEmpty()) return QStringLiteral("Le nom de connexion est obligatoire.");
    if (login.size() > LONGUEUR_LOGIN)
        return QStringLiteral("Le nom de connexion ne peut dépasser %1 caractères.")
            .arg(LONGUEUR_LOGIN);
    // The other modules of the suite write the login into their statements as it is.
    if (!permis.match(login).hasMatch())
        return QStringLiteral(
            "Le nom de connexion ne peut contenir que des lettres sans accent, des chiffres "
            "et les caractères . _ - @");
    return {};
}

QString GestionUtilisateurs::verifierMotDePasse(const QString &motDePasse)
{
    if (motDePasse.isEmpty()) return QStringLiteral("Le mot de passe est obligatoire.");
    if (motDePasse.size() > LONGUEUR_MOT_DE_PASSE)
        return QStringLiteral("Le mot de passe ne peut dépasser %1 caractères.")
            .arg(LONGUEUR_MOT_DE_PASSE);
    if (contientControle(motDePasse))
        return QStringLiteral("Le mot de passe contient un caractère non permis.");
    return {};
}

bool GestionUtilisateurs::existe(const QString &login, bool sansCasse)
{
    InstructionPreparee lecture = bd().preparer(
        sansCasse
            ? QStringLiteral("SELECT count(*) AS nb FROM UTILISATEURS WHERE ucase(login)=ucase(?)")
            : QStringLiteral("SELECT count(*) AS nb FROM UTILISATEURS WHERE login=?"));
    Tableau t;
    return lecture.extraire(t, {login}) && t.nbLignes() == 1 &&
           t.valeur(0, QStringLiteral("nb")).toLongLong() > 0;
}

int GestionUtilisateurs::nbAutresAdministrateurs(const QString &login)
{
    InstructionPreparee lecture = bd().preparer(
        QStringLiteral("SELECT count(*) AS nb FROM UTILISATEURS WHERE isAdmin='1' AND login<>?"));
    Tableau t;
    return lecture.extraire(t, {login}) && t.nbLignes() == 1
               ? t.valeur(0, QStringLiteral("nb")).toInt()
               : 0;
}

QVector<FicheUtilisateur> GestionUtilisateurs::utilisateurs()
{
    QVector<FicheUtilisateur> liste;
    const Tableau t = bd().extraire(SELECT_FICHE + QStringLiteral(" ORDER BY login"));
    for (int l = 0; l < t.nbLignes(); ++l)
        liste.append(lireFiche(t, l));
    return liste;
}

std::optional<FicheUtilisateur> GestionUtilisateurs::utilisateur(const QString &login)
{
    InstructionPreparee lecture = bd().preparer(SELECT_FICHE + QStringLiteral(" WHERE login=?"));
    Tableau t;
    if (!lecture.extraire(t, {login}) || t.estVide()) return std::nullopt;
    return lireFiche(t, 0);
}

QHash<QString, QStringList> GestionUtilisateurs::toutesHabilitations()
{
    QHash<QString, QStringList> droits;
    const Tableau t = bd().extraire(QStringLiteral(
        "SELECT login, habilitation FROM UTILISATEURS_HABILITATIONS ORDER BY login, habilitation"));
    for (int l = 0; l < t.nbLignes(); ++l) {
        const QString droit = t.texte(l, QStringLiteral("habilitation")).trimmed();
        QStringList &liste = droits[t.texte(l, QStringLiteral("login")).trimmed()];
        if (!droit.isEmpty() && !liste.contains(droit)) liste << droit;
    }
    return droits;
}

bool GestionUtilisateurs::creer(const FicheUtilisateur &fiche, const QString &motDePasse)
{
    const QString login = fiche.login.trimmed();
    QString message = verifierLogin(login);
    if (message.isEmpty()) message = verifierMotDePasse(motDePasse);
    if (!message.isEmpty()) return refuser(message);
    if (fiche.nom.size() > 255 || contientControle(fiche.nom))
        return refuser(QStringLiteral(
            "Le nom ne peut dépasser 255 caractères ni contenir de caractère de contrôle."));
    if (fiche.administrateur && session().estConnecte() && !session().administrateur)
        return refuser(QStringLiteral("Seul un administrateur peut créer un administrateur."));
    // The login is looked up under the table's write lock: two workstations creating the same
    // account at once make one account and one refusal.
    Transaction transaction;
    if (!transaction.estOuverte() || !bd().verrouiller(QStringLiteral("UTILISATEURS")))
        return refuser(QStringLiteral("L'utilisateur n'a pas pu être créé : ") +
                       rienEnregistre(bd().derniereErreur()));
    if (existe(login, true))
        return refuser(QStringLiteral("Un utilisateur %1 existe déjà.").arg(guillemets(login)));
    // Bound values: the password never appears in a statement's text.
    InstructionPreparee ajout =
        bd().preparer(QStringLiteral("INSERT INTO UTILISATEURS (login, password, isAdmin, nom, "
                                     "codeIntervenant, metadata, codeContact) "
                                     "VALUES (?, ?, ?, ?, ?, ?, ?)"));
    if (!ajout.executer({login, motDePasse,
                         fiche.administrateur ? QStringLiteral("1") : QStringLiteral("0"),
                         fiche.nom.trimmed().isEmpty() ? QVariant() : QVariant(fiche.nom.trimmed()),
                         nombreOuNul(fiche.codeIntervenant),
                         fiche.editionReferentiels ? QStringLiteral("1") : QStringLiteral("0"),
                         nombreOuNul(fiche.codeContact)}))
        return refuser(QStringLiteral("L'utilisateur n'a pas pu être créé : ") +
                       raisonSansMotDePasse(motDePasse));
    if (!transaction.valider())
        return refuser(QStringLiteral("L'utilisateur n'a pas pu être créé : ") +
                       rienEnregistre(bd().derniereErreur()));
    journaliser(QStringLiteral("Création de l'utilisateur ") + login);
    return true;
}

bool GestionUtilisateurs::modifier(const FicheUtilisateur &fiche)
{
    // Administrators are counted under the lock: two demotions at once cannot leave none.
    Transaction transaction;
    if (!transaction.estOuverte() || !bd().verrouiller(QStringLiteral("UTILISATEURS")))
        return refuser(QStringLiteral("L'utilisateur n'a pas pu être modifié : ") +
                       rienEnregistre(bd().derniereErreur()));
    const std::optional<FicheUtilisateur> avant = utilisateur(fiche.login);
    if (!avant)
        return refuser(
            QStringLiteral("L'utilisateur %1 n'existe pas.").arg(guillemets(fiche.login)));
    if (fiche.nom.size() > 255 || contientControle(fiche.nom))
        return refuser(QStringLiteral(
            "Le nom ne peut dépasser 255 caractères ni contenir de caractère de contrôle."));
    if (avant->administrateur != fiche.administrateur) {
        if (session().estConnecte() && !session().administrateur)
            return refuser(QStringLiteral(
                "Seul un administrateur peut modifier les droits d'administration."));
        if (!fiche.administrateur && nbAutresAdministrateurs(fiche.login) == 0)
            return refuser(QStringLiteral("Il doit rester au moins un administrateur."));
    }
    InstructionPreparee maj =
        bd().preparer(QStringLiteral("UPDATE UTILISATEURS SET nom=?, isAdmin=?, metadata=?, "
                                     "codeIntervenant=?, codeContact=? WHERE login=?"));
    if (!maj.executer({fiche.nom.trimmed().isEmpty() ? QVariant() : QVariant(fiche.nom.trimmed()),
                       fiche.administrateur ? QStringLiteral("1") : QStringLiteral("0"),
                       fiche.editionReferentiels ? QStringLiteral("1") : QStringLiteral("0"),
                       nombreOuNul(fiche.codeIntervenant), nombreOuNul(fiche.codeContact),
                       fiche.login}))
        return refuser(QStringLiteral("L'utilisateur n'a pas pu être modifié : ") +
                       raisonMoteur(bd().derniereErreur()));
    if (!transaction.valider())
        return refuser(QStringLiteral("L'utilisateur n'a pas pu être modifié : ") +
                       rienEnregistre(bd().derniereErreur()));
    journaliser(QStringLiteral("Modification de l'utilisateur ") + fiche.login);
    return true;
}

bool GestionUtilisateurs::changerMotDePasse(const QString &login, const QString &motDePasse)
{
    const QString message = verifierMotDePasse(motDePasse);
    if (!message.isEmpty()) return refuser(message);
    if (!existe(login))
        return refuser(QStringLiteral("L'utilisateur %1 n'existe pas.").arg(guillemets(login)));
    InstructionPreparee maj =
        bd().preparer(QStringLiteral("UPDATE UTILISATEURS SET password=? WHERE login=?"));
    if (!maj.executer({motDePasse, login}))
        return refuser(QStringLiteral("Le mot de passe n'a pas pu être changé : ") +
                       raisonSansMotDePasse(motDePasse));
    journaliser(QStringLiteral("Changement du mot de passe de l'utilisateur ") + login);
    return true;
}

bool GestionUtilisateurs::supprimer(const QString &login)
{
    // Administrators are counted under the lock: two deletions at once cannot leave none.
    Transaction transaction;
    if (!transaction.estOuverte() || !bd().verrouiller(QStringLiteral("UTILISATEURS")))
        return refuser(QStringLiteral("L'utilisateur n'a pas pu être supprimé : ") +
                       rienEnregistre(bd().derniereErreur()));
    const std::optional<FicheUtilisateur> fiche = utilisateur(login);
    if (!fiche)
        return refuser(QStringLiteral("L'utilisateur %1 n'existe pas.").arg(guillemets(login)));
    if (session().estConnecte() && session().login == login)
        return refuser(QStringLiteral(
            "Vous ne pouvez pas supprimer l'utilisateur avec lequel vous êtes connecté."));
    if (fiche->administrateur && nbAutresAdministrateurs(login) == 0)
        return refuser(QStringLiteral("Il doit rester au moins un administrateur."));
    for (const char *table :
         {"UTILISATEURS_STATIONS", "UTILISATEURS_HABILITATIONS", "UTILISATEURS"}) {
        InstructionPreparee suppression =
            bd().preparer(QStringLiteral("DELETE FROM ") + QLatin1String(table) +
                          QStringLiteral(" WHERE login=?"));
        if (!suppression.executer({login}))
            return refuser(QStringLiteral("L'utilisateur n'a pas pu être supprimé : ") +
                           raisonMoteur(bd().derniereErreur()));
    }
    if (!transaction.valider())
        return refuser(QStringLiteral("L'utilisateur n'a pas pu être supprimé : ") +
                       rienEnregistre(bd().derniereErreur()));
    journaliser(QStringLiteral("Suppression de l'utilisateur ") + login);
    return true;
}

QStringList GestionUtilisateurs::habilitations(const QString &login)
{
    InstructionPreparee lecture = bd().preparer(QStringLiteral(
        "SELECT habilitation FROM UTILISATEURS_HABILITATIONS WHERE login=? ORDER BY habilitation"));
    Tableau t;
    QStringList droits;
    lecture.extraire(t, {login});
    for (int l = 0; l < t.nbLignes(); ++l) {
        const QString droit = t.texte(l, QStringLiteral("habilitation")).trimmed();
        if (!droit.isEmpty() && !droits.contains(droit)) droits << droit;
    }
    return droits;
}

bool GestionUtilisateurs::accorder(const QString &login, const QString &droitDemande)
{
    const QString droit = droitDemande.trimmed().toUpper();
    if (!estHabilitationConnue(droit))
        return refuser(QStringLiteral("Habilitation inconnue : ") + droitDemande.trimmed());
    if (!existe(login))
        return refuser(QStringLiteral("L'utilisateur %1 n'existe pas.").arg(guillemets(login)));
    if (habilitations(login).contains(droit)) return true;
    InstructionPreparee ajout = bd().preparer(QStringLiteral(
        "INSERT INTO UTILISATEURS_HABILITATIONS (login, habilitation) VALUES (?, ?)"));
    if (!ajout.executer({login, droit}))
        return refuser(QStringLiteral("L'habilitation n'a pas pu être accordée : ") +
                       bd().derniereErreur());
    journaliser(QStringLiteral("Habilitation ") + droit + QStringLiteral(" accordée à ") + login);
    return true;
}

bool GestionUtilisateurs::retirer(const QString &login, const QString &droitDemande)
{
    const QString droit = droitDemande.trimmed().toUpper();
    if (!existe(login))
        return refuser(QStringLiteral("L'utilisateur %1 n'existe pas.").arg(guillemets(login)));
    if (!habilitations(login).contains(droit))
        return refuser(QStringLiteral("L'utilisateur %1 ne détient pas l'habilitation %2.")
                           .arg(guillemets(login), droitDemande.trimmed()));
    InstructionPreparee suppression = bd().preparer(
        QStringLiteral("DELETE FROM UTILISATEURS_HABILITATIONS WHERE login=? AND habilitation=?"));
    if (!suppression.executer({login, droit}))
        return refuser(QStringLiteral("L'habilitation n'a pas pu être retirée : ") +
                       bd().derniereErreur());
    journaliser(QStringLiteral("Habilitation ") + droit + QStringLiteral(" retirée à ") + login);
    return true;
}

bool GestionUtilisateurs::definirHabilitations(const QString &login,
                                               const QStringList &droitsDemandes)
{
    if (!existe(login))
        return refuser(QStringLiteral("L'utilisateur %1 n'existe pas.").arg(guillemets(login)));
    QStringList droits;
    for (const QString &d : droitsDemandes) {
        const QString droit = d.trimmed();
        if (droit.isEmpty() || droits.contains(droit)) continue;
        if (droit.size() > 255 || contientControle(droit))
            return refuser(QStringLiteral("Habilitation non valable : ") + droit.left(40));
        droits << droit;
    }
    const QStringList avant = habilitations(login);
    Transaction transaction;
    InstructionPreparee suppression =
        bd().preparer(QStringLiteral("DELETE FROM UTILISATEURS_HABILITATIONS WHERE login=?"));
    InstructionPreparee ajout = bd().preparer(QStringLiteral(
        "INSERT INTO UTILISATEURS_HABILITATIONS (login, habilitation) VALUES (?, ?)"));
    if (!suppression.executer({login}))
        return refuser(QStringLiteral("Les habilitations n'ont pas pu être enregistrées : ") +
                       bd().derniereErreur());
    for (const QString &droit : droits)
        if (!ajout.executer({login, droit}))
            return refuser(QStringLiteral("Les habilitations n'ont pas pu être enregistrées : ") +
                           bd().derniereErreur());
    if (!transaction.valider())
        return refuser(QStringLiteral("Les habilitations n'ont pas pu être enregistrées : ") +
                       bd().derniereErreur());
    QStringList accordees, retirees;
    for (const QString &d : droits)
        if (!avant.contains(d)) accordees << d;
    for (const QString &d : avant)
        if (!droits.contains(d)) retirees << d;
    if (!accordees.isEmpty() || !retirees.isEmpty())
        journaliser(QStringLiteral("Habilitations de l'utilisateur ") + login,
                    QStringLiteral("Accordées : ") + accordees.join(QStringLiteral(", ")) +
                        QStringLiteral("\nRetirées : ") + retirees.join(QStringLiteral(", ")));
    return true;
}

QVector<StationAccordee> GestionUtilisateurs::stations(const QString &login)
{
    QVector<StationAccordee> liste;
    const bool avecNoms = bd().tableExiste(QStringLiteral("QUALITOMETRES"));
    InstructionPreparee lecture = bd().preparer(
        avecNoms
            ? QStringLiteral(
                  "SELECT s.identifiant, q.CodeBSS, q.Nom FROM UTILISATEURS_STATIONS s LEFT JOIN "
                  "QUALITOMETRES q ON q.CodeQualitometre = cint(s.identifiant) WHERE s.login=? AND "
                  "s.typeStation='QUALITO' AND s.modeSelect='SINGLE'")
            : QStringLiteral("SELECT identifiant, NULL AS CodeBSS, NULL AS Nom FROM "
                             "UTILISATEURS_STATIONS WHERE login=? AND "
                             "typeStation='QUALITO' AND modeSelect='SINGLE'"));
    Tableau t;
    lecture.extraire(t, {login});
    for (int l = 0; l < t.nbLignes(); ++l) {
        bool ok = false;
        const qint64 code = t.texte(l, QStringLiteral("identifiant")).trimmed().toLongLong(&ok);
        if (ok && std::none_of(liste.begin(), liste.end(),
                               [code](const StationAccordee &s) { return s.code == code; }))
            liste.append({code, t.texte(l, QStringLiteral("CodeBSS")).trimmed(),
                          t.texte(l, QStringLiteral("Nom")).trimmed()});
    }
    std::sort(liste.begin(), liste.end(), [](const StationAccordee &a, const StationAccordee &b) {
        return a.codeBSS == b.codeBSS ? a.code < b.code : a.codeBSS < b.codeBSS;
    });
    return liste;
}

QVector<StationAccordee> GestionUtilisateurs::stationsDisponibles()
{
    QVector<StationAccordee> liste;
    if (!bd().tableExiste(QStringLiteral("QUALITOMETRES"))) return liste;
    const Tableau t =
        bd().extraire(QStringLiteral("SELECT CodeQualitometre, CodeBSS, Nom FROM QUALITOMETRES "
                                     "ORDER BY CodeBSS, CodeQualitometre"));
    liste.reserve(t.nbLignes());
    for (int l = 0; l < t.nbLignes(); ++l)
        liste.append({t.valeur(l, QStringLiteral("CodeQualitometre")).toLongLong(),
                      t.texte(l, QStringLiteral("CodeBSS")).trimmed(),
                      t.texte(l, QStringLiteral("Nom")).trimmed()});
    return liste;
}

bool GestionUtilisateurs::accorderStation(const QString &login, qint64 code)
{
    if (!existe(login))
        return refuser(QStringLiteral("L'utilisateur %1 n'existe pas.").arg(guillemets(login)));
    if (!vyk::accorderStation(login, code))
        return refuser(QStringLiteral("La station n'a pas pu être accordée : ") +
                       bd().derniereErreur());
    journaliser(QStringLiteral("Station %1 accordée à %2").arg(code).arg(login));
    return true;
}

bool GestionUtilisateurs::retirerStation(const QString &login, qint64 code)
{
    long long retirees = 0;
    if (!vyk::retirerStation(login, code, &retirees))
        return refuser(QStringLiteral("La station n'a pas pu être retirée : ") +
                       bd().derniereErreur());
    if (retirees == 0)
        return refuser(
            QStringLiteral("La station %1 n'est pas accordée à %2 : rien n'a été retiré.")
                .arg(code)
                .arg(login));
    journaliser(QStringLiteral("Station %1 retirée à %2").arg(code).arg(login));
    return true;
}

QVector<ElementListe> GestionUtilisateurs::organismes()
{
    return lireListe(
        QStringLiteral("INTERVENANTS"),
        QStringLiteral(
            "SELECT CodeIntervenant AS code, Nom FROM INTERVENANTS ORDER BY Nom, CodeIntervenant"));
}

QVector<ElementListe> GestionUtilisateurs::contacts()
{
    return lireListe(
        QStringLiteral("CONTACTS"),
        QStringLiteral("SELECT CodeContact AS code, Nom FROM CONTACTS ORDER BY Nom, CodeContact"));
}

} // namespace vyk
