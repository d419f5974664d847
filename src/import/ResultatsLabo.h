#pragma once

// Laboratory result messages ("EDILABO"): the results brought into the import table, and the
// request code of the message.

#include "import/GrilleImport.h"

#include <QString>

namespace vyk {

class ElementsIgnores;
class Progression;

// Fills `grille` from the message at `chemin`: one row per Analyse and per field measurement
// (MesureEnvironnementale), with the values of its sample and sample part; column 4 holds the
// request code (CdDemandePrestataire) of the row's own Demande. The elements carrying a value
// that no column takes are counted in `ignores` when given, and written to the journal. "" when
// read; otherwise the error text, and the table is left empty (also after a cancel, which gives
// "").
QString chargerResultatsLabo(const QString &chemin, GrilleImport &grille,
                             Progression *progression = nullptr,
                             ElementsIgnores *ignores = nullptr);

// The text of the message's first CdDemandePrestataire ("" when none or unreadable).
QString lireCodeDemande(const QString &chemin, Progression *progression = nullptr);

namespace texteImportLabo {
inline const QString CODE_DEMANDE = QStringLiteral("Recupération du code demande");
} // namespace texteImportLabo

} // namespace vyk
