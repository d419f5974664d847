#pragma once

// The physico-chemical follow-up table of a station: dates as columns, parameters as rows.
// A double click on a column opens its sample's card.

#include "monitoring/SuiviPhysicoChimique.h"

#include "ui/widgets/Ecran.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace vyk {

class ComboCodee;
class ModeleSuivi;

class SuiviPhysicoChmique : public Ecran
{
    Q_OBJECT
  public:
    // codeQualitometre: the station shown at opening ("" for the first one).
    explicit SuiviPhysicoChmique(const QString &codeQualitometre = {}, QWidget *parent = nullptr);

    const TableauSuivi &tableau() const;

    ComboCodee *CboStation;
    QLineEdit *TxtDateDebut;
    QLineEdit *TxtDateFin;
    ComboCodee *CboProducteur;
    ComboCodee *CboSupport;
    ComboCodee *CboStatut;
    ComboCodee *CboQualification;
    QCheckBox *ChkQuantification;
    QCheckBox *ChkInverse;
    // The threshold set the results are coloured by ("" for none).
    ComboCodee *CboSeuil;
    QPushButton *CmdActualiser;
    QPushButton *CmdNouveauPrelevement;
    // Every sample of the station, with or without analyses, and the command that opens one.
    ComboCodee *CboPrelevements;
    QPushButton *CmdOuvrirPrelevement;
    // The chart of the parameters of the selected rows (the current row's when none).
    QPushButton *CmdGraphique;
    QTableView *SprSuivi;
    QLabel *LblInformation;

  signals:
    // A sample card to show (the main window opens it).
    void ouvrirPrelevement(QWidget *fiche);
    // A chart window to show (the main window opens it).
    void ouvrirGraphique(QWidget *ecran);

  public slots:
    // Reads the table of the chosen station again.
    void actualiser();
    // The card of the sample of a column; a new sample when colonne is -1.
    QWidget *ouvrirFiche(int colonne);
    // The card of a sample of the station by its number ("" for a new one).
    QWidget *ouvrirPrelevementNumero(const QString &numero);
    // The chart window of the selected parameters over the period; nullptr when no row is
    // chosen.
    QWidget *graphique();

  private:
    // The card of a sample of the station ("" for a new one, attached to codeOperation).
    QWidget *ouvrirPrelevementStation(const QString &station, const QString &numero,
                                      const QString &codeOperation = {});

    ModeleSuivi *m_modele;
};

} // namespace vyk
