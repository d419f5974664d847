// The child grids of the operation card.

#include "ui/monitoring/FicheOperations.h"

#include "db/Messages.h"
#include "ui/monitoring/FicheSelectionTaxons.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/Droits.h"
#include "ui/widgets/GrilleSaisie.h"
#include "users/Habilitations.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vyk {

namespace {

const QStringList TITRES_GRILLES = {QStringLiteral("Prélèvements élémentaires"),
                                    QStringLiteral("Conditions environnementales"),
                                    QStringLiteral("Dispositifs"), QStringLiteral("Résultats")};

} // namespace

QWidget *FicheOperations::pageGrille(const QString &titre, GrilleSaisie *table,
                                     const std::function<void()> &ajouter,
                                     const std::function<void()> &supprimer,
                                     const std::function<void()> &enregistrer, QWidget *enTete)
{
    auto *page = table->parentWidget();
    auto *disposition = new QVBoxLayout(page);
    if (enTete) disposition->addWidget(enTete);
    disposition->addWidget(table, 1);
    auto *boutons = new QHBoxLayout;
    const QString nom = page->objectName();
    if (ajouter) {
        auto *b = new QPushButton(QStringLiteral("Ajouter une ligne"), page);
        b->setObjectName(QStringLiteral("CmdAjouter_") + nom);
        appliquerDroit(b, droit::QUALITO_DATA_MODIF);
        connect(b, &QPushButton::clicked, this, ajouter);
        boutons->addWidget(b);
    }
    if (supprimer) {
        auto *b = new QPushButton(QStringLiteral("Supprimer la ligne"), page);
        b->setObjectName(QStringLiteral("CmdSupprimer_") + nom);
        appliquerDroit(b, droit::QUALITO_DATA_MODIF);
        connect(b, &QPushButton::clicked, this, supprimer);
        boutons->addWidget(b);
    }
    boutons->addStretch(1);
    auto *b = new QPushButton(QStringLiteral("Enregistrer"), page);
    b->setObjectName(QStringLiteral("CmdEnregistrer_") + nom);
    appliquerDroit(b, droit::QUALITO_DATA_MODIF);
    connect(b, &QPushButton::clicked, this, enregistrer);
    boutons->addWidget(b);
    disposition->addLayout(boutons);
    Onglets->addTab(page, titre);
    return page;
}

