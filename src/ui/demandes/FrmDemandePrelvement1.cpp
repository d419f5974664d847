#include "ui/demandes/FrmDemandePrelvement1.h"

#include "app/Registre.h"
#include "app/Reglages.h"
#include "demandes/MessageComLabo.h"
#include "search/Selections.h"
#include "ui/widgets/ChampsFormulaire.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/Droits.h"
#include "ui/widgets/Fiche.h"
#include "ui/widgets/Formulaire.h"
#include "ui/widgets/GrilleDonnees.h"
#include "ui/widgets/GrilleSaisie.h"
#include "users/Habilitations.h"

#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vyk {

namespace {

const QStringList ENTETES_DEMANDES = {"N°",  "Nom",         "Date", "Début",
                                      "Fin", "Laboratoire", "Type", "Campagne"};

EntreesCodees entreesChamp(const ChampDecrit &c)
{
    if (c.liste.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive))
        return entreesRequete(c.liste);
    return entreesListe(c.liste);
}

OptionsChamp optionsChamp(const ChampDecrit &c)
{
    OptionsChamp options;
    if (c.nature == NatureChamp::Code)
        options.entrees =
            c.colonne == QLatin1String("typeDemande") ? typesDemande() : entreesChamp(c);
    return options;
}

QPushButton *bouton(const QString &texte, QWidget *parent)
{
    auto *b = new QPushButton(texte, parent);
    appliquerDroit(b, droit::QUALITO_DEMANDES);
    return b;
}

} // namespace

FrmDemandePrelvement1::FrmDemandePrelvement1(QWidget *parent)
    : Fiche(parent), m_messagerie(std::make_unique<MessagerieBureau>())
{
    setObjectName(QStringLiteral("FrmDemandePrelvement1"));
    setWindowTitle(QStringLiteral("Demandes de prélèvements"));
    resize(1200, 760);
    SprDemandes = new GrilleDonnees(this);
    CmdNouveau = bouton(QStringLiteral("Nouvelle demande"), this);
    CboCampagne = new ComboCodee(this);
    CmdCampagne = bouton(QStringLiteral("Initialiser depuis la campagne"), this);
    CmdEnregistrer = bouton(QStringLiteral("Enregistrer"), this);
    CmdSupprimer = bouton(QStringLiteral("Supprimer"), this);
    CmdDupliquer = bouton(QStringLiteral("Dupliquer la demande"), this);
    CmdGenerer = bouton(QStringLiteral("Générer la demande EDILABO"), this);
    SprHistorique = new GrilleDonnees(this);

    auto *onglets = new QTabWidget(this);
    onglets->addTab(formulaireDefilant(creerFormulaire(), onglets), QStringLiteral("Demande"));
    onglets->addTab(creerStations(), QStringLiteral("Stations"));
    onglets->addTab(creerParametres(), QStringLiteral("Paramètres"));
    onglets->addTab(SprHistorique, QStringLiteral("Historique"));

    auto *commandes = new QHBoxLayout;
    for (QWidget *w :
         std::initializer_list<QWidget *>{CmdNouveau, CboCampagne, CmdCampagne, CmdEnregistrer,
                                          CmdSupprimer, CmdDupliquer, CmdGenerer})
        commandes->addWidget(w);
    commandes->addStretch(1);
    auto *droite = new QWidget(this);
    auto *dispositionDroite = new QVBoxLayout(droite);
    dispositionDroite->addLayout(commandes);
    dispositionDroite->addWidget(onglets, 1);
    auto *partage = new QSplitter(this);
    partage->addWidget(SprDemandes);
    partage->addWidget(droite);
    partage->setStretchFactor(1, 2);
    (new QVBoxLayout(this))->addWidget(partage);

    connect(SprDemandes, &GrilleDonnees::ligneChoisie, this,
            &FrmDemandePrelvement1::demandeChoisie);
    connect(CmdNouveau, &QPushButton::clicked, this, [this] {
        if (quitterModifications()) nouvelle();
    });
    connect(CmdCampagne, &QPushButton::clicked, this,
            &FrmDemandePrelvement1::initialiserDepuisCampagne);
    connect(CmdEnregistrer, &QPushButton::clicked, this, &FrmDemandePrelvement1::enregistrer);
    connect(CmdSupprimer, &QPushButton::clicked, this, &FrmDemandePrelvement1::supprimer);
    connect(CmdDupliquer, &QPushButton::clicked, this, &FrmDemandePrelvement1::dupliquer);
    connect(CmdGenerer, &QPushButton::clicked, this, &FrmDemandePrelvement1::generer);
    CboCampagne->definirEntrees(campagnesProposees(), ComboCodee::AvecVide);
    nommerControles({{SprDemandes, "SprDemandes"},
                     {CboStation, "CboStation"},
                     {SprStations, "SprStations"},
                     {SprParametres, "SprParametres"},
                     {CboLieux, "CboLieux"},
                     {CboFractions, "CboFractions"},
                     {CboSupports, "CboSupports"},
                     {CboCampagne, "CboCampagne"},
                     {SprHistorique, "SprHistorique"},
                     {CmdNouveau, "CmdNouveau"},
                     {CmdCampagne, "CmdCampagne"},
                     {CmdEnregistrer, "CmdEnregistrer"},
                     {CmdSupprimer, "CmdSupprimer"},
                     {CmdDupliquer, "CmdDupliquer"},
                     {CmdGenerer, "CmdGenerer"},
                     {CmdAjouterStation, "CmdAjouterStation"},
                     {CmdRetirerStation, "CmdRetirerStation"},
                     {CmdInsererParametre, "CmdInsererParametre"},
                     {CmdRetirerParametre, "CmdRetirerParametre"},
                     {CmdChargerListe, "CmdChargerListe"},
                     {CmdModifierLieux, "CmdModifierLieux"},
                     {CmdModifierFractions, "CmdModifierFractions"},
                     {CmdModifierSupports, "CmdModifierSupports"}});
    suivreChamps(m_formulaire.ordre());
    suivreGrille(SprStations);
    suivreGrille(SprParametres);
    definirBoutonParDefaut(CmdEnregistrer);
    chargerDemandes();
    nouvelle();
}

