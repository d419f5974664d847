#include "ui/app/FenetrePrincipale.h"

#include <QCloseEvent>
#include <QMenuBar>

namespace vyk {

FenetrePrincipale::FenetrePrincipale(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("VYK"));
    resize(1024, 700);
    QMenu *fichier = menuBar()->addMenu(QStringLiteral("&Fichier"));
    fichier->addAction(QStringLiteral("&Quitter"), this, &QWidget::close);
}

void FenetrePrincipale::closeEvent(QCloseEvent *event) { event->accept(); }

} // namespace vyk
