// vyk-cli stats: one statistic of a parameter at a station over a period, as the situation map
// computes it.

#include "cli/Cli.h"

#include "app/Csv.h"
#include "quality/Statistiques.h"

namespace vyk::cli {

namespace {

const QString USAGE = QStringLiteral(
    "Usage : vyk-cli [options de connexion] stats --station CODE --parameter P [--unit U] "
    "--kind MIN|AVG|MAX|SUM|P90|LAST --date JJ/MM/AAAA --period JOURS [--status S] "
    "[--qualification Q]");

const QStringList ENTETES = {QStringLiteral("DateValeur"), QStringLiteral("Valeur"),
                             QStringLiteral("ValeurNumerique")};

// The kind as the calculation names it: LAST is the latest value ("").
bool lireGenre(const QString &texte, QString &genre)
{
    genre = texte.trimmed().toUpper();
    if (genre == QLatin1String("LAST")) genre.clear();
    return !texte.trimmed().isEmpty() && GENRES_STATISTIQUE.contains(genre);
}

int executer(Contexte &ctx, const QStringList &arguments)
{
    const QStringList noms = {QStringLiteral("station"), QStringLiteral("parameter"),
                              QStringLiteral("unit"),    QStringLiteral("kind"),
                              QStringLiteral("date"),    QStringLiteral("period"),
                              QStringLiteral("status"),  QStringLiteral("qualification")};
    const ArgumentsCommande args = lireArguments(arguments, noms);
    if (!args.erreur.isEmpty() || !args.positionnels.isEmpty())
        return ctx.usage(args.erreur.isEmpty() ? USAGE : args.erreur);
    auto option = [&](const char *nom) { return args.options.value(QLatin1String(nom)).trimmed(); };
    if (option("station").isEmpty() || option("parameter").isEmpty()) return ctx.usage(USAGE);
    QString genre;
    if (!lireGenre(option("kind"), genre))
        return ctx.usage(QStringLiteral("Statistique inconnue : « %1 » (MIN, AVG, MAX, SUM, P90 "
                                        "ou LAST).")
                             .arg(extrait(option("kind"))));
    CriteresCalcul criteres;
    criteres.dateCalcul = dateOption(option("date")).date();
    if (!criteres.dateCalcul.isValid())
        return ctx.usage(QStringLiteral("La date de calcul est vide ou n'est pas correcte."));
    bool ok = false;
    criteres.periode = option("period").toInt(&ok);
    if (!ok || criteres.periode < 0)
        return ctx.usage(QStringLiteral("Période incorrecte : « %1 » (un nombre de jours).")
                             .arg(extrait(option("period"))));
    criteres.statut = option("status");
    criteres.qualification = option("qualification");
    if (!ctx.ouvrirBase()) return ECHEC;
    StationCommande station;
    if (!stationCommande(ctx, option("station"), station)) return ECHEC;

    ValeurCalculee valeur;
    ctx.sortie << ligneCsv(ENTETES) << '\n';
    // No usable value over the period: the header alone.
    if (calculStatistiqueAnalyses({station.numero, station.codeBSS}, option("parameter"),
                                  option("unit"), criteres, genre, valeur))
        ctx.sortie << ligneCsv({valeur.date, valeur.valeurAffichee, valeur.valeur}) << '\n';
    return SUCCES;
}

} // namespace

} // namespace vyk::cli

VYK_CLI_COMMANDE(
    {QStringLiteral("stats"),
     QStringLiteral("calcule une statistique d'un paramètre d'un qualitomètre sur une période"),
     QStringLiteral(
         "Usage : vyk-cli [options de connexion] stats --station CODE --parameter P [--unit U]\n"
         "        --kind MIN|AVG|MAX|SUM|P90|LAST --date JJ/MM/AAAA --period JOURS\n"
         "        [--status S] [--qualification Q]\n\n"
         "Calcule, comme la carte de situation, la statistique du paramètre P (dans l'unité U,\n"
         "toutes unités sans --unit) sur les prélèvements du qualitomètre CODE (son code BSS, ou\n"
         "son numéro) datés de la date de calcul moins JOURS jours à la fin de la date de "
         "calcul.\n"
         "Un résultat sous une limite (remarque 2 ou 10) compte pour sa moitié ; les remarques 0\n"
         "et 3 et les résultats vides sont écartés. LAST donne la dernière valeur, précédée de\n"
         "« < » ou « > » selon sa remarque ; P90 le percentile 90.\n"
         "Écrit une ligne d'en-tête DateValeur,Valeur,ValeurNumerique puis une ligne CSV, ou "
         "l'en-tête\n"
         "seul quand aucune valeur n'est utilisable.\n\n"
         "Code de sortie : 0 succès, 1 erreur (base, qualitomètre inconnu ou refusé), 2 erreur "
         "d'usage."),
     vyk::cli::executer})
