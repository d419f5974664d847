#include "ui/quality/Graphique.h"

#include "ui/widgets/CouleursClasses.h"

#include <QApplication>
#include <QAreaSeries>
#include <QChart>
#include <QDateTimeAxis>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QPdfWriter>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace vyk {

QVector<PointGraphique> pointsAffiches(const QVector<PointGraphique> &points, int maximum)
{
    if (points.size() <= maximum || maximum < 4) return points;
    QVector<PointGraphique> r;
    r.reserve(maximum + 2);
    const int tranches = maximum / 2;
    const double pas = double(points.size()) / tranches;
    for (int k = 0; k < tranches; ++k) {
        const int debut = int(k * pas);
        const int fin = std::min<int>(points.size(), int((k + 1) * pas));
        if (debut >= fin) continue;
        auto [bas, haut] =
            std::minmax_element(points.begin() + debut, points.begin() + fin,
                                [](const PointGraphique &a, const PointGraphique &b) {
                                    return a.valeurTracee < b.valeurTracee;
                                });
        if (bas > haut) std::swap(bas, haut);
        r << *bas;
        if (haut != bas) r << *haut;
    }
    if (r.first().date != points.first().date) r.prepend(points.first());
    if (r.last().date != points.last().date) r << points.last();
    return r;
}

namespace {

QString nomSerie(const SerieGraphique &s)
{
    const QString parametre = s.nomParametre.isEmpty() ? s.parametre : s.nomParametre;
    return s.codeBSS + QStringLiteral(" - ") + parametre + QStringLiteral(" (") + s.symbole + u')';
}

struct Etendue
{
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();
    qint64 debut = std::numeric_limits<qint64>::max();
    qint64 fin = std::numeric_limits<qint64>::min();
    void ajouter(const PointGraphique &p)
    {
        min = std::min(min, p.valeurTracee);
        max = std::max(max, p.valeurTracee);
        debut = std::min(debut, p.date.toMSecsSinceEpoch());
        fin = std::max(fin, p.date.toMSecsSinceEpoch());
    }
    bool vide() const { return debut > fin; }
};

void ajouterSerie(QChart *g, const SerieGraphique &s, int axe, int numero, TraceCensure trace,
                  QAbstractAxis *x, QAbstractAxis *y)
{
    auto *ligne = new QLineSeries;
    ligne->setName(nomSerie(s));
    ligne->setPointsVisible(s.points.size() <= 200);
    ligne->setProperty("vykAxe", axe);
    ligne->setProperty("vykSerie", numero);
    for (const PointGraphique &p : pointsAffiches(s.points))
        ligne->append(double(p.date.toMSecsSinceEpoch()), p.valeurTracee);
    g->addSeries(ligne);
    ligne->attachAxis(x);
    ligne->attachAxis(y);
    QVector<PointGraphique> censures;
    for (const PointGraphique &p : s.points)
        if (p.censure) censures << p;
    if (censures.isEmpty()) return;
    auto *creux = new QScatterSeries;
    creux->setName(nomSerie(s) + (trace == TraceCensure::Limite
                                      ? QStringLiteral(" : < limite, tracé à la limite")
                                      : QStringLiteral(" : < limite, tracé à la moitié")));
    creux->setMarkerSize(9);
    creux->setBrush(Qt::white); // hollow: a value below a limit is not a measure
    creux->setPen(QPen(ligne->color(), 2));
    creux->setProperty("vykAxe", axe);
    creux->setProperty("vykSerie", numero);
    for (const PointGraphique &p : pointsAffiches(censures))
        creux->append(double(p.date.toMSecsSinceEpoch()), p.valeurTracee);
    g->addSeries(creux);
    creux->attachAxis(x);
    creux->attachAxis(y);
}

void ajouterBandes(QChart *g, const QVector<BandeSeuil> &bandes, const Etendue &e, QAbstractAxis *x,
                   QAbstractAxis *y)
{
    for (const BandeSeuil &b : bandes) {
        const double bas = std::max(b.bas, e.min);
        const double haut = std::min(b.haut, e.max);
        if (bas >= haut) continue;
        auto *dessus = new QLineSeries;
        auto *dessous = new QLineSeries;
        dessus->append(double(e.debut), haut);
        dessus->append(double(e.fin), haut);
        dessous->append(double(e.debut), bas);
        dessous->append(double(e.fin), bas);
        auto *bande = new QAreaSeries(dessus, dessous);
        QColor c = couleurClasse(QString::number(b.classe));
        c.setAlpha(70);
        bande->setBrush(c);
        bande->setPen(Qt::NoPen);
        bande->setName(QStringLiteral("Classe %1 : %2").arg(b.classe).arg(b.legende));
        g->addSeries(bande);
        bande->attachAxis(x);
        bande->attachAxis(y);
    }
}

} // namespace

