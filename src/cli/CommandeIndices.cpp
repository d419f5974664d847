// vyk-cli indices calculateurs|trame|lancer|integrer: the external index calculators as the
// operation screen drives them.

#include "cli/Cli.h"
#include "cli/ProgressionTerminal.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "indices/CalculIndiceOperation.h"
#include "indices/ClasseurLibreOffice.h"
#include "indices/ExportsIndices.h"
#include "indices/Ibgn.h"

#include <QDir>

namespace vyk::cli {

namespace {

const QString USAGE = QStringLiteral(
    "Usage : vyk-cli [options de connexion] indices calculateurs | trame INDICE --station CODE "
    "--operation N --sortie DOSSIER | lancer INDICE --station CODE --operation N | integrer "
    "INDICE FICHIER --station CODE | ibgn --station CODE --operation N | hype --station CODE "
    "[--selection CODE] [--debut JJ/MM/AAAA] [--fin JJ/MM/AAAA]");

QString racine()
{
    const QString r = lireRegistre(reglage::CheminR, {}, true);
    return r.isEmpty() || r.endsWith(u'/') ? r : r + u'/';
}

int calculateurs(Contexte &ctx)
{
    for (const DescriptionIndice *d : indicesCalcules()) {
        const QString dossier =
            racine().isEmpty() ? QString() : dossierCalculateur(racine(), d->calculateur);
        ctx.sortie << d->nom << " : "
                   << (dossier.isEmpty() ? QStringLiteral("aucun")
                                         : QDir::toNativeSeparators(racine() + dossier))
                   << '\n';
    }
    return SUCCES;
}

// Configures the export in `dossier` and writes its frame; false with the errors printed.
bool ecrireTrame(Contexte &ctx, ExportIndice &e, const ArgumentsCommande &args,
                 const QString &dossier)
{
    e.codeBSS = args.options.value(QStringLiteral("station"));
    FiltresExport f;
    f.operation = args.options.value(QStringLiteral("operation"));
    if (e.configuration(dossier)) {
        e.demarreExport(f);
        if (!e.ecritTrameDebut()) e.ecritTrameListe(progressionNulle());
        e.ecritTrameFin();
    }
    if (e.getTabErreurAsTab().isEmpty()) return true;
    ctx.echec(e.getTabErreurAsTab().join(u'\n'));
    return false;
}

int imprimerBilan(Contexte &ctx, bool ok, const BilanResultats &bilan)
{
    for (const QString &i : bilan.ignores)
        ctx.sortie << i << '\n';
    if (!ok) return ctx.echec(bilan.erreur);
    ctx.sortie << bilan.enregistres << " résultat(s) enregistré(s)\n";
    return SUCCES;
}

int lancer(Contexte &ctx, const DescriptionIndice &indice, const ArgumentsCommande &args)
{
    const QString nom =
        racine().isEmpty() ? QString() : dossierCalculateur(racine(), indice.calculateur);
    if (nom.isEmpty()) return ctx.echec(indice.messageDossier);
    const auto e = creerExport(indice);
    if (!ecrireTrame(ctx, *e, args, racine() + nom)) return ECHEC;
    ProgressionTerminal progression;
    const ExecutionCalcul fin = e->calculIndice(progression, delaiCalculateurs());
    if (fin.fin == FinCalcul::Annule) return ctx.echec(QStringLiteral("Calcul annulé."));
    if (fin.fin != FinCalcul::Resultats) return ctx.echec(fin.message);
    if (!indice.integre) {
        ctx.sortie << QDir::toNativeSeparators(e->repLocal() + QStringLiteral("script")) << '\n';
        return SUCCES;
    }
    BilanResultats bilan;
    const bool ok = e->integrationResultats(bilan);
    return imprimerBilan(ctx, ok, bilan);
}

// The IBGN of a stored operation by the site's workbook model, computed by LibreOffice. A
// stored value that differs is kept (nobody is there to answer the question).
int ibgn(Contexte &ctx, const ArgumentsCommande &args)
{
    OperationIbgn op;
    QString erreur;
    if (!chargerOperationIbgn(args.options.value(QStringLiteral("station")),
                              args.options.value(QStringLiteral("operation")), op, erreur))
        return ctx.echec(erreur);
    if (op.liste.isEmpty()) return ctx.echec(texteIbgn::LISTE_VIDE);
    ClasseurLibreOffice classeur;
    const CalculIbgn calcul = calculIbgnOperation(classeur, op.liste, op.protocole, op.point);
    if (!calcul.ok()) return ctx.echec(calcul.erreur);
    for (const QString &texte : QStringList{calcul.avertissement} + calcul.refus)
        if (!texte.isEmpty()) ctx.sortie << QString(texte).replace(u'\r', u'\n') << '\n';
    BilanIbgn bilan;
    if (!integrerIbgn(op.station, op.operation, calcul.resultats, {}, bilan))
        return ctx.echec(bilan.erreur);
    for (const ResultatModele &r : calcul.resultats)
        ctx.sortie << r.code << " : " << r.texte
                   << (bilan.gardes.contains(r.code)
                           ? QStringLiteral(" (valeur enregistrée différente, gardée)")
                           : QString())
                   << '\n';
    ctx.sortie << texteIbgn::TERMINE << '\n';
    return SUCCES;
}

// HYPE on a station's analyses: the reports' folder, or the reason it failed.
int hype(Contexte &ctx, const ArgumentsCommande &args)
{
    ProgressionTerminal progression;
    const IssueCalculIndice issue =
        calculerTendancesHype(args.options.value(QStringLiteral("station")),
                              args.options.value(QStringLiteral("selection")),
                              args.options.value(QStringLiteral("debut")),
                              args.options.value(QStringLiteral("fin")), progression);
    if (issue.genre.isEmpty()) return ctx.echec(QStringLiteral("Calcul annulé."));
    if (issue.genre != GENRE_INFO) return ctx.echec(QString(issue.message).replace(u'\r', u'\n'));
    ctx.sortie << QDir::toNativeSeparators(issue.documents) << '\n';
    return SUCCES;
}

int executer(Contexte &ctx, const QStringList &arguments)
{
    const ArgumentsCommande args =
        lireArguments(arguments, {QStringLiteral("station"), QStringLiteral("operation"),
                                  QStringLiteral("sortie"), QStringLiteral("selection"),
                                  QStringLiteral("debut"), QStringLiteral("fin")});
    const QString action = args.positionnels.value(0);
    if (!args.erreur.isEmpty() || action.isEmpty())
        return ctx.usage(args.erreur.isEmpty() ? USAGE : args.erreur);
    if (action == QLatin1String("calculateurs")) return calculateurs(ctx);
    if (action == QLatin1String("ibgn") && args.positionnels.size() == 1) {
        if (args.options.value(QStringLiteral("station")).isEmpty() ||
            args.options.value(QStringLiteral("operation")).isEmpty())
            return ctx.usage(USAGE);
        return ctx.ouvrirBase() ? ibgn(ctx, args) : ECHEC;
    }
    if (action == QLatin1String("hype") && args.positionnels.size() == 1) {
        if (args.options.value(QStringLiteral("station")).isEmpty()) return ctx.usage(USAGE);
        return ctx.ouvrirBase() ? hype(ctx, args) : ECHEC;
    }
    const DescriptionIndice *indice = indiceNomme(args.positionnels.value(1));
    const bool station = !args.options.value(QStringLiteral("station")).isEmpty();
    const bool operation = !args.options.value(QStringLiteral("operation")).isEmpty();
    if (!indice || indice->trame == TrameIndice::Hype || !station) return ctx.usage(USAGE);
    if (!ctx.ouvrirBase()) return ECHEC;
    if (action == QLatin1String("trame") && operation && args.positionnels.size() == 2) {
        const auto e = creerExport(*indice);
        const QString dossier = args.options.value(QStringLiteral("sortie"));
        if (dossier.isEmpty() || !QDir().mkpath(dossier)) return ctx.usage(USAGE);
        if (!ecrireTrame(ctx, *e, args, dossier)) return ECHEC;
        ctx.sortie << QDir::toNativeSeparators(e->cheminTrame()) << '\n';
        return SUCCES;
    }
    if (action == QLatin1String("lancer") && operation && args.positionnels.size() == 2)
        return lancer(ctx, *indice, args);
    if (action == QLatin1String("integrer") && indice->integre && args.positionnels.size() == 3) {
        if (!ctx.fichierLisible(args.positionnels[2])) return ECHEC;
        LectureResultats lecture;
        lecture.codeStation = args.options.value(QStringLiteral("station"));
        lecture.point = indice->point;
        lecture.protocolesPreferes = indice->protocolesPreferes;
        lecture.parametre = [indice](const QString &code, const QString &libelle) {
            return indice->parametre(*indice, code, libelle);
        };
        BilanResultats bilan;
        const bool ok = integrerResultats(args.positionnels[2], lecture, bilan);
        return imprimerBilan(ctx, ok, bilan);
    }
    return ctx.usage(USAGE);
}

} // namespace

} // namespace vyk::cli

