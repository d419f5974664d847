#include "ui/referentials/ListeTaxons.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/Messages.h"
#include "referentials/ModeleTraits.h"
#include "ui/referentials/ImportationTaxons.h"
#include "ui/referentials/ListeTraits.h"
#include "ui/referentials/PresenceTaxonDialogue.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/Fiche.h"
#include "ui/widgets/FichePhotos.h"
#include "ui/widgets/Formulaire.h"
#include "ui/widgets/GrilleDonnees.h"
#include "ui/widgets/GrilleSaisie.h"
#include "ui/widgets/ProgressionGui.h"

#include <QAction>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
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

QPlainTextEdit *zoneTexte(QWidget *parent, int lignes = 3)
{
    auto *t = new QPlainTextEdit(parent);
    t->setTabChangesFocus(true);
    t->setMaximumHeight(t->fontMetrics().height() * (lignes + 1));
    return t;
}
} // namespace

ListeTaxons::ListeTaxons(QWidget *parent)
    : EcranListeReference(
          m_modele,
          {QStringLiteral("Saisir un nouveau taxon"), QStringLiteral("Supprimer le taxon"),
           QStringLiteral("Enregistrer la fiche"), QStringLiteral("Importer une liste de taxons")},
          parent)
{
    setObjectName(QStringLiteral("ListeTaxons"));
    setWindowTitle(QStringLiteral("Taxons"));
    resize(1150, 780);
    QStyle *s = style();
    ActionPurger = new QAction(s->standardIcon(QStyle::SP_DialogDiscardButton),
                               QStringLiteral("Purger les taxons non utilisés"), this);
    ActionRemplacer = new QAction(s->standardIcon(QStyle::SP_BrowserReload),
                                  QStringLiteral("Remplacer l'historique"), this);
    ActionPresence = new QAction(s->standardIcon(QStyle::SP_DriveNetIcon),
                                 QStringLiteral("Présence du taxon"), this);
    ActionActiver = new QAction(s->standardIcon(QStyle::SP_DialogApplyButton),
                                QStringLiteral("Activer les taxons"), this);
    ActionTraits = new QAction(s->standardIcon(QStyle::SP_FileDialogListView),
                               QStringLiteral("Traits écologiques"), this);
    ActionPhotos = new QAction(s->standardIcon(QStyle::SP_FileDialogContentsView),
                               QStringLiteral("Photos du taxon"), this);
    ajouterCommandes({ActionPurger, ActionRemplacer, ActionActiver});
    nouvelleRangee()->addActions({ActionPresence, ActionTraits, ActionPhotos});
    reserverAuxEditeurs({ActionPurger, ActionRemplacer, ActionActiver});
    connect(ActionPurger, &QAction::triggered, this, &ListeTaxons::DeclenchePurge);
    connect(ActionRemplacer, &QAction::triggered, this, &ListeTaxons::DeclencheRemplacement);
    connect(ActionPresence, &QAction::triggered, this, &ListeTaxons::DeclenchePresence);
    connect(ActionActiver, &QAction::triggered, this, &ListeTaxons::DeclencheActivation);
    connect(ActionTraits, &QAction::triggered, this, &ListeTaxons::DeclencheTraits);
    connect(ActionPhotos, &QAction::triggered, this, &ListeTaxons::DeclenchePhotos);
    construireFiltres();
    construireFiche();
    nommerControles({{CboFiltreTheme, "CboFiltreTheme"},
                     {CboFiltreActif, "CboFiltreActif"},
                     {TxtFiltre, "TxtFiltre"},
                     {OngletsFiche, "OngletsFiche"},
                     {TxtCode, "TxtCode"},
                     {TxtNomLatin, "TxtNomLatin"},
                     {TxtNomCommun, "TxtNomCommun"},
                     {TxtDateCreation, "TxtDateCreation"},
                     {TxtDateMiseAJour, "TxtDateMiseAJour"},
                     {TxtAuteur, "TxtAuteur"},
                     {TxtRedacteur, "TxtRedacteur"},
                     {TxtParent, "TxtParent"},
                     {TxtOmnidia, "TxtOmnidia"},
                     {TxtMuseum, "TxtMuseum"},
                     {TxtMacrophyte, "TxtMacrophyte"},
                     {TxtTaxonCalcul, "TxtTaxonCalcul"},
                     {CboStatut, "CboStatut"},
                     {CboActif, "CboActif"},
                     {CboNiveau, "CboNiveau"},
                     {CboTheme, "CboTheme"},
                     {CboTypeEspece, "CboTypeEspece"},
                     {CboStatutEspece, "CboStatutEspece"},
                     {TxtReference, "TxtReference"},
                     {TxtCommentaire, "TxtCommentaire"},
                     {SprTraits, "SprTraits"},
                     {ActionPurger, "ActionPurger"},
                     {ActionRemplacer, "ActionRemplacer"},
                     {ActionPresence, "ActionPresence"},
                     {ActionActiver, "ActionActiver"},
                     {ActionTraits, "ActionTraits"},
                     {ActionPhotos, "ActionPhotos"}});
    RempliSprTaxons();
    declencheInserer();
}

