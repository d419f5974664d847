#pragma once

// What the hydrobiology workbooks write: the station (found by code, or created with its
// commune and water body found by name), the point of the support, the operation of the day, its
// index results and its taxa list.

#include "import/IntegrationAnalyses.h"
#include "monitoring/ListeTaxonsOperation.h"

#include <QDate>
#include <QSet>
#include <QString>
#include <QVector>

#include <optional>

namespace vyk {

// A station as a sending sheet describes it; empty texts for what it does not give.
struct StationClasseur
{
    QString code; // CodeBSS
    QString nom;
    QString coursEau;
    QString codeInsee;
    QString commune;
    QString masseEau;
    std::optional<double> x, y, z;
    int projection = 26; // Lambert 93
};

struct ResultatIndice
{
    int parametre = 0;
    std::optional<double> valeur;
    int unite = -1; // -1: none
};

// The operation's fields taken from the settings when the sheet leaves them out.
struct DefautsOperation
{
    QString qualification, statut, determinateur, producteur, preleveur, protocole,
        contactPreleveur, contactDeterminateur, accreditation, saisonnalite, support,
        modeConservation;
    static DefautsOperation lire();
};

class EcritureHydrobio
{
  public:
    EcritureHydrobio(const OptionsIntegration &options, BilanAnalyses &bilan);

    // The station of that code, created when missing; purged once per run in replace mode.
    // -1 with the reason.
    qint64 station(const StationClasseur &s, QString &raison);
    // The operation of the station's point `identifiant` ("101", "131", "271") on that date,
    // created when missing (support biologique `support`); -1 with the reason.
    qint64 operation(qint64 station, const QString &identifiant, int support, const QDate &date,
                     QString &raison);
    // Removes the operation's results of `effaces`, then writes `resultats` (a result of the same
    // parameter already stored is rewritten, otherwise the next indice is taken).
    bool ecrireResultats(qint64 station, qint64 operation, const QVector<int> &effaces,
                         const QVector<ResultatIndice> &resultats, QString &raison);
    // The operation's taxa list 1, replaced by `lignes`.
    bool ecrireListe(qint64 station, qint64 operation, const QVector<LigneTaxonListe> &lignes,
                     QString &raison);

    const DefautsOperation &defauts() const { return m_defauts; }

  private:
    bool decrireStation(qint64 code, const StationClasseur &s);
    bool ecrireLocalisation(qint64 code, const StationClasseur &s);

    const OptionsIntegration &m_options;
    BilanAnalyses &m_bilan;
    DefautsOperation m_defauts;
    QSet<qint64> m_purgees;
    QSet<qint64> m_vues;
};

} // namespace vyk
