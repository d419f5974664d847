#include "ui/monitoring/SuiviPhysicoChmique.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/Messages.h"
#include "monitoring/ModeleSuivi.h"
#include "monitoring/Prelevement.h"
#include "monitoring/ReglesAnalyses.h"
#include "quality/ClassesSuivi.h"
#include "schema/TableAnalyses.h"
#include "ui/monitoring/FichePrelevementPhysicoChmique.h"
#include "ui/quality/EditionGraphique.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/CouleursClasses.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace vyk {

namespace {
const QString FORMAT_DATE = QStringLiteral("JJ/MM/AAAA");

// The results coloured by their class.
class ModeleSuiviColore : public ModeleSuivi
{
  public:
    using ModeleSuivi::ModeleSuivi;
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::BackgroundRole && index.isValid() && index.column() >= 2) {
            const LigneSuivi &l = tableau().lignes.value(index.row());
            if (const QColor c = couleurClasse(l.classes.value(index.column() - 2)); c.isValid())
                return c;
            return {};
        }
        return ModeleSuivi::data(index, role);
    }
};
} // namespace

SuiviPhysicoChmique::SuiviPhysicoChmique(const QString &codeQualitometre, QWidget *parent)
    : Ecran(parent)
{
    setObjectName(QStringLiteral("SuiviPhysicoChmique"));
    setWindowTitle(QStringLiteral("Suivi physico-chimique"));
    auto *disposition = new QVBoxLayout(this);
    auto *filtres = new QGridLayout;
    CboStation = new ComboCodee(this);
    CboStation->definirEntrees(stationsSuivi());
    CboStation->setMinimumContentsLength(30);
    TxtDateDebut = new QLineEdit(this);
    TxtDateDebut->setPlaceholderText(FORMAT_DATE);
    TxtDateFin = new QLineEdit(this);
    TxtDateFin->setPlaceholderText(FORMAT_DATE);
    CboProducteur = new ComboCodee(this);
    CboProducteur->definirEntrees(
        entreesColonne(champsPrelevement()[indexColonne(
            champsPrelevement(), QStringLiteral("CodeProducteurPrincipal"))]),
        ComboCodee::AvecTous);
    CboSupport = new ComboCodee(this);
    CboSupport->definirEntrees(entreesColonne(champsPrelevement()[indexColonne(
                                   champsPrelevement(), QStringLiteral("CodeSupportPrincipal"))]),
                               ComboCodee::AvecTous);
    CboStatut = new ComboCodee(this);
    CboStatut->remplirListe(QStringLiteral("ANALYSES.STATUT"), ComboCodee::AvecTous,
                            OrdreEntrees::Code);
    CboQualification = new ComboCodee(this);
    CboQualification->remplirListe(QStringLiteral("ANALYSES.QUALIFICATION"), ComboCodee::AvecTous,
                                   OrdreEntrees::Code);
    ChkQuantification = new QCheckBox(
        QStringLiteral("Ne rechercher que les données supérieures au seuil de quantification"),
        this);
    ChkInverse = new QCheckBox(QStringLiteral("Dates les plus récentes en premier"), this);
    ChkInverse->setChecked(filtresSuiviParDefaut().inverse);
    CboSeuil = new ComboCodee(this);
    CboSeuil->definirEntrees(entreesHierarchiques(QStringLiteral("SEUILS")), ComboCodee::AvecVide);
    CboSeuil->selectionnerCode(lireRegistre(reglage::TypeSeuil));
    CmdActualiser = new QPushButton(QStringLiteral("Actualiser"), this);
    CmdNouveauPrelevement = new QPushButton(QStringLiteral("Nouveau prélèvement"), this);
    CboPrelevements = new ComboCodee(this);
    CboPrelevements->setMinimumContentsLength(28);
    CboPrelevements->setToolTip(
        QStringLiteral("Tous les prélèvements du qualitomètre, avec ou sans analyses."));
    CmdOuvrirPrelevement = new QPushButton(QStringLiteral("Ouvrir le prélèvement"), this);
    CmdGraphique = new QPushButton(QStringLiteral("Graphique"), this);
    CmdGraphique->setObjectName(QStringLiteral("CmdGraphique"));
    CmdGraphique->setToolTip(QStringLiteral("Trace les paramètres des lignes choisies."));
    auto ajouter = [&](int ligne, int colonne, const QString &libelle, QWidget *w) {
        auto *e = new QLabel(libelle, this);
        e->setBuddy(w);
        filtres->addWidget(e, ligne, colonne * 2);
        filtres->addWidget(w, ligne, colonne * 2 + 1);
    };
    ajouter(0, 0, QStringLiteral("Qualitomètre :"), CboStation);
    ajouter(0, 1, QStringLiteral("Du :"), TxtDateDebut);
    ajouter(0, 2, QStringLiteral("Au :"), TxtDateFin);
    ajouter(1, 0, QStringLiteral("Producteur :"), CboProducteur);
    ajouter(1, 1, QStringLiteral("Support :"), CboSupport);
    ajouter(1, 2, QStringLiteral("Statut :"), CboStatut);
    ajouter(2, 0, QStringLiteral("Qualification :"), CboQualification);
    filtres->addWidget(ChkQuantification, 2, 2, 1, 4);
    filtres->addWidget(ChkInverse, 3, 0, 1, 2);
    ajouter(4, 0, QStringLiteral("Seuils :"), CboSeuil);
    auto *boutons = new QHBoxLayout;
    auto *libellePrelevements = new QLabel(QStringLiteral("Prélèvements :"), this);
    libellePrelevements->setBuddy(CboPrelevements);
    boutons->addWidget(libellePrelevements);
    boutons->addWidget(CboPrelevements, 1);
    boutons->addWidget(CmdOuvrirPrelevement);
    boutons->addStretch(1);
    boutons->addWidget(CmdGraphique);
    boutons->addWidget(CmdNouveauPrelevement);
    boutons->addWidget(CmdActualiser);
    filtres->addLayout(boutons, 3, 2, 1, 4);
    filtres->setColumnStretch(1, 2);
    disposition->addLayout(filtres);
    m_modele = new ModeleSuiviColore(this);
    SprSuivi = new QTableView(this);
    SprSuivi->setModel(m_modele);
    SprSuivi->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SprSuivi->setAlternatingRowColors(true);
    SprSuivi->horizontalHeader()->setToolTip(
        QStringLiteral("Double-cliquez sur une date pour ouvrir son prélèvement."));
    disposition->addWidget(SprSuivi, 1);
    LblInformation = new QLabel(this);
    disposition->addWidget(LblInformation);

    connect(CmdActualiser, &QPushButton::clicked, this, &SuiviPhysicoChmique::actualiser);
    connect(CboStation, &ComboCodee::codeChange, this, [this](const QString &) { actualiser(); });
    connect(ChkQuantification, &QCheckBox::toggled, this, [this](bool) { actualiser(); });
    connect(ChkInverse, &QCheckBox::toggled, this, [this](bool) { actualiser(); });
    connect(CboSeuil, &ComboCodee::codeChange, this, [this](const QString &) { actualiser(); });
    connect(CmdNouveauPrelevement, &QPushButton::clicked, this, [this] { ouvrirFiche(-1); });
    connect(CmdOuvrirPrelevement, &QPushButton::clicked, this, [this] {
        if (const QString n = CboPrelevements->codeSelectionne(); !n.isEmpty())
            ouvrirPrelevementNumero(n);
    });
    connect(CmdGraphique, &QPushButton::clicked, this, [this] {
        if (QWidget *ecran = graphique()) emit ouvrirGraphique(ecran);
    });
    connect(SprSuivi->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this,
            [this](int section) {
                if (section >= 2) ouvrirFiche(section - 2);
            });
    if (!codeQualitometre.isEmpty()) CboStation->selectionnerCode(codeQualitometre);
    actualiser();
}

