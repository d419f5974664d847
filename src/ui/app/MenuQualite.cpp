#include "ui/app/MenuQualite.h"

#include "ui/app/FenetrePrincipale.h"
#include "ui/campagnes/FrmCampagne.h"
#include "ui/demandes/FrmDemandePrelvement1.h"
#include "ui/quality/FrmCarteSituationQualite.h"
#include "ui/quality/ImportationSeuils.h"
#include "ui/quality/ListeSeuils.h"
#include "ui/search/FrmRecherches.h"
#include "ui/search/ImportationSelectionParametres.h"
#include "ui/search/ListeSelections.h"
#include "ui/widgets/Droits.h"
#include "users/Habilitations.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace vyk {

void creerMenuQualite(FenetrePrincipale &fenetre)
{
    QMenu *menu = fenetre.menuBar()->addMenu(QStringLiteral("Q&ualité"));
    menu->setObjectName(QStringLiteral("MenuQualite"));

    QAction *seuils = menu->addAction(QStringLiteral("&Seuils"));
    seuils->setObjectName(QStringLiteral("ActionListeSeuils"));
    QObject::connect(seuils, &QAction::triggered, &fenetre,
                     [&fenetre] { fenetre.ouvrirEcran(new ListeSeuils); });
    QAction *import = menu->addAction(QStringLiteral("&Importer des seuils..."));
    import->setObjectName(QStringLiteral("ActionImportationSeuils"));
    appliquerDroit(import, droit::QUALITO_SEUILS);
    QObject::connect(import, &QAction::triggered, &fenetre, [&fenetre] {
        ImportationSeuils dialogue(nullptr, &fenetre);
        dialogue.exec();
        if (dialogue.nbJeux() > 0)
            for (QWidget *ecran : fenetre.ecrans())
                if (auto *liste = qobject_cast<ListeSeuils *>(ecran)) liste->chargerJeux();
    });
    menu->addSeparator();
    QAction *selections = menu->addAction(QStringLiteral("Sé&lections de paramètres"));
    selections->setObjectName(QStringLiteral("ActionListeSelections"));
    QObject::connect(selections, &QAction::triggered, &fenetre,
                     [&fenetre] { fenetre.ouvrirEcran(new ListeSelections); });
    QAction *importSel = menu->addAction(QStringLiteral("Importer des sélections..."));
    importSel->setObjectName(QStringLiteral("ActionImportationSelections"));
    QObject::connect(importSel, &QAction::triggered, &fenetre, [&fenetre] {
        ImportationSelectionParametres dialogue(&fenetre);
        dialogue.exec();
        for (QWidget *ecran : fenetre.ecrans())
            if (auto *liste = qobject_cast<ListeSelections *>(ecran)) liste->chargerListes();
    });
    QAction *recherche = menu->addAction(QStringLiteral("&Recherche de résultats"));
    recherche->setObjectName(QStringLiteral("ActionRecherches"));
    appliquerDroit(recherche, droit::QUALITO_RECHERCHES);
    QObject::connect(recherche, &QAction::triggered, &fenetre,
                     [&fenetre] { fenetre.ouvrirEcran(new FrmRecherches); });
    menu->addSeparator();
    QAction *demandes = menu->addAction(QStringLiteral("&Demandes de prélèvements"));
    demandes->setObjectName(QStringLiteral("ActionDemandesPrelevements"));
    appliquerDroit(demandes, droit::QUALITO_DEMANDES);
    QObject::connect(demandes, &QAction::triggered, &fenetre,
                     [&fenetre] { fenetre.ouvrirEcran(new FrmDemandePrelvement1); });
    menu->addSeparator();
    QAction *carte = menu->addAction(QStringLiteral("&Carte de situation qualité"));
    carte->setObjectName(QStringLiteral("ActionCarteSituationQualite"));
    QObject::connect(carte, &QAction::triggered, &fenetre,
                     [&fenetre] { fenetre.ouvrirEcran(new FrmCarteSituationQualite); });
    menu->addSeparator();
    QAction *campagnes = menu->addAction(QStringLiteral("Ca&mpagnes de suivi"));
    campagnes->setObjectName(QStringLiteral("ActionCampagnes"));
    QObject::connect(campagnes, &QAction::triggered, &fenetre, [&fenetre] {
        auto *campagne = new FrmCampagne;
        // The campaign's request opens in a request screen of its own, not saved yet.
        campagne->ouvrirDemande = [&fenetre](const QString &code) {
            auto *demande = new FrmDemandePrelvement1;
            demande->ouvrirDepuisCampagne(code.toInt());
            fenetre.ouvrirEcran(demande);
        };
        fenetre.ouvrirEcran(campagne);
    });
}

} // namespace vyk
