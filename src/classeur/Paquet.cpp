#include "classeur/Formats.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipfileinfo.h>
#include <quazip/quazipnewinfo.h>

#include <cmath>

namespace vyk {

namespace classeur {

Paquet::Paquet() = default;
Paquet::~Paquet() = default;

bool Paquet::ouvrir(const QString &chemin, QString &detail)
{
    m_zip = std::make_unique<QuaZip>(chemin);
    m_tailles.clear();
    if (!m_zip->open(QuaZip::mdUnzip)) {
        detail = QStringLiteral("archive illisible");
        return false;
    }
    for (bool suite = m_zip->goToFirstFile(); suite; suite = m_zip->goToNextFile()) {
        QuaZipFileInfo64 info;
        if (!m_zip->getCurrentFileInfo(&info) || m_tailles.size() >= MEMBRES_MAX) {
            detail = QStringLiteral("archive illisible");
            return false;
        }
        m_tailles.insert(info.name, qint64(info.uncompressedSize));
    }
    if (m_zip->getZipError() != UNZ_OK) {
        detail = QStringLiteral("archive illisible");
        return false;
    }
    return true;
}

bool Paquet::lire(const QString &membre, QByteArray &octets, QString &detail)
{
    octets.clear();
    const qint64 taille = m_tailles.value(membre, -1);
    if (taille < 0 || !m_zip->setCurrentFile(membre)) {
        detail = QStringLiteral("élément manquant : ") + membre;
        return false;
    }
    if (taille > TAILLE_MAX_MEMBRE) {
        detail = QStringLiteral("élément trop grand : ") + membre;
        return false;
    }
    QuaZipFile f(m_zip.get());
    if (!f.open(QIODevice::ReadOnly)) {
        detail = QStringLiteral("élément illisible : ") + membre;
        return false;
    }
    // The size the directory announces may lie: read by blocks, never past the cap.
    octets.reserve(qsizetype(taille));
    while (!f.atEnd() && octets.size() <= TAILLE_MAX_MEMBRE) {
        const QByteArray bloc = f.read(1 << 20);
        if (bloc.isEmpty()) break;
        octets += bloc;
    }
    const bool complet = octets.size() <= TAILLE_MAX_MEMBRE && f.atEnd();
    f.close();
    if (!complet || f.getZipError() != UNZ_OK) {
        octets.clear();
        detail = QStringLiteral("élément endommagé : ") + membre;
        return false;
    }
    return true;
}

bool ecrirePaquet(const QString &chemin, const QVector<std::pair<QString, QByteArray>> &membres,
                  int stockes, QString &detail)
{
    QuaZip zip(chemin);
    if (!zip.open(QuaZip::mdCreate)) {
        detail = QStringLiteral("création du classeur impossible");
        return false;
    }
    bool ecrit = true;
    for (int i = 0; ecrit && i < membres.size(); ++i) {
        const bool stocke = i < stockes;
        QuaZipFile f(&zip);
        ecrit = f.open(QIODevice::WriteOnly, QuaZipNewInfo(membres[i].first), nullptr, 0,
                       stocke ? 0 : Z_DEFLATED, stocke ? 0 : Z_DEFAULT_COMPRESSION) &&
                f.write(membres[i].second) == membres[i].second.size();
        f.close();
        ecrit = ecrit && f.getZipError() == ZIP_OK;
    }
    zip.close();
    if (!ecrit || zip.getZipError() != ZIP_OK) {
        detail = QStringLiteral("écriture du classeur impossible");
        return false;
    }
    return true;
}

QVariant dateSerie(double serie, bool systeme1904, bool heureSeule)
{
    if (!std::isfinite(serie) || serie < 0 || serie > 2958466) return serie;
    double jours = std::floor(serie);
    // Seconds rounded as a spreadsheet shows them.
    qint64 secondes = qint64(std::llround((serie - jours) * 86400.0));
    if (secondes >= 86400) {
        jours += 1;
        secondes -= 86400;
    }
    const QTime heure = QTime(0, 0).addSecs(int(secondes));
    if (heureSeule) return heure;
    QDate date;
    if (systeme1904) {
        date = QDate(1904, 1, 1).addDays(qint64(jours));
    } else if (jours == 60) {
        // The 1900 system counts a 29 February that year never had.
        return QStringLiteral("29/02/1900");
    } else {
        date = QDate(1899, 12, jours < 60 ? 31 : 30).addDays(qint64(jours));
    }
    if (secondes == 0) return date;
    return QDateTime(date, heure);
}

} // namespace classeur

FormatClasseur formatFichierClasseur(const QString &chemin)
{
    QFile f(chemin);
    if (!QFileInfo(chemin).isFile() || !f.open(QIODevice::ReadOnly)) return FormatClasseur::Inconnu;
    const QByteArray debut = f.read(8);
    f.close();
    if (debut == QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) return FormatClasseur::Xls;
    if (!debut.startsWith("PK\x03\x04")) return FormatClasseur::Inconnu;
    classeur::Paquet paquet;
    QString detail;
    if (!paquet.ouvrir(chemin, detail)) return FormatClasseur::Inconnu;
    if (paquet.contient(QStringLiteral("xl/workbook.xml"))) return FormatClasseur::Xlsx;
    QByteArray type;
    if (paquet.contient(QStringLiteral("content.xml")) &&
        (!paquet.contient(QStringLiteral("mimetype")) ||
         (paquet.lire(QStringLiteral("mimetype"), type, detail) &&
          type.trimmed() == "application/vnd.oasis.opendocument.spreadsheet")))
        return FormatClasseur::Ods;
    return FormatClasseur::Inconnu;
}

} // namespace vyk
