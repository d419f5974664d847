#include "campagnes/ChoixCampagne.h"

#include "campagnes/Campagnes.h"
#include "db/BaseDonnees.h"
#include "search/Selections.h"

namespace vyk {

EntreesCodees choixOrganisations()
{
    return entreesRequete(QStringLiteral(
        "SELECT DISTINCT Nom, codeIntervenant FROM Intervenants WHERE (CodeSandre is not null and "
        "codeSandre<>'') or (siret is not null and siret<>'') ORDER BY Nom ASC"));
}

EntreesCodees choixTypesDemande()
{
    return {{QStringLiteral("1"), QStringLiteral("Demande de prélèvement(s)")},
            {QStringLiteral("2"), QStringLiteral("Demande d'analyse(s)")},
            {QStringLiteral("3"), QStringLiteral("Demande mixte")}};
}

EntreesCodees choixTypesCampagne()
{
    return {{CAMPAGNE_HYDROBIO, libelleTypeCampagne(CAMPAGNE_HYDROBIO)},
            {CAMPAGNE_PHYSICOCHIMIQUE, libelleTypeCampagne(CAMPAGNE_PHYSICOCHIMIQUE)}};
}

EntreesCodees choixSupports()
{
    return entreesRequete(
        QStringLiteral("SELECT Nom, Code FROM Analyses_Supports ORDER BY Nom ASC"));
}

EntreesCodees choixFractions()
{
    return entreesRequete(
        QStringLiteral("SELECT Nom, Code FROM Analyses_Fractions ORDER BY Nom ASC"));
}

EntreesCodees choixLieux()
{
    return entreesListe(QStringLiteral("ANALYSES.LIEU"));
}

EntreesCodees choixListesParametres()
{
    EntreesCodees entrees;
    for (const TitreSelection &t : titresSelections(true, false))
        if (t.typeListe == ListeParametres) entrees.append({t.code, t.nom});
    return entrees;
}

EntreesCodees choixStations()
{
    return entreesStationsAccessibles(QStringLiteral(" - "));
}

} // namespace vyk
