#include "EntreeFuzz.h"

#include "db/Progression.h"
#include "import/ImportSandre1997.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *donnees, size_t taille)
{
    const QString chemin =
        vyk::fuzz::fichierEntree(donnees, taille, QStringLiteral(VYK_FUZZ_EXTENSION));
    vyk::EcritureObjets rien(false);
    vyk::ImportSandre1997 import(rien, vyk::progressionNulle());
    const QString erreur = import.init(chemin);
    const QStringList sites = import.getTabSites();
    // Stations are named and listed once each.
    for (int i = 0; i < sites.size(); ++i)
        if (sites[i].isEmpty() || sites.indexOf(sites[i]) != i) __builtin_trap();
    // Every refusal names its line, and the lines come in order.
    int precedente = 0;
    for (const vyk::LigneEnErreur &e : import.erreurs()) {
        if (e.ligne < precedente || e.origine.isEmpty()) __builtin_trap();
        precedente = e.ligne;
    }
    (void)erreur;
    return 0;
}
