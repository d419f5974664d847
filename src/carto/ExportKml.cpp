#include "carto/ExportKml.h"

#include "carto/Projections.h"
#include "carto/SiteWeb.h"

#include "db/BaseDonnees.h"
#include "db/Outils.h"
#include "db/Sql.h"

#include <QDir>
#include <QHash>

#include <charconv>
#include <cmath>

namespace vyk {

namespace {

// Stations read per statement: IN lists stay short on every engine.
constexpr int PAR_REQUETE = 500;

const char *const STYLES[][2] = {{"transGreenPoly", "7d00ff00"},
                                 {"transYellowPoly", "7d00ffff"},
                                 {"transRedPoly", "7d0000ff"},
                                 {"transBluePoly", "7dff0000"}};

// A name as XML text: markup characters escaped, characters XML 1.0 cannot hold dropped.
QByteArray texteXml(const QString &texte)
{
    QString propre;
    propre.reserve(texte.size());
    for (const QChar c : texte)
        if (c.unicode() >= 0x20 || c == u'\t' || c == u'\n' || c == u'\r') propre += c;
    return propre.toHtmlEscaped().replace(u'\'', QStringLiteral("&apos;")).toUtf8();
}

struct Position
{
    double x = 0, y = 0;
    QVariant z;
};

void ajouterPositions(const Tableau &t, QHash<qint64, Position> &positions)
{
    for (int l = 0; l < t.nbLignes(); ++l) {
        const qint64 station = qint64(t.valeur(l, QStringLiteral("CodeQualitometre")).toDouble());
        if (!positions.contains(station))
            positions.insert(station, {t.valeur(l, QStringLiteral("X")).toDouble(),
                                       t.valeur(l, QStringLiteral("Y")).toDouble(),
                                       t.valeur(l, QStringLiteral("Z"))});
    }
}

// The stored positions of the stations in the projection, one per station: by groups of
// stations for a short list, in one statement over the projection for a long one.
bool lirePositions(const QVector<StationExport> &stations, const QString &projection,
                   QHash<qint64, Position> &positions)
{
    const Nombre code = enNombre(projection, true);
    if (!code.estNombre()) return true;
    const QString select =
        QStringLiteral(
            "SELECT CodeQualitometre, X, Y, Z FROM QUALITOMETRE_LOCALISATIONS WHERE X is "
            "not null AND Y is not null AND CodeProjection=") +
        sqlNombre(code.valeur);
    const QString ordre = QStringLiteral(" ORDER BY CodeQualitometre, X, Y");
    long nb = 0;
    Tableau t;
    if (stations.size() > PAR_REQUETE) {
        if (!bd().ExtraireRecords(select + ordre, nb, t)) return false;
        ajouterPositions(t, positions);
        return true;
    }
    QStringList codes;
    for (const StationExport &s : stations)
        codes << QString::number(s.code);
    if (!bd().ExtraireRecords(select + QStringLiteral(" AND CodeQualitometre IN (") +
                                  codes.join(u',') + u')' + ordre,
                              nb, t))
        return false;
    ajouterPositions(t, positions);
    return true;
}

QString libelleStation(const StationExport &s)
{
    return s.codeBSS + QStringLiteral(" - ") + s.nom;
}

} // namespace

QString verifierExport(const ListeExportQualite &liste)
{
    if (liste.texte(QStringLiteral("Nom")).trimmed().isEmpty()) return texteExportKml::NOM_VIDE;
    if (codeSaisi(liste.texte(QStringLiteral("CodeProjection"))).isEmpty())
        return texteExportKml::PROJECTION;
    if (liste.stations.isEmpty()) return texteExportKml::STATIONS;
    return {};
}

namespace {

// Fixed notation, seven decimals of a degree (about a centimetre), no useless zero.
void ajouterNombre(QByteArray &kml, double valeur)
{
    char tampon[400];
    const auto [fin, ec] =
        std::to_chars(tampon, tampon + sizeof tampon, valeur, std::chars_format::fixed, 7);
    if (ec != std::errc()) return;
    char *dernier = fin;
    while (dernier > tampon && dernier[-1] == '0')
        --dernier;
    if (dernier > tampon && dernier[-1] == '.') --dernier;
    if (dernier - tampon == 2 && tampon[0] == '-' && tampon[1] == '0') {
        kml += '0';
        return;
    }
    kml.append(tampon, dernier - tampon);
}

} // namespace

QString nombreKml(double valeur)
{
    QByteArray t;
    ajouterNombre(t, valeur);
    return QString::fromLatin1(t);
}

QByteArray documentKml(const QVector<PlacemarkKml> &placemarks, bool dossierStations)
{
    QByteArray kml;
    kml.reserve(600 + (dossierStations ? placemarks.size() * 160 : 0));
    kml += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
           "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\r\n"
           "  <Document>\r\n";
    for (const auto &[id, couleur] : STYLES) {
        kml += "    <Style id=\"";
        kml += id;
        kml += "\">\r\n      <LineStyle>\r\n        <width>1.5</width>\r\n      </LineStyle>\r\n"
               "      <PolyStyle>\r\n        <color>";
        kml += couleur;
        kml += "</color>\r\n      </PolyStyle>\r\n    </Style>\r\n";
    }
    if (dossierStations) {
        kml += "    <Folder>\r\n      <name>Qualitometres</name>\r\n      <open>1</open>\r\n"
               "      <description>Liste des qualitometres</description>\r\n";
        for (const PlacemarkKml &p : placemarks) {
            kml += "      <Placemark>\r\n        <name>";
            kml += texteXml(p.nom);
            kml += "</name>\r\n        <Point>\r\n          <coordinates>";
            ajouterNombre(kml, p.longitude);
            kml += ',';
            ajouterNombre(kml, p.latitude);
            if (p.altitude) {
                kml += ',';
                ajouterNombre(kml, *p.altitude);
            }
            kml += "</coordinates>\r\n        </Point>\r\n      </Placemark>\r\n";
        }
        kml += "  </Folder>\r\n";
    }
    kml += "  </Document>\r\n</kml>\r\n";
    return kml;
}

QString BilanExportKml::message() const
{
    if (absents.isEmpty()) return texteExportKml::TERMINE;
    return texteExportKml::TERMINE_AVEC_ABSENTS.arg(absents.size()) + u'\n' + absents.join(u'\n');
}

bool placemarksListe(const ListeExportQualite &liste, QVector<PlacemarkKml> &placemarks,
                     BilanExportKml &bilan)
{
    const QString projection = codeSaisi(liste.texte(QStringLiteral("CodeProjection")));
    QHash<qint64, Position> positions;
    if (!lirePositions(liste.stations, projection, positions)) return false;
    // Stations with a position, converted in one pass.
    QVector<qsizetype> places;
    std::vector<double> x, y;
    for (qsizetype i = 0; i < liste.stations.size(); ++i) {
        const StationExport &s = liste.stations[i];
        const auto it = positions.constFind(s.code);
        if (it == positions.cend()) {
            bilan.absents << texteExportKml::SANS_COORDONNEES.arg(libelleStation(s), projection);
        } else if (it->x == 0 && it->y == 0) {
            bilan.absents << texteExportKml::ORIGINE.arg(libelleStation(s));
        } else {
            places << i;
            x.push_back(it->x);
            y.push_back(it->y);
        }
    }
    QVector<QString> refus;
    ConversionWgs84 conversion;
    conversion.convertir(int(enNombre(projection, true).valeur), x, y, refus);
    placemarks.clear();
    for (qsizetype k = 0; k < places.size(); ++k) {
        const StationExport &s = liste.stations[places[k]];
        if (!refus[k].isEmpty()) {
            bilan.absents << texteExportKml::REFUSE.arg(libelleStation(s), refus[k]);
            continue;
        }
        const QVariant &z = positions.value(s.code).z;
        placemarks.append({libelleStation(s), x[size_t(k)], y[size_t(k)],
                           z.isNull() ? std::nullopt : std::optional<double>(z.toDouble())});
    }
    return true;
}

bool exporterKml(const ListeExportQualite &liste, const QString &dossier, BilanExportKml &bilan,
                 QString *erreur)
{
    const bool site = liste.coche(QStringLiteral("ExportSite"));
    // Without the station folder the file holds the styles only: no position to read.
    QVector<PlacemarkKml> placemarks;
    if (site && !placemarksListe(liste, placemarks, bilan)) {
        if (erreur) *erreur = bd().derniereErreur();
        return false;
    }
    const QString chemin = QDir(dossier).filePath(
        QStringLiteral("Export_%1.kml").arg(liste.code < 0 ? 0 : liste.code));
    if (!ecrireFichierEntier(chemin, documentKml(placemarks, site), erreur)) return false;
    bilan.fichier = chemin;
    bilan.places = int(placemarks.size());
    return true;
}

bool exporterListe(const ListeExportQualite &liste, const QString &dossier, BilanExportKml &bilan,
                   QString *erreur)
{
    bilan = BilanExportKml{};
    const QString refus = verifierExport(liste);
    if (!refus.isEmpty()) {
        if (erreur) *erreur = refus;
        return false;
    }
    if (!QDir().mkpath(dossier)) {
        if (erreur) *erreur = texteSiteWeb::DOSSIER.arg(QDir::toNativeSeparators(dossier));
        return false;
    }
    const bool site = liste.coche(QStringLiteral("ExportSite"));
    if (liste.coche(QStringLiteral("ExportKml")) && !exporterKml(liste, dossier, bilan, erreur))
        return false;
    if (site || liste.coche(QStringLiteral("ExportGenericSites")))
        return ecrireSiteWeb(liste, dossier, bilan.pages, erreur);
    return true;
}

} // namespace vyk
