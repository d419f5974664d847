#include "ui/app/Administration.h"

#include "app/Reglages.h"
#include "db/BaseDonnees.h"
#include "db/Messages.h"
#include "schema/DonneesInitiales.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace vyk {

namespace {

enum Colonne
{
    ColNom,
    ColType,
    ColServeur,
    ColPort,
    ColBase,
    ColUtilisateur,
    ColMotDePasse,
    NbColonnes
};

// Backend code column: a choice among the three codes.
class DelegueType : public QStyledItemDelegate
{
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &,
                          const QModelIndex &) const override
    {
        auto *liste = new QComboBox(parent);
        liste->addItems(ProfilsAdministration::typesBase());
        return liste;
    }
    void setEditorData(QWidget *editeur, const QModelIndex &index) const override
    {
        auto *liste = static_cast<QComboBox *>(editeur);
        liste->setCurrentIndex(std::max(0, liste->findText(index.data(Qt::EditRole).toString())));
    }
    void setModelData(QWidget *editeur, QAbstractItemModel *modele,
                      const QModelIndex &index) const override
    {
        modele->setData(index, static_cast<QComboBox *>(editeur)->currentText(), Qt::EditRole);
    }
};

// Password column: shown masked, typed masked.
class DelegueMotDePasse : public QStyledItemDelegate
{
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant &valeur, const QLocale &) const override
    {
        // Masked without telling the length.
        return valeur.toString().isEmpty() ? QString() : QString(8, QChar(0x2022));
    }
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &,
                          const QModelIndex &) const override
    {
        auto *champ = new QLineEdit(parent);
        champ->setEchoMode(QLineEdit::Password);
        return champ;
    }
};

QString texte(const QTableWidget *grille, int ligne, int colonne)
{
    const QTableWidgetItem *item = grille->item(ligne, colonne);
    return item ? item->data(Qt::EditRole).toString() : QString();
}

} // namespace

Administration::Administration(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Administration"));
    setWindowTitle(QStringLiteral("Administration"));
    choisirDossierProfils = [this] {
        afficherMessage(GENRE_AIDE, ProfilsAdministration::AUCUN_FICHIER);
        return QFileDialog::getExistingDirectory(
            this, QStringLiteral("Dossier du fichier databases.properties"));
    };

    Onglets = new QTabWidget(this);
    Onglets->setObjectName(QStringLiteral("Onglets"));
    Onglets->addTab(creerOngletBases(), QStringLiteral("Bases de données"));
    for (const QString &onglet : ongletsAdministration())
        Onglets->addTab(creerOnglet(onglet), onglet);
    auto *disposition = new QVBoxLayout(this);
    disposition->addWidget(Onglets);
}

QWidget *Administration::creerOngletBases()
{
    auto *page = new QWidget(this);
    sprBases = new QTableWidget(0, NbColonnes, page);
    sprBases->setObjectName(QStringLiteral("sprBases"));
    sprBases->setHorizontalHeaderLabels(
        {QStringLiteral("Nom"), QStringLiteral("Type"), QStringLiteral("Serveur ou fichier"),
         QStringLiteral("Port"), QStringLiteral("Base"), QStringLiteral("Utilisateur"),
         QStringLiteral("Mot de passe")});
    sprBases->setItemDelegateForColumn(ColType, new DelegueType(sprBases));
    sprBases->setItemDelegateForColumn(ColMotDePasse, new DelegueMotDePasse(sprBases));
    sprBases->horizontalHeader()->setSectionResizeMode(ColServeur, QHeaderView::Stretch);
    sprBases->setSelectionBehavior(QAbstractItemView::SelectRows);
    sprBases->verticalHeader()->setVisible(false);
    for (const LigneProfil &l : ProfilsAdministration::charger())
        ajouterLigneBase(l);
    sprBases->resizeColumnsToContents();

    CmdAjouterBase = new QPushButton(QStringLiteral("Ajouter une base"), page);
    CmdAjouterBase->setObjectName(QStringLiteral("CmdAjouterBase"));
    CmdSupprimerBase = new QPushButton(QStringLiteral("Supprimer la base"), page);
    CmdSupprimerBase->setObjectName(QStringLiteral("CmdSupprimerBase"));
    CmdEnregistrerBases = new QPushButton(QStringLiteral("Enregistrer"), page);
    CmdEnregistrerBases->setObjectName(QStringLiteral("CmdEnregistrerBases"));
    auto *boutons = new QHBoxLayout;
    boutons->addWidget(CmdAjouterBase);
    boutons->addWidget(CmdSupprimerBase);
    boutons->addStretch();
    boutons->addWidget(CmdEnregistrerBases);
    auto *disposition = new QVBoxLayout(page);
    auto *aide = new QLabel(
        QStringLiteral("Bases proposées sur l'écran de connexion (fichier databases.properties)."),
        page);
    disposition->addWidget(aide);
    disposition->addWidget(sprBases, 1);
    disposition->addLayout(boutons);

    connect(CmdAjouterBase, &QPushButton::clicked, this, [this] {
        ajouterLigneBase(
            {QString(), ProfilsAdministration::typesBase().first(), {}, {}, {}, {}, {}});
        sprBases->setCurrentCell(sprBases->rowCount() - 1, ColNom);
        sprBases->editItem(sprBases->item(sprBases->rowCount() - 1, ColNom));
    });
    connect(CmdSupprimerBase, &QPushButton::clicked, this, [this] {
        if (sprBases->currentRow() >= 0) sprBases->removeRow(sprBases->currentRow());
    });
    connect(CmdEnregistrerBases, &QPushButton::clicked, this, &Administration::enregistrerBases);
    return page;
}

