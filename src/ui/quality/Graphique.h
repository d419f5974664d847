#pragma once

// Building a chart of results out of the series of the core, and writing it to a file. The
// screen and the command line draw the same chart.

#include "quality/SeriesGraphique.h"

#include <QSize>
#include <QString>

QT_BEGIN_NAMESPACE
class QChart;
class QCoreApplication;
QT_END_NAMESPACE

namespace vyk {

// Beyond this many points a series' line is thinned to the lowest and highest value of each
// slice of time: the shape stays, the screen does not freeze.
constexpr int POINTS_MAX_TRACES = 4000;

// The points of a line once thinned: every point when there are few, else the first and last
// point and, per slice of time, the lowest and highest (in date order).
QVector<PointGraphique> pointsAffiches(const QVector<PointGraphique> &points,
                                       int maximum = POINTS_MAX_TRACES);

// The application the drawing needs, for a program without screens (argc must outlive it).
QCoreApplication *creerApplicationGraphique(int &argc, char **argv);

// The chart of the axes (one or two units) with the class bands drawn behind the first axis.
// Results below a limit are drawn apart, hollow, and said so in the legend.
QChart *construireGraphique(const QVector<AxeGraphique> &axes, const QVector<BandeSeuil> &bandes,
                            TraceCensure trace, const QString &titre);

// Writes the chart to a .png, .svg or .pdf file of the given size (pixels; points for a PDF
// page). False with the French reason for another extension or a file that cannot be written.
bool exporterGraphique(QChart *graphique, const QString &chemin, const QSize &taille,
                       QString *erreur = nullptr);

} // namespace vyk
