#include "ui/import/Importation.h"

#include "app/Registre.h"
#include "db/Journal.h"
#include "db/Messages.h"
#include "import/ApercuImport.h"
#include "import/ModelesImport.h"
#include "search/Recherche.h"
#include "ui/widgets/GrilleDonnees.h"
#include "ui/widgets/ProgressionGui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vyk {

namespace {

// "Sélectionnez le classeur à importer": the sheet a workbook model reads when its own is absent.
std::function<QString(const QStringList &)> choixFeuille(QWidget *parent)
{
    return [parent](const QStringList &feuilles) {
        bool ok = false;
        const QString choix = QInputDialog::getItem(
            parent, QStringLiteral("Importation de données"),
            QStringLiteral("Sélectionnez le classeur à importer"), feuilles, 0, false, &ok);
        return ok ? choix : QString();
    };
}
const QString REGLAGE_DOSSIER = QStringLiteral("RepertoireImportation");
const QString REGLAGE_TYPE = QStringLiteral("TypeImportation");
const QString REGLAGE_MODELE = QStringLiteral("ModeleImportation");
const QString AUTOMATIQUE = QStringLiteral("AUTOMATIQUE");
const QString QUESTION_REMPLACER =
    QStringLiteral("Etes vous sur de vouloir supprimer toutes les donnés pour cette station ?");
const QStringList COLONNES_FICHIERS = {QStringLiteral("Fichier"), QStringLiteral("Station"),
                                       QStringLiteral("Nom"), QStringLiteral("Résultat")};
constexpr int COLONNE_RESULTAT = 3;

} // namespace

Importation::Importation(QWidget *parent) : Ecran(parent)
{
    setObjectName(QStringLiteral("Importation"));
    setWindowTitle(QStringLiteral("Importation de données"));
    construire();
    remplirCampagnes();
    choisirModele(lireRegistre(REGLAGE_MODELE));
    choisirIntegrationAutomatique(lireRegistre(REGLAGE_TYPE) == AUTOMATIQUE);
    majEtat();
}