void ListeTaxons::construireFiltres()
{
    auto *ligne = new QHBoxLayout;
    CboFiltreTheme = new ComboCodee(this);
    CboFiltreTheme->remplirListe(QStringLiteral("TAXONS.THEME"), ComboCodee::AvecTous,
                                 OrdreEntrees::Code);
    CboFiltreActif = new ComboCodee(this);
    CboFiltreActif->definirEntrees(ModeleListeTaxons::entreesActif(), ComboCodee::AvecTous);
    CboFiltreTheme->setMinimumContentsLength(24);
    CboFiltreActif->setMinimumContentsLength(20);
    TxtFiltre = new QLineEdit(this);
    TxtFiltre->setPlaceholderText(QStringLiteral("nom latin, nom commun ou code"));
    TxtFiltre->setClearButtonEnabled(true);
    auto *filtrer = new QPushButton(QStringLiteral("Filtrer"), this);
    ligne->addWidget(new QLabel(QStringLiteral("Thème :"), this));
    ligne->addWidget(CboFiltreTheme);
    ligne->addWidget(new QLabel(QStringLiteral("Actif :"), this));
    ligne->addWidget(CboFiltreActif);
    ligne->addWidget(new QLabel(QStringLiteral("Nom :"), this));
    ligne->addWidget(TxtFiltre, 1);
    ligne->addWidget(filtrer);
    zoneFiltres()->addLayout(ligne);
    connect(CboFiltreTheme, &ComboCodee::codeChange, this, &ListeTaxons::RempliSprTaxons);
    connect(CboFiltreActif, &ComboCodee::codeChange, this, &ListeTaxons::RempliSprTaxons);
    connect(TxtFiltre, &QLineEdit::returnPressed, this, &ListeTaxons::RempliSprTaxons);
    connect(filtrer, &QPushButton::clicked, this, &ListeTaxons::RempliSprTaxons);
}

