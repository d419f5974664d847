#include "campagnes/ChoixCampagne.h"

#include "campagnes/Campagnes.h"
#include "db/BaseDonnees.h"
#include "db/Session.h"
#include "search/Selections.h"
#include "users/AccesStations.h"

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
    // A user restricted to some stations is offered those only.
    const QString acces =
        session().estConnecte()
            ? conditionAccesStations(QStringLiteral("QUALITOMETRES.CodeQualitometre"))
            : QString();
    const Tableau t =
        bd().extraire(QStringLiteral("SELECT CodeQualitometre, CodeBSS, Nom FROM QUALITOMETRES") +
                      (acces.isEmpty() ? QString() : QStringLiteral(" WHERE ") + acces) +
                      QStringLiteral(" ORDER BY CodeBSS"));
    EntreesCodees entrees;
    entrees.reserve(t.nbLignes());
    for (int l = 0; l < t.nbLignes(); ++l)
        entrees.append({t.texte(l, QStringLiteral("CodeQualitometre")),
                        t.texte(l, QStringLiteral("CodeBSS")) + QStringLiteral(" - ") +
                            t.texte(l, QStringLiteral("Nom"))});
    return entrees;
}

} // namespace vyk