void Importation::construire()
{
    auto *disposition = new QVBoxLayout(this);
    auto *haut = new QFormLayout;
    m_modele = new QComboBox(this);
    m_modele->setObjectName(QStringLiteral("CboModele"));
    // Labels are padded to line the codes up: a fixed-width font keeps them aligned.
    m_modele->setFont(QFont(QStringLiteral("Monospace")));
    m_modele->addItem(QString(), QString());
    for (const ModeleImport &m : modelesImport())
        if (!m.libelle.isEmpty()) m_modele->addItem(m.libelleListe(), m.code);
    auto *etiquette = new QLabel(QStringLiteral("&Modèles d'import prédéfinis"), this);
    etiquette->setBuddy(m_modele);
    haut->addRow(etiquette, m_modele);
    disposition->addLayout(haut);

    auto *options = new QHBoxLayout;
    auto *integration = new QGroupBox(QStringLiteral("Intégration"), this);
    auto *dispIntegration = new QVBoxLayout(integration);
    m_manuelle = new QRadioButton(QStringLiteral("&Intégration manuelle"), integration);
    m_automatique = new QRadioButton(QStringLiteral("&Intégration automatique"), integration);
    m_manuelle->setChecked(true);
    dispIntegration->addWidget(m_manuelle);
    dispIntegration->addWidget(m_automatique);
    auto *chargement = new QGroupBox(QStringLiteral("Chargement"), this);
    auto *dispChargement = new QVBoxLayout(chargement);
    m_remplacer = new QRadioButton(
        QStringLiteral("&Remplacer toutes les données de la base pour les stations"), chargement);
    m_ajouter = new QRadioButton(
        QStringLiteral("&Ajouter les mesures en insérant les nouvelles mesures uniquement"),
        chargement);
    m_ajouter->setChecked(true);
    m_entete = new QCheckBox(QStringLiteral("&Nom de champs sur la première ligne"), chargement);
    dispChargement->addWidget(m_remplacer);
    dispChargement->addWidget(m_ajouter);
    dispChargement->addWidget(m_entete);
    options->addWidget(integration);
    options->addWidget(chargement, 1);
    disposition->addLayout(options);

    auto *campagne = new QHBoxLayout;
    m_campagne = new QComboBox(this);
    m_campagne->setObjectName(QStringLiteral("CboCampagne"));
    campagne->addWidget(new QLabel(
        QStringLiteral("Associer les opérations créées à une campagne de prélèvement :"), this));
    campagne->addWidget(m_campagne, 1);
    disposition->addLayout(campagne);

    auto *ligneChemin = new QHBoxLayout;
    m_chemin = new QLineEdit(this);
    m_chemin->setReadOnly(true);
    m_parcourir = new QPushButton(QStringLiteral("Parcourir..."), this);
    ligneChemin->addWidget(new QLabel(QStringLiteral("Fichier ou dossier :"), this));
    ligneChemin->addWidget(m_chemin, 1);
    ligneChemin->addWidget(m_parcourir);
    disposition->addLayout(ligneChemin);

    m_apercu = new GrilleDonnees(this);
    m_apercu->setObjectName(QStringLiteral("SprApercu"));
    m_fichiers = new GrilleDonnees(this);
    m_fichiers->setObjectName(QStringLiteral("SprFichiers"));
    m_fichiers->remplir(COLONNES_FICHIERS, {});
    disposition->addWidget(m_apercu, 1);
    disposition->addWidget(m_fichiers, 1);
    m_information = new QLabel(this);
    m_information->setWordWrap(true);
    m_information->setTextInteractionFlags(Qt::TextSelectableByMouse);
    disposition->addWidget(m_information);

    auto *boutons = new QHBoxLayout;
    m_controler = new QPushButton(QStringLiteral("Contrôler le fichier"), this);
    m_controler->setToolTip(QStringLiteral(
        "Fait toute l'intégration puis l'annule : liste ce qui serait créé et les lignes en "
        "erreur, sans rien écrire dans la base."));
    m_demarrer = new QPushButton(QStringLiteral("Démarrer l'importation"), this);
    m_demarrer->setDefault(true);
    m_fermer = new QPushButton(QStringLiteral("Fermer"), this);
    boutons->addStretch(1);
    boutons->addWidget(m_controler);
    boutons->addWidget(m_demarrer);
    boutons->addWidget(m_fermer);
    disposition->addLayout(boutons);

    connect(m_modele, &QComboBox::currentIndexChanged, this, [this] {
        ecrireRegistre(REGLAGE_MODELE, modele());
        // A file already chosen is read again the way the new model reads it.
        if (!integrationAutomatique() && !m_chemin->text().isEmpty())
            choisirFichier(QDir::fromNativeSeparators(m_chemin->text()));
        majEtat();
    });
    connect(m_automatique, &QRadioButton::toggled, this, [this](bool automatique) {
        ecrireRegistre(REGLAGE_TYPE, automatique ? AUTOMATIQUE : QStringLiteral("MANUELLE"));
        m_chemin->clear();
        m_apercu->vider();
        m_liste.clear();
        m_fichiers->remplir(COLONNES_FICHIERS, {});
        m_information->clear();
        majEtat();
    });
    connect(m_parcourir, &QPushButton::clicked, this, &Importation::parcourir);
    connect(m_controler, &QPushButton::clicked, this, &Importation::controler);
    connect(m_demarrer, &QPushButton::clicked, this, &Importation::demarrer);
    connect(m_fermer, &QPushButton::clicked, this, [this] {
        if (parentWidget() && parentWidget()->inherits("QMdiSubWindow"))
            parentWidget()->close();
        else
            close();
    });
}

