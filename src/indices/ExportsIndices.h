#pragma once

// The export of each index; creerExport gives the one of a description.

#include "indices/ExportIndice.h"

#include "db/Tableau.h"

#include <QHash>
#include <QMap>

#include <deque>

namespace vyk {

// The exports of the summed macroinvertebrate taxa: every operation's taxa read a few hundred
// operations per statement before the lines are written.
class ExportTaxonsSommes : public ExportIndice
{
  public:
    using ExportIndice::ExportIndice;

  protected:
    struct Lot
    {
        explicit Lot(Tableau t) : tableau(std::move(t)), colonnes(tableau) {}
        Tableau tableau;
        ColonnesSommes colonnes;
    };
    struct Lignes
    {
        const Lot *lot = nullptr;
        int debut = 0, fin = 0; // rows [debut, fin) of the operation
    };
    bool chargerOperations(const QString &table, const QStringList &operations) override;
    Lignes taxons(const OperationExportee &operation) const;

  private:
    std::deque<Lot> m_lots;
    QHash<double, Lignes> m_lignes;
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

// IBD: one line per diatom with its diatom code.
class ExportIBD : public ExportIndice
{
  public:
    using ExportIndice::ExportIndice;

  protected:
    QStringList entete() const override;
    bool ecrireOperation(const OperationExportee &operation) override;
};

// IBMR: one line per macrophyte and survey unit, with the unit's facies share.
class ExportIBMR : public ExportIndice
{
  public:
    using ExportIndice::ExportIndice;

  protected:
    QStringList entete() const override;
    bool ecrireOperation(const OperationExportee &operation) override;

  private:
    bool partsFacies(const OperationExportee &operation, QString &f1, QString &f2);
};

// The taxa of the floral list of an operation, with `colonnes` of the list and the taxa
// referential, limited to the taxa having `codeExterne` and to the selection when one is set.
QString requeteTaxonsFloristiques(const QString &table, const QString &operation,
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
