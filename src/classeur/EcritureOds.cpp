// .ods written by hand: "mimetype" first and stored, then the manifest and content.xml; dates
// carry a date style so that a spreadsheet shows them as dates.

#include "classeur/Formats.h"

#include <QDate>
#include <QXmlStreamWriter>

namespace vyk::classeur {

namespace {

const QByteArray MIMETYPE = "application/vnd.oasis.opendocument.spreadsheet";

const QByteArray MANIFESTE =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" "
    "manifest:version=\"1.2\">\n"
    " <manifest:file-entry manifest:full-path=\"/\" manifest:version=\"1.2\" "
    "manifest:media-type=\"application/vnd.oasis.opendocument.spreadsheet\"/>\n"
    " <manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>\n"
    "</manifest:manifest>\n";

void stylesDate(QXmlStreamWriter &x)
{
    x.writeStartElement(QStringLiteral("office:automatic-styles"));
    x.writeStartElement(QStringLiteral("number:date-style"));
    x.writeAttribute(QStringLiteral("style:name"), QStringLiteral("N1"));
    for (const auto &[element, style] : {std::pair{"number:day", "long"},
                                         {"number:text", ""},
                                         {"number:month", "long"},
                                         {"number:text", ""},
                                         {"number:year", "long"}}) {
        x.writeStartElement(QLatin1String(element));
        if (*style)
            x.writeAttribute(QStringLiteral("number:style"), QLatin1String(style));
        else
            x.writeCharacters(QStringLiteral("/"));
        x.writeEndElement();
    }
    x.writeEndElement();
    x.writeStartElement(QStringLiteral("style:style"));
    x.writeAttribute(QStringLiteral("style:name"), QStringLiteral("ce1"));
    x.writeAttribute(QStringLiteral("style:family"), QStringLiteral("table-cell"));
    x.writeAttribute(QStringLiteral("style:data-style-name"), QStringLiteral("N1"));
    x.writeEndElement();
    x.writeEndElement();
}

void ecrireValeur(QXmlStreamWriter &x, const QVariant &v)
{
    const auto type = v.typeId();
    QString texte = texteCellule(v);
    if (type == QMetaType::Double || type == QMetaType::Float || type == QMetaType::Int ||
        type == QMetaType::LongLong || type == QMetaType::UInt || type == QMetaType::ULongLong) {
        x.writeAttribute(QStringLiteral("office:value-type"), QStringLiteral("float"));
        x.writeAttribute(QStringLiteral("office:value"),
                         QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest));
        texte = texteCellule(v.toDouble());
    } else if (type == QMetaType::Bool) {
        x.writeAttribute(QStringLiteral("office:value-type"), QStringLiteral("boolean"));
        x.writeAttribute(QStringLiteral("office:boolean-value"),
                         v.toBool() ? QStringLiteral("true") : QStringLiteral("false"));
    } else if (type == QMetaType::QDate || type == QMetaType::QDateTime) {
        x.writeAttribute(QStringLiteral("table:style-name"), QStringLiteral("ce1"));
        x.writeAttribute(QStringLiteral("office:value-type"), QStringLiteral("date"));
        x.writeAttribute(QStringLiteral("office:date-value"),
                         type == QMetaType::QDate
                             ? v.toDate().toString(Qt::ISODate)
                             : v.toDateTime().toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")));
    } else if (type == QMetaType::QTime) {
        x.writeAttribute(QStringLiteral("office:value-type"), QStringLiteral("time"));
        x.writeAttribute(QStringLiteral("office:time-value"),
                         v.toTime().toString(QStringLiteral("'PT'hh'H'mm'M'ss'S'")));
    } else {
        x.writeAttribute(QStringLiteral("office:value-type"), QStringLiteral("string"));
    }
    // Line breaks and runs of spaces are elements of their own in a paragraph; the string
    // value keeps the text exact for every reader.
    if (type == QMetaType::QString && texte != texte.simplified())
        x.writeAttribute(QStringLiteral("office:string-value"), texte);
    x.writeTextElement(QStringLiteral("text:p"), texte);
}

void ecrireTable(QXmlStreamWriter &x, const Feuille &f)
{
    x.writeStartElement(QStringLiteral("table:table"));
    x.writeAttribute(QStringLiteral("table:name"), f.nom());
    x.writeEmptyElement(QStringLiteral("table:table-column"));
    x.writeAttribute(QStringLiteral("table:number-columns-repeated"),
                     QString::number(std::max(f.derniereColonne(), 1)));
    for (int l = 1; l <= f.derniereLigne(); ++l) {
        x.writeStartElement(QStringLiteral("table:table-row"));
        int vides = 0;
        for (int c = 1; c <= f.derniereColonne(); ++c) {
            const QVariant &v = f.cellule(l, c).valeur;
            if (v.isNull()) {
                ++vides;
                continue;
            }
            if (vides > 0) {
                x.writeEmptyElement(QStringLiteral("table:table-cell"));
                if (vides > 1)
                    x.writeAttribute(QStringLiteral("table:number-columns-repeated"),
                                     QString::number(vides));
                vides = 0;
            }
            x.writeStartElement(QStringLiteral("table:table-cell"));
            ecrireValeur(x, v);
            x.writeEndElement();
        }
        if (f.derniereColonne() == 0 || vides == f.derniereColonne())
            x.writeEmptyElement(QStringLiteral("table:table-cell"));
        x.writeEndElement();
    }
    x.writeEndElement();
}

QByteArray contenu(const QVector<Feuille> &feuilles)
{
    QByteArray octets;
    QXmlStreamWriter x(&octets);
    x.writeStartDocument();
    x.writeStartElement(QStringLiteral("office:document-content"));
    for (const auto &[prefixe, ns] : {std::pair{"office", "office:1.0"},
                                      {"table", "table:1.0"},
                                      {"text", "text:1.0"},
                                      {"style", "style:1.0"},
                                      {"number", "datastyle:1.0"}})
        x.writeAttribute(QStringLiteral("xmlns:") + QLatin1String(prefixe),
                         QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:") +
                             QLatin1String(ns));
    x.writeAttribute(QStringLiteral("office:version"), QStringLiteral("1.2"));
    stylesDate(x);
    x.writeStartElement(QStringLiteral("office:body"));
    x.writeStartElement(QStringLiteral("office:spreadsheet"));
    for (const Feuille &f : feuilles)
        ecrireTable(x, f);
    x.writeEndDocument();
    return octets;
}

} // namespace

bool ecrireOds(const QString &chemin, const QVector<Feuille> &feuilles, QString &detail)
{
    return ecrirePaquet(chemin,
                        {{QStringLiteral("mimetype"), MIMETYPE},
                         {QStringLiteral("META-INF/manifest.xml"), MANIFESTE},
                         {QStringLiteral("content.xml"), contenu(feuilles)}},
                        1, detail);
}

} // namespace vyk::classeur
