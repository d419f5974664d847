#pragma once

// The IBGN of an operation computed by the site's workbook model: the counts of the faunal list
// summed per model row, written into the model, the model recalculated by a spreadsheet engine
// and three results read back from fixed cells. The program does no index arithmetic itself.
// The model is computed on a temporary copy: the site's file is never written.

#include "db/Messages.h"
#include "indices/ClasseurModele.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

namespace texteIbgn {
inline const QString CHEMIN_MODELES =
    QStringLiteral("Le chemin des modèles n'est pas défini. Vérifier le paramètre chemin_modeles "
                   "dans l'administration du logiciel.");
// %1: the model file.
inline const QString FICHIER_ABSENT =
    QStringLiteral("Impossible de trouver le fichier %1 dans le répertoire des modèles. Merci de "
                   "vérifier le paramétrage.");
// %1: the taxa left out, %2: the model's name.
inline const QString TAXONS_IGNORES =
    QStringLiteral("Attention, les taxons suivants n'ont pas été pris en compte dans le caclul:\r"
                   "%1\rMerci de vérifier le paramétrage de la macro %2");
// %1: the model file, %2: the engine's message.
inline const QString ECHEC_MOTEUR = QStringLiteral("Le calcul du modèle %1 a échoué : %2");
inline const QString ECHEC_COPIE =
    QStringLiteral("Impossible de copier le modèle %1 dans un dossier temporaire.");
// %1 row, %2 column, %3 the cell's text.
inline const QString CODE_REFUSE =
    QStringLiteral("La cellule ligne %1, colonne %2 du modèle ne contient pas un code de "
                   "paramètre : « %3 ».");
inline const QString VALEUR_REFUSEE = QStringLiteral(
    "La cellule ligne %1, colonne %2 du modèle ne contient pas une valeur : « %3 ».");
// %1 code, %2 stored value, %3 computed value.
inline const QString QUESTION_REMPLACER =
    QStringLiteral("L'indice %1 est déjà enregistré pour cette opération. Voulez vous remplacer "
                   "la valeur existante %2 par la valeur calculée: %3");
inline const QString LISTE_VIDE =
    QStringLiteral("La liste faunistique de cette opération est vide. Vous ne pouvez pas calculer "
                   "l'indice correspondant.");
inline const QString TERMINE = QStringLiteral("Le calcul des indices est terminé.");
} // namespace texteIbgn

// Model names and the cells of the exchange (rows and columns from 1).
namespace modeleIbgn {
inline const QString IBGN = QStringLiteral("IBGN");
inline const QString IBG_DCE = QStringLiteral("IBG_DCE");
inline const QString EXTENSION = QStringLiteral(".XLS");
constexpr int PREMIERE_LIGNE = 7;
constexpr int COLONNE_SUITE = 3;  // non-empty while taxon rows go on
constexpr int COLONNE_TAXON = 24; // the taxon code the row stands for
constexpr int COLONNE_A = 6, COLONNE_B = 7, COLONNE_C = 8;
constexpr int LIGNE_PROTOCOLE = 5, COLONNE_PROTOCOLE = 27;
constexpr int COLONNE_CODE = 27, COLONNE_VALEUR = 26; // results on rows 2 to 4
} // namespace modeleIbgn

// One row of the operation's faunal list: the taxon and its counts in phases A, B and C, as
// typed (empty for none).
struct LigneFaune
{
    QString codeTaxon, a, b, c;
};

struct ResultatModele
{
    QString code; // parameter code, digits only
    double valeur = 0;
    QString texte; // the value as the model shows it
};

struct CalculIbgn
{
    QString erreur;        // why nothing was computed (message "ERREUR"), "" otherwise
    QString avertissement; // the taxa the model does not know (message "AIDE"), "" when none
    QStringList refus;     // result cells refused as codes or values
    QVector<ResultatModele> resultats; // usable results, in the model's order
    bool ok() const { return erreur.isEmpty(); }
};

// File `nom` of `dossier` with its name compared without case ("" when none): a model saved as
// "ibgn.xls" is the site's IBGN.XLS.
QString fichierSansCasse(const QString &dossier, const QString &nom);
// "IBGN" when the models folder holds IBGN.XLS, else "IBG_DCE".
QString choisirModeleIbgn(const QString &dossierModeles);
// The operation screen's list mode: 3 for protocols 704, 726 and 471, then 1 when the point's
// label contains "101" (which wins), else `defaut`.
QString modeListeIbgn(const QString &protocole, const QString &libellePoint,
                      const QString &defaut = QStringLiteral("2"));

// Computes the model `modele` of `dossierModeles` for `liste` with `classeur`.
CalculIbgn calculIBGN(ClasseurModele &classeur, const QVector<LigneFaune> &liste,
                      const QString &protocole, const QString &modeListe,
                      const QString &dossierModeles, const QString &modele);

// The calculation as the operation screen and the command line run it: the models folder from
// the settings, the model chosen by choisirModeleIbgn and the list mode of the protocol and point.
CalculIbgn calculIbgnOperation(ClasseurModele &classeur, const QVector<LigneFaune> &liste,
                               const QString &protocole, const QString &libellePoint);

// The operation of a station as the IBGN needs it: its protocol, its point and its faunal list
// (list 1).
struct OperationIbgn
{
    qint64 station = 0;
    QString operation, protocole, point;
    QVector<LigneFaune> liste;
};
// False with `erreur` when the station or the operation is unknown.
bool chargerOperationIbgn(const QString &codeBSS, const QString &operation, OperationIbgn &op,
                          QString &erreur);

struct BilanIbgn
{
    QStringList enregistres; // codes stored
    QStringList gardes;      // codes whose stored value the user kept
    QString erreur;          // "" on success
};

// Stores the results with the operation, in one transaction: a stored value that differs is
// replaced only when `remplacer` answers Yes; each stored code replaces the earlier rows of its
// parameter under the operation's next indice and is made active in ANALYSES_PARAMETRES. Nothing
// is kept when a statement fails.
bool integrerIbgn(qint64 station, const QString &operation,
                  const QVector<ResultatModele> &resultats, const Confirmation &remplacer,
                  BilanIbgn &bilan);

} // namespace vyk
