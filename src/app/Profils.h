#pragma once

// Connection profiles of the profile file "databases.properties": one line NAME=TYPE@TARGET per
// profile, followed for a server by NAME.user=USER and NAME.pwd=<scrambled password in hex>.

#include <QByteArray>
#include <QString>
#include <QVector>

namespace vyk {

// One profile as read (ProfilConnexion row).
struct ProfilConnexion
{
    QString nom;   // shown in the profile list
    QString type;  // backend word as read ("access", "postgres", "oracle"...)
    QString cible; // file path, or server part HOST or HOST:PORT
    QString base;  // server database name
    QString utilisateur;
    QString motDePasse; // in clear, after unscrambling

    bool operator==(const ProfilConnexion &) const = default;
};

// Profiles of the file, in file order; empty when the file is missing or unreadable.
QVector<ProfilConnexion> lireFichierBases(const QString &chemin);
// The same from the file's text.
QVector<ProfilConnexion> lireProfils(const QString &texte);

// The key-stream cipher of the profile file, on 8-bit characters; it is its own inverse.
QByteArray brouiller(const QByteArray &octets);
// Password to the hex text of the file (two upper-case digits per character), and back.
// Characters are taken in Windows-1252, or in UTF-8 when the password does not fit it.
QString brouillerMotDePasse(const QString &motDePasse);
// "" when the text is not hexadecimal.
QString debrouillerMotDePasse(const QString &hex);

// Backend code of a profile's word: upper-cased, "POSTGRES" read as "POSTGRESQL".
QString codeTypeProfil(const QString &mot);

// A profile as the connection screen applies it.
struct ChoixProfil
{
    bool bureau = false; // desktop database file: only fichier applies
    QString fichier;
    QString type; // backend code
    QString serveur, port, base, utilisateur, motDePasse;
};
ChoixProfil resoudreProfil(const ProfilConnexion &profil);
// First profile of that exact name (case counts); nullptr when none.
const ProfilConnexion *trouverProfil(const QVector<ProfilConnexion> &profils, const QString &nom);

// The profile of that name in the profile file named by the settings. Without it, false and
// the reason in erreur.
bool profilDesReglages(const QString &nom, ChoixProfil &choix, QString *erreur = nullptr);

// A row of the administration grid, written back to the file.
struct LigneProfil
{
    QString nom, type, serveur, port, base, utilisateur, motDePasse; // serveur: path for "ACCESS"

    bool operator==(const LigneProfil &) const = default;
};
QVector<LigneProfil> lignesProfils(const QVector<ProfilConnexion> &profils);
// Rows whose name, type and server (or path) are all given, as lines of the file.
QString texteFichierBases(const QVector<LigneProfil> &lignes);
// Why a row cannot be written so that it reads back as itself; "" when it can.
QString erreurLigneProfil(const LigneProfil &ligne);
// Replaces the file in one step (the old file stays whole when writing fails).
bool ecrireFichierBases(const QString &chemin, const QVector<LigneProfil> &lignes);

} // namespace vyk
