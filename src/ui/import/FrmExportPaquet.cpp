#include "ui/import/FrmExportPaquet.h"

#include "db/Messages.h"
#include "import/PaquetEchange.h"
#include "monitoring/SuiviPhysicoChimique.h"
#include "ui/widgets/ProgressionGui.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vyk {

FrmExportPaquet::FrmExportPaquet(QWidget *parent) : Ecran(parent)
{
    setWindowTitle(QStringLiteral("Export d'un paquet d'échange"));
    TxtFiltre = new QLineEdit(this);
    TxtFiltre->setPlaceholderText(QStringLiteral("Filtrer la liste"));
    SprStations = new QListWidget(this);
    TxtFichier = new QLineEdit(this);
    CmdParcourir = new QPushButton(QStringLiteral("Parcourir…"), this);
    CmdExporter = new QPushButton(QStringLiteral("&Exporter"), this);
    LblInformation = new QLabel(this);
    nommerControles({{TxtFiltre, "TxtFiltre"},
                     {SprStations, "SprStations"},
                     {TxtFichier, "TxtFichier"},
                     {CmdParcourir, "CmdParcourir"},
                     {CmdExporter, "CmdExporter"},
                     {LblInformation, "LblInformation"}});
    auto *fichier = new QHBoxLayout;
    fichier->addWidget(TxtFichier, 1);
    fichier->addWidget(CmdParcourir);
    auto *formulaire = new QFormLayout;
    formulaire->addRow(QStringLiteral("Paquet (.vyk) :"), fichier);
    auto *l = new QVBoxLayout(this);
    l->addWidget(new QLabel(QStringLiteral("Stations à exporter :"), this));
    l->addWidget(TxtFiltre);
    l->addWidget(SprStations, 1);
    l->addLayout(formulaire);
    l->addWidget(CmdExporter, 0, Qt::AlignRight);
    l->addWidget(LblInformation);

    // The stations the user may see ("CodeBSS - Nom"), one query.
    for (const auto &station : stationsSuivi()) {
        auto *item = new QListWidgetItem(station.libelle, SprStations);
        item->setData(Qt::UserRole, station.libelle.section(QStringLiteral(" - "), 0, 0));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    connect(TxtFiltre, &QLineEdit::textChanged, this, [this](const QString &filtre) {
        for (int i = 0; i < SprStations->count(); ++i)
            SprStations->item(i)->setHidden(
                !SprStations->item(i)->text().contains(filtre.trimmed(), Qt::CaseInsensitive));
    });
    connect(CmdParcourir, &QPushButton::clicked, this, [this] {
        const QString c = QFileDialog::getSaveFileName(this, windowTitle(), TxtFichier->text(),
                                                       QStringLiteral("Import VYLEN (*.vyk)"));
        if (!c.isEmpty()) TxtFichier->setText(c);
    });
    connect(CmdExporter, &QPushButton::clicked, this, [this] { exporter(); });
}

void FrmExportPaquet::cocher(const QStringList &codesBSS)
{
    for (int i = 0; i < SprStations->count(); ++i) {
        QListWidgetItem *item = SprStations->item(i);
        item->setCheckState(codesBSS.contains(item->data(Qt::UserRole).toString()) ? Qt::Checked
                                                                                   : Qt::Unchecked);
    }
}

QStringList FrmExportPaquet::stationsCochees() const
{
    QStringList codes;
    for (int i = 0; i < SprStations->count(); ++i)
        if (SprStations->item(i)->checkState() == Qt::Checked)
            codes << SprStations->item(i)->data(Qt::UserRole).toString();
    return codes;
}

bool FrmExportPaquet::exporter()
{
    QString fichier = TxtFichier->text().trimmed();
    if (fichier.isEmpty()) {
        afficherMessage(GENRE_AIDE, QStringLiteral("Choisissez le fichier du paquet."));
        return false;
    }
    if (!fichier.endsWith(QLatin1String(".vyk"), Qt::CaseInsensitive)) {
        fichier += QStringLiteral(".vyk");
        TxtFichier->setText(fichier);
    }
    ProgressionGui progression(this, windowTitle());
    const BilanExportPaquet bilan = exporterPaquet(stationsCochees(), fichier, progression);
    if (!bilan.erreur.isEmpty()) {
        afficherMessage(GENRE_ERREUR, bilan.erreur);
        return false;
    }
    LblInformation->setText(bilan.resume());
    afficherMessage(GENRE_AIDE, QStringLiteral("Paquet écrit : ") + bilan.resume());
    return true;
}

} // namespace vyk
