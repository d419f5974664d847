#include "import/ImportAutomatique.h"

#include "app/Registre.h"
#include "db/Journal.h"
#include "import/LigneCommande.h"
#include "import/ModelesImport.h"
#include "import/ProprietesIntegration.h"
#include "users/Habilitations.h"

#include <QDir>
#include <QFileInfo>

namespace vyk {

ImportAutomatique lancerImportAutomatique(const QStringList &arguments, Progression &progression)
{
    ImportAutomatique a;
    const ImportLigneCommande ligne = lireImportLigneCommande(arguments);
    a.demande = ligne.demande;
    if (!a.demande) return a;
    auto refuser = [&a](const QString &raison) {
        a.refus = raison;
        journaliserErreur(texteImportAutomatique::TITRE, raison);
        return a;
    };
    if (!estHabilite(droit::QUALITO_IMPORT)) return refuser(texteImportAutomatique::SANS_DROIT);
    if (ligne.dossier.isEmpty() || !QFileInfo(ligne.dossier).isDir())
        return refuser(texteImportAutomatique::SANS_DOSSIER + ligne.dossier);

    ProprietesIntegration proprietes;
    const bool avecProprietes = chargerProprietesIntegration(ligne.dossier, proprietes);
    const QString modele = !proprietes.modele.isEmpty()
                               ? proprietes.modele
                               : lireRegistre(QStringLiteral("ModeleImportation"));
    if (modele.trimmed().isEmpty()) return refuser(texteModeles::AUCUN);
    QStringList fichiers;
    for (const FichierIntegration &f : listerFichiersIntegration(
             ligne.dossier, ligne.extension, avecProprietes ? &proprietes : nullptr))
        fichiers << QDir(ligne.dossier).filePath(f.fichier);

    OptionsImport options;
    options.extension = ligne.extension;
    options.creerIntervenants =
        lireRegistre(REGLAGE_INTERVENANTS_AUTOMATIQUE).compare(QLatin1String("OUI")) == 0;
    // No box may open: an unanswered question is a No, said in the journal.
    bool refusIntervenant = false;
    const Confirmation non = [&refusIntervenant](const QString &) {
        refusIntervenant = true;
        return false;
    };
    a.resultat = fichiers.isEmpty()
                     ? ResultatImport{texteImportation::AUCUN_FICHIER + ligne.dossier, -1, {}}
                     : importerFichiers(modele, fichiers, options, progression, {non, non});
    QStringList lignes{QString::number(a.resultat.fichiers.size()) +
                       QStringLiteral(" fichier(s) : ") + a.resultat.total().resume() + u'.'};
    lignes << a.resultat.messages();
    if (refusIntervenant) lignes << texteImportAutomatique::INTERVENANTS_NON;
    if (a.resultat.statut())
        journaliser(texteImportAutomatique::TITRE, lignes.join(u'\n'));
    else
        journaliserErreur(texteImportAutomatique::TITRE, lignes.join(u'\n'));
    return a;
}

} // namespace vyk
