// vyk-cli thresholds list | import FILE --kind K | class --set N --parameter P --unit U VALUE...:
// threshold sets from the command line.

#include "cli/Cli.h"
#include "cli/ProgressionTerminal.h"

#include "app/Csv.h"
#include "db/BaseDonnees.h"
#include "db/Sql.h"
#include "quality/ImportSeuils.h"

#include <QFileInfo>

namespace vyk::cli {

namespace {

const QString USAGE_SEUILS = QStringLiteral(
    "Usage : vyk-cli [options de connexion] thresholds list [--kind GENRE]\n"
    "        vyk-cli [options de connexion] thresholds import FICHIER --kind GENRE\n"
    "        vyk-cli [options de connexion] thresholds class --set N [--kind GENRE] --parameter "
    "P\n"
    "                [--unit U] [--station-type T --fr-type F] VALEUR...");

const QString AIDE =
    USAGE_SEUILS +
    QStringLiteral(
        "\n\n"
        "GENRE : SEUILS (paramètres physico-chimiques, par défaut), SEUILS.TAXONS, "
        "SEUILS.RESULTATS\n"
        "(indices) ou SEUILS.ETATS ; ou leur type de liste 0, 1, 2 ou 4.\n\n"
        "thresholds list\n"
        "    Les jeux de seuils en CSV : Champ, Code, Libelle, Commentaire, codeReference, triés "
        "par\n"
        "    liste et par code.\n\n"
        "thresholds import FICHIER --kind GENRE\n"
        "    Intègre un fichier de seuils (classeur ou texte séparé par « ; ») : tout le fichier "
        "est\n"
        "    vérifié avant d'écrire ; un jeu retrouvé par son libellé garde son code et ses "
        "seuils\n"
        "    sont remplacés. Le bilan est écrit sur la sortie standard, un refus sur la sortie\n"
        "    d'erreur.\n\n"
        "thresholds class --set N --parameter P [--unit U] VALEUR...\n"
        "    La classe de chaque valeur selon les seuils du jeu N pour l'élément P (et l'unité U\n"
        "    des paramètres physico-chimiques) : une ligne « valeur,classe » par valeur, après "
        "une\n"
        "    ligne par classe « classe N : légende ». La classe 0 signale une valeur non "
        "classée.\n\n"
        "Code de sortie : 0 succès, 1 erreur (base, fichier refusé), 2 erreur d'usage.");

const GenreSeuils *genreOption(const ArgumentsCommande &args)
{
    const QString k = args.options.value(QStringLiteral("kind"), QStringLiteral("SEUILS"));
    return genreSeuils(k);
}

int lister(Contexte &ctx, const ArgumentsCommande &args)
{
    if (!ctx.ouvrirBase()) return ECHEC;
    QStringList champs;
    for (const GenreSeuils &g : genresSeuils())
        if (!args.options.contains(QStringLiteral("kind")) || genreOption(args) == &g)
            champs << sqlTexte(g.champ);
    long nb = 0;
    Tableau t;
    const QStringList colonnes = {QStringLiteral("Champ"), QStringLiteral("Code"),
                                  QStringLiteral("Libelle"), QStringLiteral("Commentaire"),
                                  QStringLiteral("codeReference")};
    if (!bd().ExtraireRecords(QStringLiteral("SELECT champ, code, libelle, commentaire, "
                                             "codeReference FROM Codes_Sandre WHERE champ in (") +
                                  champs.join(u',') +
                                  QStringLiteral(") order by champ asc, code asc"),
                              nb, t))
        return ctx.echec(bd().derniereErreur());
    ecrireCsv(t, ctx.sortie, u',', QStringLiteral("\n"), colonnes);
    return SUCCES;
}

int importer(Contexte &ctx, const GenreSeuils &genre, const QString &chemin)
{
    if (!ctx.fichierLisible(chemin)) return ECHEC;
    FichierSeuils fichier;
    QString erreur;
    if (!lireFichierSeuils(chemin, genre, fichier, erreur)) return ctx.echec(erreur);
    if (!ctx.ouvrirBase()) return ECHEC;
    BilanImportSeuils bilan;
    {
        ProgressionTerminal progression;
        bilan = importerSeuils(genre, fichier, progression);
    }
    if (!bilan.refus.isEmpty()) return ctx.echec(bilan.refus);
    ctx.sortie << QFileInfo(chemin).fileName() << " : " << bilan.jeux << " seuil(s), "
               << bilan.lignes << " ligne(s) de seuils intégrés\n";
    for (const QString &e : std::as_const(bilan.echecs))
        ctx.erreurs << e << '\n';
    return bilan.echecs.isEmpty() && !bilan.annule ? SUCCES : ECHEC;
}

int classer(Contexte &ctx, const GenreSeuils &genre, const ArgumentsCommande &args)
{
    const QString jeu = args.options.value(QStringLiteral("set"));
    const QString code = args.options.value(QStringLiteral("parameter"));
    if (jeu.isEmpty() || code.isEmpty() || args.positionnels.size() < 2)
        return ctx.usage(USAGE_SEUILS);
    if (!ctx.ouvrirBase()) return ECHEC;
    const auto seuils =
        chargerSeuils(jeu, genre.typeListe, code, args.options.value(QStringLiteral("unit")));
    if (!seuils)
        return ctx.echec(QStringLiteral("Le seuil ") + extrait(jeu) +
                         QStringLiteral(" ne peut pas être lu : ") + bd().derniereErreur());
    for (qsizetype i = 0; i < seuils->legendes.size(); ++i)
        ctx.sortie << "classe " << i + 1 << " : " << seuils->legendes[i] << '\n';
    const QString typeStation = args.options.value(QStringLiteral("station-type"));
    const QString typeFr = args.options.value(QStringLiteral("fr-type"));
    for (const QString &v : args.positionnels.mid(1))
        ctx.sortie << champCsv(v) << ','
                   << getClasse(v, seuils->bornes,
                                seuils->types.isEmpty() ? nullptr : &seuils->types, typeStation,
                                typeFr)
                   << '\n';
    return SUCCES;
}

int executer(Contexte &ctx, const QStringList &arguments)
{
    const ArgumentsCommande args =
        lireArguments(arguments, {QStringLiteral("kind"), QStringLiteral("set"),
                                  QStringLiteral("parameter"), QStringLiteral("unit"),
                                  QStringLiteral("station-type"), QStringLiteral("fr-type")});
    if (!args.erreur.isEmpty()) return ctx.usage(args.erreur);
    const QStringList &p = args.positionnels;
    if (p.isEmpty()) return ctx.usage(USAGE_SEUILS);
    const GenreSeuils *genre = genreOption(args);
    if (!genre)
        return ctx.usage(QStringLiteral("Genre de seuils inconnu : ") +
                         extrait(args.options.value(QStringLiteral("kind"))));
    if (p[0] == QLatin1String("list") && p.size() == 1) return lister(ctx, args);
    if (p[0] == QLatin1String("import") && p.size() == 2 &&
        args.options.contains(QStringLiteral("kind")))
        return importer(ctx, *genre, p[1]);
    if (p[0] == QLatin1String("class")) return classer(ctx, *genre, args);
    return ctx.usage(USAGE_SEUILS);
}

} // namespace

} // namespace vyk::cli

VYK_CLI_COMMANDE({QStringLiteral("thresholds"),
                  QStringLiteral("liste et importe les jeux de seuils, classe des valeurs"),
                  vyk::cli::AIDE, vyk::cli::executer})
