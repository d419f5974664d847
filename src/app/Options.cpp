#include "app/Options.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/Outils.h"

#include <cmath>

namespace vyk {

bool estActive(const QString &valeur)
{
    const QString v = valeur.trimmed().toUpper();
    return v == QLatin1String("OUI") || v == QLatin1String("O") || v == QLatin1String("1") ||
           v == QLatin1String("VRAI") || v == QLatin1String("TRUE");
}

bool reglageActif(const QString &nom)
{
    return estActive(lireRegistre(nom));
}

QString moisDebutAnneeHydro()
{
    const QString mois = lireRegistre(reglage::MoisDebutAnneeHydro, {}, true);
    return mois.isEmpty() ? QStringLiteral("09") : mois;
}

int moisHydrologique()
{
    bool ok = false;
    const int mois = moisDebutAnneeHydro().trimmed().toInt(&ok);
    return ok && mois >= 1 && mois <= 12 ? mois : 9;
}

int niveauJournalDe(const QString &texte)
{
    const Nombre n = enNombre(texte, true);
    return n.estNombre() ? int(std::lround(n.valeur)) : 0;
}

OptionsProgramme lireOptions()
{
    using namespace reglage;
    OptionsProgramme o;
    o.niveauJournal = niveauJournalDe(lireRegistre(LogLevel));
    o.trace = lireRegistre(TraceLog) != QLatin1String("NON");
    o.donneesPhysicoChimique = reglageActif(donneesPhysicoChimique);
    o.donneesHydroBio = reglageActif(donneesHydroBio);
    o.exploitationAEP = reglageActif(ExploitationAEP);
    o.contexteInternational = reglageActif(ContexteInternational);
    o.affichageNGF = lireRegistre(Affichage) == QLatin1String("NGF");
    o.affichageProfondeur = lireRegistre(AffichageProfondeur) == QLatin1String("1");
    o.pointOk = lireRegistre(Point_OK) == QLatin1String("OUI");
    o.idStationAvecDesignation = reglageActif(IdStationAvecDesignation);
    o.moisDebutAnneeHydro = vyk::moisDebutAnneeHydro();
    auto chemin = [](const QString &nom) { return lireRegistre(nom, {}, true); };
    o.cheminEdition = chemin(CheminEdition);
    o.cheminModeles = chemin(CheminModeles);
    o.cheminExport = chemin(CheminExport);
    o.cheminR = chemin(CheminR);
    o.cheminPhotos = chemin(CheminPhotos);
    o.cheminDocuments = chemin(CheminDocuments);
    o.fichierAide = chemin(FichierAide);
    o.fichierDonneesCR2M = chemin(FichierDonneesCR2M);
    o.fichierAppelCR2M = chemin(FichierAppelCR2M);
    o.baseBrute = chemin(BaseBrute);
    return o;
}

} // namespace vyk
