#pragma once

// Exchange packages between databases: a ZIP archive holding one desktop database of the same
// schema (entry TMPBSBI.MDB), with chosen stations, their points, operations, samples, sample
// parts, analyses and taxa lists, and the referential rows they use. A field laptop hands its
// data to the shared server that way.

#include "import/IntegrationAnalyses.h"

#include <QString>
#include <QStringList>

namespace vyk {

class Progression;

struct BilanExportPaquet
{
    QString erreur; // "" when the package was written
    int stations = 0;
    int prelevements = 0;
    long long analyses = 0;
    int referentiels = 0; // referential rows carried
    // "n station(s), n prélèvement(s), n analyse(s), n ligne(s) de référentiel"
    QString resume() const;
};

namespace textePaquet {
inline const QString AUCUNE_STATION =
    QStringLiteral("Aucune station n'a été choisie : aucun paquet n'a été écrit.");
inline QString stationInconnue(const QString &code)
{
    return QStringLiteral("La station « ") + code +
           QStringLiteral(" » n'existe pas dans la base : aucun paquet n'a été écrit.");
}
inline QString ecriture(const QString &fichier)
{
    return QStringLiteral("Impossible d'écrire le paquet « ") + fichier +
           QStringLiteral(" ». Vérifiez vos droits d'écriture.");
}
inline QString sansBase(const QString &fichier)
{
    return QStringLiteral("Le paquet « ") + fichier +
           QStringLiteral(" » ne contient pas de base de données TMPBSBI.MDB.");
}
inline QString endommage(const QString &fichier, const QString &detail)
{
    return QStringLiteral("Le paquet « ") + fichier + QStringLiteral(" » est endommagé (") +
           detail + QStringLiteral(") : aucune donnée n'a été intégrée.");
}
inline QString sansVersion(const QString &fichier)
{
    return QStringLiteral("Le paquet « ") + fichier +
           QStringLiteral(" » n'indique pas la version de son schéma : aucune donnée n'a été "
                          "intégrée.");
}
inline QString versionRecente(const QString &fichier, const QString &version,
                              const QString &programme)
{
    return QStringLiteral("Le paquet « ") + fichier +
           QStringLiteral(" » vient d'une version plus récente de VYK (schéma ") + version +
           QStringLiteral(", ce programme ") + programme +
           QStringLiteral(") : mettez VYK à jour avant de l'importer.");
}
inline QString erreurStation(const QString &code, const QString &raison)
{
    return QStringLiteral("Station ") + code +
           QStringLiteral(" : rien n'a été intégré pour cette station (") + raison +
           QStringLiteral(").");
}
} // namespace textePaquet

// Writes the stations of these public codes (CodeBSS) into the package `fichier`, replacing a
// previous file only once the new one is complete. A code that names no station refuses the
// whole export.
BilanExportPaquet exporterPaquet(const QStringList &codesBSS, const QString &fichier,
                                 Progression &progression);

// Integrates a package. The package is read through and checked (archive, database, schema
// version) before anything is written. Referential rows missing here are added; then each
// station, matched by its public code or created, takes in one transaction the points,
// operations, samples, sample parts and analyses it does not hold yet: a point is the same for
// (identifier, start date), an operation for (point, date), a sample for (date, operation), an
// analysis for (sample, parameter, unit). Rows already here are left as they are, so importing
// the same package twice changes nothing. `execution` is written on the operations created.
BilanAnalyses importerPaquet(const QString &fichier, qint64 execution, Progression &progression);

// The stations a package holds (code, name, number of analyses), for the import screen's
// preview; "" or the refusal the import would give.
QString listerPaquet(const QString &fichier, QVector<QStringList> &lignes);

} // namespace vyk
