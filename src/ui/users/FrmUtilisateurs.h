#pragma once

#include "users/GestionUtilisateurs.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace vyk {

// User administration: accounts, rights and stations granted one by one.
class FrmUtilisateurs : public QWidget
{
    Q_OBJECT
  public:
    explicit FrmUtilisateurs(QWidget *parent = nullptr);

    // Controls, named for the tests.
    QTableWidget *SprUtilisateurs = nullptr;
    QLineEdit *TxtLogin = nullptr;
    QLineEdit *TxtNom = nullptr;
    QLineEdit *TxtMotDePasse = nullptr;
    QLineEdit *TxtConfirmation = nullptr;
    QCheckBox *ChkAdministrateur = nullptr;
    QCheckBox *ChkReferentiels = nullptr;
    QComboBox *CboIntervenant = nullptr;
    QComboBox *CboContact = nullptr;
    QTreeWidget *SprHabilitations = nullptr;
    QListWidget *LstStations = nullptr;
    QLineEdit *TxtFiltreStations = nullptr;
    QListWidget *LstStationsDisponibles = nullptr;
    QPushButton *CmdAjouterStation = nullptr;
    QPushButton *CmdRetirerStation = nullptr;
    QPushButton *CmdNouveau = nullptr;
    QPushButton *CmdEnregistrer = nullptr;
    QPushButton *CmdSupprimer = nullptr;
    QPushButton *CmdFermer = nullptr;
    QLabel *LblEtat = nullptr;
    QLabel *LblAccesStations = nullptr;

    // The login shown ("" while a new user is being typed).
    QString loginCourant() const { return m_login; }
    bool selectionner(const QString &login);
    bool enregistrer();
    bool supprimer();
    void nouveau();
    bool ajouterStation();
    bool retirerStation();

  protected:
    // Unsaved changes are confirmed before the screen closes.
    void closeEvent(QCloseEvent *event) override;

  private:
    QWidget *construireCompte();
    QWidget *construireHabilitations();
    QWidget *construireStations();
    void chargerListe(const QString &aSelectionner);
    void afficher(const FicheUtilisateur &fiche);
    void chargerHabilitations(const QStringList &droits);
    QStringList habilitationsCochees() const;
    void chargerStations();
    void majAccesStations();
    void filtrerStations(const QString &filtre);
    void majEtat(const QString &texte);
    void majCommandes();
    void modifie();
    bool confirmerAbandon();

    GestionUtilisateurs m_gestion;
    QString m_login;
    bool m_modifie = false;
    bool m_chargement = false;
};

} // namespace vyk
