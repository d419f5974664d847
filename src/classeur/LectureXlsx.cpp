// .xlsx / .xlsm: the workbook's sheets and their relations, the shared strings, the cell styles
// (to tell dates from numbers) and each sheet's cells, read with a stream reader.

#include "classeur/Formats.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace vyk::classeur {

namespace {

const QString XL = QStringLiteral("xl/");

// Kind of number a cell style shows.
enum class Affichage : unsigned char
{
    Nombre,
    Date,
    Heure
};

struct Contenu
{
    QStringList chaines;
    QVector<Affichage> styles;
    bool systeme1904 = false;
};

QString cible(const QString &target)
{
    if (target.startsWith(u'/')) return target.mid(1);
    return XL + target;
}

// Characters XML cannot hold are written _xHHHH_.
QString sansEchappements(QString texte)
{
    if (!texte.contains(QLatin1String("_x"))) return texte;
    static const QRegularExpression echappement(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString r;
    qsizetype depuis = 0;
    for (auto it = echappement.globalMatch(texte); it.hasNext();) {
        const auto m = it.next();
        r += QStringView(texte).mid(depuis, m.capturedStart() - depuis);
        r += QChar(char16_t(m.captured(1).toUShort(nullptr, 16)));
        depuis = m.capturedEnd();
    }
    return r + QStringView(texte).mid(depuis).toString();
}

// The text of <si> or <is>: its <t>, or the <t> of its runs; phonetic hints left out.
QString texteRiche(QXmlStreamReader &xml)
{
    QString texte;
    const QString fin = xml.name().toString();
    int phonetique = 0;
    while (!xml.atEnd()) {
        const auto jeton = xml.readNext();
        if (jeton == QXmlStreamReader::StartElement) {
            if (xml.name() == u"rPh")
                ++phonetique;
            else if (xml.name() == u"t" && phonetique == 0)
                texte += xml.readElementText();
        } else if (jeton == QXmlStreamReader::EndElement) {
            if (xml.name() == u"rPh")
                --phonetique;
            else if (xml.name() == fin)
                break;
        }
    }
    return sansEchappements(texte);
}

// A number format shows a date when it holds a day, month or year letter outside quotes,
// escapes and brackets; a time when it holds only hours, minutes or seconds.
Affichage affichageFormat(const QString &format)
{
    bool date = false, heure = false, guillemet = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i].toLower();
        if (guillemet) {
            guillemet = c != u'"';
        } else if (c == u'"') {
            guillemet = true;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else if (c == u'[') {
            const qsizetype fin = format.indexOf(u']', i);
            if (fin < 0) break;
            const QString dedans = format.mid(i + 1, fin - i - 1).toLower();
            heure =
                heure || dedans == u"h" || dedans == u"hh" || dedans == u"mm" || dedans == u"ss";
            i = fin;
        } else if (c == u'd' || c == u'y') {
            date = true;
        } else if (c == u'm') {
            date = true; // a lone month or minute: read as a date unless an hour says otherwise
        } else if (c == u'h' || c == u's') {
            heure = true;
        }
    }
    if (heure && !format.contains(u'd', Qt::CaseInsensitive) &&
        !format.contains(u'y', Qt::CaseInsensitive))
        return Affichage::Heure;
    return date ? Affichage::Date : heure ? Affichage::Heure : Affichage::Nombre;
}

Affichage affichageIntegre(int id)
{
    if ((id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 36) || (id >= 50 && id <= 58))
        return Affichage::Date;
    if ((id >= 18 && id <= 21) || (id >= 45 && id <= 47)) return Affichage::Heure;
    return Affichage::Nombre;
}

QVector<Affichage> lireStyles(const QByteArray &octets)
{
    QHash<int, Affichage> formats;
    QVector<Affichage> styles;
    QXmlStreamReader xml(octets);
    bool dansXfs = false;
    while (!xml.atEnd()) {
        const auto jeton = xml.readNext();
        if (jeton == QXmlStreamReader::EndElement && xml.name() == u"cellXfs") dansXfs = false;
        if (jeton != QXmlStreamReader::StartElement) continue;
        const auto a = xml.attributes();
        if (xml.name() == u"numFmt") {
            formats.insert(attribut(a, u"numFmtId").toInt(),
                           affichageFormat(attribut(a, u"formatCode").toString()));
        } else if (xml.name() == u"cellXfs") {
            dansXfs = true;
        } else if (dansXfs && xml.name() == u"xf") {
            const int id = attribut(a, u"numFmtId").toInt();
            styles << formats.value(id, affichageIntegre(id));
        }
    }
    return styles;
}

QStringList lireChaines(const QByteArray &octets, QString &erreur)
{
    QStringList chaines;
    QXmlStreamReader xml(octets);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si")
            chaines << texteRiche(xml);
    }
    if (xml.hasError()) erreur = QStringLiteral("chaînes partagées illisibles");
    return chaines;
}

int colonneReference(QStringView ref)
{
    int colonne = 0;
    for (const QChar c : ref) {
        if (c < u'A' || c > u'Z') break;
        colonne = colonne * 26 + (c.unicode() - u'A' + 1);
        if (colonne > COLONNES_MAX) return 0;
    }
    return colonne;
}

