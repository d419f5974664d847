#include "ui/app/FrmConnexion.h"

#include "ui/app/Application.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace vyk {

FrmConnexion::FrmConnexion(Application &application, QWidget *parent)
    : QDialog(parent), m_application(application),
      m_parametrage([this] { return m_application.changementBase(this); })
{
    setObjectName(QStringLiteral("FrmConnexion"));
    setWindowTitle(QStringLiteral("Connexion à une base de données"));
    setModal(true);
    m_parametrage.libererEcrans = [this] { return m_application.libererEcrans(); };

    dialogueFichierBases = [this](const QString &depart) {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Fichier des bases de données"),
                                            depart, ParametrageConnexion::filtreFichierBases());
    };
    dialogueFichier = [this](const QString &depart) {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Base de données"), depart,
                                            ParametrageConnexion::filtreFichier());
    };

    // Profiles.
    CboBases = new QComboBox(this);
    CboBases->setObjectName(QStringLiteral("CboBases"));
    CboBases->setPlaceholderText(QStringLiteral("Choisir une base…"));
    CboBases->setMinimumContentsLength(24);
    CmdSelectFichierBases = new QToolButton(this);
    CmdSelectFichierBases->setObjectName(QStringLiteral("CmdSelectFichierBases"));
    CmdSelectFichierBases->setText(QStringLiteral("…"));
    CmdSelectFichierBases->setToolTip(QStringLiteral("Choisir le fichier databases.properties"));
    LblFichierBases = new QLabel(this);
    LblFichierBases->setObjectName(QStringLiteral("LblFichierBases"));
    LblFichierBases->setWordWrap(true);
    LblFichierBases->setStyleSheet(QStringLiteral("color: palette(dark);"));
    auto *groupeProfils = new QGroupBox(QStringLiteral("Bases prédéfinies"), this);
    auto *ligneProfils = new QHBoxLayout;
    ligneProfils->addWidget(CboBases, 1);
    ligneProfils->addWidget(CmdSelectFichierBases);
    auto *dispProfils = new QVBoxLayout(groupeProfils);
    dispProfils->addLayout(ligneProfils);
    dispProfils->addWidget(LblFichierBases);

    // Desktop database file.
    TxtFichier = new QLineEdit(this);
    TxtFichier->setObjectName(QStringLiteral("TxtFichier"));
    CmdDetailBasePiezo = new QToolButton(this);
    CmdDetailBasePiezo->setObjectName(QStringLiteral("CmdDetailBasePiezo"));
    CmdDetailBasePiezo->setText(QStringLiteral("…"));
    CmdDetailBasePiezo->setToolTip(QStringLiteral("Choisir une base ou un paquet d'import"));
    CmdChangementBase = new QPushButton(QStringLiteral("Ouvrir ce fichier"), this);
    CmdChangementBase->setObjectName(QStringLiteral("CmdChangementBase"));
    auto *groupeFichier = new QGroupBox(QStringLiteral("Base de données locale"), this);
    auto *ligneFichier = new QHBoxLayout;
    ligneFichier->addWidget(TxtFichier, 1);
    ligneFichier->addWidget(CmdDetailBasePiezo);
    auto *dispFichier = new QVBoxLayout(groupeFichier);
    dispFichier->addLayout(ligneFichier);
    dispFichier->addWidget(CmdChangementBase, 0, Qt::AlignRight);

    // Server.
    CboTypeServeur = new QComboBox(this);
    CboTypeServeur->setObjectName(QStringLiteral("CboTypeServeur"));
    for (const auto &type : ParametrageConnexion::typesServeur())
        CboTypeServeur->addItem(type.libelle, type.code);
    TxtServeur = new QLineEdit(this);
    TxtServeur->setObjectName(QStringLiteral("TxtServeur"));
    TxtPort = new QLineEdit(this);
    TxtPort->setObjectName(QStringLiteral("TxtPort"));
    TxtPort->setMaximumWidth(90);
    TxtBase = new QLineEdit(this);
    TxtBase->setObjectName(QStringLiteral("TxtBase"));
    TxtUtilisateur = new QLineEdit(this);
    TxtUtilisateur->setObjectName(QStringLiteral("TxtUtilisateur"));
    TxtMotDePasse = new QLineEdit(this);
    TxtMotDePasse->setObjectName(QStringLiteral("TxtMotDePasse"));
    TxtMotDePasse->setEchoMode(QLineEdit::Password);
    CmdEnregistrer = new QPushButton(QStringLiteral("Se connecter au serveur"), this);
    CmdEnregistrer->setObjectName(QStringLiteral("CmdEnregistrer"));
    auto *groupeServeur = new QGroupBox(QStringLiteral("Serveur de base de données"), this);
    auto *formServeur = new QFormLayout(groupeServeur);
    formServeur->addRow(QStringLiteral("Type :"), CboTypeServeur);
    auto *ligneServeur = new QHBoxLayout;
    ligneServeur->addWidget(TxtServeur, 1);
    ligneServeur->addWidget(new QLabel(QStringLiteral("Port :"), this));
    ligneServeur->addWidget(TxtPort);
    formServeur->addRow(QStringLiteral("Serveur :"), ligneServeur);
    formServeur->addRow(QStringLiteral("Base :"), TxtBase);
    formServeur->addRow(QStringLiteral("Utilisateur :"), TxtUtilisateur);
    formServeur->addRow(QStringLiteral("Mot de passe :"), TxtMotDePasse);
    formServeur->addRow(QString(), CmdEnregistrer);

    CmdFermer = new QPushButton(QStringLiteral("Fermer"), this);
    CmdFermer->setObjectName(QStringLiteral("CmdFermer"));
    CmdFermer->setAutoDefault(false);

    auto *disposition = new QVBoxLayout(this);
    disposition->addWidget(groupeProfils);
    disposition->addWidget(groupeFichier);
    disposition->addWidget(groupeServeur);
    disposition->addWidget(CmdFermer, 0, Qt::AlignRight);
    setMinimumWidth(520);

    connect(CboBases, &QComboBox::activated, this, &FrmConnexion::selectionProfil);
    connect(CmdSelectFichierBases, &QToolButton::clicked, this, [this] {
        const QString chemin = dialogueFichierBases(m_parametrage.cheminProfils());
        if (chemin.isEmpty()) return;
        m_parametrage.choisirFichierBases(chemin);
        remplirProfils();
    });
    connect(CmdDetailBasePiezo, &QToolButton::clicked, this, [this] {
        lireChamps();
        const QString depart = m_parametrage.fichier.isEmpty()
                                   ? QString()
                                   : QFileInfo(m_parametrage.fichier).absolutePath();
        const QString chemin = dialogueFichier(depart);
        if (!chemin.isEmpty() && montrer(m_parametrage.choisirFichier(chemin)))
            TxtFichier->setText(QDir::toNativeSeparators(m_parametrage.fichier));
    });
    connect(CmdChangementBase, &QPushButton::clicked, this, [this] {
        lireChamps();
        montrer(m_parametrage.changerFichier());
    });
    connect(CmdEnregistrer, &QPushButton::clicked, this, [this] {
        lireChamps();
        montrer(m_parametrage.enregistrerServeur());
    });
    connect(CmdFermer, &QPushButton::clicked, this, &QDialog::reject);

    m_parametrage.charger();
    afficher();
    remplirProfils();
}

