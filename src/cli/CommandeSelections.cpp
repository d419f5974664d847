// vyk-cli selections list | show CODE [--type N] | install-defaults | import FILE: selection
// lists from the command line.

#include "cli/Cli.h"
#include "cli/ProgressionTerminal.h"

#include "app/Csv.h"
#include "search/ImportSelections.h"
#include "search/Selections.h"

#include <QFileInfo>

namespace vyk::cli {

namespace {

const QString USAGE_SELECTIONS =
    QStringLiteral("Usage : vyk-cli [options de connexion] selections list\n"
                   "        vyk-cli [options de connexion] selections show CODE [--type N]\n"
                   "        vyk-cli [options de connexion] selections install-defaults\n"
                   "        vyk-cli [options de connexion] selections import FICHIER");

const QString AIDE =
    USAGE_SELECTIONS +
    QStringLiteral(
        "\n\n"
        "Types de liste : 0 paramètres physico-chimiques (par défaut), 1 taxons, 2 indices,\n"
        "3 paramètres environnementaux, 4 états.\n\n"
        "selections list\n"
        "    Les listes en CSV : TypeListe, Code, Nom, codeParent, Parent, Defaut, triées par "
        "type\n"
        "    puis par libellé.\n\n"
        "selections show CODE [--type N]\n"
        "    Les éléments de la liste en CSV : num, codeParametre, codeUnite, dans l'ordre de la\n"
        "    liste.\n\n"
        "selections install-defaults\n"
        "    Crée les listes par défaut absentes (MOOX, AZOT, EPRV, NITR, PHOS, ...).\n\n"
        "selections import FICHIER\n"
        "    Intègre un fichier de listes (classeur ou texte séparé par « ; ») : code paramètre,\n"
        "    code unité, code sélection, libellé sélection, code sous sélection, libellé sous\n"
        "    sélection. Une unité inconnue refuse le fichier ; une ligne impossible à importer "
        "est\n"
        "    écrite sur la sortie d'erreur et les autres sont intégrées.\n\n"
        "Code de sortie : 0 succès, 1 erreur (base, liste absente, fichier refusé ou ligne non\n"
        "importée), 2 erreur d'usage.");

int lister(Contexte &ctx)
{
    if (!ctx.ouvrirBase()) return ECHEC;
    ctx.sortie << "TypeListe,Code,Nom,codeParent,Parent,Defaut\n";
    for (const TitreSelection &t : titresSelections(true, true))
        ctx.sortie << t.typeListe << ',' << champCsv(t.code) << ',' << champCsv(t.nom) << ','
                   << champCsv(t.codeParent) << ',' << champCsv(t.nomParent) << ','
                   << (t.defaut ? "X" : "") << '\n';
    return SUCCES;
}

int montrer(Contexte &ctx, const QString &code, const QString &type)
{
    bool ok = false;
    const int t = type.isEmpty() ? 0 : type.toInt(&ok);
    if ((!type.isEmpty() && !ok) || libelleTypeListe(t).isEmpty())
        return ctx.usage(QStringLiteral("Type de liste inconnu : ") + extrait(type));
    if (!ctx.ouvrirBase()) return ECHEC;
    if (!titreSelection(code, t))
        return ctx.echec(QStringLiteral("La sélection ") + extrait(code) +
                         QStringLiteral(" n'existe pas pour le type ") + QString::number(t) + u'.');
    ctx.sortie << "num,codeParametre,codeUnite\n";
    for (const MembreSelection &m : membresSelection(code, t))
        ctx.sortie << m.num << ',' << champCsv(m.codeParametre) << ',' << champCsv(m.codeUnite)
                   << '\n';
    return SUCCES;
}

int installer(Contexte &ctx)
{
    if (!ctx.ouvrirBase()) return ECHEC;
    int n = 0;
    {
        ProgressionTerminal progression;
        n = installerListesParDefaut(progression);
    }
    if (n < 0) return ctx.echec(texteImportSelections::DEFAUTS_ECHEC);
    ctx.sortie << texteImportSelections::DEFAUTS_CREES.arg(n) << '\n';
    return SUCCES;
}

int importer(Contexte &ctx, const QString &chemin)
{
    if (!ctx.fichierLisible(chemin)) return ECHEC;
    QVector<LigneFichierSelection> lignes;
    QString erreur;
    if (!lireFichierSelections(chemin, lignes, erreur)) return ctx.echec(erreur);
    if (!ctx.ouvrirBase()) return ECHEC;
    // Unattended: a line that cannot be imported is reported and the others go in.
    const Confirmation oui = [](const QString &) { return true; };
    BilanImportSelections bilan;
    {
        ProgressionTerminal progression;
        bilan = importerSelections(lignes, progression, {oui, oui});
    }
    if (bilan.annule) return ctx.echec(bilan.compteRendu.texte);
    ctx.sortie << QFileInfo(chemin).fileName() << " : " << bilan.lignes
               << " ligne(s) importée(s) dans " << bilan.listes << " sélection(s)\n";
    for (const qsizetype l : std::as_const(bilan.echecs))
        ctx.erreurs << "Ligne " << l << " non importée\n";
    return bilan.echecs.isEmpty() ? SUCCES : ECHEC;
}

int executer(Contexte &ctx, const QStringList &arguments)
{
    const ArgumentsCommande args = lireArguments(arguments, {QStringLiteral("type")});
    if (!args.erreur.isEmpty()) return ctx.usage(args.erreur);
    const QStringList &p = args.positionnels;
    const QString action = p.value(0);
    if (action == QLatin1String("list") && p.size() == 1) return lister(ctx);
    if (action == QLatin1String("show") && p.size() == 2)
        return montrer(ctx, p[1], args.options.value(QStringLiteral("type")));
    if (action == QLatin1String("install-defaults") && p.size() == 1) return installer(ctx);
    if (action == QLatin1String("import") && p.size() == 2) return importer(ctx, p[1]);
    return ctx.usage(USAGE_SELECTIONS);
}

} // namespace

} // namespace vyk::cli

VYK_CLI_COMMANDE({QStringLiteral("selections"),
                  QStringLiteral("liste, montre, importe les listes de sélection, crée celles par "
                                 "défaut"),
                  vyk::cli::AIDE,
                  vyk::cli::executer,
                  {QStringLiteral("type")}})