QVariant valeurCellule(QStringView type, const QString &v, const QString &texteEnLigne,
                       Affichage affichage, const Contenu &contenu)
{
    if (type == u"inlineStr") return texteEnLigne;
    if (v.isNull()) return {};
    if (type == u"s") {
        bool ok = false;
        const int i = v.toInt(&ok);
        return ok && i >= 0 && i < contenu.chaines.size() ? QVariant(contenu.chaines[i])
                                                          : QVariant();
    }
    if (type == u"str" || type == u"e") return v;
    if (type == u"b") return v.trimmed() == u"1";
    if (type == u"d") {
        const QDateTime dt = QDateTime::fromString(v, Qt::ISODate);
        if (!dt.isValid()) return v;
        return dt.time() == QTime(0, 0) ? QVariant(dt.date()) : QVariant(dt);
    }
    bool ok = false;
    const double nombre = v.toDouble(&ok);
    if (!ok) return v;
    if (affichage == Affichage::Nombre) return nombre;
    return dateSerie(nombre, contenu.systeme1904, affichage == Affichage::Heure);
}

bool lireFeuille(const QByteArray &octets, const Contenu &contenu, Feuille &feuille,
                 QString &erreur)
{
    QXmlStreamReader xml(octets);
    int ligne = 0, colonne = 0;
    qint64 cellules = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == u"row") {
            const int r = attribut(xml.attributes(), u"r").toInt();
            ligne = r > 0 ? r : ligne + 1;
            colonne = 0;
            if (ligne > LIGNES_MAX) break;
            continue;
        }
        if (xml.name() != u"c") continue;
        const auto a = xml.attributes();
        const int c = colonneReference(attribut(a, u"r"));
        colonne = c > 0 ? c : colonne + 1;
        const QString type = attribut(a, u"t").toString();
        const int style = attribut(a, u"s").toInt();
        QString v, enLigne;
        while (xml.readNextStartElement()) {
            if (xml.name() == u"v")
                v = xml.readElementText();
            else if (xml.name() == u"is")
                enLigne = texteRiche(xml);
            else
                xml.skipCurrentElement();
        }
        const Affichage affichage =
            style >= 0 && style < contenu.styles.size() ? contenu.styles[style] : Affichage::Nombre;
        const QVariant valeur = valeurCellule(type, v, enLigne, affichage, contenu);
        if (ligne > 0 && colonne <= COLONNES_MAX && !valeur.isNull()) {
            if (++cellules > CELLULES_MAX) {
                erreur = QStringLiteral("feuille trop grande : ") + feuille.nom();
                return false;
            }
            feuille.ecrire(ligne, colonne, valeur);
        }
    }
    if (xml.hasError()) {
        erreur = QStringLiteral("feuille illisible : ") + feuille.nom() + QStringLiteral(" (") +
                 xml.errorString() + u')';
        return false;
    }
    return true;
}

struct FeuilleDeclaree
{
    QString nom, relation;
};

QVector<FeuilleDeclaree> lireClasseur(const QByteArray &octets, bool &systeme1904)
{
    QVector<FeuilleDeclaree> feuilles;
    QXmlStreamReader xml(octets);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const auto a = xml.attributes();
        if (xml.name() == u"workbookPr") {
            const auto d = attribut(a, u"date1904");
            systeme1904 = d == u"1" || d == u"true";
        } else if (xml.name() == u"sheet") {
            FeuilleDeclaree f{attribut(a, u"name").toString(), {}};
            for (const auto &att : a)
                if (att.name() == u"id" && !att.namespaceUri().isEmpty())
                    f.relation = att.value().toString();
            feuilles << f;
        }
    }
    if (xml.hasError()) feuilles.clear();
    return feuilles;
}

// Relation id -> member, and the members of the shared strings and the styles.
QHash<QString, QString> lireRelations(const QByteArray &octets, QString &chaines, QString &styles)
{
    QHash<QString, QString> r;
    QXmlStreamReader xml(octets);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"Relationship")
            continue;
        const auto a = xml.attributes();
        const QString membre = cible(attribut(a, u"Target").toString());
        r.insert(attribut(a, u"Id").toString(), membre);
        if (attribut(a, u"Type").endsWith(u"/sharedStrings")) chaines = membre;
        if (attribut(a, u"Type").endsWith(u"/styles")) styles = membre;
    }
    return r;
}

} // namespace

bool lireXlsx(const QString &chemin, QVector<Feuille> &feuilles, QString &detail)
{
    Paquet paquet;
    QByteArray octets;
    if (!paquet.ouvrir(chemin, detail) ||
        !paquet.lire(XL + QStringLiteral("workbook.xml"), octets, detail))
        return false;
    Contenu contenu;
    const QVector<FeuilleDeclaree> declarees = lireClasseur(octets, contenu.systeme1904);
    if (declarees.isEmpty()) {
        detail = QStringLiteral("classeur sans feuille lisible");
        return false;
    }
    QString chaines = XL + QStringLiteral("sharedStrings.xml"),
            styles = XL + QStringLiteral("styles.xml");
    QHash<QString, QString> relations;
    if (paquet.lire(XL + QStringLiteral("_rels/workbook.xml.rels"), octets, detail))
        relations = lireRelations(octets, chaines, styles);
    if (paquet.contient(chaines)) {
        if (!paquet.lire(chaines, octets, detail)) return false;
        contenu.chaines = lireChaines(octets, detail);
        if (!detail.isEmpty()) return false;
    }
    if (paquet.contient(styles) && paquet.lire(styles, octets, detail))
        contenu.styles = lireStyles(octets);
    detail.clear();
    for (int i = 0; i < declarees.size(); ++i) {
        const QString membre = relations.value(
            declarees[i].relation, XL + QStringLiteral("worksheets/sheet%1.xml").arg(i + 1));
        Feuille feuille(declarees[i].nom);
        // A chart sheet has no cells: it stays, empty, in its place.
        if (membre.contains(QLatin1String("worksheets/"))) {
            if (!paquet.lire(membre, octets, detail) ||
                !lireFeuille(octets, contenu, feuille, detail))
                return false;
        }
        feuilles << feuille;
    }
    return true;
}

} // namespace vyk::classeur
