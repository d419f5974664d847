#include "db/Sql.h"

#include "db/BaseDonnees.h"
#include "db/Outils.h"
#include "db/TraducteurSql.h"

#include <cmath>

namespace vyk {

QString sqlTexte(const QString &valeur)
{
    QString r;
    r.reserve(valeur.size() + 2);
    r += u'\'';
    for (QChar c : valeur) {
        if (c == u'\'') r += u'\'';
        r += c;
    }
    r += u'\'';
    return r;
}

QString sqlTexteOuNull(const QString &valeur)
{
    return valeur.isEmpty() ? QStringLiteral("NULL") : sqlTexte(valeur);
}

QString sqlNombre(double valeur)
{
    if (!std::isfinite(valeur)) return QStringLiteral("NULL");
    return QString::number(valeur, 'g', 17);
}

QString sqlValeur(const QVariant &v)
{
    if (v.isNull() || !v.isValid()) return QStringLiteral("NULL");
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return QString::number(v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlNombre(v.toDouble());
    case QMetaType::QDateTime:
        return dateSQL(v.toDateTime(), true);
    case QMetaType::QDate:
        return dateSQL(QDateTime(v.toDate(), QTime(0, 0)), false);
    default:
        return sqlTexte(v.toString());
    }
}

QString identifiantSql(const QString &nom, bool *ok)
{
    if (ok) *ok = false;
    if (nom.isEmpty() || nom.toUtf8().size() > 63) return {};
    for (QChar c : nom)
        if (c.unicode() < 0x20 || c == u'"' || c.unicode() == 0x7f) return {};
    if (ok) *ok = true;
    if (estIdentifiantSimple(nom)) return nom;
    const QString type = bd().typeBase();
    if (type == POSTGRESQL) return u'"' + nom.toLower() + u'"';
    if (type == ORACLE) return u'"' + nom.toUpper() + u'"';
    return u'"' + nom + u'"';
}

QString identifiantTable(const QString &prefixe, const QString &suffixe, QString *erreur)
{
    bool ok = false;
    const QString nom = prefixe + suffixe;
    QString r = identifiantSql(nom, &ok);
    if (ok && !suffixe.trimmed().isEmpty() && suffixe == suffixe.trimmed()) return r;
    if (erreur)
        *erreur = QStringLiteral("Le code « %1 » ne peut pas servir à nommer une table de la base.")
                      .arg(suffixe);
    return {};
}

QString dateSQL(const QString &date, bool avecHeure, const QString &typeBase)
{
    const QDateTime d = lireDate(date);
    if (typeBase == ORACLE) {
        // Oracle receives the text as typed, day first.
        if (!d.isValid()) return QStringLiteral("NULL");
        const QString texte = d.toString(avecHeure ? QStringLiteral("dd/MM/yyyy HH:mm:ss")
                                                   : QStringLiteral("dd/MM/yyyy"));
        return QStringLiteral(" to_date('") + texte +
               (avecHeure ? QStringLiteral("', 'DD/MM/YYYY HH24:MI:SS') ")
                          : QStringLiteral("', 'DD/MM/YYYY') "));
    }
    if (typeBase != ACCESS && typeBase != POSTGRESQL) return {};
    if (!d.isValid()) return QStringLiteral("NULL");
    const QString texte = d.toString(avecHeure ? QStringLiteral("MM/dd/yyyy HH:mm:ss")
                                               : QStringLiteral("MM/dd/yyyy"));
    return typeBase == ACCESS ? u'#' + texte + u'#' : u'\'' + texte + u'\'';
}

QString dateSQL(const QString &date, bool avecHeure)
{
    return dateSQL(date, avecHeure, bd().typeBase());
}

QString dateSQL(const QDateTime &date, bool avecHeure)
{
    if (!date.isValid()) return QStringLiteral("NULL");
    return dateSQL(date.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")), avecHeure);
}

} // namespace vyk
