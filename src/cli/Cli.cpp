#include "cli/Cli.h"

#include "app/Profils.h"
#include "app/Registre.h"
#include "db/BaseDonnees.h"
#include "db/Messages.h"
#include "db/Session.h"
#include "users/GestionUtilisateurs.h"
#include "users/Habilitations.h"
#include "users/TablesUtilisateurs.h"

#include <QCoreApplication>

#include <cstdio>

namespace vyk::cli {

namespace {

QVector<Commande> &registre()
{
    static QVector<Commande> r;
    return r;
}

// Global options, accepted anywhere before "--".
const QStringList OPTIONS_GLOBALES = {QStringLiteral("type"),     QStringLiteral("base"),    QStringLiteral("server"),
                                      QStringLiteral("port"),     QStringLiteral("user"),    QStringLiteral("password"),
                                      QStringLiteral("profile"),  QStringLiteral("login")};

void aideGenerale(QTextStream &s)
{
    s << "Usage : vyk-cli [options de connexion] COMMANDE [arguments]\n\n"
         "Options de connexion (sans elles : la base des paramètres en cours) :\n"
         "  --type ACCESS|POSTGRESQL|ORACLE   type de base (ACCESS par défaut : fichier de bureau)\n"
         "  --base BASE                       fichier de bureau, ou nom de la base sur le serveur\n"
         "  --server HOTE --port PORT         serveur\n"
         "  --user UTILISATEUR --password MDP identifiants du serveur\n"
         "  --profile NOM                     une base du fichier databases.properties des paramètres\n"
         "  --login LOGIN                     agir comme cet utilisateur de la base (ses droits, ses\n"
         "                                    stations) ; sans lui, sans restriction\n\n"
         "  --version                         version du programme\n"
         "  --help                            cette aide ; COMMANDE --help pour l'aide d'une commande\n\n"
         "Commandes :\n";
    QVector<Commande> liste = commandes();
    std::sort(liste.begin(), liste.end(), [](const Commande &a, const Commande &b) { return a.nom < b.nom; });
    for (const Commande &c : liste)
        s << "  " << c.nom.leftJustified(12) << ' ' << c.resume << '\n';
}

// True when the option, met after the command's name, belongs to that command.
bool estOptionPropre(const QStringList &reste, const QString &nom)
{
    if (reste.isEmpty())
        return false;
    for (const Commande &c : commandes())
        if (c.nom == reste.first())
            return c.optionsPropres.contains(nom);
    return false;
}

} // namespace

Contexte::Contexte() : sortie(stdout), erreurs(stderr) {}

int Contexte::usage(const QString &message)
{
    erreurs << message << '\n';
    erreurs.flush();
    return USAGE;
}

int Contexte::echec(const QString &message)
{
    erreurs << message << '\n';
    erreurs.flush();
    return ECHEC;
}

bool Contexte::ouvrirBase()
{
    QString type, base, serveur, port, utilisateur, motDePasse;
    if (aOption(QStringLiteral("profile"))) {
        ChoixProfil choix;
        QString erreur;
        if (!profilDesReglages(option(QStringLiteral("profile")), choix, &erreur)) {
            erreurs << erreur << '\n';
            erreurs.flush();
            return false;
        }
        type = choix.type;
        base = choix.bureau ? choix.fichier : choix.base;
        serveur = choix.serveur;
        port = choix.port;
        utilisateur = aOption(QStringLiteral("user")) ? option(QStringLiteral("user")) : choix.utilisateur;
        motDePasse = aOption(QStringLiteral("password")) ? option(QStringLiteral("password")) : choix.motDePasse;
    } else if (aOption(QStringLiteral("base")) || aOption(QStringLiteral("type")) || aOption(QStringLiteral("server"))) {
        type = option(QStringLiteral("type")).isEmpty() ? ACCESS : option(QStringLiteral("type")).toUpper();
        base = option(QStringLiteral("base"));
        serveur = option(QStringLiteral("server"));
        port = option(QStringLiteral("port"));
        utilisateur = option(QStringLiteral("user"));
        motDePasse = option(QStringLiteral("password"));
    } else {
        type = lireRegistre(QStringLiteral("TypeBase"), {}, true).toUpper();
        base = lireRegistre(QStringLiteral("Base"), {}, true);
        serveur = lireRegistre(QStringLiteral("ServeurBase"), {}, true);
        port = lireRegistre(QStringLiteral("PortServeurBase"), {}, true);
        utilisateur = lireRegistre(QStringLiteral("UserBase"), {}, true);
        motDePasse = lireRegistre(QStringLiteral("PassBase"), {}, true);
        if (type.isEmpty() && base.isEmpty()) {
            erreurs << "Aucune base de données n'est paramétrée : indiquez --base (et --type pour un serveur).\n";
            erreurs.flush();
            return false;
        }
        if (type.isEmpty())
            type = ACCESS;
    }
    if (type != ACCESS && type != POSTGRESQL && !type.startsWith(ORACLE)) {
        erreurs << "Type de base inconnu : " << type << " (ACCESS, POSTGRESQL ou ORACLE).\n";
        erreurs.flush();
        return false;
    }
    if (!bd().ouvrirBase(base, type, serveur, utilisateur, motDePasse, QStringLiteral("VYK"), port)) {
        erreurs << "La connexion à la base de données (" << base << ") n'a pas fonctionné : " << bd().derniereErreur()
                << '\n';
        erreurs.flush();
        return false;
    }
    return !aOption(QStringLiteral("login")) || ouvrirSession(option(QStringLiteral("login")).trimmed());
}

bool Contexte::ouvrirSession(const QString &login)
{
    assurerTablesUtilisateurs();
    const std::optional<FicheUtilisateur> fiche = GestionUtilisateurs().utilisateur(login);
    if (!fiche) {
        echec(QStringLiteral("Utilisateur inconnu : %1").arg(login));
        return false;
    }
    Session &s = session();
    s.vider();
    s.login = fiche->login;
    s.nom = fiche->nom;
    s.administrateur = fiche->administrateur;
    s.editionReferentiels = fiche->editionReferentiels;
    s.habilitations = lireHabilitations(fiche->login);
    return true;
}

void ajouterCommande(const Commande &commande) { registre().append(commande); }

const QVector<Commande> &commandes() { return registre(); }

ArgumentsCommande lireArguments(const QStringList &arguments, const QStringList &avecValeur, const QStringList &drapeaux)
{
    ArgumentsCommande r;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            r.aide = true;
        } else if (a.startsWith(QLatin1String("--")) && a.size() > 2) {
            QString nom = a.mid(2);
            QString valeur;
            const qsizetype egal = nom.indexOf(u'=');
            const bool valeurJointe = egal >= 0;
            if (valeurJointe) {
                valeur = nom.mid(egal + 1);
                nom = nom.left(egal);
            }
            if (avecValeur.contains(nom)) {
                if (!valeurJointe) {
                    if (i + 1 >= arguments.size()) {
                        r.erreur = QStringLiteral("L'option --%1 attend une valeur.").arg(nom);
                        return r;
                    }
                    valeur = arguments[++i];
                }
                r.options.insert(nom, valeur);
            } else if (drapeaux.contains(nom) && !valeurJointe) {
                r.options.insert(nom, QStringLiteral("1"));
            } else {
                r.erreur = QStringLiteral("Option inconnue : --%1").arg(nom);
                return r;
            }
        } else {
            r.positionnels << a;
        }
    }
    return r;
}

} // namespace vyk::cli

