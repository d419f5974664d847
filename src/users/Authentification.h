#pragma once

// The login of a user of the database's own user table. On success the user, their rights and
// their station filters are in session().

#include "db/CompteRendu.h"

#include <QString>

namespace vyk {

namespace texteLogin {
inline const QString MODULE_INTERDIT =
    QStringLiteral("Vous ne disposez pas de droits suffisants pour accéder à ce module");
inline const QString UTILISATEUR_INCONNU = QStringLiteral("Utilisateur inconnu");
inline const QString MOT_DE_PASSE_ERRONE = QStringLiteral("Mot de passe erronné");
inline const QString MOT_DE_PASSE_PAR_DEFAUT = QStringLiteral(
    "Vous êtes connecté avec le mot de passe par défaut de l'administrateur.\n"
    "Pour protéger la base, changez-le dès maintenant dans la gestion des utilisateurs "
    "(menu Fichier, « Gestion des utilisateurs... »).");
inline const QString CHARGEMENT_STATIONS = QStringLiteral("Chargement de liste des stations");
} // namespace texteLogin

enum class ResultatLogin
{
    Accepte,
    ModuleInterdit, // the user holds QUALITO_FORBIDEN
    UtilisateurInconnu,
    MotDePasseErrone,  // the login screen empties its password field
    AutomatiqueRefuse, // automatic login without a valid remembered login: no message
    BaseFermee,
};

// Logs a user in: ensures the user tables, names the connection on PostgreSQL, refuses a user
// of a forbidden module, an unknown user or a wrong password (showing nothing), then fills
// session() (rights read once) and journals "Login". The password is compared in upper case,
// as the other modules of the suite do.
//
// automatique: the login screen logs the last user in without a typed password; it is accepted
// only with the proof left by retenirConnexionAutomatique(true) for this user, this password and
// this database (the settings alone never open an account).
ResultatLogin connecterUtilisateur(const QString &login, const QString &motDePasse,
                                   bool automatique = false);

// What the login screen tells of a login: the refusal; once accepted, the notice that the
// administrator's default password is still in service; nothing for an automatic login refused
// or a closed database.
CompteRendu compteRenduLogin(ResultatLogin resultat);

// After a login, with the state of the automatic-login box: ticked, the proof of the session's
// user is remembered for the next start; not ticked, any proof is forgotten.
void retenirConnexionAutomatique(bool coche);

// True when the stored password of the session's user is still the default one of "ADMIN".
bool motDePasseParDefautEnService();

// Change of user from the main window: the next start asks for the login again.
void preparerChangementUtilisateur();

} // namespace vyk
