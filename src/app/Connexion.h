#pragma once

// The current connection: its settings, read from the settings store, and the opening of the
// database they name through the process-wide database object.

#include "db/CompteRendu.h"

#include <QString>

#include <functional>

namespace vyk {

// Current connection settings (ParametresConnexion).
struct ParametresConnexion
{
    QString base;     // file path, or database name on the server
    QString typeBase; // backend code, upper-cased: "ACCESS", "POSTGRESQL", "ORACLE"...
    QString serveurBase, portServeurBase, userBase, passBase;
    bool changementBaseEnCours = false; // a change of database is closing the main window

    // Base, TypeBase, ServeurBase, PortServeurBase, UserBase, PassBase of the store.
    static ParametresConnexion lire();
    bool estServeur() const { return !typeBase.isEmpty() && typeBase != QLatin1String("ACCESS"); }
    // "server/base" for a server, the file path for a desktop database.
    QString libelleStatut() const;
};

// The opening of a database (bd().ouvrirBase by default; tests may watch what it receives).
using OuvertureBase =
    std::function<bool(const QString &base, const QString &typeBase, const QString &serveur,
                       const QString &utilisateur, const QString &motDePasse, const QString &module,
                       const QString &port)>;
OuvertureBase ouvertureParDefaut();

inline const QString MODULE = QStringLiteral("VYK");

// Message shown when the database cannot be opened.
QString messageEchecConnexion(const QString &base);

// connexionbase: opens the database of the settings. An "ORACLE" type reaches the database
// object as stored (it may carry a suffix the driver needs) and is then "ORACLE" until the
// database changes. On failure nothing stays open and the report holds messageEchecConnexion;
// nothing is shown.
CompteRendu connexionbase(ParametresConnexion &parametres,
                          const OuvertureBase &ouvrir = ouvertureParDefaut());

} // namespace vyk
