#pragma once

// The physico-chemical sample card without its window (FichePrelevementPhysicoChmique): a
// sample of PRELEVEMENTS with its purposes, lab files, sub-samples and analyses (the station's
// analysis table). Load, new, save, the grids' saves, single-line deletions, deletion of the
// sample and the bulk change of status or qualification. Texts in and out: dates DD/MM/YYYY,
// times hh:mm, coded cells "label [code]" or the bare code.

#include "db/CompteRendu.h"
#include "monitoring/GrilleEditable.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

namespace vyk {

namespace textePrelevement {
inline const QString ENREGISTRER_AVANT =
    QStringLiteral("Vous devez d'abord enregistrer le prélèvement.");
inline const QString FICHE_ENREGISTREE =
    QStringLiteral("Enregistrement de la fiche du prélèvement terminé.");
inline const QString ANALYSES_ENREGISTREES = QStringLiteral("Enregistrement des analyses terminé.");
inline const QString FINALITES_ENREGISTREES =
    QStringLiteral("Enregistrement des finalités terminé.");
inline const QString DOSSIERS_ENREGISTRES = QStringLiteral("Enregistrement des dossiers terminé.");
inline const QString ECHANTILLONS_ENREGISTRES =
    QStringLiteral("Enregistrement des échantillons terminé.");
inline const QString FINALITE_SUPPRIMEE =
    QStringLiteral("Le lien entre le prélèvement et la finalité a été supprimé.");
inline const QString ECHANTILLON_SUPPRIME = QStringLiteral("L'echantillon a été supprimé.");
inline const QString DOSSIER_SUPPRIME = QStringLiteral("Le dossier a été supprimé.");
inline const QString ANALYSE_SUPPRIMEE = QStringLiteral("L'analyse a été supprimé.");
inline const QString QUESTION_SUPPRESSION =
    QStringLiteral("Etes vous sur de vouloir supprimer le prélèvement %1 et toutes les "
                   "informations qu'il possède ?");
inline const QString PRELEVEMENT_SUPPRIME = QStringLiteral("Le prélèvement a été supprimé.");
// Row checks; %1 is the line number (from 1).
inline const QString FINALITE_INCORRECTE =
    QStringLiteral("La finalité pour la ligne %1 des prélèvements n'est pas correcte.");
inline const QString REFERENCE_DOSSIER =
    QStringLiteral("La référence du producteur du dossier pour la ligne %1 n'est pas renseignée.");
inline const QString DATE_ECHANTILLON =
    QStringLiteral("La date de début pour la ligne numéro %1 des opérations n'est pas correcte.");
inline const QString HEURE_ECHANTILLON =
    QStringLiteral("L'heure de début pour la ligne numéro %1 des opérations n'est pas correcte.");
inline const QString PARAMETRE_ABSENT =
    QStringLiteral("Le paramètre pour la ligne %1 des analyses n'est pas renseigné.");
inline const QString PARAMETRE_INCONNU =
    QStringLiteral("Le paramètre %2 pour la ligne %1 des analyses n'existe pas.");
// %1 column title, %2 line, %3 grid suffix (" des analyses").
inline const QString VALEUR_INCORRECTE =
    QStringLiteral("La valeur de « %1 » pour la ligne %2%3 n'est pas correcte.");
inline const QString TEXTE_TROP_LONG =
    QStringLiteral("Le texte de « %1 » pour la ligne %2%3 dépasse %4 caractères.");
// The sample's own fields.
inline const QString DATE_PRELEVEMENT =
    QStringLiteral("La date du prélèvement n'est pas correcte.");
inline const QString HEURE_PRELEVEMENT =
    QStringLiteral("L'heure du prélèvement n'est pas correcte.");
inline const QString CHAMP_INCORRECT = QStringLiteral("La valeur de « %1 » n'est pas correcte.");
inline const QString CHAMP_TROP_LONG = QStringLiteral("Le texte de « %1 » dépasse %2 caractères.");
inline const QString ECHEC = QStringLiteral("L'enregistrement a échoué, rien n'a été modifié : %1");
inline const QString ECHEC_SUPPRESSION =
    QStringLiteral("La suppression a échoué, rien n'a été supprimé : %1");
inline const QString AUCUNE_LIGNE = QStringLiteral("Sélectionnez d'abord la ligne à supprimer.");
inline const QString CHARGEMENT_IMPOSSIBLE =
    QStringLiteral("Impossible de retrouver le prélèvement %1.");
inline const QString STATUT_MODIFIE =
    QStringLiteral("Le statut des analyses du prélèvement a été modifié.");
inline const QString QUALIFICATION_MODIFIEE =
    QStringLiteral("La qualification des analyses du prélèvement a été modifiée.");
inline const QString CHOISIR_VALEUR = QStringLiteral("Choisissez d'abord la valeur à appliquer.");
} // namespace textePrelevement

// The card's fields (columns of PRELEVEMENTS), and the grids' columns in their order; numeric
// columns as the tables define them.
const QVector<ColonneGrille> &champsPrelevement();
const QVector<ColonneGrille> &colonnesFinalites();
const QVector<ColonneGrille> &colonnesDossiers();
const QVector<ColonneGrille> &colonnesEchantillons();
const QVector<ColonneGrille> &colonnesAnalyses();

// Entries of a coded column or field (one query); labels of its codes.
EntreesCodees entreesColonne(const ColonneGrille &colonne);
// The code of a cell text ("label [code]" or the code itself).
QString codeCellule(const QString &texte);

// One grid line: cell texts in the columns' order, and its stored key once loaded or saved (the
// line's number: NumDossier, NumEchantillon, NumAnalyse; the code of a purpose).
using LignePrelevement = LigneGrille;
using LignesPrelevement = LignesGrille;

// Index of a column in a grid, -1 when absent.
int indexColonne(const QVector<ColonneGrille> &colonnes, const QString &colonne);

class EditionPrelevement
{
  public:
    // The station shown: its code and the CodeBSS that names its analysis table.
    void definirStation(const QString &codeQualitometre, const QString &codeBSS);
    const QString &codeQualitometre() const { return m_station; }
    const QString &codeBSS() const { return m_codeBSS; }

