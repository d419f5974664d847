#include "ui/app/FenetrePrincipale.h"

#include "db/Session.h"
#include "ui/app/Application.h"
#include "ui/app/MenuFichier.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>

namespace vyk {

FenetrePrincipale::FenetrePrincipale(Application &application, QWidget *parent)
    : QMainWindow(parent), m_application(application)
{
    setObjectName(QStringLiteral("FenetrePrincipale"));
    setWindowTitle(caption());
    resize(1180, 760);
    m_zone = new QMdiArea(this);
    m_zone->setViewMode(QMdiArea::SubWindowView);
    m_zone->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_zone->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_zone);

    creerMenuFichier(*this);

    m_base = new QLabel(application.demarrage().libelleStatut(), this);
    m_base->setObjectName(QStringLiteral("LblBase"));
    m_utilisateur = new QLabel(session().login, this);
    m_utilisateur->setObjectName(QStringLiteral("LblUtilisateur"));
    statusBar()->addWidget(m_base, 1);
    statusBar()->addPermanentWidget(m_utilisateur);
}

QWidget *FenetrePrincipale::ouvrirEcran(QWidget *ecran)
{
    const QList<QMdiSubWindow *> fenetres = m_zone->subWindowList();
    for (QMdiSubWindow *f : fenetres) {
        if (f->widget() && !ecran->objectName().isEmpty() && f->widget()->objectName() == ecran->objectName()) {
            delete ecran;
            m_zone->setActiveSubWindow(f);
            f->showNormal();
            return f->widget();
        }
    }
    ecran->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow *fenetre = m_zone->addSubWindow(ecran);
    fenetre->setAttribute(Qt::WA_DeleteOnClose);
    fenetre->show();
    return ecran;
}

QList<QWidget *> FenetrePrincipale::ecrans() const
{
    QList<QWidget *> liste;
    for (QMdiSubWindow *f : m_zone->subWindowList())
        if (f->widget())
            liste << f->widget();
    return liste;
}

void FenetrePrincipale::fermerEcrans() { m_zone->closeAllSubWindows(); }

void FenetrePrincipale::closeEvent(QCloseEvent *event)
{
    if (!m_application.demarrage().demanderFermeture(windowTitle())) {
        event->ignore();
        return;
    }
    fermerEcrans();
    event->accept();
    emit fermee();
}

} // namespace vyk
