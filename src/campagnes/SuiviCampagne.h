#pragma once

// The follow-up table of a campaign: station by station, what was analysed per wanted parameter,
// or month by month what was sampled, what laboratory requests were in force and which field
// visits were made.

#include "campagnes/Campagnes.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

namespace texteSuivi {
inline const QString TITRE = QStringLiteral("Calcul du suivi");
inline const QString DATES_ABSENTES =
    QStringLiteral("Merci de renseigner les dates de la campagne");
inline const QString FIN_AVANT_DEBUT =
    QStringLiteral("La date de fin de la campagne est antérieure à sa date de début.");
inline const QString ECHEC = QStringLiteral("Le suivi n'a pas pu être calculé : %1");
inline const QString TOURNEE_GESTION = QStringLiteral("Tournée de gestion uniquement");
} // namespace texteSuivi

enum class VueSuivi
{
    Analyses,
    Prelevements,
    Demandes,
    Interventions
};
// "Suivi des analyses", "Suivi des prélèvements", "Suivi des demandes Labo",
// "Suivi des interventions".
QString libelleVueSuivi(VueSuivi vue);
// "analyses", "prelevements", "demandes", "interventions" (the command line's names).
QString nomVueSuivi(VueSuivi vue);
bool vueSuiviDeNom(const QString &nom, VueSuivi &vue);

// How a cell compares with what the campaign wants (the screen colours it).
enum class EtatCellule : unsigned char
{
    Neutre,
    Complet, // every wanted parameter, or as many visits as planned
    Partiel, // some of them
    Manquant // planned and not done
};

struct TableSuivi
{
    QStringList titres;
    QVector<int> largeurs; // 0: hidden
    QVector<QStringList> lignes;
    QVector<QVector<EtatCellule>> etats; // per line, per column
    // Interventions view: the planned number of visits over the period, per line.
    QVector<int> toursPrevus;
    int premiereColonneDonnees = 0; // the first parameter or month column
};

// The columns "codeSite", "Identifiant", "Station", "Dernier Passage", "Interventions".
inline constexpr int COLONNES_FIXES_SUIVI = 5;

// The first days of the months from the start's month to the end's month, both included; empty
// when the end is before the start.
QVector<QDate> moisCampagne(const QDate &debut, const QDate &fin);

// The first reason the follow-up cannot be computed ("" when it can): missing or unreadable
// dates, an end before the start.
QString verifierPeriodeSuivi(const FicheCampagne &fiche);

// Computes the table of one view over the campaign's stations (in the given order) and
// parameters. On refusal or failure, erreur receives the message and the table is empty.
TableSuivi calculerSuivi(const Campagne &campagne, VueSuivi vue, bool tourneeGestionSeulement,
                         QString &erreur);

} // namespace vyk
