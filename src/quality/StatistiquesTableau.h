#pragma once

// The station-by-date matrix of hydrobiological results: one row per taxon (counts or cover
// percentages) or per index, one column per operation date, oldest first. The follow-up screen
// and the web pages of the map export show it.

#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

// Support keys of the matrix: index results, cover percentages; any other key gives counts.
inline const QString GENRE_INDICES = QStringLiteral("-1");
inline const QString GENRE_RECOUVREMENTS = QStringLiteral("271");

struct FiltresTableauHydrobio
{
    QString genre;            // support key (see above)
    QString identifiantPoint; // QUALITOMETRES_POINTS.identifiant
    QString dateDebut;        // DD/MM/YYYY
    QString dateFin;          // DD/MM/YYYY, the whole day included
    // Operation filters; "" or "-1" for any.
    QString protocole, qualification, statut, producteur;
};

struct LigneTableauHydrobio
{
    QString code;         // taxon or parameter code
    QString nom;          // latin name, or the parameter's long label
    QString nomCommun;    // common name, or the parameter's name
    QString omnidia;      // taxa only
    QStringList cellules; // one per date
};

struct TableauHydrobiologique
{
    QStringList dates; // DD/MM/YYYY[ hh:mm:ss], one per column
    QVector<LigneTableauHydrobio> lignes;

    // The whole matrix as text: a header row ("code Taxon", "Taxon", "Omnidia", the dates, or
    // "Code", "Paramètre", "Nom" for indices) then one row per taxon or index.
    QVector<QStringList> texte(bool indices) const;
};

// Fills the matrix of the station; false when a statement failed (what was read is kept).
// Counts: A + B + C, "<" before it for remark 10, "P" / "A" for presence (1) / absence (2) with
// remark 4. Cover: "A | B". A taxon whose codeTaxonCalcul lists other rows' taxa receives their
// cells, date by date (except for cover percentages).
bool getTableauHydrobiologique(qint64 codeQualitometre, const FiltresTableauHydrobio &filtres,
                               TableauHydrobiologique &tableau);

} // namespace vyk
