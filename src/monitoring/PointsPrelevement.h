#pragma once

// Sampling points of a station (QUALITOMETRES_POINTS): the points screen's work, and the
// routine every import uses to find or create the point of a measurement.

#include "db/ChampDecrit.h"
#include "db/Messages.h"
#include "referentials/ListesCodees.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace vyk {

// One point as the screen holds it: texts as typed (dates DD/MM/YYYY, numbers with "." or ",").
struct FichePoint
{
    qint64 station = -1; // CodeQualitometre
    QString codePoint;   // "" for a point not yet saved
    QString identifiant; // support code + one digit: "031", "131" ...
    QString nom;
    QString dateDebut;
    QString dateFin;
    QString longueurTotale;
    QString xAmont, yAmont, xAval, yAval;
    QString objetPrincipal;
    QString recommandation;
    QString x, y, typeProjection;
    QString profondeurRecommandee;
    QString commentaires;
    QString largeurDebit;
    QString profDebut, profFin;
    QStringList photos = QStringList(6); // Photo1 .. Photo6

    bool estNouveau() const { return codePoint.trimmed().isEmpty(); }
};

// The identifiers a point may have, "Eau - physico-chimie [031]" ...
EntreesCodees entreesIdentifiantsPoint();
// Points whose operations are not hydrobiological (left out of the counts of operations).
bool estPointPhysicoChimique(const QString &identifiant);

// Captions of the depth and width fields after the identifier; an empty caption hides its field.
struct LibellesPoint
{
    QString largeurDebit;
    QString profDebut;
    QString profFin;
};
LibellesPoint libellesPoint(const QString &identifiant);

namespace textePoints {
inline const QString SITE_VIDE = QStringLiteral("Le site n'est pas renseigné.");
inline const QString DATE_DEBUT =
    QStringLiteral("La date de début du point de prélèvement n'est pas correcte.");
inline const QString DATE_FIN =
    QStringLiteral("La date de fin du point de prélèvement n'est pas correcte.");
inline const QString PERIODE =
    QStringLiteral("La date de fin du point de prélèvement précède sa date de début.");
inline const QString CHEVAUCHEMENT = QStringLiteral(
    "L'intervale de dates n'est pas cohérent avec une définition existente pour ce site.");
inline const QString ENREGISTRE =
    QStringLiteral("Enregistrement de la fiche du point de prélèvement terminé.");
// Followed by the database's error.
inline const QString ECHEC_ENREGISTREMENT =
    QStringLiteral("L'enregistrement du point de prélèvement a échoué :\n");
inline const QString ECHEC_SUPPRESSION = QStringLiteral("La suppression a échoué :\n");
inline const QString OPERATIONS_RATTACHEES =
    QStringLiteral("le site possède des opérations qui lui sont rattachés. Vous ne pouvez pas le "
                   "supprimer. Supprimer "
                   "les opérations concernées au préalable. Merci");
inline QString questionSuppression(const QString &codeStation)
{
    return QStringLiteral(
               "Etes vous sur de vouloir supprimer le point de prélèvement de la station ") +
           codeStation + QStringLiteral(" et toutes les informations qu'il possède ?");
}
inline const QString SUPPRIME = QStringLiteral("Le point de prélèvement a été supprimé.");
inline const QString AUCUN =
    QStringLiteral("Sélectionnez d'abord le point de prélèvement dans la liste.");
inline const QString TITRE_JOURNAL = QStringLiteral("Date de création Qualito");
inline const QString JOURNAL_SAISIE = QStringLiteral("Saisie manuel d'un site de mesure - ");
inline const QString JOURNAL_CREATION = QStringLiteral("Création d'un site de mesure - ");
inline const QString TITRE_FERMETURE = QStringLiteral("Fermeture d'un site de mesure");
inline const QString JOURNAL_FERMETURE =
    QStringLiteral("Le point %1 (%2) du qualitomètre %3 est fermé au %4 : une mesure le situe à "
                   "une autre position.");
inline const QString POSITION_DIFFERENTE = QStringLiteral(
    "Le point de prélèvement « %1 » du qualitomètre %2 est défini à une autre position à cette "
    "date "
    "et sa définition ne peut pas être fermée : corrigez-la avant d'intégrer la mesure.");
} // namespace textePoints

// The station's points, by identifier then start date (one query).
QVector<FichePoint> chargerPoints(qint64 station);
std::optional<FichePoint> chargerPoint(qint64 station, const QString &codePoint);

// Every field that keeps the point from being saved (identifier, dates, period, numbers), named
// by column; empty when it may be saved.
ListeRefus verifierPoint(const FichePoint &point);
// True when another definition of the same identifier covers part of the point's period.
bool chevauchePoint(const FichePoint &point);
// Checks, overlap test, write (a new point gets the station's next code), the station's creation
// date moved back when the point starts earlier. The point receives its code. Shows nothing:
// returns why the point was not saved (every refused field in one text, the overlap, the
// database's failure), "" when it was.
QString enregistrerPoint(FichePoint &point);
// Refused while operations hang on the point; then the user confirms (confirmer receives the
// question) and the point goes. Shows nothing: false with refus telling why when refused or
// failed, false with refus empty when the user said No.
bool supprimerPoint(qint64 station, const QString &codePoint, const QString &codeStationAffiche,
                    const Confirmation &confirmer, QString &refus);

// The code a new point of the station gets: the largest + 1, 0 for the first.
qint64 codePointSuivant(qint64 station);

// Finds the station's point of this identifier valid at the date (the latest that started on
// or before it, a point without start date counting as always valid; then the earliest that
// starts after it), with the recommended depth when one is given, or creates it (start date =
// the date). When coordinates are given and the setting "MargeIntegrationSite" holds a
// tolerance, a point whose coordinates differ by more than it on X or Y does not match (unless
// "repriseSiteSansControle" is "OUI"); the new point then takes the coordinates. Creating a
// point dated before the station's creation date moves that date back (journal entry). The
// point turned down for its position is closed the day before (journal entry) or bounds the new
// one; when neither can be done (same start day, no date), refus receives why.
// Returns the point's code, -1 when the station is unknown or the point cannot be written.
// issue, when given, receives whether the point was created and how many points of the
// identifier (at that depth when one is given) the station has afterwards.
struct IssuePoint
{
    bool cree = false;
    int definitions = 0;
};
qint64 trouverPointPrelevement(qint64 station, const QString &identifiant, const QDate &date = {},
                               std::optional<double> profondeur = {}, std::optional<double> x = {},
                               std::optional<double> y = {}, QString *refus = nullptr,
                               IssuePoint *issue = nullptr);

// Moves the station's creation date back to the date when it is later, with the journal entry
// "Date de création Qualito" and the detail prefix + "Modification de la date de création du
// qualitomètre (" station ") à la date du: " date. True when it was moved.
bool reculerDateCreation(qint64 station, const QDate &date, const QString &prefixeDetail);

// Photos of a point found in the photos folder (setting CheminPhotos): files named after the
// station, or the station and the point's identifier, followed by "_carte", "_site", "_amont",
// "_aval", "_bateau", "_schema" (also after "_IBD_", "_IBMR_", "_IBG_", "_IBGDCE_"), or
// "scan_IBMR", "_scan_IBGDCE", "_scan_IBD"; then the point's own photo paths that exist.
QStringList photosPoint(const FichePoint &point, const QString &codeBSS, const QString &dossier);

} // namespace vyk
