#include "ui/monitoring/FichePrelevementPhysicoChmique.h"

#include "db/Messages.h"
#include "ui/widgets/ChampsFormulaire.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/Droits.h"
#include "ui/widgets/Formulaire.h"
#include "ui/widgets/GrilleSaisie.h"
#include "users/Habilitations.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace vyk {

namespace {

// The grid's columns; figee is shown and not typed.
QVector<GrilleSaisie::Colonne> colonnesGrille(const QVector<ColonneGrille> &colonnes,
                                              const QString &figee)
{
    QVector<GrilleSaisie::Colonne> r;
    for (const ColonneGrille &c : colonnes) {
        const bool lecture = !figee.isEmpty() && c.colonne == figee;
        r.append({c.libelle, c.nature, entreesColonne(c), lecture});
    }
    return r;
}

// Coded cells are written as the sample's texts ("label [code]" or the code) and read back as
// codes, which the sample takes as well.
void afficherLignes(GrilleSaisie *grille, const LignesPrelevement &lignes)
{
    QVector<QStringList> t;
    t.reserve(lignes.size());
    for (const LignePrelevement &l : lignes)
        t << l.textes;
    grille->remplir(t);
    grille->ajusterLargeurs();
}

// The grid's texts into the lines, which keep their stored numbers; new rows come last.
void lireGrille(GrilleSaisie *grille, LignesPrelevement &lignes)
{
    grille->validerSaisie();
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
    : Fiche(parent), m_station(codeQualitometre.trimmed())
{
    setObjectName(QStringLiteral("FichePrelevementPhysicoChmique"));
    setWindowTitle(QStringLiteral("Prélèvement physico-chimique"));
    // Wide enough for the analyses grid and its commands; the frame keeps it inside the area.
    resize(1150, 720);
    m_edition.definirStation(codeQualitometre, codeBSS);

    auto *disposition = new QVBoxLayout(this);
    disposition->setContentsMargins(4, 4, 4, 4);
    auto *barre = new QToolBar(this);
    barre->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    CmdInsertion = barre->addAction(
        style()->standardIcon(QStyle::SP_FileIcon), QStringLiteral("Nouveau prélèvement"), this,
        [this] { emit nouveauDemande(m_operation ? m_operation->codeSelectionne() : QString()); });
    CmdEnregistrer = barre->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton),
                                      QStringLiteral("Enregistrer le prélèvement"), this,
                                      &FichePrelevementPhysicoChmique::enregistrer);
    CmdSupprimer = barre->addAction(style()->standardIcon(QStyle::SP_TrashIcon),
                                    QStringLiteral("Supprimer le prélèvement"), this,
                                    &FichePrelevementPhysicoChmique::supprimer);
    disposition->addWidget(barre);
    definirBoutonParDefaut(qobject_cast<QAbstractButton *>(barre->widgetForAction(CmdEnregistrer)));
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
                                     CmdEnregistrerDossiers, QStringLiteral("NumDossier")),
                    QStringLiteral("Dossiers"));
    Onglets->addTab(construireGrille(SprEchantillons, colonnesEchantillons(),
                                     QStringLiteral("Enregistrer les échantillons"),
                                     CmdEnregistrerEchantillons, QStringLiteral("NumEchantillon")),
                    QStringLiteral("Echantillons"));
    QWidget *analyses = construireGrille(
        SprAnalyses, colonnesAnalyses(), QStringLiteral("Enregistrer les analyses"),
        CmdEnregistrerAnalyses, {}, &CmdAjouterAnalyse, &CmdSupprimerAnalyse);
    Onglets->addTab(analyses, QStringLiteral("Analyses"));

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
    // On a second line: on one, the card could not be narrower than the work area.
    auto *masse = new QHBoxLayout;
    masse->addWidget(new QLabel(QStringLiteral("Statut :"), analyses));
    masse->addWidget(CboStatut);
    masse->addWidget(CmdStatut);
    masse->addSpacing(16);
    masse->addWidget(new QLabel(QStringLiteral("Qualification :"), analyses));
    masse->addWidget(CboQualification);
    masse->addWidget(CmdQualification);
    masse->addStretch(1);
    static_cast<QVBoxLayout *>(analyses->layout())->insertLayout(0, masse);
    static_cast<QVBoxLayout *>(analyses->layout())->insertLayout(0, options);
    connect(ChkModification, &QCheckBox::toggled, this, [this](bool) { chargerAnalyses(); });
    connect(CmdAjouterSelection, &QPushButton::clicked, this, [this] {
        if (!SprAnalyses->estModifiable() || CboSelection->codeSelectionne().isEmpty()) return;
        for (const LignePrelevement &l :
             EditionPrelevement::lignesSelection(CboSelection->codeSelectionne())) {
            const int ligne = SprAnalyses->ajouterLigne();
            for (int c = 0; c < l.textes.size(); ++c)
                SprAnalyses->definirTexte(ligne, c, l.textes[c]);
            SprAnalyses->selectionnerLigne(ligne);
        }
    });
    connect(ChkAffichageDetail, &QCheckBox::toggled, this, [this](bool) { majColonnesAnalyses(); });
    connect(CmdStatut, &QPushButton::clicked, this, [this] {
        if (montrer(m_edition.changerStatutAnalyses(CboStatut->texteSelectionne())))
            chargerAnalyses();
    });
    connect(CmdQualification, &QPushButton::clicked, this, [this] {
        if (montrer(m_edition.changerQualificationAnalyses(CboQualification->texteSelectionne())))
            chargerAnalyses();
    });
    disposition->addWidget(Onglets, 1);

    connect(CmdEnregistrerFinalites, &QPushButton::clicked, this, [this] {
        lireGrille(SprFinalites, m_edition.finalites);
        montrer(m_edition.enregistrerFinalites());
        afficherLignes(SprFinalites, m_edition.finalites);
    });
    connect(CmdEnregistrerDossiers, &QPushButton::clicked, this, [this] {
        lireGrille(SprDossiers, m_edition.dossiers);
        if (montrer(m_edition.enregistrerDossiers())) chargerAnalyses();
    });
    connect(CmdEnregistrerEchantillons, &QPushButton::clicked, this, [this] {
        lireGrille(SprEchantillons, m_edition.echantillons);
        if (montrer(m_edition.enregistrerEchantillons())) chargerAnalyses();
    });
    connect(CmdEnregistrerAnalyses, &QPushButton::clicked, this,
            &FichePrelevementPhysicoChmique::enregistrerAnalyses);

    nommerControles({{LblEntete, "LblEntete"},
                     {Onglets, "Onglets"},
                     {CmdInsertion, "CmdInsertion"},
                     {CmdEnregistrer, "CmdEnregistrer"},
                     {CmdSupprimer, "CmdSupprimer"},
                     {SprFinalites, "SprFinalites"},
                     {SprDossiers, "SprDossiers"},
                     {SprEchantillons, "SprEchantillons"},
                     {SprAnalyses, "SprAnalyses"},
                     {CmdEnregistrerFinalites, "CmdEnregistrerFinalites"},
                     {CmdEnregistrerDossiers, "CmdEnregistrerDossiers"},
                     {CmdEnregistrerEchantillons, "CmdEnregistrerEchantillons"},
                     {CmdEnregistrerAnalyses, "CmdEnregistrerAnalyses"},
                     {CmdAjouterAnalyse, "CmdAjouterAnalyse"},
                     {CmdSupprimerAnalyse, "CmdSupprimerAnalyse"},
                     {ChkModification, "ChkModification"},
                     {ChkAffichageDetail, "ChkAffichageDetail"},
                     {CboStatut, "CboStatut"},
                     {CboQualification, "CboQualification"},
                     {CmdStatut, "CmdStatut"},
                     {CmdQualification, "CmdQualification"},
                     {CboSelection, "CboSelection"},
                     {CmdAjouterSelection, "CmdAjouterSelection"}});

    // The sample's own grids belong to its card; the analyses are measurements.
    for (int i = 1; i < Onglets->count(); ++i) {
        QWidget *onglet = Onglets->widget(i);
        const QString &droitOnglet =
            onglet == analyses ? droit::QUALITO_DATA_MODIF : droit::QUALITO_FICHE_MODIF;
        for (QPushButton *b : onglet->findChildren<QPushButton *>())
            appliquerDroit(b, droitOnglet);
    }
    appliquerDroit(ChkModification, droit::QUALITO_DATA_MODIF);
    appliquerDroit(CmdInsertion, droit::QUALITO_FICHE_MODIF);
    appliquerDroit(CmdEnregistrer, droit::QUALITO_FICHE_MODIF);
    appliquerDroit(CmdSupprimer, droit::QUALITO_FICHE_SUPPR);

    const bool charge =
        !numPrelevement.trimmed().isEmpty() && montrer(m_edition.charger(numPrelevement));
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

