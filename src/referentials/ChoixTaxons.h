#pragma once

// Choosing taxa: the entries of the taxon pickers (chargerListeTaxons) and the search of the
// taxa picker window (FicheSelectionTaxons), by theme, family and name or code.

#include "referentials/ListesCodees.h"
#include "referentials/ModeleListeReference.h"

#include <QString>
#include <QStringList>

namespace vyk {

// The active taxa of a picker, a blank entry first: with themesDeuxEtCinq the taxa of themes 2
// and 5 (plants and diatoms) and those without theme, otherwise the other themes and those
// without theme. Each entry is the Latin name (then the diatom-software code when the setting
// "omnidia" is "OUI", the national reference when "refMuseum" is "OUI") and " [" code "]".
EntreesCodees chargerListeTaxons(bool themesDeuxEtCinq);

struct CriteresSelectionTaxons
{
    QString theme = CODE_TOUS; // code of TAXONS.THEME; "0" the taxa of theme 0 or without theme
    QString famille;           // code of a taxon of level 10; "" for none
    QString texte;             // names or codes, several separated by "|"
};

namespace texteSelectionTaxons {
inline const QString RECHERCHE =
    QStringLiteral("Recherche (Indiquez le nom ou une partie du nom ou le code Sandre)");
inline const QString CRITERES = QStringLiteral("Merci de renseigner au minimum le thème ainsi que "
                                               "le nom ou la famille avant de lancer la recherche");
inline const QString AUCUN_RESULTAT =
    QStringLiteral("Aucun taxon actif ne correspond à la recherche.");
inline const QString AUCUNE_SELECTION =
    QStringLiteral("Sélectionnez au moins un taxon dans la liste.");
} // namespace texteSelectionTaxons

class SelectionTaxons
{
  public:
    // The families (taxa of level 10) of a theme: "Latin name - common name [code]".
    static EntreesCodees familles(const QString &theme);
    // The result columns: "Code", "Omnidia" (with the setting), "Nom Latin", ... "Niveau".
    static QStringList colonnes();

    // Runs the search; refused without a name or a family; done with a notice when nothing is
    // found.
    CompteRendu rechercher(const CriteresSelectionTaxons &criteres);
    const GrilleListe &resultats() const { return m_resultats; }
    // Code and Latin name of a result row.
    QString code(int ligne) const;
    QString nomLatin(int ligne) const;
    QString codeOmnidia(int ligne) const;

  private:
    GrilleListe m_resultats;
    bool m_omnidia = false;
};

} // namespace vyk
