#pragma once

// Results files of the index calculators read back into the operations' results
// (QUALITOMETRES_OPERATIONS_RESULTATS). Values are read by the header's column names; the
// header may follow banner lines. One transaction per file: a file is stored whole or not at
// all.

#include <QString>
#include <QStringList>

#include <functional>

namespace vyk {

// Column names of a results file (compared without quotes nor case).
namespace colonneResultat {
inline const QString Station = QStringLiteral("CODE_STATION");
inline const QString Date = QStringLiteral("DATE");
inline const QString Parametre = QStringLiteral("CODE_PAR"); // optional
inline const QString Libelle = QStringLiteral("LIB_PAR");    // optional
inline const QString Resultat = QStringLiteral("RESULTAT");
} // namespace colonneResultat

struct LectureResultats
{
    QString codeStation; // the station of this run: other stations' lines are left out
    QString point;       // sampling point identifier of the index's operations
    // Parameter of a line from its code and label columns; "" leaves the line out.
    std::function<QString(const QString &code, const QString &libelle)> parametre;
    // Among operations of one day, prefer the newest one of these protocols.
    QStringList protocolesPreferes;
};

struct BilanResultats
{
    int enregistres = 0;
    QStringList ignores; // lines left out, one reason each
    QString erreur;      // why nothing was stored, "" on success
};

// Stores the results of `fichier`. Each result replaces the operation's earlier value of the
// parameter, under the operation's next `indice`. False (nothing stored) on a file without a
// usable line, a missing column or a database error.
bool integrerResultats(const QString &fichier, const LectureResultats &lecture,
                       BilanResultats &bilan);

// A station code as stored: seven digits get their leading zero back.
QString codeStationResultat(const QString &code);

} // namespace vyk
