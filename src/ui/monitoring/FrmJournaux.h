#pragma once

#include "monitoring/EvenementsQualito.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace vyk {

// The list of field events of chosen stations: stations ticked in a list, a period, the kinds
// of tour, events for charts or for the national bank only, a contact; the grid can be exported.
class FrmJournaux : public QWidget
{
    Q_OBJECT
  public:
    explicit FrmJournaux(QWidget *parent = nullptr);

    // Fills the station list and the contact filter from the database.
    void chargerListes();
    // "Chargement des événements": checks the choices and fills the grid.
    void chargerEvenements();
    // Writes the grid to the file; the export command asks for the file first.
    bool exporter(const QString &chemin);

    CriteresEvenements criteres() const;
    int nbEvenements() const;

  private:
    void filtrerStations(const QString &texte);
    void cocherStations(bool cocher);
    void demanderExport();

    QLineEdit *TxtFiltre;
    QTableWidget *SprStations;
    QPushButton *CmdToutes;
    QPushButton *CmdAucune;
    QLineEdit *TxtDateDebut;
    QLineEdit *TxtDateFin;
    QCheckBox *ChkGestion;
    QCheckBox *ChkMaintenance;
    QCheckBox *ChkAutre;
    QCheckBox *ChkGraphique;
    QCheckBox *ChkExportBanque;
    QComboBox *CboContact;
    QPushButton *CmdCharger;
    QPushButton *CmdExporter;
    QPushButton *CmdFermer;
    QTableWidget *SprEvenements;
    QLabel *LblNombre;
};

} // namespace vyk
