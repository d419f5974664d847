#include "ui/users/FrmUtilisateurs.h"

#include "db/Messages.h"
#include "ui/widgets/CadreEcran.h"
#include "users/Habilitations.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vyk {

namespace {

// Texts of the screen.
namespace texte {
const QString TITRE = QStringLiteral("Gestion des utilisateurs");
const QString CONFIRMATION_DIFFERENTE =
    QStringLiteral("Les deux mots de passe saisis sont différents.");
const QString ENREGISTRER_D_ABORD = QStringLiteral("Vous devez d'abord enregistrer l'utilisateur.");
const QString CHOISIR_STATION =
    QStringLiteral("Choisissez une station dans la liste des stations disponibles.");
const QString CHOISIR_STATION_ACCORDEE =
    QStringLiteral("Choisissez une station dans la liste des stations accordées.");
const QString QUESTION_SUPPRESSION =
    QStringLiteral("Supprimer l'utilisateur %1, ses habilitations et ses stations ?");
const QString QUESTION_ABANDON = QStringLiteral(
    "Les modifications de l'utilisateur en cours ne sont pas enregistrées. Les abandonner ?");
const QString ENREGISTRE = QStringLiteral("Utilisateur %1 enregistré.");
const QString SUPPRIME = QStringLiteral("Utilisateur %1 supprimé.");
const QString MOT_DE_PASSE_INCHANGE = QStringLiteral("inchangé si vide");
const QString ACCES_COMPLET =
    QStringLiteral("L'utilisateur voit toutes les stations (QUALITO_ALL).");
const QString ACCES_RESTREINT =
    QStringLiteral("L'utilisateur voit les stations accordées ici et celles des réseaux de ses "
                   "habilitations QUALITO_NETWORK_.");
const QString AUTRES = QStringLiteral("Autres habilitations détenues");
} // namespace texte

void remplirListe(QComboBox *liste, const QVector<ElementListe> &elements)
{
    liste->clear();
    liste->addItem(QString(), QString());
    for (const ElementListe &e : elements)
        liste->addItem(e.libelle + QStringLiteral(" [") + e.code + u']', e.code);
}

void choisir(QComboBox *liste, const QString &code)
{
    int index = liste->findData(code);
    if (index < 0 && !code.isEmpty()) {
        // A code that the list no longer holds is kept as it is.
        liste->addItem(QStringLiteral("[") + code + u']', code);
        index = liste->count() - 1;
    }
    liste->setCurrentIndex(qMax(0, index));
}

QListWidgetItem *elementStation(const StationAccordee &s)
{
    auto *e = new QListWidgetItem(s.libelle());
    e->setData(Qt::UserRole, s.code);
    return e;
}

} // namespace

