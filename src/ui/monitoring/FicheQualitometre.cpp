#include "ui/monitoring/FicheQualitometre.h"

#include "db/Messages.h"
#include "ui/monitoring/EditeurSatellites.h"
#include "ui/widgets/CadreEcran.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/Droits.h"
#include "ui/widgets/ProgressionGui.h"
#include "users/Habilitations.h"

#include <QCheckBox>
#include <QFormLayout>
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

// Fields shown as check boxes ("1"/"0") and as coded lists.
bool estCase(const QString &c)
{
    return c.compare(QLatin1String("canal"), Qt::CaseInsensitive) == 0 ||
           c.compare(QLatin1String("confidentiel"), Qt::CaseInsensitive) == 0;
}

const QStringList &champsCodes()
{
    static const QStringList c = {QStringLiteral("typeStation"),
                                  QStringLiteral("CodeNature"),
                                  QStringLiteral("TypeProjection"),
                                  QStringLiteral("Type_qualitometre"),
                                  QStringLiteral("TypePointEau"),
                                  QStringLiteral("her_niveau1"),
                                  QStringLiteral("her_niveau2"),
                                  QStringLiteral("rang_strahler"),
                                  QStringLiteral("modeGisement"),
                                  QStringLiteral("codeEtat"),
                                  QStringLiteral("codeQualite"),
                                  QStringLiteral("codeRepresentativite"),
                                  QStringLiteral("codePiscicole"),
                                  QStringLiteral("codeCommune"),
                                  QStringLiteral("CodeContact"),
                                  QStringLiteral("codePays"),
                                  QStringLiteral("code_hydro"),
                                  QStringLiteral("CodeAquifere"),
                                  QStringLiteral("Code_ME"),
                                  QStringLiteral("CodeEntiteHydro"),
                                  QStringLiteral("codeBassinVersant"),
                                  QStringLiteral("codeBassinVersant2"),
                                  QStringLiteral("codeBassinVersant3"),
                                  QStringLiteral("codeBassinVersant4")};
    return c;
}

bool estCode(const QString &c)
{
    return champsCodes().contains(c, Qt::CaseInsensitive);
}

