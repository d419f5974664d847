#include "ui/monitoring/EditeurSatellites.h"

#include "ui/widgets/ComboCodee.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vyk {

namespace {

constexpr int ROLE_CLE = Qt::UserRole + 1;

} // namespace

EditeurSatellites::EditeurSatellites(const DefinitionSauvegarde &sauvegarde,
                                     std::function<QString()> codeParent, QWidget *parent)
    : QWidget(parent), m_sauvegarde(sauvegarde), m_codeParent(std::move(codeParent))
{
    setObjectName(QStringLiteral("Editeur_") + sauvegarde.nom);
    auto *colonne = new QVBoxLayout(this);
    for (const QString &nom : sauvegarde.grilles) {
        const DefinitionGrille *def = grilleQualitometre(nom);
        if (!def) continue;
        Grille g{def};
        for (const ColonneGrille &c : def->colonnes)
            g.entrees << (c.nature == NatureChamp::Code ? GrilleSatellite::entrees(c)
                                                        : EntreesCodees());
        if (def->ligneUnique) {
            auto *formulaire = new QFormLayout;
            for (const ColonneGrille &c : def->colonnes) {
                auto *champ = new QLineEdit(this);
                champ->setObjectName(QStringLiteral("Txt_") + nom + u'_' + c.colonne);
                formulaire->addRow(c.libelle, champ);
                g.champs << champ;
            }
            colonne->addLayout(formulaire);
        } else {
            auto *boite = new QGroupBox(
                sauvegarde.grilles.size() > 1 ? def->suffixe.mid(5) : QString(), this);
            auto *interieur = new QVBoxLayout(boite);
            g.table = new QTableWidget(0, int(def->colonnes.size()), boite);
            g.table->setObjectName(QStringLiteral("Spr_") + nom);
            QStringList titres;
            for (const ColonneGrille &c : def->colonnes)
                titres << c.libelle;
            g.table->setHorizontalHeaderLabels(titres);
            g.table->setSelectionBehavior(QAbstractItemView::SelectRows);
            g.table->verticalHeader()->hide();
            g.table->horizontalHeader()->setStretchLastSection(true);
            auto *ajout = new QPushButton(QStringLiteral("Ajouter une ligne"), boite);
            ajout->setObjectName(QStringLiteral("CmdAjouter_") + nom);
            auto *suppression = new QPushButton(QStringLiteral("Supprimer la ligne"), boite);
            suppression->setObjectName(QStringLiteral("CmdSupprimer_") + nom);
            connect(ajout, &QPushButton::clicked, this, [this, nom] { ajouterLigne(nom); });
            connect(suppression, &QPushButton::clicked, this, [this, nom] { supprimerLigne(nom); });
            auto *boutons = new QHBoxLayout;
            boutons->addWidget(ajout);
            boutons->addWidget(suppression);
            boutons->addStretch();
            interieur->addWidget(g.table);
            interieur->addLayout(boutons);
            colonne->addWidget(boite, 1);
        }
        m_grilles << g;
    }
    auto *bas = new QHBoxLayout;
    if (sauvegarde.regle == RegleSauvegarde::Interventions) {
        TxtTournees = new QLineEdit(this);
        TxtTournees->setObjectName(QStringLiteral("TxtTournees"));
        TxtTournees->setMaximumWidth(80);
        bas->addWidget(new QLabel(QStringLiteral("Nombre de tournées"), this));
        bas->addWidget(TxtTournees);
    }
    bas->addStretch();
    CmdEnregistrer = new QPushButton(QStringLiteral("Enregistrer"), this);
    CmdEnregistrer->setObjectName(QStringLiteral("CmdEnregistrer_") + sauvegarde.nom);
    connect(CmdEnregistrer, &QPushButton::clicked, this, &EditeurSatellites::enregistrer);
    bas->addWidget(CmdEnregistrer);
    colonne->addLayout(bas);
}

QTableWidget *EditeurSatellites::table(const QString &grille) const
{
    for (const Grille &g : m_grilles)
        if (g.def->nom == grille) return g.table;
    return nullptr;
}

void EditeurSatellites::definirTournees(const QString &texte)
{
    if (TxtTournees) TxtTournees->setText(texte);
}

