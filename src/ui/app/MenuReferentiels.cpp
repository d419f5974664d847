#include "ui/app/MenuReferentiels.h"

#include "referentials/ReferentielCodes.h"
#include "ui/app/FenetrePrincipale.h"
#include "ui/referentials/ImportationCodesSandre.h"
#include "ui/referentials/ImportationTaxons.h"
#include "ui/referentials/ListeCodes.h"
#include "ui/referentials/ListeReferentielAnalyses.h"
#include "ui/referentials/ListeTaxons.h"
#include "ui/referentials/ListeTraits.h"
#include "users/Habilitations.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

namespace vyk {

namespace {

// The lists a new database leaves empty until the national nomenclatures are imported: a line
// in the status bar says so, and where to import them, as long as one is empty. The lists of
// places of the station card are named too, with what fills them.
void majIndication(QLabel *indication, bool peutImporter)
{
    const QStringList vides = listesNomenclatureVides();
    const QStringList lieux = listesLieuxVides();
    indication->setVisible(!vides.isEmpty() || !lieux.isEmpty());
    QStringList textes, details;
    if (!vides.isEmpty()) {
        textes << QStringLiteral("%1 liste(s) de codes encore vide(s) : ").arg(vides.size()) +
                      (peutImporter ? QStringLiteral("<a href=\"importer\">importer les "
                                                     "nomenclatures du référentiel…</a>")
                                    : QStringLiteral("un administrateur peut importer les "
                                                     "nomenclatures du référentiel."));
        details << vides.join(u'\n');
    }
    if (!lieux.isEmpty()) {
        textes << QStringLiteral("Aucune entrée dans : ") + lieux.join(QStringLiteral(", ")) + u'.';
        details << QStringLiteral("Les imports de stations ajoutent les communes et les bassins "
                                  "versants qu'ils citent ; aucun import ne remplit les pays.");
    }
    indication->setText(textes.join(QStringLiteral(" — ")));
    indication->setToolTip(details.join(QStringLiteral("\n\n")));
}

QLabel *indicationListesVides(FenetrePrincipale &fenetre, QAction *importation)
{
    auto *indication = new QLabel(&fenetre);
    indication->setObjectName(QStringLiteral("LblListesVides"));
    indication->setTextFormat(Qt::RichText);
    QObject::connect(indication, &QLabel::linkActivated, importation, &QAction::trigger);
    fenetre.statusBar()->addPermanentWidget(indication);
    majIndication(indication, importation->isVisible());
    return indication;
}

} // namespace

void creerMenuReferentiels(FenetrePrincipale &fenetre)
{
    QMenu *menu = fenetre.menuBar()->addMenu(QStringLiteral("&Référentiels"));
    menu->setObjectName(QStringLiteral("MenuReferentiels"));

    QAction *codes = menu->addAction(QStringLiteral("&Listes de codes"));
    codes->setObjectName(QStringLiteral("ActionListeCodes"));
    QObject::connect(codes, &QAction::triggered, &fenetre,
                     [&fenetre] { fenetre.ouvrirEcran(new ListeCodes); });

    menu->addSeparator();
    struct Entree
    {
        const char *libelle;
        const char *nom;
        Referentiel referentiel;
    };
    const Entree entrees[] = {
        {"&Paramètres", "ActionListeParametres", Referentiel::Parametre},
        {"&Unités", "ActionListeUnites", Referentiel::Unite},
        {"&Méthodes", "ActionListeMethodes", Referentiel::Methode},
        {"&Fractions analysées", "ActionListeFractions", Referentiel::Fraction},
        {"&Supports", "ActionListeSupports", Referentiel::Support}};
    for (const Entree &e : entrees) {
        QAction *action = menu->addAction(QString::fromUtf8(e.libelle));
        action->setObjectName(QString::fromLatin1(e.nom));
        const Referentiel r = e.referentiel;
        QObject::connect(action, &QAction::triggered, &fenetre,
                         [&fenetre, r] { fenetre.ouvrirEcran(new ListeReferentielAnalyses(r)); });
    }
    menu->addSeparator();

    QAction *importation =
        menu->addAction(QStringLiteral("&Importer des nomenclatures du référentiel..."));
    importation->setObjectName(QStringLiteral("ActionImportationCodesSandre"));
    importation->setVisible(peutModifierReferentiels());
    QLabel *indication = indicationListesVides(fenetre, importation);
    QObject::connect(importation, &QAction::triggered, &fenetre,
                     [&fenetre, indication, importation] {
                         ImportationCodesSandre dialogue(&fenetre);
                         dialogue.exec();
                         // An open code list shows what was integrated.
                         if (dialogue.nbIntegres() > 0) {
                             for (QWidget *ecran : fenetre.ecrans())
                                 if (auto *liste = qobject_cast<ListeCodes *>(ecran))
                                     liste->RempliSprCodes();
                             majIndication(indication, importation->isVisible());
                         }
                     });
    menu->addSeparator();

    QAction *taxons = menu->addAction(QStringLiteral("&Taxons"));
    taxons->setObjectName(QStringLiteral("ActionListeTaxons"));
    QObject::connect(taxons, &QAction::triggered, &fenetre,
                     [&fenetre] { fenetre.ouvrirEcran(new ListeTaxons); });
    QAction *traits = menu->addAction(QStringLiteral("T&raits écologiques des taxons"));
    traits->setObjectName(QStringLiteral("ActionListeTraits"));
    QObject::connect(traits, &QAction::triggered, &fenetre,
                     [&fenetre] { fenetre.ouvrirEcran(new ListeTraits); });
    QAction *importTaxons = menu->addAction(QStringLiteral("Importer une liste de ta&xons..."));
    importTaxons->setObjectName(QStringLiteral("ActionImportationTaxons"));
    importTaxons->setVisible(peutModifierReferentiels());
    QObject::connect(importTaxons, &QAction::triggered, &fenetre, [&fenetre] {
        ImportationTaxons dialogue(&fenetre);
        dialogue.exec();
        if (dialogue.nbIntegres() > 0)
            for (QWidget *ecran : fenetre.ecrans())
                if (auto *liste = qobject_cast<ListeTaxons *>(ecran)) liste->RempliSprTaxons();
    });
}

} // namespace vyk
