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
    bool editionReferentiels = false; // may edit the reference lists
    QString nomContact;
    // Station filters of the user, one per module of the suite.
    QString filtrePiezo, filtreQualito, filtrePluvio, filtreHydro;
    // Rights as ",RIGHT,RIGHT,...," (just "," for none), read once at login by the users
    // module; empty until then.
    QString habilitations;
    QString poste; // workstation identifier written in the journal

    bool estConnecte() const { return !login.isEmpty(); }
    // Back to no user; the workstation stays.
    void vider()
    {
        const QString p = poste;
        *this = Session{};
        poste = p;
    }
};

// The process-wide session.
Session &session();

} // namespace vyk