QWidget *FrmDemandePrelvement1::creerFormulaire()
{
    auto *formulaire = new QWidget(this);
    DispositionFormulaire disposition(formulaire);
    const ChampsDecrits &descriptions = champsDemande();
    for (int i = 0; i < descriptions.size(); ++i)
        champs.insert(
            i, m_formulaire.ajouter(disposition, descriptions[i], optionsChamp(descriptions[i])));
    // The campaign is set by the initialisation, not typed.
    champs[DemCampagne]->setEnabled(false);
    disposition.terminer();
    return formulaire;
}

QWidget *FrmDemandePrelvement1::creerStations()
{
    auto *page = new QWidget(this);
    CboStation = new ComboCodee(page);
    CboStation->definirEntrees(stationsProposees(), ComboCodee::AvecVide);
    CmdAjouterStation = bouton(QStringLiteral("Ajouter la station"), page);
    CmdRetirerStation = bouton(QStringLiteral("Retirer la station"), page);
    SprStations = new GrilleDonnees(page);
    auto *ligne = new QHBoxLayout;
    ligne->addWidget(CboStation, 1);
    ligne->addWidget(CmdAjouterStation);
    ligne->addWidget(CmdRetirerStation);
    auto *disposition = new QVBoxLayout(page);
    disposition->addLayout(ligne);
    disposition->addWidget(SprStations, 1);
    connect(CmdAjouterStation, &QPushButton::clicked, this, &FrmDemandePrelvement1::ajouterStation);
    connect(CmdRetirerStation, &QPushButton::clicked, this, [this] {
        const int l = SprStations->ligneCourante();
        if (l < 0 || l >= m_stations.size()) return;
        m_stations.remove(l);
        afficherStations(m_stations);
    });
    return page;
}

