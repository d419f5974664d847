// vyk-cli search: the results search over the analyses, one of its grids printed as CSV.

#include "cli/Cli.h"
#include "cli/ProgressionTerminal.h"

#include "app/Csv.h"
#include "search/Recherche.h"

namespace vyk::cli {

namespace {

const QString USAGE = QStringLiteral(
    "Usage : vyk-cli [options de connexion] search [--stations CODES|--all] --from JJ/MM/AAAA "
    "--to JJ/MM/AAAA --selection CODE [--point CLE] [--threshold-type N] "
    "[--output results|indicators|totals|distributions]");

const QStringList SORTIES = {QStringLiteral("results"), QStringLiteral("indicators"),
                             QStringLiteral("totals"), QStringLiteral("distributions")};

// Stations given by code or number, each one the user may see.
bool lireStations(Contexte &ctx, const QString &liste, QVector<qint64> &stations)
{
    for (const QString &code : liste.split(u',', Qt::SkipEmptyParts)) {
        StationCommande s;
        if (!stationCommande(ctx, code.trimmed(), s)) return false;
        stations << s.numero;
    }
    return true;
}

void ecrire(Contexte &ctx, const GrilleTexte &g)
{
    ctx.sortie << ligneCsv(g.titres) << '\n';
    for (const QStringList &l : g.lignes)
        ctx.sortie << ligneCsv(l) << '\n';
}

void ecrireSortie(Contexte &ctx, const ResultatRecherche &r, const QString &sortie)
{
    if (sortie == QLatin1String("indicators")) return ecrire(ctx, grilleIndicateurs(r));
    if (sortie == QLatin1String("totals")) return ecrire(ctx, grilleTotaux(r));
    if (sortie == QLatin1String("distributions")) return ecrire(ctx, grilleRepartitions(r));
    ctx.sortie << ligneCsv(titresResultats(r.genre)) << '\n';
    for (const LigneResultat &l : r.lignes)
        ctx.sortie << ligneCsv(celluleResultat(r, l)) << '\n';
}

int executer(Contexte &ctx, const QStringList &arguments)
{
    const QStringList noms = {
        QStringLiteral("stations"),  QStringLiteral("from"),           QStringLiteral("to"),
        QStringLiteral("selection"), QStringLiteral("threshold-type"), QStringLiteral("output"),
        QStringLiteral("point")};
    const ArgumentsCommande args = lireArguments(arguments, noms, {QStringLiteral("all")});
    if (!args.erreur.isEmpty() || !args.positionnels.isEmpty())
        return ctx.usage(args.erreur.isEmpty() ? USAGE : args.erreur);
    auto option = [&](const char *nom) { return args.options.value(QLatin1String(nom)).trimmed(); };
    const bool toutes = args.options.contains(QStringLiteral("all"));
    if (option("selection").isEmpty() || (toutes && !option("stations").isEmpty()))
        return ctx.usage(USAGE);
    const QString sortie = option("output").isEmpty() ? SORTIES[0] : option("output");
    if (!SORTIES.contains(sortie))
        return ctx.usage(QStringLiteral("Sortie inconnue : « %1 » (results, indicators, totals ou "
                                        "distributions).")
                             .arg(extrait(sortie)));
    const QString typeSeuil = option("threshold-type");
    bool typeOk = typeSeuil.isEmpty();
    if (!typeOk) typeSeuil.toInt(&typeOk);
    if (!typeOk)
        return ctx.usage(QStringLiteral("Type de seuil incorrect : « %1 » (un nombre).")
                             .arg(extrait(typeSeuil)));
    // Dates are required here: the defaults of the screen's empty fields are not guessed.
    if (option("from").isEmpty() || option("to").isEmpty()) return ctx.usage(MESSAGE_DATES);
    if (!ctx.ouvrirBase()) return ECHEC;
    CriteresRecherche c;
    c.dateDebut = option("from");
    c.dateFin = option("to");
    c.selections = option("selection").split(u',', Qt::SkipEmptyParts);
    c.typeSeuil = typeSeuil;
    c.pointPrelevement = option("point");
    if (!lireStations(ctx, option("stations"), c.stations)) return ECHEC;

    ResultatRecherche r;
    QString message;
    ProgressionTerminal progression;
    switch (rechercherResultats(c, r, message, progression)) {
    case IssueRecherche::DatesInvalides:
        return ctx.usage(message);
    case IssueRecherche::Echec:
        return ctx.echec(message);
    case IssueRecherche::Annulee:
        return ctx.echec(QStringLiteral("Recherche annulée."));
    case IssueRecherche::AucunResultat:
        ctx.erreurs << message << '\n';
        break;
    case IssueRecherche::Trouve:
        break;
    }
    ecrireSortie(ctx, r, sortie);
    return SUCCES;
}

} // namespace

} // namespace vyk::cli

VYK_CLI_COMMANDE(
    {QStringLiteral("search"),
     QStringLiteral("recherche les résultats d'analyses d'une liste de paramètres et les classe"),
     QStringLiteral(
         "Usage : vyk-cli [options de connexion] search [--stations CODES|--all]\n"
         "        --from JJ/MM/AAAA --to JJ/MM/AAAA --selection CODE[,CODE...]\n"
         "        [--point CLE] [--threshold-type N]\n"
         "        [--output results|indicators|totals|distributions]\n\n"
         "Recherche les résultats des paramètres des listes de sélection CODE (et de leurs\n"
         "sous-listes) sur les prélèvements datés du --from inclus au --to exclu, sur les\n"
         "qualitomètres CODES (codes BSS ou numéros, séparés par des virgules) ou sur tous ceux\n"
         "que l'utilisateur peut voir. --point choisit le genre de résultats : analyses d'un\n"
         "point physico-chimique (001, 031, 061, 071, 091, 691 ; tous sans --point), listes de\n"
         "taxons des autres points (101 et 271 en relevés), indices (-1) ou états (-2), chacun\n"
         "avec les colonnes de son genre. Avec --threshold-type, chaque résultat détecté est\n"
         "classé (classes 0 à 4) selon les seuils de ce type et de ses types fils.\n"
         "Écrit en CSV la grille demandée : les résultats (avec les colonnes Classe et Couleur),\n"
         "les indicateurs par paramètre, le total ou les répartitions. Sans résultat : l'en-tête\n"
         "seul, et « Aucun résultat ne correspond à vos critères. » sur la sortie d'erreur.\n\n"
         "Code de sortie : 0 succès, 1 erreur (base, qualitomètre inconnu ou refusé), 2 erreur "
         "d'usage (dates incorrectes comprises)."),
     vyk::cli::executer})
