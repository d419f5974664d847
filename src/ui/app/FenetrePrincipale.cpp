#include "ui/app/FenetrePrincipale.h"

#include "db/Session.h"
#include "ui/app/Application.h"
#include "ui/app/MenuCartographie.h"
#include "ui/app/MenuFenetre.h"
#include "ui/app/MenuFichier.h"
#include "ui/app/MenuQualite.h"
#include "ui/app/MenuReferentiels.h"
#include "ui/app/MenuStations.h"
#include "ui/widgets/Fiche.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStatusBar>

#include <algorithm>

namespace vyk {

FenetrePrincipale::FenetrePrincipale(Application &application, QWidget *parent)
    : QMainWindow(parent), m_application(application)
{
    setObjectName(QStringLiteral("FenetrePrincipale"));
    setWindowTitle(titre(application.demarrage().libelleStatut()));
    // Most of the screen: the reference lists' tool bars and the cards want the width.
    const QSize ecranDisponible = screen()->availableGeometry().size();
    resize(QSize(1180, 760).expandedTo(ecranDisponible * 0.92).boundedTo(ecranDisponible));
    m_zone = new QMdiArea(this);
    m_zone->setViewMode(QMdiArea::SubWindowView);
    m_zone->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_zone->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_zone);

    creerMenuFichier(*this);
    creerMenuStations(*this);
    creerMenuReferentiels(*this);
    creerMenuQualite(*this);
    creerMenuCartographie(*this);
    creerMenuFenetre(*this);
    creerMenuAide(*this);

    m_base = new QLabel(application.demarrage().libelleStatut(), this);
    m_base->setObjectName(QStringLiteral("LblBase"));
    m_utilisateur = new QLabel(nomUtilisateur(), this);
    m_utilisateur->setObjectName(QStringLiteral("LblUtilisateur"));
    statusBar()->addWidget(m_base, 1);
    statusBar()->addPermanentWidget(m_utilisateur);
}

QString FenetrePrincipale::nomUtilisateur()
{
    const Session &s = session();
    const QString nom = s.nom.trimmed();
    return nom.isEmpty() || nom == s.login ? s.login : nom + QStringLiteral(" (") + s.login + u')';
}

QString FenetrePrincipale::titre(const QString &base)
{
    return caption() + QStringLiteral(" - ") + base + QStringLiteral(" - ") + nomUtilisateur();
}

namespace {
QString cleEcran(const QWidget *ecran)
{
    if (const auto *fiche = qobject_cast<const Fiche *>(ecran)) return fiche->cleFenetre();
    return ecran->objectName();
}
} // namespace

QWidget *FenetrePrincipale::amenerEcran(const QString &cle)
{
    if (cle.isEmpty()) return nullptr;
    for (QMdiSubWindow *f : m_zone->subWindowList()) {
        if (f->widget() && cleEcran(f->widget()) == cle) {
            m_zone->setActiveSubWindow(f);
            f->showNormal();
            return f->widget();
        }
    }
    return nullptr;
}

QWidget *FenetrePrincipale::ouvrirEcran(QWidget *ecran)
{
    if (QWidget *ouvert = amenerEcran(cleEcran(ecran))) {
        delete ecran;
        return ouvert;
    }
    ecran->setAttribute(Qt::WA_DeleteOnClose);
    // The size a screen asks for, kept inside the work area: the area otherwise falls back to
    // the screen's smallest size when the wish does not fit. A screen that asks for no size gets
    // the size its contents need; none is smaller than what its commands need (a tool bar cut
    // behind its overflow arrow).
    const bool redimensionne = ecran->testAttribute(Qt::WA_Resized);
    const bool tailleVoulue = redimensionne || ecran->sizeHint().isValid();
    const QSize voulue =
        redimensionne ? ecran->size().expandedTo(ecran->sizeHint()) : ecran->sizeHint();
    QMdiSubWindow *fenetre = m_zone->addSubWindow(ecran);
    fenetre->setAttribute(Qt::WA_DeleteOnClose);
    if (tailleVoulue) {
        const QMargins m = fenetre->contentsMargins(); // title bar and borders
        const QSize cadre(m.left() + m.right(), m.top() + m.bottom());
        fenetre->resize((voulue + cadre).boundedTo(m_zone->viewport()->size()));
    }
    fenetre->show();
    // Placed in cascade, it must still end inside the area.
    const QSize place = m_zone->viewport()->size() - QSize(fenetre->x(), fenetre->y());
    if (tailleVoulue && place.width() > 200 && place.height() > 150)
        fenetre->resize(fenetre->size().boundedTo(place));
    return ecran;
}

QList<QWidget *> FenetrePrincipale::ecrans() const
{
    QList<QWidget *> liste;
    for (QMdiSubWindow *f : m_zone->subWindowList())
        if (f->widget()) liste << f->widget();
    return liste;
}

bool FenetrePrincipale::fermerEcrans()
{
    m_zone->closeAllSubWindows();
    // A closed frame is hidden at once and deleted later.
    const QList<QMdiSubWindow *> restantes = m_zone->subWindowList();
    return std::none_of(restantes.begin(), restantes.end(),
                        [](QMdiSubWindow *f) { return f->isVisible(); });
}

void FenetrePrincipale::closeEvent(QCloseEvent *event)
{
    // The question names the program, not the database and user of the title.
    if (!m_application.demarrage().demanderFermeture(caption())) {
        event->ignore();
        return;
    }
    // A card whose user chose to stay keeps the window open.
    if (!fermerEcrans()) {
        event->ignore();
        return;
    }
    event->accept();
    emit fermee();
}

} // namespace vyk
