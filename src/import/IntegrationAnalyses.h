#pragma once

// Integration of the import table: stations matched or created, sampling points, operations,
// samples, sample parts and analyses found or created, referential rows and organisations
// resolved, then the closing updates of samples and operations.

#include "db/Messages.h"
#include "import/GrilleImport.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>

namespace vyk {

class Progression;

// Where a row of the table went (its analysis may still wait for the end of its station).
struct LigneIntegree
{
    int ligne = 0; // in the table, from 0
    qint64 station = -1;
    QString codeBSS;
    qint64 point = -1;
    qint64 operation = -1;
    qint64 prelevement = -1;
    QVariant echantillon; // null when the row names no sample part
    qint64 analyse = -1;
};

struct OptionsIntegration
{
    // Each station's measurement data purged before its first row; the purge and the station's
    // rows are one transaction, undone when the run stops or is cancelled.
    bool remplacer = false;
    // Stop at the first row in error (replace mode); otherwise bad rows are skipped.
    bool arretPremiereErreur = false;
    // Request code given to every sample ("" for none).
    QString codeDemande;
    // Laboratory messages: column 4 holds each row's own request code (the code above is then
    // the fallback), not a laboratory number.
    bool demandeParLigne = false;
    // Missing organisations created without asking; set by the run when the user says Yes to all.
    bool creerIntervenants = false;
    // Missing parameters and units created.
    bool creerReferentiels = true;
    // Check without writing: the whole integration runs in a transaction undone at the end.
    bool controle = false;
    // Job execution written on every operation touched (-1: none).
    qint64 execution = -1;
    // Sampling campaign given to the operations created (-1: none).
    qint64 campagne = -1;
    // Sampling point identifier of a support code; unset: "6" "061", "7" "071", "4" "041",
    // anything else "031".
    std::function<QString(const QString &support)> identifiantPoint;
    // Called after each row integrated: formats that carry more than the 42 columns write the
    // rest from there.
    std::function<void(const LigneIntegree &)> apresLigne;
};

// The user's answers, as functions (the core never shows a box). Unset: No.
struct ReponsesIntegration
{
    // "Voulez vous intégrer automatiquement tous les intervenants manquants ?"
    Confirmation creerTousIntervenants;
    // "Le code X n'a pas été trouvé. Voulez vous l'ajouter comme intervenant ?"
    Confirmation creerIntervenant;
    // "Sélectionnez le classeur à importer": a sheet among the workbook's ("" for none).
    std::function<QString(const QStringList &feuilles)> choisirFeuille;
    // "Le fichier X existe déjà ... Voulez-vous le remplacer ?" before a file the run produces
    // replaces another; none: the file is kept and the run stops.
    Confirmation remplacerFichier;
};

struct LigneEnErreur
{
    int ligne = 0;   // from 1, in the table
    QString origine; // where it came from in the file, "" when unknown
    QString raison;  // "Erreur ligne: codeBSS: ... - Date: ... - Paramètre: ... : why"
};

struct BilanAnalyses
{
    QString erreur;          // "" when every row went in
    bool interrompu = false; // cancelled or stopped
    int lignesLues = 0;
    int stations = 0; // stations met
    QStringList stationsCreees;
    int stationsPurgees = 0;
    int pointsCrees = 0;
    int operationsCreees = 0;
    int prelevementsCrees = 0;
    int echantillonsCrees = 0;
    int analysesAjoutees = 0;
    int analysesReecrites = 0;
    QStringList parametresCrees, unitesCrees;
    QStringList intervenantsCrees; // codes read, in the order created
    QStringList contactsCrees;     // persons of a package, by name, in the order created
    QVector<LigneEnErreur> lignesEnErreur;
    // "Les intervenants suivants ont été automatiquement créés:" and the list, when organisations
    // were created without the caller having allowed it beforehand; "" otherwise.
    QString messageIntervenants;

    bool statut() const { return erreur.isEmpty() && !interrompu && lignesEnErreur.isEmpty(); }
    int analysesEcrites() const { return analysesAjoutees + analysesReecrites; }
    // Adds another run's counts, lists and rows in error (several files of one import).
    void ajouter(const BilanAnalyses &autre);
    // "n ligne(s) lue(s), n station(s) dont n créée(s), …, n ligne(s) en erreur": the one line
    // the screen, the command line and the journal give of a run.
    QString resume() const;
    // What a check without writing would create, a line per kind ("Stations à créer : …").
    QStringList aCreer() const;
};

namespace texteIntegration {
inline const QString QUESTION_TOUS =
    QStringLiteral("Voulez vous intégrer automatiquement tous les intervenants manquants ?");
inline QString questionIntervenant(const QString &code)
{
    return QStringLiteral("Le code ") + code +
           QStringLiteral(" n'a pas été trouvé. Voulez vous l'ajouter comme intervenant ?");
}
inline const QString ARRET = QStringLiteral("L'intégration va être arretée.");
inline const QString INTERVENANTS_CREES =
    QStringLiteral("Les intervenants suivants ont été automatiquement créés:");
inline QString erreurLigne(const QString &station, const QString &date, const QString &parametre)
{
    return QStringLiteral("Erreur ligne: codeBSS: ") + station + QStringLiteral(" - Date: ") +
           date + QStringLiteral(" - Paramètre: ") + parametre;
}
inline const QString DATE = QStringLiteral("la date de prélèvement n'est pas une date");
inline const QString ANNULE = QStringLiteral("Intégration annulée par l'utilisateur.");
} // namespace texteIntegration

// Integrates the rows of the table. The options' creerIntervenants comes back true when the user
// said Yes to every missing organisation.
BilanAnalyses integrerAnalyses(const GrilleImport &grille, OptionsIntegration &options,
                               Progression &progression, const ReponsesIntegration &reponses = {});
// The same over rows made on demand.
BilanAnalyses integrerAnalyses(const LignesImport &lignes, OptionsIntegration &options,
                               Progression &progression, const ReponsesIntegration &reponses = {});

// A new station: code (first 17 characters), designation (first 6, or none), station type
// ("" for 1). The description and links of the groundwater station of the same code are copied
// when there is one. Its CodeQualitometre, -1 on failure. Call inside a transaction: the table
// is locked while its largest code is read. suite, for a run creating several stations in one
// transaction that keeps the lock: the next code and whether PIEZOMETRES exists, read once.
struct SuiteQualitometres
{
    qint64 suivant = -1;
    int piezometres = -1; // unknown yet
    bool liens = false;   // the last one took over a groundwater station's links
};
qint64 creerQualitometre(const QString &code, const QString &designation, const QString &type,
                         SuiteQualitometres *suite = nullptr);

} // namespace vyk
