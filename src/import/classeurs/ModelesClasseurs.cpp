#include "import/classeurs/ModelesClasseurs.h"

#include "db/BaseDonnees.h"
#include "db/Lot.h"
#include "db/Progression.h"
#include "import/LectureSandre.h"
#include "import/classeurs/ArsExcel.h"
#include "import/classeurs/EcritureHydrobio.h"
#include "import/classeurs/FicheEnvoi.h"
#include "import/classeurs/GarantiesReferentiels.h"
#include "import/classeurs/Omnidia.h"
#include "import/classeurs/Rcs.h"
#include "import/classeurs/RepriseHisto.h"

namespace vyk {

namespace {

const QString ARS = QStringLiteral("ARS Excel");
const QString OMNIDIA = QStringLiteral("OMNIDIA");
const QString RCS = QStringLiteral("XLS RCS");
const QString HISTO = QStringLiteral("REPRISE_HISTO");
const QStringList FICHES = {QStringLiteral("CEMAGREF"), QStringLiteral("MACROPHYTES")};

// The workbook's data as the model reads it, before anything is written.
struct DonneesClasseur
{
    GrilleImport grille;            // "ARS Excel"
    QVector<ReleveOmnidia> releves; // "OMNIDIA"
    QVector<FicheEnvoi> fiches;     // "CEMAGREF", "MACROPHYTES"
    ClasseurRcs rcs;                // "XLS RCS"
    QVector<LigneHisto> histo;      // "REPRISE_HISTO"
};

QString lire(const QString &modele, const QString &chemin, Progression &progression,
             const ChoixFeuille &choisir, DonneesClasseur &d, ElementsIgnores *ignores)
{
    QString erreur;
    const std::optional<Classeur> classeur = ouvrirClasseur(chemin, erreur);
    if (!classeur) return erreur;
    if (modele == ARS) {
        const Feuille *f = feuilleDe(*classeur, FEUILLE_ARS, choisir, erreur);
        return f ? chargerArsExcel(*f, d.grille, progression, ignores) : erreur;
    }
    if (modele == OMNIDIA) return lireOmnidia(*classeur, choisir, d.releves, ignores);
    if (modele == RCS) return lireRcs(*classeur, choisir, d.rcs);
    if (modele == HISTO) return lireRepriseHisto(*classeur, choisir, d.histo);
    if (FICHES.contains(modele)) return lireFichesEnvoi(*classeur, modele, d.fiches, ignores);
    return QStringLiteral("Modèle de classeur inconnu : ") + modele;
}

// The summary's first row in error as the file's error text.
QString erreurDuBilan(const BilanAnalyses &bilan)
{
    if (!bilan.erreur.isEmpty()) return bilan.erreur;
    if (bilan.lignesEnErreur.isEmpty())
        return bilan.interrompu ? texteIntegration::ANNULE : QString();
    QString e = bilan.lignesEnErreur.first().raison;
    if (bilan.lignesEnErreur.size() > 1)
        e += QStringLiteral(" (et %1 autre(s) ligne(s) en erreur)")
                 .arg(bilan.lignesEnErreur.size() - 1);
    return e;
}

QString integrerHydrobio(const QString &modele, const DonneesClasseur &d,
                         OptionsIntegration &options, Progression &progression,
                         BilanAnalyses &bilan)
{
    Transaction transaction;
    QString erreur = garantirReferentiels(modele);
    if (!erreur.isEmpty()) return erreur;
    EcritureObjets ecriture(options.remplacer, options.execution);
    QStringList inconnus;
    const bool arret = options.arretPremiereErreur;
    const bool complet =
        modele == OMNIDIA
            ? integrerReleves(d.releves, ecriture, progression, arret, bilan, inconnus)
        : modele == RCS
            ? integrerRcs(d.rcs, ecriture, progression, arret, bilan)
            : integrerFiches(modele, d.fiches, ecriture, progression, arret, bilan, inconnus);
    ajouterBilan(ecriture.bilan(), bilan);
    if (!complet && options.remplacer) {
        transaction.annuler();
        return erreurDuBilan(bilan);
    }
    if (!transaction.valider())
        return QStringLiteral("Les données n'ont pas pu être enregistrées : ") +
               bd().derniereErreur();
    erreur = erreurDuBilan(bilan);
    if (!inconnus.isEmpty())
        erreur += (erreur.isEmpty() ? QString() : QStringLiteral("\n")) +
                  texteOmnidia::CODES_INCONNUS + u' ' + inconnus.join(QStringLiteral(", "));
    return erreur;
}

} // namespace

bool estModeleClasseur(const QString &modele)
{
    return modele == ARS || modele == OMNIDIA || modele == RCS || modele == HISTO ||
           FICHES.contains(modele);
}

ApercuImport apercuClasseur(const QString &modele, const QString &chemin, Progression &progression,
                            const ChoixFeuille &choisir)
{
    ApercuImport a;
    DonneesClasseur d;
    ElementsIgnores ignores;
    a.erreur = lire(modele, chemin, progression, choisir, d, &ignores);
    a.remarques = ignores.texte();
    if (modele == ARS) {
        a.colonnes = d.grille.colonnes;
        a.lignes = d.grille.lignes;
    } else if (modele == OMNIDIA) {
        a.colonnes = colonnesApercuOmnidia();
        for (const ReleveOmnidia &r : std::as_const(d.releves))
            a.lignes << ligneApercu(r);
    } else if (modele == RCS) {
        a.colonnes = colonnesApercuRcs();
        a.lignes = lignesApercu(d.rcs);
    } else if (modele == HISTO) {
        a.colonnes = colonnesApercuHisto();
        for (const LigneHisto &l : std::as_const(d.histo))
            a.lignes << ligneApercu(l);
    } else {
        a.colonnes = colonnesApercuFiche();
        for (const FicheEnvoi &f : std::as_const(d.fiches))
            a.lignes << ligneApercu(f);
    }
    return a;
}

QString integrerClasseur(const QString &modele, const QString &chemin, OptionsIntegration &options,
                         Progression &progression, const ReponsesIntegration &reponses,
                         BilanAnalyses &bilan, ElementsIgnores &ignores)
{
    DonneesClasseur d;
    const QString erreur = lire(modele, chemin, progression, reponses.choisirFeuille, d, &ignores);
    if (!erreur.isEmpty()) return erreur;
    if (modele == ARS) {
        bilan = integrerAnalyses(d.grille, options, progression, reponses);
        return bilan.erreur;
    }
    if (modele == HISTO)
        return integrerRepriseHisto(chemin, d.histo, options, progression, reponses, bilan,
                                    ignores);
    return integrerHydrobio(modele, d, options, progression, bilan);
}

} // namespace vyk
