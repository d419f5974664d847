#include "ui/monitoring/FrmJournaux.h"

#include "db/Messages.h"
#include "ui/widgets/CadreEcran.h"
#include "ui/widgets/DialogueExport.h"
#include "ui/widgets/Droits.h"
#include "ui/widgets/ProgressionGui.h"
#include "users/Habilitations.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vyk {

namespace {

QLineEdit *champDate(QWidget *parent, const QString &nom)
{
    auto *champ = new QLineEdit(parent);
    champ->setObjectName(nom);
    champ->setPlaceholderText(QStringLiteral("jj/mm/aaaa"));
    champ->setMaxLength(10);
    champ->setMaximumWidth(110);
    return champ;
}

template <typename T> T *nomme(T *controle, const QString &nom)
{
    controle->setObjectName(nom);
    return controle;
}

} // namespace

FrmJournaux::FrmJournaux(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Événements des qualitomètres"));
    resize(1200, 700);

    // Stations to tick.
    auto *stations = new QGroupBox(QStringLiteral("Qualitomètres"), this);
    TxtFiltre = nomme(new QLineEdit(stations), QStringLiteral("TxtFiltre"));
    TxtFiltre->setPlaceholderText(QStringLiteral("Filtrer (code ou nom)"));
    TxtFiltre->setClearButtonEnabled(true);
    SprStations = nomme(new QTableWidget(0, 2, stations), QStringLiteral("SprStations"));
    SprStations->setHorizontalHeaderLabels({QStringLiteral("Code BSS"), QStringLiteral("Nom")});
    SprStations->horizontalHeader()->setStretchLastSection(true);
    SprStations->verticalHeader()->hide();
    SprStations->setSelectionBehavior(QAbstractItemView::SelectRows);
    SprStations->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SprStations->setSortingEnabled(true);
    CmdToutes = nomme(new QPushButton(QStringLiteral("Tout cocher"), stations),
                      QStringLiteral("CmdToutes"));
    CmdAucune = nomme(new QPushButton(QStringLiteral("Tout décocher"), stations),
                      QStringLiteral("CmdAucune"));
    auto *boutonsStations = new QHBoxLayout;
    boutonsStations->addWidget(CmdToutes);
    boutonsStations->addWidget(CmdAucune);
    auto *colonneStations = new QVBoxLayout(stations);
    colonneStations->addWidget(TxtFiltre);
    colonneStations->addWidget(SprStations);
    colonneStations->addLayout(boutonsStations);

    // Filters.
    auto *filtres = new QGroupBox(QStringLiteral("Critères"), this);
    TxtDateDebut = champDate(filtres, QStringLiteral("TxtDateDebut"));
    TxtDateFin = champDate(filtres, QStringLiteral("TxtDateFin"));
    ChkGestion =
        nomme(new QCheckBox(QStringLiteral("Gestion [G]"), filtres), QStringLiteral("ChkGestion"));
    ChkMaintenance = nomme(new QCheckBox(QStringLiteral("Maintenance [M]"), filtres),
                           QStringLiteral("ChkMaintenance"));
    ChkAutre =
        nomme(new QCheckBox(QStringLiteral("Autre []"), filtres), QStringLiteral("ChkAutre"));
    ChkGraphique =
        nomme(new QCheckBox(QStringLiteral("Seulement les événements des graphiques"), filtres),
              QStringLiteral("ChkGraphique"));
    ChkExportBanque =
        nomme(new QCheckBox(QStringLiteral("Seulement les événements à exporter vers la banque"),
                            filtres),
              QStringLiteral("ChkExportBanque"));
    CboContact = nomme(new QComboBox(filtres), QStringLiteral("CboContact"));
    CboContact->setMinimumWidth(240);
    auto *grille = new QGridLayout(filtres);
    grille->addWidget(new QLabel(QStringLiteral("Du"), filtres), 0, 0);
    grille->addWidget(TxtDateDebut, 0, 1);
    grille->addWidget(new QLabel(QStringLiteral("au"), filtres), 0, 2);
    grille->addWidget(TxtDateFin, 0, 3);
    grille->addWidget(new QLabel(QStringLiteral("Référent"), filtres), 0, 4);
    grille->addWidget(CboContact, 0, 5);
    grille->addWidget(new QLabel(QStringLiteral("Tournées"), filtres), 1, 0);
    grille->addWidget(ChkGestion, 1, 1);
    grille->addWidget(ChkMaintenance, 1, 2, 1, 2);
    grille->addWidget(ChkAutre, 1, 4);
    grille->addWidget(ChkGraphique, 2, 1, 1, 3);
    grille->addWidget(ChkExportBanque, 2, 4, 1, 2);
    grille->setColumnStretch(6, 1);

    // Grid and commands.
    SprEvenements =
        nomme(new QTableWidget(0, int(EvenementsQualito::titresColonnes().size()), this),
              QStringLiteral("SprEvenements"));
    SprEvenements->setHorizontalHeaderLabels(EvenementsQualito::titresColonnes());
    SprEvenements->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SprEvenements->setSelectionBehavior(QAbstractItemView::SelectRows);
    SprEvenements->setAlternatingRowColors(true);
    SprEvenements->verticalHeader()->hide();
    LblNombre = nomme(new QLabel(this), QStringLiteral("LblNombre"));
    CmdCharger = nomme(new QPushButton(QStringLiteral("Chargement des événements"), this),
                       QStringLiteral("CmdCharger"));
    CmdCharger->setDefault(true);
    CmdExporter =
        nomme(new QPushButton(QStringLiteral("Exporter..."), this), QStringLiteral("CmdExporter"));
    appliquerDroit(CmdExporter, droit::QUALITO_EXPORT);
    CmdFermer = nomme(new QPushButton(QStringLiteral("Fermer"), this), QStringLiteral("CmdFermer"));
    auto *commandes = new QHBoxLayout;
    commandes->addWidget(LblNombre, 1);
    commandes->addWidget(CmdCharger);
    commandes->addWidget(CmdExporter);
    commandes->addWidget(CmdFermer);

    auto *droite = new QWidget(this);
    auto *colonneDroite = new QVBoxLayout(droite);
    colonneDroite->setContentsMargins(0, 0, 0, 0);
    colonneDroite->addWidget(filtres);
    colonneDroite->addWidget(SprEvenements, 1);
    colonneDroite->addLayout(commandes);
    auto *separation = new QSplitter(this);
    separation->addWidget(stations);
    separation->addWidget(droite);
    separation->setStretchFactor(1, 1);
    separation->setSizes({300, 900});
    auto *principal = new QVBoxLayout(this);
    principal->addWidget(separation);

    connect(TxtFiltre, &QLineEdit::textChanged, this, &FrmJournaux::filtrerStations);
    connect(CmdToutes, &QPushButton::clicked, this, [this] { cocherStations(true); });
    connect(CmdAucune, &QPushButton::clicked, this, [this] { cocherStations(false); });
    connect(CmdCharger, &QPushButton::clicked, this, &FrmJournaux::chargerEvenements);
    connect(CmdExporter, &QPushButton::clicked, this, &FrmJournaux::demanderExport);
    connect(CmdFermer, &QPushButton::clicked, this, [this] { fermerEcran(this); });
    // Double-clicking a station ticks it or not.
    connect(SprStations, &QTableWidget::cellDoubleClicked, this, [this](int ligne, int) {
        QTableWidgetItem *item = SprStations->item(ligne, 0);
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });
    chargerListes();
}

