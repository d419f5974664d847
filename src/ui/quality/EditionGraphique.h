#pragma once

// The chart window of results: one parameter at one station or at several, or several
// parameters of one station on two axes; zoom with the wheel or a rectangle drawn with the left
// button, pan with the right button or the arrow keys, a tooltip on each point, export to PNG,
// SVG or PDF.

#include "quality/SeriesGraphique.h"
#include "ui/widgets/Ecran.h"

#include <QChartView>
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace vyk {

// What a chart shows: stations (one, or several for one parameter), parameters, the period,
// the unit and the threshold set of the bands ("" for none).
struct DemandeGraphique
{
    QVector<StationCalcul> stations;
    QStringList parametres;
    CriteresGraphique criteres;
    QString seuil;
};

// The chart's content: its axes, bands and title.
struct ContenuGraphique
{
    QVector<AxeGraphique> axes;
    QVector<BandeSeuil> bandes;
    QString titre;
};

// Reads the series of a request through the core. Several stations take the first parameter
// only; their series are grouped by unit, two axes at most. Bands are drawn for a single
// parameter. False with the French reason (nothing to draw included).
bool preparerGraphique(const DemandeGraphique &demande, ContenuGraphique &contenu,
                       QString *erreur = nullptr);

// The tooltip of a point: its date, value (with "<" for a result below a limit), remark, unit
// and sample.
QString texteInfoBulle(const SerieGraphique &serie, const PointGraphique &point);
// The point of the series nearest in time to msDepuisEpoque; nullptr for an empty series.
const PointGraphique *pointProche(const SerieGraphique &serie, qint64 msDepuisEpoque);

// The drawing area: wheel zoom, rectangle zoom, right-button and arrow-key pan.
class VueGraphique : public QChartView
{
    Q_OBJECT
  public:
    using QChartView::QChartView;

  protected:
    void wheelEvent(QWheelEvent *evenement) override;
    void mousePressEvent(QMouseEvent *evenement) override;
    void mouseMoveEvent(QMouseEvent *evenement) override;
    void mouseReleaseEvent(QMouseEvent *evenement) override;
    void keyPressEvent(QKeyEvent *evenement) override;

  private:
    QPoint m_dernier;
    bool m_deplacement = false;
};

// The export dialog: the file, its format and the size of the image or page.
class DialogueExportGraphique : public QDialog
{
    Q_OBJECT
  public:
    explicit DialogueExportGraphique(QWidget *parent = nullptr);

    QString chemin() const;
    QSize taille() const;

    QLineEdit *TxtFichier;
    QPushButton *CmdParcourir;
    QComboBox *CboFormat;
    QSpinBox *TxtLargeur;
    QSpinBox *TxtHauteur;
};

class EditionGraphique : public Ecran
{
    Q_OBJECT
  public:
    explicit EditionGraphique(const DemandeGraphique &demande = {}, QWidget *parent = nullptr);

    // Draws the request of the fields; false with the reason shown when nothing can be drawn.
    bool tracer();
    // Writes the chart shown to the file; false with the reason shown.
    bool exporter(const QString &chemin, const QSize &taille);
    const ContenuGraphique &contenu() const { return m_contenu; }
    QChart *graphique() const;
    // The tooltip shown last ("" when none).
    const QString &infoBulle() const { return m_infoBulle; }
    // What the tooltip of the point nearest to (axe, serie, date) says.
    void survoler(int axe, int serie, qint64 msDepuisEpoque, bool dessus);

    QLineEdit *TxtStations;
    QLineEdit *TxtParametres;
    QLineEdit *TxtUnite;
    QLineEdit *TxtDateDebut;
    QLineEdit *TxtDateFin;
    QLineEdit *TxtSeuil;
    QCheckBox *ChkDemiLimite;
    QPushButton *CmdTracer;
    QPushButton *CmdZoomInitial;
    QPushButton *CmdExporter;
    VueGraphique *Graphique;
    QLabel *LblInformation;

  private:
    bool lireDemande(DemandeGraphique &demande, QString &erreur) const;
    void relierInfoBulles();

    ContenuGraphique m_contenu;
    QString m_infoBulle;
};

} // namespace vyk
