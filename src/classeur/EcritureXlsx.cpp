// .xlsx written by hand: shared strings, numbers, booleans, and dates as day numbers of the
// 1900 system with a day format, so that they read back as dates.

#include "classeur/Formats.h"

#include <QDate>
#include <QHash>
#include <QXmlStreamWriter>

namespace vyk::classeur {

namespace {

const QByteArray TYPES =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" "
    "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/xl/workbook.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
    "<Override PartName=\"/xl/styles.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
    "<Override PartName=\"/xl/sharedStrings.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/"
    ">"
    "%1</Types>";

const QByteArray RELATIONS_RACINE =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"xl/workbook.xml\"/></Relationships>";

// Style 1: day, 2: day and time, 3: time.
const QByteArray STYLES =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<numFmts count=\"3\"><numFmt numFmtId=\"164\" formatCode=\"dd/mm/yyyy\"/>"
    "<numFmt numFmtId=\"165\" formatCode=\"dd/mm/yyyy\\ hh:mm:ss\"/>"
    "<numFmt numFmtId=\"166\" formatCode=\"hh:mm:ss\"/></numFmts>"
    "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
    "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
    "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
    "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
    "borderId=\"0\"/></cellStyleXfs>"
    "<cellXfs count=\"4\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
    "<xf numFmtId=\"164\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
    "applyNumberFormat=\"1\"/>"
    "<xf numFmtId=\"165\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
    "applyNumberFormat=\"1\"/>"
    "<xf numFmtId=\"166\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
    "applyNumberFormat=\"1\"/>"
    "</cellXfs></styleSheet>";

const QString NS_PRINCIPAL =
    QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main");
const QString NS_RELATIONS =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");

// Characters XML cannot hold (and a carriage return, which a parser would turn into a line
// feed) as _xHHHH_; a text that looks like such an escape has its underscore escaped.
QString echapper(const QString &texte)
{
    QString r;
    r.reserve(texte.size());
    for (qsizetype i = 0; i < texte.size(); ++i) {
        const char16_t c = texte[i].unicode();
        if ((c < 0x20 && c != u'\t' && c != u'\n') || c == 0xFFFE || c == 0xFFFF)
            r += QStringLiteral("_x%1_")
                     .arg(int(c), 4, 16, QLatin1Char('0'))
                     .toUpper()
                     .replace(QLatin1String("_X"), QLatin1String("_x"));
        else if (c == u'_' && i + 6 < texte.size() && texte[i + 1] == u'x' && texte[i + 6] == u'_')
            r += QLatin1String("_x005F_");
        else
            r += QChar(c);
    }
    return r;
}

double serie(const QDate &date, const QTime &heure)
{
    double jours = 0;
    // Before March 1900 the system has no 29 February behind it.
    if (date.isValid())
        jours = double(date < QDate(1900, 3, 1) ? QDate(1899, 12, 31).daysTo(date)
                                                : QDate(1899, 12, 30).daysTo(date));
    return jours + QTime(0, 0).secsTo(heure) / 86400.0;
}

QString nomColonne(int colonne)
{
    QString nom;
    for (; colonne > 0; colonne = (colonne - 1) / 26)
        nom.prepend(QChar(u'A' + (colonne - 1) % 26));
    return nom;
}

// A sheet holds only references, numbers and string indices: its XML is written directly, the
// texts going to the shared strings.
class Ecriture
{
  public:
    QByteArray feuille(const Feuille &f)
    {
        QByteArray octets = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<worksheet xmlns=\"" +
                            NS_PRINCIPAL.toLatin1() + "\"><sheetData>";
        QVector<QByteArray> colonnes;
        for (int c = 1; c <= f.derniereColonne(); ++c)
            colonnes << nomColonne(c).toLatin1();
        for (int l = 1; l <= f.derniereLigne(); ++l) {
            const QByteArray ligne = QByteArray::number(l);
            octets += "<row r=\"" + ligne + "\">";
            for (int c = 1; c <= f.derniereColonne(); ++c) {
                const QVariant &v = f.cellule(l, c).valeur;
                if (!v.isNull()) cellule(octets, colonnes[c - 1] + ligne, v);
            }
            octets += "</row>";
        }
        octets += "</sheetData></worksheet>";
        return octets;
    }

    QByteArray chainesPartagees() const
    {
        QByteArray octets;
        QXmlStreamWriter x(&octets);
        x.writeStartDocument();
        x.writeDefaultNamespace(NS_PRINCIPAL);
        x.writeStartElement(QStringLiteral("sst"));
        x.writeAttribute(QStringLiteral("uniqueCount"), QString::number(m_chaines.size()));
        for (const QString &c : m_chaines) {
            x.writeStartElement(QStringLiteral("si"));
            x.writeStartElement(QStringLiteral("t"));
            x.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
            x.writeCharacters(echapper(c));
            x.writeEndElement();
            x.writeEndElement();
        }
        x.writeEndDocument();
        return octets;
    }

