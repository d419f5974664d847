#include "ui/search/ListeSelections.h"

#include "ui/search/ImportationSelectionParametres.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/GrilleDonnees.h"
#include "ui/widgets/GrilleSaisie.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vyk {

ListeSelections::ListeSelections(QWidget *parent) : Ecran(parent)
{
    setObjectName(QStringLiteral("ListeSelections"));
    setWindowTitle(QStringLiteral("Sélections de paramètres"));
    resize(1100, 680);
    SprListes = new GrilleDonnees(this);
    CboType = new ComboCodee(this);
    EntreesCodees types;
    for (int t = 0; t < NB_TYPES_LISTE; ++t)
        types.append({QString::number(t), libelleTypeListe(t), 0});
    CboType->definirEntrees(types, ComboCodee::AvecVide);
    TxtCode = new QLineEdit(this);
    TxtCode->setMaxLength(17);
    TxtLibelle = new QLineEdit(this);
    CboParent = new ComboCodee(this);
    ChkDefaut = new QCheckBox(QStringLiteral("Liste par défaut"), this);
    SprParametres = new GrilleSaisie(this);
    CmdNouveau = new QPushButton(QStringLiteral("Créer une nouvelle sélection"), this);
    CmdSupprimer = new QPushButton(QStringLiteral("Supprimer la sélection"), this);
    CmdEnregistrer = new QPushButton(QStringLiteral("Enregistrer la fiche"), this);
    CmdImporter = new QPushButton(QStringLiteral("Importer une liste"), this);
    CmdInserer = new QPushButton(QStringLiteral("Insérer une ligne"), this);
    CmdRetirer = new QPushButton(QStringLiteral("Retirer la ligne"), this);
    nommerControles({{SprListes, "SprListes"},
                     {CboType, "CboType"},
                     {TxtCode, "TxtCode"},
                     {TxtLibelle, "TxtLibelle"},
                     {CboParent, "CboParent"},
                     {ChkDefaut, "ChkDefaut"},
                     {SprParametres, "SprParametres"},
                     {CmdNouveau, "CmdNouveau"},
                     {CmdSupprimer, "CmdSupprimer"},
                     {CmdEnregistrer, "CmdEnregistrer"},
                     {CmdImporter, "CmdImporter"},
                     {CmdInserer, "CmdInserer"},
                     {CmdRetirer, "CmdRetirer"}});

    auto *boutons = new QHBoxLayout;
    for (QPushButton *b : {CmdNouveau, CmdSupprimer, CmdEnregistrer, CmdImporter})
        boutons->addWidget(b);
    boutons->addStretch(1);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Type de liste :"), CboType);
    form->addRow(QStringLiteral("Code :"), TxtCode);
    form->addRow(QStringLiteral("Libellé :"), TxtLibelle);
    form->addRow(QStringLiteral("Parent :"), CboParent);
    form->addRow(QString(), ChkDefaut);
    auto *lignesBoutons = new QHBoxLayout;
    lignesBoutons->addWidget(CmdInserer);
    lignesBoutons->addWidget(CmdRetirer);
    lignesBoutons->addStretch(1);
    auto *droite = new QVBoxLayout;
    droite->addLayout(form);
    droite->addWidget(SprParametres, 1);
    droite->addLayout(lignesBoutons);
    auto *corps = new QHBoxLayout;
    corps->addWidget(SprListes, 3);
    corps->addLayout(droite, 2);
    auto *disposition = new QVBoxLayout(this);
    disposition->addLayout(boutons);
    disposition->addLayout(corps, 1);

    connect(SprListes, &GrilleDonnees::ligneChoisie, this, [this](int l) {
        if (l >= 0 && l < m_titres.size()) ouvrir(m_titres[l].code, m_titres[l].typeListe);
    });
    connect(CboType, &ComboCodee::codeChange, this, [this](const QString &) { majType(); });
    connect(CmdNouveau, &QPushButton::clicked, this, &ListeSelections::nouvelle);
    connect(CmdSupprimer, &QPushButton::clicked, this, &ListeSelections::supprimer);
    connect(CmdEnregistrer, &QPushButton::clicked, this, &ListeSelections::enregistrer);
    connect(CmdImporter, &QPushButton::clicked, this, &ListeSelections::importer);
    connect(CmdInserer, &QPushButton::clicked, this,
            [this] { SprParametres->selectionnerLigne(SprParametres->ajouterLigne()); });
    connect(CmdRetirer, &QPushButton::clicked, this, [this] {
        if (const int l = SprParametres->ligneCourante(); l >= 0) SprParametres->retirerLigne(l);
    });
    chargerListes();
    majType();
}

