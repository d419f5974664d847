#include "ui/referentials/ListeCodes.h"

#include "referentials/ClesListes.h"
#include "referentials/ListesCodees.h"
#include "ui/referentials/ImportationCodesSandre.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/GrilleDonnees.h"

#include <QFormLayout>
#include <QGridLayout>
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
    auto *grille = new QGridLayout;
    auto ajouter = [&](int ligne, int colonne, const QString &libelle, QWidget *champ) {
        auto *etiquette = new QLabel(libelle, this);
        etiquette->setBuddy(champ);
        grille->addWidget(etiquette, ligne, colonne * 2);
        grille->addWidget(champ, ligne, colonne * 2 + 1);
    };
    TxtType = new QLineEdit(this);
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
    TxtCode = new QLineEdit(this);
    TxtCode->setValidator(new QIntValidator(-32768, 32767, TxtCode));
    TxtLibelle = new QLineEdit(this);
    TxtLibelle->setMaxLength(255);
    TxtMnemonique = new QLineEdit(this);
    TxtMnemonique->setMaxLength(100);
    TxtReference = new QLineEdit(this);
    TxtReference->setMaxLength(20);
    CboStatut = new ComboCodee(this);
    CboStatut->definirEntrees(entreesStatut(), ComboCodee::AvecVide);
    TxtDateCreation = new QLineEdit(this);
    TxtDateCreation->setPlaceholderText(FORMAT_DATE);
    TxtDateModification = new QLineEdit(this);
    TxtDateModification->setPlaceholderText(FORMAT_DATE);
    TxtAuteur = new QLineEdit(this);
    TxtAuteur->setMaxLength(50);
    TxtProjet = new QLineEdit(this);
    TxtProjet->setMaxLength(12);
    TxtCommentaire = new QPlainTextEdit(this);
    TxtCommentaire->setTabChangesFocus(true);
    TxtCommentaire->setMaximumHeight(TxtCommentaire->fontMetrics().height() * 5);

    ajouter(0, 0, QStringLiteral("Type (liste) :"), TxtType);
    ajouter(0, 1, QStringLiteral("Code :"), TxtCode);
    ajouter(1, 0, QStringLiteral("Libellé :"), TxtLibelle);
    ajouter(1, 1, QStringLiteral("Mnémonique :"), TxtMnemonique);
    ajouter(2, 0, QStringLiteral("Statut :"), CboStatut);
    ajouter(2, 1, QStringLiteral("Référence :"), TxtReference);
    ajouter(3, 0, QStringLiteral("Date de création :"), TxtDateCreation);
    ajouter(3, 1, QStringLiteral("Date de modification :"), TxtDateModification);
    ajouter(4, 0, QStringLiteral("Auteur :"), TxtAuteur);
    ajouter(4, 1, QStringLiteral("Projet :"), TxtProjet);
    auto *etiquette = new QLabel(QStringLiteral("Commentaire :"), this);
    etiquette->setBuddy(TxtCommentaire);
    grille->addWidget(etiquette, 5, 0, Qt::AlignTop);
    grille->addWidget(TxtCommentaire, 5, 1, 1, 3);
    grille->setColumnStretch(1, 2);
    grille->setColumnStretch(3, 1);
    zoneFiche()->addLayout(grille);
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
    if (!m_modele.enregistrer(f)) return;
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
    if (!m_modele.supprimer(f)) return;
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