void FrmConnexion::afficher()
{
    const ParametrageConnexion &p = m_parametrage;
    TxtFichier->setText(QDir::toNativeSeparators(p.fichier));
    CboTypeServeur->setCurrentIndex(std::max(0, CboTypeServeur->findData(p.typeServeur)));
    TxtServeur->setText(p.serveur);
    TxtPort->setText(p.port);
    TxtBase->setText(p.base);
    TxtUtilisateur->setText(p.utilisateur);
    TxtMotDePasse->setText(p.motDePasse);
}

void FrmConnexion::lireChamps()
{
    ParametrageConnexion &p = m_parametrage;
    p.fichier = QDir::fromNativeSeparators(TxtFichier->text().trimmed());
    p.typeServeur = CboTypeServeur->currentData().toString();
    p.serveur = TxtServeur->text();
    p.port = TxtPort->text();
    p.base = TxtBase->text();
    p.utilisateur = TxtUtilisateur->text();
    p.motDePasse = TxtMotDePasse->text();
}

void FrmConnexion::remplirProfils()
{
    CboBases->clear();
    CboBases->addItems(m_parametrage.nomsProfils());
    CboBases->setCurrentIndex(-1);
    const QString chemin = m_parametrage.cheminProfils();
    LblFichierBases->setText(chemin.isEmpty()
                                 ? QStringLiteral("Aucun fichier databases.properties choisi.")
                                 : QDir::toNativeSeparators(chemin));
    CboBases->setEnabled(CboBases->count() > 0);
}

void FrmConnexion::selectionProfil(int index)
{
    if (index < 0) return;
    const QString nom = CboBases->itemText(index);
    lireChamps();
    // The profile fills the fields; they stay shown if the switch does not go through.
    const bool ok = montrer(m_parametrage.selectionnerProfil(nom));
    if (!ok && isVisible()) afficher();
}

} // namespace vyk
