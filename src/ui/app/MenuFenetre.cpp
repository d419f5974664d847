#include "ui/app/MenuFenetre.h"

#include "app/Demarrage.h"
#include "ui/app/Application.h"
#include "ui/app/FenetrePrincipale.h"

#include <QAction>
#include <QActionGroup>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

namespace vyk {

namespace {

// The open screens, the active one ticked; the menu is rebuilt each time it opens.
void listerEcrans(QMenu *menu, QMdiArea *zone, const QList<QAction *> &fixes)
{
    for (QAction *a : menu->actions())
        if (!fixes.contains(a)) {
            menu->removeAction(a);
            a->deleteLater();
        }
    const QList<QMdiSubWindow *> fenetres = zone->subWindowList();
    for (QAction *a : fixes)
        if (a->objectName() != QLatin1String("ActionCascade") &&
            a->objectName() != QLatin1String("ActionMosaique"))
            a->setEnabled(!fenetres.isEmpty());
    if (fenetres.isEmpty()) return;
    menu->addSeparator();
    auto *groupe = new QActionGroup(menu);
    int numero = 1;
    for (QMdiSubWindow *f : fenetres) {
        if (!f->isVisible()) continue;
        const QString titre = f->windowTitle();
        QAction *a =
            menu->addAction((numero < 10 ? QStringLiteral("&%1 ").arg(numero) : QString()) + titre);
        ++numero;
        a->setCheckable(true);
        a->setChecked(f == zone->activeSubWindow());
        groupe->addAction(a);
        QObject::connect(a, &QAction::triggered, zone, [zone, f] {
            zone->setActiveSubWindow(f);
            if (f->isMinimized()) f->showNormal();
        });
    }
}

} // namespace

void creerMenuFenetre(FenetrePrincipale &fenetre)
{
    QMenu *menu = fenetre.menuBar()->addMenu(QStringLiteral("F&enêtre"));
    menu->setObjectName(QStringLiteral("MenuFenetre"));
    QMdiArea *zone = fenetre.zone();
    QAction *cascade =
        menu->addAction(QStringLiteral("&Cascade"), zone, &QMdiArea::cascadeSubWindows);
    cascade->setObjectName(QStringLiteral("ActionCascade"));
    QAction *mosaique =
        menu->addAction(QStringLiteral("&Mosaïque"), zone, &QMdiArea::tileSubWindows);
    mosaique->setObjectName(QStringLiteral("ActionMosaique"));
    QAction *fermer = menu->addAction(QStringLiteral("&Fermer toutes les fenêtres"), zone,
                                      &QMdiArea::closeAllSubWindows);
    fermer->setObjectName(QStringLiteral("ActionFermerTout"));
    const QList<QAction *> fixes = {cascade, mosaique, fermer};
    QObject::connect(menu, &QMenu::aboutToShow, menu,
                     [menu, zone, fixes] { listerEcrans(menu, zone, fixes); });
}

QString texteAPropos(const QString &base, const QString &utilisateur)
{
    return QStringLiteral("<p><b>VYK</b> — suivi de la qualité des eaux<br>%1</p>"
                          "<p>Base de données : %2<br>Utilisateur : %3</p>"
                          "<p>Construit avec Qt %4.</p>")
        .arg(Demarrage::libelleVersion().toHtmlEscaped(), base.toHtmlEscaped(),
             utilisateur.toHtmlEscaped(), QString::fromLatin1(qVersion()));
}

void creerMenuAide(FenetrePrincipale &fenetre)
{
    QMenu *menu = fenetre.menuBar()->addMenu(QStringLiteral("&Aide"));
    menu->setObjectName(QStringLiteral("MenuAide"));
    QAction *aPropos = menu->addAction(QStringLiteral("À &propos de VYK…"));
    aPropos->setObjectName(QStringLiteral("ActionAPropos"));
    QObject::connect(aPropos, &QAction::triggered, &fenetre, [&fenetre] {
        auto *boite =
            new QMessageBox(QMessageBox::Information, QStringLiteral("À propos de VYK"),
                            texteAPropos(fenetre.application().demarrage().libelleStatut(),
                                         FenetrePrincipale::nomUtilisateur()),
                            QMessageBox::Ok, &fenetre);
        boite->setObjectName(QStringLiteral("BoiteAPropos"));
        boite->setTextFormat(Qt::RichText);
        boite->setAttribute(Qt::WA_DeleteOnClose);
        boite->open();
    });
}

} // namespace vyk