FrmUtilisateurs::FrmUtilisateurs(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(texte::TITRE);
    setObjectName(QStringLiteral("FrmUtilisateurs"));
    resize(980, 620);

    SprUtilisateurs = new QTableWidget(0, 4, this);
    SprUtilisateurs->setHorizontalHeaderLabels({QStringLiteral("Login"), QStringLiteral("Nom"),
                                                QStringLiteral("Administrateur"),
                                                QStringLiteral("Référentiels")});
    SprUtilisateurs->setSelectionBehavior(QAbstractItemView::SelectRows);
    SprUtilisateurs->setSelectionMode(QAbstractItemView::SingleSelection);
    SprUtilisateurs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SprUtilisateurs->verticalHeader()->hide();
    SprUtilisateurs->horizontalHeader()->setStretchLastSection(true);
    CmdNouveau = new QPushButton(QStringLiteral("&Nouvel utilisateur"), this);
    CmdSupprimer = new QPushButton(QStringLiteral("&Supprimer"), this);

    auto *gauche = new QVBoxLayout;
    gauche->addWidget(SprUtilisateurs);
    auto *commandesListe = new QHBoxLayout;
    commandesListe->addWidget(CmdNouveau);
    commandesListe->addWidget(CmdSupprimer);
    commandesListe->addStretch();
    gauche->addLayout(commandesListe);

    auto *onglets = new QTabWidget(this);
    onglets->addTab(construireCompte(), QStringLiteral("Compte"));
    onglets->addTab(construireHabilitations(), QStringLiteral("Habilitations"));
    onglets->addTab(construireStations(), QStringLiteral("Stations"));

    auto *corps = new QHBoxLayout;
    // Half the width for the list, so that its four columns show without scrolling.
    corps->addLayout(gauche, 1);
    corps->addWidget(onglets, 1);

    LblEtat = new QLabel(this);
    CmdEnregistrer = new QPushButton(QStringLiteral("&Enregistrer"), this);
    CmdEnregistrer->setDefault(true);
    CmdFermer = new QPushButton(QStringLiteral("&Fermer"), this);
    auto *bas = new QHBoxLayout;
    bas->addWidget(LblEtat, 1);
    bas->addWidget(CmdEnregistrer);
    bas->addWidget(CmdFermer);

    auto *racine = new QVBoxLayout(this);
    racine->addLayout(corps, 1);
    racine->addLayout(bas);

    connect(SprUtilisateurs, &QTableWidget::itemSelectionChanged, this, [this] {
        if (m_chargement) return;
        const int ligne = SprUtilisateurs->currentRow();
        const QString login = ligne >= 0 && SprUtilisateurs->item(ligne, 0)
                                  ? SprUtilisateurs->item(ligne, 0)->text()
                                  : QString();
        if (login != m_login && !login.isEmpty()) selectionner(login);
    });
    connect(CmdNouveau, &QPushButton::clicked, this, &FrmUtilisateurs::nouveau);
    connect(CmdEnregistrer, &QPushButton::clicked, this, &FrmUtilisateurs::enregistrer);
    connect(CmdSupprimer, &QPushButton::clicked, this, &FrmUtilisateurs::supprimer);
    connect(CmdFermer, &QPushButton::clicked, this, [this] { fermerEcran(this); });
    for (QLineEdit *champ : {TxtLogin, TxtNom, TxtMotDePasse, TxtConfirmation})
        connect(champ, &QLineEdit::textEdited, this, &FrmUtilisateurs::modifie);
    for (QCheckBox *case_ : {ChkAdministrateur, ChkReferentiels})
        connect(case_, &QCheckBox::toggled, this, &FrmUtilisateurs::modifie);
    for (QComboBox *liste : {CboIntervenant, CboContact})
        connect(liste, &QComboBox::currentIndexChanged, this, &FrmUtilisateurs::modifie);
    connect(SprHabilitations, &QTreeWidget::itemChanged, this,
            [this](QTreeWidgetItem *, int colonne) {
                if (colonne != 0) return;
                modifie();
                majAccesStations();
            });

    m_chargement = true;
    remplirListe(CboIntervenant, m_gestion.organismes());
    remplirListe(CboContact, m_gestion.contacts());
    m_chargement = false;
    for (const StationAccordee &s : m_gestion.stationsDisponibles())
        LstStationsDisponibles->addItem(elementStation(s));
    chargerListe({});
    if (SprUtilisateurs->rowCount() > 0)
        selectionner(SprUtilisateurs->item(0, 0)->text());
    else
        nouveau();
}

QWidget *FrmUtilisateurs::construireCompte()
{
    auto *page = new QWidget(this);
    TxtLogin = new QLineEdit(page);
    TxtLogin->setMaxLength(12);
    TxtNom = new QLineEdit(page);
    TxtNom->setMaxLength(255);
    TxtMotDePasse = new QLineEdit(page);
    TxtMotDePasse->setEchoMode(QLineEdit::Password);
    TxtMotDePasse->setMaxLength(12);
    TxtConfirmation = new QLineEdit(page);
    TxtConfirmation->setEchoMode(QLineEdit::Password);
    TxtConfirmation->setMaxLength(12);
    ChkAdministrateur = new QCheckBox(QStringLiteral("Administrateur (tous les droits)"), page);
    ChkReferentiels = new QCheckBox(QStringLiteral("Peut modifier les listes de référence"), page);
    CboIntervenant = new QComboBox(page);
    CboContact = new QComboBox(page);
    for (QComboBox *liste : {CboIntervenant, CboContact})
        liste->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    auto *formulaire = new QFormLayout(page);
    formulaire->addRow(QStringLiteral("Login :"), TxtLogin);
    formulaire->addRow(QStringLiteral("Nom :"), TxtNom);
    formulaire->addRow(QStringLiteral("Mot de passe :"), TxtMotDePasse);
    formulaire->addRow(QStringLiteral("Confirmation :"), TxtConfirmation);
    formulaire->addRow(QString(), ChkAdministrateur);
    formulaire->addRow(QString(), ChkReferentiels);
    formulaire->addRow(QStringLiteral("Organisme :"), CboIntervenant);
    formulaire->addRow(QStringLiteral("Contact :"), CboContact);
    return page;
}

