#pragma once

// Workbooks read and written without an office suite: .xlsx/.xlsm and .ods natively, .xls
// through FreeXL (or converted first when LibreOffice is installed). The format of a file is
// told by its first bytes, never by its extension. Rows and columns count from 1, as a
// spreadsheet numbers them.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace vyk {

// The message every caller shows when a workbook cannot be read.
inline const QString MESSAGE_CLASSEUR_ILLISIBLE =
    QStringLiteral("Impossible d'ouvrir le fichier Excel.");

enum class FormatClasseur : unsigned char
{
    Inconnu,
    Xlsx, // also .xlsm: the same package
    Ods,
    Xls
};

// The format told by a file's first bytes (and, for a ZIP package, by its members).
FormatClasseur formatFichierClasseur(const QString &chemin);
// The format a save writes, from the name's extension (.ods, otherwise .xlsx).
FormatClasseur formatEcriture(const QString &chemin);

// The text a value shows: dates DD/MM/YYYY, numbers with "." and no useless zero, booleans
// VRAI / FAUX.
QString texteCellule(const QVariant &valeur);

struct Cellule
{
    // QString, double, bool, QDate, QDateTime or QTime; null when the cell is empty.
    QVariant valeur;
    // Made when asked: most cells of a large sheet are never shown.
    QString texte() const { return texteCellule(valeur); }
};

class Feuille
{
  public:
    explicit Feuille(QString nom = {}) : m_nom(std::move(nom)) {}

    const QString &nom() const { return m_nom; }
    // The empty cell outside what is filled.
    const Cellule &cellule(int ligne, int colonne) const;
    QVariant valeur(int ligne, int colonne) const { return cellule(ligne, colonne).valeur; }
    QString texte(int ligne, int colonne) const { return cellule(ligne, colonne).texte(); }
    // The texts of a rectangle, one list per row, empty cells as "".
    QVector<QStringList> plage(int ligne1, int colonne1, int ligne2, int colonne2) const;
    // The last row holding a cell, the last column over all rows (0 for an empty sheet).
    int derniereLigne() const { return int(m_lignes.size()); }
    int derniereColonne() const { return m_colonnes; }

    // A text, a number, a boolean or a date; a null value empties the cell.
    void ecrire(int ligne, int colonne, const QVariant &valeur);
    // Reserves room for a sheet read row after row.
    void reserver(int lignes) { m_lignes.reserve(lignes); }

  private:
    friend class Classeur;
    QString m_nom;
    QVector<QVector<Cellule>> m_lignes;
    int m_colonnes = 0;
};

// Options of an interactive spreadsheet application, kept so that the callers that save and
// put them back still can; they change nothing here.
struct OptionsApplication
{
    bool glisserDeposer = true;
    bool barreEtat = true;
    bool toucheNavigation = false;
    bool deplacerApresEntree = true;
};

// True when the name asks for a workbook (.xlsx or .ods) rather than a separated text.
bool cheminClasseur(const QString &chemin);
// A grid saved as a workbook of one sheet (named `feuille`, or "Feuil1" when the formats refuse
// that name): the titles, then one row per line, every cell kept as the text shown, so that
// codes keep their leading zeros. Atomic like Classeur::enregistrer; false with the reason.
bool exporterClasseur(const QString &chemin, const QString &feuille, const QStringList &titres,
                      const QVector<QStringList> &lignes, QString *erreur = nullptr);

// A sheet name both formats accept: 1 to 31 characters, none of [ ] : * ? / \, no apostrophe
// first or last.
bool nomFeuilleValide(const QString &nom);

class Classeur
{
  public:
    // Reads a whole workbook. False, with erreur() giving MESSAGE_CLASSEUR_ILLISIBLE and
    // detail() the reason, when the file is missing, unknown, corrupt or too large.
    bool ouvrir(const QString &chemin);
    void fermer();

    const QString &erreur() const { return m_erreur; }
    const QString &detail() const { return m_detail; }
    const QString &chemin() const { return m_chemin; }
    FormatClasseur format() const { return m_format; }

    // The sheets in their order.
    QStringList feuilles() const;
    qsizetype nombreFeuilles() const { return m_feuilles.size(); }
    // By name (exact first, then without case), or by position from 1; null when absent.
    Feuille *feuille(const QString &nom);
    const Feuille *feuille(const QString &nom) const;
    Feuille *feuille(int position);
    const Feuille *feuille(int position) const;
    // A new sheet at the end; null when the name is taken.
    Feuille *ajouterFeuille(const QString &nom);

    // Writes the workbook as .xlsx, or .ods when the name ends so. Over an existing file the
    // save is atomic: a temporary file beside it, renamed over it once complete; a failed save
    // leaves the original as it was. False, with erreur() and detail(), on failure.
    bool enregistrer(const QString &chemin);

    OptionsApplication &options() { return m_options; }

  private:
    bool refuser(const QString &detail);
    bool echecEnregistrement(const QString &chemin, const QString &detail);

    QVector<Feuille> m_feuilles;
    QString m_chemin, m_erreur, m_detail;
    FormatClasseur m_format = FormatClasseur::Inconnu;
    OptionsApplication m_options;
};

} // namespace vyk
