#include "ui/monitoring/FrmQualitometresPoints.h"

#include "app/Options.h"
#include "app/Registre.h"
#include "app/Reglages.h"
#include "db/Messages.h"
#include "monitoring/Qualitometre.h"
#include "ui/widgets/ComboCodee.h"
#include "ui/widgets/Droits.h"
#include "ui/widgets/FichePhotos.h"
#include "ui/widgets/Formulaire.h"
#include "ui/widgets/GrilleDonnees.h"
#include "users/Habilitations.h"

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
} // namespace

FrmQualitometresPoints::FrmQualitometresPoints(qint64 station, QWidget *parent)
    : Fiche(parent), m_station(station)
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
    nommerControles({{CmdNouveau, "CmdNouveau"},
                     {CmdEnregistrer, "CmdEnregistrer"},
                     {CmdSupprimer, "CmdSupprimer"},
                     {CmdPhotos, "CmdPhotos"},
                     {CmdOperations, "CmdOperations"}});
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

    const QString jour = QStringLiteral("JJ/MM/AAAA");
    CboIdentifiant = new ComboCodee(fiche);
    CboIdentifiant->definirEntrees(entreesIdentifiantsPoint(), ComboCodee::AvecVide);
    TxtNom = nouvelleLigneTexte(fiche, 100);
    TxtDateDebut = nouvelleLigneTexte(fiche, 0, jour);
    TxtDateFin = nouvelleLigneTexte(fiche, 0, jour);
    surveillerDate(TxtDateDebut);
    surveillerDate(TxtDateFin);
    for (QLineEdit **t :
         {&TxtLongueurTotale, &TxtXAmont, &TxtYAmont, &TxtXAval, &TxtYAval, &TxtX, &TxtY,
          &TxtProfondeurRecommandee, &TxtLargeurDebit, &TxtProfDebut, &TxtProfFin})
        *t = nouvelleLigneTexte(fiche, 0);
    CboProjection = new ComboCodee(fiche);
    CboProjection->remplirListe(QStringLiteral("PIEZOMETRES.TYPEPROJECTION"), ComboCodee::AvecVide);
    TxtObjetPrincipal = nouveauMemo(fiche);
    TxtRecommandation = nouveauMemo(fiche);
    TxtCommentaires = nouveauMemo(fiche);
    // The form's rows, two fields each; the captions of the last three follow the site.
    const QList<QPair<QString, QWidget *>> rangs = {
        {QStringLiteral("Site"), CboIdentifiant},
        {QStringLiteral("Nom"), TxtNom},
        {QStringLiteral("Date de début"), TxtDateDebut},
        {QStringLiteral("Date de fin"), TxtDateFin},
        {QStringLiteral("X"), TxtX},
        {QStringLiteral("Y"), TxtY},
        {QStringLiteral("Projection"), CboProjection},
        {QStringLiteral("Longueur totale (m)"), TxtLongueurTotale},
        {QStringLiteral("X amont"), TxtXAmont},
        {QStringLiteral("Y amont"), TxtYAmont},
        {QStringLiteral("X aval"), TxtXAval},
        {QStringLiteral("Y aval"), TxtYAval},
        {QStringLiteral("Profondeur recommandée (m)"), TxtProfondeurRecommandee},
        {QString(), TxtLargeurDebit},
        {QString(), TxtProfDebut},
        {QString(), TxtProfFin},
        {QStringLiteral("Objet principal"), TxtObjetPrincipal},
        {QStringLiteral("Recommandations"), TxtRecommandation},
        {QStringLiteral("Commentaires"), TxtCommentaires}};
    DispositionFormulaire d(fiche);
    QList<QWidget *> champs;
    for (const auto &[titre, champ] : rangs) {
        QLabel *etiquette = d.ajouter(titre, champ);
        if (champ == TxtLargeurDebit) LblLargeurDebit = etiquette;
        if (champ == TxtProfDebut) LblProfDebut = etiquette;
        if (champ == TxtProfFin) LblProfFin = etiquette;
        champs << champ;
    }
    auto *photos = new QGroupBox(QStringLiteral("Photos"), fiche);
    DispositionFormulaire dp(photos);
    const bool modifiables = reglageActif(reglage::modificationPhoto);
    for (int i = 0; i < 6; ++i) {
        auto *t = new QLineEdit(photos);
        t->setReadOnly(!modifiables);
        TxtPhotos << t;
        dp.ajouter(QStringLiteral("Photo %1").arg(i + 1), t);
    }
    d.ajouterLigne(photos);
    d.terminer();
    for (QLineEdit *t : std::as_const(TxtPhotos))
        champs << t;
    suivreChamps(champs);
    definirBoutonParDefaut(CmdEnregistrer);
    m_parColonne = {{QStringLiteral("identifiant"), CboIdentifiant},
                    {QStringLiteral("nom"), TxtNom},
                    {QStringLiteral("dateDebut"), TxtDateDebut},
                    {QStringLiteral("dateFin"), TxtDateFin},
                    {QStringLiteral("longeurTotale"), TxtLongueurTotale},
                    {QStringLiteral("XAmont"), TxtXAmont},
                    {QStringLiteral("YAmont"), TxtYAmont},
                    {QStringLiteral("XAval"), TxtXAval},
                    {QStringLiteral("YAval"), TxtYAval},
                    {QStringLiteral("X"), TxtX},
                    {QStringLiteral("Y"), TxtY},
                    {QStringLiteral("TypeProjection"), CboProjection},
                    {QStringLiteral("profondeurRecommandee"), TxtProfondeurRecommandee},
                    {QStringLiteral("largeurDebit"), TxtLargeurDebit},
                    {QStringLiteral("profDebut"), TxtProfDebut},
                    {QStringLiteral("profFin"), TxtProfFin}};

    auto *principal = new QVBoxLayout(this);
    principal->addLayout(barre);
    principal->addWidget(separation, 1);

    connect(CboIdentifiant, &ComboCodee::codeChange, this, [this] { majLibelles(); });
    connect(SprPoints, &GrilleDonnees::ligneChoisie, this, &FrmQualitometresPoints::ligneChoisie);
    connect(CmdNouveau, &QPushButton::clicked, this, [this] {
        if (quitterModifications()) nouveau();
    });
    connect(CmdEnregistrer, &QPushButton::clicked, this, &FrmQualitometresPoints::enregistrer);
    connect(CmdSupprimer, &QPushButton::clicked, this, &FrmQualitometresPoints::supprimer);
    connect(CmdPhotos, &QPushButton::clicked, this, &FrmQualitometresPoints::afficherPhotos);
    connect(CmdOperations, &QPushButton::clicked, this, [this] {
        if (!m_point.estNouveau())
            emit operationsDemandees(m_station, m_point.codePoint.toLongLong());
    });
    chargerPoints();
}

