#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vyk {

class Application;

// The login screen, first screen of the program: the database in use, the login and the way
// to another database.
class FrmIdentification : public QWidget
{
    Q_OBJECT
  public:
    explicit FrmIdentification(Application &application, QWidget *parent = nullptr);

    // Loading: settings, connection, last login; the automatic login when it is ticked and
    // allowed.
    void charger(bool connexionAutomatique = true);
    // Status, fields and commands after a (re)connection.
    void afficherEtat();
    // The login command; automatique: the last user logged in without asking, at loading.
    void connexion(bool automatique = false);

    QLineEdit *TxtLogin;
    QLineEdit *TxtMotDePasse;
    QCheckBox *ChkConnexionAutomatique;
    QPushButton *CmdConnexion;
    QPushButton *CmdBase;
    QPushButton *CmdQuitter;
    QLabel *LblVersion;
    QLabel *LblStatut;

  signals:
    void quitter();

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    Application &m_application;
};

} // namespace vyk
