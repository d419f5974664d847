#include "db/Outils.h"
#include "db/CleColonne.h"
#include "db/Ligne.h"

#include <cmath>
#include <cstdio>
#include <optional>

namespace vyk {

namespace {
// A plain decimal text ("-12,5" or "-12.5") read without a copy by the database layer's own
// reader: most cells of an import are such. Anything else is left to Qt's parser, whose verdict
// stands.
std::optional<double> decimalSimple(QStringView t)
{
    constexpr qsizetype MAX = 20;
    if (t.size() > MAX) return std::nullopt;
    char chiffres[MAX];
    for (qsizetype i = 0; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if ((c >= u'0' && c <= u'9') || c == u'-')
            chiffres[i] = char(c);
        else if (c == u'.' || c == u',')
            chiffres[i] = '.';
        else
            return std::nullopt;
    }
    double v = 0;
    if (!reelDecimal(QByteArrayView(chiffres, t.size()), v)) return std::nullopt;
    return v;
}
} // namespace

Nombre enNombre(const QString &texte, bool nulSiVide)
{
    const QStringView vue = QStringView(texte).trimmed();
    if (vue.isEmpty())
        return nulSiVide ? Nombre{Nombre::Etat::Nul, 0} : Nombre{Nombre::Etat::Valeur, 0};
    if (const std::optional<double> v = decimalSimple(vue); v && std::isfinite(*v))
        return {Nombre::Etat::Valeur, *v};
    QString normalise = vue.toString();
    normalise.replace(u',', u'.');
    bool ok = false;
    const double v = normalise.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return {Nombre::Etat::Erreur, 0};
    return {Nombre::Etat::Valeur, v};
}

bool estNombre(const QString &texte)
{
    return !texte.trimmed().isEmpty() && enNombre(texte).estNombre();
}

QString remplacer(const QString &texte, const QString &cherche, const QString &remplacement)
{
    if (cherche.isEmpty()) return texte;
    QString r = texte;
    return r.replace(cherche, remplacement);
}

namespace {
bool lireEntier(QStringView t, qsizetype &i, int maxChiffres, int &valeur)
{
    const qsizetype debut = i;
    valeur = 0;
    while (i < t.size() && t[i].isDigit() && i - debut < maxChiffres) {
        valeur = valeur * 10 + t[i].digitValue();
        ++i;
    }
    return i > debut;
}
} // namespace

QDateTime lireDate(QStringView texte)
{
    const QStringView t = texte.trimmed();
    qsizetype i = 0;
    int a = 0, b = 0, c = 0;
    if (!lireEntier(t, i, 4, a) || i >= t.size()) return {};
    const QChar sep = t[i];
    if (sep != u'/' && sep != u'-' && sep != u'.') return {};
    ++i;
    if (!lireEntier(t, i, 2, b) || i >= t.size() || t[i] != sep) return {};
    ++i;
    if (!lireEntier(t, i, 4, c)) return {};
    QDate date;
    if (a >= 1000)
        date = QDate(a, b, c); // year first
    else if (c >= 100)
        date = QDate(c, b, a); // day first
    if (!date.isValid()) return {};
    int h = 0, m = 0, s = 0;
    if (i < t.size()) {
        if (t[i] != u' ' && t[i] != u'T') return {};
        while (i < t.size() && (t[i] == u' ' || t[i] == u'T'))
            ++i;
        if (i < t.size()) {
            if (!lireEntier(t, i, 2, h)) return {};
            if (i < t.size() && t[i] == u':') {
                ++i;
                if (!lireEntier(t, i, 2, m)) return {};
                if (i < t.size() && t[i] == u':') {
                    ++i;
                    if (!lireEntier(t, i, 2, s)) return {};
                }
            }
            // fractions of seconds and a zone offset are ignored
            if (i < t.size() && t[i] == u'.')
                while (++i < t.size() && t[i].isDigit()) {
                }
        }
    }
    const QTime heure(h, m, s);
    if (!heure.isValid()) return {};
    return QDateTime(date, heure);
}

QByteArray texteIso(const QDateTime &d)
{
    const QDate j = d.date();
    const QTime h = d.time();
    const int annee = j.year();
    if (annee >= 0 && annee <= 9999 && j.isValid() && h.isValid()) {
        // The usual case, digit by digit: snprintf costs ten times as much per date.
        char t[19] = {'0', '0', '0', '0', '-', '0', '0', '-', '0', '0',
                      ' ', '0', '0', ':', '0', '0', ':', '0', '0'};
        auto chiffres = [&t](int position, int valeur, int nombre) {
            for (int k = position + nombre - 1; k >= position; --k, valeur /= 10)
                t[k] = char('0' + valeur % 10);
        };
        chiffres(0, annee, 4);
        chiffres(5, j.month(), 2);
        chiffres(8, j.day(), 2);
        chiffres(11, h.hour(), 2);
        chiffres(14, h.minute(), 2);
        chiffres(17, h.second(), 2);
        return QByteArray(t, int(sizeof t));
    }
    char t[64];
    const int n = std::snprintf(t, sizeof t, "%04d-%02d-%02d %02d:%02d:%02d", j.year(), j.month(),
                                j.day(), h.hour(), h.minute(), h.second());
    return QByteArray(t, n);
}

QString texteDate(const QDateTime &d, bool avecHeure)
{
    if (!d.isValid()) return {};
    return d.toString(avecHeure ? QStringLiteral("dd/MM/yyyy HH:mm:ss")
                                : QStringLiteral("dd/MM/yyyy"));
}

bool dateCorrecte(const QString &texte)
{
    return texte.trimmed().isEmpty() || lireDate(texte.trimmed()).isValid();
}

QVariant nulSiVide(const QString &texte)
{
    const QString t = texte.trimmed();
    return t.isEmpty() ? QVariant() : QVariant(t);
}

QString refusTexteImporte(const QString &texte, const QString &champ)
{
    if (!texte.contains(QChar(u'\0'))) return {};
    return QStringLiteral("le champ « %1 » contient un octet nul, qu'aucune base ne peut "
                          "enregistrer")
        .arg(champ);
}

QString cleColonne(const QString &nom)
{
    QString r;
    for (const QChar c : nom.normalized(QString::NormalizationForm_D))
        if (c.isLetterOrNumber()) r += c.toLower();
    return r;
}

} // namespace vyk