void FicheOperations::construireGrilles()
{
    auto nouvellePage = [this](const QString &nom) {
        auto *page = new QWidget(Onglets);
        page->setObjectName(nom);
        return page;
    };
    // Free lines, after their definitions.
    const auto &definitions = grillesOperation();
    for (int i = 0; i < definitions.size(); ++i) {
        const DefinitionGrille &def = definitions[i];
        QWidget *page = nouvellePage(def.nom);
        auto *table = new GrilleSaisie(page);
        table->setObjectName(QStringLiteral("Spr_") + def.nom);
        const GrilleOperation mecanisme(def);
        QVector<GrilleSaisie::Colonne> colonnes;
        for (int c = 0; c < def.colonnes.size(); ++c)
            colonnes.append(
                {def.colonnes[c].libelle, def.colonnes[c].nature, mecanisme.entrees(c)});
        table->definirColonnes(colonnes);
        m_grilles.insert(def.nom, {&def, table, {}});
        QWidget *enTete = nullptr;
        if (def.nom == QLatin1String("resultats")) {
            enTete = new QWidget(page);
            auto *f = new QFormLayout(enTete);
            f->setContentsMargins(0, 0, 0, 0);
            TxtCommentaireResultat = new QPlainTextEdit(enTete);
            TxtCommentaireResultat->setTabChangesFocus(true);
            TxtCommentaireResultat->setMaximumHeight(
                TxtCommentaireResultat->fontMetrics().height() * 3);
            f->addRow(QStringLiteral("Commentaire des résultats :"), TxtCommentaireResultat);
        }
        const QString nom = def.nom;
        pageGrille(
            TITRES_GRILLES.value(i, def.nom), table, [this, nom] { ajouterLigne(nom); },
            [this, nom] { supprimerLigne(nom); }, [this, nom] { enregistrerGrille(nom); }, enTete);
        // Covers come right after the elementary samples.
        if (i == 0) {
            QWidget *p = nouvellePage(QStringLiteral("recouvrements"));
            SprRecouvrements = new GrilleSaisie(p);
            SprRecouvrements->definirColonnes(
                {{QStringLiteral("Support"), NatureChamp::Texte, {}, true},
                 {QStringLiteral("Code Sandre"), NatureChamp::Texte, {}, true},
                 {QStringLiteral("Recouvrement (%)"), NatureChamp::Nombre},
                 {QStringLiteral("Classe"), NatureChamp::Code, entreesClassesRecouvrement()},
                 {QStringLiteral("Chenal profond (%)"), NatureChamp::Nombre},
                 {QStringLiteral("Zone intermédiaire (%)"), NatureChamp::Nombre},
                 {QStringLiteral("Berges (%)"), NatureChamp::Nombre}});
            SprRecouvrements->setColumnWidth(0, 240);
            pageGrille(QStringLiteral("Recouvrements"), SprRecouvrements, {}, {},
                       [this] { enregistrerRecouvrements(); });
        }
    }

    QWidget *p = nouvellePage(QStringLiteral("unites"));
    SprUnites = new GrilleSaisie(p);
    SprUnites->definirColonnes({{QStringLiteral("Groupe"), NatureChamp::Texte, {}, true},
                                {QStringLiteral("Caractéristique"), NatureChamp::Texte, {}, true},
                                {texteGrillesOperation::UR1, NatureChamp::Nombre},
                                {texteGrillesOperation::UR2, NatureChamp::Nombre}});
    SprUnites->setColumnWidth(0, 180);
    SprUnites->setColumnWidth(1, 180);
    SprUnites->setColumnWidth(2, 260);
    SprUnites->setColumnWidth(3, 260);
    m_ongletUnites = pageGrille(QStringLiteral("Unités de relevé"), SprUnites, {}, {},
                                [this] { enregistrerUnites(); });

    // Taxa lists.
    p = nouvellePage(QStringLiteral("taxons"));
    auto *enTete = new QWidget(p);
    auto *f = new QFormLayout(enTete);
    f->setContentsMargins(0, 0, 0, 0);
    CboListe = new ComboCodee(enTete);
    CboListe->definirEntrees({{QStringLiteral("1"), QStringLiteral("Liste 1")},
                              {QStringLiteral("0"), QStringLiteral("Liste 0")}});
    TxtNomListe = new QLineEdit(enTete);
    TxtNomListe->setMaxLength(255);
    TxtCommentaireListe = new QPlainTextEdit(enTete);
    TxtCommentaireListe->setTabChangesFocus(true);
    TxtCommentaireListe->setMaximumHeight(TxtCommentaireListe->fontMetrics().height() * 3);
    ChkMicroPrelevement = new QCheckBox(QStringLiteral("Micro-prélèvements"), enTete);
    auto *ligneListe = new QHBoxLayout;
    ligneListe->addWidget(CboListe);
    ligneListe->addWidget(ChkMicroPrelevement);
    ligneListe->addStretch(1);
    f->addRow(QStringLiteral("Liste :"), ligneListe);
    f->addRow(QStringLiteral("Nom de la liste :"), TxtNomListe);
    f->addRow(QStringLiteral("Commentaires :"), TxtCommentaireListe);
    SprTaxons = new GrilleSaisie(p);
    pageGrille(
        QStringLiteral("Taxons"), SprTaxons, [this] { DeclencheAjoutTaxons(); },
        [this] { supprimerTaxon(); }, [this] { enregistrerTaxons(); }, enTete);
    if (auto *b = p->findChild<QPushButton *>(QStringLiteral("CmdAjouter_taxons")))
        b->setText(QStringLiteral("Ajouter des taxons..."));
    connect(CboListe, &ComboCodee::codeChange, this, [this] { chargerTaxons(); });
}

