#include "app/Registre.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <memory>

namespace vyk {

namespace {

std::unique_ptr<QSettings> ouvrir()
{
    const QString fichier = qEnvironmentVariable("VYK_SETTINGS");
    if (!fichier.isEmpty()) return std::make_unique<QSettings>(fichier, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("NORVALE"), QStringLiteral("VYK6"));
}

// Sub-keys of cle below the program's key. Other modules name the program's key in full.
QStringList sousCles(const QString &cle)
{
    QString c = cle.trimmed();
    c.replace(u'/', u'\\');
    if (c.startsWith(QLatin1String("HKEY_LOCAL_MACHINE\\"), Qt::CaseInsensitive))
        c.remove(0, int(qstrlen("HKEY_LOCAL_MACHINE\\")));
    if (c.compare(CLE_PROGRAMME, Qt::CaseInsensitive) == 0) return {};
    if (c.startsWith(CLE_PROGRAMME + u'\\', Qt::CaseInsensitive))
        c.remove(0, CLE_PROGRAMME.size() + 1);
    return c.split(u'\\', Qt::SkipEmptyParts);
}

// Enters the groups of cle, matching each stored spelling without regard to case. With
// creer, a missing group is entered under the given spelling; without it, false.
bool entrer(QSettings &s, const QString &cle, bool creer)
{
    for (const QString &partie : sousCles(cle)) {
        QString trouve;
        const QStringList groupes = s.childGroups();
        for (const QString &g : groupes)
            if (g.compare(partie, Qt::CaseInsensitive) == 0) {
                trouve = g;
                break;
            }
        if (trouve.isEmpty() && !creer) return false;
        s.beginGroup(trouve.isEmpty() ? partie : trouve);
    }
    return true;
}

// The stored spelling of a name, found without regard to case; the name itself when absent.
QString nomStocke(const QSettings &s, const QString &nom)
{
    const QStringList cles = s.childKeys();
    for (const QString &k : cles)
        if (k.compare(nom, Qt::CaseInsensitive) == 0) return k;
    return nom;
}

} // namespace

QString lireRegistre(const QString &nom, const QString &cle, bool garderCasse)
{
    auto s = ouvrir();
    if (!entrer(*s, cle, false)) return {};
    const QString k = nomStocke(*s, nom);
    if (!s->contains(k)) return {};
    const QVariant brut = s->value(k);
    // A hand-written value holding an unquoted comma comes back from the INI reader as a
    // list: put it back together rather than lose it.
    QString v = brut.typeId() == QMetaType::QStringList
                    ? brut.toStringList().join(QStringLiteral(", "))
                    : brut.toString();
    v.truncate(1024);
    const qsizetype nul = v.indexOf(QChar(u'\0'));
    if (nul >= 0) v.truncate(nul);
    v = v.trimmed();
    return garderCasse ? v : v.toUpper();
}

bool ecrireRegistre(const QString &nom, const QString &texte, const QString &cle)
{
    if (nom.trimmed().isEmpty()) return false;
    auto s = ouvrir();
    const QString fichier = s->fileName();
    const bool nouveau = !QFileInfo::exists(fichier);
    entrer(*s, cle, true);
    s->setValue(nomStocke(*s, nom), texte.isEmpty() ? QStringLiteral(" ") : texte);
    s->sync();
    const bool ok = s->status() == QSettings::NoError;
    // The store holds the server password as typed: keep a file we create to its owner.
    if (ok && nouveau) QFile::setPermissions(fichier, QFile::ReadOwner | QFile::WriteOwner);
    return ok;
}

QStringList nomsRegistre(const QString &cle)
{
    auto s = ouvrir();
    if (!entrer(*s, cle, false)) return {};
    return s->childKeys();
}

QString cheminRegistre()
{
    return ouvrir()->fileName();
}

} // namespace vyk
