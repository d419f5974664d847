// vyk-cli [--login LOGIN] stations [--filter TEXT]: the station list as CSV.

#include "cli/Cli.h"

#include "app/Csv.h"
#include "db/BaseDonnees.h"
#include "db/Session.h"
#include "monitoring/ListeStationsQualite.h"
#include "users/GestionUtilisateurs.h"
#include "users/Habilitations.h"
#include "users/TablesUtilisateurs.h"

namespace vyk::cli {

namespace {

const QString USAGE = QStringLiteral("Usage : vyk-cli [options de connexion] [--login LOGIN] stations [--filter TEXTE]");

// The stations are listed as this user sees them.
bool ouvrirSession(Contexte &ctx, const QString &login)
{
    assurerTablesUtilisateurs();
    GestionUtilisateurs gestion;
    const std::optional<FicheUtilisateur> fiche = gestion.utilisateur(login);
    if (!fiche) {
        ctx.echec(QStringLiteral("Utilisateur inconnu : %1").arg(login));
        return false;
    }
    Session &s = session();
    s.vider();
    s.login = fiche->login;
    s.nom = fiche->nom;
    s.administrateur = fiche->administrateur;
    s.habilitations = lireHabilitations(fiche->login);
    return true;
}

int executer(Contexte &ctx, const QStringList &arguments)
{
    const ArgumentsCommande args = lireArguments(arguments, {QStringLiteral("filter")});
    if (!args.erreur.isEmpty() || !args.positionnels.isEmpty())
        return ctx.usage(args.erreur.isEmpty() ? USAGE : args.erreur);
    if (!ctx.ouvrirBase())
        return ECHEC;
    if (ctx.aOption(QStringLiteral("login")) && !ouvrirSession(ctx, ctx.option(QStringLiteral("login")).trimmed()))
        return ECHEC;
    const ListeStations liste = chargerListeQualitometres();
    if (liste.echec)
        return ctx.echec(QStringLiteral("La liste des qualitomètres n'a pas pu être lue : ") + bd().derniereErreur());
    const QString filtre = args.options.value(QStringLiteral("filter"));
    ctx.sortie << ligneCsv(liste.titres) << '\n';
    for (const QStringList &ligne : liste.lignes)
        if (ligneCorrespond(ligne, filtre))
            ctx.sortie << ligneCsv(ligne) << '\n';
    return SUCCES;
}

} // namespace

} // namespace vyk::cli

VYK_CLI_COMMANDE({QStringLiteral("stations"), QStringLiteral("liste des qualitomètres en CSV"),
                  QStringLiteral("Usage : vyk-cli [options de connexion] [--login LOGIN] stations [--filter TEXTE]\n\n"
                                 "Écrit la liste des qualitomètres avec les colonnes de l'écran de liste :\n"
                                 "une ligne d'en-tête puis une ligne CSV par ligne de la liste.\n"
                                 "--login LOGIN   les stations que cet utilisateur voit (sans lui : toutes)\n"
                                 "--filter TEXTE  seulement les lignes dont une colonne contient le texte\n"
                                 "                (sans tenir compte de la casse).\n"
                                 "Code de sortie : 0 succès, 1 erreur, 2 erreur d'usage."),
                  vyk::cli::executer})
