#pragma once

// The results search over the stations' physico-chemical analyses: every stored result that
// matches the criteria over a set of stations and a period, each classed against its threshold
// grid (classes 0 to 4, fixed colours), then per-parameter indicators, the totals and the
// distributions over stations, water bodies, HER and catchments. Nothing is written.

#include "db/Progression.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vyk {

// Four bounds, each possibly empty.
struct GrilleRecherche
{
    std::array<std::optional<double>, 4> seuils;
    bool vide() const;
};

struct CouleurRgb
{
    int r, g, b;
};
// Colour of classes 0 (blue) to 4 (red).
const std::array<CouleurRgb, 5> &couleursClasses();

struct ClasseRecherche
{
    int classe = 0;
    int couleur = 0; // index into couleursClasses()
};
// Class of v by the maps' rule (bornePassee, on the bounds at their places; orientation and
// monotony as getClasse decides them): for full grids, getClasse's class minus one. Shown red
// when past the last set bound. No grid, no bound, or bounds going up and down: class 0, blue.
ClasseRecherche classerRecherche(double v, const GrilleRecherche *grille);

// The class filter's items: 0 every class, 1 to 4 "> seuil k" (class at least k), 5 to 8
// "<= seuil k" (class below k), 9 "<= seuil 1 et > seuil max" (class 0 or past the last bound).
bool classeRetenue(const ClasseRecherche &c, int filtre);
const QStringList &libellesFiltreClasse();

struct CriteresRecherche
{
    QString dateDebut;        // DD/MM/YYYY, "" for 01/01/1900
    QString dateFin;          // DD/MM/YYYY, "" for 31/12/2050; excluded from midnight
    QVector<qint64> stations; // empty: every station the user may see
    QStringList selections;   // list codes (their sub-lists are searched too)
    QString parametre, unite, qualification, statut, support, producteur;
    QString typeSeuil;        // "" for no classing
    QString pointPrelevement; // sampling point key, "" for any
    QString jobExecution;     // import job execution id, "" for none
    int filtreClasse = 0;
    bool detectionsSeulement = false;
};

// The five search kinds, chosen by the result kind's key (a sampling point key, "-1" for index
// results, "-2" for states). Kinds 2 and 3 both search taxa lists; 3 counts surveys.
enum class GenreRecherche
{
    Analyses = 1,
    Taxons = 2,
    TaxonsReleves = 3,
    Indices = 4,
    Etats = 5
};
// An empty key searches analyses at any point.
GenreRecherche genreRecherche(const QString &cle);
inline bool estGenreTaxons(GenreRecherche g)
{
    return g == GenreRecherche::Taxons || g == GenreRecherche::TaxonsReleves;
}
// The selection list type the kind searches: parameters 0, taxa 1, indices 2, states 4.
int typeListeRecherche(const CriteresRecherche &c);

inline const QString MESSAGE_DATES = QStringLiteral("Renseignez les dates de chargement");
inline const QString MESSAGE_AUCUN_RESULTAT =
    QStringLiteral("Aucun résultat ne correspond à vos critères.");

struct StationRecherche
{
    qint64 code = 0;
    QString codeBSS, nom, commune, masseEau, her, bv, x, y, projection;
    QString nomHer, nomBv, typeStation, typeFr;
};

// A cell of the result rows in four bytes: a whole number written as QString::number writes it
// (codes, sample and analysis numbers) is kept as the number; any other text by its index in the
// search's texts, each distinct text kept once. The default cell is the empty text.
class CelluleRecherche
{
  public:
    constexpr CelluleRecherche() = default;
    bool vide() const { return m_valeur == TEXTE; }
    bool operator==(const CelluleRecherche &) const = default;
    quint32 brute() const { return m_valeur; }

  private:
    friend class TextesRecherche;
    static constexpr quint32 TEXTE = 0x80000000u;
    explicit constexpr CelluleRecherche(quint32 v) : m_valeur(v) {}
    quint32 m_valeur = TEXTE;
};

// The texts of one search's rows.
class TextesRecherche
{
  public:
    TextesRecherche();
    CelluleRecherche cellule(const QString &texte);
    // The same from UTF-8 bytes: no text made for a value met before.
    CelluleRecherche cellule(QByteArrayView utf8);
    QString texte(CelluleRecherche c) const;
    // Distinct texts kept, the empty one included.
    qsizetype taille() const { return m_textes.size(); }

  private:
    CelluleRecherche ajouter(QString texte, std::string cle);
    QVector<QString> m_textes;
    struct Hachage
    {
        using is_transparent = void;
        size_t operator()(std::string_view v) const { return std::hash<std::string_view>{}(v); }
    };
    std::unordered_map<std::string, quint32, Hachage, std::equal_to<>> m_index;
};

// How a row holds its result: the stored number with its mark ("<" below the limit, ">" above),
// or, for a cell that is no number, its text.
enum class FormeResultat : quint8
{
    Vide,
    Nombre,
    Inferieur,
    Superieur,
    Texte
};