QString FichePrelevementPhysicoChmique::cleFenetre() const
{
    return m_edition.estEnregistre() ? QStringLiteral("FichePrelevementPhysicoChmique_") +
                                           m_station + u'_' + m_edition.numPrelevement()
                                     : QString();
}

void FichePrelevementPhysicoChmique::construireFiche(QWidget *onglet)
{
    auto *cadre = new QWidget;
    DispositionFormulaire disposition(cadre);
    for (const ColonneGrille &c : champsPrelevement()) {
        ChampDecrit champ = c;
        OptionsChamp options;
        // The operation is chosen among the station's, listed when the sample is shown.
        if (c.colonne == QLatin1String("codeOperation"))
            champ.nature = NatureChamp::Code;
        else if (c.nature == NatureChamp::Code)
            options.entrees = entreesColonne(c);
        // A text the column does not limit is a memo.
        if (c.nature == NatureChamp::Texte && c.taille == 0) champ.nature = NatureChamp::Memo;
        QWidget *w = m_formulaire.ajouter(disposition, champ, options);
        if (c.colonne == QLatin1String("codeOperation")) m_operation = static_cast<ComboCodee *>(w);
    }
    disposition.terminer();
    suivreChamps(m_formulaire.ordre());
    auto *d = new QVBoxLayout(onglet);
    d->setContentsMargins(0, 0, 0, 0);
    d->addWidget(formulaireDefilant(cadre, onglet));
}

