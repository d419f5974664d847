#pragma once

#include "app/Demarrage.h"
#include "users/Authentification.h"

#include <QObject>
#include <QPointer>

#include <memory>

namespace vyk {

class FenetrePrincipale;
class FrmConnexion;
class FrmIdentification;

// The windows of the run: the login screen first, then the main window, and back to the login
// screen when the database or the user changes. The decisions are Demarrage's.
class Application : public QObject
{
    Q_OBJECT
  public:
    Application();
    ~Application() override;

    Demarrage &demarrage() { return m_demarrage; }
    // Result of the last authentication (the login screen empties its password field after a
    // wrong password).
    ResultatLogin dernierLogin() const { return m_dernierLogin; }

    // Shows the login screen and connects to the database of the settings. The automatic
    // login runs only at the start of the program, not when the login screen comes back.
    void demarrer(bool connexionAutomatique = true);
    FrmIdentification *ecranIdentification() const { return m_identification.get(); }
    FenetrePrincipale *fenetrePrincipale() const;

    // After a successful login.
    void ouvrirFenetrePrincipale();
    // The connection screen, over the given window (not modal-blocking).
    FrmConnexion *ouvrirConnexion(QWidget *parent);
    // changementBase of the connection screen: reconnection on the login screen when it is up,
    // otherwise the main window closes and the login screen comes back.
    bool changementBase(FrmConnexion *ecran);
    // Before a change of database: the main window's screens close (each may ask to save).
    // False when one stays open; the change is then given up.
    bool libererEcrans();

  signals:
    // The program ends (the main window closed without a change, or the login screen quit).
    void fin();

  private:
    void fenetreFermee();
    void importAutomatique();

    Demarrage m_demarrage;
    ResultatLogin m_dernierLogin = ResultatLogin::BaseFermee;
    std::unique_ptr<FrmIdentification> m_identification;
    QPointer<FenetrePrincipale> m_fenetre;
    bool m_importAutomatiqueFait = false;
};

} // namespace vyk
