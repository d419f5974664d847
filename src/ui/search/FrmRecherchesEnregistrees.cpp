// The saved searches of the results search screen: their list, their criteria and their
// memorised results.

#include "ui/search/FrmRecherches.h"

#include "app/Csv.h"
#include "db/CompteRendu.h"
#include "db/Messages.h"
#include "ui/search/ModelesRecherche.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/DialogueExport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>

namespace vyk {

inline const QString QUESTION_SUPPRESSION =
    QStringLiteral("Etes vous sur de vouloir supprimer cette recherche ?");

void FrmRecherches::creerRecherches()
{
    TxtIntitule = new QLineEdit(this);
    TxtIntitule->setPlaceholderText(QStringLiteral("Intitulé de la recherche"));
    SprRecherches = creerVueRecherche(this, m_recherches);
    SprRecherches->setSelectionMode(QAbstractItemView::SingleSelection);
    SprRecherches->setMaximumHeight(SprRecherches->fontMetrics().height() * 10);
    auto bouton = [this](const QString &texte) { return new QPushButton(texte, this); };
    CmdNouvelleRecherche = bouton(QStringLiteral("Créer une nouvelle recherche"));
    CmdSupprimerRecherche = bouton(QStringLiteral("Supprimer une recherche"));
    CmdEnregistrerCriteres = bouton(QStringLiteral("Enregistrer les critères de recherche"));
    CmdExporterRecherches = bouton(QStringLiteral("Exporter la liste des recherches vers Excel"));
    CmdEnregistrerResultats = bouton(QStringLiteral("Enregistrer résultats"));
    nommerControles({{TxtIntitule, "TxtIntitule"},
                     {SprRecherches, "SprRecherches"},
                     {CmdNouvelleRecherche, "CmdNouvelleRecherche"},
                     {CmdSupprimerRecherche, "CmdSupprimerRecherche"},
                     {CmdEnregistrerCriteres, "CmdEnregistrerCriteres"},
                     {CmdExporterRecherches, "CmdExporterRecherches"},
                     {CmdEnregistrerResultats, "CmdEnregistrerResultats"}});
    connect(CmdNouvelleRecherche, &QPushButton::clicked, this, &FrmRecherches::nouvelleRecherche);
    connect(CmdSupprimerRecherche, &QPushButton::clicked, this, &FrmRecherches::supprimerRecherche);
    connect(CmdEnregistrerCriteres, &QPushButton::clicked, this,
            &FrmRecherches::enregistrerCriteres);
    connect(CmdExporterRecherches, &QPushButton::clicked, this, [this] { exporterRecherches(); });
    connect(CmdEnregistrerResultats, &QPushButton::clicked, this,
            &FrmRecherches::enregistrerResultats);
    connect(SprRecherches->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &courant) {
                if (courant.isValid()) chargerRecherche(courant.row());
            });
}

QWidget *FrmRecherches::disposerRecherches()
{
    auto *cadre = new QWidget(this);
    auto *grille = new QGridLayout(cadre);
    grille->setContentsMargins(0, 0, 0, 0);
    grille->addWidget(CmdNouvelleRecherche, 0, 0);
    grille->addWidget(CmdSupprimerRecherche, 0, 1);
    grille->addWidget(CmdEnregistrerCriteres, 1, 0);
    grille->addWidget(CmdExporterRecherches, 1, 1);
    grille->addWidget(TxtIntitule, 2, 0, 1, 2);
    grille->addWidget(SprRecherches, 3, 0, 1, 2);
    return cadre;
}

void FrmRecherches::chargerRecherches()
{
    const auto liste = recherchesEnregistrees();
    m_listeRecherches = liste.value_or(QVector<RechercheEnregistree>{});
    m_recherches->definir(grilleRecherches(m_listeRecherches));
    for (int l = 0; l < m_listeRecherches.size(); ++l)
        if (m_listeRecherches[l].id == m_id) {
            const QSignalBlocker bloque(SprRecherches->selectionModel());
            SprRecherches->selectRow(l);
        }
    CmdSupprimerRecherche->setEnabled(m_id != 0);
    CmdExporterRecherches->setEnabled(!m_listeRecherches.isEmpty());
}

