#pragma once

// The national open-data extracts of surface-water physico-chemistry: one analysis per line,
// columns named after the national data elements (station code, sampling date, parameter code,
// result, unit code, remark code, fraction, laboratory ...), in any order and spelling. They
// are brought into the 42-column import table and integrated like every analysis file.

#include "import/GrilleImport.h"
#include "import/IntegrationAnalyses.h"

#include <QHash>
#include <QString>
#include <QVector>

namespace vyk {

class ColonnesNommees;
class ElementsIgnores;
struct NomsColonne;
class Progression;

struct ChargementNomme
{
    // Lines whose field count is not the header's: "ligne N : ..."; they are not in the table.
    QVector<LigneEnErreur> lignesEnErreur;
    // Station code -> the first name the file gives it.
    QHash<QString, QString> nomsStations;
};

// Loads the file into the table (origins "ligne N" of the file). The station code, the sampling
// date and the parameter code are required; a missing one refuses the file with
// "Le fichier n'a pas de colonne « ... ».". The sampling time, when a column gives it, joins the
// date; a two-digit year pivots on the current year. Columns no import column takes are counted
// in `ignores`. Returns "" or the error text; on error the table is emptied. The 250 000-row
// limit of every loader holds.
QString chargerAnalysesNommees(const QByteArray &octets, GrilleImport &grille,
                               ChargementNomme &chargement, Progression &progression,
                               ElementsIgnores *ignores = nullptr);
QString chargerFichierAnalysesNommees(const QString &chemin, GrilleImport &grille,
                                      ChargementNomme &chargement, Progression &progression,
                                      ElementsIgnores *ignores = nullptr);

// Names the stations whose stored name is empty ("" or why a name could not be written).
QString nommerStations(const QHash<QString, QString> &noms);
// The names each import column is known by (the 42 import columns, then the sampling time).
const QVector<NomsColonne> &nomsAnalysesNommees();
// A record of such a file into a row of the import table (42 fields), the time joined to the
// date, the year's century given, the organisation codes' scheme set when the file has none.
void remplirLigneNommee(const ColonnesNommees &colonnes, const QStringList &champs,
                        QStringList &ligne, int anneeCourante);

// A date as the integration reads it: "DD/MM/YY" gets its century (20 when the two digits are
// not after the current year, 19 otherwise); other texts are left as they are.
QString dateSiecle(const QString &date, int anneeCourante);

// The lines refused by the loader added to an integration's report, first.
void ajouterLignesRefusees(BilanAnalyses &bilan, const QVector<LigneEnErreur> &refusees);

// Loads the file and integrates its rows; the lines the loader refused join the report. In
// replace mode, where a run stops at its first bad row, a refused line refuses the whole file
// before anything is written. Returns "" or the file's error text.
QString integrerAnalysesNommees(const QString &chemin, OptionsIntegration &options,
                                Progression &progression, const ReponsesIntegration &reponses,
                                BilanAnalyses &bilan, ElementsIgnores &ignores);

} // namespace vyk
