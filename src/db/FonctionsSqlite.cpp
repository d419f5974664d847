// Desktop-dialect functions registered on each SQLite connection.

#include "db/FonctionsSqlite.h"
#include "db/Outils.h"

#include <QDateTime>
#include <QString>

#include <sqlite3.h>

#include <cmath>

namespace vyk {

namespace {

QString texteArg(sqlite3_value *v)
{
    const auto *p = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return QString::fromUtf8(p, sqlite3_value_bytes(v));
}

void resultatTexte(sqlite3_context *ctx, const QString &t)
{
    const QByteArray u = t.toUtf8();
    sqlite3_result_text(ctx, u.constData(), int(u.size()), SQLITE_TRANSIENT);
}

QString texteNombre(double d)
{
    if (std::floor(d) == d && std::fabs(d) < 1e15)
        return QString::number(static_cast<long long>(d));
    return QString::number(d, 'g', 15);
}

// Reads a number from a value: numbers as they are, texts through enNombre.
bool lireNombre(sqlite3_value *v, double &d)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        d = sqlite3_value_double(v);
        return true;
    case SQLITE_TEXT: {
        const QString t = texteArg(v);
        if (t.trimmed().isEmpty()) return false;
        const Nombre n = enNombre(t);
        d = n.valeur;
        return n.estNombre();
    }
    default:
        return false;
    }
}

QDateTime lireDateArg(sqlite3_value *v)
{
    if (sqlite3_value_type(v) != SQLITE_TEXT) return {};
    return lireDate(texteArg(v));
}

void fCstr(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER:
        resultatTexte(ctx, QString::number(sqlite3_value_int64(argv[0])));
        return;
    case SQLITE_FLOAT:
        resultatTexte(ctx, texteNombre(sqlite3_value_double(argv[0])));
        return;
    default:
        sqlite3_result_text(ctx, reinterpret_cast<const char *>(sqlite3_value_text(argv[0])),
                            sqlite3_value_bytes(argv[0]), SQLITE_TRANSIENT);
    }
}

void fCdbl(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    double d = 0;
    if (lireNombre(argv[0], d))
        sqlite3_result_double(ctx, d);
    else
        sqlite3_result_null(ctx);
}

// Rounds half to even, as the desktop engine's CInt does.
void fCint(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    double d = 0;
    if (lireNombre(argv[0], d))
        sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(std::nearbyint(d)));
    else
        sqlite3_result_null(ctx);
}

void fIsnumeric(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    double d = 0;
    sqlite3_result_int(ctx, lireNombre(argv[0], d) ? 1 : 0);
}

template <int Partie> void fPartieDate(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const QDateTime d = lireDateArg(argv[0]);
    if (!d.isValid()) {
        sqlite3_result_null(ctx);
        return;
    }
    int v = 0;
    switch (Partie) {
    case 0:
        v = d.date().year();
        break;
    case 1:
        v = d.date().month();
        break;
    case 2:
        v = d.date().day();
        break;
    case 3:
        v = d.time().hour();
        break;
    case 4:
        v = d.time().minute();
        break;
    default:
        v = d.time().second();
        break;
    }
    sqlite3_result_int(ctx, v);
}

