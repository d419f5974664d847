// Built once per kind of file: VYK_FUZZ_EXTENSION (".xml", ".csv") picks the reader.

#include "EntreeFuzz.h"

#include "referentials/ImportationReferentielsAnalyses.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *donnees, size_t taille)
{
    vyk::FichierReferentielAnalyses fichier;
    QString erreur;
    vyk::lireReferentielAnalyses(
        vyk::fuzz::fichierEntree(donnees, taille, QStringLiteral(VYK_FUZZ_EXTENSION)),
        vyk::Referentiel::Parametre, fichier, erreur);
    return 0;
}
