// Built once per kind of file: VYK_FUZZ_EXTENSION (".xml", ".csv") picks the reader.

#include "EntreeFuzz.h"

#include "referentials/ImportTaxons.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *donnees, size_t taille)
{
    vyk::FichierTaxons fichier;
    QString erreur;
    vyk::lireFichierTaxons(
        vyk::fuzz::fichierEntree(donnees, taille, QStringLiteral(VYK_FUZZ_EXTENSION)), fichier,
        erreur);
    return 0;
}
