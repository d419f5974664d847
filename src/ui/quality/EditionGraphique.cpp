#include "ui/quality/EditionGraphique.h"

#include "db/Messages.h"
#include "db/Tableau.h"
#include "monitoring/Qualitometre.h"
#include "ui/quality/Graphique.h"
#include "users/AccesStations.h"

#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolTip>
#include <QVBoxLayout>
#include <QXYSeries>

#include <algorithm>

namespace vyk {

namespace {

QString titreParametre(const SerieGraphique &s)
{
    return s.nomParametre.isEmpty() ? s.parametre : s.nomParametre;
}

// Series of several stations grouped by unit, in the order the units first appear.
bool grouperParUnite(const QVector<SerieGraphique> &series, QVector<AxeGraphique> &axes,
                     QString *erreur)
{
    for (const SerieGraphique &s : series) {
        auto it = std::find_if(axes.begin(), axes.end(),
                               [&](const AxeGraphique &a) { return a.unite == s.unite; });
        if (it == axes.end()) {
            axes.append({s.unite, s.symbole, {}});
            it = axes.end() - 1;
        }
        it->series << s;
    }
    if (axes.size() <= 2) return true;
    if (erreur)
        *erreur = QStringLiteral("Les stations choisies donnent ce paramètre en %1 unités : "
                                 "choisissez-en une, un graphique n'a que deux axes.")
                      .arg(axes.size());
    axes.clear();
    return false;
}

} // namespace

bool preparerGraphique(const DemandeGraphique &d, ContenuGraphique &contenu, QString *erreur)
{
    contenu = {};
    auto refus = [&](const QString &m) {
        if (erreur) *erreur = m;
        contenu = {};
        return false;
    };
    if (d.stations.isEmpty()) return refus(QStringLiteral("Choisissez au moins une station."));
    if (d.parametres.isEmpty()) return refus(QStringLiteral("Choisissez au moins un paramètre."));
    if (d.stations.size() > 1) {
        QVector<SerieGraphique> series;
        if (!seriesStations(d.stations, d.parametres.first(), d.criteres, series, erreur) ||
            !grouperParUnite(series, contenu.axes, erreur))
            return false;
    } else if (!axesParametres(d.stations.first(), d.parametres, d.criteres, contenu.axes,
                               erreur)) {
        return false;
    }
    if (contenu.axes.isEmpty())
        return refus(QStringLiteral("Aucun résultat à tracer pour ces stations et paramètres sur "
                                    "la période."));
    if (!d.seuil.trimmed().isEmpty() && d.parametres.size() == 1 &&
        !bandesSeuils(d.seuil.trimmed(), d.parametres.first(), contenu.axes.first().unite,
                      contenu.bandes, erreur))
        return refus(erreur ? *erreur : QString());
    const SerieGraphique &premiere = contenu.axes.first().series.first();
    QStringList stations;
    for (const StationCalcul &s : d.stations)
        stations << s.codeBSS;
    QStringList parametres;
    for (const AxeGraphique &a : std::as_const(contenu.axes))
        for (const SerieGraphique &s : a.series)
            if (!parametres.contains(titreParametre(s))) parametres << titreParametre(s);
    contenu.titre =
        (d.stations.size() > 1 ? stations.join(QStringLiteral(", ")) : premiere.codeBSS) +
        QStringLiteral(" - ") + parametres.join(QStringLiteral(", "));
    return true;
}

QString texteInfoBulle(const SerieGraphique &serie, const PointGraphique &p)
{
    const QString date = p.date.time() == QTime(0, 0)
                             ? p.date.toString(QStringLiteral("dd/MM/yyyy"))
                             : p.date.toString(QStringLiteral("dd/MM/yyyy HH:mm"));
    const QString valeur = (p.censure ? QStringLiteral("<") : QString()) +
                           texteValeur(QVariant(p.valeur)) + u' ' + serie.symbole;
    QStringList lignes = {serie.codeBSS + QStringLiteral(" - ") + titreParametre(serie),
                          QStringLiteral("Date : ") + date,
                          QStringLiteral("Valeur : ") + valeur,
                          QStringLiteral("Remarque : ") +
                              (p.remarque.isEmpty() ? QStringLiteral("-") : p.remarque),
                          QStringLiteral("Unité : ") + serie.unite,
                          QStringLiteral("Prélèvement : ") + QString::number(p.prelevement)};
    if (p.censure && p.valeurTracee != p.valeur)
        lignes << QStringLiteral("Tracé à : ") + texteValeur(QVariant(p.valeurTracee));
    return lignes.join(u'\n');
}

const PointGraphique *pointProche(const SerieGraphique &serie, qint64 ms)
{
    if (serie.points.isEmpty()) return nullptr;
    auto it = std::lower_bound(
        serie.points.begin(), serie.points.end(), ms,
        [](const PointGraphique &p, qint64 t) { return p.date.toMSecsSinceEpoch() < t; });
    if (it == serie.points.end()) return &serie.points.last();
    if (it == serie.points.begin()) return &*it;
    const auto avant = it - 1;
    return ms - avant->date.toMSecsSinceEpoch() <= it->date.toMSecsSinceEpoch() - ms ? &*avant
                                                                                     : &*it;
}

// ---- the drawing area

void VueGraphique::wheelEvent(QWheelEvent *e)
{
    if (!chart()) return;
    chart()->zoom(e->angleDelta().y() > 0 ? 1.25 : 0.8);
    e->accept();
}

void VueGraphique::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::RightButton) {
        m_deplacement = true;
        m_dernier = e->pos();
        e->accept();
        return;
    }
    QChartView::mousePressEvent(e);
}

