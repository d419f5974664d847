#pragma once

// The choices the campaign form offers: organisations with a SANDRE code or a SIRET, request
// and campaign types, supports, fractions, sampling places, parameter lists and stations.

#include "referentials/ListesCodees.h"

namespace vyk {

EntreesCodees choixOrganisations();
// "Demande de prélèvement(s)" 1, "Demande d'analyse(s)" 2, "Demande mixte" 3.
EntreesCodees choixTypesDemande();
// The campaign types this module lists: "Hydrobio" 2 and "Physicochimique" 3.
EntreesCodees choixTypesCampagne();
EntreesCodees choixSupports();
EntreesCodees choixFractions();
EntreesCodees choixLieux();
// The physico-chemical selection lists.
EntreesCodees choixListesParametres();
// The stations the user may reach, "CodeBSS - name" by CodeBSS, coded by CodeQualitometre.
EntreesCodees choixStations();

} // namespace vyk
