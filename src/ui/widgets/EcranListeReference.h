#pragma once

// The base of every reference-list screen: a tool bar with the common operations, a zone for
// the screen's filters, the grid, and a zone for the entry form. The screen's core model
// (referentials/ModeleListeReference.h) does the work and shows the messages; a screen only
// fills its form, reads it back and calls the model.

#include "ui/widgets/Ecran.h"

#include <QString>

#include <initializer_list>

class QAction;
class QLineEdit;
class QToolBar;
class QVBoxLayout;

namespace vyk {

class GrilleDonnees;
class ModeleListeReference;

class EcranListeReference : public Ecran
{
    Q_OBJECT
  public:
    // Labels of the tool bar's actions that differ from list to list.
    struct Libelles
    {
        QString inserer;     // "Saisir un nouveau code"
        QString supprimer;   // "Supprimer le code"
        QString enregistrer; // "Enregistrer la fiche"
        QString outils;      // "Importer un fichier de référentiel"; "" for none
    };

    GrilleDonnees *grille() const { return SprListe; }
    QToolBar *barreOutils() const { return m_barre; }
    // The list's own commands go to the second row, before the help, so that every caption
    // shows on a 1024-pixel screen; more rows below when one is not enough.
    void ajouterCommandes(const QList<QAction *> &commandes);
    QToolBar *nouvelleRangee();
    QAction *actionInserer() const { return m_inserer; }
    QAction *actionSupprimer() const { return m_supprimer; }
    QAction *actionEnregistrer() const { return m_enregistrer; }
    QAction *actionExcel() const { return m_excel; }
    QAction *actionOutils() const { return m_outils; }
    QLineEdit *champRecherche() const { return TxtRecherche; }

    // DeclencheExcel without the file dialog.
    bool exporterVers(const QString &chemin);

  public slots:
    virtual void declencheInserer() = 0;
    virtual void DeclencheSupprimer() = 0;
    virtual void declencheEnregistrer() = 0;
    // The grid to a file chosen by the user (CSV, opened by any spreadsheet).
    virtual void DeclencheExcel();
    // Selects the row of the code and shows it in the form; the model's message when absent.
    void RechercheElement(const QString &code);
    // Opens the screen's help page (aide/<page>.html beside the program).
    virtual void DeclencheAide();
    virtual void DeclencheOutils() {}

  protected:
    EcranListeReference(ModeleListeReference &modele, const Libelles &libelles,
                        QWidget *parent = nullptr);

    // RempliSpr: the model reads the table, the grid shows it; false when the query failed.
    bool RempliSpr();
    // Shows a grid row in the form (-1: nothing selected).
    virtual void afficherLigne(int ligne) = 0;

    // Changes to the lists are for administrators and reference editors: the screen's own
    // commands that change something are hidden from the others (the model refuses them too).
    static void reserverAuxEditeurs(std::initializer_list<QObject *> commandes);

    // Where screens put their filters (above the grid) and their form (below it).
    QVBoxLayout *zoneFiltres() const { return m_filtres; }
    QVBoxLayout *zoneFiche() const { return m_fiche; }

    GrilleDonnees *SprListe;
    QLineEdit *TxtRecherche;

  private:
    ModeleListeReference &m_modele;
    QToolBar *m_barre;
    QToolBar *m_barreSecondaire;
    QAction *m_avantAide;
    QAction *m_inserer;
    QAction *m_supprimer;
    QAction *m_enregistrer;
    QAction *m_excel;
    QAction *m_outils = nullptr;
    QVBoxLayout *m_filtres;
    QVBoxLayout *m_fiche;
};

} // namespace vyk
