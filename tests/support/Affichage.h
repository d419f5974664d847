#pragma once

// Readable QString values in the failure messages of the tests.

#include <QString>

#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &texte, std::ostream *sortie)
{
    *sortie << '"' << qPrintable(texte) << '"';
}
QT_END_NAMESPACE
