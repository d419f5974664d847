#include "ui/quality/ImportationSeuils.h"

#include "db/Messages.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/DialogueExport.h"
#include "ui/widgets/GrilleDonnees.h"
#include "ui/widgets/ProgressionGui.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vyk {

ImportationSeuils::ImportationSeuils(const GenreSeuils *genre, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ImportationSeuils"));
    setWindowTitle(QStringLiteral("Importation de seuils"));
    resize(1000, 620);
    CboType = new ComboCodee(this);
    EntreesCodees types;
    for (const GenreSeuils &g : genresSeuils())
        types.append({g.champ, g.libelle, 0});
    CboType->definirEntrees(types);
    if (genre) CboType->selectionnerCode(genre->champ);
    LblColonnes = new QLabel(this);
    TxtFichier = new QLineEdit(this);
    TxtFichier->setReadOnly(true);
    CmdParcourir = new QPushButton(QStringLiteral("Parcourir..."), this);
    SprApercu = new GrilleDonnees(this);
    CmdDemarrer = new QPushButton(QStringLiteral("Démarrer l'importation"), this);
    CmdDemarrer->setEnabled(false);
    CmdFermer = new QPushButton(QStringLiteral("Fermer"), this);

    auto *disposition = new QVBoxLayout(this);
    auto *haut = new QHBoxLayout;
    haut->addWidget(new QLabel(QStringLiteral("Type de liste :"), this));
    haut->addWidget(CboType, 1);
    disposition->addLayout(haut);
    disposition->addWidget(LblColonnes);
    auto *ligneFichier = new QHBoxLayout;
    ligneFichier->addWidget(TxtFichier, 1);
    ligneFichier->addWidget(CmdParcourir);
    disposition->addLayout(ligneFichier);
    disposition->addWidget(SprApercu, 1);
    auto *boutons = new QHBoxLayout;
    boutons->addStretch(1);
    boutons->addWidget(CmdDemarrer);
    boutons->addWidget(CmdFermer);
    disposition->addLayout(boutons);

    connect(CboType, &ComboCodee::codeChange, this, [this](const QString &) { majGenre(); });
    connect(CmdParcourir, &QPushButton::clicked, this, [this] {
        const QString chemin = demanderClasseurOuTexte(this, QStringLiteral("Fichier de seuils"));
        if (!chemin.isEmpty()) choisirFichier(chemin);
    });
    connect(CmdDemarrer, &QPushButton::clicked, this, &ImportationSeuils::demarrer);
    connect(CmdFermer, &QPushButton::clicked, this, &QDialog::reject);
    majGenre();
}

const GenreSeuils *ImportationSeuils::genre() const
{
    return genreSeuils(CboType->codeSelectionne());
}

void ImportationSeuils::majGenre()
{
    if (!genre()) return;
    LblColonnes->setText(annonceColonnesSeuils(*genre()));
    // A file read for another kind has other columns: read it again.
    if (!TxtFichier->text().isEmpty()) choisirFichier(TxtFichier->text());
}

bool ImportationSeuils::choisirFichier(const QString &chemin)
{
    TxtFichier->setText(chemin);
    m_fichier = {};
    SprApercu->vider();
    CmdDemarrer->setEnabled(false);
    QString erreur;
    if (!genre() || !lireFichierSeuils(chemin, *genre(), m_fichier, erreur)) {
        afficherMessage(GENRE_ERREUR, erreur);
        return false;
    }
    SprApercu->remplir(entetesFichierSeuils(*genre()), m_fichier.grille(*genre()));
    CmdDemarrer->setEnabled(true);
    return true;
}

void ImportationSeuils::demarrer()
{
    if (!genre() || m_fichier.lignes.isEmpty()) return;
    BilanImportSeuils bilan;
    {
        ProgressionGui progression(this, windowTitle());
        bilan = importerSeuils(*genre(), m_fichier, progression);
    }
    if (!bilan.refus.isEmpty()) {
        afficherMessage(bilan.genreRefus, bilan.refus);
        return;
    }
    m_jeux += bilan.jeux;
    QString texte = QStringLiteral("Import terminé : %1 seuil(s), %2 ligne(s) de seuils "
                                   "intégrés.")
                        .arg(bilan.jeux)
                        .arg(bilan.lignes);
    if (!bilan.echecs.isEmpty())
        texte += QStringLiteral("\nNon intégrés :\n") + bilan.echecs.join(u'\n');
    if (bilan.annule) texte += u'\n' + texteImportSeuils::ANNULE;
    afficherMessage(bilan.echecs.isEmpty() ? GENRE_INFO : GENRE_WARNING, texte);
    CmdDemarrer->setEnabled(false);
}

} // namespace vyk