  private:
    void cellule(QByteArray &octets, const QByteArray &ref, const QVariant &v)
    {
        octets += "<c r=\"" + ref + '"';
        double nombre = 0;
        switch (v.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            nombre = v.toDouble();
            break;
        case QMetaType::Bool:
            octets += v.toBool() ? " t=\"b\"><v>1</v></c>" : " t=\"b\"><v>0</v></c>";
            return;
        case QMetaType::QDate:
            octets += " s=\"1\"";
            nombre = serie(v.toDate(), QTime(0, 0));
            break;
        case QMetaType::QDateTime:
            octets += " s=\"2\"";
            nombre = serie(v.toDateTime().date(), v.toDateTime().time());
            break;
        case QMetaType::QTime:
            octets += " s=\"3\"";
            nombre = serie(QDate(), v.toTime());
            break;
        default:
            octets += " t=\"s\"><v>" + QByteArray::number(indice(v.toString())) + "</v></c>";
            return;
        }
        octets +=
            "><v>" + QByteArray::number(nombre, 'g', QLocale::FloatingPointShortest) + "</v></c>";
    }

    qsizetype indice(const QString &texte)
    {
        const auto it = m_indices.constFind(texte);
        if (it != m_indices.cend()) return *it;
        m_chaines << texte;
        return *m_indices.insert(texte, m_chaines.size() - 1);
    }

    QStringList m_chaines;
    QHash<QString, qsizetype> m_indices;
};

QByteArray classeur(const QVector<Feuille> &feuilles, QByteArray &relations, QByteArray &types)
{
    QByteArray octets;
    QXmlStreamWriter x(&octets), r(&relations);
    x.writeStartDocument();
    x.writeDefaultNamespace(NS_PRINCIPAL);
    x.writeNamespace(NS_RELATIONS, QStringLiteral("r"));
    x.writeStartElement(QStringLiteral("workbook"));
    x.writeStartElement(QStringLiteral("sheets"));
    r.writeStartDocument();
    r.writeDefaultNamespace(
        QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships"));
    r.writeStartElement(QStringLiteral("Relationships"));
    const QString base =
        QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/");
    for (int i = 1; i <= feuilles.size(); ++i) {
        x.writeEmptyElement(QStringLiteral("sheet"));
        x.writeAttribute(QStringLiteral("name"), feuilles[i - 1].nom());
        x.writeAttribute(QStringLiteral("sheetId"), QString::number(i));
        x.writeAttribute(NS_RELATIONS, QStringLiteral("id"), QStringLiteral("rId%1").arg(i));
        r.writeEmptyElement(QStringLiteral("Relationship"));
        r.writeAttribute(QStringLiteral("Id"), QStringLiteral("rId%1").arg(i));
        r.writeAttribute(QStringLiteral("Type"), base + QStringLiteral("worksheet"));
        r.writeAttribute(QStringLiteral("Target"), QStringLiteral("worksheets/sheet%1.xml").arg(i));
        types += "<Override PartName=\"/xl/worksheets/sheet" + QByteArray::number(i) +
                 ".xml\" "
                 "ContentType=\"application/"
                 "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
    }
    for (const auto &[id, type, cible] : {std::tuple{"rIdS", "styles", "styles.xml"},
                                          {"rIdC", "sharedStrings", "sharedStrings.xml"}}) {
        r.writeEmptyElement(QStringLiteral("Relationship"));
        r.writeAttribute(QStringLiteral("Id"), QLatin1String(id));
        r.writeAttribute(QStringLiteral("Type"), base + QLatin1String(type));
        r.writeAttribute(QStringLiteral("Target"), QLatin1String(cible));
    }
    r.writeEndDocument();
    x.writeEndDocument();
    return octets;
}

} // namespace

bool ecrireXlsx(const QString &chemin, const QVector<Feuille> &feuilles, QString &detail)
{
    QVector<std::pair<QString, QByteArray>> membres;
    QByteArray relations, types;
    membres.append({QStringLiteral("xl/workbook.xml"), classeur(feuilles, relations, types)});
    membres.append({QStringLiteral("xl/_rels/workbook.xml.rels"), relations});
    membres.append({QStringLiteral("_rels/.rels"), RELATIONS_RACINE});
    membres.append({QStringLiteral("xl/styles.xml"), STYLES});
    Ecriture ecriture;
    for (int i = 0; i < feuilles.size(); ++i)
        membres.append({QStringLiteral("xl/worksheets/sheet%1.xml").arg(i + 1),
                        ecriture.feuille(feuilles[i])});
    membres.append({QStringLiteral("xl/sharedStrings.xml"), ecriture.chainesPartagees()});
    membres.prepend(
        {QStringLiteral("[Content_Types].xml"), QByteArray(TYPES).replace("%1", types)});
    return ecrirePaquet(chemin, membres, 0, detail);
}

} // namespace vyk::classeur
