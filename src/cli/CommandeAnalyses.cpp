// vyk-cli analyses --station CODE [--from DATE --to DATE]: a station's analyses as CSV.

#include "cli/Cli.h"

#include "app/Csv.h"
#include "db/BaseDonnees.h"
#include "db/Outils.h"
#include "db/Session.h"
#include "db/Sql.h"
#include "monitoring/ReglesAnalyses.h"
#include "schema/Catalogue.h"
#include "schema/TableAnalyses.h"
#include "users/AccesStations.h"

namespace vyk::cli {

namespace {

const QString USAGE = QStringLiteral("Usage : vyk-cli [options de connexion] analyses --station "
                                     "CODE [--from JJ/MM/AAAA] [--to JJ/MM/AAAA]");

const QStringList ENTETES = {
    QStringLiteral("NumPrelevement"),   QStringLiteral("DatePrelevement"),
    QStringLiteral("HeurePrelevement"), QStringLiteral("NumAnalyse"),
    QStringLiteral("CodeParametre"),    QStringLiteral("NomParametre"),
    QStringLiteral("Resultat"),         QStringLiteral("CodeRemarque"),
    QStringLiteral("ResultatAffiche"),  QStringLiteral("CodeUnite"),
    QStringLiteral("SymboleUnite"),     QStringLiteral("LimiteQuantification"),
    QStringLiteral("CodeFraction"),     QStringLiteral("CodeSupport"),
    QStringLiteral("StatutMesure"),     QStringLiteral("CodeQualification")};

QString date(const QVariant &v, const QString &format)
{
    return v.isNull() ? QString() : v.toDateTime().toString(format);
}

// The value of the analysis, or the one it inherits.
QString herite(const QVariant &propre, const QVariant &parent)
{
    return texteValeur(propre.isNull() || propre.toString().trimmed().isEmpty() ? parent : propre)
        .trimmed();
}

int executer(Contexte &ctx, const QStringList &arguments)
{
    const ArgumentsCommande args = lireArguments(
        arguments, {QStringLiteral("station"), QStringLiteral("from"), QStringLiteral("to")});
    if (!args.erreur.isEmpty() || !args.positionnels.isEmpty())
        return ctx.usage(args.erreur.isEmpty() ? USAGE : args.erreur);
    const QString station = args.options.value(QStringLiteral("station")).trimmed();
    if (station.isEmpty()) return ctx.usage(USAGE);
    QString bornes[2];
    const char *noms[2] = {"from", "to"};
    for (int i = 0; i < 2; ++i) {
        const QString texte = args.options.value(QString::fromLatin1(noms[i])).trimmed();
        if (texte.isEmpty()) continue;
        const QDate d = dateOption(texte).date();
        if (!d.isValid())
            return ctx.usage(QStringLiteral("Date incorrecte : « %1 » (attendu JJ/MM/AAAA).")
                                 .arg(extrait(texte)));
        bornes[i] = d.toString(QStringLiteral("dd/MM/yyyy"));
    }
    if (!ctx.ouvrirBase()) return ECHEC;

    StationCommande trouvee;
    if (!stationCommande(ctx, station, trouvee)) return ECHEC;
    const qint64 numero = trouvee.numero;
    const QString codeBSS = trouvee.codeBSS;
    QString raison;
    const QString table = tableAnalyses(codeBSS, &raison);
    if (table.isEmpty()) return ctx.echec(raison);

    ctx.sortie << ligneCsv(ENTETES) << '\n';
    if (!bd().tableExiste(PREFIXE_ANALYSES + codeBSS)) return SUCCES;
    const QString a = table + u'.';
    const QStringList colonnes = {
        a + QStringLiteral("NumPrelevement AS prelevement"),
        QStringLiteral("PRELEVEMENTS.DateDebut AS dateDebut"),
        QStringLiteral("PRELEVEMENTS.HeureDebut AS heureDebut"),
        a + QStringLiteral("NumAnalyse AS analyse"),
        a + QStringLiteral("CodeParametre AS parametre"),
        QStringLiteral("ANALYSES_PARAMETRES.Nom AS nomParametre"),
        a + QStringLiteral("Resultat AS resultat"),
        a + QStringLiteral("CodeRemarque AS remarque"),
        a + QStringLiteral("CodeUnite AS unite"),
        QStringLiteral("ANALYSES_UNITES.Symbole AS symbole"),
        a + QStringLiteral("LimiteQuantification AS limite"),
        a + QStringLiteral("CodeFraction AS fraction"),
        a + QStringLiteral("CodeSupport AS support"),
        QStringLiteral("PRELEVEMENTS.CodeSupportPrincipal AS supportPrelevement"),
        a + QStringLiteral("StatutMesure AS statut"),
        QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS.statut AS statutOperation"),
        a + QStringLiteral("CodeQualification AS qualification"),
        QStringLiteral("QUALITOMETRES_POINTS_OPERATIONS.qualification AS qualificationOperation")};
    QString sql =
        QStringLiteral("SELECT ") + colonnes.join(QStringLiteral(", ")) +
        QStringLiteral(" FROM ((") + jointureAnalyses(table) +
        QStringLiteral(") LEFT JOIN ANALYSES_PARAMETRES ON ANALYSES_PARAMETRES.Code=") + table +
        QStringLiteral(".CodeParametre) LEFT JOIN ANALYSES_UNITES ON ANALYSES_UNITES.Code=") +
        table + QStringLiteral(".CodeUnite WHERE ") + table +
        // The table of another station whose code differs only by case may be the same one.
        QStringLiteral(".codeQualitometre=") + QString::number(numero);
    if (!bornes[0].isEmpty())
        sql += QStringLiteral(" AND PRELEVEMENTS.DateDebut>=") + dateSQL(bornes[0]);
    if (!bornes[1].isEmpty())
        sql += QStringLiteral(" AND PRELEVEMENTS.DateDebut<=") +
               dateSQL(bornes[1] + FIN_DE_JOURNEE, true);
    sql += QStringLiteral(" ORDER BY PRELEVEMENTS.DateDebut, ") + table +
           QStringLiteral(".NumPrelevement, ") + table + QStringLiteral(".NumAnalyse");
    long nb = 0;
    Tableau t;
    if (!bd().ExtraireRecords(sql, nb, t))
        return ctx.echec(QStringLiteral("Les analyses n'ont pas pu être lues : ") +
                         bd().derniereErreur());
    for (int l = 0; l < t.nbLignes(); ++l) {
        auto v = [&](const char *c) -> const QVariant & { return t.valeur(l, QLatin1String(c)); };
        auto texte = [&](const char *c) { return t.texte(l, QLatin1String(c)); };
        const QStringList champs = {texteExport(v("prelevement")),
                                    date(v("dateDebut"), QStringLiteral("dd/MM/yyyy")),
                                    date(v("heureDebut"), QStringLiteral("hh:mm")),
                                    texteExport(v("analyse")),
                                    texte("parametre").trimmed(),
                                    texte("nomParametre"),
                                    texteExport(v("resultat")),
                                    texte("remarque").trimmed(),
                                    texteResultat(v("resultat"), v("remarque")),
                                    texte("unite").trimmed(),
                                    texte("symbole"),
                                    texteExport(v("limite")),
                                    texte("fraction").trimmed(),
                                    herite(v("support"), v("supportPrelevement")),
                                    herite(v("statut"), v("statutOperation")),
                                    herite(v("qualification"), v("qualificationOperation"))};
        ctx.sortie << ligneCsv(champs) << '\n';
    }
    return SUCCES;
}

} // namespace

} // namespace vyk::cli

