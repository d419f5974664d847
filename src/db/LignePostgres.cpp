#include "db/LignePostgres.h"

#include "db/Outils.h"
#include "db/Tableau.h"

namespace vyk {

TypeValeur typeOid(Oid oid)
{
    switch (oid) {
    case 16:
        return TypeValeur::Booleen;
    case 20:
    case 21:
    case 23:
    case 26:
        return TypeValeur::Entier;
    case 700:
    case 701:
    case 1700:
        return TypeValeur::Reel;
    case 1082:
    case 1083:
    case 1114:
    case 1184:
        return TypeValeur::DateHeure;
    case 17:
        return TypeValeur::Binaire;
    default:
        return TypeValeur::Texte;
    }
}

QVariant valeurTexte(const char *t, int n, Oid oid)
{
    switch (oid) {
    case 16:
        return QVariant(n > 0 && t[0] == 't');
    case 20:
    case 21:
    case 23:
    case 26:
        return QVariant(QByteArray::fromRawData(t, n).toLongLong());
    case 700:
    case 701:
    case 1700: {
        if (double d = 0; reelDecimal(QByteArrayView(t, n), d)) return QVariant(d);
        bool ok = false;
        const double d = QByteArray::fromRawData(t, n).toDouble(&ok);
        return ok ? QVariant(d) : QVariant(QString::fromUtf8(t, n));
    }
    case 1082:
    case 1114:
    case 1184: {
        // DateStyle ISO: "YYYY-MM-DD[ HH:MM:SS[.ffffff]][+TZ]"; the wall-clock time is kept.
        const QDateTime d = lireDate(QString::fromLatin1(t, std::min(n, 19)));
        return d.isValid() ? QVariant(d) : QVariant(QString::fromUtf8(t, n));
    }
    case 1083: {
        const QTime h =
            QTime::fromString(QString::fromLatin1(t, std::min(n, 8)), QStringLiteral("HH:mm:ss"));
        return h.isValid() ? QVariant(QDateTime(QDate(1899, 12, 30), h))
                           : QVariant(QString::fromUtf8(t, n));
    }
    case 17: {
        if (n >= 2 && t[0] == '\\' && t[1] == 'x')
            return QVariant(QByteArray::fromHex(QByteArray(t + 2, n - 2)));
        return QVariant(QByteArray(t, n));
    }
    default:
        return QVariant(QString::fromUtf8(t, n));
    }
}

QByteArray texteParametre(const QVariant &v)
{
    if (v.isNull() || !v.isValid()) return {};
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? QByteArrayLiteral("t") : QByteArrayLiteral("f");
    case QMetaType::Double:
    case QMetaType::Float:
        return QByteArray::number(v.toDouble(), 'g', 17);
    case QMetaType::QDateTime:
        return texteIso(v.toDateTime());
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("yyyy-MM-dd")).toUtf8();
    case QMetaType::QByteArray:
        return QByteArrayLiteral("\\x") + v.toByteArray().toHex();
    default: {
        QByteArray b = v.toString().toUtf8();
        if (b.isNull()) b = QByteArray("");
        return b;
    }
    }
}

QString erreurResultat(PGresult *r, PGconn *c)
{
    const char *m = r ? PQresultErrorMessage(r) : nullptr;
    QString t = QString::fromUtf8(m && *m ? m : PQerrorMessage(c)).trimmed();
    return t.isEmpty() ? QStringLiteral("Erreur inconnue du serveur PostgreSQL.") : t;
}

ParametresPg::ParametresPg(const QVector<QVariant> &parametres)
{
    m_textes.reserve(parametres.size());
    for (const QVariant &v : parametres)
        m_textes << texteParametre(v);
    for (const QByteArray &t : m_textes)
        m_valeurs << (t.isNull() ? nullptr : t.constData());
}

namespace {
bool estOidDate(Oid oid)
{
    return oid == 1082 || oid == 1114 || oid == 1184;
}
} // namespace

void LignePostgres::placer(const PGresult *r, int l)
{
    m_r = r;
    m_l = l;
    if (!m_oids.isEmpty() || PQnfields(r) == 0) return;
    const int nbCol = PQnfields(r);
    for (int c = 0; c < nbCol; ++c) {
        m_colonnes << QString::fromUtf8(PQfname(r, c));
        m_oids << PQftype(r, c);
        m_types << typeOid(m_oids.back());
    }
    m_dates = std::make_unique<DatesRepetees>(nbCol);
    m_tampons.resize(nbCol);
}

