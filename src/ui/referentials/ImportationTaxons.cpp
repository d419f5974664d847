#include "ui/referentials/ImportationTaxons.h"

#include "app/Registre.h"
#include "db/Messages.h"
#include "referentials/UsageTaxons.h"
#include "ui/widgets/Ecran.h"
#include "ui/widgets/GrilleDonnees.h"
#include "ui/widgets/ProgressionGui.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vyk {

namespace {
const QString REGLAGE_DOSSIER = QStringLiteral("DossierImportTaxons");
} // namespace

ImportationTaxons::ImportationTaxons(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ImportationTaxons"));
    setWindowTitle(QStringLiteral("Importer une liste de taxons"));
    resize(1100, 620);
    auto *disposition = new QVBoxLayout(this);
    LblInformation = new QLabel(
        texteImportTaxons::FORMAT_CSV +
            QStringLiteral(
                " Colonnes, dans l'ordre : le code, le nom latin, le statut, date de creation, "
                "date "
                "de mise à jour, redacteur, nom commun, auteur, arbre taxonomique, theme, parent, "
                "code omnidia. Le référentiel des taxons au format XML du SANDRE (éléments "
                "AppelTaxon) est également accepté."),
        this);
    LblInformation->setWordWrap(true);
    disposition->addWidget(LblInformation);

    auto *ligneFichier = new QHBoxLayout;
    TxtFichier = new QLineEdit(this);
    TxtFichier->setReadOnly(true);
    CmdParcourir = new QPushButton(QStringLiteral("Parcourir..."), this);
    ligneFichier->addWidget(new QLabel(QStringLiteral("Fichier :"), this));
    ligneFichier->addWidget(TxtFichier, 1);
    ligneFichier->addWidget(CmdParcourir);
    disposition->addLayout(ligneFichier);

    SprApercu = new GrilleDonnees(this);
    SprApercu->remplir(entetesImportTaxons(), {});
    disposition->addWidget(SprApercu, 1);
    LblNbLignes = new QLabel(texteImportTaxons::NB_LIGNES + u'0', this);
    disposition->addWidget(LblNbLignes);

    auto *options = new QHBoxLayout;
    auto *mode = new QGroupBox(QStringLiteral("Mode"), this);
    auto *dispMode = new QHBoxLayout(mode);
    OptMiseAJour = new QRadioButton(QStringLiteral("Mise à jour des taxons existants"), mode);
    OptComplet = new QRadioButton(QStringLiteral("Import complet du fichier"), mode);
    OptMiseAJour->setChecked(true);
    dispMode->addWidget(OptMiseAJour);
    dispMode->addWidget(OptComplet);
    ChkActiver = new QCheckBox(QStringLiteral("&Activer automatiquement les éléments"), this);
    options->addWidget(mode);
    options->addWidget(ChkActiver);
    options->addStretch(1);
    disposition->addLayout(options);

    auto *boutons = new QHBoxLayout;
    CmdActiver = new QPushButton(QStringLiteral("Activer les taxons"), this);
    CmdDemarrer = new QPushButton(QStringLiteral("Démarrer l'importation"), this);
    CmdDemarrer->setEnabled(false);
    CmdFermer = new QPushButton(QStringLiteral("Fermer"), this);
    boutons->addWidget(CmdActiver);
    boutons->addStretch(1);
    boutons->addWidget(CmdDemarrer);
    boutons->addWidget(CmdFermer);
    disposition->addLayout(boutons);

    nommerControles({{LblInformation, "LblInformation"},
                     {TxtFichier, "TxtFichier"},
                     {CmdParcourir, "CmdParcourir"},
                     {SprApercu, "SprApercu"},
                     {LblNbLignes, "LblNbLignes"},
                     {ChkActiver, "ChkActiver"},
                     {OptMiseAJour, "OptMiseAJour"},
                     {OptComplet, "OptComplet"},
                     {CmdDemarrer, "CmdDemarrer"},
                     {CmdActiver, "CmdActiver"},
                     {CmdFermer, "CmdFermer"}});
    connect(CmdParcourir, &QPushButton::clicked, this, [this] {
        const QString chemin = QFileDialog::getOpenFileName(
            this, QStringLiteral("Fichier de taxons"), lireRegistre(REGLAGE_DOSSIER, {}, true),
            QStringLiteral("Taxons (*.csv *.xml);;Fichiers CSV (*.csv);;Référentiel XML (*.xml)"));
        if (!chemin.isEmpty()) choisirFichier(chemin);
    });
    connect(CmdDemarrer, &QPushButton::clicked, this, &ImportationTaxons::demarrer);
    connect(CmdActiver, &QPushButton::clicked, this, &ImportationTaxons::activer);
    connect(CmdFermer, &QPushButton::clicked, this, &QDialog::accept);
}

