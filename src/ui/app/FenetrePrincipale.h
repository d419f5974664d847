#pragma once

#include <QMainWindow>

class QLabel;
class QMdiArea;

namespace vyk {

class Application;

// The frame window whose menus reach every screen. Each menu is built by its own file
// (MenuFichier.cpp, ...) so that the window does not grow with the screens.
class FenetrePrincipale : public QMainWindow
{
    Q_OBJECT
  public:
    explicit FenetrePrincipale(Application &application, QWidget *parent = nullptr);

    Application &application() { return m_application; }

    // Shows a screen inside the frame; a screen of the same key already open is brought
    // forward instead (and the new one dropped). The key of a card is its record's
    // (Fiche::cleFenetre; a card of an unsaved record is never shared), of another screen its
    // object name.
    QWidget *ouvrirEcran(QWidget *ecran);
    // The open screen of this key, brought forward; nullptr when there is none.
    QWidget *amenerEcran(const QString &cle);
    // The open screens of the frame.
    QList<QWidget *> ecrans() const;
    // Closes every screen of the frame (change of database); false when a card with unsaved
    // edits stayed open at its user's choice.
    bool fermerEcrans();

    static QString caption() { return QStringLiteral("VYK"); }
    // "name (login)" of the logged-in user, the login alone when there is no name.
    static QString nomUtilisateur();
    // The title: the program, the database and the user.
    static QString titre(const QString &base);

    QMdiArea *zone() const { return m_zone; }

  signals:
    // The window closed; the application decides what follows.
    void fermee();

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    Application &m_application;
    QMdiArea *m_zone;
    QLabel *m_base;
    QLabel *m_utilisateur;
};

} // namespace vyk
