#include "ui/campagnes/FrmCampagne.h"

#include "campagnes/ChoixCampagne.h"
#include "campagnes/ExportCampagne.h"
#include "db/Messages.h"
#include "search/Selections.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/Droits.h"
#include "ui/widgets/GrilleDonnees.h"
#include "ui/widgets/GrilleSaisie.h"
#include "users/Habilitations.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace vyk {

namespace {

// Columns of the station grid.
enum
{
    ColStation,
    ColDatePassage,
    ColIdentifiant,
    ColNom,
    ColReference
};

QHBoxLayout *rangee(std::initializer_list<QPushButton *> boutons)
{
    auto *r = new QHBoxLayout;
    for (QPushButton *b : boutons)
        r->addWidget(b);
    r->addStretch(1);
    return r;
}

} // namespace

FrmCampagne::FrmCampagne(QWidget *parent) : Fiche(parent)
{
    setObjectName(QStringLiteral("FrmCampagne"));
    setWindowTitle(texteCampagnes::TITRE);
    resize(1250, 760);
    SprCampagnes = new GrilleDonnees(this);
    CmdNouveau = new QPushButton(QStringLiteral("Nouvelle campagne"), this);
    CmdEnregistrer = new QPushButton(QStringLiteral("Enregistrer la campagne"), this);
    CmdSupprimer = new QPushButton(QStringLiteral("Supprimer la campagne"), this);
    CmdGenererDemande = new QPushButton(QStringLiteral("Générer la demande EDILABO"), this);
    CmdExporterCarte = new QPushButton(QStringLiteral("Exporter les stations"), this);
    for (QWidget *w : {static_cast<QWidget *>(CmdEnregistrer), static_cast<QWidget *>(CmdSupprimer),
                       static_cast<QWidget *>(CmdGenererDemande)})
        appliquerDroit(w, droit::QUALITO_DEMANDES);

    auto *onglets = new QTabWidget(this);
    onglets->addTab(creerFormulaire(), QStringLiteral("Campagne"));
    onglets->addTab(creerGrilles(), QStringLiteral("Stations et paramètres"));
    onglets->addTab(creerSuivi(), QStringLiteral("Suivi"));
    auto *droite = new QWidget(this);
    auto *dispositionDroite = new QVBoxLayout(droite);
    dispositionDroite->addLayout(
        rangee({CmdNouveau, CmdEnregistrer, CmdSupprimer, CmdGenererDemande, CmdExporterCarte}));
    dispositionDroite->addWidget(onglets, 1);
    // A splitter, as on the request screen: the list keeps a readable width at first, and the
    // whole screen still fits a laptop's work area (a fixed minimum pushed it past the edge).
    auto *partage = new QSplitter(this);
    SprCampagnes->setMinimumWidth(200);
    partage->addWidget(SprCampagnes);
    partage->addWidget(droite);
    partage->setStretchFactor(0, 2);
    partage->setStretchFactor(1, 3);
    partage->setSizes({400, 850});
    (new QVBoxLayout(this))->addWidget(partage);

    connect(SprCampagnes, &GrilleDonnees::ligneChoisie, this, &FrmCampagne::campagneChoisie);
    connect(CmdNouveau, &QPushButton::clicked, this, [this] {
        if (quitterModifications()) nouvelle();
    });
    connect(CmdEnregistrer, &QPushButton::clicked, this, &FrmCampagne::enregistrer);
    connect(CmdSupprimer, &QPushButton::clicked, this, &FrmCampagne::supprimer);
    connect(CmdGenererDemande, &QPushButton::clicked, this, &FrmCampagne::genererDemande);
    connect(CmdExporterCarte, &QPushButton::clicked, this, [this] { exporterCarte(); });
    definirColonnes();
    suivreChamps({TxtNom, TxtDateDebut, TxtDateFin, CboTypeCampagne, CboTypeDemande, TxtContexte,
                  CboLaboratoire, CboPreleveur, CboEmetteur, TxtContact, CboPayeur, CboSupport,
                  CboListeParametres, TxtReferenceMarche, TxtCommentaire, ChkBancarisation});
    suivreGrille(SprStations);
    suivreGrille(SprParametres);
    definirBoutonParDefaut(CmdEnregistrer);
    chargerCampagnes();
    nouvelle();
}

