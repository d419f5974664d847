#pragma once

// The records the text and spreadsheet importers build for each line they read, before the
// import writer (import/EcritureObjets.h) integrates them: plain values, already read and
// converted by the reader (dates as QDate/QTime, numbers as numbers). A number the file does not
// give is an empty std::optional and is written NULL, never 0 (0 is a real HER or Strahler rank);
// an empty text or an invalid date or time means "not given" as well.
//
// Records that belong to an operation or a sample carry its key (station code, point, date...)
// rather than a database code: the writer finds or creates the rows.

#include "monitoring/ListeTaxonsOperation.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>

#include <array>
#include <optional>

namespace vyk {

using NombreLu = std::optional<double>;
using EntierLu = std::optional<qint64>;

// The value to write: NULL when not given.
inline QVariant valeurLue(const NombreLu &n)
{
    return n ? QVariant(*n) : QVariant();
}
inline QVariant valeurLue(const EntierLu &n)
{
    return n ? QVariant(double(*n)) : QVariant();
}

// 11. A coordinate pair and its projection (TypeProjection code).
struct Coordonnee
{
    NombreLu x;
    NombreLu y;
    EntierLu projection;
};

// 5. The descriptive fields of a surface-water station that a water point carries.
struct InfosStation
{
    QString dateCreation; // DD/MM/YYYY, "" when not given
    QString finalite;
    EntierLu HER1;
    QString codeHydro;
    EntierLu rangStrahler;
    NombreLu superficieBassinVersant;
    EntierLu typeFR;
    EntierLu canal;
};

// 6. A water point: a station (QUALITOMETRES) by its public code. `code` may be "code/designation".
struct PointEau
{
    QString code;
    QString nom;
    QString typeStation; // "" keeps the stored type (a new station is a river, "1")
    Coordonnee coordonnee;
    NombreLu altitude;
    QString codeCommune;
    QString localisation;
    QString commentaires;
    QDate dateFermeture;
    EntierLu pk;
    InfosStation infos;
};

// 8. A sampling point of a station (QUALITOMETRES_POINTS).
struct PointPrelevement
{
    QString codeStation;
    QString identifiant; // support code on two digits + point number: "031", "131"
    QString nom;
    QDate dateDebut;
    QDate dateFin;
    Coordonnee coordonnee;
    NombreLu profondeurRecommandee;
    QString commentaires;
};

// The operation a record belongs to: station, point identifier, start date and time (an invalid
// time: none given) and the biological protocol (none: the operation has none).
struct CleOperation
{
    QString codeStation;
    QString identifiantPoint;
    QDate date;
    QTime heure;
    EntierLu protocoleBiologique;
};

// A hydrobiological operation (QUALITOMETRES_POINTS_OPERATIONS). Organisation codes are codes of
// INTERVENANTS (already resolved by the reader), EntierLu when given.
struct Operation
{
    CleOperation cle;
    QDate dateFin;
    QTime heureFin;
    QString commentaires;
    EntierLu codePreleveur;
    EntierLu codeDeterminateur;
    EntierLu codeProducteur;
    EntierLu qualification;
    EntierLu statut;
    EntierLu supportBiologique;
    QString localisation;
    EntierLu methodeAnalyse;
    QString accreditation;     // code of "ANALYSES.ACCREDITATION"
    EntierLu ombrage;          // openness of the site, "PRELEVEMENTS.OMBRAGE"
    EntierLu saisonnalite;     // "PRELEVEMENTS.SAISONNALITES"
    EntierLu modeConservation; // main conservation mode
};

// 1. A counted taxon of an operation's list: the 24 values in the order of ColonneListe
// (counts A B C and their percentages, unit, development stage, remark, confidence, density,
// index calculation, counts P1 to P12).
struct TaxonDenombre
{
    CleOperation operation;
    QString codeTaxon;
    std::array<NombreLu, NB_VALEURS_LISTE> valeurs{};
    int codeListe = 1;
};

// A result of an operation (an index, a note) in QUALITOMETRES_OPERATIONS_RESULTATS.
struct ResultatOperation
{
    CleOperation operation;
    EntierLu codeParametre;
    EntierLu codeUnite;
    NombreLu resultat;
    EntierLu codeRemarque;
    EntierLu codeAccreditation;
    EntierLu codeAgrement;
};

// An environment measure taken during an operation (air temperature, flow, weather...) in
// QUALITOMETRES_POINTS_OPERATIONS_ENV; dated like its operation when no date is given.
struct MesureEnvironnement
{
    CleOperation operation;
    EntierLu parametre;
    EntierLu unite;
    NombreLu mesure;
    EntierLu methode;
    QString commentaires;
    EntierLu qualification;
    EntierLu statut;
};

// An elementary sampling of an operation (phases and substrates), indices 1 to 12.
struct PrelevementElementaire
{
    CleOperation operation;
    int indice = 0;
    QString codePrelevement;
    EntierLu phase;
    QString codeSubstrat;
    EntierLu classeVitesse;
    NombreLu hauteurEau;
    QString commentaires;
};

// The sample an analysis belongs to: station, date, time (invalid: none given) and the support
// code as the analysis files give it ("3" water, "6" sediment, "13" macroinvertebrates...).
struct ClePrelevement
{
    QString codeStation;
    QDate date;
    QTime heure;
    QString codeSupport;
};

// 3. A physico-chemical sample: the values its analyses share.
struct Prelevement
{
    ClePrelevement cle;
    NombreLu profDebut;
    NombreLu profFin;
    QString codePreleveur; // SANDRE code of the sampler
    QString localisation;  // precise location, on the operation
    QString commentaire;   // comment of the operation
};

// 2. An analysis (a row of the station's analysis table). Organisation codes are SANDRE codes.
struct Analyse
{
    ClePrelevement prelevement;
    QString codeParametre;
    NombreLu resultat;
    QString codeUnite;
    QString codeRemarque;
    QString codeFraction;
    QString codeMethode;
    QDate dateAnalyse;
    QString codeLabo;
    QString codeProducteur;
    QString codeQualification;
    QString statutMesure;
    NombreLu limiteQuantification;
    NombreLu limiteDetection;
    NombreLu incertitudeAnalytique;
    QString accreditation;
    QString commentaireAnalyse;
    QString commentaireResultat;
    QString referenceLabo;
    QString numLabo;
    QString codeLieu;
    QString codeDifficulte;
    QString referenceEchantillon;
    NombreLu rendementExtraction;
};

// 4. A measurement of a time series (sibling modules).
struct Chronique
{
    QString codeStation;
    QDate date;
    QTime heure;
    NombreLu valeur;
    QString qualification;
};

// 9. A groundwater station of the sibling module.
struct Piezometre
{
    QString code;
    QString nom;
    Coordonnee coordonnee;
    NombreLu altitude;
    QString codeCommune;
};

// 10. An event of a station (EVENEMENTS_QUALITO).
struct Evenement
{
    QString codeStation;
    QDate date;
    QTime heure;
    QString commentaires;
    QString probleme;
    QString solution;
    QString type; // "G" management tour, "M" maintenance, "" other
};

// 12. A hydrogeological entity link.
struct EntiteHydro
{
    QString codeStation;
    EntierLu codeEntite;
};

// 13. A water-body link: the code is looked up as a code, a European code, then "FR" + code.
struct MasseEau
{
    QString codeStation;
    QString code;
    QString libelle;
};

// 14. An owner of a station.
struct Proprietaire
{
    QString codeStation;
    EntierLu codeIntervenant;
    QString nom;
    QDate dateDebut;
    QDate dateFin;
};

// 15. An altimetric reference.
struct RefAltimetrique
{
    QString codeStation;
    QDate dateDebut;
    QDate dateFin;
    NombreLu altitude;
    EntierLu systemeAltimetrique;
    EntierLu modeObtention;
};

// 16. A reference mark.
struct Repere
{
    QString codeStation;
    QDate dateDebut;
    QDate dateFin;
    NombreLu hauteur;
    QString commentaires;
};

// 17. Drinking-water supply information.
struct InformationsAEP
{
    QString codeStation;
    QString codeCaptage;
    NombreLu debit;
    QString commentaires;
};

// 18. A managing organisation of a station.
struct GestionOrganisme
{
    QString codeStation;
    EntierLu codeIntervenant;
    QString referenceInterne;
    QDate dateDebut;
    QDate dateFin;
};

// 19. The management of a network.
struct GestionReseau
{
    QString codeSandreReseau;
    EntierLu codeIntervenant;
    QDate dateDebut;
    QDate dateFin;
};

// 20. An organisation; `origine` "1" or "" for a SIRET number, anything else a SANDRE code.
struct Intervenant
{
    QString code;
    QString origine;
    QString nom;
};

// 21. A network membership of a station; the network is found by its SANDRE code, created
// when missing ("<" code ">" when no label is given). An empty codeStation: the network only.
struct Reseau
{
    QString codeStation;
    QString codeSandre;
    QString libelle;
    QDate dateDebut;
    QDate dateFin; // invalid: still running
};

// 22. A commune, added when missing ("<" code ">" when no name is given).
struct Commune
{
    QString code;
    QString nom;
};

// 23. An aquifer link.
struct Aquifere
{
    QString codeStation;
    EntierLu codeAquifere;
};

// 24. A catchment.
struct BassinVersant
{
    QString code;
    QString nom;
};

// 25. A measurement mode.
struct ModeMesure
{
    QString codeStation;
    QDate dateDebut;
    QDate dateFin;
    EntierLu methode;
    EntierLu periodicite;
    QString commentaires;
};

// 26. An error line of an import report.
struct Erreur
{
    QString origine; // "fichier, ligne N"
    QString texte;
};

// 27. An exchange frame.
struct Trame
{
    QString code;
    QString libelle;
    QString separateur;
};

// 28. A field of an exchange frame.
struct TrameChamp
{
    QString trame;
    int position = 0;
    QString nom;
};

// 29. A threshold.
struct Seuil
{
    QString codeParametre;
    QString codeUnite;
    std::array<NombreLu, 4> seuils{};
};

// 30. A quantity sample.
struct PrelevementQuantite
{
    QString codeStation;
    QDate date;
    NombreLu volume;
    QString commentaire;
};

// 31. A forecast.
struct Prevision
{
    QString codeStation;
    QDate date;
    NombreLu valeur;
};

} // namespace vyk