void Importation::remplirCampagnes()
{
    m_campagne->clear();
    m_campagne->addItem(QString(), QVariant());
    for (const auto &[libelle, code] : campagnesImport())
        m_campagne->addItem(libelle, code);
}

QString Importation::modele() const
{
    return m_modele->currentData().toString();
}

void Importation::choisirModele(const QString &code)
{
    const int i = m_modele->findData(code.trimmed(), Qt::UserRole, Qt::MatchFixedString);
    m_modele->setCurrentIndex(i < 0 ? 0 : i);
}

bool Importation::integrationAutomatique() const
{
    return m_automatique->isChecked();
}

void Importation::choisirIntegrationAutomatique(bool automatique)
{
    (automatique ? m_automatique : m_manuelle)->setChecked(true);
}

void Importation::choisirRemplacement(bool remplacer)
{
    (remplacer ? m_remplacer : m_ajouter)->setChecked(true);
}

void Importation::choisirEntete(bool entete)
{
    m_entete->setChecked(entete);
}

void Importation::majEtat()
{
    const ModeleImport *m = modeleImport(modele());
    const bool automatique = integrationAutomatique();
    m_apercu->setVisible(!automatique);
    m_fichiers->setVisible(automatique);
    const bool cible = automatique ? !m_liste.isEmpty() : !m_chemin->text().isEmpty();
    m_demarrer->setEnabled(cible);
    m_controler->setEnabled(cible && m && m->refus().isEmpty());
    if (m && !m->refus().isEmpty())
        m_information->setText(m->refus());
    else if (!cible)
        m_information->setText(
            automatique ? QStringLiteral("Choisissez le modèle d'import, puis le dossier dont les "
                                         "fichiers sont à intégrer (Parcourir...).")
                        : QStringLiteral("Choisissez le modèle d'import, puis le fichier à "
                                         "intégrer (Parcourir...)."));
}

void Importation::parcourir()
{
    const QString depart = lireRegistre(REGLAGE_DOSSIER, {}, true);
    if (integrationAutomatique()) {
        const QString dossier =
            QFileDialog::getExistingDirectory(this, QStringLiteral("Dossier à importer"), depart);
        if (!dossier.isEmpty()) choisirDossier(dossier);
        return;
    }
    const QString chemin = QFileDialog::getOpenFileName(
        this, QStringLiteral("Fichier à importer"), depart,
        QStringLiteral(
            "Fichiers d'échange (*.xml *.csv *.txt *.zip *.vyk);;Tous les fichiers (*)"));
    if (!chemin.isEmpty()) choisirFichier(chemin);
}

bool Importation::choisirFichier(const QString &chemin)
{
    m_chemin->setText(QDir::toNativeSeparators(chemin));
    ecrireRegistre(REGLAGE_DOSSIER, QFileInfo(chemin).absolutePath());
    ApercuImport a;
    {
        ProgressionGui progression(this, QStringLiteral("Chargement du fichier"));
        a = apercuImport(modele(), chemin, m_entete->isChecked(), progression, choixFeuille(this));
    }
    m_apercu->remplir(a.colonnes, a.lignes);
    QString info = QString::number(a.lignes.size()) + QStringLiteral(" ligne(s) lue(s).");
    if (!a.remarques.isEmpty()) info += u'\n' + a.remarques;
    m_information->setText(a.erreur.isEmpty() ? info : a.erreur);
    majEtat();
    // A model chosen later reads the file again: no message before there is one.
    if (!a.erreur.isEmpty() && !modele().isEmpty()) afficherMessage(GENRE_ERREUR, a.erreur);
    return a.erreur.isEmpty();
}

