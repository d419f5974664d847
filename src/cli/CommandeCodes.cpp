// vyk-cli codes list KEY | codes import FOLDER|FILE: the code lists from the command line.

#include "cli/Cli.h"
#include "cli/ProgressionTerminal.h"

#include "app/Csv.h"
#include "db/BaseDonnees.h"
#include "db/Sql.h"
#include "referentials/ListesCodees.h"
#include "referentials/ReferentielCodes.h"

#include <QDir>
#include <QFileInfo>

namespace vyk::cli {

namespace {

const QString USAGE_CODES =
    QStringLiteral("Usage : vyk-cli [options de connexion] codes list CLÉ\n"
                   "        vyk-cli [options de connexion] codes import DOSSIER|FICHIER");

const QString AIDE =
    USAGE_CODES +
    QStringLiteral(
        "\n\n"
        "codes list CLÉ\n"
        "    Les éléments de la liste de codes CLÉ (par exemple ANALYSES.CODEREMARQUE ; * pour "
        "toutes\n"
        "    les listes), triés par liste et par code, en CSV : une ligne d'en-tête Champ, Code,\n"
        "    Libelle, Commentaire, Statut, DateCreation, DateModification, Auteur, Projet,\n"
        "    codeReference, mnemonique, puis une ligne par élément.\n\n"
        "codes import DOSSIER|FICHIER\n"
        "    Intègre dans les listes de codes les fichiers XML de nomenclatures du référentiel\n"
        "    national (tous les fichiers .xml du dossier, ou le fichier donné). Chaque "
        "nomenclature\n"
        "    alimente chaque liste dont elle porte le numéro dans CODES_SANDRE_REFERENTIEL. Un\n"
        "    bilan par fichier est écrit sur la sortie standard, les refus sur la sortie "
        "d'erreur.\n\n"
        "Code de sortie : 0 succès, 1 erreur (base, fichier refusé, code rejeté), 2 erreur "
        "d'usage.");

// The columns as every engine names them alike (a server gives them in lower case).
const QStringList COLONNES = {QStringLiteral("Champ"),
                              QStringLiteral("Code"),
                              QStringLiteral("Libelle"),
                              QStringLiteral("Commentaire"),
                              QStringLiteral("Statut"),
                              QStringLiteral("DateCreation"),
                              QStringLiteral("DateModification"),
                              QStringLiteral("Auteur"),
                              QStringLiteral("Projet"),
                              QStringLiteral("codeReference"),
                              QStringLiteral("mnemonique")};

int lister(Contexte &ctx, const QString &cle)
{
    if (!ctx.ouvrirBase()) return ECHEC;
    QString sql = QStringLiteral("SELECT ") + COLONNES.join(QStringLiteral(", ")) +
                  QStringLiteral(" FROM CODES_SANDRE");
    if (cle != CODE_TOUS)
        sql += QStringLiteral(" WHERE Champ=") + sqlTexte(cle.trimmed().toUpper());
    sql += QStringLiteral(" ORDER BY Champ, Code");
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(sql, nb, t)) return ctx.echec(bd().derniereErreur());
    ecrireCsv(t, ctx.sortie, u',', QStringLiteral("\n"), COLONNES);
    return SUCCES;
}

int importer(Contexte &ctx, const QString &cible)
{
    const QFileInfo info(cible);
    QStringList fichiers;
    if (info.isDir()) {
        fichiers = fichiersReferentiel(cible);
        if (fichiers.isEmpty())
            return ctx.echec(QStringLiteral("Le dossier ") + QDir::toNativeSeparators(cible) +
                             QStringLiteral(" ne contient aucun fichier XML."));
    } else if (info.isFile()) {
        fichiers << info.absoluteFilePath();
    } else {
        return ctx.echec(QStringLiteral("Le fichier ou dossier ") +
                         QDir::toNativeSeparators(cible) + QStringLiteral(" n'existe pas."));
    }
    if (!ctx.ouvrirBase()) return ECHEC;
    bool erreur = false;
    for (const QString &chemin : fichiers) {
        const QString nom = QFileInfo(chemin).fileName();
        FichierReferentiel fichier;
        QString message;
        if (!lireFichierReferentiel(chemin, fichier, message)) {
            ctx.erreurs << message << '\n';
            erreur = true;
            continue;
        }
        BilanIntegration bilan;
        {
            ProgressionTerminal progression;
            bilan = integrerReferentiel(fichier.entrees, progression, nom);
        }
        if (!bilan.echec.isEmpty()) {
            ctx.erreurs << nom << " : " << bilan.echec << '\n';
            erreur = true;
            continue;
        }
        ctx.sortie << nom << " : " << bilan.ajoutes << " code(s) ajouté(s), " << bilan.modifies
                   << " mis à jour, " << bilan.rejetes << " rejeté(s)";
        if (!bilan.listes.isEmpty())
            ctx.sortie << " (" << bilan.listes.join(QStringLiteral(", ")) << ')';
        ctx.sortie << '\n';
        for (const QString &e : std::as_const(bilan.erreurs))
            ctx.erreurs << nom << " : " << e << '\n';
        // A refused or stopped integration wrote nothing: the run failed.
        erreur = erreur || bilan.rejetes > 0 || bilan.annule;
    }
    return erreur ? ECHEC : SUCCES;
}

int executer(Contexte &ctx, const QStringList &arguments)
{
    const ArgumentsCommande args = lireArguments(arguments, {});
    if (!args.erreur.isEmpty()) return ctx.usage(args.erreur);
    const QStringList &p = args.positionnels;
    if (p.size() != 2 || p[1].trimmed().isEmpty()) return ctx.usage(USAGE_CODES);
    if (p[0] == QLatin1String("list")) return lister(ctx, p[1]);
    if (p[0] == QLatin1String("import")) return importer(ctx, p[1]);
    return ctx.usage(USAGE_CODES);
}

} // namespace

} // namespace vyk::cli

VYK_CLI_COMMANDE(
    {QStringLiteral("codes"),
     QStringLiteral("liste les éléments d'une liste de codes, importe des nomenclatures XML"),
     vyk::cli::AIDE, vyk::cli::executer})
