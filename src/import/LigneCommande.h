#pragma once

// The command line of an unattended import: /IMPORT /FOLDER=... /EXTENSION=... and the six
// "OUI"/"NON" options.

#include <QString>
#include <QStringList>

namespace vyk {

// The value of the option `nom` (without its slash) in the program's arguments: an argument
// that is "/" + the name (case-insensitive) on its own or followed by one separator ("=", ":"
// or a blank) and the value. Arguments after it that do not start with "/" continue the value
// (a folder with blanks given unquoted). The value is trimmed and its double quotes removed;
// "" when the option is absent. The name is matched as a whole argument only: it is never found
// inside a path or another option.
QString lireParametreLigneCommande(const QStringList &arguments, const QString &nom);
// True when the option is present as a whole argument (with or without a value).
bool optionPresente(const QStringList &arguments, const QString &nom);

// The options of an unattended import, read from the arguments.
struct ImportLigneCommande
{
    bool demande = false; // "IMPORT" present
    QString dossier;      // "FOLDER"
    QString extension;    // "EXTENSION"
    // "AJOUTNOUVSTATION", "importerMesureUniquement", "importerNouvMesureUniquement",
    // "PasDeMesureIncorrecte", "descriptifStationUniquement", "ajoutRefManquant": true only for
    // "OUI", in that order.
    bool options[6] = {};
};
ImportLigneCommande lireImportLigneCommande(const QStringList &arguments);

} // namespace vyk
