#pragma once

// The quality situation map (FrmCarteSituationQualite): one value per station by the
// statistics of its support, classed against a threshold set, with its trend against a
// reference year, and exported as a workbook or a text.

#include "db/Progression.h"
#include "quality/Seuils.h"
#include "quality/Statistiques.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

namespace texteCarte {
inline const QString DATE_INCORRECTE =
    QStringLiteral("La date de calcul est vide ou n'est pas correcte.");
inline const QString CALCUL = QStringLiteral("Récupération des niveaux et calcul des classes");
inline const QString AUCUNE_STATION = QStringLiteral("Sélectionnez au moins un qualitomètre.");
} // namespace texteCarte

// The supports of the map's list: the physico-chemical ones, "-1" for index results, the taxa
// lists otherwise.
bool estSupportPhysicoChimique(const QString &support);
// The kind of thresholds a support classes with: '0', '2' for "-1", '1' for taxa lists.
QString typeListeSupport(const QString &support);

struct ParametresCarte
{
    QString support;    // "031", "-1", "131"...
    QString code;       // parameter, index or taxon
    QString unite;      // physico-chemistry
    QString genre;      // statistic: "MIN", "AVG", "MAX", "SUM", "P90", "" for the latest value
    QString dateCalcul; // DD/MM/YYYY
    int periode = 365;
    int ageLimite = 0;
    QString statut;
    QString qualification;
    QString seuil;          // set code, "" for none: class "-1"
    QString anneeReference; // "" for none
    double marge = 0;
};

struct LigneCarte
{
    StationCalcul station;
    QString nom;
    QString typeStation;
    QString typeFr;
    ValeurCalculee valeur;
    ComparaisonReference comparaison;
};

struct ResultatCarte
{
    QVector<LigneCarte> lignes;
    QStringList legendes;
    bool annule = false;
};

// The stations of these codes (CodeQualitometre), in the given order, with their types: one
// query. Codes that name no station are left out.
QVector<LigneCarte> stationsCarte(const QStringList &codes);

// Computes the map over the stations. "" when done, otherwise the message to show (the
// calculation date is checked first).
QString calculerCarte(const ParametresCarte &parametres, QVector<LigneCarte> stations,
                      ResultatCarte &resultat, Progression &progression = progressionNulle());

// The grid's titles and rows, as shown and exported.
QStringList entetesCarte();
QVector<QStringList> lignesCarte(const ResultatCarte &resultat);

// Writes the map to a workbook (.xlsx, .ods) or a ";" text after the name's extension; false
// with the reason.
bool exporterCarte(const ResultatCarte &resultat, const QString &chemin, QString *erreur = nullptr);

} // namespace vyk