void FrmJournaux::chargerListes()
{
    SprStations->setSortingEnabled(false);
    SprStations->setRowCount(0);
    const QVector<StationEvenements> stations = EvenementsQualito::stations();
    SprStations->setRowCount(int(stations.size()));
    for (int l = 0; l < stations.size(); ++l) {
        auto *code = new QTableWidgetItem(stations[l].codeBSS);
        code->setData(Qt::UserRole, stations[l].code);
        code->setFlags(code->flags() | Qt::ItemIsUserCheckable);
        code->setCheckState(Qt::Unchecked);
        SprStations->setItem(l, 0, code);
        SprStations->setItem(l, 1, new QTableWidgetItem(stations[l].nom));
    }
    SprStations->setSortingEnabled(true);
    SprStations->sortByColumn(0, Qt::AscendingOrder);
    SprStations->resizeColumnToContents(0);

    CboContact->clear();
    CboContact->addItem(EvenementsQualito::TOUS_LES_CONTACTS, QString());
    for (const ChoixListe &c : EvenementsQualito::contacts())
        CboContact->addItem(c.texte(), c.code);
}

CriteresEvenements FrmJournaux::criteres() const
{
    CriteresEvenements c;
    for (int l = 0; l < SprStations->rowCount(); ++l)
        if (const QTableWidgetItem *item = SprStations->item(l, 0);
            item && item->checkState() == Qt::Checked)
            c.stations << item->data(Qt::UserRole).toString();
    c.dateDebut = TxtDateDebut->text().trimmed();
    c.dateFin = TxtDateFin->text().trimmed();
    c.tourneeGestion = ChkGestion->isChecked();
    c.tourneeMaintenance = ChkMaintenance->isChecked();
    c.tourneeAutre = ChkAutre->isChecked();
    c.graphiqueSeulement = ChkGraphique->isChecked();
    c.exportBanqueSeulement = ChkExportBanque->isChecked();
    c.contact = CboContact->currentData().toString();
    return c;
}

