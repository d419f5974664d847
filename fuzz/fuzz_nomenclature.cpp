#include "EntreeFuzz.h"

#include "referentials/ReferentielCodes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *donnees, size_t taille)
{
    vyk::FichierReferentiel fichier;
    QString erreur;
    vyk::lireFichierReferentiel(vyk::fuzz::fichierEntree(donnees, taille, QStringLiteral(".xml")),
                                fichier, erreur);
    return 0;
}
