#pragma once

// The colours of the quality classes, the same on every screen that shows them (situation map,
// follow-up table, legends): 1 blue, 2 green, 3 yellow, 4 orange, 5 red.

#include <QColor>
#include <QString>

namespace vyk {

// An invalid colour for "", "0", "-1" and anything else not a class.
inline QColor couleurClasse(const QString &classe)
{
    static const QColor couleurs[] = {QColor(0, 112, 192), QColor(0, 176, 80), QColor(255, 255, 0),
                                      QColor(255, 153, 0), QColor(255, 0, 0)};
    bool ok = false;
    const int n = classe.toInt(&ok);
    return ok && n >= 1 && n <= 5 ? couleurs[n - 1] : QColor();
}

} // namespace vyk
