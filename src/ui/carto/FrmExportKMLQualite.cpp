#include "ui/carto/FrmExportKMLQualite.h"

#include "carto/ExportKml.h"
#include "db/Messages.h"
#include "ui/widgets/ChampsFormulaire.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/Formulaire.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vyk {

namespace {

const QStringList GENRES = {QStringLiteral("Macroinvertébrés"), QStringLiteral("Diatomées"),
                            QStringLiteral("Physico-chimie")};

QPushButton *bouton(const QString &nom, const QString &texte, QWidget *parent)
{
    auto *b = new QPushButton(texte, parent);
    b->setObjectName(nom);
    return b;
}

QTableWidget *grille(const QString &nom, const QStringList &entetes, QWidget *parent)
{
    auto *g = new QTableWidget(0, int(entetes.size()), parent);
    g->setObjectName(nom);
    g->setHorizontalHeaderLabels(entetes);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->horizontalHeader()->setStretchLastSection(true);
    return g;
}

void remplirLigne(QTableWidget *g, int ligne, const QStringList &textes)
{
    for (int c = 0; c < textes.size(); ++c)
        g->setItem(ligne, c, new QTableWidgetItem(textes[c]));
}

} // namespace

FrmExportKMLQualite::FrmExportKMLQualite(QWidget *parent) : Ecran(parent)
{
    setObjectName(QStringLiteral("FrmExportKMLQualite"));
    setWindowTitle(QStringLiteral("Export KML et site web"));
    resize(1100, 720);
    auto *principal = new QHBoxLayout(this);
    auto *gauche = new QVBoxLayout;
    LstListes = new QListWidget(this);
    LstListes->setObjectName(QStringLiteral("LstListes"));
    CmdNouvelle = bouton(QStringLiteral("CmdNouvelle"), QStringLiteral("Nouvelle liste"), this);
    CmdSupprimer = bouton(QStringLiteral("CmdSupprimer"), QStringLiteral("Supprimer"), this);
    gauche->addWidget(LstListes);
    gauche->addWidget(CmdNouvelle);
    gauche->addWidget(CmdSupprimer);
    principal->addLayout(gauche, 1);

    auto *droite = new QVBoxLayout;
    auto *formulaire = new QWidget(this);
    construireFormulaire(formulaire);
    droite->addWidget(formulaireDefilant(formulaire, this), 2);

    auto *stations = new QGroupBox(QStringLiteral("Stations"), this);
    auto *ls = new QVBoxLayout(stations);
    SprStations = grille(QStringLiteral("SprStations"),
                         {QStringLiteral("Code"), QStringLiteral("Nom")}, this);
    ls->addWidget(SprStations);
    auto *ajoutStations = new QHBoxLayout;
    TxtStations = new QLineEdit(this);
    TxtStations->setObjectName(QStringLiteral("TxtStations"));
    TxtStations->setPlaceholderText(QStringLiteral("codes des qualitomètres"));
    CmdAjouterStations =
        bouton(QStringLiteral("CmdAjouterStations"), QStringLiteral("Ajouter"), this);
    CmdRetirerStation =
        bouton(QStringLiteral("CmdRetirerStation"), QStringLiteral("Retirer"), this);
    CmdMonter = bouton(QStringLiteral("CmdMonter"), QStringLiteral("Monter"), this);
    CmdDescendre = bouton(QStringLiteral("CmdDescendre"), QStringLiteral("Descendre"), this);
    for (QWidget *w :
         {static_cast<QWidget *>(TxtStations), static_cast<QWidget *>(CmdAjouterStations),
          static_cast<QWidget *>(CmdRetirerStation), static_cast<QWidget *>(CmdMonter),
          static_cast<QWidget *>(CmdDescendre)})
        ajoutStations->addWidget(w);
    ls->addLayout(ajoutStations);
    droite->addWidget(stations, 2);

    auto *elements = new QGroupBox(QStringLiteral("Éléments"), this);
    auto *le = new QVBoxLayout(elements);
    SprElements = grille(QStringLiteral("SprElements"),
                         {QStringLiteral("Genre"), QStringLiteral("Code"), QStringLiteral("Unité"),
                          QStringLiteral("Libellé")},
                         this);
    le->addWidget(SprElements);
    auto *ajoutElement = new QHBoxLayout;
    CboGenre = new QComboBox(this);
    CboGenre->setObjectName(QStringLiteral("CboGenre"));
    CboGenre->addItems(GENRES);
    TxtCodeElement = new QLineEdit(this);
    TxtCodeElement->setObjectName(QStringLiteral("TxtCodeElement"));
    TxtUnite = new QLineEdit(this);
    TxtUnite->setObjectName(QStringLiteral("TxtUnite"));
    CmdAjouterElement =
        bouton(QStringLiteral("CmdAjouterElement"), QStringLiteral("Ajouter"), this);
    CmdRetirerElement =
        bouton(QStringLiteral("CmdRetirerElement"), QStringLiteral("Retirer"), this);
    for (QWidget *w : {static_cast<QWidget *>(CboGenre), static_cast<QWidget *>(TxtCodeElement),
                       static_cast<QWidget *>(TxtUnite), static_cast<QWidget *>(CmdAjouterElement),
                       static_cast<QWidget *>(CmdRetirerElement)})
        ajoutElement->addWidget(w);
    le->addLayout(ajoutElement);
    droite->addWidget(elements, 1);

    auto *bas = new QHBoxLayout;
    TxtDossier = new QLineEdit(this);
    TxtDossier->setObjectName(QStringLiteral("TxtDossier"));
    TxtDossier->setPlaceholderText(QStringLiteral("dossier d'export"));
    CmdParcourir = bouton(QStringLiteral("CmdParcourir"), QStringLiteral("…"), this);
    CmdEnregistrer = bouton(QStringLiteral("CmdEnregistrer"), QStringLiteral("Enregistrer"), this);
    CmdExporter = bouton(QStringLiteral("CmdExporter"), QStringLiteral("Exporter"), this);
    for (QWidget *w : {static_cast<QWidget *>(TxtDossier), static_cast<QWidget *>(CmdParcourir),
                       static_cast<QWidget *>(CmdEnregistrer), static_cast<QWidget *>(CmdExporter)})
        bas->addWidget(w);
    droite->addLayout(bas);
    principal->addLayout(droite, 3);

    connect(LstListes, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        if (item) afficherListe(item->data(Qt::UserRole).toLongLong());
    });
    connect(CmdNouvelle, &QPushButton::clicked, this, [this] { afficherListe(-1); });
    connect(CmdSupprimer, &QPushButton::clicked, this, &FrmExportKMLQualite::supprimer);
    connect(CmdAjouterStations, &QPushButton::clicked, this,
            [this] { ajouterStations(TxtStations->text()); });
    connect(CmdRetirerStation, &QPushButton::clicked, this, [this] {
        const int l = SprStations->currentRow();
        if (l >= 0 && l < m_stations.size()) m_stations.removeAt(l);
        afficherStations();
    });
    connect(CmdMonter, &QPushButton::clicked, this, [this] { deplacerStation(-1); });
    connect(CmdDescendre, &QPushButton::clicked, this, [this] { deplacerStation(1); });
    connect(CmdAjouterElement, &QPushButton::clicked, this, [this] {
        ajouterElement(GenreElementExport(CboGenre->currentIndex() + 1), TxtCodeElement->text(),
                       TxtUnite->text());
    });
    connect(CmdRetirerElement, &QPushButton::clicked, this, [this] {
        const int l = SprElements->currentRow();
        if (l >= 0 && l < m_elements.size()) m_elements.removeAt(l);
        afficherElements();
    });
    connect(CmdParcourir, &QPushButton::clicked, this, [this] {
        const QString d = QFileDialog::getExistingDirectory(
            this, QStringLiteral("Dossier d'export"), TxtDossier->text());
        if (!d.isEmpty()) TxtDossier->setText(d);
    });
    connect(CmdEnregistrer, &QPushButton::clicked, this, &FrmExportKMLQualite::enregistrer);
    connect(CmdExporter, &QPushButton::clicked, this, &FrmExportKMLQualite::exporter);
    chargerListes();
    afficherListe(-1);
}

