#pragma once

// Workbooks written by hand, member by member, for what the writers never produce: inline
// strings, rich text, cached formula results, the 1904 date system, ODS repetitions and
// covered cells.

#include "app/ZipEcrit.h"

#include <QString>

namespace vyk::test {

// An .xlsx of one sheet "Feuil1": `cellules` is the inside of <sheetData>; shared strings and
// the cell styles' number formats (numFmtId per style, in order) as given.
inline bool ecrireXlsxMain(const QString &chemin, const QString &cellules,
                           const QStringList &chaines = {}, const QList<int> &formats = {},
                           bool systeme1904 = false, const QString &formatsPropres = {})
{
    const QByteArray rels =
        "<?xml version=\"1.0\"?><Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId7\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
        "Target=\"worksheets/feuille.xml\"/></Relationships>";
    QByteArray classeur =
        "<?xml version=\"1.0\"?><workbook "
        "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">";
    if (systeme1904) classeur += "<workbookPr date1904=\"1\"/>";
    classeur += "<sheets><sheet name=\"Feuil1\" sheetId=\"1\" r:id=\"rId7\"/></sheets></workbook>";
    QString sst =
        QStringLiteral("<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">");
    for (const QString &c : chaines)
        sst += QStringLiteral("<si>") + c + QStringLiteral("</si>");
    sst += QStringLiteral("</sst>");
    QString styles =
        QStringLiteral(
            "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">") +
        formatsPropres + QStringLiteral("<cellXfs>");
    for (const int f : formats)
        styles += QStringLiteral("<xf numFmtId=\"%1\"/>").arg(f);
    styles += QStringLiteral("</cellXfs></styleSheet>");
    const QString feuille =
        QStringLiteral(
            "<worksheet "
            "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>") +
        cellules + QStringLiteral("</sheetData></worksheet>");
    return ecrireZip(chemin, {{QStringLiteral("[Content_Types].xml"), "<Types/>"},
                              {QStringLiteral("xl/workbook.xml"), classeur},
                              {QStringLiteral("xl/_rels/workbook.xml.rels"), rels},
                              {QStringLiteral("xl/sharedStrings.xml"), sst.toUtf8()},
                              {QStringLiteral("xl/styles.xml"), styles.toUtf8()},
                              {QStringLiteral("xl/worksheets/feuille.xml"), feuille.toUtf8()}});
}

// An .ods whose <office:spreadsheet> holds `tables`.
inline bool ecrireOdsMain(const QString &chemin, const QString &tables)
{
    const QString contenu =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-content "
                       "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                       "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
                       "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body>"
                       "<office:spreadsheet>") +
        tables + QStringLiteral("</office:spreadsheet></office:body></office:document-content>");
    return ecrireZip(
        chemin, {{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet"},
                 {QStringLiteral("content.xml"), contenu.toUtf8()}});
}

} // namespace vyk::test