void SuiviPhysicoChmique::actualiser()
{
    FiltresSuivi f;
    f.dateDebut = TxtDateDebut->text();
    f.dateFin = TxtDateFin->text();
    f.producteur = CboProducteur->codeSelectionne();
    f.support = CboSupport->codeSelectionne();
    f.statut = CboStatut->codeSelectionne();
    f.qualification = CboQualification->codeSelectionne();
    f.quantifieesSeulement = ChkQuantification->isChecked();
    f.inverse = ChkInverse->isChecked();
    const QString station = CboStation->codeSelectionne();
    QString erreur;
    TableauSuivi lu;
    if (!station.isEmpty() && !chargerSuivi(station, codeBSSStation(station), f, lu, &erreur))
        afficherMessage(GENRE_ERREUR, erreur);
    classerSuivi(lu, CboSeuil->codeSelectionne());
    m_modele->remplir(std::move(lu));
    SprSuivi->resizeColumnsToContents();
    EntreesCodees prelevements;
    for (const PrelevementStation &p : prelevementsStation(station, codeBSSStation(station)))
        prelevements.append({p.numero, p.libelle(), 0});
    CboPrelevements->definirEntrees(prelevements);
    CmdOuvrirPrelevement->setEnabled(!prelevements.isEmpty());
    LblInformation->setText(
        QString::number(tableau().nbAnalyses) + QStringLiteral(" analyse(s), ") +
        QString::number(tableau().colonnes.size()) + QStringLiteral(" prélèvement(s)."));
}

