#include "ui/monitoring/FicheQualitometre.h"

#include "db/Messages.h"
#include "ui/monitoring/EditeurSatellites.h"
#include "ui/widgets/CadreEcran.h"
#include "ui/widgets/ChampsFormulaire.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/Droits.h"
#include "ui/widgets/Formulaire.h"
#include "ui/widgets/ProgressionGui.h"
#include "users/Habilitations.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vyk {

namespace {

// A page of the form, scrolling when the window is too small.
QWidget *page(QTabWidget *onglets, const QString &titre, QWidget *&contenu)
{
    auto *zone = new QScrollArea(onglets);
    contenu = new QWidget(zone);
    zone->setWidget(contenu);
    zone->setWidgetResizable(true);
    onglets->addTab(zone, titre);
    return zone;
}

// Entities and lower catchments depend on the station: their lists are filled on display.
bool estListeDependante(const QString &colonne)
{
    return colonne == champFiche::EntiteHydro ||
           (colonne.startsWith(QLatin1String("codeBassinVersant")) &&
            colonne != QLatin1String("codeBassinVersant"));
}

const char *const BASSINS[] = {"codeBassinVersant", "codeBassinVersant2", "codeBassinVersant3",
                               "codeBassinVersant4"};

} // namespace

FicheQualitometre::FicheQualitometre(QWidget *parent) : Fiche(parent)
{
    setObjectName(QStringLiteral("FicheQualitometre"));
    setWindowTitle(QStringLiteral("Fiche du qualitomètre"));
    resize(1000, 720);

    auto nomme = [this](QPushButton *b, const char *nom) {
        b->setObjectName(QString::fromLatin1(nom));
        return b;
    };
    CmdNouveau = nomme(new QPushButton(QStringLiteral("Nouveau"), this), "CmdNouveau");
    CmdEnregistrer = nomme(new QPushButton(QStringLiteral("Enregistrer"), this), "CmdEnregistrer");
    CmdSupprimer = nomme(new QPushButton(QStringLiteral("Supprimer"), this), "CmdSupprimer");
    CmdPrecedent = nomme(new QPushButton(QStringLiteral("◀ Précédent"), this), "CmdPrecedent");
    CmdSuivant = nomme(new QPushButton(QStringLiteral("Suivant ▶"), this), "CmdSuivant");
    CmdPoints = nomme(new QPushButton(QStringLiteral("Points de prélèvement"), this), "CmdPoints");
    CmdOperations = nomme(new QPushButton(QStringLiteral("Opérations"), this), "CmdOperations");
    CmdPrelevements =
        nomme(new QPushButton(QStringLiteral("Prélèvements"), this), "CmdPrelevements");
    CmdGraphique = nomme(new QPushButton(QStringLiteral("Graphique"), this), "CmdGraphique");
    appliquerDroit(CmdNouveau, droit::QUALITO_FICHE_MODIF);
    appliquerDroit(CmdEnregistrer, droit::QUALITO_FICHE_MODIF);
    appliquerDroit(CmdSupprimer, droit::QUALITO_FICHE_SUPPR);
    definirBoutonParDefaut(CmdEnregistrer);
    // Points, operations and samples carry the station's measurements.
    for (QPushButton *b : {CmdPoints, CmdOperations, CmdPrelevements, CmdGraphique})
        appliquerDroit(b, droit::QUALITO_DATA_CONSULT);
    LblEntete = new QLabel(this);
    LblEntete->setObjectName(QStringLiteral("LblEntete"));
    LblAltitude = new QLabel(this);
    LblAltitude->setObjectName(QStringLiteral("LblAltitude"));
    LblModification = new QLabel(this);
    LblModification->setObjectName(QStringLiteral("LblModification"));
    auto *barre = new QHBoxLayout;
    for (QPushButton *b : {CmdNouveau, CmdEnregistrer, CmdSupprimer, CmdPrecedent, CmdSuivant,
                           CmdPoints, CmdOperations, CmdPrelevements, CmdGraphique})
        barre->addWidget(b);
    barre->addSpacing(20);
    barre->addWidget(LblEntete, 1);
    barre->addWidget(LblAltitude);

    m_onglets = new QTabWidget(this);
    m_onglets->setObjectName(QStringLiteral("Onglets"));
    construireChamps();

    auto *principal = new QVBoxLayout(this);
    principal->addLayout(barre);
    principal->addWidget(m_onglets, 1);
    principal->addWidget(LblModification);

    connect(CmdNouveau, &QPushButton::clicked, this, &FicheQualitometre::nouvelleDemandee);
    connect(CmdEnregistrer, &QPushButton::clicked, this, &FicheQualitometre::enregistrer);
    connect(CmdSupprimer, &QPushButton::clicked, this, &FicheQualitometre::supprimer);
    connect(CmdPrecedent, &QPushButton::clicked, this, [this] { naviguer(-1); });
    connect(CmdSuivant, &QPushButton::clicked, this, [this] { naviguer(1); });
    // Points and operations hang on a saved station.
    connect(CmdPoints, &QPushButton::clicked, this, [this] {
        if (!m_edition.estNouvelle()) emit pointsDemandes(m_edition.code().toLongLong());
    });
    connect(CmdOperations, &QPushButton::clicked, this, [this] {
        if (!m_edition.estNouvelle()) emit operationsDemandees(m_edition.code().toLongLong());
    });
    connect(CmdPrelevements, &QPushButton::clicked, this, [this] {
        if (!m_edition.estNouvelle()) emit prelevementsDemandes(m_edition.code().toLongLong());
    });
    connect(CmdGraphique, &QPushButton::clicked, this, [this] {
        if (!m_edition.estNouvelle()) emit graphiqueDemande(m_edition.code().toLongLong());
    });
    nouveau();
}