void Importation::choisirDossier(const QString &dossier)
{
    m_dossier = dossier;
    m_chemin->setText(QDir::toNativeSeparators(dossier));
    ecrireRegistre(REGLAGE_DOSSIER, dossier);
    m_proprietes = {};
    QString erreur;
    const bool avecProprietes = chargerProprietesIntegration(dossier, m_proprietes, &erreur);
    if (!erreur.isEmpty()) afficherMessage(GENRE_ERREUR, erreur);
    if (avecProprietes) {
        if (!m_proprietes.modele.isEmpty()) choisirModele(m_proprietes.modele);
        if (!m_proprietes.campagne.isEmpty()) {
            const int i = m_campagne->findText(m_proprietes.campagne, Qt::MatchFixedString);
            m_campagne->setCurrentIndex(
                i >= 0 ? i : std::max(0, m_campagne->findData(m_proprietes.campagne.toLongLong())));
        }
    }
    m_liste = listerFichiersIntegration(dossier, {}, avecProprietes ? &m_proprietes : nullptr);
    completerNomsStations(m_liste);
    QVector<QStringList> lignes;
    for (const FichierIntegration &f : std::as_const(m_liste))
        lignes.append({f.fichier, f.station, f.nomStation, QString()});
    m_fichiers->remplir(COLONNES_FICHIERS, lignes);
    QStringList info{QString::number(m_liste.size()) + QStringLiteral(" fichier(s) à intégrer.")};
    if (!m_proprietes.lignesIgnorees.isEmpty())
        info << QStringLiteral("Lignes non reprises du fichier ") + FICHIER_PROPRIETES_INTEGRATION +
                    QStringLiteral(" : ") + m_proprietes.lignesIgnorees.join(QStringLiteral(", "));
    if (!m_proprietes.transfert.isEmpty())
        info << QStringLiteral("Le transfert de fichiers (#FTP) n'est pas pris en charge : "
                               "déposez les fichiers dans le dossier.");
    m_information->setText(info.join(u'\n'));
    majEtat();
}

OptionsImport Importation::options(bool controle) const
{
    OptionsImport o;
    o.remplacer = m_remplacer->isChecked();
    o.controle = controle;
    o.entete = m_entete->isChecked();
    const QVariant campagne = m_campagne->currentData();
    o.campagne = campagne.isValid() ? campagne.toLongLong() : -1;
    return o;
}

QStringList Importation::cibles() const
{
    if (!integrationAutomatique()) return {QDir::fromNativeSeparators(m_chemin->text())};
    QStringList chemins;
    for (const FichierIntegration &f : m_liste)
        chemins << QDir(m_dossier).filePath(f.fichier);
    return chemins;
}

void Importation::demarrer()
{
    lancer(false);
}

void Importation::controler()
{
    lancer(true);
}

void Importation::lancer(bool controle)
{
    if (modele().isEmpty()) {
        afficherMessage(GENRE_AIDE, texteModeles::AUCUN);
        return;
    }
    if (!controle && m_remplacer->isChecked() && !confirmerParMessage(QUESTION_REMPLACER)) return;
    const ReponsesIntegration reponses{confirmerParMessage, confirmerParMessage, choixFeuille(this),
                                       confirmerParMessage};
    {
        ProgressionGui progression(this, QStringLiteral("Importation de données"));
        m_resultat = importerFichiers(modele(), cibles(), options(controle), progression, reponses);
    }
    if (integrationAutomatique()) {
        for (int i = 0; i < m_resultat.fichiers.size() && i < m_fichiers->nbLignes(); ++i) {
            QStringList ligne = m_fichiers->ligne(i);
            const QString &erreur = m_resultat.fichiers.at(i).erreur;
            ligne[COLONNE_RESULTAT] =
                erreur.isEmpty() ? QStringLiteral("OK") : QStringLiteral("ERROR : ") + erreur;
            m_fichiers->majLigne(i, ligne);
        }
    }
    if (controle)
        montrerControle(m_resultat);
    else
        afficherResultat(m_resultat);
}

