#pragma once

#include <QString>
#include <QStringList>

namespace vyk {

// The program's settings store: named text values under NORVALE / VYK6 (an INI file in the
// user's configuration folder, or the file named by the VYK_SETTINGS environment variable).
// Names, and the sub-keys of cle, are compared without regard to case. The names in use and
// their meaning are listed in app/Reglages.h.

// Key of the program, as other modules of the suite name it; cle may be given this way.
inline const QString CLE_PROGRAMME = QStringLiteral("SOFTWARE\\NORVALE\\VYK6");

// The value, cut at 1024 characters and at its first NUL, trimmed, upper-cased unless
// garderCasse; "" when the value or its key is missing. cle names a sub-key ("" or
// CLE_PROGRAMME for the program's own, "A\B" for a key below it).
QString lireRegistre(const QString &nom, const QString &cle = {}, bool garderCasse = false);
// Stores the text (an empty text as one blank, so that it reads back as ""); creates what is
// missing. True when written.
bool ecrireRegistre(const QString &nom, const QString &texte, const QString &cle = {});
// Names of the values of a key, as stored.
QStringList nomsRegistre(const QString &cle = {});
// Path of the settings file in use.
QString cheminRegistre();

} // namespace vyk
