#pragma once

#include "db/Tableau.h"

#include <QString>
#include <QStringList>
#include <QVector>

class QTextStream;

namespace vyk {

// One CSV field (RFC 4180): quoted when it holds the separator, a quote or a line break.
QString champCsv(const QString &texte, QChar separateur = u',');
// A value as exported: NULL empty, dates DD/MM/YYYY hh:mm:ss, numbers with ".".
QString texteExport(const QVariant &valeur);
// Header line of column names (entetes, or the table's own names when empty), then one line per
// row, lines ended by CRLF.
void ecrireCsv(const Tableau &tableau, QTextStream &sortie, QChar separateur = u',',
               const QString &finLigne = QStringLiteral("\r\n"), const QStringList &entetes = {});
QString ligneCsv(const QStringList &champs, QChar separateur = u',');
// A grid written after the name's extension: a workbook of one sheet for .xlsx and .ods, else a
// ";" text (UTF-8 with its mark, CRLF); written whole or not at all. False with the reason.
bool exporterGrilleFichier(const QString &chemin, const QString &feuille, const QStringList &titres,
                           const QVector<QStringList> &lignes, QString *erreur = nullptr);

// One record of a separated text: its fields and the file's line where it starts (from 1).
struct EnregistrementCsv
{
    QStringList champs;
    qsizetype ligne = 0;
};

// Reads a separated text one record at a time, its fields as views into the text: nothing is
// copied but a quoted field, rewritten into a buffer kept until the next record. The rules are
// lireCsv's.
class LecteurCsv
{
  public:
    LecteurCsv(QStringView texte, QChar separateur);
    // The next record; false at the end of the text or when a quote is never closed (erreur()).
    bool suivant();
    const QVector<QStringView> &champs() const { return m_champs; }
    // The file's line where the record starts (from 1).
    qsizetype ligne() const { return m_ligne; }
    const QString &erreur() const { return m_erreur; }

  private:
    void ajouterChamp(QStringView champ)
    {
        if (m_nbChamps == m_champs.size()) agrandir();
        m_sortie[m_nbChamps++] = champ;
    }
    void agrandir();
    qsizetype champsOrdinaires(qsizetype i, qsizetype &debut);
    void terminerTampon();

    QStringView m_texte;
    QChar m_separateur;
    qsizetype m_i = 0, m_ligne = 0, m_ligneCourante = 1;
    // Sized to the widest record met while one is read, written through m_sortie: records of a
    // file mostly have one width, and the previous record's fields are overwritten.
    QVector<QStringView> m_champs;
    QStringView *m_sortie = nullptr;
    qsizetype m_largeur = 0;  // widest record so far
    qsizetype m_nbChamps = 0; // of the record being read
    QStringList m_tampons;
    QString m_courant;
    QString m_erreur;
};

// The records of a separated text. A quote opening a field lets it hold the separator, doubled
// quotes and line breaks (a line break there becomes a LF); a quote inside an unquoted field is
// kept as it is. Lines end with CRLF, LF or a lone CR. An empty line is a record of one empty
// field. False, with no record and the line named in erreur, when a quote is never closed.
bool lireCsv(const QString &texte, QChar separateur, QVector<EnregistrementCsv> &enregistrements,
             QString &erreur);
// True when every field is blank (an empty line, or a spreadsheet row of empty cells).
bool enregistrementVide(const QStringList &champs);
// The same over the fields of a LecteurCsv.
bool champsVides(const QVector<QStringView> &champs);

} // namespace vyk