void ListeTaxons::construireFiche()
{
    OngletsFiche = new QTabWidget(this);
    auto *page = new QWidget(OngletsFiche);
    TxtCode = nouvelleLigneTexte(page, 6);
    TxtNomLatin = nouvelleLigneTexte(page, 30);
    TxtNomCommun = nouvelleLigneTexte(page, 30);
    TxtDateCreation = nouvelleLigneTexte(page, 0, FORMAT_DATE);
    TxtDateMiseAJour = nouvelleLigneTexte(page, 0, FORMAT_DATE);
    surveillerDate(TxtDateCreation);
    surveillerDate(TxtDateMiseAJour);
    TxtAuteur = nouvelleLigneTexte(page, 50);
    TxtRedacteur = nouvelleLigneTexte(page, 50);
    TxtParent = nouvelleLigneTexte(page, 6);
    TxtOmnidia = nouvelleLigneTexte(page, 6);
    TxtMuseum = nouvelleLigneTexte(page, 20);
    TxtMacrophyte = nouvelleLigneTexte(page, 12);
    TxtTaxonCalcul = nouvelleLigneTexte(page, 0, QStringLiteral("codes séparés par ;"));
    CboStatut = new ComboCodee(page);
    CboStatut->definirEntrees(entreesStatut(), ComboCodee::AvecVide);
    CboActif = new ComboCodee(page);
    CboActif->definirEntrees(ModeleListeTaxons::entreesActif());
    CboNiveau = new ComboCodee(page);
    CboNiveau->remplirListe(QStringLiteral("TAXONS.NIVEAUX"), ComboCodee::AvecVide,
                            OrdreEntrees::Code);
    CboTheme = new ComboCodee(page);
    CboTheme->remplirListe(QStringLiteral("TAXONS.THEME"), ComboCodee::AvecVide,
                           OrdreEntrees::Code);
    TxtReference = zoneTexte(page, 2);
    TxtCommentaire = zoneTexte(page, 2);
    const QList<QPair<QString, QWidget *>> rangs = {
        {QStringLiteral("Code"), TxtCode},
        {QStringLiteral("Nom latin"), TxtNomLatin},
        {QStringLiteral("Nom commun"), TxtNomCommun},
        {QStringLiteral("Statut"), CboStatut},
        {QStringLiteral("Actif"), CboActif},
        {QStringLiteral("Niveau"), CboNiveau},
        {QStringLiteral("Thème"), CboTheme},
        {QStringLiteral("Élément de"), TxtParent},
        {QStringLiteral("Date de création"), TxtDateCreation},
        {QStringLiteral("Date de mise à jour"), TxtDateMiseAJour},
        {QStringLiteral("Auteur"), TxtAuteur},
        {QStringLiteral("Rédacteur"), TxtRedacteur},
        {QStringLiteral("Code Omnidia"), TxtOmnidia},
        {QStringLiteral("Référence Museum"), TxtMuseum},
        {QStringLiteral("Code macrophyte"), TxtMacrophyte},
        {QStringLiteral("Taxons de calcul"), TxtTaxonCalcul},
        {QStringLiteral("Référence bibliographique"), TxtReference},
        {QStringLiteral("Commentaire"), TxtCommentaire}};
    DispositionFormulaire disposition(page);
    for (const auto &[titre, champ] : rangs)
        disposition.ajouter(titre, champ, qobject_cast<QPlainTextEdit *>(champ) != nullptr);
    disposition.terminer();
    OngletsFiche->addTab(page, QStringLiteral("Fiche"));

    auto *zone = new QScrollArea(OngletsFiche);
    auto *description = new QWidget(zone);
    CboTypeEspece = new ComboCodee(description);
    CboTypeEspece->definirEntrees(ModeleListeTaxons::entreesTypeEspece(), ComboCodee::AvecVide);
    CboStatutEspece = new ComboCodee(description);
    CboStatutEspece->definirEntrees(ModeleListeTaxons::entreesStatutEspece(), ComboCodee::AvecVide);
    DispositionFormulaire d(description);
    d.ajouter(QStringLiteral("Type"), CboTypeEspece);
    d.ajouter(QStringLiteral("Statut de présence"), CboStatutEspece);
    for (const TexteTaxon &t : textesTaxon()) {
        auto *champ = zoneTexte(description);
        TxtTextes.insert(t.colonne, champ);
        d.ajouter(t.libelle, champ, true);
    }
    zone->setWidget(description);
    zone->setWidgetResizable(true);
    OngletsFiche->addTab(zone, QStringLiteral("Description"));

    SprTraits = new GrilleSaisie(OngletsFiche);
    SprTraits->setObjectName(QStringLiteral("SprTraits"));
    OngletsFiche->addTab(SprTraits, QStringLiteral("Traits écologiques"));
    zoneFiche()->addWidget(OngletsFiche);
}

void ListeTaxons::RempliSprTaxons()
{
    m_modele.choisirFiltre(
        {CboFiltreTheme->codeSelectionne(), CboFiltreActif->codeSelectionne(), TxtFiltre->text()});
    RempliSpr();
}

void ListeTaxons::remplirTraits(const FicheTaxon &f)
{
    const QVector<TraitDisponible> traits = traitsDisponibles();
    const QHash<QString, QString> groupes = libellesListe(ModeleTraits::CHAMP_GROUPE);
    SprTraits->definirColonnes({{QStringLiteral("Trait"), NatureChamp::Texte, {}, true},
                                {QStringLiteral("Groupe"), NatureChamp::Texte, {}, true},
                                {QStringLiteral("Modalité"), NatureChamp::Code}});
    SprTraits->setColumnWidth(0, 260);
    SprTraits->setColumnWidth(2, 260);
    SprTraits->definirNbLignes(int(traits.size()));
    m_traits.clear();
    for (int l = 0; l < traits.size(); ++l) {
        m_traits << traits[l].code;
        SprTraits->definirCellule(l, 2, {{}, NatureChamp::Code, traits[l].modalites});
        SprTraits->definirTexte(l, 0, traits[l].nom);
        SprTraits->definirTexte(l, 1, groupes.value(traits[l].groupe, traits[l].groupe));
        SprTraits->definirTexte(l, 2, f.traits.value(traits[l].code));
    }
}