void FrmExportKMLQualite::construireFormulaire(QWidget *formulaire)
{
    DispositionFormulaire disposition(formulaire);
    for (const ChampDecrit &c : champsListeExport()) {
        OptionsChamp options;
        if (c.nature == NatureChamp::Code) options.entrees = entreesListe(c.liste);
        QWidget *champ = nouveauChampSaisie(c, formulaire, options);
        champ->setObjectName(QStringLiteral("Champ") + c.colonne);
        disposition.ajouter(c.libelle, champ);
        m_champs.append(champ);
    }
    disposition.terminer();
}

void FrmExportKMLQualite::chargerListes()
{
    const QSignalBlocker bloque(LstListes);
    LstListes->clear();
    for (const auto &[code, nom] : listesExport()) {
        auto *item = new QListWidgetItem(QStringLiteral("%1 - %2").arg(code).arg(nom), LstListes);
        item->setData(Qt::UserRole, code);
        if (code == m_code) LstListes->setCurrentItem(item);
    }
}

void FrmExportKMLQualite::afficherListe(qint64 code)
{
    ListeExportQualite liste;
    if (code >= 0 && !chargerListeExport(code, liste)) liste = ListeExportQualite{};
    m_code = liste.code;
    for (qsizetype i = 0; i < m_champs.size(); ++i)
        afficherValeurChamp(m_champs[i], liste.textes.value(i));
    m_stations = liste.stations;
    m_elements = liste.elements;
    afficherStations();
    afficherElements();
}

