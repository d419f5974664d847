#include "app/PaquetBase.h"

#include "db/BaseDonnees.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace vyk {

bool estFichierBase(const QString &chemin)
{
    if (chemin.endsWith(QLatin1String("mdb"), Qt::CaseInsensitive)) return true;
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3\0", 16);
}

QString extrairePaquetBase(const QString &paquet, QString *erreur)
{
    auto echec = [&](const QString &message) {
        if (erreur) *erreur = message;
        return QString();
    };
    const QFileInfo info(paquet);
    const QString cible = QDir(info.absolutePath()).filePath(BASE_IMPORT);
    // Replacing the file under the open connection would leave it working on a deleted file.
    if (bd().estOuverte() && bd().typeBase() == ACCESS &&
        QFileInfo(bd().base()).absoluteFilePath() == QFileInfo(cible).absoluteFilePath())
        return echec(
            QStringLiteral("La base « %1 » est celle qui est ouverte : ouvrez une autre base avant "
                           "d'importer un nouveau paquet.")
                .arg(QDir::toNativeSeparators(cible)));

    QuaZip zip(paquet);
    if (!zip.open(QuaZip::mdUnzip))
        return echec(QStringLiteral("Le fichier « %1 » n'est pas un paquet d'échange lisible.")
                         .arg(QDir::toNativeSeparators(paquet)));
    QString entree;
    for (bool suite = zip.goToFirstFile(); suite; suite = zip.goToNextFile()) {
        const QString nom = zip.getCurrentFileName();
        if (nom.section(u'/', -1).section(u'\\', -1).compare(ENTREE_PAQUET, Qt::CaseInsensitive) ==
            0) {
            entree = nom;
            break;
        }
    }
    if (entree.isEmpty() || !zip.setCurrentFile(entree))
        return echec(QStringLiteral("Le paquet « %1 » ne contient pas de base de données %2.")
                         .arg(QDir::toNativeSeparators(paquet), ENTREE_PAQUET));

    QuaZipFile source(&zip);
    if (!source.open(QIODevice::ReadOnly))
        return echec(QStringLiteral("Le paquet « %1 » ne peut pas être lu.")
                         .arg(QDir::toNativeSeparators(paquet)));
    const QString impossible =
        QStringLiteral("Impossible d'écrire le fichier « %1 ». Vérifiez vos droits d'écriture.")
            .arg(QDir::toNativeSeparators(cible));
    QSaveFile destination(cible);
    if (!destination.open(QIODevice::WriteOnly)) return echec(impossible);
    QByteArray tampon(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 lus = source.read(tampon.data(), tampon.size());
        if (lus < 0) {
            destination.cancelWriting();
            return echec(QStringLiteral("Le paquet « %1 » est endommagé.")
                             .arg(QDir::toNativeSeparators(paquet)));
        }
        if (lus == 0) break;
        if (destination.write(tampon.constData(), lus) != lus) {
            destination.cancelWriting();
            return echec(impossible);
        }
    }
    source.close();
    if (source.getZipError() != UNZ_OK) {
        destination.cancelWriting();
        return echec(QStringLiteral("Le paquet « %1 » est endommagé.")
                         .arg(QDir::toNativeSeparators(paquet)));
    }
    if (!destination.commit()) return echec(impossible);
    return cible;
}

} // namespace vyk
