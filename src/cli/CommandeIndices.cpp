// vyk-cli indices calculateurs|trame|lancer|integrer: the external index calculators as the
// operation screen drives them.

#include "cli/Cli.h"
#include "cli/ProgressionTerminal.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "indices/ExportIndice.h"

#include <QDir>

namespace vyk::cli {

namespace {

const QString USAGE = QStringLiteral(
    "Usage : vyk-cli [options de connexion] indices calculateurs | trame INDICE --station CODE "
    "--operation N --sortie DOSSIER | lancer INDICE --station CODE --operation N | integrer "
    "INDICE FICHIER --station CODE");

const DescriptionIndice *indiceNomme(const QString &nom)
{
    for (const DescriptionIndice *d : {&indiceI2M2(), &indiceIBGDCE()})
        if (nom.compare(d->calculateur, Qt::CaseInsensitive) == 0 ||
            nom.compare(QString(d->calculateur).remove(u'-'), Qt::CaseInsensitive) == 0)
            return d;
    return nullptr;
}

QString racine()
{
    const QString r = lireRegistre(reglage::CheminR, {}, true);
    return r.isEmpty() || r.endsWith(u'/') ? r : r + u'/';
}

int calculateurs(Contexte &ctx)
{
    for (const DescriptionIndice *d : {&indiceI2M2(), &indiceIBGDCE()}) {
        const QString dossier =
            racine().isEmpty() ? QString() : dossierCalculateur(racine(), d->calculateur);
        ctx.sortie << d->calculateur << " : "
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
    f.point = QStringLiteral("131");
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
    ExportIndice e(indice);
    if (!ecrireTrame(ctx, e, args, racine() + nom)) return ECHEC;
    ProgressionTerminal progression;
    const ExecutionCalcul fin = e.calculIndice(progression, delaiCalculateurs());
    if (fin.fin == FinCalcul::Annule) return ctx.echec(QStringLiteral("Calcul annulé."));
    if (fin.fin != FinCalcul::Resultats) return ctx.echec(fin.message);
    BilanResultats bilan;
    const bool ok = e.integrationResultats(bilan);
    return imprimerBilan(ctx, ok, bilan);
}

int executer(Contexte &ctx, const QStringList &arguments)
{
    const ArgumentsCommande args =
        lireArguments(arguments, {QStringLiteral("station"), QStringLiteral("operation"),
                                  QStringLiteral("sortie")});
    const QString action = args.positionnels.value(0);
    if (!args.erreur.isEmpty() || action.isEmpty())
        return ctx.usage(args.erreur.isEmpty() ? USAGE : args.erreur);
    if (action == QLatin1String("calculateurs")) return calculateurs(ctx);
    const DescriptionIndice *indice = indiceNomme(args.positionnels.value(1));
    const bool station = !args.options.value(QStringLiteral("station")).isEmpty();
    const bool operation = !args.options.value(QStringLiteral("operation")).isEmpty();
    if (!indice || !station) return ctx.usage(USAGE);
    if (!ctx.ouvrirBase()) return ECHEC;
    if (action == QLatin1String("trame") && operation && args.positionnels.size() == 2) {
        ExportIndice e(*indice);
        const QString dossier = args.options.value(QStringLiteral("sortie"));
        if (dossier.isEmpty() || !QDir().mkpath(dossier)) return ctx.usage(USAGE);
        if (!ecrireTrame(ctx, e, args, dossier)) return ECHEC;
        ctx.sortie << QDir::toNativeSeparators(e.repLocal() + ExportIndice::FICHIER_TRAME) << '\n';
        return SUCCES;
    }
    if (action == QLatin1String("lancer") && operation && args.positionnels.size() == 2)
        return lancer(ctx, *indice, args);
    if (action == QLatin1String("integrer") && args.positionnels.size() == 3) {
        if (!ctx.fichierLisible(args.positionnels[2])) return ECHEC;
        LectureResultats lecture;
        lecture.codeStation = args.options.value(QStringLiteral("station"));
        lecture.point = QStringLiteral("131");
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
     QStringLiteral("calcule l'I2M2 ou l'IBG-DCE par leurs calculateurs externes"),
     QStringLiteral(
         "Usage : vyk-cli [options de connexion] indices calculateurs\n"
         "       vyk-cli [options de connexion] indices trame INDICE --station CODE "
         "--operation N --sortie DOSSIER\n"
         "       vyk-cli [options de connexion] indices lancer INDICE --station CODE "
         "--operation N\n"
         "       vyk-cli [options de connexion] indices integrer INDICE FICHIER "
         "--station CODE\n\n"
         "INDICE : I2M2 ou IBG-DCE. « calculateurs » écrit le dossier retenu de chaque\n"
         "calculateur sous le réglage CheminR ; « trame » écrit entreeVYK.txt de\n"
         "l'opération dans DOSSIER ; « lancer » écrit la trame dans le dossier du\n"
         "calculateur, le démarre (run.sh), attend ses résultats (au plus\n"
         "DelaiCalculIndices secondes) et les enregistre ; « integrer » enregistre un\n"
         "fichier de résultats pour la station CODE. Les lignes écartées sont citées.\n\n"
         "Code de sortie : 0 succès, 1 erreur, 2 erreur d'usage."),
     vyk::cli::executer})
