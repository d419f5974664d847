#pragma once

// The save dialog of the grid exports: a separated text, an Excel workbook or an OpenDocument
// one; the filter chosen gives the file its extension.

#include <QString>

class QWidget;

namespace vyk {

// The file named in the dialog, with the extension of the filter chosen when the name carries
// none of the three (or still the .csv first offered while another filter was chosen).
QString cheminSelonFiltre(const QString &chemin, const QString &filtre);
// "" when the user cancels.
QString demanderCheminExport(QWidget *parent, const QString &titre, const QString &sansExtension);
// The workbook or ";" text file to read; "" when the user cancels.
QString demanderClasseurOuTexte(QWidget *parent, const QString &titre);

} // namespace vyk
