// The SANDRE message readers, one target per kind of message (VYK_FUZZ_SANDRE picks it).

#include "EntreeFuzz.h"

#include "import/LectureSandre.h"
#include "import/PointsEauXml.h"
#include "import/ResultatsLabo.h"
#include "import/StationsXml.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *donnees, size_t taille)
{
    const QString chemin = vyk::fuzz::fichierEntree(donnees, taille, QStringLiteral(".xml"));
    vyk::ElementsIgnores ignores;
    QVector<QStringList> apercu;
    switch (VYK_FUZZ_SANDRE) {
    case 0: {
        vyk::GrilleImport grille;
        vyk::chargerResultatsLabo(chemin, grille, nullptr, &ignores);
        ignores.texte();
        vyk::lireCodeDemande(chemin);
        break;
    }
    case 1:
        vyk::listerStationsXml(chemin, apercu);
        break;
    default:
        vyk::listerPointsEauXml(chemin, apercu, nullptr, &ignores);
        break;
    }
    return 0;
}