void FrmJournaux::chargerEvenements()
{
    const CriteresEvenements c = criteres();
    const QString erreur = EvenementsQualito::verifier(c);
    if (!erreur.isEmpty()) {
        afficherMessage(GENRE_ERREUR, erreur);
        return;
    }
    Tableau evenements;
    {
        ProgressionGui progression(this, QStringLiteral("Chargement des événements"));
        EvenementsQualito lecture;
        evenements = lecture.charger(c, progression);
    }
    SprEvenements->setSortingEnabled(false);
    SprEvenements->setRowCount(0);
    SprEvenements->setRowCount(evenements.nbLignes());
    for (int l = 0; l < evenements.nbLignes(); ++l) {
        const QStringList textes = EvenementsQualito::texteLigne(evenements, l);
        for (int col = 0; col < textes.size(); ++col)
            SprEvenements->setItem(l, col, new QTableWidgetItem(textes[col]));
    }
    SprEvenements->resizeColumnsToContents();
    LblNombre->setText(QStringLiteral("%1 événement(s)").arg(evenements.nbLignes()));
}

int FrmJournaux::nbEvenements() const
{
    return SprEvenements->rowCount();
}

bool FrmJournaux::exporter(const QString &chemin)
{
    QStringList titres;
    for (int col = 0; col < SprEvenements->columnCount(); ++col)
        titres << SprEvenements->horizontalHeaderItem(col)->text();
    QVector<QStringList> lignes;
    lignes.reserve(SprEvenements->rowCount());
    for (int l = 0; l < SprEvenements->rowCount(); ++l) {
        QStringList ligne;
        for (int col = 0; col < SprEvenements->columnCount(); ++col) {
            const QTableWidgetItem *item = SprEvenements->item(l, col);
            ligne << (item ? item->text() : QString());
        }
        lignes << ligne;
    }
    QString erreur;
    if (!EvenementsQualito::exporter(titres, lignes, chemin, &erreur)) {
        afficherMessage(GENRE_ERREUR, erreur);
        return false;
    }
    afficherMessage(GENRE_AIDE, EvenementsQualito::MESSAGE_EXPORT_TERMINE.arg(chemin));
    return true;
}

void FrmJournaux::demanderExport()
{
    if (SprEvenements->rowCount() == 0) {
        afficherMessage(GENRE_AIDE, EvenementsQualito::MESSAGE_RIEN_A_EXPORTER);
        return;
    }
    const QString chemin = demanderCheminExport(
        this, QStringLiteral("Exporter la liste des interventions"), EvenementsQualito::NOM_EXPORT);
    if (!chemin.isEmpty()) exporter(chemin);
}

void FrmJournaux::filtrerStations(const QString &texte)
{
    const QString t = texte.trimmed();
    for (int l = 0; l < SprStations->rowCount(); ++l) {
        const bool visible = t.isEmpty() ||
                             SprStations->item(l, 0)->text().contains(t, Qt::CaseInsensitive) ||
                             SprStations->item(l, 1)->text().contains(t, Qt::CaseInsensitive);
        SprStations->setRowHidden(l, !visible);
    }
}

// Only the stations left visible by the filter change.
void FrmJournaux::cocherStations(bool cocher)
{
    for (int l = 0; l < SprStations->rowCount(); ++l)
        if (!SprStations->isRowHidden(l))
            SprStations->item(l, 0)->setCheckState(cocher ? Qt::Checked : Qt::Unchecked);
}

} // namespace vyk