QChart *construireGraphique(const QVector<AxeGraphique> &axes, const QVector<BandeSeuil> &bandes,
                            TraceCensure trace, const QString &titre)
{
    auto *g = new QChart;
    g->setTitle(titre);
    g->legend()->setAlignment(Qt::AlignBottom);
    auto *x = new QDateTimeAxis;
    x->setFormat(QStringLiteral("dd/MM/yyyy"));
    x->setTitleText(QStringLiteral("Date"));
    g->addAxis(x, Qt::AlignBottom);
    Etendue temps;
    for (int a = 0; a < axes.size() && a < 2; ++a) {
        Etendue e;
        for (const SerieGraphique &s : axes[a].series)
            for (const PointGraphique &p : s.points)
                e.ajouter(p);
        auto *y = new QValueAxis;
        y->setTitleText(axes[a].symbole);
        g->addAxis(y, a == 0 ? Qt::AlignLeft : Qt::AlignRight);
        if (e.vide()) continue;
        const double marge = e.max > e.min ? (e.max - e.min) * 0.05 : std::max(1.0, e.max * 0.1);
        e.min -= marge;
        e.max += marge;
        if (e.debut == e.fin) e.fin = e.debut + 86400000;
        if (a == 0) ajouterBandes(g, bandes, e, x, y);
        for (int s = 0; s < axes[a].series.size(); ++s)
            ajouterSerie(g, axes[a].series[s], a, s, trace, x, y);
        y->setRange(e.min, e.max);
        temps.debut = std::min(temps.debut, e.debut);
        temps.fin = std::max(temps.fin, e.fin);
    }
    if (!temps.vide())
        x->setRange(QDateTime::fromMSecsSinceEpoch(temps.debut),
                    QDateTime::fromMSecsSinceEpoch(temps.fin));
    return g;
}

namespace {

void dessiner(QChart *g, QPainter &peintre, const QRectF &cible)
{
    QGraphicsScene *scene = g->scene();
    QGraphicsScene propre;
    if (!scene) {
        propre.addItem(g);
        scene = &propre;
    }
    const QSizeF avant = g->size();
    g->resize(cible.size());
    if (g->layout()) g->layout()->activate();
    scene->render(&peintre, cible, g->sceneBoundingRect());
    g->resize(avant.isEmpty() ? cible.size() : avant);
    if (scene == &propre) propre.removeItem(g);
}

} // namespace

bool exporterGraphique(QChart *graphique, const QString &chemin, const QSize &taille,
                       QString *erreur)
{
    const QString extension = QFileInfo(chemin).suffix().toLower();
    auto refus = [&](const QString &m) {
        if (erreur) *erreur = m;
        return false;
    };
    if (taille.width() < 50 || taille.height() < 50)
        return refus(QStringLiteral("La taille de l'image est trop petite : %1 x %2.")
                         .arg(taille.width())
                         .arg(taille.height()));
    const QRectF cible(QPointF(0, 0), QSizeF(taille));
    if (extension == QLatin1String("png")) {
        QImage image(taille, QImage::Format_ARGB32);
        image.fill(Qt::white);
        {
            QPainter peintre(&image);
            peintre.setRenderHint(QPainter::Antialiasing);
            dessiner(graphique, peintre, cible);
        }
        if (!image.save(chemin, "PNG"))
            return refus(QStringLiteral("Impossible d'écrire le fichier %1.").arg(chemin));
        return true;
    }
    if (extension == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setFileName(chemin);
        svg.setSize(taille);
        svg.setViewBox(cible);
        svg.setTitle(graphique->title());
        QPainter peintre;
        if (!peintre.begin(&svg))
            return refus(QStringLiteral("Impossible d'écrire le fichier %1.").arg(chemin));
        dessiner(graphique, peintre, cible);
        peintre.end();
        return QFileInfo(chemin).size() > 0
                   ? true
                   : refus(QStringLiteral("Impossible d'écrire le fichier %1.").arg(chemin));
    }
    if (extension == QLatin1String("pdf")) {
        QPdfWriter pdf(chemin);
        pdf.setPageSize(QPageSize(QSizeF(taille), QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setResolution(72);
        QPainter peintre;
        if (!peintre.begin(&pdf))
            return refus(QStringLiteral("Impossible d'écrire le fichier %1.").arg(chemin));
        dessiner(graphique, peintre, cible);
        peintre.end();
        return true;
    }
    return refus(
        QStringLiteral("Format de fichier inconnu : « %1 » (png, svg ou pdf).").arg(extension));
}

QCoreApplication *creerApplicationGraphique(int &argc, char **argv)
{
    return new QApplication(argc, argv);
}

} // namespace vyk
