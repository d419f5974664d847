#include "ui/monitoring/FicheOperations.h"

#include "monitoring/PointsPrelevement.h"
#include "monitoring/Qualitometre.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/Droits.h"
#include "ui/widgets/Ecran.h"
#include "ui/widgets/Formulaire.h"
#include "ui/widgets/GrilleDonnees.h"
#include "ui/widgets/GrilleSaisie.h"
#include "users/Habilitations.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vyk {

FicheOperations::FicheOperations(qint64 station, qint64 codePoint, QWidget *parent)
    : Fiche(parent), m_station(station)
{
    setObjectName(QStringLiteral("FicheOperations_") + QString::number(station));
    const auto s = trouverQualitometre(station);
    const QString code = s ? codeAffiche(s->codeBSS, s->designation) : QString::number(station);
    setWindowTitle(QStringLiteral("Opérations - ") + code);
    resize(1150, 780);

    LblStation =
        new QLabel(QStringLiteral("<b>") +
                       (code + (s ? QStringLiteral(" - ") + s->nom : QString())).toHtmlEscaped() +
                       QStringLiteral("</b>"),
                   this);
    CboPoint = new ComboCodee(this);
    CboPoint->setMinimumContentsLength(24);
    EntreesCodees points;
    for (const FichePoint &p : chargerPoints(station)) {
        m_identifiants.insert(p.codePoint, p.identifiant);
        points.append(
            {p.codePoint,
             p.identifiant + (p.nom.isEmpty() ? QString() : QStringLiteral(" - ") + p.nom) +
                 (p.dateDebut.isEmpty() ? QString() : QStringLiteral(" (") + p.dateDebut + u')'),
             0});
    }
    CboPoint->definirEntrees(points, ComboCodee::AvecTous);
    if (codePoint >= 0) CboPoint->selectionnerCode(QString::number(codePoint));

    CmdNouveau = new QPushButton(QStringLiteral("Nouvelle opération"), this);
    CmdEnregistrer = new QPushButton(QStringLiteral("Enregistrer l'opération"), this);
    CmdSupprimer = new QPushButton(QStringLiteral("Supprimer l'opération"), this);
    appliquerDroit(CmdNouveau, droit::QUALITO_FICHE_MODIF);
    appliquerDroit(CmdEnregistrer, droit::QUALITO_FICHE_MODIF);
    appliquerDroit(CmdSupprimer, droit::QUALITO_FICHE_SUPPR);
    CmdPrelevement = new QPushButton(QStringLiteral("Prélèvement physico-chimique"), this);
    appliquerDroit(CmdPrelevement, droit::QUALITO_DATA_CONSULT);
    auto *barre = new QHBoxLayout;
    barre->addWidget(LblStation);
    barre->addSpacing(16);
    barre->addWidget(new QLabel(QStringLiteral("Site :"), this));
    barre->addWidget(CboPoint);
    barre->addStretch(1);
    for (QPushButton *b : {CmdPrelevement, CmdNouveau, CmdEnregistrer, CmdSupprimer})
        barre->addWidget(b);
    construireCommandeIbgn(barre);

    auto *separation = new QSplitter(Qt::Vertical, this);
    SprOperations = new GrilleDonnees(separation);
    Onglets = new QTabWidget(separation);
    separation->setStretchFactor(0, 1);
    separation->setStretchFactor(1, 3);
    auto *zone = new QScrollArea(Onglets);
    auto *formulaire = new QWidget(zone);
    construireFormulaire(formulaire);
    zone->setWidget(formulaire);
    zone->setWidgetResizable(true);
    Onglets->addTab(zone, QStringLiteral("Opération"));
    construireGrilles();

    auto *principal = new QVBoxLayout(this);
    principal->addLayout(barre);
    principal->addLayout(construireCommandesIndices());
    principal->addWidget(separation, 1);
    nommerControles({{LblStation, "LblStation"},
                     {CboPoint, "CboPoint"},
                     {SprOperations, "SprOperations"},
                     {Onglets, "Onglets"},
                     {CmdNouveau, "CmdNouveau"},
                     {CmdEnregistrer, "CmdEnregistrer"},
                     {CmdSupprimer, "CmdSupprimer"},
                     {CmdPrelevement, "CmdPrelevement"},
                     {CmdCalculIBGN, "CmdCalculIBGN"},
                     {SprRecouvrements, "SprRecouvrements"},
                     {SprUnites, "SprUnites"},
                     {SprTaxons, "SprTaxons"},
                     {TxtCommentaireResultat, "TxtCommentaireResultat"},
                     {CboListe, "CboListe"},
                     {TxtNomListe, "TxtNomListe"},
                     {TxtCommentaireListe, "TxtCommentaireListe"},
                     {ChkMicroPrelevement, "ChkMicroPrelevement"}});

    m_pointFiltre = CboPoint->codeSelectionne();
    connect(CboPoint, &ComboCodee::codeChange, this, &FicheOperations::pointChoisi);
    connect(SprOperations, &GrilleDonnees::ligneChoisie, this, &FicheOperations::ligneChoisie);
    connect(CmdNouveau, &QPushButton::clicked, this, [this] {
        if (quitterModifications()) nouvelle();
    });
    definirBoutonParDefaut(CmdEnregistrer);
    connect(CmdEnregistrer, &QPushButton::clicked, this, &FicheOperations::enregistrer);
    connect(CmdSupprimer, &QPushButton::clicked, this, &FicheOperations::supprimer);
    connect(CmdPrelevement, &QPushButton::clicked, this, [this] {
        if (!m_operation.estNouvelle()) emit prelevementDemande(m_station, m_operation.code);
    });
    chargerListe();
}

