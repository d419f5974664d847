#pragma once

#include <QString>

namespace vyk {

// The program's settings store: named text values under NORVALE / VYK6 (an INI file in the
// user's configuration folder, or the file named by the VYK_SETTINGS environment variable).
// Names are compared without regard to case.

// The value, cut at 1024 characters and at its first NUL, trimmed, upper-cased unless
// garderCasse; "" when missing. cle names another key under the store ("" for the program's).
QString lireRegistre(const QString &nom, const QString &cle = {}, bool garderCasse = false);
// Stores the text (an empty text as one blank, so that it reads back as ""); creates what is
// missing. True when written.
bool ecrireRegistre(const QString &nom, const QString &texte, const QString &cle = {});
// Path of the settings file in use.
QString cheminRegistre();

} // namespace vyk
