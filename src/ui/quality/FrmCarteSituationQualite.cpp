#include "ui/quality/FrmCarteSituationQualite.h"

#include "db/Messages.h"
#include "db/Outils.h"
#include "monitoring/SuiviPhysicoChimique.h"
#include "quality/GestionSeuils.h"
#include "referentials/ListesCodees.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/CouleursClasses.h"
#include "ui/widgets/ProgressionGui.h"

#include <QButtonGroup>
#include <QDate>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vyk {

namespace {

// clang-format off
const EntreesCodees SUPPORTS = {
    {"031", "Physico-chimie : eau", 0},        {"061", "Physico-chimie : sédiments", 0},
    {"001", "Physico-chimie : air", 0},        {"071", "Physico-chimie : matières en suspension", 0},
    {"091", "Physico-chimie : biote", 0},      {"691", "Physico-chimie : autre support", 0},
    {"-1", "Indices hydrobiologiques", 0},     {"131", "Macroinvertébrés", 0},
    {"101", "Diatomées", 0},                   {"271", "Macrophytes", 0},
    {"041", "Poissons", 0},
};
// clang-format on

const QStringList LIBELLES_REGROUPEMENT = {
    QStringLiteral("Minimum"), QStringLiteral("Moyenne"),       QStringLiteral("Maximum"),
    QStringLiteral("Somme"),   QStringLiteral("Percentile 90"), QStringLiteral("Dernière valeur")};

} // namespace

