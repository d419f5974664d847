#include "db/LiaisonsSqlite.h"

#include "db/Outils.h"

#include <QDate>
#include <QDateTime>

#include <sqlite3.h>

#include <algorithm>

namespace vyk {

void ecrireUtf8(QStringView texte, QByteArray &tampon)
{
    // Codes and numbers are plain ASCII: narrowed in place, with no array made per value.
    tampon.resize(texte.size());
    char *d = tampon.data();
    for (qsizetype k = 0; k < texte.size(); ++k) {
        const char16_t c = texte[k].unicode();
        if (c >= 0x80) {
            tampon = texte.toUtf8();
            return;
        }
        d[k] = char(c);
    }
}

LiaisonsSqlite::LiaisonsSqlite(sqlite3_stmt *st)
    : m_st(st), m_tampons(size_t(st ? sqlite3_bind_parameter_count(st) : 0)),
      m_lies(m_tampons.size(), 0)
{
}

int LiaisonsSqlite::lier(const QVector<QVariant> &valeurs)
{
    const int n = int(m_tampons.size());
    const int donnees = std::min(n, int(valeurs.size()));
    const QVariant *v = valeurs.constData();
    char *lies = m_lies.data();
    for (int i = 0; i < n; ++i) {
        const bool nul = i >= donnees || estNulSql(v[i]);
        if (nul && !lies[i]) continue;
        // A refused binding leaves the parameter in doubt: it is bound again next time.
        lies[i] = true;
        const int rc = nul ? sqlite3_bind_null(m_st, i + 1) : lierValeur(i, v[i]);
        if (rc != SQLITE_OK) return rc;
        lies[i] = !nul;
    }
    return SQLITE_OK;
}

int LiaisonsSqlite::lierValeur(int i, const QVariant &v)
{
    QByteArray &tampon = m_tampons[size_t(i)];
    switch (v.typeId()) {
    case QMetaType::QString:
        ecrireUtf8(*static_cast<const QString *>(v.constData()), tampon);
        return lierTexte(i);
    case QMetaType::Double:
        return sqlite3_bind_double(m_st, i + 1, *static_cast<const double *>(v.constData()));
    case QMetaType::LongLong:
        return sqlite3_bind_int64(m_st, i + 1, *static_cast<const qlonglong *>(v.constData()));
    case QMetaType::Int:
        return sqlite3_bind_int64(m_st, i + 1, *static_cast<const int *>(v.constData()));
    case QMetaType::Bool:
        return sqlite3_bind_int(m_st, i + 1, v.toBool() ? 1 : 0);
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short:
        return sqlite3_bind_int64(m_st, i + 1, v.toLongLong());
    case QMetaType::Float:
        return sqlite3_bind_double(m_st, i + 1, v.toDouble());
    case QMetaType::QDateTime:
        tampon = texteIso(v.toDateTime());
        return lierTexte(i);
    case QMetaType::QDate:
        tampon = (v.toDate().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00"))
                     .toUtf8();
        return lierTexte(i);
    case QMetaType::QByteArray:
        tampon = v.toByteArray();
        return sqlite3_bind_blob(m_st, i + 1, tampon.constData(), int(tampon.size()),
                                 SQLITE_STATIC);
    default:
        ecrireUtf8(v.toString(), tampon);
        return lierTexte(i);
    }
}

int LiaisonsSqlite::lierTexte(int i)
{
    const QByteArray &t = m_tampons[size_t(i)];
    // constData() is never null, even for an empty text: an empty text stays a text.
    return sqlite3_bind_text(m_st, i + 1, t.constData(), int(t.size()), SQLITE_STATIC);
}

} // namespace vyk
