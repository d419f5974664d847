#include "import/AnalysesNommees.h"

#include "db/BaseDonnees.h"
#include "db/Progression.h"
#include "import/ChargementTexte.h"
#include "import/ColonnesNommees.h"
#include "import/LectureSandre.h"

#include <QDate>
#include <QFile>
#include <QRegularExpression>

namespace vyk {

namespace {

using C = ColonneImport;

// The sampling time has no column of its own in the import table: it joins the date.
constexpr int HEURE_PRELEVEMENT = NB_COLONNES_IMPORT;
// The import table has no station name: the file's name column fills the empty names.
constexpr int NOM_STATION = NB_COLONNES_IMPORT + 1;

// Names each import column is known by, after the import table's own name. Sources: the field
// names of the public surface-water physico-chemistry API of the national water data service
// (analyses endpoint, CSV output), the column names of the national surface-water quality
// portal's downloads, and the national data dictionary's element names (Cd..., Rs..., Lq...).
// clang-format off
const QVector<NomsColonne> &nomsAnalysesInternes()
{
    static const QVector<NomsColonne> noms = [] {
        const QVector<QPair<C, QStringList>> autres = {
            {C::CodeStation, {"code_station", "CdStationMesureEauxSurface", "code station mesure",
                              "CdStationMesure", "Code de la station", "station"}},
            {C::TypeQualito, {"type_station"}},
            {C::DatePrelvt, {"date_prelevement", "DatePrel", "Date du prélèvement",
                             "date_debut_prelevement", "DateDebutPrel"}},
            {C::NumeroAnalyse, {"numero_analyse", "RefAnaLabo", "reference_analyse_labo"}},
            {C::CodeProducteur, {"code_producteur", "CdProducteur", "producteur"}},
            {C::CodeParam, {"code_parametre", "CdParametre", "Code du paramètre", "parametre"}},
            {C::Resultat, {"resultat", "RsAna", "resultat_analyse", "Résultat de l'analyse"}},
            {C::CodeUnite, {"code_unite", "CdUniteMesure", "code_unite_mesure", "Code de l'unité",
                            "unite"}},
            {C::RemarqueAnalyse, {"code_remarque", "CdRqAna", "Code remarque de l'analyse",
                                  "remarque"}},
            {C::CodeLabo, {"code_laboratoire", "CdLaboratoire", "laboratoire"}},
            {C::DateAnalyse, {"date_analyse", "DateAna"}},
            {C::LieuAnalyse, {"code_insitu", "CdInsituAna", "code_lieu_analyse"}},
            {C::Difficulte, {"code_difficulte", "CdDifficulteAna"}},
            {C::Qualification, {"code_qualification", "CdQualAna"}},
            {C::CodeMethode, {"code_methode", "code_methode_analyse", "CdMethode"}},
            {C::CodeFraction, {"code_fraction", "CdFractionAnalysee", "code_fraction_analysee",
                               "fraction"}},
            {C::CodeSupport, {"code_support", "CdSupport", "support"}},
            {C::StatutMesure, {"code_statut", "CdStatutAna", "statut"}},
            {C::CommentAnalyse, {"commentaires_analyse", "commentaire_analyse", "CommentairesAna",
                                 "commentaire"}},
            {C::CommentResult, {"commentaires_resultat", "commentaire_resultat", "ComResultatAna",
                                "comment_resultat_analyse"}},
            {C::CodeProducteurEch, {"code_preleveur", "CdPreleveur", "preleveur"}},
            {C::CodeMethFr, {"code_methode_fractionnement", "CdMetFractionnement"}},
            {C::ProfDeb, {"profondeur", "profondeur_prelevement", "ProfondeurPrel"}},
            {C::LimiteQuantification, {"limite_quantification", "LqAna"}},
            {C::LimiteDetection, {"limite_detection", "LdAna"}},
            {C::SeuilSaturation, {"limite_saturation", "LsAna"}},
            {C::AccreditationResultat, {"code_accreditation", "CdAccreAna", "accreditation"}},
            {C::IncertitudeAnalytique, {"incertitude_analytique", "IncertAna"}},
            {C::CodeMethExtraction, {"code_methode_extraction", "CdMethodeExtraction"}},
            {C::RendementExtraction, {"rendement_extraction", "rdt_extraction", "RdtExtraction"}},
            {C::LocalisationPrecise, {"localisation_precise"}},
            {C::CommentaireOperation, {"commentaire_operation", "commentaires_operation"}},
        };
        QVector<NomsColonne> n;
        for (int c = 0; c < NB_COLONNES_IMPORT; ++c)
            n.append({c, {nomsColonnesImport().at(c)}});
        for (const auto &[c, a] : autres)
            n[int(c)].noms += a;
        n.append({HEURE_PRELEVEMENT, {"heure_prelevement", "HeurePrel", "Heure du prélèvement"}});
        return n;
    }();
    return noms;
}
// clang-format on

// The national files' columns: the analyses' and the station name (the regional archives name
// their stations in their own station files).
const QVector<NomsColonne> &nomsFichierNational()
{
    static const QVector<NomsColonne> noms =
        nomsAnalysesInternes() +
        QVector<NomsColonne>{{NOM_STATION,
                              {"libelle_station", "LbStationMesureEauxSurface", "nom_station",
                               "Libellé de la station"}}};
    return noms;
}

// Columns a line cannot do without, and how the refusal names them.
constexpr std::pair<C, const char *> REQUISES[] = {{C::CodeStation, "code station"},
                                                   {C::DatePrelvt, "date de prélèvement"},
                                                   {C::CodeParam, "code paramètre"}};

// The organisation codes of these files are national codes, not SIRET numbers, unless the file
// says otherwise in the import table's own scheme columns.
constexpr std::pair<C, C> CODES_ORIGINES[] = {{C::CodeProducteur, C::OrigineInterv},
                                              {C::CodeLabo, C::OrigineLabo},
                                              {C::CodeProducteurEch, C::OrigineProducteurEch}};

} // namespace

void remplirLigneNommee(const ColonnesNommees &colonnes, const QStringList &champs,
                        QStringList &ligne, int annee)
{
    for (int c = 0; c < NB_COLONNES_IMPORT; ++c)
        ligne[c] = colonnes.valeur(champs, c);
    QString &date = ligne[int(C::DatePrelvt)];
    date = dateSiecle(date, annee);
    const QString heure = colonnes.valeur(champs, HEURE_PRELEVEMENT);
    if (!heure.isEmpty() && !date.isEmpty() && !date.contains(u':')) date += u' ' + heure;
    ligne[int(C::DateAnalyse)] = dateSiecle(ligne[int(C::DateAnalyse)], annee);
    for (const auto &[code, origine] : CODES_ORIGINES)
        if (!ligne[int(code)].isEmpty() && !colonnes.presente(int(origine)))
            ligne[int(origine)] = QStringLiteral("SANDRE");
}

const QVector<NomsColonne> &nomsAnalysesNommees()
{
    return nomsAnalysesInternes();
}

QString dateSiecle(const QString &date, int anneeCourante)
{
    static const QRegularExpression court(
        QStringLiteral("^(\\d{1,2})([/.-])(\\d{1,2})\\2(\\d{2})(?!\\d)"));
    const QRegularExpressionMatch m = court.match(date);
    if (!m.hasMatch()) return date;
    const int aa = m.captured(4).toInt();
    const int siecle = aa <= anneeCourante % 100 ? anneeCourante / 100 : anneeCourante / 100 - 1;
    return date.left(m.capturedStart(4)) +
           QString::number(siecle * 100 + aa).rightJustified(4, u'0') + date.mid(m.capturedEnd(4));
}

QString chargerAnalysesNommees(const QByteArray &octets, GrilleImport &grille,
                               ChargementNomme &chargement, Progression &progression,
                               ElementsIgnores *ignores)
{
    grille.vider();
    grille.colonnes = nomsColonnesImport();
    chargement = {};
    TableNommee table;
    if (QString e = lireTableNommee(octets, table); !e.isEmpty()) return e;
    const ColonnesNommees colonnes(table.entete, nomsFichierNational());
    for (const auto &[c, nom] : REQUISES)
        if (!colonnes.presente(int(c)))
            return texteColonnesNommees::colonneAbsente(QString::fromUtf8(nom));
    if (table.lignes.size() >= LIGNES_IMPORT_MAX) return texteChargement::TROP_DE_LIGNES;
    const int annee = QDate::currentDate().year();
    for (const EnregistrementCsv &e : std::as_const(table.lignes)) {
        if (progression.annule()) {
            grille.vider();
            return texteChargement::ANNULE;
        }
        remplirLigneNommee(colonnes, e.champs,
                           grille.ajouterLigne(QStringLiteral("ligne ") + QString::number(e.ligne)),
                           annee);
        const QString code = colonnes.valeur(e.champs, int(C::CodeStation));
        const QString nom = colonnes.valeur(e.champs, NOM_STATION);
        if (!code.isEmpty() && !nom.isEmpty() && !chargement.nomsStations.contains(code))
            chargement.nomsStations.insert(code, nom);
        if (grille.nombreLignes() % 100 == 0)
            progression.message(QStringLiteral("Chargement ligne ") +
                                QString::number(grille.nombreLignes()));
    }
    chargement.lignesEnErreur = table.erreurs;
    if (ignores) colonnes.signalerNonReprises(table.lignes, *ignores);
    return {};
}

QString chargerFichierAnalysesNommees(const QString &chemin, GrilleImport &grille,
                                      ChargementNomme &chargement, Progression &progression,
                                      ElementsIgnores *ignores)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly)) {
        grille.vider();
        return texteChargement::illisible(chemin);
    }
    return chargerAnalysesNommees(fichier.readAll(), grille, chargement, progression, ignores);
}

