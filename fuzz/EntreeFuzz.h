#pragma once

// The readers take a path: each input is written to a file of the process's own first.

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace vyk::fuzz {

inline QString fichierEntree(const uint8_t *donnees, size_t taille, const QString &extension)
{
    const QString chemin = QDir::tempPath() + QStringLiteral("/vyk-fuzz-") +
                           QString::number(QCoreApplication::applicationPid()) + extension;
    QFile f(chemin);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(reinterpret_cast<const char *>(donnees), static_cast<qint64>(taille));
    return chemin;
}

} // namespace vyk::fuzz
