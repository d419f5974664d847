#pragma once

namespace vyk {

class FenetrePrincipale;

// The "Fichier" menu of the main window: the database, the administration, the user, quitting.
void creerMenuFichier(FenetrePrincipale &fenetre);

} // namespace vyk
