#include "ui/referentials/ImportationReferentielAnalyses.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/Messages.h"
#include "referentials/ModeleReferentielAnalyses.h"
#include "ui/widgets/GrilleDonnees.h"
#include "ui/widgets/ProgressionGui.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vyk {

ImportationReferentielAnalyses::ImportationReferentielAnalyses(Referentiel referentiel,
                                                               QWidget *parent)
    : QDialog(parent), m_referentiel(referentiel)
{
    const DescriptionReferentiel &d = descriptionReferentiel(referentiel);
    setObjectName(QStringLiteral("ImportationReferentielAnalyses"));
    setWindowTitle(QStringLiteral("Importer le référentiel des ") + d.titre.toLower());
    resize(900, 520);
    auto *disposition = new QVBoxLayout(this);
    auto *ligne = new QHBoxLayout;
    ligne->addWidget(new QLabel(
        QStringLiteral("Fichier (XML du référentiel national, ou CSV séparé par des « ; ») :"),
        this));
    TxtFichier = new QLineEdit(this);
    TxtFichier->setReadOnly(true);
    ligne->addWidget(TxtFichier, 1);
    CmdParcourir = new QPushButton(QStringLiteral("Parcourir..."), this);
    ligne->addWidget(CmdParcourir);
    disposition->addLayout(ligne);
    SprApercu = new GrilleDonnees(this);
    disposition->addWidget(SprApercu, 1);
    LblInformation = new QLabel(this);
    LblInformation->setWordWrap(true);
    disposition->addWidget(LblInformation);
    auto *boutons = new QHBoxLayout;
    boutons->addStretch(1);
    CmdDemarrer = new QPushButton(QStringLiteral("Démarrer l'importation"), this);
    CmdDemarrer->setEnabled(false);
    CmdFermer = new QPushButton(QStringLiteral("Fermer"), this);
    boutons->addWidget(CmdDemarrer);
    boutons->addWidget(CmdFermer);
    disposition->addLayout(boutons);

    connect(CmdFermer, &QPushButton::clicked, this, &QDialog::accept);
    connect(CmdDemarrer, &QPushButton::clicked, this, &ImportationReferentielAnalyses::demarrer);
    connect(CmdParcourir, &QPushButton::clicked, this, [this] {
        const QString chemin = QFileDialog::getOpenFileName(
            this, windowTitle(), lireRegistre(reglage::RepertoireImportation, {}, true),
            QStringLiteral("Référentiels (*.xml *.csv *.txt);;Tous les fichiers (*)"));
        if (chemin.isEmpty()) return;
        ecrireRegistre(reglage::RepertoireImportation, QFileInfo(chemin).absolutePath());
        choisirFichier(chemin);
    });
}

bool ImportationReferentielAnalyses::choisirFichier(const QString &chemin)
{
    TxtFichier->setText(chemin);
    QString erreur;
    const bool ok = lireReferentielAnalyses(chemin, m_referentiel, m_fichier, erreur);
    CmdDemarrer->setEnabled(ok);
    if (!ok) {
        SprApercu->vider();
        LblInformation->clear();
        afficherMessage(GENRE_ERREUR, erreur);
        return false;
    }
    const QStringList colonnes = colonnesLues(m_fichier);
    QStringList entetes;
    const DescriptionReferentiel &d = descriptionReferentiel(m_referentiel);
    for (const QString &c : colonnes)
        entetes << (d.champ(c) ? d.champ(c)->libelle : c);
    QVector<QStringList> lignes;
    for (const LigneReferentiel &l : m_fichier.lignes) {
        QStringList ligne;
        for (const QString &c : colonnes)
            ligne << l.value(c);
        lignes << ligne;
    }
    SprApercu->remplir(entetes, lignes);
    LblInformation->setText(QString::number(m_fichier.lignes.size()) +
                            QStringLiteral(" élément(s) lu(s)."));
    return true;
}

void ImportationReferentielAnalyses::demarrer()
{
    if (m_fichier.lignes.isEmpty()) return;
    ProgressionGui progression(this, windowTitle());
    const BilanReferentielAnalyses b = integrerReferentielAnalyses(m_fichier, progression);
    m_integres += b.ajoutes + b.modifies;
    QString texte = QString::number(b.ajoutes) + QStringLiteral(" élément(s) ajouté(s), ") +
                    QString::number(b.modifies) + QStringLiteral(" mis à jour, ") +
                    QString::number(b.rejetes) + QStringLiteral(" rejeté(s).");
    if (b.annule) texte += QStringLiteral("\nL'importation a été interrompue.");
    if (!b.echec.isEmpty()) texte += u'\n' + b.echec;
    LblInformation->setText(texte);
    if (!b.erreurs.isEmpty()) texte += u'\n' + b.erreurs.mid(0, 20).join(u'\n');
    afficherMessage(b.rejetes > 0 || !b.echec.isEmpty() ? GENRE_ERREUR : GENRE_AIDE, texte);
}

} // namespace vyk