// Another campaign chosen in the list replaces the form: its edits are saved or dropped first,
// or the list goes back to the campaign shown.
void FrmCampagne::campagneChoisie(int ligne)
{
    if (ligne < 0 || ligne >= m_campagnes.size()) return;
    const QString code = m_campagnes[ligne].fiche.code;
    if (quitterModifications()) choisirCampagne(code);
    selectionnerCampagneAffichee();
}

void FrmCampagne::selectionnerCampagneAffichee()
{
    int ligne = -1;
    for (int l = 0; l < m_campagnes.size() && !TxtCode->text().isEmpty(); ++l)
        if (m_campagnes[l].fiche.code == TxtCode->text()) ligne = l;
    const QSignalBlocker bloqueur(SprCampagnes);
    SprCampagnes->selectionnerLigne(ligne);
}

QWidget *FrmCampagne::creerFormulaire()
{
    auto *page = new QWidget(this);
    TxtCode = new QLineEdit(page);
    TxtCode->setReadOnly(true);
    TxtNom = new QLineEdit(page);
    TxtDateDebut = new QLineEdit(page);
    TxtDateFin = new QLineEdit(page);
    for (QLineEdit *d : {TxtDateDebut, TxtDateFin})
        surveillerDate(d);
    TxtContexte = new QLineEdit(page);
    TxtReferenceMarche = new QLineEdit(page);
    TxtCommentaire = new QLineEdit(page);
    TxtContact = new QLineEdit(page);
    const EntreesCodees organisations = choixOrganisations();
    const auto combo = [page](const EntreesCodees &entrees) {
        auto *c = new ComboCodee(page);
        c->definirEntrees(entrees, ComboCodee::AvecVide);
        return c;
    };
    CboLaboratoire = combo(organisations);
    CboEmetteur = combo(organisations);
    CboPayeur = combo(organisations);
    CboPreleveur = combo(organisations);
    CboTypeDemande = combo(choixTypesDemande());
    CboSupport = combo(choixSupports());
    CboListeParametres = combo(choixListesParametres());
    CboTypeCampagne = new ComboCodee(page);
    CboTypeCampagne->definirEntrees(choixTypesCampagne());
    ChkBancarisation = new QCheckBox(QStringLiteral("Bancarisation autorisée"), page);
    auto *fiche = new QFormLayout(page);
    fiche->addRow(QStringLiteral("Code :"), TxtCode);
    fiche->addRow(QStringLiteral("Nom :"), TxtNom);
    fiche->addRow(QStringLiteral("Date de début :"), TxtDateDebut);
    fiche->addRow(QStringLiteral("Date de fin :"), TxtDateFin);
    fiche->addRow(QStringLiteral("Type de campagne :"), CboTypeCampagne);
    fiche->addRow(QStringLiteral("Type de demande :"), CboTypeDemande);
    fiche->addRow(QStringLiteral("Contexte de codification :"), TxtContexte);
    fiche->addRow(QStringLiteral("Laboratoire :"), CboLaboratoire);
    fiche->addRow(QStringLiteral("Préleveur :"), CboPreleveur);
    fiche->addRow(QStringLiteral("Emetteur :"), CboEmetteur);
    fiche->addRow(QStringLiteral("Contact :"), TxtContact);
    fiche->addRow(QStringLiteral("Payeur :"), CboPayeur);
    fiche->addRow(QStringLiteral("Support :"), CboSupport);
    fiche->addRow(QStringLiteral("Liste de paramètres :"), CboListeParametres);
    fiche->addRow(QStringLiteral("Référence du marché :"), TxtReferenceMarche);
    fiche->addRow(QStringLiteral("Commentaire :"), TxtCommentaire);
    fiche->addRow(QString(), ChkBancarisation);
    return page;
}

