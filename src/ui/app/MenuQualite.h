#pragma once

namespace vyk {

class FenetrePrincipale;

// The "Qualité" menu of the main window: the threshold sets, their import, the situation map.
void creerMenuQualite(FenetrePrincipale &fenetre);

} // namespace vyk
