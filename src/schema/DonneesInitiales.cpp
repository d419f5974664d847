#include "schema/DonneesInitiales.h"

#include "schema/EtapesMiseAJour.h"

namespace vyk {

// Not written yet: the seed rows come with the code lists. Until then the upgrade creates the
// tables and leaves them empty.
void ecrireDonneesInitiales(MiseAJour &) {}

} // namespace vyk