void ListeTaxons::afficherFiche(const FicheTaxon &f)
{
    m_fiche = f;
    TxtCode->setText(f.code);
    TxtNomLatin->setText(f.nomLatin);
    TxtNomCommun->setText(f.nomCommun);
    if (!CboStatut->selectionnerCode(f.statut)) CboStatut->selectionnerCode(QString());
    CboActif->selectionnerCode(f.actif == QLatin1String("1") ? QStringLiteral("1")
                                                             : QStringLiteral("0"));
    if (!CboNiveau->selectionnerCode(f.niveau)) CboNiveau->selectionnerCode(QString());
    if (!CboTheme->selectionnerCode(f.theme)) CboTheme->selectionnerCode(QString());
    TxtParent->setText(f.elementDe);
    TxtDateCreation->setText(f.dateCreation);
    TxtDateMiseAJour->setText(f.dateMiseAJour);
    TxtAuteur->setText(f.auteur);
    TxtRedacteur->setText(f.redacteur);
    TxtOmnidia->setText(f.codeOmnidia);
    TxtMuseum->setText(f.refMuseum);
    TxtMacrophyte->setText(f.codeMacrophyte);
    TxtTaxonCalcul->setText(f.codeTaxonCalcul);
    TxtReference->setPlainText(f.referenceBibliographique);
    TxtCommentaire->setPlainText(f.commentaire);
    if (!CboTypeEspece->selectionnerCode(f.typeEspece)) CboTypeEspece->selectionnerCode(QString());
    if (!CboStatutEspece->selectionnerCode(f.statutEspece))
        CboStatutEspece->selectionnerCode(QString());
    for (auto it = TxtTextes.constBegin(); it != TxtTextes.constEnd(); ++it)
        it.value()->setPlainText(f.textes.value(it.key()));
    remplirTraits(f);
    actionSupprimer()->setEnabled(!f.estNouveau());
    ActionRemplacer->setEnabled(!f.estNouveau());
    ActionPhotos->setEnabled(!f.estNouveau());
}

FicheTaxon ListeTaxons::ficheFormulaire() const
{
    FicheTaxon f = m_fiche;
    f.code = TxtCode->text().trimmed();
    f.nomLatin = TxtNomLatin->text();
    f.nomCommun = TxtNomCommun->text();
    f.statut = CboStatut->codeSelectionne();
    f.actif = CboActif->codeSelectionne();
    f.niveau = CboNiveau->codeSelectionne();
    f.theme = CboTheme->codeSelectionne();
    f.elementDe = TxtParent->text();
    f.dateCreation = TxtDateCreation->text();
    f.dateMiseAJour = TxtDateMiseAJour->text();
    f.auteur = TxtAuteur->text();
    f.redacteur = TxtRedacteur->text();
    f.codeOmnidia = TxtOmnidia->text();
    f.refMuseum = TxtMuseum->text();
    f.codeMacrophyte = TxtMacrophyte->text();
    f.codeTaxonCalcul = TxtTaxonCalcul->text();
    f.referenceBibliographique = TxtReference->toPlainText();
    f.commentaire = TxtCommentaire->toPlainText();
    f.typeEspece = CboTypeEspece->codeSelectionne();
    f.statutEspece = CboStatutEspece->codeSelectionne();
    for (auto it = TxtTextes.constBegin(); it != TxtTextes.constEnd(); ++it)
        f.textes.insert(it.key(), it.value()->toPlainText());
    SprTraits->validerSaisie();
    f.traits.clear();
    for (int l = 0; l < m_traits.size(); ++l)
        f.traits.insert(m_traits[l], SprTraits->texte(l, 2));
    return f;
}

void ListeTaxons::afficherLigne(int ligne)
{
    if (ligne >= 0) afficherFiche(m_modele.fiche(ligne));
}

void ListeTaxons::declencheInserer()
{
    SprListe->selectionnerLigne(-1);
    afficherFiche(m_modele.nouvelleFiche());
    OngletsFiche->setCurrentIndex(0);
    TxtCode->setFocus();
}

