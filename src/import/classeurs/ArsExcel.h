#pragma once

// The health-authority extract: the sheet "Feuil1", one analysis per row, brought into the
// import table and then integrated as any analysis file.

#include "import/GrilleImport.h"
#include "import/classeurs/LectureClasseur.h"

namespace vyk {

class ElementsIgnores;
class Progression;

inline const QString FEUILLE_ARS = QStringLiteral("Feuil1");

// The rows of the sheet. Row 1 names the columns: each name is one of the 42 columns of the
// import table (compared by cleColonne), and a column of another name is left aside and counted in
// `ignores`. When no name of row 1 is one of them, the columns are taken in the table's order.
// Empty rows are passed over. "" or the error text (table emptied).
QString chargerArsExcel(const Feuille &feuille, GrilleImport &grille, Progression &progression,
                        ElementsIgnores *ignores);

} // namespace vyk
