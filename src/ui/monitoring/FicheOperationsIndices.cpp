// The index commands of the operation card.

#include "ui/monitoring/FicheOperations.h"

#include "indices/CalculIndiceOperation.h"
#include "indices/Ibgn.h"
#include "monitoring/ListeTaxonsOperation.h"
#include "monitoring/Qualitometre.h"
#include "ui/widgets/Droits.h"
#include "ui/widgets/ProgressionGui.h"
#include "users/Habilitations.h"

#include "db/Messages.h"

#include <QDesktopServices>
#include <QDir>
#include <QHBoxLayout>
#include <QPushButton>
#include <QUrl>

namespace vyk {

QLayout *FicheOperations::construireCommandesIndices()
{
    ouvrirDossier = [](const QString &dossier) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::toNativeSeparators(dossier)));
    };
    auto *ligne = new QHBoxLayout;
    ligne->addStretch(1);
    const struct
    {
        QPushButton *&bouton;
        const char *nom, *texte;
        void (FicheOperations::*commande)();
    } commandes[] = {
        {CmdCalculI2M2, "CmdCalculI2M2", "Calcul I2M2", &FicheOperations::cmdCalculI2M2_Click},
        {CmdCalculIBGDCE, "CmdCalculIBGDCE", "Calcul IBG-DCE",
         &FicheOperations::cmdCalculIBGDCE_Click},
        {CmdCalculFloristique, "CmdCalculFloristique", "Calcul IBD / IBMR",
         &FicheOperations::cmdCalculFloristique_Click},
        {CmdCalculDiagnostique, "CmdCalculDiagnostique", "Outil diagnostique",
         &FicheOperations::cmdCalculDiagnostique_Click},
    };
    for (const auto &c : commandes) {
        c.bouton = new QPushButton(QString::fromUtf8(c.texte), this);
        c.bouton->setObjectName(QLatin1String(c.nom));
        // The results are written into the operation.
        appliquerDroit(c.bouton, droit::QUALITO_FICHE_MODIF);
        connect(c.bouton, &QPushButton::clicked, this, c.commande);
        ligne->addWidget(c.bouton);
    }
    return ligne;
}

void FicheOperations::cmdCalculI2M2_Click()
{
    calculerIndice(indiceI2M2());
}

void FicheOperations::cmdCalculIBGDCE_Click()
{
    // Lists counted in three phases (protocols 704, 726, 471) go through the site's workbook.
    if (modeListeIbgn(valeurChamp(QStringLiteral("protocoleBiologique")), identifiantPoint()) ==
        QLatin1String("3")) {
        calculIBGN();
        return;
    }
    if (m_taxons && !m_operation.estNouvelle()) {
        recueillirTaxons();
        if (m_taxons->lignes().isEmpty()) {
            afficherMessage(GENRE_INFO, texteIbgn::LISTE_VIDE);
            return;
        }
    }
    calculerIndice(indiceIBGDCE());
}

void FicheOperations::cmdCalculFloristique_Click()
{
    calculerIndice(identifiantPoint() == QLatin1String("271") ? indiceIBMR() : indiceIBD());
}

void FicheOperations::cmdCalculDiagnostique_Click()
{
    calculerIndice(indiceDiagnostic());
}

// The list sent is the stored one: pending edits are saved (or dropped) first, and the
// operation is read again once its results are stored.
void FicheOperations::calculerIndice(const DescriptionIndice &indice)
{
    if (!quitterModifications()) return;
    const auto station = trouverQualitometre(m_station);
    IssueCalculIndice issue;
    {
        ProgressionGui progression(this, indice.titreProgression);
        progression.definirTitre(indice.titreProgression);
        issue = calculerIndiceOperation(indice, m_station, station ? station->codeBSS : QString(),
                                        m_operation.code, progression);
    }
    if (issue.resultats) afficherOperation(m_operation.code);
    if (!issue.genre.isEmpty()) afficherMessage(issue.genre, issue.message);
    if (!issue.documents.isEmpty() && ouvrirDossier) ouvrirDossier(issue.documents);
}

} // namespace vyk
