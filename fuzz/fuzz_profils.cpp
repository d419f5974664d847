#include "EntreeFuzz.h"

#include "app/Profils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *donnees, size_t taille)
{
    // The file is read through its path as the connection screen does.
    const auto profils = vyk::lireFichierBases(
        vyk::fuzz::fichierEntree(donnees, taille, QStringLiteral(".properties")));
    for (const auto &profil : profils)
        (void)vyk::resoudreProfil(profil);
    const auto lignes = vyk::lignesProfils(profils);
    for (const auto &ligne : lignes)
        (void)vyk::erreurLigneProfil(ligne);
    (void)vyk::texteFichierBases(lignes);
    return 0;
}