ListeExportQualite FrmExportKMLQualite::listeAffichee() const
{
    ListeExportQualite liste;
    liste.code = m_code;
    for (qsizetype i = 0; i < m_champs.size(); ++i)
        liste.textes[i] = valeurChamp(m_champs[i]);
    liste.stations = m_stations;
    liste.elements = m_elements;
    return liste;
}

bool FrmExportKMLQualite::enregistrer()
{
    ListeExportQualite liste = listeAffichee();
    QString erreur;
    if (!enregistrerListeExport(liste, &erreur)) {
        afficherMessage(GENRE_ERREUR, erreur);
        return false;
    }
    m_code = liste.code;
    chargerListes();
    afficherMessage(GENRE_AIDE, texteListesExport::ENREGISTREE);
    return true;
}

void FrmExportKMLQualite::supprimer()
{
    if (m_code < 0) return;
    QString erreur;
    if (!supprimerListeExport(m_code, &erreur)) {
        afficherMessage(GENRE_ERREUR, erreur);
        return;
    }
    afficherMessage(GENRE_AIDE, texteListesExport::SUPPRIMEE);
    m_code = -1;
    chargerListes();
    afficherListe(-1);
}

void FrmExportKMLQualite::ajouterStations(const QString &codes)
{
    QStringList inconnus;
    const QStringList liste =
        codes.split(QRegularExpression(QStringLiteral("[,;\\s]+")), Qt::SkipEmptyParts);
    for (const StationExport &s : stationsExport(liste, &inconnus))
        m_stations.append(s);
    afficherStations();
    TxtStations->clear();
    for (const QString &c : inconnus)
        afficherMessage(GENRE_AIDE, texteListesExport::STATION_INCONNUE.arg(c));
}

void FrmExportKMLQualite::ajouterElement(GenreElementExport genre, const QString &code,
                                         const QString &unite)
{
    if (code.trimmed().isEmpty()) return;
    m_elements.append({genre,
                       code.trimmed(),
                       genre == GenreElementExport::PhysicoChimie ? unite.trimmed() : QString(),
                       {}});
    afficherElements();
}

bool FrmExportKMLQualite::exporter()
{
    BilanExportKml bilan;
    QString erreur;
    const ListeExportQualite liste = listeAffichee();
    const QString refus = verifierExport(liste);
    if (!refus.isEmpty()) {
        afficherMessage(GENRE_AIDE, refus);
        return false;
    }
    if (!exporterListe(liste, TxtDossier->text().trimmed(), bilan, &erreur)) {
        afficherMessage(GENRE_ERREUR, erreur);
        return false;
    }
    afficherMessage(GENRE_AIDE, bilan.message());
    return true;
}

void FrmExportKMLQualite::afficherStations()
{
    SprStations->setRowCount(int(m_stations.size()));
    for (int l = 0; l < m_stations.size(); ++l)
        remplirLigne(SprStations, l, {m_stations[l].codeBSS, m_stations[l].nom});
}

void FrmExportKMLQualite::afficherElements()
{
    SprElements->setRowCount(int(m_elements.size()));
    for (int l = 0; l < m_elements.size(); ++l) {
        const ElementExport &e = m_elements[l];
        remplirLigne(SprElements, l, {GENRES.value(int(e.genre) - 1), e.code, e.unite, e.libelle});
    }
}

void FrmExportKMLQualite::deplacerStation(int sens)
{
    const int l = SprStations->currentRow();
    const int cible = l + sens;
    if (l < 0 || cible < 0 || cible >= m_stations.size()) return;
    m_stations.swapItemsAt(l, cible);
    afficherStations();
    SprStations->selectRow(cible);
}

} // namespace vyk
