// .ods: the tables of content.xml, their repeated rows and columns (the trailing empty ones
// cost nothing), covered cells as empty cells in their place.

#include "classeur/Formats.h"

#include <QDate>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace vyk::classeur {

namespace {

const QString NS_TABLE = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString NS_OFFICE = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString NS_TEXTE = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");

int repetition(const QXmlStreamAttributes &a, QStringView nom)
{
    const int n = attribut(a, nom, NS_TABLE).toInt();
    return n > 0 ? n : 1;
}

// The text of a paragraph: its spans and links, runs of spaces, tabs and line breaks; notes
// left out.
void texteParagraphe(QXmlStreamReader &xml, QString &texte)
{
    while (!xml.atEnd()) {
        const auto jeton = xml.readNext();
        if (jeton == QXmlStreamReader::Characters) {
            texte += xml.text();
        } else if (jeton == QXmlStreamReader::EndElement) {
            return;
        } else if (jeton == QXmlStreamReader::StartElement) {
            const auto nom = xml.name();
            if (nom == u"s") {
                const int n = attribut(xml.attributes(), u"c", NS_TEXTE).toInt();
                texte += QString(std::clamp(n, 1, 1000), u' ');
                xml.skipCurrentElement();
            } else if (nom == u"tab") {
                texte += u'\t';
                xml.skipCurrentElement();
            } else if (nom == u"line-break") {
                texte += u'\n';
                xml.skipCurrentElement();
            } else if (nom == u"note" || nom == u"annotation" || nom == u"ruby-text") {
                xml.skipCurrentElement();
            } else {
                texteParagraphe(xml, texte);
            }
        }
    }
}

QVariant duree(QStringView t)
{
    static const QRegularExpression forme(
        QStringLiteral("^-?P(?:(\\d+)D)?T?(?:(\\d+)H)?(?:(\\d+)M)?(?:([\\d.]+)S)?$"));
    const auto m = forme.match(t);
    if (!m.hasMatch()) return t.toString();
    const qint64 s = m.captured(1).toLongLong() * 86400 + m.captured(2).toLongLong() * 3600 +
                     m.captured(3).toLongLong() * 60 + qint64(m.captured(4).toDouble() + 0.5);
    return QTime(0, 0).addSecs(int(s % 86400));
}

// The value of a cell; the reader is left at the cell's end.
QVariant valeurCellule(QXmlStreamReader &xml)
{
    const auto a = xml.attributes();
    const QString type = attribut(a, u"value-type", NS_OFFICE).toString();
    QVariant valeur;
    if (type == u"float" || type == u"percentage" || type == u"currency") {
        valeur = attribut(a, u"value", NS_OFFICE).toDouble();
    } else if (type == u"boolean") {
        valeur = attribut(a, u"boolean-value", NS_OFFICE) == u"true";
    } else if (type == u"date") {
        const QString d = attribut(a, u"date-value", NS_OFFICE).toString();
        const QDateTime dt = QDateTime::fromString(d, Qt::ISODate);
        if (d.size() == 10)
            valeur = QDate::fromString(d, Qt::ISODate);
        else if (dt.isValid())
            valeur = dt.time() == QTime(0, 0) ? QVariant(dt.date()) : QVariant(dt);
    } else if (type == u"time") {
        valeur = duree(attribut(a, u"time-value", NS_OFFICE));
    } else if (!attribut(a, u"string-value", NS_OFFICE).isNull()) {
        valeur = attribut(a, u"string-value", NS_OFFICE).toString();
    }
    QString texte;
    int paragraphes = 0;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"p" && xml.namespaceUri() == NS_TEXTE) {
            if (paragraphes++ > 0) texte += u'\n';
            texteParagraphe(xml, texte);
        } else {
            xml.skipCurrentElement();
        }
    }
    if (valeur.isNull() && !texte.isEmpty()) valeur = texte;
    return valeur;
}

struct Lecture
{
    Feuille *feuille = nullptr;
    int ligne = 0;
    qint64 cellules = 0;
    QString erreur;
};

// One row: its cells in place, repeated as the file says; the reader is left at the row's end.
bool lireLigne(QXmlStreamReader &xml, Lecture &l)
{
    const int fois =
        std::min(repetition(xml.attributes(), u"number-rows-repeated"), LIGNES_MAX - l.ligne);
    QVector<std::pair<int, QVariant>> cellules;
    int colonne = 0;
    while (xml.readNextStartElement()) {
        const auto nom = xml.name();
        if (nom != u"table-cell" && nom != u"covered-table-cell") {
            xml.skipCurrentElement();
            continue;
        }
        const int n = repetition(xml.attributes(), u"number-columns-repeated");
        const QVariant valeur = valeurCellule(xml);
        if (!valeur.isNull())
            for (int k = 1; k <= n && colonne + k <= COLONNES_MAX; ++k)
                cellules.append({colonne + k, valeur});
        colonne = int(std::min<qint64>(qint64(colonne) + n, COLONNES_MAX));
    }
    if (cellules.isEmpty() || fois <= 0) {
        l.ligne += std::max(fois, 0);
        return true;
    }
    if ((l.cellules += qint64(cellules.size()) * fois) > CELLULES_MAX) {
        l.erreur = QStringLiteral("feuille trop grande : ") + l.feuille->nom();
        return false;
    }
    for (int k = 0; k < fois; ++k) {
        ++l.ligne;
        for (const auto &[c, v] : cellules)
            l.feuille->ecrire(l.ligne, c, v);
    }
    return true;
}

bool lireTable(QXmlStreamReader &xml, Feuille &feuille, QString &erreur)
{
    Lecture l;
    l.feuille = &feuille;
    int profondeur = 1;
    while (!xml.atEnd() && profondeur > 0) {
        const auto jeton = xml.readNext();
        if (jeton == QXmlStreamReader::EndElement) {
            --profondeur;
        } else if (jeton == QXmlStreamReader::StartElement) {
            if (xml.name() == u"table-row") {
                if (!lireLigne(xml, l)) {
                    erreur = l.erreur;
                    return false;
                }
            } else if (xml.name() == u"table-row-group" || xml.name() == u"table-header-rows" ||
                       xml.name() == u"table-rows") {
                ++profondeur;
            } else {
                xml.skipCurrentElement();
            }
        }
    }
    return true;
}

} // namespace

bool lireOds(const QString &chemin, QVector<Feuille> &feuilles, QString &detail)
{
    Paquet paquet;
    QByteArray octets;
    if (!paquet.ouvrir(chemin, detail) ||
        !paquet.lire(QStringLiteral("content.xml"), octets, detail))
        return false;
    QXmlStreamReader xml(octets);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"table" ||
            xml.namespaceUri() != NS_TABLE)
            continue;
        feuilles.append(Feuille(attribut(xml.attributes(), u"name", NS_TABLE).toString()));
        if (!lireTable(xml, feuilles.last(), detail)) return false;
    }
    if (xml.hasError()) {
        detail = QStringLiteral("contenu illisible (") + xml.errorString() + u')';
        return false;
    }
    if (feuilles.isEmpty()) {
        detail = QStringLiteral("classeur sans feuille");
        return false;
    }
    return true;
}

} // namespace vyk::classeur
