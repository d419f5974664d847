// vyk-cli create FICHIER: a new desktop database brought to the current schema.

#include "cli/Cli.h"
#include "cli/ProgressionTerminal.h"

#include "app/Options.h"
#include "db/BaseDonnees.h"
#include "schema/MiseAJour.h"
#include "schema/Version.h"

#include <QDir>
#include <QFileInfo>

namespace vyk::cli {

namespace {

const QString USAGE = QStringLiteral("Usage : vyk-cli create FICHIER");

int executer(Contexte &ctx, const QStringList &arguments)
{
    const ArgumentsCommande args = lireArguments(arguments, {});
    if (!args.erreur.isEmpty()) return ctx.usage(args.erreur);
    if (args.positionnels.size() != 1 || args.positionnels[0].trimmed().isEmpty())
        return ctx.usage(USAGE);
    const QString chemin = args.positionnels[0];
    // The user's data folder may not exist yet on a first run.
    const QString dossier = QFileInfo(chemin).absolutePath();
    if (!QDir().mkpath(dossier))
        return ctx.echec(QStringLiteral("Le dossier « %1 » ne peut pas être créé.").arg(dossier));
    QString erreur;
    if (!BaseDonnees::creerBaseBureau(chemin, &erreur)) return ctx.echec(erreur);
    if (!bd().ouvrirBase(chemin, ACCESS, {}, {}, {}))
        return ctx.echec(QStringLiteral("La base « %1 » a été créée mais ne s'ouvre pas : %2")
                             .arg(chemin, bd().derniereErreur()));
    bool ok;
    {
        ProgressionTerminal progression;
        ok = verifierVersionBase(versionProgramme(), progression, moisHydrologique());
    }
    if (!ok)
        return ctx.echec(
            QStringLiteral(
                "La base « %1 » a été créée mais sa mise à jour n'est pas allée à son terme "
                "(elle sera reprise à la prochaine connexion) : %2")
                .arg(chemin, bd().derniereErreur()));
    ctx.sortie << "Base créée : " << chemin << '\n'
               << "Version du schéma : " << versionBase() << '\n';
    return SUCCES;
}

} // namespace

} // namespace vyk::cli

VYK_CLI_COMMANDE(
    {QStringLiteral("create"),
     QStringLiteral("crée un fichier de base de bureau au schéma courant"),
     QStringLiteral(
         "Usage : vyk-cli create FICHIER\n\n"
         "Crée le fichier de base de bureau FICHIER (il ne doit pas exister) et lui donne\n"
         "le schéma complet de cette version. Les options de connexion sont ignorées.\n"
         "Code de sortie : 0 succès, 1 erreur (fichier existant, écriture impossible), "
         "2 erreur d'usage."),
     vyk::cli::executer})