void ListeTaxons::declencheEnregistrer()
{
    FicheTaxon f = ficheFormulaire();
    if (!montrer(m_modele.enregistrer(f))) return;
    SprListe->remplir(m_modele.grille().entetes, m_modele.grille().lignes);
    const int l = m_modele.ligne(f.code);
    if (l >= 0) SprListe->selectionnerLigne(l);
    afficherFiche(f);
}

void ListeTaxons::DeclencheSupprimer()
{
    if (!montrer(m_modele.supprimer(ficheFormulaire()))) return;
    SprListe->remplir(m_modele.grille().entetes, m_modele.grille().lignes);
    declencheInserer();
}

void ListeTaxons::DeclencheOutils()
{
    ImportationTaxons importation(this);
    importation.exec();
    if (importation.nbIntegres() > 0) RempliSprTaxons();
}

void ListeTaxons::DeclenchePurge()
{
    CompteRendu purge;
    {
        ProgressionGui progression(this, QStringLiteral("Suppression des taxons non utilisés"));
        purge = m_modele.purger(progression);
    }
    if (montrer(purge)) {
        SprListe->remplir(m_modele.grille().entetes, m_modele.grille().lignes);
        declencheInserer();
    }
}

void ListeTaxons::DeclencheRemplacement()
{
    const QString ancien = m_fiche.codeOrigine;
    if (ancien.isEmpty() || !montrer(m_modele.demanderRemplacement(ancien))) return;
    bool ok = false;
    const QString nouveau = QInputDialog::getText(this, QStringLiteral("Remplacer l'historique"),
                                                  ModeleListeTaxons::TEXTE_NOUVEAU_CODE,
                                                  QLineEdit::Normal, QString(), &ok)
                                .trimmed();
    if (!ok || nouveau.isEmpty()) return;
    CompteRendu remplacement;
    {
        ProgressionGui progression(this, QStringLiteral("Parcours de l'historique"));
        remplacement = m_modele.remplacerHistorique(ancien, nouveau, progression);
    }
    if (montrer(remplacement))
        SprListe->remplir(m_modele.grille().entetes, m_modele.grille().lignes);
}

void ListeTaxons::DeclenchePresence()
{
    CompteRendu avis;
    const QVector<StationPresence> stations = presenceTaxon(m_fiche.codeOrigine, avis);
    montrer(avis);
    if (m_fiche.codeOrigine.isEmpty() || stations.isEmpty()) return;
    auto *dialogue = new PresenceTaxonDialogue(
        m_fiche.nomLatin + QStringLiteral(" [") + m_fiche.codeOrigine + u']', stations, this);
    dialogue->setAttribute(Qt::WA_DeleteOnClose);
    dialogue->open();
}

void ListeTaxons::DeclencheActivation()
{
    CompteRendu activation;
    {
        ProgressionGui progression(this, QStringLiteral("Activation des taxons"));
        activation = m_modele.activerTaxons(progression);
    }
    montrer(activation);
    SprListe->remplir(m_modele.grille().entetes, m_modele.grille().lignes);
}

void ListeTaxons::DeclencheTraits()
{
    const FicheTaxon f = ficheFormulaire();
    QDialog dialogue(this);
    dialogue.setWindowTitle(QStringLiteral("Traits écologiques"));
    dialogue.resize(950, 680);
    auto *disposition = new QVBoxLayout(&dialogue);
    disposition->setContentsMargins(0, 0, 0, 0);
    disposition->addWidget(new ListeTraits(&dialogue));
    dialogue.exec();
    // Traits and modalities may have changed: the taxon's values are offered again.
    remplirTraits(f);
}

void ListeTaxons::DeclenchePhotos()
{
    const QStringList photos = ModeleListeTaxons::photosTaxon(
        m_fiche.codeOrigine, lireRegistre(reglage::CheminPhotos, {}, true));
    if (photos.isEmpty()) {
        afficherMessage(GENRE_AIDE, QStringLiteral("Aucune photo n'a été trouvée pour ce taxon."));
        return;
    }
    auto *visionneuse =
        new FichePhotos(photos, QStringLiteral("Photos du taxon ") + m_fiche.nomLatin, this);
    visionneuse->setAttribute(Qt::WA_DeleteOnClose);
    visionneuse->open();
}

} // namespace vyk