VYK_CLI_COMMANDE(
    {QStringLiteral("analyses"), QStringLiteral("écrit les analyses d'un qualitomètre en CSV"),
     QStringLiteral(
         "Usage : vyk-cli [options de connexion] analyses --station CODE [--from JJ/MM/AAAA] [--to "
         "JJ/MM/AAAA]\n\n"
         "Écrit les analyses physico-chimiques du qualitomètre CODE (son code BSS, ou son "
         "numéro),\n"
         "triées par date de prélèvement, prélèvement et analyse : une ligne d'en-tête puis une\n"
         "ligne CSV par analyse, avec le nom du paramètre et le symbole de l'unité.\n"
         "ResultatAffiche porte « < » ou « > » selon le code remarque ; le support, le statut et "
         "la\n"
         "qualification absents de l'analyse sont ceux du prélèvement et de son opération.\n"
         "--from DATE   seulement les prélèvements de cette date ou plus récents\n"
         "--to DATE     seulement les prélèvements de cette date ou plus anciens\n\n"
         "--login LOGIN sur les options de connexion : seulement un qualitomètre que cet\n"
         "              utilisateur voit.\n\n"
         "Code de sortie : 0 succès, 1 erreur (base, qualitomètre inconnu ou refusé), 2 erreur "
         "d'usage."),
     vyk::cli::executer})
