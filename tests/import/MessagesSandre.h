#pragma once

// The hand-made SANDRE messages of tests/data/sandre, and the variants the readers must read
// the same way: elements behind a namespace prefix, names in another case.

#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>

#include "support/BaseTest.h"
#include "support/TablesCatalogue.h"

#include <gtest/gtest.h>

namespace vyk::test {

inline QByteArray messageSandre(const QString &nom)
{
    QFile f(QStringLiteral(VYK_TEST_DATA "/sandre/") + nom);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(nom);
    return f.readAll();
}

// Every element behind the prefix "m:", the default namespace declared for it.
inline QByteArray avecPrefixe(const QByteArray &xml)
{
    QString t = QString::fromUtf8(xml);
    t.replace(QRegularExpression(QStringLiteral("<(/?)([A-Za-z])")), QStringLiteral("<\\1m:\\2"));
    t.replace(QStringLiteral(" xmlns="), QStringLiteral(" xmlns:m="));
    return t.toUtf8();
}

// Every element name in upper case, no namespace.
inline QByteArray enMajuscules(const QByteArray &xml)
{
    QString t = QString::fromUtf8(xml);
    const QRegularExpression nom(QStringLiteral("<(/?)([A-Za-z][A-Za-z0-9_]*)"));
    QString sortie;
    qsizetype depuis = 0;
    for (auto it = nom.globalMatch(t); it.hasNext();) {
        const auto m = it.next();
        sortie += t.mid(depuis, m.capturedStart() - depuis) + QLatin1Char('<') + m.captured(1) +
                  m.captured(2).toUpper();
        depuis = m.capturedEnd();
    }
    sortie += t.mid(depuis);
    sortie.remove(QRegularExpression(QStringLiteral(" xmlns=\"[^\"]*\"")));
    return sortie.toUtf8();
}

inline QString ecrireFichier(const QTemporaryDir &dossier, const QString &nom,
                             const QByteArray &contenu)
{
    const QString chemin = dossier.filePath(nom);
    QFile f(chemin);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(contenu);
    return chemin;
}

// A database holding the tables the SANDRE messages write to.
class BaseMessagesSandre : public BaseTest
{
  protected:
    void SetUp() override
    {
        VYK_SETUP_BASE();
        creerTablesCatalogue({"QUALITOMETRES", "QUALITOMETRES_POINTS",
                              "QUALITOMETRES_POINTS_OPERATIONS", "PRELEVEMENTS", "INTERVENANTS",
                              "LIEN_QUALITO_INTERVENANTS", "LIEN_QUALITO_MASSE_EAU",
                              "LIEN_QUALITO_RESEAUX", "MASSES_EAUX", "RESEAUX", "COMMUNES",
                              "CODES_HYDRO", "BASSINS_VERSANTS", "JOURNAL"});
    }
    QString fichier(const QByteArray &contenu, const QString &nom)
    {
        return ecrireFichier(m_dossier, nom, contenu);
    }
    QTemporaryDir m_dossier;
};

} // namespace vyk::test