    // A sample by number; refused with CHARGEMENT_IMPOSSIBLE when it does not exist.
    CompteRendu charger(const QString &numPrelevement);
    // The sample of an operation of the station (the first one); a new sample of that operation
    // when it has none.
    bool chargerOperation(const QString &codeOperation);
    // cmdInsertion: an empty sample (no number until saved), attached to the operation given.
    void nouveau(const QString &codeOperation = {});

    // The sample's fields, by column of PRELEVEMENTS.
    QHash<QString, QString> champs;
    const QString &numPrelevement() const { return m_numero; }
    bool estEnregistre() const { return !m_numero.isEmpty(); }
    // The point of the sample's operation, "identifiant - nom", "" when none.
    QString point;
    // The station's operations for the operation field: "DD/MM/YYYY [code]".
    EntreesCodees operations() const;

    LignesPrelevement finalites, dossiers, echantillons, analyses;

    // Every field of the card that keeps the sample from being saved, in the card's order.
    ListeRefus verifierFiche() const;
    // Saves, deletions and bulk changes show nothing: the refusal (checks, guard), the failure
    // or the notice of the end comes back in the report.
    CompteRendu enregistrer();
    CompteRendu enregistrerFinalites();
    CompteRendu enregistrerDossiers();
    CompteRendu enregistrerEchantillons();
    CompteRendu enregistrerAnalyses();

    // Single-line deletions (the line's stored row, then the line leaves the grid).
    CompteRendu supprimerFinalite(int ligne);
    CompteRendu supprimerDossier(int ligne);
    CompteRendu supprimerEchantillon(int ligne);
    CompteRendu supprimerAnalyse(int ligne);
    // The user's answer to the question (No: refused with no text), then the sample and
    // everything it holds.
    CompteRendu supprimer();

    // Bulk change from the card's lists: every analysis of the sample takes the status
    // (StatutMesure) or the qualification (CodeQualification).
    CompteRendu changerStatutAnalyses(const QString &code);
    CompteRendu changerQualificationAnalyses(const QString &code);
    // "Brute [1]" ... and "Non définissable [0]" ...
    static EntreesCodees entreesStatutMasse();
    static EntreesCodees entreesQualificationMasse();

    // Parameter picker: the saved selections of parameters (typeListe 0), and the analysis lines
    // of one selection's parameters and units, in the selection's order, for the lines to add.
    static EntreesCodees selectionsParametres();
    static LignesPrelevement lignesSelection(const QString &codeSelection);

    // The grids read again from the database.
    void chargerGrilles();

    // The user's answer to the deletion's question: a Yes / No box unless the caller gives its
    // own.
    Confirmation confirmer = confirmerParMessage;

  private:
    QVector<QVariant> parent() const;
    bool tableAnalysesExiste() const;
    QString numeroSuivant() const;
    // Refused before the sample is saved; empty lines dropped; each line through controle (its
    // index), then its cells; the rows replaced (preparation first); the end message.
    CompteRendu enregistrerGrille(const DefinitionGrille &definition, LignesPrelevement &lignes,
                                  const std::function<QString(int)> &controle, const QString &fin,
                                  const std::function<bool(QString &)> &preparation = {});
    CompteRendu supprimerLigne(const DefinitionGrille &definition, LignesPrelevement &lignes,
                               int ligne, const QString &message);
    bool lireFiche(const QString &condition);
    void chargerAnalyses();

    QString m_station;
    QString m_codeBSS;
    QString m_numero;
};

} // namespace vyk
