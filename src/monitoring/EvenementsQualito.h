#pragma once

// The field events of stations (EVENEMENTS_QUALITO) as the event list screen shows them: the
// choices of the user, the query, the grid's texts and its export.

#include "db/Progression.h"
#include "db/Tableau.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace vyk {

struct CriteresEvenements
{
    QStringList stations; // CodeQualitometre values, in the order they were picked
    QString dateDebut;    // DD/MM/YYYY, "" for no bound
    QString dateFin;
    // Kinds of tour; none ticked means every kind.
    bool tourneeGestion = false;     // type 'G'
    bool tourneeMaintenance = false; // type 'M'
    bool tourneeAutre = false;       // no type
    bool graphiqueSeulement = false;
    bool exportBanqueSeulement = false;
    QString contact; // CodeContact, "" for every contact
};

// An entry of a choice list: shown as libelle + " [" + code + "]".
struct ChoixListe
{
    QString libelle;
    QString code;
    QString texte() const { return libelle + QStringLiteral(" [") + code + u']'; }
};

// A station to pick: its key, code BSS and name.
struct StationEvenements
{
    QString code;
    QString codeBSS;
    QString nom;
};

class EvenementsQualito
{
  public:
    // Texts of the screen, in one place.
    static const QString MESSAGE_AUCUNE_STATION;
    static const QString MESSAGE_DATE_DEBUT;
    static const QString MESSAGE_DATE_FIN;
    static const QString MESSAGE_PERIODE;
    static const QString MESSAGE_RIEN_A_EXPORTER;
    static const QString MESSAGE_EXPORT_TERMINE; // %1: the file
    static const QString NOM_EXPORT; // file name offered for the export, without extension
    static const QString TOUS_LES_CONTACTS;
    static const QString MESSAGE_DROIT; // the user lacks the journals right

    // The events are for users holding the journals right (an unattended run may).
    static bool estAutorise();

    // Column titles of the grid.
    static const QStringList &titresColonnes();
    // The message to show when the user lacks the right or the choices cannot be used; "" when
    // the events can be read.
    static QString verifier(const CriteresEvenements &criteres);
    // The query for some of the chosen stations, rows station by station in the order given,
    // newest first. avecNC: the events table has an NC column (older databases).
    static QString requete(const CriteresEvenements &criteres, const QStringList &stations,
                           bool avecNC);

    // Reads the events of every chosen station the user may see (several stations per query);
    // nothing, and shows nothing, without the journals right. A query that fails
    // leaves its stations out; they are listed by stationsEnEchec().
    Tableau charger(const CriteresEvenements &criteres,
                    Progression &progression = progressionNulle());
    const QStringList &stationsEnEchec() const { return m_echecs; }

    // The texts of one grid line: dates DD/MM/YYYY, times hh:mm, the kind of tour and the
    // flags in words.
    static QStringList texteLigne(const Tableau &evenements, int ligne);

    // Stations to pick (code BSS and name; a restricted user's own only) and contacts that have
    // events.
    static QVector<StationEvenements> stations();
    static QVector<ChoixListe> contacts();

    // Writes the grid as a spreadsheet-ready CSV file (";" separated, UTF-8 with its mark).
    static bool exporter(const QStringList &titres, const QVector<QStringList> &lignes,
                         const QString &chemin, QString *erreur = nullptr);

  private:
    QStringList m_echecs;
};

} // namespace vyk