QByteArrayView LignePostgres::texteNombre(int c) const
{
    if (estNul(c)) return {};
    switch (m_types[c]) {
    case TypeValeur::Booleen:
        return octets(c).startsWith('t') ? "1" : "0";
    case TypeValeur::DateHeure:
    case TypeValeur::Binaire:
        return {};
    default:
        return octets(c);
    }
}

qint64 LignePostgres::entier(int c) const
{
    return entierTexte(texteNombre(c));
}

double LignePostgres::reel(int c) const
{
    return reelTexte(texteNombre(c));
}

QString LignePostgres::texte(int c) const
{
    if (estNul(c)) return {};
    if (m_types[c] == TypeValeur::Texte) {
        const QByteArrayView t = octets(c);
        return QString::fromUtf8(t.data(), t.size());
    }
    if (estDate(c)) {
        const QByteArrayView t = octets(c);
        if (const QString *d = m_dates->texte(c, t.data(), int(std::min<qsizetype>(t.size(), 19))))
            return *d;
    }
    if (double d = 0; m_types[c] == TypeValeur::Reel && reelDecimal(octets(c), d))
        return texteReel(d);
    // An integer's text is already the one QString::number would write.
    if (m_types[c] == TypeValeur::Entier) {
        const QByteArrayView t = octets(c);
        return QString::fromLatin1(t.data(), t.size());
    }
    return texteValeur(valeur(c));
}

QByteArrayView LignePostgres::utf8(int c) const
{
    if (estNul(c)) return {};
    if (m_types[c] == TypeValeur::Texte) return octets(c);
    m_tampons[c] = texte(c).toUtf8();
    return m_tampons[c];
}

bool LignePostgres::estDate(int c) const
{
    return estOidDate(m_oids[c]);
}

QDateTime LignePostgres::date(int c) const
{
    if (estNul(c)) return {};
    const QByteArrayView t = octets(c);
    // DateStyle ISO: "YYYY-MM-DD[ HH:MM:SS[.ffffff]][+TZ]"; the wall-clock time is kept.
    if (estDate(c))
        return m_dates->lire(c, t.data(), int(std::min<qsizetype>(t.size(), 19))).toDateTime();
    if (m_types[c] == TypeValeur::Texte)
        return m_dates->lire(c, t.data(), int(t.size())).toDateTime();
    return valeur(c).toDateTime();
}

bool LignePostgres::jourHeure(int c, QDate &jour, QTime &heure) const
{
    if (estNul(c)) return false;
    const QByteArrayView t = octets(c);
    if (estDate(c))
        return partiesIso(t.data(), int(std::min<qsizetype>(t.size(), 19)), jour, heure);
    if (m_types[c] == TypeValeur::Texte) return partiesIso(t.data(), int(t.size()), jour, heure);
    return Ligne::jourHeure(c, jour, heure);
}

QVariant LignePostgres::valeur(int c) const
{
    if (estNul(c)) return {};
    const QByteArrayView t = octets(c);
    if (estDate(c)) {
        const QVariant &d = m_dates->lire(c, t.data(), int(std::min<qsizetype>(t.size(), 19)));
        if (d.isValid()) return d;
    }
    return valeurTexte(t.data(), int(t.size()), m_oids[c]);
}

bool parcourirPostgres(PGconn *c, const QByteArray &sql, const QVector<QVariant> &parametres,
                       const FonctionLigne &fonction, QString &erreur, bool pasAPas)
{
    const ParametresPg p(parametres);
    if (!PQsendQueryParams(c, sql.constData(), p.nombre(), nullptr, p.valeurs(), nullptr, nullptr,
                           0)) {
        erreur = erreurResultat(nullptr, c);
        return false;
    }
    // Without single-row mode the rows come in one result: still read one at a time.
    if (pasAPas) PQsetSingleRowMode(c);
    LignePostgres ligne;
    bool ok = true, continuer = true;
    // Every result is read to the end: the connection serves the next statement only then.
    while (PGresult *r = PQgetResult(c)) {
        const ResultatPg garde(r);
        const ExecStatusType s = PQresultStatus(r);
        if (s == PGRES_SINGLE_TUPLE || s == PGRES_TUPLES_OK) {
            for (int l = 0; ok && continuer && l < PQntuples(r); ++l) {
                ligne.placer(r, l);
                continuer = fonction(ligne);
                ligne.suivante();
            }
        } else if (s != PGRES_COMMAND_OK && s != PGRES_EMPTY_QUERY && ok && continuer) {
            ok = false;
            erreur = erreurResultat(r, c);
        }
    }
    return ok;
}

} // namespace vyk
