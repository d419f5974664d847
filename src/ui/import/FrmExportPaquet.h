#pragma once

// Export of an exchange package: the stations to hand over, ticked in the list of the stations
// the user may see, and the .vyk file to write.

#include "ui/widgets/Ecran.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vyk {

class FrmExportPaquet : public Ecran
{
    Q_OBJECT
  public:
    explicit FrmExportPaquet(QWidget *parent = nullptr);

    // Ticks the stations of these public codes (the others are unticked).
    void cocher(const QStringList &codesBSS);
    // The public codes ticked, in the list's order.
    QStringList stationsCochees() const;
    // Writes the package of the ticked stations into the file field; false with the reason shown.
    bool exporter();

    QLineEdit *TxtFiltre;
    QListWidget *SprStations;
    QLineEdit *TxtFichier;
    QPushButton *CmdParcourir;
    QPushButton *CmdExporter;
    QLabel *LblInformation;
};

} // namespace vyk
