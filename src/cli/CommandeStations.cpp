// vyk-cli [--login LOGIN] stations [--filter TEXT]: the station list as CSV.

#include "cli/Cli.h"

#include "app/Csv.h"
#include "db/BaseDonnees.h"
#include "monitoring/ListeStationsQualite.h"

namespace vyk::cli {

namespace {

const QString USAGE = QStringLiteral(
    "Usage : vyk-cli [options de connexion] [--login LOGIN] stations [--filter TEXTE]");

int executer(Contexte &ctx, const QStringList &arguments)
{
    const ArgumentsCommande args = lireArguments(arguments, {QStringLiteral("filter")});
    if (!args.erreur.isEmpty() || !args.positionnels.isEmpty())
        return ctx.usage(args.erreur.isEmpty() ? USAGE : args.erreur);
    if (!ctx.ouvrirBase()) return ECHEC;
    const ListeStations liste = chargerListeQualitometres();
    if (liste.echec)
        return ctx.echec(QStringLiteral("La liste des qualitomètres n'a pas pu être lue : ") +
                         bd().derniereErreur());
    const QString filtre = args.options.value(QStringLiteral("filter"));
    ctx.sortie << ligneCsv(liste.titres) << '\n';
    for (const QStringList &ligne : liste.lignes)
        if (ligneCorrespond(ligne, filtre)) ctx.sortie << ligneCsv(ligne) << '\n';
    return SUCCES;
}

} // namespace

} // namespace vyk::cli

VYK_CLI_COMMANDE(
    {QStringLiteral("stations"), QStringLiteral("liste des qualitomètres en CSV"),
     QStringLiteral(
         "Usage : vyk-cli [options de connexion] [--login LOGIN] stations [--filter TEXTE]\n\n"
         "Écrit la liste des qualitomètres avec les colonnes de l'écran de liste :\n"
         "une ligne d'en-tête puis une ligne CSV par ligne de la liste.\n"
         "--login LOGIN   les stations que cet utilisateur voit (sans lui : toutes)\n"
         "--filter TEXTE  seulement les lignes dont une colonne contient le texte\n"
         "                (sans tenir compte de la casse).\n"
         "Code de sortie : 0 succès, 1 erreur, 2 erreur d'usage."),
     vyk::cli::executer})
