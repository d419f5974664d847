#pragma once

// vyk-cli: commands register themselves with VYK_CLI_COMMANDE in their own file.

#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace vyk::cli {

// Exit codes.
enum
{
    SUCCES = 0,
    ECHEC = 1,
    USAGE = 2
};

struct Contexte
{
    QTextStream sortie;
    QTextStream erreurs;
    // Global options given as --name value (type, base, server, port, user, password, ...).
    QMap<QString, QString> options;
    // The command being run ("create" and "upgrade" may open a database without the schema).
    QString commande;

    Contexte();
    QString option(const QString &nom) const { return options.value(nom); }
    bool aOption(const QString &nom) const { return options.contains(nom); }

    // Opens the database of the options, or of the current settings without them; with
    // --login, the commands then run as that user (their rights and stations). Prints the
    // error and returns false on failure.
    bool ouvrirBase();
    bool ouvrirSession(const QString &login);
    int usage(const QString &message);
    int echec(const QString &message);
    // The file an import reads: false, with the reason printed, when it is missing, a folder or
    // not an ordinary file.
    bool fichierLisible(const QString &chemin);
};

struct Commande
{
    QString nom;
    QString resume; // one line of the general help
    QString aide;   // the command's --help
    int (*executer)(Contexte &, const QStringList &arguments);
    // Options of the command that bear the name of a global option (user add --password):
    // after the command's name they reach the command, not the connection.
    QStringList optionsPropres = {};
};

void ajouterCommande(const Commande &commande);
const QVector<Commande> &commandes();

// Options of a command: --name value pairs and flags; the rest are positional arguments.
struct ArgumentsCommande
{
    QMap<QString, QString> options;
    QStringList positionnels;
    QString erreur;
    bool aide = false;
};
// A date given as an option: DD/MM/YYYY or YYYY-MM-DD, with or without hh:mm[:ss], nothing
// before or after it; invalid otherwise.
QDateTime dateOption(const QString &texte);

// One line of standard input, without its line end (a password given as "-").
QString lireLigneEntree();

// At most the first 40 characters of a value typed by the user, control characters shown as
// "?", for the messages that name it.
QString extrait(const QString &valeur);

// The station a command names by its public code (CodeBSS) or its number, when the --login user
// may see it; false with the reason printed otherwise.
struct StationCommande
{
    qint64 numero = 0;
    QString codeBSS;
};
bool stationCommande(Contexte &ctx, const QString &station, StationCommande &trouvee);

// avecValeur: names of the options that take a value; drapeaux: those that do not.
ArgumentsCommande lireArguments(const QStringList &arguments, const QStringList &avecValeur,
                                const QStringList &drapeaux = {});

} // namespace vyk::cli

#define VYK_CLI_CONCAT2(a, b) a##b
#define VYK_CLI_CONCAT(a, b) VYK_CLI_CONCAT2(a, b)
#define VYK_CLI_COMMANDE(...)                                                                      \
    namespace {                                                                                    \
    const bool VYK_CLI_CONCAT(enregistree_, __LINE__) = (vyk::cli::ajouterCommande(__VA_ARGS__),   \
                                                         true);                                    \
    }
