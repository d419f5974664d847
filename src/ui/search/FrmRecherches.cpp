#include "ui/search/FrmRecherches.h"

#include "app/Csv.h"
#include "db/BaseDonnees.h"
#include "db/Messages.h"
#include "db/Tableau.h"
#include "import/Jobs.h"
#include "monitoring/SuiviPhysicoChimique.h"
#include "search/Selections.h"
#include "ui/app/FenetrePrincipale.h"
#include "ui/quality/EditionGraphique.h"
#include "ui/search/FrmRechercheDetaillee.h"
#include "ui/search/ModelesRecherche.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/DialogueExport.h"
#include "ui/widgets/Droits.h"
#include "ui/widgets/ProgressionGui.h"
#include "users/Habilitations.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

namespace vyk {

namespace {

const char *const NOMS_EXPORT[] = {"Resultats",    "Indicateurs", "Totaux",
                                   "Repartitions", "Stations",    "Total stations"};

} // namespace

FrmRecherches::FrmRecherches(QWidget *parent)
    : Ecran(parent), m_resultats(new ModeleResultats(this)),
      m_recherches(new ModeleTexteRecherche(this)),
      m_ouvreur([](const QUrl &url) { return QDesktopServices::openUrl(url); })
{
    setObjectName(QStringLiteral("FrmRecherches"));
    setWindowTitle(QStringLiteral("Recherche de résultats"));
    resize(1300, 800);
    for (auto *&m : m_grilles)
        m = new ModeleTexteRecherche(this);
    creerCriteres();
    creerGrilles();
    creerCommandes();
    creerRecherches();
    disposer();
    chargerRecherches();
    afficher(nullptr);
}

FrmRecherches::~FrmRecherches() = default;

void FrmRecherches::creerCriteres()
{
    LstStations = new QListWidget(this);
    LstStations->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (const EntreeCodee &e : stationsSuivi()) {
        auto *item = new QListWidgetItem(e.libelle, LstStations);
        item->setData(Qt::UserRole, e.code);
    }
    TxtDateDebut = new QLineEdit(this);
    txtDateFin = new QLineEdit(this);
    TxtDateDebut->setPlaceholderText(QStringLiteral("01/01/1900"));
    txtDateFin->setPlaceholderText(QStringLiteral("31/12/2050"));
    cboSupports = new ComboCodee(this);
    CboSelection = new ComboCodee(this);
    remplirSupports();
    remplirSelections();
    // Each kind of result searches its own type of list.
    connect(cboSupports, &ComboCodee::codeChange, this, [this] { remplirSelections(); });
    CboParametres = new ComboCodee(this);
    CboParametres->remplirRequete(
        QStringLiteral("SELECT Nom, Code FROM ANALYSES_PARAMETRES ORDER BY Nom ASC"),
        ComboCodee::AvecVide);
    CboUnites = new ComboCodee(this);
    CboUnites->remplirRequete(QStringLiteral("SELECT Symbole, Code FROM ANALYSES_UNITES ORDER "
                                             "BY Symbole ASC"),
                              ComboCodee::AvecVide);
    CboQualification = new ComboCodee(this);
    CboQualification->remplirListe(QStringLiteral("ANALYSES.QUALIFICATION"), ComboCodee::AvecVide);
    CboStatut = new ComboCodee(this);
    CboStatut->remplirListe(QStringLiteral("ANALYSES.STATUT"), ComboCodee::AvecVide);
    CboSupport = new ComboCodee(this);
    CboSupport->remplirRequete(
        QStringLiteral("SELECT Distinct Nom, Code FROM ANALYSES_SUPPORTS ORDER BY Nom ASC"),
        ComboCodee::AvecVide);
    CboProducteur = new ComboCodee(this);
    CboProducteur->remplirRequete(
        QStringLiteral("SELECT Nom, CodeIntervenant FROM INTERVENANTS ORDER BY Nom ASC"),
        ComboCodee::AvecVide);
    CboTypeSeuil = new ComboCodee(this);
    CboTypeSeuil->remplirHierarchie(QStringLiteral("SEUILS"), ComboCodee::AvecVide);
    CboSeuil = new QComboBox(this);
    CboSeuil->addItems(libellesFiltreClasse());
    chkRechercheDetection = new QCheckBox(QStringLiteral("Détections uniquement"), this);
    cboExecutionJobId = new ComboCodee(this);
    remplirExecutions();
}

// The sampling points, then the index results and the states; "031" chosen.
void FrmRecherches::remplirSupports()
{
    EntreesCodees entrees;
    QStringList vues;
    const Tableau t = bd().extraire(QStringLiteral(
        "SELECT DISTINCT identifiant, nom FROM QUALITOMETRES_POINTS ORDER BY nom ASC"));
    for (int l = 0; l < t.nbLignes(); ++l) {
        const QString cle = t.texte(l, 0).trimmed();
        if (cle.isEmpty() || vues.contains(cle)) continue;
        vues << cle;
        entrees << EntreeCodee{cle, t.texte(l, 1)};
    }
    if (!vues.contains(QStringLiteral("031")))
        entrees << EntreeCodee{QStringLiteral("031"), QStringLiteral("Physico-chimie")};
    entrees << EntreeCodee{QStringLiteral("-1"), QStringLiteral("Indices")}
            << EntreeCodee{QStringLiteral("-2"), QStringLiteral("Etats")};
    cboSupports->definirEntrees(entrees, ComboCodee::AvecVide);
    cboSupports->selectionnerCode(QStringLiteral("031"));
}

void FrmRecherches::remplirSelections()
{
    CriteresRecherche c;
    c.pointPrelevement = cboSupports->codeSelectionne();
    const int type = typeListeRecherche(c);
    EntreesCodees entrees;
    for (const TitreSelection &t : titresSelections(true, true))
        if (t.typeListe == type && t.codeParent.isEmpty()) entrees << EntreeCodee{t.code, t.nom};
    CboSelection->definirEntrees(entrees, ComboCodee::AvecVide);
    if (const auto defaut = selectionParDefaut(type)) CboSelection->selectionnerCode(defaut->code);
}

void FrmRecherches::remplirExecutions()
{
    EntreesCodees entrees;
    for (const ExecutionJob &e : dernieresExecutions(200))
        entrees << EntreeCodee{QString::number(e.id),
                               e.job + u' ' + e.debut.toString(QStringLiteral("dd/MM/yyyy HH:mm"))};
    cboExecutionJobId->definirEntrees(entrees, ComboCodee::AvecVide);
}

void FrmRecherches::creerGrilles()
{
    Onglets = new QTabWidget(this);
    SprAnalyses = creerVueRecherche(this, m_resultats);
    SprIndicateurs = creerVueRecherche(this, m_grilles[0]);
    SprTotalIndicateurs = creerVueRecherche(this, m_grilles[1]);
    SprRepartitions = creerVueRecherche(this, m_grilles[2]);
    SprStations = creerVueRecherche(this, m_grilles[3]);
    SprTotalStations = creerVueRecherche(this, m_grilles[4]);
    SprTotalStations->setMaximumHeight(SprTotalStations->fontMetrics().height() * 5);
    SprTotalIndicateurs->setMaximumHeight(SprTotalIndicateurs->fontMetrics().height() * 5);
    Onglets->addTab(SprAnalyses, QStringLiteral("Résultats"));
    // A grid with its totals row below.
    auto avecTotal = [this](QTableView *grille, QTableView *total) {
        auto *onglet = new QWidget(this);
        auto *mise = new QVBoxLayout(onglet);
        mise->setContentsMargins(0, 0, 0, 0);
        mise->addWidget(grille, 1);
        mise->addWidget(total);
        return onglet;
    };
    Onglets->addTab(avecTotal(SprIndicateurs, SprTotalIndicateurs), QStringLiteral("Indicateurs"));
    Onglets->addTab(SprRepartitions, QStringLiteral("Répartitions"));
    Onglets->addTab(avecTotal(SprStations, SprTotalStations), QStringLiteral("Stations"));
}

void FrmRecherches::creerCommandes()
{
    auto bouton = [this](const QString &texte) { return new QPushButton(texte, this); };
    CmdRecherche = bouton(QStringLiteral("Recherche"));
    CmdDetailStation = bouton(titreDetail(Regroupement::Station));
    CmdDetailPrelevement = bouton(titreDetail(Regroupement::Prelevement));
    CmdDetailMasseEau = bouton(titreDetail(Regroupement::MasseEau));
    CmdDetailHer = bouton(titreDetail(Regroupement::Her));
    CmdDetailBv = bouton(titreDetail(Regroupement::Bv));
    CmdExporterResultats = bouton(QStringLiteral("Exporter les résultats"));
    CmdExporterIndicateurs = bouton(QStringLiteral("Exporter les indicateurs"));
    CmdExporterTotaux = bouton(QStringLiteral("Exporter les totaux"));
    CmdExporterRepartitions = bouton(QStringLiteral("Exporter les répartitions"));
    CmdExporterStations = bouton(QStringLiteral("Exporter les stations"));
    CmdCarte = bouton(QStringLiteral("Google Maps"));
    CmdGraphique = bouton(QStringLiteral("Graphique"));
    appliquerDroit(CmdRecherche, droit::QUALITO_RECHERCHES);
    connect(CmdRecherche, &QPushButton::clicked, this, &FrmRecherches::rechercher);
    const std::pair<QPushButton *, Regroupement> details[] = {
        {CmdDetailStation, Regroupement::Station},
        {CmdDetailPrelevement, Regroupement::Prelevement},
        {CmdDetailMasseEau, Regroupement::MasseEau},
        {CmdDetailHer, Regroupement::Her},
        {CmdDetailBv, Regroupement::Bv}};
    for (const auto &[b, r] : details)
        connect(b, &QPushButton::clicked, this, [this, r = r] { ouvrirDetail(r); });
    const std::pair<QPushButton *, Grille> exports[] = {{CmdExporterResultats, Resultats},
                                                        {CmdExporterIndicateurs, Indicateurs},
                                                        {CmdExporterTotaux, Totaux},
                                                        {CmdExporterRepartitions, Repartitions},
                                                        {CmdExporterStations, Stations}};
    for (const auto &[b, g] : exports)
        connect(b, &QPushButton::clicked, this, [this, g = g] { exporter(g); });
    connect(CmdCarte, &QPushButton::clicked, this, &FrmRecherches::exporterCarte);
    connect(CmdGraphique, &QPushButton::clicked, this, [this] { ouvrirGraphique(); });
}

void FrmRecherches::disposer()
{
    nommerControles({{LstStations, "LstStations"},
                     {TxtDateDebut, "TxtDateDebut"},
                     {txtDateFin, "txtDateFin"},
                     {cboSupports, "cboSupports"},
                     {CboSelection, "CboSelection"},
                     {CboParametres, "CboParametres"},
                     {CboUnites, "CboUnites"},
                     {CboQualification, "CboQualification"},
                     {CboStatut, "CboStatut"},
                     {CboSupport, "CboSupport"},
                     {CboProducteur, "CboProducteur"},
                     {CboTypeSeuil, "CboTypeSeuil"},
                     {CboSeuil, "CboSeuil"},
                     {chkRechercheDetection, "chkRechercheDetection"},
                     {cboExecutionJobId, "cboExecutionJobId"},
                     {CmdRecherche, "CmdRecherche"},
                     {CmdDetailStation, "CmdDetailStation"},
                     {CmdDetailPrelevement, "CmdDetailPrelevement"},
                     {CmdDetailMasseEau, "CmdDetailMasseEau"},
                     {CmdDetailHer, "CmdDetailHer"},
                     {CmdDetailBv, "CmdDetailBv"},
                     {CmdExporterResultats, "CmdExporterResultats"},
                     {CmdExporterIndicateurs, "CmdExporterIndicateurs"},
                     {CmdExporterTotaux, "CmdExporterTotaux"},
                     {CmdExporterRepartitions, "CmdExporterRepartitions"},
                     {CmdExporterStations, "CmdExporterStations"},
                     {CmdCarte, "CmdCarte"},
                     {CmdGraphique, "CmdGraphique"},
                     {SprAnalyses, "SprAnalyses"},
                     {SprIndicateurs, "SprIndicateurs"},
                     {SprTotalIndicateurs, "SprTotalIndicateurs"},
                     {SprRepartitions, "SprRepartitions"},
                     {SprStations, "SprStations"},
                     {SprTotalStations, "SprTotalStations"}});
    auto *criteres = new QWidget(this);
    auto *formulaire = new QFormLayout(criteres);
    formulaire->addRow(QStringLiteral("Stations"), LstStations);
    formulaire->addRow(QStringLiteral("Date de début"), TxtDateDebut);
    formulaire->addRow(QStringLiteral("Date de fin"), txtDateFin);
    formulaire->addRow(QStringLiteral("Point de prélèvement"), cboSupports);
    formulaire->addRow(QStringLiteral("Sélection"), CboSelection);
    formulaire->addRow(QStringLiteral("Paramètre"), CboParametres);
    formulaire->addRow(QStringLiteral("Unité"), CboUnites);
    formulaire->addRow(QStringLiteral("Qualification"), CboQualification);
    formulaire->addRow(QStringLiteral("Statut"), CboStatut);
    formulaire->addRow(QStringLiteral("Support"), CboSupport);
    formulaire->addRow(QStringLiteral("Producteur"), CboProducteur);
    formulaire->addRow(QStringLiteral("Type de seuil"), CboTypeSeuil);
    formulaire->addRow(QStringLiteral("Niveau"), CboSeuil);
    formulaire->addRow(QString(), chkRechercheDetection);
    formulaire->addRow(QStringLiteral("Import"), cboExecutionJobId);
    formulaire->addRow(QString(), CmdRecherche);
    auto *droite = new QWidget(this);
    auto *colonne = new QVBoxLayout(droite);
    colonne->setContentsMargins(0, 0, 0, 0);
    colonne->addWidget(Onglets, 1);
    // Four commands a row: in one row their captions made the screen wider than a laptop's
    // work area.
    auto *commandes = new QGridLayout;
    QPushButton *const ordre[] = {CmdDetailStation,
                                  CmdDetailPrelevement,
                                  CmdDetailMasseEau,
                                  CmdDetailHer,
                                  CmdDetailBv,
                                  CmdCarte,
                                  CmdGraphique,
                                  CmdExporterResultats,
                                  CmdExporterIndicateurs,
                                  CmdExporterTotaux,
                                  CmdExporterRepartitions,
                                  CmdExporterStations};
    constexpr int PAR_RANG = 4;
    for (int i = 0; i < int(std::size(ordre)); ++i)
        commandes->addWidget(ordre[i], i / PAR_RANG, i % PAR_RANG);
    colonne->addLayout(commandes);
    auto *gauche = new QWidget(this);
    auto *pile = new QVBoxLayout(gauche);
    pile->setContentsMargins(0, 0, 0, 0);
    pile->addWidget(disposerRecherches());
    pile->addWidget(criteres, 1);
    auto *separation = new QSplitter(this);
    separation->addWidget(gauche);
    separation->addWidget(droite);
    separation->setStretchFactor(1, 1);
    auto *mise = new QHBoxLayout(this);
    mise->addWidget(separation);
}

CriteresRecherche FrmRecherches::criteres() const
{
    CriteresRecherche c;
    c.dateDebut = TxtDateDebut->text().trimmed();
    c.dateFin = txtDateFin->text().trimmed();
    for (const QListWidgetItem *item : LstStations->selectedItems())
        c.stations << item->data(Qt::UserRole).toLongLong();
    std::sort(c.stations.begin(), c.stations.end());
    if (!CboSelection->codeSelectionne().isEmpty()) c.selections << CboSelection->codeSelectionne();
    c.parametre = CboParametres->codeSelectionne();
    c.unite = CboUnites->codeSelectionne();
    c.qualification = CboQualification->codeSelectionne();
    c.statut = CboStatut->codeSelectionne();
    c.support = CboSupport->codeSelectionne();
    c.producteur = CboProducteur->codeSelectionne();
    c.typeSeuil = CboTypeSeuil->codeSelectionne();
    c.pointPrelevement = cboSupports->codeSelectionne();
    c.jobExecution = cboExecutionJobId->codeSelectionne();
    c.filtreClasse = std::max(0, CboSeuil->currentIndex());
    c.detectionsSeulement = chkRechercheDetection->isChecked();
    return c;
}

const ModeleTexteRecherche &FrmRecherches::modele(Grille grille) const
{
    return *m_grilles[std::clamp(int(grille) - 1, 0, 4)];
}

void FrmRecherches::rechercher()
{
    if (!estHabilite(droit::QUALITO_RECHERCHES)) {
        afficherMessage(GENRE_ERREUR, MESSAGE_REFUS_RECHERCHES);
        return;
    }
    afficher(nullptr);
    auto resultat = std::make_shared<ResultatRecherche>();
    QString message;
    IssueRecherche issue;
    {
        ProgressionGui progression(this, windowTitle());
        issue = rechercherResultats(criteres(), *resultat, message, progression);
    }
    switch (issue) {
    case IssueRecherche::Trouve:
        afficher(std::move(resultat));
        break;
    case IssueRecherche::DatesInvalides:
    case IssueRecherche::AucunResultat:
        afficherMessage(GENRE_AIDE, message);
        break;
    case IssueRecherche::Echec:
        afficherMessage(GENRE_ERREUR, message);
        break;
    case IssueRecherche::Annulee:
        break;
    }
}

void FrmRecherches::afficher(std::shared_ptr<const ResultatRecherche> resultat)
{
    m_resultat = std::move(resultat);
    m_resultats->definir(m_resultat);
    const ResultatRecherche vide;
    const ResultatRecherche &r = m_resultat ? *m_resultat : vide;
    m_grilles[0]->definir(grilleIndicateurs(r));
    GrilleTexte totaux = grilleTotaux(r);
    if (!m_resultat) totaux.lignes.clear();
    m_grilles[1]->definir(std::move(totaux));
    m_grilles[2]->definir(grilleRepartitions(r));
    m_grilles[3]->definir(grilleStations(r));
    GrilleTexte totalStations = grilleTotalStations(r);
    if (!m_resultat) totalStations.lignes.clear();
    m_grilles[4]->definir(std::move(totalStations));
    for (QPushButton *b : {CmdDetailStation, CmdDetailPrelevement, CmdDetailMasseEau, CmdDetailHer,
                           CmdDetailBv, CmdCarte, CmdGraphique, CmdEnregistrerResultats})
        b->setEnabled(m_resultat != nullptr);
    activerExports();
}

// A grid exports once it shows rows (the results of a search, or memorised ones).
void FrmRecherches::activerExports()
{
    CmdExporterResultats->setEnabled(m_resultats->rowCount() > 0);
    CmdExporterIndicateurs->setEnabled(m_grilles[0]->rowCount() > 0);
    CmdExporterTotaux->setEnabled(m_grilles[1]->rowCount() > 0);
    CmdExporterRepartitions->setEnabled(m_grilles[2]->rowCount() > 0);
    CmdExporterStations->setEnabled(m_grilles[3]->rowCount() > 0);
}

void FrmRecherches::exporter(Grille grille, const QString &chemin)
{
    const QAbstractItemModel &m = grille == Resultats
                                      ? static_cast<const QAbstractItemModel &>(*m_resultats)
                                      : modele(grille);
    if (m.rowCount() == 0) return;
    const QString nom = QString::fromLatin1(NOMS_EXPORT[grille]);
    const QString fichier =
        chemin.isEmpty() ? demanderCheminExport(this, windowTitle(), nom) : chemin;
    if (fichier.isEmpty()) return;
    const GrilleTexte g = grille == Resultats ? m_resultats->grille() : modele(grille).grille();
    QString erreur;
    if (!exporterGrilleFichier(fichier, nom, g.titres, g.lignes, &erreur))
        afficherMessage(GENRE_ERREUR, erreur);
}

void FrmRecherches::exporterCarte()
{
    if (!m_resultat) return;
    QVector<PointWgs84> points;
    if (!pointsWgs84(*m_resultat, points)) {
        afficherMessage(GENRE_ERREUR, bd().derniereErreur());
        return;
    }
    if (points.isEmpty()) {
        afficherMessage(GENRE_INFO, MESSAGE_SANS_WGS84);
        return;
    }
    const QUrl url = urlCarte(points);
    if (!m_ouvreur(url))
        afficherMessage(GENRE_ERREUR,
                        QStringLiteral("Impossible d'ouvrir la carte : ") + url.toString());
}

FrmRechercheDetaillee *FrmRecherches::ouvrirDetail(Regroupement regroupement)
{
    if (!m_resultat) return nullptr;
    auto *detail = new FrmRechercheDetaillee(m_resultat, regroupement);
    if (auto *fenetre = qobject_cast<FenetrePrincipale *>(window())) {
        fenetre->ouvrirEcran(detail);
    } else {
        detail->setAttribute(Qt::WA_DeleteOnClose);
        detail->show();
    }
    return detail;
}

EditionGraphique *FrmRecherches::ouvrirGraphique()
{
    if (!m_resultat) return nullptr;
    QList<int> rangs;
    for (const QModelIndex &i : SprAnalyses->selectionModel()->selectedRows())
        rangs << i.row();
    if (rangs.isEmpty() && SprAnalyses->currentIndex().isValid())
        rangs << SprAnalyses->currentIndex().row();
    std::sort(rangs.begin(), rangs.end());
    rangs.erase(std::remove_if(rangs.begin(), rangs.end(),
                               [this](int r) { return r >= m_resultat->lignes.size(); }),
                rangs.end());
    if (rangs.isEmpty()) return nullptr;
    const LigneResultat &premiere = m_resultat->lignes[rangs.first()];
    DemandeGraphique d;
    d.parametres = {m_resultat->texte(premiere.parametre)};
    d.criteres.unite = m_resultat->texte(premiere.unite);
    d.criteres.debut =
        QDate::fromString(TxtDateDebut->text().trimmed(), QStringLiteral("dd/MM/yyyy"));
    // The search leaves its end date out; the chart counts its last day whole.
    d.criteres.fin =
        QDate::fromString(txtDateFin->text().trimmed(), QStringLiteral("dd/MM/yyyy")).addDays(-1);
    d.seuil = CboTypeSeuil->codeSelectionne();
    for (int r : std::as_const(rangs)) {
        const StationRecherche &s = m_resultat->stations[m_resultat->lignes[r].station];
        if (std::none_of(d.stations.begin(), d.stations.end(),
                         [&](const StationCalcul &c) { return c.codeQualitometre == s.code; }))
            d.stations.append({s.code, s.codeBSS});
    }
    auto *graphique = new EditionGraphique(d);
    if (auto *fenetre = qobject_cast<FenetrePrincipale *>(window())) {
        fenetre->ouvrirEcran(graphique);
    } else {
        graphique->setAttribute(Qt::WA_DeleteOnClose);
        graphique->show();
    }
    return graphique;
}

} // namespace vyk