void Administration::ajouterLigneBase(const LigneProfil &l)
{
    const int ligne = sprBases->rowCount();
    sprBases->insertRow(ligne);
    const QString valeurs[NbColonnes] = {l.nom,  l.type,        l.serveur,   l.port,
                                         l.base, l.utilisateur, l.motDePasse};
    for (int c = 0; c < NbColonnes; ++c) {
        auto *item = new QTableWidgetItem;
        item->setData(Qt::EditRole, valeurs[c]);
        sprBases->setItem(ligne, c, item);
    }
}

QVector<LigneProfil> Administration::lignesBases() const
{
    QVector<LigneProfil> lignes;
    for (int l = 0; l < sprBases->rowCount(); ++l)
        lignes.append({texte(sprBases, l, ColNom), texte(sprBases, l, ColType),
                       texte(sprBases, l, ColServeur), texte(sprBases, l, ColPort),
                       texte(sprBases, l, ColBase), texte(sprBases, l, ColUtilisateur),
                       texte(sprBases, l, ColMotDePasse)});
    return lignes;
}

void Administration::enregistrerBases()
{
    // A cell being typed in is taken as it stands: leaving it commits it.
    CmdEnregistrerBases->setFocus();
    montrer(ProfilsAdministration::enregistrer(lignesBases(), choisirDossierProfils));
}

QWidget *Administration::creerOnglet(const QString &onglet)
{
    auto *defilement = new QScrollArea(this);
    defilement->setWidgetResizable(true);
    defilement->setFrameShape(QFrame::NoFrame);
    auto *page = new QWidget(defilement);
    auto *formulaire = new QFormLayout(page);
    formulaire->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    for (const DefinitionReglage &d : reglagesAdministration()) {
        if (d.onglet != onglet) continue;
        QWidget *controle = creerControle(d, page);
        if (d.genre == GenreReglage::Case || d.genre == GenreReglage::CaseOuiNon)
            formulaire->addRow(QString(), controle);
        else
            formulaire->addRow(d.libelle + QStringLiteral(" :"), controle);
    }
    defilement->setWidget(page);
    return defilement;
}

QWidget *Administration::creerControle(const DefinitionReglage &d, QWidget *parent)
{
    const QString valeur = valeurReglage(d);
    switch (d.genre) {
    case GenreReglage::Case:
    case GenreReglage::CaseOuiNon: {
        auto *caseACocher = new QCheckBox(d.libelle, parent);
        caseACocher->setObjectName(QStringLiteral("Chk") + d.nom);
        caseACocher->setChecked(caseCochee(valeur));
        connect(caseACocher, &QCheckBox::toggled, this,
                [d](bool cochee) { ecrireReglage(d, valeurCase(d, cochee)); });
        return caseACocher;
    }
    case GenreReglage::Liste: {
        auto *liste = new QComboBox(parent);
        liste->setObjectName(QStringLiteral("Cbo") + d.nom);
        for (const EntreeListe &e : entreesListe(d))
            liste->addItem(e.libelle, e.code);
        liste->setCurrentIndex(liste->findData(valeur));
        connect(liste, &QComboBox::activated, this, [d, liste](int index) {
            ecrireReglage(d, liste->itemData(index).toString());
            // The hydrological columns of the calendar periods follow the first month.
            if (d.nom == reglage::MoisDebutAnneeHydro && bd().estOuverte() &&
                !recalculerPeriodesHydro(liste->itemData(index).toInt()))
                afficherMessage(
                    GENRE_ERREUR,
                    QStringLiteral("Les périodes hydrologiques n'ont pas pu être recalculées : ") +
                        bd().derniereErreur());
        });
        return liste;
    }
    default:
        break;
    }
    auto *champ = new QLineEdit(valeur, parent);
    champ->setObjectName(QStringLiteral("Txt") + d.nom);
    if (d.genre == GenreReglage::MotDePasse) champ->setEchoMode(QLineEdit::Password);
    if (d.genre == GenreReglage::Nombre)
        champ->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("-?\\d*([.,]\\d*)?")), champ));
    connect(champ, &QLineEdit::textChanged, this,
            [d](const QString &texte) { ecrireReglage(d, texte); });
    if (d.genre != GenreReglage::Dossier && d.genre != GenreReglage::Fichier) return champ;

    auto *ligne = new QWidget(parent);
    auto *disposition = new QHBoxLayout(ligne);
    disposition->setContentsMargins(0, 0, 0, 0);
    auto *parcourir = new QToolButton(ligne);
    parcourir->setObjectName(QStringLiteral("Cmd") + d.nom);
    parcourir->setText(QStringLiteral("…"));
    disposition->addWidget(champ, 1);
    disposition->addWidget(parcourir);
    connect(parcourir, &QToolButton::clicked, this, [this, d, champ] {
        const QString chemin =
            d.genre == GenreReglage::Dossier
                ? QFileDialog::getExistingDirectory(this, d.libelle, champ->text())
                : QFileDialog::getOpenFileName(this, d.libelle, champ->text());
        if (!chemin.isEmpty()) champ->setText(chemin);
    });
    return ligne;
}

} // namespace vyk
