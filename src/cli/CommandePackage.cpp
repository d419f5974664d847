// vyk-cli package export --stations CODES --out FILE.vyk: an exchange package of chosen
// stations, which `vyk-cli import VYLEN FILE.vyk` integrates into another database.

#include "cli/Cli.h"
#include "cli/ProgressionTerminal.h"

#include "import/PaquetEchange.h"

namespace vyk::cli {

namespace {

const QString USAGE = QStringLiteral(
    "Usage : vyk-cli [options de connexion] package export --stations CODES --out FICHIER.vyk");

int executer(Contexte &ctx, const QStringList &arguments)
{
    const ArgumentsCommande args =
        lireArguments(arguments, {QStringLiteral("stations"), QStringLiteral("out")});
    const QString fichier = args.options.value(QStringLiteral("out")).trimmed();
    const QStringList codes =
        args.options.value(QStringLiteral("stations")).split(u',', Qt::SkipEmptyParts);
    if (!args.erreur.isEmpty() || args.positionnels != QStringList{QStringLiteral("export")} ||
        fichier.isEmpty() || codes.isEmpty())
        return ctx.usage(args.erreur.isEmpty() ? USAGE : args.erreur);
    if (!ctx.ouvrirBase()) return ECHEC;
    QStringList stations;
    for (const QString &code : codes) {
        StationCommande s;
        if (!stationCommande(ctx, code.trimmed(), s)) return ECHEC;
        stations << s.codeBSS;
    }
    ProgressionTerminal progression;
    const BilanExportPaquet bilan = exporterPaquet(stations, fichier, progression);
    if (!bilan.erreur.isEmpty()) return ctx.echec(bilan.erreur);
    ctx.sortie << fichier << " : " << bilan.resume() << '\n';
    return SUCCES;
}

} // namespace

VYK_CLI_COMMANDE(
    {QStringLiteral("package"),
     QStringLiteral("écrit un paquet d'échange (.vyk) de stations choisies"),
     QStringLiteral(
         "Usage : vyk-cli [options de connexion] package export --stations CODES --out "
         "FICHIER.vyk\n\n"
         "Écrit dans FICHIER une archive ZIP tenant une base de bureau du même schéma\n"
         "(TMPBSBI.MDB) avec les stations CODES (codes publics ou numéros, séparés par des\n"
         "virgules) : leur description, leurs points, opérations, prélèvements, échantillons,\n"
         "analyses et listes de taxons, et les lignes de référentiel qu'elles utilisent.\n"
         "« vyk-cli import VYLEN FICHIER.vyk » l'intègre dans une autre base.\n"
         "Un fichier existant n'est remplacé qu'une fois le nouveau paquet complet.\n\n"
         "Code de sortie : 0 succès, 1 échec (station inconnue ou non accessible, écriture\n"
         "impossible), 2 erreur d'usage."),
     &executer});

} // namespace vyk::cli
