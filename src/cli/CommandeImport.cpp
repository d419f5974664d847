// vyk-cli import MODELE FICHIER|DOSSIER, import --modeles, jobs: the import road and its records
// from the command line.

#include "cli/Cli.h"
#include "cli/ProgressionTerminal.h"

#include "import/Importation.h"
#include "import/Jobs.h"
#include "import/ModelesImport.h"

#include <QFileInfo>

namespace vyk::cli {

namespace {

const QString USAGE_IMPORT = QStringLiteral(
    "Usage : vyk-cli [options de connexion] import MODELE FICHIER|DOSSIER [--remplacer] "
    "[--controle]\n"
    "                [--creer-intervenants] [--entete] [--extension EXT] [--demande CODE]\n"
    "                [--feuille NOM] [--ecraser]\n"
    "        vyk-cli import --modeles");

const QString AIDE_IMPORT =
    USAGE_IMPORT +
    QStringLiteral(
        "\n\n"
        "Intègre un fichier (ou chaque fichier d'un dossier, ou chaque fichier d'une archive ZIP)\n"
        "avec le modèle d'import donné par son code (vyk-cli import --modeles en donne la liste).\n"
        "Les stations sont retrouvées par leur code ou créées ; les points, opérations,\n"
        "prélèvements et analyses sont trouvés ou créés. Sans option, une analyse déjà présente\n"
        "(même prélèvement, paramètre, unité et fraction) est réécrite, les autres ajoutées, et\n"
        "une ligne en erreur est signalée puis sautée.\n\n"
        "    --remplacer            remplace toutes les données des stations du fichier ; "
        "l'import\n"
        "                           s'arrête à la première ligne en erreur et la station en "
        "cours\n"
        "                           garde alors ses anciennes données\n"
        "    --controle             contrôle sans écriture : tout est intégré puis annulé, le "
        "bilan\n"
        "                           dit ce qui serait créé et les lignes en erreur\n"
        "    --creer-intervenants   crée sans demander les intervenants absents (sinon l'import\n"
        "                           s'arrête au premier intervenant inconnu)\n"
        "    --entete               la première ligne des fichiers texte nomme les colonnes\n"
        "    --extension EXT        fichiers d'un dossier (csv par défaut)\n"
        "    --demande CODE         code de demande donné aux prélèvements\n"
        "    --feuille NOM          classeurs : la feuille à lire quand celle du modèle est "
        "absente\n"
        "    --ecraser              REPRISE_HISTO : remplace le fichier .txt voisin quand il "
        "diffère\n"
        "                           de la trame du classeur (sinon il est gardé et rien "
        "n'est intégré)\n\n"
        "Une ligne de bilan sur la sortie standard, les lignes en erreur sur la sortie d'erreur.\n"
        "Code de sortie : 0 succès, 1 échec (modèle refusé, fichier illisible, ligne en erreur),\n"
        "2 erreur d'usage.");

void ecrireBilan(Contexte &ctx, const QString &nom, const BilanAnalyses &b, bool controle)
{
    ctx.sortie << (controle ? QStringLiteral("Contrôle sans écriture, ") : QString()) << nom
               << " : " << b.resume() << '\n';
    if (controle) ctx.sortie << b.aCreer().join(u'\n') << '\n';
}

int listerModeles(Contexte &ctx)
{
    for (const ModeleImport &m : modelesImport()) {
        ctx.sortie << m.code << '\t' << (m.libelle.isEmpty() ? m.code : m.libelle);
        if (!m.refus().isEmpty()) ctx.sortie << "\t(non disponible)";
        ctx.sortie << '\n';
    }
    return SUCCES;
}

int importerFichier(Contexte &ctx, const ArgumentsCommande &args)
{
    const QString modele = args.positionnels.at(0);
    const QString chemin = args.positionnels.at(1);
    if (!modeleImport(modele)) return ctx.usage(texteModeles::inconnu(extrait(modele)));
    if (!QFileInfo(chemin).isDir() && !ctx.fichierLisible(chemin)) return ECHEC;
    OptionsImport options;
    options.remplacer = args.options.contains(QStringLiteral("remplacer"));
    options.controle = args.options.contains(QStringLiteral("controle"));
    options.creerIntervenants = args.options.contains(QStringLiteral("creer-intervenants"));
    options.entete = args.options.contains(QStringLiteral("entete"));
    options.extension = args.options.value(QStringLiteral("extension"));
    options.codeDemande = args.options.value(QStringLiteral("demande"));
    if (!ctx.ouvrirBase()) return ECHEC;
    ResultatImport r;
    {
        ProgressionTerminal progression;
        // Unattended: a missing organisation is created only with --creer-intervenants.
        ReponsesIntegration reponses;
        const QString feuille = args.options.value(QStringLiteral("feuille"));
        if (!feuille.isEmpty())
            reponses.choisirFeuille = [feuille](const QStringList &) { return feuille; };
        if (args.options.contains(QStringLiteral("ecraser")))
            reponses.remplacerFichier = [](const QString &) { return true; };
        r = importer(modele, chemin, options, progression, reponses);
    }
    for (const FichierImporte &f : std::as_const(r.fichiers)) {
        const QString nom = QFileInfo(f.chemin).fileName();
        ecrireBilan(ctx, nom, f.bilan, options.controle);
        for (const LigneEnErreur &e : f.bilan.lignesEnErreur)
            ctx.erreurs << nom << " : "
                        << (e.origine.isEmpty() ? QString::number(e.ligne) : e.origine) << " : "
                        << e.raison << '\n';
        if (!f.erreur.isEmpty() && f.bilan.lignesEnErreur.isEmpty())
            ctx.erreurs << nom << " : " << f.erreur << '\n';
        // What the file carries that nothing reads is said, never dropped silently.
        if (!f.remarques.isEmpty()) ctx.erreurs << nom << " : " << f.remarques << '\n';
    }
    if (!r.erreur.isEmpty()) ctx.erreurs << r.erreur << '\n';
    if (!r.statut()) return ECHEC;
    ctx.sortie << texteImportation::TERMINE << '\n';
    return SUCCES;
}

int executerImport(Contexte &ctx, const QStringList &arguments)
{
    const ArgumentsCommande args = lireArguments(
        arguments,
        {QStringLiteral("extension"), QStringLiteral("demande"), QStringLiteral("feuille")},
        {QStringLiteral("remplacer"), QStringLiteral("controle"),
         QStringLiteral("creer-intervenants"), QStringLiteral("entete"), QStringLiteral("modeles"),
         QStringLiteral("ecraser")});
    if (!args.erreur.isEmpty()) return ctx.usage(args.erreur);
    if (args.options.contains(QStringLiteral("modeles"))) {
        if (!args.positionnels.isEmpty()) return ctx.usage(USAGE_IMPORT);
        return listerModeles(ctx);
    }
    if (args.positionnels.size() != 2 || args.positionnels[1].trimmed().isEmpty())
        return ctx.usage(USAGE_IMPORT);
    return importerFichier(ctx, args);
}

const QString USAGE_JOBS =
    QStringLiteral("Usage : vyk-cli [options de connexion] jobs [--nombre N]");

int executerJobs(Contexte &ctx, const QStringList &arguments)
{
    const ArgumentsCommande args = lireArguments(arguments, {QStringLiteral("nombre")});
    if (!args.erreur.isEmpty() || !args.positionnels.isEmpty())
        return ctx.usage(args.erreur.isEmpty() ? USAGE_JOBS : args.erreur);
    bool ok = true;
    const int nombre =
        args.options.value(QStringLiteral("nombre"), QStringLiteral("50")).toInt(&ok);
    if (!ok || nombre <= 0)
        return ctx.usage(QStringLiteral("--nombre attend un nombre entier positif."));
    if (!ctx.ouvrirBase()) return ECHEC;
    for (const ExecutionJob &e : dernieresExecutions(nombre)) {
        ctx.sortie << e.id << '\t' << e.debut.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))
                   << '\t' << (e.modele.isEmpty() ? QStringLiteral("-") : e.modele) << '\t'
                   << (!e.termine ? QStringLiteral("EN COURS")
                       : e.statut ? QStringLiteral("OK")
                                  : QStringLiteral("ERREUR"))
                   << '\t' << (e.termine ? QString::number(e.duree) + QStringLiteral(" s") : "-")
                   << '\t' << e.job << '\t' << (e.login.isEmpty() ? QStringLiteral("-") : e.login)
                   << '\n';
        for (const QString &l : e.journal.split(u'\n', Qt::SkipEmptyParts))
            ctx.sortie << "    " << l << '\n';
    }
    return SUCCES;
}

} // namespace

} // namespace vyk::cli

VYK_CLI_COMMANDE({QStringLiteral("import"),
                  QStringLiteral("intègre un fichier d'analyses avec un modèle d'import"),
                  vyk::cli::AIDE_IMPORT, vyk::cli::executerImport})
VYK_CLI_COMMANDE(
    {QStringLiteral("jobs"),
     QStringLiteral("liste les exécutions des imports, les plus récentes d'abord"),
     vyk::cli::USAGE_JOBS +
         QStringLiteral("\n\nUne ligne par exécution : numéro, début, modèle, statut (OK, ERREUR, "
                        "EN COURS),\ndurée, nom de la tâche et utilisateur ; puis son journal, "
                        "en retrait.\n--nombre N   les N dernières (50 par défaut).\n"
                        "Code de sortie : 0 succès, 1 erreur de la base, 2 erreur d'usage."),
     vyk::cli::executerJobs})