QWidget *FicheQualitometre::nouveauChamp(const ChampDecrit &c, QWidget *parent)
{
    ChampDecrit champ = c;
    // A text too long is named by the save's check rather than cut while it is typed.
    champ.taille = 0;
    OptionsChamp options;
    // A required list (the station's type) has no empty entry.
    options.sansVide = c.obligatoire;
    if (c.nature == NatureChamp::Code && !estListeDependante(c.colonne))
        options.entrees = EditionQualitometre::entreesChamp(c.colonne);
    QWidget *w = nouveauChampSaisie(champ, parent, options);
    const QString prefixe = c.nature == NatureChamp::OuiNon ? QStringLiteral("Chk")
                            : c.nature == NatureChamp::Code ? QStringLiteral("Cbo")
                                                            : QStringLiteral("Txt");
    w->setObjectName(prefixe + c.colonne);
    if (c.nature == NatureChamp::Code) w->setMinimumWidth(280);
    return w;
}

QWidget *FicheQualitometre::ajouterPage(const PageFiche &p, const SuitePage &suite)
{
    QWidget *contenu = nullptr;
    QWidget *zone = page(m_onglets, p.titre, contenu);
    DispositionFormulaire disposition(contenu);
    disposition.surUneColonne();
    for (const ChampDecrit &c : p.champs) {
        QWidget *controle = nouveauChamp(c, contenu);
        m_libelles.insert(c.colonne.toLower(), disposition.ajouter(c.libelle, controle));
        m_champs.insert(c.colonne.toLower(), controle);
        m_ordreChamps << controle;
    }
    if (suite) suite(disposition, contenu);
    disposition.terminer();
    return zone;
}

