#pragma once

// The detailed results of a search, grouped by station, sample, water body, HER or catchment:
// per group and element the searches, detections, the highest class (in its colour) and the
// minimum, mean and maximum.

#include "search/RechercheVues.h"

#include "ui/widgets/Ecran.h"

#include <memory>

class QPushButton;
class QTableView;

namespace vyk {

class ModeleTexteRecherche;

class FrmRechercheDetaillee : public Ecran
{
    Q_OBJECT
  public:
    FrmRechercheDetaillee(std::shared_ptr<const ResultatRecherche> resultat,
                          Regroupement regroupement, QWidget *parent = nullptr);

    const ModeleTexteRecherche &modele() const { return *m_modele; }

    QTableView *SprDetail;
    QPushButton *CmdExporter;

  public slots:
    // Writes the grid to this file (asked for when empty).
    void exporter(const QString &chemin = {});

  private:
    ModeleTexteRecherche *m_modele;
};

} // namespace vyk
