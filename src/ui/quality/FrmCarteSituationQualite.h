#pragma once

// The quality situation map: the stations, what to compute (support, parameter, statistic,
// date, period), the threshold set, the reference year; the computed grid coloured by class,
// its legend and its export.

#include "quality/CarteSituation.h"

#include "ui/widgets/Ecran.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace vyk {

class ComboCodee;

class FrmCarteSituationQualite : public Ecran
{
    Q_OBJECT
  public:
    explicit FrmCarteSituationQualite(QWidget *parent = nullptr);

    // What the controls ask for.
    ParametresCarte parametres() const;
    const ResultatCarte &resultat() const { return m_resultat; }

    QListWidget *LstStations;
    ComboCodee *CboSupports;
    QLineEdit *TxtParametre;
    QLineEdit *TxtUnite;
    QButtonGroup *OptRegroupement;
    QLineEdit *TxtDateCalcul;
    QLineEdit *TxtPeriode;
    QLineEdit *TxtAgeLimite;
    ComboCodee *CboStatut;
    ComboCodee *CboQualification;
    ComboCodee *CboSeuil;
    QLineEdit *TxtAnneeReference;
    QLineEdit *TxtMarge;
    QPushButton *CmdCalculer;
    QPushButton *CmdExporter;
    QTableWidget *SprCarte;
    QLabel *LblLegende;

  public slots:
    void calculer();
    // Writes the grid to this file (asked for when empty).
    void exporter(const QString &chemin = {});

  private:
    void majSeuils();
    void afficher();

    ResultatCarte m_resultat;
};

} // namespace vyk
