#include "ui/referentials/ListeReferentielAnalyses.h"

#include "db/Messages.h"
#include "ui/referentials/ImportationReferentielAnalyses.h"
#include "ui/widgets/ChampsFormulaire.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/Formulaire.h"
#include "ui/widgets/GrilleDonnees.h"
#include "ui/widgets/ProgressionGui.h"

#include <QAction>
#include <QCheckBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QStyle>
#include <QToolBar>

namespace vyk {

namespace {

EcranListeReference::Libelles libelles(Referentiel r)
{
    switch (r) {
    case Referentiel::Parametre:
        return {QStringLiteral("Saisir un nouveau paramètre"),
                QStringLiteral("Supprimer le paramètre"), QStringLiteral("Enregistrer la fiche"),
                QStringLiteral("Importer une liste de paramètres")};
    case Referentiel::Unite:
        return {QStringLiteral("Saisir une nouvelle unité"), QStringLiteral("Supprimer l'unité"),
                QStringLiteral("Enregistrer la fiche"),
                QStringLiteral("Importer une liste d'unités")};
    case Referentiel::Methode:
        return {QStringLiteral("Saisir une nouvelle méthode"),
                QStringLiteral("Supprimer la méthode"), QStringLiteral("Enregistrer la fiche"),
                QStringLiteral("Importer une liste de méthodes")};
    case Referentiel::Fraction:
        return {QStringLiteral("Saisir une nouvelle fraction"),
                QStringLiteral("Supprimer la fraction"), QStringLiteral("Enregistrer la fiche"),
                QStringLiteral("Importer une liste de fractions")};
    case Referentiel::Support:
        return {QStringLiteral("Saisir un nouveau support"), QStringLiteral("Supprimer le support"),
                QStringLiteral("Enregistrer la fiche"),
                QStringLiteral("Importer une liste de supports")};
    }
    return {};
}

} // namespace

ListeReferentielAnalyses::ListeReferentielAnalyses(Referentiel referentiel, QWidget *parent)
    : EcranListeReference(m_modele, libelles(referentiel), parent), m_modele(referentiel)
{
    const DescriptionReferentiel &d = m_modele.description();
    setObjectName(d.pageAide);
    setWindowTitle(d.titre);
    if (!d.actionPurge.isEmpty()) {
        m_purger =
            new QAction(style()->standardIcon(QStyle::SP_DialogResetButton), d.actionPurge, this);
        connect(m_purger, &QAction::triggered, this, &ListeReferentielAnalyses::DeclenchePurger);
        ajouterCommandes({m_purger});
    }
    if (referentiel == Referentiel::Parametre) {
        m_remplacer = new QAction(style()->standardIcon(QStyle::SP_BrowserReload),
                                  QStringLiteral("Remplacer l'historique"), this);
        connect(m_remplacer, &QAction::triggered, this,
                &ListeReferentielAnalyses::DeclencheRemplacer);
        ajouterCommandes({m_remplacer});
    }
    reserverAuxEditeurs({m_purger, m_remplacer});
    construireFiche();
    RempliSprReferentiel();
    declencheInserer();
}

void ListeReferentielAnalyses::construireFiche()
{
    auto *cadre = new QWidget;
    DispositionFormulaire disposition(cadre);
    for (const ChampReferentiel &c : m_modele.description().champs) {
        ChampDecrit description;
        description.colonne = c.colonne;
        description.nature = c.genre;
        description.taille = c.taille;
        OptionsChamp options;
        if (c.genre == NatureChamp::Code) options.entrees = ModeleReferentielAnalyses::entrees(c);
        QWidget *champ = nouveauChampSaisie(description, cadre, options);
        champ->setObjectName(QStringLiteral("Champ") + c.colonne);
        m_controles.insert(c.colonne, champ);
        disposition.ajouter(c.libelle, champ, c.genre == NatureChamp::Memo);
    }
    zoneFiche()->addWidget(formulaireDefilant(cadre, this));
}

void ListeReferentielAnalyses::RempliSprReferentiel()
{
    RempliSpr();
}

void ListeReferentielAnalyses::afficherFiche(const FicheReferentiel &f)
{
    m_fiche = f;
    for (const ChampReferentiel &c : m_modele.description().champs)
        afficherValeurChamp(m_controles.value(c.colonne), f.valeur(c.colonne));
    if (auto *code = qobject_cast<QLineEdit *>(m_controles.value(QStringLiteral("Code")))) {
        // The code of a stored row is its key: another code would be another row.
        code->setReadOnly(!f.nouvelle);
        code->setToolTip(
            f.nouvelle ? QString()
                       : QStringLiteral("Le code d'un élément enregistré ne se modifie pas."));
    }
    actionSupprimer()->setEnabled(!f.nouvelle);
}

FicheReferentiel ListeReferentielAnalyses::ficheFormulaire() const
{
    FicheReferentiel f = m_fiche;
    for (const ChampReferentiel &c : m_modele.description().champs)
        f.valeurs.insert(c.colonne, valeurChamp(m_controles.value(c.colonne)));
    return f;
}

void ListeReferentielAnalyses::afficherLigne(int ligne)
{
    if (ligne >= 0) afficherFiche(m_modele.fiche(ligne));
}

void ListeReferentielAnalyses::declencheInserer()
{
    SprListe->selectionnerLigne(-1);
    afficherFiche(m_modele.nouvelleFiche());
    if (QWidget *code = m_controles.value(QStringLiteral("Code"))) code->setFocus();
}

void ListeReferentielAnalyses::declencheEnregistrer()
{
    FicheReferentiel f = ficheFormulaire();
    if (!montrer(m_modele.enregistrer(f))) return;
    SprListe->remplir(m_modele.grille().entetes, m_modele.grille().lignes);
    SprListe->selectionnerLigne(m_modele.ligne(f.code()));
    afficherFiche(f);
}

void ListeReferentielAnalyses::DeclencheSupprimer()
{
    if (!montrer(m_modele.supprimer(ficheFormulaire()))) return;
    SprListe->remplir(m_modele.grille().entetes, m_modele.grille().lignes);
    declencheInserer();
}

void ListeReferentielAnalyses::DeclencheOutils()
{
    ImportationReferentielAnalyses importation(m_modele.description().referentiel, this);
    importation.exec();
    if (importation.nbIntegres() > 0) RempliSprReferentiel();
}

void ListeReferentielAnalyses::DeclenchePurger()
{
    CompteRendu purge;
    {
        ProgressionGui progression(this, m_modele.description().actionPurge);
        purge = m_modele.purger(progression);
    }
    montrer(purge);
    SprListe->remplir(m_modele.grille().entetes, m_modele.grille().lignes);
    declencheInserer();
}

void ListeReferentielAnalyses::DeclencheRemplacer()
{
    const QString ancien = ficheFormulaire().code();
    if (m_fiche.nouvelle || ancien.isEmpty()) {
        afficherMessage(GENRE_ERREUR,
                        QStringLiteral("Sélectionnez d'abord le paramètre dans la liste."));
        return;
    }
    if (!montrer(m_modele.confirmerRemplacement(ancien))) return;
    bool ok = false;
    const QString nouveau =
        QInputDialog::getText(this, QStringLiteral("Remplacer l'historique"),
                              QStringLiteral("Quel est le nouveau code de remplacement ?"),
                              QLineEdit::Normal, QString(), &ok);
    if (!ok || nouveau.trimmed().isEmpty()) return;
    CompteRendu remplacement;
    {
        ProgressionGui progression(this, QStringLiteral("Remplacer l'historique"));
        remplacement = m_modele.remplacerHistorique(ancien, nouveau, progression);
    }
    montrer(remplacement);
    SprListe->remplir(m_modele.grille().entetes, m_modele.grille().lignes);
    SprListe->selectionnerLigne(m_modele.ligne(ancien));
}

} // namespace vyk