QWidget *FrmUtilisateurs::construireHabilitations()
{
    SprHabilitations = new QTreeWidget(this);
    SprHabilitations->setColumnCount(2);
    SprHabilitations->setHeaderLabels({QStringLiteral("Habilitation"), QStringLiteral("Code")});
    SprHabilitations->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    return SprHabilitations;
}

QWidget *FrmUtilisateurs::construireStations()
{
    auto *page = new QWidget(this);
    LblAccesStations = new QLabel(page);
    LblAccesStations->setWordWrap(true);
    LstStations = new QListWidget(page);
    TxtFiltreStations = new QLineEdit(page);
    TxtFiltreStations->setPlaceholderText(QStringLiteral("Filtrer par identifiant ou nom"));
    TxtFiltreStations->setClearButtonEnabled(true);
    LstStationsDisponibles = new QListWidget(page);
    CmdAjouterStation = new QPushButton(QStringLiteral("◀ &Accorder"), page);
    CmdRetirerStation = new QPushButton(QStringLiteral("&Retirer ▶"), page);

    auto *accordees = new QVBoxLayout;
    accordees->addWidget(new QLabel(QStringLiteral("Stations accordées une à une :"), page));
    accordees->addWidget(LstStations);
    auto *boutons = new QVBoxLayout;
    boutons->addStretch();
    boutons->addWidget(CmdAjouterStation);
    boutons->addWidget(CmdRetirerStation);
    boutons->addStretch();
    auto *disponibles = new QVBoxLayout;
    disponibles->addWidget(new QLabel(QStringLiteral("Stations disponibles :"), page));
    disponibles->addWidget(TxtFiltreStations);
    disponibles->addWidget(LstStationsDisponibles);
    auto *listes = new QHBoxLayout;
    listes->addLayout(accordees);
    listes->addLayout(boutons);
    listes->addLayout(disponibles);
    auto *racine = new QVBoxLayout(page);
    racine->addWidget(LblAccesStations);
    racine->addLayout(listes, 1);

    connect(TxtFiltreStations, &QLineEdit::textChanged, this, &FrmUtilisateurs::filtrerStations);
    connect(CmdAjouterStation, &QPushButton::clicked, this, &FrmUtilisateurs::ajouterStation);
    connect(CmdRetirerStation, &QPushButton::clicked, this, &FrmUtilisateurs::retirerStation);
    connect(LstStationsDisponibles, &QListWidget::itemDoubleClicked, this,
            &FrmUtilisateurs::ajouterStation);
    return page;
}

void FrmUtilisateurs::chargerListe(const QString &aSelectionner)
{
    m_chargement = true;
    const QVector<FicheUtilisateur> liste = m_gestion.utilisateurs();
    SprUtilisateurs->setRowCount(int(liste.size()));
    for (int l = 0; l < liste.size(); ++l) {
        const FicheUtilisateur &u = liste[l];
        const QString valeurs[] = {u.login, u.nom,
                                   u.administrateur ? QStringLiteral("Oui") : QString(),
                                   u.editionReferentiels ? QStringLiteral("Oui") : QString()};
        for (int c = 0; c < 4; ++c)
            SprUtilisateurs->setItem(l, c, new QTableWidgetItem(valeurs[c]));
        if (u.login == aSelectionner) SprUtilisateurs->selectRow(l);
    }
    SprUtilisateurs->resizeColumnsToContents();
    m_chargement = false;
}

bool FrmUtilisateurs::selectionner(const QString &login)
{
    if (login != m_login && !confirmerAbandon()) {
        // The grid goes back to the user being edited.
        m_chargement = true;
        for (int l = 0; l < SprUtilisateurs->rowCount(); ++l)
            if (SprUtilisateurs->item(l, 0)->text() == m_login) SprUtilisateurs->selectRow(l);
        if (m_login.isEmpty()) SprUtilisateurs->clearSelection();
        m_chargement = false;
        return false;
    }
    const std::optional<FicheUtilisateur> fiche = m_gestion.utilisateur(login);
    if (!fiche) return false;
    afficher(*fiche);
    m_chargement = true;
    for (int l = 0; l < SprUtilisateurs->rowCount(); ++l)
        if (SprUtilisateurs->item(l, 0)->text() == login) SprUtilisateurs->selectRow(l);
    m_chargement = false;
    return true;
}

