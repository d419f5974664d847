#include "db/Tableau.h"

#include <QDateTime>

#include <cmath>

namespace vyk {

Tableau::Tableau(QStringList colonnes, QVector<QVariant> cellules)
    : m_colonnes(std::move(colonnes)), m_cellules(std::move(cellules))
{
}

int Tableau::indexColonne(const QString &nom) const
{
    for (int i = 0; i < m_colonnes.size(); ++i)
        if (m_colonnes[i].compare(nom, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

const QVariant &Tableau::valeur(int ligne, const QString &colonne) const
{
    static const QVariant nul;
    const int c = indexColonne(colonne);
    return c < 0 ? nul : (*this)(ligne, c);
}

QString Tableau::texte(int ligne, int colonne) const
{
    return texteValeur((*this)(ligne, colonne));
}

QString Tableau::texte(int ligne, const QString &colonne) const
{
    return texteValeur(valeur(ligne, colonne));
}

void Tableau::vider()
{
    m_colonnes.clear();
    m_types.clear();
    m_cellules.clear();
}

void Tableau::ajouterLigne(const QVector<QVariant> &ligne)
{
    Q_ASSERT(ligne.size() == m_colonnes.size());
    m_cellules.append(ligne);
}

void Tableau::definirColonnes(const QStringList &colonnes, const QVector<TypeValeur> &types)
{
    m_colonnes = colonnes;
    m_types = types;
    m_cellules.clear();
}

namespace {

constexpr double PUISSANCES_DE_DIX[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};

// The text of a real that is the nearest double of a decimal of at most eight decimals and
// fifteen digits, written without the general formatter: that decimal is also its rounding to
// fifteen significant digits. Empty for any other real (or one 'g' writes with an exponent).
QString texteDecimal(double d)
{
    const double a = std::abs(d);
    if (!(a >= 1e-4 && a < 1e15)) return {};
    for (int k = 1; k < int(std::size(PUISSANCES_DE_DIX)); ++k) {
        const double m = std::round(a * PUISSANCES_DE_DIX[k]);
        if (m >= 1e15) return {};
        if (m / PUISSANCES_DE_DIX[k] != a) continue;
        const auto n = qint64(m), diviseur = qint64(PUISSANCES_DE_DIX[k]);
        char tampon[40];
        char *fin = tampon + sizeof tampon, *p = fin;
        for (qint64 f = n % diviseur, i = 0; i < k; ++i, f /= 10)
            *--p = char('0' + f % 10);
        *--p = '.';
        qint64 e = n / diviseur;
        do {
            *--p = char('0' + e % 10);
            e /= 10;
        } while (e > 0);
        if (d < 0) *--p = '-';
        return QString::fromLatin1(p, fin - p);
    }
    return {};
}

} // namespace

QString texteReel(double d)
{
    // A whole number below 1e15 has the same text as an integer, written much faster.
    if (d == std::trunc(d) && std::abs(d) < 1e15) return QString::number(qint64(d));
    QString t = texteDecimal(d);
    return t.isEmpty() ? QString::number(d, 'g', 15) : t;
}

QString texteValeur(const QVariant &v)
{
    if (v.isNull() || !v.isValid()) return {};
    switch (v.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime d = v.toDateTime();
        if (d.time() == QTime(0, 0)) return d.toString(QStringLiteral("dd/MM/yyyy"));
        return d.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    }
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case QMetaType::Double:
    case QMetaType::Float:
        return texteReel(v.toDouble());
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default:
        return v.toString();
    }
}

} // namespace vyk
