#include "ui/referentials/PresenceTaxonDialogue.h"

#include "ui/widgets/GrilleDonnees.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

namespace vyk {

namespace {

// The placed stations as points in their longitude/latitude frame.
class CartePresence : public QWidget
{
  public:
    CartePresence(const QVector<StationPresence> &stations, QWidget *parent) : QWidget(parent)
    {
        for (const StationPresence &s : stations)
            if (s.estPlacee())
                m_points.append({s.codeBSS, QPointF(*s.longitude, *s.latitude), s.nbLignes});
        setMinimumSize(360, 300);
        setToolTip(QStringLiteral("Stations où le taxon est présent (coordonnées WGS84)"));
    }

  protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), QColor(0xEE, 0xF4, 0xF8));
        if (m_points.isEmpty()) {
            p.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap,
                       QStringLiteral("Aucune station placée"));
            return;
        }
        double xmin = m_points[0].position.x(), xmax = xmin, ymin = m_points[0].position.y(),
               ymax = ymin;
        for (const Point &pt : m_points) {
            xmin = std::min(xmin, pt.position.x());
            xmax = std::max(xmax, pt.position.x());
            ymin = std::min(ymin, pt.position.y());
            ymax = std::max(ymax, pt.position.y());
        }
        // Keep a margin, and the same scale on both axes (degrees of latitude shorten longitude).
        const double marge = std::max({(xmax - xmin) * 0.1, (ymax - ymin) * 0.1, 0.05});
        xmin -= marge, xmax += marge, ymin -= marge, ymax += marge;
        const QRectF zone = QRectF(rect()).adjusted(20, 20, -20, -20);
        const double echelle =
            std::min(zone.width() / (xmax - xmin), zone.height() / (ymax - ymin));
        const QPointF origine(zone.center().x() - (xmax + xmin) / 2 * echelle,
                              zone.center().y() + (ymax + ymin) / 2 * echelle);
        p.setPen(QColor(0x99, 0xAA, 0xBB));
        p.drawRect(zone);
        for (const Point &pt : m_points) {
            const QPointF ecran(origine.x() + pt.position.x() * echelle,
                                origine.y() - pt.position.y() * echelle);
            const double rayon = 4 + std::min<double>(8, std::sqrt(double(pt.nombre)));
            p.setPen(Qt::darkGreen);
            p.setBrush(QColor(0x2E, 0x8B, 0x57, 180));
            p.drawEllipse(ecran, rayon, rayon);
            p.setPen(Qt::black);
            p.drawText(ecran + QPointF(rayon + 2, -rayon), pt.code);
        }
    }

  private:
    struct Point
    {
        QString code;
        QPointF position;
        long long nombre;
    };
    QVector<Point> m_points;
};

} // namespace

PresenceTaxonDialogue::PresenceTaxonDialogue(const QString &taxon,
                                             const QVector<StationPresence> &stations,
                                             QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Présence du taxon ") + taxon);
    resize(1000, 560);
    auto *separation = new QSplitter(Qt::Horizontal, this);
    SprStations = new GrilleDonnees(separation);
    QVector<QStringList> lignes;
    for (const StationPresence &s : stations)
        lignes.append({s.codeBSS, s.nom, QString::number(s.nbLignes),
                       s.longitude ? QString::number(*s.longitude, 'f', 6) : QString(),
                       s.latitude ? QString::number(*s.latitude, 'f', 6) : QString()});
    SprStations->remplir({QStringLiteral("Station"), QStringLiteral("Nom"),
                          QStringLiteral("Lignes"), QStringLiteral("Longitude"),
                          QStringLiteral("Latitude")},
                         lignes);
    Carte = new CartePresence(stations, separation);
    auto *fermer = new QPushButton(QStringLiteral("Fermer"), this);
    auto *bas = new QHBoxLayout;
    bas->addWidget(
        new QLabel(QString::number(stations.size()) + QStringLiteral(" station(s)"), this));
    bas->addStretch(1);
    bas->addWidget(fermer);
    auto *disposition = new QVBoxLayout(this);
    disposition->addWidget(separation, 1);
    disposition->addLayout(bas);
    connect(fermer, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace vyk