QWidget *page(QTabWidget *onglets, const QString &titre, QFormLayout *&formulaire)
{
    auto *zone = new QScrollArea(onglets);
    auto *contenu = new QWidget(zone);
    formulaire = new QFormLayout(contenu);
    zone->setWidget(contenu);
    zone->setWidgetResizable(true);
    onglets->addTab(zone, titre);
    return zone;
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

void FicheQualitometre::ajouterChamp(QFormLayout *formulaire, const QString &colonne,
                                     const QString &libelle, QWidget *controle)
{
    if (!controle) {
        if (estCase(colonne)) {
            controle = new QCheckBox(formulaire->parentWidget());
        } else if (estCode(colonne)) {
            auto *choix = new ComboCodee(formulaire->parentWidget());
            choix->setMinimumWidth(280);
            // Entities and lower catchments depend on the station: filled on display.
            const bool dependant = colonne == QLatin1String("CodeEntiteHydro") ||
                                   (colonne.startsWith(QLatin1String("codeBassinVersant")) &&
                                    colonne != QLatin1String("codeBassinVersant"));
            if (!dependant)
                choix->definirEntrees(EditionQualitometre::entreesChamp(colonne),
                                      colonne == QLatin1String("typeStation")
                                          ? ComboCodee::AucuneOption
                                          : ComboCodee::AvecVide);
            controle = choix;
        } else {
            controle = new QLineEdit(formulaire->parentWidget());
            if (colonne.startsWith(QLatin1String("Date")))
                surveillerDate(static_cast<QLineEdit *>(controle));
        }
    }
    const QString prefixe = qobject_cast<QCheckBox *>(controle)    ? QStringLiteral("Chk")
                            : qobject_cast<ComboCodee *>(controle) ? QStringLiteral("Cbo")
                                                                   : QStringLiteral("Txt");
    if (controle->objectName().isEmpty()) controle->setObjectName(prefixe + colonne);
    formulaire->addRow(libelle, controle);
    m_champs.insert(colonne.toLower(), controle);
    m_ordreChamps << controle;
    m_formulaires.insert(colonne.toLower(), formulaire);
}

// A field of a page of the card: its column and caption.
struct ChampPageStation
{
    const char *colonne;
    const char *libelle;
};

void FicheQualitometre::ajouterChamps(QFormLayout *formulaire,
                                      std::initializer_list<ChampPageStation> champs)
{
    for (const ChampPageStation &c : champs)
        ajouterChamp(formulaire, QString::fromLatin1(c.colonne), QString::fromUtf8(c.libelle));
}

void FicheQualitometre::construireChamps()
{
    QFormLayout *f = nullptr;
    page(m_onglets, QStringLiteral("Identification"), f);
    ajouterChamps(f, {{"typeStation", "Type de station"},
                      {"NumeroBSS", "Code BSS"},
                      {"Designation", "Désignation"},
                      {"Identifiant", "Identifiant"},
                      {"Nom", "Nom"},
                      {"CodeNature", "Nature"},
                      {"Type_qualitometre", "Type de qualitomètre"},
                      {"TypePointEau", "Type de point d'eau"},
                      {"DateCreation", "Date de création"},
                      {"DateFermeture", "Date de fermeture"},
                      {"codeQualitoInter", "Identifiant international"},
                      {"Finalite", "Finalité"},
                      {"codeEtat", "État"},
                      {"codeQualite", "Qualité"},
                      {"codeRepresentativite", "Représentativité"},
                      {"CodeContact", "Contact"},
                      {"confidentiel", "Confidentiel"},
                      {"Commentaires", "Commentaires"}});

    page(m_onglets, QStringLiteral("Localisation"), f);
    ajouterChamps(f, {{"X", "X"},
                      {"Y", "Y"},
                      {"TypeProjection", "Projection"},
                      {"Altitude", "Altitude"},
                      {"codeCommune", "Commune"},
                      {"codePays", "Pays"},
                      {"adresse", "Adresse"},
                      {"Localisation", "Localisation"},
                      {"carteIGN", "Carte IGN"},
                      {"carteGeologique", "Carte géologique"},
                      {"parcelle", "Parcelle"},
                      {"section", "Section"},
                      {"codeBassinVersant", "Bassin versant"},
                      {"codeBassinVersant2", "Bassin versant NV2"},
                      {"codeBassinVersant3", "Bassin versant NV3"},
                      {"codeBassinVersant4", "Bassin versant NV4"}});

    m_ongletSouterrain = page(m_onglets, QStringLiteral("Hydrogéologie"), f);
    ajouterChamps(f, {{"Prof_Debut", "Profondeur de début"},
                      {"Prof_Fin", "Profondeur de fin"},
                      {"Prof_Recommandee", "Profondeur recommandée"},
                      {"modeGisement", "Mode de gisement"},
                      {"CodeEntiteHydro", "Entité hydrogéologique"},
                      {"CodeAquifere", "Aquifère"},
                      {"Code_ME", "Masse d'eau"}});
    LblPiezometre = new QLabel(f->parentWidget());
    LblPiezometre->setObjectName(QStringLiteral("LblPiezometre"));
    f->addRow(QString(), LblPiezometre);

    m_ongletSurface = page(m_onglets, QStringLiteral("Eaux de surface"), f);
    ajouterChamps(f, {{"riviere", "Rivière"},
                      {"pk", "Point kilométrique"},
                      {"pente", "Pente"},
                      {"niveauTypologiqueTheo", "Niveau typologique théorique"},
                      {"canal", "Canal"},
                      {"BassinVersant_Superficie", "Superficie du bassin versant"},
                      {"her_niveau1", "HER niveau 1"},
                      {"her_niveau2", "HER niveau 2"},
                      {"code_hydro", "Code hydrographique"},
                      {"rang_strahler", "Rang de Strahler"},
                      {"valeur_strahler", "Valeur de Strahler"},
                      {"type_fr", "Type FR"},
                      {"codePiscicole", "Contexte piscicole"}});
    auto *calcium = new QWidget(f->parentWidget());
    auto *ligneCalcium = new QHBoxLayout(calcium);
    ligneCalcium->setContentsMargins(0, 0, 0, 0);
    for (const char *libelle : {"Faible", "Moyenne", "Forte"}) {
        auto *option = new QRadioButton(QString::fromLatin1(libelle), calcium);
        option->setObjectName(QStringLiteral("OptCalcium%1").arg(OptCalcium.size()));
        OptCalcium << option;
        ligneCalcium->addWidget(option);
    }
    f->addRow(QStringLiteral("Classe de calcium"), calcium);
    for (QRadioButton *option : OptCalcium)
        m_ordreChamps << option;
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
    for (const char *c : {"NumeroBSS", "Designation"})
        m_formulaires.value(QString::fromLatin1(c).toLower())
            ->setRowVisible(champ(QString::fromLatin1(c)), souterraine);
    m_formulaires.value(QStringLiteral("identifiant"))
        ->setRowVisible(champ(QStringLiteral("Identifiant")), !souterraine);
    m_onglets->setTabVisible(m_onglets->indexOf(m_ongletSouterrain), souterraine);
    m_onglets->setTabVisible(m_onglets->indexOf(m_ongletSurface), !souterraine);
    for (const QString &s : {QStringLiteral("crepines"), QStringLiteral("ouvrage")})
        if (EditeurSatellites *e = editeur(s))
            m_onglets->setTabVisible(m_onglets->indexOf(e), souterraine);
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
        if (auto *ligne = qobject_cast<QLineEdit *>(it.value())) {
            ligne->setText(EditionQualitometre::estChampNumerique(it.key()) ? nombreAffiche(texte)
                                                                            : texte);
        } else if (auto *caseACocher = qobject_cast<QCheckBox *>(it.value())) {
            caseACocher->setChecked(texte == QLatin1String("1"));
        } else if (auto *choix = qobject_cast<ComboCodee *>(it.value())) {
            if (it.key().startsWith(QLatin1String("codebassinversant")) &&
                it.key() != QLatin1String("codebassinversant"))
                continue;
            const QSignalBlocker bloque(choix);
            if (!choix->selectionnerCode(texte))
                choix->selectionnerCode(
                    it.key() == QLatin1String("typestation") ? QStringLiteral("1") : QString());
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
    for (auto it = m_champs.cbegin(); it != m_champs.cend(); ++it) {
        if (const auto *ligne = qobject_cast<QLineEdit *>(it.value()))
            m_edition.definir(it.key(), ligne->text());
        else if (const auto *caseACocher = qobject_cast<QCheckBox *>(it.value()))
            m_edition.definir(it.key(),
                              caseACocher->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
        else if (const auto *choix = qobject_cast<ComboCodee *>(it.value()))
            m_edition.definir(it.key(), choix->codeSelectionne());
    }
    QString calcium;
    for (int i = 0; i < OptCalcium.size(); ++i)
        if (OptCalcium[i]->isChecked()) calcium = QString::number(i);
    m_edition.definir(QStringLiteral("classeCalcium"), calcium);
}

bool FicheQualitometre::charger(qint64 code)
{
    if (!m_edition.charger(code)) return false;
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