// Another point chosen in the list replaces the form: its edits are saved or dropped first, or
// the list goes back to the point shown.
void FrmQualitometresPoints::ligneChoisie(int ligne)
{
    if (m_retourLigne || ligne < 0 || ligne >= m_points.size()) return;
    const QString code = m_points[ligne].codePoint;
    if (quitterModifications() && lignePoint(code) >= 0) // a save reads the list again
        afficher(m_points[lignePoint(code)]);
    m_retourLigne = true;
    SprPoints->selectionnerLigne(lignePoint(m_point.codePoint));
    m_retourLigne = false;
}

int FrmQualitometresPoints::lignePoint(const QString &code) const
{
    for (int l = 0; l < m_points.size(); ++l)
        if (!code.isEmpty() && m_points[l].codePoint == code) return l;
    return -1;
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
    TxtLongueurTotale->setText(nombreAffiche(p.longueurTotale));
    TxtXAmont->setText(nombreAffiche(p.xAmont));
    TxtYAmont->setText(nombreAffiche(p.yAmont));
    TxtXAval->setText(nombreAffiche(p.xAval));
    TxtYAval->setText(nombreAffiche(p.yAval));
    TxtX->setText(nombreAffiche(p.x));
    TxtY->setText(nombreAffiche(p.y));
    if (!CboProjection->selectionnerCode(p.typeProjection))
        CboProjection->selectionnerCode(QString());
    TxtProfondeurRecommandee->setText(nombreAffiche(p.profondeurRecommandee));
    TxtLargeurDebit->setText(nombreAffiche(p.largeurDebit));
    TxtProfDebut->setText(nombreAffiche(p.profDebut));
    TxtProfFin->setText(nombreAffiche(p.profFin));
    TxtObjetPrincipal->setPlainText(p.objetPrincipal);
    TxtRecommandation->setPlainText(p.recommandation);
    TxtCommentaires->setPlainText(p.commentaires);
    for (int i = 0; i < TxtPhotos.size(); ++i)
        TxtPhotos[i]->setText(p.photos.value(i));
    CmdSupprimer->setEnabled(!p.estNouveau());
    CmdOperations->setEnabled(!p.estNouveau());
    majLibelles();
    marquerEnregistree();
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

QLabel *FrmQualitometresPoints::libelle(const QString &colonne) const
{
    const QWidget *c = champ(colonne);
    for (QLabel *l : findChildren<QLabel *>())
        if (c && l->buddy() == c) return l;
    return nullptr;
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
    if (refuser(verifierPoint(p))) return false;
    if (const QString refus = enregistrerPoint(p); !refus.isEmpty()) {
        afficherMessage(GENRE_ERREUR, refus);
        return false;
    }
    afficherMessage(GENRE_AIDE, textePoints::ENREGISTRE);
    marquerEnregistree();
    chargerPoints(p.codePoint);
    return true;
}

bool FrmQualitometresPoints::supprimer()
{
    QString refus;
    if (!supprimerPoint(m_station, m_point.codePoint, m_codeBSS, confirmerParMessage, refus)) {
        if (!refus.isEmpty()) afficherMessage(GENRE_ERREUR, refus);
        return false;
    }
    afficherMessage(GENRE_AIDE, textePoints::SUPPRIME);
    marquerEnregistree();
    chargerPoints();
    return true;
}

void FrmQualitometresPoints::afficherPhotos()
{
    const QStringList photos =
        photosPoint(pointFormulaire(), m_codeBSS, lireRegistre(reglage::CheminPhotos, {}, true));
    if (photos.isEmpty()) {
        afficherMessage(
            GENRE_AIDE,
            QStringLiteral("Aucune photo n'a été trouvée pour ce point de prélèvement."));
        return;
    }
    auto *visionneuse =
        new FichePhotos(photos, QStringLiteral("Photos du point de prélèvement"), this);
    visionneuse->setAttribute(Qt::WA_DeleteOnClose);
    visionneuse->open();
}

} // namespace vyk
