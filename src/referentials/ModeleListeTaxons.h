#pragma once

// The taxa screen's work (ListeTaxons): the TAXONS referential, the taxon record with its trait
// values, and the operations on the whole referential (purge of unused taxa, replacement of a
// taxon's history, activation of used taxa, presence over the stations).

#include "db/Progression.h"
#include "referentials/ListesCodees.h"
#include "referentials/ModeleListeReference.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

// A descriptive text of the taxon sheet: its column and its caption.
struct TexteTaxon
{
    QString colonne;
    QString libelle;
};
const QVector<TexteTaxon> &textesTaxon();

// One taxon as the record holds it: texts as typed (dates DD/MM/YYYY, codes of the lists).
struct FicheTaxon
{
    QString codeOrigine; // the stored code; "" for a taxon not yet saved
    QString code;
    QString nomLatin;
    QString statut; // "0".."3"
    QString dateCreation;
    QString dateMiseAJour;
    QString auteur;
    QString redacteur;
    QString nomCommun;
    QString referenceBibliographique;
    QString commentaire;
    QString actif = QStringLiteral("1");
    QString elementDe;
    QString niveau; // code of TAXONS.NIVEAUX
    QString theme;  // code of TAXONS.THEME
    QString codeOmnidia;
    QString codeTaxonCalcul;
    QString refMuseum;
    QString codeMacrophyte;
    QString typeEspece;            // "0".."5"
    QString statutEspece;          // "1".."3"
    QMap<QString, QString> textes; // column of textesTaxon() -> text
    QMap<QString, QString> traits; // codeTrait -> codeModalite ("" for none)

    bool estNouveau() const { return codeOrigine.isEmpty(); }
};

// Filters of the taxa grid.
struct FiltreTaxons
{
    QString theme = CODE_TOUS; // code, or "*" for every theme
    QString actif = CODE_TOUS; // "1", "0" or "*"
    QString texte;             // part of the Latin or common name, or of the code
};

class ModeleListeTaxons : public ModeleFichesReference<FicheTaxon>
{
  public:
    ModeleListeTaxons();

    void choisirFiltre(const FiltreTaxons &filtre) { m_filtre = filtre; }
    const FiltreTaxons &filtre() const { return m_filtre; }

    bool charger() override;
    // Today as creation date, active, no code yet.
    FicheTaxon nouvelleFiche() override;
    FicheTaxon fiche(int ligne) const override;
    // The stored taxon with its trait values; a new record when absent.
    static FicheTaxon lireTaxon(const QString &code);
    int ligne(const QString &code) const;

    QStringList verifier(const FicheTaxon &fiche) const override;
    // Inactivation refused while a list holds the taxon; then, in one transaction, the row,
    // its trait values and, when the code changed, every reference moved to the new code.
    CompteRendu appliquer(FicheTaxon &fiche) override;
    CompteRendu supprimer(const FicheTaxon &fiche) override;

    // "Purger les taxons non utilisés": question, then every taxon that no list holds is
    // deleted in one transaction; nbSupprimes, when given, receives the number deleted.
    CompteRendu purger(Progression &progression = progressionNulle(), int *nbSupprimes = nullptr);

    // Replacement of a taxon's history: the first question; the screen then asks for the new
    // code (TEXTE_NOUVEAU_CODE) and calls remplacerHistorique, which checks it, confirms, and
    // moves every count, selection, threshold and saved chart to it in one transaction.
    CompteRendu demanderRemplacement(const QString &ancien) const;
    static inline const QString TEXTE_NOUVEAU_CODE =
        QStringLiteral("Quel est le nouveau code de remplacement ?");
    CompteRendu remplacerHistorique(const QString &ancien, const QString &nouveau,
                                    Progression &progression = progressionNulle());

    // "Activer les taxons": every taxon a list holds becomes active; the text gives the number.
    CompteRendu activerTaxons(Progression &progression = progressionNulle());

    QString nomExport() const override { return QStringLiteral("Liste_des_taxons"); }
    QString pageAide() const override { return QStringLiteral("ListeTaxons"); }

    // The photographs and distribution map of a taxon in the photos folder: files named after
    // its code, alone or followed by "_" (an unreadable name is left out).
    static QStringList photosTaxon(const QString &code, const QString &dossier);

    static EntreesCodees entreesStatutEspece();
    static EntreesCodees entreesTypeEspece();
    static EntreesCodees entreesActif();

  protected:
    QString messageEnregistre() const override;

  private:
    QStringList ligneGrille(const FicheTaxon &f) const;
    bool ecrireTaxon(const FicheTaxon &f, const QString &code);
    void majGrille(const FicheTaxon &f);

    FiltreTaxons m_filtre;
    QHash<QString, QString> m_niveaux, m_themes; // labels, read with the grid
};

} // namespace vyk
