// .xls: read with FreeXL, then, when LibreOffice is installed, converted to .xlsx and read
// again (FreeXL gives nothing for formula and boolean cells).

#include "classeur/Formats.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <freexl.h>

namespace vyk::classeur {

namespace {

QVariant valeurFreeXl(const FreeXL_CellValue &v)
{
    switch (v.type) {
    case FREEXL_CELL_INT:
        return double(v.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return v.value.double_value;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
        return QString::fromUtf8(v.value.text_value);
    case FREEXL_CELL_DATE:
        return QDate::fromString(QString::fromLatin1(v.value.text_value), Qt::ISODate);
    case FREEXL_CELL_DATETIME: {
        const QDateTime dt = QDateTime::fromString(QString::fromLatin1(v.value.text_value),
                                                   QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        return dt.time() == QTime(0, 0) ? QVariant(dt.date()) : QVariant(dt);
    }
    case FREEXL_CELL_TIME:
        return QTime::fromString(QString::fromLatin1(v.value.text_value),
                                 QStringLiteral("hh:mm:ss"));
    default:
        return {};
    }
}

bool lireFeuilleFreeXl(const void *xls, unsigned short indice, Feuille &feuille, QString &detail)
{
    unsigned int lignes = 0;
    unsigned short colonnes = 0;
    if (freexl_select_active_worksheet(xls, indice) != FREEXL_OK ||
        freexl_worksheet_dimensions(xls, &lignes, &colonnes) != FREEXL_OK) {
        detail = QStringLiteral("feuille illisible : ") + feuille.nom();
        return false;
    }
    for (unsigned int l = 0; l < lignes; ++l) {
        for (unsigned short c = 0; c < colonnes; ++c) {
            FreeXL_CellValue v;
            if (freexl_get_cell_value(xls, l, c, &v) != FREEXL_OK) continue;
            feuille.ecrire(int(l) + 1, int(c) + 1, valeurFreeXl(v));
        }
    }
    return true;
}

bool lireFreeXl(const QString &chemin, QVector<Feuille> &feuilles, QString &detail)
{
    const void *xls = nullptr;
    const bool ouvert = freexl_open(QFile::encodeName(chemin).constData(), &xls) == FREEXL_OK;
    unsigned int nombre = 0, protection = 0;
    bool lu = ouvert && freexl_get_info(xls, FREEXL_BIFF_PASSWORD, &protection) == FREEXL_OK &&
              protection != FREEXL_BIFF_OBFUSCATED &&
              freexl_get_info(xls, FREEXL_BIFF_SHEET_COUNT, &nombre) == FREEXL_OK;
    detail = QStringLiteral("classeur .xls illisible");
    for (unsigned short i = 0; lu && i < nombre; ++i) {
        const char *nom = nullptr;
        lu = freexl_get_worksheet_name(xls, i, &nom) == FREEXL_OK;
        if (!lu) break;
        feuilles.append(Feuille(QString::fromUtf8(nom)));
        lu = lireFeuilleFreeXl(xls, i, feuilles.last(), detail);
    }
    // To be closed even when the open failed.
    freexl_close(xls);
    if (lu) detail.clear();
    return lu && !feuilles.isEmpty();
}

// The .xlsx LibreOffice makes of the file, in `dossier`; "" when it is not installed or fails.
QString convertir(const QString &chemin, const QTemporaryDir &dossier)
{
    QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) soffice = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    if (soffice.isEmpty() || !dossier.isValid()) return {};
    QProcess p;
    // A profile of its own, so that an office already open does not take the conversion.
    p.start(soffice,
            {QStringLiteral("-env:UserInstallation=") +
                 QUrl::fromLocalFile(dossier.filePath(QStringLiteral("profil"))).toString(),
             QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("xlsx"),
             QStringLiteral("--outdir"), dossier.path(), QFileInfo(chemin).absoluteFilePath()});
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    const QString sortie =
        dossier.filePath(QFileInfo(chemin).completeBaseName() + QStringLiteral(".xlsx"));
    return p.exitCode() == 0 && QFileInfo(sortie).isFile() ? sortie : QString();
}

} // namespace

bool lireXls(const QString &chemin, QVector<Feuille> &feuilles, QString &detail)
{
    // FreeXL decides whether the file is a workbook at all: LibreOffice would take any bytes,
    // a damaged file included, as a text sheet.
    if (!lireFreeXl(chemin, feuilles, detail)) return false;
    const QTemporaryDir dossier;
    const QString converti = convertir(chemin, dossier);
    QVector<Feuille> completes;
    QString detailConversion;
    if (!converti.isEmpty() && lireXlsx(converti, completes, detailConversion))
        feuilles = std::move(completes);
    return true;
}

} // namespace vyk::classeur
