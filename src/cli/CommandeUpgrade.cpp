// vyk-cli upgrade: the version check and upgrade that follow a login, on the chosen database.

#include "cli/Cli.h"
#include "cli/ProgressionTerminal.h"

#include "app/Options.h"
#include "db/BaseDonnees.h"
#include "db/RaisonsMoteur.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

namespace vyk::cli {

namespace {

const QString AIDE = QStringLiteral(
    "Usage : vyk-cli [options de connexion] upgrade\n\n"
    "Compare la version du schéma enregistrée dans la base à celle du programme (%1) et,\n"
    "quand elles diffèrent, met le schéma à jour : tables, colonnes, index, vues et migrations\n"
    "de données. Une base à jour n'est pas modifiée. Affiche ensuite la version du schéma.\n"
    "Code de sortie : 0 base à jour, 1 erreur (connexion, mise à jour inachevée), 2 erreur "
    "d'usage.");

int executer(Contexte &ctx, const QStringList &arguments)
{
    const ArgumentsCommande args = lireArguments(arguments, {});
    if (!args.erreur.isEmpty() || !args.positionnels.isEmpty())
        return ctx.usage(args.erreur.isEmpty()
                             ? QStringLiteral("Usage : vyk-cli [options de connexion] upgrade")
                             : args.erreur);
    if (!ctx.ouvrirBase()) return ECHEC;
    const QString avant = versionBase();
    bool ok;
    {
        ProgressionTerminal progression;
        ok = verifierVersionBase(versionProgramme(), progression, moisHydrologique());
    }
    if (!ok)
        return ctx.echec(
            QStringLiteral("La mise à jour de la base n'est pas allée à son terme : ") +
            raisonMoteur(bd().derniereErreur()));
    if (avant != versionProgramme())
        ctx.sortie << (avant.isEmpty()
                           ? QStringLiteral("Base mise à jour (elle n'avait pas de version).")
                           : QStringLiteral("Base mise à jour depuis la version %1.").arg(avant))
                   << '\n';
    ctx.sortie << "Version du schéma : " << versionBase() << '\n';
    return SUCCES;
}

} // namespace

} // namespace vyk::cli

VYK_CLI_COMMANDE({QStringLiteral("upgrade"),
                  QStringLiteral("vérifie la version du schéma et met la base à jour"),
                  vyk::cli::AIDE.arg(vyk::versionProgramme()), vyk::cli::executer})