FrmCarteSituationQualite::FrmCarteSituationQualite(QWidget *parent) : Ecran(parent)
{
    setObjectName(QStringLiteral("FrmCarteSituationQualite"));
    setWindowTitle(QStringLiteral("Carte de situation qualité"));
    resize(1250, 760);
    LstStations = new QListWidget(this);
    LstStations->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (const EntreeCodee &e : stationsSuivi()) {
        auto *item = new QListWidgetItem(e.libelle, LstStations);
        item->setData(Qt::UserRole, e.code);
    }
    CboSupports = new ComboCodee(this);
    CboSupports->definirEntrees(SUPPORTS);
    TxtParametre = new QLineEdit(this);
    TxtUnite = new QLineEdit(this);
    OptRegroupement = new QButtonGroup(this);
    // Three per row: on one row the options would squeeze the result grid.
    auto *regroupement = new QGridLayout;
    for (int i = 0; i < LIBELLES_REGROUPEMENT.size(); ++i) {
        auto *option = new QRadioButton(LIBELLES_REGROUPEMENT[i], this);
        OptRegroupement->addButton(option, i);
        regroupement->addWidget(option, i / 3, i % 3);
    }
    OptRegroupement->button(int(LIBELLES_REGROUPEMENT.size()) - 1)->setChecked(true);
    TxtDateCalcul =
        new QLineEdit(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")), this);
    TxtPeriode = new QLineEdit(QStringLiteral("365"), this);
    TxtAgeLimite = new QLineEdit(QStringLiteral("0"), this);
    CboStatut = new ComboCodee(this);
    CboStatut->remplirListe(QStringLiteral("ANALYSES.STATUT"), ComboCodee::AvecVide,
                            OrdreEntrees::Code);
    CboQualification = new ComboCodee(this);
    CboQualification->remplirListe(QStringLiteral("ANALYSES.QUALIFICATION"), ComboCodee::AvecVide,
                                   OrdreEntrees::Code);
    CboSeuil = new ComboCodee(this);
    TxtAnneeReference = new QLineEdit(this);
    TxtMarge = new QLineEdit(QStringLiteral("10"), this);
    CmdCalculer = new QPushButton(QStringLiteral("Calculer"), this);
    CmdExporter = new QPushButton(QStringLiteral("Exporter"), this);
    SprCarte = new QTableWidget(this);
    SprCarte->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LblLegende = new QLabel(this);

    auto *criteres = new QFormLayout;
    criteres->addRow(QStringLiteral("Support :"), CboSupports);
    criteres->addRow(QStringLiteral("Paramètre, taxon ou indice :"), TxtParametre);
    criteres->addRow(QStringLiteral("Unité :"), TxtUnite);
    criteres->addRow(QStringLiteral("Regroupement :"), regroupement);
    criteres->addRow(QStringLiteral("Date de calcul :"), TxtDateCalcul);
    criteres->addRow(QStringLiteral("Période (jours) :"), TxtPeriode);
    criteres->addRow(QStringLiteral("Âge limite (jours) :"), TxtAgeLimite);
    criteres->addRow(QStringLiteral("Statut :"), CboStatut);
    criteres->addRow(QStringLiteral("Qualification :"), CboQualification);
    criteres->addRow(QStringLiteral("Seuils :"), CboSeuil);
    criteres->addRow(QStringLiteral("Année de référence :"), TxtAnneeReference);
    criteres->addRow(QStringLiteral("Marge (%) :"), TxtMarge);
    auto *gauche = new QVBoxLayout;
    gauche->addWidget(new QLabel(QStringLiteral("Qualitomètres :"), this));
    gauche->addWidget(LstStations, 1);
    gauche->addLayout(criteres);
    auto *boutons = new QHBoxLayout;
    boutons->addWidget(CmdCalculer);
    boutons->addWidget(CmdExporter);
    boutons->addStretch(1);
    auto *droite = new QVBoxLayout;
    droite->addWidget(SprCarte, 1);
    droite->addWidget(LblLegende);
    droite->addLayout(boutons);
    auto *disposition = new QHBoxLayout(this);
    disposition->addLayout(gauche, 1);
    disposition->addLayout(droite, 2);

    connect(CboSupports, &ComboCodee::codeChange, this, [this](const QString &) { majSeuils(); });
    connect(CmdCalculer, &QPushButton::clicked, this, &FrmCarteSituationQualite::calculer);
    connect(CmdExporter, &QPushButton::clicked, this, [this] { exporter(); });
    majSeuils();
    afficher();
}

void FrmCarteSituationQualite::majSeuils()
{
    const GenreSeuils *g = genreSeuils(typeListeSupport(CboSupports->codeSelectionne()));
    EntreesCodees entrees;
    if (g)
        for (const FicheJeuSeuils &j : jeuxSeuils(*g))
            entrees.append({j.code, j.libelle, j.codeReference.isEmpty() ? 0 : 1});
    CboSeuil->definirEntrees(entrees, ComboCodee::AvecVide);
}

ParametresCarte FrmCarteSituationQualite::parametres() const
{
    ParametresCarte p;
    p.support = CboSupports->codeSelectionne();
    p.code = TxtParametre->text().trimmed();
    p.unite = TxtUnite->text().trimmed();
    const int option = OptRegroupement->checkedId();
    p.genre =
        option >= 0 && option < GENRES_STATISTIQUE.size() ? GENRES_STATISTIQUE[option] : QString();
    p.dateCalcul = TxtDateCalcul->text().trimmed();
    p.periode = TxtPeriode->text().toInt();
    p.ageLimite = TxtAgeLimite->text().toInt();
    p.statut = CboStatut->codeSelectionne();
    p.qualification = CboQualification->codeSelectionne();
    p.seuil = CboSeuil->codeSelectionne();
    p.anneeReference = TxtAnneeReference->text().trimmed();
    p.marge = TxtMarge->text().replace(u',', u'.').toDouble();
    return p;
}

void FrmCarteSituationQualite::calculer()
{
    QStringList codes;
    for (QListWidgetItem *item : LstStations->selectedItems())
        codes << item->data(Qt::UserRole).toString();
    const ParametresCarte p = parametres();
    if (codes.isEmpty() && !p.dateCalcul.isEmpty() && lireDate(p.dateCalcul).isValid()) {
        afficherMessage(GENRE_AIDE, texteCarte::AUCUNE_STATION);
        return;
    }
    QString erreur;
    {
        ProgressionGui progression(this, windowTitle());
        erreur = calculerCarte(p, stationsCarte(codes), m_resultat, progression);
    }
    if (!erreur.isEmpty()) afficherMessage(GENRE_ERREUR, erreur);
    afficher();
}

void FrmCarteSituationQualite::afficher()
{
    const QStringList entetes = entetesCarte();
    const QVector<QStringList> lignes = lignesCarte(m_resultat);
    SprCarte->clear();
    SprCarte->setColumnCount(int(entetes.size()));
    SprCarte->setHorizontalHeaderLabels(entetes);
    SprCarte->setRowCount(int(lignes.size()));
    const int colonneClasse = int(entetes.indexOf(QStringLiteral("Classe")));
    for (int i = 0; i < lignes.size(); ++i) {
        const QColor couleur = couleurClasse(lignes[i].value(colonneClasse));
        // The two marks of an old value: older than the age limit, older than the period.
        const ValeurCalculee &v = m_resultat.lignes[i].valeur;
        const QString marque =
            v.plusAncienQueLimite    ? QStringLiteral("Valeur plus ancienne que l'âge limite")
            : v.plusAncienQuePeriode ? QStringLiteral("Valeur plus ancienne que la période")
                                     : QString();
        for (int c = 0; c < lignes[i].size(); ++c) {
            auto *cellule = new QTableWidgetItem(lignes[i][c]);
            if (couleur.isValid() && c >= colonneClasse - 1 && c <= colonneClasse)
                cellule->setBackground(couleur);
            if (!marque.isEmpty()) {
                cellule->setToolTip(marque);
                cellule->setForeground(v.plusAncienQueLimite ? QColor(192, 0, 0)
                                                             : QColor(Qt::gray));
            }
            SprCarte->setItem(i, c, cellule);
        }
    }
    SprCarte->resizeColumnsToContents();
    QStringList legende;
    for (int i = 0; i < m_resultat.legendes.size(); ++i)
        legende << QStringLiteral("<span style=\"background-color:%1\">&nbsp;&nbsp;&nbsp;</span> "
                                  "%2 : %3")
                       .arg(couleurClasse(QString::number(i + 1)).name())
                       .arg(i + 1)
                       .arg(m_resultat.legendes[i].toHtmlEscaped());
    LblLegende->setText(legende.join(QStringLiteral("&nbsp;&nbsp;")));
}

void FrmCarteSituationQualite::exporter(const QString &chemin)
{
    QString fichier = chemin;
    if (fichier.isEmpty())
        fichier = QFileDialog::getSaveFileName(
            this, QStringLiteral("Exporter la carte"), QStringLiteral("Situation_qualite.xlsx"),
            QStringLiteral("Classeur (*.xlsx *.ods);;Texte (*.csv)"));
    if (fichier.isEmpty()) return;
    QString erreur;
    if (!exporterCarte(m_resultat, fichier, &erreur)) afficherMessage(GENRE_ERREUR, erreur);
}

} // namespace vyk