void FicheOperations::chargerGrilles()
{
    const QString op = m_operation.code;
    for (auto it = m_grilles.begin(); it != m_grilles.end(); ++it) {
        Grille &g = it.value();
        const LignesGrille lignes = GrilleOperation(*g.def).charger(m_station, op);
        g.table->definirNbLignes(int(lignes.size()));
        g.cles.clear();
        for (int l = 0; l < lignes.size(); ++l) {
            for (int c = 0; c < lignes[l].textes.size(); ++c)
                g.table->definirTexte(l, c, lignes[l].textes[c]);
            g.cles << lignes[l].cle;
        }
    }
    const QVector<LigneRecouvrement> rec = chargerRecouvrements(m_station, op);
    SprRecouvrements->definirNbLignes(int(rec.size()));
    for (int l = 0; l < rec.size(); ++l) {
        const QStringList t{supportsRecouvrement()[l].libelle,
                            supportsRecouvrement()[l].codeSandre,
                            rec[l].recouvrement,
                            rec[l].type,
                            rec[l].chenal,
                            rec[l].intermediaire,
                            rec[l].berge};
        for (int c = 0; c < t.size(); ++c)
            SprRecouvrements->definirTexte(l, c, t[c]);
    }
    const auto &caracteristiques = caracteristiquesUnites();
    const ValeursUnites unites = chargerUnites(m_station, op);
    SprUnites->definirNbLignes(int(caracteristiques.size()));
    for (int l = 0; l < caracteristiques.size(); ++l) {
        const CaracteristiqueUnite &c = caracteristiques[l];
        if (c.note)
            for (int k : {2, 3})
                SprUnites->definirCellule(l, k, {{}, NatureChamp::Code, entreesAbondance()});
        SprUnites->definirTexte(l, 0, c.groupeLibelle);
        SprUnites->definirTexte(l, 1, c.libelle);
        SprUnites->definirTexte(l, 2, unites.ur1.value(l));
        SprUnites->definirTexte(l, 3, unites.ur2.value(l));
    }
    chargerTaxons();
}

int FicheOperations::ajouterLigne(const QString &nom)
{
    Grille &g = m_grilles[nom];
    if (!g.table) return -1;
    const int l = g.table->ajouterLigne();
    g.cles << QVector<QVariant>();
    g.table->selectionnerLigne(l);
    return l;
}

bool FicheOperations::supprimerLigne(const QString &nom)
{
    Grille &g = m_grilles[nom];
    const int l = g.table ? g.table->ligneCourante() : -1;
    if (l < 0) return false;
    if (!montrer(GrilleOperation(*g.def).supprimerLigne(
            m_station, m_operation.code, {g.table->textesLigne(l), g.cles.value(l)})))
        return false;
    g.table->retirerLigne(l);
    g.cles.removeAt(l);
    return true;
}

bool FicheOperations::enregistrerGrille(const QString &nom)
{
    Grille &g = m_grilles[nom];
    if (!g.table) return false;
    g.table->validerSaisie();
    LignesGrille lignes;
    for (int l = 0; l < g.table->rowCount(); ++l)
        lignes.append({g.table->textesLigne(l), g.cles.value(l)});
    const GrilleOperation mecanisme(*g.def);
    const QString commentaire = TxtCommentaireResultat->toPlainText();
    if (!montrer(
            mecanisme.enregistrer(m_station, m_operation.code, lignes,
                                  nom == QLatin1String("resultats") ? &commentaire : nullptr))) {
        g.table->selectionnerLigne(mecanisme.verifier(lignes).ligne);
        return false;
    }
    if (nom == QLatin1String("resultats"))
        m_operation.valeurs.insert(QStringLiteral("commentaireResultat"), commentaire);
    chargerGrilles();
    return true;
}

