#include "app/Csv.h"

#include <QDateTime>
#include <QTextStream>

namespace vyk {

QString champCsv(const QString &texte, QChar separateur)
{
    if (!texte.contains(separateur) && !texte.contains(u'"') && !texte.contains(u'\n') && !texte.contains(u'\r'))
        return texte;
    QString r = texte;
    r.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + r + u'"';
}

QString texteExport(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return {};
    switch (v.typeId()) {
    case QMetaType::QDateTime:
        return v.toDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral(" 00:00:00");
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(v.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default:
        return v.toString();
    }
}

QString ligneCsv(const QStringList &champs, QChar separateur)
{
    QStringList r;
    r.reserve(champs.size());
    for (const QString &c : champs)
        r << champCsv(c, separateur);
    return r.join(separateur);
}

void ecrireCsv(const Tableau &tableau, QTextStream &sortie, QChar separateur, const QString &finLigne,
               const QStringList &entetes)
{
    sortie << ligneCsv(entetes.isEmpty() ? tableau.colonnes() : entetes, separateur) << finLigne;
    QStringList champs;
    for (int l = 0; l < tableau.nbLignes(); ++l) {
        champs.clear();
        for (int c = 0; c < tableau.nbColonnes(); ++c)
            champs << texteExport(tableau(l, c));
        sortie << ligneCsv(champs, separateur) << finLigne;
    }
}

} // namespace vyk
