#include "carto/Projections.h"

#include "db/Tableau.h"

#include <proj.h>

#include <QHash>

#include <cmath>

namespace vyk {

namespace {

struct Equivalence
{
    int code;
    int epsg;
};

// National projection codes and the EPSG systems they name. Codes 0 to 13: the national water
// data dictionary's nomenclature "Projection des coordonnées" (SANDRE, PEZ/2000-1); code 26:
// "RGF93 / Lambert 93", as the national water data services label it; 16, 31 and 40: the codes
// this program has always read as WGS84 longitude and latitude. Lambert II étendu and the
// Lambert "carto" zones keep the NTF Lambert zone formulas (EPSG 2757x), the "Nord/Centre/Sud"
// zones those of EPSG 2756x.
// clang-format off
constexpr Equivalence EQUIVALENCES[] = {
    {1, 27561},  // Lambert I Nord
    {2, 27562},  // Lambert II Centre
    {3, 27563},  // Lambert III Sud
    {4, 27564},  // Lambert IV Corse
    {5, 27572},  // Lambert II étendu
    {6, 27571},  // Lambert I Carto
    {7, 27572},  // Lambert II Carto
    {8, 27573},  // Lambert III Carto
    {9, 27574},  // Lambert IV Carto
    {10, 23030}, // ED50 UTM30
    {11, 23031}, // ED50 UTM31
    {12, 23032}, // ED50 UTM32
    {13, 32230}, // WGS72 UTM30
    {16, 4326},  // WGS84
    {26, 2154},  // RGF93 / Lambert 93
    {31, 4326},  // WGS84
    {40, 4326},  // WGS84
};
// clang-format on

constexpr int WGS84 = 4326;
// A point converted this far (degrees) outside the area of its projection is refused: it was
// typed in another projection or with its coordinates swapped.
constexpr double MARGE_EMPRISE = 0.1;

struct Emprise
{
    double ouest = -180, sud = -90, est = 180, nord = 90;

    bool contient(double lon, double lat) const
    {
        if (lat < sud - MARGE_EMPRISE || lat > nord + MARGE_EMPRISE) return false;
        if (ouest <= est) return lon >= ouest - MARGE_EMPRISE && lon <= est + MARGE_EMPRISE;
        // Across the antimeridian.
        return lon >= ouest - MARGE_EMPRISE || lon <= est + MARGE_EMPRISE;
    }
};

struct Transformation
{
    PJ *pj = nullptr; // null for WGS84 itself
    Emprise emprise;
    QString erreur;
};

QString nombre(double v)
{
    return texteValeur(QVariant(v));
}

} // namespace

int epsgProjection(int codeProjection)
{
    for (const Equivalence &e : EQUIVALENCES)
        if (e.code == codeProjection) return e.epsg;
    return 0;
}

bool estProjectionGeographique(int codeProjection)
{
    return epsgProjection(codeProjection) == WGS84;
}

struct ConversionWgs84::Prive
{
    PJ_CONTEXT *contexte = nullptr;
    QHash<int, Transformation> transformations;

    const Transformation &transformation(int code)
    {
        auto it = transformations.find(code);
        if (it == transformations.end()) it = transformations.insert(code, creer(code));
        return *it;
    }

    QString erreurProj() const
    {
        return QString::fromUtf8(proj_context_errno_string(contexte, proj_context_errno(contexte)));
    }

