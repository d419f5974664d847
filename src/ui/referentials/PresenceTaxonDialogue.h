#pragma once

// Where a taxon was found: the stations holding it, and a map of those that have a WGS84
// position.

#include "referentials/PresenceTaxon.h"

#include <QDialog>

namespace vyk {

class GrilleDonnees;

class PresenceTaxonDialogue : public QDialog
{
    Q_OBJECT
  public:
    PresenceTaxonDialogue(const QString &taxon, const QVector<StationPresence> &stations,
                          QWidget *parent = nullptr);

  private:
    GrilleDonnees *SprStations;
    QWidget *Carte;
};

} // namespace vyk