QWidget *FrmCampagne::creerGrilles()
{
    auto *page = new QWidget(this);
    SprStations = new GrilleSaisie(page);
    SprParametres = new GrilleSaisie(page);
    CmdAjouterStation = new QPushButton(QStringLiteral("Ajouter une station"), page);
    CmdRetirerStation = new QPushButton(QStringLiteral("Retirer la station"), page);
    CmdViderStations = new QPushButton(QStringLiteral("Vider les stations"), page);
    CmdAjouterParametre = new QPushButton(QStringLiteral("Ajouter un paramètre"), page);
    CmdRetirerParametre = new QPushButton(QStringLiteral("Retirer le paramètre"), page);
    CmdViderParametres = new QPushButton(QStringLiteral("Vider les paramètres"), page);
    auto *disposition = new QVBoxLayout(page);
    disposition->addWidget(SprStations, 1);
    disposition->addLayout(rangee({CmdAjouterStation, CmdRetirerStation, CmdViderStations}));
    disposition->addWidget(SprParametres, 1);
    disposition->addLayout(rangee({CmdAjouterParametre, CmdRetirerParametre, CmdViderParametres}));
    connect(CmdAjouterStation, &QPushButton::clicked, this,
            [this] { SprStations->selectionnerLigne(SprStations->ajouterLigne()); });
    connect(CmdRetirerStation, &QPushButton::clicked, this, [this] {
        if (const int l = SprStations->ligneCourante(); l >= 0) SprStations->retirerLigne(l);
    });
    connect(CmdViderStations, &QPushButton::clicked, this, &FrmCampagne::viderStations);
    connect(CmdAjouterParametre, &QPushButton::clicked, this,
            [this] { SprParametres->selectionnerLigne(SprParametres->ajouterLigne()); });
    connect(CmdRetirerParametre, &QPushButton::clicked, this, [this] {
        if (const int l = SprParametres->ligneCourante(); l >= 0) SprParametres->retirerLigne(l);
    });
    connect(CmdViderParametres, &QPushButton::clicked, this, &FrmCampagne::viderParametres);
    connect(SprStations, &GrilleSaisie::celluleModifiee, this, [this](int ligne, int colonne) {
        if (colonne == ColStation) completerStation(ligne);
    });
    return page;
}

void FrmCampagne::definirColonnes()
{
    SprStations->definirColonnes(
        {{QStringLiteral("Station"), NatureChamp::Code, choixStations()},
         {QStringLiteral("Date de passage"), NatureChamp::Date},
         {QStringLiteral("Identifiant"), NatureChamp::Texte, {}, true},
         {QStringLiteral("Nom"), NatureChamp::Texte, {}, true},
         {QStringLiteral("Référence labo"), NatureChamp::Texte, {}, true}});
    SprParametres->definirColonnes(
        {{QStringLiteral("Paramètre"), NatureChamp::Code, choixMembres(ListeParametres)},
         {QStringLiteral("Unité"), NatureChamp::Code, choixUnites()},
         {QStringLiteral("Lieu"), NatureChamp::Code, choixLieux()},
         {QStringLiteral("Fraction"), NatureChamp::Code, choixFractions()},
         {QStringLiteral("Support"), NatureChamp::Code, choixSupports()},
         {QStringLiteral("In situ"), NatureChamp::OuiNon}});
}

