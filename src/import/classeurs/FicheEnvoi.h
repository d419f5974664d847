#pragma once

// The hydrobiology sending sheets ("CEMAGREF" macro-invertebrates, "MACROPHYTES"): one station
// sheet per operation beside the template's own sheets, the station described in fixed cells,
// the taxa list under a header row read by name.

#include "import/classeurs/EcritureHydrobio.h"
#include "import/classeurs/LectureClasseur.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

class ElementsIgnores;
class Progression;

// A cell of the sheet, row and column from 1.
struct CelluleFiche
{
    int ligne, colonne;
};

// Where the sending sheets hold the station and the operation.
// clang-format off
namespace cellulesFiche {
constexpr CelluleFiche IDENTIFIANT{20, 1};   // A20  station code (CodeBSS)
constexpr CelluleFiche COURS_EAU{20, 4};     // D20  river
constexpr CelluleFiche STATION{20, 8};       // H20  station name
constexpr CelluleFiche CODE_INSEE{22, 3};    // C22  commune's INSEE code
constexpr CelluleFiche COMMUNE{23, 3};       // C23  commune's name
constexpr CelluleFiche LATITUDE{23, 11};     // K23  Y (Lambert 93)
constexpr CelluleFiche LONGITUDE{23, 12};    // L23  X (Lambert 93)
constexpr CelluleFiche ALTITUDE{23, 13};     // M23
constexpr CelluleFiche TYPE_COURS_EAU{23, 14}; // N23
constexpr CelluleFiche MASSE_EAU{23, 15};    // O23  water body's label
constexpr CelluleFiche OUVERTURE{23, 16};    // P23  openness of the site
constexpr CelluleFiche DATE{24, 11};         // K24  date of the operation
constexpr CelluleFiche INDICE{24, 12};       // L24  IBMR ("MACROPHYTES")
constexpr CelluleFiche SITUATION{24, 13};    // M24  hydrological situation (1725)
constexpr CelluleFiche METEO{24, 14};        // N24  weather (1425)
constexpr CelluleFiche VISIBILITE{39, 4};    // D39  visibility of the bottom (5473)
constexpr CelluleFiche TURBIDITE{39, 5};     // E39  turbidity (6498)
constexpr CelluleFiche PERIPHYTON{40, 5};    // E40  periphyton (6499)
// B33:D34: the elementary samplings 1 and 2, one a row: code, substrate, velocity class.
constexpr CelluleFiche PRELEVEMENTS{33, 2};
constexpr int NB_PRELEVEMENTS = 2;
} // namespace cellulesFiche
// clang-format on

// The taxa list: the first row (from row 41, below the cells above) holding "CODE" and the count
// columns of the model: "A", "B", "C" (phases, "CEMAGREF") or "UR1", "UR2" (covers of the survey
// units, "MACROPHYTES"); one taxon per row below it, rows without code passed over.
inline constexpr int LIGNE_MIN_TAXONS = 41;

struct TaxonFiche
{
    int ligne = 0;
    QString code;
    std::array<NombreLu, NB_VALEURS_LISTE> valeurs{};
};

struct FicheEnvoi
{
    QString feuille;
    StationClasseur station;
    QString typeCoursEau, date, indice;
    EntierLu ouverture;
    QVector<MesureEnvironnement> mesures;         // parameter and measure
    QVector<PrelevementElementaire> prelevements; // indice, code, substrate, velocity class
    QVector<TaxonFiche> taxons;
};

// True for the template's own sheets (not a station).
bool estFeuilleModele(const QString &modele, const QString &feuille);

// The preview's columns ("Identifiant" ... "classeur") and a sheet's row.
const QStringList &colonnesApercuFiche();
QStringList ligneApercu(const FicheEnvoi &f);

// Every station sheet of the workbook; the missing-sheet message when there is none, or the first
// cell that does not read ("Feuille « Amont », cellule M24 ...": nothing is then written).
QString lireFichesEnvoi(const Classeur &classeur, const QString &modele,
                        QVector<FicheEnvoi> &fiches, ElementsIgnores *ignores);

// Writes each sheet: station, operation of the model's point on its date (with the openness of the
// site), its environmental conditions and elementary samplings replaced by the sheet's, taxa
// list, and the IBMR (2928) for "MACROPHYTES". Taxa not in TAXONS are added to `inconnus` and
// left out.
bool integrerFiches(const QString &modele, const QVector<FicheEnvoi> &fiches,
                    EcritureObjets &ecriture, Progression &progression, bool arret,
                    BilanAnalyses &bilan, QStringList &inconnus);

} // namespace vyk
