#pragma once

// "REPRISE_HISTO": a historical workbook of hydrobiological operations turned into a SANDRE 1997
// frame (import/ImportSandre1997.h) written beside it with the extension ".txt", then integrated
// by the frame's own road.
//
// Layout (the sheet holding the header row; the user chooses among several, the first is taken
// when nobody is asked): a header row
// naming the columns, read by name (case, accents and blanks aside), then one row per taxon of
// an operation; an operation's columns are repeated on each of its rows, its first non-empty
// value counting.
//   required   "CODE STATION", "DATE"
//   station    "STATION" (its name, joined to "LIEUDIT" with " à "), "LIEUDIT", "X", "Y",
//              "PROJECTION", "CODE INSEE", "RESEAU" (network SANDRE code, from the first date)
//   operation  "HEURE", "PROTOCOLE", "METHODE", "PRELEVEUR", "DETERMINATEUR", "PRODUCTEUR"
//              (organisations by their code in INTERVENANTS; empty: the setting of that name),
//              "OBSERVATION", "SUBSTRAT", "SUBSTRAT SECONDAIRE", "HABITAT 1", "HABITAT 2",
//              "PROFONDEUR CM", "HAUTEUR DU COURS D'EAU" (joined into the operation's comment)
//   taxon      "CODE TAXON" (translated through TAXONS_CORRESP when listed there), "EFFECTIF"
//              (count A), "P1" to "P12" (counts of the elementary samples)
// Every operation goes to point "131". An elementary sample with a count gets a PRE record: P1 to
// P4 are the marginal habitats (type "M", phase A), P5 to P12 the dominant ones (type "N", phases
// B and C).

#include "import/IntegrationAnalyses.h"
#include "import/classeurs/LectureClasseur.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

namespace vyk {

class ElementsIgnores;
class Progression;

namespace texteRepriseHisto {
inline const QString LIGNE = QStringLiteral("Intégration ligne: ");
inline QString questionRemplacer(const QString &chemin)
{
    return QStringLiteral("Le fichier ") + chemin +
           QStringLiteral(" existe déjà et diffère de la trame de ce classeur. Voulez-vous le "
                          "remplacer ?");
}
inline QString fichierConserve(const QString &chemin)
{
    return QStringLiteral("Le fichier ") + chemin +
           QStringLiteral(" existe déjà : il n'a pas été remplacé et aucune donnée n'a été "
                          "intégrée.");
}
} // namespace texteRepriseHisto

// One row of the historical sheet, its cells as written.
struct LigneHisto
{
    int ligne = 0; // in the sheet, from 1
    QString station, nom, lieuDit, x, y, projection, insee, reseau;
    QString date, heure, protocole, methode, preleveur, determinateur, producteur;
    std::array<QString, 7> observations;
    QString taxon, effectif;
    std::array<QString, 12> p;
};

// The rows of the workbook's historical sheet; "" or the missing-sheet message.
QString lireRepriseHisto(const Classeur &classeur, const ChoixFeuille &choisir,
                         QVector<LigneHisto> &lignes);

// The frame's records, one per line, from the rows; "" or the first row refused ("ligne N : ...").
QString trameRepriseHisto(const QVector<LigneHisto> &lignes, Progression &progression,
                          QStringList &trame);

// The frame's path: the workbook's, with the extension ".txt".
QString cheminTrame(const QString &classeur);

// Writes the frame at `chemin` through a temporary file renamed once complete. An existing file
// that differs is replaced only when `remplacer` says yes; "" or why nothing was written.
QString ecrireTrame(const QString &chemin, const QStringList &trame, const Confirmation &remplacer);

// The preview: one row per row of the sheet.
const QStringList &colonnesApercuHisto();
QStringList ligneApercu(const LigneHisto &l);

// The road after the workbook is read: the frame written beside it (in a temporary folder for a
// check run), then integrated as "SANDRE_TRAME_1997". A refusal writes nothing at all.
QString integrerRepriseHisto(const QString &chemin, const QVector<LigneHisto> &lignes,
                             OptionsIntegration &options, Progression &progression,
                             const ReponsesIntegration &reponses, BilanAnalyses &bilan,
                             ElementsIgnores &ignores);

} // namespace vyk
