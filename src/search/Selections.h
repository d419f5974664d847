#pragma once

// Selection lists (ListeSelections): named, ordered lists of parameters, taxa, indices,
// environmental parameters or states, typed, nested one level, one default per type. Every
// statement is scoped by the list's type: the same code may name lists of two types.

#include "db/CompteRendu.h"
#include "db/Messages.h"
#include "referentials/ListesCodees.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace vyk {

namespace texteSelections {
inline const QString TYPE_ABSENT = QStringLiteral("Le type de liste n'est pas renseigné.");
inline const QString CODE_ABSENT = QStringLiteral("Le code de la sélection n'est pas renseigné.");
inline const QString LIBELLE_ABSENT =
    QStringLiteral("Le libellé de la sélection n'est pas renseigné.");
inline const QString ENREGISTREE = QStringLiteral("Enregistrement de la sélection terminé.");
inline const QString CONFIRMER_SUPPRESSION =
    QStringLiteral("Etes vous sur de vouloir supprimer cette sélection ?");
inline const QString SUPPRIMER_SOUS_LISTES =
    QStringLiteral("Voulez vous supprimer les sous groupes de cette liste ?");
inline const QString SUPPRIMEE = QStringLiteral("Suppression de la sélection terminée.");
// %1 the field's name, %2 its longest length.
inline const QString TROP_LONG = QStringLiteral("%1 ne doit pas dépasser %2 caractères.");
// %1 the code, %2 the grid line, %3 its longest length.
inline const QString CODE_LIGNE_TROP_LONG =
    QStringLiteral("Le code %1 dépasse %3 caractères pour la ligne %2.");
inline const QString PARENT_INCONNU =
    QStringLiteral("La sélection parente n'est pas une liste principale de ce type.");
// %1 the database's error.
inline const QString ECHEC = QStringLiteral("La sélection n'a pas été enregistrée : %1");
inline const QString ECHEC_SUPPRESSION = QStringLiteral("La sélection n'a pas été supprimée : %1");
} // namespace texteSelections

// List types (typeListe).
enum TypeListe : int
{
    ListeParametres = 0,
    ListeTaxons = 1,
    ListeIndices = 2,
    ListeEnvironnement = 3,
    ListeEtats = 4
};
inline constexpr int NB_TYPES_LISTE = 5;

// "Paramètres physico-chimiques", "Taxons", "Indices", "Paramètres environnementaux", "Etats";
// "" outside 0 to 4.
QString libelleTypeListe(int type);
// Whether the rows of this type store a unit (physico-chemical and index lists).
bool typeListeAvecUnite(int type);
// Longest member code the rows of this type may hold.
int longueurCodeMembre(int type);

struct TitreSelection
{
    QString code;
    QString nom;
    int typeListe = 0;
    QString codeParent; // "" for a top-level list
    QString nomParent;
    bool defaut = false;
};

struct MembreSelection
{
    int num = 0; // position, from 1
    QString codeParametre;
    QString codeUnite; // "" when none
};

// The members of one list, in position order.
QVector<MembreSelection> membresSelection(const QString &code, int typeListe);
// The list's code followed by the codes of its sub-lists of the same type, by code.
QStringList codesAvecSousListes(const QString &code, int typeListe);
// The members of a list and of its sub-lists, list by list (codes in the order given).
QVector<MembreSelection> membresSelections(const QStringList &codes, int typeListe);

// The lists shown: physico-chemical ones with that domain, taxa and indices with the
// hydrobiological domain, environmental and state lists always; by type then label.
QVector<TitreSelection> titresSelections(bool physicoChimie = true, bool hydrobiologie = true);
std::optional<TitreSelection> titreSelection(const QString &code, int typeListe);
// The default list of a type, if any.
std::optional<TitreSelection> selectionParDefaut(int typeListe);
// Possible parents: the top-level lists of the type other than the list itself.
QVector<TitreSelection> parentsPossibles(int typeListe, const QString &code);

// The code held by a grid cell: the text within the last pair of square brackets ("label
// [1340]" as "1340", "Ammonium [NH4] [1335]" as "1335"), else the whole trimmed text.
QString codeDeCellule(const QString &texte);

// The choices of a list's member column (active parameters of the type, taxa, states) and of
// its unit column, by label.
EntreesCodees choixMembres(int typeListe);
EntreesCodees choixUnites();

// A list as the form holds it; typeListe -1 when no type is chosen.
struct FicheSelection
{
    int typeListe = -1;
    QString code;
    QString nom;
    QString codeParent;
    bool defaut = false;
};

// One grid line: the member cell and the unit cell, as shown ("label [code]" or the code).
struct LigneGrilleSelection
{
    QString membre;
    QString unite;
};

// Checks the form and every line's lengths, then replaces the list (title and rows) in one
// transaction; lines without a member are dropped and positions renumbered from 1. A default
// list takes the mark from the other lists of its type. The report holds the refusal, the
// failure or the notice of the end; nothing is shown.
CompteRendu enregistrerSelection(const FicheSelection &fiche,
                                 const QVector<LigneGrilleSelection> &lignes);

// Asks confirmation, then deletes the list; its sub-lists are deleted on Yes to the second
// question, else become top-level lists. One transaction. No to the first question: nothing
// done, an empty report.
CompteRendu supprimerSelection(int typeListe, const QString &code,
                               const Confirmation &confirmer = confirmerParMessage);

} // namespace vyk
