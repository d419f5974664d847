#include "ui/monitoring/FichePrelevementPhysicoChmique.h"

#include "db/Messages.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/Droits.h"
#include "ui/widgets/GrilleTextes.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace vyk {

namespace {

const QString FORMAT_DATE = QStringLiteral("JJ/MM/AAAA");
const QString FORMAT_HEURE = QStringLiteral("hh:mm");
const QString DROIT_MODIFICATION = QStringLiteral("QUALITO_FICHE_MODIF");

QStringList titres(const QVector<ColonneSaisie> &colonnes)
{
    QStringList r;
    for (const ColonneSaisie &c : colonnes)
        r << c.titre;
    return r;
}

QVector<EntreesCodees> entrees(const QVector<ColonneSaisie> &colonnes)
{
    QVector<EntreesCodees> r;
    for (const ColonneSaisie &c : colonnes)
        r << entreesColonne(c);
    return r;
}

QVector<QStringList> textes(const LignesPrelevement &lignes)
{
    QVector<QStringList> r;
    for (const LignePrelevement &l : lignes)
        r << l.textes;
    return r;
}

// The grid's texts into the lines, which keep their stored numbers; new rows come last.
void lireGrille(const GrilleTextes *grille, LignesPrelevement &lignes)
{
    const QVector<QStringList> t = grille->lignes();
    lignes.resize(t.size());
    for (int i = 0; i < t.size(); ++i)
        lignes[i].textes = t[i];
}

} // namespace

