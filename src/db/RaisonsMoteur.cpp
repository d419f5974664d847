#include "db/RaisonsMoteur.h"

#include <iterator>

namespace vyk {

namespace {

struct Raison
{
    const char *motif; // found anywhere in the engine's text, without regard to case
    const char *raison;
};

// SQLite's and libpq's texts for the failures a user can meet and mend.
// clang-format off
constexpr Raison RAISONS[] = {
    {"database is locked", "la base est utilisée par un autre programme"},
    {"database table is locked", "la base est utilisée par un autre programme"},
    {"readonly database", "la base est en lecture seule"},
    {"read-only", "la base est en lecture seule"},
    {"disk is full", "le disque est plein"},
    {"no space left on device", "le disque est plein"},
    {"could not extend file", "le disque est plein"},
    {"file is not a database", "le fichier n'est pas une base de données"},
    {"disk image is malformed", "le fichier de la base est endommagé"},
    {"disk i/o error", "le fichier de la base ne peut pas être lu ou écrit"},
    {"unable to open database file", "le fichier de la base ne peut pas être ouvert"},
    {"password authentication failed", "le serveur a refusé l'utilisateur ou le mot de passe"},
    {"no password supplied", "le serveur demande un mot de passe"},
    {"authentication failed", "le serveur a refusé l'utilisateur ou le mot de passe"},
    {"connection refused", "le serveur ne répond pas"},
    {"could not translate host name", "le nom du serveur est inconnu"},
    {"timeout expired", "le serveur ne répond pas"},
    {"server closed the connection", "la connexion au serveur a été perdue"},
    {"no connection to the server", "la connexion au serveur a été perdue"},
    {"deadlock detected", "une autre opération attendait les mêmes données ; réessayez"},
    {"could not serialize access", "une autre opération a modifié les mêmes données ; réessayez"},
    {"lock timeout", "la base est utilisée par un autre programme"},
};
// clang-format on

// The engines' texts of failures after which nothing more can be written.
constexpr const char *FATALES[] = {"database is locked",
                                   "readonly database",
                                   "disk is full",
                                   "no space left on device",
                                   "could not extend file",
                                   "disk i/o error",
                                   "disk image is malformed",
                                   "server closed the connection",
                                   "no connection to the server",
                                   "current transaction is aborted",
                                   "Aucune base de données n'est ouverte"};

} // namespace

bool erreurFatale(const QString &erreurMoteur)
{
    for (const char *motif : FATALES)
        if (erreurMoteur.contains(QLatin1String(motif), Qt::CaseInsensitive)) return true;
    return false;
}

QString raisonMoteur(const QString &erreurMoteur)
{
    for (const Raison &r : RAISONS)
        if (erreurMoteur.contains(QLatin1String(r.motif), Qt::CaseInsensitive))
            return QString::fromUtf8(r.raison);
    return erreurMoteur;
}

QString rienEnregistre(const QString &erreurMoteur)
{
    QString raison = raisonMoteur(erreurMoteur).trimmed();
    while (raison.endsWith(u'.'))
        raison.chop(1);
    return QStringLiteral("Rien n'a été enregistré : ") + raison + u'.';
}

} // namespace vyk
