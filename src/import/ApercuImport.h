#pragma once

// What the import screen shows of a file before it is integrated: the rows its model reads.

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

namespace vyk {

class Progression;

struct ApercuImport
{
    QStringList colonnes;
    QVector<QStringList> lignes;
    QString erreur;    // the loader's refusal ("" when read)
    QString remarques; // elements of the file that no column takes, "" when none
};

// Reads `chemin` (a file, or an archive whose members are read in turn) the way the model reads
// it. A model without a file road gives its refusal.
// `choisirFeuille` answers "Sélectionnez le classeur à importer" for a workbook whose data
// sheet is not found by name.
ApercuImport apercuImport(const QString &modele, const QString &chemin, bool entete,
                          Progression &progression,
                          const std::function<QString(const QStringList &)> &choisirFeuille = {});

} // namespace vyk
