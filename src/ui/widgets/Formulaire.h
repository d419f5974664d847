#pragma once

// The forms of the cards built from their field descriptions: labelled fields on two columns,
// and their values read and shown as the core classes hold them.

#include <QString>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QScrollArea;
class QWidget;

namespace vyk {

// The value of a field: the code of a coded box, "1" or "0" for a check box, the text otherwise.
QString valeurChamp(const QWidget *champ);
// Shows a value in a field; a coded box takes the code or the entry text "label [code]" and shows
// no entry for a code it does not know.
void afficherValeurChamp(QWidget *champ, const QString &valeur);

// A text of several lines, four high, that Tab leaves.
QPlainTextEdit *nouveauMemo(QWidget *parent);
// A line of text of at most taille characters (0: no limit), format shown while it is empty.
QLineEdit *nouvelleLigneTexte(QWidget *parent, int taille, const QString &format = {});
// The form inside a frame that scrolls when the window is too small.
QScrollArea *formulaireDefilant(QWidget *formulaire, QWidget *parent);

// Labelled fields on two columns; a large field (a memo) takes a whole line.
class DispositionFormulaire
{
  public:
    explicit DispositionFormulaire(QWidget *formulaire);
    // The field with its caption (returned, for a caption that changes with the record).
    QLabel *ajouter(const QString &titre, QWidget *champ, bool large = false);
    // A widget of its own (a group of fields) across the whole width.
    void ajouterLigne(QWidget *bloc);
    // The space left goes below the fields.
    void terminer();
    // How the width left is shared between the first and the second column of fields.
    void partagerColonnes(int premiere, int seconde);
    // The form sits in its frame without margins of its own.
    void sansMarges();
    // One field a line, each caption shown as given: the long pages of a card, read downwards.
    void surUneColonne();
    // The widget the fields are laid out in.
    QWidget *formulaire() const;

  private:
    QGridLayout *m_grille;
    int m_ligne = 0;
    int m_colonne = 0;
    bool m_uneColonne = false;
};

} // namespace vyk
