#include "db/Ligne.h"

#include <cmath>

namespace vyk {

int Ligne::colonne(QStringView nom) const
{
    for (int i = 0; i < m_colonnes.size(); ++i)
        if (QStringView(m_colonnes[i]).compare(nom, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

qint64 Ligne::entierTexte(QByteArrayView t)
{
    bool ok = false;
    const qint64 n = t.trimmed().toLongLong(&ok);
    return ok ? n : entierReel(reelTexte(t));
}

double Ligne::reelTexte(QByteArrayView t)
{
    bool ok = false;
    const double d = t.trimmed().toDouble(&ok);
    return ok ? d : 0;
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
