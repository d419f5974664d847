#pragma once

// What the regional archives share (OSUR web extracts, Adour-Garonne archives): a set of
// separated text files (or the sheets of a workbook) told apart by their names, each read by
// its header's column names, then station by station through the import records and their
// writer. Each format says how its files are named and in which order it extracts them.
//
// Columns are found by name without regard to case, accents, blanks and underscores; the names
// each column is known by are in the table of ImportParFichiers.cpp (README, "Regional
// archives"). What no column takes is reported with its count of values.

#include "import/ColonnesNommees.h"
#include "import/EcritureObjets.h"
#include "import/LectureSandre.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace vyk {

class Progression;
class ResolutionIntervenants;

// The kinds of file of the regional archives.
enum class FichierRegional
{
    Reseau,        // network memberships of stations
    Station,       // stations (water points)
    Site,          // sampling points
    ConditionsBio, // hydrobiological operations and their environment measures
    ConditionsPc,  // physico-chemical operations and their field measures
    HydroBio,      // counted taxa and operation results
    Analyses,      // physico-chemical analyses
    Etats          // quality states of stations
};

// The progress texts of the run are those of every class-based road (texteSandre1997).
namespace texteRegional {
inline const QString SANS_STATIONS = QStringLiteral(
    "Impossible de récupérer le fichier contenant la description des stations dans le fichier "
    "ZIP.");
} // namespace texteRegional

// One file (or sheet) read, its columns found, its rows by station code.
struct TableRegionale
{
    QString nom;
    FichierRegional type = FichierRegional::Station;
    TableNommee table;
    std::optional<ColonnesNommees> colonnes;
    QHash<QString, QVector<int>> lignesParStation;
};

class ImportParFichiers
{
  public:
    ImportParFichiers(EcritureObjets &ecriture, Progression &progression);
    virtual ~ImportParFichiers() = default;
    ImportParFichiers(const ImportParFichiers &) = delete;
    ImportParFichiers &operator=(const ImportParFichiers &) = delete;

    // An archive unpacked into the working folder (the format's leftovers removed first), or a
    // folder holding the files. "" or why not (ZIP error, no station file, unreadable file).
    QString init(const QString &chemin, const QString &dossierTravail);
    // Files already read (a workbook's sheets): (name, table).
    QString init(const QVector<QPair<QString, TableNommee>> &tables);
    // The distinct station codes of every file, in the order met.
    const QStringList &getTabSites() const { return m_sites; }

    // The format's extractions of one station, in its order. False when one of its rows was
    // refused (erreurs() says which and why); the others are written.
    virtual bool extraireStation(const QString &station) = 0;
    // Extractions that need the samples linked to their operations (after every station).
    virtual bool extraireApresPrelevements(const QString &) { return true; }
    EcritureObjets &ecriture() { return m_ecriture; }
    // The organisations of the operations (sampler, determiner, producer: national codes) are
    // resolved through it; without one their columns are not read.
    void resoudreIntervenantsPar(ResolutionIntervenants *r) { m_intervenants = r; }
    // The user refused to create a missing organisation: the run stops.
    bool arret() const { return m_arret; }

    // The analyses gathered by the extractions, integrated at the end of the run.
    BilanAnalyses ecrireAnalyses(OptionsIntegration options, Progression &progression,
                                 const ReponsesIntegration &reponses);

    // "fichier, ligne N : why", in the order met.
    const QStringList &erreurs() const { return m_erreurs; }
    const QVector<LigneEnErreur> &lignesEnErreur() const { return m_lignesEnErreur; }
    // Columns read but taken by no column of ours, by file.
    const ElementsIgnores &ignores() const { return m_ignores; }

  protected:
    // The kind of a file from its name; none for a file the format does not read.
    virtual std::optional<FichierRegional> typeDe(const QString &nom) const = 0;
    // Whether the file is the station file the archive must hold.
    virtual bool estFichierStations(const QString &nom) const = 0;
    // Files of the working folder left by a previous run ("*.txt").
    virtual QStringList masquesTravail() const = 0;

    // The extractions, each over the station's rows of the files of its kind.
    bool extractReseau(const QString &station);
    bool extractPointEauQualite(const QString &station);
    bool extractPointEau(const QString &station);
    bool extractConditions(const QString &station, FichierRegional type);
    bool extractHydroBio(const QString &station);
    bool extractAnalyse(const QString &station, FichierRegional type = FichierRegional::Analyses);
    bool extractEtats(const QString &station);

    EcritureObjets &m_ecriture;
    Progression &m_progression;

  private:
    struct Ligne;
    QString ajouterTable(const QString &nom, FichierRegional type, TableNommee table);
    // Every row of the station in the files of that kind.
    template <typename F> bool parcourir(const QString &station, FichierRegional type, F &&f);
    bool refuser(const Ligne &l, const QString &raison);
    bool intervenant(const Ligne &l, int champ, EntierLu &code, QString &raison);
    // The parameter of a hydrobiological operation's conditions row: an environment measure.
    bool ecrireMesureEnvironnement(const Ligne &l, const CleOperation &cle, QString &raison);
    void ajouterMesureTerrain(const Ligne &l, const QString &station);

    QVector<TableRegionale> m_tables;
    QStringList m_sites;
    QStringList m_erreurs;
    QVector<LigneEnErreur> m_lignesEnErreur;
    ElementsIgnores m_ignores;
    GrilleImport m_analyses;
    ResolutionIntervenants *m_intervenants = nullptr;
    bool m_arret = false;
};

// The whole road on one archive, folder or set of sheets already given to `import.init`: per
// station (one transaction each) the extractions in their order, then the analyses, the samples
// attached to operations. In replace mode the first refused row undoes its station and stops
// the run. The error text ("" when every row went in); counts into `bilan`, columns left aside
// into `ignores`.
QString integrerRegional(ImportParFichiers &import, OptionsIntegration &options,
                         Progression &progression, const ReponsesIntegration &reponses,
                         BilanAnalyses &bilan, ElementsIgnores &ignores);

// The working folder of a format: the setting "CheminExport" + the format's folder, or "" when
// the setting is unset (the caller then uses a temporary folder).
QString dossierTravailRegional(const QString &sousDossier);

} // namespace vyk
