#include "ui/app/FrmIdentification.h"

#include "app/Demarrage.h"
#include "db/Messages.h"
#include "ui/app/Application.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace vyk {

FrmIdentification::FrmIdentification(Application &application, QWidget *parent)
    : QWidget(parent), m_application(application)
{
    setObjectName(QStringLiteral("FrmIdentification"));
    setWindowTitle(QStringLiteral("VYK - Identification"));

    auto *titre = new QLabel(QStringLiteral("VYK"), this);
    QFont police = titre->font();
    police.setPointSizeF(police.pointSizeF() * 2.2);
    police.setBold(true);
    titre->setFont(police);
    titre->setAlignment(Qt::AlignCenter);
    auto *sousTitre = new QLabel(QStringLiteral("Qualité des eaux"), this);
    sousTitre->setAlignment(Qt::AlignCenter);
    LblVersion = new QLabel(Demarrage::libelleVersion(), this);
    LblVersion->setObjectName(QStringLiteral("LblVersion"));
    LblVersion->setAlignment(Qt::AlignCenter);

    TxtLogin = new QLineEdit(this);
    TxtLogin->setObjectName(QStringLiteral("TxtLogin"));
    TxtMotDePasse = new QLineEdit(this);
    TxtMotDePasse->setObjectName(QStringLiteral("TxtMotDePasse"));
    TxtMotDePasse->setEchoMode(QLineEdit::Password);
    ChkConnexionAutomatique = new QCheckBox(QStringLiteral("Connexion automatique"), this);
    ChkConnexionAutomatique->setObjectName(QStringLiteral("ChkConnexionAutomatique"));
    auto *champs = new QFormLayout;
    champs->addRow(QStringLiteral("Utilisateur :"), TxtLogin);
    champs->addRow(QStringLiteral("Mot de passe :"), TxtMotDePasse);
    champs->addRow(QString(), ChkConnexionAutomatique);

    LblStatut = new QLabel(this);
    LblStatut->setObjectName(QStringLiteral("LblStatut"));
    LblStatut->setWordWrap(true);
    LblStatut->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LblStatut->setStyleSheet(QStringLiteral("color: palette(dark);"));

    CmdConnexion = new QPushButton(QStringLiteral("Connexion"), this);
    CmdConnexion->setObjectName(QStringLiteral("CmdConnexion"));
    CmdConnexion->setDefault(true);
    CmdBase = new QPushButton(QStringLiteral("Base de données…"), this);
    CmdBase->setObjectName(QStringLiteral("CmdBase"));
    CmdBase->setToolTip(QStringLiteral("Choisir la base de données sur laquelle travailler"));
    CmdQuitter = new QPushButton(QStringLiteral("Quitter"), this);
    CmdQuitter->setObjectName(QStringLiteral("CmdQuitter"));
    auto *boutons = new QDialogButtonBox(this);
    boutons->addButton(CmdConnexion, QDialogButtonBox::AcceptRole);
    boutons->addButton(CmdBase, QDialogButtonBox::ActionRole);
    boutons->addButton(CmdQuitter, QDialogButtonBox::RejectRole);

    auto *disposition = new QVBoxLayout(this);
    disposition->addWidget(titre);
    disposition->addWidget(sousTitre);
    disposition->addWidget(LblVersion);
    disposition->addSpacing(12);
    disposition->addLayout(champs);
    disposition->addSpacing(6);
    disposition->addWidget(LblStatut);
    disposition->addWidget(boutons);
    setMinimumWidth(420);

    connect(CmdConnexion, &QPushButton::clicked, this, [this] { connexion(); });
    connect(TxtMotDePasse, &QLineEdit::returnPressed, this, [this] { connexion(); });
    connect(TxtLogin, &QLineEdit::returnPressed, this, [this] { connexion(); });
    connect(CmdBase, &QPushButton::clicked, this, [this] { m_application.ouvrirConnexion(this); });
    connect(CmdQuitter, &QPushButton::clicked, this, &QWidget::close);

    m_application.demarrage().afficherStatut = [this](const QString &texte) {
        LblStatut->setText(texte);
        LblStatut->repaint();
    };
}

void FrmIdentification::charger(bool connexionAutomatique)
{
    Demarrage &d = m_application.demarrage();
    TxtLogin->setText(d.dernierUtilisateur());
    TxtMotDePasse->clear();
    ChkConnexionAutomatique->setChecked(d.connexionAutomatique());
    CmdConnexion->setEnabled(false);
    if (!d.chargement() && !d.refus().isEmpty()) afficherMessage(GENRE_ERREUR, d.refus());
    afficherEtat();
    (TxtLogin->text().isEmpty() ? TxtLogin : TxtMotDePasse)->setFocus();
    if (connexionAutomatique && d.estConnecte() && ChkConnexionAutomatique->isChecked())
        QTimer::singleShot(0, this, [this] {
            if (isVisible() && m_application.demarrage().estConnecte()) connexion(true);
        });
}

void FrmIdentification::afficherEtat()
{
    const Demarrage &d = m_application.demarrage();
    LblStatut->setText(d.libelleStatut());
    // A change of database asks for the login again: the box follows the stored choice.
    ChkConnexionAutomatique->setChecked(d.connexionAutomatique());
    CmdConnexion->setEnabled(d.estConnecte());
}

void FrmIdentification::connexion(bool automatique)
{
    Demarrage &d = m_application.demarrage();
    if (!d.estConnecte()) return;
    CmdConnexion->setEnabled(false);
    const auto resultat = d.identifier(TxtLogin->text(), TxtMotDePasse->text(),
                                       ChkConnexionAutomatique->isChecked(), automatique);
    CmdConnexion->setEnabled(d.estConnecte());
    if (resultat == Demarrage::Identification::BaseRefusee)
        afficherMessage(GENRE_ERREUR, d.refus());
    if (resultat == Demarrage::Identification::Ouverte) {
        TxtMotDePasse->clear();
        LblStatut->setText(texteLogin::CHARGEMENT_STATIONS);
        LblStatut->repaint();
        m_application.ouvrirFenetrePrincipale();
        afficherEtat();
    } else if (m_application.dernierLogin() == ResultatLogin::MotDePasseErrone) {
        TxtMotDePasse->clear();
        TxtMotDePasse->setFocus();
    }
}

void FrmIdentification::closeEvent(QCloseEvent *event)
{
    // Closing the login screen ends the program; hiding it for the main window does not.
    event->accept();
    emit quitter();
}

} // namespace vyk
