#include "ui/quality/ListeSeuils.h"

#include "referentials/ListesCodees.h"
#include "ui/quality/ImportationSeuils.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/Droits.h"
#include "ui/widgets/GrilleSaisie.h"
#include "users/Habilitations.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vyk {

ListeSeuils::ListeSeuils(QWidget *parent) : Ecran(parent)
{
    setObjectName(QStringLiteral("ListeSeuils"));
    setWindowTitle(QStringLiteral("Seuils"));
    resize(1150, 650);
    CboType = new ComboCodee(this);
    EntreesCodees types;
    for (const GenreSeuils &g : genresSeuils())
        types.append({g.typeListe, g.libelle, 0});
    CboType->definirEntrees(types, ComboCodee::AvecVide);
    LstSeuils = new QListWidget(this);
    TxtCode = new QLineEdit(this);
    TxtCode->setReadOnly(true);
    TxtLibelle = new QLineEdit(this);
    TxtCommentaire = new QLineEdit(this);
    CboReference = new ComboCodee(this);
    SprSeuils = new GrilleSaisie(this);
    CmdNouveau = new QPushButton(QStringLiteral("Nouveau seuil"), this);
    CmdInserer = new QPushButton(QStringLiteral("Insérer un élément"), this);
    CmdRetirer = new QPushButton(QStringLiteral("Retirer l'élément"), this);
    CmdEnregistrer = new QPushButton(QStringLiteral("Enregistrer"), this);
    CmdSupprimer = new QPushButton(QStringLiteral("Supprimer le seuil"), this);
    CmdExporter = new QPushButton(QStringLiteral("Exporter"), this);
    CmdImporter = new QPushButton(QStringLiteral("Importer un fichier..."), this);
    for (QWidget *w : {static_cast<QWidget *>(CmdNouveau), static_cast<QWidget *>(CmdInserer),
                       static_cast<QWidget *>(CmdRetirer), static_cast<QWidget *>(CmdEnregistrer),
                       static_cast<QWidget *>(CmdSupprimer), static_cast<QWidget *>(CmdImporter)})
        appliquerDroit(w, droit::QUALITO_SEUILS);

    auto *fiche = new QFormLayout;
    fiche->addRow(QStringLiteral("Type de liste :"), CboType);
    fiche->addRow(QStringLiteral("Code :"), TxtCode);
    fiche->addRow(QStringLiteral("Libellé :"), TxtLibelle);
    fiche->addRow(QStringLiteral("Commentaire :"), TxtCommentaire);
    fiche->addRow(QStringLiteral("Seuil de référence :"), CboReference);
    auto *gauche = new QVBoxLayout;
    gauche->addLayout(fiche);
    gauche->addWidget(LstSeuils, 1);
    auto *boutons = new QHBoxLayout;
    for (QPushButton *b : {CmdNouveau, CmdInserer, CmdRetirer, CmdEnregistrer, CmdSupprimer,
                           CmdExporter, CmdImporter})
        boutons->addWidget(b);
    boutons->addStretch(1);
    auto *droite = new QVBoxLayout;
    droite->addWidget(SprSeuils, 1);
    droite->addLayout(boutons);
    auto *disposition = new QHBoxLayout(this);
    disposition->addLayout(gauche, 1);
    disposition->addLayout(droite, 3);

    connect(CboType, &ComboCodee::codeChange, this, [this](const QString &) { chargerJeux(); });
    connect(LstSeuils, &QListWidget::currentRowChanged, this, [this](int ligne) {
        if (ligne >= 0 && ligne < m_jeux.size()) choisirJeu(m_jeux[ligne].code);
    });
    connect(CmdNouveau, &QPushButton::clicked, this, [this] { choisirJeu({}); });
    connect(CmdInserer, &QPushButton::clicked, this, &ListeSeuils::inserer);
    connect(CmdRetirer, &QPushButton::clicked, this, [this] {
        if (const int l = SprSeuils->ligneCourante(); l >= 0) SprSeuils->retirerLigne(l);
    });
    connect(CmdEnregistrer, &QPushButton::clicked, this, &ListeSeuils::enregistrer);
    connect(CmdSupprimer, &QPushButton::clicked, this, &ListeSeuils::supprimer);
    connect(CmdExporter, &QPushButton::clicked, this, [this] { exporter(); });
    connect(CmdImporter, &QPushButton::clicked, this, &ListeSeuils::importer);
    chargerJeux();
}

const GenreSeuils *ListeSeuils::genre() const
{
    const QString code = CboType->codeSelectionne();
    return code.isEmpty() ? nullptr : genreSeuils(code);
}

