// vyk-cli request list | generate N [--out DIR] [--mail]: laboratory requests from the command
// line.

#include "cli/Cli.h"

#include "app/Csv.h"
#include "demandes/Demandes.h"
#include "demandes/MessageComLabo.h"
#include "demandes/Messagerie.h"

#include <QDir>

namespace vyk::cli {

namespace {

const QString USAGE_REQUEST =
    QStringLiteral("Usage : vyk-cli [options de connexion] request list\n"
                   "        vyk-cli [options de connexion] request generate N [--out DOSSIER] "
                   "[--mail]");

const QString SANS_COURRIEL = QStringLiteral(
    "Le laboratoire de la demande n'a pas d'adresse électronique : aucun courriel n'a été "
    "préparé.");

const QString AIDE =
    USAGE_REQUEST +
    QStringLiteral(
        "\n\n"
        "request list\n"
        "    Les demandes de prélèvements en CSV, les plus récentes d'abord : codeDemande, Nom,\n"
        "    DateDemande, Debut, Fin, codeLabo, Laboratoire, Type, Campagne.\n\n"
        "request generate N [--out DOSSIER] [--mail]\n"
        "    Écrit le fichier EDILABO (COM_LABO) de la demande N dans DOSSIER (par défaut le\n"
        "    répertoire du réglage RepertoireDemandesXML) et affiche son chemin. La génération\n"
        "    est inscrite dans l'historique de la demande. Avec --mail, le courriel au\n"
        "    laboratoire, fichier joint, est préparé dans la messagerie du bureau (xdg-email),\n"
        "    comme depuis l'écran.\n\n"
        "Code de sortie : 0 succès, 1 erreur (base, demande absente, contrôle refusé avec son\n"
        "message, fichier non écrit, laboratoire sans adresse ou messagerie en échec : le\n"
        "fichier reste écrit), 2 erreur d'usage.");

int lister(Contexte &ctx)
{
    if (!ctx.ouvrirBase()) return ECHEC;
    ctx.sortie << "codeDemande,Nom,DateDemande,Debut,Fin,codeLabo,Laboratoire,Type,Campagne\n";
    for (const LigneListeDemande &d : listeDemandes())
        ctx.sortie << d.code << ',' << champCsv(d.libelle) << ',' << d.dateDemande << ',' << d.debut
                   << ',' << d.fin << ',' << champCsv(d.codeLabo) << ',' << champCsv(d.laboratoire)
                   << ',' << champCsv(d.typeDemande) << ',' << champCsv(d.campagne) << '\n';
    return SUCCES;
}

int generer(Contexte &ctx, const QString &numero, const QString &dossier, bool courriel)
{
    bool ok = false;
    const int code = numero.toInt(&ok);
    if (!ok || code <= 0)
        return ctx.usage(QStringLiteral("Numéro de demande incorrect : ") + extrait(numero));
    if (!ctx.ouvrirBase()) return ECHEC;
    FicheDemande fiche;
    if (!lireDemande(code, fiche)) return ctx.echec(texteDemandes::INCONNUE.arg(code));
    OptionsComLabo options = optionsComLaboReglages();
    if (!dossier.isEmpty()) options.dossier = dossier;
    if (options.dossier.isEmpty())
        return ctx.usage(QStringLiteral("Aucun répertoire de sortie : --out DOSSIER ou le "
                                        "réglage RepertoireDemandesXML."));
    const ResultatComLabo r = genererComLabo(fiche, options);
    if (!r.compteRendu.ok) return ctx.echec(r.compteRendu.texte);
    if (r.compteRendu.texte != texteComLabo::GENERE) ctx.erreurs << r.compteRendu.texte << '\n';
    ctx.sortie << QDir::toNativeSeparators(r.chemin) << '\n';
    if (!courriel) return SUCCES;
    if (r.courriel.isEmpty()) return ctx.echec(SANS_COURRIEL);
    MessagerieBureau messagerie(QStringLiteral("xdg-email"), true);
    if (!messagerie.composer(r.courriel, fiche.texte(DemLibelle), r.chemin))
        return ctx.echec(texteComLabo::MESSAGERIE);
    return SUCCES;
}

int executer(Contexte &ctx, const QStringList &arguments)
{
    const ArgumentsCommande args =
        lireArguments(arguments, {QStringLiteral("out")}, {QStringLiteral("mail")});
    if (!args.erreur.isEmpty()) return ctx.usage(args.erreur);
    const QStringList &p = args.positionnels;
    const QString action = p.value(0);
    if (action == QLatin1String("list") && p.size() == 1 && args.options.isEmpty())
        return lister(ctx);
    if (action == QLatin1String("generate") && p.size() == 2)
        return generer(ctx, p[1], args.options.value(QStringLiteral("out")),
                       args.options.contains(QStringLiteral("mail")));
    return ctx.usage(USAGE_REQUEST);
}

} // namespace

} // namespace vyk::cli

VYK_CLI_COMMANDE({QStringLiteral("request"),
                  QStringLiteral("liste les demandes de prélèvements, écrit leur fichier EDILABO"),
                  vyk::cli::AIDE,
                  vyk::cli::executer,
                  {QStringLiteral("out")}})
