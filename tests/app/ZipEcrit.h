#pragma once

// A ZIP archive written by hand (entries stored, not compressed), so that the package tests do
// not depend on the library under test to make their input.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QVector>

#include <utility>

namespace vyk::test {

inline quint32 crc32(const QByteArray &octets)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : octets) {
        crc ^= static_cast<unsigned char>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline bool ecrireZip(const QString &chemin, const QVector<std::pair<QString, QByteArray>> &entrees)
{
    QByteArray zip, central;
    auto u16 = [](QByteArray &b, quint16 v) { b.append(char(v & 0xFF)).append(char(v >> 8)); };
    auto u32 = [&](QByteArray &b, quint32 v) {
        u16(b, quint16(v & 0xFFFF));
        u16(b, quint16(v >> 16));
    };
    for (const auto &[nom, donnees] : entrees) {
        const QByteArray n = nom.toUtf8();
        const quint32 crc = crc32(donnees);
        const quint32 position = quint32(zip.size());
        u32(zip, 0x04034b50);
        u16(zip, 10);
        u16(zip, 0);
        u16(zip, 0);
        u16(zip, 0);
        u16(zip, 0x21);
        u32(zip, crc);
        u32(zip, quint32(donnees.size()));
        u32(zip, quint32(donnees.size()));
        u16(zip, quint16(n.size()));
        u16(zip, 0);
        zip += n;
        zip += donnees;
        u32(central, 0x02014b50);
        u16(central, 20);
        u16(central, 10);
        u16(central, 0);
        u16(central, 0);
        u16(central, 0);
        u16(central, 0x21);
        u32(central, crc);
        u32(central, quint32(donnees.size()));
        u32(central, quint32(donnees.size()));
        u16(central, quint16(n.size()));
        u16(central, 0);
        u16(central, 0);
        u16(central, 0);
        u16(central, 0);
        u32(central, 0);
        u32(central, position);
        central += n;
    }
    const quint32 debutCentral = quint32(zip.size());
    zip += central;
    u32(zip, 0x06054b50);
    u16(zip, 0);
    u16(zip, 0);
    u16(zip, quint16(entrees.size()));
    u16(zip, quint16(entrees.size()));
    u32(zip, quint32(central.size()));
    u32(zip, debutCentral);
    u16(zip, 0);
    QFile f(chemin);
    return f.open(QIODevice::WriteOnly) && f.write(zip) == zip.size();
}

} // namespace vyk::test
