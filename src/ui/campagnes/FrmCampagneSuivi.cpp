// The follow-up tab of the campaign screen.

#include "ui/campagnes/FrmCampagne.h"

#include "campagnes/ExportCampagne.h"
#include "db/Messages.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vyk {

namespace {

QColor couleur(EtatCellule etat)
{
    switch (etat) {
    case EtatCellule::Complet:
        return QColor(0xb7, 0xe1, 0xa1);
    case EtatCellule::Partiel:
        return QColor(0xff, 0xd8, 0x8a);
    case EtatCellule::Manquant:
        return QColor(0xf4, 0xa7, 0xa7);
    case EtatCellule::Neutre:
        break;
    }
    return {};
}

} // namespace

QWidget *FrmCampagne::creerSuivi()
{
    auto *page = new QWidget(this);
    OptAnalyses = new QRadioButton(libelleVueSuivi(VueSuivi::Analyses), page);
    OptPrelevements = new QRadioButton(libelleVueSuivi(VueSuivi::Prelevements), page);
    OptDemandes = new QRadioButton(libelleVueSuivi(VueSuivi::Demandes), page);
    OptInterventions = new QRadioButton(libelleVueSuivi(VueSuivi::Interventions), page);
    OptAnalyses->setChecked(true);
    ChkTourneeGestion = new QCheckBox(texteSuivi::TOURNEE_GESTION, page);
    CmdAfficherSuivi = new QPushButton(QStringLiteral("Afficher le suivi"), page);
    CmdExporterSuivi = new QPushButton(QStringLiteral("Exporter le suivi"), page);
    SprSuivi = new QTableWidget(page);
    SprSuivi->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto *options = new QHBoxLayout;
    for (QWidget *w :
         {static_cast<QWidget *>(OptAnalyses), static_cast<QWidget *>(OptPrelevements),
          static_cast<QWidget *>(OptDemandes), static_cast<QWidget *>(OptInterventions),
          static_cast<QWidget *>(ChkTourneeGestion)})
        options->addWidget(w);
    options->addStretch(1);
    options->addWidget(CmdAfficherSuivi);
    options->addWidget(CmdExporterSuivi);
    auto *disposition = new QVBoxLayout(page);
    disposition->addLayout(options);
    disposition->addWidget(SprSuivi, 1);
    connect(CmdAfficherSuivi, &QPushButton::clicked, this, &FrmCampagne::afficherSuivi);
    connect(CmdExporterSuivi, &QPushButton::clicked, this, [this] { exporterSuivi(); });
    return page;
}

VueSuivi FrmCampagne::vueChoisie() const
{
    if (OptPrelevements->isChecked()) return VueSuivi::Prelevements;
    if (OptDemandes->isChecked()) return VueSuivi::Demandes;
    if (OptInterventions->isChecked()) return VueSuivi::Interventions;
    return VueSuivi::Analyses;
}

void FrmCampagne::afficherSuivi()
{
    const Campagne c = campagne();
    if (const QString refus = verifierPeriodeSuivi(c.fiche); !refus.isEmpty()) {
        afficherMessage(GENRE_INFO, refus);
        return;
    }
    QString erreur;
    const TableSuivi table = calculerSuivi(c, vueChoisie(), ChkTourneeGestion->isChecked(), erreur);
    if (!erreur.isEmpty()) {
        afficherMessage(GENRE_ERREUR, erreur);
        return;
    }
    montrerSuivi(table);
}

void FrmCampagne::montrerSuivi(const TableSuivi &table)
{
    m_suivi = table;
    SprSuivi->clear();
    SprSuivi->setColumnCount(int(table.titres.size()));
    SprSuivi->setRowCount(int(table.lignes.size()));
    SprSuivi->setHorizontalHeaderLabels(table.titres);
    const int caractere = SprSuivi->fontMetrics().averageCharWidth();
    for (int c = 0; c < table.titres.size(); ++c) {
        const int largeur = table.largeurs.value(c);
        SprSuivi->setColumnHidden(c, largeur == 0);
        if (largeur > 0) SprSuivi->setColumnWidth(c, largeur * caractere + 12);
    }
    for (int l = 0; l < table.lignes.size(); ++l)
        for (int c = 0; c < table.titres.size(); ++c) {
            auto *cellule = new QTableWidgetItem(table.lignes[l].value(c));
            if (const QColor fond = couleur(table.etats[l].value(c)); fond.isValid())
                cellule->setBackground(fond);
            if (c == COLONNES_FIXES_SUIVI - 1 && table.toursPrevus.value(l) > 0)
                cellule->setToolTip(QStringLiteral("%1 tournée(s) prévue(s) sur la période")
                                        .arg(table.toursPrevus[l]));
            SprSuivi->setItem(l, c, cellule);
        }
}

void FrmCampagne::exporterSuivi(const QString &chemin)
{
    if (m_suivi.titres.isEmpty()) afficherSuivi();
    if (m_suivi.titres.isEmpty()) return;
    QString fichier = chemin;
    if (fichier.isEmpty())
        fichier = QFileDialog::getSaveFileName(this, QStringLiteral("Exporter le suivi"),
                                               texteExportCampagne::FICHIER_SUIVI,
                                               QStringLiteral("Classeur (*.ods *.xlsx);;Texte "
                                                              "(*.csv)"));
    if (fichier.isEmpty()) return;
    QString erreur;
    if (!vyk::exporterSuivi(m_suivi, fichier, &erreur)) afficherMessage(GENRE_ERREUR, erreur);
}

} // namespace vyk
