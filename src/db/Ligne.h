#pragma once

// The current row of a stepping read (BaseDonnees::parcourir): typed cells read straight from
// the engine's own buffers, nothing kept from one row to the next.

#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

namespace vyk {

class Ligne
{
  public:
    virtual ~Ligne() = default;

    const QStringList &colonnes() const { return m_colonnes; }
    int nbColonnes() const { return int(m_colonnes.size()); }
    // Index of a column by name, without regard to case; -1 when the query has none. Resolve the
    // names on the first row (premiere()), not on every row.
    int colonne(QStringView nom) const;
    // Rows seen before this one.
    long long numero() const { return m_numero; }
    bool premiere() const { return m_numero == 0; }

    virtual bool estNul(int c) const = 0;
    // 0 for NULL or a text that is no number; a real is truncated.
    virtual qint64 entier(int c) const = 0;
    virtual double reel(int c) const = 0;
    // The text ExtraireRecords's cell gives through texteValeur: "" for NULL, dates as
    // DD/MM/YYYY[ hh:mm:ss], reals with up to 15 significant digits.
    virtual QString texte(int c) const = 0;
    // The UTF-8 bytes of texte(), valid until the next row: a text cell's own bytes where the
    // engine holds them, no QString made. Empty for NULL.
    virtual QByteArrayView utf8(int c) const = 0;
    // The date of a date cell or of a text in the stored form; invalid for NULL or anything else.
    virtual QDateTime date(int c) const = 0;
    // The cell as ExtraireRecords gives it.
    virtual QVariant valeur(int c) const = 0;
    // The day and wall-clock time of date(c), without placing them in the local time zone (a
    // time-zone lookup per cell): for reads that put a day and a time together themselves.
    // False, leaving both as they were, where the cell holds no date.
    virtual bool jourHeure(int c, QDate &jour, QTime &heure) const;

  protected:
    // A number written as text: whole, or real truncated; 0 when it is none.
    static qint64 entierTexte(QByteArrayView t);
    static double reelTexte(QByteArrayView t);
    // A real truncated to a whole number; 0 beyond what one holds.
    static qint64 entierReel(double d);

    QStringList m_colonnes;
    long long m_numero = 0;
};

// A number written plainly ("-12.5": sign, at most fifteen digits, a point) read without the
// general parser, to the same double; false for any other text.
bool reelDecimal(QByteArrayView t, double &d);

// Called on each row in turn; false stops the read (which then succeeds).
using FonctionLigne = std::function<bool(const Ligne &)>;

// "Une lecture pas à pas est en cours : ..." for a statement sent from inside one.
QString messageLectureEnCours();

} // namespace vyk
