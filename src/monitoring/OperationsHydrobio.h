#pragma once

// Operations of a station (QUALITOMETRES_POINTS_OPERATIONS): the operation card's list, its
// form described as data, and the save and delete of an operation with everything hanging on it.

#include "db/ChampDecrit.h"
#include "db/CompteRendu.h"
#include "monitoring/PropagationOperation.h"
#include "referentials/ListesCodees.h"
#include "referentials/ModeleListeReference.h"

#include <QHash>
#include <QString>
#include <QVector>

namespace vyk {

// One field of the operation form.
struct ChampOperation
{
    QString colonne; // column of QUALITOMETRES_POINTS_OPERATIONS
    QString titre;   // caption, and title in the operation list
    NatureChamp genre = NatureChamp::Texte;
    QString source;        // Code: a CODES_SANDRE champ, a SELECT of (label, code), or "POINTS"
    QString reglageDefaut; // setting giving the value of a new operation
    bool dansListe = true; // shown in the operation list
};
const QVector<ChampOperation> &champsOperation();
const ChampOperation *champOperation(const QString &colonne);
// The field as the description reads, checks and writes it.
ChampDecrit champDecrit(const ChampOperation &champ);

// The entries of a coded field (the station's points for "POINTS").
EntreesCodees entreesChampOperation(const ChampOperation &champ, qint64 station);

struct FicheOperation
{
    qint64 station = -1;
    QString code;                    // codeOperation; "" for an operation not yet saved
    QHash<QString, QString> valeurs; // column -> text as typed

    bool estNouvelle() const { return code.trimmed().isEmpty(); }
    QString valeur(const QString &colonne) const { return valeurs.value(colonne); }
};

namespace texteOperations {
inline const QString DATE_DEBUT =
    QStringLiteral("La date de début de l'opération n'est pas correcte.");
inline const QString DATE_FIN = QStringLiteral("La date de fin de l'opération n'est pas correcte.");
inline const QString ENREGISTREE = QStringLiteral("Enregistrement de l'opération terminé.");
inline const QString QUESTION_SUPPRESSION =
    QStringLiteral("Etes vous sur de vouloir supprimer l'opération sélectionnée et toutes les "
                   "informations qui lui sont rattachées ?");
inline const QString SUPPRIMEE = QStringLiteral("L'opération a été supprimée.");
inline const QString AUCUNE = QStringLiteral("Sélectionnez d'abord une opération dans la liste.");
inline const QString PARENT_ABSENT = QStringLiteral(
    "Vous devez d'abord enregistrer l'opération ou sélectionner une opération existante.");
} // namespace texteOperations

// The operation list of the card: the operations of a station, or of one of its points
// (codePoint >= 0), newest first; column 0 holds the code.
class ListeOperations
{
  public:
    bool charger(qint64 station, qint64 codePoint = -1);
    const GrilleListe &grille() const { return m_grille; }
    // The grid row of an operation; -1 when absent.
    int ligne(const QString &code) const { return m_grille.chercher(code); }

  private:
    GrilleListe m_grille;
};

// A new operation of the station at the point: today, and the defaults of the settings.
FicheOperation nouvelleOperation(qint64 station, qint64 codePoint = -1);
// The stored operation; an empty new one when absent.
FicheOperation chargerOperation(qint64 station, const QString &code);

// Every field that keeps the operation from being saved, in the form's order (empty when it
// may be saved).
ListeRefus verifierOperation(const FicheOperation &operation);
// Checks, number (largest of the station + 1, 0 for the first), write, propagation of the
// qualification and status to the analyses of its samples, confirmation. The operation gets
// its code. Shows nothing: the refusal, failure or notice comes back in the report.
CompteRendu enregistrerOperation(FicheOperation &operation);
// Question (answered by confirmer), then every row hanging on the operation (child grids, taxa
// lists, samples with their analyses), the operation itself. Shows nothing; the report's text
// is empty when the user answered No.
CompteRendu supprimerOperation(qint64 station, const QString &code,
                               const Confirmation &confirmer = confirmerParMessage);

// The code the next new operation of the station gets.
qint64 codeOperationSuivant(qint64 station);

} // namespace vyk
