#pragma once

// One import run as the screen and the command line start it: a model, a file or a folder, the
// options; the job and its execution recorded, each file loaded and integrated.

#include "import/IntegrationAnalyses.h"

#include <QPair>
#include <QString>
#include <QVector>

namespace vyk {

class Progression;

struct OptionsImport
{
    bool remplacer = false;         // replace each station's data (stops at the first bad row)
    bool controle = false;          // check without writing: nothing recorded, not even the job
    bool creerIntervenants = false; // missing organisations created without asking
    bool entete = false;            // text files: the first line names the columns
    QString codeDemande;            // request code of the samples ("" for none)
    QString extension;              // files of a folder: "csv" ... ("" for the model's own)
    qint64 campagne = -1;           // campaign of the operations created (-1: none)
};

struct FichierImporte
{
    QString chemin;
    QString erreur; // "" when the file went in whole
    BilanAnalyses bilan;
    // "Éléments non repris : ..." for the elements of the file that no column takes, "" when
    // none.
    QString remarques;
};

struct ResultatImport
{
    QString erreur; // the run's refusal (model, folder), "" otherwise
    qint64 execution = -1;
    QVector<FichierImporte> fichiers;

    // True when the model ran and every file went in whole.
    bool statut() const;
    // Every file's counts added up.
    BilanAnalyses total() const;
    // The run's refusal, then "file : error" and "file : elements left aside" for each file.
    QStringList messages() const;
};

namespace texteImportation {
inline const QString TERMINE = QStringLiteral("Intégration terminée.");
inline const QString AUCUN_FICHIER =
    QStringLiteral("Aucun fichier à importer n'a été trouvé dans le dossier ");
inline const QString PREFIXE_ERREUR = QStringLiteral("Erreur intégration manuelle: ");
inline const QString ANNULEE = QStringLiteral("Intégration annulée par l'utilisateur.");
} // namespace texteImportation

// Runs the model on the file, or on every file of the folder with the extension. Unless it is a
// check, the run is recorded: job (named after the model), execution, one journal line per file
// in error, the execution closed with its status.
ResultatImport importer(const QString &modele, const QString &chemin, const OptionsImport &options,
                        Progression &progression, const ReponsesIntegration &reponses = {});
// Sampling campaigns the operations of an import may be given: (label, code), by code.
QVector<QPair<QString, qint64>> campagnesImport();

// The same over files already listed (the automatic integration's list), in that order.
ResultatImport importerFichiers(const QString &modele, const QStringList &fichiers,
                                const OptionsImport &options, Progression &progression,
                                const ReponsesIntegration &reponses = {});

} // namespace vyk
