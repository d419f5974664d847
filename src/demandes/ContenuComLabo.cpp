// The COM_LABO document: what it needs is read in a few queries (stations and their points by
// blocks of codes, not one query per station), then written line by line, each line ended by a
// single carriage return, every value escaped.

#include "demandes/ContenuComLabo.h"

#include "db/BaseDonnees.h"
#include "db/Sql.h"
#include "schema/Catalogue.h"

namespace vyk {

namespace {

constexpr int TAILLE_BLOC = 500;
constexpr int LONGUEUR_LIBELLE = 80;

const QString ESPACE_NOMS = QStringLiteral("http://xml.sandre.eaufrance.fr/scenario/com_labo/1");
const QString ESPACE_XSI = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");

bool caractereAdmis(char16_t c)
{
    return c >= 0x20 ? (c < 0xFFFE) : (c == u'\t' || c == u'\n' || c == u'\r');
}

QString listeSql(const QStringList &valeurs)
{
    QStringList l;
    for (const QString &v : valeurs)
        l << sqlTexte(v);
    return l.join(u',');
}

// The text of a coordinate: a number with "." whatever the engine gave.
QString coordonnee(const QVariant &v)
{
    return texteValeur(v).replace(u',', u'.');
}

// The x, y and projection of a row; `sinon` when any of the three is missing.
CoordonneesComLabo coordonneesLues(const Tableau &t, int ligne, const CoordonneesComLabo &sinon)
{
    const QVariant &x = t.valeur(ligne, QStringLiteral("x"));
    const QVariant &y = t.valeur(ligne, QStringLiteral("y"));
    const QVariant &projection = t.valeur(ligne, QStringLiteral("projection"));
    if (x.isNull() || y.isNull() || projection.isNull()) return sinon;
    return {coordonnee(x), coordonnee(y), texteValeur(projection)};
}

} // namespace

QString echapperXml(const QString &texte)
{
    qsizetype i = 0;
    for (; i < texte.size(); ++i) {
        const char16_t c = texte[i].unicode();
        if (c == u'&' || c == u'<' || c == u'>' || c == u'"' || !caractereAdmis(c)) break;
    }
    if (i == texte.size()) return texte;
    QString r = texte.left(i);
    r.reserve(texte.size() + 16);
    for (; i < texte.size(); ++i) {
        const QChar c = texte[i];
        switch (c.unicode()) {
        case u'&':
            r += QLatin1String("&amp;");
            break;
        case u'<':
            r += QLatin1String("&lt;");
            break;
        case u'>':
            r += QLatin1String("&gt;");
            break;
        case u'"':
            r += QLatin1String("&quot;");
            break;
        default:
            // A control character cannot stand in an XML document at all: dropped.
            if (caractereAdmis(c.unicode()) || c.isSurrogate()) r += c;
        }
    }
    return r;
}

// --- Ecriture ---------------------------------------------------------------------------------

void EcritureComLabo::retrait(int n)
{
    m_octets.append(QByteArrayView("                ").first(n));
}

void EcritureComLabo::ligne(int n, QByteArrayView texte)
{
    retrait(n);
    m_octets.append(texte).append('\r');
}

void EcritureComLabo::balise(int n, QByteArrayView debut, QByteArrayView nom)
{
    retrait(n);
    m_octets.append(debut).append(nom).append(">\r");
}

// Most values are plain ASCII: copied byte for byte; any other goes through the escaping and
// the UTF-8 encoder.
void EcritureComLabo::valeur(const QString &texte)
{
    const qsizetype debut = m_octets.size();
    m_octets.resize(debut + texte.size());
    char *sortie = m_octets.data() + debut;
    for (const QChar c : texte) {
        const char16_t u = c.unicode();
        if (u >= 0x80 || u < 0x20 || u == u'&' || u == u'<' || u == u'>' || u == u'"') {
            m_octets.truncate(debut);
            m_octets.append(echapperXml(texte).toUtf8());
            return;
        }
        *sortie++ = char(u);
    }
}

void EcritureComLabo::fin(QByteArrayView nom)
{
    m_octets.append("</").append(nom).append(">\r");
}

void EcritureComLabo::element(int n, QByteArrayView nom, const QString &texte)
{
    retrait(n);
    m_octets.append('<').append(nom).append('>');
    valeur(texte);
    fin(nom);
}

void EcritureComLabo::elementSchema(int n, QByteArrayView nom, const QString &schema,
                                    const QString &texte)
{
    retrait(n);
    m_octets.append('<').append(nom).append(" schemeAgencyID=\"");
    valeur(schema);
    m_octets.append("\">");
    valeur(texte);
    fin(nom);
}

void EcritureComLabo::codeIntervenant(const OrganismeComLabo &o)
{
    if (!o.siret.isEmpty())
        elementSchema(7, "CdIntervenant", QStringLiteral("SIRET"), o.siret);
    else
        elementSchema(7, "CdIntervenant", QStringLiteral("SANDRE"), o.sandre);
}

void EcritureComLabo::blocCode(int n, QByteArrayView nom, const OrganismeComLabo &o)
{
    balise(n, "<", nom);
    codeIntervenant(o);
    balise(n, "</", nom);
}

// --- Données ----------------------------------------------------------------------------------

QHash<QString, OrganismeComLabo> lireOrganismesComLabo(const QStringList &codes)
{
    QHash<QString, OrganismeComLabo> organismes;
    QStringList definis;
    for (const QString &code : codes) {
        OrganismeComLabo o;
        o.code = code.trimmed();
        organismes.insert(o.code, o);
        if (!o.code.isEmpty()) definis << o.code;
    }
    if (definis.isEmpty()) return organismes;
    const Tableau t = bd().extraire(
        QStringLiteral(
            "SELECT cstr(codeIntervenant) AS code, Nom, siret, codeSandre FROM INTERVENANTS "
            "WHERE cstr(codeIntervenant) IN (") +
        listeSql(definis) + u')');
    for (int i = 0; i < t.nbLignes(); ++i) {
        const auto o = organismes.find(t.texte(i, QStringLiteral("code")).trimmed());
        if (o == organismes.end()) continue;
        o->nom = t.texte(i, QStringLiteral("Nom"));
        o->siret = t.texte(i, QStringLiteral("siret")).trimmed();
        o->sandre = t.texte(i, QStringLiteral("codeSandre")).trimmed();
    }
    return organismes;
}

QHash<int, StationComLabo> lireStations(const QVector<int> &codes, const QString &identifiantPoint,
                                        bool avecDesignation)
{
    QHash<int, StationComLabo> stations;
    for (qsizetype debut = 0; debut < codes.size(); debut += TAILLE_BLOC) {
        QStringList bloc;
        for (qsizetype i = debut; i < std::min(codes.size(), debut + TAILLE_BLOC); ++i)
            bloc << QString::number(codes[i]);
        const QString dans = QStringLiteral(" IN (") + bloc.join(u',') + u')';
        const Tableau t = bd().extraire(
            QStringLiteral(
                "SELECT Q.codeQualitometre AS station, Q.codeBSS AS codeBSS, COMMUNES.nom AS "
                "commune, Q.typeStation AS typeStation, Q.nom AS nom, Q.Designation AS "
                "designation, Q.X AS x, Q.Y AS y, Q.TypeProjection AS projection "
                "FROM QUALITOMETRES Q "
                "LEFT JOIN COMMUNES ON ") +
            conditionCodeCommune(QStringLiteral("Q.codeCommune"),
                                 QStringLiteral("COMMUNES.codeCommune")) +
            QStringLiteral(" WHERE Q.codeQualitometre") + dans);
        for (int i = 0; i < t.nbLignes(); ++i) {
            StationComLabo s;
            s.identifiant = t.texte(i, QStringLiteral("codeBSS")).trimmed();
            const QString designation = t.texte(i, QStringLiteral("designation")).trimmed();
            if (avecDesignation && !designation.isEmpty()) s.identifiant += u'/' + designation;
            s.schema = schemaStation(t.texte(i, QStringLiteral("typeStation")).trimmed());
            const QString nom = t.texte(i, QStringLiteral("nom"));
            const QString commune = t.texte(i, QStringLiteral("commune")).trimmed();
            s.libelle = (commune.isEmpty() ? nom : nom + QStringLiteral(" (") + commune + u')')
                            .left(LONGUEUR_LIBELLE);
            s.coordonnees = coordonneesLues(t, i, s.coordonnees);
            stations.insert(t.valeur(i, QStringLiteral("station")).toInt(), s);
        }
        const Tableau p = bd().extraire(
            QStringLiteral("SELECT codeQualitometre AS station, nom, x, y, typeprojection AS "
                           "projection FROM qualitometres_points WHERE identifiant=") +
            sqlTexte(identifiantPoint) + QStringLiteral(" AND codeQualitometre") + dans +
            QStringLiteral(" ORDER BY codeQualitometre, dateDebut DESC"));
        for (int i = 0; i < p.nbLignes(); ++i) {
            auto it = stations.find(p.valeur(i, QStringLiteral("station")).toInt());
            if (it == stations.end() || it->avecPoint) continue;
            it->avecPoint = true;
            const QString nom = p.texte(i, QStringLiteral("nom")).trimmed();
            it->nomPoint =
                nom.isEmpty() ? QStringLiteral("Non renseigné") : nom.left(LONGUEUR_LIBELLE);
            it->coordonneesPoint = coordonneesLues(p, i, it->coordonneesPoint);
        }
    }
    return stations;
}

QHash<QString, QStringList> lireLibelles(const QString &table, const QString &colonnes,
                                         const QStringList &codes)
{
    QHash<QString, QStringList> libelles;
    if (codes.isEmpty()) return libelles;
    const Tableau t =
        bd().extraire(QStringLiteral("SELECT Code, ") + colonnes + QStringLiteral(" FROM ") +
                      table + QStringLiteral(" WHERE Code IN (") + listeSql(codes) + u')');
    // The caller's columns come after the code, in the caller's order.
    for (int i = 0; i < t.nbLignes(); ++i) {
        QStringList l;
        for (int c = 1; c < t.nbColonnes(); ++c)
            l << t.texte(i, c);
        libelles.insert(t.texte(i, QStringLiteral("Code")).trimmed(), l);
    }
    return libelles;
}

QString schemaStation(const QString &typeStation)
{
    if (typeStation == QLatin1String("0")) return QStringLiteral("3");
    static const QStringList rivieres = {"1", "2", "3", "5", "6"};
    return rivieres.contains(typeStation) ? QStringLiteral("1") : QStringLiteral("0");
}

QString identifiantPoint(const QString &support)
{
    const QString s = support.trimmed();
    return (s.size() == 2 ? s : QStringLiteral("0") + s) + u'1';
}

QString espaceNomsComLabo()
{
    return ESPACE_NOMS;
}

QString racineComLabo()
{
    return QStringLiteral("<COM_LABO xmlns=\"") + ESPACE_NOMS + QStringLiteral("\" xmlns:xsi=\"") +
           ESPACE_XSI + QStringLiteral("\">");
}

} // namespace vyk
