#pragma once

// Version check and upgrade of the shared schema, run after every login.

#include "db/Progression.h"

#include <QString>

namespace vyk {

// Reads the version row of PARAMETRES (one query). When its text is the given version, nothing
// else is sent. Otherwise runs the whole upgrade inside a batch, reporting to the progression,
// and writes the version row last. True when the schema is current on return; false when the
// database is not open, the upgrade was cancelled, or the version row could not be written (the
// next check then runs the upgrade again, which completes what was left). moisDebutHydro: the
// first month of the hydrological year the calendar seed uses (the program passes its setting,
// app/Options.h moisHydrologique()).
bool verifierVersionBase(const QString &version);
bool verifierVersionBase(const QString &version, Progression &progression, int moisDebutHydro = 9);

// The whole upgrade, whatever the version row says. Every step can run any number of times.
bool mettreAJourBase(const QString &version, Progression &progression = progressionNulle(),
                     int moisDebutHydro = 9);

// Why the last upgrade run of this process did not bring the schema up to date ("" after a
// success): cancelled, a migration or rebuild left to the next run, or the version row.
QString raisonEchecMiseAJour();

// The text of the version row; "" when there is none.
QString versionBase();

// Rows of PARAMETRES that record one-time migrations.
inline const QString MARQUEUR_FRACTION = QStringLiteral("MODIFY_FRACTION");
inline const QString MARQUEUR_PROFONDEURS = QStringLiteral("MODIFY_ANALYSES_PROF");
inline const QString MODULE_INDEX_QUALITO = QStringLiteral("INDEX_QUALITO");

// Roles of LIEN_QUALITO_INTERVENANTS.TypeIntervenant shown by the station list (views
// LIEN_QUALITOMETRE_GESTIONNAIRE and LIEN_QUALITOMETRE_AGENCE).
inline constexpr int TYPE_INTERVENANT_GESTIONNAIRE = 1;
inline constexpr int TYPE_INTERVENANT_AGENCE = 2;

} // namespace vyk