void VueGraphique::mouseMoveEvent(QMouseEvent *e)
{
    if (m_deplacement && chart()) {
        const QPoint d = e->pos() - m_dernier;
        chart()->scroll(-d.x(), d.y());
        m_dernier = e->pos();
        e->accept();
        return;
    }
    QChartView::mouseMoveEvent(e);
}

void VueGraphique::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::RightButton && m_deplacement) {
        m_deplacement = false;
        e->accept();
        return;
    }
    QChartView::mouseReleaseEvent(e);
}

void VueGraphique::keyPressEvent(QKeyEvent *e)
{
    if (!chart()) return QChartView::keyPressEvent(e);
    switch (e->key()) {
    case Qt::Key_Left:
        chart()->scroll(-20, 0);
        break;
    case Qt::Key_Right:
        chart()->scroll(20, 0);
        break;
    case Qt::Key_Up:
        chart()->scroll(0, 20);
        break;
    case Qt::Key_Down:
        chart()->scroll(0, -20);
        break;
    case Qt::Key_Plus:
        chart()->zoomIn();
        break;
    case Qt::Key_Minus:
        chart()->zoomOut();
        break;
    case Qt::Key_0:
        chart()->zoomReset();
        break;
    default:
        QChartView::keyPressEvent(e);
        return;
    }
    e->accept();
}

// ---- export dialog

