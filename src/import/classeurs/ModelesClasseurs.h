#pragma once

// The import models that read workbooks: their preview and their integration, each workbook
// read whole before anything is written.

#include "import/ApercuImport.h"
#include "import/IntegrationAnalyses.h"
#include "import/classeurs/LectureClasseur.h"

namespace vyk {

class ElementsIgnores;
class Progression;

// True for the models read from a workbook by this unit.
bool estModeleClasseur(const QString &modele);

// The workbook's rows as the screen previews them.
ApercuImport apercuClasseur(const QString &modele, const QString &chemin, Progression &progression,
                            const ChoixFeuille &choisir);

// Reads and integrates the workbook; "" or the error text. A workbook or sheet that cannot be
// had writes nothing; the rows of one workbook are one transaction (undone when the run stops).
QString integrerClasseur(const QString &modele, const QString &chemin, OptionsIntegration &options,
                         Progression &progression, const ReponsesIntegration &reponses,
                         BilanAnalyses &bilan, ElementsIgnores &ignores);

} // namespace vyk
