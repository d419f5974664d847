#pragma once

#include <QString>
#include <QStringList>

namespace vyk {

// The logged-in user of this run (empty login before any login: unattended runs). The journal
// reads it; the users module fills it at login and clears it at logout.
struct Session
{
    QString login;
    QString nom;
    QString codeContact; // contact code of the user, "" when none
    QString codeIntervenant;
    bool administrateur = false;
    QString poste; // workstation identifier written in the journal

    bool estConnecte() const { return !login.isEmpty(); }
    void vider() { *this = Session{}; }
};

// The process-wide session.
Session &session();

} // namespace vyk
