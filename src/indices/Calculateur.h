#pragma once

// The external index calculators: a folder under the calculators' root holding a start script
// ("run.sh") and a "script" subfolder where the calculator leaves its results or its error log.
// The program starts the script as a process group of its own, polls for the output files once a
// second, and never leaves a process behind.

#include "db/Progression.h"

#include <QString>
#include <QStringList>

#include <array>

namespace vyk {

// Folder of calculator `nom` under `racine` (ending with a separator), "" when none. Folders
// named nom + "_a.b.c" compete by version, the three numbers compared as a tuple (first listed
// kept on a tie); a plain folder `nom` serves only when no versioned one exists.
QString dossierCalculateur(const QString &racine, const QString &nom);

// Version of a folder name "NOM_a.b.c[...]" as a comparable key; false when it has none.
bool versionDossier(const QString &nomDossier, std::array<long long, 3> &version);

// What a calculator leaves: its results files (patterns in "script") and its error logs.
struct SortiesCalculateur
{
    QStringList resultats;                               // e.g. "resultats_I2M2_*.csv"
    QStringList erreurs = {QStringLiteral("*.Rout")};    // in "script" or a sub-folder
    QStringList entrees = {QStringLiteral("entree*.*")}; // frames, in the folder itself
};

// Removes the outputs of an earlier run (and its frames) so that none is taken for a new one.
// False, with the files that could not be removed in `erreur`, when one stays.
bool nettoyerCalculateur(const QString &dossier, const SortiesCalculateur &sorties,
                         QString &erreur);

// Files of "script" matching the patterns (a pattern may start with a sub-folder of "script",
// "scriptsR/*.Rout"), relative to "script", sorted by name.
QStringList fichiersScript(const QString &dossier, const QStringList &motifs);

enum class FinCalcul
{
    Resultats,          // a results file appeared
    JournalErreur,      // an error log appeared without results
    SortieSansResultat, // the process ended without leaving anything
    DelaiDepasse,
    Annule,
    ScriptAbsent,
    DejaEnCours, // another run holds the folder's lock
    EchecDemarrage,
};

struct ExecutionCalcul
{
    FinCalcul fin = FinCalcul::EchecDemarrage;
    QString message; // for the user, "" on results
};

// Name of the start script and of the log that receives its output, in "script".
inline const QString SCRIPT_DEMARRAGE = QStringLiteral("run.sh");
inline const QString JOURNAL_EXECUTION = QStringLiteral("execution.log");

// Starts the calculator of `dossier` and waits for `sorties` at most `delaiSecondes` seconds
// (0: no limit), asking `progression` once a second whether the user cancelled. `libelle` names
// the index in the messages ("l'I2M2").
ExecutionCalcul lancerCalculateur(const QString &dossier, const SortiesCalculateur &sorties,
                                  const QString &libelle, int delaiSecondes,
                                  Progression &progression);

// Message of a missing start script: the Windows script where the site keeps Windows folders.
QString messageScriptAbsent(const QString &dossier);

// Time limit of a run, from the settings (seconds, 0 for none); 3600 when not set.
int delaiCalculateurs();

} // namespace vyk