int main(int argc, char *argv[])
{
    using namespace vyk::cli;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vyk-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VYK_VERSION));
    vyk::MessagesSilencieux messages;
    vyk::installerSortieMessages(&messages);

    Contexte ctx;
    QStringList arguments = app.arguments().mid(1);
    QStringList reste;
    bool version = false, aide = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == QLatin1String("--")) {
            reste << arguments.mid(i + 1);
            break;
        }
        if (a == QLatin1String("--version")) {
            version = true;
            continue;
        }
        if (reste.isEmpty() && (a == QLatin1String("--help") || a == QLatin1String("-h"))) {
            aide = true;
            continue;
        }
        if (a.startsWith(QLatin1String("--"))) {
            QString nom = a.mid(2);
            const qsizetype egal = nom.indexOf(u'=');
            QString valeur;
            if (egal >= 0) {
                valeur = nom.mid(egal + 1);
                nom = nom.left(egal);
            }
            if (OPTIONS_GLOBALES.contains(nom) && !estOptionPropre(reste, nom)) {
                if (egal < 0) {
                    if (i + 1 >= arguments.size())
                        return ctx.usage(QStringLiteral("L'option --%1 attend une valeur.").arg(nom));
                    valeur = arguments[++i];
                }
                ctx.options.insert(nom, valeur);
                continue;
            }
            if (reste.isEmpty())
                return ctx.usage(QStringLiteral("Option inconnue : --%1 (vyk-cli --help)").arg(nom));
        }
        reste << a;
    }
    if (version) {
        ctx.sortie << "vyk-cli " << VYK_VERSION << '\n';
        return SUCCES;
    }
    if (aide || reste.isEmpty()) {
        aideGenerale(aide ? ctx.sortie : ctx.erreurs);
        return aide ? SUCCES : USAGE;
    }
    const QString nom = reste.takeFirst();
    for (const Commande &c : commandes()) {
        if (c.nom != nom)
            continue;
        if (reste.contains(QStringLiteral("--help")) || reste.contains(QStringLiteral("-h"))) {
            ctx.sortie << c.aide << '\n';
            return SUCCES;
        }
        const int code = c.executer(ctx, reste);
        ctx.sortie.flush();
        ctx.erreurs.flush();
        vyk::bd().fermerBase();
        return code;
    }
    return ctx.usage(QStringLiteral("Commande inconnue : %1 (vyk-cli --help)").arg(nom));
}
