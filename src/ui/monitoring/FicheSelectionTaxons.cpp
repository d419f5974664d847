#include "ui/monitoring/FicheSelectionTaxons.h"

#include "db/Messages.h"

#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/Ecran.h"
#include "ui/widgets/GrilleDonnees.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace vyk {

FicheSelectionTaxons::FicheSelectionTaxons(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FicheSelectionTaxons"));
    setWindowTitle(QStringLiteral("Sélection de taxons"));
    resize(1100, 600);

    auto *criteres = new QGridLayout;
    CboTheme = new ComboCodee(this);
    CboTheme->remplirListe(QStringLiteral("TAXONS.THEME"), ComboCodee::AvecTous,
                           OrdreEntrees::Code);
    CboFamille = new ComboCodee(this);
    CboFamille->setMinimumContentsLength(40);
    TxtRecherche = new QLineEdit(this);
    TxtRecherche->setPlaceholderText(
        QStringLiteral("nom, partie du nom ou code ; plusieurs séparés par |"));
    CmdRechercher = new QPushButton(QStringLiteral("Rechercher"), this);
    CmdRechercher->setDefault(true);
    criteres->addWidget(new QLabel(QStringLiteral("Thème :"), this), 0, 0);
    criteres->addWidget(CboTheme, 0, 1);
    criteres->addWidget(new QLabel(QStringLiteral("Famille :"), this), 0, 2);
    criteres->addWidget(CboFamille, 0, 3);
    criteres->addWidget(new QLabel(texteSelectionTaxons::RECHERCHE, this), 1, 0, 1, 2);
    criteres->addWidget(TxtRecherche, 1, 2, 1, 2);
    criteres->addWidget(CmdRechercher, 1, 4);
    criteres->setColumnStretch(3, 1);

    auto *separation = new QSplitter(Qt::Horizontal, this);
    auto *gauche = new QWidget(separation);
    auto *dispGauche = new QVBoxLayout(gauche);
    dispGauche->setContentsMargins(0, 0, 0, 0);
    SprResultats = new GrilleDonnees(gauche);
    LblNombre = new QLabel(gauche);
    dispGauche->addWidget(SprResultats, 1);
    dispGauche->addWidget(LblNombre);
    auto *droite = new QWidget(separation);
    auto *dispDroite = new QVBoxLayout(droite);
    dispDroite->setContentsMargins(0, 0, 0, 0);
    CmdAjouter = new QPushButton(QStringLiteral("Ajouter ▶"), droite);
    CmdRetirer = new QPushButton(QStringLiteral("◀ Retirer"), droite);
    LstChoisis = new QListWidget(droite);
    dispDroite->addWidget(new QLabel(QStringLiteral("Taxons choisis :"), droite));
    dispDroite->addWidget(LstChoisis, 1);
    auto *boutonsChoix = new QHBoxLayout;
    boutonsChoix->addWidget(CmdAjouter);
    boutonsChoix->addWidget(CmdRetirer);
    dispDroite->addLayout(boutonsChoix);
    separation->setStretchFactor(0, 3);
    separation->setStretchFactor(1, 1);

    CmdValider = new QPushButton(QStringLiteral("Valider"), this);
    CmdAnnuler = new QPushButton(QStringLiteral("Annuler"), this);
    auto *boutons = new QHBoxLayout;
    boutons->addStretch(1);
    boutons->addWidget(CmdValider);
    boutons->addWidget(CmdAnnuler);

    auto *disposition = new QVBoxLayout(this);
    disposition->addLayout(criteres);
    disposition->addWidget(separation, 1);
    disposition->addLayout(boutons);

    auto familles = [this] {
        CboFamille->definirEntrees(SelectionTaxons::familles(CboTheme->codeSelectionne()),
                                   ComboCodee::AvecVide);
    };
    familles();
    connect(CboTheme, &ComboCodee::codeChange, this, familles);
    nommerControles({{CboTheme, "CboTheme"},
                     {CboFamille, "CboFamille"},
                     {TxtRecherche, "TxtRecherche"},
                     {CmdRechercher, "CmdRechercher"},
                     {SprResultats, "SprResultats"},
                     {LblNombre, "LblNombre"},
                     {CmdAjouter, "CmdAjouter"},
                     {CmdRetirer, "CmdRetirer"},
                     {LstChoisis, "LstChoisis"},
                     {CmdValider, "CmdValider"},
                     {CmdAnnuler, "CmdAnnuler"}});
    connect(CmdRechercher, &QPushButton::clicked, this, &FicheSelectionTaxons::rechercher);
    // Enter in the search box presses the default button, "Rechercher": one search.
    connect(CmdAjouter, &QPushButton::clicked, this,
            [this] { ajouter(SprResultats->ligneCourante()); });
    connect(SprResultats, &QAbstractItemView::doubleClicked, this,
            [this] { ajouter(SprResultats->ligneCourante()); });
    connect(CmdRetirer, &QPushButton::clicked, this, [this] { retirer(LstChoisis->currentRow()); });
    connect(CmdValider, &QPushButton::clicked, this, &QDialog::accept);
    connect(CmdAnnuler, &QPushButton::clicked, this, &QDialog::reject);
}

FicheSelectionTaxons::~FicheSelectionTaxons()
{
    CboTheme->disconnect(this);
}

bool FicheSelectionTaxons::rechercher()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const CompteRendu recherche = m_selection.rechercher(
        {CboTheme->codeSelectionne(), CboFamille->codeSelectionne(), TxtRecherche->text()});
    QApplication::restoreOverrideCursor();
    SprResultats->remplir(m_selection.resultats().entetes, m_selection.resultats().lignes);
    LblNombre->setText(QString::number(m_selection.resultats().nbLignes()) +
                       QStringLiteral(" taxon(s)"));
    return montrer(recherche);
}

void FicheSelectionTaxons::ajouter(int ligne)
{
    const QString code = m_selection.code(ligne);
    if (code.isEmpty()) {
        if (m_selection.resultats().nbLignes() > 0)
            afficherMessage(GENRE_AIDE, texteSelectionTaxons::AUCUNE_SELECTION);
        return;
    }
    for (const auto &t : std::as_const(m_choisis))
        if (t.codeTaxon == code) return;
    ListeTaxonsOperation::Ligne l;
    l.codeTaxon = code;
    l.nomLatin = m_selection.nomLatin(ligne);
    l.codeOmnidia = m_selection.codeOmnidia(ligne);
    m_choisis.append(l);
    LstChoisis->addItem(l.nomLatin + QStringLiteral(" [") + code + u']');
}

void FicheSelectionTaxons::retirer(int ligne)
{
    if (ligne < 0 || ligne >= m_choisis.size()) return;
    m_choisis.removeAt(ligne);
    delete LstChoisis->takeItem(ligne);
}

} // namespace vyk