// Another point or operation replaces the form: its edits are saved or dropped first, or the
// filter and the list go back to the operation shown.
void FicheOperations::pointChoisi()
{
    if (!quitterModifications()) {
        const QSignalBlocker bloque(CboPoint);
        CboPoint->selectionnerCode(m_pointFiltre);
        return;
    }
    m_pointFiltre = CboPoint->codeSelectionne();
    chargerListe(m_operation.code);
}

void FicheOperations::ligneChoisie(int ligne)
{
    if (m_retourLigne || ligne < 0) return;
    const QString code = SprOperations->texte(ligne, 0);
    const bool quitte = quitterModifications();
    if (quitte) afficherOperation(code);
    // Back on the operation shown; after a save, the list read again.
    m_retourLigne = true;
    SprOperations->selectionnerLigne(ligneOperation(m_operation.code));
    m_retourLigne = false;
}

int FicheOperations::ligneOperation(const QString &code) const
{
    for (int l = 0; l < SprOperations->nbLignes(); ++l)
        if (!code.isEmpty() && SprOperations->texte(l, 0) == code) return l;
    return -1;
}

void FicheOperations::construireFormulaire(QWidget *page)
{
    DispositionFormulaire disposition(page);
    // The memos close the form, under the other fields.
    for (const bool memos : {false, true})
        for (const ChampOperation &c : champsOperation()) {
            if (!c.dansListe || (c.genre == NatureChamp::Memo) != memos) continue;
            OptionsChamp options;
            if (c.genre == NatureChamp::Code)
                options = {entreesChampOperation(c, m_station), false, 24};
            m_formulaire.ajouter(disposition, champDecrit(c), options);
        }
    disposition.terminer();
    suivreChamps(m_formulaire.ordre());
    // The point of the operation decides the survey units and the taxa columns.
    if (auto *c = qobject_cast<ComboCodee *>(champ(QStringLiteral("codePoint"))))
        connect(c, &ComboCodee::codeChange, this, [this] {
            if (m_ongletUnites)
                Onglets->setTabEnabled(Onglets->indexOf(m_ongletUnites),
                                       identifiantPoint() == QLatin1String("271"));
        });
}

QString FicheOperations::valeurChamp(const QString &colonne) const
{
    return m_formulaire.valeur(colonne);
}

void FicheOperations::chargerListe(const QString &aSelectionner)
{
    ListeOperations liste;
    const QString point = CboPoint->codeSelectionne();
    liste.charger(m_station, point == CODE_TOUS || point.isEmpty() ? -1 : point.toLongLong());
    SprOperations->remplir(liste.grille().entetes, liste.grille().lignes);
    const int l = aSelectionner.isEmpty() ? -1 : liste.ligne(aSelectionner);
    if (l >= 0)
        SprOperations->selectionnerLigne(l);
    else if (!aSelectionner.isEmpty() && liste.grille().nbLignes() > 0)
        SprOperations->selectionnerLigne(0);
    else
        nouvelle();
}

void FicheOperations::nouvelle()
{
    SprOperations->selectionnerLigne(-1);
    const QString point = CboPoint->codeSelectionne();
    afficherFormulaire(nouvelleOperation(
        m_station, point == CODE_TOUS || point.isEmpty() ? -1 : point.toLongLong()));
}

void FicheOperations::afficherOperation(const QString &code)
{
    afficherFormulaire(chargerOperation(m_station, code));
}

void FicheOperations::afficherFormulaire(const FicheOperation &f)
{
    m_operation = f;
    for (const ChampOperation &c : champsOperation())
        if (c.dansListe) m_formulaire.afficher(c.colonne, f.valeur(c.colonne));
    TxtCommentaireResultat->setPlainText(f.valeur(QStringLiteral("commentaireResultat")));
    CmdSupprimer->setEnabled(!f.estNouvelle());
    CmdPrelevement->setEnabled(!f.estNouvelle());
    if (m_ongletUnites)
        Onglets->setTabEnabled(Onglets->indexOf(m_ongletUnites),
                               identifiantPoint() == QLatin1String("271"));
    chargerGrilles();
    marquerEnregistree();
}

QString FicheOperations::identifiantPoint() const
{
    return m_identifiants.value(valeurChamp(QStringLiteral("codePoint")));
}

FicheOperation FicheOperations::operationFormulaire() const
{
    FicheOperation f = m_operation;
    f.station = m_station;
    for (const ChampOperation &c : champsOperation())
        if (c.dansListe) f.valeurs.insert(c.colonne, valeurChamp(c.colonne));
    return f;
}

bool FicheOperations::enregistrer()
{
    FicheOperation f = operationFormulaire();
    if (refuser(verifierOperation(f)) || !montrer(enregistrerOperation(f))) return false;
    m_operation = f;
    marquerEnregistree();
    chargerListe(f.code);
    return true;
}

bool FicheOperations::supprimer()
{
    if (!montrer(supprimerOperation(m_station, m_operation.code))) return false;
    marquerEnregistree();
    chargerListe();
    return true;
}

} // namespace vyk
