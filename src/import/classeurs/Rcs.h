#pragma once

// The surveillance-network workbook: the sheet 'Contrôle surveillance - RCS', a block of labelled
// cells describing the station and the sampling, then a table whose header cells "SANDRE",
// "PARAMETRE" and "COMMENTAIRE" head the parameter codes, their values and their comments.
//
// Layout read (rows and columns from 1):
// - above the table, label in column A and value in column B, labels compared without case or
//   accents: "Code station" (the station's code, required), "Station" (its name), "Cours d'eau",
//   "Date" (required), "accréditation", "agrément";
// - any cell of that block holding "INVERT" makes the workbook an invertebrate one: every result
//   goes to the invertebrate point "131" with the RCS protocol 598, or 726 when a cell also holds
//   "CE PROFOND" (deep river). Otherwise each result goes to the point of its parameter's default
//   support (support code followed by "1": "101" diatoms, "131" invertebrates...);
// - the table: one row per parameter, its SANDRE code under "SANDRE", its value under
//   "PARAMETRE" (or "paramètre"), its comment under "COMMENTAIRE"; rows without a code are left
//   out. Comments go to the operation's comments as "code : comment";
// - "Ouverture du site" in the block: the openness of the site ("OUVERT", "SEMI-OUVERT",
//   "FERMÉ") on every operation;
// - the environmental parameters (1725 hydrological situation, 1425 weather, 5473 visibility of
//   the bottom, 6498 turbidity, 6499 periphyton) are conditions of the visit, not results: they
//   go to the environmental conditions of every operation the workbook writes. Each operation's
//   conditions are replaced by the workbook's.

#include "import/classeurs/EcritureHydrobio.h"
#include "import/classeurs/LectureClasseur.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

class ElementsIgnores;
class EcritureObjets;
class Progression;
struct BilanAnalyses;

namespace texteRcs {
inline const QString FEUILLE = QStringLiteral("Contrôle surveillance - RCS");
inline const QString INTEGRATION = QStringLiteral("Intégration RCS");
inline const QString SUPPORT_INCONNU = QStringLiteral("Inconnu");
} // namespace texteRcs

struct MesureRcs
{
    int ligne = 0; // row of the sheet
    QString code, valeur, commentaire;
};

struct ClasseurRcs
{
    StationClasseur station;
    QString date, accreditation, agrement;
    EntierLu ouverture;
    bool invertebres = false, profond = false;
    QVector<MesureRcs> mesures;
};

// Reads the RCS sheet (or the one the user chooses when it is absent); "" or the error text
// (the RCS missing-sheet message, a sheet without the table's header, an unknown openness).
QString lireRcs(const Classeur &classeur, const ChoixFeuille &choisir, ClasseurRcs &rcs);

// The preview: one row per parameter.
const QStringList &colonnesApercuRcs();
QVector<QStringList> lignesApercu(const ClasseurRcs &rcs);

// The label of the parameter's default support, "Inconnu" when it has none.
QString supportParametre(const QString &code, int *support = nullptr);

// Writes each parameter's result on the station's operation of the date at its point; a row that
// fails is counted in the summary (with `arret` the run stops there: false). The parameters
// written, 1022 and 5856 are then made active.
bool integrerRcs(const ClasseurRcs &rcs, EcritureObjets &ecriture, Progression &progression,
                 bool arret, BilanAnalyses &bilan);

} // namespace vyk
