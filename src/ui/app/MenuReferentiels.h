#pragma once

namespace vyk {

class FenetrePrincipale;

// The "Référentiels" menu of the main window: the code lists and the import of national
// nomenclatures (the analysis referentials and taxa join it with their screens).
void creerMenuReferentiels(FenetrePrincipale &fenetre);

} // namespace vyk
