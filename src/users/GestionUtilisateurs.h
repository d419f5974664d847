#pragma once

// User administration: accounts, rights and station grants. Writes only UTILISATEURS,
// UTILISATEURS_HABILITATIONS and UTILISATEURS_STATIONS. Passwords are written, never read back
// nor journalled. Every operation returns false with a French message in erreur() when refused.

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace vyk {

struct FicheUtilisateur
{
    QString login;
    QString nom;
    bool administrateur = false;
    bool editionReferentiels = false;
    QString codeIntervenant; // "" for none
    QString codeContact;     // "" for none
};

struct StationAccordee
{
    qint64 code = 0;
    QString codeBSS;
    QString nom;
    // "CODEBSS - Nom", or the code alone for a station that no longer exists.
    QString libelle() const;
};

// A code and its label, for the organisation and contact choices.
struct ElementListe
{
    QString code;
    QString libelle;
};

class GestionUtilisateurs
{
  public:
    // Ensures the user tables first, as before a login.
    GestionUtilisateurs();

    QString erreur() const { return m_erreur; }

    // Every user, by login.
    QVector<FicheUtilisateur> utilisateurs();
    std::optional<FicheUtilisateur> utilisateur(const QString &login);
    // Rights of every user (one reading), by login, sorted.
    QHash<QString, QStringList> toutesHabilitations();

    bool creer(const FicheUtilisateur &fiche, const QString &motDePasse);
    // Name, flags, organisation and contact of an existing login.
    bool modifier(const FicheUtilisateur &fiche);
    bool changerMotDePasse(const QString &login, const QString &motDePasse);
    // The user, their rights and their station grants.
    bool supprimer(const QString &login);

    // Rights of one login, sorted.
    QStringList habilitations(const QString &login);
    // A right of the catalogue or a network right; idempotent.
    bool accorder(const QString &login, const QString &droit);
    bool retirer(const QString &login, const QString &droit);
    // Replaces every right of the login (the screen's save); rights unknown to this program
    // that the login held are accepted, so that another module's rights are kept.
    bool definirHabilitations(const QString &login, const QStringList &droits);

    // Stations granted one by one.
    QVector<StationAccordee> stations(const QString &login);
    // Every station that may be granted.
    QVector<StationAccordee> stationsDisponibles();
    bool accorderStation(const QString &login, qint64 code);
    bool retirerStation(const QString &login, qint64 code);

    QVector<ElementListe> organismes();
    QVector<ElementListe> contacts();

    // Checks of the fields (also used by the screen before a save).
    static QString verifierLogin(const QString &login);
    static QString verifierMotDePasse(const QString &motDePasse);

  private:
    bool refuser(const QString &message);
    bool existe(const QString &login, bool sansCasse = false);
    int nbAutresAdministrateurs(const QString &login);

    QString m_erreur;
};

} // namespace vyk
