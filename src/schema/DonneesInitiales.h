#pragma once

// Reference rows written by the upgrade: coded-list entries, purposes, state kinds, threshold
// lists with the default thresholds, job station types, sibling-module data settings and the
// calendar of periods. Every seed is guarded: a second run adds nothing, and an entry a user
// changed keeps the user's text (entry 1 of 'SEUILS' excepted, relabelled on every run).
// A seed whose table is missing is skipped; the seeds never stop the upgrade.

#include "db/BaseDonnees.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <span>

namespace vyk {

class MiseAJour;

// An import model: its code (what jobs and settings store) and the label shown; nullptr for a
// model reached by its code only.
struct FormatDonnees
{
    const char *code;
    const char *nom;
};
std::span<const FormatDonnees> formatsDonnees();

// One entry of a seeded coded list.
struct EntreeInitiale
{
    int code;
    const char *libelle;
    const char *commentaire = nullptr;
};

// A coded list seeded in full. parEntree: each missing (key, code) is added; otherwise the list
// is seeded only when its key has no row at all, so that entries a user deleted stay deleted.
struct ListeInitiale
{
    const char *champ;
    std::span<const EntreeInitiale> entrees;
    bool parEntree = false;
};

std::span<const ListeInitiale> listesInitiales();

// The seeds, each on its own (the upgrade calls them all through ecrireDonneesInitiales).
// Coded lists written in full, 'SEUILS' relabelled, the 'ETATS.VALEURS' scale replaced when it
// is the old one; the number of entries added. A seed whose batch could not be written (the
// file held by another program) keeps nothing and gives -1: base.derniereErreur() says why.
int semerListesCodees(BaseDonnees &base = bd());
int semerReferentielsListes(BaseDonnees &base = bd());
int semerFinalites(BaseDonnees &base = bd());
int semerEtats(BaseDonnees &base = bd());
// Default thresholds, when the list 1 of type '0' has none.
int semerSeuils(BaseDonnees &base = bd());
int semerTypesStation(BaseDonnees &base = bd());
int semerParametrageData(BaseDonnees &base = bd());
// The import models as data formats of jobs (FORMAT_DONNEES): each missing code is added, a row
// without label given the model's (a label an administrator wrote is kept).
int semerFormatsDonnees(BaseDonnees &base = bd());
// The 366 days of a leap year, rebuilt only when the table does not hold exactly them, with the
// hydrological year starting in moisDebutHydro (the setting MoisDebutAnneeHydro, read by
// moisHydrologique() of app/Options.h).
int semerPeriodes(BaseDonnees &base = bd(), int moisDebutHydro = 9);

// Every seed above, in order; the number of rows added or rewritten, -1 at the first seed not
// written (the seeds after it are not run).
int ecrireDonneesInitiales(BaseDonnees &base = bd(), int moisDebutHydro = 9);
// The upgrade step of the seed rows: the same, stopping between seeds when the run is
// cancelled. The step then marks active the parameters and units that have thresholds.
void ecrireDonneesInitiales(MiseAJour &miseAJour);

// Recomputes the Hydro columns of PERIODES for a hydrological year starting in that month
// (1 to 12): "01/01/" before it, "01/02/" from it on. The options screen calls it when the
// setting MoisDebutAnneeHydro changes. False when the month is not 1 to 12 or a statement
// failed.
bool recalculerPeriodesHydro(int moisDebut, BaseDonnees &base = bd());

// The rows of PERIODES for a hydrological year starting in that month: Jour, Jour_inverse,
// Decade, Decade_inverse, Mois, Mois_inverse, Trimestre, Trimestre_inverse, Annee,
// Annee_inverse, Hydro, Hydro_inverse.
QStringList colonnesPeriodes();
QVector<QStringList> lignesPeriodes(int moisDebutHydro = 9);

} // namespace vyk