void EditeurSatellites::remplirLigne(Grille &g, int ligne, const LigneGrille &l)
{
    for (int c = 0; c < g.def->colonnes.size(); ++c) {
        const ColonneGrille &col = g.def->colonnes[c];
        const QString texte = l.textes.value(c);
        auto *item = new QTableWidgetItem;
        if (col.nature == NatureChamp::Code) {
            auto *choix = new ComboCodee(g.table);
            choix->definirEntrees(g.entrees[c], ComboCodee::AvecVide);
            if (!choix->selectionnerCode(texte) && !texte.isEmpty()) {
                // A code missing from the list is kept as it is.
                EntreesCodees avec = g.entrees[c];
                avec.append({texte, texte});
                choix->definirEntrees(avec, ComboCodee::AvecVide);
                choix->selectionnerCode(texte);
            }
            g.table->setCellWidget(ligne, c, choix);
        } else if (col.nature == NatureChamp::OuiNon) {
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
            item->setCheckState(texte == QLatin1String("1") ? Qt::Checked : Qt::Unchecked);
        } else {
            item->setText(texte);
            if (col.automatique) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        }
        if (c == 0)
            item->setData(ROLE_CLE, QVariant::fromValue(QVariantList(l.cle.begin(), l.cle.end())));
        g.table->setItem(ligne, c, item);
    }
}

void EditeurSatellites::afficher(Grille &g, const LignesGrille &lignes)
{
    if (g.table) {
        g.table->setRowCount(0);
        g.table->setRowCount(int(lignes.size()));
        for (int l = 0; l < lignes.size(); ++l)
            remplirLigne(g, l, lignes[l]);
        g.table->resizeColumnsToContents();
        return;
    }
    const LigneGrille l = lignes.value(0);
    g.cleFormulaire = l.cle;
    for (int c = 0; c < g.champs.size(); ++c)
        g.champs[c]->setText(l.textes.value(c));
}

void EditeurSatellites::charger()
{
    const QString code = m_codeParent();
    for (Grille &g : m_grilles)
        afficher(g, code.isEmpty() ? LignesGrille() : GrilleSatellite(*g.def).charger(code));
}

LignesGrille EditeurSatellites::lire(const Grille &g) const
{
    LignesGrille lignes;
    if (!g.table) {
        LigneGrille l;
        for (const QLineEdit *champ : g.champs)
            l.textes << champ->text();
        l.cle = g.cleFormulaire;
        lignes << l;
        return lignes;
    }
    for (int r = 0; r < g.table->rowCount(); ++r) {
        LigneGrille l;
        for (int c = 0; c < g.def->colonnes.size(); ++c) {
            const QTableWidgetItem *item = g.table->item(r, c);
            if (const auto *choix = qobject_cast<ComboCodee *>(g.table->cellWidget(r, c)))
                l.textes << choix->codeSelectionne();
            else if (g.def->colonnes[c].nature == NatureChamp::OuiNon)
                l.textes << (item && item->checkState() == Qt::Checked ? QStringLiteral("1")
                                                                       : QStringLiteral("0"));
            else
                l.textes << (item ? item->text() : QString());
        }
        if (const QTableWidgetItem *premier = g.table->item(r, 0))
            for (const QVariant &v : premier->data(ROLE_CLE).toList())
                l.cle << v;
        lignes << l;
    }
    return lignes;
}

bool EditeurSatellites::enregistrer()
{
    QHash<QString, LignesGrille> lignes;
    for (const Grille &g : m_grilles)
        lignes[g.def->nom] = lire(g);
    if (!enregistrerSatellites(m_sauvegarde, m_codeParent(), lignes,
                               TxtTournees ? TxtTournees->text() : QString()))
        return false;
    for (Grille &g : m_grilles)
        afficher(g, lignes[g.def->nom]);
    return true;
}

int EditeurSatellites::ajouterLigne(const QString &grille)
{
    for (Grille &g : m_grilles)
        if (g.def->nom == grille && g.table) {
            const int ligne = g.table->rowCount();
            g.table->insertRow(ligne);
            LigneGrille vide;
            for (int c = 0; c < g.def->colonnes.size(); ++c)
                vide.textes << QString();
            remplirLigne(g, ligne, vide);
            g.table->setCurrentCell(ligne, 0);
            return ligne;
        }
    return -1;
}

bool EditeurSatellites::supprimerLigne(const QString &grille)
{
    for (Grille &g : m_grilles) {
        if (g.def->nom != grille || !g.table) continue;
        const int r = g.table->currentRow();
        if (r < 0) return false;
        const LignesGrille lignes = lire(g);
        if (!GrilleSatellite(*g.def).supprimerLigne(m_codeParent(), lignes[r])) return false;
        g.table->removeRow(r);
        return true;
    }
    return false;
}

} // namespace vyk
