#pragma once

// The rules that give analyses their meaning everywhere (statistics, graphs, reports, the
// follow-up table, search, the sample card): the remark codes read as "<" or ">", and the
// inheritance of status, qualification and support from the operation and the sample. Every
// query that filters analyses takes its conditions from here.

#include <QByteArrayView>
#include <QString>
#include <QVariant>

namespace vyk {

// Remark codes (CodeRemarque, list "ANALYSES.CODEREMARQUE").
// True for 2 (below the detection limit), 9 (count below a value) and 10 (below the
// quantification limit). The code is read as a whole number; NULL or anything that is not one
// gives false.
bool estRemarqueInferieure(const QVariant &codeRemarque);
// True for 3 (above the saturation threshold) and 8 (count above a value).
bool estRemarqueSuperieure(const QVariant &codeRemarque);
// Both, from the code's text as a stepping read gives it (empty for NULL).
enum class SensRemarque
{
    Aucun,
    Inferieure,
    Superieure
};
SensRemarque sensRemarque(QByteArrayView codeRemarque);
// The result as shown: "<" + result or ">" + result after the remark, the result alone
// otherwise; "" for no result.
QString texteResultat(const QVariant &resultat, const QVariant &codeRemarque);

// The codes of the card's bulk-change lists.
inline const QString COLONNE_STATUT = QStringLiteral("StatutMesure");
inline const QString COLONNE_QUALIFICATION = QStringLiteral("CodeQualification");

// FROM clause joining a station's analysis table to its samples (PRELEVEMENTS) and their
// operations (QUALITOMETRES_POINTS_OPERATIONS), left joins so that an analysis without sample
// or operation stays. table: the analysis table's identifier (tableAnalyses()).
QString jointureAnalyses(const QString &table);

// Filters, each a condition for the WHERE of a query built on jointureAnalyses(), followed by a
// blank. An analysis without status takes its operation's status: "(t.statutmesure='s' or
// (t.statutmesure is null AND QUALITOMETRES_POINTS_OPERATIONS.statut=s)) ".
QString filtreStatut(const QString &table, const QString &statut);
// The same for the qualification (codequalification against the operation's qualification).
QString filtreQualification(const QString &table, const QString &qualification);
// An analysis without support takes its sample's main support; an unknown support (neither
// given) is accepted.
QString filtreSupport(const QString &table, const QString &support);
// "Ne rechercher que les données supérieures au seuil de quantification": the remark is
// neither 2 nor 10.
QString filtreQuantification(const QString &table);
// Analyses of the support '13' are left out of the station card's sample summary.
QString filtreHorsSupport13();

} // namespace vyk