void FicheQualitometre::construireChamps()
{
    const QVector<PageFiche> &pages = pagesFiche();
    ajouterPage(pages[0]);
    ajouterPage(pages[1]);
    m_ongletSouterrain = ajouterPage(pages[2], [this](DispositionFormulaire &d, QWidget *contenu) {
        LblPiezometre = new QLabel(contenu);
        LblPiezometre->setObjectName(QStringLiteral("LblPiezometre"));
        d.ajouter(QString(), LblPiezometre);
    });
    m_ongletSurface = ajouterPage(pages[3], [this](DispositionFormulaire &d, QWidget *contenu) {
        auto *calcium = new QWidget(contenu);
        auto *ligneCalcium = new QHBoxLayout(calcium);
        ligneCalcium->setContentsMargins(0, 0, 0, 0);
        for (const char *libelle : {"Faible", "Moyenne", "Forte"}) {
            auto *option = new QRadioButton(QString::fromLatin1(libelle), calcium);
            option->setObjectName(QStringLiteral("OptCalcium%1").arg(OptCalcium.size()));
            OptCalcium << option;
            ligneCalcium->addWidget(option);
            m_ordreChamps << option;
        }
        d.ajouter(QStringLiteral("Classe de calcium"), calcium);
    });
    suivreChamps(m_ordreChamps);

    // Satellite grids, one tab per save button.
    const QHash<QString, QString> titres = {
        {QStringLiteral("reseaux"), QStringLiteral("Réseaux")},
        {QStringLiteral("intervenants"), QStringLiteral("Intervenants")},
        {QStringLiteral("lithologies"), QStringLiteral("Lithologies")},
        {QStringLiteral("modesMesures"), QStringLiteral("Modes de mesures")},
        {QStringLiteral("altimetrie"), QStringLiteral("Altimétrie")},
        {QStringLiteral("localisations"), QStringLiteral("Localisations")},
        {QStringLiteral("documents"), QStringLiteral("Documents")},
        {QStringLiteral("photos"), QStringLiteral("Photos")},
        {QStringLiteral("etats"), QStringLiteral("États")},
        {QStringLiteral("fonctions"), QStringLiteral("Fonctions")},
        {QStringLiteral("usages"), QStringLiteral("Usages")},
        {QStringLiteral("amenagements"), QStringLiteral("Aménagements")},
        {QStringLiteral("accessibilites"), QStringLiteral("Accessibilités")},
        {QStringLiteral("crepines"), QStringLiteral("Crépines")},
        {QStringLiteral("ouvrage"), QStringLiteral("Ouvrage")},
        {QStringLiteral("interventions"), QStringLiteral("Interventions")}};
    for (const DefinitionSauvegarde &s : sauvegardesQualitometre()) {
        auto *editeur = new EditeurSatellites(
            s, [this] { return m_edition.code(); }, m_onglets);
        m_editeurs << editeur;
        m_onglets->addTab(editeur, titres.value(s.nom, s.nom));
        // Adding, removing and saving lines of a grid need the same right.
        const QString &droitGrille = s.regle == RegleSauvegarde::Interventions
                                         ? droit::QUALITO_FICHE_EVENEMENT
                                         : droit::QUALITO_FICHE_MODIF;
        for (QPushButton *b : editeur->findChildren<QPushButton *>())
            if (b->objectName().startsWith(QLatin1String("Cmd"))) appliquerDroit(b, droitGrille);
    }
    auto *donnees = new QWidget(m_onglets);
    auto *colonneDonnees = new QVBoxLayout(donnees);
    LblResume = new QLabel(donnees);
    LblResume->setObjectName(QStringLiteral("LblResume"));
    LblResume->setTextFormat(Qt::RichText);
    colonneDonnees->addWidget(LblResume);
    colonneDonnees->addStretch();
    m_onglets->addTab(donnees, QStringLiteral("Données"));

    if (auto *type = qobject_cast<ComboCodee *>(champ(QStringLiteral("typeStation"))))
        connect(type, &ComboCodee::codeChange, this, [this] { majType(); });
    for (int n = 1; n < 4; ++n)
        if (auto *bassin = qobject_cast<ComboCodee *>(champ(QString::fromLatin1(BASSINS[n - 1]))))
            connect(bassin, &ComboCodee::codeChange, this, [this, n] { majBassins(n + 1); });
}

EditeurSatellites *FicheQualitometre::editeur(const QString &sauvegarde) const
{
    for (EditeurSatellites *e : m_editeurs)
        if (e->objectName() == QStringLiteral("Editeur_") + sauvegarde) return e;
    return nullptr;
}

