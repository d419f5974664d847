// vyk-cli campaign list | followup N --view VIEW [--out FILE] [--management]: sampling campaigns
// and their follow-up table from the command line.

#include "cli/Cli.h"

#include "app/Csv.h"
#include "campagnes/ExportCampagne.h"

namespace vyk::cli {

namespace {

const QString USAGE_CAMPAGNES = QStringLiteral(
    "Usage : vyk-cli [options de connexion] campaign list\n"
    "        vyk-cli [options de connexion] campaign followup N --view VUE [--out FICHIER]\n"
    "                [--management]");

const QString AIDE =
    USAGE_CAMPAGNES +
    QStringLiteral(
        "\n\n"
        "campaign list\n"
        "    Les campagnes hydrobiologiques et physico-chimiques en CSV : codeCampagne, Libelle,\n"
        "    dateDebut, dateFin, codeLabo, Laboratoire, typeCampagne, TypeDeCampagne,\n"
        "    Bancarisation, la plus récente d'abord.\n\n"
        "campaign followup N --view VUE [--out FICHIER] [--management]\n"
        "    Le tableau de suivi de la campagne N (colonnes affichées) : VUE est analyses,\n"
        "    prelevements, demandes ou interventions ; --management ne garde que les tournées de\n"
        "    gestion (vue interventions). Sans --out, le tableau est écrit en CSV sur la sortie ;\n"
        "    avec --out, dans le fichier (.ods ou .xlsx : classeur, sinon texte séparé par « ; »)\n"
        "    dont le chemin est affiché.\n\n"
        "Code de sortie : 0 succès, 1 erreur (base, campagne absente, période refusée, fichier),\n"
        "2 erreur d'usage.");

int lister(Contexte &ctx)
{
    if (!ctx.ouvrirBase()) return ECHEC;
    ctx.sortie << "codeCampagne,Libelle,dateDebut,dateFin,codeLabo,Laboratoire,typeCampagne,"
                  "TypeDeCampagne,Bancarisation\n";
    for (const LigneCampagne &l : listerCampagnes()) {
        const FicheCampagne &f = l.fiche;
        ctx.sortie << ligneCsv({f.code, f.libelle, f.dateDebut, f.dateFin, f.codePrestataire,
                                l.laboratoire, f.typeCampagne, libelleTypeCampagne(f.typeCampagne),
                                l.bancarisation()})
                   << '\n';
    }
    return SUCCES;
}

int suivre(Contexte &ctx, const QString &code, const ArgumentsCommande &args)
{
    VueSuivi vue{};
    const QString nomVue = args.options.value(QStringLiteral("view"));
    if (!vueSuiviDeNom(nomVue, vue))
        return ctx.usage(QStringLiteral("Vue inconnue : ") + extrait(nomVue) +
                         QStringLiteral(" (analyses, prelevements, demandes, interventions)"));
    if (!ctx.ouvrirBase()) return ECHEC;
    const std::optional<Campagne> campagne = chargerCampagne(code);
    if (!campagne)
        return ctx.echec(QStringLiteral("La campagne ") + extrait(code) +
                         QStringLiteral(" n'existe pas."));
    QString erreur;
    const TableSuivi table =
        calculerSuivi(*campagne, vue, args.options.contains(QStringLiteral("management")), erreur);
    if (!erreur.isEmpty()) return ctx.echec(erreur);
    const QString sortie = args.options.value(QStringLiteral("out"));
    if (!sortie.isEmpty()) {
        if (!exporterSuivi(table, sortie, &erreur)) return ctx.echec(erreur);
        ctx.sortie << sortie << '\n';
        return SUCCES;
    }
    QStringList titres;
    QVector<QStringList> lignes;
    colonnesMontrees(table, titres, lignes);
    ctx.sortie << ligneCsv(titres) << '\n';
    for (const QStringList &l : std::as_const(lignes))
        ctx.sortie << ligneCsv(l) << '\n';
    return SUCCES;
}

int executer(Contexte &ctx, const QStringList &arguments)
{
    const ArgumentsCommande args = lireArguments(
        arguments, {QStringLiteral("view"), QStringLiteral("out")}, {QStringLiteral("management")});
    if (!args.erreur.isEmpty()) return ctx.usage(args.erreur);
    const QStringList &p = args.positionnels;
    const QString action = p.value(0);
    if (action == QLatin1String("list") && p.size() == 1) return lister(ctx);
    if (action == QLatin1String("followup") && p.size() == 2) return suivre(ctx, p[1], args);
    return ctx.usage(USAGE_CAMPAGNES);
}

} // namespace

} // namespace vyk::cli

VYK_CLI_COMMANDE({QStringLiteral("campaign"),
                  QStringLiteral("liste les campagnes de suivi, calcule et exporte leur suivi"),
                  vyk::cli::AIDE, vyk::cli::executer})
