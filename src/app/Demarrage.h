#pragma once

// From the first screen to the main window and back: the login screen's loading and
// connection, the login, the schema check, the closing of the main window and the change of
// database. The screens only show what this object decides.

#include "app/Connexion.h"
#include "app/Options.h"
#include "db/Messages.h"

#include <QString>

#include <functional>

namespace vyk {

class Demarrage
{
  public:
    Demarrage();

    // --- Seams filled by other parts of the program -----------------------------------------
    // Authentication of a login (users and rights). automatique: the last user is being
    // logged in without asking. Until the users module fills it, every name is accepted and
    // becomes the session's login.
    std::function<bool(const QString &login, const QString &motDePasse, bool automatique)>
        authentifier;
    // Schema check and upgrade of the open database, given the program's version.
    std::function<bool(const QString &version)> verifierVersionBase;
    // Why the last check refused the database ("" when it cannot tell).
    std::function<QString()> raisonRefusBase;
    // The opening of a database (bd().ouvrirBase).
    OuvertureBase ouvrir;
    // The login screen's status label.
    std::function<void(const QString &texte)> afficherStatut;

    // --- Login screen -----------------------------------------------------------------------
    // Loading: the journal level, the options and the connection settings, then connexionbase.
    bool chargement();
    bool connexionbase();
    // Why the last opening, change of database or login refused to go on ("" when nothing was
    // refused): the login screen shows it, as "ERREUR". Nothing here shows anything.
    const QString &refus() const { return m_refus; }
    bool estConnecte() const;
    QString libelleStatut() const { return m_parametres.libelleStatut(); }
    static QString version();
    static QString libelleVersion(); // "Version x.y.z"
    QString dernierUtilisateur() const;
    bool connexionAutomatique() const;

    enum class Identification
    {
        Refusee,
        BaseRefusee,
        Ouverte
    };
    // The login command: authentication, then ConnexionAutomatic and LastUser are stored,
    // the status shows "Vérification de la base de données" and the schema check runs.
    // Ouverte: the main window may open. BaseRefusee: the schema could not be brought up to
    // date; the reason is journalled and given by refus().
    Identification identifier(const QString &login, const QString &motDePasse,
                              bool connexionAutomatique, bool automatique = false);

    // --- Main window --------------------------------------------------------------------------
    // Closing asked: unless a change of database is under way, the question
    // "Etes vous sûr de vouloir quitter <titre> ?" put to confirmer; when closing goes on,
    // "Logout" is journalled. True when the window may close.
    bool demanderFermeture(const QString &titre,
                           const Confirmation &confirmer = confirmerParMessage);
    // The main window is gone: the connection is closed and the session emptied. True when
    // the program ends; false when the login screen comes back (change of database or user).
    bool dechargement();
    // "Changer d'utilisateur": logs out and brings the login screen back on the same database.
    void changementUtilisateur();

    // --- Change of database (connection screen) -----------------------------------------------
    // ConnexionAutomatic = "NON", settings read again, connection closed. When the login screen
    // is up, connexionbase runs at once and its result is returned; otherwise the main window
    // is marked for the change (it then closes without question) and false is returned.
    bool changementBase(bool ecranIdentificationCharge);

    const ParametresConnexion &parametres() const { return m_parametres; }
    bool changementBaseEnCours() const { return m_parametres.changementBaseEnCours; }
    const OptionsProgramme &options() const { return m_options; }

    static QString questionFermeture(const QString &titre);
    static inline const QString VERIFICATION = QStringLiteral("Vérification de la base de données");
    static inline const QString BASE_REFUSEE = QStringLiteral(
        "La base de données n'a pas pu être mise à jour : la connexion est refusée.");

  private:
    void deconnecterSession();

    ParametresConnexion m_parametres;
    OptionsProgramme m_options;
    QString m_refus;
};

} // namespace vyk
