#include "cli/Cli.h"

#include "app/Profils.h"
#include "app/Registre.h"
#include "db/BaseDonnees.h"
#include "db/Messages.h"
#include "db/RaisonsMoteur.h"
#include "db/Session.h"
#include "schema/Catalogue.h"
#include "ui/quality/Graphique.h"
#include "users/GestionUtilisateurs.h"
#include "users/Habilitations.h"
#include "users/TablesUtilisateurs.h"

#include <QCoreApplication>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <memory>

#include <cstdio>

namespace vyk::cli {

namespace {

QVector<Commande> &registre()
{
    static QVector<Commande> r;
    return r;
}

// Global options, accepted anywhere before "--".
const QStringList OPTIONS_GLOBALES = {QStringLiteral("type"),    QStringLiteral("base"),
                                      QStringLiteral("server"),  QStringLiteral("port"),
                                      QStringLiteral("user"),    QStringLiteral("password"),
                                      QStringLiteral("profile"), QStringLiteral("login")};

void aideGenerale(QTextStream &s)
{
    s << "Usage : vyk-cli [options de connexion] COMMANDE [arguments]\n\n"
         "Options de connexion (sans elles : la base des paramètres en cours) :\n"
         "  --type ACCESS|POSTGRESQL|ORACLE   type de base (ACCESS par défaut : fichier de "
         "bureau)\n"
         "  --base BASE                       fichier de bureau, ou nom de la base sur le serveur\n"
         "  --server HOTE --port PORT         serveur\n"
         "  --user UTILISATEUR --password MDP identifiants du serveur\n"
         "  --profile NOM                     une base du fichier databases.properties des "
         "paramètres\n"
         "  --login LOGIN                     agir comme cet utilisateur de la base (ses droits, "
         "ses\n"
         "                                    stations) ; sans lui, sans restriction\n\n"
         "  --version                         version du programme\n"
         "  --help                            cette aide ; COMMANDE --help pour l'aide d'une "
         "commande\n\n"
         "Commandes :\n";
    QVector<Commande> liste = commandes();
    std::sort(liste.begin(), liste.end(),
              [](const Commande &a, const Commande &b) { return a.nom < b.nom; });
    for (const Commande &c : liste)
        s << "  " << c.nom.leftJustified(12) << ' ' << c.resume << '\n';
}

// True when the option, met after the command's name, belongs to that command.
bool estOptionPropre(const QStringList &reste, const QString &nom)
{
    if (reste.isEmpty()) return false;
    for (const Commande &c : commandes())
        if (c.nom == reste.first()) return c.optionsPropres.contains(nom);
    return false;
}

bool estAide(const QString &argument)
{
    return argument == QLatin1String("--help") || argument == QLatin1String("-h");
}

// A command's help: "COMMAND --help" or "COMMAND SUBCOMMAND --help". Further on, "-h" is an
// argument like another (a password, a value).
bool demandeAide(const QStringList &reste)
{
    return (!reste.isEmpty() && estAide(reste[0])) || (reste.size() == 2 && estAide(reste[1]));
}

// The commands that bring a database to the schema, and "sql", which writes only what it is
// given.
bool ecritSchema(const QString &commande)
{
    return commande == QLatin1String("create") || commande == QLatin1String("upgrade") ||
           commande == QLatin1String("sql");
}

// An empty database (made by "create" and not yet upgraded), or one holding tables of the
// schema; not another program's.
bool schemaReconnu()
{
    const QStringList tables = bd().tables();
    if (tables.isEmpty()) return true;
    for (const QString &t : tables)
        if (definitionTable(t)) return true;
    return false;
}

bool refuserSansSchema(Contexte &ctx, const QString &base, const QString &raison)
{
    ctx.echec(QStringLiteral(
                  "« %1 » n'est pas une base de données VYK (%2) : rien n'y a été écrit. "
                  "vyk-cli create FICHIER crée une base, vyk-cli upgrade met une base au schéma.")
                  .arg(base, raison));
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

bool Contexte::fichierLisible(const QString &chemin)
{
    const QFileInfo info(chemin);
    const QString nom = QDir::toNativeSeparators(chemin);
    if (!info.exists())
        echec(QStringLiteral("Le fichier ") + nom + QStringLiteral(" n'existe pas."));
    else if (info.isDir())
        echec(QStringLiteral("« %1 » est un dossier, pas un fichier.").arg(nom));
    else if (!info.isFile())
        echec(
            QStringLiteral("« %1 » n'est pas un fichier ordinaire (périphérique, tube ou socket).")
                .arg(nom));
    else
        return true;
    return false;
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
        utilisateur =
            aOption(QStringLiteral("user")) ? option(QStringLiteral("user")) : choix.utilisateur;
        motDePasse = aOption(QStringLiteral("password")) ? option(QStringLiteral("password"))
                                                         : choix.motDePasse;
    } else if (aOption(QStringLiteral("base")) || aOption(QStringLiteral("type")) ||
               aOption(QStringLiteral("server"))) {
        type = option(QStringLiteral("type")).isEmpty() ? ACCESS
                                                        : option(QStringLiteral("type")).toUpper();
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
            erreurs << "Aucune base de données n'est paramétrée : indiquez --base (et --type pour "
                       "un serveur).\n";
            erreurs.flush();
            return false;
        }
        if (type.isEmpty()) type = ACCESS;
    }
    // "-": read from standard input, out of sight of the machine's other users.
    if (motDePasse == QLatin1String("-")) motDePasse = lireLigneEntree();
    if (!port.trimmed().isEmpty()) {
        bool ok = false;
        const int n = port.trimmed().toInt(&ok);
        if (!ok || n < 1 || n > 65535) {
            erreurs << "Le port « " << extrait(port)
                    << " » n'est pas un numéro de port (1 à 65535).\n";
            erreurs.flush();
            return false;
        }
    }
    if (type != ACCESS && type != POSTGRESQL && !type.startsWith(ORACLE)) {
        erreurs << "Type de base inconnu : " << type << " (ACCESS, POSTGRESQL ou ORACLE).\n";
        erreurs.flush();
        return false;
    }
    if (type == ACCESS && QFileInfo(base).isFile() && QFileInfo(base).size() == 0 &&
        !ecritSchema(commande))
        return refuserSansSchema(*this, base, QStringLiteral("le fichier est vide"));
    if (!bd().ouvrirBase(base, type, serveur, utilisateur, motDePasse, QStringLiteral("VYK"),
                         port)) {
        erreurs << "La connexion à la base de données (" << base
                << ") n'a pas fonctionné : " << raisonMoteur(bd().derniereErreur()) << '\n';
        erreurs.flush();
        return false;
    }
    // Another program's database is not written to (user tables, administrator account).
    if (!ecritSchema(commande) && !schemaReconnu()) {
        bd().fermerBase();
        return refuserSansSchema(*this, base,
                                 QStringLiteral("ses tables ne sont pas celles de VYK"));
    }
    return !aOption(QStringLiteral("login")) ||
           ouvrirSession(option(QStringLiteral("login")).trimmed());
}

bool Contexte::ouvrirSession(const QString &login)
{
    assurerTablesUtilisateurs();
    const std::optional<FicheUtilisateur> fiche = GestionUtilisateurs().utilisateur(login);
    if (!fiche) {
        echec(QStringLiteral("Utilisateur inconnu : %1").arg(extrait(login)));
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

QDateTime dateOption(const QString &texte)
{
    static const QRegularExpression forme(QStringLiteral(
        R"(^\s*(?:(\d{1,2})/(\d{1,2})/(\d{4})|(\d{4})-(\d{2})-(\d{2}))(?:[ T](\d{1,2}):(\d{2})(?::(\d{2}))?)?\s*$)"));
    const auto m = forme.match(texte);
    if (!m.hasMatch()) return {};
    const bool jourDAbord = !m.captured(1).isEmpty();
    const QDate jour =
        jourDAbord ? QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt())
                   : QDate(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    const QTime heure(m.captured(7).toInt(), m.captured(8).toInt(), m.captured(9).toInt());
    if (!jour.isValid() || !heure.isValid()) return {};
    return QDateTime(jour, heure);
}

QString extrait(const QString &valeur)
{
    QString r = valeur.left(40);
    for (QChar &c : r)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format) c = u'?';
    return valeur.size() > 40 ? r + QStringLiteral("…") : r;
}

QString lireLigneEntree()
{
    QFile entree;
    if (!entree.open(stdin, QIODevice::ReadOnly)) return {};
    QString ligne = QString::fromUtf8(entree.readLine());
    while (ligne.endsWith(u'\n') || ligne.endsWith(u'\r'))
        ligne.chop(1);
    return ligne;
}

void ajouterCommande(const Commande &commande)
{
    registre().append(commande);
}

const QVector<Commande> &commandes()
{
    return registre();
}

ArgumentsCommande lireArguments(const QStringList &arguments, const QStringList &avecValeur,
                                const QStringList &drapeaux)
{
    ArgumentsCommande r;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a.startsWith(QLatin1String("--")) && a.size() > 2) {
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
                r.erreur = QStringLiteral("Option inconnue : --%1").arg(extrait(nom));
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
    // Charts are drawn by the screens' code, which needs a GUI application, never a display.
    bool graphique = false;
    for (int i = 1; i < argc; ++i)
        graphique = graphique || qstrcmp(argv[i], "chart") == 0;
    if (graphique && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> application(
        graphique ? vyk::creerApplicationGraphique(argc, argv) : new QCoreApplication(argc, argv));
    QCoreApplication &app = *application;
    QCoreApplication::setApplicationName(QStringLiteral("vyk-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VYK_VERSION));
    vyk::MessagesSilencieux messages;
    vyk::installerSortieMessages(&messages);

    Contexte ctx;
    // Bytes that are no UTF-8 text would become replacement characters: two different
    // passwords could end equal.
    for (int i = 1; i < argc; ++i) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString texte = utf8.decode(QByteArrayView(argv[i]));
        if (utf8.hasError())
            return ctx.usage(
                QStringLiteral(
                    "L'argument n° %1 n'est pas du texte UTF-8 valide : rien n'a été fait.")
                    .arg(i));
    }
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
                        return ctx.usage(
                            QStringLiteral("L'option --%1 attend une valeur.").arg(nom));
                    valeur = arguments[++i];
                }
                ctx.options.insert(nom, valeur);
                continue;
            }
            if (reste.isEmpty())
                return ctx.usage(
                    QStringLiteral("Option inconnue : --%1 (vyk-cli --help)").arg(extrait(nom)));
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
        if (c.nom != nom) continue;
        if (demandeAide(reste)) {
            ctx.sortie << c.aide << '\n';
            return SUCCES;
        }
        ctx.commande = nom;
        const int code = c.executer(ctx, reste);
        ctx.sortie.flush();
        ctx.erreurs.flush();
        vyk::bd().fermerBase();
        return code;
    }
    return ctx.usage(QStringLiteral("Commande inconnue : %1 (vyk-cli --help)").arg(extrait(nom)));
}
