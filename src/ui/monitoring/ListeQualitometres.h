#pragma once

#include "monitoring/ListeStationsQualite.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vyk {

class GrilleDonnees;

// The list of the stations the user may see: a text filter, the count shown / total, the
// user's column widths and sort column, commands after the rights. Opening a row (or "Nouveau")
// asks for the station card.
class ListeQualitometres : public QWidget
{
    Q_OBJECT
  public:
    explicit ListeQualitometres(QWidget *parent = nullptr);
    ~ListeQualitometres() override;

    // chargerListeQualitometres and the grid.
    void charger();
    void filtrer(const QString &texte);
    // Codes of the visible rows, in the order shown (the card's previous/next).
    QStringList codesVisibles() const;
    int nbLignesAffichees() const;
    QString texteCompte() const;
    GrilleDonnees *grille() const { return SprListe; }
    // Saves the column widths of the user (also done when the list closes).
    void enregistrerDisposition();

  signals:
    void ouvrirFiche(const QString &code); // "" for a new station

  private:
    void appliquerDisposition();
    void ouvrirCourante();

    ListeStations m_liste;
    QVector<int> m_affichees; // lines of m_liste shown, in the filled order
    QLineEdit *TxtFiltre;
    QComboBox *CboSelection;
    GrilleDonnees *SprListe;
    QLabel *LblCompte;
    QPushButton *CmdNouveau;
    QPushButton *CmdOuvrir;
    QPushButton *CmdActualiser;
    QPushButton *CmdFermer;
    bool m_dispositionLue = false;
};

} // namespace vyk
