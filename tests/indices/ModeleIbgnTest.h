#pragma once

// A workbook model of the IBGN cell layout written as a flat OpenDocument sheet under the name
// IBGN.XLS (the office engine reads a file by its content): two taxon rows (1234, 5678); Z2 the
// total of the counts, Z3 an error (#N/A), Z4 twice the protocol; codes 5910, 6951, 6034.

#include <QFile>
#include <QString>

namespace vyk::test {

inline QByteArray celluleOds(int ligne, int colonne)
{
    const QByteArray vide = "<table:table-cell/>";
    auto texte = [](const char *t) {
        return QByteArray("<table:table-cell office:value-type=\"string\"><text:p>") + t +
               "</text:p></table:table-cell>";
    };
    auto formule = [](const char *f) {
        return QByteArray("<table:table-cell table:formula=\"") + f +
               "\" office:value-type=\"float\" office:value=\"0\"/>";
    };
    auto nombre = [](int n) {
        return QByteArray("<table:table-cell office:value-type=\"float\" office:value=\"") +
               QByteArray::number(n) + "\"/>";
    };
    if (ligne >= 7 && colonne == 3) return texte("taxon");
    if (ligne == 7 && colonne == 24) return texte("1234");
    if (ligne == 8 && colonne == 24) return texte("5678");
    if (colonne == 26 && ligne == 2) return formule("of:=SUM([.F7:.H8])");
    if (colonne == 26 && ligne == 3) return formule("of:=NA()");
    if (colonne == 26 && ligne == 4) return formule("of:=[.AA5]*2");
    if (colonne == 27 && ligne >= 2 && ligne <= 4)
        return nombre(ligne == 2 ? 5910 : ligne == 3 ? 6951 : 6034);
    return vide;
}

inline bool ecrireModeleIbgn(const QString &chemin)
{
    QByteArray xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document "
        "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
        "xmlns:of=\"urn:oasis:names:tc:opendocument:xmlns:of:1.2\" office:version=\"1.2\" "
        "office:mimetype=\"application/vnd.oasis.opendocument.spreadsheet\"><office:body>"
        "<office:spreadsheet><table:table table:name=\"IBGN\">";
    for (int ligne = 1; ligne <= 8; ++ligne) {
        xml += "<table:table-row>";
        for (int colonne = 1; colonne <= 27; ++colonne)
            xml += celluleOds(ligne, colonne);
        xml += "</table:table-row>";
    }
    xml += "</table:table></office:spreadsheet></office:body></office:document>\n";
    QFile f(chemin);
    return f.open(QIODevice::WriteOnly) && f.write(xml) == xml.size();
}

} // namespace vyk::test
