// vyk-cli sql "STATEMENT": one statement through the database object.

#include "cli/Cli.h"

#include "app/Csv.h"
#include "db/BaseDonnees.h"

#include <QRegularExpression>

namespace vyk::cli {

namespace {

bool estLecture(const QString &sql)
{
    const QString debut =
        sql.trimmed().section(QRegularExpression(QStringLiteral("\\s+")), 0, 0).toUpper();
    return debut == QLatin1String("SELECT") || debut == QLatin1String("WITH") ||
           debut == QLatin1String("(SELECT");
}

int executer(Contexte &ctx, const QStringList &arguments)
{
    if (arguments.size() != 1 || arguments[0].trimmed().isEmpty())
        return ctx.usage(
            QStringLiteral("Usage : vyk-cli [options de connexion] sql \"INSTRUCTION\""));
    if (!ctx.ouvrirBase()) return ECHEC;
    const QString sql = arguments[0];
    if (estLecture(sql)) {
        long nb = 0;
        Tableau t;
        if (!bd().ExtraireRecords(sql, nb, t)) return ctx.echec(bd().derniereErreur());
        ecrireCsv(t, ctx.sortie, u',', QStringLiteral("\n"));
        return SUCCES;
    }
    if (!bd().Execute(sql)) return ctx.echec(bd().derniereErreur());
    return SUCCES;
}

} // namespace

} // namespace vyk::cli

VYK_CLI_COMMANDE(
    {QStringLiteral("sql"),
     QStringLiteral("exécute une instruction SQL (les lignes d'un SELECT en CSV)"),
     QStringLiteral(
         "Usage : vyk-cli [options de connexion] sql \"INSTRUCTION\"\n\n"
         "Exécute une instruction écrite dans le dialecte de la base de bureau.\n"
         "Pour un SELECT : une ligne d'en-tête puis une ligne CSV par ligne de résultat\n"
         "(NULL en champ vide, dates JJ/MM/AAAA hh:mm:ss, nombres avec \".\").\n"
         "Code de sortie : 0 succès, 1 erreur de la base, 2 erreur d'usage."),
     vyk::cli::executer})
