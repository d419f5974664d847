#pragma once

// The diatom calculator's results: one row per sample, its station, date, IBD and IPS, and its
// floristic list as "code*count" cells.

#include "import/classeurs/LectureClasseur.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

class ElementsIgnores;
class EcritureObjets;
class Progression;
struct BilanAnalyses;

struct ReleveOmnidia
{
    int ligne = 0; // row of the sheet
    QString station, coursEau, nomStation, date, commentaire, ibd, ips;
    QStringList flore; // "code*count" cells, as written
};

namespace texteOmnidia {
inline const QString CODES_INCONNUS =
    QStringLiteral("Certains codes n'ont pas été trouvé dans la liste des taxons:");
inline const QString INTEGRATION = QStringLiteral("Intégration Omnidia");
inline const QString LISTE = QStringLiteral(" chargement de la liste floristique");
} // namespace texteOmnidia

// The preview's columns.
const QStringList &colonnesApercuOmnidia();
QStringList ligneApercu(const ReleveOmnidia &r);

// The rows of the results table: the first sheet whose header names "CODE HYDRO" and "DATE"
// (or the sheet the user chooses when none does). Cells of other columns that hold no "*"
// are left aside, counted by their column's name. "" or the error text.
QString lireOmnidia(const Classeur &classeur, const ChoixFeuille &choisir,
                    QVector<ReleveOmnidia> &releves, ElementsIgnores *ignores);

// A floristic cell: the code (double quotes removed) and the count ("," read as ".", ",5" as
// 0.5); false when the cell is not "code*count".
bool lireTaxonOmnidia(const QString &cellule, QString &code, double &nombre);

// The taxon of a diatom-software code: by codeOmnidia, then synonymeOmnidia, then teraOmnidia;
// "" when none.
QString taxonOmnidia(const QString &code);

// Writes each row: station, operation of the diatom point "101" on the date, IBD (5856) and
// IPS (1022) in place of the operation's former ones, its floristic list. A row that fails is
// counted in the summary; with `arret` the run stops there (false). Codes no taxon carries are
// added to `inconnus` once each; their taxa are left out, the others written.
bool integrerReleves(const QVector<ReleveOmnidia> &releves, EcritureObjets &ecriture,
                     Progression &progression, bool arret, BilanAnalyses &bilan,
                     QStringList &inconnus);

} // namespace vyk
