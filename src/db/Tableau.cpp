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
    case QMetaType::Float: {
        const double d = v.toDouble();
        // A whole number below 1e15 has the same text as an integer, written much faster.
        if (d == std::trunc(d) && std::abs(d) < 1e15) return QString::number(qint64(d));
        return QString::number(d, 'g', 15);
    }
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default:
        return v.toString();
    }
}

} // namespace vyk
