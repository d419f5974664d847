#include "monitoring/ValeursSaisies.h"

#include "db/Outils.h"
#include "db/Tableau.h"

namespace vyk {

QVariant valeurSaisie(GenreChamp genre, const QString &brut, bool colonneNumerique)
{
    const QString texte = brut.trimmed();
    if (genre == GenreChamp::Case) {
        const QString v = texte == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("0");
        return colonneNumerique ? QVariant(v.toDouble()) : QVariant(v);
    }
    if (texte.isEmpty()) return {};
    switch (genre) {
    case GenreChamp::Nombre:
        return enNombre(texte, true).variant();
    case GenreChamp::Date: {
        const QDateTime d = lireDate(texte);
        return d.isValid() ? QVariant(QDateTime(d.date(), QTime(0, 0))) : QVariant();
    }
    case GenreChamp::Heure: {
        const QTime h = lireHeure(texte);
        return h.isValid() ? QVariant(QDateTime(JOUR_DES_HEURES, h)) : QVariant();
    }
    case GenreChamp::Code:
        return colonneNumerique ? enNombre(texte, true).variant() : QVariant(texte);
    default:
        return brut;
    }
}

QString texteSaisi(GenreChamp genre, const QVariant &v)
{
    if (v.isNull()) return genre == GenreChamp::Case ? QStringLiteral("0") : QString();
    switch (genre) {
    case GenreChamp::Date:
        return v.toDateTime().date().toString(QStringLiteral("dd/MM/yyyy"));
    case GenreChamp::Heure:
        return v.toDateTime().time().toString(QStringLiteral("HH:mm"));
    case GenreChamp::Case:
        return texteValeur(v).trimmed() == QLatin1String("1") ? QStringLiteral("1")
                                                              : QStringLiteral("0");
    default:
        return texteValeur(v);
    }
}

bool saisieCorrecte(GenreChamp genre, const QString &brut, bool colonneNumerique)
{
    const QString texte = brut.trimmed();
    if (texte.isEmpty()) return true;
    switch (genre) {
    case GenreChamp::Nombre:
        return estNombre(texte);
    case GenreChamp::Date:
        return lireDate(texte).isValid();
    case GenreChamp::Heure:
        return lireHeure(texte).isValid();
    case GenreChamp::Code:
        return !colonneNumerique || estNombre(texte);
    default:
        return true;
    }
}

} // namespace vyk
