// vyk-cli referentiel import LISTE FICHIER: the import of the analysis referential screens, for
// scripts.

#include "cli/Cli.h"
#include "cli/ProgressionTerminal.h"

#include "referentials/ImportationReferentielsAnalyses.h"

#include <QDir>
#include <QFileInfo>

namespace vyk::cli {

namespace {

const QString USAGE_REFERENTIEL =
    QStringLiteral("Usage : vyk-cli [options de connexion] referentiel import "
                   "parametres|unites|methodes|fractions|supports FICHIER");

const QString AIDE =
    USAGE_REFERENTIEL +
    QStringLiteral(
        "\n\n"
        "referentiel import LISTE FICHIER\n"
        "    Intègre dans la liste des paramètres, unités, méthodes, fractions ou supports un "
        "fichier XML\n"
        "    du référentiel national ou un fichier CSV séparé par « ; » dont la première ligne "
        "nomme les\n"
        "    colonnes (noms de la table, en-têtes de la liste ou noms du référentiel national, "
        "sans\n"
        "    égard à la casse, aux accents ni aux « _ »). Un code nouveau est ajouté, un code "
        "connu reçoit\n"
        "    les champs non vides du fichier. Un fichier dont les colonnes ne sont pas celles de "
        "la liste\n"
        "    est refusé.\n\n"
        "    Le bilan est écrit sur la sortie standard, chaque ligne rejetée sur la sortie "
        "d'erreur.\n\n"
        "Code de sortie : 0 succès, 1 erreur (base, fichier refusé, ligne rejetée), 2 erreur "
        "d'usage.");

bool referentielNomme(const QString &nom, Referentiel &r)
{
    static const QHash<QString, Referentiel> noms = {
        {QStringLiteral("parametres"), Referentiel::Parametre},
        {QStringLiteral("unites"), Referentiel::Unite},
        {QStringLiteral("methodes"), Referentiel::Methode},
        {QStringLiteral("fractions"), Referentiel::Fraction},
        {QStringLiteral("supports"), Referentiel::Support}};
    const auto it = noms.constFind(nom.trimmed().toLower());
    if (it == noms.constEnd()) return false;
    r = it.value();
    return true;
}

int importer(Contexte &ctx, Referentiel referentiel, const QString &chemin)
{
    if (!ctx.fichierLisible(chemin)) return ECHEC;
    FichierReferentielAnalyses fichier;
    QString erreur;
    if (!lireReferentielAnalyses(chemin, referentiel, fichier, erreur)) return ctx.echec(erreur);
    if (!ctx.ouvrirBase()) return ECHEC;
    BilanReferentielAnalyses bilan;
    {
        ProgressionTerminal progression;
        bilan = integrerReferentielAnalyses(fichier, progression);
    }
    const QString nom = QFileInfo(chemin).fileName();
    ctx.sortie << nom << " : " << fichier.lignes.size() << " ligne(s), " << bilan.ajoutes
               << " ajoutée(s), " << bilan.modifies << " mise(s) à jour, " << bilan.rejetes
               << " rejetée(s)" << (bilan.annule ? ", import interrompu" : "") << '\n';
    for (const QString &e : std::as_const(bilan.erreurs))
        ctx.erreurs << nom << " : " << e << '\n';
    return bilan.rejetes > 0 || bilan.annule ? ECHEC : SUCCES;
}

int executer(Contexte &ctx, const QStringList &arguments)
{
    const ArgumentsCommande args = lireArguments(arguments, {});
    if (!args.erreur.isEmpty()) return ctx.usage(args.erreur);
    const QStringList &p = args.positionnels;
    Referentiel referentiel = Referentiel::Parametre;
    if (p.size() != 3 || p[0] != QLatin1String("import") || !referentielNomme(p[1], referentiel) ||
        p[2].trimmed().isEmpty())
        return ctx.usage(USAGE_REFERENTIEL);
    return importer(ctx, referentiel, p[2]);
}

} // namespace

} // namespace vyk::cli

VYK_CLI_COMMANDE({QStringLiteral("referentiel"),
                  QStringLiteral("importe une liste de paramètres, unités, méthodes, fractions "
                                 "ou supports"),
                  vyk::cli::AIDE, vyk::cli::executer})
