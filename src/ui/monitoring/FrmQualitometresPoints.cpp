#include "ui/monitoring/FrmQualitometresPoints.h"

#include "app/Options.h"
#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/Messages.h"
#include "monitoring/Qualitometre.h"
#include "ui/monitoring/FichePhotos.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/Droits.h"
#include "ui/widgets/GrilleDonnees.h"
#include "users/Habilitations.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

namespace vyk {

namespace {
const QStringList ENTETES = {QStringLiteral("Code"),  QStringLiteral("Site"), QStringLiteral("Nom"),
                             QStringLiteral("Début"), QStringLiteral("Fin"),  QStringLiteral("X"),
                             QStringLiteral("Y")};

QPlainTextEdit *zoneTexte(QWidget *parent)
{
    auto *t = new QPlainTextEdit(parent);
    t->setTabChangesFocus(true);
    t->setMaximumHeight(t->fontMetrics().height() * 4);
    return t;
}
} // namespace

FrmQualitometresPoints::FrmQualitometresPoints(qint64 station, QWidget *parent)
    : QWidget(parent), m_station(station)
{
    setObjectName(QStringLiteral("frmQualitometresPoints_") + QString::number(station));
    const auto s = trouverQualitometre(station);
    m_codeBSS = s ? s->codeBSS : QString::number(station);
    setWindowTitle(QStringLiteral("Points de prélèvement - ") + m_codeBSS);
    resize(1000, 700);

    LblStation = new QLabel(this);
    LblStation->setText(
        QStringLiteral("<b>") +
        (s ? codeAffiche(s->codeBSS, s->designation) + QStringLiteral(" - ") + s->nom : m_codeBSS)
            .toHtmlEscaped() +
        QStringLiteral("</b>"));
    CmdNouveau = new QPushButton(QStringLiteral("Nouveau point"), this);
    CmdEnregistrer = new QPushButton(QStringLiteral("Enregistrer"), this);
    CmdSupprimer = new QPushButton(QStringLiteral("Supprimer"), this);
    CmdPhotos = new QPushButton(QStringLiteral("Photos"), this);
    CmdOperations = new QPushButton(QStringLiteral("Opérations du point"), this);
    appliquerDroit(CmdNouveau, droit::QUALITO_FICHE_MODIF);
    appliquerDroit(CmdEnregistrer, droit::QUALITO_FICHE_MODIF);
    appliquerDroit(CmdSupprimer, droit::QUALITO_FICHE_SUPPR);
    auto *barre = new QHBoxLayout;
    for (QPushButton *b : {CmdNouveau, CmdEnregistrer, CmdSupprimer, CmdPhotos, CmdOperations})
        barre->addWidget(b);
    barre->addSpacing(16);
    barre->addWidget(LblStation, 1);

    auto *separation = new QSplitter(Qt::Vertical, this);
    SprPoints = new GrilleDonnees(separation);
    auto *zone = new QScrollArea(separation);
    auto *fiche = new QWidget(zone);
    zone->setWidget(fiche);
    zone->setWidgetResizable(true);
    separation->setStretchFactor(0, 1);
    separation->setStretchFactor(1, 3);

    auto *g = new QGridLayout(fiche);
    auto ajouter = [&](int ligne, int colonne, const QString &libelle, QWidget *champ,
                       QLabel **etiquette = nullptr) {
        auto *e = new QLabel(libelle, fiche);
        e->setBuddy(champ);
        g->addWidget(e, ligne, colonne * 2);
        g->addWidget(champ, ligne, colonne * 2 + 1);
        if (etiquette) *etiquette = e;
    };
    auto texte = [fiche](const QString &attente = {}) {
        auto *t = new QLineEdit(fiche);
        t->setPlaceholderText(attente);
        return t;
    };
    const QString jour = QStringLiteral("JJ/MM/AAAA");
    CboIdentifiant = new ComboCodee(fiche);
    CboIdentifiant->definirEntrees(entreesIdentifiantsPoint(), ComboCodee::AvecVide);
    TxtNom = texte();
    TxtNom->setMaxLength(100);
    TxtDateDebut = texte(jour);
    TxtDateFin = texte(jour);
    TxtLongueurTotale = texte();
    TxtXAmont = texte();
    TxtYAmont = texte();
    TxtXAval = texte();
    TxtYAval = texte();
    TxtX = texte();
    TxtY = texte();
    CboProjection = new ComboCodee(fiche);
    CboProjection->remplirListe(QStringLiteral("PIEZOMETRES.TYPEPROJECTION"), ComboCodee::AvecVide);
    TxtProfondeurRecommandee = texte();
    TxtLargeurDebit = texte();
    TxtProfDebut = texte();
    TxtProfFin = texte();
    TxtObjetPrincipal = zoneTexte(fiche);
    TxtRecommandation = zoneTexte(fiche);
    TxtCommentaires = zoneTexte(fiche);
    ajouter(0, 0, QStringLiteral("Site :"), CboIdentifiant);
    ajouter(0, 1, QStringLiteral("Nom :"), TxtNom);
    ajouter(1, 0, QStringLiteral("Date de début :"), TxtDateDebut);
    ajouter(1, 1, QStringLiteral("Date de fin :"), TxtDateFin);
    ajouter(2, 0, QStringLiteral("X :"), TxtX);
    ajouter(2, 1, QStringLiteral("Y :"), TxtY);
    ajouter(3, 0, QStringLiteral("Projection :"), CboProjection);
    ajouter(3, 1, QStringLiteral("Longueur totale (m) :"), TxtLongueurTotale);
    ajouter(4, 0, QStringLiteral("X amont :"), TxtXAmont);
    ajouter(4, 1, QStringLiteral("Y amont :"), TxtYAmont);
    ajouter(5, 0, QStringLiteral("X aval :"), TxtXAval);
    ajouter(5, 1, QStringLiteral("Y aval :"), TxtYAval);
    ajouter(6, 0, QStringLiteral("Profondeur recommandée (m) :"), TxtProfondeurRecommandee);
    ajouter(6, 1, QString(), TxtLargeurDebit, &LblLargeurDebit);
    ajouter(7, 0, QString(), TxtProfDebut, &LblProfDebut);
    ajouter(7, 1, QString(), TxtProfFin, &LblProfFin);
    ajouter(8, 0, QStringLiteral("Objet principal :"), TxtObjetPrincipal);
    ajouter(8, 1, QStringLiteral("Recommandations :"), TxtRecommandation);
    ajouter(9, 0, QStringLiteral("Commentaires :"), TxtCommentaires);
    auto *photos = new QGroupBox(QStringLiteral("Photos"), fiche);
    auto *gp = new QGridLayout(photos);
    const bool modifiables = reglageActif(reglage::modificationPhoto);
    for (int i = 0; i < 6; ++i) {
        auto *t = new QLineEdit(photos);
        t->setReadOnly(!modifiables);
        TxtPhotos << t;
        gp->addWidget(new QLabel(QStringLiteral("Photo %1 :").arg(i + 1), photos), i / 2,
                      (i % 2) * 2);
        gp->addWidget(t, i / 2, (i % 2) * 2 + 1);
    }
    g->addWidget(photos, 10, 0, 1, 4);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    g->setRowStretch(11, 1);

    auto *principal = new QVBoxLayout(this);
    principal->addLayout(barre);
    principal->addWidget(separation, 1);

    connect(CboIdentifiant, &ComboCodee::codeChange, this, [this] { majLibelles(); });
    connect(SprPoints, &GrilleDonnees::ligneChoisie, this, [this](int l) {
        if (l >= 0 && l < m_points.size()) afficher(m_points[l]);
    });
    connect(CmdNouveau, &QPushButton::clicked, this, &FrmQualitometresPoints::nouveau);
    connect(CmdEnregistrer, &QPushButton::clicked, this, &FrmQualitometresPoints::enregistrer);
    connect(CmdSupprimer, &QPushButton::clicked, this, &FrmQualitometresPoints::supprimer);
    connect(CmdPhotos, &QPushButton::clicked, this, &FrmQualitometresPoints::afficherPhotos);
    connect(CmdOperations, &QPushButton::clicked, this, [this] {
        if (!m_point.estNouveau())
            emit operationsDemandees(m_station, m_point.codePoint.toLongLong());
    });
    chargerPoints();
}

FrmQualitometresPoints::~FrmQualitometresPoints()
{
    CboIdentifiant->disconnect(this);
    SprPoints->disconnect(this);
}

void FrmQualitometresPoints::chargerPoints(const QString &aSelectionner)
{
    m_points = vyk::chargerPoints(m_station);
    QVector<QStringList> lignes;
    int choisie = -1;
    for (const FichePoint &p : std::as_const(m_points)) {
        if (p.codePoint == aSelectionner) choisie = int(lignes.size());
        lignes.append({p.codePoint, p.identifiant, p.nom, p.dateDebut, p.dateFin, p.x, p.y});
    }
    SprPoints->remplir(ENTETES, lignes);
    if (choisie >= 0)
        SprPoints->selectionnerLigne(choisie);
    else
        nouveau();
}

void FrmQualitometresPoints::nouveau()
{
    SprPoints->selectionnerLigne(-1);
    FichePoint p;
    p.station = m_station;
    afficher(p);
    CboIdentifiant->setFocus();
}

void FrmQualitometresPoints::afficher(const FichePoint &p)
{
    m_point = p;
    if (!CboIdentifiant->selectionnerCode(p.identifiant))
        CboIdentifiant->selectionnerCode(QString());
    TxtNom->setText(p.nom);
    TxtDateDebut->setText(p.dateDebut);
    TxtDateFin->setText(p.dateFin);
    TxtLongueurTotale->setText(p.longueurTotale);
    TxtXAmont->setText(p.xAmont);
    TxtYAmont->setText(p.yAmont);
    TxtXAval->setText(p.xAval);
    TxtYAval->setText(p.yAval);
    TxtX->setText(p.x);
    TxtY->setText(p.y);
    if (!CboProjection->selectionnerCode(p.typeProjection))
        CboProjection->selectionnerCode(QString());
    TxtProfondeurRecommandee->setText(p.profondeurRecommandee);
    TxtLargeurDebit->setText(p.largeurDebit);
    TxtProfDebut->setText(p.profDebut);
    TxtProfFin->setText(p.profFin);
    TxtObjetPrincipal->setPlainText(p.objetPrincipal);
    TxtRecommandation->setPlainText(p.recommandation);
    TxtCommentaires->setPlainText(p.commentaires);
    for (int i = 0; i < TxtPhotos.size(); ++i)
        TxtPhotos[i]->setText(p.photos.value(i));
    CmdSupprimer->setEnabled(!p.estNouveau());
    CmdOperations->setEnabled(!p.estNouveau());
    majLibelles();
}

void FrmQualitometresPoints::majLibelles()
{
    const LibellesPoint l = libellesPoint(CboIdentifiant->codeSelectionne());
    const struct
    {
        QLabel *etiquette;
        QLineEdit *champ;
        const QString &texte;
    } champs[] = {{LblLargeurDebit, TxtLargeurDebit, l.largeurDebit},
                  {LblProfDebut, TxtProfDebut, l.profDebut},
                  {LblProfFin, TxtProfFin, l.profFin}};
    for (const auto &c : champs) {
        c.etiquette->setText(c.texte.isEmpty() ? QString() : c.texte + QStringLiteral(" :"));
        c.etiquette->setVisible(!c.texte.isEmpty());
        c.champ->setVisible(!c.texte.isEmpty());
    }
}

FichePoint FrmQualitometresPoints::pointFormulaire() const
{
    FichePoint p = m_point;
    p.station = m_station;
    p.identifiant = CboIdentifiant->codeSelectionne();
    p.nom = TxtNom->text();
    p.dateDebut = TxtDateDebut->text();
    p.dateFin = TxtDateFin->text();
    p.longueurTotale = TxtLongueurTotale->text();
    p.xAmont = TxtXAmont->text();
    p.yAmont = TxtYAmont->text();
    p.xAval = TxtXAval->text();
    p.yAval = TxtYAval->text();
    p.x = TxtX->text();
    p.y = TxtY->text();
    p.typeProjection = CboProjection->codeSelectionne();
    p.profondeurRecommandee = TxtProfondeurRecommandee->text();
    // A hidden field keeps what the point holds.
    p.largeurDebit =
        TxtLargeurDebit->isVisibleTo(this) ? TxtLargeurDebit->text() : m_point.largeurDebit;
    p.profDebut = TxtProfDebut->isVisibleTo(this) ? TxtProfDebut->text() : m_point.profDebut;
    p.profFin = TxtProfFin->isVisibleTo(this) ? TxtProfFin->text() : m_point.profFin;
    p.objetPrincipal = TxtObjetPrincipal->toPlainText();
    p.recommandation = TxtRecommandation->toPlainText();
    p.commentaires = TxtCommentaires->toPlainText();
    for (int i = 0; i < TxtPhotos.size(); ++i)
        p.photos[i] = TxtPhotos[i]->text();
    return p;
}

bool FrmQualitometresPoints::enregistrer()
{
    FichePoint p = pointFormulaire();
    if (!enregistrerPoint(p)) return false;
    chargerPoints(p.codePoint);
    return true;
}

bool FrmQualitometresPoints::supprimer()
{
    if (!supprimerPoint(m_station, m_point.codePoint, m_codeBSS)) return false;
    chargerPoints();
    return true;
}

void FrmQualitometresPoints::afficherPhotos()
{
    const QStringList photos =
        photosPoint(pointFormulaire(), m_codeBSS, lireRegistre(reglage::CheminPhotos, {}, true));
    if (photos.isEmpty()) {
        afficherMessage(
            QStringLiteral("Aide"),
            QStringLiteral("Aucune photo n'a été trouvée pour ce point de prélèvement."));
        return;
    }
    auto *visionneuse =
        new FichePhotos(photos, QStringLiteral("Photos du point de prélèvement"), this);
    visionneuse->setAttribute(Qt::WA_DeleteOnClose);
    visionneuse->open();
}

} // namespace vyk
