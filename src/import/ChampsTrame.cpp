#include "import/ChampsTrame.h"

namespace vyk {

QString echapperChampTrame(const QString &texte)
{
    QString e;
    e.reserve(texte.size());
    for (qsizetype i = 0; i < texte.size(); ++i) {
        const QChar c = texte.at(i);
        if (c == u'\r' || c == u'\n') {
            // "\r\n" makes one blank.
            if (c == u'\r' && i + 1 < texte.size() && texte.at(i + 1) == u'\n') ++i;
            e += u' ';
            continue;
        }
        if (c == u'\\' || c == u'|') e += u'\\';
        e += c;
    }
    return e;
}

QString enregistrementTrame(const QStringList &champs)
{
    QStringList e;
    e.reserve(champs.size());
    for (const QString &c : champs)
        e << echapperChampTrame(c);
    return e.join(u'|');
}

QStringList decouperEnregistrementTrame(const QString &ligne)
{
    QStringList champs;
    QString champ;
    for (qsizetype i = 0; i < ligne.size(); ++i) {
        const QChar c = ligne.at(i);
        if (c == u'\\' && i + 1 < ligne.size() &&
            (ligne.at(i + 1) == u'|' || ligne.at(i + 1) == u'\\')) {
            champ += ligne.at(++i);
        } else if (c == u'|') {
            champs << champ;
            champ.clear();
        } else {
            champ += c;
        }
    }
    champs << champ;
    return champs;
}

} // namespace vyk