void ajouterLignesRefusees(BilanAnalyses &bilan, const QVector<LigneEnErreur> &refusees)
{
    if (refusees.isEmpty()) return;
    // The integration's own failure (not one of its rows) stays in the report.
    const bool erreurDeLigne = !bilan.lignesEnErreur.isEmpty() &&
                               bilan.erreur.startsWith(bilan.lignesEnErreur.first().raison);
    const QString propre = erreurDeLigne ? QString() : bilan.erreur;
    bilan.lignesEnErreur = refusees + bilan.lignesEnErreur;
    bilan.lignesLues += int(refusees.size());
    bilan.erreur = texteColonnesNommees::ligneRefusee(refusees.first());
    if (bilan.lignesEnErreur.size() > 1)
        bilan.erreur += QStringLiteral(" (et %1 autre(s) ligne(s) en erreur)")
                            .arg(bilan.lignesEnErreur.size() - 1);
    if (!propre.isEmpty()) bilan.erreur += u'\n' + propre;
}

QString nommerStations(const QHash<QString, QString> &noms)
{
    // A name the user keeps in the station card is never replaced by the file's.
    InstructionPreparee maj = bd().preparer(QStringLiteral(
        "UPDATE QUALITOMETRES SET Nom=? WHERE CodeBSS=? AND (Nom IS NULL OR Nom='')"));
    for (auto i = noms.constBegin(); i != noms.constEnd(); ++i)
        if (!maj.executer({i.value().left(70), i.key()}))
            return QStringLiteral("Nom de la station ") + i.key() + QStringLiteral(" : ") +
                   maj.erreur();
    return {};
}

QString integrerAnalysesNommees(const QString &chemin, OptionsIntegration &options,
                                Progression &progression, const ReponsesIntegration &reponses,
                                BilanAnalyses &bilan, ElementsIgnores &ignores)
{
    GrilleImport grille;
    ChargementNomme chargement;
    const QString erreur =
        chargerFichierAnalysesNommees(chemin, grille, chargement, progression, &ignores);
    if (!erreur.isEmpty()) return erreur;
    if (options.remplacer && !chargement.lignesEnErreur.isEmpty()) {
        bilan.lignesEnErreur = chargement.lignesEnErreur;
        return texteColonnesNommees::ligneRefusee(chargement.lignesEnErreur.first());
    }
    bilan = integrerAnalyses(grille, options, progression, reponses);
    ajouterLignesRefusees(bilan, chargement.lignesEnErreur);
    if (const QString e = nommerStations(chargement.nomsStations); !e.isEmpty())
        bilan.erreur += (bilan.erreur.isEmpty() ? QString() : QStringLiteral("\n")) + e;
    return bilan.erreur;
}

} // namespace vyk
