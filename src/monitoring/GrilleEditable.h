#pragma once

// The child grids of the cards, described as data and worked by one mechanism: each grid is a
// table keyed by its parent's columns, with described columns. It loads the parent's rows,
// checks lines up to the first bad one (entirely empty lines are skipped), replaces the
// parent's rows by one row per line and deletes single lines by their key. Saves, questions and
// messages belong to each card's own model.

#include "db/ChampDecrit.h"
#include "db/Messages.h"
#include "referentials/ListesCodees.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>

namespace vyk {

// A column of a child grid: its field description and what the grid adds to it.
struct ColonneGrille : ChampDecrit
{
    // Beginning of the line's message on the station card: "La date de début" ("... pour la
    // ligne n des réseaux n'est pas correcte."), "Sélectionnez un réseau" ("... pour la ligne n
    // des réseaux.").
    QString sujet;
    EntreesCodees entreesFixes; // Code: entries of a list that is not in the database
    bool cle = false;           // part of the line's key (single-line deletion)
    bool automatique = false;   // numbered by the save (max + 1), not typed
    bool detail = false;        // shown only in the detailed view
};

struct DefinitionTable;
// Columns whose storage the table's definition tells: numeric columns, and with tailles the size
// of text columns given none.
void completerColonnes(QVector<ColonneGrille> &colonnes, const DefinitionTable *table,
                       bool tailles);

// A refusal: its message and the line it is about (from 0; -1 for the whole grid).
struct RefusGrille
{
    int ligne = -1;
    QString message;
    bool estVide() const { return message.isEmpty(); }
};

struct DefinitionGrille;
// The message of a cell's defect; n is the line number from 1, texte the cell as typed.
using MessageCellule = std::function<QString(const DefinitionGrille &, const ColonneGrille &,
                                             DefautSaisie, int n, const QString &texte)>;

enum class OrdreVerification
{
    Colonnes,           // the columns in their order
    DatesDabord,        // dates, times and years first, then the others in their order
    ObligatoiresDabord, // every required cell of the line first, then the columns in their order
};

struct DefinitionGrille
{
    QString nom; // "reseaux"
    QString table;
    QStringList colonnesParent = {QStringLiteral("CodeQualitometre")};
    // The first parent columns that are written with the rows but do not find them (rows written
    // by other programs may lack them).
    int parentsEcritsSeulement = 0;
    // A numbered key column ("indice"), hidden or among the columns (its value is then the line's
    // number, not the typed one): new lines take the number after the highest stored or kept one,
    // premierNumero when there is none; with renumeroter every save numbers the lines in order.
    QString colonneNumero;
    int premierNumero = 1;
    bool renumeroter = false;
    // Coded cells loaded as "label [code]" (every row of the list, active or not).
    bool libellesCodes = false;
    QString ordre; // ORDER BY of the load
    QVector<ColonneGrille> colonnes;
    MessageCellule message;
    OrdreVerification verification = OrdreVerification::Colonnes;

    // Operation card: end of a save, of a deletion, and a required cell left empty.
    QString messageFin;
    QString messageSupprime;
    QString messageObligatoire;

    // Station card: texts of its messages and of its journal.
    QString suffixe;          // " des réseaux"
    QString journal;          // title prefix of the journal entry, "" for none
    QString quoi;             // "le réseau sélectionné"
    bool ligneUnique = false; // one row per parent, edited as a form
    // Message for a text longer than its column, when it is not the usual one (photo paths).
    QString messageLongueur;
    QString genreMessageLongueur = GENRE_ERREUR;
    // A column whose values must differ from line to line, and the message when they do not.
    QString colonneDistincte;
    QString messageDoublons;

    int indexColonne(const QString &colonne) const;
};

// One line of a grid: its cell texts (in the grid's column order) and, once saved or loaded,
// the stored values of its key (the numbered column first, then the key columns).
struct LigneGrille
{
    QStringList textes;
    QVector<QVariant> cle;
    bool estEnregistree() const { return !cle.isEmpty(); }
};
using LignesGrille = QVector<LigneGrille>;

class GrilleEditable
{
  public:
    // The columns' sizes and storage are completed from the table's catalogue definition.
    explicit GrilleEditable(const DefinitionGrille &definition);

    // The parent's rows as lines (one query). parent: the values of colonnesParent.
    LignesGrille charger(const QVector<QVariant> &parent) const;
    // The first bad line; verifierLigne: one line, at its index.
    RefusGrille verifier(const LignesGrille &lignes) const;
    RefusGrille verifierLigne(const LigneGrille &ligne, int index) const;
    // The parent's rows replaced by the non-empty lines, inside the caller's transaction. The
    // lines left are the written ones, with their numbers and keys.
    bool remplacer(const QVector<QVariant> &parent, LignesGrille &lignes, QString &erreur) const;
    // Deletes the line's row (a line never saved has none).
    bool supprimerLigne(const QVector<QVariant> &parent, const LigneGrille &ligne,
                        QString &erreur) const;

    QVariant valeurStockee(int colonne, const QString &texte) const;
    QString texteCellule(int colonne, const QVariant &valeur) const;
    // Nothing typed (check boxes and numbers given by the save aside).
    bool estVide(const LigneGrille &ligne) const;
    // The entries of a coded column: its list, else its fixed entries.
    EntreesCodees entrees(int colonne) const;

    const DefinitionGrille &definition() const { return m_def; }
    const QVector<ColonneGrille> &colonnes() const { return m_colonnes; }

  private:
    QString condition(const QVector<QVariant> &parent, QVector<QVariant> &valeurs) const;
    QString messageDe(int colonne, DefautSaisie defaut, int n, const QString &texte) const;
    QVector<int> ordreVerification() const;
    QVector<QVariant> cleDe(const LigneGrille &ligne) const;
    double numeroSuivant(const QVector<QVariant> &parent, const QString &colonne,
                         const LignesGrille &lignes, int position) const;

    const DefinitionGrille &m_def;
    QVector<ColonneGrille> m_colonnes;
};

// Labels of the coded columns' codes, by column (one query per list); lists of active rows give
// every row's label.
QVector<QHash<QString, QString>> libellesDesCodes(const QVector<ColonneGrille> &colonnes);
// The text of a stored value, a code as "label [code]" when its label is known.
QString texteAvecLibelle(const ColonneGrille &colonne, const QVariant &valeur,
                         const QHash<QString, QString> &libelles);

// Entries of a coded list key: a SELECT of (label, code) or a CODES_SANDRE champ.
EntreesCodees entreesListeCodee(const QString &liste);

} // namespace vyk