FichePrelevementPhysicoChmique::FichePrelevementPhysicoChmique(const QString &codeQualitometre,
                                                               const QString &codeBSS,
                                                               const QString &numPrelevement,
                                                               const QString &codeOperation,
                                                               QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("FichePrelevementPhysicoChmique"));
    setWindowTitle(QStringLiteral("Prélèvement physico-chimique"));
    m_edition.definirStation(codeQualitometre, codeBSS);

    auto *disposition = new QVBoxLayout(this);
    disposition->setContentsMargins(4, 4, 4, 4);
    auto *barre = new QToolBar(this);
    barre->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    CmdInsertion = barre->addAction(style()->standardIcon(QStyle::SP_FileIcon),
                                    QStringLiteral("Nouveau prélèvement"), this,
                                    &FichePrelevementPhysicoChmique::cmdInsertion);
    CmdEnregistrer = barre->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton),
                                      QStringLiteral("Enregistrer le prélèvement"), this,
                                      &FichePrelevementPhysicoChmique::enregistrer);
    CmdEnregistrer->setShortcut(QKeySequence::Save);
    CmdSupprimer = barre->addAction(style()->standardIcon(QStyle::SP_TrashIcon),
                                    QStringLiteral("Supprimer le prélèvement"), this,
                                    &FichePrelevementPhysicoChmique::supprimer);
    disposition->addWidget(barre);
    LblEntete = new QLabel(this);
    LblEntete->setTextFormat(Qt::PlainText);
    QFont gras = LblEntete->font();
    gras.setBold(true);
    LblEntete->setFont(gras);
    disposition->addWidget(LblEntete);

    Onglets = new QTabWidget(this);
    auto *fiche = new QWidget;
    construireFiche(fiche);
    Onglets->addTab(fiche, QStringLiteral("Prélèvement"));

    Onglets->addTab(construireGrille(SprFinalites, colonnesFinalites(),
                                     QStringLiteral("Enregistrer les finalités"),
                                     CmdEnregistrerFinalites),
                    QStringLiteral("Finalités"));
    Onglets->addTab(construireGrille(SprDossiers, colonnesDossiers(),
                                     QStringLiteral("Enregistrer les dossiers"),
                                     CmdEnregistrerDossiers),
                    QStringLiteral("Dossiers"));
    Onglets->addTab(construireGrille(SprEchantillons, colonnesEchantillons(),
                                     QStringLiteral("Enregistrer les échantillons"),
                                     CmdEnregistrerEchantillons),
                    QStringLiteral("Echantillons"));
    QWidget *analyses = construireGrille(
        SprAnalyses, colonnesAnalyses(), QStringLiteral("Enregistrer les analyses"),
        CmdEnregistrerAnalyses, &CmdAjouterAnalyse, &CmdSupprimerAnalyse);
    Onglets->addTab(analyses, QStringLiteral("Analyses"));
    SprDossiers->definirColonneFigee(indexColonne(colonnesDossiers(), QStringLiteral("NumDossier")),
                                     true);
    SprEchantillons->definirColonneFigee(
        indexColonne(colonnesEchantillons(), QStringLiteral("NumEchantillon")), true);

    // Options of the analyses grid.
    auto *options = new QHBoxLayout;
    ChkModification = new QCheckBox(QStringLiteral("Modifier les analyses"), analyses);
    ChkAffichageDetail = new QCheckBox(QStringLiteral("Affichage détaillé"), analyses);
    CboStatut = new ComboCodee(analyses);
    CboStatut->definirEntrees(EditionPrelevement::entreesStatutMasse(), ComboCodee::AvecVide);
    CmdStatut = new QPushButton(QStringLiteral("Appliquer le statut"), analyses);
    CboQualification = new ComboCodee(analyses);
    CboQualification->definirEntrees(EditionPrelevement::entreesQualificationMasse(),
                                     ComboCodee::AvecVide);
    CmdQualification = new QPushButton(QStringLiteral("Appliquer la qualification"), analyses);
    CboSelection = new ComboCodee(analyses);
    CboSelection->definirEntrees(EditionPrelevement::selectionsParametres(), ComboCodee::AvecVide);
    CmdAjouterSelection =
        new QPushButton(QStringLiteral("Ajouter les paramètres de la sélection"), analyses);
    options->addWidget(ChkModification);
    options->addWidget(ChkAffichageDetail);
    options->addWidget(CboSelection);
    options->addWidget(CmdAjouterSelection);
    options->addStretch(1);
    options->addWidget(new QLabel(QStringLiteral("Statut :"), analyses));
    options->addWidget(CboStatut);
    options->addWidget(CmdStatut);
    options->addWidget(new QLabel(QStringLiteral("Qualification :"), analyses));
    options->addWidget(CboQualification);
    options->addWidget(CmdQualification);
    static_cast<QVBoxLayout *>(analyses->layout())->insertLayout(0, options);
    connect(ChkModification, &QCheckBox::toggled, this, [this](bool) { chargerAnalyses(); });
    connect(CmdAjouterSelection, &QPushButton::clicked, this, [this] {
        if (!SprAnalyses->estModifiable() || CboSelection->codeSelectionne().isEmpty()) return;
        for (const LignePrelevement &l :
             EditionPrelevement::lignesSelection(CboSelection->codeSelectionne())) {
            const int ligne = SprAnalyses->ajouterLigne();
            for (int c = 0; c < l.textes.size(); ++c)
                SprAnalyses->definirTexte(ligne, c, l.textes[c]);
        }
    });
    connect(ChkAffichageDetail, &QCheckBox::toggled, this, [this](bool) { majColonnesAnalyses(); });
    connect(CmdStatut, &QPushButton::clicked, this, [this] {
        if (m_edition.changerStatutAnalyses(CboStatut->texteSelectionne())) chargerAnalyses();
    });
    connect(CmdQualification, &QPushButton::clicked, this, [this] {
        if (m_edition.changerQualificationAnalyses(CboQualification->texteSelectionne()))
            chargerAnalyses();
    });
    disposition->addWidget(Onglets, 1);

    connect(CmdEnregistrerFinalites, &QPushButton::clicked, this, [this] {
        lireGrille(SprFinalites, m_edition.finalites);
        m_edition.enregistrerFinalites();
        SprFinalites->remplir(textes(m_edition.finalites));
    });
    connect(CmdEnregistrerDossiers, &QPushButton::clicked, this, [this] {
        lireGrille(SprDossiers, m_edition.dossiers);
        if (m_edition.enregistrerDossiers()) chargerAnalyses();
    });
    connect(CmdEnregistrerEchantillons, &QPushButton::clicked, this, [this] {
        lireGrille(SprEchantillons, m_edition.echantillons);
        if (m_edition.enregistrerEchantillons()) chargerAnalyses();
    });
    connect(CmdEnregistrerAnalyses, &QPushButton::clicked, this,
            &FichePrelevementPhysicoChmique::enregistrerAnalyses);

    for (QWidget *w : {static_cast<QWidget *>(CmdEnregistrerFinalites),
                       static_cast<QWidget *>(CmdEnregistrerDossiers),
                       static_cast<QWidget *>(CmdEnregistrerEchantillons),
                       static_cast<QWidget *>(CmdEnregistrerAnalyses)})
        appliquerDroit(w, DROIT_MODIFICATION);
    appliquerDroit(CmdEnregistrer, DROIT_MODIFICATION);
    appliquerDroit(CmdSupprimer, DROIT_MODIFICATION);

    const bool charge = !numPrelevement.trimmed().isEmpty() && m_edition.charger(numPrelevement);
    if (!charge && !codeOperation.trimmed().isEmpty())
        m_edition.chargerOperation(codeOperation);
    else if (!charge)
        m_edition.nouveau();
    // One card per sample in the frame.
    setObjectName(
        QStringLiteral("FichePrelevementPhysicoChmique_") + codeQualitometre.trimmed() + u'_' +
        (m_edition.estEnregistre() ? m_edition.numPrelevement() : QStringLiteral("nouveau")));
    afficher();
}

