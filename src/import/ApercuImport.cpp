#include "import/ApercuImport.h"

#include "db/Progression.h"
#include "import/AnalysesNommees.h"
#include "import/ChargementTexte.h"
#include "import/ColonnesNommees.h"
#include "import/ExtraitCode.h"
#include "import/GrilleImport.h"
#include "import/ImportRegionaux.h"
#include "import/ImportSandre1997.h"
#include "import/LectureSandre.h"
#include "import/ModelesImport.h"
#include "import/PaquetEchange.h"
#include "import/PointsEauXml.h"
#include "import/ResultatsLabo.h"
#include "import/StationsXml.h"
#include "import/Zip.h"
#include "import/classeurs/ModelesClasseurs.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace vyk {

namespace {

void lireFichier(RouteImport route, const QString &chemin, bool entete, Progression &progression,
                 ApercuImport &apercu)
{
    ElementsIgnores ignores;
    switch (route) {
    case RouteImport::AnalysesTexte:
    case RouteImport::LaboXml: {
        GrilleImport grille;
        apercu.erreur = route == RouteImport::LaboXml
                            ? chargerResultatsLabo(chemin, grille, &progression, &ignores)
                            : chargerFichierTexte(chemin, grille, progression, entete);
        if (apercu.colonnes.isEmpty()) apercu.colonnes = grille.colonnes;
        apercu.lignes += grille.lignes;
        break;
    }
    case RouteImport::AnalysesNommees: {
        GrilleImport grille;
        ChargementNomme chargement;
        apercu.erreur =
            chargerFichierAnalysesNommees(chemin, grille, chargement, progression, &ignores);
        apercu.colonnes = grille.colonnes;
        apercu.lignes += grille.lignes;
        for (const LigneEnErreur &l : std::as_const(chargement.lignesEnErreur))
            apercu.remarques += (apercu.remarques.isEmpty() ? QString() : QStringLiteral("\n")) +
                                texteColonnesNommees::ligneRefusee(l);
        break;
    }
    case RouteImport::StationsXml:
        apercu.colonnes = {QStringLiteral("Code"), QStringLiteral("Libellé"),
                           QStringLiteral("Commune")};
        apercu.erreur = listerStationsXml(chemin, apercu.lignes, &progression);
        break;
    case RouteImport::PointsEauXml:
        apercu.colonnes = colonnesPointsEau();
        apercu.erreur = listerPointsEauXml(chemin, apercu.lignes, &progression, &ignores);
        break;
    case RouteImport::ExtraitCode:
        apercu.erreur = apercuExtraitCode(chemin, apercu.colonnes, apercu.lignes, progression);
        break;
    case RouteImport::Sandre1997:
        apercu.colonnes = {QStringLiteral("Code")};
        apercu.erreur = listerSitesSandre1997(chemin, apercu.lignes);
        break;
    default:
        break;
    }
    if (!ignores.estVide())
        apercu.remarques +=
            (apercu.remarques.isEmpty() ? QString() : QStringLiteral("\n")) + ignores.texte();
}

} // namespace

ApercuImport apercuImport(const QString &code, const QString &chemin, bool entete,
                          Progression &progression,
                          const std::function<QString(const QStringList &)> &choisirFeuille)
{
    ApercuImport apercu;
    const ModeleImport *modele = modeleImport(code);
    if (!modele) {
        apercu.erreur =
            code.trimmed().isEmpty() ? texteModeles::AUCUN : texteModeles::inconnu(code);
        return apercu;
    }
    apercu.erreur = modele->refus();
    if (!apercu.erreur.isEmpty()) return apercu;
    if (modele->route == RouteImport::Classeur)
        return apercuClasseur(modele->code, chemin, progression, choisirFeuille);
    if (modele->route == RouteImport::Paquet) {
        apercu.colonnes = {QStringLiteral("Code"), QStringLiteral("Nom"),
                           QStringLiteral("Analyses")};
        apercu.erreur = listerPaquet(chemin, apercu.lignes);
        return apercu;
    }
    if (modele->route == RouteImport::Regional) {
        apercu.colonnes = {QStringLiteral("Code")};
        apercu.erreur = listerSitesRegionaux(modele->code, chemin, apercu.lignes);
        return apercu;
    }
    if (!chemin.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive)) {
        lireFichier(modele->route, chemin, entete, progression, apercu);
        return apercu;
    }
    QTemporaryDir dossier;
    const int retour = decompresserZip(chemin, {}, dossier.path());
    if (retour != codeZip::SUCCES) {
        apercu.erreur = erreurDecompression(retour);
        return apercu;
    }
    const QDir d(dossier.path());
    for (const QString &membre : fichiersExtraits(dossier.path())) {
        if (progression.annule()) break;
        lireFichier(modele->route, d.filePath(membre), entete, progression, apercu);
        if (!apercu.erreur.isEmpty()) {
            apercu.erreur = membre + QStringLiteral(" : ") + apercu.erreur;
            break;
        }
    }
    return apercu;
}

} // namespace vyk
