#pragma once

// The per-station analysis tables: "ANALYSES_" + the station's CodeBSS, created on first need,
// dropped by the station cascade.

#include "db/Tableau.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

namespace vyk {

// The identifier of the station's analysis table; "" (and the French reason) when the code
// cannot make a table name.
QString tableAnalyses(const QString &codeBSS, QString *erreur = nullptr);

// Creates the station's analysis table and its index when the table is missing; called before
// every write into it. True when the table exists afterwards; false with the reason (a code that
// cannot name a table, a database failure). Rows loaded in bulk into a new table go in faster
// before its index: with `indexDiffere`, a table created now is left without it, and the flag
// says that creerIndexTableAnalyses is still to be called.
bool creerTableAnalyses(const QString &codeBSS, QString *erreur = nullptr,
                        bool *indexDiffere = nullptr);
bool creerIndexTableAnalyses(const QString &codeBSS);

// Gives a station's analysis table, and its index, the name of the station's new code (its rows
// kept). Nothing to do when the station has no table or the codes differ only by case (one name
// for the engines). False with the reason when the engine refuses; the caller makes sure that no
// table of the new code exists.
bool renommerTableAnalyses(const QString &ancienCodeBSS, const QString &nouveauCodeBSS,
                           QString *erreur = nullptr);
// True when the station's table has to be renamed for that change of code.
bool renommageTableAnalysesNecessaire(const QString &ancienCodeBSS, const QString &nouveauCodeBSS);

// A station whose analysis table exists.
struct TableAnalysesStation
{
    double codeQualitometre = 0;
    QString codeBSS;
    QString table; // identifier, ready for SQL
};
// Every station of QUALITOMETRES whose analysis table exists: one query and one read of the
// catalogue.
QVector<TableAnalysesStation> tablesAnalysesStations();

// A sample of a station, with or without analyses: a sample saved before its analyses is still
// reached from here.
struct PrelevementStation
{
    QString numero;
    QString date;      // DD/MM/YYYY, "" when none
    QString operation; // its operation's code, "" when none
    long long nbAnalyses = 0;
    // "12 - 01/03/2021 (3 analyse(s))"
    QString libelle() const;
};
// Every sample of the station, by date then number (one query).
QVector<PrelevementStation> prelevementsStation(const QString &codeQualitometre,
                                                const QString &codeBSS);

// Runs one query over many analysis tables: selectTable gives, for one table identifier, a
// SELECT of the same columns; the tables are read by UNION in groups (a few statements for
// thousands of stations). chaqueLigne receives every row; false from it stops. False when a
// statement failed.
bool parcourirAnalyses(const QVector<TableAnalysesStation> &tables,
                       const std::function<QString(const QString &table)> &selectTable,
                       const std::function<bool(const Tableau &, int ligne)> &chaqueLigne,
                       bool distincte = true);

} // namespace vyk
