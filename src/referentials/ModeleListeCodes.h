#pragma once

// The code-list screen's work (ListeCodes): the entries of CODES_SANDRE, list by list.

#include "referentials/ModeleListeReference.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

// One entry as the form holds it: texts as typed (dates DD/MM/YYYY, status "" or "0".."3").
struct FicheCode
{
    QString champ;
    QString code;
    QString libelle;
    QString commentaire;
    QString statut;
    QString dateCreation;
    QString dateModification;
    QString auteur;
    QString projet;
    QString codeReference;
    QString mnemonique;
    // Not yet in the table: its key may still be chosen, and may not be one that exists.
    bool nouvelle = true;
};

// The referential a list follows (CODES_SANDRE_REFERENTIEL row with a number).
struct ReferentielListe
{
    QString numero;
    QString version;
    bool existe() const { return !numero.isEmpty(); }
};

class ModeleListeCodes : public ModeleFichesReference<FicheCode>
{
  public:
    ModeleListeCodes();

    // The list keys of the key box, in order (without the "every list" entry).
    QStringList champs() const;
    // The list shown: a key, or "*" / "" for every list.
    void choisirChamp(const QString &champ);
    const QString &champ() const { return m_champ; }
    bool tousLesChamps() const { return m_champ.isEmpty(); }

    // RempliSprCodes.
    bool charger() override;
    // declencheInserer: the shown list's next code (max + 1, or 1 for an empty list); today as
    // creation date, 'VYK' as project.
    FicheCode nouvelleFiche() override;
    FicheCode nouvelleFiche(const QString &champ) const;
    // max(Code) + 1 of the list, 1 when it is empty.
    static int codeSuivant(const QString &champ);
    FicheCode fiche(int ligne) const override;
    // The grid row of an entry; -1 when it is not shown.
    int ligne(const QString &champ, const QString &code) const;

    QStringList verifier(const FicheCode &fiche) const override;
    CompteRendu appliquer(FicheCode &fiche) override;
    CompteRendu supprimer(const FicheCode &fiche) override;
    // True when the code is found in the column its key names (TABLE.COLUMN).
    static bool estUtilise(const QString &champ, const QString &code);

    // The referential of the shown list, and the address of its page ("" when none).
    ReferentielListe referentiel() const;
    QString lienReferentiel() const;

    QString nomExport() const override { return QStringLiteral("Liste_des_Codes"); }
    QString pageAide() const override { return QStringLiteral("ListeCodes"); }

  protected:
    QString messageEnregistre() const override;

  private:
    QStringList ligneGrille(const FicheCode &fiche) const;

    QString m_champ;
    QVector<FicheCode> m_fiches; // one per grid row
};

} // namespace vyk