const TableauSuivi &SuiviPhysicoChmique::tableau() const
{
    return m_modele->tableau();
}

QWidget *SuiviPhysicoChmique::ouvrirFiche(int colonne)
{
    return ouvrirPrelevementNumero(colonne >= 0 && colonne < tableau().colonnes.size()
                                       ? tableau().colonnes[colonne].numPrelevement
                                       : QString());
}

QWidget *SuiviPhysicoChmique::ouvrirPrelevementNumero(const QString &numero)
{
    const QString station = CboStation->codeSelectionne();
    if (station.isEmpty()) return nullptr;
    return ouvrirPrelevementStation(station, numero);
}

QWidget *SuiviPhysicoChmique::ouvrirPrelevementStation(const QString &station,
                                                       const QString &numero,
                                                       const QString &codeOperation)
{
    auto *fiche =
        new FichePrelevementPhysicoChmique(station, codeBSSStation(station), numero, codeOperation);
    connect(fiche, &FichePrelevementPhysicoChmique::prelevementModifie, this,
            &SuiviPhysicoChmique::actualiser);
    connect(fiche, &FichePrelevementPhysicoChmique::nouveauDemande, this,
            [this, station](const QString &operation) {
                ouvrirPrelevementStation(station, {}, operation);
            });
    emit ouvrirPrelevement(fiche);
    return fiche;
}

QWidget *SuiviPhysicoChmique::graphique()
{
    QList<int> rangs;
    for (const QModelIndex &i : SprSuivi->selectionModel()->selectedIndexes())
        if (!rangs.contains(i.row())) rangs << i.row();
    if (rangs.isEmpty() && SprSuivi->currentIndex().isValid())
        rangs << SprSuivi->currentIndex().row();
    std::sort(rangs.begin(), rangs.end());
    DemandeGraphique d;
    const QString station = CboStation->codeSelectionne();
    for (int r : std::as_const(rangs))
        if (r < tableau().lignes.size() &&
            !d.parametres.contains(tableau().lignes[r].codeParametre))
            d.parametres << tableau().lignes[r].codeParametre;
    if (station.isEmpty() || d.parametres.isEmpty()) return nullptr;
    d.stations.append({station.toLongLong(), codeBSSStation(station)});
    d.criteres.debut =
        QDate::fromString(TxtDateDebut->text().trimmed(), QStringLiteral("dd/MM/yyyy"));
    d.criteres.fin = QDate::fromString(TxtDateFin->text().trimmed(), QStringLiteral("dd/MM/yyyy"));
    // Bands only mean something for one parameter in one unit.
    if (d.parametres.size() == 1 && rangs.size() == 1) {
        d.criteres.unite = tableau().lignes[rangs.first()].codeUnite;
        d.seuil = CboSeuil->codeSelectionne();
    }
    return new EditionGraphique(d);
}

} // namespace vyk
