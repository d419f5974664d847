#pragma once

// Filling selection lists from a file (ImportationSelectionParametres) and installing the
// built-in lists. An import runs in one transaction: a cancelled run, or one the user asks to
// undo after a failed line, leaves the database as it was.

#include "db/CompteRendu.h"
#include "db/Messages.h"
#include "db/Progression.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

namespace vyk {

namespace texteImportSelections {
inline const QString COLONNES = QStringLiteral(
    "- Paramètre Sandre\n- Code Unité (facultatif)\n- Code sélection\n- Intitulé sélection\n"
    "- Code sous sélection (facultatif)\n- Intitulé sous sélection  (facultatif)");
inline const QString VERIF_GROUPES = QStringLiteral("Vérification de la codification des groupes");
inline const QString VERIF_SOUS_GROUPES =
    QStringLiteral("Vérification de la codification des sous groupes");
inline const QString UNITES_INCONNUES =
    QStringLiteral("Les codes unités suivants n'existent pas : ");
inline const QString INITIALISATION = QStringLiteral("Initialisation des listes");
inline const QString MISE_A_JOUR = QStringLiteral("Mise à jour des paramètres et unités");
inline QString ligneImpossible(qsizetype ligne)
{
    return QStringLiteral("Impossible d'importer la ligne ") + QString::number(ligne) +
           QStringLiteral(". Désirez vous continuer l'importation ?");
}
inline const QString ANNULER_TOUT =
    QStringLiteral("Voulez vous annuler l'importation de toutes les lignes éventuellement "
                   "importées pendant le traitement ?");
inline const QString FICHIER_VIDE = QStringLiteral("Le fichier ne contient aucune sélection.");
inline const QString ANNULE = QStringLiteral("Import des sélections annulé.");
// %1 lines, %2 lists.
inline const QString BILAN = QStringLiteral("%1 ligne(s) importée(s) dans %2 sélection(s).");
inline const QString CREER_DEFAUTS = QStringLiteral("Voulez créer les listes par défaut ?");
inline const QString INTEGRATION = QStringLiteral("Intégration des sélections");
// %1 the number of lists written.
inline const QString DEFAUTS_CREES = QStringLiteral("%1 liste(s) par défaut créée(s)");
inline const QString DEFAUTS_ECHEC = QStringLiteral("Les listes par défaut n'ont pas été créées.");
} // namespace texteImportSelections

// Grid headers of a loaded file.
QStringList entetesFichierSelections();

struct LigneFichierSelection
{
    qsizetype ligne = 0; // of the file, from 1
    QString codeParametre;
    QString codeUnite;
    QString codeGroupe;
    QString libelleGroupe;
    QString codeSousGroupe;
    QString libelleSousGroupe;
    QStringList champs() const;
};

// Reads a workbook's first sheet or a ";"-separated text; a first line of headers is skipped.
// Files over the import line limit, unreadable or without a line are refused with erreur.
bool lireFichierSelections(const QString &chemin, QVector<LigneFichierSelection> &lignes,
                           QString &erreur);

// The unit codes of the file missing from ANALYSES_UNITES, in file order.
QStringList unitesInconnuesSelections(const QVector<LigneFichierSelection> &lignes);

// The user's choices during an import: after a failed line, whether to go on; when not,
// whether to undo every line of the run.
struct ReponsesImportSelections
{
    Confirmation continuer = confirmerParMessage;
    Confirmation toutAnnuler = confirmerParMessage;
};

struct BilanImportSelections
{
    int listes = 0;            // titles written, sub-lists included
    int lignes = 0;            // rows written
    QVector<qsizetype> echecs; // file lines not imported
    bool annule = false;       // nothing of the run stays
    // What the user is told: the unknown units, the cancellation or the count; nothing is shown
    // by the import itself.
    CompteRendu compteRendu;
};

// Imports the lines as lists of type 0 (the unit check first: an unknown unit refuses the
// whole file with one warning), then activates the parameters and units named and creates the
// parameters missing from the referential, named by their code.
BilanImportSelections importerSelections(const QVector<LigneFichierSelection> &lignes,
                                         Progression &progression = progressionNulle(),
                                         const ReponsesImportSelections &reponses = {});

// A built-in list: code, label, type and its members (parameter, unit) in order.
struct ListeParDefaut
{
    QString code;
    QString nom;
    int typeListe = 0;
    QVector<std::pair<QString, QString>> membres;
};
const QVector<ListeParDefaut> &listesParDefaut();

// Writes each built-in list absent from the database (by code and type; EPRV also when it
// lacks parameter 1066, then replaced whole), then activates the parameters, units and taxa the
// lists name; one transaction. The number of lists written, -1 on failure (nothing written).
int installerListesParDefaut(Progression &progression = progressionNulle());

} // namespace vyk
