#include "ui/search/ImportationSelectionParametres.h"

#include "db/Messages.h"
#include "ui/widgets/DialogueExport.h"
#include "ui/widgets/GrilleDonnees.h"
#include "ui/widgets/ProgressionGui.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vyk {

ImportationSelectionParametres::ImportationSelectionParametres(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ImportationSelectionParametres"));
    setWindowTitle(QStringLiteral("Importation de sélections de paramètres"));
    resize(1000, 620);
    LblColonnes = new QLabel(texteImportSelections::COLONNES, this);
    TxtFichier = new QLineEdit(this);
    TxtFichier->setReadOnly(true);
    CmdParcourir = new QPushButton(QStringLiteral("Parcourir..."), this);
    SprApercu = new GrilleDonnees(this);
    CmdDemarrer = new QPushButton(QStringLiteral("Démarrer l'importation"), this);
    CmdDemarrer->setEnabled(false);
    CmdDefauts = new QPushButton(QStringLiteral("Listes par défaut"), this);
    CmdFermer = new QPushButton(QStringLiteral("Fermer"), this);

    auto *disposition = new QVBoxLayout(this);
    disposition->addWidget(LblColonnes);
    auto *ligneFichier = new QHBoxLayout;
    ligneFichier->addWidget(TxtFichier, 1);
    ligneFichier->addWidget(CmdParcourir);
    disposition->addLayout(ligneFichier);
    disposition->addWidget(SprApercu, 1);
    auto *boutons = new QHBoxLayout;
    boutons->addWidget(CmdDefauts);
    boutons->addStretch(1);
    boutons->addWidget(CmdDemarrer);
    boutons->addWidget(CmdFermer);
    disposition->addLayout(boutons);

    connect(CmdParcourir, &QPushButton::clicked, this, [this] {
        const QString chemin =
            demanderClasseurOuTexte(this, QStringLiteral("Fichier de sélections"));
        if (!chemin.isEmpty()) choisirFichier(chemin);
    });
    connect(CmdDemarrer, &QPushButton::clicked, this, &ImportationSelectionParametres::demarrer);
    connect(CmdDefauts, &QPushButton::clicked, this,
            &ImportationSelectionParametres::creerListesParDefaut);
    connect(CmdFermer, &QPushButton::clicked, this, &QDialog::reject);
}

bool ImportationSelectionParametres::choisirFichier(const QString &chemin)
{
    TxtFichier->setText(chemin);
    m_lignes.clear();
    SprApercu->vider();
    CmdDemarrer->setEnabled(false);
    QString erreur;
    if (!lireFichierSelections(chemin, m_lignes, erreur)) {
        afficherMessage(GENRE_ERREUR, erreur);
        return false;
    }
    QVector<QStringList> grille;
    for (const LigneFichierSelection &l : std::as_const(m_lignes))
        grille << l.champs();
    SprApercu->remplir(entetesFichierSelections(), grille);
    CmdDemarrer->setEnabled(true);
    return true;
}

void ImportationSelectionParametres::demarrer()
{
    if (m_lignes.isEmpty()) return;
    BilanImportSelections bilan;
    {
        ProgressionGui progression(this, windowTitle());
        bilan = importerSelections(m_lignes, progression);
    }
    montrer(bilan.compteRendu);
    if (!bilan.annule) CmdDemarrer->setEnabled(false);
}

void ImportationSelectionParametres::creerListesParDefaut()
{
    if (!confirmerParMessage(texteImportSelections::CREER_DEFAUTS)) return;
    ProgressionGui progression(this, texteImportSelections::INTEGRATION);
    const int n = installerListesParDefaut(progression);
    if (n < 0)
        afficherMessage(GENRE_ERREUR, texteImportSelections::DEFAUTS_ECHEC);
    else
        afficherMessage(GENRE_INFO, texteImportSelections::DEFAUTS_CREES.arg(n));
}

} // namespace vyk
