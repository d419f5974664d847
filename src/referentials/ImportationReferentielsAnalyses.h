#pragma once

// Importers of the analysis referentials (parameters, units, methods, fractions, supports) from
// the national referential's XML files and from ";"-separated CSV files, so that users keep
// them current. Reading is apart from writing: the screen shows what was read before it is
// integrated.

#include "referentials/ReferentielsAnalyses.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

class Progression;

// One row read: texts by column of the referential's table (Code always present).
using LigneReferentiel = QHash<QString, QString>;

struct FichierReferentielAnalyses
{
    Referentiel referentiel = Referentiel::Parametre;
    QString chemin;
    QVector<LigneReferentiel> lignes;
};

// XML: elements are found by name wherever they stand, without regard to case or namespace
// prefix: the element holding the code (CdParametre, CdUniteReference, CdMethode,
// CdFractionAnalysee, CdSupport, or Code... instead of Cd...) is the entry, and its name, label,
// status, dates ... are read beside it (see README). CSV (".csv", ".txt"): ";"-separated, the
// first line names the columns, by the table's column names or the list's headers. False, with a
// French message, when the file cannot be read or holds no entry.
bool lireReferentielAnalyses(const QString &chemin, Referentiel referentiel,
                             FichierReferentielAnalyses &fichier, QString &erreur);

// The columns read from a file, in the list's order (the preview grid).
QStringList colonnesLues(const FichierReferentielAnalyses &fichier);

struct BilanReferentielAnalyses
{
    int ajoutes = 0;
    int modifies = 0;
    int rejetes = 0;
    QStringList erreurs; // one line per rejected row
    bool annule = false;
    QString echec; // the batch could not be written: nothing was kept (French reason)
};

// Writes the rows in a batch: a new code is added, a stored one gets the file's non-empty
// fields. Statuses are stored as their number, dates as dates. Journaled as "Intégration du
// référentiel" with the table.
BilanReferentielAnalyses integrerReferentielAnalyses(const FichierReferentielAnalyses &fichier,
                                                     Progression &progression);

} // namespace vyk