void Importation::afficherResultat(const ResultatImport &r)
{
    const BilanAnalyses total = r.total();
    m_information->setText((QStringList{total.resume()} + r.messages()).join(u'\n'));
    emit donneesImportees();
    if (!total.messageIntervenants.isEmpty())
        afficherMessage(GENRE_AIDE, total.messageIntervenants);
    if (r.statut()) {
        if (rapportSeuilsApresImport(r))
            afficherMessage(GENRE_WARNING, MESSAGE_ANOMALIES_SEUILS);
        else
            afficherMessage(GENRE_AIDE, texteImportation::TERMINE);
        return;
    }
    const QStringList messages = r.messages();
    const QString texte = messages.isEmpty() ? total.resume() : messages.join(u'\n');
    journaliserErreur(texteImportation::PREFIXE_ERREUR + texte);
    afficherMessage(GENRE_ERREUR, texte);
}

void Importation::montrerControle(const ResultatImport &r)
{
    const BilanAnalyses total = r.total();
    QStringList lignes{QStringLiteral("Contrôle sans écriture : rien n'a été enregistré."),
                       total.resume()};
    lignes << total.aCreer() << r.messages();
    for (const LigneEnErreur &l : total.lignesEnErreur)
        lignes << (l.origine.isEmpty() ? QStringLiteral("ligne ") + QString::number(l.ligne)
                                       : l.origine) +
                      QStringLiteral(" : ") + l.raison;
    m_information->setText(total.resume());
    m_rapport = lignes.join(u'\n');
    montrerRapport(QStringLiteral("Contrôle du fichier"), QStringLiteral("RapportControle"));
}

// After an automatic run whose folder settings name a threshold type and an invalidity rule,
// the results it wrote that break the rule are listed. True when there are some.
bool Importation::rapportSeuilsApresImport(const ResultatImport &r)
{
    const ProprietesIntegration &p = m_proprietes;
    if (!integrationAutomatique() || r.execution < 0 || p.typeSeuil.trimmed().isEmpty() ||
        !(p.invalideSiInferieurSeuil1 || p.invalideSiSuperieurMax))
        return false;
    ResultatRecherche resultat;
    QString message;
    IssueRecherche issue;
    {
        ProgressionGui progression(this, QStringLiteral("Rapport de recherche selon le seuil"));
        issue = rapportSeuils(r.execution, p.typeSeuil, p.invalideSiInferieurSeuil1,
                              p.invalideSiSuperieurMax, resultat, message, progression);
    }
    if (issue != IssueRecherche::Trouve || resultat.lignes.isEmpty()) return false;
    const QString separateur = QStringLiteral(" ; ");
    QStringList lignes{(titresResultats().mid(0, 9) << QStringLiteral("Classe")).join(separateur)};
    for (const LigneResultat &l : std::as_const(resultat.lignes)) {
        const QStringList c = celluleResultat(resultat, l);
        lignes << (c.mid(0, 9) << c[30]).join(separateur);
    }
    m_rapport = lignes.join(u'\n');
    montrerRapport(QStringLiteral("Rapport de recherche selon le seuil"),
                   QStringLiteral("RapportSeuils"));
    return true;
}

void Importation::montrerRapport(const QString &titre, const QString &nom)
{
    // Not modal to the application: the report stays open beside the screen.
    auto *rapport = new QDialog(this);
    rapport->setAttribute(Qt::WA_DeleteOnClose);
    rapport->setObjectName(nom);
    rapport->setWindowTitle(titre);
    rapport->resize(820, 480);
    auto *disposition = new QVBoxLayout(rapport);
    auto *texte = new QPlainTextEdit(m_rapport, rapport);
    texte->setReadOnly(true);
    disposition->addWidget(texte);
    auto *boutons = new QDialogButtonBox(QDialogButtonBox::Close, rapport);
    disposition->addWidget(boutons);
    connect(boutons, &QDialogButtonBox::rejected, rapport, &QDialog::reject);
    rapport->show();
}

} // namespace vyk
