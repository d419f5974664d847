#pragma once

// Satellite grids of a record card, described as data: each grid is a table keyed by its parent's
// code, with typed columns, row checks and texts. One mechanism loads, checks, saves (refused while
// the parent has no code; lines checked up to the first bad one; the parent's rows replaced by one
// row per line) and deletes single lines, for every grid of the station card and for any card
// whose grids follow the same pattern.

#include "referentials/ListesCodees.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace vyk {

enum class GenreColonne {
    Texte,
    Nombre,
    Date,  // DD/MM/YYYY
    Heure, // hh:mm, stored on the day 30/12/1899
    Annee, // YYYY, stored as 1 January of the year
    Code,  // a coded list: the cell holds the code
    Case   // "1" ticked, "0" not
};

struct ColonneGrille
{
    QString colonne; // column of the table
    QString titre;   // grid header, and name in the messages
    GenreColonne genre = GenreColonne::Texte;
    bool obligatoire = false;
    // Beginning of the line's message: "La date de début" (dates, years, times: "... pour la
    // ligne n des réseaux n'est pas correcte."), "Sélectionnez un réseau" (required codes and
    // numbers: "... pour la ligne n des réseaux.").
    QString sujet;
    // Coded lists: a CODES_SANDRE champ, or a SELECT of (label, code); or fixed entries.
    QString source;
    EntreesCodees entreesFixes;
    bool cle = false;         // part of the line's key (single-line deletion)
    bool automatique = false; // numbered by the save (max + 1), not typed
};

struct DefinitionGrille
{
    QString nom;   // "reseaux"
    QString table;
    QString colonneParent = QStringLiteral("CodeQualitometre");
    QString suffixe;      // " des réseaux"
    QString journal;      // title prefix of the journal entry, "" for none
    QString quoi;         // "le réseau sélectionné"
    QString ordre;        // ORDER BY of the load
    bool ligneUnique = false; // one row per parent, edited as a form
    // Message for a text longer than its column, when it is not the usual one (photo paths).
    QString messageLongueur;
    QString genreMessageLongueur = QStringLiteral("Erreur");
    // A column whose values must differ from line to line, and the message when they do not.
    QString colonneDistincte;
    QString messageDoublons;
    QVector<ColonneGrille> colonnes;

    int indexColonne(const QString &colonne) const;
};

// The rules a save button may add to the pattern.
enum class RegleSauvegarde {
    Aucune,
    Altimetrie,  // rewrites the parent's altitude from the newest altimetric system
    Interventions // writes the tour count of the station
};

// One save button: its grids, saved together, and its end message.
struct DefinitionSauvegarde
{
    QString nom;
    QStringList grilles;
    QString messageFin;
    QString messageParentAbsent; // refused while the parent has no code
    RegleSauvegarde regle = RegleSauvegarde::Aucune;
};

// One line of a grid: its cell texts (in the grid's column order) and, once saved or loaded,
// the stored values of its key columns.
struct LigneSatellite
{
    QStringList textes;
    QVector<QVariant> cle;
    bool estEnregistree() const { return !cle.isEmpty(); }
};
using LignesSatellite = QVector<LigneSatellite>;

namespace texteGrilles {
inline const QString PARENT_ABSENT_QUALITO = QStringLiteral(
    "Vous devez d'abord enregistrer le qualitomètre afin de le créer (icone disquette dans la barre du haut).");
inline const QString PARENT_ABSENT_QUALITO_SANS_ACCENT = QStringLiteral(
    "Vous devez d'abord enregistrer le qualitometre afin de le créer (icone disquette dans la barre du haut).");
inline const QString POUR_LA_LIGNE = QStringLiteral(" pour la ligne ");
inline const QString PAS_CORRECTE = QStringLiteral(" n'est pas correcte.");
inline const QString PAS_UN_NOMBRE = QStringLiteral("La valeur « %1 » pour la ligne %2%3 n'est pas un nombre.");
inline const QString TROP_LONG = QStringLiteral("Le texte « %1 » pour la ligne %2%3 dépasse %4 caractères.");
inline const QString CONFIRMER_SUPPRESSION = QStringLiteral("Voulez vous supprimer %1 ?");
inline const QString LIEN_SUPPRIME = QStringLiteral("Le lien entre le qualitomètre et %1 a été supprimé.");
inline const QString ECHEC = QStringLiteral("L'enregistrement a échoué, rien n'a été modifié : %1");
inline const QString TOURNEES = QStringLiteral("Le nombre de tournées n'est pas un nombre entier.");
inline const QString ALTIMETRIE_TERMINE = QStringLiteral("Enregistrement des systèmes altimétriques et des repères terminé.");
inline const QString ALTIMETRIE_CHANGEMENT =
    QStringLiteral("Enregistrement des systèmes altimétriques et des repères terminé. Un changement du dernier repère a eu "
                   "lieu. Merci de vérifier la compensation de lhistorique avant de la valider");
} // namespace texteGrilles

// Every satellite grid of the station card, and its save buttons.
const QVector<DefinitionGrille> &grillesQualitometre();
const DefinitionGrille *grilleQualitometre(const QString &nom);
const QVector<DefinitionSauvegarde> &sauvegardesQualitometre();
const DefinitionSauvegarde *sauvegardeQualitometre(const QString &nom);

// The mechanism, for any grid definition.
class GrilleSatellite
{
public:
    explicit GrilleSatellite(const DefinitionGrille &definition) : m_def(definition) {}

    // The parent's rows as lines (one query).
    LignesSatellite charger(const QString &codeParent) const;
    // The first line's message ("" when every line is right). Lines left entirely empty are
    // skipped by the save and not checked.
    QString verifier(const LignesSatellite &lignes) const;
    // After the confirmation, deletes the line's row (a line never saved has none); true when
    // the line may leave the grid.
    bool supprimerLigne(const QString &codeParent, const LigneSatellite &ligne) const;

    // The stored value of a cell text, and the cell text of a stored value.
    QVariant valeurStockee(int colonne, const QString &texte) const;
    QString texteCellule(int colonne, const QVariant &valeur) const;
    // A line with nothing typed (check boxes and numbers given by the save aside).
    bool estVide(const LigneSatellite &ligne) const;

    // The entries of a coded column.
    static EntreesCodees entrees(const ColonneGrille &colonne);

    const DefinitionGrille &definition() const { return m_def; }

private:
    friend bool enregistrerSatellites(const DefinitionSauvegarde &, const QString &, QHash<QString, LignesSatellite> &,
                                      const QString &, const QVector<DefinitionGrille> &);
    bool remplacer(const QString &codeParent, LignesSatellite &lignes, QString &erreur) const;
    QVector<QVariant> cleDe(const LigneSatellite &ligne) const;
    bool colonneNumerique(const QString &colonne) const;

    const DefinitionGrille &m_def;
};

// Saves the grids of one button: refused while the parent has no code; lines checked grid by
// grid up to the first bad one; the journal entries; the parent's rows of each grid replaced
// by the lines, all or nothing; the button's own rule; the end message. The lines receive their
// new keys and numbers. nbTournees: the tour count of the interventions button. catalogue: the
// grids the button names.
bool enregistrerSatellites(const DefinitionSauvegarde &sauvegarde, const QString &codeParent,
                           QHash<QString, LignesSatellite> &lignes, const QString &nbTournees = {},
                           const QVector<DefinitionGrille> &catalogue = grillesQualitometre());

} // namespace vyk
