#pragma once

// The fields of a card made from their descriptions: one widget for each kind of field, its value
// read and shown by the same rules on every card, and the order Tab follows.

#include "db/ChampDecrit.h"
#include "referentials/ListesCodees.h"

#include <QHash>
#include <QList>

class QWidget;

namespace vyk {

class DispositionFormulaire;

// What a field's widget needs beside its description.
struct OptionsChamp
{
    EntreesCodees entrees; // Code: the list's entries
    bool sansVide = false; // Code: no empty entry (a list the record never leaves blank)
    int largeur = 0;       // Code: the least number of characters the box shows (0: its default)
};

// The widget of a field's kind:
// - Texte: a line of at most `taille` characters (0: no limit);
// - Memo: a text of several lines, which Tab leaves;
// - Nombre: a line that takes a number with a comma or a point ("12,5"), nothing else;
// - Date, DateHeure: a line with its format shown while empty, coloured as soon as it holds a
//   text that is not a date;
// - Heure, Annee: a line with its format shown while empty;
// - OuiNon: a check box;
// - Code: a coded box of its entries, the empty one first unless `sansVide`.
QWidget *nouveauChampSaisie(const ChampDecrit &champ, QWidget *parent,
                            const OptionsChamp &options = {});

// Shows a stored text in a field made for it: a number with a comma, yes/no ticked by "1" or
// "oui", a code its list does not know added to the list rather than lost on the next save.
void afficherSaisie(QWidget *widget, const ChampDecrit &champ, const QString &texte);

// The fields of one form, by column: made, laid out, read and shown.
class ChampsFormulaire
{
  public:
    // prefixe: what the fields' object names put before the column.
    explicit ChampsFormulaire(QString prefixe = {}) : m_prefixe(std::move(prefixe)) {}

    // The field under its caption; a memo takes a whole line.
    QWidget *ajouter(DispositionFormulaire &disposition, const ChampDecrit &champ,
                     const OptionsChamp &options = {});
    // nullptr for a column the form does not show.
    QWidget *champ(const QString &colonne) const { return m_champs.value(colonne); }
    // The code of a coded box, "1" or "0" for a check box, the text otherwise.
    QString valeur(const QString &colonne) const;
    void afficher(const QString &colonne, const QString &texte);
    // The fields in the order they were added, the order Tab follows.
    const QList<QWidget *> &ordre() const { return m_ordre; }

  private:
    QString m_prefixe;
    QHash<QString, ChampDecrit> m_descriptions;
    QHash<QString, QWidget *> m_champs;
    QList<QWidget *> m_ordre;
};

} // namespace vyk
