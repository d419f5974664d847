#include "ui/referentials/ListeCodes.h"

#include "referentials/ClesListes.h"
#include "referentials/ListesCodees.h"
#include "ui/referentials/ImportationCodesSandre.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/Formulaire.h"
#include "ui/widgets/GrilleDonnees.h"

#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace vyk {

namespace {
const QString TITRE = QStringLiteral("Listes de codes");
const QString FORMAT_DATE = QStringLiteral("JJ/MM/AAAA");
} // namespace

ListeCodes::ListeCodes(const QString &champ, QWidget *parent)
    : EcranListeReference(m_modele,
                          {QStringLiteral("Saisir un nouveau code"),
                           QStringLiteral("Supprimer le code"),
                           QStringLiteral("Enregistrer la fiche"),
                           QStringLiteral("Importer un fichier de référentiel")},
                          parent)
{
    setObjectName(QStringLiteral("ListeCodes"));
    setWindowTitle(TITRE);
    construireFiltres();
    construireFiche();
    nommerControles({{CboChamp, "CboChamp"},
                     {LblReferentiel, "LblReferentiel"},
                     {LblLien, "LblLien"},
                     {TxtType, "TxtType"},
                     {TxtCode, "TxtCode"},
                     {TxtLibelle, "TxtLibelle"},
                     {TxtMnemonique, "TxtMnemonique"},
                     {TxtReference, "TxtReference"},
                     {CboStatut, "CboStatut"},
                     {TxtDateCreation, "TxtDateCreation"},
                     {TxtDateModification, "TxtDateModification"},
                     {TxtAuteur, "TxtAuteur"},
                     {TxtProjet, "TxtProjet"},
                     {TxtCommentaire, "TxtCommentaire"}});
    remplirChamps(champ.isEmpty() ? CODE_TOUS : champ.trimmed().toUpper());
    RempliSprCodes();
    declencheInserer();
}

void ListeCodes::construireFiltres()
{
    auto *ligne = new QHBoxLayout;
    auto *etiquette = new QLabel(QStringLiteral("Liste :"), this);
    CboChamp = new ComboCodee(this);
    CboChamp->setMinimumContentsLength(36);
    etiquette->setBuddy(CboChamp);
    LblReferentiel = new QLabel(this);
    LblLien = new QLabel(this);
    LblLien->setOpenExternalLinks(true);
    LblLien->setTextInteractionFlags(Qt::TextBrowserInteraction);
    ligne->addWidget(etiquette);
    ligne->addWidget(CboChamp);
    ligne->addSpacing(12);
    ligne->addWidget(LblReferentiel);
    ligne->addWidget(LblLien);
    ligne->addStretch(1);
    zoneFiltres()->addLayout(ligne);
    connect(CboChamp, &ComboCodee::codeChange, this, [this](const QString &) { RempliSprCodes(); });
}

void ListeCodes::construireFiche()
{
    auto *cadre = new QWidget(this);
    TxtType = new QLineEdit(cadre);
    TxtType->setMaxLength(50);
    // A new entry takes the next code of the list it is given.
    connect(TxtType, &QLineEdit::editingFinished, this, [this] {
        const QString champ = TxtType->text().trimmed().toUpper();
        if (!m_fiche.nouvelle || champ == m_fiche.champ) return;
        m_fiche.champ = champ;
        TxtType->setText(champ);
        TxtCode->setText(champ.isEmpty() ? QString()
                                         : QString::number(ModeleListeCodes::codeSuivant(champ)));
    });
    TxtCode = new QLineEdit(cadre);
    TxtCode->setValidator(new QIntValidator(-32768, 32767, TxtCode));
    TxtLibelle = nouvelleLigneTexte(cadre, 255);
    TxtMnemonique = nouvelleLigneTexte(cadre, 100);
    TxtReference = nouvelleLigneTexte(cadre, 20);
    CboStatut = new ComboCodee(cadre);
    CboStatut->definirEntrees(entreesStatut(), ComboCodee::AvecVide);
    TxtDateCreation = nouvelleLigneTexte(cadre, 0, FORMAT_DATE);
    TxtDateModification = nouvelleLigneTexte(cadre, 0, FORMAT_DATE);
    TxtAuteur = nouvelleLigneTexte(cadre, 50);
    TxtProjet = nouvelleLigneTexte(cadre, 12);
    TxtCommentaire = new QPlainTextEdit(cadre);
    TxtCommentaire->setTabChangesFocus(true);
    TxtCommentaire->setMaximumHeight(TxtCommentaire->fontMetrics().height() * 5);

    DispositionFormulaire d(cadre);
    d.sansMarges();
    d.partagerColonnes(2, 1);
    const QPair<const char *, QWidget *> champs[] = {{"Type (liste)", TxtType},
                                                     {"Code", TxtCode},
                                                     {"Libellé", TxtLibelle},
                                                     {"Mnémonique", TxtMnemonique},
                                                     {"Statut", CboStatut},
                                                     {"Référence", TxtReference},
                                                     {"Date de création", TxtDateCreation},
                                                     {"Date de modification", TxtDateModification},
                                                     {"Auteur", TxtAuteur},
                                                     {"Projet", TxtProjet}};
    for (const auto &[titre, champ] : champs)
        d.ajouter(QString::fromUtf8(titre), champ);
    d.ajouter(QStringLiteral("Commentaire"), TxtCommentaire, true);
    zoneFiche()->addWidget(cadre);
    zoneFiche()->addStretch(1);
}

