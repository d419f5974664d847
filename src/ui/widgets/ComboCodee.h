#pragma once

// The coded choice box of every screen: entries of the convention "label [code]" (see
// referentials/ListesCodees.h). It shows "label [code]" (children indented, the empty entry
// blank) and keeps the full convention text of each entry, which texteEntree returns.

#include "referentials/ListesCodees.h"

#include <QComboBox>

namespace vyk {

class ComboCodee : public QComboBox
{
    Q_OBJECT
  public:
    enum Option
    {
        AucuneOption = 0,
        AvecTous = 1,
        AvecVide = 2
    };
    Q_DECLARE_FLAGS(Options, Option)

    explicit ComboCodee(QWidget *parent = nullptr);

    // Replaces the entries: "Tous les éléments [*]" first with AvecTous, then the empty entry
    // with AvecVide, then the given ones. The first entry is selected.
    void definirEntrees(const EntreesCodees &entrees, Options options = AucuneOption);
    // The entries of a list of CODES_SANDRE, one query.
    void remplirListe(const QString &champ, Options options = AucuneOption,
                      OrdreEntrees ordre = OrdreEntrees::Libelle);
    // The entries of a SELECT of (label, code).
    void remplirRequete(const QString &sql, Options options = AucuneOption);
    // A hierarchical list ('SEUILS', 'SEUILS%'): children after their parent, indented.
    void remplirHierarchie(const QString &champ, Options options = AucuneOption);
    // Plain texts that are their own code (list keys ...).
    void remplirTextes(const QStringList &textes, Options options = AucuneOption);

    // Selects the entry of the code ("" the empty entry, "*" every value). False, and nothing
    // selected, when no entry has it.
    bool selectionnerCode(const QString &code);
    int indexCode(const QString &code) const;
    // The selected code: "" for none or the empty entry, "*" for every value.
    QString codeSelectionne() const;
    // The code as a LIKE pattern ("%" for every value).
    QString codePourLike() const;
    QString libelleSelectionne() const;
    // The convention text of the selected entry, or of an entry.
    QString texteSelectionne() const;
    QString texteEntree(int index) const;
    // Adds an entry after the others (a stored code the list does not hold, kept visible).
    void ajouterEntree(const EntreeCodee &entree) { ajouter(entree, 0); }

  signals:
    // The user or the program selected another entry.
    void codeChange(const QString &code);

  private:
    void ajouter(const EntreeCodee &entree, int largeur);
};

Q_DECLARE_OPERATORS_FOR_FLAGS(ComboCodee::Options)

} // namespace vyk