DialogueExportGraphique::DialogueExportGraphique(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Exporter le graphique"));
    TxtFichier = new QLineEdit(this);
    CmdParcourir = new QPushButton(QStringLiteral("Parcourir…"), this);
    CboFormat = new QComboBox(this);
    CboFormat->addItem(QStringLiteral("Image PNG (*.png)"), QStringLiteral("png"));
    CboFormat->addItem(QStringLiteral("Dessin SVG (*.svg)"), QStringLiteral("svg"));
    CboFormat->addItem(QStringLiteral("Document PDF (*.pdf)"), QStringLiteral("pdf"));
    TxtLargeur = new QSpinBox(this);
    TxtHauteur = new QSpinBox(this);
    for (QSpinBox *s : {TxtLargeur, TxtHauteur})
        s->setRange(50, 10000);
    TxtLargeur->setValue(1200);
    TxtHauteur->setValue(800);
    nommerControles({{TxtFichier, "TxtFichier"},
                     {CmdParcourir, "CmdParcourir"},
                     {CboFormat, "CboFormat"},
                     {TxtLargeur, "TxtLargeur"},
                     {TxtHauteur, "TxtHauteur"}});
    auto *fichier = new QHBoxLayout;
    fichier->addWidget(TxtFichier, 1);
    fichier->addWidget(CmdParcourir);
    auto *formulaire = new QFormLayout;
    formulaire->addRow(QStringLiteral("Fichier :"), fichier);
    formulaire->addRow(QStringLiteral("Format :"), CboFormat);
    formulaire->addRow(QStringLiteral("Largeur (pixels, points en PDF) :"), TxtLargeur);
    formulaire->addRow(QStringLiteral("Hauteur :"), TxtHauteur);
    auto *boutons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *l = new QVBoxLayout(this);
    l->addLayout(formulaire);
    l->addWidget(boutons);
    connect(boutons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(boutons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(CmdParcourir, &QPushButton::clicked, this, [this] {
        const QString c = QFileDialog::getSaveFileName(this, windowTitle(), TxtFichier->text(),
                                                       CboFormat->currentText());
        if (!c.isEmpty()) TxtFichier->setText(c);
    });
}

QString DialogueExportGraphique::chemin() const
{
    // The format chosen gives the file its extension when the name has another one.
    const QString extension = CboFormat->currentData().toString();
    QString c = TxtFichier->text().trimmed();
    if (c.isEmpty()) return c;
    if (!c.endsWith(u'.' + extension, Qt::CaseInsensitive)) c += u'.' + extension;
    return c;
}

QSize DialogueExportGraphique::taille() const
{
    return {TxtLargeur->value(), TxtHauteur->value()};
}

// ---- the window

EditionGraphique::EditionGraphique(const DemandeGraphique &demande, QWidget *parent) : Ecran(parent)
{
    setWindowTitle(QStringLiteral("Graphique des résultats"));
    TxtStations = new QLineEdit(this);
    TxtStations->setPlaceholderText(QStringLiteral("codes séparés par des virgules"));
    TxtParametres = new QLineEdit(this);
    TxtParametres->setPlaceholderText(QStringLiteral("codes séparés par des virgules"));
    TxtUnite = new QLineEdit(this);
    TxtDateDebut = new QLineEdit(this);
    TxtDateFin = new QLineEdit(this);
    for (QLineEdit *d : {TxtDateDebut, TxtDateFin})
        d->setPlaceholderText(QStringLiteral("JJ/MM/AAAA"));
    TxtSeuil = new QLineEdit(this);
    ChkDemiLimite = new QCheckBox(QStringLiteral("Résultats < limite tracés à la moitié"), this);
    CmdTracer = new QPushButton(QStringLiteral("&Tracer"), this);
    CmdZoomInitial = new QPushButton(QStringLiteral("&Vue entière"), this);
    CmdExporter = new QPushButton(QStringLiteral("&Exporter…"), this);
    Graphique = new VueGraphique(this);
    Graphique->setRubberBand(QChartView::RectangleRubberBand);
    Graphique->setRenderHint(QPainter::Antialiasing);
    Graphique->setMinimumSize(640, 400);
    LblInformation = new QLabel(
        QStringLiteral("Molette ou rectangle : zoom ; bouton droit ou flèches : déplacement ; "
                       "0 : vue entière."),
        this);
    nommerControles({{TxtStations, "TxtStations"},
                     {TxtParametres, "TxtParametres"},
                     {TxtUnite, "TxtUnite"},
                     {TxtDateDebut, "TxtDateDebut"},
                     {TxtDateFin, "TxtDateFin"},
                     {TxtSeuil, "TxtSeuil"},
                     {ChkDemiLimite, "ChkDemiLimite"},
                     {CmdTracer, "CmdTracer"},
                     {CmdZoomInitial, "CmdZoomInitial"},
                     {CmdExporter, "CmdExporter"},
                     {Graphique, "Graphique"},
                     {LblInformation, "LblInformation"}});
    auto *criteres = new QFormLayout;
    criteres->addRow(QStringLiteral("Stations :"), TxtStations);
    criteres->addRow(QStringLiteral("Paramètres :"), TxtParametres);
    criteres->addRow(QStringLiteral("Unité :"), TxtUnite);
    auto *periode = new QHBoxLayout;
    periode->addWidget(TxtDateDebut);
    periode->addWidget(new QLabel(QStringLiteral("au"), this));
    periode->addWidget(TxtDateFin);
    criteres->addRow(QStringLiteral("Du :"), periode);
    criteres->addRow(QStringLiteral("Type de seuil :"), TxtSeuil);
    criteres->addRow(QString(), ChkDemiLimite);
    auto *commandes = new QHBoxLayout;
    commandes->addWidget(CmdTracer);
    commandes->addWidget(CmdZoomInitial);
    commandes->addWidget(CmdExporter);
    commandes->addStretch();
    auto *l = new QVBoxLayout(this);
    l->addLayout(criteres);
    l->addLayout(commandes);
    l->addWidget(Graphique, 1);
    l->addWidget(LblInformation);

    QStringList stations;
    for (const StationCalcul &s : demande.stations)
        stations << s.codeBSS;
    TxtStations->setText(stations.join(QStringLiteral(", ")));
    TxtParametres->setText(demande.parametres.join(QStringLiteral(", ")));
    TxtUnite->setText(demande.criteres.unite);
    if (demande.criteres.debut.isValid())
        TxtDateDebut->setText(demande.criteres.debut.toString(QStringLiteral("dd/MM/yyyy")));
    if (demande.criteres.fin.isValid())
        TxtDateFin->setText(demande.criteres.fin.toString(QStringLiteral("dd/MM/yyyy")));
    TxtSeuil->setText(demande.seuil);
    ChkDemiLimite->setChecked(demande.criteres.trace == TraceCensure::DemiLimite);
    CmdZoomInitial->setEnabled(false);
    CmdExporter->setEnabled(false);

    connect(CmdTracer, &QPushButton::clicked, this, [this] { tracer(); });
    connect(CmdZoomInitial, &QPushButton::clicked, this, [this] {
        if (graphique()) graphique()->zoomReset();
    });
    connect(CmdExporter, &QPushButton::clicked, this, [this] {
        DialogueExportGraphique dialogue(this);
        if (dialogue.exec() == QDialog::Accepted && !dialogue.chemin().isEmpty())
            exporter(dialogue.chemin(), dialogue.taille());
    });
    if (!demande.stations.isEmpty() && !demande.parametres.isEmpty()) tracer();
}

QChart *EditionGraphique::graphique() const
{
    return Graphique->chart();
}

bool EditionGraphique::lireDemande(DemandeGraphique &d, QString &erreur) const
{
    for (const QString &code : TxtStations->text().split(u',', Qt::SkipEmptyParts)) {
        const auto station = trouverQualitometreParCode(code.trimmed());
        // A station the user may not see is as unknown as a missing one.
        if (!station || (estAccesRestreint() && !stationAccordee(station->code))) {
            erreur = QStringLiteral("La station « %1 » n'existe pas.").arg(code.trimmed());
            return false;
        }
        d.stations.append({station->code, station->codeBSS});
    }
    for (const QString &p : TxtParametres->text().split(u',', Qt::SkipEmptyParts))
        d.parametres << p.trimmed();
    d.criteres.unite = TxtUnite->text().trimmed();
    d.criteres.trace = ChkDemiLimite->isChecked() ? TraceCensure::DemiLimite : TraceCensure::Limite;
    const auto date = [&](QLineEdit *champ, QDate &cible, const QString &quoi) {
        const QString t = champ->text().trimmed();
        if (t.isEmpty()) return true;
        cible = QDate::fromString(t, QStringLiteral("dd/MM/yyyy"));
        if (!cible.isValid())
            erreur = QStringLiteral("La date de %1 de la période n'est pas correcte.").arg(quoi);
        return cible.isValid();
    };
    d.seuil = TxtSeuil->text().trimmed();
    return date(TxtDateDebut, d.criteres.debut, QStringLiteral("début")) &&
           date(TxtDateFin, d.criteres.fin, QStringLiteral("fin"));
}

bool EditionGraphique::tracer()
{
    DemandeGraphique demande;
    QString erreur;
    ContenuGraphique contenu;
    if (!lireDemande(demande, erreur) || !preparerGraphique(demande, contenu, &erreur)) {
        afficherMessage(GENRE_ERREUR, erreur);
        return false;
    }
    m_contenu = contenu;
    QChart *ancien = Graphique->chart();
    Graphique->setChart(construireGraphique(m_contenu.axes, m_contenu.bandes,
                                            demande.criteres.trace, m_contenu.titre));
    delete ancien;
    relierInfoBulles();
    CmdZoomInitial->setEnabled(true);
    CmdExporter->setEnabled(true);
    return true;
}

void EditionGraphique::relierInfoBulles()
{
    for (QAbstractSeries *serie : graphique()->series()) {
        auto *xy = qobject_cast<QXYSeries *>(serie);
        if (!xy || !xy->property("vykAxe").isValid()) continue;
        const int axe = xy->property("vykAxe").toInt();
        const int numero = xy->property("vykSerie").toInt();
        connect(xy, &QXYSeries::hovered, this, [this, axe, numero](const QPointF &p, bool dessus) {
            survoler(axe, numero, qint64(p.x()), dessus);
        });
    }
}

void EditionGraphique::survoler(int axe, int serie, qint64 ms, bool dessus)
{
    m_infoBulle.clear();
    if (dessus && axe >= 0 && axe < m_contenu.axes.size() && serie >= 0 &&
        serie < m_contenu.axes[axe].series.size()) {
        const SerieGraphique &s = m_contenu.axes[axe].series[serie];
        if (const PointGraphique *p = pointProche(s, ms)) m_infoBulle = texteInfoBulle(s, *p);
    }
    if (m_infoBulle.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(QCursor::pos(), m_infoBulle, Graphique);
}

bool EditionGraphique::exporter(const QString &chemin, const QSize &taille)
{
    QString erreur;
    if (!graphique() || m_contenu.axes.isEmpty())
        erreur = QStringLiteral("Tracez d'abord un graphique.");
    else if (exporterGraphique(graphique(), chemin, taille, &erreur))
        return true;
    afficherMessage(GENRE_ERREUR, erreur);
    return false;
}

} // namespace vyk
