#pragma once

// The results search's working state and the steps its two halves share: the analyses of the
// stations' own tables, and the taxa lists, index results and states of their operations.

#include "search/Recherche.h"

#include <QHash>
#include <QSet>

#include <optional>
#include <utility>

namespace vyk::detail {

// A calculated parameter: its value is the total of its components' values in one sample.
struct ParametreCalcule
{
    QString parametre, unite;
    QStringList composants;
};

// What classing against a grid needs, worked out once per grid: whether it classes at all, its
// orientation and its last bound set.
struct ClassementGrille
{
    bool classe = false, decroissante = false;
    int derniere = 0;
};
ClassementGrille preparerClassement(const GrilleRecherche *grille);
ClasseRecherche classer(double v, const GrilleRecherche &grille, const ClassementGrille &p);

struct Contexte
{
    const CriteresRecherche &c;
    ResultatRecherche &r;
    QString debut, fin;
    // Grids by "parameter/unit", "parameter/" and "" (the default).
    QHash<QString, int> grilles;
    // A row's texts, each kept once by the result.
    CelluleRecherche partage(const QString &texte) { return r.textes.cellule(texte); }
    CelluleRecherche partage(QByteArrayView texte) { return r.textes.cellule(texte); }
    // What a row's parameter and unit decide, by their cells: read once per pair.
    struct Couple
    {
        QString parametre, unite;
        int indicateur = -1, grille = -1;
        bool composant = false;
    };
    QHash<quint64, Couple> couples;
    // The station last counted in each indicator's places and whether with a detection there:
    // a station's rows come together, so its places are noted once or twice, not per row.
    QVector<std::pair<int, bool>> lieuxNotes;
    // Per grid of the result, in the same order.
    QVector<ClassementGrille> classements;
    ClasseRecherche classer(int grille, double v);
    // Remark cells met, by their bytes, with their result's form.
    QVector<std::pair<QByteArray, FormeResultat>> remarques;
    // Indicator row by "parameter/unit"; with a selection, only the list's rows.
    QHash<QString, int> indicateurs;
    bool avecSelection = false;
    GenreRecherche genre = GenreRecherche::Analyses;
    // Calculated parameters of the lists, and the calculated parameters of each component.
    QVector<ParametreCalcule> calcules;
    QHash<QString, QVector<int>> composantDe;
    // Sums of components by calculated parameter, station and sample, in the order first met.
    struct Somme
    {
        int calcule, station;
        LigneResultat modele;
        double total = 0;
        bool detection = false;
    };
    QVector<Somme> sommes;
    QHash<QString, int> indexSommes;
    // Kinds 2 to 5: the elements searched (empty: every one found) and their names; the bound
    // rows of the threshold types, and the grid chosen per element and station type.
    QStringList elements;
    QHash<QString, QString> noms;
    struct LigneSeuils
    {
        GrilleRecherche grille;
        QString typeStation, typeFr, element;
    };
    QVector<LigneSeuils> seuilsTypes;
    QHash<QString, int> grillesTypes;
    // Kinds 2 and 3 with taxa searched by name: the searched taxa each taxon of a station's list
    // counts under (itself when searched, and each searched taxon whose codeTaxonCalcul names
    // it). Empty: every taxon counts under itself.
    QHash<QString, QStringList> comptesSous;
    // The counts of the operation being read, one per searched taxon, in the order first met.
    struct CompteTaxon
    {
        int indicateur;
        LigneResultat ligne;
        double total = 0;
        QStringList taxons;
    };
    QVector<CompteTaxon> comptes;
    QHash<QString, int> indexComptes;
    int stationComptee = -1;
    CelluleRecherche operationComptee;
};

QString listeTextes(const QStringList &codes);
bool entier(const QString &texte);
bool typesSeuils(const QString &type, QStringList &types);
int ajouterIndicateur(Contexte &x, const QString &parametre, const QString &unite,
                      const QString &nom);
// The indicator row of an element; -1 when a selection is searched and the element is not in it.
int indicateurDe(Contexte &x, const QString &parametre, const QString &unite, const QString &nom);
// Counts a result in its indicator, the totals and the places; keeps it when the class filter does.
void retenir(Contexte &x, int indicateur, LigneResultat &&ligne,
             const std::optional<double> &valeur);
// The form of a result with this remark: Inferieur below the limit (2, 9, 10), Superieur above it
// (3, 8), Nombre otherwise.
FormeResultat formeRemarque(const QVariant &remarque);
// The result of cell v (d its number): kept as the number when the cell is one (its text is that
// of the number), as the text shown otherwise. Nothing for NULL.
void definirResultat(Contexte &x, LigneResultat &r, const QVariant &v, double d,
                     FormeResultat forme);

// The stations' coordinates in the display projection (setting TypeProjection): a localisation in
// it, else their own converted; kept as stored when neither can be had. False when a query failed.
bool coordonneesAffichage(QVector<StationRecherche> &stations);

// Kinds 2 to 5.
bool preparerOperations(Contexte &x);
bool rechercherStationOperations(Contexte &x, int station, const QSet<QString> &tables);
// Keeps the taxa counts of the last operation read (kinds 2 and 3).
void retenirComptes(Contexte &x);

} // namespace vyk::detail
