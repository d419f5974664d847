#include "ui/monitoring/FicheOperations.h"

#include "monitoring/PointsPrelevement.h"
#include "monitoring/Qualitometre.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/Droits.h"
#include "ui/widgets/Formulaire.h"
#include "ui/widgets/GrilleDonnees.h"
#include "ui/widgets/GrilleSaisie.h"
#include "users/Habilitations.h"

#include <QCheckBox>
#include <QGridLayout>
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
    : QWidget(parent), m_station(station)
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
    for (QPushButton *b : {CmdNouveau, CmdEnregistrer, CmdSupprimer})
        appliquerDroit(b, droit::QUALITO_DATA_MODIF);
    auto *barre = new QHBoxLayout;
    barre->addWidget(LblStation);
    barre->addSpacing(16);
    barre->addWidget(new QLabel(QStringLiteral("Site :"), this));
    barre->addWidget(CboPoint);
    barre->addStretch(1);
    for (QPushButton *b : {CmdNouveau, CmdEnregistrer, CmdSupprimer})
        barre->addWidget(b);

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
    principal->addWidget(separation, 1);

    connect(CboPoint, &ComboCodee::codeChange, this, [this] { chargerListe(m_operation.code); });
    connect(SprOperations, &GrilleDonnees::ligneChoisie, this, [this](int l) {
        if (l >= 0) afficherOperation(SprOperations->texte(l, 0));
    });
    connect(CmdNouveau, &QPushButton::clicked, this, &FicheOperations::nouvelle);
    connect(CmdEnregistrer, &QPushButton::clicked, this, &FicheOperations::enregistrer);
    connect(CmdSupprimer, &QPushButton::clicked, this, &FicheOperations::supprimer);
    chargerListe();
}

FicheOperations::~FicheOperations()
{
    CboPoint->disconnect(this);
    SprOperations->disconnect(this);
    if (auto *c = qobject_cast<ComboCodee *>(m_champs.value(QStringLiteral("codePoint"))))
        c->disconnect(this);
    if (CboListe) CboListe->disconnect(this);
}

void FicheOperations::construireFormulaire(QWidget *page)
{
    auto *g = new QGridLayout(page);
    int ligne = 0, colonne = 0, ligneMemo = 100;
    for (const ChampOperation &c : champsOperation()) {
        if (!c.dansListe) continue;
        QWidget *w = nullptr;
        switch (c.genre) {
        case NatureChamp::Memo:
            w = nouveauMemo(page);
            break;
        case NatureChamp::Code: {
            auto *choix = new ComboCodee(page);
            choix->setMinimumContentsLength(24);
            choix->definirEntrees(entreesChampOperation(c, m_station), ComboCodee::AvecVide);
            w = choix;
            break;
        }
        case NatureChamp::OuiNon:
            w = new QCheckBox(page);
            break;
        default:
            w = nouvelleLigneTexte(page, 0,
                                   c.genre == NatureChamp::Date    ? QStringLiteral("JJ/MM/AAAA")
                                   : c.genre == NatureChamp::Heure ? QStringLiteral("hh:mm")
                                                                  : QString());
            break;
        }
        w->setObjectName(c.colonne);
        m_champs.insert(c.colonne, w);
        auto *etiquette = new QLabel(c.titre + QStringLiteral(" :"), page);
        etiquette->setBuddy(w);
        if (c.genre == NatureChamp::Memo) {
            g->addWidget(etiquette, ligneMemo, 0, Qt::AlignTop);
            g->addWidget(w, ligneMemo++, 1, 1, 3);
            continue;
        }
        g->addWidget(etiquette, ligne, colonne * 2);
        g->addWidget(w, ligne, colonne * 2 + 1);
        if (++colonne == 2) {
            colonne = 0;
            ++ligne;
        }
    }
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    g->setRowStretch(ligneMemo, 1);
    // The point of the operation decides the survey units and the taxa columns.
    if (auto *c = qobject_cast<ComboCodee *>(m_champs.value(QStringLiteral("codePoint"))))
        connect(c, &ComboCodee::codeChange, this, [this] {
            if (m_ongletUnites)
                Onglets->setTabEnabled(Onglets->indexOf(m_ongletUnites),
                                       identifiantPoint() == QLatin1String("271"));
        });
}

QString FicheOperations::valeurChamp(const QString &colonne) const
{
    return vyk::valeurChamp(m_champs.value(colonne));
}

void FicheOperations::definirChamp(const QString &colonne, const QString &valeur)
{
    QWidget *w = m_champs.value(colonne);
    if (auto *c = qobject_cast<ComboCodee *>(w)) {
        // A code the list does not know stays visible rather than lost on the next save.
        if (!c->selectionnerCode(valeur) && !valeur.isEmpty()) {
            EntreesCodees e;
            for (int i = 0; i < c->count(); ++i)
                if (!c->texteEntree(i).isEmpty())
                    e.append({codeEntree(c->texteEntree(i)),
                              libelleEntree(c->texteEntree(i)).trimmed(), 0});
            e.append({valeur, valeur, 0});
            const QSignalBlocker silence(c);
            c->definirEntrees(e);
            c->selectionnerCode(valeur);
        } else if (valeur.isEmpty()) {
            c->selectionnerCode(QString());
        }
    } else if (auto *c = qobject_cast<QCheckBox *>(w)) {
        c->setChecked(valeur == QLatin1String("1"));
    } else if (auto *t = qobject_cast<QPlainTextEdit *>(w)) {
        t->setPlainText(valeur);
    } else if (auto *t = qobject_cast<QLineEdit *>(w)) {
        t->setText(valeur);
    }
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
        if (c.dansListe) definirChamp(c.colonne, f.valeur(c.colonne));
    TxtCommentaireResultat->setPlainText(f.valeur(QStringLiteral("commentaireResultat")));
    CmdSupprimer->setEnabled(!f.estNouvelle());
    if (m_ongletUnites)
        Onglets->setTabEnabled(Onglets->indexOf(m_ongletUnites),
                               identifiantPoint() == QLatin1String("271"));
    chargerGrilles();
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
    if (!enregistrerOperation(f)) return false;
    m_operation = f;
    chargerListe(f.code);
    return true;
}

bool FicheOperations::supprimer()
{
    if (!supprimerOperation(m_station, m_operation.code)) return false;
    chargerListe();
    return true;
}

} // namespace vyk
