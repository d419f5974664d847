#include "EntreeFuzz.h"

#include "db/Progression.h"
#include "import/ExtraitCode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *donnees, size_t taille)
{
    const QByteArray octets(reinterpret_cast<const char *>(donnees), qsizetype(taille));
    for (const vyk::EnTeteCode entete :
         {vyk::EnTeteCode::Fichier, vyk::EnTeteCode::Naiades, vyk::EnTeteCode::QualiteauCourt}) {
        vyk::ExtraitCode extrait;
        const QString erreur =
            vyk::chargerExtraitCodeOctets(octets, extrait, vyk::progressionNulle(), entete);
        // A refused file leaves nothing to integrate.
        if (!erreur.isEmpty() && extrait.nombreLignes() != 0) __builtin_trap();
        if (extrait.origines.size() != extrait.lignes.size()) __builtin_trap();
        for (int l = 0; l < extrait.nombreLignes(); ++l) {
            (void)vyk::valeurCode(QStringLiteral("ALQ"), 12, extrait, l);
            (void)vyk::dateCode(vyk::valeurCode(QStringLiteral("PRL"), 8, extrait, l));
            (void)vyk::cleStationCode(vyk::valeurCode(QStringLiteral("STQ"), 2, extrait, l));
        }
    }
    return 0;
}
