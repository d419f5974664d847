#include "ui/referentials/ListeTraits.h"

#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/GrilleDonnees.h"
#include "ui/widgets/GrilleSaisie.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace vyk {

ListeTraits::ListeTraits(QWidget *parent)
    : EcranListeReference(m_modele,
                          {QStringLiteral("Saisir un nouveau trait"),
                           QStringLiteral("Supprimer le trait"),
                           QStringLiteral("Enregistrer la fiche"), QString()},
                          parent)
{
    setObjectName(QStringLiteral("ListeTraits"));
    setWindowTitle(QStringLiteral("Traits écologiques des taxons"));
    resize(950, 680);
    auto *g = new QGridLayout;
    TxtCode = new QLineEdit(this);
    TxtCode->setValidator(new QIntValidator(1, 32767, TxtCode));
    TxtNom = new QLineEdit(this);
    TxtNom->setMaxLength(100);
    CboGroupe = new ComboCodee(this);
    CboGroupe->remplirListe(ModeleTraits::CHAMP_GROUPE, ComboCodee::AvecVide);
    TxtCommentaires = new QPlainTextEdit(this);
    TxtReferences = new QPlainTextEdit(this);
    for (QPlainTextEdit *t : {TxtCommentaires, TxtReferences}) {
        t->setTabChangesFocus(true);
        t->setMaximumHeight(t->fontMetrics().height() * 3);
    }
    g->addWidget(new QLabel(QStringLiteral("Code :"), this), 0, 0);
    g->addWidget(TxtCode, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Nom :"), this), 0, 2);
    g->addWidget(TxtNom, 0, 3);
    g->addWidget(new QLabel(QStringLiteral("Groupe :"), this), 1, 0);
    g->addWidget(CboGroupe, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("Commentaires :"), this), 2, 0, Qt::AlignTop);
    g->addWidget(TxtCommentaires, 2, 1, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Références :"), this), 3, 0, Qt::AlignTop);
    g->addWidget(TxtReferences, 3, 1, 1, 3);
    g->setColumnStretch(3, 1);
    zoneFiche()->addLayout(g);
    SprModalites = new GrilleSaisie(this);
    SprModalites->setObjectName(QStringLiteral("SprModalites"));
    SprModalites->definirColonnes({{QStringLiteral("Code"), NatureChamp::Nombre},
                                   {QStringLiteral("Modalité"), NatureChamp::Texte},
                                   {QStringLiteral("Description"), NatureChamp::Texte},
                                   {QStringLiteral("Abbréviation"), NatureChamp::Texte}});
    SprModalites->setColumnWidth(1, 220);
    SprModalites->setColumnWidth(2, 320);
    zoneFiche()->addWidget(SprModalites, 1);
    CmdAjouterModalite = new QPushButton(QStringLiteral("Ajouter une modalité"), this);
    CmdSupprimerModalite = new QPushButton(QStringLiteral("Supprimer la modalité"), this);
    auto *boutons = new QHBoxLayout;
    boutons->addWidget(CmdAjouterModalite);
    boutons->addWidget(CmdSupprimerModalite);
    boutons->addStretch(1);
    zoneFiche()->addLayout(boutons);
    reserverAuxEditeurs({CmdAjouterModalite, CmdSupprimerModalite});
    nommerControles({{TxtCode, "TxtCode"},
                     {TxtNom, "TxtNom"},
                     {CboGroupe, "CboGroupe"},
                     {TxtCommentaires, "TxtCommentaires"},
                     {TxtReferences, "TxtReferences"},
                     {CmdAjouterModalite, "CmdAjouterModalite"},
                     {CmdSupprimerModalite, "CmdSupprimerModalite"}});
    connect(CmdAjouterModalite, &QPushButton::clicked, this, &ListeTraits::ajouterModalite);
    connect(CmdSupprimerModalite, &QPushButton::clicked, this, &ListeTraits::supprimerModalite);
    RempliSpr();
    declencheInserer();
}

void ListeTraits::afficherFiche(const FicheTrait &f)
{
    m_fiche = f;
    TxtCode->setText(f.code);
    TxtCode->setReadOnly(!f.nouvelle);
    TxtNom->setText(f.nom);
    if (!CboGroupe->selectionnerCode(f.groupe)) CboGroupe->selectionnerCode(QString());
    TxtCommentaires->setPlainText(f.commentaires);
    TxtReferences->setPlainText(f.references);
    SprModalites->definirNbLignes(int(f.modalites.size()));
    for (int l = 0; l < f.modalites.size(); ++l) {
        const ModaliteTrait &m = f.modalites[l];
        const QStringList t{m.code, m.nom, m.description, m.abreviation};
        for (int c = 0; c < t.size(); ++c)
            SprModalites->definirTexte(l, c, t[c]);
    }
    actionSupprimer()->setEnabled(!f.nouvelle);
}

FicheTrait ListeTraits::ficheFormulaire() const
{
    FicheTrait f = m_fiche;
    f.code = TxtCode->text().trimmed();
    f.nom = TxtNom->text();
    f.groupe = CboGroupe->codeSelectionne();
    f.commentaires = TxtCommentaires->toPlainText();
    f.references = TxtReferences->toPlainText();
    SprModalites->validerSaisie();
    f.modalites.clear();
    for (int l = 0; l < SprModalites->rowCount(); ++l) {
        const QStringList t = SprModalites->textesLigne(l);
        if (t.join(QString()).trimmed().isEmpty()) continue;
        f.modalites.append({t.value(0).trimmed(), t.value(1), t.value(2), t.value(3)});
    }
    return f;
}

void ListeTraits::afficherLigne(int ligne)
{
    if (ligne >= 0) afficherFiche(m_modele.fiche(ligne));
}

void ListeTraits::declencheInserer()
{
    SprListe->selectionnerLigne(-1);
    afficherFiche(m_modele.nouvelleFiche());
    TxtNom->setFocus();
}

void ListeTraits::declencheEnregistrer()
{
    FicheTrait f = ficheFormulaire();
    if (!montrer(m_modele.enregistrer(f))) return;
    SprListe->remplir(m_modele.grille().entetes, m_modele.grille().lignes);
    SprListe->selectionnerLigne(m_modele.ligne(f.code));
    afficherFiche(f);
}

void ListeTraits::DeclencheSupprimer()
{
    if (!montrer(m_modele.supprimer(ficheFormulaire()))) return;
    SprListe->remplir(m_modele.grille().entetes, m_modele.grille().lignes);
    declencheInserer();
}

void ListeTraits::ajouterModalite()
{
    int suivant = 1;
    for (int l = 0; l < SprModalites->rowCount(); ++l)
        suivant = std::max(suivant, SprModalites->texte(l, 0).toInt() + 1);
    const int l = SprModalites->ajouterLigne();
    SprModalites->definirTexte(l, 0, QString::number(suivant));
    SprModalites->selectionnerLigne(l);
}

void ListeTraits::supprimerModalite()
{
    const int l = SprModalites->ligneCourante();
    if (l < 0) return;
    if (!m_fiche.nouvelle &&
        !montrer(m_modele.supprimerModalite(m_fiche.code, SprModalites->texte(l, 0),
                                            SprModalites->texte(l, 1))))
        return;
    SprModalites->retirerLigne(l);
    m_fiche.modalites = ficheFormulaire().modalites;
}

} // namespace vyk
