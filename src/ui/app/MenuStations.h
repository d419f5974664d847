#pragma once

namespace vyk {

class FenetrePrincipale;

// The "Qualitomètres" menu of the main window: the stations and their field events.
void creerMenuStations(FenetrePrincipale &fenetre);

} // namespace vyk
