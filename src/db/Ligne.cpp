#include "db/Ligne.h"

#include <algorithm>
#include <cmath>

namespace vyk {

int Ligne::colonne(QStringView nom) const
{
    for (int i = 0; i < m_colonnes.size(); ++i)
        if (QStringView(m_colonnes[i]).compare(nom, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

bool Ligne::jourHeure(int c, QDate &jour, QTime &heure) const
{
    const QDateTime d = date(c);
    if (!d.isValid()) return false;
    jour = d.date();
    heure = d.time();
    return true;
}

qint64 Ligne::entierTexte(QByteArrayView t)
{
    bool ok = false;
    const qint64 n = t.trimmed().toLongLong(&ok);
    return ok ? n : entierReel(reelTexte(t));
}

double Ligne::reelTexte(QByteArrayView t)
{
    t = t.trimmed();
    double d = 0;
    if (reelDecimal(t, d)) return d;
    bool ok = false;
    d = t.toDouble(&ok);
    return ok ? d : 0;
}

bool reelDecimal(QByteArrayView t, double &d)
{
    // Exact powers of ten: a whole number below 2^53 divided by one is correctly rounded.
    static constexpr double puissances[] = {1,   10,  100,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    qsizetype i = 0;
    const bool negatif = !t.isEmpty() && t[0] == '-';
    if (negatif) ++i;
    qint64 n = 0;
    int chiffres = 0, decimales = -1;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        if (c == '.' && decimales < 0 && chiffres > 0 && i + 1 < t.size())
            decimales = 0;
        else if (c >= '0' && c <= '9' && chiffres < 15) {
            n = n * 10 + (c - '0');
            ++chiffres;
            if (decimales >= 0) ++decimales;
        } else
            return false;
    }
    if (chiffres == 0) return false;
    const double a = double(n) / puissances[std::max(decimales, 0)];
    d = negatif ? -a : a;
    return true;
}

qint64 Ligne::entierReel(double d)
{
    return std::abs(d) < 9.2e18 ? qint64(d) : 0;
}

QString messageLectureEnCours()
{
    return QStringLiteral("Une lecture pas à pas est en cours : aucune autre instruction ne peut "
                          "être envoyée à la base avant sa fin.");
}

} // namespace vyk
