#include "EntreeFuzz.h"

#include "import/ProprietesIntegration.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *donnees, size_t taille)
{
    // Read from a folder as the automatic integration does, then listed against that folder.
    static QTemporaryDir dossier;
    QFile f(QDir(dossier.path()).filePath(vyk::FICHIER_PROPRIETES_INTEGRATION));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    f.write(reinterpret_cast<const char *>(donnees), static_cast<qint64>(taille));
    f.close();
    vyk::ProprietesIntegration p;
    if (vyk::chargerProprietesIntegration(dossier.path(), p))
        (void)vyk::listerFichiersIntegration(dossier.path(), QStringLiteral("csv"), &p);
    return 0;
}
