#pragma once

// The list screens of the analysis referentials (parameters, units, methods, fractions,
// supports): one model described by data, following the reference-list pattern.

#include "db/ChampDecrit.h"
#include "db/Tableau.h"
#include "referentials/ListesCodees.h"
#include "referentials/ModeleListeReference.h"
#include "referentials/ReferentielsAnalyses.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

class Progression;

struct ChampReferentiel
{
    QString colonne;
    QString libelle;                        // form label
    NatureChamp genre = NatureChamp::Texte; // Code: fixed entries, or a SELECT of (label, code)
    int taille = 0;                         // texts: the column's size, 0 for no limit
    QString entete;                         // grid header; "" when the grid does not show it
    QString source;                         // Liste: SELECT of (label, code)
    EntreesCodees entrees;                  // Liste: fixed entries
    // Coded "Proposition [0]" ... "Code gelé [3]"; older rows' texts ("Validé") read as their
    // number.
    bool statut = false;
};

struct DescriptionReferentiel
{
    Referentiel referentiel;
    QString table;
    QString titre;     // "Paramètres"
    QString nomExport; // "Liste_des_Parametres"
    QString pageAide;
    QString codeVide;   // "Renseignez le code de l'unité."
    QString enregistre; // "Enregistrement de la fiche de l'unité terminé."
    QString supprime;   // "L'unité a été supprimée."
    QString question;   // "Voulez vous supprimer l'unité %1 ?"
    // Purge ("" for referentials without it).
    QString questionPurge;
    QString purgeAnnulee;
    QString purgeTerminee;
    QString actionPurge;
    QVector<ChampReferentiel> champs; // Code first

    const ChampReferentiel *champ(const QString &colonne) const;
};

const DescriptionReferentiel &descriptionReferentiel(Referentiel referentiel);

// One row as the form holds it: texts by column (dates DD/MM/YYYY, check boxes "1"/"0").
struct FicheReferentiel
{
    QHash<QString, QString> valeurs; // keys: column names as in the description
    bool nouvelle = true;

    QString valeur(const QString &colonne) const { return valeurs.value(colonne); }
    QString code() const { return valeur(QStringLiteral("Code")).trimmed(); }
};

class ModeleReferentielAnalyses : public ModeleFichesReference<FicheReferentiel>
{
  public:
    explicit ModeleReferentielAnalyses(Referentiel referentiel);

    const DescriptionReferentiel &description() const { return m_description; }

    bool charger() override;
    FicheReferentiel nouvelleFiche() override;
    FicheReferentiel fiche(int ligne) const override;
    int ligne(const QString &code) const;
    QStringList verifier(const FicheReferentiel &fiche) const override;
    CompteRendu appliquer(FicheReferentiel &fiche) override;
    CompteRendu supprimer(const FicheReferentiel &fiche) override;

    // "Purger ... non utilisés": the question, then the purge in one transaction.
    CompteRendu purger(Progression &progression);

    // "Remplacer l'historique" (parameters): the first question; the new code is then asked by
    // the screen.
    CompteRendu confirmerRemplacement(const QString &ancien) const;
    // Checks the new code, asks the confirmation, then replaces.
    CompteRendu remplacerHistorique(const QString &ancien, const QString &nouveau,
                                    Progression &progression);

    // Entries of a Liste field (one query).
    static EntreesCodees entrees(const ChampReferentiel &champ);

    QString nomExport() const override { return m_description.nomExport; }
    QString pageAide() const override { return m_description.pageAide; }

  protected:
    QString messageEnregistre() const override { return m_description.enregistre; }

  private:
    QStringList ligneGrille(const FicheReferentiel &fiche) const;
    FicheReferentiel lireFiche(const Tableau &t, int ligne) const;
    QString selectColonnes() const;

    const DescriptionReferentiel &m_description;
    QVector<FicheReferentiel> m_fiches;
};

} // namespace vyk
