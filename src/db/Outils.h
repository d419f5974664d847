#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

namespace vyk {

// Result of enNombre: a number, null (empty text with the flag), or not a number.
struct Nombre
{
    enum class Etat
    {
        Valeur,
        Nul,
        Erreur
    };
    Etat etat = Etat::Erreur;
    double valeur = 0;

    bool estNombre() const { return etat == Etat::Valeur; }
    bool estNul() const { return etat == Etat::Nul; }
    bool estErreur() const { return etat == Etat::Erreur; }
    // null QVariant for Nul and Erreur.
    QVariant variant() const { return estNombre() ? QVariant(valeur) : QVariant(); }
};

// Number from a screen or a file: "." and "," are both decimal separators, whatever the
// locale. An empty text gives null when nulSiVide, 0 otherwise.
Nombre enNombre(const QString &texte, bool nulSiVide = false);
// True when the text reads as a number (empty text is not one).
bool estNombre(const QString &texte);

// Replaces every occurrence; an empty searched text leaves the text unchanged.
QString remplacer(const QString &texte, const QString &cherche, const QString &remplacement);

// Date and time read from DD/MM/YYYY[ hh:mm[:ss]] (the user's form) or
// YYYY-MM-DD[ hh:mm[:ss]] / YYYY-MM-DDThh:mm:ss; invalid QDateTime when neither.
QDateTime lireDate(QStringView texte);
// "YYYY-MM-DD HH:MM:SS" (the stored form), written without QDateTime::toString: it runs for
// every date of a bulk insert.
QByteArray texteIso(const QDateTime &d);

// DD/MM/YYYY, or DD/MM/YYYY hh:mm:ss when avecHeure.
QString texteDate(const QDateTime &d, bool avecHeure = false);
// True for an empty (or blank) text or one that lireDate reads.
bool dateCorrecte(const QString &texte);
// NULL for an empty or blank text, the trimmed text otherwise: what a typed field stores.
QVariant nulSiVide(const QString &texte);
// Why a field of an imported row cannot be stored, "" when it can: a NUL, which no engine stores
// (they read texts as C strings). Other control characters are kept as they are.
QString refusTexteImporte(const QString &texte, const QString &champ);
// Appended to the last day of a period so that the whole day counts.
inline const QString FIN_DE_JOURNEE = QStringLiteral(" 23:59:59");

} // namespace vyk