void FrmCampagne::chargerCampagnes()
{
    m_campagnes = listerCampagnes();
    QVector<QStringList> lignes;
    for (const LigneCampagne &l : std::as_const(m_campagnes)) {
        const FicheCampagne &f = l.fiche;
        // The stored columns between the dates and the campaign type, as the list query reads
        // them.
        lignes << QStringList{f.code,
                              f.libelle,
                              f.codePrestataire,
                              l.laboratoire,
                              f.dateDebut,
                              f.dateFin,
                              f.typeDemande,
                              f.contexteCodification,
                              f.referenceMarche,
                              f.commentaire,
                              f.codeIntervenant,
                              f.nomContact,
                              f.codePayeur,
                              f.codePreleveur,
                              f.codeSupport,
                              f.codeListeParametres,
                              f.typeCampagne,
                              libelleTypeCampagne(f.typeCampagne),
                              l.bancarisation()};
    }
    const QSignalBlocker bloqueur(SprCampagnes);
    SprCampagnes->remplir({QStringLiteral("ID"), QStringLiteral("Nom"), QStringLiteral("code Labo"),
                           QStringLiteral("Laboratoire"), QStringLiteral("Date Début"),
                           QStringLiteral("Date Fin"), QStringLiteral("typeDemande"),
                           QStringLiteral("contexteCodification"),
                           QStringLiteral("referenceMarche"), QStringLiteral("commentaire"),
                           QStringLiteral("codeIntervenant"), QStringLiteral("nomContact"),
                           QStringLiteral("codePayeur"), QStringLiteral("codePreleveur"),
                           QStringLiteral("codeSupport"), QStringLiteral("codeListeParametres"),
                           QStringLiteral("Type campagne"), QStringLiteral("Type de campagne"),
                           QStringLiteral("Bancarisation autorisée")},
                          lignes);
}

void FrmCampagne::remplirFiche(const FicheCampagne &f)
{
    TxtCode->setText(f.code);
    TxtNom->setText(f.libelle);
    TxtDateDebut->setText(f.dateDebut);
    TxtDateFin->setText(f.dateFin);
    TxtContexte->setText(f.contexteCodification);
    TxtReferenceMarche->setText(f.referenceMarche);
    TxtCommentaire->setText(f.commentaire);
    TxtContact->setText(f.nomContact);
    CboLaboratoire->selectionnerCode(f.codePrestataire);
    CboEmetteur->selectionnerCode(f.codeIntervenant);
    CboPayeur->selectionnerCode(f.codePayeur);
    CboPreleveur->selectionnerCode(f.codePreleveur);
    CboTypeDemande->selectionnerCode(f.typeDemande);
    CboSupport->selectionnerCode(f.codeSupport);
    CboListeParametres->selectionnerCode(f.codeListeParametres);
    CboTypeCampagne->selectionnerCode(f.typeCampagne);
    ChkBancarisation->setChecked(f.bancarisationAutorisee);
}

void FrmCampagne::remplirStations(const QVector<StationCampagne> &stations)
{
    QVector<QStringList> lignes;
    for (const StationCampagne &s : stations)
        lignes << QStringList{s.codeSite, s.datePassage, s.identifiant(), s.nom,
                              s.referenceInterne};
    SprStations->remplir(lignes);
}

void FrmCampagne::completerStation(int ligne)
{
    const QVector<StationCampagne> s = stationsCampagne({SprStations->texte(ligne, ColStation)},
                                                        CboLaboratoire->codeSelectionne());
    if (s.isEmpty()) return;
    SprStations->definirTexte(ligne, ColIdentifiant, s[0].identifiant());
    SprStations->definirTexte(ligne, ColNom, s[0].nom);
    SprStations->definirTexte(ligne, ColReference, s[0].referenceInterne);
}

void FrmCampagne::choisirCampagne(const QString &code)
{
    const std::optional<Campagne> c = code.isEmpty() ? std::nullopt : chargerCampagne(code);
    const Campagne vide;
    remplirFiche(c ? c->fiche : vide.fiche);
    remplirStations(c ? c->stations : QVector<StationCampagne>());
    QVector<QStringList> parametres;
    for (const ParametreCampagne &p : c ? c->parametres : QVector<ParametreCampagne>())
        parametres << QStringList{p.codeParametre, p.codeUnite,   p.codeLieu,
                                  p.codeFraction,  p.codeSupport, p.insitu};
    SprParametres->remplir(parametres);
    montrerSuivi({});
    marquerEnregistree();
    selectionnerCampagneAffichee();
}

