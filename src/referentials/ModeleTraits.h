#pragma once

// Ecological and biological traits of taxa (TRAITS_ECOBIO), their modalities
// (TRAITS_ECOBIO_MODALITES) and the values taxa take (TRAITS_ECOBIO_TAXONS): the work of the
// traits screen, and the traits offered on the taxon record.

#include "referentials/ListesCodees.h"
#include "referentials/ModeleListeReference.h"

#include <QString>
#include <QVector>

namespace vyk {

struct ModaliteTrait
{
    QString code; // codeModalite
    QString nom;  // "Modalité"
    QString description;
    QString abreviation;
};

struct FicheTrait
{
    QString code; // codeTrait
    QString nom;
    QString groupe; // code of the list TAXONS.GROUPE
    QString commentaires;
    QString references;
    QVector<ModaliteTrait> modalites;
    bool nouvelle = true;
};

// A trait as the taxon record offers it: its name and the entries of its modalities.
struct TraitDisponible
{
    QString code;
    QString nom;
    QString groupe;
    EntreesCodees modalites;
};
// Every trait with its modalities (two queries).
QVector<TraitDisponible> traitsDisponibles();

class ModeleTraits : public ModeleFichesReference<FicheTrait>
{
  public:
    ModeleTraits();

    bool charger() override;
    // The next code (max + 1, 1 for the first trait).
    FicheTrait nouvelleFiche() override;
    FicheTrait fiche(int ligne) const override;
    // The stored trait and its modalities; an empty new trait when absent.
    static FicheTrait lireTrait(const QString &code);
    int ligne(const QString &code) const;

    QStringList verifier(const FicheTrait &fiche) const override;
    // The trait row and its modalities, in one transaction.
    CompteRendu appliquer(FicheTrait &fiche) override;
    // Questions, then the trait, its taxon values and its modalities.
    CompteRendu supprimer(const FicheTrait &fiche) override;
    // Deletes one stored modality; a modality that taxa use is asked about first and taken off
    // those taxa. True when the modality may leave the grid.
    CompteRendu supprimerModalite(const QString &codeTrait, const QString &codeModalite,
                                  const QString &nomModalite);

    QString nomExport() const override { return QStringLiteral("Liste_des_traits"); }
    QString pageAide() const override { return QStringLiteral("ListeTraits"); }

    // Champ of the groups.
    static inline const QString CHAMP_GROUPE = QStringLiteral("TAXONS.GROUPE");

  protected:
    QString messageEnregistre() const override;

  private:
    QVector<FicheTrait> m_fiches;
};

} // namespace vyk
