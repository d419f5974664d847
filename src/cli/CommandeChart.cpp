// vyk-cli chart: the chart of a parameter's results at a station, written to an image or PDF
// file without a screen, so that charts can be produced in batch.

#include "cli/Cli.h"

#include "ui/quality/Graphique.h"

#include <QChart>

#include <memory>

namespace vyk::cli {

namespace {

const QString USAGE_CHART = QStringLiteral(
    "Usage : vyk-cli [options de connexion] chart --station CODE --parameter P [--unit U] "
    "[--from JJ/MM/AAAA] [--to JJ/MM/AAAA] [--threshold-type N] [--half] [--width L] "
    "[--height H] --out FICHIER.png|.svg|.pdf");

// A date option: invalid QDate when absent, false when given but not a date.
bool lireDateOption(Contexte &ctx, const QString &texte, const QString &nom, QDate &date)
{
    if (texte.isEmpty()) return true;
    date = dateOption(texte).date();
    if (date.isValid()) return true;
    ctx.usage(QStringLiteral("Date incorrecte pour --%1 : « %2 » (JJ/MM/AAAA).")
                  .arg(nom, extrait(texte)));
    return false;
}

bool lireTaille(Contexte &ctx, const QString &texte, int defaut, int &valeur)
{
    if (texte.isEmpty()) {
        valeur = defaut;
        return true;
    }
    bool ok = false;
    valeur = texte.toInt(&ok);
    if (ok && valeur >= 50 && valeur <= 10000) return true;
    ctx.usage(QStringLiteral("Taille incorrecte : « %1 » (de 50 à 10000).").arg(extrait(texte)));
    return false;
}

int executer(Contexte &ctx, const QStringList &arguments)
{
    const QStringList noms = {
        QStringLiteral("station"), QStringLiteral("parameter"), QStringLiteral("unit"),
        QStringLiteral("from"),    QStringLiteral("to"),        QStringLiteral("threshold-type"),
        QStringLiteral("width"),   QStringLiteral("height"),    QStringLiteral("out")};
    const ArgumentsCommande args = lireArguments(arguments, noms, {QStringLiteral("half")});
    if (!args.erreur.isEmpty() || !args.positionnels.isEmpty())
        return ctx.usage(args.erreur.isEmpty() ? USAGE_CHART : args.erreur);
    auto option = [&](const char *nom) { return args.options.value(QLatin1String(nom)).trimmed(); };
    if (option("station").isEmpty() || option("parameter").isEmpty() || option("out").isEmpty())
        return ctx.usage(USAGE_CHART);
    CriteresGraphique criteres;
    criteres.unite = option("unit");
    criteres.trace = args.options.contains(QStringLiteral("half")) ? TraceCensure::DemiLimite
                                                                   : TraceCensure::Limite;
    int largeur = 0, hauteur = 0;
    if (!lireDateOption(ctx, option("from"), QStringLiteral("from"), criteres.debut) ||
        !lireDateOption(ctx, option("to"), QStringLiteral("to"), criteres.fin) ||
        !lireTaille(ctx, option("width"), 1200, largeur) ||
        !lireTaille(ctx, option("height"), 800, hauteur))
        return USAGE;
    const QString extension = option("out").section(u'.', -1).toLower();
    if (!QStringList{QStringLiteral("png"), QStringLiteral("svg"), QStringLiteral("pdf")}.contains(
            extension))
        return ctx.usage(QStringLiteral("Format de fichier inconnu : « %1 » (png, svg ou pdf).")
                             .arg(extrait(option("out"))));
    if (!ctx.ouvrirBase()) return ECHEC;
    StationCommande station;
    if (!stationCommande(ctx, option("station"), station)) return ECHEC;

    QString erreur;
    QVector<AxeGraphique> axes;
    if (!axesParametres({station.numero, station.codeBSS}, {option("parameter")}, criteres, axes,
                        &erreur))
        return ctx.echec(erreur);
    if (axes.isEmpty())
        return ctx.echec(QStringLiteral("Aucun résultat du paramètre %1 au qualitomètre %2 sur la "
                                        "période : aucun graphique n'a été écrit.")
                             .arg(option("parameter"), station.codeBSS));
    QVector<BandeSeuil> bandes;
    if (!option("threshold-type").isEmpty() &&
        !bandesSeuils(option("threshold-type"), option("parameter"), axes.first().unite, bandes,
                      &erreur))
        return ctx.echec(erreur);
    const SerieGraphique &s = axes.first().series.first();
    std::unique_ptr<QChart> graphique(
        construireGraphique(axes, bandes, criteres.trace,
                            station.codeBSS + QStringLiteral(" - ") +
                                (s.nomParametre.isEmpty() ? s.parametre : s.nomParametre)));
    if (!exporterGraphique(graphique.get(), option("out"), QSize(largeur, hauteur), &erreur))
        return ctx.echec(erreur);
    int points = 0;
    for (const AxeGraphique &a : axes)
        for (const SerieGraphique &serie : a.series)
            points += serie.points.size();
    ctx.sortie << QStringLiteral("%1 résultat(s) tracé(s) dans %2").arg(points).arg(option("out"))
               << '\n';
    return SUCCES;
}

} // namespace

} // namespace vyk::cli

VYK_CLI_COMMANDE(
    {QStringLiteral("chart"),
     QStringLiteral("trace les résultats d'un paramètre d'un qualitomètre dans un fichier"),
     QStringLiteral(
         "Usage : vyk-cli [options de connexion] chart --station CODE --parameter P [--unit U]\n"
         "        [--from JJ/MM/AAAA] [--to JJ/MM/AAAA] [--threshold-type N] [--half]\n"
         "        [--width L] [--height H] --out FICHIER.png|.svg|.pdf\n\n"
         "Trace les résultats du paramètre P au qualitomètre CODE (une courbe par unité, deux\n"
         "unités au plus) dans un fichier PNG, SVG ou PDF de L x H (1200 x 800 par défaut).\n"
         "Les résultats inférieurs à une limite (remarques 2 et 10) sont tracés à part, creux,\n"
         "à la limite, ou à la moitié de la limite avec --half. --threshold-type dessine les\n"
         "classes du seuil physico-chimique N en bandes colorées."),
     vyk::cli::executer})
