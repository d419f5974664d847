// vyk-cli journal [--since DATE]: the journal of the database as CSV.

#include "cli/Cli.h"

#include "app/Csv.h"
#include "db/BaseDonnees.h"
#include "db/Journal.h"
#include "db/Outils.h"
#include "db/Sql.h"
#include "schema/Catalogue.h"

namespace vyk::cli {

namespace {

const QString USAGE =
    QStringLiteral("Usage : vyk-cli [options de connexion] journal [--since JJ/MM/AAAA]");

int executer(Contexte &ctx, const QStringList &arguments)
{
    const ArgumentsCommande args = lireArguments(arguments, {QStringLiteral("since")});
    if (!args.erreur.isEmpty() || !args.positionnels.isEmpty())
        return ctx.usage(args.erreur.isEmpty() ? USAGE : args.erreur);
    // The same header on every engine (a server gives its column names in lower case).
    const QStringList colonnes = definitionTable(u"JOURNAL")->nomsColonnes();
    QDateTime depuis;
    if (args.options.contains(QStringLiteral("since"))) {
        const QString texte = args.options.value(QStringLiteral("since")).trimmed();
        depuis = dateOption(texte);
        if (!depuis.isValid())
            return ctx.usage(
                QStringLiteral(
                    "Date incorrecte : « %1 » (attendu JJ/MM/AAAA ou JJ/MM/AAAA hh:mm:ss).")
                    .arg(extrait(texte)));
    }
    if (!ctx.ouvrirBase()) return ECHEC;
    Tableau t;
    if (!lireJournal(colonnes, depuis, false, t))
        return ctx.echec(QStringLiteral("Le journal n'a pas pu être lu : ") +
                         bd().derniereErreur());
    ecrireCsv(t, ctx.sortie, u',', QStringLiteral("\n"), colonnes);
    return SUCCES;
}

} // namespace

} // namespace vyk::cli

VYK_CLI_COMMANDE(
    {QStringLiteral("journal"), QStringLiteral("affiche le journal de la base en CSV"),
     QStringLiteral(
         "Usage : vyk-cli [options de connexion] journal [--since JJ/MM/AAAA]\n\n"
         "Écrit les entrées du journal (table JOURNAL), des plus anciennes aux plus récentes :\n"
         "une ligne d'en-tête puis une ligne CSV par entrée (dates JJ/MM/AAAA hh:mm:ss).\n"
         "--since DATE   seulement les entrées de cette date ou plus récentes\n"
         "               (JJ/MM/AAAA ou JJ/MM/AAAA hh:mm:ss).\n"
         "Code de sortie : 0 succès, 1 erreur de la base, 2 erreur d'usage."),
     vyk::cli::executer})
