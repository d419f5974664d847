#pragma once

#include "app/ParametrageConnexion.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace vyk {

class Application;

// The connection screen: a profile of databases.properties, a desktop database file or a
// server database. Every command is ParametrageConnexion's.
class FrmConnexion : public QDialog
{
    Q_OBJECT
  public:
    FrmConnexion(Application &application, QWidget *parent = nullptr);

    ParametrageConnexion &parametrage() { return m_parametrage; }

    // File dialogs (tests replace them): the start path in, the chosen path out ("" cancels).
    std::function<QString(const QString &depart)> dialogueFichierBases;
    std::function<QString(const QString &depart)> dialogueFichier;

    QComboBox *CboBases;
    QLabel *LblFichierBases;
    QToolButton *CmdSelectFichierBases;
    QLineEdit *TxtFichier;
    QToolButton *CmdDetailBasePiezo;
    QPushButton *CmdChangementBase;
    QComboBox *CboTypeServeur;
    QLineEdit *TxtServeur;
    QLineEdit *TxtPort;
    QLineEdit *TxtBase;
    QLineEdit *TxtUtilisateur;
    QLineEdit *TxtMotDePasse;
    QPushButton *CmdEnregistrer;
    QPushButton *CmdFermer;

  private:
    void afficher();
    void lireChamps();
    void remplirProfils();
    void selectionProfil(int index);

    Application &m_application;
    ParametrageConnexion m_parametrage;
};

} // namespace vyk
