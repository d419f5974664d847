#pragma once

#include "db/ChampDecrit.h"
#include "ui/widgets/Ecran.h"

#include <QPointer>
#include <QStringList>

class QLineEdit;
class QAbstractButton;

namespace vyk {

namespace texteFicheBase {
inline const QString ENREGISTRER_MODIFICATIONS = QStringLiteral("Enregistrer les modifications ?");
inline const QString DATE_INCORRECTE = QStringLiteral("Date incorrecte : jj/mm/aaaa attendu");
} // namespace texteFicheBase

// A card: the window of one record. It keeps the values its fields showed when the record was
// loaded or saved, so that it knows when the user changed something, and asks "Enregistrer les
// modifications ?" before those edits would go (the window closed, another record shown, a
// new one started): Yes saves first and goes on only when the save succeeded, No drops the
// edits, Cancel stays. Ctrl+S saves; Enter in a field clicks the default command. A screen
// showing one record of a list beside it is a card too, named after the screen.
class Fiche : public Ecran
{
    Q_OBJECT
  public:
    explicit Fiche(QWidget *parent = nullptr);

    // What names the window of the record: a second request for the same record brings this
    // window forward. "" for a record not saved yet, whose window is never shared.
    virtual QString cleFenetre() const = 0;
    // Saves through the card's own command; false when refused.
    virtual bool enregistrerFiche() = 0;

    // True when a followed field differs from what the record showed.
    bool estModifiee() const;
    // Before the edits would be lost: true when the card may go on (nothing changed, saved, or
    // the user dropped the edits), false to stay.
    bool quitterModifications();
    QAbstractButton *boutonParDefaut() const { return m_boutonParDefaut; }
    // The field showing a column of the record; nullptr when the card shows none.
    virtual QWidget *champ(const QString &colonne) const;

  protected:
    // The fields whose changes count, in the order Tab follows.
    void suivreChamps(const QList<QWidget *> &champs);
    // A grid whose lines count as edits too (outside the Tab order of the fields).
    void suivreGrille(QWidget *grille);
    // The fields now hold the record as stored (after a load or a save).
    void marquerEnregistree();
    // The record shown is not stored (a copy, one made from another record): it counts as
    // edited until saved or dropped.
    void marquerNonEnregistree() { m_nonEnregistree = true; }
    void definirBoutonParDefaut(QAbstractButton *bouton);
    // Puts the focus on the first field named among the refused ones.
    void signalerChampsRefuses(const QList<QWidget *> &champs);
    // Every refusal of a save in one error message, then the focus on the first refused field;
    // false when the list is empty (nothing refused).
    bool refuser(const ListeRefus &refus);

    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

  private:
    QStringList valeurs() const;

    QList<QPointer<QWidget>> m_champs;
    QStringList m_enregistrees;
    bool m_nonEnregistree = false;
    QPointer<QAbstractButton> m_boutonParDefaut;
};

// A date field that shows a bad date as soon as the user leaves it or typed a whole one.
void surveillerDate(QLineEdit *champ);
// True while the field shows its text as a bad date.
bool dateSignalee(const QLineEdit *champ);

// A stored number as the user reads it: "12,5" (the text itself when it is not a number).
QString nombreAffiche(const QString &texte);

} // namespace vyk