void FicheQualitometre::majType()
{
    const auto *type = qobject_cast<ComboCodee *>(champ(QStringLiteral("typeStation")));
    const bool souterraine = type && type->codeSelectionne() == QLatin1String("0");
    for (const QString &c : {champFiche::NumeroBSS, QStringLiteral("Designation")})
        montrerLigne(c, souterraine);
    montrerLigne(champFiche::Identifiant, !souterraine);
    m_onglets->setTabVisible(m_onglets->indexOf(m_ongletSouterrain), souterraine);
    m_onglets->setTabVisible(m_onglets->indexOf(m_ongletSurface), !souterraine);
    for (const QString &s : {QStringLiteral("crepines"), QStringLiteral("ouvrage")})
        if (EditeurSatellites *e = editeur(s))
            m_onglets->setTabVisible(m_onglets->indexOf(e), souterraine);
}

void FicheQualitometre::montrerLigne(const QString &colonne, bool visible)
{
    m_libelles.value(colonne.toLower())->setVisible(visible);
    champ(colonne)->setVisible(visible);
}

// The catchments of a level follow the one chosen above.
void FicheQualitometre::majBassins(int niveau)
{
    if (niveau < 2 || niveau > 4) return;
    auto *parent = qobject_cast<ComboCodee *>(champ(QString::fromLatin1(BASSINS[niveau - 2])));
    auto *bassin = qobject_cast<ComboCodee *>(champ(QString::fromLatin1(BASSINS[niveau - 1])));
    if (!parent || !bassin) return;
    const QString garde = bassin->codeSelectionne();
    const QSignalBlocker bloque(bassin);
    bassin->definirEntrees(EditionQualitometre::entreesBassins(niveau, parent->codeSelectionne()),
                           ComboCodee::AvecVide);
    bassin->selectionnerCode(garde);
    majBassins(niveau + 1);
}

void FicheQualitometre::afficher()
{
    CmdPoints->setEnabled(!m_edition.estNouvelle());
    CmdOperations->setEnabled(!m_edition.estNouvelle());
    CmdPrelevements->setEnabled(!m_edition.estNouvelle());
    CmdGraphique->setEnabled(!m_edition.estNouvelle());
    if (auto *entite = qobject_cast<ComboCodee *>(champ(QStringLiteral("CodeEntiteHydro"))))
        entite->definirEntrees(m_edition.entreesEntites(), ComboCodee::AvecVide);
    for (auto it = m_champs.cbegin(); it != m_champs.cend(); ++it) {
        const QString texte = m_edition.valeur(it.key());
        if (auto *choix = qobject_cast<ComboCodee *>(it.value())) {
            if (it.key().startsWith(QLatin1String("codebassinversant")) &&
                it.key() != QLatin1String("codebassinversant"))
                continue;
            const QSignalBlocker bloque(choix);
            if (!choix->selectionnerCode(texte))
                choix->selectionnerCode(
                    it.key() == QLatin1String("typestation") ? QStringLiteral("1") : QString());
        } else if (const ChampDecrit *c = champDecritFiche(it.key())) {
            afficherSaisie(it.value(), *c, texte);
        } else {
            afficherValeurChamp(it.value(), texte);
        }
    }
    for (int n = 2; n <= 4; ++n) {
        majBassins(n);
        if (auto *bassin = qobject_cast<ComboCodee *>(champ(QString::fromLatin1(BASSINS[n - 1])))) {
            const QSignalBlocker bloque(bassin);
            bassin->selectionnerCode(m_edition.valeur(QString::fromLatin1(BASSINS[n - 1])));
        }
    }
    const QString calcium = m_edition.valeur(QStringLiteral("classeCalcium"));
    for (int i = 0; i < OptCalcium.size(); ++i) {
        OptCalcium[i]->setAutoExclusive(false);
        OptCalcium[i]->setChecked(calcium == QString::number(i));
        OptCalcium[i]->setAutoExclusive(true);
    }
    majType();

    const EnteteStation &e = m_edition.entete();
    LblEntete->setText(m_edition.estNouvelle()
                           ? QStringLiteral("Nouveau qualitomètre")
                           : QStringLiteral("Réseau : %1%2")
                                 .arg(e.reseau.isEmpty() ? QStringLiteral("aucun") : e.reseau,
                                      e.dce ? QStringLiteral("  —  DCE") : QString()));
    LblAltitude->setText(m_edition.altitudeAffichee().isEmpty()
                             ? QString()
                             : QStringLiteral("Altitude : ") + m_edition.altitudeAffichee());
    LblModification->setText(m_edition.derniereModification().isEmpty()
                                 ? QString()
                                 : QStringLiteral("Dernière modification : ") +
                                       m_edition.derniereModification());
    LblPiezometre->setText(m_edition.codePiezometre().isEmpty()
                               ? QString()
                               : QStringLiteral("Station piézométrique liée : ") +
                                     m_edition.codePiezometre());
    QString resume = QStringLiteral(
        "<table cellpadding=4><tr><th></th><th>Première</th><th>Dernière</th><th>Nombre</th></tr>");
    for (const LigneResume &l : m_edition.resume().lignes)
        resume += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td></tr>")
                      .arg(l.libelle, l.premiere, l.derniere)
                      .arg(l.nombre);
    const ResumeDonnees &r = m_edition.resume();
    resume += QStringLiteral("</table><p>Dernières mesures au statut 2 : %1 ; au statut 3 : "
                             "%2<br>Dernières opérations au statut 2 : %3 ; au "
                             "statut 3 : %4</p>")
                  .arg(r.derniereMesureStatut2, r.derniereMesureStatut3, r.derniereOperationStatut2,
                       r.derniereOperationStatut3);
    LblResume->setText(resume);

    for (EditeurSatellites *ed : m_editeurs) {
        ed->charger();
        ed->definirTournees(m_edition.valeur(QStringLiteral("nbTournees")));
    }
    CmdSupprimer->setEnabled(!m_edition.estNouvelle());
    setWindowTitle(m_edition.estNouvelle()
                       ? QStringLiteral("Fiche du qualitomètre")
                       : QStringLiteral("Fiche du qualitomètre ") + m_edition.codeStocke());
    marquerEnregistree();
}