FichePrelevementPhysicoChmique::~FichePrelevementPhysicoChmique()
{
    ChkModification->disconnect(this);
    ChkAffichageDetail->disconnect(this);
}

void FichePrelevementPhysicoChmique::construireFiche(QWidget *onglet)
{
    auto *cadre = new QWidget;
    auto *grille = new QGridLayout(cadre);
    int ligne = 0, colonne = 0;
    for (const ColonneSaisie &c : champsPrelevement()) {
        QWidget *w = nullptr;
        const bool large = c.genre == GenreCellule::Texte && c.taille == 0;
        if (c.colonne == QLatin1String("codeOperation")) {
            m_operation = new ComboCodee(cadre);
            w = m_operation;
        } else if (large) {
            auto *t = new QPlainTextEdit(cadre);
            t->setTabChangesFocus(true);
            t->setMaximumHeight(t->fontMetrics().height() * 4);
            w = t;
        } else if (c.genre == GenreCellule::Code) {
            auto *b = new ComboCodee(cadre);
            b->definirEntrees(entreesColonne(c), ComboCodee::AvecVide);
            w = b;
        } else if (c.genre == GenreCellule::Case) {
            w = new QCheckBox(cadre);
        } else {
            auto *t = new QLineEdit(cadre);
            if (c.taille > 0) t->setMaxLength(c.taille);
            if (c.genre == GenreCellule::Date) t->setPlaceholderText(FORMAT_DATE);
            if (c.genre == GenreCellule::Heure) t->setPlaceholderText(FORMAT_HEURE);
            w = t;
        }
        w->setObjectName(QStringLiteral("Champ") + c.colonne);
        m_champs.insert(c.colonne, w);
        auto *etiquette = new QLabel(c.titre + QStringLiteral(" :"), cadre);
        etiquette->setBuddy(w);
        if (large && colonne != 0) {
            ++ligne;
            colonne = 0;
        }
        grille->addWidget(etiquette, ligne, colonne * 2, large ? Qt::AlignTop : Qt::Alignment());
        grille->addWidget(w, ligne, colonne * 2 + 1, 1, large ? 3 : 1);
        if (large || colonne == 1) {
            ++ligne;
            colonne = 0;
        } else {
            colonne = 1;
        }
    }
    grille->setColumnStretch(1, 1);
    grille->setColumnStretch(3, 1);
    grille->setRowStretch(ligne + 1, 1);
    auto *defilement = new QScrollArea(onglet);
    defilement->setWidgetResizable(true);
    defilement->setFrameShape(QFrame::NoFrame);
    defilement->setWidget(cadre);
    auto *d = new QVBoxLayout(onglet);
    d->setContentsMargins(0, 0, 0, 0);
    d->addWidget(defilement);
}

QWidget *FichePrelevementPhysicoChmique::construireGrille(
    GrilleTextes *&grille, const QVector<ColonneSaisie> &colonnes, const QString &libelle,
    QPushButton *&cmdEnregistrer, QPushButton **cmdAjouter, QPushButton **cmdSupprimer)
{
    auto *onglet = new QWidget;
    auto *d = new QVBoxLayout(onglet);
    grille = new GrilleTextes(onglet);
    grille->definirColonnes(titres(colonnes), entrees(colonnes));
    d->addWidget(grille, 1);
    auto *boutons = new QHBoxLayout;
    auto *ajouter = new QPushButton(QStringLiteral("Ajouter une ligne"), onglet);
    auto *retirer = new QPushButton(QStringLiteral("Supprimer la ligne"), onglet);
    cmdEnregistrer =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogSaveButton), libelle, onglet);
    boutons->addWidget(ajouter);
    boutons->addWidget(retirer);
    boutons->addStretch(1);
    boutons->addWidget(cmdEnregistrer);
    d->addLayout(boutons);
    if (cmdAjouter) *cmdAjouter = ajouter;
    if (cmdSupprimer) *cmdSupprimer = retirer;
    GrilleTextes *g = grille;
    connect(ajouter, &QPushButton::clicked, this, [g] {
        if (g->estModifiable()) g->ajouterLigne();
    });
    connect(retirer, &QPushButton::clicked, this, [this, g] {
        const int ligne = g->ligneCourante();
        LignesPrelevement *lignes = g == SprFinalites      ? &m_edition.finalites
                                    : g == SprDossiers     ? &m_edition.dossiers
                                    : g == SprEchantillons ? &m_edition.echantillons
                                                           : &m_edition.analyses;
        lireGrille(g, *lignes);
        const bool ok = g == SprFinalites      ? m_edition.supprimerFinalite(ligne)
                        : g == SprDossiers     ? m_edition.supprimerDossier(ligne)
                        : g == SprEchantillons ? m_edition.supprimerEchantillon(ligne)
                                               : m_edition.supprimerAnalyse(ligne);
        if (ok) g->retirerLigne(ligne);
    });
    return onglet;
}