Campagne FrmCampagne::campagne() const
{
    SprStations->validerSaisie();
    SprParametres->validerSaisie();
    Campagne c;
    FicheCampagne &f = c.fiche;
    f.code = TxtCode->text();
    f.libelle = TxtNom->text();
    f.dateDebut = TxtDateDebut->text();
    f.dateFin = TxtDateFin->text();
    f.contexteCodification = TxtContexte->text();
    f.referenceMarche = TxtReferenceMarche->text();
    f.commentaire = TxtCommentaire->text();
    f.nomContact = TxtContact->text();
    f.codePrestataire = CboLaboratoire->codeSelectionne();
    f.codeIntervenant = CboEmetteur->codeSelectionne();
    f.codePayeur = CboPayeur->codeSelectionne();
    f.codePreleveur = CboPreleveur->codeSelectionne();
    f.typeDemande = CboTypeDemande->codeSelectionne();
    f.codeSupport = CboSupport->codeSelectionne();
    f.codeListeParametres = CboListeParametres->codeSelectionne();
    f.typeCampagne = CboTypeCampagne->codeSelectionne();
    f.bancarisationAutorisee = ChkBancarisation->isChecked();
    QStringList codes;
    QStringList dates;
    for (const QStringList &l : SprStations->lignes())
        if (!l.value(ColStation).trimmed().isEmpty()) {
            codes << l.value(ColStation);
            dates << l.value(ColDatePassage);
        }
    c.stations = stationsCampagne(codes, f.codePrestataire);
    for (int i = 0; i < c.stations.size(); ++i)
        c.stations[i].datePassage = dates[i];
    for (const QStringList &l : SprParametres->lignes())
        c.parametres.append(
            {l.value(0), l.value(1), l.value(2), l.value(3), l.value(4), l.value(5)});
    return c;
}

bool FrmCampagne::enregistrer()
{
    Campagne c = campagne();
    if (!montrer(enregistrerCampagne(c))) return false;
    chargerCampagnes();
    choisirCampagne(c.fiche.code);
    return true;
}

void FrmCampagne::supprimer()
{
    if (TxtCode->text().isEmpty()) return;
    if (!montrer(supprimerCampagne(TxtCode->text(), TxtNom->text()))) return;
    chargerCampagnes();
    nouvelle();
}

void FrmCampagne::viderStations()
{
    if (confirmerParMessage(texteCampagnes::VIDER_STATIONS)) SprStations->remplir({});
}

void FrmCampagne::viderParametres()
{
    if (confirmerParMessage(texteCampagnes::VIDER_PARAMETRES)) SprParametres->remplir({});
}

void FrmCampagne::genererDemande()
{
    const QString code = TxtCode->text();
    if (code.isEmpty()) {
        afficherMessage(GENRE_AIDE, texteCampagnes::ENREGISTRER_AVANT_DEMANDE);
        return;
    }
    if (demandeExistePourCampagne(code) && !confirmerParMessage(texteCampagnes::DEMANDE_EXISTE))
        return;
    if (ouvrirDemande) ouvrirDemande(code);
}

void FrmCampagne::exporterCarte(const QString &chemin)
{
    const Campagne c = campagne();
    QString fichier = chemin;
    if (fichier.isEmpty()) {
        // Refused before asking for a file when there is nothing to place.
        if (c.fiche.code.isEmpty() || c.stations.isEmpty() || stationsWgs84(c).isEmpty()) {
            QString refus;
            exporterStationsCarte(c, {}, &refus);
            afficherMessage(GENRE_ERREUR, refus);
            return;
        }
        fichier = QFileDialog::getSaveFileName(this, QStringLiteral("Exporter les stations"),
                                               TxtNom->text() + QStringLiteral(".kml"),
                                               QStringLiteral("Carte (*.kml)"));
        if (fichier.isEmpty()) return;
    }
    QString erreur;
    if (!exporterStationsCarte(c, fichier, &erreur)) {
        afficherMessage(GENRE_ERREUR, erreur);
        return;
    }
    if (chemin.isEmpty()) QDesktopServices::openUrl(QUrl::fromLocalFile(fichier));
}

} // namespace vyk
