#pragma once

#include "carto/ListesExport.h"
#include "ui/widgets/Ecran.h"

#include <QVector>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace vyk {

// The map export: named export lists (their options, their stations in order, their taxa and
// parameters), saved, deleted and exported to a KML file and web pages in a folder.
class FrmExportKMLQualite : public Ecran
{
    Q_OBJECT
  public:
    explicit FrmExportKMLQualite(QWidget *parent = nullptr);

    void chargerListes();
    // Shows a saved list (-1: a new, empty one).
    void afficherListe(qint64 code);
    // The list as the screen shows it.
    ListeExportQualite listeAffichee() const;
    bool enregistrer();
    void supprimer();
    // Adds stations by their public codes (or numbers) separated by commas or blanks.
    void ajouterStations(const QString &codes);
    void ajouterElement(GenreElementExport genre, const QString &code, const QString &unite);
    // Checks, writes the files into the folder field and shows the end message.
    bool exporter();

  private:
    void construireFormulaire(QWidget *formulaire);
    void afficherStations();
    void afficherElements();
    void deplacerStation(int sens);

    qint64 m_code = -1;
    QVector<StationExport> m_stations;
    QVector<ElementExport> m_elements;
    QVector<QWidget *> m_champs; // one per field of champsListeExport()

    QListWidget *LstListes;
    QPushButton *CmdNouvelle;
    QPushButton *CmdSupprimer;
    QTableWidget *SprStations;
    QLineEdit *TxtStations;
    QPushButton *CmdAjouterStations;
    QPushButton *CmdRetirerStation;
    QPushButton *CmdMonter;
    QPushButton *CmdDescendre;
    QTableWidget *SprElements;
    QComboBox *CboGenre;
    QLineEdit *TxtCodeElement;
    QLineEdit *TxtUnite;
    QPushButton *CmdAjouterElement;
    QPushButton *CmdRetirerElement;
    QLineEdit *TxtDossier;
    QPushButton *CmdParcourir;
    QPushButton *CmdEnregistrer;
    QPushButton *CmdExporter;
};

} // namespace vyk