void ListeCodes::remplirChamps(const QString &aSelectionner)
{
    const QSignalBlocker silence(CboChamp);
    CboChamp->definirEntrees(entreesClesListes(m_modele.champs()), ComboCodee::AvecTous);
    if (!CboChamp->selectionnerCode(aSelectionner)) CboChamp->selectionnerCode(CODE_TOUS);
}

void ListeCodes::RempliSprCodes()
{
    m_modele.choisirChamp(CboChamp->codeSelectionne());
    RempliSpr();
    afficherReferentiel();
}

void ListeCodes::afficherReferentiel()
{
    const ReferentielListe r = m_modele.referentiel();
    if (!r.existe()) {
        LblReferentiel->clear();
        LblLien->clear();
        return;
    }
    LblReferentiel->setText(QStringLiteral("Référentiel ") + r.numero +
                            QStringLiteral(", version ") + r.version);
    LblLien->setText(QStringLiteral("<a href=\"") + m_modele.lienReferentiel().toHtmlEscaped() +
                     QStringLiteral("\">Consulter la nomenclature</a>"));
}

void ListeCodes::afficherFiche(const FicheCode &f)
{
    m_fiche = f;
    TxtType->setText(f.champ);
    TxtCode->setText(f.code);
    // The key of a stored entry is not edited: saving under another key would leave the old
    // entry and could overwrite another one.
    TxtType->setReadOnly(!f.nouvelle);
    TxtCode->setReadOnly(!f.nouvelle);
    const QString cleFixe =
        f.nouvelle
            ? QString()
            : QStringLiteral("La liste et le code d'un élément enregistré ne se modifient pas.");
    TxtType->setToolTip(cleFixe);
    TxtCode->setToolTip(cleFixe);
    TxtLibelle->setText(f.libelle);
    TxtMnemonique->setText(f.mnemonique);
    TxtReference->setText(f.codeReference);
    if (!CboStatut->selectionnerCode(f.statut)) CboStatut->selectionnerCode(QString());
    TxtDateCreation->setText(f.dateCreation);
    TxtDateModification->setText(f.dateModification);
    TxtAuteur->setText(f.auteur);
    TxtProjet->setText(f.projet);
    TxtCommentaire->setPlainText(f.commentaire);
    actionSupprimer()->setEnabled(!f.nouvelle);
}

FicheCode ListeCodes::ficheFormulaire() const
{
    FicheCode f = m_fiche;
    f.champ = TxtType->text().trimmed().toUpper();
    f.code = TxtCode->text().trimmed();
    f.libelle = TxtLibelle->text();
    f.mnemonique = TxtMnemonique->text();
    f.codeReference = TxtReference->text();
    f.statut = CboStatut->codeSelectionne();
    f.dateCreation = TxtDateCreation->text();
    f.dateModification = TxtDateModification->text();
    f.auteur = TxtAuteur->text();
    f.projet = TxtProjet->text();
    f.commentaire = TxtCommentaire->toPlainText();
    return f;
}

void ListeCodes::afficherLigne(int ligne)
{
    if (ligne >= 0) afficherFiche(m_modele.fiche(ligne));
}

void ListeCodes::declencheInserer()
{
    SprListe->selectionnerLigne(-1);
    afficherFiche(m_modele.nouvelleFiche());
    (m_modele.tousLesChamps() ? TxtType : TxtLibelle)->setFocus();
}

void ListeCodes::declencheEnregistrer()
{
    FicheCode f = ficheFormulaire();
    // A new entry of an unnamed list gets its code when its list is named.
    if (f.nouvelle && f.code.isEmpty() && !f.champ.isEmpty())
        f.code = QString::number(ModeleListeCodes::codeSuivant(f.champ));
    const int lignesAvant = m_modele.grille().nbLignes();
    if (!montrer(m_modele.enregistrer(f))) return;
    // A new list appears in the list box.
    if (CboChamp->indexCode(f.champ) < 0) remplirChamps(CboChamp->codeSelectionne());
    SprListe->remplir(m_modele.grille().entetes, m_modele.grille().lignes);
    const int ligne = m_modele.ligne(f.champ, f.code);
    if (ligne >= 0 || m_modele.grille().nbLignes() != lignesAvant)
        SprListe->selectionnerLigne(ligne);
    afficherFiche(f);
}

void ListeCodes::DeclencheSupprimer()
{
    const FicheCode f = ficheFormulaire();
    if (!montrer(m_modele.supprimer(f))) return;
    SprListe->remplir(m_modele.grille().entetes, m_modele.grille().lignes);
    declencheInserer();
}

void ListeCodes::DeclencheOutils()
{
    ImportationCodesSandre importation(this);
    importation.exec();
    if (importation.nbIntegres() > 0) {
        remplirChamps(CboChamp->codeSelectionne());
        RempliSprCodes();
    }
}

} // namespace vyk
