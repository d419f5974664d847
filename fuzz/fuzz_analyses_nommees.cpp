#include "EntreeFuzz.h"

#include "db/Progression.h"
#include "import/AnalysesNommees.h"
#include "import/ColonnesNommees.h"
#include "import/LectureSandre.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *donnees, size_t taille)
{
    const QByteArray octets(reinterpret_cast<const char *>(donnees), qsizetype(taille));
    vyk::GrilleImport grille;
    vyk::ChargementNomme chargement;
    vyk::ElementsIgnores ignores;
    const QString erreur =
        vyk::chargerAnalysesNommees(octets, grille, chargement, vyk::progressionNulle(), &ignores);
    // A refused file leaves nothing to integrate; every row has its 42 fields and its origin.
    if (!erreur.isEmpty() && grille.nombreLignes() != 0) __builtin_trap();
    if (grille.origines.size() != grille.lignes.size()) __builtin_trap();
    for (const QStringList &l : std::as_const(grille.lignes))
        if (l.size() != vyk::NB_COLONNES_IMPORT) __builtin_trap();
    for (const vyk::LigneEnErreur &l : std::as_const(chargement.lignesEnErreur))
        if (!l.origine.startsWith(QStringLiteral("ligne "))) __builtin_trap();
    (void)ignores.texte();
    return 0;
}