// One result as the results grid shows it, its texts made only when shown (celluleResultat).
// The operation kinds (2 to 5) keep their own cells in fields the analyses use otherwise: labo
// holds the operation's sampler, numAnalyse the taxa counted in the result (kinds 2 and 3).
struct LigneResultat
{
    int station = 0; // index into ResultatRecherche::stations
    int grille = -1; // index into ResultatRecherche::grilles, -1 for none
    QDate jour;      // of the sample
    QTime heure;
    double valeur = 0;
    CelluleRecherche numAnalyse, dateAnalyse, parametre, nomParametre, unite, symbole, numLabo,
        labo, qualification, statut, support, commentaire, numPrelevement, operation,
        texteResultat; // the result when forme is Texte
    ClasseRecherche classe;
    FormeResultat forme = FormeResultat::Vide;
    bool detection = false;

    QDateTime prelevement() const { return QDateTime(jour, heure); }
    void definirPrelevement(const QDateTime &d)
    {
        jour = d.date();
        heure = d.time();
    }
    // A number kept with its remark's mark.
    void definirValeur(double v, FormeResultat f = FormeResultat::Nombre)
    {
        valeur = v;
        forme = f;
    }
};
} // namespace vyk
// A million rows grow their vector by moving its memory, not by copying every row.
Q_DECLARE_TYPEINFO(vyk::LigneResultat, Q_RELOCATABLE_TYPE);
namespace vyk {

// The counts of one parameter (or of the totals).
struct Indicateur
{
    QString code, element, parametre, unite;
    long long recherches = 0, detections = 0, depassements = 0;
    std::array<long long, 5> parClasse{};
    std::vector<double> valeurs;
    // Stations, water bodies, HER and catchments: searched, with a detection.
    std::array<QHash<QString, bool>, 4> lieux;
};

struct ResultatRecherche
{
    GenreRecherche genre = GenreRecherche::Analyses;
    QVector<StationRecherche> stations;
    QVector<LigneResultat> lignes;
    TextesRecherche textes; // those of the rows' cells
    QString texte(CelluleRecherche c) const { return textes.texte(c); }
    CelluleRecherche cellule(const QString &texte) { return textes.cellule(texte); }
    // The result cell's text: "<12.5", ">3", "7", "" or the stored text.
    QString resultat(const LigneResultat &l) const;
    QVector<GrilleRecherche> grilles;
    QVector<Indicateur> indicateurs;
    Indicateur total;
};

enum class IssueRecherche
{
    Trouve,
    DatesInvalides,
    AucunResultat,
    Annulee,
    Echec
};

// Runs the search. message: the text to show for DatesInvalides, AucunResultat and Echec.
IssueRecherche rechercherResultats(const CriteresRecherche &criteres, ResultatRecherche &resultat,
                                   QString &message, Progression &progression = progressionNulle());

// The threshold report of an import run: the results the execution wrote, classed against the
// threshold type, of which the rows kept are the anomalies: at or below bound 1 of their grid
// (inferieurSeuil1) or past its last bound (superieurMax). A result without a grid is no anomaly.
// The indicators count every result of the run. Trouve also when no row is an anomaly.
IssueRecherche rapportSeuils(qint64 execution, const QString &typeSeuil, bool inferieurSeuil1,
                             bool superieurMax, ResultatRecherche &resultat, QString &message,
                             Progression &progression = progressionNulle());
inline const QString MESSAGE_ANOMALIES_SEUILS =
    QStringLiteral("Intégration terminée. Certaines anomalies ont été notifiées dans le rapport "
                   "de recherche selon le seuil");

// The grids as text, titles first: results, indicators, totals, distributions. Their titles are
// those of the search's kind (counts and occurrence for taxa, calculations for indices and
// states).
struct GrilleTexte
{
    QStringList titres;
    QVector<QStringList> lignes;
};
// The results grid of a kind: the analyses' columns, or those of the taxa counts, index results
// and states. The result (or count) stands in column COLONNE_RESULTAT_RECHERCHE of every kind, the
// class and its colour in the last two.
QStringList titresResultats(GenreRecherche genre = GenreRecherche::Analyses);
constexpr int COLONNE_RESULTAT_RECHERCHE = 6;
QStringList celluleResultat(const ResultatRecherche &r, const LigneResultat &l);
GrilleTexte grilleIndicateurs(const ResultatRecherche &r);
GrilleTexte grilleTotaux(const ResultatRecherche &r);
GrilleTexte grilleRepartitions(const ResultatRecherche &r);
// Stations with a result shown: the elements detected there and the samples with a detection.
GrilleTexte grilleStations(const ResultatRecherche &r);
// One row over those stations: how many, elements, samples, detections.
GrilleTexte grilleTotalStations(const ResultatRecherche &r);

} // namespace vyk
