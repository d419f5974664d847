// vyk-cli kml LIST --out DIR: the map export of a saved list, as the export screen runs it.

#include "cli/Cli.h"

#include "carto/ExportKml.h"
#include "carto/ListesExport.h"
#include "db/Outils.h"

#include <QDir>

namespace vyk::cli {

namespace {

const QString USAGE =
    QStringLiteral("Usage : vyk-cli [options de connexion] kml LISTE --out DOSSIER");

// The list by its number, else by its name.
qint64 trouverListe(const QString &nom)
{
    const QVector<QPair<qint64, QString>> listes = listesExport();
    for (const auto &[code, libelle] : listes)
        if (estNombre(nom) && code == qint64(enNombre(nom).valeur)) return code;
    for (const auto &[code, libelle] : listes)
        if (libelle.trimmed() == nom.trimmed()) return code;
    return -1;
}

int executer(Contexte &ctx, const QStringList &arguments)
{
    const ArgumentsCommande args = lireArguments(arguments, {QStringLiteral("out")});
    const QString dossier = args.options.value(QStringLiteral("out")).trimmed();
    if (!args.erreur.isEmpty() || args.positionnels.size() != 1 || dossier.isEmpty())
        return ctx.usage(args.erreur.isEmpty() ? USAGE : args.erreur);
    if (!ctx.ouvrirBase()) return ECHEC;
    const QString nom = args.positionnels.first();
    ListeExportQualite liste;
    const qint64 code = trouverListe(nom);
    if (code < 0 || !chargerListeExport(code, liste))
        return ctx.echec(
            QStringLiteral("La liste d'export « %1 » n'existe pas.").arg(extrait(nom)));
    BilanExportKml bilan;
    QString erreur;
    if (!exporterListe(liste, dossier, bilan, &erreur)) return ctx.echec(erreur);
    if (!bilan.fichier.isEmpty()) ctx.sortie << QDir::toNativeSeparators(bilan.fichier) << '\n';
    for (const QString &page : bilan.pages)
        ctx.sortie << QDir::toNativeSeparators(QDir(dossier).filePath(page)) << '\n';
    ctx.sortie << bilan.message() << '\n';
    return SUCCES;
}

} // namespace

} // namespace vyk::cli

VYK_CLI_COMMANDE(
    {QStringLiteral("kml"), QStringLiteral("écrit le KML (et les pages web) d'une liste d'export"),
     QStringLiteral(
         "Usage : vyk-cli [options de connexion] kml LISTE --out DOSSIER\n\n"
         "Exporte la liste d'export LISTE (son numéro, ou son nom) comme l'écran d'export\n"
         "cartographique : le fichier Export_<numéro>.kml quand « Export KML » est coché, les\n"
         "pages web quand « Export Site » ou « Export generic sites » l'est, dans DOSSIER (créé\n"
         "au besoin). Les positions sont converties de la projection de la liste en longitude et\n"
         "latitude WGS84 ; un qualitomètre sans position, en 0, 0 ou hors du domaine de la\n"
         "projection n'est pas placé et il est cité à la fin.\n"
         "Écrit les fichiers produits, un par ligne, puis « Exportation terminée ».\n\n"
         "Code de sortie : 0 succès, 1 erreur (liste inconnue, contrôle refusé, écriture\n"
         "impossible), 2 erreur d'usage."),
     vyk::cli::executer})