void fCvdate(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const QDateTime d = lireDateArg(argv[0]);
    if (!d.isValid())
        sqlite3_result_null(ctx);
    else
        resultatTexte(ctx, d.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

// Access date format words (yyyy, mm, dd, hh, nn, ss) and numeric masks (0, #, .).
QString formaterDate(const QDateTime &d, const QString &f)
{
    QString r;
    int i = 0;
    while (i < f.size()) {
        const QChar c = f[i].toLower();
        int k = i;
        while (k < f.size() && f[k].toLower() == c)
            ++k;
        const int n = k - i;
        if (c == u'y')
            r += n >= 4 ? QString::number(d.date().year())
                        : QString::number(d.date().year() % 100).rightJustified(2, u'0');
        else if (c == u'm')
            r += n >= 2 ? QString::number(d.date().month()).rightJustified(2, u'0')
                        : QString::number(d.date().month());
        else if (c == u'd')
            r += n >= 2 ? QString::number(d.date().day()).rightJustified(2, u'0')
                        : QString::number(d.date().day());
        else if (c == u'h')
            r += QString::number(d.time().hour()).rightJustified(n >= 2 ? 2 : 1, u'0');
        else if (c == u'n')
            r += QString::number(d.time().minute()).rightJustified(n >= 2 ? 2 : 1, u'0');
        else if (c == u's')
            r += QString::number(d.time().second()).rightJustified(n >= 2 ? 2 : 1, u'0');
        else {
            r += f.mid(i, n);
        }
        i = k;
    }
    return r;
}

QString formaterNombre(double v, const QString &f)
{
    const int point = int(f.indexOf(u'.'));
    const int decimales = point < 0 ? 0 : int(f.size()) - point - 1;
    return QString::number(v, 'f', decimales);
}

void fFormat(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString format = texteArg(argv[1]);
    const QDateTime d = lireDateArg(argv[0]);
    if (d.isValid()) {
        resultatTexte(ctx, formaterDate(d, format));
        return;
    }
    double v = 0;
    if (lireNombre(argv[0], v)) {
        resultatTexte(ctx, formaterNombre(v, format));
        return;
    }
    sqlite3_result_value(ctx, argv[0]);
}

void fNow(sqlite3_context *ctx, int, sqlite3_value **)
{
    resultatTexte(ctx,
                  QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

void fRight(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString t = texteArg(argv[0]);
    const int n = std::max(0, sqlite3_value_int(argv[1]));
    resultatTexte(ctx, t.right(n));
}

// UCase / LCase change every letter, accents included; SQLite's own only change ASCII.
template <bool Majuscules> void fCasse(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto *p = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    const int n = sqlite3_value_bytes(argv[0]);
    QByteArray r(p, n);
    bool ascii = true;
    for (char &c : r) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
        if (Majuscules ? (c >= 'a' && c <= 'z') : (c >= 'A' && c <= 'Z')) c = char(c ^ 0x20);
    }
    if (!ascii) {
        const QString t = QString::fromUtf8(p, n);
        r = (Majuscules ? t.toUpper() : t.toLower()).toUtf8();
    }
    sqlite3_result_text(ctx, r.constData(), int(r.size()), SQLITE_TRANSIENT);
}

// LIKE without regard to case for every letter (accents included), with % and _.
bool correspond(QStringView motif, QStringView texte, QChar echappement)
{
    qsizetype m = 0, t = 0, etoileM = -1, etoileT = 0;
    while (t < texte.size()) {
        if (m < motif.size() && !echappement.isNull() && motif[m] == echappement &&
            m + 1 < motif.size()) {
            if (motif[m + 1] == texte[t]) {
                m += 2;
                ++t;
                continue;
            }
        } else if (m < motif.size() && motif[m] == u'%') {
            etoileM = m++;
            etoileT = t;
            continue;
        } else if (m < motif.size() && (motif[m] == u'_' || motif[m] == texte[t])) {
            ++m;
            ++t;
            continue;
        }
        if (etoileM < 0) return false;
        m = etoileM + 1;
        t = ++etoileT;
    }
    while (m < motif.size() && motif[m] == u'%')
        ++m;
    return m == motif.size();
}

void fLike(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString motif = texteArg(argv[0]).toCaseFolded();
    const QString texte = texteArg(argv[1]).toCaseFolded();
    QChar echappement;
    if (argc == 3) {
        const QString e = texteArg(argv[2]);
        if (e.size() == 1) echappement = e[0];
    }
    sqlite3_result_int(ctx, correspond(motif, texte, echappement) ? 1 : 0);
}

} // namespace

bool enregistrerFonctionsSqlite(sqlite3 *db)
{
    struct Definition
    {
        const char *nom;
        int nbArgs;
        void (*f)(sqlite3_context *, int, sqlite3_value **);
        bool deterministe;
    };
    static const Definition definitions[] = {
        {"cstr", 1, fCstr, true},
        {"cdbl", 1, fCdbl, true},
        {"cint", 1, fCint, true},
        {"clng", 1, fCint, true},
        {"isnumeric", 1, fIsnumeric, true},
        {"year", 1, fPartieDate<0>, true},
        {"month", 1, fPartieDate<1>, true},
        {"day", 1, fPartieDate<2>, true},
        {"hour", 1, fPartieDate<3>, true},
        {"minute", 1, fPartieDate<4>, true},
        {"second", 1, fPartieDate<5>, true},
        {"cvdate", 1, fCvdate, true},
        {"vyk_format", 2, fFormat, true},
        {"vyk_now", 0, fNow, false},
        {"vyk_right", 2, fRight, true},
        {"upper", 1, fCasse<true>, true},
        {"lower", 1, fCasse<false>, true},
        {"like", 2, fLike, true},
        {"like", 3, fLike, true},
    };
    for (const Definition &d : definitions) {
        const int drapeaux = SQLITE_UTF8 | (d.deterministe ? SQLITE_DETERMINISTIC : 0);
        if (sqlite3_create_function_v2(db, d.nom, d.nbArgs, drapeaux, nullptr, d.f, nullptr,
                                       nullptr, nullptr) != SQLITE_OK)
            return false;
    }
    return true;
}

} // namespace vyk