void FichePrelevementPhysicoChmique::afficher()
{
    const QString numero = m_edition.estEnregistre()
                               ? QStringLiteral("prélèvement n° ") + m_edition.numPrelevement()
                               : QStringLiteral("nouveau prélèvement");
    LblEntete->setText(
        QStringLiteral("Qualitomètre ") + m_edition.codeBSS() + QStringLiteral(" - ") + numero +
        (m_edition.point.isEmpty() ? QString() : QStringLiteral(" - point ") + m_edition.point));
    m_operation->definirEntrees(m_edition.operations(), ComboCodee::AvecVide);
    for (const ColonneSaisie &c : champsPrelevement()) {
        QWidget *w = m_champs.value(c.colonne);
        const QString v = m_edition.champs.value(c.colonne);
        if (auto *t = qobject_cast<QLineEdit *>(w))
            t->setText(v);
        else if (auto *p = qobject_cast<QPlainTextEdit *>(w))
            p->setPlainText(v);
        else if (auto *b = qobject_cast<ComboCodee *>(w)) {
            if (!b->selectionnerCode(codeCellule(v))) b->selectionnerCode(QString());
        } else if (auto *k = qobject_cast<QCheckBox *>(w))
            k->setChecked(v == QLatin1String("1"));
    }
    CmdSupprimer->setEnabled(m_edition.estEnregistre());
    afficherGrilles();
}

void FichePrelevementPhysicoChmique::lireChamps()
{
    for (const ColonneSaisie &c : champsPrelevement()) {
        QWidget *w = m_champs.value(c.colonne);
        QString v;
        if (auto *t = qobject_cast<QLineEdit *>(w))
            v = t->text();
        else if (auto *p = qobject_cast<QPlainTextEdit *>(w))
            v = p->toPlainText();
        else if (auto *b = qobject_cast<ComboCodee *>(w))
            v = b->codeSelectionne();
        else if (auto *k = qobject_cast<QCheckBox *>(w))
            v = k->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
        m_edition.champs.insert(c.colonne, v);
    }
}

void FichePrelevementPhysicoChmique::afficherGrilles()
{
    SprFinalites->remplir(textes(m_edition.finalites));
    SprDossiers->remplir(textes(m_edition.dossiers));
    SprEchantillons->remplir(textes(m_edition.echantillons));
    SprAnalyses->remplir(textes(m_edition.analyses));
    SprAnalyses->definirModifiable(ChkModification->isChecked());
    majColonnesAnalyses();
}

void FichePrelevementPhysicoChmique::majColonnesAnalyses()
{
    QVector<bool> visibles;
    for (const ColonneSaisie &c : colonnesAnalyses())
        visibles << (!c.detail || ChkAffichageDetail->isChecked());
    SprAnalyses->afficherColonnes(visibles);
}

// "Chargement de l'analyse": the grids are read again (editing switched on or off, a save).
void FichePrelevementPhysicoChmique::chargerAnalyses()
{
    m_edition.chargerGrilles();
    afficherGrilles();
}

void FichePrelevementPhysicoChmique::cmdInsertion()
{
    m_edition.nouveau(m_operation ? m_operation->codeSelectionne() : QString());
    afficher();
    Onglets->setCurrentIndex(0);
}

void FichePrelevementPhysicoChmique::enregistrer()
{
    lireChamps();
    if (!m_edition.enregistrer()) return;
    m_edition.chargerGrilles();
    afficher();
    emit prelevementModifie();
}

void FichePrelevementPhysicoChmique::enregistrerAnalyses()
{
    lireGrille(SprAnalyses, m_edition.analyses);
    if (!m_edition.enregistrerAnalyses()) return;
    chargerAnalyses();
    emit prelevementModifie();
}

void FichePrelevementPhysicoChmique::supprimer()
{
    if (!m_edition.supprimer()) return;
    afficher();
    emit prelevementModifie();
}

} // namespace vyk
