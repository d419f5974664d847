#include "carto/Projections.h"
#include "carto/ExportKml.h"

#include <QLocale>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

using namespace vyk;

namespace {

TEST(Projections, Lambert93VersLongitudeLatitude)
{
    ConversionWgs84 conversion;
    std::vector<double> x = {652469.02, 652469.02, 700000};
    std::vector<double> y = {6862035.26, 2428000, 6600000};
    QVector<QString> refus;
    ASSERT_TRUE(conversion.convertir(26, x, y, refus));
    // Paris, longitude first.
    EXPECT_NEAR(x[0], 2.3522, 1e-4);
    EXPECT_NEAR(y[0], 48.8566, 1e-4);
    EXPECT_EQ(refus[0], QString());
    // Lambert II étendu figures typed as Lambert 93 fall far outside France: refused, kept.
    EXPECT_EQ(refus[1],
              QStringLiteral("Les coordonnées (652469.02, 2428000) sont en dehors du domaine de "
                             "la projection 26."));
    EXPECT_EQ(x[1], 652469.02);
    EXPECT_EQ(y[1], 2428000);
    // The projection's origin: 3° E, 46.5° N.
    EXPECT_NEAR(x[2], 3.0, 1e-9);
    EXPECT_NEAR(y[2], 46.5, 1e-9);
}

// From one national projection to another through WGS84: a round trip comes back, a point outside
// the target's area is refused and kept, the same system changes nothing.
TEST(Projections, DUneProjectionAUneAutre)
{
    ConversionWgs84 conversion;
    QVector<QString> refus;
    std::vector<double> x = {2.3522, -60}, y = {48.8566, 10};
    ASSERT_TRUE(conversion.changer(16, 26, x, y, refus));
    EXPECT_EQ(refus[0], QString());
    EXPECT_NEAR(x[0], 652469.02, 15);
    EXPECT_NEAR(y[0], 6862035.26, 15);
    EXPECT_EQ(refus[1], QStringLiteral("Les coordonnées (-60, 10) sont en dehors du domaine de la "
                                       "projection 26."));
    EXPECT_EQ(x[1], -60);
    EXPECT_EQ(y[1], 10);

    const double x93 = x[0], y93 = y[0];
    x.resize(1);
    y.resize(1);
    ASSERT_TRUE(conversion.changer(26, 5, x, y, refus));
    EXPECT_EQ(refus[0], QString());
    EXPECT_NEAR(y[0], 2428000, 3000); // Lambert II étendu near Paris
    ASSERT_TRUE(conversion.changer(5, 26, x, y, refus));
    EXPECT_NEAR(x[0], x93, 0.01);
    EXPECT_NEAR(y[0], y93, 0.01);

    x = {1.5};
    y = {43.25};
    ASSERT_TRUE(conversion.changer(16, 31, x, y, refus));
    EXPECT_EQ(x[0], 1.5);
    QString erreur;
    EXPECT_FALSE(conversion.changer(16, 99, x, y, refus, &erreur));
    EXPECT_EQ(erreur, texteProjections::INCONNUE.arg(99));
    EXPECT_EQ(x[0], 1.5);
}

TEST(Projections, AutresSystemes)
{
    ConversionWgs84 conversion;
    QVector<QString> refus;
    // Lambert II étendu: Paris is near (600 000, 2 428 000), on the Paris meridian.
    std::vector<double> x = {600000}, y = {2428000};
    ASSERT_TRUE(conversion.convertir(5, x, y, refus));
    EXPECT_EQ(refus[0], QString());
    EXPECT_NEAR(x[0], 2.337, 0.01);
    EXPECT_NEAR(y[0], 48.85, 0.05);
    // ED50 UTM 31: central meridian 3° E at the false easting.
    x = {500000};
    y = {5000000};
    ASSERT_TRUE(conversion.convertir(11, x, y, refus));
    EXPECT_NEAR(x[0], 3.0, 0.01);
    EXPECT_NEAR(y[0], 45.1, 0.1);
    // WGS84 longitude and latitude stay as stored; out of range is refused.
    x = {-1.5, 200};
    y = {47.2, 10};
    ASSERT_TRUE(conversion.convertir(16, x, y, refus));
    EXPECT_EQ(x[0], -1.5);
    EXPECT_EQ(y[0], 47.2);
    EXPECT_EQ(refus[1], QStringLiteral("Les coordonnées (200, 10) sont en dehors du domaine de la "
                                       "projection 16."));
    // A code without a known system: every point refused, with the reason.
    QString erreur;
    x = {1, 2};
    y = {3, 4};
    EXPECT_FALSE(conversion.convertir(99, x, y, refus, &erreur));
    EXPECT_EQ(erreur, QStringLiteral("La projection 99 n'a pas d'équivalent connu : ses "
                                     "coordonnées ne peuvent pas être converties en longitude et "
                                     "latitude."));
    EXPECT_EQ(refus, QVector<QString>(2, erreur));
    EXPECT_EQ(epsgProjection(0), 0);
}

// The reference file, written out in full.
const char *const REFERENCE = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                              "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\r\n"
                              "  <Document>\r\n"
                              "    <Style id=\"transGreenPoly\">\r\n"
                              "      <LineStyle>\r\n"
                              "        <width>1.5</width>\r\n"
                              "      </LineStyle>\r\n"
                              "      <PolyStyle>\r\n"
                              "        <color>7d00ff00</color>\r\n"
                              "      </PolyStyle>\r\n"
                              "    </Style>\r\n"
                              "    <Style id=\"transYellowPoly\">\r\n"
                              "      <LineStyle>\r\n"
                              "        <width>1.5</width>\r\n"
                              "      </LineStyle>\r\n"
                              "      <PolyStyle>\r\n"
                              "        <color>7d00ffff</color>\r\n"
                              "      </PolyStyle>\r\n"
                              "    </Style>\r\n"
                              "    <Style id=\"transRedPoly\">\r\n"
                              "      <LineStyle>\r\n"
                              "        <width>1.5</width>\r\n"
                              "      </LineStyle>\r\n"
                              "      <PolyStyle>\r\n"
                              "        <color>7d0000ff</color>\r\n"
                              "      </PolyStyle>\r\n"
                              "    </Style>\r\n"
                              "    <Style id=\"transBluePoly\">\r\n"
                              "      <LineStyle>\r\n"
                              "        <width>1.5</width>\r\n"
                              "      </LineStyle>\r\n"
                              "      <PolyStyle>\r\n"
                              "        <color>7dff0000</color>\r\n"
                              "      </PolyStyle>\r\n"
                              "    </Style>\r\n"
                              "    <Folder>\r\n"
                              "      <name>Qualitometres</name>\r\n"
                              "      <open>1</open>\r\n"
                              "      <description>Liste des qualitometres</description>\r\n"
                              "      <Placemark>\r\n"
                              "        <name>S1 - Seine &amp; Marne &lt;amont&gt;</name>\r\n"
                              "        <Point>\r\n"
                              "          <coordinates>2.35,48.85,35</coordinates>\r\n"
                              "        </Point>\r\n"
                              "      </Placemark>\r\n"
                              "      <Placemark>\r\n"
                              "        <name>S2 - Loire</name>\r\n"
                              "        <Point>\r\n"
                              "          <coordinates>-1.5,47.2,0</coordinates>\r\n"
                              "        </Point>\r\n"
                              "      </Placemark>\r\n"
                              "  </Folder>\r\n"
                              "  </Document>\r\n"
                              "</kml>\r\n";

QByteArray sansDossier()
{
    QByteArray r(REFERENCE);
    r.remove(r.indexOf("    <Folder>"), r.indexOf("  </Document>") - r.indexOf("    <Folder>"));
    return r;
}

TEST(DocumentKml, OctetPourOctetEtBienForme)
{
    // Decimal commas in the user's locale change nothing.
    const QLocale avant;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const QVector<PlacemarkKml> p = {
        {QStringLiteral("S1 - Seine & Marne <amont>"), 2.35, 48.85, 35},
        {QStringLiteral("S2 - Loire"), -1.5, 47.2, 0}};
    const QByteArray kml = documentKml(p, true);
    QLocale::setDefault(avant);
    EXPECT_EQ(kml, QByteArray(REFERENCE));
    QXmlStreamReader lecteur(kml);
    QStringList noms;
    while (!lecteur.atEnd())
        if (lecteur.readNext() == QXmlStreamReader::StartElement &&
            lecteur.name() == QLatin1String("name"))
            noms << lecteur.readElementText();
    EXPECT_FALSE(lecteur.hasError()) << qPrintable(lecteur.errorString());
    EXPECT_EQ(noms, QStringList({"Qualitometres", "S1 - Seine & Marne <amont>", "S2 - Loire"}));
    // Without the station folder: the styles alone.
    EXPECT_EQ(documentKml(p, false), sansDossier());
}

TEST(DocumentKml, NombresEnNotationFixe)
{
    EXPECT_EQ(nombreKml(2.3522219), QStringLiteral("2.3522219"));
    EXPECT_EQ(nombreKml(1e-9), QStringLiteral("0"));
    EXPECT_EQ(nombreKml(-0.0000001), QStringLiteral("-0.0000001"));
    EXPECT_EQ(nombreKml(-1e-12), QStringLiteral("0"));
    EXPECT_EQ(nombreKml(1234567.5), QStringLiteral("1234567.5"));
    EXPECT_EQ(nombreKml(1e21), QStringLiteral("1000000000000000000000"));
    // A control character cannot be in an XML document: it is dropped.
    const QByteArray kml =
        documentKml({{QStringLiteral("S\x01 - A'B\"C"), 1, 2, std::nullopt}}, true);
    EXPECT_TRUE(kml.contains("<name>S - A&apos;B&quot;C</name>")) << kml.constData();
    EXPECT_TRUE(kml.contains("<coordinates>1,2</coordinates>"));
}

} // namespace
