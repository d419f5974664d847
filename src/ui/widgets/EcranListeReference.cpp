#include "ui/widgets/EcranListeReference.h"

#include "db/Messages.h"
#include "referentials/ModeleListeReference.h"
#include "ui/widgets/DialogueExport.h"
#include "ui/widgets/GrilleDonnees.h"
#include "users/Habilitations.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QStandardPaths>
#include <QStyle>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace vyk {

EcranListeReference::EcranListeReference(ModeleListeReference &modele, const Libelles &libelles,
                                         QWidget *parent)
    : Ecran(parent), m_modele(modele)
{
    auto *disposition = new QVBoxLayout(this);
    disposition->setContentsMargins(4, 4, 4, 4);

    m_barre = new QToolBar(this);
    m_barre->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QStyle *s = style();
    m_inserer = m_barre->addAction(s->standardIcon(QStyle::SP_FileIcon), libelles.inserer, this,
                                   &EcranListeReference::declencheInserer);
    m_supprimer = m_barre->addAction(s->standardIcon(QStyle::SP_TrashIcon), libelles.supprimer,
                                     this, &EcranListeReference::DeclencheSupprimer);
    m_enregistrer =
        m_barre->addAction(s->standardIcon(QStyle::SP_DialogSaveButton), libelles.enregistrer, this,
                           &EcranListeReference::declencheEnregistrer);
    m_enregistrer->setShortcut(QKeySequence::Save);
    if (!libelles.outils.isEmpty()) {
        m_barre->addSeparator();
        m_outils = m_barre->addAction(s->standardIcon(QStyle::SP_DirOpenIcon), libelles.outils,
                                      this, &EcranListeReference::DeclencheOutils);
    }
    // Two rows: the record's commands and the import, then the list's (export, its own, help).
    m_barreSecondaire = new QToolBar(this);
    m_barreSecondaire->setObjectName(QStringLiteral("BarreSecondaire"));
    m_barreSecondaire->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_excel = m_barreSecondaire->addAction(s->standardIcon(QStyle::SP_FileDialogDetailedView),
                                           QStringLiteral("Exporter la liste"), this,
                                           &EcranListeReference::DeclencheExcel);
    TxtRecherche = new QLineEdit(this);
    TxtRecherche->setPlaceholderText(QStringLiteral("Rechercher"));
    // Wide enough for its hint ("Rec…" otherwise).
    TxtRecherche->setMinimumWidth(
        TxtRecherche->fontMetrics().horizontalAdvance(QStringLiteral("Rechercher")) + 36);
    TxtRecherche->setMaximumWidth(160);
    TxtRecherche->setClearButtonEnabled(true);
    connect(TxtRecherche, &QLineEdit::returnPressed, this, [this] {
        if (!TxtRecherche->text().trimmed().isEmpty())
            RechercheElement(TxtRecherche->text().trimmed());
    });
    m_avantAide = m_barreSecondaire->addSeparator();
    QAction *aide = m_barreSecondaire->addAction(s->standardIcon(QStyle::SP_DialogHelpButton),
                                                 QStringLiteral("Aide"), this,
                                                 &EcranListeReference::DeclencheAide);
    aide->setShortcut(QKeySequence::HelpContents);
    disposition->addWidget(m_barre);
    disposition->addWidget(m_barreSecondaire);

    m_filtres = new QVBoxLayout;
    disposition->addLayout(m_filtres);
    // The code search heads the filters: in the tool bar it pushed the list's own commands
    // behind the overflow arrow.
    auto *recherche = new QHBoxLayout;
    recherche->addWidget(new QLabel(QStringLiteral("Code :"), this));
    recherche->addWidget(TxtRecherche);
    recherche->addStretch(1);
    m_filtres->addLayout(recherche);

    auto *separation = new QSplitter(Qt::Vertical, this);
    SprListe = new GrilleDonnees(separation);
    auto *cadreFiche = new QWidget(separation);
    m_fiche = new QVBoxLayout(cadreFiche);
    m_fiche->setContentsMargins(0, 4, 0, 0);
    separation->setStretchFactor(0, 3);
    separation->setStretchFactor(1, 2);
    separation->setChildrenCollapsible(false);
    disposition->addWidget(separation, 1);

    connect(SprListe, &GrilleDonnees::ligneChoisie, this,
            [this](int ligne) { afficherLigne(ligne); });
    reserverAuxEditeurs({m_inserer, m_supprimer, m_enregistrer, m_outils});
}

void EcranListeReference::ajouterCommandes(const QList<QAction *> &commandes)
{
    m_barreSecondaire->insertActions(m_avantAide, commandes);
}

QToolBar *EcranListeReference::nouvelleRangee()
{
    auto *barre = new QToolBar(this);
    barre->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto *disposition = static_cast<QVBoxLayout *>(layout());
    const QList<QToolBar *> rangees = findChildren<QToolBar *>(Qt::FindDirectChildrenOnly);
    disposition->insertWidget(disposition->indexOf(rangees.value(rangees.size() - 2)) + 1, barre);
    return barre;
}

void EcranListeReference::reserverAuxEditeurs(std::initializer_list<QObject *> commandes)
{
    const bool editeur = peutModifierReferentiels();
    for (QObject *c : commandes) {
        if (auto *action = qobject_cast<QAction *>(c))
            action->setVisible(editeur);
        else if (auto *widget = qobject_cast<QWidget *>(c))
            widget->setVisible(editeur);
    }
}

bool EcranListeReference::RempliSpr()
{
    const bool ok = m_modele.charger();
    SprListe->remplir(m_modele.grille().entetes, m_modele.grille().lignes);
    return ok;
}

bool EcranListeReference::exporterVers(const QString &chemin)
{
    return montrer(m_modele.exporter(chemin));
}

void EcranListeReference::DeclencheExcel()
{
    const QString dossier = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString chemin = demanderCheminExport(this, QStringLiteral("Exporter la liste"),
                                                QDir(dossier).filePath(m_modele.nomExport()));
    if (chemin.isEmpty()) return;
    if (exporterVers(chemin))
        afficherMessage(GENRE_AIDE, QStringLiteral("La liste a été exportée dans le fichier ") +
                                        QDir::toNativeSeparators(chemin) + u'.');
}

void EcranListeReference::RechercheElement(const QString &code)
{
    const int ligne = m_modele.rechercherElement(code);
    if (ligne >= 0)
        SprListe->selectionnerLigne(ligne);
    else
        afficherMessage(GENRE_ERREUR, ModeleListeReference::texteIntrouvable(code));
}

void EcranListeReference::DeclencheAide()
{
    const QString page = m_modele.pageAide();
    const QString chemin = QDir(QCoreApplication::applicationDirPath())
                               .filePath(QStringLiteral("aide/") + page + QStringLiteral(".html"));
    if (page.isEmpty() || !QFileInfo::exists(chemin) ||
        !QDesktopServices::openUrl(QUrl::fromLocalFile(chemin)))
        afficherMessage(GENRE_INFO, QStringLiteral("L'aide de cet écran n'est pas installée."));
}

} // namespace vyk
