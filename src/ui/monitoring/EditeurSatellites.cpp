#include "ui/monitoring/EditeurSatellites.h"

#include "ui/widgets/GrilleSaisie.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vyk {

GrilleSaisie *EditeurSatellites::construireTable(const DefinitionGrille &def, QWidget *parent) const
{
    QVector<GrilleSaisie::Colonne> colonnes;
    for (const ColonneGrille &c : def.colonnes)
        colonnes.append(
            {c.libelle, c.nature,
             c.nature == NatureChamp::Code ? GrilleSatellite::entrees(c) : EntreesCodees(),
             c.automatique});
    auto *table = new GrilleSaisie(parent);
    table->setObjectName(QStringLiteral("Spr_") + def.nom);
    table->definirColonnes(colonnes);
    table->setAlternatingRowColors(false);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

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
            g.table = construireTable(*def, boite);
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

GrilleSaisie *EditeurSatellites::table(const QString &grille) const
{
    for (const Grille &g : m_grilles)
        if (g.def->nom == grille) return g.table;
    return nullptr;
}

void EditeurSatellites::definirTournees(const QString &texte)
{
    if (TxtTournees) TxtTournees->setText(texte);
}

void EditeurSatellites::afficher(Grille &g, const LignesGrille &lignes)
{
    g.cles.clear();
    for (const LigneGrille &l : lignes)
        g.cles << l.cle;
    if (g.table) {
        QVector<QStringList> textes;
        for (const LigneGrille &l : lignes)
            textes << l.textes;
        g.table->remplir(textes);
        g.table->ajusterLargeurs();
        return;
    }
    const LigneGrille l = lignes.value(0);
    g.cles = {l.cle};
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
        l.cle = g.cles.value(0);
        lignes << l;
        return lignes;
    }
    g.table->validerSaisie();
    for (int r = 0; r < g.table->rowCount(); ++r)
        lignes << LigneGrille{g.table->textesLigne(r), g.cles.value(r)};
    return lignes;
}

bool EditeurSatellites::enregistrer()
{
    QHash<QString, LignesGrille> lignes;
    for (const Grille &g : m_grilles)
        lignes[g.def->nom] = lire(g);
    if (!montrer(enregistrerSatellites(m_sauvegarde, m_codeParent(), lignes,
                                       TxtTournees ? TxtTournees->text() : QString())))
        return false;
    for (Grille &g : m_grilles)
        afficher(g, lignes[g.def->nom]);
    return true;
}

int EditeurSatellites::ajouterLigne(const QString &grille)
{
    for (Grille &g : m_grilles)
        if (g.def->nom == grille && g.table) {
            const int ligne = g.table->ajouterLigne();
            g.cles.resize(g.table->rowCount());
            g.table->selectionnerLigne(ligne);
            return ligne;
        }
    return -1;
}

bool EditeurSatellites::supprimerLigne(const QString &grille)
{
    for (Grille &g : m_grilles) {
        if (g.def->nom != grille || !g.table) continue;
        const int r = g.table->ligneCourante();
        if (r < 0) return false;
        const LignesGrille lignes = lire(g);
        if (!montrer(GrilleSatellite(*g.def).supprimerLigne(m_codeParent(), lignes[r])))
            return false;
        g.table->retirerLigne(r);
        g.cles.remove(r);
        return true;
    }
    return false;
}

} // namespace vyk
