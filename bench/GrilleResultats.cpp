// Opening the results grid of a search: the model over the rows and its view shown with its
// first page drawn, then scrolled to the middle and to the end, against the same view over a
// bare model of the same shape (a number per cell), in the same run, with the peak memory.
// Usage: bench_GrilleResultats [rows]   (offscreen unless a platform is set)

#include "search/Recherche.h"
#include "support/Mesure.h"
#include "ui/search/ModelesRecherche.h"

#include <QApplication>
#include <QTableView>

#include <array>
#include <memory>

using namespace vyk;
using namespace vyk::bench;

namespace {

constexpr int STATIONS = 1000;

// Rows of 1 000 stations and ten parameters, one in five below the limit, half the parameters
// against an ascending grid and half against a descending one.
std::shared_ptr<ResultatRecherche> resultat(int lignes)
{
    auto r = std::make_shared<ResultatRecherche>();
    for (int s = 0; s < STATIONS; ++s)
        r->stations << StationRecherche{s + 1, QStringLiteral("B%1").arg(s + 1),
                                        QStringLiteral("Station %1").arg(s + 1)};
    r->grilles << GrilleRecherche{{10.0, 25.0, 50.0, 100.0}}
               << GrilleRecherche{{80.0, 60.0, 40.0, 30.0}};
    std::array<CelluleRecherche, 10> noms, codes;
    for (int p = 0; p < 10; ++p) {
        noms[size_t(p)] = r->cellule(QStringLiteral("Paramètre %1").arg(p));
        codes[size_t(p)] = r->cellule(QString::number(99000 + p));
    }
    const CelluleRecherche unite = r->cellule(QStringLiteral("162")),
                           symbole = r->cellule(QStringLiteral("mg/L"));
    r->lignes.resize(lignes);
    for (int l = 0; l < lignes; ++l) {
        LigneResultat &x = r->lignes[l];
        const int p = l % 10;
        x.station = (l / 1000) % STATIONS;
        x.jour = QDate(2020, 1, 1).addDays(l % 1000 / 10 * 7);
        x.heure = QTime(0, 0);
        x.parametre = codes[size_t(p)];
        x.nomParametre = noms[size_t(p)];
        x.unite = unite;
        x.symbole = symbole;
        x.numAnalyse = r->cellule(QString::number(l % 1000));
        const double v = double(l % 137);
        x.detection = l % 5 != 0;
        x.definirValeur(v, x.detection ? FormeResultat::Nombre : FormeResultat::Inferieur);
        x.grille = p < 5 ? 0 : 1;
        if (x.detection) x.classe = classerRecherche(v, &r->grilles[x.grille]);
    }
    return r;
}

// The same shape with nothing behind it.
class ModeleNu : public QAbstractTableModel
{
  public:
    ModeleNu(int lignes, int colonnes) : m_lignes(lignes), m_colonnes(colonnes) {}
    int rowCount(const QModelIndex &p = {}) const override { return p.isValid() ? 0 : m_lignes; }
    int columnCount(const QModelIndex &p = {}) const override
    {
        return p.isValid() ? 0 : m_colonnes;
    }
    QVariant data(const QModelIndex &i, int role) const override
    {
        return role == Qt::DisplayRole ? QVariant(QString::number(i.row())) : QVariant();
    }

  private:
    int m_lignes, m_colonnes;
};

// Seconds to show the view with its first page, then to draw the middle and the end.
std::pair<double, double> ouvrir(QAbstractItemModel *modele, const std::function<void()> &avant)
{
    std::unique_ptr<QTableView> vue;
    const double ouverture = chronometrer([&] {
        avant();
        vue.reset(creerVueRecherche(nullptr, modele));
        vue->resize(1200, 700);
        vue->show();
        QApplication::processEvents();
    });
    const double defilement = chronometrer([&] {
        vue->scrollTo(modele->index(modele->rowCount() / 2, 0));
        QApplication::processEvents();
        vue->scrollToBottom();
        QApplication::processEvents();
    });
    return {ouverture, defilement};
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int lignes = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000000;
    std::shared_ptr<ResultatRecherche> r;
    const double remplissage = chronometrer([&] { r = resultat(lignes); });
    // The first window shown loads fonts and styles: not part of either figure.
    ModeleNu chauffe(10, 10);
    ouvrir(&chauffe, [] {});
    ModeleResultats modele;
    const auto [ouverture, defilement] = ouvrir(&modele, [&] { modele.definir(r); });
    ModeleNu nu(lignes, modele.columnCount());
    const auto [ouvertureNue, defilementNu] = ouvrir(&nu, [] {});
    afficher(QStringLiteral("Grille des résultats, %1 lignes x %2 colonnes (rows built in %3 s, "
                            "not counted)")
                 .arg(lignes)
                 .arg(modele.columnCount())
                 .arg(remplissage, 0, 'f', 3));
    afficher(QStringLiteral("  opened: %1 s, bare model %2 s (x%3)")
                 .arg(ouverture, 0, 'f', 4)
                 .arg(ouvertureNue, 0, 'f', 4)
                 .arg(ouverture / std::max(ouvertureNue, 1e-6), 0, 'f', 2));
    afficher(QStringLiteral("  middle and end drawn: %1 s, bare model %2 s (x%3)")
                 .arg(defilement, 0, 'f', 4)
                 .arg(defilementNu, 0, 'f', 4)
                 .arg(defilement / std::max(defilementNu, 1e-6), 0, 'f', 2));
    afficher(QStringLiteral("  peak memory %1 MB").arg(picMemoireMo()));
    return 0;
}
