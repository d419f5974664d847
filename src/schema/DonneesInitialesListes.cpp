// The coded lists written in full by the upgrade (labels exactly as the lists have always had
// them, including their spelling).

#include "schema/DonneesInitiales.h"

namespace vyk {

namespace {

// clang-format off
constexpr EntreeInitiale CODEREMARQUE[] = {
    {0, "Analyse non faite"},
    {1, "Domaine de validité"},
    {2, "< seuil de détection"},
    {3, "> seuil de saturation"},
    {4, "Présence ou Absence"},
    {5, "Incomptable"},
    {6, "Taxons non individualisables"},
    {7, "Traces (< seuil de quantification et > seuil de détection)"},
    {8, "Dénombrement > Valeur"},
    {9, "Dénombrement < Valeur"},
    {10, "Résultat < au seuil de quantification"},
};
// clang-format on
constexpr EntreeInitiale ACCREDITATION[] = {{1, "Accrédité"}, {2, "Non accrédité"}};
// clang-format off
constexpr EntreeInitiale CALCUL_INDICE[] = {
    {0, "Inconnu"},
    {1, "Cité dans la norme, prise en compte dans le calcul inconnu"},
    {2, "Cité dans la norme mais effectif insuffisant pour prise en compte dans le calcul"},
    {3, "Cité dans la norme et effectif suffisant pour prise en compte dans le calcul"},
};
// clang-format on
constexpr EntreeInitiale CONFIANCE[] = {{0, "Inconnu"}, {1, "Fort"}, {2, "Faible"}};
constexpr EntreeInitiale DIFFICULTE[] = {{0, "Difficultés inconnues"}, {1, "Oui"}, {2, "Non"}};
// clang-format off
constexpr EntreeInitiale LIEU[] = {
    {0, "Localisation inconnue"}, {1, "In situ"}, {2, "Laboratoire"}};
constexpr EntreeInitiale QUALIFICATION[] = {
    {1, "Correcte"},
    {2, "Incorrecte"},
    {3, "Incertaine"},
    {4, "Non qualifié"},
    {0, "Qualification non définissable"},
};
// clang-format on
// clang-format off
constexpr EntreeInitiale REPRESENTATIVITE_ANALYSE[] = {
    {0, "Représentativité inconnue"},
    {1, "Interne au point d eau"},
    {2, "Locale au point d eau"},
    {3, "Générale au point d eau"},
};
// clang-format on
// clang-format off
constexpr EntreeInitiale STATUT[] = {
    {1, "Donnée brute"},
    {2, "Donnée contrôlée niveau 1"},
    {3, "Donnée contrôlée niveau 2"},
    {4, "Donnée interprétée"},
};
// clang-format on
constexpr EntreeInitiale TYPE_QUALITOMETRE[] = {{1, "Point d eau unique"}, {2, "Groupement"}};
// clang-format off
constexpr EntreeInitiale CODEETAT[] = {
    {0, "Inconnu"}, {1, "Rebouché"}, {2, "Obstrué"}, {3, "Opérationnel"}};
constexpr EntreeInitiale CODEQUALITE[] = {
    {0, "Inconnu"}, {1, "Inutilisable"}, {2, "Mauvais"},
    {3, "Moyen"},   {4, "Bon"},          {5, "A remplacer impérativement"},
};
// clang-format on
// clang-format off
constexpr EntreeInitiale CODEREPRESENTATIVITE[] = {
    {0, "Inconnu"},
    {1, "Interne au point d'eau"},
    {2, "Locale au point d'eau"},
    {3, "Générale au point d'eau"},
};
// clang-format on
// clang-format off
constexpr EntreeInitiale CONTEXTEPISCICOLE[] = {
    {0, "Indéterminé"},
    {1, "Cyprinicole"},
    {2, "Intermédiaire"},
    {3, "Salmonicole"},
};
// clang-format on
// clang-format off
constexpr EntreeInitiale MODE_CONSERVATION[] = {
    {0, "Inconnu"}, {1, "Congélation"}, {2, "Dessication"},         {3, "Alcool"},
    {4, "Formol"},  {5, "Lugol"},       {6, "Liquide de Sémichon"},
};
// clang-format on
constexpr EntreeInitiale RANG_STRAHLER[] = {
    {1, "Très Petits"}, {2, "Petits"}, {3, "Moyens"}, {4, "Grands"}, {5, "Très Grands"},
};
// clang-format off
constexpr EntreeInitiale SEUILS[] = {
    {1, "SEQ-Eaux souterraines", "Eaux souterraines"},
    {2, "Seuil AEP"},
    {3, "Seuil DCE"},
    {11, "SEQ-Eaux douce"},
};
// clang-format on
constexpr EntreeInitiale ETATS_VALEURS[] = {
    {0, "Inconnu"}, {1, "Très bon"}, {2, "Bon"}, {3, "Moyen"}, {4, "Médiocre"}, {5, "Mauvais"},
};
// clang-format off
constexpr EntreeInitiale SAISONNALITES[] = {
    {0, "Inconnue"}, {1, "Aucun"}, {2, "Printemps"},    {3, "Ete"},
    {4, "Automne"},  {5, "Hiver"}, {6, "Saison sèche"}, {7, "Saison humide"},
};
// clang-format on
constexpr EntreeInitiale PHASE[] = {{0, "A"}, {1, "B"}, {2, "C"}};
constexpr EntreeInitiale OMBRAGE[] = {{1, "Ouvert"}, {2, "Semi-ouvert"}, {3, "Fermé"}};
constexpr EntreeInitiale GROUPE[] = {{1, "Bocal 1"}, {2, "Bocal 2"}, {3, "Bocal 3"}};
// clang-format off
constexpr EntreeInitiale VITESSE[] = {
    {0, "Inconnue"},     {1, "N1 - v < 5"},    {3, "N3 - 5 <= v < 25"},  {5, "N5 - 25 <= v < 75"},
    {6, "N6 - 75 <= v"}, {2, "N2 - v >= 150"}, {4, "N4 - 75 < v < 150"},
};
// clang-format on
constexpr EntreeInitiale HAUTEUR[] = {
    {0, "Inconnue"}, {1, "M6"}, {2, "M4"}, {3, "M7"}, {4, "M8"}, {5, "M9"}, {6, "M10"},
};
// clang-format off
constexpr EntreeInitiale THEME[] = {
    {0, "Inconnu"},          {1, "Poissons"},  {2, "Végétaux"}, {3, "Invertébrés benthiques"},
    {4, "Micro-organismes"}, {5, "Diatomées"},
};
// clang-format on
// clang-format off
constexpr EntreeInitiale DEVELOPPEMENT[] = {
    {0, "Stade inconnu"},
    {1, "Stade indéterminé"},
    {2, "Oeuf"},
    {3, "Stade larvaire"},
    {4, "Stade nymphal"},
    {5, "Stade adulte"},
    {6, "Tout stade de développement confondu"},
};
// clang-format on

// The 22 level-1 hydro-ecoregions of metropolitan France, codes and labels as the national
// typology of rivers lists them: arrêté du 12 janvier 2010 relatif aux méthodes et aux critères
// à mettre en œuvre pour délimiter et classer les masses d'eau (JORF n° 27 du 2 février 2010),
// annexe 1, I-3 "Liste des hydroécorégions de niveau 1". The nomenclature import updates them.
// clang-format off
constexpr EntreeInitiale HER1[] = {
    {1, "Pyrénées"},
    {2, "Alpes internes"},
    {3, "Massif central Sud"},
    {4, "Vosges"},
    {5, "Jura ― Préalpes Nord"},
    {6, "Méditerranéen"},
    {7, "Préalpes du Sud"},
    {8, "Cévennes"},
    {9, "Tables calcaires"},
    {10, "Côtes calcaires Est"},
    {11, "Causses aquitains"},
    {12, "Armoricain"},
    {13, "Landes"},
    {14, "Coteaux aquitains"},
    {15, "Plaine Saône"},
    {16, "Corse"},
    {17, "Dépressions sédimentaires"},
    {18, "Alsace"},
    {19, "Grands Causses"},
    {20, "Dépôts argilo-sableux"},
    {21, "Massif central Nord"},
    {22, "Ardennes"},
};
// clang-format on

// Projections of coordinates. Codes 0 to 13: the national water data dictionary's nomenclature
// "Projection des coordonnées" (SANDRE, PEZ/2000-1, as the laboratory exchange dictionary LAB 1.0
// quotes it for ProjLocalPrelevement); 26: the label the national water data services give it;
// 16: the geographic WGS84 code this program reads as longitude and latitude. The national
// nomenclature import completes the list.
// clang-format off
constexpr EntreeInitiale PROJECTIONS[] = {
    {0, "Projection inconnue"},
    {1, "Lambert I Nord"},
    {2, "Lambert II Centre"},
    {3, "Lambert III Sud"},
    {4, "Lambert IV Corse"},
    {5, "Lambert II Etendu"},
    {6, "Lambert I Carto"},
    {7, "Lambert II Carto"},
    {8, "Lambert III Carto"},
    {9, "Lambert IV Carto"},
    {10, "ED50 UTM30"},
    {11, "ED50 UTM31"},
    {12, "ED50 UTM32"},
    {13, "WGS72 UTM30"},
    {16, "WGS84"},
    {26, "RGF93 / Lambert 93"},
};
// clang-format on

// Lists whose entries came in several versions are completed entry by entry.
// clang-format off
constexpr ListeInitiale LISTES[] = {
    {"ANALYSES.CODEREMARQUE", CODEREMARQUE},
    {"ANALYSES.ACCREDITATION", ACCREDITATION},
    {"ANALYSES.CALCUL_INDICE", CALCUL_INDICE},
    {"ANALYSES.CONFIANCE", CONFIANCE},
    {"ANALYSES.DIFFICULTE", DIFFICULTE},
    {"ANALYSES.LIEU", LIEU},
    {"ANALYSES.QUALIFICATION", QUALIFICATION, true},
    {"ANALYSES.REPRESENTATIVITE", REPRESENTATIVITE_ANALYSE},
    {"ANALYSES.STATUT", STATUT},
    {"QUALITOMETRES.TYPE", TYPE_QUALITOMETRE},
    {"QUALITOMETRES.CODEETAT", CODEETAT},
    {"QUALITOMETRES.CODEQUALITE", CODEQUALITE},
    {"QUALITOMETRES.CODEREPRESENTATIVITE", CODEREPRESENTATIVITE},
    {"QUALITOMETRES.CONTEXTEPISCICOLE", CONTEXTEPISCICOLE},
    {"QUALITOMETRES.MODE_CONSERVATION", MODE_CONSERVATION},
    {"QUALITOMETRES.RANG_STRAHLER", RANG_STRAHLER},
    {"SEUILS", SEUILS},
    {"ETATS.VALEURS", ETATS_VALEURS},
    {"PRELEVEMENTS.SAISONNALITES", SAISONNALITES},
    {"PRELEVEMENTS.PHASE", PHASE},
    {"PRELEVEMENTS.OMBRAGE", OMBRAGE},
    {"PRELEVEMENTS.GROUPE", GROUPE},
    {"PRELEVEMENTS.VITESSE", VITESSE, true},
    {"PRELEVEMENTS.HAUTEUR", HAUTEUR},
    {"TAXONS.THEME", THEME},
    {"TAXONS.DEVELOPPEMENT", DEVELOPPEMENT},
    {"QUALITOMETRES.HER1", HER1},
    {"PIEZOMETRES.TYPEPROJECTION", PROJECTIONS},
};
// clang-format on

} // namespace

std::span<const ListeInitiale> listesInitiales()
{
    return LISTES;
}

} // namespace vyk
