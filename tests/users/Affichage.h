#pragma once

// Readable QString values in the failure messages of these tests.

#include <QString>

#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &texte, std::ostream *sortie)
{
    *sortie << '"' << texte.toStdString() << '"';
}
QT_END_NAMESPACE
