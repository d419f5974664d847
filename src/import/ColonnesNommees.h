#pragma once

// Files whose columns are known by their names rather than their places: a header line, then
// one record per line. Real extracts add, drop and reorder columns from one year to the next,
// so each of our columns lists the names it is known by, compared without regard to case,
// accents, blanks and underscores, and what no column takes is reported, never dropped
// silently.

#include "app/Csv.h"
#include "import/IntegrationAnalyses.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

class ElementsIgnores;

// The names one of our columns is known by in the files.
struct NomsColonne
{
    int cible = 0;
    QStringList noms;
};

// A separated text with its header line.
struct TableNommee
{
    QStringList entete;
    QVector<EnregistrementCsv> lignes; // records whose field count is the header's
    // Records whose field count is not the header's: origin "ligne N", never shifted into the
    // columns of others.
    QVector<LigneEnErreur> erreurs;
};

namespace texteColonnesNommees {
inline const QString VIDE = QStringLiteral("Le fichier ne contient aucune ligne d'en-tête.");
inline QString champs(qsizetype lus, qsizetype attendus)
{
    return QString::number(lus) + QStringLiteral(" champ(s) au lieu des ") +
           QString::number(attendus) + QStringLiteral(" de la ligne d'en-tête");
}
// A refused line as a file's error: "ligne N : ...".
inline QString ligneRefusee(const LigneEnErreur &l)
{
    return l.origine + QStringLiteral(" : ") + l.raison;
}
inline QString colonneAbsente(const QString &quoi)
{
    return QStringLiteral("Le fichier n'a pas de colonne « ") + quoi + QStringLiteral(" ».");
}
} // namespace texteColonnesNommees

// Decodes the bytes once (UTF-8 with or without its mark, else Windows-1252) and reads records:
// quoted fields may hold the separator and line breaks, CRLF leaves no "\r". The separator is
// the header's: ";" unless the header holds tabs or commas and no ";". Blank records are passed
// over. Returns "" or why nothing could be read.
QString lireTableNommee(const QByteArray &octets, TableNommee &table);
// The same from a file ("Impossible d'ouvrir le fichier ..." when it cannot be read).
QString lireFichierNomme(const QString &chemin, TableNommee &table);

// Where each of our columns stands in a header. A name met twice goes to the first column.
class ColonnesNommees
{
  public:
    ColonnesNommees(const QStringList &entete, const QVector<NomsColonne> &noms);

    // Place of the column in the records, -1 when the file has none.
    int position(int cible) const { return m_positions.value(cible, -1); }
    bool presente(int cible) const { return position(cible) >= 0; }
    // The trimmed field of the column; "" when the file has no such column.
    QString valeur(const QStringList &champs, int cible) const;
    // Names of the header that no column takes, as written in the file.
    QStringList nonReprises() const;
    // Each column left aside with the count of its non-empty fields, into the run's report.
    void signalerNonReprises(const QVector<EnregistrementCsv> &lignes,
                             ElementsIgnores &ignores) const;

  private:
    QStringList m_entete;
    QVector<int> m_positions; // by target
    QVector<bool> m_prises;   // by header position
};

} // namespace vyk