FicheJeuSeuils ListeSeuils::fiche() const
{
    return {TxtCode->text(), TxtLibelle->text(), TxtCommentaire->text(),
            CboReference->codeSelectionne()};
}

void ListeSeuils::definirColonnes()
{
    QVector<ColonneSaisie> colonnes;
    if (const GenreSeuils *g = genre())
        for (const ChampDecrit &c : champsBornes(*g))
            colonnes.append({c.libelle, c.nature, {}, false});
    SprSeuils->definirColonnes(colonnes);
}

void ListeSeuils::chargerJeux()
{
    const QString choisi = TxtCode->text();
    m_jeux = genre() ? jeuxSeuils(*genre()) : QVector<FicheJeuSeuils>();
    QVector<ElementHierarchique> elements;
    for (const FicheJeuSeuils &j : std::as_const(m_jeux))
        elements.append({j.code, j.libelle, j.codeReference});
    const EntreesCodees entrees = trierHierarchie(elements);
    // The list follows the hierarchy: the sets in the same order.
    QVector<FicheJeuSeuils> ordonnes;
    const QSignalBlocker bloqueur(LstSeuils);
    LstSeuils->clear();
    for (const EntreeCodee &e : entrees) {
        LstSeuils->addItem(e.texte());
        for (const FicheJeuSeuils &j : std::as_const(m_jeux))
            if (j.code == e.code) ordonnes << j;
    }
    m_jeux = ordonnes;
    CboReference->definirEntrees(entrees, ComboCodee::AvecVide);
    definirColonnes();
    choisirJeu(choisi);
}

void ListeSeuils::choisirJeu(const QString &code)
{
    FicheJeuSeuils f;
    int ligne = -1;
    for (int i = 0; i < m_jeux.size(); ++i)
        if (m_jeux[i].code == code && !code.isEmpty()) {
            f = m_jeux[i];
            ligne = i;
        }
    TxtCode->setText(f.code);
    TxtLibelle->setText(f.libelle);
    TxtCommentaire->setText(f.commentaire);
    CboReference->selectionnerCode(f.codeReference);
    const QSignalBlocker bloqueur(LstSeuils);
    LstSeuils->setCurrentRow(ligne);
    QVector<QStringList> lignes;
    if (genre() && !f.code.isEmpty())
        for (const LigneBornes &l : lireBornes(*genre(), f.code.toInt()))
            lignes << l.textes;
    SprSeuils->remplir(lignes);
}

void ListeSeuils::inserer()
{
    if (!montrer(peutInsererBornes(genre()))) return;
    SprSeuils->selectionnerLigne(SprSeuils->ajouterLigne());
}

QVector<LigneBornes> ListeSeuils::lignes() const
{
    SprSeuils->validerSaisie();
    QVector<LigneBornes> r;
    for (int i = 0; i < SprSeuils->rowCount(); ++i)
        r.append({i + 1, SprSeuils->textesLigne(i)});
    return r;
}

void ListeSeuils::enregistrer()
{
    if (!montrer(peutInsererBornes(genre()))) return;
    FicheJeuSeuils f = fiche();
    if (montrer(enregistrerJeuSeuils(*genre(), f, lignes()))) {
        TxtCode->setText(f.code);
        chargerJeux();
    }
}

void ListeSeuils::supprimer()
{
    if (!genre() || TxtCode->text().isEmpty()) return;
    if (montrer(supprimerJeuSeuils(*genre(), TxtCode->text()))) {
        TxtCode->clear();
        chargerJeux();
    }
}

void ListeSeuils::exporter(const QString &chemin)
{
    if (!genre() || TxtCode->text().isEmpty()) {
        montrer(exporterJeuSeuils(genresSeuils().first(), {}, {})); // says that a set is needed
        return;
    }
    QString fichier = chemin;
    if (fichier.isEmpty())
        fichier = QFileDialog::getSaveFileName(this, QStringLiteral("Exporter le seuil"),
                                               TxtLibelle->text() + QStringLiteral(".xlsx"),
                                               QStringLiteral("Classeur (*.xlsx *.ods);;Texte "
                                                              "(*.csv)"));
    if (!fichier.isEmpty()) montrer(exporterJeuSeuils(*genre(), fiche(), fichier));
}

void ListeSeuils::importer()
{
    ImportationSeuils dialogue(genre(), this);
    dialogue.exec();
    if (dialogue.nbJeux() > 0) chargerJeux();
}

} // namespace vyk
