#pragma once

// Job records of the imports: a job per run of a model (JOBS), its executions (JOBS_EXECUTION)
// and their journal lines (JOBS_JOURNAL).

#include <QDateTime>
#include <QString>
#include <QVector>

namespace vyk {

// A new job named `nom` for the import model `modele` (its FORMAT_DONNEES row when there is
// one), with the current login when a user is logged in. Its id, -1 on failure.
qint64 creerJob(const QString &modele, const QString &nom);
// A new execution of the job, timestamped now. Its id, -1 on failure.
qint64 demarrerExecution(qint64 job);
// Closes the execution: its duration in seconds since it started, its status true only when
// the error text is empty. The error text itself goes to the execution's journal.
bool terminerExecution(const QString &erreur, qint64 execution);
// A journal line of the execution; nothing for an empty text.
bool journaliserExecution(const QString &texte, qint64 execution);

struct ExecutionJob
{
    qint64 id = -1;
    QString job;    // the job's name
    QString modele; // its format's code, "" when none
    QString login;
    QDateTime debut;
    qint64 duree = -1; // seconds, -1 while running
    bool termine = false;
    bool statut = false;
    QString journal; // its journal lines, one per line
};
// The latest executions first, at most `nombre`.
QVector<ExecutionJob> dernieresExecutions(int nombre = 50);

} // namespace vyk
