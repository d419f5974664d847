#pragma once

namespace vyk {

class FenetrePrincipale;

// The "Cartographie" menu of the main window: the KML and web site export of the stations.
void creerMenuCartographie(FenetrePrincipale &fenetre);

} // namespace vyk
