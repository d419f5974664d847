#pragma once

// The child grids of an operation, described as data and worked by one mechanism: elementary
// samples, environmental conditions, devices and results (free lines), then the two grids of
// fixed lines, the habitat covers and the survey units of a macrophyte operation.
// Every save is refused while the operation has no code, checks its lines up to the first bad
// one, then replaces the operation's rows of its table in one transaction: an interrupted save
// leaves the former rows in place.

#include "db/CompteRendu.h"
#include "monitoring/GrilleEditable.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace vyk {

// Every free-line grid of the operation card: its columns, numbered key ("indice"), required
// column and texts (messageFin, messageSupprime, messageObligatoire).
const QVector<DefinitionGrille> &grillesOperation();
const DefinitionGrille *grilleOperation(const QString &nom);

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

// A free-line grid of the operation card, keyed by the station and the operation.
class GrilleOperation : public GrilleEditable
{
  public:
    explicit GrilleOperation(const DefinitionGrille &definition) : GrilleEditable(definition) {}

    // The operation's rows in key order (one query); none for an operation without a code.
    LignesGrille charger(qint64 station, const QString &operation) const;
    // Refused while the operation has no code; checks; the rows replaced; the end message, all in
    // the report (nothing shown). Lines keep their keys, new lines get the next ones.
    // commentaireResultat: the results grid also writes the operation's result comment.
    CompteRendu enregistrer(qint64 station, const QString &operation, LignesGrille &lignes,
                            const QString *commentaireResultat = nullptr) const;
    // The user's answer (No: refused with no text), then the line's row; done when the line may
    // leave the grid.
    CompteRendu supprimerLigne(qint64 station, const QString &operation, const LigneGrille &ligne,
                               const Confirmation &confirmer = confirmerParMessage) const;
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
CompteRendu enregistrerRecouvrements(qint64 station, const QString &operation,
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
CompteRendu enregistrerUnites(qint64 station, const QString &operation,
                              const ValeursUnites &valeurs);

// The code of a saved operation; false otherwise, the refusal then being
// texteOperations::PARENT_ABSENT ("Vous devez d'abord enregistrer l'opération ...").
bool operationEnregistree(const QString &operation, QString &code);

} // namespace vyk
