#include "EntreeFuzz.h"

#include "referentials/ImportTaxons.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *donnees, size_t taille)
{
    vyk::FichierTaxons fichier;
    QString erreur;
    vyk::lireTaxonsCsv(vyk::fuzz::fichierEntree(donnees, taille, QStringLiteral(".csv")), fichier, erreur);
    return 0;
}
