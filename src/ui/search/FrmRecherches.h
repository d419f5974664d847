#pragma once

// "Recherche de résultats": the criteria over stations and a period, the search with its
// progress and cancel, the results classed and coloured, the indicators, totals, distributions
// and stations grids, the detailed views, each grid's export and the web map of the found
// stations.

#include "search/RechercheVues.h"
#include "search/RecherchesEnregistrees.h"

#include "ui/widgets/Ecran.h"

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;
class QTabWidget;
class QUrl;

namespace vyk {

class ComboCodee;
class EditionGraphique;
class FrmRechercheDetaillee;
class ModeleTexteRecherche;
class ModeleResultats;

inline const QString MESSAGE_REFUS_RECHERCHES =
    QStringLiteral("Vous ne disposez pas de droits suffisants pour effectuer des recherches.");

class FrmRecherches : public Ecran
{
    Q_OBJECT
  public:
    enum Grille
    {
        Resultats,
        Indicateurs,
        Totaux,
        Repartitions,
        Stations,
        TotalStations
    };
    // Opens an address in the user's browser; true when it could.
    using OuvreurUrl = std::function<bool(const QUrl &)>;

    explicit FrmRecherches(QWidget *parent = nullptr);
    ~FrmRecherches() override;

    // What the controls ask for.
    CriteresRecherche criteres() const;
    // The last search's rows; null before a search or after one that found nothing.
    std::shared_ptr<const ResultatRecherche> resultat() const { return m_resultat; }
    const ModeleResultats &modeleResultats() const { return *m_resultats; }
    const ModeleTexteRecherche &modele(Grille grille) const;
    // The web map opens through this (the system's browser by default).
    void definirOuvreurUrl(OuvreurUrl ouvreur) { m_ouvreur = std::move(ouvreur); }

    QListWidget *LstStations;
    QLineEdit *TxtDateDebut;
    QLineEdit *txtDateFin;
    ComboCodee *cboSupports;
    ComboCodee *CboSelection;
    ComboCodee *CboParametres;
    ComboCodee *CboUnites;
    ComboCodee *CboQualification;
    ComboCodee *CboStatut;
    ComboCodee *CboSupport;
    ComboCodee *CboProducteur;
    ComboCodee *CboTypeSeuil;
    QComboBox *CboSeuil;
    QCheckBox *chkRechercheDetection;
    ComboCodee *cboExecutionJobId;
    QPushButton *CmdRecherche;
    QPushButton *CmdDetailStation;
    QPushButton *CmdDetailPrelevement;
    QPushButton *CmdDetailMasseEau;
    QPushButton *CmdDetailHer;
    QPushButton *CmdDetailBv;
    QPushButton *CmdExporterResultats;
    QPushButton *CmdExporterIndicateurs;
    QPushButton *CmdExporterTotaux;
    QPushButton *CmdExporterRepartitions;
    QPushButton *CmdExporterStations;
    QPushButton *CmdCarte;
    // The chart of the parameter of the chosen result row at the stations of the chosen rows,
    // over the search's period.
    QPushButton *CmdGraphique;
    QTabWidget *Onglets;
    QTableView *SprAnalyses;
    QTableView *SprIndicateurs;
    QTableView *SprTotalIndicateurs;
    QTableView *SprRepartitions;
    QTableView *SprStations;
    QTableView *SprTotalStations;
    // Saved searches.
    QLineEdit *TxtIntitule;
    QTableView *SprRecherches;
    QPushButton *CmdNouvelleRecherche;
    QPushButton *CmdSupprimerRecherche;
    QPushButton *CmdEnregistrerCriteres;
    QPushButton *CmdExporterRecherches;
    QPushButton *CmdEnregistrerResultats;

  public slots:
    void rechercher();
    // Writes a grid to this file (asked for when empty).
    void exporter(vyk::FrmRecherches::Grille grille, const QString &chemin = {});
    void exporterCarte();
    // Saved searches: a blank one, the selected one deleted (after a question), the criteria
    // saved under the title, the current results memorised, the list exported.
    void nouvelleRecherche();
    void supprimerRecherche();
    void enregistrerCriteres();
    void enregistrerResultats();
    void exporterRecherches(const QString &chemin = {});
    // Loads the criteria of the saved search of that row, and its memorised results if any.
    void chargerRecherche(int ligne);

  public:
    // The saved search being worked on, 0 for none.
    qint64 rechercheCourante() const { return m_id; }
    const ModeleTexteRecherche &modeleRecherches() const { return *m_recherches; }
    // Sets the controls after saved criteria.
    void appliquer(const CriteresRecherche &c);
    // Opens the detailed view of the current results (inside the main window when there is
    // one); null without results.
    FrmRechercheDetaillee *ouvrirDetail(Regroupement regroupement);
    // Opens the chart of the chosen result rows (the current row's when none is selected): the
    // first row's parameter and unit at every station of the rows; null without a row.
    EditionGraphique *ouvrirGraphique();

  private:
    void creerCriteres();
    void creerGrilles();
    void creerCommandes();
    void disposer();
    void remplirSupports();
    void remplirSelections();
    void remplirExecutions();
    void creerRecherches();
    QWidget *disposerRecherches();
    void chargerRecherches();
    void afficher(std::shared_ptr<const ResultatRecherche> resultat);
    void activerExports();

    std::shared_ptr<const ResultatRecherche> m_resultat;
    ModeleResultats *m_resultats;
    ModeleTexteRecherche *m_grilles[5];
    ModeleTexteRecherche *m_recherches;
    QVector<RechercheEnregistree> m_listeRecherches;
    qint64 m_id = 0;
    OuvreurUrl m_ouvreur;
};

} // namespace vyk