QWidget *FrmDemandePrelvement1::creerParametres()
{
    auto *page = new QWidget(this);
    SprParametres = new GrilleSaisie(page);
    QVector<ColonneSaisie> colonnes;
    for (const ChampDecrit &c : champsParametresDemande())
        colonnes.append({c.libelle, c.nature,
                         c.nature == NatureChamp::Code ? entreesChamp(c) : EntreesCodees(), false});
    SprParametres->definirColonnes(colonnes);
    CmdInsererParametre = bouton(QStringLiteral("Insérer un paramètre"), page);
    CmdRetirerParametre = bouton(QStringLiteral("Retirer le paramètre"), page);
    CmdChargerListe = bouton(QStringLiteral("Ajouter les paramètres de la liste"), page);
    auto *lignes = new QHBoxLayout;
    for (QPushButton *b : {CmdInsererParametre, CmdRetirerParametre, CmdChargerListe})
        lignes->addWidget(b);
    lignes->addStretch(1);
    auto *masse = new QHBoxLayout;
    const auto ajouterMasse = [&](ComboCodee *&choix, QPushButton *&commande, int colonne,
                                  const QString &texte) {
        choix = new ComboCodee(page);
        choix->definirEntrees(colonnes[colonne].entrees, ComboCodee::AvecVide);
        commande = bouton(texte, page);
        masse->addWidget(choix, 1);
        masse->addWidget(commande);
        connect(commande, &QPushButton::clicked, this,
                [this, colonne, choix] { modifierColonne(ColonneParametre(colonne), choix); });
    };
    ajouterMasse(CboLieux, CmdModifierLieux, ParLieu, QStringLiteral("Modifier les lieux"));
    ajouterMasse(CboFractions, CmdModifierFractions, ParFraction,
                 QStringLiteral("Modifier les fractions"));
    ajouterMasse(CboSupports, CmdModifierSupports, ParSupport,
                 QStringLiteral("Modifier les supports"));
    auto *disposition = new QVBoxLayout(page);
    disposition->addLayout(lignes);
    disposition->addWidget(SprParametres, 1);
    disposition->addLayout(masse);
    connect(CmdInsererParametre, &QPushButton::clicked, this,
            [this] { SprParametres->selectionnerLigne(SprParametres->ajouterLigne()); });
    connect(CmdRetirerParametre, &QPushButton::clicked, this, [this] {
        if (const int l = SprParametres->ligneCourante(); l >= 0) SprParametres->retirerLigne(l);
    });
    connect(CmdChargerListe, &QPushButton::clicked, this, &FrmDemandePrelvement1::chargerListe);
    return page;
}

FicheDemande FrmDemandePrelvement1::fiche() const
{
    FicheDemande f;
    f.code = m_code;
    const ChampsDecrits &descriptions = champsDemande();
    for (int i = 0; i < descriptions.size(); ++i)
        f.definir(ChampDemande(i), m_formulaire.valeur(descriptions[i].colonne));
    f.stations = m_stations;
    SprParametres->validerSaisie();
    f.parametres = SprParametres->lignes();
    return f;
}

void FrmDemandePrelvement1::afficher(const FicheDemande &f)
{
    m_code = f.code;
    const ChampsDecrits &descriptions = champsDemande();
    for (int i = 0; i < descriptions.size(); ++i)
        m_formulaire.afficher(descriptions[i].colonne, f.textes.value(i));
    afficherStations(f.stations);
    SprParametres->remplir(f.parametres);
    afficherHistorique();
}

void FrmDemandePrelvement1::afficherStations(const QVector<int> &stations)
{
    m_stations = stations;
    QVector<QStringList> lignes;
    for (const StationDemande &s : stationsDemande(stations))
        lignes.append({QString::number(s.code), s.identifiant, s.nom});
    SprStations->remplir(
        {QStringLiteral("Code"), QStringLiteral("Identifiant"), QStringLiteral("Station")}, lignes);
}

void FrmDemandePrelvement1::afficherHistorique()
{
    QVector<QStringList> lignes;
    if (m_code > 0)
        for (const LigneHistorique &h : historiqueDemande(m_code))
            lignes.append({h.fichier, h.date, h.heure});
    SprHistorique->remplir(
        {QStringLiteral("Fichier"), QStringLiteral("Date"), QStringLiteral("Heure")}, lignes);
}

void FrmDemandePrelvement1::chargerDemandes()
{
    QVector<QStringList> lignes;
    for (const LigneListeDemande &d : listeDemandes())
        lignes.append({QString::number(d.code), d.libelle, d.dateDemande, d.debut, d.fin,
                       d.laboratoire, d.typeDemande, d.campagne});
    const QSignalBlocker bloqueur(SprDemandes);
    SprDemandes->remplir(ENTETES_DEMANDES, lignes);
}

// Another request chosen in the list replaces the form: its edits are saved or dropped first,
// or the list goes back to the request shown.
void FrmDemandePrelvement1::demandeChoisie(int ligne)
{
    if (ligne < 0) return;
    const int code = SprDemandes->texte(ligne, 0).toInt();
    if (quitterModifications()) ouvrir(code);
    selectionnerDemandeAffichee();
}

void FrmDemandePrelvement1::selectionnerDemandeAffichee()
{
    int ligne = -1;
    for (int l = 0; l < SprDemandes->nbLignes() && m_code > 0; ++l)
        if (SprDemandes->texte(l, 0).toInt() == m_code) ligne = l;
    const QSignalBlocker bloqueur(SprDemandes);
    SprDemandes->selectionnerLigne(ligne);
}

bool FrmDemandePrelvement1::ouvrir(int code)
{
    FicheDemande f;
    if (!lireDemande(code, f)) return false;
    afficher(f);
    marquerEnregistree();
    return true;
}

