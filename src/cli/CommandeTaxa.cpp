// vyk-cli taxa import FILE [--complete] [--activate]: the taxa referential from the command line.

#include "cli/Cli.h"
#include "cli/ProgressionTerminal.h"

#include "referentials/ImportTaxons.h"

#include <QDir>
#include <QFileInfo>

namespace vyk::cli {

namespace {

const QString USAGE_TAXA = QStringLiteral(
    "Usage : vyk-cli [options de connexion] taxa import FICHIER [--complete] [--activate]");

const QString AIDE =
    USAGE_TAXA +
    QStringLiteral(
        "\n\n"
        "taxa import FICHIER\n"
        "    Intègre un fichier du référentiel des taxons dans la table TAXONS : un fichier CSV "
        "séparé\n"
        "    par « ; » avec une ligne d'en-tête (le code, le nom latin, le statut, date de "
        "creation,\n"
        "    date de mise à jour, redacteur, nom commun, auteur, arbre taxonomique, theme, "
        "parent,\n"
        "    code omnidia), ou un fichier XML du référentiel SANDRE (éléments AppelTaxon).\n"
        "    Sans option, seuls les taxons déjà présents sont mis à jour ; une cellule vide garde "
        "la\n"
        "    valeur enregistrée. Les thèmes inconnus sont ajoutés à la liste TAXONS.THEME.\n\n"
        "    --complete   ajoute aussi les taxons absents de la base (import complet du fichier)\n"
        "    --activate   rend actifs les taxons importés et tous ceux qu'une liste utilise\n\n"
        "    Une ligne qui ne peut pas être écrite est signalée sur la sortie d'erreur et "
        "l'import\n"
        "    continue ; le bilan est écrit sur la sortie standard.\n\n"
        "Code de sortie : 0 succès, 1 erreur (base, fichier refusé, ligne rejetée), 2 erreur "
        "d'usage.");

int importer(Contexte &ctx, const QString &chemin, bool complet, bool activer)
{
    if (!ctx.fichierLisible(chemin)) return ECHEC;
    FichierTaxons fichier;
    QString erreur;
    {
        ProgressionTerminal progression;
        if (!lireFichierTaxons(chemin, fichier, erreur, progression)) return ctx.echec(erreur);
    }
    if (!ctx.ouvrirBase()) return ECHEC;
    BilanImportTaxons bilan;
    {
        ProgressionTerminal progression;
        // Unattended: every refused row is reported and the import goes on; nothing is undone.
        bilan = integrerTaxons(
            fichier, complet ? ModeImportTaxons::Complet : ModeImportTaxons::MiseAJour, activer,
            progression, {[](const QString &) { return true; }, [] { return false; }});
    }
    const QString nom = QFileInfo(chemin).fileName();
    ctx.sortie << nom << " : " << fichier.lignes.size() << " ligne(s), " << bilan.ajoutes
               << " taxon(s) ajouté(s), " << bilan.modifies << " mis à jour, " << bilan.ignores
               << " ignoré(s), " << bilan.rejetes << " rejeté(s), " << bilan.themesAjoutes
               << " thème(s) ajouté(s)";
    if (activer) ctx.sortie << ", " << bilan.activesUtilises << " taxon(s) utilisé(s) activé(s)";
    ctx.sortie << '\n';
    for (const QString &e : std::as_const(bilan.erreurs))
        ctx.erreurs << nom << " : " << e << '\n';
    return bilan.rejetes > 0 || bilan.defait || bilan.interrompu ? ECHEC : SUCCES;
}

int executer(Contexte &ctx, const QStringList &arguments)
{
    const ArgumentsCommande args =
        lireArguments(arguments, {}, {QStringLiteral("complete"), QStringLiteral("activate")});
    if (!args.erreur.isEmpty()) return ctx.usage(args.erreur);
    const QStringList &p = args.positionnels;
    if (p.size() != 2 || p[0] != QLatin1String("import") || p[1].trimmed().isEmpty())
        return ctx.usage(USAGE_TAXA);
    return importer(ctx, p[1], args.options.contains(QStringLiteral("complete")),
                    args.options.contains(QStringLiteral("activate")));
}

} // namespace

} // namespace vyk::cli

VYK_CLI_COMMANDE(
    {QStringLiteral("taxa"),
     QStringLiteral("importe un fichier du référentiel des taxons (CSV ou XML SANDRE)"),
     vyk::cli::AIDE, vyk::cli::executer})
