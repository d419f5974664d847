#pragma once

// The child grids of an operation, described as data and worked by one mechanism: elementary
// samples, environmental conditions, devices and results (free lines), then the two grids of
// fixed lines, the habitat covers and the survey units of a macrophyte operation.
// Every save is refused while the operation has no code, checks its lines up to the first bad
// one, then replaces the operation's rows of its table in one transaction: an interrupted save
// leaves the former rows in place.

#include "monitoring/ValeursSaisies.h"
#include "referentials/ListesCodees.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace vyk {

struct ColonneGrilleOperation
{
    QString colonne;
    QString titre;
    GenreChamp genre = GenreChamp::Texte;
    QString source;             // Code: a CODES_SANDRE champ or a SELECT of (label, code)
    EntreesCodees entreesFixes; // Code: used when the source gives none
};

struct DefinitionGrilleOperation
{
    QString nom; // "prelevements", "conditions", "dispositifs", "resultats"
    QString table;
    QString cle; // numbered column: "indice" or "codeCondition"
    QVector<ColonneGrilleOperation> colonnes;
    QString messageFin;      // "Enregistrement des dispositifs terminé."
    QString messageSupprime; // "Le dispositif a été supprimé."
    QString colonneObligatoire;
    QString messageObligatoire;

    int indexColonne(const QString &colonne) const;
};

const QVector<DefinitionGrilleOperation> &grillesOperation();
const DefinitionGrilleOperation *grilleOperation(const QString &nom);

// One line: its cell texts in the grid's column order, and the stored key (null until saved).
struct LigneOperation
{
    QStringList textes;
    QVariant cle;
};
using LignesOperation = QVector<LigneOperation>;

// A refusal: its message and the line it is about (from 0; -1 for the whole grid).
struct RefusGrille
{
    int ligne = -1;
    QString message;
    bool estVide() const { return message.isEmpty(); }
};

namespace texteGrillesOperation {
inline const QString QUESTION_LIGNE =
    QStringLiteral("Voulez vous supprimer la ligne sélectionnée ?");
inline const QString ECHEC = QStringLiteral("L'enregistrement a échoué, rien n'a été modifié :\n");
inline const QString RECOUVREMENTS_FIN =
    QStringLiteral("Enregistrement des recouvrements terminé.");
inline const QString RECOUVREMENTS_TOTAL =
    QStringLiteral("Le total des recouvrements n'est pas égal à 100%.");
inline const QString RECOUVREMENTS_CHENAL =
    QStringLiteral("Le total des recouvrements du chenal profond n'est pas égal à 100%.");
inline const QString RECOUVREMENTS_INTERMEDIAIRE =
    QStringLiteral("Le total des recouvrements de la zone intermédiaire n'est pas égal à 100%.");
inline const QString RECOUVREMENTS_BERGES =
    QStringLiteral("Le total des recouvrements des berges n'est pas égal à 100%.");
inline const QString UNITES_FIN = QStringLiteral("Enregistrement des unités de relevé terminé.");
inline const QString UR1 = QStringLiteral("CARACTERISTIQUES UR1 (rapide ou unique)");
inline const QString UR2 = QStringLiteral("CARACTERISTIQUES UR2 (lent)");
} // namespace texteGrillesOperation

class GrilleOperation
{
  public:
    explicit GrilleOperation(const DefinitionGrilleOperation &definition) : m_def(definition) {}
    const DefinitionGrilleOperation &definition() const { return m_def; }

    // The operation's rows in key order (one query).
    LignesOperation charger(qint64 station, const QString &operation) const;
    // The first bad line; empty lines are skipped by the save and not checked.
    RefusGrille verifier(const LignesOperation &lignes) const;
    // Refused while the operation has no code; checks; the rows replaced; the end message. Lines
    // keep their keys, new lines get the next ones. commentaireResultat: the results grid also
    // writes the operation's result comment.
    bool enregistrer(qint64 station, const QString &operation, LignesOperation &lignes,
                     const QString *commentaireResultat = nullptr) const;
    // Question, then the line's row; true when the line may leave the grid.
    bool supprimerLigne(qint64 station, const QString &operation,
                        const LigneOperation &ligne) const;

    bool estVide(const LigneOperation &ligne) const;
    EntreesCodees entrees(int colonne) const;
    bool colonneNumerique(const QString &colonne) const;

  private:
    const DefinitionGrilleOperation &m_def;
};

// --- Habitat covers: one line per support, totals of 100 % -----------------------------------
struct SupportRecouvrement
{
    QString libelle;    // "A - Bryophytes"
    QString codeSandre; // "S1"
};
const QVector<SupportRecouvrement> &supportsRecouvrement();
// "Dominant [1]", "Marginal [2]", "MNR [3]", "P [4]".
EntreesCodees entreesClassesRecouvrement();

struct LigneRecouvrement
{
    QString recouvrement; // % of the station
    QString type;         // class code
    QString chenal;       // % of the deep channel
    QString intermediaire;
    QString berge;
};
// One line per support, in the order of supportsRecouvrement() (indice = position + 1).
QVector<LigneRecouvrement> chargerRecouvrements(qint64 station, const QString &operation);
// Covers by zone when any zone value is given: each zone totals 100; otherwise the station's
// covers total 100. Nothing typed at all is accepted (the covers are removed).
RefusGrille verifierRecouvrements(const QVector<LigneRecouvrement> &lignes);
bool enregistrerRecouvrements(qint64 station, const QString &operation,
                              const QVector<LigneRecouvrement> &lignes);

// --- Survey units of a macrophyte operation (point "271") -------------------------------------
struct CaracteristiqueUnite
{
    int groupe;
    int sousGroupe;
    QString groupeLibelle;
    QString libelle;
    bool note; // rated "absent [0]" .. "très abondant [3]"; otherwise a number
};
const QVector<CaracteristiqueUnite> &caracteristiquesUnites();
EntreesCodees entreesAbondance();
// Two texts per characteristic (UR1, UR2), in the order of caracteristiquesUnites().
struct ValeursUnites
{
    QStringList ur1, ur2;
};
ValeursUnites chargerUnites(qint64 station, const QString &operation);
RefusGrille verifierUnites(const ValeursUnites &valeurs);
bool enregistrerUnites(qint64 station, const QString &operation, const ValeursUnites &valeurs);

// The code of a saved operation; false with the message "Vous devez d'abord enregistrer
// l'opération ..." otherwise.
bool operationEnregistree(const QString &operation, QString &code);

} // namespace vyk
