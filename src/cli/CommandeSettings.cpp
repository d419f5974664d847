// vyk-cli settings get NAME | set NAME VALUE | list | path: the settings store of the program.

#include "cli/Cli.h"

#include "app/Registre.h"
#include "app/Reglages.h"

namespace vyk::cli {

namespace {

const QString USAGE_SETTINGS = QStringLiteral("Usage : vyk-cli settings get NOM\n"
                                              "        vyk-cli settings set NOM VALEUR\n"
                                              "        vyk-cli settings list\n"
                                              "        vyk-cli settings path");

int executer(Contexte &ctx, const QStringList &arguments)
{
    const QString action = arguments.value(0);
    if (action == QLatin1String("get") && arguments.size() == 2) {
        // As stored (case kept); a missing setting prints an empty line.
        ctx.sortie << lireRegistre(arguments[1], {}, true) << '\n';
        return SUCCES;
    }
    if (action == QLatin1String("set") && arguments.size() == 3) {
        if (arguments[1].trimmed().isEmpty())
            return ctx.usage(QStringLiteral("Le nom du paramètre est vide."));
        if (!ecrireRegistre(arguments[1], arguments[2]))
            return ctx.echec(QStringLiteral("Le paramètre %1 n'a pas pu être enregistré dans %2.")
                                 .arg(arguments[1], cheminRegistre()));
        return SUCCES;
    }
    if (action == QLatin1String("list") && arguments.size() == 1) {
        QStringList noms = nomsRegistre();
        noms.sort(Qt::CaseInsensitive);
        // Secrets are never listed: a listing ends up in terminals, logs and bug reports.
        const QStringList secrets = {reglage::PassBase, reglage::FtpPassword,
                                     reglage::JetonConnexion};
        for (const QString &nom : noms) {
            const QString valeur = lireRegistre(nom, {}, true);
            const bool masque = !valeur.isEmpty() && secrets.contains(nom, Qt::CaseInsensitive);
            ctx.sortie << nom << '=' << (masque ? QStringLiteral("********") : valeur) << '\n';
        }
        return SUCCES;
    }
    if (action == QLatin1String("path") && arguments.size() == 1) {
        ctx.sortie << cheminRegistre() << '\n';
        return SUCCES;
    }
    return ctx.usage(USAGE_SETTINGS);
}

} // namespace

} // namespace vyk::cli

VYK_CLI_COMMANDE(
    {QStringLiteral("settings"), QStringLiteral("lit ou écrit un paramètre du programme"),
     QStringLiteral(
         "Usage : vyk-cli settings get NOM\n"
         "        vyk-cli settings set NOM VALEUR\n"
         "        vyk-cli settings list\n"
         "        vyk-cli settings path\n\n"
         "Les paramètres sont ceux de l'écran d'administration et de la connexion\n"
         "(TypeBase, Base, ServeurBase, LogLevel, CheminExport...). Les noms ne tiennent\n"
         "pas compte de la casse ; un paramètre absent se lit comme un texte vide.\n"
         "Le fichier des paramètres est celui de VYK_SETTINGS quand cette variable est\n"
         "définie.\n"
         "Code de sortie : 0 succès, 1 écriture impossible, 2 erreur d'usage."),
     vyk::cli::executer})
