#pragma once

// What the connection screen (FrmConnexion) does: the choice of a profile, of a desktop
// database file or of a server database, stored in the settings before the database changes.

#include "app/Profils.h"
#include "db/CompteRendu.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

namespace vyk {

class ParametrageConnexion
{
  public:
    struct TypeServeur
    {
        QString libelle, code;
    };
    // "" (no server), "PostGres" [POSTGRESQL], "Oracle" [ORACLE].
    static const QVector<TypeServeur> &typesServeur();
    // Entry code of a stored backend code ("" when it names no server).
    static QString codeTypeServeur(const QString &typeBase);

    static QString filtreFichierBases(); // file dialog of the profile file
    static QString filtreFichier();      // file dialog of a database or a package

    static inline const QString PROFIL_INCONNU =
        QStringLiteral("Impossible de retrouver le paramétrage de cette base. Merci de vérifier le "
                       "fichier databases.properties");
    static inline const QString CHAMPS_MANQUANTS =
        QStringLiteral("Certaines informations de connexion ne sont pas correctement renseignées.");

    // A database that does not open changes nothing: %1 the file or server database, %2 the
    // engine's reason (it names a missing file).
    static inline const QString CIBLE_INACCESSIBLE =
        QStringLiteral("La base de données (%1) ne peut pas être ouverte : %2\nLa base de données "
                       "actuelle reste ouverte.");

    // Before anything is stored: the target is opened on a connection of its own; "" when it
    // opens, the reason otherwise. Tests may replace it.
    std::function<QString(const QString &base, const QString &type, const QString &serveur,
                          const QString &utilisateur, const QString &motDePasse,
                          const QString &port)>
        essayerCible;
    // Then the open screens are asked to close (each may ask to save); false keeps everything
    // as it is.
    std::function<bool()> libererEcrans = [] { return true; };

    // changementBase: what runs once the new settings are stored (reconnection and new login);
    // its result is given back by the switches.
    explicit ParametrageConnexion(std::function<bool()> changementBase);

    // Fields of the screen.
    QString typeServeur; // code of the server type, "" for none
    QString serveur, port, base, utilisateur, motDePasse;
    QString fichier; // desktop database file

    // Loading: fields from the settings, the profile list from the profile file.
    void charger();
    QString baseCourante() const { return m_baseCourante; }
    QString cheminProfils() const { return m_cheminProfils; }
    const QVector<ProfilConnexion> &profils() const { return m_profils; }
    QStringList nomsProfils() const;

    // cmdSelectFichierBases: stores the profile file's path and reads it.
    void choisirFichierBases(const QString &chemin);
    // The switches below show nothing: their report holds the refusal (a missing field, a
    // target that does not open, an unknown profile, an unreadable package); not done without a
    // text when a screen kept the database or the reconnection did not go through.
    // cboBases: applies the profile of that name and switches to it.
    CompteRendu selectionnerProfil(const QString &nom);
    // CmdEnregistrer: switch to the server database of the fields.
    CompteRendu enregistrerServeur();
    // CmdChangementBase: switch to the desktop database file of the field.
    CompteRendu changerFichier();
    // CmdDetailBasePiezo: a chosen database file goes into the field; a package is extracted
    // to BASEIMPORT.MDB beside it first.
    CompteRendu choisirFichier(const QString &chemin);

  private:
    // The target opens and the screens let go: the change may be stored.
    CompteRendu changementPossible(const QString &base, const QString &type);

    std::function<bool()> m_changementBase;
    QString m_baseCourante;
    QString m_cheminProfils;
    QVector<ProfilConnexion> m_profils;
};

} // namespace vyk