void FrmUtilisateurs::afficher(const FicheUtilisateur &fiche)
{
    m_chargement = true;
    m_login = fiche.login;
    TxtLogin->setText(fiche.login);
    TxtLogin->setReadOnly(!fiche.login.isEmpty());
    TxtNom->setText(fiche.nom);
    TxtMotDePasse->clear();
    TxtConfirmation->clear();
    TxtMotDePasse->setPlaceholderText(fiche.login.isEmpty() ? QString()
                                                            : texte::MOT_DE_PASSE_INCHANGE);
    TxtConfirmation->setPlaceholderText(TxtMotDePasse->placeholderText());
    ChkAdministrateur->setChecked(fiche.administrateur);
    ChkReferentiels->setChecked(fiche.editionReferentiels);
    choisir(CboIntervenant, fiche.codeIntervenant);
    choisir(CboContact, fiche.codeContact);
    chargerHabilitations(fiche.login.isEmpty() ? QStringList()
                                               : m_gestion.habilitations(fiche.login));
    chargerStations();
    m_modifie = false;
    m_chargement = false;
    majCommandes();
}

void FrmUtilisateurs::chargerHabilitations(const QStringList &droits)
{
    const QSignalBlocker blocage(SprHabilitations);
    SprHabilitations->clear();
    QHash<QString, QTreeWidgetItem *> groupes;
    QStringList connus;
    const auto ajouter = [&](const DefinitionHabilitation &d) {
        QTreeWidgetItem *&groupe = groupes[d.groupe];
        if (!groupe) {
            // A group is a heading only: ticking a whole group would also grant its "FORBIDEN".
            groupe = new QTreeWidgetItem(SprHabilitations, {d.groupe});
            groupe->setFlags(Qt::ItemIsEnabled);
            QFont gras = groupe->font(0);
            gras.setBold(true);
            groupe->setFont(0, gras);
        }
        // The French label first; the code beside it, for those who know the codes.
        auto *e = new QTreeWidgetItem(groupe, {d.libelle.isEmpty() ? d.code : d.libelle, d.code});
        e->setData(0, Qt::UserRole, d.code);
        e->setFlags(e->flags() | Qt::ItemIsUserCheckable);
        e->setCheckState(0, droits.contains(d.code) ? Qt::Checked : Qt::Unchecked);
        connus << d.code;
    };
    for (const DefinitionHabilitation &d : catalogueHabilitations())
        ajouter(d);
    for (const DefinitionHabilitation &d : habilitationsReseaux())
        ajouter(d);
    // Rights held that this program does not list (another module's, an old network): shown so
    // that a save keeps them.
    for (const QString &droit : droits)
        if (!connus.contains(droit)) ajouter({droit, QString(), texte::AUTRES});
    // Groups holding a right of the user are open.
    for (QTreeWidgetItem *groupe : std::as_const(groupes)) {
        bool detenu = false;
        for (int i = 0; i < groupe->childCount() && !detenu; ++i)
            detenu = groupe->child(i)->checkState(0) == Qt::Checked;
        groupe->setExpanded(detenu);
    }
    if (QTreeWidgetItem *qualite = SprHabilitations->topLevelItem(0)) qualite->setExpanded(true);
}

QStringList FrmUtilisateurs::habilitationsCochees() const
{
    QStringList droits;
    for (int g = 0; g < SprHabilitations->topLevelItemCount(); ++g) {
        const QTreeWidgetItem *groupe = SprHabilitations->topLevelItem(g);
        for (int i = 0; i < groupe->childCount(); ++i)
            if (groupe->child(i)->checkState(0) == Qt::Checked)
                droits << groupe->child(i)->data(0, Qt::UserRole).toString();
    }
    return droits;
}

void FrmUtilisateurs::chargerStations()
{
    LstStations->clear();
    if (!m_login.isEmpty())
        for (const StationAccordee &s : m_gestion.stations(m_login))
            LstStations->addItem(elementStation(s));
    majAccesStations();
}

void FrmUtilisateurs::majAccesStations()
{
    const bool complet =
        ChkAdministrateur->isChecked() || habilitationsCochees().contains(droit::QUALITO_ALL);
    LblAccesStations->setText(complet ? texte::ACCES_COMPLET : texte::ACCES_RESTREINT);
}

void FrmUtilisateurs::filtrerStations(const QString &filtre)
{
    for (int i = 0; i < LstStationsDisponibles->count(); ++i) {
        QListWidgetItem *e = LstStationsDisponibles->item(i);
        e->setHidden(!filtre.isEmpty() && !e->text().contains(filtre, Qt::CaseInsensitive));
    }
}

void FrmUtilisateurs::majEtat(const QString &texteEtat)
{
    LblEtat->setText(texteEtat);
}

void FrmUtilisateurs::majCommandes()
{
    const bool existant = !m_login.isEmpty();
    CmdSupprimer->setEnabled(existant);
    CmdAjouterStation->setEnabled(existant);
    CmdRetirerStation->setEnabled(existant);
}

