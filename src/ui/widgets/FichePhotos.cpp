#include "ui/widgets/FichePhotos.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace vyk {

FichePhotos::FichePhotos(const QStringList &fichiers, const QString &titre, QWidget *parent)
    : QDialog(parent), m_fichiers(fichiers)
{
    setWindowTitle(titre);
    resize(900, 600);
    LstPhotos = new QListWidget(this);
    LstPhotos->setMaximumWidth(260);
    for (const QString &f : fichiers)
        LstPhotos->addItem(QFileInfo(f).fileName());
    LblPhoto = new QLabel(this);
    LblPhoto->setAlignment(Qt::AlignCenter);
    LblPhoto->setMinimumSize(320, 240);
    CmdOuvrir = new QPushButton(QStringLiteral("Ouvrir le fichier"), this);
    auto *fermer = new QPushButton(QStringLiteral("Fermer"), this);
    auto *haut = new QHBoxLayout;
    haut->addWidget(LstPhotos);
    haut->addWidget(LblPhoto, 1);
    auto *bas = new QHBoxLayout;
    bas->addStretch(1);
    bas->addWidget(CmdOuvrir);
    bas->addWidget(fermer);
    auto *disposition = new QVBoxLayout(this);
    disposition->addLayout(haut, 1);
    disposition->addLayout(bas);
    connect(LstPhotos, &QListWidget::currentRowChanged, this, &FichePhotos::montrer);
    connect(CmdOuvrir, &QPushButton::clicked, this, [this] {
        const int l = LstPhotos->currentRow();
        if (l >= 0) QDesktopServices::openUrl(QUrl::fromLocalFile(m_fichiers[l]));
    });
    connect(fermer, &QPushButton::clicked, this, &QDialog::accept);
    if (!fichiers.isEmpty()) LstPhotos->setCurrentRow(0);
}

void FichePhotos::montrer(int ligne)
{
    if (ligne < 0 || ligne >= m_fichiers.size()) {
        LblPhoto->clear();
        return;
    }
    QImageReader lecteur(m_fichiers[ligne]);
    lecteur.setAutoTransform(true);
    const QImage image = lecteur.read();
    if (image.isNull()) {
        LblPhoto->setPixmap({});
        LblPhoto->setText(QStringLiteral("Aperçu impossible : ouvrez le fichier."));
        return;
    }
    LblPhoto->setPixmap(QPixmap::fromImage(
        image.scaled(LblPhoto->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void FichePhotos::resizeEvent(QResizeEvent *evenement)
{
    QDialog::resizeEvent(evenement);
    montrer(LstPhotos->currentRow());
}

} // namespace vyk
