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

namespace {

// The fields of the record starting at i; i is left after its line end. uneLigne: a quoted field
// ends with the line (ouvert tells whether a quote was still open at the end of the text).
QStringList enregistrementCsv(const QString &t, qsizetype &i, QChar separateur, bool uneLigne,
                              bool &ouvert)
{
    QStringList champs;
    QString courant;
    bool guillemets = false;
    while (i < t.size()) {
        const QChar c = t[i++];
        const bool finLigne = c == u'\n' || (c == u'\r' && i < t.size() && t[i] == u'\n');
        if (guillemets && !(uneLigne && finLigne)) {
            if (c == u'"') {
                if (i < t.size() && t[i] == u'"') {
                    courant += u'"';
                    ++i;
                } else {
                    guillemets = false;
                }
            } else if (c != u'\r' || !finLigne) {
                courant += c;
            }
        } else if (finLigne) {
            if (c == u'\r') ++i;
            break;
        } else if (c == u'"' && courant.trimmed().isEmpty()) {
            courant.clear();
            guillemets = true;
        } else if (c == separateur) {
            champs << courant;
            courant.clear();
        } else {
            courant += c;
        }
    }
    champs << courant;
    ouvert = guillemets && i >= t.size();
    return champs;
}

} // namespace

QVector<QStringList> lireEnregistrementsCsv(const QString &texte, QChar separateur)
{
    QVector<QStringList> r;
    qsizetype i = 0;
    while (i < texte.size()) {
        const qsizetype debut = i;
        bool ouvert = false;
        QStringList champs = enregistrementCsv(texte, i, separateur, false, ouvert);
        if (ouvert) {
            // A stray quote must not swallow the rest of the file.
            i = debut;
            champs = enregistrementCsv(texte, i, separateur, true, ouvert);
        }
        r << champs;
    }
    return r;
}

bool enregistrementVide(const QStringList &champs)
{
    for (const QString &c : champs)
        if (!c.trimmed().isEmpty())
            return false;
    return true;
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
