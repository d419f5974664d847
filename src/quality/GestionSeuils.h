#pragma once

// The threshold list screen's work (ListeSeuils): the sets of a kind, the bound rows of a set,
// saving a set with its rows in one transaction after checking them, deleting it, exporting it
// in the layout the import reads. Messages go through afficherMessage.

#include "db/CompteRendu.h"
#include "quality/JeuxSeuils.h"

#include <QString>
#include <QVector>

namespace vyk {

namespace texteListeSeuils {
inline const QString SUPPRIME = QStringLiteral("Le seuil a été supprimé.");
inline const QString MIS_A_JOUR = QStringLiteral("La liste des seuils a été mise à jour.");
inline const QString TYPE_AVANT_INSERTION =
    QStringLiteral("Merci de sélectionner le type de liste avant de pouvoir insérer des éléments.");
inline const QString SEUIL_AVANT_EXPORT =
    QStringLiteral("Sélectionnez un seuil avant d'exporter la liste");
inline const QString LIBELLE_ABSENT = QStringLiteral("Le libellé du seuil n'est pas renseigné.");
// %1 the reason.
inline const QString ECHEC = QStringLiteral("La liste des seuils n'a pas été enregistrée : %1");
} // namespace texteListeSeuils

// A set as the form holds it; code "" for a set not saved yet.
struct FicheJeuSeuils
{
    QString code;
    QString libelle;
    QString commentaire;
    QString codeReference;
};

// The sets of the kind, by code.
QVector<FicheJeuSeuils> jeuxSeuils(const GenreSeuils &genre);

// Refused, with the notice, when no kind is chosen (inserting needs one).
CompteRendu peutInsererBornes(const GenreSeuils *genre);

// Saves the set and replaces its bound rows, in one transaction, after checking the label and
// every row: nothing is written when one is wrong. A new set takes the champ's greatest code
// + 1, given back in fiche.code.
CompteRendu enregistrerJeuSeuils(const GenreSeuils &genre, FicheJeuSeuils &fiche,
                                 const QVector<LigneBornes> &lignes);

// Deletes the set's bound rows and its code-list row, in one transaction.
CompteRendu supprimerJeuSeuils(const GenreSeuils &genre, const QString &code);

// The set's rows in the layout of the threshold files (entetesFichierSeuils), so that an export
// can be imported again; refused, with the notice, when no set is chosen.
CompteRendu exporterJeuSeuils(const GenreSeuils &genre, const FicheJeuSeuils &fiche,
                              const QString &chemin);

} // namespace vyk
