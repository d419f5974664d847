#pragma once

// The follow-up table as a model over its lines (one object for the whole grid, no item per
// cell): "Paramètre", "Unité", then one column per sample.

#include "monitoring/SuiviPhysicoChimique.h"

#include <QAbstractTableModel>

namespace vyk {

class ModeleSuivi : public QAbstractTableModel
{
  public:
    using QAbstractTableModel::QAbstractTableModel;

    // Takes the table (the previous one goes).
    void remplir(TableauSuivi tableau);
    const TableauSuivi &tableau() const { return m_tableau; }

    // What the grid shows in a cell: "Ammonium [1335]", "(calculé)" after a computed parameter,
    // the unit's symbol or else its code, the results.
    QString texte(int ligne, int colonne) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    TableauSuivi m_tableau;
};

} // namespace vyk