VYK_CLI_COMMANDE(
    {QStringLiteral("indices"),
     QStringLiteral("calcule les indices biologiques par leurs calculateurs externes, l'IBGN par "
                    "le modèle du site"),
     QStringLiteral(
         "Usage : vyk-cli [options de connexion] indices calculateurs\n"
         "       vyk-cli [options de connexion] indices trame INDICE --station CODE "
         "--operation N --sortie DOSSIER\n"
         "       vyk-cli [options de connexion] indices lancer INDICE --station CODE "
         "--operation N\n"
         "       vyk-cli [options de connexion] indices integrer INDICE FICHIER "
         "--station CODE\n"
         "       vyk-cli [options de connexion] indices ibgn --station CODE --operation N\n"
         "       vyk-cli [options de connexion] indices hype --station CODE [--selection CODE]\n"
         "               [--debut JJ/MM/AAAA] [--fin JJ/MM/AAAA]\n\n"
         "INDICE : I2M2, IBG-DCE, IBD, IBMR ou Diagnostic. « calculateurs » écrit le\n"
         "dossier retenu de chaque calculateur sous le réglage CheminR ; « trame » écrit\n"
         "la trame de l'opération dans DOSSIER ; « lancer » écrit la trame dans le\n"
         "dossier du calculateur, le démarre (run.sh), attend ses résultats (au plus\n"
         "DelaiCalculIndices secondes) et les enregistre (Diagnostic : écrit le dossier\n"
         "de ses documents) ; « integrer » enregistre un fichier de résultats pour la\n"
         "station CODE. Les lignes écartées sont citées.\n"
         "« ibgn » calcule l'opération par le modèle IBGN.XLS (ou IBG_DCE.XLS) du réglage\n"
         "CheminModeles, sur une copie, avec LibreOffice, et enregistre ses résultats ; une\n"
         "valeur déjà enregistrée et différente est gardée.\n"
         "« hype » envoie les analyses de la station (des paramètres de la sélection) et ses\n"
         "niveaux d'eau au calculateur Hype et écrit le dossier de ses rapports.\n\n"
         "Code de sortie : 0 succès, 1 erreur, 2 erreur d'usage."),
     vyk::cli::executer})
