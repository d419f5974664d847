#pragma once

// The pattern of every reference-list screen (code lists, analysis referentials, taxa,
// thresholds, selections): a grid loaded from the table in one query, an entry form, and the
// common operations. The core model does the work and shows its messages through
// afficherMessage, and takes the user's answers through confirmer; the screen
// (ui/widgets/EcranListeReference.h) only shows and forwards.
//
//   charger()          RempliSpr<Liste>     load the grid
//   nouvelleFiche()    declencheInserer     a new entry with the next free code
//   enregistrer(f)     declencheEnregistrer verifier() -> one "Erreur" message, or appliquer()
//   supprimer(f)       DeclencheSupprimer   use checks, question, delete
//   exporter(chemin)   DeclencheExcel       the grid as a file
//   rechercherElement  RechercheElement     row of a code, message when absent

#include "db/Messages.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

// The grid of a list as the screen shows it: texts only, one query's worth.
struct GrilleListe
{
    QStringList entetes;
    QVector<QStringList> lignes;
    int colonneCode = 0; // the column RechercheElement looks in

    int nbLignes() const { return int(lignes.size()); }
    // First row whose code column is this code; -1 when none.
    int chercher(const QString &code) const;
    void vider() { lignes.clear(); }
};

class ModeleListeReference
{
  public:
    virtual ~ModeleListeReference() = default;

    // RempliSpr: reads the grid again. False when the query failed.
    virtual bool charger() = 0;
    const GrilleListe &grille() const { return m_grille; }

    // RechercheElement: the row of the code; when absent, "Impossible de retrouver l'élément
    // possédant le code " + code (kind "Erreur") and -1.
    int rechercherElement(const QString &code) const;

    // DeclencheExcel: writes the grid as CSV (";" separated, UTF-8 with its mark, so that a
    // spreadsheet opens it with its accents). False, with a message, when it cannot be written.
    bool exporter(const QString &chemin) const;
    // The file name offered for the export, without extension ("Liste_des_Codes").
    virtual QString nomExport() const = 0;
    // The help page of the screen (a name under the help folder); "" when none.
    virtual QString pageAide() const { return {}; }

    // The user's answer to the questions of the operations (deletion, purge, replacement): a
    // Yes / No box unless the caller gives its own.
    Confirmation confirmer = confirmerParMessage;

  protected:
    // Replaces the row (appends it when ligne is -1); the row index.
    int majLigne(int ligne, const QStringList &texte);
    void retirerLigne(int ligne);

    GrilleListe m_grille;
};

// The two messages of a save, shared by every list: the refusal joins its lines, each preceded
// by a line break (kind "Erreur"); the confirmation is of kind "Aide".
void afficherRefusFiche(const QStringList &erreurs);
void afficherConfirmationFiche(const QString &texte);
// Every change to a reference list goes through this: false, with the refusal shown, for a
// user who is neither an administrator nor allowed to edit the lists.
bool autoriserModificationReferentiels();

// Lists whose entries are edited in a form: the lifecycle load -> validate -> apply.
template <class Fiche> class ModeleFichesReference : public ModeleListeReference
{
  public:
    // declencheInserer: a new entry with the next free code.
    virtual Fiche nouvelleFiche() = 0;
    // The entry of a grid row.
    virtual Fiche fiche(int ligne) const = 0;
    // The lines of the refusal, in the order of the checks; empty when the entry may be saved.
    virtual QStringList verifier(const Fiche &fiche) const = 0;
    // Writes the entry and its grid row; shows its own message on a database failure.
    virtual bool appliquer(Fiche &fiche) = 0;
    // DeclencheSupprimer: use checks, question, delete; true when deleted.
    virtual bool supprimer(const Fiche &fiche) = 0;

    // declencheEnregistrer: every failing check adds its line, each preceded by a line break,
    // to one message of kind "Erreur"; otherwise the entry is written and the confirmation
    // shown (kind "Aide").
    bool enregistrer(Fiche &fiche)
    {
        if (!autoriserModificationReferentiels()) return false;
        const QStringList erreurs = verifier(fiche);
        if (!erreurs.isEmpty()) {
            afficherRefusFiche(erreurs);
            return false;
        }
        if (!appliquer(fiche)) return false;
        afficherConfirmationFiche(messageEnregistre());
        return true;
    }

  protected:
    virtual QString messageEnregistre() const = 0;
};

} // namespace vyk
