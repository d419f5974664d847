#include "app/Registre.h"

#include <QSettings>

namespace vyk {

namespace {

std::unique_ptr<QSettings> ouvrir()
{
    const QString fichier = qEnvironmentVariable("VYK_SETTINGS");
    if (!fichier.isEmpty())
        return std::make_unique<QSettings>(fichier, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("NORVALE"),
                                       QStringLiteral("VYK6"));
}

QString groupe(const QString &cle)
{
    QString g = cle;
    g.replace(u'\\', u'/');
    while (g.startsWith(u'/'))
        g.remove(0, 1);
    return g;
}

// The stored spelling of a name, found without regard to case; the name itself when absent.
QString nomStocke(QSettings &s, const QString &nom)
{
    const QStringList cles = s.childKeys();
    for (const QString &k : cles)
        if (k.compare(nom, Qt::CaseInsensitive) == 0)
            return k;
    return nom;
}

} // namespace

QString lireRegistre(const QString &nom, const QString &cle, bool garderCasse)
{
    auto s = ouvrir();
    const QString g = groupe(cle);
    if (!g.isEmpty())
        s->beginGroup(g);
    const QString k = nomStocke(*s, nom);
    if (!s->contains(k))
        return {};
    QString v = s->value(k).toString().left(1024);
    const qsizetype nul = v.indexOf(QChar(u'\0'));
    if (nul >= 0)
        v.truncate(nul);
    v = v.trimmed();
    return garderCasse ? v : v.toUpper();
}

bool ecrireRegistre(const QString &nom, const QString &texte, const QString &cle)
{
    auto s = ouvrir();
    const QString g = groupe(cle);
    if (!g.isEmpty())
        s->beginGroup(g);
    s->setValue(nomStocke(*s, nom), texte.isEmpty() ? QStringLiteral(" ") : texte);
    s->sync();
    return s->status() == QSettings::NoError;
}

QString cheminRegistre() { return ouvrir()->fileName(); }

} // namespace vyk
