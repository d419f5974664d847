#include "EntreeFuzz.h"

#include "referentials/ImportationReferentielsAnalyses.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *donnees, size_t taille)
{
    vyk::FichierReferentielAnalyses fichier;
    QString erreur;
    vyk::lireReferentielAnalyses(vyk::fuzz::fichierEntree(donnees, taille, QStringLiteral(".xml")),
                                 vyk::Referentiel::Parametre, fichier, erreur);
    return 0;
}
