#pragma once

// One description per field of a record: its column, caption, kind, whether it is required and
// how its value reaches the column. Cards, grids and lists read, check and write their fields
// through it, so that a date or a yes/no is read the same way on every screen.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace vyk {

class Tableau;

enum class NatureChamp
{
    Texte,     // at most `taille` characters (0: no limit)
    Memo,      // long text, no limit
    Nombre,    // "." or "," as decimal separator
    Date,      // DD/MM/YYYY; a time typed with it is refused
    DateHeure, // DD/MM/YYYY hh:mm[:ss]
    Heure,     // hh:mm, stored on the day 30/12/1899
    Annee,     // YYYY, stored as 1 January of the year
    OuiNon,    // "1" (or "oui") ticked, anything else not; never empty
    Code       // a coded list: "label [code]" or the bare code, the code is stored
};

// What is wrong with a typed text.
enum class DefautSaisie
{
    Aucun,
    Absent,      // required and empty
    Illisible,   // not a date, a time, a year, or a code too long or not numeric
    PasUnNombre, // Nombre
    TropLong     // Texte longer than `taille`
};

struct ChampDecrit
{
    QString colonne; // of the table
    QString libelle; // form label, grid header and name in the messages
    NatureChamp nature = NatureChamp::Texte;
    int taille = 0; // Texte: size of the column; Code: longest code; 0 for no limit
    QString liste;  // Code: a CODES_SANDRE champ ("ANALYSES.LIEU") or a SELECT of (label, code)
    bool obligatoire = false;
    bool numerique = false; // the column holds numbers: codes and yes/no reach it as numbers

    // The stored value of a typed text: null when empty or unreadable (yes/no: never null).
    QVariant valeur(const QString &texte) const;
    // The text a stored value is shown and typed as.
    QString texte(const QVariant &valeur) const;
    DefautSaisie defaut(const QString &texte) const;
    // True when nothing is typed (a yes/no is never counted as typed).
    bool estVide(const QString &texte) const;
    bool estChronologique() const;
};
using ChampsDecrits = QVector<ChampDecrit>;

namespace texteChamps {
// %1 the field's caption.
inline const QString ABSENT = QStringLiteral("La valeur de « %1 » n'est pas renseignée.");
inline const QString INCORRECT = QStringLiteral("La valeur de « %1 » n'est pas correcte.");
inline const QString PAS_UN_NOMBRE = QStringLiteral("La valeur de « %1 » n'est pas un nombre.");
// %1 caption, %2 size.
inline const QString TROP_LONG = QStringLiteral("Le texte de « %1 » dépasse %2 caractères.");
} // namespace texteChamps

// The message of a field's defect on a form ("" for Aucun).
QString messageSaisie(const ChampDecrit &champ, DefautSaisie defaut);

// A field a check refused, and why. A card lists every refusal of a save in one message and
// takes the user to the first refused field.
struct Refus
{
    QString colonne;
    QString message;
};
using ListeRefus = QVector<Refus>;
// The refusals in one message, one a line ("" when none).
QString messageRefus(const ListeRefus &refus);
// The refused columns, in the order of the message.
QStringList colonnesRefusees(const ListeRefus &refus);
// Every defect of a record's texts, in the fields' order.
ListeRefus refusSaisie(const ChampsDecrits &champs, const QStringList &textes);
// The defects of a record's texts as one message; "" when every field is right.
QString verifierSaisie(const ChampsDecrits &champs, const QStringList &textes);

// The day on which times are stored.
inline const QDate JOUR_DES_HEURES(1899, 12, 30);
// "hh:mm", "h:mm", "hh:mm:ss", "h:mm:ss" or "hhhmm"; invalid when none.
QTime lireHeure(const QString &texte);
// The code of "label [code]", or the text itself, trimmed.
QString codeSaisi(const QString &texte);

// --- SQL ------------------------------------------------------------------------------------
// "a, b, c": the SELECT list of the fields.
QString listeColonnes(const ChampsDecrits &champs);
int indexChamp(const ChampsDecrits &champs, const QString &colonne);
// One row read by column name, as texts in the fields' order.
QStringList lireTextes(const Tableau &tableau, int ligne, const ChampsDecrits &champs);
// The stored values of texts in the fields' order.
QVector<QVariant> valeursSaisies(const ChampsDecrits &champs, const QStringList &textes);
// "INSERT INTO table (a, b) VALUES (?, ?)", with leading columns bound before the fields'.
QString insertionLiee(const QString &table, const ChampsDecrits &champs,
                      const QStringList &colonnesAvant = {});
// INSERT / UPDATE with literal values (sqlValeur); `condition` is "WHERE ..." text.
QString sqlInsertion(const QString &table, const ChampsDecrits &champs, const QStringList &textes);
QString sqlMiseAJour(const QString &table, const ChampsDecrits &champs, const QStringList &textes,
                     const QString &condition);

} // namespace vyk