void FrmRecherches::nouvelleRecherche()
{
    m_id = 0;
    TxtIntitule->clear();
    appliquer(CriteresRecherche{});
    cboSupports->selectionnerCode(QStringLiteral("031"));
    afficher(nullptr);
    chargerRecherches();
}

void FrmRecherches::supprimerRecherche()
{
    if (m_id == 0 || afficherMessage(GENRE_QUESTION, QUESTION_SUPPRESSION) != BoutonOui) return;
    if (!montrer(vyk::supprimerRecherche(m_id))) return;
    nouvelleRecherche();
}

void FrmRecherches::enregistrerCriteres()
{
    qint64 id = m_id;
    if (!montrer(vyk::enregistrerCriteres(TxtIntitule->text().trimmed(), criteres(), id))) return;
    m_id = id;
    chargerRecherches();
}

void FrmRecherches::enregistrerResultats()
{
    if (!m_resultat) return;
    // Results belong to a saved search: the criteria are saved first when there is none.
    if (m_id == 0) {
        qint64 id = 0;
        const CompteRendu cr =
            vyk::enregistrerCriteres(TxtIntitule->text().trimmed(), criteres(), id);
        if (!cr) {
            montrer(cr);
            return;
        }
        m_id = id;
    }
    montrer(memoriserResultats(m_id, *m_resultat));
    chargerRecherches();
}

void FrmRecherches::exporterRecherches(const QString &chemin)
{
    if (m_listeRecherches.isEmpty()) return;
    const QString fichier =
        chemin.isEmpty() ? demanderCheminExport(this, windowTitle(), QStringLiteral("Recherches"))
                         : chemin;
    if (fichier.isEmpty()) return;
    const GrilleTexte g = grilleRecherches(m_listeRecherches);
    QString erreur;
    if (!exporterGrilleFichier(fichier, QStringLiteral("Recherches"), g.titres, g.lignes, &erreur))
        afficherMessage(GENRE_ERREUR, erreur);
}

void FrmRecherches::chargerRecherche(int ligne)
{
    if (ligne < 0 || ligne >= m_listeRecherches.size()) return;
    const RechercheEnregistree &r = m_listeRecherches[ligne];
    CriteresRecherche c;
    if (!montrer(chargerCriteres(r.id, c))) return;
    m_id = r.id;
    TxtIntitule->setText(r.intitule);
    appliquer(c);
    afficher(nullptr);
    CmdSupprimerRecherche->setEnabled(true);
    const auto memoire = resultatsMemorises(r.id);
    if (!memoire) return;
    m_grilles[0]->definir(memoire->indicateurs);
    m_grilles[1]->definir(memoire->totaux);
    m_grilles[2]->definir(memoire->repartitions);
    m_grilles[3]->definir(memoire->stations);
    m_grilles[4]->definir(memoire->totalStations);
    activerExports();
}

void FrmRecherches::appliquer(const CriteresRecherche &c)
{
    TxtDateDebut->setText(c.dateDebut);
    txtDateFin->setText(c.dateFin);
    for (int i = 0; i < LstStations->count(); ++i) {
        QListWidgetItem *item = LstStations->item(i);
        item->setSelected(c.stations.contains(item->data(Qt::UserRole).toLongLong()));
    }
    cboSupports->selectionnerCode(c.pointPrelevement);
    CboSelection->selectionnerCode(c.selections.value(0));
    const std::pair<ComboCodee *, QString> codes[] = {{CboParametres, c.parametre},
                                                      {CboUnites, c.unite},
                                                      {CboQualification, c.qualification},
                                                      {CboStatut, c.statut},
                                                      {CboSupport, c.support},
                                                      {CboProducteur, c.producteur},
                                                      {CboTypeSeuil, c.typeSeuil},
                                                      {cboExecutionJobId, c.jobExecution}};
    for (const auto &[boite, code] : codes)
        boite->selectionnerCode(code);
    CboSeuil->setCurrentIndex(std::clamp(c.filtreClasse, 0, CboSeuil->count() - 1));
    chkRechercheDetection->setChecked(c.detectionsSeulement);
}

} // namespace vyk