bool FicheOperations::enregistrerRecouvrements()
{
    SprRecouvrements->validerSaisie();
    QVector<LigneRecouvrement> lignes;
    for (int l = 0; l < SprRecouvrements->rowCount(); ++l)
        lignes.append({SprRecouvrements->texte(l, 2), SprRecouvrements->texte(l, 3),
                       SprRecouvrements->texte(l, 4), SprRecouvrements->texte(l, 5),
                       SprRecouvrements->texte(l, 6)});
    if (montrer(vyk::enregistrerRecouvrements(m_station, m_operation.code, lignes))) return true;
    SprRecouvrements->selectionnerLigne(verifierRecouvrements(lignes).ligne);
    return false;
}

bool FicheOperations::enregistrerUnites()
{
    SprUnites->validerSaisie();
    ValeursUnites v;
    for (int l = 0; l < SprUnites->rowCount(); ++l) {
        v.ur1 << SprUnites->texte(l, 2);
        v.ur2 << SprUnites->texte(l, 3);
    }
    if (montrer(vyk::enregistrerUnites(m_station, m_operation.code, v))) return true;
    SprUnites->selectionnerLigne(verifierUnites(v).ligne);
    return false;
}

int FicheOperations::codeListe() const
{
    return CboListe->codeSelectionne() == QLatin1String("0") ? 0 : 1;
}

void FicheOperations::chargerTaxons()
{
    if (!SprTaxons) return;
    m_taxons = std::make_unique<ListeTaxonsOperation>(m_station, identifiantPoint());
    m_taxons->charger(m_operation.code, codeListe());
    TxtNomListe->setText(m_taxons->nomListe);
    TxtCommentaireListe->setPlainText(m_taxons->commentaireListe);
    ChkMicroPrelevement->setChecked(m_taxons->microPrelevement);
    QVector<GrilleSaisie::Colonne> colonnes;
    for (const ColonneGrilleTaxons &c : m_taxons->colonnes())
        colonnes.append({c.titre, c.genre, c.entrees, c.valeur < 0});
    SprTaxons->definirColonnes(colonnes);
    SprTaxons->setColumnWidth(0, 220);
    afficherTaxons();
}

void FicheOperations::afficherTaxons()
{
    const int n = int(m_taxons->lignes().size());
    SprTaxons->definirNbLignes(n);
    for (int l = 0; l < n; ++l)
        for (int c = 0; c < m_taxons->colonnes().size(); ++c)
            SprTaxons->definirTexte(l, c, m_taxons->texte(l, c));
}

void FicheOperations::recueillirTaxons()
{
    SprTaxons->validerSaisie();
    for (int l = 0; l < SprTaxons->rowCount() && l < m_taxons->lignes().size(); ++l)
        for (int c = 0; c < m_taxons->colonnes().size(); ++c)
            if (m_taxons->colonnes()[c].valeur >= 0)
                m_taxons->definirTexte(l, c, SprTaxons->texte(l, c));
    m_taxons->nomListe = TxtNomListe->text();
    m_taxons->commentaireListe = TxtCommentaireListe->toPlainText();
    m_taxons->microPrelevement = ChkMicroPrelevement->isChecked();
}

bool FicheOperations::enregistrerTaxons()
{
    recueillirTaxons();
    const CompteRendu fin = m_taxons->enregistrer(m_operation.code, codeListe());
    // Lines dropped on request leave the grid even when a later check refuses the save.
    afficherTaxons();
    return montrer(fin);
}

bool FicheOperations::supprimerTaxon()
{
    recueillirTaxons();
    if (!montrer(
            m_taxons->supprimerLigne(m_operation.code, codeListe(), SprTaxons->ligneCourante())))
        return false;
    afficherTaxons();
    return true;
}

void FicheOperations::DeclencheAjoutTaxons()
{
    if (m_operation.estNouvelle()) {
        afficherMessage(GENRE_ERREUR, texteOperations::PARENT_ABSENT);
        return;
    }
    recueillirTaxons();
    m_selection = new FicheSelectionTaxons(this);
    m_selection->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_selection, &QDialog::accepted, this, [this] {
        if (!m_selection) return;
        m_taxons->ajouterTaxons(m_selection->taxonsChoisis());
        afficherTaxons();
    });
    m_selection->open();
}

FicheSelectionTaxons *FicheOperations::selectionTaxons() const
{
    return m_selection;
}

} // namespace vyk