QWidget *FichePrelevementPhysicoChmique::construireGrille(
    GrilleSaisie *&grille, const QVector<ColonneGrille> &colonnes, const QString &libelle,
    QPushButton *&cmdEnregistrer, const QString &figee, QPushButton **cmdAjouter,
    QPushButton **cmdSupprimer)
{
    auto *onglet = new QWidget;
    auto *d = new QVBoxLayout(onglet);
    grille = new GrilleSaisie(onglet);
    grille->horizontalHeader()->setStretchLastSection(true);
    grille->definirColonnes(colonnesGrille(colonnes, figee));
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
    GrilleSaisie *g = grille;
    connect(ajouter, &QPushButton::clicked, this, [g] {
        if (g->estModifiable()) g->selectionnerLigne(g->ajouterLigne());
    });
    connect(retirer, &QPushButton::clicked, this, [this, g] {
        const int ligne = g->ligneCourante();
        LignesPrelevement *lignes = g == SprFinalites      ? &m_edition.finalites
                                    : g == SprDossiers     ? &m_edition.dossiers
                                    : g == SprEchantillons ? &m_edition.echantillons
                                                           : &m_edition.analyses;
        lireGrille(g, *lignes);
        const CompteRendu fin = g == SprFinalites      ? m_edition.supprimerFinalite(ligne)
                                : g == SprDossiers     ? m_edition.supprimerDossier(ligne)
                                : g == SprEchantillons ? m_edition.supprimerEchantillon(ligne)
                                                       : m_edition.supprimerAnalyse(ligne);
        if (montrer(fin)) g->retirerLigne(ligne);
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
    for (const ColonneGrille &c : champsPrelevement())
        m_formulaire.afficher(c.colonne, m_edition.champs.value(c.colonne));
    CmdSupprimer->setEnabled(m_edition.estEnregistre());
    afficherGrilles();
    marquerEnregistree();
}

void FichePrelevementPhysicoChmique::lireChamps()
{
    for (const ColonneGrille &c : champsPrelevement())
        m_edition.champs.insert(c.colonne, m_formulaire.valeur(c.colonne));
}

void FichePrelevementPhysicoChmique::afficherGrilles()
{
    afficherLignes(SprFinalites, m_edition.finalites);
    afficherLignes(SprDossiers, m_edition.dossiers);
    afficherLignes(SprEchantillons, m_edition.echantillons);
    afficherLignes(SprAnalyses, m_edition.analyses);
    // Lines are added and removed only while the analyses are open to editing.
    const bool modifiable = ChkModification->isChecked();
    SprAnalyses->definirModifiable(modifiable);
    for (QPushButton *b : {CmdAjouterAnalyse, CmdSupprimerAnalyse, CmdAjouterSelection}) {
        b->setEnabled(modifiable);
        b->setToolTip(
            modifiable
                ? QString()
                : QStringLiteral("Cochez « Modifier les analyses » pour modifier les lignes."));
    }
    majColonnesAnalyses();
}

void FichePrelevementPhysicoChmique::majColonnesAnalyses()
{
    QVector<bool> visibles;
    for (const ColonneGrille &c : colonnesAnalyses())
        visibles << (!c.detail || ChkAffichageDetail->isChecked());
    SprAnalyses->afficherColonnes(visibles);
}

// "Chargement de l'analyse": the grids are read again (editing switched on or off, a save).
void FichePrelevementPhysicoChmique::chargerAnalyses()
{
    m_edition.chargerGrilles();
    afficherGrilles();
}

bool FichePrelevementPhysicoChmique::enregistrer()
{
    lireChamps();
    if (refuser(m_edition.verifierFiche()) || !montrer(m_edition.enregistrer())) return false;
    m_edition.chargerGrilles();
    afficher();
    emit prelevementModifie();
    return true;
}

void FichePrelevementPhysicoChmique::enregistrerAnalyses()
{
    lireGrille(SprAnalyses, m_edition.analyses);
    if (!montrer(m_edition.enregistrerAnalyses())) return;
    chargerAnalyses();
    emit prelevementModifie();
}

void FichePrelevementPhysicoChmique::supprimer()
{
    if (!montrer(m_edition.supprimer())) return;
    afficher();
    emit prelevementModifie();
}

} // namespace vyk