int ListeSelections::type() const
{
    const QString c = CboType->codeSelectionne();
    return c.isEmpty() ? -1 : c.toInt();
}

FicheSelection ListeSelections::fiche() const
{
    return {type(), TxtCode->text(), TxtLibelle->text(), CboParent->codeSelectionne(),
            ChkDefaut->isChecked()};
}

QVector<LigneGrilleSelection> ListeSelections::lignes() const
{
    SprParametres->validerSaisie();
    QVector<LigneGrilleSelection> l;
    for (int i = 0; i < SprParametres->rowCount(); ++i)
        l.append({SprParametres->texte(i, 0),
                  SprParametres->columnCount() > 1 ? SprParametres->texte(i, 1) : QString()});
    return l;
}

void ListeSelections::chargerListes()
{
    m_titres = titresSelections(true, true);
    QVector<QStringList> lignes;
    for (const TitreSelection &t : std::as_const(m_titres))
        lignes.append({libelleTypeListe(t.typeListe), t.code, t.nom, QString::number(t.typeListe),
                       t.codeParent, t.nomParent, t.defaut ? QStringLiteral("X") : QString()});
    SprListes->remplir({QStringLiteral("Liste"), QStringLiteral("Code"), QStringLiteral("Libellé"),
                        QStringLiteral("TypeListe"), QStringLiteral("codeParent"),
                        QStringLiteral("Parent"), QStringLiteral("Défaut")},
                       lignes);
}

// The grid's columns and the parent choices follow the type.
void ListeSelections::majType()
{
    const int t = type();
    QVector<ColonneSaisie> colonnes;
    if (t >= 0) {
        colonnes.append({t == ListeEtats ? QStringLiteral("Etat") : QStringLiteral("Paramètre"),
                         NatureChamp::Code, choixMembres(t), false});
        if (t != ListeTaxons)
            colonnes.append({QStringLiteral("Unité"), NatureChamp::Code, choixUnites(), false});
    }
    SprParametres->definirColonnes(colonnes);
    EntreesCodees parents;
    if (t >= 0)
        for (const TitreSelection &p : parentsPossibles(t, TxtCode->text().trimmed()))
            parents.append({p.code, p.nom, 0});
    CboParent->definirEntrees(parents, ComboCodee::AvecVide);
}

void ListeSelections::ouvrir(const QString &code, int typeListe)
{
    const std::optional<TitreSelection> titre = titreSelection(code, typeListe);
    const TitreSelection t = titre.value_or(TitreSelection{});
    TxtCode->setText(t.code);
    TxtLibelle->setText(t.nom);
    ChkDefaut->setChecked(t.defaut);
    {
        const QSignalBlocker bloqueur(CboType);
        CboType->selectionnerCode(titre ? QString::number(typeListe) : QString());
    }
    majType();
    CboParent->selectionnerCode(t.codeParent);
    QVector<QStringList> lignes;
    if (titre)
        for (const MembreSelection &m : membresSelection(code, typeListe))
            lignes.append({m.codeParametre, m.codeUnite});
    SprParametres->remplir(lignes);
}

void ListeSelections::nouvelle()
{
    ouvrir({}, -1);
}

void ListeSelections::enregistrer()
{
    const FicheSelection f = fiche();
    if (!montrer(enregistrerSelection(f, lignes()))) return;
    chargerListes();
    ouvrir(f.code.trimmed(), f.typeListe);
}

void ListeSelections::supprimer()
{
    if (type() < 0 || TxtCode->text().trimmed().isEmpty()) return;
    if (!montrer(supprimerSelection(type(), TxtCode->text().trimmed()))) return;
    chargerListes();
    nouvelle();
}

void ListeSelections::importer()
{
    ImportationSelectionParametres dialogue(this);
    dialogue.exec();
    chargerListes();
}

} // namespace vyk