QString FicheQualitometre::cleFenetre() const
{
    return m_edition.estNouvelle() ? QString() : cleStation(m_edition.code());
}

void FicheQualitometre::recueillir()
{
    for (auto it = m_champs.cbegin(); it != m_champs.cend(); ++it)
        m_edition.definir(it.key(), valeurChamp(it.value()));
    QString calcium;
    for (int i = 0; i < OptCalcium.size(); ++i)
        if (OptCalcium[i]->isChecked()) calcium = QString::number(i);
    m_edition.definir(QStringLiteral("classeCalcium"), calcium);
}

bool FicheQualitometre::charger(qint64 code)
{
    if (!montrer(m_edition.charger(code))) return false;
    afficher();
    return true;
}

void FicheQualitometre::nouveau()
{
    m_edition.nouveau();
    afficher();
}

bool FicheQualitometre::enregistrer()
{
    recueillir();
    if (!montrer(m_edition.enregistrer())) {
        QList<QWidget *> refuses;
        for (const QString &c : m_edition.champsRefuses())
            refuses << champ(c);
        signalerChampsRefuses(refuses);
        return false;
    }
    afficher();
    emit stationEnregistree(m_edition.code());
    return true;
}

bool FicheQualitometre::supprimer()
{
    const QString code = m_edition.code();
    recueillir();
    CompteRendu suppression;
    {
        ProgressionGui progression(this, texteFiche::TITRE_SUPPRESSION);
        suppression = m_edition.supprimer(progression);
    }
    if (!montrer(suppression)) return false;
    marquerEnregistree(); // nothing left to save
    emit stationSupprimee(code);
    fermerEcran(this);
    return true;
}

void FicheQualitometre::naviguer(int sens)
{
    if (!m_codesVisibles || !quitterModifications()) return;
    const QString code = EditionQualitometre::codeVoisin(m_codesVisibles(), m_edition.code(), sens);
    if (!code.isEmpty()) charger(code.toLongLong());
}

} // namespace vyk
