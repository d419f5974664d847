#pragma once

// The pattern of every reference-list screen (code lists, analysis referentials, taxa,
// thresholds, selections): a grid loaded from the table in one query, an entry form, and the
// common operations. The core model does the work, returns what it has to say as a report
// (db/CompteRendu.h) and takes the user's answers through confirmer; the screen
// (ui/widgets/EcranListeReference.h) shows the reports and forwards.
//
//   charger()          RempliSpr<Liste>     load the grid
//   nouvelleFiche()    declencheInserer     a new entry with the next free code
//   enregistrer(f)     declencheEnregistrer verifier() -> one "Erreur" report, or appliquer()
//   supprimer(f)       DeclencheSupprimer   use checks, question, delete
//   exporter(chemin)   DeclencheExcel       the grid as a file
//   rechercherElement  RechercheElement     row of a code, -1 when absent

#include "db/CompteRendu.h"
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

    // RechercheElement: the row of the code; -1 when absent, and the screen says
    // texteIntrouvable (kind "Erreur").
    int rechercherElement(const QString &code) const { return m_grille.chercher(code); }
    static QString texteIntrouvable(const QString &code);

    // DeclencheExcel: writes the grid as CSV (";" separated, UTF-8 with its mark, so that a
    // spreadsheet opens it with its accents), or as a workbook by its extension.
    CompteRendu exporter(const QString &chemin) const;
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

// The refusal of a save, shared by every list: its lines joined, each preceded by a line break.
CompteRendu refusFiche(const QStringList &erreurs);
// Every change to a reference list goes through this: refused for a user who is neither an
// administrator nor allowed to edit the lists.
CompteRendu droitReferentiels();
// The same for the imports, which show the refusal themselves: false once it is shown.
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
    // Writes the entry and its grid row; the failure's text when the database refuses.
    virtual CompteRendu appliquer(Fiche &fiche) = 0;
    // DeclencheSupprimer: use checks, question, delete; done when deleted (No gives a report
    // that is not done, without text).
    virtual CompteRendu supprimer(const Fiche &fiche) = 0;

    // declencheEnregistrer: every failing check adds its line, each preceded by a line break,
    // to one refusal; otherwise the entry is written and the confirmation is the text.
    CompteRendu enregistrer(Fiche &fiche)
    {
        if (CompteRendu droit = droitReferentiels(); !droit) return droit;
        const QStringList erreurs = verifier(fiche);
        if (!erreurs.isEmpty()) return refusFiche(erreurs);
        if (CompteRendu fait = appliquer(fiche); !fait) return fait;
        return reussite(messageEnregistre());
    }

  protected:
    virtual QString messageEnregistre() const = 0;
};

} // namespace vyk
