#pragma once

// Coded lists (CODES_SANDRE) and the convention of every coded choice box: an entry is one
// text, the label, blanks, then " [" + code + "]"; the code is read back from between the last
// brackets. "Tous les éléments [*]" stands for every value, blanks + "[]" for none.
// Screens fill their boxes through these helpers (ui/widgets/ComboCodee.h shows them).

#include <QHash>
#include <QString>
#include <QVariant>
#include <QVector>

namespace vyk {

// Code of the "every value" entry, and its text.
inline const QString CODE_TOUS = QStringLiteral("*");
inline const QString TEXTE_TOUS = QStringLiteral("Tous les éléments [*]");

// One entry of a coded box. niveau 1 marks a child of a hierarchical list (shown indented).
struct EntreeCodee
{
    QString code;
    QString libelle;
    int niveau = 0;

    // The label (indented by four blanks per level), blanks up to largeur, " [" code "]".
    QString texte(int largeur = 0) const;
    bool estTous() const { return code == CODE_TOUS; }
    bool estVide() const { return code.isEmpty(); }
    bool operator==(const EntreeCodee &) const = default;
};
using EntreesCodees = QVector<EntreeCodee>;

// Entry text of the convention.
QString texteEntree(const QString &libelle, const QString &code, int largeur = 0);
// The empty entry: blanks then "[]".
QString texteEntreeVide(int blancs = 6);
// The code between the last "[" and the "]" after it; "" for the empty entry. A text without
// brackets is its own code (boxes of plain keys such as the list keys).
QString codeEntree(const QString &texte);
// The label of an entry text: what stands before the last " [", without the trailing blanks
// (the indentation of children is kept).
QString libelleEntree(const QString &texte);
// The code as a LIKE pattern: "*" (every value) becomes "%".
QString codePourLike(const QString &code);
// The width that aligns the codes of these entries (longest indented label + 1).
int largeurEntrees(const EntreesCodees &entrees);

// Entries of a list, one query: "SELECT Libelle, Code FROM Codes_Sandre WHERE Champ=..." ordered
// by label (the usual order of choice boxes) or by code.
enum class OrdreEntrees
{
    Libelle,
    Code
};
EntreesCodees entreesListe(const QString &champ, OrdreEntrees ordre = OrdreEntrees::Libelle);
// Entries of any SELECT whose first column is the label and second the code.
EntreesCodees entreesRequete(const QString &sql);
// The stations the user may reach, by CodeBSS, coded by CodeQualitometre and labelled CodeBSS,
// separateur, name (trimmed).
EntreesCodees entreesStationsAccessibles(const QString &separateur);

// Hierarchical lists (threshold lists 'SEUILS' and 'SEUILS%', parameter selections): every
// child (codeReference = its parent's code) follows its parent and is indented.
struct ElementHierarchique
{
    QString code;
    QString libelle;
    QString parent; // "" for a main entry
};
// Sorts parents by code (as numbers when both codes are numbers) and puts each child right
// after its parent, ordered by code. A child whose parent is absent stays where its parent
// would be.
EntreesCodees trierHierarchie(QVector<ElementHierarchique> elements);
// The entries of the lists whose key is champ, or matches it when it holds "%" ('SEUILS%').
EntreesCodees entreesHierarchiques(const QString &champ);
// The sort key of the hierarchical lists as a desktop-dialect SQL expression (code of the
// parent, "_", code of the child), for statements that must order on the server.
QString cleTriHierarchique();

// The label of the entry (champ, code); "" when there is none.
QString libelleCode(const QString &champ, const QVariant &code);
// Every label of a list by code text, one query (grids that show many rows).
QHash<QString, QString> libellesListe(const QString &champ);

// Status of referential entries: "Proposition [0]", "Provisoire [1]", "Validé [2]",
// "Code gelé [3]".
EntreesCodees entreesStatut();
// The status label of a code ("" when unknown).
QString libelleStatut(const QVariant &code);
// The status number of a word of a referential file ("proposition", "provisoire", "validé",
// "gelé", or the number itself); -1 when unknown.
int statutDepuisTexte(const QString &texte);

} // namespace vyk
