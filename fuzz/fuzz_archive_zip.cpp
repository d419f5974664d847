#include "EntreeFuzz.h"

#include "import/Zip.h"

#include <QDir>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *donnees, size_t taille)
{
    const QString chemin = vyk::fuzz::fichierEntree(donnees, taille, QStringLiteral(".zip"));
    int code = -1;
    (void)vyk::listerArchive(chemin, &code);
    // An archive accepted is extracted; nothing may land outside the destination.
    QTemporaryDir parent;
    const QString destination = parent.filePath(QStringLiteral("dest"));
    const int extraction = vyk::decompresserZip(chemin, {}, destination, true);
    // The check pass and the extraction agree, but for a member the file system refuses.
    if (extraction != code && !(code == 0 && extraction == 28)) __builtin_trap();
    const QStringList dehors =
        QDir(parent.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    if (!dehors.isEmpty() && dehors != QStringList{QStringLiteral("dest")}) __builtin_trap();
    return 0;
}
