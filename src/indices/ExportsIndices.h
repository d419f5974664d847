#pragma once

// The export of each index; creerExport gives the one of a description.

#include "indices/ExportIndice.h"

#include "db/Tableau.h"

#include <QHash>
#include <QMap>

#include <deque>
#include <functional>
#include <map>
#include <optional>

namespace vyk {

// The rows of every exported operation, read a few hundred operations per statement (some
// servers cap the length of an IN list) and found by operation code, each operation's rows in
// the order read.
class LignesOperations
{
  public:
    struct Plage
    {
        const Tableau *tableau = nullptr;
        QVector<int> lignes; // the operation's rows of tableau
    };
    // requete(codes) is the statement of a batch of operations; extraire runs it. False as soon
    // as a read fails.
    bool lire(const QStringList &operations,
              const std::function<QString(const QStringList &)> &requete,
              const std::function<bool(const QString &, Tableau &)> &extraire);
    // The rows of an operation (none when it has none).
    Plage lignes(const QString &operation) const;

  private:
    std::deque<Tableau> m_lots;
    QHash<double, Plage> m_plages;
};

// The counts of a taxon and remark in an operation's faunal list: a phase's total when given,
// else the sum of its four micro-samples.
struct SommeTaxon
{
    QString taxon, remarque; // remarque "" when none
    double phases[3] = {};   // A, B, C
};

// The exports of the summed macroinvertebrate taxa: every operation's faunal list read before
// the lines are written, summed per taxon and remark; with a selection, every taxon of it for
// each operation (0 when not counted).
class ExportTaxonsSommes : public ExportIndice
{
  public:
    using ExportIndice::ExportIndice;

  protected:
    bool chargerOperations(qint64 station, const QString &table,
                           const QStringList &operations) override;
    // The sums of an operation, by taxon code then remark.
    QVector<SommeTaxon> taxons(const OperationExportee &operation) const;

  public:
    // A taxon and remark's counts so far.
    struct Cumul
    {
        double totaux[3] = {}, echantillons[3] = {};
        bool totalDonne[3] = {};
        void ajouter(const Ligne &ligne, const int colonnesTotaux[3],
                     const int colonnesEchantillons[3]);
    };

  private:
    // Per operation, per taxon and remark.
    QHash<double, std::map<std::pair<QString, QString>, Cumul>> m_cumuls;
    std::optional<QStringList> m_selection; // its taxa in code order, when one is set
};

// I2M2 and IBG-DCE: one line per taxon and phase A, B, C.
class ExportMacroinvertebres : public ExportTaxonsSommes
{
  public:
    using ExportTaxonsSommes::ExportTaxonsSommes;

  protected:
    QStringList entete() const override;
    bool preparer(qint64 station) override;
    bool ecrireOperation(const OperationExportee &operation) override;

  private:
    QString m_type; // the station's national type label, in the I2M2 frame
};

// The macroinvertebrate diagnostic tool: two lines per operation (phases A and B, then phase
// C), one column per taxon met in any exported operation; written once every operation is read.
class ExportDiagnostic : public ExportTaxonsSommes
{
  public:
    using ExportTaxonsSommes::ExportTaxonsSommes;

  protected:
    QStringList entete() const override { return {}; }
    bool ecrireOperation(const OperationExportee &operation) override;
    void terminerListe() override;

  private:
    struct Comptes
    {
        QString identifiant; // station_YYYYMMDD
        QMap<QString, double> phasesAB, phaseC;
    };
    QList<Comptes> m_operations;
};

// The floral exports: every operation's floral list read before the lines are written.
class ExportFloristique : public ExportIndice
{
  public:
    using ExportIndice::ExportIndice;

  protected:
    bool chargerOperations(qint64 station, const QString &table,
                           const QStringList &operations) override;
    // The operation's taxa having the index's external code, by taxon code; an error named
    // when it has none.
    LignesOperations::Plage taxons(const OperationExportee &operation);
    // Columns of the list read with each taxon.
    virtual QString colonnesListe() const = 0;
    virtual QString codeExterne() const = 0;

  private:
    LignesOperations m_taxons;
};

// IBD: one line per diatom with its diatom code.
class ExportIBD : public ExportFloristique
{
  public:
    using ExportFloristique::ExportFloristique;

  protected:
    QStringList entete() const override;
    bool ecrireOperation(const OperationExportee &operation) override;
    QString colonnesListe() const override { return QStringLiteral("L.denombrementA"); }
    QString codeExterne() const override { return QStringLiteral("codeOmnidia"); }
};

// IBMR: one line per macrophyte and survey unit, with the unit's facies share.
class ExportIBMR : public ExportFloristique
{
  public:
    using ExportFloristique::ExportFloristique;

  protected:
    QStringList entete() const override;
    bool chargerOperations(qint64 station, const QString &table,
                           const QStringList &operations) override;
    bool ecrireOperation(const OperationExportee &operation) override;
    QString colonnesListe() const override
    {
        return QStringLiteral("L.pourcentageA, L.pourcentageB");
    }
    QString codeExterne() const override { return QStringLiteral("codeMacrophyte"); }

  private:
    LignesOperations m_unites;
};

// The taxa of the floral lists of the operations, with `colonnes` of the list and the taxa
// referential, limited to the taxa having `codeExterne` and to the selection when one is set;
// by operation then taxon code.
QString requeteTaxonsFloristiques(const QString &table, const QStringList &operations,
                                  const QString &colonnes, const QString &codeExterne,
                                  const QString &selection);

} // namespace vyk

namespace vyk {

// HYPE, the groundwater trends: the station's analyses (of the selection's parameters when one
// is set) and its water levels, "|"-separated.
class ExportHype : public ExportIndice
{
  public:
    using ExportIndice::ExportIndice;
    bool ecritTrameListe(Progression &progression) override;
    // The water levels of the groundwater point of the same public code, when its level table
    // exists.
    bool ecritTramePiezo();

  protected:
    QStringList entete() const override;
    bool ecrireOperation(const OperationExportee &) override { return true; }

  private:
    QString conditionDates(const QString &colonne) const;
    QString m_x, m_y;
};

} // namespace vyk