bool ImportationTaxons::choisirFichier(const QString &chemin)
{
    TxtFichier->setText(QDir::toNativeSeparators(chemin));
    ecrireRegistre(REGLAGE_DOSSIER, QFileInfo(chemin).absolutePath());
    m_fichier = {};
    QString erreur;
    bool ok = false;
    {
        ProgressionGui progression(this, QStringLiteral("Chargement du fichier"));
        ok = lireFichierTaxons(chemin, m_fichier, erreur, progression);
    }
    QVector<QStringList> lignes;
    lignes.reserve(m_fichier.lignes.size());
    for (const LigneImportTaxon &l : std::as_const(m_fichier.lignes))
        lignes.append(l.textes());
    SprApercu->remplir(entetesImportTaxons(), lignes);
    LblNbLignes->setText(texteImportTaxons::NB_LIGNES + QString::number(lignes.size()));
    CmdDemarrer->setEnabled(ok);
    if (!ok) afficherMessage(GENRE_ERREUR, erreur);
    return ok;
}

void ImportationTaxons::demarrer()
{
    if (m_fichier.lignes.isEmpty()) {
        afficherMessage(GENRE_ERREUR, texteImportTaxons::AUCUNE_DONNEE);
        return;
    }
    {
        ProgressionGui progression(this, QStringLiteral("Intégration taxons"));
        m_bilan = integrerTaxons(m_fichier,
                                 OptComplet->isChecked() ? ModeImportTaxons::Complet
                                                         : ModeImportTaxons::MiseAJour,
                                 ChkActiver->isChecked(), progression);
    }
    m_integres += m_bilan.ajoutes + m_bilan.modifies;
    QString texte =
        m_bilan.defait
            ? QStringLiteral("L'importation a été annulée : aucun taxon n'a été modifié.")
            : (m_bilan.interrompu ? QStringLiteral("Importation interrompue : ")
                                  : QStringLiteral("Importation terminée : ")) +
                  QString::number(m_bilan.ajoutes) + QStringLiteral(" taxon(s) ajouté(s), ") +
                  QString::number(m_bilan.modifies) + QStringLiteral(" mis à jour, ") +
                  QString::number(m_bilan.ignores) +
                  QStringLiteral(" absent(s) du référentiel ignoré(s), ") +
                  QString::number(m_bilan.rejetes) + QStringLiteral(" rejeté(s), ") +
                  QString::number(m_bilan.themesAjoutes) + QStringLiteral(" thème(s) ajouté(s).");
    if (!m_bilan.defait && m_bilan.activesUtilises > 0)
        texte += QStringLiteral("\n") + QString::number(m_bilan.activesUtilises) +
                 QStringLiteral(" taxon(s) utilisé(s) activé(s).");
    afficherMessage(GENRE_AIDE, texte);
}

void ImportationTaxons::activer()
{
    int n = 0, echecs = 0;
    {
        ProgressionGui progression(this, QStringLiteral("Activation des taxons"));
        n = activerTaxonsUtilises(progression, &echecs);
    }
    m_integres += n;
    afficherMessage(
        echecs ? GENRE_ERREUR : GENRE_AIDE,
        QString::number(n) + QStringLiteral(" taxon(s) activé(s).") +
            (echecs ? QStringLiteral(" Une partie des listes n'a pas pu être lue.") : QString()));
}

} // namespace vyk
