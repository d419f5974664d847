#pragma once

#include <QString>

#include <ostream>

// Readable texts in failure messages.
inline void PrintTo(const QString &texte, std::ostream *sortie) { *sortie << '"' << qPrintable(texte) << '"'; }