    Transformation creer(int code)
    {
        Transformation t;
        const int epsg = epsgProjection(code);
        if (epsg == 0) {
            t.erreur = texteProjections::INCONNUE.arg(code);
            return t;
        }
        if (epsg == WGS84) return t;
        const QByteArray source = "EPSG:" + QByteArray::number(epsg);
        PJ *brute = proj_create_crs_to_crs(contexte, source.constData(), "EPSG:4326", nullptr);
        // Longitude before latitude, easting before northing, whatever the systems' axis order.
        t.pj = brute ? proj_normalize_for_visualization(contexte, brute) : nullptr;
        proj_destroy(brute);
        if (!t.pj) {
            t.erreur = texteProjections::IMPOSSIBLE.arg(code).arg(erreurProj());
            return t;
        }
        PJ *crs = proj_create(contexte, source.constData());
        const char *nom = nullptr;
        if (!crs || !proj_get_area_of_use(contexte, crs, &t.emprise.ouest, &t.emprise.sud,
                                          &t.emprise.est, &t.emprise.nord, &nom))
            t.emprise = Emprise{};
        proj_destroy(crs);
        return t;
    }
};

ConversionWgs84::ConversionWgs84() : d(std::make_unique<Prive>())
{
    d->contexte = proj_context_create();
    proj_context_set_enable_network(d->contexte, 0);
    // Failures are reported by return values; PROJ's own messages would only reach stderr.
    proj_log_level(d->contexte, PJ_LOG_NONE);
}

ConversionWgs84::~ConversionWgs84()
{
    for (Transformation &t : d->transformations)
        proj_destroy(t.pj);
    proj_context_destroy(d->contexte);
}

bool ConversionWgs84::changer(int source, int cible, std::span<double> x, std::span<double> y,
                              QVector<QString> &refus, QString *erreur)
{
    const size_t n = std::min(x.size(), y.size());
    if (epsgProjection(source) != 0 && epsgProjection(source) == epsgProjection(cible)) {
        refus = QVector<QString>(qsizetype(n));
        return true;
    }
    const std::vector<double> x0(x.begin(), x.begin() + qsizetype(n));
    const std::vector<double> y0(y.begin(), y.begin() + qsizetype(n));
    if (!convertir(source, x, y, refus, erreur)) return false;
    const Transformation &t = d->transformation(cible);
    bool ok = t.erreur.isEmpty();
    if (!ok && erreur) *erreur = t.erreur;
    std::vector<double> px(x.begin(), x.begin() + qsizetype(n));
    std::vector<double> py(y.begin(), y.begin() + qsizetype(n));
    if (ok && t.pj && n > 0)
        proj_trans_generic(t.pj, PJ_INV, px.data(), sizeof(double), n, py.data(), sizeof(double), n,
                           nullptr, 0, 0, nullptr, 0, 0);
    for (size_t i = 0; i < n; ++i) {
        const qsizetype k = qsizetype(i);
        if (refus[k].isEmpty() && !ok) refus[k] = t.erreur;
        // Outside the target's area (checked in longitude and latitude) or not convertible.
        if (refus[k].isEmpty() && (!t.emprise.contient(x[i], y[i]) || !std::isfinite(px[i]) ||
                                   !std::isfinite(py[i]) || px[i] == HUGE_VAL))
            refus[k] = texteProjections::HORS_EMPRISE.arg(nombre(x0[i]), nombre(y0[i])).arg(cible);
        x[i] = refus[k].isEmpty() ? px[i] : x0[i];
        y[i] = refus[k].isEmpty() ? py[i] : y0[i];
    }
    return ok;
}

bool ConversionWgs84::convertir(int codeProjection, std::span<double> x, std::span<double> y,
                                QVector<QString> &refus, QString *erreur)
{
    const size_t n = std::min(x.size(), y.size());
    refus = QVector<QString>(qsizetype(n));
    const Transformation &t = d->transformation(codeProjection);
    if (!t.erreur.isEmpty()) {
        refus.fill(t.erreur);
        if (erreur) *erreur = t.erreur;
        return false;
    }
    std::vector<double> lon(x.begin(), x.begin() + qsizetype(n));
    std::vector<double> lat(y.begin(), y.begin() + qsizetype(n));
    if (t.pj && n > 0)
        proj_trans_generic(t.pj, PJ_FWD, lon.data(), sizeof(double), n, lat.data(), sizeof(double),
                           n, nullptr, 0, 0, nullptr, 0, 0);
    for (size_t i = 0; i < n; ++i) {
        if (!std::isfinite(lon[i]) || !std::isfinite(lat[i]) || lon[i] == HUGE_VAL ||
            !t.emprise.contient(lon[i], lat[i])) {
            refus[qsizetype(i)] =
                texteProjections::HORS_EMPRISE.arg(nombre(x[i]), nombre(y[i])).arg(codeProjection);
            continue;
        }
        x[i] = lon[i];
        y[i] = lat[i];
    }
    return true;
}

} // namespace vyk
