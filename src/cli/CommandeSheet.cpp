// vyk-cli sheet sheets FILE | sheet dump FILE [--sheet NAME]: what the program reads of a
// workbook, without a database.

#include "cli/Cli.h"

#include "app/Csv.h"
#include "classeur/Classeur.h"

namespace vyk::cli {

namespace {

const QString USAGE_SHEET = QStringLiteral("Usage : vyk-cli sheet sheets FICHIER\n"
                                           "        vyk-cli sheet dump FICHIER [--sheet NOM]");

const QString AIDE =
    USAGE_SHEET +
    QStringLiteral("\n\n"
                   "sheet sheets FICHIER\n"
                   "    Les feuilles du classeur (.xlsx, .xlsm, .ods ou .xls, reconnu à son "
                   "contenu),\n"
                   "    une par ligne, dans leur ordre.\n\n"
                   "sheet dump FICHIER [--sheet NOM]\n"
                   "    Les cellules de la feuille NOM (la première sans --sheet) telles que le\n"
                   "    programme les lit : une ligne par rangée, de la première à la dernière "
                   "remplie,\n"
                   "    les cellules séparées par « ; » (entre guillemets au besoin), les dates\n"
                   "    JJ/MM/AAAA.\n\n"
                   "Code de sortie : 0 succès, 1 erreur (fichier illisible, feuille absente), "
                   "2 erreur d'usage.");

bool ouvrir(Contexte &ctx, const QString &chemin, Classeur &classeur)
{
    if (!ctx.fichierLisible(chemin)) return false;
    if (classeur.ouvrir(chemin)) return true;
    ctx.echec(classeur.erreur() + QStringLiteral(" (") + classeur.detail() + u')');
    return false;
}

int lister(Contexte &ctx, const QString &chemin)
{
    Classeur classeur;
    if (!ouvrir(ctx, chemin, classeur)) return ECHEC;
    for (const QString &nom : classeur.feuilles())
        ctx.sortie << nom << '\n';
    return SUCCES;
}

int vider(Contexte &ctx, const QString &chemin, const QString &nom, bool nomme)
{
    Classeur classeur;
    if (!ouvrir(ctx, chemin, classeur)) return ECHEC;
    const Feuille *feuille = nomme ? classeur.feuille(nom) : classeur.feuille(1);
    if (!feuille)
        return ctx.echec(
            QStringLiteral("La feuille « %1 » n'existe pas dans le classeur.").arg(extrait(nom)));
    const int colonnes = feuille->derniereColonne();
    for (const QStringList &rangee : feuille->plage(1, 1, feuille->derniereLigne(), colonnes))
        ctx.sortie << ligneCsv(rangee, u';') << '\n';
    return SUCCES;
}

int executer(Contexte &ctx, const QStringList &arguments)
{
    const ArgumentsCommande args = lireArguments(arguments, {QStringLiteral("sheet")});
    if (!args.erreur.isEmpty()) return ctx.usage(args.erreur);
    const QStringList &p = args.positionnels;
    if (p.size() != 2 || p[1].isEmpty()) return ctx.usage(USAGE_SHEET);
    const bool nomme = args.options.contains(QStringLiteral("sheet"));
    if (p[0] == QLatin1String("sheets") && !nomme) return lister(ctx, p[1]);
    if (p[0] == QLatin1String("dump"))
        return vider(ctx, p[1], args.options.value(QStringLiteral("sheet")), nomme);
    return ctx.usage(USAGE_SHEET);
}

} // namespace

} // namespace vyk::cli

VYK_CLI_COMMANDE({QStringLiteral("sheet"),
                  QStringLiteral("montre les feuilles et les cellules d'un classeur tel que le "
                                 "programme le lit"),
                  vyk::cli::AIDE, vyk::cli::executer})
