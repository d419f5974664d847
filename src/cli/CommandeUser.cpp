// vyk-cli user ...: accounts of the database's user table, for administrators' scripts.

#include "cli/Cli.h"

#include "app/Csv.h"
#include "db/BaseDonnees.h"
#include "users/GestionUtilisateurs.h"
#include "users/Habilitations.h"

namespace vyk::cli {

namespace {

const QString USAGE_USER = QStringLiteral(
    "Usage : vyk-cli [options de connexion] user SOUS-COMMANDE\n\n"
    "  user list                                   les utilisateurs (login, nom, administrateur,\n"
    "                                              référentiels, habilitations) en CSV\n"
    "  user add LOGIN --password MDP [--name NOM] [--admin] [--referentiels]\n"
    "                                              crée un utilisateur\n"
    "  user passwd LOGIN MDP                       change le mot de passe\n"
    "  user grant LOGIN HABILITATION               accorde une habilitation (QUALITO_FICHE_MODIF,\n"
    "                                              QUALITO_NETWORK_12, MAT_MODEMS...)\n"
    "  user revoke LOGIN HABILITATION              retire une habilitation\n"
    "  user delete LOGIN                           supprime l'utilisateur, ses habilitations et\n"
    "                                              ses stations\n"
    "  user rights                                 les habilitations connues\n\n"
    "Un mot de passe \"-\" est lu sur l'entrée standard (première ligne), pour qu'il n'apparaisse\n"
    "pas dans la liste des processus. Les mots de passe ne sont jamais affichés.\n"
    "Les tables des utilisateurs sont créées ou complétées d'abord, comme avant une connexion.\n"
    "Code de sortie : 0 succès, 1 refus ou erreur de la base, 2 erreur d'usage.");

QString motDePasse(const QString &argument)
{
    return argument == QLatin1String("-") ? lireLigneEntree() : argument;
}

int lister(Contexte &ctx, GestionUtilisateurs &gestion)
{
    const QHash<QString, QStringList> droits = gestion.toutesHabilitations();
    ctx.sortie << ligneCsv({QStringLiteral("login"), QStringLiteral("nom"),
                            QStringLiteral("administrateur"), QStringLiteral("referentiels"),
                            QStringLiteral("habilitations")})
               << '\n';
    for (const FicheUtilisateur &u : gestion.utilisateurs())
        ctx.sortie << ligneCsv({u.login, u.nom,
                                u.administrateur ? QStringLiteral("1") : QStringLiteral("0"),
                                u.editionReferentiels ? QStringLiteral("1") : QStringLiteral("0"),
                                droits.value(u.login).join(u' ')})
                   << '\n';
    return SUCCES;
}

int listerDroits(Contexte &ctx)
{
    for (const DefinitionHabilitation &d : catalogueHabilitations())
        ctx.sortie << d.code.leftJustified(26) << ' ' << d.groupe << " : " << d.libelle << '\n';
    for (const DefinitionHabilitation &d : habilitationsReseaux())
        ctx.sortie << d.code.leftJustified(26) << ' ' << d.groupe << " : " << d.libelle << '\n';
    return SUCCES;
}

int executer(Contexte &ctx, const QStringList &arguments)
{
    // "passwd LOGIN PASSWORD": the password is taken as it is, even when it looks like an option.
    ArgumentsCommande args;
    if (arguments.value(0) == QLatin1String("passwd"))
        args.positionnels = arguments;
    else
        args = lireArguments(arguments, {QStringLiteral("password"), QStringLiteral("name")},
                             {QStringLiteral("admin"), QStringLiteral("referentiels")});
    if (!args.erreur.isEmpty()) return ctx.usage(args.erreur + QStringLiteral("\n") + USAGE_USER);
    const QStringList &p = args.positionnels;
    const QString sous = p.value(0);
    struct Forme
    {
        const char *nom;
        int nbArguments;
    };
    static const Forme FORMES[] = {{"list", 1},  {"rights", 1}, {"add", 2},   {"passwd", 3},
                                   {"grant", 3}, {"revoke", 3}, {"delete", 2}};
    const Forme *forme = nullptr;
    for (const Forme &f : FORMES)
        if (sous == QLatin1String(f.nom)) forme = &f;
    if (!forme)
        return ctx.usage(sous.isEmpty() ? USAGE_USER
                                        : QStringLiteral("Sous-commande inconnue : ") + sous +
                                              u'\n' + USAGE_USER);
    if (p.size() != forme->nbArguments) return ctx.usage(USAGE_USER);
    const bool optionsAdd = args.options.contains(QStringLiteral("password")) ||
                            args.options.contains(QStringLiteral("name")) ||
                            args.options.contains(QStringLiteral("admin")) ||
                            args.options.contains(QStringLiteral("referentiels"));
    if (optionsAdd && sous != QLatin1String("add"))
        return ctx.usage(QStringLiteral(
            "Les options --password, --name, --admin et --referentiels ne valent que "
            "pour user add."));
    if (sous == QLatin1String("add") && !args.options.contains(QStringLiteral("password")))
        return ctx.usage(QStringLiteral("user add demande --password MDP."));

    if (!ctx.ouvrirBase()) return ECHEC;
    GestionUtilisateurs gestion;
    if (sous == QLatin1String("list")) return lister(ctx, gestion);
    if (sous == QLatin1String("rights")) return listerDroits(ctx);

    const QString login = p[1];
    bool ok = false;
    if (sous == QLatin1String("add")) {
        FicheUtilisateur fiche;
        fiche.login = login;
        fiche.nom = args.options.value(QStringLiteral("name"));
        fiche.administrateur = args.options.contains(QStringLiteral("admin"));
        fiche.editionReferentiels = args.options.contains(QStringLiteral("referentiels"));
        ok = gestion.creer(fiche, motDePasse(args.options.value(QStringLiteral("password"))));
    } else if (sous == QLatin1String("passwd")) {
        ok = gestion.changerMotDePasse(login, motDePasse(p[2]));
    } else if (sous == QLatin1String("grant")) {
        ok = gestion.accorder(login, p[2]);
    } else if (sous == QLatin1String("revoke")) {
        ok = gestion.retirer(login, p[2]);
    } else if (sous == QLatin1String("delete")) {
        ok = gestion.supprimer(login);
    }
    return ok ? SUCCES : ctx.echec(gestion.erreur());
}

} // namespace

} // namespace vyk::cli

VYK_CLI_COMMANDE({QStringLiteral("user"),
                  QStringLiteral("gère les utilisateurs, leurs habilitations et mots de passe"),
                  vyk::cli::USAGE_USER,
                  vyk::cli::executer,
                  {QStringLiteral("password")}})
