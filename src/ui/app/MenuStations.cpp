#include "ui/app/MenuStations.h"

#include "monitoring/SuiviPhysicoChimique.h"
#include "ui/app/FenetrePrincipale.h"
#include "ui/import/FrmExportPaquet.h"
#include "ui/import/Importation.h"
#include "ui/monitoring/FicheOperations.h"
#include "ui/monitoring/FichePrelevementPhysicoChmique.h"
#include "ui/monitoring/FicheQualitometre.h"
#include "ui/monitoring/FrmJournaux.h"
#include "ui/monitoring/FrmQualitometresPoints.h"
#include "ui/monitoring/ListeQualitometres.h"
#include "ui/monitoring/SuiviPhysicoChmique.h"
#include "ui/quality/EditionGraphique.h"
#include "ui/widgets/Droits.h"
#include "users/Habilitations.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace vyk {

namespace {

// The operations of a station, of one of its points when codePoint >= 0.
void ouvrirOperations(FenetrePrincipale &fenetre, qint64 station, qint64 codePoint = -1)
{
    auto *operations = new FicheOperations(station, codePoint);
    // The sample of an operation opens even when it has no analysis yet.
    QObject::connect(operations, &FicheOperations::prelevementDemande, &fenetre,
                     [&fenetre](qint64 s, const QString &operation) {
                         const QString code = QString::number(s);
                         fenetre.ouvrirEcran(new FichePrelevementPhysicoChmique(
                             code, codeBSSStation(code), {}, operation));
                     });
    fenetre.ouvrirEcran(operations);
}

void ouvrirPoints(FenetrePrincipale &fenetre, qint64 station)
{
    auto *points = new FrmQualitometresPoints(station);
    QObject::connect(points, &FrmQualitometresPoints::operationsDemandees, &fenetre,
                     [&fenetre](qint64 s, qint64 point) { ouvrirOperations(fenetre, s, point); });
    fenetre.ouvrirEcran(points);
}

// The physico-chemical follow-up of a station ("" to choose it), from which its samples open.
void ouvrirSuivi(FenetrePrincipale &fenetre, const QString &station = {})
{
    auto *ecran = new SuiviPhysicoChmique(station);
    QObject::connect(ecran, &SuiviPhysicoChmique::ouvrirPrelevement, &fenetre,
                     [&fenetre](QWidget *fiche) { fenetre.ouvrirEcran(fiche); });
    QObject::connect(ecran, &SuiviPhysicoChmique::ouvrirGraphique, &fenetre,
                     [&fenetre](QWidget *graphique) { fenetre.ouvrirEcran(graphique); });
    fenetre.ouvrirEcran(ecran);
}

// The card of a station ("" for a new one, always in a window of its own), moving over the rows
// of the list it came from; a station already open comes forward in its own window.
void ouvrirFiche(FenetrePrincipale &fenetre, ListeQualitometres *liste, const QString &code)
{
    if (!code.isEmpty() && fenetre.amenerEcran(FicheQualitometre::cleStation(code))) return;
    auto *fiche = new FicheQualitometre;
    QPointer<ListeQualitometres> source(liste);
    QObject::connect(fiche, &FicheQualitometre::nouvelleDemandee, &fenetre,
                     [&fenetre, source] { ouvrirFiche(fenetre, source, {}); });
    QObject::connect(fiche, &FicheQualitometre::pointsDemandes, &fenetre,
                     [&fenetre](qint64 s) { ouvrirPoints(fenetre, s); });
    QObject::connect(fiche, &FicheQualitometre::operationsDemandees, &fenetre,
                     [&fenetre](qint64 s) { ouvrirOperations(fenetre, s); });
    QObject::connect(fiche, &FicheQualitometre::prelevementsDemandes, &fenetre,
                     [&fenetre](qint64 s) { ouvrirSuivi(fenetre, QString::number(s)); });
    QObject::connect(fiche, &FicheQualitometre::graphiqueDemande, &fenetre, [&fenetre](qint64 s) {
        DemandeGraphique demande;
        demande.stations.append({s, codeBSSStation(QString::number(s))});
        fenetre.ouvrirEcran(new EditionGraphique(demande));
    });
    if (!code.isEmpty() && !fiche->charger(code.toLongLong())) {
        delete fiche;
        return;
    }
    if (liste) {
        fiche->definirNavigation(
            [source] { return source ? source->codesVisibles() : QStringList(); });
        QObject::connect(fiche, &FicheQualitometre::stationEnregistree, liste,
                         &ListeQualitometres::charger);
        QObject::connect(fiche, &FicheQualitometre::stationSupprimee, liste,
                         &ListeQualitometres::charger);
    }
    fenetre.ouvrirEcran(fiche);
}

} // namespace