void FrmDemandePrelvement1::nouvelle()
{
    afficher(nouvelleDemande());
    marquerEnregistree();
    selectionnerDemandeAffichee();
}

bool FrmDemandePrelvement1::ouvrirDepuisCampagne(int codeCampagne)
{
    if (!quitterModifications()) return false;
    const InitialisationCampagne init = demandeDepuisCampagne(codeCampagne);
    if (!init.trouvee) {
        afficherMessage(GENRE_ERREUR, texteDemandes::CAMPAGNE_INCONNUE.arg(codeCampagne));
        return false;
    }
    afficher(init.fiche);
    marquerNonEnregistree();
    selectionnerDemandeAffichee();
    if (!init.sansCode.isEmpty()) afficherMessage(GENRE_INFO, init.message());
    return true;
}

void FrmDemandePrelvement1::initialiserDepuisCampagne()
{
    const QString code = CboCampagne->codeSelectionne();
    if (!code.isEmpty()) ouvrirDepuisCampagne(code.toInt());
}

bool FrmDemandePrelvement1::enregistrerSansMessage()
{
    FicheDemande f = fiche();
    const CompteRendu r = enregistrerDemande(f);
    if (!r.ok) {
        montrer(r);
        return false;
    }
    m_code = f.code;
    chargerDemandes();
    afficherHistorique();
    marquerEnregistree();
    selectionnerDemandeAffichee();
    return true;
}

bool FrmDemandePrelvement1::enregistrer()
{
    if (!enregistrerSansMessage()) return false;
    afficherMessage(GENRE_AIDE, texteDemandes::ENREGISTREE);
    return true;
}

void FrmDemandePrelvement1::supprimer()
{
    if (m_code <= 0) return;
    if (!montrer(supprimerDemande(m_code))) return;
    chargerDemandes();
    nouvelle();
}

void FrmDemandePrelvement1::dupliquer()
{
    // The copy takes the form as it is, edits included; it is stored only when saved.
    afficher(dupliquerDemande(fiche()));
    marquerNonEnregistree();
    selectionnerDemandeAffichee();
}

void FrmDemandePrelvement1::generer()
{
    // The message is made from the stored request, whose history it extends.
    const FicheDemande avant = fiche();
    if (const QString m = verifierGeneration(avant); !m.isEmpty()) {
        afficherMessage(GENRE_ERREUR, m);
        return;
    }
    if (!enregistrerSansMessage()) return;
    OptionsComLabo options = optionsComLaboReglages();
    if (!m_dossier.isEmpty()) options.dossier = m_dossier;
    if (options.dossier.isEmpty()) {
        options.dossier = QFileDialog::getExistingDirectory(
            this, QStringLiteral("Répertoire des demandes EDILABO"));
        if (options.dossier.isEmpty()) return;
        ecrireRegistre(reglage::RepertoireDemandesXML, options.dossier);
    }
    const FicheDemande f = fiche();
    const ResultatComLabo r = genererComLabo(f, options);
    afficherHistorique();
    montrer(envoyerComLabo(r, f, *m_messagerie));
}

void FrmDemandePrelvement1::ajouterStation()
{
    const QString code = CboStation->codeSelectionne();
    if (code.isEmpty() || m_stations.contains(code.toInt())) return;
    m_stations << code.toInt();
    afficherStations(m_stations);
}

void FrmDemandePrelvement1::chargerListe()
{
    const QString liste = valeurChamp(champs[DemListeParametres]);
    if (liste.isEmpty()) return;
    QVector<QStringList> lignes = SprParametres->lignes();
    for (const MembreSelection &m :
         membresSelections(codesAvecSousListes(liste, ListeParametres), ListeParametres)) {
        QStringList l(NB_COLONNES_PARAMETRE, QString());
        l[ParParametre] = m.codeParametre;
        l[ParUnite] = m.codeUnite;
        l[ParSupport] = valeurChamp(champs[DemSupport]);
        l[ParInsitu] = QStringLiteral("0");
        lignes << l;
    }
    SprParametres->remplir(lignes);
}

void FrmDemandePrelvement1::modifierColonne(ColonneParametre colonne, const ComboCodee *choix)
{
    QVector<QStringList> lignes = SprParametres->lignes();
    modifierParametres(lignes, colonne, choix->codeSelectionne());
    SprParametres->remplir(lignes);
}

void FrmDemandePrelvement1::definirMessagerie(std::unique_ptr<Messagerie> messagerie)
{
    m_messagerie = std::move(messagerie);
}

} // namespace vyk
