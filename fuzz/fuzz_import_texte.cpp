#include "EntreeFuzz.h"

#include "db/Progression.h"
#include "import/ChargementTexte.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *donnees, size_t taille)
{
    // Through the file, as the import road reads it, with and without a header line.
    const QString chemin = vyk::fuzz::fichierEntree(donnees, taille, QStringLiteral(".csv"));
    for (const bool entete : {false, true}) {
        vyk::GrilleImport grille;
        const QString erreur =
            vyk::chargerFichierTexte(chemin, grille, vyk::progressionNulle(), entete);
        if (!erreur.isEmpty() && grille.nombreLignes() != 0) __builtin_trap();
        for (int l = 0; l < grille.nombreLignes(); ++l)
            for (int c = 0; c < vyk::NB_COLONNES_IMPORT; ++c)
                (void)grille.valeur(l, vyk::ColonneImport(c));
    }
    return 0;
}
