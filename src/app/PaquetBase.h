#pragma once

// Exchange packages: a ZIP archive holding one desktop database entry "TMPBSBI.MDB".

#include <QString>

namespace vyk {

inline const QString ENTREE_PAQUET = QStringLiteral("TMPBSBI.MDB");
inline const QString BASE_IMPORT = QStringLiteral("BASEIMPORT.MDB");

// True for a name that is a desktop database as it stands (ends in "mdb", any case), or a
// file that is already a database of the desktop engine.
bool estFichierBase(const QString &chemin);

// Extracts the package's database to BASEIMPORT.MDB in the package's folder, replacing the
// one a previous import left there, and returns its path. "" on failure, with the French
// reason in erreur (nothing is replaced then).
QString extrairePaquetBase(const QString &paquet, QString *erreur = nullptr);

} // namespace vyk