void creerMenuStations(FenetrePrincipale &fenetre)
{
    QMenu *menu = fenetre.menuBar()->addMenu(QStringLiteral("&Qualitomètres"));
    menu->setObjectName(QStringLiteral("MenuStations"));

    QAction *liste = menu->addAction(QStringLiteral("&Liste des qualitomètres"));
    liste->setObjectName(QStringLiteral("ActionListeQualitometres"));
    QObject::connect(liste, &QAction::triggered, &fenetre, [&fenetre] {
        auto *ecran = new ListeQualitometres;
        QObject::connect(
            ecran, &ListeQualitometres::ouvrirFiche, &fenetre,
            [&fenetre, ecran](const QString &code) { ouvrirFiche(fenetre, ecran, code); });
        fenetre.ouvrirEcran(ecran);
    });
    QAction *nouveau = menu->addAction(QStringLiteral("&Nouveau qualitomètre"));
    nouveau->setObjectName(QStringLiteral("ActionNouveauQualitometre"));
    appliquerDroit(nouveau, droit::QUALITO_FICHE_MODIF);
    QObject::connect(nouveau, &QAction::triggered, &fenetre,
                     [&fenetre] { ouvrirFiche(fenetre, nullptr, {}); });
    menu->addSeparator();

    QAction *evenements = menu->addAction(QStringLiteral("&Événements des qualitomètres"));
    evenements->setObjectName(QStringLiteral("ActionEvenements"));
    QObject::connect(evenements, &QAction::triggered, &fenetre,
                     [&fenetre] { fenetre.ouvrirEcran(new FrmJournaux); });
    appliquerDroit(evenements, droit::QUALITO_JOURNAUX);

    QAction *suivi = menu->addAction(QStringLiteral("&Suivi physico-chimique"));
    suivi->setObjectName(QStringLiteral("ActionSuiviPhysicoChimique"));
    QObject::connect(suivi, &QAction::triggered, &fenetre, [&fenetre] { ouvrirSuivi(fenetre); });
    appliquerDroit(suivi, droit::QUALITO_DATA_CONSULT);
    menu->addSeparator();

    QAction *importation = menu->addAction(QStringLiteral("&Importation de données…"));
    importation->setObjectName(QStringLiteral("ActionImportation"));
    QObject::connect(importation, &QAction::triggered, &fenetre, [&fenetre] {
        auto *ecran = new Importation;
        // Stations created or changed by an import show in every open list.
        QObject::connect(ecran, &Importation::donneesImportees, &fenetre, [&fenetre] {
            for (ListeQualitometres *liste : fenetre.findChildren<ListeQualitometres *>())
                liste->charger();
        });
        fenetre.ouvrirEcran(ecran);
    });
    appliquerDroit(importation, droit::QUALITO_IMPORT);

    QAction *paquet = menu->addAction(QStringLiteral("E&xport d'un paquet d'échange…"));
    paquet->setObjectName(QStringLiteral("ActionExportPaquet"));
    QObject::connect(paquet, &QAction::triggered, &fenetre,
                     [&fenetre] { fenetre.ouvrirEcran(new FrmExportPaquet); });
    appliquerDroit(paquet, droit::QUALITO_EXPORT);
}

} // namespace vyk
