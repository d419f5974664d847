#include "ui/referentials/ImportationCodesSandre.h"

#include "app/Registre.h"
#include "db/Messages.h"
#include "ui/widgets/Ecran.h"
#include "ui/widgets/GrilleDonnees.h"
#include "ui/widgets/ProgressionGui.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace vyk {

namespace {
const QString REGLAGE_DOSSIER = QStringLiteral("DossierReferentielCodes");
} // namespace

ImportationCodesSandre::ImportationCodesSandre(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Importer un fichier de référentiel"));
    resize(980, 560);
    auto *disposition = new QVBoxLayout(this);

    LblInformation = new QLabel(this);
    LblInformation->setWordWrap(true);
    LblInformation->setOpenExternalLinks(true);
    LblInformation->setTextInteractionFlags(Qt::TextBrowserInteraction);
    const QString site = adresseSiteReferentiel();
    LblInformation->setText(
        QStringLiteral(
            "Les fichiers à importer doivent être des fichiers XML. Ces fichiers sont disponibles "
            "en téléchargement sur le site <a href=\"") +
        site + QStringLiteral("\">") + site + QStringLiteral("</a>"));
    disposition->addWidget(LblInformation);

    auto *ligneDossier = new QHBoxLayout;
    auto *etiquette = new QLabel(QStringLiteral("Dossier :"), this);
    TxtDossier = new QLineEdit(this);
    etiquette->setBuddy(TxtDossier);
    CmdParcourir = new QPushButton(QStringLiteral("Parcourir..."), this);
    ligneDossier->addWidget(etiquette);
    ligneDossier->addWidget(TxtDossier, 1);
    ligneDossier->addWidget(CmdParcourir);
    disposition->addLayout(ligneDossier);

    auto *separation = new QSplitter(Qt::Horizontal, this);
    LstFichiers = new QListWidget(separation);
    SprApercu = new GrilleDonnees(separation);
    SprApercu->remplir(entetesReferentiel(), {});
    separation->setStretchFactor(0, 1);
    separation->setStretchFactor(1, 4);
    disposition->addWidget(separation, 1);

    auto *boutons = new QHBoxLayout;
    CmdDemarrer = new QPushButton(QStringLiteral("Démarrer l'importation"), this);
    CmdDemarrer->setEnabled(false);
    CmdFermer = new QPushButton(QStringLiteral("Fermer"), this);
    boutons->addStretch(1);
    boutons->addWidget(CmdDemarrer);
    boutons->addWidget(CmdFermer);
    disposition->addLayout(boutons);
    nommerControles({{TxtDossier, "TxtDossier"},
                     {CmdParcourir, "CmdParcourir"},
                     {LstFichiers, "LstFichiers"},
                     {SprApercu, "SprApercu"},
                     {LblInformation, "LblInformation"},
                     {CmdDemarrer, "CmdDemarrer"},
                     {CmdFermer, "CmdFermer"}});

    connect(CmdParcourir, &QPushButton::clicked, this, [this] {
        const QString d = QFileDialog::getExistingDirectory(
            this, QStringLiteral("Dossier des fichiers de référentiel"), TxtDossier->text());
        if (!d.isEmpty()) choisirDossier(d);
    });
    connect(TxtDossier, &QLineEdit::editingFinished, this, [this] {
        if (QDir::cleanPath(QDir::fromNativeSeparators(TxtDossier->text())) != m_dossier)
            choisirDossier(TxtDossier->text());
    });
    connect(LstFichiers, &QListWidget::currentRowChanged, this,
            [this](int ligne) { choisirFichier(ligne); });
    connect(CmdDemarrer, &QPushButton::clicked, this, &ImportationCodesSandre::demarrer);
    connect(CmdFermer, &QPushButton::clicked, this, &QDialog::accept);

    const QString dernier = lireRegistre(REGLAGE_DOSSIER, {}, true);
    if (!dernier.isEmpty() && QFileInfo(dernier).isDir()) choisirDossier(dernier);
}

ImportationCodesSandre::~ImportationCodesSandre()
{
    LstFichiers->disconnect(this);
    TxtDossier->disconnect(this);
}

void ImportationCodesSandre::choisirDossier(const QString &dossier)
{
    m_dossier = QDir::cleanPath(QDir::fromNativeSeparators(dossier));
    TxtDossier->setText(QDir::toNativeSeparators(m_dossier));
    const QSignalBlocker silence(LstFichiers);
    LstFichiers->clear();
    m_fichier = {};
    SprApercu->remplir(entetesReferentiel(), {});
    CmdDemarrer->setEnabled(false);
    if (!QFileInfo(dossier).isDir()) return;
    ecrireRegistre(REGLAGE_DOSSIER, m_dossier);
    for (const QString &chemin : fichiersReferentiel(m_dossier)) {
        auto *element = new QListWidgetItem(QFileInfo(chemin).fileName(), LstFichiers);
        element->setData(Qt::UserRole, chemin);
    }
}

bool ImportationCodesSandre::choisirFichier(int ligne)
{
    m_fichier = {};
    SprApercu->remplir(entetesReferentiel(), {});
    CmdDemarrer->setEnabled(false);
    QListWidgetItem *element = LstFichiers->item(ligne);
    if (!element) return false;
    if (LstFichiers->currentRow() != ligne) {
        const QSignalBlocker silence(LstFichiers);
        LstFichiers->setCurrentRow(ligne);
    }
    QString erreur;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok =
        lireFichierReferentiel(element->data(Qt::UserRole).toString(), m_fichier, erreur);
    QVector<QStringList> lignes;
    if (ok) {
        lignes.reserve(m_fichier.entrees.size());
        for (const EntreeReferentiel &e : m_fichier.entrees)
            lignes.append(ligneReferentiel(e));
    }
    SprApercu->remplir(entetesReferentiel(), lignes);
    QApplication::restoreOverrideCursor();
    if (!ok) {
        afficherMessage(GENRE_ERREUR, erreur);
        return false;
    }
    CmdDemarrer->setEnabled(true);
    return true;
}

void ImportationCodesSandre::demarrer()
{
    if (m_fichier.entrees.isEmpty()) return;
    const QString nom = QFileInfo(m_fichier.chemin).fileName();
    BilanIntegration bilan;
    {
        ProgressionGui progression(this, QStringLiteral("Intégration des codes Sandre"));
        bilan = integrerReferentiel(m_fichier.entrees, progression, nom);
    }
    m_integres += bilan.ajoutes + bilan.modifies;
    QString texte = (bilan.annule ? QStringLiteral("Importation interrompue : ")
                                  : QStringLiteral("Importation terminée : ")) +
                    QString::number(bilan.ajoutes) + QStringLiteral(" code(s) ajouté(s), ") +
                    QString::number(bilan.modifies) + QStringLiteral(" mis à jour, ") +
                    QString::number(bilan.rejetes) + QStringLiteral(" rejeté(s).");
    if (!bilan.erreurs.isEmpty())
        texte += u'\n' + bilan.erreurs.mid(0, 20).join(u'\n') +
                 (bilan.erreurs.size() > 20 ? QStringLiteral("\n...") : QString());
    afficherMessage(bilan.erreurs.isEmpty() ? GENRE_AIDE : GENRE_ERREUR, texte);
}

} // namespace vyk