void FrmUtilisateurs::modifie()
{
    if (m_chargement) return;
    m_modifie = true;
    majEtat({});
}

bool FrmUtilisateurs::confirmerAbandon()
{
    return !m_modifie || afficherMessage(GENRE_QUESTION, texte::QUESTION_ABANDON) == BoutonOui;
}

void FrmUtilisateurs::nouveau()
{
    if (!confirmerAbandon()) return;
    afficher(FicheUtilisateur{});
    m_chargement = true;
    SprUtilisateurs->clearSelection();
    m_chargement = false;
    TxtLogin->setFocus();
}

bool FrmUtilisateurs::enregistrer()
{
    const bool creation = m_login.isEmpty();
    const QString motDePasse = TxtMotDePasse->text();
    if (motDePasse != TxtConfirmation->text()) {
        afficherMessage(GENRE_ERREUR, texte::CONFIRMATION_DIFFERENTE);
        return false;
    }
    FicheUtilisateur fiche;
    fiche.login = creation ? TxtLogin->text().trimmed() : m_login;
    fiche.nom = TxtNom->text().trimmed();
    fiche.administrateur = ChkAdministrateur->isChecked();
    fiche.editionReferentiels = ChkReferentiels->isChecked();
    fiche.codeIntervenant = CboIntervenant->currentData().toString();
    fiche.codeContact = CboContact->currentData().toString();

    const bool cree = creation && m_gestion.creer(fiche, motDePasse);
    bool ok = creation ? cree : m_gestion.modifier(fiche);
    if (ok && !creation && !motDePasse.isEmpty())
        ok = m_gestion.changerMotDePasse(fiche.login, motDePasse);
    if (ok) ok = m_gestion.definirHabilitations(fiche.login, habilitationsCochees());
    if (!ok) {
        afficherMessage(GENRE_ERREUR, m_gestion.erreur());
        // Only an account this save created: a refused creation (the login is taken) keeps
        // what was typed, and must not open someone else's account in its place.
        if (cree) {
            // The account exists: go on from it rather than create it twice.
            m_modifie = false;
            chargerListe(fiche.login);
            selectionner(fiche.login);
        }
        return false;
    }
    m_modifie = false;
    chargerListe(fiche.login);
    selectionner(fiche.login);
    majEtat(texte::ENREGISTRE.arg(fiche.login));
    return true;
}

bool FrmUtilisateurs::supprimer()
{
    if (m_login.isEmpty()) return false;
    if (afficherMessage(GENRE_QUESTION, texte::QUESTION_SUPPRESSION.arg(m_login)) != BoutonOui)
        return false;
    const QString login = m_login;
    if (!m_gestion.supprimer(login)) {
        afficherMessage(GENRE_ERREUR, m_gestion.erreur());
        return false;
    }
    m_modifie = false;
    chargerListe({});
    if (SprUtilisateurs->rowCount() > 0)
        selectionner(SprUtilisateurs->item(0, 0)->text());
    else
        nouveau();
    majEtat(texte::SUPPRIME.arg(login));
    return true;
}

bool FrmUtilisateurs::ajouterStation()
{
    if (m_login.isEmpty()) {
        afficherMessage(GENRE_ERREUR, texte::ENREGISTRER_D_ABORD);
        return false;
    }
    QListWidgetItem *e = LstStationsDisponibles->currentItem();
    if (!e || e->isHidden()) {
        afficherMessage(GENRE_AIDE, texte::CHOISIR_STATION);
        return false;
    }
    if (!m_gestion.accorderStation(m_login, e->data(Qt::UserRole).toLongLong())) {
        afficherMessage(GENRE_ERREUR, m_gestion.erreur());
        return false;
    }
    chargerStations();
    return true;
}

bool FrmUtilisateurs::retirerStation()
{
    QListWidgetItem *e = LstStations->currentItem();
    if (m_login.isEmpty() || !e) {
        afficherMessage(GENRE_AIDE, texte::CHOISIR_STATION_ACCORDEE);
        return false;
    }
    if (!m_gestion.retirerStation(m_login, e->data(Qt::UserRole).toLongLong())) {
        afficherMessage(GENRE_ERREUR, m_gestion.erreur());
        return false;
    }
    chargerStations();
    return true;
}

void FrmUtilisateurs::closeEvent(QCloseEvent *event)
{
    if (confirmerAbandon())
        event->accept();
    else
        event->ignore();
}

} // namespace vyk
